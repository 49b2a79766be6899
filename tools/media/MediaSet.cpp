#include "tools/media/MediaSet.h"

#include "tools/media/Fail.h"

#include <fstream>
#include <system_error>
#include <zip.h>

namespace orv::media {

namespace {

void writeFileOrFail(const std::filesystem::path& path, const Bytes& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        fail("cannot write " + path.string());
    }
}

bool isCompressed(const std::string& path) {
    const auto ends = [&path](const std::string& suffix) {
        return path.size() >= suffix.size() &&
               path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return ends(".png") || ends(".jpg") || ends(".ogg");
}

bool scrambled(Storage storage) {
    return storage == Storage::ScrambledLoose || storage == Storage::ScrambledArchive;
}

} // namespace

void MediaSet::add(const std::string& path, Bytes bytes) {
    files_[path] = {std::move(bytes), Storage::ArchiveAndLoose};
}

bool MediaSet::contains(const std::string& path) const {
    return files_.count(path) != 0;
}

void MediaSet::setStorage(const std::string& path, Storage storage) {
    const auto it = files_.find(path);
    if (it == files_.end()) {
        fail("no generated file " + path);
    }
    it->second.second = storage;
}

void MediaSet::writeLoose(const std::filesystem::path& folder) const {
    std::error_code error;
    std::filesystem::remove_all(folder / "media", error);
    if (error) {
        fail("cannot clear " + (folder / "media").string() + ": " + error.message());
    }
    for (const auto& [path, entry] : files_) {
        const auto& [bytes, storage] = entry;
        if (scrambled(storage)) {
            Bytes copy = bytes;
            scramble(copy);
            writeFileOrFail(folder / (path + ".!"), copy);
        } else {
            writeFileOrFail(folder / path, bytes);
        }
    }
}

void MediaSet::writeArchive(const std::filesystem::path& archive) const {
    const std::filesystem::path temporary = archive.string() + ".tmp";
    std::error_code error;
    std::filesystem::create_directories(archive.parent_path(), error);
    zipFile zip = zipOpen(temporary.string().c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        fail("cannot create " + temporary.string());
    }
    bool ok = true;
    for (const auto& [path, entry] : files_) {
        const auto& [bytes, storage] = entry;
        if (storage == Storage::LooseOnly || storage == Storage::ScrambledLoose) {
            continue;
        }
        Bytes data = bytes;
        std::string name = path;
        if (scrambled(storage)) {
            scramble(data);
            name += ".!";
        }
        zip_fileinfo info{};
        info.tmz_date.tm_year = 2020;
        info.tmz_date.tm_mon = 0;
        info.tmz_date.tm_mday = 1;
        info.dosDate = 0; // use tmz_date, never the clock
        // Pictures and music are compressed already: store them as they are.
        const int method = isCompressed(path) ? 0 : Z_DEFLATED;
        ok = ok && zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       method, Z_BEST_COMPRESSION) == ZIP_OK;
        ok = ok &&
             zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    if (!ok) {
        std::filesystem::remove(temporary, error);
        fail("cannot write the archive " + temporary.string());
    }
    std::filesystem::rename(temporary, archive, error);
    if (error) {
        fail("cannot move the archive into place: " + error.message());
    }
}

} // namespace orv::media
