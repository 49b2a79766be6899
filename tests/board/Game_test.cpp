#include "game/board/Game.h"
#include "game/board/GameClassic.h"
#include "game/board/TileManager.h"
#include "tests/board/GameFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::GameTest;
using test::makeLayout;
using test::tileAt;

// Six free tiles in a row with gaps, faced 0/0 0/0 1/1 2/2 0/0 0/0, and at
// the end a 2/2 lying on a 1/1 (which is blocked).
class ClickTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        deal();
    }

    // A fresh board and game, the old game retired.
    void deal() {
        layout = makeLayout({{0, 0, 0},
                             {4, 0, 0},
                             {8, 0, 0},
                             {12, 0, 0},
                             {16, 0, 0},
                             {20, 0, 0},
                             {24, 0, 0},
                             {24, 0, 1}});
        const int faces[][2] = {{0, 0}, {0, 0}, {1, 1}, {2, 2}, {0, 0}, {0, 0}, {1, 1}, {2, 2}};
        TileList all;
        layout->getTiles(all);
        tiles.clear();
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i]->setFace(faces[i][0], faces[i][1]);
            tiles.push_back(all[i].get());
        }
        game = Game::create(GameType::Classic);
        ASSERT_NE(game, nullptr);
        ASSERT_TRUE(game->setDealtLevel(makeLevel(layout.get()).get()));
        view.sounds.clear();
        view.events.clear();
    }

    RefPtr<Layout> layout;
    Game* game = nullptr;
    // In grid order: the six in the row, the blocked one, the one on it.
    std::vector<Tile*> tiles;
};

TEST_F(ClickTest, EachClickDecidesItsPendingAction) {
    struct Case {
        const char* name;
        std::vector<int> selected;
        int clicked; // -1: nothing
        PendingAction action;
        const char* sound; // empty: none
        std::vector<int> selectedAfter;
        int tilesAfter;
    };
    const Case cases[] = {
        {"nothing", {}, -1, PendingAction::None, "", {}, 8},
        {"blocked", {0}, 6, PendingAction::Blocked, "SOUND_TILE_BLOCKED", {0}, 8},
        {"first tile", {}, 0, PendingAction::NewSelection, "SOUND_TILE_SELECT", {0}, 8},
        {"selected tile", {0}, 0, PendingAction::Deselect, "SOUND_TILE_DESELECT", {}, 8},
        {"other face", {0}, 2, PendingAction::NewSelection, "SOUND_TILE_SELECT", {2}, 8},
        {"its match", {0}, 1, PendingAction::Match, "SOUND_COMBO2", {}, 6},
        {"either tile of a hinted pair", {0, 1}, 1, PendingAction::Match, "SOUND_COMBO2", {}, 6},
        {"a third of the face",
         {0, 1},
         4,
         PendingAction::AddToSelection,
         "SOUND_TILE_SELECT",
         {0, 1, 4},
         8},
    };
    for (const Case& c : cases) {
        deal();
        for (const int i : c.selected) {
            game->selectTile(tiles[static_cast<std::size_t>(i)]);
        }
        view.target = c.clicked < 0 ? nullptr : tiles[static_cast<std::size_t>(c.clicked)];
        game->click(0, 0);
        EXPECT_EQ(game->getPendingAction(), c.action) << c.name;
        EXPECT_EQ(view.sounds, std::string(c.sound).empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{c.sound})
            << c.name;
        game->runPendingAction();
        std::vector<int> after;
        for (const RefPtr<Tile>& tile : game->getSelection()) {
            after.push_back(static_cast<int>(std::find(tiles.begin(), tiles.end(), tile.get()) -
                                             tiles.begin()));
        }
        EXPECT_EQ(after, c.selectedAfter) << c.name;
        EXPECT_EQ(layout->getTileCount(), c.tilesAfter) << c.name;
    }
}

TEST_F(ClickTest, BlockedClicksPulseAndSelectionsAreMarked) {
    clickOn(*game, tiles[6]);
    clickOn(*game, tiles[2]);
    EXPECT_EQ(view.events, (std::vector<std::string>{"pulse", "selected"}));
}

TEST_F(ClickTest, TheComboSoundFollowsTheMultiplier) {
    const std::pair<int, const char*> cases[] = {
        {1, "SOUND_COMBO1"}, {3, "SOUND_COMBO3"}, {10, "SOUND_COMBO10"}, {15, "SOUND_COMBO10"}};
    for (const auto& [multiplier, sound] : cases) {
        view.multiplier = multiplier;
        view.sounds.clear();
        game->clearSelection();
        game->selectTile(tiles[0]);
        view.target = tiles[1];
        game->click(0, 0);
        EXPECT_EQ(view.sounds.back(), sound) << multiplier;
    }
    // Always the first chime in the recreation room.
    Game& relaxed = startClassic(test::makeLayout({{0, 0, 0}, {4, 0, 0}}).get(), R"(gameMode="2")");
    TileList pair;
    relaxed.getLayout()->getTiles(pair);
    relaxed.selectTile(pair[0].get());
    view.multiplier = 7;
    view.target = pair[1].get();
    relaxed.click(0, 0);
    EXPECT_EQ(view.sounds.back(), "SOUND_COMBO1");
}

