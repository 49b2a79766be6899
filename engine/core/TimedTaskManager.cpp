#include "engine/core/TimedTaskManager.h"

#include "engine/system/Platform.h"

#include <algorithm>
#include <utility>

namespace orv {

namespace {

RefPtr<TimedTaskManager> theFrameTasks;

} // namespace

constinit const ClassRecord TimedTaskManager::classRecord{"TimedTaskManager",
                                                          parentRecords<TaskManager::classRecord>};

TimedTaskManager::TimedTaskManager() : TimedTaskManager(FrameClock{}) {}

TimedTaskManager::TimedTaskManager(FrameClock clock) : clock_(std::move(clock)) {
    if (!clock_.getMilliseconds) {
        clock_.getMilliseconds = [] {
            return platform::getMilliseconds();
        };
    }
    if (!clock_.sleepMilliseconds) {
        clock_.sleepMilliseconds = [](std::uint32_t ms) {
            platform::sleepMilliseconds(ms);
        };
    }
    // Start the timing at construction, so that a first frame before any
    // `setFrameRate` sees the real time since then rather than since the
    // clock's origin.
    now_ = clock_.getMilliseconds();
    lastFrame_ = now_;
}

TimedTaskManager& TimedTaskManager::getInstance() {
    if (!theFrameTasks) {
        theFrameTasks = new TimedTaskManager();
    }
    return *theFrameTasks;
}

void TimedTaskManager::destroyInstance() {
    theFrameTasks = nullptr;
}

void TimedTaskManager::setFrameRate(int framesPerSecond) {
    // Clamp before dividing: dividing by an unclamped rate above 1000 would
    // give a period of 0 and a negative rate a negative period.
    framesPerSecond_ = std::clamp(framesPerSecond, 0, kMaxFrameRate);
    period_ = framesPerSecond_ == 0 ? 0 : 1000 / framesPerSecond_;
    frameCounter_ = 0;
    now_ = clock_.getMilliseconds();
    lastFrame_ = now_;
}

// The original pacing raised the system timer resolution around each frame;
// the steady clock and the sleep of the system layer need no such request.
void TimedTaskManager::runFrame() {
    // Unsigned arithmetic keeps the difference right across the clock's wrap.
    const auto period = static_cast<std::uint32_t>(period_);
    now_ = clock_.getMilliseconds();
    std::uint32_t elapsed = now_ - lastFrame_;
    if (elapsed < period) {
        clock_.sleepMilliseconds(period - elapsed);
        now_ = clock_.getMilliseconds();
        elapsed = now_ - lastFrame_;
    }
    elapsed = std::min(elapsed, kMaxElapsedMs);
    ++frameCounter_;
    runRound(static_cast<int>(elapsed));
    // The reading from before the tasks ran: their own time counts towards
    // the next frame.
    lastFrame_ = now_;
}

} // namespace orv
