#include "game/board/DisplayValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>

namespace orv {
namespace {

TEST(DisplayValueTest, StartsClampedWithBothValuesEqual) {
    const DisplayValue below(-5, 0, 100);
    EXPECT_EQ(below.getValue(), 0);
    EXPECT_EQ(below.getShown(), 0);
    const DisplayValue above(500, 0, 100);
    EXPECT_EQ(above.getValue(), 100);
    EXPECT_EQ(above.getShown(), 100);
}

TEST(DisplayValueTest, AddChangesTheValueAndCommitTheShownValue) {
    DisplayValue score(0, 0, INT_MAX);
    score.add(300);
    score.add(50);
    EXPECT_EQ(score.getValue(), 350);
    EXPECT_EQ(score.getShown(), 0);
    EXPECT_EQ(score.getPendingDeltas(), (std::deque<std::int32_t>{300, 50}));
    score.commit(50);
    EXPECT_EQ(score.getShown(), 50);
    EXPECT_EQ(score.getPendingDeltas(), (std::deque<std::int32_t>{300}));
    score.addAndCommit(-100);
    EXPECT_EQ(score.getValue(), 250);
    EXPECT_EQ(score.getShown(), 0); // 50 - 100 stops at the minimum
}

TEST(DisplayValueTest, StepsBeyondTheRangeStopAtItsEndsButQueueInFull) {
    DisplayValue time(90, 0, 100);
    time.add(25);
    EXPECT_EQ(time.getValue(), 100);
    EXPECT_EQ(time.getPendingDeltas().front(), 25);
    time.commit(25);
    EXPECT_EQ(time.getShown(), 100);

    DisplayValue huge(INT_MAX - 1, 0, INT_MAX);
    huge.add(INT_MAX);
    EXPECT_EQ(huge.getValue(), INT_MAX);
}

TEST(DisplayValueTest, CommittingAStepNeverAddedMovesOnlyTheShownValue) {
    DisplayValue value(10, 0, 100);
    value.add(5);
    value.commit(7);
    EXPECT_EQ(value.getShown(), 17);
    EXPECT_EQ(value.getPendingDeltas(), (std::deque<std::int32_t>{5}));
}

TEST(DisplayValueTest, ResetDropsPendingSteps) {
    DisplayValue value(10, 0, 100);
    value.add(5);
    value.reset(120);
    EXPECT_EQ(value.getValue(), 100);
    EXPECT_EQ(value.getShown(), 100);
    EXPECT_TRUE(value.getPendingDeltas().empty());
}

} // namespace
} // namespace orv
