#pragma once

#include "engine/graphics/Graphics.h"

#include <vector>

namespace orv {

/// The overlap of `a` and `b`: x = max of the lefts, width = min of the
/// rights - x, the same for y and height. The result may be empty (a width
/// or height of 0 or less).
[[nodiscard]] Rect intersectRects(const Rect& a, const Rect& b);

/// True when the rectangle has no area.
[[nodiscard]] inline bool isEmptyRect(const Rect& r) {
    return r.width <= 0 || r.height <= 0;
}

/// Disjoint rectangles that cover exactly the area of `rects` (a point
/// (px, py) lies in a rectangle when x <= px < x + width and y <= py <
/// y + height). The area is cut into bands at every top and bottom edge and
/// each band into runs between left and right edges; a run that repeats the
/// one of the band above it extends that rectangle downwards. Bands come from
/// the top, runs from the left. Empty input rectangles add nothing; an empty
/// list gives an empty result and a single rectangle is returned as itself.
[[nodiscard]] std::vector<Rect> rectangleUnion(const std::vector<Rect>& rects);

} // namespace orv
