#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/SideBoard.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orv {
namespace {

using test::BoardTest;
using test::makeTile;
using test::parseNode;

using SideBoardTest = BoardTest;

RefPtr<SideBoard> makeRack(int columns, int rows) {
    RefPtr<SideBoard> rack(new SideBoard(nullptr));
    rack->setDimensions(columns, rows);
    return rack;
}

// Hands out faceless tiles until `count` have gone.
auto tileSource(int count) {
    return [count]() mutable -> RefPtr<Tile> {
        return count-- > 0 ? makeTile({}) : nullptr;
    };
}

std::vector<std::pair<int, int>> occupied(const SideBoard& rack) {
    std::vector<std::pair<int, int>> slots;
    TileList tiles;
    rack.getTiles(tiles);
    for (const RefPtr<Tile>& tile : tiles) {
        slots.emplace_back(tile->getPos().x, tile->getPos().y);
    }
    return slots;
}

TEST_F(SideBoardTest, FillingTakesTheEmptySlotsRowByRow) {
    RefPtr<SideBoard> rack = makeRack(4, 2);
    ASSERT_TRUE(rack->putTile(makeTile({}).get(), 0, 0));
    ASSERT_TRUE(rack->putTile(makeTile({}).get(), 2, 0));
    rack->fill(tileSource(3));
    EXPECT_EQ(occupied(*rack),
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}}));
    rack->fill(tileSource(10));
    EXPECT_EQ(rack->countTiles(), 8);
}

TEST_F(SideBoardTest, PuttingATileMakesItASideBoardTileOfItsSlot) {
    RefPtr<SideBoard> rack = makeRack(3, 1);
    rack->setPosition(600, 100);
    RefPtr<Tile> tile = makeTile({12, 6, 3});
    ASSERT_TRUE(rack->putTile(tile.get(), 2, 0));
    EXPECT_TRUE(tile->isSideboard());
    EXPECT_EQ(tile->getPos(), (TilePos{2, 0, 0}));
    EXPECT_EQ(tile->getX(), 600 + 8 + 2 * 42);
    EXPECT_EQ(tile->getY(), 100 + 8);
    EXPECT_FALSE(rack->putTile(makeTile({}).get(), 2, 0)); // taken
    EXPECT_FALSE(rack->putTile(makeTile({}).get(), 3, 0)); // no such slot
    EXPECT_FALSE(rack->putTile(nullptr, 1, 0));

    rack->removeTileAt(2, 0);
    EXPECT_EQ(rack->getTileAt(2, 0), nullptr);
    EXPECT_TRUE(tile->isSideboard());
    EXPECT_EQ(tile->getPos(), (TilePos{2, 0, 0}));
    rack->removeTileAt(7, 7); // nothing there: nothing happens
}

