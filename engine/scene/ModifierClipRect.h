#pragma once

#include "engine/core/ModifierFraction.h"
#include "engine/graphics/Graphics.h"

namespace orv {

/// Moves and resizes a sprite's clip rectangle from a start to an end
/// rectangle over its duration (each of x, y, width and height rounded to the
/// nearest pixel); the update that finishes sets exactly the end rectangle.
/// The rectangles are in the sprite's position space (see `Sprite`). The
/// target must be a `Sprite`; with any other target the modifier only keeps
/// its time.
///
///     // uncovers a 200 x 40 bar from left to right in 1 s
///     bar->addModifier(new ModifierClipRect(1000, Rect{x, y, 0, 40}, Rect{x, y, 200, 40}));
class ModifierClipRect : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A duration of 0 or less sets the end rectangle in the first update.
    ModifierClipRect(int durationMs, const Rect& startRect, const Rect& endRect)
        : ModifierFraction(durationMs), startRect_(startRect), endRect_(endRect) {}

    void update(int dtMs) override;

private:
    Rect startRect_;
    Rect endRect_;
};

} // namespace orv
