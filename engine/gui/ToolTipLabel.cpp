#include "engine/gui/ToolTipLabel.h"

#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <array>
#include <string_view>

namespace orv {

constinit const ClassRecord ToolTipLabel::classRecord{"ToolTipLabel",
                                                      parentRecords<Label::classRecord>};

ToolTipLabel::ToolTipLabel(PropertyNode* definition) : Label(definition), maxWidth_(getWidth()) {
    if (definition != nullptr) {
        const PropertyNode& source = *asNode(propertyOfDefinition(definition));
        struct ColorKey {
            std::string_view key;
            std::uint32_t ToolTipLabel::*field;
        };
        static constexpr std::array<ColorKey, 2> colorKeys{{
            {"backgroundcolor", &ToolTipLabel::backgroundColor_},
            {"bordercolor", &ToolTipLabel::borderColor_},
        }};
        for (const ColorKey& entry : colorKeys) {
            if (const PropertyValue* value = source.findValue(entry.key)) {
                this->*entry.field = static_cast<std::uint32_t>(value->getInt());
            }
        }
        if (const PropertyValue* value = source.findValue("padding")) {
            padding_ = value->getInt();
        }
        if (const PropertyValue* value = source.findValue("maxwidth")) {
            maxWidth_ = value->getInt();
        }
    }
    // A maximum width is where the text wraps: a label defined only by its
    // "maxwidth" (no width of its own) wraps there too, or its text would run
    // on in one line however long it is.
    if ((getWidth() > 0 && maxWidth_ != 0) || maxWidth_ > 0) {
        setWrapStyle(kWordWrap);
    }
}

BaseObject* ToolTipLabel::createFromDefinition(PropertyNode* definition) {
    return new ToolTipLabel(definition);
}

void ToolTipLabel::setToolTip(std::wstring_view text) {
    if (maxWidth_ > 0) {
        setWidth(maxWidth_);
    }
    setText(text);
    if (maxWidth_ > 0) {
        // The lines wrapped at the maximum width; the box keeps only what
        // the widest of them needs.
        relayout();
        setWidth(getTextWidth());
    }
}

void ToolTipLabel::render(Graphics& graphics) {
    // The box follows the text's size, which a pending layout may change.
    relayout();
    const int savedAlpha = graphics.getAlpha();
    const std::uint32_t savedColor = graphics.getColor();
    graphics.setAlpha(getAlpha());
    graphics.setColor(borderColor_);
    graphics.drawRect(-padding_, -padding_, getWidth() + 2 * padding_, getHeight() + 2 * padding_);
    graphics.setColor(backgroundColor_);
    graphics.fillRect(1 - padding_, 1 - padding_, getWidth() - 2 + 2 * padding_,
                      getHeight() - 2 + 2 * padding_);
    graphics.setColor(savedColor);
    graphics.setAlpha(savedAlpha);
    Label::render(graphics);
}

} // namespace orv
