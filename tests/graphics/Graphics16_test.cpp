// The 16-bit drawing context: which worker each operation reaches, the
// alpha plane, clipping at every edge, and the computed drawing (lines,
// rotation, stretching, polygons) on RGB565 targets.
#include "engine/graphics/Graphics16.h"

#include "engine/graphics/PixelRows16.h"
#include "engine/graphics/Polygon.h"
#include "engine/resources/ImageDD.h"
#include "engine/resources/ImageManager.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace orv {
namespace {

// ---- 16-bit test images --------------------------------------------------

std::uint16_t wordAt(const Image& image, int x, int y) {
    std::uint16_t w = 0;
    std::memcpy(&w, image.getPixels() + y * image.getPitch() + x * 2, 2);
    return w;
}

void setWord(Image& image, int x, int y, std::uint16_t w) {
    std::memcpy(image.getPixels() + y * image.getPitch() + x * 2, &w, 2);
}

std::uint8_t& planeAt(Image& image, int x, int y) {
    return image.getAlpha()[y * image.getWidth() + x];
}

// A 16-bit image of random words and plane bytes (or `plane` everywhere when
// given).
RefPtr<Image> randomImage16(int width, int height, unsigned seed, int plane = -1) {
    RefPtr<Image> image = createImage(width, height, kFormatRgb565);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setWord(*image, x, y, static_cast<std::uint16_t>(random()));
            planeAt(*image, x, y) =
                static_cast<std::uint8_t>(plane >= 0 ? plane : static_cast<int>(random() & 0xFFU));
        }
    }
    return image;
}

RefPtr<Image> filledImage16(int width, int height, std::uint16_t word, std::uint8_t plane) {
    RefPtr<Image> image = createImage(width, height, kFormatRgb565);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setWord(*image, x, y, word);
            planeAt(*image, x, y) = plane;
        }
    }
    return image;
}

struct Snapshot16 {
    std::vector<std::uint16_t> words;
    std::vector<std::uint8_t> plane;
    friend bool operator==(const Snapshot16&, const Snapshot16&) = default;
};

Snapshot16 snapshot16(Image& image) {
    Snapshot16 s;
    for (int y = 0; y < image.getHeight(); ++y) {
        for (int x = 0; x < image.getWidth(); ++x) {
            s.words.push_back(wordAt(image, x, y));
            s.plane.push_back(planeAt(image, x, y));
        }
    }
    return s;
}

RefPtr<Graphics> graphicsOn(Image& image) {
    RefPtr<Graphics> g = createGraphics(image);
    EXPECT_TRUE(g && g->isKindOf(Graphics16::classRecord));
    return g;
}

constexpr std::uint16_t rgb(int r, int g, int b) {
    return static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
}

// The 32-bit colour whose channels repeat the top bits of a word's fields,
// so that converting it back gives the word again.
std::uint32_t widen(std::uint16_t w) {
    const std::uint32_t r = (w >> 11) & 0x1FU;
    const std::uint32_t g = (w >> 5) & 0x3FU;
    const std::uint32_t b = w & 0x1FU;
    return 0xFF000000U | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
           ((b << 3) | (b >> 2));
}

// ---- the context ---------------------------------------------------------

TEST(Graphics16, IsMadeForSixteenBitImagesAndKeepsTheColourInRgb565) {
    RefPtr<Image> image = createImage(4, 4, kFormatRgb565);
    RefPtr<Graphics> g = graphicsOn(*image);
    EXPECT_EQ(image->getRefCount(), 2);
    EXPECT_EQ(g->getNativeColor(), 0U);
    g->setColor(0x80123456U);
    EXPECT_EQ(g->getColor(), 0x80123456U);
    EXPECT_EQ(g->getNativeColor(), 0x11AAU);
    g->setColor(0xFFFFFFFFU);
    EXPECT_EQ(g->getNativeColor(), 0xFFFFU);
}

