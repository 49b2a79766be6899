#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FormatAlignH.h"
#include "engine/graphics/FormatAlignV.h"
#include "engine/graphics/FormatColor.h"
#include "engine/graphics/FormatFont.h"
#include "engine/graphics/FormatImage.h"
#include "engine/graphics/FormatNewLine.h"
#include "engine/graphics/FormatTab.h"
#include "engine/graphics/FormatWidth.h"
#include "engine/graphics/FormatWrapStyle.h"
#include "engine/graphics/StyleFormatRegistry.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv {
namespace {

// A styled text reduced to its layout state: it records closed lines and
// floating images, and knows one font and one image by "name,section".
class FakeTarget final : public StyleFormatTarget {
public:
    FakeTarget() {
        previous_ = setLogSink([this](LogLevel, std::string_view line) { log.emplace_back(line); });
    }
    FakeTarget(const FakeTarget&) = delete;
    FakeTarget& operator=(const FakeTarget&) = delete;
    ~FakeTarget() {
        setLogSink(previous_);
        StyleFormatRegistry::destroyInstance();
    }

    StyleLayoutState& getLayoutState() override { return state; }
    void newLine() override {
        ++newLines;
        state.penY += state.lineHeight;
        state.penX = 0;
    }
    int getAreaWidth() const override { return width; }
    int getAreaHeight() const override { return height; }
    void setAreaWidth(int w) override { width = w; }
    void setAreaHeight(int h) override { height = h; }
    RefPtr<Font> findFont(std::string_view name, std::string_view section) override {
        lookups.push_back(std::string(name) + "," + std::string(section));
        return name == "FONT" && section == "fonts" ? font : nullptr;
    }
    RefPtr<Image> findImage(std::string_view name, std::string_view section) override {
        lookups.push_back(std::string(name) + "," + std::string(section));
        return name == "PIC" && section == "pics" ? image : nullptr;
    }
    void addFloatingImage(Image* picture, int x, int y) override {
        floating.push_back({picture, x, y});
    }
    std::string describeTarget() const override { return "fake"; }

    // Applies "[name=value]" through the registry.
    bool tag(std::wstring_view name, std::wstring_view value = L"") {
        return StyleFormatRegistry::instance()->applyTag(name, value, *this);
    }

    struct Floating {
        Image* image;
        int x;
        int y;
    };

