#include "game/screen/LevelRecords.h"

#include "engine/core/RandomGenerator.h"
#include "game/board/Level.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "game/screen/ProfileHooks.h"
#include "tests/board/GameFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

constexpr std::size_t kFloorOneTrophy = 5;
constexpr std::size_t kAllTwoStarsTrophy = 14;
constexpr std::size_t kCasinoFirstTrophy = 10;
constexpr std::size_t kCasinoEveryTypeTrophy = 11;

class LevelRecordsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        TrophyList::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/trophies.xml");
        player = new OrvantaPlayer("Ada");
    }
    void TearDown() override {
        player = nullptr;
        HighScoreManager::destroyInstance();
        TrophyList::setDefinitionFile({});
        GameTest::TearDown();
    }
    // A level of `type` at `place` with its numbers set.
    static RefPtr<Level> level(Place place, GameType type, int a, int b,
                               const std::string& attributes = R"(silver="100" gold="200")") {
        RefPtr<Level> made = makeLevel(nullptr, type, attributes);
        made->setPlace(place);
        made->setFloor(a);
        made->setRoom(b);
        made->setDifficulty(b);
        made->setIndex(b);
        return made;
    }

    RefPtr<OrvantaPlayer> player;
};

TEST_F(LevelRecordsTest, APlayIsCountedInTheRecordOfItsPlace) {
    countPlay(*player, *level(Place::Hallway, GameType::Split, 2, 3));
    EXPECT_EQ(player->stats.getRoom(2, 3).playCount, 1);
    EXPECT_EQ(player->stats.getRoom(2, 3).gameType, 2);

    // The casino and the roof count only the first level of a run.
    countPlay(*player, *level(Place::Casino, GameType::Triple, 0, 0));
    countPlay(*player, *level(Place::Casino, GameType::Triple, 0, 1));
    EXPECT_EQ(player->stats.getCasino(3, 0).playCount, 1);
    EXPECT_EQ(player->stats.getCasino(3, 0).playCountTriple, 1);
    EXPECT_EQ(player->stats.getCasino(3, 1).playCount, 0);
    countPlay(*player, *level(Place::Roof, GameType::Speed, 0, 0));
    EXPECT_EQ(player->stats.getRoof(0, 0).playCount, 1);
    countPlay(*player, *level(Place::RecRoom, GameType::River, 0, 4));
    EXPECT_EQ(player->stats.getRecRoom(4, 4).playCount, 1);

    // Numbers outside the records write nothing (and do not assert).
    countPlay(*player, *level(Place::Hallway, GameType::Classic, 21, 1));
    countPlay(*player, *level(Place::Casino, GameType::Speed, 0, 0));
    countPlay(*player, *level(Place::RecRoom, GameType::Classic, 0, -1));
}

// A room's first win leaves the host's tip for the hallway (on floor 1 the
// stars' tip 3 for two or three stars, else 2; higher up 4 unless all three
// stars), a later win none; the win that completes a floor names it.
TEST_F(LevelRecordsTest, AHallwayWinLeavesItsTipAndTheFloorItCompleted) {
    struct Case {
        int floor;
        int room;
        int score;
        int tip;
    };
    const std::vector<Case> cases{{1, 1, 50, 2}, {1, 2, 100, 3}, {1, 3, 250, 3},
                                  {2, 1, 50, 4}, {2, 2, 150, 4}, {2, 3, 200, 0}};
    for (const Case& c : cases) {
        const HallwayNews news =
            recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, c.floor, c.room),
                           {c.score, 1, 0}, {});
        EXPECT_EQ(news.tip, c.tip) << c.floor << "/" << c.room;
        EXPECT_EQ(news.completedFloor, 0) << c.floor << "/" << c.room;
    }
    EXPECT_EQ(
        recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, 1, 1), {300, 1, 0}, {})
            .tip,
        0)
        << "a second win leaves no tip";
    recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, 1, 4), {50, 1, 0}, {});
    const HallwayNews last =
        recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, 1, 5), {50, 1, 0}, {});
    EXPECT_EQ(last.completedFloor, 1);
    EXPECT_EQ(last.tip, 2);
    EXPECT_EQ(
        recordLevelWon(*player, *level(Place::Casino, GameType::Classic, 0, 0), {50, 1, 0}, {})
            .completedFloor,
        0);
}

