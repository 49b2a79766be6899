#pragma once

#include <cstdint>
#include <functional>

namespace orv {

class GameWindow;
class TimedTaskManager;

/// How long the main loop sleeps per pass while the window is inactive.
inline constexpr std::uint32_t kInactiveLoopSleepMs = 40;

/// The program's heartbeat, from the end of start-up until the quit message.
/// Each pass takes every pending window message without waiting and hands it
/// to `window.windowProc`; when none is pending, an inactive window sleeps
/// `kInactiveLoopSleepMs` and an active one runs one frame of `frames`
/// (which paces itself). Returns the quit message's exit code: 0 after a
/// normal quit, kWindowFailureExitCode when the window could not be made.
///
///     const int exitCode = runMainLoop(*window, TimedTaskManager::getInstance());
///
/// `sleep` waits the given milliseconds; empty for
/// `platform::sleepMilliseconds` (tests pass their own, so nothing really
/// sleeps). Main thread only.
[[nodiscard]] int runMainLoop(GameWindow& window, TimedTaskManager& frames,
                              const std::function<void(std::uint32_t)>& sleep = {});

} // namespace orv
