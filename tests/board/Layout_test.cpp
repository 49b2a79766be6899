#include "game/board/Layout.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::BoardTest;
using test::makeLayout;
using test::makeTile;
using test::tileAt;

using LayoutTest = BoardTest;

std::vector<TilePos> places(const TileList& tiles) {
    std::vector<TilePos> result;
    for (const RefPtr<Tile>& tile : tiles) {
        result.push_back(tile->getPos());
    }
    return result;
}

struct FreeCase {
    const char* name;
    std::vector<TilePos> tiles;  // the tile under test first
    std::vector<TilePos> absent; // tiles whose present flag is clear
    FreeTileRule rule;
    bool free;
};

TEST_F(LayoutTest, TheFreeTileRule) {
    const FreeCase cases[] = {
        {"alone", {{10, 10, 0}}, {}, FreeTileRule::Standard, true},
        {"left and right",
         {{10, 10, 0}, {8, 10, 0}, {12, 10, 0}},
         {},
         FreeTileRule::Standard,
         false},
        {"left only", {{10, 10, 0}, {8, 10, 0}}, {}, FreeTileRule::Standard, true},
        {"right only", {{10, 10, 0}, {12, 10, 0}}, {}, FreeTileRule::Standard, true},
        {"left a cell lower",
         {{10, 10, 0}, {8, 11, 0}, {12, 10, 0}},
         {},
         FreeTileRule::Standard,
         false},
        {"left a cell higher",
         {{10, 10, 0}, {8, 9, 0}, {12, 10, 0}},
         {},
         FreeTileRule::Standard,
         false},
        {"left two cells lower",
         {{10, 10, 0}, {8, 12, 0}, {12, 10, 0}},
         {},
         FreeTileRule::Standard,
         true},
        {"half a tile over it", {{10, 10, 0}, {11, 10, 1}}, {}, FreeTileRule::Standard, false},
        {"a corner over it", {{10, 10, 0}, {9, 9, 1}}, {}, FreeTileRule::Standard, false},
        // Each of the four cells a tile above may start on to cover a part.
        {"the same cell above", {{10, 10, 0}, {10, 10, 1}}, {}, FreeTileRule::Standard, false},
        {"the lower half covered", {{10, 10, 0}, {10, 11, 1}}, {}, FreeTileRule::Standard, false},
        {"the lower right quarter covered",
         {{10, 10, 0}, {11, 11, 1}},
         {},
         FreeTileRule::Standard,
         false},
        {"a tile below the one above",
         {{10, 10, 0}, {10, 12, 1}},
         {},
         FreeTileRule::Standard,
         true},
        {"a tile beside the one above",
         {{10, 10, 0}, {12, 10, 1}},
         {},
         FreeTileRule::Standard,
         true},
        {"two layers up", {{10, 10, 0}, {10, 10, 2}}, {}, FreeTileRule::Standard, true},
        {"left edge x = 0", {{0, 10, 0}, {2, 10, 0}}, {}, FreeTileRule::Standard, true},
        {"right edge x = 39", {{39, 10, 0}, {37, 10, 0}}, {}, FreeTileRule::Standard, true},
        {"layer 6 between two",
         {{10, 10, 6}, {8, 10, 6}, {12, 10, 6}},
         {},
         FreeTileRule::Standard,
         false},
        {"layer 6 alone", {{10, 10, 6}}, {}, FreeTileRule::Standard, true},
        {"absent neighbours",
         {{10, 10, 0}, {8, 10, 0}, {12, 10, 0}},
         {{8, 10, 0}},
         FreeTileRule::Standard,
         true},
        {"absent tile above",
         {{10, 10, 0}, {10, 10, 1}},
         {{10, 10, 1}},
         FreeTileRule::Standard,
         true},
        {"river, open top", {{10, 10, 0}, {8, 10, 0}, {12, 10, 0}}, {}, FreeTileRule::River, true},
        {"standard, open top",
         {{10, 10, 0}, {8, 10, 0}, {12, 10, 0}, {10, 12, 0}},
         {},
         FreeTileRule::Standard,
         false},
        {"river, closed all round",
         {{10, 10, 0}, {8, 10, 0}, {12, 10, 0}, {10, 8, 0}, {11, 12, 0}},
         {},
         FreeTileRule::River,
         false},
        {"river, top edge y = 0",
         {{10, 0, 0}, {8, 0, 0}, {12, 0, 0}, {10, 2, 0}},
         {},
         FreeTileRule::River,
         true},
        {"river, bottom edge y = 19",
         {{10, 19, 0}, {8, 19, 0}, {12, 19, 0}, {10, 17, 0}},
         {},
         FreeTileRule::River,
         true},
        {"river, covered", {{10, 10, 0}, {10, 10, 1}}, {}, FreeTileRule::River, false},
    };
    for (const FreeCase& c : cases) {
        RefPtr<Layout> layout(new Layout());
        for (const TilePos& pos : c.tiles) {
            ASSERT_TRUE(layout->setTileAt(makeTile(pos).get(), pos)) << c.name;
        }
        for (const TilePos& pos : c.absent) {
            tileAt(*layout, pos)->setVisible(false);
        }
        EXPECT_EQ(layout->isTileFree(*tileAt(*layout, c.tiles.front()), c.rule), c.free) << c.name;
    }
}

