// Feeds arbitrary bytes to the archive reader as a zip file and to the zlib
// block helper. Any crash, hang or sanitizer report is a fault: malformed
// archives must only ever give failures.

#include "engine/core/Log.h"
#include "engine/resources/Compression.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/MemoryBuffer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

const std::string& archivePath() {
    static const std::string path = [] {
        std::random_device random;
        return (std::filesystem::temp_directory_path() /
                ("orvanta-archive-fuzz-" + std::to_string(random()) + ".zip"))
            .string();
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        orv::setLogSink([](orv::LogLevel, std::string_view) {});
        return true;
    }();
    (void)quiet;

    {
        std::ofstream out(archivePath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    orv::FileArchive archive(archivePath());
    int entries = 0;
    for (bool found = archive.goToFirstEntry(); found && entries < 64;
         found = archive.goToNextEntry(), ++entries) {
        const std::string name = archive.getEntryInfo().name;
        if (archive.openCurrentEntry() == 0) {
            orv::MemoryBuffer buffer;
            (void)archive.readAll(buffer);
            (void)archive.closeEntry();
        }
        (void)archive.locate(name);
    }
    archive.close();

    (void)orv::uncompressBuffer(std::span(data, size), 4096);
    return 0;
}
