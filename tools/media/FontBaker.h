#pragma once

#include "tools/media/Raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::media {

/// How one layer of a bitmap font is drawn from the glyph coverage.
struct LayerStyle {
    enum class Kind {
        Fill,    ///< the glyph itself
        Outline, ///< the glyph grown by `radius` pixels
        Shadow   ///< the glyph grown by `radius`, blurred by `blur`, moved by (dx, dy)
    };
    Kind kind = Kind::Fill;
    int radius = 0;
    /// Softness of a shadow: the Gaussian's standard deviation in pixels.
    double blur = 0.0;
    int dx = 0;
    int dy = 0;
    /// Scales the layer's coverage, 0..1: a tinted mask carries its own
    /// strength because the engine ignores the alpha byte of a tint colour.
    double strength = 1.0;
    /// The layer colour written into the definition (0xAARRGGBB).
    std::uint32_t color = 0xFFFFFFFF;
    /// When set, the layer has a colour picture (a vertical gold ramp, each
    /// letter cushioned and lit by the game's light) beside its mask;
    /// otherwise it is a mask tinted with `color`.
    bool goldRamp = false;
};

/// What to bake: a face file, a pixel size, the characters and the layers
/// (first layer on top, as the engine draws them).
struct FontSpec {
    std::string id;       ///< file stem: media/fonts/<id>.xml, <id>_<n>.png
    std::string faceFile; ///< path of a TrueType file
    int pixelSize = 16;
    int charSpacing = 0;
    int extraLineGap = 0;
    std::vector<std::uint32_t> characters;
    std::vector<LayerStyle> layers;
};

/// One baked layer: its padding, colour, mask and optional colour picture.
struct BakedLayer {
    int padding = 0;
    std::uint32_t color = 0;
    GreyImage mask;
    ColorImage picture; ///< empty unless the layer has a colour picture
};

/// One glyph as the font definition states it.
struct BakedGlyph {
    std::uint32_t code = 0;
    int sx = 0, sy = 0, sw = 0, sh = 0, advance = 0, bx = 0, by = 0;
};

/// A kerning group: every pair in `pairs` is moved by `amount` pixels.
struct KerningGroup {
    int amount = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
};

/// A bitmap font ready to be written: definition values, glyph table,
/// kerning and the layer pictures.
struct BakedFont {
    std::string id;
    std::string faceName; ///< the face's family and style, "Lato Regular"
    int pixelSize = 0;
    int lineHeight = 0;
    int baseline = 0;
    int spaceWidth = 0;
    int charSpacing = 0;
    std::vector<BakedGlyph> glyphs;
    std::vector<KerningGroup> kerning;
    std::vector<BakedLayer> layers;
    bool faceHasKerning = false;

    /// The font definition document (a property file): a "font" node with
    /// metrics, "chars" and "kerning", and a "layers" vector naming
    /// <id>_<n>.png (colour picture) and <id>_<n>_mask.png (mask) beside it.
    [[nodiscard]] std::string definitionXml() const;
    /// File names of the layer pictures, relative to the definition's folder.
    [[nodiscard]] std::string maskFileName(std::size_t layer) const;
    [[nodiscard]] std::string pictureFileName(std::size_t layer) const;
};

/// Renders `spec` with FreeType. Characters the face lacks are left out.
/// Kerning comes from the face's kerning table, or from the pair adjustments
/// of its OpenType positioning table when it has no kerning table.
/// Fails the tool when the face cannot be opened.
[[nodiscard]] BakedFont bakeFont(const FontSpec& spec);

/// Draws `text` (UTF-32) onto `target` (straight-alpha ARGB) the way the
/// engine's bitmap-font drawing composes the layers: last layer first, each
/// glyph cell placed by the glyph box. Used for the contact sheet and tests of
/// the look. `overrides` replaces layer colours by index (0 = none).
void drawText(ColorImage& target, const BakedFont& font, const std::u32string& text, int x, int y,
              const std::vector<std::uint32_t>& overrides = {});

/// Width in pixels that `text` advances in `font` (kerning and spacing
/// included), as the engine's measuring gives it without padding.
[[nodiscard]] int textWidth(const BakedFont& font, const std::u32string& text);

/// Blends `src` (straight-alpha colour, alpha scaled by `coverage`/255) over
/// the pixel `dst` and returns the result (straight alpha).
[[nodiscard]] std::uint32_t blendOver(std::uint32_t dst, std::uint32_t src, int coverage);

} // namespace orv::media
