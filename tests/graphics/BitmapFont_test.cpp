#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/graphics/Graphics.h"
#include "tests/graphics/FontFixture.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {

void PrintTo(const GlyphBox& b, std::ostream* out) {
    *out << "{" << b.left << ", " << b.top << ", " << b.right << ", " << b.advance << ", "
         << b.inkRight << "}";
}

namespace {

using test::fontFromXml;
using test::makeTestFont;

// A definition with `inner` inside the "font" node.
std::string fontXml(const std::string& attributes, const std::string& inner) {
    return "<Font><Node id=\"font\" " + attributes + ">" + inner + "</Node></Font>";
}

std::vector<GlyphBox> boxes(const Font& font, std::wstring_view text, int start = 0,
                            int count = Font::kWholeText) {
    TextLayout layout;
    font.layoutText(text, layout, start, count);
    return layout.boxes;
}

// Collects what the font logs while it lives.
class LogCapture {
public:
    LogCapture()
        : previous_(
              setLogSink([this](LogLevel, std::string_view line) { lines_.emplace_back(line); })) {}
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    ~LogCapture() { setLogSink(previous_); }
    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    LogSink previous_;
};

// --- reading the definition --------------------------------------------------

TEST(BitmapFontDefinition, ReadsMetricsGlyphsAndKerningOfTheFixture) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    EXPECT_EQ(font->getCharSpacing(), 1);
    EXPECT_EQ(font->getBaseline(), 4);
    EXPECT_EQ(font->getHeight(), 5);
    EXPECT_EQ(font->getLineHeight(), 5) << "no lineheight: the font height";
    EXPECT_EQ(font->getPadding(), 0);
    EXPECT_EQ(font->getGlyphCount(), 4U) << "A, V, i and the blank";

    const FontGlyph* a = font->findGlyph(L'A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->index, 0);
    EXPECT_EQ(a->kerning.at(0x56), -2);
    const FontGlyph* v = font->findGlyph(L'V');
    ASSERT_NE(v, nullptr);
    EXPECT_EQ((std::vector<int>{v->sx, v->sy, v->sw, v->sh, v->index, v->width, v->bx, v->by}),
              (std::vector<int>{3, 0, 3, 4, 1, 4, 1, 1}));
    EXPECT_TRUE(v->kerning.empty());
    const FontGlyph* blank = font->findGlyph(L' ');
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->index, -1);
    EXPECT_EQ(blank->width, 3);
    EXPECT_EQ(blank->sw, 3);

    EXPECT_EQ(font->getMissingGlyph().width, 6);
    EXPECT_EQ(font->getMissingGlyph().sw, 6);
    EXPECT_EQ(font->getMissingGlyph().bx, 1) << "average 1/4 rounded up";
}

struct DefinitionCase {
    const char* name;
    std::string xml;
    // What the font must say afterwards.
    int lineHeight;
    int height;
    std::size_t glyphCount;
    int missingWidth;
    int missingBx;
};

class BitmapFontDefinitionCases : public testing::TestWithParam<DefinitionCase> {};

