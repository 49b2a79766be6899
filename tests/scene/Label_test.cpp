#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/Label.h"
#include "engine/scene/SceneClasses.h"
#include "tests/graphics/FontFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orv {
namespace {

std::vector<std::wstring> lineTexts(const Label& label) {
    std::vector<std::wstring> texts;
    for (const TextLine& line : label.getLines()) {
        texts.push_back(line.text);
    }
    return texts;
}

// --- line building -------------------------------------------------------------

struct LinesCase {
    const char* name;
    int wrapStyle;
    int width;
    const wchar_t* text;
    std::vector<std::wstring> lines;
};

class LabelLines : public testing::TestWithParam<LinesCase> {};

TEST_P(LabelLines, SplitWrapAndCutTheText) {
    const LinesCase& c = GetParam();
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<Label> label(new Label(font.get(), 0, 0, c.width, 20, c.wrapStyle));
    label->setText(c.text);
    label->relayout();
    EXPECT_EQ(lineTexts(*label), c.lines);
    EXPECT_FALSE(label->needsLayout());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LabelLines,
    testing::Values(
        LinesCase{"BackslashNBreaks", Label::kAutoWidth, 0, L"Score\\nBonus", {L"Score", L"Bonus"}},
        LinesCase{"EmptyParagraphKept", Label::kAutoWidth, 0, L"a\n\nb", {L"a", L"", L"b"}},
        LinesCase{"FinalBreakAddsNothing", Label::kAutoWidth, 0, L"a\n", {L"a"}},
        LinesCase{"EmptyTextNoLine", Label::kAutoWidth, 0, L"", {}},
        // "aaaa" measures 15, "aaaa bbbb" 35.
        LinesCase{"WrapAtTheBlank", Label::kWordWrap, 20, L"aaaa bbbb", {L"aaaa", L"bbbb"}},
        LinesCase{"FittingParagraphStays", Label::kWordWrap, 35, L"aaaa bbbb", {L"aaaa bbbb"}},
        LinesCase{
            "LastBlankThatFits", Label::kWordWrap, 40, L"aa bb cc dd ee", {L"aa bb cc", L"dd ee"}},
        // A line keeps the blanks that still fit; the next starts after all.
        LinesCase{"BlanksAtTheBreakDropped",
                  Label::kWordWrap,
                  20,
                  L"aaaa  \t bbbb  ",
                  {L"aaaa ", L"bbbb "}},
        LinesCase{"LongWordCut", Label::kWordWrap, 16, L"aaaaaaaaaa", {L"aaaa", L"aaaa", L"aa"}},
        LinesCase{"AllButTheLastCharacterFits", Label::kWordWrap, 16, L"bbbbb", {L"bbbb", L"b"}},
        LinesCase{
            "NothingFitsOneCharacterPerLine", Label::kWordWrap, 0, L"abc", {L"a", L"b", L"c"}},
        LinesCase{"WrapKeepsEmptyParagraphs", Label::kWordWrap, 20, L"a\n\nb", {L"a", L"", L"b"}},
        // "Hello wo..." is 11 characters: 43 pixels.
        LinesCase{"TruncateToTheLongestThatFits",
                  Label::kTruncate,
                  43,
                  L"Hello world!",
                  {L"Hello wo..."}},
        // "Hello ..." would fit (35) but ends in a blank before the dots.
        LinesCase{"TruncateNeverEndsInABlank", Label::kTruncate, 35, L"Hello world", {L"Hello..."}},
        LinesCase{"TruncateTooNarrowGivesEmpty", Label::kTruncate, 14, L"Hello", {L""}},
        LinesCase{"TruncateFittingStays", Label::kTruncate, 19, L"Hello", {L"Hello"}},
        LinesCase{"UnknownWrapStyleNoLines", -1, 100, L"Hello", {}}),
    [](const testing::TestParamInfo<LinesCase>& param) { return param.param.name; });

// --- arrangement -----------------------------------------------------------------

TEST(LabelArrangement, AlignsLinesInsideTheWidestAndStepsByTheLineHeight) {
    const RefPtr<BitmapFont> font = test::gridFont();
    struct Case {
        int align;
        std::vector<int> xs;
    };
    for (const Case& c : {Case{Label::kAlignLeft, {0, 0}}, Case{Label::kAlignCenter, {0, 4}},
                          Case{Label::kAlignRight, {0, 8}}, Case{-1, {0, 0}}}) {
        const RefPtr<Label> label(new Label(font.get(), 0, 0, 0, 0, Label::kAutoWidth));
        label->setAlignH(c.align);
        label->setText(L"abcde\nabc");
        label->relayout();
        ASSERT_EQ(label->getLines().size(), 2U);
        EXPECT_EQ(label->getLines()[0].x, c.xs[0]) << c.align;
        EXPECT_EQ(label->getLines()[1].x, c.xs[1]) << c.align;
        EXPECT_EQ(label->getLines()[0].width, 19);
        EXPECT_EQ(label->getLines()[1].width, 11);
        EXPECT_EQ(label->getLines()[1].y, 5) << "the font's line height";
        EXPECT_EQ(label->getTextWidth(), 19);
        EXPECT_EQ(label->getTextHeight(), 10);
    }
    const RefPtr<Label> spaced(new Label(font.get(), 0, 0, 0, 0, Label::kAutoWidth));
    spaced->setLineHeight(8);
    spaced->setText(L"a\nb\nc");
    spaced->relayout();
    EXPECT_EQ(spaced->getLines()[2].y, 16);
    EXPECT_EQ(spaced->getTextHeight(), 5 + 16);
}

TEST(LabelArrangement, OffsetKeepsThePaddingOutsideTheAnchoredBox) {
    const RefPtr<BitmapFont> font = test::makeTestFont(); // padding 1
    struct Case {
        AnchorKind anchor;
        int padStyle;
        std::pair<int, int> offset;
    };
    for (const Case& c : {Case{AnchorKind::TopLeft, Label::kPadOffset, {-1, -1}},
                          Case{AnchorKind::Center, Label::kPadOffset, {0, 0}},
                          Case{AnchorKind::BottomRight, Label::kPadOffset, {1, 1}},
                          Case{AnchorKind::Right, Label::kPadOffset, {1, 0}},
                          Case{AnchorKind::Explicit, Label::kPadOffset, {0, 0}},
                          Case{AnchorKind::TopLeft, Label::kPadNone, {0, 0}},
                          Case{AnchorKind::TopLeft, -1, {0, 0}}}) {
        const RefPtr<Label> label(new Label(font.get(), 0, 0, 0, 0, Label::kAutoWidth));
        label->setPadStyle(c.padStyle);
        if (c.anchor == AnchorKind::Explicit) {
            label->setAnchorOffset(2.0F, 2.0F);
        } else {
            label->setAnchorPoint(c.anchor);
        }
        label->setText(L"AV");
        label->relayout();
        EXPECT_EQ(label->getOffset(), c.offset) << static_cast<int>(c.anchor) << " " << c.padStyle;
    }
}

TEST(LabelArrangement, AFixedWidthPlacesTheBlockOfLinesByAlignment) {
    const RefPtr<BitmapFont> font = test::gridFont(); // no padding
    for (const auto& [align, x] :
         {std::pair{Label::kAlignLeft, 0}, std::pair{Label::kAlignCenter, 40},
          std::pair{Label::kAlignRight, 81}}) {
        const RefPtr<Label> label(new Label(font.get(), 0, 0, 100, 20, Label::kWordWrap));
        label->setAlignH(align);
        label->setText(L"abcde"); // 19 wide
        label->relayout();
        EXPECT_EQ(label->getOffset().first, x) << align;
        EXPECT_EQ(label->getWidth(), 100) << "a wrapping label keeps its width";
        ASSERT_NE(label->getImage(), nullptr);
        EXPECT_EQ(label->getImage()->getWidth(), 19);
    }
}

// --- size, laziness ------------------------------------------------------------------

TEST(LabelSize, AnAutowidthLabelGrowsAndShrinksWithItsText) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<Label> label(new Label(font.get(), 5, 5, 0, 0, Label::kAutoWidth));
    label->setText(L"abcde");
    label->relayout();
    EXPECT_EQ(label->getWidth(), 19);
    EXPECT_EQ(label->getHeight(), 5);
    label->setText(L"ab\nab");
    label->relayout();
    EXPECT_EQ(label->getWidth(), 7);
    EXPECT_EQ(label->getHeight(), 10);
    label->setText(L"");
    label->relayout();
    EXPECT_EQ(label->getImage(), nullptr);
}

