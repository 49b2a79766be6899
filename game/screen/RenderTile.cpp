#include "game/screen/RenderTile.h"

#include "game/board/Tile.h"
#include "game/screen/BoardLook.h"
#include "game/screen/TileEffect.h"

namespace orv {

constinit const ClassRecord RenderTile::classRecord{"RenderTile",
                                                    parentRecords<BaseObject::classRecord>};

namespace {

// Suits 4 and 6 follow suits 3 and 5 in the same row of the face sheet.
constexpr int kSharedRowShift = 4;

} // namespace

RenderTile::RenderTile(const BoardLook& look) : look_(look) {}

RenderTile::~RenderTile() = default;

RefPtr<RenderTile> RenderTile::createFor(const BoardLook& look, const Tile& tile) {
    RefPtr<RenderTile> rt(new RenderTile(look));
    const TilePos& pos = tile.getPos();
    rt->x = pos.x;
    rt->y = pos.y;
    rt->z = pos.z;
    const int suit = tile.getSuit();
    const int column = tile.getIdx() + (suit == 4 || suit == 6 ? kSharedRowShift : 0);
    rt->symbolX = column * look.getMetrics().symbolWidth;
    rt->symbolY = tileStepOffset(suit);
    rt->setEffect(new TileOverlay(*rt));
    return rt;
}

void RenderTile::setEffect(TileEffect* effect) {
    // Keep the new effect alive while the old ones go: it may be one of them.
    const RefPtr<TileEffect> keep(effect);
    effects_.clear();
    if (effect != nullptr) {
        effects_.push_back(keep);
        dirty = true;
    }
}

void RenderTile::pushEffect(TileEffect* effect) {
    if (effect != nullptr) {
        effects_.emplace_back(effect);
        dirty = true;
    }
}

void RenderTile::resetEffects() {
    if (effects_.size() > 1) {
        effects_.resize(1);
    } else {
        setEffect(new TileOverlay(*this));
    }
    dirty = true;
}

TileEffect* RenderTile::getTopEffect() const {
    return effects_.empty() ? nullptr : effects_.back().get();
}

void RenderTile::stepTopEffect(int elapsedMs) {
    if (effects_.empty()) {
        return;
    }
    const RefPtr<TileEffect> top = effects_.back();
    top->step(elapsedMs);
}

void RenderTile::clearNeighbourFlags() {
    quarterTopLeft = quarterBottomLeft = quarterTopRight = quarterBottomRight = false;
    openLowerLeft = openLeft = openUpper = openUpperRight = openUpperLeft = false;
}

std::uint16_t RenderTile::neighbourMask() const {
    const bool flags[] = {quarterTopLeft,     quarterBottomLeft, quarterTopRight,
                          quarterBottomRight, openLowerLeft,     openLeft,
                          openUpper,          openUpperRight,    openUpperLeft};
    std::uint16_t mask = 0;
    for (const bool flag : flags) {
        mask = static_cast<std::uint16_t>(mask << 1 | (flag ? 1 : 0));
    }
    return mask;
}

} // namespace orv
