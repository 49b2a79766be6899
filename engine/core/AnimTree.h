#pragma once

#include "engine/core/ModifierContainer.h"

#include <string_view>

namespace orv {

/// The root of a scene's animation tree: a container that counts as in a tree
/// from the start and that a child's `FinishKillContainer` never kills. The
/// scene holds it; the scene's move task advances it with
/// `updateModifierTree` and its purge task cleans it with
/// `purgeModifierTree`. Destroying it releases every modifier still in it.
///
///     RefPtr<AnimTree> tree(new AnimTree("AnimationTree"));
///     Modifier::attachTo(tree.get(), new ModifierDelay(500));
class AnimTree : public ModifierContainer {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit AnimTree(std::string_view name = {}) {
        setInTree(true);
        setName(name);
    }
};

} // namespace orv
