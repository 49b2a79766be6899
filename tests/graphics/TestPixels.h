#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace orv::test {

// Reading and writing single pixels of test images, and whole-image snapshots.

inline std::uint32_t pixelAt(Image& image, int x, int y) {
    std::uint32_t p = 0;
    std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 4, 4);
    return p;
}

inline void setPixel(Image& image, int x, int y, std::uint32_t p) {
    std::memcpy(image.getPixels() + y * image.getPitch() + x * 4, &p, 4);
}

/// A 32-bit image whose every pixel is `fill`.
inline RefPtr<Image> filledImage(int width, int height, std::uint32_t fill) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(*image, x, y, fill);
        }
    }
    return image;
}

/// A 32-bit image with a distinct value in every pixel (alpha included).
inline RefPtr<Image> patternImage(int width, int height, std::uint32_t seed) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            setPixel(*image, x, y,
                     seed * 2654435761U + static_cast<std::uint32_t>(y * width + x) * 0x01030507U);
        }
    }
    return image;
}

/// All pixels, row by row.
inline std::vector<std::uint32_t> snapshot(Image& image) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.getHeight(); ++y) {
        for (int x = 0; x < image.getWidth(); ++x) {
            pixels.push_back(pixelAt(image, x, y));
        }
    }
    return pixels;
}

} // namespace orv::test
