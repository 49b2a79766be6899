#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/CommandRemove.h"
#include "game/board/Game.h"
#include "tests/board/GameFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::fixturePath;
using test::GameTest;

// Every value of a tree as "path=text", children in order; `skip` names
// keys left out.
void flatten(const AbstractProperty& property, const std::string& path,
             const std::set<std::string>& skip, std::vector<std::string>& out) {
    if (property.isValue()) {
        out.push_back(path + "=" + static_cast<const PropertyValue&>(property).getString());
        return;
    }
    out.push_back(path + ":" + property.getTypeName());
    if (property.isNode()) {
        for (const auto& child : static_cast<const PropertyNode&>(property).getChildren()) {
            if (skip.count(child.name) == 0) {
                flatten(*child.property, path + "/" + child.name, skip, out);
            }
        }
        return;
    }
    const auto& vector = static_cast<const PropertyVector&>(property);
    for (std::size_t i = 0; i < vector.size(); ++i) {
        flatten(*vector.at(static_cast<std::ptrdiff_t>(i)), path + "[" + std::to_string(i) + "]",
                skip, out);
    }
}

std::vector<std::string> savedForm(const Game& game, const std::set<std::string>& skip = {}) {
    RefPtr<PropertyNode> node(new PropertyNode("game", "Game"));
    game.save(*node);
    std::vector<std::string> lines;
    flatten(*node, "game", skip, lines);
    return lines;
}

class SaveTest : public GameTest {
protected:
    // A Classic game on the 144-tile board with three matches made.
    Game& playedGame() {
        board = Layout::loadFile(fixturePath("media/levels/pyramid144.xml"), GameType::Classic, -1);
        Game& game = startClassic(board.get(), R"(gameMode="0" silver="100" gold="200")");
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(removeHintedPair(game));
        }
        game.getCounters().numZeroMatches = 2;
        game.getCounters().realTime = 12345;
        game.getCounters().timeSinceLastRestart = 777;
        game.getCounters().lastMatchTime = 700;
        game.getRandomLevels() = {3, 1};
        return game;
    }

    RefPtr<Layout> board;
};

TEST_F(SaveTest, SavingResumingAndSavingAgainGivesTheSameGame) {
    Game& game = playedGame();
    const std::vector<std::string> first = savedForm(game, {"numZeroMatches", "lastSubmitTime"});
    services.saveGame(1, game);

    ASSERT_TRUE(Game::resumeSaved(1));
    Game* resumed = Game::getCurrent();
    ASSERT_NE(resumed, &game);
    EXPECT_EQ(savedForm(*resumed, {"numZeroMatches", "lastSubmitTime"}), first);
    EXPECT_EQ(resumed->getCounters().numZeroMatches, 0);
    EXPECT_EQ(resumed->getCounters().lastMatchTime, 0);
    EXPECT_EQ(resumed->getLevel()->getLayout(), resumed->getLayout());
    EXPECT_EQ(resumed->getLayout()->getTileCount(), 138);
    EXPECT_EQ(resumed->getLayoutCopy()->getTileCount(), 144);
    EXPECT_EQ(resumed->getRandomLevels(), (std::vector<int>{3, 1}));
    EXPECT_EQ(services.kept->getTypeName(), "GameClassic");
}

TEST_F(SaveTest, TheSavedFormHoldsTheKeysInOrder) {
    Game& game = playedGame();
    RefPtr<PropertyNode> node(new PropertyNode("game", "Game"));
    game.save(*node);
    EXPECT_EQ(node->getTypeName(), "GameClassic");
    std::vector<std::string> keys;
    for (const auto& child : node->getChildren()) {
        keys.push_back(child.name);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"undoCount",      "hintCount",
                                              "shuffleCount",   "removedTilesCount",
                                              "numZeroMatches", "realScore",
                                              "realTime",       "dataGatherLevelTime",
                                              "clockTime",      "timeSinceLastRestart",
                                              "hasWon",         "pressedShuffle",
                                              "pressedUndo",    "bonusesClaimed",
                                              "layout",         "layoutCopy",
                                              "level",          "undo",
                                              "randomLevels",   "lastSubmitTime"}));
    EXPECT_EQ(node->getValue("realScore")->getInt(), 30);
    EXPECT_EQ(node->getValue("lastSubmitTime")->getString(), "700");
    EXPECT_EQ(node->getVector("undo")->size(), 3U);
    EXPECT_EQ(asNode(node->getVector("undo")->at(0))->getTypeName(), "CommandRemove");
}

