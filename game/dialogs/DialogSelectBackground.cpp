#include "game/dialogs/DialogSelectBackground.h"

#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/Sprite.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace orv {

constinit const ClassRecord DialogSelectBackground::classRecord{
    "DialogSelectBackground", parentRecords<DialogOrvanta::classRecord>};

namespace {

// `prefix` followed by `number` in decimal.
std::string numbered(std::string_view prefix, int number) {
    std::string text(prefix);
    text.append(std::to_string(number));
    return text;
}

// An unlockable group: its choices, its entry of `unlockedStuff`, its seen flag.
struct ChoiceGroup {
    int first;
    int last;
    std::size_t entry;
    std::size_t seen;
};

constexpr std::array<ChoiceGroup, 2> kBackgroundGroups{{{3, 6, 6, 0}, {7, 10, 16, 1}}};
constexpr std::array<ChoiceGroup, 3> kTileSetGroups{{{1, 1, 2, 2}, {2, 2, 9, 3}, {3, 3, 14, 4}}};

OrvantaPlayer* chooserProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

// The group `index` belongs to, or null for a choice that is always open.
template <std::size_t N>
const ChoiceGroup* groupOf(const std::array<ChoiceGroup, N>& groups, int index) {
    for (const ChoiceGroup& group : groups) {
        if (index >= group.first && index <= group.last) {
            return &group;
        }
    }
    return nullptr;
}

// Greys a rectangle of `image` (clipped to it): grey = (3R + 6G + B) / 10.
void greyRectangle(Image& image, int x, int y, int width, int height) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(image.getWidth(), x + width);
    const int bottom = std::min(image.getHeight(), y + height);
    if (right <= left || bottom <= top || !image.lock()) {
        return;
    }
    std::uint8_t* pixels = image.getPixels();
    const bool sixteen = image.getFormat() == kFormatRgb565;
    for (int row = top; pixels != nullptr && row < bottom; ++row) {
        std::uint8_t* line = pixels + static_cast<std::ptrdiff_t>(row) * image.getPitch();
        for (int column = left; column < right; ++column) {
            if (sixteen) {
                std::uint16_t word = 0;
                std::memcpy(&word, line + column * 2, sizeof word);
                const unsigned grey =
                    (3 * ((word >> 11U) & 0x1FU) + 6 * ((word >> 6U) & 0x1FU) + (word & 0x1FU)) /
                    10;
                word = static_cast<std::uint16_t>((grey << 11U) | (grey << 6U) | grey);
                std::memcpy(line + column * 2, &word, sizeof word);
            } else {
                std::uint32_t word = 0;
                std::memcpy(&word, line + column * 4, sizeof word);
                const unsigned grey =
                    (3 * ((word >> 16U) & 0xFFU) + 6 * ((word >> 8U) & 0xFFU) + (word & 0xFFU)) /
                    10;
                word = (word & 0xFF000000U) | (grey << 16U) | (grey << 8U) | grey;
                std::memcpy(line + column * 4, &word, sizeof word);
            }
        }
    }
    image.unlock();
}

void setShown(Sprite* sprite, bool shown) {
    if (sprite != nullptr) {
        sprite->setVisible(shown);
    }
}

void blinkForever(Sprite* sprite) {
    if (sprite != nullptr) {
        sprite->addModifier(new ModifierBlink(255, 180, 1000, 1000, 0, 0, -1));
    }
}

} // namespace

