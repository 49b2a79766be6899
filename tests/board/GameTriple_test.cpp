#include "game/board/GameTriple.h"
#include "tests/board/TypesFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

using test::makeLayout;
using test::tileAt;
using TripleTest = test::GameTypeTest;

TEST_F(TripleTest, EveryDealCanBeClearedTripleByTriple) {
    struct Case {
        const char* file;
        const char* distances;
    };
    const Case cases[] = {
        {"media/levels/pyramid144.xml", R"(tileDistMin="1" tileDistMax="4")"},
        {"media/levels/pyramid144.xml", R"(tileDistMin="6" tileDistMax="20")"},
        {"media/levels/small.xml", R"(tileDistMin="0" tileDistMax="0")"},
    };
    for (const Case& c : cases) {
        for (int s = 0; s < 15; ++s) {
            seed(s);
            RefPtr<Layout> board = load(c.file, GameType::Triple);
            Game* game = start(GameType::Triple, board.get(), c.distances);
            ASSERT_NE(game, nullptr);
            const std::string what = std::string(c.file) + ", seed " + std::to_string(s);
            const BuildReport& report = game->getLastBuild();
            EXPECT_LT(report.numNotSolvable, Game::kDealAttempts) << what;
            ASSERT_EQ(report.order.size() % 3, 0U) << what;
            RefPtr<Layout> copy(new Layout(*board));
            for (std::size_t i = 0; i < report.order.size(); i += 3) {
                TileList set;
                for (std::size_t j = i; j < i + 3; ++j) {
                    Tile* tile = tileAt(*copy, report.order[j]->getPos());
                    ASSERT_NE(tile, nullptr) << what;
                    EXPECT_TRUE(copy->isTileFree(*tile, FreeTileRule::Standard)) << what;
                    EXPECT_EQ(tile->matchKey(), report.order[i]->matchKey()) << what;
                    set.emplace_back(tile);
                }
                for (const RefPtr<Tile>& tile : set) {
                    copy->removeTile(tile.get());
                }
            }
            EXPECT_EQ(copy->getTileCount(), 0) << what;
        }
    }
}

TEST_F(TripleTest, TheThirdClickCompletesATripleAndUndoPutsItBack) {
    RefPtr<Layout> board =
        makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}, {16, 0, 0}, {20, 0, 0}});
    Game* game = start(GameType::Triple, board.get());
    ASSERT_NE(game, nullptr);
    board->forEachTile([](Tile& tile) { tile.setFace(0, tile.getPos().x < 12 ? 1 : 2); });
    const std::vector<std::string> before = snapshot(*game);
    Tile* a = tileAt(*board, {0, 0, 0});
    Tile* b = tileAt(*board, {4, 0, 0});
    Tile* c = tileAt(*board, {8, 0, 0});
    Tile* other = tileAt(*board, {12, 0, 0});

    clickOn(*game, a);
    EXPECT_EQ(game->getPendingAction(), PendingAction::NewSelection);
    clickOn(*game, b);
    EXPECT_EQ(game->getPendingAction(), PendingAction::AddToSelection);
    // A third tile of another face starts a new selection.
    clickOn(*game, other);
    EXPECT_EQ(game->getPendingAction(), PendingAction::NewSelection);
    EXPECT_EQ(game->getSelection().size(), 1U);
    clickOn(*game, a);
    clickOn(*game, b);
    clickOn(*game, c);
    EXPECT_EQ(game->getPendingAction(), PendingAction::Match);
    EXPECT_EQ(board->getTileCount(), 3);
    EXPECT_TRUE(game->getSelection().empty());
    EXPECT_EQ(game->getCounters().removedTilesCount, 3);

    game->undo();
    EXPECT_EQ(snapshot(*game), before);
}

TEST_F(TripleTest, CandidatesAreDisjointTriples) {
    // Four free tiles of one face and two of another: one triple.
    RefPtr<Layout> board =
        makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}, {16, 0, 0}, {20, 0, 0}});
    Game* game = start(GameType::Triple, board.get());
    ASSERT_NE(game, nullptr);
    board->forEachTile([](Tile& tile) { tile.setFace(3, tile.getPos().x < 16 ? 0 : 1); });
    TileList candidates;
    game->collectCandidates(candidates);
    ASSERT_EQ(candidates.size(), 3U);
    EXPECT_EQ(candidates[0]->getPos().x, 0);
    EXPECT_EQ(candidates[1]->getPos().x, 4);
    EXPECT_EQ(candidates[2]->getPos().x, 8);
    EXPECT_EQ(game->availableMatches(), 1);
    TileList hint;
    EXPECT_TRUE(game->pickHint(hint));
    EXPECT_EQ(hint.size(), 3U);
    // A suit that matches by suit groups any three of its tiles.
    board->forEachTile([](Tile& tile) { tile.setFace(5, tile.getPos().x / 4 % 4); });
    EXPECT_EQ(game->availableMatches(), 2);
}

TEST_F(TripleTest, TwoFreeTilesCannotBeDealtAsATriple) {
    RefPtr<Layout> board = makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}});
    Game* game = start(GameType::Triple, board.get());
    ASSERT_NE(game, nullptr);
    board->removeTile(tileAt(*board, {8, 0, 0}));
    TileList order;
    EXPECT_FALSE(game->deal(*board, order));
    EXPECT_TRUE(order.empty());
}

} // namespace
} // namespace orv
