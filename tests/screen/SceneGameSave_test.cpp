#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/scene/SceneManager.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/players/DataGathering.h"
#include "game/players/HighScoreManager.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerServices.h"
#include "game/players/TrophyList.h"
#include "game/screen/BonusBar.h"
#include "game/screen/GameSceneState.h"
#include "game/screen/SceneGame.h"
#include "game/screen/ScreenClasses.h"
#include "game/screen/TimeBar.h"
#include "tests/board/GameFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace orv::test {
namespace {

// A board that draws nothing; a click lands on `target`.
class TargetDisplay : public BoardDisplay {
public:
    GameNode& getNode() override { return node_; }
    int getWidth() const override { return 400; }
    int getHeight() const override { return 300; }
    void build(const Layout& /*layout*/, const TileList& /*extra*/) override {}
    void rebuild(const Layout& /*layout*/) override {}
    void detachTiles() override {}
    void flush() override {}
    Tile* tileAt(const Layout& /*layout*/, int /*x*/, int /*y*/) override { return target; }
    void placeTile(const Tile& /*tile*/) override {}
    void removeTile(const Tile& /*tile*/) override {}
    void invalidate() override {}
    void setLayersVisible(bool /*visible*/) override {}
    void applyLayerColors() override {}
    int tileScreenX(int x, int /*z*/) const override { return x; }
    int tileScreenY(int y, int /*z*/) const override { return y; }
    void refreshTile(const Tile& /*tile*/) override {}
    void startTilePulse(const Tile& /*tile*/) override {}
    void startTileSelect(const Tile& /*tile*/) override {}
    void startTileHover(const Tile& /*tile*/) override {}
    void startTilePlain(const Tile& /*tile*/) override {}
    void startTileHint(const Tile& /*tile*/) override {}
    void startTileHintPulse(const Tile& /*tile*/) override {}
    void startTileSwell(const Tile& /*tile*/) override {}
    void startTileLighten(const Tile& /*tile*/) override {}
    void startTileFade(const Tile& /*tile*/, int /*multiplier*/) override {}

    static inline Tile* target = nullptr;

private:
    GameNode node_;
};

BoardDisplay* makeTargetDisplay() {
    return new TargetDisplay();
}

// A tile as the saved game must give it back: place and face.
using TileFace = std::tuple<int, int, int, int, int>;

std::vector<TileFace> facesOf(const Layout& layout) {
    std::vector<TileFace> faces;
    layout.forEachTile([&](Tile& tile) {
        const TilePos p = tile.getPos();
        faces.emplace_back(p.x, p.y, p.z, tile.getSuit(), tile.getIdx());
    });
    std::sort(faces.begin(), faces.end());
    return faces;
}

// What a level in play shows and counts: enough to tell a resumed level
// from the one that was left.
struct Snapshot {
    std::vector<TileFace> board;
    int score = 0;
    int realTime = 0;
    int clockTime = 0;
    std::size_t undoSteps = 0;
    int time = 0;
    int maxTime = 0;
    float bonusPoints = 0;
    int multiplier = 0;
    int bonus = 0;
    int countdown = 0;
    int bonusMax = 0;

