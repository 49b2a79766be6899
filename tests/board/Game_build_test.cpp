#include "engine/core/RandomGenerator.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/DealByDistance.h"
#include "game/board/GameClassic.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"
#include "tests/board/GameFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::fixturePath;
using test::GameTest;
using test::makeLayout;
using test::makeTile;
using test::tileAt;

using BuildTest = GameTest;

// A game of any type that pairs equal keys and deals the board in grid
// order; for the rules that do not depend on the type's own deal.
class TypedGame : public Game {
public:
    explicit TypedGame(GameType type) : Game(nullptr, type) {}
    bool tilesMatch(const Tile* a, const Tile* b) const override {
        return GameClassic::sameKey(a, b);
    }
    bool deal(Layout& layout, TileList& order) override {
        layout.getTiles(order);
        for (const RefPtr<Tile>& tile : order) {
            layout.removeTile(tile.get());
        }
        return true;
    }
};

// Gives the board the faces of a new deal in grid order, as a level start
// does, and builds the level.
BuildReport dealAndBuild(Game& game, Layout& board) {
    std::vector<TileDef> faces;
    TileManager::get()->distribute(board.getTileCount(), game.tilesPerMatch(),
                                   game.tilesPerMatch() == 3 ? 6 : 4, kOrdinarySuits, faces);
    EXPECT_EQ(static_cast<int>(faces.size()), board.getTileCount());
    std::size_t next = 0;
    board.forEachTile([&](Tile& tile) {
        tile.setFace(faces[next].suit, faces[next].idx);
        ++next;
    });
    return game.buildLevel(board);
}

// Plays the planned order on a copy of the board: every set must be free at
// its turn and share one key, and the board must end empty.
void expectReplayClears(const Game& game, const Layout& board, const BuildReport& report,
                        const std::string& what) {
    RefPtr<Layout> copy(new Layout(board));
    const auto perMatch = static_cast<std::size_t>(game.tilesPerMatch());
    ASSERT_EQ(report.order.size() % perMatch, 0U) << what;
    for (std::size_t i = 0; i < report.order.size(); i += perMatch) {
        std::vector<Tile*> set;
        for (std::size_t j = i; j < i + perMatch; ++j) {
            Tile* tile = tileAt(*copy, report.order[j]->getPos());
            ASSERT_NE(tile, nullptr) << what << ", set " << i / perMatch;
            EXPECT_TRUE(copy->isTileFree(*tile, FreeTileRule::Standard))
                << what << ", set " << i / perMatch;
            EXPECT_EQ(tile->matchKey(), report.order[i]->matchKey()) << what;
            set.push_back(tile);
        }
        for (Tile* tile : set) {
            copy->removeTile(tile);
        }
    }
    EXPECT_EQ(copy->getTileCount(), 0) << what;
}

// Whether a tile lies directly on or under a tile of its own key.
bool hasStackedTwins(const Layout& board) {
    bool stacked = false;
    board.forEachTile([&](const Tile& tile) {
        const TilePos& p = tile.getPos();
        for (const int z : {p.z - 1, p.z + 1}) {
            for (const auto& [dx, dy] :
                 std::array<std::pair<int, int>, 4>{{{0, 0}, {1, 0}, {0, 1}, {1, 1}}}) {
                const Tile* other = board.getGridCell(p.x + dx, p.y + dy, z);
                stacked = stacked || (other != nullptr && other->matchKey() == tile.matchKey());
            }
        }
    });
    return stacked;
}

