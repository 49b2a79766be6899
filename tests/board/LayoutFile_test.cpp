#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/Layout.h"
#include "game/board/SideBoard.h"
#include "tests/board/BoardFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

using test::BoardTest;
using test::fixturePath;
using test::parseNode;
using test::tileAt;

using LayoutFileTest = BoardTest;

RefPtr<Layout> loadFixture(const char* name, GameType type = GameType::Classic, int index = -1) {
    return Layout::loadFile(fixturePath(name), type, index);
}

TEST_F(LayoutFileTest, TheFixtureLayoutsLoad) {
    struct Case {
        const char* file;
        int tiles;
        const char* name;
        int width, height;
    };
    const Case cases[] = {
        {"media/levels/pyramid144.xml", 144, "Pyramid", 26, 14},
        {"media/levels/small.xml", 12, "Small", 8, 4},
        {"media/levels/halfoffset.xml", 10, "Half steps", 10, 5},
        {"media/levels/sideboard.xml", 16, "Rack", 16, 4},
    };
    for (const Case& c : cases) {
        RefPtr<Layout> layout = loadFixture(c.file);
        EXPECT_EQ(layout->getTileCount(), c.tiles) << c.file;
        EXPECT_EQ(layout->getOriginalTileCount(), c.tiles) << c.file;
        EXPECT_EQ(layout->getDisplayName(), c.name) << c.file;
        EXPECT_EQ(layout->getWidth(), c.width) << c.file;
        EXPECT_EQ(layout->getHeight(), c.height) << c.file;
        EXPECT_EQ(layout->getSideBoard(), nullptr) << c.file;
    }
}

TEST_F(LayoutFileTest, SideBoardsAreReadForTheSideBoardGameTypesOnly) {
    struct Case {
        GameType type;
        int index;
        int columns; // 0: no side board
    };
    const Case cases[] = {
        {GameType::Classic, 0, 0},  {GameType::Triple, 1, 0}, {GameType::River, 0, 0},
        {GameType::FreeCell, 0, 4}, {GameType::Split, 1, 3},  {GameType::Speed, 0, 4},
        {GameType::Split, -1, 0},
    };
    for (const Case& c : cases) {
        RefPtr<Layout> layout = loadFixture("media/levels/sideboard.xml", c.type, c.index);
        SideBoard* rack = layout->getSideBoard();
        EXPECT_EQ(rack == nullptr ? 0 : rack->getColumns(), c.columns)
            << toNumber(c.type) << " / " << c.index;
    }
    RefPtr<Layout> rack = loadFixture("media/levels/sideboard.xml", GameType::Split, 1);
    EXPECT_EQ(rack->getSideBoard()->getX(), 640);
    EXPECT_EQ(rack->getSideBoard()->getRows(), 1);
}

TEST_F(LayoutFileTest, ASingleSideBoardWinsOverTheListWhateverTheIndex) {
    RefPtr<PropertyNode> node = parseNode(R"(<r><Layout id="layout">
        <SideBoard id="sideboard" width="2" height="2"/>
        <Vector id="sideboards"><SideBoard width="5" height="1"/></Vector>
    </Layout></r>)");
    for (const int index : {-1, 0, 3}) {
        RefPtr<Layout> layout = Layout::load(node.get(), GameType::FreeCell, index, "inline");
        ASSERT_NE(layout->getSideBoard(), nullptr);
        EXPECT_EQ(layout->getSideBoard()->getColumns(), 2);
    }
}

TEST_F(LayoutFileTest, AnIndexBeyondTheListGivesNoSideBoard) {
    test::LogCapture log;
    bool intact = true;
    RefPtr<PropertyNode> node = parseNode(
        R"(<r><Layout id="layout"><Vector id="sideboards"><SideBoard width="4" height="2"/></Vector></Layout></r>)");
    RefPtr<Layout> layout = Layout::load(node.get(), GameType::Speed, 1, "beyond.xml", &intact);
    EXPECT_EQ(layout->getSideBoard(), nullptr);
    EXPECT_FALSE(intact);
    EXPECT_TRUE(log.contains("beyond.xml"));
}

TEST_F(LayoutFileTest, MissingKeysTakeTheirDefaults) {
    RefPtr<PropertyNode> node = parseNode(R"(<r><Layout id="layout" displayname="">
        <Vector id="tiles"><Tile x="0" y="0" z="0"/><Tile x="1" y="0" z="0"/><Tile x="4" y="0" z="0"/></Vector>
    </Layout></r>)");
    RefPtr<Layout> layout = Layout::load(node.get(), GameType::Classic, -1, "inline");
    // The second tile took the first one's place: two remain.
    EXPECT_EQ(layout->getTileCount(), 2);
    EXPECT_EQ(layout->getOriginalTileCount(), 2);
    EXPECT_EQ(layout->getDisplayName(), "TEXT_LAYOUT_NONAME");
    EXPECT_EQ(Layout::load(nullptr, GameType::Classic, -1, "null")->getTileCount(), 0);
}

