#pragma once

#include "engine/core/BaseObject.h"
#include "engine/graphics/TextLine.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orv {

class Graphics;

/// A font as text drawing sees it: it measures texts and draws prepared lines
/// into a `Graphics`. `BitmapFont` is the one kind. Fonts are built once (on
/// any thread, by the font resource) and are not changed afterwards, so one
/// font may be measured by many labels.
///
/// Texts are wide strings; a character is one code unit. Measuring never
/// fails: characters without a glyph are measured as the font's box for
/// missing glyphs.
///
///     Font* font = kindCast<Font>(resources->getObject("FONT_SMALL", "default"));
///     int width = font->measureText(L"Score", 0, Font::kWholeText, TextExtent::MaxRight);
///     std::vector<TextLine> lines{{L"Score", width, 10, 20}};
///     font->drawLines(graphics, lines, {});
class Font : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A count for `layoutText` and `measureText`: up to the end of the text.
    static constexpr int kWholeText = -1;

    ~Font() override;

    /// Draws `lines` into `graphics`, each at its own (x, y) moved by the
    /// graphics translation, layer k in `colors[k]` when there is such an
    /// entry, else in the layer's own colour. The target's alpha becomes at
    /// least the glyphs' alpha. The colour and alpha of `graphics` are put
    /// back afterwards.
    virtual void drawLines(Graphics& graphics, const std::vector<TextLine>& lines,
                           const LayerColors& colors) const = 0;
    /// Pixels by which every glyph cell reaches beyond the glyph on each side.
    [[nodiscard]] virtual int getPadding() const = 0;
    /// Appends to `layout` one box per character of `text` from `start` for
    /// `count` characters (a negative count: to the end); raises its maxima.
    /// A start outside the text or an empty range appends nothing.
    virtual void layoutText(std::wstring_view text, TextLayout& layout, int start,
                            int count) const = 0;
    /// One extent of the characters `start` .. `start + count` of `text`
    /// (negative count: to the end), in pixels; 0 when nothing is measured.
    [[nodiscard]] virtual int measureText(std::wstring_view text, int start, int count,
                                          TextExtent extent) const = 0;
    /// Whether `character` is drawn from the font's images; the blank always
    /// counts as present.
    [[nodiscard]] virtual bool hasGlyph(wchar_t character) const = 0;
    /// Height of a line's cells in pixels, padding included.
    [[nodiscard]] virtual int getHeight() const = 0;
    /// The baseline stated by the definition, in pixels from a line's top.
    [[nodiscard]] virtual int getBaseline() const = 0;
    /// Distance in pixels between the tops of consecutive lines.
    [[nodiscard]] virtual int getLineHeight() const = 0;
    /// The colour of the bottom layer (0xAARRGGBB); 0 without layers.
    [[nodiscard]] virtual std::uint32_t getColor() const = 0;
    /// Whether the bottom layer is an alpha-only image that takes the current
    /// colour when drawn.
    [[nodiscard]] virtual bool isTintedMask() const = 0;

protected:
    Font() = default;
};

} // namespace orv
