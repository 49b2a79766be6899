#include "game/board/GameRiver.h"
#include "game/board/PathGrid.h"
#include "tests/board/TypesFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

using test::makeLayout;
using test::tileAt;

class RiverTest : public test::GameTypeTest {
protected:
    // Deals `board` as a River level and checks the planned order: every
    // pair lies on one layer, is free under the River rule, shares a key and
    // is joined by a path at its turn, and the board ends empty.
    void expectReplayClears(Layout& board, const std::string& what) {
        Game* game = start(GameType::River, &board);
        ASSERT_NE(game, nullptr) << what;
        const BuildReport& report = game->getLastBuild();
        ASSERT_FALSE(report.levelBuildProblem) << what;
        ASSERT_EQ(static_cast<int>(report.order.size()), board.getTileCount()) << what;
        RefPtr<Layout> copy(new Layout(board));
        for (std::size_t i = 0; i + 1 < report.order.size(); i += 2) {
            Tile* a = tileAt(*copy, report.order[i]->getPos());
            Tile* b = tileAt(*copy, report.order[i + 1]->getPos());
            ASSERT_TRUE(a != nullptr && b != nullptr) << what;
            const std::string pair = what + ", pair " + std::to_string(i / 2);
            EXPECT_EQ(a->getPos().z, b->getPos().z) << pair;
            EXPECT_EQ(a->matchKey(), b->matchKey()) << pair;
            EXPECT_TRUE(copy->isTileFree(*a, FreeTileRule::River)) << pair;
            EXPECT_TRUE(copy->isTileFree(*b, FreeTileRule::River)) << pair;
            EXPECT_TRUE(GameRiver::connected(*copy, *a, *b)) << pair;
            copy->removeTile(a);
            copy->removeTile(b);
        }
        EXPECT_EQ(copy->getTileCount(), 0) << what;
    }
};

// Three rows of bricks half a tile apart, and four tiles on them half a
// tile down.
RefPtr<Layout> brickWall() {
    RefPtr<Layout> board(new Layout());
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 6; ++i) {
            RefPtr<Tile> tile(new Tile(nullptr));
            board->setTileAt(tile.get(), {2 * i + row % 2, 2 * row + 1, 0});
        }
    }
    for (int i = 0; i < 4; ++i) {
        RefPtr<Tile> tile(new Tile(nullptr));
        board->setTileAt(tile.get(), {2 + 2 * i, 2, 1});
    }
    return board;
}

TEST_F(RiverTest, EveryDealCanBeClearedInItsPlannedOrder) {
    const char* files[] = {"media/levels/pyramid144.xml", "media/levels/halfoffset.xml",
                           "media/levels/small.xml"};
    for (int s = 0; s < 12; ++s) {
        for (const char* file : files) {
            seed(s);
            RefPtr<Layout> board = load(file, GameType::River);
            expectReplayClears(*board, std::string(file) + ", seed " + std::to_string(s));
        }
        seed(s);
        RefPtr<Layout> bricks = brickWall();
        expectReplayClears(*bricks, "bricks, seed " + std::to_string(s));
    }
}

TEST_F(RiverTest, ALayerThatCannotBePairedFailsTheDealAndIsRecorded) {
    // Three tiles on layer 0: the last one is left over, every time.
    RefPtr<Layout> board = makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {8, 4, 0}});
    Game* game = start(GameType::River, board.get());
    ASSERT_NE(game, nullptr);
    board->removeTile(tileAt(*board, {8, 4, 0}));
    TileList order;
    EXPECT_FALSE(game->deal(*board, order));
    EXPECT_EQ(order.size(), 2U);
    board->addTiles(order);
    EXPECT_FALSE(game->dealCanSucceed(*board));
    const BuildReport report = game->buildLevel(*board);
    EXPECT_TRUE(report.levelBuildProblem);
    EXPECT_EQ(report.numNotSolvable, Game::kDealAttempts);
}

TEST_F(RiverTest, TilesMatchOnOneLayerWhenAPathJoinsThem) {
    // Two pairs of one face: one pair on different layers, one pair walled
    // apart by a ring on layer 0 (the ring's faces differ).
    RefPtr<Layout> board = makeLayout({{0, 0, 0},
                                       {0, 4, 1},
                                       {20, 2, 0},
                                       {14, 0, 0},
                                       {16, 0, 0},
                                       {18, 0, 0},
                                       {14, 2, 0},
                                       {18, 2, 0},
                                       {14, 4, 0},
                                       {16, 4, 0},
                                       {18, 4, 0},
                                       {16, 2, 0}});
    Game* game = start(GameType::River, board.get());
    ASSERT_NE(game, nullptr);
    board->forEachTile([](Tile& tile) { tile.setFace(tile.getPos().x < 14 ? 0 : 1, 0); });
    tileAt(*board, {20, 2, 0})->setFace(0, 0);
    tileAt(*board, {16, 2, 0})->setFace(0, 0);
    Tile* low = tileAt(*board, {0, 0, 0});
    Tile* high = tileAt(*board, {0, 4, 1});
    Tile* outside = tileAt(*board, {20, 2, 0});
    Tile* ringed = tileAt(*board, {16, 2, 0});
    EXPECT_FALSE(game->tilesMatch(low, high));       // layers differ
    EXPECT_FALSE(game->tilesMatch(ringed, outside)); // walled off
    EXPECT_TRUE(game->tilesMatch(low, outside));     // around the ring
    EXPECT_FALSE(game->tilesMatch(low, low));
    // A ring tile next to the ringed one: same layer, faces differ.
    EXPECT_FALSE(game->tilesMatch(ringed, tileAt(*board, {14, 2, 0})));
}

TEST_F(RiverTest, ATileWithItsTopOpenIsFreeAndMatchesThroughIt) {
    // A row of three: the middle tile is shut left and right but open above
    // and below, so it is free in River.
    RefPtr<Layout> board = makeLayout({{0, 4, 0}, {2, 4, 0}, {4, 4, 0}, {2, 10, 0}});
    Game* game = start(GameType::River, board.get());
    ASSERT_NE(game, nullptr);
    board->forEachTile([](Tile& tile) { tile.setFace(2, tile.getPos().x == 2 ? 3 : 4); });
    Tile* middle = tileAt(*board, {2, 4, 0});
    Tile* below = tileAt(*board, {2, 10, 0});
    EXPECT_FALSE(board->isTileFree(*middle, FreeTileRule::Standard));
    EXPECT_TRUE(board->isTileFree(*middle, FreeTileRule::River));
    EXPECT_EQ(game->availableMatches(), 2);

    const std::vector<std::string> before = snapshot(*game);
    clickOn(*game, middle);
    EXPECT_EQ(game->getPendingAction(), PendingAction::NewSelection);
    clickOn(*game, below);
    EXPECT_EQ(game->getPendingAction(), PendingAction::Match);
    EXPECT_EQ(board->getTileCount(), 2);
    game->undo();
    EXPECT_EQ(snapshot(*game), before);
}

TEST_F(RiverTest, ASavedRiverGameResumesAsOne) {
    RefPtr<Layout> board = load("media/levels/small.xml", GameType::River);
    Game* game = start(GameType::River, board.get());
    ASSERT_NE(game, nullptr);
    services.saveGame(3, *game);
    ASSERT_TRUE(Game::resumeSaved(3));
    EXPECT_EQ(Game::getCurrent()->getClassRecord().getName(), "GameRiver");
    EXPECT_EQ(Game::getCurrent()->getFreeTileRule(), FreeTileRule::River);
}

} // namespace
} // namespace orv
