#pragma once

#include <cstdint>
#include <vector>

namespace orv::media {

/// An 8-bit coverage or mask picture, rows top to bottom, no padding.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    GreyImage() = default;
    GreyImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
    [[nodiscard]] std::uint8_t at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return 0;
        }
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    void set(int x, int y, std::uint8_t v) {
        if (x >= 0 && y >= 0 && x < width && y < height) {
            pixels[static_cast<std::size_t>(y) * width + x] = v;
        }
    }
};

/// A colour picture with straight (not premultiplied) alpha: 0xAARRGGBB.
struct ColorImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    ColorImage() = default;
    ColorImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
    [[nodiscard]] std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    void set(int x, int y, std::uint32_t v) { pixels[static_cast<std::size_t>(y) * width + x] = v; }
    [[nodiscard]] bool isOpaque() const {
        for (const std::uint32_t p : pixels) {
            if ((p >> 24) != 0xFF) {
                return false;
            }
        }
        return true;
    }
};

using Bytes = std::vector<std::uint8_t>;

/// PNG bytes of an 8-bit greyscale picture (what the engine loads as a mask).
[[nodiscard]] Bytes encodePngGrey(const GreyImage& image);
/// PNG bytes of a colour picture: 24-bit RGB when every pixel is opaque,
/// otherwise 32-bit RGBA. The engine's decoder reads exactly these two kinds.
[[nodiscard]] Bytes encodePngColor(const ColorImage& image);
/// JPEG bytes (baseline, three components) of an opaque picture; alpha is
/// ignored. `quality` is libjpeg's 1..100 scale.
[[nodiscard]] Bytes encodeJpeg(const ColorImage& image, int quality);

} // namespace orv::media
