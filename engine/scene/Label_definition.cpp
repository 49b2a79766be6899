// Reading a label's definition keys.

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"
#include "engine/system/Platform.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace orv {

namespace {

constexpr std::array<std::string_view, 3> kWrapStyleNames{"autowidth", "wordwrap", "truncate"};
constexpr std::array<std::string_view, 2> kPadStyleNames{"offset", "none"};
constexpr std::array<std::string_view, 3> kAlignNames{"left", "center", "right"};

// Enumerated keys: each names the setter that takes the index of its value.
struct EnumKey {
    std::string_view key;
    std::span<const std::string_view> names;
    void (Label::*set)(int);
};

bool hasValue(const PropertyNode& definition, std::string_view key) {
    const AbstractProperty* child = definition.getChild(key);
    return child != nullptr && child->isValue();
}

} // namespace

void Label::readDefinition(PropertyNode* definition) {
    if (definition == nullptr) {
        return;
    }
    const PropertyNode& node = *definition;

    if (hasValue(node, "font")) {
        const std::string fontName = node.getValue("font")->getString();
        const std::string section = node.getValue("section")->getString();
        RefPtr<Font> font;
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            // Held while the reference is taken: the loader thread changes
            // the manager's maps.
            const platform::NamedMutexGuard guard(resources->getDataLock());
            font = kindCast<Font>(resources->getObject(fontName, section));
        }
        if (!font) {
            logWarning("label '" + getName() + "': font '" + fontName + "' of section '" + section +
                       "' is not loaded or no font; the label shows nothing");
        }
        setFont(font.get());
    }

    if (hasValue(node, "color")) {
        setColor(static_cast<std::uint32_t>(node.getValue("color")->getInt()), 0);
    } else {
        for (int index = 0; hasValue(node, "color" + std::to_string(index)); ++index) {
            setColor(static_cast<std::uint32_t>(
                         node.getValue("color" + std::to_string(index))->getInt()),
                     index);
        }
    }

    const std::array<EnumKey, 3> enumKeys{{
        {"wrapstyle", kWrapStyleNames, &Label::setWrapStyle},
        {"padstyle", kPadStyleNames, &Label::setPadStyle},
        {"alignh", kAlignNames, &Label::setAlignH},
    }};
    for (const EnumKey& entry : enumKeys) {
        if (!hasValue(node, entry.key)) {
            continue;
        }
        const int index = node.getEnumIndex(entry.key, entry.names, -1);
        if (index < 0) {
            logWarning("label '" + getName() + "': key " + std::string(entry.key) +
                       " has the unknown value '" + node.getValue(entry.key)->getString() + "'");
        }
        (this->*entry.set)(index);
    }

    if (hasValue(node, "autofitheight")) {
        setAutoFitHeight(node.getValue("autofitheight")->getBool());
    }
    if (hasValue(node, "lineheight")) {
        setLineHeight(node.getValue("lineheight")->getInt());
    }

    if (hasValue(node, "text")) {
        setText(node.getValue("text")->getText());
    } else if (hasValue(node, "value")) {
        setText(node.getValue("value")->getText());
    } else if (hasValue(node, "textid")) {
        setText(orv::getText(node.getValue("textid")->getString()));
    }
}

} // namespace orv
