#include "game/scenes/ThresholdSprite.h"

#include "game/scenes/ModifierTreshold.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace orv {
namespace {

// An opaque 32-bit picture of `width` x 1 pixels.
RefPtr<Image> opaqueRow(int width) {
    RefPtr<Image> image = createImage(width, 1, kFormatArgb32);
    EXPECT_TRUE(image && image->lock());
    for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = 0xFF336699U;
        std::memcpy(image->getPixels() + x * 4, &pixel, sizeof pixel);
    }
    image->unlock();
    return image;
}

// An alpha-only mask of `width` x 1 whose value at x is `value(x)`.
template <class Value>
RefPtr<Image> maskRow(int width, const Value& value) {
    RefPtr<Image> mask = createImage(width, 1, kFormatAlpha);
    EXPECT_TRUE(mask && mask->lock());
    for (int x = 0; x < width; ++x) {
        mask->getAlpha()[x] = static_cast<std::uint8_t>(value(x));
    }
    mask->unlock();
    return mask;
}

// Which pixels of the displayed row show (alpha not 0).
std::vector<bool> shown(ThresholdSprite& sprite) {
    sprite.applyThreshold();
    Image* image = sprite.getImage();
    std::vector<bool> result;
    if (image == nullptr || !image->lock()) {
        return result;
    }
    for (int x = 0; x < image->getWidth(); ++x) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, image->getPixels() + x * 4, sizeof pixel);
        result.push_back((pixel >> 24U) != 0);
    }
    image->unlock();
    return result;
}

struct ThresholdCase {
    float threshold;
    int firstHidden; // mask values below it show, from it on they do not
};

class ThresholdReveal : public testing::TestWithParam<ThresholdCase> {};

// A mask ramp of every value 0..255: the threshold decides how far it shows,
// and 255 never shows.
TEST_P(ThresholdReveal, ShowsExactlyTheMaskValuesBelowTheThreshold) {
    ThresholdSprite sprite(0, 0);
    RefPtr<Image> ramp = maskRow(256, [](int x) { return x; });
    sprite.setMaskImage(ramp.get());
    RefPtr<Image> source = opaqueRow(256);
    sprite.setSourceImage(source.get());
    sprite.setThreshold(GetParam().threshold);
    const std::vector<bool> row = shown(sprite);
    ASSERT_EQ(row.size(), 256U);
    for (int m = 0; m < 256; ++m) {
        EXPECT_EQ(row[static_cast<std::size_t>(m)], m < GetParam().firstHidden)
            << "mask value " << m;
    }
}

INSTANTIATE_TEST_SUITE_P(Thresholds, ThresholdReveal,
                         testing::Values(ThresholdCase{0.0F, 0}, ThresholdCase{0.5F, 127},
                                         ThresholdCase{1.0F, 255}));

TEST(ThresholdSprite, HidesWhatASmallerMaskDoesNotCover) {
    ThresholdSprite sprite(0, 0);
    RefPtr<Image> mask = maskRow(2, [](int) { return 0; });
    sprite.setMaskImage(mask.get());
    RefPtr<Image> source = opaqueRow(4);
    sprite.setSourceImage(source.get());
    sprite.setThreshold(1.0F);
    EXPECT_EQ(shown(sprite), (std::vector<bool>{true, true, false, false}));
}

TEST(ThresholdSprite, RebuildsOnlyWhenTheIntegerThresholdChanges) {
    ThresholdSprite sprite(0, 0);
    RefPtr<Image> source = opaqueRow(4);
    sprite.setSourceImage(source.get());
    sprite.setThreshold(0.5F);
    sprite.applyThreshold();
    EXPECT_EQ(sprite.getAppliedThreshold(), 127);
    sprite.setThreshold(0.501F); // still 127
    sprite.applyThreshold();
    EXPECT_EQ(sprite.getAppliedThreshold(), 127);
}

TEST(ModifierTreshold, RunsTheTargetsThresholdOverItsDuration) {
    RefPtr<ThresholdSprite> sprite(new ThresholdSprite(0, 0));
    RefPtr<Image> source = opaqueRow(4);
    sprite->setSourceImage(source.get());
    sprite->addModifier(new ModifierTreshold(500));
    sprite->update(250);
    EXPECT_FLOAT_EQ(sprite->getThreshold(), 0.5F);
    sprite->update(400); // past the end: exactly 1
    EXPECT_FLOAT_EQ(sprite->getThreshold(), 1.0F);
    EXPECT_EQ(shown(*sprite), (std::vector<bool>{true, true, true, true}));
}

} // namespace
} // namespace orv