    bool operator==(const Snapshot&) const = default;
};

// Current player "Ada" with her files in a temporary folder, the players'
// rules answering for the game, and a playing screen with a blank board.
class SceneGameSaveTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        registerScreenClasses();
        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("BUILD_LAYOUT_DURATION") = 400;
        settings.getInteger("TIME_ALMOST_UP_SOUND") = 1000;
        settings.getFloat("MULTIPLIER_PERCENTAGE") = 0.1F;
        settings.getFloat("MULTIPLIER_MINIMUM") = 0.5F;
        RefPtr<GameConstants> constants(new GameConstants());
        constants->apply();
        BonusBar::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/bonus.xml");
        TrophyList::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/trophies.xml");
        getDefinitionStore().getDialogs()->add(new PropertyNode("DIALOG_PAUSE", "Dialog"));
        setBoardDisplayFactory(&makeTargetDisplay);
        PlayerManager& players = PlayerManager::create(false, "");
        players.setDataFolder(temp.path().string());
        players.addPlayer(new OrvantaPlayer("Ada"));
        HighScoreManager::create(false, "").setDataFolder(temp.path().string());
        ada = players.getCurrentProfile();
        Game::setServices(&playerServices);
    }
    void TearDown() override {
        scene = nullptr;
        Game::destroyCurrent();
        Game::setServices(&services);
        HighScoreManager::destroyInstance();
        PlayerManager::destroyInstance();
        TrophyList::setDefinitionFile({});
        setBoardDisplayFactory(nullptr);
        destroyDefinitionStore();
        TargetDisplay::target = nullptr;
        GameTest::TearDown();
        Game::setView(&view);
    }

    // A Classic level of `place` on `level`'s layout, or on four pairs on
    // one layer, entered on a new screen and played from its first frame.
    Game& play(Place place, RefPtr<Level> level = nullptr) {
        Game* game = Game::create(GameType::Classic);
        if (!level) {
            level = makeLevel(makeLayout({{0, 0, 0},
                                          {4, 0, 0},
                                          {8, 0, 0},
                                          {12, 0, 0},
                                          {0, 4, 0},
                                          {4, 4, 0},
                                          {8, 4, 0},
                                          {12, 4, 0}})
                                  .get(),
                              GameType::Classic, R"(playTime="1000")");
        }
        level->setPlace(place);
        EXPECT_TRUE(game->setLevel(level.get()));
        enterScreen();
        return *game;
    }
    // A new screen for the current game, stepped until the level is played.
    void enterScreen() {
        RefPtr<PropertyNode> definition(new PropertyNode("SCENE_GAME", "SceneGame"));
        scene = new SceneGame(definition.get());
        scene->open();
        for (int i = 0; i < 500 && scene->getState() != nullptr; ++i) {
            frame(16);
        }
        ASSERT_EQ(scene->getState(), nullptr);
    }
    void frame(int dt) {
        scene->updateSelf(dt);
        scene->getMoveTask()->run(dt);
    }
    void playHintedPair(Game& game) {
        TileList pair;
        ASSERT_TRUE(game.pickHint(pair));
        for (const RefPtr<Tile>& tile : pair) {
            TargetDisplay::target = tile.get();
            game.click(0, 0);
            game.runPendingAction();
        }
        TargetDisplay::target = nullptr;
    }
    [[nodiscard]] Snapshot snapshot() const {
        const Game& game = *Game::getCurrent();
        Snapshot s;
        s.board = facesOf(*game.getLayout());
        s.score = game.getScore().getValue();
        s.realTime = game.getCounters().realTime;
        s.clockTime = game.getCounters().clockTime;
        TileList undone;
        game.undoTiles(undone);
        s.undoSteps = undone.size();
        s.time = scene->getTimeBar()->getTime().getValue();
        s.maxTime = scene->getTimeBar()->getTime().getMax();
        const BonusBar& bar = *scene->getBonusBar();
        s.bonusPoints = bar.getCurrentPoints();
        s.multiplier = bar.getMultiplier();
        s.bonus = bar.getBonus();
        s.countdown = bar.getCurrentCountdown();
        s.bonusMax = bar.getMaxPoints();
        return s;
    }
    [[nodiscard]] bool hasSaved(Place place) {
        return PlayerManager::get()->savedGameExists("Ada",
                                                     std::to_string(static_cast<int>(place)));
    }
    // The saved game of `place`, read as the building reads it.
    [[nodiscard]] RefPtr<PropertyNode> savedNode(Place place) {
        RefPtr<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(PlayerManager::get()->loadSavedGame(
            "Ada", std::to_string(static_cast<int>(place)), *store));
        return RefPtr<PropertyNode>(store->getNode("game"));
    }

    TempDir temp;
    OrvantaPlayer* ada = nullptr;
    PlayerServices playerServices;
    RefPtr<SceneGame> scene;
};

TEST_F(SceneGameSaveTest, ALevelLeftMidPlayResumesWithTheSameBoardScoreBarsAndTime) {
    for (const Place place : {Place::Casino, Place::RecRoom, Place::Roof}) {
        SCOPED_TRACE(static_cast<int>(place));
        Game& game = play(place);
        playHintedPair(game);
        frame(700);
        const Snapshot left = snapshot();
        ASSERT_EQ(left.undoSteps, 2U);
        if (place == Place::RecRoom) {
            ASSERT_GT(left.clockTime, 0) << "the recreation room's clock runs";
        } else {
            ASSERT_GT(left.score, 0);
            ASSERT_LT(left.time, left.maxTime) << "the time bar runs";
        }

        scene->close();
        EXPECT_EQ(scene->getLevelPhase(), 0);
        ASSERT_TRUE(hasSaved(place));
        scene = nullptr;
        Game::destroyCurrent();

        ASSERT_TRUE(Game::resumeSaved(static_cast<int>(place)));
        enterScreen();
        Snapshot resumed = snapshot();
        // The bars run in the frame in which the play begins again.
        EXPECT_GE(resumed.time, left.time - 16);
        resumed.time = left.time;
        EXPECT_EQ(resumed.board, left.board);
        EXPECT_EQ(resumed, left);
        EXPECT_EQ(ada->savedGame, nullptr) << "the resumed game is consumed";
        EXPECT_FALSE(hasSaved(place)) << "a level that was started cannot be resumed again";
        scene = nullptr;
    }
}

