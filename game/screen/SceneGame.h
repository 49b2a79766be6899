#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/SoundNode.h"
#include "engine/scene/Scene.h"
#include "game/board/GameView.h"
#include "game/board/PathGrid.h"
#include "game/screen/BoardDisplay.h"
#include "game/screen/PlayingScreen.h"
#include "game/screen/TrophyQueue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class BonusBar;
class Button;
class Dialog;
class Game;
class GameSceneState;
class Label;
class Level;
class LabelTicker;
class PlayingScreenHook;
class SceneGameHintHook;
class PropertyNode;
class TimeBar;
enum class GameType : int;

/// The playing screen: the scene on which one level is played, from the room
/// information through the build-up of the board, the play itself, to the
/// level-lost or level-won countdown and the level-end dialog. It owns the
/// head-up display (buttons, labels, the score ticker), the drawn board (a
/// `BoardDisplay`), the time bar and the bonus bar, four drawing layers and
/// the state machine of `GameSceneState`s; while no state is set the level
/// is played: input reaches the board and the level clocks run.
///
/// It is the rules' view (`GameView`) and the bars' `PlayingScreen`. One
/// instance, built by the scene manager from "SCENE_GAME":
///
///     Game* game = Game::create(GameType::Classic);   // the building does this
///     game->setLevel(level);
///     scenes->setNextScene(scenes->getScene("SCENE_GAME"));
///
/// Times are milliseconds of frame time; points are screen pixels.
class SceneGame : public Scene, public GameView, public PlayingScreen {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit SceneGame(PropertyNode* definition);
    SceneGame(const SceneGame&) = delete;
    SceneGame& operator=(const SceneGame&) = delete;
    ~SceneGame() override;

    /// The object factory's create function for "SceneGame".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);
    /// The screen, or null before it is built. Borrowed.
    [[nodiscard]] static SceneGame* getInstance();

    // ---- scene slots ------------------------------------------------------------
    /// The first open: the background, the widgets, the layers, the sound.
    void setBackground() override;
    /// Entering: the level's head-up display, then the room information.
    void open() override;
    /// Leaving: the level is torn down.
    void close() override;
    void updateSelf(int elapsedMs) override;
    void onQuitRequest() override;

    // ---- input ------------------------------------------------------------------
    bool onMouseMove(int x, int y, int flags) override;
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    bool onRightButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// The window's messages: focus lost (8), focus gained (7), deactivated
    /// or minimised (0xAF00FA01), activated or restored (0xAF00FA02).
    void onMessage(std::uint32_t code);

    // ---- states -----------------------------------------------------------------
    /// Leaves the current state (if any) and enters `state` (null: play).
    void setState(GameSceneState* state);
    [[nodiscard]] GameSceneState* getState() const { return currentState_.get(); }
    [[nodiscard]] bool isLevelOver() const override;

    // ---- the level ----------------------------------------------------------------
    /// (Re)builds the level's head-up display; `restart` on a restart.
    void setupLevelHud(bool restart);
    void tickGame(int elapsedMs);
    void onTimeUp();
    /// After the level-end dialog: the next level of a run, or the building.
    void startLevel(bool keepHud);
    /// The menu's Stop: the level's usage record notes "gameStopped", every
    /// earned trophy is marked seen and the level is saved for a later
    /// resume; a hallway level returns to its floor, a level of a place to
    /// the elevator standing at that place (stop 20 + place).
    void stopGame();
    /// Sets the elevator's stop for a level stopped outside the hallway
    /// (installed by the building; null: nothing to set).
    using ElevatorStopHook = void (*)(int stop);
    static void setElevatorStopHook(ElevatorStopHook hook);
    void restartLevel();
    void tearDownLevel();
    /// Hangs the current board's side board (if any, and not hung yet)
    /// beside the board, in the board's panel.
    void attachSideBoard();
    void playGameMusic();
    void onPauseButton() { requestPause(false); }
    void onMenuButton() { requestPause(true); }
    /// A game dialog opened over the board / closed.
    void dialogOpened(Dialog* dialog);
    void dialogClosed(Dialog* dialog);
    void boardPaused();
    void showBoard();
    /// Shows the HUD items place `place` (0-3) uses and hides the others; an
    /// unknown place keeps only the bars.
    void applyPlaceVisibility(int place);
    /// The five buttons of the HUD, enabled or not (hidden ones stay off).
    void enableHud(bool enabled);
    /// Both bars suspended (or running).
    void suspendBars(bool suspended);

