// Text input: building from a definition, editing tables (typing, Backspace,
// Delete, arrows, Home, End, Shift selections), the character and width
// limits, leading blanks, clipboard copy, cut and paste, the mouse (cursor
// placement, drag and word selection, focus), the cursor sprite's blinking
// and place, the selection's drawing, and the callbacks.

#include "engine/gui/InputLabel.h"

#include "engine/core/GameTree.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/SceneClasses.h"
#include "engine/system/Messages.h"
#include "tests/scene/ScenePixels.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace orv {
namespace {

using namespace platform;

// A font of fixed pitch: every printable ASCII character is 10 pixels wide
// and 12 high; nothing else has a glyph.
class PitchFont : public Font {
public:
    static constexpr int kPitch = 10;
    void drawLines(Graphics& /*graphics*/, const std::vector<TextLine>& /*lines*/,
                   const LayerColors& /*colors*/) const override {}
    [[nodiscard]] int getPadding() const override { return 0; }
    void layoutText(std::wstring_view /*text*/, TextLayout& /*layout*/, int /*start*/,
                    int /*count*/) const override {}
    [[nodiscard]] int measureText(std::wstring_view text, int start, int count,
                                  TextExtent /*extent*/) const override {
        const int length = static_cast<int>(text.size());
        if (start < 0 || start >= length) {
            return 0;
        }
        const int n = count < 0 ? length - start : std::min(count, length - start);
        return n * kPitch;
    }
    [[nodiscard]] bool hasGlyph(wchar_t character) const override {
        return character >= L' ' && character <= L'~';
    }
    [[nodiscard]] int getHeight() const override { return 12; }
    [[nodiscard]] int getBaseline() const override { return 10; }
    [[nodiscard]] int getLineHeight() const override { return 12; }
    [[nodiscard]] std::uint32_t getColor() const override { return 0xFFFFFFFF; }
    [[nodiscard]] bool isTintedMask() const override { return false; }
};

// Fields at window (100, 50), their label at (5, 4): boundary i of the text
// lies at window x 105 + 10 i.
constexpr const char* kInputDefinitions = R"(<Root>
  <InputLabel id="name" name="NAME" x="100" y="50" width="200" height="20" maxlength="10"
              text="hello">
    <Label id="label" x="5" y="4"/>
  </InputLabel>
  <InputLabel id="free" name="FREE" x="100" y="50" width="200" height="20">
    <Label id="label" x="5" y="4"/>
  </InputLabel>
  <InputLabel id="strip" name="STRIP" x="100" y="50" width="200" height="20" stripspaces="true">
    <Label id="label" x="5" y="4"/>
  </InputLabel>
  <InputLabel id="narrow" name="NARROW" x="100" y="50" width="200" height="20" maxwidth="100">
    <Label id="label" x="5" y="4"/>
  </InputLabel>
  <InputLabel id="styled" name="STYLED" width="200" height="20" selcolor="0xFF0000" selalpha="64"
              cursorx="-1" cursory="2" durationon="300">
    <Label id="label" x="5" y="4"/>
  </InputLabel>
  <InputLabel id="blinks" name="BLINKS" durationon="300" durationoff="100">
    <Label id="label"/>
  </InputLabel>
  <InputLabel id="nolabel" name="NOLABEL" width="200" height="20"/>
</Root>)";

constexpr int kRowY = 60; // inside the fields vertically

class InputLabelTest : public testing::Test {
public:
    void SetUp() override {
        InputHandler::clearKeyState();
        registerSceneClasses();
        registerGuiClasses();
        ASSERT_TRUE(definitions->loadText(kInputDefinitions));
    }
    void TearDown() override {
        InputHandler::clearKeyState();
        GameWindow::setInstance(nullptr);
        ObjectFactoryContainer::destroyInstance();
    }

