// The painter's basics: blending, the Gaussian blur, exact distance
// transforms and shrinking.

#include "tools/media/Noise.h"
#include "tools/media/Paint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv::media {
namespace {

TEST(Paint, OverBlendsStraightAlpha) {
    const Rgba red{1, 0, 0, 1};
    const Rgba blue{0, 0, 1, 1};
    const Rgba none{0, 0, 0, 0};
    struct Case {
        const char* name;
        Rgba dst, src;
        float coverage;
        Rgba expected;
    };
    const Case cases[] = {
        {"opaque over anything", blue, red, 1.0F, red},
        {"no coverage", blue, red, 0.0F, blue},
        {"onto nothing keeps the colour", none, Rgba{1, 0, 0, 0.5F}, 1.0F, Rgba{1, 0, 0, 0.5F}},
        {"half over opaque", blue, red, 0.5F, Rgba{0.5F, 0, 0.5F, 1}},
        {"half over half", Rgba{0, 0, 1, 0.5F}, Rgba{1, 0, 0, 0.5F}, 1.0F,
         Rgba{2.0F / 3, 0, 1.0F / 3, 0.75F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Rgba out = over(c.dst, c.src, c.coverage);
        EXPECT_NEAR(out.r, c.expected.r, 1e-5F);
        EXPECT_NEAR(out.g, c.expected.g, 1e-5F);
        EXPECT_NEAR(out.b, c.expected.b, 1e-5F);
        EXPECT_NEAR(out.a, c.expected.a, 1e-5F);
    }
    EXPECT_EQ(toPixel(hex(0x8C5A16, 0.5F)), 0x808C5A16U);
    EXPECT_EQ(toPixel(fromPixel(0x40123456U)), 0x40123456U);
}

// The blur of a single dot keeps its mass and spreads it with the variance
// of the Gaussian it stands for.
TEST(Paint, BlurIsAGaussianOfTheGivenDeviation) {
    for (const double sigma : {0.8, 1.5, 3.0, 6.0}) {
        SCOPED_TRACE(sigma);
        Field dot(81, 81);
        dot(40, 40) = 1.0F;
        const Field soft = blur(dot, sigma);
        double mass = 0;
        double variance = 0;
        for (int y = 0; y < soft.height; ++y) {
            for (int x = 0; x < soft.width; ++x) {
                mass += soft.at(x, y);
                variance += soft.at(x, y) * (x - 40) * (x - 40);
                EXPECT_NEAR(soft.at(x, y), soft.at(80 - x, y), 1e-6F);
            }
        }
        EXPECT_NEAR(mass, 1.0, 1e-4);
        EXPECT_NEAR(variance, sigma * sigma, 0.1 * sigma * sigma + 0.1);
        EXPECT_EQ(blur(dot, sigma).values, soft.values);
    }
}

// The distance transforms agree with a brute-force search on an irregular
// blob, and a blob touching the border counts the outside as outside.
TEST(Paint, DistanceTransformsAreExact) {
    Field blob(23, 17);
    for (int y = 0; y < blob.height; ++y) {
        for (int x = 0; x < blob.width; ++x) {
            blob(x, y) = hashUnit(x / 3, y / 3, 4U) > 0.35F ? 1.0F : 0.0F;
        }
    }
    const Field inside = insideDistance(blob);
    const Field outside = outsideDistance(blob);
    for (int y = 0; y < blob.height; ++y) {
        for (int x = 0; x < blob.width; ++x) {
            const bool in = blob.at(x, y) >= 0.5F;
            double bestIn = std::numeric_limits<double>::max();
            double bestOut = std::numeric_limits<double>::max();
            for (int v = -1; v <= blob.height; ++v) {
                for (int u = -1; u <= blob.width; ++u) {
                    const bool border = u < 0 || v < 0 || u >= blob.width || v >= blob.height;
                    const double d = std::hypot(u - x, v - y);
                    if (border || blob.at(u, v) < 0.5F) {
                        bestIn = std::min(bestIn, d);
                    } else {
                        bestOut = std::min(bestOut, d);
                    }
                }
            }
            EXPECT_NEAR(inside.at(x, y), in ? bestIn : 0.0, 1e-4) << x << "," << y;
            EXPECT_NEAR(outside.at(x, y), in ? 0.0 : bestOut, 1e-4) << x << "," << y;
        }
    }
}

TEST(Paint, DownsampleWeighsColoursByTheirAlpha) {
    Pixmap big(4, 2);
    big(0, 0) = {1, 0, 0, 1};
    big(1, 1) = {0, 0, 1, 0}; // invisible blue must not tint
    big(2, 0) = {0, 1, 0, 1};
    big(3, 0) = {0, 1, 0, 1};
    big(2, 1) = {0, 1, 0, 1};
    big(3, 1) = {0, 1, 0, 1};
    const Pixmap small = downsample(big, 2);
    ASSERT_EQ(small.width, 2);
    ASSERT_EQ(small.height, 1);
    EXPECT_FLOAT_EQ(small.at(0, 0).r, 1.0F);
    EXPECT_FLOAT_EQ(small.at(0, 0).b, 0.0F);
    EXPECT_FLOAT_EQ(small.at(0, 0).a, 0.25F);
    EXPECT_FLOAT_EQ(small.at(1, 0).g, 1.0F);
    EXPECT_FLOAT_EQ(small.at(1, 0).a, 1.0F);
}

} // namespace
} // namespace orv::media
