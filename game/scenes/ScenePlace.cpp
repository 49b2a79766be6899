#include "game/scenes/ScenePlace.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/Button.h"
#include "engine/gui/Switch.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/Panel.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Messages.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogBrastowHint.h"
#include "game/dialogs/DialogOrvanta.h"
#include "game/dialogs/LayoutPreview.h"
#include "game/players/DataGathering.h"
#include "game/players/HighScoreEntry.h"
#include "game/players/HighScoreTable.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "game/scenes/BuildingServices.h"
#include "game/scenes/LightSweep.h"
#include "game/scenes/SceneHallway.h"
#include "game/screen/ModifierHighScoreBar.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord ScenePlace::classRecord{"ScenePlace",
                                                    parentRecords<SceneOrvanta::classRecord>};

namespace {

// The level picture on the panels, in pixels.
constexpr int kPlacePreviewWidth = 111;
constexpr int kPlacePreviewHeight = 80;
// Rows of the high-score panel stand this far apart beyond their height.
constexpr int kPlaceRowGap = 3;
constexpr int kPlaceRowStep = 20;
// The shine over a newly opened switch: a pause, then three sweeps.
constexpr int kPlaceShinePauseMs = 500;
constexpr int kPlaceShineMs = 500;
constexpr int kPlaceShinePasses = 3;
constexpr int kPlaceShineBand = 24;

OrvantaPlayer* placeProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

Modifier* placeBlocking(Modifier* modifier) {
    modifier->setFinishFlags(modifier->getFinishFlags() | Modifier::FinishHoldBack);
    return modifier;
}

std::wstring placeGrouped(int value) {
    std::wstring out;
    groupDigits(static_cast<std::uint32_t>(std::max(value, 0)), out,
                getText("CTEXT_DIGIT_GROUPING_SYMBOL"));
    return out;
}

void setPlaceLabel(Label* label, const std::wstring& text) {
    if (label != nullptr) {
        label->setText(text);
        label->relayout();
    }
}

// One pass of light over the switch whose shine modifier runs: the light
// falls only on the switch's face (the place's mask).
int placeShinePass(void* scene, void* argument) {
    auto* self = static_cast<ScenePlace*>(scene);
    auto* modifier = static_cast<Modifier*>(argument);
    auto* target = modifier != nullptr ? kindCast<Sprite>(modifier->getTarget()) : nullptr;
    GameNode* parent = target != nullptr ? target->getParent() : nullptr;
    if (parent == nullptr) {
        return 0;
    }
    const RefPtr<Image> shine = widget::findImage("SHINE", "default");
    const RefPtr<Image> mask =
        widget::findImage("SHINE_MASK_GAMEMODE", std::string(self->getLook().section));
    if (!shine) {
        return 0;
    }
    LightSweep sweep;
    sweep.image = shine.get();
    sweep.mask = mask.get();
    sweep.alpha = 220;
    const int height = shine->getHeight();
    sweep.fromX = target->getX() - kPlaceShineBand;
    sweep.toX = target->getX() + target->getWidth() + kPlaceShineBand;
    sweep.fromY = target->getY() + target->getHeight() / 2 - height / 2;
    sweep.toY = sweep.fromY;
    sweep.durationMs = kPlaceShineMs;
    sweep.clip = Rect{target->getX(), target->getY(), target->getWidth(), target->getHeight()};
    sweep.maskX = target->getX();
    sweep.maskY = target->getY();
    static_cast<void>(startLightSweep(*parent, sweep, target->getNextSibling()));
    return 0;
}

} // namespace

std::string gameTypeTextKey(int gameType) {
    return "TEXT_GAMETYPE" + std::to_string(gameType + 1);
}

int glowY(int switchY, int switchHeight, int partHeight, int shift) {
    return switchY + (switchHeight - partHeight) / 2 + shift;
}

int glowTileCount(int top, int bottom, int tileHeight) {
    if (tileHeight <= 0 || bottom <= top) {
        return 0;
    }
    return (bottom - top) / tileHeight;
}

ScenePlace::ScenePlace(PropertyNode* definition, const PlaceLook& look)
    : SceneOrvanta(definition), look_(look) {}

ScenePlace::~ScenePlace() = default;

