#pragma once

// The one interface between the game and the operating system: the system
// layer, under every other library. Everything the engine needs of the machine
// is declared here and implemented in this folder on SDL2 (window, input,
// cursor, clipboard, message boxes, audio) and POSIX / the C++ library (clock,
// files, folders, settings store, locks). No other folder includes SDL or
// POSIX headers.
//
// Paths are UTF-8 narrow strings with "/" as the separator. Functions that
// take a path also accept "\" (names in data files were written with it) and
// treat it as "/".

#include "engine/system/Messages.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv::platform {

// ---------------------------------------------------------------------------
// Text encoding
//
// Narrow text (names, paths, what the desktop hands over) is UTF-8; shown text
// is wide, one code point per unit. These are the one converter between them.

/// The code point that stands in for malformed or impossible text.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

/// Decodes the UTF-8 sequence at `pos` (which must be inside `text`) and moves
/// `pos` past it. A malformed, overlong or cut-off sequence, or a surrogate,
/// gives U+FFFD and moves one byte on.
[[nodiscard]] char32_t decodeUtf8(std::string_view text, std::size_t& pos);
/// UTF-8 to wide text; each malformed byte becomes U+FFFD.
[[nodiscard]] std::wstring utf8ToWide(std::string_view text);
/// Wide text to UTF-8; units that are no Unicode scalar value (surrogates,
/// negative values, values above U+10FFFF) become U+FFFD.
[[nodiscard]] std::string wideToUtf8(std::wstring_view text);

// ---------------------------------------------------------------------------
// Diagnostics
//
// The layer below the engine's log: what it meets and works around (a
// settings store set aside, a stale temporary file removed) goes out as one
// line through a function the engine installs.

/// Receives one diagnostic line. Called from whichever thread met the fault.
using DiagnosticFunction = void (*)(std::string_view line);
/// Installs `function`; null restores the default, which writes the line to
/// the standard error stream. Safe from any thread.
void setDiagnosticFunction(DiagnosticFunction function);
/// Hands `line` to the installed function.
void reportDiagnostic(std::string_view line);

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

/// True when `path` (a file or folder, through links) can be opened for
/// reading now. False when it is missing or out of reach (no permission, a
/// socket, a loop of links). Never waits, also not on a FIFO.
[[nodiscard]] bool canOpenForReading(const std::string& path);

/// Deletes the file `path`; a link is removed, never followed. False when
/// nothing was deleted (no such file, a folder, or no permission).
[[nodiscard]] bool deleteFile(const std::string& path);

/// Gives the file `from` the new name `to` in the same file system, never
/// replacing anything: false, with both names left as they were, when `to`
/// exists already or the rename fails. Used to set damaged files aside.
[[nodiscard]] bool renameFileNoReplace(const std::string& from, const std::string& to);

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

/// Replaces the file `path` with `content` crash-safely: the bytes go to a
/// temporary file in the same folder, which is synced to the disk and renamed
/// over `path`, so a crash or a full disk leaves either the old or the new
/// file, never a mix. The temporary file gets a name of its own
/// (`path` + ".tmp-" + six random letters or digits), is created exclusively
/// with mode 0600 and never through a link, and is removed again when
/// anything fails. Leftovers of earlier writes of `path` that were cut short
/// (see `removeStaleTemporaries`) are removed first. The folder must exist.
/// False on any failure, with `path` left as it was. The new file replaces a
/// link at `path` rather than writing through it.
[[nodiscard]] bool replaceFileSafely(const std::string& path, std::string_view content);