TEST_F(SideBoardTest, PointsFallIntoSlotsByTheGeometry) {
    RefPtr<SideBoard> rack = makeRack(4, 2);
    rack->setPosition(500, 200);
    rack->setSlotGeometry(10, 20, 40, 52);
    struct Case {
        int x, y;
        bool inside;
        int column, row;
    };
    const Case cases[] = {
        {510, 220, true, 0, 0},
        {505, 210, true, 0, 0}, // in the margin, less than a slot before column 0
        {549, 271, true, 0, 0},
        {550, 272, true, 1, 1},
        {500 + 10 + 4 * 40, 220, false, 4, 0},
        {511, 220 + 2 * 52, false, 0, 2},
    };
    for (const Case& c : cases) {
        int x = c.x;
        int y = c.y;
        EXPECT_EQ(rack->slotAt(x, y), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(x, c.column) << c.x << "," << c.y;
        EXPECT_EQ(y, c.row) << c.x << "," << c.y;
    }
    int x = 499;
    int y = 300;
    EXPECT_FALSE(rack->slotAt(x, y));
    EXPECT_EQ(x, 499); // left of the side board: unchanged

    int column = 3;
    int row = 1;
    rack->slotScreenPos(column, row);
    EXPECT_EQ(column, 500 + 10 + 3 * 40);
    EXPECT_EQ(row, 200 + 20 + 52);
}

TEST_F(SideBoardTest, StandardGeometryFollowsTheGameType) {
    RefPtr<SideBoard> rack = makeRack(3, 1);
    rack->applyStandardGeometry(GameType::Split);
    EXPECT_EQ(rack->getMarginX(), 8);
    EXPECT_EQ(rack->getSlotWidth(), 40);
    rack->applyStandardGeometry(GameType::FreeCell);
    EXPECT_EQ(rack->getMarginX(), 10);
    EXPECT_EQ(rack->getSlotHeight(), 54);
}

TEST_F(SideBoardTest, SavesAndReadsBackItsSlots) {
    RefPtr<SideBoard> rack = makeRack(4, 2);
    rack->setPosition(620, 140);
    ASSERT_TRUE(rack->putTile(makeTile({}, 2, 3).get(), 3, 0));
    ASSERT_TRUE(rack->putTile(makeTile({}, 5, 1).get(), 1, 1));
    RefPtr<PropertyNode> node(new PropertyNode("sideboard", "SideBoard"));
    rack->save(node.get());
    EXPECT_EQ(node->getValue("width")->getInt(), 4);
    EXPECT_EQ(node->getValue("height")->getInt(), 2);
    // Columns outer, rows inner.
    ASSERT_EQ(node->getVector("tiles")->size(), 2U);
    EXPECT_EQ(asNode(node->getVector("tiles")->at(0))->getValue("x")->getInt(), 1);

    RefPtr<SideBoard> back(new SideBoard(node.get()));
    EXPECT_TRUE(back->isIntact());
    EXPECT_EQ(back->getX(), 620);
    EXPECT_EQ(back->getY(), 140);
    EXPECT_EQ(back->getSlotCount(), 8);
    ASSERT_NE(back->getTileAt(3, 0), nullptr);
    EXPECT_EQ(back->getTileAt(3, 0)->matchKey(), (2 << 8) + 3);
    ASSERT_NE(back->getTileAt(1, 1), nullptr);
    EXPECT_TRUE(back->getTileAt(1, 1)->isSideboard());
}

TEST_F(SideBoardTest, ACopyHoldsCopiesOfItsTiles) {
    RefPtr<SideBoard> rack = makeRack(2, 1);
    ASSERT_TRUE(rack->putTile(makeTile({}, 1, 1).get(), 1, 0));
    RefPtr<SideBoard> copy(new SideBoard(*rack));
    EXPECT_EQ(copy->getColumns(), 2);
    ASSERT_NE(copy->getTileAt(1, 0), nullptr);
    EXPECT_NE(copy->getTileAt(1, 0), rack->getTileAt(1, 0));
    EXPECT_EQ(copy->getTileAt(1, 0)->matchKey(), rack->getTileAt(1, 0)->matchKey());
}

TEST_F(SideBoardTest, WithoutDimensionsThereAreNoSlots) {
    test::QuietLog quiet;
    for (const char* xml :
         {R"(<r><SideBoard x="3"/></r>)", R"(<r><SideBoard width="0" height="2"/></r>)",
          R"(<r><SideBoard width="-3" height="2"/></r>)"}) {
        RefPtr<SideBoard> rack(new SideBoard(parseNode(xml).get()));
        EXPECT_EQ(rack->getSlotCount(), 0) << xml;
        rack->fill(tileSource(5));
        EXPECT_EQ(rack->countTiles(), 0) << xml;
        int x = 100;
        int y = 100;
        EXPECT_FALSE(rack->slotAt(x, y)) << xml;
    }
}

TEST_F(SideBoardTest, TheDirtyPartGrowsOverEveryChangedSlot) {
    RefPtr<SideBoard> rack = makeRack(4, 2);
    rack->setSlotGeometry(8, 8, 40, 52);
    rack->clearDirtyRect();
    ASSERT_TRUE(rack->putTile(makeTile({}).get(), 1, 0));
    ASSERT_TRUE(rack->getDirtyRect().has_value());
    EXPECT_EQ(*rack->getDirtyRect(), (Rect{48, 8, 46, 104}));
    rack->removeTileAt(1, 0);
    ASSERT_TRUE(rack->putTile(makeTile({}).get(), 3, 1));
    EXPECT_EQ(*rack->getDirtyRect(), (Rect{48, 8, 2 * 40 + 46, 52 + 104}));
}

} // namespace
} // namespace orv
