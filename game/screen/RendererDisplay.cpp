#include "game/screen/RendererDisplay.h"

#include "game/board/Layout.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/screen/LayerSprite.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RenderTile.h"
#include "game/screen/SideBoardView.h"
#include "game/screen/TileEffect.h"

#include <algorithm>

namespace orv {

RendererDisplay::RendererDisplay(int tileSet)
    : renderer_(new LayoutRenderer(tileSet)),
      sideBoards_(std::make_unique<SideBoardView>(renderer_->getLook())) {}

RendererDisplay::RendererDisplay(LayoutRenderer* renderer)
    : renderer_(renderer), sideBoards_(std::make_unique<SideBoardView>(renderer_->getLook())) {}

RendererDisplay::~RendererDisplay() = default;

BoardDisplay* RendererDisplay::create() {
    int tileSet = 0;
    if (const PlayerManager* players = PlayerManager::get(); players != nullptr) {
        if (const OrvantaPlayer* profile = players->getCurrentProfile(); profile != nullptr) {
            tileSet = std::max(profile->tileset, 0);
        }
    }
    return new RendererDisplay(tileSet);
}

GameNode& RendererDisplay::getNode() {
    return *renderer_;
}

int RendererDisplay::getWidth() const {
    return renderer_->getWidth();
}

int RendererDisplay::getHeight() const {
    return renderer_->getHeight();
}

void RendererDisplay::build(const Layout& layout, const TileList& extra) {
    renderer_->build(layout, extra);
}

void RendererDisplay::rebuild(const Layout& layout) {
    renderer_->rebuild(layout);
}

void RendererDisplay::detachTiles() {
    renderer_->detachTiles();
}

void RendererDisplay::flush() {
    renderer_->flush();
}

Tile* RendererDisplay::tileAt(const Layout& layout, int x, int y) {
    return renderer_->tileAt(layout, x, y);
}

void RendererDisplay::placeTile(const Tile& tile) {
    if (tile.isSideboard()) {
        return;
    }
    if (RenderTile* rt = renderer_->renderTileFor(tile)) {
        renderer_->addRenderTile(*rt);
    }
}

void RendererDisplay::removeTile(const Tile& tile) {
    if (tile.isSideboard()) {
        return;
    }
    removeTileAt(tile.getPos());
}

void RendererDisplay::removeTileAt(const TilePos& pos) {
    renderer_->removeRenderTileAt(pos.x - renderer_->getOriginX(), pos.y - renderer_->getOriginY(),
                                  pos.z - renderer_->getOriginZ());
}

void RendererDisplay::invalidate() {
    renderer_->addDirtyRect(LayoutRenderer::kScreenRect);
}

void RendererDisplay::setLayersVisible(bool visible) {
    sideBoards_->setVisible(visible);
    for (const RefPtr<LayerSprite>& layer : renderer_->getLayers()) {
        layer->setVisible(visible);
    }
}

void RendererDisplay::applyLayerColors() {
    renderer_->applyLayerColors();
}

int RendererDisplay::tileScreenX(int x, int z) const {
    return renderer_->tileScreenX(x, z);
}

int RendererDisplay::tileScreenY(int y, int z) const {
    return renderer_->tileScreenY(y, z);
}

void RendererDisplay::refreshTile(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->setEffect(new TileOverlay(*rt));
        return;
    }
    renderer_->refreshTile(tile);
}

void RendererDisplay::startTilePulse(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->setEffect(new TilePulseEffect(*rt));
        return;
    }
    renderer_->startTilePulse(tile);
}

void RendererDisplay::startTileSelect(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        const TileTints& t = renderer_->getLook().getTints();
        rt->setEffect(TileOverlay::constructTinted(*rt, t.selectColor, t.selectAlpha));
        return;
    }
    renderer_->startTileSelect(tile);
}

void RendererDisplay::startTileHover(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        const TileTints& t = renderer_->getLook().getTints();
        rt->pushEffect(TileOverlay::constructTinted(*rt, t.hoverColor, t.hoverAlpha));
        return;
    }
    renderer_->startTileHover(tile);
}

void RendererDisplay::startTilePlain(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->setEffect(new TileOverlay(*rt));
        return;
    }
    renderer_->startTilePlain(tile);
}

void RendererDisplay::startTileHint(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        const TileTints& t = renderer_->getLook().getTints();
        rt->setEffect(TileOverlay::constructTinted(*rt, t.superHintColor, t.superHintAlpha));
        return;
    }
    renderer_->startTileTint(tile);
}

void RendererDisplay::startTileHintPulse(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->setEffect(new TileHintEffect(*rt));
        return;
    }
    renderer_->startTileEffectC(tile);
}

void RendererDisplay::startTileSwell(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->setEffect(new TileSwellEffect(*rt));
        return;
    }
    renderer_->startTileSwell(tile);
}

void RendererDisplay::startTileLighten(const Tile& tile) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->setEffect(new TileLightenEffect(*rt));
        return;
    }
    renderer_->startTileLighten(tile);
}

void RendererDisplay::startTileFade(const Tile& tile, int multiplier) {
    if (RenderTile* rt = rackTile(tile)) {
        rt->pushEffect(new TileFadeEffect(*rt, 1, renderer_->getLook().getTints().fadeTime));
        return;
    }
    renderer_->startTileFade(tile, multiplier);
}

RefPtr<Image> RendererDisplay::makeFaceImage(const Tile& tile, std::uint32_t background) const {
    Image* symbols = renderer_->getSymbolsImage();
    if (symbols == nullptr) {
        return nullptr;
    }
    const BoardMetrics& m = renderer_->getLook().getMetrics();
    RefPtr<Image> face = createImage(m.symbolWidth, m.symbolHeight, symbols->getFormat());
    RefPtr<Graphics> g = face != nullptr ? createGraphics(*face) : nullptr;
    if (g == nullptr) {
        return nullptr;
    }
    // The face's place in the sheet, as the render tiles read it.
    const RefPtr<RenderTile> cell = RenderTile::createFor(renderer_->getLook(), tile);
    g->setColor(0xFF000000U | background);
    g->fillRect(0, 0, m.symbolWidth, m.symbolHeight);
    g->drawImage(*symbols, 0, 0, cell->symbolX, cell->symbolY, m.symbolWidth, m.symbolHeight);
    return face;
}

RefPtr<Image> RendererDisplay::makeTileImage(int suit, int idx) const {
    const BoardLook& look = renderer_->getLook();
    Image* body = look.getTileImage();
    Image* symbols = look.getSymbolsImage();
    if (body == nullptr || symbols == nullptr) {
        return nullptr;
    }
    RefPtr<Image> made = cloneImage(*body);
    RefPtr<Graphics> g = made != nullptr ? createGraphics(*made) : nullptr;
    if (g == nullptr) {
        return nullptr;
    }
    // The face's place in the sheet, as the render tiles read it.
    const RefPtr<Tile> face(new Tile(nullptr));
    face->setFace(suit, idx, MatchType::Exact);
    const RefPtr<RenderTile> cell = RenderTile::createFor(look, *face);
    const BoardMetrics& m = look.getMetrics();
    g->drawImage(*symbols, 0, 0, cell->symbolX, cell->symbolY, m.symbolWidth, m.symbolHeight);
    return made;
}

RenderTile* RendererDisplay::rackTile(const Tile& tile) const {
    return tile.isSideboard() ? sideBoards_->renderTileFor(tile) : nullptr;
}

} // namespace orv
