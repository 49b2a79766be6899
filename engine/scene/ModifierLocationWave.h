#pragma once

#include "engine/scene/ModifierLocation.h"

namespace orv {

/// Moves its target round a centre: the radius goes from its start to its end
/// value over the radius time, the angle from its start to its end value over
/// the angle time, each linearly and then held; the target stands at
/// centre + (radius × cos angle, radius × sin angle), each term truncated
/// toward zero. It keeps its own clock (`getDuration` is the longer of the
/// two times, `getFraction` is not used) and finishes in the update after both times have passed,
/// applying the end position once more then.
///
///     // a spiral in: radius 200 to 0 over 1 s while turning twice
///     node->addModifier(new ModifierLocationWave(400, 300, 200, 0, 0.0F, 12.566371F,
///                                                1000, 1000));
class ModifierLocationWave : public ModifierLocation {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Centre in the target's parent's coordinates, radii in pixels, angles in
    /// radians (y downwards, so positive angles turn clockwise on screen),
    /// times in ms. When both times are 0 or less, the first update places
    /// the target at the end position and finishes.
    ModifierLocationWave(int centreX, int centreY, int startRadius, int endRadius, float startAngle,
                         float endAngle, int radiusTimeMs, int angleTimeMs);

    void update(int dtMs) override;

private:
    int startRadius_;
    int endRadius_;
    int radiusTimeMs_;
    float startAngle_;
    float endAngle_;
    int angleTimeMs_;
};

} // namespace orv
