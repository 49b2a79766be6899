#pragma once

#include "engine/scene/ModifierLocation.h"

namespace orv {

/// Moves its target along a straight line from the start point to the end
/// point over the duration, linearly or with smoothstep easing. Each update
/// places the target at the point for the time elapsed, truncated toward zero;
/// the update that finishes places it exactly on the end point, however far
/// the frame went past the end.
///
///     // slides in from below the window over 500 ms, slowing at both ends
///     button->addModifier(new ModifierLocationLine(x, 600, x, y, 500, true));
class ModifierLocationLine : public ModifierLocation {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Points in the target's parent's coordinates; `durationMs` 0 or less
    /// lands on the end point in the first update.
    ModifierLocationLine(int startX, int startY, int endX, int endY, int durationMs, bool smooth);

    void update(int dtMs) override;

    [[nodiscard]] int getEndX() const { return endX_; }
    [[nodiscard]] int getEndY() const { return endY_; }

private:
    int endX_;
    int endY_;
};

} // namespace orv
