// Speed of the level build (Google Benchmark): building a 144-tile
// five-layer Classic level (deal and grouping) seed after seed, with the
// median and 99th percentile of one build and the retry counts; the worst
// cases, a board no deal can clear and faces that cannot keep off their
// own; and the hint queries on a full board. Then the other game types:
// Triple, FreeCell, Split and Speed (eight slots) on the same board, River
// on 100 tiles in three layers with its path searches per layer, a
// mid-game shuffle at about 30 tiles for each type (FreeCell with parked
// tiles), and River's match test on a full board.
//
//     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCHMARKS=ON
//           -DORVANTA_TESTS=OFF
//     cmake --build build/release --target deal_bench
//     build/release/bench/deal_bench

#include "engine/core/NodeClasses.h"
#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/SceneClasses.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/GameClassic.h"
#include "game/board/GameRiver.h"
#include "game/board/GameSpeed.h"
#include "game/board/GameSplit.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"
#include "game/board/TileManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace orv;

// Classes registered and the game's suits read from its property file, once.
void setUpWorld() {
    static const bool done = [] {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerBoardClasses();
        BasicProperties::create();
        RefPtr<PropertyStore> store(new PropertyStore());
        if (!store->load(std::string(ORVANTA_MEDIA_SOURCE) + "/properties/mahjong.xml")) {
            std::fprintf(stderr, "deal_bench: the suits cannot be read\n");
            std::exit(1);
        }
        TileManager::setInstance(new TileManager(store->getVector("suitDefs")));
        return true;
    }();
    (void)done;
}

// Places a block of `columns` x `rows` tiles on layer `z`, its first tile at
// (x, y), neighbours two cells apart.
void placeBlock(Layout& board, int x, int y, int z, int columns, int rows) {
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            RefPtr<Tile> tile(new Tile(nullptr));
            board.setTileAt(tile.get(), {x + 2 * i, y + 2 * j, z});
        }
    }
}

// 144 tiles on five layers: 12 x 6, 10 x 4, 6 x 4, then 3 x 2 and 2 x 1
// half a tile off the layers below.
RefPtr<Layout> makePyramid() {
    RefPtr<Layout> board(new Layout());
    placeBlock(*board, 2, 2, 0, 12, 6);
    placeBlock(*board, 4, 4, 1, 10, 4);
    placeBlock(*board, 8, 4, 2, 6, 4);
    placeBlock(*board, 11, 6, 3, 3, 2);
    placeBlock(*board, 12, 7, 4, 2, 1);
    board->setOriginalTileCount(board->getTileCount());
    return board;
}

