#include "game/board/Level.h"

#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/ShuffleRandom.h"

#include <algorithm>
#include <limits>
#include <sstream>

namespace orv {

const ClassRecord Level::classRecord{"Level", parentRecords<BaseObject::classRecord>};

namespace {

// The keys of the tuning values in the level files and the saved form, by
// index; empty for the two that no file sets.
constexpr std::array<std::string_view, kTuningCount> kTuningKeys{"playTime",
                                                                 "timeBonus",
                                                                 "pointsPerMatch",
                                                                 "bonusAt",
                                                                 "bonusSpeed",
                                                                 "multiplierTime",
                                                                 "tileDistMin",
                                                                 "tileDistMax",
                                                                 "",
                                                                 "",
                                                                 "firstHand",
                                                                 "secondHand",
                                                                 "thirdHand",
                                                                 "sideBoardIndex",
                                                                 "darkenTiles"};

std::string_view key(Tuning which) {
    return kTuningKeys.at(static_cast<std::size_t>(which));
}

bool isOneOf(GameType type, std::initializer_list<GameType> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

// Takes the first `count` of the shuffled candidates of a counted list
// ("easy", "normal": the first element is the count, the rest candidates).
void appendCounted(const PropertyVector& list, std::vector<std::string>& names) {
    if (list.size() == 0) {
        return;
    }
    const int count = PropertyValue::toInt(list.at(0));
    std::vector<std::string> candidates;
    for (std::size_t i = 1; i < list.size(); ++i) {
        candidates.push_back(asValue(list.at(static_cast<std::ptrdiff_t>(i)))->getString());
    }
    randomShuffle(candidates);
    const auto take =
        static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(candidates.size())));
    names.insert(names.end(), candidates.begin(),
                 candidates.begin() + static_cast<std::ptrdiff_t>(take));
}

} // namespace

Level::Level(PropertyNode* definition) {
    const PropertyNode& node = *(definition != nullptr ? definition : DUMMY_NODE);
    getTuning(Tuning::PlayTime).set(1, 0, 1);
    getTuning(Tuning::TimeBonus).set(1, 0, 1);
    getTuning(Tuning::BonusAt).set(1, 0, 1);
    getTuning(Tuning::MultiplierTime).set(1, 0, 1);
    getTuning(Tuning::SideBoardIndex).set(-1, 0, -1);

    gameType_ = static_cast<GameType>(node.getEnumIndex("gameType", kGameTypeNames, -1));
    getTuning(Tuning::PointsPerMatch).read(node.getChild("pointsPerMatch"));
    for (const Tuning optional : {Tuning::PlayTime, Tuning::TimeBonus, Tuning::BonusAt,
                                  Tuning::BonusSpeed, Tuning::MultiplierTime}) {
        if (const AbstractProperty* property = node.getChild(key(optional))) {
            getTuning(optional).read(property);
        }
    }
    if (node.getChild("layout") != nullptr) {
        layoutName_ = node.getValue("layout")->getString();
    }
    const auto readInt = [&node](std::string_view name, int& field) {
        if (node.getChild(name) != nullptr) {
            field = node.getValue(name)->getInt();
        }
    };
    int place = static_cast<int>(place_);
    readInt("gameMode", place);
    place_ = static_cast<Place>(place);
    readInt("difficulty", difficulty_);
    readInt("room", room_);
    readInt("floor", floor_);
    readInt("index", index_);
    if (const AbstractProperty* darken = node.getChild("darkenTiles")) {
        getTuning(Tuning::DarkenTiles).read(darken);
    }
    if (node.getChild("mixed") != nullptr) {
        mixed_ = node.getValue("mixed")->getBool();
    }
    if (usesSideBoard(gameType_)) {
        getTuning(Tuning::SideBoardIndex).read(node.getChild("sideBoardIndex"));
    }
    if (isOneOf(gameType_, {GameType::Classic, GameType::Triple, GameType::FreeCell})) {
        getTuning(Tuning::TileDistMin).read(node.getChild("tileDistMin"));
        getTuning(Tuning::TileDistMax).read(node.getChild("tileDistMax"));
    }
    if (isOneOf(gameType_, {GameType::Split, GameType::Speed})) {
        getTuning(Tuning::FirstHand).read(node.getChild("firstHand"));
        getTuning(Tuning::SecondHand).read(node.getChild("secondHand"));
        getTuning(Tuning::ThirdHand).read(node.getChild("thirdHand"));
    }
    readLayoutList(node);
    readInt("silver", silver_);
    readInt("gold", gold_);
    if (node.getChild("isSaveGame") == nullptr) {
        loadLayout();
    }
}

Level::~Level() = default;

BaseObject* Level::createFromDefinition(PropertyNode* definition) {
    return new Level(definition);
}

