#include "engine/core/TextUtil.h"

#include "engine/system/Platform.h"

#include <algorithm>

namespace orv {

std::wstring intToWideString(int value) {
    return std::to_wstring(value);
}

std::string intToString(int value) {
    return std::to_string(value);
}

std::wstring stringToWide(std::string_view text) {
    return platform::utf8ToWide(text);
}

std::string wideToString(std::wstring_view text) {
    return platform::wideToUtf8(text);
}

std::wstring& groupDigits(std::uint32_t value, std::wstring& out, std::wstring_view separator) {
    const std::wstring digits = std::to_wstring(value);
    out.clear();
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

std::wstring formatTime(std::uint32_t milliseconds, bool showZeroMinutes, bool padMinutes) {
    const std::uint32_t hours = milliseconds / 3600000;
    const std::uint32_t minutes = (milliseconds % 3600000) / 60000;
    const std::uint32_t seconds = (milliseconds % 60000) / 1000;
    std::wstring out;
    if (hours > 0) {
        out += std::to_wstring(hours) + L":";
    }
    if (hours > 0 || minutes > 0 || showZeroMinutes) {
        if (padMinutes && minutes < 10) {
            out += L"0";
        }
        out += std::to_wstring(minutes) + L":";
    }
    if (seconds < 10) {
        out += L"0";
    }
    out += std::to_wstring(seconds);
    return out;
}

void splitString(std::wstring_view text, std::vector<std::wstring>& out,
                 std::wstring_view separator, bool keepEmpty) {
    if (separator.empty()) {
        out.emplace_back(text);
        return;
    }
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::wstring_view::npos;
         found = text.find(separator, start)) {
        if (found > start || keepEmpty) {
            out.emplace_back(text.substr(start, found - start));
        }
        start = found + separator.size();
    }
    if (start < text.size()) {
        out.emplace_back(text.substr(start));
    }
}

bool trimChars(std::wstring& text, std::wstring_view set, bool left, bool right) {
    const std::size_t before = text.size();
    if (right) {
        const std::size_t last = text.find_last_not_of(set);
        text.erase(last == std::wstring::npos ? 0 : last + 1);
    }
    if (left) {
        const std::size_t first = text.find_first_not_of(set);
        text.erase(0, first == std::wstring::npos ? text.size() : first);
    }
    return text.size() != before;
}

bool trimWhitespace(std::wstring& text, bool left, bool right) {
    return trimChars(text, L"\t ", left, right);
}

bool replaceAll(std::wstring& text, std::wstring_view search, std::wstring_view replacement,
                bool all) {
    if (search.empty()) {
        return false;
    }
    bool replaced = false;
    for (std::size_t pos = text.find(search); pos != std::wstring::npos;
         pos = text.find(search, pos)) {
        text.replace(pos, search.size(), replacement);
        pos += replacement.size();
        replaced = true;
        if (!all) {
            break;
        }
    }
    return replaced;
}

std::uint32_t hashString(std::string_view key) {
    std::uint32_t hash = 0xDEADBEEF;
    const std::size_t length = key.size();
    const std::size_t step = length / 16 + 1;
    for (std::size_t i = 0; length >= step && i <= length - step; i += step) {
        hash +=
            static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(key[i])));
    }
    return hash;
}

} // namespace orv
