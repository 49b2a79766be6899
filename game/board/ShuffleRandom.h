#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orv {

/// The second random source of the game: the one every list shuffle draws
/// from (the grouping of faces, a level's layout lists, the Split hands and
/// the Speed twins), apart from the process-wide `RandomGenerator` that every
/// single pick draws from. Keeping the two apart means a shuffle never moves
/// the sequence of picks, and both are seeded, so a deal is the same on every
/// machine for the same two seeds.
///
/// Start-up seeds it with the millisecond clock; tests and tools seed it
/// with a number of their own.
///
///     seedShuffleRandom(1234);
///     randomShuffle(tiles);          // the same order for the same seed
///
/// Main thread only.
namespace ShuffleRandom {

/// Restarts the sequence from `seed`.
void seed(std::uint32_t seed);
/// A draw in [0, 2^31): one step of the shuffle source.
[[nodiscard]] std::uint32_t draw();

} // namespace ShuffleRandom

/// Puts `list` in random order: for k from 1 to its size - 1, entry k swaps
/// places with entry `draw() mod (k + 1)`, so every order is (nearly) equally
/// likely. An empty list or one of a single entry draws nothing.
template <class T>
void randomShuffle(std::vector<T>& list) {
    for (std::size_t k = 1; k < list.size(); ++k) {
        const std::size_t other = ShuffleRandom::draw() % (k + 1);
        if (other != k) {
            std::swap(list[k], list[other]);
        }
    }
}

} // namespace orv
