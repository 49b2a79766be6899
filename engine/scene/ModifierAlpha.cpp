#include "engine/scene/ModifierAlpha.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

namespace orv {

// Registered under `Modifier`, as the class graph of the engine has it, even
// though it keeps time as a `ModifierFraction`.
constinit const ClassRecord ModifierAlpha::classRecord{"ModifierAlpha",
                                                       parentRecords<Modifier::classRecord>};

void ModifierAlpha::update(int dtMs) {
    ModifierFraction::update(dtMs);
    currentAlpha_ = modifier_math::lerp(static_cast<float>(startAlpha_),
                                        static_cast<float>(endAlpha_), getFraction());
    if (auto* sprite = kindCast<Sprite>(getTarget())) {
        sprite->setAlpha(isDone() ? endAlpha_ : modifier_math::truncToInt(currentAlpha_));
    }
}

} // namespace orv
