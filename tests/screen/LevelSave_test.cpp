#include "game/screen/LevelSave.h"

#include "game/screen/PlayRules.h"

#include <gtest/gtest.h>

#include <array>

namespace orv {
namespace {

TEST(LevelSave, StepFollowsPhaseAndPlace) {
    struct Case {
        int phase;
        bool game;
        int place;
        LevelSaveStep step;
    };
    const std::array<Case, 9> cases{{
        {0, true, PlaceCasino, LevelSaveStep::Nothing},
        {1, false, PlaceCasino, LevelSaveStep::Forget},
        {1, true, PlaceHallway, LevelSaveStep::Forget}, // hallway levels are never saved here
        {2, true, PlaceHallway, LevelSaveStep::Forget},
        {1, true, PlaceCasino, LevelSaveStep::Save},
        {1, true, PlaceRecRoom, LevelSaveStep::Save},
        {2, true, PlaceRecRoom, LevelSaveStep::Forget},
        {2, true, PlaceCasino, LevelSaveStep::SaveNextLevel}, // saved as the next level
        {2, true, PlaceRoof, LevelSaveStep::SaveNextLevel},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(levelSaveStep(c.phase, c.game, c.place), c.step)
            << "phase " << c.phase << " place " << c.place;
    }
}

TEST(LevelSave, FullTimeNeitherWrapsNorGoesNegative) {
    EXPECT_EQ(fullLevelTime(1500, 144), 216000);
    EXPECT_EQ(fullLevelTime(2000000000, 144), 2147483647);
    EXPECT_EQ(fullLevelTime(-5, 144), 0);
}

} // namespace
} // namespace orv
