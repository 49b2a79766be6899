#include "engine/platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace orv::platform {

namespace {

// The file holds "[key path]" lines, each followed by its values:
//   "name"=dword:0000002a
//   "name"="text with \" and \\ escaped"
// Any other value form is kept as it was found (kind Other). Lines starting
// with ";" are comments.
constexpr std::string_view kHeader = "; Orvanta settings store\n";

struct Key {
    std::string path;
    std::vector<SettingsValue> values;
};

std::mutex storeMutex;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

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

std::vector<Key> parseStore(const std::string& content) {
    std::vector<Key> keys;
    Key* current = nullptr;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            current = nullptr;
            if (line.back() == ']') {
                keys.push_back({canonicalKeyPath(line.substr(1, line.size() - 2)), {}});
                current = &keys.back();
            }
            continue;
        }
        SettingsValue value;
        std::size_t at = 0;
        if (current == nullptr || !unquote(line, at, value.name) || at >= line.size() ||
            line[at] != '=') {
            continue; // damaged or outside a key: skipped
        }
        const std::string_view data = std::string_view(line).substr(at + 1);
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

// The store's keys; empty when there is no store yet; nullopt when a store is
// there but cannot be read (a write must then not replace it with less).
std::optional<std::vector<Key>> loadStore(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::vector<Key>();
    }
    if (!std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return parseStore(content);
}

Key* findKey(std::vector<Key>& keys, std::string_view path) {
    const std::string wanted = canonicalKeyPath(path);
    for (Key& key : keys) {
        if (equalsIgnoringCase(key.path, wanted)) {
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

std::optional<std::vector<SettingsValue>> readSettingsKey(std::string_view keyPath) {
    const std::string path = getSettingsStorePath();
    if (path.empty()) {
        return std::nullopt;
    }
    const std::scoped_lock lock(storeMutex);
    std::optional<std::vector<Key>> keys = loadStore(path);
    if (!keys) {
        return std::nullopt;
    }
    const Key* key = findKey(*keys, keyPath);
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
        if (equalsIgnoringCase(value.name, valueName)) {
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
    const std::scoped_lock lock(storeMutex);
    std::optional<std::vector<Key>> keys = loadStore(path);
    if (!keys) {
        return false;
    }
    Key* key = findKey(*keys, keyPath);
    if (key == nullptr) {
        keys->push_back({canonicalKeyPath(keyPath), {}});
        key = &keys->back();
    }
    const auto same = [&](const SettingsValue& v) {
        return equalsIgnoringCase(v.name, value.name);
    };
    const auto existing = std::find_if(key->values.begin(), key->values.end(), same);
    if (existing != key->values.end()) {
        *existing = value;
    } else {
        key->values.push_back(value);
    }
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && !ensureDirectory(path.substr(0, slash))) {
        return false;
    }
    return replaceFileSafely(path, formatStore(*keys));
}

} // namespace orv::platform
