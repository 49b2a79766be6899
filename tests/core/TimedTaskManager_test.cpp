#include "engine/core/RefPtr.h"
#include "engine/core/TimedTaskManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace orv {
namespace {

// A clock that moves only when told: sleeping advances it by the time asked
// plus `oversleep`, and tasks advance it by the time they "take".
struct FakeClock {
    std::uint32_t now = 1000;
    std::uint32_t oversleep = 0;
    std::vector<std::uint32_t> sleeps;

    FrameClock frameClock() {
        return FrameClock{[this] { return now; },
                          [this](std::uint32_t ms) {
                              sleeps.push_back(ms);
                              now += ms + oversleep;
                          }};
    }
};

// Records the elapsed time of each run and when it began; takes `workMs`.
class Worker : public Task {
public:
    Worker(FakeClock& clock, std::uint32_t workMs) : clock_(clock), workMs_(workMs) {}
    void run(int elapsedMs) override {
        elapsed.push_back(elapsedMs);
        began.push_back(clock_.now);
        clock_.now += workMs_;
    }

    std::vector<int> elapsed;
    std::vector<std::uint32_t> began;

private:
    FakeClock& clock_;
    std::uint32_t workMs_;
};

class FramePacing : public testing::Test {
protected:
    FakeClock clock;
    TimedTaskManager frames{clock.frameClock()};
};

TEST_F(FramePacing, FramesBeginOnePeriodApartAndTasksGetThePeriod) {
    RefPtr<Worker> worker(new Worker(clock, 5));
    frames.addTask(worker.get());
    frames.setFrameRate(60);
    for (int i = 0; i < 4; ++i) {
        frames.runFrame();
    }
    EXPECT_EQ(worker->began, (std::vector<std::uint32_t>{1016, 1032, 1048, 1064}));
    EXPECT_EQ(worker->elapsed, (std::vector<int>{16, 16, 16, 16}));
    // The first frame waits the whole period; later ones what the 5 ms of
    // work left of it.
    EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{16, 11, 11, 11}));
    EXPECT_EQ(frames.getFrameCounter(), 4U);
}

TEST_F(FramePacing, TasksGetTheMeasuredTimeWhenSleepOvershoots) {
    RefPtr<Worker> worker(new Worker(clock, 5));
    frames.addTask(worker.get());
    frames.setFrameRate(60);
    clock.oversleep = 2;
    frames.runFrame();
    frames.runFrame();
    EXPECT_EQ(worker->elapsed, (std::vector<int>{18, 18}));
}

TEST_F(FramePacing, ALongStallPassesAtMost100Milliseconds) {
    RefPtr<Worker> worker(new Worker(clock, 0));
    frames.addTask(worker.get());
    frames.setFrameRate(60);
    clock.now += 3000;
    frames.runFrame();
    clock.now += 101;
    frames.runFrame();
    clock.now += 100;
    frames.runFrame();
    EXPECT_EQ(worker->elapsed, (std::vector<int>{100, 100, 100}));
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(FramePacing, ElapsedTimeStaysRightAcrossTheClocksWrap) {
    RefPtr<Worker> worker(new Worker(clock, 0));
    frames.addTask(worker.get());
    clock.now = 0xFFFFFFF0U;
    frames.setFrameRate(50);
    clock.now = 20; // 36 ms later, past the wrap
    frames.runFrame();
    EXPECT_EQ(worker->elapsed, (std::vector<int>{36}));
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(FramePacing, SettingTheRateRestartsCountAndTiming) {
    RefPtr<Worker> worker(new Worker(clock, 0));
    frames.addTask(worker.get());
    frames.setFrameRate(50);
    clock.now += 40;
    frames.runFrame();
    clock.now += 500;
    frames.setFrameRate(50);
    EXPECT_EQ(frames.getFrameCounter(), 0U);
    clock.now += 25;
    frames.runFrame();
    EXPECT_EQ(worker->elapsed, (std::vector<int>{40, 25}));
}

struct RateCase {
    int asked;
    int rate;
    int period;
};

class FrameRate : public testing::TestWithParam<RateCase> {};

TEST_P(FrameRate, ClampsTheRateBeforeWorkingOutThePeriod) {
    const RateCase& c = GetParam();
    FakeClock clock;
    TimedTaskManager frames(clock.frameClock());
    frames.setFrameRate(c.asked);
    EXPECT_EQ(frames.getFrameRate(), c.rate);
    EXPECT_EQ(frames.getPeriod(), c.period);
    // A frame run at once waits exactly one period (none for a period of 0).
    frames.runFrame();
    const std::vector<std::uint32_t> expectedSleeps =
        c.period > 0 ? std::vector<std::uint32_t>{static_cast<std::uint32_t>(c.period)}
                     : std::vector<std::uint32_t>{};
    EXPECT_EQ(clock.sleeps, expectedSleeps) << "rate " << c.asked;
}

INSTANTIATE_TEST_SUITE_P(Rates, FrameRate,
                         testing::Values(RateCase{60, 60, 16}, RateCase{50, 50, 20},
                                         RateCase{1000, 1000, 1}, RateCase{5000, 1000, 1},
                                         RateCase{0, 0, 0}, RateCase{-5, 0, 0}));

TEST(TimedTaskManagerInstance, IsCreatedOnceAndStopsItsTasksWhenDropped) {
    TimedTaskManager& first = TimedTaskManager::getInstance();
    EXPECT_EQ(&TimedTaskManager::getInstance(), &first);
    EXPECT_EQ(first.getFrameRate(), 50);
    EXPECT_EQ(first.getPeriod(), 20);

    RefPtr<Task> task(new Task());
    first.addTask(task.get());
    TimedTaskManager::destroyInstance();
    EXPECT_FALSE(task->isManaged());
    EXPECT_EQ(task->getRefCount(), 1);
}

} // namespace
} // namespace orv
