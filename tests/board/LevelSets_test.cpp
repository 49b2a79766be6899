#include "game/board/LevelSets.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

using test::BoardTest;
using test::fixturePath;

class LevelSetsTest : public BoardTest {
protected:
    void SetUp() override {
        BoardTest::SetUp();
        sets.load(fixturePath("levelsets/"));
    }

    LevelSets sets;
};

TEST_F(LevelSetsTest, HallwayRoomsTakeTheirFloorAndRoomFromTheRequest) {
    EXPECT_EQ(sets.getFloorCount(), 2);
    EXPECT_EQ(sets.getRoomCount(1), 3);
    RefPtr<Level> level = sets.createLevel(2, 5);
    ASSERT_TRUE(level);
    EXPECT_EQ(level->getGameType(), GameType::Split);
    EXPECT_EQ(level->getTuningInt(Tuning::PointsPerMatch), 24);
    EXPECT_EQ(level->getFloor(), 2);
    EXPECT_EQ(level->getRoom(), 5);
    EXPECT_EQ(sets.createLevel(1, 3)->getGameType(), GameType::Triple);
}

TEST_F(LevelSetsTest, CasinoAndRoofDefinitionsByGameTypeAndDifficulty) {
    RefPtr<Level> triple = sets.getLevelDef(GameType::Triple, 2, Place::Casino);
    ASSERT_TRUE(triple);
    EXPECT_EQ(triple->getTuningInt(Tuning::PointsPerMatch), 30);
    EXPECT_EQ(triple->getDifficulty(), 2);
    EXPECT_EQ(triple->getPlace(), Place::Casino);
    RefPtr<Level> roof = sets.getLevelDef(GameType::Classic, 1, Place::Roof);
    ASSERT_TRUE(roof);
    EXPECT_EQ(roof->getPlace(), Place::Roof);
    RefPtr<Level> speed = sets.getSpeedLevelDef(1);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->getGameType(), GameType::Speed);
    EXPECT_EQ(speed->getDifficulty(), 1);
    EXPECT_EQ(speed->getPlace(), Place::Roof); // the node's own
}

TEST_F(LevelSetsTest, ASeriesOfTheRecreationRoomIsNumberedInFileOrder) {
    std::vector<RefPtr<Level>> series;
    EXPECT_EQ(sets.createRecRoomLevels(0, series), 4);
    ASSERT_EQ(series.size(), 4U);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(series[static_cast<std::size_t>(i)]->getIndex(), i);
    }
    EXPECT_EQ(series[3]->getGameType(), GameType::River);
}

TEST_F(LevelSetsTest, RequestsForWhatTheFilesDoNotHoldFailClearly) {
    test::LogCapture log;
    EXPECT_FALSE(sets.createLevel(3, 1));
    EXPECT_FALSE(sets.createLevel(0, 1));
    EXPECT_FALSE(sets.createLevel(1, 4));
    EXPECT_FALSE(sets.createLevel(2, 4)); // a sprite where a level should be
    EXPECT_TRUE(log.contains("not a level"));
    EXPECT_FALSE(sets.getLevelDef(GameType::River, 0, Place::Casino));
    EXPECT_FALSE(sets.getLevelDef(GameType::Speed, 0, Place::Casino));
    EXPECT_FALSE(sets.getLevelDef(GameType::Invalid, 0, Place::Casino));
    EXPECT_FALSE(sets.getLevelDef(GameType::Classic, 3, Place::Casino));
    EXPECT_FALSE(sets.getLevelDef(GameType::Classic, -1, Place::Casino));
    EXPECT_FALSE(sets.getSpeedLevelDef(2));
    std::vector<RefPtr<Level>> series;
    EXPECT_EQ(sets.createRecRoomLevels(1, series), 0);
    EXPECT_EQ(sets.createRecRoomLevels(-1, series), 0);
    EXPECT_TRUE(series.empty());
    EXPECT_TRUE(log.contains("floor 3, room 1"));

    LevelSets empty;
    empty.load(fixturePath("nowhere/"));
    EXPECT_FALSE(empty.createLevel(1, 1));
    EXPECT_TRUE(log.contains("cannot be read"));
}

} // namespace
} // namespace orv
