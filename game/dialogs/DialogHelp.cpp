#include "game/dialogs/DialogHelp.h"

#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"

#include <string>

namespace orv {

constinit const ClassRecord DialogHelp::classRecord{"DialogHelp",
                                                    parentRecords<DialogOrvanta::classRecord>};

DialogHelp::DialogHelp(PropertyNode* definition) : DialogOrvanta(definition) {
    back_ = kindCast<Sprite>(findComponent("BACK"));
    title_ = kindCast<Label>(findComponent("HEADER"));
    text_ = kindCast<Label>(findComponent("TEXT"));
    if (bindComponent("BUTTON_PREV", &DialogHelp::onPrevious, this)) {
        previous_ = kindCast<Button>(findComponent("BUTTON_PREV"));
    }
    if (bindComponent("BUTTON_NEXT", &DialogHelp::onNext, this)) {
        next_ = kindCast<Button>(findComponent("BUTTON_NEXT"));
    }
    static_cast<void>(bindComponent("BUTTON_OK", &DialogOrvanta::justClose, this));
    showPage(0);
}

BaseObject* DialogHelp::createFromDefinition(PropertyNode* definition) {
    return new DialogHelp(definition);
}

void DialogHelp::showPage(int page) {
    if (page < 0 || page >= kPageCount) {
        return;
    }
    page_ = page;
    if (back_ != nullptr) {
        if (ResourceManager* resources = ResourceManager::getInstance()) {
            const std::string name = "HELP_PAGE" + std::to_string(page);
            const platform::NamedMutexGuard guard(resources->getDataLock());
            if (auto* picture = kindCast<Image>(resources->getLoadedObject(name, "manual"))) {
                back_->setImage(picture);
            }
        }
    }
    // The page's words are text, beside its picture.
    if (title_ != nullptr) {
        title_->setText(getText("TEXT_HELP_TITLE" + std::to_string(page)));
    }
    if (text_ != nullptr) {
        text_->setText(getText("TEXT_HELP_PAGE" + std::to_string(page)));
    }
    if (next_ != nullptr) {
        next_->setEnabled(page < kPageCount - 1);
    }
    if (previous_ != nullptr) {
        previous_->setEnabled(page > 0);
    }
}

int DialogHelp::onPrevious(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogHelp*>(dialog);
    self->showPage(self->page_ - 1);
    return 0;
}

int DialogHelp::onNext(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogHelp*>(dialog);
    self->showPage(self->page_ + 1);
    return 0;
}

} // namespace orv
