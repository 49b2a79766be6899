// The moving modifiers: straight lines, waves and paths along polygons, over
// tables of steps with the position expected after each.

#include "engine/core/GameNode.h"
#include "engine/graphics/Polygon.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierLocationPolygonicPath.h"
#include "engine/scene/ModifierLocationWave.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

using Position = std::pair<int, int>;

struct LocationStep {
    int dtMs;
    Position expected;
    bool done;
};

void runLocationSteps(Modifier& modifier, GameNode& node, const std::vector<LocationStep>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        modifier.update(steps[i].dtMs);
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(Position(node.getX(), node.getY()), steps[i].expected);
        EXPECT_EQ(modifier.isDone(), steps[i].done);
    }
}

template <class Case>
std::string locationCaseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// ---- straight line -----------------------------------------------------------

struct LineCase {
    const char* name;
    Position from;
    Position to;
    int durationMs;
    bool smooth;
    std::vector<LocationStep> steps;
};

class LineSteps : public testing::TestWithParam<LineCase> {};

TEST_P(LineSteps, PlacesTheTargetAtTheTruncatedPointAndEndsOnTheEndPoint) {
    const LineCase& c = GetParam();
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<ModifierLocationLine> move(new ModifierLocationLine(
        c.from.first, c.from.second, c.to.first, c.to.second, c.durationMs, c.smooth));
    move->setTarget(node.get());
    runLocationSteps(*move, *node, c.steps);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LineSteps,
    testing::Values(
        LineCase{"Linear",
                 {0, 0},
                 {100, 50},
                 1000,
                 false,
                 {{250, {25, 12}, false}, {250, {50, 25}, false}, {500, {100, 50}, true}}},
        LineCase{
            "TruncatesTowardZero", {0, 0}, {-100, -50}, 1000, false, {{250, {-25, -12}, false}}},
        // smoothstep(0.25) = 0.15625
        LineCase{"Smooth",
                 {0, 0},
                 {100, 64},
                 1000,
                 true,
                 {{250, {15, 10}, false}, {250, {50, 32}, false}}},
        LineCase{"LongFrameLandsOnTheEnd",
                 {10, 600},
                 {10, 200},
                 90,
                 true,
                 {{50, {10, 366}, false}, {100, {10, 200}, true}}},
        LineCase{"ZeroDuration", {0, 0}, {300, -7}, 0, false, {{16, {300, -7}, true}}}),
    locationCaseName<LineCase>);

TEST(ModifierLocationLine, MovesOnlyTheAxesAllowed) {
    RefPtr<GameNode> node(new GameNode("node"));
    node->setPosition(5, 6);
    RefPtr<ModifierLocationLine> move(new ModifierLocationLine(0, 0, 100, 100, 100, false));
    move->setMoveX(false);
    move->setTarget(node.get());
    move->update(50);
    EXPECT_EQ(Position(node->getX(), node->getY()), Position(5, 50));
    EXPECT_FLOAT_EQ(move->getCurrentX(), 50.0F);
}

// ---- wave --------------------------------------------------------------------

TEST(ModifierLocationWave, TurnsRoundTheCentreAndFinishesInTheUpdateAfterBothTimesPassed) {
    RefPtr<GameNode> node(new GameNode("node"));
    // Radius 100 throughout, half a turn over 2000 ms.
    RefPtr<ModifierLocationWave> wave(
        new ModifierLocationWave(100, 100, 50, 100, 0.0F, 3.14159265F, 1000, 2000));
    wave->setTarget(node.get());
    runLocationSteps(*wave, *node,
                     {{1000, {150, 100}, false}, // elapsed 0: radius 50, angle 0
                      {1000, {100, 200}, false}, // elapsed 1000: radius 100, angle pi / 2
                      {1000, {0, 100}, true}});  // elapsed 2000: the end, and done
}

TEST(ModifierLocationWave, WithBothTimesZeroShowsTheEndAndFinishesAtOnce) {
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<ModifierLocationWave> wave(
        new ModifierLocationWave(10, 20, 0, 30, 0.0F, 1.5707964F, 0, 0));
    wave->setTarget(node.get());
    runLocationSteps(*wave, *node, {{16, {10, 50}, true}});
}

// ---- path along a polygon ----------------------------------------------------

struct PathCase {
    const char* name;
    std::vector<PointF> points;
    int startVertex;
    int durationMs;
    bool loop;
    std::vector<LocationStep> steps;
};

class PathSteps : public testing::TestWithParam<PathCase> {};

