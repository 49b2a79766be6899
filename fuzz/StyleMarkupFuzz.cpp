// Fuzz entry point of the styled-text markup: the parser, the tags and the
// layout of a styled label. Linked into style_label_tests, which drives it
// over mutations of a few markup texts, and, with ORVANTA_FUZZ and clang,
// into a libFuzzer binary (see fuzz/CMakeLists.txt for how to run one).
#include "engine/core/RefPtr.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyStore.h"
#include "engine/scene/StyleLabel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using namespace orv;

// A font of 3 x 5 glyphs for "a" to "z" and "[", "]", "=", "," with a blank,
// a tinted mask on top and a padded layer below.
RefPtr<BitmapFont> makeFont() {
    std::string xml = R"(<F><Node id="font" spacewidth="2" charspacing="1"><Vector id="chars">)";
    const std::string codes = "abcdefghijklmnopqrstuvwxyz[]=,";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        xml += "<G c=\"" + std::to_string(static_cast<int>(codes[i])) + "\" sx=\"" +
               std::to_string(i * 3) + "\" sw=\"3\" sh=\"5\" width=\"4\"/>";
    }
    xml += "</Vector></Node></F>";
    const RefPtr<PropertyStore> document(new PropertyStore());
    (void)document->loadText(xml);
    RefPtr<BitmapFont> font(new BitmapFont(*document->getNode("font"), "fuzz-font"));
    const int width = static_cast<int>(codes.size()) * 3;
    RefPtr<Image> mask = createImage(width, 5, kFormatAlpha);
    std::memset(mask->getAlpha(), 255, static_cast<std::size_t>(width) * 5);
    RefPtr<Image> cells = createImage(width + 2 * static_cast<int>(codes.size()), 7, kFormatArgb32);
    std::memset(cells->getPixels(), 0x40, static_cast<std::size_t>(cells->getPitch()) * 7);
    font->addLayer(new FontLayer(0, 0xFFFFFFFF, mask.get()));
    font->addLayer(new FontLayer(1, 0xFF000000, cells.get()));
    return font;
}

// Answers the font "f" and the image "i" of any section; nothing else.
class FuzzLabel : public StyleLabel {
public:
    FuzzLabel(Font* font, int width, Image* image)
        : StyleLabel(font, 0, 0, width, 0), font_(font), image_(image) {}
    RefPtr<Font> findFont(std::string_view name, std::string_view /*section*/) override {
        return name == "f" ? font_ : nullptr;
    }
    RefPtr<Image> findImage(std::string_view name, std::string_view /*section*/) override {
        return name == "i" ? image_ : nullptr;
    }

private:
    RefPtr<Font> font_;
    RefPtr<Image> image_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Long texts only repeat what short ones reach, and may ask for
    // label images of hundreds of megabytes.
    if (size < 1 || size > 512) {
        return 0;
    }
    static const RefPtr<BitmapFont> font = makeFont();
    static const RefPtr<Image> image = [] {
        RefPtr<Image> picture = createImage(6, 9, kFormatArgb32);
        std::memset(picture->getPixels(), 0x80, static_cast<std::size_t>(picture->getPitch()) * 9);
        return picture;
    }();
    // The first byte chooses the area's width; every further byte is one
    // character (bytes above 127 have no glyph).
    const RefPtr<FuzzLabel> label(new FuzzLabel(font.get(), data[0], image.get()));
    std::wstring text;
    for (std::size_t i = 1; i < size; ++i) {
        text += static_cast<wchar_t>(data[i]);
    }
    label->setText(text);
    // A second text starts from the state the first left behind.
    label->setText(text + L"[br]x");

    RefPtr<Image> target = createImage(40, 30, kFormatArgb32);
    std::memset(target->getPixels(), 0, static_cast<std::size_t>(target->getPitch()) * 30);
    const RefPtr<Graphics> graphics = createGraphics(*target);
    label->render(*graphics);
    return 0;
}
