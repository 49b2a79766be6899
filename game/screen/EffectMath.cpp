#include "game/screen/EffectMath.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr int kStarOverlap = 15;
constexpr int kLights = 29;
constexpr int kLightSpacingMs = 40;
constexpr int kLightRiseMs = 20;
constexpr int kLightHoldEndMs = 220;
constexpr int kLightFadeEndMs = 940;
constexpr int kLightFadeMs = kLightFadeEndMs - kLightHoldEndMs;

} // namespace

std::string floaterFontName(int multiplier) {
    return "FONT_SCORE_FLOATER" + std::to_string(std::clamp(multiplier, 1, 6));
}

std::string floaterText(int points, int multiplier) {
    std::string text = std::to_string(points);
    if (multiplier > 1) {
        text += " x " + std::to_string(multiplier);
    }
    return text;
}

int penaltySeconds(int penaltyMs) {
    return -(penaltyMs / 1000);
}

std::string penaltyText(std::string_view pattern, int seconds) {
    const std::string number = std::to_string(seconds);
    std::string text;
    for (const char c : pattern) {
        if (c == '%') {
            text += number;
        } else {
            text += c;
        }
    }
    return text;
}

StarRow superScoreStars(int kind, int starWidth) {
    StarRow row;
    if (kind != 1 && kind != 2) {
        return row;
    }
    row.count = kind == 1 ? 2 : 3;
    row.total = row.count * starWidth - (row.count - 1) * kStarOverlap;
    row.x0 = starWidth / 2 - row.total / 2;
    row.step = starWidth - kStarOverlap;
    return row;
}

int superScoreDuration(int kind) {
    if (kind != 1 && kind != 2) {
        return 0;
    }
    // Fade-in, pause, one turn-in per further star, the header's two moves,
    // the blink's pause and the fade-out.
    const int stars = kind == 1 ? 2 : 3;
    return 500 + 200 + (stars - 1) * 350 + 300 + 300 + 1000 + 300;
}

int superHintRevealWidth(int duration, int remaining, int imageWidth) {
    if (duration <= 0 || imageWidth <= 0) {
        return 0;
    }
    const long long spent =
        std::clamp<long long>(static_cast<long long>(duration) - remaining, 0, duration);
    return static_cast<int>(spent * imageWidth / duration);
}

int highScoreLightAlpha(int index, std::int64_t elapsedMs, int barAlpha) {
    const int most = barAlpha * 80 / 255;
    constexpr int cycle = kLightSpacingMs * kLights;
    const std::int64_t raw =
        (static_cast<std::int64_t>(kLights - index) * kLightSpacingMs + elapsedMs) % cycle;
    const int phase = static_cast<int>(raw < 0 ? raw + cycle : raw);
    if (phase < kLightRiseMs) {
        return phase * most / kLightRiseMs;
    }
    if (phase < kLightHoldEndMs) {
        return most;
    }
    if (phase < kLightFadeEndMs) {
        return (kLightFadeEndMs - phase) * most / kLightFadeMs;
    }
    return 0;
}

TileStars tileRemovalStars(int multiplier) {
    if (multiplier < 7) {
        return {};
    }
    return {std::min(multiplier - 3, 30),
            static_cast<int>(std::sqrt(static_cast<double>(multiplier - 6)) * 15.0 + 10.0)};
}

bool tileRemovalShines(int multiplier) {
    return multiplier >= 4;
}

} // namespace orv
