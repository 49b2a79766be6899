#include "engine/graphics/PixelRows32.h"
#include "tests/graphics/RowCases.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace orv {
namespace {

using Row = std::vector<std::uint32_t>;

using test::AlphaPattern;
using test::describe;
using test::patternsAndAlphas;
using test::RowCase;

// Source alpha patterns: the blends' shortcuts hinge on pairs of weights 0 or
// 254, so each pattern places 0, 254 and 255 alphas differently over pairs.
Row makeSource(int count, AlphaPattern pattern, std::mt19937& random) {
    static constexpr int kCycle[] = {255, 255, 0, 0, 255, 254, 0, 255, 128};
    Row row(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto alpha =
            static_cast<std::uint32_t>(test::patternAlpha(pattern, kCycle[i % 9], random));
        row[static_cast<std::size_t>(i)] = (alpha << 24) | (random() & 0x00FFFFFFU);
    }
    return row;
}

Row makeTarget(int count, std::mt19937& random) {
    Row row(static_cast<std::size_t>(count));
    for (auto& pixel : row) {
        pixel = static_cast<std::uint32_t>(random());
    }
    return row;
}

using SourceRowFunction = void (*)(std::uint32_t*, const std::uint32_t*, int, int);

// The fast row loops against the reference, pixel for pixel, for each row
// width (the parameter; 1 to 9 cover every remainder of pairs and groups). The
// rows sit at an odd offset inside larger buffers so that unaligned starts are
// covered and a write outside the row would show.
class FastRowsMatchTheReference : public testing::TestWithParam<int> {
protected:
    void compareSourceRows(SourceRowFunction fast, SourceRowFunction reference) {
        const int width = GetParam();
        for (const RowCase& c : patternsAndAlphas()) {
            SCOPED_TRACE(describe(c));
            std::mt19937 random(static_cast<unsigned>(width * 131 + c.g));
            for (int trial = 0; trial < 4; ++trial) {
                const Row source = makeSource(width + 2, c.pattern, random);
                Row expected = makeTarget(width + 2, random);
                Row got = expected;
                reference(expected.data() + 1, source.data() + 1, width, c.g);
                fast(got.data() + 1, source.data() + 1, width, c.g);
                ASSERT_EQ(got, expected) << "trial " << trial;
            }
        }
    }
};

TEST_P(FastRowsMatchTheReference, BlendNormal) {
    compareSourceRows(pixel32::blendNormalRow, pixel32::reference::blendNormalRow);
}

TEST_P(FastRowsMatchTheReference, BlendAdditive) {
    compareSourceRows(pixel32::blendAdditiveRow, pixel32::reference::blendAdditiveRow);
}

TEST_P(FastRowsMatchTheReference, CopyAlpha) {
    compareSourceRows(pixel32::copyAlphaRow, pixel32::reference::copyAlphaRow);
}

TEST_P(FastRowsMatchTheReference, CopyAndCopyOpaque) {
    compareSourceRows(
        [](std::uint32_t* d, const std::uint32_t* s, int n, int) { pixel32::copyRow(d, s, n); },
        [](std::uint32_t* d, const std::uint32_t* s, int n, int) {
            pixel32::reference::copyRow(d, s, n);
        });
    compareSourceRows([](std::uint32_t* d, const std::uint32_t* s, int n,
                         int) { pixel32::copyOpaqueRow(d, s, n); },
                      [](std::uint32_t* d, const std::uint32_t* s, int n, int) {
                          pixel32::reference::copyOpaqueRow(d, s, n);
                      });
}

TEST_P(FastRowsMatchTheReference, MaskAndFills) {
    const int width = GetParam();
    for (const RowCase& c : patternsAndAlphas()) {
        SCOPED_TRACE(describe(c));
        std::mt19937 random(static_cast<unsigned>(width * 7 + c.g));
        const Row alphas = makeSource(width + 2, c.pattern, random);
        std::vector<std::uint8_t> mask;
        for (std::uint32_t pixel : alphas) {
            mask.push_back(static_cast<std::uint8_t>(pixel >> 24));
        }
        const auto colour = static_cast<std::uint32_t>(random());
        Row expected = makeTarget(width + 2, random);
        Row got = expected;
        pixel32::reference::drawMaskedRow(expected.data() + 1, mask.data() + 1, width, colour, c.g);
        pixel32::drawMaskedRow(got.data() + 1, mask.data() + 1, width, colour, c.g);
        ASSERT_EQ(got, expected) << "mask";
        pixel32::reference::fillAlphaRow(expected.data() + 1, width, colour, c.g);
        pixel32::fillAlphaRow(got.data() + 1, width, colour, c.g);
        ASSERT_EQ(got, expected) << "alpha fill";
        pixel32::reference::fillOpaqueRow(expected.data() + 1, width, colour);
        pixel32::fillOpaqueRow(got.data() + 1, width, colour);
        ASSERT_EQ(got, expected) << "opaque fill";
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, FastRowsMatchTheReference,
                         testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 33));

// The reference itself, against values worked out by hand from the rules.
struct ExactCase {
    const char* name;
    std::function<void(Row&, const Row&)> draw;
    Row target;
    Row source;
    Row expected;
};

class ExactResults : public testing::TestWithParam<ExactCase> {};

TEST_P(ExactResults, OfReferenceAndFastLoops) {
    const ExactCase& c = GetParam();
    Row got = c.target;
    c.draw(got, c.source);
    EXPECT_EQ(got, c.expected);
}

// lerp(0x00, 0xFF, 254) = 253; lerp(0xFF, 0x00, 254) = 255 + floor(-255 * 254 / 256) = 1
// (rounded towards minus infinity, not towards zero).
INSTANTIATE_TEST_SUITE_P(
    Rules, ExactResults,
    testing::Values(
        ExactCase{"OpaquePairCopiesOddPixelLerps",
                  [](Row& d, const Row& s) { pixel32::blendNormalRow(d.data(), s.data(), 3, 255); },
                  {0x11000000, 0x22FFFFFF, 0x33000000},
                  {0xFFFF00FF, 0xFF000000, 0xFFFFFFFF},
                  {0x11FF00FF, 0x22000000, 0x33FDFDFD}},
        ExactCase{"OpaqueAndAlmostPairLerpsBoth",
                  [](Row& d, const Row& s) {
                      pixel32::reference::blendNormalRow(d.data(), s.data(), 2, 255);
                  },
                  {0x00FFFFFF, 0x00000000},
                  {0xFF000000, 0xFEFFFFFF},
                  {0x00010101, 0x00FCFCFC}},
        ExactCase{"TransparentPairUntouched",
                  [](Row& d, const Row& s) { pixel32::blendNormalRow(d.data(), s.data(), 2, 255); },
                  {0x12345678, 0x9ABCDEF0},
                  {0x00FFFFFF, 0x00FFFFFF},
                  {0x12345678, 0x9ABCDEF0}},
        ExactCase{"HalfAlphaTimesHalfG",
                  [](Row& d, const Row& s) { pixel32::blendNormalRow(d.data(), s.data(), 1, 128); },
                  {0x7F000000},
                  {0x80FF8040},
                  {0x7F3F2010}},
        ExactCase{
            "AdditiveSaturates",
            [](Row& d, const Row& s) { pixel32::blendAdditiveRow(d.data(), s.data(), 2, 255); },
            {0x40C8C8C8, 0x40C8C8C8},
            {0xFF646464, 0xFF646464},
            {0x40FFFFFF, 0x40FFFFFF}},
        ExactCase{
            "AdditiveOddPixelScaled",
            [](Row& d, const Row& s) { pixel32::blendAdditiveRow(d.data(), s.data(), 1, 255); },
            {0x01000000},
            {0xFFFF8000},
            {0x01FD7F00}},
        ExactCase{"CopyAlphaBlackOverWhiteAtHalf",
                  [](Row& d, const Row& s) { pixel32::copyAlphaRow(d.data(), s.data(), 1, 128); },
                  {0xFFFFFFFF},
                  {0x00000000},
                  {0x80808080}},
        ExactCase{"CopyAlphaSaturates",
                  [](Row& d, const Row& s) { pixel32::copyAlphaRow(d.data(), s.data(), 5, 254); },
                  {0xFF00FF00, 0, 0, 0, 0},
                  {0xFFFFFFFF, 0, 0, 0, 0},
                  {0xFFFDFFFD, 0, 0, 0, 0}},
        ExactCase{"CopyOpaqueKeepsTargetAlpha",
                  [](Row& d, const Row& s) { pixel32::copyOpaqueRow(d.data(), s.data(), 2); },
                  {0x12000000, 0x34FFFFFF},
                  {0xFFABCDEF, 0x00010203},
                  {0x12ABCDEF, 0x34010203}}),
    test::caseName<ExactCase>);

TEST(ExactResults, MaskAndFillsLerpTowardsTheColourAndKeepAlpha) {
    Row row = {0x5000FF00, 0x60FFFFFF, 0x70000000};
    const std::uint8_t mask[] = {255, 0, 128};
    pixel32::drawMaskedRow(row.data(), mask, 3, 0xFFFF0000, 255);
    EXPECT_EQ(row, (Row{0x50FD0100, 0x60FFFFFF, 0x707E0000}));
    Row fill = {0x0100FF00, 0x02FFFFFF};
    pixel32::fillAlphaRow(fill.data(), 2, 0x000000FF, 128);
    EXPECT_EQ(fill, (Row{0x01007F7F, 0x027F7FFF}));
    pixel32::fillOpaqueRow(fill.data(), 2, 0x00123456);
    EXPECT_EQ(fill, (Row{0x01123456, 0x02123456}));
}

} // namespace
} // namespace orv
