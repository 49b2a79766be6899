#include "engine/scene/ModifierRotation.h"

#include "engine/scene/Sprite.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord ModifierRotation::classRecord{"ModifierRotation",
                                                          parentRecords<Modifier::classRecord>};

namespace {

constexpr float fullTurn = 6.2831855F;

} // namespace

ModifierRotation::ModifierRotation(float startAngle, float endAngle, int durationMs)
    : startAngle_(startAngle), endAngle_(endAngle), currentAngle_(startAngle),
      // Nothing to run through: the first update sets the end angle. This is
      // also what keeps the time fraction below from dividing by zero.
      reachedEnd_(durationMs <= 0), durationMs_(std::max(durationMs, 0)) {}

float ModifierRotation::angleAt(int elapsedMs) const {
    const float t = static_cast<float>(elapsedMs) / static_cast<float>(durationMs_);
    if (endless_) {
        return t * fullTurn + startAngle_;
    }
    const float turn = endAngle_ - startAngle_;
    return smooth_ ? startAngle_ + turn * (3.0F - 2.0F * t) * t * t : startAngle_ + turn * t;
}

void ModifierRotation::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    auto* sprite = kindCast<Sprite>(getTarget());
    if (reachedEnd_) {
        currentAngle_ = endAngle_;
        if (sprite != nullptr) {
            sprite->setRotation(endAngle_);
        }
        finish();
        return;
    }

    // Interpolation at the time reached before this update ...
    currentAngle_ = angleAt(elapsedMs_);
    if (sprite != nullptr) {
        sprite->setRotation(currentAngle_);
    }

    // ... then the clock.
    const long long next = static_cast<long long>(elapsedMs_) + std::max(dtMs, 0);
    if (endless_) {
        // Whole turns dropped: the same angles, and a clock that never runs
        // out of range or precision.
        elapsedMs_ = static_cast<int>(next % durationMs_);
    } else if (next >= durationMs_) {
        reachedEnd_ = true;
        elapsedMs_ = durationMs_;
    } else {
        elapsedMs_ = static_cast<int>(next);
    }
}

} // namespace orv