/// Removes the temporary files that `replaceFileSafely` left in `folder` when
/// a process died while writing: regular files of this user named like its
/// temporaries that no write holds any more. A write under way in another
/// process keeps its file. Only temporaries of the file called `fileName` are
/// looked at when it is not empty. Each removal is reported as a diagnostic.
/// Returns how many files were removed.
std::size_t removeStaleTemporaries(const std::string& folder, std::string_view fileName = {});

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
// $XDG_CONFIG_HOME/Vantrel/Games/settings.reg, shared by every game of the
// maker. Key paths and value names match ignoring ASCII letter case; "/" in a
// key path counts as "\". Lines may end in LF, CR LF or CR.
//
// Every write reads the store as it is on disk now, changes the one value and
// replaces the file crash-safe (see replaceFileSafely), all under an advisory
// lock on "settings.reg.lock" beside it, so games writing at once lose nothing.
// A store that is a link to a store is written through the link.
//
// A missing store reads as empty; lines of a store that cannot be understood
// are skipped. A store file of ours that cannot be read as one (larger than
// kMaxSettingsStoreBytes, holding zero bytes as UTF-16 text does, or with no
// line understood at all) also reads as empty, and the next write first moves
// it aside under a dated name ("settings.reg.unreadable-20240514-093012"),
// reporting it as a diagnostic, so nothing of it is lost. Nothing outside the
// settings folder is ever moved or replaced, and nothing that is merely out
// of reach is taken for damaged: a link to a file that is no store, a file
// that cannot be opened (permissions), a folder or a broken link at the
// store's path reads as empty (reported once as a diagnostic), is left as it
// is and makes every write fail (see getSettingsStoreProblem). Safe from any
// thread of the process.

/// Largest store read or written: far more than the games keep in it.
inline constexpr std::size_t kMaxSettingsStoreBytes = std::size_t{1} << 20;

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
/// Why the store at getSettingsStorePath is left alone, for the player: "is
/// a link to <target>, which is no settings store ...", "cannot be opened (no
/// permission)", ...; empty when the store is missing, is read, or is a
/// damaged file of ours that the next write moves aside.
[[nodiscard]] std::string getSettingsStoreProblem();
/// Creates the key when missing and sets the value (replacing one of the same
/// name, whatever its kind). False when `value` is of kind Other, when the
/// store would grow beyond kMaxSettingsStoreBytes, when the store's lock is
/// not free within a few seconds, or when the store cannot be written; the
/// store is then unchanged (a store that could not be read may have been
/// moved aside).
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

/// Makes the C library give every large block (pictures, decoded sounds:
/// 256 KB and more) memory of its own that goes back to the system when the
/// block is freed. Without it, blocks freed by the loader threads and the
/// scenes stay in the heap, and the game's resident memory only grows. Call
/// once, early, before other threads run.
void keepLargeBlocksApart();

// ---------------------------------------------------------------------------
// Single running instance

/// Makes sure only one copy of the game works on a data folder at a time.
/// The first start holds a lock file (`flock`) in the folder it guards, so
/// copies with different runtime folders, or reaching the folder by another
/// path, still meet there; it listens on a Unix socket in its runtime folder
/// and notes that socket's path in the lock file. A second start finds the
/// lock taken, asks the first through the noted socket to bring its window to
/// the front, and gets no lock.
///
///     auto instance = InstanceLock::acquire(gameName, dataFolder);
///     if (!instance) return 1;            // the running copy was asked to show itself
///     ... each frame: if (instance->takeRaiseRequest()) window->raise();
///
/// The lock goes with the object, or with the process when it dies, so a crash
/// never leaves a stale lock behind.
class InstanceLock {
public:
    /// Tries to become the running instance called `name` (any text: it is
    /// made safe for a file name) on the existing folder `guardedFolder`.
    /// Null when another process holds it; that process has then been asked
    /// to raise its window. Also null when the lock file cannot be made at
    /// all, so check `lastAcquireFailed` to tell a broken folder from a
    /// running copy.
    [[nodiscard]] static std::unique_ptr<InstanceLock> acquire(std::string_view name,
                                                               const std::string& guardedFolder);
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
// engine/system/Messages.h, which this section includes.

} // namespace orv::platform

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

