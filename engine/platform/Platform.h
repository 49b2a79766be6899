#pragma once

// The one interface between the game and the operating system. Everything the
// engine needs of the machine is declared here and implemented in this folder
// on SDL2 (window, input, cursor, clipboard, message boxes, audio) and POSIX /
// the C++ library (clock, files, folders, settings store, locks). No other
// folder includes SDL or POSIX headers.
//
// Paths are UTF-8 narrow strings with "/" as the separator. Functions that
// take a path also accept "\" (names in data files were written with it) and
// treat it as "/".

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::platform {

// ---------------------------------------------------------------------------
// Clock and sleep

/// Milliseconds from a steady clock, wrapping at 2^32. Compare readings by
/// unsigned subtraction (`now - then`), which stays right across the wrap.
[[nodiscard]] std::uint32_t getMilliseconds();

/// Suspends the calling thread for about `milliseconds` (0 yields).
void sleepMilliseconds(std::uint32_t milliseconds);

/// Replaces the clock behind `getMilliseconds`; an empty function restores
/// the steady clock. For tests: set it before other threads run.
void setMillisecondClock(std::function<std::uint32_t()> clock);
/// Replaces what `sleepMilliseconds` does; an empty function restores real
/// sleeping. For tests, like `setMillisecondClock`.
void setSleepFunction(std::function<void(std::uint32_t)> sleep);

/// Timer resolution requests (a 1 ms period around the main loop). The steady
/// clock and the sleep here need none, so both do nothing.
void beginTimerPeriod(std::uint32_t milliseconds);
void endTimerPeriod(std::uint32_t milliseconds);

// ---------------------------------------------------------------------------
// Files and folders

/// The process's current folder without a trailing "/"; empty when it cannot
/// be read.
[[nodiscard]] std::string getCurrentFolder();
/// Makes `path` the current folder. False when it does not exist or cannot be
/// entered.
[[nodiscard]] bool setCurrentFolder(const std::string& path);
/// The folder of the running executable, without a trailing "/"; empty when
/// it cannot be found. Start-up makes it the current folder.
[[nodiscard]] std::string getProgramFolder();

/// Creates the folder `path` and its missing parents. Does nothing when the
/// path exists. A failure is not reported here: later writes into the folder
/// fail and report it themselves. Returns whether the folder exists now.
bool ensureDirectory(const std::string& path);

/// Deletes the folder `path` and everything in it. Symbolic links are removed,
/// never followed. Every entry that cannot be deleted makes the result false,
/// and the walk goes on with the rest. A path shorter than 2 characters, or
/// one that is not a folder, gives false and deletes nothing.
[[nodiscard]] bool deleteFolderTree(const std::string& path);

/// True when `path` names an existing file or folder.
[[nodiscard]] bool pathExists(const std::string& path);

/// `path` as it exists on disk: the path itself when it exists; otherwise the
/// path whose components match the given ones ignoring ASCII letter case (the
/// game's data was written for a case-insensitive file system), searched
/// component by component; empty when there is no such file or folder.
/// The first match in folder order wins when several differ only in case.
[[nodiscard]] std::string findPathIgnoringCase(const std::string& path);

/// Gives everyone full access to a written file. Files here belong to the user
/// who writes them and need nothing more, so this does nothing and reports
/// true.
bool grantFullAccess(const std::string& path);

/// The user's data folder: $XDG_DATA_HOME, or $HOME/.local/share when that is
/// unset or not absolute. No trailing "/"; empty when neither is known.
[[nodiscard]] std::string getUserDataFolder();
/// The user's settings folder: $XDG_CONFIG_HOME, or $HOME/.config.
[[nodiscard]] std::string getUserConfigFolder();
/// The user's runtime folder for sockets and locks: $XDG_RUNTIME_DIR, or the
/// system's temporary folder when it is unset.
[[nodiscard]] std::string getUserRuntimeFolder();

// ---------------------------------------------------------------------------
// Settings store
//
// Stands in for the user's registry hive: keys named by "\"-separated paths
// ("Software\Vantrel\Games\<id>", "...\qrv") holding named values that are
// either a 32-bit number or a text. The store is one file,
// $XDG_CONFIG_HOME/Vantrel/Games/settings.reg; every write replaces it
// crash-safe (temporary file in the same folder, flushed, renamed). Key paths
// and value names match ignoring ASCII letter case; "/" in a key path counts
// as "\". A missing, unreadable or damaged store reads as empty (lines that
// cannot be understood are skipped). Safe from any thread of the process.

enum class SettingsValueType {
    Dword,  ///< an unsigned 32-bit number
    String, ///< a text
    Other,  ///< a value of a kind this program does not use, kept as found
};

struct SettingsValue {
    std::string name;
    SettingsValueType type = SettingsValueType::Dword;
    std::uint32_t number = 0; ///< Dword only
    std::string text;         ///< String: the text; Other: the stored form
};

/// The store file's path; empty when no settings folder is known.
[[nodiscard]] std::string getSettingsStorePath();
/// Every value of the key `keyPath`, in stored order; nullopt when the key
/// does not exist.
[[nodiscard]] std::optional<std::vector<SettingsValue>> readSettingsKey(std::string_view keyPath);
/// One value; nullopt when the key or the value does not exist.
[[nodiscard]] std::optional<SettingsValue> readSettingsValue(std::string_view keyPath,
                                                             std::string_view valueName);
/// Creates the key when missing and sets the value (replacing one of the same
/// name, whatever its kind). False when `value` is of kind Other or the store
/// cannot be written; the store is then unchanged.
[[nodiscard]] bool writeSettingsValue(std::string_view keyPath, const SettingsValue& value);

// ---------------------------------------------------------------------------
// System facts

struct SystemFacts {
    std::string hostName;             ///< empty when unknown
    std::string osName;               ///< the kernel's name ("Linux")
    std::string osRelease;            ///< the kernel's release ("6.1.0-18-amd64")
    std::string processorName;        ///< the processor's model name, empty when unknown
    std::uint32_t processorCount = 0; ///< online processors, at least 1
    std::uint32_t processorMHz = 0;   ///< the nominal or current clock, 0 when unknown
    std::uint64_t memoryBytes = 0;    ///< physical memory, 0 when unknown
};
/// Reads the facts from the system (uname, sysconf, /proc/cpuinfo). Quick: it
/// measures nothing.
[[nodiscard]] SystemFacts getSystemFacts();

// ---------------------------------------------------------------------------
// Single running instance

/// Makes sure only one copy of the game runs per user. The first start holds
/// a lock file (`flock`) in the runtime folder and listens on a Unix socket
/// beside it; a second start finds the lock taken, asks the first through the
/// socket to bring its window to the front, and gets no lock.
///
///     auto instance = InstanceLock::acquire(gameName);
///     if (!instance) return 1;            // the running copy was asked to show itself
///     ... each frame: if (instance->takeRaiseRequest()) window->raise();
///
/// The lock goes with the object, or with the process when it dies, so a crash
/// never leaves a stale lock behind.
class InstanceLock {
public:
    /// Tries to become the running instance called `name` (any text: it is
    /// made safe for a file name). Null when another process holds it; that
    /// process has then been asked to raise its window. Also null when the
    /// lock file cannot be made at all, so check `lastAcquireFailed` to tell
    /// a broken runtime folder from a running copy.
    [[nodiscard]] static std::unique_ptr<InstanceLock> acquire(std::string_view name);
    /// True when the last failed `acquire` failed for want of a lock file, not
    /// because another copy runs.
    [[nodiscard]] static bool lastAcquireFailed();

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    /// True when a second start has asked since the last call (requests are
    /// merged). Never waits. Main thread.
    [[nodiscard]] bool takeRaiseRequest();

private:
    InstanceLock(int lockFile, int listener, std::string socketPath);

    int lockFile_ = -1;
    int listener_ = -1;
    std::string socketPath_;
};

// ---------------------------------------------------------------------------
// Named locks

/// How long a named lock is waited for before the caller goes on without it.
inline constexpr std::uint32_t kNamedMutexWaitMilliseconds = 10000;

/// A recursive lock shared by everything in the process that names it alike
/// (the resource manager's life and data locks, the image manager's list).
/// Acquiring waits at most a given time; a guard that did not get the lock
/// never releases it.
///
///     NamedMutex dataLock("RESOURCE_DATA");
///     {
///         NamedMutexGuard guard(dataLock);   // waits up to 10,000 ms
///         if (!guard.isAcquired()) logWarning("resource data lock timed out");
///         ... work on the data ...
///     }                                     // released only if acquired
class NamedMutex {
public:
    /// The lock called `name`, created on first use. Locks with the same name
    /// are one lock; an empty name gives a private lock.
    explicit NamedMutex(std::string_view name);

    /// Waits up to `milliseconds` for the lock; true when it was acquired.
    [[nodiscard]] bool tryLockFor(std::uint32_t milliseconds);
    /// Releases one acquisition; call only after a successful `tryLockFor`.
    void unlock();

private:
    std::shared_ptr<std::recursive_timed_mutex> mutex_;
};

/// Holds a NamedMutex for a scope, waiting at most `milliseconds` for it.
class NamedMutexGuard {
public:
    explicit NamedMutexGuard(NamedMutex& mutex,
                             std::uint32_t milliseconds = kNamedMutexWaitMilliseconds)
        : mutex_(mutex), acquired_(mutex.tryLockFor(milliseconds)) {}
    NamedMutexGuard(const NamedMutexGuard&) = delete;
    NamedMutexGuard& operator=(const NamedMutexGuard&) = delete;
    ~NamedMutexGuard() {
        if (acquired_) {
            mutex_.unlock();
        }
    }
    [[nodiscard]] bool isAcquired() const { return acquired_; }

private:
    NamedMutex& mutex_;
    bool acquired_;
};

// ---------------------------------------------------------------------------
// Window, message queue, cursor, clipboard and web links
//
// The message record and the message, key and flag numbers it uses are in
// engine/platform/Messages.h, which this section includes.

} // namespace orv::platform

