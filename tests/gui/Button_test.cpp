// Buttons: building from a definition, the four frames chosen by state, the
// press / drag / release paths, hovering with the hover count and the
// cursor, fire keys, hit tests with masks and thresholds, and sounds.

#include "engine/gui/Button.h"

#include "engine/core/GameTree.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/iInputListenerContainer.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/system/Messages.h"
#include "tests/gui/ButtonFixture.h"
#include "tests/scene/ScenePixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::ButtonTest;
using test::FireRecorder;

constexpr int kHeld = static_cast<int>(platform::MK_LBUTTON);

// Points of the "ok" button (100, 50, 40 x 20).
constexpr int kInX = 110;
constexpr int kInY = 55;
constexpr int kOutX = 300;
constexpr int kOutY = 300;

// The top of the image area the button shows.
int shownTop(const Button& button) {
    return button.getSourceRect() ? button.getSourceRect()->y : -1;
}

TEST_F(ButtonTest, BuiltFromADefinitionWithFourStackedFrames) {
    const RefPtr<Button> ok = build("ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->getName(), "OK");
    EXPECT_EQ(ok->getWidth(), test::kStripWidth);
    EXPECT_EQ(ok->getHeight(), test::kStripHeight / 4);
    EXPECT_EQ(ok->getFrameRect(), (Rect{0, 0, 40, 20}));
    EXPECT_EQ(ok->getSourceRect(), (Rect{0, 0, 40, 20}));
    EXPECT_EQ(ok->getFrameWrapStyle(), FrameWrapStyle::Switch);
    EXPECT_EQ(ok->getFireKeys(), (std::vector<int>{13, 32})) << "blanks dropped, hexadecimal read";
    EXPECT_EQ(ok->getClickSound(), "CLICK");
    EXPECT_EQ(ok->getDisabledSound(), "DENIED");
    EXPECT_EQ(ok->getOverSound(), "OVER");
    EXPECT_EQ(ok->getSoundSection(), "sfx");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(ok->getHitMask(), nullptr);
    EXPECT_EQ(ok->getHitMaskThreshold(), -1);

    EXPECT_EQ(build("unknown")->getFireKeys(), (std::vector<int>{13}))
        << "empty pieces name no key";
    EXPECT_EQ(shownTop(*build("off")), 60) << "a disabled button starts on frame 3";
    EXPECT_NE(build("masked")->getHitMask(), nullptr);

    const RefPtr<Button> noMask = build("nomask");
    ASSERT_NE(noMask, nullptr);
    EXPECT_EQ(noMask->getHitMask(), nullptr);
    EXPECT_TRUE(log.contains("no hit mask 'NOPE'"));
    EXPECT_TRUE(noMask->hitTest(5, 5)) << "the rest of the button works";

    // Without an image the given size is divided like an image would be.
    const RefPtr<Button> plain = build("plain");
    EXPECT_EQ(plain->getWidth(), 30);
    EXPECT_EQ(plain->getHeight(), 10);

    // The interface parts, as containers and the render task ask for them.
    EXPECT_EQ(ok->getInterface(iInputListener::classRecord),
              static_cast<iInputListener*>(ok.get()));
    EXPECT_EQ(ok->getInterface(iGuiMethod::classRecord), static_cast<iGuiMethod*>(ok.get()));
    EXPECT_EQ(ok->getInterface(IRenderable::classRecord), static_cast<IRenderable*>(ok.get()));
    EXPECT_EQ(ok->getInterface(GameNode::classRecord), nullptr);
    EXPECT_TRUE(ok->isKindOf(Sprite::classRecord));
    EXPECT_TRUE(ok->isKindOf(iInputListener::classRecord));
    EXPECT_TRUE(ok->isKindOf(iGuiMethod::classRecord));
}

struct FrameCase {
    const char* name;
    bool enabled;
    int state;
    int top; // of the shown frame in the strip
};

TEST_F(ButtonTest, TheFrameFollowsTheStateUnlessDisabled) {
    const std::vector<FrameCase> cases{
        {"normal", true, Button::kNormal, 0},
        {"over", true, Button::kOver, 20},
        {"pressed", true, Button::kPressed, 40},
        {"disabled normal", false, Button::kNormal, 60},
        {"disabled over", false, Button::kOver, 60},
        {"disabled pressed", false, Button::kPressed, 60},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RefPtr<Button> ok = build("ok");
        ok->setEnabled(c.enabled);
        ok->setState(c.state);
        EXPECT_EQ(shownTop(*ok), c.top);
        // A new picture is laid out as four frames and keeps showing the state.
        ok->setImage(test::solidImage(60, 160, 0xFF808080U).get());
        EXPECT_EQ(ok->getHeight(), 40);
        EXPECT_EQ(shownTop(*ok), c.top * 2);
    }

    // Disabling a pressed button shows frame 3 at once; enabling it again
    // shows the state it kept.
    const RefPtr<Button> ok = build("ok");
    ok->setState(Button::kPressed);
    ok->setEnabled(false);
    EXPECT_EQ(shownTop(*ok), 60);
    EXPECT_EQ(ok->getState(), Button::kPressed);
    ok->setEnabled(true);
    EXPECT_EQ(shownTop(*ok), 40);
}

// One mouse event of a sequence.
struct MouseStep {
    char kind; // 'm' move, 'd' press, 'u' release
    bool inside;
    bool held; // left button held during a move
};

struct ClickCase {
    const char* name;
    std::vector<MouseStep> steps;
    int fired;
    int finalState;
    bool releaseHandled;
};

TEST_F(ButtonTest, ReleaseInsideAfterAPressInsideFiresOnce) {
    const std::vector<ClickCase> cases{
        {"click", {{'m', true, false}, {'d', true, false}, {'u', true, false}}, 1, 0, true},
        {"drag out and back",
         {{'d', true, false}, {'m', false, true}, {'m', true, true}, {'u', true, false}},
         1,
         0,
         true},
        {"drag out and release outside",
         {{'d', true, false}, {'m', false, true}, {'u', false, false}},
         0,
         0,
         false},
        {"press outside, drag in, release inside",
         {{'m', false, false}, {'d', false, false}, {'m', true, true}, {'u', true, false}},
         0,
         1,
         false},
        {"release without a press", {{'m', true, false}, {'u', true, false}}, 0, 1, false},
        {"press and drag out, still held", {{'d', true, false}, {'m', false, true}}, 0, 1, false},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RefPtr<Button> ok = build("ok");
        FireRecorder recorder;
        ok->setMethod(&FireRecorder::onFire, &recorder);
        bool releaseHandled = false;
        for (const MouseStep& step : c.steps) {
            const int x = step.inside ? kInX : kOutX;
            const int y = step.inside ? kInY : kOutY;
            if (step.kind == 'm') {
                EXPECT_FALSE(ok->onMouseMove(x, y, step.held ? kHeld : 0)) << "moves go on";
            } else if (step.kind == 'd') {
                EXPECT_EQ(ok->onLeftButtonDown(x, y, kHeld, false), step.inside);
                if (step.inside) {
                    EXPECT_EQ(ok->getState(), Button::kPressed);
                }
            } else {
                releaseHandled = ok->onLeftButtonUp(x, y, 0);
            }
        }
        EXPECT_EQ(recorder.fired, c.fired);
        EXPECT_EQ(ok->getState(), c.finalState);
        EXPECT_EQ(shownTop(*ok), c.finalState * 20);
        EXPECT_EQ(releaseHandled, c.releaseHandled);
        if (c.fired > 0) {
            EXPECT_EQ(recorder.last, ok.get()) << "the button passes itself";
        }
        ok->reset();
    }
}

TEST_F(ButtonTest, AReleaseWithoutAFunctionIsHandledButFiresNothing) {
    const RefPtr<Button> ok = build("ok");
    FireRecorder recorder;
    ok->setMethod(nullptr, &recorder);
    ASSERT_TRUE(ok->onLeftButtonDown(kInX, kInY, kHeld, false));
    EXPECT_TRUE(ok->onLeftButtonUp(kInX, kInY, 0));
    EXPECT_EQ(recorder.fired, 0);
    EXPECT_EQ(ok->getState(), Button::kNormal);
}

TEST_F(ButtonTest, ACallbackMayDropTheLastReferenceToItsButton) {
    // The dialog closes in the callback and lets go of the button; the
    // button finishes the event first (the sanitizer sees any use after).
    struct Closer {
        RefPtr<Button> button;
        static int close(void* context, void* /*argument*/) {
            static_cast<Closer*>(context)->button = nullptr;
            return 0;
        }
    };
    Closer closer{build("ok")};
    Button* ok = closer.button.get();
    ok->setMethod(&Closer::close, &closer);
    ASSERT_TRUE(ok->onLeftButtonDown(kInX, kInY, kHeld, false));
    EXPECT_TRUE(ok->onLeftButtonUp(kInX, kInY, 0));
    EXPECT_EQ(closer.button, nullptr);

    closer.button = build("ok");
    ok = closer.button.get();
    ok->setMethod(&Closer::close, &closer);
    EXPECT_TRUE(ok->onKeyUp(13));
    EXPECT_EQ(closer.button, nullptr);
}

TEST_F(ButtonTest, ADisabledButtonLetsThePressThroughAndNeverFires) {
    // Behind the disabled button, a button that takes the press.
    const RefPtr<Button> off = build("off");
    const RefPtr<Button> behind = build("ok");
    behind->setPosition(0, 0);
    FireRecorder offRecorder;
    FireRecorder behindRecorder;
    iInputListenerContainer container;
    container.addListener(behind.get(), &FireRecorder::onFire, &behindRecorder);
    container.addListener(off.get(), &FireRecorder::onFire, &offRecorder);

    EXPECT_FALSE(container.onMouseMove(5, 5, 0));
    EXPECT_FALSE(off->isHovered()) << "a disabled button does not count";
    EXPECT_EQ(hoverCount, 1) << "only the button behind";
    EXPECT_EQ(soundsPlayed(), test::kOverLevel) << "only the button behind sounds";

    EXPECT_TRUE(container.onLeftButtonDown(5, 5, kHeld, false)) << "handled behind";
    EXPECT_EQ(off->getState(), Button::kPressed);
    EXPECT_EQ(shownTop(*off), 60);
    EXPECT_EQ(behind->getState(), Button::kPressed);
    EXPECT_EQ(soundsPlayed(), test::kDeniedLevel + test::kClickLevel);

    EXPECT_TRUE(container.onLeftButtonUp(5, 5, 0));
    EXPECT_EQ(offRecorder.fired, 0);
    EXPECT_EQ(behindRecorder.fired, 1);
    EXPECT_FALSE(off->onKeyDown(13));
    EXPECT_FALSE(off->onKeyUp(13));
    EXPECT_EQ(offRecorder.fired, 0);
    container.removeListener(off.get());
    container.removeListener(behind.get());
}

TEST_F(ButtonTest, HoveringCountsOnceAndSetsTheCursor) {
    RefPtr<GameWindow> window(new GameWindow());
    window->setSize(800, 600);
    GameWindow::setInstance(window.get());
    RefPtr<InputHandler> input(new InputHandler());

    // Three buttons side by side, in a tree moved by (10, 0).
    RefPtr<GameTree> root(new GameTree());
    root->setPosition(10, 0);
    std::vector<RefPtr<Button>> buttons;
    for (int i = 0; i < 3; ++i) {
        buttons.push_back(build("ok"));
        buttons.back()->setPosition(i * 100, 0);
        GameTree::appendChild(buttons.back().get(), root.get());
        input->getListenerContainer().addListener(buttons.back().get());
    }
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        input->onMouseMove(15 + i * 100, 5, 0);
        EXPECT_TRUE(buttons[i]->isHovered());
        EXPECT_EQ(buttons[i]->getState(), Button::kOver);
        EXPECT_EQ(hoverCount, 1);
        EXPECT_EQ(window->getCursorKind(), 3) << "the hand";
        EXPECT_EQ(soundsPlayed(), test::kOverLevel) << "the over sound on entering";
        input->onMouseMove(16 + i * 100, 6, 0);
        EXPECT_EQ(soundsPlayed(), 0) << "not again while inside";
    }
    input->onMouseMove(500, 500, 0);
    EXPECT_EQ(hoverCount, 0);
    EXPECT_EQ(window->getCursorKind(), 2) << "the arrow";
    for (const RefPtr<Button>& button : buttons) {
        EXPECT_FALSE(button->isHovered());
        EXPECT_EQ(button->getState(), Button::kNormal);
    }

    // Every path that clears the flag gives the count back.
    input->onMouseMove(15, 5, 0);
    ASSERT_EQ(hoverCount, 1);
    buttons[0]->setEnabled(false);
    EXPECT_EQ(hoverCount, 0) << "disabled";
    input->onMouseMove(115, 5, 0);
    ASSERT_EQ(hoverCount, 1);
    buttons[1]->reset();
    EXPECT_EQ(hoverCount, 0) << "reset";
    input->onMouseMove(215, 5, 0);
    ASSERT_EQ(hoverCount, 1);
    input->getListenerContainer().removeListener(buttons[2].get());
    EXPECT_EQ(hoverCount, 0) << "removed from its container";
    for (const RefPtr<Button>& button : buttons) {
        input->getListenerContainer().removeListener(button.get());
    }

    // A hovered button that goes away gives its count back too.
    RefPtr<Button> lonely = build("plain");
    EXPECT_FALSE(lonely->onMouseMove(1, 1, 0));
    ASSERT_EQ(hoverCount, 1);
    lonely = nullptr;
    EXPECT_EQ(hoverCount, 0) << "destroyed";
    GameWindow::setInstance(nullptr);
}