TEST_F(LayoutTest, SideBoardTilesAreAlwaysFree) {
    RefPtr<Layout> layout = makeLayout({{8, 10, 0}, {12, 10, 0}, {10, 10, 1}});
    RefPtr<Tile> parked = makeTile({10, 10, 0});
    parked->setSideboard(true);
    EXPECT_TRUE(layout->isTileFree(*parked, FreeTileRule::Standard));
}

struct UnderCase {
    const char* name;
    std::vector<TilePos> tiles; // the tile under test first
    FreeTileRule rule;
    bool under;
};

TEST_F(LayoutTest, BlockedByOneSingleFreeTile) {
    const UnderCase cases[] = {
        {"free itself", {{10, 10, 0}}, FreeTileRule::Standard, false},
        {"one free tile on it, open left",
         {{10, 10, 0}, {10, 10, 1}, {12, 10, 0}},
         FreeTileRule::Standard,
         true},
        {"one free tile on it, closed both sides",
         {{10, 10, 0}, {10, 10, 1}, {8, 10, 0}, {12, 10, 0}},
         FreeTileRule::Standard,
         false},
        {"two tiles on it", {{10, 10, 0}, {9, 10, 1}, {11, 10, 1}}, FreeTileRule::Standard, false},
        {"a blocked tile on it",
         {{10, 10, 0}, {10, 10, 1}, {10, 10, 2}},
         FreeTileRule::Standard,
         false},
        {"one free tile on the left",
         {{10, 10, 0}, {8, 10, 0}, {12, 10, 0}, {14, 10, 0}},
         FreeTileRule::Standard,
         true},
        {"two tiles on the left, two on the right",
         {{10, 10, 0}, {8, 9, 0}, {8, 11, 0}, {12, 9, 0}, {12, 11, 0}},
         FreeTileRule::Standard,
         false},
        {"one free on the left, two on the right",
         {{10, 10, 0}, {8, 10, 0}, {12, 9, 0}, {12, 11, 0}},
         FreeTileRule::Standard,
         true},
        {"river", {{10, 10, 0}, {10, 10, 1}, {12, 10, 0}}, FreeTileRule::River, false},
    };
    for (const UnderCase& c : cases) {
        RefPtr<Layout> layout(new Layout());
        for (const TilePos& pos : c.tiles) {
            ASSERT_TRUE(layout->setTileAt(makeTile(pos).get(), pos)) << c.name;
        }
        EXPECT_EQ(layout->isUnderFreeTile(*tileAt(*layout, c.tiles.front()), c.rule), c.under)
            << c.name;
    }
}

TEST_F(LayoutTest, AbsentTilesStillCountAsHeldForTheWeakerTests) {
    RefPtr<Layout> layout = makeLayout({{10, 10, 0}, {10, 10, 1}, {12, 10, 0}, {8, 10, 0}});
    tileAt(*layout, {8, 10, 0})->setVisible(false);
    tileAt(*layout, {12, 10, 0})->setVisible(false);
    // The absent neighbours do not block, but they still sit beside it.
    EXPECT_FALSE(layout->isUnderFreeTile(*tileAt(*layout, {10, 10, 0}), FreeTileRule::Standard));
    TileList touching;
    EXPECT_EQ(layout->collectAdjacentTiles(*tileAt(*layout, {10, 10, 0}), touching), 3);
    tileAt(*layout, {12, 10, 0})->setVisible(false);
    EXPECT_EQ(layout->getWidth(), 14);
}

