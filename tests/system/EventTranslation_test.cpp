#include "engine/system/EventTranslation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace orv::platform {

void PrintTo(const Message& m, std::ostream* os) {
    *os << std::hex << "{0x" << m.message << ", 0x" << m.wParam << ", 0x" << m.lParam << "}";
}

namespace {

// Key-message lParam values: repeat count 1 plus the state bits.
constexpr std::uint32_t kPress = 1;
constexpr std::uint32_t kRepeat = 1 | KF_REPEAT_BIT;
constexpr std::uint32_t kRelease = 1 | KF_REPEAT_BIT | KF_UP_BIT;
constexpr std::uint32_t kAltPress = kPress | KF_ALTDOWN_BIT;
constexpr std::uint32_t kAltRelease = kRelease | KF_ALTDOWN_BIT;

SDL_Event key(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE,
              Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event down(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    return key(SDL_KEYDOWN, scancode, sym, mod);
}

SDL_Event up(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    return key(SDL_KEYUP, scancode, sym, mod);
}

SDL_Event text(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    return e;
}

SDL_Event motion(Sint32 x, Sint32 y, Uint32 buttons = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = buttons;
    return e;
}

SDL_Event button(Uint32 type, Uint8 which, Uint8 clicks, Sint32 x, Sint32 y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = which;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event windowEvent(SDL_WindowEventID id) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = static_cast<Uint8>(id);
    return e;
}

SDL_Event quitEvent() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    return e;
}

struct TranslationCase {
    std::string name;
    SDL_Event event;
    InputState state;
    std::vector<Message> expected;
};

std::ostream& operator<<(std::ostream& os, const TranslationCase& c) {
    return os << c.name;
}

const InputState kNoState{};
const InputState kLeftHeld{SDL_BUTTON_LMASK, KMOD_NONE};
const InputState kRightHeld{SDL_BUTTON_RMASK, KMOD_NONE};
const InputState kShiftCtrl{0, KMOD_LSHIFT | KMOD_RCTRL};
const InputState kLeftAlt{0, KMOD_LALT};
const InputState kRightAlt{0, KMOD_RALT};
const InputState kCtrlLeftAlt{0, KMOD_LCTRL | KMOD_LALT};

std::vector<TranslationCase> cases() {
    return {
        // Keys: letters follow the layout, the rest the position.
        {"LetterDown", down(SDL_SCANCODE_A, SDLK_a), kNoState, {{WM_KEYDOWN, 'A', kPress}}},
        {"LetterUp", up(SDL_SCANCODE_A, SDLK_a), kNoState, {{WM_KEYUP, 'A', kRelease}}},
        {"LetterRepeat",
         key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 1),
         kNoState,
         {{WM_KEYDOWN, 'A', kRepeat}}},
        {"LetterOfOtherLayout",
         down(SDL_SCANCODE_A, SDLK_q),
         kNoState,
         {{WM_KEYDOWN, 'Q', kPress}}},
        {"LetterWithoutLatinKeycode",
         down(SDL_SCANCODE_S, 0x0444),
         kNoState,
         {{WM_KEYDOWN, 'S', kPress}}},
        {"DigitRow", down(SDL_SCANCODE_0, SDLK_0), kNoState, {{WM_KEYDOWN, '0', kPress}}},
        {"DigitRowOfOtherLayout",
         down(SDL_SCANCODE_1, SDLK_AMPERSAND),
         kNoState,
         {{WM_KEYDOWN, '1', kPress}}},
        {"FunctionKey", down(SDL_SCANCODE_F1, SDLK_F1), kNoState, {{WM_KEYDOWN, VK_F1, kPress}}},
        {"Arrow", down(SDL_SCANCODE_LEFT, SDLK_LEFT), kNoState, {{WM_KEYDOWN, VK_LEFT, kPress}}},
        {"Delete",
         down(SDL_SCANCODE_DELETE, SDLK_DELETE),
         kNoState,
         {{WM_KEYDOWN, VK_DELETE, kPress}}},
        {"Space", down(SDL_SCANCODE_SPACE, SDLK_SPACE), kNoState, {{WM_KEYDOWN, VK_SPACE, kPress}}},
        {"KeypadDigitWithNumLock",
         down(SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM),
         kNoState,
         {{WM_KEYDOWN, VK_NUMPAD0 + 7, kPress}}},
        {"KeypadDigitWithoutNumLock",
         down(SDL_SCANCODE_KP_7, SDLK_KP_7),
         kNoState,
         {{WM_KEYDOWN, VK_HOME, kPress}}},
        {"RightShiftIsShift",
         down(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_RSHIFT),
         kNoState,
         {{WM_KEYDOWN, VK_SHIFT, kPress}}},
        {"LeftCtrlIsControl",
         down(SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_LCTRL),
         kNoState,
         {{WM_KEYDOWN, VK_CONTROL, kPress}}},
        {"CtrlLetterTypesNothing",
         down(SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL),
         kNoState,
         {{WM_KEYDOWN, 'C', kPress}}},
        {"KeyWithoutCode", down(SDL_SCANCODE_MUTE, SDLK_MUTE), kNoState, {}},

        // The four keys that also type a control character.
        {"BackspaceTypes8",
         down(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE),
         kNoState,
         {{WM_KEYDOWN, VK_BACK, kPress}, {WM_CHAR, 8, kPress}}},
        {"TabTypes9",
         down(SDL_SCANCODE_TAB, SDLK_TAB),
         kNoState,
         {{WM_KEYDOWN, VK_TAB, kPress}, {WM_CHAR, 9, kPress}}},
        {"EnterTypes13",
         down(SDL_SCANCODE_RETURN, SDLK_RETURN),
         kNoState,
         {{WM_KEYDOWN, VK_RETURN, kPress}, {WM_CHAR, 13, kPress}}},
        {"KeypadEnterTypes13",
         down(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER),
         kNoState,
         {{WM_KEYDOWN, VK_RETURN, kPress}, {WM_CHAR, 13, kPress}}},
        {"EscapeTypes27",
         down(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE),
         kNoState,
         {{WM_KEYDOWN, VK_ESCAPE, kPress}, {WM_CHAR, 27, kPress}}},
        {"HeldBackspaceRepeatsTheCharacter",
         key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, KMOD_NONE, 1),
         kNoState,
         {{WM_KEYDOWN, VK_BACK, kRepeat}, {WM_CHAR, 8, kRepeat}}},
        {"EnterReleaseTypesNothing",
         up(SDL_SCANCODE_RETURN, SDLK_RETURN),
         kNoState,
         {{WM_KEYUP, VK_RETURN, kRelease}}},

