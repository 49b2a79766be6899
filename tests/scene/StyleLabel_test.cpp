#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/graphics/StyleFormatRegistry.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/StyleLabel.h"
#include "tests/graphics/FontFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace orv {
namespace {

// Answers the image "PIC" of section "pics"; everything else as a styled
// label does.
class PictureLabel : public StyleLabel {
public:
    PictureLabel(Font* font, int width, RefPtr<Image> picture)
        : StyleLabel(font, 0, 0, width, 0), picture_(std::move(picture)) {}
    RefPtr<Image> findImage(std::string_view name, std::string_view section) override {
        return name == "PIC" && section == "pics" ? picture_ : nullptr;
    }

private:
    RefPtr<Image> picture_;
};

RefPtr<Image> solid(int width, int height, std::uint32_t colour) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::memcpy(image->getPixels() + y * image->getPitch() + x * 4, &colour, 4);
        }
    }
    return image;
}

std::uint32_t pixel(Image& image, int x, int y) {
    std::uint32_t p = 0;
    std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 4, 4);
    return p;
}

// A placed run: its text and top-left corner.
struct PlacedRun {
    std::wstring text;
    int x;
    int y;
    friend bool operator==(const PlacedRun&, const PlacedRun&) = default;
    friend std::ostream& operator<<(std::ostream& out, const PlacedRun& run) {
        return out << wideToString(run.text) << "@" << run.x << "," << run.y;
    }
};

std::vector<std::vector<PlacedRun>> runsOf(const StyleLabel& label) {
    std::vector<std::vector<PlacedRun>> lines;
    for (const RefPtr<StyleLine>& line : label.getLines()) {
        std::vector<PlacedRun>& runs = lines.emplace_back();
        for (const RefPtr<Label>& run : line->runs) {
            runs.push_back({run->getText(), run->getX(), run->getY()});
        }
    }
    return lines;
}

