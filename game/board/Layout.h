#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "game/board/GameType.h"
#include "game/board/Tile.h"

#include <array>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;
class SideBoard;

/// Which sides may open a tile. In River a tile is also free when its top or
/// bottom side is open.
enum class FreeTileRule { Standard, River };

/// The rule of the current game: `River` while the current game's level is a
/// River level, else `Standard` (also when there is no current game).
[[nodiscard]] FreeTileRule currentFreeTileRule();

/// The board of one level: a grid of 41 x 21 x 7 cells in which every tile
/// covers two by two cells on one layer, the optional side board and the
/// layout's display name. Every rule asks the layout whether a tile is free;
/// every change of the board goes through `setTileAt` and `removeTile`.
///
/// Coordinates are cells (half a tile): a tile at (x, y, z) covers (x, y),
/// (x + 1, y), (x, y + 1) and (x + 1, y + 1) on layer z. Queries accept any
/// coordinates: a cell outside the grid is empty.
///
/// The functions that depend on the free-tile rule take it as an argument;
/// left out, it is the current game's (`currentFreeTileRule`).
///
///     RefPtr<Layout> board = Layout::loadFile("media/levels/turtle.xml", GameType::Classic, -1);
///     TileList free;
///     board->getFreeTiles(free, FreeTileRule::Standard);
///
/// Main thread only.
class Layout : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kColumns = 41;
    static constexpr int kRows = 21;
    static constexpr int kLayers = 7;
    /// The largest origin of a tile in each dimension.
    static constexpr int kMaxX = kColumns - 2;
    static constexpr int kMaxY = kRows - 2;
    static constexpr int kMaxZ = kLayers - 1;
    static constexpr std::size_t kCellCount = std::size_t{kColumns} * kRows * kLayers;
    static constexpr std::size_t kRowCount = std::size_t{kRows} * kLayers;
    /// The display name of a layout that names none.
    static constexpr std::string_view kNoName = "TEXT_LAYOUT_NONAME";

    /// An empty layout: no tiles, no side board, counts 0, the name
    /// "TEXT_LAYOUT_NONAME".
    Layout();
    /// A deep copy of `source`: a new tile for every tile (same fields, same
    /// place, in grid order), the same tile count, name and original tile
    /// count, and a copy of its side board with copies of the slot tiles.
    explicit Layout(const Layout& source);
    Layout& operator=(const Layout&) = delete;
    ~Layout() override;

    /// Whether (x, y, z) is a valid origin of a tile.
    [[nodiscard]] static bool isValidOrigin(const TilePos& pos) {
        return pos.x >= 0 && pos.x <= kMaxX && pos.y >= 0 && pos.y <= kMaxY && pos.z >= 0 &&
               pos.z <= kMaxZ;
    }

    // ---- file form (Layout_file.cpp) ------------------------------------------

    /// Builds a layout from a layout node ("tiles", "displayname",
    /// "originalTileCount", and for FreeCell, Split and Speed "sideboard" or
    /// "sideboards"[sideBoardIndex]). `source` names the data in log lines.
    ///
    /// Elements that are not tiles, tiles off the grid or with a face no suit
    /// has, a side board that is not one, and a side-board index beyond the
    /// list are logged with `source` and left out; `intact`, when given, is
    /// set to whether nothing had to be left out. A null or non-node argument
    /// reads as the empty node.
    [[nodiscard]] static RefPtr<Layout> load(PropertyNode* node, GameType gameType,
                                             int sideBoardIndex, std::string_view source,
                                             bool* intact = nullptr);
    /// Loads the layout file `path` (relative to the program folder) and
    /// builds the layout from its top-level node "layout". A file that cannot
    /// be read, or has no such node, is logged and gives an empty layout.
    [[nodiscard]] static RefPtr<Layout> loadFile(std::string_view path, GameType gameType,
                                                 int sideBoardIndex);
    /// Writes "tileCount", "displayname", the vector "tiles" (grid order),
    /// the node "sideboard" when there is one, and "originalTileCount".
    /// Nothing on the dummy node.
    void save(PropertyNode* node) const;

    // ---- the grid -------------------------------------------------------------

    /// The tile in cell (x, y, z), null when empty or outside the grid.
    /// Borrowed from the layout.
    [[nodiscard]] Tile* getGridCell(int x, int y, int z) const {
        return isInside(x, y, z) ? cells_[index(x, y, z)] : nullptr;
    }
    /// True when the cell is outside the grid, empty, or holds a tile whose
    /// present flag is clear.
    [[nodiscard]] bool isCellOpen(int x, int y, int z) const {
        const Tile* tile = getGridCell(x, y, z);
        return tile == nullptr || !tile->isPresent();
    }

    /// Places `tile` with its origin at `pos`: every tile that stands in one
    /// of the four cells is taken off first, then the tile is stored in the
    /// four cells, its place set and the tile count raised. A null tile only
    /// clears the square. An origin off the grid is refused (logged) and
    /// changes nothing: false.
    bool setTileAt(Tile* tile, const TilePos& pos);
    /// Takes `tile` off the grid (the count drops by one), or a side-board
    /// tile out of its slot (the count is unchanged). Null, or a tile that is
    /// not on this board, changes nothing. The tile's own fields stay.
    void removeTile(Tile* tile);
    /// Places every tile of `tiles` at its own place, in list order.
    void addTiles(const TileList& tiles);
    /// Empties the grid (the side board stays).
    void clear();

    [[nodiscard]] int getTileCount() const { return tileCount_; }
    [[nodiscard]] int getOriginalTileCount() const { return originalTileCount_; }
    void setOriginalTileCount(int count) { originalTileCount_ = count; }
    [[nodiscard]] const std::string& getDisplayName() const { return displayName_; }
    /// An empty name becomes "TEXT_LAYOUT_NONAME".
    void setDisplayName(std::string_view name);
    /// The side board, or null. Borrowed from the layout.
    [[nodiscard]] SideBoard* getSideBoard() const { return sideBoard_.get(); }
    /// Holds `sideBoard` (may be null) instead of the current one.
    void setSideBoard(SideBoard* sideBoard);

    // ---- the free-tile rule ---------------------------------------------------

    /// Whether `tile` may be selected: a side-board tile always; else nothing
    /// may lie on it (not even half) and its left or right side must be open
    /// (in River also its top or bottom side).
    [[nodiscard]] bool isTileFree(const Tile& tile,
                                  FreeTileRule rule = currentFreeTileRule()) const;
    /// The side tests of the rule, for a tile at `pos`: the edge of the grid,
    /// or both cells beside the tile on its layer open.
    [[nodiscard]] bool isLeftSideOpen(const TilePos& pos) const;
    [[nodiscard]] bool isRightSideOpen(const TilePos& pos) const;
    [[nodiscard]] bool isTopSideOpen(const TilePos& pos) const;
    [[nodiscard]] bool isBottomSideOpen(const TilePos& pos) const;
    /// True when `tile` is blocked and one single free tile is all that
    /// blocks it: the one tile lying on it, or (with nothing on it) the one
    /// tile on its left or its right. Counts tiles that are not present.
    /// Always false in River.
    [[nodiscard]] bool isUnderFreeTile(const Tile& tile,
                                       FreeTileRule rule = currentFreeTileRule()) const;
    /// Appends the distinct tiles touching `tile` (left, right, top, bottom
    /// neighbours on its layer, then those lying on it) that `out` does not
    /// hold yet; returns the size of `out`.
    int collectAdjacentTiles(const Tile& tile, TileList& out) const;

    // ---- tile lists (grid order: layer, row, column) ---------------------------

    /// Appends every grid tile.
    void getTiles(TileList& out) const;
    void getFreeTiles(TileList& out, FreeTileRule rule = currentFreeTileRule()) const;
    void getTilesOnLayer(TileList& out, int z) const;
    void getTilesUnderFreeTile(TileList& out, FreeTileRule rule = currentFreeTileRule()) const;
    /// Number of free grid tiles.
    [[nodiscard]] int countFreeTiles(FreeTileRule rule = currentFreeTileRule()) const;
    /// A free tile whose removal would free the tile under it, among tiles
    /// with few enough neighbours for the side board to hold them, chosen at
    /// random (the shuffle source); null when none, when there is no side
    /// board or when it is full.
    [[nodiscard]] Tile*
    findTileFreeableBySideBoard(FreeTileRule rule = currentFreeTileRule()) const;

    /// One more than the largest x (y) of an occupied cell; 0 when empty.
    [[nodiscard]] int getWidth() const;
    [[nodiscard]] int getHeight() const;

    /// Calls `visit(Tile&)` for every grid tile in grid order.
    template <class Visit>
    void forEachTile(Visit&& visit) const {
        for (int z = 0; z < kLayers; ++z) {
            for (int y = 0; y < kRows; ++y) {
                if (rowOrigins_[rowIndex(y, z)] == 0) {
                    continue;
                }
                for (int x = 0; x < kColumns; ++x) {
                    Tile* tile = cells_[index(x, y, z)];
                    if (tile != nullptr && tile->getPos().x == x && tile->getPos().y == y) {
                        visit(*tile);
                    }
                }
            }
        }
    }

