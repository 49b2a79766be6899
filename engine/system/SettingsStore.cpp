#include "engine/system/Platform.h"

#include "engine/system/AsciiText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::platform {

namespace {

// The file holds "[key path]" lines, each followed by its values:
//   "name"=dword:0000002a
//   "name"="text with \" and \\ escaped"
// Any other value form is kept as it was found (kind Other). Lines starting
// with ";" are comments.
constexpr std::string_view kHeader = "; Orvanta settings store\n";

// How long a write waits for another game's write to finish: a write holds
// the lock for a few milliseconds, so running out means a game hangs.
constexpr int kLockAttempts = 1000;
constexpr std::chrono::milliseconds kLockRetry{5};

struct Key {
    std::string path;
    std::vector<SettingsValue> values;
};

std::mutex storeMutex;

std::string canonicalKeyPath(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '/', '\\');
    while (!result.empty() && result.back() == '\\') {
        result.pop_back();
    }
    return result;
}

std::string quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

// Reads a quoted text starting at `at` (on the opening quote) and moves `at`
// behind the closing quote. False when the text is not closed.
bool unquote(std::string_view line, std::size_t& at, std::string& out) {
    if (at >= line.size() || line[at] != '"') {
        return false;
    }
    out.clear();
    for (++at; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\' && at + 1 < line.size()) {
            const char next = line[++at];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += c;
        }
    }
    return false;
}

bool parseDword(std::string_view digits, std::uint32_t& out) {
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        const char l = lowerAscii(c);
        int digit = 0;
        if (l >= '0' && l <= '9') {
            digit = l - '0';
        } else if (l >= 'a' && l <= 'f') {
            digit = l - 'a' + 10;
        } else {
            return false;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    out = value;
    return true;
}

// The lines of `content`; a line ends at LF, CR LF or a lone CR.
std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, end - start));
        start = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The keys of a store; nullopt when `content` is no settings store at all: it
