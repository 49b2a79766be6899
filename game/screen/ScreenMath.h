#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace orv {

/// The name of a high-score table: "mixed_" and `c` for a mixed run, else
/// `a`, `b` and `c` in decimal joined by "_" (place, game type, difficulty:
/// "1_0_2" is the casino, Classic, expert).
[[nodiscard]] std::string makeMixedName(bool mixed, int a, int b, int c);

/// The share of the bonus bar's countdown left to multiplier `multiplier`:
/// 1 - (multiplier - 1) x `percentage`, never below `minimum`.
[[nodiscard]] float multiplierFactor(int multiplier, float percentage, float minimum);

/// `maxCountdown` x `factor` truncated toward zero, the full countdown of a
/// multiplier in milliseconds. Values that do not fit (a NaN or infinite
/// factor from broken settings) give 0.
[[nodiscard]] std::int32_t countdownFor(std::int32_t maxCountdown, float factor);

/// The countdown ring's level 0..255 for `current` of `full` milliseconds
/// (integer division). A full countdown of 0 or less (a saved bar with a
/// maximum of 0) shows an empty ring; the level is clamped to 0..255.
[[nodiscard]] int countdownLevel(std::int32_t current, std::int32_t full);

/// Screen y of the time bar's top edge: `fillY` + (1 - shown / max) x
/// `fillHeight`, the shown value clamped to 0..max. A maximum of 0 or less
/// reads as an empty bar (the edge at the bottom), never as a NaN.
[[nodiscard]] float timeFillTop(int fillY, int fillHeight, std::int32_t shown, std::int32_t max);

/// Milliseconds between two tiles of the build-up: `duration` / `tiles`, at
/// most 20 and at least 1 (a short duration would stop the build-up); 0
/// without tiles.
[[nodiscard]] int buildTileInterval(int duration, int tiles);

/// Milliseconds between two tiles of a shuffle's tear-down: `minDuration`
/// for 25 tiles or fewer, else `duration` / `tiles`; at least 1.
[[nodiscard]] int tearDownTileInterval(int minDuration, int duration, int tiles);

/// The number of tiles due after `elapsed` (the remainder carried so far)
/// plus `dt` milliseconds at `interval` ms per tile; `elapsed` keeps the new
/// remainder. An interval of 0 or less makes every waiting tile due at once
/// (`waiting`) and clears the remainder.
[[nodiscard]] int dueTiles(int& elapsed, int dt, int interval, int waiting);

/// Kinds of bonus the bonus bar pays out, in the order of bonus.xml.
enum BonusKind : int {
    BonusTime = 0,
    BonusShuffle = 1,
    Bonus2500 = 2,
    Bonus5000 = 3,
    Bonus10000 = 4,
    BonusHint = 5,
    BonusSuperHint = 6,
    BonusNone = 7,
};
inline constexpr int kBonusKinds = 7;

/// What rules out a kind of the next bonus.
struct BonusDrawContext {
    int previous = BonusNone;   ///< the kind just paid out (it cannot come next)
    bool superHintHeld = false; ///< the bar already holds a super hint
    bool superHintRunning = false;
    int floorReached = 0;      ///< the player's highest floor
    bool hintsFull = false;    ///< hint tokens at their maximum
    bool shufflesFull = false; ///< shuffle tokens at their maximum
    int place = 0;             ///< 0 hallway, 1 casino, 2 recreation room, 3 roof
    int gameType = 0;          ///< 0 Classic ... 5 Speed
};

/// The weights of the next draw: `chances` with every kind the context rules
/// out set to 0, and negative weights read as 0.
[[nodiscard]] std::array<int, kBonusKinds> bonusWeights(std::span<const int, kBonusKinds> chances,
                                                        const BonusDrawContext& context);

/// The kind that `r` (0 <= r < sum of `weights`) falls on: the first kind at
/// which r is below the running sum; `BonusSuperHint` when none (only when r
/// is out of range).
[[nodiscard]] int bonusForDraw(std::span<const int, kBonusKinds> weights, int r);

} // namespace orv
