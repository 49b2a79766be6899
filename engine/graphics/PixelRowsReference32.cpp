// The 32-bit row rules stated one pixel (or one pair) at a time: the yardstick
// the fast versions in PixelRows32.cpp are tested against. Written for
// clarity, not speed.
#include "engine/graphics/PixelRows32.h"

namespace orv::pixel32::reference {

namespace {

constexpr int kFullWeight = 254; // 255 * 255 / 256, the largest weight

std::uint32_t saturatedAdd(std::uint32_t d, std::uint32_t s) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        const std::uint32_t c = ((d >> shift) & 0xFFU) + ((s >> shift) & 0xFFU);
        out |= (c > 255U ? 255U : c) << shift;
    }
    return out;
}

} // namespace

void copyRow(std::uint32_t* target, const std::uint32_t* source, int count) {
    for (int i = 0; i < count; ++i) {
        target[i] = source[i];
    }
}

void copyOpaqueRow(std::uint32_t* target, const std::uint32_t* source, int count) {
    for (int i = 0; i < count; ++i) {
        target[i] = (target[i] & 0xFF000000U) | (source[i] & 0x00FFFFFFU);
    }
}

void copyAlphaRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    for (int i = 0; i < count; ++i) {
        std::uint32_t out = 0;
        for (int shift = 0; shift <= 24; shift += 8) {
            const int d = static_cast<int>((target[i] >> shift) & 0xFFU);
            const int s = static_cast<int>((source[i] >> shift) & 0xFFU);
            const int c = d + (s * g >> 8) - (d * g >> 8);
            out |= static_cast<std::uint32_t>(c > 255 ? 255 : c) << shift;
        }
        target[i] = out;
    }
}

void blendNormalRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    int i = 0;
    for (; i + 1 < count; i += 2) {
        const int w0 = pixelWeight(source[i], g);
        const int w1 = pixelWeight(source[i + 1], g);
        if (w0 == 0 && w1 == 0) {
            continue;
        }
        if (w0 == kFullWeight && w1 == kFullWeight) {
            copyOpaqueRow(target + i, source + i, 2);
            continue;
        }
        target[i] = lerpPixel(target[i], source[i], w0);
        target[i + 1] = lerpPixel(target[i + 1], source[i + 1], w1);
    }
    if (i < count) {
        target[i] = lerpPixel(target[i], source[i], pixelWeight(source[i], g));
    }
}

void blendAdditiveRow(std::uint32_t* target, const std::uint32_t* source, int count, int g) {
    int i = 0;
    for (; i + 1 < count; i += 2) {
        const int w0 = pixelWeight(source[i], g);
        const int w1 = pixelWeight(source[i + 1], g);
        if (w0 == 0 && w1 == 0) {
            continue;
        }
        if (w0 == kFullWeight && w1 == kFullWeight) {
            target[i] = saturatedAdd(target[i], source[i] & 0x00FFFFFFU);
            target[i + 1] = saturatedAdd(target[i + 1], source[i + 1] & 0x00FFFFFFU);
            continue;
        }
        target[i] = addPixel(target[i], source[i], w0);
        target[i + 1] = addPixel(target[i + 1], source[i + 1], w1);
    }
    if (i < count) {
        const int w = pixelWeight(source[i], g);
        if (w != 0) {
            target[i] = addPixel(target[i], source[i], w);
        }
    }
}

void drawMaskedRow(std::uint32_t* target, const std::uint8_t* mask, int count, std::uint32_t colour,
                   int g) {
    for (int i = 0; i < count; ++i) {
        const int w = mask[i] * g >> 8;
        if (w != 0) {
            target[i] = lerpPixel(target[i], colour, w);
        }
    }
}

void fillOpaqueRow(std::uint32_t* target, int count, std::uint32_t colour) {
    for (int i = 0; i < count; ++i) {
        target[i] = (target[i] & 0xFF000000U) | (colour & 0x00FFFFFFU);
    }
}

void fillAlphaRow(std::uint32_t* target, int count, std::uint32_t colour, int g) {
    for (int i = 0; i < count; ++i) {
        target[i] = lerpPixel(target[i], colour, g);
    }
}

} // namespace orv::pixel32::reference
