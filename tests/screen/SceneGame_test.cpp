#include "game/screen/SceneGame.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogHooks.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "game/screen/BonusBar.h"
#include "game/screen/GameSceneState.h"
#include "game/screen/LayerSprite.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RenderTile.h"
#include "game/screen/RendererDisplay.h"
#include "game/screen/ScreenClasses.h"
#include "game/screen/TimeBar.h"
#include "tests/board/GameFixture.h"
#include "tests/screen/SceneGameFixture.h"
#include "tests/screen/ScreenFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>

namespace orv::test {
namespace {

TEST_F(SceneGameTest, EnterBuildsTheBoardUpAndPlaysAHintedPair) {
    Game& game = enter();
    ASSERT_NE(scene->getState(), nullptr);
    EXPECT_EQ(game.getLayout()->getTileCount(), 0) << "the build-up starts from an empty board";
    stepUntilPlaying();
    EXPECT_EQ(GridDisplay::placed, 8);
    EXPECT_EQ(game.getLayout()->getTileCount(), 8);
    EXPECT_EQ(scene->getLevelPhase(), 1);
    EXPECT_EQ(scene->getPauseState(), 0);

    TileList pair;
    ASSERT_TRUE(game.pickHint(pair));
    click(*pair[0]);
    EXPECT_TRUE(game.isSelected(pair[0].get()));
    EXPECT_EQ(scene->getHoveredTile(), pair[0].get());
    EXPECT_EQ(GridDisplay::selects, 1);
    click(*pair[1]);
    EXPECT_EQ(game.getLayout()->getTileCount(), 6);
    EXPECT_GT(game.getScore().getValue(), 0);
    EXPECT_EQ(scene->getBonusBar()->getMultiplier(), 2);
    EXPECT_EQ(GridDisplay::fades, 2);
    const auto& sounds = scene->getSoundLog();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "SOUND_TILE_SELECT"), sounds.end());
    EXPECT_NE(std::find_if(sounds.begin(), sounds.end(),
                           [](const std::string& s) { return s.rfind("SOUND_COMBO", 0) == 0; }),
              sounds.end());

    // A right click drops a selection with the deselect sound.
    TileList next;
    ASSERT_TRUE(game.pickHint(next));
    click(*next[0]);
    EXPECT_TRUE(scene->onRightButtonDown(0, 0, 0, false));
    EXPECT_TRUE(game.getSelection().empty());
    EXPECT_EQ(scene->getSoundLog().back(), "SOUND_TILE_DESELECT");
}

TEST_F(SceneGameTest, ClearingTheBoardWinsAndTheCountdownEndsTheLevel) {
    Game& game = enter();
    stepUntilPlaying();
    for (int i = 0; i < 8 && game.getLayout()->getTileCount() > 0; ++i) {
        ASSERT_TRUE(playHintedPair(game));
    }
    ASSERT_NE(scene->getState(), nullptr);
    EXPECT_TRUE(scene->getState()->isKindOf(StateGameWon::classRecord));
    EXPECT_TRUE(scene->isLevelOver());
    EXPECT_TRUE(game.getCounters().hasWon);
    EXPECT_EQ(scene->getLevelPhase(), 2);
    auto* over = static_cast<StateLevelOver*>(scene->getState());
    frame(1499);
    EXPECT_FALSE(over->isDialogShown());
    EXPECT_FALSE(scene->onLeftButtonDown(0, 0, 0, false)) << "no input while a state runs";
}

TEST_F(SceneGameTest, RunningOutOfTimeLosesTheLevel) {
    Game& game = enter(R"(playTime="10")"); // 80 ms for eight tiles
    stepUntilPlaying();
    EXPECT_EQ(scene->getTimeBar()->getTime().getMax(), 80);
    frame(50);
    EXPECT_EQ(scene->getState(), nullptr);
    frame(50);
    frame(16);
    ASSERT_NE(scene->getState(), nullptr);
    EXPECT_TRUE(scene->getState()->isKindOf(StateGameOver::classRecord));
    EXPECT_EQ(scene->getLevelPhase(), 0);
    EXPECT_FALSE(game.getCounters().hasWon);
    EXPECT_EQ(scene->getSoundLog().back(), "SOUND_LEVEL_LOST");
}

