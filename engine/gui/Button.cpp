#include "engine/gui/Button.h"

#include "engine/core/Log.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/system/Messages.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <string_view>

namespace orv {

constinit const ClassRecord Button::classRecord{
    "Button",
    parentRecords<Sprite::classRecord, iInputListener::classRecord, iGuiMethod::classRecord>};

namespace {

// The pieces of a "firekey" text: blanks dropped, split at commas, each read
// as the property tree reads integers. Empty pieces ("13,,32") name no key.
std::vector<int> parseFireKeys(std::wstring_view text) {
    std::wstring compact;
    std::copy_if(text.begin(), text.end(), std::back_inserter(compact),
                 [](wchar_t c) { return c != L' ' && c != L'\t'; });
    std::vector<int> keys;
    std::size_t start = 0;
    while (start <= compact.size()) {
        const std::size_t comma = std::min(compact.find(L',', start), compact.size());
        const std::wstring_view piece = std::wstring_view(compact).substr(start, comma - start);
        if (!piece.empty()) {
            keys.push_back(PropertyValue::toInt(piece));
        }
        start = comma + 1;
    }
    return keys;
}

} // namespace

Button::Button(PropertyNode* definition) : Sprite(definition) {
    if (definition != nullptr) {
        readDefinition(definition);
    }
    setFrameLayout(4, false);
    setFrameWrapStyle(FrameWrapStyle::Switch);
    showStateFrame();
}

// The hover mark gives its count back before the sprite part goes.
Button::~Button() = default;

BaseObject* Button::createFromDefinition(PropertyNode* definition) {
    return new Button(definition);
}

void Button::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));

    if (const PropertyValue* value = source.findValue("enabled")) {
        enabled_ = value->getBool();
    }
    if (const PropertyValue* value = source.findValue("hitmask")) {
        const std::string maskName = value->getString();
        const std::string sectionName = source.getValue("section")->getString();
        hitMask_ = widget::findImage(maskName, sectionName);
        if (!hitMask_) {
            logWarning("Button '" + getName() + "': no hit mask '" + maskName + "' in section '" +
                       sectionName + "'; the whole box is clickable");
        }
    }
    if (const PropertyValue* value = source.findValue("hitmaskthreshold")) {
        hitMaskThreshold_ = value->getInt();
    }

    struct SoundKey {
        std::string_view key;
        std::string Button::*field;
    };
    static constexpr std::array<SoundKey, 4> soundKeys{{
        {"clicksound", &Button::clickSound_},
        {"disabledsound", &Button::disabledSound_},
        {"oversound", &Button::overSound_},
        {"soundsection", &Button::soundSection_},
    }};
    for (const SoundKey& key : soundKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = value->getString();
        }
    }

    if (const PropertyValue* value = source.findValue("firekey")) {
        const std::vector<int> keys = parseFireKeys(value->getText());
        fireKeys_.insert(fireKeys_.end(), keys.begin(), keys.end());
    }
}

void* Button::getInterface(const ClassRecord& interfaceRecord) {
    return widget::queryWidgetInterface(*this, interfaceRecord);
}

void Button::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    showStateFrame();
    if (!enabled_) {
        setHovered(false);
    }
}

void Button::setState(int state) {
    if (state != state_) {
        state_ = state;
        setCurrentFrame(state);
    }
}

void Button::setCurrentFrame(int frame) {
    Sprite::setCurrentFrame(enabled_ ? frame : kDisabledFrame);
}

void Button::setImage(Image* image) {
    if (image == getImage()) {
        return;
    }
    Sprite::setImage(image);
    setFrameLayout(4, false);
    showStateFrame();
}

void Button::showStateFrame() {
    widget::showFrame(*this, enabled_ ? state_ : kDisabledFrame);
}

bool Button::hitTest(int x, int y) const {
    return widget::hitBox(*this, x, y, hitMask_.get(), hitMaskThreshold_);
}

void Button::setHovered(bool hovered) {
    hovered_.set(hovered);
}

void Button::playSound(const std::string& id) const {
    widget::playSound("Button '" + getName() + "'", id, soundSection_);
}

void Button::fire() {
    (void)call(static_cast<Button*>(this));
}

RefPtr<Button> Button::keepAliveWhileFiring() {
    return widget::keepAlive(this);
}

bool Button::onKeyDown(int key) {
    if (!enabled_ || std::find(fireKeys_.begin(), fireKeys_.end(), key) == fireKeys_.end()) {
        return false;
    }
    setState(kPressed);
    return true;
}

bool Button::onKeyUp(int key) {
    if (!enabled_ || std::find(fireKeys_.begin(), fireKeys_.end(), key) == fireKeys_.end()) {
        return false;
    }
    const RefPtr<Button> keepAlive = keepAliveWhileFiring();
    fire();
    setState(kNormal);
    return true;
}

bool Button::onMouseMove(int x, int y, int flags) {
    const bool inside = hitTest(x, y);
    const bool wasHovered = hovered_.isSet();
    setHovered(inside && enabled_);
    if ((static_cast<unsigned>(flags) & platform::MK_LBUTTON) != 0) {
        if (inside && state_ == kOver) {
            setState(kPressed);
        } else if (!inside && state_ == kPressed) {
            setState(kOver);
        }
    } else if (inside) {
        if (enabled_ && !wasHovered) {
            playSound(overSound_);
        }
        setState(kOver);
    } else {
        setState(kNormal);
    }
    return false;
}

bool Button::onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) {
    if (!hitTest(x, y)) {
        return false;
    }
    playSound(enabled_ ? clickSound_ : disabledSound_);
    setState(kPressed);
    return enabled_;
}

bool Button::onLeftButtonUp(int x, int y, int /*flags*/) {
    if (!hitTest(x, y)) {
        setState(kNormal);
        return false;
    }
    if (enabled_ && state_ == kPressed) {
        const RefPtr<Button> keepAlive = keepAliveWhileFiring();
        if (getFunction() != nullptr) {
            fire();
        }
        setState(kNormal);
        return true;
    }
    setState(kOver);
    return false;
}

void Button::reset() {
    setState(kNormal);
    setHovered(false);
}

} // namespace orv
