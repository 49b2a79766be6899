#include "engine/system/Platform.h"

#include <SDL.h>

#include <memory>
#include <string>

namespace orv::platform {

namespace {

struct SdlFree {
    void operator()(char* text) const { SDL_free(text); }
};

} // namespace

// Both are members of the window because the desktop clipboard is only
// reachable while the video system runs, which the window guarantees.

bool Window::setClipboardText(std::wstring_view text) {
    const std::string utf8 = wideToUtf8(text);
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
    return utf8ToWide(text.get());
}

} // namespace orv::platform
