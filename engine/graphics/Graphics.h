#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/TextLine.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orv {

class Polygon;
struct RotatedDrawing;
struct StretchedDrawing;

/// A rectangle in pixels: origin and size, y downwards.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

/// A point with sub-pixel coordinates, y downwards.
struct PointF {
    float x = 0.0F;
    float y = 0.0F;
};

/// How images with per-pixel alpha are drawn. Values other than these two
/// (they come from data) draw such images not at all.
enum class BlendMode : std::int32_t { BlendNormal = 0, BlendAdditive = 1 };

/// The drawing interface of one target image: the state (colour, alpha,
/// smoothing flag, blend mode, translation, clip rectangle) and the drawing
/// operations that use it. `Graphics32` implements it for 32-bit targets and
/// `Graphics16` for 16-bit ones; an image's context comes from
/// `createGraphics`.
///
/// Coordinates are pixels of the target, y downwards. Every destination
/// coordinate handed to an operation is first moved by the translation; the
/// clip rectangle is in target pixels and is not translated. A pixel is drawn
/// only inside both the clip rectangle and the target. An alpha of 0 draws
/// nothing in every colour, image and line operation (`setChannelRect` and
/// `setChannel` ignore alpha). The state persists between frames: callers
/// that change it put back what they changed.
///
///     RefPtr<Graphics> g = createGraphics(*backBuffer);
///     g->setColor(0xFF204080);
///     g->setTranslation(100, 50);
///     g->setClip(Rect{0, 0, 400, 300});
///     g->fillRect(0, 0, 16, 16);      // lands at (100, 50)
///     g->drawImage(*tile, 20, 0);     // per-pixel alpha, BlendNormal
class Graphics : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    ~Graphics() override;

    // --- pixels and lines -------------------------------------------------

    /// One pixel in the current colour and alpha.
    virtual void plot(int x, int y) = 0;
    /// Writes the low byte of `value` into channel `channel` (0 alpha, 1 red,
    /// 2 green, 3 blue) of one pixel.
    virtual void setChannelPixel(int channel, int value, int x, int y) = 0;
    /// A line with both end points, point by point through `plot` (each point
    /// translated and clipped). Formats may draw straight lines faster.
    virtual void drawLine(int x1, int y1, int x2, int y2);
    /// `drawLine` with the points rounded to the nearest pixel (ties to even).
    void drawLine(PointF a, PointF b);
    /// The walk of `drawLine` writing one channel through `setChannelPixel`.
    void setChannelLine(int channel, int value, int x1, int y1, int x2, int y2);
    void setChannelLine(int channel, int value, PointF a, PointF b);
    /// An anti-aliased line between sub-pixel end points, in the current
    /// colour; the pixels along it are blended by their coverage (the alpha
    /// only decides that an alpha of 0 draws nothing). Drawn only when both
    /// end points, rounded to the nearest pixel, lie inside the clip; the
    /// target's row 0 and column 0 are never written.
    virtual void drawLineSmooth(float x1, float y1, float x2, float y2) = 0;
    void drawLineSmooth(PointF a, PointF b) { drawLineSmooth(a.x, a.y, b.x, b.y); }
    /// The path through the points of `polygon` (not closed back to the
    /// first): with `smooth`, slanted segments and single points by
    /// `drawLineSmooth`, the others by `drawLine` with rounded points.
    void drawPolyline(const Polygon& polygon, bool smooth);

    // --- rectangles -------------------------------------------------------

    /// The outline by four `drawLine` calls: top, bottom, then the sides from
    /// y + 1 to y + height - 2.
    void drawRect(int x, int y, int width, int height);
    void drawRect(const Rect& rect) { drawRect(rect.x, rect.y, rect.width, rect.height); }
    /// `fillRect(0, 0, target width, target height)` (translated like any fill).
    void clear();
    /// A filled rectangle in the current colour and alpha.
    virtual void fillRect(int x, int y, int width, int height) = 0;
    void fillRect(const Rect& rect) { fillRect(rect.x, rect.y, rect.width, rect.height); }
    /// Writes `value` into one channel over a rectangle, whatever the alpha.
    virtual void setChannelRect(int channel, int value, int x, int y, int width, int height) = 0;
    void setChannelRect(int channel, int value, const Rect& rect) {
        setChannelRect(channel, value, rect.x, rect.y, rect.width, rect.height);
    }
    /// `setChannelRect` from (x, y) with the target's width and height.
    void setChannel(int channel, int value, int x, int y);

    // --- polygons ---------------------------------------------------------

    /// Fills `polygon` (edge i from point i to i + 1, the last edge back to
    /// point 0; even-odd rule) in the current colour and alpha: the pixels
    /// whose centres lie inside, and with `smooth` partial coverage at the
    /// ends of every span (see PolygonFiller.h). Every pixel goes through
    /// `plot`, so translation and clip apply; a polygon without points or
    /// with a non-finite coordinate draws nothing.
    void fillPolygon(const Polygon& polygon, bool smooth);
    /// The same fill writing `value` into one channel through
    /// `setChannelPixel` (partly covered pixels get value * coverage >> 8).
    void setChannelPolygon(int channel, int value, const Polygon& polygon, bool smooth);

    // --- images -----------------------------------------------------------
    // Each draws the part (srcX, srcY, srcWidth, srcHeight) of `image` with its
    // top-left corner at (x, y); the forms without a source rectangle draw the
    // whole image. `image` is borrowed for the call.

    /// Drawn with the alpha, the blend mode and, for masks, the colour.
    virtual void drawImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) = 0;
    void drawImage(Image& image, int x, int y, const Rect& source);
    void drawImage(Image& image, int x, int y);
    /// The pixels copied unchanged (no blending, no blend mode).
    virtual void copyImage(Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight) = 0;
    void copyImage(Image& image, int x, int y, const Rect& source);
    void copyImage(Image& image, int x, int y);
    /// The image's values written into one channel of the target.
    void copyChannel(Image& image, int channel, int x, int y, int srcX, int srcY, int srcWidth,
                     int srcHeight);
    void copyChannel(Image& image, int channel, int x, int y, const Rect& source);
    void copyChannel(Image& image, int channel, int x, int y);
    /// Like `copyChannel`, a target value being replaced only by a smaller one.
    void minChannel(Image& image, int channel, int x, int y, int srcX, int srcY, int srcWidth,
                    int srcHeight);
    void minChannel(Image& image, int channel, int x, int y, const Rect& source);
    void minChannel(Image& image, int channel, int x, int y);
    /// Like `copyChannel`, a target value being replaced only by a larger one.
    void maxChannel(Image& image, int channel, int x, int y, int srcX, int srcY, int srcWidth,
                    int srcHeight);
    void maxChannel(Image& image, int channel, int x, int y, const Rect& source);
    void maxChannel(Image& image, int channel, int x, int y);

    /// The part of `image` drawn rotated by `angle` (radians; positive turns
    /// clockwise on the screen) and scaled by `scale` about (centreX,
    /// centreY), a point relative to the source rectangle's origin that
    /// stays where it stands unrotated, with the unrotated rectangle's
    /// top-left corner at (x, y). Alpha and the smoothing flag apply (a
    /// per-pixel-alpha image blends normally in any blend mode). Nothing is
    /// drawn for |scale| <= 0.0001, a non-finite angle or scale, or an empty
    /// source rectangle; the parts of the rectangle outside the image are
    /// left out.
    virtual void drawImageRotoZoom(Image& image, double angle, double scale, int x, int y, int srcX,
                                   int srcY, int srcWidth, int srcHeight, int centreX,
                                   int centreY) = 0;
    /// The part of `image` stretched onto the rectangle (x, y, width,
    /// height), with alpha and the smoothing flag. Nothing is drawn for an
    /// empty source or destination; source pixels outside the image are not
    /// drawn.
    virtual void drawImageStretched(Image& image, int srcX, int srcY, int srcWidth, int srcHeight,
                                    int x, int y, int width, int height) = 0;

    // --- text -------------------------------------------------------------

    /// `text` (UTF-8) as one line, unbroken, with its top-left corner at
    /// (x, y), in the current font; layer k in `colors[k]` where given, else
    /// in the layer's own colour. Nothing without a font.
    void drawText(std::string_view text, int x, int y, const LayerColors& colors);
    /// `drawText` with the current colour for the first layer.
    void drawText(std::string_view text, int x, int y);
    /// Hands prepared lines (positions already in target pixels) to the
    /// current font. Nothing without a font.
    void drawTextRun(const std::vector<TextLine>& lines, const LayerColors& colors);
    /// The current font for text; a reference is held (null: none).
    void setFont(Font* font) { font_ = RefPtr<Font>(font); }
    /// Borrowed from this context; null when there is none.
    [[nodiscard]] Font* getFont() const { return font_.get(); }

    // --- state ------------------------------------------------------------

    /// The current colour, 0xAARRGGBB (drawing uses its R, G, B).
    virtual void setColor(std::uint32_t color) { color_ = color; }
    [[nodiscard]] std::uint32_t getColor() const { return color_; }
    /// The colour in the target's own pixel form.
    [[nodiscard]] virtual std::uint32_t getNativeColor() const = 0;
    /// Global opacity, clamped to 0..255 (below 1 gives 0).
    void setAlpha(int alpha);
    [[nodiscard]] int getAlpha() const { return alpha_; }
    void setSmooth(bool smooth) { smooth_ = smooth; }
    [[nodiscard]] bool isSmooth() const { return smooth_; }
    void setBlendMode(BlendMode mode) { blendMode_ = mode; }
    [[nodiscard]] BlendMode getBlendMode() const { return blendMode_; }

    void setTranslateX(int x) { translateX_ = x; }
    [[nodiscard]] int getTranslateX() const { return translateX_; }
    void setTranslateY(int y) { translateY_ = y; }
    [[nodiscard]] int getTranslateY() const { return translateY_; }
    void setTranslation(int x, int y) {
        translateX_ = x;
        translateY_ = y;
    }
    void translateX(int dx) { translateX_ += dx; }
    void translateY(int dy) { translateY_ += dy; }
    void translate(int dx, int dy) {
        translateX_ += dx;
        translateY_ += dy;
    }

    /// Clip = the whole target.
    void resetClip();
    /// `resetClip`, then `intersectClip`.
    void setClip(const Rect& rect);
    void setClip(int x, int y, int width, int height) { setClip(Rect{x, y, width, height}); }
    /// Clip = clip ∩ rect: per axis the larger origin, and as size the smaller
    /// far edge minus that origin. A size of 0 or below leaves an empty clip,
    /// in which nothing is drawn.
    void intersectClip(const Rect& rect);
    void intersectClip(int x, int y, int width, int height) {
        intersectClip(Rect{x, y, width, height});
    }
    /// In target pixels (not translated).
    [[nodiscard]] const Rect& getClip() const { return clip_; }

    /// The image drawn into; borrowed from this context, which holds it.
    [[nodiscard]] Image& getTarget() const { return *target_; }

