#include "engine/resources/FileArchive.h"
#include "engine/resources/FileNames.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct TextCase {
    std::string_view input;
    std::string_view expected;
};

TEST(ArchiveFileNames, NormalizePath) {
    const TextCase cases[] = {
        {"", ""},
        {"a\\b//c/./d", "a/b/c/d"},
        {"a/../b", "a/.b"},
        {"\\\\server\\share", "/server/share"},
        {"././x", "x"},
        {"media///images\\\\tile.png", "media/images/tile.png"},
        {"already/clean.xml", "already/clean.xml"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(normalizePath(c.input), c.expected) << c.input;
    }
}

TEST(ArchiveFileNames, GetFolderOfPath) {
    const TextCase cases[] = {
        {"", ""},
        {"fonts\\big.xml", "fonts"},
        {"big.xml", "big.xml"},
        {"a//b\\c.png", "a/b"},
        {"/top.xml", ""},
        {"media/levels/", "media/levels"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(getFolderOfPath(c.input), c.expected) << c.input;
    }
}

TEST(ArchiveFileNames, MakeResourceKey) {
    const TextCase cases[] = {
        {"Media\\Images\\Tile.PNG", "media/images/tile.png"},
        {"/Media/a.png", "/media/a.png"},
        {"caf\xC3\x89.png", "caf\xC3\x89.png"}, // only ASCII letters change
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(makeResourceKey(c.input), c.expected) << c.input;
    }
}

TEST(ArchiveFileNames, EncodeFileName) {
    const TextCase cases[] = {
        {"Bob 1", "-42-ob-20-1"},
        {"abc0189xyz", "abc0189xyz"},
        {"A", "-41-"},
        {"a.b", "a-2E-b"},
        {"\x7F", "-7F-"},
        {"\xE9", "-FFFFFFE9-"},
        {"\x80", "-FFFFFF80-"},
        {"\xFF", "-FFFFFFFF-"},
        {"", ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(encodeFileName(c.input), c.expected) << c.input;
    }
}

TEST(ArchiveFileNames, MakeFileNameFollowsTheMode) {
    FileArchive::shutDown();
    struct Case {
        ArchiveMode mode;
        std::string_view expected;
    };
    const Case withoutArchive[] = {{ArchiveMode::Global, "players"},
                                   {ArchiveMode::File, "players"},
                                   {ArchiveMode::Zip, "players"},
                                   {ArchiveMode::EncryptFile, "players.!"},
                                   {ArchiveMode::EncryptZip, "players.!"}};
    for (const Case& c : withoutArchive) {
        EXPECT_EQ(makeFileName(c.mode, "players"), c.expected) << int(c.mode);
    }

    FileArchive::setUp(ArchiveMode::EncryptFile, "some.dat");
    EXPECT_EQ(makeFileName(ArchiveMode::Global, "players"), "players.!");
    EXPECT_EQ(makeFileName(ArchiveMode::File, "players"), "players");
    FileArchive::setUp(ArchiveMode::Zip, "some.dat");
    EXPECT_EQ(makeFileName(ArchiveMode::Global, "players"), "players");
    FileArchive::shutDown();
}

TEST(ArchiveFileNames, ModeNamesOfResourceDefinitions) {
    EXPECT_EQ(archiveModeFromName("file"), ArchiveMode::File);
    EXPECT_EQ(archiveModeFromName("zip"), ArchiveMode::Zip);
    EXPECT_EQ(archiveModeFromName("encryptfile"), ArchiveMode::EncryptFile);
    EXPECT_EQ(archiveModeFromName("encryptzip"), ArchiveMode::EncryptZip);
    EXPECT_EQ(archiveModeFromName("Zip"), ArchiveMode::Global);
    EXPECT_EQ(archiveModeFromName(""), ArchiveMode::Global);
}

} // namespace
} // namespace orv
