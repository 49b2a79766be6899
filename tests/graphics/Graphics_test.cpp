#include "engine/graphics/Graphics.h"
#include "engine/graphics/Graphics16.h"
#include "engine/graphics/Graphics32.h"
#include "engine/resources/ImageDD.h"
#include "engine/resources/ImageManager.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace orv {
namespace {

using test::filledImage;
using test::patternImage;
using test::pixelAt;
using test::setPixel;
using test::snapshot;

constexpr std::uint32_t kBackground = 0x5A102030;

class GraphicsTest : public testing::Test {
protected:
    GraphicsTest()
        : target_(filledImage(12, 10, kBackground)), graphics_(createGraphics(*target_)) {}

    Image& target() { return *target_; }
    Graphics& g() { return *graphics_; }

    // Pixels that differ from the background.
    std::set<std::pair<int, int>> touched() {
        std::set<std::pair<int, int>> points;
        for (int y = 0; y < target_->getHeight(); ++y) {
            for (int x = 0; x < target_->getWidth(); ++x) {
                if (pixelAt(*target_, x, y) != kBackground) {
                    points.insert({x, y});
                }
            }
        }
        return points;
    }

private:
    RefPtr<Image> target_;
    RefPtr<Graphics> graphics_;
};

TEST(GraphicsMaking, ColourImagesGetAContextOfTheirFormatWhichHoldsThem) {
    RefPtr<Image> image = createImage(4, 4, kFormatArgb32);
    RefPtr<Graphics> graphics = createGraphics(*image);
    ASSERT_TRUE(graphics);
    EXPECT_TRUE(graphics->isKindOf(Graphics32::classRecord));
    EXPECT_TRUE(graphics->isKindOf(Graphics::classRecord));
    EXPECT_EQ(image->getRefCount(), 2);
    EXPECT_EQ(&graphics->getTarget(), image.get());
    EXPECT_EQ(graphics->getClip(), (Rect{0, 0, 4, 4}));
    EXPECT_EQ(graphics->getAlpha(), 255);
    EXPECT_EQ(graphics->getColor(), 0U);
    EXPECT_EQ(graphics->getBlendMode(), BlendMode::BlendNormal);
    EXPECT_FALSE(graphics->isSmooth());
    EXPECT_TRUE(
        createGraphics(*createImage(4, 4, kFormatRgb565))->isKindOf(Graphics16::classRecord));
    EXPECT_FALSE(createGraphics(*createImage(4, 4, kFormatAlpha)));
}

TEST_F(GraphicsTest, AlphaIsClamped) {
    for (const auto& [given, stored] :
         {std::pair{300, 255}, {255, 255}, {128, 128}, {1, 1}, {0, 0}, {-5, 0}}) {
        g().setAlpha(given);
        EXPECT_EQ(g().getAlpha(), stored) << given;
    }
}

TEST_F(GraphicsTest, SetClipStartsAgainWhileIntersectNarrows) {
    g().setClip(2, 2, 6, 6);
    g().setClip(Rect{5, 1, 100, 3});
    EXPECT_EQ(g().getClip(), (Rect{5, 1, 7, 3}));
    g().intersectClip(0, 2, 7, 100);
    EXPECT_EQ(g().getClip(), (Rect{5, 2, 2, 2}));
    g().setTranslation(3, 3);
    EXPECT_EQ(g().getClip(), (Rect{5, 2, 2, 2})) << "the clip is not translated";
    g().intersectClip(20, 20, 5, 5);
    EXPECT_LE(g().getClip().width, 0);
    g().setColor(0xFFFFFFFF);
    g().fillRect(-100, -100, 1000, 1000);
    g().plot(5, 5);
    EXPECT_TRUE(touched().empty()) << "an empty clip draws nothing";
    g().resetClip();
    EXPECT_EQ(g().getClip(), (Rect{0, 0, 12, 10}));
}

TEST_F(GraphicsTest, TranslationMovesEveryDestination) {
    g().setTranslation(2, 1);
    g().translate(1, 1);
    g().translateX(-1);
    g().translateY(1);
    EXPECT_EQ(g().getTranslateX(), 2);
    EXPECT_EQ(g().getTranslateY(), 3);
    g().setColor(0x00FFFFFF);
    g().plot(0, 0);
    g().fillRect(1, 0, 2, 1);
    EXPECT_EQ(touched(), (std::set<std::pair<int, int>>{{2, 3}, {3, 3}, {4, 3}}));
}

// Every drawing operation at alpha 0 leaves the target alone, except the
// channel rectangle, which ignores alpha.
TEST_F(GraphicsTest, AlphaZeroDrawsNothing) {
    RefPtr<Image> source = patternImage(3, 3, 1);
    RefPtr<Image> mask = createImage(3, 3, kFormatAlpha);
    std::fill_n(mask->getAlpha(), 9, 0xFF);
    g().setColor(0xFFFFFFFF);
    g().setAlpha(0);
    g().plot(1, 1);
    g().drawLine(0, 0, 5, 0);
    g().drawLine(0, 0, 5, 3);
    g().drawRect(1, 1, 4, 4);
    g().fillRect(0, 0, 12, 10);
    g().setChannelPixel(1, 0xFF, 2, 2);
    g().setChannelLine(1, 0xFF, 0, 5, 5, 5);
    g().drawImage(*source, 0, 0);
    g().drawImage(*mask, 0, 0);
    g().copyImage(*source, 0, 0);
    g().copyChannel(*source, 1, 0, 0);
    g().maxChannel(*source, 1, 0, 0);
    EXPECT_TRUE(touched().empty());
    g().setChannelRect(3, 0xEE, 1, 1, 1, 1);
    EXPECT_EQ(pixelAt(target(), 1, 1), 0x5A1020EEU);
}

TEST_F(GraphicsTest, SteppedLineVisitsTheExpectedPoints) {
    g().setColor(0x00FFFFFF);
    g().setAlpha(128);
    g().drawLine(0, 0, 4, 2);
    EXPECT_EQ(touched(), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
}

TEST_F(GraphicsTest, LineWithEqualEndsSetsOnePixel) {
    g().setColor(0x00FFFFFF);
    g().drawLine(5, 5, 5, 5);
    EXPECT_EQ(touched(), (std::set<std::pair<int, int>>{{5, 5}}));
    EXPECT_EQ(pixelAt(target(), 5, 5), 0x5AFFFFFFU);
}

TEST_F(GraphicsTest, FloatLinesRoundToNearestEven) {
    g().setColor(0x00FFFFFF);
    g().drawLine(PointF{2.5F, 1.4F}, PointF{3.5F, 1.6F});
    EXPECT_EQ(touched(), (std::set<std::pair<int, int>>{{2, 1}, {3, 2}, {4, 2}}));
}

struct StraightLineCase {
    const char* name;
    int x1, y1, x2, y2;
};

class StraightLines : public GraphicsTest, public testing::WithParamInterface<StraightLineCase> {};

// The opaque fast path gives exactly the pixels of the point-by-point walk.
TEST_P(StraightLines, MatchThePointWalkWhenClipped) {
    const StraightLineCase& c = GetParam();
    g().setClip(2, 1, 7, 6);
    g().setTranslation(1, 1);
    g().setColor(0x00ABCDEF);
    g().drawLine(c.x1, c.y1, c.x2, c.y2);
    const auto fast = snapshot(target());

    RefPtr<Image> other = filledImage(12, 10, kBackground);
    RefPtr<Graphics> walker = createGraphics(*other);
    walker->setClip(2, 1, 7, 6);
    walker->setTranslation(1, 1);
    walker->setColor(0x00ABCDEF);
    int dx = c.x2 > c.x1 ? 1 : (c.x2 < c.x1 ? -1 : 0);
    int dy = c.y2 > c.y1 ? 1 : (c.y2 < c.y1 ? -1 : 0);
    for (int x = c.x1, y = c.y1;; x += dx, y += dy) {
        walker->plot(x, y);
        if (x == c.x2 && y == c.y2) {
            break;
        }
    }
    EXPECT_EQ(fast, snapshot(*other));
}

INSTANTIATE_TEST_SUITE_P(Edges, StraightLines,
                         testing::Values(StraightLineCase{"Inside", 2, 2, 5, 2},
                                         StraightLineCase{"Backwards", 5, 3, 2, 3},
                                         StraightLineCase{"AcrossBothEnds", -20, 3, 40, 3},
                                         StraightLineCase{"LeftOfClip", -9, 3, 0, 3},
                                         StraightLineCase{"RightOfClip", 8, 3, 20, 3},
                                         StraightLineCase{"AboveClip", 2, -1, 6, -1},
                                         StraightLineCase{"BelowClip", 2, 6, 6, 6},
                                         StraightLineCase{"VerticalAcross", 4, -30, 4, 30},
                                         StraightLineCase{"VerticalUpwards", 3, 5, 3, 1},
                                         StraightLineCase{"VerticalOutside", 9, 0, 9, 5}),
                         [](const testing::TestParamInfo<StraightLineCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(GraphicsTest, FarOffTranslationAndCoordinatesDoNotOverflow) {
    g().setColor(0x00FFFFFF);
    g().setTranslation(2000000000, 0);
    g().drawLine(-2000000000 + 2, 4, -2000000000 + 4, 4);
    g().fillRect(-2000000000 + 6, 1, 2000000000, 1);
    g().drawLine(2000000000, 6, 2000000000, 9);
    g().setTranslation(-2000000000, -2000000000);
    g().drawLine(2000000000, 2000000000 + 8, 2000000000, -2000000000);
    g().plot(2000000000 + 11, 2000000000 + 9);
    g().plot(-2000000000, 5);
    EXPECT_EQ(touched(), (std::set<std::pair<int, int>>{{2, 4},
                                                        {3, 4},
                                                        {4, 4},
                                                        {6, 1},
                                                        {7, 1},
                                                        {8, 1},
                                                        {9, 1},
                                                        {10, 1},
                                                        {11, 1},
                                                        {0, 0},
                                                        {0, 1},
                                                        {0, 2},
                                                        {0, 3},
                                                        {0, 4},
                                                        {0, 5},
                                                        {0, 6},
                                                        {0, 7},
                                                        {0, 8},
                                                        {11, 9}}));
}

TEST_F(GraphicsTest, RectangleOutlineOfHeightOneAndTwo) {
    g().setColor(0x00FFFFFF);
    g().drawRect(2, 4, 3, 1);
    EXPECT_EQ(touched(), (std::set<std::pair<int, int>>{
                             {2, 4}, {3, 4}, {4, 4}, {2, 3}, {2, 5}, {4, 3}, {4, 5}}))
        << "the sides run from y + 1 to y - 1, touching the rows around";

    RefPtr<Image> other = filledImage(6, 6, 0xFF000000);
    RefPtr<Graphics> half = createGraphics(*other);
    half->setColor(0x00FFFFFF);
    half->setAlpha(128);
    half->drawRect(1, 1, 3, 2);
    EXPECT_EQ(pixelAt(*other, 2, 1), 0xFF7F7F7FU) << "top edge blended once";
    EXPECT_EQ(pixelAt(*other, 1, 1), 0xFFBFBFBFU) << "corner blended twice";
    EXPECT_EQ(pixelAt(*other, 3, 2), 0xFFBFBFBFU);
}

// A model of image clipping: source pixel (sx, sy) of the source rectangle
// (within the image) lands at (x + tx + sx - srcX, y + ty + sy - srcY) when
// that lies inside the clip and the target.
struct ImageClipCase {
    const char* name;
    int x, y, srcX, srcY, srcWidth, srcHeight;
    Rect clip;
    int tx, ty;
};

class ImageClipping : public GraphicsTest, public testing::WithParamInterface<ImageClipCase> {};

TEST_P(ImageClipping, DrawsExactlyTheVisiblePixels) {
    const ImageClipCase& c = GetParam();
    RefPtr<Image> source = patternImage(5, 4, 9);
    g().setClip(c.clip);
    g().setTranslation(c.tx, c.ty);
    g().copyImage(*source, c.x, c.y, c.srcX, c.srcY, c.srcWidth, c.srcHeight);

    RefPtr<Image> expected = filledImage(12, 10, kBackground);
    const Rect clip = g().getClip();
    for (int sy = std::max(c.srcY, 0); sy < std::min(c.srcY + c.srcHeight, 4); ++sy) {
        for (int sx = std::max(c.srcX, 0); sx < std::min(c.srcX + c.srcWidth, 5); ++sx) {
            const int dx = c.x + c.tx + sx - c.srcX;
            const int dy = c.y + c.ty + sy - c.srcY;
            if (dx >= clip.x && dx < clip.x + clip.width && dy >= clip.y &&
                dy < clip.y + clip.height && dx >= 0 && dx < 12 && dy >= 0 && dy < 10) {
                setPixel(*expected, dx, dy, pixelAt(*source, sx, sy));
            }
        }
    }
    EXPECT_EQ(snapshot(target()), snapshot(*expected));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ImageClipping,
    testing::Values(
        ImageClipCase{"Inside", 3, 2, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"PartOfTheSource", 3, 2, 1, 1, 3, 2, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"OverTheLeftEdge", -2, 2, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"OverTheTopEdge", 2, -3, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"OverTheRightEdge", 9, 2, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"OverTheBottomEdge", 2, 8, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"OverEveryClipEdge", 1, 1, 0, 0, 5, 4, {2, 2, 2, 2}, 0, 0},
        ImageClipCase{"NegativeSourceShiftsRight", 1, 1, -2, -1, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"SourceBeyondTheImage", 1, 1, 3, 2, 9, 9, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"SourceWhollyOutside", 1, 1, 5, 0, 3, 3, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"LeftOfTheClip", 0, 3, 0, 0, 5, 4, {5, 0, 7, 10}, 0, 0},
        ImageClipCase{"RightOfTheClip", 7, 3, 0, 0, 5, 4, {0, 0, 7, 10}, 0, 0},
        ImageClipCase{"AboveTheClip", 2, 0, 0, 0, 5, 4, {0, 4, 12, 6}, 0, 0},
        ImageClipCase{"BelowTheClip", 2, 6, 0, 0, 5, 4, {0, 0, 12, 6}, 0, 0},
        ImageClipCase{"AtTheTargetWidth", 12, 0, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"FarAway", 2000000000, 2000000000, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"FarAwayNegative", -2000000000, 0, 0, 0, 5, 4, {0, 0, 12, 10}, 0, 0},
        ImageClipCase{"Translated", 0, 0, 0, 0, 5, 4, {0, 0, 12, 10}, 9, 7},
        ImageClipCase{"TranslatedIntoTheClip", -4, -4, 0, 0, 5, 4, {3, 3, 3, 3}, 5, 5},
        ImageClipCase{"NegativeSize", 2, 2, 0, 0, -3, 4, {0, 0, 12, 10}, 0, 0}),
    [](const testing::TestParamInfo<ImageClipCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(GraphicsTest, ImageModesFollowTheSourceAndTheState) {
    RefPtr<Image> source = filledImage(2, 1, 0x80FF0000);
    g().drawImage(*source, 0, 0);
    EXPECT_EQ(pixelAt(target(), 0, 0), 0x5A861018U) << "per-pixel alpha 0x80 -> weight 127";
    g().setBlendMode(BlendMode::BlendAdditive);
    g().drawImage(*source, 0, 1);
    EXPECT_EQ(pixelAt(target(), 0, 1), 0x5A8E2030U) << "additive: R + 255 * 127 / 256";
    g().setBlendMode(static_cast<BlendMode>(2));
    g().drawImage(*source, 0, 2);
    EXPECT_EQ(pixelAt(target(), 0, 2), kBackground) << "an unknown blend mode draws nothing";

    source->setUseAlphaChannel(false);
    g().drawImage(*source, 0, 3);
    EXPECT_EQ(pixelAt(target(), 0, 3), 0x5AFF0000U) << "plain copy keeps the target alpha";
    g().setAlpha(128);
    g().drawImage(*source, 0, 4);
    EXPECT_EQ(pixelAt(target(), 0, 4), 0x6D871018U) << "constant alpha blends alpha too";
    g().copyImage(*source, 0, 5);
    EXPECT_EQ(pixelAt(target(), 0, 5), 0x80FF0000U) << "copyImage copies all 32 bits";

    RefPtr<Image> mask = createImage(2, 1, kFormatAlpha);
    mask->getAlpha()[0] = 255;
    mask->getAlpha()[1] = 0;
    g().setAlpha(255);
    g().setColor(0x000000FF);
    g().drawImage(*mask, 0, 6);
    EXPECT_EQ(pixelAt(target(), 0, 6), 0x5A0000FDU) << "mask: colour through the mask";
    EXPECT_EQ(pixelAt(target(), 1, 6), kBackground);
}

TEST_F(GraphicsTest, SourcesOfAnotherFormatAreNotReadAsThirtyTwoBit) {
    RefPtr<Image> sixteen = createImage(4, 4, kFormatRgb565);
    std::fill_n(sixteen->getPixels(), 32, 0xAB);
    std::fill_n(sixteen->getAlpha(), 16, 0x11);
    RefPtr<Image> empty(new Image());
    g().drawImage(*sixteen, 0, 0);
    g().copyImage(*sixteen, 0, 0);
    g().drawImage(*empty, 0, 0, 0, 0, 4, 4);
    EXPECT_TRUE(touched().empty());
    g().copyChannel(*sixteen, 0, 0, 0);
    EXPECT_EQ(pixelAt(target(), 3, 3), 0x11102030U) << "its alpha plane can feed a channel";
}

TEST_F(GraphicsTest, ChannelOperations) {
    RefPtr<Image> source = filledImage(2, 2, 0x11223344);
    g().copyChannel(*source, 2, 0, 0);
    EXPECT_EQ(pixelAt(target(), 1, 1), 0x5A103330U);
    g().minChannel(*source, 1, 0, 0);
    EXPECT_EQ(pixelAt(target(), 0, 0), 0x5A103330U) << "0x22 is not smaller than 0x10";
    g().maxChannel(*source, 1, 0, 0);
    EXPECT_EQ(pixelAt(target(), 0, 0), 0x5A223330U);
    g().minChannel(*source, 0, 0, 0);
    EXPECT_EQ(pixelAt(target(), 0, 0), 0x11223330U);
    g().copyChannel(*source, 4, 4, 4);
    EXPECT_EQ(pixelAt(target(), 4, 4), kBackground) << "channel 4 writes nothing";

    RefPtr<Image> mask = createImage(2, 1, kFormatAlpha);
    mask->getAlpha()[0] = 0x05;
    mask->getAlpha()[1] = 0xF0;
    g().maxChannel(*mask, 3, 6, 0);
    EXPECT_EQ(pixelAt(target(), 6, 0), 0x5A102030U);
    EXPECT_EQ(pixelAt(target(), 7, 0), 0x5A1020F0U);
    g().minChannel(*mask, 3, 6, 1);
    EXPECT_EQ(pixelAt(target(), 6, 1), 0x5A102005U);
    g().copyChannel(*mask, 0, 8, 0);
    EXPECT_EQ(pixelAt(target(), 8, 0), 0x05102030U);

    g().setChannelPixel(1, 0x1FF, 9, 9);
    EXPECT_EQ(pixelAt(target(), 9, 9), 0x5AFF2030U) << "the value's low byte";
    g().setChannel(0, 0x77, 10, 8);
    EXPECT_EQ(pixelAt(target(), 11, 9), 0x77102030U);
    EXPECT_EQ(pixelAt(target(), 9, 8), kBackground);
}

TEST_F(GraphicsTest, FillsKeepTheTargetAlpha) {
    g().setColor(0xFF0000FF);
    g().fillRect(Rect{1, 1, 2, 2});
    EXPECT_EQ(pixelAt(target(), 2, 2), 0x5A0000FFU);
    g().setAlpha(64);
    g().setColor(0x00FFFFFF);
    g().fillRect(4, 4, 1, 1);
    EXPECT_EQ(pixelAt(target(), 4, 4), 0x5A4B5763U);
    g().clear();
    EXPECT_EQ(pixelAt(target(), 11, 9), 0x5A4B5763U);
}

TEST(GraphicsSurface, DrawsThroughThePaddedRowsOfASurface) {
    ImageManager::create();
    RefPtr<ImageSurface> surface = ImageSurface::create(7, 5, kFormatArgb32);
    RefPtr<ImageDD> image = createImageFromSurface(surface.get());
    ASSERT_TRUE(image);
    RefPtr<Graphics> graphics = createGraphics(*image);
    ASSERT_TRUE(graphics);
    graphics->setColor(0x00FFFFFF);
    graphics->fillRect(1, 1, 5, 3);
    RefPtr<Image> source = patternImage(3, 3, 4);
    graphics->copyImage(*source, 4, 2);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(pixelAt(*image, 5, 1), 0x00FFFFFFU);
    EXPECT_EQ(pixelAt(*image, 0, 1), 0x00000000U);
    EXPECT_EQ(pixelAt(*image, 6, 4), pixelAt(*source, 2, 2));
    EXPECT_EQ(pixelAt(*image, 6, 1), 0U);
    image->unlock();
    EXPECT_FALSE(image->isLocked());

    ImageManager::getInstance()->setPixelFormatAll(kFormatRgb565);
    graphics->fillRect(0, 0, 7, 5); // the target is no longer 32-bit: nothing drawn
    ImageManager::destroyInstance();
}

TEST(GraphicsImages, CompressedSourcesAreRestoredAndImagesLeftUnlocked) {
    RefPtr<Image> target = filledImage(8, 8, 0);
    RefPtr<Image> source = filledImage(8, 8, 0xFF123456);
    ASSERT_TRUE(source->compress());
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->drawImage(*source, 0, 0);
    EXPECT_FALSE(source->isLocked());
    EXPECT_FALSE(target->isLocked());
    EXPECT_EQ(pixelAt(*target, 7, 7), 0x00123456U);
}

} // namespace
} // namespace orv
