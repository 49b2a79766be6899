#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

// A small class graph shaped like the engine's: a class with two parents, an
// interface root, and a class whose record is a root although its code is not.
struct Node : BaseObject {
    static const ClassRecord classRecord;
    const ClassRecord& getClassRecord() const override { return classRecord; }
};
struct Renderable {
    static const ClassRecord classRecord;
};
struct Drawable : Node {
    static const ClassRecord classRecord;
    const ClassRecord& getClassRecord() const override { return classRecord; }
};
struct Detached : BaseObject {
    static const ClassRecord classRecord;
    const ClassRecord& getClassRecord() const override { return classRecord; }
};

const ClassRecord Node::classRecord{"Node", parentRecords<BaseObject::classRecord>};
const ClassRecord Renderable::classRecord{"Renderable", parentRecords<Interface::classRecord>};
const ClassRecord Drawable::classRecord{"Drawable",
                                        parentRecords<Node::classRecord, Renderable::classRecord>};
const ClassRecord Detached::classRecord{"Detached"};

struct KindCase {
    const ClassRecord* record;
    const ClassRecord* asked;
    bool expected;
};

class IsKindOf : public testing::TestWithParam<KindCase> {};

TEST_P(IsKindOf, FollowsTheRecordsDepthFirst) {
    const KindCase& c = GetParam();
    EXPECT_EQ(c.record->isKindOf(*c.asked), c.expected)
        << c.record->getName() << " kind of " << c.asked->getName();
}

INSTANTIATE_TEST_SUITE_P(
    ClassGraph, IsKindOf,
    testing::Values(KindCase{&Drawable::classRecord, &Drawable::classRecord, true},
                    KindCase{&Drawable::classRecord, &Node::classRecord, true},
                    KindCase{&Drawable::classRecord, &BaseObject::classRecord, true},
                    KindCase{&Drawable::classRecord, &Renderable::classRecord, true},
                    KindCase{&Drawable::classRecord, &Interface::classRecord, true},
                    KindCase{&Node::classRecord, &Drawable::classRecord, false},
                    KindCase{&Node::classRecord, &Interface::classRecord, false},
                    KindCase{&Detached::classRecord, &BaseObject::classRecord, false},
                    KindCase{&BaseObject::classRecord, &Node::classRecord, false}),
    [](const testing::TestParamInfo<KindCase>& caseInfo) {
        return std::string(caseInfo.param.record->getName()) + "_" +
               std::string(caseInfo.param.asked->getName());
    });

// Counts destructions so the tests can see exactly when an object dies.
struct Counted : BaseObject {
    explicit Counted(int& deaths) : deaths_(deaths) {}
    ~Counted() override { ++deaths_; }
    int& deaths_;
};

TEST(BaseObject, DiesWhenTheLastReferenceGoes) {
    int deaths = 0;
    auto* object = new Counted(deaths);
    EXPECT_EQ(object->getRefCount(), 0);
    {
        RefPtr<Counted> first(object);
        RefPtr<Counted> second = first;
        EXPECT_EQ(object->getRefCount(), 2);
        first = nullptr;
        EXPECT_EQ(deaths, 0);
        RefPtr<Counted> moved = std::move(second);
        EXPECT_EQ(object->getRefCount(), 1);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(BaseObject, AnUnreferencedObjectLivesUntilReferencedAndReleased) {
    int deaths = 0;
    auto* object = new Counted(deaths);
    EXPECT_EQ(deaths, 0);
    object->addRef();
    object->release();
    EXPECT_EQ(deaths, 1);
}

TEST(BaseObject, SelfAssignmentKeepsTheObject) {
    int deaths = 0;
    RefPtr<Counted> handle(new Counted(deaths));
    RefPtr<Counted>& alias = handle;
    handle = alias;
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(handle->getRefCount(), 1);
}

TEST(BaseObject, KindCastRefusesAnotherClass) {
    RefPtr<Node> node(new Node());
    RefPtr<Drawable> drawable(new Drawable());
    EXPECT_EQ(kindCast<Drawable>(node.get()), nullptr);
    EXPECT_EQ(kindCast<Node>(drawable.get()), drawable.get());
    EXPECT_EQ(kindCast<Node>(nullptr), nullptr);
}

TEST(BaseObject, ToStringGivesTheAddress) {
    RefPtr<Node> node(new Node());
    EXPECT_EQ(node->toString().rfind("Address: ", 0), 0U);
    EXPECT_EQ(node->toString().back(), ' ');
}

} // namespace
} // namespace orv
