#include "engine/graphics/Graphics16.h"

#include "engine/graphics/DrawMath.h"
#include "engine/graphics/PixelRows16.h"
#include "engine/graphics/PixelWorkers16.h"
#include "engine/graphics/Rotation.h"
#include "engine/graphics/SmoothLine.h"
#include "engine/resources/ImageDD.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orv {

constinit const ClassRecord Graphics16::classRecord{"Graphics16",
                                                    parentRecords<Graphics::classRecord>};

namespace {

constexpr int kOpaque = 255;

// Sources are checked by format before their pixels are read: a 32-bit image
// read as 16-bit words would be misdrawn, a mask has no words at all. A
// compressed image has no buffers until locked, so the format alone decides.
bool isMaskSource(const Image& image) {
    return image.getFormat() == kFormatAlpha;
}

bool is16Source(const Image& image) {
    return image.getFormat() == kFormatRgb565;
}

bool is32Source(const Image& image) {
    return image.getFormat() == kFormatArgb32;
}

// A surface image (the window's back buffer) has no alpha plane.
bool isSurface(Image& image) {
    return kindCast<ImageDD>(&image) != nullptr;
}

// Whether drawing uses the image's per-pixel alpha: only an image that can
// have a plane does.
bool usesPlaneAlpha(Image& image) {
    return image.getUseAlphaChannel() && !isSurface(image);
}

} // namespace

Graphics16::Graphics16(Image& target) : Graphics(target) {}

bool Graphics16::targetIs16() const {
    return getTarget().getFormat() == kFormatRgb565;
}

void Graphics16::setColor(std::uint32_t color) {
    Graphics::setColor(color);
    nativeColor_ = pixel16::toRgb565(color);
}

void Graphics16::plot(int x, int y) {
    const int alpha = getAlpha();
    const std::int64_t tx = std::int64_t{x} + getTranslateX();
    const std::int64_t ty = std::int64_t{y} + getTranslateY();
    if (alpha == 0 || !targetIs16() || !getBounds().contains(tx, ty)) {
        return;
    }
    if (alpha == kOpaque) {
        plotOpaque16(getTarget(), static_cast<int>(tx), static_cast<int>(ty), nativeColor_);
    } else {
        plotAlpha16(getTarget(), static_cast<int>(tx), static_cast<int>(ty), nativeColor_, alpha);
    }
}

void Graphics16::setChannelPixel(int channel, int value, int x, int y) {
    const std::int64_t tx = std::int64_t{x} + getTranslateX();
    const std::int64_t ty = std::int64_t{y} + getTranslateY();
    if (!targetIs16() || !getBounds().contains(tx, ty)) {
        return;
    }
    if (channel == 0) {
        fillPlane16(getTarget(), static_cast<int>(tx), static_cast<int>(ty), 1, 1, value);
    } else {
        setFieldPixel16(getTarget(), static_cast<int>(tx), static_cast<int>(ty), channel, value);
    }
}

void Graphics16::drawLine(int x1, int y1, int x2, int y2) {
    if ((x1 != x2 && y1 != y2) || getAlpha() != kOpaque) {
        Graphics::drawLine(x1, y1, x2, y2);
        return;
    }
    if (!targetIs16()) {
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
        drawStraightLine16(getTarget(), from, fixed, to, fixed, nativeColor_);
    } else {
        drawStraightLine16(getTarget(), fixed, from, fixed, to, nativeColor_);
    }
}

void Graphics16::drawLineSmooth(float x1, float y1, float x2, float y2) {
    if (getAlpha() == 0 || !targetIs16() || !std::isfinite(x1) || !std::isfinite(y1) ||
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
        y1, x2, y2, nativeColor_, plotAlpha16);
}