bool ScenePlace::onKeyUp(int key) {
    if (key != static_cast<int>(platform::VK_ESCAPE)) {
        return SceneOrvanta::onKeyUp(key);
    }
    showQuitDialog();
    return true;
}

Switch* ScenePlace::getTypeSwitch(int tag) const {
    for (Switch* item : typeSwitches_) {
        if (item != nullptr && item->getTag() == tag) {
            return item;
        }
    }
    return nullptr;
}

Switch* ScenePlace::chosenSwitch() const {
    return getTypeSwitch(gameType_);
}

RefPtr<Image> ScenePlace::placeImage(std::string_view name, std::string_view section) const {
    return widget::findImage(std::string(name), std::string(section));
}

// ---- building and arriving ----------------------------------------------------

void ScenePlace::buildCommon() {
    static_cast<void>(bindComponent("BUTTON_MENU", &SceneHallway::showRoomMenu, this));
    static_cast<void>(bindComponent("BUTTON_ELEVATOR", &SceneHallway::goToElevator, this));
    static_cast<void>(bindComponent("BUTTON_CUSTOMIZE", &SceneHallway::showCustomizeDialog, this));
    static_cast<void>(bindComponent("BUTTON_TROPHIES", &SceneHallway::showTrophyRoom, this));
    menuButton_ = kindCast<Button>(findComponent("BUTTON_MENU"));
    elevatorButton_ = kindCast<Button>(findComponent("BUTTON_ELEVATOR"));
    hostPortrait_ = kindCast<Sprite>(findComponent("MR_B"));
    glowButton_ = kindCast<Sprite>(findComponent("GLOW_BUTTON"));
    glowDialog_ = kindCast<Sprite>(findComponent("GLOW_DIALOG"));
    glowMiddle_ = kindCast<Sprite>(findComponent("GLOW_MIDDLE"));
    for (Sprite* glow : {glowButton_, glowDialog_, glowMiddle_}) {
        if (glow != nullptr) {
            glow->setVisible(false);
        }
    }
}

void ScenePlace::bindTypeSwitches(std::span<const std::string_view> names,
                                  std::span<const int> tags, GuiFunction function) {
    for (std::size_t k = 0; k < names.size() && k < typeSwitches_.size(); ++k) {
        auto* item = kindCast<Switch>(findComponent(names[k]));
        typeSwitches_.at(k) = item;
        if (item == nullptr) {
            logWarning(std::string(look_.section) + ": the scene has no " + std::string(names[k]));
            continue;
        }
        item->setTag(tags[k]);
        static_cast<void>(bindComponent(names[k], function, this));
    }
}

void ScenePlace::buildHighScorePanel() {
    panel_ = kindCast<Panel>(findComponent("PANEL"));
    if (panel_ == nullptr) {
        return;
    }
    auto* bar = new GameNode(std::string_view{});
    bar->setVisible(false);
    GameTree::appendChild(bar, panel_);
    bar->addModifier(new ModifierHighScoreBar(ModifierHighScoreBar::kEndless));
    highScoreBar_ = bar;
    PropertyNode* row = asNode(getDefinition()->getChild("panel_highscore"));
    for (int i = 0; i < kHighScoreRows; ++i) {
        RefPtr<BaseObject> made(
            ObjectFactoryContainer::get().createObject(row->getTypeName(), row));
        auto* rowPanel = kindCast<Sprite>(made.get());
        if (rowPanel == nullptr) {
            logWarning(std::string(look_.section) + ": the scene has no \"panel_highscore\"");
            return;
        }
        rowPanel->setY(rowPanel->getY() + (rowPanel->getHeight() + kPlaceRowGap) * i);
        panel_->addComponent(rowPanel);
        auto* rowAsPanel = kindCast<Panel>(rowPanel);
        auto label = [rowAsPanel](std::string_view name) {
            return rowAsPanel != nullptr ? kindCast<Label>(rowAsPanel->findComponent(name))
                                         : nullptr;
        };
        highScoreRows_.at(static_cast<std::size_t>(i)) = {label("NAME"), label("LEVEL"),
                                                          label("SCORE")};
    }
}

