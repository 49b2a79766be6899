#pragma once

#include "engine/graphics/Graphics.h"
#include "engine/graphics/Rotation.h"

#include <cstdint>

namespace orv {

/// The source rectangle of a transformed drawing, in source pixels.
using SourceRect = Rect;

/// The destination of a stretched drawing, in target pixels (64-bit, so a
/// translated far-off rectangle keeps its place).
struct StretchTarget {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

/// A rotated and scaled drawing prepared by `Graphics::prepareRotoZoom`, the
/// same for every pixel format: the source rectangle (inside the image at its
/// left and top, cut to its width and height) and the walk over the target.
struct RotatedDrawing {
    SourceRect source;
    RotationSetup setup;
};

/// A stretched drawing prepared by `Graphics::prepareStretch`: the source
/// rectangle as given, the translated destination and the drawable area
/// (`clip`, target pixels) the workers clip to.
struct StretchedDrawing {
    SourceRect source;
    StretchTarget destination;
    Rect clip;
};

} // namespace orv
