#include "game/board/Layout.h"

#include "engine/core/Log.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"

#include <algorithm>
#include <string>

namespace orv {

const ClassRecord Layout::classRecord{"Layout", parentRecords<BaseObject::classRecord>};

Layout::Layout() = default;

Layout::Layout(const Layout& source)
    : BaseObject(), tileCount_(0), originalTileCount_(source.originalTileCount_),
      displayName_(source.displayName_) {
    // The copy keeps the original tile count of its source, so the progress
    // of a level measured against it does not fall back after a shuffle.
    source.forEachTile([this](const Tile& tile) {
        RefPtr<Tile> copy(new Tile(tile));
        setTileAt(copy.get(), tile.getPos());
    });
    if (source.sideBoard_) {
        sideBoard_ = new SideBoard(*source.sideBoard_);
    }
}

Layout::~Layout() {
    clear();
}

void Layout::setDisplayName(std::string_view name) {
    displayName_ = name.empty() ? kNoName : name;
}

void Layout::setSideBoard(SideBoard* sideBoard) {
    sideBoard_ = sideBoard;
}

void Layout::removeTileInCell(int x, int y, int z) {
    Tile* tile = getGridCell(x, y, z);
    if (tile == nullptr) {
        return;
    }
    const TilePos& pos = tile->getPos();
    // Every cell of the square lets go of its reference; the last release
    // may destroy the tile, so nothing of it is read afterwards.
    const int ox = pos.x;
    const int oy = pos.y;
    const int oz = pos.z;
    --tileCount_;
    --rowOrigins_[rowIndex(oy, oz)];
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            Tile*& cell = cells_[index(ox + dx, oy + dy, oz)];
            if (Tile* held = std::exchange(cell, nullptr)) {
                held->release();
            }
        }
    }
}

bool Layout::setTileAt(Tile* tile, const TilePos& pos) {
    if (!isValidOrigin(pos)) {
        logWarning("layout: a tile cannot stand at (" + std::to_string(pos.x) + ", " +
                   std::to_string(pos.y) + ", " + std::to_string(pos.z) + "): off the grid");
        return false;
    }
    // Keeps the tile alive while its own square is cleared (it may be
    // standing there already and be held by nothing else).
    const RefPtr<Tile> keep(tile);
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            removeTileInCell(pos.x + dx, pos.y + dy, pos.z);
        }
    }
    if (tile == nullptr) {
        return true;
    }
    tile->setPos(pos);
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            tile->addRef();
            cells_[index(pos.x + dx, pos.y + dy, pos.z)] = tile;
        }
    }
    ++tileCount_;
    ++rowOrigins_[rowIndex(pos.y, pos.z)];
    return true;
}

void Layout::removeTile(Tile* tile) {
    if (tile == nullptr) {
        return;
    }
    const TilePos pos = tile->getPos();
    if (tile->isSideboard()) {
        if (sideBoard_ && sideBoard_->getTileAt(pos.x, pos.y) == tile) {
            sideBoard_->removeTileAt(pos.x, pos.y);
        }
        return;
    }
    if (getGridCell(pos.x, pos.y, pos.z) == tile) {
        removeTileInCell(pos.x, pos.y, pos.z);
    }
}

void Layout::addTiles(const TileList& tiles) {
    for (const RefPtr<Tile>& tile : tiles) {
        if (tile) {
            setTileAt(tile.get(), tile->getPos());
        }
    }
}

void Layout::clear() {
    for (Tile*& cell : cells_) {
        if (Tile* held = std::exchange(cell, nullptr)) {
            held->release();
        }
    }
    tileCount_ = 0;
    rowOrigins_.fill(0);
}

bool Layout::isLeftSideOpen(const TilePos& pos) const {
    return pos.x == 0 ||
           (isCellOpen(pos.x - 1, pos.y, pos.z) && isCellOpen(pos.x - 1, pos.y + 1, pos.z));
}

bool Layout::isRightSideOpen(const TilePos& pos) const {
    return pos.x >= kMaxX ||
           (isCellOpen(pos.x + 2, pos.y, pos.z) && isCellOpen(pos.x + 2, pos.y + 1, pos.z));
}

bool Layout::isTopSideOpen(const TilePos& pos) const {
    return pos.y == 0 ||
           (isCellOpen(pos.x, pos.y - 1, pos.z) && isCellOpen(pos.x + 1, pos.y - 1, pos.z));
}

bool Layout::isBottomSideOpen(const TilePos& pos) const {
    return pos.y >= kMaxY ||
           (isCellOpen(pos.x, pos.y + 2, pos.z) && isCellOpen(pos.x + 1, pos.y + 2, pos.z));
}

bool Layout::isTileFree(const Tile& tile, FreeTileRule rule) const {
    if (tile.isSideboard()) {
        return true;
    }
    const TilePos& pos = tile.getPos();
    if (pos.z < kMaxZ) {
        const int above = pos.z + 1;
        if (!isCellOpen(pos.x, pos.y, above) || !isCellOpen(pos.x + 1, pos.y, above) ||
            !isCellOpen(pos.x, pos.y + 1, above) || !isCellOpen(pos.x + 1, pos.y + 1, above)) {
            return false;
        }
    }
    if (isLeftSideOpen(pos) || isRightSideOpen(pos)) {
        return true;
    }
    return rule == FreeTileRule::River && (isTopSideOpen(pos) || isBottomSideOpen(pos));
}

Tile* Layout::singleTileIn(int x1, int y1, int x2, int y2, int z) const {
    Tile* first = getGridCell(x1, y1, z);
    Tile* second = getGridCell(x2, y2, z);
    if (first == nullptr) {
        return second;
    }
    if (second == nullptr || second == first) {
        return first;
    }
    return nullptr;
}

