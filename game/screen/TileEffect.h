#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <cstdint>

namespace orv {

class RenderTile;

/// One look of a tile body: its own picture of the body ("TILE" recoloured
/// to show a state), possibly animated. The layer drawing draws the body
/// from the top effect of a render tile and the face with its `alpha()`.
///
/// Levels are fixed-point: pulse, flash and lighten in eighths of an alpha
/// step, swell in sixteenths, hint in thirty-seconds. An effect that ends
/// replaces itself (or resets its tile) as the last thing of its `step`.
class TileEffect : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Sets the owner's `dirty` flag. `owner` is borrowed: the effect lives
    /// in its stack.
    explicit TileEffect(RenderTile& owner);
    TileEffect(const TileEffect&) = delete;
    TileEffect& operator=(const TileEffect&) = delete;

    /// Opacity of the tile's face, 0 to 255.
    [[nodiscard]] virtual int alpha() const { return 255; }
    /// Advances the effect by `elapsedMs` (0 to 100).
    virtual void step(int elapsedMs) { static_cast<void>(elapsedMs); }

    /// The body picture, W + SW by H + SH; null when the look has no body.
    /// Borrowed.
    [[nodiscard]] Image* getImage() const { return image_.get(); }
    [[nodiscard]] RenderTile& getOwner() const { return owner_; }

protected:
    /// Makes `image_` a private copy of the look's body.
    void copyBody();
    /// Puts the plain body back into `image_`, lays `colour` over it at
    /// `alpha` (clamped to 0..255) and marks the owner dirty.
    void redraw(std::uint32_t colour, int alpha);

    RenderTile& owner_;
    RefPtr<Image> image_;
};

/// A still look: the shared body itself (plain), or a copy tinted once.
class TileOverlay : public TileEffect {
public:
    /// The plain overlay: holds the look's body, no copy.
    explicit TileOverlay(RenderTile& owner);
    /// The body with `colour` (0xRRGGBB) laid over it at `alpha`.
    [[nodiscard]] static TileOverlay* constructTinted(RenderTile& owner, std::uint32_t colour,
                                                      int alpha);
};

/// Two full swings of the blocked colour, then the tile's earlier look.
class TilePulseEffect : public TileEffect {
public:
    explicit TilePulseEffect(RenderTile& owner);
    void step(int elapsedMs) override;
    [[nodiscard]] int getLevel() const { return level_; }

private:
    int level_ = 0;
    int cycles_ = 0;
    bool rising_ = true;
};

/// An endless swing of the hint colour between its two alphas.
class TileHintEffect : public TileEffect {
public:
    explicit TileHintEffect(RenderTile& owner);
    void step(int elapsedMs) override;
    [[nodiscard]] int getLevel() const { return level_; }

private:
    int level_ = 0;
    bool rising_ = true;
};

/// One flash up to the flash alpha and back, then the earlier look.
class TileFlashEffect : public TileEffect {
public:
    explicit TileFlashEffect(RenderTile& owner);
    void step(int elapsedMs) override;
    [[nodiscard]] int getLevel() const { return level_; }

private:
    int level_ = 0;
    bool rising_ = true;
};

/// Darkens the tile up to the darken alpha and stays dark (a tinted overlay).
class TileSwellEffect : public TileEffect {
public:
    explicit TileSwellEffect(RenderTile& owner);
    void step(int elapsedMs) override;
    [[nodiscard]] int getLevel() const { return level_; }

private:
    int level_ = 0;
};

/// Takes a darkened tile back to plain.
class TileLightenEffect : public TileEffect {
public:
    explicit TileLightenEffect(RenderTile& owner);
    void step(int elapsedMs) override;
    [[nodiscard]] int getLevel() const { return level_; }

private:
    int level_ = 0;
};

/// The fade-out of a removed tile: after a delay (450 ms unless `mode` is 1,
/// 2 or 3) body and face fade over `duration` ms; at the end the tile is
/// hidden. Marks its tile busy and vanishing for the fade's length. A
/// duration of 0 or less ends the fade at its first step after the delay.
class TileFadeEffect : public TileEffect {
public:
    TileFadeEffect(RenderTile& owner, int mode, int duration);
    [[nodiscard]] int alpha() const override;
    void step(int elapsedMs) override;
    [[nodiscard]] int getDelay() const { return delay_; }
    [[nodiscard]] int getRemaining() const { return remaining_; }

private:
    int delay_ = 0;
    int duration_ = 0;
    int remaining_ = 0;
};

} // namespace orv
