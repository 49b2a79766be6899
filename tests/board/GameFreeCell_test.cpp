#include "engine/properties/PropertyNode.h"
#include "game/board/GameFreeCell.h"
#include "game/board/SideBoard.h"
#include "tests/board/TypesFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

using test::makeLayout;
using test::tileAt;

class FreeCellTest : public test::GameTypeTest {
protected:
    // A FreeCell game on `board` with a side board of `columns` x 1 cells of
    // 40 x 52 pixels from the screen's corner.
    GameFreeCell* startWithCells(Layout& board, int columns) {
        addSideBoard(board, columns, 1);
        board.getSideBoard()->setSlotGeometry(0, 0, 40, 52);
        return static_cast<GameFreeCell*>(start(GameType::FreeCell, &board));
    }
    // A click on the empty cell `column`.
    void clickCell(Game& game, int column) {
        view.target = nullptr;
        game.click(column * 40 + 5, 5);
        game.runPendingAction();
    }
    // Parks `tile` in cell `column` as the player does.
    void park(Game& game, Tile* tile, int column) {
        game.clearSelection();
        clickOn(game, tile);
        clickCell(game, column);
        EXPECT_EQ(game.getPendingAction(), PendingAction::FreeCellMove);
    }
};

TEST_F(FreeCellTest, AParkedTileIsInItsCellAtOnceAndEveryMoveUndoesToWhereItCameFrom) {
    // Board tiles where the cells' coordinates would be on the grid.
    RefPtr<Layout> board = makeLayout({{0, 0, 0}, {4, 4, 0}, {8, 0, 0}, {12, 0, 0}});
    GameFreeCell* game = startWithCells(*board, 3);
    ASSERT_NE(game, nullptr);
    SideBoard* cells = board->getSideBoard();
    Tile* tile = tileAt(*board, {8, 0, 0});
    const std::vector<std::string> atStart = snapshot(*game);

    clickCell(*game, 0); // nothing selected: nothing happens
    EXPECT_EQ(game->getPendingAction(), PendingAction::None);
    park(*game, tile, 0);
    EXPECT_EQ(cells->getTileAt(0, 0), tile); // no flight in the model
    EXPECT_TRUE(tile->isSideboard());
    EXPECT_EQ(board->getTileCount(), 3);
    EXPECT_EQ(game->getCounters().freeCellMoves, 1);
    const std::vector<std::string> parkedInFirst = snapshot(*game);

    // From one cell to the next, then back by undo: the tile returns to the
    // first cell, and the board tile at (0, 0, 0) stays.
    park(*game, tile, 1);
    EXPECT_EQ(cells->getTileAt(1, 0), tile);
    EXPECT_EQ(cells->getTileAt(0, 0), nullptr);
    game->undo();
    EXPECT_EQ(snapshot(*game), parkedInFirst);
    EXPECT_EQ(cells->getTileAt(0, 0), tile);
    EXPECT_NE(tileAt(*board, {0, 0, 0}), nullptr);
    game->undo();
    EXPECT_EQ(snapshot(*game), atStart);
    EXPECT_EQ(tileAt(*board, {8, 0, 0}), tile);
    EXPECT_FALSE(tile->isSideboard());

    // Two tiles selected (a hint pair): a click on a cell does nothing.
    game->selectTile(tileAt(*board, {0, 0, 0}));
    game->selectTile(tile);
    clickCell(*game, 2);
    EXPECT_EQ(game->getPendingAction(), PendingAction::None);
}

TEST_F(FreeCellTest, AParkedTileMatchesAndItsUndoRefillsItsCell) {
    RefPtr<Layout> board = makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}});
    GameFreeCell* game = startWithCells(*board, 2);
    ASSERT_NE(game, nullptr);
    board->forEachTile([](Tile& t) { t.setFace(1, t.getPos().x < 8 ? 0 : 1); });
    services.pendingHints = {22, 23};
    Tile* parked = tileAt(*board, {4, 0, 0});
    park(*game, parked, 1);
    EXPECT_EQ(services.pendingHints.count(22), 0U);
    const std::vector<std::string> before = snapshot(*game);
    clickOn(*game, parked);
    clickOn(*game, tileAt(*board, {0, 0, 0}));
    EXPECT_EQ(game->getPendingAction(), PendingAction::Match);
    EXPECT_EQ(board->getSideBoard()->countTiles(), 0);
    EXPECT_EQ(services.pendingHints.count(23), 0U);
    game->undo();
    EXPECT_EQ(snapshot(*game), before);
    EXPECT_EQ(board->getSideBoard()->getTileAt(1, 0), parked);
}