TEST_P(BitmapFontDefinitionCases, GiveTheseMetrics) {
    const DefinitionCase& c = GetParam();
    const RefPtr<BitmapFont> font = fontFromXml(c.xml);
    EXPECT_EQ(font->getLineHeight(), c.lineHeight);
    EXPECT_EQ(font->getHeight(), c.height);
    EXPECT_EQ(font->getGlyphCount(), c.glyphCount);
    EXPECT_EQ(font->getMissingGlyph().width, c.missingWidth);
    EXPECT_EQ(font->getMissingGlyph().bx, c.missingBx);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BitmapFontDefinitionCases,
    testing::Values(
        // Without glyphs the average offset has nothing to divide by.
        DefinitionCase{"NoFontNode", "<Font/>", 0, 0, 0, 0, 0},
        DefinitionCase{"EmptyFontNode", fontXml("", ""), 0, 0, 0, 0, 0},
        DefinitionCase{"OnlyMetrics", fontXml("lineheight=\"9\" charspacing=\"2\"", ""), 9, 0, 0, 0,
                       0},
        DefinitionCase{"SpaceWidthAlone", fontXml("spacewidth=\"6\"", ""), 0, 0, 1, 12, 0},
        DefinitionCase{"CharsEntryForTheBlankWins",
                       fontXml("spacewidth=\"6\"",
                               "<Vector id=\"chars\"><G c=\"32\" width=\"2\" sw=\"1\"/></Vector>"),
                       0, 0, 1, 4, 0},
        DefinitionCase{"TallestGlyphGivesTheHeight",
                       fontXml("", "<Vector id=\"chars\"><G c=\"1\" by=\"3\" sh=\"4\"/>"
                                   "<G c=\"2\" by=\"-2\" sh=\"8\"/></Vector>"),
                       7, 7, 2, 0, 0},
        // Negative offsets round up toward zero: -3/2 gives -1.
        DefinitionCase{"AverageOffsetRoundsUp",
                       fontXml("", "<Vector id=\"chars\"><G c=\"1\" bx=\"-1\"/>"
                                   "<G c=\"2\" bx=\"-2\"/></Vector>"),
                       0, 0, 2, 0, -1},
        // Kerning codes without a leading #0 go to glyph 0, made implicitly.
        DefinitionCase{"KerningWithoutFirstMarkMakesGlyphZero",
                       fontXml("", "<Vector id=\"kerning\"><K width=\"-1\" chars=\"#41#56\"/>"
                                   "</Vector>"),
                       0, 0, 1, 0, 0}),
    [](const testing::TestParamInfo<DefinitionCase>& param) { return param.param.name; });

TEST(BitmapFontDefinition, CodesReadAsIntegersInEveryNotationAndKeepSixteenBits) {
    for (const char* code : {"#41", "0x41", "65", "#10041"}) {
        const RefPtr<BitmapFont> font = fontFromXml(fontXml(
            "", std::string("<Vector id=\"chars\"><G c=\"") + code + "\" sw=\"2\"/></Vector>"));
        ASSERT_NE(font->findGlyph(L'A'), nullptr) << code;
        EXPECT_EQ(font->findGlyph(L'A')->sw, 2) << code;
    }
}

