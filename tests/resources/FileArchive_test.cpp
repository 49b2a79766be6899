#include "engine/resources/FileArchive.h"

#include "engine/core/Log.h"
#include "engine/resources/FileNames.h"
#include "engine/resources/MemoryBuffer.h"
#include "engine/system/Platform.h"
#include "tests/resources/ArchiveTestZip.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace orv {
namespace {

using test::scrambled;
using test::writeFile;
using test::ZipEntry;

// A game folder with "media.dat" and loose files, made the current folder
// (where start-up puts the program's folder) for the length of a test.
class FileArchiveTest : public testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = platform::getCurrentFolder();
        ASSERT_TRUE(platform::setCurrentFolder(folder_.path().string()));
        FileArchive::shutDown();
    }
    void TearDown() override {
        FileArchive::shutDown();
        EXPECT_TRUE(platform::setCurrentFolder(previousFolder_));
    }

    void writeArchive(const std::vector<ZipEntry>& entries) {
        ASSERT_TRUE(test::writeZip(folder_.file("media.dat"), entries));
    }
    void writeLoose(const std::string& name, const std::string& content) {
        writeFile(folder_.path() / name, content);
    }

    test::TempDir folder_;
    std::string previousFolder_;
};

struct ReadCase {
    const char* name;
    ArchiveMode mode;
    const char* expected; // null: the read fails
};

TEST_F(FileArchiveTest, ReadsFromArchiveAndLooseFilesAsTheModeSays) {
    writeArchive({{"media/properties/a.xml", "archive a"},
                  {"Media/Levels/Turtle.LAY", "layout", false},
                  {"secret.txt.!", scrambled("hidden \x80\xFF text")},
                  {"plain.txt", "plain in archive"}});
    writeLoose("media/properties/a.xml", "loose a");
    writeLoose("media/properties/b.xml", "loose b");
    writeLoose("loose.txt.!", scrambled("loose secret"));
    writeLoose("Data/MixedCase.txt", "mixed");
    writeLoose("empty.txt", "");
    FileArchive::setUp(ArchiveMode::File, "");
    ASSERT_EQ(FileArchive::getGlobalMode(), ArchiveMode::Zip);

    const ReadCase cases[] = {
        {"media/properties/a.xml", ArchiveMode::Global, "archive a"},
        {"media\\properties\\\\a.xml", ArchiveMode::Zip, "archive a"},
        {"media/properties/b.xml", ArchiveMode::Global, "loose b"},
        {"media/levels/turtle.lay", ArchiveMode::Zip, "layout"},
        {"secret.txt", ArchiveMode::EncryptZip, "hidden \x80\xFF text"},
        {"plain.txt", ArchiveMode::EncryptZip, nullptr},
        {"loose.txt", ArchiveMode::EncryptZip, "loose secret"},
        {"loose.txt", ArchiveMode::EncryptFile, "loose secret"},
        {"media/properties/a.xml", ArchiveMode::File, "loose a"},
        {"data/mixedcase.TXT", ArchiveMode::File, "mixed"},
        {"empty.txt", ArchiveMode::File, nullptr},
        {"missing.txt", ArchiveMode::Global, nullptr},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(int(c.mode)));
        MemoryBuffer buffer;
        ASSERT_TRUE(buffer.allocate(3));
        buffer.getData()[0] = 'o';
        const bool read = FileArchive::readFile(c.name, buffer, c.mode);
        if (c.expected == nullptr) {
            EXPECT_FALSE(read);
            EXPECT_EQ(buffer.getSize(), 3U) << "a failed read must leave the buffer as it was";
            EXPECT_EQ(buffer.getData()[0], 'o');
        } else {
            ASSERT_TRUE(read);
            EXPECT_EQ(buffer.getView(), c.expected);
            EXPECT_EQ(buffer.getData()[buffer.getSize()], 0) << "content is 0-terminated";
        }
    }
}

TEST_F(FileArchiveTest, SetUpWithoutArchiveReadsLooseFiles) {
    writeLoose("a.txt", "loose");
    FileArchive::setUp(ArchiveMode::File, "");
    EXPECT_EQ(FileArchive::getGlobalMode(), ArchiveMode::File);
    MemoryBuffer buffer;
    ASSERT_TRUE(FileArchive::readFile("a.txt", buffer, ArchiveMode::Zip));
    EXPECT_EQ(buffer.getView(), "loose");

    // A global mode of 0 is stored as the scrambled archive mode.
    FileArchive::setUp(ArchiveMode::Global, "");
    EXPECT_EQ(FileArchive::getGlobalMode(), ArchiveMode::EncryptZip);
    EXPECT_EQ(makeFileName(ArchiveMode::Global, "players"), "players.!");
}

