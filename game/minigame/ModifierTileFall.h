#pragma once

#include "engine/scene/ModifierLocation.h"

namespace orv {

/// The fall of one tile: its centre goes straight down from (x, startY) to
/// (x, endY) over the duration, at an even speed. A swaying tile also swings
/// sideways by `amplitude` pixels: x + amplitude * sin(frequency * t), with
/// t the seconds since the fall began and `frequency` in radians per second.
/// The update that finishes puts the tile exactly on (x, endY).
///
///     tile->addModifier(new ModifierTileFall(x, -30, 600, 2200, 0, 0.0F));   // straight
class ModifierTileFall : public ModifierLocation {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    ModifierTileFall(int x, int startY, int endY, int durationMs, int amplitude, float frequency);

    void update(int dtMs) override;

private:
    int endY_;
    int amplitude_;
    float frequency_;
};

} // namespace orv
