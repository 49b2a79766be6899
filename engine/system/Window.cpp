#include "engine/system/EndRequests.h"
#include "engine/system/Platform.h"

#include <SDL.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace orv::platform {

namespace {

// After the display connection is lost, SDL's video objects are left to the
// process's end: destroying them would wait for the display server forever.
struct WindowDeleter {
    void operator()(SDL_Window* window) const {
        if (!isDisplayLost()) {
            SDL_DestroyWindow(window);
        }
    }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* renderer) const {
        if (!isDisplayLost()) {
            SDL_DestroyRenderer(renderer);
        }
    }
};
struct TextureDeleter {
    void operator()(SDL_Texture* texture) const {
        if (!isDisplayLost()) {
            SDL_DestroyTexture(texture);
        }
    }
};
struct CursorDeleter {
    void operator()(SDL_Cursor* cursor) const {
        if (!isDisplayLost()) {
            SDL_FreeCursor(cursor);
        }
    }
};
struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

std::string lastError;

void noteError(std::string_view what) {
    lastError = std::string(what) + ": " + SDL_GetError();
}

// Holds the video subsystem for as long as it lives. SDL counts these, so a
// desktop query while the window is open neither starts nor stops anything.
class VideoSession {
public:
    VideoSession() : ok_((claimTerminationSignals(), SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)) {
        if (!ok_) {
            noteError("video start");
        }
    }
    VideoSession(const VideoSession&) = delete;
    VideoSession& operator=(const VideoSession&) = delete;
    ~VideoSession() {
        if (ok_ && !isDisplayLost()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    [[nodiscard]] bool ok() const { return ok_; }

private:
    bool ok_;
};

// Questions asked before or between windows (the desktop's size, asked
// several times during start-up) start the video subsystem once and leave it
// running: every start and stop connects to the display server anew, which
// cost tens of milliseconds of each start-up. A failed start is tried again.
bool keepVideoStarted() {
    static bool started = false;
    if (!started) {
        claimTerminationSignals();
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!started) {
            noteError("video start");
        }
    }
    return started;
}

bool isValidFrame(const void* pixels, int width, int height, int pitch) {
    return pixels != nullptr && width > 0 && height > 0 && pitch >= width;
}

// GL_RENDERER of glGetString.
constexpr unsigned kGlRenderer = 0x1F01;

// The GL renderer's name behind `renderer` when it draws through OpenGL
// (its context is current right after creation); empty otherwise.
std::string glRendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
        std::string_view(info.name).find("opengl") == std::string_view::npos) {
        return {};
    }
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
    return name != nullptr ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

// Whether a graphics processor's driver can be reached at all: a DRM device
// (what Mesa's hardware drivers open) or NVIDIA's own device. Without one
// every OpenGL is drawn by the processor, so it is not even tried.
bool hasGraphicsDevice() {
    const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (forced != nullptr && *forced != '\0' && std::string_view(forced) != "0") {
        return false;
    }
    std::error_code error;
    if (std::filesystem::exists("/dev/nvidia0", error)) {
        return true;
    }
    for (std::filesystem::directory_iterator entry("/dev/dri", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.starts_with("renderD") || name.starts_with("card")) {
            return true;
        }
    }
    return false;
}

constexpr std::size_t kCursorKinds = 7;

