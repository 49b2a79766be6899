#pragma once

#include "engine/graphics/DrawMath.h"
#include "engine/graphics/PixelAccess.h"
#include "engine/graphics/Rotation.h"
#include "engine/graphics/TransformSetup.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace orv::transform_walk {

// The walk of the rotated and stretched pixel workers, the same for every
// pixel format: which target pixels are visited, which source pixels they
// sample, and the blend-weight thresholds. A format supplies the pixel:
//
//     struct Format {
//         using Pixel = ...;            // one target and source pixel
//         static constexpr bool kBlendNeedsPlane;  // blends read the plane
//         static Sample<Pixel> pick(const SourceView& source, int64 x, int64 y);
//         static Sample<Pixel> interpolate(const SourceView& source, int64 x0,
//                                          int64 y0, int64 x1, int64 y1,
//                                          double fx, double fy);
//         static void store(Pixel& d, Pixel sample);     // opaque write
//         static Pixel lerp(Pixel d, Pixel sample, int w);
//         static int weight(const Sample<Pixel>& s, int g);  // unfiltered
//     };

enum class Write { Opaque, Alpha, RotateBlend, StretchBlend };

constexpr bool isBlend(Write mode) {
    return mode == Write::RotateBlend || mode == Write::StretchBlend;
}

// A sample: its pixel, its plane byte where the format has one, the filtered
// alpha sum and whether it was interpolated.
template <class Pixel>
struct Sample {
    Pixel pixel = 0;
    std::uint8_t plane = 0;
    double alpha = 0.0;
    bool interpolated = false;
};

// The buffers of a locked source, read once for a whole drawing: they stay
// where they are while it lasts, but the compiler cannot tell that a pixel
// written to the target leaves the image's fields alone.
struct SourceView {
    const std::uint8_t* pixels;
    std::ptrdiff_t pitch;
    const std::uint8_t* plane; // null when the image has none
    std::ptrdiff_t width;

    explicit SourceView(const Image& image)
        : pixels(image.getPixels()), pitch(image.getPitch()), plane(image.getAlpha()),
          width(image.getWidth()) {}

    template <class Pixel>
    [[nodiscard]] Pixel pixel(std::int64_t x, std::int64_t y) const {
        return *(reinterpret_cast<const Pixel*>(pixels + static_cast<std::ptrdiff_t>(y) * pitch) +
                 x);
    }
    [[nodiscard]] std::uint8_t planeByte(std::int64_t x, std::int64_t y) const {
        return plane[static_cast<std::ptrdiff_t>(y) * width + x];
    }
};

// The fraction of a fixed-point position, 0 <= f < 1.
inline double fraction(std::int64_t position) {
    return static_cast<double>(position & (kFixedOne - 1)) / static_cast<double>(kFixedOne);
}

// The nearest fixed-point value of a single-precision step.
inline std::int64_t stretchStep(int sourceSize, std::int64_t targetSize) {
    const float step = static_cast<float>(sourceSize) / static_cast<float>(targetSize) *
                       static_cast<float>(kFixedOne);
    return draw_math::truncTo64(std::nearbyint(static_cast<double>(step)));
}

// The readable part of a source rectangle: inside the source image too, in
// source pixels (right and bottom exclusive; empty when left >= right or
// top >= bottom).
struct ReadablePart {
    std::int64_t left;
    std::int64_t top;
    std::int64_t right;
    std::int64_t bottom;
};

inline ReadablePart readablePart(const SourceRect& rect, const Image& source) {
    return ReadablePart{
        std::max(rect.x, 0), std::max(rect.y, 0),
        std::min<std::int64_t>(std::int64_t{rect.x} + rect.width, source.getWidth()),
        std::min<std::int64_t>(std::int64_t{rect.y} + rect.height, source.getHeight())};
}

// Whether the locked images can be drawn: both have pixels and, for a blend
// of a format that reads it, the source has its plane.
template <class Format, Write mode>
bool drawable(const WorkerLock& lock, const Image& source, const Image& target) {
    return lock.locked() && source.getPixels() != nullptr && target.getPixels() != nullptr &&
           (!(Format::kBlendNeedsPlane && isBlend(mode)) || source.getAlpha() != nullptr);
}

template <class Format, Write mode>
void writeSample(typename Format::Pixel& d, const Sample<typename Format::Pixel>& sample, int g) {
    if constexpr (mode == Write::Opaque) {
        Format::store(d, sample.pixel);
    } else if constexpr (mode == Write::Alpha) {
        d = Format::lerp(d, sample.pixel, g);
    } else {
        // A filtered sample weighs trunc(alpha g) >> 8.
        const int w = sample.interpolated ? draw_math::truncToInt(sample.alpha * g) >> 8
                                          : Format::weight(sample, g);
        // The stretch leaves out the thresholds for samples it does not filter.
        const bool thresholds = mode == Write::RotateBlend || sample.interpolated;
        if (thresholds && w > 250) {
            Format::store(d, sample.pixel);
        } else if (!thresholds || w > 5) {
            d = Format::lerp(d, sample.pixel, w);
        }
    }
}