TEST_F(ClickTest, AMatchScoresAndCountsAndTellsTheScreen) {
    view.multiplier = 3; // after the bar took the match: the factor is 2
    clickOn(*game, tiles[0]);
    clickOn(*game, tiles[1]);
    EXPECT_EQ(game->getScore().getValue(), 10 * 2);
    EXPECT_EQ(game->getScore().getShown(), 20);
    EXPECT_EQ(view.scoreLabel, 20);
    EXPECT_EQ(view.bonusPoints, 10);
    EXPECT_EQ(view.timeAdded, 2000);
    EXPECT_EQ(view.removed, 2);
    EXPECT_EQ(game->getCounters().removedTilesCount, 2);
    EXPECT_EQ(game->getCounters().matchCount, 1);
    EXPECT_EQ(game->getCounters().lastMatchKey, 0);
    EXPECT_EQ(services.totalMatches, 1);
    EXPECT_EQ(game->getUndoList().size(), 1U);
    EXPECT_TRUE(game->getSelection().empty());
}

TEST_F(ClickTest, TwoMatchesOfOneFaceInARowEarnATrophy) {
    clickOn(*game, tiles[0]);
    clickOn(*game, tiles[1]);
    clickOn(*game, tiles[4]);
    clickOn(*game, tiles[5]);
    EXPECT_EQ(services.trophies[17], 1);
    EXPECT_EQ(view.events.back(), "trophy 17");
}

TEST_F(ClickTest, AnUndoBetweenTheMatchesEarnsNoTrophy) {
    clickOn(*game, tiles[0]);
    clickOn(*game, tiles[1]);
    game->undo();
    clickOn(*game, tiles[4]);
    clickOn(*game, tiles[5]);
    EXPECT_EQ(services.trophies.count(17), 0U);
}

TEST_F(ClickTest, FacesThatMatchBySuitEarnNoSameFaceTrophy) {
    for (const int i : {0, 1, 4, 5}) {
        tiles[static_cast<std::size_t>(i)]->setFace(5, i % 4);
    }
    clickOn(*game, tiles[0]);
    clickOn(*game, tiles[1]);
    clickOn(*game, tiles[4]);
    clickOn(*game, tiles[5]);
    EXPECT_EQ(layout->getTileCount(), 4);
    EXPECT_EQ(services.trophies.count(17), 0U);
}

TEST_F(ClickTest, TheTenThousandthMatchAndHighHallwayScoresEarnTrophies) {
    services.totalMatches = 9998;
    game->getScore().reset(100001);
    clickOn(*game, tiles[0]);
    clickOn(*game, tiles[1]);
    EXPECT_EQ(services.trophies.count(16), 0U);
    EXPECT_EQ(services.trophies[13], 0); // the level is in no place
    clickOn(*game, tiles[4]);
    clickOn(*game, tiles[5]);
    EXPECT_EQ(services.trophies[16], 1);

    Game& hallway = startClassic(test::makeLayout({{0, 0, 0}, {4, 0, 0}}).get(), R"(gameMode="0")");
    hallway.getScore().reset(100001);
    hallway.addScore(5);
    EXPECT_EQ(services.trophies[13], 1);
}

