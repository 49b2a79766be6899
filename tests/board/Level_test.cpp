#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/Level.h"
#include "game/board/ShuffleRandom.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::BoardTest;
using test::fixturePath;
using test::parseNode;

using LevelTest = BoardTest;

RefPtr<Level> makeLevel(const std::string& xml) {
    return RefPtr<Level>(new Level(parseNode("<r>" + xml + "</r>").get()));
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(LevelTest, ReadsItsKeysAndLeavesTheMissingOnesAtTheirDefaults) {
    RefPtr<Level> level = makeLevel(
        R"(<Level gameType="Classic" pointsPerMatch="20" tileDistMin="2" tileDistMax="6" firstHand="3"
                  sideBoardIndex="1" gameMode="0" room="4" floor="3" silver="4000" gold="6000"
                  isSaveGame="x"/>)");
    EXPECT_EQ(level->getGameType(), GameType::Classic);
    EXPECT_EQ(level->getTuningInt(Tuning::PointsPerMatch), 20);
    EXPECT_EQ(level->getTuningInt(Tuning::TileDistMin), 2);
    EXPECT_EQ(level->getTuningInt(Tuning::TileDistMax), 6);
    // Keys of other game types are not read.
    EXPECT_EQ(level->getTuningInt(Tuning::FirstHand), 0);
    EXPECT_EQ(level->getTuningInt(Tuning::SideBoardIndex), -1);
    // Missing optional keys keep their defaults.
    EXPECT_FLOAT_EQ(level->getTuning(Tuning::PlayTime).getValue(), 1.0F);
    EXPECT_FLOAT_EQ(level->getTuning(Tuning::PlayTime).getDelta(), 0.0F);
    EXPECT_EQ(level->getTuningInt(Tuning::BonusSpeed), 0);
    EXPECT_EQ(level->getPlace(), Place::Hallway);
    EXPECT_EQ(level->getDifficulty(), 3);
    EXPECT_EQ(level->getRoom(), 4);
    EXPECT_EQ(level->getFloor(), 3);
    EXPECT_EQ(level->getSilver(), 4000);
    EXPECT_FALSE(level->isMixed());
    EXPECT_EQ(level->getLayout(), nullptr);

    RefPtr<Level> split = makeLevel(
        R"(<Level gameType="Split" pointsPerMatch="5" firstHand="3" secondHand="2" thirdHand="1"
                  sideBoardIndex="1" tileDistMin="9" isSaveGame="x"/>)");
    EXPECT_EQ(split->getTuningInt(Tuning::FirstHand), 3);
    EXPECT_EQ(split->getTuningInt(Tuning::ThirdHand), 1);
    EXPECT_EQ(split->getTuningInt(Tuning::SideBoardIndex), 1);
    EXPECT_EQ(split->getTuningInt(Tuning::TileDistMin), 0);
    EXPECT_EQ(makeLevel(R"(<Level gameType="River" isSaveGame="x"/>)")->getPlace(), Place::None);
}

TEST_F(LevelTest, GameTypeNamesMatchExactly) {
    const std::pair<const char*, GameType> cases[] = {
        {"Classic", GameType::Classic},  {"Freecell", GameType::FreeCell},
        {"Split", GameType::Split},      {"Triple", GameType::Triple},
        {"River", GameType::River},      {"Speed", GameType::Speed},
        {"FreeCell", GameType::Invalid}, {"classic", GameType::Invalid},
        {"", GameType::Invalid},
    };
    for (const auto& [name, type] : cases) {
        RefPtr<Level> level =
            makeLevel(std::string(R"(<Level isSaveGame="x" gameType=")") + name + R"("/>)");
        EXPECT_EQ(level->getGameType(), type) << name;
    }
}

TEST_F(LevelTest, TheLayoutListTakesIntroCountedCandidatesAndTheShuffledHardPart) {
    RefPtr<Level> level = makeLevel(R"(<Level gameType="Classic" isSaveGame="x">
        <Vector id="intro"><String>P</String></Vector>
        <Vector id="easy"><Integer>1</Integer><String>Q</String></Vector>
        <Vector id="normal"><Integer>1</Integer><String>R</String></Vector>
        <Vector id="hard"><String>S</String><String>T</String><String>U</String></Vector>
    </Level>)");
    const std::vector<std::string>& names = level->getLayoutFileNames();
    ASSERT_EQ(names.size(), 6U);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"P", "Q", "R"}));
    EXPECT_EQ(sorted({names.begin() + 3, names.end()}), (std::vector<std::string>{"S", "T", "U"}));
    EXPECT_EQ(level->getHardStartIndex(), 3);
    EXPECT_EQ(level->getLayoutName(), "P");
}