class LogCapture {
public:
    LogCapture() {
        previous_ =
            setLogSink([this](LogLevel, std::string_view line) { lines.emplace_back(line); });
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    ~LogCapture() { setLogSink(previous_); }
    std::vector<std::string> lines;

private:
    LogSink previous_;
};

// --- markup and layout ---------------------------------------------------------------

struct LayoutCase {
    const char* name;
    int width;
    const wchar_t* text;
    std::vector<std::vector<PlacedRun>> lines;
    std::size_t warnings = 0;
};

class StyleLabelLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(StyleLabelLayout, PlacesTheRunsOfTheMarkup) {
    const LayoutCase& c = GetParam();
    const RefPtr<BitmapFont> font = test::gridFont();
    const LogCapture log;
    const RefPtr<PictureLabel> label(new PictureLabel(font.get(), c.width, solid(10, 10, 0)));
    label->setText(c.text);
    EXPECT_EQ(runsOf(*label), c.lines);
    EXPECT_EQ(log.lines.size(), c.warnings);
}

// Grid font: "Hello" 19 wide, a blank 4, "ab" 7, "aaa" 11.
INSTANTIATE_TEST_SUITE_P(
    Table, StyleLabelLayout,
    testing::Values(
        LayoutCase{"TagsSplitRunsOnOneLine",
                   200,
                   L"Hello [color=#ffff0000]red[/color] world",
                   {{{L"Hello", 0, 0}, {L"red", 23, 0}, {L"world", 38, 0}}}},
        LayoutCase{"BreaksAndBrTags",
                   200,
                   L"ab\ncd[br]e",
                   {{{L"ab", 0, 0}}, {{L"cd", 0, 5}}, {{L"e", 0, 10}}}},
        LayoutCase{"BackslashNIsABreak", 200, L"ab\\ncd", {{{L"ab", 0, 0}}, {{L"cd", 0, 5}}}},
        LayoutCase{
            "EveryBlankAfterALineStartAdvances", 200, L" a  b", {{{L"a", 0, 0}, {L"b", 11, 0}}}},
        LayoutCase{"EscapedBracketIsText",
                   200,
                   L"a \\[b] c",
                   {{{L"a", 0, 0}, {L"[b]", 7, 0}, {L"c", 22, 0}}}},
        LayoutCase{
            "TheCharacterAfterAnEscapedBracketIsPassedOver", 200, L"a\\[ b", {{{L"a[ b", 0, 0}}}},
        LayoutCase{"UnknownTagIgnoredAndLogged", 200, L"a[BR]b", {{{L"a", 0, 0}, {L"b", 3, 0}}}, 1},
        LayoutCase{"EmptyTagIgnoredAndLogged", 200, L"a[]b", {{{L"a", 0, 0}, {L"b", 3, 0}}}, 1},
        LayoutCase{"UnclosedTagHidesTheRest", 200, L"ab [color=ff0000 cd", {{{L"ab", 0, 0}}}, 1},
        LayoutCase{"UnclosedTagIsAppliedToTheEnd", 200, L"ab[br", {{{L"ab", 0, 0}}, {}}, 1},
        LayoutCase{"BracketInsideATagName", 200, L"a[b[br]c", {{{L"a", 0, 0}, {L"c", 3, 0}}}, 1},
        LayoutCase{"WordWrapMovesWordsDown",
                   20,
                   L"[wrapstyle=wordwrap]aaa bbb ccc",
                   {{{L"aaa", 0, 0}}, {{L"bbb", 0, 5}}, {{L"ccc", 0, 10}}}},
        LayoutCase{"WordWrapDropsAWordWiderThanTheArea",
                   20,
                   L"[wrapstyle=wordwrap]aa bbbbbbbbbb c",
                   {{{L"aa", 0, 0}, {L"c", 15, 0}}}},
        LayoutCase{"TruncateEndsTheLineWithDots",
                   46,
                   L"[wrapstyle=truncate]aaa bbb cccccccc ddd[br]dd",
                   {{{L"aaa", 0, 0}, {L"bbb", 15, 0}, {L"c...", 30, 0}}, {{L"dd", 0, 5}}}},
        LayoutCase{"TruncateShortensThePreviousRun",
                   30,
                   L"[wrapstyle=truncate]aaa bbb ccc",
                   {{{L"aaa", 0, 0}, {L"b...", 15, 0}}}},
        LayoutCase{
            "TruncateToOneCharacter", 20, L"[wrapstyle=truncate]aaa bbb c", {{{L"a...", 0, 0}}}},
        LayoutCase{"CenterAlignsClosedLinesOnly",
                   40,
                   L"[alignh=center]ab[br]abcd",
                   {{{L"ab", 16, 0}}, {{L"abcd", 0, 5}}}},
        LayoutCase{
            "RightAlign", 40, L"[alignh=right]ab cd[br]", {{{L"ab", 22, 0}, {L"cd", 33, 0}}, {}}},
        LayoutCase{"WidthTagNarrowsTheAreaForWhatFollows",
                   100,
                   L"[wrapstyle=wordwrap]aaa [width=20]bbb ccc",
                   {{{L"aaa", 0, 0}}, {{L"bbb", 0, 5}}, {{L"ccc", 0, 10}}}},
        LayoutCase{"TabStops",
                   100,
                   L"[tabs=20,40]a[tab]b[tab=2]c[tab]d",
                   {{{L"a", 0, 0}, {L"b", 20, 0}, {L"c", 40, 0}, {L"d", 43, 0}}}},
        LayoutCase{"RunsFlowAroundAnImage",
                   100,
                   L"aaaa [image=PIC,pics,inline,multi]bb",
                   {{{L"aaaa", 0, 0}, {L"bb", 30, 0}}}},
        LayoutCase{"WrappingAroundAnImageOnTheRight",
                   40,
                   L"[wrapstyle=wordwrap][image=PIC,pics,right,multi]aaaa bbbb cccc",
                   {{{L"aaaa", 0, 0}}, {{L"bbbb", 0, 5}}, {{L"cccc", 0, 10}}}},
        LayoutCase{"AnImageOnTheRightLeavesRoomWhenAligning",
                   40,
                   L"[alignh=right][image=PIC,pics,right,multi]aa[br]",
                   {{{L"aa", 23, 0}}, {}}},
        LayoutCase{"AnImageBandPushesTextDown",
                   40,
                   L"a[image=PIC,pics,left,none]b",
                   {{{L"a", 0, 0}}, {{L"b", 0, 15}}}}),
    [](const testing::TestParamInfo<LayoutCase>& param) { return param.param.name; });

TEST(StyleLabelLayoutState, RunsTakeTheStateTheTagsSet) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 200, 0));
    label->setText(L"a [color=#ffff0000]b [alignv=bottom]c[/color] d");
    const std::vector<RefPtr<Label>>& runs = label->getLines().at(0)->runs;
    ASSERT_EQ(runs.size(), 4U);
    EXPECT_TRUE(runs[0]->getColors().empty());
    EXPECT_EQ(runs[1]->getColors(), (LayerColors{0xFFFF0000}));
    EXPECT_EQ(runs[2]->getColors(), (LayerColors{0xFFFF0000}));
    EXPECT_TRUE(runs[3]->getColors().empty());
    EXPECT_EQ(runs[0]->getFont(), font.get());
    EXPECT_EQ(label->getLayoutState().alignV, StyleLayoutState::kAlignBottom);
}

