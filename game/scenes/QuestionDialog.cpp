#include "game/scenes/QuestionDialog.h"

#include "engine/core/RefPtr.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"

namespace orv {

constinit const ClassRecord QuestionDialog::classRecord{"QuestionDialog",
                                                        parentRecords<Dialog::classRecord>};

QuestionDialog::QuestionDialog(PropertyNode* definition) : Dialog(definition) {}

BaseObject* QuestionDialog::createFromDefinition(PropertyNode* definition) {
    return new QuestionDialog(definition);
}

void QuestionDialog::ask(Scene& scene, std::string_view messageKey, std::string_view headerKey,
                         GuiFunction yes, void* yesContext) {
    scene_ = &scene;
    yes_ = yes;
    yesContext_ = yesContext;
    if (auto* header = kindCast<Label>(findComponent("HEADER"))) {
        header->setText(getText(headerKey));
    }
    if (auto* message = kindCast<Label>(findComponent("MESSAGE"))) {
        message->setText(getText(messageKey));
    }
    static_cast<void>(bindComponent("BUTTON_YES", &QuestionDialog::onYes, this));
    static_cast<void>(bindComponent("BUTTON_NO", &QuestionDialog::onNo, this));
}

int QuestionDialog::onYes(void* dialog, void* /*button*/) {
    auto* self = static_cast<QuestionDialog*>(dialog);
    // The scene may drop the dialog while the callback runs.
    const RefPtr<QuestionDialog> keep(self);
    const GuiFunction yes = self->yes_;
    void* context = self->yesContext_;
    if (self->scene_ != nullptr) {
        self->scene_->closeDialog(self);
    }
    if (yes != nullptr) {
        yes(context, self);
    }
    return 0;
}

int QuestionDialog::onNo(void* dialog, void* /*button*/) {
    auto* self = static_cast<QuestionDialog*>(dialog);
    if (self->scene_ != nullptr) {
        self->scene_->closeDialog(self);
    }
    return 0;
}

} // namespace orv
