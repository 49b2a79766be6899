// The polygon scan converters, their compositing through the drawing
// interface, and the poly-line.
#include "engine/graphics/Graphics.h"
#include "engine/graphics/PixelRows32.h"
#include "engine/graphics/Polygon.h"
#include "engine/graphics/PolygonFiller.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::filledImage;
using test::pixelAt;
using test::snapshot;

constexpr int kPolygonWidth = 20;
constexpr int kPolygonHeight = 16;

// Even-odd test of a point against the polygon's edges (the last edge back
// to the first point), by counting crossings of a ray to the right.
bool insideEvenOdd(const std::vector<PointF>& points, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const double yi = points[i].y;
        const double yj = points[j].y;
        if ((yi > y) != (yj > y)) {
            const double crossX = points[j].x + (y - yj) / (yi - yj) * (points[i].x - points[j].x);
            if (x < crossX) {
                inside = !inside;
            }
        }
    }
    return inside;
}

struct Shape {
    std::string name;
    std::vector<PointF> points;
};

// Vertices off the half-pixel grid, so no pixel centre lies on an edge.
TEST(PolygonFill, PlainCoverageIsThePixelsWhoseCentresAreInside) {
    const std::vector<Shape> shapes{
        {"triangle", {{2.3F, 1.2F}, {17.6F, 6.1F}, {5.2F, 14.7F}}},
        {"concave arrow", {{1.2F, 1.3F}, {15.7F, 7.9F}, {1.4F, 14.2F}, {6.3F, 7.7F}}},
        {"bow tie", {{1.1F, 2.2F}, {18.3F, 13.1F}, {18.2F, 2.3F}, {1.3F, 13.3F}}},
        {"pentagram", {{10.1F, 0.7F}, {15.9F, 14.8F}, {1.2F, 5.8F}, {18.7F, 5.9F}, {4.3F, 14.9F}}},
        {"over every edge", {{-5.2F, -4.3F}, {26.1F, -3.2F}, {24.7F, 21.4F}, {-3.3F, 19.8F}}},
        {"closed repeat", {{3.2F, 3.3F}, {12.1F, 3.4F}, {12.2F, 11.1F}, {3.2F, 3.3F}}}};
    for (const Shape& shape : shapes) {
        PolygonFiller filler(kPolygonWidth, kPolygonHeight);
        filler.scan(shape.points, false);
        int covered = 0;
        for (int y = 0; y < kPolygonHeight; ++y) {
            for (int x = 0; x < kPolygonWidth; ++x) {
                const bool inside = insideEvenOdd(shape.points, x + 0.5, y + 0.5);
                ASSERT_EQ(filler.coverageAt(x, y), inside ? 255 : 0)
                    << shape.name << " at " << x << ", " << y;
                covered += inside ? 1 : 0;
            }
        }
        EXPECT_GT(covered, 0) << shape.name;
    }
}

TEST(PolygonFill, HandCountedShapes) {
    struct Case {
        std::string name;
        std::vector<PointF> points;
        int covered;
    };
    for (const Case& c : std::vector<Case>{
             {"unit square", {{10, 10}, {11, 10}, {11, 11}, {10, 11}}, 1},
             {"rectangle with horizontal edges", {{2, 2}, {8, 2}, {8, 6}, {2, 6}}, 24},
             // Rows 4, 5, 6 cover 2, 4, 6 pixels; the apex row 3 and the base
             // row 7 meet the polygon in single points and cover nothing.
             {"centres on vertex rows", {{5, 3.5F}, {9, 7.5F}, {1, 7.5F}}, 12},
             {"empty", {}, 0},
             {"one point", {{4, 4}}, 0},
             // A pixel centre on an edge counts as inside from both sides: a
             // flat polygon through pixel centres covers those pixels (rows 4
             // to 8, one each), one that misses them covers nothing.
             {"two points through centres", {{4, 4}, {9, 9}}, 5},
             {"on one line through centres", {{1, 1}, {5, 5}, {9, 9}}, 8},
             {"on one line between centres", {{1, 1.25F}, {5, 5.25F}, {9, 9.25F}}, 0},
             {"not a number", {{1, 1}, {9, std::nanf("")}, {9, 9}}, 0},
             {"infinite", {{1, 1}, {std::numeric_limits<float>::infinity(), 1}, {9, 9}}, 0},
             {"huge",
              {{-1e30F, -1e30F}, {1e30F, -1e30F}, {1e30F, 1e30F}, {-1e30F, 1e30F}},
              kPolygonWidth * kPolygonHeight}}) {
        PolygonFiller filler(kPolygonWidth, kPolygonHeight);
        filler.scan(c.points, false);
        int covered = 0;
        for (int y = 0; y < kPolygonHeight; ++y) {
            for (int x = 0; x < kPolygonWidth; ++x) {
                covered += filler.coverageAt(x, y) == 255 ? 1 : 0;
            }
        }
        EXPECT_EQ(covered, c.covered) << c.name;
    }
    PolygonFiller square(kPolygonWidth, kPolygonHeight);
    square.scan(std::vector<PointF>{{10, 10}, {11, 10}, {11, 11}, {10, 11}}, false);
    EXPECT_EQ(square.coverageAt(10, 10), 255);
}

