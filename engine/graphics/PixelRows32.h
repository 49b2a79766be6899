#pragma once

#include <cstddef>
#include <cstdint>

namespace orv::pixel32 {

// The inner loops of the 32-bit pixel workers, one row at a time. `target` and
// `source` are rows of 0xAARRGGBB pixels, `count` pixels long, starting at the
// first pixel of the worker's rectangle in that row: the blends treat pixels
// in pairs counted from there, and the pair shortcuts below depend on it.
//
// Notation: D target pixel, S source pixel, K colour, g global alpha 0..255,
// lerp(D, X, w) = D + floor((X - D) * w / 256) per 8-bit channel (rounded
// towards minus infinity). "D.a kept": the target's alpha byte is unchanged.
//
// The functions here are the fast versions (SSE2 where the processor has it,
// portable code the compiler can vectorise elsewhere). Each of them gives
// exactly the result of its twin in `reference`, the plain one-pixel-at-a-time
// statement of the rule, which the tests compare them against.

/// D = S, all 32 bits.
void copyRow(std::uint32_t* target, const std::uint32_t* source, int count);
/// D.rgb = S.rgb, D.a kept.
void copyOpaqueRow(std::uint32_t* target, const std::uint32_t* source, int count);
/// `copyOpaqueRow` over `height` rows, `targetStride` and `sourceStride`
/// pixels apart: the plain copy is the commonest drawing of a frame, so it
/// takes its whole rectangle in one call.
void copyOpaqueRect(std::uint32_t* target, std::ptrdiff_t targetStride, const std::uint32_t* source,
                    std::ptrdiff_t sourceStride, int width, int height);
/// Every byte, alpha included: min(255, D + floor(S * g / 256) - floor(D * g / 256)).
void copyAlphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int g);
/// w = floor(S.a * g / 256); R, G, B = lerp(D, S, w); D.a kept. Of each pair,
/// when both weights are 254 the pair takes S.rgb exactly (D.a kept); an odd
/// last pixel never takes that shortcut.
void blendNormalRow(std::uint32_t* target, const std::uint32_t* source, int count, int g);
/// w as above; R, G, B = min(255, D + floor(S * w / 256)); D.a kept. Of each
/// pair, when both weights are 254, D.rgb + S.rgb saturated (full strength).
void blendAdditiveRow(std::uint32_t* target, const std::uint32_t* source, int count, int g);
/// w = floor(m * g / 256) for each mask byte m; R, G, B = lerp(D, K, w); D.a kept.
void drawMaskedRow(std::uint32_t* target, const std::uint8_t* mask, int count, std::uint32_t colour,
                   int g);
/// D.rgb = K.rgb, D.a kept.
void fillOpaqueRow(std::uint32_t* target, int count, std::uint32_t colour);
/// R, G, B = lerp(D, K, g); D.a kept.
void fillAlphaRow(std::uint32_t* target, int count, std::uint32_t colour, int g);

namespace reference {

void copyRow(std::uint32_t* target, const std::uint32_t* source, int count);
void copyOpaqueRow(std::uint32_t* target, const std::uint32_t* source, int count);
void copyAlphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int g);
void blendNormalRow(std::uint32_t* target, const std::uint32_t* source, int count, int g);
void blendAdditiveRow(std::uint32_t* target, const std::uint32_t* source, int count, int g);
void drawMaskedRow(std::uint32_t* target, const std::uint8_t* mask, int count, std::uint32_t colour,
                   int g);
void fillOpaqueRow(std::uint32_t* target, int count, std::uint32_t colour);
void fillAlphaRow(std::uint32_t* target, int count, std::uint32_t colour, int g);

} // namespace reference

// Per-pixel rules shared by both versions.

/// lerp of R, G and B of `d` towards `x` by `w` (0..255); D.a kept.
[[nodiscard]] constexpr std::uint32_t lerpPixel(std::uint32_t d, std::uint32_t x, int w) {
    std::uint32_t out = d & 0xFF000000U;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int dc = static_cast<int>((d >> shift) & 0xFFU);
        const int xc = static_cast<int>((x >> shift) & 0xFFU);
        // An arithmetic shift of the signed product: floor, not truncation.
        const int c = dc + ((xc - dc) * w >> 8);
        out |= static_cast<std::uint32_t>(c) << shift;
    }
    return out;
}

/// R, G, B = min(255, D + floor(S * w / 256)); D.a kept.
[[nodiscard]] constexpr std::uint32_t addPixel(std::uint32_t d, std::uint32_t s, int w) {
    std::uint32_t out = d & 0xFF000000U;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int dc = static_cast<int>((d >> shift) & 0xFFU);
        const int sc = static_cast<int>((s >> shift) & 0xFFU);
        const int c = dc + (sc * w >> 8);
        out |= static_cast<std::uint32_t>(c > 255 ? 255 : c) << shift;
    }
    return out;
}

/// The weight of a source pixel: floor(S.a * g / 256), at most 254.
[[nodiscard]] constexpr int pixelWeight(std::uint32_t s, int g) {
    return static_cast<int>(s >> 24) * g >> 8;
}

} // namespace orv::pixel32