// The colour a 16-bit context draws is the word the display conversion makes
// of the same colour drawn at 32 bits, and going back to 32 bits widens the
// fields with zero low bits, at the edges of every field's steps.
TEST(Graphics16, FillsAgreeWithTheDisplayConversionAtTheEdgeValues) {
    ImageManager::create();
    for (const std::uint32_t colour : {0x00000000U, 0xFFFFFFFFU, 0xFF070307U, 0xFF080408U,
                                       0xFFF7FBF7U, 0xFFF8FCF8U, 0x80123456U}) {
        SCOPED_TRACE(testing::Message() << std::hex << colour);
        ImageManager::getInstance()->setPixelFormatAll(kFormatArgb32);
        RefPtr<Image> converted = test::filledImage(2, 2, 0x5A000000U);
        converted->setFollowsDisplayFormat(true);
        RefPtr<Graphics> wide = createGraphics(*converted);
        wide->setColor(colour);
        wide->fillRect(0, 0, 2, 2);
        ImageManager::getInstance()->setPixelFormatAll(kFormatRgb565);
        ASSERT_EQ(converted->getFormat(), kFormatRgb565);

        RefPtr<Image> drawn = filledImage16(2, 2, 0x1234, 0x5A);
        RefPtr<Graphics> narrow = graphicsOn(*drawn);
        narrow->setColor(colour);
        narrow->fillRect(0, 0, 2, 2);
        ASSERT_TRUE(converted->lock());
        EXPECT_EQ(snapshot16(*converted), snapshot16(*drawn));
        converted->unlock();
        EXPECT_EQ(narrow->getNativeColor(), wordAt(*drawn, 1, 1));

        ImageManager::getInstance()->setPixelFormatAll(kFormatArgb32);
        ASSERT_TRUE(converted->lock());
        EXPECT_EQ(test::pixelAt(*converted, 1, 1), 0x5A000000U | (colour & 0x00F8FCF8U));
        converted->unlock();
    }
    ImageManager::destroyInstance();
}

// drawImage reaches the worker of the source's format, the alpha and the
// blend mode: the result is that of the reference row applied to each row of
// the clipped rectangle, and the target's plane is never touched.
struct DrawCase {
    const char* name;
    int sourceFormat;
    bool useAlpha;
    int alpha;
    int blendMode;
    std::function<void(std::uint16_t*, const std::uint16_t*, const std::uint8_t*, int,
                       std::uint16_t, int)>
        row;
};

class DrawImage16 : public testing::TestWithParam<DrawCase> {};

