#pragma once

#include <string_view>

namespace orv {

class Layout;
class Tile;
struct TilePos;

/// Everything the rules ask of the playing screen: the hit test, the sounds,
/// the looks of tiles, the labels and effects, the bonus and time bars. The
/// rule engine decides; the screen shows. The playing screen implements it
/// and installs itself with `Game::setView`; without it the rules talk to
/// `NullGameView`, so a level can be played, scored and saved headless.
///
/// Units: screen points are pixels of the 800 x 600 screen; tiles are the
/// model's tiles (their grid place is `Tile::getPos`); times are
/// milliseconds. Every call is made on the main thread from inside a rule
/// operation; a `Tile&` is borrowed for the call only.
class GameView {
public:
    GameView() = default;
    GameView(const GameView&) = delete;
    GameView& operator=(const GameView&) = delete;
    virtual ~GameView() = default;

    /// The tile under the screen point (x, y) of `layout`: side-board slots
    /// first, then the board from the top layer down; null when none.
    /// Borrowed from the layout. Called by `Game::click`.
    virtual Tile* tileAt(const Layout& layout, int x, int y) = 0;
    /// Plays the sound `name` of the resource section "game" at full volume,
    /// centred ("SOUND_TILE_SELECT", "SOUND_COMBO3", ...).
    virtual void playSound(std::string_view name) = 0;

    // ---- looks of tiles -------------------------------------------------------

    /// A tile joined the selection (a new selection or one more tile of it).
    virtual void markTileSelected(Tile& tile) = 0;
    /// A click on a blocked tile.
    virtual void pulseTile(Tile& tile) = 0;
    /// The tile left the selection or the hints: it gets its resting look
    /// back, the super-hint highlight when `hinted`, else its plain look.
    /// `replace` asks for a side-board tile to be placed in its slot again
    /// (the whole selection was cleared).
    virtual void showRestingLook(Tile& tile, bool hinted, bool replace) = 0;
    /// Marks every tile of the running super hint again.
    virtual void refreshTileSprites() = 0;
    /// Whether the screen's super hint is running (its time above 0).
    [[nodiscard]] virtual bool isSuperHintRunning() = 0;
    /// Removes the drawn connection path and forgets its segments and timer.
    virtual void clearConnectionPath() = 0;
    /// Forgets the tile under the pointer (it may be leaving the board).
    virtual void clearHoveredTile() = 0;

    // ---- bars -----------------------------------------------------------------

    /// The bonus bar takes a match of `points` (and raises its multiplier
    /// unless it is paused).
    virtual void addBonusPoints(int points) = 0;
    /// The bonus bar's score multiplier (1 or more).
    [[nodiscard]] virtual int getScoreMultiplier() = 0;
    /// Adds `milliseconds` to the time bar, value and shown value at once.
    virtual void addTime(int milliseconds) = 0;

    // ---- score ----------------------------------------------------------------

    /// The score label counts from what it shows to `shownScore`.
    virtual void countScoreLabel(int shownScore) = 0;
    /// A match (or bonus) of `points` took the score to `score`.
    virtual void showSuperScore(int points, int score) = 0;
    /// The score of a match floats up from `lastTile`: `points` x `factor`.
    virtual void showScoreFloater(int points, int factor, Tile& lastTile) = 0;

    // ---- the board changes ----------------------------------------------------

    /// `tile` leaves the board or its slot (a match): fade it and burst at
    /// it, scaled by the bonus bar's `multiplier`. The model has taken it off.
    virtual void tileRemoved(Tile& tile, int multiplier) = 0;
    /// `tile` is back on the board at its place (an undo): draw it again.
    virtual void tileReturned(Tile& tile) = 0;
    /// `tile` went from `from` (a board place, or a slot when `fromSlot`)
    /// into the side-board slot it now names: fly it there with
    /// "SOUND_TILE_MOVES" and "SOUND_TILE_ARRIVES".
    virtual void tileMovedToSlot(Tile& tile, const TilePos& from, bool fromSlot) = 0;
    /// The whole board area (0, 0, 800, 600) must be drawn again.
    virtual void invalidateBoard() = 0;
    /// After every change of the board: the free-tile marks, the matches
    /// label (with its stuck test) and the progress label.
    virtual void updateFreeTileMarks() = 0;
    virtual void updateMatchesLabel() = 0;
    virtual void updateProgressLabel() = 0;

    // ---- the level --------------------------------------------------------------

    /// Trophy `number` was just earned (shown later by the screen).
    virtual void onTrophyEarned(int number) = 0;
    /// The board is cleared.
    virtual void onLevelWon() = 0;
    /// Whether the playing screen is the current scene (or the one a
    /// transition leads to); the usage records name the level only then.
    [[nodiscard]] virtual bool isShown() = 0;
};

/// The view of a game without a screen: it hits no tile, plays nothing,
/// shows nothing, and its bonus bar stands at multiplier 2, so that every
/// match scores its points once.
class NullGameView : public GameView {
public:
    Tile* tileAt(const Layout& /*layout*/, int /*x*/, int /*y*/) override { return nullptr; }
    void playSound(std::string_view /*name*/) override {}
    void markTileSelected(Tile& /*tile*/) override {}
    void pulseTile(Tile& /*tile*/) override {}
    void showRestingLook(Tile& /*tile*/, bool /*hinted*/, bool /*replace*/) override {}
    void refreshTileSprites() override {}
    bool isSuperHintRunning() override { return false; }
    void clearConnectionPath() override {}
    void clearHoveredTile() override {}
    void addBonusPoints(int /*points*/) override {}
    int getScoreMultiplier() override { return 2; }
    void addTime(int /*milliseconds*/) override {}
    void countScoreLabel(int /*shownScore*/) override {}
    void showSuperScore(int /*points*/, int /*score*/) override {}
    void showScoreFloater(int /*points*/, int /*factor*/, Tile& /*lastTile*/) override {}
    void tileRemoved(Tile& /*tile*/, int /*multiplier*/) override {}
    void tileReturned(Tile& /*tile*/) override {}
    void tileMovedToSlot(Tile& /*tile*/, const TilePos& /*from*/, bool /*fromSlot*/) override {}
    void invalidateBoard() override {}
    void updateFreeTileMarks() override {}
    void updateMatchesLabel() override {}
    void updateProgressLabel() override {}
    void onTrophyEarned(int /*number*/) override {}
    void onLevelWon() override {}
    bool isShown() override { return false; }
};

} // namespace orv
