#pragma once

#include "game/board/DisplayValue.h"

#include <array>
#include <cstddef>
#include <vector>

namespace orv {

class PropertyNode;

/// One hallway room's record.
struct RoomRecord {
    int bestScore = 0;
    int bestTime = 0;
    int playCount = 0;
    int gameType = -1; ///< -1 until the room has been played
    int levelWinCount = 0;
};

/// One casino game type and difficulty.
struct CasinoRecord {
    int bestScore = 0;
    int bestLevel = 0;
    int playCount = 0;
    int playCountClassic = 0;
    int playCountFreeCell = 0;
    int playCountSplit = 0;
    int playCountTriple = 0;
    int playCountRiver = 0;
};

/// One recreation-room level.
struct RecRoomRecord {
    int bestTime = 0;
    int playCount = 0;
    int levelWinCount = 0;
};

/// One roof game kind (0 Speed, 1 the other types) and difficulty.
struct RoofRecord {
    int bestScore = 0;
    int bestLevel = 0;
    int playCount = 0;
};

/// The statistics inside a player's profile: the records of every place, the
/// counters that trophies and the host read, the shuffle and hint tokens and
/// a few first-time marks. Saved and loaded as the profile's "stats" node.
///
///     PlayerStats stats;
///     stats.getRoom(3, 2).levelWinCount += 1;
///     if (stats.isFloorComplete(3)) { ... }
class PlayerStats {
public:
    static constexpr int kFloors = 20;
    static constexpr int kRoomsPerFloor = 5;
    static constexpr int kCasinoTypes = 5; ///< Classic, FreeCell, Split, Triple, River
    static constexpr int kDifficulties = 3;
    static constexpr int kRoofKinds = 2;
    /// Most records a recreation-room list takes from a file (far more levels
    /// than a place offers; a damaged file cannot make it grow without end).
    static constexpr std::size_t kMaxRecRoomLevels = 1000;

    /// A new profile's statistics; the token bounds come from the tuning
    /// constants MIN_NUM_SHUFFLES, MAX_NUM_SHUFFLES, MIN_NUM_HINTS and
    /// MAX_NUM_HINTS as they are now.
    PlayerStats();

    /// The record of hallway `floor` 1-20 and `room` 1-5. Out-of-range numbers
    /// are a fault of the caller (asserted).
    [[nodiscard]] RoomRecord& getRoom(int floor, int room);
    [[nodiscard]] const RoomRecord& getRoom(int floor, int room) const;
    /// The casino record of `gameType` 0-4 and `difficulty` 0-2.
    [[nodiscard]] CasinoRecord& getCasino(int gameType, int difficulty);
    /// The recreation-room record of level `index` (0 up) of `gameType` 0-4;
    /// the list grows with zeroed records to reach it.
    [[nodiscard]] RecRoomRecord& getRecRoom(int gameType, std::size_t index);
    [[nodiscard]] const std::vector<RecRoomRecord>& getRecRoomList(int gameType) const;
    /// The roof record of `kind` 0-1 and `difficulty` 0-2.
    [[nodiscard]] RoofRecord& getRoof(int kind, int difficulty);

    /// True when all five rooms of `floor` (1-20) have been won at least once.
    [[nodiscard]] bool isFloorComplete(int floor) const;
    /// True as soon as the play counts of `gameType` summed over the hallway
    /// rooms played in it, its casino records and its recreation-room records
    /// reach `threshold`.
    [[nodiscard]] bool hasPlayCount(int gameType, int threshold) const;

    /// Adds the "stats" children to `node` in their fixed order.
    void save(PropertyNode& node) const;
    /// Reads the keys of `node` by name: a missing number reads 0, a missing
    /// record list leaves its records as they are, stored lists longer than
    /// the records are cut, and the tokens are clamped into their bounds.
    void load(const PropertyNode& node);

    std::array<RoomRecord, static_cast<std::size_t>(kFloors* kRoomsPerFloor)> rooms{};
    /// Index gameType * 3 + difficulty.
    std::array<CasinoRecord, static_cast<std::size_t>(kCasinoTypes* kDifficulties)> casino{};
    std::array<std::vector<RecRoomRecord>, static_cast<std::size_t>(kCasinoTypes)> recroom{};
    /// Index kind * 3 + difficulty.
    std::array<RoofRecord, static_cast<std::size_t>(kRoofKinds* kDifficulties)> rooftop{};

    int numMatches = 0;
    int maxBonus = 0;
    int maxCombo = 0;
    int quenbyRecord = 0;
    int recRoomRecord = 0;
    int twoStarsCount = 0;
    int threeStarsCount = 0;
    int numStuck = 0;
    int numBonusTotal = 0;
    int numGamesWon = 0;

    DisplayValue shuffleTokens;
    DisplayValue hintTokens;

    std::array<int, static_cast<std::size_t>(kFloors)> firstDoorClicked{};
    bool firstRecrLayoutClicked = false;
};

} // namespace orv