TEST_F(SceneGameTest, FocusLossPausesOnceTheLevelIsPlayedAndTheClockStandsStill) {
    Game& game = enter();
    scene->onMessage(8); // during the room information and build-up
    stepUntilPlaying();
    frame(16);
    EXPECT_EQ(scene->getPauseState(), 2);
    EXPECT_FALSE(GridDisplay::layersVisible);
    EXPECT_TRUE(scene->isDialogOpen("DIALOG_PAUSE"));
    const int clock = game.getCounters().realTime;
    const int left = scene->getTimeBar()->getTime().getValue();
    for (int i = 0; i < 10; ++i) {
        frame(100);
    }
    EXPECT_EQ(game.getCounters().realTime, clock);
    EXPECT_EQ(scene->getTimeBar()->getTime().getValue(), left);

    Dialog* pause = scene->findDialog("DIALOG_PAUSE");
    scene->closeDialog(pause);
    scene->dialogClosed(pause);
    EXPECT_EQ(scene->getPauseState(), 0);
    EXPECT_TRUE(GridDisplay::layersVisible);
    frame(100);
    EXPECT_EQ(game.getCounters().realTime, clock + 100);
}

// The clocks follow the open game dialogs, not the pause state: a board
// held without a dialog (a dialog that closed unannounced) keeps counting.
TEST_F(SceneGameTest, TheClocksStandStillExactlyWhileAGameDialogIsOpen) {
    Game& game = enter();
    stepUntilPlaying();
    scene->boardPaused();
    ASSERT_EQ(scene->getPauseState(), 1);
    const int clock = game.getCounters().realTime;
    frame(100);
    EXPECT_EQ(game.getCounters().realTime, clock + 100);
    RefPtr<Dialog> dialog(new Dialog(nullptr));
    scene->dialogOpened(dialog.get());
    frame(100);
    EXPECT_EQ(game.getCounters().realTime, clock + 100);
}

// Setting a level up and tearing it down both stamp the match times with
// the game's play time.
TEST_F(SceneGameTest, SetUpAndTeardownStampTheMatchTimes) {
    Game& game = enter();
    GameCounters& counters = game.getCounters();
    EXPECT_EQ(counters.lastMatchTime, counters.realTime);
    EXPECT_EQ(counters.levelMarkTime, counters.realTime);
    stepUntilPlaying();
    frame(300);
    ASSERT_TRUE(playHintedPair(game));
    counters.levelMarkTime = -1;
    const int played = counters.realTime;
    ASSERT_GT(played, 0);
    scene->tearDownLevel();
    EXPECT_EQ(counters.lastMatchTime, played);
    EXPECT_EQ(counters.levelMarkTime, played);
    EXPECT_EQ(counters.timeSinceLastRestart, 0);
}

// Darkening leaves the side board's tiles their plain look; without it the
// side board is left alone.
TEST_F(SceneGameTest, DarkeningGivesTheSideBoardsTilesThePlainLook) {
    for (const bool darken : {false, true}) {
        GridDisplay::resetCounts();
        Game& game = enter(darken ? R"(playTime="1000" darkenTiles="1")" : R"(playTime="1000")");
        stepUntilPlaying();
        RefPtr<SideBoard> side(new SideBoard(nullptr));
        side->setDimensions(2, 1);
        RefPtr<Tile> twin = makeTile({0, 0, 0});
        ASSERT_TRUE(side->putTile(twin.get(), 1, 0));
        game.getLayout()->setSideBoard(side.get());
        GridDisplay::plain.clear();
        scene->updateFreeTileMarks();
        const bool plain = std::find(GridDisplay::plain.begin(), GridDisplay::plain.end(),
                                     twin.get()) != GridDisplay::plain.end();
        EXPECT_EQ(plain, darken) << "darkening " << darken;
        game.getLayout()->setSideBoard(nullptr);
        scene = nullptr;
    }
}

TEST_F(SceneGameTest, LeavingMidLevelTearsTheBoardDownOnce) {
    enter();
    stepUntilPlaying();
    scene->close();
    EXPECT_EQ(scene->getPauseState(), 3);
    EXPECT_EQ(scene->getTimeBar(), nullptr);
    EXPECT_EQ(scene->getBonusBar(), nullptr);
    EXPECT_EQ(scene->getDisplay(), nullptr);
    scene->tearDownLevel(); // a second teardown finds nothing to release
}

TEST_F(SceneGameTest, TheDialogsReachTheScreenThroughItsHook) {
    Game& game = enter();
    PlayingScreenHook* hook = getPlayingScreenHook();
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(hook->getScene(), scene.get());
    EXPECT_EQ(hook->getEffectLayer(), scene->getEffectLayer());
    stepUntilPlaying();

    // A game dialog over the board stops the clocks until it closes.
    RefPtr<Dialog> dialog(new Dialog(nullptr));
    hook->dialogOpened(dialog.get());
    EXPECT_EQ(scene->getPauseState(), 1);
    EXPECT_TRUE(scene->getTimeBar()->isSuspended());
    const int clock = game.getCounters().realTime;
    frame(100);
    EXPECT_EQ(game.getCounters().realTime, clock);
    hook->dialogClosed(dialog.get());
    EXPECT_EQ(scene->getPauseState(), 0);
    EXPECT_FALSE(scene->getTimeBar()->isSuspended());
    frame(100);
    EXPECT_EQ(game.getCounters().realTime, clock + 100);

    // The menu's stop tears the level down.
    hook->stopLevel();
    EXPECT_EQ(scene->getPauseState(), 3);
    EXPECT_EQ(scene->getDisplay(), nullptr);

    scene = nullptr;
    EXPECT_EQ(getPlayingScreenHook(), nullptr) << "the screen takes its hook away";
}

