// The listener protocol: offering order, enabled flags, the exclusive
// listener, swallowing, nesting, callback slots and changes of the list made
// by a listener while an event is offered.

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/platform/iInputListenerContainer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orv {
namespace {

class ListenerProbe : public iInputListener {
public:
    ListenerProbe(std::string name, std::vector<std::string>& log, bool handles = false)
        : name_(std::move(name)), log_(log), handles_(handles) {}
    bool onLeftButtonUp(int /*x*/, int /*y*/, int /*flags*/) override {
        log_.push_back(name_);
        if (whenCalled) {
            whenCalled();
        }
        return handles_;
    }
    void reset() override { log_.push_back(name_ + " reset"); }
    std::function<void()> whenCalled;

private:
    std::string name_;
    std::vector<std::string>& log_;
    bool handles_;
};

// A widget as the factory makes them: a node carrying both parts.
class Widget : public BaseObject, public ListenerProbe, public iGuiMethod {
public:
    using ListenerProbe::ListenerProbe;
    void* getInterface(const ClassRecord& record) override {
        if (&record == &iInputListener::classRecord) {
            return static_cast<iInputListener*>(this);
        }
        if (&record == &iGuiMethod::classRecord) {
            return static_cast<iGuiMethod*>(this);
        }
        return nullptr;
    }
    [[nodiscard]] const ClassRecord& getClassRecord() const override {
        return BaseObject::classRecord;
    }
};

bool click(iInputListenerContainer& container) {
    return container.onLeftButtonUp(1, 2, 0);
}

TEST(InputListenerContainer, LastAddedIsOfferedFirstAndHandlingStopsTheOffer) {
    std::vector<std::string> log;
    ListenerProbe a("A", log, true);
    ListenerProbe b("B", log, true);
    iInputListenerContainer container;
    container.insertListener(&a);
    container.insertListener(&b);
    EXPECT_TRUE(click(container));
    EXPECT_EQ(log, (std::vector<std::string>{"B"}));
}

TEST(InputListenerContainer, DisabledListenersAreSkippedButNestedContainersAreNot) {
    std::vector<std::string> log;
    ListenerProbe disabled("disabled", log, true);
    disabled.setInputEnabled(false);
    ListenerProbe exclusive("exclusive", log, true);
    ListenerProbe inner("inner", log, true);
    iInputListenerContainer nested;
    nested.insertListener(&inner);
    nested.setExclusiveListener(&exclusive);
    nested.setInputEnabled(false);
    iInputListenerContainer container;
    container.insertListener(&nested);
    container.insertListener(&disabled);

    EXPECT_TRUE(click(container));
    EXPECT_EQ(log, (std::vector<std::string>{"exclusive"}));

    // A disabled container with a disabled exclusive listener offers nothing.
    log.clear();
    exclusive.setInputEnabled(false);
    EXPECT_FALSE(click(container));
    EXPECT_TRUE(log.empty());
}

TEST(InputListenerContainer, SwallowingContainerHandlesEverythingAndResetsThoseBelow) {
    std::vector<std::string> log;
    ListenerProbe below("below", log);
    ListenerProbe inside("inside", log);
    iInputListenerContainer dialog;
    dialog.setSwallow(true);
    dialog.insertListener(&inside);
    iInputListenerContainer container;
    container.insertListener(&below);
    container.insertListener(&dialog);
    EXPECT_EQ(log, (std::vector<std::string>{"below reset"}));

    log.clear();
    EXPECT_TRUE(click(container));
    EXPECT_EQ(log, (std::vector<std::string>{"inside"})) << "the dialog is modal";

    // Listeners added after it still come first.
    ListenerProbe after("after", log);
    container.insertListener(&after);
    log.clear();
    EXPECT_TRUE(click(container));
    EXPECT_EQ(log, (std::vector<std::string>{"after", "inside"}));
}

TEST(InputListenerContainer, RemovalResetsAndReachesIntoNestedContainers) {
    std::vector<std::string> log;
    ListenerProbe shared("shared", log);
    iInputListenerContainer nested;
    nested.insertListener(&shared);
    iInputListenerContainer container;
    container.insertListener(&nested);
    container.insertListener(&shared); // taken out of the nested one first
    EXPECT_EQ(log, (std::vector<std::string>{"shared reset"}));
    EXPECT_FALSE(nested.hasListener(&shared));
    EXPECT_EQ(container.getListenerCount(), 2U);

    log.clear();
    container.removeListener(&shared);
    container.removeListener(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"shared reset"}));
    EXPECT_EQ(container.getListenerCount(), 1U);
}

TEST(InputListenerContainer, ListenersMayChangeTheListWhileAnEventIsOffered) {
    std::vector<std::string> log;
    ListenerProbe first("first", log);
    ListenerProbe second("second", log);
    ListenerProbe third("third", log);
    ListenerProbe added("added", log);
    iInputListenerContainer container;
    container.insertListener(&third);
    container.insertListener(&second);
    container.insertListener(&first);
    // The first removes itself and the second, and adds another.
    first.whenCalled = [&] {
        container.removeListener(&first);
        container.removeListener(&second);
        container.insertListener(&added);
    };
    EXPECT_FALSE(click(container));
    EXPECT_EQ(log, (std::vector<std::string>{"first", "first reset", "second reset", "third"}));
    log.clear();
    EXPECT_FALSE(click(container));
    EXPECT_EQ(log, (std::vector<std::string>{"added", "third"}));
}

int recordCall(void* context, void* argument) {
    static_cast<std::vector<void*>*>(context)->push_back(argument);
    return 7;
}

TEST(InputListenerContainer, AddingANodeFillsItsCallbackSlot) {
    std::vector<std::string> log;
    std::vector<void*> calls;
    RefPtr<Widget> widget(new Widget("widget", log, true));
    iInputListenerContainer container;
    container.addListener(widget.get(), &recordCall, &calls);
    container.addListener(nullptr, &recordCall, &calls);
    EXPECT_TRUE(container.hasListener(widget.get()));
    EXPECT_EQ(widget->call(widget.get()), 7);
    EXPECT_EQ(calls, (std::vector<void*>{static_cast<BaseObject*>(widget.get())}));

    iGuiMethod empty;
    EXPECT_EQ(empty.call(nullptr), 0);
    container.removeListener(widget.get());
}

} // namespace
} // namespace orv
