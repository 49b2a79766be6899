#include "engine/system/HelperProcess.h"
#include "engine/system/Platform.h"

#include <SDL.h>

#include <cstdio>
#include <string>

namespace orv::platform {

namespace {

Uint32 flagsFor(MessageBoxKind kind) {
    switch (kind) {
    case MessageBoxKind::Warning:
        return SDL_MESSAGEBOX_WARNING;
    case MessageBoxKind::Error:
        return SDL_MESSAGEBOX_ERROR;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

// The dummy driver stands for "no screen" (tests, headless runs); SDL would
// still try the X display for its box, so such runs write to stderr only.
bool isHeadless() {
    const char* driver = SDL_getenv("SDL_VIDEODRIVER");
    return driver != nullptr && SDL_strcasecmp(driver, "dummy") == 0;
}

} // namespace

void showMessageBox(MessageBoxKind kind, std::string_view title, std::string_view text) {
    const std::string titleText(title);
    const std::string bodyText(text);
    if (!isHeadless()) {
        // The box waits for a click in a helper process of our own, so that
        // a termination signal or a lost display ends the wait at once and
        // the box never outlives the game.
        const auto show = [&] {
            return SDL_ShowSimpleMessageBox(flagsFor(kind), titleText.c_str(), bodyText.c_str(),
                                            nullptr) == 0
                       ? 0
                       : 1;
        };
        const HelperOutcome outcome = runHelperProcess(show);
        if (outcome.end == HelperOutcome::End::Stopped ||
            (outcome.end == HelperOutcome::End::Finished && outcome.exitCode == 0)) {
            return;
        }
        if (outcome.end == HelperOutcome::End::NotStarted && show() == 0) {
            return;
        }
    }
    std::fprintf(stderr, "%s: %s\n", titleText.c_str(), bodyText.c_str());
    std::fflush(stderr);
}

} // namespace orv::platform
