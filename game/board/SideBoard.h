#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "engine/scene/Sprite.h"
#include "game/board/GameType.h"
#include "game/board/Tile.h"

#include <functional>
#include <optional>
#include <vector>

namespace orv {

class PropertyNode;
class SideBoard;

/// What draws a side board. The board itself keeps the slots and their
/// tiles; the playing screen installs one painter for every side board
/// (`SideBoard::setPainter`) that draws the slots and animates their tiles'
/// looks. Without a painter a side board draws as a plain sprite.
class SideBoardPainter {
public:
    SideBoardPainter() = default;
    SideBoardPainter(const SideBoardPainter&) = delete;
    SideBoardPainter& operator=(const SideBoardPainter&) = delete;
    virtual ~SideBoardPainter() = default;

    /// A tile was put into slot (column, row): `arrived` is true when it came
    /// through `putTile` (load, fill, undo), false when the side board was
    /// copied with it. The painter may keep a look for it with `setSlotLook`.
    virtual void tilePut(SideBoard& board, int column, int row, bool arrived) = 0;
    /// Once per frame while the side board is in the scene (elapsed ms >= 0).
    virtual void update(SideBoard& board, int elapsedMs) = 0;
    /// Draws the side board into `graphics` at its place.
    virtual void render(SideBoard& board, Graphics& graphics) = 0;
};

/// The rack of tile slots beside the board: FreeCell's free cells, the twins
/// on show in Split and Speed. A sprite with columns x rows slots; a tile in
/// a slot has its side-board flag set, its column and row as its place and
/// layer 0. It belongs to its layout, is read and written with it, and is
/// filled by the game.
///
/// Positions: the side board's own x and y are pixels in its parent's
/// coordinates; slot geometry (margins and slot size, `setSlotGeometry`) is
/// in pixels from the side board's top-left corner.
///
///     <SideBoard x="620" y="120" width="4" height="2"/>
///     RefPtr<SideBoard> rack = kindCast<SideBoard>(createFromDefinition(node));
///     rack->fill(game);                      // one new tile per empty slot
///     int x = mouseX, y = mouseY;
///     if (rack->slotAt(x, y)) { ... slot (x, y) ... }
class SideBoard : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Built from a definition: "x", "y" (pixels), "width" (columns) and
    /// "height" (rows), and "tiles", whose tiles go into the slots their "x"
    /// and "y" name. Without "width" the dimensions stay -1 and there are no
    /// slots. Tiles that are not tiles, name a slot that does not exist or
    /// is taken, or have a face no suit has are logged and left out
    /// (`isIntact` then answers false).
    explicit SideBoard(PropertyNode* definition);
    /// A copy: position, dimensions, geometry, and a copy of every slot
    /// tile in the same slot (announced to the painter as not arriving).
    SideBoard(const SideBoard& other);
    SideBoard& operator=(const SideBoard&) = delete;
    ~SideBoard() override;
    /// The object factory's create function for "SideBoard".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Writes "width", "height", "x", "y" and the vector "tiles" (one "Tile"
    /// per occupied slot, columns outer, rows inner).
    void save(PropertyNode* node) const;
    /// False when the definition it was built from had to be mended.
    [[nodiscard]] bool isIntact() const { return intact_; }

    /// Empties every slot and gives the board `columns` x `rows` empty
    /// slots. Negative sizes give no slots.
    void setDimensions(int columns, int rows);
    [[nodiscard]] int getColumns() const { return columns_; }
    [[nodiscard]] int getRows() const { return rows_; }
    /// columns x rows; 0 while the dimensions are unset.
    [[nodiscard]] int getSlotCount() const { return slotCount_; }

