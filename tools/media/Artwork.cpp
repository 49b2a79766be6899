#include "tools/media/Artwork.h"

#include "tools/media/FontBaker.h"
#include "tools/media/Palette.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <functional>
#include <memory>

namespace orv::media {

namespace {

constexpr double pi = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Colour arithmetic on straight-alpha floating colours.

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

Rgba fromHex(std::uint32_t rgb, double alpha = 1.0) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Rgba mix(const Rgba& p, const Rgba& q, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
            p.a + (q.a - p.a) * t};
}

Rgba lighten(const Rgba& c, double amount) {
    return amount >= 0 ? mix(c, {1, 1, 1, c.a}, amount) : mix(c, {0, 0, 0, c.a}, -amount);
}

Rgba desaturate(const Rgba& c, double amount) {
    const double grey = 0.30 * c.r + 0.59 * c.g + 0.11 * c.b;
    return mix(c, {grey, grey, grey, c.a}, amount);
}

std::uint32_t toPixel(const Rgba& c) {
    const auto channel = [](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    return (channel(c.a) << 24) | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

// ---------------------------------------------------------------------------
// A deterministic value noise that repeats every `period` pixels, for the
// parchment grain and the wood of the lobby wall.

std::uint32_t hash2(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343U ^
                      static_cast<std::uint32_t>(y) * 0xD8163841U ^ seed * 0xCB1AB31FU;
    h ^= h >> 13;
    h *= 0x5BD1E995U;
    h ^= h >> 15;
    return h;
}

double lattice(int x, int y, int period, std::uint32_t seed) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return (hash2(x, y, seed) & 0xFFFF) / 65535.0;
}

double valueNoise(double x, double y, int period, std::uint32_t seed) {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double a = lattice(x0, y0, period, seed);
    const double b = lattice(x0 + 1, y0, period, seed);
    const double c = lattice(x0, y0 + 1, period, seed);
    const double d = lattice(x0 + 1, y0 + 1, period, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

// ---------------------------------------------------------------------------
// Rounded rectangles drawn per pixel: the distance from the rim decides the
// profile (rim line, lacquer, gold bead ...), and the rim's facing decides the
// light, which comes from the top left. Sixteen samples per pixel smooth the
// edges.

struct RoundRect {
    double x, y, w, h, radius;

    // Signed distance to the outline: negative inside. Also gives the outward
    // normal of the nearest rim point.
    double distance(double px, double py, double* nx, double* ny) const {
        const double cx = x + w / 2;
        const double cy = y + h / 2;
        const double qx = std::abs(px - cx) - (w / 2 - radius);
        const double qy = std::abs(py - cy) - (h / 2 - radius);
        const double sx = px < cx ? -1.0 : 1.0;
        const double sy = py < cy ? -1.0 : 1.0;
        if (qx > 0 && qy > 0) {
            const double len = std::sqrt(qx * qx + qy * qy);
            *nx = sx * qx / len;
            *ny = sy * qy / len;
            return len - radius;
        }
        if (qx > qy) {
            *nx = sx;
            *ny = 0;
        } else {
            *nx = 0;
            *ny = sy;
        }
        return std::max(qx, qy) - radius;
    }
};

// `shade`(depth inside the rim, light facing -1..1, pixel x, pixel y) gives
// the colour of a point that lies inside.
using Shader = std::function<Rgba(double depth, double light, double px, double py)>;

void paintRoundRect(ColorImage& target, const RoundRect& rect, const Shader& shade) {
    constexpr int samples = 4;
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const double px = x + (i + 0.5) / samples;
                    const double py = y + (j + 0.5) / samples;
                    double nx = 0, ny = 0;
                    const double d = rect.distance(px, py, &nx, &ny);
                    if (d > 0) {
                        continue;
                    }
                    // Light from the top left: rims facing up or left are lit.
                    const double light = nx * -0.6 + ny * -0.8;
                    const Rgba c = shade(-d, light, px, py);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a <= 0) {
                continue;
            }
            const Rgba mean{r / a, g / a, b / a, a / (samples * samples)};
            const std::uint32_t over = toPixel(mean);
            target.set(
                x, y, blendOver(target.at(x, y), over | 0xFF000000U, static_cast<int>(over >> 24)));
        }
    }
}

// ---------------------------------------------------------------------------
// cairo on top of a ColorImage: the picture is copied into a premultiplied
// cairo surface, drawn on, and copied back.

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

class Canvas {
public:
    explicit Canvas(ColorImage& image)
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
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        context_.reset();
        cairo_surface_flush(surface_.get());
        const unsigned char* data = cairo_image_surface_get_data(surface_.get());
        const int stride = cairo_image_surface_get_stride(surface_.get());
        for (int y = 0; y < image_.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                data + static_cast<std::ptrdiff_t>(y) * stride);
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
    [[nodiscard]] cairo_t* cr() const { return context_.get(); }

private:
    ColorImage& image_;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> context_;
};

void setColor(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0) {
    const Rgba c = fromHex(rgb, alpha);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundedPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

ColorImage crop(const ColorImage& source, int x, int y, int w, int h) {
    ColorImage out(w, h);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            out.set(i, j, source.at(x + i, y + j));
        }
    }
    return out;
}

