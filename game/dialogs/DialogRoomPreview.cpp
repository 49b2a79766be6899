#include "game/dialogs/DialogRoomPreview.h"

#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierScale.h"
#include "game/board/Layout.h"
#include "game/board/Level.h"
#include "game/board/Tile.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogSounds.h"
#include "game/dialogs/LayoutPreview.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord DialogRoomPreview::classRecord{
    "DialogRoomPreview", parentRecords<DialogOrvanta::classRecord>};

namespace {

constexpr std::string_view kSoundSection = "hallway";

std::wstring grouped(int value) {
    std::wstring out;
    groupDigits(static_cast<std::uint32_t>(std::max(value, 0)), out,
                getText("CTEXT_DIGIT_GROUPING_SYMBOL"));
    return out;
}

} // namespace

std::wstring gameTypeHeader(int gameType) {
    const RefPtr<PropertyVector> headers =
        BasicProperties::get() != nullptr ? BasicProperties::get()->getVector("GAMETYPE_HEADERS")
                                          : nullptr;
    if (!headers || gameType < 0 || gameType >= static_cast<int>(headers->size())) {
        return {};
    }
    const auto* value = kindCast<PropertyValue>(headers->at(gameType));
    return value != nullptr ? value->getText() : std::wstring();
}

DialogRoomPreview::DialogRoomPreview(PropertyNode* definition) : DialogOrvanta(definition) {
    // The preview has its own sounds and its own growth.
    setPlaySounds(false);
    setAnimateShow(false);
    getComponentRoot()->setVisible(false);
    setUseBuffer(false);
}

DialogRoomPreview::~DialogRoomPreview() = default;

BaseObject* DialogRoomPreview::createFromDefinition(PropertyNode* definition) {
    return new DialogRoomPreview(definition);
}

void DialogRoomPreview::findParts() {
    for (std::size_t i = 0; i < kPartNames.size(); ++i) {
        parts_.at(i) = kindCast<Sprite>(findComponent(kPartNames.at(i)));
    }
}

void DialogRoomPreview::setLabel(const char* name, const std::wstring& text) {
    if (auto* label = kindCast<Label>(findComponent(name))) {
        label->setText(text);
        label->relayout();
    }
}

void DialogRoomPreview::setStatistics(Level* level) {
    level_ = level;
    if (level == nullptr) {
        return;
    }
    if (level->getLayout() == nullptr) {
        level->loadLayout();
    }
    // The miniature on the ground of the room's game type, scaled by
    // PREVIEW_SCALE.
    layoutPicture_ = nullptr;
    if (level->getLayout() != nullptr) {
        LayoutPreview drawer;
        layoutPicture_ =
            drawer.draw(*level->getLayout(),
                        std::max(0, toNumber(level->getGameType())) % LayoutPreview::kBackgrounds);
    }
    if (auto* preview = kindCast<Sprite>(findComponent("SPRITE_PREVIEW"))) {
        preview->setImage(layoutPicture_.get());
        if (layoutPicture_) {
            preview->setStretchWidth(layoutPicture_->getWidth() * PREVIEW_SCALE / 100);
            preview->setStretchHeight(layoutPicture_->getHeight() * PREVIEW_SCALE / 100);
        }
    }
    setLabel("LABEL_GAMETYPE", gameTypeHeader(toNumber(level->getGameType())));
    setLabel("LABEL_SILVER", grouped(level->getSilver()));
    setLabel("LABEL_GOLD", grouped(level->getGold()));
    RoomRecord record;
    const PlayerManager* players = PlayerManager::get();
    const OrvantaPlayer* profile = players != nullptr ? players->getCurrentProfile() : nullptr;
    const int floor = level->getFloor();
    const int room = level->getRoom();
    if (profile != nullptr && floor >= 1 && floor <= PlayerStats::kFloors && room >= 1 &&
        room <= PlayerStats::kRoomsPerFloor) {
        record = profile->stats.getRoom(floor, room);
    }
    setRecord(record);
    setNeedsRefresh(true);
}

void DialogRoomPreview::setRecord(const RoomRecord& record) {
    setLabel("LABEL_BESTSCORE", record.bestScore == 0 ? L"-" : grouped(record.bestScore));
    setLabel(
        "LABEL_BESTTIME",
        record.bestTime == 0
            ? L"-"
            : formatTime(static_cast<std::uint32_t>(std::max(record.bestTime, 0)), true, false));
    setLabel("LABEL_TIMESCOMPLETED", std::to_wstring(record.levelWinCount));
    setLabel("LABEL_TIMESPLAYED", std::to_wstring(record.playCount));
}

