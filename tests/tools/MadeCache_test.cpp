// The media tool's cache of what its generators made: an entry is found again
// only for the same inputs, a damaged entry is never trusted, and a read-only
// cache writes nothing.

#include "tools/media/MadeCache.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace orv::media {
namespace {

namespace fs = std::filesystem;

// A small source folder and fonts folder for computing keys.
class MadeCacheTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(source() / "properties" / "levels");
        fs::create_directories(source() / "layouts");
        fs::create_directories(fonts());
        test::writeFile(source() / "properties" / "resources.xml", "<Resources/>");
        test::writeFile(source() / "properties" / "levels" / "hallway.xml", "<Levels/>");
        test::writeFile(source() / "layouts" / "pyramid.txt", "pyramid\n[]\n--\n");
        test::writeFile(fonts() / "face.ttf", "not really a face");
    }

    [[nodiscard]] fs::path source() const { return folder_.path() / "media"; }
    [[nodiscard]] fs::path fonts() const { return folder_.path() / "fonts"; }
    [[nodiscard]] fs::path cacheFolder() const { return folder_.path() / "cache"; }

    [[nodiscard]] MadeCache cacheOverSources(bool writable) const {
        MadeCache cache(cacheFolder(), writable);
        cache.computeKey(source(), fonts());
        return cache;
    }

    [[nodiscard]] std::vector<fs::path> entries() const {
        std::vector<fs::path> found;
        if (fs::exists(cacheFolder())) {
            for (const auto& entry : fs::directory_iterator(cacheFolder())) {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    static MadeFiles someFiles(std::uint8_t mark) {
        MadeFiles made;
        made.files["media/images/a.png"] = {1, 2, 3, mark};
        made.files["media/sounds/b.wav"] = {};
        made.sheet = {9, 8, mark};
        return made;
    }

    test::TempDir folder_;
};

TEST_F(MadeCacheTest, FindsWhatItStoredForTheSameInputsOnly) {
    cacheOverSources(true).store(someFiles(7));
    const auto found = cacheOverSources(false).find();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->files, someFiles(7).files);
    EXPECT_EQ(found->sheet, someFiles(7).sheet);

    // The resource list only decides how files are stored: same entry.
    test::writeFile(source() / "properties" / "resources.xml", "<Resources><x/></Resources>");
    EXPECT_TRUE(cacheOverSources(false).find().has_value());

    struct Change {
        const char* what;
        fs::path file;
    };
    const Change changes[] = {
        {"a level file", source() / "properties" / "levels" / "hallway.xml"},
        {"a layout", source() / "layouts" / "pyramid.txt"},
        {"a new property file", source() / "properties" / "text.xml"},
        {"a font", fonts() / "other.ttf"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        test::writeFile(change.file, std::string("changed ") + change.what);
        EXPECT_FALSE(cacheOverSources(false).find().has_value());
        cacheOverSources(true).store(someFiles(7));
    }
}

TEST_F(MadeCacheTest, ACutOrDamagedEntryIsNotTrusted) {
    cacheOverSources(true).store(someFiles(1));
    ASSERT_EQ(entries().size(), 1U);
    const fs::path entry = entries().front();
    const std::string whole = test::readFile(entry);
    for (const std::size_t keep :
         {std::size_t{0}, std::size_t{10}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(keep);
        test::writeFile(entry, whole.substr(0, keep));
        EXPECT_FALSE(cacheOverSources(false).find().has_value());
    }
    test::writeFile(entry, whole + "x");
    EXPECT_FALSE(cacheOverSources(false).find().has_value());
}

TEST_F(MadeCacheTest, AReadOnlyCacheWritesNothingAndOnlyTheNewestEntriesStay) {
    cacheOverSources(false).store(someFiles(1));
    EXPECT_TRUE(entries().empty());

    for (int k = 0; k < MadeCache::kKeptEntries + 2; ++k) {
        test::writeFile(source() / "layouts" / "pyramid.txt", "version " + std::to_string(k));
        cacheOverSources(true).store(someFiles(static_cast<std::uint8_t>(k)));
    }
    EXPECT_EQ(entries().size(), static_cast<std::size_t>(MadeCache::kKeptEntries));
    const auto newest = cacheOverSources(false).find();
    ASSERT_TRUE(newest.has_value());
    EXPECT_EQ(newest->sheet, someFiles(MadeCache::kKeptEntries + 1).sheet);
}

} // namespace
} // namespace orv::media