TEST_F(LayoutTest, PlacingOverTwoTilesTakesBothOff) {
    RefPtr<Layout> layout = makeLayout({{0, 0, 0}, {2, 0, 0}, {6, 0, 0}});
    RefPtr<Tile> bridge = makeTile({});
    EXPECT_TRUE(layout->setTileAt(bridge.get(), {1, 0, 0}));
    EXPECT_EQ(layout->getTileCount(), 2);
    EXPECT_EQ(tileAt(*layout, {0, 0, 0}), nullptr);
    EXPECT_EQ(layout->getGridCell(2, 1, 0), bridge.get());
    EXPECT_EQ(bridge->getRefCount(), 5); // ours and one per cell
}

TEST_F(LayoutTest, PlacingATileWhereItStandsLeavesTheBoardAsItWas) {
    RefPtr<Layout> layout = makeLayout({{4, 4, 0}, {6, 4, 0}});
    Tile* tile = tileAt(*layout, {4, 4, 0});
    EXPECT_EQ(tile->getRefCount(), 4); // held by its cells only
    EXPECT_TRUE(layout->setTileAt(tile, {4, 4, 0}));
    EXPECT_EQ(layout->getTileCount(), 2);
    EXPECT_EQ(tileAt(*layout, {4, 4, 0}), tile);
    EXPECT_EQ(tile->getRefCount(), 4);
}

TEST_F(LayoutTest, OriginsOffTheGridAreRefused) {
    test::QuietLog quiet;
    RefPtr<Layout> layout = makeLayout({{0, 0, 0}});
    for (const TilePos pos : {TilePos{40, 0, 0}, TilePos{0, 20, 0}, TilePos{0, 0, 7},
                              TilePos{-1, 0, 0}, TilePos{0, -1, 0}, TilePos{0, 0, -1}}) {
        EXPECT_FALSE(layout->setTileAt(makeTile({}).get(), pos)) << pos.x << "," << pos.y;
    }
    EXPECT_EQ(layout->getTileCount(), 1);
    EXPECT_TRUE(layout->setTileAt(makeTile({}).get(), {39, 19, 6}));
    EXPECT_EQ(layout->getWidth(), 41);
    EXPECT_EQ(layout->getHeight(), 21);
}

TEST_F(LayoutTest, RemovingTakesOnlyTilesOfThisBoard) {
    RefPtr<Layout> layout = makeLayout({{0, 0, 0}, {2, 0, 0}});
    RefPtr<Tile> stranger = makeTile({0, 0, 0});
    layout->removeTile(stranger.get());
    layout->removeTile(nullptr);
    EXPECT_EQ(layout->getTileCount(), 2);

    RefPtr<SideBoard> rack(new SideBoard(nullptr));
    rack->setDimensions(2, 1);
    layout->setSideBoard(rack.get());
    RefPtr<Tile> parked = makeTile({});
    ASSERT_TRUE(rack->putTile(parked.get(), 1, 0));
    layout->removeTile(parked.get());
    EXPECT_EQ(rack->countTiles(), 0);
    EXPECT_EQ(layout->getTileCount(), 2);

    RefPtr<Tile> tile(tileAt(*layout, {2, 0, 0}));
    layout->removeTile(tile.get());
    EXPECT_EQ(layout->getTileCount(), 1);
    EXPECT_EQ(tile->getPos(), (TilePos{2, 0, 0}));
    EXPECT_EQ(tile->getRefCount(), 1);
}

TEST_F(LayoutTest, ListsComeInGridOrder) {
    RefPtr<Layout> layout = makeLayout({{4, 2, 1}, {6, 0, 0}, {2, 2, 0}, {0, 0, 0}, {4, 2, 0}});
    TileList all;
    layout->getTiles(all);
    EXPECT_EQ(places(all),
              (std::vector<TilePos>{{0, 0, 0}, {6, 0, 0}, {2, 2, 0}, {4, 2, 0}, {4, 2, 1}}));
    TileList free;
    layout->getFreeTiles(free, FreeTileRule::Standard);
    EXPECT_EQ(places(free), (std::vector<TilePos>{{0, 0, 0}, {6, 0, 0}, {2, 2, 0}, {4, 2, 1}}));
    EXPECT_EQ(layout->countFreeTiles(FreeTileRule::Standard), 4);
    TileList upper;
    layout->getTilesOnLayer(upper, 1);
    EXPECT_EQ(places(upper), (std::vector<TilePos>{{4, 2, 1}}));

    // Lists are appended to, never emptied first.
    layout->getTilesOnLayer(upper, 1);
    EXPECT_EQ(upper.size(), 2U);
}

