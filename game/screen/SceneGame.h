#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/SoundNode.h"
#include "engine/scene/Scene.h"
#include "game/board/GameView.h"
#include "game/screen/BoardDisplay.h"
#include "game/screen/PlayingScreen.h"

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
class PropertyNode;
class TimeBar;

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
    void stopGame();
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
    void clearConnectionPath() override { pathTimer_ = 0; }
    void clearHoveredTile() override { hoveredTile_ = nullptr; }
    void addBonusPoints(int points) override;
    int getScoreMultiplier() override;
    void addTime(int milliseconds) override;
    void countScoreLabel(int shownScore) override;
    void showSuperScore(int /*points*/, int /*score*/) override {}
    void showScoreFloater(int /*points*/, int /*factor*/, Tile& /*lastTile*/) override {}
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
    bool isGameHeld() const override { return false; }
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
    void showStarBurst(int /*x*/, int /*y*/) override {}

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
    /// What the window's close request runs in the playing screen: the
    /// program's quit question, installed at start-up (null: none). The
    /// question is a game dialog, so the board pauses under it. Without one
    /// the screen only pauses.
    static void setQuitQuestion(void (*ask)());
    /// The screen's part of a saved game: the board's position and the bars.
    void saveScreenPart(PropertyNode& node, const TimeBar* time, const BonusBar* bonus) const;

private:
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
};

} // namespace orv