TEST_F(ButtonTest, FireKeysPressAndFire) {
    const RefPtr<Button> ok = build("ok");
    FireRecorder recorder;
    ok->setMethod(&FireRecorder::onFire, &recorder);
    EXPECT_FALSE(ok->onKeyDown(static_cast<int>(platform::VK_ESCAPE)));
    EXPECT_FALSE(ok->onKeyUp(static_cast<int>(platform::VK_ESCAPE)));
    EXPECT_TRUE(ok->onKeyDown(static_cast<int>(platform::VK_RETURN)));
    EXPECT_EQ(shownTop(*ok), 40);
    EXPECT_TRUE(ok->onKeyUp(static_cast<int>(platform::VK_RETURN)));
    EXPECT_EQ(recorder.fired, 1);
    EXPECT_EQ(ok->getState(), Button::kNormal);
    EXPECT_TRUE(ok->onKeyUp(static_cast<int>(platform::VK_SPACE))) << "no key down needed";
    EXPECT_EQ(recorder.fired, 2);

    // Keys arrive through an input handler as translated key messages.
    RefPtr<InputHandler> input(new InputHandler());
    input->getListenerContainer().addListener(ok.get(), &FireRecorder::onFire, &recorder);
    input->onWindowMessage(platform::WM_KEYDOWN, platform::VK_SPACE, 0);
    input->onWindowMessage(platform::WM_KEYUP, platform::VK_SPACE, 0);
    input->run(16);
    EXPECT_EQ(recorder.fired, 3);
    input->getListenerContainer().removeListener(ok.get());
    InputHandler::clearKeyState();
}