    // ---- GameView ---------------------------------------------------------------
    Tile* tileAt(const Layout& layout, int x, int y) override;
    void playSound(std::string_view name) override;
    void markTileSelected(Tile& tile) override;
    void pulseTile(Tile& tile) override;
    void showRestingLook(Tile& tile, bool hinted, bool replace) override;
    void refreshTileSprites() override;
    bool isSuperHintRunning() override { return superHintTime_ > 0; }
    void clearConnectionPath() override;
    void clearHoveredTile() override { hoveredTile_ = nullptr; }
    void addBonusPoints(int points) override;
    int getScoreMultiplier() override;
    void addTime(int milliseconds) override;
    void countScoreLabel(int shownScore) override;
    void showSuperScore(int points, int score) override;
    void showScoreFloater(int points, int factor, Tile& lastTile) override;
    void tileRemoved(Tile& tile, int multiplier) override;
    void tileReturned(Tile& tile) override;
    void tileMovedToSlot(Tile& tile, const TilePos& from, bool fromSlot) override;
    void invalidateBoard() override;
    void updateFreeTileMarks() override;
    void updateMatchesLabel() override;
    void updateProgressLabel() override;
    void onTrophyEarned(int number) override;
    void onLevelWon() override;
    bool isShown() override;

    // ---- PlayingScreen ----------------------------------------------------------
    int getPauseState() const override { return pauseState_; }
    /// True while an open tutorial hint holds the game.
    bool isGameHeld() const override;
    GameNode* getComponentRoot() const override { return Panel::getComponentRoot(); }
    GameNode* findComponent(std::string_view name) const override {
        return Panel::findComponent(name);
    }
    SoundNode* getTimeSound() const override { return timeSound_.get(); }
    TimeBar* getTimeBar() const override { return timeBar_.get(); }
    Sprite* getHintButton() const override;
    bool isSuperHintRunning() const override { return superHintTime_ > 0; }
    void startSuperHint(Sprite* icon) override;
    void refreshCounterLabels() override;
    void showStarBurst(int x, int y) override;

    // ---- hints, super hint, connection path, shuffle, stuck board, undo -------
    // (SceneGame_hints.cpp)

    /// The hint button: one matching set of free tiles is marked, paid with
    /// a hint token (hallway), clock time (recreation room) or level time
    /// (casino, roof). Nothing, and nothing paid, while paused, while a hint
    /// is shown, without the price, or when no set is free.
    void hint();
    /// Marks the first tiles-per-match tiles of `tiles` as a hint (hint
    /// list, selection, pulsing look); in River draws the path between the
    /// first two. Tiles are borrowed for the call.
    void showHintPair(const TileList& tiles);
    /// The pulsing hint look of one tile (board or side board); null: nothing.
    void markHintTile(Tile* tile);
    /// Draws the connecting path between `a` and `b` into the path layer
    /// (red when they do not match); nothing for tiles of different layers,
    /// the same tile, or when no path joins them. The old drawing goes first.
    void drawConnectionPath(Tile* a, Tile* b);
    /// The super hint's countdown picture is revealed from the left as its
    /// time runs out.
    void updateSuperHintOverlay();
    /// Ends the super hint's overlay: slides it out to the right (`slide`)
    /// or removes it at once.
    void dismissSuperHintOverlay(bool slide);
    /// The shuffle button: closes the stuck dialog, stops the glow and
    /// re-deals the board at its price (a shuffle token in the hallway, the
    /// game type's level time elsewhere).
    void shuffle();
    /// The common part of a shuffle: the selection, hints, path and undo
    /// list are dropped and the shuffle state starts. With `useToken` a
    /// shuffle token is taken and the shuffle counted. False when the board
    /// may not be shuffled now (paused, no game, an empty layout).
    bool startShuffle(bool useToken);
    /// The undo button: takes the last match back while the board is shown.
    void undoMove();
    /// The stuck board's way out by place: a restart-or-shuffle question in
    /// the hallway, restart-or-undo in the recreation room, the glowing
    /// shuffle button elsewhere. `allowSecond` false disables the question's
    /// second button.
    void showStuckDialog(bool allowSecond);
    /// The stuck question's answers (context: the screen, argument: the
    /// dialog): the choice is recorded, the dialog closes and the action
    /// runs after it has closed.
    /// The matches label after a shuffle: a deal without any match offers
    /// the stuck board's way out with its second choice disabled.
    void updateMatchesAfterShuffle();
    static int stuckRestart(void* scene, void* dialog);
    static int stuckShuffle(void* scene, void* dialog);
    static int stuckUndo(void* scene, void* dialog);

