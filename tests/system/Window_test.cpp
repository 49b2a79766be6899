// The window under SDL's dummy video driver, which the test runner selects:
// windows, renderers and the desktop exist only in memory, so frames can be
// read back from the window's surface.

#include "engine/system/Platform.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orv::platform {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr const char* kTitle = "Window test";

// The SDL window behind ours, found by its title (the platform keeps it
// private; tests only read its pixels and size).
SDL_Window* findSdlWindow() {
    for (Uint32 id = 1; id < 1000; ++id) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window != nullptr && std::string(SDL_GetWindowTitle(window)) == kTitle) {
            return window;
        }
    }
    return nullptr;
}

struct Rgb {
    int r;
    int g;
    int b;
};

// The colour the window shows at window pixel (x, y).
Rgb shownColour(int x, int y) {
    SDL_Window* window = findSdlWindow();
    SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (surface == nullptr || x >= surface->w || y >= surface->h) {
        ADD_FAILURE() << "no window surface";
        return {-1, -1, -1};
    }
    const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    Uint32 pixel = 0;
    std::memcpy(&pixel, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return {r, g, b};
}

void expectColour(Rgb shown, Rgb expected, int tolerance, const char* where) {
    EXPECT_NEAR(shown.r, expected.r, tolerance) << where;
    EXPECT_NEAR(shown.g, expected.g, tolerance) << where;
    EXPECT_NEAR(shown.b, expected.b, tolerance) << where;
}

// Four quadrants: red, green / blue, white, with a zero alpha byte in red to
// show that alpha is not applied.
std::vector<std::uint32_t> quadrantFrame() {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool right = x >= kWidth / 2;
            const bool bottom = y >= kHeight / 2;
            std::uint32_t colour = 0x00FF0000U;
            if (right && !bottom) {
                colour = 0xFF00FF00U;
            } else if (!right && bottom) {
                colour = 0xFF0000FFU;
            } else if (right && bottom) {
                colour = 0xFFFFFFFFU;
            }
            frame[static_cast<std::size_t>(y) * kWidth + x] = colour;
        }
    }
    return frame;
}

void drainMessages() {
    Message message;
    while (peekMessage(message)) {
    }
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        window = Window::create(kTitle, kWidth, kHeight, false, false);
        ASSERT_NE(window, nullptr) << Window::getLastError();
        drainMessages();
    }
    void TearDown() override {
        window.reset();
        drainMessages();
    }

    std::unique_ptr<Window> window;
};

TEST(Desktop, ReportsBytesPerPixelNotBitsOverEight) {
    const std::optional<DesktopMode> mode = getDesktopMode();
    ASSERT_TRUE(mode.has_value()) << Window::getLastError();
    EXPECT_GT(mode->width, 0);
    EXPECT_GT(mode->height, 0);
    // The dummy desktop is 24-bit colour in 32-bit pixels: 24 / 8 would be 3.
    EXPECT_EQ(mode->bytesPerPixel, 4);
}

TEST(WindowCreate, RefusesAnEmptySize) {
    EXPECT_EQ(Window::create(kTitle, 0, kHeight, false, false), nullptr);
    EXPECT_FALSE(Window::getLastError().empty());
}

TEST(WindowCreate, OpensFullScreenAcrossTheDesktop) {
    const auto window = Window::create(kTitle, kWidth, kHeight, true, true);
    ASSERT_NE(window, nullptr) << Window::getLastError();
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(window->getWidth(), kWidth);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(findSdlWindow(), &w, &h);
    EXPECT_EQ(w, getDesktopMode()->width);
    EXPECT_EQ(h, getDesktopMode()->height);
}

// OpenGL drawn by the processor is told apart by the driver's name, so that
// the window can present through SDL's cheaper software renderer instead.
TEST(WindowCreate, TellsSoftwareRasterizersByName) {
    struct Case {
        const char* name;
        bool software;
    };
    for (const Case& c :
         {Case{"llvmpipe (LLVM 15.0.6, 256 bits)", true}, Case{"softpipe", true},
          Case{"Mesa DRI Intel(R) HD Graphics 620 (KBL GT2)", false},
          Case{"Software Rasterizer", true}, Case{"SWRAST", true},
          Case{"NVIDIA GeForce GTX 1060/PCIe/SSE2", false},
          Case{"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)", false},
          Case{"", false}}) {
        EXPECT_EQ(isSoftwareRasterizer(c.name), c.software) << c.name;
    }
}

TEST_F(WindowTest, SaysWhatDrawsItsFrames) {
    // The dummy video driver has no OpenGL: SDL's software renderer draws.
    EXPECT_EQ(window->getRendererName(), "software");
}

