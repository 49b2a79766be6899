#pragma once

#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"

#include <cstdint>
#include <vector>

namespace orv {

class Sprite;

/// Blinks a sprite's alpha between A and B in a cycle of four phases: hold A,
/// fade A to B, hold B, fade B to A (the first update starts the fade to B).
/// A fade's alpha is truncated toward zero. With a cycle limit above 0 it
/// finishes at alpha A when that many cycles have passed (as the hold at A of
/// the next cycle begins); with 0 or less it never finishes. Long updates skip
/// whole phases. The alpha goes to the extra targets when there are any,
/// else to the target, which must then be a `Sprite` (with another target the
/// modifier only keeps its time).
///
///     // a text cursor: shown 500 ms, hidden 500 ms, for good
///     cursor->addModifier(new ModifierBlink(0, 255, 0, 0, 500, 500, 0));
class ModifierBlink : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Alphas 0..255, phase lengths in ms (negative ones count as 0), `count`
    /// the cycle limit. When all four phases are 0 there is no cycle to run:
    /// the first update sets alpha A and finishes, whatever the limit.
    ModifierBlink(int alphaA, int alphaB, int fadeInMs, int fadeOutMs, int holdBMs, int holdAMs,
                  int count);

    void update(int dtMs) override;

    /// Blinks `sprite` (held with a reference) instead of the target; several
    /// may be added, and all blink together.
    void addExtraTarget(Sprite* sprite);
    [[nodiscard]] int getCurrentAlpha() const { return currentAlpha_; }
    [[nodiscard]] int getCyclesDone() const { return cyclesDone_; }
    /// 0 hold A, 1 fade A to B, 2 hold B, 3 fade B to A.
    [[nodiscard]] int getPhase() const { return phase_; }

private:
    [[nodiscard]] std::uint32_t phaseLength(int phase) const;
    void applyAlpha();

    std::uint32_t accumulatedMs_ = 0;
    std::uint32_t phaseLengthMs_ = 0;
    int phase_ = 0;
    int alphaA_;
    int currentAlpha_;
    int alphaB_;
    int fadeInMs_;
    int fadeOutMs_;
    int holdBMs_;
    int holdAMs_;
    int cyclesDone_ = 0;
    int cycleLimit_;
    std::vector<RefPtr<Sprite>> extraTargets_;
};

} // namespace orv
