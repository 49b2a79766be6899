#include "game/screen/SceneGame.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundStream.h"
#include "engine/scene/Label.h"
#include "engine/scene/SceneManager.h"
#include "game/board/Game.h"
#include "game/board/LevelSets.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogHooks.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/screen/BackgroundChoice.h"
#include "game/screen/BonusBar.h"
#include "game/screen/GameSceneState.h"
#include "game/screen/LabelTicker.h"
#include "game/screen/LevelRecords.h"
#include "game/screen/PlayRules.h"
#include "game/screen/ProfileHooks.h"
#include "game/screen/SceneGameHintHook.h"
#include "game/screen/TimeBar.h"

#include <algorithm>
#include <array>
#include <string>

namespace orv {

constinit const ClassRecord SceneGame::classRecord{"SceneGame", parentRecords<Scene::classRecord>};

namespace {

SceneGame* instance = nullptr;
BoardDisplayFactory displayFactory = nullptr;

constexpr std::array<std::string_view, 6> kModeNames{"NAME_CLASSIC", "NAME_FREECELL", "NAME_SPLIT",
                                                     "NAME_TRIPLE",  "NAME_RIVER",    "NAME_SPEED"};
constexpr std::array<std::string_view, 6> kMusic{"MUSIC_GAME_CLASSIC", "MUSIC_GAME_FREECELL",
                                                 "MUSIC_GAME_SPLIT",   "MUSIC_GAME_TRIPLE",
                                                 "MUSIC_GAME_RIVER",   "MUSIC_GAME_RIVER"};

// The building's music is silent this long after the screen opens.
constexpr int kMusicFadeOutMs = 800;

constexpr std::uint32_t kMessageFocusGained = 7;
constexpr std::uint32_t kMessageFocusLost = 8;
constexpr std::uint32_t kMessageDeactivated = 0xAF00FA01U;
constexpr std::uint32_t kMessageActivated = 0xAF00FA02U;

template <class T>
T* findAs(const SceneGame& scene, std::string_view name) {
    return kindCast<T>(scene.findComponent(name));
}

// Binds the button `name` of `scene` to a member through a plain callback.
// The scene's own components are not listeners by themselves: the binding
// joins the button to the scene's input as well.
template <void (SceneGame::*Member)()>
Button* bindButton(SceneGame& scene, std::string_view name) {
    auto* button = findAs<Button>(scene, name);
    if (button != nullptr) {
        static_cast<void>(scene.bindComponent(
            name,
            [](void* context, void* /*argument*/) {
                (static_cast<SceneGame*>(context)->*Member)();
                return 0;
            },
            &scene));
    }
    return button;
}

void setShown(GameNode* node, bool shown) {
    if (node != nullptr) {
        node->setVisible(shown);
    }
}

// Marks every child of `layer` for removal (the purge lets go of them).
void removeChildren(GameNode* layer) {
    for (GameNode* child = layer->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        child->setRemovalMark(true);
    }
}

RefPtr<GameNode> makeLayer(GameNode* root) {
    RefPtr<GameNode> layer(new GameNode());
    if (root != nullptr) {
        GameTree::appendChild(layer.get(), root);
    }
    return layer;
}

// The game dialogs' way to the playing screen.
class SceneGameHook : public PlayingScreenHook {
public:
    explicit SceneGameHook(SceneGame& scene) : scene_(scene) {}
    Scene* getScene() override { return &scene_; }
    void dialogOpened(Dialog* dialog) override { scene_.dialogOpened(dialog); }
    void dialogClosed(Dialog* dialog) override { scene_.dialogClosed(dialog); }
    void showBoard() override { scene_.showBoard(); }
    void startLevel() override {
        static_cast<void>(StateLevelOver::onLevelEndClosed(nullptr, nullptr));
    }
    void stopLevel() override { scene_.stopGame(); }
    bool isRoomInfoState() override {
        return scene_.getState() != nullptr &&
               scene_.getState()->isKindOf(StateRoomInfo::classRecord);
    }
    GameNode* getEffectLayer() override { return scene_.getEffectLayer(); }
    void showStarBurst(Sprite* target) override {
        if (target != nullptr) {
            scene_.showStarBurst(target->getAbsoluteX() + target->getWidth() / 2,
                                 target->getAbsoluteY() + target->getHeight() / 2);
        }
    }

private:
    SceneGame& scene_;
};

} // namespace

void setBoardDisplayFactory(BoardDisplayFactory factory) {
    displayFactory = factory;
}

BoardDisplayFactory getBoardDisplayFactory() {
    return displayFactory;
}

SceneGame::SceneGame(PropertyNode* definition)
    : Scene(definition), dialogHook_(std::make_unique<SceneGameHook>(*this)),
      hintHook_(std::make_unique<SceneGameHintHook>(*this)) {
    instance = this;
    setPlayingScreen(this);
    setPlayingScreenHook(dialogHook_.get());
    setHintScreenHook(hintHook_.get());
    Game::setView(this);
}

SceneGame::~SceneGame() {
    save();
    if (currentState_ != nullptr) {
        RefPtr<GameSceneState> state = std::move(currentState_);
        state->leave();
    }
    // The bars are let go once, here or by the teardown before: both hold
    // them in counted references that the teardown clears.
    timeBar_ = nullptr;
    bonusBar_ = nullptr;
    Game::destroyCurrent();
    if (instance == this) {
        instance = nullptr;
        setPlayingScreen(nullptr);
        Game::setView(nullptr);
    }
    if (getPlayingScreenHook() == dialogHook_.get()) {
        setPlayingScreenHook(nullptr);
    }
    if (getHintScreenHook() == hintHook_.get()) {
        setHintScreenHook(nullptr);
    }
}

BaseObject* SceneGame::createFromDefinition(PropertyNode* definition) {
    return new SceneGame(definition);
}

SceneGame* SceneGame::getInstance() {
    return instance;
}

Game* SceneGame::game() {
    return Game::getCurrent();
}

// ---- scene slots -------------------------------------------------------------------

void SceneGame::setBackground() {
    Scene::setBackground();
    findWidgets();
    chooseLabelSet(placeOf(game()));
    for (std::string_view name : kModeNames) {
        setShown(findComponent(name), false);
    }
    GameNode* root = getComponentRoot();
    pathLayer_ = makeLayer(root);
    levelEndLayer_ = makeLayer(root);
    teardownLayer_ = makeLayer(root);
    // The effects (a dialog's rocking header, star bursts, score floaters)
    // play over the dialogs as well: the layer lives beside them and goes
    // back on top whenever a dialog opens.
    effectsLayer_ = makeLayer(getDialogLayer());
    Sound* sound = nullptr;
    if (ResourceManager* resources = ResourceManager::getInstance(); resources != nullptr) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        sound = kindCast<Sound>(resources->getLoadedObject("SOUND_TIME", "game"));
    }
    timeSound_ = new SoundNode(sound);
}

