#include "engine/scene/ModifierLocationWave.h"

#include "engine/scene/ModifierMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

constinit const ClassRecord ModifierLocationWave::classRecord{
    "ModifierLocationWave", parentRecords<ModifierLocation::classRecord>};

namespace {

// The value at `elapsed` of a change from start to end over `time`, held at
// the end afterwards. A time of 0 or less is over at once (no division).
float along(float start, float end, int elapsed, int time) {
    if (elapsed >= time) {
        return end;
    }
    return start + (end - start) * static_cast<float>(elapsed) / static_cast<float>(time);
}

} // namespace

ModifierLocationWave::ModifierLocationWave(int centreX, int centreY, int startRadius, int endRadius,
                                           float startAngle, float endAngle, int radiusTimeMs,
                                           int angleTimeMs)
    : ModifierLocation(std::max({radiusTimeMs, angleTimeMs, 0}), centreX, centreY),
      startRadius_(startRadius), endRadius_(endRadius), radiusTimeMs_(radiusTimeMs),
      startAngle_(startAngle), endAngle_(endAngle), angleTimeMs_(angleTimeMs) {
    // Nothing to run through: the first update shows the end and finishes.
    setReachedEnd(radiusTimeMs <= 0 && angleTimeMs <= 0);
}

void ModifierLocationWave::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    // Interpolation at the time reached so far ...
    const int elapsed = getElapsed();
    const float radius = along(static_cast<float>(startRadius_), static_cast<float>(endRadius_),
                               elapsed, radiusTimeMs_);
    const float angle = along(startAngle_, endAngle_, elapsed, angleTimeMs_);
    setCurrent(static_cast<float>(getStartX()) + std::cos(angle) * radius,
               static_cast<float>(getStartY()) + std::sin(angle) * radius);
    applyPosition(modifier_math::truncToInt(std::cos(angle) * radius) + getStartX(),
                  modifier_math::truncToInt(std::sin(angle) * radius) + getStartY());

    // ... then the clock: the end, once reached, is shown for one more update.
    if (hasReachedEnd()) {
        finish();
        return;
    }
    const long long next = static_cast<long long>(elapsed) + std::max(dtMs, 0);
    const int clamped =
        static_cast<int>(std::min<long long>(next, std::numeric_limits<int>::max()));
    setElapsed(clamped);
    setReachedEnd(clamped >= radiusTimeMs_ && clamped >= angleTimeMs_);
}

} // namespace orv
