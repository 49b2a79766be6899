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
#include <string>
#include <string_view>

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

} // namespace orv::platform
