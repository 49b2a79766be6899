#include "engine/scene/ModifierFunction.h"

namespace orv {

constinit const ClassRecord ModifierFunction::classRecord{"ModifierFunction",
                                                          parentRecords<Modifier::classRecord>};

void ModifierFunction::update(int /*dtMs*/) {
    if (isDone()) {
        return;
    }
    // Done before the call: the callback may start what follows, or drop the
    // modifier's node, and must find this one finished.
    finish();
    call(static_cast<Modifier*>(this));
}

void* ModifierFunction::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iGuiMethod::classRecord) {
        return static_cast<iGuiMethod*>(this);
    }
    return Modifier::getInterface(interfaceRecord);
}

} // namespace orv
