#include "engine/gui/Slider.h"

#include "engine/core/GameNode.h"
#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/scene/ModifierMath.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orv {

constinit const ClassRecord Slider::classRecord{
    "Slider",
    parentRecords<Sprite::classRecord, iInputListener::classRecord, iGuiMethod::classRecord>};

namespace {

// The button built from the node under `key`; null when the key is missing,
// the factory cannot build it or it is not a button.
RefPtr<Button> buildButton(const PropertyNode& source, const char* key) {
    PropertyNode* definition = asNode(source.getChild(key));
    if (definition == DUMMY_NODE) {
        return nullptr;
    }
    const RefPtr<BaseObject> made(createFromDefinition(definition));
    return RefPtr<Button>(kindCast<Button>(made.get()));
}

} // namespace

Slider::Slider(PropertyNode* definition, Button* knob)
    : Sprite(definition), knobHolder_(new GameNode()) {
    GameTree::appendChild(knobHolder_.get(), this);
    readDefinition(definition);

    knob_ = knob;
    GameTree::appendChild(knob, knobHolder_.get());
    updateValue();

    incButton_ = buildStepButton(definition, "incbutton", &Slider::incrementStep);
    decButton_ = buildStepButton(definition, "decbutton", &Slider::decrementStep);

    // The segment is the track less the knob, along the orientation. The
    // "minx" / "maxy" keys of older definitions have no effect: the range
    // always follows the sizes.
    minX_ = 0.0F;
    minY_ = 0.0F;
    if (vertical_) {
        maxX_ = 0.0F;
        maxY_ = static_cast<float>(getHeight() - knob_->getHeight());
    } else {
        maxX_ = static_cast<float>(getWidth() - knob_->getWidth());
        maxY_ = 0.0F;
    }
    updateValue();
    placeButtons();
    updateValue();
}

Slider::~Slider() {
    removeListener(incButton_.get());
    removeListener(decButton_.get());
}

BaseObject* Slider::createFromDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    const RefPtr<Button> knob = buildButton(source, "button");
    if (!knob) {
        logWarning("Slider '" + source.getValue("name")->getString() +
                   "': no \"button\" that builds a Button; the slider is not built");
        return nullptr;
    }
    return new Slider(definition, knob.get());
}

void Slider::readDefinition(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (const PropertyValue* value = source.findValue("enabled")) {
        setEnabled(value->getBool());
    }
    if (const PropertyValue* value = source.findValue("minvalue")) {
        minValue_ = value->getFloat();
        updateValue();
    }
    if (const PropertyValue* value = source.findValue("maxvalue")) {
        maxValue_ = value->getFloat();
        updateValue();
    }
    if (const PropertyValue* value = source.findValue("vertical")) {
        vertical_ = value->getBool();
    }
    if (const PropertyValue* value = source.findValue("image")) {
        const std::string sectionName = source.getValue("section")->getString();
        const RefPtr<Image> image = widget::findImage(value->getString(), sectionName);
        if (image) {
            Sprite::setImage(image.get());
        } else {
            logWarning("Slider '" + getName() + "': no image '" + value->getString() +
                       "' in section '" + sectionName + "'");
        }
    }
}

RefPtr<Button> Slider::buildStepButton(PropertyNode* definition, const char* key,
                                       GuiFunction onStep) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    if (source.getChild(key) == nullptr) {
        return nullptr;
    }
    RefPtr<Button> button = buildButton(source, key);
    if (!button) {
        logWarning("Slider '" + getName() + "': \"" + key + "\" does not build a Button; left out");
        return nullptr;
    }
    addListener(button.get(), onStep, this);
    GameTree::appendChild(button.get(), this);
    return button;
}

void Slider::placeButtons() {
    const int halfWidth = modifier_math::nearestInt(static_cast<float>(getWidth()) * 0.5F);
    const int halfHeight = modifier_math::nearestInt(static_cast<float>(getHeight()) * 0.5F);
    if (decButton_) {
        decButton_->setAnchorPoint(vertical_ ? AnchorKind::Bottom : AnchorKind::Right);
        decButton_->setPosition(vertical_ ? halfWidth : 0, vertical_ ? 0 : halfHeight);
    }
    if (incButton_) {
        incButton_->setAnchorPoint(vertical_ ? AnchorKind::Top : AnchorKind::Left);
        incButton_->setPosition(vertical_ ? halfWidth : getWidth(),
                                vertical_ ? getHeight() : halfHeight);
    }
}

void* Slider::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iInputListener::classRecord) {
        return static_cast<iInputListener*>(static_cast<iInputListenerContainer*>(this));
    }
    if (&interfaceRecord == &iGuiMethod::classRecord) {
        return static_cast<iGuiMethod*>(this);
    }
    if (&interfaceRecord == &IRenderable::classRecord) {
        return static_cast<IRenderable*>(this);
    }
    return nullptr;
}

void Slider::updateValue() {
    // Equal ends of the range would divide by zero: the knob stays at the
    // segment's start.
    const float range = maxValue_ - minValue_;
    const float t = range != 0.0F ? std::fabs((value_ - minValue_) / range) : 0.0F;
    knobHolder_->setX(static_cast<int>(minX_ + (maxX_ - minX_) * t));
    knobHolder_->setY(static_cast<int>(minY_ + (maxY_ - minY_) * t));
}