// The gold of rims and beads, lit by `light` (-1 away from the light, 1 in it).
Rgba gold(double light) {
    const Rgba dark = fromHex(palette::goldDeep);
    const Rgba mid = fromHex(palette::gold);
    const Rgba bright = fromHex(palette::goldLight);
    return light >= 0 ? mix(mid, bright, light) : mix(mid, dark, -light);
}

// The parchment of dialog insides, with a faint grain that repeats every 64
// pixels so that the centre tile joins itself without a seam.
Rgba parchment(double px, double py) {
    const double grain =
        valueNoise(px / 8.0, py / 8.0, 8, 7U) * 0.6 + valueNoise(px / 2.0, py / 2.0, 32, 11U) * 0.4;
    return lighten(fromHex(palette::parchment), (grain - 0.5) * 0.05);
}

} // namespace

void blit(ColorImage& target, const ColorImage& source, int x, int y) {
    for (int j = 0; j < source.height; ++j) {
        for (int i = 0; i < source.width; ++i) {
            const int tx = x + i;
            const int ty = y + j;
            if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) {
                continue;
            }
            const std::uint32_t p = source.at(i, j);
            target.set(tx, ty,
                       blendOver(target.at(tx, ty), p | 0xFF000000U, static_cast<int>(p >> 24)));
        }
    }
}

