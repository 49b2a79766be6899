// The game window on SDL's dummy video driver (the test runner selects it):
// its handling of the window messages, the hooks that see them first, full
// screen on the same window, the close request and a window that cannot be
// made at all.

#include "engine/core/TimedTaskManager.h"
#include "engine/platform/DataFolders.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/MainLoop.h"
#include "engine/properties/BasicProperties.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace orv {
namespace {

using namespace platform;

// Records every message with the window's inactive flag at the moment the
// hook saw it, so a test can tell that the hook came first.
class RecordingHook : public IMessageHook {
public:
    struct Seen {
        Message message;
        bool inactiveWhenSeen;
    };
    explicit RecordingHook(const GameWindow& window) : window_(window) {}
    void onWindowMessage(std::uint32_t message, std::uint32_t wParam,
                         std::uint32_t lParam) override {
        seen.push_back({{message, wParam, lParam}, window_.isInactive()});
    }
    [[nodiscard]] std::vector<std::uint32_t> codes() const {
        std::vector<std::uint32_t> out;
        for (const Seen& s : seen) {
            out.push_back(s.message.message);
        }
        return out;
    }
    [[nodiscard]] int count(std::uint32_t code) const {
        int n = 0;
        for (const Seen& s : seen) {
            n += s.message.message == code ? 1 : 0;
        }
        return n;
    }
    std::vector<Seen> seen;

private:
    const GameWindow& window_;
};

std::vector<Message> drainQueue() {
    std::vector<Message> out;
    Message message;
    while (peekMessage(message)) {
        out.push_back(message);
    }
    return out;
}

// The SDL window made last (window numbers go on rising while SDL's video
// stays started between tests).
SDL_Window* newestSdlWindow() {
    SDL_Window* newest = nullptr;
    for (Uint32 id = 1; id < 1000; ++id) {
        if (SDL_Window* window = SDL_GetWindowFromID(id)) {
            newest = window;
        }
    }
    return newest;
}

class GameWindowTest : public testing::Test {
protected:
    void open(int width = 800, int height = 600, bool fullScreen = false, int requestedBytes = 0) {
        window_ = createGameWindow("Window test", width, height, fullScreen, requestedBytes, 0);
        ASSERT_NE(window_, nullptr);
        hook_.emplace(*window_);
        window_->getMessageHandler()->addHook(&*hook_);
        drainQueue(); // whatever the desktop reported while the window opened
    }
    void TearDown() override {
        if (window_ != nullptr && hook_) {
            window_->getMessageHandler()->removeHook(&*hook_);
        }
        GameWindow::setInstance(nullptr);
        drainQueue();
        setSleepFunction({});
    }
    void send(std::uint32_t message, std::uint32_t wParam = 0, std::uint32_t lParam = 0) {
        window_->windowProc({message, wParam, lParam});
    }

