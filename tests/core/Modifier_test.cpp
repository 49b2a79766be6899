#include "engine/core/Modifier.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameNode.h"
#include "engine/core/ModifierContainer.h"
#include "engine/core/ModifierFraction.h"
#include "tests/core/NodeProbes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::Journal;
using test::StubModifier;

// An animation tree with one target node; `frame` runs the update walk and the
// purge as the scene's move and purge tasks do.
class Protocol : public testing::Test {
protected:
    StubModifier* make(const std::string& name, int steps, std::uint32_t flags = 0) {
        auto* modifier = new StubModifier(name, steps, &journal);
        modifier->setFinishFlags(flags);
        modifier->setTarget(node.get());
        return modifier;
    }
    StubModifier* attach(Modifier* parent, const std::string& name, int steps,
                         std::uint32_t flags = 0) {
        auto* modifier = make(name, steps, flags);
        Modifier::attachTo(parent, modifier);
        return modifier;
    }
    Journal frame(int dtMs = 16) {
        journal.clear();
        updateModifierTree(tree.get(), dtMs);
        journal.emplace_back("|");
        purgeModifierTree(tree.get());
        return journal;
    }

    Journal journal;
    RefPtr<GameNode> node{new GameNode("target")};
    RefPtr<AnimTree> tree{new AnimTree("AnimationTree")};
};

TEST_F(Protocol, AttachTakesTheTreesReferenceAndRegisters) {
    StubModifier* m = attach(tree.get(), "M", 1);
    EXPECT_EQ(m->getRefCount(), 1);
    EXPECT_EQ(m->getParent(), tree.get());
    EXPECT_EQ(tree->getFirstChild(), m);
    EXPECT_TRUE(m->isInTree());
    EXPECT_EQ(Modifier::getLastAttached(), m);
    ASSERT_EQ(node->getRegisteredModifiers().size(), 1U);
    EXPECT_TRUE(tree->isDone());
    EXPECT_TRUE(tree->isInTree());
    EXPECT_EQ(tree->getName(), "AnimationTree");
}

TEST_F(Protocol, ReattachingMovesTheModifierAndKeepsItsTarget) {
    StubModifier* a = attach(tree.get(), "A", 5);
    StubModifier* m = attach(tree.get(), "M", 5);
    Modifier::attachTo(a, m);
    EXPECT_EQ(m->getRefCount(), 1);
    EXPECT_EQ(m->getParent(), a);
    EXPECT_EQ(a->getNextSibling(), nullptr);
    EXPECT_EQ(m->getTarget(), node.get());
    EXPECT_EQ(node->getRegisteredModifiers().size(), 2U);
}

TEST_F(Protocol, DetachHandsTheReferenceOverAndDropsTheTarget) {
    StubModifier* m = attach(tree.get(), "M", 1);
    Modifier::detach(m);
    EXPECT_EQ(m->getRefCount(), 1); // now the caller's
    EXPECT_EQ(tree->getFirstChild(), nullptr);
    EXPECT_EQ(m->getTarget(), nullptr);
    EXPECT_TRUE(node->getRegisteredModifiers().empty());
    m->release();
    EXPECT_EQ(journal, (Journal{"M~"}));
    EXPECT_EQ(Modifier::getLastAttached(), nullptr); // never left dangling
}

TEST_F(Protocol, RemoveFromTreeSplicesTheChildrenIntoItsPlace) {
    StubModifier* a = attach(tree.get(), "A", 1);
    StubModifier* m = attach(tree.get(), "M", 1);
    StubModifier* z = attach(tree.get(), "Z", 1);
    StubModifier* c1 = attach(m, "C1", 1);
    StubModifier* c2 = attach(m, "C2", 1);
    EXPECT_EQ(Modifier::removeFromTree(m), c1);
    EXPECT_EQ(journal, (Journal{"M~"}));
    std::vector<Modifier*> order;
    for (Modifier* child = tree->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        EXPECT_EQ(child->getParent(), tree.get());
        order.push_back(child);
    }
    EXPECT_EQ(order, (std::vector<Modifier*>{a, c1, c2, z}));
    EXPECT_EQ(Modifier::removeFromTree(z), nullptr);
    EXPECT_EQ(node->getRegisteredModifiers().size(), 3U);
}

TEST_F(Protocol, AChainRunsInSequence) {
    StubModifier* m1 = attach(tree.get(), "A", 2);
    StubModifier* m2 = attach(m1, "B", 1);
    attach(m2, "C", 2);
    EXPECT_EQ(frame(), (Journal{"A16", "|"}));
    // B's first update comes in the frame in which A finishes; C's in B's.
    EXPECT_EQ(frame(), (Journal{"A16", "B16", "C16", "|", "B~", "A~"}));
    EXPECT_EQ(frame(), (Journal{"C16", "|", "C~"}));
    EXPECT_EQ(tree->getFirstChild(), nullptr);
}

TEST_F(Protocol, SiblingsRunSideBySide) {
    attach(tree.get(), "A", 2);
    attach(tree.get(), "B", 1);
    EXPECT_EQ(frame(), (Journal{"A16", "B16", "|", "B~"}));
    EXPECT_EQ(frame(), (Journal{"A16", "|", "A~"}));
}

