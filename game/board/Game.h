#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "game/board/Command.h"
#include "game/board/DisplayValue.h"
#include "game/board/GameServices.h"
#include "game/board/GameType.h"
#include "game/board/GameView.h"
#include "game/board/Layout.h"
#include "game/board/Level.h"
#include "game/board/TileDef.h"

#include <cstdint>
#include <vector>

namespace orv {

class PropertyNode;

/// What the last click asked for; `Game::runPendingAction` carries it out.
enum class PendingAction : int {
    Unset = 0,          ///< no click yet
    None = 1,           ///< the click hit no tile
    Deselect = 2,       ///< the clicked tile was selected
    NewSelection = 3,   ///< a free tile that starts a new selection
    AddToSelection = 4, ///< a free tile that fits the selection
    Match = 5,          ///< the clicked tile completes a match
    Reserved = 6,       ///< never set
    FreeCellMove = 7,   ///< park the selected tile in a free cell
    Blocked = 8,        ///< the clicked tile is not free
};

/// The counters and clocks of a game, read and written by the playing
/// screen, the bars and the records. Times are milliseconds.
struct GameCounters {
    int undoCount = 0;         ///< undos used
    int hintCount = 0;         ///< hints shown (raised by the screen)
    int shuffleCount = 0;      ///< shuffles made (raised by the screen)
    int removedTilesCount = 0; ///< tiles removed by matches
    int numZeroMatches = 0;    ///< times the matches label found no match
    int freeCellMoves = 0;     ///< tiles parked in a free cell
    int freeCellShuffles = 0;  ///< FreeCell shuffles with room in the cells
    int matchCount = 0;        ///< matches made by this game object
    bool pressedUndo = false;
    bool pressedShuffle = false;
    int bonusesClaimed = 0;    ///< bonuses paid out by the bonus bar
    int bonusScore = 0;        ///< points gained from bonuses
    int highestMultiplier = 0; ///< highest score multiplier reached
    int stuckRestarts = 0;     ///< restarts from the stuck dialog
    std::int32_t realTime = 0;
    std::int32_t dataGatherLevelTime = 0;
    std::int32_t clockTime = 0;
    std::int32_t timeSinceLastRestart = 0;
    std::int32_t lastMatchTime = 0; ///< `timeSinceLastRestart` at the last match
    std::int32_t lastBonusTime = 0; ///< `timeSinceLastRestart` when the bonus bar filled
    /// `realTime` when the screen last set a level up or tore it down; not saved
    std::int32_t levelMarkTime = 0;
    bool hasWon = false;
    int lastMatchKey = -1; ///< (suit << 8) + idx of the last match's first tile; -1: none
};

/// What one level build did: the counts the usage record keeps, and the
/// order in which the deal plans the sets to be removed.
struct BuildReport {
    int numNotSolvable = 0;         ///< deals that failed (0 to 10000)
    int numStackingProblem = 0;     ///< groupings that put a face on or under its own
    bool levelBuildProblem = false; ///< a pass failed or no deal succeeded
    /// The tiles in planned removal order, `tilesPerMatch` at a time (the
    /// grid order when no deal succeeded).
    TileList order;
};

/// The rule engine of the one level being played: it owns the level, the
/// board, the selection, the hints, the undo list, the score and the
/// counters. The playing screen feeds it clicks (`click`, then
/// `runPendingAction`) and reads it back; the game types (`GameClassic` and
/// the others, registered under their class names) override its virtual
/// operations. It calls back into the screen through `GameView` and into the
/// players' records through `GameServices`.
///
/// Exactly one game is current; `create` and `resumeSaved` replace it.
///
///     Game* game = Game::create(GameType::Classic);
///     if (game == nullptr || !game->setLevel(level.get())) { ... back to the building ... }
///     game->click(x, y);
///     game->runPendingAction();
///     if (game->getLayout()->getTileCount() == 0) { ... won ... }
///
/// Main thread only.
class Game : public GameNode {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Limits of the level build, which must fit inside a frame on any
    /// board. Deals: at most `kDealAttempts`, and no more once the failed
    /// ones have placed `kDealWorkBudget` tiles. Groupings of faces: at most
    /// `kGroupingPasses`, and no more than place `kGroupingWorkBudget`
    /// faces; the second half of the passes keeps the best grouping so far
    /// instead of the latest. A board of 144 tiles thus gets about 55 deals
    /// that fail late and 1388 groupings; one of 20 tiles, 10000 of each.
    static constexpr int kDealAttempts = 10000;
    static constexpr long kDealWorkBudget = 8000;
    static constexpr int kGroupingPasses = 10000;
    static constexpr long kGroupingWorkBudget = 200000;

