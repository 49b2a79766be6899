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

// A 2 x 2 picture in each pixel depth: a grey pixel and a coloured one
// inside the mask, two coloured ones outside it. The grey keeps its value
// under any hue, a turn of 0 and a full turn give the same picture, and the
// pixels outside the mask are never touched.
TEST(ColourOps, HueMaskOnTwoByTwoInBothDepths) {
    struct Depth {
        int format;
        std::array<std::uint32_t, 4> pixels; // grey, colour (masked), colour, colour
    };
    static constexpr std::array<Depth, 2> depths{
        {{kFormatArgb32, {0xFF808080U, 0xFF3366CCU, 0xFFCC3300U, 0xFF10E040U}},
         {kFormatRgb565, {0x8410U, 0x336CU, 0xC980U, 0x1708U}}}};
    const auto read = [](Image& image, int format) {
        std::array<std::uint32_t, 4> out{};
        EXPECT_TRUE(image.lock());
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t* row = image.getPixels() + (i / 2) * image.getPitch();
            if (format == kFormatArgb32) {
                std::memcpy(&out.at(static_cast<std::size_t>(i)), row + (i % 2) * 4, 4);
            } else {
                std::uint16_t word = 0;
                std::memcpy(&word, row + (i % 2) * 2, 2);
                out.at(static_cast<std::size_t>(i)) = word;
            }
        }
        image.unlock();
        return out;
    };
    const auto make = [](const Depth& depth) {
        RefPtr<Image> image = createImage(2, 2, depth.format);
        EXPECT_TRUE(image && image->lock());
        for (int i = 0; i < 4; ++i) {
            std::uint8_t* row = image->getPixels() + (i / 2) * image->getPitch();
            const std::uint32_t value = depth.pixels.at(static_cast<std::size_t>(i));
            if (depth.format == kFormatArgb32) {
                std::memcpy(row + (i % 2) * 4, &value, 4);
            } else {
                const auto word = static_cast<std::uint16_t>(value);
                std::memcpy(row + (i % 2) * 2, &word, 2);
            }
        }
        image->unlock();
        return image;
    };
    RefPtr<Image> mask = createImage(2, 2, kFormatAlpha);
    ASSERT_TRUE(mask && mask->lock());
    mask->getAlpha()[0] = 255; // the grey pixel
    mask->getAlpha()[1] = 1;   // the first coloured pixel
    mask->getAlpha()[2] = 0;
    mask->getAlpha()[3] = 0;
    mask->unlock();

    for (const Depth& depth : depths) {
        SCOPED_TRACE(depth.format);
        RefPtr<Image> noTurn = make(depth);
        RefPtr<Image> fullTurn = make(depth);
        RefPtr<Image> thirdTurn = make(depth);
        applyHueMask(*noTurn, *mask, 0.0F);
        applyHueMask(*fullTurn, *mask, 1.0F);
        applyHueMask(*thirdTurn, *mask, 1.0F / 3.0F);
        const auto none = read(*noTurn, depth.format);
        const auto full = read(*fullTurn, depth.format);
        const auto third = read(*thirdTurn, depth.format);
        EXPECT_EQ(none, full);
        EXPECT_EQ(third[0], depth.pixels[0]) << "grey has no hue to turn";
        EXPECT_NE(third[1], none[1]) << "the masked colour turns";
        for (const auto& picture : {none, full, third}) {
            EXPECT_EQ(picture[2], depth.pixels[2]);
            EXPECT_EQ(picture[3], depth.pixels[3]);
        }
    }
}

} // namespace
} // namespace orv
