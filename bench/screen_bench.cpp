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
#include "engine/core/GameTree.h"
#include "engine/core/NodeClasses.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageManager.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/Sprite.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"
#include "game/screen/BoardLook.h"
#include "game/screen/LayoutRenderer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

using namespace orv;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The game's tuning constants, read once from its property file.
void setUpConstants() {
    static const bool done = [] {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        BasicProperties::create();
        DefinitionStore& store = getDefinitionStore();
        store.setConstantsHook(new GameConstants());
        store.addFile(ORVANTA_MEDIA_SOURCE "/properties/mahjong.xml");
        store.load();
        if (RENDERER_TILE_FACE_WIDTH <= 0) {
            std::fprintf(stderr, "screen_bench: the board's metrics cannot be read\n");
            std::exit(1);
        }
        return true;
    }();
    static_cast<void>(done);
}

// A picture of `width` x `height` in varied colours; `alpha` gives its
// pixels an alpha that falls off toward the edges.
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
    image->setFollowsDisplayFormat(true);
    return image;
}

RefPtr<BoardLook> gameLook() {
    const BoardMetrics m = BoardMetrics::fromConstants();
    return RefPtr<BoardLook>(new BoardLook(
        m, TileTints::fromConstants(),
        picture(m.faceWidth + m.sideWidth, m.faceHeight + m.sideHeight, true, 1).get(),
        picture(m.faceWidth + m.sideWidth, m.faceHeight + m.sideHeight, true, 2).get(),
        picture(m.symbolWidth * 9, m.symbolHeight * 5, true, 3).get()));
}

// Places a block of `columns` x `rows` tiles on layer `z`, its first tile at
// (x, y), neighbours two cells apart, faces cycling.
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
    setUpConstants();
    if (ImageManager::getInstance() == nullptr) {
        ImageManager::create();
    }
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
