#include "engine/graphics/TransformWorkers32.h"

#include "engine/graphics/PixelRows32.h"
#include "engine/graphics/TransformWalk.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

using transform_walk::Sample;
using transform_walk::SourceView;
using transform_walk::Write;

// The 0xAARRGGBB pixel of the transformed walk (TransformWalk.h). Writes
// keep the target's alpha byte; the weight of an unfiltered sample is its
// own alpha byte times g.
struct Format32 {
    using Pixel = std::uint32_t;
    static constexpr bool kBlendNeedsPlane = false;

    static Sample<Pixel> pick(const SourceView& source, std::int64_t x, std::int64_t y) {
        Sample<Pixel> sample;
        sample.pixel = source.pixel<Pixel>(x, y);
        return sample;
    }

    // The four pixels around a position weighted by its fractions: each colour
    // byte the truncated weighted sum, the alpha the untruncated one. The four
    // channels go through the same statements side by side, which the compiler
    // turns into vector arithmetic with the very same double results.
    static Sample<Pixel> interpolate(const SourceView& source, std::int64_t x0, std::int64_t y0,
                                     std::int64_t x1, std::int64_t y1, double fx, double fy) {
        const Pixel topLeft = source.pixel<Pixel>(x0, y0);
        const Pixel topRight = source.pixel<Pixel>(x1, y0);
        const Pixel bottomLeft = source.pixel<Pixel>(x0, y1);
        const Pixel bottomRight = source.pixel<Pixel>(x1, y1);
        const double wTopLeft = (1.0 - fx) * (1.0 - fy);
        const double wTopRight = fx * (1.0 - fy);
        const double wBottomLeft = (1.0 - fx) * fy;
        const double wBottomRight = fx * fy;
        // Channel k is the byte at bit 8 k: blue, green, red, alpha.
        double sums[4];
        for (int k = 0; k < 4; ++k) {
            const int shift = 8 * k;
            sums[k] = static_cast<double>((topLeft >> shift) & 0xFFU) * wTopLeft +
                      static_cast<double>((topRight >> shift) & 0xFFU) * wTopRight +
                      static_cast<double>((bottomLeft >> shift) & 0xFFU) * wBottomLeft +
                      static_cast<double>((bottomRight >> shift) & 0xFFU) * wBottomRight;
        }
        Sample<Pixel> sample;
        for (int k = 0; k < 3; ++k) {
            // The weights sum to 1, so a sum never passes 255 by more than a
            // rounding error; the bound is only a guard.
            const int channel = std::min(static_cast<int>(sums[k]), 255);
            sample.pixel |= static_cast<std::uint32_t>(channel) << (8 * k);
        }
        sample.alpha = sums[3];
        sample.interpolated = true;
        return sample;
    }

    static void store(Pixel& d, Pixel sample) { d = (d & 0xFF000000U) | (sample & 0x00FFFFFFU); }
    static Pixel lerp(Pixel d, Pixel sample, int w) { return pixel32::lerpPixel(d, sample, w); }
    static int weight(const Sample<Pixel>& sample, int g) {
        return pixel32::pixelWeight(sample.pixel, g);
    }
};

} // namespace

void rotateOpaque32(Image& target, Image& source, const SourceRect& sourceRect,
                    const RotationSetup& setup, bool smooth) {
    transform_walk::rotate<Format32, Write::Opaque>(target, source, sourceRect, setup, smooth, 255);
}

void rotateAlpha32(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    transform_walk::rotate<Format32, Write::Alpha>(target, source, sourceRect, setup, smooth, g);
}

void rotateBlend32(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    transform_walk::rotate<Format32, Write::RotateBlend>(target, source, sourceRect, setup, smooth,
                                                         g);
}

void stretchOpaque32(Image& target, Image& source, const SourceRect& sourceRect,
                     const StretchTarget& destination, const Rect& clip, bool smooth) {
    transform_walk::stretch<Format32, Write::Opaque>(target, source, sourceRect, destination, clip,
                                                     smooth, 255);
}

void stretchAlpha32(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    transform_walk::stretch<Format32, Write::Alpha>(target, source, sourceRect, destination, clip,
                                                    smooth, g);
}

void stretchBlend32(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    transform_walk::stretch<Format32, Write::StretchBlend>(target, source, sourceRect, destination,
                                                           clip, smooth, g);
}

} // namespace orv