/// What, from outside the game, has asked the program to end.
enum class EndRequest {
    None,
    /// A termination signal: SIGTERM, SIGINT or SIGHUP. The system layer
    /// takes these over when it first starts SDL's video or audio; a second
    /// signal before the program has ended ends it at once, as by default.
    Signal,
    /// The connection to the display server broke. Nothing can be shown or
    /// asked any more, and the window is not taken down through the dead
    /// connection (its objects are left to the process's end).
    DisplayLost,
};
/// The first end request met, or None. The next `peekMessage` after it is
/// met drops what is pending and answers WM_QUIT with exit code 0, once: the
/// program then ends in order through its normal shut-down and its saves,
/// without a question. Safe from any thread.
[[nodiscard]] EndRequest getEndRequest();

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

/// True when `glRenderer` (an OpenGL renderer's name) is a rasterizer that
/// runs on the processor (Mesa's llvmpipe, softpipe, swrast and the like).
[[nodiscard]] bool isSoftwareRasterizer(std::string_view glRenderer);

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
    /// What draws the frames: the OpenGL renderer's name (as the driver
    /// gives it) or "software" for SDL's own software renderer, which a
    /// window takes when no accelerated renderer can be made or the one made
    /// is OpenGL drawn by the processor (`isSoftwareRasterizer`).
    [[nodiscard]] const std::string& getRendererName() const;

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
/// button, and waits until it is closed, or until a termination signal or a
/// lost display asks the program to end (see getEndRequest): the box is then
/// taken away at once. The box lives in a helper process that dies with the
/// program, whatever ends it. Without a usable desktop (no display, or SDL's
/// dummy video driver) the message goes to the standard error stream as
/// "title: text" instead. Usable before and after the window exists.
void showMessageBox(MessageBoxKind kind, std::string_view title, std::string_view text);

} // namespace orv::platform

namespace orv::platform {

// ---------------------------------------------------------------------------
// Audio device: our own software mixer on SDL2's audio output.
//
// Output is 44,100 Hz, 16-bit signed, interleaved stereo. Effects play on 32
// channels from samples decoded into memory; music plays from streams that
// are decoded from loose Ogg Vorbis files while they play. Effects are scaled
// by the master effects volume, streams only by their own (absolute) volume,
// so the master volume mutes effects without touching music and two streams
// can cross-fade. Volumes are 0-255 (255 full), pans 0-255 (0 hard left, 128
// centre, 255 hard right).
//
// The process-wide device (openAudioDevice ... pollAudioSyncEvents) may be
// used from any thread; each call takes the device lock for a moment. Open
// and close it on the main thread while no other thread uses it (at start-up
// and shut-down). While no device is open, sound is disabled: every play
// reports that nothing played (kNoAudioChannel, kNoAudioStream or false) and
// nothing fails.
//
//     if (!orv::platform::openAudioDevice()) { /* play silently */ }
//     auto click = orv::platform::decodeAudioSample(bytes);   // WAV or Ogg
//     auto channel = orv::platform::playAudioSample(click, 255, 128, false);
//     orv::platform::setAudioChannelPan(channel, 200); // false once it ended

/// Output frames per second of the mixer.
inline constexpr std::uint32_t kAudioSampleRate = 44100;
/// Effect channels the mixer plays at once.
inline constexpr int kAudioChannelCount = 32;
/// Music streams open at once.
inline constexpr int kAudioStreamCount = 4;

/// A playing effect: a slot number with a generation, so a handle kept after
/// its sound ended (and the slot was reused) refers to nothing and every call
/// with it does nothing. Never negative when valid.
using AudioChannel = std::int32_t;
inline constexpr AudioChannel kNoAudioChannel = -1;
/// An open music stream, with a generation like AudioChannel.
using AudioStream = std::int32_t;
inline constexpr AudioStream kNoAudioStream = -1;

/// `frames` of mix-rate audio in milliseconds, computed in 64 bits and
/// truncated (so samples of hours stay right).
[[nodiscard]] std::uint32_t audioFramesToMilliseconds(std::uint64_t frames);

/// One sound decoded into memory at the mix rate, mono or stereo: a mono
/// sound is kept with one value a frame (half the memory) and mixed to both
/// sides. Immutable once made; shared between its owner and the channels
/// playing it, so dropping the owner's reference while it plays is safe.
class AudioSample {
public:
    /// Takes interleaved frames at kAudioSampleRate of `channels` (1 or 2)
    /// values each (a whole number of frames).
    explicit AudioSample(std::vector<std::int16_t> frames, int channels = 2);