    // ---- the current game -----------------------------------------------------

    /// Makes a new game of `type` (its class registered under its class name,
    /// `kGameClassNames`) the current game and returns it (borrowed from the
    /// current-game global). A type outside 0 to 5, or one whose class is not
    /// registered, is logged and gives null; the current game then stays.
    static Game* create(GameType type);
    /// Makes the current player's saved game `savedGameId` the current game.
    /// False, with the current game unchanged, when there is no such saved
    /// game or it is damaged (no level or board, a class that is not the one
    /// expected, tiles off the grid, faces no suit has, an undo list that
    /// does not fit); the reason is logged.
    [[nodiscard]] static bool resumeSaved(int savedGameId);
    /// Retires the current game (removal mark, release); nothing when none.
    static void destroyCurrent();
    /// The current game, or null. Borrowed from the global.
    [[nodiscard]] static Game* getCurrent();
    /// Makes `game` (may be null) the current game; the old one is retired.
    static void makeCurrent(Game* game);

    /// The screen and the players' records the rules call (borrowed; they
    /// must outlive their use or be removed with null, which restores the
    /// null implementations).
    static void setView(GameView* view);
    [[nodiscard]] static GameView& getView();
    static void setServices(GameServices* services);
    [[nodiscard]] static GameServices& getServices();

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    /// Closes the open level session and releases everything.
    ~Game() override;

    // ---- operations the game types replace --------------------------------------

    /// Whether `a` and `b` form a match (for Triple: two of a set). Tiles
    /// that match always have equal match keys (`Tile::matchKey`); the
    /// grouping of faces relies on it.
    [[nodiscard]] virtual bool tilesMatch(const Tile* a, const Tile* b) const = 0;
    /// Appends the hinted set (the set in the middle of the candidates) to
    /// `out`; false, leaving `out` alone, when there is none.
    virtual bool pickHint(TileList& out);
    /// Number of disjoint sets the candidates hold.
    [[nodiscard]] virtual int availableMatches();
    /// Appends disjoint matching sets of free tiles, set after set.
    virtual void collectCandidates(TileList& out);
    /// Appends the faces of the game's board in random matching sets of
    /// `tilesPerMatch` (shuffle source).
    virtual void groupIntoSets(std::vector<TileDef>& out);
    /// Orders the tiles of `layout` into sets, each free at its turn, taking
    /// them off the board as it goes (the caller puts them back); the order
    /// goes into `order`. False when it got stuck.
    virtual bool deal(Layout& layout, TileList& order) = 0;
    /// Whether some deal of `board` could succeed. When none can, the build
    /// counts every attempt failed without making it. The base: the tile
    /// count is a multiple of `tilesPerMatch` (a deal that pairs tiles off
    /// must fail in its last pass otherwise); a game type whose deal always
    /// succeeds answers true.
    [[nodiscard]] virtual bool dealCanSucceed(const Layout& board) const;
    /// A new tile for the side board, or null (the base has none).
    [[nodiscard]] virtual RefPtr<Tile> newTile();
    /// Puts a side-board tile of an undone match back (the base: nothing).
    virtual void sideBoardUndo(Tile& tile);
    /// Takes `level`, deals its layout and keeps a copy of the deal. False,
    /// leaving the game without a level, when the level has no layout or an
    /// empty one (a layout file that could not be read), a side-board game
    /// type's layout has no side board, or its tile count cannot be dealt in
    /// sets; the reason is logged with the layout's name.
    [[nodiscard]] virtual bool setLevel(Level* level);
    /// Takes `level` with its board as it is, faces and all, without a deal
    /// (a board dealt elsewhere: a test, a tool); the copy for restarts is
    /// made from it. False without a level or a board.
    bool setDealtLevel(Level* level);
    /// Starts the level again from the kept deal.
    virtual void restart();
    /// Puts the reshuffled board in play. The old side board gets its removal
    /// mark; the screen adds the new one to its tree.
    virtual void swapInShuffled();
    /// Writes the saved form into `node` and sets its type name to the class.
    virtual void save(PropertyNode& node) const;
    /// Finds the tile under the screen point (x, y) and decides the pending
    /// action, with its sound.
    virtual void click(int x, int y);
    /// Whether the clicked tile completes a match with the selection.
    [[nodiscard]] virtual bool selectionMatches();
    /// True when `available` is 0 or less and the board still holds tiles.
    [[nodiscard]] virtual bool isStuck(int available);
    /// Tiles of one match: 2 (Triple: 3).
    [[nodiscard]] virtual int tilesPerMatch() const { return 2; }

