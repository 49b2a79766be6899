#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "engine/scene/Sprite.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace orv {

class BoardLook;
class RenderGrid;
class RenderTile;

/// One layer of the board drawn into an image of its own, shown as a child
/// sprite of the renderer. The image is drawn once and then repaired only
/// inside the renderer's dirty rectangles: each tile is drawn as four
/// quarters in cell order, so tiles half a tile apart overlap correctly, and
/// quarters that the tiles above and beside cover are skipped. Every tile
/// casts a shadow strip onto the open cells left of and above it.
///
/// Rectangles handed in are in board-plane coordinates (the renderer's own
/// pixels with the layer shift left out); the image's pixels start at the
/// plane point (minX * W / 2, minY * H / 2).
class LayerSprite : public Sprite {
public:
    /// An empty layer at (0, 0) without an image. `look` and `grid` are
    /// borrowed from the renderer, which outlives its layers.
    LayerSprite(const BoardLook& look, const RenderGrid& grid);

    /// Appends `tile` (borrowed from the renderer) and widens the extent.
    void addTile(RenderTile& tile);
    /// Creates the transparent layer image and places the sprite; the first
    /// `redraw` does it when there is none yet.
    void createImage();
    /// Repairs the image inside `dirtyRects` (plane coordinates, disjoint):
    /// clears them, draws the shadows, then the bodies and faces.
    void redraw(const std::vector<Rect>& dirtyRects);

    [[nodiscard]] const std::vector<RenderTile*>& getTiles() const { return tiles_; }
    [[nodiscard]] int getMinX() const { return minX_; }
    [[nodiscard]] int getMinY() const { return minY_; }
    [[nodiscard]] int getMinZ() const { return minZ_; }
    [[nodiscard]] int getMaxX() const { return maxX_; }
    [[nodiscard]] int getMaxY() const { return maxY_; }
    /// The plane rectangle the layer image covers; empty before the image.
    [[nodiscard]] Rect getPlaneRect() const;

    bool symbolsShown = true;    ///< the faces are drawn
    std::uint32_t tintColor = 0; ///< 0xRRGGBB laid over every body of the layer
    int tintAlpha = 0;           ///< alpha of the tint; 0 means none

private:
    void drawShadows(Graphics& g, const std::vector<Rect>& local);
    void drawBodies(Graphics& g, const std::vector<Rect>& local);
    void drawShadowPieces(Graphics& g, const RenderTile& tile, int tx, int ty);
    // Draws part `source` of `image` at (x, y) and raises the layer's alpha
    // to the part's.
    void drawPiece(Graphics& g, Image& image, int x, int y, const Rect& source);
    // The body picture of `tile`'s top effect, tinted when the layer is;
    // null when there is none.
    Image* bodyFor(const RenderTile& tile);
    [[nodiscard]] int faceX(int x) const;
    [[nodiscard]] int faceY(int y) const;

    const BoardLook& look_;
    const RenderGrid& grid_;
    std::vector<RenderTile*> tiles_;
    int minX_ = std::numeric_limits<int>::max();
    int minY_ = std::numeric_limits<int>::max();
    int minZ_ = std::numeric_limits<int>::max();
    int maxX_ = 0;
    int maxY_ = 0;
    RefPtr<Image> layerImage_;
    // A reused picture for a tinted body: the effect's own picture is never
    // changed by the layer's tint.
    RefPtr<Image> tinted_;
};

} // namespace orv
