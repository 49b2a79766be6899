#include "app/AppServices.h"

#include "app/OrvantaMain.h"
#include "engine/core/TextUtil.h"
#include "game/board/GameType.h"
#include "game/board/Level.h"
#include "game/players/DataGathering.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"

#include <string>

namespace orv {

namespace {

OrvantaPlayer* currentProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

// The hallway record of `level`'s room, or null for a level outside the
// building's floors and rooms.
const RoomRecord* hallwayRecord(const OrvantaPlayer& player, const Level& level) {
    if (level.getFloor() < 1 || level.getFloor() > PlayerStats::kFloors || level.getRoom() < 1 ||
        level.getRoom() > PlayerStats::kRoomsPerFloor) {
        return nullptr;
    }
    return &player.stats.getRoom(level.getFloor(), level.getRoom());
}

} // namespace

} // namespace orv

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

std::optional<std::wstring> AppPlayerHook::getPlayerName() {
    const OrvantaPlayer* player = currentProfile();
    return player != nullptr ? std::optional<std::wstring>(stringToWide(player->getName()))
                             : std::nullopt;
}

std::optional<bool> AppPlayerHook::getShowHints() {
    const OrvantaPlayer* player = currentProfile();
    return player != nullptr ? std::optional<bool>(player->showHints) : std::nullopt;
}

void AppPlayerHook::setShowHints(bool show) {
    OrvantaPlayer* player = currentProfile();
    if (player == nullptr) {
        return;
    }
    player->showHints = show;
    if (show) {
        player->hintFlags.fill(true);
    }
}

BestResult AppPlayerHook::getBest(const Level& level) {
    OrvantaPlayer* player = currentProfile();
    if (player == nullptr) {
        return {};
    }
    const int type = static_cast<int>(level.getGameType());
    const int difficulty = level.getDifficulty();
    const bool knownDifficulty = difficulty >= 0 && difficulty < PlayerStats::kDifficulties;
    switch (level.getPlace()) {
    case Place::Hallway:
        if (const RoomRecord* room = hallwayRecord(*player, level)) {
            return {room->bestScore, room->bestTime};
        }
        return {};
    case Place::Casino:
        if (type >= 0 && type < PlayerStats::kCasinoTypes && knownDifficulty) {
            return {player->stats.getCasino(type, difficulty).bestScore, 0};
        }
        return {};
    case Place::RecRoom: {
        if (type < 0 || type >= PlayerStats::kCasinoTypes || level.getIndex() < 0) {
            return {};
        }
        const auto& list = player->stats.getRecRoomList(type);
        const auto index = static_cast<std::size_t>(level.getIndex());
        return index < list.size() ? BestResult{0, list[index].bestTime} : BestResult{};
    }
    case Place::Roof:
        if (knownDifficulty) {
            const int kind = level.getGameType() == GameType::Speed ? 0 : 1;
            return {player->stats.getRoof(kind, difficulty).bestScore, 0};
        }
        return {};
    case Place::None:
        break;
    }
    return {};
}

bool AppPlayerHook::isBestBetweenSilverAndGold(const Level& level) {
    const OrvantaPlayer* player = currentProfile();
    const RoomRecord* room = player != nullptr ? hallwayRecord(*player, level) : nullptr;
    return room != nullptr && room->bestScore > level.getSilver() &&
           room->bestScore < level.getGold();
}

} // namespace orv
