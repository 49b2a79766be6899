#include "game/screen/LevelSave.h"

#include "game/screen/PlayRules.h"

#include <algorithm>
#include <limits>

namespace orv {

LevelSaveStep levelSaveStep(int levelPhase, bool hasGame, int place) {
    if (levelPhase == 0) {
        return LevelSaveStep::Nothing;
    }
    if (!hasGame || place == PlaceHallway) {
        return LevelSaveStep::Forget;
    }
    if (levelPhase == 2) {
        return place == PlaceRecRoom ? LevelSaveStep::Forget : LevelSaveStep::SaveNextLevel;
    }
    return LevelSaveStep::Save;
}

std::int32_t fullLevelTime(int playTimePerTile, int originalTiles) {
    const std::int64_t full = static_cast<std::int64_t>(playTimePerTile) * originalTiles;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(full, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace orv
