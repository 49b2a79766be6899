#include "game/players/HighScoreManager.h"

#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "tests/players/PlayersFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace orv {
namespace {

namespace fs = std::filesystem;

class HighScoreManagerTest : public test::PlayersTest {
protected:
    ~HighScoreManagerTest() override { HighScoreManager::destroyInstance(); }

    HighScoreManager& start(bool scrambled = true, std::string_view version = {}) {
        HighScoreManager::destroyInstance();
        HighScoreManager& manager = HighScoreManager::create(scrambled, version);
        manager.setDataFolder(temp.path().string());
        return manager;
    }

    static void setNames(const std::vector<std::string>& names) {
        RefPtr<PropertyVector> vector(new PropertyVector("CTEXT_HIGHSCORE_NAMES"));
        for (const std::string& name : names) {
            vector->add(new PropertyValue("", std::string_view(name)));
        }
        BasicProperties::get()->getVector("CTEXT_HIGHSCORE_NAMES") = vector;
    }
};

TEST_F(HighScoreManagerTest, TablesRoundTripInNameOrder) {
    HighScoreManager& manager = start();
    EXPECT_EQ(manager.getVersion(), "3.0");
    setNames({"Ann"});
    getHighScoreTable("mixed_0", true);
    getHighScoreTable("1_4_2", false)->addScore(new OrvantaScoreEntry("Ada", 900, true, 2));
    ASSERT_TRUE(fs::exists(temp.path() / "players" / "scores.xml.!"))
        << "a player's score entering a table is saved at once";
    const RefPtr<PropertyStore> stored = readStore(temp.file("players/scores.xml"), true);
    const PropertyNode* root = stored->getNode("highscoretables");
    EXPECT_EQ(root->getTypeName(), "HighScoreTables");
    EXPECT_EQ(root->getValue("version")->getString(), "3.0");
    const PropertyVector* tables = root->getVector("scoretables");
    ASSERT_EQ(tables->size(), 2U);
    EXPECT_EQ(tables->at(0)->getName(), "1_4_2");
    EXPECT_EQ(tables->at(0)->getTypeName(), "ScoreTable");

    HighScoreManager& again = start();
    again.load();
    ASSERT_NE(again.getTable("1_4_2"), nullptr);
    EXPECT_TRUE(again.getTable("1_4_2")->hasPlayerEntry("Ada"));
    EXPECT_EQ(again.getTable("1_4_2")->getLastScore(), 0);
    ASSERT_NE(again.getTable("mixed_0"), nullptr);
    EXPECT_EQ(again.getTable("mixed_0")->getEntries().size(), 5U);
}

TEST_F(HighScoreManagerTest, ScoresOfAnotherVersionOrUnreadableAreSetAside) {
    struct Case {
        std::string content;
        const char* logged;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?><root><HighScoreTables id=\"highscoretables\">"
         "<String id=\"version\">2.0</String><Vector id=\"scoretables\"/></HighScoreTables>"
         "</root>",
         "the scores are of version \"2.0\", not \"3.0\""},
        {"<?xml version=\"1.0\"?><root><HighScoreTables id=\"highscoretables\">"
         "<Vector id=\"scoretables\"/></HighScoreTables></root>",
         "the scores are of version \"\""},
        {"garbage", "the scores cannot be read"},
    };
    for (const auto& [content, logged] : cases) {
        SCOPED_TRACE(logged);
        fs::remove_all(temp.path() / "players");
        test::writeFile(temp.path() / "players" / "scores.xml", content);
        test::LogCapture log;
        HighScoreManager& manager = start(false);
        manager.load();
        EXPECT_TRUE(log.contains(logged));
        EXPECT_TRUE(manager.getTables().empty());
        getHighScoreTable("3_5_0", false);
        ASSERT_TRUE(manager.save());
        std::set<std::string> aside;
        for (const auto& entry : fs::directory_iterator(temp.path() / "players")) {
            if (entry.path().filename().string().find(".unreadable-") != std::string::npos) {
                aside.insert(test::readFile(entry.path()));
            }
        }
        EXPECT_EQ(aside, std::set<std::string>{content});
    }
}

TEST_F(HighScoreManagerTest, DefaultRowsUseDistinctDrawnNames) {
    start();
    setNames({"Ann", "Ben", "Cat", "Dov", "Eve", "Fay"});
    RandomGenerator::createInstance(1234, 0);
    HighScoreTable* table = getHighScoreTable("1_0_0", true);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->getEntries().size(), 5U);
    std::set<std::string> names;
    for (std::size_t i = 0; i < 5; ++i) {
        const auto* row = kindCast<OrvantaScoreEntry>(table->getEntries()[i].get());
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->scorevalue, 5000 - 1000 * static_cast<int>(i));
        EXPECT_EQ(row->level, 4 - static_cast<int>(i));
        EXPECT_FALSE(row->isplayerscore);
        names.insert(row->playername);
    }
    EXPECT_EQ(names.size(), 5U);
    EXPECT_FALSE(fs::exists(temp.path() / "players" / "scores.xml.!"))
        << "invented rows alone are not worth a save";

    // The same seed draws the same names.
    std::vector<std::string> first;
    for (const auto& row : table->getEntries()) {
        first.push_back(row->playername);
    }
    RandomGenerator::createInstance(1234, 0);
    HighScoreTable* second = getHighScoreTable("1_0_1", true);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(second->getEntries()[i]->playername, first[i]);
    }

    // A table of 3 stored rows gets the invented rows offered; the best 5 stay.
    RefPtr<HighScoreTable> partial(new HighScoreTable(5, true));
    for (const int score : {9000, 2500, 100}) {
        partial->addScore(new OrvantaScoreEntry("Ada", score, true, 0));
    }
    HighScoreManager::get()->setTable("1_1_0", partial.get());
    getHighScoreTable("1_1_0", true);
    std::vector<int> scores;
    for (const auto& row : partial->getEntries()) {
        scores.push_back(row->scorevalue);
    }
    EXPECT_EQ(scores, (std::vector<int>{9000, 5000, 4000, 3000, 2500}));
}

// Fewer names than rows: the redraws for an unused name stop after their
// bound and the rows share the names there are.
TEST_F(HighScoreManagerTest, OneNameFillsEveryRowWithoutEndlessDraws) {
    start();
    setNames({"Ada"});
    HighScoreTable* table = getHighScoreTable("1_3_1", true);
    ASSERT_EQ(table->getEntries().size(), 5U);
    for (const auto& row : table->getEntries()) {
        EXPECT_EQ(row->playername, "Ada");
    }
}

TEST_F(HighScoreManagerTest, NoNamesGiveNamelessRows) {
    test::QuietLog quiet;
    start();
    setNames({});
    HighScoreTable* table = getHighScoreTable("1_2_0", true);
    ASSERT_EQ(table->getEntries().size(), 5U);
    EXPECT_TRUE(table->getEntries()[0]->playername.empty());
}

} // namespace
} // namespace orv
