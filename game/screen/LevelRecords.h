#pragma once

#include <functional>
#include <utility>

namespace orv {

class Level;
class OrvantaPlayer;

/// What one level's end (or start) writes into a player's records: play
/// counts, best scores and times, won games, the stars of hallway rooms,
/// floors completed, unlocks, hold-back trophies and the casino's and roof's
/// high-score tables. The playing screen calls these for the current player;
/// they take the player and the facts as arguments so that a test can hand
/// in a profile of its own.
///
/// Floors and rooms count from 1; a level whose numbers lie outside the
/// player's records (floors 1-20, rooms 1-5, casino types 0-4) writes
/// nothing for that record. Times are milliseconds.
struct LevelOutcome {
    int score = 0;
    int realTimeMs = 0;  ///< the level's clock while played
    int clockTimeMs = 0; ///< the recreation room's own clock
};

/// A hallway room's silver and gold goals, looked up by floor and room;
/// none when the room has no level.
using GoalLookup = std::function<bool(int floor, int room, int& silver, int& gold)>;

/// The goals of the level files (`getLevelSets`).
[[nodiscard]] GoalLookup levelFileGoals();

/// A new level (not a restart, not a resumed game) is counted as played.
void countPlay(OrvantaPlayer& player, const Level& level);

/// A lost level. In the casino and on the roof the score enters the table
/// `makeMixedName` names (the high-score manager's; none without one), the
/// new-score flag is set, the won-games count grows (a run ended) and the
/// place's best score and level are kept. In the casino trophy 10 is held
/// back when the score took the first row of its table, trophy 11 when the
/// player has a row in the tables of all five game types at the level's
/// difficulty. Returns true when the score took the first row of its table.
bool recordLevelLost(OrvantaPlayer& player, const Level& level, const LevelOutcome& outcome);

/// What a won hallway room leaves for the building: the host's tip for
/// the hallway (2, 3 or 4 after a room's first win; 0 none) and the floor
/// the win completed (0 none).
struct HallwayNews {
    int tip = 0;
    int completedFloor = 0;
};

/// A won level: the records of its place. In the hallway the room's stars
/// are compared before and after, the first win of the last room of a
/// floor completes the floor (floorReached, unlocks, trophies 5, 6, 7
/// held back), and trophies 14 and 15 are held back when every room has
/// two or three stars by `goals`. Returns the hallway's news (none
/// elsewhere).
HallwayNews recordLevelWon(OrvantaPlayer& player, const Level& level, const LevelOutcome& outcome,
                           const GoalLookup& goals);

/// A hallway best score that reaches the silver goal but not the gold one:
/// two stars (`medalGrade` 1).
[[nodiscard]] bool isInStarBand(int bestScore, int silver, int gold);

} // namespace orv
