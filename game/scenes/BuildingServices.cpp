#include "game/scenes/BuildingServices.h"

namespace orv {

namespace {

BuildingServices* installed = nullptr;

} // namespace

void setBuildingServices(BuildingServices* services) {
    installed = services;
}

BuildingServices& getBuildingServices() {
    static NullBuildingServices none;
    return installed != nullptr ? *installed : none;
}

} // namespace orv