    // Built, given the test font and focused, and reached through an input
    // handler as the game reaches it.
    [[nodiscard]] RefPtr<InputLabel> make(const char* id, bool focused = true) {
        RefPtr<InputLabel> input(
            kindCast<InputLabel>(createFromDefinition(definitions->getNode(id))));
        if (input) {
            input->getLabel()->setFont(font.get());
            input->setText(input->getText(), true);
            input->setFocus(focused);
            handler->getListenerContainer().addListener(input.get());
        }
        return input;
    }

    void send(std::uint32_t message, std::uint32_t wParam) {
        handler->onWindowMessage(message, wParam, 0);
        handler->run(16);
    }
    void down(std::uint32_t key) { send(WM_KEYDOWN, key); }
    void up(std::uint32_t key) { send(WM_KEYUP, key); }
    void press(std::uint32_t key) {
        down(key);
        up(key);
    }
    void type(std::wstring_view text) {
        for (const wchar_t c : text) {
            send(WM_CHAR, static_cast<std::uint32_t>(c));
        }
    }
    void shiftPress(std::uint32_t key) {
        down(VK_SHIFT);
        press(key);
        up(VK_SHIFT);
    }
    void withCtrl(std::uint32_t key) {
        down(VK_CONTROL);
        press(key);
        up(VK_CONTROL);
    }
    // A window whose clipboard works; false (the test is skipped) when the
    // video driver has none.
    bool openWindow() {
        GameWindow* window = createGameWindow("Input test", 800, 600, false, 4, 0);
        return window != nullptr && window->getHandle() != nullptr &&
               window->getHandle()->setClipboardText(L"probe") &&
               window->getHandle()->getClipboardText() == L"probe";
    }

    RefPtr<PropertyStore> definitions{new PropertyStore()};
    RefPtr<PitchFont> font{new PitchFont()};
    RefPtr<InputHandler> handler{new InputHandler()};
    test::LogCapture log;
};

TEST_F(InputLabelTest, BuiltFromADefinitionAroundItsLabel) {
    const RefPtr<InputLabel> name = make("name", false);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->getText(), L"hello");
    EXPECT_EQ(name->getLabel()->getText(), L"hello");
    EXPECT_EQ(name->getLabel()->getParent(), name.get());
    EXPECT_EQ(name->getMaxLength(), 10);
    EXPECT_EQ(name->getWidth(), 200);
    EXPECT_EQ(name->getCursorSprite(), nullptr);
    EXPECT_EQ(name->getInterface(iInputListener::classRecord),
              static_cast<iInputListener*>(name.get()));
    EXPECT_TRUE(name->isKindOf(iGuiMethod::classRecord));

    EXPECT_EQ(make("nolabel"), nullptr) << "an input needs its label";
    EXPECT_TRUE(log.contains("NOLABEL"));

    // "durationon" alone sets both phases.
    const RefPtr<InputLabel> styled = make("styled");
    EXPECT_EQ(styled->getBlinkOn(), 300);
    EXPECT_EQ(styled->getBlinkOff(), 300);
    const RefPtr<InputLabel> blinks = make("blinks");
    EXPECT_EQ(blinks->getBlinkOn(), 300);
    EXPECT_EQ(blinks->getBlinkOff(), 100);
}

// One editing case: a field, a starting text and cursor, the actions, and
// the text, cursor and selection they leave.
struct EditCase {
    const char* name;
    const char* field;
    std::wstring start;
    int cursor;
    std::function<void(InputLabelTest&)> act;
    std::wstring text;
    int cursorAfter;
    int selStart;
    int selEnd;
};