TEST_F(SceneGameSaveTest, WhatIsSavedDependsOnThePlaceAndThePhase) {
    struct Case {
        Place place;
        bool cleared;
        bool saved;
    };
    const Case cases[] = {
        {Place::Hallway, false, false},
        {Place::Casino, false, true},
        {Place::RecRoom, false, true},
        {Place::RecRoom, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.place)) + (c.cleared ? " cleared" : ""));
        Game& game = play(c.place);
        if (c.cleared) {
            while (game.getLayout()->getTileCount() > 0) {
                playHintedPair(game);
            }
            ASSERT_EQ(scene->getLevelPhase(), 2);
        }
        scene = nullptr; // destroyed, as at shut-down
        EXPECT_EQ(hasSaved(c.place), c.saved);
        PlayerManager::get()->deleteSavedGame("Ada", std::to_string(static_cast<int>(c.place)));
    }
}

TEST_F(SceneGameSaveTest, ALevelOverAndLeftForTheBuildingIsNotSaved) {
    // The level-end dialog closed, the building follows: a casino level
    // lost on time, a recreation-room board cleared.
    for (const Place place : {Place::Casino, Place::RecRoom}) {
        SCOPED_TRACE(static_cast<int>(place));
        Game& game = play(place);
        if (place == Place::Casino) {
            scene->onTimeUp();
        } else {
            while (game.getLayout()->getTileCount() > 0) {
                playHintedPair(game);
            }
        }
        ASSERT_TRUE(scene->isLevelOver());
        scene->startLevel(false);
        scene->close();
        EXPECT_FALSE(hasSaved(place));
        scene = nullptr;
    }
}

TEST_F(SceneGameSaveTest, AStoppedLevelIsSavedWithItsBars) {
    Game& game = play(Place::Roof);
    playHintedPair(game);
    frame(500);
    const Snapshot left = snapshot();
    scene->stopGame();
    scene->close();
    ASSERT_TRUE(hasSaved(Place::Roof));
    RefPtr<PropertyNode> saved = savedNode(Place::Roof);
    ASSERT_NE(saved->getNode("timeBar"), nullptr);
    EXPECT_EQ(saved->getNode("timeBar")->getValue("currentTime")->getInt(), left.time);
    EXPECT_EQ(saved->getValue("realScore")->getInt(), left.score);
}

// Stop in a place notes it in the level's usage record, marks the earned
// trophies seen, keeps the level for a resume and leaves the player in the
// elevator standing at that place; in the hallway it goes back to the floor.
TEST_F(SceneGameSaveTest, StopInAPlaceLandsInTheElevatorAtThatPlace) {
    static int stop = 0;
    SceneGame::setElevatorStopHook([](int at) { stop = at; });
    DataGathering::start(temp.path().string()).beginSession(1, 1);
    SceneManager& manager = *SceneManager::create();
    getDefinitionStore().getScenes()->add(new PropertyNode("SCENE_ELEVATOR", "Scene"));
    getDefinitionStore().getScenes()->add(new PropertyNode("SCENE_HALLWAY", "Scene"));
    ASSERT_NE(manager.addScene("SCENE_ELEVATOR"), nullptr);
    ASSERT_NE(manager.addScene("SCENE_HALLWAY"), nullptr);
    ada->trophies->setState(3, 1);

    Game& game = play(Place::Casino);
    playHintedPair(game);
    scene->stopGame();
    EXPECT_EQ(stop, 21);
    ASSERT_NE(manager.getNext(), nullptr);
    EXPECT_EQ(manager.getNext(), manager.getScene("SCENE_ELEVATOR"));
    // Off a shown screen the level's record goes to the usage record at once.
    bool noted = false;
    for (const RefPtr<PropertyNode>& event : DataGathering::get()->getSessions().back().events) {
        noted = noted || PropertyValue::toBool(event->getChild("gameStopped"));
    }
    EXPECT_TRUE(noted) << "the usage record notes the stop";
    EXPECT_EQ(ada->trophies->getState(3), 3);
    scene->close();
    EXPECT_TRUE(hasSaved(Place::Casino));
    scene = nullptr;

    stop = 0;
    play(Place::Hallway);
    scene->stopGame();
    EXPECT_EQ(stop, 0);
    EXPECT_EQ(manager.getNext(), manager.getScene("SCENE_HALLWAY"));
    scene = nullptr;
    SceneGame::setElevatorStopHook(nullptr);
    SceneManager::destroyInstance();
    DataGathering::finish();
}