std::array<ColorImage, 9> drawDialogFrame() {
    // One small master frame: 24-pixel corners around an 8-pixel middle. The
    // middle slices of its sides are the edge tiles; since the profile depends
    // only on the distance from the rim, every slice repeats without a seam.
    // The rim is 24 pixels deep; a soft shadow falls 2 pixels beyond it at
    // the top and left and 4 pixels at the bottom and right, so the pieces of
    // those sides are 26 and 28 pixels deep.
    constexpr int rimDepth = 24;
    constexpr int nearMargin = 2;
    constexpr int farMargin = 4;
    constexpr int nearBand = rimDepth + nearMargin;
    constexpr int farBand = rimDepth + farMargin;
    constexpr int middle = 8;
    constexpr int size = nearBand + middle + farBand;
    ColorImage master(size, size);
    const RoundRect rim{nearMargin, nearMargin, size - nearMargin - farMargin,
                        size - nearMargin - farMargin, 12};
    const RoundRect shadowShape{rim.x + 1, rim.y + 2, rim.w, rim.h, rim.radius};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double nx = 0;
            double ny = 0;
            const double d = shadowShape.distance(x + 0.5, y + 0.5, &nx, &ny);
            const double s = std::clamp(1.0 - (d + 1.0) / 4.0, 0.0, 1.0);
            master.set(x, y, toPixel({0, 0, 0, 0.42 * s * s}));
        }
    }
    paintRoundRect(master, rim, [](double depth, double light, double px, double py) {
        if (depth < 1.3) {
            return fromHex(palette::mahoganyDark);
        }
        if (depth < 10.0) {
            // Lacquered wood: a raised cushion, brightest a third of the way in.
            const double t = (depth - 1.3) / 8.7;
            const double bulge = std::sin(t * pi);
            Rgba c = mix(fromHex(palette::lacquerDark), fromHex(palette::lacquer), bulge);
            return lighten(c, light * 0.16 * (1.0 - t) + bulge * 0.05);
        }
        if (depth < 13.0) {
            // A round gold bead: lit on the side facing the light.
            const double t = (depth - 10.0) / 3.0;
            return gold(std::cos(t * pi) * light * 0.9 + (0.5 - std::abs(t - 0.5)) * 0.6);
        }
        if (depth < 14.2) {
            return fromHex(palette::mahoganyDark);
        }
        // Parchment with a soft shadow cast inward by the rim.
        const double shadow = std::exp(-(depth - 14.2) / 2.5) * 0.28;
        return lighten(parchment(px - nearBand, py - nearBand), -shadow);
    });
    constexpr int far = nearBand + middle;
    std::array<ColorImage, 9> pieces;
    pieces[0] = crop(master, 0, 0, nearBand, nearBand);
    pieces[1] = crop(master, nearBand, 0, middle, nearBand);
    pieces[2] = crop(master, far, 0, farBand, nearBand);
    pieces[3] = crop(master, 0, nearBand, nearBand, middle);
    pieces[5] = crop(master, far, nearBand, farBand, middle);
    pieces[6] = crop(master, 0, far, nearBand, farBand);
    pieces[7] = crop(master, nearBand, far, middle, farBand);
    pieces[8] = crop(master, far, far, farBand, farBand);
    ColorImage centre(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            centre.set(x, y, toPixel(parchment(x + 0.5, y + 0.5)));
        }
    }
    pieces[4] = std::move(centre);
    return pieces;
}

ColorImage drawButtonStrip(int width, int height) {
    ColorImage strip(width, height * 4);
    for (int frame = 0; frame < 4; ++frame) {
        ColorImage face(width, height);
        const bool over = frame == 1;
        const bool pressed = frame == 2;
        const bool disabled = frame == 3;
        // A soft shadow under the button, 2 pixels below; a pressed button sits
        // closer to the page and casts less.
        const RoundRect body{2, 1, width - 4.0, height - 5.0, height / 2.0 - 5};
        const RoundRect shade{body.x, body.y + (pressed ? 1.0 : 2.5), body.w, body.h, body.radius};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                double nx = 0;
                double ny = 0;
                const double d = shade.distance(x + 0.5, y + 0.5, &nx, &ny);
                const double s = std::clamp(1.0 - (d + 0.5) / 2.5, 0.0, 1.0);
                face.set(x, y, toPixel({0, 0, 0, 0.45 * s * s}));
            }
        }
        paintRoundRect(face, body, [&](double depth, double light, double /*px*/, double py) {
            const double v = (py - body.y) / body.h; // 0 top .. 1 bottom
            Rgba c;
            if (depth < 1.2) {
                c = fromHex(palette::mahoganyDark);
            } else if (depth < 3.6) {
                c = gold(light * 0.9 + (over ? 0.35 : 0.0));
            } else {
                Rgba top = fromHex(palette::jadeLight);
                Rgba bottom = fromHex(palette::jadeDark);
                if (over) {
                    top = lighten(top, 0.12);
                    bottom = lighten(bottom, 0.10);
                }
                if (pressed) {
                    std::swap(top, bottom);
                    top = lighten(top, -0.15);
                    bottom = lighten(bottom, -0.05);
                }
                c = mix(top, bottom, v);
                // Gloss on the upper half, a lip of light along the bottom.
                if (!pressed && v < 0.48) {
                    c = lighten(c, 0.20 * (1.0 - v / 0.48));
                }
                if (pressed) {
                    c = lighten(c, -std::exp(-(depth - 3.6) / 2.0) * 0.35 * (v < 0.5 ? 1 : 0));
                } else {
                    c = lighten(c, std::exp(-(depth - 3.6) / 1.5) * 0.18 * light);
                }
            }
            if (disabled) {
                c = lighten(desaturate(c, 0.85), 0.15);
            }
            return c;
        });
        blit(strip, face, 0, frame * height);
    }
    return strip;
}

