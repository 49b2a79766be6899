#include "game/dialogs/DialogCredits.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "game/dialogs/DialogHooks.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord DialogCredits::classRecord{"DialogCredits",
                                                       parentRecords<DialogOrvanta::classRecord>};
constinit const ClassRecord DialogGameOver::classRecord{"DialogGameOver",
                                                        parentRecords<DialogOrvanta::classRecord>};

namespace {

// The integer `key` of `definition`; 0 when missing.
int readInteger(const PropertyNode& definition, std::string_view key) {
    const AbstractProperty* child = definition.getChild(key);
    return child != nullptr && child->isValue() ? definition.getValue(key)->getInt() : 0;
}

} // namespace

DialogCredits::DialogCredits(PropertyNode* definition) : DialogOrvanta(definition) {
    const PropertyNode& source = *getDefinition();
    clipHeight_ = readInteger(source, "clipheight");
    scrollDuration_ = readInteger(source, "scrollduration");
    startDelay_ = readInteger(source, "startdelay");
    endDelay_ = readInteger(source, "enddelay");
    static_cast<void>(bindComponent("BUTTON_OK", &DialogOrvanta::justClose, this));
    message_ = kindCast<Label>(findComponent("MESSAGE"));
    if (message_ == nullptr) {
        return;
    }
    message_->relayout();
    // The window is where the definition puts the text; the text starts
    // with its first lines in the window and stops when its last lines
    // reach the window's bottom (a text that fits does not move).
    startY_ = message_->getY();
    endY_ = startY_ - std::max(0, message_->getHeight() - clipHeight_);
    message_->setClipRect(message_->getX() - message_->getWidth(), startY_,
                          3 * message_->getWidth(), clipHeight_);
    message_->addModifier(new ModifierDelay(startDelay_));
    auto* scroll = new ModifierLocationLine(message_->getX(), startY_, message_->getX(), endY_,
                                            scrollDuration_, false);
    scroll->setFinishFlags(Modifier::FinishHoldBack);
    message_->addModifier(scroll);
    message_->addModifier(new ModifierDelay(endDelay_));
    message_->addModifier(new ModifierFunction(&DialogCredits::onFinished, this));
}

BaseObject* DialogCredits::createFromDefinition(PropertyNode* definition) {
    return new DialogCredits(definition);
}

int DialogCredits::onFinished(void* dialog, void* /*modifier*/) {
    return justClose(dialog, nullptr);
}

DialogGameOver::DialogGameOver(PropertyNode* definition) : DialogOrvanta(definition) {
    static_cast<void>(bindComponent("BUTTON_CONTINUE", &DialogGameOver::onContinue, this));
}

BaseObject* DialogGameOver::createFromDefinition(PropertyNode* definition) {
    return new DialogGameOver(definition);
}

int DialogGameOver::onContinue(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogGameOver*>(dialog);
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->startLevel();
    }
    self->setMethod(self->getFunction(), self);
    close(self);
    return 0;
}

} // namespace orv