// A steep left edge x = 2.25 + y / 8 and a vertical right edge at x = 8:
// on row 3 the left edge sits at 2.6875, so pixel 2 gets
// (1 - 0.6875 - 0.0625) * 255 = 63 and the right end pixel 7 is full.
TEST(PolygonFill, SmoothSteepEdgesGiveOnePartialPixel) {
    const std::vector<PointF> points{{2.25F, 0}, {8, 0}, {8, 8}, {3.25F, 8}};
    PolygonFiller filler(kPolygonWidth, kPolygonHeight);
    filler.scan(points, true);
    EXPECT_EQ(filler.coverageAt(2, 3), 63);
    EXPECT_EQ(filler.coverageAt(3, 3), 255);
    EXPECT_EQ(filler.coverageAt(7, 3), 255);
    EXPECT_EQ(filler.coverageAt(8, 3), 0);
    EXPECT_EQ(filler.coverageAt(1, 3), 0);
}

// A flat edge from (1, 1) to (13, 4) (four pixels per scanline) ends the
// spans of rows 1 to 3 on the right: from its crossing leftwards the ramp
// rises by 255 / 5 = 51 a pixel, except where the row above is covered one
// pixel further left (there the pixel keeps its coverage).
TEST(PolygonFill, SmoothFlatEdgesRampAcrossThePixelsTheyCross) {
    const std::vector<PointF> points{{1, 1}, {13, 4}, {13, 12}, {1, 12}};
    PolygonFiller smooth(kPolygonWidth, kPolygonHeight);
    smooth.scan(points, true);
    // Row 1: the edge crosses the centre line at x = 3.
    EXPECT_EQ(smooth.coverageAt(3, 1), 51);
    EXPECT_EQ(smooth.coverageAt(2, 1), 102);
    EXPECT_EQ(smooth.coverageAt(1, 1), 153);
    EXPECT_EQ(smooth.coverageAt(4, 1), 0);
    // Row 2: crossing at x = 7; (4, 2) keeps 255 because (3, 1) is covered.
    EXPECT_EQ(smooth.coverageAt(7, 2), 51);
    EXPECT_EQ(smooth.coverageAt(6, 2), 102);
    EXPECT_EQ(smooth.coverageAt(5, 2), 153);
    EXPECT_EQ(smooth.coverageAt(4, 2), 255);
    EXPECT_EQ(smooth.coverageAt(8, 2), 0);
    // Far inside, nothing changes.
    EXPECT_EQ(smooth.coverageAt(7, 8), 255);
}

