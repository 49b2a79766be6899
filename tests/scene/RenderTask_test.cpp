// The render task's walk into an off-screen target: drawing order, hidden
// and marked subtrees, clips and the translation.

#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/Sprite.h"
#include "tests/scene/ScenePixels.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::pixelAt;
using test::solidImage;

constexpr std::uint32_t kTaskBlack = 0xFF000000U;
constexpr std::uint32_t kTaskRed = 0xFFFF0000U;
constexpr std::uint32_t kBlue = 0xFF0000FFU;
constexpr std::uint32_t kGreen = 0xFF00FF00U;

class RenderTaskTest : public testing::Test {
protected:
    Sprite* add(GameNode* parent, int x, int y, int size, std::uint32_t colour) {
        auto* sprite = new Sprite(x, y, solidImage(size, size, colour).get());
        GameTree::appendChild(sprite, parent);
        return sprite;
    }
    void draw() { RenderTask::renderNode(*graphics_, root_.get()); }
    std::uint32_t at(int x, int y) { return pixelAt(*target_, x, y); }

    RefPtr<GameTree> root_{new GameTree()};
    RefPtr<Image> target_ = solidImage(200, 200, kTaskBlack);
    RefPtr<Graphics> graphics_ = createGraphics(*target_);
};

TEST_F(RenderTaskTest, LaterSiblingsAreDrawnOverEarlierOnesAndChildrenFollowTheirParent) {
    add(root_.get(), 0, 0, 20, kTaskRed);
    add(root_.get(), 10, 10, 20, kBlue);
    GameNode* group = new GameNode("group");
    GameTree::appendChild(group, root_.get());
    group->setPosition(100, 100);
    add(group, 5, 5, 10, kGreen);
    draw();
    EXPECT_EQ(at(5, 5), kTaskRed);
    EXPECT_EQ(at(15, 15), kBlue);
    EXPECT_EQ(at(105, 105), kGreen);
    EXPECT_EQ(at(104, 104), kTaskBlack);
    EXPECT_EQ(graphics_->getTranslateX(), 0);
    EXPECT_EQ(graphics_->getTranslateY(), 0);
}

TEST_F(RenderTaskTest, HiddenAndMarkedSubtreesAreSkippedWhole) {
    Sprite* hidden = add(root_.get(), 0, 0, 20, kTaskRed);
    add(hidden, 50, 0, 20, kTaskRed); // visible itself, under a hidden parent
    hidden->setVisible(false);
    Sprite* marked = add(root_.get(), 0, 100, 20, kBlue);
    add(marked, 50, 0, 20, kBlue);
    marked->setRemovalMark(true);
    Sprite* suspended = add(root_.get(), 100, 0, 20, kGreen);
    suspended->setSuspended(true);
    draw();
    EXPECT_EQ(at(105, 5), kGreen) << "a suspended node is still drawn";
    EXPECT_EQ(at(5, 5), kTaskBlack);
    EXPECT_EQ(at(55, 5), kTaskBlack);
    EXPECT_EQ(at(5, 105), kTaskBlack);
    EXPECT_EQ(at(55, 105), kTaskBlack);
}

TEST_F(RenderTaskTest, ClippingSpriteClipsItselfAndItsSubtreeInTargetCoordinates) {
    GameNode* parent = new GameNode();
    GameTree::appendChild(parent, root_.get());
    parent->setPosition(100, 50);
    Sprite* clipping = add(parent, 0, 0, 100, kTaskRed);
    clipping->setClipRect(10, 10, 40, 20); // the screen rectangle (110, 60, 40, 20)
    add(clipping, 0, 0, 100, kBlue);       // drawn over it, clipped alike
    Sprite* sibling = add(parent, 0, 90, 10, kGreen);
    graphics_->setClip(Rect{0, 0, 150, 200}); // replaced, not narrowed
    draw();
    EXPECT_EQ(at(110, 60), kBlue);
    EXPECT_EQ(at(149, 79), kBlue);
    EXPECT_EQ(at(109, 60), kTaskBlack);
    EXPECT_EQ(at(110, 59), kTaskBlack);
    EXPECT_EQ(at(150, 60), kTaskBlack);
    EXPECT_EQ(at(110, 80), kTaskBlack);
    EXPECT_EQ(at(sibling->getAbsoluteX(), sibling->getAbsoluteY()), kGreen)
        << "the clip ends with the clipping sprite's subtree";
    EXPECT_EQ(graphics_->getClip(), (Rect{0, 0, 150, 200}));

    // Without clip children the render walk leaves the clip alone; the sprite
    // still clips itself.
    clipping->setClipChildren(false);
    graphics_->resetClip();
    graphics_->setColor(kTaskBlack);
    graphics_->clear();
    draw();
    EXPECT_EQ(at(105, 55), kBlue) << "the child is not clipped";
}

TEST_F(RenderTaskTest, RunWithoutAWindowDrawsNothing) {
    add(root_.get(), 0, 0, 20, kTaskRed);
    RefPtr<RenderTask> task(new RenderTask(root_.get()));
    task->run(16);
    EXPECT_EQ(at(5, 5), kTaskBlack);
    EXPECT_EQ(task->getRoot(), root_.get());
}

} // namespace
} // namespace orv
