#include "game/screen/LayoutRenderer.h"

#include "engine/core/GameTree.h"
#include "engine/properties/BasicProperties.h"
#include "game/board/Layout.h"
#include "game/board/SideBoard.h"
#include "game/screen/LayerSprite.h"
#include "game/screen/RectangleUnion.h"
#include "game/screen/RenderTile.h"
#include "game/screen/TileEffect.h"

#include <algorithm>
#include <limits>
#include <string>

namespace orv {

constinit const ClassRecord LayoutRenderer::classRecord{"LayoutRenderer",
                                                        parentRecords<Sprite::classRecord>};

namespace {

// Integer division rounding towards minus infinity, so that a point a few
// pixels left of or above the board's first cell does not count as inside it.
int floorDiv(int value, int divisor) {
    const int q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

int layerSetting(const char* prefix, std::size_t n) {
    BasicProperties* settings = BasicProperties::get();
    if (settings == nullptr) {
        return 0;
    }
    const std::string name = prefix + std::to_string(n);
    const auto& table = settings->getIntegerTable();
    const auto it = table.find(name);
    return it != table.end() ? it->second : 0;
}

} // namespace

LayoutRenderer::LayoutRenderer(int tileSet)
    : LayoutRenderer(BoardLook::fromResources(tileSet).get()) {}

LayoutRenderer::LayoutRenderer(BoardLook* look) : Sprite(0, 0, 0, 0), look_(look) {}

LayoutRenderer::~LayoutRenderer() {
    // The layers borrow the grid and the render tiles: let them go first.
    GameTree::releaseChildren(this);
    layers_.clear();
    grid_.clear();
    renderTiles_.clear();
}

void LayoutRenderer::build(const Layout& layout, const TileList& extra) {
    if (layout.getTileCount() == 0) {
        return;
    }
    const bool firstBuild = renderTiles_.empty();
    GameTree::releaseChildren(this);
    layers_.clear();
    grid_.clear();
    renderTiles_.clear();

    TileList tiles;
    layout.getTiles(tiles);
    for (const RefPtr<Tile>& tile : tiles) {
        renderTiles_.push_back(RenderTile::createFor(*look_, *tile));
    }
    for (const RefPtr<Tile>& tile : extra) {
        if (tile && !tile->isSideboard()) {
            renderTiles_.push_back(RenderTile::createFor(*look_, *tile));
            // Hidden until an undo brings it back: it must not take the
            // cells of a tile on the board.
            renderTiles_.back()->hidden = true;
        }
    }
    std::stable_sort(renderTiles_.begin(), renderTiles_.end(),
                     [](const RefPtr<RenderTile>& a, const RefPtr<RenderTile>& b) {
                         if (a->z != b->z) {
                             return a->z < b->z;
                         }
                         if (a->y != b->y) {
                             return a->y < b->y;
                         }
                         return a->x < b->x;
                     });
    if (firstBuild) {
        originX_ = originY_ = originZ_ = std::numeric_limits<int>::max();
        for (const RefPtr<RenderTile>& rt : renderTiles_) {
            originX_ = std::min(originX_, rt->x);
            originY_ = std::min(originY_, rt->y);
            originZ_ = std::min(originZ_, rt->z);
        }
    }
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        rt->x -= originX_;
        rt->y -= originY_;
        rt->z -= originZ_;
    }
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        if (!rt->hidden) {
            grid_.put(*rt);
        }
    }
    computeNeighbourFlags();

