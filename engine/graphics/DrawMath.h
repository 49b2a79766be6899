#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace orv::draw_math {

// Float-to-integer conversions of the drawing code. The plain conversion is
// undefined for NaN and for values beyond the target type, which come from
// data (huge positions, zero scales): these saturate instead.

/// `value` toward zero, limited to the int64 range; NaN gives 0.
[[nodiscard]] inline std::int64_t truncTo64(double value) {
    constexpr double limit = 9.2e18;
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= -limit) {
        return static_cast<std::int64_t>(-limit);
    }
    if (value >= limit) {
        return static_cast<std::int64_t>(limit);
    }
    return static_cast<std::int64_t>(value);
}

/// `value` limited to the int range.
[[nodiscard]] inline int clampToInt(std::int64_t value) {
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

/// `value` toward zero, limited to the int range; NaN gives 0.
[[nodiscard]] inline int truncToInt(double value) {
    return clampToInt(truncTo64(value));
}

/// The integer nearest to `value`, halves to the even neighbour (independent
/// of the floating-point environment), limited to the int range; NaN gives 0.
[[nodiscard]] inline int nearestInt(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    double rounded = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        rounded = floor + 1.0;
    }
    return truncToInt(rounded);
}

} // namespace orv::draw_math