private:
    [[nodiscard]] static constexpr bool isInside(int x, int y, int z) {
        return x >= 0 && x < kColumns && y >= 0 && y < kRows && z >= 0 && z < kLayers;
    }
    [[nodiscard]] static constexpr std::size_t rowIndex(int y, int z) {
        const auto row = z * kRows + y;
        return static_cast<std::size_t>(row);
    }
    [[nodiscard]] static constexpr std::size_t index(int x, int y, int z) {
        const auto cell = (z * kRows + y) * kColumns + x;
        return static_cast<std::size_t>(cell);
    }
    // Takes the tile in cell (x, y, z), if any, off its four cells.
    void removeTileInCell(int x, int y, int z);
    // The one tile held by the two cells, or null when they hold none or two
    // different tiles (tiles that are not present count).
    [[nodiscard]] Tile* singleTileIn(int x1, int y1, int x2, int y2, int z) const;

    int tileCount_ = 0;
    RefPtr<SideBoard> sideBoard_;
    int originalTileCount_ = 0;
    // Each non-null cell holds one reference to its tile (four per tile).
    std::array<Tile*, kCellCount> cells_{};
    // How many tiles have their origin in each row (z, y), so that walks
    // skip the empty rows.
    std::array<int, kRowCount> rowOrigins_{};
    std::string displayName_{kNoName};
};

} // namespace orv
