#include "engine/properties/XmlNesting.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>

namespace orv {
namespace {

// How deep the parser nested elements: the depth of the tree it built.
// Elements are linked to their parent even when their own parse failed, so
// this is the depth its recursion reached.
std::size_t treeDepth(const TiXmlNode& node) {
    std::size_t deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child != nullptr;
         child = child->NextSibling()) {
        deepest = std::max(deepest, treeDepth(*child));
    }
    return deepest + (node.ToElement() != nullptr ? 1 : 0);
}

std::size_t parsedDepth(const std::string& text, bool condense) {
    TiXmlBase::SetCondenseWhiteSpace(condense);
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return treeDepth(document);
}

struct NestingCase {
    const char* what;
    std::string xml;
    std::size_t depth;
};

TEST(XmlNesting, MarkupThatHidesElementsOrEndTagsIsReadAsTheParserReadsIt) {
    std::string hiddenEndTags = "<r>";
    for (int i = 0; i < 300; ++i) {
        hiddenEndTags += "<a>&#x</a>x1;"; // each end tag is part of a character reference
    }
    const NestingCase cases[] = {
        {"plain", "<r><a><b/></a><c></c></r>", 3},
        {"empty", "", 0},
        {"end tags in a character reference", "<r><a>&#x</a></r>x1;<b><c></c></b></a></r>", 4},
        {"a decimal reference", "<r>&#</r>#12;<b></b></r>", 2},
        {"end tags in a quoted value", "<r a=\"</r></r>\" b='</r>'><b><c/></b></r>", 3},
        {"end tags in a declaration's value", "<r><?xml version=\"</r>\"?><b><c></c></b></r>", 3},
        {"end tags in a comment", "<r><!-- </r> --><b><c></c></b></r>", 3},
        {"end tags in CDATA", "<r><![CDATA[</r>]]><b><c></c></b></r>", 3},
        {"elements in a comment", "<r><!--<a><a><a>--></r>", 1},
        {"elements in CDATA", "<r><![CDATA[<a><a><a>]]></r>", 1},
        {"other markup ends at its first \">\"", "<r><!DOCTYPE x [<a>]><?pi <a> ?></r>", 1},
        {"white space and marks in tags",
         "<r\t a = 'x'\n>\xEF\xBB\xBF<\xEF\xBB\xBF"
         "b >< c/></b ></r>",
         2},
        {"names of every kind", "<_a><x:y><\xC3\xA9></\xC3\xA9></x:y></_a>", 3},
        {"many end tags hidden", hiddenEndTags + "</r>", 301},
    };
    for (const NestingCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parsedDepth(c.xml, true), c.depth) << "the case itself";
        EXPECT_EQ(measureXmlNesting(c.xml), c.depth);
    }
}

TEST(XmlNesting, NeverLessThanTheParserReachesInDamagedText) {
    // Random text made of the pieces that change how the parser reads what
    // follows them, most of them cut off or out of order.
    const std::array<const char*, 50> pieces = {
        // elements and end tags, whole, cut off or misspelt
        "<a>", "</a>", "<b c='1'>", "</b>", "<a/>", "<a x=\"", "\">", "<_u>", "</_u>", "<x:y>",
        "</x:y>", "<1>", "</ a>", "</a >", "<a\tz = 'q'  >", "<a z=q>", "<a b=c\"d>", "<", ">", "/",
        "=", "'", "\"",
        // text and character references, some running over markup
        "text", " ", "\n", "&#x", "&#", "x1;", "12;", ";", "&amp;", "&#x<a>x;", "&#<a>#;",
        "\xEF\xBB\xBF", "<\xEF\xBB\xBF", "\xC3\xA9",
        // comments, CDATA, declarations and other markup
        "<!--", "-->", "<![CDATA[", "]]>", "<?xml version='1.0'?>", "<?xml version=\"",
        "<?XML Version='", "<?xml foo ", "standalone=\"", "?>", "<!DOCTYPE x>", "<!", "<?pi?>"};
    std::mt19937 random(20240514);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 80);
    for (int sample = 0; sample < 600; ++sample) {
        std::string xml;
        for (int n = length(random); n > 0; --n) {
            xml += pieces[pick(random)];
        }
        const std::size_t measured = measureXmlNesting(xml);
        for (const bool condense : {true, false}) {
            ASSERT_GE(measured, parsedDepth(xml, condense)) << xml;
        }
    }
}

TEST(XmlNesting, ReadsUpToTheFirstZeroByte) {
    EXPECT_EQ(measureXmlNesting(std::string("<a><b>\0<c><d>", 13)), 2U);
}

} // namespace
} // namespace orv
