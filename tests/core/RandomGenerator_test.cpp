#include "engine/core/RandomGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {
namespace {

// Expected draws were worked out once, independently of this code, from the
// generator's definition: state = (seed ^ 0x5DEECE66D) mod 2^48, then per step
// state = (state * 0x5DEECE66D + 11) mod 2^48, draw = bits 16..47 as int32.
struct SequenceCase {
    std::uint32_t seedLow;
    std::uint32_t seedHigh;
    std::vector<std::int32_t> draws;
};

class RandomSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(RandomSequence, FollowsTheGeneratorForAFixedSeed) {
    const SequenceCase& c = GetParam();
    RandomGenerator generator(c.seedLow, c.seedHigh);
    for (std::size_t i = 0; i < c.draws.size(); ++i) {
        EXPECT_EQ(generator.next32(), c.draws[i]) << "draw " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Seeds, RandomSequence,
    testing::Values(
        // State 0x5DEECE66D; the first step gives 0xBB20B4600A74.
        SequenceCase{0, 0, {-1155484576, -723955400, 1033096058, -1690734402}},
        SequenceCase{12345, 0, {1553932502, -2090749135, -287790814, -355989640}},
        // The high word counts with its low 16 bits.
        SequenceCase{0xCAFEBABE, 0x1234, {343513019, -1934511498, -1421804647}}));

// `count` results of `draw`, in order.
template <class Draw>
std::vector<int> collect(int count, Draw draw) {
    std::vector<int> values(static_cast<std::size_t>(count));
    for (int& value : values) {
        value = draw();
    }
    return values;
}

class RandomDraws : public testing::Test {
protected:
    void TearDown() override { RandomGenerator::destroyInstance(); }
};

TEST_F(RandomDraws, NextIntReducesWithTheSignOfTheRange) {
    RandomGenerator::createInstance(12345, 0);
    EXPECT_EQ(collect(6, [] { return Random::nextInt(1, 7); }),
              (std::vector<int>{3, 6, 3, 3, 5, 4}));

    RandomGenerator generator(12345, 0);
    EXPECT_EQ(collect(6, [&] { return Random::nextInt(generator, 0, -5); }),
              (std::vector<int>{-3, 0, -4, 0, -1, -1}));
}

TEST_F(RandomDraws, NarrowEmptyAndFullRanges) {
    RandomGenerator generator(99, 0);
    RandomGenerator twin(99, 0);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(Random::nextInt(generator, 5, 6), 5);
        twin.next32();
    }
    // No range at all: min comes back and the generator still steps.
    EXPECT_EQ(Random::nextInt(generator, 8, 8), 8);
    twin.next32();
    EXPECT_EQ(generator.next32(), twin.next32());
    // The widest range does not overflow.
    for (int i = 0; i < 50; ++i) {
        const int value = Random::nextInt(generator, INT_MIN, INT_MAX);
        EXPECT_LT(value, INT_MAX);
    }
}

TEST_F(RandomDraws, NextBytesTakesFourBytesPerDrawLowestFirst) {
    RandomGenerator generator(42, 0);
    std::array<std::uint8_t, 7> bytes{};
    generator.nextBytes(bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 7>{53, 157, 65, 186, 247, 138, 254}));

    // Seven bytes use two draws; the third draw comes next.
    RandomGenerator twin(42, 0);
    twin.next32();
    twin.next32();
    EXPECT_EQ(generator.next32(), twin.next32());
}

TEST_F(RandomDraws, WeightedIndexFollowsTheRunningSums) {
    RandomGenerator::createInstance(7, 0);
    const std::array<int, 4> weights{1, 0, 5, 2};
    EXPECT_EQ(collect(8, [&] { return randomWeightedIndex(weights); }),
              (std::vector<int>{2, 0, 2, 2, 2, 2, 2, 2}));
}

TEST_F(RandomDraws, WeightedIndexNeverPicksAZeroWeight) {
    RandomGenerator::createInstance(2024, 0);
    const std::array<int, 3> single{0, 3, 0};
    const std::array<int, 2> even{2, 2};
    std::array<int, 2> counts{};
    for (int i = 0; i < 4000; ++i) {
        EXPECT_EQ(randomWeightedIndex(single), 1);
        ++counts.at(static_cast<std::size_t>(randomWeightedIndex(even)));
    }
    EXPECT_GT(counts[0], 1800);
    EXPECT_GT(counts[1], 1800);
}