TEST_P(DrawImage16, MatchesTheReferenceRowsForEveryWidth) {
    const DrawCase& c = GetParam();
    constexpr std::uint16_t kColour = rgb(25, 10, 3);
    for (int width = 1; width <= 9; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        RefPtr<Image> target = randomImage16(16, 5, 7U + static_cast<unsigned>(width));
        RefPtr<Image> source;
        if (c.sourceFormat == kFormatAlpha) {
            source = createImage(width, 3, kFormatAlpha);
            std::mt19937 random(static_cast<unsigned>(width));
            for (int i = 0; i < width * 3; ++i) {
                source->getAlpha()[i] = static_cast<std::uint8_t>(random() & 0xFFU);
            }
        } else {
            source = randomImage16(width, 3, 100U + static_cast<unsigned>(width));
            // Rows of whole opaque groups, of mixed alphas, and of zeros.
            for (int x = 0; x < width; ++x) {
                planeAt(*source, x, 0) = 255;
                planeAt(*source, x, 2) = x % 3 == 0 ? 0 : 254;
            }
        }
        source->setUseAlphaChannel(c.useAlpha);
        Snapshot16 expected = snapshot16(*target);
        for (int y = 0; y < 3; ++y) {
            std::vector<std::uint16_t> words(static_cast<std::size_t>(width));
            for (int x = 0; x < width; ++x) {
                words[static_cast<std::size_t>(x)] =
                    c.sourceFormat == kFormatAlpha ? 0 : wordAt(*source, x, y);
            }
            c.row(expected.words.data() + (1 + y) * 16 + 3, words.data(),
                  source->getAlpha() + y * width, width, kColour, c.alpha);
        }
        RefPtr<Graphics> g = graphicsOn(*target);
        g->setColor(widen(kColour));
        g->setAlpha(c.alpha);
        g->setBlendMode(static_cast<BlendMode>(c.blendMode));
        g->drawImage(*source, 3, 1);
        ASSERT_EQ(snapshot16(*target), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DrawImage16,
    testing::Values(DrawCase{"PlainCopy", kFormatRgb565, false, 255, 0,
                             [](auto* d, auto* s, auto*, int n, auto, int) {
                                 pixel16::reference::copyRow(d, s, n);
                             }},
                    DrawCase{"ConstantAlphaCopy", kFormatRgb565, false, 100, 1,
                             [](auto* d, auto* s, auto*, int n, auto, int g) {
                                 pixel16::reference::copyAlphaRow(d, s, n, g);
                             }},
                    DrawCase{"PerPixelAlpha", kFormatRgb565, true, 255, 0,
                             [](auto* d, auto* s, auto* a, int n, auto, int) {
                                 pixel16::reference::blendNormalRow(d, s, a, n);
                             }},
                    DrawCase{"PerPixelTimesGlobalAlpha", kFormatRgb565, true, 200, 0,
                             [](auto* d, auto* s, auto* a, int n, auto, int g) {
                                 pixel16::reference::blendNormalAlphaRow(d, s, a, n, g);
                             }},
                    DrawCase{"Additive", kFormatRgb565, true, 255, 1,
                             [](auto* d, auto* s, auto* a, int n, auto, int g) {
                                 pixel16::reference::blendAdditiveRow(d, s, a, n, g);
                             }},
                    DrawCase{"AdditiveTimesGlobalAlpha", kFormatRgb565, true, 77, 1,
                             [](auto* d, auto* s, auto* a, int n, auto, int g) {
                                 pixel16::reference::blendAdditiveRow(d, s, a, n, g);
                             }},
                    DrawCase{"UnknownBlendModeDrawsNothing", kFormatRgb565, true, 255, 2,
                             [](auto*, auto*, auto*, int, auto, int) {
                             }},
                    DrawCase{"AlphaZeroDrawsNothing", kFormatRgb565, false, 0, 0,
                             [](auto*, auto*, auto*, int, auto, int) {
                             }},
                    DrawCase{"Mask", kFormatAlpha, true, 180, 1,
                             [](auto* d, auto*, auto* m, int n, std::uint16_t k, int g) {
                                 pixel16::reference::drawMaskedRow(d, m, n, k, g);
                             }}),
    [](const testing::TestParamInfo<DrawCase>& param) { return std::string(param.param.name); });

TEST(Graphics16, ThirtyTwoBitSourcesAreNotDrawnAsWords) {
    RefPtr<Image> target = randomImage16(4, 4, 1);
    const Snapshot16 before = snapshot16(*target);
    RefPtr<Image> wide = test::filledImage(4, 4, 0xFF112233U);
    RefPtr<Graphics> g = graphicsOn(*target);
    g->drawImage(*wide, 0, 0);
    g->copyImage(*wide, 0, 0);
    g->drawImageStretched(*wide, 0, 0, 4, 4, 0, 0, 4, 4);
    g->drawImageRotoZoom(*wide, 0.0, 1.0, 0, 0, 0, 0, 4, 4, 0, 0);
    EXPECT_EQ(snapshot16(*target), before);
}

TEST(Graphics16, CopyImageCopiesWordsAndPlaneButNotFromASurface) {
    RefPtr<Image> target = randomImage16(6, 4, 2);
    RefPtr<Image> source = randomImage16(3, 2, 3);
    graphicsOn(*target)->copyImage(*source, 2, 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(wordAt(*target, 2 + x, 1 + y), wordAt(*source, x, y));
            EXPECT_EQ(planeAt(*target, 2 + x, 1 + y), planeAt(*source, x, y));
        }
    }

    // A surface image has no plane: the words come, the target's plane stays.
    RefPtr<ImageSurface> surface = ImageSurface::create(3, 2, kFormatRgb565);
    RefPtr<ImageDD> surfaceImage(new ImageDD(surface.get(), kFormatRgb565));
    ASSERT_TRUE(surfaceImage->lock());
    setWord(*surfaceImage, 1, 1, 0xBEEF);
    surfaceImage->unlock();
    const std::uint8_t planeBefore = planeAt(*target, 1, 1);
    graphicsOn(*target)->copyImage(*surfaceImage, 0, 0);
    EXPECT_EQ(wordAt(*target, 1, 1), 0xBEEF);
    EXPECT_EQ(planeAt(*target, 1, 1), planeBefore);

    // And a surface target takes the words of a 16-bit image.
    RefPtr<Graphics> onSurface = graphicsOn(*surfaceImage);
    onSurface->copyImage(*source, 0, 0);
    onSurface->setChannelRect(0, 9, 0, 0, 3, 2); // no plane to fill: nothing
    ASSERT_TRUE(surfaceImage->lock());
    EXPECT_EQ(wordAt(*surfaceImage, 2, 1), wordAt(*source, 2, 1));
    surfaceImage->unlock();
}

TEST(Graphics16, ChannelOperationsWriteTheAlphaPlane) {
    RefPtr<Image> target = filledImage16(4, 1, 0x1234, 100);
    RefPtr<Image> wide = createImage(4, 1, kFormatArgb32);
    const std::uint32_t pixels[] = {0x10FF0000U, 0xC0008000U, 0x7F0000FFU, 0x00404040U};
    std::memcpy(wide->getPixels(), pixels, sizeof pixels);
    RefPtr<Image> plane16 = filledImage16(4, 1, 0xFFFF, 0);
    const std::uint8_t planeValues[] = {50, 150, 100, 255};
    std::memcpy(plane16->getAlpha(), planeValues, 4);
    RefPtr<Graphics> g = graphicsOn(*target);
    const auto plane = [&target] {
        return std::vector<int>{planeAt(*target, 0, 0), planeAt(*target, 1, 0),
                                planeAt(*target, 2, 0), planeAt(*target, 3, 0)};
    };

    g->copyChannel(*wide, 1, 0, 0); // red bytes
    EXPECT_EQ(plane(), (std::vector<int>{0xFF, 0x00, 0x00, 0x40}));
    g->maxChannel(*wide, 0, 0, 0); // alpha bytes where larger
    EXPECT_EQ(plane(), (std::vector<int>{0xFF, 0xC0, 0x7F, 0x40}));
    g->minChannel(*wide, 2, 0, 0); // green bytes where smaller
    EXPECT_EQ(plane(), (std::vector<int>{0x00, 0x80, 0x00, 0x40}));
    g->copyChannel(*wide, 4, 0, 0); // no such channel
    EXPECT_EQ(plane(), (std::vector<int>{0x00, 0x80, 0x00, 0x40}));

    g->maxChannel(*plane16, 0, 0, 0);
    EXPECT_EQ(plane(), (std::vector<int>{50, 150, 100, 255}));
    g->setChannelRect(0, 120, 0, 0, 4, 1);
    g->minChannel(*plane16, 0, 0, 0);
    EXPECT_EQ(plane(), (std::vector<int>{50, 120, 100, 120}));
    g->copyChannel(*plane16, 0, 0, 0);
    EXPECT_EQ(plane(), (std::vector<int>{50, 150, 100, 255}));

    // A plane source feeds channel 0 only; the words never change.
    g->setChannelRect(0, 7, 0, 0, 4, 1);
    g->copyChannel(*plane16, 2, 0, 0);
    g->maxChannel(*plane16, 3, 0, 0);
    EXPECT_EQ(plane(), (std::vector<int>{7, 7, 7, 7}));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(wordAt(*target, x, 0), 0x1234);
    }
}

