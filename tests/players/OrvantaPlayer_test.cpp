#include "game/players/OrvantaPlayer.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "tests/players/PlayersFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace orv {
namespace {

using OrvantaPlayerTest = test::PlayersTest;

RefPtr<PropertyNode> saved(const OrvantaPlayer& player) {
    RefPtr<PropertyNode> node(new PropertyNode("player", "Player"));
    player.save(*node);
    return node;
}

TEST_F(OrvantaPlayerTest, NewProfileSavesDefaultsAndLoadsBack) {
    const OrvantaPlayer fresh("Ada");
    const RefPtr<PropertyNode> node = saved(fresh);
    std::vector<std::string> keys;
    for (const RefPtr<AbstractProperty>& child : node->getElements()) {
        keys.push_back(child->getName());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"showhints", "background", "tileset", "floorReached",
                                              "trophies", "hints", "unlockedStuff", "modesUnlocked",
                                              "stats"}));
    EXPECT_EQ(node->getChild("name"), nullptr) << "the name lives in the players list";
    EXPECT_EQ(node->getNode("trophies")->getTypeName(), "Trophies");
    EXPECT_EQ(node->getNode("stats")->getTypeName(), "Data");
    const PropertyVector* hints = node->getVector("hints");
    ASSERT_EQ(hints->size(), 29U);
    EXPECT_EQ(asValue(hints->at(28))->getTypeName(), "Boolean");
    EXPECT_TRUE(PropertyValue::toBool(hints->at(28)));
    EXPECT_EQ(node->getVector("unlockedStuff")->size(), 20U);
    const PropertyVector* modes = node->getVector("modesUnlocked");
    ASSERT_EQ(modes->size(), 4U);
    EXPECT_EQ(PropertyValue::toInt(modes->at(0)), 2);
    EXPECT_EQ(PropertyValue::toInt(modes->at(1)), 0);

    OrvantaPlayer loaded("Ada");
    loaded.currentFloor = 7;
    loaded.load(*node);
    EXPECT_TRUE(loaded.showHints);
    EXPECT_EQ(loaded.floorReached, 0);
    EXPECT_EQ(loaded.currentFloor, 1);
    EXPECT_EQ(loaded.modesUnlocked, (std::array<int, 4>{2, 0, 0, 0}));
}

TEST_F(OrvantaPlayerTest, ProfileRoundTrip) {
    OrvantaPlayer player("Ada");
    player.showHints = false;
    player.hintFlags[3] = false;
    player.background = 2;
    player.tileset = 3;
    player.floorReached = 6;
    player.stats.numMatches = 40;
    player.trophies->award(1);
    player.newHighScorePending = true;

    OrvantaPlayer loaded("Ada");
    loaded.load(*saved(player));
    EXPECT_FALSE(loaded.showHints);
    EXPECT_FALSE(loaded.hintFlags[3]);
    EXPECT_TRUE(loaded.hintFlags[4]);
    EXPECT_EQ(loaded.background, 2);
    EXPECT_EQ(loaded.tileset, 3);
    EXPECT_EQ(loaded.floorReached, 6);
    EXPECT_EQ(loaded.currentFloor, 6);
    EXPECT_EQ(loaded.stats.numMatches, 40);
    EXPECT_EQ(loaded.trophies->getState(1), TrophyState::kEarned)
        << "the short definitions do not save earned trophies as seen";
    EXPECT_FALSE(loaded.newHighScorePending) << "not part of the file";
}

TEST_F(OrvantaPlayerTest, CompletingFloorsOpensItemsAndModes) {
    struct Case {
        int floor;
        std::array<int, 4> modes;
    };
    for (const Case c : {Case{1, {2, 1, 0, 0}}, Case{3, {2, 0, 0, 0}}, Case{4, {2, 0, 1, 0}},
                         Case{20, {2, 0, 0, 1}}}) {
        OrvantaPlayer player("Ada");
        player.unlockStuff(c.floor - 1);
        EXPECT_EQ(player.unlockedStuff.at(static_cast<std::size_t>(c.floor - 1)), 1) << c.floor;
        EXPECT_EQ(player.modesUnlocked, c.modes) << "floor " << c.floor;
    }

    OrvantaPlayer player("Ada");
    player.unlockStuff(0);
    player.unlockStuff(-1);
    player.unlockStuff(20);
    OrvantaPlayer loaded("Ada");
    loaded.load(*saved(player));
    EXPECT_EQ(loaded.modesUnlocked[1], 2) << "a newly opened mode is open after a load";
    EXPECT_EQ(loaded.unlockedStuff[0], 1) << "an item stays new until a scene shows it";
}

