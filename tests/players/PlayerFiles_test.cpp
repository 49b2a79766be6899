#include "game/players/PlayerFiles.h"

#include "engine/resources/FileNames.h"
#include "tests/players/PlayersFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace orv {
namespace {

using PlayerFilesTest = test::PlayersTest;

TEST(PlayerFileNames, EncodingTable) {
    struct Case {
        std::string name;
        std::string encoded;
    };
    for (const Case& c : {Case{"Bob", "-42-ob"}, Case{"bob", "bob"}, Case{"a b", "a-20-b"},
                          Case{"\xE9", "-FFFFFFE9-"}, Case{"-", "-2D-"}, Case{"x9", "x9"}}) {
        EXPECT_EQ(encodeFileName(c.name), c.encoded) << c.name;
        EXPECT_EQ(makePlayerFileStem(c.name), c.encoded) << c.name;
    }
    EXPECT_EQ(makeFileName(ArchiveMode::EncryptFile, "players.plrs"), "players.plrs.!");
    EXPECT_EQ(makeFileName(ArchiveMode::File, "players.plrs"), "players.plrs");
}

TEST(PlayerFileNames, LongNamesFitAndNeverShareAFile) {
    // Sixty-four accented letters would encode to 1,280 bytes.
    std::string accented;
    for (int i = 0; i < 32; ++i) {
        accented += "\xC3\xA9";
    }
    const std::string longest(kMaxPlayerNameBytes, 'W');
    std::set<std::string> stems;
    for (const std::string& name : {accented, longest, longest.substr(1) + "w",
                                    std::string(20, 'W'), std::string("~") + "41"}) {
        const std::string stem = makePlayerFileStem(name);
        ASSERT_FALSE(stem.empty()) << name;
        EXPECT_LE(stem.size(), kMaxPlayerFileStemBytes) << name;
        EXPECT_TRUE(stems.insert(stem).second) << name << " shares " << stem;
    }
    EXPECT_EQ(makePlayerFileStem(accented).substr(0, 5), "~c3a9");
    EXPECT_TRUE(makePlayerFileStem("").empty());
    EXPECT_TRUE(makePlayerFileStem(std::string(200, 'A')).empty());
}

TEST_F(PlayerFilesTest, SettingAsideKeepsTheBytesUnderADatedName) {
    test::LogCapture log;
    const std::string path = temp.file("players.plrs");
    test::writeFile(path + ".!", "not scrambled at all");
    ASSERT_TRUE(setStoredFileAside(path, ArchiveMode::EncryptFile, "cannot be read"));
    ASSERT_TRUE(setStoredFileAside(path, ArchiveMode::EncryptFile, "cannot be read"))
        << "nothing left to set aside";
    test::writeFile(path + ".!", "second");
    ASSERT_TRUE(setStoredFileAside(path, ArchiveMode::EncryptFile, "cannot be read"));

    std::set<std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.rfind("players.plrs.!.unreadable-", 0), 0U) << name;
        contents.insert(test::readFile(entry.path()));
    }
    EXPECT_EQ(contents, (std::set<std::string>{"not scrambled at all", "second"}));
    EXPECT_TRUE(log.contains("cannot be read; kept as"));
}

} // namespace
} // namespace orv
