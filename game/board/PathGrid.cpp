#include "game/board/PathGrid.h"

#include "engine/properties/GameConstants.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace orv {

namespace {

// The twelve border points of a tile, relative to its corner point, in the
// order the search visits them, with the outward step of their rays.
struct BorderPoint {
    int x;
    int y;
    int stepX;
    int stepY;
};

constexpr std::array<BorderPoint, 12> kBorderPoints{{
    {1, 0, 0, -1},
    {2, 0, 0, -1},
    {3, 0, 0, -1},
    {4, 1, 1, 0},
    {4, 2, 1, 0},
    {4, 3, 1, 0},
    {1, 4, 0, 1},
    {2, 4, 0, 1},
    {3, 4, 0, 1},
    {0, 1, -1, 0},
    {0, 2, -1, 0},
    {0, 3, -1, 0},
}};

[[nodiscard]] bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

// Whether rays s and g meet (touch or cross).
[[nodiscard]] bool meet(const PathSegment& s, const PathSegment& g) {
    if (s.horizontal && g.horizontal) {
        return s.y1 == g.y1 && (within(g.x1, s.x1, s.x2) || within(g.x2, s.x1, s.x2));
    }
    if (!s.horizontal && !g.horizontal) {
        return s.x1 == g.x1 && (within(g.y1, s.y1, s.y2) || within(g.y2, s.y1, s.y2));
    }
    const PathSegment& h = s.horizontal ? s : g;
    const PathSegment& v = s.horizontal ? g : s;
    return within(v.x1, h.x1, h.x2) && within(h.y1, v.y1, v.y2);
}

// Number of end segments leaving a tile through an edge's middle (0 to 2).
[[nodiscard]] int middleEnds(const std::vector<PathSegment>& path) {
    return (path.front().middle ? 1 : 0) + (path.back().middle ? 1 : 0);
}

// Whether `candidate` is a better path than `best` (which may be empty);
// ties keep `best`.
[[nodiscard]] bool isBetter(const std::vector<PathSegment>& candidate,
                            const std::vector<PathSegment>& best) {
    if (best.empty()) {
        return true;
    }
    if (const int c = middleEnds(candidate), b = middleEnds(best); c != b) {
        return c > b;
    }
    if (candidate.size() != best.size()) {
        return candidate.size() < best.size();
    }
    const auto endGap = [](const std::vector<PathSegment>& path) {
        return std::abs(path.front().length - path.back().length);
    };
    if (const int c = endGap(candidate), b = endGap(best); c != b) {
        return c < b;
    }
    const auto shortestEnd = [](const std::vector<PathSegment>& path) {
        return std::min(path.front().length, path.back().length);
    };
    const int shortC = shortestEnd(candidate);
    const int shortB = shortestEnd(best);
    if ((shortC >= 2) != (shortB >= 2)) {
        return shortC >= 2;
    }
    // Both leave a tile by a stub shorter than 2: the longer stub keeps the
    // line clearer of the tile's corner.
    if (shortC < 2 && shortC != shortB) {
        return shortC > shortB;
    }
    const auto total = [](const std::vector<PathSegment>& path) {
        int sum = 0;
        for (const PathSegment& segment : path) {
            sum += segment.length;
        }
        return sum;
    };
    return total(candidate) < total(best);
}

} // namespace

void PathSegment::recompute() {
    dx = x2 - x1;
    dy = y2 - y1;
    length = std::max(std::abs(dx), std::abs(dy));
}

void PathSegment::reverse() {
    std::swap(x1, x2);
    std::swap(y1, y2);
    recompute();
}

bool PathGrid::isBlocked(int x, int y) const {
    return inside(x, y) && at(x, y).blocked != 0;
}

bool PathGrid::isPassable(int x, int y) const {
    if (inside(x, y) && (at(x, y).startBorder != 0 || at(x, y).goalBorder != 0)) {
        return true;
    }
    return !isBlocked(x - 1, y - 1) && !isBlocked(x, y - 1) && !isBlocked(x - 1, y) &&
           !isBlocked(x, y);
}

