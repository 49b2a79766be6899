#include "engine/scene/ModifierScale.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

namespace orv {

// Registered under `Modifier`, as the class graph of the engine has it, even
// though it keeps time as a `ModifierFraction`.
constinit const ClassRecord ModifierScale::classRecord{"ModifierScale",
                                                       parentRecords<Modifier::classRecord>};

void ModifierScale::update(int dtMs) {
    ModifierFraction::update(dtMs);
    if (auto* sprite = kindCast<Sprite>(getTarget())) {
        sprite->setScale(modifier_math::lerp(startScale_, endScale_, getFraction()));
    }
}

} // namespace orv