    numLayers_ = std::clamp(renderTiles_.back()->z + 1, 0, RenderGrid::kLayers);
    for (int z = 0; z < numLayers_; ++z) {
        layers_.emplace_back(new LayerSprite(*look_, grid_));
    }
    layerDirtyRects_.assign(layers_.size(), {});
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        if (rt->z >= 0 && rt->z < numLayers_) {
            layers_[static_cast<std::size_t>(rt->z)]->addTile(*rt);
        }
    }
    for (const RefPtr<LayerSprite>& layer : layers_) {
        layer->symbolsShown = symbolsShown_;
        GameTree::appendChild(layer.get(), this);
    }

    const BoardMetrics& m = look_->getMetrics();
    int maxX = 0;
    int maxY = 0;
    int zx = 0;
    int zy = 0;
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        maxX = std::max(maxX, rt->x);
        maxY = std::max(maxY, rt->y);
        if (rt->x == 0) {
            zx = std::max(zx, rt->z);
        }
        if (rt->y == 0) {
            zy = std::max(zy, rt->z);
        }
    }
    setSize(((maxX + 2) * m.faceWidth) / 2 + m.sideWidth + zx * m.layerOffsetX + m.shadowOffsetX,
            ((maxY + 2) * m.faceHeight) / 2 + m.sideHeight + zy * m.layerOffsetY + m.shadowOffsetY);
    dirtyRects_.push_back(kScreenRect);
}

void LayoutRenderer::rebuild(const Layout& layout) {
    build(layout, TileList{});
}

void LayoutRenderer::detachTiles() {
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        grid_.take(*rt);
        rt->hidden = true;
    }
    dirtyRects_.push_back(kScreenRect);
}

RenderTile* LayoutRenderer::renderTileFor(const Tile& tile) const {
    // A side-board tile's place is its slot's column and row, not a grid
    // cell: read as one it would name the board tile drawn there.
    if (tile.isSideboard()) {
        return nullptr;
    }
    const TilePos& pos = tile.getPos();
    const int x = pos.x - originX_;
    const int y = pos.y - originY_;
    const int z = pos.z - originZ_;
    if (RenderTile* rt = grid_.at(x, y, z)) {
        return rt;
    }
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        if (rt->x == x && rt->y == y && rt->z == z) {
            return rt.get();
        }
    }
    return nullptr;
}

void LayoutRenderer::addRenderTile(RenderTile& renderTile) {
    grid_.put(renderTile);
    renderTile.hidden = false;
    placeRenderTile(renderTile);
}

void LayoutRenderer::removeRenderTileAt(int x, int y, int z) {
    RenderTile* rt = grid_.at(x, y, z);
    if (rt == nullptr) {
        return;
    }
    grid_.take(*rt);
    rt->hidden = true;
    placeRenderTile(*rt);
}

void LayoutRenderer::placeRenderTile(const RenderTile& renderTile) {
    const BoardMetrics& m = look_->getMetrics();
    const Rect area{(renderTile.x * m.faceWidth) / 2, (renderTile.y * m.faceHeight) / 2,
                    m.faceWidth + m.layerOffsetX + m.shadowOffsetX,
                    m.faceHeight + m.layerOffsetY + m.shadowOffsetY};
    // A tile's body and shadow lie in its own layer image only: the layers
    // below and above keep their pixels (a tile whose quarters a change
    // uncovers is placed on its own, by its neighbour flags).
    if (renderTile.z >= 0 && renderTile.z < static_cast<int>(layerDirtyRects_.size())) {
        layerDirtyRects_[static_cast<std::size_t>(renderTile.z)].push_back(area);
    } else {
        dirtyRects_.push_back(area);
    }
}

int LayoutRenderer::tileScreenX(int x, int z) const {
    const BoardMetrics& m = look_->getMetrics();
    return getAbsoluteX() + ((x - originX_) * m.faceWidth) / 2 - (z - originZ_) * m.layerOffsetX +
           m.shadowOffsetX;
}

int LayoutRenderer::tileScreenY(int y, int z) const {
    const BoardMetrics& m = look_->getMetrics();
    return getAbsoluteY() + ((y - originY_) * m.faceHeight) / 2 - (z - originZ_) * m.layerOffsetY +
           m.shadowOffsetY;
}

