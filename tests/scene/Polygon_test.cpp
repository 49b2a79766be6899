#include "engine/graphics/Polygon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

std::vector<int> walk(const Polygon& polygon, int from, int count) {
    std::vector<int> visited;
    for (int i = 0; i < count; ++i) {
        from = polygon.nextIndex(from);
        visited.push_back(from);
    }
    return visited;
}

TEST(Polygon, ClosedWhenTheLastPointRepeatsTheFirstWithinAThousandth) {
    struct Case {
        std::vector<PointF> points;
        bool closed;
    };
    for (const Case& c :
         {Case{{}, false}, Case{{{1, 1}}, true}, Case{{{0, 0}, {5, 0}, {0.0005F, -0.0005F}}, true},
          Case{{{0, 0}, {5, 0}, {0.002F, 0}}, false}, Case{{{0, 0}, {5, 0}, {0, 0.002F}}, false}}) {
        const RefPtr<Polygon> polygon(new Polygon(c.points));
        EXPECT_EQ(polygon->isClosed(), c.closed) << c.points.size() << " points";
    }
}

TEST(Polygon, NextVertexSkipsTheRepeatedPointOfAClosedPolygon) {
    const RefPtr<Polygon> closed(new Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(walk(*closed, 0, 5), (std::vector<int>{1, 2, 3, 0, 1}));
    EXPECT_EQ(closed->nextIndex(4), 1);
    EXPECT_EQ(closed->previousIndex(0), 3);
    const RefPtr<Polygon> open(new Polygon({{0, 0}, {10, 0}, {10, 10}, {20, 10}}));
    EXPECT_EQ(walk(*open, 0, 5), (std::vector<int>{1, 2, 3, 0, 1}));
    EXPECT_EQ(open->previousIndex(0), 3);
}

TEST(Polygon, LengthIsTheOpenPathOrTheLoopOnce) {
    struct Case {
        const char* name;
        std::vector<PointF> points;
        double length;
    };
    for (const Case& c : {Case{"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, 40.0},
                          Case{"stairs", {{0, 0}, {10, 0}, {10, 10}, {20, 10}}, 30.0},
                          Case{"diagonal", {{0, 0}, {3, 4}}, 5.0}, Case{"point", {{2, 2}}, 0.0},
                          Case{"none", {}, 0.0}}) {
        const RefPtr<Polygon> polygon(new Polygon(c.points));
        EXPECT_DOUBLE_EQ(polygon->length(), c.length) << c.name;
    }
}

TEST(Polygon, BoundsRoundToNearestWithTiesToEvenAndFollowChanges) {
    const RefPtr<Polygon> polygon(new Polygon({{-1.5F, 2.5F}, {3.5F, 7.4F}}));
    EXPECT_EQ(polygon->getBounds(), (Rect{-2, 2, 6, 5}));
    polygon->addPoint(-10.0F, 0.0F);
    EXPECT_EQ(polygon->getBounds(), (Rect{-10, 0, 14, 7}));
    polygon->setPoints({});
    EXPECT_EQ(polygon->getBounds(), Rect{});
}

TEST(Polygon, BuildPathSamplesHermiteSegmentsIntoEachVertexOfTheRange) {
    const RefPtr<Polygon> polygon(new Polygon({{0, 0}, {10, 0}, {10, 10}}));
    ASSERT_TRUE(polygon->buildPath(1, 2, 2, false));
    // Two segments: into vertex 1 from (0, 0), tangents (10, 0) - (10, 10)
    // (before 0 an open polygon comes round to its last point) and
    // (10, 10) - (0, 0); at t = 0.5: (3.75, -2.5). Then from (10, 0) to
    // (10, 10), tangents (10, 10) - (0, 0) and, after the last point coming
    // round to the first, (0, 0) - (10, 0); at t = 0.5: (12.5, 6.25).
    const std::vector<PointF> expected{{0, 0},  {3.75F, -2.5F}, {10, 0},
                                       {10, 0}, {12.5F, 6.25F}, {10, 10}};
    ASSERT_EQ(polygon->getPointCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(polygon->getPoint(i).x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(polygon->getPoint(i).y, expected[i].y) << i;
    }
    EXPECT_EQ(polygon->getBounds(), (Rect{0, -2, 12, 12})); // 12.5 and -2.5 to even
}

// From vertex 0 a closed polygon's curve starts with its closing edge, so
// the curve goes round the whole loop.
TEST(Polygon, BuildPathOfAClosedPolygonFromVertexZeroIncludesTheClosingEdge) {
    const RefPtr<Polygon> square(new Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    ASSERT_TRUE(square->buildPath(0, 3, 2, false));
    ASSERT_EQ(square->getPointCount(), 12);
    const std::vector<PointF> vertices{{0, 10}, {0, 0},   {0, 0},   {10, 0},
                                       {10, 0}, {10, 10}, {10, 10}, {0, 10}};
    for (int segment = 0; segment < 4; ++segment) {
        const PointF from = square->getPoint(segment * 3);
        const PointF to = square->getPoint(segment * 3 + 2);
        EXPECT_EQ(from.x, vertices[static_cast<std::size_t>(segment) * 2].x) << segment;
        EXPECT_EQ(from.y, vertices[static_cast<std::size_t>(segment) * 2].y) << segment;
        EXPECT_EQ(to.x, vertices[static_cast<std::size_t>(segment) * 2 + 1].x) << segment;
        EXPECT_EQ(to.y, vertices[static_cast<std::size_t>(segment) * 2 + 1].y) << segment;
    }
    EXPECT_TRUE(square->isClosed());
}

TEST(Polygon, BuildPathWithClampedEndsAndTruncatedTangents) {
    // Tangent at (10, 0) without clamping: (20.7, 0.6) - (0, 0), cut to (20, 0).
    const RefPtr<Polygon> clamped(new Polygon({{0, 0}, {10, 0}, {20.7F, 0.6F}}));
    ASSERT_TRUE(clamped->buildPath(0, 2, 4, true));
    // Three segments of five samples each: round from (20.7, 0.6) into
    // (0, 0), then the two meeting at (10, 0).
    ASSERT_EQ(clamped->getPointCount(), 15);
    EXPECT_FLOAT_EQ(clamped->getPoint(0).x, 20.7F);
    EXPECT_FLOAT_EQ(clamped->getPoint(4).x, 0.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(5).x, 0.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(9).x, 10.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(10).x, 10.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(14).x, 20.7F);
    EXPECT_FLOAT_EQ(clamped->getPoint(14).y, 0.6F);
    // The segment leaving the first index, t = 0.5, m0 = 0 (clamped),
    // m1 = (20, 0): x = ((a/2 + b)/2)/2 with a = 0 - 20 + 0 + 20 = 0,
    // b = 30 - 0 - 20 = 10.
    EXPECT_FLOAT_EQ(clamped->getPoint(7).x, 2.5F);
}

TEST(Polygon, BuildPathRefusesTooFewVerticesOrSamples) {
    struct Case {
        const char* name;
        int first;
        int last;
        int samples;
    };
    for (const Case& c : {Case{"one vertex", 1, 1, 4}, Case{"reversed", 2, 0, 4},
                          Case{"no samples", 0, 2, 0}, Case{"beyond the points", 3, 9, 4}}) {
        const RefPtr<Polygon> polygon(new Polygon({{0, 0}, {10, 0}, {10, 10}}));
        EXPECT_FALSE(polygon->buildPath(c.first, c.last, c.samples, false)) << c.name;
        EXPECT_EQ(polygon->getPointCount(), 3) << c.name;
    }
    // Indices beyond either end are limited to the points there are.
    const RefPtr<Polygon> polygon(new Polygon({{0, 0}, {10, 0}, {10, 10}}));
    EXPECT_TRUE(polygon->buildPath(-5, 50, 1, true));
    EXPECT_EQ(polygon->getPointCount(), 6);
}

} // namespace
} // namespace orv
