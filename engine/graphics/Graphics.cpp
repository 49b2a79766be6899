#include "engine/graphics/Graphics.h"

#include "engine/core/TextUtil.h"
#include "engine/graphics/DrawMath.h"
#include "engine/graphics/Graphics16.h"
#include "engine/graphics/Graphics32.h"
#include "engine/graphics/Polygon.h"
#include "engine/graphics/PolygonFiller.h"
#include "engine/graphics/TransformSetup.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <span>
#include <vector>

namespace orv {

constinit const ClassRecord Graphics::classRecord{"Graphics",
                                                  parentRecords<BaseObject::classRecord>};

namespace {

// Coordinates plus sizes may pass the range of int (a far-off translation, a
// huge size from data): edges are worked out in 64 bits and brought back.
int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Far-off and non-numeric points saturate instead of wrapping.
int roundToNearest(float value) {
    return draw_math::nearestInt(value);
}

// The part of the plane a line walk may draw into, in the line's own
// (untranslated) coordinates: right and bottom exclusive.
struct WalkArea {
    std::int64_t left;
    std::int64_t top;
    std::int64_t right;
    std::int64_t bottom;
};

// The drawable edges moved back by the translation.
WalkArea walkArea(int left, int top, int right, int bottom, int translateX, int translateY) {
    return WalkArea{std::int64_t{left} - translateX, std::int64_t{top} - translateY,
                    std::int64_t{right} - translateX, std::int64_t{bottom} - translateY};
}

// The stepped line from (x1, y1) to (x2, y2), both ends included: the major
// axis steps every point, the minor one whenever the error term is not
// negative. Equal deltas step along x.
//
// Only the steps whose major coordinate lies inside `area` are walked: the
// others would be clipped away point by point, and a line between far-off
// points would take billions of them. The walk starts at its first visible
// step with the minor coordinate and the error term that the full walk has
// there: after k steps the minor coordinate has moved n = floor((2mk + M) /
// 2M) times (M the major, m the minor delta), so every point drawn is the
// one the full walk draws.
template <class Plot>
void walkLine(int x1, int y1, int x2, int y2, const WalkArea& area, Plot plot) {
    const std::int64_t dx = std::llabs(std::int64_t{x2} - x1);
    const std::int64_t dy = std::llabs(std::int64_t{y2} - y1);
    const bool xMajor = dy <= dx;
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    const std::int64_t majorStep = (xMajor ? x2 >= x1 : y2 >= y1) ? 1 : -1;
    const std::int64_t minorStep = (xMajor ? y2 >= y1 : x2 >= x1) ? 1 : -1;
    const std::int64_t majorStart = xMajor ? x1 : y1;
    const std::int64_t minorStart = xMajor ? y1 : x1;
    const std::int64_t low = xMajor ? area.left : area.top;
    const std::int64_t high = (xMajor ? area.right : area.bottom) - 1;
    std::int64_t first = majorStep > 0 ? low - majorStart : majorStart - high;
    std::int64_t last = majorStep > 0 ? high - majorStart : majorStart - low;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, major - 1);
    if (first <= last) {
        // n and the error term at step `first`, without products beyond 64
        // bits: m k < 2^64 as both are below 2^32.
        const auto product = static_cast<std::uint64_t>(minor) * static_cast<std::uint64_t>(first);
        const auto m = static_cast<std::uint64_t>(major);
        const std::uint64_t rest = 2 * (product % m) + m;
        const auto steps = static_cast<std::int64_t>(product / m + rest / (2 * m));
        std::int64_t error = static_cast<std::int64_t>(rest % (2 * m)) + 2 * minor - 2 * major;
        std::int64_t a = majorStart + majorStep * first;
        std::int64_t b = minorStart + minorStep * steps;
        for (std::int64_t k = first; k <= last; ++k) {
            if (xMajor) {
                plot(static_cast<int>(a), static_cast<int>(b));
            } else {
                plot(static_cast<int>(b), static_cast<int>(a));
            }
            if (error >= 0) {
                b += minorStep;
                error -= 2 * major;
            }
            error += 2 * minor;
            a += majorStep;
        }
    }
    plot(x2, y2);
}

// One axis of the image clipping: destination `pos`, source `src` and `size`,
// against an image extent and the drawable range [low, high). False when
// nothing is left.
bool clipAxis(std::int64_t& pos, std::int64_t& src, std::int64_t& size, std::int64_t imageSize,
              std::int64_t low, std::int64_t high) {
    if (src + size > imageSize) {
        size = imageSize - src;
    }
    if (src < 0) {
        pos -= src;
        size += src;
        src = 0;
    }
    const std::int64_t first = std::max(pos, low);
    const std::int64_t last = std::min(high, pos + size);
    if (first >= last) {
        return false;
    }
    src += first - pos;
    if (src >= imageSize) {
        return false;
    }
    pos = first;
    size = last - first;
    return true;
}

} // namespace

