#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "game/board/PathGrid.h"
#include "tests/board/BoardFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::makeLayout;
using test::tileAt;
using PathGridTest = test::BoardTest;

struct PathCase {
    const char* what;
    std::vector<TilePos> others; // tiles besides the two, any layer
    TilePos a;
    TilePos b;
    int segments; // 0: no path
};

// Every segment is axis-parallel, the path runs on from one end to the
// next, and it starts and ends on the centre lines of its tiles.
void expectWellFormed(const std::vector<PathSegment>& path, const TilePos& a, const TilePos& b,
                      const std::string& what) {
    ASSERT_FALSE(path.empty()) << what;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const PathSegment& s = path[i];
        EXPECT_TRUE(s.x1 == s.x2 || s.y1 == s.y2) << what;
        EXPECT_EQ(s.dx, s.x2 - s.x1) << what;
        EXPECT_EQ(s.dy, s.y2 - s.y1) << what;
        EXPECT_EQ(s.length, std::max(std::abs(s.dx), std::abs(s.dy))) << what;
        if (i > 0) {
            EXPECT_EQ(s.x1, path[i - 1].x2) << what << ", segment " << i;
            EXPECT_EQ(s.y1, path[i - 1].y2) << what << ", segment " << i;
        }
    }
    const PathSegment& first = path.front();
    const PathSegment& last = path.back();
    EXPECT_EQ(first.horizontal ? first.x1 : first.y1, first.horizontal ? 2 * a.x + 4 : 2 * a.y + 4)
        << what;
    EXPECT_EQ(last.horizontal ? last.x2 : last.y2, last.horizontal ? 2 * b.x + 4 : 2 * b.y + 4)
        << what;
}

TEST_F(PathGridTest, PathsOfOneTwoAndThreeSegmentsAndBlockedOnes) {
    const PathCase cases[] = {
        {"a straight gap", {}, {0, 2, 0}, {6, 2, 0}, 1},
        {"a straight gap downwards", {}, {4, 0, 0}, {4, 8, 0}, 1},
        {"a tile of another layer in the gap", {{3, 2, 1}}, {0, 2, 0}, {6, 2, 0}, 1},
        {"touching side by side: around", {}, {0, 2, 0}, {2, 2, 0}, 3},
        {"a wall on the layer: around it", {{3, 2, 0}}, {0, 2, 0}, {6, 2, 0}, 3},
        {"one turn", {}, {0, 0, 0}, {8, 6, 0}, 2},
        {"through the margin above the board", {{2, 0, 0}}, {0, 0, 0}, {4, 0, 0}, 3},
        {"enclosed on four sides",
         {{2, 4, 0}, {6, 4, 0}, {4, 2, 0}, {4, 6, 0}},
         {4, 4, 0},
         {14, 4, 0},
         0},
        {"the goal walled in by a ring",
         {{8, 0, 0},
          {10, 0, 0},
          {12, 0, 0},
          {8, 2, 0},
          {12, 2, 0},
          {8, 4, 0},
          {10, 4, 0},
          {12, 4, 0}},
         {0, 2, 0},
         {10, 2, 0},
         0},
        {"at the far corner of the grid", {}, {37, 17, 0}, {39, 19, 0}, 2},
    };
    for (const PathCase& c : cases) {
        std::vector<TilePos> places = c.others;
        places.push_back(c.a);
        places.push_back(c.b);
        RefPtr<Layout> board(new Layout());
        for (const TilePos& pos : places) {
            RefPtr<Tile> tile(new Tile(nullptr));
            board->setTileAt(tile.get(), pos);
        }
        PathGrid grid;
        grid.build(*board, *tileAt(*board, c.a), *tileAt(*board, c.b));
        const bool found = grid.findPath();
        EXPECT_EQ(found, c.segments > 0) << c.what;
        EXPECT_EQ(static_cast<int>(grid.getPath().size()), c.segments) << c.what;
        PathGrid quick;
        quick.build(*board, *tileAt(*board, c.a), *tileAt(*board, c.b));
        EXPECT_EQ(quick.connects(), found) << c.what;
        if (found) {
            expectWellFormed(grid.getPath(), c.a, c.b, c.what);
            // The other way round finds a path of the same shape.
            PathGrid back;
            back.build(*board, *tileAt(*board, c.b), *tileAt(*board, c.a));
            EXPECT_TRUE(back.findPath()) << c.what;
            EXPECT_EQ(back.getPath().size(), grid.getPath().size()) << c.what;
        }
    }
}

