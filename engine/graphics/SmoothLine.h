#pragma once

#include "engine/graphics/Graphics.h"

#include <cstdint>

namespace orv {

class Image;

/// Writes one pixel of `target` in `colour` (the target's native form) with a
/// weight of 0..255; `plotAlpha32` is the 32-bit one.
using WeightedPlot = void (*)(Image& target, int x, int y, std::uint32_t colour, int weight);

/// The anti-aliased line from (x1, y1) to (x2, y2) (target pixels, already
/// translated), walked one step per column (when it runs more across than
/// down) or per row, with the running minor coordinate f. A column x gets
/// the pixel below f weighted (1 - fraction(f)) * 255, truncated: at row
/// trunc(f) for gradients strictly between 0 and 1, else at trunc(f) + 1. A
/// row y gets two pixels: for gradients strictly between 0 and 1,
/// (trunc(f) - 1, y) and (trunc(f), y), else (trunc(f), y) and
/// (trunc(f) + 1, y), weighted (1 - fraction) and fraction. The end points
/// are ordered first, so the line does not depend on their order; a line of
/// no length is one row of gradient 0. Row 0 and column 0 of the target are
/// never written, and nothing outside `bounds` (which must lie within the
/// target) is; the walk itself visits only the columns or rows between the
/// rounded end points, so the caller keeps them near the target.
void drawSmoothLine(Image& target, const Rect& bounds, float x1, float y1, float x2, float y2,
                    std::uint32_t colour, WeightedPlot plot);

} // namespace orv