Tile* LayoutRenderer::tileAt(const Layout& layout, int px, int py) const {
    if (const SideBoard* side = layout.getSideBoard()) {
        int column = px;
        int row = py;
        if (side->slotAt(column, row)) {
            if (Tile* tile = side->getTileAt(column, row)) {
                return tile;
            }
        }
    }
    const BoardMetrics& m = look_->getMetrics();
    if (m.faceWidth <= 0 || m.faceHeight <= 0) {
        return nullptr;
    }
    const int ax = getAbsoluteX() + m.shadowOffsetX;
    const int ay = getAbsoluteY() + m.shadowOffsetY;
    const int top = numLayers_ - 1;
    if (px < ax - top * m.layerOffsetX || px >= ax + getWidth() || py < ay - top * m.layerOffsetY ||
        py >= ay + getHeight()) {
        return nullptr;
    }
    for (int z = RenderGrid::kLayers - 1; z >= 0; --z) {
        const int dz = z - originZ_;
        const int lx = px - ax + dz * m.layerOffsetX;
        const int ly = py - ay + dz * m.layerOffsetY;
        const int gx = floorDiv(2 * lx, m.faceWidth) + originX_;
        const int gy = floorDiv(2 * ly, m.faceHeight) + originY_;
        if (Tile* tile = layout.getGridCell(gx, gy, z)) {
            return tile;
        }
        if (Tile* tile = layout.getGridCell(gx - 1, gy, z);
            tile != nullptr && lx - ((gx - originX_) * m.faceWidth) / 2 < m.layerOffsetX) {
            return tile;
        }
        if (Tile* tile = layout.getGridCell(gx, gy - 1, z);
            tile != nullptr && ly - ((gy - originY_) * m.faceHeight) / 2 < m.layerOffsetY) {
            return tile;
        }
    }
    return nullptr;
}

void LayoutRenderer::applyLayerColors() {
    for (std::size_t n = 0; n < layers_.size(); ++n) {
        layers_[n]->tintColor =
            static_cast<std::uint32_t>(layerSetting("LAYER_COLOR", n)) & 0xFFFFFFU;
        layers_[n]->tintAlpha = std::clamp(layerSetting("LAYER_ALPHA", n), 0, 255);
    }
}

void LayoutRenderer::hideSymbols() {
    symbolsShown_ = false;
    for (const RefPtr<LayerSprite>& layer : layers_) {
        layer->symbolsShown = false;
    }
    dirtyRects_.push_back(kScreenRect);
}

void LayoutRenderer::showSymbols() {
    symbolsShown_ = true;
    for (const RefPtr<LayerSprite>& layer : layers_) {
        layer->symbolsShown = true;
    }
    dirtyRects_.push_back(kScreenRect);
}

void LayoutRenderer::refreshTile(const Tile& tile) {
    if (tile.isSideboard()) {
        return;
    }
    RenderTile* rt = renderTileFor(tile);
    if (rt == nullptr || rt->busy) {
        return;
    }
    rt->resetEffects();
    placeRenderTile(*rt);
}

RenderTile* LayoutRenderer::effectTarget(const Tile& tile) const {
    return renderTileFor(tile);
}

void LayoutRenderer::startTilePulse(const Tile& tile) {
    if (RenderTile* rt = effectTarget(tile)) {
        rt->setEffect(new TilePulseEffect(*rt));
    }
}

void LayoutRenderer::startTileFade(const Tile& tile, int mode) {
    if (RenderTile* rt = effectTarget(tile)) {
        rt->setEffect(new TileFadeEffect(*rt, mode, look_->getTints().fadeTime));
    }
}

void LayoutRenderer::startTileEffectC(const Tile& tile) {
    if (RenderTile* rt = effectTarget(tile)) {
        rt->setEffect(new TileHintEffect(*rt));
    }
}

void LayoutRenderer::startTileTint(const Tile& tile) {
    RenderTile* rt = effectTarget(tile);
    if (rt == nullptr || rt->busy) {
        return;
    }
    const TileTints& t = look_->getTints();
    rt->setEffect(TileOverlay::constructTinted(*rt, t.superHintColor, t.superHintAlpha));
}

void LayoutRenderer::startTileSelect(const Tile& tile) {
    if (RenderTile* rt = effectTarget(tile)) {
        const TileTints& t = look_->getTints();
        rt->setEffect(TileOverlay::constructTinted(*rt, t.selectColor, t.selectAlpha));
    }
}

