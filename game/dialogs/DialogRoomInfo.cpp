#include "game/dialogs/DialogRoomInfo.h"

#include "engine/properties/GameConstants.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierScale.h"

namespace orv {

namespace {

constexpr int kMeasureWidth = 800;

} // namespace

constinit const ClassRecord DialogRoomInfo::classRecord{"DialogRoomInfo",
                                                        parentRecords<DialogOrvanta::classRecord>};

DialogRoomInfo::DialogRoomInfo(PropertyNode* definition) : DialogOrvanta(definition) {
    text_ = kindCast<Label>(findComponent("LABEL_TEXT"));
    setVisible(false);
    setRotation(0.0F);
    setAnchorPoint(AnchorKind::Center);
    centreComponents();
    setScale(0.0F);
    if (text_ != nullptr) {
        text_->setAlpha(0);
    }
    // The trophy room shows and hides the box every frame: no sounds, no
    // fade of the base, no word to the playing screen.
    setNotifyGameScene(false);
    setAnimateShow(false);
    setPlaySounds(false);
}

DialogRoomInfo::~DialogRoomInfo() = default;

BaseObject* DialogRoomInfo::createFromDefinition(PropertyNode* definition) {
    return new DialogRoomInfo(definition);
}

void DialogRoomInfo::setText(std::wstring_view text) {
    if (text_ == nullptr) {
        return;
    }
    text_->setText(text);
    // Measured at full width: a narrower label would cut the text short.
    text_->setWidth(kMeasureWidth);
    text_->relayout();
    setWidth(text_->getTextWidth() + kMargin);
    // The label spans the box, so a centred text stays in its middle.
    text_->setWidth(getWidth());
    text_->setPosition(0, text_->getY());
    centreComponents();
}

void DialogRoomInfo::centreComponents() {
    // The box stands on its middle: its parts are laid out from its corner.
    getComponentRoot()->setPosition(-getWidth() / 2, -getHeight() / 2);
}

void DialogRoomInfo::show() {
    if (state_ == Appearing || state_ == Shown) {
        return;
    }
    removeAllModifiers();
    if (state_ == FadingOut) {
        fadeTextIn();
        return;
    }
    state_ = Appearing;
    setVisible(true);
    addModifier(holdingBack(new ModifierScale(INFO_DIALOGS_ANIM_TIME, getScale(), 1.0F)));
    addModifier(new ModifierFunction(
        [](void* dialog, void* /*modifier*/) {
            static_cast<DialogRoomInfo*>(dialog)->fadeTextIn();
            return 0;
        },
        this));
}

void DialogRoomInfo::fadeTextIn() {
    state_ = Appearing;
    if (text_ != nullptr) {
        text_->setVisible(true);
        text_->removeAllModifiers();
        text_->addModifier(new ModifierAlpha(INFO_DIALOGS_ANIM_TIME, text_->getAlpha(), 255));
    }
    addModifier(holdingBack(new ModifierDelay(INFO_DIALOGS_ANIM_TIME)));
    addModifier(new ModifierFunction(
        [](void* dialog, void* /*modifier*/) {
            auto* self = static_cast<DialogRoomInfo*>(dialog);
            self->state_ = Shown;
            self->setAlpha(255);
            return 0;
        },
        this));
}

void DialogRoomInfo::hide() {
    if (state_ == Hidden || state_ == FadingOut || state_ == Shrinking) {
        return;
    }
    removeAllModifiers();
    if (state_ == Appearing) {
        shrink();
        return;
    }
    state_ = FadingOut;
    if (text_ != nullptr) {
        text_->removeAllModifiers();
        text_->addModifier(new ModifierAlpha(INFO_DIALOGS_ANIM_TIME, text_->getAlpha(), 0));
    }
    addModifier(holdingBack(new ModifierDelay(INFO_DIALOGS_ANIM_TIME)));
    addModifier(new ModifierFunction(
        [](void* dialog, void* /*modifier*/) {
            static_cast<DialogRoomInfo*>(dialog)->shrink();
            return 0;
        },
        this));
}

void DialogRoomInfo::shrink() {
    state_ = Shrinking;
    addModifier(holdingBack(new ModifierScale(INFO_DIALOGS_ANIM_TIME, getScale(), 0.0F)));
    addModifier(new ModifierFunction(
        [](void* dialog, void* /*modifier*/) {
            static_cast<DialogRoomInfo*>(dialog)->state_ = Hidden;
            return 0;
        },
        this));
}

void DialogRoomInfo::putAway() {
    removeAllModifiers();
    state_ = Hidden;
    setVisible(false);
    setScale(0.0F);
    if (text_ != nullptr) {
        text_->removeAllModifiers();
        text_->setAlpha(0);
    }
}

} // namespace orv