ColorImage drawWindowButton(WindowButton kind) {
    constexpr int width = 26;
    constexpr int height = 22;
    ColorImage strip(width, height * 4);
    for (int frame = 0; frame < 4; ++frame) {
        ColorImage face(width, height);
        const bool over = frame == 1;
        const bool pressed = frame == 2;
        const bool disabled = frame == 3;
        const RoundRect body{1, 1, width - 2.0, height - 2.0, 5};
        paintRoundRect(face, body, [&](double depth, double light, double /*px*/, double py) {
            const double v = (py - 1) / (height - 2.0);
            Rgba c;
            if (depth < 1.0) {
                c = fromHex(palette::mahoganyDark);
            } else if (depth < 2.4) {
                c = gold(light * 0.8 + (over ? 0.4 : 0.0));
            } else {
                const Rgba base = kind == WindowButton::Quit && over ? fromHex(palette::vermilion)
                                                                     : fromHex(palette::lacquer);
                c = mix(lighten(base, pressed ? -0.25 : 0.12), lighten(base, pressed ? 0.0 : -0.3),
                        pressed ? 1.0 - v : v);
            }
            if (disabled) {
                c = lighten(desaturate(c, 0.9), 0.1);
            }
            return c;
        });
        {
            const Canvas canvas(face);
            cairo_t* cr = canvas.cr();
            const double shift = pressed ? 1.0 : 0.0;
            cairo_translate(cr, shift, shift);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            const std::uint32_t ink =
                disabled ? 0xD8D0C4 : (over ? palette::goldLight : palette::gold);
            // A dark shadow line under the gold symbol keeps it readable on the
            // lacquer at any brightness.
            for (int pass = 0; pass < 2; ++pass) {
                cairo_save(cr);
                if (pass == 0) {
                    cairo_translate(cr, 0.8, 0.8);
                    setColor(cr, palette::mahoganyDark, 0.8);
                } else {
                    setColor(cr, ink);
                }
                cairo_set_line_width(cr, 2.2);
                switch (kind) {
                case WindowButton::Minimize:
                    cairo_move_to(cr, 8, 15);
                    cairo_line_to(cr, 18, 15);
                    cairo_stroke(cr);
                    break;
                case WindowButton::Restore:
                    cairo_set_line_width(cr, 1.6);
                    cairo_rectangle(cr, 10.5, 5.5, 8, 7);
                    cairo_stroke(cr);
                    cairo_rectangle(cr, 7.5, 9.5, 8, 7);
                    cairo_stroke(cr);
                    break;
                case WindowButton::Quit:
                    cairo_move_to(cr, 8.5, 6.5);
                    cairo_line_to(cr, 17.5, 15.5);
                    cairo_move_to(cr, 17.5, 6.5);
                    cairo_line_to(cr, 8.5, 15.5);
                    cairo_stroke(cr);
                    break;
                }
                cairo_restore(cr);
            }
        }
        blit(strip, face, 0, frame * height);
    }
    return strip;
}

