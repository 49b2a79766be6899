#pragma once

#include "engine/graphics/Graphics.h"
#include "engine/graphics/Rotation.h"
#include "engine/graphics/TransformSetup.h"

namespace orv {

class Image;

// The rotated and stretched 32-bit pixel workers. Unlike the plain copies
// they compute a source position per target pixel, so they clip themselves:
// they get the clip rectangle (within the target) and write only inside it,
// and they read only inside both the source rectangle and the source image,
// whatever the rectangle says. Source and target are 32-bit images, locked
// source first for the call; when a lock fails nothing is drawn.
//
// Sampling: without `smooth` the sample is the source pixel under the
// fixed-point position. With `smooth` it is the four pixels around it
// weighted by the position's fractions fx, fy; each of R, G, B is the
// weighted sum truncated toward zero, and the alpha weight of the blending
// variants is trunc(weighted alpha sum * g) >> 8.
//
// Writing, with g the global alpha and lerp(D, X, w) = D + floor((X - D) w / 256)
// per colour byte, the target's alpha byte always kept:
// - Opaque: D.rgb = sample.
// - Alpha: D.rgb = lerp(D, sample, g).
// - Blend: w = floor(S.a * g / 256) (or the smooth weight above); w <= 5
//   leaves the pixel, w > 250 writes the sample, otherwise the lerp by w. The
//   stretched variant skips the two thresholds for samples it does not
//   interpolate.

/// Rotated and scaled drawing along `setup` (see `prepareRotation`, which
/// got the same source size). Positions outside the source rectangle draw
/// nothing; with `smooth` positions up to one pixel before it are drawn from
/// its edge pixels, which repeat.
void rotateOpaque32(Image& target, Image& source, const SourceRect& sourceRect,
                    const RotationSetup& setup, bool smooth);
void rotateAlpha32(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g);
void rotateBlend32(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g);

/// `sourceRect` stretched onto `destination`, clipped to `clip`. Steps of
/// sourceWidth / destinationWidth (single precision, nearest fixed-point
/// value) per pixel; positions are absolute source coordinates. With
/// `smooth` a sample is interpolated unless it lies in the last column or row
/// of the source rectangle. Nothing is drawn for an empty source or
/// destination.
void stretchOpaque32(Image& target, Image& source, const SourceRect& sourceRect,
                     const StretchTarget& destination, const Rect& clip, bool smooth);
void stretchAlpha32(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g);
void stretchBlend32(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g);

} // namespace orv