void SceneGame::findWidgets() {
    pauseButton_ = bindButton<&SceneGame::onPauseButton>(*this, "BUTTON_PAUSE");
    menuButton_ = bindButton<&SceneGame::onMenuButton>(*this, "BUTTON_MENU");
    shuffleButton_ = findAs<Button>(*this, "BUTTON_SHUFFLE");
    undoButton_ = findAs<Button>(*this, "BUTTON_UNDO");
    hintsLabel_ = findAs<Label>(*this, "LABEL_HINTS");
    shufflesLabel_ = findAs<Label>(*this, "LABEL_SHUFFLES");
    scoreTicker_ = findAs<LabelTicker>(*this, "SCORE_TICKER");
    levelLabel_ = findAs<Label>(*this, "LABEL_LEVEL");
    timeLabel_ = findAs<Label>(*this, "LABEL_TIME");
    layoutPanel_ = findAs<Sprite>(*this, "PANEL_LAYOUT");
    bindHintButtons();
}

void SceneGame::chooseLabelSet(int place) {
    const bool rec =
        place == static_cast<int>(Place::Hallway) || place == static_cast<int>(Place::RecRoom);
    const char* suffix = rec ? "_REC" : "";
    matchesLabel_ = findAs<Label>(*this, std::string("LABEL_MATCHES") + suffix);
    progressLabel_ = findAs<Label>(*this, std::string("LABEL_PROGRESS") + suffix);
    for (const char* base :
         {"LABEL_MATCHES", "LABEL_MATCHES_TEXT", "LABEL_PROGRESS", "LABEL_PROGRESS_TEXT"}) {
        setShown(findComponent(base), !rec);
        setShown(findComponent(std::string(base) + "_REC"), rec);
    }
}

void SceneGame::open() {
    Scene::open();
    pauseRequested_ = false;
    menuRequested_ = false;
    // The building's music fades away while the level is set up; the
    // level's own music starts with the build-up.
    if (SoundManager* sounds = SoundManager::getInstance(); sounds != nullptr) {
        sounds->fadeOutMusic(kMusicFadeOutMs);
    }
    setupLevelHud(false);
    setState(new StateRoomInfo());
    // A resumed saved game is consumed: its bars are on the screen now.
    if (OrvantaPlayer* player = currentProfile()) {
        player->releaseSavedGame();
    }
}

void SceneGame::close() {
    save();
    tearDownLevel();
    Scene::close();
}

void SceneGame::onQuitRequest() {
    // The quit question pauses the board while it is open; without one the
    // screen pauses, so that no time is lost either way.
    if (!askQuitQuestion()) {
        requestPause(false);
    }
}

// ---- the level's HUD -------------------------------------------------------------------

