#include "engine/core/GameTree.h"

#include "tests/core/NodeProbes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::Journal;
using test::ProbeNode;

std::vector<std::string> childNames(const GameNode* parent) {
    std::vector<std::string> names;
    for (const GameNode* child = parent->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        EXPECT_EQ(child->getParent(), parent);
        names.push_back(child->getName());
    }
    return names;
}

// A root holding children "1", "2", "3" (each owned by the tree only).
struct Family {
    Family() {
        for (const char* name : {"1", "2", "3"}) {
            GameTree::appendChild(new ProbeNode(name, &journal), root.get());
        }
    }
    GameNode* child(int index) {
        GameNode* node = root->getFirstChild();
        for (; index > 0; --index) {
            node = node->getNextSibling();
        }
        return node;
    }

    Journal journal;
    RefPtr<GameTree> root{new GameTree()};
};

struct ThreeChildren : testing::Test, Family {};

TEST_F(ThreeChildren, NewNodesEndOwnedByTheTree) {
    EXPECT_EQ(childNames(root.get()), (std::vector<std::string>{"1", "2", "3"}));
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(child(index)->getRefCount(), 1);
    }
    EXPECT_TRUE(root->getName().empty());
    EXPECT_TRUE(root->isKindOf(GameNode::classRecord));
}

