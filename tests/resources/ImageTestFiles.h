#pragma once

#include <cstdint>
#include <vector>

namespace orv::test {

// Small PNG and JPEG files written by the tests themselves with libpng and
// libjpeg, so every fixture is made here and its content is known exactly.

struct PngSpec {
    int width = 1;
    int height = 1;
    int colourType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    /// Rows of samples exactly as libpng takes them (packed for depths below 8,
    /// big-endian pairs for 16 bits).
    std::vector<std::uint8_t> samples;
    /// Palette entries as R, G, B triples (palette pictures).
    std::vector<std::uint8_t> palette;
    /// Palette alphas, or a single grey / RGB key (stored big-endian 16-bit).
    std::vector<std::uint8_t> transparency;
    bool interlaced = false;
};

/// The PNG file for `spec`.
[[nodiscard]] std::vector<std::uint8_t> writePng(const PngSpec& spec);

enum class JpegKind { Rgb, Grey, Cmyk };

/// A baseline JPEG (quality 100) of `width` × `height` pixels whose samples
/// are `components` bytes per pixel (3 for Rgb, 1 for Grey, 4 for Cmyk, stored
/// Adobe-style: 255 means no ink).
[[nodiscard]] std::vector<std::uint8_t> writeJpeg(int width, int height, JpegKind kind,
                                                  const std::vector<std::uint8_t>& samples,
                                                  bool progressive = false);

/// A progressive grey JPEG of `width` × `height` whose every AC coefficient is
/// refined bit by bit: 1 + 63 × 5 = 316 scans, all valid.
[[nodiscard]] std::vector<std::uint8_t> writeJpegWithManyScans(int width, int height);

/// A width × height picture of `kind` with every pixel the same sample values.
[[nodiscard]] std::vector<std::uint8_t> uniformSamples(int width, int height,
                                                       const std::vector<std::uint8_t>& pixel);

} // namespace orv::test