TEST_F(BuildTest, EveryDealCanBeClearedInItsPlannedOrder) {
    struct Case {
        const char* file;
        int seeds;
        const char* distances;
    };
    const Case cases[] = {
        {"media/levels/pyramid144.xml", 60, R"(tileDistMin="1" tileDistMax="4")"},
        {"media/levels/pyramid144.xml", 40, R"(tileDistMin="8" tileDistMax="30")"},
        {"media/levels/pyramid144.xml", 20, R"(tileDistMin="0" tileDistMax="0")"},
        {"media/levels/small.xml", 150, R"(tileDistMin="2" tileDistMax="6")"},
        {"media/levels/halfoffset.xml", 150, R"(tileDistMin="1" tileDistMax="3")"},
        {"media/levels/sideboard.xml", 80, R"(tileDistMin="3" tileDistMax="4")"},
    };
    for (const Case& c : cases) {
        for (int seed = 0; seed < c.seeds; ++seed) {
            RandomGenerator::createInstance(static_cast<std::uint32_t>(seed), 0);
            ShuffleRandom::seed(static_cast<std::uint32_t>(seed) * 7919U);
            RefPtr<Layout> board = Layout::loadFile(fixturePath(c.file), GameType::Classic, -1);
            Game* game = Game::create(GameType::Classic);
            ASSERT_TRUE(
                game->setDealtLevel(makeLevel(board.get(), GameType::Classic, c.distances).get()));
            const BuildReport report = dealAndBuild(*game, *board);
            const std::string what =
                std::string(c.file) + " " + c.distances + ", seed " + std::to_string(seed);
            EXPECT_LT(report.numNotSolvable, Game::kDealAttempts) << what;
            EXPECT_EQ(static_cast<int>(report.order.size()), board->getTileCount()) << what;
            expectReplayClears(*game, *board, report, what);
            if (hasStackedTwins(*board)) {
                EXPECT_TRUE(report.levelBuildProblem) << what;
            }
        }
    }
}

TEST_F(BuildTest, TheSameSeedsGiveTheSameDeal) {
    std::vector<std::vector<int>> deals;
    for (int run = 0; run < 2; ++run) {
        RandomGenerator::createInstance(31337, 0);
        ShuffleRandom::seed(42);
        RefPtr<Layout> board =
            Layout::loadFile(fixturePath("media/levels/pyramid144.xml"), GameType::Classic, -1);
        Game& game = startClassic(board.get());
        (void)game;
        std::vector<int> keys;
        board->forEachTile([&keys](const Tile& tile) { keys.push_back(tile.matchKey()); });
        deals.push_back(keys);
    }
    EXPECT_EQ(deals[0], deals[1]);
}

TEST_F(BuildTest, AGoodBuildIsRecordedWithoutProblems) {
    services.usage = true;
    services.player = "Ann";
    RefPtr<Layout> board = makeLayout({{0, 0, 0}, {4, 0, 0}});
    startClassic(board.get());
    ASSERT_EQ(services.records.size(), 1U);
    const PropertyNode& record = *services.records[0];
    EXPECT_EQ(record.getTypeName(), "OVCustomEvent");
    std::vector<std::string> keys;
    for (const auto& child : record.getChildren()) {
        keys.push_back(child.name);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"playerName", "numNotSolvable", "numStackingProblem",
                                              "levelBuildProblem"}));
    EXPECT_EQ(record.getValue("numNotSolvable")->getInt(), 0);
    EXPECT_EQ(record.getValue("numStackingProblem")->getInt(), 0);
    EXPECT_EQ(record.getValue("levelBuildProblem")->getString(), "false");
}

TEST_F(BuildTest, ABoardNoDealClearsIsStillDealtInGridOrder) {
    // The upper tile is the only free one, ever: every deal fails.
    RefPtr<Layout> tower =
        makeLayout({{0, 0, 0}, {0, 0, 1}, {6, 0, 0}, {6, 0, 1}, {6, 0, 2}, {6, 0, 3}});
    Game& game = startClassic(tower.get());
    const BuildReport report = game.buildLevel(*tower);
    // Each failed deal places four tiles: the work budget ends the tries.
    EXPECT_EQ(report.numNotSolvable, Game::kDealWorkBudget / 5);
    EXPECT_TRUE(report.levelBuildProblem);
    EXPECT_EQ(tower->getTileCount(), 6);
    ASSERT_EQ(report.order.size(), 6U);
    TileList grid;
    tower->getTiles(grid);
    for (std::size_t i = 0; i < grid.size(); i += 2) {
        EXPECT_EQ(report.order[i], grid[i]);
        EXPECT_EQ(grid[i]->matchKey(), grid[i + 1]->matchKey()) << i;
    }
}

