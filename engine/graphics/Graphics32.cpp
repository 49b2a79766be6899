#include "engine/graphics/Graphics32.h"

#include "engine/graphics/DrawMath.h"
#include "engine/graphics/PixelWorkers32.h"
#include "engine/graphics/Rotation.h"
#include "engine/graphics/SmoothLine.h"
#include "engine/graphics/TransformWorkers32.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orv {

constinit const ClassRecord Graphics32::classRecord{"Graphics32",
                                                    parentRecords<Graphics::classRecord>};

namespace {

constexpr int kOpaque = 255;

// Sources are checked before their pixels are read: a 16-bit image read as
// 32-bit pixels would run past its buffer. A compressed image has no buffers
// until locked, so the format alone decides for it.
bool isMaskSource(const Image& image) {
    return image.getFormat() == kFormatAlpha;
}

bool is32Source(const Image& image) {
    return image.getFormat() == kFormatArgb32;
}

} // namespace

Graphics32::Graphics32(Image& target) : Graphics(target) {}

bool Graphics32::targetIs32() const {
    return getTarget().getFormat() == kFormatArgb32;
}

void Graphics32::plot(int x, int y) {
    const int alpha = getAlpha();
    const std::int64_t tx = std::int64_t{x} + getTranslateX();
    const std::int64_t ty = std::int64_t{y} + getTranslateY();
    if (alpha == 0 || !targetIs32() || !getBounds().contains(tx, ty)) {
        return;
    }
    if (alpha == kOpaque) {
        plotOpaque32(getTarget(), static_cast<int>(tx), static_cast<int>(ty), getColor());
    } else {
        plotAlpha32(getTarget(), static_cast<int>(tx), static_cast<int>(ty), getColor(), alpha);
    }
}

void Graphics32::setChannelPixel(int channel, int value, int x, int y) {
    const std::int64_t tx = std::int64_t{x} + getTranslateX();
    const std::int64_t ty = std::int64_t{y} + getTranslateY();
    if (getAlpha() == 0 || !targetIs32() || !getBounds().contains(tx, ty)) {
        return;
    }
    setChannelPixel32(getTarget(), static_cast<int>(tx), static_cast<int>(ty), channel, value);
}

void Graphics32::drawLine(int x1, int y1, int x2, int y2) {
    if ((x1 != x2 && y1 != y2) || getAlpha() != kOpaque) {
        Graphics::drawLine(x1, y1, x2, y2);
        return;
    }
    if (!targetIs32()) {
        return;
    }
    const Bounds bounds = getBounds();
    if (bounds.isEmpty()) {
        return;
    }
    // Far-off coordinates are limited to just outside the drawable area, which
    // clips them the same way without overflowing.
    const auto place = [](int value, int offset) {
        return static_cast<int>(
            std::clamp<std::int64_t>(std::int64_t{value} + offset, -1, std::int64_t{1} << 30));
    };
    x1 = place(x1, getTranslateX());
    x2 = place(x2, getTranslateX());
    y1 = place(y1, getTranslateY());
    y2 = place(y2, getTranslateY());
    // Clip the segment along its own axis; the other axis must lie inside.
    const bool horizontal = y1 == y2;
    const int fixed = horizontal ? y1 : x1;
    const int fixedLow = horizontal ? bounds.top : bounds.left;
    const int fixedHigh = horizontal ? bounds.bottom : bounds.right;
    if (fixed < fixedLow || fixed >= fixedHigh) {
        return;
    }
    int from = horizontal ? std::min(x1, x2) : std::min(y1, y2);
    int to = horizontal ? std::max(x1, x2) : std::max(y1, y2);
    const int low = horizontal ? bounds.left : bounds.top;
    const int high = (horizontal ? bounds.right : bounds.bottom) - 1;
    if (to < low || from > high) {
        return;
    }
    from = std::max(from, low);
    to = std::min(to, high);
    if (horizontal) {
        drawStraightLine32(getTarget(), from, fixed, to, fixed, getColor());
    } else {
        drawStraightLine32(getTarget(), fixed, from, fixed, to, getColor());
    }
}

void Graphics32::drawLineSmooth(float x1, float y1, float x2, float y2) {
    if (getAlpha() == 0 || !targetIs32() || !std::isfinite(x1) || !std::isfinite(y1) ||
        !std::isfinite(x2) || !std::isfinite(y2)) {
        return;
    }
    const auto dx = static_cast<float>(getTranslateX());
    const auto dy = static_cast<float>(getTranslateY());
    x1 += dx;
    y1 += dy;
    x2 += dx;
    y2 += dy;
    // Only lines whose ends lie inside the clip are drawn, which also keeps
    // the walk as short as the clip is wide.
    const Bounds bounds = getBounds();
    const auto inside = [&bounds](float x, float y) {
        return bounds.contains(draw_math::nearestInt(x), draw_math::nearestInt(y));
    };
    if (!inside(x1, y1) || !inside(x2, y2)) {
        return;
    }
    drawSmoothLine(
        getTarget(),
        Rect{bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top}, x1,
        y1, x2, y2, getNativeColor(), plotAlpha32);
}

void Graphics32::fillRect(int x, int y, int width, int height) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs32()) {
        return;
    }
    const std::optional<Rect> area = clipRect(x, y, width, height);
    if (!area) {
        return;
    }
    if (alpha == kOpaque) {
        fillOpaque32(getTarget(), area->x, area->y, area->width, area->height, getColor());
    } else {
        fillAlpha32(getTarget(), area->x, area->y, area->width, area->height, getColor(), alpha);
    }
}

