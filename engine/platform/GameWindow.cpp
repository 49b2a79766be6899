#include "engine/platform/GameWindow.h"

#include "engine/platform/DataFolders.h"

#include "engine/core/Log.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/ImageManager.h"
#include "engine/resources/ImageSurface.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace orv {

constinit const ClassRecord GameWindow::classRecord{"GameWindow", parentRecords<Task::classRecord>};
constinit const ClassRecord WebGameWindow::classRecord{"WebGameWindow",
                                                       parentRecords<GameWindow::classRecord>};

namespace {

RefPtr<GameWindow> theWindow;

// Set while the window is made again in the other mode after a first
// failure; a failure then is final.
bool secondAttempt = false;

// The single-instance lock of the running copy, held for the whole process.
std::unique_ptr<platform::InstanceLock> instanceLock;

constexpr std::uint32_t kInactivePresentSleepMs = 10;
// An unchanged frame is still shown this often, in case the display server
// lost the window's contents without asking for a repaint.
constexpr std::uint32_t kUnchangedFrameRefreshMs = 1000;
constexpr int kArrowCursor = 2;
constexpr int kLastCursorKind = 6;

bool isSupportedDepth(int bytesPerPixel) {
    return bytesPerPixel == 2 || bytesPerPixel == 4;
}

} // namespace

GameWindow::GameWindow() : messageHandler_(new MessageHandler()) {}

GameWindow::~GameWindow() {
    releaseDisplay();
}

GameWindow* GameWindow::getInstance() {
    return theWindow.get();
}

void GameWindow::setInstance(GameWindow* window) {
    theWindow = window;
}

bool GameWindow::create(std::string_view title, int x, int y, int width, int height,
                        bool fullScreen, int requestedBytesPerPixel) {
    title_ = title;
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    requestedBytesPerPixel_ = requestedBytesPerPixel;
    fullScreenSwitchAllowed_ = true;
    failed_ = false;
    // A desktop that the window would fill anyway (800 x 600 or less) gets
    // full screen only.
    if (const auto desktop = platform::getDesktopMode();
        desktop && desktop->width <= width && desktop->height <= height) {
        fullScreenSwitchAllowed_ = false;
        fullScreen = true;
    }
    fullScreen_ = fullScreen;
    initialise();
    return !failed_;
}

void GameWindow::initialise() {
    if (!messageHandler_) {
        messageHandler_ = new MessageHandler();
    }
    if (createDisplay()) {
        secondAttempt = false;
        setInactive(false);
        return;
    }
    logWarning("Game window (" + std::string(fullScreen_ ? "full screen" : "windowed") +
               ") could not be made: " + platform::Window::getLastError());
    if (secondAttempt) {
        secondAttempt = false;
        platform::showMessageBox(
            platform::MessageBoxKind::Error, "Error",
            "Something went wrong with creating the game-window.\nThis game will quit now.");
        // Not code 0: the program must not take this for a normal quit, which
        // would save the players' files after a start that never ran.
        failed_ = true;
        platform::postQuitMessage(kWindowFailureExitCode);
        setInactive(true);
        return;
    }
    fullScreen_ = !fullScreen_;
    secondAttempt = true;
    setInactive(true);
    recreate();
}