struct HitCase {
    const char* name;
    const char* button;
    int x;
    int y;
    bool hit;
};

TEST_F(ButtonTest, HitTestsUseTheMaskOrTheThreshold) {
    const std::vector<HitCase> cases{
        {"mask alpha 128 misses", "masked", 5, 5, false},
        {"mask alpha 129 hits", "masked", 15, 5, true},
        {"right of a smaller mask", "masked", 30, 5, false},
        {"below a smaller mask", "masked", 15, 15, false},
        {"image alpha 128 misses", "alpha", 5, 15, false},
        {"image alpha 129 hits", "alpha", 15, 15, true},
        {"no mask, no threshold", "plain", 0, 0, true},
        {"no mask, no threshold, far corner", "plain", 29, 9, true},
        {"outside the box", "plain", 30, 0, false},
        {"below the first frame", "alpha", 25, 20, false},
        {"left of the box", "alpha", -1, 5, false},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(build(c.button)->hitTest(c.x, c.y), c.hit);
    }

    // The threshold reads frame 0's area whatever frame is shown.
    const RefPtr<Button> alpha = build("alpha");
    alpha->setState(Button::kPressed);
    EXPECT_TRUE(alpha->hitTest(15, 15));
    EXPECT_FALSE(alpha->hitTest(5, 15));

    // Images whose alpha cannot be read miss instead of reading anything.
    const RefPtr<Button> masked = build("masked");
    masked->setHitMask(RefPtr<Image>(new Image()).get());
    EXPECT_FALSE(masked->hitTest(15, 5)) << "an image without buffers";
    RefPtr<Image> colourOnly = createImage(40, 20, kFormatRgb565);
    ASSERT_NE(colourOnly, nullptr);
    colourOnly->setAlpha(nullptr);
    masked->setHitMask(colourOnly.get());
    EXPECT_FALSE(masked->hitTest(15, 5)) << "16-bit colour without an alpha plane";
}

