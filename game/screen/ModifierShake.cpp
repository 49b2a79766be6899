#include "game/screen/ModifierShake.h"

#include "engine/core/GameNode.h"
#include "engine/core/RandomGenerator.h"

namespace orv {

constinit const ClassRecord ModifierShake::classRecord{"ModifierShake",
                                                       parentRecords<Modifier::classRecord>};

ModifierShake::ModifierShake(int amplitudeX, int amplitudeY, int durationMs, bool oneSided,
                             int shortestMs, int longestMs)
    : amplitudeX_(amplitudeX), amplitudeY_(amplitudeY), remaining_(durationMs), nextJump_(0),
      shortest_(shortestMs), longest_(longestMs), oneSided_(oneSided) {
    nextJump_ = drawInterval();
}

void ModifierShake::setTarget(GameNode* target) {
    Modifier::setTarget(target);
    if (target != nullptr) {
        restX_ = target->getX();
        restY_ = target->getY();
    }
}

int ModifierShake::drawOffset(int amplitude) const {
    if (amplitude <= 0) {
        return 0;
    }
    return oneSided_ ? Random::nextInt(0, 2 * amplitude) : Random::nextInt(-amplitude, amplitude);
}

int ModifierShake::drawInterval() const {
    return longest_ > shortest_ ? Random::nextInt(shortest_, longest_) : shortest_;
}

void ModifierShake::moveTarget(int x, int y) {
    if (GameNode* target = getTarget(); target != nullptr) {
        target->setPosition(x, y);
    }
}

void ModifierShake::update(int dtMs) {
    remaining_ -= dtMs;
    nextJump_ -= dtMs;
    if (remaining_ <= 0) {
        moveTarget(restX_, restY_);
        finish();
        return;
    }
    if (nextJump_ > 0) {
        return;
    }
    const int dx = drawOffset(amplitudeX_);
    const int dy = drawOffset(amplitudeY_);
    moveTarget(restX_ + dx, restY_ + dy);
    nextJump_ = drawInterval();
}

} // namespace orv
