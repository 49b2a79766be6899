#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"

namespace orv {

class Graphics;

/// A scene's drawing: each frame it draws its node tree into the window's
/// back buffer. The scene manager calls `run` directly, after the move task
/// and before the purge task; the task is never put into a task manager.
///
///     RefPtr<RenderTask> render(new RenderTask(layer));
///     render->run(16);                               // into the back buffer
///     RenderTask::renderNode(*offscreen, layer);     // into any target
class RenderTask : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Holds a reference to `root` (may be null: nothing is drawn).
    explicit RenderTask(GameNode* root) : root_(root) {}

    /// Draws the root's tree into the process-wide window's drawing
    /// interface; nothing when there is no window or no drawing interface.
    void run(int elapsedMs) override;

    /// Draws `node` and its subtree, pre-order, into `graphics`, whose
    /// translation holds the position of `node`'s parent. A node that is
    /// hidden or marked for removal is skipped with its whole subtree. A
    /// sprite with a clip rectangle and clip children set replaces the
    /// clip, for itself and its subtree, by its rectangle moved into the
    /// target by its ancestors' positions; the clip in force before is put
    /// back after. Children are drawn in chain order, so the last is on top.
    /// The translation is back as it was when the call returns.
    static void renderNode(Graphics& graphics, GameNode* node);

    /// Borrowed from this task.
    [[nodiscard]] GameNode* getRoot() const { return root_.get(); }

private:
    RefPtr<GameNode> root_;
};

} // namespace orv
