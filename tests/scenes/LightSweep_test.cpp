#include "game/scenes/LightSweep.h"

#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/scene/RenderTask.h"
#include "tests/scene/ScenePixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace orv {
namespace {

// A centred 20 x 20 emblem at (40, 30) in a 100 x 60 black picture; a white
// band sweeps over it from left to right, clipped to the emblem's box.
TEST(LightSweep, LightsOnlyTheAreaItIsClippedTo) {
    const RefPtr<PropertyNode> plain(new PropertyNode("", "Sprite"));
    const RefPtr<GameNode> root(new GameTree());
    auto* emblem = new Sprite(plain.get());
    emblem->setImage(test::solidImage(20, 20, 0x00000000U).get());
    emblem->setAnchorPoint(AnchorKind::Center);
    emblem->setPosition(40, 30);
    GameTree::appendChild(emblem, root.get());
    const RefPtr<Image> band = test::solidImage(30, 30, 0xFFFFFFFFU);
    const int left = -static_cast<int>(emblem->getAnchorOffsetX());
    const int top = -static_cast<int>(emblem->getAnchorOffsetY());
    LightSweep sweep;
    sweep.image = band.get();
    sweep.fromX = left - band->getWidth();
    sweep.fromY = top - 5;
    sweep.toX = left + emblem->getWidth();
    sweep.toY = sweep.fromY;
    sweep.durationMs = 100;
    sweep.clip = Rect{left, top, emblem->getWidth(), emblem->getHeight()};
    Sprite* light = startLightSweep(*emblem, sweep);
    ASSERT_NE(light, nullptr);

    for (const int x : {sweep.fromX, left - 15, left - 5, left + 5, sweep.toX - 1}) {
        light->setPosition(x, sweep.fromY);
        const RefPtr<Image> target = test::solidImage(100, 60, 0xFF000000U);
        const RefPtr<Graphics> graphics = createGraphics(*target);
        RenderTask::renderNode(*graphics, root.get());
        int lit = 0;
        for (int py = 0; py < 60; ++py) {
            for (int px = 0; px < 100; ++px) {
                if ((test::pixelAt(*target, px, py) & 0xFFFFFFU) == 0U) {
                    continue;
                }
                ++lit;
                EXPECT_TRUE(px >= 30 && px < 50 && py >= 20 && py < 40)
                    << "lit at " << px << "," << py << " with the band at " << x;
            }
        }
        // Overlapping the emblem, the band lights it; beside it, nothing.
        const bool overlaps = x + band->getWidth() > left && x < left + emblem->getWidth();
        EXPECT_EQ(lit > 0, overlaps) << x;
        if (x == left - 5) {
            EXPECT_EQ(lit, 20 * 20) << "covering the emblem, the band lights all of it";
        }
    }
}

// The picture in `format`: 32-bit as made, or converted to RGB565 as a
// 16-bit display has its pictures.
RefPtr<Image> inFormat(RefPtr<Image> image, int format) {
    image->setFollowsDisplayFormat(true);
    image->setPixelFormat(format);
    EXPECT_EQ(image->getFormat(), format);
    return image;
}

// Whether the colour at (x, y) of a 32-bit or 16-bit image is not black.
bool isLit(Image& image, int x, int y) {
    if (image.getFormat() == kFormatArgb32) {
        return (test::pixelAt(image, x, y) & 0xFFFFFFU) != 0U;
    }
    std::uint16_t word = 0;
    EXPECT_TRUE(image.lock());
    std::memcpy(&word, image.getPixels() + y * image.getPitch() + x * 2, sizeof word);
    image.unlock();
    return word != 0U;
}

// With a mask, the band lights only where the mask is opaque: here the
// emblem's right half. On a 16-bit display (band, mask and target in RGB565)
// as on a 32-bit one.
TEST(LightSweep, AMaskKeepsTheLightOffTheTransparentParts) {
    for (const int format : {kFormatArgb32, kFormatRgb565}) {
        SCOPED_TRACE(format);
        const RefPtr<PropertyNode> plain(new PropertyNode("", "Sprite"));
        const RefPtr<GameNode> root(new GameTree());
        const RefPtr<Image> halfOpaque = test::solidImage(20, 20, 0x00000000U);
        ASSERT_TRUE(halfOpaque->lock());
        for (int y = 0; y < 20; ++y) {
            for (int x = 10; x < 20; ++x) {
                const std::uint32_t black = 0xFF000000U;
                std::memcpy(halfOpaque->getPixels() + y * halfOpaque->getPitch() + x * 4, &black,
                            4);
            }
        }
        halfOpaque->unlock();
        const RefPtr<Image> mask = inFormat(halfOpaque, format);
        auto* emblem = new Sprite(plain.get());
        emblem->setImage(mask.get());
        emblem->setPosition(30, 20);
        GameTree::appendChild(emblem, root.get());
        const RefPtr<Image> band = inFormat(test::solidImage(30, 30, 0xFFFFFFFFU), format);
        LightSweep sweep;
        sweep.image = band.get();
        sweep.fromX = -5;
        sweep.fromY = -5;
        sweep.toX = 20;
        sweep.toY = -5;
        sweep.clip = Rect{0, 0, 20, 20};
        sweep.mask = mask.get();
        ASSERT_NE(startLightSweep(*emblem, sweep), nullptr);

        const RefPtr<Image> target = inFormat(test::solidImage(100, 60, 0xFF000000U), format);
        const RefPtr<Graphics> graphics = createGraphics(*target);
        RenderTask::renderNode(*graphics, root.get());
        int wrong = 0;
        std::string first;
        for (int py = 15; py < 45; ++py) {
            for (int px = 20; px < 60; ++px) {
                const bool opaque = px >= 40 && px < 50 && py >= 20 && py < 40;
                if (isLit(*target, px, py) != opaque && wrong++ == 0) {
                    first = std::to_string(px) + "," + std::to_string(py);
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "first wrong pixel at " << first;
    }
}

} // namespace
} // namespace orv
