#include "engine/graphics/PixelRows16.h"
#include "tests/graphics/RowCases.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace orv {
namespace {

using Words = std::vector<std::uint16_t>;
using Plane = std::vector<std::uint8_t>;

using test::AlphaPattern;
using test::describe;
using test::patternsAndAlphas;
using test::RowCase;

// Plane patterns: the group shortcut of the normal blend hinges on four bytes
// of 255 in a group, so each pattern places 0, 254 and 255 differently over
// groups of four.
Plane makePlane(int count, AlphaPattern pattern, std::mt19937& random) {
    // Mixed: groups of four: opaque, opaque but for a 254, transparent, half
    // opaque, opaque. Five groups long, so each kind falls in either half of
    // a step of eight somewhere along a long row. The rows start one element
    // into the buffers, hence the shift.
    static constexpr int kCycle[] = {255, 255, 255, 255, 255, 254, 255, 255, 0,   0,
                                     0,   0,   255, 255, 0,   128, 255, 255, 255, 255};
    Plane plane(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        plane[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(test::patternAlpha(pattern, kCycle[(i + 19) % 20], random));
    }
    return plane;
}

Words makeWords(int count, std::mt19937& random) {
    Words words(static_cast<std::size_t>(count));
    for (auto& w : words) {
        w = static_cast<std::uint16_t>(random());
    }
    return words;
}

// A row operation given every input it might use: target, source words,
// plane, count, colour, g.
using RowFunction = std::function<void(std::uint16_t*, const std::uint16_t*, const std::uint8_t*,
                                       int, std::uint16_t, int)>;

// The fast row loops against the reference, word for word, for each row width
// (the parameter: 1 to 9 cover every remainder of the groups of four and the
// steps of eight; 16, 20 and 37 several steps). Rows sit at an odd offset
// inside larger buffers, so unaligned starts are covered and a write outside
// the row would show.
class FastRows16MatchTheReference : public testing::TestWithParam<int> {
protected:
    static void compare(const RowFunction& fast, const RowFunction& reference) {
        const int width = GetParam();
        for (const RowCase& c : patternsAndAlphas()) {
            SCOPED_TRACE(describe(c));
            std::mt19937 random(static_cast<unsigned>(width * 131 + c.g));
            for (int trial = 0; trial < 4; ++trial) {
                const Words source = makeWords(width + 2, random);
                const Plane plane = makePlane(width + 2, c.pattern, random);
                const auto colour = static_cast<std::uint16_t>(random());
                Words expected = makeWords(width + 2, random);
                Words got = expected;
                // The plane row starts one byte in, as the words do.
                reference(expected.data() + 1, source.data() + 1, plane.data() + 1, width, colour,
                          c.g);
                fast(got.data() + 1, source.data() + 1, plane.data() + 1, width, colour, c.g);
                ASSERT_EQ(got, expected) << "trial " << trial;
            }
        }
    }
};

TEST_P(FastRows16MatchTheReference, Copy) {
    compare(
        [](auto* d, auto* s, auto*, int n, auto, int) { pixel16::copyRow(d, s, n); },
        [](auto* d, auto* s, auto*, int n, auto, int) { pixel16::reference::copyRow(d, s, n); });
}

TEST_P(FastRows16MatchTheReference, CopyAlpha) {
    compare([](auto* d, auto* s, auto*, int n, auto, int g) { pixel16::copyAlphaRow(d, s, n, g); },
            [](auto* d, auto* s, auto*, int n, auto, int g) {
                pixel16::reference::copyAlphaRow(d, s, n, g);
            });
}

TEST_P(FastRows16MatchTheReference, BlendNormal) {
    compare(
        [](auto* d, auto* s, auto* a, int n, auto, int) { pixel16::blendNormalRow(d, s, a, n); },
        [](auto* d, auto* s, auto* a, int n, auto, int) {
            pixel16::reference::blendNormalRow(d, s, a, n);
        });
}

TEST_P(FastRows16MatchTheReference, BlendNormalAlpha) {
    compare([](auto* d, auto* s, auto* a, int n, auto,
               int g) { pixel16::blendNormalAlphaRow(d, s, a, n, g); },
            [](auto* d, auto* s, auto* a, int n, auto, int g) {
                pixel16::reference::blendNormalAlphaRow(d, s, a, n, g);
            });
}

TEST_P(FastRows16MatchTheReference, BlendAdditive) {
    compare([](auto* d, auto* s, auto* a, int n, auto,
               int g) { pixel16::blendAdditiveRow(d, s, a, n, g); },
            [](auto* d, auto* s, auto* a, int n, auto, int g) {
                pixel16::reference::blendAdditiveRow(d, s, a, n, g);
            });
}

TEST_P(FastRows16MatchTheReference, MaskAndFills) {
    compare([](auto* d, auto*, auto* m, int n, std::uint16_t k,
               int g) { pixel16::drawMaskedRow(d, m, n, k, g); },
            [](auto* d, auto*, auto* m, int n, std::uint16_t k, int g) {
                pixel16::reference::drawMaskedRow(d, m, n, k, g);
            });
    compare([](auto* d, auto*, auto*, int n, std::uint16_t k,
               int g) { pixel16::fillAlphaRow(d, n, k, g); },
            [](auto* d, auto*, auto*, int n, std::uint16_t k, int g) {
                pixel16::reference::fillAlphaRow(d, n, k, g);
            });
    compare(
        [](auto* d, auto*, auto*, int n, std::uint16_t k, int) { pixel16::fillOpaqueRow(d, n, k); },
        [](auto* d, auto*, auto*, int n, std::uint16_t k, int) {
            pixel16::reference::fillOpaqueRow(d, n, k);
        });
}

INSTANTIATE_TEST_SUITE_P(Widths, FastRows16MatchTheReference,
                         testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 20, 45));

// The rules themselves, against values worked out by hand. Fields are
// written as (red << 11) | (green << 5) | blue.
constexpr std::uint16_t rgb565(int r, int g, int b) {
    return static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
}

struct ExactCase {
    const char* name;
    std::function<void(Words&, const Words&, const Plane&)> draw;
    Words target;
    Words source;
    Plane plane;
    Words expected;
};

class ExactResults16 : public testing::TestWithParam<ExactCase> {};

TEST_P(ExactResults16, OfTheFastLoops) {
    const ExactCase& c = GetParam();
    Words got = c.target;
    c.draw(got, c.source, c.plane);
    EXPECT_EQ(got, c.expected);
}

// lerp(31, 0, 254) = 31 + floor(-31 * 254 / 256) = 0; lerp(0, 31, 254) = 30;
// lerp(0, 63, 254) = 62; lerp(31, 0, 255) = 31 + floor(-31 * 255 / 256) = 0.
INSTANTIATE_TEST_SUITE_P(
    Rules, ExactResults16,
    testing::Values(ExactCase{"OpaqueGroupCopiesRemainderOf254Lerps",
                              [](Words& d, const Words& s, const Plane& a) {
                                  pixel16::blendNormalRow(d.data(), s.data(), a.data(), 5);
                              },
                              {0, 0, 0, 0, rgb565(31, 0, 31)},
                              {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, rgb565(0, 63, 0)},
                              {255, 255, 255, 255, 254},
                              {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, rgb565(0, 62, 0)}},
                    ExactCase{"OpaquePixelInAMixedGroupLerps",
                              [](Words& d, const Words& s, const Plane& a) {
                                  pixel16::blendNormalRow(d.data(), s.data(), a.data(), 4);
                              },
                              {0, 0, 0, 0x1234},
                              {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
                              {255, 255, 255, 0},
                              {rgb565(30, 62, 30), rgb565(30, 62, 30), rgb565(30, 62, 30), 0x1234}},
                    ExactCase{"RemainderOpaqueCopiesTransparentKeeps",
                              [](Words& d, const Words& s, const Plane& a) {
                                  pixel16::blendNormalRow(d.data(), s.data(), a.data(), 2);
                              },
                              {0, 0x4321},
                              {0xFFFF, 0xFFFF},
                              {255, 0},
                              {0xFFFF, 0x4321}},
                    ExactCase{"FieldDifferenceOfMinus31AtFullWeight",
                              [](Words& d, const Words& s, const Plane&) {
                                  pixel16::copyAlphaRow(d.data(), s.data(), 1, 255);
                              },
                              {rgb565(31, 32, 31)},
                              {rgb565(0, 32, 0)},
                              {255},
                              {rgb565(0, 32, 0)}},
                    ExactCase{"HalfAlphaTimesHalfG",
                              [](Words& d, const Words& s, const Plane& a) {
                                  pixel16::blendNormalAlphaRow(d.data(), s.data(), a.data(), 1,
                                                               128);
                              },
                              {rgb565(0, 0, 31)},
                              {rgb565(31, 63, 0)},
                              {128},
                              {rgb565(7, 15, 23)}},
                    ExactCase{"AdditiveWhiteOnWhiteStaysWhite",
                              [](Words& d, const Words& s, const Plane& a) {
                                  pixel16::blendAdditiveRow(d.data(), s.data(), a.data(), 9, 255);
                              },
                              Words(9, 0xFFFF), Words(9, 0xFFFF), Plane(9, 255), Words(9, 0xFFFF)},
                    ExactCase{"AdditiveScalesAndSaturatesPerField",
                              [](Words& d, const Words& s, const Plane& a) {
                                  pixel16::blendAdditiveRow(d.data(), s.data(), a.data(), 1, 255);
                              },
                              {rgb565(20, 10, 0)},
                              {rgb565(31, 40, 16)},
                              {128},
                              {rgb565(31, 29, 7)}},
                    ExactCase{"CopyAlphaHalfway",
                              [](Words& d, const Words& s, const Plane&) {
                                  pixel16::copyAlphaRow(d.data(), s.data(), 1, 128);
                              },
                              {0xFFFF},
                              {0x0000},
                              {0},
                              {rgb565(15, 31, 15)}}),
    test::caseName<ExactCase>);

TEST(ExactResults16, MaskAndFillsLerpTowardsTheColour) {
    Words row = {0x0000, 0x1234, 0xFFFF};
    const std::uint8_t mask[] = {255, 0, 128};
    pixel16::drawMaskedRow(row.data(), mask, 3, rgb565(31, 0, 0), 255);
    // Weights 254, 0 and 127 towards pure red.
    EXPECT_EQ(row, (Words{rgb565(30, 0, 0), 0x1234, rgb565(31, 31, 15)}));
    Words fill = {rgb565(0, 63, 0)};
    pixel16::fillAlphaRow(fill.data(), 1, rgb565(0, 0, 31), 128);
    EXPECT_EQ(fill, (Words{rgb565(0, 31, 15)}));
}

// The 8888 -> 565 conversion of colours keeps the top bits of each channel:
// the largest value of a field is reached only from its top channel values,
// and the bits below drop out.
TEST(Rgb565, ConvertsAtTheEdgeValues) {
    struct Case {
        std::uint32_t colour;
        std::uint16_t word;
    };
    const Case cases[] = {
        {0x00000000, 0x0000},
        {0xFFFFFFFF, 0xFFFF},
        {0x00FFFFFF, 0xFFFF},          // alpha does not matter
        {0xFF070307, 0x0000},          // just below one step of each field
        {0xFF080408, rgb565(1, 1, 1)}, // one step
        {0xFFF8FCF8, 0xFFFF},          // the lowest values of the top steps
        {0xFFF7FBF7, rgb565(30, 62, 30)},
        {0xFF123456, 0x11AA},
        {0xFFFF0000, 0xF800},
        {0xFF00FF00, 0x07E0},
        {0xFF0000FF, 0x001F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pixel16::toRgb565(c.colour), c.word) << std::hex << c.colour;
    }
}

TEST(Rgb565, FieldWritesKeepTheOtherFieldsAndCutTheValue) {
    struct Case {
        int channel;
        int value;
        std::uint16_t expected;
    };
    const std::uint16_t before = rgb565(10, 20, 30);
    const Case cases[] = {
        {1, 31, rgb565(31, 20, 30)},
        {1, 0xFF, rgb565(31, 20, 30)},
        {1, 0x20, rgb565(0, 20, 30)},
        {2, 63, rgb565(10, 63, 30)},
        {2, 0x40, rgb565(10, 0, 30)},
        {3, 0, rgb565(10, 20, 0)},
        {3, 0x3F, rgb565(10, 20, 31)},
        {0, 0xFF, before},
        {4, 0xFF, before},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pixel16::withField(before, c.channel, c.value), c.expected)
            << "channel " << c.channel << " value " << c.value;
    }
}

} // namespace
} // namespace orv
