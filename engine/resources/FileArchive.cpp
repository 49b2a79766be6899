#include "engine/resources/FileArchive.h"

#include "engine/core/Log.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Descrambler.h"
#include "engine/resources/FileNames.h"
#include "engine/resources/MemoryBuffer.h"
#include "engine/system/Platform.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

#include <minizip/unzip.h>

namespace orv {

namespace {

// The process-wide archive and mode. The lock also serialises every use of the
// archive object, which keeps one current entry and so cannot serve two
// readers at once (the main thread and the resource loader both read).
std::mutex globalMutex;
RefPtr<FileArchive> globalArchive;
ArchiveMode globalMode = ArchiveMode::Global;
std::uint32_t generation = 0;

// Folds ASCII letters as the zip reader does when it compares names ignoring
// case; other bytes stay.
std::string foldEntryName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Reads a loose file whole. Missing, empty, oversized or short-read files are
// failures, and the buffer is only replaced after a complete read.
bool readLooseFile(const std::string& storedName, MemoryBuffer& buffer, std::uint32_t maxSize) {
    std::string path = storedName;
    if (!isRegularFile(path)) {
        path = platform::findPathIgnoringCase(storedName);
        if (path.empty() || !isRegularFile(path)) {
            return false;
        }
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return false;
    }
    const std::streamoff size = in.tellg();
    if (size <= 0) {
        return false;
    }
    if (size > static_cast<std::streamoff>(maxSize)) {
        logWarning(path + ": file larger than the " + std::to_string(maxSize) +
                   " bytes such a file may have; not read");
        return false;
    }
    in.seekg(0);
    MemoryBuffer content;
    if (!content.allocate(static_cast<std::uint32_t>(size))) {
        logWarning(path + ": not enough memory to read the file");
        return false;
    }
    in.read(reinterpret_cast<char*>(content.getData()), size);
    if (in.gcount() != size) {
        logWarning(path + ": file could not be read whole");
        return false;
    }
    buffer.swap(content);
    return true;
}

} // namespace

constinit const ClassRecord FileArchive::classRecord{"FileArchive",
                                                     parentRecords<BaseObject::classRecord>};

void FileArchive::ZipCloser::operator()(void* handle) const {
    unzClose(static_cast<unzFile>(handle));
}

FileArchive::FileArchive(std::string archiveName) : archiveName_(std::move(archiveName)) {}

FileArchive::~FileArchive() {
    close();
}

// --- process-wide archive and mode -----------------------------------------

void FileArchive::setUp(ArchiveMode mode, const std::string& archiveName) {
    std::string name = archiveName;
    if (name.empty() && isRegularFile("media.dat") && std::ifstream("media.dat").good()) {
        name = "media.dat";
        if (mode != ArchiveMode::EncryptZip) {
            mode = ArchiveMode::Zip;
        }
    }
    const std::scoped_lock lock(globalMutex);
    globalArchive = new FileArchive(name);
    globalMode = mode == ArchiveMode::Global ? ArchiveMode::EncryptZip : mode;
    ++generation;
}

void FileArchive::shutDown() {
    const std::scoped_lock lock(globalMutex);
    globalArchive = nullptr;
    globalMode = ArchiveMode::Global;
    ++generation;
}

std::uint32_t FileArchive::getGeneration() {
    const std::scoped_lock lock(globalMutex);
    return generation;
}

bool FileArchive::hasArchive() {
    const std::scoped_lock lock(globalMutex);
    return globalArchive != nullptr;
}

ArchiveMode FileArchive::getGlobalMode() {
    const std::scoped_lock lock(globalMutex);
    return globalMode;
}

bool FileArchive::readFile(std::string_view name, MemoryBuffer& buffer, ArchiveMode mode,
                           std::uint32_t maxSize) {
    maxSize = std::min(maxSize, kMaxFileSize);
    const std::string normal = normalizePath(name);
    std::string stored;
    {
        const std::scoped_lock lock(globalMutex);
        if (mode == ArchiveMode::Global) {
            mode = globalArchive ? globalMode : ArchiveMode::File;
        }
        stored = isScrambledMode(mode) ? normal + ".!" : normal;

        if (mode == ArchiveMode::Zip || mode == ArchiveMode::EncryptZip) {
            if (globalArchive && globalArchive->locate(stored)) {
                MemoryBuffer content;
                if (globalArchive->getEntryInfo().uncompressedSize > maxSize) {
                    logWarning(globalArchive->getArchiveName() + ": the entry " + stored +
                               " is larger than the " + std::to_string(maxSize) +
                               " bytes such a file may have; not read");
                    return false;
                }
                const bool opened = globalArchive->openCurrentEntry() == UNZ_OK;
                const bool read = opened && globalArchive->readAll(content, maxSize);
                // Closing checks the CRC: a damaged entry fails here.
                const bool closed = opened && globalArchive->closeEntry();
                if (!read || !closed) {
                    logWarning(globalArchive->getArchiveName() + ": the entry " + stored +
                               " is damaged and cannot be read");
                    return false;
                }
                if (content.getSize() == 0) {
                    return false;
                }
                if (mode == ArchiveMode::EncryptZip) {
                    descramble(content.getData(), content.getSize());
                }
                buffer.swap(content);
                return true;
            }
            mode = mode == ArchiveMode::Zip ? ArchiveMode::File : ArchiveMode::EncryptFile;
        }
    }

    MemoryBuffer content;
    if (!readLooseFile(stored, content, maxSize)) {
        return false;
    }
    if (mode == ArchiveMode::EncryptFile) {
        descramble(content.getData(), content.getSize());
    }
    buffer.swap(content);
    return true;
}

// --- one archive -----------------------------------------------------------

void FileArchive::addName(const std::string& name) {
    const std::scoped_lock lock(mutex_);
    names_.push_back(name);
}

void FileArchive::setArchiveName(const std::string& name) {
    const std::scoped_lock lock(mutex_);
    close();
    archiveName_ = name;
}

std::string FileArchive::getArchiveName() const {
    const std::scoped_lock lock(mutex_);
    return archiveName_;
}

bool FileArchive::open() {
    const std::scoped_lock lock(mutex_);
    if (!isOpen_) {
        isOpen_ = true;
        if (!archiveName_.empty()) {
            zip_.reset(unzOpen(archiveName_.c_str()));
            if (zip_ == nullptr && isRegularFile(archiveName_)) {
                logWarning(archiveName_ +
                           ": the archive cannot be opened; the file is damaged or no zip archive");
            }
            buildIndex();
        }
    }
    return zip_ != nullptr;
}

void FileArchive::buildIndex() {
    index_.clear();
    if (zip_ == nullptr) {
        return;
    }
    for (int result = unzGoToFirstFile(zip_.get()); result == UNZ_OK;
         result = unzGoToNextFile(zip_.get())) {
        unz_file_info info{};
        if (unzGetCurrentFileInfo(zip_.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) !=
            UNZ_OK) {
            break;
        }
        std::string name(info.size_filename, '\0');
        unz_file_pos place{};
        if (unzGetCurrentFileInfo(zip_.get(), &info, name.data(), name.size(), nullptr, 0, nullptr,
                                  0) != UNZ_OK ||
            unzGetFilePos(zip_.get(), &place) != UNZ_OK) {
            break;
        }
        // The first of several entries that differ only in case wins, as in
        // a search from the start of the directory.
        index_.try_emplace(foldEntryName(name),
                           EntryPlace{place.pos_in_zip_directory, place.num_of_file});
    }
}

void FileArchive::close() {
    const std::scoped_lock lock(mutex_);
    if (!isOpen_) {
        return;
    }
    if (isEntryOpen_) {
        isEntryOpen_ = false;
        unzCloseCurrentFile(zip_.get());
    }
    zip_.reset();
    index_.clear();
    isOpen_ = false;
}

bool FileArchive::goToFirstEntry() {
    const std::scoped_lock lock(mutex_);
    if (!open()) {
        return false;
    }
    closeEntry();
    return unzGoToFirstFile(zip_.get()) == UNZ_OK && readEntryInfo();
}

bool FileArchive::goToNextEntry() {
    const std::scoped_lock lock(mutex_);
    if (!open()) {
        return false;
    }
    closeEntry();
    return unzGoToNextFile(zip_.get()) == UNZ_OK && readEntryInfo();
}

bool FileArchive::locate(std::string_view name) {
    const std::scoped_lock lock(mutex_);
    const std::string normal = normalizePath(name);
    if (!open()) {
        return false;
    }
    closeEntry();
    const auto found = index_.find(foldEntryName(normal));
    if (found == index_.end()) {
        return false;
    }
    unz_file_pos place{};
    place.pos_in_zip_directory = static_cast<uLong>(found->second.directoryOffset);
    place.num_of_file = static_cast<uLong>(found->second.number);
    return unzGoToFilePos(zip_.get(), &place) == UNZ_OK && readEntryInfo();
}

bool FileArchive::openEntry(std::string_view name) {
    const std::scoped_lock lock(mutex_);
    return locate(name) && openCurrentEntry() == UNZ_OK;
}

int FileArchive::openCurrentEntry() {
    const std::scoped_lock lock(mutex_);
    closeEntry();
    if (zip_ == nullptr) {
        return UNZ_PARAMERROR;
    }
    const int result = unzOpenCurrentFile(zip_.get());
    if (result != UNZ_OK) {
        close();
        return result;
    }
    isEntryOpen_ = true;
    return result;
}

bool FileArchive::readEntryInfo() {
    const std::scoped_lock lock(mutex_);
    if (zip_ == nullptr) {
        return false;
    }
    unz_file_info info{};
    // One byte more than minizip may fill, so that a name of 255 bytes or
    // more is always terminated (minizip does not terminate a full buffer).
    std::array<char, 256> name{};
    if (unzGetCurrentFileInfo(zip_.get(), &info, name.data(), name.size() - 1, nullptr, 0, nullptr,
                              0) != UNZ_OK) {
        return false;
    }
    entryInfo_.versionMadeBy = static_cast<std::uint32_t>(info.version);
    entryInfo_.versionNeeded = static_cast<std::uint32_t>(info.version_needed);
    entryInfo_.flags = static_cast<std::uint32_t>(info.flag);
    entryInfo_.compressionMethod = static_cast<std::uint32_t>(info.compression_method);
    entryInfo_.dosDate = static_cast<std::uint32_t>(info.dosDate);
    entryInfo_.crc = static_cast<std::uint32_t>(info.crc);
    entryInfo_.compressedSize = static_cast<std::uint32_t>(info.compressed_size);
    entryInfo_.uncompressedSize = static_cast<std::uint32_t>(info.uncompressed_size);
    entryInfo_.fileNameLength = static_cast<std::uint32_t>(info.size_filename);
    entryInfo_.extraFieldLength = static_cast<std::uint32_t>(info.size_file_extra);
    entryInfo_.commentLength = static_cast<std::uint32_t>(info.size_file_comment);
    entryInfo_.diskNumberStart = static_cast<std::uint32_t>(info.disk_num_start);
    entryInfo_.internalAttributes = static_cast<std::uint32_t>(info.internal_fa);
    entryInfo_.externalAttributes = static_cast<std::uint32_t>(info.external_fa);
    entryInfo_.name = name.data();
    entryInfo_.extraField.clear();
    entryInfo_.comment.clear();
    return true;
}

bool FileArchive::closeEntry() {
    const std::scoped_lock lock(mutex_);
    if (!isEntryOpen_) {
        return true;
    }
    isEntryOpen_ = false;
    const int result = unzCloseCurrentFile(zip_.get());
    if (result != UNZ_OK) {
        close();
        return false;
    }
    return true;
}

const ArchiveEntryInfo& FileArchive::getEntryInfo() const {
    return entryInfo_;
}

int FileArchive::readByte() {
    std::uint8_t byte = 0;
    return read(&byte, 1) == 1 ? byte : -1;
}

int FileArchive::read(std::uint8_t* buffer, std::uint32_t length) {
    const std::scoped_lock lock(mutex_);
    if (!isEntryOpen_) {
        return UNZ_PARAMERROR;
    }
    const int result = unzReadCurrentFile(zip_.get(), buffer, length);
    if (result < 0) {
        close();
    }
    return result;
}

bool FileArchive::readAll(MemoryBuffer& buffer, std::uint32_t maxSize) {
    const std::scoped_lock lock(mutex_);
    if (!isEntryOpen_) {
        return false;
    }
    // The size comes from the archive's header: bound it before it becomes
    // an allocation, and check that the data really has that many bytes.
    const std::uint32_t size = entryInfo_.uncompressedSize;
    if (size > std::min(maxSize, kMaxFileSize)) {
        logWarning(archiveName_ + ": the entry " + entryInfo_.name +
                   " is larger than the readable limit");
        return false;
    }
    MemoryBuffer content;
    if (!content.allocate(size)) {
        return false;
    }
    std::uint32_t done = 0;
    while (done < size) {
        const int count = read(content.getData() + done, size - done);
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::uint32_t>(count);
    }
    // Data beyond the size the header promised means the header is wrong.
    std::uint8_t extra = 0;
    if (read(&extra, 1) != 0) {
        return false;
    }
    buffer.swap(content);
    return true;
}

bool FileArchive::isEndOfEntry() {
    const std::scoped_lock lock(mutex_);
    return isEntryOpen_ && unzeof(zip_.get()) == 1;
}

bool FileArchive::isOpen() const {
    const std::scoped_lock lock(mutex_);
    return isOpen_;
}

bool FileArchive::isEntryOpen() const {
    const std::scoped_lock lock(mutex_);
    return isEntryOpen_;
}

} // namespace orv
