#pragma once

#include "engine/core/TaskManager.h"

#include <cstdint>
#include <functional>

namespace orv {

/// The clock and the sleep that pace frames. An empty function stands for
/// the platform's (`platform::getMilliseconds`, `platform::sleepMilliseconds`);
/// tests pass their own so that nothing really sleeps.
struct FrameClock {
    /// Milliseconds, wrapping at 2^32.
    std::function<std::uint32_t()> getMilliseconds;
    /// Waits about the given number of milliseconds.
    std::function<void(std::uint32_t)> sleepMilliseconds;
};

/// The task manager that turns passes into frames at a fixed rate. Each
/// `runFrame` sleeps out what is left of the frame period since the previous
/// frame began, then runs every task with the elapsed milliseconds, capped at
/// `kMaxElapsedMs` so that after a stall the game slows down instead of
/// jumping. One process-wide instance runs the main loop's frames.
///
///     TimedTaskManager& frames = TimedTaskManager::getInstance();
///     frames.setFrameRate(60);     // a period of 16 ms
///     frames.addTask(sceneManager);
///     while (running) frames.runFrame();
class TimedTaskManager : public TaskManager {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kDefaultFrameRate = 50;
    static constexpr int kMaxFrameRate = 1000;
    static constexpr std::uint32_t kMaxElapsedMs = 100;

    /// Paces with the platform's clock and sleep.
    TimedTaskManager();
    /// Paces with `clock`; its empty functions fall back to the platform's.
    explicit TimedTaskManager(FrameClock clock);

    /// The process-wide instance, created on the first call with the
    /// platform's clock (start-up makes that call). The reference stays valid
    /// until `destroyInstance`.
    static TimedTaskManager& getInstance();
    /// Drops the process-wide instance (exit sequence); its tasks are stopped.
    static void destroyInstance();

    /// Sets the frames per second, clamped to 0..1000, and the period to
    /// 1000 / rate ms in integer division (60 gives 16 ms; 0 gives a period of
    /// 0, that is no pacing). Restarts the frame count and the frame timing
    /// from now.
    void setFrameRate(int framesPerSecond);
    /// Runs one frame: sleeps until the period has passed since the previous
    /// frame began, counts the frame, and runs every task once with the
    /// elapsed milliseconds (at most 100). The time the tasks take counts
    /// towards the next frame.
    void runFrame();

    [[nodiscard]] int getFrameRate() const { return framesPerSecond_; }
    /// Frame period in milliseconds.
    [[nodiscard]] int getPeriod() const { return period_; }
    /// Frames run since the last `setFrameRate`.
    [[nodiscard]] std::uint32_t getFrameCounter() const { return frameCounter_; }

private:
    FrameClock clock_;
    int framesPerSecond_ = kDefaultFrameRate;
    std::uint32_t frameCounter_ = 0;
    std::uint32_t now_ = 0;
    std::uint32_t lastFrame_ = 0;
    int period_ = 1000 / kDefaultFrameRate;
};

} // namespace orv