void ScenePlace::arrive() {
    SceneOrvanta::open();
    SoundManager* sound = SoundManager::getInstance();
    ResourceManager* resources = ResourceManager::getInstance();
    if (sound != nullptr && resources != nullptr) {
        SoundStream* music = nullptr;
        {
            const platform::NamedMutexGuard guard(resources->getDataLock());
            music = kindCast<SoundStream>(resources->getLoadedObject("MUSIC_QUENBY", "music"));
        }
        if (music != nullptr) {
            sound->playMusic(1000, 1.0F, 100, music, 600, true);
        }
    }
    if (DataGathering* record = DataGathering::get()) {
        RefPtr<PropertyNode> event(new PropertyNode("", "OVCustomEvent"));
        const OrvantaPlayer* profile = placeProfile();
        event->add(new PropertyValue(
            "playerName", profile != nullptr ? profile->getName() : std::string(), true));
        event->add(new PropertyValue("floorNumber", look_.floorNumber, true));
        record->addRecord(*event);
    }
}

void ScenePlace::offerTipOrSavedGame() {
    OrvantaPlayer* profile = placeProfile();
    const auto flag = static_cast<std::size_t>(look_.hintFlag);
    if (profile != nullptr && profile->showHints && profile->hintFlags.at(flag)) {
        if (auto* tip = kindCast<DialogBrastowHint>(getDialog("DIALOG_BRASTOW_HINT"))) {
            tip->showTip(look_.hintFlag);
            showDialog(tip);
        }
    } else {
        offerSavedGame(look_.gameMode, *this);
    }
    if (profile != nullptr) {
        profile->hintFlags.at(flag) = false;
    }
}

void ScenePlace::leaveCommon() {
    for (const char* name : {"GLOW_TOP_NORMAL", "GLOW_BOTTOM_NORMAL"}) {
        if (GameNode* cap = findComponent(name)) {
            cap->setVisible(false);
        }
    }
    for (Sprite* glow : {glowMiddle_, glowButton_, glowDialog_}) {
        if (glow != nullptr) {
            glow->setVisible(false);
        }
    }
    for (Switch* item : typeSwitches_) {
        if (item != nullptr) {
            item->setChecked(false);
        }
    }
}

bool ScenePlace::openTrophyRoom(GuiFunction after) {
    const OrvantaPlayer* profile = placeProfile();
    if (profile == nullptr || !profile->trophies) {
        return false;
    }
    bool waiting = false;
    for (std::size_t i = 0; i < profile->trophies->size(); ++i) {
        waiting = waiting || profile->trophies->getState(i) == 1;
    }
    if (!waiting) {
        return false;
    }
    auto* room = kindCast<DialogOrvanta>(getDialog("DIALOG_TROPHY"));
    if (room == nullptr) {
        return false;
    }
    room->setAfterClose(after, this);
    showDialog(room);
    return true;
}

// ---- the look -------------------------------------------------------------------

void ScenePlace::updateLook() {
    const RefPtr<Image> background = placeImage("BACKGROUND", look_.section);
    Button* start = kindCast<Button>(findComponent("BUTTON_START"));
    if (gameType_ == kNothingChosen) {
        if (background && background.get() != getBackground()) {
            Dialog::setBackground(background.get());
            setNeedsRefresh(true);
            setDirty(true);
        }
        if (start != nullptr) {
            start->setVisible(false);
            start->setEnabled(false);
        }
        if (hostPortrait_ != nullptr) {
            hostPortrait_->setVisible(true);
        }
        return;
    }
    if (hostPortrait_ != nullptr) {
        hostPortrait_->setVisible(false);
    }
    // What the glow shows is what is chosen: the chosen switch shows
    // checked also when the player comes back from a game.
    Switch* chosen = chosenSwitch();
    if (chosen != nullptr && !chosen->isChecked()) {
        chosen->setChecked(true);
    }
    fillPanel();
    RefPtr<Image> copy = background ? cloneImage(*background) : nullptr;
    const RefPtr<Graphics> g = copy ? createGraphics(*copy) : nullptr;
    auto* top = kindCast<Sprite>(findComponent("GLOW_TOP_NORMAL"));
    auto* bottom = kindCast<Sprite>(findComponent("GLOW_BOTTOM_NORMAL"));
    for (Sprite* cap : {top, bottom}) {
        if (cap != nullptr) {
            cap->setVisible(true);
        }
    }
    if (chosen != nullptr && glowMiddle_ != nullptr && glowButton_ != nullptr) {
        glowMiddle_->setY(glowY(chosen->getY(), chosen->getHeight(), glowMiddle_->getHeight(),
                                look_.glowMiddleShift));
        glowButton_->setY(glowY(chosen->getY(), chosen->getHeight(), glowButton_->getHeight(),
                                look_.glowButtonShift));
        glowMiddle_->setVisible(true);
        glowButton_->setVisible(true);
    }
    if (glowDialog_ != nullptr) {
        glowDialog_->setVisible(true);
    }
    const RefPtr<Image> fill = placeImage("GLOW_FILL", look_.glowSection);
    if (g && fill && glowMiddle_ != nullptr && top != nullptr && bottom != nullptr) {
        const int x = glowMiddle_->getX();
        const int h = fill->getHeight();
        const int upper = top->getY() + top->getHeight();
        for (int k = 0; k < glowTileCount(upper, glowMiddle_->getY(), h); ++k) {
            g->drawImage(*fill, x, upper + k * h);
        }
        const int lower = glowMiddle_->getY() + glowMiddle_->getHeight();
        for (int k = 0; k < glowTileCount(lower, bottom->getY(), h); ++k) {
            g->drawImage(*fill, x, lower + k * h);
        }
    }
    if (copy) {
        Dialog::setBackground(copy.get());
        setNeedsRefresh(true);
        setDirty(true);
    }
}

