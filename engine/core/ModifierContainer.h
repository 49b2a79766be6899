#pragma once

#include "engine/core/Modifier.h"

namespace orv {

/// Groups modifiers that run side by side: it is done from the start, so its
/// children start at once, and it is never removed for being done (only when
/// killed, for instance by a child with `FinishKillContainer`). Pausing it
/// freezes all its children.
///
///     Modifier* group = Modifier::attachTo(tree, new ModifierContainer());
///     Modifier::attachTo(group, fade);     // fade and move run together
///     Modifier::attachTo(group, move);
///     move->setFinishFlags(Modifier::FinishKillContainer); // ends the group with it
class ModifierContainer : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    ModifierContainer() { setState(StateDone); }

    /// Nothing: a container only holds its children.
    void update(int dtMs) override { static_cast<void>(dtMs); }
};

} // namespace orv
