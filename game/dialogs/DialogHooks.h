#pragma once

#include <optional>
#include <string>

namespace orv {

class Dialog;
class GameNode;
class Level;
class Scene;
class Sprite;

/// What the game dialogs need of the playing screen. The dialogs sit below
/// the screen in the library order, so the screen installs an object of this
/// kind (`setPlayingScreenHook`) when it is built and removes it (null) when
/// it goes; without one the dialogs act as if no playing screen existed:
/// nothing is told, nothing is started, nothing is shown.
///
///     class SceneGameHook : public PlayingScreenHook { ... };   // in game/screen
///     setPlayingScreenHook(&hook);                             // the screen's start-up
class PlayingScreenHook {
public:
    PlayingScreenHook() = default;
    PlayingScreenHook(const PlayingScreenHook&) = delete;
    PlayingScreenHook& operator=(const PlayingScreenHook&) = delete;
    virtual ~PlayingScreenHook() = default;

    /// The playing screen's scene (borrowed from the scene manager), or null.
    [[nodiscard]] virtual Scene* getScene() = 0;
    /// A game dialog opened over the playing screen: the screen records it
    /// and hides the board.
    virtual void dialogOpened(Dialog* dialog) = 0;
    /// A game dialog left the screen; the screen forgets it if it recorded
    /// it and shows the board when none is left. Called for every game
    /// dialog that closes, recorded or not.
    virtual void dialogClosed(Dialog* dialog) = 0;
    /// Shows the board and side-board tiles again after a pause or a menu.
    virtual void showBoard() = 0;
    /// Starts the level again (after a lost game) or the next one.
    virtual void startLevel() = 0;
    /// Leaves the running level for the building (the answer Yes to the
    /// stop question).
    virtual void stopLevel() = 0;
    /// True while the screen's room-information state is current: the level
    /// end then leaves the next step to that state.
    [[nodiscard]] virtual bool isRoomInfoState() = 0;
    /// The node above the board where effects are drawn (borrowed), or null.
    [[nodiscard]] virtual GameNode* getEffectLayer() = 0;
    /// Bursts stars around `target` (a record on the level-end dialog).
    virtual void showStarBurst(Sprite* target) = 0;
};

/// The installed hook, or null. Borrowed: the installer keeps it alive until
/// it installs null.
[[nodiscard]] PlayingScreenHook* getPlayingScreenHook();
void setPlayingScreenHook(PlayingScreenHook* hook);

/// A player's best result in one room or mode; 0 means none yet.
struct BestResult {
    int score = 0;
    int timeMs = 0;
};

/// What the game dialogs need of the current player. The players library
/// installs an object of this kind (`setPlayerHook`); without one, or without
/// a current player, the dialogs go on without player data: an empty name,
/// no bests, the hint switch showing the stored option.
class PlayerHook {
public:
    PlayerHook() = default;
    PlayerHook(const PlayerHook&) = delete;
    PlayerHook& operator=(const PlayerHook&) = delete;
    virtual ~PlayerHook() = default;

    /// The current player's name; none without a current player.
    [[nodiscard]] virtual std::optional<std::wstring> getPlayerName() = 0;
    /// The current player's show-hints flag; none without a current player.
    [[nodiscard]] virtual std::optional<bool> getShowHints() = 0;
    /// Sets the current player's show-hints flag; switched on, every
    /// one-time hint and host tip of the player is armed again. Nothing
    /// without a current player.
    virtual void setShowHints(bool show) = 0;
    /// The current player's best for `level`'s place: the room's record in
    /// the hallway, the best of the level's mode elsewhere (the best time in
    /// the recreation room, the best score in the casino and on the roof).
    [[nodiscard]] virtual BestResult getBest(const Level& level) = 0;
    /// True when the current player's best score in `level`'s hallway room
    /// reaches the level's silver goal but not its gold goal (`medalGrade` 1).
    [[nodiscard]] virtual bool isBestBetweenSilverAndGold(const Level& level) = 0;
};

/// The installed hook, or null. Borrowed like the screen's.
[[nodiscard]] PlayerHook* getPlayerHook();
void setPlayerHook(PlayerHook* hook);

} // namespace orv
