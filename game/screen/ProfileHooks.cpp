#include "game/screen/ProfileHooks.h"

#include "engine/core/TextUtil.h"
#include "engine/properties/GameConstants.h"
#include "game/board/DisplayValue.h"
#include "game/board/Level.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/screen/LevelRecords.h"

#include <algorithm>

namespace orv {

struct ProfileScreenPlayer::Session {
    DisplayValue hints{MIN_NUM_HINTS, MIN_NUM_HINTS, std::max(MIN_NUM_HINTS, MAX_NUM_HINTS)};
    DisplayValue shuffles{MIN_NUM_SHUFFLES, MIN_NUM_SHUFFLES,
                          std::max(MIN_NUM_SHUFFLES, MAX_NUM_SHUFFLES)};
};

OrvantaPlayer* currentProfile() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

ProfileScreenPlayer::ProfileScreenPlayer() = default;

ProfileScreenPlayer::~ProfileScreenPlayer() = default;

DisplayValue& ProfileScreenPlayer::getHintTokens() {
    if (OrvantaPlayer* player = currentProfile()) {
        return player->stats.hintTokens;
    }
    if (!session_) {
        session_ = std::make_unique<Session>();
    }
    return session_->hints;
}

DisplayValue& ProfileScreenPlayer::getShuffleTokens() {
    if (OrvantaPlayer* player = currentProfile()) {
        return player->stats.shuffleTokens;
    }
    if (!session_) {
        session_ = std::make_unique<Session>();
    }
    return session_->shuffles;
}

int ProfileScreenPlayer::getFloorReached() const {
    const OrvantaPlayer* player = currentProfile();
    return player != nullptr ? player->floorReached : 0;
}

void ProfileScreenPlayer::noteBonus(int claimedThisLevel) {
    if (OrvantaPlayer* player = currentProfile()) {
        ++player->stats.numBonusTotal;
        player->stats.maxBonus = std::max(player->stats.maxBonus, claimedThisLevel);
    }
}

void ProfileScreenPlayer::noteCombo(int multiplier) {
    if (OrvantaPlayer* player = currentProfile()) {
        player->stats.maxCombo = std::max(player->stats.maxCombo, multiplier);
    }
}

std::optional<std::wstring> ProfilePlayerHook::getPlayerName() {
    const OrvantaPlayer* player = currentProfile();
    if (player == nullptr) {
        return std::nullopt;
    }
    return stringToWide(player->getName());
}

std::optional<bool> ProfilePlayerHook::getShowHints() {
    const OrvantaPlayer* player = currentProfile();
    if (player == nullptr) {
        return std::nullopt;
    }
    return player->showHints;
}

void ProfilePlayerHook::setShowHints(bool show) {
    if (OrvantaPlayer* player = currentProfile()) {
        player->showHints = show;
        if (show) {
            player->hintFlags.fill(true);
        }
    }
}

BestResult bestFor(OrvantaPlayer& player, const Level& level) {
    PlayerStats& stats = player.stats;
    const int type = static_cast<int>(level.getGameType());
    const int difficulty = level.getDifficulty();
    const bool difficultyKnown = difficulty >= 0 && difficulty < PlayerStats::kDifficulties;
    switch (level.getPlace()) {
    case Place::Hallway:
        if (level.getFloor() >= 1 && level.getFloor() <= PlayerStats::kFloors &&
            level.getRoom() >= 1 && level.getRoom() <= PlayerStats::kRoomsPerFloor) {
            const RoomRecord& room = stats.getRoom(level.getFloor(), level.getRoom());
            return {room.bestScore, room.bestTime};
        }
        break;
    case Place::RecRoom:
        if (type >= 0 && type < PlayerStats::kCasinoTypes && level.getIndex() >= 0 &&
            static_cast<std::size_t>(level.getIndex()) < stats.getRecRoomList(type).size()) {
            return {
                0, stats.getRecRoomList(type)[static_cast<std::size_t>(level.getIndex())].bestTime};
        }
        break;
    case Place::Casino:
        if (type >= 0 && type < PlayerStats::kCasinoTypes && difficultyKnown) {
            return {stats.getCasino(type, difficulty).bestScore, 0};
        }
        break;
    case Place::Roof:
        if (difficultyKnown) {
            const int kind = type >= 0 && type < PlayerStats::kCasinoTypes ? 1 : 0;
            return {stats.getRoof(kind, difficulty).bestScore, 0};
        }
        break;
    case Place::None:
        break;
    }
    return {};
}

BestResult ProfilePlayerHook::getBest(const Level& level) {
    OrvantaPlayer* player = currentProfile();
    return player != nullptr ? bestFor(*player, level) : BestResult{};
}

bool ProfilePlayerHook::isBestBetweenSilverAndGold(const Level& level) {
    OrvantaPlayer* player = currentProfile();
    if (player == nullptr || level.getPlace() != Place::Hallway) {
        return false;
    }
    return isInStarBand(bestFor(*player, level).score, level.getSilver(), level.getGold());
}

} // namespace orv