TEST_F(FileArchiveTest, DamagedArchivesGiveFailureNotData) {
    const std::string content(4000, 'x');
    ASSERT_TRUE(test::writeZip(folder_.file("good.zip"),
                               {{"stored.txt", content, false}, {"packed.txt", content, true}}));
    const std::string good = test::readFile(folder_.path() / "good.zip");
    ASSERT_FALSE(good.empty());

    // Truncated: cut in the middle, so the central directory is gone. The
    // log names the damaged file, not only the file that could not be read.
    writeLoose("media.dat", good.substr(0, good.size() / 2));
    FileArchive::setUp(ArchiveMode::File, "");
    MemoryBuffer buffer;
    {
        const test::LogCapture log;
        EXPECT_FALSE(FileArchive::readFile("stored.txt", buffer, ArchiveMode::Zip));
        EXPECT_TRUE(log.contains("media.dat: the archive cannot be opened"));
    }

    // Corrupt content: the stored entry's bytes changed (CRC fails), the
    // deflated entry's stream broken.
    std::string corrupt = good;
    const std::size_t storedAt = corrupt.find(content);
    ASSERT_NE(storedAt, std::string::npos);
    corrupt[storedAt + 100] = 'y';
    const std::size_t packedHeader = corrupt.find("packed.txt");
    ASSERT_NE(packedHeader, std::string::npos);
    for (std::size_t i = packedHeader + 10; i < packedHeader + 20; ++i) {
        corrupt[i] = static_cast<char>(~corrupt[i]);
    }
    writeLoose("media.dat", corrupt);
    FileArchive::setUp(ArchiveMode::File, "");
    const test::LogCapture log;
    EXPECT_FALSE(FileArchive::readFile("stored.txt", buffer, ArchiveMode::Zip));
    EXPECT_FALSE(FileArchive::readFile("packed.txt", buffer, ArchiveMode::Zip));
    EXPECT_EQ(buffer.getSize(), 0U);
    EXPECT_TRUE(log.contains("media.dat: the entry stored.txt is damaged"));
}

TEST_F(FileArchiveTest, FilesLargerThanTheReadersBoundAreRefusedUnread) {
    // A megabyte of zeros deflates to a kilobyte: the bound is checked on
    // the size the header gives, before anything is inflated.
    writeArchive({{"zeros.bin", std::string(1 << 20, '\0')}, {"small.txt", "small"}});
    writeLoose("loose.txt", std::string(5000, 'y'));
    FileArchive::setUp(ArchiveMode::File, "");
    const test::QuietLog quiet;
    struct Case {
        const char* name;
        ArchiveMode mode;
        std::uint32_t bound;
        bool read;
    };
    const Case cases[] = {
        {"zeros.bin", ArchiveMode::Zip, 4096, false},
        {"zeros.bin", ArchiveMode::Zip, FileArchive::kMaxFileSize, true},
        {"small.txt", ArchiveMode::Zip, 5, true},
        {"loose.txt", ArchiveMode::File, 4096, false},
        {"loose.txt", ArchiveMode::File, 5000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " within " + std::to_string(c.bound));
        MemoryBuffer buffer;
        EXPECT_EQ(FileArchive::readFile(c.name, buffer, c.mode, c.bound), c.read);
    }
}

TEST_F(FileArchiveTest, HugeSizeInHeaderIsRefused) {
    ASSERT_TRUE(test::writeZip(folder_.file("media.dat"), {{"a.txt", "small", false}}));
    std::string bytes = test::readFile(folder_.path() / "media.dat");
    // Every header's uncompressed size (local header offset 22, central
    // directory offset 24) set to 0xFFFFFFFF.
    for (const auto& [signature, offset] :
         {std::pair{std::string("PK\x03\x04"), 22}, std::pair{std::string("PK\x01\x02"), 24}}) {
        const std::size_t at = bytes.find(signature);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at + offset, 4, "\xFF\xFF\xFF\xFF");
    }
    writeLoose("media.dat", bytes);
    FileArchive::setUp(ArchiveMode::File, "");
    MemoryBuffer buffer;
    EXPECT_FALSE(FileArchive::readFile("a.txt", buffer, ArchiveMode::Zip));
}

TEST_F(FileArchiveTest, LongEntryNamesAreCutAndTerminated) {
    const std::string longName(300, 'n');
    writeArchive({{longName, "data"}});
    FileArchive archive(folder_.file("media.dat"));
    ASSERT_TRUE(archive.goToFirstEntry());
    EXPECT_EQ(archive.getEntryInfo().name, longName.substr(0, 255));
    EXPECT_EQ(archive.getEntryInfo().fileNameLength, 300U);
    EXPECT_FALSE(archive.goToNextEntry());
}

TEST_F(FileArchiveTest, EntriesReadWholeAndByteByByte) {
    writeArchive({{"one.txt", "ab"}});
    FileArchive archive(folder_.file("media.dat"));
    EXPECT_FALSE(archive.isOpen());
    ASSERT_TRUE(archive.openEntry("ONE.TXT"));
    EXPECT_TRUE(archive.isOpen());
    EXPECT_TRUE(archive.isEntryOpen());
    EXPECT_EQ(archive.readByte(), 'a');
    EXPECT_EQ(archive.readByte(), 'b');
    EXPECT_EQ(archive.readByte(), -1);
    EXPECT_TRUE(archive.isEndOfEntry());
    EXPECT_TRUE(archive.closeEntry());
    EXPECT_FALSE(archive.isEntryOpen());

    // A missing archive file: lookups fail, and nothing is retried until close.
    archive.setArchiveName(folder_.file("none.dat"));
    EXPECT_FALSE(archive.locate("one.txt"));
    EXPECT_TRUE(archive.isOpen());
    archive.close();
    EXPECT_FALSE(archive.isOpen());
}

TEST_F(FileArchiveTest, ReadsFromTwoThreadsAtOnce) {
    std::vector<ZipEntry> entries;
    for (int i = 0; i < 8; ++i) {
        entries.push_back({"file" + std::to_string(i), std::string(5000 + i, char('a' + i))});
    }
    writeArchive(entries);
    FileArchive::setUp(ArchiveMode::File, "");
    std::atomic<int> wrong{0};
    const auto reader = [&](int first) {
        for (int round = 0; round < 100; ++round) {
            const int i = (first + round) % 8;
            MemoryBuffer buffer;
            if (!FileArchive::readFile("file" + std::to_string(i), buffer, ArchiveMode::Global) ||
                buffer.getView() != entries[static_cast<std::size_t>(i)].content) {
                ++wrong;
            }
        }
    };
    std::thread loader(reader, 3);
    reader(0);
    loader.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
} // namespace orv