TEST_F(InputLabelTest, EditingTable) {
    using T = InputLabelTest;
    const std::vector<EditCase> cases{
        {"typing into an empty field", "free", L"", 0, [](T& t) { t.type(L"abc"); }, L"abc", 3, 3,
         3},
        {"typing in the middle", "free", L"helo", 3, [](T& t) { t.type(L"l"); }, L"hello", 4, 4, 4},
        {"a character without a glyph", "free", L"ab", 2, [](T& t) { t.type(L"\u00E9\x1B"); },
         L"ab", 2, 2, 2},
        {"Backspace", "free", L"hello", 3, [](T& t) { t.type(L"\b"); }, L"helo", 2, 2, 2},
        {"Backspace at the start", "free", L"hello", 0, [](T& t) { t.type(L"\b"); }, L"hello", 0, 0,
         0},
        {"Delete", "free", L"hello", 1, [](T& t) { t.press(VK_DELETE); }, L"hllo", 1, 1, 1},
        {"Delete at the end", "free", L"hello", 5, [](T& t) { t.press(VK_DELETE); }, L"hello", 5, 5,
         5},
        {"Left and Right", "free", L"hello", 2,
         [](T& t) {
             t.press(VK_LEFT);
             t.press(VK_LEFT);
             t.press(VK_LEFT);
             t.press(VK_RIGHT);
         },
         L"hello", 1, 1, 1},
        {"a held Left repeats with the key", "free", L"hello", 5,
         [](T& t) {
             t.down(VK_LEFT);
             t.down(VK_LEFT);
             t.up(VK_LEFT);
         },
         L"hello", 3, 3, 3},
        {"Home and End", "free", L"hello", 2,
         [](T& t) {
             t.press(VK_HOME);
             t.type(L"<");
             t.press(VK_END);
             t.type(L">");
         },
         L"<hello>", 7, 7, 7},
        {"Shift+Right three times, then Shift+Left", "free", L"abcdefg", 2,
         [](T& t) {
             auto& e = t;
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_LEFT);
         },
         L"abcdefg", 4, 2, 4},
        {"Shift+Left past the anchor turns the selection", "free", L"abcdefg", 3,
         [](T& t) {
             auto& e = t;
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_LEFT);
             e.shiftPress(VK_LEFT);
         },
         L"abcdefg", 2, 2, 3},
        {"Shift+Home selects back to the start", "free", L"abcdefg", 4,
         [](T& t) { t.shiftPress(VK_HOME); }, L"abcdefg", 0, 0, 4},
        {"typing replaces the selection", "free", L"abcdefg", 2,
         [](T& t) {
             auto& e = t;
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_RIGHT);
             t.type(L"X");
         },
         L"abXfg", 3, 3, 3},
        {"Backspace removes the selection", "free", L"abcdefg", 1,
         [](T& t) {
             auto& e = t;
             e.shiftPress(VK_RIGHT);
             e.shiftPress(VK_RIGHT);
             t.type(L"\b");
         },
         L"adefg", 1, 1, 1},
        {"Delete removes the selection", "free", L"abcdefg", 6,
         [](T& t) {
             t.shiftPress(VK_LEFT);
             t.press(VK_DELETE);
         },
         L"abcdeg", 5, 5, 5},
        {"a full field takes no more characters", "name", L"0123456789", 10,
         [](T& t) { t.type(L"x"); }, L"0123456789", 10, 10, 10},
        {"a selection replaced by one character, then no more", "name", L"0123456789", 10,
         [](T& t) {
             t.shiftPress(VK_LEFT);
             t.type(L"x");
             t.type(L"y");
         },
         L"012345678x", 10, 10, 10},
        {"leading blanks never stay", "strip", L"", 0, [](T& t) { t.type(L"  a b"); }, L"a b", 3, 3,
         3},
        {"a blank typed before the text goes", "strip", L"ab", 0, [](T& t) { t.type(L" "); }, L"ab",
         1, 1, 1},
        {"a width limit of 100 pixels: ten characters", "narrow", L"", 0,
         [](T& t) { t.type(L"abcdefghijkl"); }, L"abcdefghij", 10, 10, 10},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RefPtr<InputLabel> input = make(c.field);
        input->setText(c.start, false);
        input->moveCursor(c.cursor, false, true);
        c.act(*this);
        EXPECT_EQ(input->getText(), c.text);
        EXPECT_EQ(input->getLabel()->getText(), c.text);
        EXPECT_EQ(input->getCursor(), c.cursorAfter);
        EXPECT_EQ(input->getSelectionStart(), c.selStart);
        EXPECT_EQ(input->getSelectionEnd(), c.selEnd);
        handler->removeListener(input.get());
    }
}