Graphics::Graphics(Image& target) : target_(&target) {
    resetClip();
}

Graphics::~Graphics() = default;

void Graphics::drawLine(int x1, int y1, int x2, int y2) {
    const Bounds b = getBounds();
    walkLine(x1, y1, x2, y2, walkArea(b.left, b.top, b.right, b.bottom, translateX_, translateY_),
             [this](int x, int y) { plot(x, y); });
}

void Graphics::drawLine(PointF a, PointF b) {
    drawLine(roundToNearest(a.x), roundToNearest(a.y), roundToNearest(b.x), roundToNearest(b.y));
}

void Graphics::setChannelLine(int channel, int value, int x1, int y1, int x2, int y2) {
    const Bounds b = getBounds();
    walkLine(x1, y1, x2, y2, walkArea(b.left, b.top, b.right, b.bottom, translateX_, translateY_),
             [this, channel, value](int x, int y) { setChannelPixel(channel, value, x, y); });
}

void Graphics::setChannelLine(int channel, int value, PointF a, PointF b) {
    setChannelLine(channel, value, roundToNearest(a.x), roundToNearest(a.y), roundToNearest(b.x),
                   roundToNearest(b.y));
}

void Graphics::drawPolyline(const Polygon& polygon, bool smooth) {
    const std::span<const PointF> points = polygon.getPoints();
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const PointF a = points[i];
        const PointF b = points[i + 1];
        const bool slanted = a.x != b.x && a.y != b.y;
        const bool single = a.x == b.x && a.y == b.y;
        if (smooth && (slanted || single)) {
            drawLineSmooth(a, b);
        } else {
            drawLine(a, b);
        }
    }
}

namespace {

// The polygon's points moved by the translation: the coverage is worked out
// in target pixels, so a translated polygon is covered wherever it lands.
std::vector<PointF> translatedPoints(const Polygon& polygon, int dx, int dy) {
    std::vector<PointF> points(polygon.getPoints().begin(), polygon.getPoints().end());
    for (PointF& point : points) {
        point.x += static_cast<float>(dx);
        point.y += static_cast<float>(dy);
    }
    return points;
}

} // namespace

void Graphics::fillPolygon(const Polygon& polygon, bool smooth) {
    if (alpha_ == 0) {
        return;
    }
    PolygonFiller filler(target_->getWidth(), target_->getHeight());
    filler.scan(translatedPoints(polygon, translateX_, translateY_), smooth);
    filler.composite(*this);
}

void Graphics::setChannelPolygon(int channel, int value, const Polygon& polygon, bool smooth) {
    PolygonFiller filler(target_->getWidth(), target_->getHeight());
    filler.scan(translatedPoints(polygon, translateX_, translateY_), smooth);
    filler.compositeChannel(*this, channel, value);
}

void Graphics::drawText(std::string_view text, int x, int y, const LayerColors& colors) {
    // The line keeps (x, y): the font draws through this context, whose
    // image drawing adds the translation once.
    const std::vector<TextLine> lines{TextLine{stringToWide(text), 0, x, y}};
    drawTextRun(lines, colors);
}

void Graphics::drawText(std::string_view text, int x, int y) {
    drawText(text, x, y, LayerColors{color_});
}

void Graphics::drawTextRun(const std::vector<TextLine>& lines, const LayerColors& colors) {
    if (font_) {
        font_->drawLines(*this, lines, colors);
    }
}

void Graphics::drawRect(int x, int y, int width, int height) {
    const int right = clampToInt(std::int64_t{x} + width - 1);
    const int bottom = clampToInt(std::int64_t{y} + height - 1);
    const int sideTop = clampToInt(std::int64_t{y} + 1);
    const int sideBottom = clampToInt(std::int64_t{y} + height - 2);
    drawLine(x, y, right, y);
    drawLine(x, bottom, right, bottom);
    drawLine(x, sideTop, x, sideBottom);
    drawLine(right, sideTop, right, sideBottom);
}

void Graphics::clear() {
    fillRect(0, 0, target_->getWidth(), target_->getHeight());
}

void Graphics::setChannel(int channel, int value, int x, int y) {
    setChannelRect(channel, value, x, y, target_->getWidth(), target_->getHeight());
}

