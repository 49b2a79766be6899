#include "engine/platform/LogFile.h"

#include "engine/platform/DataFolders.h"
#include "engine/platform/RegistryKey.h"
#include "engine/platform/SystemInfo.h"
#include "tests/platform/FrameTestSetup.h"

#include <filesystem>

namespace orv {
namespace {

namespace fs = std::filesystem;
using FrameFolders = test::FrameTest;

TEST(LogFileName, IsTheUtcTimeWhateverTheZone) {
    ASSERT_EQ(setenv("TZ", "UTC-14", 1), 0); // local time already in the next year
    tzset();
    EXPECT_EQ(LogFile::makeFileName(1179135012), "2007-05-14 09-30-12.log");
    EXPECT_EQ(LogFile::makeFileName(1767225599), "2025-12-31 23-59-59.log");
}

TEST_F(FrameFolders, FoldersLieUnderTheDataHome) {
    const std::string data = home_.file("data");
    EXPECT_EQ(getMakerFolder(), data + "/Vantrel/Games");
    EXPECT_EQ(getSharedDataFolder(), data + "/Vantrel/Games/Test Game");
    EXPECT_EQ(getTempFolder(), data + "/Vantrel/Games/Test Game/_temp");
    EXPECT_TRUE(fs::is_directory(getTempFolder()));

    // Kept once found, even when the setting changes.
    BasicProperties::get()->getString("GAME_NAME") = "Other";
    EXPECT_EQ(getSharedDataFolder(), data + "/Vantrel/Games/Test Game");
}

TEST_F(FrameFolders, NothingIsKeptBeforeTheGameNameIsKnown) {
    BasicProperties::destroyInstance();
    const std::string maker = home_.file("data") + "/Vantrel/Games";
    EXPECT_EQ(getSharedDataFolder(), maker);
    BasicProperties::create().getString("GAME_NAME") = "Late";
    EXPECT_EQ(getSharedDataFolder(), maker + "/Late");
}

TEST_F(FrameFolders, SavesCutShortByACrashAreClearedAwayOnFirstUse) {
    const std::string maker = home_.file("data") + "/Vantrel/Games";
    test::writeFile(maker + "/shared.xml.tmp-a1B2c3", "half");
    test::writeFile(maker + "/Test Game/players.!.tmp-Zz9Yy8", "half");
    test::writeFile(maker + "/Test Game/players.!", "whole");
    EXPECT_EQ(getSharedDataFolder(), maker + "/Test Game");
    EXPECT_FALSE(fs::exists(maker + "/shared.xml.tmp-a1B2c3"));
    EXPECT_FALSE(fs::exists(maker + "/Test Game/players.!.tmp-Zz9Yy8"));
    EXPECT_EQ(test::readFile(maker + "/Test Game/players.!"), "whole");
}

TEST_F(FrameFolders, LogFileOpenRecordsItsPathAndWritesNothing) {
    LogFile& log = LogFile::getInstance(0, 2);
    EXPECT_EQ(&LogFile::getInstance(5, 6), &log);
    EXPECT_EQ(log.getSecond(), 2);
    log.open();

    const fs::path path = log.getPath();
    EXPECT_EQ(path.parent_path(), fs::path(getTempFolder()) / "log");
    EXPECT_TRUE(fs::is_directory(path.parent_path()));
    EXPECT_FALSE(fs::exists(path));
    const auto stored = platform::readSettingsValue(gameRegistryPath() + "\\qrv", "cdgfilename");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->text, path.string());
}

TEST(CrashMarker, LivesUntilSetAtExit) {
    EXPECT_FALSE(CrashMarker::exists());
    CrashMarker::create();
    EXPECT_TRUE(CrashMarker::exists());
    setCrashMarker();
    EXPECT_FALSE(CrashMarker::exists());
    setCrashMarker(); // harmless twice
}

TEST(SystemInfo, FillsTheFactsQuickly) {
    const SystemInfo info;
    EXPECT_FALSE(info.osName.empty());
    EXPECT_GE(info.processorCount, 1U);
    EXPECT_EQ(info.directXVersion, 0x900U);
    EXPECT_EQ(info.osCode, 9);
    EXPECT_GE(info.screenWidth, 0);
}

} // namespace
} // namespace orv
