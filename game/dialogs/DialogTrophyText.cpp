#include "game/dialogs/DialogTrophyText.h"

#include "engine/properties/GameConstants.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierVisible.h"
#include "game/dialogs/DialogTrophyInfo.h"

#include <algorithm>

namespace orv {

namespace {} // namespace

constinit const ClassRecord DialogTrophyText::classRecord{
    "DialogTrophyText", parentRecords<DialogOrvanta::classRecord>};

DialogTrophyText::DialogTrophyText(PropertyNode* definition)
    : DialogOrvanta(definition), baseHeight_(getHeight()), baseWidth_(getWidth()), baseY_(getY()) {
    header_ = kindCast<Label>(findComponent("LABEL_HEADER"));
    text_ = kindCast<Label>(findComponent("LABEL_TEXT"));
    textBaseY_ = text_ != nullptr ? text_->getY() : 0;
    setVisible(false);
    setRotation(0.0F);
    setAnchorPoint(AnchorKind::Center);
    setNotifyGameScene(false);
    setAnimateShow(false);
    setPlaySounds(false);
}

DialogTrophyText::~DialogTrophyText() = default;

BaseObject* DialogTrophyText::createFromDefinition(PropertyNode* definition) {
    return new DialogTrophyText(definition);
}

void DialogTrophyText::setTexts(std::wstring_view title, std::wstring_view description) {
    int width = 0;
    if (header_ != nullptr) {
        header_->setText(title);
        header_->relayout();
        width = header_->getTextWidth();
    }
    int textHeight = 0;
    if (text_ != nullptr) {
        text_->setText(description);
        fitLabelWidth(*text_);
        width = std::max(width, text_->getWidth());
        text_->setWidth(width);
        text_->relayout();
        textHeight = description.empty() ? 0 : text_->getHeight();
        text_->setPosition(text_->getX(), textBaseY_);
    }
    int height = baseHeight_ + textHeight;
    int top = baseY_ - textHeight;
    if (description.empty() && header_ != nullptr) {
        height -= header_->getHeight();
        top += header_->getHeight();
        if (text_ != nullptr) {
            text_->setPosition(text_->getX(), textBaseY_ - header_->getHeight());
        }
    }
    setWidth(baseWidth_ + width);
    setHeight(height);
    setPosition(getX(), top + height / 2);
    // The box stands on its middle: its parts are laid out from its corner.
    getComponentRoot()->setPosition(-getWidth() / 2, -getHeight() / 2);
}

void DialogTrophyText::show() {
    if (state_ == Appearing || state_ == Shown) {
        return;
    }
    if (state_ == FadingOut) {
        removeAllModifiers();
        fadeTextsIn();
        return;
    }
    state_ = Appearing;
    setVisible(true);
    removeAllModifiers();
    addModifier(holdingBack(new ModifierScale(INFO_DIALOGS_ANIM_TIME, getScale(), 1.0F)));
    fadeTextsIn();
}

void DialogTrophyText::fadeTextsIn() {
    state_ = Appearing;
    setUseBuffer(false);
    for (Label* label : {header_, text_}) {
        if (label != nullptr) {
            label->removeAllModifiers();
            label->addModifier(new ModifierAlpha(INFO_DIALOGS_ANIM_TIME, label->getAlpha(), 255));
        }
    }
    addModifier(holdingBack(new ModifierDelay(INFO_DIALOGS_ANIM_TIME)));
    addModifier(new ModifierFunction(&DialogTrophyText::onTextsIn, this));
}

int DialogTrophyText::onTextsIn(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogTrophyText*>(dialog);
    self->state_ = Shown;
    self->setAlpha(255);
    return 0;
}

void DialogTrophyText::hide() {
    if (state_ == Hidden || state_ == FadingOut || state_ == Shrinking) {
        return;
    }
    removeAllModifiers();
    if (state_ == Appearing) {
        shrink();
        return;
    }
    state_ = FadingOut;
    for (Label* label : {header_, text_}) {
        if (label != nullptr) {
            label->removeAllModifiers();
            label->addModifier(new ModifierAlpha(INFO_DIALOGS_ANIM_TIME, label->getAlpha(), 0));
        }
    }
    addModifier(holdingBack(new ModifierDelay(INFO_DIALOGS_ANIM_TIME)));
    addModifier(new ModifierFunction(
        [](void* dialog, void* /*modifier*/) {
            static_cast<DialogTrophyText*>(dialog)->shrink();
            return 0;
        },
        this));
}

void DialogTrophyText::shrink() {
    state_ = Shrinking;
    addModifier(holdingBack(new ModifierScale(INFO_DIALOGS_ANIM_TIME, getScale(), 0.0F)));
    addModifier(new ModifierVisible(ModifierVisible::Hide));
    addModifier(new ModifierFunction(&DialogTrophyText::onShrunk, this));
}

int DialogTrophyText::onShrunk(void* dialog, void* /*modifier*/) {
    static_cast<DialogTrophyText*>(dialog)->state_ = Hidden;
    return 0;
}

void DialogTrophyText::hideNow() {
    setVisible(false);
    setScale(0.0F);
    for (Label* label : {header_, text_}) {
        if (label != nullptr) {
            label->setAlpha(0);
        }
    }
}

} // namespace orv