TEST(BitmapFontDefinition, ALaterEntryOfTheSameCodeReplacesTheEarlierButKeepsItsKerning) {
    const RefPtr<BitmapFont> font = fontFromXml(fontXml(
        "", "<Vector id=\"chars\"><G c=\"65\" sw=\"1\"/><G c=\"66\"/><G c=\"65\" sw=\"5\"/>"
            "</Vector><Vector id=\"kerning\"><K width=\"-3\" chars=\"#0#41#42\"/></Vector>"));
    const FontGlyph* a = font->findGlyph(L'A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->sw, 5);
    EXPECT_EQ(a->index, 2);
    EXPECT_EQ(a->kerning.at(0x42), -3);
    EXPECT_EQ(font->getGlyphCount(), 2U);
}

struct KerningCase {
    const char* name;
    const char* chars;
    // Pairs (first, second) that must carry the amount -1.
    std::vector<std::pair<wchar_t, wchar_t>> pairs;
};

class BitmapFontKerningCases : public testing::TestWithParam<KerningCase> {};

TEST_P(BitmapFontKerningCases, StoreThePairsTheTextNames) {
    const KerningCase& c = GetParam();
    const RefPtr<BitmapFont> font =
        fontFromXml(fontXml("", std::string("<Vector id=\"kerning\"><K width=\"-1\" chars=\"") +
                                    c.chars + "\"/></Vector>"));
    std::size_t stored = 0;
    for (wchar_t code : {0, 0x41, 0x42, 0x43, 0x56, 0x57}) {
        if (const FontGlyph* glyph = font->findGlyph(code)) {
            stored += glyph->kerning.size();
        }
    }
    EXPECT_EQ(stored, c.pairs.size());
    for (const auto& [first, second] : c.pairs) {
        const FontGlyph* glyph = font->findGlyph(first);
        ASSERT_NE(glyph, nullptr) << std::hex << static_cast<int>(first);
        EXPECT_EQ(glyph->kerning.count(static_cast<std::uint16_t>(second)), 1U)
            << std::hex << static_cast<int>(second);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BitmapFontKerningCases,
    testing::Values(KerningCase{"OneFirstManySeconds", "#0#41#56#57", {{0x41, 0x56}, {0x41, 0x57}}},
                    KerningCase{
                        "TwoGroupsInOneText", "#0#41#56#0#42#43", {{0x41, 0x56}, {0x42, 0x43}}},
                    KerningCase{"LowerCaseAndPrefixedDigits", "#0#0x41#57", {{0x41, 0x57}}},
                    KerningCase{"DigitsStopAtOtherCharacters", "#0#41zz#56", {{0x41, 0x56}}},
                    KerningCase{"ControlOneMarksTheFirst", "\x01#41#56", {{0x41, 0x56}}},
                    KerningCase{"NoFirstMarkGoesToGlyphZero", "#41", {{0, 0x41}}},
                    KerningCase{"EmptyText", "", {}}),
    [](const testing::TestParamInfo<KerningCase>& param) { return param.param.name; });

// A code whose "%x" finds no digits would leave the code undefined: the whole
// group is refused and logged, and the other groups still count.
TEST(BitmapFontDefinition, AKerningGroupWithACodeWithoutDigitsIsRejectedAndLogged) {
    for (const char* chars : {"#0#41#zz", "#0#41#", "#0##56", "#", "x", "#0#41#-"}) {
        const LogCapture log;
        const RefPtr<BitmapFont> font = fontFromXml(
            fontXml("", std::string("<Vector id=\"kerning\"><K width=\"-4\" chars=\"#0#42#43\"/>"
                                    "<K width=\"-1\" chars=\"") +
                            chars + "\"/></Vector>"),
            "fonts/broken.xml");
        EXPECT_EQ(font->findGlyph(L'A'), nullptr) << chars;
        EXPECT_EQ(font->findGlyph(0), nullptr) << chars;
        ASSERT_NE(font->findGlyph(L'B'), nullptr) << chars;
        EXPECT_EQ(font->findGlyph(L'B')->kerning.at(0x43), -4) << chars;
        ASSERT_EQ(log.lines().size(), 1U) << chars;
        EXPECT_NE(log.lines()[0].find("fonts/broken.xml: kerning group 1"), std::string::npos)
            << log.lines()[0];
    }
}

// --- measuring -----------------------------------------------------------------

TEST(BitmapFontLayout, PlacesEachCharacterByOffsetAdvanceSpacingAndKerning) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    // A: starts at the pen (its offset ignored), advance 4 + spacing 1; the
    // kerning A-V pulls V two pixels left.
    EXPECT_EQ(boxes(*font, L"AV"), (std::vector<GlyphBox>{{0, 1, 3, 5, 3}, {4, 1, 7, 8, 7}}));
    // V first: its offset 1 moves the pen back; no kerning V-A.
    EXPECT_EQ(boxes(*font, L"VA"), (std::vector<GlyphBox>{{0, 1, 3, 4, 3}, {4, 1, 7, 9, 7}}));
    // The blank ends at the ink before it plus its own width.
    EXPECT_EQ(boxes(*font, L"A V"),
              (std::vector<GlyphBox>{{0, 1, 3, 5, 3}, {5, 0, 6, 9, 6}, {10, 1, 13, 14, 13}}));
    // A missing character: twice the blank wide, offset by the average bx.
    EXPECT_EQ(boxes(*font, L"i?"), (std::vector<GlyphBox>{{0, 0, 1, 3, 1}, {4, 0, 10, 10, 10}}));
}

TEST(BitmapFontLayout, KerningMovesOnlyThePairItNames) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    const RefPtr<BitmapFont> plain = fontFromXml(fontXml(
        "charspacing=\"1\" spacewidth=\"3\"",
        "<Vector id=\"chars\"><G c=\"#41\" sw=\"3\" sh=\"4\" width=\"4\" by=\"1\"/>"
        "<G c=\"0x56\" sx=\"3\" sw=\"3\" sh=\"4\" width=\"4\" bx=\"1\" by=\"1\"/></Vector>"));
    EXPECT_EQ(boxes(*plain, L"AV")[1].left - boxes(*font, L"AV")[1].left, 2);
    EXPECT_EQ(boxes(*plain, L"VA")[1].left, boxes(*font, L"VA")[1].left);
}

