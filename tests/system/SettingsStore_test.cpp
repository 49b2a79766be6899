#include "engine/system/Platform.h"

#include "tests/support/FilePermissions.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace orv {
namespace {

using platform::SettingsValue;
using platform::SettingsValueType;

std::vector<std::string> diagnostics;

void collectDiagnostic(std::string_view line) {
    diagnostics.emplace_back(line);
}

// Points the settings folder at a fresh temporary folder and collects the
// platform's diagnostics.
class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1), 0);
        path_ = platform::getSettingsStorePath();
        ASSERT_EQ(path_, folder_.file("Vantrel/Games/settings.reg"));
        diagnostics.clear();
        platform::setDiagnosticFunction(collectDiagnostic);
    }
    void TearDown() override { platform::setDiagnosticFunction(nullptr); }

    // The names in the store's folder other than the store and its lock.
    [[nodiscard]] std::vector<std::string> otherFiles() const {
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(folder_.path() / "Vantrel" / "Games")) {
            const std::string name = entry.path().filename().string();
            if (name != "settings.reg" && name != "settings.reg.lock") {
                names.push_back(name);
            }
        }
        return names;
    }

    static SettingsValue dword(std::string name, std::uint32_t number) {
        return {std::move(name), SettingsValueType::Dword, number, {}};
    }
    static SettingsValue text(std::string name, std::string content) {
        return {std::move(name), SettingsValueType::String, 0, std::move(content)};
    }

    test::TempDir folder_;
    std::string path_;
};

TEST_F(SettingsStoreTest, ValuesRoundTripWithTheirKinds) {
    const std::string game = "Software\\Vantrel\\Games\\game1";
    EXPECT_FALSE(platform::readSettingsKey(game)) << "no store yet";
    ASSERT_TRUE(platform::writeSettingsValue(game, dword("fullscreen", 0)));
    ASSERT_TRUE(platform::writeSettingsValue(game, dword("big", 0xFFFFFFFFU)));
    ASSERT_TRUE(platform::writeSettingsValue(game, text("soundvolume", "128")));
    ASSERT_TRUE(platform::writeSettingsValue(game + "/qrv",
                                             text("cdgfilename", "a \"quoted\" \\ path\nline")));
    ASSERT_TRUE(platform::writeSettingsValue("", dword("atroot", 7)));

    const auto values = platform::readSettingsKey(game);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 3U);
    EXPECT_EQ((*values)[0].type, SettingsValueType::Dword);
    EXPECT_EQ((*values)[1].number, 0xFFFFFFFFU);
    EXPECT_EQ((*values)[2].type, SettingsValueType::String);
    EXPECT_EQ((*values)[2].text, "128");

    // Key paths and names ignore letter case; "/" is "\".
    const auto file =
        platform::readSettingsValue("software/vantrel/games/GAME1\\QRV\\", "CDGFileName");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->text, "a \"quoted\" \\ path\nline");
    EXPECT_EQ(platform::readSettingsValue("", "atroot")->number, 7U);

    // Rewriting a value replaces it, also with another kind.
    ASSERT_TRUE(platform::writeSettingsValue(game, text("FullScreen", "yes")));
    const auto replaced = platform::readSettingsKey(game);
    ASSERT_EQ(replaced->size(), 3U);
    EXPECT_EQ((*replaced)[0].type, SettingsValueType::String);
    EXPECT_EQ((*replaced)[0].text, "yes");

    EXPECT_FALSE(platform::writeSettingsValue(game, {"odd", SettingsValueType::Other, 0, "x"}));
    EXPECT_FALSE(platform::writeSettingsValue("a\nb", dword("x", 1)));
    EXPECT_TRUE(otherFiles().empty()) << "temporary file left behind";
}

