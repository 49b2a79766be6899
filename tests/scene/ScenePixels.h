#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace orv::test {

/// A 32-bit image of one colour.
inline RefPtr<Image> solidImage(int width, int height, std::uint32_t colour) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    EXPECT_TRUE(image && image->lock());
    for (int y = 0; y < height; ++y) {
        auto* row = image->getPixels() + static_cast<std::ptrdiff_t>(y) * image->getPitch();
        for (int x = 0; x < width; ++x) {
            std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 4, &colour, 4);
        }
    }
    image->unlock();
    return image;
}

/// The pixel at (x, y) of a 32-bit image.
inline std::uint32_t pixelAt(Image& image, int x, int y) {
    std::uint32_t value = 0;
    EXPECT_TRUE(image.lock());
    std::memcpy(&value,
                image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch() +
                    static_cast<std::ptrdiff_t>(x) * 4,
                4);
    image.unlock();
    return value;
}

} // namespace orv::test
