#include "engine/system/Platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

TEST(PlatformClock, ClockAndSleepCanBeReplaced) {
    std::uint32_t now = 0xFFFFFFF0U;
    std::vector<std::uint32_t> sleeps;
    platform::setMillisecondClock([&] { return now; });
    platform::setSleepFunction([&](std::uint32_t ms) {
        sleeps.push_back(ms);
        now += ms;
    });

    const std::uint32_t start = platform::getMilliseconds();
    platform::sleepMilliseconds(40);
    // Unsigned subtraction stays right across the wrap at 2^32.
    EXPECT_EQ(platform::getMilliseconds() - start, 40U);
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>{40});

    platform::setMillisecondClock({});
    platform::setSleepFunction({});
    const std::uint32_t a = platform::getMilliseconds();
    EXPECT_LT(platform::getMilliseconds() - a, 1000U);
}

} // namespace
} // namespace orv