TEST_F(Protocol, RemoveTargetMarksInThePurgeOfTheFinishingFrame) {
    StubModifier* m = attach(tree.get(), "A", 1, Modifier::FinishRemoveTarget);
    m->onUpdate = [this] {
        EXPECT_FALSE(node->hasRemovalMark());
    };
    updateModifierTree(tree.get(), 16);
    EXPECT_FALSE(node->hasRemovalMark()); // not before the purge
    purgeModifierTree(tree.get());
    EXPECT_TRUE(node->hasRemovalMark());
}

TEST_F(Protocol, KillEarlierKillsWhatWasRegisteredBeforeIt) {
    attach(tree.get(), "old", 10);
    StubModifier* newer = attach(tree.get(), "new", 1, Modifier::FinishKillEarlier);
    StubModifier* later = attach(tree.get(), "later", 10);
    StubModifier* follow = attach(newer, "follow", 10);
    EXPECT_EQ(frame(), (Journal{"old16", "new16", "follow16", "later16", "|", "new~"}));
    EXPECT_EQ(frame(), (Journal{"follow16", "later16", "|", "old~"}));
    EXPECT_EQ(node->getRegisteredModifiers().size(), 2U);
    EXPECT_FALSE(later->isKilled());
    EXPECT_FALSE(follow->isKilled());
}

TEST_F(Protocol, KillContainerEndsTheNearestContainerButNeverTheTree) {
    auto* group = Modifier::attachTo(tree.get(), new ModifierContainer());
    attach(group, "slow", 10);
    attach(group, "quick", 1, Modifier::FinishKillContainer);
    attach(tree.get(), "top", 1, Modifier::FinishKillContainer);
    EXPECT_EQ(frame(), (Journal{"slow16", "quick16", "top16", "|", "quick~", "slow~", "top~"}));
    EXPECT_FALSE(tree->isKilled());
    EXPECT_EQ(tree->getFirstChild(), nullptr);
}

TEST_F(Protocol, FlagsNeedATarget) {
    StubModifier* m = attach(tree.get(), "A", 1, Modifier::FinishRemoveTarget);
    m->setTarget(nullptr); // the registration follows the target
    EXPECT_TRUE(node->getRegisteredModifiers().empty());
    EXPECT_EQ(frame(), (Journal{"A16", "|", "A~"}));
    EXPECT_FALSE(node->hasRemovalMark());
}

TEST_F(Protocol, KillingDropsTheSubtreeUnrun) {
    StubModifier* m = attach(tree.get(), "A", 1);
    attach(m, "B", 1);
    m->setKilled(true);
    EXPECT_EQ(frame(), (Journal{"|", "B~", "A~"}));
    EXPECT_TRUE(node->getRegisteredModifiers().empty());
}

TEST_F(Protocol, AKilledModifierHeldElsewhereIsReleasedOnce) {
    RefPtr<Modifier> held = attach(tree.get(), "A", 5);
    held->setKilled(true);
    frame();
    frame();
    frame();
    EXPECT_EQ(held->getRefCount(), 1);
    EXPECT_EQ(held->getParent(), nullptr);
    EXPECT_EQ(held->getTarget(), nullptr);
    EXPECT_EQ(tree->getFirstChild(), nullptr);
}

TEST_F(Protocol, ReleasingAKilledModifierWithFlag16MarksItsTarget) {
    StubModifier* m = attach(tree.get(), "A", 5, Modifier::FinishRemoveTargetOnDestroy);
    frame();
    EXPECT_FALSE(node->hasRemovalMark());
    m->setKilled(true);
    frame();
    EXPECT_TRUE(node->hasRemovalMark());
}

TEST_F(Protocol, AFinishedModifierWithFlag16DoesNotMarkItsTarget) {
    attach(tree.get(), "A", 1, Modifier::FinishRemoveTargetOnDestroy);
    frame();
    EXPECT_FALSE(node->hasRemovalMark());
}

TEST_F(Protocol, DestroyingTheTreeReleasesAllAndHonoursFlag16) {
    StubModifier* a = attach(tree.get(), "A", 5, Modifier::FinishRemoveTargetOnDestroy);
    attach(a, "B", 5);
    tree = nullptr;
    EXPECT_EQ(journal, (Journal{"B~", "A~"}));
    EXPECT_TRUE(node->hasRemovalMark());
    EXPECT_TRUE(node->getRegisteredModifiers().empty());
}

TEST_F(Protocol, APausedContainerFreezesItsChildren) {
    auto* group = Modifier::attachTo(tree.get(), new ModifierContainer());
    attach(group, "A", 2);
    group->setPaused(true);
    EXPECT_EQ(frame(), (Journal{"|"}));
    group->setPaused(false);
    EXPECT_EQ(frame(), (Journal{"A16", "|"}));
}

TEST_F(Protocol, APausedLeafStaysAndHoldsItsChildrenBack) {
    StubModifier* m = attach(tree.get(), "A", 1);
    attach(m, "B", 1);
    m->setPaused(true);
    EXPECT_EQ(frame(), (Journal{"|"}));
    m->setPaused(false);
    EXPECT_EQ(frame(), (Journal{"A16", "B16", "|", "B~", "A~"}));
}

