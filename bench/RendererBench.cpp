// How fast the renderer fills a frame: each drawing mode in megapixels per
// second over a tile-sized image (64 x 80) and over a whole 800 x 600 target,
// beside memcpy of the same bytes, and a synthetic board frame; for 32-bit
// targets and, under the "16/" names, for 16-bit ones.
#include "engine/graphics/Graphics.h"
#include "engine/resources/Image.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace orv {
namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kTileWidth = 64;
constexpr int kTileHeight = 80;

void setPixel(Image& image, int x, int y, std::uint32_t pixel) {
    std::memcpy(image.getPixels() + y * image.getPitch() + x * 4, &pixel, 4);
}

// A tile as the game draws them: opaque inside, a soft two-pixel rim and
// transparent rounded corners.
std::uint32_t tileAlpha(int x, int y, int width, int height) {
    const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
    const int corner = std::min(x, width - 1 - x) + std::min(y, height - 1 - y);
    if (corner < 3) {
        return 0;
    }
    if (edge == 0) {
        return 96;
    }
    if (edge == 1) {
        return 200;
    }
    return 255;
}

enum class Content { Tile, RandomAlpha, Opaque };

RefPtr<Image> makeImage(int width, int height, Content content, bool useAlpha) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    std::mt19937 random(static_cast<unsigned>(width * 31 + height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t alpha = 255;
            if (content == Content::Tile) {
                alpha = tileAlpha(x % kTileWidth, y % kTileHeight, kTileWidth, kTileHeight);
            } else if (content == Content::RandomAlpha) {
                alpha = random() & 0xFFU;
            }
            setPixel(*image, x, y, (alpha << 24) | (random() & 0x00FFFFFFU));
        }
    }
    image->setUseAlphaChannel(useAlpha);
    return image;
}

enum class Mode { PerPixelAlpha, ConstantAlphaCopy, PlainCopy, AlphaFill, Additive };