TEST_F(FreeCellTest, TheBoardIsStuckOnlyWithEveryCellTaken) {
    RefPtr<Layout> board = makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}});
    GameFreeCell* game = startWithCells(*board, 2);
    ASSERT_NE(game, nullptr);
    board->forEachTile([](Tile& t) { t.setFace(0, t.getPos().x / 4); });
    EXPECT_EQ(game->availableMatches(), 0);
    EXPECT_FALSE(game->isStuck(0));
    park(*game, tileAt(*board, {0, 0, 0}), 0);
    EXPECT_FALSE(game->isStuck(0));
    park(*game, tileAt(*board, {4, 0, 0}), 1);
    EXPECT_TRUE(game->isStuck(game->availableMatches()));
    // Parked tiles count as candidates: one of a parked tile's face.
    tileAt(*board, {8, 0, 0})->setFace(0, 0);
    EXPECT_EQ(game->availableMatches(), 1);
    EXPECT_FALSE(game->isStuck(game->availableMatches()));
}

TEST_F(FreeCellTest, AShuffleWithParkedTilesDealsABoardThatClears) {
    for (int s = 0; s < 10; ++s) {
        const std::string what = "seed " + std::to_string(s);
        seed(s);
        RefPtr<Layout> board = load("media/levels/pyramid144.xml", GameType::FreeCell);
        GameFreeCell* game = startWithCells(*board, 4);
        ASSERT_NE(game, nullptr);
        // Park X, X and Y: two tiles of one key and one of another.
        TileList hint;
        ASSERT_TRUE(game->pickHint(hint)) << what;
        TileList free;
        board->getFreeTiles(free, FreeTileRule::Standard);
        Tile* other = nullptr;
        for (const RefPtr<Tile>& tile : free) {
            if (tile->matchKey() != hint[0]->matchKey()) {
                other = tile.get();
            }
        }
        ASSERT_NE(other, nullptr) << what;
        const int lonelyKey = other->matchKey();
        park(*game, hint[0].get(), 0);
        park(*game, hint[1].get(), 1);
        park(*game, other, 3);

        ASSERT_TRUE(game->prepareShuffle());
        Layout& shuffled = *game->getShuffledLayout();
        const BuildReport& report = game->getLastBuild();
        EXPECT_FALSE(report.levelBuildProblem) << what;
        ASSERT_EQ(report.order.size(), 141U) << what;
        // The one parked tile without a parked partner is matched first,
        // with a free board tile; then the pairs in turn.
        RefPtr<Layout> copy(new Layout(shuffled));
        Tile* reserved = tileAt(*copy, report.order[0]->getPos());
        ASSERT_NE(reserved, nullptr) << what;
        EXPECT_EQ(reserved->matchKey(), lonelyKey) << what;
        EXPECT_TRUE(copy->isTileFree(*reserved, FreeTileRule::Standard)) << what;
        copy->removeTile(reserved);
        for (std::size_t i = 1; i + 1 < report.order.size(); i += 2) {
            Tile* a = tileAt(*copy, report.order[i]->getPos());
            Tile* b = tileAt(*copy, report.order[i + 1]->getPos());
            ASSERT_TRUE(a != nullptr && b != nullptr) << what;
            EXPECT_EQ(a->matchKey(), b->matchKey()) << what << ", pair " << i;
            EXPECT_TRUE(copy->isTileFree(*a, FreeTileRule::Standard)) << what << ", pair " << i;
            EXPECT_TRUE(copy->isTileFree(*b, FreeTileRule::Standard)) << what << ", pair " << i;
            copy->removeTile(a);
            copy->removeTile(b);
        }
        EXPECT_EQ(copy->getTileCount(), 0) << what;
        game->swapInShuffled();
        EXPECT_EQ(game->getLayout()->getSideBoard()->countTiles(), 3) << what;
    }
}

TEST_F(FreeCellTest, TheHintCounterIsSavedAndResumed) {
    RefPtr<Layout> board = load("media/levels/small.xml", GameType::FreeCell);
    GameFreeCell* game = startWithCells(*board, 2);
    ASSERT_NE(game, nullptr);
    park(*game, game->getLayout()->getGridCell(2, 2, 1), 1);
    game->setHintCounter(4);
    services.saveGame(5, *game);
    ASSERT_TRUE(Game::resumeSaved(5));
    auto* resumed = kindCast<GameFreeCell>(Game::getCurrent());
    ASSERT_NE(resumed, nullptr);
    EXPECT_EQ(resumed->getHintCounter(), 4);
    EXPECT_EQ(resumed->getLayout()->getSideBoard()->countTiles(), 1);
    resumed->undo();
    EXPECT_EQ(resumed->getLayout()->getSideBoard()->countTiles(), 0);
    EXPECT_EQ(resumed->getLayout()->getTileCount(), 12);

    RefPtr<GameFreeCell> fresh(new GameFreeCell(nullptr));
    EXPECT_EQ(fresh->getHintCounter(), 0);
}

} // namespace
} // namespace orv
