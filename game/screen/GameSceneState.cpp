#include "game/screen/GameSceneState.h"

#include "engine/core/RandomGenerator.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/Dialog.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/players/OrvantaPlayer.h"
#include "game/screen/BonusBar.h"
#include "game/screen/BuildingProgress.h"
#include "game/screen/LevelRecords.h"
#include "game/screen/ProfileHooks.h"
#include "game/screen/SceneGame.h"
#include "game/screen/ScreenMath.h"
#include "game/screen/TimeBar.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord GameSceneState::classRecord{"GameSceneState",
                                                        parentRecords<BaseObject::classRecord>};
// The room information and the instructions name BaseObject as their parent,
// so that a kind-of test for a screen state does not take them.
constinit const ClassRecord StateRoomInfo::classRecord{"StateRoomInfo",
                                                       parentRecords<BaseObject::classRecord>};
constinit const ClassRecord StateInstructions::classRecord{"StateInstructions",
                                                           parentRecords<BaseObject::classRecord>};
constinit const ClassRecord StateBuildLevel::classRecord{
    "StateBuildLevel", parentRecords<GameSceneState::classRecord>};
constinit const ClassRecord StatePlaying::classRecord{"StatePlaying",
                                                      parentRecords<GameSceneState::classRecord>};
constinit const ClassRecord StateShuffle::classRecord{"StateShuffle",
                                                      parentRecords<GameSceneState::classRecord>};
constinit const ClassRecord StateLevelOver::classRecord{"StateLevelOver",
                                                        parentRecords<GameSceneState::classRecord>};
constinit const ClassRecord StateGameOver::classRecord{"StateGameOver",
                                                       parentRecords<StateLevelOver::classRecord>};
constinit const ClassRecord StateGameWon::classRecord{"StateGameWon",
                                                      parentRecords<StateLevelOver::classRecord>};

namespace {

Game* game() {
    return Game::getCurrent();
}

// Shows the dialog `name` of the playing screen with `callback` as its
// after-close slot. False when there is no such dialog (or it takes no
// callback): the caller then goes on at once.
bool showDialogThen(std::string_view name, GuiFunction callback, void* context) {
    SceneGame* scene = SceneGame::getInstance();
    Dialog* dialog = scene != nullptr ? scene->getDialog(name) : nullptr;
    if (dialog == nullptr) {
        return false;
    }
    auto* method = static_cast<iGuiMethod*>(dialog->getInterface(iGuiMethod::classRecord));
    if (method == nullptr) {
        return false;
    }
    method->setMethod(callback, context);
    scene->showDialog(dialog);
    return true;
}

RefPtr<SoundNode> makeLoopSound() {
    Sound* sound = nullptr;
    if (ResourceManager* resources = ResourceManager::getInstance(); resources != nullptr) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        sound = kindCast<Sound>(resources->getLoadedObject("SOUND_SHUFFLE", "game"));
    }
    return RefPtr<SoundNode>(new SoundNode(sound));
}

// Takes a free tile out of `work` (and out of `layout`), appending it to
// `out`. Random draws first, as the build-up always did; a board on which the
// draws keep missing (no free tile, broken data) is walked in order instead,
// and when nothing at all is free the last tile is taken, so that the loop
// always ends.
void takeFreeTile(Layout& layout, TileList& work, TileList& out) {
    const int size = static_cast<int>(work.size());
    int found = -1;
    for (int tries = 0; tries < 4 * size + 16 && found < 0; ++tries) {
        const int index = Random::nextInt(0, size);
        if (layout.isTileFree(*work[static_cast<std::size_t>(index)])) {
            found = index;
        }
    }
    for (int index = 0; index < size && found < 0; ++index) {
        if (layout.isTileFree(*work[static_cast<std::size_t>(index)])) {
            found = index;
        }
    }
    if (found < 0) {
        found = size - 1;
    }
    RefPtr<Tile> tile = work[static_cast<std::size_t>(found)];
    work.erase(work.begin() + found);
    layout.removeTile(tile.get());
    out.push_back(tile);
}

} // namespace

SceneGame* GameSceneState::screen() {
    return SceneGame::getInstance();
}

