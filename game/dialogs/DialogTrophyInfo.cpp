#include "game/dialogs/DialogTrophyInfo.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/system/Platform.h"
#include "game/dialogs/DialogSounds.h"
#include "game/players/TrophyList.h"

#include <algorithm>
#include <utility>

namespace orv {

namespace {

constexpr int kInfoScreenWidth = 800;
constexpr int kSlideMs = 500;
constexpr int kWidthStep = 50;
constexpr std::size_t kMostLines = 2;

} // namespace

constinit const ClassRecord DialogTrophyInfo::classRecord{
    "DialogTrophyInfo", parentRecords<DialogOrvanta::classRecord>};

int fitLabelWidth(Label& label) {
    int width = kWidthStep;
    for (; width < kInfoScreenWidth; width += kWidthStep) {
        label.setWidth(width);
        label.relayout();
        if (label.getLines().size() <= kMostLines) {
            break;
        }
    }
    // A text too long even at the widest try stays at that width.
    width = std::min(width, kInfoScreenWidth - kWidthStep);
    if (label.getWidth() != width) {
        label.setWidth(width);
        label.relayout();
    }
    return width;
}

DialogTrophyInfo::DialogTrophyInfo(PropertyNode* definition)
    : DialogOrvanta(definition), baseWidth_(getWidth()) {
    header_ = kindCast<Label>(findComponent("LABEL_HEADER"));
    text_ = kindCast<Label>(findComponent("LABEL_TEXT"));
    trophy_ = kindCast<Sprite>(findComponent("SPRITE_TROPHY"));
    setUseBuffer(false);
    // The box announces; it does not hold the board. Were it to count as a
    // dialog over the board, the screen would refuse every trophy earned
    // while it is up.
    setNotifyGameScene(false);
    setAnimateShow(false);
    setPlaySounds(false);
}

DialogTrophyInfo::~DialogTrophyInfo() = default;

BaseObject* DialogTrophyInfo::createFromDefinition(PropertyNode* definition) {
    return new DialogTrophyInfo(definition);
}

void DialogTrophyInfo::setTrophy(const TrophyInfo& trophy) {
    const TrophyInfoEntry& shelf = trophy.entry(0);
    const TrophyInfoEntry& award = trophy.entry(1);
    // The trophy pictures' section may still be loading in the background:
    // the picture is loaded now if it has to be.
    RefPtr<Image> picture;
    if (ResourceManager* resources = ResourceManager::getInstance();
        resources != nullptr && !shelf.image.empty()) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        picture = kindCast<Image>(resources->getLoadedObject(shelf.image, "trophy"));
    }
    setContent(formatTrophyText(award.textId),
               formatTrophyHeader(award.headerId, award.textId, false), picture.get());
}

void DialogTrophyInfo::setContent(std::wstring header, std::wstring text, Image* picture) {
    headerText_ = std::move(header);
    bodyText_ = std::move(text);
    picture_ = picture;
}

void DialogTrophyInfo::fitTexts() {
    int textWidth = 0;
    if (header_ != nullptr) {
        header_->setText(headerText_);
        header_->relayout();
        textWidth = header_->getTextWidth();
    }
    if (text_ != nullptr) {
        text_->setText(bodyText_);
        fitLabelWidth(*text_);
        textWidth = std::max(textWidth, text_->getWidth());
        text_->setWidth(textWidth);
    }
    if (header_ != nullptr) {
        header_->setWidth(textWidth);
    }
    int pictureWidth = 0;
    if (trophy_ != nullptr) {
        trophy_->setImage(picture_.get());
        pictureWidth = trophy_->getWidth();
    }
    setWidth(baseWidth_ + pictureWidth + textWidth);
}

void DialogTrophyInfo::open() {
    leaving_ = false;
    DialogOrvanta::open();
    playDialogSound("game", "SOUND_TROPHY_AWARDED");
    fitTexts();
    const int middle = (kInfoScreenWidth - getWidth()) / 2;
    setPosition(-getWidth(), getY());
    addModifier(
        holdingBack(new ModifierLocationLine(-getWidth(), getY(), middle, getY(), kSlideMs, true)));
    addModifier(holdingBack(new ModifierDelay(TROPHY_INFO_SHOW_TIME)));
    addModifier(new ModifierFunction(
        [](void* dialog, void* /*modifier*/) {
            auto* self = static_cast<DialogTrophyInfo*>(dialog);
            self->slideOut(self->getX());
            return 0;
        },
        this));
}

bool DialogTrophyInfo::onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) {
    if (!leaving_ && hitTest(x, y)) {
        removeAllModifiers();
        slideOut(getX());
    }
    return false;
}

void DialogTrophyInfo::slideOut(int x) {
    leaving_ = true;
    addModifier(
        holdingBack(new ModifierLocationLine(x, getY(), kInfoScreenWidth, getY(), kSlideMs, true)));
    addModifier(new ModifierFunction(&DialogTrophyInfo::onSlidOut, this));
}

int DialogTrophyInfo::onSlidOut(void* dialog, void* /*modifier*/) {
    closeAtOnce(static_cast<DialogTrophyInfo*>(dialog));
    return 0;
}

} // namespace orv
