#pragma once

#include "tools/media/Raster.h"

#include <cstdint>
#include <vector>

/// The painter's basic stuff: floating colours, pictures and scalar fields
/// (masks, heights, distances), compositing, blur and distance transforms.
/// Every function here is plain arithmetic on its inputs, so the same inputs
/// give the same pixels on every run.
namespace orv::media {

/// A colour with straight (not premultiplied) alpha, every channel 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

/// `rgb` as 0xRRGGBB (the palette's form) with the given alpha.
[[nodiscard]] Rgba hex(std::uint32_t rgb, float alpha = 1.0F);
/// The colour `t` of the way from `p` to `q` (t clamped to 0..1), alpha too.
[[nodiscard]] Rgba mix(const Rgba& p, const Rgba& q, float t);
/// Toward white for `amount` > 0, toward black for `amount` < 0 (-1..1).
[[nodiscard]] Rgba shade(const Rgba& c, float amount);
/// Toward its own grey by `amount` (0..1).
[[nodiscard]] Rgba desaturate(const Rgba& c, float amount);
/// 0xAARRGGBB, channels rounded and clamped.
[[nodiscard]] std::uint32_t toPixel(const Rgba& c);
[[nodiscard]] Rgba fromPixel(std::uint32_t argb);

/// A grid of floats: a coverage mask (0..1), a height field (pixels) or a
/// distance field (pixels). Rows top to bottom; outside the grid reads 0.
struct Field {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    Field() = default;
    Field(int w, int h, float fill = 0.0F)
        : width(w), height(h), values(static_cast<std::size_t>(w) * h, fill) {}
    [[nodiscard]] float at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return 0.0F;
        }
        return values[static_cast<std::size_t>(y) * width + x];
    }
    /// The value at the nearest pixel inside the grid.
    [[nodiscard]] float clampedAt(int x, int y) const;
    float& operator()(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
};

/// A rectangle of pixels, right and bottom exclusive.
struct Region {
    int left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] bool isEmpty() const { return right <= left || bottom <= top; }
    /// Grown by `margin` on every side and kept within a `width` x `height` grid.
    [[nodiscard]] Region grown(int margin, int width, int height) const;
};
/// The smallest region holding every non-zero value of `field`.
[[nodiscard]] Region coveredRegion(const Field& field);

/// A picture being painted: floating straight-alpha pixels, turned into a
/// ColorImage once finished. Starts fully transparent unless filled.
struct Pixmap {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Pixmap() = default;
    Pixmap(int w, int h, Rgba fill = {0, 0, 0, 0})
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}
    [[nodiscard]] const Rgba& at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    Rgba& operator()(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    [[nodiscard]] ColorImage toImage() const;
    [[nodiscard]] static Pixmap fromImage(const ColorImage& image);
};

/// Paints `src` over `dst` (both straight alpha) with its alpha scaled by
/// `coverage` (0..1); returns the result.
[[nodiscard]] Rgba over(const Rgba& dst, const Rgba& src, float coverage = 1.0F);

/// Paints `source` over `target` with its top-left at (x, y), its alpha
/// scaled by `opacity`. Parts outside `target` are left out.
void composite(Pixmap& target, const Pixmap& source, int x = 0, int y = 0, float opacity = 1.0F);
/// Paints `color` over `target` where `mask` (same size) covers it.
void fill(Pixmap& target, const Field& mask, const Rgba& color);
/// Paints `material`, placed with its top-left at (x, y), over `target`
/// where `mask` (the size of `target`) covers it.
void fill(Pixmap& target, const Field& mask, const Pixmap& material, int x = 0, int y = 0);
/// The rectangle (x, y, w, h) of `source`; pixels outside it are transparent.
[[nodiscard]] Pixmap crop(const Pixmap& source, int x, int y, int w, int h);
/// `source` with its alpha replaced by alpha x mask (same size).
[[nodiscard]] Pixmap masked(const Pixmap& source, const Field& mask);

/// `source` shrunk by a whole `factor`, each pixel the (alpha-weighted) mean
/// of a `factor` x `factor` block: draw small pictures large and shrink them
/// for clean edges and fine detail. Sizes must be multiples of `factor`.
[[nodiscard]] Pixmap downsample(const Pixmap& source, int factor);

/// A Gaussian blur of standard deviation `sigma` pixels (a sampled kernel 3
/// sigma wide each way, worked out only around what is not 0). Outside the
/// field counts as 0, so give a shadow room.
[[nodiscard]] Field blur(const Field& field, double sigma);
/// The alpha channel of a picture as a field.
[[nodiscard]] Field alphaOf(const Pixmap& picture);

/// For every pixel with `mask` >= 0.5, the Euclidean distance in pixels from
/// its centre to the centre of the nearest pixel outside (< 0.5); 0 outside.
/// Exact (two-pass squared-distance transform), so bevels follow any shape.
[[nodiscard]] Field insideDistance(const Field& mask);
/// The same measured from the outside: distance to the nearest covered pixel,
/// 0 on it.
[[nodiscard]] Field outsideDistance(const Field& mask);

} // namespace orv::media