    // ---- the click road -------------------------------------------------------

    /// Ends a shown connection path, then carries out the pending action.
    void runPendingAction();
    [[nodiscard]] PendingAction getPendingAction() const { return pendingAction_; }
    void setPendingAction(PendingAction action) { pendingAction_ = action; }
    /// The tile under the last click, or null. Borrowed.
    [[nodiscard]] Tile* getClickedTile() const { return clickedTile_.get(); }
    /// Sets the tile the next `runPendingAction` works on (game types and
    /// tests that decide a click themselves).
    void setClickedTile(Tile* tile) { clickedTile_ = tile; }
    /// Scores and removes the completed match in `selection`.
    void removeMatch();
    /// Parks the first selected tile in the free cell chosen by the click.
    void moveToFreeCell();
    [[nodiscard]] int getFreeCellColumn() const { return freeCellColumn_; }
    [[nodiscard]] int getFreeCellRow() const { return freeCellRow_; }
    void setFreeCell(int column, int row) {
        freeCellColumn_ = column;
        freeCellRow_ = row;
    }

    // ---- selection and hints ----------------------------------------------------

    /// Appends `tile` to the selection unless it is null or selected.
    void selectTile(Tile* tile);
    /// Gives the tile its resting look and takes it out of the selection.
    void deselectTile(Tile* tile);
    /// Gives every selected tile its resting look and empties the selection.
    void clearSelection();
    [[nodiscard]] bool isSelected(const Tile* tile) const;
    [[nodiscard]] bool isHinted(const Tile* tile) const;
    /// Appends `tile` to the hint list unless it is null or there.
    void addHintTile(Tile* tile);
    /// Gives every hinted tile its plain look and empties the hint list.
    void clearHints();
    [[nodiscard]] const TileList& getSelection() const { return selection_; }
    [[nodiscard]] const TileList& getHintTiles() const { return hintTiles_; }

    // ---- score and commands -------------------------------------------------------

    /// Adds to the score's value (trophy 13 on hallway levels once the shown
    /// score has passed 100000).
    void addScore(int points);
    /// Moves the shown score, counts the label and shows the super score.
    void commitScore(int points);
    /// 1 when `step` points up to `newScore` pass the level's silver goal
    /// while the player's best for the room is below it, 2 likewise for
    /// gold, else -1.
    [[nodiscard]] int scoreThresholdCrossed(int newScore, int step);
    [[nodiscard]] DisplayValue& getScore() { return score_; }
    [[nodiscard]] const DisplayValue& getScore() const { return score_; }
    /// Appends `command` to the undo list and executes it.
    void pushCommand(Command* command);
    /// Undoes and drops the last command; nothing when there is none.
    void undo();
    /// Forgets every command of the undo list (a shuffle: the moves before
    /// it cannot be taken back).
    void clearUndoList() { undoList_.clear(); }
    /// Appends the tiles named by every command of the undo list.
    void undoTiles(TileList& out) const;
    [[nodiscard]] const std::vector<RefPtr<Command>>& getUndoList() const { return undoList_; }
    /// Awards trophy `number` through the services; the screen hears of it
    /// when it was newly earned.
    void awardTrophy(int number);

    // ---- the level build ----------------------------------------------------------

