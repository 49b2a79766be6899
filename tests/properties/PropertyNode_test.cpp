#include "engine/core/Log.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace orv {
namespace {

std::vector<std::string> orderedNames(const PropertyVector& list) {
    std::vector<std::string> names;
    for (const RefPtr<AbstractProperty>& element : list.getElements()) {
        names.push_back(element->getName());
    }
    return names;
}

std::vector<std::string> tableNames(const PropertyNode& node) {
    std::vector<std::string> names;
    for (const PropertyNode::NamedChild& child : node.getChildren()) {
        names.push_back(child.name);
    }
    return names;
}

TEST(ClassRecords, FollowTheRegistryNotTheCode) {
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->isKindOf(PropertyNode::classRecord));
    EXPECT_TRUE(store->isKindOf(AbstractProperty::classRecord));
    EXPECT_FALSE(store->isKindOf(BaseObject::classRecord));
    EXPECT_FALSE(store->isKindOf(PropertyVector::classRecord)); // a node is no vector
    EXPECT_EQ(kindCast<PropertyVector>(store.get()), nullptr);
    EXPECT_EQ(kindCast<PropertyNode>(store.get()), store.get());
}

TEST(PropertyNodeAdd, SameNameReplacesAndMovesToTheEnd) {
    RefPtr<PropertyNode> node(new PropertyNode("n", "Sprite"));
    node->add(new PropertyValue("x", 1));
    node->add(new PropertyValue("y", 2));
    node->add(new PropertyValue("x", 3));
    EXPECT_EQ(node->getChildCount(), 2U);
    EXPECT_EQ(orderedNames(*node), (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(tableNames(*node), (std::vector<std::string>{"y", "x"}));
    EXPECT_EQ(node->getValue("x")->getInt(), 3);
}

TEST(PropertyNodeAdd, UntypedValuesAreFoundButNotOrdered) {
    RefPtr<PropertyNode> node(new PropertyNode("n", "Sprite"));
    node->add(new PropertyValue("attr", 5, true));
    node->add(new PropertyNode("child", "Label"));
    ASSERT_NE(node->getChild("attr"), nullptr);
    EXPECT_EQ(node->getValue("attr")->getInt(), 5);
    EXPECT_EQ(orderedNames(*node), (std::vector<std::string>{"child"}));
    EXPECT_EQ(node->size(), 1U);
}

TEST(PropertyNodeAdd, ReAddingTheSameChildKeepsItAlive) {
    RefPtr<PropertyNode> node(new PropertyNode("n", ""));
    auto* child = new PropertyValue("x", 1);
    node->add(child);
    node->add(child); // removes its own entry first
    EXPECT_EQ(node->getChild("x"), child);
    EXPECT_EQ(child->getRefCount(), 2); // one for the table, one for the order
}

TEST(PropertyNodeRemove, FallsBackToTheOrderedChildrenByName) {
    RefPtr<PropertyNode> node(new PropertyNode("n", ""));
    AbstractProperty* child = node->add(new PropertyValue("a", 1));
    child->setName("renamed"); // still kept under "a" in the table
    node->removeChild("renamed");
    EXPECT_EQ(node->size(), 0U);
    EXPECT_EQ(node->getChild("a"), child);
    node->removeChild("a");
    EXPECT_EQ(node->getChildCount(), 0U);
}

TEST(PropertyNodeLookup, MissingOrWrongKindGivesTheMatchingDummy) {
    RefPtr<PropertyNode> node(new PropertyNode("n", ""));
    node->add(new PropertyValue("value", 1));
    node->add(new PropertyNode("node", "Sprite"));
    node->add(new PropertyVector("vector"));
    EXPECT_EQ(node->getChild("missing"), nullptr);
    EXPECT_EQ(node->getValue("missing"), DUMMY_VALUE);
    EXPECT_EQ(node->getValue("node"), DUMMY_VALUE);
    EXPECT_EQ(node->getNode("value"), DUMMY_NODE);
    EXPECT_EQ(node->getNode("vector"), DUMMY_NODE);
    EXPECT_EQ(node->getVector("node"), DUMMY_VECTOR);
    EXPECT_NE(node->getVector("vector"), DUMMY_VECTOR);
    // Every key of a dummy node reads as the dummy of the kind asked for.
    EXPECT_EQ(DUMMY_NODE->getNode("a")->getVector("b")->at(0), nullptr);
    EXPECT_EQ(DUMMY_NODE->getValue("a"), DUMMY_VALUE);
}

TEST(PropertyNodeLookup, DummiesStoreNothing) {
    RefPtr<PropertyValue> child(new PropertyValue("x", 1));
    EXPECT_EQ(DUMMY_NODE->add(child.get()), child.get());
    EXPECT_EQ(DUMMY_VECTOR->add(child.get()), child.get());
    EXPECT_EQ(child->getRefCount(), 1); // no reference taken
    EXPECT_EQ(DUMMY_NODE->getChildCount(), 0U);
    EXPECT_EQ(DUMMY_VECTOR->size(), 0U);
}

TEST(PropertyVectorAccess, IndexOutOfRangeGivesNull) {
    RefPtr<PropertyVector> vector(new PropertyVector("v"));
    vector->addBool(true);
    vector->addBool(false);
    EXPECT_EQ(vector->at(-1), nullptr);
    EXPECT_EQ(vector->at(2), nullptr);
    EXPECT_EQ(asValue(vector->at(1))->getText(), L"false");
    EXPECT_EQ(vector->at(0)->getTypeName(), "Boolean");
}

TEST(PropertyNodeEnum, MatchesExactlyOrGivesTheDefault) {
    RefPtr<PropertyNode> node(new PropertyNode("n", ""));
    node->add(new PropertyValue("align", std::string_view("center"), true));
    node->add(new PropertyValue("wrap", std::string_view("WordWrap"), true));
    constexpr std::array<std::string_view, 3> align{"left", "center", "right"};
    constexpr std::array<std::string_view, 3> wrap{"autowidth", "wordwrap", "truncate"};
    EXPECT_EQ(node->getEnumIndex("align", align, 0), 1);
    EXPECT_EQ(node->getEnumIndex("wrap", wrap, 2), 2); // case matters
    EXPECT_EQ(node->getEnumIndex("missing", wrap, 7), 7);
}

TEST(PropertyNodeBools, NamedBoolsAreTypedUnlessAskedOtherwise) {
    RefPtr<PropertyNode> node(new PropertyNode("n", ""));
    node->addNamedBool("a", true, false);
    node->addNamedBool("b", false, true);
    EXPECT_EQ(node->getChild("a")->getTypeName(), "Boolean");
    EXPECT_TRUE(node->getValue("a")->getBool());
    EXPECT_TRUE(node->getChild("b")->getTypeName().empty());
    EXPECT_FALSE(node->getValue("b")->getBool());
    EXPECT_EQ(node->size(), 1U);
}

// Setup expansion reads the node setups of the named settings.
class SetupResolution : public testing::Test {
protected:
    void SetUp() override {
        BasicProperties::create();
        previousSink_ = setLogSink([this](LogLevel level, std::string_view message) {
            if (level != LogLevel::Info) {
                warnings_.emplace_back(message);
            }
        });
    }
    void TearDown() override {
        setLogSink(previousSink_);
        BasicProperties::destroyInstance();
    }

    static PropertyNode* setup(const std::string& name) {
        RefPtr<PropertyNode>& entry = BasicProperties::get()->getNode(name);
        entry = new PropertyNode(name, "Sprite");
        return entry.get();
    }
    static void name(PropertyNode& node, std::string_view setupName) {
        node.add(new PropertyValue("setup", std::string_view(setupName), true));
    }
    [[nodiscard]] bool logged(std::string_view part) const {
        for (const std::string& warning : warnings_) {
            if (warning.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> warnings_;

private:
    LogSink previousSink_;
};

TEST_F(SetupResolution, OwnKeysWinAndSetupChildrenAreShared) {
    PropertyNode* button = setup("BUTTON");
    button->add(new PropertyValue("x", 1, true));
    AbstractProperty* font = button->add(new PropertyNode("font", "Font"));
    RefPtr<PropertyNode> node(new PropertyNode("ok", "Button"));
    name(*node, "BUTTON");
    node->add(new PropertyValue("x", 9, true));
    node->resolve();
    EXPECT_EQ(node->getChild("setup"), nullptr);
    EXPECT_EQ(node->getValue("x")->getInt(), 9);
    EXPECT_EQ(node->getChild("font"), font); // the same object, not a copy
}

TEST_F(SetupResolution, MergingIsOneLevelDeepAndSetupsOfSetupsAreNotFollowed) {
    PropertyNode* base = setup("BASE");
    base->add(new PropertyValue("fromBase", 1, true));
    PropertyNode* button = setup("BUTTON");
    name(*button, "BASE");
    auto* label = new PropertyNode("label", "Label");
    label->add(new PropertyValue("size", 10, true));
    button->add(label);

    RefPtr<PropertyNode> node(new PropertyNode("ok", "Button"));
    name(*node, "BUTTON");
    auto* ownLabel = new PropertyNode("label", "Label");
    ownLabel->add(new PropertyValue("colour", 3, true));
    node->add(ownLabel);
    node->resolve();

    EXPECT_EQ(node->getNode("label"), ownLabel);
    EXPECT_EQ(ownLabel->getChild("size"), nullptr); // not merged
    EXPECT_EQ(node->getChild("fromBase"), nullptr);
    // The setup's own "setup" key is copied like any other.
    EXPECT_EQ(node->getValue("setup")->getString(), "BASE");
}

TEST_F(SetupResolution, UnknownSetupLeavesTheChildrenUnresolved) {
    setup("LABEL")->add(new PropertyValue("size", 10, true));
    RefPtr<PropertyNode> node(new PropertyNode("n", "Panel"));
    name(*node, "MISSING");
    auto* child = new PropertyNode("label", "Label");
    name(*child, "LABEL");
    node->add(child);
    node->resolve();
    EXPECT_EQ(child->getValue("setup")->getString(), "LABEL");
    EXPECT_EQ(child->getChild("size"), nullptr);
    EXPECT_EQ(BasicProperties::get()->getNode("MISSING"), nullptr); // inserted empty
}

TEST_F(SetupResolution, ChildrenAreResolvedRecursively) {
    setup("LABEL")->add(new PropertyValue("size", 10, true));
    RefPtr<PropertyNode> node(new PropertyNode("n", "Panel"));
    auto* list = new PropertyVector("items");
    auto* item = new PropertyNode("", "Label");
    name(*item, "LABEL");
    list->add(item);
    node->add(list);
    node->resolve();
    EXPECT_EQ(item->getValue("size")->getInt(), 10);
}

// A setup that names itself, directly or through others, must end and say so,
// and must never make a node part of itself.
TEST_F(SetupResolution, SetupNamingItselfDirectlyEnds) {
    PropertyNode* self = setup("SELF");
    name(*self, "SELF");
    self->add(new PropertyValue("x", 1, true));
    self->resolve();
    EXPECT_TRUE(logged("SELF"));
    EXPECT_EQ(self->getValue("x")->getInt(), 1);
    EXPECT_EQ(self->getChild("setup"), nullptr);
}

TEST_F(SetupResolution, SetupWhoseChildNamesItEnds) {
    PropertyNode* panel = setup("PANEL");
    panel->add(new PropertyValue("x", 1, true));
    auto* inner = new PropertyNode("inner", "Panel");
    name(*inner, "PANEL");
    panel->add(inner);

    RefPtr<PropertyNode> node(new PropertyNode("n", "Panel"));
    name(*node, "PANEL");
    node->resolve();

    EXPECT_TRUE(logged("PANEL"));
    EXPECT_EQ(node->getNode("inner"), inner);
    EXPECT_EQ(inner->getValue("x")->getInt(), 1);
    EXPECT_EQ(inner->getChild("inner"), nullptr); // never inside itself
}

TEST_F(SetupResolution, SetupsNamingEachOtherThroughChildrenEnd) {
    PropertyNode* first = setup("FIRST");
    auto* a = new PropertyNode("a", "Panel");
    name(*a, "SECOND");
    first->add(a);
    PropertyNode* second = setup("SECOND");
    auto* b = new PropertyNode("b", "Panel");
    name(*b, "FIRST");
    second->add(b);

    RefPtr<PropertyNode> node(new PropertyNode("n", "Panel"));
    name(*node, "FIRST");
    node->resolve();

    EXPECT_TRUE(logged("FIRST"));
    EXPECT_EQ(a->getNode("b"), b);
    EXPECT_EQ(b->getChild("a"), nullptr); // a holds b: b must not hold a
}

TEST_F(SetupResolution, SetupsNamingEachOtherDirectlyEnd) {
    PropertyNode* first = setup("FIRST");
    name(*first, "SECOND");
    first->add(new PropertyValue("one", 1, true));
    PropertyNode* second = setup("SECOND");
    name(*second, "FIRST");
    second->add(new PropertyValue("two", 2, true));
    first->resolve();
    second->resolve();
    EXPECT_EQ(first->getValue("two")->getInt(), 2);
    EXPECT_EQ(second->getValue("one")->getInt(), 1);
}

TEST_F(SetupResolution, SharedSetupsAreResolvedOnceHoweverManyPathsLeadThere) {
    // Each setup holds two nodes that both take the setup below it: 40 levels
    // give 2^40 paths to the deepest nodes, which no walk of every path ends.
    constexpr int kLevels = 40;
    for (int level = 0; level < kLevels; ++level) {
        PropertyNode* shared = setup("S" + std::to_string(level));
        for (const char* side : {"left", "right"}) {
            auto* child = new PropertyNode(side, "Panel");
            if (level > 0) {
                name(*child, "S" + std::to_string(level - 1));
            } else {
                child->add(new PropertyValue("leaf", 1, true));
            }
            shared->add(child);
        }
    }
    RefPtr<PropertyNode> node(new PropertyNode("n", "Panel"));
    name(*node, "S" + std::to_string(kLevels - 1));
    ::alarm(60); // ends the run instead of hanging it should the walk come back
    node->resolve();
    ::alarm(0);
    const PropertyNode* at = node.get();
    for (int level = 0; level < kLevels; ++level) {
        at = at->getNode("left");
    }
    EXPECT_EQ(at->getValue("leaf")->getInt(), 1) << "every level took the one below it";
    EXPECT_TRUE(warnings_.empty());
}

TEST_F(SetupResolution, SetupsLeadingEverDeeperStopAtTheBound) {
    // Each setup holds a node that takes the next one: resolution goes one
    // level deeper for every setup, far beyond what the stack holds.
    constexpr std::size_t kChain = 50000;
    for (std::size_t i = 0; i < kChain; ++i) {
        auto* next = new PropertyNode("next", "Panel");
        name(*next, "C" + std::to_string(i + 1));
        setup("C" + std::to_string(i))->add(next);
    }
    RefPtr<PropertyNode> node(new PropertyNode("n", "Panel"));
    name(*node, "C0");
    node->resolve();
    EXPECT_TRUE(logged("is not resolved"));
    std::size_t depth = 0;
    for (const PropertyNode* at = node.get(); at->getChild("next") != nullptr;
         at = at->getNode("next")) {
        ++depth;
    }
    EXPECT_GE(depth, PropertyNode::kMaxResolveNesting - 1);
    EXPECT_LE(depth, PropertyNode::kMaxResolveNesting + 1);
}

TEST_F(SetupResolution, NodeContainingItselfIsNotResolvedForever) {
    // Only code can build such a tree; resolution must still end.
    RefPtr<PropertyNode> node(new PropertyNode("loop", "Panel"));
    auto* list = new PropertyVector("list");
    node->add(list);
    list->add(node.get());
    node->resolve();
    EXPECT_TRUE(logged("loop"));
    node->removeChild("list"); // break the loop so that the tree can be freed
}

} // namespace
} // namespace orv