void SceneGame::setupLevelHud(bool restart) {
    Game* current = game();
    earnedTrophies_.clear();
    trophyQueue_.clear();
    hoveredTile_ = nullptr;
    pauseState_ = 0;
    levelPhase_ = 0;
    pathTimer_ = 0;
    superHintTime_ = 0;
    if (current == nullptr) {
        return;
    }
    if (!restart) {
        current->getCounters().stuckRestarts = 0;
    }
    ScreenPlayer& player = getScreenPlayer();
    if (player.getShuffleTokens().getValue() < MIN_NUM_SHUFFLES) {
        player.getShuffleTokens().reset(MIN_NUM_SHUFFLES);
    }
    if (player.getHintTokens().getValue() < MIN_NUM_HINTS) {
        player.getHintTokens().reset(MIN_NUM_HINTS);
    }
    const int type = static_cast<int>(current->getGameType());
    const OrvantaPlayer* profile = currentProfile();
    const BackgroundPicture picture =
        chooseBackground(type, profile != nullptr ? profile->background : 0);
    if (!picture.name.empty()) {
        if (RefPtr<Image> image = widget::findLoadedImage(picture.name, picture.section);
            image != nullptr && image.get() != getBackground()) {
            Scene::setBackground(image.get());
        }
        // The screen holds its background; the section's other large
        // pictures are not kept loaded beside it.
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            resources->unloadSection("manual");
        }
    }
    const int place = placeOf(current);
    const bool hallway = place == static_cast<int>(Place::Hallway);
    auto* normal = findAs<Button>(*this, "BUTTON_HINT_NORMAL");
    auto* unlimited = findAs<Button>(*this, "BUTTON_HINT_UNLIMITED");
    hintButton_ = hallway ? normal : unlimited;
    setShown(normal, hallway);
    setShown(unlimited, !hallway);
    chooseLabelSet(place);

    display_ = displayFactory != nullptr ? displayFactory() : nullptr;
    if (display_ != nullptr && current->getLayout() != nullptr) {
        TileList extra;
        current->undoTiles(extra);
        display_->build(*current->getLayout(), extra);
        if (current->getGameType() == GameType::River) {
            display_->applyLayerColors();
        }
        display_->flush();
        GameNode& node = display_->getNode();
        node.setVisible(true);
        if (layoutPanel_ != nullptr) {
            node.setPosition((layoutPanel_->getWidth() - display_->getWidth()) / 2,
                             (layoutPanel_->getHeight() - display_->getHeight()) / 2);
            GameTree::appendChild(&node, layoutPanel_);
        } else if (getComponentRoot() != nullptr) {
            GameTree::appendChild(&node, getComponentRoot());
        }
        display_->detachTiles();
        if (SideBoard* side = current->getLayout()->getSideBoard(); side != nullptr) {
            side->setVisible(false);
        }
        attachSideBoard();
    }
    setupBars(restart);
    for (std::string_view name : kModeNames) {
        setShown(findComponent(name), false);
    }
    if (type >= 0 && type < 6) {
        setShown(findComponent(kModeNames[static_cast<std::size_t>(type)]), true);
    }
    if (scoreTicker_ != nullptr) {
        scoreTicker_->showNow(current->getScore().getValue());
    }
    applyPlaceVisibility(place);
    refreshCounterLabels();
    if (levelLabel_ != nullptr && current->getLevel() != nullptr) {
        levelLabel_->setText(std::to_wstring(current->getLevel()->getIndex() + 1));
    }
    updateMatchesLabel();
    updateProgressLabel();
    enableHud(false);
    suspendBars(true);
    current->clearHints();
    current->getCounters().lastMatchTime = current->getCounters().realTime;
    current->getCounters().levelMarkTime = current->getCounters().realTime;
    if (getComponentRoot() != nullptr) {
        GameTree::appendChild(current, getComponentRoot());
    }
    playSound("SOUND_LEVEL_START");
}

void SceneGame::setupBars(bool restart) {
    Game* current = game();
    const Level* level = current->getLevel();
    OrvantaPlayer* player = currentProfile();
    // A level that was started cannot be resumed any more.
    if (PlayerManager* players = PlayerManager::get();
        players != nullptr && player != nullptr && level != nullptr) {
        players->deleteSavedGame(player->getName(),
                                 std::to_string(static_cast<int>(level->getPlace())));
    }
    // A resumed level keeps its saved bars and is not counted again.
    if (!restart && player != nullptr && level != nullptr && resumedGameNode() == nullptr) {
        countPlay(*player, *level);
    }
    for (GameNode* old :
         {static_cast<GameNode*>(timeBar_.get()), static_cast<GameNode*>(bonusBar_.get())}) {
        if (old != nullptr) {
            old->setRemovalMark(true);
        }
    }
    makeBarsForLevel(
        level, current->getLayout() != nullptr ? current->getLayout()->getOriginalTileCount() : 0);
    timeBar_->setPosition(709, 93);
    if (GameNode* root = getComponentRoot(); root != nullptr) {
        GameTree::appendChild(timeBar_.get(), root);
        GameTree::appendChild(bonusBar_.get(), root);
    }
}

