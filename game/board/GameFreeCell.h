#pragma once

#include "game/board/Game.h"

namespace orv {

/// Game type 1: pair matching with free cells. With one tile selected, a
/// click on an empty slot of the side board parks the tile there; a parked
/// tile matches any free board tile or parked tile of its key. The board is
/// stuck only when no match is left and every cell is taken; the level is
/// won when the board and the cells are empty. Registered as "GameFreeCell".
class GameFreeCell : public Game {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new game (null), or one read back from its saved "game" node
    /// (with "hintCounter", 0 when missing).
    explicit GameFreeCell(PropertyNode* saved);
    /// The object factory's create function for "GameFreeCell".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Different tiles with equal keys, wherever they lie.
    [[nodiscard]] bool tilesMatch(const Tile* a, const Tile* b) const override;
    /// Disjoint matching pairs: free board tiles among themselves, parked
    /// tiles against free board tiles, parked tiles among themselves.
    void collectCandidates(TileList& out) override;
    /// Board faces for the parked tiles that have no parked partner first
    /// (one each, in slot order), then the other board faces in random pairs.
    void groupIntoSets(std::vector<TileDef>& out) override;
    /// One free board tile reserved for each parked tile without a parked
    /// partner, then the deal by distance in pairs.
    bool deal(Layout& layout, TileList& order) override;
    /// The board's count less the reserved tiles is even.
    [[nodiscard]] bool dealCanSucceed(const Layout& board) const override;
    /// Puts a parked tile of an undone match back into its cell.
    void sideBoardUndo(Tile& tile) override;
    /// The base save and "hintCounter".
    void save(PropertyNode& node) const override;
    /// The base click; with one tile selected, a click on an empty cell asks
    /// for the free-cell move there.
    void click(int x, int y) override;
    /// No match left, tiles on the board, and every cell taken.
    [[nodiscard]] bool isStuck(int available) override;

    /// The parked tiles that no other parked tile pairs with: parked tiles
    /// are paired greedily in slot order by key, and the rest are listed in
    /// slot order. Each needs a partner on the board.
    static void unpairedParkedTiles(const Layout& board, TileList& out);

    /// Kept for the tutorial hints, which read and raise it.
    [[nodiscard]] int getHintCounter() const { return hintCounter_; }
    void setHintCounter(int counter) { hintCounter_ = counter; }

private:
    int hintCounter_ = 0;
};

} // namespace orv
