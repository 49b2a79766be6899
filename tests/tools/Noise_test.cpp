// Seeded noise: in range, repeatable, different per seed, and seamless at the
// tile size it is asked to repeat at.

#include "tools/media/Noise.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orv::media {
namespace {

struct TileCase {
    const char* name;
    Octaves octaves;
    int tileW;
    int tileH;
    bool turbulent;
};

float sample(const TileCase& c, double x, double y, std::uint32_t seed) {
    return c.turbulent ? turbulence(x, y, seed, c.octaves, c.tileW, c.tileH)
                       : fractalNoise(x, y, seed, c.octaves, c.tileW, c.tileH);
}

TEST(Noise, RepeatsAtItsTileSizeStaysInRangeAndFollowsTheSeed) {
    const TileCase cases[] = {
        {"square cells", {32, 32, 4, 0.5F}, 64, 64, false},
        {"cells that do not divide the tile", {27, 13, 3, 0.6F}, 100, 45, false},
        {"long streaks", {200, 0.8, 3, 0.6F}, 150, 40, false},
        {"turbulence", {48, 36, 4, 0.5F}, 96, 80, true},
    };
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.name);
        int differing = 0;
        for (int k = 0; k < 40; ++k) {
            const double x = k * 7.3;
            const double y = k * 3.1;
            const float v = sample(c, x, y, 5U);
            EXPECT_GE(v, 0.0F);
            EXPECT_LE(v, 1.0F);
            EXPECT_NEAR(sample(c, x + c.tileW, y, 5U), v, 1e-4F);
            EXPECT_NEAR(sample(c, x, y - c.tileH, 5U), v, 1e-4F);
            EXPECT_EQ(sample(c, x, y, 5U), v);
            differing += std::abs(sample(c, x, y, 6U) - v) > 1e-3F ? 1 : 0;
        }
        EXPECT_GT(differing, 30);
    }
}

TEST(Noise, ValueNoiseMeetsTheLatticeAndIsSmoothBetween) {
    for (int x = -3; x < 3; ++x) {
        EXPECT_FLOAT_EQ(valueNoise(x, 2, 9U), hashUnit(x, 2, 9U));
    }
    // No jumps: neighbours a hundredth of a cell apart stay close.
    for (int k = 0; k < 300; ++k) {
        const double x = k * 0.01;
        EXPECT_LT(std::abs(valueNoise(x + 0.01, 0.37, 3U) - valueNoise(x, 0.37, 3U)), 0.03F);
    }
}

} // namespace
} // namespace orv::media
