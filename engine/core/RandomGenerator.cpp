#include "engine/core/RandomGenerator.h"

#include "engine/core/RefPtr.h"
#include "engine/system/Platform.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

RefPtr<RandomGenerator> theGenerator;

// Remainder of `value / divisor` carrying the sign of the divisor. Worked in
// 64 bits so that a range wider than an int (min near INT_MIN, max near
// INT_MAX) neither overflows nor changes the result of an ordinary range.
std::int64_t flooredModulo(std::int64_t value, std::int64_t divisor) {
    std::int64_t remainder = value % divisor;
    if (remainder != 0 && (remainder < 0) != (divisor < 0)) {
        remainder += divisor;
    }
    return remainder;
}

} // namespace

RandomGenerator::RandomGenerator(std::uint32_t seedLow, std::uint32_t seedHigh)
    : state_(((std::uint64_t{seedHigh} << 32) | seedLow) ^ kMultiplier) {
    state_ &= mask_;
}

void RandomGenerator::nextBytes(std::span<std::uint8_t> buffer) {
    std::int32_t value = 0;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (i % 4 == 0) {
            value = next32();
        }
        // An arithmetic shift; only the low byte of each shifted value is kept,
        // so the sign bits shifted in never reach the buffer.
        buffer[i] = static_cast<std::uint8_t>(value >> (8 * (i % 4)));
    }
}

RandomGenerator& RandomGenerator::createInstance(std::uint32_t seedLow, std::uint32_t seedHigh) {
    theGenerator = new RandomGenerator(seedLow, seedHigh);
    return *theGenerator;
}

RandomGenerator& RandomGenerator::getInstance() {
    if (!theGenerator) {
        return createInstance(platform::getMilliseconds(), 0);
    }
    return *theGenerator;
}

void RandomGenerator::destroyInstance() {
    theGenerator = nullptr;
}

namespace Random {

int nextInt(RandomGenerator& generator, int min, int max) {
    const std::int64_t draw = generator.next32();
    const std::int64_t range = std::int64_t{max} - min;
    if (range == 0) {
        return min;
    }
    return static_cast<int>(min + flooredModulo(draw, range));
}

int nextInt(int min, int max) {
    return nextInt(RandomGenerator::getInstance(), min, max);
}

} // namespace Random

int randomWeightedIndex(std::span<const int> weights) {
    const auto count = static_cast<int>(weights.size());
    std::int64_t total = 0;
    for (const int weight : weights) {
        total += weight;
    }
    if (total <= 0) {
        // A modulo by a sum of 0 would divide by zero; nothing can be picked.
        return count - 1;
    }
    const std::int64_t draw = flooredModulo(RandomGenerator::getInstance().next32(), total);
    std::int64_t runningSum = 0;
    for (int i = 0; i < count; ++i) {
        runningSum += weights[static_cast<std::size_t>(i)];
        if (draw < runningSum) {
            return i;
        }
    }
    return count - 1;
}

float floatModulo(float value, float period) {
    // The quotient is rounded in double precision; the rest stays in single
    // precision, which keeps results like (-1, 3) -> 2 exact.
    const double quotient = static_cast<double>(value) / static_cast<double>(period);
    if (period > 0.0F) {
        if (value >= 0.0F) {
            return value - static_cast<float>(std::floor(quotient)) * period;
        }
        const float result = value - static_cast<float>(std::ceil(quotient)) * period;
        return result < 0.0F ? result + period : result;
    }
    if (value < 0.0F) {
        return value - static_cast<float>(std::floor(quotient)) * period;
    }
    const float result = value - static_cast<float>(std::ceil(quotient)) * period;
    return result > 0.0F ? result + period : result;
}

void approachValue(float& position, float& speed, int elapsedMs, float target, float maxSpeed,
                   float acceleration, float deceleration, bool allowDownward) {
    const float seconds = static_cast<float>(elapsedMs) * 0.001F;
    const float distance = target - position;
    const float brakingDistance = speed * speed / (2.0F * deceleration);

    // With the target below and downward chasing refused, an upward speed
    // would carry the position away from the target for ever (the braking
    // test stops firing once the gap is wide enough), so it is braked to a
    // standstill instead of being left as it is.
    const bool runningAway = !allowDownward && distance <= 0.0F && speed > 0.0F;

    if (brakingDistance > std::fabs(distance) || runningAway) {
        const float change = deceleration * seconds;
        speed = speed > 0.0F ? std::max(0.0F, speed - change) : std::min(0.0F, speed + change);
    } else if (distance > 0.0F) {
        speed = std::min(speed + acceleration * seconds, maxSpeed);
    } else if (allowDownward) {
        speed = std::max(speed - acceleration * seconds, -maxSpeed);
    }

    const bool wasBelow = position < target;
    position += speed * seconds;
    if (wasBelow != (position < target)) {
        position = target;
        speed = 0.0F;
    }
}

} // namespace orv
