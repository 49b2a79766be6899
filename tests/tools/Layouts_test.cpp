// The layouts' source form and the checks that keep layouts and level files
// playable: parsing (with a corpus of broken sources), the faults of a layout
// on its own, the tile counts the face distribution can fill, which game types
// a layout suits, the layout file as the engine's property reader sees it,
// and the level files' faults, each naming its file and level.

#include "tools/media/Layouts.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orv::media {
namespace {

LayoutDesign parsed(const std::string& text) {
    std::string error;
    const auto layout = parseLayout("test", text, error);
    EXPECT_TRUE(layout.has_value()) << error;
    return layout.value_or(LayoutDesign{});
}

// A layout of `tiles` at the given places, with an optional rack.
LayoutDesign design(std::vector<LayoutTile> tiles, std::vector<Rack> racks = {}) {
    LayoutDesign layout;
    layout.id = "made";
    layout.name = "Made";
    layout.tiles = std::move(tiles);
    layout.racks = std::move(racks);
    return layout;
}

// A flat row of `count` tiles side by side on layer 0.
LayoutDesign row(int count, std::vector<Rack> racks = {}) {
    std::vector<LayoutTile> tiles;
    tiles.reserve(count);
    for (int k = 0; k < count; ++k) {
        tiles.push_back({(2 * k) % 30, 2 * ((2 * k) / 30), 0});
    }
    return design(std::move(tiles), std::move(racks));
}

TEST(LayoutsTest, ParsesTilesHalfOffsetsLayersAndRacks) {
    const LayoutDesign layout = parsed("# a comment\n"
                                       "name:  Little Stack \n"
                                       "racks: 4x2 3x1@600,80\n"
                                       "\n"
                                       "layer 0\n"
                                       "[][]..\n"
                                       "----[]\n"
                                       "....--\n"
                                       "\n"
                                       "# the top\n"
                                       "layer 1\n"
                                       ".\n"
                                       " []\n"
                                       " --\n");
    EXPECT_EQ(layout.name, "Little Stack");
    const std::vector<LayoutTile> tiles{{0, 0, 0}, {2, 0, 0}, {4, 1, 0}, {1, 1, 1}};
    EXPECT_EQ(layout.tiles, tiles);
    const std::vector<Rack> racks{{4, 2, kRackX, kRackY}, {3, 1, 600, 80}};
    EXPECT_EQ(layout.racks, racks);
    EXPECT_EQ(layout.width(), 6);
    EXPECT_EQ(layout.height(), 3);
    EXPECT_EQ(layout.tilesOnLayer(0), 3);
}

TEST(LayoutsTest, RefusesBrokenSourcesNamingTheLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"name: A\nlayer 0\n..\n-.\n", "line 4: column 1: '-'"},
        {"name: A\nlayer 0\n[[\n--\n", "line 3: column 1: '['"},
        {"name: A\nlayer 0\n[]\n", "line 3: column 1: '['"},
        {"name: A\nlayer 0\n.]\n", "line 3: column 2: ']'"},
        {"name: A\nlayer 7\n", "line 2: layers are numbered 0 to 6"},
        {"name: A\nlayer 0\n[]\n--\n\nlayer 0\n", "line 6: layer 0 is drawn twice"},
        {"name: A\nracks: 4by2\n", "line 2: \"4by2\" is no rack"},
        {"name: A\nracks: 4x2@600\n", "line 2: \"4x2@600\" is no rack"},
        {"[]\n--\n", "line 1: expected \"name:\""},
        {"name: A\nlayer 0\n[]x\n", "line 3: a map line holds only"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parseLayout("broken", c.text, error).has_value()) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave " << error;
    }
}