    GameWindow* window_ = nullptr;
    std::optional<RecordingHook> hook_;
};

TEST_F(GameWindowTest, OpensWindowedWithA32BitBackBufferAndPresentsIt) {
    open();
    ASSERT_NE(window_->getHandle(), nullptr);
    EXPECT_FALSE(window_->isFullScreen());
    EXPECT_TRUE(window_->isFullScreenSwitchAllowed());
    EXPECT_FALSE(window_->isInactive());
    // Bytes per pixel as stored, never the colour depth / 8 (which gives 3).
    EXPECT_EQ(window_->getBytesPerPixel(), 4);
    ASSERT_NE(window_->getBackImage(), nullptr);
    EXPECT_EQ(window_->getBackImage()->getFormat(), kFormatArgb32);
    EXPECT_EQ(window_->getBackImage()->getWidth(), 800);
    ASSERT_NE(window_->getGraphics(), nullptr);

    window_->getGraphics()->setColor(0xFF20C040U);
    window_->getGraphics()->clear();
    window_->run(16);

    SDL_Window* sdlWindow = newestSdlWindow();
    ASSERT_NE(sdlWindow, nullptr);
    SDL_Surface* surface = SDL_GetWindowSurface(sdlWindow);
    ASSERT_NE(surface, nullptr);
    Uint32 pixel = 0;
    std::memcpy(&pixel, static_cast<const Uint8*>(surface->pixels) + 10 * surface->pitch + 40,
                surface->format->BytesPerPixel);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    EXPECT_EQ(r, 0x20);
    EXPECT_EQ(g, 0xC0);
    EXPECT_EQ(b, 0x40);
}

TEST_F(GameWindowTest, AFrameLikeTheOneShownIsNotUploadedAgainUntilARepaint) {
    open();
    Graphics& graphics = *window_->getGraphics();
    graphics.setColor(0xFF102030U);
    graphics.clear();
    EXPECT_TRUE(window_->presentIfChanged());
    EXPECT_FALSE(window_->presentIfChanged()) << "the same frame again";
    graphics.setColor(0xFF102031U);
    graphics.fillRect(799, 599, 1, 1);
    EXPECT_TRUE(window_->presentIfChanged()) << "its last pixel changed";
    EXPECT_FALSE(window_->presentIfChanged());
    send(WM_PAINT);
    EXPECT_TRUE(window_->presentIfChanged()) << "a repaint forgets the frame shown";
}

TEST_F(GameWindowTest, HooksSeeEveryMessageBeforeTheWindowHandlesIt) {
    open();
    send(WM_SIZE, SIZE_MINIMIZED);
    ASSERT_EQ(hook_->codes(), (std::vector<std::uint32_t>{WM_SIZE, EVENT_DEACTIVATED}));
    EXPECT_FALSE(hook_->seen[0].inactiveWhenSeen) << "the hook ran after the window's handling";
    EXPECT_TRUE(window_->isInactive());

    // Messages the window does not handle reach the hooks all the same.
    send(WM_MOUSEMOVE, MK_LBUTTON, packPoint(3, 4));
    send(WM_CHAR, 'x');
    ASSERT_EQ(hook_->seen.size(), 4U);
    EXPECT_EQ(hook_->seen[2].message, (Message{WM_MOUSEMOVE, MK_LBUTTON, packPoint(3, 4)}));
    EXPECT_EQ(hook_->seen[3].message, (Message{WM_CHAR, 'x', 0}));
}

struct ActivationCase {
    const char* name;
    bool fullScreen;
    bool startInactive;
    Message message;
    bool inactiveAfter;
    bool focusAfter;
    std::vector<std::uint32_t> hooksSee;
};

TEST_F(GameWindowTest, ActivationFollowsMinimiseRestoreAndFocus) {
    const std::vector<ActivationCase> cases{
        {"minimised",
         false,
         false,
         {WM_SIZE, SIZE_MINIMIZED, 0},
         true,
         true,
         {WM_SIZE, EVENT_DEACTIVATED}},
        {"restored",
         false,
         true,
         {WM_SIZE, SIZE_RESTORED, 0},
         false,
         true,
         {WM_SIZE, EVENT_ACTIVATED}},
        {"focus lost windowed",
         false,
         false,
         {WM_KILLFOCUS, 0, 0},
         false,
         false,
         {WM_KILLFOCUS, EVENT_DEACTIVATED}},
        {"focus lost, full screen asked for but shown in a window",
         true,
         false,
         {WM_KILLFOCUS, 0, 0},
         false,
         false,
         {WM_KILLFOCUS, EVENT_DEACTIVATED}},
        {"focus gained",
         true,
         true,
         {WM_SETFOCUS, 0, 0},
         false,
         true,
         {WM_SETFOCUS, EVENT_ACTIVATED}},
        {"application activated",
         false,
         true,
         {WM_ACTIVATEAPP, 1, 0},
         false,
         true,
         {WM_ACTIVATEAPP}},
    };
    open();
    for (const ActivationCase& c : cases) {
        SCOPED_TRACE(c.name);
        window_->setFullScreenFlag(c.fullScreen);
        window_->setInactive(c.startInactive);
        send(WM_SETFOCUS); // start with the focus
        window_->setInactive(c.startInactive);
        hook_->seen.clear();
        window_->windowProc(c.message);
        EXPECT_EQ(window_->isInactive(), c.inactiveAfter);
        EXPECT_EQ(window_->hasFocus(), c.focusAfter);
        EXPECT_EQ(hook_->codes(), c.hooksSee);
    }
}

// A window that really fills the display stops running while another
// program has the focus.
TEST_F(GameWindowTest, FocusLossStopsAWindowThatFillsTheDisplay) {
    open();
    window_->setFullScreen(true);
    ASSERT_TRUE(window_->getHandle()->isFullScreen());
    send(WM_SETFOCUS);
    send(WM_KILLFOCUS);
    EXPECT_TRUE(window_->isInactive());
    send(WM_SETFOCUS);
    EXPECT_FALSE(window_->isInactive());
}

TEST_F(GameWindowTest, AltEnterAndMaximiseSwitchFullScreenOnTheSameWindow) {
    open();
    const platform::Window* handle = window_->getHandle();
    const ImageDD* backImage = window_->getBackImage();

    send(WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN_BIT);
    EXPECT_TRUE(window_->isFullScreen());
    EXPECT_TRUE(window_->getHandle()->isFullScreen());
    ASSERT_EQ(hook_->count(EVENT_FULLSCREEN_CHANGED), 1);
    EXPECT_EQ(hook_->seen.back().message, (Message{EVENT_FULLSCREEN_CHANGED, 1, 0}));

    send(WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN_BIT);
    EXPECT_FALSE(window_->isFullScreen());
    EXPECT_EQ(hook_->count(EVENT_FULLSCREEN_CHANGED), 2);
    EXPECT_EQ(hook_->seen.back().message, (Message{EVENT_FULLSCREEN_CHANGED, 0, 0}));

    // Maximising asks for full screen; a full-screen window that reports
    // itself maximised asks for nothing.
    send(WM_SIZE, SIZE_MAXIMIZED);
    EXPECT_TRUE(window_->isFullScreen());
    send(WM_SIZE, SIZE_MAXIMIZED);
    EXPECT_TRUE(window_->isFullScreen());
    EXPECT_EQ(hook_->count(EVENT_FULLSCREEN_CHANGED), 3);

    // Setting the state it already has sends nothing.
    window_->setFullScreen(true);
    EXPECT_EQ(hook_->count(EVENT_FULLSCREEN_CHANGED), 3);
    EXPECT_EQ(window_->getHandle(), handle);
    EXPECT_EQ(window_->getBackImage(), backImage);
}

TEST_F(GameWindowTest, DesktopNoLargerThanTheWindowForcesFullScreen) {
    const auto desktop = getDesktopMode();
    ASSERT_TRUE(desktop);
    open(desktop->width, desktop->height, false);
    EXPECT_TRUE(window_->isFullScreen());
    EXPECT_FALSE(window_->isFullScreenSwitchAllowed());
    send(WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN_BIT);
    EXPECT_TRUE(window_->isFullScreen());
    EXPECT_EQ(hook_->count(EVENT_FULLSCREEN_CHANGED), 0);
}

TEST_F(GameWindowTest, RequestedTwoBytesPresentsThroughRgb565) {
    open(800, 600, true, 2);
    EXPECT_EQ(window_->getBytesPerPixel(), 2);
    ASSERT_NE(window_->getBackImage(), nullptr);
    EXPECT_EQ(window_->getBackImage()->getFormat(), kFormatRgb565);
    // The 16-bit renderer draws into the back buffer, and the frame shows.
    Graphics* graphics = window_->getGraphics();
    ASSERT_NE(graphics, nullptr);
    graphics->setColor(0xFF20C040U);
    graphics->clear();
    graphics->setColor(0xFFF80000U);
    graphics->fillRect(400, 0, 400, 600); // the right half
    window_->run(16);
    SDL_Window* sdlWindow = newestSdlWindow();
    ASSERT_NE(sdlWindow, nullptr);
    SDL_Surface* surface = SDL_GetWindowSurface(sdlWindow);
    ASSERT_NE(surface, nullptr);
    const auto shown = [surface](int x, int y) {
        Uint32 pixel = 0;
        std::memcpy(&pixel,
                    static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                        x * surface->format->BytesPerPixel,
                    surface->format->BytesPerPixel);
        Uint8 r = 0;
        Uint8 g = 0;
        Uint8 b = 0;
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
        return std::vector<int>{r, g, b};
    };
    // RGB565 keeps the top 5, 6 and 5 bits; the display widens them again.
    const std::vector<int> background = shown(surface->w / 4, surface->h / 2);
    const std::vector<int> right = shown(surface->w * 3 / 4, surface->h / 2);
    EXPECT_NEAR(background[0], 0x20, 8);
    EXPECT_NEAR(background[1], 0xC0, 4);
    EXPECT_NEAR(background[2], 0x40, 8);
    EXPECT_NEAR(right[0], 0xF8, 8);
    EXPECT_NEAR(right[1], 0, 4);
    EXPECT_NEAR(right[2], 0, 8);
    // Windowed, the desktop's depth applies whatever was requested.
    send(WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN_BIT);
    EXPECT_FALSE(window_->isFullScreen());
}

TEST_F(GameWindowTest, CloseRequestGoesToTheHandlerAndOtherwiseEndsTheProgram) {
    open();
    int asked = 0;
    window_->setCloseRequestHandler([&] {
        ++asked;
        return true; // a scene shows its quit dialog
    });
    send(WM_CLOSE);
    EXPECT_EQ(asked, 1);
    EXPECT_NE(window_->getHandle(), nullptr);
    EXPECT_TRUE(drainQueue().empty()) << "a close request must never quit by itself";

    window_->setCloseRequestHandler([&] {
        ++asked;
        return false; // declined: the default handling destroys the window
    });
    send(WM_CLOSE);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(window_->getHandle(), nullptr);
    EXPECT_EQ(hook_->codes(), (std::vector<std::uint32_t>{WM_CLOSE, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(drainQueue(), (std::vector<Message>{{WM_QUIT, 0, 0}}));
}

TEST_F(GameWindowTest, DestroyWhileRecreatingDoesNotQuit) {
    open();
    window_->recreate();
    EXPECT_NE(window_->getHandle(), nullptr);
    EXPECT_EQ(hook_->count(WM_DESTROY), 1);
    EXPECT_TRUE(drainQueue().empty());
}

TEST_F(GameWindowTest, WindowThatCannotBeMadeQuitsWithAFailureCode) {
    // A window of no size is refused in both modes.
    window_ = createGameWindow("Window test", 0, 0, false, 0, 0);
    ASSERT_NE(window_, nullptr);
    EXPECT_TRUE(window_->hasFailed());
    EXPECT_TRUE(window_->isInactive());
    EXPECT_EQ(window_->getHandle(), nullptr);

    int frames = 0;
    TimedTaskManager manager(FrameClock{[] { return 0U; },
                                        [](std::uint32_t) {
                                        }});
    struct Counter : Task {
        explicit Counter(int& n) : count(n) {}
        void run(int /*elapsedMs*/) override { ++count; }
        int& count;
    };
    manager.addTask(new Counter(frames));
    EXPECT_EQ(runMainLoop(*window_, manager, [](std::uint32_t) {}), kWindowFailureExitCode);
    EXPECT_EQ(frames, 0);
}

TEST_F(GameWindowTest, InactivePresentOnlySleepsAndCursorKindsMapToArrow) {
    open();
    std::vector<std::uint32_t> sleeps;
    setSleepFunction([&](std::uint32_t ms) { sleeps.push_back(ms); });
    window_->setInactive(true);
    window_->present();
    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{10}));

    window_->setCursor(3);
    EXPECT_EQ(window_->getCursorKind(), 3);
    window_->setCursor(0);
    EXPECT_EQ(window_->getCursorKind(), 0);
    window_->setCursor(42);
    EXPECT_EQ(window_->getCursorKind(), 2);
}

TEST_F(GameWindowTest, SdlEventsReachTheHooksThroughTheMainLoop) {
    open();
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    key.key.keysym.sym = SDLK_ESCAPE;
    key.key.state = SDL_PRESSED;
    ASSERT_EQ(SDL_PushEvent(&key), 1);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = 1;
    ASSERT_EQ(SDL_PushEvent(&close), 1);

    TimedTaskManager manager(FrameClock{[] { return 0U; },
                                        [](std::uint32_t) {
                                        }});
    EXPECT_EQ(runMainLoop(*window_, manager, [](std::uint32_t) {}), 0);
    const auto codes = hook_->codes();
    const std::vector<std::uint32_t> expected{WM_KEYDOWN, WM_CHAR, WM_CLOSE, WM_DESTROY};
    EXPECT_TRUE(std::search(codes.begin(), codes.end(), expected.begin(), expected.end()) !=
                codes.end());
}

TEST(SingleInstance, SecondStartAsksTheRunningCopyToRaiseItsWindow) {
    BasicProperties::create();
    BasicProperties::get()->getString("GAME_NAME") = "Single instance test";
    forgetDataFolders();
    {
        // The copy that runs already.
        const auto running = InstanceLock::acquire(getGameName(), getSharedDataFolder());
        ASSERT_NE(running, nullptr);
        EXPECT_TRUE(isAnotherInstanceRunning());
        EXPECT_TRUE(running->takeRaiseRequest());
    }
    // Once it has ended, this copy runs and holds the lock itself.
    EXPECT_FALSE(isAnotherInstanceRunning());
    EXPECT_EQ(InstanceLock::acquire(getGameName(), getSharedDataFolder()), nullptr);
    releaseInstanceLock();
    BasicProperties::destroyInstance();
    forgetDataFolders();
}

} // namespace
} // namespace orv
