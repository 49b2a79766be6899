#include "game/screen/ConnectionPath.h"

namespace orv {

namespace {

// The corner picture for each unordered pair of sides it joins, indexed by
// the bit set of the sides (bit n = side n).
std::string cornerFor(int sideA, int sideB) {
    const int bits = (1 << sideA) | (1 << sideB);
    switch (bits) {
    case (1 << SideRight) | (1 << SideBottom):
        return "CORNER_0";
    case (1 << SideLeft) | (1 << SideBottom):
        return "CORNER_1";
    case (1 << SideTop) | (1 << SideRight):
        return "CORNER_2";
    case (1 << SideTop) | (1 << SideLeft):
        return "CORNER_3";
    default:
        break;
    }
    // Opposite sides: a straight joint along that axis.
    return (sideA == SideLeft || sideA == SideRight) ? "PATH_H" : "PATH_V";
}

int opposite(int side) {
    return (side + 2) % 4;
}

struct Point {
    int x = 0;
    int y = 0;
};

struct Placed {
    int x = 0;
    int y = 0;
    PieceSize size;
};

int delayOf(float ms) {
    return static_cast<int>(ms);
}

} // namespace

int segmentHeading(const PathSegment& segment) {
    if (segment.dx > 0) {
        return SideRight;
    }
    if (segment.dx < 0) {
        return SideLeft;
    }
    if (segment.dy < 0) {
        return SideTop;
    }
    if (segment.dy > 0) {
        return SideBottom;
    }
    return segment.horizontal ? SideRight : SideBottom;
}

int startCapIndex(const PathSegment& first) {
    return segmentHeading(first);
}

int endCapIndex(const PathSegment& last) {
    return opposite(segmentHeading(last));
}

std::string jointImage(const PathSegment& before, const PathSegment& after) {
    return cornerFor(opposite(segmentHeading(before)), segmentHeading(after));
}

std::vector<PathPiece>
layoutConnectionPath(std::span<const PathSegment> segments, bool red, float delayPerPixel,
                     const std::function<PieceSize(const std::string&)>& sizeOf) {
    std::vector<PathPiece> pieces;
    if (segments.empty()) {
        return pieces;
    }
    const std::string prefix = red ? "RED_" : "";

    // The point pieces in path order: the start cap, a joint at the start of
    // every further segment, the end cap.
    std::vector<Point> points;
    std::vector<std::string> names;
    points.push_back({segments.front().x1, segments.front().y1});
    names.push_back("CAP_" + std::to_string(startCapIndex(segments.front())));
    for (std::size_t i = 1; i < segments.size(); ++i) {
        points.push_back({segments[i].x1, segments[i].y1});
        names.push_back(jointImage(segments[i - 1], segments[i]));
    }
    points.push_back({segments.back().x2, segments.back().y2});
    names.push_back("CAP_" + std::to_string(endCapIndex(segments.back())));

    const PieceSize straightH = sizeOf(prefix + "PATH_H");
    const PieceSize straightV = sizeOf(prefix + "PATH_V");
    const float tenPixels = 10.0F * delayPerPixel;
    float delay = 0.0F;
    Placed previous;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const std::string name = prefix + names[k];
        const PieceSize size = sizeOf(name);
        const Placed placed{points[k].x - size.width / 2, points[k].y - size.height / 2, size};
        if (k > 0) {
            const int heading = segmentHeading(segments[k - 1]);
            const bool horizontal = heading == SideLeft || heading == SideRight;
            const bool backwards = heading == SideLeft || heading == SideTop;
            // The gap between the nearer edges of the two point pieces.
            int from = 0;
            int to = 0;
            if (horizontal) {
                from = backwards ? placed.x + placed.size.width : previous.x + previous.size.width;
                to = backwards ? previous.x : placed.x;
            } else {
                from =
                    backwards ? placed.y + placed.size.height : previous.y + previous.size.height;
                to = backwards ? previous.y : placed.y;
            }
            const int gap = to - from;
            const PieceSize step = horizontal ? straightH : straightV;
            const int stride = horizontal ? step.width : step.height;
            if (gap > 0 && stride > 0) {
                for (int offset = 0; offset < gap; offset += stride) {
                    const float along =
                        backwards ? static_cast<float>(gap - offset) * delayPerPixel - delayPerPixel
                                  : static_cast<float>(offset) * delayPerPixel;
                    PathPiece copy;
                    copy.image = prefix + (horizontal ? "PATH_H" : "PATH_V");
                    copy.x = horizontal ? from + offset : previous.x;
                    copy.y = horizontal ? previous.y : from + offset;
                    copy.delayMs = delayOf(delay + along);
                    pieces.push_back(std::move(copy));
                }
                delay += static_cast<float>(gap) * delayPerPixel;
            }
            delay += tenPixels;
        }
        pieces.push_back({name, placed.x, placed.y, delayOf(delay)});
        if (k > 0) {
            delay += tenPixels;
        }
        previous = placed;
    }
    return pieces;
}

} // namespace orv
