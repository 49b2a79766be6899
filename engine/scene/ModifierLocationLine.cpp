#include "engine/scene/ModifierLocationLine.h"

#include "engine/scene/ModifierMath.h"

namespace orv {

constinit const ClassRecord ModifierLocationLine::classRecord{
    "ModifierLocationLine", parentRecords<ModifierLocation::classRecord>};

ModifierLocationLine::ModifierLocationLine(int startX, int startY, int endX, int endY,
                                           int durationMs, bool smooth)
    : ModifierLocation(durationMs, startX, startY), endX_(endX), endY_(endY) {
    setEasing(smooth ? &ModifierFraction::smoothstep : &ModifierFraction::linear);
}

void ModifierLocationLine::update(int dtMs) {
    ModifierFraction::update(dtMs);
    if (isDone()) {
        // The end point itself, not a product that may round beside it.
        setCurrent(static_cast<float>(endX_), static_cast<float>(endY_));
        applyPosition(endX_, endY_);
        return;
    }
    const float fraction = getFraction();
    setCurrent(
        modifier_math::lerp(static_cast<float>(getStartX()), static_cast<float>(endX_), fraction),
        modifier_math::lerp(static_cast<float>(getStartY()), static_cast<float>(endY_), fraction));
    applyPosition(modifier_math::truncToInt(getCurrentX()),
                  modifier_math::truncToInt(getCurrentY()));
}

} // namespace orv
