#include "engine/graphics/StyleFormat.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"

#include <limits>
#include <utility>

namespace orv {

constinit const ClassRecord StyleFormat::classRecord{"StyleFormat",
                                                     parentRecords<BaseObject::classRecord>};

namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

int digitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

bool hasHexPrefix(std::wstring_view text, std::size_t at) {
    return at + 1 < text.size() && text[at] == L'0' &&
           (text[at + 1] == L'x' || text[at + 1] == L'X');
}

// The digits of `base` from `at`, accumulated while they stay within
// `limit`; nullopt without a digit or beyond the limit.
std::optional<std::uint64_t> readDigits(std::wstring_view text, std::size_t at, int base,
                                        std::uint64_t limit) {
    std::uint64_t result = 0;
    bool any = false;
    for (; at < text.size(); ++at) {
        const int digit = digitValue(text[at]);
        if (digit < 0 || digit >= base) {
            break;
        }
        any = true;
        result = result * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (result > limit) {
            return std::nullopt;
        }
    }
    return any ? std::optional<std::uint64_t>(result) : std::nullopt;
}

std::size_t skipBlanks(std::wstring_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

} // namespace

StyleFormat::StyleFormat(std::vector<std::wstring> names) : names_(std::move(names)) {}

StyleFormat::~StyleFormat() = default;

std::optional<int> StyleFormat::readInteger(std::wstring_view value) {
    std::size_t at = skipBlanks(value);
    bool negative = false;
    if (at < value.size() && (value[at] == L'+' || value[at] == L'-')) {
        negative = value[at] == L'-';
        ++at;
    }
    int base = 10;
    if (hasHexPrefix(value, at) && at + 2 < value.size() && digitValue(value[at + 2]) >= 0) {
        base = 16;
        at += 2;
    } else if (at < value.size() && value[at] == L'0') {
        base = 8;
    }
    const std::uint64_t limit =
        negative ? std::uint64_t{1} << 31U : std::uint64_t{std::numeric_limits<int>::max()};
    const std::optional<std::uint64_t> magnitude = readDigits(value, at, base, limit);
    if (!magnitude) {
        return std::nullopt;
    }
    const auto signedValue = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -signedValue : signedValue);
}

std::optional<std::uint32_t> StyleFormat::readHex(std::wstring_view value) {
    std::size_t at = skipBlanks(value);
    if (hasHexPrefix(value, at) && at + 2 < value.size() && digitValue(value[at + 2]) >= 0) {
        at += 2;
    }
    const std::optional<std::uint64_t> result =
        readDigits(value, at, 16, std::numeric_limits<std::uint32_t>::max());
    if (!result) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*result);
}

void StyleFormat::warn(const StyleFormatTarget& target, int nameIndex, std::wstring_view value,
                       std::string_view reason) const {
    std::wstring tag = L"[";
    if (nameIndex >= 0 && static_cast<std::size_t>(nameIndex) < names_.size()) {
        tag += names_[static_cast<std::size_t>(nameIndex)];
    }
    if (!value.empty()) {
        tag += L"=";
        tag += value;
    }
    tag += L"]";
    logWarning(target.describeTarget() + ": tag " + wideToString(tag) + " " + std::string(reason));
}

void StyleFormat::applyChoice(int nameIndex, std::wstring_view value,
                              std::span<const std::wstring_view> words, int& field,
                              std::vector<int>& stack, const StyleFormatTarget& target) const {
    if (nameIndex != 0) {
        if (!stack.empty()) {
            field = stack.back();
            stack.pop_back();
        }
        return;
    }
    stack.push_back(field);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == value) {
            field = static_cast<int>(i);
            return;
        }
    }
    warn(target, nameIndex, value, "names no known setting; the current one stays");
}

} // namespace orv