TEST(StyleLabelLayoutState, StateLeftOpenActsInTheNextTextAndTheSameTextIsNotRebuilt) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 40, 0));
    label->setText(L"[alignh=right][width=30]ab");
    EXPECT_EQ(label->getWidth(), 30) << "the width tag's width stays";
    Image* first = label->getImage();
    ASSERT_NE(first, nullptr);
    label->setText(L"[alignh=right][width=30]ab");
    EXPECT_EQ(label->getImage(), first);

    label->setText(L"ab[br]");
    EXPECT_EQ(runsOf(*label).at(0), (std::vector<PlacedRun>{{L"ab", 23, 0}}));
}

TEST(StyleLabelSize, GrowsToItsTextAndNeverToZero) {
    const RefPtr<BitmapFont> font = test::gridFont();
    const RefPtr<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 0, 0));
    label->setText(L"abc de[br]f");
    EXPECT_EQ(label->getWidth(), 22) << "the widest line";
    EXPECT_EQ(label->getHeight(), 10) << "font height below the last line's top";
    ASSERT_NE(label->getImage(), nullptr);
    EXPECT_EQ(label->getImage()->getWidth(), 22);

    const RefPtr<StyleLabel> empty(new StyleLabel(nullptr, 0, 0, 0, 0));
    empty->setText(L"[br]");
    EXPECT_EQ(empty->getWidth(), 1);
    EXPECT_EQ(empty->getHeight(), 1);

    // A centred autowidth label does not push its lines out of the image.
    const RefPtr<StyleLabel> centred(new StyleLabel(font.get(), 0, 0, 0, 0));
    centred->setText(L"[alignh=center]abcd[br]ab");
    EXPECT_EQ(runsOf(*centred).at(0), (std::vector<PlacedRun>{{L"abcd", 0, 0}}));
    EXPECT_EQ(centred->getWidth(), 15);

    // Truncation keeps the width it was given: the dots end the line at 45.
    const RefPtr<StyleLabel> truncated(new StyleLabel(font.get(), 0, 0, 46, 0));
    truncated->setText(L"[wrapstyle=truncate]aaa bbb cccccccc ddd eee");
    EXPECT_EQ(runsOf(*truncated).at(0).back(), (PlacedRun{L"c...", 30, 0}));
    EXPECT_EQ(truncated->getLastRight(), 45);
    EXPECT_EQ(truncated->getWidth(), 46);
}

// --- pixels ----------------------------------------------------------------------------

