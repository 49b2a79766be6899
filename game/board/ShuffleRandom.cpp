#include "game/board/ShuffleRandom.h"

#include "engine/core/RandomGenerator.h"

#include <optional>

namespace orv::ShuffleRandom {

namespace {

// A generator of the engine's kind with a sequence of its own; seeded with a
// fixed number until start-up or a test seeds it.
std::optional<RandomGenerator>& generator() {
    static std::optional<RandomGenerator> instance;
    if (!instance) {
        instance.emplace(1, 0);
    }
    return instance;
}

} // namespace

void seed(std::uint32_t seed) {
    generator().emplace(seed, 0);
}

std::uint32_t draw() {
    return static_cast<std::uint32_t>(generator()->next32()) >> 1U;
}

} // namespace orv::ShuffleRandom
