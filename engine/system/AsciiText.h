#pragma once

// Internal to the system layer: ASCII letter case, as file names and the
// settings store's keys compare (other bytes, UTF-8 included, stay as they are).

#include <algorithm>
#include <string_view>

namespace orv::platform {

[[nodiscard]] inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// True when `a` and `b` are equal ignoring ASCII letter case.
[[nodiscard]] inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

} // namespace orv::platform
