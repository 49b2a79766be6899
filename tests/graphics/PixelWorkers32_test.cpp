#include "engine/graphics/PixelRows32.h"
#include "engine/graphics/PixelWorkers32.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::patternImage;
using test::pixelAt;
using test::snapshot;

// Each worker over a sub-rectangle of images whose alpha bytes all differ:
// the pixels outside the rectangle stay as they were, and inside each row is
// what the reference row rule gives for that row from the rectangle's start.
struct WorkerCase {
    const char* name;
    std::function<void(Image& target, Image& source)> worker;
    std::function<void(std::uint32_t* target, const std::uint32_t* source, int count)> rowRule;
};

constexpr int kSrcX = 1;
constexpr int kSrcY = 2;
constexpr int kWidth = 5;
constexpr int kHeight = 2;
constexpr int kDstX = 3;
constexpr int kDstY = 1;
constexpr std::uint32_t kColour = 0x00C08040;

class Workers : public testing::TestWithParam<WorkerCase> {};

TEST_P(Workers, WriteExactlyTheirRectangleByTheRowRule) {
    const WorkerCase& c = GetParam();
    RefPtr<Image> target = patternImage(9, 4, 1);
    RefPtr<Image> source = patternImage(7, 5, 2);
    std::vector<std::uint32_t> expected = snapshot(*target);
    for (int row = 0; row < kHeight; ++row) {
        std::vector<std::uint32_t> sourceRow;
        for (int i = 0; i < kWidth; ++i) {
            sourceRow.push_back(pixelAt(*source, kSrcX + i, kSrcY + row));
        }
        c.rowRule(&expected[static_cast<std::size_t>((kDstY + row) * 9 + kDstX)], sourceRow.data(),
                  kWidth);
    }
    c.worker(*target, *source);
    EXPECT_EQ(snapshot(*target), expected);
    EXPECT_FALSE(target->isLocked());
    EXPECT_FALSE(source->isLocked());
}

INSTANTIATE_TEST_SUITE_P(
    ThirtyTwoBit, Workers,
    testing::Values(
        WorkerCase{"CopyPixels",
                   [](Image& into, Image& from) {
                       copyPixels32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       pixel32::reference::copyRow(d, s, n);
                   }},
        WorkerCase{"CopyOpaque",
                   [](Image& into, Image& from) {
                       copyOpaque32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       pixel32::reference::copyOpaqueRow(d, s, n);
                   }},
        WorkerCase{"CopyAlpha",
                   [](Image& into, Image& from) {
                       copyAlpha32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY, 77);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       pixel32::reference::copyAlphaRow(d, s, n, 77);
                   }},
        WorkerCase{"BlendNormal",
                   [](Image& into, Image& from) {
                       blendNormal32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY, 255);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       pixel32::reference::blendNormalRow(d, s, n, 255);
                   }},
        WorkerCase{"BlendAdditive",
                   [](Image& into, Image& from) {
                       blendAdditive32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY,
                                       200);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       pixel32::reference::blendAdditiveRow(d, s, n, 200);
                   }},
        WorkerCase{"CopyChannelGreen",
                   [](Image& into, Image& from) {
                       copyChannel32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY, 2);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       for (int i = 0; i < n; ++i) {
                           d[i] = (d[i] & 0xFFFF00FFU) | (s[i] & 0x0000FF00U);
                       }
                   }},
        WorkerCase{"MinChannelAlpha",
                   [](Image& into, Image& from) {
                       minChannel32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY, 0);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       for (int i = 0; i < n; ++i) {
                           if ((s[i] >> 24) < (d[i] >> 24)) {
                               d[i] = (d[i] & 0x00FFFFFFU) | (s[i] & 0xFF000000U);
                           }
                       }
                   }},
        WorkerCase{"MaxChannelBlue",
                   [](Image& into, Image& from) {
                       maxChannel32(into, from, kSrcX, kSrcY, kWidth, kHeight, kDstX, kDstY, 3);
                   },
                   [](std::uint32_t* d, const std::uint32_t* s, int n) {
                       for (int i = 0; i < n; ++i) {
                           if ((s[i] & 0xFFU) > (d[i] & 0xFFU)) {
                               d[i] = (d[i] & 0xFFFFFF00U) | (s[i] & 0xFFU);
                           }
                       }
                   }},
        WorkerCase{"FillAlpha",
                   [](Image& into, Image&) {
                       fillAlpha32(into, kDstX, kDstY, kWidth, kHeight, kColour, 99);
                   },
                   [](std::uint32_t* d, const std::uint32_t*, int n) {
                       pixel32::reference::fillAlphaRow(d, n, kColour, 99);
                   }},
        WorkerCase{
            "FillOpaque",
            [](Image& into, Image&) { fillOpaque32(into, kDstX, kDstY, kWidth, kHeight, kColour); },
            [](std::uint32_t* d, const std::uint32_t*, int n) {
                pixel32::reference::fillOpaqueRow(d, n, kColour);
            }},
        WorkerCase{"FillChannelRed",
                   [](Image& into, Image&) {
                       fillChannel32(into, kDstX, kDstY, kWidth, kHeight, 1, 0xAB);
                   },
                   [](std::uint32_t* d, const std::uint32_t*, int n) {
                       for (int i = 0; i < n; ++i) {
                           d[i] = (d[i] & 0xFF00FFFFU) | 0x00AB0000U;
                       }
                   }},
        WorkerCase{"FillChannelOutOfRange",
                   [](Image& into, Image&) {
                       fillChannel32(into, kDstX, kDstY, kWidth, kHeight, 4, 0xAB);
                   },
                   [](std::uint32_t*, const std::uint32_t*, int) {
                   }}),
    [](const testing::TestParamInfo<WorkerCase>& param) { return std::string(param.param.name); });

