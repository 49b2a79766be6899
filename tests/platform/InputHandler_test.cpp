// The input handler: queueing as a message hook, the replay with clamped
// positions, the listener order, the pointer poll and the cursor. The window
// is a GameWindow without a platform window: 800 x 600, focused.

#include "engine/platform/GameWindow.h"
#include "engine/platform/InputHandler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using namespace platform;

// Records every event it is offered as text and answers `handles`.
class Probe : public iInputListener {
public:
    Probe(std::string name, std::vector<std::string>& log, bool handles = false)
        : name_(std::move(name)), log_(log), handles_(handles) {}
    bool onKeyDown(int key) override { return note("keydown " + std::to_string(key)); }
    bool onKeyUp(int key) override { return note("keyup " + std::to_string(key)); }
    bool onChar(int character) override { return note("char " + std::to_string(character)); }
    bool onMouseMove(int x, int y, int flags) override {
        return note("move " + point(x, y) + " " + std::to_string(flags));
    }
    bool onLeftButtonDown(int x, int y, int /*flags*/, bool doubleClick) override {
        return note(std::string(doubleClick ? "ldouble " : "ldown ") + point(x, y));
    }
    bool onLeftButtonUp(int x, int y, int /*flags*/) override { return note("lup " + point(x, y)); }
    bool onRightButtonDown(int x, int y, int /*flags*/, bool doubleClick) override {
        return note(std::string(doubleClick ? "rdouble " : "rdown ") + point(x, y));
    }
    bool onMiddleButtonUp(int x, int y, int /*flags*/) override {
        return note("mup " + point(x, y));
    }
    void reset() override { log_.push_back(name_ + ": reset"); }
    std::function<void()> whenCalled;

private:
    static std::string point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    bool note(const std::string& what) {
        log_.push_back(name_ + ": " + what);
        if (whenCalled) {
            whenCalled();
        }
        return handles_;
    }
    std::string name_;
    std::vector<std::string>& log_;
    bool handles_;
};

// Reports a fixed pointer position, as a window with the focus would.
class PolledHandler : public InputHandler {
public:
    std::optional<WindowPoint> pointer;

protected:
    bool pollPointer(WindowPoint& point) override {
        if (!pointer) {
            return false;
        }
        point = *pointer;
        return true;
    }
};

class InputHandlerTest : public testing::Test {
protected:
    void SetUp() override {
        window_ = new GameWindow();
        window_->setSize(800, 600);
        GameWindow::setInstance(window_.get());
        hoverCount = 0;
        InputHandler::clearKeyState();
    }
    void TearDown() override { GameWindow::setInstance(nullptr); }

    void queue(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam = 0) {
        input_->onWindowMessage(message, wParam, lParam);
    }

    RefPtr<GameWindow> window_;
    RefPtr<PolledHandler> input_{new PolledHandler()};
    std::vector<std::string> log_;
};

struct ClampCase {
    int x;
    int y;
    std::string delivered;
};

TEST_F(InputHandlerTest, MousePositionsAreClampedToTheClientArea) {
    const std::vector<ClampCase> cases{
        {65530, 599, "lup 0,599"},   // 6 pixels left of the window, captured
        {805, 10, "lup 800,10"},     // beyond the right edge
        {800, 600, "lup 800,600"},   // the edge itself stays
        {799, 65535, "lup 799,0"},   // above the window
        {60000, 60001, "lup 800,0"}, // 60000 is a far position, 60001 a cut negative one
    };
    Probe probe("p", log_);
    input_->addListener(&probe);
    for (const ClampCase& c : cases) {
        queue(WM_LBUTTONUP, 0, packPoint(c.x, c.y));
    }
    input_->run(16);
    ASSERT_EQ(log_.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(log_[i], "p: " + cases[i].delivered);
    }
    EXPECT_EQ(getLastMouseX(), 800);
    EXPECT_EQ(getLastMouseY(), 0);
}

TEST_F(InputHandlerTest, EventsGoToTheNewestListenerFirstUntilOneHandlesIt) {
    Probe older("older", log_);
    Probe newer("newer", log_);
    Probe handling("handling", log_, true);
    input_->addListener(&older);
    input_->addListener(&newer);
    queue(WM_KEYDOWN, VK_ESCAPE);
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"newer: keydown 27", "older: keydown 27"}));

    log_.clear();
    input_->addListener(&handling);
    queue(WM_KEYUP, VK_ESCAPE);
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"handling: keyup 27"}));

    // Adding a listener again moves it to the front (resetting it).
    log_.clear();
    input_->addListener(&older);
    queue(WM_CHAR, 0x20AC); // a whole code point, not its low 8 bits
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"older: reset", "older: char 8364",
                                              "handling: char 8364"}));
    input_->removeListener(&handling);
    input_->removeListener(&newer);
    input_->removeListener(&older);
}

