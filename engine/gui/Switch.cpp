#include "engine/gui/Switch.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/system/Messages.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace orv {

constinit const ClassRecord Switch::classRecord{
    "Switch",
    parentRecords<Sprite::classRecord, iInputListener::classRecord, iGuiMethod::classRecord>};

namespace {

// The live switches, in the order they were built. Made with the first switch
// and freed with the last one, so no list outlives the switches (nor is one
// needed while static objects are torn down at exit). Main thread only.
std::vector<Switch*>* liveSwitches = nullptr;

void joinLiveSwitches(Switch* member) {
    if (liveSwitches == nullptr) {
        liveSwitches = new std::vector<Switch*>();
    }
    liveSwitches->push_back(member);
}

void leaveLiveSwitches(const Switch* member) {
    if (liveSwitches == nullptr) {
        return;
    }
    std::erase(*liveSwitches, member);
    if (liveSwitches->empty()) {
        delete liveSwitches;
        liveSwitches = nullptr;
    }
}

} // namespace

Switch::Switch(PropertyNode* definition) : Sprite(definition) {
    if (definition != nullptr) {
        readDefinition(definition);
    }
    setFrameLayout(8, false);
    setFrameWrapStyle(FrameWrapStyle::Switch);
    widget::showFrame(*this, frameFor(state_));
    if (definition != nullptr) {
        const PropertyNode& source = *asNode(propertyOfDefinition(definition));
        if (const PropertyValue* value = source.findValue("enabled")) {
            setEnabled(value->getBool());
        }
        if (const PropertyValue* value = source.findValue("checked")) {
            setChecked(value->getBool());
        }
    }
    joinLiveSwitches(this);
}

Switch::~Switch() {
    leaveLiveSwitches(this);
}

BaseObject* Switch::createFromDefinition(PropertyNode* definition) {
    return new Switch(definition);
}

std::span<Switch* const> Switch::getLiveSwitches() {
    if (liveSwitches == nullptr) {
        return {};
    }
    return *liveSwitches;
}

void Switch::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    const std::string sectionName = source.getValue("section")->getString();

    if (const PropertyValue* value = source.findValue("image")) {
        const RefPtr<Image> image = widget::findImage(value->getString(), sectionName);
        if (image) {
            setImage(image.get());
            sizeToImage();
        } else {
            logWarning("Switch '" + getName() + "': no image '" + value->getString() +
                       "' in section '" + sectionName + "'");
        }
    }
    if (const PropertyValue* value = source.findValue("hitmask")) {
        hitMask_ = widget::findImage(value->getString(), sectionName);
        if (!hitMask_) {
            logWarning("Switch '" + getName() + "': no hit mask '" + value->getString() +
                       "' in section '" + sectionName + "'; the whole box is clickable");
        }
    }
    if (const PropertyValue* value = source.findValue("hitmaskthreshold")) {
        hitMaskThreshold_ = value->getInt();
    }
    if (const PropertyValue* value = source.findValue("groupid")) {
        group_ = value->getInt();
    }

    struct SoundKey {
        std::string_view key;
        std::string Switch::*field;
    };
    static constexpr std::array<SoundKey, 4> soundKeys{{
        {"onsound", &Switch::onSound_},
        {"offsound", &Switch::offSound_},
        {"disabledsound", &Switch::disabledSound_},
        {"soundsection", &Switch::soundSection_},
    }};
    for (const SoundKey& key : soundKeys) {
        if (const PropertyValue* value = source.findValue(key.key)) {
            this->*key.field = value->getString();
        }
    }
}

void* Switch::getInterface(const ClassRecord& interfaceRecord) {
    return widget::queryWidgetInterface(*this, interfaceRecord);
}

void Switch::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    setCurrentFrame(state_);
    if (!enabled_) {
        hovered_.set(false);
    }
}

void Switch::setChecked(bool checked) {
    if (checked == checked_) {
        return;
    }
    if (checked && group_ >= 0) {
        // By index, re-reading the list each time: an override of
        // `setChecked` may build or destroy switches.
        for (std::size_t i = 0; liveSwitches != nullptr && i < liveSwitches->size(); ++i) {
            Switch* other = (*liveSwitches)[i];
            if (other != this && other->group_ == group_) {
                other->setChecked(false);
            }
        }
    }
    checked_ = checked;
    setCurrentFrame(state_);
}

int Switch::frameFor(int state) const {
    return (enabled_ ? state : kDisabledFrame) + (checked_ ? kCheckedOffset : 0);
}

void Switch::setCurrentFrame(int state) {
    Sprite::setCurrentFrame(frameFor(state));
}

void Switch::setImage(Image* image) {
    if (image == getImage()) {
        return;
    }
    Sprite::setImage(image);
    setDirty(true);
    setFrameLayout(8, false);
    widget::showFrame(*this, frameFor(state_));
}

bool Switch::hitTest(int x, int y) const {
    if (linkedSprite_ && linkedSprite_->hitTest(x, y)) {
        return true;
    }
    return widget::hitBox(*this, x, y, hitMask_.get(), hitMaskThreshold_);
}

void Switch::setState(int state) {
    if (state != state_) {
        state_ = state;
        setCurrentFrame(state);
    }
}

void Switch::playSound(const std::string& id) const {
    widget::playSound("Switch '" + getName() + "'", id, soundSection_);
}

void Switch::fire() {
    if (getFunction() != nullptr) {
        (void)call(static_cast<Switch*>(this));
    }
}

bool Switch::onMouseMove(int x, int y, int flags) {
    const bool inside = hitTest(x, y);
    hovered_.set(inside && enabled_);
    if ((static_cast<unsigned>(flags) & platform::MK_LBUTTON) != 0) {
        if (inside && state_ == kOver) {
            setState(kPressed);
        } else if (!inside && state_ == kPressed) {
            setState(kOver);
        }
    } else {
        setState(inside ? kOver : kNormal);
    }
    return false;
}

bool Switch::onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) {
    if (!hitTest(x, y)) {
        return false;
    }
    setState(kPressed);
    return true;
}

bool Switch::onLeftButtonUp(int x, int y, int /*flags*/) {
    if (!hitTest(x, y)) {
        setState(kNormal);
        return false;
    }
    if (!enabled_) {
        playSound(disabledSound_);
        setState(kOver);
        return false;
    }
    if (state_ != kPressed) {
        setState(kOver);
        return false;
    }
    const RefPtr<Switch> keepAlive = widget::keepAlive(this);
    if (group_ < 0) {
        setChecked(!checked_);
        fire();
        playSound(checked_ ? onSound_ : offSound_);
    } else if (!checked_) {
        // A checked member of a group stays checked: the click is taken and
        // nothing else happens.
        setChecked(true);
        fire();
        playSound(onSound_);
    }
    setState(kNormal);
    return true;
}

void Switch::reset() {
    setState(kNormal);
    hovered_.set(false);
}

} // namespace orv