void LayoutRenderer::startTileHover(const Tile& tile) {
    if (tile.isSideboard()) {
        return;
    }
    if (RenderTile* rt = effectTarget(tile)) {
        const TileTints& t = look_->getTints();
        rt->setEffect(TileOverlay::constructTinted(*rt, t.hoverColor, t.hoverAlpha));
        placeRenderTile(*rt);
    }
}

void LayoutRenderer::startTilePlain(const Tile& tile) {
    if (RenderTile* rt = effectTarget(tile)) {
        rt->setEffect(new TileOverlay(*rt));
    }
}

void LayoutRenderer::startTileSwell(const Tile& tile) {
    if (RenderTile* rt = effectTarget(tile)) {
        rt->setEffect(new TileSwellEffect(*rt));
    }
}

void LayoutRenderer::startTileLighten(const Tile& tile) {
    if (RenderTile* rt = effectTarget(tile)) {
        rt->setEffect(new TileLightenEffect(*rt));
    }
}

void LayoutRenderer::computeFlags(RenderTile& t) const {
    const int x = t.x;
    const int y = t.y;
    const int z = t.z;
    t.quarterTopLeft = grid_.isOpen(x, y, z + 1);
    t.quarterTopRight = grid_.isOpen(x + 1, y, z + 1) || grid_.isOpen(x + 2, y, z);
    t.quarterBottomLeft = grid_.isOpen(x, y + 1, z + 1) || grid_.isOpen(x, y + 2, z);
    t.quarterBottomRight = grid_.isOpen(x + 1, y + 1, z + 1) || grid_.isOpen(x + 1, y + 2, z) ||
                           grid_.isOpen(x + 2, y + 1, z);
    t.openLowerLeft = grid_.isOpen(x - 1, y + 1, z);
    t.openLeft = grid_.isOpen(x - 1, y, z);
    t.openUpper = grid_.isOpen(x, y - 1, z);
    t.openUpperRight = grid_.isOpen(x + 1, y - 1, z);
    t.openUpperLeft = grid_.isOpen(x - 1, y - 1, z);
}

void LayoutRenderer::computeNeighbourFlags() {
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        computeFlags(*rt);
    }
}

void LayoutRenderer::flush() {
    const bool anyLayerDirty =
        std::any_of(layerDirtyRects_.begin(), layerDirtyRects_.end(),
                    [](const std::vector<Rect>& rects) { return !rects.empty(); });
    if (dirtyRects_.empty() && !anyLayerDirty) {
        return;
    }
    computeNeighbourFlags();
    // A change of one tile alters the quarters and shadow strips of its
    // neighbours, which reach beyond the changed tile's own rectangle.
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        const std::uint16_t mask = rt->hidden ? RenderTile::kNotDrawn : rt->neighbourMask();
        if (mask != rt->drawnMask && mask != RenderTile::kNotDrawn &&
            rt->drawnMask != RenderTile::kNotDrawn) {
            placeRenderTile(*rt);
        }
        rt->drawnMask = mask;
    }
    for (std::size_t z = 0; z < layers_.size(); ++z) {
        std::vector<Rect>& rects = layerDirtyRects_[z];
        rects.insert(rects.end(), dirtyRects_.begin(), dirtyRects_.end());
        if (rects.size() >= 2) {
            rects = rectangleUnion(rects);
        }
        layers_[z]->redraw(rects);
        rects.clear();
    }
    for (const RefPtr<RenderTile>& rt : renderTiles_) {
        rt->dirty = false;
        rt->clearNeighbourFlags();
    }
    dirtyRects_.clear();
}

void LayoutRenderer::updateSelf(int elapsedMs) {
    for (const RefPtr<RenderTile>& held : renderTiles_) {
        RenderTile& rt = *held;
        if (rt.getEffectCount() == 0 || rt.hidden) {
            continue;
        }
        rt.stepTopEffect(elapsedMs);
        if (rt.dirty) {
            placeRenderTile(rt);
        }
        if (rt.hidden) {
            // The fade ended: out of the grid (the flag is already set).
            grid_.take(rt);
            placeRenderTile(rt);
        }
    }
}

void LayoutRenderer::render(Graphics& graphics) {
    flush();
    Sprite::render(graphics);
}

} // namespace orv
