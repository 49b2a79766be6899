#include "engine/system/EndRequests.h"

// After the project's headers: Xlib's macros (None, Status, ...) must not
// reach them.
#include <SDL_syswm.h>
#include <dlfcn.h>

namespace orv::platform {

namespace {

// Xlib's fatal I/O error: the connection to the X server is gone. Both
// handlers return, so that the call in progress returns with an error and
// every later call on the display returns at once; the main loop then ends
// the program in order.
void noteLostDisplay() {
    if (noteEndRequest(EndRequest::DisplayLost)) {
        reportDiagnostic(
            "the connection to the display server is lost: the program saves and ends");
    }
}
extern "C" int onDisplayIoError(Display* /*display*/) {
    noteLostDisplay();
    return 0;
}
extern "C" void onDisplayIoErrorExit(Display* /*display*/, void* /*data*/) {
    noteLostDisplay();
}

} // namespace

void watchDisplayConnection(SDL_Window* window) {
    SDL_SysWMinfo info{};
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11 || info.info.x11.display == nullptr) {
        return;
    }
    // SDL has Xlib loaded already; take its functions from that copy rather
    // than linking it a second time.
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (xlib == nullptr) {
        reportDiagnostic("the X library is not loaded: a lost display will end the program "
                         "without its saves");
        return;
    }
    using SetHandler = XIOErrorHandler (*)(XIOErrorHandler);
    using SetExitHandler = void (*)(Display*, XIOErrorExitHandler, void*);
    const auto setHandler = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetIOErrorHandler"));
    const auto setExitHandler =
        reinterpret_cast<SetExitHandler>(dlsym(xlib, "XSetIOErrorExitHandler"));
    if (setHandler != nullptr && setExitHandler != nullptr) {
        setHandler(onDisplayIoError);
        setExitHandler(info.info.x11.display, onDisplayIoErrorExit, nullptr);
    } else {
        reportDiagnostic("the X library has no I/O error exit handler: a lost display will end "
                         "the program without its saves");
    }
    // The library stays loaded by SDL; this only drops the extra reference.
    dlclose(xlib);
}

} // namespace orv::platform
