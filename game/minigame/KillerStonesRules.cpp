#include "game/minigame/KillerStonesRules.h"

#include "engine/core/RandomGenerator.h"

#include <algorithm>
#include <cstdlib>

namespace orv {

int KillerStonesRules::hitMargin(int shotTag) {
    switch (shotTag) {
    case kShot:
    case kFragShot:
    case kFragPiece:
        return 5;
    case kBombPiece:
        return 10;
    default:
        return 0;
    }
}

StoneRect KillerStonesRules::shrink(const StoneRect& rect, int margin) {
    return {rect.left + margin, rect.top + margin, rect.width - 2 * margin,
            rect.height - 2 * margin};
}

bool KillerStonesRules::meet(const StoneRect& a, const StoneRect& b) {
    if (a.width <= 0 || a.height <= 0 || b.width <= 0 || b.height <= 0) {
        return false;
    }
    return a.left + a.width > b.left && b.left + b.width > a.left && a.top + a.height > b.top &&
           b.top + b.height > a.top;
}

StoneScore KillerStonesRules::scoreFor(int shotTag, int tileTag) {
    if (shotTag == kShieldBar) {
        return {-250, 1};
    }
    const int points = tileTag == kSwayingTile ? 50 : 20;
    return {points, shotTag == kFragPiece ? 2 : 1};
}

int KillerStonesRules::panFor(int x) {
    return std::clamp(64 + x * 128 / kScreenWidth, 0, 255);
}

bool KillerStonesRules::givesPickup(int hits, int level) {
    return hits > 0 && hits % kHitsPerPickup == 0 && hits < (level + 1) * kHitsPerLevel;
}

bool KillerStonesRules::isLevelCleared(int hits, int level) {
    return hits >= (level + 1) * kHitsPerLevel;
}

int KillerStonesRules::drawPickup(int previous) {
    int kind = randomWeightedIndex(kPickupWeights);
    while (kind == previous) {
        kind = randomWeightedIndex(kPickupWeights);
    }
    return kind;
}

int KillerStonesRules::drawSpawnX(int lastX) {
    int x = Random::nextInt(kSpawnMinX, kSpawnMaxX);
    while (std::abs(x - lastX) < kSpawnSpacing) {
        x = Random::nextInt(kSpawnMinX, kSpawnMaxX);
    }
    return x;
}

} // namespace orv
