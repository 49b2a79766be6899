#include "game/dialogs/DialogLevelInfo.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogSounds.h"

namespace orv {

constinit const ClassRecord DialogLevelInfo::classRecord{"DialogLevelInfo",
                                                         parentRecords<DialogOrvanta::classRecord>};

std::string gameTypeTextId(GameType type) {
    if (type == GameType::Invalid) {
        return {};
    }
    return "TEXT_GAMETYPE" + std::to_string(toNumber(type) + 1);
}

DialogLevelInfo::DialogLevelInfo(PropertyNode* definition)
    : DialogOrvanta(definition), naturalHeight_(getHeight()) {
    gameType_ = kindCast<Label>(findComponent("LABEL_GAMETYPE"));
    room_ = kindCast<Label>(findComponent("LABEL_ROOM"));
    setUseBuffer(true);
    setPlaySounds(false);
}

BaseObject* DialogLevelInfo::createFromDefinition(PropertyNode* definition) {
    return new DialogLevelInfo(definition);
}

void DialogLevelInfo::setInfo(const Level& level) {
    if (gameType_ != nullptr) {
        gameType_->setText(getText(gameTypeTextId(level.getGameType())));
    }
    if (room_ == nullptr) {
        return;
    }
    switch (level.getPlace()) {
    case Place::Hallway:
        room_->setText(getText("TEXT_ROOM") + L" " + std::to_wstring(level.getFloor()) +
                       std::to_wstring(level.getRoom()));
        room_->setVisible(true);
        setHeight(naturalHeight_);
        break;
    case Place::Casino:
    case Place::Roof:
        // The level's index counts from 0; players count from 1.
        room_->setText(getText("TEXT_LEVEL") + L" " + std::to_wstring(level.getIndex() + 1));
        room_->setVisible(true);
        setHeight(naturalHeight_);
        break;
    default:
        room_->setVisible(false);
        setHeight(naturalHeight_ - kNoRoomShrink);
        break;
    }
}

void DialogLevelInfo::open() {
    DialogOrvanta::open();
    playDialogSound("default", "SOUND_BRASTOW_HINT");
    // Behind the blocking fade-in: the notice stays LEVEL_INFO_DELAY ms once
    // it is fully shown.
    addModifier(new ModifierDelay(LEVEL_INFO_DELAY));
    addModifier(new ModifierFunction(&DialogLevelInfo::onDelayOver, this));
}

int DialogLevelInfo::onDelayOver(void* dialog, void* /*modifier*/) {
    return justClose(dialog, nullptr);
}

} // namespace orv
