#include "game/scenes/ModifierTreshold.h"

#include "game/scenes/ThresholdSprite.h"

namespace orv {

constinit const ClassRecord ModifierTreshold::classRecord{
    "ModifierTreshold", parentRecords<ModifierFraction::classRecord>};

void ModifierTreshold::update(int dtMs) {
    ModifierFraction::update(dtMs);
    auto* sprite = kindCast<ThresholdSprite>(getTarget());
    // Compared exactly on purpose: any change of the fraction is passed on.
    if (sprite != nullptr && sprite->getThreshold() != getFraction()) { // NOLINT
        sprite->setThreshold(getFraction());
    }
}

} // namespace orv
