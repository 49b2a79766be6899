#include "game/screen/RectangleUnion.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orv::test {
namespace {

constexpr int kField = 64;

// How many of `rects` hold each pixel of a kField x kField field.
std::vector<int> coverage(const std::vector<Rect>& rects) {
    std::vector<int> count(kField * kField);
    for (const Rect& r : rects) {
        for (int y = std::max(0, r.y); y < std::min(kField, r.y + r.height); ++y) {
            for (int x = std::max(0, r.x); x < std::min(kField, r.x + r.width); ++x) {
                ++count[static_cast<std::size_t>(y * kField + x)];
            }
        }
    }
    return count;
}

// The union must be disjoint (no pixel twice) and cover exactly the input.
void expectExactCover(const std::vector<Rect>& input) {
    const std::vector<Rect> out = rectangleUnion(input);
    const std::vector<int> in = coverage(input);
    const std::vector<int> got = coverage(out);
    for (std::size_t i = 0; i < in.size(); ++i) {
        ASSERT_LE(got[i], 1) << "pixel " << i % kField << "," << i / kField << " covered twice";
        ASSERT_EQ(got[i], in[i] > 0 ? 1 : 0)
            << "pixel " << i % kField << "," << i / kField << " of " << input.size() << " rects";
    }
    for (const Rect& r : out) {
        EXPECT_FALSE(isEmptyRect(r));
    }
}

TEST(RectangleUnion, SmallCasesGiveTheExpectedCover) {
    struct Case {
        const char* name;
        std::vector<Rect> input;
        std::vector<Rect> expected;
    };
    const std::vector<Case> cases{
        {"empty list", {}, {}},
        {"one rectangle is itself", {{3, 4, 5, 6}}, {{3, 4, 5, 6}}},
        {"empty rectangles add nothing",
         {{1, 1, 0, 5}, {2, 2, 4, -1}, {5, 5, 2, 2}},
         {{5, 5, 2, 2}}},
        {"twice the same", {{0, 0, 4, 4}, {0, 0, 4, 4}}, {{0, 0, 4, 4}}},
        {"side by side join", {{0, 0, 4, 4}, {4, 0, 4, 4}}, {{0, 0, 8, 4}}},
        {"stacked join", {{0, 0, 4, 4}, {0, 4, 4, 4}}, {{0, 0, 4, 8}}},
        {"one inside another", {{0, 0, 10, 10}, {2, 2, 3, 3}}, {{0, 0, 10, 10}}},
        {"apart stay apart", {{0, 0, 2, 2}, {5, 0, 2, 2}}, {{0, 0, 2, 2}, {5, 0, 2, 2}}},
        {"overlapping corner",
         {{0, 0, 4, 4}, {2, 2, 4, 4}},
         {{0, 0, 4, 2}, {0, 2, 6, 2}, {2, 4, 4, 2}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rectangleUnion(c.input), c.expected) << c.name;
        expectExactCover(c.input);
    }
}

TEST(RectangleUnion, RandomSetsAreCoveredExactlyWithoutOverlap) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> pos(-4, kField - 8);
    std::uniform_int_distribution<int> size(-1, 20);
    for (int round = 0; round < 60; ++round) {
        std::vector<Rect> input(static_cast<std::size_t>(1 + round % 25));
        for (Rect& r : input) {
            r = Rect{pos(random), pos(random), size(random), size(random)};
        }
        expectExactCover(input);
    }
}

TEST(RectangleUnion, IntersectionOfRectangles) {
    EXPECT_EQ(intersectRects({0, 0, 10, 10}, {5, 6, 10, 10}), (Rect{5, 6, 5, 4}));
    EXPECT_TRUE(isEmptyRect(intersectRects({0, 0, 4, 4}, {4, 0, 4, 4})));
    EXPECT_TRUE(isEmptyRect(intersectRects({0, 0, 4, 4}, {10, 10, 4, 4})));
}

} // namespace
} // namespace orv::test
