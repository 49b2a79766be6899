#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/FontLayer.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

class PropertyNode;

/// One glyph of a bitmap font, in pixels.
struct FontGlyph {
    /// Top-left corner and size of the glyph rectangle in a layer image of
    /// padding 0 (see `FontLayer` for padded layers).
    int sx = 0;
    int sy = 0;
    int sw = 0;
    int sh = 0;
    /// Position in the definition's glyph list; -1 for a glyph made only by
    /// "spacewidth" or by kerning.
    int index = -1;
    /// How far the pen moves after the glyph.
    int width = 0;
    /// Offset of the glyph rectangle from the pen position and from the top
    /// of the line.
    int bx = 0;
    int by = 0;
    /// Kerning after this glyph: the following code unit and the pixels
    /// added to the pen (usually negative).
    std::unordered_map<std::uint16_t, int> kerning;
};

/// A font whose glyphs are rectangles cut out of pre-rendered layer images,
/// drawn one above the other (the first layer on top), each in a colour of
/// its own. The glyph metrics and kerning come from a font definition (a
/// property node); the layers are added by whoever loads the layer images
/// (the font resource).
///
/// The definition node ("font" of a font document) has the integer keys
/// "charspacing" (added to every advance), "spacewidth" (advance and width of
/// the blank), "lineheight" (0: the font height), "baseline", the vector
/// "chars" of glyph nodes with the integer keys "c" (code unit), "sx", "sy",
/// "sw", "sh", "width", "bx", "by", and the vector "kerning" of nodes with
/// the integer "width" (the amount) and the text "chars" ("#0" marks the
/// next code as the first character of the following pairs, e.g.
/// "#0#41#56#57" kerns A-V and A-W). Integers are read as `PropertyValue`
/// reads them ("#41", "0x41" and "65" are equal). Missing keys read 0.
///
/// Broken entries are logged with the definition's name and left out: a
/// glyph whose metrics lie outside ±`kMaxMetric` (sizes and source corner
/// 0..`kMaxMetric`), a kerning group with a code that has no hexadecimal
/// digits. Metrics outside that range are read as 0 (logged).
///
///     RefPtr<BitmapFont> font(new BitmapFont(*document->getNode("font"), path));
///     font->addLayer(new FontLayer(2, 0xFF000000, outline));   // drawn below
///     font->measureText(L"AV", 0, Font::kWholeText, TextExtent::MaxAdvance);
class BitmapFont : public Font {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The largest magnitude of a metric, in pixels (the largest image side).
    static constexpr int kMaxMetric = kMaxImageSide;

    /// A font without glyphs, metrics or layers.
    BitmapFont();
    /// Reads the definition `font` (see the class comment). `sourceName`
    /// (usually the file's path) only names the definition in log lines.
    BitmapFont(const PropertyNode& font, std::string_view sourceName);
    ~BitmapFont() override;

    /// Appends `layer` (not null; a reference is taken) below the layers
    /// added before, and raises the padding to the layer's when larger. Not
    /// while the font is in use on another thread.
    void addLayer(FontLayer* layer);

    void drawLines(Graphics& graphics, const std::vector<TextLine>& lines,
                   const LayerColors& colors) const override;
    [[nodiscard]] int getPadding() const override { return maxPadding_; }
    void layoutText(std::wstring_view text, TextLayout& layout, int start,
                    int count) const override;
    [[nodiscard]] int measureText(std::wstring_view text, int start, int count,
                                  TextExtent extent) const override;
    [[nodiscard]] bool hasGlyph(wchar_t character) const override;
    /// The tallest glyph (by + sh) plus twice the padding.
    [[nodiscard]] int getHeight() const override { return height_ + 2 * maxPadding_; }
    [[nodiscard]] int getBaseline() const override { return baseline_; }
    /// "lineheight" when above 0, else `getHeight`.
    [[nodiscard]] int getLineHeight() const override;
    [[nodiscard]] std::uint32_t getColor() const override;
    [[nodiscard]] bool isTintedMask() const override;

    /// The glyph table's entry for `character`, borrowed from the font; null
    /// when there is none (also for the blank without an entry).
    [[nodiscard]] const FontGlyph* findGlyph(wchar_t character) const;
    /// How characters without a glyph are measured: twice the blank's
    /// advance wide, with the average glyph offset.
    [[nodiscard]] const FontGlyph& getMissingGlyph() const { return missingGlyph_; }
    [[nodiscard]] std::size_t getGlyphCount() const { return glyphs_.size(); }
    [[nodiscard]] int getCharSpacing() const { return charSpacing_; }
    /// In definition order; the first is drawn on top.
    [[nodiscard]] const std::vector<RefPtr<FontLayer>>& getLayers() const { return layers_; }

private:
    void readGlyphs(const PropertyNode& font, std::string_view sourceName);
    void readKerning(const PropertyNode& font, std::string_view sourceName);
    void completeMissingGlyph();
    // The glyph that measures and draws `character`: its entry, the blank
    // glyph for a blank without one, else the missing-glyph record.
    [[nodiscard]] const FontGlyph& glyphFor(wchar_t character) const;

    std::vector<RefPtr<FontLayer>> layers_;
    std::unordered_map<std::uint16_t, FontGlyph> glyphs_;
    int charSpacing_ = 0;
    int lineHeight_ = 0;
    int height_ = 0;
    int baseline_ = 0;
    int maxPadding_ = 0;
    FontGlyph missingGlyph_;
};

} // namespace orv
