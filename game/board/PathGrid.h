#pragma once

#include "game/board/Layout.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orv {

/// One straight, axis-parallel piece of a connecting path, in grid points
/// (quarter tiles, `PathGrid`) or, after `PathGrid::segmentToScreen`, in
/// screen pixels.
struct PathSegment {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int dx = 0;              ///< x2 - x1
    int dy = 0;              ///< y2 - y1
    int length = 0;          ///< the larger of |dx| and |dy|
    bool middle = false;     ///< leaves its tile through the middle point of an edge
    bool horizontal = false; ///< runs along X

    /// Sets dx, dy and length from the end points.
    void recompute();
    /// Swaps the two end points.
    void reverse();
};

/// The connecting-path search of River: whether two tiles of one layer can
/// be joined by a line of at most three straight segments that leaves each
/// tile through one of its edges and crosses no tile of that layer (tiles of
/// other layers are no obstacle; the line may run in a margin around the
/// board).
///
/// The grid works in quarter tiles: board cell (x, y) covers the squares
/// (2x + 2, 2y + 2) to (2x + 3, 2y + 3), so the grid has 86 x 46 squares with
/// a margin of two on every side. A point (X, Y) is the top-left corner of
/// square (X, Y). A value made on the stack for one question:
///
///     PathGrid grid;
///     grid.build(layout, a, b);
///     if (grid.findPath()) { use grid.getPath() (from a to b) }
class PathGrid {
public:
    static constexpr int kWidth = 2 * Layout::kColumns + 4;
    static constexpr int kHeight = 2 * Layout::kRows + 4;

    /// Marks the squares of every present tile on `start`'s layer of
    /// `layout` and the border points of both tiles; clears the path. Both
    /// tiles are borrowed for the call only; their origins must lie on the
    /// grid.
    void build(const Layout& layout, const Tile& start, const Tile& goal);
    /// Searches every pair of rays of the two tiles for the best path; true
    /// when there is one, which `getPath` then holds from the start tile's
    /// centre line to the goal tile's.
    bool findPath();
    /// Whether a path exists, answered at the first one met (the rules and
    /// the deal need no more); `getPath` then holds that unoriented path
    /// and no other. Same answer as `findPath`.
    bool connects();
    [[nodiscard]] const std::vector<PathSegment>& getPath() const { return path_; }
    /// Replaces the contents of `out` by the path's segments.
    void copyPath(std::vector<PathSegment>& out) const { out = path_; }
    /// Turns a segment's grid points into screen pixels in place: the point
    /// (2, 2) is at (originX, originY) and one point step is a quarter of a
    /// tile face (TILE_FACE_WIDTH, TILE_FACE_HEIGHT), truncated toward zero.
    static void segmentToScreen(PathSegment& segment, int originX, int originY);

    [[nodiscard]] int getLayer() const { return layer_; }
    /// Whether square (X, Y) is covered by a tile of the layer; false
    /// outside the grid.
    [[nodiscard]] bool isBlocked(int x, int y) const;
    /// Whether the path may pass point (X, Y): a border point of either
    /// tile, or a point none of whose four squares is covered.
    [[nodiscard]] bool isPassable(int x, int y) const;

private:
    struct Cell {
        std::uint8_t blocked = 0;
        std::uint8_t startBorder = 0;
        std::uint8_t goalBorder = 0;
    };
    using Path = std::vector<PathSegment>;

    [[nodiscard]] static bool inside(int x, int y) {
        return x >= 0 && x < kWidth && y >= 0 && y < kHeight;
    }
    [[nodiscard]] const Cell& at(int x, int y) const {
        return cells_[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)];
    }
    [[nodiscard]] Cell& at(int x, int y) {
        return cells_[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)];
    }
    void markBorder(int cornerX, int cornerY, bool start);
    void collectRays(int cornerX, int cornerY, std::vector<PathSegment>& rays) const;
    // The ray kept from its own tile's border end to the line at `x` (a
    // horizontal ray) or `y` (a vertical one).
    [[nodiscard]] PathSegment cut(const PathSegment& ray, bool start, int x, int y) const;
    void consider(Path& candidate);
    // Collects the candidates into `path_` (the best, or with `firstOnly`
    // the first); true when there is one.
    bool search(bool firstOnly);

    int layer_ = 0;
    std::array<Cell, static_cast<std::size_t>(kWidth) * kHeight> cells_{};
    Path path_;
    float startX_ = 0;
    float startY_ = 0;
    float goalX_ = 0;
    float goalY_ = 0;
};

} // namespace orv