TEST(LabelSize, WithoutAutoFitTheImageIsCutAtTheLabelsHeight) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<Label> label(new Label(font.get(), 0, 0, 50, 12, Label::kWordWrap));
    label->setAutoFitHeight(false);
    label->setText(L"a\nb\nc"); // 15 high
    label->relayout();
    ASSERT_NE(label->getImage(), nullptr);
    EXPECT_EQ(label->getImage()->getHeight(), 12);
    EXPECT_EQ(label->getHeight(), 12);
    EXPECT_EQ(label->getWidth(), 50);
    label->setAutoFitHeight(true);
    label->relayout();
    EXPECT_EQ(label->getHeight(), 15);
}

TEST(LabelSize, AWrappingLabelOfWidthZeroOrWithoutFontShowsNothing) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<Label> narrow(new Label(font.get(), 0, 0, 0, 10, Label::kTruncate));
    narrow->setText(L"abc");
    narrow->relayout();
    EXPECT_EQ(narrow->getImage(), nullptr);

    const RefPtr<Label> bare(new Label(nullptr, 0, 0, 0, 0, Label::kAutoWidth));
    bare->setText(L"abc");
    bare->relayout();
    EXPECT_EQ(bare->getImage(), nullptr);
    EXPECT_EQ(bare->getTextWidth(), 0);
    EXPECT_EQ(bare->getTextHeight(), 0);
    bare->setFont(font.get());
    EXPECT_TRUE(bare->needsLayout());
    bare->relayout();
    EXPECT_EQ(bare->getTextWidth(), 11);
}

