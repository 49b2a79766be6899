#include "engine/graphics/Rotation.h"

#include "engine/graphics/DrawMath.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Positions are kept within this many pixels of the origin: a target is far
// smaller, and the products of the fixed-point set-up stay inside 64 bits.
constexpr std::int64_t kPositionLimit = std::int64_t{1} << 40;

std::int64_t limitPosition(std::int64_t value) {
    return std::clamp(value, -kPositionLimit, kPositionLimit);
}

// The walk adds at most a few thousand steps of below 2^35 each to its
// start, so a start kept within 2^62 cannot overflow on the way; positions
// that far off lie outside every source anyway.
constexpr std::int64_t kStartLimit = std::int64_t{1} << 62;

std::int64_t saturatedProduct(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        return (a < 0) != (b < 0) ? -kStartLimit : kStartLimit;
    }
    return std::clamp(product, -kStartLimit, kStartLimit);
}

// a - b for two values within the start limit.
std::int64_t limitedDifference(std::int64_t a, std::int64_t b) {
    return std::clamp(a - b, -kStartLimit, kStartLimit);
}

} // namespace

RotationSetup prepareRotation(std::int64_t x, std::int64_t y, int centreX, int centreY, int width,
                              int height, double angle, double scale, bool smooth,
                              const Rect& clip) {
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    const double cx = centreX;
    const double cy = centreY;
    // The translation that keeps the centre in place.
    const std::int64_t tx =
        limitPosition(x + centreX - draw_math::truncTo64(scale * (cx * cosine - cy * sine)));
    const std::int64_t ty =
        limitPosition(y + centreY - draw_math::truncTo64(scale * (cx * sine + cy * cosine)));

    // The bounding box of the mapped corners, in single precision.
    const float margin = smooth ? 1.0F : 0.0F;
    const auto fw = static_cast<float>(width);
    const auto fh = static_cast<float>(height);
    const float cornersX[4] = {-margin, fw + margin, fw + margin, -margin};
    const float cornersY[4] = {-margin, -margin, fh + margin, fh + margin};
    const auto fc = static_cast<float>(cosine);
    const auto fs = static_cast<float>(sine);
    const auto fk = static_cast<float>(scale);
    const auto ftx = static_cast<float>(tx);
    const auto fty = static_cast<float>(ty);
    float minX = 2147483648.0F;
    float minY = 2147483648.0F;
    float maxX = -2147483648.0F;
    float maxY = -2147483648.0F;
    for (int i = 0; i < 4; ++i) {
        const float mappedX = fk * (cornersX[i] * fc - cornersY[i] * fs) + ftx;
        const float mappedY = fk * (cornersX[i] * fs + cornersY[i] * fc) + fty;
        minX = std::min(minX, mappedX);
        minY = std::min(minY, mappedY);
        maxX = std::max(maxX, mappedX);
        maxY = std::max(maxY, mappedY);
    }
    // The box is rounded outwards and widened by a pixel on every side:
    // truncating it would cut off the last column or row whenever a corner
    // lands a hair short of a whole pixel (as every quarter turn does in
    // single precision), and the fixed-point steps may reach a hair beyond
    // the exact corners. Pixels of the box whose source position falls
    // outside the source are skipped by the workers.
    const std::int64_t boxX = draw_math::truncTo64(std::floor(minX)) - 1;
    const std::int64_t boxY = draw_math::truncTo64(std::floor(minY)) - 1;
    const std::int64_t boxRight = draw_math::truncTo64(std::ceil(maxX)) + 1;
    const std::int64_t boxBottom = draw_math::truncTo64(std::ceil(maxY)) + 1;

    const std::int64_t left = std::max<std::int64_t>(boxX, clip.x);
    const std::int64_t top = std::max<std::int64_t>(boxY, clip.y);
    const std::int64_t right = std::min<std::int64_t>(boxRight, std::int64_t{clip.x} + clip.width);
    const std::int64_t bottom =
        std::min<std::int64_t>(boxBottom, std::int64_t{clip.y} + clip.height);

    RotationSetup setup;
    if (left >= right || top >= bottom) {
        return setup;
    }
    setup.area = Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top)};
    constexpr double one = static_cast<double>(kFixedOne);
    setup.stepA = draw_math::truncTo64(one / scale * sine);
    setup.stepB = draw_math::truncTo64(one / scale * cosine);
    const std::int64_t dx = tx - left;
    const std::int64_t dy = ty - top;
    setup.uStart =
        limitedDifference(saturatedProduct(-setup.stepB, dx), saturatedProduct(setup.stepA, dy));
    setup.vStart =
        limitedDifference(saturatedProduct(setup.stepA, dx), saturatedProduct(setup.stepB, dy));
    return setup;
}

} // namespace orv
