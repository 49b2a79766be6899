#include "engine/scene/ModifierRotationScale.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord ModifierRotationScale::classRecord{
    "ModifierRotationScale", parentRecords<Modifier::classRecord>};

ModifierRotationScale::ModifierRotationScale(float startRotation, float endRotation,
                                             float startScale, float endScale, int durationMs)
    : startRotation_(startRotation), endRotation_(endRotation), currentRotation_(startRotation),
      startScale_(startScale), endScale_(endScale), currentScale_(startScale),
      // Nothing to run through: the first update sets the end values, and the
      // time fraction never divides by zero.
      reachedEnd_(durationMs <= 0), durationMs_(std::max(durationMs, 0)) {}

void ModifierRotationScale::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    auto* sprite = kindCast<Sprite>(getTarget());
    if (reachedEnd_) {
        finish();
        currentRotation_ = endRotation_;
        currentScale_ = endScale_;
        if (sprite != nullptr) {
            // The scale only when this modifier drives it: another one may.
            if (applyScale_) {
                sprite->setScale(endScale_);
            }
            sprite->setRotation(endRotation_);
        }
        return;
    }

    // Interpolation at the time reached before this update ...
    float t = static_cast<float>(elapsedMs_) / static_cast<float>(durationMs_);
    if (smooth_) {
        t = (3.0F - 2.0F * t) * t * t;
    }
    currentScale_ = modifier_math::lerp(startScale_, endScale_, t);
    currentRotation_ = modifier_math::lerp(startRotation_, endRotation_, t);
    if (sprite != nullptr) {
        if (applyScale_) {
            sprite->setScale(currentScale_);
        }
        sprite->setRotation(currentRotation_);
    }

    // ... then the clock.
    const long long next = static_cast<long long>(elapsedMs_) + std::max(dtMs, 0);
    if (next >= durationMs_) {
        reachedEnd_ = true;
        elapsedMs_ = durationMs_;
    } else {
        elapsedMs_ = static_cast<int>(next);
    }
}

} // namespace orv