#include "engine/platform/Messages.h"

namespace orv::platform {

/// The desktop of the first display. bytesPerPixel is the size of one pixel
/// in memory (4 for 24-bit colour kept in 32-bit pixels, 2 for 16-bit), not
/// the colour depth divided by 8.
struct DesktopMode {
    int width = 0;  ///< pixels
    int height = 0; ///< pixels
    int bytesPerPixel = 0;
};
/// The desktop's mode; nullopt when the video system cannot start.
[[nodiscard]] std::optional<DesktopMode> getDesktopMode();

/// Takes the oldest pending window message into `out`; false when none is
/// pending. Never waits: first moves every event the system has for the
/// window into the queue as messages (see Messages.h for their meaning), then
/// answers from the queue, posted messages included. Main thread only.
[[nodiscard]] bool peekMessage(Message& out);
/// Appends `message` to the queue behind everything pending. Main thread only.
void postMessage(const Message& message);
/// Posts WM_QUIT with `exitCode` (as unsigned) in wParam.
void postQuitMessage(int exitCode);

/// The mouse pointer shapes; the numbers are the game's cursor kinds.
enum class CursorKind {
    Hidden = 0,
    AppStarting = 1, ///< arrow with a busy mark
    Arrow = 2,
    Hand = 3,
    Help = 4, ///< shown as the arrow: the desktop has no help pointer
    Wait = 5,
    IBeam = 6,
};

/// A position in window logical pixels (see Window).
struct WindowPoint {
    int x = 0;
    int y = 0;
};

/// The game's one window and its back-buffer presentation. The window has a
/// fixed logical size (800 x 600 for the game): whatever its real size,
/// presented frames are scaled to fit it, letterboxed with black, and mouse
/// positions arrive in logical pixels. Windowed, it is centred on the desktop
/// at its logical size; full screen, it covers the desktop without changing
/// the display mode. The window's input arrives through peekMessage.
///
///     auto window = Window::create("Game", 800, 600, false, false);
///     if (!window) { ... report Window::getLastError() ... }
///     window->present(pixels, 800, 600, 800);
///
/// Main thread only. Only one window exists at a time.
class Window {
public:
    /// Opens a window with `title` (UTF-8) at `width` x `height` logical
    /// pixels, full screen or windowed, synchronised with the display's
    /// refresh only when `waitForVerticalBlank` is set. Null when the video
    /// system, the window or its renderer cannot be made; getLastError then
    /// says why.
    [[nodiscard]] static std::unique_ptr<Window> create(std::string_view title, int width,
                                                        int height, bool fullScreen,
                                                        bool waitForVerticalBlank);
    /// Why the last failed call of this section failed, for the log.
    [[nodiscard]] static std::string getLastError();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window();