TEST_F(BuildTest, FacesThatCannotKeepOffTheirOwnKeepTheBestGroupingAndSaySo) {
    // Two towers of two with every face of one suit that matches by suit:
    // each tower holds two tiles of one key, whatever the grouping.
    RefPtr<Layout> towers = makeLayout({{0, 0, 0}, {0, 0, 1}, {4, 0, 0}, {4, 0, 1}});
    towers->forEachTile([](Tile& tile) { tile.setFace(5, tile.getPos().x / 4); });
    Game* game = Game::create(GameType::Classic);
    ASSERT_TRUE(game->setDealtLevel(makeLevel(towers.get()).get()));
    const BuildReport report = game->buildLevel(*towers);
    EXPECT_EQ(report.numNotSolvable, 0);
    EXPECT_EQ(report.numStackingProblem, Game::kGroupingPasses);
    EXPECT_TRUE(report.levelBuildProblem);
    expectReplayClears(*game, *towers, report, "towers");
}

TEST_F(BuildTest, TheGroupingsOfABigBoardStopAtTheWorkBudget) {
    // Towers of two tiles of one face: every grouping puts a face on its
    // own, so every pass the budget allows is made.
    for (const int towers : {2, 20, 50}) {
        RefPtr<Layout> board(new Layout());
        for (int i = 0; i < towers; ++i) {
            for (const int z : {0, 1}) {
                const TilePos pos{(i % 10) * 4, (i / 10) * 4, z};
                ASSERT_TRUE(board->setTileAt(makeTile(pos, 2, 2).get(), pos));
            }
        }
        Game* game = Game::create(GameType::Classic);
        ASSERT_TRUE(game->setDealtLevel(makeLevel(board.get()).get()));
        const BuildReport report = game->buildLevel(*board);
        const long expected = std::min(Game::kGroupingWorkBudget / (2L * towers),
                                       static_cast<long>(Game::kGroupingPasses));
        EXPECT_EQ(report.numStackingProblem, expected) << towers << " towers";
        EXPECT_EQ(report.numNotSolvable, 0) << towers << " towers";
        EXPECT_TRUE(report.levelBuildProblem);
        expectReplayClears(*game, *board, report, std::to_string(towers) + " towers");
    }
}

TEST_F(BuildTest, GameTypesWithoutTheStackingTestSkipIt) {
    RefPtr<Layout> towers = makeLayout({{0, 0, 0}, {0, 0, 1}, {4, 0, 0}, {4, 0, 1}});
    towers->forEachTile([](Tile& tile) { tile.setFace(5, 0); });
    RefPtr<TypedGame> river(new TypedGame(GameType::River));
    ASSERT_TRUE(river->setDealtLevel(makeLevel(towers.get(), GameType::River).get()));
    const BuildReport report = river->buildLevel(*towers);
    EXPECT_EQ(report.numStackingProblem, 0);
    EXPECT_FALSE(report.levelBuildProblem);
}

TEST_F(BuildTest, LevelsThatCannotBeDealtAreRefused) {
    test::LogCapture log;
    Game* game = Game::create(GameType::Classic);
    EXPECT_FALSE(game->setLevel(nullptr));
    RefPtr<Level> noBoard = makeLevel(nullptr);
    EXPECT_FALSE(game->setLevel(noBoard.get()));
    // A layout file that cannot be read gives an empty board, never won.
    RefPtr<Level> emptyBoard = makeLevel(
        Layout::loadFile(fixturePath("media/levels/missing.xml"), GameType::Classic, -1).get(),
        GameType::Classic, R"(layout="missing.xml")");
    EXPECT_FALSE(game->setLevel(emptyBoard.get()));
    EXPECT_TRUE(log.contains("missing.xml (TEXT_LAYOUT_NONAME) holds no tiles"));

    // 142 tiles: the distribution leaves two tiles without a face.
    RefPtr<Layout> board =
        Layout::loadFile(fixturePath("media/levels/pyramid144.xml"), GameType::Classic, -1);
    board->removeTile(tileAt(*board, {12, 7, 4}));
    board->removeTile(tileAt(*board, {14, 7, 4}));
    RefPtr<Level> level = makeLevel(board.get(), GameType::Classic, R"(layout="short.xml")");
    EXPECT_FALSE(game->setLevel(level.get()));
    EXPECT_TRUE(log.contains("short.xml"));
    EXPECT_TRUE(log.contains("cannot be dealt"));
    EXPECT_EQ(game->getLevel(), nullptr);
    EXPECT_EQ(game->getLayout(), nullptr);

    // A side-board game type on a layout without a side board.
    RefPtr<TypedGame> split(new TypedGame(GameType::Split));
    RefPtr<Layout> plain = makeLayout({{0, 0, 0}, {4, 0, 0}});
    plain->setDisplayName("Plain");
    EXPECT_FALSE(
        split->setLevel(makeLevel(plain.get(), GameType::Split, R"(layout="plain.xml")").get()));
    EXPECT_TRUE(log.contains("plain.xml (Plain) has no side board"));
}

