#include "engine/core/MessageHandler.h"

#include "engine/core/RefPtr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

using Journal = std::vector<std::string>;

// A hook that notes "name:message" and may act inside the call.
class Hook : public IMessageHook {
public:
    Hook(std::string name, Journal& journal) : name_(std::move(name)), journal_(journal) {}
    void onWindowMessage(std::uint32_t message, std::uint32_t /*wParam*/,
                         std::uint32_t /*lParam*/) override {
        journal_.push_back(name_ + ":" + std::to_string(message));
        if (onMessage) {
            onMessage();
        }
    }
    std::function<void()> onMessage;

private:
    std::string name_;
    Journal& journal_;
};

class Hooks : public testing::Test {
protected:
    Journal journal;
    RefPtr<MessageHandler> handler{new MessageHandler()};
    Hook a{"a", journal};
    Hook b{"b", journal};
    Hook c{"c", journal};
};

TEST_F(Hooks, CalledInTheOrderAddedAndOnlyOnce) {
    handler->addHook(&a);
    handler->addHook(&b);
    handler->addHook(&a);
    handler->dispatch(7, 1, 2);
    EXPECT_EQ(journal, (Journal{"a:7", "b:7"}));
    EXPECT_EQ(handler->getHookCount(), 2U);
    EXPECT_TRUE(handler->isKindOf(MessageHandler::classRecord));
}

TEST_F(Hooks, ArgumentsReachTheHook) {
    struct Capture : IMessageHook {
        void onWindowMessage(std::uint32_t m, std::uint32_t w, std::uint32_t l) override {
            seen = {m, w, l};
        }
        std::vector<std::uint32_t> seen;
    } capture;
    handler->addHook(&capture);
    handler->dispatch(0xAF00FA00U, 1, 0xFFFFFFFFU);
    EXPECT_EQ(capture.seen, (std::vector<std::uint32_t>{0xAF00FA00U, 1, 0xFFFFFFFFU}));
}

TEST_F(Hooks, RemovingHooksInsideAHookKeepsTheWalkGoing) {
    handler->addHook(&a);
    handler->addHook(&b);
    handler->addHook(&c);
    b.onMessage = [this] {
        EXPECT_TRUE(handler->isBusy());
        handler->removeHook(&b); // itself: the walk goes on with c
        handler->removeHook(&a); // already called
    };
    handler->dispatch(1, 0, 0);
    EXPECT_EQ(journal, (Journal{"a:1", "b:1", "c:1"}));
    EXPECT_FALSE(handler->isBusy());
    EXPECT_EQ(handler->getHookCount(), 1U);
    journal.clear();
    handler->dispatch(2, 0, 0);
    EXPECT_EQ(journal, (Journal{"c:2"}));
}

TEST_F(Hooks, AHookRemovedBeforeItsTurnIsNotCalled) {
    handler->addHook(&a);
    handler->addHook(&b);
    a.onMessage = [this] {
        handler->removeHook(&b);
    };
    handler->dispatch(1, 0, 0);
    EXPECT_EQ(journal, (Journal{"a:1"}));
}

TEST_F(Hooks, AHookAddedInsideAHookGetsTheSameMessageAtOnce) {
    handler->addHook(&a);
    a.onMessage = [this] {
        handler->addHook(&b);
        a.onMessage = nullptr;
    };
    handler->dispatch(3, 0, 0);
    EXPECT_EQ(journal, (Journal{"a:3", "b:3"}));
    EXPECT_EQ(handler->getHookCount(), 2U);
}

TEST_F(Hooks, NestedDispatchesTidyUpOnlyAtTheEnd) {
    handler->addHook(&a);
    handler->addHook(&b);
    handler->addHook(&c);
    a.onMessage = [this] {
        a.onMessage = nullptr;
        handler->dispatch(9, 0, 0); // from inside: a, b, c again
        handler->removeHook(&c);
    };
    b.onMessage = [this] {
        if (journal.size() == 3) { // inside the nested dispatch
            handler->removeHook(&b);
        }
    };
    handler->dispatch(1, 0, 0);
    EXPECT_EQ(journal, (Journal{"a:1", "a:9", "b:9", "c:9"}));
    EXPECT_EQ(handler->getHookCount(), 1U);
    EXPECT_TRUE(handler->hasHook(&a));
}

} // namespace
} // namespace orv
