// Feeds arbitrary bytes to the property-file reader, then saves what it read,
// reads that back and saves it again: a tree the reader accepts must save, and
// its file must read back to the same tree. The tree's setups are then filed
// into the settings and resolved, which must end whatever the setups name.
// Any crash, hang, sanitizer report or abort is a fault.

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace {

const std::string& folder() {
    static const std::string path = [] {
        std::random_device random;
        const auto dir = std::filesystem::temp_directory_path() /
                         ("orvanta-property-fuzz-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string saved(orv::PropertyStore& store, const std::string& name) {
    store.setFileName(folder() + "/" + name);
    store.setAccessMode(orv::ArchiveMode::File);
    if (!store.save()) {
        std::abort(); // a tree the reader made must be writable
    }
    return readAll(folder() + "/" + name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        orv::setLogSink([](orv::LogLevel, std::string_view) {});
        orv::registerPropertyClasses();
        return true;
    }();
    (void)ready;
    if (size == 0) {
        return 0;
    }

    // The first byte chooses the white-space condensing, the rest is the file.
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    orv::RefPtr<orv::PropertyStore> store(new orv::PropertyStore());
    store->setCondenseWhiteSpace((data[0] & 1) != 0);
    if (!store->loadText(text)) {
        return 0;
    }

    const std::string first = saved(*store, "first.xml");
    orv::RefPtr<orv::PropertyStore> again(new orv::PropertyStore());
    if (!again->loadText(first) || saved(*again, "second.xml") != first) {
        std::abort(); // the file does not read back as the tree it came from
    }

    orv::BasicProperties::create();
    store->getNode("setups")->createChildren();
    store->resolve();
    orv::BasicProperties::destroyInstance();
    return 0;
}
