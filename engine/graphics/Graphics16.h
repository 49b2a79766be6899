#pragma once

#include "engine/graphics/Graphics.h"

#include <cstdint>

namespace orv {

/// The drawing interface for 16-bit targets: RGB565 words with the alpha
/// values in the image's separate alpha plane. Translates and clips each
/// call, chooses the pixel worker (PixelWorkers16.h) for the source's format,
/// the alpha and the blend mode, and hands it the clipped rectangle. Made by
/// `createGraphics`.
///
/// Sources: masks (format 1) and 16-bit images for `drawImage`; 16-bit
/// images for `copyImage`, `drawImageRotoZoom` and `drawImageStretched`;
/// for `copyChannel`, `minChannel` and `maxChannel` a 32-bit image (its
/// channel `channel` is read) or, on channel 0 only, the alpha plane of a
/// mask or 16-bit image. Other sources draw nothing. The channel operations
/// write the target's alpha plane; a target without one (the window's
/// surface image) keeps its pixels then. A surface image as source has no
/// per-pixel alpha.
///
/// Unlike `Graphics32`, `setChannelPixel` (and so `setChannelLine`) does not
/// consult the alpha: it writes at alpha 0 too.
class Graphics16 : public Graphics {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A context on `target`, which must be a 16-bit image (a reference is held).
    explicit Graphics16(Image& target);

    void plot(int x, int y) override;
    /// Channel 0 the alpha-plane byte, 1-3 the red, green or blue field
    /// (`pixel16::withField`); other channels nothing.
    void setChannelPixel(int channel, int value, int x, int y) override;
    /// Horizontal and vertical lines at alpha 255 are clipped as segments and
    /// written in one pass; others are walked point by point.
    void drawLine(int x1, int y1, int x2, int y2) override;
    using Graphics::drawLine;
    /// Both rounded end points inside the clip and alpha above 0: the
    /// anti-aliased walk of SmoothLine.h with blended 16-bit pixels.
    void drawLineSmooth(float x1, float y1, float x2, float y2) override;
    using Graphics::drawLineSmooth;
    void fillRect(int x, int y, int width, int height) override;
    using Graphics::fillRect;
    /// Channel 0 fills the alpha plane, 1-3 a field of the words.
    void setChannelRect(int channel, int value, int x, int y, int width, int height) override;
    using Graphics::setChannelRect;
    void drawImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                   int srcHeight) override;
    using Graphics::drawImage;
    /// Sources of format 2 only: opaque, constant-alpha or per-pixel-alpha
    /// rotation (PixelWorkers16.h).
    void drawImageRotoZoom(Image& image, double angle, double scale, int x, int y, int srcX,
                           int srcY, int srcWidth, int srcHeight, int centreX,
                           int centreY) override;
    /// Sources of format 2 only: opaque, constant-alpha or per-pixel-alpha
    /// stretch (PixelWorkers16.h).
    void drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight, int x,
                            int y, int width, int height) override;
    /// The words, then the alpha plane unless the source or the target is a
    /// surface image (which has none).
    void copyImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                   int srcHeight) override;
    using Graphics::copyImage;

    /// Stores the colour and its RGB565 form.
    void setColor(std::uint32_t color) override;
    /// The RGB565 form of the colour: the top 5, 6 and 5 bits of red, green
    /// and blue.
    [[nodiscard]] std::uint32_t getNativeColor() const override { return nativeColor_; }

private:
    // False when the target is no longer a 16-bit image (its format changed
    // under the context): nothing is drawn then.
    [[nodiscard]] bool targetIs16() const;

    void writeChannelFromImage(Image& image, int channel, int x, int y, int srcX, int srcY,
                               int srcWidth, int srcHeight, ChannelMode mode) override;

    std::uint16_t nativeColor_ = 0;
};

} // namespace orv
