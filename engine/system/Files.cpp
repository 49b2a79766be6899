#include "engine/system/Platform.h"

#include "engine/system/AsciiText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::platform {

namespace fs = std::filesystem;

namespace {

bool writeAll(int file, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(file, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string withSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// Deletes what lies in `folder`, then the folder. The entries are listed
// before anything is deleted, because deleting while a directory stream is
// open leaves it unspecified which entries the stream still returns.
bool deleteTree(const fs::path& folder) {
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path());
    }
    bool complete = !error;
    for (const fs::path& entry : entries) {
        const fs::file_status status = fs::symlink_status(entry, error);
        if (!error && fs::is_directory(status)) {
            complete = deleteTree(entry) && complete;
        } else if (!fs::remove(entry, error) || error) {
            complete = false;
        }
    }
    if (!fs::remove(folder, error) || error) {
        complete = false;
    }
    return complete;
}

std::string environmentFolder(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return withoutTrailingSlash(value);
}

std::string homeSubfolder(const char* variable, const char* fallback) {
    std::string folder = environmentFolder(variable);
    if (!folder.empty()) {
        return folder;
    }
    const std::string home = environmentFolder("HOME");
    if (home.empty()) {
        return {};
    }
    return withoutTrailingSlash(home + "/" + fallback);
}

// Temporary files of a crash-safe write are named after the file they replace:
// "<name>.tmp-" and six letters or digits.
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr std::string_view kSuffixCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Names tried before a write gives up; a clash with an existing file is
// already unlikely on the first.
constexpr int kTemporaryAttempts = 16;

std::string randomSuffix() {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kSuffixCharacters.size() - 1);
    std::string suffix(kTemporarySuffixLength, ' ');
    for (char& c : suffix) {
        c = kSuffixCharacters[pick(generator)];
    }
    return suffix;
}

// True when `name` is the name of a temporary file of `fileName` (of any file
// when `fileName` is empty).
bool isTemporaryName(std::string_view name, std::string_view fileName) {
    const std::size_t tail = kTemporaryMark.size() + kTemporarySuffixLength;
    if (name.size() <= tail) {
        return false;
    }
    const std::size_t markAt = name.size() - tail;
    const std::string_view suffix = name.substr(markAt + kTemporaryMark.size());
    const bool suffixFits = std::all_of(suffix.begin(), suffix.end(), [](char c) {
        return kSuffixCharacters.find(c) != std::string_view::npos;
    });
    return name.substr(markAt, kTemporaryMark.size()) == kTemporaryMark && suffixFits &&
           (fileName.empty() || name.substr(0, markAt) == fileName);
}

// Creates and locks a new temporary file for `path`; -1 when none can be made.
// The lock tells removeStaleTemporaries that the write is alive. A cleaner
// that opened the file between its creation and the lock may remove it, so
// such a file is given up and another name taken.
int createTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        temporary = path + std::string(kTemporaryMark) + randomSuffix();
        const int file =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (file < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        struct stat status {};
        if (::flock(file, LOCK_EX | LOCK_NB) == 0 && ::fstat(file, &status) == 0 &&
            status.st_nlink > 0) {
            return file;
        }
        ::close(file);
    }
    return -1;
}

// The folder part of `path` ("." for a bare name) and the name part.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

std::string getCurrentFolder() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error) {
        return {};
    }
    return withoutTrailingSlash(current.generic_string());
}

bool setCurrentFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    fs::current_path(withSlashes(path), error);
    return !error;
}

std::string getProgramFolder() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size() - 1) {
        return {};
    }
    const std::string program(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = program.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : program.substr(0, slash);
}

bool ensureDirectory(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const fs::path folder(withSlashes(path));
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

bool deleteFolderTree(const std::string& path) {
    if (path.size() < 2) {
        return false;
    }
    const fs::path folder(withoutTrailingSlash(withSlashes(path)));
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error))) {
        return false;
    }
    return deleteTree(folder);
}

bool pathExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    return fs::exists(fs::symlink_status(withSlashes(path), error));
}

