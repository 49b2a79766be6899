#include "engine/scene/ModifierLocation.h"

#include "engine/core/GameNode.h"

namespace orv {

// Registered under `Modifier`, as the class graph of the engine has it, even
// though it keeps time as a `ModifierFraction`.
constinit const ClassRecord ModifierLocation::classRecord{"ModifierLocation",
                                                          parentRecords<Modifier::classRecord>};

ModifierLocation::ModifierLocation(int durationMs, int startX, int startY)
    : ModifierFraction(durationMs), startX_(startX), startY_(startY),
      currentX_(static_cast<float>(startX)), currentY_(static_cast<float>(startY)) {}

void ModifierLocation::applyPosition(int x, int y) {
    GameNode* target = getTarget();
    if (target == nullptr) {
        return;
    }
    if (moveX_) {
        target->setX(x);
    }
    if (moveY_) {
        target->setY(y);
    }
}

} // namespace orv
