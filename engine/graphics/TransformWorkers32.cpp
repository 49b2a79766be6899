#include "engine/graphics/TransformWorkers32.h"

#include "engine/graphics/DrawMath.h"
#include "engine/graphics/PixelRows32.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orv {

namespace {

// Locks source then target for one worker and unlocks both when it goes.
class TransformLock {
public:
    TransformLock(Image& source, Image& target) : source_(source), target_(target) {
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
        return targetLocked_ && source_.getPixels() != nullptr && target_.getPixels() != nullptr;
    }

private:
    Image& source_;
    Image& target_;
    bool sourceLocked_ = false;
    bool targetLocked_ = false;
};

std::uint32_t* pixel32(const Image& image, std::int64_t x, std::int64_t y) {
    return reinterpret_cast<std::uint32_t*>(image.getPixels() +
                                            static_cast<std::ptrdiff_t>(y) * image.getPitch()) +
           x;
}

// A sample: its colour (and, sampled without filtering, its alpha byte) and
// the filtered alpha when it was interpolated.
struct Sample {
    std::uint32_t pixel = 0;
    double alpha = 0.0;
    bool interpolated = false;
};

enum class Write { Opaque, Alpha, RotateBlend, StretchBlend };

// The four pixels around a position weighted by its fractions: each colour
// byte the truncated weighted sum, the alpha the untruncated one. The four
// channels go through the same statements side by side, which the compiler
// turns into vector arithmetic with the very same double results.
Sample interpolate(std::uint32_t topLeft, std::uint32_t topRight, std::uint32_t bottomLeft,
                   std::uint32_t bottomRight, double fx, double fy) {
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
    Sample sample;
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

// The fraction of a fixed-point position, 0 <= f < 1.
double fraction(std::int64_t position) {
    return static_cast<double>(position & (kFixedOne - 1)) / static_cast<double>(kFixedOne);
}

// The blend weight of a sample: floor(S.a g / 256), or for a filtered sample
// trunc(alpha g) >> 8.
int blendWeight(const Sample& sample, int g) {
    if (sample.interpolated) {
        return draw_math::truncToInt(sample.alpha * g) >> 8;
    }
    return pixel32::pixelWeight(sample.pixel, g);
}

template <Write mode>
void writeSample(std::uint32_t& d, const Sample& sample, int g) {
    if constexpr (mode == Write::Opaque) {
        d = (d & 0xFF000000U) | (sample.pixel & 0x00FFFFFFU);
    } else if constexpr (mode == Write::Alpha) {
        d = pixel32::lerpPixel(d, sample.pixel, g);
    } else {
        const int w = blendWeight(sample, g);
        // The stretch leaves out the thresholds for samples it does not filter.
        const bool thresholds = mode == Write::RotateBlend || sample.interpolated;
        if (thresholds && w > 250) {
            d = (d & 0xFF000000U) | (sample.pixel & 0x00FFFFFFU);
        } else if (!thresholds || w > 5) {
            d = pixel32::lerpPixel(d, sample.pixel, w);
        }
    }
}

template <Write mode, bool smooth>
void rotateRows(Image& target, Image& source, const SourceRect& rect, const RotationSetup& setup,
                int g) {
    const TransformLock lock(source, target);
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
        std::uint32_t* d = pixel32(target, setup.area.x, std::int64_t{setup.area.y} + row);
        std::int64_t u = rowU;
        std::int64_t v = rowV;
        for (int col = 0; col < setup.area.width; ++col, u += setup.stepB, v -= setup.stepA) {
            const std::int64_t ix = u >> kFixedShift;
            const std::int64_t iy = v >> kFixedShift;
            if constexpr (!smooth) {
                if (ix >= lowX && ix < highX && iy >= lowY && iy < highY) {
                    Sample sample;
                    sample.pixel = *pixel32(source, rect.x + ix, rect.y + iy);
                    writeSample<mode>(d[col], sample, g);
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
                const Sample sample = interpolate(
                    *pixel32(source, x0, y0), *pixel32(source, x1, y0), *pixel32(source, x0, y1),
                    *pixel32(source, x1, y1), fraction(u), fraction(v));
                writeSample<mode>(d[col], sample, g);
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
    const TransformLock lock(source, target);
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
        std::uint32_t* d = pixel32(target, x0, y);
        std::int64_t u = startU;
        for (std::int64_t x = x0; x < x1; ++x, ++d, u += stepX) {
            const std::int64_t ix = u >> kFixedShift;
            if (ix < left || ix >= right) {
                continue;
            }
            if (smooth && ix < lastX && iy < lastY && ix + 1 < right && iy + 1 < bottom) {
                const Sample sample =
                    interpolate(*pixel32(source, ix, iy), *pixel32(source, ix + 1, iy),
                                *pixel32(source, ix, iy + 1), *pixel32(source, ix + 1, iy + 1),
                                fraction(u), fraction(v));
                writeSample<mode>(*d, sample, g);
            } else {
                Sample sample;
                sample.pixel = *pixel32(source, ix, iy);
                writeSample<mode>(*d, sample, g);
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

void rotateOpaque32(Image& target, Image& source, const SourceRect& sourceRect,
                    const RotationSetup& setup, bool smooth) {
    rotate<Write::Opaque>(target, source, sourceRect, setup, smooth, 255);
}

void rotateAlpha32(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    rotate<Write::Alpha>(target, source, sourceRect, setup, smooth, g);
}

void rotateBlend32(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g) {
    rotate<Write::RotateBlend>(target, source, sourceRect, setup, smooth, g);
}

void stretchOpaque32(Image& target, Image& source, const SourceRect& sourceRect,
                     const StretchTarget& destination, const Rect& clip, bool smooth) {
    stretch<Write::Opaque>(target, source, sourceRect, destination, clip, smooth, 255);
}

void stretchAlpha32(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    stretch<Write::Alpha>(target, source, sourceRect, destination, clip, smooth, g);
}

void stretchBlend32(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g) {
    stretch<Write::StretchBlend>(target, source, sourceRect, destination, clip, smooth, g);
}

} // namespace orv
