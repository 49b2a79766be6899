#include "game/players/PlayerServices.h"

#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "tests/players/PlayersFixture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using PlayerServicesTest = test::PlayersTest;

TEST_F(PlayerServicesTest, WithoutPlayersNothingIsKept) {
    PlayerServices services;
    EXPECT_FALSE(services.awardTrophy(3));
    EXPECT_EQ(services.countPlayerMatch(), 0);
    EXPECT_FALSE(services.isTutorialHintPending(15));
    EXPECT_EQ(services.getBestHallwayScore(1, 1), 0);
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_FALSE(services.loadSavedGame(0, *store));
    EXPECT_FALSE(services.hasUsageRecord());
    RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
    services.addUsageRecord(*event);
    EXPECT_TRUE(services.getPlayerName().empty());
}

TEST_F(PlayerServicesTest, TheRulesReachTheCurrentPlayer) {
    PlayerManager& manager = PlayerManager::create(false, "");
    manager.setDataFolder(temp.path().string());
    manager.addPlayer(new OrvantaPlayer("Ada"));
    OrvantaPlayer& player = *manager.getCurrentProfile();
    PlayerServices services;

    EXPECT_EQ(services.getPlayerName(), "Ada");
    EXPECT_TRUE(services.awardTrophy(16));
    EXPECT_FALSE(services.awardTrophy(16));
    EXPECT_FALSE(services.awardTrophy(20));
    EXPECT_FALSE(services.awardTrophy(-1));
    EXPECT_EQ(player.trophies->getState(16), TrophyState::kEarned);

    EXPECT_EQ(services.countPlayerMatch(), 1);
    EXPECT_EQ(services.countPlayerMatch(), 2);
    EXPECT_EQ(player.stats.numMatches, 2);

    EXPECT_TRUE(services.isTutorialHintPending(15));
    services.completeTutorialHint(15);
    EXPECT_FALSE(services.isTutorialHintPending(15));
    EXPECT_FALSE(services.isTutorialHintPending(29));
    services.completeTutorialHint(29);
    player.showHints = false;
    EXPECT_FALSE(services.isTutorialHintPending(16));

    player.stats.getRoom(3, 4).bestScore = 8100;
    EXPECT_EQ(services.getBestHallwayScore(3, 4), 8100);
    EXPECT_EQ(services.getBestHallwayScore(21, 1), 0);

    RefPtr<PropertyStore> game(new PropertyStore());
    game->add(new PropertyNode("game", "GameClassic"));
    ASSERT_TRUE(manager.saveSavedGame("Ada", "2", *game));
    RefPtr<PropertyStore> loaded(new PropertyStore());
    ASSERT_TRUE(services.loadSavedGame(2, *loaded));
    services.keepSavedGameNode(*loaded->getNode("game"));
    EXPECT_EQ(player.savedGame.get(), loaded->getNode("game"));
}

TEST_F(PlayerServicesTest, AnEventOutsideASessionOpensOne) {
    PlayerManager& manager = PlayerManager::create(false, "");
    manager.setDataFolder(temp.path().string());
    manager.addPlayer(new OrvantaPlayer("Ada"));
    manager.addPlayer(new OrvantaPlayer("Cy"));
    DataGathering& usage = DataGathering::start(temp.path().string());
    PlayerServices services;
    EXPECT_TRUE(services.hasUsageRecord());
    RefPtr<PropertyNode> event(new PropertyNode("", "OVLevelSession"));
    services.addUsageRecord(*event);
    services.addUsageRecord(*event);
    ASSERT_EQ(usage.getSessions().size(), 1U);
    EXPECT_EQ(usage.getSessions()[0].gameMode, -1);
    EXPECT_EQ(usage.getSessions()[0].numOfPlayers, 2);
    EXPECT_EQ(usage.getSessions()[0].events.size(), 2U);
    DataGathering::finish();
}

} // namespace
} // namespace orv
