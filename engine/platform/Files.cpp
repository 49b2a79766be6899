#include "engine/platform/Platform.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include <fcntl.h>
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

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
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
            if (equalsIgnoringCase(name, component)) {
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
// that after a crash the rename is either wholly there or not at all.
bool replaceFileSafely(const std::string& path, std::string_view content) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string temporary = path + ".tmp";
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0) {
        return false;
    }
    const bool written = writeAll(file, content) && ::fsync(file) == 0;
    const bool closed = ::close(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int folderFile = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFile >= 0) {
        ::fsync(folderFile); // makes the rename itself durable; best effort
        ::close(folderFile);
    }
    return true;
}

} // namespace orv::platform
