#include "engine/core/RandomGenerator.h"
#include "engine/properties/PropertyNode.h"
#include "game/board/GameSpeed.h"
#include "game/board/GameSplit.h"
#include "game/board/SideBoard.h"
#include "tests/board/TypesFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::makeLayout;
using test::tileAt;

class SplitTest : public test::GameTypeTest {
protected:
    // A Split (or Speed) game on `file` with a side board of
    // `columns` x `rows` slots.
    GameSplit* startOn(GameType type, const char* file, int columns, int rows,
                       const std::string& hands = {}) {
        board = load(file, type);
        addSideBoard(*board, columns, rows);
        return static_cast<GameSplit*>(start(type, board.get(), hands));
    }
    // The twins on show.
    [[nodiscard]] TileList twins() const {
        TileList out;
        board->getSideBoard()->getTiles(out);
        return out;
    }
    // The sorted keys of `tiles`.
    static std::vector<int> keys(const TileList& tiles) {
        std::vector<int> out;
        for (const RefPtr<Tile>& tile : tiles) {
            out.push_back(tile->matchKey());
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    // The faces still to come and on show are the board's.
    void expectBookkeeping(const GameSplit& game, const std::string& what) {
        TileList coming = game.getSbOrder();
        const TileList shown = twins();
        coming.insert(coming.end(), shown.begin(), shown.end());
        TileList onBoard;
        game.getLayout()->getTiles(onBoard);
        EXPECT_EQ(keys(coming), keys(onBoard)) << what;
    }

    RefPtr<Layout> board;
};

TEST_F(SplitTest, HandSizesAreBoundedAndAddUpToTheSlots) {
    struct Case {
        int h1, h2, h3, slots;
        bool ok;
        int k1, k2, k3;
    };
    const Case cases[] = {
        {1, 1, 1, 4, true, 1, 1, 2},  {0, 1, 1, 4, true, 1, 2, 1},
        {0, 1, 0, 4, true, 1, 3, 0},  {1, 0, 0, 8, true, 8, 0, 0},
        {2, 1, 1, 8, true, 4, 2, 2},  {0, 0, 5, 3, true, 1, 0, 2},
        {0, 0, 0, 4, false, 0, 0, 0}, {-3, 1, 0, 4, true, 1, 3, 0},
        {1, 1, 1, 0, false, 0, 0, 0}, {2000000000, 2000000000, 1, 8, true, 3, 3, 2},
    };
    for (const Case& c : cases) {
        int k1 = -1;
        int k2 = -1;
        int k3 = -1;
        const std::string what = std::to_string(c.h1) + " " + std::to_string(c.h2) + " " +
                                 std::to_string(c.h3) + " on " + std::to_string(c.slots);
        EXPECT_EQ(GameSplit::handSizes(c.h1, c.h2, c.h3, c.slots, k1, k2, k3), c.ok) << what;
        EXPECT_EQ(k1, c.k1) << what;
        EXPECT_EQ(k2, c.k2) << what;
        EXPECT_EQ(k3, c.k3) << what;
    }
}

TEST_F(SplitTest, ALevelWithoutHandsOrSlotsIsRefused) {
    test::LogCapture log;
    RefPtr<Layout> small = load("media/levels/small.xml", GameType::Split);
    addSideBoard(*small, 4, 2);
    Game* game = Game::create(GameType::Split);
    EXPECT_FALSE(game->setLevel(
        makeLevel(small.get(), GameType::Split, R"(firstHand="0" secondHand="0" thirdHand="0")")
            .get()));
    EXPECT_TRUE(log.contains("add up to 0"));
    addSideBoard(*small, 0, 0);
    EXPECT_FALSE(game->setLevel(makeLevel(small.get(), GameType::Split).get()));
    EXPECT_TRUE(log.contains("no slots"));
}

TEST_F(SplitTest, PlayingThePlannedOrderAlwaysFindsTheTwinOnShow) {
    struct Case {
        const char* file;
        int columns;
        int rows;
        const char* hands;
    };
    const Case cases[] = {
        {"media/levels/pyramid144.xml", 4, 2, R"(firstHand="2" secondHand="1" thirdHand="1")"},
        {"media/levels/pyramid144.xml", 3, 1, R"(firstHand="0" secondHand="1" thirdHand="3")"},
        {"media/levels/pyramid144.xml", 4, 2, R"(firstHand="0" secondHand="1" thirdHand="0")"},
        {"media/levels/small.xml", 4, 2, R"(firstHand="1" secondHand="1" thirdHand="1")"},
        {"media/levels/halfoffset.xml", 2, 1, R"(firstHand="1" secondHand="0" thirdHand="1")"},
    };
    for (const Case& c : cases) {
        for (int s = 0; s < 6; ++s) {
            const std::string what =
                std::string(c.file) + " " + c.hands + ", seed " + std::to_string(s);
            seed(s);
            GameSplit* game = startOn(GameType::Split, c.file, c.columns, c.rows, c.hands);
            ASSERT_NE(game, nullptr) << what;
            const TileList order = game->getLastBuild().order;
            ASSERT_EQ(static_cast<int>(order.size()), board->getTileCount()) << what;
            // The order is a plan of distinct tiles.
            TileList distinct;
            for (const RefPtr<Tile>& tile : order) {
                EXPECT_FALSE(listContains(distinct, tile.get())) << what;
                distinct.push_back(tile);
            }
            expectBookkeeping(*game, what);
            int step = 0;
            for (const RefPtr<Tile>& tile : order) {
                const std::string at = what + ", step " + std::to_string(step++);
                ASSERT_TRUE(board->isTileFree(*tile, FreeTileRule::Standard)) << at;
                clickOn(*game, tile.get());
                ASSERT_EQ(game->getPendingAction(), PendingAction::Match) << at;
                expectBookkeeping(*game, at);
            }
            EXPECT_EQ(board->getTileCount(), 0) << what;
            EXPECT_EQ(board->getSideBoard()->countTiles(), 0) << what;
        }
    }
}

TEST_F(SplitTest, RandomPlayWithUndoKeepsTheTwinsEqualToTheBoard) {
    for (int s = 0; s < 4; ++s) {
        const std::string what = "seed " + std::to_string(s);
        seed(s);
        GameSplit* game = startOn(GameType::Split, "media/levels/pyramid144.xml", 4, 2);
        ASSERT_NE(game, nullptr);
        const std::vector<std::string> atStart = snapshot(*game);
        for (int step = 0; step < 400 && board->getTileCount() > 0; ++step) {
            TileList candidates;
            game->collectCandidates(candidates);
            const bool back =
                !game->getUndoList().empty() && (candidates.empty() || Random::nextInt(0, 3) == 0);
            if (back) {
                game->undo();
            } else if (!candidates.empty()) {
                const int pair = Random::nextInt(0, static_cast<int>(candidates.size()) / 2);
                const int score = game->getScore().getValue();
                const int count = board->getTileCount();
                const int shown = board->getSideBoard()->countTiles();
                clickOn(*game, candidates[static_cast<std::size_t>(2 * pair)].get());
                ASSERT_EQ(game->getPendingAction(), PendingAction::Match) << what;
                EXPECT_EQ(board->getTileCount(), count - 1) << what;
                EXPECT_GT(game->getScore().getValue(), score) << what;
                EXPECT_LE(board->getSideBoard()->countTiles(), shown) << what;
            } else {
                break;
            }
            expectBookkeeping(*game, what + ", step " + std::to_string(step));
        }
        while (!game->getUndoList().empty()) {
            game->undo();
        }
        EXPECT_EQ(snapshot(*game), atStart) << what;
        EXPECT_EQ(game->getSbOrder().size(), game->getStartOrder().size()) << what;
    }
}

TEST_F(SplitTest, AnUndoAfterTheOrderRanOutHandsBackNoTwin) {
    seed(3);
    GameSplit* game = startOn(GameType::Split, "media/levels/small.xml", 4, 2);
    ASSERT_NE(game, nullptr);
    const TileList order = game->getLastBuild().order;
    for (std::size_t i = 0; i < 6; ++i) {
        clickOn(*game, order[i].get());
    }
    ASSERT_TRUE(game->getSbOrder().empty());
    EXPECT_EQ(board->getSideBoard()->countTiles(), 6);
    game->undo();
    game->undo();
    expectBookkeeping(*game, "after two undos");
    EXPECT_TRUE(game->getSbOrder().empty());
    EXPECT_EQ(board->getSideBoard()->countTiles(), 8);
    for (std::size_t i = 4; i < order.size(); ++i) {
        clickOn(*game, order[i].get());
        expectBookkeeping(*game, "replay " + std::to_string(i));
    }
    EXPECT_EQ(board->getTileCount(), 0);
    EXPECT_EQ(board->getSideBoard()->countTiles(), 0);
}

TEST_F(SplitTest, AHintNeverLeaksIntoAMatch) {
    seed(5);
    GameSplit* game = startOn(GameType::Split, "media/levels/pyramid144.xml", 4, 2);
    ASSERT_NE(game, nullptr);
    TileList candidates;
    game->collectCandidates(candidates);
    ASSERT_GE(candidates.size(), 4U);
    // The screen shows a hint by selecting its pair; the player matches
    // another pair.
    game->selectTile(candidates[0].get());
    game->selectTile(candidates[1].get());
    clickOn(*game, candidates[2].get());
    EXPECT_EQ(game->getPendingAction(), PendingAction::Match);
    EXPECT_EQ(game->getCounters().removedTilesCount, 2);
    expectBookkeeping(*game, "after the match");

    // A super-hinted twin, clicked, is matched with its hinted tile.
    candidates.clear();
    game->collectCandidates(candidates);
    ASSERT_GE(candidates.size(), 2U);
    Tile* tile = candidates[0].get();
    Tile* twin = candidates[1].get();
    game->addHintTile(tile);
    game->addHintTile(twin);
    view.superHint = true;
    const int count = board->getTileCount();
    view.sounds.clear();
    clickOn(*game, twin);
    EXPECT_EQ(game->getPendingAction(), PendingAction::Match);
    EXPECT_EQ(view.sounds, std::vector<std::string>{"SOUND_TILE_SELECT"})
        << "the click sounds once";
    EXPECT_EQ(board->getTileCount(), count - 1);
    EXPECT_EQ(game->getCounters().removedTilesCount, 4);
    EXPECT_EQ(game->getUndoList().back()->getClassRecord().getName(), "CommandRemove");
    expectBookkeeping(*game, "after the hinted twin");

    // A twin that is not hinted, and a board tile whose twin is not on
    // show, only pulse.
    view.superHint = false;
    game->clearHints();
    view.events.clear();
    clickOn(*game, twins().front().get());
    EXPECT_EQ(game->getPendingAction(), PendingAction::None);
    EXPECT_TRUE(game->getSelection().empty());
    TileList free;
    board->getFreeTiles(free, FreeTileRule::Standard);
    for (const RefPtr<Tile>& t : free) {
        if (!game->tilesMatch(t.get(), twins().front().get())) {
            view.target = t.get();
            game->click(0, 0);
            if (game->getPendingAction() == PendingAction::None) {
                game->runPendingAction();
                EXPECT_TRUE(game->getSelection().empty());
                break;
            }
        }
    }
    EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "pulse"), 2);
}

