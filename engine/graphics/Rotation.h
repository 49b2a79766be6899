#pragma once

#include "engine/graphics/Graphics.h"

#include <cstdint>

namespace orv {

/// Source coordinates of rotated and stretched drawing are fixed point with
/// 20 fraction bits: the integer part is the value shifted right by 20.
inline constexpr int kFixedShift = 20;
inline constexpr std::int64_t kFixedOne = std::int64_t{1} << kFixedShift;

/// The walk of one rotated and scaled drawing, shared by every pixel format.
/// `area` is the part of the target to visit, already within the clip (empty
/// when its width or height is 0 or below). The source position (u, v),
/// relative to the source rectangle's origin in fixed point, is
/// (uStart, vStart) at the area's top-left pixel; one pixel to the right adds
/// (stepB, -stepA), one row down adds (stepA, stepB). Values are 64-bit, so
/// far-off positions and tiny scales cannot wrap.
struct RotationSetup {
    Rect area;
    std::int64_t stepA = 0;
    std::int64_t stepB = 0;
    std::int64_t uStart = 0;
    std::int64_t vStart = 0;
};

/// Works out the walk for a source rectangle of `width` x `height` pixels
/// drawn rotated by `angle` (radians, clockwise on screen since y points
/// down) and scaled by `scale` about (`centreX`, `centreY`), a point given
/// relative to the rectangle's origin that stays where it would stand
/// unrotated, with the unrotated rectangle's top-left corner at (`x`, `y`)
/// (target pixels). With `smooth` the area reaches one source pixel further
/// on every side for the filtered edge. The area is the bounding box of the
/// mapped corners (single precision), rounded outwards and widened by one
/// pixel on every side, intersected with `clip`. The caller rules out |scale| <= 0.0001 and
/// non-finite values.
[[nodiscard]] RotationSetup prepareRotation(std::int64_t x, std::int64_t y, int centreX,
                                            int centreY, int width, int height, double angle,
                                            double scale, bool smooth, const Rect& clip);

} // namespace orv