void SceneGame::applyPlaceVisibility(int place) {
    // Which HUD items each place uses: hallway, casino, recreation room, roof.
    // The recreation room's plaque and clock cover the console, whose
    // channels would stand empty without the bars.
    struct Row {
        std::array<std::string_view, 5> names;
        std::array<bool, 4> shown;
    };
    static constexpr std::array<Row, 4> kRows{{
        {{"LABEL_HINTS", "LABEL_SHUFFLES"}, {true, false, false, false}},
        {{"BUTTON_SHUFFLE", "SCORE_TICKER", "LABEL_SCORE_TEXT"}, {true, true, false, true}},
        {{"BUTTON_UNDO", "LABEL_TIME", "LABEL_TIME_TEXT", "RECROOM_PLAQUE", "RECROOM_CLOCK"},
         {false, false, true, false}},
        {{"LABEL_LEVEL", "LABEL_LEVEL_TEXT"}, {false, true, false, true}},
    }};
    const bool known = place >= 0 && place < 4;
    for (const Row& row : kRows) {
        const bool shown = known && row.shown.at(static_cast<std::size_t>(place));
        for (std::string_view name : row.names) {
            if (!name.empty()) {
                setShown(findComponent(name), shown);
            }
        }
    }
    // The bars are shown everywhere but in the recreation room, which has no
    // time limit.
    const bool bars = place != static_cast<int>(Place::RecRoom);
    setShown(timeBar_.get(), bars);
    setShown(bonusBar_.get(), bars);
    setShown(findComponent("BONUSBAR_CIRCLE"), bars);
}

void SceneGame::enableHud(bool enabled) {
    for (Button* button : {pauseButton_, menuButton_}) {
        if (button != nullptr) {
            button->setEnabled(enabled);
        }
    }
    for (Button* button : {hintButton_, shuffleButton_, undoButton_}) {
        if (button != nullptr) {
            button->setEnabled(enabled && button->isVisible());
        }
    }
}

void SceneGame::suspendBars(bool suspended) {
    if (timeBar_ != nullptr) {
        timeBar_->setSuspended(suspended);
    }
    if (bonusBar_ != nullptr) {
        bonusBar_->setSuspended(suspended);
    }
}

void SceneGame::playGameMusic() {
    const Game* current = game();
    if (current == nullptr) {
        return;
    }
    const int type = static_cast<int>(current->getGameType());
    SoundManager* sounds = SoundManager::getInstance();
    ResourceManager* resources = ResourceManager::getInstance();
    if (type < 0 || type >= 6 || sounds == nullptr || resources == nullptr) {
        return;
    }
    SoundStream* stream = nullptr;
    {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        stream = kindCast<SoundStream>(
            resources->getLoadedObject(kMusic[static_cast<std::size_t>(type)], "music"));
    }
    if (stream != nullptr) {
        sounds->playMusic(1000, 1.0F, 100, stream, 600, true);
    }
}

// ---- states ----------------------------------------------------------------------------

void SceneGame::setState(GameSceneState* state) {
    RefPtr<GameSceneState> keep(state);
    if (currentState_ != nullptr) {
        RefPtr<GameSceneState> old = std::move(currentState_);
        old->leave();
    }
    if (state != nullptr) {
        currentState_ = state;
        state->enter();
    }
}

bool SceneGame::isGameHeld() const {
    return DialogHint::isGameHeld();
}

bool SceneGame::isLevelOver() const {
    return currentState_ != nullptr && currentState_->isKindOf(StateLevelOver::classRecord);
}

// ---- per frame ---------------------------------------------------------------------------

void SceneGame::updateSelf(int elapsedMs) {
    if (currentState_ != nullptr) {
        RefPtr<GameSceneState> running = currentState_;
        running->update(elapsedMs);
    } else {
        const bool request =
            menuRequested_ || pauseRequested_ || focusPauseRequest_ || deactivatePauseRequest_;
        if (request && !isDialogOpen("DIALOG_PAUSE")) {
            if (pauseState_ != 2 && pauseState_ != 3) {
                if (display_ != nullptr) {
                    display_->setLayersVisible(false);
                    display_->invalidate();
                }
                pauseState_ = 2;
            }
            if (timeBar_ != nullptr) {
                timeBar_->stopWarningSound();
            }
            Dialog* dialog = getDialog(menuRequested_ ? "DIALOG_MENU" : "DIALOG_PAUSE");
            pauseRequested_ = false;
            menuRequested_ = false;
            focusPauseRequest_ = false;
            enableHud(true);
            if (dialog != nullptr) {
                showDialog(dialog);
                dialogOpened(dialog);
            } else {
                showBoard();
            }
        }
        // The board's tutorial hints are looked at every 22nd frame.
        if (!DialogHint::isHintOpen() && hintFrames_++ > 20 && pauseState_ == 0 &&
            game() != nullptr) {
            hintFrames_ = 0;
            DialogHint::tryBoardHints();
        }
        // The clocks stand still exactly while a game dialog is open.
        if (openDialogs_.empty()) {
            tickGame(elapsedMs);
        }
    }
    deactivatePauseRequest_ = false;
}

