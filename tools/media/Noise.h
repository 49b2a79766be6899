#pragma once

#include <cstdint>

/// Seeded noise for materials: integer hashing (the same on every machine),
/// smooth value noise and its fractal sums. Coordinates are in pixels.
namespace orv::media {

/// A well-mixed 32-bit hash of a lattice point and a seed.
[[nodiscard]] std::uint32_t hashPoint(int x, int y, std::uint32_t seed);
/// The same hash as a number in 0..1.
[[nodiscard]] float hashUnit(int x, int y, std::uint32_t seed);

/// Smooth value noise in 0..1 at (x, y) lattice units. With a period above 0
/// the lattice wraps, so the noise repeats every `periodX` x `periodY` cells.
[[nodiscard]] float valueNoise(double x, double y, std::uint32_t seed, int periodX = 0,
                               int periodY = 0);

/// How a fractal sum is built: the first octave's features are `cellX` x
/// `cellY` pixels (long cells make streaks and grain), each further octave
/// halves them and weighs `gain` times the one before.
struct Octaves {
    double cellX = 32.0;
    double cellY = 32.0;
    int count = 4;
    float gain = 0.5F;
};

/// Fractal value noise in 0..1 (a weighted mean of the octaves). With a tile
/// size above 0 it repeats every `tileW` x `tileH` pixels: each octave's cell
/// is stretched a little so that a whole number of cells fits the tile.
[[nodiscard]] float fractalNoise(double x, double y, std::uint32_t seed, const Octaves& octaves,
                                 int tileW = 0, int tileH = 0);

/// Turbulence in 0..1: the fractal sum of |2n - 1|, creased where the noise
/// crosses its middle (marble veins, cloud edges). Tiles like fractalNoise.
[[nodiscard]] float turbulence(double x, double y, std::uint32_t seed, const Octaves& octaves,
                               int tileW = 0, int tileH = 0);

} // namespace orv::media
