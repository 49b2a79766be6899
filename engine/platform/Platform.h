#pragma once

// The one interface between the game and the operating system. Everything the
// engine needs of the machine is declared here and implemented in this folder
// on SDL2 (window, input, cursor, clipboard, message boxes, audio) and POSIX /
// the C++ library (clock, files, folders). No other folder includes SDL or
// POSIX headers.

#include <cstdint>

namespace orv::platform {

// ---------------------------------------------------------------------------
// Clock and sleep

/// Milliseconds from a steady clock, wrapping at 2^32. Compare readings by
/// unsigned subtraction (`now - then`), which stays right across the wrap.
[[nodiscard]] std::uint32_t getMilliseconds();

/// Suspends the calling thread for about `milliseconds` (0 yields).
void sleepMilliseconds(std::uint32_t milliseconds);

} // namespace orv::platform
