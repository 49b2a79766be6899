#pragma once

#include "engine/core/Modifier.h"

namespace orv {

/// Shakes its target: at random intervals the target jumps to a random
/// offset from its rest position (where it stood when it became the
/// target), and when the time is up it stands at its rest position again,
/// exactly. Offsets lie in [-amplitude, amplitude) on each axis, or in
/// [0, 2 x amplitude) when one-sided (never left of or above the rest). The
/// draws come from the process-wide random generator.
///
///     // a car that rattles 2 pixels sideways, 1 down, every 25-100 ms
///     car->addModifier(new ModifierShake(2, 1, travelMs, true, 25, 100));
///
/// Callers keep the shortest interval below the longest; an axis with
/// amplitude 0 (or less) stays still.
class ModifierShake : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Shakes by up to (amplitudeX, amplitudeY) pixels for `durationMs`,
    /// jumping every [shortestMs, longestMs) milliseconds; the first jump
    /// waits such an interval too.
    ModifierShake(int amplitudeX, int amplitudeY, int durationMs, bool oneSided, int shortestMs,
                  int longestMs);

    /// The rest position is the new target's position.
    void setTarget(GameNode* target) override;
    void update(int dtMs) override;

    [[nodiscard]] int getRestX() const { return restX_; }
    [[nodiscard]] int getRestY() const { return restY_; }
    [[nodiscard]] int getRemaining() const { return remaining_; }

private:
    // An offset on one axis for `amplitude`.
    [[nodiscard]] int drawOffset(int amplitude) const;
    [[nodiscard]] int drawInterval() const;
    void moveTarget(int x, int y);

    int amplitudeX_;
    int amplitudeY_;
    int remaining_;
    int nextJump_;
    int restX_ = 0;
    int restY_ = 0;
    int shortest_;
    int longest_;
    bool oneSided_;
};

} // namespace orv
