#include "game/dialogs/DialogYesNo.h"

#include "engine/core/BaseObject.h"
#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"

namespace orv {

constinit const ClassRecord DialogYesNo::classRecord{"DialogYesNo",
                                                     parentRecords<DialogOrvanta::classRecord>};

namespace {

// Pixels a one-line question moves its parts to sit better in the frame.
constexpr int kOneLineHeaderShift = 5;
constexpr int kOneLineMessageShift = 10;
constexpr int kOneLineButtonShift = 5;

} // namespace

DialogYesNo::DialogYesNo(PropertyNode* definition)
    : DialogOrvanta(definition), naturalWidth_(getWidth()), naturalHeight_(getHeight()) {}

BaseObject* DialogYesNo::createFromDefinition(PropertyNode* definition) {
    return new DialogYesNo(definition);
}

DialogYesNo* DialogYesNo::ask(std::string_view messageKey, std::string_view headerKey,
                              void* yesContext, GuiFunction yesFunction, void* noContext,
                              GuiFunction noFunction, Scene* scene) {
    if (scene == nullptr) {
        return nullptr;
    }
    // A question asked again never reuses the old dialog object.
    if (Dialog* old = scene->findDialog(messageKey)) {
        const SceneManager* scenes = SceneManager::getInstance();
        if (scenes != nullptr && scenes->getCurrent() == scene) {
            closeDialogOfCurrentScene(messageKey);
        } else {
            scene->closeDialog(old);
        }
    }
    auto* dialog = kindCast<DialogYesNo>(scene->getDialog("DIALOG_YESNO", messageKey));
    if (dialog == nullptr) {
        return nullptr;
    }
    dialog->setQuestion(getText(messageKey), getText(headerKey), yesContext, yesFunction, noContext,
                        noFunction);
    return dialog;
}

int DialogYesNo::closeWithoutFade(void* dialog, void* /*button*/) {
    closeAtOnce(static_cast<DialogYesNo*>(dialog));
    return 0;
}

void DialogYesNo::setQuestion(const std::wstring& message, const std::wstring& header,
                              void* yesContext, GuiFunction yesFunction, void* noContext,
                              GuiFunction noFunction) {
    if (yesFunction == nullptr) {
        yesFunction = &DialogYesNo::closeWithoutFade;
        yesContext = this;
    }
    if (noFunction == nullptr) {
        noFunction = &DialogYesNo::closeWithoutFade;
        noContext = this;
    }
    if (yesContext == nullptr) {
        yesContext = this;
    }
    if (noContext == nullptr) {
        noContext = this;
    }
    messageLabel_ = kindCast<Label>(findComponent("MESSAGE"));
    headerLabel_ = kindCast<Label>(findComponent("HEADER"));
    if (bindComponent("BUTTON_YES", yesFunction, yesContext)) {
        yesButton_ = kindCast<Button>(findComponent("BUTTON_YES"));
    }
    if (bindComponent("BUTTON_NO", noFunction, noContext)) {
        noButton_ = kindCast<Button>(findComponent("BUTTON_NO"));
    }
    if (headerLabel_ == nullptr || messageLabel_ == nullptr) {
        return;
    }
    headerLabel_->setText(header);
    headerLabel_->relayout();
    messageLabel_->setText(message);
    messageLabel_->relayout();

    // A header wider than the message widens the dialog; the parts (the
    // direct children of the components, each anchored at its middle) move
    // to the new middle. Their own children keep their places in them.
    const int widen = headerLabel_->getWidth() - messageLabel_->getWidth();
    if (widen > 0) {
        setWidth(naturalWidth_ + widen);
        messageLabel_->setWidth(messageLabel_->getWidth() + widen);
        messageLabel_->relayout();
        for (GameNode* part = getComponentRoot()->getFirstChild(); part != nullptr;
             part = part->getNextSibling()) {
            part->setX(getWidth() / 2);
        }
    }

    const int height = naturalHeight_ + messageLabel_->getHeight();
    refreshBuffer();
    if (height > getHeight()) {
        setHeight(height);
    }
    for (Button* button : {yesButton_, noButton_}) {
        if (button != nullptr) {
            button->setY(getHeight() - button->getY());
        }
    }

    messageLabel_->relayout();
    if (messageLabel_->getLines().size() <= 1) {
        headerLabel_->setY(headerLabel_->getY() + kOneLineHeaderShift);
        messageLabel_->setY(messageLabel_->getY() + kOneLineMessageShift);
        for (Button* button : {yesButton_, noButton_}) {
            if (button != nullptr) {
                button->setY(button->getY() - kOneLineButtonShift);
            }
        }
    }
}

} // namespace orv