TEST_F(Protocol, AModifierTakenOutByItsOwnUpdateEndsTheWalkSafely) {
    StubModifier* m = attach(tree.get(), "A", 1);
    attach(m, "child", 1);
    attach(tree.get(), "later", 1);
    m->onUpdate = [m] {
        Modifier::detach(m); // the reference is now ours...
        m->release();        // ...and dropped: the walk's hold keeps it alive
    };
    // The walk ends there ("later" waits for the next frame); the modifier
    // dies with its child once the walk lets go of it.
    EXPECT_EQ(frame(), (Journal{"A16", "A~", "child~", "|"}));
}

TEST_F(Protocol, WalksNeverLeaveTheirRoot) {
    StubModifier* a = attach(tree.get(), "A", 1);
    attach(tree.get(), "B", 1);
    journal.clear();
    updateModifierTree(a, 16);
    purgeModifierTree(a);
    EXPECT_EQ(journal, (Journal{"A16", "A~"}));
}

// Fractions: a table of (duration, easing, steps, fraction after each step).
struct FractionCase {
    int duration;
    ModifierFraction::Easing easing;
    std::vector<int> steps;
    std::vector<float> fractions;
    int doneAfter; // 1-based step that finishes it
};

TEST(ModifierFractionTable, TimeKeepingAndEasing) {
    const std::vector<FractionCase> cases{
        {300, nullptr, {100, 100, 100}, {1.0F / 3, 2.0F / 3, 1.0F}, 3},
        {100, &ModifierFraction::linear, {50, 25}, {0.5F, 0.75F}, 0},
        {100, &ModifierFraction::smoothstep, {25, 25, 25}, {0.15625F, 0.5F, 0.84375F}, 0},
        {100, &ModifierFraction::smoothstep, {80, 500}, {0.896F, 1.0F}, 2}, // long frame
        {0, nullptr, {0}, {1.0F}, 1},
        {0, &ModifierFraction::smoothstep, {16}, {1.0F}, 1},
        {-5, nullptr, {16}, {1.0F}, 1},
    };
    for (const FractionCase& c : cases) {
        const RefPtr<ModifierFraction> modifier(new ModifierFraction(c.duration, c.easing));
        for (std::size_t step = 0; step < c.steps.size(); ++step) {
            modifier->update(c.steps[step]);
            EXPECT_NEAR(modifier->getFraction(), c.fractions[step], 1e-5)
                << "duration " << c.duration << " step " << step;
            EXPECT_EQ(modifier->isDone(),
                      c.doneAfter != 0 && static_cast<int>(step) + 1 >= c.doneAfter)
                << "duration " << c.duration << " step " << step;
        }
        if (c.doneAfter != 0) {
            EXPECT_EQ(modifier->getElapsed(), std::max(c.duration, 0));
        }
    }
}

// Chains of fractions under an AnimTree, advanced in frames of 16 ms: the
// frame (1-based) in which each link of the chain is done.
TEST(AnimTreeChainTable, EachLinkStartsInTheFrameItsParentFinishes) {
    struct Case {
        std::vector<int> durations;
        std::vector<int> doneInFrame;
    };
    const std::vector<Case> cases{
        {{30, 0, 20}, {2, 2, 3}}, //
        {{0, 0, 0}, {1, 1, 1}},   //
        {{16, 16}, {1, 1}},       //
        {{100}, {7}},             //
        {{15, 17, 1}, {1, 2, 2}}, //
        {{20, 40}, {2, 4}},
    };
    for (const Case& c : cases) {
        const RefPtr<AnimTree> tree(new AnimTree());
        std::vector<RefPtr<ModifierFraction>> chain;
        Modifier* parent = tree.get();
        for (int duration : c.durations) {
            chain.emplace_back(new ModifierFraction(duration));
            parent = Modifier::attachTo(parent, chain.back().get());
        }
        std::vector<int> doneInFrame(chain.size(), 0);
        for (int frame = 1; frame <= 10; ++frame) {
            updateModifierTree(tree.get(), 16);
            for (std::size_t link = 0; link < chain.size(); ++link) {
                if (doneInFrame[link] == 0 && chain[link]->isDone()) {
                    doneInFrame[link] = frame;
                }
            }
            purgeModifierTree(tree.get());
        }
        EXPECT_EQ(doneInFrame, c.doneInFrame) << "first duration " << c.durations.front();
        EXPECT_EQ(tree->getFirstChild(), nullptr);
        for (const RefPtr<ModifierFraction>& link : chain) {
            EXPECT_EQ(link->getRefCount(), 1); // only ours: the tree let go of each once
        }
    }
}

TEST(ModifierFractionTable, EasingEnds) {
    for (ModifierFraction::Easing easing :
         {&ModifierFraction::linear, &ModifierFraction::smoothstep}) {
        EXPECT_EQ(easing(0.0F), 0.0F);
        EXPECT_EQ(easing(1.0F), 1.0F);
    }
}

} // namespace
} // namespace orv
