#include "tools/media/Shapes.h"

#include <algorithm>
#include <cmath>

namespace orv::media {

Shape roundRect(double x, double y, double w, double h, double radius) {
    radius = std::clamp(radius, 0.0, std::min(w, h) / 2);
    const double cx = x + w / 2;
    const double cy = y + h / 2;
    const double hx = w / 2 - radius;
    const double hy = h / 2 - radius;
    return {[=](double px, double py) {
                const double qx = std::abs(px - cx) - hx;
                const double qy = std::abs(py - cy) - hy;
                const double ox = std::max(qx, 0.0);
                const double oy = std::max(qy, 0.0);
                return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
            },
            x, y, x + w, y + h};
}

Shape ellipse(double cx, double cy, double rx, double ry) {
    const auto distance = [=](double px, double py) {
        const double dx = (px - cx) / rx;
        const double dy = (py - cy) / ry;
        const double k = std::sqrt(dx * dx + dy * dy);
        // The radial distance scaled by the radius along that direction.
        if (k <= 0.0) {
            return -std::min(rx, ry);
        }
        const double along = std::sqrt((dx * rx) * (dx * rx) + (dy * ry) * (dy * ry)) / k;
        return (k - 1.0) * along;
    };
    return {distance, cx - rx, cy - ry, cx + rx, cy + ry};
}

Field shapeMask(int width, int height, const Shape& shape, int samples) {
    samples = std::max(1, samples);
    Field mask(width, height);
    const float weight = 1.0F / static_cast<float>(samples * samples);
    // Only the pixels that the shape's box touches can be covered.
    const int x0 = std::max(0, static_cast<int>(std::floor(shape.left)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(shape.top)) - 1);
    const int x1 = std::min(width, static_cast<int>(std::ceil(shape.right)) + 1);
    const int y1 = std::min(height, static_cast<int>(std::ceil(shape.bottom)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            // Far from the edge one look decides the whole pixel.
            const double centre = shape(x + 0.5, y + 0.5);
            if (centre > 1.0) {
                continue;
            }
            if (centre < -1.0) {
                mask(x, y) = 1.0F;
                continue;
            }
            float covered = 0.0F;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    if (shape(x + (i + 0.5) / samples, y + (j + 0.5) / samples) <= 0.0) {
                        covered += weight;
                    }
                }
            }
            mask(x, y) = covered;
        }
    }
    return mask;
}

Field pathMask(int width, int height, const std::function<void(cairo_t*)>& draw) {
    ColorImage image(width, height);
    {
        const CairoCanvas canvas(image);
        cairo_set_source_rgba(canvas.cr(), 1, 1, 1, 1);
        draw(canvas.cr());
    }
    Field mask(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        mask.values[i] = static_cast<float>(image.pixels[i] >> 24) / 255.0F;
    }
    return mask;
}

Field maskIntersection(const Field& a, const Field& b) {
    Field out = a;
    for (std::size_t i = 0; i < out.values.size(); ++i) {
        out.values[i] = std::min(a.values[i], b.values[i]);
    }
    return out;
}

Field maskUnion(const Field& a, const Field& b) {
    Field out = a;
    for (std::size_t i = 0; i < out.values.size(); ++i) {
        out.values[i] = std::max(a.values[i], b.values[i]);
    }
    return out;
}

Field maskMinus(const Field& a, const Field& b) {
    Field out = a;
    for (std::size_t i = 0; i < out.values.size(); ++i) {
        out.values[i] = std::clamp(a.values[i] - b.values[i], 0.0F, 1.0F);
    }
    return out;
}

CairoCanvas::CairoCanvas(ColorImage& image)
    : image_(image),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height)) {
    cairo_surface_flush(surface_.get());
    unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    for (int y = 0; y < image.height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.at(x, y);
            const std::uint32_t a = p >> 24;
            const auto pre = [a](std::uint32_t c) {
                return (c * a + 127) / 255;
            };
            row[x] = (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) |
                     pre(p & 0xFF);
        }
    }
    cairo_surface_mark_dirty(surface_.get());
    context_.reset(cairo_create(surface_.get()));
}

CairoCanvas::~CairoCanvas() {
    context_.reset();
    cairo_surface_flush(surface_.get());
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    for (int y = 0; y < image_.height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image_.width; ++x) {
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            const auto straight = [a](std::uint32_t c) {
                return a == 0 ? 0U : std::min(255U, (c * 255 + a / 2) / a);
            };
            image_.set(x, y,
                       (a << 24) | (straight((p >> 16) & 0xFF) << 16) |
                           (straight((p >> 8) & 0xFF) << 8) | straight(p & 0xFF));
        }
    }
}

void setSource(cairo_t* cr, std::uint32_t rgb, double alpha) {
    const Rgba c = hex(rgb);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

} // namespace orv::media
