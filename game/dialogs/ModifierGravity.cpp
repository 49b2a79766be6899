#include "game/dialogs/ModifierGravity.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr float kGravityStep = 0.02F;

// `value` moved toward 0 by `amount` (>= 0), never past it.
float towardZero(float value, float amount) {
    if (value > 0.0F) {
        return std::max(0.0F, value - amount);
    }
    return std::min(0.0F, value + amount);
}

} // namespace

constinit const ClassRecord ModifierGravity::classRecord{
    "ModifierGravity", parentRecords<ModifierLocation::classRecord>};

ModifierGravity::ModifierGravity(int durationMs, int startX, int startY, Pair acceleration,
                                 Pair friction, Pair velocity)
    : ModifierLocation(durationMs, startX, startY), acceleration_(acceleration),
      friction_(friction), velocity_(velocity) {}

void ModifierGravity::update(int dtMs) {
    ModifierFraction::update(dtMs);
    const float step = static_cast<float>(dtMs) * kGravityStep;
    velocity_.x = towardZero(velocity_.x + acceleration_.x * step, std::fabs(friction_.x) * step);
    velocity_.y = towardZero(velocity_.y + acceleration_.y * step, std::fabs(friction_.y) * step);
    const float x = getCurrentX() + velocity_.x * step;
    const float y = getCurrentY() + velocity_.y * step;
    setCurrent(x, y);
    applyPosition(static_cast<int>(x), static_cast<int>(y));
}

} // namespace orv