RefPtr<Level> classicLevel(Layout* board) {
    RefPtr<PropertyStore> store(new PropertyStore());
    (void)store->loadText(R"(<r><Level gameType="Classic" pointsPerMatch="10" tileDistMin="1"
                                tileDistMax="6" isSaveGame="x"/></r>)");
    RefPtr<Level> level(new Level(asNode(store->getChildren().front().property.get())));
    level->setLayout(board);
    return level;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

void BM_BuildClassicLevel(benchmark::State& state) {
    setUpWorld();
    std::vector<double> micros;
    double notSolvable = 0;
    double stacking = 0;
    int worstNotSolvable = 0;
    int worstStacking = 0;
    std::uint32_t seed = 0;
    for (auto _ : state) {
        ++seed;
        RandomGenerator::createInstance(seed, 0);
        ShuffleRandom::seed(seed * 2654435761U);
        RefPtr<Layout> board = makePyramid();
        RefPtr<Level> level = classicLevel(board.get());
        Game* game = Game::create(GameType::Classic);
        const auto start = std::chrono::steady_clock::now();
        const bool dealt = game->setLevel(level.get());
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (!dealt) {
            state.SkipWithError("the board was refused");
            break;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        const BuildReport& report = game->getLastBuild();
        notSolvable += report.numNotSolvable;
        stacking += report.numStackingProblem;
        worstNotSolvable = std::max(worstNotSolvable, report.numNotSolvable);
        worstStacking = std::max(worstStacking, report.numStackingProblem);
    }
    if (!micros.empty()) {
        const auto count = static_cast<double>(micros.size());
        state.counters["median_us"] = percentile(micros, 0.5);
        state.counters["p99_us"] = percentile(micros, 0.99);
        state.counters["worst_us"] = percentile(micros, 1.0);
        state.counters["mean_notSolvable"] = notSolvable / count;
        state.counters["worst_notSolvable"] = worstNotSolvable;
        state.counters["mean_stacking"] = stacking / count;
        state.counters["worst_stacking"] = worstStacking;
    }
    Game::destroyCurrent();
}
BENCHMARK(BM_BuildClassicLevel)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Builds `board` with `game` once per iteration, showing the retry counts;
// retires the game at the end.
void rebuildRepeatedly(benchmark::State& state, Game& game, Layout& board) {
    for (auto _ : state) {
        const BuildReport report = game.buildLevel(board);
        benchmark::DoNotOptimize(report.numNotSolvable);
        state.counters["notSolvable"] = report.numNotSolvable;
        state.counters["stacking"] = report.numStackingProblem;
    }
    Game::destroyCurrent();
}

// A Classic game that tries the deal whatever the board's count, so that a
// board of 143 tiles shows the worst deal there is: every attempt fails in
// its last pass.
class EveryDealTried : public GameClassic {
public:
    EveryDealTried() : GameClassic(nullptr) {}
    [[nodiscard]] bool dealCanSucceed(const Layout& /*board*/) const override { return true; }
};

// Builds a board of 143 tiles (faces one short of full pairs, as the
// shuffle of a damaged board might hold) with `game`.
void buildUnclearable(benchmark::State& state, Game* game) {
    setUpWorld();
    RandomGenerator::createInstance(7, 0);
    ShuffleRandom::seed(7);
    RefPtr<Layout> board = makePyramid();
    RefPtr<Level> level = classicLevel(board.get());
    Game::makeCurrent(game);
    if (!game->setLevel(level.get())) {
        state.SkipWithError("the board was refused");
        return;
    }
    board->removeTile(board->getGridCell(12, 7, 4));
    rebuildRepeatedly(state, *game, *board);
}

void BM_BuildUnclearableBoard(benchmark::State& state) {
    buildUnclearable(state, new GameClassic(nullptr));
}
BENCHMARK(BM_BuildUnclearableBoard)->Unit(benchmark::kMillisecond);

void BM_BuildEveryDealFailsLate(benchmark::State& state) {
    buildUnclearable(state, new EveryDealTried());
}
BENCHMARK(BM_BuildEveryDealFailsLate)->Unit(benchmark::kMillisecond);

// A full board whose faces all match one another (one suit that matches by
// suit): every grouping puts a face on its own, so all passes of the
// grouping run, the later ones with the count of available matches.
void BM_BuildInseparableFaces(benchmark::State& state) {
    setUpWorld();
    RandomGenerator::createInstance(9, 0);
    ShuffleRandom::seed(9);
    RefPtr<Layout> board = makePyramid();
    board->forEachTile([](Tile& tile) { tile.setFace(kFirstBonusSuit, 0); });
    RefPtr<Level> level = classicLevel(board.get());
    Game* game = Game::create(GameType::Classic);
    if (!game->setDealtLevel(level.get())) {
        state.SkipWithError("the board was refused");
        return;
    }
    rebuildRepeatedly(state, *game, *board);
}
BENCHMARK(BM_BuildInseparableFaces)->Unit(benchmark::kMillisecond);

// The hint queries on a full dealt board.
template <class Query>
void runOnFullBoard(benchmark::State& state, Query query) {
    setUpWorld();
    RandomGenerator::createInstance(11, 0);
    ShuffleRandom::seed(11);
    RefPtr<Layout> board = makePyramid();
    RefPtr<Level> level = classicLevel(board.get());
    Game* game = Game::create(GameType::Classic);
    if (!game->setLevel(level.get())) {
        state.SkipWithError("the board was refused");
        return;
    }
    for (auto _ : state) {
        query(*game);
    }
    Game::destroyCurrent();
}

void BM_AvailableMatches(benchmark::State& state) {
    runOnFullBoard(state, [](Game& game) { benchmark::DoNotOptimize(game.availableMatches()); });
}
BENCHMARK(BM_AvailableMatches)->Unit(benchmark::kMicrosecond);

void BM_PickHint(benchmark::State& state) {
    runOnFullBoard(state, [](Game& game) {
        TileList hint;
        benchmark::DoNotOptimize(game.pickHint(hint));
    });
}
BENCHMARK(BM_PickHint)->Unit(benchmark::kMicrosecond);

// ---- the other game types ------------------------------------------------------

// 100 tiles on three layers: 10 x 6, then 8 x 4 and 4 x 2 half a tile down
// and to the right of the layers below.
RefPtr<Layout> makeRiverBoard() {
    RefPtr<Layout> board(new Layout());
    placeBlock(*board, 2, 2, 0, 10, 6);
    placeBlock(*board, 5, 5, 1, 8, 4);
    placeBlock(*board, 10, 8, 2, 4, 2);
    board->setOriginalTileCount(board->getTileCount());
    return board;
}

// The pyramid with a side board of four by two slots.
RefPtr<Layout> makeRackedPyramid() {
    RefPtr<Layout> board = makePyramid();
    RefPtr<SideBoard> rack(new SideBoard(nullptr));
    rack->setDimensions(4, 2);
    board->setSideBoard(rack.get());
    return board;
}

RefPtr<Level> levelOf(GameType type, Layout* board) {
    RefPtr<PropertyStore> store(new PropertyStore());
    (void)store->loadText(std::string(R"(<r><Level gameType=")") + std::string(gameTypeName(type)) +
                          R"(" pointsPerMatch="10" tileDistMin="1" tileDistMax="6"
                               firstHand="2" secondHand="1" thirdHand="1" isSaveGame="x"/></r>)");
    RefPtr<Level> level(new Level(asNode(store->getChildren().front().property.get())));
    level->setLayout(board);
    return level;
}

// Builds a level of `type` on a new board from `makeBoard` seed after seed,
// with the median and 99th percentile of one build, the failed deals, and
// for River the path searches of the successful deal per layer.
template <class MakeBoard>
void buildSeedAfterSeed(benchmark::State& state, GameType type, MakeBoard makeBoard) {
    setUpWorld();
    std::vector<double> micros;
    double notSolvable = 0;
    int problems = 0;
    std::array<double, Layout::kLayers> searches{};
    std::uint32_t seed = 0;
    for (auto _ : state) {
        ++seed;
        RandomGenerator::createInstance(seed, 0);
        ShuffleRandom::seed(seed * 2654435761U);
        RefPtr<Layout> board = makeBoard();
        RefPtr<Level> level = levelOf(type, board.get());
        Game* game = Game::create(type);
        const auto start = std::chrono::steady_clock::now();
        const bool dealt = game->setLevel(level.get());
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (!dealt) {
            state.SkipWithError("the board was refused");
            break;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        notSolvable += game->getLastBuild().numNotSolvable;
        problems += game->getLastBuild().levelBuildProblem ? 1 : 0;
        if (const auto* river = kindCast<GameRiver>(game)) {
            for (std::size_t z = 0; z < searches.size(); ++z) {
                searches.at(z) += river->getDealSearches().at(z);
            }
        }
    }
    if (!micros.empty()) {
        const auto count = static_cast<double>(micros.size());
        state.counters["median_us"] = percentile(micros, 0.5);
        state.counters["p99_us"] = percentile(micros, 0.99);
        state.counters["worst_us"] = percentile(micros, 1.0);
        state.counters["mean_notSolvable"] = notSolvable / count;
        state.counters["buildProblems"] = problems;
        if (type == GameType::River) {
            for (std::size_t z = 0; z < 3; ++z) {
                state.counters["searches_z" + std::to_string(z)] = searches.at(z) / count;
            }
        }
    }
    Game::destroyCurrent();
}

void BM_BuildTripleLevel(benchmark::State& state) {
    buildSeedAfterSeed(state, GameType::Triple, makePyramid);
}
BENCHMARK(BM_BuildTripleLevel)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BuildFreeCellLevel(benchmark::State& state) {
    buildSeedAfterSeed(state, GameType::FreeCell, makeRackedPyramid);
}
BENCHMARK(BM_BuildFreeCellLevel)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BuildRiverLevel(benchmark::State& state) {
    buildSeedAfterSeed(state, GameType::River, makeRiverBoard);
}
BENCHMARK(BM_BuildRiverLevel)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BuildSplitLevel(benchmark::State& state) {
    buildSeedAfterSeed(state, GameType::Split, makeRackedPyramid);
}
BENCHMARK(BM_BuildSplitLevel)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_BuildSpeedLevel(benchmark::State& state) {
    buildSeedAfterSeed(state, GameType::Speed, makeRackedPyramid);
}
BENCHMARK(BM_BuildSpeedLevel)->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Plays the planned order of a new `type` game through the click road until
// about `left` tiles are left; FreeCell then parks a matching pair and one
// more tile. Null when the level was refused.
Game* playDown(GameType type, int left) {
    RandomGenerator::createInstance(21, 0);
    ShuffleRandom::seed(21);
    RefPtr<Layout> board = type == GameType::River ? makeRiverBoard() : makeRackedPyramid();
    Game* game = Game::create(type);
    if (!game->setLevel(levelOf(type, board.get()).get())) {
        return nullptr;
    }
    const TileList order = game->getLastBuild().order;
    const bool twins = type == GameType::Split || type == GameType::Speed;
    const auto setSize = static_cast<std::size_t>(twins ? 1 : game->tilesPerMatch());
    const int stop = type == GameType::FreeCell ? left + 3 : left;
    for (std::size_t i = 0; i + setSize <= order.size() && board->getTileCount() > stop;
         i += setSize) {
        TileList set(order.begin() + static_cast<std::ptrdiff_t>(i),
                     order.begin() + static_cast<std::ptrdiff_t>(i + setSize));
        if (type == GameType::Speed) {
            TileList hint;
            if (!game->pickHint(hint)) {
                break;
            }
            set = {hint[1]};
        }
        game->clearSelection();
        for (std::size_t j = 0; j + 1 < set.size(); ++j) {
            game->selectTile(set[j].get());
        }
        game->setClickedTile(set.back().get());
        game->setPendingAction(PendingAction::Match);
        game->runPendingAction();
    }
    if (type == GameType::FreeCell) {
        TileList hint;
        TileList free;
        board->getFreeTiles(free, FreeTileRule::Standard);
        if (game->pickHint(hint)) {
            const auto other = std::find_if(free.begin(), free.end(), [&](const RefPtr<Tile>& t) {
                return t->matchKey() != hint[0]->matchKey();
            });
            if (other != free.end()) {
                hint.push_back(*other);
            }
            for (std::size_t i = 0; i < hint.size(); ++i) {
                game->clearSelection();
                game->selectTile(hint[i].get());
                game->setFreeCell(static_cast<int>(i), 0);
                game->moveToFreeCell();
            }
        }
    }
    return game;
}

void BM_ShuffleMidGame(benchmark::State& state) {
    setUpWorld();
    const auto type = static_cast<GameType>(state.range(0));
    Game* game = playDown(type, 30);
    if (game == nullptr) {
        state.SkipWithError("the board was refused");
        return;
    }
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        (void)game->prepareShuffle();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    state.counters["tiles"] = game->getLayout()->getTileCount();
    const SideBoard* rack = game->getLayout()->getSideBoard();
    state.counters["parked"] =
        type == GameType::FreeCell && rack != nullptr ? rack->countTiles() : 0;
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["buildProblem"] = game->getLastBuild().levelBuildProblem ? 1 : 0;
    Game::destroyCurrent();
}
BENCHMARK(BM_ShuffleMidGame)
    ->ArgName("type")
    ->DenseRange(0, 5)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// River's match test on a full board: two free tiles at the top corners of
// the bottom layer, given one face, joined over the margin; and the count of
// available matches.
void BM_RiverTilesMatch(benchmark::State& state) {
    setUpWorld();
    RandomGenerator::createInstance(13, 0);
    ShuffleRandom::seed(13);
    RefPtr<Layout> board = makeRiverBoard();
    Game* game = Game::create(GameType::River);
    if (!game->setLevel(levelOf(GameType::River, board.get()).get())) {
        state.SkipWithError("the board was refused");
        return;
    }
    Tile* a = board->getGridCell(2, 2, 0);
    Tile* b = board->getGridCell(20, 2, 0);
    b->setFace(a->getSuit(), a->getIdx(), a->getMatchType());
    bool joined = false;
    for (auto _ : state) {
        joined = game->tilesMatch(a, b);
        benchmark::DoNotOptimize(joined);
    }
    state.counters["joined"] = joined ? 1 : 0;
    Game::destroyCurrent();
}
BENCHMARK(BM_RiverTilesMatch)->Unit(benchmark::kMicrosecond);

void BM_RiverAvailableMatches(benchmark::State& state) {
    setUpWorld();
    RandomGenerator::createInstance(13, 0);
    ShuffleRandom::seed(13);
    RefPtr<Layout> board = makeRiverBoard();
    Game* game = Game::create(GameType::River);
    if (!game->setLevel(levelOf(GameType::River, board.get()).get())) {
        state.SkipWithError("the board was refused");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(game->availableMatches());
    }
    Game::destroyCurrent();
}
BENCHMARK(BM_RiverAvailableMatches)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