DialogSelectBackground::DialogSelectBackground(PropertyNode* definition)
    : DialogOrvanta(definition) {
    const auto bind = [this](std::string_view name, GuiFunction function) {
        return bindComponent(name, function, this) ? kindCast<Button>(findComponent(name))
                                                   : nullptr;
    };
    ok_ = bind("BUTTON_OK", &DialogSelectBackground::onOk);
    bind("BUTTON_CANCEL", &DialogSelectBackground::onCancel);
    nextBackground_ = bind("BUTTON_NEXT_BACKGROUND", &DialogSelectBackground::onNextBackground);
    prevBackground_ = bind("BUTTON_PREV_BACKGROUND", &DialogSelectBackground::onPrevBackground);
    nextTileSet_ = bind("BUTTON_NEXT_TILESET", &DialogSelectBackground::onNextTileSet);
    prevTileSet_ = bind("BUTTON_PREV_TILESET", &DialogSelectBackground::onPrevTileSet);
    backgroundPreview_ = kindCast<Sprite>(findComponent("BACKGROUND_PREVIEW"));
    tileSetPreview_ = kindCast<Sprite>(findComponent("TILESET_PREVIEW"));
    backgroundLabel_ = kindCast<Label>(findComponent("LABEL_BACKGROUND"));
    tileSetLabel_ = kindCast<Label>(findComponent("LABEL_TILESET"));
    backgroundCount_ = kindCast<Label>(findComponent("LABEL_BACKGROUND_COUNT"));
    tileSetCount_ = kindCast<Label>(findComponent("LABEL_TILESET_COUNT"));
    backgroundLock_ = kindCast<Sprite>(findComponent("BACKGROUND_LOCK"));
    tileSetLock_ = kindCast<Sprite>(findComponent("TILESET_LOCK"));
    newBackground_ = kindCast<Sprite>(findComponent("NEW_BACK"));
    newTileSet_ = kindCast<Sprite>(findComponent("NEW_TILE"));
    blinkForever(newBackground_);
    blinkForever(newTileSet_);
    if (const OrvantaPlayer* player = chooserProfile(); player != nullptr) {
        // A damaged profile may hold any number: it reads as the first choice.
        background_ =
            player->background >= 0 && player->background < kBackgrounds ? player->background : 0;
        tileSet_ = player->tileset >= 0 && player->tileset < kTileSets ? player->tileset : 0;
    }
    stepBackground(0);
    stepTileSet(0);
}

BaseObject* DialogSelectBackground::createFromDefinition(PropertyNode* definition) {
    return new DialogSelectBackground(definition);
}

bool DialogSelectBackground::isBackgroundLocked(int index, const std::array<int, 20>& unlocked) {
    const ChoiceGroup* group = groupOf(kBackgroundGroups, index);
    return group != nullptr && unlocked.at(group->entry) == OrvantaPlayer::kLocked;
}

bool DialogSelectBackground::isTileSetLocked(int index, const std::array<int, 20>& unlocked) {
    const ChoiceGroup* group = groupOf(kTileSetGroups, index);
    return group != nullptr && unlocked.at(group->entry) == OrvantaPlayer::kLocked;
}

RefPtr<Image> DialogSelectBackground::previewPicture(Image& shared, bool locked, const Rect& grey) {
    if (!locked) {
        return RefPtr<Image>(&shared);
    }
    // The resource image is shared by everyone who shows it: grey a copy.
    RefPtr<Image> copy = cloneImage(shared);
    if (copy != nullptr) {
        greyRectangle(*copy, grey.x, grey.y, grey.width, grey.height);
    }
    return copy;
}

void DialogSelectBackground::showPreview(Sprite* sprite, const std::string& name, bool locked,
                                         const Rect& grey) {
    if (sprite == nullptr) {
        return;
    }
    const RefPtr<Image> shared = widget::findImage(name, "default");
    sprite->setImage(shared != nullptr ? previewPicture(*shared, locked, grey).get() : nullptr);
}

void DialogSelectBackground::stepBackground(int step) {
    const int index = background_ + step;
    if (index < 0 || index >= kBackgrounds) {
        return;
    }
    background_ = index;
    const OrvantaPlayer* player = chooserProfile();
    const std::array<int, 20> unlocked =
        player != nullptr ? player->unlockedStuff : std::array<int, 20>{};
    const bool locked = isBackgroundLocked(index, unlocked);
    showPreview(
        backgroundPreview_, numbered("BACKGROUND", index), locked,
        Rect{kBackgroundGreyX, kBackgroundGreyY, kBackgroundGreyWidth, kBackgroundGreyHeight});
    setShown(newBackground_, false);
    setShown(backgroundLock_, locked);
    if (const ChoiceGroup* group = groupOf(kBackgroundGroups, index);
        !locked && group != nullptr && unlocked.at(group->entry) == OrvantaPlayer::kNewlyOpened) {
        setShown(newBackground_, true);
        seen_.at(group->seen) = true;
    }
    refreshButtons();
    refreshLabels();
}

