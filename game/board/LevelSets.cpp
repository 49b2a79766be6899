#include "game/board/LevelSets.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/BoardFactory.h"

#include <memory>
#include <string>

namespace orv {

namespace {

std::unique_ptr<LevelSets>& instance() {
    static std::unique_ptr<LevelSets> sets;
    return sets;
}

// The level made from `element`, or null (logged with `what`) when the
// entry is missing or no level.
RefPtr<Level> makeLevel(AbstractProperty* element, const std::string& what) {
    if (element == nullptr) {
        logWarning("level sets: " + what + " does not exist");
        return nullptr;
    }
    RefPtr<Level> level = createFromNode<Level>(element);
    if (!level) {
        logWarning("level sets: " + what + " is of type \"" + element->getTypeName() +
                   "\", not a level");
    }
    return level;
}

std::string difficultyName(int difficulty) {
    return difficulty >= 0 && difficulty < static_cast<int>(LevelSets::kDifficultyNames.size())
               ? std::string(LevelSets::kDifficultyNames.at(static_cast<std::size_t>(difficulty)))
               : std::string();
}

// node[first][second]["level"], or null when a step finds nothing.
AbstractProperty* findLevelNode(const PropertyNode& area, std::string_view first,
                                std::string_view second) {
    if (first.empty() || second.empty()) {
        return nullptr;
    }
    return area.getNode(first)->getNode(second)->getChild("level");
}

} // namespace

LevelSets::LevelSets()
    : hallway_(DUMMY_VECTOR), casino_(DUMMY_NODE), recroom_(DUMMY_VECTOR), roof_(DUMMY_NODE) {}

LevelSets::~LevelSets() = default;

void LevelSets::load(std::string_view folder) {
    RefPtr<PropertyStore> store(new PropertyStore());
    for (const std::string_view file : kFiles) {
        const std::string path = std::string(folder) + std::string(file);
        if (!store->load(path)) {
            logWarning(path + ": the level file cannot be read; its levels are missing");
        }
    }
    hallway_ = store->getVector("hallway");
    casino_ = store->getNode("casino");
    recroom_ = store->getVector("recroom");
    roof_ = store->getNode("roof");
}

RefPtr<Level> LevelSets::createLevel(int floor, int room) const {
    const std::string what =
        "hallway floor " + std::to_string(floor) + ", room " + std::to_string(room);
    PropertyVector* rooms = asVector(hallway_->at(floor - 1));
    RefPtr<Level> level = makeLevel(rooms->at(room - 1), what);
    if (level) {
        level->setFloor(floor);
        level->setRoom(room);
    }
    return level;
}

RefPtr<Level> LevelSets::getLevelDef(GameType type, int difficulty, Place place) const {
    const int number = toNumber(type);
    const std::string_view typeName = number >= 0 && number <= toNumber(GameType::River)
                                          ? gameTypeName(type)
                                          : std::string_view{};
    const std::string what = "casino level of game type " + std::to_string(number) +
                             " at difficulty " + std::to_string(difficulty);
    RefPtr<Level> level =
        makeLevel(findLevelNode(*casino_, typeName, difficultyName(difficulty)), what);
    if (level) {
        level->setDifficulty(difficulty);
        level->setPlace(place);
    }
    return level;
}

RefPtr<Level> LevelSets::getSpeedLevelDef(int difficulty) const {
    const std::string what = "roof Speed level at difficulty " + std::to_string(difficulty);
    RefPtr<Level> level =
        makeLevel(findLevelNode(*roof_, "Speed", difficultyName(difficulty)), what);
    if (level) {
        level->setDifficulty(difficulty);
    }
    return level;
}

int LevelSets::createRecRoomLevels(int series, std::vector<RefPtr<Level>>& out) const {
    AbstractProperty* entry = recroom_->at(series);
    if (entry == nullptr || !entry->isVector()) {
        logWarning("level sets: recreation-room series " + std::to_string(series) +
                   " does not exist");
        return 0;
    }
    int appended = 0;
    const PropertyVector* levels = asVector(entry);
    for (std::size_t i = 0; i < levels->size(); ++i) {
        RefPtr<Level> level = makeLevel(levels->at(static_cast<std::ptrdiff_t>(i)),
                                        "recreation-room series " + std::to_string(series) +
                                            ", level " + std::to_string(i));
        if (level) {
            level->setIndex(static_cast<int>(i));
            out.push_back(level);
            ++appended;
        }
    }
    return appended;
}

int LevelSets::getFloorCount() const {
    return static_cast<int>(hallway_->size());
}

int LevelSets::getRoomCount(int floor) const {
    return static_cast<int>(asVector(hallway_->at(floor - 1))->size());
}

int LevelSets::getRecRoomSeriesCount() const {
    return static_cast<int>(recroom_->size());
}

LevelSets& getLevelSets() {
    if (!instance()) {
        instance() = std::make_unique<LevelSets>();
        instance()->load();
    }
    return *instance();
}

void destroyLevelSets() {
    instance().reset();
}

} // namespace orv
