#include "engine/core/GameNode.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "tests/core/NodeProbes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::Journal;
using test::ProbeNode;
using test::StubModifier;

// A node with an own list, journaling its modifiers.
class OwnList : public testing::Test {
protected:
    StubModifier* add(const std::string& name, int steps, std::uint32_t flags = 0) {
        auto* modifier = new StubModifier(name, steps, &journal);
        modifier->setFinishFlags(flags);
        node->addModifier(modifier);
        return modifier;
    }
    Journal frame(int elapsedMs = 16) {
        journal.clear();
        node->update(elapsedMs);
        return journal;
    }

    Journal journal;
    RefPtr<ProbeNode> node{new ProbeNode("node")};
};

TEST_F(OwnList, AddModifierTargetsTheNodeOnceWithOneReference) {
    auto* first = add("A", 1);
    auto* front = new StubModifier("F", 1, &journal);
    EXPECT_EQ(node->addModifier(front, false), front);
    EXPECT_EQ(node->addModifier(first), first); // already there: nothing changes
    ASSERT_EQ(node->getOwnModifiers().size(), 2U);
    EXPECT_EQ(node->getOwnModifiers()[0].get(), front);
    EXPECT_EQ(first->getTarget(), node.get());
    EXPECT_EQ(first->getRefCount(), 1);
    EXPECT_FALSE(first->isInTree());
    node->removeAllModifiers();
    EXPECT_EQ(journal, (Journal{"F~", "A~"}));
}

TEST_F(OwnList, RunsSideBySideAndDropsFinishedOnes) {
    add("A", 1);
    add("B", 2);
    EXPECT_EQ(frame(), (Journal{"A16", "A~", "B16"}));
    EXPECT_EQ(frame(5), (Journal{"B5", "B~"}));
    EXPECT_EQ(node->selfUpdates, 2);
    EXPECT_TRUE(node->getOwnModifiers().empty());
}

TEST_F(OwnList, HoldBackWaitsAndTheNextStartsInTheSameFrame) {
    add("A", 2, Modifier::FinishHoldBack);
    add("B", 1);
    EXPECT_EQ(frame(), (Journal{"A16"}));
    EXPECT_EQ(frame(), (Journal{"A16", "A~", "B16", "B~"}));
}

TEST_F(OwnList, RemoveTargetMarksTheNode) {
    add("A", 1, Modifier::FinishRemoveTarget);
    EXPECT_EQ(frame(), (Journal{"A16", "A~"}));
    EXPECT_TRUE(node->hasRemovalMark());
}

TEST_F(OwnList, KillEarlierReleasesEverythingInFrontOfIt) {
    add("A", 5);
    add("B", 5);
    add("C", 1, Modifier::FinishKillEarlier);
    add("D", 5);
    EXPECT_EQ(frame(), (Journal{"A16", "B16", "C16", "A~", "B~", "C~", "D16"}));
    ASSERT_EQ(node->getOwnModifiers().size(), 1U);
    EXPECT_FALSE(node->hasRemovalMark());
}

TEST_F(OwnList, PausedWaitsAndKilledLeavesWithoutItsFinishActions) {
    auto* paused = add("P", 1, Modifier::FinishHoldBack);
    paused->setPaused(true);
    add("B", 1);
    EXPECT_EQ(frame(), Journal{}); // paused and holding back
    paused->setPaused(false);
    paused->setKilled(true);
    paused->setFinishFlags(Modifier::FinishRemoveTarget);
    EXPECT_EQ(frame(), (Journal{"P~", "B16", "B~"}));
    EXPECT_FALSE(node->hasRemovalMark());
}

TEST_F(OwnList, AModifierMayEmptyTheListFromItsUpdate) {
    auto* a = add("A", 1);
    add("B", 1);
    a->onUpdate = [this] {
        node->removeAllModifiers();
    };
    EXPECT_EQ(frame(), (Journal{"A16", "B~", "A~"}));
    EXPECT_TRUE(node->getOwnModifiers().empty());
}

TEST_F(OwnList, AModifierMayAddModifiersFromItsUpdate) {
    auto* a = add("A", 1);
    add("B", 2);
    a->onUpdate = [this] {
        node->addModifier(new StubModifier("F", 1, &journal), false);
        node->addModifier(new StubModifier("Z", 1, &journal));
    };
    // A is found again behind the new front entry; the walk goes on behind it.
    EXPECT_EQ(frame(), (Journal{"A16", "A~", "B16", "Z16", "Z~"}));
    EXPECT_EQ(frame(), (Journal{"F16", "F~", "B16", "B~"}));
}

