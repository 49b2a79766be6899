#include "game/screen/ModifierShake.h"

#include "engine/core/GameNode.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/RefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace orv {
namespace {

// Shakes a node at rest at (100, 50) in 7 ms frames and notes the offsets
// it jumped to.
TEST(ModifierShake, JumpsWithinItsRangeAndEndsExactlyAtRest) {
    struct ShakeCase {
        const char* what;
        int amplitudeX;
        int amplitudeY;
        bool oneSided;
        int lowX, highX, lowY, highY; // the offsets allowed, both ends included
    };
    const ShakeCase cases[] = {
        {"two-sided", 4, 2, false, -4, 3, -2, 1},
        {"one-sided never left of or above rest", 4, 2, true, 0, 7, 0, 3},
        {"an axis of amplitude 0 stays still", 0, 3, false, 0, 0, -3, 2},
    };
    for (const ShakeCase& c : cases) {
        RandomGenerator::createInstance(1234U, 0U);
        RefPtr<GameNode> node(new GameNode());
        node->setPosition(100, 50);
        auto* shake = new ModifierShake(c.amplitudeX, c.amplitudeY, 3000, c.oneSided, 10, 30);
        node->addModifier(shake);
        int minX = INT_MAX;
        int maxX = INT_MIN;
        int minY = INT_MAX;
        int maxY = INT_MIN;
        int moves = 0;
        for (int t = 0; t < 2996; t += 7) {
            shake->update(7);
            const int dx = node->getX() - 100;
            const int dy = node->getY() - 50;
            moves += dx != 0 || dy != 0 ? 1 : 0;
            minX = std::min(minX, dx);
            maxX = std::max(maxX, dx);
            minY = std::min(minY, dy);
            maxY = std::max(maxY, dy);
        }
        ASSERT_FALSE(shake->isDone()) << c.what;
        EXPECT_GT(moves, 50) << c.what;
        EXPECT_GE(minX, c.lowX) << c.what;
        EXPECT_LE(maxX, c.highX) << c.what;
        EXPECT_GE(minY, c.lowY) << c.what;
        EXPECT_LE(maxY, c.highY) << c.what;
        // Over so many jumps both ends of the range come up.
        EXPECT_EQ(minY, c.lowY) << c.what;
        EXPECT_EQ(maxY, c.highY) << c.what;

        shake->update(7);
        EXPECT_TRUE(shake->isDone()) << c.what;
        EXPECT_EQ(node->getX(), 100) << c.what;
        EXPECT_EQ(node->getY(), 50) << c.what;
    }
}

// The first jump waits an interval drawn in the constructor.
TEST(ModifierShake, TheFirstJumpWaitsAnInterval) {
    RandomGenerator::createInstance(99U, 0U);
    RefPtr<GameNode> node(new GameNode());
    node->setPosition(5, 5);
    auto* shake = new ModifierShake(3, 3, 1000, true, 40, 41);
    node->addModifier(shake);
    shake->update(39);
    EXPECT_EQ(node->getX(), 5);
    EXPECT_EQ(node->getY(), 5);
    int moved = 0;
    for (int i = 0; i < 10; ++i) {
        shake->update(40);
        moved += node->getX() != 5 || node->getY() != 5 ? 1 : 0;
    }
    EXPECT_GT(moved, 0);
}

} // namespace
} // namespace orv
