// Building sprites from definition nodes: the one part of the sprite that
// reads property trees, the text table and the resource manager.

#include "engine/scene/Sprite.h"

#include "engine/core/Log.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/system/Platform.h"

#include <array>
#include <string>
#include <string_view>

namespace orv {

namespace {

constexpr std::array<std::string_view, 9> kAnchorNames{
    "topleft", "top", "topright", "left", "center", "right", "bottomleft", "bottom", "bottomright",
};

constexpr std::array<std::string_view, 3> kAnimationStyleNames{"once", "switch", "loop"};

// The image `imageName` of `sectionName`, looked up under the resources' data
// lock; null (and logged) when the manager, the section or the image is
// missing.
Image* findImage(const std::string& imageName, const std::string& sectionName,
                 const std::string& spriteName) {
    ResourceManager* resources = ResourceManager::getInstance();
    Image* image = nullptr;
    if (resources != nullptr) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        image = kindCast<Image>(resources->getObject(imageName, sectionName));
    }
    if (image == nullptr) {
        logWarning("Sprite '" + spriteName + "': no image '" + imageName + "' in section '" +
                   sectionName + "'; it is drawn without one");
    }
    return image;
}

} // namespace

void Sprite::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));

    if (source.findValue("image") != nullptr) {
        setImage(findImage(source.getValue("image")->getString(),
                           source.getValue("section")->getString(), getName()));
    }
    if (const PropertyValue* value = source.findValue("width")) {
        setWidth(value->getInt());
    }
    if (const PropertyValue* value = source.findValue("height")) {
        setHeight(value->getInt());
    }

    // Stored straight into the fields, as the picture is still being built.
    struct IntegerKey {
        std::string_view key;
        int Sprite::*field;
    };
    static constexpr std::array<IntegerKey, 5> integerKeys{{
        {"alpha", &Sprite::alpha_},
        {"color", &Sprite::color_},
        {"frameoffset_x", &Sprite::frameOffsetX_},
        {"frameoffset_y", &Sprite::frameOffsetY_},
        {"framecount", &Sprite::frameCount_},
    }};
    for (const IntegerKey& key : integerKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            const int number = value->getInt();
            if (this->*key.field != number) {
                this->*key.field = number;
                dirty_ = true;
            }
        }
    }
    if (const PropertyValue* value = source.findValue("currentframe")) {
        setCurrentFrame(value->getInt());
    }
    if (const PropertyValue* value = source.findValue("reverseframes")) {
        reverseFrames_ = value->getBool();
    }
    frameWrapStyle_ = static_cast<FrameWrapStyle>(source.getEnumIndex(
        "framewrapstyle", kAnimationStyleNames, static_cast<int>(FrameWrapStyle::Loop)));

    // A frame time animates the frames for good, as the sprite's own modifier.
    if (const PropertyValue* value = source.findValue("frametime")) {
        addModifier(new ModifierFrame(-1, value->getInt()), true);
    }

    if (source.findValue("anchorpoint_x") != nullptr) {
        setAnchorOffset(source.getValue("anchorpoint_x")->getFloat(),
                        source.getValue("anchorpoint_y")->getFloat());
    } else if (source.findValue("anchorpoint") != nullptr) {
        const int kind = source.getEnumIndex("anchorpoint", kAnchorNames, -1);
        if (kind >= 0) {
            setAnchorPoint(static_cast<AnchorKind>(kind));
        }
    }

    if (const PropertyValue* value = source.findValue("tooltip")) {
        setToolTip(getText(value->getString()));
    }

    const PropertyValue* initAnimation = source.findValue("initanimation");
    if (frameCount_ > 1 && (initAnimation == nullptr || initAnimation->getBool())) {
        if (const PropertyValue* horizontal = source.findValue("horizontalframelayout")) {
            setFrameLayout(frameCount_, horizontal->getBool());
        } else {
            setFrameLayout(-1, false);
        }
    }
    if (const PropertyValue* value = source.findValue("smooth")) {
        smooth_ = value->getBool();
    }
}

} // namespace orv