TEST(BitmapFontLayout, MeasuresPartsOfTheTextInTheWholeTextsContext) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    // Measuring starts with a fresh pen at the start index, but whether a
    // character is the text's first (its offset ignored) or last (its
    // padding counted as ink) and the kerning after it follow the whole text.
    EXPECT_EQ(boxes(*font, L"AV", 1, 1), (std::vector<GlyphBox>{{1, 1, 4, 5, 4}}));
    EXPECT_EQ(boxes(*font, L"AVA", 0, 1), (std::vector<GlyphBox>{{0, 1, 3, 5, 3}}));
    EXPECT_EQ(boxes(*font, L"AV", -3, 1).size(), 1U) << "a negative start counts from 0";
    EXPECT_EQ(boxes(*font, L"AV", 1, 99).size(), 1U) << "a count beyond the end is cut";
}

TEST(BitmapFontLayout, NothingMeasuredGivesZeroAndNoBox) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    struct Case {
        const wchar_t* text;
        int start;
        int count;
    };
    for (const Case& c :
         {Case{L"", 0, -1}, Case{L"AV", 2, -1}, Case{L"AV", 7, 1}, Case{L"AV", 0, 0}}) {
        EXPECT_TRUE(boxes(*font, c.text, c.start, c.count).empty()) << c.start << " " << c.count;
        for (TextExtent extent :
             {TextExtent::MaxRight, TextExtent::MaxAdvance, TextExtent::MaxInkRight}) {
            EXPECT_EQ(font->measureText(c.text, c.start, c.count, extent), 0);
        }
    }
}

TEST(BitmapFontLayout, MeasureTextReportsTheLargestOfEachExtent) {
    const RefPtr<BitmapFont> font = makeTestFont(); // padding 1
    TextLayout layout;
    font->layoutText(L"AiV", layout, 0, Font::kWholeText);
    EXPECT_EQ(font->measureText(L"AiV", 0, -1, TextExtent::MaxRight), layout.maxRight);
    EXPECT_EQ(font->measureText(L"AiV", 0, -1, TextExtent::MaxAdvance), layout.maxAdvance);
    EXPECT_EQ(font->measureText(L"AiV", 0, -1, TextExtent::MaxInkRight), layout.maxInkRight);
    // The last character's padding counts for the ink, the others' not.
    EXPECT_EQ(layout.boxes[0].inkRight, layout.boxes[0].right - 1);
    EXPECT_EQ(layout.boxes[2].inkRight, layout.boxes[2].right);
}

TEST(BitmapFontLayout, LayersOfPaddingZeroAndTwoPadEveryLine) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    font->addLayer(new FontLayer(0, 0, nullptr));
    font->addLayer(new FontLayer(2, 0, nullptr));
    font->addLayer(new FontLayer(1, 0, nullptr));
    EXPECT_EQ(font->getPadding(), 2);
    EXPECT_EQ(font->getHeight(), 5 + 4);
    EXPECT_EQ(boxes(*font, L"VA")[0].left, 2);
    EXPECT_EQ(boxes(*font, L"VA")[0].top, 1 + 2);
}

// The original reading looked the blank up in the glyph table even when the
// definition had none, which made an entry for it.
TEST(BitmapFontLayout, AFontWithoutABlankMeasuresItAsNothingWithoutMakingAnEntry) {
    const RefPtr<BitmapFont> font = fontFromXml(
        fontXml("", "<Vector id=\"chars\"><G c=\"65\" sw=\"3\" width=\"4\"/></Vector>"));
    EXPECT_TRUE(font->hasGlyph(L' '));
    EXPECT_EQ(font->findGlyph(L' '), nullptr);
    EXPECT_EQ(font->getMissingGlyph().width, 0);
    EXPECT_EQ(boxes(*font, L"A A"),
              (std::vector<GlyphBox>{{0, 0, 3, 4, 3}, {4, 0, 3, 4, 3}, {4, 0, 7, 8, 7}}));
    EXPECT_EQ(font->getGlyphCount(), 1U);
}

