#include "engine/system/EndRequests.h"

#include <array>
#include <atomic>
#include <csignal>

namespace orv::platform {

namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free atomic");
static_assert(std::atomic<bool>::is_always_lock_free,
              "the signal handler needs a lock-free atomic");

// The first request noted (an EndRequest), and whether its quit was posted.
std::atomic<int> noted{static_cast<int>(EndRequest::None)};
std::atomic<bool> quitPosted{false};

constexpr std::array<int, 3> kTerminationSignals{SIGTERM, SIGINT, SIGHUP};

extern "C" void onTerminationSignal(int signalNumber) {
    if (getEndRequest() != EndRequest::None) {
        // Asked again and still running: end as the signal would by default.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    noteEndRequest(EndRequest::Signal);
}

} // namespace

EndRequest getEndRequest() {
    return static_cast<EndRequest>(noted.load());
}

bool noteEndRequest(EndRequest request) {
    int none = static_cast<int>(EndRequest::None);
    return noted.compare_exchange_strong(none, static_cast<int>(request));
}

bool takeEndRequestQuit() {
    return getEndRequest() != EndRequest::None && !quitPosted.exchange(true);
}

bool isDisplayLost() {
    return getEndRequest() == EndRequest::DisplayLost;
}

void forgetEndRequest() {
    noted.store(static_cast<int>(EndRequest::None));
    quitPosted.store(false);
}

void claimTerminationSignals() {
    static bool claimed = false;
    if (claimed) {
        return;
    }
    claimed = true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kTerminationSignals) {
        struct sigaction previous {};
        // A signal the program was started to ignore (nohup) stays ignored.
        if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(signalNumber, &action, nullptr);
    }
}

} // namespace orv::platform
