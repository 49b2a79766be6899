#include "game/scenes/SceneCasino.h"

#include "engine/core/Log.h"
#include "engine/gui/Button.h"
#include "engine/gui/Switch.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/Panel.h"
#include "engine/scene/Sprite.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"
#include "game/players/TrophyList.h"
#include "game/scenes/BuildingServices.h"
#include "game/screen/ScreenMath.h"

#include <array>

namespace orv {

constinit const ClassRecord SceneCasino::classRecord{"SceneCasino",
                                                     parentRecords<ScenePlace::classRecord>};

namespace {

// The casino's switches in switch order and the floors that open them.
constexpr PlaceLook kCasinoLook{"casino", "casino", 1, 0, "21", 5, 1, {0, 4, 7, 1, 10}};
constexpr std::array<int, 5> kCasinoTypeTags{0, 1, 2, 3, 4};
constexpr std::array<int, 3> kCasinoDifficultyTags{0, 1, 2};
// The trophies the casino's level records hold back until the player comes
// to the casino.
constexpr std::array<std::size_t, 2> kCasinoTrophies{10, 11};
constexpr int kCasinoHeldBack = 4;
constexpr int kCasinoTrophyWaitMs = 2000;
constexpr int kCasinoBarY = 201;
// The rows start 28 pixels into the panel, as on the roof.
constexpr int kCasinoBarX = 28;

OrvantaPlayer* casinoProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

} // namespace

std::string casinoTableName(int gameType, int difficulty) {
    return makeMixedName(false, static_cast<int>(Place::Casino), gameType, difficulty);
}

SceneCasino::SceneCasino(PropertyNode* definition) : ScenePlace(definition, kCasinoLook) {}

SceneCasino::~SceneCasino() = default;

BaseObject* SceneCasino::createFromDefinition(PropertyNode* definition) {
    return new SceneCasino(definition);
}

void SceneCasino::setBackground() {
    Scene::setBackground();
    gameTypeLabel_ = kindCast<Label>(findComponent("LABEL_GAMETYPE"));
    previewSprite_ = kindCast<Sprite>(findComponent("SPRITE_PREVIEW"));
    buildHighScorePanel();
    static_cast<void>(bindComponent("BUTTON_START", &SceneCasino::onStart, this));
    for (std::size_t k = 0; k < kDifficultySwitches.size(); ++k) {
        if (auto* item = kindCast<Switch>(findComponent(kDifficultySwitches.at(k)))) {
            item->setTag(kCasinoDifficultyTags.at(k));
            static_cast<void>(
                bindComponent(kDifficultySwitches.at(k), &SceneCasino::onDifficultySwitch, this));
        }
    }
    bindTypeSwitches(kTypeSwitches, kCasinoTypeTags, &SceneCasino::onGameTypeSwitch);
    buildCommon();
}

void SceneCasino::open() {
    arrive();
    resetHighScore();
    if (gameTypeLabel_ != nullptr) {
        gameTypeLabel_->setVisible(false);
    }
    if (panel_ != nullptr) {
        panel_->setVisible(false);
    }
    if (auto* difficulty = kindCast<Switch>(
            findComponent(kDifficultySwitches.at(static_cast<std::size_t>(difficulty_))))) {
        difficulty->setChecked(true);
    }
    updateLook();
    OrvantaPlayer* profile = casinoProfile();
    if (auto* expert = kindCast<Switch>(findComponent("SWITCH_EXPERT"))) {
        expert->setEnabled(profile != nullptr &&
                           profile->unlockedStuff.at(static_cast<std::size_t>(kExpertItem)) != 0);
    }
    // The casino's level records hold trophies 10 and 11 back; coming here
    // hands them to the trophy room.
    if (profile != nullptr && profile->trophies) {
        for (const std::size_t number : kCasinoTrophies) {
            if (number < profile->trophies->size() &&
                profile->trophies->getState(number) == kCasinoHeldBack) {
                profile->trophies->setState(number, 1);
            }
        }
    }
    if (openTrophyRoom(&SceneCasino::onTrophyRoomClosed)) {
        getListenerContainer().setInputEnabled(false);
        if (Dialog* room = findDialog("DIALOG_TROPHY")) {
            room->addModifier(new ModifierDelay(kCasinoTrophyWaitMs), false)
                ->setFinishFlags(Modifier::FinishHoldBack);
        }
        return;
    }
    getListenerContainer().setInputEnabled(true);
    showUnlockShine();
    offerTipOrSavedGame();
}

int SceneCasino::onTrophyRoomClosed(void* scene, void* /*dialog*/) {
    auto* self = static_cast<SceneCasino*>(scene);
    self->getListenerContainer().setInputEnabled(true);
    self->showUnlockShine();
    // The tip or the question waits for the trophy room: one dialog at a time.
    self->offerTipOrSavedGame();
    return 0;
}

void SceneCasino::close() {
    SceneOrvanta::close();
    if (panel_ != nullptr) {
        panel_->setVisible(false);
    }
    leaveCommon();
}

bool SceneCasino::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    static_cast<void>(ScenePlace::onLeftButtonDown(x, y, flags, doubleClick));
    const HiddenSpot& spot =
        kHiddenSpots.at(static_cast<std::size_t>(hiddenClickCount_ % kHiddenSpots.size()));
    if (x >= spot.x && x < spot.x + spot.width && y >= spot.y && y < spot.y + spot.height) {
        if (++hiddenClickCount_ == kHiddenClicks) {
            hiddenClickCount_ = 0;
            if (Dialog* game = getDialog("DIALOG_KILLER_STONES")) {
                showDialog(game);
            } else {
                logWarning("casino: the hidden game \"DIALOG_KILLER_STONES\" is not there");
            }
        }
    } else {
        hiddenClickCount_ = 0;
    }
    return false;
}

