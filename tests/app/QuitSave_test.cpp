#include "app/OrvantaMain.h"

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "game/board/LevelSets.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/scenes/SceneOrvanta.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"
#include "tests/app/RoadDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::clickComponent;
using test::dialogsAnswered;
using test::openDialog;
using test::RoadDriver;
using test::sceneShown;

constexpr std::uint32_t kQuitSaveStartMs = 200000;

int runWith(RoadDriver& road) {
    const std::string previous = platform::getCurrentFolder();
    const test::FixedClock clock(kQuitSaveStartMs);
    platform::Message left;
    while (platform::peekMessage(left)) {
    }
    setStepObserver([&road](std::string_view step) {
        if (step == "main loop") {
            road.attach();
        }
    });
    const int exitCode = runProgram(ORVANTA_MEDIA_APP_DIR);
    setStepObserver({});
    while (platform::peekMessage(left)) {
    }
    road.programEnded();
    static_cast<void>(platform::setCurrentFolder(previous));
    return exitCode;
}

// The loading screen's click and, at the first start, the player's name.
void addToLobby(RoadDriver& road) {
    road.step(
        "the loading screen asking for a click",
        [] {
            const GameNode* click = test::findOnScreen("CLICK_TEXT");
            return sceneShown("SCENE_LOAD") && click != nullptr && click->isVisible();
        },
        [] { test::postClick(400, 300); }, 1200);
    road.step(
        "the lobby, a name given when asked",
        [typed = false]() mutable {
            if (openDialog("DIALOG_NEWPLAYER") != nullptr) {
                if (!typed) {
                    test::postText(L"Cleo");
                    typed = true;
                } else {
                    clickComponent("BUTTON_OK", "DIALOG_NEWPLAYER");
                }
                return false;
            }
            return sceneShown("SCENE_LOBBY") &&
                   PlayerManager::get()->getCurrentProfile() != nullptr;
        },
        {}, 1200);
}

// The level on the screen: its tiles, score and time left.
struct LevelSeen {
    int tiles = -1;
    int score = -1;
    int time = -1;
};

LevelSeen seeLevel() {
    const Game* game = Game::getCurrent();
    return {game->getLayout()->getTileCount(), game->getScore().getValue(),
            SceneGame::getInstance()->getTimeBar()->getTime().getValue()};
}

// The playing screen with its opening dialogs answered and the level played.
RoadDriver::Goal levelInPlay() {
    return [answer = dialogsAnswered({"DIALOG_LEVEL_INFO", "DIALOG_BRASTOW_HINT"})] {
        const SceneGame* screen = SceneGame::getInstance();
        return sceneShown("SCENE_GAME") && answer() && screen->getState() == nullptr &&
               screen->getLevelPhase() == 1;
    };
}

// A casino level in play, the window closed and the quit question answered
// Yes: the program ends and keeps the level, with its board, score and time,
// for the next start (which resumes it as the playing screen's tests show).
TEST(QuitSave, ALevelInPlayAtQuitIsKeptForTheNextStart) {
    LevelSeen left;
    bool paused = false;
    const RefPtr<RoadDriver> first(new RoadDriver());
    addToLobby(*first);
    first->pause("the lobby settled", 10, [&first] {
        Game* game = Game::create(GameType::Classic);
        RefPtr<Level> level = getLevelSets().getLevelDef(GameType::Classic, 0, Place::Casino);
        if (game == nullptr || !level || !game->setLevel(level.get())) {
            first->fail("no casino level of the Classic type to play");
            return;
        }
        switchScene("game", "TRANSITION_DEFAULT", "SCENE_GAME");
    });
    first->step("the casino level in play", levelInPlay(), {}, 1500);
    first->pause("some time played", 30, [] { static_cast<void>(requestQuitFromSceneShown()); });
    first->step(
        "the quit question over the paused board",
        [] { return openDialog(kQuitQuestion) != nullptr; },
        [&left, &paused] {
            left = seeLevel();
            paused = SceneGame::getInstance()->getPauseState() != 0;
        });
    // Yes is clicked until the program ends (the question takes clicks once
    // it has faded in).
    first->step(
        "the program ended by Yes",
        [frames = 0]() mutable {
            if (++frames % 20 == 0) {
                clickComponent("BUTTON_YES", kQuitQuestion);
            }
            return false;
        },
        {}, 300);
    ASSERT_EQ(runWith(*first), 0);
    // The program ended while the road still clicked Yes: no step ran out
    // of frames and the last one was never reached.
    ASSERT_EQ(first->getFailure(), "");
    ASSERT_FALSE(first->isDone());
    ASSERT_EQ(first->getReached().back(), "the quit question over the paused board");
    ASSERT_GT(left.tiles, 0);
    EXPECT_TRUE(paused) << "the board waits while the player decides";

    // What the next start finds in the player's saved game of the casino.
    PlayerManager& players = PlayerManager::create(true, "check");
    RefPtr<PropertyStore> store(new PropertyStore());
    const bool kept = players.loadSavedGame("Cleo", "1", *store);
    PlayerManager::destroyInstance();
    ASSERT_TRUE(kept);
    const PropertyNode* game = store->getNode("game");
    EXPECT_EQ(game->getValue("realScore")->getInt(), left.score);
    EXPECT_EQ(game->getNode("layout")->getValue("tileCount")->getInt(), left.tiles);
    // The bar runs in the frames between the answer and the end.
    const int time = game->getNode("timeBar")->getValue("currentTime")->getInt();
    EXPECT_LE(time, left.time);
    EXPECT_GE(time, left.time - 4 * 16);
}

} // namespace
} // namespace orv
