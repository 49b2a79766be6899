#pragma once

#include "engine/core/ModifierFraction.h"

namespace orv {

/// Stretches the drawn size of a sprite from a start to an end width and
/// height over its duration, through the sprite's stretch rectangle
/// (`Sprite::setStretchWidth` / `setStretchHeight`, which keep the pivot in
/// place), each rounded to the nearest pixel; the update that finishes sets
/// exactly the end size. The target must be a `Sprite`; with any other target
/// the modifier only keeps its time.
///
///     // a wobble: W x H to 0.8 W x 1.2 H in 120 ms
///     label->addModifier(new ModifierStretch(120, w, h, w * 4 / 5, h * 6 / 5));
class ModifierStretch : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Sizes in pixels; a duration of 0 or less sets the end size in the
    /// first update.
    ModifierStretch(int durationMs, int startWidth, int startHeight, int endWidth, int endHeight);

    void update(int dtMs) override;

    /// Whether the width and the height are applied (both by default).
    void setStretchWidth(bool stretch) { stretchWidth_ = stretch; }
    void setStretchHeight(bool stretch) { stretchHeight_ = stretch; }
    [[nodiscard]] float getCurrentWidth() const { return currentWidth_; }
    [[nodiscard]] float getCurrentHeight() const { return currentHeight_; }

private:
    int startWidth_;
    int startHeight_;
    int endWidth_;
    int endHeight_;
    float currentWidth_;
    float currentHeight_;
    bool stretchWidth_ = true;
    bool stretchHeight_ = true;
};

} // namespace orv
