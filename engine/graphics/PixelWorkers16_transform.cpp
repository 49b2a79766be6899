// Rotated and stretched drawing onto 16-bit targets. The walk, the clip and
// the sampling positions are those of every format (TransformWalk.h); what
// differs is the pixel: RGB565 words interpolated field by field, and the
// alpha read from the source's plane.
#include "engine/graphics/PixelRows16.h"
#include "engine/graphics/PixelWorkers16.h"
#include "engine/graphics/TransformWalk.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

using transform_walk::Sample;
using transform_walk::SourceView;
using transform_walk::Write;

// The plane byte of a pixel; 255 for a source without plane (only the opaque
// and constant-alpha variants read such sources, and they ignore it).
std::uint8_t planeByte(const SourceView& source, std::int64_t x, std::int64_t y) {
    if (source.plane == nullptr) {
        return 255;
    }
    return source.planeByte(x, y);
}

// The RGB565 word of the transformed walk, its alpha in the source's plane
// (the blends draw nothing from a source without one).
struct Format16 {
    using Pixel = std::uint16_t;
    static constexpr bool kBlendNeedsPlane = true;

    static Sample<Pixel> pick(const SourceView& source, std::int64_t x, std::int64_t y) {
        Sample<Pixel> sample;
        sample.pixel = source.pixel<Pixel>(x, y);
        sample.plane = planeByte(source, x, y);
        return sample;
    }

    // The four pixels around a position weighted by its fractions: each field
    // the truncated weighted sum of the masked field values, masked back into
    // its field; the alpha the untruncated sum of the plane bytes.
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
        const auto weighted = [&](double tl, double tr, double bl, double br) {
            return tl * wTopLeft + tr * wTopRight + bl * wBottomLeft + br * wBottomRight;
        };
        Sample<Pixel> sample;
        std::uint32_t pixel = 0;
        for (const pixel16::Field& field : pixel16::kFields) {
            const double sum = weighted(topLeft & field.mask, topRight & field.mask,
                                        bottomLeft & field.mask, bottomRight & field.mask);
            pixel |= static_cast<std::uint32_t>(std::clamp(static_cast<int>(sum), 0, 0xFFFF)) &
                     field.mask;
        }
        sample.pixel = static_cast<Pixel>(pixel);
        sample.alpha = weighted(planeByte(source, x0, y0), planeByte(source, x1, y0),
                                planeByte(source, x0, y1), planeByte(source, x1, y1));
        sample.interpolated = true;
        return sample;
    }

    static void store(Pixel& d, Pixel sample) { d = sample; }
    static Pixel lerp(Pixel d, Pixel sample, int w) { return pixel16::lerpWord(d, sample, w); }
    static int weight(const Sample<Pixel>& sample, int g) {
        return pixel16::planeWeight(sample.plane, g);
    }
};

} // namespace

void rotateOpaque16(Image& target, Image& source, const SourceRect& sourceRect,
                    const RotationSetup& setup, bool smooth) {
    transform_walk::rotate<Format16, Write::Opaque>(target, source, sourceRect, setup, smooth, 255);
}

void rotateAlpha16(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    transform_walk::rotate<Format16, Write::Alpha>(target, source, sourceRect, setup, smooth, g);
}

void rotateBlend16(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    transform_walk::rotate<Format16, Write::RotateBlend>(target, source, sourceRect, setup, smooth,
                                                         g);
}

void stretchOpaque16(Image& target, Image& source, const SourceRect& sourceRect,
                     const StretchTarget& destination, const Rect& clip, bool smooth) {
    transform_walk::stretch<Format16, Write::Opaque>(target, source, sourceRect, destination, clip,
                                                     smooth, 255);
}

void stretchAlpha16(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    transform_walk::stretch<Format16, Write::Alpha>(target, source, sourceRect, destination, clip,
                                                    smooth, g);
}

void stretchBlend16(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    transform_walk::stretch<Format16, Write::StretchBlend>(target, source, sourceRect, destination,
                                                           clip, smooth, g);
}

} // namespace orv
