#pragma once

#include "game/screen/BuildingProgress.h"

namespace orv {

/// The building's answer to a won hallway room: the hallway scene keeps the
/// host's tip for its next arrival; a completed floor makes the elevator
/// show the next floor opening, remember the floor's unlock item and stand
/// at that floor. Finds both scenes through the scene manager by name and
/// does nothing for a scene the program lacks. `registerGameSceneClasses`
/// installs the one link of the process.
class BuildingProgressLink : public BuildingProgress {
public:
    void leaveHallwayTip(int tip) override;
    void floorCompleted(int floor) override;
};

} // namespace orv
