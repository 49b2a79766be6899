// Speed of the level build (Google Benchmark): building a 144-tile
// five-layer Classic level (deal and grouping) seed after seed, with the
// median and 99th percentile of one build and the retry counts; the worst
// cases, a board no deal can clear and faces that cannot keep off their
// own; and the hint queries on a full board.
//
//     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCHMARKS=ON
//     -DORVANTA_TESTS=OFF cmake --build build/release --target deal_bench &&
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
#include "game/board/ShuffleRandom.h"
#include "game/board/TileManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

// 144 tiles on five layers: 12 x 6, 10 x 4, 6 x 4, then 3 x 2 and 2 x 1
// half a tile off the layers below.
RefPtr<Layout> makePyramid() {
    RefPtr<Layout> board(new Layout());
    const auto place = [&board](int x, int y, int z) {
        RefPtr<Tile> tile(new Tile(nullptr));
        board->setTileAt(tile.get(), {x, y, z});
    };
    for (int j = 0; j < 6; ++j) {
        for (int i = 0; i < 12; ++i) {
            place(2 + 2 * i, 2 + 2 * j, 0);
        }
    }
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 10; ++i) {
            place(4 + 2 * i, 4 + 2 * j, 1);
        }
        for (int i = 0; i < 6; ++i) {
            place(8 + 2 * i, 4 + 2 * j, 2);
        }
    }
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 3; ++i) {
            place(11 + 2 * i, 6 + 2 * j, 3);
        }
    }
    place(12, 7, 4);
    place(14, 7, 4);
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

} // namespace

BENCHMARK_MAIN();
