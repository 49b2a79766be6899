#pragma once

#include "engine/core/MessageHandler.h"
#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"
#include "engine/graphics/Graphics.h"
#include "engine/resources/ImageDD.h"
#include "engine/system/Messages.h"
#include "engine/system/Platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

/// Codes the window sends to its message hooks besides the platform's window
/// messages (wParam as noted, lParam 0).
/// wParam: the new full-screen state, 0 or 1.
inline constexpr std::uint32_t EVENT_FULLSCREEN_CHANGED = 0xAF00FA00U;
/// Minimised or lost the focus.
inline constexpr std::uint32_t EVENT_DEACTIVATED = 0xAF00FA01U;
/// Restored or gained the focus.
inline constexpr std::uint32_t EVENT_ACTIVATED = 0xAF00FA02U;

/// The exit code the main loop ends with when the window could be created
/// neither full screen nor windowed. Start-up must then save nothing.
inline constexpr int kWindowFailureExitCode = 1;

/// The game's one window: a platform window with a fixed logical size, a
/// back buffer (an `ImageDD` over a surface in main memory) with its
/// `Graphics`, into which every frame is drawn, and the presentation of that
/// buffer once per frame as a task. Every window message goes through
/// `windowProc`, which offers it to each message hook of the window's
/// `MessageHandler` before the window's own handling (activation, full
/// screen, close, capture, cursor).
///
///     GameWindow* window = createGameWindow("Game", 800, 600, fullScreen, 0, 102);
///     window->setCloseRequestHandler([] { return askSceneToQuit(); });
///     TimedTaskManager::getInstance().addTask(window);
///     const int exitCode = runMainLoop(*window, TimedTaskManager::getInstance());
///
/// Full screen is the desktop's full screen with the logical size scaled and
/// letterboxed, switched on the same window (no new window, no new back
/// buffer); the desktop's display mode is never changed.
///
/// The window knows nothing of scenes: the close request (WM_CLOSE) goes to
/// the handler that start-up installs (`setCloseRequestHandler`, which asks
/// the current scene); without one, or when it declines, the window is
/// destroyed, which posts the quit message.
///
/// Main thread only. One instance is reachable process-wide (`getInstance`).
class GameWindow : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Asked on WM_CLOSE; true when the request was taken care of (a scene
    /// showed its quit dialog), false for the default handling (destroy the
    /// window, which ends the program).
    using CloseRequestHandler = std::function<bool()>;

    /// No platform window yet; 640 x 480, full screen flag set, not inactive,
    /// with an empty message handler.
    GameWindow();
    ~GameWindow() override;

    /// The process-wide window made by `createGameWindow`; null before and
    /// after it (borrowed: the instance holds its own reference).
    [[nodiscard]] static GameWindow* getInstance();
    /// Makes `window` the process-wide window (a reference is held) or drops
    /// it (null). `createGameWindow` does this; the exit sequence passes null.
    static void setInstance(GameWindow* window);

    /// Stores the title, position (screen pixels), logical size and the
    /// depth asked for full screen (0 or 3: the desktop's), then creates the
    /// window (`initialise`). A desktop no larger than `width` x `height`
    /// forces full screen and forbids switching. False when no window could
    /// be made in either mode: the quit message with kWindowFailureExitCode
    /// is then posted and `hasFailed` reports it.
    [[nodiscard]] bool create(std::string_view title, int x, int y, int width, int height,
                              bool fullScreen, int requestedBytesPerPixel);
    /// Creates the platform window and the back buffer for the current
    /// fields. A first failure tries the other mode once; a second shows
    /// "Something went wrong with creating the game-window.\nThis game will
    /// quit now.", posts the quit message with kWindowFailureExitCode and
    /// leaves the window inactive.
    void initialise();
    /// Shows the window (the platform shows it on creation: nothing to do).
    void show() {}
    /// Uploads the back buffer to the window. While inactive it only sleeps
    /// 10 ms (through `platform::sleepMilliseconds`).
    void present();
    /// `present`, unless the back buffer holds the frame shown last and that
    /// frame was shown less than a second ago: an idle scene costs no upload.
    /// Returns whether the frame was uploaded.
    bool presentIfChanged();
    /// Centres the window on the desktop (the platform places it so on
    /// creation and when leaving full screen): nothing to do.
    void centre() {}
    /// Destroys the platform window and the back buffer, then handles
    /// WM_DESTROY as a desktop window would receive it (hooks first), which
    /// posts the quit message unless the window is being recreated. (Not
    /// `destroy`, which is the object model's: it frees the object.)
    void destroyWindow();
    /// Sets recreating, destroys, clears recreating and initialises again.
    void recreate();

    /// The per-frame task: `presentIfChanged`.
    void run(int elapsedMs) override;

    /// The back buffer's drawing interface, for either depth; null while
    /// there is no back buffer. Borrowed.
    [[nodiscard]] Graphics* getGraphics() const { return graphics_.get(); }
    /// The back buffer; null while there is no window. Borrowed.
    [[nodiscard]] ImageDD* getBackImage() const { return backImage_.get(); }
    /// The platform window; null while there is none. Borrowed.
    [[nodiscard]] platform::Window* getHandle() const { return handle_.get(); }

    void setTitle(std::string_view title);
    [[nodiscard]] const std::string& getTitle() const { return title_; }
    /// Called for every WM_KEYDOWN after the hooks; does nothing here.
    virtual void onKeyDown(std::uint32_t virtualKey) { static_cast<void>(virtualKey); }
    [[nodiscard]] bool isRecreating() const { return recreating_; }

    /// Window position in screen pixels (kept, not applied: the platform
    /// centres the window).
    void setX(int x) { x_ = x; }
    void setY(int y) { y_ = y; }
    [[nodiscard]] int getX() const { return x_; }
    [[nodiscard]] int getY() const { return y_; }

    /// Whether the window is full screen: as the display has it once the
    /// window exists, the flag before.
    [[nodiscard]] bool isFullScreen() const;
    /// Stores the flag only; nothing is switched.
    void setFullScreenFlag(bool fullScreen) { fullScreen_ = fullScreen; }
    /// Switches the window between full screen and windowed when `fullScreen`
    /// differs, then sends EVENT_FULLSCREEN_CHANGED with the new state to the
    /// hooks, once. When the desktop refuses, nothing changes and nothing is
    /// sent.
    void setFullScreen(bool fullScreen);
    void toggleFullScreen() { setFullScreen(!isFullScreen()); }
    [[nodiscard]] bool isFullScreenSwitchAllowed() const { return fullScreenSwitchAllowed_; }
    [[nodiscard]] bool isWaitForVerticalBlank() const { return waitForVerticalBlank_; }
    /// Presents in step with the display's refresh when set (off by default,
    /// so that the frame pacing alone sets the rate).
    void setWaitForVerticalBlank(bool wait);
    /// Asks the window to minimise (posts WM_SYSCOMMAND / SC_MINIMIZE).
    void minimize();
    /// While inactive the main loop runs no frame and `present` only sleeps.
    [[nodiscard]] bool isInactive() const { return inactive_; }
    void setInactive(bool inactive) { inactive_ = inactive; }
    /// True while the window has the keyboard focus.
    [[nodiscard]] bool hasFocus() const { return hasFocus_; }
    /// True after `create` found no way to make the window.
    [[nodiscard]] bool hasFailed() const { return failed_; }

    /// The back buffer's bytes per pixel, 2 or 4; 0 before creation.
    [[nodiscard]] int getBytesPerPixel() const { return bytesPerPixel_; }
    /// 0 or 3 for the desktop's depth, else 2 or 4.
    void setRequestedBytesPerPixel(int bytes) { requestedBytesPerPixel_ = bytes; }

    /// Logical client size in pixels.
    void setSize(int width, int height) {
        setWidth(width);
        setHeight(height);
    }
    void setWidth(int width) { width_ = width; }
    [[nodiscard]] int getWidth() const { return width_; }
    void setHeight(int height) { height_ = height; }
    [[nodiscard]] int getHeight() const { return height_; }

    /// The window's hook list; lives as long as the window. Borrowed.
    [[nodiscard]] MessageHandler* getMessageHandler() const { return messageHandler_.get(); }
    void setIconId(int iconId) { iconId_ = iconId; }
    [[nodiscard]] int getIconId() const { return iconId_; }
    /// Sets the window's icon from a 32-bit image (start-up passes the image
    /// of the icon resource when it exists). False without a window or for
    /// an image that is not 32-bit or cannot be locked.
    bool setIconImage(Image& image);

    /// Pointer shape: 0 hidden, 1 busy arrow, 2 arrow, 3 hand, 4 help (shown
    /// as the arrow), 5 wait, 6 text beam; any other kind is the arrow. The
    /// window shows it when it differs from the shape shown.
    void setCursor(int kind);
    /// The kind last asked for through `setCursor` (2 after creation).
    [[nodiscard]] int getCursorKind() const { return cursorKind_; }
    /// Shows the current kind again.
    void applyCursor();
    /// The pointer in logical client pixels (outside the client area below 0
    /// or beyond the size); (0, 0) without a window.
    [[nodiscard]] platform::WindowPoint getCursorPosition() const;

    /// Installs what WM_CLOSE asks (see the class comment); empty for none.
    void setCloseRequestHandler(CloseRequestHandler handler) {
        closeRequestHandler_ = std::move(handler);
    }

    /// Handles one window message: first every message hook, then the
    /// window's own handling, then (when not taken) the default handling
    /// (WM_CLOSE destroys the window; WM_SYSCOMMAND / SC_MINIMIZE minimises).
    void windowProc(const platform::Message& message);
    /// Sends `message` to every message hook (nothing more).
    void sendToHooks(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);

    /// Raises the window when a second start of the program asked for it
    /// (see `isAnotherInstanceRunning`). The main loop calls it each pass.
    void pollRaiseRequest();

private:
    // Makes the platform window and the back buffer; false when either fails.
    [[nodiscard]] bool createDisplay();
    [[nodiscard]] bool createBackBuffer();
    void releaseDisplay();
    // The window's own handling; false when the message gets the default one.
    bool handleMessage(const platform::Message& message);

    RefPtr<MessageHandler> messageHandler_;
    std::unique_ptr<platform::Window> handle_;
    RefPtr<ImageDD> backImage_;
    RefPtr<Graphics> graphics_;
    std::string title_;
    CloseRequestHandler closeRequestHandler_;
    int bytesPerPixel_ = 0;
    int requestedBytesPerPixel_ = 0;
    int x_ = 0;
    int y_ = 0;
    int width_ = 640;
    int height_ = 480;
    int iconId_ = 0;
    int cursorKind_ = 2;
    int shownCursorKind_ = -1;
    bool fullScreen_ = true;
    bool fullScreenSwitchAllowed_ = false;
    bool hasFocus_ = true;
    bool recreating_ = false;
    bool inactive_ = false;
    bool waitForVerticalBlank_ = false;
    bool failed_ = false;
    bool presentFailing_ = false;
    // A copy of the frame shown last and when; empty when the window must be
    // drawn anew (a new window, a repaint request, a failed upload).
    std::vector<std::uint8_t> shownFrame_;
    std::uint32_t shownAtMs_ = 0;
};

