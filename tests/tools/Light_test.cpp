// The game's light: slopes facing the upper left are lit, shadows fall down
// and to the right, bevels rise from the edge, vignettes darken the corners.

#include "tools/media/Light.h"
#include "tools/media/Shapes.h"

#include <gtest/gtest.h>

namespace orv::media {
namespace {

float brightness(const Rgba& c) {
    return c.r + c.g + c.b;
}

// The centre of mass of a field.
std::pair<double, double> centroid(const Field& field) {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            sum += field.at(x, y);
            sx += field.at(x, y) * x;
            sy += field.at(x, y) * y;
        }
    }
    return {sx / sum, sy / sum};
}

TEST(Light, ComesFromTheUpperLeftAndShadowsFallAway) {
    const Vec3 l = lightDirection();
    EXPECT_LT(l.x, 0.0);
    EXPECT_LT(l.y, 0.0);
    EXPECT_GT(l.z, 0.0);
    EXPECT_NEAR(l.x * l.x + l.y * l.y + l.z * l.z, 1.0, 1e-9);
    const Offset one = shadowOffset(1.0);
    const Offset four = shadowOffset(4.0);
    EXPECT_GT(one.dx, 0.0);
    EXPECT_GT(one.dy, one.dx); // more down than across: the light is high
    EXPECT_NEAR(four.dx, 4 * one.dx, 1e-9);

    const Field disc = shapeMask(48, 48, ellipse(20, 20, 8, 8));
    Pixmap target(48, 48);
    castShadow(target, disc, Shadow{4.0, 2.0, 0.5F});
    const auto [sx, sy] = centroid(alphaOf(target));
    EXPECT_NEAR(sx, 20 - 0.5 + four.dx, 0.2);
    EXPECT_NEAR(sy, 20 - 0.5 + four.dy, 0.2);
}

TEST(Light, LightsSlopesThatFaceItAndLeavesLevelGround) {
    const Rgba grey{0.5F, 0.5F, 0.5F, 0.8F};
    Pixmap picture(40, 40, grey);
    const Field dome = cushion(shapeMask(40, 40, ellipse(20, 20, 10, 10)), 3.0, 6.0);
    light(picture, dome, Lighting{0.6F, 0.0F, 30.0F});
    EXPECT_GT(brightness(picture.at(13, 13)), brightness(grey) + 0.1F);
    EXPECT_LT(brightness(picture.at(27, 27)), brightness(grey) - 0.1F);
    EXPECT_FLOAT_EQ(brightness(picture.at(1, 38)), brightness(grey));
    EXPECT_FLOAT_EQ(picture.at(13, 13).a, grey.a);
    // A highlight only where the slope mirrors the light toward the eye.
    Pixmap shiny(40, 40, grey);
    light(shiny, dome, Lighting{0.0F, 0.8F, 20.0F});
    EXPECT_FLOAT_EQ(brightness(shiny.at(27, 27)), brightness(grey));
    EXPECT_GT(brightness(shiny.at(15, 14)), brightness(grey) + 0.2F);
}

TEST(Light, BevelsRiseFromTheEdgeInTheirProfile) {
    const Field square = shapeMask(30, 30, roundRect(5, 5, 20, 20, 0));
    struct Case {
        Profile profile;
        float nearEdge; // 2.5 of the bevel's 4 pixels in, of 4 pixels' height
        float atMiddle;
    };
    const Case cases[] = {
        {Profile::Linear, 2.5F, 4.0F},
        {Profile::Round, 3.708F, 4.0F},
        {Profile::Cove, 0.876F, 4.0F},
        {Profile::Bead, 3.696F, 0.0F},
    };
    for (const Case& c : cases) {
        const Field h = bevel(square, 4.0, 4.0, c.profile);
        EXPECT_FLOAT_EQ(h.at(2, 15), 0.0F);
        EXPECT_NEAR(h.at(7, 15), c.nearEdge, 0.02F); // its centre is 2.5 pixels in
        EXPECT_NEAR(h.at(15, 15), c.atMiddle, 0.02F);
    }
}

TEST(Light, VignetteAndPoolsDarkenAndLightenWhereTheySay) {
    const Rgba wood{0.4F, 0.2F, 0.1F, 1.0F};
    Pixmap room(100, 80, wood);
    vignette(room, 0.5F, 0.4F);
    EXPECT_FLOAT_EQ(brightness(room.at(50, 40)), brightness(wood));
    EXPECT_LT(brightness(room.at(0, 0)), brightness(wood) * 0.6F);
    lightPool(room, 50, 40, 20, 10, Rgba{1, 0.8F, 0.5F, 1}, 0.5F);
    EXPECT_GT(brightness(room.at(50, 40)), brightness(wood) + 0.3F);
    EXPECT_FLOAT_EQ(brightness(room.at(50, 51)), brightness(wood));
}

} // namespace
} // namespace orv::media
