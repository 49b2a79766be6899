#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "engine/scene/Sprite.h"
#include "game/board/Tile.h"
#include "game/screen/BoardLook.h"
#include "game/screen/RenderGrid.h"

#include <vector>

namespace orv {

class LayerSprite;
class Layout;
class RenderTile;

/// Draws the board of the level being played: one render tile per tile, one
/// layer sprite per layer (its children, from layer 0 up), each layer image
/// repaired only inside the rectangles that changed since the last frame.
/// It answers where a tile is on screen and which tile lies under a screen
/// point, and starts the tile effects.
///
/// Coordinates: the rule engine speaks in layout cells; inside, everything is
/// relative to the origin (the smallest x, y, z of the first build). Dirty
/// rectangles are in board-plane pixels (the renderer's own pixels with the
/// layer shift left out), so one rectangle names the same area of every
/// layer. Screen points are pixels of the 800 x 600 screen.
///
///     RefPtr<LayoutRenderer> board(new LayoutRenderer(tileSet));
///     board->build(*layout, undoTiles);
///     GameTree::appendChild(board.get(), boardPanel);
///     board->flush();
///     board->detachTiles();                 // the build-up adds them one by one
///     ...
///     if (Tile* tile = board->tileAt(*layout, mouseX, mouseY)) board->startTileHover(*tile);
///
/// Main thread only.
class LayoutRenderer : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The whole-screen rectangle a change of the whole board adds.
    static constexpr Rect kScreenRect{0, 0, 800, 600};

    /// An empty renderer (origin 41, 21, 7) drawing with the game's look for
    /// tile set `tileSet` (0 for "SYMBOLS1"; `BoardLook::fromResources`).
    explicit LayoutRenderer(int tileSet);
    /// An empty renderer drawing with `look` (not null).
    explicit LayoutRenderer(BoardLook* look);
    LayoutRenderer(const LayoutRenderer&) = delete;
    LayoutRenderer& operator=(const LayoutRenderer&) = delete;
    ~LayoutRenderer() override;

    /// Builds render tiles, grid, layers and size from `layout`, plus a
    /// hidden render tile for every tile of `extra` that is not on the side
    /// board (the tiles an undo may bring back). Nothing when the layout has
    /// no tiles. The first build fixes the origin; later ones keep it. Adds
    /// the whole-screen rectangle.
    void build(const Layout& layout, const TileList& extra);
    /// `build` without extra tiles (after a shuffle).
    void rebuild(const Layout& layout);
    /// Takes every render tile out of the grid and hides it; whole screen dirty.
    void detachTiles();

    /// The render tile at `tile`'s place (its layout cell minus the origin),
    /// or null; always null for a side-board tile, which the board does not
    /// draw. Borrowed from the renderer.
    [[nodiscard]] RenderTile* renderTileFor(const Tile& tile) const;
    /// Shows `renderTile` (one of this renderer's): into the grid, not hidden.
    void addRenderTile(RenderTile& renderTile);
    /// Hides the render tile of the relative cell (x, y, z); nothing when empty.
    void removeRenderTileAt(int x, int y, int z);
    /// Marks `renderTile`'s area (face, edges, shadow) for redrawing in its
    /// own layer.
    void placeRenderTile(const RenderTile& renderTile);
    /// Adds a plane rectangle to redraw in every layer at the next drawing.
    void addDirtyRect(const Rect& rect) { dirtyRects_.push_back(rect); }

    /// Screen x (y) of the top-left corner of the face of a tile at layout
    /// x (y) and layer z.
    [[nodiscard]] int tileScreenX(int x, int z) const;
    [[nodiscard]] int tileScreenY(int y, int z) const;
    /// The tile under the screen point: a side-board slot's tile first, then
    /// the board from the top layer down, reading `layout`'s grid (a tile the
    /// layout dropped no longer answers). Null when none. Borrowed.
    [[nodiscard]] Tile* tileAt(const Layout& layout, int px, int py) const;

    /// Gives each layer n the tint LAYER_COLOR<n> at LAYER_ALPHA<n> (a
    /// missing setting reads 0: no tint). Adds no dirty rectangle.
    void applyLayerColors();
    /// Draws every tile without (with) its face; whole screen dirty.
    void hideSymbols();
    void showSymbols();
    [[nodiscard]] bool areSymbolsShown() const { return symbolsShown_; }
    /// Unless `tile` is on the side board or its render tile is missing or
    /// busy: its earlier look back, and its area dirty.
    void refreshTile(const Tile& tile);

    // Effect starters: each replaces the effect stack of `tile`'s render tile
    // (nothing when it has none).
    void startTilePulse(const Tile& tile);
    /// The fade of a removed tile; `mode` is the match's bonus multiplier.
    void startTileFade(const Tile& tile, int mode);
    void startTileEffectC(const Tile& tile);
    /// The super-hint tint; skipped while the tile fades out.
    void startTileTint(const Tile& tile);
    void startTileSelect(const Tile& tile);
    /// The hover tint and its dirty rectangle; skipped for a side-board tile.
    void startTileHover(const Tile& tile);
    void startTilePlain(const Tile& tile);
    void startTileSwell(const Tile& tile);
    void startTileLighten(const Tile& tile);

    /// Redraws the layers inside the dirty rectangles (merged into a
    /// disjoint cover) and forgets them; the areas of tiles whose neighbour
    /// flags changed since their last drawing join them. `render` calls it.
    void flush();
    /// Steps the top effect of every shown render tile; the ones that
    /// changed become dirty rectangles, the ones whose fade ended are hidden.
    void updateSelf(int elapsedMs) override;
    /// Flushes, then draws as a sprite (the layers follow as children).
    void render(Graphics& graphics) override;

    [[nodiscard]] BoardLook& getLook() const { return *look_; }
    /// The face sheet in use (borrowed from the look; may be null).
    [[nodiscard]] Image* getSymbolsImage() const { return look_->getSymbolsImage(); }
    [[nodiscard]] const std::vector<RefPtr<RenderTile>>& getRenderTiles() const {
        return renderTiles_;
    }
    [[nodiscard]] const std::vector<RefPtr<LayerSprite>>& getLayers() const { return layers_; }
    [[nodiscard]] const RenderGrid& getGrid() const { return grid_; }
    /// The rectangles to redraw in every layer (a tile's own area waits in
    /// its layer's list).
    [[nodiscard]] const std::vector<Rect>& getDirtyRects() const { return dirtyRects_; }
    [[nodiscard]] int getOriginX() const { return originX_; }
    [[nodiscard]] int getOriginY() const { return originY_; }
    [[nodiscard]] int getOriginZ() const { return originZ_; }
    [[nodiscard]] int getNumLayers() const { return numLayers_; }
    /// Recomputes the quarter and shadow flags of every render tile.
    void computeNeighbourFlags();

private:
    // The render tile to start an effect on, or null.
    [[nodiscard]] RenderTile* effectTarget(const Tile& tile) const;
    void computeFlags(RenderTile& tile) const;

    RefPtr<BoardLook> look_;
    std::vector<RefPtr<RenderTile>> renderTiles_;
    RenderGrid grid_;
    std::vector<RefPtr<LayerSprite>> layers_;
    std::vector<Rect> dirtyRects_;                   // to redraw in every layer
    std::vector<std::vector<Rect>> layerDirtyRects_; // to redraw in one layer, by z
    int originX_ = RenderGrid::kColumns;
    int originY_ = RenderGrid::kRows;
    int originZ_ = RenderGrid::kLayers;
    int numLayers_ = 0;
    bool symbolsShown_ = true;
};

} // namespace orv
