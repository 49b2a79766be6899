#include "game/screen/LevelRecords.h"

#include "engine/core/RefPtr.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/players/HighScoreEntry.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"
#include "game/players/OrvantaPlayer.h"
#include "game/screen/ScreenMath.h"

#include <algorithm>

namespace orv {

namespace {

constexpr int kTrophyFirstFloor = 5;
constexpr int kTrophyFloorTen = 6;
constexpr int kTrophyTopFloor = 7;
constexpr int kTrophyCasinoFirst = 10;
constexpr int kTrophyCasinoEveryType = 11;
constexpr int kTrophyAllTwoStars = 14;
constexpr int kTrophyAllThreeStars = 15;

bool isRoom(int floor, int room) {
    return floor >= 1 && floor <= PlayerStats::kFloors && room >= 1 &&
           room <= PlayerStats::kRoomsPerFloor;
}

bool isCasinoRecord(int type, int difficulty) {
    return type >= 0 && type < PlayerStats::kCasinoTypes && difficulty >= 0 &&
           difficulty < PlayerStats::kDifficulties;
}

int typeOf(const Level& level) {
    return static_cast<int>(level.getGameType());
}

// The roof keeps Speed (kind 0) apart from the other types (kind 1).
RoofRecord* roofRecord(OrvantaPlayer& player, const Level& level) {
    const int difficulty = level.getDifficulty();
    if (difficulty < 0 || difficulty >= PlayerStats::kDifficulties) {
        return nullptr;
    }
    const int type = typeOf(level);
    const int kind = type >= 0 && type < PlayerStats::kCasinoTypes ? 1 : 0;
    return &player.stats.getRoof(kind, difficulty);
}

void holdBack(OrvantaPlayer& player, int trophy) {
    if (player.trophies != nullptr && static_cast<std::size_t>(trophy) < player.trophies->size()) {
        static_cast<void>(player.trophies->holdBack(static_cast<std::size_t>(trophy)));
    }
}

// True when every hallway room's best score passes `test` against its goals;
// a room without a level fails.
template <class Test>
bool everyRoom(const OrvantaPlayer& player, const GoalLookup& goals, Test test) {
    if (!goals) {
        return false;
    }
    for (int floor = 1; floor <= PlayerStats::kFloors; ++floor) {
        for (int room = 1; room <= PlayerStats::kRoomsPerFloor; ++room) {
            int silver = 0;
            int gold = 0;
            if (!goals(floor, room, silver, gold) ||
                !test(player.stats.getRoom(floor, room).bestScore, silver, gold)) {
                return false;
            }
        }
    }
    return true;
}

bool hasThreeStars(int best, int silver, int gold) {
    return medalGrade(best, silver, gold) == 2;
}

// The host's tip after a room's first win: on floor 1, 3 (praising the
// stars) for two or three stars, else 2; higher up, 4 unless the room has
// all three stars (then none).
int firstWinTip(int floor, int grade) {
    if (floor == 1) {
        return grade >= 1 ? 3 : 2;
    }
    return grade == 2 ? 0 : 4;
}

HallwayNews recordHallwayWin(OrvantaPlayer& player, const Level& level, const LevelOutcome& outcome,
                             const GoalLookup& goals) {
    HallwayNews news;
    const int floor = level.getFloor();
    const int roomNumber = level.getRoom();
    PlayerStats& stats = player.stats;
    stats.quenbyRecord = std::max(stats.quenbyRecord, outcome.score);
    if (!isRoom(floor, roomNumber)) {
        return news;
    }
    RoomRecord& room = stats.getRoom(floor, roomNumber);
    const int silver = level.getSilver();
    const int gold = level.getGold();
    const bool hadTwo = isInStarBand(room.bestScore, silver, gold);
    const bool hadThree = hasThreeStars(room.bestScore, silver, gold);
    room.bestScore = std::max(room.bestScore, outcome.score);
    if (room.bestTime == 0 || outcome.realTimeMs < room.bestTime) {
        room.bestTime = outcome.realTimeMs;
    }
    ++room.levelWinCount;
    if (!hadTwo && isInStarBand(room.bestScore, silver, gold)) {
        ++stats.twoStarsCount;
    }
    if (!hadThree && hasThreeStars(room.bestScore, silver, gold)) {
        ++stats.threeStarsCount;
    }
    if (room.levelWinCount == 1) {
        news.tip = firstWinTip(floor, medalGrade(room.bestScore, silver, gold));
    }
    if (room.levelWinCount == 1 && stats.isFloorComplete(floor)) {
        news.completedFloor = floor;
        player.floorReached = std::max(player.floorReached, floor + 1);
        player.unlockStuff(floor - 1);
        if (floor == 1) {
            holdBack(player, kTrophyFirstFloor);
        } else if (floor == 10) {
            holdBack(player, kTrophyFloorTen);
        } else if (floor == PlayerStats::kFloors) {
            holdBack(player, kTrophyTopFloor);
        }
    }
    if (everyRoom(player, goals, &isInStarBand)) {
        holdBack(player, kTrophyAllTwoStars);
    }
    if (everyRoom(player, goals, &hasThreeStars)) {
        holdBack(player, kTrophyAllThreeStars);
    }
    return news;
}

// True when the player has a row in the casino table of every game type at
// `difficulty`; the tables are made (with their invented rows) when missing.
bool inEveryCasinoTable(const OrvantaPlayer& player, int difficulty) {
    for (int type = 0; type < PlayerStats::kCasinoTypes; ++type) {
        const HighScoreTable* table = getHighScoreTable(
            makeMixedName(false, static_cast<int>(Place::Casino), type, difficulty), true);
        if (table == nullptr || !table->hasPlayerEntry(player.getName())) {
            return false;
        }
    }
    return true;
}

} // namespace

bool isInStarBand(int bestScore, int silver, int gold) {
    return medalGrade(bestScore, silver, gold) == 1;
}

GoalLookup levelFileGoals() {
    return [](int floor, int room, int& silver, int& gold) {
        const RefPtr<Level> level = getLevelSets().createLevel(floor, room);
        if (level == nullptr) {
            return false;
        }
        silver = level->getSilver();
        gold = level->getGold();
        return true;
    };
}

void countPlay(OrvantaPlayer& player, const Level& level) {
    PlayerStats& stats = player.stats;
    const int type = typeOf(level);
    switch (level.getPlace()) {
    case Place::Hallway:
        if (isRoom(level.getFloor(), level.getRoom())) {
            RoomRecord& room = stats.getRoom(level.getFloor(), level.getRoom());
            room.gameType = type;
            ++room.playCount;
        }
        break;
    case Place::Casino:
        if (level.getIndex() == 0 && isCasinoRecord(type, level.getDifficulty())) {
            CasinoRecord& record = stats.getCasino(type, level.getDifficulty());
            ++record.playCount;
            int* const byType[] = {&record.playCountClassic, &record.playCountFreeCell,
                                   &record.playCountSplit, &record.playCountTriple,
                                   &record.playCountRiver};
            ++*byType[type];
        }
        break;
    case Place::RecRoom:
        if (type >= 0 && type < PlayerStats::kCasinoTypes && level.getIndex() >= 0 &&
            static_cast<std::size_t>(level.getIndex()) < PlayerStats::kMaxRecRoomLevels) {
            ++stats.getRecRoom(type, static_cast<std::size_t>(level.getIndex())).playCount;
        }
        break;
    case Place::Roof:
        if (level.getIndex() == 0) {
            if (RoofRecord* record = roofRecord(player, level)) {
                ++record->playCount;
            }
        }
        break;
    case Place::None:
        break;
    }
}

bool recordLevelLost(OrvantaPlayer& player, const Level& level, const LevelOutcome& outcome) {
    const Place place = level.getPlace();
    if (place != Place::Casino && place != Place::Roof) {
        return false;
    }
    bool first = false;
    const std::string name = makeMixedName(level.isMixed(), static_cast<int>(place), typeOf(level),
                                           level.getDifficulty());
    if (HighScoreTable* table = getHighScoreTable(name, true); table != nullptr) {
        first = table->addScore(new OrvantaScoreEntry(player.getName(), outcome.score, true,
                                                      level.getIndex())) == 0;
    }
    player.newHighScorePending = true;
    PlayerStats& stats = player.stats;
    ++stats.numGamesWon;
    if (place == Place::Casino) {
        if (isCasinoRecord(typeOf(level), level.getDifficulty())) {
            CasinoRecord& record = stats.getCasino(typeOf(level), level.getDifficulty());
            record.bestScore = std::max(record.bestScore, outcome.score);
            record.bestLevel = std::max(record.bestLevel, level.getIndex());
        }
        if (first) {
            holdBack(player, kTrophyCasinoFirst);
        }
        if (inEveryCasinoTable(player, level.getDifficulty())) {
            holdBack(player, kTrophyCasinoEveryType);
        }
    } else if (RoofRecord* record = roofRecord(player, level)) {
        record->bestScore = std::max(record->bestScore, outcome.score);
        record->bestLevel = std::max(record->bestLevel, level.getIndex());
    }
    return first;
}

HallwayNews recordLevelWon(OrvantaPlayer& player, const Level& level, const LevelOutcome& outcome,
                           const GoalLookup& goals) {
    HallwayNews news;
    PlayerStats& stats = player.stats;
    const int type = typeOf(level);
    switch (level.getPlace()) {
    case Place::Hallway:
        ++stats.numGamesWon;
        news = recordHallwayWin(player, level, outcome, goals);
        break;
    case Place::Casino:
        if (isCasinoRecord(type, level.getDifficulty())) {
            CasinoRecord& record = stats.getCasino(type, level.getDifficulty());
            record.bestScore = std::max(record.bestScore, outcome.score);
        }
        break;
    case Place::RecRoom:
        stats.recRoomRecord = std::max(stats.recRoomRecord, outcome.clockTimeMs);
        ++stats.numGamesWon;
        if (type >= 0 && type < PlayerStats::kCasinoTypes && level.getIndex() >= 0 &&
            static_cast<std::size_t>(level.getIndex()) < PlayerStats::kMaxRecRoomLevels) {
            RecRoomRecord& record =
                stats.getRecRoom(type, static_cast<std::size_t>(level.getIndex()));
            if (record.bestTime == 0 || outcome.clockTimeMs < record.bestTime) {
                record.bestTime = outcome.clockTimeMs;
            }
            ++record.levelWinCount;
        }
        break;
    case Place::Roof:
        if (RoofRecord* record = roofRecord(player, level)) {
            record->bestScore = std::max(record->bestScore, outcome.score);
        }
        break;
    case Place::None:
        break;
    }
    return news;
}

} // namespace orv
