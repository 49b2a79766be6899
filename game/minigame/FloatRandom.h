#pragma once

#include <cstdint>

namespace orv {

/// The mini-game's own generator of fractions: a 64-bit linear congruential
/// state (state = (state * multiplier + addend) AND mask) whose bits 24 and
/// up, read as a signed 32-bit number and scaled by 2^-24, give the draw.
/// With the default constants (multiplier 0x5DEECE66D, addend 11, a 48-bit
/// mask) a draw lies in [0, 1).
///
///     FloatRandom angles(seed);
///     const float turn = angles.next(1.0F, 2.0F);   // in [1, 2)
///
/// The sequence depends on the seed alone, on every machine.
class FloatRandom {
public:
    static constexpr std::uint64_t kMultiplier = 0x5DEECE66DULL;
    static constexpr std::uint64_t kAddend = 11;
    static constexpr std::uint64_t kMask = (std::uint64_t{1} << 48) - 1;

    /// The state starts at (seed XOR multiplier) AND mask.
    explicit FloatRandom(std::uint64_t seed);

    /// One step: the raw fraction r in [0, 1) for the default mask.
    float nextFraction();
    /// One step: min + the floored remainder of r by (max - min). With
    /// max - min of 1 or more the result lies in [min, min + r]; with a
    /// smaller span it wraps inside [min, max). `max` must differ from `min`.
    float next(float min, float max);

    [[nodiscard]] std::uint64_t getState() const { return state_; }

private:
    std::uint64_t state_;
    std::uint64_t multiplier_ = kMultiplier;
    std::uint64_t addend_ = kAddend;
    std::uint64_t mask_ = kMask;
};

} // namespace orv