void ScenePlace::enableGameTypeSwitches() {
    const OrvantaPlayer* profile = placeProfile();
    for (std::size_t k = 0; k < typeSwitches_.size(); ++k) {
        Switch* item = typeSwitches_.at(k);
        const int unlock = look_.unlockItems.at(k);
        if (item == nullptr || unlock < 0) {
            continue;
        }
        const bool open =
            profile != nullptr && profile->unlockedStuff.at(static_cast<std::size_t>(unlock)) != 0;
        item->setEnabled(open);
    }
}

void ScenePlace::showUnlockShine() {
    enableGameTypeSwitches();
    getComponentRoot()->setSuspended(false);
    OrvantaPlayer* profile = placeProfile();
    if (profile == nullptr) {
        return;
    }
    for (std::size_t k = 0; k < typeSwitches_.size(); ++k) {
        Switch* item = typeSwitches_.at(k);
        const int unlock = look_.unlockItems.at(k);
        if (unlock < 0) {
            continue;
        }
        int& state = profile->unlockedStuff.at(static_cast<std::size_t>(unlock));
        if (state != OrvantaPlayer::kNewlyOpened) {
            continue;
        }
        state = OrvantaPlayer::kOpen;
        if (item == nullptr) {
            continue;
        }
        item->removeAllModifiers();
        item->addModifier(placeBlocking(new ModifierDelay(kPlaceShinePauseMs)));
        for (int pass = 0; pass < kPlaceShinePasses; ++pass) {
            item->addModifier(placeBlocking(new ModifierDelay(kPlaceShinePauseMs)));
            item->addModifier(placeBlocking(new ModifierFunction(&placeShinePass, this)));
            item->addModifier(placeBlocking(new ModifierDelay(kPlaceShineMs)));
        }
    }
}

// ---- the high-score panel -------------------------------------------------------

void ScenePlace::resetHighScore() {
    if (highScoreBar_ != nullptr) {
        highScoreBar_->setVisible(false);
    }
    removeAllModifiers();
    highScoreBlink_ = nullptr;
}

void ScenePlace::showPanel(const std::wstring& caption) {
    if (gameTypeLabel_ != nullptr) {
        gameTypeLabel_->setText(caption);
        gameTypeLabel_->relayout();
        gameTypeLabel_->setVisible(true);
    }
    if (panel_ != nullptr) {
        panel_->setVisible(true);
    }
    if (auto* start = kindCast<Button>(findComponent("BUTTON_START"))) {
        start->setVisible(true);
        start->setEnabled(true);
    }
}

void ScenePlace::showPreviewOf(Level* level) {
    preview_ = nullptr;
    if (level != nullptr && level->getLayout() == nullptr) {
        level->loadLayout();
    }
    if (level != nullptr && level->getLayout() != nullptr) {
        LayoutPreview drawer;
        preview_ = drawer.draw(*level->getLayout(), std::max(0, toNumber(level->getGameType())) %
                                                        LayoutPreview::kBackgrounds);
    }
    if (previewSprite_ != nullptr) {
        previewSprite_->setImage(preview_.get());
        if (preview_) {
            previewSprite_->setStretchHeight(kPlacePreviewHeight);
            previewSprite_->setStretchWidth(kPlacePreviewWidth);
        }
    }
}

