// Anti-aliased shapes: coverage that adds up to the true area, exact on
// pixel-aligned edges, and cairo paths as masks.

#include "tools/media/Shapes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv::media {
namespace {

double area(const Field& mask) {
    double sum = 0;
    for (const float v : mask.values) {
        sum += v;
    }
    return sum;
}

TEST(Shapes, CoverageAddsUpToTheShapesArea) {
    constexpr double pi = 3.14159265358979323846;
    struct Case {
        const char* name;
        Shape shape;
        double area;
        int samples;
    };
    const Case cases[] = {
        {"small circle", ellipse(8, 8, 3, 3), pi * 9, 8},
        {"large circle", ellipse(30.3, 29.7, 20, 20), pi * 400, 4},
        {"ellipse", ellipse(30, 30, 24, 10), pi * 240, 4},
        {"rounded rectangle", roundRect(4.5, 6.25, 40, 30, 8), 40 * 30 - (4 - pi) * 64, 4},
        {"sharp rectangle", roundRect(3.5, 2.5, 20, 11, 0), 220, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Field mask = shapeMask(64, 64, c.shape, c.samples);
        EXPECT_NEAR(area(mask), c.area, c.area * 0.01 + 1.0);
        for (const float v : mask.values) {
            ASSERT_TRUE(v >= 0.0F && v <= 1.0F);
        }
    }
}

TEST(Shapes, PixelAlignedEdgesAreExactAndHalfPixelsHalfCovered) {
    const Field mask = shapeMask(10, 6, roundRect(2, 1, 5.5, 4, 0));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x) {
            const float expected = (y < 1 || y >= 5 || x < 2 || x > 7) ? 0.0F
                                   : x == 7                            ? 0.5F
                                                                       : 1.0F;
            EXPECT_FLOAT_EQ(mask.at(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Shapes, PathMasksAndMaskArithmetic) {
    const Field square = pathMask(8, 8, [](cairo_t* cr) {
        cairo_rectangle(cr, 2, 2, 4, 4);
        cairo_fill(cr);
    });
    const Field band = pathMask(8, 8, [](cairo_t* cr) {
        cairo_rectangle(cr, 0, 3, 8, 2);
        cairo_fill(cr);
    });
    EXPECT_DOUBLE_EQ(area(square), 16.0);
    EXPECT_DOUBLE_EQ(area(maskIntersection(square, band)), 8.0);
    EXPECT_DOUBLE_EQ(area(maskUnion(square, band)), 24.0);
    EXPECT_DOUBLE_EQ(area(maskMinus(square, band)), 8.0);
}

} // namespace
} // namespace orv::media