TEST_F(SaveTest, AResumedGameCanUndoItsLastMatch) {
    Game& game = playedGame();
    services.saveGame(2, game);
    ASSERT_TRUE(Game::resumeSaved(2));
    Game& resumed = *Game::getCurrent();
    view.removed = 0;
    resumed.undo();
    EXPECT_EQ(resumed.getLayout()->getTileCount(), 140);
    EXPECT_EQ(resumed.getScore().getValue(), 20);
    EXPECT_EQ(resumed.getScore().getShown(), 20);
    EXPECT_EQ(resumed.getUndoList().size(), 2U);
    EXPECT_EQ(view.returned, 2);
}

TEST_F(SaveTest, AGameSavedDuringAShuffleResumesWithTheNewBoard) {
    Game& game = playedGame();
    ASSERT_TRUE(game.prepareShuffle());
    std::vector<int> keys;
    game.getShuffledLayout()->forEachTile([&keys](const Tile& t) { keys.push_back(t.matchKey()); });
    services.saveGame(3, game);
    ASSERT_TRUE(Game::resumeSaved(3));
    std::vector<int> resumed;
    Game::getCurrent()->getLayout()->forEachTile(
        [&resumed](const Tile& t) { resumed.push_back(t.matchKey()); });
    EXPECT_EQ(resumed, keys);
}

// Each tile of the board as "x,y,z:suit/value", in the board's order.
std::vector<std::string> dealtFaces(const Layout& board) {
    std::vector<std::string> faces;
    board.forEachTile([&faces](const Tile& t) {
        faces.push_back(std::to_string(t.getPos().x) + "," + std::to_string(t.getPos().y) + "," +
                        std::to_string(t.getPos().z) + ":" + std::to_string(t.getSuit()) + "/" +
                        std::to_string(t.getIdx()));
    });
    return faces;
}

TEST_F(SaveTest, ARestartDealsTheFirstDealAgainAfterAShuffleOrAResume) {
    board = Layout::loadFile(fixturePath("media/levels/pyramid144.xml"), GameType::Classic, -1);
    Game& game = startClassic(board.get(), R"(gameMode="1")");
    const std::vector<std::string> dealt = dealtFaces(*game.getLayout());
    ASSERT_TRUE(removeHintedPair(game));
    ASSERT_TRUE(game.prepareShuffle());
    game.swapInShuffled();
    ASSERT_NE(dealtFaces(*game.getLayout()), dealt) << "the shuffle dealt the faces anew";

    services.saveGame(4, game);
    game.restart();
    EXPECT_EQ(dealtFaces(*game.getLayout()), dealt) << "restarted after a shuffle";

    ASSERT_TRUE(Game::resumeSaved(4));
    Game& resumed = *Game::getCurrent();
    ASSERT_NE(&resumed, &game);
    resumed.restart();
    EXPECT_EQ(dealtFaces(*resumed.getLayout()), dealt) << "restarted after a resume";
}