// Closing the window in play asks the program's quit question, whose Yes
// ends the program through the shut-down's save; without one the screen
// pauses.
TEST_F(SceneGameSaveTest, TheWindowsCloseRequestAsksTheQuitQuestionOrPauses) {
    static int asked = 0;
    for (const bool question : {true, false}) {
        SCOPED_TRACE(question ? "with the question" : "without");
        asked = 0;
        SceneGame::setQuitQuestion(question ? +[] { ++asked; } : nullptr);
        play(Place::Casino);
        scene->onQuitRequest();
        frame(16);
        EXPECT_EQ(asked, question ? 1 : 0);
        EXPECT_EQ(scene->isDialogOpen("DIALOG_PAUSE"), !question);
        SceneGame::setQuitQuestion(nullptr);
        scene = nullptr;
    }
}

// A casino run on two layouts: four pairs set by the test, then the fixture
// "small.xml" (12 tiles); the time per tile grows by 500 ms a level.
class SceneGameRunSaveTest : public SceneGameSaveTest {
protected:
    void SetUp() override {
        SceneGameSaveTest::SetUp();
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(ORVANTA_BOARD_FIXTURES);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        SceneGameSaveTest::TearDown();
    }
    static RefPtr<Level> runLevel() {
        RefPtr<PropertyNode> node =
            parseNode(R"(<r><Level gameType="Classic" isSaveGame="x" index="0" hardStartIndex="0"
                pointsPerMatch="10" tileDistMin="1" tileDistMax="4" bonusAt="300"/></r>)");
        auto* time = static_cast<PropertyNode*>(node->add(new PropertyNode("playTime", "Node")));
        time->add(new PropertyValue("start", 1000, true));
        time->add(new PropertyValue("delta", 500, true));
        time->add(new PropertyValue("cap", 5000, true));
        auto* names =
            static_cast<PropertyVector*>(node->add(new PropertyVector("layoutFileNames")));
        for (const char* name : {"first.xml", "small.xml"}) {
            names->add(new PropertyValue("", std::string_view(name)));
        }
        RefPtr<Level> level(new Level(node.get()));
        level->setLayout(makeLayout({{0, 0, 0},
                                     {4, 0, 0},
                                     {8, 0, 0},
                                     {12, 0, 0},
                                     {0, 4, 0},
                                     {4, 4, 0},
                                     {8, 4, 0},
                                     {12, 4, 0}})
                             .get());
        return level;
    }

private:
    std::filesystem::path previous_;
};

TEST_F(SceneGameRunSaveTest, AClearedRunBoardIsSavedAsTheNextLevelWithItsFullTime) {
    for (const bool shutDown : {false, true}) {
        SCOPED_TRACE(shutDown ? "at shut-down" : "leaving the screen");
        Game& game = play(Place::Casino, runLevel());
        while (game.getLayout()->getTileCount() > 0) {
            playHintedPair(game);
        }
        ASSERT_EQ(scene->getLevelPhase(), 2);
        const int score = game.getScore().getValue();
        if (shutDown) {
            scene->save();
        } else {
            scene->close();
        }
        // The game in play is left as it was: no new deal, no new level.
        EXPECT_EQ(Game::getCurrent(), &game);
        EXPECT_EQ(game.getLevel()->getIndex(), 0);
        EXPECT_EQ(game.getLayout()->getTileCount(), 0);

        ASSERT_TRUE(hasSaved(Place::Casino));
        RefPtr<PropertyNode> saved = savedNode(Place::Casino);
        EXPECT_EQ(saved->getValue("realScore")->getInt(), score);
        EXPECT_EQ(saved->getVector("undo")->size(), 0U);
        EXPECT_EQ(saved->getNode("timeBar")->getValue("maxTime")->getInt(), 1500 * 12);
        EXPECT_EQ(saved->getNode("timeBar")->getValue("currentTime")->getInt(), 1500 * 12);

        scene = nullptr;
        ASSERT_TRUE(Game::resumeSaved(static_cast<int>(Place::Casino)));
        Game& next = *Game::getCurrent();
        EXPECT_EQ(next.getLevel()->getIndex(), 1);
        EXPECT_EQ(next.getLayout()->getOriginalTileCount(), 12);
        EXPECT_FALSE(next.getCounters().hasWon);
        enterScreen();
        EXPECT_GE(scene->getTimeBar()->getTime().getValue(), 1500 * 12 - 16);
        EXPECT_EQ(scene->getBonusBar()->getCurrentPoints(), 0.0F);
        EXPECT_EQ(next.getLayout()->getTileCount(), 12);
        scene = nullptr;
        Game::destroyCurrent();
    }
}