        // Alt and F10 are system keys.
        {"AltEnter",
         down(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT),
         kNoState,
         {{WM_SYSKEYDOWN, VK_RETURN, kAltPress}}},
        {"AltEnterRelease",
         up(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_RALT),
         kNoState,
         {{WM_SYSKEYUP, VK_RETURN, kAltRelease}}},
        {"AltLetter",
         down(SDL_SCANCODE_X, SDLK_x, KMOD_LALT),
         kNoState,
         {{WM_SYSKEYDOWN, 'X', kAltPress}}},
        {"AltKeyDown",
         down(SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT),
         kNoState,
         {{WM_SYSKEYDOWN, VK_MENU, kAltPress}}},
        {"AltKeyUp",
         up(SDL_SCANCODE_LALT, SDLK_LALT),
         kNoState,
         {{WM_SYSKEYUP, VK_MENU, kRelease}}},
        {"F10Down", down(SDL_SCANCODE_F10, SDLK_F10), kNoState, {{WM_SYSKEYDOWN, VK_F10, kPress}}},
        {"F10Up", up(SDL_SCANCODE_F10, SDLK_F10), kNoState, {{WM_SYSKEYUP, VK_F10, kRelease}}},
        {"CtrlAltIsNoSystemKey",
         down(SDL_SCANCODE_Q, SDLK_q, KMOD_LCTRL | KMOD_RALT),
         kNoState,
         {{WM_KEYDOWN, 'Q', kAltPress}}},
        {"EnterReleasedAfterAlt",
         up(SDL_SCANCODE_RETURN, SDLK_RETURN),
         kLeftAlt,
         {{WM_KEYUP, VK_RETURN, kRelease}}},

