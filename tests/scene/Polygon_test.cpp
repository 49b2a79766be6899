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

TEST(Polygon, BuildPathSamplesHermiteSegmentsBetweenTheVertices) {
    const RefPtr<Polygon> polygon(new Polygon({{0, 0}, {10, 0}, {10, 10}}));
    ASSERT_TRUE(polygon->buildPath(1, 2, 2, false));
    // One segment from (10, 0) to (10, 10); tangents (10, 10) - (0, 0) and,
    // after the last point of an open polygon coming round to the first,
    // (0, 0) - (10, 0). At t = 0.5: (12.5, 6.25).
    ASSERT_EQ(polygon->getPointCount(), 3);
    EXPECT_FLOAT_EQ(polygon->getPoint(0).x, 10.0F);
    EXPECT_FLOAT_EQ(polygon->getPoint(0).y, 0.0F);
    EXPECT_FLOAT_EQ(polygon->getPoint(1).x, 12.5F);
    EXPECT_FLOAT_EQ(polygon->getPoint(1).y, 6.25F);
    EXPECT_FLOAT_EQ(polygon->getPoint(2).x, 10.0F);
    EXPECT_FLOAT_EQ(polygon->getPoint(2).y, 10.0F);
    EXPECT_EQ(polygon->getBounds(), (Rect{10, 0, 2, 10}));
}

TEST(Polygon, BuildPathWithClampedEndsAndTruncatedTangents) {
    // Tangent at (10, 0) without clamping: (20.7, 0.6) - (0, 0), cut to (20, 0).
    const RefPtr<Polygon> clamped(new Polygon({{0, 0}, {10, 0}, {20.7F, 0.6F}}));
    ASSERT_TRUE(clamped->buildPath(0, 2, 4, true));
    // Two segments of five samples each, meeting at (10, 0).
    ASSERT_EQ(clamped->getPointCount(), 10);
    EXPECT_FLOAT_EQ(clamped->getPoint(0).x, 0.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(4).x, 10.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(5).x, 10.0F);
    EXPECT_FLOAT_EQ(clamped->getPoint(9).x, 20.7F);
    EXPECT_FLOAT_EQ(clamped->getPoint(9).y, 0.6F);
    // First segment, t = 0.5, m0 = 0 (clamped), m1 = (20, 0):
    // x = ((a/2 + b)/2)/2 with a = 0 - 20 + 0 + 20 = 0, b = 30 - 0 - 20 = 10.
    EXPECT_FLOAT_EQ(clamped->getPoint(2).x, 2.5F);
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
    EXPECT_EQ(polygon->getPointCount(), 4);
}

} // namespace
} // namespace orv
