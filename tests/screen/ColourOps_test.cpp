#include "game/screen/ColourOps.h"

#include "engine/resources/Image.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orv {
namespace {

std::array<int, 3> rounded(const ColourTriple& rgb) {
    return {static_cast<int>(rgb.a), static_cast<int>(rgb.b), static_cast<int>(rgb.c)};
}

TEST(ColourOps, HsvRoundTripKeepsColours) {
    const std::array<std::array<int, 3>, 8> colours{{{255, 0, 0},
                                                     {0, 255, 0},
                                                     {0, 0, 255},
                                                     {255, 255, 0},
                                                     {12, 200, 90},
                                                     {128, 128, 128},
                                                     {0, 0, 0},
                                                     {250, 10, 130}}};
    for (const auto& c : colours) {
        const ColourTriple rgb{static_cast<float>(c[0]), static_cast<float>(c[1]),
                               static_cast<float>(c[2])};
        EXPECT_EQ(rounded(hsvToRgb(rgbToHsv(rgb))), c) << c[0] << "," << c[1] << "," << c[2];
        ColourTriple turned = rgbToHsv(rgb);
        turned.a += 1.0F; // a whole turn changes nothing
        EXPECT_EQ(rounded(hsvToRgb(turned)), c);
    }
}

TEST(ColourOps, HueAtTheTurnsEdgeStaysInTheFirstSector) {
    // Just below a whole turn rounds to 6 sectors in single precision.
    const std::array<float, 4> hues{-1.0e-9F, 0.99999999F, -3.0F, NAN};
    for (const float hue : hues) {
        EXPECT_EQ(rounded(hsvToRgb({hue, 1.0F, 1.0F})), (std::array<int, 3>{255, 0, 0})) << hue;
    }
}

TEST(ColourOps, GreyRectTurnsOnlyTheRectangleGreyInBothDepths) {
    RefPtr<Image> wide = createImage(3, 2, kFormatArgb32);
    ASSERT_TRUE(wide && wide->lock());
    auto* px = reinterpret_cast<std::uint32_t*>(wide->getPixels());
    for (int i = 0; i < 6; ++i) {
        px[i] = 0x80C86432U; // r 200, g 100, b 50
    }
    px[1] = 0xFF404040U; // already grey
    wide->unlock();
    greyImageRect(*wide, 1, -5, 100, 100); // clipped to columns 1..2, both rows
    ASSERT_TRUE(wide->lock());
    px = reinterpret_cast<std::uint32_t*>(wide->getPixels());
    EXPECT_EQ(px[0], 0x80C86432U);
    EXPECT_EQ(px[1], 0xFF404040U);
    EXPECT_EQ(px[2], 0x807D7D7DU); // (600 + 600 + 50) / 10 = 125
    EXPECT_EQ(px[5], 0x807D7D7DU);
    EXPECT_EQ(px[3], 0x80C86432U);
    wide->unlock();

    RefPtr<Image> narrow = createImage(2, 1, kFormatRgb565);
    ASSERT_TRUE(narrow && narrow->lock());
    std::array<std::uint16_t, 2> words{static_cast<std::uint16_t>((31U << 11U) | (10U << 6U) | 4U),
                                       static_cast<std::uint16_t>((9U << 11U) | (9U << 6U) | 9U)};
    std::memcpy(narrow->getPixels(), words.data(), sizeof words);
    narrow->unlock();
    greyImageRect(*narrow, 0, 0, 2, 1);
    ASSERT_TRUE(narrow->lock());
    std::memcpy(words.data(), narrow->getPixels(), sizeof words);
    narrow->unlock();
    const unsigned grey = (3 * 31 + 6 * 10 + 4) / 10; // 15
    EXPECT_EQ(words[0], (grey << 11U) | (grey << 6U) | grey);
    EXPECT_EQ(words[1], (9U << 11U) | (9U << 6U) | 9U);
}

TEST(ColourOps, HueMaskTurnsMaskedPixelsAndRefusesAMaskOfAnotherSize) {
    RefPtr<Image> image = createImage(2, 1, kFormatArgb32);
    RefPtr<Image> mask = createImage(2, 1, kFormatAlpha);
    RefPtr<Image> smallMask = createImage(1, 1, kFormatAlpha);
    ASSERT_TRUE(image && mask && smallMask);
    ASSERT_TRUE(image->lock() && mask->lock() && smallMask->lock());
    auto* px = reinterpret_cast<std::uint32_t*>(image->getPixels());
    px[0] = 0xFFFF0000U;
    px[1] = 0xFFFF0000U;
    mask->getAlpha()[0] = 0;
    mask->getAlpha()[1] = 255;
    smallMask->getAlpha()[0] = 255;
    image->unlock();
    mask->unlock();
    smallMask->unlock();

    applyHueMask(*image, *smallMask, 1.0F / 3.0F);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(reinterpret_cast<std::uint32_t*>(image->getPixels())[1], 0xFFFF0000U);
    image->unlock();

    applyHueMask(*image, *mask, 1.0F / 3.0F); // red to green
    ASSERT_TRUE(image->lock());
    px = reinterpret_cast<std::uint32_t*>(image->getPixels());
    EXPECT_EQ(px[0], 0xFFFF0000U);
    EXPECT_EQ(px[1], 0xFF00FF00U);
    image->unlock();
}

} // namespace
} // namespace orv
