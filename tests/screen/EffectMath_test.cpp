#include "game/screen/EffectMath.h"

#include <gtest/gtest.h>

#include <array>

namespace orv {
namespace {

TEST(EffectMath, FloaterFontAndTextFollowTheMultiplier) {
    struct Case {
        int multiplier;
        const char* font;
        const char* text;
    };
    const std::array<Case, 5> cases{{{0, "FONT_SCORE_FLOATER1", "150"},
                                     {1, "FONT_SCORE_FLOATER1", "150"},
                                     {3, "FONT_SCORE_FLOATER3", "150 x 3"},
                                     {6, "FONT_SCORE_FLOATER6", "150 x 6"},
                                     {9, "FONT_SCORE_FLOATER6", "150 x 9"}}};
    for (const Case& c : cases) {
        EXPECT_EQ(floaterFontName(c.multiplier), c.font);
        EXPECT_EQ(floaterText(150, c.multiplier), c.text);
    }
}

TEST(EffectMath, PenaltyShowsMinusWholeSeconds) {
    EXPECT_EQ(penaltyText("%s! (%)", penaltySeconds(10000)), "-10s! (-10)");
    EXPECT_EQ(penaltyText("%", penaltySeconds(999)), "0");
    EXPECT_EQ(penaltyText("no mark", penaltySeconds(5000)), "no mark");
}

TEST(EffectMath, SuperAndMegaStarsOverlapAndTakeTheirTime) {
    const StarRow super = superScoreStars(1, 40);
    EXPECT_EQ(super.count, 2);
    EXPECT_EQ(super.total, 65);
    EXPECT_EQ(super.x0, 20 - 32);
    EXPECT_EQ(super.lastX(), -12 + 25);
    const StarRow mega = superScoreStars(2, 40);
    EXPECT_EQ(mega.count, 3);
    EXPECT_EQ(mega.total, 90);
    EXPECT_EQ(mega.lastX(), -25 + 50);
    EXPECT_EQ(superScoreStars(-1, 40).count, 0);
    EXPECT_EQ(superScoreDuration(1), 2950);
    EXPECT_EQ(superScoreDuration(2), 3300);
    EXPECT_EQ(superScoreDuration(-1), 0);
}

TEST(EffectMath, SuperHintRevealNeverDividesByZero) {
    EXPECT_EQ(superHintRevealWidth(10000, 10000, 200), 0);
    EXPECT_EQ(superHintRevealWidth(10000, 2500, 200), 150);
    EXPECT_EQ(superHintRevealWidth(10000, -300, 200), 200);
    EXPECT_EQ(superHintRevealWidth(0, 0, 200), 0);
    EXPECT_EQ(superHintRevealWidth(-5, 0, 200), 0);
}

TEST(EffectMath, HighScoreLightRisesOverItsOwnTwentyMilliseconds) {
    // Light 28 starts its cycle 40 ms in; bar alpha 255 gives at most 80.
    EXPECT_EQ(highScoreLightAlpha(28, 1120, 255), 0);
    EXPECT_EQ(highScoreLightAlpha(28, 1130, 255), 40); // half way up the rise
    EXPECT_EQ(highScoreLightAlpha(28, 1139, 255), 76);
    EXPECT_EQ(highScoreLightAlpha(28, 1160 + 100, 255), 80);
    EXPECT_EQ(highScoreLightAlpha(28, 1160 + 220 - 40 + 360, 255), 40);
    EXPECT_EQ(highScoreLightAlpha(28, 1160 + 1000, 255), 0);
}

TEST(EffectMath, RemovedTilesShineFromFourAndThrowStarsFromSeven) {
    EXPECT_FALSE(tileRemovalShines(3));
    EXPECT_TRUE(tileRemovalShines(4));
    EXPECT_EQ(tileRemovalStars(6).count, 0);
    EXPECT_EQ(tileRemovalStars(7).count, 4);
    EXPECT_EQ(tileRemovalStars(7).distance, 25);
    EXPECT_EQ(tileRemovalStars(10).count, 7);
    EXPECT_EQ(tileRemovalStars(10).distance, 40);
    EXPECT_EQ(tileRemovalStars(100).count, 30);
}

} // namespace
} // namespace orv
