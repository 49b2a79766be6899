#include "game/board/BoardClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "game/board/CommandMove.h"
#include "game/board/CommandRemove.h"
#include "game/board/GameClassic.h"
#include "game/board/GameFreeCell.h"
#include "game/board/GameRiver.h"
#include "game/board/GameSpeed.h"
#include "game/board/GameSplit.h"
#include "game/board/GameTriple.h"
#include "game/board/Level.h"
#include "game/board/Progression.h"
#include "game/board/SideBoard.h"
#include "game/board/Tile.h"
#include "game/board/TileSuit.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerBoardClasses() {
    static constexpr auto creators = std::to_array<std::pair<std::string_view, CreateFunction>>({
        {"Tile", &Tile::createFromDefinition},
        {"Suit", &TileSuit::createFromDefinition},
        {"SideBoard", &SideBoard::createFromDefinition},
        {"Level", &Level::createFromDefinition},
        {"Progression", &Progression::createFromDefinition},
        {"CommandRemove", &CommandRemove::createFromDefinition},
        {"CommandMove", &CommandMove::createFromDefinition},
        {"GameClassic", &GameClassic::createFromDefinition},
        {"GameFreeCell", &GameFreeCell::createFromDefinition},
        {"GameSplit", &GameSplit::createFromDefinition},
        {"GameTriple", &GameTriple::createFromDefinition},
        {"GameRiver", &GameRiver::createFromDefinition},
        {"GameSpeed", &GameSpeed::createFromDefinition},
    });
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