void Slider::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    for (Button* button : {knob_.get(), incButton_.get(), decButton_.get()}) {
        if (button != nullptr) {
            button->setEnabled(enabled);
        }
    }
}

void Slider::dragTo(int x, int y) {
    const float px = static_cast<float>(x - dragOffsetX_);
    const float py = static_cast<float>(y - dragOffsetY_);
    const float abX = maxX_ - minX_;
    const float abY = maxY_ - minY_;
    const float length = std::sqrt(abX * abX + abY * abY);
    float resultX = minX_;
    float resultY = minY_;
    // A knob as long as the track leaves no segment: it stays at the start
    // and the value at the minimum.
    if (length > 0.0F) {
        const float d1 = abX * (px - minX_) + abY * (py - minY_);
        if (d1 >= 0.0F) {
            const float d2 = -abX * (px - maxX_) - abY * (py - maxY_);
            if (d2 < 0.0F) {
                resultX = maxX_;
                resultY = maxY_;
            } else {
                resultX = minX_ + abX * d1 / (d1 + d2);
                resultY = minY_ + abY * d1 / (d1 + d2);
            }
        }
    }
    knobHolder_->setX(modifier_math::nearestInt(resultX));
    knobHolder_->setY(modifier_math::nearestInt(resultY));
    const float doneX = resultX - minX_;
    const float doneY = resultY - minY_;
    value_ = length > 0.0F ? minValue_ + (maxValue_ - minValue_) *
                                             std::sqrt(doneX * doneX + doneY * doneY) / length
                           : minValue_;
    setDirty(true);
}

bool Slider::hitTest(int x, int y) const {
    const int left = getAbsoluteX();
    const int top = getAbsoluteY();
    return x >= left && x < left + getWidth() && y >= top && y < top + getHeight();
}

void Slider::fire() {
    if (getFunction() != nullptr) {
        (void)call(static_cast<Slider*>(this));
    }
}

void Slider::step(bool up) {
    const RefPtr<Slider> keepAlive = widget::keepAlive(this);
    const float stepSize = (maxValue_ - minValue_) * 0.1F;
    value_ = up ? std::min(value_ + stepSize, maxValue_) : std::max(value_ - stepSize, minValue_);
    updateValue();
    fire();
}

int Slider::incrementStep(void* slider, void* /*button*/) {
    static_cast<Slider*>(slider)->step(true);
    return 0;
}

int Slider::decrementStep(void* slider, void* /*button*/) {
    static_cast<Slider*>(slider)->step(false);
    return 0;
}

bool Slider::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    // A callback may drop the last reference to the slider while its own
    // container part is still walking its buttons.
    const RefPtr<Slider> keepAlive = widget::keepAlive(this);
    if (iInputListenerContainer::onLeftButtonDown(x, y, flags, doubleClick)) {
        return true;
    }
    // Input switched off (the slider's own listener flag) stops the track
    // and the knob as it stops the step buttons.
    if (!isInputEnabled()) {
        return false;
    }
    const bool onKnob = knob_->hitTest(x, y);
    const bool onTrack = hitTest(x, y);
    if (enabled_ && (onKnob || onTrack)) {
        dragOffsetX_ = getAbsoluteX();
        dragOffsetY_ = getAbsoluteY();
        if (onKnob) {
            // Grabbed where it is: the knob keeps its place under the mouse.
            dragOffsetX_ += x - knobHolder_->getAbsoluteX();
            dragOffsetY_ += y - knobHolder_->getAbsoluteY();
        }
        dragTo(x, y);
        knob_->setState(Button::kPressed);
        fire();
    }
    return onKnob || onTrack;
}

bool Slider::onMouseMove(int x, int y, int flags) {
    const RefPtr<Slider> keepAlive = widget::keepAlive(this);
    if (iInputListenerContainer::onMouseMove(x, y, flags)) {
        return true;
    }
    if (!isInputEnabled() || !enabled_) {
        return false;
    }
    if (knob_->getState() == Button::kPressed) {
        dragTo(x, y);
        fire();
    } else {
        knob_->setState(knob_->hitTest(x, y) ? Button::kOver : Button::kNormal);
    }
    return false;
}

bool Slider::onLeftButtonUp(int x, int y, int flags) {
    const RefPtr<Slider> keepAlive = widget::keepAlive(this);
    if (iInputListenerContainer::onLeftButtonUp(x, y, flags)) {
        return true;
    }
    if (!isInputEnabled()) {
        return false;
    }
    if (knob_->hitTest(x, y)) {
        knob_->setState(Button::kOver);
        return true;
    }
    knob_->setState(Button::kNormal);
    return hitTest(x, y);
}

void Slider::reset() {
    iInputListenerContainer::reset();
    // A slider taken out of its container mid-drag would otherwise follow
    // the pointer, unpressed, when it is offered events again.
    if (knob_->getState() == Button::kPressed) {
        knob_->setState(Button::kNormal);
    }
}

} // namespace orv
