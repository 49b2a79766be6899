#include "engine/scene/ModifierScale.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

namespace orv {

constinit const ClassRecord ModifierScale::classRecord{
    "ModifierScale", parentRecords<ModifierFraction::classRecord>};

void ModifierScale::update(int dtMs) {
    ModifierFraction::update(dtMs);
    if (auto* sprite = kindCast<Sprite>(getTarget())) {
        sprite->setScale(modifier_math::lerp(startScale_, endScale_, getFraction()));
    }
}

} // namespace orv