    /// The node the path pieces hang in (borrowed), null before the first open.
    [[nodiscard]] GameNode* getPathLayer() const { return pathLayer_.get(); }
    /// The segments of the last path drawn, in screen pixels.
    [[nodiscard]] const std::vector<PathSegment>& getPathSegments() const { return pathSegments_; }
    [[nodiscard]] Sprite* getSuperHintOverlay() const { return superHintOverlay_.get(); }
    [[nodiscard]] int getSuperHintTime() const { return superHintTime_; }
    /// The blinking glow over the shuffle button of a stuck casino or roof
    /// board, or null.
    [[nodiscard]] Sprite* getShuffleGlow() const { return shuffleGlow_.get(); }

    // ---- what the states and tests read ----------------------------------------
    [[nodiscard]] BoardDisplay* getDisplay() const { return display_.get(); }
    [[nodiscard]] BonusBar* getBonusBar() const { return bonusBar_.get(); }
    [[nodiscard]] LabelTicker* getScoreTicker() const { return scoreTicker_; }
    [[nodiscard]] int getLevelPhase() const { return levelPhase_; }
    void setLevelPhase(int phase) { levelPhase_ = phase; }
    [[nodiscard]] Tile* getHoveredTile() const { return hoveredTile_; }
    [[nodiscard]] const std::vector<Dialog*>& getOpenGameDialogs() const { return openDialogs_; }
    [[nodiscard]] bool isFocusPauseRequested() const { return focusPauseRequest_; }
    [[nodiscard]] std::vector<int>& getEarnedTrophies() { return earnedTrophies_; }
    /// The names of the last sounds the screen played (at most 64, oldest
    /// first), for the screen's own checks and its tests.
    [[nodiscard]] const std::vector<std::string>& getSoundLog() const { return soundLog_; }
    /// The node above the board where effects are drawn (borrowed), or null
    /// before the first open.
    [[nodiscard]] GameNode* getEffectLayer() const { return effectsLayer_.get(); }
    /// The hook the game dialogs reach this screen through (installed while
    /// the screen exists).
    [[nodiscard]] PlayingScreenHook& getDialogHook() const { return *dialogHook_; }

    // ---- saving the level in progress ------------------------------------------------
    /// Writes the level in progress into the current player's saved game of
    /// its place and ends the level's phase (see `levelSaveStep`). A cleared
    /// board of a casino or roof run is saved as the run's next level, dealt,
    /// with that level's full time and a fresh bonus bar; the game in play,
    /// the screen and the scenes are left as they are, so it is also safe
    /// while the program shuts down. Runs when the screen is left and when
    /// it is destroyed.
    void save();
    /// The saved-game node the current player's profile holds for a resumed
    /// level (borrowed), or null.
    [[nodiscard]] static PropertyNode* resumedGameNode();
    /// A new bar pair for `level` on a board of `tiles` tiles: the time bar
    /// full, the bonus bar empty.
    [[nodiscard]] static std::pair<RefPtr<TimeBar>, RefPtr<BonusBar>>
    makeLevelBars(const Level* level, int tiles);
    /// The bars of the level, restored from the resumed saved game when the
    /// profile holds one ("timeBar" and "bonusBar"; a missing one is made
    /// new), else new ones.
    void makeBarsForLevel(const Level* level, int tiles);
    /// The level the roof's mixed run goes on with after `old` (played in
    /// `oldType`): the roof level of another game type at the same
    /// difficulty, advanced past `old`'s index, its layout loaded, marked
    /// mixed; null (logged) when there is none.
    [[nodiscard]] static RefPtr<Level> nextMixedLevel(const Level& old, GameType oldType);
    /// What the window's close request runs in the playing screen: the
    /// program's quit question, installed at start-up (null: none). The
    /// question is a game dialog, so the board pauses under it. Without one
    /// the screen only pauses.
    static void setQuitQuestion(void (*ask)());
    /// The screen's part of a saved game: the board's position and the bars.
    void saveScreenPart(PropertyNode& node, const TimeBar* time, const BonusBar* bonus) const;