    /// Puts `tile` into the empty slot (column, row): sets its place to
    /// (column, row, 0) and its side-board flag, places its sprite and marks
    /// the slot for drawing. False, changing nothing, for a null tile, a slot
    /// that does not exist or one that is taken.
    bool putTile(Tile* tile, int column, int row);
    /// Empties the slot (the tile's own fields stay as they are); nothing
    /// for an empty or missing slot.
    void removeTileAt(int column, int row);
    /// The tile in slot (column, row), or null. Borrowed.
    [[nodiscard]] Tile* getTileAt(int column, int row) const;
    /// Asks `newTile` (the current game's `Game::newTile`) for a tile once
    /// per empty slot and puts each into the first empty slot (rows from the
    /// top, columns from the left); stops at the first null.
    void fill(const std::function<RefPtr<Tile>()>& newTile);
    /// Empties every slot.
    void clear();
    [[nodiscard]] int countTiles() const;
    /// Appends the tile of every occupied slot, rows outer, columns inner.
    void getTiles(TileList& out) const;

    /// Slot geometry in pixels inside the side board: the offset of slot
    /// (0, 0) and the size of one slot.
    void setSlotGeometry(int marginX, int marginY, int slotWidth, int slotHeight);
    /// The geometry the game type's side board has by the tuning constants:
    /// FreeCell's cell padding and the rack's tile pitch, or the rack's
    /// padding (plus Speed's extra margin) and the board's tile face size.
    /// The painter may set the exact geometry of its pictures later.
    void applyStandardGeometry(GameType gameType);
    [[nodiscard]] int getMarginX() const { return marginX_; }
    [[nodiscard]] int getMarginY() const { return marginY_; }
    [[nodiscard]] int getSlotWidth() const { return slotWidth_; }
    [[nodiscard]] int getSlotHeight() const { return slotHeight_; }

    /// Turns a screen point (x, y), in the root's pixels, into a slot column
    /// and row in place; true when that slot exists. A point left of or
    /// above the side board gives false and stays unchanged.
    bool slotAt(int& x, int& y) const;
    /// Turns a slot (column, row) in place into the screen position of the
    /// slot's top-left corner.
    void slotScreenPos(int& column, int& row) const;

    /// The part of the side board to draw again, in its own pixels; absent
    /// when nothing changed. A new side board is wholly dirty.
    [[nodiscard]] const std::optional<Rect>& getDirtyRect() const { return dirtyRect_; }
    void clearDirtyRect() { dirtyRect_.reset(); }
    /// Adds the slot rectangle of `tile` (a tile in a slot) to the dirty part.
    void invalidateTile(const Tile& tile);
    /// Makes the whole side board dirty and returns (0, 0, width, height).
    Rect getLocalRect();

    /// A look the painter keeps for the tile in slot (column, row) (its
    /// drawing state); it goes with the slot's tile. Borrowed; null when none.
    [[nodiscard]] BaseObject* getSlotLook(int column, int row) const;
    void setSlotLook(int column, int row, BaseObject* look);

    /// Installs the painter of every side board (borrowed; it must outlive
    /// its use or be removed with null).
    static void setPainter(SideBoardPainter* painter);
    [[nodiscard]] static SideBoardPainter* getPainter();

    void updateSelf(int elapsedMs) override;
    void render(Graphics& graphics) override;

private:
    [[nodiscard]] bool isSlot(int column, int row) const {
        return column >= 0 && column < columns_ && row >= 0 && row < rows_;
    }
    [[nodiscard]] std::size_t slotIndex(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }
    // Puts the tile in place and sets its sprite position; no painter call.
    void placeTile(Tile* tile, int column, int row);
    void positionTileSprite(Tile& tile, int column, int row) const;

    int columns_ = -1;
    int rows_ = -1;
    int marginX_ = 0;
    int marginY_ = 0;
    int slotWidth_ = 0;
    int slotHeight_ = 0;
    int slotCount_ = 0;
    std::vector<RefPtr<Tile>> slots_;
    std::vector<RefPtr<BaseObject>> looks_;
    std::optional<Rect> dirtyRect_ = Rect{0, 0, 800, 600};
    bool intact_ = true;
};

} // namespace orv
