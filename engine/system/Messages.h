#pragma once

// The window message record and its numbers. The game's tables and data files
// (key codes such as a button's "firekey" values) are written in the classic
// desktop message numbering, so the project keeps those numbers as its own
// constants; the system layer translates its native events into them. This
// header is platform-neutral: any folder may include it.

#include <cstdint>

namespace orv::platform {

/// One window message: what happened (`message`, a WM_ number) and its two
/// arguments. Keys carry their virtual-key code (VK_) in `wParam`; WM_CHAR
/// carries one Unicode code point in `wParam`; mouse messages carry the held
/// buttons and keys (MK_ flags) in `wParam` and the pointer position in
/// `lParam` (see packPoint).
struct Message {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;

    friend bool operator==(const Message&, const Message&) = default;
};

/// Packs a position in window client pixels as mouse messages carry it: x in
/// the low 16 bits, y in the high 16 bits, each cut to 16 bits, so -6 arrives
/// as 65530.
[[nodiscard]] constexpr std::uint32_t packPoint(int x, int y) {
    return (static_cast<std::uint32_t>(x) & 0xFFFFU) |
           ((static_cast<std::uint32_t>(y) & 0xFFFFU) << 16U);
}
/// The low 16 bits of a packed position (0..65535; not sign-extended).
[[nodiscard]] constexpr int pointX(std::uint32_t lParam) {
    return static_cast<int>(lParam & 0xFFFFU);
}
/// The high 16 bits of a packed position (0..65535; not sign-extended).
[[nodiscard]] constexpr int pointY(std::uint32_t lParam) {
    return static_cast<int>(lParam >> 16U);
}

// Message numbers.
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_SIZE = 0x0005; ///< wParam: a SIZE_ value
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012; ///< wParam: the exit code
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_DEADCHAR = 0x0103;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112; ///< wParam: an SC_ value
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
/// The mouse messages form the range WM_MOUSEFIRST..WM_MOUSELAST.
inline constexpr std::uint32_t WM_MOUSEFIRST = WM_MOUSEMOVE;
inline constexpr std::uint32_t WM_MOUSELAST = WM_MBUTTONDBLCLK;

// WM_SIZE kinds.
inline constexpr std::uint32_t SIZE_RESTORED = 0;
inline constexpr std::uint32_t SIZE_MINIMIZED = 1;
inline constexpr std::uint32_t SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND commands.
inline constexpr std::uint32_t SC_MINIMIZE = 0xF020;
inline constexpr std::uint32_t SC_KEYMENU = 0xF100;

// Mouse-message flags in wParam: the buttons and keys held after the event.
inline constexpr std::uint32_t MK_LBUTTON = 0x0001;
inline constexpr std::uint32_t MK_RBUTTON = 0x0002;
inline constexpr std::uint32_t MK_SHIFT = 0x0004;
inline constexpr std::uint32_t MK_CONTROL = 0x0008;
inline constexpr std::uint32_t MK_MBUTTON = 0x0010;

// Key-message lParam bits (the low 16 bits hold the repeat count, always 1).
inline constexpr std::uint32_t KF_ALTDOWN_BIT = 1U << 29U; ///< Alt held
inline constexpr std::uint32_t KF_REPEAT_BIT = 1U << 30U;  ///< key was down before
inline constexpr std::uint32_t KF_UP_BIT = 1U << 31U;      ///< key is being released

// Virtual-key codes. Letters are their upper-case ASCII code ('A' = 0x41) and
// digits of the main row their ASCII code ('0' = 0x30).
inline constexpr std::uint32_t VK_LBUTTON = 0x01;
inline constexpr std::uint32_t VK_RBUTTON = 0x02;
inline constexpr std::uint32_t VK_MBUTTON = 0x04;
inline constexpr std::uint32_t VK_BACK = 0x08;
inline constexpr std::uint32_t VK_TAB = 0x09;
inline constexpr std::uint32_t VK_CLEAR = 0x0C;
inline constexpr std::uint32_t VK_RETURN = 0x0D;
inline constexpr std::uint32_t VK_SHIFT = 0x10;
inline constexpr std::uint32_t VK_CONTROL = 0x11;
inline constexpr std::uint32_t VK_MENU = 0x12; ///< Alt
inline constexpr std::uint32_t VK_PAUSE = 0x13;
inline constexpr std::uint32_t VK_CAPITAL = 0x14;
inline constexpr std::uint32_t VK_ESCAPE = 0x1B;
inline constexpr std::uint32_t VK_SPACE = 0x20;
inline constexpr std::uint32_t VK_PRIOR = 0x21; ///< Page Up
inline constexpr std::uint32_t VK_NEXT = 0x22;  ///< Page Down
inline constexpr std::uint32_t VK_END = 0x23;
inline constexpr std::uint32_t VK_HOME = 0x24;
inline constexpr std::uint32_t VK_LEFT = 0x25;
inline constexpr std::uint32_t VK_UP = 0x26;
inline constexpr std::uint32_t VK_RIGHT = 0x27;
inline constexpr std::uint32_t VK_DOWN = 0x28;
inline constexpr std::uint32_t VK_SNAPSHOT = 0x2C;
inline constexpr std::uint32_t VK_INSERT = 0x2D;
inline constexpr std::uint32_t VK_DELETE = 0x2E;
inline constexpr std::uint32_t VK_LWIN = 0x5B;
inline constexpr std::uint32_t VK_RWIN = 0x5C;
inline constexpr std::uint32_t VK_APPS = 0x5D;
inline constexpr std::uint32_t VK_NUMPAD0 = 0x60; ///< VK_NUMPAD0 + n for keypad digit n
inline constexpr std::uint32_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint32_t VK_ADD = 0x6B;
inline constexpr std::uint32_t VK_SEPARATOR = 0x6C;
inline constexpr std::uint32_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint32_t VK_DECIMAL = 0x6E;
inline constexpr std::uint32_t VK_DIVIDE = 0x6F;
inline constexpr std::uint32_t VK_F1 = 0x70; ///< VK_F1 + n - 1 for Fn, up to F24
inline constexpr std::uint32_t VK_F10 = 0x79;
inline constexpr std::uint32_t VK_F12 = 0x7B;
inline constexpr std::uint32_t VK_F24 = 0x87;
inline constexpr std::uint32_t VK_NUMLOCK = 0x90;
inline constexpr std::uint32_t VK_SCROLL = 0x91;
inline constexpr std::uint32_t VK_OEM_1 = 0xBA;      ///< ";:" on a US keyboard
inline constexpr std::uint32_t VK_OEM_PLUS = 0xBB;   ///< "=+"
inline constexpr std::uint32_t VK_OEM_COMMA = 0xBC;  ///< ",<"
inline constexpr std::uint32_t VK_OEM_MINUS = 0xBD;  ///< "-_"
inline constexpr std::uint32_t VK_OEM_PERIOD = 0xBE; ///< ".>"
inline constexpr std::uint32_t VK_OEM_2 = 0xBF;      ///< "/?"
inline constexpr std::uint32_t VK_OEM_3 = 0xC0;      ///< "`~"
inline constexpr std::uint32_t VK_OEM_4 = 0xDB;      ///< "[{"
inline constexpr std::uint32_t VK_OEM_5 = 0xDC;      ///< "\|"
inline constexpr std::uint32_t VK_OEM_6 = 0xDD;      ///< "]}"
inline constexpr std::uint32_t VK_OEM_7 = 0xDE;      ///< "'""
inline constexpr std::uint32_t VK_OEM_102 = 0xE2;    ///< the extra key left of Z

} // namespace orv::platform