TEST_F(LevelTest, CountedListsTakeAsManyCandidatesAsTheyName) {
    struct Case {
        const char* easy;
        std::size_t taken;
    };
    const Case cases[] = {
        {"<Integer>2</Integer><String>a</String><String>b</String><String>c</String>", 2},
        {"<Integer>5</Integer><String>a</String>", 1},
        {"<Integer>0</Integer><String>a</String><String>b</String>", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        RefPtr<Level> level = makeLevel(std::string(R"(<Level isSaveGame="x"><Vector id="easy">)") +
                                        c.easy + R"(</Vector><Vector id="hard"/></Level>)");
        EXPECT_EQ(level->getLayoutFileNames().size(), c.taken) << c.easy;
        EXPECT_EQ(level->getHardStartIndex(), static_cast<int>(c.taken)) << c.easy;
    }
    // Which two of three are taken depends on the shuffle source alone.
    std::vector<std::vector<std::string>> seen;
    for (const std::uint32_t seed : {1U, 1U, 2U, 3U, 4U, 5U}) {
        ShuffleRandom::seed(seed);
        seen.push_back(makeLevel(R"(<Level isSaveGame="x"><Vector id="easy"><Integer>2</Integer>
            <String>a</String><String>b</String><String>c</String></Vector><Vector id="hard"/></Level>)")
                           ->getLayoutFileNames());
    }
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_TRUE(
        std::any_of(seen.begin() + 2, seen.end(), [&](const auto& s) { return s != seen[0]; }));
}

RefPtr<Level> levelWithNames(const std::vector<std::string>& names, int hardStart, int index = 0) {
    RefPtr<PropertyNode> node(new PropertyNode("", "Level"));
    node->add(new PropertyValue("isSaveGame", std::string_view("x"), true));
    node->add(new PropertyValue("index", index, true));
    node->add(new PropertyValue("hardStartIndex", hardStart, true));
    node->add(new PropertyValue("pointsPerMatch", std::string_view("10"), true));
    auto* list = static_cast<PropertyVector*>(node->add(new PropertyVector("layoutFileNames")));
    for (const std::string& name : names) {
        list->add(new PropertyValue("", std::string_view(name)));
    }
    return RefPtr<Level>(new Level(node.get()));
}

TEST_F(LevelTest, AdvancingGoesThroughTheNamesThenCyclesTheHardPart) {
    const std::vector<std::string> names{"a", "b", "c", "d", "e"};
    struct Case {
        int hardStart;
        std::vector<std::string> played; // after each advance
    };
    const Case cases[] = {
        {3, {"b", "c", "d", "e", "d", "e", "d"}},
        {0, {"b", "c", "d", "e", "a", "a"}},
        {5, {"b", "c", "d", "e", "a"}},
    };
    for (const Case& c : cases) {
        RefPtr<Level> level = levelWithNames(names, c.hardStart);
        for (const std::string& expected : c.played) {
            level->advance();
            EXPECT_EQ(level->getLayoutName(), "media/levels/" + expected)
                << "from " << c.hardStart << ", index " << level->getIndex();
        }
    }
}

TEST_F(LevelTest, SavedIndicesOutsideTheNamesNeverReadPastThem) {
    const std::vector<std::string> names{"a", "b", "c", "d", "e"};
    struct Case {
        int hardStart;
        int index;
        std::string played; // after one advance
        int indexAfter;
    };
    const Case cases[] = {
        {3, -4, "a", -3},
        {-2, 7, "a", 8},
        {9, 7, "a", 8},
        {3, std::numeric_limits<int>::max(), "d", std::numeric_limits<int>::max()},
    };
    for (const Case& c : cases) {
        RefPtr<Level> level = levelWithNames(names, c.hardStart, c.index);
        level->advance();
        EXPECT_EQ(level->getLayoutName(), "media/levels/" + c.played)
            << "from " << c.hardStart << ", index " << c.index;
        EXPECT_EQ(level->getIndex(), c.indexAfter);
    }
}

TEST_F(LevelTest, AdvancingStepsEveryTuningValue) {
    RefPtr<Level> level = makeLevel(R"(<Level gameType="Classic" isSaveGame="x">
        <Node id="pointsPerMatch" start="10" delta="5" cap="18"/>
        <Node id="tileDistMax" start="6" delta="-1" cap="4"/></Level>)");
    level->advance();
    level->advance();
    EXPECT_EQ(level->getTuningInt(Tuning::PointsPerMatch), 18);
    EXPECT_EQ(level->getTuningInt(Tuning::TileDistMax), 4);
    EXPECT_EQ(level->getIndex(), 2);
}

TEST_F(LevelTest, AdvancingWithoutNamesKeepsTheLayout) {
    RefPtr<Level> level = makeLevel(R"(<Level gameType="Classic" layout="x.xml" isSaveGame="x"/>)");
    level->advance();
    EXPECT_EQ(level->getLayoutName(), "x.xml");
    EXPECT_EQ(level->getIndex(), 1);
}

TEST_F(LevelTest, TheLayoutLoadsWithAndWithoutTheFolderInFront) {
    const std::string path = fixturePath("media/levels/small.xml");
    RefPtr<Level> level = makeLevel(R"(<Level gameType="Classic" layout=")" + path + R"("/>)");
    ASSERT_NE(level->getLayout(), nullptr);
    EXPECT_EQ(level->getLayout()->getTileCount(), 12);

    test::LogCapture log;
    RefPtr<Level> bare = makeLevel(R"(<Level gameType="Classic" layout="nowhere.xml"/>)");
    ASSERT_NE(bare->getLayout(), nullptr);
    EXPECT_EQ(bare->getLayout()->getTileCount(), 0);
    EXPECT_TRUE(log.contains("media/levels/nowhere.xml"));
}

TEST_F(LevelTest, TheSavedFormReadsBackAsTheSameLevel) {
    RefPtr<Level> level = makeLevel(R"(<Level gameType="Freecell" gameMode="1" difficulty="2"
        layout="tower.xml" room="3" floor="2" silver="10" gold="20" mixed="false" sideBoardIndex="1"
        tileDistMin="2" tileDistMax="5" isSaveGame="x">
        <Node id="pointsPerMatch" start="12.9" delta="3" cap="40"/>
        <Vector id="intro"><String>tower.xml</String></Vector><Vector id="hard"><String>b.xml</String></Vector>
    </Level>)");
    RefPtr<PropertyNode> saved(new PropertyNode("level", "Level"));
    level->writeXml(saved.get());
    EXPECT_EQ(saved->getValue("gameType")->getString(), "Freecell");
    EXPECT_EQ(saved->getValue("pointsPerMatch")->getString(), "12");
    EXPECT_EQ(saved->getValue("mixed")->getString(), "false");
    EXPECT_EQ(saved->getValue("isSaveGame")->getString(), "you betcha");
    EXPECT_EQ(saved->getChild("unused"), nullptr);

    RefPtr<Level> back(new Level(saved.get()));
    EXPECT_EQ(back->getGameType(), GameType::FreeCell);
    EXPECT_EQ(back->getPlace(), Place::Casino);
    EXPECT_EQ(back->getDifficulty(), 2);
    EXPECT_EQ(back->getLayoutName(), "tower.xml");
    EXPECT_EQ(back->getRoom(), 3);
    EXPECT_EQ(back->getGold(), 20);
    EXPECT_FALSE(back->isMixed());
    EXPECT_EQ(back->getTuningInt(Tuning::SideBoardIndex), 1);
    EXPECT_EQ(back->getTuningInt(Tuning::TileDistMax), 5);
    const Progression& points = back->getTuning(Tuning::PointsPerMatch);
    EXPECT_FLOAT_EQ(points.getStart(), 12.0F);
    EXPECT_FLOAT_EQ(points.getCap(), 12.0F);
    EXPECT_FLOAT_EQ(points.getDelta(), 0.0F);
    EXPECT_EQ(back->getLayoutFileNames(), level->getLayoutFileNames());
    EXPECT_EQ(back->getHardStartIndex(), 1);
    EXPECT_EQ(back->getLayout(), nullptr); // the saved game brings its own board

    // Reading the advanced name back does not put the folder in front twice.
    back->advance();
    RefPtr<PropertyNode> again(new PropertyNode("level", "Level"));
    back->writeXml(again.get());
    RefPtr<Level> third(new Level(again.get()));
    EXPECT_EQ(third->getLayoutName(), "media/levels/b.xml");
}

TEST_F(LevelTest, TheOneLineFormNamesWhatTheGameTypeUses) {
    RefPtr<Level> classic = makeLevel(R"(<Level gameType="Classic" gameMode="0" pointsPerMatch="20"
        layout="media/levels/pyramid.xml" tileDistMin="2" tileDistMax="6" silver="4000" gold="6000"
        isSaveGame="x"/>)");
    EXPECT_EQ(
        classic->writeLine(),
        "<Level\tgameType=\"Classic\"\tlayout=\"pyramid.xml\"\tplayTime=\"1\"\ttimeBonus=\"1\"\t"
        "score=\"20\"\tbonusAt=\"1\"\tbonusSpeed=\"0\"\tmultiplierTime=\"1\"\tdarkenTiles=\"0\"\t"
        "tileDistMin=\"2\"\ttileDistMax=\"6\"\tsilver=\"4000\"\tgold=\"6000\"\t/>");
    RefPtr<Level> speed = makeLevel(R"(<Level gameType="Speed" gameMode="3" layout="a\b.xml"
        sideBoardIndex="2" firstHand="1" secondHand="2" thirdHand="3" isSaveGame="x"/>)");
    const std::string line = speed->toString();
    EXPECT_NE(line.find("layout=\"b.xml\""), std::string::npos);
    EXPECT_NE(line.find("thirdHand=\"3\""), std::string::npos);
    EXPECT_NE(line.find("sideBoardIndex =\"2\""), std::string::npos);
    EXPECT_EQ(line.find("tileDist"), std::string::npos);
    EXPECT_EQ(line.find("silver"), std::string::npos);
    EXPECT_NE(
        makeLevel(R"(<Level gameType="Odd" isSaveGame="x"/>)")->writeLine().find("gameType=\"\""),
        std::string::npos);
}

} // namespace
} // namespace orv
