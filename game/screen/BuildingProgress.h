#pragma once

namespace orv {

/// What the playing screen tells the building when a hallway room is won:
/// the host's tip for the hallway's next arrival and a floor completed (the
/// elevator then shows the next floor opening). The building installs it
/// (`setBuildingProgress`); without one the news is dropped.
///
///     if (BuildingProgress* building = getBuildingProgress()) {
///         building->floorCompleted(3);
///     }
class BuildingProgress {
public:
    BuildingProgress() = default;
    BuildingProgress(const BuildingProgress&) = delete;
    BuildingProgress& operator=(const BuildingProgress&) = delete;
    virtual ~BuildingProgress() = default;

    /// The hallway gives host tip `tip` (2, 3 or 4) on its next arrival.
    virtual void leaveHallwayTip(int tip) = 0;
    /// `floor` (1-20) has just been completed.
    virtual void floorCompleted(int floor) = 0;
};

/// The installed link, or null. Borrowed: the installer keeps it alive until
/// it installs null.
[[nodiscard]] BuildingProgress* getBuildingProgress();
void setBuildingProgress(BuildingProgress* progress);

} // namespace orv