TEST(PlaneWorkers, ReadTheAlphaPlaneByImageWidth) {
    RefPtr<Image> target = patternImage(6, 3, 5);
    RefPtr<Image> sixteen = createImage(4, 3, kFormatRgb565);
    for (int i = 0; i < 12; ++i) {
        sixteen->getAlpha()[i] = static_cast<std::uint8_t>(0x10 * i);
    }
    const std::vector<std::uint32_t> before = snapshot(*target);
    copyChannelFromPlane32(*target, *sixteen, 1, 1, 3, 2, 2, 0, 1);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 3; ++i) {
            const std::uint32_t old = before[static_cast<std::size_t>(row * 6 + 2 + i)];
            const std::uint32_t plane = 0x10U * static_cast<std::uint32_t>((row + 1) * 4 + 1 + i);
            EXPECT_EQ(pixelAt(*target, 2 + i, row), (old & 0xFF00FFFFU) | (plane << 16));
        }
    }
    EXPECT_EQ(pixelAt(*target, 1, 0), before[1]);
    EXPECT_EQ(pixelAt(*target, 2, 2), before[14]);

    RefPtr<Image> mask = createImage(2, 1, kFormatAlpha);
    mask->getAlpha()[0] = 0x00;
    mask->getAlpha()[1] = 0xFF;
    RefPtr<Image> flat = test::filledImage(2, 1, 0x80808080);
    minChannelFromPlane32(*flat, *mask, 0, 0, 2, 1, 0, 0, 0);
    maxChannelFromPlane32(*flat, *mask, 0, 0, 2, 1, 0, 0, 3);
    EXPECT_EQ(pixelAt(*flat, 0, 0), 0x00808080U);
    EXPECT_EQ(pixelAt(*flat, 1, 0), 0x808080FFU);
    drawMasked32(*flat, *mask, 0, 0, 2, 1, 0, 0, 0x00000000, 255);
    EXPECT_EQ(pixelAt(*flat, 0, 0), 0x00808080U) << "mask 0 leaves the pixel";
    EXPECT_EQ(pixelAt(*flat, 1, 0), 0x80010101U) << "mask 255: weight 254 stops one short";
}

TEST(PointWorkers, PlotsAndStraightLines) {
    RefPtr<Image> target = test::filledImage(5, 5, 0x33000000);
    plotOpaque32(*target, 1, 1, 0xFFFFFFFF);
    EXPECT_EQ(pixelAt(*target, 1, 1), 0x33FFFFFFU);
    plotAlpha32(*target, 2, 2, 0x00FFFFFF, 255);
    EXPECT_EQ(pixelAt(*target, 2, 2), 0x33FEFEFEU);
    setChannelPixel32(*target, 3, 3, 0, 0x44);
    EXPECT_EQ(pixelAt(*target, 3, 3), 0x44000000U);

    RefPtr<Image> lines = test::filledImage(5, 5, 0x33000000);
    const std::vector<std::uint32_t> blank = snapshot(*lines);
    drawStraightLine32(*lines, 4, 0, 2, 0, 0x00FFFFFF);
    drawStraightLine32(*lines, 0, 4, 0, 1, 0x00FFFFFF);
    EXPECT_EQ(snapshot(*lines), blank) << "a start after its end draws nothing";
    drawStraightLine32(*lines, 2, 2, 2, 2, 0x00FFFFFF);
    drawStraightLine32(*lines, 0, 1, 0, 3, 0x000000FF);
    drawStraightLine32(*lines, 1, 4, 4, 4, 0x0000FF00);
    EXPECT_EQ(pixelAt(*lines, 2, 2), 0x33FFFFFFU);
    EXPECT_EQ(pixelAt(*lines, 0, 3), 0x330000FFU);
    EXPECT_EQ(pixelAt(*lines, 0, 4), 0x33000000U);
    EXPECT_EQ(pixelAt(*lines, 4, 4), 0x3300FF00U);
    EXPECT_EQ(pixelAt(*lines, 0, 0), 0x33000000U);
}

TEST(WorkerLocks, AnImageThatCannotBeLockedIsNotDrawn) {
    RefPtr<Image> target = test::filledImage(2, 2, 0x11111111);
    RefPtr<Image> empty(new Image());
    empty->setWidth(2);
    empty->setHeight(2);
    copyPixels32(*target, *empty, 0, 0, 2, 2, 0, 0);
    EXPECT_EQ(pixelAt(*target, 1, 1), 0x11111111U);
    EXPECT_FALSE(target->isLocked());
}

} // namespace
} // namespace orv
