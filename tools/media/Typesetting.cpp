#include "tools/media/Typesetting.h"

#include <algorithm>

namespace orv::media {

namespace {

int largestPadding(const BakedFont& font) {
    int pad = 0;
    for (const BakedLayer& layer : font.layers) {
        pad = std::max(pad, layer.padding);
    }
    return pad;
}

} // namespace

InkBox inkBox(const BakedFont& font, const std::u32string& text) {
    if (font.layers.empty()) {
        return {};
    }
    // Draw the ink layer alone on a canvas with room on every side, then
    // look where it landed.
    BakedFont ink = font;
    ink.layers.resize(1);
    const int pad = largestPadding(font);
    const int margin = font.lineHeight + 2 * pad;
    ColorImage canvas(textWidth(font, text) + 2 * margin, font.lineHeight + 2 * margin);
    drawText(canvas, ink, text, margin, margin);
    InkBox box{canvas.width, canvas.height, 0, 0};
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            if ((canvas.at(x, y) >> 24) != 0) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    if (box.isEmpty()) {
        return {};
    }
    // The full font's drawing starts its pen one padding further in.
    const int shift = pad - margin;
    return {box.left + shift, box.top + shift, box.right + shift, box.bottom + shift};
}

CapitalBand capitals(const BakedFont& font) {
    for (const BakedGlyph& g : font.glyphs) {
        if (g.code == U'H') {
            return {g.by, g.sh};
        }
    }
    return {0, font.baseline};
}

Point centredOnInk(const BakedFont& font, const std::u32string& text, int x, int y, int w, int h) {
    const InkBox ink = inkBox(font, text);
    const CapitalBand caps = capitals(font);
    // drawText puts the line's top one padding below its y.
    const int pad = largestPadding(font);
    const int left = x + (w - (ink.right - ink.left) + 1) / 2 - ink.left;
    const int top = y + (h - caps.height + 1) / 2 - caps.top - pad;
    return {left, top};
}

int captionTop(const BakedFont& font, int faceTop, int faceHeight) {
    const CapitalBand caps = capitals(font);
    return faceTop + (faceHeight - caps.height + 1) / 2 - caps.top;
}

std::u32string widen(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            out.push_back(((c & 0x1FU) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3FU));
            ++i;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
            out.push_back(((c & 0x0FU) << 12) |
                          ((static_cast<unsigned char>(text[i + 1]) & 0x3FU) << 6) |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3FU));
            i += 2;
        }
    }
    return out;
}

} // namespace orv::media
