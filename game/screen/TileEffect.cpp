#include "game/screen/TileEffect.h"

#include "engine/graphics/Graphics.h"
#include "game/screen/BoardLook.h"
#include "game/screen/RenderTile.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord TileEffect::classRecord{"TileEffect",
                                                    parentRecords<BaseObject::classRecord>};

namespace {

// Levels move by this many fixed-point units per millisecond.
constexpr int kLevelSpeed = 4;
// The wait before a fade-out starts, unless the match came with a bonus.
constexpr int kFadeDelayMs = 450;

constexpr int kEighths = 3;
constexpr int kSixteenths = 4;
constexpr int kThirtySeconds = 5;

// Moves `level` up towards `high` while `rising`, else down towards `low`,
// turning round at each bound. True when it turned at `low`: one whole swing.
bool swing(int& level, bool& rising, int elapsedMs, int low, int high) {
    if (rising) {
        level += kLevelSpeed * elapsedMs;
        if (level > high) {
            level = high;
            rising = false;
        }
        return false;
    }
    level -= kLevelSpeed * elapsedMs;
    if (level < low) {
        level = low;
        rising = true;
        return true;
    }
    return false;
}

} // namespace

TileEffect::TileEffect(RenderTile& owner) : owner_(owner) {
    owner_.dirty = true;
}

void TileEffect::copyBody() {
    if (Image* body = owner_.getLook().getTileImage()) {
        image_ = cloneImage(*body);
    }
}

void TileEffect::redraw(std::uint32_t colour, int alpha) {
    owner_.dirty = true;
    Image* body = owner_.getLook().getTileImage();
    if (!image_ || body == nullptr) {
        return;
    }
    RefPtr<Graphics> g = createGraphics(*image_);
    if (!g) {
        return;
    }
    g->copyImage(*body, 0, 0);
    const int a = std::clamp(alpha, 0, 255);
    if (a > 0) {
        g->setColor(0xFF000000U | colour);
        g->setAlpha(a);
        g->fillRect(0, 0, image_->getWidth(), image_->getHeight());
    }
}

// ---- TileOverlay --------------------------------------------------------------

TileOverlay::TileOverlay(RenderTile& owner) : TileEffect(owner) {
    image_ = owner.getLook().getTileImage();
}

TileOverlay* TileOverlay::constructTinted(RenderTile& owner, std::uint32_t colour, int alpha) {
    auto* overlay = new TileOverlay(owner);
    overlay->copyBody();
    overlay->redraw(colour, alpha);
    return overlay;
}

// ---- TilePulseEffect ----------------------------------------------------------

TilePulseEffect::TilePulseEffect(RenderTile& owner) : TileEffect(owner) {
    copyBody();
}

void TilePulseEffect::step(int elapsedMs) {
    const TileTints& t = owner_.getLook().getTints();
    if (swing(level_, rising_, elapsedMs, t.blockedMinAlpha << kEighths,
              t.blockedMaxAlpha << kEighths)) {
        ++cycles_;
    }
    redraw(t.blockedColor, level_ >> kEighths);
    if (cycles_ >= 2) {
        owner_.resetEffects();
    }
}

// ---- TileHintEffect -----------------------------------------------------------

TileHintEffect::TileHintEffect(RenderTile& owner) : TileEffect(owner) {
    copyBody();
}

void TileHintEffect::step(int elapsedMs) {
    const TileTints& t = owner_.getLook().getTints();
    swing(level_, rising_, elapsedMs, t.hintMinAlpha << kThirtySeconds,
          t.hintMaxAlpha << kThirtySeconds);
    redraw(t.hintColor, level_ >> kThirtySeconds);
}

// ---- TileFlashEffect ----------------------------------------------------------

TileFlashEffect::TileFlashEffect(RenderTile& owner) : TileEffect(owner) {
    copyBody();
}

void TileFlashEffect::step(int elapsedMs) {
    const TileTints& t = owner_.getLook().getTints();
    if (rising_) {
        level_ += kLevelSpeed * elapsedMs;
        if (level_ >= t.flashMaxAlpha << kEighths) {
            level_ = t.flashMaxAlpha << kEighths;
            rising_ = false;
        }
    } else {
        level_ -= kLevelSpeed * elapsedMs;
        if (level_ <= 0) {
            owner_.resetEffects();
            return;
        }
    }
    redraw(t.flashColor, level_ >> kEighths);
}

// ---- TileSwellEffect ----------------------------------------------------------

TileSwellEffect::TileSwellEffect(RenderTile& owner) : TileEffect(owner) {
    copyBody();
}

void TileSwellEffect::step(int elapsedMs) {
    const TileTints& t = owner_.getLook().getTints();
    level_ += kLevelSpeed * elapsedMs;
    if (level_ >= t.darkenAlpha << kSixteenths) {
        owner_.setEffect(TileOverlay::constructTinted(owner_, t.darkenColor, t.darkenAlpha));
        return;
    }
    redraw(t.darkenColor, level_ >> kSixteenths);
}

// ---- TileLightenEffect --------------------------------------------------------

TileLightenEffect::TileLightenEffect(RenderTile& owner) : TileEffect(owner) {
    const TileTints& t = owner.getLook().getTints();
    level_ = t.darkenAlpha << kEighths;
    copyBody();
    redraw(t.darkenColor, t.darkenAlpha);
}

void TileLightenEffect::step(int elapsedMs) {
    const TileTints& t = owner_.getLook().getTints();
    level_ -= kLevelSpeed * elapsedMs;
    if (level_ <= 0) {
        owner_.setEffect(new TileOverlay(owner_));
        return;
    }
    redraw(t.darkenColor, level_ >> kEighths);
}

// ---- TileFadeEffect -----------------------------------------------------------

TileFadeEffect::TileFadeEffect(RenderTile& owner, int mode, int duration)
    : TileEffect(owner), delay_(mode >= 1 && mode <= 3 ? 0 : kFadeDelayMs), duration_(duration),
      remaining_(duration) {
    copyBody();
    owner.busy = true;
    owner.vanishing = true;
}

int TileFadeEffect::alpha() const {
    // A duration of 0 (a missing setting) has nothing left to show.
    if (duration_ <= 0 || remaining_ <= 0) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(remaining_) * 255 / duration_);
}

void TileFadeEffect::step(int elapsedMs) {
    if (delay_ > 0) {
        delay_ -= elapsedMs;
        return;
    }
    remaining_ = std::max(0, remaining_ - elapsedMs);
    const int a = alpha();
    if (a <= 0) {
        owner_.busy = false;
        owner_.vanishing = false;
        owner_.hidden = true;
        owner_.resetEffects();
        return;
    }
    owner_.dirty = true;
    Image* body = owner_.getLook().getTileImage();
    if (!image_ || body == nullptr) {
        return;
    }
    RefPtr<Graphics> g = createGraphics(*image_);
    if (!g) {
        return;
    }
    g->copyImage(*body, 0, 0);
    g->setChannelRect(0, a, 0, 0, image_->getWidth(), image_->getHeight());
    g->minChannel(*body, 0, 0, 0);
}

} // namespace orv