bool GameWindow::createDisplay() {
    // The desktop's bytes per pixel as stored in memory (4 for 24-bit colour
    // in 32-bit pixels), never its colour depth divided by 8.
    const auto desktop = platform::getDesktopMode();
    const int desktopBytes = desktop ? desktop->bytesPerPixel : 4;
    if (!fullScreen_) {
        if (isSupportedDepth(desktopBytes)) {
            bytesPerPixel_ = desktopBytes;
        } else {
            // A desktop of another depth can only be served full screen.
            fullScreen_ = true;
        }
    }
    if (fullScreen_) {
        int desktopDepth = desktopBytes;
        if (!isSupportedDepth(desktopDepth)) {
            desktopDepth = 2;
            requestedBytesPerPixel_ = 2;
            fullScreenSwitchAllowed_ = false;
        }
        bytesPerPixel_ = (requestedBytesPerPixel_ == 0 || requestedBytesPerPixel_ == 3)
                             ? desktopDepth
                             : requestedBytesPerPixel_;
        if (!isSupportedDepth(bytesPerPixel_)) {
            bytesPerPixel_ = desktopDepth;
        }
    }

    handle_ = platform::Window::create(title_, width_, height_, fullScreen_, waitForVerticalBlank_);
    if (!handle_) {
        return false;
    }
    logInfo("window: frames drawn by " + handle_->getRendererName());
    if (!createBackBuffer()) {
        handle_.reset();
        return false;
    }
    shownCursorKind_ = -1;
    applyCursor();
    return true;
}

bool GameWindow::createBackBuffer() {
    // Pictures follow the display's depth; convert them before the new
    // back buffer is made in it.
    if (ImageManager* images = ImageManager::getInstance()) {
        images->setPixelFormatAll(bytesPerPixel_);
    }
    const RefPtr<ImageSurface> surface = ImageSurface::create(width_, height_, bytesPerPixel_);
    if (!surface) {
        return false;
    }
    backImage_ = new ImageDD(surface.get(), bytesPerPixel_);
    backImage_->setFollowsDisplayFormat(true);
    // Both depths have a drawing interface: 32-bit ARGB and 16-bit RGB565.
    graphics_ = createGraphics(*backImage_);
    return true;
}

void GameWindow::releaseDisplay() {
    shownFrame_.clear();
    graphics_ = nullptr;
    backImage_ = nullptr;
    handle_.reset();
}

void GameWindow::destroyWindow() {
    const bool hadWindow = handle_ != nullptr;
    releaseDisplay();
    if (hadWindow) {
        windowProc({platform::WM_DESTROY, 0, 0});
    }
}

void GameWindow::recreate() {
    recreating_ = true;
    destroyWindow();
    recreating_ = false;
    initialise();
    centre();
    show();
}

void GameWindow::run(int elapsedMs) {
    static_cast<void>(elapsedMs);
    static_cast<void>(presentIfChanged());
}

bool GameWindow::presentIfChanged() {
    if (inactive_ || !handle_ || !backImage_ || !backImage_->lock()) {
        present();
        return false;
    }
    const auto* pixels = static_cast<const std::uint8_t*>(backImage_->getPixels());
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * bytesPerPixel_;
    const auto pitch = static_cast<std::size_t>(backImage_->getPitch());
    const std::size_t frameBytes = rowBytes * static_cast<std::size_t>(height_);
    const std::uint32_t now = platform::getMilliseconds();
    bool same = shownFrame_.size() == frameBytes && now - shownAtMs_ < kUnchangedFrameRefreshMs;
    for (int row = 0; same && row < height_; ++row) {
        const std::size_t offset = static_cast<std::size_t>(row) * rowBytes;
        same = std::memcmp(shownFrame_.data() + offset, pixels + row * pitch, rowBytes) == 0;
    }
    if (!same) {
        shownFrame_.resize(frameBytes);
        for (int row = 0; row < height_; ++row) {
            std::memcpy(shownFrame_.data() + static_cast<std::size_t>(row) * rowBytes,
                        pixels + row * pitch, rowBytes);
        }
    }
    backImage_->unlock();
    if (same) {
        return false;
    }
    present();
    if (presentFailing_) {
        shownFrame_.clear();
    } else {
        shownAtMs_ = now;
    }
    return true;
}

