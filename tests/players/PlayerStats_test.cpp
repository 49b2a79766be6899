#include "game/players/PlayerStats.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "tests/players/PlayersFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using PlayerStatsTest = test::PlayersTest;

RefPtr<PropertyNode> saved(const PlayerStats& stats) {
    RefPtr<PropertyNode> node(new PropertyNode("stats", "Data"));
    stats.save(*node);
    return node;
}

TEST_F(PlayerStatsTest, NewStatisticsSaveInTheFixedOrder) {
    const PlayerStats stats;
    const RefPtr<PropertyNode> node = saved(stats);
    std::vector<std::string> keys;
    for (const RefPtr<AbstractProperty>& child : node->getElements()) {
        keys.push_back(child->getName());
    }
    std::vector<std::string> expected{"rooms", "casino", "recroom", "rooftop"};
    for (int i = 0; i < 20; ++i) {
        expected.push_back("firstDoorClicked_" + std::to_string(i));
    }
    for (const char* key :
         {"numMatches", "maxCombo", "maxBonus", "quenbyRecord", "recRoomRecord", "twoStarsCount",
          "threeStarsCount", "numStuck", "numBonusTotal", "numGamesWon", "shuffleTokens",
          "hintTokens", "firstRecrLayoutClicked"}) {
        expected.emplace_back(key);
    }
    EXPECT_EQ(keys, expected);

    const PropertyVector* rooms = node->getVector("rooms");
    ASSERT_EQ(rooms->size(), 20U);
    const PropertyVector* floor = asVector(rooms->at(19));
    EXPECT_EQ(floor->getName(), "_");
    ASSERT_EQ(floor->size(), 5U);
    EXPECT_EQ(asNode(floor->at(4))->getValue("gameType")->getInt(), -1);
    EXPECT_EQ(node->getValue("firstDoorClicked_7")->getInt(), -1);
    EXPECT_EQ(node->getVector("casino")->size(), 3U);
    EXPECT_EQ(asVector(node->getVector("casino")->at(0))->size(), 5U);
    EXPECT_EQ(node->getVector("recroom")->size(), 5U);
    EXPECT_EQ(asVector(node->getVector("rooftop")->at(2))->size(), 2U);
    EXPECT_EQ(node->getValue("hintTokens")->getInt(), 1) << "a new counter starts at its minimum";
}

TEST_F(PlayerStatsTest, CasinoAndRoofAreStoredByDifficultyFirst) {
    PlayerStats stats;
    stats.getCasino(4, 1).bestScore = 4100;   // River, hard
    stats.getCasino(0, 2).playCountSplit = 7; // Classic, expert
    stats.getRoof(1, 0).bestLevel = 9;        // the other types, normal
    const RefPtr<PropertyNode> node = saved(stats);

    const auto record = [&node](const char* key, int outer, int inner) {
        return asNode(asVector(node->getVector(key)->at(outer))->at(inner));
    };
    EXPECT_EQ(record("casino", 1, 4)->getValue("bestScore")->getInt(), 4100);
    EXPECT_EQ(record("casino", 2, 0)->getValue("playCountSplit")->getInt(), 7);
    EXPECT_EQ(record("rooftop", 0, 1)->getValue("bestLevel")->getInt(), 9);

    PlayerStats loaded;
    loaded.load(*node);
    EXPECT_EQ(loaded.getCasino(4, 1).bestScore, 4100);
    EXPECT_EQ(loaded.getCasino(0, 2).playCountSplit, 7);
    EXPECT_EQ(loaded.getRoof(1, 0).bestLevel, 9);
}