// The image as rows: '.' transparent, 'F' fill, 'S' shadow cell, 'R' red,
// 'I' image colour, '?' other.
std::vector<std::string> picture(Image& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.getHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image.getWidth(); ++x) {
            const std::uint32_t p = pixel(image, x, y);
            // Blending may round a channel by a few steps.
            const auto near = [p](std::uint32_t q) {
                for (unsigned shift = 0; shift < 32; shift += 8) {
                    const int a = static_cast<int>((p >> shift) & 0xFFU);
                    const int b = static_cast<int>((q >> shift) & 0xFFU);
                    if (a - b > 3 || b - a > 3) {
                        return false;
                    }
                }
                return true;
            };
            row += (p >> 24) == 0             ? '.'
                   : near(test::kFillColor)   ? 'F'
                   : near(test::kShadowPixel) ? 'S'
                   : near(0xFFFF0000)         ? 'R'
                   : near(0xFF123456)         ? 'I'
                                              : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(StyleLabelPixels, RunsAreDrawnWithTheirFontsAndColours) {
    const RefPtr<BitmapFont> font = test::makeTestFont(); // padding 1, two layers
    const RefPtr<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 0, 0));
    // "Ai" is 8 wide; the blank adds its advance without the padding (3).
    label->setText(L"Ai [color=ffff0000]V");
    ASSERT_NE(label->getImage(), nullptr);
    EXPECT_EQ(picture(*label->getImage()), (std::vector<std::string>{
                                               ".....SSS........",
                                               "SSSSSSFS...SSSSS",
                                               "SFFFSSFS...SRRRS",
                                               "SFFFSSFS...SRRRS",
                                               "SFFFSSFS...SRRRS",
                                               "SFFFSSFS...SRRRS",
                                               "SSSSSSSS...SSSSS",
                                           }));
}

TEST(StyleLabelPixels, ATintedMaskFontTakesTheRunColourInItsBox) {
    RefPtr<BitmapFont> font = test::fontFromXml(test::kTestFontXml);
    font->addLayer(new FontLayer(0, 0xFFFFFFFF, test::testFillMask().get()));
    const RefPtr<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 0, 0));
    label->setText(L"[color=#ff00ff00]A");
    Image& image = *label->getImage();
    EXPECT_EQ(pixel(image, 0, 0), 0x0000FF00U) << "transparent, in the run's colour";
    EXPECT_EQ(pixel(image, 1, 1), 0xFF00FF00U) << "the glyph";
}

TEST(StyleLabelPixels, FloatingImagesAreDrawnOverTheTextAndAvoided) {
    const RefPtr<BitmapFont> font = test::makeTestFont();
    const RefPtr<PictureLabel> label(new PictureLabel(font.get(), 14, solid(2, 3, 0xFF123456)));
    label->setText(L"A[image=PIC,pics,inline,multi]V");
    // "A" ends at 5; the image sits at the pen; "V" starts one pixel right
    // of the image.
    EXPECT_EQ(picture(*label->getImage()), (std::vector<std::string>{
                                               ".....II.......",
                                               "SSSSSII.SSSSS.",
                                               "SFFFSII.SFFFS.",
                                               "SFFFS...SFFFS.",
                                               "SFFFS...SFFFS.",
                                               "SFFFS...SFFFS.",
                                               "SSSSS...SSSSS.",
                                           }));
}

// --- definitions ------------------------------------------------------------------------

