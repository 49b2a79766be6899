#include "engine/system/EventTranslation.h"
#include "engine/system/Platform.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace orv::platform {

namespace {

struct KeyCode {
    SDL_Scancode scancode;
    std::uint32_t virtualKey;
};

// Keys whose code does not depend on the layout or on Num Lock. Left and right
// modifier keys share one code, as the game asks for "Shift" or "Ctrl", not
// for a side.
constexpr std::array<KeyCode, 50> kFixedKeys = {{
    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_COMMA, VK_SEPARATOR},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_CLEAR, VK_CLEAR},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
}};

// The keypad's digits and decimal point: the number keys with Num Lock on,
// the navigation keys with it off.
constexpr std::array<KeyCode, 11> kNavigationKeypad = {{
    {SDL_SCANCODE_KP_0, VK_INSERT},
    {SDL_SCANCODE_KP_1, VK_END},
    {SDL_SCANCODE_KP_2, VK_DOWN},
    {SDL_SCANCODE_KP_3, VK_NEXT},
    {SDL_SCANCODE_KP_4, VK_LEFT},
    {SDL_SCANCODE_KP_5, VK_CLEAR},
    {SDL_SCANCODE_KP_6, VK_RIGHT},
    {SDL_SCANCODE_KP_7, VK_HOME},
    {SDL_SCANCODE_KP_8, VK_UP},
    {SDL_SCANCODE_KP_9, VK_PRIOR},
    {SDL_SCANCODE_KP_PERIOD, VK_DELETE},
}};

template <std::size_t N>
std::uint32_t lookUp(const std::array<KeyCode, N>& table, SDL_Scancode code) {
    const auto* found = std::find_if(table.begin(), table.end(),
                                     [&](const KeyCode& key) { return key.scancode == code; });
    return found == table.end() ? 0 : found->virtualKey;
}

std::uint32_t virtualKeyForScancode(SDL_Scancode code, bool numLock) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) {
        return 'A' + static_cast<std::uint32_t>(code - SDL_SCANCODE_A);
    }
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) {
        return '1' + static_cast<std::uint32_t>(code - SDL_SCANCODE_1);
    }
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) {
        return VK_F1 + static_cast<std::uint32_t>(code - SDL_SCANCODE_F1);
    }
    if (code >= SDL_SCANCODE_F13 && code <= SDL_SCANCODE_F24) {
        return VK_F1 + 12 + static_cast<std::uint32_t>(code - SDL_SCANCODE_F13);
    }
    if (numLock) {
        if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) {
            return VK_NUMPAD0 + 1 + static_cast<std::uint32_t>(code - SDL_SCANCODE_KP_1);
        }
        if (code == SDL_SCANCODE_KP_0) {
            return VK_NUMPAD0;
        }
        if (code == SDL_SCANCODE_KP_PERIOD) {
            return VK_DECIMAL;
        }
    }
    const std::uint32_t navigation = lookUp(kNavigationKeypad, code);
    return navigation != 0 ? navigation : lookUp(kFixedKeys, code);
}

// The keys that a desktop window also reports as typed characters although
// SDL's text input leaves them out.
std::uint32_t controlCharacterFor(std::uint32_t virtualKey) {
    switch (virtualKey) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    default:
        return 0;
    }
}

std::uint32_t modifierFlags(std::uint16_t keyModifiers) {
    std::uint32_t flags = 0;
    if ((keyModifiers & KMOD_SHIFT) != 0) {
        flags |= MK_SHIFT;
    }
    if ((keyModifiers & KMOD_CTRL) != 0) {
        flags |= MK_CONTROL;
    }
    return flags;
}

std::uint32_t buttonFlags(std::uint32_t sdlButtons) {
    std::uint32_t flags = 0;
    if ((sdlButtons & SDL_BUTTON_LMASK) != 0) {
        flags |= MK_LBUTTON;
    }
    if ((sdlButtons & SDL_BUTTON_RMASK) != 0) {
        flags |= MK_RBUTTON;
    }
    if ((sdlButtons & SDL_BUTTON_MMASK) != 0) {
        flags |= MK_MBUTTON;
    }
    return flags;
}

std::size_t translateKey(const SDL_KeyboardEvent& key, std::vector<Message>& out) {
    const std::uint32_t virtualKey = virtualKeyFor(key.keysym);
    if (virtualKey == 0) {
        return 0;
    }
    const bool pressed = key.state == SDL_PRESSED;
    const std::uint16_t mods = key.keysym.mod;
    const bool alt = (mods & KMOD_ALT) != 0;
    const bool ctrl = (mods & KMOD_CTRL) != 0;
    // On release of Alt its own bit is already gone, so the key itself counts.
    const bool system = virtualKey == VK_F10 || (!ctrl && (alt || virtualKey == VK_MENU));

    std::uint32_t lParam = 1;
    if (alt) {
        lParam |= KF_ALTDOWN_BIT;
    }
    if (!pressed) {
        lParam |= KF_REPEAT_BIT | KF_UP_BIT;
    } else if (key.repeat != 0) {
        lParam |= KF_REPEAT_BIT;
    }

    std::uint32_t message = 0;
    if (pressed) {
        message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    } else {
        message = system ? WM_SYSKEYUP : WM_KEYUP;
    }
    out.push_back({message, virtualKey, lParam});

    const std::uint32_t character = controlCharacterFor(virtualKey);
    if (pressed && !alt && character != 0) {
        out.push_back({WM_CHAR, character, lParam});
        return 2;
    }
    return 1;
}