void Graphics32::setChannelRect(int channel, int value, int x, int y, int width, int height) {
    if (!targetIs32()) {
        return;
    }
    if (const std::optional<Rect> area = clipRect(x, y, width, height)) {
        fillChannel32(getTarget(), area->x, area->y, area->width, area->height, channel, value);
    }
}

void Graphics32::drawImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs32() || !(isMaskSource(image) || is32Source(image)) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    Image& target = getTarget();
    if (isMaskSource(image)) {
        drawMasked32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, getColor(), alpha);
    } else if (!image.getUseAlphaChannel()) {
        if (alpha == kOpaque) {
            copyOpaque32(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
        } else {
            copyAlpha32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, alpha);
        }
    } else if (getBlendMode() == BlendMode::BlendNormal) {
        blendNormal32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, alpha);
    } else if (getBlendMode() == BlendMode::BlendAdditive) {
        blendAdditive32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, alpha);
    }
}

void Graphics32::drawImageRotoZoom(Image& image, double angle, double scale, int x, int y, int srcX,
                                   int srcY, int srcWidth, int srcHeight, int centreX,
                                   int centreY) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs32() || !is32Source(image) || !std::isfinite(angle) ||
        !std::isfinite(scale) || std::fabs(scale) <= 0.0001) {
        return;
    }
    // Keep the source rectangle inside the image; cutting its left or top
    // moves its origin, so the position and the centre move with it and the
    // picture stays where it was.
    std::int64_t left = srcX;
    std::int64_t top = srcY;
    std::int64_t right = std::min<std::int64_t>(std::int64_t{srcX} + srcWidth, image.getWidth());
    std::int64_t bottom = std::min<std::int64_t>(std::int64_t{srcY} + srcHeight, image.getHeight());
    std::int64_t posX = std::int64_t{x} + getTranslateX();
    std::int64_t posY = std::int64_t{y} + getTranslateY();
    std::int64_t cx = centreX;
    std::int64_t cy = centreY;
    if (left < 0) {
        posX -= left;
        cx += left;
        left = 0;
    }
    if (top < 0) {
        posY -= top;
        cy += top;
        top = 0;
    }
    if (left >= right || top >= bottom) {
        return;
    }
    const Rect source{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top)};
    const Bounds bounds = getBounds();
    const RotationSetup setup = prepareRotation(
        posX, posY, draw_math::clampToInt(cx), draw_math::clampToInt(cy), source.width,
        source.height, angle, scale, isSmooth(),
        Rect{bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top});
    Image& target = getTarget();
    if (image.getUseAlphaChannel()) {
        rotateBlend32(target, image, source, setup, isSmooth(), alpha);
    } else if (alpha == kOpaque) {
        rotateOpaque32(target, image, source, setup, isSmooth());
    } else {
        rotateAlpha32(target, image, source, setup, isSmooth(), alpha);
    }
}

void Graphics32::drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight,
                                    int x, int y, int width, int height) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs32() || !is32Source(image) || width <= 0 || height <= 0 ||
        srcWidth <= 0 || srcHeight <= 0) {
        return;
    }
    const StretchTarget destination{std::int64_t{x} + getTranslateX(),
                                    std::int64_t{y} + getTranslateY(), width, height};
    if (destination.x + destination.width < 0 || destination.y + destination.height < 0) {
        return;
    }
    const Bounds bounds = getBounds();
    const Rect clip{bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top};
    const Rect source{srcX, srcY, srcWidth, srcHeight};
    Image& target = getTarget();
    if (image.getUseAlphaChannel()) {
        stretchBlend32(target, image, source, destination, clip, isSmooth(), alpha);
    } else if (alpha == kOpaque) {
        stretchOpaque32(target, image, source, destination, clip, isSmooth());
    } else {
        stretchAlpha32(target, image, source, destination, clip, isSmooth(), alpha);
    }
}

void Graphics32::copyImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) {
    if (getAlpha() == 0 || !targetIs32() || !is32Source(image) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    copyPixels32(getTarget(), image, srcX, srcY, srcWidth, srcHeight, x, y);
}

void Graphics32::copyChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                             int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Copy);
}

void Graphics32::minChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                            int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Min);
}

void Graphics32::maxChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                            int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Max);
}

void Graphics32::writeChannelFromImage(Image& image, int channel, int x, int y, int srcX, int srcY,
                                       int srcWidth, int srcHeight, ChannelMode mode) {
    const bool fromPlane = isMaskSource(image) || image.getFormat() == kFormatRgb565;
    if (getAlpha() == 0 || !targetIs32() || !(fromPlane || is32Source(image)) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    Image& target = getTarget();
    if (fromPlane) {
        switch (mode) {
        case ChannelMode::Copy:
            copyChannelFromPlane32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
            break;
        case ChannelMode::Min:
            minChannelFromPlane32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
            break;
        case ChannelMode::Max:
            maxChannelFromPlane32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
            break;
        }
        return;
    }
    switch (mode) {
    case ChannelMode::Copy:
        copyChannel32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
        break;
    case ChannelMode::Min:
        minChannel32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
        break;
    case ChannelMode::Max:
        maxChannel32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
        break;
    }
}

} // namespace orv