TEST_F(WindowTest, PresentsPixelsInTheirColoursAndPlaces) {
    const std::vector<std::uint32_t> frame = quadrantFrame();
    ASSERT_TRUE(window->present(frame.data(), kWidth, kHeight, kWidth));
    expectColour(shownColour(100, 100), {255, 0, 0}, 0, "top left");
    expectColour(shownColour(700, 100), {0, 255, 0}, 0, "top right");
    expectColour(shownColour(100, 500), {0, 0, 255}, 0, "bottom left");
    expectColour(shownColour(700, 500), {255, 255, 255}, 0, "bottom right");
}

TEST_F(WindowTest, PresentsRowsWithAPitchWiderThanTheFrame) {
    // A 2 x 2 frame in rows of 3 pixels; the third column must never show.
    const std::vector<std::uint32_t> frame = {0xFF102030U, 0xFF102030U, 0xFFFFFFFFU,
                                              0xFF102030U, 0xFF102030U, 0xFFFFFFFFU};
    ASSERT_TRUE(window->present(frame.data(), 2, 2, 3));
    expectColour(shownColour(kWidth - 1, kHeight - 1), {0x10, 0x20, 0x30}, 0, "corner");
}

TEST_F(WindowTest, PresentsRgb565) {
    // Pure red, green and blue at full intensity, then a dark grey.
    const std::vector<std::uint16_t> frame = {0xF800, 0x07E0, 0x001F, 0x2104};
    ASSERT_TRUE(window->present565(frame.data(), 4, 1, 4));
    expectColour(shownColour(100, 300), {255, 0, 0}, 8, "red");
    expectColour(shownColour(300, 300), {0, 255, 0}, 8, "green");
    expectColour(shownColour(500, 300), {0, 0, 255}, 8, "blue");
    expectColour(shownColour(700, 300), {0x21, 0x20, 0x21}, 8, "grey");
    // Back to 32-bit frames on the same window.
    const std::vector<std::uint32_t> frame32 = quadrantFrame();
    ASSERT_TRUE(window->present(frame32.data(), kWidth, kHeight, kWidth));
    expectColour(shownColour(700, 100), {0, 255, 0}, 0, "after the switch");
}

TEST_F(WindowTest, RefusesMalformedFrames) {
    const std::vector<std::uint32_t> frame(16);
    EXPECT_FALSE(window->present(nullptr, 4, 4, 4));
    EXPECT_FALSE(window->present(frame.data(), 0, 4, 4));
    EXPECT_FALSE(window->present(frame.data(), 4, -1, 4));
    EXPECT_FALSE(window->present(frame.data(), 4, 4, 3));
    EXPECT_FALSE(window->present565(nullptr, 4, 4, 4));
    EXPECT_FALSE(window->setIcon(frame.data(), 4, 4, 2));
}

TEST_F(WindowTest, SwitchesFullScreenOnTheSameWindowAndBack) {
    SDL_Window* before = findSdlWindow();
    const std::vector<std::uint32_t> frame = quadrantFrame();
    const DesktopMode desktop = getDesktopMode().value();

    ASSERT_TRUE(window->setFullScreen(true));
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(findSdlWindow(), before);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(before, &w, &h);
    EXPECT_EQ(w, desktop.width);
    EXPECT_EQ(h, desktop.height);
    ASSERT_TRUE(window->present(frame.data(), kWidth, kHeight, kWidth));
    // The frame fills the desktop, scaled: its quadrants land in the
    // desktop's quadrants.
    expectColour(shownColour(w / 4, h / 4), {255, 0, 0}, 0, "full screen top left");
    expectColour(shownColour(3 * w / 4, 3 * h / 4), {255, 255, 255}, 0, "full screen bottom right");
    // Mouse positions stay in logical pixels.
    window->setCursorPosition(400, 300);
    EXPECT_EQ(window->getCursorPosition().x, 400);
    EXPECT_EQ(window->getCursorPosition().y, 300);

    EXPECT_TRUE(window->setFullScreen(true)); // already: nothing to do
    ASSERT_TRUE(window->setFullScreen(false));
    EXPECT_FALSE(window->isFullScreen());
    SDL_GetWindowSize(before, &w, &h);
    EXPECT_EQ(w, kWidth);
    EXPECT_EQ(h, kHeight);
    ASSERT_TRUE(window->present(frame.data(), kWidth, kHeight, kWidth));
    expectColour(shownColour(700, 500), {255, 255, 255}, 0, "windowed again");
}

