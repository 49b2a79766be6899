#include "tools/media/Materials.h"

#include "tools/media/Noise.h"
#include "tools/media/Palette.h"

#include <algorithm>
#include <cmath>

namespace orv::media {

namespace {

constexpr double pi = 3.14159265358979323846;

float smoothstep(float lo, float hi, float v) {
    const float t = std::clamp((v - lo) / (hi - lo), 0.0F, 1.0F);
    return t * t * (3.0F - 2.0F * t);
}

// A spacing fitted so that a whole number of periods spans `length`.
double fitted(double spacing, int length) {
    const double periods = std::max(1.0, std::round(length / std::max(spacing, 1.0)));
    return length / periods;
}

template <class Paint>
Pixmap paintEach(int width, int height, Paint paint) {
    Pixmap out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgba c = paint(x + 0.5, y + 0.5);
            c.a = 1.0F;
            out(x, y) = c;
        }
    }
    return out;
}

// The colour of wood at a point of the grain: `across` runs across the grain
// lines, `along` with them.
Rgba woodAt(double across, double along, double acrossLength, double alongLength,
            std::uint32_t seed, const WoodPalette& palette, const WoodGrain& grain, int tileAcross,
            int tileAlong) {
    // The lines wander with noise that is long along the grain, and their
    // rings widen and narrow, so no two boards look ruled.
    const double wander =
        (fractalNoise(across, along, seed, {acrossLength / 10, alongLength / 3, 4, 0.55F},
                      tileAcross, tileAlong) -
         0.5) *
        6.0 * grain.waviness;
    const double rings =
        fractalNoise(across, along, seed + 5U, {acrossLength / 6, alongLength, 2, 0.5F}, tileAcross,
                     tileAlong) *
        1.6;
    const double spacing = tileAcross > 0 ? fitted(grain.spacing, tileAcross) : grain.spacing;
    const double phase = (across + wander) / spacing + rings;
    // Early wood is broad and light, late wood a narrow dark line that comes
    // and goes along its length.
    const auto wave = static_cast<float>(0.5 + 0.5 * std::sin(2.0 * pi * phase));
    const float strength =
        fractalNoise(across, along, seed + 17U, {12, 90, 2, 0.5F}, tileAcross, tileAlong);
    const float line = smoothstep(0.6F, 0.97F, wave) * (0.35F + 0.65F * strength);
    const float body =
        fractalNoise(across, along, seed + 11U, {60, 240, 3, 0.5F}, tileAcross, tileAlong);
    const float pores =
        fractalNoise(across, along, seed + 23U, {1.6, 28, 2, 0.6F}, tileAcross, tileAlong);
    Rgba c = mix(palette.mid, palette.light, body * 0.6F);
    c = mix(c, palette.dark, line * 0.5F + (pores - 0.5F) * 0.3F + 0.05F);
    return c;
}

} // namespace

Pixmap wood(int width, int height, std::uint32_t seed, const WoodPalette& palette,
            const WoodGrain& grain) {
    return paintEach(width, height, [&](double x, double y) {
        return grain.vertical ? woodAt(x, y, width, height, seed, palette, grain, width, height)
                              : woodAt(y, x, height, width, seed, palette, grain, height, width);
    });
}

Pixmap veneer(int width, int height, std::uint32_t seed, const WoodPalette& palette) {
    const double centre = width / 2.0;
    const WoodGrain grain{8.0, 2.5, true};
    return paintEach(width, height, [&](double x, double y) {
        // Mirrored leaves; the grain climbs toward the joint in a chevron.
        const double across = std::abs(x - centre) + (height - y) * 0.12;
        Rgba c = woodAt(across, y, width, height, seed, palette, grain, 0, 0);
        // Cross figure: soft bands of sheen across the grain, as polished
        // ribbon-cut wood turns the light.
        const float sheen = fractalNoise(std::abs(x - centre), y, seed + 31U, {90, 14, 2, 0.5F});
        c = shade(c, (sheen - 0.5F) * 0.16F);
        return c;
    });
}

Pixmap marble(int width, int height, std::uint32_t seed, const StonePalette& palette) {
    return paintEach(width, height, [&](double x, double y) {
        const float t = turbulence(
            x, y, seed, {std::max(width, height) / 3.0, std::max(width, height) / 3.0, 5, 0.55F},
            width, height);
        // Whole waves across the tile keep it seamless.
        const double wave = 2.0 * pi * (2.0 * x / width + 1.0 * y / height) + t * 9.0;
        const auto crease = static_cast<float>(std::abs(std::sin(wave)));
        const float vein = std::pow(1.0F - crease, 14.0F);
        const float cloud = fractalNoise(x, y, seed + 7U, {40, 40, 4, 0.5F}, width, height);
        Rgba c = shade(palette.ground, (cloud - 0.5F) * 0.12F);
        return mix(c, palette.vein, vein * 0.8F + smoothstep(0.55F, 0.9F, cloud) * 0.12F);
    });
}

