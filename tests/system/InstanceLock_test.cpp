#include "engine/system/Platform.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

TEST(PlatformInstanceLock, PlantedFilesAreNeitherFollowedNorRemoved) {
    test::TempDir runtime;
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1), 0);
    namespace fs = std::filesystem;

    // A link at the lock's name: its target is neither created nor locked.
    fs::create_symlink(runtime.file("victim"), runtime.file("linked.lock"));
    EXPECT_FALSE(platform::InstanceLock::acquire("linked"));
    EXPECT_TRUE(platform::InstanceLock::lastAcquireFailed());
    EXPECT_FALSE(fs::exists(runtime.file("victim")));

    // A plain file at the socket's name stays; the lock still works.
    test::writeFile(runtime.file("game.sock"), "keep");
    {
        auto lock = platform::InstanceLock::acquire("game");
        ASSERT_TRUE(lock);
        EXPECT_FALSE(lock->takeRaiseRequest());
    }
    EXPECT_EQ(test::readFile(runtime.file("game.sock")), "keep");

    // A socket left by a copy that crashed is replaced and removed at the end.
    fs::remove(runtime.file("game.sock"));
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = runtime.file("game.sock");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    {
        auto lock = platform::InstanceLock::acquire("game");
        ASSERT_TRUE(lock);
        EXPECT_FALSE(platform::InstanceLock::acquire("game"));
        EXPECT_TRUE(lock->takeRaiseRequest()) << "the second start reached the new socket";
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(socketPath)));
}

} // namespace
} // namespace orv
