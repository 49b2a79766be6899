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

} // namespace

void Label::readDefinition(PropertyNode* definition) {
    if (definition == nullptr) {
        return;
    }
    const PropertyNode& node = *definition;

    if (node.findValue("font") != nullptr) {
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

    if (node.findValue("color") != nullptr) {
        setColor(static_cast<std::uint32_t>(node.getValue("color")->getInt()), 0);
    } else {
        for (int index = 0; node.findValue("color" + std::to_string(index)) != nullptr; ++index) {
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
        if (node.findValue(entry.key) == nullptr) {
            continue;
        }
        const int index = node.getEnumIndex(entry.key, entry.names, -1);
        if (index < 0) {
            logWarning("label '" + getName() + "': key " + std::string(entry.key) +
                       " has the unknown value '" + node.getValue(entry.key)->getString() + "'");
        }
        (this->*entry.set)(index);
    }

    if (node.findValue("autofitheight") != nullptr) {
        setAutoFitHeight(node.getValue("autofitheight")->getBool());
    }
    if (node.findValue("lineheight") != nullptr) {
        setLineHeight(node.getValue("lineheight")->getInt());
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
