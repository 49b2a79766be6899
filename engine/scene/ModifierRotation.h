#pragma once

#include "engine/core/Modifier.h"

namespace orv {

/// Turns a sprite from a start to an end angle over its duration, linearly or
/// with smoothstep easing, or round and round without end (one full turn per
/// duration from the start angle). Each update sets the angle for the time
/// elapsed before it; the update after the duration has passed sets exactly
/// the end angle and finishes. The target must be a `Sprite`; with any other
/// target the modifier only keeps its time.
///
///     // a wiggle: 0 to 0.2 rad and back, each over 80 ms
///     Modifier* first = Modifier::attachTo(parent, new ModifierRotation(0.0F, 0.2F, 80));
///     first->setTarget(label);
///     Modifier::attachTo(first, new ModifierRotation(0.2F, 0.0F, 80))->setTarget(label);
class ModifierRotation : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Angles in radians. A duration of 0 or less sets the end angle in the
    /// first update and finishes (endless or not).
    ModifierRotation(float startAngle, float endAngle, int durationMs);

    void update(int dtMs) override;

    /// Smoothstep easing instead of linear (off by default).
    void setSmooth(bool smooth) { smooth_ = smooth; }
    /// Turn without end instead of going to the end angle (off by default).
    void setEndless(bool endless) { endless_ = endless; }
    [[nodiscard]] float getCurrentAngle() const { return currentAngle_; }
    [[nodiscard]] int getElapsed() const { return elapsedMs_; }

private:
    [[nodiscard]] float angleAt(int elapsedMs) const;

    float startAngle_;
    float endAngle_;
    float currentAngle_;
    bool reachedEnd_;
    int elapsedMs_ = 0;
    int durationMs_;
    bool smooth_ = false;
    bool endless_ = false;
};

} // namespace orv
