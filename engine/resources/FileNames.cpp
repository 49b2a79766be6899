#include "engine/resources/FileNames.h"

#include "engine/resources/FileArchive.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace orv {

namespace {

void replaceEvery(std::string& text, std::string_view search, std::string_view replacement) {
    // Each search starts again from the beginning: a replacement may form a
    // new occurrence in front of the place just changed.
    for (std::size_t at = text.find(search); at != std::string::npos; at = text.find(search)) {
        text.replace(at, search.size(), replacement);
    }
}

} // namespace

std::string makeFileName(ArchiveMode mode, std::string_view name) {
    if (mode == ArchiveMode::Global && FileArchive::hasArchive()) {
        mode = FileArchive::getGlobalMode();
    }
    std::string stored(name);
    if (isScrambledMode(mode)) {
        stored += ".!";
    }
    return stored;
}

std::string normalizePath(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    replaceEvery(result, "//", "/");
    replaceEvery(result, "./", "");
    return result;
}

std::string getFolderOfPath(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    std::string normal = normalizePath(path);
    const std::size_t slash = normal.rfind('/');
    if (slash == std::string::npos) {
        return std::string(path);
    }
    normal.resize(slash);
    return normal;
}

std::string makeResourceKey(std::string_view path) {
    std::string key = normalizePath(path);
    // Locale-independent: only ASCII letters change, as under the "C" locale.
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

std::string encodeFileName(std::string_view name) {
    std::string encoded;
    encoded.reserve(name.size() * 4);
    for (const char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            encoded += c;
            continue;
        }
        // The byte as a signed char widened to 32 bits: 0xE9 gives FFFFFFE9.
        const auto widened = static_cast<std::uint32_t>(
            static_cast<std::int32_t>(static_cast<signed char>(static_cast<unsigned char>(c))));
        char text[16];
        std::snprintf(text, sizeof text, "-%X-", static_cast<unsigned>(widened));
        encoded += text;
    }
    return encoded;
}

} // namespace orv