TEST_P(PathSteps, KeepsTheTargetOnThePath) {
    const PathCase& c = GetParam();
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<Polygon> polygon(new Polygon(c.points));
    RefPtr<ModifierLocationPolygonicPath> path(new ModifierLocationPolygonicPath(
        polygon.get(), c.startVertex, c.durationMs, c.loop, false));
    path->setTarget(node.get());
    runLocationSteps(*path, *node, c.steps);
}

const std::vector<PointF> kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
const std::vector<PointF> kStairs{{0, 0}, {10, 0}, {10, 10}, {20, 10}};

INSTANTIATE_TEST_SUITE_P(
    Kinds, PathSteps,
    testing::Values(
        // Edges of 10 and one step of 25: the target must land 5 into the
        // third edge, not 15 along the second (off the path).
        PathCase{"OneStepPassesTwoEdges",
                 kStairs,
                 0,
                 300,
                 false,
                 {{250, {0, 0}, false}, {50, {15, 10}, false}, {16, {20, 10}, true}}},
        PathCase{"SmallSteps",
                 kStairs,
                 0,
                 300,
                 false,
                 {{50, {0, 0}, false},
                  {100, {5, 0}, false},
                  {100, {10, 5}, false},
                  {100, {15, 10}, false},
                  {0, {20, 10}, true}}},
        PathCase{"ClosedSquareRoundOnce",
                 kSquare,
                 0,
                 400,
                 false,
                 {{250, {0, 0}, false},
                  {100, {5, 10}, false},
                  {100, {0, 5}, false},
                  {100, {0, 0}, true}}},
        // From vertex 2 the square is gone round back to vertex 2.
        PathCase{"StartVertex",
                 kSquare,
                 2,
                 400,
                 false,
                 {{100, {10, 10}, false},
                  {200, {0, 10}, false},
                  {100, {10, 0}, false},
                  {16, {10, 10}, true}}},
        // An open path ends at its last point, also when walked from a later
        // vertex round over the first.
        PathCase{"OpenFromALaterVertexEndsAtTheLastPoint",
                 {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
                 1,
                 300,
                 false,
                 {{200, {10, 0}, false}, {100, {0, 10}, false}, {16, {0, 10}, true}}},
        PathCase{"ZeroDurationEndsAtOnce", kStairs, 0, 0, false, {{16, {20, 10}, true}}},
        PathCase{"ZeroDurationLoopingEndsToo", kSquare, 0, 0, true, {{16, {0, 0}, true}}},
        PathCase{"EmptyPolygon", {}, 0, 100, false, {{16, {0, 0}, true}}},
        PathCase{"SinglePoint",
                 {{7, 8}},
                 0,
                 100,
                 false,
                 {{50, {7, 8}, false}, {50, {7, 8}, false}, {0, {7, 8}, true}}}),
    locationCaseName<PathCase>);

TEST(ModifierLocationPolygonicPath, LoopingStartsOverAndNeverFinishes) {
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<Polygon> square(new Polygon(kSquare));
    RefPtr<ModifierLocationPolygonicPath> path(
        new ModifierLocationPolygonicPath(square.get(), 0, 400, true, false));
    path->setTarget(node.get());
    EXPECT_DOUBLE_EQ(path->getTotalLength(), 40.0);
    std::vector<Position> seen;
    for (int i = 0; i < 12; ++i) {
        path->update(100);
        seen.emplace_back(node->getX(), node->getY());
        ASSERT_FALSE(path->isDone());
    }
    const std::vector<Position> oneRound{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i], oneRound[i % 4]) << "update " << i;
    }
}

TEST(ModifierLocationPolygonicPath, SmoothEasingAndRoundingToNearest) {
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<Polygon> line(new Polygon({{0, 0}, {100, 0}}));
    RefPtr<ModifierLocationPolygonicPath> path(
        new ModifierLocationPolygonicPath(line.get(), 0, 1000, false, true));
    path->setTarget(node.get());
    path->update(250);
    path->update(250); // applies the time before it: smoothstep(0.25) x 100 = 15.625
    EXPECT_EQ(node->getX(), 16);
}

TEST(ModifierLocationPolygonicPath, AStartVertexOutsideThePolygonUsesVertexZero) {
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<Polygon> stairs(new Polygon(kStairs));
    RefPtr<ModifierLocationPolygonicPath> path(
        new ModifierLocationPolygonicPath(stairs.get(), 9, 100, false, false));
    path->setTarget(node.get());
    EXPECT_EQ(path->getStartX(), 0);
    EXPECT_EQ(path->getCurrentVertex(), 0);
    EXPECT_EQ(stairs->getRefCount(), 2); // the path holds its polygon
}

} // namespace
} // namespace orv