    /// The values, `getChannels` per frame (left then right for stereo).
    [[nodiscard]] const std::vector<std::int16_t>& getData() const { return data_; }
    [[nodiscard]] int getChannels() const { return channels_; }
    [[nodiscard]] std::uint32_t getFrameCount() const;
    [[nodiscard]] std::uint32_t getDurationMs() const;

private:
    std::vector<std::int16_t> data_;
    int channels_;
};
using AudioSamplePtr = std::shared_ptr<const AudioSample>;

/// Decodes a whole WAV (any format SDL reads) or Ogg Vorbis file held in
/// `data` (recognised by its first bytes) into the mix format, converting
/// rate and channel count. Needs no open device. Returns null when the data
/// are neither, are broken, hold no audio or more than ten minutes of it.
[[nodiscard]] AudioSamplePtr decodeAudioSample(std::span<const std::byte> data);

/// The decoder behind a music stream. The mixer's feeder calls it from one
/// thread at a time, never from the audio callback.
class AudioStreamSource {
public:
    AudioStreamSource() = default;
    AudioStreamSource(const AudioStreamSource&) = delete;
    AudioStreamSource& operator=(const AudioStreamSource&) = delete;
    virtual ~AudioStreamSource() = default;

    /// Frames per second of the source's own PCM; stream positions and sync
    /// points are counted in these frames.
    [[nodiscard]] virtual std::uint32_t getSourceRate() const = 0;
    /// Length in source frames.
    [[nodiscard]] virtual std::uint64_t getSourceLength() const = 0;
    /// Decodes the next audio in the mix format into `out` (interleaved
    /// stereo at kAudioSampleRate, `out.size()` even) and returns the frames
    /// written; 0 at the end or on a decoding error.
    [[nodiscard]] virtual std::size_t read(std::span<std::int16_t> out) = 0;
    /// Moves to `sourceFrame`; the next read starts at mix frame
    /// sourceFrame × kAudioSampleRate / getSourceRate(). False when out of
    /// range or the file cannot seek.
    [[nodiscard]] virtual bool seek(std::uint64_t sourceFrame) = 0;
};

/// Opens the Ogg Vorbis file at `path` (UTF-8) for streaming: reads only its
/// headers now. Null when the file is missing, not Ogg Vorbis or not seekable.
[[nodiscard]] std::unique_ptr<AudioStreamSource> openOggStreamSource(const std::string& path);

/// A stream passed one of its sync points: `position` in source frames.
struct AudioSyncEvent {
    AudioStream stream = kNoAudioStream;
    std::uint32_t position = 0;
};

/// One effect as the mixing core sees it. `data` is borrowed from the sample
/// that plays and must outlive the mix call.
struct AudioVoice {
    const std::int16_t* data = nullptr; ///< frames of `channels` values
    std::uint32_t frameCount = 0;
    std::uint32_t position = 0; ///< next frame to play
    std::uint8_t volume = 255;
    std::uint8_t pan = 128;
    bool looped = false;
    bool paused = false;
    bool active = false;       ///< cleared when a voice that does not loop ends
    std::uint8_t channels = 2; ///< 1: the same value goes to both sides
};

/// The mixing core, a pure function: fills `out` (interleaved stereo, even
/// size) with the sum of every active, unpaused voice and advances their
/// positions. Gain is volume/255 × masterVolume/255 × the pan gain; the pan
/// keeps the near side at full level and lowers the far side linearly to
/// silence at 0 or 255, so centre (128) plays both sides at full level. The
/// sum saturates at the 16-bit limits. Allocates nothing.
void mixAudioVoices(std::span<AudioVoice> voices, std::uint8_t masterVolume,
                    std::span<std::int16_t> out);

/// The whole mixer: 32 effect channels and kAudioStreamCount streams, with
/// no SDL and no locking of its own, so tests drive it directly. The device
/// calls every member under its lock; `mix` runs on the audio thread and
/// neither allocates nor waits, streams are filled by `beginFeed` /
/// `runFeed` / `endFeed` (or `feedStreams` on one thread).
///
///     AudioMixer mixer;
///     auto channel = mixer.play(sample, 255, 128, false);
///     std::vector<std::int16_t> out(2 * 512);
///     mixer.mix(out);                       // 512 frames of output
class AudioMixer {
public:
    /// Decoded stream audio buffered ahead of playback, in frames.
    static constexpr std::size_t kStreamBufferFrames = 32768;

    AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;
    ~AudioMixer();

    /// Starts `sample` on a free channel. kNoAudioChannel when the sample is
    /// null or every channel is busy (playing or paused).
    [[nodiscard]] AudioChannel play(AudioSamplePtr sample, std::uint8_t volume, std::uint8_t pan,
                                    bool looped);
    /// Each returns false, changing nothing, for a stale or invalid handle.
    bool stop(AudioChannel channel);
    bool setVolume(AudioChannel channel, std::uint8_t volume);
    bool setPan(AudioChannel channel, std::uint8_t pan);
    bool setPaused(AudioChannel channel, bool paused);
    /// True while the channel sounds or is paused.
    [[nodiscard]] bool isPlaying(AudioChannel channel) const;
    /// Stops every channel playing `sample`. A channel lets its sample go
    /// when stopped here or by `stop`, or, when it ended by itself, at the
    /// next `play`.
    void stopSample(const AudioSample& sample);
    /// Effects master volume, 255 at construction; streams ignore it.
    void setMasterVolume(std::uint8_t volume) { masterVolume_ = volume; }
    [[nodiscard]] std::uint8_t getMasterVolume() const { return masterVolume_; }

    /// Takes `source` into a free stream slot, stopped at position 0, volume
    /// 255. kNoAudioStream when the source is null or no slot is free.
    /// `looped` streams start again from 0 at their end; others stop there
    /// and rewind to 0.
    [[nodiscard]] AudioStream openStream(std::shared_ptr<AudioStreamSource> source, bool looped);
    /// Frees the slot and hands back its source, so the caller can destroy it
    /// outside the device lock. Null for a stale handle.
    std::shared_ptr<AudioStreamSource> closeStream(AudioStream stream);
    /// Plays from the current position; true when already playing.
    bool playStream(AudioStream stream);
    /// Stops and rewinds to position 0.
    bool stopStream(AudioStream stream);
    /// Moves to `position` (source frames), playing or not; false beyond the
    /// end.
    bool setStreamPosition(AudioStream stream, std::uint32_t position);
    /// The position of the next frame to be heard, in source frames.
    [[nodiscard]] std::optional<std::uint32_t> getStreamPosition(AudioStream stream) const;
    /// Adds a sync point at `position` (source frames): each time playback
    /// passes it, an event waits for takeSyncEvents.
    bool addStreamSyncPoint(AudioStream stream, std::uint32_t position);
    /// The stream's own volume, 255 at open, not scaled by the master volume.
    bool setStreamVolume(AudioStream stream, std::uint8_t volume);
    [[nodiscard]] bool isStreamPlaying(AudioStream stream) const;
    /// Appends the sync points passed since the last call, in stream slot
    /// order, and forgets them.
    void takeSyncEvents(std::vector<AudioSyncEvent>& out);

    /// Fills `out` (interleaved stereo, any even size) with the next frames:
    /// effects, then streams, saturated. Stream audio not yet decoded is
    /// silence and does not advance the stream. Allocates nothing.
    void mix(std::span<std::int16_t> out);

