#include "engine/platform/Platform.h"

#include <SDL.h>

#include <memory>
#include <string>

namespace orv::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct SdlFree {
    void operator()(char* text) const { SDL_free(text); }
};

bool isScalarValue(std::uint32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Wide text to UTF-8; values that are no Unicode scalar value become U+FFFD.
std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t unit : text) {
        // wchar_t is signed here; a negative unit turns into a number far
        // above U+10FFFF, so it is no character either.
        auto c = static_cast<std::uint32_t>(std::char_traits<wchar_t>::to_int_type(unit));
        if (!isScalarValue(c)) {
            c = kReplacement;
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
    return out;
}

// UTF-8 to wide text; each byte of a malformed sequence becomes U+FFFD.
std::wstring toWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = 1;
        std::uint32_t c = lead;
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
        } else if (lead >= 0x80) {
            length = 0;
        }
        bool valid = length > 0 && pos + length <= text.size();
        for (std::size_t i = 1; valid && i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[pos + i]);
            valid = (next & 0xC0U) == 0x80U;
            c = (c << 6U) | (next & 0x3FU);
        }
        if (valid && c >= minimum && isScalarValue(c)) {
            out += static_cast<wchar_t>(c);
            pos += length;
        } else {
            out += static_cast<wchar_t>(kReplacement);
            ++pos;
        }
    }
    return out;
}

} // namespace

// Both are members of the window because the desktop clipboard is only
// reachable while the video system runs, which the window guarantees.

bool Window::setClipboardText(std::wstring_view text) {
    const std::string utf8 = toUtf8(text);
    return SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::wstring Window::getClipboardText() const {
    if (SDL_HasClipboardText() == SDL_FALSE) {
        return {};
    }
    const std::unique_ptr<char, SdlFree> text(SDL_GetClipboardText());
    if (!text) {
        return {};
    }
    return toWide(text.get());
}

} // namespace orv::platform
