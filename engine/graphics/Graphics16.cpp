#include "engine/graphics/Graphics16.h"

#include "engine/graphics/PixelRows16.h"
#include "engine/graphics/PixelWorkers16.h"
#include "engine/graphics/SmoothLine.h"
#include "engine/graphics/TransformSetup.h"
#include "engine/resources/ImageDD.h"

#include <cstdint>
#include <optional>

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
    if (alpha == 0 || !targetIs16()) {
        return;
    }
    const std::optional<PixelPoint> point = placePoint(x, y);
    if (!point) {
        return;
    }
    if (alpha == kOpaque) {
        plotOpaque16(getTarget(), point->x, point->y, nativeColor_);
    } else {
        plotAlpha16(getTarget(), point->x, point->y, nativeColor_, alpha);
    }
}

void Graphics16::setChannelPixel(int channel, int value, int x, int y) {
    if (!targetIs16()) {
        return;
    }
    const std::optional<PixelPoint> point = placePoint(x, y);
    if (!point) {
        return;
    }
    if (channel == 0) {
        fillPlane16(getTarget(), point->x, point->y, 1, 1, value);
    } else {
        setFieldPixel16(getTarget(), point->x, point->y, channel, value);
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
    if (const std::optional<StraightLine> line = clipStraightLine(x1, y1, x2, y2)) {
        drawStraightLine16(getTarget(), line->x1, line->y1, line->x2, line->y2, nativeColor_);
    }
}

void Graphics16::drawLineSmooth(float x1, float y1, float x2, float y2) {
    if (getAlpha() == 0 || !targetIs16()) {
        return;
    }
    if (const std::optional<SmoothLineEnds> ends = placeSmoothLine(x1, y1, x2, y2)) {
        drawSmoothLine(getTarget(), getBoundsRect(), ends->x1, ends->y1, ends->x2, ends->y2,
                       nativeColor_, plotAlpha16);
    }
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
    if (alpha == 0 || !targetIs16() || !is16Source(image)) {
        return;
    }
    const std::optional<RotatedDrawing> drawing = prepareRotoZoom(
        image, angle, scale, x, y, srcX, srcY, srcWidth, srcHeight, centreX, centreY);
    if (!drawing) {
        return;
    }
    Image& target = getTarget();
    if (usesPlaneAlpha(image)) {
        rotateBlend16(target, image, drawing->source, drawing->setup, isSmooth(), alpha);
    } else if (alpha == kOpaque) {
        rotateOpaque16(target, image, drawing->source, drawing->setup, isSmooth());
    } else {
        rotateAlpha16(target, image, drawing->source, drawing->setup, isSmooth(), alpha);
    }
}

void Graphics16::drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight,
                                    int x, int y, int width, int height) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs16() || !is16Source(image)) {
        return;
    }
    const std::optional<StretchedDrawing> drawing =
        prepareStretch(srcX, srcY, srcWidth, srcHeight, x, y, width, height);
    if (!drawing) {
        return;
    }
    const StretchedDrawing& d = *drawing;
    Image& target = getTarget();
    if (usesPlaneAlpha(image)) {
        stretchBlend16(target, image, d.source, d.destination, d.clip, isSmooth(), alpha);
    } else if (alpha == kOpaque) {
        stretchOpaque16(target, image, d.source, d.destination, d.clip, isSmooth());
    } else {
        stretchAlpha16(target, image, d.source, d.destination, d.clip, isSmooth(), alpha);
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
        pickByMode(mode, copyPlane16, minPlane16, maxPlane16)(target, image, srcX, srcY, srcWidth,
                                                              srcHeight, x, y);
        return;
    }
    pickByMode(mode, copyChannelToPlane16, minChannelToPlane16,
               maxChannelToPlane16)(target, image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
}

} // namespace orv
