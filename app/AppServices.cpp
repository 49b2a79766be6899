#include "app/AppServices.h"

#include "app/OrvantaMain.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"

#include <string>

namespace orv {

void AppServices::savePlayers() {
    if (PlayerManager* players = PlayerManager::get()) {
        static_cast<void>(players->savePlayers());
    }
}

int AppServices::getPlayerCount() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? static_cast<int>(players->getPlayers().size()) : 0;
}

std::string AppServices::getCurrentPlayerName() {
    const PlayerManager* players = PlayerManager::get();
    const AbstractPlayer* player = players != nullptr ? players->getCurrentPlayer() : nullptr;
    return player != nullptr ? player->getName() : std::string();
}

bool AppServices::takeLobbyTip() {
    const PlayerManager* players = PlayerManager::get();
    OrvantaPlayer* profile = players != nullptr ? players->getCurrentProfile() : nullptr;
    if (profile == nullptr) {
        return false;
    }
    const bool show = profile->showHints && profile->hintFlags[0];
    profile->hintFlags[0] = false;
    return show;
}

void AppServices::beginSession(int gameMode, int playerCount) {
    if (DataGathering* record = DataGathering::get()) {
        record->beginSession(gameMode, playerCount);
    }
}

bool AppServices::hasSavedGame(int gameMode) {
    PlayerManager* players = PlayerManager::get();
    const AbstractPlayer* player = players != nullptr ? players->getCurrentPlayer() : nullptr;
    return player != nullptr &&
           players->savedGameExists(player->getName(), std::to_string(gameMode));
}

void AppServices::releaseSavedGame() {
    const PlayerManager* players = PlayerManager::get();
    if (OrvantaPlayer* profile = players != nullptr ? players->getCurrentProfile() : nullptr) {
        profile->releaseSavedGame();
    }
}

void AppServices::quitGame() {
    static_cast<void>(OrvantaMain::quit(OrvantaMain::getInstance(), nullptr));
}

} // namespace orv
