#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "tests/graphics/FontFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace orv {
namespace {

// Broken font definitions: each loads without fault, keeps what is sound,
// and logs what it leaves out (with the definition's name).
struct BrokenCase {
    const char* name;
    std::string xml;
    std::size_t glyphCount;
    std::size_t warnings;
};

std::string definitionXml(const std::string& attributes, const std::string& inner) {
    return "<Font><Node id=\"font\" " + attributes + ">" + inner + "</Node></Font>";
}

std::string chars(const std::string& entries) {
    return "<Vector id=\"chars\">" + entries + "</Vector>";
}

class BrokenFontDefinitions : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFontDefinitions, LoadWhatIsSoundAndLogTheRest) {
    const BrokenCase& c = GetParam();
    std::vector<std::string> lines;
    const LogSink previous =
        setLogSink([&lines](LogLevel, std::string_view line) { lines.emplace_back(line); });
    const RefPtr<BitmapFont> font = test::fontFromXml(c.xml, "fonts/broken.xml");
    setLogSink(previous);

    EXPECT_EQ(font->getGlyphCount(), c.glyphCount);
    EXPECT_EQ(lines.size(), c.warnings);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("fonts/broken.xml: ", 0), 0U) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, BrokenFontDefinitions,
    testing::Values(
        BrokenCase{"FontIsAValue", "<Font><String id=\"font\">x</String></Font>", 0, 0},
        BrokenCase{"CharsIsANode", definitionXml("", "<Node id=\"chars\"><G c=\"65\"/></Node>"), 0,
                   0},
        BrokenCase{"CharsHoldsAValue",
                   definitionXml("", chars("<Integer>5</Integer><G c=\"65\"/>")), 1, 1},
        BrokenCase{"HugeSize",
                   definitionXml("", chars("<G c=\"65\" sw=\"99999999\"/><G c=\"66\"/>")), 1, 1},
        BrokenCase{"NegativeSize", definitionXml("", chars("<G c=\"65\" sh=\"-3\"/>")), 0, 1},
        BrokenCase{"HugeOffset", definitionXml("", chars("<G c=\"65\" bx=\"-2147483648\"/>")), 0,
                   1},
        BrokenCase{"SourceOutsideAnyImage", definitionXml("", chars("<G c=\"65\" sx=\"16385\"/>")),
                   0, 1},
        BrokenCase{"HugeSpacing",
                   definitionXml("charspacing=\"2147483647\" lineheight=\"-99999\"", ""), 0, 2},
        BrokenCase{"NegativeSpaceWidth", definitionXml("spacewidth=\"-4\"", ""), 0, 1},
        BrokenCase{"CodeWithoutDigits", definitionXml("", chars("<G c=\"zz\" sw=\"2\"/>")), 1, 0},
        BrokenCase{"KerningIsAValue", definitionXml("", "<String id=\"kerning\">#0#41</String>"), 0,
                   0},
        BrokenCase{"KerningHoldsAValue",
                   definitionXml("", "<Vector id=\"kerning\"><Integer>3</Integer></Vector>"), 0, 1},
        BrokenCase{
            "KerningAmountHuge",
            definitionXml("", "<Vector id=\"kerning\"><K width=\"#7FFFFFFF\" chars=\"#0#41#56\"/>"
                              "</Vector>"),
            0, 1},
        BrokenCase{"KerningCharsIsANode",
                   definitionXml("",
                                 "<Vector id=\"kerning\"><K width=\"-1\"><Node id=\"chars\"/></K>"
                                 "</Vector>"),
                   0, 0},
        BrokenCase{"KerningCodeWithoutDigits",
                   definitionXml("", "<Vector id=\"kerning\"><K width=\"-1\" chars=\"#0#41#g\"/>"
                                     "</Vector>"),
                   0, 1},
        BrokenCase{"KerningNegativeCode",
                   definitionXml("", "<Vector id=\"kerning\"><K width=\"-1\" chars=\"#0#-41#56\"/>"
                                     "</Vector>"),
                   1, 0}),
    [](const testing::TestParamInfo<BrokenCase>& param) { return param.param.name; });

// A deterministic stand-in for a fuzzing run: mutations of the test font's
// definition (characters flipped, digits and marks inserted, cuts), each read,
// measured and drawn under the sanitizers.
TEST(FontDefinitionFuzz, MutatedDefinitionsNeverFaultTheFont) {
    const LogSink previous = setLogSink([](LogLevel, std::string_view) {});
    const std::string seed(test::kTestFontXml);
    const std::string inserts[] = {"#", "0", "-", "9999999999", "\x01", "\"", "<", "/>", "#0#"};
    std::mt19937 random(7);
    for (int run = 0; run < 3000; ++run) {
        std::string text = seed;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = random() % text.size();
            switch (random() % 4) {
            case 0:
                text[at] = static_cast<char>('0' + random() % 10);
                break;
            case 1:
                text.insert(at, inserts[random() % std::size(inserts)]);
                break;
            case 2:
                text.erase(at, 1 + random() % 8);
                break;
            default:
                text[at] = static_cast<char>(random());
                break;
            }
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    setLogSink(previous);
}

} // namespace
} // namespace orv
