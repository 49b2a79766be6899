#include "game/scenes/SceneRecRoom.h"

#include "engine/gui/Switch.h"
#include "game/board/LevelSets.h"
#include "game/dialogs/DialogLayoutPreview.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"
#include "game/players/TrophyList.h"

#include <array>

namespace orv {

constinit const ClassRecord SceneRecRoom::classRecord{"SceneRecRoom",
                                                      parentRecords<ScenePlace::classRecord>};

namespace {

constexpr PlaceLook kRecRoomLook{"recroom", "casrecroof", 0, -1, "22", 6, 2, {3, 12, 11, 5, 8}};
constexpr std::array<int, 5> kRecRoomTypeTags{0, 1, 2, 3, 4};

OrvantaPlayer* recRoomProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

} // namespace

bool allTypesHaveWonLayout(const OrvantaPlayer& player) {
    for (int type = 0; type < PlayerStats::kCasinoTypes; ++type) {
        std::vector<RefPtr<Level>> levels;
        const int count = getLevelSets().createRecRoomLevels(type, levels);
        const std::vector<RecRoomRecord>& records = player.stats.getRecRoomList(type);
        bool won = false;
        for (int k = 0; k < count && !won; ++k) {
            won = static_cast<std::size_t>(k) < records.size() &&
                  records.at(static_cast<std::size_t>(k)).levelWinCount > 0;
        }
        if (!won) {
            return false;
        }
    }
    return true;
}

SceneRecRoom::SceneRecRoom(PropertyNode* definition) : ScenePlace(definition, kRecRoomLook) {}

SceneRecRoom::~SceneRecRoom() = default;

BaseObject* SceneRecRoom::createFromDefinition(PropertyNode* definition) {
    return new SceneRecRoom(definition);
}

void SceneRecRoom::setBackground() {
    Scene::setBackground();
    bindTypeSwitches(kTypeSwitches, kRecRoomTypeTags, &SceneRecRoom::onGameTypeSwitch);
    buildCommon();
}

void SceneRecRoom::open() {
    arrive();
    updateLook();
    OrvantaPlayer* profile = recRoomProfile();
    if (profile != nullptr && profile->trophies && kAllTypesTrophy < profile->trophies->size() &&
        profile->trophies->getState(kAllTypesTrophy) == 0 && allTypesHaveWonLayout(*profile)) {
        profile->trophies->setState(kAllTypesTrophy, 1);
        if (openTrophyRoom(&SceneRecRoom::onTrophyRoomClosed)) {
            // The tip or the question follows when the trophy room closes.
            return;
        }
    }
    showUnlockShine();
    offerTipOrSavedGame();
}

int SceneRecRoom::onTrophyRoomClosed(void* scene, void* /*dialog*/) {
    auto* self = static_cast<SceneRecRoom*>(scene);
    self->showUnlockShine();
    self->offerTipOrSavedGame();
    return 0;
}

void SceneRecRoom::close() {
    SceneOrvanta::close();
    if (layoutChooser_ != nullptr) {
        DialogOrvanta::closeAtOnce(layoutChooser_);
        layoutChooser_ = nullptr;
    }
    leaveCommon();
}

void SceneRecRoom::fillPanel() {
    levels_.clear();
    static_cast<void>(getLevelSets().createRecRoomLevels(gameType_, levels_));
    if (layoutChooser_ == nullptr) {
        layoutChooser_ = kindCast<DialogLayoutPreview>(getDialog("DIALOG_LAYOUTPREVIEW"));
        if (layoutChooser_ == nullptr) {
            return;
        }
        showDialog(layoutChooser_);
    }
    layoutChooser_->setLayouts(gameType_, levels_);
    layoutChooser_->showPage(0);
    layoutChooser_->updatePageButtons();
}

int SceneRecRoom::onGameTypeSwitch(void* scene, void* item) {
    auto* self = static_cast<SceneRecRoom*>(scene);
    self->gameType_ = static_cast<Switch*>(item)->getTag();
    self->updateLook();
    return 0;
}

} // namespace orv