// ---- room information -----------------------------------------------------------

void StateRoomInfo::enter() {
    SceneGame* scene = screen();
    if (scene != nullptr && scene->getBonusBar() != nullptr) {
        scene->getBonusBar()->updateMultiplierLabel();
    }
    // The notice names the game type and the room or level being entered.
    const Game* current = game();
    if (scene != nullptr && current != nullptr && current->getLevel() != nullptr) {
        if (auto* notice = kindCast<DialogLevelInfo>(scene->getDialog("DIALOG_LEVEL_INFO"))) {
            notice->setInfo(*current->getLevel());
        }
    }
    if (!showDialogThen("DIALOG_LEVEL_INFO", &StateRoomInfo::onLevelInfoClosed, this)) {
        onLevelInfoClosed(this, nullptr);
    }
}

int StateRoomInfo::onLevelInfoClosed(void* /*context*/, void* /*argument*/) {
    if (SceneGame* scene = screen(); scene != nullptr) {
        scene->setState(new StateInstructions());
    }
    return 0;
}

// ---- instructions -----------------------------------------------------------------

void StateInstructions::enter() {
    const Game* current = game();
    int tip = 8;
    if (current != nullptr) {
        const int type = static_cast<int>(current->getGameType());
        if (placeOf(current) == static_cast<int>(Place::Roof)) {
            tip = type == static_cast<int>(GameType::Speed) ? 13 : 14;
        } else {
            tip = type + 8;
        }
    }
    GameServices& services = Game::getServices();
    if (services.isTutorialHintPending(tip)) {
        services.completeTutorialHint(tip);
        if (SceneGame* scene = screen(); scene != nullptr) {
            if (auto* box = kindCast<DialogBrastowHint>(scene->getDialog("DIALOG_BRASTOW_HINT"))) {
                box->showTip(tip);
            }
        }
        if (showDialogThen("DIALOG_BRASTOW_HINT", &StateInstructions::onHintClosed, this)) {
            return;
        }
    }
    onHintClosed(this, nullptr);
}

int StateInstructions::onHintClosed(void* /*context*/, void* /*argument*/) {
    if (SceneGame* scene = screen(); scene != nullptr) {
        scene->playGameMusic();
        scene->setState(new StateBuildLevel());
    }
    return 0;
}

// ---- build-up ---------------------------------------------------------------------

StateBuildLevel::StateBuildLevel() : loopSound_(makeLoopSound()) {}

void StateBuildLevel::enter() {
    pendingTiles_.clear();
    Game* current = game();
    SceneGame* scene = screen();
    if (current == nullptr || current->getLayout() == nullptr || scene == nullptr) {
        return;
    }
    Layout& layout = *current->getLayout();
    TileList work;
    layout.getTiles(work);
    while (!work.empty()) {
        takeFreeTile(layout, work, pendingTiles_);
    }
    layout.clear();
    layout.setDisplayName("");
    if (BoardDisplay* display = scene->getDisplay(); display != nullptr) {
        display->getNode().setVisible(true);
    }
    tileInterval_ =
        buildTileInterval(BUILD_LAYOUT_DURATION, static_cast<int>(pendingTiles_.size()));
    scene->playSound("SOUND_LEVEL_BUILDUP");
    static_cast<void>(loopSound_->play(255, 128, true, false));
}

void StateBuildLevel::update(int elapsedMs) {
    Game* current = game();
    SceneGame* scene = screen();
    if (current == nullptr || current->getLayout() == nullptr || scene == nullptr) {
        return;
    }
    // One more than the tiles waiting, so that a long frame also finishes.
    const int due =
        dueTiles(elapsed_, elapsedMs, tileInterval_, static_cast<int>(pendingTiles_.size()) + 1);
    for (int i = 0; i < due; ++i) {
        if (pendingTiles_.empty()) {
            finish(); // switches the state: nothing of this one is used after
            return;
        }
        RefPtr<Tile> tile = pendingTiles_.back();
        pendingTiles_.pop_back();
        static_cast<void>(current->getLayout()->setTileAt(tile.get(), tile->getPos()));
        if (BoardDisplay* display = scene->getDisplay(); display != nullptr) {
            display->placeTile(*tile);
        }
    }
}