TEST(LayoutsTest, FindsTheFaultsOfALayoutOnItsOwn) {
    struct Case {
        LayoutDesign layout;
        const char* fault; // empty: sound
    };
    LayoutDesign unnamed = row(2);
    unnamed.name.clear();
    const Case cases[] = {
        {row(4), ""},
        {unnamed, "it has no name"},
        {design({}), "it has no tiles"},
        {design({{0, 0, 0}, {0, 0, 1}}), ""},
        {design({{40, 0, 0}}), "the tile at (40, 0, 0) lies outside the grid"},
        {design({{0, 20, 0}}), "outside the grid"},
        {design({{0, 0, 7}}), "outside the grid"},
        {design({{0, 0, 0}, {1, 1, 0}}), "the tiles at (0, 0, 0) and (1, 1, 0) overlap"},
        // Half a tile on the one below is enough; a quarter or nothing is not.
        {design({{0, 0, 0}, {1, 0, 1}}), ""},
        {design({{0, 0, 0}, {1, 1, 1}}), "the tile at (1, 1, 1) rests on 1 of its four cells"},
        {design({{0, 0, 0}, {4, 0, 1}}), "rests on 0 of its four cells"},
        {design({{0, 0, 0}, {28, 14, 0}}), ""},
        {design({{0, 0, 0}, {30, 0, 0}}), "it is 32 cells wide; 30 fit"},
        {design({{0, 0, 0}, {24, 0, 0}}, {{4, 1}}), ""},
        {design({{0, 0, 0}, {26, 0, 0}}, {{4, 1}}), "28 cells wide; 26 fit beside its rack"},
        {design({{0, 0, 0}, {0, 16, 0}}), "it is 18 cells high; 16 fit"},
        {row(2, {{0, 2}}), "the rack 0x2 has no slots"},
        {row(2, {{4, 1, 800, 90}}), "the rack 4x1 stands off the screen"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> faults = layoutFaults(c.layout);
        if (std::string(c.fault).empty()) {
            EXPECT_TRUE(faults.empty()) << faults.front();
            continue;
        }
        ASSERT_FALSE(faults.empty()) << c.fault;
        EXPECT_NE(faults.front().find(c.fault), std::string::npos) << faults.front();
    }
}

TEST(LayoutsTest, CountsTheTilesTheFaceDistributionFills) {
    struct Case {
        int tiles;
        int group;
        int bonus;
        int faced;
    };
    const Case cases[] = {
        // Pairs: a full set, a small board of distinct faces, a board with one
        // bonus cycle, and 142, for which the pool of faces runs out.
        {144, 2, 4, 144},
        {60, 2, 4, 60},
        {72, 2, 4, 72},
        {140, 2, 4, 140},
        {142, 2, 4, 140},
        {150, 2, 4, 150},
        {36, 2, 4, 36},
        {0, 2, 4, 0},
        // Triples: the full set of 216, odd leftovers, and 213.
        {216, 3, 6, 216},
        {150, 3, 6, 150},
        {100, 3, 6, 99},
        {213, 3, 6, 210},
        // Single faces for Split and Speed: 73 to 75 run out of faces.
        {72, 1, 4, 72},
        {73, 1, 4, 72},
        {75, 1, 4, 72},
        {76, 1, 4, 76},
        {152, 1, 4, 152},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(facedTileCount(c.tiles, c.group, c.bonus, standardSuitSizes()), c.faced)
            << c.tiles << " tiles in groups of " << c.group;
    }
    // Bonus suits of different sizes: whichever suit comes first, a count
    // that misses for one of them is reported.
    const std::vector<int> uneven{9, 9, 9, 4, 3, 4, 8};
    EXPECT_NE(facedTileCount(144, 2, 4, uneven), 144);
}

TEST(LayoutsTest, TellsWhichGameTypesALayoutSuits) {
    const std::vector<int> suits = standardSuitSizes();
    // Four tiles: three on layer 0 and one on layer 1.
    const LayoutDesign stacked = design({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {1, 0, 1}});
    struct Case {
        LayoutDesign layout;
        GameType type;
        const char* fault; // empty: it suits
    };
    const Case cases[] = {
        {row(6, {{4, 1}}), GameType::Classic, ""},
        {row(6, {{4, 1}}), GameType::FreeCell, ""},
        {row(6, {{4, 1}}), GameType::Split, ""},
        {row(6, {{4, 1}}), GameType::Triple, ""},
        {row(6, {{4, 1}}), GameType::River, ""},
        {row(6, {{4, 1}}), GameType::Speed, ""},
        {row(7), GameType::Classic, "Classic cannot deal its 7 tiles in pairs"},
        {row(142), GameType::Classic, "(the tile set fills 140)"},
        {row(8), GameType::Triple, "Triple cannot deal its 8 tiles in triples"},
        {row(74, {{4, 1}}), GameType::Split, "Split cannot deal its 74 tiles in faces"},
        {row(6), GameType::FreeCell, "Freecell needs a rack"},
        {row(6), GameType::Speed, "Speed needs a rack"},
        {stacked, GameType::Classic, ""},
        {stacked, GameType::River, "layer 0 has 3 tiles"},
    };
    for (const Case& c : cases) {
        const std::string fault = gameTypeFault(c.layout, c.type, suits);
        if (std::string(c.fault).empty()) {
            EXPECT_EQ(fault, "");
        } else {
            EXPECT_NE(fault.find(c.fault), std::string::npos) << fault;
        }
    }
}

TEST(LayoutsTest, WritesALayoutFileThePropertyReaderTakesBack) {
    LayoutDesign layout = parsed("name: Tower & \"Gate\"\nracks: 4x2 2x1@700,40\n\nlayer 0\n"
                                 "[][]\n----\n\nlayer 1\n.[]\n.--\n");
    RefPtr<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadText(layoutFileXml(layout)));
    PropertyNode* node = store->getNode("layout");
    EXPECT_EQ(node->getValue("displayname")->getString(), "Tower & \"Gate\"");
    EXPECT_EQ(node->getValue("originalTileCount")->getInt(), 3);
    PropertyVector* tiles = node->getVector("tiles");
    ASSERT_EQ(tiles->size(), 3U);
    for (std::size_t k = 0; k < tiles->size(); ++k) {
        PropertyNode* tile = asNode(tiles->at(static_cast<std::ptrdiff_t>(k)));
        EXPECT_EQ(tile->getTypeName(), "Tile");
        const LayoutTile& want = layout.tiles[k];
        EXPECT_EQ((LayoutTile{tile->getValue("x")->getInt(), tile->getValue("y")->getInt(),
                              tile->getValue("z")->getInt()}),
                  want);
    }
    PropertyVector* racks = node->getVector("sideboards");
    ASSERT_EQ(racks->size(), 2U);
    PropertyNode* second = asNode(racks->at(1));
    EXPECT_EQ(second->getTypeName(), "SideBoard");
    EXPECT_EQ(second->getValue("width")->getInt(), 2);
    EXPECT_EQ(second->getValue("height")->getInt(), 1);
    EXPECT_EQ(second->getValue("x")->getInt(), 700);
    EXPECT_EQ(second->getValue("y")->getInt(), 40);
    // Without racks the file offers no side boards.
    layout.racks.clear();
    RefPtr<PropertyStore> bare(new PropertyStore());
    ASSERT_TRUE(bare->loadText(layoutFileXml(layout)));
    EXPECT_EQ(bare->getNode("layout")->getChild("sideboards"), nullptr);
}

