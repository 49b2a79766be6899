// Rotated and stretched drawing of the 32-bit context, checked against
// hand-computed pixels and against plain per-pixel references.
#include "engine/graphics/Graphics.h"
#include "engine/graphics/PixelRows32.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace orv {
namespace {

using test::filledImage;
using test::patternImage;
using test::pixelAt;
using test::setPixel;
using test::snapshot;

constexpr std::uint32_t kTransformBackground = 0x5A102030;
constexpr int kTransformWidth = 24;
constexpr int kTransformHeight = 20;
constexpr double kQuarter = std::numbers::pi / 2.0;

// A source without per-pixel alpha, distinct pixels.
RefPtr<Image> opaqueSource(int width, int height) {
    RefPtr<Image> image = patternImage(width, height, 7);
    image->setUseAlphaChannel(false);
    return image;
}

std::uint32_t opaqueOver(std::uint32_t d, std::uint32_t s) {
    return (d & 0xFF000000U) | (s & 0x00FFFFFFU);
}

// --- rotation ---------------------------------------------------------------

struct Placement {
    int x;
    int y;
};

// At angle 0 and scale 1 the rotated drawing is the plain drawing, also when
// the image hangs over any edge of the target.
TEST(RotatedDrawing, NoTurnAtScaleOneDrawsLikeDrawImage) {
    const RefPtr<Image> source = opaqueSource(5, 4);
    for (const Placement p : {Placement{3, 2}, Placement{-2, 5}, Placement{21, 5}, Placement{8, -3},
                              Placement{8, 18}, Placement{-4, -3}, Placement{22, 18}}) {
        const RefPtr<Image> expected =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        createGraphics(*expected)->drawImage(*source, p.x, p.y);
        const RefPtr<Image> actual =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        createGraphics(*actual)->drawImageRotoZoom(*source, 0.0, 1.0, p.x, p.y, 0, 0, 5, 4, 2, 1);
        EXPECT_EQ(snapshot(*actual), snapshot(*expected)) << p.x << ", " << p.y;
    }
}

// Quarter turns map pixels exactly: target pixel (px, py) shows the source
// pixel R(-angle) ((px, py) - t) / scale, rounded down, where t keeps the
// centre in place.
struct Turn {
    int quarters;
    int scale;
    int centreX;
    int centreY;
    Placement at;
};

TEST(RotatedDrawing, QuarterTurnsMatchAnExactPixelMapping) {
    constexpr int w = 5;
    constexpr int h = 3;
    const RefPtr<Image> source = opaqueSource(w, h);
    for (const Turn t :
         {Turn{1, 1, 0, 0, {10, 5}}, Turn{2, 1, 2, 1, {10, 8}}, Turn{3, 1, 4, 2, {6, 6}},
          Turn{1, 2, 1, 1, {12, 4}}, Turn{2, 2, 0, 0, {20, 15}}, Turn{3, 2, 2, 0, {-1, 9}},
          Turn{1, 1, 2, 1, {0, 0}}, Turn{4, 1, 0, 0, {3, 3}}}) {
        const double angle = kQuarter * t.quarters;
        const RefPtr<Image> actual =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        createGraphics(*actual)->drawImageRotoZoom(*source, angle, t.scale, t.at.x, t.at.y, 0, 0, w,
                                                   h, t.centreX, t.centreY);
        const int c = static_cast<int>(std::lround(std::cos(angle)));
        const int s = static_cast<int>(std::lround(std::sin(angle)));
        // The centre's place is truncated from the double-precision turn,
        // so sin(pi) = 1.2e-16 moves it by a pixel where it lands just short.
        const double dc = std::cos(angle);
        const double ds = std::sin(angle);
        const auto tx = static_cast<int>(t.at.x + t.centreX -
                                         std::trunc(t.scale * (t.centreX * dc - t.centreY * ds)));
        const auto ty = static_cast<int>(t.at.y + t.centreY -
                                         std::trunc(t.scale * (t.centreX * ds + t.centreY * dc)));
        const auto floorDiv = [](int a, int b) {
            return static_cast<int>(std::floor(static_cast<double>(a) / b));
        };
        int drawn = 0;
        for (int py = 0; py < kTransformHeight; ++py) {
            for (int px = 0; px < kTransformWidth; ++px) {
                const int sx = floorDiv((px - tx) * c + (py - ty) * s, t.scale);
                const int sy = floorDiv(-(px - tx) * s + (py - ty) * c, t.scale);
                std::uint32_t want = kTransformBackground;
                if (sx >= 0 && sx < w && sy >= 0 && sy < h) {
                    want = opaqueOver(kTransformBackground, pixelAt(*source, sx, sy));
                    ++drawn;
                }
                ASSERT_EQ(pixelAt(*actual, px, py), want)
                    << t.quarters << " quarters, scale " << t.scale << " at " << px << ", " << py;
            }
        }
        EXPECT_GT(drawn, 0);
    }
}

// Any angle: every pixel of the target shows what the fixed-point inverse
// mapping of that very pixel says (steps A = 2^20 sin / k, B = 2^20 cos / k,
// truncated), so the walk neither skips nor adds pixels.
TEST(RotatedDrawing, AnyAngleMatchesThePerPixelFixedPointMapping) {
    constexpr int w = 7;
    constexpr int h = 5;
    const RefPtr<Image> source = opaqueSource(w, h);
    struct Case {
        double angle;
        double scale;
    };
    for (const Case c : {Case{0.3, 1.0}, Case{-0.7, 1.5}, Case{2.0, 0.8}, Case{4.0, 2.5},
                         Case{1.0, -1.0}, Case{0.05, 3.0}}) {
        const RefPtr<Image> actual =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        createGraphics(*actual)->drawImageRotoZoom(*source, c.angle, c.scale, 8, 6, 0, 0, w, h, 3,
                                                   2);
        const double cs = std::cos(c.angle);
        const double sn = std::sin(c.angle);
        const auto tx = static_cast<std::int64_t>(8 + 3 - std::trunc(c.scale * (3 * cs - 2 * sn)));
        const auto ty = static_cast<std::int64_t>(6 + 2 - std::trunc(c.scale * (3 * sn + 2 * cs)));
        const auto a = static_cast<std::int64_t>(1048576.0 / c.scale * sn);
        const auto b = static_cast<std::int64_t>(1048576.0 / c.scale * cs);
        for (int py = 0; py < kTransformHeight; ++py) {
            for (int px = 0; px < kTransformWidth; ++px) {
                const std::int64_t u = b * (px - tx) + a * (py - ty);
                const std::int64_t v = -a * (px - tx) + b * (py - ty);
                const std::int64_t ix = u >> 20;
                const std::int64_t iy = v >> 20;
                std::uint32_t want = kTransformBackground;
                if (ix >= 0 && ix < w && iy >= 0 && iy < h) {
                    want = opaqueOver(kTransformBackground,
                                      pixelAt(*source, static_cast<int>(ix), static_cast<int>(iy)));
                }
                ASSERT_EQ(pixelAt(*actual, px, py), want)
                    << "angle " << c.angle << " scale " << c.scale << " at " << px << ", " << py;
            }
        }
    }
}

TEST(RotatedDrawing, SmoothingRepeatsTheEdgeOnePixelBeforeTheImage) {
    const RefPtr<Image> source = opaqueSource(4, 3);
    const RefPtr<Image> target =
        filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setSmooth(true);
    g->drawImageRotoZoom(*source, 0.0, 1.0, 5, 6, 0, 0, 4, 3, 0, 0);
    for (int py = 4; py <= 10; ++py) {
        for (int px = 3; px <= 10; ++px) {
            const int sx = px - 5;
            const int sy = py - 6;
            std::uint32_t want = kTransformBackground;
            if (sx >= -1 && sx < 4 && sy >= -1 && sy < 3) {
                want = opaqueOver(kTransformBackground,
                                  pixelAt(*source, std::max(sx, 0), std::max(sy, 0)));
            }
            EXPECT_EQ(pixelAt(*target, px, py), want) << px << ", " << py;
        }
    }
}

TEST(RotatedDrawing, SmoothingAtDoubleSizeAveragesNeighboursTruncated) {
    const RefPtr<Image> source = createImage(2, 2, kFormatArgb32);
    setPixel(*source, 0, 0, 0xFF000000);
    setPixel(*source, 1, 0, 0xFF0B0503);
    setPixel(*source, 0, 1, 0xFF000000);
    setPixel(*source, 1, 1, 0xFF0B0503);
    source->setUseAlphaChannel(false);
    const RefPtr<Image> target = filledImage(kTransformWidth, kTransformHeight, 0xFF000000);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setSmooth(true);
    g->drawImageRotoZoom(*source, 0.0, 2.0, 4, 4, 0, 0, 2, 2, 0, 0);
    // (5, 4) samples half way between the two columns: 0x0B / 2 = 5, 5 / 2 = 2, 3 / 2 = 1.
    EXPECT_EQ(pixelAt(*target, 5, 4), 0xFF050201U);
    EXPECT_EQ(pixelAt(*target, 6, 4), 0xFF0B0503U);
}

// Half way between an alpha of 0 and one of 255 the filtered alpha is 127.5;
// the weight is trunc(127.5 * 255) >> 8 = 127 (not trunc(127.5) * 255 >> 8).
TEST(RotatedDrawing, SmoothBlendWeighsTheUntruncatedAlphaTimesG) {
    const RefPtr<Image> source = createImage(2, 2, kFormatArgb32);
    for (int y = 0; y < 2; ++y) {
        setPixel(*source, 0, y, 0x00FFFFFF);
        setPixel(*source, 1, y, 0xFFFFFFFF);
    }
    source->setUseAlphaChannel(true);
    const RefPtr<Image> target = filledImage(kTransformWidth, kTransformHeight, 0xFF000000);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setSmooth(true);
    g->drawImageRotoZoom(*source, 0.0, 2.0, 4, 4, 0, 0, 2, 2, 0, 0);
    EXPECT_EQ(pixelAt(*target, 5, 4), pixel32::lerpPixel(0xFF000000, 0xFFFFFF, 127));
    EXPECT_EQ(pixelAt(*target, 4, 4), 0xFF000000U) << "weight 0 leaves the pixel";
    EXPECT_EQ(pixelAt(*target, 6, 4), 0xFFFFFFFFU) << "weight 254 writes the sample";
}

struct BlendCase {
    std::uint32_t sourceAlpha;
    int g;
    bool changed;
    bool exact;
};

// Per-pixel alpha: weight floor(a g / 256); 5 or less leaves the pixel, above
// 250 writes the sample, between them the lerp.
TEST(RotatedDrawing, PerPixelAlphaHasThresholdsAtFiveAndTwoHundredFifty) {
    for (const BlendCase c : {BlendCase{6, 255, false, false}, BlendCase{7, 255, true, false},
                              BlendCase{251, 255, true, false}, BlendCase{252, 255, true, true},
                              BlendCase{255, 128, true, false}, BlendCase{0, 255, false, false}}) {
        const RefPtr<Image> source = filledImage(1, 1, (c.sourceAlpha << 24) | 0xC08040U);
        source->setUseAlphaChannel(true);
        const RefPtr<Image> target = filledImage(3, 3, 0x33102030);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setAlpha(c.g);
        g->drawImageRotoZoom(*source, 0.0, 1.0, 1, 1, 0, 0, 1, 1, 0, 0);
        const int w = static_cast<int>(c.sourceAlpha) * c.g >> 8;
        std::uint32_t want = 0x33102030;
        if (c.exact) {
            want = 0x33C08040;
        } else if (c.changed) {
            want = pixel32::lerpPixel(0x33102030, 0xC08040, w);
        }
        EXPECT_EQ(pixelAt(*target, 1, 1), want) << c.sourceAlpha << " at " << c.g;
    }
}

TEST(RotatedDrawing, ConstantAlphaLerpsTheColourAndKeepsTheTargetAlpha) {
    const RefPtr<Image> source = filledImage(1, 1, 0x00C08040);
    source->setUseAlphaChannel(false);
    const RefPtr<Image> target = filledImage(3, 3, 0x33102030);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setAlpha(100);
    g->drawImageRotoZoom(*source, 0.0, 1.0, 1, 1, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(pixelAt(*target, 1, 1), pixel32::lerpPixel(0x33102030, 0xC08040, 100));
}

TEST(RotatedDrawing, DegenerateInputsDrawNothing) {
    const RefPtr<Image> source = opaqueSource(4, 4);
    const RefPtr<Image> mask = createImage(4, 4, kFormatAlpha);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        Image* image;
        double angle;
        double scale;
        int width;
        int height;
    };
    for (const Case c : {Case{source.get(), 0.5, 0.0, 4, 4}, Case{source.get(), 0.5, 0.0001, 4, 4},
                         Case{source.get(), 0.5, -0.0001, 4, 4}, Case{source.get(), nan, 1.0, 4, 4},
                         Case{source.get(), 0.5, inf, 4, 4}, Case{source.get(), 0.5, nan, 4, 4},
                         Case{source.get(), 0.5, 1.0, 0, 4}, Case{source.get(), 0.5, 1.0, 4, -1},
                         Case{mask.get(), 0.5, 1.0, 4, 4}}) {
        const RefPtr<Image> target =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setSmooth(true);
        g->drawImageRotoZoom(*c.image, c.angle, c.scale, 5, 5, 0, 0, c.width, c.height, 2, 2);
        EXPECT_EQ(snapshot(*target),
                  snapshot(*filledImage(kTransformWidth, kTransformHeight, kTransformBackground)))
            << c.angle << " " << c.scale << " " << c.width << "x" << c.height;
    }
}

// A source rectangle reaching beyond the image draws only the image's
// pixels, where they would stand anyway; nothing is read outside.
TEST(RotatedDrawing, SourceRectangleBeyondTheImageDrawsOnlyTheImage) {
    const RefPtr<Image> source = opaqueSource(4, 3);
    const RefPtr<Image> expected =
        filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
    createGraphics(*expected)->drawImageRotoZoom(*source, 0.6, 1.3, 8, 7, 0, 0, 4, 3, 2, 1);
    const RefPtr<Image> actual =
        filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
    createGraphics(*actual)->drawImageRotoZoom(*source, 0.6, 1.3, 5, 5, -3, -2, 20, 20, 5, 3);
    EXPECT_EQ(snapshot(*actual), snapshot(*expected));
}

// Smooth sampling near the edge of a source rectangle inside a bigger image
// never mixes in the pixels around the rectangle.
TEST(RotatedDrawing, SmoothSamplesStayInsideTheSourceRectangle) {
    const RefPtr<Image> source = filledImage(12, 12, 0xFFFF0000);
    for (int y = 3; y < 9; ++y) {
        for (int x = 3; x < 9; ++x) {
            setPixel(*source, x, y, 0xFF00FF00);
        }
    }
    source->setUseAlphaChannel(false);
    for (const double angle : {0.0, 0.4, 2.5, -1.2}) {
        const RefPtr<Image> target = filledImage(kTransformWidth, kTransformHeight, 0);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setSmooth(true);
        g->drawImageRotoZoom(*source, angle, 1.7, 6, 5, 3, 3, 6, 6, 3, 3);
        int drawn = 0;
        for (const std::uint32_t p : snapshot(*target)) {
            if (p != 0) {
                EXPECT_EQ(p, 0x0000FF00U) << angle;
                ++drawn;
            }
        }
        EXPECT_GT(drawn, 20) << angle;
    }
}

// --- clipping of both transformed drawings at every edge ----------------------

struct ClipCase {
    int x;
    int y;
    double angle;
    bool smooth;
};

// Drawing inside a clip rectangle gives the unclipped drawing inside it and
// leaves every pixel outside it alone, whichever edge the picture crosses.
TEST(TransformedDrawing, ClipCutsAtEveryEdge) {
    const RefPtr<Image> source = patternImage(9, 7, 3);
    source->setUseAlphaChannel(true);
    const Rect clip{6, 5, 10, 8};
    for (const ClipCase c :
         {ClipCase{2, 7, 0.4, false}, ClipCase{13, 7, 0.4, true}, ClipCase{8, 1, 2.0, false},
          ClipCase{8, 10, 2.0, true}, ClipCase{1, 1, 3.5, true}, ClipCase{12, 10, -0.9, false},
          ClipCase{-30, -30, 0.0, false}, ClipCase{7, 6, 0.0, true}}) {
        for (const bool stretched : {false, true}) {
            const auto draw = [&](Graphics& g) {
                g.setSmooth(c.smooth);
                g.setAlpha(200);
                if (stretched) {
                    g.drawImageStretched(*source, 1, 1, 7, 5, c.x, c.y, 11, 6);
                } else {
                    g.drawImageRotoZoom(*source, c.angle, 1.4, c.x, c.y, 0, 0, 9, 7, 4, 3);
                }
            };
            const RefPtr<Image> free =
                filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
            draw(*createGraphics(*free));
            const RefPtr<Image> clipped =
                filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
            const RefPtr<Graphics> g = createGraphics(*clipped);
            g->setClip(clip);
            draw(*g);
            for (int py = 0; py < kTransformHeight; ++py) {
                for (int px = 0; px < kTransformWidth; ++px) {
                    const bool inside = px >= clip.x && px < clip.x + clip.width && py >= clip.y &&
                                        py < clip.y + clip.height;
                    ASSERT_EQ(pixelAt(*clipped, px, py),
                              inside ? pixelAt(*free, px, py) : kTransformBackground)
                        << (stretched ? "stretched" : "rotated") << " at " << c.x << ", " << c.y
                        << ", pixel " << px << ", " << py;
                }
            }
        }
    }
}

TEST(TransformedDrawing, TranslationMovesBothLikeAnyDrawing) {
    const RefPtr<Image> source = opaqueSource(5, 4);
    const RefPtr<Image> expected =
        filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
    const RefPtr<Graphics> plain = createGraphics(*expected);
    plain->drawImageRotoZoom(*source, 0.8, 1.2, 9, 8, 0, 0, 5, 4, 2, 2);
    plain->drawImageStretched(*source, 0, 0, 5, 4, 2, 3, 8, 3);
    const RefPtr<Image> actual =
        filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
    const RefPtr<Graphics> moved = createGraphics(*actual);
    moved->setTranslation(-4, 3);
    moved->drawImageRotoZoom(*source, 0.8, 1.2, 13, 5, 0, 0, 5, 4, 2, 2);
    moved->drawImageStretched(*source, 0, 0, 5, 4, 6, 0, 8, 3);
    EXPECT_EQ(snapshot(*actual), snapshot(*expected));
}

TEST(TransformedDrawing, FarOffPositionsAndExtremeScalesStayInsideTheClip) {
    const RefPtr<Image> source = opaqueSource(6, 6);
    constexpr int big = std::numeric_limits<int>::max();
    constexpr int small = std::numeric_limits<int>::min();
    const RefPtr<Image> target =
        filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setClip(2, 2, 10, 10);
    g->setTranslation(big, small);
    g->drawImageRotoZoom(*source, 0.3, 1.0, big, small, 0, 0, 6, 6, big, small);
    g->drawImageStretched(*source, 0, 0, 6, 6, big, small, big, big);
    g->setTranslation(0, 0);
    g->drawImageRotoZoom(*source, 0.3, 1e9, 5, 5, 0, 0, 6, 6, 3, 3);
    g->drawImageRotoZoom(*source, 0.3, 0.00011, 5, 5, 0, 0, 6, 6, 3, 3);
    g->drawImageRotoZoom(*source, 1e300, 1.0, 5, 5, 0, 0, 6, 6, 3, 3);
    g->drawImageStretched(*source, 0, 0, big, big, -5, -5, 30, 30);
    g->drawImageStretched(*source, 0, 0, 6, 6, small, small, big, big);
    for (int py = 0; py < kTransformHeight; ++py) {
        for (int px = 0; px < kTransformWidth; ++px) {
            if (px < 2 || px >= 12 || py < 2 || py >= 12) {
                ASSERT_EQ(pixelAt(*target, px, py), kTransformBackground) << px << ", " << py;
            }
        }
    }
}

// --- stretching -------------------------------------------------------------

struct StretchCase {
    int sourceWidth;
    int sourceHeight;
    int width;
    int height;
};

// Without smoothing, target pixel (x, y) of the destination shows source
// pixel (x step >> 20, ...), the step being sw / dw in single precision
// times 2^20, rounded to the nearest integer (so 2 / 6 steps a hair short).
TEST(StretchedDrawing, NearestSamplingMatchesTheProportionalPixel) {
    const RefPtr<Image> source = opaqueSource(8, 8);
    const auto sample = [](int offset, int sourceSize, int size) {
        const float step = static_cast<float>(sourceSize) / static_cast<float>(size) * 1048576.0F;
        return static_cast<int>(offset * std::lrint(step) >> 20);
    };
    for (const StretchCase c :
         {StretchCase{4, 4, 4, 4}, StretchCase{3, 2, 6, 6}, StretchCase{6, 8, 3, 4},
          StretchCase{3, 5, 7, 11}, StretchCase{7, 3, 20, 5}, StretchCase{8, 8, 1, 1}}) {
        const RefPtr<Image> target =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        createGraphics(*target)->drawImageStretched(*source, 0, 0, c.sourceWidth, c.sourceHeight, 2,
                                                    3, c.width, c.height);
        for (int py = 0; py < kTransformHeight; ++py) {
            for (int px = 0; px < kTransformWidth; ++px) {
                const int dx = px - 2;
                const int dy = py - 3;
                std::uint32_t want = kTransformBackground;
                if (dx >= 0 && dx < c.width && dy >= 0 && dy < c.height) {
                    want = opaqueOver(kTransformBackground,
                                      pixelAt(*source, sample(dx, c.sourceWidth, c.width),
                                              sample(dy, c.sourceHeight, c.height)));
                }
                ASSERT_EQ(pixelAt(*target, px, py), want)
                    << c.sourceWidth << "x" << c.sourceHeight << " onto " << c.width << "x"
                    << c.height << " at " << px << ", " << py;
            }
        }
    }
}

TEST(StretchedDrawing, SmoothingInterpolatesExceptInTheLastColumnAndRow) {
    const RefPtr<Image> source = createImage(2, 2, kFormatArgb32);
    setPixel(*source, 0, 0, 0xFF000000);
    setPixel(*source, 1, 0, 0xFF0B0503);
    setPixel(*source, 0, 1, 0xFF0B0503);
    setPixel(*source, 1, 1, 0xFF0B0503);
    source->setUseAlphaChannel(false);
    const RefPtr<Image> target = filledImage(4, 2, 0xFF000000);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setSmooth(true);
    g->drawImageStretched(*source, 0, 0, 2, 2, 0, 0, 4, 2);
    EXPECT_EQ(pixelAt(*target, 0, 0), 0xFF000000U);
    EXPECT_EQ(pixelAt(*target, 1, 0), 0xFF050201U); // half way: truncated averages
    EXPECT_EQ(pixelAt(*target, 2, 0), 0xFF0B0503U);
    EXPECT_EQ(pixelAt(*target, 3, 0), 0xFF0B0503U); // last column: nearest
    EXPECT_EQ(pixelAt(*target, 1, 1), 0xFF0B0503U); // last row: nearest
}

TEST(StretchedDrawing, UninterpolatedPerPixelAlphaHasNoThresholds) {
    const RefPtr<Image> source = filledImage(1, 1, 0x06C08040);
    source->setUseAlphaChannel(true);
    const RefPtr<Image> stretched = filledImage(3, 3, 0x33102030);
    createGraphics(*stretched)->drawImageStretched(*source, 0, 0, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(pixelAt(*stretched, 1, 1), pixel32::lerpPixel(0x33102030, 0xC08040, 5));
    const RefPtr<Image> rotated = filledImage(3, 3, 0x33102030);
    createGraphics(*rotated)->drawImageRotoZoom(*source, 0.0, 1.0, 1, 1, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(pixelAt(*rotated, 1, 1), 0x33102030U);
}

TEST(StretchedDrawing, EmptyRectanglesDrawNothing) {
    const RefPtr<Image> source = opaqueSource(4, 4);
    struct Case {
        int sourceWidth;
        int sourceHeight;
        int width;
        int height;
    };
    for (const Case c : {Case{4, 4, 0, 4}, Case{4, 4, 4, 0}, Case{0, 4, 4, 4}, Case{4, 0, 4, 4},
                         Case{4, 4, -3, 4}, Case{-4, 4, 4, 4}}) {
        const RefPtr<Image> target =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        createGraphics(*target)->drawImageStretched(*source, 0, 0, c.sourceWidth, c.sourceHeight, 2,
                                                    2, c.width, c.height);
        EXPECT_EQ(snapshot(*target),
                  snapshot(*filledImage(kTransformWidth, kTransformHeight, kTransformBackground)));
    }
}

// Source rectangles reaching outside the image keep their proportions, and
// the target pixels whose samples would lie outside stay untouched.
TEST(StretchedDrawing, SamplesOutsideTheImageAreNotDrawn) {
    const RefPtr<Image> source = opaqueSource(4, 4);
    for (const bool smooth : {false, true}) {
        const RefPtr<Image> target =
            filledImage(kTransformWidth, kTransformHeight, kTransformBackground);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setSmooth(smooth);
        // Source columns -2..5 onto 16 columns: two target columns per source column.
        g->drawImageStretched(*source, -2, -2, 8, 8, 0, 0, 16, 16);
        for (int py = 0; py < 16; ++py) {
            for (int px = 0; px < 16; ++px) {
                const int sx = px / 2 - 2;
                const int sy = py / 2 - 2;
                const bool inside = sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
                if (!inside) {
                    ASSERT_EQ(pixelAt(*target, px, py), kTransformBackground) << px << ", " << py;
                } else if (!smooth) {
                    ASSERT_EQ(pixelAt(*target, px, py),
                              opaqueOver(kTransformBackground, pixelAt(*source, sx, sy)));
                }
            }
        }
    }
}

} // namespace
} // namespace orv
