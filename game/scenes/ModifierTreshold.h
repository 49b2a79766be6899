#pragma once

#include "engine/core/ModifierFraction.h"

namespace orv {

/// Runs a `ThresholdSprite`'s threshold from 0 to 1 over its duration: each
/// update sets the target's threshold to the fraction when they differ. A
/// target of another kind is left alone.
///
///     reveal->setTarget(logo);               // a ThresholdSprite
///     Modifier::attachTo(tree, reveal);
class ModifierTreshold : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit ModifierTreshold(int durationMs) : ModifierFraction(durationMs) {}
    void update(int dtMs) override;
};

} // namespace orv
