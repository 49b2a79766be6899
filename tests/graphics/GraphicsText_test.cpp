// Text through the drawing interface: the current font, the colour list and
// the translation.
#include "engine/graphics/Graphics.h"
#include "tests/graphics/FontFixture.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

using test::filledImage;
using test::snapshot;

constexpr std::uint32_t kTextBackground = 0xFF405060;

TEST(GraphicsText, DrawsOneLineWithTheCurrentFontTranslatedOnce) {
    const RefPtr<BitmapFont> font = test::makeTestFont();
    const RefPtr<Image> expected = filledImage(30, 16, kTextBackground);
    const RefPtr<Graphics> plain = createGraphics(*expected);
    font->drawLines(*plain, {TextLine{L"AV i", 0, 9, 6}}, {0xFF00FF00});

    const RefPtr<Image> actual = filledImage(30, 16, kTextBackground);
    const RefPtr<Graphics> g = createGraphics(*actual);
    g->setFont(font.get());
    EXPECT_EQ(g->getFont(), font.get());
    EXPECT_EQ(font->getRefCount(), 2);
    g->setTranslation(5, 3);
    g->setColor(0xFF00FF00);
    g->drawText("AV i", 4, 3);
    EXPECT_EQ(snapshot(*actual), snapshot(*expected));
    EXPECT_EQ(g->getColor(), 0xFF00FF00U);

    g->setFont(nullptr);
    EXPECT_EQ(font->getRefCount(), 1);
    const std::vector<std::uint32_t> before = snapshot(*actual);
    g->drawText("AV", 0, 0, {});
    EXPECT_EQ(snapshot(*actual), before) << "no font draws nothing";
}

} // namespace
} // namespace orv