TEST_F(SettingsStoreTest, DamagedStoreReadsAsEmptyOrKeepsWhatIsReadable) {
    test::writeFile(path_, std::string("\x00\xFF\x13garbage\n[unclosed\n\"x\"=dword:1\n", 30));
    EXPECT_FALSE(platform::readSettingsKey("unclosed"));
    EXPECT_FALSE(platform::readSettingsKey(""));

    test::writeFile(path_, "[k]\n"
                           "\"good\"=dword:0000002a\n"
                           "\"toolong\"=dword:123456789\n"
                           "\"badhex\"=dword:zz\n"
                           "\"open\"=\"never closed\n"
                           "\"multi\"=hex(7):61,00,00,00\n"
                           "no quotes=1\n");
    const auto values = platform::readSettingsKey("k");
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 2U);
    EXPECT_EQ((*values)[0].number, 42U);
    EXPECT_EQ((*values)[1].type, SettingsValueType::Other);

    // Writing keeps values of unknown kinds as they were.
    ASSERT_TRUE(platform::writeSettingsValue("k", dword("new", 1)));
    EXPECT_NE(test::readFile(path_).find("\"multi\"=hex(7):61,00,00,00"), std::string::npos);

    std::filesystem::remove(path_);
    std::filesystem::create_directory(path_); // unreadable as a file
    EXPECT_FALSE(platform::readSettingsKey("k"));
    EXPECT_FALSE(platform::writeSettingsValue("k", dword("x", 1)));
}

TEST_F(SettingsStoreTest, GamesWritingAtOnceLoseNothing) {
    // Two processes, as two games of the maker, each writing values of its
    // own; every value of both must be in the store at the end.
    constexpr int kWriters = 2;
    constexpr int kValues = 30;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failed = 0;
            for (int i = 0; i < kValues; ++i) {
                const std::string key = "Software\\Vantrel\\Games\\game" + std::to_string(writer);
                failed +=
                    platform::writeSettingsValue(key, dword("v" + std::to_string(i), i)) ? 0 : 1;
            }
            ::_exit(failed);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
    }
    for (int writer = 0; writer < kWriters; ++writer) {
        const auto values =
            platform::readSettingsKey("Software\\Vantrel\\Games\\game" + std::to_string(writer));
        ASSERT_TRUE(values);
        EXPECT_EQ(values->size(), static_cast<std::size_t>(kValues));
    }
    EXPECT_TRUE(otherFiles().empty()) << "no temporary file is left behind";
}

TEST_F(SettingsStoreTest, StoreThatIsNoStoreIsMovedAsideNeverOverwritten) {
    const std::string utf16("\xFF\xFE[\0k\0]\0\n\0", 10);
    struct Case {
        const char* what;
        std::string content;
        std::uintmax_t size; // made larger, sparse, when not 0
    };
    const Case cases[] = {
        {"UTF-16 text", utf16, 0},
        {"binary data", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0},
        {"text of another program", "width=800\nheight=600\n", 0},
        {"a huge file", "[k]\n\"a\"=dword:00000001\n", platform::kMaxSettingsStoreBytes + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder_.path() / "Vantrel");
        test::writeFile(path_, c.content);
        if (c.size != 0) {
            std::filesystem::resize_file(path_, c.size);
        }
        const std::string before = test::readFile(path_);
        diagnostics.clear();

        EXPECT_FALSE(platform::readSettingsKey("k"));
        EXPECT_TRUE(platform::writeSettingsValue("k", dword("b", 2)));
        EXPECT_EQ(platform::readSettingsValue("k", "b")->number, 2U);
        const std::vector<std::string> others = otherFiles();
        ASSERT_EQ(others.size(), 1U);
        EXPECT_TRUE(others[0].starts_with("settings.reg.unreadable-")) << others[0];
        EXPECT_EQ(test::readFile(folder_.path() / "Vantrel" / "Games" / others[0]), before);
        EXPECT_EQ(std::count_if(diagnostics.begin(), diagnostics.end(),
                                [](const std::string& line) {
                                    return line.find("moved aside to") != std::string::npos;
                                }),
                  1);
    }
}

TEST_F(SettingsStoreTest, LineEndsOfEveryKindAreRead) {
    for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
        const std::string end = lineEnd;
        test::writeFile(path_, "; comment" + end + "[k]" + end + "\"a\"=dword:00000007" + end +
                                   "\"t\"=\"x\"" + end);
        ASSERT_TRUE(platform::writeSettingsValue("k", text("u", "y")));
        const auto values = platform::readSettingsKey("k");
        ASSERT_TRUE(values);
        ASSERT_EQ(values->size(), 3U);
        EXPECT_EQ((*values)[0].number, 7U);
        EXPECT_EQ((*values)[1].text, "x");
        EXPECT_TRUE(otherFiles().empty());
    }
}