TEST_F(ButtonTest, TheBoxIsPlacedByAncestorsAndTheTruncatedAnchor) {
    RefPtr<GameTree> root(new GameTree());
    root->setPosition(7, 3);
    const RefPtr<Button> plain = build("plain"); // 30 x 10
    GameTree::appendChild(plain.get(), root.get());
    plain->setPosition(100, 100);
    plain->setAnchorOffset(2.5F, 2.5F); // edges 104.5 and 100.5, truncated to 104, 100
    EXPECT_TRUE(plain->hitTest(104, 100));
    EXPECT_FALSE(plain->hitTest(103, 100));
    EXPECT_FALSE(plain->hitTest(104, 99));
    EXPECT_TRUE(plain->hitTest(133, 109));
    EXPECT_FALSE(plain->hitTest(134, 109));
    EXPECT_FALSE(plain->hitTest(133, 110));
}

TEST_F(ButtonTest, SoundsArePlayedFromTheirSectionWhenFound) {
    const RefPtr<Button> ok = build("ok");
    ASSERT_TRUE(ok->onLeftButtonDown(kInX, kInY, kHeld, false));
    EXPECT_EQ(soundsPlayed(), test::kClickLevel);
    ok->setEnabled(false);
    EXPECT_FALSE(ok->onLeftButtonDown(kInX, kInY, kHeld, false));
    EXPECT_EQ(soundsPlayed(), test::kDeniedLevel);
    EXPECT_FALSE(ok->onLeftButtonDown(kOutX, kOutY, kHeld, false));
    EXPECT_EQ(soundsPlayed(), 0) << "a press outside plays nothing";

    // An id the section lacks is logged; a section not loaded yet is silent
    // and sounds once it is.
    const RefPtr<Button> unknown = build("unknown");
    EXPECT_TRUE(unknown->onLeftButtonDown(5, 5, kHeld, false));
    EXPECT_EQ(soundsPlayed(), 0);
    EXPECT_TRUE(log.contains("no sound 'NOPE'"));
    EXPECT_FALSE(unknown->onMouseMove(5, 5, 0));
    EXPECT_EQ(soundsPlayed(), 0);
    EXPECT_FALSE(log.contains("no sound 'LATE'"));
    ASSERT_NE(ResourceManager::getInstance()->getLoadedObject("LATE", "later"), nullptr);
    EXPECT_FALSE(unknown->onMouseMove(50, 50, 0));
    EXPECT_FALSE(unknown->onMouseMove(5, 5, 0));
    EXPECT_EQ(soundsPlayed(), test::kClickLevel);
    unknown->reset();
}

} // namespace
} // namespace orv