TEST_F(SceneGameTest, EffectsPlayOverTheDialogsShownSinceTheLevelBegan) {
    enter();
    stepUntilPlaying();
    const auto lastLayer = [this] {
        GameNode* last = scene->getDialogLayer()->getFirstChild();
        while (last != nullptr && last->getNextSibling() != nullptr) {
            last = last->getNextSibling();
        }
        return last;
    };
    ASSERT_NE(scene->getEffectLayer(), nullptr);
    EXPECT_EQ(lastLayer(), scene->getEffectLayer());
    // A game dialog shown now lands above the effects until its opening
    // tells the screen, which puts the effects back on top.
    RefPtr<Dialog> dialog(new Dialog(nullptr));
    scene->showDialog(dialog.get());
    EXPECT_EQ(lastLayer(), dialog.get());
    getPlayingScreenHook()->dialogOpened(dialog.get());
    EXPECT_EQ(lastLayer(), scene->getEffectLayer());
    scene->closeDialog(dialog.get());
    getPlayingScreenHook()->dialogClosed(dialog.get());
}

TEST_F(SceneGameTest, ClicksAtTheDrawnTilesPlacesMatchAPair) {
    setBoardDisplayFactory(&makeRendererDisplay);
    Game& game = enter();
    stepUntilPlaying();
    ASSERT_EQ(scene->getDisplay(), lastRendererDisplay);
    LayoutRenderer& board = lastRendererDisplay->getRenderer();
    EXPECT_GT(board.getWidth(), 0);
    EXPECT_EQ(std::count_if(board.getRenderTiles().begin(), board.getRenderTiles().end(),
                            [](const RefPtr<RenderTile>& rt) { return !rt->hidden; }),
              8)
        << "the build-up shows every tile again";

    TileList pair;
    ASSERT_TRUE(game.pickHint(pair));
    const auto clickDrawn = [&](const Tile& tile) {
        const int x = board.tileScreenX(tile.getPos().x, tile.getPos().z) + 3;
        const int y = board.tileScreenY(tile.getPos().y, tile.getPos().z) + 4;
        scene->onMouseMove(x, y, 0);
        static_cast<void>(scene->onLeftButtonDown(x, y, 0, false));
    };
    clickDrawn(*pair[0]);
    EXPECT_TRUE(game.isSelected(pair[0].get()));
    clickDrawn(*pair[1]);
    EXPECT_EQ(game.getLayout()->getTileCount(), 6);
    // The matched tiles fade out of the drawing.
    for (int i = 0; i < 200; ++i) {
        frame(16);
    }
    const RenderTile* faded = board.renderTileFor(*pair[0]);
    ASSERT_NE(faded, nullptr);
    EXPECT_TRUE(faded->hidden);
}

TEST_F(SceneGameTest, TheBoardStaysDrawnBehindTheLevelEndDialog) {
    setBoardDisplayFactory(&makeRendererDisplay);
    enter(R"(playTime="10")");
    stepUntilPlaying();
    const LayoutRenderer& board = lastRendererDisplay->getRenderer();
    frame(100);
    frame(16);
    ASSERT_TRUE(scene->isLevelOver());
    // The level-end dialog opens over the board: the clocks stop, nothing is
    // taken off the screen.
    RefPtr<Dialog> dialog(new Dialog(nullptr));
    getPlayingScreenHook()->dialogOpened(dialog.get());
    frame(16);
    EXPECT_EQ(scene->getPauseState(), 1);
    EXPECT_TRUE(board.isVisible());
    for (const RefPtr<LayerSprite>& layer : board.getLayers()) {
        EXPECT_TRUE(layer->isVisible());
    }
    EXPECT_EQ(std::count_if(board.getRenderTiles().begin(), board.getRenderTiles().end(),
                            [](const RefPtr<RenderTile>& rt) { return !rt->hidden; }),
              8);
    getPlayingScreenHook()->dialogClosed(dialog.get());
}