void SceneGame::tickGame(int elapsedMs) {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    const int dt = std::max(elapsedMs, 0);
    GameCounters& counters = current->getCounters();
    counters.realTime += dt;
    counters.dataGatherLevelTime += dt;
    counters.timeSinceLastRestart += dt;
    tickHints(dt);
    if (placeOf(current) == static_cast<int>(Place::RecRoom)) {
        counters.clockTime += dt;
        if (timeLabel_ != nullptr) {
            timeLabel_->setText(
                formatTime(static_cast<std::uint32_t>(counters.clockTime), true, false));
        }
        return;
    }
    if (timeLabel_ != nullptr && timeBar_ != nullptr) {
        timeLabel_->setText(formatTime(
            static_cast<std::uint32_t>(std::max(timeBar_->getTime().getValue(), 0)), true, false));
    }
    if (timeBar_ != nullptr && timeBar_->getTime().getValue() <= 0) {
        onTimeUp();
    }
}

void SceneGame::onTimeUp() {
    endLevel(0, new StateGameOver());
}

void SceneGame::onLevelWon() {
    endLevel(2, new StateGameWon());
}

void SceneGame::endLevel(int phase, GameSceneState* next) {
    Game* current = game();
    if (scoreTicker_ != nullptr && current != nullptr) {
        scoreTicker_->showNow(current->getScore().getValue());
    }
    clearSelection();
    if (levelEndLayer_ != nullptr) {
        removeChildren(levelEndLayer_.get());
    }
    if (bonusBar_ != nullptr) {
        bonusBar_->finishEffects();
    }
    if (timeBar_ != nullptr) {
        timeBar_->stopWarningSound();
    }
    levelPhase_ = phase;
    setState(next);
}

void SceneGame::startLevel(bool keepHud) {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    const int place = placeOf(current);
    if (current->getCounters().hasWon &&
        (place == static_cast<int>(Place::Casino) || place == static_cast<int>(Place::Roof))) {
        if (!keepHud) {
            tearDownLevel();
        }
        current = place == static_cast<int>(Place::Roof) && current->getLevel()->isMixed()
                      ? nextMixedGame(*current)
                      : nextLevelOfRun(*current);
        if (current == nullptr) {
            // The run cannot go on and the game returns to the building:
            // there is nothing to resume.
            levelPhase_ = 0;
            return;
        }
        // The undo steps of the board left behind name tiles of another
        // board: a saved game holding them could not be resumed.
        current->clearUndoList();
        if (!keepHud) {
            setupLevelHud(false);
        }
        levelPhase_ = 1;
        return;
    }
    // A level that is over and left for the building has nothing to resume:
    // saving it would offer a lost level without time, or a cleared board.
    if (!keepHud) {
        current->returnToBuilding();
        levelPhase_ = 0;
        return;
    }
    levelPhase_ = 1;
}

Game* SceneGame::nextLevelOfRun(Game& current) {
    RefPtr<Level> level(current.getLevel());
    level->advance();
    level->loadLayout();
    if (!current.setLevel(level.get())) {
        current.returnToBuilding();
        return nullptr;
    }
    return &current;
}

Game* SceneGame::nextMixedGame(Game& current) {
    const int score = current.getScore().getValue();
    RefPtr<Level> level = nextMixedLevel(*current.getLevel(), current.getGameType());
    Game* next = level != nullptr ? Game::create(level->getGameType()) : nullptr;
    if (next == nullptr) {
        current.returnToBuilding();
        return nullptr;
    }
    if (!next->setLevel(level.get())) {
        next->returnToBuilding();
        return nullptr;
    }
    next->getScore().reset(score);
    return next;
}

void SceneGame::restartLevel() {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    ++current->getCounters().stuckRestarts;
    clearSelection();
    tearDownLevel();
    current->restart();
    setupLevelHud(true);
    setState(new StateBuildLevel());
}

namespace {

SceneGame::ElevatorStopHook& elevatorStopHook() {
    static SceneGame::ElevatorStopHook hook = nullptr;
    return hook;
}

} // namespace

void SceneGame::setElevatorStopHook(ElevatorStopHook hook) {
    elevatorStopHook() = hook;
}