// The register of tree modifiers and what a node's death does to them.
class Register : public testing::Test {
protected:
    Register() {
        for (const char* name : {"a", "b", "c"}) {
            auto* modifier = new StubModifier(name, 100, &journal);
            modifier->setTarget(node.get());
            Modifier::attachTo(tree.get(), modifier);
            modifiers.push_back(modifier);
        }
    }

    Journal journal;
    RefPtr<AnimTree> tree{new AnimTree("AnimationTree")};
    RefPtr<GameNode> node{new GameNode("target")};
    std::vector<StubModifier*> modifiers;
};

TEST_F(Register, AttachingRegistersOnTheTargetOnce) {
    EXPECT_EQ(node->getRegisteredModifiers().size(), 3U);
    EXPECT_FALSE(node->registerModifier(modifiers[0]));
    EXPECT_TRUE(node->unregisterModifier(modifiers[0]));
    EXPECT_FALSE(node->unregisterModifier(modifiers[0]));
    EXPECT_TRUE(node->registerModifier(modifiers[0]));
}

TEST_F(Register, KillUpToTakesTheStretchOut) {
    node->killModifiersUpTo(modifiers[1]);
    EXPECT_TRUE(modifiers[0]->isKilled());
    EXPECT_TRUE(modifiers[1]->isKilled());
    EXPECT_FALSE(modifiers[2]->isKilled());
    ASSERT_EQ(node->getRegisteredModifiers().size(), 1U);
    EXPECT_EQ(node->getRegisteredModifiers()[0], modifiers[2]);
    // Untracked now, so they must not point at the node any longer.
    EXPECT_EQ(modifiers[0]->getTarget(), nullptr);
    EXPECT_EQ(modifiers[2]->getTarget(), node.get());
}

TEST_F(Register, KillUpToAnUnregisteredModifierKillsAllAndKeepsTheRegister) {
    StubModifier stranger("s", 1, nullptr);
    node->killModifiersUpTo(&stranger);
    for (StubModifier* modifier : modifiers) {
        EXPECT_TRUE(modifier->isKilled());
        EXPECT_EQ(modifier->getTarget(), node.get());
    }
    EXPECT_EQ(node->getRegisteredModifiers().size(), 3U);
}

TEST_F(Register, KilledModifiersOutliveTheirNodeSafely) {
    // The node dies between the kill and the purge that releases the killed
    // modifiers; with flag 16 they would mark it when released.
    modifiers[0]->setFinishFlags(Modifier::FinishRemoveTargetOnDestroy);
    node->killModifiersUpTo(modifiers[1]);
    EXPECT_TRUE(node->hasRemovalMark()); // flag 16 acts at once
    node = nullptr;
    EXPECT_EQ(journal, (Journal{"c~"})); // c was still registered: taken out with the node
    purgeModifierTree(tree.get());
    EXPECT_EQ(journal, (Journal{"c~", "a~", "b~"}));
}

TEST_F(Register, ANodesDeathTakesItsModifiersOutOfTheTree) {
    auto* follower = new StubModifier("f", 1, &journal);
    Modifier::attachTo(modifiers[1], follower);
    RefPtr<Modifier> held = modifiers[2];
    node = nullptr;
    EXPECT_EQ(journal, (Journal{"a~", "b~"}));
    // b's child took b's place; c survives, held here, with no target.
    EXPECT_EQ(tree->getFirstChild(), follower);
    EXPECT_EQ(follower->getNextSibling(), nullptr);
    EXPECT_EQ(held->getTarget(), nullptr);
    EXPECT_EQ(held->getParent(), nullptr);
    EXPECT_EQ(held->getRefCount(), 1);
}

TEST(GameNodeDeath, OwnModifiersHeldElsewhereLoseTheirTarget) {
    RefPtr<GameNode> node(new GameNode("n"));
    RefPtr<Modifier> held(new StubModifier("m", 1, nullptr));
    node->addModifier(held.get());
    EXPECT_EQ(held->getRefCount(), 2);
    node = nullptr;
    EXPECT_EQ(held->getRefCount(), 1);
    EXPECT_EQ(held->getTarget(), nullptr);
}

// Building nodes from definitions through the object factory.
class Definition : public testing::Test {
protected:
    Definition() {
        registerNodeClasses();
        ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
        factory.registerCreator("TestModifier", [](PropertyNode*) -> BaseObject* {
            return new StubModifier("def", 1, nullptr);
        });
        // Makes an object that is neither a node nor a modifier.
        factory.registerCreator("TestOther", [](PropertyNode*) -> BaseObject* {
            return new PropertyNode("other", "");
        });
        previousSink =
            setLogSink([this](LogLevel, std::string_view line) { warnings.emplace_back(line); });
    }
    ~Definition() override { setLogSink(previousSink); }