TEST(Graphics16, SetChannelWritesPlaneOrFieldAndIgnoresAlpha) {
    RefPtr<Image> target = filledImage16(3, 2, rgb(10, 20, 30), 5);
    RefPtr<Graphics> g = graphicsOn(*target);
    g->setAlpha(0);
    g->setChannelPixel(0, 0x1C8, 0, 0); // the low byte
    g->setChannelPixel(2, 0x40, 1, 0);  // green takes v & 0x3F: 0
    g->setChannelPixel(1, 31, 2, 0);
    g->setChannelPixel(5, 31, 2, 1); // no such channel
    EXPECT_EQ(planeAt(*target, 0, 0), 0xC8);
    EXPECT_EQ(wordAt(*target, 1, 0), rgb(10, 0, 30));
    EXPECT_EQ(wordAt(*target, 2, 0), rgb(31, 20, 30));
    EXPECT_EQ(wordAt(*target, 2, 1), rgb(10, 20, 30));
    g->setChannelLine(3, 0, 0, 1, 2, 1);
    EXPECT_EQ(wordAt(*target, 0, 1), rgb(10, 20, 0));
    EXPECT_EQ(wordAt(*target, 2, 1), rgb(10, 20, 0));
    g->setChannelRect(0, 77, 1, 0, 5, 5);
    EXPECT_EQ(planeAt(*target, 0, 1), 5);
    EXPECT_EQ(planeAt(*target, 2, 1), 77);
}