void GameWindow::present() {
    if (inactive_) {
        platform::sleepMilliseconds(kInactivePresentSleepMs);
        return;
    }
    if (!handle_ || !backImage_ || !backImage_->lock()) {
        return;
    }
    const int pitchBytes = backImage_->getPitch();
    bool shown = false;
    if (bytesPerPixel_ == 4) {
        shown = handle_->present(reinterpret_cast<const std::uint32_t*>(backImage_->getPixels()),
                                 width_, height_, pitchBytes / 4);
    } else {
        shown = handle_->present565(reinterpret_cast<const std::uint16_t*>(backImage_->getPixels()),
                                    width_, height_, pitchBytes / 2);
    }
    backImage_->unlock();
    // Said once when frames stop showing, not sixty times a second.
    if (!shown && !presentFailing_) {
        logWarning("Frames not shown: " + platform::Window::getLastError());
    }
    presentFailing_ = !shown;
}

void GameWindow::setTitle(std::string_view title) {
    title_ = title;
    if (handle_) {
        handle_->setTitle(title);
    }
}

bool GameWindow::isFullScreen() const {
    return handle_ ? handle_->isFullScreen() : fullScreen_;
}

void GameWindow::setFullScreen(bool fullScreen) {
    if (fullScreen == fullScreen_) {
        return;
    }
    if (handle_ && !handle_->setFullScreen(fullScreen)) {
        logWarning("Full-screen switch refused: " + platform::Window::getLastError());
        return;
    }
    fullScreen_ = fullScreen;
    sendToHooks(EVENT_FULLSCREEN_CHANGED, fullScreen ? 1U : 0U, 0);
}

void GameWindow::setWaitForVerticalBlank(bool wait) {
    waitForVerticalBlank_ = wait;
    if (handle_ && !handle_->setWaitForVerticalBlank(wait)) {
        logWarning("Vertical-blank wait not changed: " + platform::Window::getLastError());
    }
}

void GameWindow::minimize() {
    platform::postMessage({platform::WM_SYSCOMMAND, platform::SC_MINIMIZE, 0});
}

bool GameWindow::setIconImage(Image& image) {
    if (!handle_ || image.getFormat() != kFormatArgb32 || !image.lock()) {
        return false;
    }
    const bool set = handle_->setIcon(reinterpret_cast<const std::uint32_t*>(image.getPixels()),
                                      image.getWidth(), image.getHeight(), image.getPitch() / 4);
    image.unlock();
    return set;
}

void GameWindow::setCursor(int kind) {
    cursorKind_ = (kind >= 0 && kind <= kLastCursorKind) ? kind : kArrowCursor;
    if (cursorKind_ != shownCursorKind_) {
        applyCursor();
    }
}

void GameWindow::applyCursor() {
    if (handle_) {
        handle_->setCursor(static_cast<platform::CursorKind>(cursorKind_));
        shownCursorKind_ = cursorKind_;
    }
}

platform::WindowPoint GameWindow::getCursorPosition() const {
    return handle_ ? handle_->getCursorPosition() : platform::WindowPoint{};
}

void GameWindow::sendToHooks(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    if (messageHandler_) {
        messageHandler_->dispatch(message, wParam, lParam);
    }
}

void GameWindow::windowProc(const platform::Message& message) {
    // Keep the window alive through the call: a hook or the close handler may
    // drop the process-wide reference. (A window nobody references yet must
    // not be freed by this guard's release.)
    const RefPtr<GameWindow> keep(getRefCount() > 0 ? this : nullptr);
    sendToHooks(message.message, message.wParam, message.lParam);
    if (handleMessage(message)) {
        return;
    }
    // What the desktop does with a message the window leaves to it.
    if (message.message == platform::WM_CLOSE) {
        destroyWindow();
    } else if (message.message == platform::WM_SYSCOMMAND &&
               message.wParam == platform::SC_MINIMIZE && handle_) {
        handle_->minimize();
    }
}

