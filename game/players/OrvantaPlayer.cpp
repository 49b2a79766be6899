#include "game/players/OrvantaPlayer.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

namespace orv {

namespace {

// Floors whose completion opens a game mode: mode 1 after floor 1, 2, 5, 8 or
// 11; mode 2 after floor 4, 6, 9, 12 or 13; mode 3 after floor 20 (as item
// indices, floor - 1).
constexpr std::array<int, 5> kModeOneItems{0, 1, 4, 7, 10};
constexpr std::array<int, 5> kModeTwoItems{3, 5, 8, 11, 12};
constexpr std::array<int, 1> kModeThreeItems{19};

// The highest floorReached: floor 20 completed.
constexpr int kTopFloorReached = 21;
// The playing screen's backgrounds and tile sets a player may choose.
constexpr int kBackgroundChoices = 11;
constexpr int kTileSetChoices = 4;

// The integer `key` of `node` when it is 0 to `count` - 1, else 0 (logged).
int readChoice(const PropertyNode& node, std::string_view key, int count,
               const std::string& playerName) {
    const int value = node.getValue(key)->getInt();
    if (value >= 0 && value < count) {
        return value;
    }
    std::string message = "profile of ";
    message.append(playerName).append(": ").append(key).append(" ");
    message.append(std::to_string(value)).append(" is outside 0-");
    message.append(std::to_string(count - 1)).append("; the first is taken");
    logWarning(message);
    return 0;
}

// The stored vector `key`, element by element into `fields`, through `read`;
// a vector longer than the fields is cut and logged.
template <class T, std::size_t N, class Read>
void readStoredArray(const PropertyNode& node, std::string_view key, std::array<T, N>& fields,
                     Read read) {
    const PropertyVector* stored = node.getVector(key);
    if (stored->size() > N) {
        logWarning("profile: \"" + std::string(key) + "\" holds " + std::to_string(stored->size()) +
                   " values for " + std::to_string(N) + "; the rest are ignored");
    }
    for (std::size_t i = 0; i < std::min(N, stored->size()); ++i) {
        fields[i] = read(stored->at(static_cast<std::ptrdiff_t>(i)));
    }
}

template <std::size_t N>
bool anyItemSet(const std::array<int, OrvantaPlayer::kFloorItems>& items,
                const std::array<int, N>& indices) {
    return std::any_of(indices.begin(), indices.end(), [&items](int index) {
        return items.at(static_cast<std::size_t>(index)) != 0;
    });
}

} // namespace

const ClassRecord OrvantaPlayer::classRecord{"OrvantaPlayer",
                                             parentRecords<AbstractPlayer::classRecord>};

OrvantaPlayer::OrvantaPlayer(std::string_view name)
    : AbstractPlayer(name), trophies(new TrophyList()) {
    hintFlags.fill(true);
}

OrvantaPlayer::OrvantaPlayer(const PropertyNode& node)
    : AbstractPlayer(node), trophies(new TrophyList()) {
    hintFlags.fill(true);
}

BaseObject* OrvantaPlayer::createFromDefinition(PropertyNode* definition) {
    return new OrvantaPlayer(definition != nullptr ? *definition : *DUMMY_NODE);
}

void OrvantaPlayer::writeIdentity(PropertyNode& node) const {
    AbstractPlayer::writeIdentity(node);
    if (&node != DUMMY_NODE) {
        node.setTypeName("OrvantaPlayer");
    }
}

void OrvantaPlayer::save(PropertyNode& node) const {
    node.addNamedBool("showhints", showHints, false);
    node.add(new PropertyValue("background", background));
    node.add(new PropertyValue("tileset", tileset));
    node.add(new PropertyValue("floorReached", floorReached));
    auto* trophyNode =
        static_cast<PropertyNode*>(node.add(new PropertyNode("trophies", "Trophies")));
    trophies->save(*trophyNode);
    auto* hints = static_cast<PropertyVector*>(node.add(new PropertyVector("hints")));
    for (const bool flag : hintFlags) {
        hints->addBool(flag);
    }
    auto* items = static_cast<PropertyVector*>(node.add(new PropertyVector("unlockedStuff")));
    for (const int item : unlockedStuff) {
        items->add(new PropertyValue("", item));
    }
    auto* modes = static_cast<PropertyVector*>(node.add(new PropertyVector("modesUnlocked")));
    for (const int mode : modesUnlocked) {
        modes->add(new PropertyValue("", mode));
    }
    auto* statsNode = static_cast<PropertyNode*>(node.add(new PropertyNode("stats", "Data")));
    stats.save(*statsNode);
}

void OrvantaPlayer::load(const PropertyNode& node) {
    showHints = node.getValue("showhints")->getBool();
    // A damaged profile's looks read as the first background and tile set.
    background = readChoice(node, "background", kBackgroundChoices, getName());
    tileset = readChoice(node, "tileset", kTileSetChoices, getName());
    floorReached = node.getValue("floorReached")->getInt();
    if (floorReached < 0 || floorReached > kTopFloorReached) {
        logWarning("profile of " + getName() + ": floorReached " + std::to_string(floorReached) +
                   " is outside 0-" + std::to_string(kTopFloorReached) + "; it is corrected");
        floorReached = std::clamp(floorReached, 0, kTopFloorReached);
    }
    currentFloor = floorReached == 0 ? 1 : floorReached;
    if (node.getChild("trophies") != nullptr) {
        trophies->load(*node.getNode("trophies"));
    }
    readStoredArray(node, "hints", hintFlags, [](const AbstractProperty* element) {
        return element != nullptr && element->isValue() && PropertyValue::toBool(element);
    });
    readStoredArray(node, "unlockedStuff", unlockedStuff,
                    [](const AbstractProperty* element) { return PropertyValue::toInt(element); });
    readStoredArray(node, "modesUnlocked", modesUnlocked, [](const AbstractProperty* element) {
        const int mode = PropertyValue::toInt(element);
        return mode == kNewlyOpened ? kOpen : mode;
    });
    stats.load(*node.getNode("stats"));
}

void OrvantaPlayer::releaseSavedGame() {
    savedGame = nullptr;
}

void OrvantaPlayer::unlockStuff(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kFloorItems) {
        logWarning("profile of " + getName() + ": no floor item " + std::to_string(index));
        return;
    }
    unlockedStuff.at(static_cast<std::size_t>(index)) = kNewlyOpened;
    if (modesUnlocked[1] == kLocked && anyItemSet(unlockedStuff, kModeOneItems)) {
        modesUnlocked[1] = kNewlyOpened;
    }
    if (modesUnlocked[2] == kLocked && anyItemSet(unlockedStuff, kModeTwoItems)) {
        modesUnlocked[2] = kNewlyOpened;
    }
    if (modesUnlocked[3] == kLocked && anyItemSet(unlockedStuff, kModeThreeItems)) {
        modesUnlocked[3] = kNewlyOpened;
    }
}

int OrvantaPlayer::getLevelsCompleted() const {
    if (floorReached > PlayerStats::kFloors) {
        return floorReached * PlayerStats::kRoomsPerFloor - PlayerStats::kRoomsPerFloor;
    }
    if (floorReached < 1) {
        return 0;
    }
    int completed = (floorReached - 1) * PlayerStats::kRoomsPerFloor;
    for (int room = 1; room <= PlayerStats::kRoomsPerFloor; ++room) {
        if (stats.getRoom(floorReached, room).levelWinCount >= 1) {
            ++completed;
        }
    }
    return completed;
}

void OrvantaPlayer::markTrophiesSeen() {
    trophies->markAllSeen();
}

} // namespace orv
