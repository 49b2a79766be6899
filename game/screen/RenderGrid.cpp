#include "game/screen/RenderGrid.h"

#include "game/screen/RenderTile.h"

namespace orv {

bool RenderGrid::isOpen(int x, int y, int z) const {
    const RenderTile* tile = at(x, y, z);
    return tile == nullptr || tile->vanishing;
}

void RenderGrid::put(RenderTile& tile) {
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            if (isInside(tile.x + dx, tile.y + dy, tile.z)) {
                cells_[index(tile.x + dx, tile.y + dy, tile.z)] = &tile;
            }
        }
    }
}

void RenderGrid::take(RenderTile& tile) {
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            const int cx = tile.x + dx;
            const int cy = tile.y + dy;
            if (at(cx, cy, tile.z) == &tile) {
                cells_[index(cx, cy, tile.z)] = nullptr;
            }
        }
    }
}

} // namespace orv