    // ---- effects: floaters, the super score, tile shine and stars, trophies ----
    /// The time-penalty floater at the top of the time bar's fill: "%" of
    /// TEXT_TIME_PENALTY replaced by `seconds` (0 or less), in every place.
    void showTimePenalty(int seconds);
    /// The shine (multiplier 4 and up) and the stars (7 and up) over a tile
    /// leaving the board at bonus multiplier `multiplier`.
    void spawnTileRemovalEffect(Tile& tile, int multiplier);
    /// A new sprite of `tile`'s face where the face is drawn, anchored at
    /// its middle: on a plain `colour` (0xRRGGBB) when `tinted`, else on
    /// white; additive when `additive`. Null without a drawn board. The
    /// caller places it in the tree.
    [[nodiscard]] Sprite* makeTileFaceSprite(const Tile& tile, bool tinted, std::uint32_t colour,
                                             bool additive);
    /// A sprite at (0, 0) of a whole tile of `suit` and value `idx` in the
    /// current tile set; null without a drawn board.
    [[nodiscard]] RefPtr<Sprite> makeTileSprite(int suit, int idx) const;
    /// The trophy box has slid out: the next waiting trophy, if any.
    void trophyInfoClosed();
    [[nodiscard]] const TrophyQueue& getTrophyQueue() const { return trophyQueue_; }
    /// Screen point of the top-left corner of `tile`'s face: its slot for a
    /// side-board tile, its cell and layer on the drawn board otherwise.
    [[nodiscard]] std::pair<int, int> tileScreenPos(const Tile& tile) const;
    /// A free-cell move: `tile`'s face flies from `from` (a board place, or
    /// a slot when `fromSlot`) to the slot it now names, with
    /// "SOUND_TILE_MOVES" as it leaves and "SOUND_TILE_ARRIVES" as it lands.
    void startTileFlight(Tile& tile, const TilePos& from, bool fromSlot);

private:
    static int onTileLanded(void* scene, void* modifier);
    // The face's top-left corner of a board tile at `pos` on the drawn board.
    [[nodiscard]] std::pair<int, int> boardScreenPos(const TilePos& pos) const;
    // Shows the trophy box for trophy `number` (the queue said it may).
    void presentTrophy(int number);
    // The board is held (a pause, a game dialog) or playable again: waiting
    // trophies wait or come out.
    void holdTrophies(bool held);
    static int onTrophyBoxClosed(void* scene, void* dialog);

    TrophyQueue trophyQueue_;
    // ---- end effects ---------------------------------------------------------

    // Hints and shuffles (SceneGame_hints.cpp).
    void bindHintButtons();
    void tickHints(int elapsedMs);
    void updatePathPreview(int elapsedMs);
    void endSuperHint();
    void stopShuffleGlow();
    void runStuckTest(int available);
    void resetHints();

    // The installed quit question, asked; false when there is none.
    static bool askQuitQuestion();
    void requestPause(bool menu);
    void findWidgets();
    void chooseLabelSet(int place);
    void setupBars(bool restart);
    void updateHover(int x, int y);
    void clearHover();
    void clearSelection();
    /// Ends the level at `phase` (0 lost, 2 won): shows the final score,
    /// settles the bars and enters `next`.
    void endLevel(int phase, GameSceneState* next);
    [[nodiscard]] static Game* game();
    // The next level of a casino or roof run in `current`, or null when it
    // cannot be dealt (the game then returns to the building).
    [[nodiscard]] static Game* nextLevelOfRun(Game& current);
    // The roof's mixed run: a new game of another type at the next level,
    // the score carried over; null when none can be made.
    [[nodiscard]] static Game* nextMixedGame(Game& current);

    RefPtr<GameSceneState> currentState_;
    RefPtr<BoardDisplay> display_;
    RefPtr<TimeBar> timeBar_;
    RefPtr<BonusBar> bonusBar_;
    int pauseState_ = 0;
    int levelPhase_ = 0;
    Button* pauseButton_ = nullptr;
    Button* menuButton_ = nullptr;
    Button* shuffleButton_ = nullptr;
    Button* undoButton_ = nullptr;
    Button* hintButton_ = nullptr;
    Sprite* layoutPanel_ = nullptr;
    LabelTicker* scoreTicker_ = nullptr;
    Label* hintsLabel_ = nullptr;
    Label* shufflesLabel_ = nullptr;
    Label* levelLabel_ = nullptr;
    Label* matchesLabel_ = nullptr;
    Label* progressLabel_ = nullptr;
    Label* timeLabel_ = nullptr;
    RefPtr<GameNode> pathLayer_;
    RefPtr<GameNode> levelEndLayer_;
    RefPtr<GameNode> teardownLayer_;
    RefPtr<GameNode> effectsLayer_;
    int superHintTime_ = 0;
    Tile* hoveredTile_ = nullptr;
    int pathTimer_ = 0;
    int lastClickX_ = 0;
    int lastClickY_ = 0;
    bool pauseRequested_ = false;
    bool menuRequested_ = false;
    bool deactivatePauseRequest_ = false;
    bool focusPauseRequest_ = false;
    RefPtr<SoundNode> timeSound_;
    std::vector<Dialog*> openDialogs_;
    std::vector<int> earnedTrophies_;
    std::vector<std::string> soundLog_;
    std::unique_ptr<PlayingScreenHook> dialogHook_;
    std::unique_ptr<SceneGameHintHook> hintHook_;
    int hintFrames_ = 0;
    // Hints and shuffles.
    std::vector<PathSegment> pathSegments_;
    RefPtr<Sprite> superHintOverlay_;
    RefPtr<Sprite> shuffleGlow_;
    bool shuffleEnding_ = false;
};

} // namespace orv
