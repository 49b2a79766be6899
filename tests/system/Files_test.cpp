#include "engine/system/Platform.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

TEST(PlatformFolders, EnsureDirectoryCreatesMissingParents) {
    TempDir temp;
    const std::string deep = temp.path().string() + "\\x\\y/z";
    EXPECT_TRUE(platform::ensureDirectory(deep));
    EXPECT_TRUE(fs::is_directory(temp.path() / "x" / "y" / "z"));
    EXPECT_TRUE(platform::ensureDirectory(deep)) << "an existing folder is left alone";

    writeFile(temp.path() / "file", "x");
    EXPECT_FALSE(platform::ensureDirectory(temp.file("file") + "/below"));
    EXPECT_FALSE(platform::ensureDirectory(""));
}

TEST(PlatformFolders, DeleteFolderTreeDeletesEverything) {
    TempDir temp;
    writeFile(temp.path() / "tree" / "a.txt", "a");
    writeFile(temp.path() / "tree" / "sub" / "b.txt", "b");
    writeFile(temp.path() / "tree" / "sub" / "deeper" / "c.txt", "c");
    fs::create_directories(temp.path() / "tree" / "empty");
    EXPECT_TRUE(platform::deleteFolderTree(temp.file("tree") + "/"));
    EXPECT_FALSE(fs::exists(temp.path() / "tree"));

    EXPECT_FALSE(platform::deleteFolderTree(temp.file("tree"))) << "missing folder";
    EXPECT_FALSE(platform::deleteFolderTree("."));
    EXPECT_FALSE(platform::deleteFolderTree(""));
    writeFile(temp.path() / "plain", "p");
    EXPECT_FALSE(platform::deleteFolderTree(temp.file("plain")));
    EXPECT_TRUE(fs::exists(temp.path() / "plain"));
}

TEST(PlatformFolders, DeleteFolderTreeNeverFollowsLinks) {
    TempDir temp;
    writeFile(temp.path() / "outside" / "keep.txt", "k");
    writeFile(temp.path() / "tree" / "a.txt", "a");
    fs::create_directory_symlink(temp.path() / "outside", temp.path() / "tree" / "link");
    EXPECT_TRUE(platform::deleteFolderTree(temp.file("tree")));
    EXPECT_FALSE(fs::exists(temp.path() / "tree"));
    EXPECT_TRUE(fs::exists(temp.path() / "outside" / "keep.txt"));
}

TEST(PlatformFiles, DeleteFileAndRenameWithoutReplacing) {
    TempDir temp;
    writeFile(temp.path() / "a.txt", "a");
    writeFile(temp.path() / "b.txt", "b");
    fs::create_directory(temp.path() / "folder");
    EXPECT_FALSE(platform::renameFileNoReplace(temp.file("a.txt"), temp.file("b.txt")));
    EXPECT_EQ(test::readFile(temp.path() / "a.txt"), "a");
    EXPECT_EQ(test::readFile(temp.path() / "b.txt"), "b");
    EXPECT_TRUE(platform::renameFileNoReplace(temp.file("a.txt"), temp.file("c.txt")));
    EXPECT_FALSE(fs::exists(temp.path() / "a.txt"));
    EXPECT_EQ(test::readFile(temp.path() / "c.txt"), "a");

    EXPECT_TRUE(platform::deleteFile(temp.file("c.txt")));
    EXPECT_FALSE(fs::exists(temp.path() / "c.txt"));
    EXPECT_FALSE(platform::deleteFile(temp.file("c.txt")));
    EXPECT_FALSE(platform::deleteFile(temp.file("folder")));
    EXPECT_TRUE(fs::exists(temp.path() / "folder"));
}