TEST_F(SplitTest, ARestartAfterResumingRefillsLikeTheFirstStart) {
    seed(8);
    GameSplit* game = startOn(GameType::Split, "media/levels/pyramid144.xml", 4, 2);
    ASSERT_NE(game, nullptr);
    const std::vector<std::string> atStart = snapshot(*game);
    const TileList order = game->getLastBuild().order;
    for (std::size_t i = 0; i < 5; ++i) {
        clickOn(*game, order[i].get());
    }
    services.saveGame(2, *game);
    RefPtr<PropertyNode> saved(new PropertyNode("game", "GameSplit"));
    game->save(*saved);
    EXPECT_EQ(saved->getVector("sb_order")->size(), 144U - 8U - 5U);
    EXPECT_EQ(saved->getVector("sb_order_undo")->size(), 13U);
    EXPECT_EQ(saved->getChild("startOrder"), nullptr) << "worked out again on a restart";

    ASSERT_TRUE(Game::resumeSaved(2));
    auto* resumed = kindCast<GameSplit>(Game::getCurrent());
    ASSERT_NE(resumed, nullptr);
    EXPECT_EQ(resumed->getSbOrder().size(), 131U);
    resumed->restart();
    board = resumed->getLayout();
    EXPECT_EQ(snapshot(*resumed), atStart);
    for (const RefPtr<Tile>& planned : order) {
        clickOn(*resumed, tileAt(*board, planned->getPos()));
        ASSERT_EQ(resumed->getPendingAction(), PendingAction::Match);
    }
    EXPECT_EQ(board->getTileCount(), 0);
}

