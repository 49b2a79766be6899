#pragma once

#include "tools/media/Paint.h"

#include <cairo.h>
#include <functional>
#include <memory>

/// Anti-aliased shapes as coverage masks. Coordinates are pixels with (0, 0)
/// the top-left corner of the top-left pixel, so the pixel (x, y) spans
/// x..x+1 and its centre is x+0.5.
namespace orv::media {

/// A shape: its signed distance in pixels (negative inside, positive
/// outside) and the box that holds its inside.
struct Shape {
    std::function<double(double x, double y)> distance;
    double left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] double operator()(double x, double y) const { return distance(x, y); }
};

/// A rounded rectangle (radius 0 gives sharp corners).
[[nodiscard]] Shape roundRect(double x, double y, double w, double h, double radius);
/// An ellipse (the distance is exact for circles, close elsewhere).
[[nodiscard]] Shape ellipse(double cx, double cy, double rx, double ry);

/// The coverage of a `width` x `height` grid by the shape: `samples` x
/// `samples` points per pixel, so the edge is smooth at any scale. Use 4 for
/// ordinary edges and 8 where small details must hold.
[[nodiscard]] Field shapeMask(int width, int height, const Shape& shape, int samples = 4);

/// The coverage of whatever `draw` fills with cairo on a transparent
/// `width` x `height` surface (curves, stars, glyph-like marks). Anything
/// cairo fills or strokes counts, with cairo's own anti-aliasing.
[[nodiscard]] Field pathMask(int width, int height, const std::function<void(cairo_t*)>& draw);

/// Per-pixel minimum, maximum and difference of two masks of the same size.
[[nodiscard]] Field maskIntersection(const Field& a, const Field& b);
[[nodiscard]] Field maskUnion(const Field& a, const Field& b);
[[nodiscard]] Field maskMinus(const Field& a, const Field& b);

/// cairo drawing on a ColorImage: the picture is copied into a premultiplied
/// cairo surface on construction and copied back when the canvas ends. The
/// image must outlive the canvas; draw with cr() in between.
class CairoCanvas {
public:
    explicit CairoCanvas(ColorImage& image);
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;
    ~CairoCanvas();
    [[nodiscard]] cairo_t* cr() const { return context_.get(); }

private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextDeleter {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };
    ColorImage& image_;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> context_;
};

/// Sets cairo's source to a palette colour (0xRRGGBB) with the given alpha.
void setSource(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0);

} // namespace orv::media
