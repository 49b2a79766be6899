#include "game/screen/ScreenMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

std::string makeMixedName(bool mixed, int a, int b, int c) {
    if (mixed) {
        return "mixed_" + std::to_string(c);
    }
    return std::to_string(a) + "_" + std::to_string(b) + "_" + std::to_string(c);
}

float multiplierFactor(int multiplier, float percentage, float minimum) {
    float factor = 1.0F - static_cast<float>(multiplier - 1) * percentage;
    if (!(factor > minimum)) {
        factor = minimum;
    }
    return factor;
}

std::int32_t countdownFor(std::int32_t maxCountdown, float factor) {
    // The product is taken in single precision, as the factor is: 2000 x 0.9F
    // gives exactly 1800 there, one less in double precision.
    const float full = static_cast<float>(maxCountdown) * factor;
    // A broken setting may make the product a NaN or too large for an
    // int32: casting such a value is undefined, so it reads as no countdown.
    if (!std::isfinite(full) || full >= 2147483648.0F || full <= -2147483648.0F) {
        return 0;
    }
    return static_cast<std::int32_t>(full);
}

int countdownLevel(std::int32_t current, std::int32_t full) {
    if (full <= 0) {
        return 0;
    }
    const std::int64_t level = static_cast<std::int64_t>(current) * 255 / full;
    return static_cast<int>(std::clamp<std::int64_t>(level, 0, 255));
}

float timeFillTop(int fillY, int fillHeight, std::int32_t shown, std::int32_t max) {
    if (max <= 0) {
        return static_cast<float>(fillY + fillHeight);
    }
    const double share = static_cast<double>(std::clamp(shown, 0, max)) / max;
    return static_cast<float>(fillY + (1.0 - share) * fillHeight);
}

int buildTileInterval(int duration, int tiles) {
    if (tiles <= 0) {
        return 0;
    }
    return std::clamp(duration / tiles, 1, 20);
}

int tearDownTileInterval(int minDuration, int duration, int tiles) {
    const int interval = tiles <= 25 ? minDuration : duration / tiles;
    return std::max(interval, 1);
}

int dueTiles(int& elapsed, int dt, int interval, int waiting) {
    if (interval <= 0) {
        elapsed = 0;
        return waiting;
    }
    const std::int64_t total = static_cast<std::int64_t>(elapsed) + std::max(dt, 0);
    elapsed = static_cast<int>(total % interval);
    return static_cast<int>(
        std::min<std::int64_t>(total / interval, std::numeric_limits<int>::max()));
}

std::array<int, kBonusKinds> bonusWeights(std::span<const int, kBonusKinds> chances,
                                          const BonusDrawContext& context) {
    std::array<int, kBonusKinds> weights{};
    for (int i = 0; i < kBonusKinds; ++i) {
        weights[static_cast<std::size_t>(i)] = std::max(chances[static_cast<std::size_t>(i)], 0);
    }
    auto exclude = [&weights](int kind) {
        weights[static_cast<std::size_t>(kind)] = 0;
    };
    if (context.previous >= 0 && context.previous < kBonusKinds) {
        exclude(context.previous);
    }
    if (context.superHintHeld || context.superHintRunning || context.floorReached <= 2) {
        exclude(BonusSuperHint);
    }
    if (context.hintsFull) {
        exclude(BonusHint);
    }
    if (context.shufflesFull) {
        exclude(BonusShuffle);
    }
    if (context.place != 0) {
        exclude(BonusHint);
        exclude(BonusShuffle);
    }
    if (context.place == 2) {
        exclude(BonusTime);
    }
    if (context.gameType == 2 || context.gameType == 5) {
        exclude(BonusSuperHint);
    }
    return weights;
}

int bonusForDraw(std::span<const int, kBonusKinds> weights, int r) {
    std::int64_t sum = 0;
    for (int i = 0; i < kBonusKinds; ++i) {
        sum += weights[static_cast<std::size_t>(i)];
        if (r < sum) {
            return i;
        }
    }
    return BonusSuperHint;
}

} // namespace orv
