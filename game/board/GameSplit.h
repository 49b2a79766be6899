#pragma once

#include "game/board/Game.h"

namespace orv {

/// Game type 2: every board tile has a twin outside the board, and a match
/// is a free board tile together with its twin on show on the side board.
/// The side board is refilled from `sb_order`, which the deal fills so that
/// the twins arrive in the order the deal took the tiles off; the level's
/// hands steer how many of the twins on show belong to free tiles, to tiles
/// under a free tile and to buried ones. A click on a board tile matches at
/// once when its twin is on show; single tiles are never selected.
/// Registered as "GameSplit"; `GameSpeed` derives from it.
///
/// At every moment the faces of `sb_order` and of the twins on show are
/// those of the board's tiles.
class GameSplit : public Game {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new game (null), or one read back from its saved "game" node with
    /// "sb_order" and "sb_order_undo".
    explicit GameSplit(PropertyNode* saved);
    /// The object factory's create function for "GameSplit".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Different tiles with equal keys, exactly one of them on the side board.
    [[nodiscard]] bool tilesMatch(const Tile* a, const Tile* b) const override;
    /// For each twin on show in slot order, the first free board tile it
    /// matches that is not listed yet: that tile, then the twin.
    void collectCandidates(TileList& out) override;
    /// The board's faces, one per tile, in random order.
    void groupIntoSets(std::vector<TileDef>& out) override;
    /// The deal with hands; fills `sb_order` and empties `sb_order_undo`.
    bool deal(Layout& layout, TileList& order) override;
    /// Always: any count of tiles can be dealt.
    [[nodiscard]] bool dealCanSucceed(const Layout& board) const override;
    /// The twin of the next entry of `sb_order` (null when it is empty); the
    /// entry moves to `sb_order_undo`.
    [[nodiscard]] RefPtr<Tile> newTile() override;
    /// Puts the twin of an undone match back into its slot. When the match
    /// had refilled that slot, the refill goes and its entry returns to
    /// `sb_order`; when it had not (`sb_order` had run out), nothing returns.
    void sideBoardUndo(Tile& tile) override;
    /// Refuses (logged) a level whose side board has no slots and, in
    /// Split, one whose hands add up to 0; then deals and keeps the order
    /// for restarts.
    [[nodiscard]] bool setLevel(Level* level) override;
    /// Starts again from the kept deal and its order of twins.
    void restart() override;
    /// The base save, then in Split "sb_order" and "sb_order_undo" (Speed
    /// writes neither). The order kept for restarts is not saved: a resumed
    /// game works it out again from these two lists.
    void save(PropertyNode& node) const override;
    /// The base click without selections: a board tile whose twin is on
    /// show is a match, any other board tile pulses; a twin matches only
    /// when it is hinted, with its hinted board partner.
    void click(int x, int y) override;
    /// Some twin on show matches the clicked tile.
    [[nodiscard]] bool selectionMatches() override;

    /// The twin of `tile`: same suit and value (for a bonus suit a random
    /// value 0 to 3), not on any board.
    [[nodiscard]] static RefPtr<Tile> makeTwin(const Tile& tile);
    /// The hand sizes for `slots` slots from the hands (h1, h2, h3), each
    /// taken as 0 when negative: k1 = h1 * slots / sum, at least 1; k2 =
    /// h2 * slots / sum, at most what k1 leaves; k3 the rest. All three are
    /// 0 or more and add up to `slots`. False when the sum is 0 or there are
    /// no slots.
    [[nodiscard]] static bool handSizes(int h1, int h2, int h3, int slots, int& k1, int& k2,
                                        int& k3);

    /// Board tiles whose twins are still to come; the last entry is next.
    [[nodiscard]] const TileList& getSbOrder() const { return sbOrder_; }
    /// Entries taken by refills, the latest last.
    [[nodiscard]] const TileList& getSbOrderUndo() const { return sbOrderUndo_; }
    /// `sb_order` as dealt for the level (after the first fill).
    [[nodiscard]] const TileList& getStartOrder() const { return startOrder_; }

protected:
    /// A Split-like game of `type` (Split or Speed).
    GameSplit(PropertyNode* saved, GameType type);

private:
    TileList sbOrder_;
    TileList sbOrderUndo_;
    TileList startOrder_;
};

} // namespace orv
