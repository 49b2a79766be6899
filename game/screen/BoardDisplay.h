#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/graphics/Graphics.h"
#include "engine/resources/Image.h"
#include "game/board/Tile.h"

#include <cstdint>
#include <utility>

namespace orv {

class GameNode;
class Layout;

/// What the playing screen needs of the drawn board: the node it hangs in
/// its layout panel, the hit test, placing and taking away tiles during the
/// build-up and the shuffle, and the looks of single tiles. The board
/// renderer answers it; tests answer it with a plain grid of points.
///
/// Screen points are pixels of the 800 x 600 screen; tiles are the model's
/// and borrowed for the call. Main thread only.
class BoardDisplay : public BaseObject {
public:
    /// The drawn board's node (borrowed from the display).
    [[nodiscard]] virtual GameNode& getNode() = 0;
    [[nodiscard]] virtual int getWidth() const = 0;
    [[nodiscard]] virtual int getHeight() const = 0;

    /// Builds render tiles for the layout's tiles and for `extra` (tiles
    /// that undo may bring back).
    virtual void build(const Layout& layout, const TileList& extra) = 0;
    /// Builds again for a new deal of the layout.
    virtual void rebuild(const Layout& layout) = 0;
    /// Takes every tile out of the drawn grid (the build-up places them).
    virtual void detachTiles() = 0;
    /// Draws what changed.
    virtual void flush() = 0;
    /// The tile under (x, y): side-board slots first, then the board from the
    /// top layer down; null when none.
    [[nodiscard]] virtual Tile* tileAt(const Layout& layout, int x, int y) = 0;
    /// The tile is drawn again at its place (build-up, undo).
    virtual void placeTile(const Tile& tile) = 0;
    /// The tile is taken out of the drawn grid (tear-down of a shuffle).
    virtual void removeTile(const Tile& tile) = 0;
    /// The whole screen rectangle must be drawn again.
    virtual void invalidate() = 0;
    /// Shows or hides the board's layers (hidden under the pause dialog).
    virtual void setLayersVisible(bool visible) = 0;
    /// River: the layer tints.
    virtual void applyLayerColors() = 0;
    /// Screen x (y) of the top-left corner of the face of a tile at layout
    /// x (y) on layer z (the connecting path is drawn from cell 0, 0).
    [[nodiscard]] virtual int tileScreenX(int x, int z) const = 0;
    [[nodiscard]] virtual int tileScreenY(int y, int z) const = 0;

    // The looks of a tile.
    virtual void refreshTile(const Tile& tile) = 0;
    virtual void startTilePulse(const Tile& tile) = 0;
    virtual void startTileSelect(const Tile& tile) = 0;
    virtual void startTileHover(const Tile& tile) = 0;
    virtual void startTilePlain(const Tile& tile) = 0;
    /// The super hint's steady tint.
    virtual void startTileHint(const Tile& tile) = 0;
    /// The hint button's pulsing mark.
    virtual void startTileHintPulse(const Tile& tile) = 0;
    virtual void startTileSwell(const Tile& tile) = 0;
    virtual void startTileLighten(const Tile& tile) = 0;
    /// The tile fades away (a match made at bonus multiplier `multiplier`).
    virtual void startTileFade(const Tile& tile, int multiplier) = 0;

    // ---- what the effects read (a display without a drawn board answers
    // with its defaults) ----
    /// The tile that stood at board place `pos` is no longer drawn there (a
    /// free-cell move took it into a slot).
    virtual void removeTileAt(const TilePos& pos) { static_cast<void>(pos); }
    /// A new picture of `tile`'s face on a plain `background` (0xRRGGBB), or
    /// null when there is no face sheet.
    [[nodiscard]] virtual RefPtr<Image> makeFaceImage(const Tile& tile,
                                                      std::uint32_t background) const {
        static_cast<void>(tile);
        static_cast<void>(background);
        return nullptr;
    }
    /// A new picture of a whole tile of `suit` and value `idx`: the tile body
    /// with the face drawn on it at (0, 0); null without a drawn board.
    [[nodiscard]] virtual RefPtr<Image> makeTileImage(int suit, int idx) const {
        static_cast<void>(suit);
        static_cast<void>(idx);
        return nullptr;
    }
};

/// Makes the display of a new level; installed by whoever provides the
/// board renderer (the program's start-up, a test). Without one the screen
/// plays without a drawn board.
using BoardDisplayFactory = BoardDisplay* (*)();
void setBoardDisplayFactory(BoardDisplayFactory factory);
[[nodiscard]] BoardDisplayFactory getBoardDisplayFactory();

} // namespace orv