void DialogSelectBackground::stepTileSet(int step) {
    const int index = tileSet_ + step;
    if (index < 0 || index >= kTileSets) {
        return;
    }
    tileSet_ = index;
    const OrvantaPlayer* player = chooserProfile();
    const std::array<int, 20> unlocked =
        player != nullptr ? player->unlockedStuff : std::array<int, 20>{};
    const bool locked = isTileSetLocked(index, unlocked);
    showPreview(tileSetPreview_, numbered("TILESET", index), locked,
                Rect{kTileSetGreyX, kTileSetGreyY, kTileSetGreyWidth, kTileSetGreyHeight});
    setShown(newTileSet_, false);
    setShown(tileSetLock_, locked);
    if (const ChoiceGroup* group = groupOf(kTileSetGroups, index);
        !locked && group != nullptr && unlocked.at(group->entry) == OrvantaPlayer::kNewlyOpened) {
        setShown(newTileSet_, true);
        seen_.at(group->seen) = true;
    }
    refreshButtons();
    refreshLabels();
}

void DialogSelectBackground::refreshButtons() {
    const auto enable = [](Button* button, bool enabled) {
        if (button != nullptr) {
            button->setEnabled(enabled);
        }
    };
    enable(nextBackground_, background_ < kBackgrounds - 1);
    enable(prevBackground_, background_ > 0);
    enable(nextTileSet_, tileSet_ < kTileSets - 1);
    enable(prevTileSet_, tileSet_ > 0);
    const bool lockShown = (backgroundLock_ != nullptr && backgroundLock_->isVisible()) ||
                           (tileSetLock_ != nullptr && tileSetLock_->isVisible());
    enable(ok_, !lockShown);
}

void DialogSelectBackground::refreshLabels() {
    const auto show = [](Label* label, const std::wstring& text) {
        if (label != nullptr) {
            label->setText(text);
        }
    };
    show(backgroundLabel_, getText(numbered("TEXT_BACKGROUND", background_)));
    show(tileSetLabel_, getText(numbered("TEXT_TILESET", tileSet_)));
    show(backgroundCount_, std::to_wstring(background_ + 1) + L"/" + std::to_wstring(kBackgrounds));
    show(tileSetCount_, std::to_wstring(tileSet_ + 1) + L"/" + std::to_wstring(kTileSets));
    setNeedsRefresh(true);
}

void DialogSelectBackground::markSeen() {
    OrvantaPlayer* player = chooserProfile();
    if (player == nullptr) {
        return;
    }
    for (const auto& groups : {std::span<const ChoiceGroup>(kBackgroundGroups),
                               std::span<const ChoiceGroup>(kTileSetGroups)}) {
        for (const ChoiceGroup& group : groups) {
            if (seen_.at(group.seen)) {
                player->unlockedStuff.at(group.entry) = OrvantaPlayer::kOpen;
            }
        }
    }
}

int DialogSelectBackground::onOk(void* dialog, void* /*button*/) {
    auto* chooser = static_cast<DialogSelectBackground*>(dialog);
    chooser->markSeen();
    if (OrvantaPlayer* player = chooserProfile(); player != nullptr) {
        player->background = chooser->background_;
        player->tileset = chooser->tileSet_;
    }
    chooser->setMethod(chooser->getFunction(), chooser);
    DialogOrvanta::close(chooser);
    return 0;
}

int DialogSelectBackground::onCancel(void* dialog, void* /*button*/) {
    auto* chooser = static_cast<DialogSelectBackground*>(dialog);
    chooser->markSeen();
    chooser->setMethod(chooser->getFunction(), chooser);
    DialogOrvanta::close(chooser);
    return 0;
}

int DialogSelectBackground::onNextBackground(void* dialog, void* /*button*/) {
    static_cast<DialogSelectBackground*>(dialog)->stepBackground(1);
    return 0;
}

int DialogSelectBackground::onPrevBackground(void* dialog, void* /*button*/) {
    static_cast<DialogSelectBackground*>(dialog)->stepBackground(-1);
    return 0;
}

int DialogSelectBackground::onNextTileSet(void* dialog, void* /*button*/) {
    static_cast<DialogSelectBackground*>(dialog)->stepTileSet(1);
    return 0;
}

int DialogSelectBackground::onPrevTileSet(void* dialog, void* /*button*/) {
    static_cast<DialogSelectBackground*>(dialog)->stepTileSet(-1);
    return 0;
}

} // namespace orv
