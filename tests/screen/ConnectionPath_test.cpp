#include "game/screen/ConnectionPath.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

namespace orv {
namespace {

PathSegment seg(int x1, int y1, int x2, int y2) {
    PathSegment s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.recompute();
    s.horizontal = y1 == y2;
    return s;
}

// Caps and corners 10 x 10, straight pieces 4 x 10 and 10 x 4.
PieceSize sizeOf(const std::string& name) {
    const std::string plain = name.rfind("RED_", 0) == 0 ? name.substr(4) : name;
    if (plain == "PATH_H") {
        return {4, 10};
    }
    if (plain == "PATH_V") {
        return {10, 4};
    }
    return {10, 10};
}

TEST(ConnectionPath, CapsNameTheSideTheLineLeavesThrough) {
    struct Case {
        PathSegment segment;
        int start;
        int end;
    };
    const std::array<Case, 4> cases{{
        {seg(0, 50, 0, 0), 0, 2}, // up: leaves the start at the top, arrives from below
        {seg(0, 0, 50, 0), 1, 3}, // right
        {seg(0, 0, 0, 50), 2, 0}, // down
        {seg(50, 0, 0, 0), 3, 1}, // left
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(startCapIndex(c.segment), c.start) << c.segment.dx << "," << c.segment.dy;
        EXPECT_EQ(endCapIndex(c.segment), c.end) << c.segment.dx << "," << c.segment.dy;
    }
}

TEST(ConnectionPath, CornersJoinTheSidesOfBothSegments) {
    const PathSegment right = seg(0, 0, 10, 0);
    const PathSegment left = seg(10, 0, 0, 0);
    const PathSegment up = seg(0, 10, 0, 0);
    const PathSegment down = seg(0, 0, 0, 10);
    struct Case {
        PathSegment before;
        PathSegment after;
        const char* joint;
    };
    const std::array<Case, 10> cases{{
        {right, down, "CORNER_1"}, // from the left, out at the bottom
        {up, left, "CORNER_1"},    // from below, out to the left
        {left, down, "CORNER_0"},
        {up, right, "CORNER_0"},
        {right, up, "CORNER_3"},
        {down, left, "CORNER_3"},
        {left, up, "CORNER_2"},
        {down, right, "CORNER_2"},
        {right, right, "PATH_H"}, // one line: no corner
        {down, down, "PATH_V"},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(jointImage(c.before, c.after), c.joint);
    }
}

TEST(ConnectionPath, StraightPathHasTwoCapsJoinedByStraightPieces) {
    const std::array<PathSegment, 1> path{seg(0, 0, 20, 0)};
    const std::vector<PathPiece> pieces = layoutConnectionPath(path, false, 1.0F, sizeOf);
    // Two caps and three 4-pixel copies over the 10-pixel gap between them
    // (the last reaches 2 pixels past it).
    ASSERT_EQ(pieces.size(), 5U);
    EXPECT_EQ(pieces.front().image, "CAP_1");
    EXPECT_EQ(pieces.front().x, -5);
    EXPECT_EQ(pieces.front().y, -5);
    EXPECT_EQ(pieces.front().delayMs, 0);
    const std::array<int, 3> xs{5, 9, 13};
    for (std::size_t i = 0; i < xs.size(); ++i) {
        EXPECT_EQ(pieces[1 + i].image, "PATH_H");
        EXPECT_EQ(pieces[1 + i].x, xs[i]);
        EXPECT_EQ(pieces[1 + i].y, -5);
        EXPECT_EQ(pieces[1 + i].delayMs, static_cast<int>(i) * 4); // distance into the gap
    }
    EXPECT_EQ(pieces.back().image, "CAP_3");
    EXPECT_EQ(pieces.back().x, 15);
    EXPECT_EQ(pieces.back().delayMs, 10 + 10); // the gap, then ten pixels
}

TEST(ConnectionPath, NonMatchGoesRedAndGrowsFromTheStartAlongEveryBend) {
    // Up 30, then left 30, then down 30.
    const std::array<PathSegment, 3> path{seg(100, 100, 100, 70), seg(100, 70, 70, 70),
                                          seg(70, 70, 70, 100)};
    const std::vector<PathPiece> pieces = layoutConnectionPath(path, true, 2.0F, sizeOf);
    std::vector<std::string> points;
    int lastPointDelay = -1;
    for (const PathPiece& piece : pieces) {
        EXPECT_EQ(piece.image.rfind("RED_", 0), 0U) << piece.image;
        if (piece.image.find("PATH_") == std::string::npos) {
            points.push_back(piece.image);
            EXPECT_GT(piece.delayMs, lastPointDelay) << piece.image;
            lastPointDelay = piece.delayMs;
        }
    }
    const std::vector<std::string> expected{"RED_CAP_0", "RED_CORNER_1", "RED_CORNER_0",
                                            "RED_CAP_0"};
    EXPECT_EQ(points, expected);
    // A segment running up grows from its lower end: its first copy (the
    // top one) comes last.
    ASSERT_EQ(pieces[1].image, "RED_PATH_V");
    EXPECT_GT(pieces[1].delayMs, pieces[2].delayMs);
}

TEST(ConnectionPath, NoSegmentsNoPieces) {
    EXPECT_TRUE(layoutConnectionPath({}, false, 1.0F, sizeOf).empty());
}

} // namespace
} // namespace orv