TEST_F(InputHandlerTest, TranslatesButtonsAndKeepsSystemKeysFromListeners) {
    Probe probe("p", log_);
    input_->addListener(&probe);
    queue(WM_LBUTTONDOWN, MK_LBUTTON, packPoint(5, 6));
    queue(WM_LBUTTONUP, 0, packPoint(5, 6));
    queue(WM_LBUTTONDBLCLK, MK_LBUTTON, packPoint(5, 6));
    queue(WM_RBUTTONDBLCLK, MK_RBUTTON, packPoint(7, 8));
    queue(WM_MBUTTONUP, 0, packPoint(1, 2));
    queue(WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN_BIT);
    queue(WM_SYSKEYUP, VK_RETURN, KF_ALTDOWN_BIT);
    queue(WM_PAINT, 0);
    queue(WM_DEADCHAR, '^');
    EXPECT_EQ(input_->getQueuedCount(), 7U);
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"p: ldown 5,6", "p: lup 5,6", "p: ldouble 5,6",
                                              "p: rdouble 7,8", "p: mup 1,2"}));
    input_->removeListener(&probe);
}

TEST_F(InputHandlerTest, InactiveHandlerQueuesNothingAndDropsItsQueue) {
    queue(WM_KEYDOWN, 'A');
    input_->setActive(false);
    EXPECT_EQ(input_->getQueuedCount(), 0U);
    queue(WM_KEYDOWN, 'B');
    EXPECT_EQ(input_->getQueuedCount(), 0U);
    input_->setActive(true);
    queue(WM_KEYDOWN, 'C');
    input_->clearQueue(); // a scene opening
    EXPECT_EQ(input_->getQueuedCount(), 0U);
}

TEST_F(InputHandlerTest, PointerRestingOutsideIsOfferedEveryQuietFrame) {
    Probe probe("p", log_);
    input_->addListener(&probe);
    input_->pointer = WindowPoint{-5, 300};
    input_->run(16);
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"p: move 0,300 0", "p: move 0,300 0"}));

    // Inside, or with something queued, nothing is made up.
    log_.clear();
    input_->pointer = WindowPoint{400, 300};
    input_->run(16);
    input_->pointer = WindowPoint{900, 300};
    queue(WM_KEYDOWN, 'A');
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"p: keydown 65"}));
    input_->removeListener(&probe);
}

TEST_F(InputHandlerTest, MouseMoveSetsTheCursorFromTheHoverCount) {
    Probe probe("p", log_);
    input_->addListener(&probe);
    probe.whenCalled = [] {
        hoverCount = 1;
    }; // the listener starts hovering
    queue(WM_MOUSEMOVE, 0, packPoint(10, 20));
    input_->run(16);
    EXPECT_EQ(window_->getCursorKind(), 3);
    EXPECT_EQ(input_->getLastForwardedX(), 10);
    EXPECT_EQ(input_->getLastForwardedY(), 20);

    probe.whenCalled = [] {
        hoverCount = 0;
    };
    queue(WM_MOUSEMOVE, 0, packPoint(11, 20));
    input_->run(16);
    EXPECT_EQ(window_->getCursorKind(), 2);
    input_->removeListener(&probe);
}

TEST_F(InputHandlerTest, KeyStateFollowsTheReplayedKeys) {
    Probe probe("p", log_);
    input_->addListener(&probe);
    std::vector<bool> ctrlSeen;
    probe.whenCalled = [&] {
        ctrlSeen.push_back(InputHandler::isKeyHeld(VK_CONTROL));
    };
    queue(WM_KEYDOWN, VK_CONTROL);
    queue(WM_KEYDOWN, 'C');
    queue(WM_KEYUP, VK_CONTROL);
    queue(WM_KEYDOWN, 'C');
    queue(WM_SYSKEYDOWN, VK_SHIFT, KF_ALTDOWN_BIT);
    input_->run(16);
    EXPECT_EQ(ctrlSeen, (std::vector<bool>{true, true, false, false}));
    EXPECT_TRUE(InputHandler::isKeyHeld(VK_SHIFT));
    EXPECT_FALSE(InputHandler::isKeyHeld(0x1000));
    input_->removeListener(&probe);
}

TEST_F(InputHandlerTest, HookOnTheWindowQueuesWhatTheWindowReceives) {
    window_->getMessageHandler()->addHook(input_.get());
    Probe probe("p", log_);
    input_->addListener(&probe);
    window_->windowProc({WM_KEYDOWN, 'Q', 0});
    window_->windowProc({WM_MOUSEMOVE, 0, packPoint(30, 40)});
    EXPECT_EQ(getLastMouseX(), 30);
    EXPECT_TRUE(log_.empty()) << "events wait for the frame";
    input_->run(16);
    EXPECT_EQ(log_, (std::vector<std::string>{"p: keydown 81", "p: move 30,40 0"}));
    window_->getMessageHandler()->removeHook(input_.get());
    input_->removeListener(&probe);
}

} // namespace
} // namespace orv