class StyleLabelDefinition : public testing::Test {
protected:
    void SetUp() override {
        registerSceneClasses();
        registerResourceClasses();
        FontResource::setLoadFunction([](const FontResource&, RefPtr<BaseObject>& held) {
            held = test::gridFont().get();
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
    }

    RefPtr<StyleLabel> labelFrom(const std::string& attributes) {
        const RefPtr<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadText("<R><StyleLabel id=\"L\" " + attributes + "/></R>"));
        auto* label = kindCast<StyleLabel>(createFromDefinition(store->getNode("L")));
        EXPECT_NE(label, nullptr);
        return RefPtr<StyleLabel>(label);
    }

    ResourceManager* manager_ = nullptr;
    LogCapture log_;
};

TEST_F(StyleLabelDefinition, ReadsFontColourStylesAndText) {
    const RefPtr<StyleLabel> label =
        labelFrom("font=\"FONT_TEST\" section=\"fonts\" color=\"#FF102030\" width=\"25\" "
                  "wrapstyle=\"wordwrap\" alignh=\"right\" autofitheight=\"false\" "
                  "text=\"ab cd ef\" value=\"x\"");
    const StyleLayoutState& state = label->getLayoutState();
    EXPECT_EQ(state.font.get(), manager_->getObject("FONT_TEST", "fonts"));
    EXPECT_EQ(state.colorStack, (std::vector<std::uint32_t>{0xFF102030}));
    EXPECT_EQ(state.wrapStyle, StyleLayoutState::kWordWrap);
    EXPECT_EQ(state.alignH, StyleLayoutState::kAlignRight);
    EXPECT_FALSE(label->getAutoFitHeight());
    EXPECT_EQ(runsOf(*label), (std::vector<std::vector<PlacedRun>>{{{L"ab", 7, 0}, {L"cd", 18, 0}},
                                                                   {{L"ef", 0, 5}}}));
    EXPECT_EQ(label->getLines()[0]->runs[0]->getColors(), (LayerColors{0xFF102030}));
    EXPECT_TRUE(log_.lines.empty());
}

TEST_F(StyleLabelDefinition, FontTagsLookFontsUpInTheResources) {
    const RefPtr<StyleLabel> label = labelFrom("name=\"HINT\" text=\"a [font=FONT_TEST,fonts]b "
                                               "[font=FONT_NONE,fonts]c[/font] d[/font] e\"");
    const std::vector<RefPtr<Label>>& runs = label->getLines().at(0)->runs;
    ASSERT_EQ(runs.size(), 5U);
    Font* loaded = kindCast<Font>(manager_->getObject("FONT_TEST", "fonts"));
    EXPECT_EQ(runs[0]->getFont(), nullptr);
    EXPECT_EQ(runs[1]->getFont(), loaded);
    EXPECT_EQ(runs[2]->getFont(), nullptr) << "a font that is not loaded shows nothing";
    EXPECT_EQ(runs[2]->getWidth(), 0);
    EXPECT_EQ(runs[3]->getFont(), loaded);
    EXPECT_EQ(runs[4]->getFont(), nullptr);
    ASSERT_EQ(log_.lines.size(), 1U);
    EXPECT_NE(log_.lines[0].find("styled label 'HINT': tag [font=FONT_NONE,fonts]"),
              std::string::npos)
        << log_.lines[0];
}

TEST_F(StyleLabelDefinition, UnknownNamesStoreMinusOneAndAreLogged) {
    const RefPtr<StyleLabel> label = labelFrom("wrapstyle=\"WordWrap\" alignh=\"middle\"");
    EXPECT_EQ(label->getLayoutState().wrapStyle, -1);
    EXPECT_EQ(label->getLayoutState().alignH, -1);
    EXPECT_EQ(log_.lines.size(), 2U);
}

// --- outside data ----------------------------------------------------------------------

// A deterministic stand-in for a fuzzing run: mutations of markup texts
// (characters flipped, brackets, escapes and tag pieces inserted, cuts),
// each parsed, laid out and drawn under the sanitizers.
TEST(StyleMarkupFuzz, MutatedMarkupNeverFaultsTheLabel) {
    const LogCapture quiet;
    const std::vector<std::string> seeds{
        std::string(1, '\x28') + "ab [color=#ffff0000]cd[/color] ef[br]gh",
        std::string(1, '\x10') + "[wrapstyle=wordwrap][image=i,s,right,multi]aaaa bbbb cccc dd",
        std::string(1, '\x18') + "[wrapstyle=truncate]aaa bbb[br][alignh=center]cc [tab]d",
        std::string(1, '\x30') + "[tabs=5,10][tab=2]a[font=f,s]b\\[c][/font][image=i,s,,none]",
        std::string(1, '\x00') + "[alignh=right][width=20]a b[alignv=bottom]c[/alignh]"};
    const std::string inserts[] = {"[",     "]",   "=",     ",",
                                   "\\",    "\\[", "[br]",  "[/color]",
                                   " ",     "\n",  "[tab]", "[image=i,s,center,single]",
                                   "99999", "-"};
    std::mt19937 random(11);
    for (int run = 0; run < 3000; ++run) {
        std::string text = seeds[random() % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && text.size() > 1; ++e) {
            const std::size_t at = 1 + random() % (text.size() - 1);
            switch (random() % 4) {
            case 0:
                text[at] = static_cast<char>(random());
                break;
            case 1:
                text.insert(at, inserts[random() % std::size(inserts)]);
                break;
            case 2:
                text.erase(at, 1 + random() % 6);
                break;
            default:
                text[0] = static_cast<char>(random());
                break;
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
}

} // namespace
} // namespace orv
