#pragma once

#include <cstdint>

namespace orv::pixel16 {

// The inner loops of the 16-bit pixel workers, one row at a time. `target` and
// `source` are rows of RGB565 words (red 0xF800, green 0x07E0, blue 0x001F),
// `count` pixels long; `plane` is the matching row of the source's alpha plane
// (or of a mask), one byte per pixel. Rows start at the first pixel of the
// worker's rectangle: `blendNormalRow` treats its pixels in groups of four
// counted from there, and its group shortcut depends on it.
//
// Notation: D target word, S source word, K colour word, g global alpha
// 0..255, a the plane byte. Per field (5 or 6 bits),
// lerp(D, X, w) = D + floor((X - D) * w / 256), rounded towards minus
// infinity; the result always stays inside the field.
//
// The functions here are the fast versions (SSE2 where the processor has it,
// plain loops elsewhere). Each gives exactly the result of its twin in
// `reference`, the one-pixel-at-a-time statement of the rule, which the tests
// compare them against.

/// D = S.
void copyRow(std::uint16_t* target, const std::uint16_t* source, int count);
/// Each field lerp(D, S, g).
void copyAlphaRow(std::uint16_t* target, const std::uint16_t* source, int count, int g);
/// Each field lerp(D, S, a). A group of four whose plane bytes are all 255
/// takes the four source words exactly; pixels past the last whole group take
/// S when a is 255. Elsewhere a of 255 still gives the lerp (S is not reached).
void blendNormalRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                    int count);
/// w = floor(a * g / 256); each field lerp(D, S, w).
void blendNormalAlphaRow(std::uint16_t* target, const std::uint16_t* source,
                         const std::uint8_t* plane, int count, int g);
/// w = floor(a * g / 256); each field min(field maximum, D + floor(S * w / 256)).
void blendAdditiveRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                      int count, int g);
/// w = floor(m * g / 256) for each mask byte m; each field lerp(D, K, w).
void drawMaskedRow(std::uint16_t* target, const std::uint8_t* mask, int count, std::uint16_t colour,
                   int g);
/// D = K.
void fillOpaqueRow(std::uint16_t* target, int count, std::uint16_t colour);
/// Each field lerp(D, K, g).
void fillAlphaRow(std::uint16_t* target, int count, std::uint16_t colour, int g);

namespace reference {

void copyRow(std::uint16_t* target, const std::uint16_t* source, int count);
void copyAlphaRow(std::uint16_t* target, const std::uint16_t* source, int count, int g);
void blendNormalRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                    int count);
void blendNormalAlphaRow(std::uint16_t* target, const std::uint16_t* source,
                         const std::uint8_t* plane, int count, int g);
void blendAdditiveRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                      int count, int g);
void drawMaskedRow(std::uint16_t* target, const std::uint8_t* mask, int count, std::uint16_t colour,
                   int g);
void fillOpaqueRow(std::uint16_t* target, int count, std::uint16_t colour);
void fillAlphaRow(std::uint16_t* target, int count, std::uint16_t colour, int g);

} // namespace reference

// Per-pixel rules shared by both versions.

/// The RGB565 word of a 0xAARRGGBB colour: the top 5, 6 and 5 bits of red,
/// green and blue (alpha dropped).
[[nodiscard]] constexpr std::uint16_t toRgb565(std::uint32_t colour) {
    return static_cast<std::uint16_t>(((colour >> 8) & 0xF800U) | ((colour >> 5) & 0x07E0U) |
                                      ((colour >> 3) & 0x001FU));
}

/// The fields of a word: mask and shift of red, green and blue.
struct Field {
    std::uint16_t mask;
    int shift;
};
inline constexpr Field kFields[3] = {{0xF800U, 11}, {0x07E0U, 5}, {0x001FU, 0}};

/// lerp of each field of `d` towards `x` by `w` (0..255).
[[nodiscard]] constexpr std::uint16_t lerpWord(std::uint16_t d, std::uint16_t x, int w) {
    std::uint32_t out = 0;
    for (const Field& field : kFields) {
        const int df = (d & field.mask) >> field.shift;
        const int xf = (x & field.mask) >> field.shift;
        // An arithmetic shift of the signed product: floor, not truncation.
        const int f = df + ((xf - df) * w >> 8);
        out |= static_cast<std::uint32_t>(f) << field.shift;
    }
    return static_cast<std::uint16_t>(out);
}

/// Each field min(field maximum, D + floor(S * w / 256)).
[[nodiscard]] constexpr std::uint16_t addWord(std::uint16_t d, std::uint16_t s, int w) {
    std::uint32_t out = 0;
    for (const Field& field : kFields) {
        const int maximum = field.mask >> field.shift;
        const int df = (d & field.mask) >> field.shift;
        const int sf = (s & field.mask) >> field.shift;
        const int f = df + (sf * w >> 8);
        out |= static_cast<std::uint32_t>(f > maximum ? maximum : f) << field.shift;
    }
    return static_cast<std::uint16_t>(out);
}

/// The weight of a plane byte under the global alpha: floor(a * g / 256).
[[nodiscard]] constexpr int planeWeight(std::uint8_t a, int g) {
    return a * g >> 8;
}

/// Writes `value` into field `channel` (1 red, 2 green, 3 blue) of `d`: red
/// takes v << 11 cut to the word (so its low five bits), green (v & 0x3F) << 5,
/// blue v & 0x1F; the other fields are kept. Other channels change nothing.
[[nodiscard]] constexpr std::uint16_t withField(std::uint16_t d, int channel, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    switch (channel) {
    case 1:
        return static_cast<std::uint16_t>((d & 0x07FFU) | ((v << 11) & 0xF800U));
    case 2:
        return static_cast<std::uint16_t>((d & 0xF81FU) | ((v & 0x3FU) << 5));
    case 3:
        return static_cast<std::uint16_t>((d & 0xFFE0U) | (v & 0x1FU));
    default:
        return d;
    }
}

} // namespace orv::pixel16