TEST_F(SplitTest, SpeedMatchesOnlyTheCurrentTwin) {
    seed(4);
    auto* game =
        static_cast<GameSpeed*>(startOn(GameType::Speed, "media/levels/pyramid144.xml", 3, 1));
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->getSbOrder().empty());
    RefPtr<PropertyNode> saved(new PropertyNode("game", "Game"));
    game->save(*saved);
    EXPECT_EQ(saved->getTypeName(), "GameSpeed");
    EXPECT_EQ(saved->getChild("sb_order"), nullptr);
    EXPECT_EQ(saved->getChild("sb_order_undo"), nullptr);

    // A board tile that matches only a twin of another slot is no match.
    Tile* current = game->getCurrentTwin();
    ASSERT_NE(current, nullptr);
    TileList free;
    board->getFreeTiles(free, FreeTileRule::Standard);
    for (const RefPtr<Tile>& tile : free) {
        Tile* second = board->getSideBoard()->getTileAt(1, 0);
        if (second != nullptr && tile->matchKey() == second->matchKey() &&
            tile->matchKey() != current->matchKey()) {
            clickOn(*game, tile.get());
            EXPECT_EQ(game->getPendingAction(), PendingAction::None);
        }
    }

    // Played by its hints, with an undo now and then, the board clears.
    int undos = 0;
    for (int step = 0; step < 400 && board->getTileCount() > 0; ++step) {
        if (step % 7 == 3 && undos < 10) {
            const std::vector<std::string> before = snapshot(*game);
            TileList hint;
            ASSERT_TRUE(game->pickHint(hint));
            clickOn(*game, hint[1].get());
            game->undo();
            EXPECT_EQ(snapshot(*game), before);
            ++undos;
            continue;
        }
        TileList hint;
        ASSERT_TRUE(game->pickHint(hint)) << "step " << step;
        EXPECT_EQ(hint[0].get(), game->getCurrentTwin());
        EXPECT_GE(game->availableMatches(), 1);
        const int count = board->getTileCount();
        clickOn(*game, hint[1].get());
        ASSERT_EQ(game->getPendingAction(), PendingAction::Match);
        EXPECT_EQ(board->getTileCount(), count - 1);
    }
    EXPECT_EQ(board->getTileCount(), 0);
    EXPECT_EQ(game->getCurrentTwin(), nullptr);
    EXPECT_EQ(game->newTile(), nullptr);
    EXPECT_FALSE(game->selectionMatches());
}

TEST_F(SplitTest, TwinsOfBonusTilesTakeARandomValueOfTheirSuit) {
    RefPtr<Tile> bonus = test::makeTile({0, 0, 0}, 6, 2);
    RefPtr<Tile> plain = test::makeTile({2, 0, 0}, 1, 7);
    std::vector<int> values;
    for (int i = 0; i < 40; ++i) {
        RefPtr<Tile> twin = GameSplit::makeTwin(*bonus);
        EXPECT_EQ(twin->getSuit(), 6);
        EXPECT_EQ(twin->matchKey(), bonus->matchKey());
        values.push_back(twin->getIdx());
    }
    EXPECT_EQ(*std::min_element(values.begin(), values.end()), 0);
    EXPECT_EQ(*std::max_element(values.begin(), values.end()), 3);
    RefPtr<Tile> twin = GameSplit::makeTwin(*plain);
    EXPECT_EQ(twin->getIdx(), 7);
    EXPECT_FALSE(twin->isSideboard());
}

} // namespace
} // namespace orv
