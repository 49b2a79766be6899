#pragma once

#include "game/board/PathGrid.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace orv {

/// The width and height of a picture in pixels; 0 x 0 for a missing one.
struct PieceSize {
    int width = 0;
    int height = 0;
};

/// One picture of a drawn connecting path: its name in resource group
/// "game", its top-left corner in screen pixels and how long after the
/// drawing starts it fades in.
struct PathPiece {
    std::string image;
    int x = 0;
    int y = 0;
    int delayMs = 0;
};

/// The side of a point piece through which a line leaves it: 0 top,
/// 1 right, 2 bottom, 3 left. A cap's number names this side.
enum PathSide : int { SideTop = 0, SideRight = 1, SideBottom = 2, SideLeft = 3 };

/// The side towards which `segment` runs (its dx and dy; a zero-length
/// segment runs right when horizontal, else down).
[[nodiscard]] int segmentHeading(const PathSegment& segment);
/// The start cap's number for a path whose first segment is `first`.
[[nodiscard]] int startCapIndex(const PathSegment& first);
/// The end cap's number for a path whose last segment is `last`: the side
/// from which the line arrives.
[[nodiscard]] int endCapIndex(const PathSegment& last);
/// The picture joining `before` to `after` at their shared point: "CORNER_0"
/// right and bottom, "CORNER_1" left and bottom, "CORNER_2" top and right,
/// "CORNER_3" top and left; two segments on one line are joined by the
/// straight picture of their axis ("PATH_H" or "PATH_V").
[[nodiscard]] std::string jointImage(const PathSegment& before, const PathSegment& after);

/// Lays out the pictures that draw `segments` (screen pixels, in path order):
/// a cap on each end, a joint at every bend, and the straight gaps between
/// them tiled with "PATH_H" or "PATH_V" from the gap's top-left corner (the
/// last copy may reach past the gap). Every point piece is centred on its
/// point. Names get the prefix "RED_" when `red` (the tiles do not match).
///
/// Delays let the drawing grow from the first segment's start towards the
/// last one's end at `delayPerPixel` ms per pixel, 10 pixels' worth around
/// each point piece. `sizeOf` gives a picture's size by name; a picture of
/// size 0 is still placed but tiles no gap. An empty `segments` gives no
/// pieces.
[[nodiscard]] std::vector<PathPiece>
layoutConnectionPath(std::span<const PathSegment> segments, bool red, float delayPerPixel,
                     const std::function<PieceSize(const std::string&)>& sizeOf);

} // namespace orv