// holds zero bytes (UTF-16 text, a binary file), or it has lines and not one
// of them is understood.
std::optional<std::vector<Key>> parseStore(std::string_view content) {
    if (content.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<Key> keys;
    Key* current = nullptr;
    std::size_t meaningful = 0;
    std::size_t understood = 0;
    for (const std::string_view line : splitLines(content)) {
        if (line.empty() || line.front() == ';') {
            continue;
        }
        ++meaningful;
        if (line.front() == '[') {
            current = nullptr;
            if (line.back() == ']') {
                keys.push_back({canonicalKeyPath(line.substr(1, line.size() - 2)), {}});
                current = &keys.back();
                ++understood;
            }
            continue;
        }
        SettingsValue value;
        std::size_t at = 0;
        if (current == nullptr || !unquote(line, at, value.name) || at >= line.size() ||
            line[at] != '=') {
            continue; // damaged or outside a key: skipped
        }
        const std::string_view data = line.substr(at + 1);
        if (data.starts_with("dword:")) {
            if (!parseDword(data.substr(6), value.number)) {
                continue;
            }
            value.type = SettingsValueType::Dword;
        } else if (data.starts_with("\"")) {
            std::size_t textAt = at + 1;
            if (!unquote(line, textAt, value.text) || textAt != line.size()) {
                continue;
            }
            value.type = SettingsValueType::String;
        } else {
            value.type = SettingsValueType::Other;
            value.text = std::string(data);
        }
        current->values.push_back(std::move(value));
        ++understood;
    }
    if (meaningful > 0 && understood == 0) {
        return std::nullopt;
    }
    return keys;
}

std::string formatStore(const std::vector<Key>& keys) {
    std::string content(kHeader);
    for (const Key& key : keys) {
        content += "\n[" + key.path + "]\n";
        for (const SettingsValue& value : key.values) {
            content += quote(value.name) + "=";
            switch (value.type) {
            case SettingsValueType::Dword: {
                char digits[16];
                std::snprintf(digits, sizeof digits, "dword:%08x", value.number);
                content += digits;
                break;
            }
            case SettingsValueType::String:
                content += quote(value.text);
                break;
            case SettingsValueType::Other:
                content += value.text;
                break;
            }
            content += "\n";
        }
    }
    return content;
}

// What lies at the store's path.
enum class StoreKind {
    Missing,  ///< nothing yet: reads as empty, a write creates it
    Readable, ///< a store: its keys are read
    Foreign,  ///< our own file that is no store: moved aside by a write
    /// Left alone, never written: no file at all (a folder, a device, a
    /// broken link), a file that cannot be opened (no permission: it is not
    /// damaged), or a link to a file elsewhere that is no store (a link is
    /// the user's, and its target is no file of ours to move or replace).
    Unusable,
};

struct StoreFile {
    StoreKind kind = StoreKind::Missing;
    // The file read and replaced: the store's path, or where its link leads.
    std::string path;
    std::vector<Key> keys;
    // Why a Foreign or Unusable store is not read, for the diagnostic.
    std::string reason;
};

// Reads the store at `storePath`. The file is opened without waiting, so a
// FIFO put at the path cannot block, and at most one byte more than the bound
// is read, whatever size the file claims.
StoreFile examineStore(const std::string& storePath) {
    StoreFile store;
    store.path = storePath;
    struct stat status {};
    if (::lstat(storePath.c_str(), &status) != 0) {
        if (errno != ENOENT) {
            store.kind = StoreKind::Unusable;
            store.reason = "cannot be examined";
        }
        return store;
    }
    const bool linked = S_ISLNK(status.st_mode);
    if (linked) {
        char* target = ::realpath(storePath.c_str(), nullptr);
        if (target == nullptr) {
            store.kind = StoreKind::Unusable;
            store.reason = "is a link that leads to no file";
            return store;
        }
        store.path = target;
        std::free(target); // realpath allocates with malloc
    }
    const int file = ::open(store.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        // Not damaged, only out of reach (permissions): what it holds is
        // still the user's, so it is neither moved nor saved over.
        store.kind = StoreKind::Unusable;
        store.reason = errno == EACCES || errno == EPERM ? "cannot be opened (no permission)"
                                                         : "cannot be opened";
        if (linked) {
            store.reason = "is a link to " + store.path + ", which " + store.reason;
        }
        return store;
    }
    store.kind = StoreKind::Foreign;
    std::string content;
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode)) {
        store.kind = StoreKind::Unusable;
        store.reason = "is no regular file";
    } else if (static_cast<std::uint64_t>(status.st_size) > kMaxSettingsStoreBytes) {
        store.reason = "is larger than a settings store can be";
    } else {
        content.resize(kMaxSettingsStoreBytes + 1);
        std::size_t size = 0;
        ssize_t got = 0;
        while (size < content.size() &&
               (got = ::read(file, content.data() + size, content.size() - size)) != 0) {
            if (got < 0 && errno != EINTR) {
                break;
            }
            size += got > 0 ? static_cast<std::size_t>(got) : 0;
        }
        content.resize(size);
        if (got < 0) {
            store.kind = StoreKind::Unusable;
            store.reason = "cannot be read";
        } else if (size > kMaxSettingsStoreBytes) {
            store.reason = "is larger than a settings store can be";
        } else if (std::optional<std::vector<Key>> keys = parseStore(content)) {
            store.kind = StoreKind::Readable;
            store.keys = std::move(*keys);
        } else {
            store.reason = "is no settings store this program can read";
        }
    }
    ::close(file);
    if (linked && store.kind == StoreKind::Foreign) {
        store.kind = StoreKind::Unusable;
        store.reason = "is a link to " + store.path + ", which " + store.reason;
    }
    return store;
}

// Says once per store path and reason that the settings are read as defaults
// because the store is not read.
void reportUnreadStore(const std::string& storePath, const StoreFile& store) {
    static std::set<std::string> reported;
    const std::string line =
        storePath + " " + store.reason + "; the settings are read as defaults" +
        (store.kind == StoreKind::Unusable ? " and are not saved over it" : "");
    if (reported.insert(line).second) {
        reportDiagnostic(line);
    }
}

// "YYYYMMDD-HHMMSS" of the current time in UTC.
std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

// Renames a Foreign store to a dated name beside it that is not taken yet.
bool moveAside(const StoreFile& store) {
    const std::string base = store.path + ".unreadable-" + timeStamp();
    for (int n = 1; n <= 100; ++n) {
        const std::string candidate = n == 1 ? base : base + "-" + std::to_string(n);
        struct stat status {};
        if (::lstat(candidate.c_str(), &status) == 0 || errno != ENOENT) {
            continue;
        }
        if (std::rename(store.path.c_str(), candidate.c_str()) != 0) {
            return false;
        }
        reportDiagnostic(store.path + " " + store.reason + "; moved aside to " + candidate);
        return true;
    }
    return false;
}