TEST(LabelLaziness, OnlyChangesMarkTheLabelAndLayoutClearsTheMark) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<Label> label(new Label(font.get(), 0, 0, 40, 10, Label::kWordWrap));
    label->setText(L"abc");
    label->setColor(0xFF00FF00, 1);
    label->relayout();
    Image* first = label->getImage();
    ASSERT_NE(first, nullptr);

    label->setText(L"abc");
    label->setColor(0xFF00FF00, 1);
    label->setWrapStyle(Label::kWordWrap);
    label->setAlignH(Label::kAlignLeft);
    label->setWidth(40);
    EXPECT_FALSE(label->needsLayout());
    label->relayout();
    EXPECT_EQ(label->getImage(), first) << "no new image without a change";
    EXPECT_EQ(label->getColors(), (LayerColors{0, 0xFF00FF00}));

    label->setWidth(41);
    EXPECT_TRUE(label->needsLayout());
    label->relayout();
    EXPECT_NE(label->getImage(), first);

    // The anchor is the sprite's: changing it lays the label out again.
    label->setAnchorPoint(AnchorKind::Center);
    Image* second = label->getImage();
    label->relayout();
    EXPECT_NE(label->getImage(), second);
}

// --- pixels ----------------------------------------------------------------------------

// The target as rows: '.' transparent or opaque black, 'F' fill, 'S' shadow
// cell, '?' other (colours within 3 per channel).
std::vector<std::string> picture(Image& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.getHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image.getWidth(); ++x) {
            std::uint32_t p = 0;
            std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 4, 4);
            const auto near = [p](std::uint32_t q) {
                for (int shift = 0; shift < 32; shift += 8) {
                    const int a = static_cast<int>((p >> shift) & 0xFFU);
                    const int b = static_cast<int>((q >> shift) & 0xFFU);
                    if (a - b > 3 || b - a > 3) {
                        return false;
                    }
                }
                return true;
            };
            row += (p >> 24) == 0 || p == 0xFF000000 ? '.'
                   : near(test::kFillColor)          ? 'F'
                   : near(test::kShadowPixel)        ? 'S'
                                                     : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(LabelPixels, TheTextIsRenderedIntoTheLabelsOwnImage) {
    const RefPtr<BitmapFont> font = test::makeTestFont();
    const RefPtr<Label> label(new Label(font.get(), 0, 0, 0, 0, Label::kAutoWidth));
    label->setText(L"Ai\nV");
    label->relayout();
    ASSERT_NE(label->getImage(), nullptr);
    // Line "Ai": A's cell from 0, i's (advance 4 + spacing 1 later) from 5;
    // 8 wide. Line "V" one line height (the padded height 7) further down.
    EXPECT_EQ(picture(*label->getImage()), (std::vector<std::string>{
                                               ".....SSS",
                                               "SSSSSSFS",
                                               "SFFFSSFS",
                                               "SFFFSSFS",
                                               "SFFFSSFS",
                                               "SFFFSSFS",
                                               "SSSSSSSS",
                                               "........",
                                               "SSSSS...",
                                               "SFFFS...",
                                               "SFFFS...",
                                               "SFFFS...",
                                               "SFFFS...",
                                               "SSSSS...",
                                           }));
}