TEST(Graphics16, PlotsFillsAndLines) {
    RefPtr<Image> target = filledImage16(6, 6, 0, 9);
    RefPtr<Graphics> g = graphicsOn(*target);
    g->setColor(0xFFFFFFFFU);
    g->drawLine(5, 5, 5, 5);
    EXPECT_EQ(wordAt(*target, 5, 5), 0xFFFF);
    EXPECT_EQ(wordAt(*target, 4, 5), 0);
    g->drawLine(4, 0, -10, 0); // clipped at the left edge, ends in either order
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(wordAt(*target, x, 0), x <= 4 ? 0xFFFF : 0) << x;
    }
    g->setAlpha(128);
    g->drawLine(0, 2, 2, 4); // walked through plot
    g->plot(5, 2);
    for (const auto& [x, y] : {std::pair{0, 2}, {1, 3}, {2, 4}, {5, 2}}) {
        EXPECT_EQ(wordAt(*target, x, y), rgb(15, 31, 15)) << x << "," << y;
    }
    g->setColor(0xFF0000FFU);
    g->fillRect(4, 3, 10, 10);
    EXPECT_EQ(wordAt(*target, 5, 5), rgb(15, 31, 31)) << "lerp of white towards blue";
    EXPECT_EQ(wordAt(*target, 4, 3), rgb(0, 0, 15));
    g->setAlpha(255);
    g->clear();
    EXPECT_EQ(wordAt(*target, 0, 0), 0x001F);
    EXPECT_EQ(planeAt(*target, 0, 0), 9) << "colour drawing leaves the plane";
}

// ---- clipping ------------------------------------------------------------

// Rectangles and images half off each edge of the target and of a clip
// rectangle (with a translation): exactly the pixels inside the target, the
// clip and the drawn rectangle change.
struct ClipCase {
    const char* name;
    Rect clip;
    int x;
    int y;
};

class Clipping16 : public testing::TestWithParam<ClipCase> {};

TEST_P(Clipping16, TouchesOnlyPixelsInsideTargetAndClip) {
    const ClipCase& c = GetParam();
    constexpr int kWidth = 10;
    constexpr int kHeight = 8;
    constexpr int kSide = 4;
    constexpr int kShift = 2; // translation on both axes
    RefPtr<Image> source = randomImage16(kSide, kSide, 11, 255);
    for (int op = 0; op < 3; ++op) {
        SCOPED_TRACE(op == 0 ? "fillRect" : op == 1 ? "drawImage" : "copyImage");
        RefPtr<Image> target = filledImage16(kWidth, kHeight, 0x0001, 1);
        RefPtr<Graphics> g = graphicsOn(*target);
        g->setClip(c.clip);
        g->setTranslation(kShift, kShift);
        g->setColor(0xFFFFFFFFU);
        if (op == 0) {
            g->fillRect(c.x - kShift, c.y - kShift, kSide, kSide);
        } else if (op == 1) {
            g->drawImage(*source, c.x - kShift, c.y - kShift);
        } else {
            g->copyImage(*source, c.x - kShift, c.y - kShift);
        }
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool inside = x >= c.x && x < c.x + kSide && y >= c.y && y < c.y + kSide &&
                                    x >= c.clip.x && x < c.clip.x + c.clip.width && y >= c.clip.y &&
                                    y < c.clip.y + c.clip.height;
                const std::uint16_t expected = !inside   ? 0x0001
                                               : op == 0 ? 0xFFFF
                                                         : wordAt(*source, x - c.x, y - c.y);
                ASSERT_EQ(wordAt(*target, x, y), expected) << x << "," << y;
                ASSERT_EQ(planeAt(*target, x, y), inside && op == 2 ? 255 : 1) << x << "," << y;
            }
        }
    }
}

