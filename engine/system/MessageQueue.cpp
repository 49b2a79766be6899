#include "engine/system/EndRequests.h"
#include "engine/system/EventTranslation.h"
#include "engine/system/Platform.h"

#include <deque>
#include <vector>

namespace orv::platform {

namespace {

// The window messages not yet taken, oldest first. Main thread only, like the
// window it serves.
std::deque<Message> pending;

// Moves every event SDL holds into the queue as messages. The button and key
// state is read once after SDL has gathered the events; the translation makes
// the flags of each button message right on its own.
void gatherEvents() {
    // A lost display has nothing more to say, and every call to it is wasted.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || isDisplayLost()) {
        return;
    }
    SDL_PumpEvents();
    InputState state;
    state.mouseButtons = SDL_GetMouseState(nullptr, nullptr);
    state.keyModifiers = static_cast<std::uint16_t>(SDL_GetModState());
    std::vector<Message> messages;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        translateEvent(event, state, messages);
    }
    pending.insert(pending.end(), messages.begin(), messages.end());
}

} // namespace

bool peekMessage(Message& out) {
    gatherEvents();
    if (takeEndRequestQuit()) {
        // Ended from outside: whatever is pending could only ask or show
        // something that no one is there for.
        if (getEndRequest() == EndRequest::Signal) {
            reportDiagnostic("a termination signal: the program saves and ends without asking");
        }
        pending.clear();
        out = {WM_QUIT, 0, 0};
        return true;
    }
    if (pending.empty()) {
        return false;
    }
    out = pending.front();
    pending.pop_front();
    return true;
}

void postMessage(const Message& message) {
    pending.push_back(message);
}

void postQuitMessage(int exitCode) {
    postMessage({WM_QUIT, static_cast<std::uint32_t>(exitCode), 0});
}

} // namespace orv::platform
