// Requests to end the program from outside the game: termination signals and
// a lost display connection, under SDL's dummy video driver.

#include "engine/system/EndRequests.h"
#include "engine/system/Platform.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>

namespace orv::platform {
namespace {

constexpr const char* kEndTitle = "End request test";

SDL_Window* findEndWindow() {
    for (Uint32 id = 1; id < 1000; ++id) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window != nullptr && std::string(SDL_GetWindowTitle(window)) == kEndTitle) {
            return window;
        }
    }
    return nullptr;
}

// An open window with nothing pending and no request noted.
class EndRequestTest : public testing::Test {
protected:
    void SetUp() override {
        window = Window::create(kEndTitle, 320, 240, false, false);
        ASSERT_NE(window, nullptr) << Window::getLastError();
        Message message;
        while (peekMessage(message)) {
        }
        forgetEndRequest();
    }
    void TearDown() override {
        window.reset();
        forgetEndRequest();
    }

    std::unique_ptr<Window> window;
};

class TerminationSignal : public EndRequestTest, public testing::WithParamInterface<int> {};

// The signal leaves the program running; the next look at the queue drops
// what was pending (it would only open a question) and answers the quit with
// exit code 0, once.
TEST_P(TerminationSignal, BecomesOneQuitWithoutAQuestion) {
    postMessage({WM_CLOSE, 0, 0});
    ASSERT_EQ(std::raise(GetParam()), 0);
    EXPECT_EQ(getEndRequest(), EndRequest::Signal);
    Message message;
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message, (Message{WM_QUIT, 0, 0}));
    EXPECT_FALSE(peekMessage(message));
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const testing::TestParamInfo<int>& signal) {
                             return std::string(signal.param == SIGTERM  ? "Term"
                                                : signal.param == SIGINT ? "Int"
                                                                         : "Hup");
                         });

// A program that does not end on the first request ends on the second, as it
// would without the game's handler.
TEST(TerminationSignalDeathTest, ASecondSignalEndsTheProgramAtOnce) {
    // The test program runs SDL's threads: the child starts afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            claimTerminationSignals();
            forgetEndRequest();
            std::raise(SIGTERM);
            std::raise(SIGTERM);
        },
        testing::KilledBySignal(SIGTERM), "");
}

// After the display is lost the quit comes at once, and closing the window
// leaves SDL's window alone: taking it down would wait for the dead display
// server forever.
TEST_F(EndRequestTest, LostDisplayQuitsAndLeavesTheWindowToTheProcessEnd) {
    postMessage({WM_PAINT, 0, 0});
    noteEndRequest(EndRequest::DisplayLost);
    noteEndRequest(EndRequest::Signal);
    EXPECT_EQ(getEndRequest(), EndRequest::DisplayLost) << "the first request stands";
    Message message;
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message, (Message{WM_QUIT, 0, 0}));
    EXPECT_FALSE(peekMessage(message));

    window.reset();
    SDL_Window* left = findEndWindow();
    EXPECT_NE(left, nullptr);
    // The test's own clean-up of what the lost display left behind.
    forgetEndRequest();
    SDL_DestroyRenderer(SDL_GetRenderer(left));
    SDL_DestroyWindow(left);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
} // namespace orv::platform