SDL_SystemCursor systemCursorFor(CursorKind kind) {
    switch (kind) {
    case CursorKind::AppStarting:
        return SDL_SYSTEM_CURSOR_WAITARROW;
    case CursorKind::Hand:
        return SDL_SYSTEM_CURSOR_HAND;
    case CursorKind::Wait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case CursorKind::IBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// The bounds of the display that shows `window` (the first display without
// one); the origin alone when they cannot be read.
SDL_Rect displayBounds(SDL_Window* window = nullptr) {
    const int index = window != nullptr ? std::max(SDL_GetWindowDisplayIndex(window), 0) : 0;
    SDL_Rect bounds{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(index, &bounds) != 0) {
        bounds = SDL_Rect{0, 0, 0, 0};
    }
    return bounds;
}

} // namespace

struct Window::Impl {
    // Declared first so that it ends last, after everything made under it.
    VideoSession video;
    std::unique_ptr<SDL_Window, WindowDeleter> window;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture;
    // What draws the frames: the GL renderer's name, or "software".
    std::string rendererName;
    Uint32 textureFormat = 0;
    int textureWidth = 0;
    int textureHeight = 0;
    int width = 0;
    int height = 0;
    bool fullScreen = false;
    std::array<std::unique_ptr<SDL_Cursor, CursorDeleter>, kCursorKinds> cursors;

    // The streaming texture that frames of this format and size go through;
    // made again only when either changes.
    SDL_Texture* textureFor(Uint32 format, int frameWidth, int frameHeight) {
        if (!texture || textureFormat != format || textureWidth != frameWidth ||
            textureHeight != frameHeight) {
            texture.reset(SDL_CreateTexture(renderer.get(), format, SDL_TEXTUREACCESS_STREAMING,
                                            frameWidth, frameHeight));
            if (!texture) {
                noteError("frame texture");
                return nullptr;
            }
            // The back buffer's alpha is not coverage: draw the frame opaque.
            SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_NONE);
            textureFormat = format;
            textureWidth = frameWidth;
            textureHeight = frameHeight;
        }
        return texture.get();
    }

    bool presentFrame(Uint32 format, const void* pixels, int frameWidth, int frameHeight,
                      int pitchBytes) {
        SDL_Texture* target = textureFor(format, frameWidth, frameHeight);
        if (target == nullptr) {
            return false;
        }
        if (SDL_UpdateTexture(target, nullptr, pixels, pitchBytes) != 0) {
            noteError("frame upload");
            return false;
        }
        // Clearing paints the letterbox bars black when full screen.
        SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
        if (SDL_RenderClear(renderer.get()) != 0 ||
            SDL_RenderCopy(renderer.get(), target, nullptr, nullptr) != 0) {
            noteError("frame draw");
            return false;
        }
        SDL_RenderPresent(renderer.get());
        return true;
    }
};

std::optional<DesktopMode> getDesktopMode() {
    if (!keepVideoStarted()) {
        return std::nullopt;
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        noteError("desktop mode");
        return std::nullopt;
    }
    return DesktopMode{mode.w, mode.h, static_cast<int>(SDL_BYTESPERPIXEL(mode.format))};
}

