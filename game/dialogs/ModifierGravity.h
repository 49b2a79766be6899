#pragma once

#include "engine/scene/ModifierLocation.h"

namespace orv {

/// Throws its target from a start point: every frame each axis's velocity
/// grows by the acceleration, is pulled toward 0 by the friction, and moves
/// the target, all scaled by dt x 0.02 (so the values read as pixels per
/// 20 ms). Ends when its duration has passed; the target stays where the
/// throw left it.
///
///     // a spark shot up and to the right, falling back under 3.0
///     spark->addModifier(new ModifierGravity(2000, x, y, {0.3F, 3.0F}, {}, {4.0F, -50.0F}));
class ModifierGravity : public ModifierLocation {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    struct Pair {
        float x = 0.0F;
        float y = 0.0F;
    };

    ModifierGravity(int durationMs, int startX, int startY, Pair acceleration, Pair friction,
                    Pair velocity);

    void update(int dtMs) override;

    [[nodiscard]] Pair getVelocity() const { return velocity_; }

private:
    Pair acceleration_;
    Pair friction_;
    Pair velocity_;
};

} // namespace orv