TEST(LayoutsTest, ReadsTheSuitSizesOfTheFirstFileThatDefinesThem) {
    const std::vector<std::string> files{
        "<Texts><Text id=\"A\" value=\"a\"/></Texts>",
        "<Mahjong><Vector id=\"suitDefs\"><Suit size=\"9\"/><Suit size=\"4\"/></Vector></Mahjong>",
        "<Other><Vector id=\"suitDefs\"><Suit size=\"1\"/></Vector></Other>"};
    EXPECT_EQ(suitSizesFrom(files), (std::vector<int>{9, 4}));
    EXPECT_FALSE(suitSizesFrom({files[0]}).has_value());
}

// ---- level files ----------------------------------------------------------------

// One level naming `layout`, with every key a level of any type may need.
std::string level(const std::string& type, int place, const std::string& layout = "six.xml",
                  const char* id = nullptr) {
    std::string text = "<Level ";
    if (id != nullptr) {
        text += std::string("id=\"") + id + "\" ";
    }
    return text + "gameType=\"" + type + "\" gameMode=\"" + std::to_string(place) +
           "\" pointsPerMatch=\"10\" playTime=\"1000\" timeBonus=\"0\" bonusAt=\"100\" "
           "bonusSpeed=\"1\" multiplierTime=\"1000\" tileDistMin=\"1\" tileDistMax=\"2\" "
           "sideBoardIndex=\"0\" firstHand=\"1\" secondHand=\"0\" thirdHand=\"0\" silver=\"10\" "
           "gold=\"20\"><Vector id=\"hard\"><String value=\"" +
           layout + "\"/></Vector></Level>";
}

