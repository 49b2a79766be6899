#pragma once

#include "engine/scene/Label.h"

#include <cstdint>
#include <string_view>

namespace orv {

class Graphics;
class PropertyNode;

/// The box a tooltip shows its text in: a label drawn over a filled
/// rectangle with a one-pixel border, `padding` pixels outside the text area
/// on every side. With a maximum width the text wraps there and the box
/// shrinks to the widest line.
///
/// Definition keys, after the `Label` keys (all optional):
/// "backgroundcolor" and "bordercolor" (colours for `Graphics::setColor`),
/// "padding" (pixels) and "maxwidth" (pixels; a missing key takes the
/// label's own width, 0 or less wraps nowhere).
///
///     <ToolTip id="DEFAULT_TOOLTIP" showdelay="800">
///       <ToolTipLabel id="renderer" font="FONT_SMALL" section="common"
///                     backgroundcolor="#F5E8CC" bordercolor="#8C5A16" padding="4"
///                     maxwidth="260"/>
///     </ToolTip>
///
/// The box is drawn around the label's origin (0, 0 of the graphics'
/// translation), so the label stands at (0, 0): the tooltip moves it by
/// translating the graphics. Main thread only.
class ToolTipLabel : public Label {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The label from `definition`, then the keys above. A positive maximum
    /// width, or a positive label width with a maximum width other than 0,
    /// makes the label wrap words ("wordwrap").
    explicit ToolTipLabel(PropertyNode* definition);

    /// The object factory's create function for "ToolTipLabel".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Shows `text` (backslash-n breaks lines): with a positive maximum width
    /// the label is laid out at that width and then takes the width of its
    /// widest line.
    void setToolTip(std::wstring_view text) override;

    /// The border and the background at the sprite's alpha, then the text.
    /// The graphics' colour and alpha are put back.
    void render(Graphics& graphics) override;

    [[nodiscard]] std::uint32_t getBackgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::uint32_t color) { backgroundColor_ = color; }
    [[nodiscard]] std::uint32_t getBorderColor() const { return borderColor_; }
    void setBorderColor(std::uint32_t color) { borderColor_ = color; }
    [[nodiscard]] int getPadding() const { return padding_; }
    void setPadding(int padding) { padding_ = padding; }
    [[nodiscard]] int getMaxWidth() const { return maxWidth_; }
    void setMaxWidth(int maxWidth) { maxWidth_ = maxWidth; }

private:
    std::uint32_t backgroundColor_ = 0xFFFFE1U;
    std::uint32_t borderColor_ = 0;
    int padding_ = 3;
    int maxWidth_ = 0;
};

} // namespace orv
