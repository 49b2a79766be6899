#include "tests/graphics/FontFixture.h"

#include "engine/graphics/FontLayer.h"
#include "engine/properties/PropertyStore.h"

#include <cstring>
#include <string>

namespace orv::test {

const std::string_view kTestFontXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Font>
  <Node id="font" charspacing="1" spacewidth="3" baseline="4">
    <Vector id="chars">
      <Glyph c="#41" sx="0" sy="0" sw="3" sh="4" width="4" bx="0" by="1"/>
      <Glyph c="0x56" sx="3" sy="0" sw="3" sh="4" width="4" bx="1" by="1"/>
      <Glyph c="105" sx="6" sy="0" sw="1" sh="5" width="2" bx="0" by="0"/>
    </Vector>
    <Vector id="kerning">
      <Kern width="-2" chars="#0#41#56"/>
    </Vector>
  </Node>
</Font>
)";

namespace {

struct Cell {
    int x;
    int y;
    int width;
    int height;
};

// The glyph rectangles of the table above, in glyph-list order.
constexpr Cell kGlyphCells[] = {{0, 0, 3, 4}, {3, 0, 3, 4}, {6, 0, 1, 5}};

} // namespace

RefPtr<BitmapFont> fontFromXml(std::string_view xml, std::string_view sourceName) {
    const RefPtr<PropertyStore> document(new PropertyStore());
    if (!document->loadText(xml)) {
        return RefPtr<BitmapFont>(new BitmapFont());
    }
    return RefPtr<BitmapFont>(new BitmapFont(*document->getNode("font"), sourceName));
}

RefPtr<Image> testFillMask() {
    RefPtr<Image> mask = createImage(7, 5, kFormatAlpha);
    std::memset(mask->getAlpha(), 0, 7 * 5);
    for (const Cell& cell : kGlyphCells) {
        for (int y = cell.y; y < cell.y + cell.height; ++y) {
            std::memset(mask->getAlpha() + y * 7 + cell.x, 255,
                        static_cast<std::size_t>(cell.width));
        }
    }
    return mask;
}

RefPtr<Image> testShadowImage() {
    constexpr int kPadding = 1;
    RefPtr<Image> image = createImage(13, 7, kFormatArgb32);
    for (int y = 0; y < 7; ++y) {
        std::memset(image->getPixels() + y * image->getPitch(), 0, 13 * 4);
    }
    int index = 0;
    for (const Cell& cell : kGlyphCells) {
        const int left = cell.x + 2 * kPadding * index;
        for (int y = cell.y; y < cell.y + cell.height + 2 * kPadding; ++y) {
            for (int x = left; x < left + cell.width + 2 * kPadding; ++x) {
                std::memcpy(image->getPixels() + y * image->getPitch() + x * 4, &kShadowPixel, 4);
            }
        }
        ++index;
    }
    return image;
}

RefPtr<BitmapFont> makeTestFont() {
    RefPtr<BitmapFont> font = fontFromXml(kTestFontXml);
    font->addLayer(new FontLayer(0, kFillColor, testFillMask().get()));
    font->addLayer(new FontLayer(1, kShadowColor, testShadowImage().get()));
    return font;
}

RefPtr<BitmapFont> gridFont() {
    std::string xml = "<Font><Node id=\"font\" spacewidth=\"4\"><Vector id=\"chars\">";
    for (int code = 0x21; code <= 0x7E; ++code) {
        xml += "<G c=\"" + std::to_string(code) + "\" sx=\"" + std::to_string((code - 0x21) * 3) +
               "\" sw=\"3\" sh=\"5\" width=\"4\"/>";
    }
    xml += "</Vector></Node></Font>";
    RefPtr<BitmapFont> font = fontFromXml(xml);
    RefPtr<Image> mask = createImage(94 * 3, 5, kFormatAlpha);
    std::memset(mask->getAlpha(), 255, 94 * 3 * 5);
    font->addLayer(new FontLayer(0, 0xFFFFFFFF, mask.get()));
    return font;
}

} // namespace orv::test