template <class Format, Write mode, bool smooth>
void rotateRows(Image& target, Image& source, const SourceRect& rect, const RotationSetup& setup,
                int g) {
    using Pixel = typename Format::Pixel;
    const WorkerLock lock(&source, target);
    if (!drawable<Format, mode>(lock, source, target) || setup.area.width <= 0 ||
        setup.area.height <= 0) {
        return;
    }
    const auto [left, top, right, bottom] = readablePart(rect, source);
    if (left >= right || top >= bottom) {
        return;
    }
    const SourceView view(source);
    // Position limits relative to the rectangle's origin.
    const std::int64_t lowX = left - rect.x;
    const std::int64_t lowY = top - rect.y;
    const std::int64_t highX = right - rect.x;
    const std::int64_t highY = bottom - rect.y;
    std::int64_t rowU = setup.uStart;
    std::int64_t rowV = setup.vStart;
    for (int row = 0; row < setup.area.height; ++row) {
        Pixel* d = pixelAt<Pixel>(target, setup.area.x, std::int64_t{setup.area.y} + row);
        std::int64_t u = rowU;
        std::int64_t v = rowV;
        for (int col = 0; col < setup.area.width; ++col, u += setup.stepB, v -= setup.stepA) {
            const std::int64_t ix = u >> kFixedShift;
            const std::int64_t iy = v >> kFixedShift;
            if constexpr (!smooth) {
                if (ix >= lowX && ix < highX && iy >= lowY && iy < highY) {
                    writeSample<Format, mode>(d[col], Format::pick(view, rect.x + ix, rect.y + iy),
                                              g);
                }
            } else {
                if (ix < lowX - 1 || ix >= highX || iy < lowY - 1 || iy >= highY) {
                    continue;
                }
                // Neighbours beyond the edge repeat the edge pixels.
                const std::int64_t x0 = rect.x + std::clamp(ix, lowX, highX - 1);
                const std::int64_t x1 = rect.x + std::clamp(ix + 1, lowX, highX - 1);
                const std::int64_t y0 = rect.y + std::clamp(iy, lowY, highY - 1);
                const std::int64_t y1 = rect.y + std::clamp(iy + 1, lowY, highY - 1);
                writeSample<Format, mode>(
                    d[col], Format::interpolate(view, x0, y0, x1, y1, fraction(u), fraction(v)), g);
            }
        }
        rowU += setup.stepA;
        rowV += setup.stepB;
    }
}

template <class Format, Write mode>
void rotate(Image& target, Image& source, const SourceRect& rect, const RotationSetup& setup,
            bool smooth, int g) {
    if (smooth) {
        rotateRows<Format, mode, true>(target, source, rect, setup, g);
    } else {
        rotateRows<Format, mode, false>(target, source, rect, setup, g);
    }
}

template <class Format, Write mode, bool smooth>
void stretchRows(Image& target, Image& source, const SourceRect& rect, const StretchTarget& dest,
                 const Rect& clip, int g) {
    using Pixel = typename Format::Pixel;
    if (rect.width <= 0 || rect.height <= 0 || dest.width <= 0 || dest.height <= 0) {
        return;
    }
    const std::int64_t x0 = std::max<std::int64_t>(dest.x, clip.x);
    const std::int64_t y0 = std::max<std::int64_t>(dest.y, clip.y);
    const std::int64_t x1 = std::min(dest.x + dest.width, std::int64_t{clip.x} + clip.width);
    const std::int64_t y1 = std::min(dest.y + dest.height, std::int64_t{clip.y} + clip.height);
    if (x1 <= x0 || y1 <= y0) {
        return;
    }
    const WorkerLock lock(&source, target);
    if (!drawable<Format, mode>(lock, source, target)) {
        return;
    }
    const SourceView view(source);
    // Samples are read only inside the source rectangle and the image.
    const auto [left, top, right, bottom] = readablePart(rect, source);
    const std::int64_t stepX = stretchStep(rect.width, dest.width);
    const std::int64_t stepY = stretchStep(rect.height, dest.height);
    constexpr double one = static_cast<double>(kFixedOne);
    const std::int64_t startU = draw_math::truncTo64(
        static_cast<double>(x0 - dest.x) * static_cast<double>(stepX) + rect.x * one);
    std::int64_t v = draw_math::truncTo64(
        static_cast<double>(y0 - dest.y) * static_cast<double>(stepY) + rect.y * one);
    // The last column and row of the source rectangle are never interpolated.
    const std::int64_t lastX = std::int64_t{rect.x} + rect.width - 1;
    const std::int64_t lastY = std::int64_t{rect.y} + rect.height - 1;
    for (std::int64_t y = y0; y < y1; ++y, v += stepY) {
        const std::int64_t iy = v >> kFixedShift;
        if (iy < top || iy >= bottom) {
            continue;
        }
        Pixel* d = pixelAt<Pixel>(target, x0, y);
        std::int64_t u = startU;
        for (std::int64_t x = x0; x < x1; ++x, ++d, u += stepX) {
            const std::int64_t ix = u >> kFixedShift;
            if (ix < left || ix >= right) {
                continue;
            }
            if (smooth && ix < lastX && iy < lastY && ix + 1 < right && iy + 1 < bottom) {
                writeSample<Format, mode>(
                    *d, Format::interpolate(view, ix, iy, ix + 1, iy + 1, fraction(u), fraction(v)),
                    g);
            } else {
                writeSample<Format, mode>(*d, Format::pick(view, ix, iy), g);
            }
        }
    }
}

template <class Format, Write mode>
void stretch(Image& target, Image& source, const SourceRect& rect, const StretchTarget& dest,
             const Rect& clip, bool smooth, int g) {
    if (smooth) {
        stretchRows<Format, mode, true>(target, source, rect, dest, clip, g);
    } else {
        stretchRows<Format, mode, false>(target, source, rect, dest, clip, g);
    }
}

} // namespace orv::transform_walk
