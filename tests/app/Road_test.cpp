#include "app/OrvantaMain.h"

#include "engine/core/RefPtr.h"
#include "engine/gui/Button.h"
#include "engine/gui/InputLabel.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "game/screen/SceneGame.h"
#include "tests/app/RoadDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orv {
namespace {

// The trophy of the first floor completed.
constexpr std::size_t kFloorOneTrophy = 5;

using test::boardReady;
using test::clickComponent;
using test::dialogsAnswered;
using test::findOnScreen;
using test::openDialog;
using test::RoadDriver;
using test::sceneShown;
using test::withDialogsAnswered;

constexpr std::wstring_view kName = L"Ann";
// The clock starts here, which also fixes the program's random seed. Each
// frame of the road stands for 40 ms, as on a machine that draws 25 frames a
// second: the road takes fewer frames, and frames are what costs time here.
constexpr std::uint32_t kRoadStartMs = 100000;
constexpr std::uint32_t kFrameMs = 40;

// Takes every pending window message: a closed window leaves its quit
// message behind, which a process would never see again, but a later run in
// this one would.
void dropWindowMessages() {
    platform::Message left;
    while (platform::peekMessage(left)) {
    }
}

// Runs the program from the built media with `road` playing its frames.
// The working folder is restored after.
int runRoad(RoadDriver& road) {
    const std::string previous = platform::getCurrentFolder();
    const test::FixedClock clock(kRoadStartMs, kFrameMs);
    dropWindowMessages();
    setStepObserver([&road](std::string_view step) {
        if (step == "main loop") {
            road.attach();
        }
    });
    const int exitCode = runProgram(ORVANTA_MEDIA_APP_DIR);
    setStepObserver({});
    dropWindowMessages();
    road.programEnded();
    static_cast<void>(platform::setCurrentFolder(previous));
    return exitCode;
}

bool buttonEnabled(std::string_view name) {
    const auto* button = kindCast<Button>(findOnScreen(name));
    return button != nullptr && button->isEnabled() && button->isVisible();
}

// The child of `parent` named `name`, or null.
GameNode* childNamed(const GameNode* parent, std::string_view name) {
    for (GameNode* child = parent != nullptr ? parent->getFirstChild() : nullptr; child != nullptr;
         child = child->getNextSibling()) {
        if (child->getName() == name) {
            return child;
        }
    }
    return nullptr;
}

// The greeting of the lobby shown, or empty.
std::wstring greeting() {
    const auto* label = kindCast<Label>(findOnScreen("LABEL_PLAYERNAME"));
    return label != nullptr ? label->getText() : std::wstring();
}

// What the second start found of the first run's player.
struct SavedPlayer {
    bool found = false;
    std::string name;
    bool askedForName = false;
    std::wstring greeting;
    int floorReached = -1;
    int roomWins = -1;
    int roomBest = -1;
};

// ---- the first run: a new player from the start to the first room and back ----

struct FirstRun {
    int roomWins = -1; // room 1 of floor 1 when back in the hallway
    int roomBest = -1;
    int tilesAtStart = 0; // the first level's tiles when play began
    int pairsMatched = 0; // of every level played
    int firstRoomPairs = 0;
    bool medalShown = false;
    // The floor completed: its sequence, the trophy room, the elevator.
    bool floorSequenceShown = false;
    bool floorTrophyShown = false;
    bool elevatorOffersFloorTwo = false;
};

// Clears the board pair by pair, counting the pairs in `run`.
void matchNextPair(RoadDriver& road, FirstRun& run) {
    test::clearBoard(road, [&run] { ++run.pairsMatched; });
}

// Stops the road with a failure when the scene `name` is not registered: a
// scene that start-up does not make is a fault of the program, not a road
// that cannot be played yet.
bool failWithoutScene(RoadDriver& road, std::string_view name) {
    if (SceneManager::getInstance()->getScene(name) != nullptr) {
        return false;
    }
    road.fail("the scene " + std::string(name) + " does not exist: start-up did not make it");
    return true;
}

// Room `door` of floor 1 from the hallway: its level played and won, the
// level's end and trophies answered, and back in the hallway (its doors
// open again after the medal, except when the room completes the floor).
void addRoom(RoadDriver& road, FirstRun& run, int door) {
    const std::string button = "BUTTON_DOOR" + std::to_string(door);
    road.step(
        "the hallway before room " + std::to_string(door),
        [answer = withDialogsAnswered("SCENE_HALLWAY", {"DIALOG_TROPHY", "DIALOG_BRASTOW_HINT"}),
         button] { return answer() && buttonEnabled(button); },
        [button] { clickComponent(button); }, 1200);
    road.step(
        "room " + std::to_string(door) + "'s notice naming its game type and room",
        [] { return openDialog("DIALOG_LEVEL_INFO") != nullptr; },
        [&road, door] {
            auto* notice = kindCast<DialogLevelInfo>(openDialog("DIALOG_LEVEL_INFO"));
            const std::wstring room = L"Room 1" + std::to_wstring(door);
            if (notice == nullptr || notice->getGameTypeLabel()->getText().empty() ||
                notice->getRoomLabel()->getText() != room) {
                road.fail("the level's notice does not name its game type and room");
            }
        },
        1200);
    road.step("room " + std::to_string(door) + " with its opening dialogs answered",
              withDialogsAnswered("SCENE_GAME", {"DIALOG_LEVEL_INFO", "DIALOG_BRASTOW_HINT"}), {},
              1200);
    road.step(
        "room " + std::to_string(door) + " ready to play",
        [] {
            return sceneShown("SCENE_GAME") && boardReady() &&
                   Game::getCurrent()->getLayout()->getTileCount() > 0;
        },
        [&road, &run] { matchNextPair(road, run); }, 1500);
    road.step(
        "the level-end dialog of room " + std::to_string(door),
        [] { return openDialog("DIALOG_LEVEL_END") != nullptr; }, {}, 600);
    road.step("the level end of room " + std::to_string(door) + " closed by Continue",
              dialogsAnswered({"DIALOG_TROPHY", "DIALOG_LEVEL_END"}), {}, 1200);
}

void addFirstRoad(RoadDriver& road, FirstRun& run) {
    test::addLoadingScreenClick(road);
    road.step(
        "the name question of a new player", [] { return openDialog("DIALOG_NEWPLAYER"); },
        [] { test::postText(kName); });
    road.step(
        "the name typed",
        [] {
            const Dialog* dialog = openDialog("DIALOG_NEWPLAYER");
            const auto* input = dialog != nullptr
                                    ? kindCast<InputLabel>(dialog->findComponent("INPUT_NAME"))
                                    : nullptr;
            return input != nullptr && input->getText() == kName;
        },
        [] { clickComponent("BUTTON_OK", "DIALOG_NEWPLAYER"); });
    road.step("the lobby greeting the new player", [] {
        return sceneShown("SCENE_LOBBY") && openDialog("DIALOG_NEWPLAYER") == nullptr &&
               greeting().ends_with(kName);
    });
    road.step("the lobby with the host's tip answered",
              withDialogsAnswered("SCENE_LOBBY", {"DIALOG_BRASTOW_HINT"}), [&road] {
                  if (failWithoutScene(road, "SCENE_ELEVATOR")) {
                      return;
                  }
                  clickComponent("BUTTON_ELEVATOR");
              });
    // A new player's first visit shows floor 1 opening; its button takes
    // clicks once the show is over.
    road.step(
        "the elevator with floor 1 open",
        [] { return sceneShown("SCENE_ELEVATOR") && buttonEnabled("BUTTON_FLOOR_1"); },
        [&road] {
            if (failWithoutScene(road, "SCENE_HALLWAY")) {
                return;
            }
            clickComponent("BUTTON_FLOOR_1");
        },
        1200);
    // The host welcomes the player back to the hallway once.
    road.step(
        "the hallway of floor 1 with its doors open and the host's tip answered",
        [answer = withDialogsAnswered("SCENE_HALLWAY", {"DIALOG_BRASTOW_HINT"})] {
            return answer() && buttonEnabled("BUTTON_DOOR1");
        },
        [] { clickComponent("BUTTON_DOOR1"); }, 1200);
    // The room's name and the host's first tip of the game type come first.
    road.step("the playing screen with its opening dialogs answered",
              withDialogsAnswered("SCENE_GAME",
                                  {"DIALOG_LEVEL_INFO", "DIALOG_BRASTOW_HINT", "DIALOG_HINT"}),
              {}, 1200);
    road.step(
        "the first level ready to play",
        [] {
            return sceneShown("SCENE_GAME") && boardReady() &&
                   Game::getCurrent()->getLayout()->getTileCount() > 0;
        },
        [&road, &run] {
            run.tilesAtStart = Game::getCurrent()->getLayout()->getTileCount();
            matchNextPair(road, run);
        },
        1500);
    road.step(
        "the level-end dialog", [] { return openDialog("DIALOG_LEVEL_END") != nullptr; }, {}, 600);
    // Continue: the first click on the dialog cuts its count short.
    // Continue: the trophy room shows the trophies the level earned first.
    road.step("the level-end dialog closed by Continue",
              dialogsAnswered({"DIALOG_TROPHY", "DIALOG_LEVEL_END"}), {}, 1200);
    road.step(
        "the hallway again, its doors open after the medal",
        [answer = withDialogsAnswered("SCENE_HALLWAY", {"DIALOG_TROPHY", "DIALOG_BRASTOW_HINT"})] {
            return answer() && buttonEnabled("BUTTON_DOOR1");
        },
        [&run] {
            const auto* medal = kindCast<Sprite>(childNamed(findOnScreen("MEDALS"), "MEDAL1"));
            run.medalShown = medal != nullptr && medal->isVisible() && medal->getAlpha() == 255;
            run.firstRoomPairs = run.pairsMatched;
            if (const OrvantaPlayer* player = PlayerManager::get()->getCurrentProfile()) {
                run.roomWins = player->stats.getRoom(1, 1).levelWinCount;
                run.roomBest = player->stats.getRoom(1, 1).bestScore;
            }
        },
        1200);
    for (int door = 2; door <= 5; ++door) {
        addRoom(road, run, door);
    }
    // The fifth room completed the floor: the medal lands, the floor's
    // sequence plays and its OK leads to the trophy room, then the elevator
    // offers the next floor.
    road.step(
        "the floor-completed dialog with its OK button",
        [] { return sceneShown("SCENE_HALLWAY") && buttonEnabled("BUTTON_OK"); },
        [&run] {
            const GameNode* dialog = findOnScreen("FLOORENDDIALOG");
            run.floorSequenceShown = dialog != nullptr && dialog->isVisible();
            clickComponent("BUTTON_OK");
        },
        1500);
    road.step(
        "the trophy room with the floor's trophy",
        [] { return openDialog("DIALOG_TROPHY") != nullptr; },
        [&run] {
            const OrvantaPlayer* player = PlayerManager::get()->getCurrentProfile();
            run.floorTrophyShown =
                player != nullptr &&
                player->trophies->getState(kFloorOneTrophy) == TrophyState::kPresenting;
        },
        600);
    road.step("the trophy room closed by its Menu button",
              dialogsAnswered({"DIALOG_TROPHY", "DIALOG_BRASTOW_HINT"}), {}, 1500);
    road.step(
        "the elevator with floor 2 open",
        [] { return sceneShown("SCENE_ELEVATOR") && buttonEnabled("BUTTON_FLOOR_2"); },
        [&run] { run.elevatorOffersFloorTwo = true; }, 1500);
}

// ---- the second run: the player, the record and the unlocks found again ---------

void addSecondRoad(RoadDriver& road, SavedPlayer& saved) {
    test::addLoadingScreenClick(road);
    road.step(
        "the lobby after a restart",
        [] { return sceneShown("SCENE_LOBBY") && !greeting().empty(); },
        [&saved] {
            saved.askedForName = openDialog("DIALOG_NEWPLAYER") != nullptr;
            saved.greeting = greeting();
            const PlayerManager* players = PlayerManager::get();
            const OrvantaPlayer* player = players->getCurrentProfile();
            if (player == nullptr) {
                return;
            }
            saved.found = true;
            saved.name = player->getName();
            saved.floorReached = player->floorReached;
            saved.roomWins = player->stats.getRoom(1, 1).levelWinCount;
            saved.roomBest = player->stats.getRoom(1, 1).bestScore;
        });
}

// ---- the third run: one casino level -------------------------------------------

struct CasinoRun {
    FirstRun play;
    bool panelShown = false;
    int plays = -1; // the casino record of Classic, normal
    int best = -1;
};

// The casino opens with the first hallway floors; the player of the first
// runs is given them, rides there, chooses Classic and wins its first level.
void addCasinoRoad(RoadDriver& road, CasinoRun& run) {
    test::addLoadingScreenClick(road);
    road.step("the lobby after another restart",
              withDialogsAnswered("SCENE_LOBBY", {"DIALOG_BRASTOW_HINT"}), [&road] {
                  if (OrvantaPlayer* player = PlayerManager::get()->getCurrentProfile()) {
                      player->modesUnlocked.at(1) = OrvantaPlayer::kOpen;
                      player->unlockedStuff.at(0) = OrvantaPlayer::kOpen;
                  }
                  if (failWithoutScene(road, "SCENE_CASINO")) {
                      return;
                  }
                  clickComponent("BUTTON_ELEVATOR");
              });
    road.step(
        "the elevator with the casino open",
        [] { return sceneShown("SCENE_ELEVATOR") && buttonEnabled("BUTTON_CASINO"); },
        [] { clickComponent("BUTTON_CASINO"); }, 1200);
    road.step(
        "the casino with the host's tip answered",
        withDialogsAnswered("SCENE_CASINO", {"DIALOG_BRASTOW_HINT"}),
        [] { clickComponent("SWITCH_CLASSIC"); }, 1200);
    road.step(
        "Classic chosen, the panel shown", [] { return buttonEnabled("BUTTON_START"); },
        [&run] {
            const GameNode* panel = findOnScreen("PANEL");
            run.panelShown = panel != nullptr && panel->isVisible();
            clickComponent("BUTTON_START");
        });
    road.step("the casino level's opening dialogs answered",
              withDialogsAnswered("SCENE_GAME",
                                  {"DIALOG_LEVEL_INFO", "DIALOG_BRASTOW_HINT", "DIALOG_HINT"}),
              {}, 1200);
    road.step(
        "the casino level ready to play",
        [] {
            return sceneShown("SCENE_GAME") && boardReady() &&
                   Game::getCurrent()->getLayout()->getTileCount() > 0;
        },
        [&road, &run] {
            run.play.tilesAtStart = Game::getCurrent()->getLayout()->getTileCount();
            matchNextPair(road, run.play);
        },
        1500);
    road.step(
        "the casino's level-end dialog", [] { return openDialog("DIALOG_LEVEL_END") != nullptr; },
        [&run] {
            if (OrvantaPlayer* player = PlayerManager::get()->getCurrentProfile()) {
                run.plays = player->stats.getCasino(0, 0).playCount;
                run.best = player->stats.getCasino(0, 0).bestScore;
            }
        },
        600);
}

// The main road of the game for a new player, played by the real program on
// its real media with the dummy drivers and a fixed clock: the name, the
// lobby, the elevator to floor 1, the first door, the level won by clicking
// hinted pairs, the level-end dialog, back in the hallway with the room's
// record and medal; then a second start finds the player, the record and the
// floor reached again.
TEST(Road, ANewPlayerWinsTheFirstRoomAndFindsItAgainAfterARestart) {
    FirstRun first;
    const RefPtr<RoadDriver> road(new RoadDriver());
    addFirstRoad(*road, first);
    ASSERT_EQ(runRoad(*road), 0);
    ASSERT_EQ(road->getFailure(), "");
    EXPECT_TRUE(road->isDone());
    EXPECT_GT(first.tilesAtStart, 0);
    EXPECT_EQ(first.firstRoomPairs * 2, first.tilesAtStart);
    EXPECT_EQ(first.roomWins, 1);
    EXPECT_GT(first.roomBest, 0);
    EXPECT_TRUE(first.medalShown);
    EXPECT_TRUE(first.floorSequenceShown);
    EXPECT_TRUE(first.floorTrophyShown);
    EXPECT_TRUE(first.elevatorOffersFloorTwo);

    SavedPlayer saved;
    const RefPtr<RoadDriver> again(new RoadDriver());
    addSecondRoad(*again, saved);
    ASSERT_EQ(runRoad(*again), 0);
    ASSERT_EQ(again->getFailure(), "");
    ASSERT_TRUE(saved.found) << "greeting: " << platform::wideToUtf8(saved.greeting)
                             << (saved.askedForName ? ", asked for a name" : "");
    EXPECT_EQ(saved.name, "Ann");
    EXPECT_FALSE(saved.askedForName);
    EXPECT_TRUE(saved.greeting.ends_with(kName));
    EXPECT_EQ(saved.floorReached, 2);
    EXPECT_EQ(saved.roomWins, 1);
    EXPECT_EQ(saved.roomBest, first.roomBest);

    CasinoRun casino;
    const RefPtr<RoadDriver> third(new RoadDriver());
    addCasinoRoad(*third, casino);
    ASSERT_EQ(runRoad(*third), 0);
    ASSERT_EQ(third->getFailure(), "");
    EXPECT_TRUE(casino.panelShown);
    EXPECT_GT(casino.play.tilesAtStart, 0);
    EXPECT_EQ(casino.play.pairsMatched * 2, casino.play.tilesAtStart);
    EXPECT_EQ(casino.plays, 1);
    EXPECT_GT(casino.best, 0);
}

} // namespace
} // namespace orv