TEST(BitmapFontLayout, AnEmptyFontMeasuresEveryCharacterAsAnEmptyBox) {
    const RefPtr<BitmapFont> font = fontFromXml("<Font/>");
    EXPECT_FALSE(font->hasGlyph(L'A'));
    EXPECT_EQ(font->measureText(L"ABC", 0, -1, TextExtent::MaxAdvance), 0);
    EXPECT_EQ(font->getColor(), 0U);
    EXPECT_FALSE(font->isTintedMask());
}

TEST(BitmapFontLayout, CharactersBeyondSixteenBitsHaveNoGlyph) {
    const RefPtr<BitmapFont> font =
        fontFromXml(fontXml("", "<Vector id=\"chars\"><G c=\"65\" sw=\"3\"/></Vector>"));
    EXPECT_FALSE(font->hasGlyph(static_cast<wchar_t>(0x10041)));
    EXPECT_FALSE(font->hasGlyph(static_cast<wchar_t>(-1)));
}

// --- colours of the bottom layer ---------------------------------------------

TEST(BitmapFontLayers, TheBottomLayerGivesColourAndTint) {
    const RefPtr<BitmapFont> font = fontFromXml(test::kTestFontXml);
    font->addLayer(new FontLayer(0, 0xFF111111, test::testShadowImage().get()));
    EXPECT_EQ(font->getColor(), 0xFF111111U);
    EXPECT_FALSE(font->isTintedMask());
    font->addLayer(new FontLayer(0, 0xFF222222, test::testFillMask().get()));
    EXPECT_EQ(font->getColor(), 0xFF222222U);
    EXPECT_TRUE(font->isTintedMask());
    font->addLayer(new FontLayer(0, 0xFF333333, nullptr));
    EXPECT_FALSE(font->isTintedMask());
}

// --- drawing -------------------------------------------------------------------

class BitmapFontDrawing : public testing::Test {
protected:
    BitmapFontDrawing()
        : font_(makeTestFont()), target_(test::filledImage(16, 12, 0)),
          graphics_(createGraphics(*target_)) {}

