#include "game/minigame/FloatRandom.h"

#include "engine/core/RandomGenerator.h"

namespace orv {

FloatRandom::FloatRandom(std::uint64_t seed) : state_((seed ^ kMultiplier) & kMask) {}

float FloatRandom::nextFraction() {
    state_ = (state_ * multiplier_ + addend_) & mask_;
    // The state is below 2^48, so bits 24 and up fit a signed 32-bit number
    // without reaching its sign bit.
    const auto high = static_cast<std::int32_t>(static_cast<std::int64_t>(state_) >> 24);
    return static_cast<float>(high) * (1.0F / 16777216.0F);
}

float FloatRandom::next(float min, float max) {
    return min + floatModulo(nextFraction(), max - min);
}

} // namespace orv
