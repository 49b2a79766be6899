#pragma once

#include "engine/core/RefPtr.h"
#include "game/screen/BoardDisplay.h"

#include <memory>

namespace orv {

class LayoutRenderer;
class RenderTile;
class SideBoardView;

/// The playing screen's board drawn by the board renderer: every call of
/// `BoardDisplay` goes to one `LayoutRenderer`, whose node the screen hangs
/// in its layout panel, or, for a tile in a slot of the side board, to the
/// side boards' painter that the display installs for its life. The program installs
/// `RendererDisplay::create` as the board display factory at start-up.
///
///     setBoardDisplayFactory(&RendererDisplay::create);
///
/// Main thread only.
class RendererDisplay : public BoardDisplay {
public:
    /// A display drawing with the look of tile set `tileSet` (0 for the
    /// first face sheet), pictures from the resource manager.
    explicit RendererDisplay(int tileSet);
    /// A display around `renderer` (not null; a reference is taken).
    explicit RendererDisplay(LayoutRenderer* renderer);
    RendererDisplay(const RendererDisplay&) = delete;
    RendererDisplay& operator=(const RendererDisplay&) = delete;
    ~RendererDisplay() override;

    /// The factory: a display with the current player's tile set (the first
    /// one without a player). The caller takes the new object's reference.
    [[nodiscard]] static BoardDisplay* create();

    [[nodiscard]] LayoutRenderer& getRenderer() const { return *renderer_; }
    [[nodiscard]] SideBoardView& getSideBoardView() const { return *sideBoards_; }

    GameNode& getNode() override;
    int getWidth() const override;
    int getHeight() const override;
    void build(const Layout& layout, const TileList& extra) override;
    void rebuild(const Layout& layout) override;
    void detachTiles() override;
    void flush() override;
    Tile* tileAt(const Layout& layout, int x, int y) override;
    void placeTile(const Tile& tile) override;
    void removeTile(const Tile& tile) override;
    void invalidate() override;
    void setLayersVisible(bool visible) override;
    void applyLayerColors() override;
    int tileScreenX(int x, int z) const override;
    int tileScreenY(int y, int z) const override;
    void refreshTile(const Tile& tile) override;
    void startTilePulse(const Tile& tile) override;
    void startTileSelect(const Tile& tile) override;
    void startTileHover(const Tile& tile) override;
    void startTilePlain(const Tile& tile) override;
    void startTileHint(const Tile& tile) override;
    void startTileHintPulse(const Tile& tile) override;
    void startTileSwell(const Tile& tile) override;
    void startTileLighten(const Tile& tile) override;
    void startTileFade(const Tile& tile, int multiplier) override;
    void removeTileAt(const TilePos& pos) override;
    [[nodiscard]] RefPtr<Image> makeFaceImage(const Tile& tile,
                                              std::uint32_t background) const override;
    [[nodiscard]] RefPtr<Image> makeTileImage(int suit, int idx) const override;

private:
    // The render tile of a tile in a slot of the side board; null for a
    // board tile.
    [[nodiscard]] RenderTile* rackTile(const Tile& tile) const;

    RefPtr<LayoutRenderer> renderer_;
    std::unique_ptr<SideBoardView> sideBoards_;
};

} // namespace orv
