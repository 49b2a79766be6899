#include "game/minigame/KillerStonesPace.h"

namespace orv {

KillerStonesPace::KillerStonesPace() = default;

void KillerStonesPace::nextLevel() {
    fireInterval_.step();
    spawnInterval_.step();
    fallTime_.step();
    swayChance_.step();
}

} // namespace orv
