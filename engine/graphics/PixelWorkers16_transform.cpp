// Rotated and stretched drawing onto 16-bit targets. The walk, the clip and
// the sampling positions are those of TransformWorkers32.cpp; what differs is
// the pixel: RGB565 words interpolated field by field, and the alpha read
// from the source's plane.
#include "engine/graphics/DrawMath.h"
#include "engine/graphics/PixelRows16.h"
#include "engine/graphics/PixelWorkers16.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orv {

namespace {

// Locks source then target for one worker and unlocks both when it goes.
class TransformLock {
public:
    TransformLock(Image& source, Image& target, bool needsPlane)
        : source_(source), target_(target), needsPlane_(needsPlane) {
        sourceLocked_ = source_.lock();
        targetLocked_ = sourceLocked_ && target_.lock();
    }
    TransformLock(const TransformLock&) = delete;
    TransformLock& operator=(const TransformLock&) = delete;
    ~TransformLock() {
        if (sourceLocked_) {
            source_.unlock();
        }
        if (targetLocked_) {
            target_.unlock();
        }
    }
    [[nodiscard]] bool ok() const {
        return targetLocked_ && source_.getPixels() != nullptr && target_.getPixels() != nullptr &&
               (!needsPlane_ || source_.getAlpha() != nullptr);
    }

private:
    Image& source_;
    Image& target_;
    bool needsPlane_;
    bool sourceLocked_ = false;
    bool targetLocked_ = false;
};

std::uint16_t* word(const Image& image, std::int64_t x, std::int64_t y) {
    return reinterpret_cast<std::uint16_t*>(image.getPixels() +
                                            static_cast<std::ptrdiff_t>(y) * image.getPitch()) +
           x;
}

// The plane byte of a pixel; 255 for a source without plane (only the opaque
// and constant-alpha variants read such sources, and they ignore it).
std::uint8_t planeByte(const Image& image, std::int64_t x, std::int64_t y) {
    if (image.getAlpha() == nullptr) {
        return 255;
    }
    return image.getAlpha()[static_cast<std::ptrdiff_t>(y) * image.getWidth() + x];
}

// A sample: its word, its alpha (the plane byte, or the filtered sum) and
// whether it was interpolated.
struct Sample {
    std::uint16_t pixel = 0;
    std::uint8_t plane = 0;
    double alpha = 0.0;
    bool interpolated = false;
};

Sample pick(const Image& source, std::int64_t x, std::int64_t y) {
    Sample sample;
    sample.pixel = *word(source, x, y);
    sample.plane = planeByte(source, x, y);
    return sample;
}

// The four pixels around a position weighted by its fractions: each field the
// truncated weighted sum of the masked field values, masked back into its
// field; the alpha the untruncated sum of the plane bytes.
Sample interpolate(const Image& source, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                   std::int64_t y1, double fx, double fy) {
    const std::uint16_t topLeft = *word(source, x0, y0);
    const std::uint16_t topRight = *word(source, x1, y0);
    const std::uint16_t bottomLeft = *word(source, x0, y1);
    const std::uint16_t bottomRight = *word(source, x1, y1);
    const double wTopLeft = (1.0 - fx) * (1.0 - fy);
    const double wTopRight = fx * (1.0 - fy);
    const double wBottomLeft = (1.0 - fx) * fy;
    const double wBottomRight = fx * fy;
    const auto weighted = [&](double tl, double tr, double bl, double br) {
        return tl * wTopLeft + tr * wTopRight + bl * wBottomLeft + br * wBottomRight;
    };
    Sample sample;
    std::uint32_t pixel = 0;
    for (const pixel16::Field& field : pixel16::kFields) {
        const double sum = weighted(topLeft & field.mask, topRight & field.mask,
                                    bottomLeft & field.mask, bottomRight & field.mask);
        pixel |=
            static_cast<std::uint32_t>(std::clamp(static_cast<int>(sum), 0, 0xFFFF)) & field.mask;
    }
    sample.pixel = static_cast<std::uint16_t>(pixel);
    sample.alpha = weighted(planeByte(source, x0, y0), planeByte(source, x1, y0),
                            planeByte(source, x0, y1), planeByte(source, x1, y1));
    sample.interpolated = true;
    return sample;
}

// The fraction of a fixed-point position, 0 <= f < 1.
double fraction(std::int64_t position) {
    return static_cast<double>(position & (kFixedOne - 1)) / static_cast<double>(kFixedOne);
}

enum class Write { Opaque, Alpha, RotateBlend, StretchBlend };

// The blend weight of a sample: floor(a g / 256), or for a filtered sample
// trunc(alpha g) >> 8.
int blendWeight(const Sample& sample, int g) {
    if (sample.interpolated) {
        return draw_math::truncToInt(sample.alpha * g) >> 8;
    }
    return pixel16::planeWeight(sample.plane, g);
}

template <Write mode>
void writeSample(std::uint16_t& d, const Sample& sample, int g) {
    if constexpr (mode == Write::Opaque) {
        d = sample.pixel;
    } else if constexpr (mode == Write::Alpha) {
        d = pixel16::lerpWord(d, sample.pixel, g);
    } else {
        const int w = blendWeight(sample, g);
        // The stretch leaves out the thresholds for samples it does not filter.
        const bool thresholds = mode == Write::RotateBlend || sample.interpolated;
        if (thresholds && w > 250) {
            d = sample.pixel;
        } else if (!thresholds || w > 5) {
            d = pixel16::lerpWord(d, sample.pixel, w);
        }
    }
}

constexpr bool isBlend(Write mode) {
    return mode == Write::RotateBlend || mode == Write::StretchBlend;
}

template <Write mode, bool smooth>
void rotateRows(Image& target, Image& source, const SourceRect& rect, const RotationSetup& setup,
                int g) {
    const TransformLock lock(source, target, isBlend(mode));
    if (!lock.ok() || setup.area.width <= 0 || setup.area.height <= 0) {
        return;
    }
    // The readable part of the source rectangle: inside the source image too.
    const std::int64_t left = std::max(rect.x, 0);
    const std::int64_t top = std::max(rect.y, 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{rect.x} + rect.width, source.getWidth());
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{rect.y} + rect.height, source.getHeight());
    if (left >= right || top >= bottom) {
        return;
    }
    // Position limits relative to the rectangle's origin.
    const std::int64_t lowX = left - rect.x;
    const std::int64_t lowY = top - rect.y;
    const std::int64_t highX = right - rect.x;
    const std::int64_t highY = bottom - rect.y;
    std::int64_t rowU = setup.uStart;
    std::int64_t rowV = setup.vStart;
    for (int row = 0; row < setup.area.height; ++row) {
        std::uint16_t* d = word(target, setup.area.x, std::int64_t{setup.area.y} + row);
        std::int64_t u = rowU;
        std::int64_t v = rowV;
        for (int col = 0; col < setup.area.width; ++col, u += setup.stepB, v -= setup.stepA) {
            const std::int64_t ix = u >> kFixedShift;
            const std::int64_t iy = v >> kFixedShift;
            if constexpr (!smooth) {
                if (ix >= lowX && ix < highX && iy >= lowY && iy < highY) {
                    writeSample<mode>(d[col], pick(source, rect.x + ix, rect.y + iy), g);
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
                writeSample<mode>(d[col],
                                  interpolate(source, x0, y0, x1, y1, fraction(u), fraction(v)), g);
            }
        }
        rowU += setup.stepA;
        rowV += setup.stepB;
    }
}

template <Write mode>
void rotate(Image& target, Image& source, const SourceRect& rect, const RotationSetup& setup,
            bool smooth, int g) {
    if (smooth) {
        rotateRows<mode, true>(target, source, rect, setup, g);
    } else {
        rotateRows<mode, false>(target, source, rect, setup, g);
    }
}

// The nearest fixed-point value of a single-precision step.
std::int64_t stretchStep(int sourceSize, std::int64_t targetSize) {
    const float step = static_cast<float>(sourceSize) / static_cast<float>(targetSize) *
                       static_cast<float>(kFixedOne);
    return draw_math::truncTo64(std::nearbyint(static_cast<double>(step)));
}

template <Write mode, bool smooth>
void stretchRows(Image& target, Image& source, const SourceRect& rect, const StretchTarget& dest,
                 const Rect& clip, int g) {
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
    const TransformLock lock(source, target, isBlend(mode));
    if (!lock.ok()) {
        return;
    }
    // Samples are read only inside the source rectangle and the image.
    const std::int64_t left = std::max(rect.x, 0);
    const std::int64_t top = std::max(rect.y, 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{rect.x} + rect.width, source.getWidth());
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{rect.y} + rect.height, source.getHeight());
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
        std::uint16_t* d = word(target, x0, y);
        std::int64_t u = startU;
        for (std::int64_t x = x0; x < x1; ++x, ++d, u += stepX) {
            const std::int64_t ix = u >> kFixedShift;
            if (ix < left || ix >= right) {
                continue;
            }
            if (smooth && ix < lastX && iy < lastY && ix + 1 < right && iy + 1 < bottom) {
                writeSample<mode>(
                    *d, interpolate(source, ix, iy, ix + 1, iy + 1, fraction(u), fraction(v)), g);
            } else {
                writeSample<mode>(*d, pick(source, ix, iy), g);
            }
        }
    }
}