TEST_F(SettingsStoreTest, LinkedStoreIsWrittenThroughItsLink) {
    const std::string target = folder_.file("dotfiles/settings.reg");
    test::writeFile(target, "[k]\n\"a\"=dword:00000001\n");
    std::filesystem::create_directories(folder_.path() / "Vantrel" / "Games");
    std::filesystem::create_symlink(target, path_);

    ASSERT_TRUE(platform::writeSettingsValue("k", dword("b", 2)));
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(platform::readSettingsKey("k")->size(), 2U);
    EXPECT_NE(test::readFile(target).find("\"b\"=dword:00000002"), std::string::npos);

    // A link that leads nowhere is left alone.
    std::filesystem::remove(target);
    EXPECT_FALSE(platform::writeSettingsValue("k", dword("c", 3)));
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(SettingsStoreTest, WhatIsNotOursOrOutOfReachIsLeftAlone) {
    const test::PermissionsHold permissions;
    ASSERT_TRUE(permissions.isHolding());
    const std::filesystem::path elsewhere = folder_.path() / "elsewhere";
    const std::string storeText = "[k]\n\"a\"=dword:00000001\n";
    struct Case {
        const char* what;
        const char* target;  // in `elsewhere`, linked from the store's path; none when null
        const char* content; // of the target, or of the store without a link
        bool locked;         // the file holding the content has no permissions
        const char* problem; // part of getSettingsStoreProblem's answer
    };
    const Case cases[] = {
        {"a link to a file that is no store", "notes.txt", "my notes\n", false,
         "elsewhere/notes.txt, which is no settings store"},
        {"a store that cannot be opened", nullptr, storeText.c_str(), true,
         "cannot be opened (no permission)"},
        {"a link to a store that cannot be opened", "settings.reg", storeText.c_str(), true,
         "cannot be opened (no permission)"},
    };
    // Every file under the test's folder with its content, the store's lock
    // (ours to make) aside.
    const auto snapshot = [this] {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.path())) {
            if (entry.path().filename() != "settings.reg.lock") {
                files.push_back(entry.path().string() + "=" +
                                (entry.is_regular_file() ? test::readFile(entry.path()) : "/"));
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder_.path() / "Vantrel");
        std::filesystem::remove_all(elsewhere);
        std::filesystem::create_directories(folder_.path() / "Vantrel" / "Games");
        const std::filesystem::path file =
            c.target != nullptr ? elsewhere / c.target : std::filesystem::path(path_);
        test::writeFile(file, c.content);
        if (c.target != nullptr) {
            std::filesystem::create_symlink(file, path_);
        }
        const std::vector<std::string> before = snapshot();
        if (c.locked) {
            std::filesystem::permissions(file, std::filesystem::perms::none);
        }
        diagnostics.clear();

        EXPECT_FALSE(platform::readSettingsKey("k")) << "read as defaults";
        EXPECT_FALSE(platform::writeSettingsValue("k", dword("b", 2)));
        EXPECT_NE(platform::getSettingsStoreProblem().find(c.problem), std::string::npos)
            << platform::getSettingsStoreProblem();
        ASSERT_FALSE(diagnostics.empty());
        EXPECT_NE(diagnostics[0].find("read as defaults"), std::string::npos) << diagnostics[0];

        std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write);
        EXPECT_EQ(snapshot(), before) << "nothing moved, made or replaced, here or elsewhere";
    }
}

TEST_F(SettingsStoreTest, StoreNeverGrowsBeyondItsBound) {
    ASSERT_TRUE(platform::writeSettingsValue("k", dword("a", 1)));
    const std::string before = test::readFile(path_);
    EXPECT_FALSE(platform::writeSettingsValue(
        "k", text("big", std::string(platform::kMaxSettingsStoreBytes, 'x'))));
    EXPECT_EQ(test::readFile(path_), before);
    EXPECT_EQ(diagnostics.size(), 1U);
}

} // namespace
} // namespace orv
