#pragma once

#include "engine/core/BaseObject.h"

#include <cstdint>
#include <span>

namespace orv {

/// A 48-bit linear congruential generator (multiplier 0x5DEECE66D, addend 11).
/// The sequence depends on the seed alone: two generators built with the same
/// seed words give the same draws, on every machine.
///
/// All game randomness draws from one process-wide instance that start-up
/// seeds with the millisecond clock; the archive's descrambler keeps an
/// instance of its own with a fixed seed. Not synchronised: use an instance
/// from one thread at a time (the process-wide one from the main thread).
///
///     RandomGenerator::createInstance(platform::getMilliseconds(), 0);
///     const int face = Random::nextInt(1, 7);          // 1 to 6
///     RandomGenerator keyMaker(0x1234, 0);              // a private sequence
///     keyMaker.nextBytes(key);
///
/// The class takes part in reference counting but has no class record of its
/// own (it is never created by name).
class RandomGenerator : public BaseObject {
public:
    static constexpr std::uint64_t kMultiplier = 0x5DEECE66DULL;
    static constexpr std::uint64_t kAddend = 11;
    static constexpr std::uint64_t kMask = (std::uint64_t{1} << 48) - 1;

    /// Seeds the generator with the 64-bit seed `seedHigh:seedLow`, of which
    /// only the low 48 bits matter (XORed with the multiplier).
    RandomGenerator(std::uint32_t seedLow, std::uint32_t seedHigh);

    /// Advances the state one step and returns its bits 16 to 47 as a signed
    /// 32-bit value (negative when bit 47 is set). Every draw is built on it.
    std::int32_t next32() {
        state_ = (state_ * multiplier_ + addend_) & mask_;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(state_ >> 16));
    }

    /// Fills `buffer` with one draw per four bytes, lowest byte first; a length
    /// that is not a multiple of four uses the first bytes of the last draw.
    void nextBytes(std::span<std::uint8_t> buffer);

    /// Replaces the process-wide generator with a new one seeded with
    /// `seedHigh:seedLow` and returns it. Start-up passes the millisecond clock
    /// and 0; tests pass a fixed seed to get a known sequence.
    static RandomGenerator& createInstance(std::uint32_t seedLow, std::uint32_t seedHigh);
    /// The process-wide generator. When none was created yet, one seeded with
    /// the millisecond clock is created first, so a draw never finds it
    /// missing. The reference stays valid until `destroyInstance` or the next
    /// `createInstance`.
    static RandomGenerator& getInstance();
    /// Drops the process-wide generator (exit sequence).
    static void destroyInstance();

private:
    std::uint64_t state_;
    const std::uint64_t multiplier_ = kMultiplier;
    const std::uint64_t mask_ = kMask;
    const std::uint64_t addend_ = kAddend;
};

/// Integer draws shared by engine and game code.
namespace Random {

/// A value in [min, max) drawn from `generator` with one step: the step's
/// value reduced modulo (max - min) with the sign of (max - min), plus min.
/// With max < min the result lies in (max, min]. With max == min there is no
/// range: the generator still steps and min is returned.
int nextInt(RandomGenerator& generator, int min, int max);

/// `nextInt` on the process-wide generator.
int nextInt(int min, int max);

} // namespace Random

/// Picks an index into `weights` with a probability proportional to its
/// weight, drawing once from the process-wide generator. With weights of 0 or
/// more, an index of weight 0 is never picked; when the draw falls past every
/// running sum (possible only with negative weights) the last index is
/// returned. Weights whose sum is not positive leave nothing to draw from:
/// the generator is not touched and the last index (-1 for an empty list) is
/// returned.
int randomWeightedIndex(std::span<const int> weights);

/// `value` reduced into [0, period) for a positive period and into
/// (period, 0] for a negative one (a floored modulo in single precision).
/// `period` must not be 0.
float floatModulo(float value, float period);

/// Moves `position` towards `target` for `elapsedMs` milliseconds under a
/// simple motion model and updates `speed` (both the caller's, kept between
/// frames). Speeds are in units per second, `acceleration` and `deceleration`
/// in units per second squared; `deceleration` must be greater than 0. The
/// speed brakes when its braking distance exceeds the distance left and
/// otherwise grows towards the target up to `maxSpeed`; growth downwards
/// happens only with `allowDownward`. Crossing the target lands on it exactly
/// with speed 0. Without `allowDownward`, a speed that carries the position
/// upwards away from a lower target is braked to 0, so the position never
/// runs away; a speed that already points down is left as it is.
void approachValue(float& position, float& speed, int elapsedMs, float target, float maxSpeed,
                   float acceleration, float deceleration, bool allowDownward);

} // namespace orv