// The advisory lock every game takes around its read-modify-write of the
// store. The lock file is never followed through a link.
class StoreLock {
public:
    explicit StoreLock(const std::string& lockPath)
        : file_(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                       0600)) {
        struct stat status {};
        if (file_ < 0 || ::fstat(file_, &status) != 0 || !S_ISREG(status.st_mode)) {
            return;
        }
        for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
            if (::flock(file_, LOCK_EX | LOCK_NB) == 0) {
                locked_ = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                return;
            }
            std::this_thread::sleep_for(kLockRetry);
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    ~StoreLock() {
        if (file_ >= 0) {
            ::close(file_); // releases the lock
        }
    }
    [[nodiscard]] bool isLocked() const { return locked_; }

private:
    int file_;
    bool locked_ = false;
};

Key* findKey(std::vector<Key>& keys, std::string_view path) {
    const std::string wanted = canonicalKeyPath(path);
    for (Key& key : keys) {
        if (equalsIgnoringAsciiCase(key.path, wanted)) {
            return &key;
        }
    }
    return nullptr;
}

} // namespace

std::string getSettingsStorePath() {
    const std::string config = getUserConfigFolder();
    if (config.empty()) {
        return {};
    }
    return config + "/Vantrel/Games/settings.reg";
}

std::string getSettingsStoreProblem() {
    const std::string path = getSettingsStorePath();
    if (path.empty()) {
        return {};
    }
    const std::scoped_lock lock(storeMutex);
    const StoreFile store = examineStore(path);
    return store.kind == StoreKind::Unusable ? store.reason : std::string();
}

std::optional<std::vector<SettingsValue>> readSettingsKey(std::string_view keyPath) {
    const std::string path = getSettingsStorePath();
    if (path.empty()) {
        return std::nullopt;
    }
    // No file lock: the store is only ever replaced whole by a rename, so a
    // reader sees the old or the new file.
    const std::scoped_lock lock(storeMutex);
    StoreFile store = examineStore(path);
    if (store.kind == StoreKind::Foreign || store.kind == StoreKind::Unusable) {
        reportUnreadStore(path, store);
    }
    if (store.kind != StoreKind::Readable) {
        return std::nullopt;
    }
    const Key* key = findKey(store.keys, keyPath);
    if (key == nullptr) {
        return std::nullopt;
    }
    return key->values;
}

std::optional<SettingsValue> readSettingsValue(std::string_view keyPath,
                                               std::string_view valueName) {
    const std::optional<std::vector<SettingsValue>> values = readSettingsKey(keyPath);
    if (!values) {
        return std::nullopt;
    }
    for (const SettingsValue& value : *values) {
        if (equalsIgnoringAsciiCase(value.name, valueName)) {
            return value;
        }
    }
    return std::nullopt;
}

bool writeSettingsValue(std::string_view keyPath, const SettingsValue& value) {
    // A line break in a key path or a value name would split its line.
    const auto breaksLine = [](std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    };
    if (value.type == SettingsValueType::Other || breaksLine(keyPath) || breaksLine(value.name)) {
        return false;
    }
    const std::string path = getSettingsStorePath();
    if (path.empty()) {
        return false;
    }
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && !ensureDirectory(path.substr(0, slash))) {
        return false;
    }
    const std::scoped_lock lock(storeMutex);
    const StoreLock fileLock(path + ".lock");
    if (!fileLock.isLocked()) {
        reportDiagnostic(path + ": the settings store's lock cannot be taken; nothing is written");
        return false;
    }
    StoreFile store = examineStore(path);
    if (store.kind == StoreKind::Unusable) {
        reportDiagnostic(path + " " + store.reason + "; nothing is written");
        return false;
    }
    if (store.kind == StoreKind::Foreign && !moveAside(store)) {
        reportDiagnostic(store.path + " " + store.reason +
                         " and cannot be moved aside; nothing is written");
        return false;
    }
    std::vector<Key>& keys = store.keys;
    Key* key = findKey(keys, keyPath);
    if (key == nullptr) {
        keys.push_back({canonicalKeyPath(keyPath), {}});
        key = &keys.back();
    }
    const auto same = [&](const SettingsValue& v) {
        return equalsIgnoringAsciiCase(v.name, value.name);
    };
    const auto existing = std::find_if(key->values.begin(), key->values.end(), same);
    if (existing != key->values.end()) {
        *existing = value;
    } else {
        key->values.push_back(value);
    }
    const std::string content = formatStore(keys);
    if (content.size() > kMaxSettingsStoreBytes) {
        reportDiagnostic(path +
                         ": the settings store would grow beyond its limit; nothing is written");
        return false;
    }
    return replaceFileSafely(store.path, content);
}

} // namespace orv::platform