void SceneGame::stopGame() {
    Game* current = game();
    if (current == nullptr) {
        return;
    }
    if (const RefPtr<PropertyNode> session = current->openLevelSession()) {
        static_cast<void>(session->addNamedBool("gameStopped", true, false));
    }
    if (OrvantaPlayer* player = currentProfile()) {
        player->markTrophiesSeen();
    }
    // Saved before the teardown clears the counters and the bars.
    save();
    tearDownLevel();
    const Level* level = current->getLevel();
    const Place place = level != nullptr ? level->getPlace() : Place::Hallway;
    if (place == Place::Hallway || place == Place::None) {
        current->returnToBuilding();
        return;
    }
    if (elevatorStopHook() != nullptr) {
        elevatorStopHook()(20 + static_cast<int>(place));
    }
    SceneManager* scenes = SceneManager::getInstance();
    if (scenes == nullptr) {
        return;
    }
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->requestSection("elevator");
    }
    if (Scene* elevator = scenes->getScene("SCENE_ELEVATOR")) {
        scenes->setNextScene(elevator);
    }
}

void SceneGame::attachSideBoard() {
    const Game* current = game();
    SideBoard* side = current != nullptr && current->getLayout() != nullptr
                          ? current->getLayout()->getSideBoard()
                          : nullptr;
    // The rack hangs beside the board, under the dialogs that open over it.
    GameNode* parent =
        layoutPanel_ != nullptr ? static_cast<GameNode*>(layoutPanel_) : getComponentRoot();
    if (side != nullptr && side->getParent() == nullptr && parent != nullptr) {
        GameTree::appendChild(side, parent);
    }
}

void SceneGame::tearDownLevel() {
    pauseState_ = 3;
    trophyQueue_.clear();
    Game* current = game();
    if (current != nullptr) {
        GameCounters& counters = current->getCounters();
        counters.pressedShuffle = false;
        counters.pressedUndo = false;
        counters.hasWon = false;
        counters.bonusesClaimed = 0;
        counters.hintCount = 0;
        counters.shuffleCount = 0;
        counters.removedTilesCount = 0;
        counters.timeSinceLastRestart = 0;
        counters.lastMatchTime = counters.realTime;
        counters.levelMarkTime = counters.realTime;
        counters.freeCellShuffles = 0;
    }
    for (const char* name : {"DIALOG_LEVEL_END", "CTEXT_MENU_STOP", "DIALOG_MENU",
                             "TEXT_MENU_STOP_QUENBY", "DIALOG_BRASTOW_HINT", "DIALOG_PAUSE",
                             "DIALOG_HINT", "DIALOG_LEVEL_START", "DIALOG_TROPHY_INFO"}) {
        if (isDialogOpen(name)) {
            closeDialog(findDialog(name));
        }
    }
    openDialogs_.clear();
    clearSelection();
    resetHints();
    if (teardownLayer_ != nullptr) {
        removeChildren(teardownLayer_.get());
    }
    // The bars are released here once; the destructor finds the references
    // empty.
    if (timeBar_ != nullptr) {
        timeBar_->stopWarningSound();
        timeBar_->setRemovalMark(true);
        timeBar_ = nullptr;
    }
    if (bonusBar_ != nullptr) {
        bonusBar_->setRemovalMark(true);
        bonusBar_ = nullptr;
    }
    if (current != nullptr && current->getLayout() != nullptr &&
        current->getLayout()->getSideBoard() != nullptr) {
        current->getLayout()->getSideBoard()->setRemovalMark(true);
    }
    if (timeLabel_ != nullptr) {
        timeLabel_->removeAllModifiers();
        timeLabel_->setText(formatTime(0, true, false));
    }
    if (display_ != nullptr) {
        display_->getNode().setRemovalMark(true);
        display_ = nullptr;
    }
    if (effectsLayer_ != nullptr) {
        removeChildren(effectsLayer_.get());
    }
}

// ---- pause and dialogs ---------------------------------------------------------------------

void SceneGame::requestPause(bool menu) {
    (menu ? menuRequested_ : pauseRequested_) = true;
    for (Button* button : {pauseButton_, menuButton_}) {
        if (button != nullptr) {
            button->setEnabled(true);
        }
    }
}

void SceneGame::onMessage(std::uint32_t code) {
    switch (code) {
    case kMessageFocusLost:
        focusPauseRequest_ = true;
        break;
    case kMessageFocusGained:
    case kMessageActivated:
        focusPauseRequest_ = false;
        break;
    case kMessageDeactivated:
        deactivatePauseRequest_ = true;
        break;
    default:
        break;
    }
}

void SceneGame::dialogOpened(Dialog* dialog) {
    if (std::find(openDialogs_.begin(), openDialogs_.end(), dialog) == openDialogs_.end()) {
        openDialogs_.push_back(dialog);
    }
    if (effectsLayer_ != nullptr && effectsLayer_->getParent() == getDialogLayer()) {
        GameTree::appendChild(effectsLayer_.get(), getDialogLayer());
    }
    boardPaused();
}

void SceneGame::dialogClosed(Dialog* dialog) {
    const auto end = std::remove(openDialogs_.begin(), openDialogs_.end(), dialog);
    const bool removed = end != openDialogs_.end();
    openDialogs_.erase(end, openDialogs_.end());
    if (removed && openDialogs_.empty() && pauseState_ != 3) {
        showBoard();
    }
}