bool Layout::isUnderFreeTile(const Tile& tile, FreeTileRule rule) const {
    if (tile.isSideboard() || isTileFree(tile, rule)) {
        return false;
    }
    const TilePos& pos = tile.getPos();
    Tile* above = nullptr;
    if (pos.z < kMaxZ) {
        const std::array<std::array<int, 2>, 4> cells{
            {{pos.x, pos.y}, {pos.x, pos.y + 1}, {pos.x + 1, pos.y}, {pos.x + 1, pos.y + 1}}};
        for (const auto& [cx, cy] : cells) {
            Tile* held = getGridCell(cx, cy, pos.z + 1);
            if (held == nullptr) {
                continue;
            }
            if (above == nullptr) {
                if (!isTileFree(*held, rule)) {
                    return false;
                }
                above = held;
            } else if (held != above) {
                return false;
            }
        }
    }
    if (rule == FreeTileRule::River) {
        return false;
    }
    const auto holdsNothing = [this, &pos](int x) {
        return getGridCell(x, pos.y, pos.z) == nullptr &&
               getGridCell(x, pos.y + 1, pos.z) == nullptr;
    };
    if (above != nullptr) {
        return holdsNothing(pos.x - 1) || holdsNothing(pos.x + 2);
    }
    for (const int x : {pos.x - 1, pos.x + 2}) {
        const Tile* side = singleTileIn(x, pos.y, x, pos.y + 1, pos.z);
        if (side != nullptr && isTileFree(*side, rule)) {
            return true;
        }
    }
    return false;
}

int Layout::collectAdjacentTiles(const Tile& tile, TileList& out) const {
    const TilePos& p = tile.getPos();
    const std::array<TilePos, 12> cells{{{p.x - 1, p.y, p.z},
                                         {p.x - 1, p.y + 1, p.z},
                                         {p.x + 2, p.y, p.z},
                                         {p.x + 2, p.y + 1, p.z},
                                         {p.x, p.y - 1, p.z},
                                         {p.x + 1, p.y - 1, p.z},
                                         {p.x, p.y + 2, p.z},
                                         {p.x + 1, p.y + 2, p.z},
                                         {p.x, p.y, p.z + 1},
                                         {p.x + 1, p.y, p.z + 1},
                                         {p.x, p.y + 1, p.z + 1},
                                         {p.x + 1, p.y + 1, p.z + 1}}};
    for (const TilePos& cell : cells) {
        Tile* held = getGridCell(cell.x, cell.y, cell.z);
        if (held != nullptr && !listContains(out, held)) {
            out.emplace_back(held);
        }
    }
    return static_cast<int>(out.size());
}

void Layout::getTiles(TileList& out) const {
    out.reserve(out.size() + static_cast<std::size_t>(tileCount_));
    forEachTile([&out](Tile& tile) { out.emplace_back(&tile); });
}

void Layout::getFreeTiles(TileList& out, FreeTileRule rule) const {
    forEachTile([&](Tile& tile) {
        if (isTileFree(tile, rule)) {
            out.emplace_back(&tile);
        }
    });
}

void Layout::getTilesOnLayer(TileList& out, int z) const {
    forEachTile([&](Tile& tile) {
        if (tile.getPos().z == z) {
            out.emplace_back(&tile);
        }
    });
}

void Layout::getTilesUnderFreeTile(TileList& out, FreeTileRule rule) const {
    forEachTile([&](Tile& tile) {
        if (isUnderFreeTile(tile, rule)) {
            out.emplace_back(&tile);
        }
    });
}

int Layout::countFreeTiles(FreeTileRule rule) const {
    int count = 0;
    forEachTile([&](const Tile& tile) {
        if (!tile.isSideboard() && isTileFree(tile, rule)) {
            ++count;
        }
    });
    return count;
}

Tile* Layout::findTileFreeableBySideBoard(FreeTileRule rule) const {
    if (!sideBoard_ || sideBoard_->countTiles() >= sideBoard_->getSlotCount()) {
        return nullptr;
    }
    TileList candidates;
    getTilesUnderFreeTile(candidates, rule);
    randomShuffle(candidates);
    for (const RefPtr<Tile>& candidate : candidates) {
        TileList touching;
        if (collectAdjacentTiles(*candidate, touching) > sideBoard_->getSlotCount()) {
            continue;
        }
        const TilePos& pos = candidate->getPos();
        if (pos.z >= kMaxZ) {
            continue;
        }
        const std::array<std::array<int, 2>, 4> cells{
            {{pos.x, pos.y}, {pos.x, pos.y + 1}, {pos.x + 1, pos.y}, {pos.x + 1, pos.y + 1}}};
        for (const auto& [cx, cy] : cells) {
            Tile* above = getGridCell(cx, cy, pos.z + 1);
            if (above != nullptr && isTileFree(*above, rule)) {
                return above;
            }
        }
    }
    return nullptr;
}

int Layout::getWidth() const {
    int width = 0;
    for (int z = 0; z < kLayers; ++z) {
        for (int y = 0; y < kRows; ++y) {
            for (int x = width; x < kColumns; ++x) {
                if (cells_[index(x, y, z)] != nullptr) {
                    width = x + 1;
                }
            }
        }
    }
    return width;
}

int Layout::getHeight() const {
    int height = 0;
    for (int z = 0; z < kLayers; ++z) {
        for (int y = height; y < kRows; ++y) {
            for (int x = 0; x < kColumns; ++x) {
                if (cells_[index(x, y, z)] != nullptr) {
                    height = y + 1;
                    break;
                }
            }
        }
    }
    return height;
}

} // namespace orv
