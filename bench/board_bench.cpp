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
#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageManager.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/Sprite.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"
#include "game/screen/BoardLook.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RectangleUnion.h"
#include "game/screen/RenderTile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace orv;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The game's tuning constants, read once from its property file.
void setUpConstants() {
    static const bool done = [] {
        registerPropertyClasses();
        ImageManager::create();
        static_cast<void>(BasicProperties::create());
        DefinitionStore& store = getDefinitionStore();
        store.setConstantsHook(new GameConstants());
        store.addFile(std::string(ORVANTA_MEDIA_SOURCE) + "/properties/mahjong.xml");
        store.load();
        if (BoardMetrics::fromConstants().faceWidth <= 0) {
            std::fprintf(stderr, "board_bench: the board's metrics cannot be read\n");
            std::exit(1);
        }
        return true;
    }();
    static_cast<void>(done);
}

// A picture in varied colours; with `alpha`, its alpha falls off toward the
// edges as the tile art's does.
RefPtr<Image> picture(int width, int height, bool alpha, unsigned seed) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
            const std::uint32_t a =
                alpha ? static_cast<std::uint32_t>(std::min(255, 60 + edge * 40)) : 255U;
            const std::uint32_t pixel = (a << 24) | (random() & 0x00FFFFFFU);
            std::memcpy(image->getPixels() + y * image->getPitch() + x * 4, &pixel, 4);
        }
    }
    image->setUseAlphaChannel(alpha);
    // A change of the display format converts it, as it does loaded pictures.
    image->setFollowsDisplayFormat(true);
    return image;
}

RefPtr<BoardLook> gameLook() {
    const BoardMetrics m = BoardMetrics::fromConstants();
    return RefPtr<BoardLook>(new BoardLook(
        m, TileTints::fromConstants(),
        picture(m.faceWidth + m.sideWidth, m.faceHeight + m.sideHeight, true, 1).get(),
        picture(m.faceWidth + 2 * m.shadowOffsetX, m.faceHeight + 2 * m.shadowOffsetY, true, 2)
            .get(),
        picture(m.symbolWidth * 9, (m.symbolHeight + 1) * 5, true, 3).get()));
}

// A block of `columns` x `rows` tiles on layer `z` from (x, y), faces cycling.
void placeBlock(Layout& board, int x, int y, int z, int columns, int rows) {
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            RefPtr<Tile> tile(new Tile(nullptr));
            const int n = board.getTileCount();
            tile->setFace(n % 5, n % 9, MatchType::Exact);
            static_cast<void>(board.setTileAt(tile.get(), {x + 2 * i, y + 2 * j, z}));
        }
    }
}

// 144 tiles on five layers.
RefPtr<Layout> fullBoard() {
    RefPtr<Layout> board(new Layout());
    placeBlock(*board, 0, 0, 0, 12, 6);
    placeBlock(*board, 2, 1, 1, 10, 4);
    placeBlock(*board, 6, 2, 2, 6, 4);
    placeBlock(*board, 9, 3, 3, 3, 2);
    placeBlock(*board, 10, 4, 4, 2, 1);
    return board;
}

// The background and the board, flushed once, with every picture in the
// display's format of `bytesPerPixel` (4 or 2).
struct Board {
    RefPtr<GameNode> root{new GameNode()};
    RefPtr<Layout> layout = fullBoard();
    RefPtr<LayoutRenderer> renderer;
    int bytesPerPixel;

    explicit Board(int bytes = 4) : bytesPerPixel(bytes) {
        setUpConstants();
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
