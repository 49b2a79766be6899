#pragma once

#include <cstdint>

namespace orv {

/// What saving the level in progress does, by the level's phase (0 nothing
/// to save, 1 running, 2 board cleared) and place.
enum class LevelSaveStep {
    Nothing,       ///< phase 0: nothing to save
    Forget,        ///< no game, a hallway level, or a cleared recreation-room board:
                   ///< the phase returns to 0 and nothing is written
    Save,          ///< the level as it stands
    SaveNextLevel, ///< a cleared board of a run: the level it leads to, dealt,
                   ///< with that level's full time and a fresh bonus bar
};

[[nodiscard]] LevelSaveStep levelSaveStep(int levelPhase, bool hasGame, int place);

/// A level's full time in milliseconds: the time per tile times the
/// layout's tile count, within 0..INT32_MAX (never negative, never wrapped).
[[nodiscard]] std::int32_t fullLevelTime(int playTimePerTile, int originalTiles);

} // namespace orv
