// How long one whole frame of the playing screen takes to draw: the
// background, a full board of 144 tiles on five layers drawn by the board
// renderer (one tile pulsing, one under the pointer, so that the layers are
// repaired every frame), the time bar's and the bonus bar's pictures, the
// label strips and a glowing star, into an 800 x 600 back buffer of 32 bits
// and, under "16/", of 16 bits. The board's metrics are the game's own
// (media/properties/mahjong.xml); its pictures are generated here at their
// final sizes. The goal is a median below 3 ms, so that 60 frames a second
// take a small share of one core.
//
//     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANTA_BENCHMARKS=ON
//           -DORVANTA_TESTS=OFF
//     cmake --build build/release --target screen_bench
//     build/release/bench/screen_bench --benchmark_repetitions=5
#include "bench/support/BenchBoard.h"
#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageManager.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/Sprite.h"
#include "game/board/Tile.h"
#include "game/screen/LayoutRenderer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orv;
using namespace orv::bench;

// The screen's tree: background, board, bars, label strips and a star.
struct Screen {
    RefPtr<GameNode> root{new GameNode()};
    RefPtr<Layout> layout = fullBoard();
    RefPtr<LayoutRenderer> board;
    Tile* pulsing = nullptr;
    Tile* hovered = nullptr;

    Screen() {
        GameTree::appendChild(new Sprite(0, 0, picture(kWidth, kHeight, false, 4).get()),
                              root.get());
        board = new LayoutRenderer(gameLook().get());
        TileList none;
        board->build(*layout, none);
        board->setPosition(60, 80);
        GameTree::appendChild(board.get(), root.get());
        // The time bar (fill, mask, frame) and the bonus bar (meter, ring).
        GameTree::appendChild(new Sprite(709, 93, picture(40, 420, true, 5).get()), root.get());
        GameTree::appendChild(new Sprite(705, 88, picture(48, 430, true, 6).get()), root.get());
        GameTree::appendChild(new Sprite(10, 20, picture(600, 40, true, 7).get()), root.get());
        GameTree::appendChild(new Sprite(620, 10, picture(80, 80, true, 8).get()), root.get());
        // Label strips: score, level, matches, progress, time, counters.
        for (int i = 0; i < 6; ++i) {
            GameTree::appendChild(
                new Sprite(20 + i * 110, 560, picture(100, 24, true, 9 + i).get()), root.get());
        }
        RefPtr<Sprite> star(new AdditiveSprite(nullptr));
        star->setImage(picture(64, 64, true, 20).get());
        star->setPosition(300, 300);
        GameTree::appendChild(star.get(), root.get());
        pulsing = layout->getGridCell(10, 4, 4);
        hovered = layout->getGridCell(0, 0, 0);
        board->startTilePulse(*pulsing);
        board->startTileHover(*hovered);
    }
};

// `bytes` per pixel of the back buffer: every picture is converted to it,
// as the window's set-up does.
void frame(benchmark::State& state, int bytes) {
    setUpConstants("screen_bench");
    Screen screen;
    ImageManager::getInstance()->setPixelFormatAll(bytes);
    RefPtr<Image> target = createImage(kWidth, kHeight, bytes == 2 ? kFormatRgb565 : kFormatArgb32);
    RefPtr<Graphics> graphics = createGraphics(*target);
    for (auto _ : state) {
        screen.board->updateSelf(16);
        RenderTask::renderNode(*graphics, screen.root.get());
        benchmark::DoNotOptimize(target->getPixels());
    }
}

void frame32(benchmark::State& state) {
    frame(state, 4);
}
void frame16(benchmark::State& state) {
    frame(state, 2);
}

BENCHMARK(frame32)->Name("PlayingFrame")->Unit(benchmark::kMillisecond);
BENCHMARK(frame16)->Name("16/PlayingFrame")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
