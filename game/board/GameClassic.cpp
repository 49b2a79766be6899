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
    const Level* level = getLevel();
    order.reserve(order.size() + static_cast<std::size_t>(layout.getTileCount()));
    DealByDistance dealer(layout, getFreeTileRule(),
                          level != nullptr ? level->getTuningInt(Tuning::TileDistMin) : 0,
                          level != nullptr ? level->getTuningInt(Tuning::TileDistMax) : 0);
    while (!dealer.isDone()) {
        if (!dealer.dealSet(2, order)) {
            return false;
        }
    }
    return true;
}

} // namespace orv