    static PropertyNode* element(const std::string& name, const std::string& type) {
        return new PropertyNode(name, type);
    }
    static void value(PropertyNode* node, const std::string& key, const std::wstring& text,
                      const std::string& type = "Integer") {
        node->add(PropertyValue::create(key, type, text));
    }
    RefPtr<GameNode> build(PropertyNode* definition) {
        return kindCast<GameNode>(
            ObjectFactoryContainer::get().createObject("GameNode", definition));
    }

    LogSink previousSink;
    std::vector<std::string> warnings;
};

TEST_F(Definition, ReadsTheKeysAndBuildsChildrenAndModifiers) {
    RefPtr<PropertyNode> definition(element("def", "GameNode"));
    value(definition.get(), "name", L"panel", "String");
    value(definition.get(), "tag", L"#10");
    value(definition.get(), "x", L"-5");
    value(definition.get(), "y", L"7");
    value(definition.get(), "suspended", L"true", "Boolean");
    auto* children = new PropertyVector("children");
    definition->add(children);
    PropertyNode* first = element("c1", "GameNode");
    value(first, "name", L"first", "String");
    value(first, "visible", L"false", "Boolean");
    children->add(first);
    children->add(element("c2", "Unknown"));   // no such class
    children->add(element("c3", "TestOther")); // not a node
    children->add(new PropertyValue("c4", 3)); // not even a node
    PropertyNode* second = element("c5", "GameNode");
    value(second, "name", L"second", "String");
    children->add(second);
    auto* modifiers = new PropertyVector("modifiers");
    definition->add(modifiers);
    modifiers->add(element("m1", "TestModifier"));
    modifiers->add(element("m2", "GameNode")); // a node is no modifier

    const RefPtr<GameNode> node = build(definition.get());
    ASSERT_TRUE(node);
    EXPECT_EQ(node->getName(), "panel");
    EXPECT_EQ(node->getTag(), 16);
    EXPECT_EQ(node->getX(), -5);
    EXPECT_EQ(node->getY(), 7);
    EXPECT_TRUE(node->isSuspended());
    EXPECT_TRUE(node->isVisible());

    GameNode* child = node->getFirstChild();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->getName(), "first");
    EXPECT_FALSE(child->isVisible());
    EXPECT_EQ(child->getX(), 0);
    EXPECT_EQ(child->getRefCount(), 1);
    ASSERT_NE(child->getNextSibling(), nullptr);
    EXPECT_EQ(child->getNextSibling()->getName(), "second");
    EXPECT_EQ(child->getNextSibling()->getNextSibling(), nullptr);

    ASSERT_EQ(node->getOwnModifiers().size(), 1U);
    EXPECT_EQ(node->getOwnModifiers()[0]->getTarget(), node.get());
    EXPECT_EQ(node->getOwnModifiers()[0]->getRefCount(), 1);

    // Each skipped element was reported (the things made for nothing are
    // freed, as the leak checker confirms).
    for (const char* skipped : {"Element 1 of 'children'", "Element 2 of 'children'",
                                "Element 3 of 'children'", "Element 1 of 'modifiers'"}) {
        bool found = false;
        for (const std::string& line : warnings) {
            found = found || line.find(skipped) != std::string::npos;
        }
        EXPECT_TRUE(found) << skipped;
    }
}

TEST_F(Definition, KeysOfTheWrongKindKeepTheDefaults) {
    RefPtr<PropertyNode> definition(element("def", "GameNode"));
    definition->add(element("visible", "GameNode"));
    definition->add(new PropertyVector("x"));
    value(definition.get(), "children", L"3");
    const RefPtr<GameNode> node = build(definition.get());
    EXPECT_TRUE(node->isVisible());
    EXPECT_EQ(node->getX(), 0);
    EXPECT_EQ(node->getFirstChild(), nullptr);
    EXPECT_EQ(warnings.size(), 2U);
}

TEST_F(Definition, AMissingOrNonNodeDefinitionGivesDefaults) {
    for (PropertyNode* definition : {static_cast<PropertyNode*>(nullptr), DUMMY_NODE}) {
        const RefPtr<GameNode> node = build(definition);
        EXPECT_TRUE(node->getName().empty());
        EXPECT_TRUE(node->isVisible());
        EXPECT_FALSE(node->isSuspended());
    }
}

} // namespace
} // namespace orv
