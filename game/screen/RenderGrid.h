#pragma once

#include <array>
#include <cstddef>

namespace orv {

class RenderTile;

/// The renderer's mirror of the layout grid: 41 x 21 x 7 cells in
/// coordinates relative to the renderer's origin, each borrowing the render
/// tile drawn there (null = nothing drawn). A render tile at (x, y, z) stands
/// in the cells (x, y), (x+1, y), (x, y+1) and (x+1, y+1) of layer z. Every
/// lookup is bounds-checked: cells outside the grid are empty.
class RenderGrid {
public:
    static constexpr int kColumns = 41;
    static constexpr int kRows = 21;
    static constexpr int kLayers = 7;

    [[nodiscard]] static bool isInside(int x, int y, int z) {
        return x >= 0 && x < kColumns && y >= 0 && y < kRows && z >= 0 && z < kLayers;
    }
    /// The render tile in the cell, null when empty or outside.
    [[nodiscard]] RenderTile* at(int x, int y, int z) const {
        return isInside(x, y, z) ? cells_[index(x, y, z)] : nullptr;
    }
    /// Open for the neighbour flags: outside, empty, or a tile fading out.
    [[nodiscard]] bool isOpen(int x, int y, int z) const;
    /// Puts `tile` into its four cells (the ones inside the grid).
    void put(RenderTile& tile);
    /// Empties the four cells of `tile` that hold it.
    void take(RenderTile& tile);
    /// Empties every cell.
    void clear() { cells_.fill(nullptr); }

private:
    [[nodiscard]] static std::size_t index(int x, int y, int z) {
        return ((static_cast<std::size_t>(x) * std::size_t{kRows} + static_cast<std::size_t>(y)) *
                std::size_t{kLayers}) +
               static_cast<std::size_t>(z);
    }
    std::array<RenderTile*, std::size_t{kColumns} * kRows * kLayers> cells_{};
};

} // namespace orv