TEST_F(SceneGameRunSaveTest, TheRunsNextLevelLeftMidPlayResumesWithItsOwnUndoStepsOnly) {
    Game& game = play(Place::Casino, runLevel());
    while (game.getLayout()->getTileCount() > 0) {
        playHintedPair(game);
    }
    scene->startLevel(false); // the level-end dialog's Continue
    scene->setState(new StateRoomInfo());
    for (int i = 0; i < 500 && scene->getState() != nullptr; ++i) {
        frame(16);
    }
    ASSERT_EQ(game.getLevel()->getIndex(), 1);
    playHintedPair(game);
    scene->close();

    scene = nullptr;
    ASSERT_TRUE(Game::resumeSaved(static_cast<int>(Place::Casino)));
    TileList undone;
    Game::getCurrent()->undoTiles(undone);
    EXPECT_EQ(undone.size(), 2U);
    EXPECT_EQ(Game::getCurrent()->getLayout()->getTileCount(), 10);
}

// The roof's mixed run: the casino's definitions of the five game types
// (which the roof plays too) in a folder of their own, each on a fixture
// layout that its type can deal.
class SceneGameMixedRunTest : public SceneGameSaveTest {
protected:
    void SetUp() override {
        SceneGameSaveTest::SetUp();
        std::string casino = "<Levels><Node id=\"casino\">";
        for (const char* type : {"Classic", "Freecell", "Split", "Triple", "River"}) {
            const bool rack =
                std::string_view(type) == "Freecell" || std::string_view(type) == "Split";
            casino +=
                std::string("<Node id=\"") + type +
                "\"><Node id=\"normal\"><Level id=\"level\" gameType=\"" + type +
                R"(" pointsPerMatch="10" tileDistMin="1" tileDistMax="4" sideBoardIndex="0" firstHand="1" secondHand="1" thirdHand="1" layout=")" +
                (rack ? "sideboard.xml" : "small.xml") + "\"/></Node></Node>";
        }
        casino += "</Node></Levels>";
        writeFile(levels_.path() / "media/properties/levels/casino.xml", casino);
        for (const char* layout : {"small.xml", "sideboard.xml"}) {
            writeFile(
                levels_.path() / "media/levels" / layout,
                readFile(std::filesystem::path(ORVANTA_BOARD_FIXTURES) / "media/levels" / layout));
        }
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(levels_.path());
        destroyLevelSets(); // read again, from here, on first use
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        destroyLevelSets();
        SceneGameSaveTest::TearDown();
    }

private:
    TempDir levels_;
    std::filesystem::path previous_;
};

TEST_F(SceneGameMixedRunTest, AClearedBoardAtShutDownSavesTheNextLevelInAnotherTypeOnly) {
    RefPtr<Level> level = makeLevel(makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}}).get(),
                                    GameType::Classic, R"(playTime="1000")");
    level->setMixed(true);
    level->setDifficulty(0);
    Game& game = play(Place::Roof, level);
    while (game.getLayout()->getTileCount() > 0) {
        playHintedPair(game);
    }
    ASSERT_EQ(scene->getLevelPhase(), 2);
    scene->save();
    EXPECT_EQ(Game::getCurrent(), &game) << "the game in play stays";
    EXPECT_EQ(game.getGameType(), GameType::Classic);

    ASSERT_TRUE(hasSaved(Place::Roof));
    scene = nullptr;
    ASSERT_TRUE(Game::resumeSaved(static_cast<int>(Place::Roof)));
    const Game& next = *Game::getCurrent();
    EXPECT_NE(next.getGameType(), GameType::Classic);
    EXPECT_EQ(next.getLevel()->getIndex(), 1);
    EXPECT_TRUE(next.getLevel()->isMixed());
    EXPECT_EQ(next.getLevel()->getPlace(), Place::Roof);
    EXPECT_GT(next.getLayout()->getTileCount(), 0);
}

} // namespace
} // namespace orv::test