TEST_F(LevelRecordsTest, AHallwayWinKeepsBestsCountsStarsAndCompletesTheFloor) {
    const LevelOutcome outcome{150, 90000, 0};
    for (int room = 1; room <= 4; ++room) {
        recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, 1, room), outcome, {});
    }
    EXPECT_EQ(player->floorReached, 0) << "four rooms do not complete a floor";
    EXPECT_EQ(player->stats.twoStarsCount, 4);

    const RefPtr<Level> last = level(Place::Hallway, GameType::Classic, 1, 5);
    recordLevelWon(*player, *last, {250, 120000, 0}, {});
    const RoomRecord& room = player->stats.getRoom(1, 5);
    EXPECT_EQ(room.bestScore, 250);
    EXPECT_EQ(room.bestTime, 120000);
    EXPECT_EQ(player->stats.threeStarsCount, 1);
    EXPECT_EQ(player->stats.twoStarsCount, 4) << "straight past the band: no second star counted";
    EXPECT_EQ(player->floorReached, 2);
    EXPECT_EQ(player->trophies->getState(kFloorOneTrophy), 4);
    EXPECT_EQ(player->stats.numGamesWon, 5);
    EXPECT_EQ(player->stats.quenbyRecord, 250);

    // A slower, lower win keeps the bests; the floor is not completed twice.
    player->trophies->setState(kFloorOneTrophy, 3);
    recordLevelWon(*player, *last, {90, 200000, 0}, {});
    EXPECT_EQ(room.bestScore, 250);
    EXPECT_EQ(room.bestTime, 120000);
    EXPECT_EQ(room.levelWinCount, 2);
    EXPECT_EQ(player->trophies->getState(kFloorOneTrophy), 3);
}

TEST_F(LevelRecordsTest, EveryRoomInTheBandHoldsTheStarsTrophyBack) {
    const GoalLookup goals = [](int /*floor*/, int /*room*/, int& silver, int& gold) {
        silver = 100;
        gold = 200;
        return true;
    };
    for (int floor = 1; floor <= PlayerStats::kFloors; ++floor) {
        for (int room = 1; room <= PlayerStats::kRoomsPerFloor; ++room) {
            player->stats.getRoom(floor, room).bestScore = 150;
        }
    }
    player->stats.getRoom(20, 5).bestScore = 0;
    recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, 3, 3), {150, 1, 0}, goals);
    EXPECT_EQ(player->trophies->getState(kAllTwoStarsTrophy), 0);
    recordLevelWon(*player, *level(Place::Hallway, GameType::Classic, 20, 5), {150, 1, 0}, goals);
    EXPECT_EQ(player->trophies->getState(kAllTwoStarsTrophy), 4);
}

// The host's star tip says "two stars" exactly when the win counted two
// stars for the room: both grade a best score by the same rule, a goal
// reached being a goal earned.
TEST_F(LevelRecordsTest, TheHostsStarTipGradesTheRoomLikeTheRecords) {
    TempDir folder;
    PlayerManager& players = PlayerManager::create(false, "");
    players.setDataFolder(folder.path().string());
    ProfilePlayerHook hook;
    const RefPtr<Level> room = level(Place::Hallway, GameType::Classic, 4, 2);
    players.addPlayer(new OrvantaPlayer("Ada"));
    OrvantaPlayer* ada = players.getCurrentProfile();
    ASSERT_NE(ada, nullptr);
    for (const int score : {99, 100, 150, 199, 200, 250}) {
        ada->stats.getRoom(4, 2) = RoomRecord{};
        ada->stats.twoStarsCount = 0;
        recordLevelWon(*ada, *room, {score, 1000, 0}, {});
        EXPECT_EQ(hook.isBestBetweenSilverAndGold(*room), ada->stats.twoStarsCount == 1)
            << "score " << score;
        EXPECT_EQ(hook.isBestBetweenSilverAndGold(*room), score >= 100 && score < 200)
            << "score " << score;
    }
    PlayerManager::destroyInstance();
}

