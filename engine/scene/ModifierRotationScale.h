#pragma once

#include "engine/core/Modifier.h"

namespace orv {

/// Turns and scales a sprite together: rotation and scale each go from a
/// start to an end value over the duration, linearly or with smoothstep
/// easing. Each update sets the values for the time elapsed before it; the
/// update after the duration has passed sets exactly the end values and
/// finishes. With `setApplyScale(false)` it leaves the scale alone throughout.
/// The target must be a `Sprite`; with any other target the modifier only
/// keeps its time.
///
///     // spins in from nothing: two turns while growing to full size
///     sprite->addModifier(new ModifierRotationScale(0.0F, 12.566371F, 0.0F, 1.0F, 600));
class ModifierRotationScale : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Rotations in radians, scales as factors. A duration of 0 or less sets
    /// the end values in the first update and finishes.
    ModifierRotationScale(float startRotation, float endRotation, float startScale, float endScale,
                          int durationMs);

    void update(int dtMs) override;

    /// Smoothstep easing instead of linear (off by default).
    void setSmooth(bool smooth) { smooth_ = smooth; }
    /// Whether the scale is set at all (on by default).
    void setApplyScale(bool apply) { applyScale_ = apply; }
    [[nodiscard]] float getCurrentRotation() const { return currentRotation_; }
    [[nodiscard]] float getCurrentScale() const { return currentScale_; }

private:
    float startRotation_;
    float endRotation_;
    float currentRotation_;
    float startScale_;
    float endScale_;
    float currentScale_;
    bool applyScale_ = true;
    bool reachedEnd_;
    int elapsedMs_ = 0;
    int durationMs_;
    bool smooth_ = false;
};

} // namespace orv
