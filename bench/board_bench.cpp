// How long the board renderer takes for the things it does every frame, on a
// full board of 144 tiles on five layers at the game's metrics
// (media/properties/mahjong.xml), with pictures of the tile art's sizes:
//
// - FullFlush: every layer repaired over the whole screen, as a shuffle or a
//   change of the whole board does every frame. Goal: under 4 ms.
// - HoverChange: the hover tint moving from one tile to the next. Goal: at
//   least 20 times cheaper than a full flush.
// - PairFade: one frame of the fade of a matched pair.
// - DarkenSwell: one frame of darkening mode's worst case, about 100 tiles
//   swelling at once.
// - Composite: the background and the finished board drawn into an
//   800 x 600 back buffer, at 32 and (under "16/") 16 bits. Goal: under 2 ms.
// - RectangleUnion/N: the disjoint cover of N scattered tile-sized rectangles.
//
//     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCHMARKS=ON
//           -DORVANTA_TESTS=OFF
//     cmake --build build/release --target board_bench
//     build/release/bench/board_bench --benchmark_repetitions=5
//           --benchmark_report_aggregates_only=true
#include "bench/support/BenchBoard.h"
#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageManager.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/Sprite.h"
#include "game/board/Tile.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RectangleUnion.h"
#include "game/screen/RenderTile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using namespace orv;
using namespace orv::bench;

// The background and the board, flushed once, with every picture in the
// display's format of `bytesPerPixel` (4 or 2).
struct Board {
    RefPtr<GameNode> root{new GameNode()};
    RefPtr<Layout> layout = fullBoard();
    RefPtr<LayoutRenderer> renderer;
    int bytesPerPixel;

    explicit Board(int bytes = 4) : bytesPerPixel(bytes) {
        setUpConstants("board_bench");
        GameTree::appendChild(new Sprite(0, 0, picture(kWidth, kHeight, false, 4).get()),
                              root.get());
        renderer = new LayoutRenderer(gameLook().get());
        renderer->build(*layout, TileList());
        renderer->setPosition(60, 80);
        GameTree::appendChild(renderer.get(), root.get());
        renderer->flush();
        if (bytesPerPixel != 4) {
            ImageManager::getInstance()->setPixelFormatAll(bytesPerPixel);
            renderer->addDirtyRect(LayoutRenderer::kScreenRect);
            renderer->flush();
        }
    }
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;
    ~Board() {
        if (bytesPerPixel != 4) {
            ImageManager::getInstance()->setPixelFormatAll(4);
        }
    }

    // Every tile of the board, in grid order.
    [[nodiscard]] std::vector<Tile*> tiles() const {
        std::vector<Tile*> out;
        layout->forEachTile([&out](Tile& tile) { out.push_back(&tile); });
        return out;
    }
};

void fullFlush(benchmark::State& state) {
    Board board;
    for (auto _ : state) {
        board.renderer->addDirtyRect(LayoutRenderer::kScreenRect);
        board.renderer->flush();
    }
}

void hoverChange(benchmark::State& state) {
    Board board;
    // Two free tiles of the top layers, side by side.
    Tile* a = board.layout->getGridCell(10, 4, 4);
    Tile* b = board.layout->getGridCell(12, 4, 4);
    for (auto _ : state) {
        board.renderer->startTilePlain(*a);
        board.renderer->startTileHover(*b);
        board.renderer->updateSelf(16);
        board.renderer->flush();
        std::swap(a, b);
    }
}

void pairFade(benchmark::State& state) {
    Board board;
    Tile* a = board.layout->getGridCell(10, 4, 4);
    Tile* b = board.layout->getGridCell(0, 0, 0);
    const auto restart = [&board, a, b] {
        for (Tile* tile : {a, b}) {
            board.renderer->addRenderTile(*board.renderer->renderTileFor(*tile));
            board.renderer->startTileFade(*tile, 1);
        }
        board.renderer->flush();
    };
    restart();
    int frames = 0;
    for (auto _ : state) {
        board.renderer->updateSelf(16);
        board.renderer->flush();
        if (++frames == 20) {
            state.PauseTiming();
            frames = 0;
            restart();
            state.ResumeTiming();
        }
    }
}

void darkenSwell(benchmark::State& state) {
    Board board;
    std::vector<Tile*> tiles = board.tiles();
    tiles.resize(100);
    const auto restart = [&board, &tiles] {
        for (Tile* tile : tiles) {
            board.renderer->startTileSwell(*tile);
        }
        board.renderer->flush();
    };
    restart();
    int frames = 0;
    for (auto _ : state) {
        board.renderer->updateSelf(16);
        board.renderer->flush();
        if (++frames == 10) {
            state.PauseTiming();
            frames = 0;
            restart();
            state.ResumeTiming();
        }
    }
}

void composite(benchmark::State& state, int format) {
    Board board(format == kFormatRgb565 ? 2 : 4);
    RefPtr<Image> target = createImage(kWidth, kHeight, format);
    RefPtr<Graphics> graphics = createGraphics(*target);
    for (auto _ : state) {
        RenderTask::renderNode(*graphics, board.root.get());
        benchmark::DoNotOptimize(target->getPixels());
    }
}

void composite32(benchmark::State& state) {
    composite(state, kFormatArgb32);
}
void composite16(benchmark::State& state) {
    composite(state, kFormatRgb565);
}

void unionOf(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::mt19937 random(11);
    std::vector<Rect> rects;
    for (std::size_t k = 0; k < count; ++k) {
        rects.push_back(
            Rect{static_cast<int>(random() % 740), static_cast<int>(random() % 530), 52, 64});
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(rectangleUnion(rects));
    }
}

BENCHMARK(fullFlush)->Name("FullFlush")->Unit(benchmark::kMicrosecond);
BENCHMARK(hoverChange)->Name("HoverChange")->Unit(benchmark::kMicrosecond);
BENCHMARK(pairFade)->Name("PairFade")->Unit(benchmark::kMicrosecond);
BENCHMARK(darkenSwell)->Name("DarkenSwell")->Unit(benchmark::kMicrosecond);
BENCHMARK(composite32)->Name("Composite")->Unit(benchmark::kMicrosecond);
BENCHMARK(composite16)->Name("16/Composite")->Unit(benchmark::kMicrosecond);
BENCHMARK(unionOf)->Name("RectangleUnion")->Arg(1)->Arg(10)->Arg(100)->Arg(300);

} // namespace

BENCHMARK_MAIN();