        // Typed text: one message per code point.
        {"TypedLetter", text("a"), kNoState, {{WM_CHAR, 'a', 1}}},
        {"TypedNonAscii",
         text("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
         kNoState,
         {{WM_CHAR, 0xE9, 1}, {WM_CHAR, 0x20AC, 1}, {WM_CHAR, 0x1F600, 1}}},
        {"TypedMalformed", text("\xC3z"), kNoState, {{WM_CHAR, 0xFFFD, 1}, {WM_CHAR, 'z', 1}}},
        {"TypedWithLeftAlt", text("x"), kLeftAlt, {}},
        {"TypedWithAltGr", text("@"), kRightAlt, {{WM_CHAR, '@', 1}}},
        {"TypedWithCtrlAlt", text("@"), kCtrlLeftAlt, {{WM_CHAR, '@', 1}}},
        {"EmptyText", text(""), kNoState, {}},

        // Mouse.
        {"Move", motion(10, 20), kNoState, {{WM_MOUSEMOVE, 0, packPoint(10, 20)}}},
        {"MoveDragging",
         motion(10, 20, SDL_BUTTON_LMASK | SDL_BUTTON_MMASK),
         kShiftCtrl,
         {{WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL, packPoint(10, 20)}}},
        {"MoveLeftOfWindow", motion(-6, 599), kNoState, {{WM_MOUSEMOVE, 0, (599U << 16) | 65530U}}},
        {"LeftDown",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 7),
         kNoState,
         {{WM_LBUTTONDOWN, MK_LBUTTON, packPoint(5, 7)}}},
        {"LeftDownStateAlreadyRead",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 7),
         kLeftHeld,
         {{WM_LBUTTONDOWN, MK_LBUTTON, packPoint(5, 7)}}},
        {"LeftUp",
         button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 5, 7),
         kLeftHeld,
         {{WM_LBUTTONUP, 0, packPoint(5, 7)}}},
        {"LeftDoubleClick",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 5, 7),
         kNoState,
         {{WM_LBUTTONDBLCLK, MK_LBUTTON, packPoint(5, 7)}}},
        {"ThirdClickIsPlain",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 5, 7),
         kNoState,
         {{WM_LBUTTONDOWN, MK_LBUTTON, packPoint(5, 7)}}},
        {"FourthClickIsDouble",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 4, 5, 7),
         kNoState,
         {{WM_LBUTTONDBLCLK, MK_LBUTTON, packPoint(5, 7)}}},
        {"SecondClickReleaseIsUp",
         button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2, 5, 7),
         kNoState,
         {{WM_LBUTTONUP, 0, packPoint(5, 7)}}},
        {"LeftDownWhileRightHeld",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 7),
         kRightHeld,
         {{WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, packPoint(5, 7)}}},
        {"LeftDownWithShiftCtrl",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 7),
         kShiftCtrl,
         {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, packPoint(5, 7)}}},
        {"RightDown",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 800, 600),
         kNoState,
         {{WM_RBUTTONDOWN, MK_RBUTTON, packPoint(800, 600)}}},
        {"RightDoubleClick",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, 1, 2),
         kNoState,
         {{WM_RBUTTONDBLCLK, MK_RBUTTON, packPoint(1, 2)}}},
        {"RightUp",
         button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 1, 2),
         kRightHeld,
         {{WM_RBUTTONUP, 0, packPoint(1, 2)}}},
        {"MiddleDown",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 1, 2),
         kNoState,
         {{WM_MBUTTONDOWN, MK_MBUTTON, packPoint(1, 2)}}},
        {"MiddleDoubleClick",
         button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2, 1, 2),
         kNoState,
         {{WM_MBUTTONDBLCLK, MK_MBUTTON, packPoint(1, 2)}}},
        {"MiddleUp",
         button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 1, 2),
         kNoState,
         {{WM_MBUTTONUP, 0, packPoint(1, 2)}}},
        {"SideButtonIgnored", button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1, 2), kNoState, {}},

        // Window.
        {"CloseRequest", windowEvent(SDL_WINDOWEVENT_CLOSE), kNoState, {{WM_CLOSE, 0, 0}}},
        {"DesktopEndsTheProgram", quitEvent(), kNoState, {{WM_QUIT, 0, 0}}},
        {"Minimised",
         windowEvent(SDL_WINDOWEVENT_MINIMIZED),
         kNoState,
         {{WM_SIZE, SIZE_MINIMIZED, 0}}},
        {"Maximised",
         windowEvent(SDL_WINDOWEVENT_MAXIMIZED),
         kNoState,
         {{WM_SIZE, SIZE_MAXIMIZED, 0}}},
        {"Restored",
         windowEvent(SDL_WINDOWEVENT_RESTORED),
         kNoState,
         {{WM_SIZE, SIZE_RESTORED, 0}}},
        {"FocusGained", windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), kNoState, {{WM_SETFOCUS, 0, 0}}},
        {"FocusLost", windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), kNoState, {{WM_KILLFOCUS, 0, 0}}},
        {"Exposed", windowEvent(SDL_WINDOWEVENT_EXPOSED), kNoState, {{WM_PAINT, 0, 0}}},
        {"MovedIgnored", windowEvent(SDL_WINDOWEVENT_MOVED), kNoState, {}},
    };
}

class EventTranslation : public testing::TestWithParam<TranslationCase> {};

TEST_P(EventTranslation, GivesTheDesktopMessages) {
    const TranslationCase& c = GetParam();
    // Messages already in the output stay; the count is of those appended.
    std::vector<Message> out{{WM_PAINT, 1, 2}};
    const std::size_t count = translateEvent(c.event, c.state, out);
    ASSERT_EQ(count, c.expected.size());
    ASSERT_EQ(out.front(), (Message{WM_PAINT, 1, 2}));
    EXPECT_EQ(std::vector<Message>(out.begin() + 1, out.end()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, EventTranslation, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<TranslationCase>& param) {
                             return param.param.name;
                         });

TEST(EventTranslationText, LongestTextGivesEveryCodePoint) {
    // SDL's text event holds up to 31 bytes: 31 ASCII letters.
    const std::string letters(31, 'k');
    std::vector<Message> out;
    EXPECT_EQ(translateEvent(text(letters.c_str()), kNoState, out), 31U);
    EXPECT_EQ(out.back(), (Message{WM_CHAR, 'k', 1}));
}

TEST(PackedPoint, CutsToSixteenBitsAndReadsBackUnsigned) {
    EXPECT_EQ(packPoint(800, 600), 800U | (600U << 16));
    EXPECT_EQ(pointX(packPoint(-6, -1)), 65530);
    EXPECT_EQ(pointY(packPoint(-6, -1)), 65535);
    EXPECT_EQ(pointX(packPoint(70000, 3)), 70000 - 65536);
}

} // namespace
} // namespace orv::platform
