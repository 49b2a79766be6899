#include "game/minigame/ModifierTileFall.h"

#include <cmath>

namespace orv {

constinit const ClassRecord ModifierTileFall::classRecord{
    "ModifierTileFall", parentRecords<ModifierLocation::classRecord>};

ModifierTileFall::ModifierTileFall(int x, int startY, int endY, int durationMs, int amplitude,
                                   float frequency)
    : ModifierLocation(durationMs, x, startY), endY_(endY), amplitude_(amplitude),
      frequency_(frequency) {}

void ModifierTileFall::update(int dtMs) {
    ModifierFraction::update(dtMs);
    if (isDone()) {
        // The landing point itself: the fall ends where the game says it ends.
        setCurrent(static_cast<float>(getStartX()), static_cast<float>(endY_));
        applyPosition(getStartX(), endY_);
        return;
    }
    const float seconds = static_cast<float>(getElapsed()) / 1000.0F;
    const float x = static_cast<float>(getStartX()) +
                    static_cast<float>(amplitude_) * std::sin(frequency_ * seconds);
    const float y =
        static_cast<float>(getStartY()) + static_cast<float>(endY_ - getStartY()) * getFraction();
    setCurrent(x, y);
    applyPosition(static_cast<int>(x), static_cast<int>(y));
}

} // namespace orv
