#include "engine/system/Platform.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <string>

namespace orv::platform {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
               return p == ((t >= 'A' && t <= 'Z') ? static_cast<char>(t - 'A' + 'a') : t);
           });
}

// Links come from data files. Handing the desktop anything but a web or mail
// link could open a local file or start a program, so only those pass.
bool isWebOrMailLink(std::string_view url) {
    constexpr std::array<std::string_view, 3> schemes = {"http://", "https://", "mailto:"};
    const bool knownScheme = std::any_of(schemes.begin(), schemes.end(), [&](std::string_view s) {
        return startsWithIgnoringCase(url, s) && url.size() > s.size();
    });
    const bool clean = std::none_of(url.begin(), url.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
    return knownScheme && clean;
}

} // namespace

bool openUrl(std::string_view url) {
    if (!isWebOrMailLink(url)) {
        return false;
    }
    const std::string text(url);
    return SDL_OpenURL(text.c_str()) == 0;
}

} // namespace orv::platform
