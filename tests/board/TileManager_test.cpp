#include "engine/core/RandomGenerator.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/TileManager.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace orv {
namespace {

using test::BoardTest;

using TileManagerTest = BoardTest;

// How often each face occurs in `faces`.
std::map<std::pair<int, int>, int> countFaces(const std::vector<TileDef>& faces) {
    std::map<std::pair<int, int>, int> counts;
    for (const TileDef& face : faces) {
        ++counts[{face.suit, face.idx}];
    }
    return counts;
}

std::vector<TileDef> distribute(int tiles, int groupSize, int bonusCount) {
    std::vector<TileDef> faces;
    TileManager::get()->distribute(tiles, groupSize, bonusCount, kOrdinarySuits, faces);
    return faces;
}

TEST_F(TileManagerTest, TheGamesSuitDefinitionsReadAsSevenSuits) {
    RefPtr<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->load(std::string(ORVANTA_MEDIA_SOURCE) + "/properties/mahjong.xml"));
    RefPtr<TileManager> manager(new TileManager(store->getVector("suitDefs")));
    ASSERT_EQ(manager->getSuitCount(), 7);
    const int sizes[] = {9, 9, 9, 4, 3, 4, 4};
    for (int suit = 0; suit < 7; ++suit) {
        EXPECT_EQ(manager->getSuit(suit)->getSize(), sizes[suit]) << suit;
        EXPECT_EQ(manager->getSuit(suit)->getNumber(), suit);
        EXPECT_EQ(manager->matchTypeOf(suit), suit >= 5 ? MatchType::Suit : MatchType::Exact);
    }
    EXPECT_EQ(manager->getSuit(7), nullptr);
    EXPECT_EQ(manager->getSuit(-1), nullptr);
}

TEST_F(TileManagerTest, ElementsThatAreNoSuitsAreSkipped) {
    test::QuietLog quiet;
    RefPtr<PropertyNode> node = test::parseNode(
        R"(<r><Node id="defs"><Vector id="v"><Suit size="2"/><Tile/><Suit size="3"/></Vector></Node></r>)");
    RefPtr<TileManager> manager(new TileManager(node->getVector("v")));
    ASSERT_EQ(manager->getSuitCount(), 2);
    EXPECT_EQ(manager->getSuit(1)->getSize(), 3);
    EXPECT_EQ(manager->getSuit(1)->getNumber(), 1);
}

TEST_F(TileManagerTest, AFullClassicBoardHoldsEveryFaceFourTimesAndEachBonusOnce) {
    const std::vector<TileDef> faces = distribute(144, 2, 4);
    ASSERT_EQ(faces.size(), 144U);
    EXPECT_GE(faces[0].suit, 5); // the bonus suits come first
    for (const auto& [face, count] : countFaces(faces)) {
        EXPECT_EQ(count, face.first >= 5 ? 1 : 4) << face.first << "/" << face.second;
    }
    EXPECT_EQ(countFaces(faces).size(), 34U + 8U);
}

TEST_F(TileManagerTest, AFullTripleBoardHoldsEveryFaceSixTimesAndSixOfEachBonusSuit) {
    const std::vector<TileDef> faces = distribute(216, 3, 6);
    ASSERT_EQ(faces.size(), 216U);
    std::map<int, int> perBonusSuit;
    for (const auto& [face, count] : countFaces(faces)) {
        if (face.first >= 5) {
            perBonusSuit[face.first] += count;
        } else {
            EXPECT_EQ(count, 6) << face.first << "/" << face.second;
        }
    }
    EXPECT_EQ(perBonusSuit[5], 6);
    EXPECT_EQ(perBonusSuit[6], 6);
}

TEST_F(TileManagerTest, SmallBoardsGetDistinctFacesInGroups) {
    struct Case {
        int tiles, groupSize, bonusCount;
        std::size_t faces;
    };
    const Case cases[] = {
        {60, 2, 4, 60}, // no bonus cycle fits: 30 distinct faces, twice each
        {36, 3, 6, 36}, // 12 distinct faces, three times each
        {20, 1, 4, 20}, // Split and Speed: single faces
        {2, 2, 4, 2},   {0, 2, 4, 0}, {-4, 2, 4, 0},
    };
    for (const Case& c : cases) {
        const std::vector<TileDef> faces = distribute(c.tiles, c.groupSize, c.bonusCount);
        EXPECT_EQ(faces.size(), c.faces) << c.tiles;
        for (const auto& [face, count] : countFaces(faces)) {
            EXPECT_EQ(count, c.groupSize) << c.tiles << ": " << face.first << "/" << face.second;
            EXPECT_LT(face.first, 5);
        }
    }
}

TEST_F(TileManagerTest, CountsThatCannotBeFilledGiveFewerFacesThanTiles) {
    // 142 Classic tiles: one bonus cycle, every ordinary face twice, then 34
    // more distinct faces; two tiles are left without a face.
    EXPECT_EQ(distribute(142, 2, 4).size(), 140U);
    EXPECT_EQ(distribute(143, 2, 4).size(), 140U);
    EXPECT_EQ(distribute(37, 3, 6).size(), 36U);
}

TEST_F(TileManagerTest, TheSameSeedGivesTheSameFaces) {
    RandomGenerator::createInstance(99, 0);
    const std::vector<TileDef> first = distribute(100, 2, 4);
    RandomGenerator::createInstance(99, 0);
    EXPECT_EQ(distribute(100, 2, 4), first);
}

} // namespace
} // namespace orv
