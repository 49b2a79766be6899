#include "engine/scene/ModifierBlink.h"

#include "engine/scene/ModifierMath.h"
#include "engine/scene/Sprite.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord ModifierBlink::classRecord{"ModifierBlink",
                                                       parentRecords<Modifier::classRecord>};

ModifierBlink::ModifierBlink(int alphaA, int alphaB, int fadeInMs, int fadeOutMs, int holdBMs,
                             int holdAMs, int count)
    : alphaA_(alphaA), currentAlpha_(alphaA), alphaB_(alphaB), fadeInMs_(std::max(fadeInMs, 0)),
      fadeOutMs_(std::max(fadeOutMs, 0)), holdBMs_(std::max(holdBMs, 0)),
      holdAMs_(std::max(holdAMs, 0)), cycleLimit_(count) {}

void ModifierBlink::addExtraTarget(Sprite* sprite) {
    if (sprite != nullptr) {
        extraTargets_.emplace_back(sprite);
    }
}

std::uint32_t ModifierBlink::phaseLength(int phase) const {
    switch (phase) {
    case 0:
        return static_cast<std::uint32_t>(holdAMs_);
    case 1:
        return static_cast<std::uint32_t>(fadeInMs_);
    case 2:
        return static_cast<std::uint32_t>(holdBMs_);
    default:
        return static_cast<std::uint32_t>(fadeOutMs_);
    }
}

void ModifierBlink::applyAlpha() {
    if (!extraTargets_.empty()) {
        for (const RefPtr<Sprite>& sprite : extraTargets_) {
            sprite->setAlpha(currentAlpha_);
        }
    } else if (auto* sprite = kindCast<Sprite>(getTarget())) {
        sprite->setAlpha(currentAlpha_);
    }
}

void ModifierBlink::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    // A cycle of no time at all would never let the phase loop below end.
    const std::uint64_t cycle = static_cast<std::uint64_t>(fadeInMs_) + fadeOutMs_ + holdBMs_ +
                                static_cast<std::uint64_t>(holdAMs_);
    if (cycle == 0) {
        currentAlpha_ = alphaA_;
        applyAlpha();
        finish();
        return;
    }

    // Time keeping: go through the phases the time so far has passed.
    while (accumulatedMs_ >= phaseLengthMs_) {
        phase_ = (phase_ + 1) % 4;
        accumulatedMs_ -= phaseLengthMs_;
        phaseLengthMs_ = phaseLength(phase_);
        if (phase_ == 0) {
            ++cyclesDone_;
            if (cycleLimit_ > 0 && cyclesDone_ >= cycleLimit_) {
                break; // the last cycle is over; what is left of the time no longer matters
            }
        }
    }

    // Interpolation within the phase reached.
    if (cycleLimit_ > 0 && cyclesDone_ >= cycleLimit_) {
        currentAlpha_ = alphaA_;
        applyAlpha();
        finish();
        return;
    }
    // (B - A) x time / length: the product first, so that whole results stay
    // whole before the truncation.
    const auto fade = [this](int from, int to) {
        return modifier_math::truncToInt(static_cast<double>(to - from) *
                                             static_cast<double>(accumulatedMs_) /
                                             static_cast<double>(phaseLengthMs_) +
                                         from);
    };
    switch (phase_) {
    case 0:
        currentAlpha_ = alphaA_;
        break;
    case 1:
        currentAlpha_ = fade(alphaA_, alphaB_);
        break;
    case 2:
        currentAlpha_ = alphaB_;
        break;
    default:
        currentAlpha_ = fade(alphaB_, alphaA_);
        break;
    }
    applyAlpha();
    accumulatedMs_ += static_cast<std::uint32_t>(std::max(dtMs, 0));
}

} // namespace orv