Pixmap jade(int width, int height, std::uint32_t seed, const StonePalette& palette) {
    return paintEach(width, height, [&](double x, double y) {
        const float cloud = fractalNoise(x, y, seed, {28, 28, 5, 0.55F}, width, height);
        const float drift = turbulence(x, y, seed + 5U, {48, 36, 4, 0.5F}, width, height);
        Rgba c = mix(palette.ground, palette.vein, smoothstep(0.35F, 0.8F, cloud) * 0.7F);
        // Pale, milky drifts where the turbulence creases.
        c = mix(c, shade(palette.vein, 0.45F), (1.0F - smoothstep(0.0F, 0.12F, drift)) * 0.35F);
        const float fleck = hashUnit(static_cast<int>(x), static_cast<int>(y), seed + 9U);
        if (fleck > 0.9975F) {
            c = shade(c, -0.25F);
        }
        return c;
    });
}

Pixmap felt(int width, int height, std::uint32_t seed, const Rgba& base) {
    return paintEach(width, height, [&](double x, double y) {
        const float nap = fractalNoise(x, y, seed, {1.5, 1.5, 2, 0.6F}, width, height);
        const float mottle = fractalNoise(x, y, seed + 3U, {36, 36, 3, 0.5F}, width, height);
        return shade(base, (nap - 0.5F) * 0.16F + (mottle - 0.5F) * 0.08F);
    });
}

Pixmap paper(int width, int height, std::uint32_t seed, const Rgba& base) {
    return paintEach(width, height, [&](double x, double y) {
        const float mottle = fractalNoise(x, y, seed, {32, 32, 3, 0.5F}, width, height);
        const float fibreA = fractalNoise(x, y, seed + 1U, {1.0, 9.0, 2, 0.5F}, width, height);
        const float fibreB = fractalNoise(x, y, seed + 2U, {9.0, 1.0, 2, 0.5F}, width, height);
        Rgba c = shade(base, (mottle - 0.5F) * 0.07F);
        c = shade(c, (std::max(fibreA, fibreB) - 0.62F) * 0.06F);
        if (hashUnit(static_cast<int>(x), static_cast<int>(y), seed + 4U) > 0.9985F) {
            c = shade(c, -0.10F);
        }
        return c;
    });
}

Pixmap brushedMetal(int width, int height, std::uint32_t seed, const MetalPalette& palette,
                    bool horizontal) {
    return paintEach(width, height, [&](double x, double y) {
        const double along = horizontal ? x : y;
        const double across = horizontal ? y : x;
        const int tileAlong = horizontal ? width : height;
        const int tileAcross = horizontal ? height : width;
        const float streak = fractalNoise(along, across, seed, {tileAlong / 2.0, 0.8, 3, 0.6F},
                                          tileAlong, tileAcross);
        const float broad =
            fractalNoise(along, across, seed + 1U, {64, 16, 2, 0.5F}, tileAlong, tileAcross);
        Rgba c = mix(palette.mid, palette.light, smoothstep(0.3F, 1.0F, broad) * 0.35F);
        return mix(c, streak > 0.5F ? palette.light : palette.deep,
                   std::abs(streak - 0.5F) * 0.55F);
    });
}

Pixmap lacquer(int width, int height, std::uint32_t seed, const LacquerPalette& palette) {
    return paintEach(width, height, [&](double x, double y) {
        const float cloud = fractalNoise(x, y, seed, {70, 70, 3, 0.5F}, width, height);
        return mix(palette.deep, palette.bright, 0.45F + (cloud - 0.5F) * 0.35F);
    });
}

WoodPalette mahoganyWood() {
    return {hex(palette::mahoganyDark), hex(palette::mahogany), hex(0x8A3E22)};
}

WoodPalette mahoganyVeneer() {
    return {hex(0x40170A), hex(0x7C3518), hex(0xB0602E)};
}

WoodPalette walnutWood() {
    return {hex(0x1E120A), hex(0x4A2E1A), hex(0x70482A)};
}

MetalPalette goldMetal() {
    return {hex(palette::goldDeep), hex(palette::gold), hex(palette::goldLight)};
}

MetalPalette brassMetal() {
    return {hex(0x6E4A14), hex(0xB08A3A), hex(0xE8D08A)};
}

StonePalette jadeStone() {
    return {hex(palette::jadeDark), hex(palette::jadeLight)};
}

StonePalette ivoryMarble() {
    return {hex(palette::ivory), hex(palette::ivoryShade)};
}

LacquerPalette redLacquer() {
    return {hex(palette::lacquerDark), hex(palette::lacquer)};
}

} // namespace orv::media