// Four sound level files on the layouts of `LevelFilesTest`.
std::map<std::string, std::string> soundLevelFiles(int floors = 20) {
    std::string hallway = "<Levels><Vector id=\"hallway\">";
    for (int f = 0; f < floors; ++f) {
        hallway += "<Vector>";
        for (int r = 0; r < 5; ++r) {
            hallway += level("Classic", 0);
        }
        hallway += "</Vector>";
    }
    hallway += "</Vector></Levels>";
    std::string casino = "<Levels><Node id=\"casino\">";
    std::string recroom = "<Levels><Vector id=\"recroom\">";
    for (const char* type : {"Classic", "Freecell", "Split", "Triple", "River"}) {
        casino += std::string("<Node id=\"") + type + "\">";
        for (const char* difficulty : {"normal", "hard", "expert"}) {
            casino += std::string("<Node id=\"") + difficulty + "\">" +
                      level(type, 1, "six.xml", "level") + "</Node>";
        }
        casino += "</Node>";
        recroom += "<Vector>" + level(type, 2) + level(type, 2) + "</Vector>";
    }
    casino += "</Node></Levels>";
    recroom += "</Vector></Levels>";
    std::string roof = "<Levels><Node id=\"roof\"><Node id=\"Speed\">";
    for (const char* difficulty : {"normal", "hard", "expert"}) {
        roof += std::string("<Node id=\"") + difficulty + "\">" +
                level("Speed", 3, "six.xml", "level") + "</Node>";
    }
    roof += "</Node></Node></Levels>";
    return {{"hallway.xml", hallway},
            {"casino.xml", casino},
            {"recroom.xml", recroom},
            {"roof.xml", roof}};
}

class LevelFilesTest : public ::testing::Test {
protected:
    LevelFilesTest() {
        // Six tiles that suit every game type; four with an odd layer and no rack.
        LayoutDesign six = row(6, {{4, 1}, {3, 1}});
        six.id = "six";
        LayoutDesign odd = design({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {1, 0, 1}});
        odd.id = "odd_layer";
        layouts_ = {{"six", six}, {"odd_layer", odd}};
    }
    [[nodiscard]] std::vector<std::string>
    faults(const std::map<std::string, std::string>& files) const {
        return levelFaults(files, layouts_, standardSuitSizes());
    }
    std::map<std::string, LayoutDesign> layouts_;
};

TEST_F(LevelFilesTest, SoundFilesHaveNoFaults) {
    const std::vector<std::string> found = faults(soundLevelFiles());
    EXPECT_TRUE(found.empty()) << found.front();
}