void PathGrid::build(const Layout& layout, const Tile& start, const Tile& goal) {
    layer_ = start.getPos().z;
    cells_.fill(Cell{});
    path_.clear();
    for (int y = 0; y < Layout::kRows; ++y) {
        for (int x = 0; x < Layout::kColumns; ++x) {
            if (layout.isCellOpen(x, y, layer_)) {
                continue;
            }
            const int sx = 2 * x + 2;
            const int sy = 2 * y + 2;
            at(sx, sy).blocked = 1;
            at(sx + 1, sy).blocked = 1;
            at(sx, sy + 1).blocked = 1;
            at(sx + 1, sy + 1).blocked = 1;
        }
    }
    const int startX = 2 * start.getPos().x + 2;
    const int startY = 2 * start.getPos().y + 2;
    const int goalX = 2 * goal.getPos().x + 2;
    const int goalY = 2 * goal.getPos().y + 2;
    startX_ = static_cast<float>(startX);
    startY_ = static_cast<float>(startY);
    goalX_ = static_cast<float>(goalX);
    goalY_ = static_cast<float>(goalY);
    markBorder(startX, startY, true);
    markBorder(goalX, goalY, false);
}

void PathGrid::markBorder(int cornerX, int cornerY, bool start) {
    for (const BorderPoint& point : kBorderPoints) {
        const int x = cornerX + point.x;
        const int y = cornerY + point.y;
        if (!inside(x, y)) {
            continue;
        }
        (start ? at(x, y).startBorder : at(x, y).goalBorder) = 1;
    }
}

void PathGrid::collectRays(int cornerX, int cornerY, std::vector<PathSegment>& rays) const {
    for (std::size_t i = 0; i < kBorderPoints.size(); ++i) {
        const BorderPoint& point = kBorderPoints.at(i);
        const int fromX = cornerX + point.x;
        const int fromY = cornerY + point.y;
        int x = fromX;
        int y = fromY;
        while (inside(x + point.stepX, y + point.stepY) &&
               isPassable(x + point.stepX, y + point.stepY)) {
            x += point.stepX;
            y += point.stepY;
        }
        if (x == fromX && y == fromY) {
            continue;
        }
        PathSegment ray;
        ray.x1 = std::min(fromX, x);
        ray.x2 = std::max(fromX, x);
        ray.y1 = std::min(fromY, y);
        ray.y2 = std::max(fromY, y);
        ray.middle = i % 3 == 1;
        ray.horizontal = point.stepX != 0;
        ray.recompute();
        rays.push_back(ray);
    }
}

PathSegment PathGrid::cut(const PathSegment& ray, bool start, int x, int y) const {
    PathSegment piece = ray;
    const Cell& first = at(ray.x1, ray.y1);
    const bool keepFirst = (start ? first.startBorder : first.goalBorder) != 0;
    if (ray.horizontal) {
        (keepFirst ? piece.x2 : piece.x1) = x;
    } else {
        (keepFirst ? piece.y2 : piece.y1) = y;
    }
    if (piece.x1 > piece.x2) {
        std::swap(piece.x1, piece.x2);
    }
    if (piece.y1 > piece.y2) {
        std::swap(piece.y1, piece.y2);
    }
    piece.recompute();
    return piece;
}

void PathGrid::consider(Path& candidate) {
    if (isBetter(candidate, path_)) {
        path_.swap(candidate);
    }
}

bool PathGrid::connects() {
    return search(true);
}

