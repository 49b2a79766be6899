#include "engine/system/Platform.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace orv {
namespace {

TEST(PlatformInstanceLock, SecondStartIsRefusedAndRaisesTheFirst) {
    test::TempDir runtime;
    test::TempDir data;
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1), 0);
    const std::string folder = data.path().string();

    auto first = platform::InstanceLock::acquire("Orvanta Mahjong/2", folder);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->takeRaiseRequest());

    // A second start (a second open of the lock file behaves like another
    // process) is refused and asks the first to show itself, once.
    EXPECT_FALSE(platform::InstanceLock::acquire("Orvanta Mahjong/2", folder));
    EXPECT_FALSE(platform::InstanceLock::lastAcquireFailed());
    EXPECT_TRUE(first->takeRaiseRequest());
    EXPECT_FALSE(first->takeRaiseRequest());

    auto other = platform::InstanceLock::acquire("another game", folder);
    EXPECT_TRUE(other) << "names do not share a lock";

    first.reset();
    auto again = platform::InstanceLock::acquire("Orvanta Mahjong/2", folder);
    EXPECT_TRUE(again) << "the lock goes with its holder";

    EXPECT_FALSE(platform::InstanceLock::acquire("x", data.file("missing/folder")));
    EXPECT_TRUE(platform::InstanceLock::lastAcquireFailed());
}

TEST(PlatformInstanceLock, TheLockGuardsTheDataFolderWhateverTheRuntimeFolder) {
    namespace fs = std::filesystem;
    test::TempDir runtimeA;
    test::TempDir runtimeB;
    test::TempDir data;
    const std::string folder = data.file("Games/game");
    fs::create_directories(folder);
    fs::create_symlink(folder, data.file("other path"));

    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtimeA.path().c_str(), 1), 0);
    auto first = platform::InstanceLock::acquire("game", folder);
    ASSERT_TRUE(first);

    // Another runtime folder, the same data folder, also by another path:
    // refused, and the first still hears the request to show itself.
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtimeB.path().c_str(), 1), 0);
    EXPECT_FALSE(platform::InstanceLock::acquire("game", folder));
    EXPECT_FALSE(platform::InstanceLock::acquire("game", data.file("other path")));
    EXPECT_FALSE(platform::InstanceLock::lastAcquireFailed());
    EXPECT_TRUE(first->takeRaiseRequest());

    // The same runtime folder and another data folder: both run, each hears
    // only its own second start.
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtimeA.path().c_str(), 1), 0);
    const std::string otherFolder = data.file("Games/other");
    fs::create_directories(otherFolder);
    auto second = platform::InstanceLock::acquire("game", otherFolder);
    ASSERT_TRUE(second);
    EXPECT_FALSE(platform::InstanceLock::acquire("game", otherFolder));
    EXPECT_TRUE(second->takeRaiseRequest());
    EXPECT_FALSE(first->takeRaiseRequest());
    EXPECT_FALSE(platform::InstanceLock::acquire("game", folder));
    EXPECT_TRUE(first->takeRaiseRequest()) << "its socket survived the other copy's start";
}

TEST(PlatformInstanceLock, PlantedFilesAreNeitherFollowedNorRemoved) {
    test::TempDir runtime;
    test::TempDir data;
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1), 0);
    namespace fs = std::filesystem;
    const std::string folder = data.path().string();

    // A link at the lock's name: its target is neither created nor locked.
    fs::create_symlink(data.file("victim"), data.file("linked.lock"));
    EXPECT_FALSE(platform::InstanceLock::acquire("linked", folder));
    EXPECT_TRUE(platform::InstanceLock::lastAcquireFailed());
    EXPECT_FALSE(fs::exists(data.file("victim")));

    // The socket is named after the lock file, which a first start makes.
    test::writeFile(data.file("game.lock"), "");
    struct stat status {};
    ASSERT_EQ(::stat(data.file("game.lock").c_str(), &status), 0);
    const std::string socketPath = runtime.file("game-" + std::to_string(status.st_dev) + "-" +
                                                std::to_string(status.st_ino) + ".sock");

    // A plain file at the socket's name stays; the lock still works.
    test::writeFile(socketPath, "keep");
    {
        auto lock = platform::InstanceLock::acquire("game", folder);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(lock->takeRaiseRequest());
    }
    EXPECT_EQ(test::readFile(socketPath), "keep");

    // A socket left by a copy that crashed is replaced and removed at the end.
    fs::remove(socketPath);
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    {
        auto lock = platform::InstanceLock::acquire("game", folder);
        ASSERT_TRUE(lock);
        EXPECT_FALSE(platform::InstanceLock::acquire("game", folder));
        EXPECT_TRUE(lock->takeRaiseRequest()) << "the second start reached the new socket";
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(socketPath)));

    // A lock file that names something else than a socket of ours makes a
    // second start ask nobody.
    auto lock = platform::InstanceLock::acquire("game", folder);
    ASSERT_TRUE(lock);
    test::writeFile(data.file("game.lock"), data.file("victim") + "\n");
    EXPECT_FALSE(platform::InstanceLock::acquire("game", folder));
    EXPECT_FALSE(lock->takeRaiseRequest());
}

} // namespace
} // namespace orv
