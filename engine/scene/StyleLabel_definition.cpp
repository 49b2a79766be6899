// Reading a styled label's definition keys.

#include "engine/core/Log.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/StyleLabel.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace orv {

namespace {

constexpr std::array<std::string_view, 3> kStyleWrapNames{"autowidth", "wordwrap", "truncate"};
constexpr std::array<std::string_view, 3> kStyleAlignNames{"left", "center", "right"};

} // namespace

void StyleLabel::readDefinition(PropertyNode* definition) {
    if (definition == nullptr) {
        return;
    }
    const PropertyNode& node = *definition;

    if (node.findValue("font") != nullptr) {
        const std::string fontName = node.getValue("font")->getString();
        const std::string section = node.getValue("section")->getString();
        state_.font = findFont(fontName, section);
        if (!state_.font) {
            logWarning(describeTarget() + ": font '" + fontName + "' of section '" + section +
                       "' is not loaded or no font; its text shows nothing");
        }
    }
    if (node.findValue("color") != nullptr) {
        state_.colorStack.push_back(static_cast<std::uint32_t>(node.getValue("color")->getInt()));
    }

    struct EnumKey {
        std::string_view key;
        std::span<const std::string_view> names;
        int& field;
    };
    const std::array<EnumKey, 2> enumKeys{{
        {"wrapstyle", kStyleWrapNames, state_.wrapStyle},
        {"alignh", kStyleAlignNames, state_.alignH},
    }};
    for (const EnumKey& entry : enumKeys) {
        if (node.findValue(entry.key) == nullptr) {
            continue;
        }
        entry.field = node.getEnumIndex(entry.key, entry.names, -1);
        if (entry.field < 0) {
            logWarning(describeTarget() + ": key " + std::string(entry.key) +
                       " has the unknown value '" + node.getValue(entry.key)->getString() + "'");
        }
    }
    if (node.findValue("autofitheight") != nullptr) {
        autoFitHeight_ = node.getValue("autofitheight")->getBool();
    }

    if (node.findValue("text") != nullptr) {
        setText(node.getValue("text")->getText());
    } else if (node.findValue("value") != nullptr) {
        setText(node.getValue("value")->getText());
    } else if (node.findValue("textid") != nullptr) {
        setText(orv::getText(node.getValue("textid")->getString()));
    }
}

} // namespace orv
