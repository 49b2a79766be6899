#include "tools/media/BonusIcons.h"

#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <cmath>
#include <functional>
#include <string>

namespace orv::media {

namespace {

constexpr double pi = 3.14159265358979323846;

// A disc lit from the top left: `light` at the lit side to `dark` at the far
// side, with a thin dark outline.
void litDisc(cairo_t* cr, double x, double y, double r, std::uint32_t light, std::uint32_t dark) {
    cairo_pattern_t* shade =
        cairo_pattern_create_radial(x - r * 0.4, y - r * 0.45, r * 0.1, x, y, r * 1.05);
    cairo_pattern_add_color_stop_rgb(shade, 0, ((light >> 16) & 0xFF) / 255.0,
                                     ((light >> 8) & 0xFF) / 255.0, (light & 0xFF) / 255.0);
    cairo_pattern_add_color_stop_rgb(shade, 1, ((dark >> 16) & 0xFF) / 255.0,
                                     ((dark >> 8) & 0xFF) / 255.0, (dark & 0xFF) / 255.0);
    cairo_arc(cr, x, y, r, 0, 2 * pi);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    setSource(cr, palette::mahoganyDark, 0.9);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// The soft shadow every icon casts down and to the right.
void shadowDisc(cairo_t* cr, double x, double y, double r) {
    cairo_pattern_t* soft =
        cairo_pattern_create_radial(x + 1.5, y + 2, r * 0.6, x + 1.5, y + 2, r + 2.5);
    cairo_pattern_add_color_stop_rgba(soft, 0, 0, 0, 0, 0.45);
    cairo_pattern_add_color_stop_rgba(soft, 1, 0, 0, 0, 0);
    cairo_arc(cr, x + 1.5, y + 2, r + 2.5, 0, 2 * pi);
    cairo_set_source(cr, soft);
    cairo_fill(cr);
    cairo_pattern_destroy(soft);
}

// A gold cash coin with a square hole, centred at (x, y).
void coin(cairo_t* cr, double x, double y, double r) {
    shadowDisc(cr, x, y, r);
    litDisc(cr, x, y, r, palette::goldLight, palette::goldDeep);
    setSource(cr, palette::goldDeep, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, x, y, r * 0.72, 0, 2 * pi);
    cairo_stroke(cr);
    const double h = r * 0.3;
    cairo_rectangle(cr, x - h, y - h, 2 * h, 2 * h);
    setSource(cr, palette::mahoganyDark);
    cairo_fill(cr);
    setSource(cr, palette::goldLight, 0.7);
    cairo_move_to(cr, x - h, y + h);
    cairo_line_to(cr, x + h, y + h);
    cairo_line_to(cr, x + h, y - h);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void glow(cairo_t* cr, double x, double y, double r, std::uint32_t colour) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(halo, 0, ((colour >> 16) & 0xFF) / 255.0,
                                      ((colour >> 8) & 0xFF) / 255.0, (colour & 0xFF) / 255.0,
                                      0.75);
    cairo_pattern_add_color_stop_rgba(halo, 1, ((colour >> 16) & 0xFF) / 255.0,
                                      ((colour >> 8) & 0xFF) / 255.0, (colour & 0xFF) / 255.0, 0);
    cairo_arc(cr, x, y, r, 0, 2 * pi);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
}

void clock(cairo_t* cr, double s) {
    const double c = s / 2;
    const double r = s * 0.4;
    shadowDisc(cr, c, c, r);
    litDisc(cr, c, c, r, palette::goldLight, palette::goldDeep);
    litDisc(cr, c, c, r * 0.78, palette::ivory, palette::ivoryShade);
    setSource(cr, palette::ink);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int k = 0; k < 12; ++k) {
        const double a = k * pi / 6;
        const double inner = k % 3 == 0 ? 0.56 : 0.64;
        cairo_move_to(cr, c + std::cos(a) * r * inner, c + std::sin(a) * r * inner);
        cairo_line_to(cr, c + std::cos(a) * r * 0.7, c + std::sin(a) * r * 0.7);
        cairo_set_line_width(cr, k % 3 == 0 ? 1.6 : 0.9);
        cairo_stroke(cr);
    }
    setSource(cr, palette::jadeDark);
    cairo_set_line_width(cr, 2.4);
    cairo_move_to(cr, c, c);
    cairo_line_to(cr, c - r * 0.32, c - r * 0.2);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.8);
    cairo_move_to(cr, c, c);
    cairo_line_to(cr, c, c - r * 0.55);
    cairo_stroke(cr);
    litDisc(cr, c, c, s * 0.045, palette::goldLight, palette::goldDeep);
}

// A straight arrow from (x0, y0) to its head at (x1, y1).
void arrow(cairo_t* cr, double x0, double y0, double x1, double y1) {
    const double length = std::hypot(x1 - x0, y1 - y0);
    const double ux = (x1 - x0) / length;
    const double uy = (y1 - y0) / length;
    const double head = 5.0;
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1 - ux * head * 0.8, y1 - uy * head * 0.8);
    cairo_stroke(cr);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x1 - ux * head - uy * head * 0.7, y1 - uy * head + ux * head * 0.7);
    cairo_line_to(cr, x1 - ux * head + uy * head * 0.7, y1 - uy * head - ux * head * 0.7);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void shuffle(cairo_t* cr, double s) {
    const double c = s / 2;
    const double r = s * 0.4;
    shadowDisc(cr, c, c, r);
    litDisc(cr, c, c, r, palette::lacquer, palette::lacquerDark);
    setSource(cr, palette::gold);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, c, c, r * 0.86, 0, 2 * pi);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.6);
    setSource(cr, palette::cream);
    arrow(cr, c - r * 0.55, c - r * 0.4, c + r * 0.55, c + r * 0.4);
    arrow(cr, c - r * 0.55, c + r * 0.4, c + r * 0.55, c - r * 0.4);
}

