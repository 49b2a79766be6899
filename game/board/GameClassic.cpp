#include "game/board/GameClassic.h"

#include "game/board/DealByDistance.h"

namespace orv {

const ClassRecord GameClassic::classRecord{"GameClassic", parentRecords<Game::classRecord>};

GameClassic::GameClassic(PropertyNode* saved) : Game(saved, GameType::Classic) {}

BaseObject* GameClassic::createFromDefinition(PropertyNode* definition) {
    return new GameClassic(definition);
}

bool GameClassic::tilesMatch(const Tile* a, const Tile* b) const {
    return sameKey(a, b);
}

bool GameClassic::deal(Layout& layout, TileList& order) {
    return dealInSets(layout, getFreeTileRule(), getLevel(), 2, order);
}

} // namespace orv
