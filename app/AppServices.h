#pragma once

#include "game/scenes/BuildingServices.h"

namespace orv {

/// The building's services as the program provides them: leaving the game
/// goes through `OrvantaMain::quit`. The players' records are not kept yet:
/// there are no players, and nothing is saved.
class AppServices : public NullBuildingServices {
public:
    void quitGame() override;
};

} // namespace orv