constexpr Rect kWhole{0, 0, 10, 8};
constexpr Rect kInner{2, 1, 6, 5};

INSTANTIATE_TEST_SUITE_P(
    Edges, Clipping16,
    testing::Values(
        ClipCase{"OffTargetLeft", kWhole, -2, 3}, ClipCase{"OffTargetRight", kWhole, 8, 3},
        ClipCase{"OffTargetTop", kWhole, 3, -3}, ClipCase{"OffTargetBottom", kWhole, 3, 6},
        ClipCase{"OffTargetCorner", kWhole, 7, -1}, ClipCase{"WhollyOutside", kWhole, 12, 3},
        ClipCase{"OffClipLeft", kInner, 0, 2}, ClipCase{"OffClipRight", kInner, 6, 2},
        ClipCase{"OffClipTop", kInner, 3, -1}, ClipCase{"OffClipBottom", kInner, 3, 5},
        ClipCase{"WhollyOutsideTheClip", kInner, 8, 0},
        ClipCase{"EmptyClip", Rect{3, 3, 0, 4}, 2, 2}),
    [](const testing::TestParamInfo<ClipCase>& param) { return std::string(param.param.name); });

TEST(Graphics16, NegativeSourceOriginShiftsTheDestination) {
    RefPtr<Image> target = filledImage16(6, 2, 0, 0);
    RefPtr<Image> source = randomImage16(4, 1, 5);
    graphicsOn(*target)->copyImage(*source, 0, 0, -2, 0, 4, 1);
    EXPECT_EQ(wordAt(*target, 0, 0), 0);
    EXPECT_EQ(wordAt(*target, 1, 0), 0);
    EXPECT_EQ(wordAt(*target, 2, 0), wordAt(*source, 0, 0));
    EXPECT_EQ(wordAt(*target, 3, 0), wordAt(*source, 1, 0));
    EXPECT_EQ(wordAt(*target, 4, 0), 0);
}

// ---- computed drawing ----------------------------------------------------

// A 32-bit twin of a 16-bit image whose channels convert back to its words.
RefPtr<Image> widened(Image& image) {
    RefPtr<Image> wide = createImage(image.getWidth(), image.getHeight(), kFormatArgb32);
    for (int y = 0; y < image.getHeight(); ++y) {
        for (int x = 0; x < image.getWidth(); ++x) {
            test::setPixel(*wide, x, y, widen(wordAt(image, x, y)));
        }
    }
    wide->setUseAlphaChannel(image.getUseAlphaChannel());
    return wide;
}

std::vector<std::uint16_t> narrowed(Image& wide) {
    std::vector<std::uint16_t> words;
    for (std::uint32_t p : test::snapshot(wide)) {
        words.push_back(pixel16::toRgb565(p));
    }
    return words;
}