void Level::readLayoutList(const PropertyNode& node) {
    if (node.getChild("layoutFileNames") != nullptr) {
        for (const RefPtr<AbstractProperty>& name :
             node.getVector("layoutFileNames")->getElements()) {
            layoutFileNames_.push_back(asValue(name.get())->getString());
        }
        hardStartIndex_ = node.getValue("hardStartIndex")->getInt();
        return;
    }
    if (node.getChild("hard") == nullptr) {
        return;
    }
    for (const RefPtr<AbstractProperty>& name : node.getVector("intro")->getElements()) {
        layoutFileNames_.push_back(asValue(name.get())->getString());
    }
    appendCounted(*node.getVector("easy"), layoutFileNames_);
    appendCounted(*node.getVector("normal"), layoutFileNames_);
    hardStartIndex_ = static_cast<int>(layoutFileNames_.size());
    for (const RefPtr<AbstractProperty>& name : node.getVector("hard")->getElements()) {
        layoutFileNames_.push_back(asValue(name.get())->getString());
    }
    std::vector<std::string> hard(layoutFileNames_.begin() + hardStartIndex_,
                                  layoutFileNames_.end());
    randomShuffle(hard);
    std::copy(hard.begin(), hard.end(), layoutFileNames_.begin() + hardStartIndex_);
    if (!layoutFileNames_.empty()) {
        layoutName_ = layoutFileNames_.front();
    }
}

std::string Level::layoutPath() const {
    if (layoutName_.find(kLayoutFolder) != std::string::npos) {
        return layoutName_;
    }
    return std::string(kLayoutFolder) + layoutName_;
}

void Level::loadLayout() {
    layout_ = Layout::loadFile(layoutPath(), gameType_, getTuningInt(Tuning::SideBoardIndex));
}

void Level::advance() {
    for (Progression& progression : tuning_) {
        progression.step();
    }
    // A saved form may carry any index: it neither wraps past the largest
    // number nor, when negative, names a layout before the first.
    if (index_ < std::numeric_limits<int>::max()) {
        ++index_;
    }
    const int count = static_cast<int>(layoutFileNames_.size());
    if (count == 0) {
        return;
    }
    int next = 0;
    if (index_ >= 0 && index_ < count) {
        next = index_;
    } else if (index_ >= count && hardStartIndex_ > 0 && hardStartIndex_ < count) {
        next = hardStartIndex_ + (index_ - hardStartIndex_) % (count - hardStartIndex_);
    }
    layoutName_ = std::string(kLayoutFolder) + layoutFileNames_.at(static_cast<std::size_t>(next));
}

void Level::writeXml(PropertyNode* node) const {
    if (node == nullptr || node == DUMMY_NODE) {
        return;
    }
    node->add(new PropertyValue("gameType", gameTypeName(gameType_), true));
    node->add(new PropertyValue("gameMode", static_cast<int>(place_), true));
    node->add(new PropertyValue("difficulty", difficulty_, true));
    node->add(new PropertyValue("layout", std::string_view(layoutName_), true));
    for (std::size_t i = 0; i < tuning_.size(); ++i) {
        if (!kTuningKeys.at(i).empty()) {
            node->add(new PropertyValue(kTuningKeys.at(i), tuning_.at(i).getInt(), true));
        }
    }
    node->add(new PropertyValue("room", room_, true));
    node->add(new PropertyValue("floor", floor_, true));
    node->add(new PropertyValue("index", index_, true));
    node->add(new PropertyValue("silver", silver_, true));
    node->add(new PropertyValue("gold", gold_, true));
    node->addNamedBool("mixed", mixed_, true);
    node->add(new PropertyValue("hardStartIndex", hardStartIndex_, true));
    node->add(new PropertyValue("isSaveGame", std::string_view("you betcha"), true));
    auto* names = static_cast<PropertyVector*>(node->add(new PropertyVector("layoutFileNames")));
    for (const std::string& name : layoutFileNames_) {
        names->add(new PropertyValue("", std::string_view(name)));
    }
}

std::string Level::writeLine() const {
    std::ostringstream line;
    const auto attribute = [&line](std::string_view name, const auto& value) {
        line << name << "=\"" << value << "\"\t";
    };
    line << "<Level\t";
    attribute("gameType", gameTypeName(gameType_));
    const std::size_t slash = layoutName_.find_last_of('/');
    const std::size_t cut = slash != std::string::npos ? slash : layoutName_.find_last_of('\\');
    attribute("layout", cut != std::string::npos ? layoutName_.substr(cut + 1) : layoutName_);
    attribute("playTime", getTuningInt(Tuning::PlayTime));
    attribute("timeBonus", getTuningInt(Tuning::TimeBonus));
    attribute("score", getTuningInt(Tuning::PointsPerMatch));
    attribute("bonusAt", getTuningInt(Tuning::BonusAt));
    attribute("bonusSpeed", getTuningInt(Tuning::BonusSpeed));
    attribute("multiplierTime", getTuningInt(Tuning::MultiplierTime));
    attribute("darkenTiles", getTuningInt(Tuning::DarkenTiles));
    if (isOneOf(gameType_,
                {GameType::Classic, GameType::FreeCell, GameType::Triple, GameType::River})) {
        attribute("tileDistMin", getTuningInt(Tuning::TileDistMin));
        attribute("tileDistMax", getTuningInt(Tuning::TileDistMax));
    }
    if (isOneOf(gameType_, {GameType::Split, GameType::Speed})) {
        attribute("firstHand", getTuningInt(Tuning::FirstHand));
        attribute("secondHand", getTuningInt(Tuning::SecondHand));
        attribute("thirdHand", getTuningInt(Tuning::ThirdHand));
    }
    if (usesSideBoard(gameType_)) {
        attribute("sideBoardIndex ", getTuningInt(Tuning::SideBoardIndex));
    }
    if (place_ == Place::Hallway) {
        attribute("silver", silver_);
        attribute("gold", gold_);
    }
    line << "/>";
    return line.str();
}

} // namespace orv
