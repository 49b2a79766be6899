#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/CommandMove.h"
#include "game/board/CommandRemove.h"
#include "game/board/GameClassic.h"
#include "game/board/SideBoard.h"
#include "tests/board/GameFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::GameTest;
using test::makeLayout;
using test::makeTile;
using test::parseNode;
using test::tileAt;

// A game with free cells: a side board of 3 x 1 slots, pairs by key, and
// undone side-board tiles back into their slots.
class CellGame : public Game {
public:
    CellGame() : Game(nullptr, GameType::FreeCell) {}
    bool tilesMatch(const Tile* a, const Tile* b) const override {
        return GameClassic::sameKey(a, b);
    }
    bool deal(Layout& /*layout*/, TileList& /*order*/) override { return true; }
    void sideBoardUndo(Tile& tile) override {
        SideBoard* rack = getLayout()->getSideBoard();
        rack->removeTileAt(tile.getPos().x, tile.getPos().y);
        rack->putTile(&tile, tile.getPos().x, tile.getPos().y);
    }
};

class CommandTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        board = makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {8, 0, 1}, {12, 0, 0}});
        // 1/0 twice on the left, 1/1 under a 1/2 that matches the right one.
        board->forEachTile([](Tile& tile) {
            const TilePos& pos = tile.getPos();
            tile.setFace(1, pos.x < 8 ? 0 : (pos.x == 8 && pos.z == 0 ? 1 : 2));
        });
        RefPtr<SideBoard> rack(new SideBoard(nullptr));
        rack->setDimensions(3, 1);
        board->setSideBoard(rack.get());
        game = new CellGame();
        Game::makeCurrent(game.get());
        ASSERT_TRUE(game->setDealtLevel(makeLevel(board.get(), GameType::FreeCell).get()));
    }

    // "x,y,z:suit/idx" of every grid tile, and "slot c,r:suit/idx" of
    // every side-board tile.
    std::vector<std::string> snapshot() const {
        std::vector<std::string> lines;
        board->forEachTile([&lines](const Tile& t) {
            lines.push_back(std::to_string(t.getPos().x) + "," + std::to_string(t.getPos().y) +
                            "," + std::to_string(t.getPos().z) + ":" +
                            std::to_string(t.matchKey()));
        });
        TileList parked;
        board->getSideBoard()->getTiles(parked);
        for (const RefPtr<Tile>& t : parked) {
            lines.push_back("slot " + std::to_string(t->getPos().x) + ":" +
                            std::to_string(t->matchKey()) + (t->isSideboard() ? "" : " loose"));
        }
        return lines;
    }

    RefPtr<Layout> board;
    RefPtr<CellGame> game;
};

TEST_F(CommandTest, UndoingAMatchRestoresBoardCountAndScore) {
    view.multiplier = 4;
    const std::vector<std::string> before = snapshot();
    game->getScore().reset(50);
    game->selectTile(tileAt(*board, {0, 0, 0}));
    game->selectTile(tileAt(*board, {4, 0, 0}));
    game->removeMatch();
    EXPECT_EQ(board->getTileCount(), 3);
    EXPECT_EQ(game->getScore().getValue(), 50 + 10 * 3);

    game->undo();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(board->getTileCount(), 5);
    EXPECT_EQ(game->getScore().getValue(), 50);
    EXPECT_EQ(game->getScore().getShown(), 50);
    EXPECT_EQ(view.scoreLabel, 50);
    EXPECT_EQ(view.sounds.back(), "SOUND_USE_UNDO");
    EXPECT_TRUE(game->getCounters().pressedUndo);
    EXPECT_EQ(game->getCounters().undoCount, 1);
    EXPECT_EQ(game->getCounters().lastMatchKey, -1);
    game->undo(); // nothing left: nothing happens
    EXPECT_EQ(game->getCounters().undoCount, 1);
}

TEST_F(CommandTest, UndoingMovesAndMatchesWithTheSideBoardRestoresBoth) {
    const std::vector<std::string> before = snapshot();
    // Park the top of the stack, then match it from its cell with the free
    // tile of its face.
    Tile* top = tileAt(*board, {8, 0, 1});
    game->selectTile(top);
    game->setFreeCell(2, 0);
    game->moveToFreeCell();
    EXPECT_EQ(board->getSideBoard()->getTileAt(2, 0), top);
    EXPECT_TRUE(top->isSideboard());
    EXPECT_EQ(board->getTileCount(), 4);
    const std::vector<std::string> parked = snapshot();

    game->selectTile(top);
    game->selectTile(tileAt(*board, {12, 0, 0}));
    game->removeMatch();
    EXPECT_EQ(board->getSideBoard()->countTiles(), 0);

    game->undo();
    EXPECT_EQ(snapshot(), parked);
    game->undo();
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(top->isSideboard());
    EXPECT_EQ(game->getCounters().freeCellMoves, 1);
}