void SceneGame::boardPaused() {
    holdTrophies(true);
    if (pauseState_ == 2 || pauseState_ == 3) {
        return;
    }
    enableHud(false);
    suspendBars(true);
    pauseState_ = 1;
}

void SceneGame::showBoard() {
    if (pauseState_ == 3) {
        return;
    }
    if (pauseState_ == 2 && display_ != nullptr) {
        display_->setLayersVisible(true);
        display_->invalidate();
    }
    pauseState_ = 0;
    holdTrophies(false);
    const bool playing =
        currentState_ == nullptr || currentState_->isKindOf(StatePlaying::classRecord);
    if (game() != nullptr && playing) {
        enableHud(true);
        suspendBars(placeOf(game()) == static_cast<int>(Place::RecRoom));
    }
}

// ---- input -----------------------------------------------------------------------------------

bool SceneGame::onMouseMove(int x, int y, int /*flags*/) {
    if (currentState_ != nullptr) {
        return false;
    }
    updateHover(x, y);
    return true;
}

bool SceneGame::onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) {
    Game* current = game();
    if (currentState_ != nullptr || current == nullptr || pauseState_ != 0) {
        return false;
    }
    lastClickX_ = x;
    lastClickY_ = y;
    RefPtr<Game> keep(current);
    current->click(x, y);
    hintHook_->noteClick(*current);
    // A tutorial hint that explains the click takes it: the move is not made.
    const bool noHintOpen = !DialogHint::isHintOpen();
    if (noHintOpen && DialogHint::tryPlayHints()) {
        return false;
    }
    current->runPendingAction();
    if (noHintOpen) {
        DialogHint::tryPlayHint();
    }
    return false;
}

bool SceneGame::onRightButtonDown(int /*x*/, int /*y*/, int /*flags*/, bool /*doubleClick*/) {
    Game* current = game();
    if (currentState_ != nullptr || current == nullptr) {
        return false;
    }
    if (!current->getSelection().empty()) {
        playSound("SOUND_TILE_DESELECT");
    }
    current->clearSelection();
    clearConnectionPath();
    return true;
}