bool canOpenForReading(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const int file = ::open(withSlashes(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    ::close(file);
    return true;
}

bool deleteFile(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    const fs::path file(withSlashes(path));
    if (fs::is_directory(fs::symlink_status(file, error))) {
        return false;
    }
    return ::unlink(file.c_str()) == 0;
}

// A hard link to the new name fails when the name is taken, so nothing is
// ever replaced; the old name is then unlinked.
bool renameFileNoReplace(const std::string& from, const std::string& to) {
    const std::string source = withSlashes(from);
    const std::string target = withSlashes(to);
    if (source.empty() || target.empty() || ::link(source.c_str(), target.c_str()) != 0) {
        return false;
    }
    if (::unlink(source.c_str()) != 0) {
        ::unlink(target.c_str());
        return false;
    }
    return true;
}

std::string findPathIgnoringCase(const std::string& path) {
    std::string wanted = withSlashes(path);
    if (wanted.empty()) {
        return {};
    }
    if (pathExists(wanted)) {
        return wanted;
    }
    // Walk the components, keeping those that exist as they are and looking
    // the others up in their folder.
    std::string found = wanted.front() == '/' ? "/" : "";
    std::size_t start = wanted.front() == '/' ? 1 : 0;
    while (start <= wanted.size()) {
        std::size_t end = wanted.find('/', start);
        if (end == std::string::npos) {
            end = wanted.size();
        }
        const std::string_view component(wanted.data() + start, end - start);
        start = end + 1;
        if (component.empty()) {
            continue;
        }
        const std::string candidate = found + std::string(component);
        if (component == "." || component == ".." || pathExists(candidate)) {
            found = candidate + "/";
            continue;
        }
        std::error_code error;
        const fs::path folder = found.empty() ? fs::path(".") : fs::path(found);
        std::string match;
        for (fs::directory_iterator it(folder, error), stop; !error && it != stop;
             it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (equalsIgnoringAsciiCase(name, component)) {
                match = name;
                break;
            }
        }
        if (match.empty()) {
            return {};
        }
        found += match + "/";
    }
    return withoutTrailingSlash(found);
}

bool grantFullAccess(const std::string& /*path*/) {
    return true;
}

std::string getUserDataFolder() {
    return homeSubfolder("XDG_DATA_HOME", ".local/share");
}

std::string getUserConfigFolder() {
    return homeSubfolder("XDG_CONFIG_HOME", ".config");
}

std::string getUserRuntimeFolder() {
    std::string folder = environmentFolder("XDG_RUNTIME_DIR");
    if (!folder.empty()) {
        return folder;
    }
    std::error_code error;
    return withoutTrailingSlash(fs::temp_directory_path(error).generic_string());
}

// The temporary file is synced before the rename and the folder after it, so
// that after a crash the rename is either wholly there or not at all. The
// temporary stays open, and so locked, until it has been renamed.
bool replaceFileSafely(const std::string& path, std::string_view content) {
    const auto [folder, name] = splitPath(path);
    if (name.empty()) {
        return false;
    }
    removeStaleTemporaries(folder, name);
    std::string temporary;
    const int file = createTemporary(path, temporary);
    if (file < 0) {
        return false;
    }
    const bool written = writeAll(file, content) && ::fsync(file) == 0;
    const bool renamed = written && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!renamed) {
        ::unlink(temporary.c_str());
    }
    ::close(file);
    if (!renamed) {
        return false;
    }
    const int folderFile = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFile >= 0) {
        ::fsync(folderFile); // makes the rename itself durable; best effort
        ::close(folderFile);
    }
    return true;
}

// A temporary is stale when no write holds its lock. The file is opened
// without following links and without waiting (a FIFO named like one must not
// block), and it is removed only while the name still leads to the file that
// was checked.
std::size_t removeStaleTemporaries(const std::string& folder, std::string_view fileName) {
    std::vector<std::string> candidates;
    std::error_code error;
    for (fs::directory_iterator it(withSlashes(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (isTemporaryName(name, fileName)) {
            candidates.push_back(it->path().string());
        }
    }
    std::size_t removed = 0;
    for (const std::string& candidate : candidates) {
        const int file = ::open(candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (file < 0) {
            continue;
        }
        struct stat opened {};
        struct stat named {};
        const bool stale = ::fstat(file, &opened) == 0 && S_ISREG(opened.st_mode) &&
                           opened.st_uid == ::geteuid() && ::flock(file, LOCK_EX | LOCK_NB) == 0 &&
                           ::lstat(candidate.c_str(), &named) == 0 &&
                           named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
        if (stale && ::unlink(candidate.c_str()) == 0) {
            ++removed;
            reportDiagnostic(candidate +
                             ": removed a temporary file left by a write that was cut short");
        }
        ::close(file);
    }
    return removed;
}

} // namespace orv::platform
