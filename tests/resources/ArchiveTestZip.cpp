#include "tests/resources/ArchiveTestZip.h"

#include "engine/resources/Descrambler.h"

#include <minizip/zip.h>
#include <zlib.h>

namespace orv::test {

bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries) {
    zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        return false;
    }
    bool ok = true;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info{};
        ok = ok && zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                       nullptr, entry.deflate ? Z_DEFLATED : 0,
                                       entry.deflate ? Z_BEST_COMPRESSION : 0) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, entry.content.data(),
                                       static_cast<unsigned>(entry.content.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

std::string scrambled(std::string text) {
    descramble(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
    return text;
}

} // namespace orv::test
