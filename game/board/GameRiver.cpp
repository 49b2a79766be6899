#include "game/board/GameRiver.h"

#include "engine/core/RandomGenerator.h"
#include "game/board/PathGrid.h"
#include "game/board/ShuffleRandom.h"

#include <algorithm>
#include <array>

namespace orv {

const ClassRecord GameRiver::classRecord{"GameRiver", parentRecords<Game::classRecord>};

namespace {

// Random pair draws per pass of the deal before every pair is tried: a few
// per free tile, so that a layer with many connectable pairs rarely needs
// the full search.
constexpr int kDrawsPerFreeTile = 4;
constexpr int kMinDraws = 16;

} // namespace

GameRiver::GameRiver(PropertyNode* saved) : Game(saved, GameType::River) {}

BaseObject* GameRiver::createFromDefinition(PropertyNode* definition) {
    return new GameRiver(definition);
}

bool GameRiver::connected(const Layout& layout, const Tile& a, const Tile& b) {
    PathGrid grid;
    grid.build(layout, a, b);
    return grid.connects();
}

bool GameRiver::tilesMatch(const Tile* a, const Tile* b) const {
    const Layout* board = getLayout();
    if (a == nullptr || b == nullptr || a == b || board == nullptr ||
        a->getPos().z != b->getPos().z || a->matchKey() != b->matchKey() || a->isSideboard() ||
        b->isSideboard()) {
        return false;
    }
    return connected(*board, *a, *b);
}

void GameRiver::groupIntoSets(std::vector<TileDef>& out) {
    const Layout* board = getLayout();
    if (board == nullptr) {
        return;
    }
    TileList tiles;
    board->getTiles(tiles);
    randomShuffle(tiles);
    std::vector<char> grouped(tiles.size(), 0);
    for (std::size_t last = tiles.size(); last-- > 0;) {
        if (grouped[last] != 0) {
            continue;
        }
        grouped[last] = 1;
        const Tile& tile = *tiles[last];
        out.push_back(TileDef{tile.getSuit(), tile.getIdx()});
        for (std::size_t i = 0; i < last; ++i) {
            if (grouped[i] == 0 && tiles[i]->matchKey() == tile.matchKey()) {
                grouped[i] = 1;
                out.push_back(TileDef{tiles[i]->getSuit(), tiles[i]->getIdx()});
                break;
            }
        }
    }
}

bool GameRiver::dealCanSucceed(const Layout& board) const {
    std::array<int, Layout::kLayers> counts{};
    board.forEachTile(
        [&counts](const Tile& tile) { ++counts.at(static_cast<std::size_t>(tile.getPos().z)); });
    for (const int count : counts) {
        if (count % 2 != 0) {
            return false;
        }
    }
    return true;
}

bool GameRiver::deal(Layout& layout, TileList& order) {
    order.reserve(order.size() + static_cast<std::size_t>(layout.getTileCount()));
    TileList layer;
    TileList free;
    dealSearches_.fill(0);
    for (int z = Layout::kMaxZ; z >= 0; --z) {
        int& searches = dealSearches_.at(static_cast<std::size_t>(z));
        layer.clear();
        layout.getTilesOnLayer(layer, z);
        while (!layer.empty()) {
            free.clear();
            for (const RefPtr<Tile>& tile : layer) {
                if (layout.isTileFree(*tile, FreeTileRule::River)) {
                    free.push_back(tile);
                }
            }
            const auto count = static_cast<int>(free.size());
            if (count < 2) {
                return false;
            }
            Tile* a = nullptr;
            Tile* b = nullptr;
            const int draws = std::max(kMinDraws, kDrawsPerFreeTile * count);
            for (int draw = 0; draw < draws && a == nullptr; ++draw) {
                Tile* first = free[static_cast<std::size_t>(Random::nextInt(0, count))].get();
                Tile* second = free[static_cast<std::size_t>(Random::nextInt(0, count))].get();
                if (first == second) {
                    continue;
                }
                ++searches;
                if (connected(layout, *first, *second)) {
                    a = first;
                    b = second;
                }
            }
            // The draws missed: try every pair once, from a random first
            // tile on, before the layer is given up.
            const int offset = a == nullptr ? Random::nextInt(0, count) : 0;
            for (int i = 0; i < count && a == nullptr; ++i) {
                Tile* first = free[static_cast<std::size_t>((i + offset) % count)].get();
                for (int j = i + 1; j < count && a == nullptr; ++j) {
                    Tile* second = free[static_cast<std::size_t>((j + offset) % count)].get();
                    ++searches;
                    if (connected(layout, *first, *second)) {
                        a = first;
                        b = second;
                    }
                }
            }
            if (a == nullptr) {
                return false;
            }
            order.emplace_back(a);
            order.emplace_back(b);
            removeFirst(layer, a);
            removeFirst(layer, b);
            layout.removeTile(a);
            layout.removeTile(b);
        }
    }
    return true;
}

} // namespace orv
