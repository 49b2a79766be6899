#include "engine/scene/RenderTask.h"

#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/scene/IRenderable.h"
#include "engine/scene/Sprite.h"

#include <optional>

namespace orv {

constinit const ClassRecord RenderTask::classRecord{"RenderTask", parentRecords<Task::classRecord>};

void RenderTask::run(int elapsedMs) {
    static_cast<void>(elapsedMs);
    const GameWindow* window = GameWindow::getInstance();
    Graphics* graphics = window != nullptr ? window->getGraphics() : nullptr;
    if (graphics == nullptr || !root_) {
        return;
    }
    renderNode(*graphics, root_.get());
}

void RenderTask::renderNode(Graphics& graphics, GameNode* node) {
    if (node == nullptr || !node->isVisible() || node->hasRemovalMark()) {
        return;
    }
    std::optional<Rect> savedClip;
    if (const Sprite* sprite = kindCast<Sprite>(node);
        sprite != nullptr && sprite->getClipChildren() && sprite->getClipRect()) {
        // The rectangle is in the parent's coordinates; the clip is in the
        // target's. It replaces the clip in force rather than narrowing it.
        savedClip = graphics.getClip();
        const Rect& clip = *sprite->getClipRect();
        graphics.setClip(clip.x + node->getParentX(), clip.y + node->getParentY(), clip.width,
                         clip.height);
    }
    if (auto* renderable =
            static_cast<IRenderable*>(node->getInterface(IRenderable::classRecord))) {
        renderable->render(graphics);
    }
    if (GameNode* child = node->getFirstChild()) {
        const int x = node->getX();
        const int y = node->getY();
        graphics.translate(x, y);
        for (; child != nullptr; child = child->getNextSibling()) {
            renderNode(graphics, child);
        }
        graphics.translate(-x, -y);
    }
    if (savedClip) {
        graphics.setClip(*savedClip);
    }
}

} // namespace orv
