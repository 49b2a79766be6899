#pragma once

#include <string_view>

namespace orv {

class DisplayValue;
class GameNode;
class SoundNode;
class Sprite;
class TimeBar;

/// What the bars and the screen's states ask of the playing screen. The
/// playing screen (`SceneGame`) installs itself with `setPlayingScreen` when
/// it is built; tests install a stand-in. Without one the bars stand still
/// and find no sprites.
///
/// Every pointer handed out is borrowed from the screen's tree and lives
/// while the screen does. Main thread only.
class PlayingScreen {
public:
    PlayingScreen() = default;
    PlayingScreen(const PlayingScreen&) = delete;
    PlayingScreen& operator=(const PlayingScreen&) = delete;
    virtual ~PlayingScreen() = default;

    /// 0 board shown, 1 a dialog over the board, 2 board hidden for the
    /// pause or menu dialog, 3 board torn down.
    [[nodiscard]] virtual int getPauseState() const = 0;
    /// Whether an open tutorial hint bubble holds the game.
    [[nodiscard]] virtual bool isGameHeld() const = 0;
    /// Whether the level-lost or level-won state is current.
    [[nodiscard]] virtual bool isLevelOver() const = 0;
    /// The scene's component root (the bars hang their effects there), or null.
    [[nodiscard]] virtual GameNode* getComponentRoot() const = 0;
    /// The scene's component `name` (also inside panels), or null.
    [[nodiscard]] virtual GameNode* findComponent(std::string_view name) const = 0;
    /// The looping sound that warns that time is almost up, or null.
    [[nodiscard]] virtual SoundNode* getTimeSound() const = 0;
    /// The level's time bar, or null.
    [[nodiscard]] virtual TimeBar* getTimeBar() const = 0;
    /// The hint button the level uses (normal or unlimited), or null.
    [[nodiscard]] virtual Sprite* getHintButton() const = 0;
    /// Whether the super hint runs.
    [[nodiscard]] virtual bool isSuperHintRunning() const = 0;
    /// Starts the super hint; `icon` is the bonus icon that brought it.
    virtual void startSuperHint(Sprite* icon) = 0;
    /// Trophy `number` was earned by the game (shown later).
    virtual void onTrophyEarned(int number) = 0;
    /// The hint and shuffle counter labels show the player's tokens again.
    virtual void refreshCounterLabels() = 0;
    /// The large burst of stars at screen point (x, y).
    virtual void showStarBurst(int x, int y) = 0;
};

/// The installed playing screen, or null. Borrowed.
[[nodiscard]] PlayingScreen* getPlayingScreen();
void setPlayingScreen(PlayingScreen* screen);

/// What the playing screen and its bars read and write of the current
/// player: the hint and shuffle tokens, the highest floor, the bonus and
/// combo statistics. The players' library installs one
/// (`setScreenPlayer`); without it a player of the session stands in (tokens
/// kept in memory, floor 0, nothing recorded beyond the run).
class ScreenPlayer {
public:
    ScreenPlayer() = default;
    ScreenPlayer(const ScreenPlayer&) = delete;
    ScreenPlayer& operator=(const ScreenPlayer&) = delete;
    virtual ~ScreenPlayer() = default;

    /// The player's tokens (bounded by MIN/MAX_NUM_HINTS and _SHUFFLES).
    [[nodiscard]] virtual DisplayValue& getHintTokens() = 0;
    [[nodiscard]] virtual DisplayValue& getShuffleTokens() = 0;
    /// The highest floor the player has reached.
    [[nodiscard]] virtual int getFloorReached() const = 0;
    /// A bonus was paid out; `claimedThisLevel` is the level's count so far.
    virtual void noteBonus(int claimedThisLevel) = 0;
    /// The multiplier reached `multiplier`.
    virtual void noteCombo(int multiplier) = 0;
};

/// The installed player, or the session's stand-in. Borrowed.
[[nodiscard]] ScreenPlayer& getScreenPlayer();
void setScreenPlayer(ScreenPlayer* player);

} // namespace orv