TEST(LabelPixels, DrawingPutsTheImageAtThePlaceMovedByTheOffset) {
    const RefPtr<BitmapFont> font = test::makeTestFont();
    const RefPtr<Label> label(new Label(font.get(), 3, 2, 0, 0, Label::kAutoWidth));
    label->setText(L"i");
    // An opaque black target: drawing keeps the target's alpha.
    RefPtr<Image> target = createImage(10, 10, kFormatArgb32);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const std::uint32_t black = 0xFF000000;
            std::memcpy(target->getPixels() + y * target->getPitch() + x * 4, &black, 4);
        }
    }
    const RefPtr<Graphics> graphics = createGraphics(*target);
    label->render(*graphics);
    EXPECT_FALSE(label->needsLayout());
    EXPECT_EQ(graphics->getTranslateX(), 0);
    EXPECT_EQ(graphics->getTranslateY(), 0);
    // Top-left anchor: the padding ring lies one pixel up and left of (3, 2).
    EXPECT_EQ(picture(*target), (std::vector<std::string>{
                                    "..........",
                                    "..SSS.....",
                                    "..SFS.....",
                                    "..SFS.....",
                                    "..SFS.....",
                                    "..SFS.....",
                                    "..SFS.....",
                                    "..SSS.....",
                                    "..........",
                                    "..........",
                                }));
}

// The fill's ink of a centred label is centred in the label's width and that
// of a right-aligned one ends at its right edge; the padding ring hangs out.
TEST(LabelPixels, CentredAndRightAlignedTextIsPlacedByItsInk) {
    const RefPtr<BitmapFont> font = test::makeTestFont(); // padding 1
    struct Case {
        int align;
        int inkLeft;
        int inkRight;
    };
    // The box runs from x 2 to 21; "Ai" has fill from 1 to 6 of its 8-wide
    // image.
    for (const Case& c : {Case{Label::kAlignLeft, 2, 7}, Case{Label::kAlignCenter, 9, 14},
                          Case{Label::kAlignRight, 16, 21}}) {
        const RefPtr<Label> label(new Label(font.get(), 2, 2, 20, 10, Label::kTruncate));
        label->setAlignH(c.align);
        label->setText(L"Ai");
        // Opaque black: drawing keeps the target's alpha.
        RefPtr<Image> target = createImage(24, 12, kFormatArgb32);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 24; ++x) {
                const std::uint32_t black = 0xFF000000;
                std::memcpy(target->getPixels() + y * target->getPitch() + x * 4, &black, 4);
            }
        }
        label->render(*createGraphics(*target));
        int left = 24;
        int right = -1;
        for (const std::string& row : picture(*target)) {
            const std::size_t first = row.find('F');
            if (first != std::string::npos) {
                left = std::min(left, static_cast<int>(first));
                right = std::max(right, static_cast<int>(row.rfind('F')));
            }
        }
        EXPECT_EQ(left, c.inkLeft) << c.align;
        EXPECT_EQ(right, c.inkRight) << c.align;
    }
}

TEST(LabelPixels, ATintedMaskFontClearsTheImageInTheOverrideColour) {
    RefPtr<BitmapFont> font = test::fontFromXml(test::kTestFontXml);
    font->addLayer(new FontLayer(0, 0xFFFFFFFF, test::testFillMask().get()));
    const RefPtr<Label> label(new Label(font.get(), 0, 0, 0, 0, Label::kAutoWidth));
    label->setText(L"A i");
    label->setColor(0xFF2040C0, 0);
    label->relayout();
    Image& image = *label->getImage();
    std::uint32_t gap = 0;
    std::memcpy(&gap, image.getPixels() + 4 * 4, 4); // between A and i, row 0
    EXPECT_EQ(gap, 0x002040C0U) << "transparent, in the text colour";
}

// --- definitions ------------------------------------------------------------------------

