#pragma once

// Number helpers shared by the modifier kinds: interpolation between a start
// and an end value, and the two float-to-integer conversions they use.

#include <cmath>
#include <limits>

namespace orv::modifier_math {

/// start + (end - start) × fraction, in floats; exactly `end` once the
/// fraction has reached 1, so a finished modifier lands on its end value
/// whatever the rounding of the product.
[[nodiscard]] inline float lerp(float start, float end, float fraction) {
    return fraction >= 1.0F ? end : start + (end - start) * fraction;
}

/// `value` toward zero. NaN gives 0; values beyond the int range give its
/// nearest end (the conversion itself would be undefined there).
[[nodiscard]] inline int truncToInt(double value) {
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= low) {
        return std::numeric_limits<int>::min();
    }
    if (value >= high) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

/// The integer nearest to `value`, ties to even; NaN and out-of-range values
/// as `truncToInt`.
[[nodiscard]] inline int nearestInt(double value) {
    // Halves go to the even neighbour; computed without the floating-point
    // environment's rounding mode.
    const double floor = std::floor(value);
    const double diff = value - floor;
    double rounded = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        rounded = floor + 1.0;
    }
    return truncToInt(rounded);
}

} // namespace orv::modifier_math
