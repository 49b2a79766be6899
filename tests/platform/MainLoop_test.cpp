// The main loop over the posted message queue, with a window that has no
// platform window behind it and a frame clock that never really sleeps.

#include "engine/core/TimedTaskManager.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/MainLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace orv {
namespace {

using namespace platform;

constexpr std::uint32_t kFrame = 0xF0F0F0F0U;
constexpr std::uint32_t kSlept = 0xE0E0E0E0U;

// Notes each message the window passes to its hooks.
class Recorder : public IMessageHook {
public:
    explicit Recorder(std::vector<std::uint32_t>& log) : log_(log) {}
    void onWindowMessage(std::uint32_t message, std::uint32_t /*wParam*/,
                         std::uint32_t /*lParam*/) override {
        log_.push_back(message);
    }

private:
    std::vector<std::uint32_t>& log_;
};

// A frame task: notes the frame in the log, then runs `onFrame`.
class FrameProbe : public Task {
public:
    FrameProbe(std::vector<std::uint32_t>& log, std::function<void(int)> onFrame)
        : log_(log), onFrame_(std::move(onFrame)) {}
    void run(int /*elapsedMs*/) override {
        log_.push_back(kFrame);
        onFrame_(++frames_);
    }

private:
    std::vector<std::uint32_t>& log_;
    std::function<void(int)> onFrame_;
    int frames_ = 0;
};

class MainLoopTest : public testing::Test {
protected:
    void SetUp() override { window_->getMessageHandler()->addHook(&recorder_); }
    void TearDown() override {
        window_->getMessageHandler()->removeHook(&recorder_);
        Message rest;
        while (peekMessage(rest)) {
        }
    }
    int runLoop() {
        return runMainLoop(*window_, frames_, [this](std::uint32_t ms) {
            log_.push_back(kSlept);
            sleeps_.push_back(ms);
            if (onSleep_) {
                onSleep_(static_cast<int>(sleeps_.size()));
            }
        });
    }

    std::vector<std::uint32_t> log_;
    std::vector<std::uint32_t> sleeps_;
    std::function<void(int)> onSleep_;
    Recorder recorder_{log_};
    RefPtr<GameWindow> window_{new GameWindow()};
    std::uint32_t clock_ = 0;
    TimedTaskManager frames_{FrameClock{[this] { return clock_ += 16; },
                                        [](std::uint32_t) {
                                        }}};
};

TEST_F(MainLoopTest, DrainsEveryPendingMessageBeforeTheNextFrame) {
    frames_.addTask(new FrameProbe(log_, [](int frame) {
        if (frame == 1) {
            postMessage({WM_KEYDOWN, 'A', 0});
            postMessage({WM_CHAR, 'a', 0});
            postMessage({WM_KEYUP, 'A', 0});
        } else {
            postQuitMessage(0);
        }
    }));
    EXPECT_EQ(runLoop(), 0);
    EXPECT_EQ(log_, (std::vector<std::uint32_t>{kFrame, WM_KEYDOWN, WM_CHAR, WM_KEYUP, kFrame}));
    EXPECT_TRUE(sleeps_.empty());
}

TEST_F(MainLoopTest, QuitEndsTheLoopAfterTheMessagesPostedBeforeIt) {
    postMessage({WM_MOUSEMOVE, 0, 0});
    postQuitMessage(0);
    postMessage({WM_CHAR, 'z', 0});
    frames_.addTask(new FrameProbe(log_, [](int) {}));
    EXPECT_EQ(runLoop(), 0);
    EXPECT_EQ(log_, (std::vector<std::uint32_t>{WM_MOUSEMOVE}));
}

TEST_F(MainLoopTest, InactiveWindowSleepsAndRunsNoFrameUntilRestored) {
    frames_.addTask(new FrameProbe(log_, [](int) { postQuitMessage(0); }));
    window_->setInactive(true);
    onSleep_ = [](int count) {
        if (count == 3) {
            postMessage({WM_SIZE, SIZE_RESTORED, 0});
        }
    };
    EXPECT_EQ(runLoop(), 0);
    EXPECT_EQ(sleeps_, (std::vector<std::uint32_t>{40, 40, 40}));
    EXPECT_EQ(log_, (std::vector<std::uint32_t>{kSlept, kSlept, kSlept, WM_SIZE, EVENT_ACTIVATED,
                                                kFrame}));
}

TEST(GameWindowWithoutReference, SurvivesHandlingItsOwnMessages) {
    // Nothing holds a reference to this window: handling a message must not
    // free it (the window guards itself only while it is referenced).
    GameWindow window;
    window.windowProc({WM_SIZE, SIZE_MINIMIZED, 0});
    EXPECT_TRUE(window.isInactive());
    EXPECT_EQ(window.getRefCount(), 0);
}

class WebWindow : public GameWindow {
public:
    [[nodiscard]] const ClassRecord& getClassRecord() const override {
        return WebGameWindow::classRecord;
    }
};

TEST(GameWindowDestroy, EndsTheProgramUnlessTheWindowIsAWebWindow) {
    RefPtr<GameWindow> plain(new GameWindow());
    RefPtr<GameWindow> web(new WebWindow());
    web->windowProc({WM_DESTROY, 0, 0});
    Message message;
    EXPECT_FALSE(peekMessage(message));
    plain->windowProc({WM_DESTROY, 0, 0});
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message, (Message{WM_QUIT, 0, 0}));
}

} // namespace
} // namespace orv
