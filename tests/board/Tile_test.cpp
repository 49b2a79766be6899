#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/Tile.h"
#include "game/board/TileManager.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::BoardTest;
using test::makeTile;
using test::parseNode;

using TileTest = BoardTest;

TEST_F(TileTest, ReadsItsKeysAndTakesTheMatchTypeFromItsSuit) {
    RefPtr<Tile> bonus(new Tile(
        parseNode(R"(<r><Tile x="3" y="4" z="5" suit="5" idx="2" sideboard="true"/></r>)").get()));
    EXPECT_EQ(bonus->getPos(), (TilePos{3, 4, 5}));
    EXPECT_EQ(bonus->getSuit(), 5);
    EXPECT_EQ(bonus->getIdx(), 2);
    EXPECT_TRUE(bonus->isSideboard());
    EXPECT_EQ(bonus->getMatchType(), MatchType::Suit);

    // Without "suit" the face and the side-board flag are not read at all.
    RefPtr<Tile> bare(
        new Tile(parseNode(R"(<r><Tile x="1" idx="3" sideboard="true"/></r>)").get()));
    EXPECT_EQ(bare->getPos(), (TilePos{1, 0, 0}));
    EXPECT_EQ(bare->getSuit(), kNoSuit);
    EXPECT_EQ(bare->getIdx(), 0);
    EXPECT_FALSE(bare->isSideboard());
}

TEST_F(TileTest, SavesItsKeysAsAttributesThatReadBackTheSameTile) {
    RefPtr<Tile> tile = makeTile({7, 9, 2}, 3, 1);
    tile->setSideboard(true);
    RefPtr<PropertyNode> node(new PropertyNode("", "Tile"));
    tile->save(node.get());

    std::vector<std::string> keys;
    for (const auto& child : node->getChildren()) {
        keys.push_back(child.name);
        EXPECT_TRUE(child.property->getTypeName().empty()) << child.name;
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"x", "y", "z", "idx", "suit", "sideboard"}));

    RefPtr<Tile> back(new Tile(node.get()));
    EXPECT_EQ(back->getPos(), tile->getPos());
    EXPECT_EQ(back->matchKey(), tile->matchKey());
    EXPECT_TRUE(back->isSideboard());
}

TEST_F(TileTest, CopyTakesEveryFieldButStartsWithAFreeMark) {
    RefPtr<Tile> tile = makeTile({4, 6, 1}, 6, 3);
    tile->setSideboard(true);
    tile->setVisible(false);
    tile->setDealKey(17);
    tile->setFreeMark(false);
    RefPtr<Tile> copy(new Tile(*tile));
    EXPECT_EQ(copy->getPos(), tile->getPos());
    EXPECT_EQ(copy->getSuit(), 6);
    EXPECT_EQ(copy->getIdx(), 3);
    EXPECT_EQ(copy->getMatchType(), MatchType::Suit);
    EXPECT_TRUE(copy->isSideboard());
    EXPECT_FALSE(copy->isPresent());
    EXPECT_EQ(copy->getDealKey(), 17);
    EXPECT_TRUE(copy->getFreeMark());
}

TEST_F(TileTest, VisibilityOfATileIsItsPresenceOnTheGrid) {
    RefPtr<Tile> tile = makeTile({0, 0, 0});
    tile->setVisible(false);
    EXPECT_FALSE(tile->isPresent());
    EXPECT_TRUE(tile->isVisible());
}

TEST_F(TileTest, MatchKeysCompareFacesOrWholeSuits) {
    struct Case {
        int suitA, idxA, suitB, idxB;
        bool equal;
    };
    const Case cases[] = {
        {0, 4, 0, 4, true}, {0, 4, 0, 5, false}, {0, 4, 1, 4, false}, {5, 0, 5, 3, true},
        {6, 1, 6, 2, true}, {5, 1, 6, 1, false}, {3, 2, 3, 2, true},
    };
    for (const Case& c : cases) {
        const int a = makeTile({}, c.suitA, c.idxA)->matchKey();
        const int b = makeTile({}, c.suitB, c.idxB)->matchKey();
        EXPECT_EQ(a == b, c.equal)
            << c.suitA << "/" << c.idxA << " vs " << c.suitB << "/" << c.idxB;
    }
    EXPECT_EQ(makeTile({}, 2, 7)->matchKey(), 2 * 256 + 7);
    EXPECT_EQ(makeTile({}, 5, 3)->matchKey(), 5 * 256);
}

TEST_F(TileTest, NearTilesShareALayerWithinTwoCellsEachWay) {
    RefPtr<Tile> a = makeTile({10, 10, 1});
    const std::pair<TilePos, bool> cases[] = {
        {{12, 10, 1}, true}, {{8, 12, 1}, true},   {{12, 12, 1}, true}, {{13, 10, 1}, false},
        {{10, 7, 1}, false}, {{10, 10, 2}, false}, {{10, 10, 1}, true},
    };
    for (const auto& [pos, near] : cases) {
        EXPECT_EQ(Tile::isNear(*a, *makeTile(pos)), near) << pos.x << "," << pos.y << "," << pos.z;
    }
    EXPECT_FALSE(Tile::isNear(*a, *a));
}

TEST_F(TileTest, FaceSheetOffsetsFollowTheSuitRows) {
    const int step = tileStepOffset(1);
    EXPECT_EQ(tileStepOffset(0), 0);
    EXPECT_EQ(tileStepOffset(3), tileStepOffset(4));
    EXPECT_EQ(tileStepOffset(5), tileStepOffset(6));
    EXPECT_EQ(tileStepOffset(3), 4 * step);
    EXPECT_EQ(tileStepOffset(5), 3 * step);
    EXPECT_EQ(tileStepOffset(7), 0);
    EXPECT_EQ(tileStepOffset(-1), 0);
    EXPECT_EQ(tileFaceOffsetX(4, 1), tileFaceOffsetX(3, 5));
}

TEST_F(TileTest, DataThatIsNoTileOrHasNoSuchFaceIsRefused) {
    test::LogCapture log;
    EXPECT_TRUE(createTile(parseNode(R"(<r><Tile x="2" suit="1" idx="8"/></r>)").get(), "ok"));
    EXPECT_FALSE(createTile(parseNode(R"(<r><Sprite x="2"/></r>)").get(), "sprite.xml"));
    EXPECT_TRUE(log.contains("sprite.xml"));
    EXPECT_FALSE(createTile(parseNode(R"(<r><Tile suit="1" idx="9"/></r>)").get(), "idx.xml"));
    EXPECT_TRUE(log.contains("idx.xml"));
    EXPECT_FALSE(createTile(parseNode(R"(<r><Tile suit="8"/></r>)").get(), "suit.xml"));
    EXPECT_FALSE(createTile(parseNode(R"(<r><Tile suit="-1"/></r>)").get(), "negative.xml"));
    RefPtr<PropertyValue> value(new PropertyValue("x", 3));
    EXPECT_FALSE(createTile(value.get(), "value.xml"));
    EXPECT_FALSE(createTile(nullptr, "null"));
}

} // namespace
} // namespace orv