// Unfiltered rotation and stretching only copy words, so the 16-bit walk must
// put every source pixel where the 32-bit walk puts it.
TEST(Graphics16, UnfilteredRotationAndStretchFollowTheThirtyTwoBitWalk) {
    RefPtr<Image> source = randomImage16(9, 7, 21);
    source->setUseAlphaChannel(false);
    RefPtr<Image> wideSource = widened(*source);
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        RefPtr<Image> target = filledImage16(24, 20, 0, 0);
        RefPtr<Image> wideTarget = test::filledImage(24, 20, 0xFF000000U);
        for (Image* image : {target.get(), wideTarget.get()}) {
            RefPtr<Graphics> g = createGraphics(*image);
            g->setClip(Rect{1, 2, 20, 16});
            if (kind == 0) {
                g->drawImageRotoZoom(*(image == target.get() ? source : wideSource), 0.3, 1.4, 6, 5,
                                     1, 0, 8, 7, 4, 3);
            } else if (kind == 1) {
                g->drawImageRotoZoom(*(image == target.get() ? source : wideSource), -2.0, 0.7, 8,
                                     4, 0, 0, 9, 7, 0, 0);
            } else {
                g->drawImageStretched(*(image == target.get() ? source : wideSource), 1, 1, 7, 5,
                                      -3, 4, 29, 11);
            }
        }
        EXPECT_EQ(snapshot16(*target).words, narrowed(*wideTarget));
    }
}

TEST(Graphics16, RotationByNothingReproducesTheSource) {
    RefPtr<Image> source = randomImage16(5, 4, 31);
    source->setUseAlphaChannel(false);
    RefPtr<Image> target = filledImage16(9, 9, 0, 0);
    graphicsOn(*target)->drawImageRotoZoom(*source, 0.0, 1.0, 2, 3, 0, 0, 5, 4, 2, 2);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
            EXPECT_EQ(wordAt(*target, x, y), inside ? wordAt(*source, x - 2, y - 3) : 0)
                << x << "," << y;
        }
    }
}

