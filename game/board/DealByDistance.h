#pragma once

#include "game/board/Layout.h"
#include "game/board/Tile.h"

namespace orv {

class Level;

/// The deal by distance that the Classic, FreeCell and Triple deals share:
/// pick a free tile at random, sort the tiles still on the board by their
/// distance to it, and find it partners that are free and lie at least a
/// target distance away (or, when none does, as far away as can be).
///
/// It works on a list of the tiles still to deal and takes the dealt ones
/// off the layout; the caller puts them back.
///
///     DealByDistance dealer(layout, rule, level.getTuningInt(Tuning::TileDistMin),
///                           level.getTuningInt(Tuning::TileDistMax));
///     while (!dealer.isDone()) {
///         if (!dealer.dealSet(2, order)) { return false; }
///     }
class DealByDistance {
public:
    /// Starts from every grid tile of `layout`, in grid order. `distanceMin`
    /// and `distanceMax` bound the target distance of a partner (cells; the
    /// maximum is never drawn).
    DealByDistance(Layout& layout, FreeTileRule rule, int distanceMin, int distanceMax);

    [[nodiscard]] bool isDone() const { return working_.empty(); }
    /// The tiles still to deal, in their current order.
    [[nodiscard]] const TileList& getWorking() const { return working_; }
    /// Takes `tile` off the list (first occurrence) and off the layout.
    void take(Tile* tile);

    /// Deals one set of `setSize` tiles: picks a free tile, sorts the list
    /// by distance to it, draws the target distance and finds `setSize - 1`
    /// partners; appends the set to `order` and takes it off. False, taking
    /// nothing, when too few other tiles are free.
    bool dealSet(int setSize, TileList& order);

    /// A free tile drawn at random from the list (repeating the draw until
    /// the tile drawn is free); null when no tile of the list is free.
    [[nodiscard]] Tile* pickFree();
    /// Sets every tile's deal key to its distance to `from` (|dx| + |dy| +
    /// |dz| in cells) and sorts the list by it; equal distances keep their
    /// order.
    void sortByDistance(const Tile& from);
    /// The target distance: a draw from [min, max) when min < max, else
    /// max; at least 1.
    [[nodiscard]] int drawTargetDistance() const;
    /// The first free tile of the list at `distance` or more that is none of
    /// `exclude`; else the free tile met first from the end of the list (the
    /// farthest one), which may be the picked tile itself.
    [[nodiscard]] Tile* findPartner(int distance, const TileList& exclude) const;

private:
    // The greatest distance two tiles of the grid can have.
    static constexpr int kMaxDistance = Layout::kMaxX + Layout::kMaxY + Layout::kMaxZ;

    Layout& layout_;
    FreeTileRule rule_;
    int distanceMin_;
    int distanceMax_;
    TileList working_;
    TileList sorted_; // scratch of the sort, kept to reuse its room
};

/// Deals the whole of `layout` in sets of `setSize`, each set by distance
/// under `rule` and the distance tuning of `level` (none: 0 and 0), appending
/// the sets to `order`. False when it got stuck.
bool dealInSets(Layout& layout, FreeTileRule rule, const Level* level, int setSize,
                TileList& order);

} // namespace orv