TEST_F(ThreeChildren, AppendingALinkedNodeMovesItKeepingItsCount) {
    RefPtr<GameNode> other(new GameNode("other"));
    GameNode* moved = child(1);
    moved->setRemovalMark(true);
    GameTree::appendChild(moved, other.get());
    EXPECT_EQ(moved->getRefCount(), 1);
    EXPECT_FALSE(moved->hasRemovalMark());
    EXPECT_EQ(childNames(root.get()), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(childNames(other.get()), (std::vector<std::string>{"2"}));
    EXPECT_EQ(moved->getNextSibling(), nullptr);
}

TEST_F(ThreeChildren, DetachHandsTheTreesReferenceToTheCaller) {
    GameNode* taken = child(0);
    GameTree::detach(taken);
    EXPECT_EQ(taken->getRefCount(), 1);
    EXPECT_EQ(taken->getParent(), nullptr);
    EXPECT_EQ(childNames(root.get()), (std::vector<std::string>{"2", "3"}));
    taken->release();
    EXPECT_EQ(journal, (Journal{"1~"}));
}

TEST(GameTreeDetach, AnUnlinkedNodeGetsOneMoreReference) {
    RefPtr<GameNode> node(new GameNode("n"));
    node->setRemovalMark(true);
    GameTree::detach(node.get());
    EXPECT_EQ(node->getRefCount(), 2);
    EXPECT_FALSE(node->hasRemovalMark());
    node->release();
}

TEST(GameTreeInsertBefore, MovesWithinTheChain) {
    struct Case {
        int node;
        int sibling;
        std::vector<std::string> order;
    };
    for (const Case& c :
         {Case{2, 0, {"3", "1", "2"}}, Case{0, 2, {"2", "1", "3"}}, Case{2, 1, {"1", "3", "2"}}}) {
        Family fixture;
        GameTree::insertBefore(fixture.child(c.node), fixture.child(c.sibling));
        EXPECT_EQ(childNames(fixture.root.get()), c.order) << c.node << " before " << c.sibling;
        for (int index = 0; index < 3; ++index) {
            EXPECT_EQ(fixture.child(index)->getRefCount(), 1);
        }
    }
}

TEST_F(ThreeChildren, InsertBeforeOfTheDirectPredecessorChangesNothing) {
    child(0)->setRemovalMark(true);
    GameTree::insertBefore(child(0), child(1));
    EXPECT_EQ(childNames(root.get()), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(child(0)->hasRemovalMark());
}

TEST_F(ThreeChildren, InsertBeforeTakesANodeFromAnotherParent) {
    RefPtr<GameNode> other(new GameNode("other"));
    GameTree::appendChild(new GameNode("x"), other.get());
    GameNode* moved = other->getFirstChild();
    GameTree::insertBefore(moved, child(0));
    EXPECT_EQ(childNames(root.get()), (std::vector<std::string>{"x", "1", "2", "3"}));
    EXPECT_EQ(other->getFirstChild(), nullptr);
    EXPECT_EQ(moved->getRefCount(), 1);
}

TEST_F(ThreeChildren, ReleasingTheParentReleasesTheLastChildFirst) {
    root = nullptr;
    EXPECT_EQ(journal, (Journal{"3~", "2~", "1~"}));
}

TEST_F(ThreeChildren, ReleasedChildrenHeldElsewhereSurviveUnlinked) {
    RefPtr<GameNode> kept = child(1);
    GameTree::appendChild(new ProbeNode("grandchild", &journal), kept.get());
    root = nullptr;
    EXPECT_EQ(journal, (Journal{"3~", "1~"}));
    EXPECT_EQ(kept->getRefCount(), 1);
    EXPECT_EQ(kept->getParent(), nullptr);
    EXPECT_EQ(kept->getNextSibling(), nullptr);
    EXPECT_EQ(childNames(kept.get()), (std::vector<std::string>{"grandchild"}));
}

TEST(GameTreeDeleteChain, ReleasesAChainThatWasCutOffLastFirst) {
    Journal journal;
    RefPtr<GameNode> parent(new GameNode("p"));
    for (const char* name : {"a", "b", "c", "d"}) {
        GameTree::appendChild(new ProbeNode(name, &journal), parent.get());
    }
    // Cut the chain after "b" by hand, as releaseChildren does at the head.
    GameNode* second = parent->getFirstChild()->getNextSibling();
    GameNode* third = second->getNextSibling();
    GameTree::insertBefore(new ProbeNode("e", &journal), third); // a, b, e, c, d
    GameNode* cut = second->getNextSibling();
    GameTree::detach(cut); // the caller now owns "e"; "c", "d" follow "b"
    cut->release();
    EXPECT_EQ(journal, (Journal{"e~"}));
    journal.clear();
    GameTree::releaseChildren(parent.get());
    EXPECT_EQ(journal, (Journal{"d~", "c~", "b~", "a~"}));
    EXPECT_EQ(parent->getFirstChild(), nullptr);
}

TEST(GameTreeDeleteChain, ManySiblingsDoNotRecurse) {
    RefPtr<GameNode> parent(new GameNode("p"));
    GameTree::appendChild(new GameNode(""), parent.get());
    for (int index = 0; index < 200000; ++index) {
        GameTree::insertBefore(new GameNode(""), parent->getFirstChild());
    }
    parent = nullptr; // a recursive release would overflow the stack here
}

TEST(GameTreeForEach, VisitsTheSubtreeInPreOrderAndNeverLeavesIt) {
    RefPtr<GameNode> top(new GameNode("top"));
    auto* a = new GameNode("a");
    GameTree::appendChild(a, top.get());
    GameTree::appendChild(new GameNode("a1"), a);
    GameTree::appendChild(new GameNode("a2"), a);
    GameTree::appendChild(new GameNode("a21"), a->getFirstChild()->getNextSibling());
    GameTree::appendChild(new GameNode("b"), top.get());

    struct Visit {
        std::vector<std::string> names;
    } visit;
    auto note = [](GameNode* node, void* context) {
        auto* v = static_cast<Visit*>(context);
        v->names.push_back(node->getName());
    };
    GameTree::forEach(top.get(), note, &visit);
    EXPECT_EQ(visit.names, (std::vector<std::string>{"top", "a", "a1", "a2", "a21", "b"}));

    visit.names.clear();
    GameTree::forEach(a, note, &visit); // "b" is a's sibling, outside the walk
    EXPECT_EQ(visit.names, (std::vector<std::string>{"a", "a1", "a2", "a21"}));

    static std::vector<void*> contexts;
    contexts.clear();
    GameTree::forEach(a->getFirstChild(),
                      [](GameNode*, void* context) { contexts.push_back(context); });
    EXPECT_EQ(contexts, (std::vector<void*>{a->getFirstChild()})); // no context: the root
}

// A node whose position is offset, to show which operations go through the
// virtual getters and setters.
class ShiftedNode : public GameNode {
public:
    ShiftedNode() : GameNode("shifted") {}
    [[nodiscard]] int getX() const override { return GameNode::getX() + 1000; }
    void setY(int y) override { GameNode::setY(y * 2); }
};

TEST(GameNodePosition, AbsolutePositionsAddTheAncestors) {
    RefPtr<GameNode> outer(new GameNode("outer"));
    outer->setPosition(20, 1);
    auto* inner = new GameNode("inner");
    inner->setPosition(10, 2);
    auto* leaf = new GameNode("leaf");
    leaf->setPosition(5, 3);
    GameTree::appendChild(inner, outer.get());
    GameTree::appendChild(leaf, inner);
    EXPECT_EQ(leaf->getAbsoluteX(), 35);
    EXPECT_EQ(leaf->getAbsoluteY(), 6);
    EXPECT_EQ(leaf->getParentX(), 30);
    EXPECT_EQ(outer->getAbsoluteX(), 20);
    EXPECT_EQ(outer->getParentX(), 0);

    auto* shifted = new ShiftedNode();
    GameTree::appendChild(shifted, outer.get());
    shifted->setPosition(1, 4); // goes through the override of setY
    EXPECT_EQ(shifted->getY(), 8);
    GameTree::appendChild(new GameNode("under"), shifted);
    EXPECT_EQ(shifted->getFirstChild()->getParentX(), 1021);
}

TEST(GameNodeCopy, TakesOnlyThePosition) {
    ShiftedNode original;
    original.setPosition(7, 3);
    original.setTag(9);
    original.setVisible(false);
    GameTree::appendChild(new GameNode("child"), &original);
    const GameNode copy(original);
    EXPECT_EQ(copy.getX(), 1007);
    EXPECT_EQ(copy.getY(), 6);
    EXPECT_EQ(copy.getTag(), 0);
    EXPECT_TRUE(copy.isVisible());
    EXPECT_TRUE(copy.getName().empty());
    EXPECT_EQ(copy.getFirstChild(), nullptr);
    EXPECT_EQ(copy.getRefCount(), 0);
}

} // namespace
} // namespace orv