TEST_F(InputLabelTest, ReplacingASelectionWithinTheCharacterLimitWorks) {
    const RefPtr<InputLabel> name = make("name");
    name->setText(L"0123456789", true);
    name->moveCursor(3, false, true);
    name->moveCursor(6, true, true);
    EXPECT_EQ(name->selectedText(), L"345");
    type(L"x");
    EXPECT_EQ(name->getText(), L"012x6789");
    EXPECT_EQ(name->getCursor(), 4);
}

TEST_F(InputLabelTest, SetTextAppliesTheWidthLimitButNotTheCharacterCount) {
    const RefPtr<InputLabel> narrow = make("narrow");
    narrow->setText(L"abcdefghijkl", true);
    EXPECT_EQ(narrow->getText(), L"abcdefghij");
    EXPECT_EQ(narrow->getCursor(), 10);

    const RefPtr<InputLabel> name = make("name");
    name->setText(L"0123456789abc", true);
    EXPECT_EQ(name->getText(), L"0123456789abc");

    // Leading blanks go, each moving the cursor one left, not below 0.
    const RefPtr<InputLabel> strip = make("strip");
    strip->setText(L"ab", true);
    strip->moveCursor(1, false, true);
    strip->setText(L"   ab", false);
    EXPECT_EQ(strip->getText(), L"ab");
    EXPECT_EQ(strip->getCursor(), 0);

    // A shorter text never leaves the selection past its end.
    const RefPtr<InputLabel> free = make("free");
    free->setText(L"abcdef", true);
    free->moveCursor(2, true, true);
    free->setText(L"ab", false);
    EXPECT_LE(free->getSelectionEnd(), 2);
    EXPECT_EQ(free->selectedText(), L"");
}

TEST_F(InputLabelTest, ClipboardCopyCutAndPaste) {
    if (!openWindow()) {
        GTEST_SKIP() << "the video driver has no clipboard";
    }
    const RefPtr<InputLabel> free = make("free");
    free->setText(L"hello world", true);

    withCtrl('C');
    EXPECT_EQ(getClipboardText(), L"hello world") << "nothing selected: the whole text";
    free->moveCursor(0, false, true);
    free->moveCursor(5, true, true);
    withCtrl('C');
    EXPECT_EQ(getClipboardText(), L"hello");
    press('C');
    EXPECT_EQ(free->getText(), L"hello world") << "C without Ctrl does nothing here";

    // Pasted line breaks and tabs go: the field holds one line.
    setClipboardText(L"one\r\ntwo\tthree\n");
    free->moveCursor(11, false, true);
    withCtrl('V');
    EXPECT_EQ(free->getText(), L"hello worldonetwothree");
    EXPECT_EQ(free->getCursor(), 22);

    // Cut without a selection takes everything.
    withCtrl('X');
    EXPECT_EQ(getClipboardText(), L"hello worldonetwothree");
    EXPECT_EQ(free->getText(), L"");

    // A paste over the limits is refused as a whole.
    const RefPtr<InputLabel> narrow = make("narrow");
    narrow->setText(L"abc", true);
    setClipboardText(L"12345678");
    withCtrl('V');
    EXPECT_EQ(narrow->getText(), L"abc") << "110 pixels would pass 100";
    setClipboardText(L"1234567");
    withCtrl('V');
    EXPECT_EQ(narrow->getText(), L"abc1234567");

    const RefPtr<InputLabel> name = make("name");
    name->setText(L"0123456789", true);
    setClipboardText(L"x");
    withCtrl('V');
    EXPECT_EQ(name->getText(), L"0123456789");

    // An empty clipboard pastes nothing and keeps the selection.
    name->moveCursor(0, false, true);
    name->moveCursor(3, true, true);
    setClipboardText(L"");
    withCtrl('V');
    EXPECT_EQ(name->getText(), L"0123456789");
    EXPECT_EQ(name->selectedText(), L"012");
}

