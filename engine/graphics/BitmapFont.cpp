#include "engine/graphics/BitmapFont.h"

#include "engine/graphics/Graphics.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>

namespace orv {

constinit const ClassRecord BitmapFont::classRecord{"BitmapFont", parentRecords<Font::classRecord>};

namespace {

constexpr wchar_t kBlank = L' ';
constexpr int kAlphaChannel = 0;

// The blank of a font that defines none: it has neither width nor advance.
const FontGlyph& zeroBlank() {
    static const FontGlyph blank;
    return blank;
}

// Positions are summed in 64 bits so that long texts or far-off lines cannot
// overflow; what is handed on is limited to the int range.
int toInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

bool fitsInt(std::int64_t value) {
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

// Code units are what glyphs and kerning are keyed by; characters beyond
// them have no glyph.
bool isCodeUnit(wchar_t character) {
    return character >= 0 && static_cast<std::uint32_t>(character) <= 0xFFFFU;
}

} // namespace

BitmapFont::BitmapFont() = default;

BitmapFont::~BitmapFont() = default;

void BitmapFont::addLayer(FontLayer* layer) {
    assert(layer != nullptr);
    layers_.emplace_back(layer);
    maxPadding_ = std::max(maxPadding_, layer->getPadding());
}

const FontGlyph* BitmapFont::findGlyph(wchar_t character) const {
    if (!isCodeUnit(character)) {
        return nullptr;
    }
    const auto found = glyphs_.find(static_cast<std::uint16_t>(character));
    return found != glyphs_.end() ? &found->second : nullptr;
}

const FontGlyph& BitmapFont::glyphFor(wchar_t character) const {
    if (const FontGlyph* glyph = findGlyph(character)) {
        return *glyph;
    }
    return character == kBlank ? zeroBlank() : missingGlyph_;
}

bool BitmapFont::hasGlyph(wchar_t character) const {
    return character == kBlank || findGlyph(character) != nullptr;
}

int BitmapFont::getLineHeight() const {
    return lineHeight_ > 0 ? lineHeight_ : getHeight();
}

std::uint32_t BitmapFont::getColor() const {
    return layers_.empty() ? 0 : layers_.back()->getColor();
}

bool BitmapFont::isTintedMask() const {
    if (layers_.empty() || layers_.back()->getImage() == nullptr) {
        return false;
    }
    return layers_.back()->getImage()->getFormat() == kFormatAlpha;
}

namespace {

// Walks the characters `start` .. `start + count` of `text` (count < 0: to
// the end) and hands each box to `take(box)`. The first character of the whole text starts at the
// padding whatever its offset; a blank reaches from the ink of the character
// before it by its own offset and width, whatever the spacing and kerning.
template <class GlyphOf, class Take>
void walkText(std::wstring_view text, int start, int count, int pad, int charSpacing,
              const GlyphOf& glyphFor, const Take& take) {
    const auto length = static_cast<std::int64_t>(text.size());
    std::int64_t first = std::max(start, 0);
    if (first >= length) {
        return;
    }
    std::int64_t n = count;
    if (n < 0 || n > length - first) {
        n = length - first;
    }
    std::int64_t pen = pad;
    std::int64_t lastInk = 0;
    for (std::int64_t i = first; i < first + n; ++i) {
        const wchar_t character = text[static_cast<std::size_t>(i)];
        const FontGlyph& glyph = glyphFor(character);
        std::int64_t kern = 0;
        if (i + 1 < length && !glyph.kerning.empty()) {
            const wchar_t next = text[static_cast<std::size_t>(i + 1)];
            if (isCodeUnit(next)) {
                const auto found = glyph.kerning.find(static_cast<std::uint16_t>(next));
                if (found != glyph.kerning.end()) {
                    kern = found->second;
                }
            }
        }
        std::int64_t inkWidth = glyph.sw;
        if (character == kBlank) {
            inkWidth = glyph.sw - pen + lastInk;
        }
        std::int64_t left = 0;
        if (i == 0) {
            left = pen;
            pen -= glyph.bx;
        } else {
            left = pen + glyph.bx;
        }
        const std::int64_t advance = pen + glyph.width + charSpacing;
        const std::int64_t right = left + inkWidth + pad;
        const std::int64_t inkRight = i == length - 1 ? right : right - pad;
        take(GlyphBox{toInt(left), toInt(static_cast<std::int64_t>(glyph.by) + pad), toInt(right),
                      toInt(advance), toInt(inkRight)});
        lastInk = left + glyph.sw;
        pen = advance + kern;
    }
}

void raiseMaxima(TextLayout& layout, const GlyphBox& box) {
    layout.maxRight = std::max(layout.maxRight, box.right);
    layout.maxAdvance = std::max(layout.maxAdvance, box.advance);
    layout.maxInkRight = std::max(layout.maxInkRight, box.inkRight);
}

} // namespace

void BitmapFont::layoutText(std::wstring_view text, TextLayout& layout, int start,
                            int count) const {
    walkText(
        text, start, count, maxPadding_, charSpacing_,
        [this](wchar_t c) -> const FontGlyph& { return glyphFor(c); },
        [&layout](const GlyphBox& box) {
            layout.boxes.push_back(box);
            raiseMaxima(layout, box);
        });
}

int BitmapFont::measureText(std::wstring_view text, int start, int count, TextExtent extent) const {
    // The maxima alone, without keeping the boxes: labels measure every
    // candidate line break.
    TextLayout layout;
    bool any = false;
    walkText(
        text, start, count, maxPadding_, charSpacing_,
        [this](wchar_t c) -> const FontGlyph& { return glyphFor(c); },
        [&layout, &any](const GlyphBox& box) {
            any = true;
            raiseMaxima(layout, box);
        });
    if (!any) {
        return 0;
    }
    switch (extent) {
    case TextExtent::MaxRight:
        return layout.maxRight;
    case TextExtent::MaxAdvance:
        return layout.maxAdvance;
    case TextExtent::MaxInkRight:
        return layout.maxInkRight;
    }
    return 0;
}

void BitmapFont::drawLines(Graphics& graphics, const std::vector<TextLine>& lines,
                           const LayerColors& colors) const {
    const int savedAlpha = graphics.getAlpha();
    const std::uint32_t savedColor = graphics.getColor();

    std::vector<TextLayout> layouts(lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
        layoutText(lines[k].text, layouts[k], 0, kWholeText);
    }

    // The last layer first, so that the first ends on top.
    for (std::size_t layerIndex = layers_.size(); layerIndex-- > 0;) {
        const FontLayer& layer = *layers_[layerIndex];
        const std::uint32_t color =
            layerIndex < colors.size() ? colors[layerIndex] : layer.getColor();
        const std::int64_t padding = layer.getPadding();
        Image* image = layer.getImage();
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const TextLine& line = lines[k];
            const std::int64_t lineX = line.x - padding;
            const std::int64_t lineY = line.y - padding;
            graphics.setColor(color);
            for (std::size_t i = 0; i < line.text.size(); ++i) {
                const wchar_t character = line.text[i];
                if (character == kBlank) {
                    continue;
                }
                const GlyphBox& box = layouts[k].boxes[i];
                const std::int64_t x = lineX + box.left;
                const std::int64_t y = lineY + box.top;
                if (hasGlyph(character)) {
                    const FontGlyph& glyph = glyphFor(character);
                    // A glyph made only by kerning has no cell in the images.
                    if (image == nullptr || glyph.index < 0) {
                        continue;
                    }
                    const std::int64_t srcX = glyph.sx + 2 * padding * glyph.index;
                    const std::int64_t srcWidth = glyph.sw + 2 * padding;
                    const std::int64_t srcHeight = glyph.sh + 2 * padding;
                    if (!fitsInt(x) || !fitsInt(y) || !fitsInt(srcX) || !fitsInt(srcWidth) ||
                        !fitsInt(srcHeight)) {
                        continue;
                    }
                    const Rect source{static_cast<int>(srcX), glyph.sy, static_cast<int>(srcWidth),
                                      static_cast<int>(srcHeight)};
                    graphics.drawImage(*image, static_cast<int>(x), static_cast<int>(y), source);
                    graphics.maxChannel(*image, kAlphaChannel, static_cast<int>(x),
                                        static_cast<int>(y), source);
                } else {
                    const std::int64_t width = missingGlyph_.width + 2 * padding - 1;
                    const std::int64_t height = height_ + 2 * padding - 1;
                    if (!fitsInt(x + 1) || !fitsInt(y + 1) || !fitsInt(width) || !fitsInt(height)) {
                        continue;
                    }
                    const Rect solid{static_cast<int>(x + 1), static_cast<int>(y + 1),
                                     static_cast<int>(width), static_cast<int>(height)};
                    graphics.fillRect(solid);
                    graphics.setChannelRect(kAlphaChannel, 255, solid);
                }
            }
        }
    }

    graphics.setAlpha(savedAlpha);
    graphics.setColor(savedColor);
}

} // namespace orv
