#pragma once

#include "engine/core/RefPtr.h"
#include "game/board/GameType.h"
#include "game/board/Level.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PropertyNode;
class PropertyVector;

/// Every level definition of the building, read once from the four level
/// files, and the levels made from them on request: a hallway room by floor
/// and room, a casino or roof game by game type and difficulty, the roof's
/// Speed game by difficulty, and a recreation-room series.
///
/// A request for something the files do not hold (a floor, room, game type,
/// difficulty or series that does not exist, or an entry that is no level)
/// is logged and gives null; callers must test the result.
///
///     RefPtr<Level> level = getLevelSets().createLevel(2, 5);
///     if (!level) { ... stay in the hallway ... }
class LevelSets {
public:
    /// The level files, in the order they are read.
    static constexpr std::array<std::string_view, 4> kFiles{
        "media/properties/levels/casino.xml", "media/properties/levels/recroom.xml",
        "media/properties/levels/hallway.xml", "media/properties/levels/roof.xml"};
    static constexpr std::array<std::string_view, 3> kDifficultyNames{"normal", "hard", "expert"};

    /// Empty areas: every request fails until `load`.
    LevelSets();
    LevelSets(const LevelSets&) = delete;
    LevelSets& operator=(const LevelSets&) = delete;
    ~LevelSets();

    /// Reads the four level files (`kFiles`, each put after `folder`) into
    /// one tree and keeps its areas "hallway", "casino", "recroom" and
    /// "roof". A file that cannot be read is logged and its area stays
    /// empty.
    void load(std::string_view folder = {});

    /// The hallway level of `room` (1 to 5) on `floor` (from 1), with those
    /// numbers set on it.
    [[nodiscard]] RefPtr<Level> createLevel(int floor, int room) const;
    /// The casino definition of `type` (Classic to River) at `difficulty`
    /// (0 "normal" to 2 "expert"), for the place `place` (the casino; the
    /// roof uses the same definitions).
    [[nodiscard]] RefPtr<Level> getLevelDef(GameType type, int difficulty, Place place) const;
    /// The roof's Speed level at `difficulty`; its place is the node's own.
    [[nodiscard]] RefPtr<Level> getSpeedLevelDef(int difficulty) const;
    /// Appends every level of recreation-room series `series` (from 0) to
    /// `out`, each with its position in the series as its index; returns
    /// how many were appended (0 for a series that does not exist).
    int createRecRoomLevels(int series, std::vector<RefPtr<Level>>& out) const;

    /// Number of hallway floors, rooms of a floor, and recreation-room series.
    [[nodiscard]] int getFloorCount() const;
    [[nodiscard]] int getRoomCount(int floor) const;
    [[nodiscard]] int getRecRoomSeriesCount() const;

private:
    RefPtr<PropertyVector> hallway_;
    RefPtr<PropertyNode> casino_;
    RefPtr<PropertyVector> recroom_;
    RefPtr<PropertyNode> roof_;
};

/// The process-wide level sets, loaded from the program folder on first use.
[[nodiscard]] LevelSets& getLevelSets();
/// Releases the process-wide level sets (exit sequence, tests).
void destroyLevelSets();

} // namespace orv