TEST_F(LayoutFileTest, AnOriginalCountBelowTheBoardsGivesWayToIt) {
    const auto originalCount = [](const std::string& given) {
        RefPtr<PropertyNode> node =
            parseNode(R"(<r><Layout id="layout" originalTileCount=")" + given + R"(">
            <Vector id="tiles"><Tile x="0" y="0" z="0"/><Tile x="2" y="0" z="0"/></Vector>
        </Layout></r>)");
        return Layout::load(node.get(), GameType::Classic, -1, "inline")->getOriginalTileCount();
    };
    EXPECT_EQ(originalCount("144"), 144);
    EXPECT_EQ(originalCount("2"), 2);
    test::LogCapture log;
    EXPECT_EQ(originalCount("0"), 2);
    EXPECT_EQ(originalCount("-7"), 2);
    EXPECT_TRUE(log.contains("original count of 0"));
}

TEST_F(LayoutFileTest, SavingAndReadingBackGivesTheSameBoard) {
    RefPtr<Layout> layout = loadFixture("media/levels/sideboard.xml", GameType::FreeCell, 0);
    int value = 0;
    layout->forEachTile([&value](Tile& tile) {
        tile.setFace(value % 5, value % 3);
        ++value;
    });
    layout->setOriginalTileCount(20);
    ASSERT_TRUE(layout->getSideBoard()->putTile(test::makeTile({}, 6, 2).get(), 3, 1));
    Tile* first = tileAt(*layout, {0, 0, 0});
    layout->removeTile(first);

    RefPtr<PropertyNode> saved(new PropertyNode("layout", "Layout"));
    layout->save(saved.get());
    std::vector<std::string> keys;
    for (const auto& child : saved->getChildren()) {
        keys.push_back(child.name);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"tileCount", "displayname", "tiles", "sideboard",
                                              "originalTileCount"}));
    EXPECT_EQ(saved->getValue("tileCount")->getInt(), 15);

    bool intact = false;
    RefPtr<Layout> back = Layout::load(saved.get(), GameType::FreeCell, 0, "saved", &intact);
    EXPECT_TRUE(intact);
    EXPECT_EQ(back->getTileCount(), 15);
    EXPECT_EQ(back->getOriginalTileCount(), 20);
    EXPECT_EQ(back->getDisplayName(), "Rack");
    layout->forEachTile([&back](Tile& tile) {
        const Tile* other = tileAt(*back, tile.getPos());
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->matchKey(), tile.matchKey());
    });
    ASSERT_NE(back->getSideBoard(), nullptr);
    EXPECT_EQ(back->getSideBoard()->getX(), 600);
    const Tile* parked = back->getSideBoard()->getTileAt(3, 1);
    ASSERT_NE(parked, nullptr);
    EXPECT_EQ(parked->getSuit(), 6);
    EXPECT_TRUE(parked->isSideboard());

    // A second save writes the same tree.
    RefPtr<PropertyNode> again(new PropertyNode("layout", "Layout"));
    back->save(again.get());
    EXPECT_EQ(again->getVector("tiles")->size(), saved->getVector("tiles")->size());
    EXPECT_EQ(again->getNode("sideboard")->getVector("tiles")->size(), 1U);
}

TEST_F(LayoutFileTest, BrokenLayoutsLoadWhatIsSoundAndSayWhatIsNot) {
    struct Case {
        const char* file;
        GameType type;
        int tiles;
        int parked; // -1: no side board
        const char* logged;
    };
    const Case cases[] = {
        {"broken/wrong-class.xml", GameType::FreeCell, 2, -1, "not a side board"},
        {"broken/off-grid.xml", GameType::FreeCell, 2, 1, "off the grid"},
        {"broken/huge-rack.xml", GameType::Speed, 1, 0, "no rack size"},
        {"broken/truncated.xml", GameType::Classic, 0, -1, "cannot be read"},
        {"broken/no-layout.xml", GameType::Classic, 0, -1, "no node"},
        {"broken/missing.xml", GameType::Classic, 0, -1, "cannot be read"},
    };
    for (const Case& c : cases) {
        test::LogCapture log;
        RefPtr<Layout> layout = loadFixture(c.file, c.type, 0);
        EXPECT_EQ(layout->getTileCount(), c.tiles) << c.file;
        const SideBoard* rack = layout->getSideBoard();
        EXPECT_EQ(rack == nullptr ? -1 : rack->countTiles(), c.parked) << c.file;
        EXPECT_TRUE(log.contains(c.logged)) << c.file;
        EXPECT_TRUE(log.contains(c.file)) << c.file;
    }
}

} // namespace
} // namespace orv
