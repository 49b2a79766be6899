#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

/// One prepared line of text to draw: the text (no line breaks), its measured
/// width and the position of its top-left corner in the target, in pixels of
/// the target before the drawing translation. Labels fill `width` and `x`
/// when they lay their text out; fonts only read the line.
struct TextLine {
    std::wstring text;
    int width = 0;
    int x = 0;
    int y = 0;
};

/// Where one measured character lies, in pixels relative to the origin of
/// the measured text (its top-left corner, padding ring included).
struct GlyphBox {
    /// Left edge of the glyph's cell.
    int left = 0;
    /// Top edge of the glyph's cell.
    int top = 0;
    /// Right edge of the cell, padding included.
    int right = 0;
    /// The pen position after the character (spacing included, kerning not).
    int advance = 0;
    /// Right edge of the ink: `right` without the padding, except for the
    /// text's last character, whose padding counts.
    int inkRight = 0;
    friend bool operator==(const GlyphBox&, const GlyphBox&) = default;
};

/// What `Font::layoutText` measures: one box per character, in order, and
/// the largest edges over all boxes (0 when there is none).
struct TextLayout {
    std::vector<GlyphBox> boxes;
    int maxRight = 0;
    int maxAdvance = 0;
    int maxInkRight = 0;
};

/// Which extent of a text `Font::measureText` reports.
enum class TextExtent : std::int32_t {
    MaxRight = 0,   ///< the right edge of the cells, padding included
    MaxAdvance = 1, ///< the pen position after the last character
    MaxInkRight = 2 ///< the right edge of the ink
};

/// Colours of the layers of a font, 0xAARRGGBB, entry k for layer k.
using LayerColors = std::vector<std::uint32_t>;

} // namespace orv