TEST_F(LevelRecordsTest, ALostRunEntersTheHighScoreTableOfItsPlace) {
    TempDir temp;
    RandomGenerator::createInstance(7, 0);
    HighScoreManager::create(false, "1").setDataFolder(temp.path().string());
    const RefPtr<Level> casino = level(Place::Casino, GameType::FreeCell, 0, 2);
    EXPECT_TRUE(recordLevelLost(*player, *casino, {99999, 0, 0}));
    const HighScoreTable* table = getHighScoreTable("1_1_2", false);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->hasPlayerEntry("Ada"));
    EXPECT_TRUE(player->newHighScorePending);
    EXPECT_EQ(player->stats.getCasino(1, 2).bestScore, 99999);
    EXPECT_EQ(player->stats.getCasino(1, 2).bestLevel, 2);
    EXPECT_EQ(player->trophies->getState(kCasinoFirstTrophy), 4);

    // A mixed roof run has its table by difficulty alone.
    const RefPtr<Level> roof = level(Place::Roof, GameType::River, 0, 1);
    roof->setMixed(true);
    EXPECT_FALSE(recordLevelLost(*player, *roof, {10, 0, 0}));
    EXPECT_NE(getHighScoreTable("mixed_1", false), nullptr);
    EXPECT_EQ(player->stats.getRoof(1, 1).bestScore, 10);

    // The hallway's losses keep no table.
    EXPECT_FALSE(recordLevelLost(*player, *level(Place::Hallway, GameType::Classic, 1, 1), {}));
}

TEST_F(LevelRecordsTest, CasinoTrophiesFollowTheFirstRowAndTheTablesOfEveryType) {
    TempDir temp;
    RandomGenerator::createInstance(7, 0);
    HighScoreManager::create(false, "1").setDataFolder(temp.path().string());
    // A score below the invented rows takes no first place.
    EXPECT_FALSE(
        recordLevelLost(*player, *level(Place::Casino, GameType::Classic, 0, 1), {1, 0, 0}));
    EXPECT_EQ(player->trophies->getState(kCasinoFirstTrophy), 0);

    const GameType types[] = {GameType::Classic, GameType::FreeCell, GameType::Split,
                              GameType::Triple, GameType::River};
    for (const GameType type : types) {
        EXPECT_EQ(player->trophies->getState(kCasinoEveryTypeTrophy), 0);
        // A row at another difficulty does not count towards this one.
        if (type == GameType::River) {
            recordLevelLost(*player, *level(Place::Casino, type, 0, 2), {99999, 0, 0});
            EXPECT_EQ(player->trophies->getState(kCasinoEveryTypeTrophy), 0);
        }
        EXPECT_TRUE(recordLevelLost(*player, *level(Place::Casino, type, 0, 1), {99999, 0, 0}));
    }
    EXPECT_EQ(player->trophies->getState(kCasinoFirstTrophy), 4);
    EXPECT_EQ(player->trophies->getState(kCasinoEveryTypeTrophy), 4);
}

TEST_F(LevelRecordsTest, TheRecreationRoomKeepsTheFastestClock) {
    const RefPtr<Level> rec = level(Place::RecRoom, GameType::Split, 0, 3);
    recordLevelWon(*player, *rec, {0, 0, 50000}, {});
    recordLevelWon(*player, *rec, {0, 0, 70000}, {});
    recordLevelWon(*player, *rec, {0, 0, 40000}, {});
    EXPECT_EQ(player->stats.getRecRoom(2, 3).bestTime, 40000);
    EXPECT_EQ(player->stats.getRecRoom(2, 3).levelWinCount, 3);
    EXPECT_EQ(player->stats.recRoomRecord, 70000);
    const BestResult best = bestFor(*player, *rec);
    EXPECT_EQ(best.timeMs, 40000);
}

} // namespace
} // namespace orv::test