TEST_F(OrvantaPlayerTest, LevelsCompleted) {
    OrvantaPlayer player("Ada");
    player.floorReached = 21;
    EXPECT_EQ(player.getLevelsCompleted(), 100);
    player.floorReached = 2;
    player.stats.getRoom(2, 1).levelWinCount = 1;
    player.stats.getRoom(2, 3).levelWinCount = 4;
    EXPECT_EQ(player.getLevelsCompleted(), 7);
}

TEST_F(OrvantaPlayerTest, OverlongAndDamagedVectorsAreCut) {
    RefPtr<PropertyNode> node(new PropertyNode("player", "Player"));
    auto* hints = static_cast<PropertyVector*>(node->add(new PropertyVector("hints")));
    for (int i = 0; i < 40; ++i) {
        hints->addBool(i % 2 == 0);
    }
    hints->add(new PropertyNode("", "Data"));
    auto* items = static_cast<PropertyVector*>(node->add(new PropertyVector("unlockedStuff")));
    for (int i = 0; i < 500; ++i) {
        items->add(new PropertyValue("", 2));
    }
    auto* modes = static_cast<PropertyVector*>(node->add(new PropertyVector("modesUnlocked")));
    for (int i = 0; i < 9; ++i) {
        modes->add(new PropertyValue("", 1));
    }
    auto* trophyNode =
        static_cast<PropertyNode*>(node->add(new PropertyNode("trophies", "Trophies")));
    auto* states =
        static_cast<PropertyVector*>(trophyNode->add(new PropertyVector("trophyVector")));
    for (int i = 0; i < 64; ++i) {
        states->add(new PropertyValue("", 3));
    }
    node->add(new PropertyValue("floorReached", 5000));

    OrvantaPlayer player("Ada");
    player.load(*node);
    EXPECT_TRUE(player.hintFlags[0]);
    EXPECT_FALSE(player.hintFlags[1]);
    EXPECT_TRUE(player.hintFlags[28]);
    EXPECT_EQ(player.unlockedStuff[19], 2);
    EXPECT_EQ(player.modesUnlocked, (std::array<int, 4>{2, 2, 2, 2}));
    EXPECT_EQ(player.trophies->size(), 20U);
    EXPECT_EQ(player.trophies->getState(19), TrophyState::kSeen);
    EXPECT_EQ(player.floorReached, 21);
    EXPECT_EQ(player.getLevelsCompleted(), 100);
}

TEST_F(OrvantaPlayerTest, LooksOutsideTheirRangesReadAsTheFirst) {
    // {background, tile set} stored -> loaded
    const std::vector<std::pair<std::array<int, 2>, std::array<int, 2>>> cases = {
        {{10, 3}, {10, 3}}, {{0, 0}, {0, 0}},   {{11, 4}, {0, 0}},
        {{-1, -7}, {0, 0}}, {{5, 100}, {5, 0}},
    };
    for (const auto& [stored, loaded] : cases) {
        RefPtr<PropertyNode> node(new PropertyNode("player", "Player"));
        node->add(new PropertyValue("background", stored[0]));
        node->add(new PropertyValue("tileset", stored[1]));
        OrvantaPlayer player("Ada");
        player.load(*node);
        EXPECT_EQ(player.background, loaded[0]) << stored[0];
        EXPECT_EQ(player.tileset, loaded[1]) << stored[1];
    }
}

TEST_F(OrvantaPlayerTest, MissingKeysTurnHintsOffAndKeepTrophies) {
    OrvantaPlayer player("Ada");
    player.trophies->award(2);
    player.load(*DUMMY_NODE);
    EXPECT_FALSE(player.showHints);
    EXPECT_TRUE(player.hintFlags[0]);
    EXPECT_EQ(player.trophies->getState(2), TrophyState::kEarned);
}

TEST_F(OrvantaPlayerTest, IdentityNamesTheClass) {
    const OrvantaPlayer player("Zoë");
    RefPtr<PropertyNode> entry(new PropertyNode("", "AbstractPlayer"));
    player.writeIdentity(*entry);
    EXPECT_EQ(entry->getTypeName(), "OrvantaPlayer");
    EXPECT_EQ(entry->getValue("name")->getString(), "Zoë");
    EXPECT_EQ(OrvantaPlayer(*entry).getName(), "Zoë");
    player.writeIdentity(*DUMMY_NODE);
    EXPECT_EQ(DUMMY_NODE->getChildCount(), 0U);
}

} // namespace
} // namespace orv
