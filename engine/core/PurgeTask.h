#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"

namespace orv {

/// A scene's end-of-frame clean-up: nodes marked for removal are unlinked and
/// released (`GameTree::purgeSubtree`), then the animation tree applies the
/// finish actions of done modifiers and releases them and killed ones
/// (`purgeModifierTree`). This is the one place where the trees free what
/// was removed during the frame. The scene manager calls `run` directly.
///
///     RefPtr<PurgeTask> purge(new PurgeTask(layer, animTree));
///     purge->run(16);
class PurgeTask : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Holds a reference to `root` and to `animTree` (either may be null).
    PurgeTask(GameNode* root, Modifier* animTree) : root_(root), animTree_(animTree) {}

    /// Purges both trees; `elapsedMs` is not used.
    void run(int elapsedMs) override;

    /// Borrowed from this task.
    [[nodiscard]] GameNode* getRoot() const { return root_.get(); }
    [[nodiscard]] Modifier* getAnimTree() const { return animTree_.get(); }

private:
    RefPtr<GameNode> root_;
    RefPtr<Modifier> animTree_;
};

} // namespace orv
