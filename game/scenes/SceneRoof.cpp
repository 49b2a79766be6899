#include "game/scenes/SceneRoof.h"

#include "engine/core/Log.h"
#include "engine/core/RandomGenerator.h"
#include "engine/gui/Button.h"
#include "engine/gui/Switch.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "engine/scene/Panel.h"
#include "engine/scene/Sprite.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/players/HighScoreManager.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"
#include "game/scenes/BuildingServices.h"
#include "game/screen/ScreenMath.h"

namespace orv {

constinit const ClassRecord SceneRoof::classRecord{"SceneRoof",
                                                   parentRecords<ScenePlace::classRecord>};

namespace {

constexpr PlaceLook kRoofLook{"roof", "casrecroof", 0, -1, "23", 7, 3, {-1, -1, -1, -1, -1}};
constexpr int kRoofBarX = 28;
constexpr int kRoofBarY = 180;

OrvantaPlayer* roofProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

} // namespace

std::string roofTableName(bool mixed, int difficulty) {
    return makeMixedName(mixed, static_cast<int>(Place::Roof), SceneRoof::kSpeed, difficulty);
}

SceneRoof::SceneRoof(PropertyNode* definition) : ScenePlace(definition, kRoofLook) {}

SceneRoof::~SceneRoof() = default;

BaseObject* SceneRoof::createFromDefinition(PropertyNode* definition) {
    return new SceneRoof(definition);
}

void SceneRoof::setBackground() {
    Scene::setBackground();
    gameTypeLabel_ = kindCast<Label>(findComponent("LABEL_GAMETYPE"));
    previewSprite_ = kindCast<Sprite>(findComponent("SPRITE_PREVIEW"));
    buildHighScorePanel();
    static_cast<void>(bindComponent("BUTTON_START", &SceneRoof::onStart, this));
    for (std::size_t k = 0; k < kDifficultySwitches.size(); ++k) {
        if (auto* item = kindCast<Switch>(findComponent(kDifficultySwitches.at(k)))) {
            item->setTag(static_cast<int>(k));
            static_cast<void>(
                bindComponent(kDifficultySwitches.at(k), &SceneRoof::onDifficultySwitch, this));
        }
    }
    // Mixed plays one game type for the whole run, drawn here.
    static constexpr std::array<std::string_view, 2> kRoofSwitches{"SWITCH_SPEED", "SWITCH_MIXED"};
    const std::array<int, 2> tags{kSpeed, Random::nextInt(0, PlayerStats::kCasinoTypes)};
    bindTypeSwitches(kRoofSwitches, tags, &SceneRoof::onGameTypeSwitch);
    speedSwitch_ = typeSwitches_.at(0);
    mixedSwitch_ = typeSwitches_.at(1);
    buildCommon();
}

int SceneRoof::getMixedType() const {
    return mixedSwitch_ != nullptr ? mixedSwitch_->getTag() : -1;
}

Switch* SceneRoof::chosenSwitch() const {
    return gameType_ == kSpeed ? speedSwitch_ : mixedSwitch_;
}

void SceneRoof::open() {
    arrive();
    offerTipOrSavedGame();
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
    const OrvantaPlayer* profile = roofProfile();
    if (auto* expert = kindCast<Switch>(findComponent("SWITCH_EXPERT"))) {
        expert->setEnabled(profile != nullptr &&
                           profile->unlockedStuff.at(static_cast<std::size_t>(kExpertItem)) != 0);
    }
}

void SceneRoof::close() {
    SceneOrvanta::close();
    if (panel_ != nullptr) {
        panel_->setVisible(false);
    }
    leaveCommon();
}

void SceneRoof::showLevelPreview() {
    currentLevel_ = nullptr;
    const bool mixed = gameType_ != kSpeed;
    if (!mixed) {
        currentLevel_ = getLevelSets().getSpeedLevelDef(difficulty_);
    } else if (gameType_ >= 0 && gameType_ < PlayerStats::kCasinoTypes) {
        currentLevel_ =
            getLevelSets().getLevelDef(gameTypeFromNumber(gameType_), difficulty_, Place::Roof);
        if (currentLevel_) {
            currentLevel_->setMixed(true);
        }
    }
    showPreviewOf(currentLevel_.get());
    RoofRecord record;
    if (OrvantaPlayer* profile = roofProfile()) {
        record = profile->stats.getRoof(mixed ? 1 : 0, difficulty_);
    }
    fillHighScorePanel(record.bestScore, record.bestLevel, record.playCount,
                       getHighScoreTable(roofTableName(mixed, difficulty_), true), kRoofBarX,
                       kRoofBarY, "SPRITE_DIALOG_ROOF");
    showPanel(getText(mixed ? std::string("TEXT_MIXED") : gameTypeTextKey(kSpeed)));
}

int SceneRoof::onGameTypeSwitch(void* scene, void* item) {
    auto* self = static_cast<SceneRoof*>(scene);
    const int tag = static_cast<Switch*>(item)->getTag();
    self->gameType_ = tag >= 0 ? tag : Random::nextInt(0, PlayerStats::kCasinoTypes);
    self->resetHighScore();
    self->updateLook();
    return 0;
}

int SceneRoof::onDifficultySwitch(void* scene, void* item) {
    auto* self = static_cast<SceneRoof*>(scene);
    self->difficulty_ = static_cast<Switch*>(item)->getTag();
    self->resetHighScore();
    if (self->gameType_ != kNothingChosen) {
        self->showLevelPreview();
    }
    return 0;
}

int SceneRoof::onStart(void* scene, void* /*button*/) {
    auto* self = static_cast<SceneRoof*>(scene);
    self->playLevel(self->currentLevel_.get(), static_cast<int>(Place::Roof), LevelSets::kFiles[3],
                    "roof");
    return 0;
}

} // namespace orv
