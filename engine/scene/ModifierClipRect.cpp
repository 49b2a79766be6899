#include "engine/scene/ModifierClipRect.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

namespace orv {

// Registered under `Modifier`, as the class graph of the engine has it, even
// though it keeps time as a `ModifierFraction`.
constinit const ClassRecord ModifierClipRect::classRecord{"ModifierClipRect",
                                                          parentRecords<Modifier::classRecord>};

namespace {

int between(int start, int end, float fraction) {
    return modifier_math::nearestInt(
        modifier_math::lerp(static_cast<float>(start), static_cast<float>(end), fraction));
}

} // namespace

void ModifierClipRect::update(int dtMs) {
    ModifierFraction::update(dtMs);
    auto* sprite = kindCast<Sprite>(getTarget());
    if (sprite == nullptr) {
        return;
    }
    if (isDone()) {
        sprite->setClipRect(endRect_.x, endRect_.y, endRect_.width, endRect_.height);
        return;
    }
    const float fraction = getFraction();
    sprite->setClipRect(between(startRect_.x, endRect_.x, fraction),
                        between(startRect_.y, endRect_.y, fraction),
                        between(startRect_.width, endRect_.width, fraction),
                        between(startRect_.height, endRect_.height, fraction));
}

} // namespace orv