TEST_F(LayoutTest, AdjacentTilesInTheirOrderWithoutRepeats) {
    RefPtr<Layout> layout =
        makeLayout({{10, 10, 0}, {8, 9, 0}, {12, 10, 0}, {10, 8, 0}, {11, 10, 1}});
    TileList touching;
    touching.emplace_back(tileAt(*layout, {12, 10, 0}));
    EXPECT_EQ(layout->collectAdjacentTiles(*tileAt(*layout, {10, 10, 0}), touching), 4);
    EXPECT_EQ(places(touching),
              (std::vector<TilePos>{{12, 10, 0}, {8, 9, 0}, {10, 8, 0}, {11, 10, 1}}));
}

TEST_F(LayoutTest, ExtentInCells) {
    EXPECT_EQ(makeLayout({})->getWidth(), 0);
    EXPECT_EQ(makeLayout({})->getHeight(), 0);
    RefPtr<Layout> one = makeLayout({{0, 0, 0}});
    EXPECT_EQ(one->getWidth(), 2);
    EXPECT_EQ(one->getHeight(), 2);
    RefPtr<Layout> spread = makeLayout({{3, 1, 0}, {20, 4, 3}});
    EXPECT_EQ(spread->getWidth(), 22);
    EXPECT_EQ(spread->getHeight(), 6);
}

TEST_F(LayoutTest, ACopyIsDeepAndKeepsTheOriginalTileCount) {
    RefPtr<Layout> layout = makeLayout({{0, 0, 0}, {2, 0, 0}, {2, 0, 1}});
    tileAt(*layout, {2, 0, 1})->setFace(3, 2);
    layout->setOriginalTileCount(144);
    layout->setDisplayName("Tower");
    RefPtr<SideBoard> rack(new SideBoard(nullptr));
    rack->setDimensions(2, 1);
    ASSERT_TRUE(rack->putTile(makeTile({}, 5, 1).get(), 1, 0));
    layout->setSideBoard(rack.get());

    RefPtr<Layout> copy(new Layout(*layout));
    EXPECT_EQ(copy->getTileCount(), 3);
    EXPECT_EQ(copy->getOriginalTileCount(), 144);
    EXPECT_EQ(copy->getDisplayName(), "Tower");
    Tile* top = tileAt(*copy, {2, 0, 1});
    ASSERT_NE(top, nullptr);
    EXPECT_NE(top, tileAt(*layout, {2, 0, 1}));
    EXPECT_EQ(top->matchKey(), (3 << 8) + 2);
    ASSERT_NE(copy->getSideBoard(), nullptr);
    EXPECT_NE(copy->getSideBoard(), rack.get());
    Tile* parked = copy->getSideBoard()->getTileAt(1, 0);
    ASSERT_NE(parked, nullptr);
    EXPECT_NE(parked, rack->getTileAt(1, 0));
    EXPECT_EQ(parked->getSuit(), 5);
}

TEST_F(LayoutTest, FindsATileTheSideBoardCouldFree) {
    // The tile on (10, 10, 0) is free and lies alone on a tile that would be
    // free without it.
    RefPtr<Layout> layout = makeLayout({{10, 10, 0}, {10, 10, 1}, {8, 10, 0}});
    EXPECT_EQ(layout->findTileFreeableBySideBoard(FreeTileRule::Standard), nullptr);
    RefPtr<SideBoard> rack(new SideBoard(nullptr));
    rack->setDimensions(4, 1);
    layout->setSideBoard(rack.get());
    EXPECT_EQ(layout->findTileFreeableBySideBoard(FreeTileRule::Standard),
              tileAt(*layout, {10, 10, 1}));
    for (int column = 0; column < 4; ++column) {
        rack->putTile(makeTile({}).get(), column, 0);
    }
    EXPECT_EQ(layout->findTileFreeableBySideBoard(FreeTileRule::Standard), nullptr);
}

TEST_F(LayoutTest, TilesOfASuit) {
    TileList tiles{makeTile({}, 1, 0), makeTile({}, 2, 0), makeTile({}, 1, 5)};
    TileList out;
    filterTilesBySuit(tiles, 1, out);
    ASSERT_EQ(out.size(), 2U);
    EXPECT_EQ(out[1]->getIdx(), 5);
}

} // namespace
} // namespace orv
