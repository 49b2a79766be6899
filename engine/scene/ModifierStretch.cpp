#include "engine/scene/ModifierStretch.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

namespace orv {

// Registered under `Modifier`, as the class graph of the engine has it, even
// though it keeps time as a `ModifierFraction`.
constinit const ClassRecord ModifierStretch::classRecord{"ModifierStretch",
                                                         parentRecords<Modifier::classRecord>};

ModifierStretch::ModifierStretch(int durationMs, int startWidth, int startHeight, int endWidth,
                                 int endHeight)
    : ModifierFraction(durationMs), startWidth_(startWidth), startHeight_(startHeight),
      endWidth_(endWidth), endHeight_(endHeight), currentWidth_(static_cast<float>(startWidth)),
      currentHeight_(static_cast<float>(startHeight)) {}

void ModifierStretch::update(int dtMs) {
    ModifierFraction::update(dtMs);
    const float fraction = getFraction();
    currentWidth_ = modifier_math::lerp(static_cast<float>(startWidth_),
                                        static_cast<float>(endWidth_), fraction);
    currentHeight_ = modifier_math::lerp(static_cast<float>(startHeight_),
                                         static_cast<float>(endHeight_), fraction);
    auto* sprite = kindCast<Sprite>(getTarget());
    if (sprite == nullptr) {
        return;
    }
    if (stretchWidth_) {
        sprite->setStretchWidth(isDone() ? endWidth_ : modifier_math::nearestInt(currentWidth_));
    }
    if (stretchHeight_) {
        sprite->setStretchHeight(isDone() ? endHeight_ : modifier_math::nearestInt(currentHeight_));
    }
}

} // namespace orv