void ScenePlace::fillHighScorePanel(int bestScore, int bestLevel, int playCount,
                                    HighScoreTable* table, int barX, int barY,
                                    std::string_view barSprite) {
    setPlaceLabel(kindCast<Label>(findComponent("LABEL_TOPSCORE")),
                  bestScore == 0 ? std::wstring(L"-") : placeGrouped(bestScore));
    setPlaceLabel(kindCast<Label>(findComponent("LABEL_TOPLEVEL")),
                  bestLevel == 0 ? std::wstring(L"-") : std::to_wstring(bestLevel + 1));
    setPlaceLabel(kindCast<Label>(findComponent("LABEL_FINISHED")), std::to_wstring(playCount));
    OrvantaPlayer* profile = placeProfile();
    const bool pending = profile != nullptr && profile->newHighScorePending;
    for (std::size_t k = 0; k < highScoreRows_.size(); ++k) {
        const HighScoreRow& row = highScoreRows_.at(k);
        const bool filled = table != nullptr && k < table->getEntries().size();
        HighScoreEntry* entry = filled ? table->getEntries().at(k).get() : nullptr;
        const auto* reached = kindCast<OrvantaScoreEntry>(entry);
        setPlaceLabel(row.name, entry != nullptr ? stringToWide(entry->playername) : L"");
        setPlaceLabel(row.level, reached != nullptr ? std::to_wstring(reached->level + 1) : L"");
        setPlaceLabel(row.score, entry != nullptr ? placeGrouped(entry->scorevalue) : L"");
        if (entry != nullptr && pending && static_cast<int>(k) == table->getLastScore()) {
            auto* blink = new ModifierBlink(128, 255, 300, 300, 200, 0, -1);
            for (Label* label : {row.name, row.level, row.score}) {
                if (label != nullptr) {
                    blink->addExtraTarget(label);
                }
            }
            addModifier(blink);
            highScoreBlink_ = blink;
        }
    }
    const int last = table != nullptr ? table->getLastScore() : -1;
    // A new entry beyond the rows shown gets neither the bar nor the sound:
    // the bar would stand below the panel.
    if (pending && last >= 0 && last < kHighScoreRows) {
        addModifier(new ModifierSound("casrecroof", "SOUND_NEW_HIGHSCORE", true));
        if (highScoreBar_ != nullptr) {
            highScoreBar_->setVisible(true);
            if (barX >= 0) {
                highScoreBar_->setX(barX);
            }
            highScoreBar_->setY(barY + kPlaceRowStep * last);
            if (GameNode* anchor = findComponent(barSprite);
                anchor != nullptr && anchor->getParent() != nullptr) {
                GameNode* next = anchor->getNextSibling();
                if (next != highScoreBar_) {
                    if (next != nullptr) {
                        GameTree::insertBefore(highScoreBar_, next);
                    } else {
                        GameTree::appendChild(highScoreBar_, anchor->getParent());
                    }
                }
            }
            highScoreBar_->setRemovalMark(false);
        }
    }
    if (table != nullptr && last >= 0) {
        table->setLastScore(-1);
    }
    if (profile != nullptr) {
        profile->newHighScorePending = false;
    }
}

void ScenePlace::playLevel(Level* level, int place, std::string_view roomFile,
                           std::string_view placeName) {
    if (level == nullptr) {
        tellRoomUnreadable(*this, roomFile);
        return;
    }
    getBuildingServices().releaseSavedGame();
    level->setPlace(static_cast<Place>(place));
    if (level->getLayout() == nullptr) {
        level->loadLayout();
    }
    Game* game = Game::create(level->getGameType());
    if (game == nullptr || !game->setLevel(level)) {
        logWarning(std::string(placeName) + ": the level of game type " +
                   std::to_string(gameType_) + " cannot be played");
        tellRoomUnreadable(*this, level->getLayoutName());
        return;
    }
    switchScene("game", "TRANSITION_DEFAULT", "SCENE_GAME");
}

} // namespace orv
