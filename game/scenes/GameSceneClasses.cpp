#include "game/scenes/GameSceneClasses.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/scene/SceneManager.h"
#include "game/scenes/BuildingProgressLink.h"
#include "game/scenes/SceneCasino.h"
#include "game/scenes/SceneElevator.h"
#include "game/scenes/SceneHallway.h"
#include "game/scenes/SceneLoad.h"
#include "game/scenes/SceneLobby.h"
#include "game/scenes/SceneOrvanta.h"
#include "game/scenes/SceneRecRoom.h"
#include "game/scenes/SceneRoof.h"
#include "game/scenes/SceneSplash.h"
#include "game/screen/SceneGame.h"

#include <array>
#include <string_view>
#include <utility>

namespace orv {

void registerGameSceneClasses() {
    static constexpr auto creators = std::to_array<std::pair<std::string_view, CreateFunction>>({
        {"SceneOrvanta", &SceneOrvanta::createFromDefinition},
        {"SceneSplash", &SceneSplash::createFromDefinition},
        {"SceneLoad", &SceneLoad::createFromDefinition},
        {"SceneLobby", &SceneLobby::createFromDefinition},
        {"SceneElevator", &SceneElevator::createFromDefinition},
        {"SceneHallway", &SceneHallway::createFromDefinition},
        {"SceneCasino", &SceneCasino::createFromDefinition},
        {"SceneRecRoom", &SceneRecRoom::createFromDefinition},
        {"SceneRoof", &SceneRoof::createFromDefinition},
    });
    // A level stopped in a place leaves the player in the elevator at it.
    SceneGame::setElevatorStopHook([](int stop) {
        SceneManager* manager = SceneManager::getInstance();
        if (auto* elevator = manager != nullptr
                                 ? kindCast<SceneElevator>(manager->getScene("SCENE_ELEVATOR"))
                                 : nullptr) {
            elevator->setCurrentStop(stop);
        }
    });
    ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
    for (const auto& [name, create] : creators) {
        factory.registerCreator(name, create);
    }
    // The playing screen's news of won rooms reaches the hallway and the
    // elevator through this link.
    static BuildingProgressLink link;
    setBuildingProgress(&link);
}

} // namespace orv
