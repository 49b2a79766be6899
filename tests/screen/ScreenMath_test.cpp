#include "game/screen/ScreenMath.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace orv {
namespace {

TEST(ScreenMath, MixedNameNamesTheHighScoreTable) {
    EXPECT_EQ(makeMixedName(true, 1, 2, 3), "mixed_3");
    EXPECT_EQ(makeMixedName(false, 1, 2, 0), "1_2_0");
    EXPECT_EQ(makeMixedName(false, 3, 5, 2), "3_5_2");
}

TEST(ScreenMath, CountdownShrinksWithTheMultiplierDownToItsMinimum) {
    struct Case {
        int multiplier;
        int expected;
    };
    // maxCountdown 2000, step 0.1, minimum 0.5.
    constexpr std::array<Case, 6> cases{
        {{1, 2000}, {2, 1800}, {3, 1600}, {4, 1400}, {6, 1000}, {9, 1000}}};
    for (const Case& c : cases) {
        EXPECT_EQ(countdownFor(2000, multiplierFactor(c.multiplier, 0.1F, 0.5F)), c.expected)
            << "multiplier " << c.multiplier;
    }
}

TEST(ScreenMath, BrokenCountdownsNeitherDivideByZeroNorOverflow) {
    EXPECT_EQ(countdownLevel(500, 0), 0);
    EXPECT_EQ(countdownLevel(500, -10), 0);
    EXPECT_EQ(countdownLevel(1000, 2000), 127);
    EXPECT_EQ(countdownLevel(5000, 2000), 255);
    EXPECT_EQ(countdownLevel(-5, 2000), 0);
    EXPECT_EQ(countdownFor(2000, std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(countdownFor(2000000000, 1.0e9F), 0);
}

TEST(ScreenMath, TimeFillTopFollowsTheShownShare) {
    EXPECT_FLOAT_EQ(timeFillTop(100, 400, 60000, 60000), 100.0F);
    EXPECT_FLOAT_EQ(timeFillTop(100, 400, 30000, 60000), 300.0F);
    EXPECT_FLOAT_EQ(timeFillTop(100, 400, 0, 60000), 500.0F);
    // A maximum of 0 (a saved bar, a level without play time) is an empty bar.
    EXPECT_FLOAT_EQ(timeFillTop(100, 400, 0, 0), 500.0F);
    EXPECT_FLOAT_EQ(timeFillTop(100, 400, 70000, 60000), 100.0F);
}

TEST(ScreenMath, TileIntervalsNeverReachZero) {
    EXPECT_EQ(buildTileInterval(2000, 144), 13);
    EXPECT_EQ(buildTileInterval(2000, 20), 20);
    EXPECT_EQ(buildTileInterval(100, 144), 1);
    EXPECT_EQ(buildTileInterval(2000, 0), 0);
    EXPECT_EQ(tearDownTileInterval(40, 1500, 24), 40);
    EXPECT_EQ(tearDownTileInterval(40, 1500, 100), 15);
    EXPECT_EQ(tearDownTileInterval(0, 10, 100), 1);

    int elapsed = 7;
    EXPECT_EQ(dueTiles(elapsed, 30, 10, 5), 3);
    EXPECT_EQ(elapsed, 7);
    EXPECT_EQ(dueTiles(elapsed, 100, 0, 5), 5);
    EXPECT_EQ(elapsed, 0);
}

TEST(ScreenMath, BonusExclusionsByPlaceTypeTokensAndFloor) {
    constexpr std::array<int, kBonusKinds> chances{20, 10, 25, 15, 6, 14, 10};
    struct Case {
        const char* what;
        BonusDrawContext context;
        std::array<int, kBonusKinds> expected;
    };
    const std::array<Case, 8> cases{{
        {"hallway, floor 3",
         {BonusNone, false, false, 3, false, false, 0, 0},
         {20, 10, 25, 15, 6, 14, 10}},
        {"floor 2 has no super hint",
         {BonusNone, false, false, 2, false, false, 0, 0},
         {20, 10, 25, 15, 6, 14, 0}},
        {"no kind twice",
         {Bonus5000, false, false, 5, false, false, 0, 0},
         {20, 10, 25, 0, 6, 14, 10}},
        {"held or running super hint",
         {BonusNone, true, false, 5, false, false, 0, 0},
         {20, 10, 25, 15, 6, 14, 0}},
        {"full tokens", {BonusNone, false, false, 5, true, true, 0, 0}, {20, 0, 25, 15, 6, 0, 10}},
        {"casino: no tokens",
         {BonusNone, false, false, 5, false, false, 1, 0},
         {20, 0, 25, 15, 6, 0, 10}},
        {"recreation room: no time",
         {BonusNone, false, false, 5, false, false, 2, 0},
         {0, 0, 25, 15, 6, 0, 10}},
        {"Speed: no super hint",
         {BonusNone, false, true, 5, false, false, 0, 5},
         {20, 10, 25, 15, 6, 14, 0}},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(bonusWeights(chances, c.context), c.expected) << c.what;
    }
    constexpr std::array<int, kBonusKinds> weights{0, 10, 0, 5, 0, 0, 0};
    EXPECT_EQ(bonusForDraw(weights, 0), BonusShuffle);
    EXPECT_EQ(bonusForDraw(weights, 9), BonusShuffle);
    EXPECT_EQ(bonusForDraw(weights, 10), Bonus5000);
    EXPECT_EQ(bonusForDraw(weights, 14), Bonus5000);
    constexpr std::array<int, kBonusKinds> negative{-5, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bonusWeights(negative, {BonusNone, false, false, 5, false, false, 0, 0})[0], 0);
}

} // namespace
} // namespace orv
