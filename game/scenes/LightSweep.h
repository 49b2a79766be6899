#pragma once

#include "engine/scene/Sprite.h"

namespace orv {

class Image;

/// A band of light drawn additively that crosses a picture once and is
/// removed at the end of its move: the loading screen's logo and the
/// lobby's elevator doors shine with it.
struct LightSweep {
    Image* image = nullptr; ///< the band (borrowed; the sprite holds a reference)
    int alpha = 255;
    AnchorKind anchor = AnchorKind::TopLeft;
    int fromX = 0; ///< start and end of the move, relative to the parent
    int fromY = 0;
    int toX = 0;
    int toY = 0;
    int durationMs = 1000;
    Rect clip{}; ///< the part of the parent's space it may light (x, y, width, height)
    /// When set, the light falls only where this picture is opaque (its
    /// alpha scales the band's), so that a round emblem is lit and the
    /// background around it is not. Borrowed; the sprite holds a reference.
    /// Its top-left corner lies at `maskX`, `maskY` in the parent's space.
    Image* mask = nullptr;
    int maskX = 0;
    int maskY = 0;
};

/// Adds the sweep as a child of `parent`, before `before` among its children
/// (null: as the last child), and starts its move. Returns the sprite
/// (borrowed from `parent`); null without an image.
Sprite* startLightSweep(GameNode& parent, const LightSweep& sweep, GameNode* before = nullptr);

} // namespace orv