TEST(PlatformFolders, DeleteFolderTreeGoesOnPastWhatItCannotDelete) {
    TempDir temp;
    writeFile(temp.path() / "tree" / "a.txt", "a");
    writeFile(temp.path() / "tree" / "locked" / "b.txt", "b");
    fs::permissions(temp.path() / "tree" / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    // The super-user may delete anyway; then there is nothing to show.
    const bool locked = !std::ofstream(temp.path() / "tree" / "locked" / "probe").good();
    if (locked) {
        EXPECT_FALSE(platform::deleteFolderTree(temp.file("tree")));
        EXPECT_FALSE(fs::exists(temp.path() / "tree" / "a.txt"));
        EXPECT_TRUE(fs::exists(temp.path() / "tree" / "locked" / "b.txt"));
    }
    fs::permissions(temp.path() / "tree" / "locked", fs::perms::owner_all);
    if (!locked) {
        GTEST_SKIP() << "permissions do not stop this user";
    }
}

TEST(PlatformFolders, FindPathIgnoringCase) {
    TempDir temp;
    writeFile(temp.path() / "Media" / "Levels" / "Turtle.LAY", "t");
    const std::string root = temp.path().string();
    EXPECT_EQ(platform::findPathIgnoringCase(root + "/media/levels/turtle.lay"),
              root + "/Media/Levels/Turtle.LAY");
    EXPECT_EQ(platform::findPathIgnoringCase(root + "\\MEDIA\\levels"), root + "/Media/Levels");
    EXPECT_EQ(platform::findPathIgnoringCase(root + "/Media/Levels/Turtle.LAY"),
              root + "/Media/Levels/Turtle.LAY");
    EXPECT_EQ(platform::findPathIgnoringCase(root + "/media/missing.lay"), "");
    EXPECT_EQ(platform::findPathIgnoringCase(""), "");
}

TEST(PlatformFolders, CurrentAndProgramFolder) {
    TempDir temp;
    const std::string previous = platform::getCurrentFolder();
    ASSERT_FALSE(previous.empty());
    ASSERT_TRUE(platform::setCurrentFolder(temp.path().string()));
    EXPECT_EQ(fs::path(platform::getCurrentFolder()), fs::canonical(temp.path()));
    EXPECT_FALSE(platform::setCurrentFolder(temp.file("missing")));
    ASSERT_TRUE(platform::setCurrentFolder(previous));

    const std::string program = platform::getProgramFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_NE(program.back(), '/');
    EXPECT_TRUE(fs::is_directory(program));
}

TEST(PlatformFolders, UserFoldersFollowXdgVariables) {
    TempDir temp;
    ASSERT_EQ(setenv("XDG_DATA_HOME", (temp.file("data") + "/").c_str(), 1), 0);
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", "relative/ignored", 1), 0);
    ASSERT_EQ(setenv("HOME", temp.path().c_str(), 1), 0);
    EXPECT_EQ(platform::getUserDataFolder(), temp.file("data"));
    EXPECT_EQ(platform::getUserConfigFolder(), temp.file(".config"));
    ASSERT_EQ(unsetenv("XDG_DATA_HOME"), 0);
    EXPECT_EQ(platform::getUserDataFolder(), temp.file(".local/share"));
    EXPECT_TRUE(platform::grantFullAccess(temp.file("anything")));
}

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(PlatformFiles, ReplaceFileSafelyNeverWritesThroughAPlantedTemporary) {
    TempDir temp;
    const std::string target = temp.file("settings.reg");
    writeFile(temp.path() / "victim", "victim");
    writeFile(target, "old");
    // A link at the name a writer with one fixed temporary name would use.
    fs::create_symlink(temp.path() / "victim", target + ".tmp");

    ASSERT_TRUE(platform::replaceFileSafely(target, "new"));
    EXPECT_EQ(test::readFile(temp.path() / "victim"), "victim");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(entriesOf(temp.path()),
              (std::set<std::string>{"settings.reg", "settings.reg.tmp", "victim"}))
        << "no temporary file is left behind";

    EXPECT_FALSE(platform::replaceFileSafely(temp.file("missing/file"), "x"));
    fs::create_directory(temp.path() / "folder");
    EXPECT_FALSE(platform::replaceFileSafely(temp.file("folder"), "x"));
    EXPECT_EQ(entriesOf(temp.path()).size(), 4U) << "a failed write cleans up after itself";
}

TEST(PlatformFiles, OnlyStaleTemporariesOfOurOwnAreRemoved) {
    TempDir temp;
    writeFile(temp.path() / "victim", "victim");
    enum class Kind { File, HeldFile, Link, Folder, Fifo };
    struct Case {
        const char* name;
        Kind kind;
        bool removed;
    };
    const Case cases[] = {
        {"players.!.tmp-Ab12Cd", Kind::File, true},      // a save cut short
        {"scores.tmp-000000", Kind::File, true},         // another file's
        {"players.!.tmp-Held01", Kind::HeldFile, false}, // a save under way
        {"players.!.tmp-Link01", Kind::Link, false},     // planted by someone else
        {"players.!.tmp-Dir001", Kind::Folder, false},
        {"players.!.tmp-Fifo01", Kind::Fifo, false}, // must not block either
        {"players.!.tmp-short", Kind::File, false},  // not a temporary's name
        {"players.!.tmp-Ab12Cd7", Kind::File, false},
        {".tmp-Ab12Cd", Kind::File, false},
    };
    int held = -1;
    for (const Case& c : cases) {
        const std::string path = temp.file(c.name);
        switch (c.kind) {
        case Kind::File:
            writeFile(path, "half");
            break;
        case Kind::HeldFile:
            writeFile(path, "half");
            held = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
            break;
        case Kind::Link:
            fs::create_symlink(temp.path() / "victim", path);
            break;
        case Kind::Folder:
            fs::create_directory(path);
            break;
        case Kind::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        }
    }

    EXPECT_EQ(platform::removeStaleTemporaries(temp.path().string(), "players.!"), 1U);
    EXPECT_TRUE(fs::exists(temp.path() / "scores.tmp-000000")) << "another file's are left";
    EXPECT_EQ(platform::removeStaleTemporaries(temp.path().string()), 1U);
    for (const Case& c : cases) {
        EXPECT_NE(fs::exists(fs::symlink_status(temp.path() / c.name)), c.removed) << c.name;
    }
    EXPECT_EQ(test::readFile(temp.path() / "victim"), "victim");
    ::close(held);
    EXPECT_EQ(platform::removeStaleTemporaries(temp.path().string()), 1U)
        << "the save that held its file is over";
}

} // namespace
} // namespace orv
