#pragma once

// Internal to the system layer (it includes SDL): the translation of SDL
// events into the project's window messages. The window's message queue uses
// it; the system layer's tests drive it with synthesised events.

#include "engine/system/Messages.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace orv::platform {

/// What the translation needs to know beyond the event itself. Mouse-button
/// and text events carry no key or button state of their own, so the caller
/// passes the state SDL reports when the event is taken from its queue.
struct InputState {
    /// Held mouse buttons as SDL_GetMouseState reports them (SDL_BUTTON masks).
    std::uint32_t mouseButtons = 0;
    /// Held modifier keys as SDL_GetModState reports them (KMOD_ bits).
    std::uint16_t keyModifiers = 0;
};

/// Appends to `out` the window messages that `event` stands for, in the order
/// a desktop window would receive them, and returns how many it appended
/// (0 for events the game has no message for). Pure: reads nothing but its
/// arguments.
///
/// - Key press / release: WM_KEYDOWN / WM_KEYUP with the virtual-key code; as
///   WM_SYSKEYDOWN / WM_SYSKEYUP when Alt is held without Ctrl, for the Alt
///   keys themselves, and for F10. A press of Backspace, Tab, Enter or Escape
///   without Alt is followed by WM_CHAR 8, 9, 13 or 27. Keys without a code
///   give nothing.
/// - Text input: one WM_CHAR per code point of the UTF-8 text (malformed bytes
///   give U+FFFD); nothing while left Alt is held without Ctrl (right Alt may
///   be the AltGr shift that types characters).
/// - Mouse motion: WM_MOUSEMOVE; buttons: WM_xBUTTONDOWN / WM_xBUTTONUP, and
///   WM_xBUTTONDBLCLK for the second click of a run (every even click count).
///   wParam holds the MK_ flags after the event, lParam the position as
///   packPoint (window logical coordinates, possibly outside the window).
/// - SDL_QUIT gives WM_QUIT with exit code 0 (the program is ended from
///   outside: the display connection closed, the session ends).
/// - Window: close request gives WM_CLOSE; minimised / maximised /
///   restored give WM_SIZE with SIZE_MINIMIZED / SIZE_MAXIMIZED /
///   SIZE_RESTORED; focus gained / lost give WM_SETFOCUS / WM_KILLFOCUS;
///   exposed gives WM_PAINT.
std::size_t translateEvent(const SDL_Event& event, const InputState& state,
                           std::vector<Message>& out);

/// The virtual-key code of a key, or 0 when it has none. Letters follow the
/// keyboard layout (the key that types "a" is 'A'); every other key is taken
/// by its position. Keypad keys give VK_NUMPAD0.. with Num Lock on and the
/// navigation keys with it off.
[[nodiscard]] std::uint32_t virtualKeyFor(const SDL_Keysym& key);

} // namespace orv::platform
