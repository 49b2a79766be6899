#include "engine/properties/PropertyValue.h"

#include "engine/core/TextUtil.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace orv {

constinit const ClassRecord PropertyValue::classRecord{
    "PropertyValue", parentRecords<AbstractProperty::classRecord>};

namespace {

constexpr std::string_view integerType = "Integer";

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return static_cast<int>(c - L'0');
    }
    if (c >= L'a' && c <= L'f') {
        return static_cast<int>(c - L'a') + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return static_cast<int>(c - L'A') + 10;
    }
    return -1;
}

// Reads like "%x": blanks, an optional sign, an optional "0x", hexadecimal
// digits. A number that does not fit 32 bits gives all bits set; a minus sign
// negates modulo 2^32.
int readHex(std::wstring_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    if (pos + 2 < text.size() && text[pos] == L'0' &&
        (text[pos + 1] == L'x' || text[pos + 1] == L'X') && hexDigit(text[pos + 2]) >= 0) {
        pos += 2;
    }
    std::uint64_t value = 0;
    for (; pos < text.size() && hexDigit(text[pos]) >= 0; ++pos) {
        value = value * 16 + static_cast<std::uint64_t>(hexDigit(text[pos]));
        if (value > 0xFFFFFFFFULL) {
            value = 0xFFFFFFFFULL + 1; // stays out of range however many digits follow
        }
    }
    auto bits = value > 0xFFFFFFFFULL ? 0xFFFFFFFFU : static_cast<std::uint32_t>(value);
    if (negative) {
        bits = 0U - bits;
    }
    return static_cast<int>(bits); // two's complement: the bit pattern is kept
}

// Reads like "%d": blanks, an optional sign, decimal digits; out-of-range
// numbers give the nearest end of the int range.
int readDecimal(std::wstring_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
        value = value * 10 + (text[pos] - L'0');
        if (value > limit) {
            value = limit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

// The leading floating-point number of `text` in the "C" notation, or 0. Only
// ASCII can be part of a number, so the wide text is narrowed byte for byte up
// to the first character that cannot be.
template <class Float>
Float readFloat(std::wstring_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    std::string narrow;
    narrow.reserve(text.size() - pos);
    for (; pos < text.size() && text[pos] > 0 && text[pos] < 0x80; ++pos) {
        narrow.push_back(static_cast<char>(text[pos]));
    }
    std::string_view number = narrow;
    bool negative = false;
    if (!number.empty() && (number.front() == '-' || number.front() == '+')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
        if (!number.empty() && (number.front() == '-' || number.front() == '+')) {
            return 0; // a second sign is no number
        }
    }
    // "0x" starts a hexadecimal float ("0x1.8p1" is 3), as in C.
    auto format = std::chars_format::general;
    if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) {
        number.remove_prefix(2);
        format = std::chars_format::hex;
    }
    Float value = 0;
    const auto result =
        std::from_chars(number.data(), number.data() + number.size(), value, format);
    if (result.ec == std::errc::invalid_argument) {
        return 0;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; "%f" gives infinity, or 0
        // for a number too close to it. A wider type tells which.
        long double wide = 0;
        const auto widened =
            std::from_chars(number.data(), number.data() + number.size(), wide, format);
        const bool tiny = widened.ec == std::errc()
                              ? std::fabs(wide) < 1
                              : number.find("e-") != std::string_view::npos ||
                                    number.find("E-") != std::string_view::npos;
        value = tiny ? Float{0} : std::numeric_limits<Float>::infinity();
        if (widened.ec == std::errc()) {
            value = static_cast<Float>(wide);
        }
    }
    return negative ? -value : value;
}

PropertyValue* makeDummyValue() {
    PropertyValue* dummy = PropertyValue::create("DUMMY_VALUE", "", L"");
    dummy->addRef(); // never released: the dummy lives as long as the process
    return dummy;
}

} // namespace

PropertyValue* const DUMMY_VALUE = makeDummyValue();

PropertyValue::PropertyValue(std::string_view name, std::string_view typeName, std::wstring text)
    : AbstractProperty(PropertyKind::Value, name, typeName), text_(std::move(text)) {}

PropertyValue::PropertyValue(std::string_view name, int value, bool untyped)
    : PropertyValue(name, untyped ? "" : integerType, stringToWide(std::to_string(value))) {}

PropertyValue::PropertyValue(std::string_view name, long value, bool untyped)
    : PropertyValue(name, untyped ? "" : integerType, stringToWide(std::to_string(value))) {}

PropertyValue::PropertyValue(std::string_view name, float value, bool untyped)
    : PropertyValue(name, untyped ? "" : "Float", std::wstring()) {
    setFloat(value);
}

PropertyValue::PropertyValue(std::string_view name, std::string_view value, bool untyped)
    : PropertyValue(name, untyped ? "" : "String", stringToWide(value)) {}

PropertyValue::PropertyValue(std::string_view name, std::wstring_view value, bool untyped)
    : PropertyValue(name, untyped ? "" : "Text", std::wstring(value)) {}

PropertyValue::PropertyValue(std::string_view name, std::string_view typeName, int value)
    : PropertyValue(name, typeName, stringToWide(std::to_string(value))) {}

PropertyValue* PropertyValue::create(std::string_view name, std::string_view typeName,
                                     std::wstring_view text) {
    return new PropertyValue(name, typeName, std::wstring(text));
}

void PropertyValue::setText(std::wstring_view text) {
    if (this != DUMMY_VALUE) {
        text_ = text;
    }
}

std::string PropertyValue::getString() const {
    return wideToString(text_);
}

void PropertyValue::setString(std::string_view text) {
    setText(stringToWide(text));
}

void PropertyValue::setFloat(float value) {
    // "%f" of the value, written in the "C" notation whatever the locale.
    std::array<char, 512> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      static_cast<double>(value), std::chars_format::fixed, 6);
    std::string text(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
    // Strip trailing zeros, and the point once it is reached; the first
    // character always stays.
    while (text.size() > 1 && (text.back() == '0' || text.back() == '.')) {
        const bool point = text.back() == '.';
        text.pop_back();
        if (point) {
            break;
        }
    }
    setText(stringToWide(text));
}

int PropertyValue::toInt(std::wstring_view text) {
    if (text.empty()) {
        return 0;
    }
    if (text.front() == L'#') {
        return readHex(text.substr(1));
    }
    if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        return readHex(text.substr(2));
    }
    return readDecimal(text);
}

bool PropertyValue::toBool(std::wstring_view text) {
    return !text.empty() && text != L"false";
}

float PropertyValue::toFloat(std::wstring_view text) {
    return readFloat<float>(text);
}

double PropertyValue::toDouble(std::wstring_view text) {
    return readFloat<double>(text);
}

int PropertyValue::toInt(const AbstractProperty* property) {
    return asValue(property)->getInt();
}

bool PropertyValue::toBool(const AbstractProperty* property) {
    return asValue(property)->getBool();
}

float PropertyValue::toFloat(const AbstractProperty* property) {
    return asValue(property)->getFloat();
}

const PropertyValue* asValue(const AbstractProperty* property) {
    if (property == nullptr || !property->isValue()) {
        return DUMMY_VALUE;
    }
    return static_cast<const PropertyValue*>(property);
}

PropertyValue* asValue(AbstractProperty* property) {
    if (property == nullptr || !property->isValue()) {
        return DUMMY_VALUE;
    }
    return static_cast<PropertyValue*>(property);
}

} // namespace orv