void DialogRoomPreview::open() {
    DialogOrvanta::open();
    // A preview over the doors: the pointer goes on to what lies beneath.
    getListenerContainer().setSwallow(false);
    getListenerContainer().setInputEnabled(false);
    findParts();
    for (Sprite* part : parts_) {
        if (part != nullptr) {
            part->setAlpha(0);
        }
    }
    refreshBuffer();
    // Grow and shrink about the box's centre while its top-left corner stays
    // where the hallway put it: the parts are placed from that corner once
    // the buffer gives way to the live parts.
    setPivotFollowsAnchor(false);
    setPivotOffset(static_cast<float>(getWidth()) / 2.0F, static_cast<float>(getHeight()) / 2.0F);
    setScale(0.0F);
    setVisible(false);
    setUseBuffer(true);
    state_ = State::Hidden;
}

void DialogRoomPreview::openPreview() {
    if (state_ == State::Growing || state_ == State::Shown) {
        return;
    }
    removeAllModifiers();
    if (state_ == State::FadingOut) {
        fadePartsIn();
        return;
    }
    playDialogSound(kSoundSection, "SOUND_ROOM_PREVIEW_OPENS");
    state_ = State::Growing;
    setVisible(true);
    addModifier(holdingBack(new ModifierScale(INFO_DIALOGS_ANIM_TIME, getScale(), 1.0F)));
    addModifier(new ModifierFunction(&DialogRoomPreview::onGrown, this));
}

void DialogRoomPreview::fadePartsIn() {
    state_ = State::Growing;
    for (Sprite* part : parts_) {
        if (part == nullptr) {
            continue;
        }
        part->removeAllModifiers();
        part->addModifier(new ModifierAlpha(INFO_DIALOGS_ANIM_TIME, part->getAlpha(), 255));
    }
    addModifier(holdingBack(new ModifierDelay(INFO_DIALOGS_ANIM_TIME)));
    addModifier(new ModifierFunction(&DialogRoomPreview::onPartsIn, this));
}

void DialogRoomPreview::closePreview() {
    if (state_ == State::FadingOut || state_ == State::Shrinking || state_ == State::Hidden) {
        return;
    }
    removeAllModifiers();
    if (state_ == State::Growing) {
        shrink();
        return;
    }
    playDialogSound(kSoundSection, "SOUND_ROOM_PREVIEW_CLOSES");
    state_ = State::FadingOut;
    for (Sprite* part : parts_) {
        if (part == nullptr) {
            continue;
        }
        part->removeAllModifiers();
        part->addModifier(new ModifierAlpha(INFO_DIALOGS_ANIM_TIME, part->getAlpha(), 0));
    }
    addModifier(holdingBack(new ModifierDelay(INFO_DIALOGS_ANIM_TIME)));
    addModifier(new ModifierFunction(&DialogRoomPreview::onPartsOut, this));
}

void DialogRoomPreview::shrink() {
    state_ = State::Shrinking;
    addModifier(holdingBack(new ModifierScale(INFO_DIALOGS_ANIM_TIME, getScale(), 0.0F)));
    addModifier(new ModifierFunction(&DialogRoomPreview::onShrunk, this));
}

int DialogRoomPreview::onGrown(void* dialog, void* /*modifier*/) {
    static_cast<DialogRoomPreview*>(dialog)->fadePartsIn();
    return 0;
}

int DialogRoomPreview::onPartsIn(void* dialog, void* /*modifier*/) {
    static_cast<DialogRoomPreview*>(dialog)->state_ = State::Shown;
    return 0;
}

int DialogRoomPreview::onPartsOut(void* dialog, void* /*modifier*/) {
    static_cast<DialogRoomPreview*>(dialog)->shrink();
    return 0;
}

int DialogRoomPreview::onShrunk(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogRoomPreview*>(dialog);
    self->state_ = State::Hidden;
    self->setVisible(false);
    return 0;
}

bool DialogRoomPreview::onMouseMove(int /*x*/, int /*y*/, int /*flags*/) {
    return false;
}

bool DialogRoomPreview::onLeftButtonDown(int /*x*/, int /*y*/, int /*flags*/,
                                         bool /*doubleClick*/) {
    return false;
}

bool DialogRoomPreview::onLeftButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    return false;
}

} // namespace orv
