#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"

namespace orv {

/// A scene's per-frame advance: the node tree (each node's own update and own
/// modifiers, `GameTree::updateSubtree`), then the animation tree
/// (`updateModifierTree`). The scene manager calls `run` directly, in the
/// order move, render, purge; the task is never put into a task manager.
///
///     RefPtr<MoveTask> move(new MoveTask(layer, animTree));
///     move->run(16);
class MoveTask : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Holds a reference to `root` (may be null: no node walk) and to
    /// `animTree` (may be null: no modifier walk) until the task dies.
    MoveTask(GameNode* root, Modifier* animTree) : root_(root), animTree_(animTree) {}

    /// Advances both trees by `elapsedMs` milliseconds.
    void run(int elapsedMs) override;

    /// Borrowed from this task.
    [[nodiscard]] GameNode* getRoot() const { return root_.get(); }
    [[nodiscard]] Modifier* getAnimTree() const { return animTree_.get(); }

private:
    RefPtr<GameNode> root_;
    RefPtr<Modifier> animTree_;
};

} // namespace orv