void Graphics::drawImage(Image& image, int x, int y, const Rect& source) {
    drawImage(image, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::drawImage(Image& image, int x, int y) {
    drawImage(image, x, y, 0, 0, image.getWidth(), image.getHeight());
}

void Graphics::copyImage(Image& image, int x, int y, const Rect& source) {
    copyImage(image, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::copyImage(Image& image, int x, int y) {
    copyImage(image, x, y, 0, 0, image.getWidth(), image.getHeight());
}

void Graphics::copyChannel(Image& image, int channel, int x, int y, int srcX, int srcY,
                           int srcWidth, int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Copy);
}

void Graphics::minChannel(Image& image, int channel, int x, int y, int srcX, int srcY, int srcWidth,
                          int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Min);
}

void Graphics::maxChannel(Image& image, int channel, int x, int y, int srcX, int srcY, int srcWidth,
                          int srcHeight) {
    writeChannelFromImage(image, channel, x, y, srcX, srcY, srcWidth, srcHeight, ChannelMode::Max);
}

void Graphics::copyChannel(Image& image, int channel, int x, int y, const Rect& source) {
    copyChannel(image, channel, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::copyChannel(Image& image, int channel, int x, int y) {
    copyChannel(image, channel, x, y, 0, 0, image.getWidth(), image.getHeight());
}

void Graphics::minChannel(Image& image, int channel, int x, int y, const Rect& source) {
    minChannel(image, channel, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::minChannel(Image& image, int channel, int x, int y) {
    minChannel(image, channel, x, y, 0, 0, image.getWidth(), image.getHeight());
}

void Graphics::maxChannel(Image& image, int channel, int x, int y, const Rect& source) {
    maxChannel(image, channel, x, y, source.x, source.y, source.width, source.height);
}

void Graphics::maxChannel(Image& image, int channel, int x, int y) {
    maxChannel(image, channel, x, y, 0, 0, image.getWidth(), image.getHeight());
}

void Graphics::setAlpha(int alpha) {
    alpha_ = std::clamp(alpha, 0, 255);
}

void Graphics::resetClip() {
    clip_ = Rect{0, 0, target_->getWidth(), target_->getHeight()};
}

void Graphics::setClip(const Rect& rect) {
    resetClip();
    intersectClip(rect);
}

void Graphics::intersectClip(const Rect& rect) {
    const std::int64_t left = std::max(clip_.x, rect.x);
    const std::int64_t top = std::max(clip_.y, rect.y);
    const std::int64_t right =
        std::min(std::int64_t{clip_.x} + clip_.width, std::int64_t{rect.x} + rect.width);
    const std::int64_t bottom =
        std::min(std::int64_t{clip_.y} + clip_.height, std::int64_t{rect.y} + rect.height);
    clip_ =
        Rect{clampToInt(left), clampToInt(top), clampToInt(right - left), clampToInt(bottom - top)};
}

Graphics::Bounds Graphics::getBounds() const {
    return Bounds{std::max(clip_.x, 0), std::max(clip_.y, 0),
                  clampToInt(std::min<std::int64_t>(std::int64_t{clip_.x} + clip_.width,
                                                    target_->getWidth())),
                  clampToInt(std::min<std::int64_t>(std::int64_t{clip_.y} + clip_.height,
                                                    target_->getHeight()))};
}

Rect Graphics::getBoundsRect() const {
    const Bounds bounds = getBounds();
    return Rect{bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::optional<Graphics::PixelPoint> Graphics::placePoint(int x, int y) const {
    const std::int64_t tx = std::int64_t{x} + translateX_;
    const std::int64_t ty = std::int64_t{y} + translateY_;
    if (!getBounds().contains(tx, ty)) {
        return std::nullopt;
    }
    return PixelPoint{static_cast<int>(tx), static_cast<int>(ty)};
}

std::optional<Graphics::StraightLine> Graphics::clipStraightLine(int x1, int y1, int x2,
                                                                 int y2) const {
    const Bounds bounds = getBounds();
    if (bounds.isEmpty()) {
        return std::nullopt;
    }
    // Far-off coordinates are limited to just outside the drawable area, which
    // clips them the same way without overflowing.
    const auto place = [](int value, int offset) {
        return static_cast<int>(
            std::clamp<std::int64_t>(std::int64_t{value} + offset, -1, std::int64_t{1} << 30));
    };
    x1 = place(x1, translateX_);
    x2 = place(x2, translateX_);
    y1 = place(y1, translateY_);
    y2 = place(y2, translateY_);
    // Clip the segment along its own axis; the other axis must lie inside.
    const bool horizontal = y1 == y2;
    const int fixed = horizontal ? y1 : x1;
    const int fixedLow = horizontal ? bounds.top : bounds.left;
    const int fixedHigh = horizontal ? bounds.bottom : bounds.right;
    if (fixed < fixedLow || fixed >= fixedHigh) {
        return std::nullopt;
    }
    int from = horizontal ? std::min(x1, x2) : std::min(y1, y2);
    int to = horizontal ? std::max(x1, x2) : std::max(y1, y2);
    const int low = horizontal ? bounds.left : bounds.top;
    const int high = (horizontal ? bounds.right : bounds.bottom) - 1;
    if (to < low || from > high) {
        return std::nullopt;
    }
    from = std::max(from, low);
    to = std::min(to, high);
    if (horizontal) {
        return StraightLine{from, fixed, to, fixed};
    }
    return StraightLine{fixed, from, fixed, to};
}

std::optional<Graphics::SmoothLineEnds> Graphics::placeSmoothLine(float x1, float y1, float x2,
                                                                  float y2) const {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        return std::nullopt;
    }
    const auto dx = static_cast<float>(translateX_);
    const auto dy = static_cast<float>(translateY_);
    const SmoothLineEnds ends{x1 + dx, y1 + dy, x2 + dx, y2 + dy};
    const Bounds bounds = getBounds();
    const auto inside = [&bounds](float x, float y) {
        return bounds.contains(draw_math::nearestInt(x), draw_math::nearestInt(y));
    };
    if (!inside(ends.x1, ends.y1) || !inside(ends.x2, ends.y2)) {
        return std::nullopt;
    }
    return ends;
}

std::optional<RotatedDrawing> Graphics::prepareRotoZoom(const Image& image, double angle,
                                                        double scale, int x, int y, int srcX,
                                                        int srcY, int srcWidth, int srcHeight,
                                                        int centreX, int centreY) const {
    if (!std::isfinite(angle) || !std::isfinite(scale) || std::fabs(scale) <= 0.0001) {
        return std::nullopt;
    }
    // Keep the source rectangle inside the image; cutting its left or top
    // moves its origin, so the position and the centre move with it and the
    // picture stays where it was.
    std::int64_t left = srcX;
    std::int64_t top = srcY;
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{srcX} + srcWidth, image.getWidth());
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{srcY} + srcHeight, image.getHeight());
    std::int64_t posX = std::int64_t{x} + translateX_;
    std::int64_t posY = std::int64_t{y} + translateY_;
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
        return std::nullopt;
    }
    const SourceRect source{static_cast<int>(left), static_cast<int>(top),
                            static_cast<int>(right - left), static_cast<int>(bottom - top)};
    return RotatedDrawing{source,
                          prepareRotation(posX, posY, draw_math::clampToInt(cx),
                                          draw_math::clampToInt(cy), source.width, source.height,
                                          angle, scale, smooth_, getBoundsRect())};
}

std::optional<StretchedDrawing> Graphics::prepareStretch(int srcX, int srcY, int srcWidth,
                                                         int srcHeight, int x, int y, int width,
                                                         int height) const {
    if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) {
        return std::nullopt;
    }
    const StretchTarget destination{std::int64_t{x} + translateX_, std::int64_t{y} + translateY_,
                                    width, height};
    if (destination.x + destination.width < 0 || destination.y + destination.height < 0) {
        return std::nullopt;
    }
    return StretchedDrawing{SourceRect{srcX, srcY, srcWidth, srcHeight}, destination,
                            getBoundsRect()};
}

std::optional<Rect> Graphics::clipRect(int x, int y, int width, int height) const {
    const Bounds bounds = getBounds();
    const std::int64_t left = std::max<std::int64_t>(std::int64_t{x} + translateX_, bounds.left);
    const std::int64_t top = std::max<std::int64_t>(std::int64_t{y} + translateY_, bounds.top);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{x} + translateX_ + width, bounds.right);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{y} + translateY_ + height, bounds.bottom);
    if (left >= right || top >= bottom) {
        return std::nullopt;
    }
    return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                static_cast<int>(bottom - top)};
}

