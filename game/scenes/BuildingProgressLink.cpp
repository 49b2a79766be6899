#include "game/scenes/BuildingProgressLink.h"

#include "engine/scene/SceneManager.h"
#include "game/scenes/SceneElevator.h"
#include "game/scenes/SceneHallway.h"

#include <string_view>

namespace orv {

namespace {

template <class T>
T* progressScene(std::string_view name) {
    const SceneManager* manager = SceneManager::getInstance();
    return manager != nullptr ? kindCast<T>(manager->getScene(name)) : nullptr;
}

} // namespace

void BuildingProgressLink::leaveHallwayTip(int tip) {
    if (auto* hallway = progressScene<SceneHallway>("SCENE_HALLWAY")) {
        hallway->setPendingTip(tip);
    }
}

void BuildingProgressLink::floorCompleted(int floor) {
    if (auto* elevator = progressScene<SceneElevator>("SCENE_ELEVATOR")) {
        elevator->setFloorToUnlock(floor + 1);
        elevator->setLastUnlockedItem(floor - 1);
        elevator->setCurrentStop(floor);
    }
}

} // namespace orv