class LabelDefinition : public testing::Test {
protected:
    void SetUp() override {
        registerSceneClasses();
        registerResourceClasses();
        previous_ = setLogSink(
            [this](LogLevel, std::string_view line) { log_ += std::string(line) + "\n"; });
        FontResource::setLoadFunction([](const FontResource&, RefPtr<BaseObject>& held) {
            held = test::makeTestFont().get();
            return true;
        });
        manager_ = ResourceManager::create();
        const RefPtr<PropertyStore> resources(new PropertyStore());
        ASSERT_TRUE(resources->loadText(
            "<R><Section id=\"S\" name=\"fonts\"><Font id=\"FONT_TEST\" file=\"test.xml\"/>"
            "</Section></R>"));
        manager_->addSection(new ResourceSection(resources->getNode("S"), manager_));
        ASSERT_NE(manager_->getLoadedObject("FONT_TEST", "fonts"), nullptr);
    }
    void TearDown() override {
        ResourceManager::destroyInstance();
        FontResource::setLoadFunction(nullptr);
        setLogSink(previous_);
    }

    RefPtr<Label> labelFrom(const std::string& attributes, const std::string& content = "") {
        const RefPtr<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(
            store->loadText("<R><Label id=\"L\" " + attributes + ">" + content + "</Label></R>"));
        auto* label = kindCast<Label>(createFromDefinition(store->getNode("L")));
        EXPECT_NE(label, nullptr);
        return RefPtr<Label>(label);
    }

    ResourceManager* manager_ = nullptr;
    std::string log_;
    LogSink previous_;
};

TEST_F(LabelDefinition, ReadsFontColoursStylesAndText) {
    const RefPtr<Label> label =
        labelFrom("font=\"FONT_TEST\" section=\"fonts\" color=\"#FF102030\" color1=\"5\" "
                  "wrapstyle=\"truncate\" padstyle=\"none\" alignh=\"center\" "
                  "autofitheight=\"false\" lineheight=\"9\" text=\"Score\\nBonus\" value=\"x\"");
    EXPECT_EQ(label->getFont(), manager_->getObject("FONT_TEST", "fonts"));
    EXPECT_EQ(label->getColors(), (LayerColors{0xFF102030})) << "color wins over color1";
    EXPECT_EQ(label->getWrapStyle(), Label::kTruncate);
    EXPECT_EQ(label->getPadStyle(), Label::kPadNone);
    EXPECT_EQ(label->getAlignH(), Label::kAlignCenter);
    EXPECT_FALSE(label->getAutoFitHeight());
    EXPECT_EQ(label->getLineHeight(), 9);
    EXPECT_EQ(label->getText(), L"Score\nBonus");
    EXPECT_TRUE(log_.empty()) << log_;
}

TEST_F(LabelDefinition, NumberedColoursValueAndDefaults) {
    const RefPtr<Label> label = labelFrom("color0=\"1\" color1=\"#2\" color3=\"4\"", "Hello");
    EXPECT_EQ(label->getColors(), (LayerColors{1, 2})) << "read up to the first missing index";
    EXPECT_EQ(label->getText(), L"Hello");
    EXPECT_EQ(label->getFont(), nullptr);
    EXPECT_EQ(label->getWrapStyle(), Label::kAutoWidth);
    EXPECT_EQ(label->getAlignH(), Label::kAlignLeft);
    EXPECT_TRUE(label->getAutoFitHeight());
}

TEST_F(LabelDefinition, UnknownNamesStoreMinusOneAndAreLogged) {
    const RefPtr<Label> label =
        labelFrom("wrapstyle=\"WordWrap\" padstyle=\"x\" alignh=\"middle\" text=\"a\"");
    EXPECT_EQ(label->getWrapStyle(), -1);
    EXPECT_EQ(label->getPadStyle(), -1);
    EXPECT_EQ(label->getAlignH(), -1);
    EXPECT_NE(log_.find("key wrapstyle has the unknown value 'WordWrap'"), std::string::npos)
        << log_;
    label->relayout();
    EXPECT_TRUE(label->getLines().empty());
}

TEST_F(LabelDefinition, AFontThatIsNotThereIsLoggedAndLeavesNoFont) {
    const RefPtr<Label> label = labelFrom("font=\"FONT_NONE\" section=\"fonts\" text=\"a\"");
    EXPECT_EQ(label->getFont(), nullptr);
    EXPECT_NE(log_.find("font 'FONT_NONE'"), std::string::npos) << log_;
}

} // namespace
} // namespace orv