bool PathGrid::search(bool firstOnly) {
    path_.clear();
    std::vector<PathSegment> startRays;
    std::vector<PathSegment> goalRays;
    collectRays(static_cast<int>(startX_), static_cast<int>(startY_), startRays);
    collectRays(static_cast<int>(goalX_), static_cast<int>(goalY_), goalRays);
    Path candidate;
    for (const PathSegment& s : startRays) {
        for (const PathSegment& g : goalRays) {
            if (meet(s, g)) {
                if (s.horizontal == g.horizontal) {
                    candidate.assign(1, s);
                    consider(candidate);
                    if (firstOnly) {
                        return true;
                    }
                    continue;
                }
                // One turn where they cross.
                const PathSegment& v = s.horizontal ? g : s;
                const PathSegment& h = s.horizontal ? s : g;
                const PathSegment startPiece = cut(s, true, v.x1, h.y1);
                const PathSegment goalPiece = cut(g, false, v.x1, h.y1);
                if (startPiece.length > 0 && goalPiece.length > 0) {
                    candidate = {startPiece, goalPiece};
                    consider(candidate);
                    if (firstOnly) {
                        return true;
                    }
                }
                continue;
            }
            if (s.horizontal != g.horizontal) {
                continue;
            }
            // Two turns: a connector across from one ray to the other at
            // every place their extents share.
            const int low = s.horizontal ? std::max(s.x1, g.x1) : std::max(s.y1, g.y1);
            const int high = s.horizontal ? std::min(s.x2, g.x2) : std::min(s.y2, g.y2);
            for (int p = low; p <= high; ++p) {
                PathSegment connector;
                connector.horizontal = !s.horizontal;
                if (s.horizontal) {
                    connector.x1 = connector.x2 = p;
                    connector.y1 = std::min(s.y1, g.y1);
                    connector.y2 = std::max(s.y1, g.y1);
                } else {
                    connector.y1 = connector.y2 = p;
                    connector.x1 = std::min(s.x1, g.x1);
                    connector.x2 = std::max(s.x1, g.x1);
                }
                connector.recompute();
                bool open = true;
                for (int x = connector.x1; x <= connector.x2 && open; ++x) {
                    for (int y = connector.y1; y <= connector.y2 && open; ++y) {
                        open = isPassable(x, y);
                    }
                }
                if (!open) {
                    continue;
                }
                const PathSegment startPiece = cut(s, true, p, p);
                const PathSegment goalPiece = cut(g, false, p, p);
                if (startPiece.length > 0 && goalPiece.length > 0) {
                    candidate = {startPiece, connector, goalPiece};
                    consider(candidate);
                    if (firstOnly) {
                        return true;
                    }
                }
            }
        }
    }
    return !path_.empty();
}

bool PathGrid::findPath() {
    if (!search(false)) {
        return false;
    }
    // Orient the path from the start tile to the goal tile, then run its
    // ends into the tiles' centre lines.
    if (at(path_.front().x1, path_.front().y1).startBorder == 0) {
        path_.front().reverse();
    }
    for (std::size_t i = 1; i < path_.size(); ++i) {
        const PathSegment& previous = path_[i - 1];
        if (path_[i].x1 != previous.x2 || path_[i].y1 != previous.y2) {
            path_[i].reverse();
        }
    }
    PathSegment& first = path_.front();
    (first.horizontal ? first.x1 : first.y1) =
        static_cast<int>(first.horizontal ? startX_ : startY_) + 2;
    first.recompute();
    PathSegment& last = path_.back();
    (last.horizontal ? last.x2 : last.y2) = static_cast<int>(last.horizontal ? goalX_ : goalY_) + 2;
    last.recompute();
    return true;
}

void PathGrid::segmentToScreen(PathSegment& segment, int originX, int originY) {
    const auto toX = [originX](int x) {
        return originX + (x - 2) * TILE_FACE_WIDTH / 4;
    };
    const auto toY = [originY](int y) {
        return originY + (y - 2) * TILE_FACE_HEIGHT / 4;
    };
    segment.x1 = toX(segment.x1);
    segment.x2 = toX(segment.x2);
    segment.y1 = toY(segment.y1);
    segment.y2 = toY(segment.y2);
    segment.recompute();
}

} // namespace orv