std::unique_ptr<Window> Window::create(std::string_view title, int width, int height,
                                       bool fullScreen, bool waitForVerticalBlank) {
    if (width <= 0 || height <= 0) {
        lastError = "window size must be positive";
        return nullptr;
    }
    // The close button asks the game (WM_CLOSE); the game decides whether to
    // end, so SDL must not add a quit request of its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");

    auto impl = std::make_unique<Impl>();
    if (!impl->video.ok()) {
        return nullptr;
    }
    impl->width = width;
    impl->height = height;
    // Resizable so that the desktop offers the maximise button, which the game
    // takes as the request for full screen; any other size just scales.
    Uint32 flags = SDL_WINDOW_RESIZABLE;
    if (fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    const std::string titleText(title);
    // Full screen starts at the display's corner: without a window manager
    // to place it, a window made at the centre would keep its place when it
    // grows to the display's size and hang off its lower right.
    const SDL_Rect display = displayBounds();
    const int x = fullScreen ? display.x : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    const int y = fullScreen ? display.y : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    // And it is made at the display's size: without a window manager nothing
    // grows it, and the picture, scaled to the display, would be cut to the
    // window's first size.
    const bool fillDisplay = fullScreen && display.w > 0 && display.h > 0;
    const int shownWidth = fillDisplay ? display.w : width;
    const int shownHeight = fillDisplay ? display.h : height;
    const auto makeWindow = [&] {
        impl->window.reset(
            SDL_CreateWindow(titleText.c_str(), x, y, shownWidth, shownHeight, flags));
        if (!impl->window) {
            noteError("window");
            return false;
        }
        watchDisplayConnection(impl->window.get());
        return true;
    };
    if (!makeWindow()) {
        return nullptr;
    }
    impl->fullScreen = fullScreen;

    const Uint32 vsync = waitForVerticalBlank ? SDL_RENDERER_PRESENTVSYNC : 0;
    // A renderer asked for by name (SDL_RENDER_DRIVER) is always tried.
    if (hasGraphicsDevice() || SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr) {
        impl->renderer.reset(
            SDL_CreateRenderer(impl->window.get(), -1, SDL_RENDERER_ACCELERATED | vsync));
    }
    if (impl->renderer) {
        impl->rendererName = glRendererName(impl->renderer.get());
        if (isSoftwareRasterizer(impl->rendererName)) {
            // OpenGL drawn by the processor costs several times what SDL's own
            // software renderer does for one full-window picture, and keeps
            // the GL driver's libraries in memory: start over without GL.
            impl->renderer.reset();
            impl->window.reset();
            if (!makeWindow()) {
                return nullptr;
            }
        }
    }
    if (!impl->renderer) {
        // The window's picture then goes straight to the display server
        // rather than through a GL texture of its own.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        impl->renderer.reset(
            SDL_CreateRenderer(impl->window.get(), -1, SDL_RENDERER_SOFTWARE | vsync));
        impl->rendererName = "software";
    }
    if (!impl->renderer) {
        noteError("renderer");
        return nullptr;
    }
    if (SDL_RenderSetLogicalSize(impl->renderer.get(), width, height) != 0) {
        noteError("logical size");
        return nullptr;
    }
    SDL_StartTextInput();
    // The first present sets up the renderer's and the display server's
    // buffers, which takes a good part of the start-up: pay it now with a
    // black picture, while the game's first pictures load on other threads.
    SDL_SetRenderDrawColor(impl->renderer.get(), 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(impl->renderer.get());
    SDL_RenderPresent(impl->renderer.get());
    return std::unique_ptr<Window>(new Window(std::move(impl)));
}

std::string Window::getLastError() {
    return lastError;
}

Window::Window(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Window::~Window() {
    if (isDisplayLost()) {
        return;
    }
    // The pointer shapes belong to the video system: give back the default
    // before ours go, and show the pointer again for whatever comes next.
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_ShowCursor(SDL_ENABLE);
    SDL_CaptureMouse(SDL_FALSE);
}

bool isSoftwareRasterizer(std::string_view glRenderer) {
    std::string lower(glRenderer);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const std::string_view mark : {"llvmpipe", "softpipe", "swrast", "software rasterizer"}) {
        if (lower.find(mark) != std::string::npos) {
            return true;
        }
    }
    return false;
}

const std::string& Window::getRendererName() const {
    return impl_->rendererName;
}

int Window::getWidth() const {
    return impl_->width;
}

int Window::getHeight() const {
    return impl_->height;
}

void Window::setTitle(std::string_view title) {
    const std::string text(title);
    SDL_SetWindowTitle(impl_->window.get(), text.c_str());
}

bool Window::setFullScreen(bool fullScreen) {
    SDL_Window* window = impl_->window.get();
    if (fullScreen == impl_->fullScreen) {
        return true;
    }
    if (fullScreen) {
        // Full screen entered from a maximised window would come back
        // maximised, which the game would take as a new request for full
        // screen.
        if ((SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED) != 0) {
            SDL_RestoreWindow(window);
        }
        const SDL_Rect display = displayBounds(window);
        SDL_SetWindowPosition(window, display.x, display.y);
        if (display.w > 0 && display.h > 0) {
            SDL_SetWindowSize(window, display.w, display.h);
        }
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            noteError("full screen");
            return false;
        }
    } else {
        if (SDL_SetWindowFullscreen(window, 0) != 0) {
            noteError("windowed");
            return false;
        }
        SDL_SetWindowSize(window, impl_->width, impl_->height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    impl_->fullScreen = fullScreen;
    return true;
}

bool Window::isFullScreen() const {
    // What the display shows, not what was asked for.
    return (SDL_GetWindowFlags(impl_->window.get()) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool Window::setWaitForVerticalBlank(bool wait) {
    if (SDL_RenderSetVSync(impl_->renderer.get(), wait ? 1 : 0) != 0) {
        noteError("vertical blank");
        return false;
    }
    return true;
}

bool Window::present(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (!isValidFrame(pixels, width, height, pitch)) {
        lastError = "malformed frame";
        return false;
    }
    // RGB888 is SDL's name for 32-bit 0x00RRGGBB words, the back buffer's
    // layout with the alpha byte left unread.
    return impl_->presentFrame(SDL_PIXELFORMAT_RGB888, pixels, width, height,
                               pitch * static_cast<int>(sizeof(std::uint32_t)));
}

bool Window::present565(const std::uint16_t* pixels, int width, int height, int pitch) {
    if (!isValidFrame(pixels, width, height, pitch)) {
        lastError = "malformed frame";
        return false;
    }
    return impl_->presentFrame(SDL_PIXELFORMAT_RGB565, pixels, width, height,
                               pitch * static_cast<int>(sizeof(std::uint16_t)));
}

void Window::raise() {
    SDL_Window* window = impl_->window.get();
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0) {
        SDL_RestoreWindow(window);
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

void Window::minimize() {
    SDL_MinimizeWindow(impl_->window.get());
}

bool Window::setIcon(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (!isValidFrame(pixels, width, height, pitch)) {
        lastError = "malformed icon";
        return false;
    }
    // SDL only reads the pixels here and copies them for the window.
    const std::unique_ptr<SDL_Surface, SurfaceDeleter> surface(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(pixels), width, height, 32,
        pitch * static_cast<int>(sizeof(std::uint32_t)), SDL_PIXELFORMAT_ARGB8888));
    if (!surface) {
        noteError("icon");
        return false;
    }
    SDL_SetWindowIcon(impl_->window.get(), surface.get());
    return true;
}

void Window::setCursor(CursorKind kind) {
    if (kind == CursorKind::Hidden) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    const auto index = static_cast<std::size_t>(kind);
    if (index >= impl_->cursors.size()) {
        return;
    }
    auto& cursor = impl_->cursors.at(index);
    if (!cursor) {
        cursor.reset(SDL_CreateSystemCursor(systemCursorFor(kind)));
    }
    // A desktop without that shape keeps the one shown.
    if (cursor) {
        SDL_SetCursor(cursor.get());
    }
    SDL_ShowCursor(SDL_ENABLE);
}

WindowPoint Window::getCursorPosition() const {
    SDL_Window* window = impl_->window.get();
    int windowX = 0;
    int windowY = 0;
    if (SDL_GetMouseFocus() == window) {
        // Over the window SDL knows the position relative to it exactly.
        SDL_GetMouseState(&windowX, &windowY);
    } else {
        // Outside, only the desktop position tells where the pointer went.
        int desktopX = 0;
        int desktopY = 0;
        SDL_GetGlobalMouseState(&desktopX, &desktopY);
        int left = 0;
        int top = 0;
        SDL_GetWindowPosition(window, &left, &top);
        windowX = desktopX - left;
        windowY = desktopY - top;
    }
    float logicalX = 0.0F;
    float logicalY = 0.0F;
    SDL_RenderWindowToLogical(impl_->renderer.get(), windowX, windowY, &logicalX, &logicalY);
    // Truncation toward zero, as the mouse messages convert their positions.
    return WindowPoint{static_cast<int>(logicalX), static_cast<int>(logicalY)};
}

void Window::setCursorPosition(int x, int y) {
    int windowX = 0;
    int windowY = 0;
    SDL_RenderLogicalToWindow(impl_->renderer.get(), static_cast<float>(x), static_cast<float>(y),
                              &windowX, &windowY);
    SDL_WarpMouseInWindow(impl_->window.get(), windowX, windowY);
}

void Window::setMouseCapture(bool capture) {
    // Refused while the window lacks the focus; SDL then captures on its own
    // while a button is held, which is when capture matters.
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

} // namespace orv::platform