TEST_F(InputLabelTest, WithoutAWindowTheClipboardKeysLeaveTheTextAlone) {
    const RefPtr<InputLabel> free = make("free");
    free->setText(L"keep me", true);
    withCtrl('X');
    EXPECT_EQ(free->getText(), L"keep me") << "a cut that cannot reach the clipboard loses nothing";
    withCtrl('V');
    EXPECT_EQ(free->getText(), L"keep me");
}

TEST_F(InputLabelTest, KeysAndCharactersNeedTheFocus) {
    const RefPtr<InputLabel> free = make("free", false);
    EXPECT_FALSE(free->onKeyDown(static_cast<int>(VK_LEFT)));
    EXPECT_FALSE(free->onChar('a'));
    EXPECT_FALSE(free->onKeyUp(static_cast<int>(VK_RETURN)));
    free->setFocus(true);
    EXPECT_TRUE(free->onKeyDown(static_cast<int>(VK_F1))) << "a focused field takes every key";
    EXPECT_TRUE(free->onChar(0x1F600)) << "and every character, drawable or not";
    EXPECT_FALSE(free->onKeyUp(static_cast<int>(VK_F1)));
    EXPECT_EQ(free->getText(), L"");

    free->setAllowedCharacters(L"0123456789");
    type(L"a1b2");
    EXPECT_EQ(free->getText(), L"12");
}

// Counts the calls of each callback.
struct Calls {
    int changed = 0;
    int enter = 0;
    int escape = 0;
    int tab = 0;
    InputLabel* last = nullptr;
    static int onChange(void* c, void* a) {
        ++static_cast<Calls*>(c)->changed;
        static_cast<Calls*>(c)->last = static_cast<InputLabel*>(a);
        return 0;
    }
    static int onEnter(void* c, void* /*a*/) { return ++static_cast<Calls*>(c)->enter; }
    static int onEscape(void* c, void* /*a*/) { return ++static_cast<Calls*>(c)->escape; }
    static int onTab(void* c, void* /*a*/) { return ++static_cast<Calls*>(c)->tab; }
};

TEST_F(InputLabelTest, EnterEscapeAndTabTakeTheFocusAndCallTheirCallbacks) {
    const RefPtr<InputLabel> free = make("free");
    Calls calls;
    handler->getListenerContainer().addListener(free.get(), &Calls::onChange, &calls);
    type(L"ab");
    EXPECT_EQ(calls.changed, 2);
    EXPECT_EQ(calls.last, free.get());

    EXPECT_TRUE(free->onKeyUp(static_cast<int>(VK_RETURN))) << "handled without a callback";
    EXPECT_FALSE(free->isFocused());

    free->getEnterCallback().setMethod(&Calls::onEnter, &calls);
    free->getEscapeCallback().setMethod(&Calls::onEscape, &calls);
    free->getTabCallback().setMethod(&Calls::onTab, &calls);
    for (const std::uint32_t key : {VK_RETURN, VK_ESCAPE, VK_TAB}) {
        free->setFocus(true);
        up(key);
        EXPECT_FALSE(free->isFocused());
    }
    EXPECT_EQ(calls.enter, 1);
    EXPECT_EQ(calls.escape, 1);
    EXPECT_EQ(calls.tab, 1);
    EXPECT_EQ(calls.changed, 2);
}