void SceneCasino::showLevelPreview() {
    currentLevel_ = nullptr;
    if (gameType_ >= 0 && gameType_ < PlayerStats::kCasinoTypes) {
        currentLevel_ =
            getLevelSets().getLevelDef(gameTypeFromNumber(gameType_), difficulty_, Place::Casino);
    }
    showPreviewOf(currentLevel_.get());
    CasinoRecord record;
    if (OrvantaPlayer* profile = casinoProfile();
        profile != nullptr && gameType_ >= 0 && gameType_ < PlayerStats::kCasinoTypes) {
        record = profile->stats.getCasino(gameType_, difficulty_);
    }
    fillHighScorePanel(record.bestScore, record.bestLevel, record.playCount,
                       getHighScoreTable(casinoTableName(gameType_, difficulty_), true),
                       kCasinoBarX, kCasinoBarY, "SPRITE_DIALOG_CASINO");
    showPanel(getText(gameTypeTextKey(gameType_)));
}

int SceneCasino::onGameTypeSwitch(void* scene, void* item) {
    auto* self = static_cast<SceneCasino*>(scene);
    self->gameType_ = static_cast<Switch*>(item)->getTag();
    self->hiddenClickCount_ = 0;
    self->resetHighScore();
    self->updateLook();
    return 0;
}

int SceneCasino::onDifficultySwitch(void* scene, void* item) {
    auto* self = static_cast<SceneCasino*>(scene);
    self->difficulty_ = static_cast<Switch*>(item)->getTag();
    self->resetHighScore();
    if (self->gameType_ != kNothingChosen) {
        self->showLevelPreview();
    }
    return 0;
}

int SceneCasino::onStart(void* scene, void* /*button*/) {
    auto* self = static_cast<SceneCasino*>(scene);
    self->playLevel(self->currentLevel_.get(), static_cast<int>(Place::Casino),
                    LevelSets::kFiles[0], "casino");
    return 0;
}

} // namespace orv