    StyleLayoutState state;
    int width = 300;
    int height = 0;
    int newLines = 0;
    std::vector<std::string> lookups;
    std::vector<Floating> floating;
    std::vector<std::string> log;
    RefPtr<Font> font{new BitmapFont()};
    RefPtr<Image> image = createImage(64, 40, kFormatArgb32);

private:
    LogSink previous_;
};

// --- the registry --------------------------------------------------------------------

TEST(StyleFormatRegistry, HoldsOnePrototypeOfEachKindInMatchingOrder) {
    const StyleFormatRegistry* registry = StyleFormatRegistry::instance();
    const std::vector<const ClassRecord*> expected{
        &FormatNewLine::classRecord, &FormatColor::classRecord,     &FormatFont::classRecord,
        &FormatImage::classRecord,   &FormatWrapStyle::classRecord, &FormatAlignV::classRecord,
        &FormatAlignH::classRecord,  &FormatTab::classRecord,       &FormatWidth::classRecord};
    ASSERT_EQ(registry->getFormats().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(&registry->getFormats()[i]->getClassRecord(), expected[i]) << i;
        EXPECT_TRUE(registry->getFormats()[i]->isKindOf(StyleFormat::classRecord));
    }
    EXPECT_EQ(StyleFormatRegistry::instance(), registry) << "one instance at a time";
    StyleFormatRegistry::destroyInstance();
}

TEST(StyleFormatRegistry, MatchesNamesExactlyAndReportsUnknownOnes) {
    FakeTarget target;
    EXPECT_TRUE(target.tag(L"br"));
    EXPECT_EQ(target.newLines, 1);
    for (const wchar_t* name : {L"BR", L"br ", L"", L"colour", L"/br", L"/image", L"/tab"}) {
        EXPECT_FALSE(target.tag(name)) << name;
    }
    EXPECT_EQ(target.newLines, 1) << "nothing happens for an unknown name";
    for (const wchar_t* name :
         {L"color", L"/color", L"font", L"/font", L"image", L"wrapstyle", L"/wrapstyle", L"alignv",
          L"/alignv", L"alignh", L"/alignh", L"tabs", L"tab", L"width"}) {
        EXPECT_TRUE(StyleFormatRegistry::instance()->applyTag(name, L"0,0", target)) << name;
    }
}

// --- reading numbers -----------------------------------------------------------------

TEST(StyleFormatNumbers, ReadIntegersAsPercentIDoes) {
    struct Case {
        const wchar_t* text;
        std::optional<int> value;
    };
    for (const Case& c :
         {Case{L"120", 120}, Case{L"  -7", -7}, Case{L"+5", 5}, Case{L"0x1F", 31}, Case{L"017", 15},
          Case{L"0", 0}, Case{L"08", 0}, Case{L"12px", 12}, Case{L"0x", 0},
          Case{L"2147483647", 2147483647}, Case{L"-2147483648", -2147483647 - 1},
          Case{L"2147483648", std::nullopt}, Case{L"99999999999999999999", std::nullopt},
          Case{L"", std::nullopt}, Case{L"-", std::nullopt}, Case{L"px", std::nullopt}}) {
        EXPECT_EQ(StyleFormat::readInteger(c.text), c.value) << c.text;
    }
}

TEST(StyleFormatNumbers, ReadHexadecimalAsPercentXDoes) {
    struct Case {
        const wchar_t* text;
        std::optional<std::uint32_t> value;
    };
    for (const Case& c :
         {Case{L"ff0000", 0xFF0000U}, Case{L"FFff0000", 0xFFFF0000U}, Case{L"0x80", 0x80U},
          Case{L" 1a zz", 0x1AU}, Case{L"100000000", std::nullopt}, Case{L"g", std::nullopt},
          Case{L"", std::nullopt}}) {
        EXPECT_EQ(StyleFormat::readHex(c.text), c.value) << c.text;
    }
}

// --- colours ----------------------------------------------------------------------------

TEST(FormatColor, PushesWithOrWithoutHashAndPopsOnlyWhatIsThere) {
    FakeTarget target;
    target.state.colorStack = {0xFF101010};
    EXPECT_TRUE(target.tag(L"color", L"ff0000"));
    EXPECT_TRUE(target.tag(L"color", L"#ff0000"));
    EXPECT_EQ(target.state.colorStack,
              (std::vector<std::uint32_t>{0xFF101010, 0xFF0000, 0xFF0000}));
    EXPECT_TRUE(target.log.empty());

    target.tag(L"color", L"#red");
    EXPECT_EQ(target.state.colorStack.back(), 0U) << "an unreadable colour pushes 0";
    EXPECT_EQ(target.log.size(), 1U);
    EXPECT_NE(target.log[0].find("fake: tag [color=#red]"), std::string::npos) << target.log[0];

    for (int i = 0; i < 4; ++i) {
        target.tag(L"/color");
    }
    EXPECT_TRUE(target.state.colorStack.empty()) << "the label's own colour is popped too";
    target.tag(L"/color");
    EXPECT_TRUE(target.state.colorStack.empty());
}

// --- the three switched fields ---------------------------------------------------------

struct ChoiceCase {
    const char* name;
    const wchar_t* open;
    const wchar_t* close;
    std::vector<std::pair<const wchar_t*, int>> words;
    int StyleLayoutState::*field;
    std::vector<int> StyleLayoutState::*stack;
};

class FormatChoices : public testing::TestWithParam<ChoiceCase> {};

TEST_P(FormatChoices, SetSaveAndRestoreTheirField) {
    const ChoiceCase& c = GetParam();
    FakeTarget target;
    for (const auto& [word, index] : c.words) {
        target.state.*c.field = 7;
        (target.state.*c.stack).clear();
        target.tag(c.open, word);
        EXPECT_EQ(target.state.*c.field, index) << word;
        target.tag(c.close);
        EXPECT_EQ(target.state.*c.field, 7) << "the value before the tag comes back";
    }
    EXPECT_TRUE(target.log.empty());

    // An unknown word (or another case) is saved and changes nothing.
    target.state.*c.field = 1;
    target.tag(c.open, L"middle");
    target.tag(c.open, L"Top");
    EXPECT_EQ(target.state.*c.field, 1);
    EXPECT_EQ(target.state.*c.stack, (std::vector<int>{1, 1}));
    EXPECT_EQ(target.log.size(), 2U);
    target.tag(c.open, c.words.back().first);
    target.tag(c.close);
    target.tag(c.close);
    target.tag(c.close);
    EXPECT_EQ(target.state.*c.field, 1);
    target.state.*c.field = 2;
    target.tag(c.close);
    EXPECT_EQ(target.state.*c.field, 2) << "a closing tag on an empty stack changes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatChoices,
    testing::Values(ChoiceCase{"WrapStyle",
                               L"wrapstyle",
                               L"/wrapstyle",
                               {{L"autowidth", 0}, {L"wordwrap", 1}, {L"truncate", 2}},
                               &StyleLayoutState::wrapStyle,
                               &StyleLayoutState::wrapStyleStack},
                    ChoiceCase{"AlignV",
                               L"alignv",
                               L"/alignv",
                               {{L"top", 0}, {L"center", 1}, {L"baseline", 2}, {L"bottom", 3}},
                               &StyleLayoutState::alignV,
                               &StyleLayoutState::alignVStack},
                    ChoiceCase{"AlignH",
                               L"alignh",
                               L"/alignh",
                               {{L"left", 0}, {L"center", 1}, {L"right", 2}},
                               &StyleLayoutState::alignH,
                               &StyleLayoutState::alignHStack}),
    [](const testing::TestParamInfo<ChoiceCase>& param) { return param.param.name; });

// --- tabs and width ---------------------------------------------------------------------

TEST(FormatTab, JumpsToTheNextOrTheNumberedStop) {
    FakeTarget target;
    target.tag(L"tabs", L"100,200");
    EXPECT_EQ(target.state.tabStops, (std::vector<int>{100, 200}));
    struct Case {
        int penX;
        const wchar_t* value;
        int after;
    };
    for (const Case& c : {Case{50, L"", 100}, Case{100, L"", 100}, Case{150, L"", 200},
                          Case{250, L"", 250}, Case{0, L"2", 200}, Case{300, L"1", 100},
                          Case{10, L"3", 10}, Case{10, L"0", 10}, Case{10, L"-1", 10}}) {
        target.state.penX = c.penX;
        target.tag(L"tab", c.value);
        EXPECT_EQ(target.state.penX, c.after) << c.penX << " " << c.value;
    }
    EXPECT_TRUE(target.log.empty());

    target.tag(L"tabs", L"  40, 0x50");
    EXPECT_EQ(target.state.tabStops, (std::vector<int>{40, 80}));
    target.tag(L"tabs");
    EXPECT_TRUE(target.state.tabStops.empty());
    target.state.penX = 5;
    target.tag(L"tab");
    EXPECT_EQ(target.state.penX, 5) << "no stops: no move";
}

TEST(FormatTab, RejectsStopsThatAreNoNumbersOrOutOfRange) {
    FakeTarget target;
    target.tag(L"tabs", L"10,20");
    for (const wchar_t* value : {L"10,x", L"10,", L",10", L"-5", L"99999", L"10,,20"}) {
        target.log.clear();
        target.tag(L"tabs", value);
        EXPECT_EQ(target.state.tabStops, (std::vector<int>{10, 20})) << value;
        EXPECT_EQ(target.log.size(), 1U) << value;
    }
    target.log.clear();
    target.state.penX = 3;
    target.tag(L"tab", L"two");
    EXPECT_EQ(target.state.penX, 3);
    EXPECT_EQ(target.log.size(), 1U);
}

TEST(FormatWidth, SetsTheAreaWidthOrRejectsTheValue) {
    FakeTarget target;
    target.tag(L"width", L"120");
    EXPECT_EQ(target.width, 120);
    target.tag(L"width", L"0");
    EXPECT_EQ(target.width, 0);
    for (const wchar_t* value : {L"", L"wide", L"-1", L"16385", L"4294967416"}) {
        target.tag(L"width", value);
        EXPECT_EQ(target.width, 0) << value;
    }
    EXPECT_EQ(target.log.size(), 5U);
}

// --- fonts ----------------------------------------------------------------------------------

TEST(FormatFont, SavesTheFontLooksTheNewOneUpAndRestores) {
    FakeTarget target;
    RefPtr<Font> first(new BitmapFont());
    target.state.font = first;
    target.tag(L"font", L"FONT,fonts");
    EXPECT_EQ(target.state.font, target.font);
    ASSERT_EQ(target.state.fontStack.size(), 1U);
    EXPECT_EQ(target.state.fontStack[0], first);

    target.tag(L"font", L"MISSING,fonts");
    EXPECT_EQ(target.state.font, nullptr) << "a font that is not loaded: no font";
    EXPECT_EQ(target.log.size(), 1U);
    target.tag(L"font", L"FONT");
    EXPECT_EQ(target.lookups, (std::vector<std::string>{"FONT,fonts", "MISSING,fonts", "FONT,"}));

    target.tag(L"/font");
    target.tag(L"/font");
    EXPECT_EQ(target.state.font, target.font);
    target.tag(L"/font");
    EXPECT_EQ(target.state.font, first);
    target.tag(L"/font");
    EXPECT_EQ(target.state.font, first) << "an empty stack changes nothing";
    EXPECT_EQ(first->getRefCount(), 2) << "the state's reference and ours";
}

// --- images ------------------------------------------------------------------------------------

TEST(FormatImage, PlacesTheImageBySideAtThePen) {
    struct Case {
        const wchar_t* placement;
        int x;
    };
    // A 64-pixel image in a 300-pixel area, pen at 30.
    for (const Case& c : {Case{L"left", 0}, Case{L"center", 118}, Case{L"right", 236},
                          Case{L"inline", 30}, Case{L"", 30}, Case{L"Right", 30}}) {
        FakeTarget target;
        target.state.penX = 30;
        target.state.penY = 12;
        target.tag(L"image", std::wstring(L"PIC,pics,") + c.placement + L",multi");
        ASSERT_EQ(target.floating.size(), 1U);
        EXPECT_EQ(target.floating[0].image, target.image.get());
        EXPECT_EQ(target.floating[0].x, c.x) << c.placement;
        EXPECT_EQ(target.floating[0].y, 12);
        EXPECT_EQ(target.state.penX, 30) << "text flows around it";
        EXPECT_EQ(target.height, 40) << "the area grows to the image";
        EXPECT_EQ(target.log.size(), c.placement == std::wstring(L"Right") ? 1U : 0U);
    }
}

TEST(FormatImage, FlowDecidesWhatTheImageTakesOfTheLines) {
    FakeTarget target;
    target.height = 100;
    target.state.penX = 30;
    target.state.penY = 10;
    target.state.lineHeight = 8;
    target.tag(L"image", L"PIC,pics,left,single");
    EXPECT_EQ(target.state.lineHeight, 40) << "the line is at least as tall as the image";
    EXPECT_EQ(target.newLines, 0);

    target.tag(L"image", L"PIC,pics,right,none");
    EXPECT_EQ(target.newLines, 1) << "a band of its own starts on a fresh line";
    ASSERT_EQ(target.floating.size(), 2U);
    EXPECT_EQ(target.floating[1].y, 50);
    EXPECT_EQ(target.state.penY, 90) << "text goes on below the image";
    target.tag(L"image", L"PIC,pics,,none");
    EXPECT_EQ(target.newLines, 1) << "at a line start no further line is closed";
    EXPECT_EQ(target.floating[2].y, 90);
    EXPECT_EQ(target.height, 100) << "a higher area stays";
    EXPECT_TRUE(target.log.empty());
}

TEST(FormatImage, AMissingImageFloatsEmptyAndAValueWithoutCommaIsRejected) {
    FakeTarget target;
    target.tag(L"image", L"NOPE,pics,center,none");
    ASSERT_EQ(target.floating.size(), 1U);
    EXPECT_EQ(target.floating[0].image, nullptr);
    EXPECT_EQ(target.floating[0].x, 150);
    EXPECT_EQ(target.log.size(), 1U);

    target.tag(L"image", L"PIC");
    EXPECT_EQ(target.floating.size(), 1U);
    EXPECT_EQ(target.log.size(), 2U);
    EXPECT_EQ(target.lookups, (std::vector<std::string>{"NOPE,pics"}));

    // The flow keeps further commas (and is then no known word).
    target.tag(L"image", L"PIC,pics,left,multi,x");
    EXPECT_EQ(target.floating.size(), 2U);
    EXPECT_EQ(target.log.size(), 3U);
}

} // namespace
} // namespace orv
