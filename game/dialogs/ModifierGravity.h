#pragma once

#include "engine/scene/ModifierLocation.h"

namespace orv {

/// A falling movement: a velocity that an acceleration pulls on and a
/// damping brakes, for the duration given. Units are pixels per 50 ms
/// (every step scales by dt x 0.02), so an acceleration of 3.0 adds 3 to
/// the velocity every 50 ms. The damping takes speed off but never turns the
/// movement round. Only the axes the location part allows move; the target's
/// position is the exact float position rounded to the nearest pixel.
///
///     auto* fall = new ModifierGravity(2000, x, y);
///     fall->setAcceleration(0.5F, 3.0F);
///     fall->setVelocity(-4.0F, -10.0F);   // thrown up and to the left
///     sprite->addModifier(fall);
class ModifierGravity : public ModifierLocation {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Lasts `durationMs`, starting at (startX, startY) in the target's
    /// parent's pixels, at rest, with no pull and no damping.
    ModifierGravity(int durationMs, int startX, int startY);

    void setAcceleration(float x, float y) {
        accelerationX_ = x;
        accelerationY_ = y;
    }
    /// Speed taken off per 50 ms on each axis (0 or more).
    void setDamping(float x, float y) {
        dampingX_ = x;
        dampingY_ = y;
    }
    void setVelocity(float x, float y) {
        velocityX_ = x;
        velocityY_ = y;
    }
    [[nodiscard]] float getVelocityX() const { return velocityX_; }
    [[nodiscard]] float getVelocityY() const { return velocityY_; }

    /// Counts the time (ending at the duration) and moves by one step of
    /// `dtMs` milliseconds.
    void update(int dtMs) override;

    /// One axis of one step: the velocity gains `acceleration` x scale, then
    /// loses `damping` x scale of its size without passing zero; the
    /// position moves by velocity x scale. `scale` is dt x 0.02.
    static void step(float& position, float& velocity, float acceleration, float damping,
                     float scale);

private:
    float accelerationX_ = 0.0F;
    float accelerationY_ = 0.0F;
    float dampingX_ = 0.0F;
    float dampingY_ = 0.0F;
    float velocityX_ = 0.0F;
    float velocityY_ = 0.0F;
};

} // namespace orv