TEST_F(WindowTest, CursorShowsHidesAndMoves) {
    window->setCursor(CursorKind::Hidden);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    window->setCursor(CursorKind::Hand);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    window->setCursor(CursorKind::Arrow);
    window->setCursor(static_cast<CursorKind>(99)); // unknown kinds change nothing
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    // (Where the pointer goes is checked full screen: the dummy driver has no
    // desktop pointer, so only a window at the desktop's corner agrees.)
    window->setMouseCapture(true);
    window->setMouseCapture(false);

    window->setCursor(CursorKind::Hidden);
    window.reset();
    // A closed window leaves the pointer visible.
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(WindowTest, TakesAnIconTitleAndVerticalBlankChoice) {
    const std::vector<std::uint32_t> icon(32 * 32, 0x80FF8000U);
    EXPECT_TRUE(window->setIcon(icon.data(), 32, 32, 32));
    window->setTitle(kTitle);
    EXPECT_NE(findSdlWindow(), nullptr);
    // The software renderer of the dummy driver may not switch it; asking
    // must not break presenting.
    (void)window->setWaitForVerticalBlank(true);
    (void)window->setWaitForVerticalBlank(false);
    const std::vector<std::uint32_t> frame = quadrantFrame();
    EXPECT_TRUE(window->present(frame.data(), kWidth, kHeight, kWidth));
    window->minimize();
    window->raise();
}

TEST_F(WindowTest, ClipboardRoundTripsWideText) {
    const std::wstring text = L"Gr\u00FC\u00DFe \u20AC \U0001F600 line\nbreak";
    if (!window->setClipboardText(text)) {
        GTEST_SKIP() << "the video driver has no clipboard";
    }
    EXPECT_EQ(window->getClipboardText(), text);
    // A lone surrogate is no character: it travels as U+FFFD.
    ASSERT_TRUE(window->setClipboardText(std::wstring(1, static_cast<wchar_t>(0xD800))));
    EXPECT_EQ(window->getClipboardText(), L"\uFFFD");
    ASSERT_TRUE(window->setClipboardText(L""));
    EXPECT_EQ(window->getClipboardText(), L"");
}

TEST(MessageQueue, PostedMessagesComeBackInOrderWithTheQuitLast) {
    drainMessages();
    postMessage({WM_CLOSE, 0, 0});
    postMessage({WM_SIZE, SIZE_MINIMIZED, 0});
    postQuitMessage(3);
    Message message;
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message, (Message{WM_CLOSE, 0, 0}));
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message, (Message{WM_SIZE, SIZE_MINIMIZED, 0}));
    ASSERT_TRUE(peekMessage(message));
    EXPECT_EQ(message, (Message{WM_QUIT, 3, 0}));
    EXPECT_FALSE(peekMessage(message));
}

TEST_F(WindowTest, SystemEventsArriveAsMessages) {
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.windowID = SDL_GetWindowID(findSdlWindow());
    click.button.button = SDL_BUTTON_LEFT;
    click.button.state = SDL_PRESSED;
    click.button.clicks = 2;
    click.button.x = 40;
    click.button.y = 30;
    ASSERT_EQ(SDL_PushEvent(&click), 1);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = click.button.windowID;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    ASSERT_EQ(SDL_PushEvent(&close), 1);
    postMessage({WM_PAINT, 0, 0});

    std::vector<Message> messages;
    Message message;
    while (peekMessage(message)) {
        messages.push_back(message);
    }
    // The posted message was queued first; the system's events join the
    // queue when it is next asked, in their own order. The double click keeps
    // its position (the window is at its logical size, so nothing scales).
    const std::vector<Message> expected = {
        {WM_PAINT, 0, 0}, {WM_LBUTTONDBLCLK, MK_LBUTTON, packPoint(40, 30)}, {WM_CLOSE, 0, 0}};
    EXPECT_EQ(messages, expected);
}

TEST(OpenUrl, RefusesAnythingButWebAndMailLinks) {
    for (const char* url : {"", "file:///etc/passwd", "/usr/bin/xterm", "-e", "javascript:alert(1)",
                            "http://", "https:", "ftp://example.com", "http://example.com/a b",
                            "https://example.com\n-x", "mailto:"}) {
        EXPECT_FALSE(openUrl(url)) << url;
    }
}

TEST(MessageBox, WithoutAScreenWritesToStandardError) {
    testing::internal::CaptureStderr();
    showMessageBox(MessageBoxKind::Error, "Error",
                   "Something went wrong with creating the game-window.");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Something went wrong with creating the game-window.\n");
}

} // namespace
} // namespace orv::platform
