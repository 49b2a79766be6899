#include "engine/graphics/Graphics32.h"

#include "engine/graphics/PixelWorkers32.h"
#include "engine/graphics/SmoothLine.h"
#include "engine/graphics/TransformSetup.h"
#include "engine/graphics/TransformWorkers32.h"

#include <cstdint>
#include <optional>

namespace orv {

constinit const ClassRecord Graphics32::classRecord{"Graphics32",
                                                    parentRecords<Graphics::classRecord>};

namespace {

constexpr int kOpaque32 = 255;

// Sources are checked before their pixels are read: a 16-bit image read as
// 32-bit pixels would run past its buffer. A compressed image has no buffers
// until locked, so the format alone decides for it.
bool isMaskSource32(const Image& image) {
    return image.getFormat() == kFormatAlpha;
}

bool isArgbSource(const Image& image) {
    return image.getFormat() == kFormatArgb32;
}

} // namespace

Graphics32::Graphics32(Image& target) : Graphics(target) {}

bool Graphics32::targetIs32() const {
    return getTarget().getFormat() == kFormatArgb32;
}

void Graphics32::plot(int x, int y) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs32()) {
        return;
    }
    const std::optional<PixelPoint> point = placePoint(x, y);
    if (!point) {
        return;
    }
    if (alpha == kOpaque32) {
        plotOpaque32(getTarget(), point->x, point->y, getColor());
    } else {
        plotAlpha32(getTarget(), point->x, point->y, getColor(), alpha);
    }
}

void Graphics32::setChannelPixel(int channel, int value, int x, int y) {
    if (getAlpha() == 0 || !targetIs32()) {
        return;
    }
    if (const std::optional<PixelPoint> point = placePoint(x, y)) {
        setChannelPixel32(getTarget(), point->x, point->y, channel, value);
    }
}

void Graphics32::drawLine(int x1, int y1, int x2, int y2) {
    if ((x1 != x2 && y1 != y2) || getAlpha() != kOpaque32) {
        Graphics::drawLine(x1, y1, x2, y2);
        return;
    }
    if (!targetIs32()) {
        return;
    }
    if (const std::optional<StraightLine> line = clipStraightLine(x1, y1, x2, y2)) {
        drawStraightLine32(getTarget(), line->x1, line->y1, line->x2, line->y2, getColor());
    }
}

void Graphics32::drawLineSmooth(float x1, float y1, float x2, float y2) {
    if (getAlpha() == 0 || !targetIs32()) {
        return;
    }
    if (const std::optional<SmoothLineEnds> ends = placeSmoothLine(x1, y1, x2, y2)) {
        drawSmoothLine(getTarget(), getBoundsRect(), ends->x1, ends->y1, ends->x2, ends->y2,
                       getNativeColor(), plotAlpha32);
    }
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
    if (alpha == kOpaque32) {
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
    if (alpha == 0 || !targetIs32() || !(isMaskSource32(image) || isArgbSource(image)) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    Image& target = getTarget();
    if (isMaskSource32(image)) {
        drawMasked32(target, image, srcX, srcY, srcWidth, srcHeight, x, y, getColor(), alpha);
    } else if (!image.getUseAlphaChannel()) {
        if (alpha == kOpaque32) {
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
    if (alpha == 0 || !targetIs32() || !isArgbSource(image)) {
        return;
    }
    const std::optional<RotatedDrawing> drawing = prepareRotoZoom(
        image, angle, scale, x, y, srcX, srcY, srcWidth, srcHeight, centreX, centreY);
    if (!drawing) {
        return;
    }
    Image& target = getTarget();
    if (image.getUseAlphaChannel()) {
        rotateBlend32(target, image, drawing->source, drawing->setup, isSmooth(), alpha);
    } else if (alpha == kOpaque32) {
        rotateOpaque32(target, image, drawing->source, drawing->setup, isSmooth());
    } else {
        rotateAlpha32(target, image, drawing->source, drawing->setup, isSmooth(), alpha);
    }
}

void Graphics32::drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight,
                                    int x, int y, int width, int height) {
    const int alpha = getAlpha();
    if (alpha == 0 || !targetIs32() || !isArgbSource(image)) {
        return;
    }
    const std::optional<StretchedDrawing> drawing =
        prepareStretch(srcX, srcY, srcWidth, srcHeight, x, y, width, height);
    if (!drawing) {
        return;
    }
    const StretchedDrawing& d = *drawing;
    Image& target = getTarget();
    if (image.getUseAlphaChannel()) {
        stretchBlend32(target, image, d.source, d.destination, d.clip, isSmooth(), alpha);
    } else if (alpha == kOpaque32) {
        stretchOpaque32(target, image, d.source, d.destination, d.clip, isSmooth());
    } else {
        stretchAlpha32(target, image, d.source, d.destination, d.clip, isSmooth(), alpha);
    }
}

void Graphics32::copyImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) {
    if (getAlpha() == 0 || !targetIs32() || !isArgbSource(image) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    copyPixels32(getTarget(), image, srcX, srcY, srcWidth, srcHeight, x, y);
}

void Graphics32::writeChannelFromImage(Image& image, int channel, int x, int y, int srcX, int srcY,
                                       int srcWidth, int srcHeight, ChannelMode mode) {
    const bool fromPlane = isMaskSource32(image) || image.getFormat() == kFormatRgb565;
    if (getAlpha() == 0 || !targetIs32() || !(fromPlane || isArgbSource(image)) ||
        !clipImage(image, x, y, srcX, srcY, srcWidth, srcHeight)) {
        return;
    }
    const auto worker = fromPlane ? pickByMode(mode, copyChannelFromPlane32, minChannelFromPlane32,
                                               maxChannelFromPlane32)
                                  : pickByMode(mode, copyChannel32, minChannel32, maxChannel32);
    worker(getTarget(), image, srcX, srcY, srcWidth, srcHeight, x, y, channel);
}

} // namespace orv
