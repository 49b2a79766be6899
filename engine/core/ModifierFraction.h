#pragma once

#include "engine/core/Modifier.h"

namespace orv {

/// A modifier that runs for a fixed duration and turns its elapsed time into
/// a fraction from 0 to 1, optionally eased. Kinds call
/// `ModifierFraction::update` first and then apply `getFraction()`, so the
/// update that finishes still applies the end value (fraction 1.0), however
/// far a long frame went past the end.
///
///     class ModifierAlpha : public ModifierFraction {
///         void update(int dtMs) override {
///             ModifierFraction::update(dtMs);
///             sprite()->setAlpha(int(start_ + (end_ - start_) * getFraction()));
///         }
///     };
///
/// A duration of 0 (or less) finishes on the first update, at fraction 1.0.
class ModifierFraction : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Maps a linear fraction in [0, 1] to an eased one with e(0) = 0, e(1) = 1.
    using Easing = float (*)(float t);
    /// e(t) = t.
    [[nodiscard]] static float linear(float t);
    /// e(t) = (3 - 2t)t^2: starts and ends slowly.
    [[nodiscard]] static float smoothstep(float t);

    /// `durationMs` in milliseconds; `easing` null means linear.
    explicit ModifierFraction(int durationMs, Easing easing = nullptr)
        : duration_(durationMs), easing_(easing) {}

    /// Adds `dtMs` (negative counts as 0) to the elapsed time; at or past the
    /// duration calls `finish`, else sets the fraction elapsed / duration,
    /// eased.
    void update(int dtMs) override;
    /// Done, elapsed = duration, fraction 1.0.
    void finish() override;

    [[nodiscard]] int getDuration() const { return duration_; }
    [[nodiscard]] int getElapsed() const { return elapsed_; }
    [[nodiscard]] float getFraction() const { return fraction_; }
    [[nodiscard]] Easing getEasing() const { return easing_; }
    void setEasing(Easing easing) { easing_ = easing; }

protected:
    /// For kinds that keep their own time on this clock (a wave) or start
    /// over (a looping path).
    void setElapsed(int elapsedMs) { elapsed_ = elapsedMs; }

private:
    int duration_;
    int elapsed_ = 0;
    float fraction_ = 0.0F;
    Easing easing_;
};

} // namespace orv