TEST(PolygonFill, CompositesThroughTheAlphaAndTheChannel) {
    const Polygon shape(std::vector<PointF>{{2.25F, 0}, {8, 0}, {8, 8}, {3.25F, 8}});
    const RefPtr<Image> target = filledImage(kPolygonWidth, kPolygonHeight, 0x11000000);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setColor(0xFFFFFFFF);
    g->setAlpha(128);
    g->fillPolygon(shape, true);
    EXPECT_EQ(pixelAt(*target, 5, 3), pixel32::lerpPixel(0x11000000, 0xFFFFFF, 128));
    // Coverage 63 at alpha 128: drawn at alpha 63 * 128 >> 8 = 31.
    EXPECT_EQ(pixelAt(*target, 2, 3), pixel32::lerpPixel(0x11000000, 0xFFFFFF, 31));
    EXPECT_EQ(pixelAt(*target, 1, 3), 0x11000000U);
    EXPECT_EQ(g->getAlpha(), 128);

    const RefPtr<Image> channel = filledImage(kPolygonWidth, kPolygonHeight, 0x11000000);
    createGraphics(*channel)->setChannelPolygon(0, 200, shape, true);
    EXPECT_EQ(pixelAt(*channel, 5, 3), 0xC8000000U);
    EXPECT_EQ(pixelAt(*channel, 2, 3), static_cast<std::uint32_t>(200 * 63 >> 8) << 24);
    EXPECT_EQ(pixelAt(*channel, 1, 3), 0x11000000U);

    const RefPtr<Image> invisible = filledImage(kPolygonWidth, kPolygonHeight, 0x11000000);
    const RefPtr<Graphics> none = createGraphics(*invisible);
    none->setAlpha(0);
    none->fillPolygon(shape, false);
    EXPECT_EQ(snapshot(*invisible),
              snapshot(*filledImage(kPolygonWidth, kPolygonHeight, 0x11000000)));
}

// The translation moves the polygon before it is covered, so a polygon given
// left of or above the origin lands whole where the translation puts it; the
// clip cuts it at every edge.
TEST(PolygonFill, TranslationAndClipApplyLikeAnyDrawing) {
    const std::vector<PointF> points{{-6.3F, -4.2F}, {7.6F, -3.1F}, {4.4F, 8.8F}, {-5.7F, 6.1F}};
    std::vector<PointF> moved = points;
    for (PointF& p : moved) {
        p.x += 9;
        p.y += 5;
    }
    for (const bool smooth : {false, true}) {
        const RefPtr<Image> expected = filledImage(kPolygonWidth, kPolygonHeight, 0);
        const RefPtr<Graphics> plain = createGraphics(*expected);
        plain->setColor(0xFFFFFFFF);
        plain->fillPolygon(Polygon(moved), smooth);

        const RefPtr<Image> actual = filledImage(kPolygonWidth, kPolygonHeight, 0);
        const RefPtr<Graphics> g = createGraphics(*actual);
        g->setColor(0xFFFFFFFF);
        g->setTranslation(9, 5);
        g->fillPolygon(Polygon(points), smooth);
        EXPECT_EQ(snapshot(*actual), snapshot(*expected));
        EXPECT_EQ(g->getTranslateX(), 9);

        const Rect clip{4, 3, 7, 6};
        const RefPtr<Image> clipped = filledImage(kPolygonWidth, kPolygonHeight, 0);
        const RefPtr<Graphics> c = createGraphics(*clipped);
        c->setColor(0xFFFFFFFF);
        c->setClip(clip);
        c->fillPolygon(Polygon(moved), smooth);
        for (int y = 0; y < kPolygonHeight; ++y) {
            for (int x = 0; x < kPolygonWidth; ++x) {
                const bool inside = x >= clip.x && x < clip.x + clip.width && y >= clip.y &&
                                    y < clip.y + clip.height;
                ASSERT_EQ(pixelAt(*clipped, x, y), inside ? pixelAt(*expected, x, y) : 0U)
                    << x << ", " << y;
            }
        }
    }
}

TEST(Polyline, DrawsEachSegmentWithoutClosingThePath) {
    const Polygon path(std::vector<PointF>{{1, 1}, {6, 1}, {6, 5}});
    const RefPtr<Image> target = filledImage(kPolygonWidth, kPolygonHeight, 0);
    const RefPtr<Graphics> g = createGraphics(*target);
    g->setColor(0xFFFFFFFF);
    g->drawPolyline(path, false);
    int lit = 0;
    for (int y = 0; y < kPolygonHeight; ++y) {
        for (int x = 0; x < kPolygonWidth; ++x) {
            const bool onPath = (y == 1 && x >= 1 && x <= 6) || (x == 6 && y >= 1 && y <= 5);
            EXPECT_EQ(pixelAt(*target, x, y) != 0, onPath) << x << ", " << y;
            lit += onPath ? 1 : 0;
        }
    }
    EXPECT_EQ(lit, 10);
}

} // namespace
} // namespace orv
