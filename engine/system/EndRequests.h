#pragma once

// Internal to the system layer (it includes SDL): noting the requests to end
// the program that come from outside the game, termination signals and a
// lost display connection. The message queue turns a noted request into the
// quit message; the window and the video session leave SDL alone after the
// display is gone.

#include "engine/system/Platform.h"

#include <SDL.h>

namespace orv::platform {

/// Takes SIGTERM, SIGINT and SIGHUP over from their default action and from
/// SDL (whose own handlers would make each a close request, that is a
/// question), once per process: the first signal notes EndRequest::Signal;
/// a second, while the program still runs, ends it as the default would.
/// Call before SDL starts a subsystem. Main thread.
void claimTerminationSignals();

/// Notes `request` unless one is noted already; true when this call noted
/// it. Async-signal-safe.
bool noteEndRequest(EndRequest request);

/// True once for each noted request: the caller then posts the quit.
[[nodiscard]] bool takeEndRequestQuit();

/// True when the display connection is gone: SDL's video objects must not
/// be destroyed and its video subsystem not stopped, since each would wait
/// for the display server's answer forever.
[[nodiscard]] bool isDisplayLost();

/// For `window` on the X11 video driver: a broken connection to the X
/// server notes EndRequest::DisplayLost and lets the program go on, instead
/// of Xlib's default of ending the process on the spot, without its saves.
/// Does nothing on other drivers, or when the loaded Xlib cannot keep the
/// process alive (no exit handler of its own, before libX11 1.7).
void watchDisplayConnection(SDL_Window* window);

/// For tests: forgets the noted request, so that another can be noted.
void forgetEndRequest();

} // namespace orv::platform