protected:
    /// Holds a reference to `target`; the clip is the whole target.
    explicit Graphics(Image& target);

    /// The drawable area: the clip rectangle within the target, as left, top,
    /// right and bottom edges (right and bottom exclusive). Empty when
    /// left >= right or top >= bottom.
    struct Bounds {
        int left;
        int top;
        int right;
        int bottom;
        [[nodiscard]] bool isEmpty() const { return left >= right || top >= bottom; }
        [[nodiscard]] bool contains(std::int64_t x, std::int64_t y) const {
            return x >= left && x < right && y >= top && y < bottom;
        }
    };
    [[nodiscard]] Bounds getBounds() const;

    /// The rectangle (x, y, width, height), translated and clipped to the
    /// bounds, in target pixels; nullopt when nothing of it is left. Computed
    /// in 64 bits, so huge values cannot overflow.
    [[nodiscard]] std::optional<Rect> clipRect(int x, int y, int width, int height) const;

    /// Translates the destination and clips it with the source rectangle of
    /// `image` against the clip and the target, per axis. False when nothing
    /// is left to draw; otherwise the arguments hold the clipped destination
    /// origin and source rectangle.
    [[nodiscard]] bool clipImage(const Image& image, int& x, int& y, int& srcX, int& srcY,
                                 int& srcWidth, int& srcHeight) const;

    /// The bounds as a rectangle (origin and size), the clip the computed
    /// drawing helpers take.
    [[nodiscard]] Rect getBoundsRect() const;

    /// A point in target pixels.
    struct PixelPoint {
        int x;
        int y;
    };
    /// (x, y) translated; nullopt when it lies outside the bounds.
    [[nodiscard]] std::optional<PixelPoint> placePoint(int x, int y) const;

    /// The end points of a straight line in target pixels, the first not
    /// after the second.
    struct StraightLine {
        int x1;
        int y1;
        int x2;
        int y2;
    };
    /// A horizontal or vertical line (x1 == x2 or y1 == y2) translated and
    /// clipped along its own axis to the bounds; nullopt when nothing of it is
    /// left. Far-off coordinates cannot overflow.
    [[nodiscard]] std::optional<StraightLine> clipStraightLine(int x1, int y1, int x2,
                                                               int y2) const;

    /// The end points of an anti-aliased line in target pixels.
    struct SmoothLineEnds {
        float x1;
        float y1;
        float x2;
        float y2;
    };
    /// The end points translated; nullopt when one is not finite or, rounded
    /// to the nearest pixel, lies outside the bounds (such lines are not
    /// drawn, which also keeps the walk as short as the clip is wide).
    [[nodiscard]] std::optional<SmoothLineEnds> placeSmoothLine(float x1, float y1, float x2,
                                                                float y2) const;

    /// The geometry of `drawImageRotoZoom` (arguments as there) for `image`:
    /// the source rectangle cut to the image and the walk of
    /// `prepareRotation` over the bounds. Nullopt when nothing is drawn (a
    /// scale too small or not finite, a non-finite angle, an empty source).
    [[nodiscard]] std::optional<RotatedDrawing>
    prepareRotoZoom(const Image& image, double angle, double scale, int x, int y, int srcX,
                    int srcY, int srcWidth, int srcHeight, int centreX, int centreY) const;

    /// The geometry of `drawImageStretched` (arguments as there): the source
    /// rectangle, the translated destination and the bounds. Nullopt when
    /// nothing is drawn (an empty source or destination, or one that ends
    /// before the target's origin).
    [[nodiscard]] std::optional<StretchedDrawing> prepareStretch(int srcX, int srcY, int srcWidth,
                                                                 int srcHeight, int x, int y,
                                                                 int width, int height) const;

    /// Which comparison the channel-from-image operations make.
    enum class ChannelMode { Copy, Min, Max };
    /// What `copyChannel`, `minChannel` and `maxChannel` do in the target's
    /// format, `mode` naming which.
    virtual void writeChannelFromImage(Image& image, int channel, int x, int y, int srcX, int srcY,
                                       int srcWidth, int srcHeight, ChannelMode mode) = 0;
    /// The worker among three for `mode`.
    template <class Worker>
    [[nodiscard]] static Worker pickByMode(ChannelMode mode, Worker copy, Worker min, Worker max) {
        switch (mode) {
        case ChannelMode::Min:
            return min;
        case ChannelMode::Max:
            return max;
        case ChannelMode::Copy:
            break;
        }
        return copy;
    }

private:
    std::uint32_t color_ = 0;
    int alpha_ = 255;
    Rect clip_;
    int translateX_ = 0;
    int translateY_ = 0;
    RefPtr<Font> font_;
    RefPtr<Image> target_;
    bool smooth_ = false;
    BlendMode blendMode_ = BlendMode::BlendNormal;
};

/// A new drawing context on `image` of the kind its pixel format needs: a
/// `Graphics32` for format 4, a `Graphics16` for format 2; null for other
/// formats. The caller holds the only reference; the context holds one on the
/// image.
[[nodiscard]] RefPtr<Graphics> createGraphics(Image& image);

} // namespace orv