std::size_t translateText(const SDL_TextInputEvent& text, const InputState& state,
                          std::vector<Message>& out) {
    if ((state.keyModifiers & KMOD_LALT) != 0 && (state.keyModifiers & KMOD_CTRL) == 0) {
        return 0;
    }
    const char* end = std::find(std::begin(text.text), std::end(text.text), '\0');
    const std::string_view utf8(text.text, static_cast<std::size_t>(end - text.text));
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        out.push_back({WM_CHAR, static_cast<std::uint32_t>(decodeUtf8(utf8, pos)), 1});
        ++count;
    }
    return count;
}

std::size_t translateButton(const SDL_MouseButtonEvent& button, const InputState& state,
                            std::vector<Message>& out) {
    std::uint32_t down = 0;
    std::uint32_t flag = 0;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        down = WM_LBUTTONDOWN;
        flag = MK_LBUTTON;
        break;
    case SDL_BUTTON_RIGHT:
        down = WM_RBUTTONDOWN;
        flag = MK_RBUTTON;
        break;
    case SDL_BUTTON_MIDDLE:
        down = WM_MBUTTONDOWN;
        flag = MK_MBUTTON;
        break;
    default:
        return 0; // side buttons have no message in the game
    }
    // The flags say what is held after the event, whether the caller read the
    // button state before or after SDL took the event from its queue.
    std::uint32_t flags = buttonFlags(state.mouseButtons) | modifierFlags(state.keyModifiers);
    std::uint32_t message = 0;
    if (button.state == SDL_PRESSED) {
        flags |= flag;
        // The down, up, double-click, up rhythm of a desktop window: every
        // second click of a run is the double click.
        const bool doubleClick = button.clicks >= 2 && button.clicks % 2 == 0;
        message = doubleClick ? down + 2 : down;
    } else {
        flags &= ~flag;
        message = down + 1;
    }
    out.push_back({message, flags, packPoint(button.x, button.y)});
    return 1;
}

// The message a window event stands for; message 0 when there is none.
Message windowMessageFor(Uint8 windowEvent) {
    switch (windowEvent) {
    case SDL_WINDOWEVENT_CLOSE:
        return {WM_CLOSE, 0, 0};
    case SDL_WINDOWEVENT_MINIMIZED:
        return {WM_SIZE, SIZE_MINIMIZED, 0};
    case SDL_WINDOWEVENT_MAXIMIZED:
        return {WM_SIZE, SIZE_MAXIMIZED, 0};
    case SDL_WINDOWEVENT_RESTORED:
        return {WM_SIZE, SIZE_RESTORED, 0};
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        return {WM_SETFOCUS, 0, 0};
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return {WM_KILLFOCUS, 0, 0};
    case SDL_WINDOWEVENT_EXPOSED:
        return {WM_PAINT, 0, 0};
    default:
        return {};
    }
}

std::size_t translateWindowEvent(const SDL_WindowEvent& window, std::vector<Message>& out) {
    const Message message = windowMessageFor(window.event);
    if (message.message == 0) {
        return 0;
    }
    out.push_back(message);
    return 1;
}

} // namespace

std::uint32_t virtualKeyFor(const SDL_Keysym& key) {
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) {
        return 'A' + static_cast<std::uint32_t>(key.sym - SDLK_a);
    }
    return virtualKeyForScancode(key.scancode, (key.mod & KMOD_NUM) != 0);
}

std::size_t translateEvent(const SDL_Event& event, const InputState& state,
                           std::vector<Message>& out) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return translateKey(event.key, out);
    case SDL_TEXTINPUT:
        return translateText(event.text, state, out);
    case SDL_MOUSEMOTION:
        out.push_back({WM_MOUSEMOVE,
                       buttonFlags(event.motion.state) | modifierFlags(state.keyModifiers),
                       packPoint(event.motion.x, event.motion.y)});
        return 1;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return translateButton(event.button, state, out);
    case SDL_WINDOWEVENT:
        return translateWindowEvent(event.window, out);
    // The window is told to close before SDL_QUIT comes for it, and the hint
    // set at window creation stops that second report; the termination
    // signals are the system layer's own. What remains is SDL's word that
    // the program must end (the Wayland display connection closed, the
    // session ends): no one is there to answer a question, so it ends in
    // order with exit code 0.
    case SDL_QUIT:
        out.push_back({WM_QUIT, 0, 0});
        return 1;
    default:
        return 0;
    }
}

} // namespace orv::platform
