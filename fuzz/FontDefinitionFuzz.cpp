// Fuzz entry point of the font definition reader. Linked into fonts_tests,
// which drives it over a corpus of broken definitions and mutations of the
// test font, and, with ORVANTA_FUZZ and clang, into a libFuzzer binary
// (see fuzz/CMakeLists.txt for how to run one).
#include "engine/core/RefPtr.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyStore.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    const RefPtr<PropertyStore> document(new PropertyStore());
    if (!document->loadText(xml)) {
        return 0;
    }
    const RefPtr<BitmapFont> font(new BitmapFont(*document->getNode("font"), "fuzz.xml"));

    // Two small layers, so that drawing cuts cells out of real images.
    RefPtr<Image> mask = createImage(8, 8, kFormatAlpha);
    std::memset(mask->getAlpha(), 200, 64);
    RefPtr<Image> cells = createImage(8, 8, kFormatArgb32);
    std::memset(cells->getPixels(), 0x7F, static_cast<std::size_t>(cells->getPitch()) * 8);
    font->addLayer(new FontLayer(0, 0xFFFFFFFF, mask.get()));
    font->addLayer(new FontLayer(3, 0xFF000000, cells.get()));

    // Every character the definition might name, and a few it does not.
    std::wstring text = L"AV i?\u00E9";
    for (std::size_t i = 0; i < size && i < 64; ++i) {
        text += static_cast<wchar_t>(data[i]);
    }
    TextLayout layout;
    font->layoutText(text, layout, 0, Font::kWholeText);
    (void)font->measureText(text, 1, 5, TextExtent::MaxInkRight);

    RefPtr<Image> target = createImage(32, 16, kFormatArgb32);
    std::memset(target->getPixels(), 0, static_cast<std::size_t>(target->getPitch()) * 16);
    const RefPtr<Graphics> graphics = createGraphics(*target);
    font->drawLines(*graphics, {TextLine{text, 0, -3, 2}, TextLine{L"VA", 0, 20, -2}}, {});
    return 0;
}