template <Write mode>
void stretch(Image& target, Image& source, const SourceRect& rect, const StretchTarget& dest,
             const Rect& clip, bool smooth, int g) {
    if (smooth) {
        stretchRows<mode, true>(target, source, rect, dest, clip, g);
    } else {
        stretchRows<mode, false>(target, source, rect, dest, clip, g);
    }
}

} // namespace

void rotateOpaque16(Image& target, Image& source, const SourceRect& sourceRect,
                    const RotationSetup& setup, bool smooth) {
    rotate<Write::Opaque>(target, source, sourceRect, setup, smooth, 255);
}

void rotateAlpha16(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    rotate<Write::Alpha>(target, source, sourceRect, setup, smooth, g);
}

void rotateBlend16(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    rotate<Write::RotateBlend>(target, source, sourceRect, setup, smooth, g);
}

void stretchOpaque16(Image& target, Image& source, const SourceRect& sourceRect,
                     const StretchTarget& destination, const Rect& clip, bool smooth) {
    stretch<Write::Opaque>(target, source, sourceRect, destination, clip, smooth, 255);
}

void stretchAlpha16(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    stretch<Write::Alpha>(target, source, sourceRect, destination, clip, smooth, g);
}

void stretchBlend16(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    stretch<Write::StretchBlend>(target, source, sourceRect, destination, clip, smooth, g);
}

} // namespace orv
