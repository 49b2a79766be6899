#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/TextLine.h"
#include "engine/scene/Sprite.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class PropertyNode;

/// A sprite that shows text in one font: it splits its text into lines (as
/// typed, word-wrapped to its width, or cut with "..."), aligns them, renders
/// them once into an image of its own and then draws like any sprite. Layout
/// is lazy: setters only mark the label, and `relayout` runs when the label
/// is drawn (or when a caller asks for it).
///
/// Sizes are pixels. An autowidth label takes the width of its text; a
/// wrapping or truncating label keeps the width it was given. The image is
/// drawn moved by `getOffset` from the sprite's place, so that the padding
/// ring of the glyphs lies outside the anchored box (pad style "offset") and
/// the block of lines is aligned inside a fixed width by its ink: centred
/// text has its glyphs centred in the width (the ring hangs out evenly),
/// right-aligned text ends its glyphs at the right edge.
///
/// Definition keys, after the `Sprite` keys (all optional): "font" with
/// "section" (a font resource, taken without loading it), "color" or
/// "color0", "color1", ... (layer colour overrides), "wrapstyle"
/// ("autowidth", "wordwrap", "truncate"), "padstyle" ("offset", "none"),
/// "alignh" ("left", "center", "right"), "autofitheight" (Boolean),
/// "lineheight" (integer), and the text: "text", else "value", else the
/// text table's entry "textid". In texts the two characters backslash and n
/// are a line break. An unknown alternative name stores -1 (logged): no
/// lines for wrap style -1, no padding shift for pad style -1, lines at x 0
/// for alignment -1.
///
///     RefPtr<Label> score(new Label(font, 10, 10, 120, 20, Label::kWordWrap));
///     score->setAlignH(Label::kAlignRight);
///     score->setText(L"Score\\n1200");   // two lines
///     GameTree::appendChild(score.get(), layer);
///
/// Main thread only; the font must be loaded (it is never changed).
class Label : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Wrap styles.
    static constexpr int kAutoWidth = 0;
    static constexpr int kWordWrap = 1;
    static constexpr int kTruncate = 2;
    /// Horizontal alignments.
    static constexpr int kAlignLeft = 0;
    static constexpr int kAlignCenter = 1;
    static constexpr int kAlignRight = 2;
    /// Pad styles.
    static constexpr int kPadOffset = 0;
    static constexpr int kPadNone = 1;

    /// Built from a definition node (keys above). A font that cannot be
    /// found is logged and leaves the label without font: it shows nothing.
    explicit Label(PropertyNode* definition);
    /// An unnamed label at (x, y) of that size with `font` (a reference is
    /// taken; may be null) and `wrapStyle`; left-aligned, pad style offset,
    /// the font's line height, fitting its height to the text, no text.
    Label(Font* font, int x, int y, int width, int height, int wrapStyle);
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;
    ~Label() override;

    /// The object factory's create function for "Label".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// A label has no vertical alignment of its own: always 0, and setting
    /// it does nothing (styled text hands one to every run).
    [[nodiscard]] virtual int getAlignV() const { return 0; }
    virtual void setAlignV(int /*alignment*/) {}
    [[nodiscard]] virtual int getAlignH() const { return alignH_; }
    virtual void setAlignH(int alignment);

    /// Where the image is drawn relative to the sprite's own place, as of the
    /// last layout.
    [[nodiscard]] virtual std::pair<int, int> getOffset() const { return {offsetX_, offsetY_}; }

    /// Stores `text` with every backslash-n turned into a line break.
    virtual void setText(std::wstring_view text);
    [[nodiscard]] virtual const std::wstring& getText() const { return text_; }

    /// Takes a reference to `font` (may be null) before dropping the old one.
    virtual void setFont(Font* font);
    /// Borrowed from the label, no reference taken.
    [[nodiscard]] virtual Font* getFont() const { return font_.get(); }

    /// The colour (0xAARRGGBB) that font layer `layerIndex` (0 or more) is
    /// drawn in instead of its own; the list grows with zeros up to it. A
    /// negative index is logged and ignored.
    virtual void setColor(std::uint32_t color, int layerIndex);
    using Sprite::setColor;
    [[nodiscard]] const LayerColors& getColors() const { return colors_; }

    virtual void setWrapStyle(int wrapStyle);
    [[nodiscard]] virtual int getWrapStyle() const { return wrapStyle_; }
    void setPadStyle(int padStyle);
    [[nodiscard]] int getPadStyle() const { return padStyle_; }
    /// When clear, the image and the sprite keep the sprite's height.
    void setAutoFitHeight(bool autoFit);
    [[nodiscard]] bool getAutoFitHeight() const { return autoFitHeight_; }
    /// Pixels from one line's top to the next; 0 or less: the font's.
    void setLineHeight(int lineHeight);
    [[nodiscard]] int getLineHeight() const { return lineHeight_; }
    /// The line height in use: `getLineHeight` when above 0 or without a
    /// font, else the font's.
    [[nodiscard]] int getLineStep() const;

    /// Lays the text out and renders it into a new image when anything
    /// changed since the last layout (the anchor included); else nothing.
    virtual void relayout();
    [[nodiscard]] bool needsLayout() const { return needsLayout_; }

    /// The lines of the last layout, positioned inside the label's image.
    [[nodiscard]] const std::vector<TextLine>& getLines() const { return lines_; }
    /// Size of the laid-out text in pixels, padding included.
    [[nodiscard]] int getTextWidth() const { return textWidth_; }
    [[nodiscard]] int getTextHeight() const { return textHeight_; }

    /// Also marks the label when the width changes.
    void setWidth(int width) override;
    /// The sprite takes the image's size, except that a wrapping or
    /// truncating label keeps its width and a label that does not fit its
    /// height keeps its height.
    void setImage(Image* image) override;
    /// Lays out, then draws the image moved by the offset.
    void render(Graphics& graphics) override;

private:
    void readDefinition(PropertyNode* definition);
    void markForLayout() { needsLayout_ = true; }
    void buildLines();
    void arrangeLines();
    void renderImage();
    [[nodiscard]] std::uint32_t getTextColor() const;

    std::vector<TextLine> lines_;
    bool needsLayout_ = true;
    RefPtr<Font> font_;
    LayerColors colors_;
    std::wstring text_;
    int offsetX_ = 0;
    int offsetY_ = 0;
    int textWidth_ = 0;
    int textHeight_ = 0;
    int wrapStyle_ = kAutoWidth;
    int alignH_ = kAlignLeft;
    int padStyle_ = kPadOffset;
    bool autoFitHeight_ = true;
    int lineHeight_ = 0;
    // The anchor the last layout placed the padding for.
    AnchorKind laidOutAnchor_ = AnchorKind::TopLeft;
};

} // namespace orv
