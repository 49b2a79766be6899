#include "game/players/PlayerServices.h"

#include "engine/properties/PropertyStore.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"

#include <string>

namespace orv {

namespace {

OrvantaPlayer* currentProfile() {
    const PlayerManager* manager = PlayerManager::get();
    return manager != nullptr ? manager->getCurrentProfile() : nullptr;
}

bool isHintIndex(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < OrvantaPlayer::kHintCount;
}

} // namespace

bool PlayerServices::awardTrophy(int number) {
    OrvantaPlayer* player = currentProfile();
    return player != nullptr && number >= 0 &&
           player->trophies->award(static_cast<std::size_t>(number));
}

int PlayerServices::countPlayerMatch() {
    OrvantaPlayer* player = currentProfile();
    return player != nullptr ? ++player->stats.numMatches : 0;
}

bool PlayerServices::isTutorialHintPending(int index) {
    const OrvantaPlayer* player = currentProfile();
    return player != nullptr && isHintIndex(index) && player->showHints &&
           player->hintFlags.at(static_cast<std::size_t>(index));
}

void PlayerServices::completeTutorialHint(int index) {
    if (OrvantaPlayer* player = currentProfile(); player != nullptr && isHintIndex(index)) {
        player->hintFlags.at(static_cast<std::size_t>(index)) = false;
    }
}

int PlayerServices::getBestHallwayScore(int floor, int room) {
    const OrvantaPlayer* player = currentProfile();
    if (player == nullptr || floor < 1 || floor > PlayerStats::kFloors || room < 1 ||
        room > PlayerStats::kRoomsPerFloor) {
        return 0;
    }
    return player->stats.getRoom(floor, room).bestScore;
}

bool PlayerServices::loadSavedGame(int savedGameId, PropertyStore& store) {
    PlayerManager* manager = PlayerManager::get();
    const AbstractPlayer* player = manager != nullptr ? manager->getCurrentPlayer() : nullptr;
    return player != nullptr &&
           manager->loadSavedGame(player->getName(), std::to_string(savedGameId), store);
}

void PlayerServices::keepSavedGameNode(PropertyNode& game) {
    if (OrvantaPlayer* player = currentProfile()) {
        player->savedGame = &game;
    }
}

bool PlayerServices::hasUsageRecord() {
    return DataGathering::get() != nullptr;
}

void PlayerServices::addUsageRecord(PropertyNode& record) {
    DataGathering* usage = DataGathering::get();
    if (usage == nullptr) {
        return;
    }
    if (usage->isSessionClosed()) {
        const PlayerManager* manager = PlayerManager::get();
        usage->beginSession(-1, manager != nullptr ? static_cast<int>(manager->getPlayers().size())
                                                   : 0);
    }
    usage->addRecord(record);
}

std::string PlayerServices::getPlayerName() {
    const PlayerManager* manager = PlayerManager::get();
    const AbstractPlayer* player = manager != nullptr ? manager->getCurrentPlayer() : nullptr;
    return player != nullptr ? player->getName() : std::string();
}

} // namespace orv
