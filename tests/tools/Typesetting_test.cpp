// Text set on its ink: the ink box of a baked line, optical centring in a
// box and on a button face, and UTF-8 sample texts.

#include "tools/media/Typesetting.h"

#include <gtest/gtest.h>

namespace orv::media {
namespace {

BakedFont testFont() {
    std::vector<std::uint32_t> characters;
    for (const char32_t c : std::u32string(U" AHLTVWYagjlopy.")) {
        characters.push_back(c);
    }
    using Kind = LayerStyle::Kind;
    const FontSpec spec{"test",
                        std::string(ORVANTA_MEDIA_FONTS) + "/truetype/lato/Lato-Regular.ttf",
                        20,
                        0,
                        0,
                        characters,
                        {LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, 0xFF000000U, false},
                         LayerStyle{Kind::Shadow, 1, 1.0, 2, 2, 0.5, 0xFF000000U, false}}};
    return bakeFont(spec);
}

// The ink's bounds in `target`, found by looking.
InkBox inkIn(const ColorImage& target) {
    InkBox box{target.width, target.height, 0, 0};
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            if ((target.at(x, y) >> 24) != 0) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    return box;
}

TEST(Typesetting, CentresTheInkAcrossAndTheCapitalsUpAndDown) {
    BakedFont font = testFont();
    BakedFont inkOnly = font;
    inkOnly.layers.resize(1);
    const CapitalBand caps = capitals(font);
    ASSERT_GT(caps.height, 10);
    for (const std::u32string text : {U"LAY", U"Type", U"jolly", U"A.", U"WAVY lap"}) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        const InkBox ink = inkBox(font, text);
        ASSERT_FALSE(ink.isEmpty());
        ColorImage box(160, 44);
        const Point at = centredOnInk(font, text, 0, 0, box.width, box.height);
        // The ink layer alone, where the whole font would put it.
        const int pad = font.layers[1].padding;
        drawText(box, inkOnly, text, at.x + pad, at.y + pad);
        const InkBox seen = inkIn(box);
        EXPECT_EQ(seen.right - seen.left, ink.right - ink.left);
        EXPECT_LE(std::abs(seen.left - (box.width - seen.right)), 1);
        // Capitals' top and the baseline sit equally far from the box's edges.
        const int capTop = at.y + pad + caps.top;
        EXPECT_LE(std::abs(capTop - (box.height - (capTop + caps.height))), 1);
    }
    // A label's line top, so its capitals centre on a face 35 pixels tall.
    const int top = captionTop(font, 100, 35);
    EXPECT_LE(std::abs((top + caps.top - 100) - (135 - (top + caps.top + caps.height))), 1);
}

TEST(Typesetting, WidensUtf8) {
    EXPECT_EQ(widen("A\xC3\xA9\xE2\x80\x94\xE2\x82\xAC"), std::u32string(U"A\u00e9\u2014\u20ac"));
    EXPECT_EQ(widen(""), std::u32string());
}

} // namespace
} // namespace orv::media
