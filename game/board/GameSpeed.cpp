#include "game/board/GameSpeed.h"

#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"

namespace orv {

const ClassRecord GameSpeed::classRecord{"GameSpeed", parentRecords<GameSplit::classRecord>};

GameSpeed::GameSpeed(PropertyNode* saved) : GameSplit(saved, GameType::Speed) {}

BaseObject* GameSpeed::createFromDefinition(PropertyNode* definition) {
    return new GameSpeed(definition);
}

Tile* GameSpeed::getCurrentTwin() const {
    const Layout* board = getLayout();
    const SideBoard* rack = board != nullptr ? board->getSideBoard() : nullptr;
    return rack != nullptr ? rack->getTileAt(0, 0) : nullptr;
}

bool GameSpeed::pickHint(TileList& out) {
    Tile* twin = getCurrentTwin();
    if (twin == nullptr) {
        return false;
    }
    TileList free;
    getLayout()->getFreeTiles(free, getFreeTileRule());
    for (const RefPtr<Tile>& tile : free) {
        if (tilesMatch(twin, tile.get())) {
            out.emplace_back(twin);
            out.push_back(tile);
            return true;
        }
    }
    return false;
}

void GameSpeed::collectCandidates(TileList& out) {
    Tile* twin = getCurrentTwin();
    if (twin == nullptr) {
        return;
    }
    TileList free;
    getLayout()->getFreeTiles(free, getFreeTileRule());
    for (const RefPtr<Tile>& tile : free) {
        if (tilesMatch(twin, tile.get())) {
            out.emplace_back(twin);
            out.push_back(tile);
        }
    }
}

bool GameSpeed::deal(Layout& layout, TileList& order) {
    order.reserve(order.size() + static_cast<std::size_t>(layout.getTileCount()));
    const std::size_t first = order.size();
    layout.getTiles(order);
    for (std::size_t i = first; i < order.size(); ++i) {
        layout.removeTile(order[i].get());
    }
    return true;
}

RefPtr<Tile> GameSpeed::newTile() {
    const Layout* board = getLayout();
    if (board == nullptr) {
        return nullptr;
    }
    TileList free;
    board->getFreeTiles(free, getFreeTileRule());
    if (free.empty()) {
        return nullptr;
    }
    randomShuffle(free);
    return makeTwin(*free.back());
}

bool GameSpeed::selectionMatches() {
    const Tile* twin = getCurrentTwin();
    return twin != nullptr && tilesMatch(getClickedTile(), twin);
}

} // namespace orv
