#include "game/players/PlayerStats.h"

#include "engine/core/TextUtil.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"

#include <algorithm>
#include <cassert>
#include <span>
#include <string_view>

namespace orv {

namespace {

template <class Record>
struct Field {
    std::string_view key;
    int Record::*member;
};

// The keys of each record kind in the order they are written.
constexpr std::array<Field<RoomRecord>, 5> kRoomFields{{
    {"bestScore", &RoomRecord::bestScore},
    {"bestTime", &RoomRecord::bestTime},
    {"playCount", &RoomRecord::playCount},
    {"levelWinCount", &RoomRecord::levelWinCount},
    {"gameType", &RoomRecord::gameType},
}};
constexpr std::array<Field<CasinoRecord>, 8> kCasinoFields{{
    {"bestScore", &CasinoRecord::bestScore},
    {"bestLevel", &CasinoRecord::bestLevel},
    {"playCount", &CasinoRecord::playCount},
    {"playCountClassic", &CasinoRecord::playCountClassic},
    {"playCountFreeCell", &CasinoRecord::playCountFreeCell},
    {"playCountSplit", &CasinoRecord::playCountSplit},
    {"playCountTriple", &CasinoRecord::playCountTriple},
    {"playCountRiver", &CasinoRecord::playCountRiver},
}};
constexpr std::array<Field<RecRoomRecord>, 3> kRecRoomFields{{
    {"bestTime", &RecRoomRecord::bestTime},
    {"playCount", &RecRoomRecord::playCount},
    {"levelWinCount", &RecRoomRecord::levelWinCount},
}};
constexpr std::array<Field<RoofRecord>, 3> kRoofFields{{
    {"bestScore", &RoofRecord::bestScore},
    {"bestLevel", &RoofRecord::bestLevel},
    {"playCount", &RoofRecord::playCount},
}};
constexpr std::array<Field<PlayerStats>, 10> kCounterFields{{
    {"numMatches", &PlayerStats::numMatches},
    {"maxCombo", &PlayerStats::maxCombo},
    {"maxBonus", &PlayerStats::maxBonus},
    {"quenbyRecord", &PlayerStats::quenbyRecord},
    {"recRoomRecord", &PlayerStats::recRoomRecord},
    {"twoStarsCount", &PlayerStats::twoStarsCount},
    {"threeStarsCount", &PlayerStats::threeStarsCount},
    {"numStuck", &PlayerStats::numStuck},
    {"numBonusTotal", &PlayerStats::numBonusTotal},
    {"numGamesWon", &PlayerStats::numGamesWon},
}};

constexpr std::size_t kFloorCount = PlayerStats::kFloors;
constexpr std::size_t kRoomCount = PlayerStats::kRoomsPerFloor;
constexpr std::size_t kTypeCount = PlayerStats::kCasinoTypes;
constexpr std::size_t kDifficultyCount = PlayerStats::kDifficulties;
constexpr std::size_t kRoofKindCount = PlayerStats::kRoofKinds;

template <class Record, std::size_t N>
void writeRecord(PropertyVector& list, const Record& record,
                 const std::array<Field<Record>, N>& fields) {
    auto* node = new PropertyNode("", "Data");
    list.add(node);
    for (const Field<Record>& field : fields) {
        node->add(new PropertyValue(field.key, record.*field.member));
    }
}

template <class Record, std::size_t N>
void readRecord(const PropertyNode& node, Record& record,
                const std::array<Field<Record>, N>& fields) {
    for (const Field<Record>& field : fields) {
        record.*field.member = node.getValue(field.key)->getInt();
    }
}

// The stored vector `key` of `node`, or null when it is missing or no vector
// (the records then keep their values).
const PropertyVector* storedVector(const PropertyNode& node, std::string_view key) {
    const AbstractProperty* child = node.getChild(key);
    return child != nullptr && child->isVector() ? static_cast<const PropertyVector*>(child)
                                                 : nullptr;
}

// The element `index` of `list` when it is a node, else null.
const PropertyNode* nodeAt(const PropertyVector& list, std::size_t index) {
    const AbstractProperty* element = list.at(static_cast<std::ptrdiff_t>(index));
    return element != nullptr && element->isNode() ? static_cast<const PropertyNode*>(element)
                                                   : nullptr;
}

// Reads a grid stored as outer[i][j], handing each record node found to
// `read(i, j, node)`; stored rows and columns beyond the grid are ignored.
// Position (outer, inner) of a grid stored row after row.
std::size_t gridIndex(int outer, int columns, int inner) {
    return static_cast<std::size_t>(outer) * static_cast<std::size_t>(columns) +
           static_cast<std::size_t>(inner);
}

template <class Read>
void readGrid(const PropertyNode& node, std::string_view key, std::size_t rows, std::size_t columns,
              Read read) {
    const PropertyVector* outer = storedVector(node, key);
    if (outer == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < std::min(rows, outer->size()); ++i) {
        const PropertyVector* inner = asVector(outer->at(static_cast<std::ptrdiff_t>(i)));
        for (std::size_t j = 0; j < std::min(columns, inner->size()); ++j) {
            if (const PropertyNode* record = nodeAt(*inner, j)) {
                read(i, j, *record);
            }
        }
    }
}

} // namespace

PlayerStats::PlayerStats()
    : shuffleTokens(0, MIN_NUM_SHUFFLES, MAX_NUM_SHUFFLES),
      hintTokens(0, MIN_NUM_HINTS, MAX_NUM_HINTS) {
    firstDoorClicked.fill(-1);
}

RoomRecord& PlayerStats::getRoom(int floor, int room) {
    assert(floor >= 1 && floor <= kFloors && room >= 1 && room <= kRoomsPerFloor);
    return rooms.at(gridIndex(floor - 1, kRoomsPerFloor, room - 1));
}

const RoomRecord& PlayerStats::getRoom(int floor, int room) const {
    assert(floor >= 1 && floor <= kFloors && room >= 1 && room <= kRoomsPerFloor);
    return rooms.at(gridIndex(floor - 1, kRoomsPerFloor, room - 1));
}

CasinoRecord& PlayerStats::getCasino(int gameType, int difficulty) {
    assert(gameType >= 0 && gameType < kCasinoTypes && difficulty >= 0 &&
           difficulty < kDifficulties);
    return casino.at(gridIndex(gameType, kDifficulties, difficulty));
}

RecRoomRecord& PlayerStats::getRecRoom(int gameType, std::size_t index) {
    assert(gameType >= 0 && gameType < kCasinoTypes);
    std::vector<RecRoomRecord>& list = recroom.at(static_cast<std::size_t>(gameType));
    if (list.size() <= index) {
        list.resize(index + 1);
    }
    return list[index];
}

const std::vector<RecRoomRecord>& PlayerStats::getRecRoomList(int gameType) const {
    return recroom.at(static_cast<std::size_t>(gameType));
}

RoofRecord& PlayerStats::getRoof(int kind, int difficulty) {
    assert(kind >= 0 && kind < kRoofKinds && difficulty >= 0 && difficulty < kDifficulties);
    return rooftop.at(gridIndex(kind, kDifficulties, difficulty));
}

bool PlayerStats::isFloorComplete(int floor) const {
    if (floor < 1 || floor > kFloors) {
        return false;
    }
    for (int room = 1; room <= kRoomsPerFloor; ++room) {
        if (getRoom(floor, room).levelWinCount < 1) {
            return false;
        }
    }
    return true;
}

bool PlayerStats::hasPlayCount(int gameType, int threshold) const {
    long long sum = 0;
    for (const RoomRecord& room : rooms) {
        if (room.gameType == gameType) {
            sum += room.playCount;
            if (sum >= threshold) {
                return true;
            }
        }
    }
    if (gameType < 0 || gameType >= kCasinoTypes) {
        return false;
    }
    for (int difficulty = 0; difficulty < kDifficulties; ++difficulty) {
        sum += casino.at(gridIndex(gameType, kDifficulties, difficulty)).playCount;
        if (sum >= threshold) {
            return true;
        }
    }
    for (const RecRoomRecord& level : getRecRoomList(gameType)) {
        sum += level.playCount;
        if (sum >= threshold) {
            return true;
        }
    }
    return false;
}

void PlayerStats::save(PropertyNode& node) const {
    auto* roomList = static_cast<PropertyVector*>(node.add(new PropertyVector("rooms")));
    for (std::size_t floor = 0; floor < kFloorCount; ++floor) {
        auto* rowList = static_cast<PropertyVector*>(roomList->add(new PropertyVector("_")));
        for (std::size_t room = 0; room < kRoomCount; ++room) {
            writeRecord(*rowList, rooms.at(floor * kRoomCount + room), kRoomFields);
        }
    }
    // The file keeps the casino and the roof by difficulty first.
    auto* casinoList = static_cast<PropertyVector*>(node.add(new PropertyVector("casino")));
    for (std::size_t difficulty = 0; difficulty < kDifficultyCount; ++difficulty) {
        auto* rowList = static_cast<PropertyVector*>(casinoList->add(new PropertyVector("_")));
        for (std::size_t type = 0; type < kTypeCount; ++type) {
            writeRecord(*rowList, casino.at(type * kDifficultyCount + difficulty), kCasinoFields);
        }
    }
    auto* recroomList = static_cast<PropertyVector*>(node.add(new PropertyVector("recroom")));
    for (const std::vector<RecRoomRecord>& levels : recroom) {
        auto* rowList = static_cast<PropertyVector*>(recroomList->add(new PropertyVector("")));
        for (const RecRoomRecord& level : levels) {
            writeRecord(*rowList, level, kRecRoomFields);
        }
    }
    auto* roofList = static_cast<PropertyVector*>(node.add(new PropertyVector("rooftop")));
    for (std::size_t difficulty = 0; difficulty < kDifficultyCount; ++difficulty) {
        auto* rowList = static_cast<PropertyVector*>(roofList->add(new PropertyVector("_")));
        for (std::size_t kind = 0; kind < kRoofKindCount; ++kind) {
            writeRecord(*rowList, rooftop.at(kind * kDifficultyCount + difficulty), kRoofFields);
        }
    }
    for (std::size_t floor = 0; floor < kFloorCount; ++floor) {
        node.add(new PropertyValue("firstDoorClicked_" + std::to_string(floor),
                                   firstDoorClicked.at(floor)));
    }
    for (const Field<PlayerStats>& field : kCounterFields) {
        node.add(new PropertyValue(field.key, this->*field.member));
    }
    node.add(new PropertyValue("shuffleTokens", shuffleTokens.getValue()));
    node.add(new PropertyValue("hintTokens", hintTokens.getValue()));
    node.addNamedBool("firstRecrLayoutClicked", firstRecrLayoutClicked, false);
}

void PlayerStats::load(const PropertyNode& node) {
    readGrid(node, "rooms", kFloorCount, kRoomCount,
             [this](std::size_t floor, std::size_t room, const PropertyNode& record) {
                 readRecord(record, rooms.at(floor * kRoomCount + room), kRoomFields);
             });
    readGrid(node, "casino", kDifficultyCount, kTypeCount,
             [this](std::size_t difficulty, std::size_t type, const PropertyNode& record) {
                 readRecord(record, casino.at(type * kDifficultyCount + difficulty), kCasinoFields);
             });
    if (const PropertyVector* lists = storedVector(node, "recroom")) {
        for (std::size_t type = 0; type < std::min(kTypeCount, lists->size()); ++type) {
            const PropertyVector* stored = asVector(lists->at(static_cast<std::ptrdiff_t>(type)));
            std::vector<RecRoomRecord>& levels = recroom.at(type);
            levels.clear();
            for (std::size_t i = 0; i < std::min(kMaxRecRoomLevels, stored->size()); ++i) {
                RecRoomRecord level;
                if (const PropertyNode* record = nodeAt(*stored, i)) {
                    readRecord(*record, level, kRecRoomFields);
                }
                levels.push_back(level);
            }
        }
    }
    readGrid(node, "rooftop", kDifficultyCount, kRoofKindCount,
             [this](std::size_t difficulty, std::size_t kind, const PropertyNode& record) {
                 readRecord(record, rooftop.at(kind * kDifficultyCount + difficulty), kRoofFields);
             });
    for (std::size_t floor = 0; floor < kFloorCount; ++floor) {
        firstDoorClicked.at(floor) =
            node.getValue("firstDoorClicked_" + std::to_string(floor))->getInt();
    }
    for (const Field<PlayerStats>& field : kCounterFields) {
        this->*field.member = node.getValue(field.key)->getInt();
    }
    shuffleTokens.reset(node.getValue("shuffleTokens")->getInt());
    hintTokens.reset(node.getValue("hintTokens")->getInt());
    firstRecrLayoutClicked = node.getValue("firstRecrLayoutClicked")->getBool();
}

} // namespace orv
