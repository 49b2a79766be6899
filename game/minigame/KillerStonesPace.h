#pragma once

#include "game/board/Progression.h"

namespace orv {

/// How fast the falling-tiles game runs at its current level: four
/// progressions that each step once per cleared level and stop at their
/// limits. Times are milliseconds.
///
///     KillerStonesPace pace;          // level 0: a tile every 1600 ms
///     pace.nextLevel();               // level 1: a tile every 1450 ms
class KillerStonesPace {
public:
    KillerStonesPace();

    /// Steps every progression once.
    void nextLevel();

    /// The pause after a shot before the next one.
    [[nodiscard]] int getFireInterval() const { return fireInterval_.getInt(); }
    /// The time between two new tiles.
    [[nodiscard]] int getSpawnInterval() const { return spawnInterval_.getInt(); }
    /// The time a tile takes to fall to the bottom edge.
    [[nodiscard]] int getFallTime() const { return fallTime_.getInt(); }
    /// The chance, out of `getSwayLimit`, that a new tile sways as it falls.
    [[nodiscard]] int getSwayChance() const { return swayChance_.getInt(); }
    [[nodiscard]] int getSwayLimit() const { return static_cast<int>(swayChance_.getCap()); }

private:
    Progression fireInterval_{225.0F, 25.0F, 425.0F};
    Progression spawnInterval_{1600.0F, -150.0F, 300.0F};
    Progression fallTime_{2200.0F, -75.0F, 600.0F};
    Progression swayChance_{0.0F, 80.0F, 1000.0F};
};

} // namespace orv
