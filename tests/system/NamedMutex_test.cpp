#include "engine/system/Platform.h"

#include <gtest/gtest.h>

#include <thread>

namespace orv {
namespace {

TEST(PlatformNamedMutex, SameNameIsOneRecursiveLock) {
    platform::NamedMutex a("TEST_LOCK");
    platform::NamedMutex b("TEST_LOCK");
    platform::NamedMutex other("OTHER_LOCK");
    {
        platform::NamedMutexGuard outer(a);
        ASSERT_TRUE(outer.isAcquired());
        platform::NamedMutexGuard inner(b); // the same thread may take it again
        EXPECT_TRUE(inner.isAcquired());

        bool sameHeld = true;
        bool otherHeld = true;
        std::thread([&] {
            // Another thread waits its time out and goes on without the lock,
            // and its guard does not release what it never got.
            platform::NamedMutexGuard blocked(b, 1);
            sameHeld = !blocked.isAcquired();
            platform::NamedMutexGuard free(other, 0);
            otherHeld = !free.isAcquired();
        }).join();
        EXPECT_TRUE(sameHeld);
        EXPECT_FALSE(otherHeld);
    }
    bool acquired = false;
    std::thread([&] {
        platform::NamedMutexGuard later(a, 0);
        acquired = later.isAcquired();
    }).join();
    EXPECT_TRUE(acquired) << "released by both guards";
}

TEST(PlatformSystemFacts, DescribesThisMachine) {
    const platform::SystemFacts facts = platform::getSystemFacts();
    EXPECT_FALSE(facts.osName.empty());
    EXPECT_FALSE(facts.osRelease.empty());
    EXPECT_GE(facts.processorCount, 1U);
    EXPECT_GT(facts.memoryBytes, 0U);
}

} // namespace
} // namespace orv