    // The target as text rows: '.' untouched, 'F' fill colour, 'S' shadow
    // pixel, 'B' shadow colour, 'R' red, '?' anything else. Blending a full
    // mask may leave a colour channel a step or two short of the colour, so
    // colours match within 3 per channel; the alpha must be exact.
    std::vector<std::string> picture() {
        std::vector<std::string> rows;
        for (int y = 0; y < target_->getHeight(); ++y) {
            std::string row;
            for (int x = 0; x < target_->getWidth(); ++x) {
                const std::uint32_t p = test::pixelAt(*target_, x, y);
                row += p == 0                        ? '.'
                       : near(p, test::kFillColor)   ? 'F'
                       : near(p, test::kShadowPixel) ? 'S'
                       : near(p, test::kShadowColor) ? 'B'
                       : near(p, 0xFFFF0000)         ? 'R'
                                                     : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

    static bool near(std::uint32_t p, std::uint32_t q) {
        if ((p >> 24) != (q >> 24)) {
            return false;
        }
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((p >> shift) & 0xFFU);
            const int b = static_cast<int>((q >> shift) & 0xFFU);
            if (a - b > 3 || b - a > 3) {
                return false;
            }
        }
        return true;
    }

    RefPtr<BitmapFont> font_;
    RefPtr<Image> target_;
    RefPtr<Graphics> graphics_;
};

TEST_F(BitmapFontDrawing, LayersAreDrawnLastFirstWithTheirPaddingAroundTheGlyph) {
    font_->drawLines(*graphics_, {TextLine{L"A", 0, 2, 1}}, {});
    // A's box: left = padding 1, top = by 1 + padding 1. The shadow cell (one
    // pixel larger each side) lands at (2, 2), the fill at (3, 3).
    EXPECT_EQ(picture(), (std::vector<std::string>{
                             "................",
                             "................",
                             "..SSSSS.........",
                             "..SFFFS.........",
                             "..SFFFS.........",
                             "..SFFFS.........",
                             "..SFFFS.........",
                             "..SSSSS.........",
                             "................",
                             "................",
                             "................",
                             "................",
                         }));
}

TEST_F(BitmapFontDrawing, DrawsWithTheGraphicsAlphaAndPutsColourAndAlphaBack) {
    graphics_->setColor(0x12345678);
    graphics_->setAlpha(128);
    font_->drawLines(*graphics_, {TextLine{L"A", 0, 0, 0}}, {});
    const std::uint32_t fill = test::pixelAt(*target_, 2, 3);
    EXPECT_GT(fill & 0xFFU, 0x40U);
    EXPECT_LT(fill & 0xFFU, 0xC0U) << "half of white over half of the shadow";
    EXPECT_EQ(graphics_->getColor(), 0x12345678U);
    EXPECT_EQ(graphics_->getAlpha(), 128);
}

TEST_F(BitmapFontDrawing, BlanksAreSkippedAndLinesUseTheTranslation) {
    graphics_->setTranslation(1, 0);
    font_->drawLines(*graphics_, {TextLine{L" i", 0, 0, 0}, TextLine{L"i", 0, 9, 4}}, {});
    // Line 1: the blank (3 wide at the start) is not drawn; i follows at pen
    // 1 + 3 + 1, moved right by the translation. Line 2: i alone, its box at
    // (1, 1) from (9 + 1, 4).
    EXPECT_EQ(picture(), (std::vector<std::string>{
                             ".....SSS........",
                             ".....SFS........",
                             ".....SFS........",
                             ".....SFS........",
                             ".....SFS..SSS...",
                             ".....SFS..SFS...",
                             ".....SSS..SFS...",
                             "..........SFS...",
                             "..........SFS...",
                             "..........SFS...",
                             "..........SSS...",
                             "................",
                         }));
}

TEST_F(BitmapFontDrawing, AMissingCharacterIsASolidBoxOfEachLayerInItsColour) {
    font_->drawLines(*graphics_, {TextLine{L"?", 0, 2, 1}}, {});
    // Box: left 1, top 1. Shadow layer (padding 1): from (2 + 1, 1 + 1), 6 + 2
    // - 1 wide, 5 + 2 - 1 high; fill layer: from (3 + 1, 2 + 1), 5 x 4.
    EXPECT_EQ(picture(), (std::vector<std::string>{
                             "................",
                             "................",
                             "...BBBBBBB......",
                             "...BFFFFFB......",
                             "...BFFFFFB......",
                             "...BFFFFFB......",
                             "...BFFFFFB......",
                             "...BBBBBBB......",
                             "................",
                             "................",
                             "................",
                             "................",
                         }));
}

TEST_F(BitmapFontDrawing, ColourOverridesReplaceTheLayersTheyHaveEntriesFor) {
    // The missing box of "?" ends under the shadow cell of "A".
    font_->drawLines(*graphics_, {TextLine{L"?A", 0, 0, 0}}, {0xFFFF0000});
    EXPECT_EQ(picture()[2], ".BRRRRRRRRS.....");
    target_ = test::filledImage(16, 12, 0);
    graphics_ = createGraphics(*target_);
    font_->drawLines(*graphics_, {TextLine{L"?", 0, 0, 0}}, {0xFFFF0000, test::kFillColor});
    EXPECT_EQ(picture()[1], ".FFFFFFF........") << "the shadow layer in the fill colour";
    EXPECT_EQ(picture()[2], ".FRRRRRF........");
}

TEST_F(BitmapFontDrawing, TheGlyphsRaiseTheTargetAlpha) {
    font_->drawLines(*graphics_, {TextLine{L"A", 0, 0, 0}}, {0x00FF0000});
    // The fill layer's colour has alpha 0, its glyphs still make the target
    // opaque.
    EXPECT_EQ(test::pixelAt(*target_, 2, 3) >> 24, 0xFFU);
    EXPECT_TRUE(near(test::pixelAt(*target_, 2, 3), 0xFFFF0000)) << test::pixelAt(*target_, 2, 3);
}

TEST_F(BitmapFontDrawing, AFontWithoutLayersDrawsNothing) {
    const RefPtr<BitmapFont> bare = fontFromXml(test::kTestFontXml);
    bare->drawLines(*graphics_, {TextLine{L"A?V", 0, 0, 0}}, {0xFFFF0000});
    EXPECT_EQ(test::snapshot(*target_), std::vector<std::uint32_t>(16 * 12, 0));
}

} // namespace
} // namespace orv
