#include "game/minigame/KillerStonesRules.h"

#include "engine/core/GameNode.h"
#include "engine/core/RandomGenerator.h"
#include "game/minigame/FloatRandom.h"
#include "game/minigame/KillerStonesPace.h"
#include "game/minigame/ModifierTileFall.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

namespace orv {
namespace {

using Rules = KillerStonesRules;

struct MeetCase {
    StoneRect tile;
    StoneRect shot;
    int shotTag;
    bool meets;
};

// A 46 x 58 tile at (100, 100) is hit inside (110, 110)-(136, 148); a shot's
// own rectangle shrinks by its tag's margin.
class StoneMeetTest : public testing::TestWithParam<MeetCase> {};

TEST_P(StoneMeetTest, TileAndShotMeetOnlyInsideTheirMargins) {
    const MeetCase& c = GetParam();
    const StoneRect tile = Rules::shrink(c.tile, Rules::kTileMargin);
    const StoneRect shot = Rules::shrink(c.shot, Rules::hitMargin(c.shotTag));
    EXPECT_EQ(Rules::meet(tile, shot), c.meets);
    EXPECT_EQ(Rules::meet(shot, tile), c.meets);
}

INSTANTIATE_TEST_SUITE_P(
    Margins, StoneMeetTest,
    testing::Values(
        // A normal shot (margin 5) whose inner edge touches the tile's: no hit.
        MeetCase{{100, 100, 46, 58}, {131, 120, 20, 20}, Rules::kShot, false},
        // One pixel further in: a hit.
        MeetCase{{100, 100, 46, 58}, {130, 120, 20, 20}, Rules::kShot, true},
        // A bomb piece (margin 10) in the same place as that hit: none.
        MeetCase{{100, 100, 46, 58}, {130, 120, 20, 20}, Rules::kBombPiece, false},
        // A shield bar has no margin: its very edge counts.
        MeetCase{{100, 100, 46, 58}, {135, 147, 20, 20}, Rules::kShieldBar, true},
        MeetCase{{100, 100, 46, 58}, {136, 147, 20, 20}, Rules::kShieldBar, false},
        // A shot shrunk to nothing meets nothing, even in the tile's middle.
        MeetCase{{100, 100, 46, 58}, {118, 124, 10, 10}, Rules::kFragPiece, false},
        // A tile image smaller than its margins has no rectangle left.
        MeetCase{{100, 100, 20, 20}, {100, 100, 20, 20}, Rules::kShieldBar, false}));

TEST(KillerStonesRulesTest, ScoresByShotAndTile) {
    struct ScoreCase {
        int shotTag;
        int tileTag;
        int total;
        int multiplier;
    };
    constexpr std::array<ScoreCase, 8> kCases{{
        {Rules::kShot, Rules::kSteadyTile, 20, 1},
        {Rules::kShot, Rules::kSwayingTile, 50, 1},
        {Rules::kBombPiece, Rules::kSteadyTile, 20, 1},
        {Rules::kFragShot, Rules::kSwayingTile, 50, 1},
        {Rules::kFragPiece, Rules::kSteadyTile, 40, 2},
        {Rules::kFragPiece, Rules::kSwayingTile, 100, 2},
        {Rules::kShieldBar, Rules::kSteadyTile, -250, 1},
        {Rules::kShieldBar, Rules::kSwayingTile, -250, 1},
    }};
    for (const ScoreCase& c : kCases) {
        const StoneScore score = Rules::scoreFor(c.shotTag, c.tileTag);
        EXPECT_EQ(score.points * score.multiplier, c.total) << c.shotTag << "/" << c.tileTag;
        EXPECT_EQ(score.multiplier, c.multiplier) << c.shotTag << "/" << c.tileTag;
    }
}

TEST(KillerStonesRulesTest, PansFromTheLeftQuarterToTheRightQuarter) {
    EXPECT_EQ(Rules::panFor(0), 64);
    EXPECT_EQ(Rules::panFor(6), 64); // 768 / 800 is still 0
    EXPECT_EQ(Rules::panFor(7), 65);
    EXPECT_EQ(Rules::panFor(400), 128);
    EXPECT_EQ(Rules::panFor(799), 191);
    EXPECT_EQ(Rules::panFor(800), 192);
    // Off the screen the pan stays in its range.
    EXPECT_EQ(Rules::panFor(-4000), 0);
    EXPECT_EQ(Rules::panFor(9000), 255);
}

TEST(KillerStonesRulesTest, PickupsAndLevelEndsFollowTheHitCount) {
    // Level 0: pick-ups at the 10th and 20th hit, the end at the 25th.
    std::vector<int> pickups;
    for (int hits = 1; hits <= 25; ++hits) {
        if (Rules::givesPickup(hits, 0)) {
            pickups.push_back(hits);
        }
    }
    EXPECT_EQ(pickups, (std::vector<int>{10, 20}));
    EXPECT_FALSE(Rules::isLevelCleared(24, 0));
    EXPECT_TRUE(Rules::isLevelCleared(25, 0));
    // Several hits in one frame can pass the goal: it still counts.
    EXPECT_TRUE(Rules::isLevelCleared(27, 0));
    // Level 1: at the 30th and 40th, not at the 50th, which ends it.
    pickups.clear();
    for (int hits = 26; hits <= 50; ++hits) {
        if (Rules::givesPickup(hits, 1)) {
            pickups.push_back(hits);
        }
    }
    EXPECT_EQ(pickups, (std::vector<int>{30, 40}));
    EXPECT_FALSE(Rules::isLevelCleared(49, 1));
    EXPECT_TRUE(Rules::isLevelCleared(50, 1));
}

TEST(KillerStonesRulesTest, APickupNeverComesTwiceInARow) {
    RandomGenerator::createInstance(1234, 0);
    std::array<int, Rules::kPickupCount> counts{};
    int previous = Rules::kNoPickup;
    for (int i = 0; i < 3000; ++i) {
        const int kind = Rules::drawPickup(previous);
        ASSERT_GE(kind, 0);
        ASSERT_LT(kind, Rules::kPickupCount);
        ASSERT_NE(kind, previous) << "draw " << i;
        ++counts.at(static_cast<std::size_t>(kind));
        previous = kind;
    }
    for (const int count : counts) {
        EXPECT_GT(count, 100); // every kind comes up
    }
}

TEST(KillerStonesRulesTest, SpawnPlacesKeepTheirDistance) {
    RandomGenerator::createInstance(99, 0);
    int last = 0;
    for (int i = 0; i < 2000; ++i) {
        const int x = Rules::drawSpawnX(last);
        ASSERT_GE(x, Rules::kSpawnMinX);
        ASSERT_LT(x, Rules::kSpawnMaxX);
        ASSERT_GE(std::abs(x - last), Rules::kSpawnSpacing) << x << " after " << last;
        last = x;
    }
}

TEST(KillerStonesPaceTest, EachLevelRunsFasterUpToTheLimits) {
    KillerStonesPace pace;
    EXPECT_EQ(pace.getFireInterval(), 225);
    EXPECT_EQ(pace.getSpawnInterval(), 1600);
    EXPECT_EQ(pace.getFallTime(), 2200);
    EXPECT_EQ(pace.getSwayChance(), 0);
    EXPECT_EQ(pace.getSwayLimit(), 1000);
    struct Expected {
        int level;
        int fire;
        int spawn;
        int fall;
        int sway;
    };
    // Level by level until every value has stopped at its limit.
    constexpr std::array<Expected, 6> kLevels{{
        {1, 250, 1450, 2125, 80},
        {2, 275, 1300, 2050, 160},
        {8, 425, 400, 1600, 640},
        {9, 425, 300, 1525, 720},
        {13, 425, 300, 1225, 1000},
        {30, 425, 300, 600, 1000},
    }};
    int level = 0;
    for (const Expected& e : kLevels) {
        while (level < e.level) {
            pace.nextLevel();
            ++level;
        }
        EXPECT_EQ(pace.getFireInterval(), e.fire) << "level " << level;
        EXPECT_EQ(pace.getSpawnInterval(), e.spawn) << "level " << level;
        EXPECT_EQ(pace.getFallTime(), e.fall) << "level " << level;
        EXPECT_EQ(pace.getSwayChance(), e.sway) << "level " << level;
    }
}

TEST(FloatRandomTest, DrawsFractionsFromTheNotedConstants) {
    FloatRandom floats(42);
    // The first step by hand: ((42 ^ m) * m + 11) mod 2^48, bits 24 and up.
    const std::uint64_t state =
        ((42ULL ^ FloatRandom::kMultiplier) * FloatRandom::kMultiplier + FloatRandom::kAddend) &
        FloatRandom::kMask;
    const float expected = static_cast<float>(state >> 24) / 16777216.0F;
    EXPECT_FLOAT_EQ(floats.nextFraction(), expected);
    FloatRandom same(42);
    FloatRandom other(43);
    static_cast<void>(same.nextFraction());
    static_cast<void>(other.nextFraction());
    EXPECT_EQ(same.getState(), floats.getState());
    EXPECT_NE(other.getState(), floats.getState());
    for (int i = 0; i < 1000; ++i) {
        const float turn = floats.next(1.0F, 2.0F);
        ASSERT_GE(turn, 1.0F);
        ASSERT_LT(turn, 2.0F);
        // The fraction is below 1, so a draw over a full turn stays below 1.
        const float angle = floats.next(0.0F, 6.2831855F);
        ASSERT_GE(angle, 0.0F);
        ASSERT_LT(angle, 1.0F);
    }
}

TEST(ModifierTileFallTest, FallsStraightOrSwaysAndLandsExactly) {
    RefPtr<GameNode> tile(new GameNode("tile"));
    RefPtr<ModifierTileFall> fall(new ModifierTileFall(300, -29, 600, 1000, 0, 0.0F));
    fall->setTarget(tile.get());
    fall->update(500);
    EXPECT_EQ(tile->getX(), 300);
    EXPECT_EQ(tile->getY(), 285);
    fall->update(700);
    EXPECT_TRUE(fall->isDone());
    EXPECT_EQ(tile->getY(), 600);

    RefPtr<ModifierTileFall> sway(new ModifierTileFall(300, 0, 600, 2000, 40, 3.1415927F));
    sway->setTarget(tile.get());
    sway->update(500); // half a second at half a turn a second: 40 pixels aside
    EXPECT_NEAR(tile->getX(), 340, 1);
    EXPECT_EQ(tile->getY(), 150);
    sway->update(500);
    EXPECT_NEAR(tile->getX(), 300, 1);
    sway->update(1100);
    EXPECT_EQ(tile->getX(), 300);
    EXPECT_EQ(tile->getY(), 600);
}

} // namespace
} // namespace orv
