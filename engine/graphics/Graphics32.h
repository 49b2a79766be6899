#pragma once

#include "engine/graphics/Graphics.h"

namespace orv {

/// The drawing interface for 32-bit (0xAARRGGBB) targets: translates and
/// clips each call, chooses the pixel worker (PixelWorkers32.h) for the
/// source's format, the alpha and the blend mode, and hands it the clipped
/// rectangle. Sources must be masks (format 1) or 32-bit images for
/// `drawImage` and `copyImage`; `copyChannel`, `minChannel` and `maxChannel`
/// also read the alpha plane of 16-bit images. Other sources draw nothing.
/// Made by `createGraphics`.
class Graphics32 : public Graphics {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A context on `target`, which must be a 32-bit image (a reference is held).
    explicit Graphics32(Image& target);

    void plot(int x, int y) override;
    void setChannelPixel(int channel, int value, int x, int y) override;
    /// Horizontal and vertical lines at alpha 255 are clipped as segments and
    /// written in one pass; others are walked point by point.
    void drawLine(int x1, int y1, int x2, int y2) override;
    using Graphics::drawLine;
    /// Both rounded end points inside the clip and alpha above 0: the
    /// anti-aliased walk of SmoothLine.h with blended pixels.
    void drawLineSmooth(float x1, float y1, float x2, float y2) override;
    using Graphics::drawLineSmooth;
    void fillRect(int x, int y, int width, int height) override;
    using Graphics::fillRect;
    void setChannelRect(int channel, int value, int x, int y, int width, int height) override;
    using Graphics::setChannelRect;
    void drawImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                   int srcHeight) override;
    using Graphics::drawImage;
    /// Sources of format 4 only: opaque, constant-alpha or per-pixel-alpha
    /// rotation (TransformWorkers32.h).
    void drawImageRotoZoom(Image& image, double angle, double scale, int x, int y, int srcX,
                           int srcY, int srcWidth, int srcHeight, int centreX,
                           int centreY) override;
    /// Sources of format 4 only: opaque, constant-alpha or per-pixel-alpha
    /// stretch (TransformWorkers32.h).
    void drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight, int x,
                            int y, int width, int height) override;
    void copyImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                   int srcHeight) override;
    using Graphics::copyImage;

    /// The colour as stored.
    [[nodiscard]] std::uint32_t getNativeColor() const override { return getColor(); }

private:
    // False when the target is no longer a 32-bit image (its format changed
    // under the context): nothing is drawn then.
    [[nodiscard]] bool targetIs32() const;

    void writeChannelFromImage(Image& image, int channel, int x, int y, int srcX, int srcY,
                               int srcWidth, int srcHeight, ChannelMode mode) override;
};

} // namespace orv