TEST_F(SaveTest, DamagedSavedGamesAreNotResumed) {
    struct Case {
        const char* name;
        std::function<void(PropertyNode& game)> damage;
        const char* logged;
    };
    const Case cases[] = {
        {"no level", [](PropertyNode& g) { g.removeChild("level"); }, "no level"},
        {"level of another class", [](PropertyNode& g) { g.getNode("level")->setTypeName("Tile"); },
         "not a level"},
        {"level of another game type",
         [](PropertyNode& g) { g.getNode("level")->getValue("gameType")->setString("River"); },
         "game type"},
        {"no board", [](PropertyNode& g) { g.removeChild("layout"); }, "no board"},
        {"a tile off the grid",
         [](PropertyNode& g) {
             auto* tile = asNode(g.getNode("layout")->getVector("tiles")->at(4));
             tile->getValue("x")->setString("41");
         },
         "off the grid"},
        {"a tile of no suit",
         [](PropertyNode& g) {
             auto* tile = asNode(g.getNode("layoutCopy")->getVector("tiles")->at(0));
             tile->getValue("suit")->setString("9");
         },
         "no suit has"},
        {"a board of another class",
         [](PropertyNode& g) {
             asNode(g.getNode("layout")->getVector("tiles")->at(2))->setTypeName("Sprite");
         },
         "not a tile"},
        {"an undo step of another class",
         [](PropertyNode& g) { asNode(g.getVector("undo")->at(1))->setTypeName("Level"); },
         "undo step 1"},
        {"an undo step off the grid",
         [](PropertyNode& g) {
             auto* match = asNode(g.getVector("undo")->at(0));
             asNode(match->getVector("tiles")->at(0))->getValue("y")->setString("-3");
         },
         "undo step 0"},
        {"an undo step onto a tile on the board",
         [](PropertyNode& g) {
             auto* onBoard = asNode(g.getNode("layout")->getVector("tiles")->at(0));
             auto* match = asNode(g.getVector("undo")->at(0));
             auto* tile = asNode(match->getVector("tiles")->at(0));
             for (const char* key : {"x", "y", "z"}) {
                 tile->getValue(key)->setString(onBoard->getValue(key)->getString());
             }
         },
         "onto tiles on the board"},
        {"two undo steps onto the same square",
         [](PropertyNode& g) {
             auto* first = asNode(asNode(g.getVector("undo")->at(0))->getVector("tiles")->at(0));
             auto* second = asNode(asNode(g.getVector("undo")->at(1))->getVector("tiles")->at(0));
             for (const char* key : {"x", "y", "z"}) {
                 first->getValue(key)->setString(second->getValue(key)->getString());
             }
         },
         "onto tiles on the board"},
        {"no game class", [](PropertyNode& g) { g.setTypeName("Sprite"); }, "damaged"},
    };
    Game& game = playedGame();
    for (const Case& c : cases) {
        RefPtr<PropertyStore> store(new PropertyStore());
        auto* node = static_cast<PropertyNode*>(store->add(new PropertyNode("game", "Game")));
        game.save(*node);
        c.damage(*node);
        store->setFileName(services.folder.file("saved9.xml"));
        ASSERT_TRUE(store->save()) << c.name;
        test::LogCapture log;
        EXPECT_FALSE(Game::resumeSaved(9)) << c.name;
        EXPECT_EQ(Game::getCurrent(), &game) << c.name;
        EXPECT_TRUE(log.contains(c.logged)) << c.name;
    }
    test::QuietLog quiet;
    EXPECT_FALSE(Game::resumeSaved(404));
    services.saveText(8, "<root><Integer id=\"game\">3</Integer></root>");
    EXPECT_FALSE(Game::resumeSaved(8));
    services.saveText(7, "<root><GameClassic id=\"game\"");
    EXPECT_FALSE(Game::resumeSaved(7));
    EXPECT_EQ(Game::getCurrent(), &game);
}

TEST_F(SaveTest, LevelSessionsAreKeptPerLevelWhileTheScreenShowsIt) {
    Game& game = playedGame();
    EXPECT_EQ(game.openLevelSession(), nullptr); // no usage record

    services.usage = true;
    services.player = "Bo";
    const RefPtr<PropertyNode> event = game.openLevelSession();
    const RefPtr<PropertyNode> another = game.openLevelSession();
    ASSERT_TRUE(event);
    EXPECT_NE(event, another); // outside the playing screen: a custom event each time
    EXPECT_EQ(event->getTypeName(), "OVCustomEvent");
    EXPECT_EQ(event->getChild("LevelName"), nullptr);

    view.shown = true;
    services.records.clear();
    const RefPtr<PropertyNode> session = game.openLevelSession();
    EXPECT_EQ(game.openLevelSession(), session);
    EXPECT_EQ(session->getTypeName(), "OVLevelSession");
    EXPECT_EQ(session->getValue("playerName")->getString(), "Bo");
    EXPECT_EQ(session->getValue("GameType")->getInt(), 0);
    EXPECT_EQ(session->getValue("GameMode")->getInt(), 0);
    EXPECT_TRUE(services.records.empty()); // handed over when the game ends
    Game::destroyCurrent();
    ASSERT_EQ(services.records.size(), 1U);
    EXPECT_EQ(services.records[0], session);
}

} // namespace
} // namespace orv