    /// Gives the tiles of the game's board the faces of a new deal, then
    /// builds the level. False (logged) when the board's count cannot be
    /// dealt in full sets or there are no suits.
    [[nodiscard]] bool assignTileFaces();
    /// Deals `board` (the game's board or a copy of it) until a deal
    /// succeeds, groups faces onto the deal order until no face lies on or
    /// under its own (Classic and Triple), fills a Split or Speed side board
    /// and records the build, all within the limits above. When every deal
    /// fails the tiles are grouped in grid order: the level stays playable
    /// and the report says so.
    BuildReport buildLevel(Layout& board);
    /// What the last `buildLevel` of this game did (empty before the first).
    [[nodiscard]] const BuildReport& getLastBuild() const { return lastBuild_; }
    /// Makes a reshuffled copy of the board in play the pending shuffle
    /// (`getShuffledLayout`), dealt anew; `swapInShuffled` puts it in play.
    /// False without a board.
    bool prepareShuffle();
    /// Appends the faces of `tiles` to `out` in sets of `setSize`: from the
    /// back of the list, each tile with the first `setSize - 1` tiles from
    /// the front that `tilesMatch` it and are not in a set yet. A tile that
    /// finds too few partners is appended with those it found. The list's
    /// order is the caller's (the groupings shuffle it first).
    void appendFaceSets(const TileList& tiles, int setSize, std::vector<TileDef>& out) const;
    /// Leaves the playing screen for the place of the level: the pending
    /// resource requests are dropped, the default transition is set, and
    /// the place's resource section is requested and its scene made the
    /// next one ("hallway" / "SCENE_HALLWAY", "casino", "recroom", "roof").
    /// A level of no place only sets the transition; without a scene
    /// manager nothing happens.
    void returnToBuilding();
    /// Resets the counters, the selection, the hints, the undo list and
    /// (except on later levels of a casino or roof run) the score.
    void resetCounters();

    // ---- usage records ------------------------------------------------------------

    /// A new "OVCustomEvent" record, already in the usage record; null
    /// without a usage record. Attributes added later are part of it.
    RefPtr<PropertyNode> logCustomEvent();
    /// The level's "OVLevelSession" record (one per level while the playing
    /// screen shows it), or a new custom event elsewhere; null without a
    /// usage record.
    RefPtr<PropertyNode> openLevelSession();
    /// Hands the open level session to the usage record.
    void closeLevelSession();
    /// Writes "playerName", "LevelName", "GameType", "GameMode" and
    /// "Difficulty" into `record`, as far as they are known.
    void writeSessionAttributes(PropertyNode& record);

    // ---- state ----------------------------------------------------------------------

    [[nodiscard]] GameType getGameType() const { return gameType_; }
    /// The free-tile rule of the game's level (River or standard).
    [[nodiscard]] FreeTileRule getFreeTileRule() const;
    [[nodiscard]] Level* getLevel() const { return level_.get(); }
    [[nodiscard]] Layout* getLayout() const { return layout_.get(); }
    [[nodiscard]] Layout* getLayoutCopy() const { return layoutCopy_.get(); }
    [[nodiscard]] Layout* getShuffledLayout() const { return shuffledLayout_.get(); }
    [[nodiscard]] GameCounters& getCounters() { return counters_; }
    [[nodiscard]] const GameCounters& getCounters() const { return counters_; }
    [[nodiscard]] std::vector<int>& getRandomLevels() { return randomLevels_; }
    /// False when the game was made from a saved form that had to be mended.
    [[nodiscard]] bool isIntact() const { return intact_; }

protected:
    /// A new game of `type` (null `saved`), or one read back from the saved
    /// "game" node `saved`; check `isIntact` afterwards.
    Game(PropertyNode* saved, GameType type);

    /// Marks the game damaged (its saved form had to be mended).
    void setDamaged() { intact_ = false; }
    /// The playing screen, the services.
    [[nodiscard]] static GameView& view() { return getView(); }
    [[nodiscard]] static GameServices& services() { return getServices(); }

private:
    void restore(PropertyNode& saved);
    void carryOutMatch();
    // Whether a face lies directly on or under a tile of its own set.
    [[nodiscard]] bool hasStackingProblem(const Layout& board, const TileList& order) const;

    RefPtr<Tile> clickedTile_;
    int freeCellColumn_ = 0;
    int freeCellRow_ = 0;
    PendingAction pendingAction_ = PendingAction::Unset;
    std::vector<RefPtr<Command>> undoList_;
    std::vector<int> randomLevels_;
    TileList selection_;
    TileList hintTiles_;
    RefPtr<Level> level_;
    RefPtr<Layout> layout_;
    RefPtr<Layout> layoutCopy_;
    RefPtr<Layout> shuffledLayout_;
    GameCounters counters_;
    DisplayValue score_{0, 0, 2147483647};
    RefPtr<PropertyNode> levelSession_;
    BuildReport lastBuild_;
    GameType gameType_;
    bool intact_ = true;
};

/// The place (`Place` as an int) whose level `game` plays; Place::None
/// without a game or a level.
[[nodiscard]] int placeOf(const Game* game);

} // namespace orv
