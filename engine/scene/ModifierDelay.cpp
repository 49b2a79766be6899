#include "engine/scene/ModifierDelay.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord ModifierDelay::classRecord{"ModifierDelay",
                                                       parentRecords<Modifier::classRecord>};

ModifierDelay::ModifierDelay(int ms) : remainingMs_(ms) {
    setFinishFlags(FinishHoldBack);
}

ModifierDelay::ModifierDelay(GameNode* waitFor)
    : remainingMs_(-100), waitFor_(waitFor), watchesNode_(true) {
    setFinishFlags(FinishHoldBack);
}

void ModifierDelay::update(int dtMs) {
    if (isDone()) {
        return;
    }
    if (watchesNode_) {
        if (!waitFor_ || waitFor_->getOwnModifiers().empty()) {
            finish();
        }
        return;
    }
    // In 64 bits and kept at -1 or above, so that a negative start less a
    // frame cannot wrap round to a long wait.
    const long long remaining = static_cast<long long>(remainingMs_) - std::max(dtMs, 0);
    remainingMs_ = static_cast<int>(std::max<long long>(remaining, -1));
    if (remainingMs_ < 1) {
        finish();
    }
}

} // namespace orv