ColorImage drawWindowIcon(int size) {
    ColorImage icon(size, size);
    const double s = size / 64.0;
    // The tile's jade back, seen below and right of its ivory face.
    paintRoundRect(icon, RoundRect{10 * s, 6 * s, 48 * s, 56 * s, 8 * s},
                   [](double depth, double light, double, double) {
                       return lighten(fromHex(palette::jadeDark), depth < 1.0 ? -0.3 : light * 0.1);
                   });
    paintRoundRect(icon, RoundRect{6 * s, 2 * s, 48 * s, 56 * s, 8 * s},
                   [s](double depth, double light, double, double) {
                       if (depth < 0.9 * s) {
                           return fromHex(palette::ivoryShade);
                       }
                       return lighten(fromHex(palette::ivory),
                                      std::exp(-depth / (3 * s)) * 0.25 * light);
                   });
    {
        const Canvas canvas(icon);
        cairo_t* cr = canvas.cr();
        cairo_scale(cr, s, s);
        // A tower of five storeys, each narrower, with upturned gold eaves.
        const double centre = 30;
        double base = 52;
        for (int storey = 0; storey < 5; ++storey) {
            const double w = 26 - storey * 4.0;
            const double h = 6.4;
            setColor(cr, palette::lacquer);
            cairo_rectangle(cr, centre - w / 2, base - h, w, h);
            cairo_fill(cr);
            // Windows: small gold dots.
            setColor(cr, palette::goldLight);
            const int windows = 3 - storey / 2;
            for (int k = 0; k < windows; ++k) {
                const double wx = centre - w / 2 + (k + 1) * w / (windows + 1);
                cairo_rectangle(cr, wx - 1, base - h + 2, 2, 2.6);
                cairo_fill(cr);
            }
            // The eave above the storey.
            const double ew = w + 8;
            const double ey = base - h;
            cairo_move_to(cr, centre - ew / 2, ey - 2.6);
            cairo_curve_to(cr, centre - ew / 4, ey - 0.6, centre + ew / 4, ey - 0.6,
                           centre + ew / 2, ey - 2.6);
            cairo_line_to(cr, centre + ew / 2 - 3, ey + 0.4);
            cairo_line_to(cr, centre - ew / 2 + 3, ey + 0.4);
            cairo_close_path(cr);
            setColor(cr, palette::goldDeep);
            cairo_fill(cr);
            base = ey - 0.2;
        }
        // Finial.
        setColor(cr, palette::goldDeep);
        cairo_move_to(cr, centre, base - 7);
        cairo_line_to(cr, centre + 1.4, base);
        cairo_line_to(cr, centre - 1.4, base);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    return icon;
}

ColorImage drawMedal(int size) {
    ColorImage medal(size, size);
    const double r = size / 2.0 - 1;
    const RoundRect disc{1, 1, 2 * r, 2 * r, r};
    paintRoundRect(medal, disc, [r](double depth, double light, double px, double py) {
        if (depth < 1.0) {
            return fromHex(palette::goldDeep);
        }
        if (depth < r * 0.18) {
            return gold(light * 0.9);
        }
        if (depth < r * 0.22) {
            return gold(-light * 0.8);
        }
        // The inner field: brushed gold, brighter toward the top left.
        const double t = ((px - 1) + (py - 1)) / (4 * r);
        return gold(0.5 - t * 1.2);
    });
    {
        const Canvas canvas(medal);
        cairo_t* cr = canvas.cr();
        // A five-pointed star embossed in the field.
        const double cx = size / 2.0;
        const double cy = size / 2.0;
        const double outer = r * 0.5;
        const double inner = outer * 0.45;
        for (int pass = 0; pass < 2; ++pass) {
            cairo_new_path(cr);
            for (int k = 0; k < 10; ++k) {
                const double angle = -pi / 2 + k * pi / 5;
                const double radius = (k % 2 == 0) ? outer : inner;
                const double offset = pass == 0 ? size / 64.0 * 1.2 : 0.0;
                cairo_line_to(cr, cx + offset + radius * std::cos(angle),
                              cy + offset + radius * std::sin(angle));
            }
            cairo_close_path(cr);
            if (pass == 0) {
                setColor(cr, palette::goldDeep, 0.85);
            } else {
                setColor(cr, palette::goldLight);
            }
            cairo_fill(cr);
        }
    }
    return medal;
}

ColorImage drawLobbyWall() {
    constexpr int width = 800;
    constexpr int height = 600;
    ColorImage wall(width, height);
    // Wood panelling: vertical boards with a slow grain.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double grain = valueNoise(x / 3.0, y / 60.0, 1024, 3U) * 0.6 +
                                 valueNoise(x / 1.0, y / 18.0, 1024, 5U) * 0.4;
            Rgba c = mix(fromHex(palette::mahoganyDark), fromHex(palette::mahogany), grain);
            // A warm light from above the middle of the room.
            const double dx = (x - width / 2.0) / width;
            const double dy = (y - height * 0.25) / height;
            c = lighten(c, 0.18 - std::sqrt(dx * dx + dy * dy) * 0.35);
            wall.set(x, y, toPixel(c));
        }
    }
    {
        const Canvas canvas(wall);
        cairo_t* cr = canvas.cr();
        // Panels framed in gold, a dado rail and a lacquered skirting.
        constexpr int panels = 5;
        const double gap = 18;
        const double panelWidth = (width - gap * (panels + 1)) / panels;
        for (int k = 0; k < panels; ++k) {
            const double x = gap + k * (panelWidth + gap);
            roundedPath(cr, x + 0.5, 40.5, panelWidth - 1, 330, 6);
            setColor(cr, 0x000000, 0.18);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 2.0);
            setColor(cr, palette::goldDeep);
            cairo_stroke(cr);
            roundedPath(cr, x + 7.5, 47.5, panelWidth - 15, 316, 4);
            cairo_set_line_width(cr, 1.0);
            setColor(cr, palette::gold, 0.55);
            cairo_stroke(cr);
            // An art-deco fan at the top of each panel.
            const double fx = x + panelWidth / 2;
            for (int ray = 0; ray < 7; ++ray) {
                const double angle = pi + (ray + 1) * pi / 8;
                cairo_move_to(cr, fx, 110);
                cairo_line_to(cr, fx + 46 * std::cos(angle), 110 + 46 * std::sin(angle));
            }
            cairo_set_line_width(cr, 1.2);
            setColor(cr, palette::gold, 0.6);
            cairo_stroke(cr);
            cairo_arc(cr, fx, 110, 46, pi, 2 * pi);
            cairo_stroke(cr);
        }
        // Dado rail.
        cairo_rectangle(cr, 0, 392, width, 10);
        cairo_pattern_t* rail = cairo_pattern_create_linear(0, 392, 0, 402);
        cairo_pattern_add_color_stop_rgb(rail, 0, 1.0, 0.89, 0.6);
        cairo_pattern_add_color_stop_rgb(rail, 0.5, 0.85, 0.62, 0.2);
        cairo_pattern_add_color_stop_rgb(rail, 1, 0.5, 0.32, 0.08);
        cairo_set_source(cr, rail);
        cairo_fill(cr);
        cairo_pattern_destroy(rail);
        // Lower wall in lacquer red with a diamond inlay.
        cairo_rectangle(cr, 0, 402, width, height - 402);
        cairo_pattern_t* lower = cairo_pattern_create_linear(0, 402, 0, height);
        cairo_pattern_add_color_stop_rgb(lower, 0, 0.47, 0.14, 0.09);
        cairo_pattern_add_color_stop_rgb(lower, 1, 0.25, 0.07, 0.04);
        cairo_set_source(cr, lower);
        cairo_fill(cr);
        cairo_pattern_destroy(lower);
        cairo_set_line_width(cr, 1.0);
        setColor(cr, palette::gold, 0.35);
        for (int k = 0; k <= 20; ++k) {
            const double x = k * 40.0;
            cairo_move_to(cr, x, 420);
            cairo_line_to(cr, x + 20, 440);
            cairo_line_to(cr, x, 460);
            cairo_line_to(cr, x - 20, 440);
            cairo_close_path(cr);
        }
        cairo_stroke(cr);
    }
    return wall;
}

} // namespace orv::media