// The per-pixel-alpha variants: weights of 5 or less leave the pixel, above
// 250 store the sample word, otherwise the per-field lerp; the stretch's
// unfiltered samples lerp without thresholds.
TEST(Graphics16, BlendingTransformsWeighThePlaneByTheirThresholds) {
    constexpr std::uint16_t kBlack = 0;
    constexpr std::uint16_t kWhite = 0xFFFF;
    struct Case {
        int plane;
        int alpha;
        bool smooth;
        std::uint16_t rotated;
        std::uint16_t stretched;
    };
    const Case cases[] = {
        // 5 * 255 >> 8 = 4: rotation leaves it, the unfiltered stretch lerps.
        {5, 255, false, kBlack, rgb(0, 0, 0)},
        {12, 255, false, rgb(1, 2, 1), rgb(1, 2, 1)},
        {255, 255, false, kWhite, rgb(30, 62, 30)},
        {128, 255, false, rgb(15, 31, 15), rgb(15, 31, 15)},
        {255, 128, false, rgb(15, 31, 15), rgb(15, 31, 15)},
        // Filtered (uniform source, so every sample is white): weight
        // trunc(plane * g) >> 8 with both thresholds.
        {255, 255, true, kWhite, kWhite},
        {5, 255, true, kBlack, kBlack},
        {128, 255, true, rgb(15, 31, 15), rgb(15, 31, 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("plane " + std::to_string(c.plane) + " alpha " + std::to_string(c.alpha) +
                     (c.smooth ? " smooth" : ""));
        RefPtr<Image> source = filledImage16(6, 6, kWhite, static_cast<std::uint8_t>(c.plane));
        RefPtr<Image> rotated = filledImage16(12, 12, kBlack, 0);
        RefPtr<Image> stretched = filledImage16(12, 12, kBlack, 0);
        RefPtr<Graphics> g = graphicsOn(*rotated);
        g->setAlpha(c.alpha);
        g->setSmooth(c.smooth);
        g->drawImageRotoZoom(*source, 0.0, 1.0, 3, 3, 0, 0, 6, 6, 3, 3);
        EXPECT_EQ(wordAt(*rotated, 5, 5), c.rotated);
        RefPtr<Graphics> s = graphicsOn(*stretched);
        s->setAlpha(c.alpha);
        s->setSmooth(c.smooth);
        s->drawImageStretched(*source, 0, 0, 6, 6, 0, 0, 12, 12);
        EXPECT_EQ(wordAt(*stretched, 5, 5), c.stretched);
        EXPECT_EQ(planeAt(*stretched, 5, 5), 0) << "the target plane is never written";
    }
}

TEST(Graphics16, FilteredSamplesInterpolateFieldByField) {
    // Two columns, red 0 and 31, green 63 and 0: halfway gives trunc(15.5)
    // and trunc(31.5), each kept in its field.
    RefPtr<Image> source = filledImage16(2, 2, rgb(0, 63, 0), 255);
    setWord(*source, 1, 0, rgb(31, 0, 0));
    setWord(*source, 1, 1, rgb(31, 0, 0));
    source->setUseAlphaChannel(false);
    RefPtr<Image> target = filledImage16(4, 2, 0, 0);
    RefPtr<Graphics> g = graphicsOn(*target);
    g->setSmooth(true);
    g->drawImageStretched(*source, 0, 0, 2, 2, 0, 0, 4, 2);
    EXPECT_EQ(wordAt(*target, 0, 0), rgb(0, 63, 0));
    // Only the last row and column of the source are never interpolated; row
    // 0 here is interpolated between rows that are equal.
    EXPECT_EQ(wordAt(*target, 1, 0), rgb(15, 31, 0));
    EXPECT_EQ(wordAt(*target, 2, 0), rgb(31, 0, 0));
}

// The anti-aliased line writes the same pixels as on a 32-bit target, each
// with the same weight: on black under white a 32-bit channel shows the
// weight w as w - 1 (floor(255 w / 256)), a 16-bit word as lerp(0, white, w).
TEST(Graphics16, SmoothLineWeighsThePixelsAsOnThirtyTwoBits) {
    RefPtr<Image> target = filledImage16(20, 20, 0, 0);
    RefPtr<Image> wide = test::filledImage(20, 20, 0xFF000000U);
    for (Image* image : {target.get(), wide.get()}) {
        RefPtr<Graphics> g = createGraphics(*image);
        g->setColor(0xFFFFFFFFU);
        g->setAlpha(100); // only alpha 0 matters to smooth lines
        g->drawLineSmooth(1.3F, 2.6F, 17.2F, 9.1F);
        g->drawLineSmooth(14.5F, 18.0F, 17.2F, 11.4F); // apart from the first
    }
    int drawn = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const std::uint32_t blue = test::pixelAt(*wide, x, y) & 0xFFU;
            const std::uint16_t expected =
                blue == 0 ? 0 : pixel16::lerpWord(0, 0xFFFF, static_cast<int>(blue) + 1);
            EXPECT_EQ(wordAt(*target, x, y), expected) << x << "," << y;
            drawn += blue == 0 ? 0 : 1;
        }
    }
    EXPECT_GT(drawn, 20);
}

TEST(Graphics16, PolygonFillGoesThroughPlot) {
    RefPtr<Image> polygon = filledImage16(10, 10, 0, 0);
    RefPtr<Image> rect = filledImage16(10, 10, 0, 0);
    for (Image* image : {polygon.get(), rect.get()}) {
        RefPtr<Graphics> g = createGraphics(*image);
        g->setColor(0xFF00FF00U);
        g->setAlpha(128);
        g->setTranslation(1, 0);
        if (image == polygon.get()) {
            g->fillPolygon(Polygon({{2, 3}, {7, 3}, {7, 8}, {2, 8}}), false);
        } else {
            g->fillRect(2, 3, 5, 5);
        }
    }
    EXPECT_EQ(snapshot16(*polygon), snapshot16(*rect));
    EXPECT_EQ(wordAt(*polygon, 3, 3), rgb(0, 31, 0));

    RefPtr<Image> channel = filledImage16(10, 10, 0, 0);
    createGraphics(*channel)->setChannelPolygon(0, 200, Polygon({{2, 3}, {7, 3}, {7, 8}}), false);
    EXPECT_EQ(planeAt(*channel, 6, 4), 200);
    EXPECT_EQ(planeAt(*channel, 0, 0), 0);
}

} // namespace
} // namespace orv