    [[nodiscard]] int getWidth() const;  ///< logical pixels
    [[nodiscard]] int getHeight() const; ///< logical pixels
    void setTitle(std::string_view title);

    /// Switches between full screen and windowed on the same window. False
    /// (mode unchanged) when the desktop refuses.
    [[nodiscard]] bool setFullScreen(bool fullScreen);
    [[nodiscard]] bool isFullScreen() const;
    /// Turns waiting for the display's refresh in present on or off. False
    /// when the renderer cannot change it.
    [[nodiscard]] bool setWaitForVerticalBlank(bool wait);

    /// Shows a frame of 32-bit 0xAARRGGBB pixels (alpha ignored): `width` x
    /// `height` pixels, rows `pitch` pixels apart (pitch >= width). The frame
    /// is scaled to the logical size. The pixels are read before the call
    /// returns. False for a null or malformed buffer or a renderer failure.
    [[nodiscard]] bool present(const std::uint32_t* pixels, int width, int height, int pitch);
    /// As present, for 16-bit RGB565 pixels (red in the top 5 bits).
    [[nodiscard]] bool present565(const std::uint16_t* pixels, int width, int height, int pitch);

    /// Restores the window when minimised and brings it to the front.
    void raise();
    /// Minimises the window; it reports WM_SIZE / SIZE_MINIMIZED as usual.
    void minimize();
    /// Sets the window's icon from 0xAARRGGBB pixels laid out as in present;
    /// the pixels are copied. False for a malformed buffer.
    [[nodiscard]] bool setIcon(const std::uint32_t* pixels, int width, int height, int pitch);