void lantern(cairo_t* cr, double s) {
    const double c = s / 2;
    glow(cr, c, c, s * 0.48, palette::goldLight);
    const double w = s * 0.3;
    const double h = s * 0.34;
    cairo_save(cr);
    cairo_translate(cr, c, c + s * 0.02);
    cairo_scale(cr, w, h);
    cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
    cairo_restore(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(c - w, 0, c + w, 0);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.78, 0.26, 0.16);
    cairo_pattern_add_color_stop_rgb(body, 0.35, 0.93, 0.42, 0.24);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.37, 0.10, 0.06);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setSource(cr, palette::mahoganyDark);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    // Ribs and caps.
    setSource(cr, palette::lacquerDark, 0.8);
    for (const double f : {-0.5, 0.0, 0.5}) {
        cairo_save(cr);
        cairo_translate(cr, c, c + s * 0.02);
        cairo_scale(cr, w * std::abs(f) + 0.01, h);
        cairo_arc(cr, 0, 0, 1, -pi / 2, pi / 2);
        cairo_restore(cr);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    for (const double y : {c + s * 0.02 - h - 1.5, c + s * 0.02 + h - 2.5}) {
        cairo_rectangle(cr, c - w * 0.5, y, w, 4);
        setSource(cr, palette::gold);
        cairo_fill_preserve(cr);
        setSource(cr, palette::goldDeep);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    setSource(cr, palette::gold);
    cairo_set_line_width(cr, 1.4);
    cairo_move_to(cr, c, c + s * 0.02 + h + 1.5);
    cairo_line_to(cr, c, s - 2);
    cairo_stroke(cr);
}

void star(cairo_t* cr, double s) {
    const double c = s / 2;
    glow(cr, c, c, s * 0.5, palette::goldLight);
    cairo_new_path(cr);
    for (int k = 0; k < 16; ++k) {
        const double a = -pi / 2 + k * pi / 8;
        const double r = k % 2 == 0 ? s * (k % 4 == 0 ? 0.44 : 0.32) : s * 0.15;
        cairo_line_to(cr, c + std::cos(a) * r, c + std::sin(a) * r);
    }
    cairo_close_path(cr);
    cairo_pattern_t* metal =
        cairo_pattern_create_linear(c - s * 0.3, c - s * 0.3, c + s * 0.3, c + s * 0.3);
    cairo_pattern_add_color_stop_rgb(metal, 0, 1.0, 0.91, 0.64);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.55, 0.35, 0.09);
    cairo_set_source(cr, metal);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(metal);
    setSource(cr, palette::mahoganyDark);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    litDisc(cr, c, c, s * 0.1, palette::jadeLight, palette::jadeDark);
}

} // namespace

std::array<ColorImage, 7> drawBonusIcons(int size) {
    std::array<ColorImage, 7> icons;
    const double s = size;
    const std::array<std::function<void(cairo_t*)>, 7> painters{
        [s](cairo_t* cr) { clock(cr, s); },
        [s](cairo_t* cr) { shuffle(cr, s); },
        [s](cairo_t* cr) { coin(cr, s / 2, s / 2, s * 0.34); },
        [s](cairo_t* cr) {
            coin(cr, s * 0.4, s * 0.4, s * 0.3);
            coin(cr, s * 0.6, s * 0.6, s * 0.3);
        },
        [s](cairo_t* cr) {
            coin(cr, s * 0.32, s * 0.36, s * 0.26);
            coin(cr, s * 0.68, s * 0.36, s * 0.26);
            coin(cr, s * 0.5, s * 0.64, s * 0.26);
        },
        [s](cairo_t* cr) { lantern(cr, s); },
        [s](cairo_t* cr) { star(cr, s); },
    };
    for (std::size_t k = 0; k < icons.size(); ++k) {
        icons[k] = ColorImage(size, size);
        const CairoCanvas canvas(icons[k]);
        painters[k](canvas.cr());
    }
    return icons;
}

void addBonusIcons(MediaSet& media, Gallery& sheet) {
    static constexpr std::array<const char*, 7> kNames{"time",  "shuffle", "2500",      "5000",
                                                       "10000", "hint",    "super_hint"};
    std::array<ColorImage, 7> icons = drawBonusIcons(48);
    for (std::size_t k = 0; k < icons.size(); ++k) {
        media.add(std::string("media/images/game/bonus_") + kNames[k] + ".png",
                  encodePngColor(icons[k]));
    }
    sheet.rows.push_back({"Bonus icons: time, shuffle, 2,500, 5,000 and 10,000 points, hint, "
                          "super hint",
                          {icons.begin(), icons.end()}});
}

} // namespace orv::media
