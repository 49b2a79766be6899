#pragma once

#include "engine/core/ModifierFraction.h"

namespace orv {

/// Scales a sprite uniformly from a start to an end factor over its duration;
/// the update that finishes sets exactly the end factor. The target must be a
/// `Sprite`; with any other target the modifier only keeps its time.
///
///     sprite->addModifier(new ModifierScale(500, 10.0F, 1.0F));   // lands from above
class ModifierScale : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A duration of 0 or less sets the end factor in the first update.
    ModifierScale(int durationMs, float startScale, float endScale)
        : ModifierFraction(durationMs), startScale_(startScale), endScale_(endScale) {}

    void update(int dtMs) override;

private:
    float startScale_;
    float endScale_;
};

} // namespace orv
