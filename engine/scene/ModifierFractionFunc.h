#pragma once

#include "engine/core/ModifierFraction.h"
#include "engine/platform/iGuiMethod.h"

namespace orv {

/// Calls function(context, modifier) while its duration runs, so that the
/// callback can follow the fraction (`getFraction`, 0 to 1). The argument is
/// this modifier as a `Modifier*`. With an interval of 1 ms or more the call
/// comes once for every whole interval that has passed, several times in one
/// update when a long frame covers several; with a smaller interval it comes
/// on every update, including the one that finishes (fraction 1.0). It answers
/// the `iGuiMethod` interface query with its callback slot.
///
///     int onTick(void* context, void* argument) {
///         auto* self = static_cast<ModifierFractionFunc*>(static_cast<Modifier*>(argument));
///         static_cast<Bar*>(context)->setFill(self->getFraction());
///         return 0;
///     }
///     Modifier::attachTo(tree, new ModifierFractionFunc(1000, &onTick, bar, 0));
class ModifierFractionFunc : public ModifierFraction, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// `durationMs` and `intervalMs` in milliseconds; `context` is borrowed
    /// and must stay valid while the modifier runs.
    ModifierFractionFunc(int durationMs, GuiFunction function, void* context, int intervalMs);

    void update(int dtMs) override;
    /// The callback slot for `iGuiMethod::classRecord`.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    [[nodiscard]] int getInterval() const { return intervalMs_; }

private:
    int intervalMs_;
    int lastCallMs_ = 0;
};

} // namespace orv