TEST_F(BuildTest, AShuffleDealsACopyAndKeepsTheProgress) {
    RefPtr<Layout> board =
        Layout::loadFile(fixturePath("media/levels/pyramid144.xml"), GameType::Classic, -1);
    Game& game = startClassic(board.get());
    // Take a few pairs off, as play would.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(removeHintedPair(game));
    }
    ASSERT_TRUE(game.prepareShuffle());
    Layout* shuffled = game.getShuffledLayout();
    ASSERT_NE(shuffled, nullptr);
    EXPECT_EQ(shuffled->getTileCount(), 138);
    EXPECT_EQ(shuffled->getOriginalTileCount(), 144);
    game.swapInShuffled();
    EXPECT_EQ(game.getLayout(), shuffled);
    EXPECT_EQ(game.getLevel()->getLayout(), shuffled);
    EXPECT_EQ(game.getShuffledLayout(), nullptr);
    EXPECT_GT(game.availableMatches(), 0);
}

TEST(DealByDistanceTest, PartnersAreTheNearestAtTheTargetDistanceOrTheFarthest) {
    // Tiles 4, 12, 14 and 16 cells right of the first; the one at 14 is
    // blocked between its neighbours.
    RefPtr<Layout> row(new Layout());
    const std::array<TilePos, 5> places{{{0, 0, 0}, {4, 0, 0}, {12, 0, 0}, {14, 0, 0}, {16, 0, 0}}};
    for (const TilePos& pos : places) {
        ASSERT_TRUE(row->setTileAt(makeTile(pos).get(), pos));
    }
    struct Case {
        int distance;
        int partnerX;
    };
    const Case cases[] = {{1, 4}, {4, 4}, {5, 12}, {13, 16}, {17, 16}, {40, 16}};
    for (const Case& c : cases) {
        DealByDistance dealer(*row, FreeTileRule::Standard, 0, 0);
        Tile* first = row->getGridCell(0, 0, 0);
        dealer.sortByDistance(*first);
        const Tile* partner = dealer.findPartner(c.distance, {});
        ASSERT_NE(partner, nullptr);
        EXPECT_EQ(partner->getPos().x, c.partnerX) << c.distance;
    }
}

TEST(DealByDistanceTest, TheTargetDistanceIsDrawnBelowTheMaximumAndAtLeastOne) {
    RefPtr<Layout> empty(new Layout());
    struct Case {
        int min, max;
        int low, high; // the drawn distance lies in [low, high]
    };
    const Case cases[] = {{0, 0, 1, 1}, {3, 4, 3, 3}, {9, 2, 2, 2}, {-5, 0, 1, 1}, {2, 6, 2, 5}};
    for (const Case& c : cases) {
        const DealByDistance dealer(*empty, FreeTileRule::Standard, c.min, c.max);
        for (int i = 0; i < 50; ++i) {
            const int distance = dealer.drawTargetDistance();
            EXPECT_GE(distance, c.low) << c.min << ".." << c.max;
            EXPECT_LE(distance, c.high) << c.min << ".." << c.max;
        }
    }
}

TEST_F(BuildTest, TheClassicDealPairsFreeTilesAndFailsOnAnOddCount) {
    RefPtr<GameClassic> game(new GameClassic(nullptr));
    TileList order;
    RefPtr<Layout> empty(new Layout());
    EXPECT_TRUE(game->deal(*empty, order));
    EXPECT_TRUE(order.empty());

    RefPtr<Layout> two = makeLayout({{0, 0, 0}, {10, 4, 2}});
    EXPECT_TRUE(game->deal(*two, order));
    EXPECT_EQ(order.size(), 2U);
    EXPECT_EQ(two->getTileCount(), 0); // taken off; the build puts them back

    order.clear();
    RefPtr<Layout> three = makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}});
    EXPECT_FALSE(game->deal(*three, order));
    EXPECT_EQ(order.size(), 2U); // the pair dealt before it got stuck stays
}

} // namespace
} // namespace orv
