#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "game/board/GameType.h"
#include "game/board/Layout.h"
#include "game/board/Progression.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PropertyNode;

/// The place a level belongs to (its "gameMode").
enum class Place : int { Hallway = 0, Casino = 1, RecRoom = 2, Roof = 3, None = 4 };

/// The fifteen tuning values of a level, by index.
enum class Tuning : int {
    PlayTime = 0,       ///< ms on the time bar
    TimeBonus = 1,      ///< ms added per match
    PointsPerMatch = 2, ///< points of a match
    BonusAt = 3,        ///< points that fill the bonus bar
    BonusSpeed = 4,     ///< drain of the bonus bar
    MultiplierTime = 5, ///< ms of the multiplier countdown
    TileDistMin = 6,    ///< least distance of a dealt pair, in cells
    TileDistMax = 7,    ///< greatest such distance (exclusive)
    Unused8 = 8,
    Unused9 = 9,
    FirstHand = 10,      ///< Split and Speed: share of twins of free tiles
    SecondHand = 11,     ///< share of twins of tiles under a free tile
    ThirdHand = 12,      ///< share of twins of buried tiles
    SideBoardIndex = 13, ///< which side board of the layout file
    DarkenTiles = 14,    ///< 1 or more: blocked tiles are darkened
};
inline constexpr int kTuningCount = 15;

/// One playable level as the level files define it: where it belongs, its
/// game type and difficulty, its score goals, the layout it is played on
/// with the list of layouts its repetitions go through, and fifteen tuning
/// values that grow each time it is played again. Registered as "Level".
///
///     <Level gameType="Classic" pointsPerMatch="20" tileDistMin="2" tileDistMax="6"
///            silver="4000" gold="6000">
///       <Vector id="intro"><String>pyramid.xml</String></Vector>
///       <Vector id="hard"><String>tower.xml</String><String>bridge.xml</String></Vector>
///     </Level>
///
///     RefPtr<Level> level = getLevelSets().createLevel(2, 5);
///     int points = level->getTuningInt(Tuning::PointsPerMatch);
///     level->advance();
///     level->loadLayout();
class Level : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The folder of the layout files, as the level's layout names are
    /// prefixed with it.
    static constexpr std::string_view kLayoutFolder = "media/levels/";

    /// Reads a level node (null: the empty node), in the level files' form
    /// or the saved form; unless the node has "isSaveGame", loads the layout.
    explicit Level(PropertyNode* definition);
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;
    ~Level() override;
    /// The object factory's create function for "Level".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Loads the layout file named by `getLayoutName` (with the layout
    /// folder put in front when the name does not hold it yet) for the game
    /// type and the side-board index, and keeps it as the level's layout.
    void loadLayout();
    /// Moves on to the next repetition: every tuning value takes a step,
    /// the index grows by one and the layout name becomes the next name of
    /// the list (past its end, the names from `getHardStartIndex` on in a
    /// cycle, or the first name when there is no such part). With no names
    /// the layout name stays. Does not load the layout.
    void advance();

    /// Appends the saved form to `node`.
    void writeXml(PropertyNode* node) const;
    /// The one-line text form (`<Level\tgameType="..."\t.../>`).
    [[nodiscard]] std::string writeLine() const;
    [[nodiscard]] std::string toString() const override { return writeLine(); }

    [[nodiscard]] const Progression& getTuning(Tuning which) const {
        return tuning_.at(static_cast<std::size_t>(which));
    }
    [[nodiscard]] Progression& getTuning(Tuning which) {
        return tuning_.at(static_cast<std::size_t>(which));
    }
    /// The current value of a tuning value, truncated toward zero.
    [[nodiscard]] int getTuningInt(Tuning which) const { return getTuning(which).getInt(); }

    /// The layout the level is played on (borrowed), or null before one is
    /// loaded or set. The game keeps its board here.
    [[nodiscard]] Layout* getLayout() const { return layout_.get(); }
    void setLayout(Layout* layout) { layout_ = layout; }

    [[nodiscard]] GameType getGameType() const { return gameType_; }
    [[nodiscard]] const std::string& getLayoutName() const { return layoutName_; }
    void setLayoutName(std::string_view name) { layoutName_ = name; }
    [[nodiscard]] Place getPlace() const { return place_; }
    void setPlace(Place place) { place_ = place; }
    [[nodiscard]] int getDifficulty() const { return difficulty_; }
    void setDifficulty(int difficulty) { difficulty_ = difficulty; }
    [[nodiscard]] bool isMixed() const { return mixed_; }
    void setMixed(bool mixed) { mixed_ = mixed; }
    [[nodiscard]] int getRoom() const { return room_; }
    void setRoom(int room) { room_ = room; }
    [[nodiscard]] int getFloor() const { return floor_; }
    void setFloor(int floor) { floor_ = floor; }
    [[nodiscard]] int getIndex() const { return index_; }
    void setIndex(int index) { index_ = index; }
    [[nodiscard]] int getSilver() const { return silver_; }
    [[nodiscard]] int getGold() const { return gold_; }
    [[nodiscard]] const std::vector<std::string>& getLayoutFileNames() const {
        return layoutFileNames_;
    }
    [[nodiscard]] int getHardStartIndex() const { return hardStartIndex_; }

private:
    void readLayoutList(const PropertyNode& node);
    // The load path of the layout name: the folder in front unless present.
    [[nodiscard]] std::string layoutPath() const;

    std::array<Progression, kTuningCount> tuning_;
    RefPtr<Layout> layout_;
    GameType gameType_ = GameType::Invalid;
    std::string layoutName_;
    Place place_ = Place::None;
    int difficulty_ = 3;
    bool mixed_ = false;
    int room_ = 1;
    int floor_ = 1;
    int index_ = 0;
    int silver_ = 0;
    int gold_ = 0;
    std::vector<std::string> layoutFileNames_;
    int hardStartIndex_ = 0;
};

/// The medal grade of a best score against a room's goals: 0 bronze, 1
/// silver, 2 gold. A score that reaches a goal earns it: a best score
/// exactly at the gold goal is gold, exactly at the silver goal silver.
/// The hallway's medals, its stars and the level's own records all grade by
/// this one rule.
[[nodiscard]] constexpr int medalGrade(int bestScore, int silver, int gold) {
    if (bestScore >= gold) {
        return 2;
    }
    return bestScore >= silver ? 1 : 0;
}

} // namespace orv
