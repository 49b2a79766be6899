#include "engine/core/ModifierFraction.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord ModifierFraction::classRecord{"ModifierFraction",
                                                          parentRecords<Modifier::classRecord>};

float ModifierFraction::linear(float t) {
    return t;
}

float ModifierFraction::smoothstep(float t) {
    return (3.0F - t - t) * t * t;
}

void ModifierFraction::update(int dtMs) {
    elapsed_ += std::max(dtMs, 0);
    // Time keeping only; the division below never sees a duration of 0 or
    // less, since elapsed (>= 0) has reached such a duration at once.
    if (elapsed_ >= duration_) {
        finish();
        return;
    }
    fraction_ = static_cast<float>(elapsed_) / static_cast<float>(duration_);
    if (easing_ != nullptr) {
        fraction_ = easing_(fraction_);
    }
}

void ModifierFraction::finish() {
    Modifier::finish();
    elapsed_ = std::max(duration_, 0);
    fraction_ = 1.0F;
}

} // namespace orv
