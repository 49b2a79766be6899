#include "game/dialogs/DialogNotice.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Platform.h"

namespace orv {

constinit const ClassRecord DialogNotice::classRecord{"DialogNotice",
                                                      parentRecords<DialogOrvanta::classRecord>};

namespace {

// After a notice has faded out: the next one, in the scene now shown.
int showNextNotice(void* /*context*/, void* /*dialog*/) {
    if (SceneManager* scenes = SceneManager::getInstance()) {
        if (Scene* scene = scenes->getCurrentScene()) {
            DialogNotice::showWaiting(*scene);
        }
    }
    return 0;
}

} // namespace

DialogNotice::DialogNotice(PropertyNode* definition)
    : DialogOrvanta(definition), naturalHeight_(getHeight()) {
    if (bindComponent("BUTTON_OK", &DialogNotice::onOk, this)) {
        ok_ = kindCast<Button>(findComponent("BUTTON_OK"));
    }
    if (ok_ != nullptr) {
        naturalOkY_ = ok_->getY();
    }
    message_ = kindCast<Label>(findComponent("MESSAGE"));
}

BaseObject* DialogNotice::createFromDefinition(PropertyNode* definition) {
    return new DialogNotice(definition);
}

std::wstring DialogNotice::fillNoticeText(std::wstring text, const PlayerNotice& notice) {
    replaceAll(text, L"%n", platform::utf8ToWide(notice.player), true);
    replaceAll(text, L"%f", platform::utf8ToWide(notice.file), true);
    replaceAll(text, L"%r", platform::utf8ToWide(notice.reason), true);
    return text;
}

void DialogNotice::setNotice(const PlayerNotice& notice) {
    if (message_ == nullptr) {
        return;
    }
    message_->setText(fillNoticeText(getText(getPlayerNoticeTextKey(notice.kind)), notice));
    message_->relayout();
    setHeight(naturalHeight_ + message_->getHeight());
    if (ok_ != nullptr) {
        ok_->setY(naturalOkY_ + message_->getHeight());
    }
}

bool DialogNotice::showWaiting(Scene& scene) {
    if (scene.isDialogOpen(kName)) {
        return true;
    }
    while (std::optional<PlayerNotice> notice = takePlayerNotice()) {
        auto* dialog = kindCast<DialogNotice>(scene.getDialog(kName));
        if (dialog == nullptr) {
            logWarning(std::string(kName) + " is not defined: a notice for the player about " +
                       notice->file + " is not shown");
            continue;
        }
        dialog->setNotice(*notice);
        dialog->setAfterClose(&showNextNotice, nullptr);
        scene.showDialog(dialog);
        return true;
    }
    return false;
}

int DialogNotice::onOk(void* dialog, void* /*button*/) {
    DialogOrvanta::close(static_cast<DialogNotice*>(dialog));
    return 0;
}

} // namespace orv