TEST_F(LevelFilesTest, NamesTheFileAndLevelOfEachFault) {
    struct Case {
        const char* file;
        const char* anchor; // the change is made at the first `from` after it
        const char* from;
        const char* to;
        const char* fault;
    };
    const Case cases[] = {
        {"hallway.xml", "", "gameType=\"Classic\"", "gameType=\"classic\"",
         "hallway.xml, floor 1, room 1: \"gameType\" \"classic\" names no game type"},
        {"casino.xml", "id=\"Freecell\"", "gameType=\"Freecell\"", "gameType=\"Classic\"",
         "casino.xml, Freecell normal: \"gameType\" is Classic here, not Freecell"},
        {"recroom.xml", "", "gameMode=\"2\"", "gameMode=\"0\"",
         "recroom.xml, series 1, level 1: \"gameMode\" must be 2"},
        {"hallway.xml", "", "six.xml", "seven.xml",
         "hallway.xml, floor 1, room 1: the layout \"seven.xml\" does not exist"},
        {"recroom.xml", "gameType=\"River\"", "six.xml", "odd_layer.xml",
         "recroom.xml, series 5, level 1: odd_layer.xml: River pairs tiles within a layer"},
        {"casino.xml", "id=\"Split\"", "six.xml", "odd_layer.xml",
         "casino.xml, Split normal: odd_layer.xml: Split needs a rack"},
        {"roof.xml", "id=\"hard\"", "sideBoardIndex=\"0\"", "sideBoardIndex=\"2\"",
         "roof.xml, Speed hard: six.xml: \"sideBoardIndex\" reaches 2 but the layout has 2 "
         "racks"},
        // A progression that climbs past the racks within its cap.
        {"casino.xml", "id=\"Freecell\"", "<Vector id=\"hard\">",
         "<Progression id=\"sideBoardIndex\" start=\"0\" delta=\"0.5\" cap=\"3\"/>"
         "<Vector id=\"hard\">",
         "casino.xml, Freecell normal: six.xml: \"sideBoardIndex\" reaches 3"},
        {"casino.xml", "", "<Vector id=\"hard\">",
         "<Progression id=\"playTime\" start=\"1000\" delta=\"-100\"/><Vector id=\"hard\">",
         "casino.xml, Classic normal: \"playTime\" needs the numbers"},
        {"roof.xml", "", "firstHand=\"1\"", "firstHand=\"0\"",
         "roof.xml, Speed normal: the three hands can all fall to 0"},
        {"hallway.xml", "", "silver=\"10\"", "silver=\"30\"",
         "hallway.xml, floor 1, room 1: \"silver\" and \"gold\""},
        {"hallway.xml", "", "bonusAt=\"100\"", "bonusAt=\"0\"", "\"bonusAt\" falls to 0"},
        {"hallway.xml", "", "pointsPerMatch=\"10\"", "points=\"10\"",
         "\"pointsPerMatch\" is missing or no number"},
        {"hallway.xml", "", "<Vector id=\"hard\">", "<Vector id=\"intro\">",
         "floor 1, room 1: the layout list has no \"hard\" part"},
        {"casino.xml", "", "<Vector id=\"hard\">",
         "<Vector id=\"easy\"><String value=\"six.xml\"/></Vector><Vector id=\"hard\">",
         "casino.xml, Classic normal: the list \"easy\" starts without its count"},
        {"casino.xml", "", "</Levels>", "", "casino.xml: "},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> files = soundLevelFiles();
        std::string& text = files[c.file];
        const std::size_t at = text.find(c.from, text.find(c.anchor));
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, std::string(c.from).size(), c.to);
        const std::vector<std::string> found = faults(files);
        ASSERT_FALSE(found.empty()) << c.fault;
        EXPECT_NE(found.front().find(c.fault), std::string::npos) << found.front();
    }
}

TEST_F(LevelFilesTest, ChecksTheShapeOfEachArea) {
    EXPECT_EQ(faults(soundLevelFiles(19)).front(),
              "hallway.xml: \"hallway\" holds 19 floors, not 20");
    std::map<std::string, std::string> files = soundLevelFiles();
    files.erase("roof.xml");
    EXPECT_EQ(faults(files).front(), "roof.xml: missing");
    files = soundLevelFiles();
    const std::size_t expert = files["casino.xml"].find("<Node id=\"expert\">");
    files["casino.xml"].replace(expert, 17, "<Node id=\"master\">");
    EXPECT_EQ(faults(files).front(), "casino.xml, Classic expert: no level");
}

} // namespace
} // namespace orv::media