TEST_F(InputLabelTest, TheMousePlacesTheCursorDragsASelectionAndTakesTheFocus) {
    const RefPtr<InputLabel> free = make("free", false);
    free->setText(L"abcdef", true);
    struct Place {
        int x;
        int index;
    };
    // Boundaries at 105, 115, ...: the nearer one wins, a tie the right one.
    const std::vector<Place> places{{90, 0},  {105, 0}, {109, 0}, {110, 1},
                                    {114, 1}, {131, 3}, {166, 6}, {400, 6}};
    for (const Place& p : places) {
        EXPECT_EQ(free->charIndexAt(p.x), p.index) << p.x;
    }

    EXPECT_FALSE(free->onLeftButtonDown(126, kRowY, MK_LBUTTON, false)) << "others see it too";
    EXPECT_TRUE(free->isFocused());
    EXPECT_EQ(free->getCursor(), 2);
    EXPECT_FALSE(free->onMouseMove(146, kRowY, MK_LBUTTON));
    EXPECT_EQ(free->getSelectionStart(), 2);
    EXPECT_EQ(free->getSelectionEnd(), 4);
    EXPECT_FALSE(free->onLeftButtonUp(156, kRowY, 0));
    EXPECT_EQ(free->selectedText(), L"cde");
    EXPECT_EQ(free->getSelectionStartX(), 25);
    EXPECT_EQ(free->getSelectionEndX(), 55);
    (void)free->onMouseMove(166, kRowY, 0);
    EXPECT_EQ(free->selectedText(), L"cde") << "no drag after the release";

    // Shift extends from the cursor.
    down(VK_SHIFT);
    (void)free->onLeftButtonDown(106, kRowY, MK_LBUTTON, false);
    (void)free->onLeftButtonUp(106, kRowY, 0);
    up(VK_SHIFT);
    EXPECT_EQ(free->selectedText(), L"ab") << "from the anchor at 2 back to 0";

    // A press outside takes the focus away; so does a release outside.
    (void)free->onLeftButtonDown(500, 500, MK_LBUTTON, false);
    EXPECT_FALSE(free->isFocused());
    free->setFocus(true);
    (void)free->onLeftButtonUp(500, 500, 0);
    EXPECT_FALSE(free->isFocused());
}

TEST_F(InputLabelTest, ADoubleClickSelectsAWord) {
    const RefPtr<InputLabel> free = make("free");
    free->setText(L"hello world.", true);
    struct WordCase {
        int index;
        std::wstring word;
    };
    const std::vector<WordCase> cases{
        {8, L"world"}, {2, L"hello "}, {0, L"hello "}, {12, L"world."}};
    for (const WordCase& c : cases) {
        const int x = 105 + 10 * c.index + 1;
        (void)free->onLeftButtonDown(x, kRowY, MK_LBUTTON, false);
        (void)free->onLeftButtonUp(x, kRowY, 0);
        (void)free->onLeftButtonDown(x, kRowY, MK_LBUTTON, true);
        (void)free->onLeftButtonUp(x, kRowY, 0);
        EXPECT_EQ(free->selectedText(), c.word) << c.index;
        EXPECT_EQ(free->getCursor(), free->getSelectionEnd());
    }
}