bool Graphics::clipImage(const Image& image, int& x, int& y, int& srcX, int& srcY, int& srcWidth,
                         int& srcHeight) const {
    std::int64_t posX = std::int64_t{x} + translateX_;
    std::int64_t posY = std::int64_t{y} + translateY_;
    if (posX >= target_->getWidth() || posY >= target_->getHeight()) {
        return false;
    }
    const Bounds bounds = getBounds();
    std::int64_t sourceX = srcX;
    std::int64_t sourceY = srcY;
    std::int64_t width = srcWidth;
    std::int64_t height = srcHeight;
    if (!clipAxis(posX, sourceX, width, image.getWidth(), bounds.left, bounds.right) ||
        !clipAxis(posY, sourceY, height, image.getHeight(), bounds.top, bounds.bottom)) {
        return false;
    }
    x = static_cast<int>(posX);
    y = static_cast<int>(posY);
    srcX = static_cast<int>(sourceX);
    srcY = static_cast<int>(sourceY);
    srcWidth = static_cast<int>(width);
    srcHeight = static_cast<int>(height);
    return true;
}

RefPtr<Graphics> createGraphics(Image& image) {
    if (image.getFormat() == kFormatArgb32) {
        return RefPtr<Graphics>(new Graphics32(image));
    }
    if (image.getFormat() == kFormatRgb565) {
        return RefPtr<Graphics>(new Graphics16(image));
    }
    return nullptr;
}

} // namespace orv
