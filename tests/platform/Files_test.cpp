#include "engine/platform/Platform.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

} // namespace
} // namespace orv
