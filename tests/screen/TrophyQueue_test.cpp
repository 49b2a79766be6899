#include "game/screen/TrophyQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

// Earns `numbers` at once, then closes each box as it comes; the order the
// boxes slid in.
std::vector<int> presented(TrophyQueue& queue, const std::vector<int>& numbers) {
    std::vector<int> shown;
    for (const int n : numbers) {
        if (std::optional<int> now = queue.earn(n)) {
            shown.push_back(*now);
        }
    }
    while (queue.isBoxUp()) {
        if (std::optional<int> next = queue.boxClosed()) {
            shown.push_back(*next);
        }
    }
    return shown;
}

TEST(TrophyQueue, TrophiesEarnedInQuickSuccessionEachSlideInOnceInOrder) {
    TrophyQueue queue;
    EXPECT_EQ(presented(queue, {4, 9, 2, 9, 4}), (std::vector<int>{4, 9, 2}));
    EXPECT_TRUE(queue.getWaiting().empty());
}

TEST(TrophyQueue, AHeldBoardKeepsEveryTrophyUntilPlayResumes) {
    TrophyQueue queue;
    EXPECT_FALSE(queue.setHeld(true));
    EXPECT_FALSE(queue.earn(3));
    EXPECT_FALSE(queue.earn(5));
    EXPECT_EQ(queue.getWaiting().size(), 2U);
    EXPECT_EQ(queue.setHeld(false), 3);
    EXPECT_EQ(queue.boxClosed(), 5);
    EXPECT_FALSE(queue.boxClosed());
}

TEST(TrophyQueue, ClearingForgetsTheBoxAndTheWaiting) {
    TrophyQueue queue;
    EXPECT_EQ(queue.earn(1), 1);
    EXPECT_FALSE(queue.earn(2));
    queue.clear();
    EXPECT_FALSE(queue.isBoxUp());
    EXPECT_EQ(queue.earn(2), 2);
}

} // namespace
} // namespace orv
