#include "engine/core/MoveTask.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/PurgeTask.h"
#include "tests/core/NodeProbes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::Journal;
using test::ProbeNode;
using test::StubModifier;

// A scene's trees with its move and purge tasks; `frame` runs them in the
// scene manager's order (move, then purge).
class SceneFrame : public testing::Test {
protected:
    ProbeNode* add(const std::string& name, GameNode* parent) {
        auto* node = new ProbeNode(name, &journal);
        GameTree::appendChild(node, parent);
        return node;
    }
    void frame(int elapsedMs = 16) {
        move->run(elapsedMs);
        purge->run(elapsedMs);
    }

    Journal journal;
    RefPtr<ProbeNode> root{new ProbeNode("root")};
    RefPtr<AnimTree> tree{new AnimTree("AnimationTree")};
    RefPtr<MoveTask> move{new MoveTask(root.get(), tree.get())};
    RefPtr<PurgeTask> purge{new PurgeTask(root.get(), tree.get())};
};

TEST_F(SceneFrame, TasksHoldTheirTrees) {
    EXPECT_EQ(root->getRefCount(), 3);
    EXPECT_EQ(tree->getRefCount(), 3);
    EXPECT_EQ(move->getRoot(), root.get());
    EXPECT_EQ(purge->getAnimTree(), tree.get());
    EXPECT_TRUE(move->isKindOf(Task::classRecord));
    move = nullptr;
    purge = nullptr;
    EXPECT_EQ(root->getRefCount(), 1);
}

TEST_F(SceneFrame, SuspendedAndMarkedSubtreesAreNotUpdated) {
    ProbeNode* awake = add("awake", root.get());
    ProbeNode* asleep = add("asleep", root.get());
    ProbeNode* underAsleep = add("underAsleep", asleep);
    ProbeNode* marked = add("marked", root.get());
    ProbeNode* underMarked = add("underMarked", marked);
    asleep->setSuspended(true);
    asleep->addModifier(new StubModifier("own", 1, &journal));
    root->setSuspended(true); // the root is updated all the same
    marked->setRemovalMark(true);
    move->run(16);
    EXPECT_EQ(root->selfUpdates, 1);
    EXPECT_EQ(awake->selfUpdates, 1);
    EXPECT_EQ(asleep->selfUpdates, 0);
    EXPECT_EQ(underAsleep->selfUpdates, 0);
    EXPECT_EQ(marked->selfUpdates, 0);
    EXPECT_EQ(underMarked->selfUpdates, 0);
    EXPECT_TRUE(journal.empty()); // the suspended node's own modifier did not run
}

TEST_F(SceneFrame, NodesMarkedDuringTheFrameAreGoneAfterItsPurge) {
    ProbeNode* fading = add("fading", root.get());
    add("child", fading)->setRemovalMark(false);
    add("stays", root.get());
    auto* fade = new StubModifier("fade", 1, &journal);
    fade->setFinishFlags(Modifier::FinishRemoveTarget);
    fading->addModifier(fade);
    frame();
    // The marked node leaves with its unmarked child.
    EXPECT_EQ(journal, (Journal{"fade16", "fade~", "fading~", "child~"}));
    ASSERT_NE(root->getFirstChild(), nullptr);
    EXPECT_EQ(root->getFirstChild()->getName(), "stays");
    EXPECT_EQ(root->getFirstChild()->getNextSibling(), nullptr);
}

TEST_F(SceneFrame, TreeModifiersMarkTheirTargetForTheNextPurge) {
    ProbeNode* target = add("target", root.get());
    auto* m = new StubModifier("m", 1, &journal);
    m->setTarget(target);
    m->setFinishFlags(Modifier::FinishRemoveTarget);
    Modifier::attachTo(tree.get(), m);
    frame(); // the node purge runs before the modifier purge marks it
    EXPECT_EQ(journal, (Journal{"m16", "m~"}));
    EXPECT_TRUE(target->hasRemovalMark());
    frame();
    EXPECT_EQ(journal, (Journal{"m16", "m~", "target~"}));
    EXPECT_EQ(root->getFirstChild(), nullptr);
}

TEST_F(SceneFrame, PurgeHandlesNestedMarksAndHeldNodes) {
    ProbeNode* a = add("a", root.get());
    ProbeNode* a1 = add("a1", a);
    add("a2", a)->setRemovalMark(true);
    add("b", root.get())->setRemovalMark(true);
    const RefPtr<GameNode> held = a1;
    a1->setRemovalMark(true);
    purge->run(0);
    EXPECT_EQ(journal, (Journal{"a2~", "b~"}));
    EXPECT_EQ(a->getFirstChild(), nullptr);
    EXPECT_EQ(held->getRefCount(), 1);
    EXPECT_EQ(held->getParent(), nullptr);
    EXPECT_FALSE(held->hasRemovalMark());
}

TEST_F(SceneFrame, AMarkedRootStaysWithItsOwner) {
    root->setRemovalMark(true);
    purge->run(0);
    EXPECT_EQ(root->getRefCount(), 3);
    EXPECT_TRUE(journal.empty());
}

TEST_F(SceneFrame, ANodeMayLeaveTheTreeFromItsOwnModifier) {
    ProbeNode* leaving = add("leaving", root.get());
    add("after", root.get());
    auto* m = new StubModifier("m", 1, &journal);
    m->onUpdate = [leaving] {
        GameTree::detach(leaving); // the tree's reference is ours now...
        leaving->release();        // ...and dropped while the walk is on it
    };
    leaving->addModifier(m);
    move->run(16);
    EXPECT_EQ(journal, (Journal{"m16", "m~", "leaving~"}));
}

} // namespace
} // namespace orv
