#include "engine/platform/Platform.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace orv {
namespace {

TEST(PlatformInstanceLock, SecondStartIsRefusedAndRaisesTheFirst) {
    test::TempDir runtime;
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1), 0);

    auto first = platform::InstanceLock::acquire("Orvanta Mahjong/2");
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->takeRaiseRequest());

    // A second start (a second open of the lock file behaves like another
    // process) is refused and asks the first to show itself, once.
    EXPECT_FALSE(platform::InstanceLock::acquire("Orvanta Mahjong/2"));
    EXPECT_FALSE(platform::InstanceLock::lastAcquireFailed());
    EXPECT_TRUE(first->takeRaiseRequest());
    EXPECT_FALSE(first->takeRaiseRequest());

    auto other = platform::InstanceLock::acquire("another game");
    EXPECT_TRUE(other) << "names do not share a lock";

    first.reset();
    auto again = platform::InstanceLock::acquire("Orvanta Mahjong/2");
    EXPECT_TRUE(again) << "the lock goes with its holder";

    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.file("missing/folder").c_str(), 1), 0);
    EXPECT_FALSE(platform::InstanceLock::acquire("x"));
    EXPECT_TRUE(platform::InstanceLock::lastAcquireFailed());
}

} // namespace
} // namespace orv
