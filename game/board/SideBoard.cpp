#include "game/board/SideBoard.h"

#include "engine/core/Log.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"

#include <algorithm>
#include <string>

namespace orv {

const ClassRecord SideBoard::classRecord{"SideBoard", parentRecords<Sprite::classRecord>};

namespace {

// The most slots a side board read from data may have in either direction.
constexpr int kMaxSide = 16;

SideBoardPainter*& painterSlot() {
    static SideBoardPainter* painter = nullptr;
    return painter;
}

} // namespace

SideBoard::SideBoard(PropertyNode* definition) : Sprite(0, 0, 0, 0) {
    const PropertyNode* node = definition != nullptr ? definition : DUMMY_NODE;
    // "width" and "height" count slots here, not pixels: only the position
    // is taken from the node's sprite keys.
    setPosition(node->getValue("x")->getInt(), node->getValue("y")->getInt());
    if (node->getChild("width") != nullptr) {
        const int columns = node->getValue("width")->getInt();
        const int rows = node->getValue("height")->getInt();
        if (columns < 1 || columns > kMaxSide || rows < 1 || rows > kMaxSide) {
            logWarning("side board: " + std::to_string(columns) + " x " + std::to_string(rows) +
                       " slots is no rack size (1 to " + std::to_string(kMaxSide) +
                       " each way); the side board has no slots");
            intact_ = false;
        } else {
            setDimensions(columns, rows);
        }
    }
    for (const RefPtr<AbstractProperty>& element : node->getVector("tiles")->getElements()) {
        RefPtr<Tile> tile = createTile(element.get(), "side board");
        if (!tile) {
            intact_ = false;
            continue;
        }
        const TilePos pos = tile->getPos();
        if (!putTile(tile.get(), pos.x, pos.y)) {
            logWarning("side board: a tile names slot (" + std::to_string(pos.x) + ", " +
                       std::to_string(pos.y) + "), which does not exist or is taken; left out");
            intact_ = false;
        }
    }
}

SideBoard::SideBoard(const SideBoard& other)
    : Sprite(other), marginX_(other.marginX_), marginY_(other.marginY_),
      slotWidth_(other.slotWidth_), slotHeight_(other.slotHeight_) {
    setDimensions(other.columns_, other.rows_);
    for (int row = 0; row < rows_; ++row) {
        for (int column = 0; column < columns_; ++column) {
            if (const Tile* tile = other.getTileAt(column, row)) {
                placeTile(new Tile(*tile), column, row);
                if (SideBoardPainter* painter = getPainter()) {
                    painter->tilePut(*this, column, row, false);
                }
            }
        }
    }
}

SideBoard::~SideBoard() = default;

BaseObject* SideBoard::createFromDefinition(PropertyNode* definition) {
    return new SideBoard(definition);
}

void SideBoard::save(PropertyNode* node) const {
    if (node == nullptr || node == DUMMY_NODE) {
        return;
    }
    node->add(new PropertyValue("width", columns_, true));
    node->add(new PropertyValue("height", rows_, true));
    node->add(new PropertyValue("x", getX(), true));
    node->add(new PropertyValue("y", getY(), true));
    auto* tiles = static_cast<PropertyVector*>(node->add(new PropertyVector("tiles")));
    for (int column = 0; column < columns_; ++column) {
        for (int row = 0; row < rows_; ++row) {
            if (const Tile* tile = getTileAt(column, row)) {
                tile->save(static_cast<PropertyNode*>(tiles->add(new PropertyNode("", "Tile"))));
            }
        }
    }
}

void SideBoard::setDimensions(int columns, int rows) {
    clear();
    columns_ = columns;
    rows_ = rows;
    slotCount_ = columns > 0 && rows > 0 ? columns * rows : 0;
    slots_.assign(static_cast<std::size_t>(slotCount_), nullptr);
    looks_.assign(static_cast<std::size_t>(slotCount_), nullptr);
}

void SideBoard::positionTileSprite(Tile& tile, int column, int row) const {
    tile.setPosition(getAbsoluteX() + SIDEBOARD_PADDING_X + column * SIDEBOARD_WIDTH_PER_TILE,
                     getAbsoluteY() + SIDEBOARD_PADDING_Y + row * SIDEBOARD_HEIGHT_PER_TILE);
}

void SideBoard::placeTile(Tile* tile, int column, int row) {
    slots_[slotIndex(column, row)] = tile;
    tile->setPos(TilePos{column, row, 0});
    positionTileSprite(*tile, column, row);
    tile->setSideboard(true);
    invalidateTile(*tile);
}

bool SideBoard::putTile(Tile* tile, int column, int row) {
    if (tile == nullptr || !isSlot(column, row) || slots_[slotIndex(column, row)]) {
        return false;
    }
    placeTile(tile, column, row);
    if (SideBoardPainter* painter = getPainter()) {
        painter->tilePut(*this, column, row, true);
    }
    return true;
}

void SideBoard::removeTileAt(int column, int row) {
    if (!isSlot(column, row) || !slots_[slotIndex(column, row)]) {
        return;
    }
    invalidateTile(*slots_[slotIndex(column, row)]);
    slots_[slotIndex(column, row)] = nullptr;
    looks_[slotIndex(column, row)] = nullptr;
}

Tile* SideBoard::getTileAt(int column, int row) const {
    return isSlot(column, row) ? slots_[slotIndex(column, row)].get() : nullptr;
}

void SideBoard::fill(const std::function<RefPtr<Tile>()>& newTile) {
    const int empty = slotCount_ - countTiles();
    for (int i = 0; i < empty; ++i) {
        RefPtr<Tile> tile = newTile();
        if (!tile) {
            return;
        }
        const auto free = std::find(slots_.begin(), slots_.end(), nullptr);
        const auto index = static_cast<int>(free - slots_.begin());
        putTile(tile.get(), index % columns_, index / columns_);
    }
}

void SideBoard::clear() {
    std::fill(slots_.begin(), slots_.end(), nullptr);
    std::fill(looks_.begin(), looks_.end(), nullptr);
}

int SideBoard::countTiles() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const RefPtr<Tile>& t) { return bool(t); }));
}