// The recreation room has no bars; its plaque, clock and time take their
// place in the console, and they are seen nowhere else.
TEST_F(SceneGameTest, TheRecreationRoomShowsItsClockWhereTheBarsStandElsewhere) {
    TempDir folder;
    const std::string file = (folder.path() / "dialogs.xml").string();
    std::ofstream(file) << R"(<root><Node id="scenes">
        <SceneGame id="SCENE_GAME" width="800" height="600"><Vector id="scenecomponents">
            <Sprite name="RECROOM_PLAQUE" x="686" y="232" width="108" height="312" visible="false"/>
            <Sprite name="RECROOM_CLOCK" x="711" y="250" width="56" height="56" visible="false"/>
            <Label name="LABEL_TIME" x="700" y="344" width="75" height="24" visible="false"/>
        </Vector></SceneGame></Node></root>)";
    getDefinitionStore().addFile(file);
    getDefinitionStore().load();
    const auto shown = [this](const char* name) {
        const GameNode* node = scene->findComponent(name);
        return node != nullptr && node->isVisible();
    };
    enter(R"(playTime="1000")", [](Level& level) { level.setPlace(Place::RecRoom); });
    EXPECT_FALSE(scene->getTimeBar()->isVisible());
    EXPECT_FALSE(scene->getBonusBar()->isVisible());
    for (const char* name : {"RECROOM_PLAQUE", "RECROOM_CLOCK", "LABEL_TIME"}) {
        EXPECT_TRUE(shown(name)) << name;
    }
    for (const Place place : {Place::Hallway, Place::Casino, Place::Roof}) {
        SCOPED_TRACE(static_cast<int>(place));
        scene = nullptr;
        enter(R"(playTime="1000")", [place](Level& level) { level.setPlace(place); });
        EXPECT_TRUE(scene->getTimeBar()->isVisible());
        EXPECT_TRUE(scene->getBonusBar()->isVisible());
        for (const char* name : {"RECROOM_PLAQUE", "RECROOM_CLOCK", "LABEL_TIME"}) {
            EXPECT_FALSE(shown(name)) << name;
        }
    }
}

// A current player "Ada" with her files and the high scores in a temporary
// folder.
class SceneGamePlayerTest : public SceneGameTest {
protected:
    void SetUp() override {
        SceneGameTest::SetUp();
        TrophyList::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/trophies.xml");
        PlayerManager& players = PlayerManager::create(false, "");
        players.setDataFolder(temp.path().string());
        players.addPlayer(new OrvantaPlayer("Ada"));
        HighScoreManager::create(false, "").setDataFolder(temp.path().string());
        ada = players.getCurrentProfile();
    }
    void TearDown() override {
        scene = nullptr;
        HighScoreManager::destroyInstance();
        PlayerManager::destroyInstance();
        TrophyList::setDefinitionFile({});
        SceneGameTest::TearDown();
    }

    TempDir temp;
    OrvantaPlayer* ada = nullptr;
};

TEST_F(SceneGamePlayerTest, AWonHallwayLevelIsCountedAndRecordedBeforeTheLevelEnd) {
    Game& game = enter(R"(playTime="1000" silver="1" gold="100000")", [](Level& level) {
        level.setPlace(Place::Hallway);
        level.setFloor(1);
        level.setRoom(2);
    });
    const RoomRecord& room = ada->stats.getRoom(1, 2);
    EXPECT_EQ(room.playCount, 1);
    stepUntilPlaying();
    while (game.getLayout()->getTileCount() > 0) {
        ASSERT_TRUE(playHintedPair(game));
    }
    ASSERT_TRUE(scene->isLevelOver());
    EXPECT_EQ(room.levelWinCount, 1);
    EXPECT_EQ(room.bestScore, game.getScore().getValue());
    EXPECT_EQ(room.bestTime, game.getCounters().realTime);
    EXPECT_EQ(ada->stats.twoStarsCount, 1);
    EXPECT_EQ(ada->stats.numGamesWon, 1);
    auto* over = static_cast<StateLevelOver*>(scene->getState());
    frame(1500);
    EXPECT_TRUE(over->isDialogShown());
}

TEST_F(SceneGamePlayerTest, ATimedOutCasinoRunEntersItsHighScoreTable) {
    Game& game = enter(R"(playTime="10")", [](Level& level) {
        level.setPlace(Place::Casino);
        level.setDifficulty(2);
    });
    EXPECT_EQ(ada->stats.getCasino(0, 2).playCount, 1);
    stepUntilPlaying();
    ASSERT_TRUE(playHintedPair(game));
    while (!scene->isLevelOver()) {
        frame(50);
    }
    const HighScoreTable* table = getHighScoreTable("1_0_2", false);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->hasPlayerEntry("Ada"));
    EXPECT_EQ(ada->stats.getCasino(0, 2).bestScore, game.getScore().getValue());
    EXPECT_TRUE(ada->newHighScorePending);
}

} // namespace
} // namespace orv::test
