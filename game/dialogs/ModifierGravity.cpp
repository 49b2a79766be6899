#include "game/dialogs/ModifierGravity.h"

#include <algorithm>
#include <cmath>

namespace orv {

constinit const ClassRecord ModifierGravity::classRecord{
    "ModifierGravity", parentRecords<ModifierLocation::classRecord>};

ModifierGravity::ModifierGravity(int durationMs, int startX, int startY)
    : ModifierLocation(durationMs, startX, startY) {}

void ModifierGravity::step(float& position, float& velocity, float acceleration, float damping,
                           float scale) {
    velocity += acceleration * scale;
    const float brake = damping * scale;
    if (velocity > 0.0F) {
        velocity = std::max(0.0F, velocity - brake);
    } else if (velocity < 0.0F) {
        velocity = std::min(0.0F, velocity + brake);
    }
    position += velocity * scale;
}

void ModifierGravity::update(int dtMs) {
    ModifierFraction::update(dtMs);
    const float scale = static_cast<float>(std::max(dtMs, 0)) * 0.02F;
    float x = getCurrentX();
    float y = getCurrentY();
    if (getMoveX()) {
        step(x, velocityX_, accelerationX_, dampingX_, scale);
    }
    if (getMoveY()) {
        step(y, velocityY_, accelerationY_, dampingY_, scale);
    }
    setCurrent(x, y);
    applyPosition(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
}

} // namespace orv
