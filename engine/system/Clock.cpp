#include "engine/system/Platform.h"

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

namespace orv::platform {

namespace {

// The replacements tests install. They are read under a lock so that a test
// swapping them while a worker thread sleeps stays well defined.
std::mutex replacementMutex;
std::function<std::uint32_t()> clockReplacement;
std::function<void(std::uint32_t)> sleepReplacement;

std::uint32_t steadyMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace

std::uint32_t getMilliseconds() {
    std::function<std::uint32_t()> clock;
    {
        const std::scoped_lock lock(replacementMutex);
        clock = clockReplacement;
    }
    return clock ? clock() : steadyMilliseconds();
}

void sleepMilliseconds(std::uint32_t milliseconds) {
    std::function<void(std::uint32_t)> sleep;
    {
        const std::scoped_lock lock(replacementMutex);
        sleep = sleepReplacement;
    }
    if (sleep) {
        sleep(milliseconds);
        return;
    }
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void setMillisecondClock(std::function<std::uint32_t()> clock) {
    const std::scoped_lock lock(replacementMutex);
    clockReplacement = std::move(clock);
}

void setSleepFunction(std::function<void(std::uint32_t)> sleep) {
    const std::scoped_lock lock(replacementMutex);
    sleepReplacement = std::move(sleep);
}

void beginTimerPeriod(std::uint32_t /*milliseconds*/) {}

void endTimerPeriod(std::uint32_t /*milliseconds*/) {}

} // namespace orv::platform
