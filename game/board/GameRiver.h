#pragma once

#include "game/board/Game.h"

#include <array>

namespace orv {

/// Game type 4: two free tiles match when they lie on one layer, share a
/// match key and can be joined by a connecting path over that layer
/// (`PathGrid`). A tile is also free when its top or bottom side is open.
/// The deal pairs the tiles layer by layer from the top. Registered as
/// "GameRiver".
class GameRiver : public Game {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new game (null), or one read back from its saved "game" node.
    explicit GameRiver(PropertyNode* saved);
    /// The object factory's create function for "GameRiver".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Different tiles of one layer with equal keys that a path connects on
    /// the game's board.
    [[nodiscard]] bool tilesMatch(const Tile* a, const Tile* b) const override;
    /// The board's faces in random pairs of equal keys (places play no part).
    void groupIntoSets(std::vector<TileDef>& out) override;
    /// Layer by layer from the top: pairs of tiles of the layer, each pair
    /// free (River rule) and connected by a path while the pairs before it
    /// are off the board. Random draws first; when they keep missing, every
    /// pair of the layer's free tiles is tried. False when a layer is left
    /// with a tile, or with tiles no two of which can be paired.
    bool deal(Layout& layout, TileList& order) override;
    /// Every layer holds an even number of tiles.
    [[nodiscard]] bool dealCanSucceed(const Layout& board) const override;

    /// Whether a path joins `a` and `b` over their layer of `layout`
    /// (different tiles of one layer; faces play no part).
    [[nodiscard]] static bool connected(const Layout& layout, const Tile& a, const Tile& b);

    /// The path searches the last deal made on each layer (for the
    /// benchmark and the deal tool).
    [[nodiscard]] const std::array<int, Layout::kLayers>& getDealSearches() const {
        return dealSearches_;
    }

private:
    std::array<int, Layout::kLayers> dealSearches_{};
};

} // namespace orv