void Graphics16::fillRect(int x, int y, int width, int height) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs16()) {
        return;
    }
    const std::optional<Rect> area = clipRect(x, y, width, height);
    if (!area) {
        return;
    }
    if (alpha == kOpaque) {
        fillOpaque16(getTarget(), area->x, area->y, area->width, area->height, nativeColor_);
    } else {
        fillAlpha16(getTarget(), area->x, area->y, area->width, area->height, nativeColor_, alpha);
    }
}

void Graphics16::setChannelRect(int channel, int value, int x, int y, int width, int height) {
    if (!targetIs16()) {
        return;
    }
    const std::optional<Rect> area = clipRect(x, y, width, height);
    if (!area) {
        return;
    }
    if (channel == 0) {
        fillPlane16(getTarget(), area->x, area->y, area->width, area->height, value);
    } else {
        fillField16(getTarget(), area->x, area->y, area->width, area->height, channel, value);
    }
}

void Graphics16::drawImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs16() || !(isMaskSource(image) || is16Source(image)) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    Image& target = getTarget();
    if (isMaskSource(image)) {
        drawMasked16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, nativeColor_, alpha);
    } else if (!usesPlaneAlpha(image)) {
        if (alpha == kOpaque) {
            copyOpaque16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
        } else {
            copyAlpha16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, alpha);
        }
    } else if (getBlendMode() == BlendMode::BlendNormal) {
        if (alpha == kOpaque) {
            blendNormal16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
        } else {
            blendNormalAlpha16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, alpha);
        }
    } else if (getBlendMode() == BlendMode::BlendAdditive) {
        blendAdditive16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, alpha);
    }
}

void Graphics16::drawImageRotoZoom(Image& image, double angle, double scale, int x, int y, int srcX,
                                   int srcY, int srcWidth, int srcHeight, int centreX,
                                   int centreY) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs16() || !is16Source(image) || !std::isfinite(angle) ||
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
    if (usesPlaneAlpha(image)) {
        rotateBlend16(target, image, source, setup, isSmooth(), alpha);
    } else if (alpha == kOpaque) {
        rotateOpaque16(target, image, source, setup, isSmooth());
    } else {
        rotateAlpha16(target, image, source, setup, isSmooth(), alpha);
    }
}

void Graphics16::drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight,
                                    int x, int y, int width, int height) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs16() || !is16Source(image) || width <= 0 || height <= 0 ||
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
    if (usesPlaneAlpha(image)) {
        stretchBlend16(target, image, source, destination, clip, isSmooth(), alpha);
    } else if (alpha == kOpaque) {
        stretchOpaque16(target, image, source, destination, clip, isSmooth());
    } else {
        stretchAlpha16(target, image, source, destination, clip, isSmooth(), alpha);
    }
}

void Graphics16::copyImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) {
    if (getAlpha() == 0 || !targetIs16() || !is16Source(image) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    Image& target = getTarget();
    copyOpaque16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
    if (!isSurface(image) && !isSurface(target)) {
        copyPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
    }
}

void Graphics16::copyChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                             int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Copy);
}

void Graphics16::minChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                            int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Min);
}

void Graphics16::maxChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                            int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Max);
}

void Graphics16::writeChannelFromImage(Image& image, int channel, int x, int y, int srcX, int srcY,
                                       int srcWidth, int srcHeight, ChannelMode mode) {
    // A plane source gives only its alpha, so only channel 0 takes it.
    const bool fromPlane = (isMaskSource(image) || is16Source(image)) && channel == 0;
    if (getAlpha() == 0 || !targetIs16() || !(fromPlane || is32Source(image)) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    Image& target = getTarget();
    if (fromPlane) {
        switch (mode) {
        case ChannelMode::Copy:
            copyPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
            break;
        case ChannelMode::Min:
            minPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
            break;
        case ChannelMode::Max:
            maxPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y);
            break;
        }
        return;
    }
    switch (mode) {
    case ChannelMode::Copy:
        copyChannelToPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
        break;
    case ChannelMode::Min:
        minChannelToPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
        break;
    case ChannelMode::Max:
        maxChannelToPlane16(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
        break;
    }
}

} // namespace orv
