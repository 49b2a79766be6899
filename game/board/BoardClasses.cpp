#include "game/board/BoardClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
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
    });
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
}

} // namespace orv