    /// Shows the pointer shape `kind` over the window, or hides the pointer.
    void setCursor(CursorKind kind);
    /// Where the pointer is, in logical pixels; outside the window gives
    /// positions below 0 or beyond the logical size.
    [[nodiscard]] WindowPoint getCursorPosition() const;
    /// Moves the pointer to a position in logical pixels.
    void setCursorPosition(int x, int y);
    /// While captured, the window keeps receiving mouse messages when the
    /// pointer leaves it (positions outside arrive as packPoint cuts them).
    void setMouseCapture(bool capture);

    /// Puts `text` on the desktop clipboard. False when the clipboard refuses.
    [[nodiscard]] bool setClipboardText(std::wstring_view text);
    /// The clipboard's text; empty when it holds none (or holds non-text).
    [[nodiscard]] std::wstring getClipboardText() const;

private:
    struct Impl;
    explicit Window(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

/// Opens an http, https or mailto link in the user's browser or mail program
/// without waiting for it. Any other scheme, or a link holding control
/// characters or blanks, is refused (links come from data files and must not
/// start local programs). False when refused or when nothing could open it.
[[nodiscard]] bool openUrl(std::string_view url);

/// The kinds of message box, which decide its icon.
enum class MessageBoxKind { Information, Warning, Error };
/// Shows a message box with `text` under `title` (both UTF-8) and one OK
/// button, and waits until it is closed. Without a usable desktop (no display,
/// or SDL's dummy video driver) the message goes to the standard error stream
/// as "title: text" instead. Usable before and after the window exists.
void showMessageBox(MessageBoxKind kind, std::string_view title, std::string_view text);

} // namespace orv::platform
