#pragma once

// The playing model behind the hallway's medal goals: how a player of a given
// pace plays a room with the rule engine, and how the bonus bar, its
// multiplier and the time bar answer that play. orvanta_calibrate plays every
// room with it; a test holds it against the real playing screen.

#include "engine/core/RefPtr.h"
#include "game/board/GameView.h"
#include "game/board/Level.h"

#include <cstdint>
#include <functional>
#include <random>

namespace orv {
class Game;
}

namespace orv::calibration {

/// A calibration player: the mean seconds it spends on a match on a board of
/// 100 tiles of Classic with marked free tiles (`meanPace` scales it).
struct Player {
    const char* name;
    double secondsPerMatch;
};

/// Gold: a fast, practised player, who knows the game and finds a pair in
/// well under half the time a new player needs.
inline constexpr Player kStrong{"strong", 3.0};
/// Silver: a careful first try. A new player took about two minutes for the
/// 18 matches of floor 1's first room (36 tiles, free tiles marked), 6.7 s a
/// match, which `meanPace` gives for 6.8 s.
inline constexpr Player kDecent{"decent", 6.8};

/// What a shuffle of a stuck board costs the player, in ms.
inline constexpr int kShuffleMs = 4000;

/// The player's mean seconds per match on `level` with `tiles` tiles: its
/// pace times 0.9 + tiles / 600 for the board's size, 1.1 for FreeCell, 1.35
/// for Triple, 1.4 for River, 0.8 for Split, 1.05 without free-tile marks
/// and 1 + tileDistMax / 300 for pairs dealt far apart.
[[nodiscard]] double meanPace(const Player& player, const Level& level, int tiles);

/// The mean ms per match that still clears `level` (of `tiles` tiles) in
/// time: nine tenths of the time bar's time and of each match's time bonus,
/// shared among the level's matches (pairs, triples in Triple, one board
/// tile with its twin in Split).
[[nodiscard]] double fittingPaceMs(const Level& level, int tiles);

/// The player's time for each match in turn: 0.6 to 1.4 times the mean pace,
/// drawn from a source of its own seeded with `seed` (the deal's random
/// sources stay untouched), in whole ms. The mean pace is the player's, or
/// `fittingPaceMs` where the time bar allows no more: a room's goals are
/// for a player who clears it, and a careful player hurries where the clock
/// asks for it.
class PaceDraw {
public:
    PaceDraw(const Player& player, const Level& level, int tiles, std::uint32_t seed);
    [[nodiscard]] int next();

private:
    double meanMs_;
    std::mt19937 source_;
    std::uniform_real_distribution<double> spread_{0.6, 1.4};
};

/// The mean points a full bonus bar pays on `level` for a player who has
/// reached `floorReached`: the point bonuses (2,500, 5,000, 10,000) weighted
/// by how often each comes up in the long run, drawn as the bar draws them
/// from the weights of media/properties/bonus.xml (read from the current
/// folder), with the kinds the place and the game type rule out left out and
/// no kind following itself. 0 when bonus.xml cannot be read.
[[nodiscard]] double meanBonusPoints(const Level& level, int floorReached);

/// The playing screen as the rules see it during a calibration game: hits
/// the tile the player chose and runs the bonus bar's multiplier, its
/// countdown and its meter, and the time bar's bonuses, as the screen does.
class ScoreModel : public NullGameView {
public:
    /// Reads the level's bar values and the multiplier settings
    /// (MULTIPLIER_PERCENTAGE, MULTIPLIER_MINIMUM) of the settings tables.
    explicit ScoreModel(const Level& level);

    Tile* tileAt(const Layout& layout, int x, int y) override;
    int getScoreMultiplier() override { return multiplier_; }
    void addBonusPoints(int points) override;
    void addTime(int milliseconds) override { timeBonusMs += milliseconds; }

    /// `ms` of play pass: the countdown and the meter drain.
    void pass(int ms);

    Tile* target = nullptr; ///< the tile the next click hits; borrowed
    int bonuses = 0;        ///< times the meter filled and paid out
    int timeBonusMs = 0;    ///< time bonuses not yet taken by the caller

private:
    double fullBar_;
    double drainPerMs_;
    int countdownMs_;
    float step_;
    float least_;
    double bar_ = 0;
    int multiplier_ = 1;
    int fillMultiplier_ = 1;
    int left_ = 0;
};

/// What one calibration game came to.
struct Run {
    int matchScore = 0; ///< the rule engine's score: the matches times their multipliers
    int bonuses = 0;    ///< bonus bar payouts
    int score = 0;      ///< matchScore plus the payouts at their mean value
    int matches = 0;
    int shuffles = 0;
    bool cleared = false;
};

/// Deals the hallway room (floor, room) as the game would with both of the
/// game's random sources seeded with `seed`, and makes it the current game.
/// Null when the room or its deal fails. The caller ends it with
/// `Game::destroyCurrent`.
[[nodiscard]] Game* dealRoom(int floor, int room, std::uint32_t seed);

/// Plays the current game `game` on `model` (installed as the game's view
/// for the call, the view before it installed again after): before each
/// hinted match `nextMs` ms pass, a stuck board is shuffled for kShuffleMs; a
/// run that outlasts the time bar ends there. `bonusPoints` is the mean value
/// of a payout.
[[nodiscard]] Run playDealt(Game& game, ScoreModel& model, const std::function<int()>& nextMs,
                            double bonusPoints);

/// `ms` rounded up to whole frames of `frameMs` (unchanged when `frameMs` is
/// 0 or less): the wait a screen running such frames sees.
[[nodiscard]] int roundUpToFrames(int ms, int frameMs);

/// One game of the room (floor, room) from `seed`, played by `player`; with
/// `frameMs` above 0 each wait is rounded up to whole frames of that length.
[[nodiscard]] Run playRoom(const Player& player, int floor, int room, std::uint32_t seed,
                           int frameMs = 0);

} // namespace orv::calibration
