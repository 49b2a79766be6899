#include "game/screen/ModifierShine.h"

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"
#include "game/screen/ModifierApply.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>

namespace orv {
namespace {

// A 32-bit picture whose pixel (x, y) is `colour(x, y)`.
RefPtr<Image> picture(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    EXPECT_TRUE(image != nullptr && image->lock());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = colour(x, y);
            std::memcpy(image->getPixels() + y * image->getPitch() + x * 4, &pixel, 4);
        }
    }
    image->unlock();
    return image;
}

std::uint32_t pixelOf(Image* image, int x, int y) {
    EXPECT_TRUE(image != nullptr && image->lock());
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, image->getPixels() + y * image->getPitch() + x * 4, 4);
    image->unlock();
    return pixel;
}

constexpr std::uint32_t kGrey = 0xFF202020U;
constexpr std::uint32_t kLit = 0xFF404040U; // grey + the band's 0x20 light

class ModifierShineTest : public testing::Test {
protected:
    // A 40 x 20 grey picture and a band 10 wide of faint white light.
    RefPtr<Image> base = picture(40, 20, [](int, int) { return kGrey; });
    RefPtr<Image> band = picture(10, 20, [](int, int) { return 0xFF202020U; });
    RefPtr<Sprite> sprite{new Sprite(0, 0, base.get())};
};

TEST(ModifierShinePosition, EntersLeftOfThePictureAndLeavesRightOfIt) {
    EXPECT_EQ(ModifierShine::shinePosition(10, 40, 0.0F), -10);
    EXPECT_EQ(ModifierShine::shinePosition(10, 40, 0.5F), 15);
    EXPECT_EQ(ModifierShine::shinePosition(10, 40, 1.0F), 40);
}

// Half way the band lights columns 15 to 24 of a copy; the sprite's own
// picture is untouched and comes back at the end.
TEST_F(ModifierShineTest, LightsACopyAndGivesThePictureBack) {
    auto* shine = new ModifierShine(400, band.get());
    sprite->addModifier(shine);
    shine->update(200);
    EXPECT_EQ(shine->getLastPosition(), 15);
    Image* shown = sprite->getImage();
    ASSERT_NE(shown, base.get());
    EXPECT_EQ(pixelOf(shown, 14, 10), kGrey);
    EXPECT_EQ(pixelOf(shown, 15, 10), kLit);
    EXPECT_EQ(pixelOf(shown, 24, 0), kLit);
    EXPECT_EQ(pixelOf(shown, 25, 19), kGrey);
    EXPECT_EQ(pixelOf(base.get(), 20, 10), kGrey);

    shine->update(0); // not moved: no new copy
    EXPECT_EQ(sprite->getImage(), shown);
    shine->update(200);
    EXPECT_TRUE(shine->isDone());
    EXPECT_EQ(sprite->getImage(), base.get());
    EXPECT_EQ(sprite->getWidth(), 40);
}

// With a mask only its opaque right half is lit.
TEST_F(ModifierShineTest, AMaskLimitsTheLight) {
    RefPtr<Image> mask = picture(40, 20, [](int x, int) { return x < 20 ? 0U : 0xFF000000U; });
    sprite->addModifier(ModifierShine::constructWithMask(400, band.get(), mask.get()));
    sprite->update(200);
    Image* shown = sprite->getImage();
    EXPECT_EQ(pixelOf(shown, 17, 5), kGrey);
    EXPECT_EQ(pixelOf(shown, 22, 5), kLit);
}

// Without the restore flag the copy holds the band alone in the picture's
// shape, and at the end the sprite has no picture left.
TEST_F(ModifierShineTest, WithoutRestoreTheBandShowsAloneAndThePictureGoes) {
    base = picture(40, 20, [](int x, int) { return x < 20 ? 0xFF808080U : 0x00808080U; });
    sprite->setImage(base.get());
    auto* shine = new ModifierShine(400, band.get());
    shine->setRestore(false);
    sprite->addModifier(shine);
    shine->update(200);
    Image* shown = sprite->getImage();
    EXPECT_EQ(pixelOf(shown, 5, 5), 0U) << "outside the band: nothing";
    EXPECT_EQ(pixelOf(shown, 17, 5), 0xFF202020U) << "the band's own light";
    EXPECT_EQ(pixelOf(shown, 22, 5) >> 24U, 0U) << "outside the picture's shape";
    shine->update(200);
    EXPECT_EQ(sprite->getImage(), nullptr);
}

// A sprite of two frames stacked is lit only in the frame it shows.
TEST_F(ModifierShineTest, LightsOnlyTheCurrentFrame) {
    base = picture(40, 40, [](int, int) { return kGrey; });
    sprite->setImage(base.get());
    sprite->setFrameLayout(2, false);
    sprite->setCurrentFrame(1);
    sprite->addModifier(new ModifierShine(400, band.get()));
    sprite->update(200);
    Image* shown = sprite->getImage();
    EXPECT_EQ(pixelOf(shown, 20, 10), kGrey);
    EXPECT_EQ(pixelOf(shown, 20, 30), kLit);
    EXPECT_EQ(sprite->getCurrentFrame(), 1);
    EXPECT_EQ(sprite->getHeight(), 20);
}

TEST_F(ModifierShineTest, ApplySwitchesThePictureOnceAndEnds) {
    RefPtr<Image> other = picture(8, 6, [](int, int) { return 0xFFFFFFFFU; });
    auto* apply = new ModifierApply(other.get());
    sprite->addModifier(apply);
    apply->update(16);
    EXPECT_TRUE(apply->isDone());
    EXPECT_EQ(sprite->getImage(), other.get());
    EXPECT_EQ(sprite->getWidth(), 8);
}

} // namespace
} // namespace orv
