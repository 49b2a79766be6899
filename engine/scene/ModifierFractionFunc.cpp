#include "engine/scene/ModifierFractionFunc.h"

namespace orv {

constinit const ClassRecord ModifierFractionFunc::classRecord{
    "ModifierFractionFunc", parentRecords<ModifierFraction::classRecord>};

ModifierFractionFunc::ModifierFractionFunc(int durationMs, GuiFunction function, void* context,
                                           int intervalMs)
    : ModifierFraction(durationMs), intervalMs_(intervalMs) {
    setMethod(function, context);
}

void ModifierFractionFunc::update(int dtMs) {
    ModifierFraction::update(dtMs);
    if (intervalMs_ < 1) {
        call(static_cast<Modifier*>(this));
        return;
    }
    // One call per whole interval passed, strictly before the elapsed time;
    // summed in 64 bits so that a long interval cannot wrap round.
    while (static_cast<long long>(lastCallMs_) + intervalMs_ < getElapsed()) {
        lastCallMs_ += intervalMs_;
        call(static_cast<Modifier*>(this));
    }
}

void* ModifierFractionFunc::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iGuiMethod::classRecord) {
        return static_cast<iGuiMethod*>(this);
    }
    return ModifierFraction::getInterface(interfaceRecord);
}

} // namespace orv