void StateBuildLevel::finish() {
    SceneGame* scene = screen();
    Game* current = game();
    BoardDisplay* display = scene->getDisplay();
    if (display != nullptr) {
        if (current != nullptr && current->getGameType() == GameType::River) {
            display->applyLayerColors();
        }
        display->invalidate();
    }
    scene->updateFreeTileMarks();
    static_cast<void>(loopSound_->stop(false));
    if (scene->isSuperHintRunning()) {
        scene->refreshTileSprites();
    }
    scene->setState(new StatePlaying());
}

// ---- playing -------------------------------------------------------------------------

void StatePlaying::enter() {
    SceneGame* scene = screen();
    if (scene == nullptr) {
        return;
    }
    Game* current = game();
    scene->enableHud(true);
    scene->suspendBars(placeOf(current) == static_cast<int>(Place::RecRoom));
    scene->updateFreeTileMarks();
    if (current != nullptr && current->getLayout() != nullptr &&
        current->getLayout()->getSideBoard() != nullptr) {
        current->getLayout()->getSideBoard()->setVisible(true);
    }
    if (current != nullptr && current->getGameType() == GameType::River &&
        scene->getDisplay() != nullptr) {
        scene->getDisplay()->applyLayerColors();
    }
    scene->setLevelPhase(1);
    scene->setState(nullptr); // releases this state: nothing of it is used after
}

// ---- shuffle ---------------------------------------------------------------------------

StateShuffle::StateShuffle() : loopSound_(makeLoopSound()) {
    if (const Game* current = game(); current != nullptr && current->getLayout() != nullptr) {
        current->getLayout()->forEachTile([](Tile& tile) { tile.setFreeMark(true); });
    }
}