TEST_F(ClickTest, ClearingTheBoardWinsTheLevel) {
    for (const int i : {0, 1, 4, 5, 3, 7, 2, 6}) {
        clickOn(*game, tiles[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(layout->getTileCount(), 0);
    EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "won"), 1);
}

TEST_F(ClickTest, ScoreGoalsAreCrossedOnce) {
    Game& hallway = startClassic(test::makeLayout({{0, 0, 0}, {4, 0, 0}}).get(),
                                 R"(gameMode="0" silver="1000" gold="2000")");
    struct Case {
        int newScore, step, best, expected;
    };
    const Case cases[] = {
        {1000, 100, 0, 1},  {1500, 600, 0, 1},     {1500, 400, 0, -1},   {2000, 500, 0, 2},
        {2500, 2000, 0, 1}, {1200, 300, 1000, -1}, {2100, 200, 1500, 2}, {900, 100, 0, -1},
    };
    for (const Case& c : cases) {
        services.bestScore = c.best;
        EXPECT_EQ(hallway.scoreThresholdCrossed(c.newScore, c.step), c.expected)
            << c.newScore << " by " << c.step << ", best " << c.best;
    }
}

TEST_F(GameTest, CandidatesAreDisjointSetsOfFreeTiles) {
    struct Case {
        std::vector<std::pair<int, int>> faces; // of free tiles in a row
        int available;
        std::vector<int> hint; // positions in the row; empty: no hint
    };
    const Case cases[] = {
        {{{0, 1}, {0, 1}, {0, 1}}, 1, {0, 1}},
        {{{0, 1}, {0, 1}, {0, 1}, {0, 1}}, 2, {2, 3}},
        {{{0, 1}, {2, 2}, {0, 1}, {2, 2}}, 2, {1, 3}},
        {{{0, 1}, {0, 1}, {2, 2}, {2, 2}, {3, 0}, {3, 0}}, 3, {2, 3}},
        {{{0, 1}, {0, 2}, {5, 0}, {5, 3}}, 1, {2, 3}},
        {{{0, 1}, {0, 2}}, 0, {}},
    };
    for (const Case& c : cases) {
        RefPtr<Layout> row(new Layout());
        std::vector<Tile*> placed;
        for (std::size_t i = 0; i < c.faces.size(); ++i) {
            RefPtr<Tile> tile = test::makeTile({}, c.faces[i].first, c.faces[i].second);
            ASSERT_TRUE(row->setTileAt(tile.get(), {static_cast<int>(4 * i), 0, 0}));
            placed.push_back(tile.get());
        }
        Game* game = Game::create(GameType::Classic);
        ASSERT_TRUE(game->setDealtLevel(makeLevel(row.get()).get()));
        EXPECT_EQ(game->availableMatches(), c.available);
        TileList hint;
        EXPECT_EQ(game->pickHint(hint), !c.hint.empty());
        std::vector<Tile*> expected;
        for (const int i : c.hint) {
            expected.push_back(placed[static_cast<std::size_t>(i)]);
        }
        std::vector<Tile*> got;
        for (const RefPtr<Tile>& tile : hint) {
            got.push_back(tile.get());
        }
        EXPECT_EQ(got, expected) << c.available;
        EXPECT_EQ(game->isStuck(game->availableMatches()), c.available == 0);
    }
}

TEST_F(GameTest, AnEmptyBoardIsNotStuck) {
    RefPtr<Layout> empty(new Layout());
    Game* game = Game::create(GameType::Classic);
    ASSERT_TRUE(game->setDealtLevel(makeLevel(empty.get()).get()));
    EXPECT_FALSE(game->isStuck(0));
    TileList hint;
    EXPECT_FALSE(game->pickHint(hint));
}

TEST_F(GameTest, CreatingAGameRetiresTheOldOne) {
    RefPtr<Game> first(Game::create(GameType::Classic));
    ASSERT_TRUE(first);
    EXPECT_EQ(Game::getCurrent(), first.get());
    Game* second = Game::create(GameType::Classic);
    EXPECT_EQ(Game::getCurrent(), second);
    EXPECT_TRUE(first->hasRemovalMark());
    EXPECT_FALSE(second->hasRemovalMark());

    test::LogCapture log;
    EXPECT_EQ(Game::create(GameType::Invalid), nullptr);
    EXPECT_EQ(Game::create(static_cast<GameType>(6)), nullptr);
    EXPECT_TRUE(log.contains("no game type -1"));
    EXPECT_EQ(Game::getCurrent(), second);
    Game::destroyCurrent();
    EXPECT_EQ(Game::getCurrent(), nullptr);
    Game::destroyCurrent();
}

TEST_F(GameTest, SelectionAndHintsKeepEachTileOnce) {
    RefPtr<Layout> row = makeLayout({{0, 0, 0}, {4, 0, 0}});
    Game& game = startClassic(row.get());
    TileList tiles;
    row->getTiles(tiles);
    game.selectTile(tiles[0].get());
    game.selectTile(tiles[0].get());
    game.selectTile(nullptr);
    EXPECT_EQ(game.getSelection().size(), 1U);
    game.addHintTile(tiles[1].get());
    game.addHintTile(tiles[1].get());
    EXPECT_EQ(game.getHintTiles().size(), 1U);
    EXPECT_TRUE(game.isHinted(tiles[1].get()));
    game.clearHints();
    game.clearSelection();
    EXPECT_TRUE(game.getSelection().empty());
    EXPECT_TRUE(game.getHintTiles().empty());
}

TEST_F(GameTest, ARestartKeepsTheScoreOnlyOnLaterLevelsOfARun) {
    struct Case {
        const char* attributes;
        int score;
    };
    const Case cases[] = {
        {R"(gameMode="0")", 0},
        {R"(gameMode="1" index="0")", 0},
        {R"(gameMode="1" index="2")", 500},
        {R"(gameMode="3" index="1")", 500},
    };
    for (const Case& c : cases) {
        Game& game = startClassic(makeLayout({{0, 0, 0}, {4, 0, 0}}).get(), c.attributes);
        game.getScore().reset(500);
        game.getCounters().hintCount = 3;
        game.getCounters().matchCount = 4;
        game.restart();
        EXPECT_EQ(game.getScore().getValue(), c.score) << c.attributes;
        EXPECT_EQ(game.getCounters().hintCount, 0);
        EXPECT_EQ(game.getCounters().matchCount, 4);
        EXPECT_NE(game.getLayout(), game.getLayoutCopy());
        EXPECT_EQ(game.getLevel()->getLayout(), game.getLayout());
        EXPECT_EQ(game.getLayout()->getTileCount(), 2);
    }
}

} // namespace
} // namespace orv