/// The record of a window kind that only a type test names: a window whose
/// record is kind of it leaves WM_DESTROY to the default handling, so its
/// destruction does not end the program. It has no code of its own.
struct WebGameWindow {
    static const ClassRecord classRecord;
};

/// Makes the process-wide window: `create(title, 0, 0, width, height,
/// fullScreen, requestedBytesPerPixel)` after `setIconId(iconId)`. Returns the
/// window (borrowed from the instance) even when creation failed; check
/// `hasFailed`.
GameWindow* createGameWindow(std::string_view title, int width, int height, bool fullScreen,
                             int requestedBytesPerPixel, int iconId);

/// True when another copy of the program works on the same shared data
/// folder (it is then asked to raise its window, and this one must exit with
/// code 1). The first copy keeps the lock, a file in that folder named after
/// the String setting "GAME_NAME", for the rest of the process. A lock that cannot be made at all
/// is logged and does not stop the program.
[[nodiscard]] bool isAnotherInstanceRunning();
/// Drops the single-instance lock (exit sequence and tests).
void releaseInstanceLock();

/// Puts `text` on the clipboard through the window; nothing without a window.
void setClipboardText(std::wstring_view text);
/// The clipboard's text; empty without a window or without text.
[[nodiscard]] std::wstring getClipboardText();

} // namespace orv
