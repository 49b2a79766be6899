#include "engine/platform/Platform.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace orv {
namespace {

using platform::SettingsValue;
using platform::SettingsValueType;

// Points the settings folder at a fresh temporary folder.
class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1), 0);
        path_ = platform::getSettingsStorePath();
        ASSERT_EQ(path_, folder_.file("Vantrel/Games/settings.reg"));
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
    EXPECT_FALSE(std::filesystem::exists(path_ + ".tmp")) << "temporary file left behind";
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

} // namespace
} // namespace orv
