#include "game/dialogs/DialogBrastowHint.h"

#include "engine/core/TextUtil.h"
#include "engine/gui/Button.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogSounds.h"

#include <string>

namespace orv {

constinit const ClassRecord DialogBrastowHint::classRecord{
    "DialogBrastowHint", parentRecords<DialogOrvanta::classRecord>};

namespace {

// The tip that may say how many stars the player's room has.
constexpr int kStarsTip = 3;

} // namespace

DialogBrastowHint::DialogBrastowHint(PropertyNode* definition)
    : DialogOrvanta(definition), naturalHeight_(getHeight()) {
    if (bindComponent("BUTTON_OK", &DialogOrvanta::justClose, this)) {
        ok_ = kindCast<Button>(findComponent("BUTTON_OK"));
    }
    if (ok_ != nullptr) {
        naturalOkY_ = ok_->getY();
    }
    text_ = kindCast<Label>(findComponent("TEXT"));
    setPlaySounds(false);
}

BaseObject* DialogBrastowHint::createFromDefinition(PropertyNode* definition) {
    return new DialogBrastowHint(definition);
}

void DialogBrastowHint::open() {
    DialogOrvanta::open();
    playDialogSound("default", "SOUND_BRASTOW_HINT");
}

std::wstring DialogBrastowHint::fillTipText(std::wstring text, int tip,
                                            const std::wstring& playerName, bool twoStars) {
    replaceAll(text, L"%n", playerName, true);
    if (tip == kStarsTip) {
        replaceAll(text, L"%x", twoStars ? L"2" : L"3", true);
    }
    return text;
}

void DialogBrastowHint::showTip(int tip) {
    PlayerHook* players = getPlayerHook();
    const std::wstring name =
        players != nullptr ? players->getPlayerName().value_or(std::wstring()) : std::wstring();
    bool twoStars = false;
    if (tip == kStarsTip && players != nullptr) {
        const Game* game = Game::getCurrent();
        if (const Level* level = game != nullptr ? game->getLevel() : nullptr) {
            twoStars = players->isBestBetweenSilverAndGold(*level);
        }
    }
    const std::wstring text =
        fillTipText(getText("BRASTOW_HINT_" + std::to_string(tip)), tip, name, twoStars);
    if (text_ == nullptr) {
        return;
    }
    text_->setText(text);
    text_->relayout();
    setHeight(naturalHeight_ + text_->getHeight());
    if (ok_ != nullptr) {
        ok_->setY(naturalOkY_ + text_->getHeight());
    }
}

} // namespace orv
