#pragma once

#include "engine/core/ModifierFraction.h"

namespace orv {

/// Fades a sprite's alpha from a start to an end value over its duration:
/// each update sets the alpha for the time elapsed (truncated toward zero),
/// and the update that finishes sets exactly the end value, however far the
/// frame went past the end. The target must be a `Sprite`; with any other
/// target (or none) the modifier only keeps its time.
///
///     auto* fade = new ModifierAlpha(300, 255, 0);    // after 100 ms: alpha 170
///     fade->setFinishFlags(Modifier::FinishRemoveTarget);
///     sprite->addModifier(fade);
class ModifierAlpha : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Alphas 0..255; a duration of 0 or less sets the end alpha in the first
    /// update and finishes.
    ModifierAlpha(int durationMs, int startAlpha, int endAlpha)
        : ModifierFraction(durationMs), startAlpha_(startAlpha), endAlpha_(endAlpha),
          currentAlpha_(static_cast<float>(startAlpha)) {}

    void update(int dtMs) override;

    [[nodiscard]] float getCurrentAlpha() const { return currentAlpha_; }

private:
    int startAlpha_;
    int endAlpha_;
    float currentAlpha_;
};

} // namespace orv
