// The anti-aliased line of the 32-bit context.
#include "engine/graphics/Graphics.h"
#include "engine/graphics/PixelRows32.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace orv {
namespace {

using test::filledImage;
using test::pixelAt;
using test::snapshot;

constexpr int kSmoothWidth = 12;
constexpr int kSmoothHeight = 10;

// Pixel -> weight, read back from a black target drawn in white at weight w
// as lerp(0, 255, w) = 255 w >> 8.
using Weights = std::map<std::pair<int, int>, int>;

Weights drawn(Image& target) {
    Weights weights;
    for (int y = 0; y < target.getHeight(); ++y) {
        for (int x = 0; x < target.getWidth(); ++x) {
            if (const std::uint32_t p = pixelAt(target, x, y); (p & 0xFF) != 0) {
                weights[{x, y}] = static_cast<int>(p & 0xFF);
            }
        }
    }
    return weights;
}

int shade(int weight) {
    return 255 * weight >> 8;
}

struct LineCase {
    float x1;
    float y1;
    float x2;
    float y2;
    Weights expected;
};

TEST(SmoothLine, HandComputedWeights) {
    const LineCase cases[] = {
        // Gradient 1/2 across: f = 2.5, 3, 3.5, 4, 4.5 on columns 2..6.
        {2,
         2,
         6,
         4,
         {{{2, 2}, shade(127)},
          {{3, 3}, shade(255)},
          {{4, 3}, shade(127)},
          {{5, 4}, shade(255)},
          {{6, 4}, shade(127)}}},
        // The same line given from its other end covers the same pixels.
        {6,
         4,
         2,
         2,
         {{{2, 2}, shade(127)},
          {{3, 3}, shade(255)},
          {{4, 3}, shade(127)},
          {{5, 4}, shade(255)},
          {{6, 4}, shade(127)}}},
        // Flat: gradient 0 takes the pixel below the running row.
        {1, 2, 3, 2, {{{1, 3}, shade(255)}, {{2, 3}, shade(255)}, {{3, 3}, shade(255)}}},
        // Upright at x = 3.25: (3, y) weighs 0.75, (4, y) 0.25.
        {3.25F,
         2,
         3.25F,
         4,
         {{{3, 2}, shade(191)},
          {{4, 2}, shade(63)},
          {{3, 3}, shade(191)},
          {{4, 3}, shade(63)},
          {{3, 4}, shade(191)},
          {{4, 4}, shade(63)}}},
        // No length: one row of gradient 0 (no division by zero).
        {5.3F, 5.3F, 5.3F, 5.3F, {{{5, 5}, shade(178)}, {{6, 5}, shade(76)}}},
        // Row 0 and column 0 are never written.
        {0.2F, 0.2F, 3.4F, 0.4F, {}},
        {0.2F, 0.1F, 0.3F, 3.0F, {}},
    };
    for (const LineCase& c : cases) {
        const RefPtr<Image> target = filledImage(kSmoothWidth, kSmoothHeight, 0xFF000000);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setColor(0xFFFFFFFF);
        g->drawLineSmooth(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(drawn(*target), c.expected)
            << c.x1 << ", " << c.y1 << " - " << c.x2 << ", " << c.y2;
    }
}

TEST(SmoothLine, EndsOutsideTheClipOrNotNumbersDrawNothing) {
    const LineCase cases[] = {{2, 2, 30, 4, {}},
                              {-3, 2, 6, 4, {}},
                              {2, 2, 6, 40, {}},
                              {2, std::nanf(""), 6, 4, {}},
                              {2, 2, INFINITY, 4, {}}};
    for (const LineCase& c : cases) {
        const RefPtr<Image> target = filledImage(kSmoothWidth, kSmoothHeight, 0xFF000000);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setColor(0xFFFFFFFF);
        g->drawLineSmooth(c.x1, c.y1, c.x2, c.y2);
        EXPECT_TRUE(drawn(*target).empty())
            << c.x1 << ", " << c.y1 << " - " << c.x2 << ", " << c.y2;
    }
    const RefPtr<Image> target = filledImage(kSmoothWidth, kSmoothHeight, 0xFF000000);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setColor(0xFFFFFFFF);
    g->setAlpha(0);
    g->drawLineSmooth(2, 2, 6, 4);
    EXPECT_TRUE(drawn(*target).empty());
}

// The neighbour pixel of a line along the clip's last column or row lies
// outside the clip and stays untouched.
TEST(SmoothLine, NeighbourPixelsStayInsideTheClip) {
    const RefPtr<Image> target = filledImage(kSmoothWidth, kSmoothHeight, 0xFF000000);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setColor(0xFFFFFFFF);
    g->setClip(2, 2, 4, 4);
    g->drawLineSmooth(5.4F, 2.0F, 5.4F, 5.0F);
    g->drawLineSmooth(2.0F, 4.6F, 5.0F, 4.6F);
    const Weights weights = drawn(*target);
    EXPECT_FALSE(weights.empty());
    for (const auto& [point, weight] : weights) {
        EXPECT_TRUE(point.first >= 2 && point.first < 6 && point.second >= 2 && point.second < 6)
            << point.first << ", " << point.second;
    }
}

TEST(SmoothLine, TranslationMovesTheLine) {
    const RefPtr<Image> expected = filledImage(kSmoothWidth, kSmoothHeight, 0xFF000000);
    const RefPtr<Graphics> plain = createGraphics(*expected);
    plain->setColor(0xFFFFFFFF);
    plain->drawLineSmooth(PointF{3.5F, 2.25F}, PointF{8.75F, 6.5F});
    const RefPtr<Image> actual = filledImage(kSmoothWidth, kSmoothHeight, 0xFF000000);
    const RefPtr<Graphics> moved = createGraphics(*actual);
    moved->setColor(0xFFFFFFFF);
    moved->setTranslation(2, -1);
    moved->drawLineSmooth(PointF{1.5F, 3.25F}, PointF{6.75F, 7.5F});
    EXPECT_EQ(snapshot(*actual), snapshot(*expected));
    EXPECT_FALSE(drawn(*actual).empty());
}

} // namespace
} // namespace orv
