#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"

namespace orv {

/// Waits: for a number of milliseconds, or until a node has run every
/// modifier of its own list. It holds back what comes after it: its children
/// in an animation tree, and (flag `FinishHoldBack`, set by both
/// constructors) the modifiers behind it in a node's own list.
///
///     node->addModifier(new ModifierDelay(500));          // the rest waits 500 ms
///     node->addModifier(new ModifierAlpha(200, 0, 255));
///     star->addModifier(new ModifierDelay(medal));         // until medal's list is empty
class ModifierDelay : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Done in the update in which `ms` milliseconds have passed (the first
    /// update for 0 or less).
    explicit ModifierDelay(int ms);
    /// Done in the first update that finds `waitFor`'s own modifier list empty
    /// (at once for a null node). Holds a reference to the node.
    explicit ModifierDelay(GameNode* waitFor);

    void update(int dtMs) override;

    /// Milliseconds still to wait (-100 while waiting for a node).
    [[nodiscard]] int getRemaining() const { return remainingMs_; }

private:
    int remainingMs_;
    RefPtr<GameNode> waitFor_;
    bool watchesNode_ = false;
};

} // namespace orv
