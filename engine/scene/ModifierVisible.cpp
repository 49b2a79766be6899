#include "engine/scene/ModifierVisible.h"

#include "engine/core/GameNode.h"

namespace orv {

constinit const ClassRecord ModifierVisible::classRecord{"ModifierVisible",
                                                         parentRecords<Modifier::classRecord>};

void ModifierVisible::update(int /*dtMs*/) {
    // A node's own list may update a modifier that is already done; the
    // change is made once.
    if (isDone()) {
        return;
    }
    finish();
    GameNode* target = getTarget();
    if (target == nullptr) {
        return;
    }
    switch (mode_) {
    case Hide:
        target->setVisible(false);
        break;
    case Show:
        target->setVisible(true);
        break;
    default:
        target->setVisible(!target->isVisible());
        break;
    }
}

} // namespace orv