TEST_F(PlayerStatsTest, EverythingSurvivesARoundTrip) {
    PlayerStats stats;
    stats.getRoom(20, 5) = {900, 61000, 3, 4, 2};
    stats.getRecRoom(3, 6).bestTime = 42000;
    stats.getRecRoom(3, 6).levelWinCount = 1;
    stats.numMatches = 12;
    stats.numGamesWon = 5;
    stats.maxCombo = 8;
    stats.shuffleTokens.reset(4);
    stats.hintTokens.reset(6);
    stats.firstDoorClicked[3] = 2;
    stats.firstRecrLayoutClicked = true;

    PlayerStats loaded;
    loaded.load(*saved(stats));
    const RoomRecord& room = loaded.getRoom(20, 5);
    EXPECT_EQ(room.bestScore, 900);
    EXPECT_EQ(room.bestTime, 61000);
    EXPECT_EQ(room.playCount, 3);
    EXPECT_EQ(room.gameType, 4);
    EXPECT_EQ(room.levelWinCount, 2);
    EXPECT_EQ(loaded.getRoom(1, 1).gameType, -1);
    ASSERT_EQ(loaded.getRecRoomList(3).size(), 7U);
    EXPECT_EQ(loaded.getRecRoomList(3)[6].bestTime, 42000);
    EXPECT_EQ(loaded.getRecRoomList(3)[0].playCount, 0);
    EXPECT_TRUE(loaded.getRecRoomList(0).empty());
    EXPECT_EQ(loaded.numMatches, 12);
    EXPECT_EQ(loaded.numGamesWon, 5);
    EXPECT_EQ(loaded.maxCombo, 8);
    EXPECT_EQ(loaded.shuffleTokens.getValue(), 4);
    EXPECT_EQ(loaded.hintTokens.getShown(), 6);
    EXPECT_EQ(loaded.firstDoorClicked[3], 2);
    EXPECT_EQ(loaded.firstDoorClicked[4], -1);
    EXPECT_TRUE(loaded.firstRecrLayoutClicked);
}

TEST_F(PlayerStatsTest, TokensAreClampedAndPendingStepsDropped) {
    struct Case {
        int stored;
        int shuffles;
        int hints;
    };
    for (const Case c : {Case{99, 5, 9}, Case{-4, 0, 1}, Case{3, 3, 3}}) {
        RefPtr<PropertyNode> node(new PropertyNode("stats", "Data"));
        node->add(new PropertyValue("shuffleTokens", c.stored));
        node->add(new PropertyValue("hintTokens", c.stored));
        PlayerStats stats;
        stats.shuffleTokens.add(2);
        stats.load(*node);
        EXPECT_EQ(stats.shuffleTokens.getValue(), c.shuffles) << c.stored;
        EXPECT_EQ(stats.shuffleTokens.getShown(), c.shuffles) << c.stored;
        EXPECT_TRUE(stats.shuffleTokens.getPendingDeltas().empty());
        EXPECT_EQ(stats.hintTokens.getValue(), c.hints) << c.stored;
    }
}

TEST_F(PlayerStatsTest, DamagedListsAreCutOrSkipped) {
    PlayerStats stats;
    stats.getRoom(1, 1).bestScore = 77;
    RefPtr<PropertyNode> node(new PropertyNode("stats", "Data"));
    // "rooms" as a value, a casino with a sixth type and a fourth difficulty.
    node->add(new PropertyValue("rooms", 5));
    auto* casino = static_cast<PropertyVector*>(node->add(new PropertyVector("casino")));
    for (int difficulty = 0; difficulty < 4; ++difficulty) {
        auto* row = static_cast<PropertyVector*>(casino->add(new PropertyVector("_")));
        for (int type = 0; type < 6; ++type) {
            auto* record = static_cast<PropertyNode*>(row->add(new PropertyNode("", "Data")));
            record->add(new PropertyValue("bestScore", 100 * difficulty + type));
        }
    }
    stats.load(*node);
    EXPECT_EQ(stats.getRoom(1, 1).bestScore, 77) << "a missing room list keeps the records";
    EXPECT_EQ(stats.getCasino(4, 2).bestScore, 204);
    EXPECT_EQ(stats.getCasino(0, 0).bestScore, 0);
}

TEST_F(PlayerStatsTest, FloorCompletionAndPlayCounts) {
    PlayerStats stats;
    for (int room = 1; room <= 5; ++room) {
        stats.getRoom(2, room).levelWinCount = room == 3 ? 0 : 1;
    }
    EXPECT_FALSE(stats.isFloorComplete(2));
    stats.getRoom(2, 3).levelWinCount = 2;
    EXPECT_TRUE(stats.isFloorComplete(2));
    EXPECT_FALSE(stats.isFloorComplete(21));

    stats.getRoom(1, 1) = {0, 0, 1, 2, 0};
    stats.getRoom(4, 2) = {0, 0, 1, 2, 0};
    stats.getRoom(4, 3) = {0, 0, 5, 1, 0};
    EXPECT_FALSE(stats.hasPlayCount(2, 3));
    stats.getCasino(2, 1).playCount = 1;
    EXPECT_TRUE(stats.hasPlayCount(2, 3)) << "twice in the hallway and once in the casino";
    EXPECT_FALSE(stats.hasPlayCount(4, 1));
    stats.getRecRoom(4, 3).playCount = 1;
    EXPECT_TRUE(stats.hasPlayCount(4, 1));
}

} // namespace
} // namespace orv