TEST_F(CommandTest, AMoveBetweenCellsUndoesIntoTheCellItLeft) {
    Tile* tile = tileAt(*board, {0, 0, 0});
    game->selectTile(tile);
    game->setFreeCell(0, 0);
    game->moveToFreeCell();
    game->selectTile(tile);
    game->setFreeCell(1, 0);
    game->moveToFreeCell();
    EXPECT_EQ(board->getSideBoard()->getTileAt(1, 0), tile);
    game->undo();
    EXPECT_EQ(board->getSideBoard()->getTileAt(0, 0), tile);
    EXPECT_EQ(board->getSideBoard()->getTileAt(1, 0), nullptr);
    EXPECT_EQ(board->getTileCount(), 4);
    game->undo();
    EXPECT_EQ(tileAt(*board, {0, 0, 0}), tile);
    EXPECT_EQ(board->getTileCount(), 5);
}

TEST_F(CommandTest, AMoveIntoATakenOrMissingCellMovesNothing) {
    test::QuietLog quiet;
    Tile* first = tileAt(*board, {0, 0, 0});
    Tile* second = tileAt(*board, {4, 0, 0});
    game->selectTile(first);
    game->setFreeCell(0, 0);
    game->moveToFreeCell();
    for (const auto& [column, row] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{0, 1}}) {
        game->selectTile(second);
        game->setFreeCell(column, row);
        game->moveToFreeCell();
        EXPECT_EQ(tileAt(*board, {4, 0, 0}), second) << column << "," << row;
        game->clearSelection();
    }
    EXPECT_EQ(game->getUndoList().size(), 1U);
    EXPECT_EQ(game->getCounters().freeCellMoves, 1);
}

TEST_F(CommandTest, CommandsSaveAndComeBack) {
    RefPtr<CommandRemove> match(
        new CommandRemove(10, 3, TileList{makeTile({2, 4, 1}, 3, 2), makeTile({6, 4, 1}, 3, 2)}));
    RefPtr<PropertyNode> node(new PropertyNode("", "Command"));
    match->save(*node);
    EXPECT_EQ(node->getTypeName(), "CommandRemove");
    EXPECT_EQ(node->getValue("score")->getInt(), 30);
    RefPtr<CommandRemove> back(new CommandRemove(node.get()));
    EXPECT_TRUE(back->isIntact());
    EXPECT_EQ(back->getScore(), 30);
    EXPECT_EQ(back->getPoints(), 0);
    TileList tiles;
    back->tiles(tiles);
    ASSERT_EQ(tiles.size(), 2U);
    EXPECT_EQ(tiles[1]->getPos(), (TilePos{6, 4, 1}));

    RefPtr<Tile> parked = makeTile({1, 0, 0}, 2, 2);
    parked->setSideboard(true);
    RefPtr<CommandMove> move(new CommandMove(parked.get(), 2, 0));
    RefPtr<PropertyNode> moved(new PropertyNode("", "Command"));
    move->save(*moved);
    EXPECT_EQ(moved->getTypeName(), "CommandMove");
    RefPtr<CommandMove> again(new CommandMove(moved.get()));
    EXPECT_TRUE(again->isIntact());
    EXPECT_EQ(again->getColumn(), 2);
    EXPECT_EQ(again->getLastPos(), (TilePos{1, 0, 0}));
    EXPECT_TRUE(again->cameFromSlot());
    TileList none;
    again->tiles(none);
    EXPECT_TRUE(none.empty());
}

TEST_F(CommandTest, DamagedCommandsSayTheyAreDamaged) {
    test::QuietLog quiet;
    const std::pair<const char*, bool> cases[] = {
        {R"(<CommandRemove score="5"><Vector id="tiles"><Tile x="0" y="0" z="0" suit="1" idx="1"/></Vector></CommandRemove>)",
         true},
        {R"(<CommandRemove score="5"><Vector id="tiles"><Tile x="40" y="0" z="0"/></Vector></CommandRemove>)",
         false},
        {R"(<CommandRemove><Vector id="tiles"><Level/></Vector></CommandRemove>)", false},
        {R"(<CommandMove x="1" y="0" lx="2" ly="2" lz="0"><Tile id="tile" suit="1" idx="1"/></CommandMove>)",
         true},
        {R"(<CommandMove x="1" y="0" lx="2" ly="2" lz="9"><Tile id="tile"/></CommandMove>)", false},
        {R"(<CommandMove x="1" y="0"/>)", false},
    };
    for (const auto& [xml, intact] : cases) {
        RefPtr<PropertyNode> node = parseNode(std::string("<r>") + xml + "</r>");
        RefPtr<Command> command = node->getTypeName() == "CommandMove"
                                      ? RefPtr<Command>(new CommandMove(node.get()))
                                      : RefPtr<Command>(new CommandRemove(node.get()));
        EXPECT_EQ(command->isIntact(), intact) << xml;
    }
}

} // namespace
} // namespace orv
