#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RefPtr.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

struct Widget : BaseObject {};

BaseObject* createWidget(PropertyNode* /*definition*/) {
    return new Widget();
}
BaseObject* createNothing(PropertyNode* /*definition*/) {
    return nullptr;
}

class ObjectFactory : public testing::Test {
protected:
    void TearDown() override { ObjectFactoryContainer::destroyInstance(); }
};

TEST_F(ObjectFactory, CreatesByRegisteredName) {
    ObjectFactoryContainer::get().registerCreator("Widget", &createWidget);
    RefPtr<BaseObject> object = ObjectFactoryContainer::get().createObject("Widget", nullptr);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->getRefCount(), 1); // the factory itself took no reference
}

TEST_F(ObjectFactory, LaterRegistrationReplacesEarlier) {
    ObjectFactoryContainer::get().registerCreator("Widget", &createWidget);
    ObjectFactoryContainer::get().registerCreator("Widget", &createNothing);
    EXPECT_EQ(ObjectFactoryContainer::get().createObject("Widget", nullptr), nullptr);
}

TEST_F(ObjectFactory, NullCreatorIsRefused) {
    ObjectFactoryContainer::get().registerCreator("Widget", &createWidget);
    const LogSink previous = setLogSink([](LogLevel, std::string_view) {});
    ObjectFactoryContainer::get().registerCreator("Widget", nullptr);
    ObjectFactoryContainer::get().registerCreator("Other", nullptr);
    setLogSink(previous);
    RefPtr<BaseObject> object = ObjectFactoryContainer::get().createObject("Widget", nullptr);
    EXPECT_NE(object, nullptr);
    EXPECT_FALSE(ObjectFactoryContainer::get().hasCreator("Other"));
}

TEST_F(ObjectFactory, UnknownNameGivesNullAndIsLogged) {
    std::string logged;
    const LogSink previous =
        setLogSink([&](LogLevel, std::string_view message) { logged = message; });
    EXPECT_EQ(ObjectFactoryContainer::get().createObject("Missing", nullptr), nullptr);
    setLogSink(previous);
    EXPECT_NE(logged.find("Missing"), std::string::npos);
}

} // namespace
} // namespace orv
