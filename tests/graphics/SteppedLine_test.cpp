// The stepped line walk: only its visible steps are walked, and those draw
// exactly the points of the full walk.
#include "engine/graphics/Graphics.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>

namespace orv {
namespace {

using test::filledImage;
using test::pixelAt;

constexpr int kSteppedWidth = 24;
constexpr int kSteppedHeight = 20;
constexpr std::uint32_t kSteppedBackground = 0xFF000000;

using Points = std::set<std::pair<int, int>>;

// The walk as stated: major axis every step, minor axis whenever the error
// term is not negative, then the end point.
Points fullWalk(int x1, int y1, int x2, int y2) {
    Points points;
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1;
    const int sy = y2 >= y1 ? 1 : -1;
    int x = x1;
    int y = y1;
    if (dy <= dx) {
        for (int e = 2 * dy - dx; x != x2; x += sx, e += 2 * dy) {
            points.insert({x, y});
            if (e >= 0) {
                y += sy;
                e -= 2 * dx;
            }
        }
    } else {
        for (int e = 2 * dx - dy; y != y2; y += sy, e += 2 * dx) {
            points.insert({x, y});
            if (e >= 0) {
                x += sx;
                e -= 2 * dy;
            }
        }
    }
    points.insert({x2, y2});
    return points;
}

Points lit(Image& target) {
    Points points;
    for (int y = 0; y < kSteppedHeight; ++y) {
        for (int x = 0; x < kSteppedWidth; ++x) {
            if (pixelAt(target, x, y) != kSteppedBackground) {
                points.insert({x, y});
            }
        }
    }
    return points;
}

TEST(SteppedLine, ClippedWalkDrawsThePointsOfTheFullWalk) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coordinate(-60, 80);
    const Rect clip{3, 2, 15, 13};
    for (int i = 0; i < 400; ++i) {
        const int x1 = coordinate(random);
        const int y1 = coordinate(random);
        const int x2 = coordinate(random);
        const int y2 = coordinate(random);
        const int tx = i % 7 - 3;
        const int ty = i % 5 - 2;
        Points expected;
        for (const auto& [x, y] : fullWalk(x1, y1, x2, y2)) {
            const int px = x + tx;
            const int py = y + ty;
            if (px >= clip.x && px < clip.x + clip.width && py >= clip.y &&
                py < clip.y + clip.height) {
                expected.insert({px, py});
            }
        }
        const RefPtr<Image> target = filledImage(kSteppedWidth, kSteppedHeight, kSteppedBackground);
        const RefPtr<Graphics> g = createGraphics(*target);
        g->setColor(0xFFFFFFFF);
        g->setAlpha(200); // the walk, not the straight-line shortcut
        g->setClip(clip);
        g->setTranslation(tx, ty);
        g->drawLine(x1, y1, x2, y2);
        ASSERT_EQ(lit(*target), expected) << x1 << ", " << y1 << " - " << x2 << ", " << y2;

        const RefPtr<Image> channel =
            filledImage(kSteppedWidth, kSteppedHeight, kSteppedBackground);
        const RefPtr<Graphics> c = createGraphics(*channel);
        c->setClip(clip);
        c->setTranslation(tx, ty);
        c->setChannelLine(3, 0xFF, x1, y1, x2, y2);
        ASSERT_EQ(lit(*channel), expected) << x1 << ", " << y1 << " - " << x2 << ", " << y2;
    }
}

// A diagonal between points two thousand million pixels away: only the
// visible steps are walked (the full walk would take billions), and they
// are the diagonal's points y = x + 3.
TEST(SteppedLine, FarOffEndsWalkOnlyTheVisibleSteps) {
    const RefPtr<Image> target = filledImage(kSteppedWidth, kSteppedHeight, kSteppedBackground);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setColor(0xFFFFFFFF);
    g->setAlpha(200);
    g->drawLine(-2000000000, -1999999997, 2000000000, 2000000003);
    g->drawLine(PointF{-3e9F, 5.0F}, PointF{3e9F, 5.0F});
    Points expected;
    for (int x = 0; x < kSteppedWidth; ++x) {
        expected.insert({x, 5});
        if (x + 3 < kSteppedHeight) {
            expected.insert({x, x + 3});
        }
    }
    EXPECT_EQ(lit(*target), expected);
}

} // namespace
} // namespace orv