void SceneGame::updateHover(int x, int y) {
    Game* current = game();
    if (current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    Tile* tile = tileAt(*current->getLayout(), x, y);
    if (tile == hoveredTile_) {
        return;
    }
    if (hoveredTile_ != nullptr && !current->isSelected(hoveredTile_)) {
        showRestingLook(*hoveredTile_, isSuperHintRunning() && current->isHinted(hoveredTile_),
                        false);
    }
    if (tile != nullptr && current->getLayout()->isTileFree(*tile)) {
        hoveredTile_ = tile;
        const bool split =
            current->getGameType() == GameType::Split || current->getGameType() == GameType::Speed;
        if (!current->isSelected(tile) && display_ != nullptr && !(tile->isSideboard() && split)) {
            display_->startTileHover(*tile);
        }
    } else {
        hoveredTile_ = nullptr;
    }
    if (current->getHintTiles().empty() || isSuperHintRunning()) {
        clearConnectionPath();
    }
}

void SceneGame::clearHover() {
    Game* current = game();
    if (hoveredTile_ != nullptr && current != nullptr && !current->isSelected(hoveredTile_)) {
        showRestingLook(*hoveredTile_, false, false);
    }
    hoveredTile_ = nullptr;
}

void SceneGame::clearSelection() {
    if (Game* current = game(); current != nullptr) {
        current->clearSelection();
        clearHover();
        current->clearHints();
    }
    hoveredTile_ = nullptr;
    clearConnectionPath();
}

// ---- GameView ----------------------------------------------------------------------------------

Tile* SceneGame::tileAt(const Layout& layout, int x, int y) {
    return display_ != nullptr ? display_->tileAt(layout, x, y) : nullptr;
}

void SceneGame::playSound(std::string_view name) {
    if (soundLog_.size() >= 64) {
        soundLog_.erase(soundLog_.begin());
    }
    soundLog_.emplace_back(name);
    widget::playSound("SceneGame", std::string(name), "game");
}

void SceneGame::markTileSelected(Tile& tile) {
    if (display_ == nullptr) {
        return;
    }
    const Game* current = game();
    const bool split = current != nullptr && (current->getGameType() == GameType::Split ||
                                              current->getGameType() == GameType::Speed);
    if (split) {
        display_->startTilePulse(tile);
    } else {
        display_->startTileSelect(tile);
    }
}

void SceneGame::pulseTile(Tile& tile) {
    const Game* current = game();
    const Level* level = current != nullptr ? current->getLevel() : nullptr;
    if (display_ != nullptr &&
        (level == nullptr || level->getTuningInt(Tuning::DarkenTiles) == 0)) {
        display_->startTilePulse(tile);
    }
}

void SceneGame::showRestingLook(Tile& tile, bool hinted, bool /*replace*/) {
    if (display_ == nullptr) {
        return;
    }
    if (hinted && isSuperHintRunning()) {
        display_->startTileHint(tile);
    } else if (hinted) {
        display_->startTileHintPulse(tile);
    } else {
        display_->refreshTile(tile);
    }
}

void SceneGame::addBonusPoints(int points) {
    if (bonusBar_ != nullptr) {
        bonusBar_->addPoints(points);
    }
}

int SceneGame::getScoreMultiplier() {
    return bonusBar_ != nullptr ? bonusBar_->getMultiplier() : 1;
}

void SceneGame::addTime(int milliseconds) {
    if (timeBar_ != nullptr) {
        timeBar_->getTime().addAndCommit(milliseconds);
    }
}

void SceneGame::countScoreLabel(int shownScore) {
    if (scoreTicker_ != nullptr) {
        scoreTicker_->countTo(shownScore);
    }
}

void SceneGame::tileRemoved(Tile& tile, int multiplier) {
    if (&tile == hoveredTile_) {
        hoveredTile_ = nullptr;
    }
    if (display_ != nullptr) {
        display_->startTileFade(tile, multiplier);
    }
    spawnTileRemovalEffect(tile, multiplier);
}

void SceneGame::tileReturned(Tile& tile) {
    if (display_ != nullptr) {
        display_->placeTile(tile);
        display_->refreshTile(tile);
    }
}

void SceneGame::tileMovedToSlot(Tile& tile, const TilePos& from, bool fromSlot) {
    if (display_ != nullptr) {
        display_->refreshTile(tile);
    }
    startTileFlight(tile, from, fromSlot);
}

void SceneGame::invalidateBoard() {
    if (display_ != nullptr) {
        display_->invalidate();
    }
}

void SceneGame::updateFreeTileMarks() {
    Game* current = game();
    if (current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    const Layout& layout = *current->getLayout();
    const Level* level = current->getLevel();
    const bool darken = level != nullptr && level->getTuningInt(Tuning::DarkenTiles) > 0 &&
                        current->getGameType() != GameType::River;
    layout.forEachTile([&](Tile& tile) {
        if (tile.isSideboard()) {
            return;
        }
        const bool free = layout.isTileFree(tile);
        if (display_ != nullptr && free && !tile.getFreeMark()) {
            if (darken) {
                display_->refreshTile(tile);
                display_->startTileLighten(tile);
            } else {
                display_->startTilePlain(tile);
            }
        } else if (display_ != nullptr && darken && !free && tile.getFreeMark()) {
            display_->startTileSwell(tile);
        }
        tile.setFreeMark(free);
    });
    // Darkening leaves the twins and free cells bright: they are always free.
    const SideBoard* side = layout.getSideBoard();
    if (darken && side != nullptr && display_ != nullptr) {
        TileList rack;
        side->getTiles(rack);
        for (const RefPtr<Tile>& tile : rack) {
            display_->startTilePlain(*tile);
        }
    }
}

void SceneGame::updateMatchesLabel() {
    Game* current = game();
    if (current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    const int available = current->availableMatches();
    if (matchesLabel_ != nullptr) {
        matchesLabel_->setText(matchesCountText(available));
    }
    // The word over the count follows it: "No matches", "Match", "Matches"
    // (triples in Triple).
    const std::wstring word =
        getText(matchesTextId(static_cast<int>(current->getGameType()), available));
    for (const char* name : {"LABEL_MATCHES_TEXT", "LABEL_MATCHES_TEXT_REC"}) {
        if (auto* label = findAs<Label>(*this, name); label != nullptr) {
            label->setText(word);
        }
    }
    runStuckTest(available);
}

void SceneGame::updateProgressLabel() {
    const Game* current = game();
    if (progressLabel_ == nullptr || current == nullptr || current->getLayout() == nullptr) {
        return;
    }
    const int original = current->getLayout()->getOriginalTileCount();
    const int left = current->getLayout()->getTileCount();
    // A layout without tiles (broken data) shows no share instead of
    // dividing by zero.
    const int percent = original > 0 ? std::clamp((original - left) * 100 / original, 0, 100) : 0;
    progressLabel_->setText(std::to_wstring(percent) + L"%");
}

bool SceneGame::isShown() {
    SceneManager* scenes = SceneManager::getInstance();
    return scenes != nullptr && scenes->getCurrentScene() == this;
}

// ---- PlayingScreen ------------------------------------------------------------------------------

Sprite* SceneGame::getHintButton() const {
    return hintButton_;
}

void SceneGame::refreshCounterLabels() {
    ScreenPlayer& player = getScreenPlayer();
    if (hintsLabel_ != nullptr) {
        hintsLabel_->setText(std::to_wstring(player.getHintTokens().getShown()));
    }
    if (shufflesLabel_ != nullptr) {
        shufflesLabel_->setText(std::to_wstring(player.getShuffleTokens().getShown()));
    }
}

} // namespace orv
