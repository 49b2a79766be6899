// The 16-bit row rules stated one pixel (or one group) at a time: the
// yardstick the fast versions in PixelRows16.cpp are tested against. Written
// for clarity, not speed.
#include "engine/graphics/PixelRows16.h"

namespace orv::pixel16::reference {

namespace {

constexpr int kGroup = 4;
constexpr std::uint8_t kOpaquePlane = 255;

} // namespace

void copyRow(std::uint16_t* target, const std::uint16_t* source, int count) {
    for (int i = 0; i < count; ++i) {
        target[i] = source[i];
    }
}

void copyAlphaRow(std::uint16_t* target, const std::uint16_t* source, int count, int g) {
    for (int i = 0; i < count; ++i) {
        target[i] = lerpWord(target[i], source[i], g);
    }
}

void blendNormalRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                    int count) {
    const int grouped = count - count % kGroup;
    for (int i = 0; i < grouped; i += kGroup) {
        bool allOpaque = true;
        for (int k = 0; k < kGroup; ++k) {
            allOpaque = allOpaque && plane[i + k] == kOpaquePlane;
        }
        for (int k = i; k < i + kGroup; ++k) {
            target[k] = allOpaque ? source[k] : lerpWord(target[k], source[k], plane[k]);
        }
    }
    for (int i = grouped; i < count; ++i) {
        if (plane[i] == kOpaquePlane) {
            target[i] = source[i];
        } else if (plane[i] != 0) {
            target[i] = lerpWord(target[i], source[i], plane[i]);
        }
    }
}

void blendNormalAlphaRow(std::uint16_t* target, const std::uint16_t* source,
                         const std::uint8_t* plane, int count, int g) {
    for (int i = 0; i < count; ++i) {
        target[i] = lerpWord(target[i], source[i], planeWeight(plane[i], g));
    }
}

void blendAdditiveRow(std::uint16_t* target, const std::uint16_t* source, const std::uint8_t* plane,
                      int count, int g) {
    for (int i = 0; i < count; ++i) {
        target[i] = addWord(target[i], source[i], planeWeight(plane[i], g));
    }
}

void drawMaskedRow(std::uint16_t* target, const std::uint8_t* mask, int count, std::uint16_t colour,
                   int g) {
    for (int i = 0; i < count; ++i) {
        target[i] = lerpWord(target[i], colour, planeWeight(mask[i], g));
    }
}

void fillOpaqueRow(std::uint16_t* target, int count, std::uint16_t colour) {
    for (int i = 0; i < count; ++i) {
        target[i] = colour;
    }
}

void fillAlphaRow(std::uint16_t* target, int count, std::uint16_t colour, int g) {
    for (int i = 0; i < count; ++i) {
        target[i] = lerpWord(target[i], colour, g);
    }
}

} // namespace orv::pixel16::reference
