#include "tools/media/Noise.h"

#include <algorithm>
#include <cmath>

namespace orv::media {

namespace {

int wrap(int v, int period) {
    return period > 0 ? ((v % period) + period) % period : v;
}

// The lattice size of one octave: `cell` pixels, fitted to a whole number of
// cells across the tile when there is one.
struct Lattice {
    double cell;
    int period;
};

Lattice fit(double cell, int tile) {
    cell = std::max(cell, 0.25);
    if (tile <= 0) {
        return {cell, 0};
    }
    const int cells = std::max(1, static_cast<int>(std::lround(tile / cell)));
    return {static_cast<double>(tile) / cells, cells};
}

template <class Shape>
float octaveSum(double x, double y, std::uint32_t seed, const Octaves& octaves, int tileW,
                int tileH, Shape shape) {
    float sum = 0.0F;
    float weight = 1.0F;
    float total = 0.0F;
    double cellX = octaves.cellX;
    double cellY = octaves.cellY;
    for (int k = 0; k < std::max(1, octaves.count); ++k) {
        const Lattice lx = fit(cellX, tileW);
        const Lattice ly = fit(cellY, tileH);
        const float n =
            valueNoise(x / lx.cell, y / ly.cell, seed + static_cast<std::uint32_t>(k) * 0x9E37U,
                       lx.period, ly.period);
        sum += shape(n) * weight;
        total += weight;
        weight *= octaves.gain;
        cellX /= 2.0;
        cellY /= 2.0;
    }
    return sum / total;
}

} // namespace

std::uint32_t hashPoint(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343U ^
                      static_cast<std::uint32_t>(y) * 0xD8163841U ^ seed * 0xCB1AB31FU;
    h ^= h >> 13;
    h *= 0x5BD1E995U;
    h ^= h >> 15;
    h *= 0x27D4EB2DU;
    h ^= h >> 16;
    return h;
}

float hashUnit(int x, int y, std::uint32_t seed) {
    return static_cast<float>(hashPoint(x, y, seed) & 0xFFFFFFU) / static_cast<float>(0xFFFFFF);
}

float valueNoise(double x, double y, std::uint32_t seed, int periodX, int periodY) {
    const double fx0 = std::floor(x);
    const double fy0 = std::floor(y);
    const int x0 = static_cast<int>(fx0);
    const int y0 = static_cast<int>(fy0);
    const auto fx = static_cast<float>(x - fx0);
    const auto fy = static_cast<float>(y - fy0);
    // Quintic fade: smooth slopes as well as values across cell borders.
    const float sx = fx * fx * fx * (fx * (fx * 6.0F - 15.0F) + 10.0F);
    const float sy = fy * fy * fy * (fy * (fy * 6.0F - 15.0F) + 10.0F);
    // The next lattice point wraps by a compare: noise is drawn for every
    // pixel of every octave, and two remainders fewer per point add up.
    const int xa = wrap(x0, periodX);
    const int xb = periodX > 0 ? (xa + 1 == periodX ? 0 : xa + 1) : x0 + 1;
    const int ya = wrap(y0, periodY);
    const int yb = periodY > 0 ? (ya + 1 == periodY ? 0 : ya + 1) : y0 + 1;
    const float a = hashUnit(xa, ya, seed);
    const float b = hashUnit(xb, ya, seed);
    const float c = hashUnit(xa, yb, seed);
    const float d = hashUnit(xb, yb, seed);
    const float top = a + (b - a) * sx;
    const float bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

float fractalNoise(double x, double y, std::uint32_t seed, const Octaves& octaves, int tileW,
                   int tileH) {
    return octaveSum(x, y, seed, octaves, tileW, tileH, [](float n) { return n; });
}

float turbulence(double x, double y, std::uint32_t seed, const Octaves& octaves, int tileW,
                 int tileH) {
    return octaveSum(x, y, seed, octaves, tileW, tileH,
                     [](float n) { return std::abs(2.0F * n - 1.0F); });
}

} // namespace orv::media