TEST_F(PathGridTest, AStraightGapIsCrossedFromCentreToCentre) {
    RefPtr<Layout> board = makeLayout({{0, 2, 0}, {6, 2, 0}});
    PathGrid grid;
    grid.build(*board, *tileAt(*board, {6, 2, 0}), *tileAt(*board, {0, 2, 0}));
    ASSERT_TRUE(grid.findPath());
    ASSERT_EQ(grid.getPath().size(), 1U);
    const PathSegment& s = grid.getPath().front();
    EXPECT_EQ(s.x1, 16);
    EXPECT_EQ(s.x2, 4);
    EXPECT_EQ(s.y1, 8);
    EXPECT_EQ(s.y2, 8);
    EXPECT_EQ(s.dx, -12);
    EXPECT_EQ(s.length, 12);
    EXPECT_TRUE(s.middle);
    EXPECT_TRUE(s.horizontal);
}

TEST_F(PathGridTest, PathsLeaveThroughEdgeMiddlesWithFewTurns) {
    // An L: out of the right middle of one tile, into the top middle of the
    // other, though many other paths of one turn exist.
    RefPtr<Layout> board = makeLayout({{0, 4, 0}, {8, 8, 0}});
    PathGrid grid;
    grid.build(*board, *tileAt(*board, {0, 4, 0}), *tileAt(*board, {8, 8, 0}));
    ASSERT_TRUE(grid.findPath());
    const std::vector<PathSegment>& path = grid.getPath();
    ASSERT_EQ(path.size(), 2U);
    EXPECT_TRUE(path[0].middle);
    EXPECT_TRUE(path[1].middle);
    EXPECT_EQ(path[0].y1, 12); // the start tile's centre row
    EXPECT_EQ(path[1].x2, 20); // the goal tile's centre column
    EXPECT_EQ(path[1].y2, 20);

    // Around a wall: the three-segment path through both tiles' middles
    // wins over any path leaving by an edge's end point.
    RefPtr<Layout> walled = makeLayout({{0, 4, 0}, {4, 4, 0}, {8, 4, 0}});
    PathGrid around;
    around.build(*walled, *tileAt(*walled, {0, 4, 0}), *tileAt(*walled, {8, 4, 0}));
    ASSERT_TRUE(around.findPath());
    ASSERT_EQ(around.getPath().size(), 3U);
    EXPECT_TRUE(around.getPath().front().middle);
    EXPECT_TRUE(around.getPath().back().middle);
    EXPECT_EQ(around.getPath().front().x1, 4);
    EXPECT_EQ(around.getPath().back().x2, 20);
}

TEST_F(PathGridTest, OnlyTheTileOwnLayerBlocksAndTheMarginIsFree) {
    RefPtr<Layout> board = makeLayout({{0, 0, 1}, {2, 0, 1}, {4, 0, 0}});
    PathGrid grid;
    grid.build(*board, *tileAt(*board, {0, 0, 1}), *tileAt(*board, {2, 0, 1}));
    EXPECT_EQ(grid.getLayer(), 1);
    EXPECT_TRUE(grid.isBlocked(2, 2));
    EXPECT_FALSE(grid.isBlocked(10, 2)); // the tile of layer 0
    EXPECT_TRUE(grid.isPassable(0, 0));
    EXPECT_TRUE(grid.isPassable(3, 2));  // a border point of the start tile
    EXPECT_FALSE(grid.isPassable(2, 2)); // its corner
    ASSERT_TRUE(grid.findPath());
    int top = PathGrid::kHeight;
    for (const PathSegment& s : grid.getPath()) {
        top = std::min({top, s.y1, s.y2});
    }
    EXPECT_LT(top, 2); // over the board's top edge
}

TEST_F(PathGridTest, SegmentsTurnIntoScreenPixelsFromTheBoardCorner) {
    BasicProperties::get()->getInteger("TILE_FACE_WIDTH") = 40;
    BasicProperties::get()->getInteger("TILE_FACE_HEIGHT") = 50;
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
    PathSegment segment;
    segment.x1 = 2;
    segment.y1 = 8;
    segment.x2 = 9;
    segment.y2 = 8;
    segment.recompute();
    PathGrid::segmentToScreen(segment, 100, 60);
    EXPECT_EQ(segment.x1, 100);
    EXPECT_EQ(segment.x2, 100 + 7 * 40 / 4);
    EXPECT_EQ(segment.y1, 60 + 6 * 50 / 4); // 75: a quarter step truncated
    EXPECT_EQ(segment.y2, segment.y1);
    EXPECT_EQ(segment.dx, 70);
    EXPECT_EQ(segment.dy, 0);
    EXPECT_EQ(segment.length, 70);
    // Points in the margin lie left of and above the origin.
    PathSegment margin;
    margin.x1 = 0;
    margin.y1 = 0;
    margin.x2 = 0;
    margin.y2 = 5;
    PathGrid::segmentToScreen(margin, 100, 60);
    EXPECT_EQ(margin.x1, 100 - 20);
    EXPECT_EQ(margin.y1, 60 - 25);
    EXPECT_EQ(margin.y2, 60 + 3 * 50 / 4);
    EXPECT_EQ(margin.length, 25 + 37);
}

} // namespace
} // namespace orv
