#include "game/screen/BuildingProgress.h"

namespace orv {

namespace {

BuildingProgress* installedProgress = nullptr;

} // namespace

BuildingProgress* getBuildingProgress() {
    return installedProgress;
}

void setBuildingProgress(BuildingProgress* progress) {
    installedProgress = progress;
}

} // namespace orv
