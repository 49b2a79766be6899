#include "engine/system/Platform.h"

namespace orv::platform {

namespace {

bool isScalarValue(std::uint32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (!isScalarValue(c)) {
        c = kReplacementCharacter;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0U | (c >> 6U));
        out += static_cast<char>(0x80U | (c & 0x3FU));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0U | (c >> 12U));
        out += static_cast<char>(0x80U | ((c >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (c & 0x3FU));
    } else {
        out += static_cast<char>(0xF0U | (c >> 18U));
        out += static_cast<char>(0x80U | ((c >> 12U) & 0x3FU));
        out += static_cast<char>(0x80U | ((c >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (c & 0x3FU));
    }
}

} // namespace

char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    std::uint32_t c = 0;
    std::uint32_t minimum = 0;
    if ((lead & 0xE0U) == 0xC0U) {
        length = 2;
        c = lead & 0x1FU;
        minimum = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3;
        c = lead & 0x0FU;
        minimum = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4;
        c = lead & 0x07U;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacementCharacter;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0U) != 0x80U) {
            ++pos;
            return kReplacementCharacter;
        }
        c = (c << 6U) | (next & 0x3FU);
    }
    if (c < minimum || !isScalarValue(c)) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return c;
}

std::wstring utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        out += static_cast<wchar_t>(decodeUtf8(text, pos));
    }
    return out;
}

std::string wideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t unit : text) {
        // wchar_t is signed here: a negative unit turns into a number far
        // above U+10FFFF, so it is no character either.
        appendUtf8(out, static_cast<std::uint32_t>(std::char_traits<wchar_t>::to_int_type(unit)));
    }
    return out;
}

} // namespace orv::platform