void StateShuffle::enter() {
    SceneGame* scene = screen();
    Game* current = game();
    if (scene == nullptr || current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    scene->enableHud(false);
    if (scene->getBonusBar() != nullptr) {
        scene->getBonusBar()->setSuspended(true);
    }
    scene->playSound("SOUND_USE_SHUFFLE");
    current->getLayout()->getTiles(pendingTiles_);
    tileInterval_ = tearDownTileInterval(TEAR_DOWN_LAYOUT_MIN_DURATION, TEAR_DOWN_LAYOUT_DURATION,
                                         static_cast<int>(pendingTiles_.size()));
    static_cast<void>(loopSound_->play(255, 128, true, false));
    static_cast<void>(current->prepareShuffle());
}

void StateShuffle::update(int elapsedMs) {
    SceneGame* scene = screen();
    Game* current = game();
    if (scene == nullptr || current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    Layout& layout = *current->getLayout();
    const int due =
        dueTiles(elapsed_, elapsedMs, tileInterval_, static_cast<int>(pendingTiles_.size()) + 1);
    for (int i = 0; i < due; ++i) {
        if (pendingTiles_.empty()) {
            scene->setState(new StateBuildLevel()); // this state is gone after
            return;
        }
        TileList taken;
        takeFreeTile(layout, pendingTiles_, taken);
        if (BoardDisplay* display = scene->getDisplay(); display != nullptr) {
            display->removeTile(*taken.front());
        }
    }
    if (BoardDisplay* display = scene->getDisplay(); display != nullptr) {
        display->invalidate();
    }
}

void StateShuffle::leave() {
    SceneGame* scene = screen();
    Game* current = game();
    if (scene == nullptr || current == nullptr) {
        return;
    }
    BoardDisplay* display = scene->getDisplay();
    if (display != nullptr) {
        display->getNode().setVisible(false);
    }
    current->swapInShuffled();
    if (display != nullptr && current->getLayout() != nullptr) {
        display->rebuild(*current->getLayout());
        display->detachTiles();
    }
    static_cast<void>(loopSound_->stop(false));
    // The re-dealt board brings its own side board.
    scene->attachSideBoard();
    scene->updateMatchesAfterShuffle();
}

// ---- the level's end ----------------------------------------------------------------------

void StateLevelOver::update(int elapsedMs) {
    if (countdown_ > 0) {
        countdown_ -= std::max(elapsedMs, 0);
    }
    if (countdown_ <= 0 && !dialogShown_) {
        dialogShown_ = true;
        if (!showDialogThen("DIALOG_LEVEL_END", &StateLevelOver::onLevelEndClosed, this)) {
            onLevelEndClosed(this, nullptr);
        }
    }
}

int StateLevelOver::onLevelEndClosed(void* /*context*/, void* /*argument*/) {
    SceneGame* scene = screen();
    if (scene == nullptr) {
        return 0;
    }
    const Game* current = game();
    const bool won = current != nullptr && current->getCounters().hasWon;
    const int place = placeOf(current);
    scene->startLevel(false);
    if (won &&
        (place == static_cast<int>(Place::Casino) || place == static_cast<int>(Place::Roof))) {
        scene->setState(new StateRoomInfo());
    }
    return 0;
}

// What the level ended with, for the records.
LevelOutcome outcomeOf(const Game& current) {
    const GameCounters& counters = current.getCounters();
    return {current.getScore().getValue(), counters.realTime, counters.clockTime};
}

void StateGameOver::enter() {
    DialogLevelEnd::storePreviousBest();
    if (const Game* current = game(); current != nullptr && current->getLevel() != nullptr) {
        if (OrvantaPlayer* player = currentProfile()) {
            static_cast<void>(recordLevelLost(*player, *current->getLevel(), outcomeOf(*current)));
        }
    }
    if (SoundManager* sounds = SoundManager::getInstance(); sounds != nullptr) {
        sounds->stopMusic();
    }
    if (SceneGame* scene = screen(); scene != nullptr) {
        scene->playSound("SOUND_LEVEL_LOST");
    }
}

void StateGameWon::enter() {
    Game* current = game();
    SceneGame* scene = screen();
    if (current == nullptr || scene == nullptr) {
        return;
    }
    current->getCounters().hasWon = true;
    if (current->getGameType() == GameType::River) {
        Game::getServices().completeTutorialHint(25);
        Game::getServices().completeTutorialHint(26);
    }
    DialogLevelEnd::storePreviousBest();
    if (SoundManager* sounds = SoundManager::getInstance(); sounds != nullptr) {
        sounds->stopMusic();
    }
    scene->playSound("SOUND_LEVEL_WON");
    if (OrvantaPlayer* player = currentProfile(); player != nullptr && current->getLevel()) {
        const HallwayNews news =
            recordLevelWon(*player, *current->getLevel(), outcomeOf(*current), levelFileGoals());
        if (BuildingProgress* building = getBuildingProgress()) {
            if (news.tip != 0) {
                building->leaveHallwayTip(news.tip);
            }
            if (news.completedFloor != 0) {
                building->floorCompleted(news.completedFloor);
            }
        }
    }

    const GameCounters& counters = current->getCounters();
    const Level* level = current->getLevel();
    if (placeOf(current) == static_cast<int>(Place::RecRoom)) {
        if (counters.undoCount == 0 && !counters.pressedUndo) {
            current->awardTrophy(0);
        }
        if (counters.realTime < TROPHY_SPEEDFREAK_TIME) {
            current->awardTrophy(8);
        }
        return;
    }
    if (current->getGameType() == GameType::Split && !counters.pressedShuffle) {
        current->awardTrophy(1);
    }
    const std::int32_t left =
        scene->getTimeBar() != nullptr ? scene->getTimeBar()->getTime().getValue() : 0;
    // The full time is the bar's maximum: playTime x originalTileCount, which
    // a level without play time or tiles makes 0: no share can be taken then.
    const std::int64_t full =
        level != nullptr && current->getLayout() != nullptr
            ? static_cast<std::int64_t>(level->getTuningInt(Tuning::PlayTime)) *
                  current->getLayout()->getOriginalTileCount()
            : 0;
    if (full > 0 &&
        static_cast<std::int64_t>(left) * 100 / full > TROPHY_PLENTY_OF_TIME_PERCENTAGE) {
        current->awardTrophy(2);
    }
    if (left < TROPHY_CLOSE_CALL_MILLISECONDS) {
        current->awardTrophy(18);
    }
}

} // namespace orv
