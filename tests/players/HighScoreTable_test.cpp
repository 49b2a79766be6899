#include "game/players/HighScoreTable.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "tests/players/PlayersFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

using HighScoreTableTest = test::PlayersTest;

RefPtr<HighScoreTable> tableOf(int capacity, bool descending, const std::vector<int>& scores) {
    RefPtr<HighScoreTable> table(new HighScoreTable(capacity, descending));
    for (const int score : scores) {
        table->addScore(new HighScoreEntry("stored", score, false));
    }
    return table;
}

std::vector<int> scoresOf(const HighScoreTable& table) {
    std::vector<int> scores;
    for (const RefPtr<HighScoreEntry>& row : table.getEntries()) {
        scores.push_back(row->scorevalue);
    }
    return scores;
}

TEST_F(HighScoreTableTest, OfferedScoresFindTheirPlace) {
    struct Case {
        int capacity;
        bool descending;
        std::vector<int> stored;
        int offered;
        int place;
        std::vector<int> after;
    };
    const std::vector<Case> cases{
        {5, true, {500, 400, 300, 200, 100}, 300, 2, {500, 400, 300, 300, 200}},
        {5, true, {500, 400, 300, 200, 100}, 50, -1, {500, 400, 300, 200, 100}},
        {5, true, {500, 400, 300, 200, 100}, 600, 0, {600, 500, 400, 300, 200}},
        {3, false, {10, 20}, 20, 2, {10, 20, 20}},
        {3, false, {10, 20, 30}, 30, -1, {10, 20, 30}},
        {5, true, {}, 7, 0, {7}},
        {0, true, {}, 7, 0, {7}}, // a capacity below 1 still holds one row
    };
    for (const Case& c : cases) {
        const RefPtr<HighScoreTable> table = tableOf(c.capacity, c.descending, c.stored);
        RefPtr<HighScoreEntry> offered(new HighScoreEntry("Ada", c.offered, true));
        EXPECT_EQ(table->addScore(offered.get()), c.place) << c.offered;
        EXPECT_EQ(table->getLastScore(), c.place);
        EXPECT_EQ(scoresOf(*table), c.after) << c.offered;
        if (c.place >= 0) {
            EXPECT_EQ(table->getEntries().at(static_cast<std::size_t>(c.place)), offered);
        }
    }
}

TEST_F(HighScoreTableTest, PlayerEntriesAreTheirOwnRows) {
    const RefPtr<HighScoreTable> table = tableOf(5, true, {100});
    table->addScore(new OrvantaScoreEntry("Ada", 50, true, 1));
    EXPECT_TRUE(table->hasPlayerEntry("Ada"));
    EXPECT_FALSE(table->hasPlayerEntry("ada"));
    EXPECT_FALSE(table->hasPlayerEntry("stored")) << "an invented row is no player's";
}

TEST_F(HighScoreTableTest, WrittenTableReadsBack) {
    const RefPtr<HighScoreTable> table = tableOf(4, false, {30, 10});
    table->addScore(new OrvantaScoreEntry("Zoë", 20, true, 6));
    RefPtr<PropertyNode> node(new PropertyNode("1_0_0", "ScoreTable"));
    table->write(*node);
    std::vector<std::string> keys;
    for (const RefPtr<AbstractProperty>& child : node->getElements()) {
        keys.push_back(child->getName());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"descending", "maxentries", "lastscore", "entries"}));
    const PropertyNode* row = asNode(node->getVector("entries")->at(1));
    EXPECT_EQ(row->getTypeName(), "OrvantaScore");
    EXPECT_EQ(row->getValue("level")->getInt(), 6);

    RefPtr<HighScoreTable> loaded(new HighScoreTable(5, true));
    loaded->read(*node);
    EXPECT_FALSE(loaded->isDescending());
    EXPECT_EQ(loaded->getMaxEntries(), 4);
    EXPECT_EQ(loaded->getLastScore(), 1);
    EXPECT_EQ(scoresOf(*loaded), (std::vector<int>{10, 20, 30}));
    const auto* orvanta = kindCast<OrvantaScoreEntry>(loaded->getEntries()[1].get());
    ASSERT_NE(orvanta, nullptr);
    EXPECT_EQ(orvanta->playername, "Zoë");
    EXPECT_EQ(orvanta->level, 6);
    EXPECT_TRUE(orvanta->isplayerscore);
    EXPECT_EQ(kindCast<OrvantaScoreEntry>(loaded->getEntries()[0].get()), nullptr);
}

TEST_F(HighScoreTableTest, DamagedTablesAreCorrectedOnLoad) {
    struct Case {
        int maxentries;
        int lastscore;
        int capacity;
        int rows;
        int last;
    };
    for (const Case c : {Case{0, 1, 5, 4, 1}, Case{-3, 9, 5, 4, -1}, Case{2, 1, 2, 2, 1},
                         Case{2, 3, 2, 2, -1}, Case{6, -2, 6, 4, -1}}) {
        test::QuietLog quiet;
        RefPtr<PropertyNode> node(new PropertyNode("t", "ScoreTable"));
        node->add(new PropertyValue("maxentries", c.maxentries));
        node->add(new PropertyValue("lastscore", c.lastscore));
        auto* rows = static_cast<PropertyVector*>(node->add(new PropertyVector("entries")));
        for (const char* type :
             {"HighScoreEntry", "Sprite", "OrvantaScore", "HighScoreEntry", "OrvantaScore"}) {
            auto* row = static_cast<PropertyNode*>(rows->add(new PropertyNode("", type)));
            row->add(new PropertyValue("scorevalue", 10));
        }
        RefPtr<HighScoreTable> table(new HighScoreTable(5, true));
        table->read(*node);
        EXPECT_EQ(table->getMaxEntries(), c.capacity) << c.maxentries;
        EXPECT_EQ(table->getEntries().size(), static_cast<std::size_t>(c.rows)) << c.maxentries;
        EXPECT_EQ(table->getLastScore(), c.last) << c.lastscore;
        // A full table never reports a place for a row it dropped.
        EXPECT_EQ(table->addScore(new HighScoreEntry("Ada", 1, true)),
                  c.rows < c.capacity ? c.rows : -1);
    }
}

} // namespace
} // namespace orv