bool GameWindow::handleMessage(const platform::Message& message) {
    using namespace platform;
    switch (message.message) {
    case WM_DESTROY:
        if (isKindOf(WebGameWindow::classRecord)) {
            return false;
        }
        if (!recreating_) {
            postQuitMessage(failed_ ? kWindowFailureExitCode : 0);
        }
        return true;
    case WM_SIZE:
        if (message.wParam == SIZE_MINIMIZED) {
            sendToHooks(EVENT_DEACTIVATED, 0, 0);
            setInactive(true);
        } else if (message.wParam == SIZE_MAXIMIZED) {
            // Maximising asks for full screen; a full-screen window reports
            // itself maximised on some desktops, which asks for nothing.
            if (!fullScreen_ && fullScreenSwitchAllowed_) {
                toggleFullScreen();
            }
            show();
        } else if (message.wParam == SIZE_RESTORED) {
            sendToHooks(EVENT_ACTIVATED, 0, 0);
            setInactive(false);
        }
        return true;
    case WM_SETFOCUS:
        setInactive(false);
        hasFocus_ = true;
        sendToHooks(EVENT_ACTIVATED, 0, 0);
        return false;
    case WM_KILLFOCUS:
        // Only a window that really fills the display stops running when the
        // focus goes: one that asked for full screen but shows in a window
        // stays in sight, and its animations must go on (without a window
        // manager the focus leaves with the pointer).
        if (isFullScreen()) {
            setInactive(true);
        }
        sendToHooks(EVENT_DEACTIVATED, 0, 0);
        hasFocus_ = false;
        return true;
    case WM_PAINT:
        shownFrame_.clear();
        present();
        return false;
    case WM_CLOSE:
        return closeRequestHandler_ && closeRequestHandler_();
    case WM_ACTIVATEAPP:
        if (message.wParam != 0) {
            setInactive(false);
        }
        return true;
    case WM_KEYDOWN:
        onKeyDown(message.wParam);
        return false;
    case WM_SYSKEYDOWN:
        if (message.wParam == VK_RETURN && fullScreenSwitchAllowed_) {
            toggleFullScreen();
        }
        return false;
    case WM_SYSCOMMAND:
        return message.wParam == SC_KEYMENU;
    case WM_LBUTTONDOWN:
        if (handle_) {
            handle_->setMouseCapture(true);
        }
        applyCursor();
        return false;
    case WM_LBUTTONUP:
        if (handle_) {
            handle_->setMouseCapture(false);
        }
        return false;
    default:
        return false;
    }
}

void GameWindow::pollRaiseRequest() {
    if (instanceLock && instanceLock->takeRaiseRequest() && handle_) {
        handle_->raise();
    }
}

GameWindow* createGameWindow(std::string_view title, int width, int height, bool fullScreen,
                             int requestedBytesPerPixel, int iconId) {
    GameWindow::setInstance(new GameWindow());
    GameWindow* window = GameWindow::getInstance();
    window->setIconId(iconId);
    static_cast<void>(
        window->create(title, 0, 0, width, height, fullScreen, requestedBytesPerPixel));
    window->centre();
    window->show();
    return window;
}

bool isAnotherInstanceRunning() {
    if (instanceLock) {
        return false;
    }
    // The lock guards what two copies would fight over: the players' data.
    const std::string folder = getSharedDataFolder();
    static_cast<void>(platform::ensureDirectory(folder));
    instanceLock = platform::InstanceLock::acquire(getGameName(), folder);
    if (instanceLock) {
        return false;
    }
    if (platform::InstanceLock::lastAcquireFailed()) {
        logWarning("Single-instance lock could not be made in " + folder + "; starting without it");
        return false;
    }
    return true;
}

void releaseInstanceLock() {
    instanceLock.reset();
}

void setClipboardText(std::wstring_view text) {
    GameWindow* window = GameWindow::getInstance();
    if (window != nullptr && window->getHandle() != nullptr) {
        static_cast<void>(window->getHandle()->setClipboardText(text));
    }
}

std::wstring getClipboardText() {
    GameWindow* window = GameWindow::getInstance();
    if (window == nullptr || window->getHandle() == nullptr) {
        return {};
    }
    return window->getHandle()->getClipboardText();
}

} // namespace orv
