#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Text helpers shared by every subsystem. Narrow strings are UTF-8 (names,
// keys, identifiers, paths); shown texts are wide strings of code points.

/// The number in decimal ("%d").
[[nodiscard]] std::wstring intToWideString(int value);
[[nodiscard]] std::string intToString(int value);

/// UTF-8 to wide text. Malformed bytes become U+FFFD, one per bad byte.
[[nodiscard]] std::wstring stringToWide(std::string_view text);
/// Wide text to UTF-8. Values that are not Unicode scalar values (surrogates,
/// numbers above U+10FFFF) become U+FFFD.
[[nodiscard]] std::string wideToString(std::wstring_view text);

/// The decimal digits of `value` with `separator` after every third digit from
/// the right, never in front of the first (1234567 and "," give "1,234,567").
/// Writes into `out` and returns it.
std::wstring& groupDigits(std::uint32_t value, std::wstring& out, std::wstring_view separator);

/// Milliseconds as [h:][m:]ss. Hours appear when non-zero; minutes appear with
/// hours, when non-zero, or with `showZeroMinutes`; `padMinutes` writes them
/// with two digits. Seconds always have two digits (65000 gives "1:05").
[[nodiscard]] std::wstring formatTime(std::uint32_t milliseconds, bool showZeroMinutes,
                                      bool padMinutes);

/// Appends to `out` the pieces of `text` between occurrences of `separator`
/// (which must not be empty). Empty pieces between separators are appended
/// only with `keepEmpty`; an empty rest after the last separator never is.
void splitString(std::wstring_view text, std::vector<std::wstring>& out,
                 std::wstring_view separator, bool keepEmpty);

/// Removes every character of `set` from the chosen ends of `text`. True when
/// anything was removed.
bool trimChars(std::wstring& text, std::wstring_view set, bool left, bool right);
/// `trimChars` with tab and blank.
bool trimWhitespace(std::wstring& text, bool left, bool right);

/// Replaces the first occurrence of `search` (not empty) by `replacement`, or
/// every occurrence with `all`; each further search starts behind the text just
/// inserted. True when anything was replaced.
bool replaceAll(std::wstring& text, std::wstring_view search, std::wstring_view replacement,
                bool all);

/// The hash of the engine's string-keyed tables: 0xDEADBEEF plus the signed
/// bytes of the key, sampled every (length / 16 + 1) bytes.
[[nodiscard]] std::uint32_t hashString(std::string_view key);

} // namespace orv