    /// Decoding work for one stream, taken under the lock, done without it.
    struct FeedJob {
        int slot = -1;
        std::uint32_t generation = 0;
        std::uint32_t epoch = 0;
        std::shared_ptr<AudioStreamSource> source;
        bool looped = false;
        std::optional<std::uint64_t> seekTo; ///< source frame
        std::size_t wanted = 0;              ///< frames
        std::size_t maxWraps = 0;            ///< restarts the stream can take
        std::vector<std::int16_t> frames;    ///< decoded, reused between jobs
        std::size_t frameCount = 0;
        std::vector<std::size_t> wrapOffsets; ///< frames decoded before each restart at 0
        bool ended = false;                   ///< end of a stream that does not loop
        bool failed = false;
    };
    /// Fills `job` when stream `slot` needs decoding; false otherwise.
    [[nodiscard]] bool beginFeed(int slot, FeedJob& job);
    /// Decodes the job (seek, read, restart looped streams). No lock needed.
    static void runFeed(FeedJob& job);
    /// Buffers the job's audio, unless the stream was closed, stopped or moved
    /// since beginFeed.
    void endFeed(const FeedJob& job);
    /// beginFeed, runFeed and endFeed for every stream on the calling thread.
    void feedStreams();

private:
    struct Channel;
    struct StreamSlot;

    AudioVoice* findVoice(AudioChannel channel);
    void releaseEndedSamples();
    StreamSlot* findStream(AudioStream stream);
    const StreamSlot* findStream(AudioStream stream) const;
    void resetStream(StreamSlot& slot, std::uint64_t sourceFrame);
    void mixStream(StreamSlot& slot, std::span<std::int32_t> sum);

    std::vector<Channel> channels_;
    std::vector<AudioVoice> voices_;
    std::vector<StreamSlot> streams_;
    std::vector<std::int32_t> sum_;
    std::uint8_t masterVolume_ = 255;
    FeedJob scratchJob_;
};

/// Starts opening the default output device on a thread of its own, so that
/// the driver's probe (a tenth of a second and more without a sound card)
/// runs beside other start-up work; openAudioDevice then takes the result,
/// waiting for it. Call it on the main thread before any other part of SDL
/// starts, and call openAudioDevice or closeAudioDevice before the window
/// opens. Does nothing while a device is open or being opened.
void startOpeningAudioDevice();
/// Opens the default output device and starts the feeder thread; true when
/// sound is enabled (also when it already was). False, with sound disabled,
/// when SDL has no audio driver or device. After startOpeningAudioDevice it
/// takes that attempt's result.
[[nodiscard]] bool openAudioDevice();
/// Stops output and frees every channel and stream; sound is disabled after.
void closeAudioDevice();
[[nodiscard]] bool isAudioEnabled();

/// AudioMixer's operations on the device's mixer. Each reports that nothing
/// played or changed while sound is disabled.
[[nodiscard]] AudioChannel playAudioSample(const AudioSamplePtr& sample, std::uint8_t volume,
                                           std::uint8_t pan, bool looped);
bool stopAudioChannel(AudioChannel channel);
bool setAudioChannelVolume(AudioChannel channel, std::uint8_t volume);
bool setAudioChannelPan(AudioChannel channel, std::uint8_t pan);
bool setAudioChannelPaused(AudioChannel channel, bool paused);
[[nodiscard]] bool isAudioChannelPlaying(AudioChannel channel);
void stopAudioSample(const AudioSample& sample);
void setAudioMasterVolume(std::uint8_t volume);

/// Opens the Ogg Vorbis file at `path` (UTF-8) as a stream, stopped at 0.
/// kNoAudioStream when sound is disabled or the file cannot be opened.
[[nodiscard]] AudioStream openAudioStream(const std::string& path, bool looped);
void closeAudioStream(AudioStream stream);
bool playAudioStream(AudioStream stream);
bool stopAudioStream(AudioStream stream);
bool setAudioStreamPosition(AudioStream stream, std::uint32_t position);
[[nodiscard]] std::optional<std::uint32_t> getAudioStreamPosition(AudioStream stream);
bool addAudioStreamSyncPoint(AudioStream stream, std::uint32_t position);
bool setAudioStreamVolume(AudioStream stream, std::uint8_t volume);
[[nodiscard]] bool isAudioStreamPlaying(AudioStream stream);
/// The sync points passed since the last call; poll it from the main thread
/// (events are never delivered on the audio thread).
[[nodiscard]] std::vector<AudioSyncEvent> pollAudioSyncEvents();

} // namespace orv::platform
