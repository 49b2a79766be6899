#pragma once

#include "game/board/Game.h"
#include "game/board/GameServices.h"
#include "game/board/GameView.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/TempDir.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace orv::test {

/// A screen that hits whatever tile the test names (`target`), keeps a
/// bonus bar at a fixed multiplier, and writes down what it is told.
class RecordingView : public NullGameView {
public:
    Tile* tileAt(const Layout& layout, int x, int y) override;
    void playSound(std::string_view name) override { sounds.emplace_back(name); }
    void markTileSelected(Tile& /*tile*/) override { events.emplace_back("selected"); }
    void pulseTile(Tile& /*tile*/) override { events.emplace_back("pulse"); }
    bool isSuperHintRunning() override { return superHint; }
    void addBonusPoints(int points) override { bonusPoints += points; }
    int getScoreMultiplier() override { return multiplier; }
    void addTime(int milliseconds) override { timeAdded += milliseconds; }
    void countScoreLabel(int shownScore) override { scoreLabel = shownScore; }
    void tileRemoved(Tile& /*tile*/, int /*multiplier*/) override { ++removed; }
    void tileReturned(Tile& /*tile*/) override { ++returned; }
    void onTrophyEarned(int number) override {
        events.push_back("trophy " + std::to_string(number));
    }
    void onLevelWon() override { events.emplace_back("won"); }
    bool isShown() override { return shown; }

    /// The tile the next click hits (null: none); when `useGrid` is set the
    /// click point is taken as a grid cell instead, the topmost tile there.
    Tile* target = nullptr;
    bool useGrid = false;
    int multiplier = 2;
    bool superHint = false;
    bool shown = false;
    int bonusPoints = 0;
    int timeAdded = 0;
    int scoreLabel = -1;
    int removed = 0;
    int returned = 0;
    std::vector<std::string> sounds;
    std::vector<std::string> events;
};

/// A player with trophies, tutorial hints and saved games (files in a
/// temporary folder), and a usage record that keeps what it is given.
class RecordingServices : public NullGameServices {
public:
    bool awardTrophy(int number) override;
    int countPlayerMatch() override { return ++totalMatches; }
    bool isTutorialHintPending(int index) override { return pendingHints.count(index) > 0; }
    void completeTutorialHint(int index) override { pendingHints.erase(index); }
    int getBestHallwayScore(int /*floor*/, int /*room*/) override { return bestScore; }
    bool loadSavedGame(int savedGameId, PropertyStore& store) override;
    void keepSavedGameNode(PropertyNode& game) override { kept = &game; }
    bool hasUsageRecord() override { return usage; }
    void addUsageRecord(PropertyNode& record) override { records.emplace_back(&record); }
    std::string getPlayerName() override { return player; }

    /// Writes `game` into saved game `savedGameId` the way the players'
    /// files hold it (a store with the node "game", as XML).
    void saveGame(int savedGameId, const Game& game);
    /// Writes XML text as saved game `savedGameId`.
    void saveText(int savedGameId, const std::string& xml);

    std::map<int, int> trophies;
    int totalMatches = 0;
    std::set<int> pendingHints;
    int bestScore = 0;
    bool usage = false;
    std::string player;
    std::vector<RefPtr<PropertyNode>> records;
    RefPtr<PropertyNode> kept;
    TempDir folder;
};

/// Board tests with a game: the recording view and services installed, and
/// helpers to make levels and click tiles.
class GameTest : public BoardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A level of `type` on `layout` (not dealt) with the given extra
    /// attributes of a level node.
    [[nodiscard]] static RefPtr<Level> makeLevel(Layout* layout, GameType type = GameType::Classic,
                                                 const std::string& attributes = {});
    /// A new current Classic game dealt on `layout`; fails the test when the
    /// level is refused.
    Game& startClassic(Layout* layout, const std::string& attributes = {});
    /// One click on `tile` (null: on nothing) and its pending action.
    void clickOn(Game& game, Tile* tile);
    /// Selects the hinted pair and takes it off, as play would; false when
    /// the board offers none.
    static bool removeHintedPair(Game& game);

    RecordingView view;
    RecordingServices services;
};

} // namespace orv::test