// One drawing mode over a width x height area; args: mode, width, height,
// source content.
void drawMode(benchmark::State& state) {
    const auto mode = static_cast<Mode>(state.range(0));
    const auto width = static_cast<int>(state.range(1));
    const auto height = static_cast<int>(state.range(2));
    const auto content = static_cast<Content>(state.range(3));
    RefPtr<Image> target = makeImage(kScreenWidth, kScreenHeight, Content::Opaque, false);
    const bool useAlpha = mode == Mode::PerPixelAlpha || mode == Mode::Additive;
    RefPtr<Image> source = makeImage(width, height, content, useAlpha);
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setColor(0xFF000000);
    switch (mode) {
    case Mode::ConstantAlphaCopy:
    case Mode::AlphaFill:
        graphics->setAlpha(128);
        break;
    case Mode::Additive:
        graphics->setBlendMode(BlendMode::BlendAdditive);
        break;
    default:
        break;
    }
    for (auto _ : state) {
        if (mode == Mode::AlphaFill) {
            graphics->fillRect(0, 0, width, height);
        } else {
            graphics->drawImage(*source, 0, 0);
        }
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void memcpyPixels(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0) * state.range(1) * 4);
    std::vector<std::uint8_t> from(bytes, 0x5A);
    std::vector<std::uint8_t> into(bytes);
    for (auto _ : state) {
        std::memcpy(into.data(), from.data(), bytes);
        benchmark::DoNotOptimize(into.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void sizes(benchmark::internal::Benchmark* bench, Mode mode, Content content) {
    bench->ArgNames({"mode", "w", "h", "content"});
    bench->Args({static_cast<int>(mode), kTileWidth, kTileHeight, static_cast<int>(content)});
    bench->Args({static_cast<int>(mode), kScreenWidth, kScreenHeight, static_cast<int>(content)});
}

BENCHMARK(drawMode)->Name("PerPixelAlphaBlend/tile")->Apply([](auto* b) {
    sizes(b, Mode::PerPixelAlpha, Content::Tile);
});
BENCHMARK(drawMode)->Name("PerPixelAlphaBlend/randomAlpha")->Apply([](auto* b) {
    sizes(b, Mode::PerPixelAlpha, Content::RandomAlpha);
});
BENCHMARK(drawMode)->Name("ConstantAlphaCopy")->Apply([](auto* b) {
    sizes(b, Mode::ConstantAlphaCopy, Content::Opaque);
});
BENCHMARK(drawMode)->Name("PlainCopy")->Apply([](auto* b) {
    sizes(b, Mode::PlainCopy, Content::Opaque);
});
BENCHMARK(drawMode)->Name("AlphaFill")->Apply([](auto* b) {
    sizes(b, Mode::AlphaFill, Content::Opaque);
});
BENCHMARK(drawMode)->Name("AdditiveBlend/tile")->Apply([](auto* b) {
    sizes(b, Mode::Additive, Content::Tile);
});
BENCHMARK(drawMode)->Name("AdditiveBlend/randomAlpha")->Apply([](auto* b) {
    sizes(b, Mode::Additive, Content::RandomAlpha);
});
BENCHMARK(memcpyPixels)
    ->Name("Memcpy")
    ->ArgNames({"w", "h"})
    ->Args({kTileWidth, kTileHeight})
    ->Args({kScreenWidth, kScreenHeight});

// A board frame: the opaque background, 144 tiles with per-pixel alpha in two
// layers, each over its shadow (a mask drawn in black at half strength), and a
// full-screen dim at constant alpha, as under an open dialog.
void syntheticFrame(benchmark::State& state) {
    RefPtr<Image> target = makeImage(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> background = makeImage(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> tile = makeImage(kTileWidth, kTileHeight, Content::Tile, true);
    RefPtr<Image> shadow = createImage(kTileWidth, kTileHeight, kFormatAlpha);
    for (int y = 0; y < kTileHeight; ++y) {
        for (int x = 0; x < kTileWidth; ++x) {
            shadow->getAlpha()[y * kTileWidth + x] =
                static_cast<std::uint8_t>(tileAlpha(x, y, kTileWidth, kTileHeight));
        }
    }
    struct Place {
        int x;
        int y;
    };
    std::vector<Place> places;
    for (int layer = 0; layer < 2; ++layer) {
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 9; ++column) {
                places.push_back({40 + column * 60 + layer * 30 - layer * 6,
                                  20 + row * 70 + layer * 35 - layer * 6});
            }
        }
    }
    RefPtr<Graphics> graphics = createGraphics(*target);
    for (auto _ : state) {
        graphics->setAlpha(255);
        graphics->drawImage(*background, 0, 0);
        for (const Place& place : places) {
            graphics->setColor(0xFF000000);
            graphics->setAlpha(128);
            graphics->drawImage(*shadow, place.x + 5, place.y + 5);
            graphics->setAlpha(255);
            graphics->drawImage(*tile, place.x, place.y);
        }
        graphics->setAlpha(128);
        graphics->fillRect(0, 0, kScreenWidth, kScreenHeight);
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    state.counters["tiles"] = static_cast<double>(places.size());
}

BENCHMARK(syntheticFrame)->Name("SyntheticFrame")->Unit(benchmark::kMillisecond);

// Rotated and scaled drawing: a tile with per-pixel alpha turned by 0.3 rad
// at scale 1 and 1.5 (an animated tile), and a whole opaque screen turned by
// 0.05 rad (a transition). Items are the pixels of the source drawn, times
// the scale squared (about the target pixels written). Args: smooth, scale
// in percent, full screen.
void rotatedSprite(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    const double scale = static_cast<double>(state.range(1)) / 100.0;
    const bool fullScreen = state.range(2) != 0;
    const int width = fullScreen ? kScreenWidth : kTileWidth;
    const int height = fullScreen ? kScreenHeight : kTileHeight;
    RefPtr<Image> target = makeImage(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> source =
        makeImage(width, height, fullScreen ? Content::Opaque : Content::Tile, !fullScreen);
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setSmooth(smooth);
    const double angle = fullScreen ? 0.05 : 0.3;
    const int x = fullScreen ? 0 : 300;
    const int y = fullScreen ? 0 : 200;
    for (auto _ : state) {
        graphics->drawImageRotoZoom(*source, angle, scale, x, y, 0, 0, width, height, width / 2,
                                    height / 2);
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) *
                                                      width * height * scale * scale));
}

BENCHMARK(rotatedSprite)
    ->Name("RotatedSprite")
    ->ArgNames({"smooth", "scalePct", "screen"})
    ->Args({0, 100, 0})
    ->Args({1, 100, 0})
    ->Args({0, 150, 0})
    ->Args({1, 150, 0})
    ->Args({0, 100, 1})
    ->Args({1, 100, 1});

// Stretched drawing: a tile with per-pixel alpha doubled to 128 x 160 (a
// stretch modifier at its peak), and a 400 x 300 opaque picture stretched
// over the whole screen. Items are target pixels. Args: smooth, full screen.
void stretchedImage(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    const bool fullScreen = state.range(1) != 0;
    const int width = fullScreen ? kScreenWidth / 2 : kTileWidth;
    const int height = fullScreen ? kScreenHeight / 2 : kTileHeight;
    RefPtr<Image> target = makeImage(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> source =
        makeImage(width, height, fullScreen ? Content::Opaque : Content::Tile, !fullScreen);
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setSmooth(smooth);
    const int x = fullScreen ? 0 : 300;
    const int y = fullScreen ? 0 : 200;
    for (auto _ : state) {
        graphics->drawImageStretched(*source, 0, 0, width, height, x, y, width * 2, height * 2);
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height * 4);
}

BENCHMARK(stretchedImage)
    ->Name("StretchedImage")
    ->ArgNames({"smooth", "screen"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1});

// ---- 16-bit targets ------------------------------------------------------

// The 16-bit twin of `makeImage`: RGB565 words and the alpha in the plane.
RefPtr<Image> makeImage16(int width, int height, Content content, bool useAlpha) {
    RefPtr<Image> image = createImage(width, height, kFormatRgb565);
    std::mt19937 random(static_cast<unsigned>(width * 31 + height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t alpha = 255;
            if (content == Content::Tile) {
                alpha = tileAlpha(x % kTileWidth, y % kTileHeight, kTileWidth, kTileHeight);
            } else if (content == Content::RandomAlpha) {
                alpha = random() & 0xFFU;
            }
            const auto word = static_cast<std::uint16_t>(random());
            std::memcpy(image->getPixels() + y * image->getPitch() + x * 2, &word, 2);
            image->getAlpha()[y * width + x] = static_cast<std::uint8_t>(alpha);
        }
    }
    image->setUseAlphaChannel(useAlpha);
    return image;
}

enum class Mode16 {
    PerPixelAlpha,
    PerPixelTimesGlobalAlpha,
    ConstantAlphaCopy,
    PlainCopy,
    AlphaFill,
    Additive,
    Mask
};

// One drawing mode on a 16-bit target; args: mode, width, height, content.
void drawMode16(benchmark::State& state) {
    const auto mode = static_cast<Mode16>(state.range(0));
    const auto width = static_cast<int>(state.range(1));
    const auto height = static_cast<int>(state.range(2));
    const auto content = static_cast<Content>(state.range(3));
    RefPtr<Image> target = makeImage16(kScreenWidth, kScreenHeight, Content::Opaque, false);
    const bool useAlpha = mode == Mode16::PerPixelAlpha ||
                          mode == Mode16::PerPixelTimesGlobalAlpha || mode == Mode16::Additive;
    RefPtr<Image> source = makeImage16(width, height, content, useAlpha);
    RefPtr<Image> mask = createImage(width, height, kFormatAlpha);
    std::copy_n(source->getAlpha(), width * height, mask->getAlpha());
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setColor(0xFF000000);
    switch (mode) {
    case Mode16::PerPixelTimesGlobalAlpha:
    case Mode16::ConstantAlphaCopy:
    case Mode16::AlphaFill:
    case Mode16::Mask:
        graphics->setAlpha(128);
        break;
    case Mode16::Additive:
        graphics->setBlendMode(BlendMode::BlendAdditive);
        break;
    default:
        break;
    }
    for (auto _ : state) {
        if (mode == Mode16::AlphaFill) {
            graphics->fillRect(0, 0, width, height);
        } else {
            graphics->drawImage(mode == Mode16::Mask ? *mask : *source, 0, 0);
        }
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void sizes16(benchmark::internal::Benchmark* bench, Mode16 mode, Content content) {
    bench->ArgNames({"mode", "w", "h", "content"});
    bench->Args({static_cast<int>(mode), kTileWidth, kTileHeight, static_cast<int>(content)});
    bench->Args({static_cast<int>(mode), kScreenWidth, kScreenHeight, static_cast<int>(content)});
}

BENCHMARK(drawMode16)->Name("16/PerPixelAlphaBlend/tile")->Apply([](auto* b) {
    sizes16(b, Mode16::PerPixelAlpha, Content::Tile);
});
BENCHMARK(drawMode16)->Name("16/PerPixelAlphaBlend/randomAlpha")->Apply([](auto* b) {
    sizes16(b, Mode16::PerPixelAlpha, Content::RandomAlpha);
});
BENCHMARK(drawMode16)->Name("16/PerPixelTimesGlobalAlpha/tile")->Apply([](auto* b) {
    sizes16(b, Mode16::PerPixelTimesGlobalAlpha, Content::Tile);
});
BENCHMARK(drawMode16)->Name("16/ConstantAlphaCopy")->Apply([](auto* b) {
    sizes16(b, Mode16::ConstantAlphaCopy, Content::Opaque);
});
BENCHMARK(drawMode16)->Name("16/PlainCopy")->Apply([](auto* b) {
    sizes16(b, Mode16::PlainCopy, Content::Opaque);
});
BENCHMARK(drawMode16)->Name("16/AlphaFill")->Apply([](auto* b) {
    sizes16(b, Mode16::AlphaFill, Content::Opaque);
});
BENCHMARK(drawMode16)->Name("16/AdditiveBlend/tile")->Apply([](auto* b) {
    sizes16(b, Mode16::Additive, Content::Tile);
});
BENCHMARK(drawMode16)->Name("16/Mask/tile")->Apply([](auto* b) {
    sizes16(b, Mode16::Mask, Content::Tile);
});

// The board frame of `syntheticFrame` on a 16-bit target.
void syntheticFrame16(benchmark::State& state) {
    RefPtr<Image> target = makeImage16(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> background = makeImage16(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> tile = makeImage16(kTileWidth, kTileHeight, Content::Tile, true);
    RefPtr<Image> shadow = createImage(kTileWidth, kTileHeight, kFormatAlpha);
    std::copy_n(tile->getAlpha(), kTileWidth * kTileHeight, shadow->getAlpha());
    RefPtr<Graphics> graphics = createGraphics(*target);
    int tiles = 0;
    for (auto _ : state) {
        tiles = 0;
        graphics->setAlpha(255);
        graphics->drawImage(*background, 0, 0);
        for (int layer = 0; layer < 2; ++layer) {
            for (int row = 0; row < 8; ++row) {
                for (int column = 0; column < 9; ++column, ++tiles) {
                    const int x = 40 + column * 60 + layer * 24;
                    const int y = 20 + row * 70 + layer * 29;
                    graphics->setColor(0xFF000000);
                    graphics->setAlpha(128);
                    graphics->drawImage(*shadow, x + 5, y + 5);
                    graphics->setAlpha(255);
                    graphics->drawImage(*tile, x, y);
                }
            }
        }
        graphics->setAlpha(128);
        graphics->fillRect(0, 0, kScreenWidth, kScreenHeight);
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    state.counters["tiles"] = static_cast<double>(tiles);
}

BENCHMARK(syntheticFrame16)->Name("16/SyntheticFrame")->Unit(benchmark::kMillisecond);

// Rotated and stretched drawing on a 16-bit target: the tile turned by 0.3
// rad at scale 1.5, and the tile doubled. Args: smooth, stretched.
void transformed16(benchmark::State& state) {
    const bool smooth = state.range(0) != 0;
    const bool stretched = state.range(1) != 0;
    RefPtr<Image> target = makeImage16(kScreenWidth, kScreenHeight, Content::Opaque, false);
    RefPtr<Image> source = makeImage16(kTileWidth, kTileHeight, Content::Tile, true);
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setSmooth(smooth);
    for (auto _ : state) {
        if (stretched) {
            graphics->drawImageStretched(*source, 0, 0, kTileWidth, kTileHeight, 300, 200,
                                         kTileWidth * 2, kTileHeight * 2);
        } else {
            graphics->drawImageRotoZoom(*source, 0.3, 1.5, 300, 200, 0, 0, kTileWidth, kTileHeight,
                                        kTileWidth / 2, kTileHeight / 2);
        }
        benchmark::DoNotOptimize(target->getPixels());
        benchmark::ClobberMemory();
    }
    // About the target pixels written: the tile's area times 2.25 or 4.
    const double factor = stretched ? 4.0 : 2.25;
    state.SetItemsProcessed(static_cast<std::int64_t>(static_cast<double>(state.iterations()) *
                                                      kTileWidth * kTileHeight * factor));
}

BENCHMARK(transformed16)
    ->Name("16/Transformed")
    ->ArgNames({"smooth", "stretched"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1});

} // namespace
} // namespace orv

BENCHMARK_MAIN();
