#pragma once

#include "engine/core/Modifier.h"

namespace orv {

/// Hides, shows or toggles its target on its first update and is done in
/// that update. Any `GameNode` will do as target.
///
///     Modifier::attachTo(fade, new ModifierVisible(ModifierVisible::Hide))->setTarget(node);
class ModifierVisible : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Modes: `Hide` (4), `Show` (5); every other value toggles.
    static constexpr int Toggle = 0;
    static constexpr int Hide = 4;
    static constexpr int Show = 5;

    explicit ModifierVisible(int mode) : mode_(mode) {}

    /// Finishes, then applies the mode to the target (nothing without one).
    void update(int dtMs) override;

    [[nodiscard]] int getMode() const { return mode_; }

private:
    int mode_;
};

} // namespace orv