TEST_F(RandomDraws, WeightedIndexWithNothingToDrawLeavesTheGeneratorAlone) {
    RandomGenerator::createInstance(5, 0);
    RandomGenerator twin(5, 0);
    EXPECT_EQ(randomWeightedIndex(std::array<int, 3>{0, 0, 0}), 2);
    EXPECT_EQ(randomWeightedIndex(std::span<const int>{}), -1);
    EXPECT_EQ(RandomGenerator::getInstance().next32(), twin.next32());
}

struct ModuloCase {
    float value;
    float period;
    float expected;
};

class FloatModulo : public testing::TestWithParam<ModuloCase> {};

TEST_P(FloatModulo, LandsInThePeriodsRange) {
    const ModuloCase& c = GetParam();
    EXPECT_FLOAT_EQ(floatModulo(c.value, c.period), c.expected) << c.value << " mod " << c.period;
}

INSTANTIATE_TEST_SUITE_P(Values, FloatModulo,
                         testing::Values(ModuloCase{-1, 3, 2}, ModuloCase{7, 3, 1},
                                         ModuloCase{5, -3, -1}, ModuloCase{-5, -3, -2},
                                         ModuloCase{-3, 3, 0}, ModuloCase{0, 3, 0},
                                         ModuloCase{6, -3, 0}, ModuloCase{-0.5F, 2, 1.5F},
                                         ModuloCase{7.5F, 2.5F, 0}));

// approachValue over many frames of 16 ms: where the position ends, the
// furthest it ever got from its start, and the final speed.
struct ApproachCase {
    const char* name;
    float position;
    float speed;
    float target;
    float deceleration;
    bool allowDownward;
    float expectedPosition; // where it must end, within `tolerance`
    float tolerance;
    float furthest; // the largest distance from the start it may reach
};

class ApproachValue : public testing::TestWithParam<ApproachCase> {};

TEST_P(ApproachValue, EndsWhereExpectedAndNeverRunsAway) {
    const ApproachCase& c = GetParam();
    float position = c.position;
    float speed = c.speed;
    float reach = 0.0F;
    for (int frame = 0; frame < 2000; ++frame) {
        approachValue(position, speed, 16, c.target, 100.0F, 1000.0F, c.deceleration,
                      c.allowDownward);
        reach = std::max(reach, std::abs(position - c.position));
    }
    EXPECT_NEAR(position, c.expectedPosition, c.tolerance) << c.name;
    EXPECT_EQ(speed, 0.0F) << c.name;
    EXPECT_LE(reach, c.furthest) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApproachValue,
    testing::Values(
        // Hard acceleration towards a target 10 units away: lands exactly.
        ApproachCase{"Up", 0, 0, 10, 1000, false, 10, 0, 10},
        ApproachCase{"DownAllowed", 10, 0, 0, 1000, true, 0, 0, 10},
        // Down not allowed: a resting value stays where it is.
        ApproachCase{"DownRefusedAtRest", 10, 0, 0, 1000, false, 10, 0, 0},
        // Down not allowed but already moving down: it keeps going until it brakes
        // at the target.
        ApproachCase{"DownRefusedFalling", 10, -5, 0, 1000, false, 0, 0.001F, 10},
        // Down not allowed and moving up, away from the target: braked to a
        // standstill near its braking distance (20 units) instead of rising
        // for ever.
        ApproachCase{"DownRefusedRising", 0, 20, -10, 10, false, 20, 0.5F, 20.5F}),
    [](const testing::TestParamInfo<ApproachCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });

TEST(ApproachValueStep, RefusedDownwardKeepsAFallingSpeed) {
    float position = 10.0F;
    float speed = -3.0F;
    approachValue(position, speed, 100, 0.0F, 100.0F, 1000.0F, 10.0F, false);
    EXPECT_FLOAT_EQ(speed, -3.0F);
    EXPECT_FLOAT_EQ(position, 9.7F);
}

} // namespace
} // namespace orv