TEST_F(InputLabelTest, TheCursorSpriteBlinksWhileFocusedAndFollowsTheCursor) {
    const RefPtr<InputLabel> styled = make("styled", false);
    const RefPtr<Image> caret = createImage(2, 12, kFormatArgb32);
    styled->setCursorImage(caret.get());
    Sprite* cursor = styled->getCursorSprite();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->getParent(), styled.get());
    EXPECT_FALSE(cursor->isVisible());
    EXPECT_TRUE(cursor->isSuspended());

    styled->setText(L"abc", true);
    styled->setFocus(true);
    EXPECT_TRUE(cursor->isVisible());
    EXPECT_FALSE(cursor->isSuspended());
    // cursorx -1 + label x 5 + 3 characters; cursory 2 + label y 4.
    EXPECT_EQ(cursor->getX(), 34);
    EXPECT_EQ(cursor->getY(), 6);
    press(VK_LEFT);
    EXPECT_EQ(cursor->getX(), 24);

    // 300 ms shown, 300 ms hidden: the lengths of the runs of one alpha,
    // stepping a millisecond at a time (the first run may be cut short).
    ASSERT_NE(styled->getBlink(), nullptr);
    std::vector<int> runs;
    int previous = -1;
    for (int ms = 0; ms < 1500; ++ms) {
        cursor->update(1);
        if (cursor->getAlpha() != previous) {
            runs.push_back(0);
            previous = cursor->getAlpha();
        }
        ++runs.back();
    }
    ASSERT_GE(runs.size(), 4U);
    EXPECT_EQ(runs[1], 300);
    EXPECT_EQ(runs[2], 300);
    EXPECT_EQ(runs[3], 300);

    // Unfocused, the cursor goes to the end and hides.
    styled->setFocus(false);
    EXPECT_EQ(styled->getCursor(), 3);
    EXPECT_FALSE(cursor->isVisible());

    // A new cursor image leaves one cursor in the tree; none leaves none.
    styled->setCursorImage(caret.get());
    int cursors = 0;
    for (GameNode* child = styled->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        cursors += (child != styled->getLabel() && !child->hasRemovalMark()) ? 1 : 0;
    }
    EXPECT_EQ(cursors, 1);
    styled->setCursorImage(nullptr);
    EXPECT_EQ(styled->getCursorSprite(), nullptr);
    EXPECT_EQ(styled->getBlink(), nullptr);
    EXPECT_TRUE(cursor->hasRemovalMark());
}

TEST_F(InputLabelTest, TheSelectionIsDrawnUnderTheTextInItsColours) {
    const RefPtr<InputLabel> styled = make("styled");
    styled->setText(L"abcdef", true);
    styled->moveCursor(1, false, true);
    styled->moveCursor(3, true, true); // pixels 15 .. 35 of the field
    const RefPtr<Image> target = test::solidImage(100, 40, 0xFF808080U);
    const RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setColor(0xFF123456U);
    graphics->setAlpha(200);
    styled->render(*graphics);
    EXPECT_EQ(graphics->getColor(), 0xFF123456U) << "the colour in force is put back";
    EXPECT_EQ(graphics->getAlpha(), 200);
    // Red at alpha 64 over grey inside (x 15 .. 34, y 4 .. 15); the default
    // frame around it is black at full alpha.
    const std::uint32_t inside = test::pixelAt(*target, 20, 8);
    EXPECT_NEAR(static_cast<int>((inside >> 16U) & 0xFFU), 160, 2);
    EXPECT_NEAR(static_cast<int>((inside >> 8U) & 0xFFU), 96, 2);
    EXPECT_NEAR(static_cast<int>(inside & 0xFFU), 96, 2);
    EXPECT_EQ(test::pixelAt(*target, 14, 8) & 0xFFFFFFU, 0U) << "the frame's left side";
    EXPECT_EQ(test::pixelAt(*target, 20, 3) & 0xFFFFFFU, 0U) << "the frame's top";
    EXPECT_EQ(test::pixelAt(*target, 40, 8) & 0xFFFFFFU, 0x808080U) << "outside";
}

// Drops the only reference to the field that calls it.
struct InputDropper {
    RefPtr<InputLabel> held;
    static int onEnter(void* context, void* /*argument*/) {
        static_cast<InputDropper*>(context)->held = nullptr;
        return 0;
    }
};

TEST_F(InputLabelTest, ACallbackMayDropTheLastReferenceToItsField) {
    InputDropper dropper;
    dropper.held = make("free");
    InputLabel* field = dropper.held.get();
    handler->removeListener(field);
    field->getEnterCallback().setMethod(&InputDropper::onEnter, &dropper);
    EXPECT_TRUE(field->onKeyUp(static_cast<int>(VK_RETURN)));
    EXPECT_EQ(dropper.held, nullptr);

    dropper.held = make("free");
    field = dropper.held.get();
    handler->removeListener(field);
    field->setMethod(&InputDropper::onEnter, &dropper);
    EXPECT_TRUE(field->onChar('a'));
    EXPECT_EQ(dropper.held, nullptr);
}

} // namespace
} // namespace orv