void SideBoard::getTiles(TileList& out) const {
    for (const RefPtr<Tile>& tile : slots_) {
        if (tile) {
            out.push_back(tile);
        }
    }
}

void SideBoard::setSlotGeometry(int marginX, int marginY, int slotWidth, int slotHeight) {
    marginX_ = marginX;
    marginY_ = marginY;
    slotWidth_ = slotWidth;
    slotHeight_ = slotHeight;
}

void SideBoard::applyStandardGeometry(GameType gameType) {
    if (gameType == GameType::FreeCell) {
        setSlotGeometry(SIDEBOARD_FREECELL_PADDING_X, SIDEBOARD_FREECELL_PADDING_Y,
                        SIDEBOARD_WIDTH_PER_TILE, SIDEBOARD_HEIGHT_PER_TILE);
        return;
    }
    const bool speed = gameType == GameType::Speed;
    setSlotGeometry(SIDEBOARD_PADDING_X + (speed ? SIDEBOARD_SPEED_EXTRA_X : 0),
                    SIDEBOARD_PADDING_Y + (speed ? SIDEBOARD_SPEED_EXTRA_Y : 0),
                    RENDERER_TILE_FACE_WIDTH, RENDERER_TILE_FACE_HEIGHT);
}

bool SideBoard::slotAt(int& x, int& y) const {
    const int left = getAbsoluteX();
    const int top = getAbsoluteY();
    if (x < left || y < top || slotWidth_ <= 0 || slotHeight_ <= 0) {
        return false;
    }
    x = (x - left - marginX_) / slotWidth_;
    y = (y - top - marginY_) / slotHeight_;
    return isSlot(x, y);
}

void SideBoard::slotScreenPos(int& column, int& row) const {
    column = getAbsoluteX() + marginX_ + column * slotWidth_;
    row = getAbsoluteY() + marginY_ + row * slotHeight_;
}

void SideBoard::invalidateTile(const Tile& tile) {
    const Rect slot{
        marginX_ + tile.getPos().x * slotWidth_, marginY_ + tile.getPos().y * slotHeight_,
        RENDERER_TILE_FACE_WIDTH + RENDERER_TILE_SIDE_WIDTH, 2 * RENDERER_TILE_FACE_HEIGHT};
    if (!dirtyRect_) {
        dirtyRect_ = slot;
        return;
    }
    Rect& dirty = *dirtyRect_;
    const int right = std::max(dirty.x + dirty.width, slot.x + slot.width);
    const int bottom = std::max(dirty.y + dirty.height, slot.y + slot.height);
    dirty.x = std::min(dirty.x, slot.x);
    dirty.y = std::min(dirty.y, slot.y);
    dirty.width = right - dirty.x;
    dirty.height = bottom - dirty.y;
}

Rect SideBoard::getLocalRect() {
    dirtyRect_ = Rect{0, 0, getWidth(), getHeight()};
    return *dirtyRect_;
}

BaseObject* SideBoard::getSlotLook(int column, int row) const {
    return isSlot(column, row) ? looks_[slotIndex(column, row)].get() : nullptr;
}

void SideBoard::setSlotLook(int column, int row, BaseObject* look) {
    if (isSlot(column, row)) {
        looks_[slotIndex(column, row)] = look;
    }
}

void SideBoard::setPainter(SideBoardPainter* painter) {
    painterSlot() = painter;
}

SideBoardPainter* SideBoard::getPainter() {
    return painterSlot();
}

void SideBoard::updateSelf(int elapsedMs) {
    if (SideBoardPainter* painter = getPainter()) {
        painter->update(*this, elapsedMs);
    }
}

void SideBoard::render(Graphics& graphics) {
    if (SideBoardPainter* painter = getPainter()) {
        painter->render(*this, graphics);
        return;
    }
    Sprite::render(graphics);
}

} // namespace orv
