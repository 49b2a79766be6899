#include "tools/media/TileArt.h"

#include "tools/media/Fail.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace orv::media {

namespace {

namespace fs = std::filesystem;

constexpr double pi = 3.14159265358979323846;
constexpr int kW = TileMetrics::kFaceW;
constexpr int kH = TileMetrics::kFaceH;
constexpr int kSide = TileMetrics::kSide;
// Small pictures are drawn this many times larger and shrunk.
constexpr int kScale = 4;

// ---------------------------------------------------------------------------
// Glyph outlines as cairo paths
// ---------------------------------------------------------------------------

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// Where an outline lands: font units to pixels.
struct OutlineSink {
    cairo_t* cr = nullptr;
    double originX = 0;
    double originY = 0;
    double scale = 1;
    double lastX = 0;
    double lastY = 0;

    [[nodiscard]] double px(const FT_Vector* v) const { return originX + v->x * scale; }
    [[nodiscard]] double py(const FT_Vector* v) const { return originY - v->y * scale; }
};

int moveTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    cairo_close_path(s->cr);
    s->lastX = s->px(to);
    s->lastY = s->py(to);
    cairo_move_to(s->cr, s->lastX, s->lastY);
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    s->lastX = s->px(to);
    s->lastY = s->py(to);
    cairo_line_to(s->cr, s->lastX, s->lastY);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    // A quadratic curve as the cubic that traces it.
    const double cx = s->px(control);
    const double cy = s->py(control);
    const double x = s->px(to);
    const double y = s->py(to);
    cairo_curve_to(s->cr, s->lastX + 2.0 / 3.0 * (cx - s->lastX),
                   s->lastY + 2.0 / 3.0 * (cy - s->lastY), x + 2.0 / 3.0 * (cx - x),
                   y + 2.0 / 3.0 * (cy - y), x, y);
    s->lastX = x;
    s->lastY = y;
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    s->lastX = s->px(to);
    s->lastY = s->py(to);
    cairo_curve_to(s->cr, s->px(c1), s->py(c1), s->px(c2), s->py(c2), s->lastX, s->lastY);
    return 0;
}

// One face of a font file, read as outlines.
class GlyphFont {
public:
    GlyphFont(const fs::path& file, long index) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            fail("cannot start FreeType");
        }
        library_.reset(library);
        FT_Face face = nullptr;
        if (FT_New_Face(library, file.c_str(), index, &face) != 0) {
            fail("cannot read the font " + file.string() + " (tools/install-deps.sh installs it)");
        }
        face_.reset(face);
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    }

    // Adds the outline of `ch` to the current path, `em` pixels to the em,
    // its ink box centred on (cx, cy).
    void centred(cairo_t* cr, char32_t ch, double cx, double cy, double em) const {
        FT_Face face = face_.get();
        if (FT_Load_Char(face, ch, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
                0 ||
            face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
            fail("the font has no outline for character " + std::to_string(ch));
        }
        FT_Outline* outline = &face->glyph->outline;
        FT_BBox box{};
        FT_Outline_Get_BBox(outline, &box);
        OutlineSink sink;
        sink.cr = cr;
        sink.scale = em / face->units_per_EM;
        sink.originX = cx - (box.xMin + box.xMax) / 2.0 * sink.scale;
        sink.originY = cy + (box.yMin + box.yMax) / 2.0 * sink.scale;
        FT_Outline_Funcs funcs{};
        funcs.move_to = moveTo;
        funcs.line_to = lineTo;
        funcs.conic_to = conicTo;
        funcs.cubic_to = cubicTo;
        cairo_new_sub_path(cr);
        FT_Outline_Decompose(outline, &funcs, &sink);
        cairo_close_path(cr);
    }

private:
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library_;
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face_;
};

// ---------------------------------------------------------------------------
// Colours and paint
// ---------------------------------------------------------------------------

void rgb(cairo_t* cr, std::uint32_t colour, double alpha = 1.0) {
    setSource(cr, colour, alpha);
}

double channel(std::uint32_t colour, int shift) {
    return ((colour >> shift) & 0xFFU) / 255.0;
}

std::uint32_t toward(std::uint32_t colour, std::uint32_t target, double t) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double v =
            channel(colour, shift) + (channel(target, shift) - channel(colour, shift)) * t;
        out |= static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)) << shift;
    }
    return out;
}

std::uint32_t lighter(std::uint32_t c, double t) {
    return toward(c, 0xFFFFFF, t);
}
std::uint32_t darker(std::uint32_t c, double t) {
    return toward(c, 0x000000, t);
}

// How a set paints its marks.
struct FaceStyle {
    TileSet set = TileSet::Traditional;
    std::uint32_t green = 0x118E4F;
    std::uint32_t red = 0xB8321F;
    std::uint32_t blue = 0x2452A6;
    std::uint32_t ink = 0x1E1712;
    std::uint32_t gold = 0xB98322;
    std::uint32_t rose = 0xC8577A;
    std::uint32_t paper = palette::ivory; // the face the marks lie on
    bool flat = false;                    // no gradients, no outlines
    double outline = 0.45;                // dark rim around marks, pixels
    bool cornerIndex = false;             // numbers and letters in the top-left corner
    bool latinWinds = false;              // winds as letters, characters as numerals
};

FaceStyle styleOf(TileSet set) {
    FaceStyle s;
    s.set = set;
    switch (set) {
    case TileSet::Traditional:
        break;
    case TileSet::LargePrint:
        s.green = 0x00803A;
        s.red = 0xD2141A;
        s.blue = 0x0B3FA8;
        s.ink = 0x000000;
        s.gold = 0xB36B00;
        s.rose = 0xC0186A;
        s.outline = 0.7;
        s.cornerIndex = true;
        break;
    case TileSet::IvoryJade:
        // Clear, light jade and a true blue, far apart in hue and bright
        // enough that a blocked tile's shade leaves them apart.
        s.green = 0x0E9A55;
        s.red = 0xC8341F;
        s.blue = 0x2358C8;
        s.ink = 0x1A4A38;
        s.gold = 0xB8861F;
        s.rose = 0xC04A70;
        s.outline = 0.55;
        break;
    case TileSet::ModernFlat:
        s.green = 0x0E9C62;
        s.red = 0xE2513A;
        s.blue = 0x3E4FB8;
        s.ink = 0x2B2D3A;
        s.gold = 0xE59A10;
        s.rose = 0xD9487E;
        s.flat = true;
        s.outline = 0.0;
        s.latinWinds = true;
        break;
    }
    return s;
}

// Fills the current path with `colour`: flat, or lit from the upper left
// with a thin darker rim; keeps nothing of the path.
void paintPath(cairo_t* cr, const FaceStyle& style, std::uint32_t colour) {
    if (style.flat) {
        rgb(cr, colour);
        cairo_fill(cr);
        return;
    }
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
    cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
    cairo_pattern_t* shade = cairo_pattern_create_linear(x0, y0, x1, y1);
    const std::uint32_t lit = lighter(colour, 0.28);
    const std::uint32_t deep = darker(colour, 0.22);
    cairo_pattern_add_color_stop_rgb(shade, 0, channel(lit, 16), channel(lit, 8), channel(lit, 0));
    cairo_pattern_add_color_stop_rgb(shade, 0.45, channel(colour, 16), channel(colour, 8),
                                     channel(colour, 0));
    cairo_pattern_add_color_stop_rgb(shade, 1, channel(deep, 16), channel(deep, 8),
                                     channel(deep, 0));
    cairo_set_source(cr, shade);
    if (style.outline > 0) {
        cairo_fill_preserve(cr);
        rgb(cr, darker(colour, 0.5), 0.85);
        cairo_set_line_width(cr, style.outline);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_pattern_destroy(shade);
}

void circlePath(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * pi);
}

void roundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

// ---------------------------------------------------------------------------
// The suits
// ---------------------------------------------------------------------------

struct Dot {
    double x, y, r;
    int colour; // 0 green, 1 red, 2 blue
};

std::vector<Dot> dotLayout(int n) {
    switch (n) {
    case 1:
        return {{20, 26, 14, 1}};
    case 2:
        return {{20, 14.5, 8.5, 0}, {20, 37.5, 8.5, 2}};
    case 3:
        return {{10.5, 11, 7, 2}, {20, 26, 7, 1}, {29.5, 41, 7, 0}};
    case 4:
        return {{11.5, 15, 7.5, 2}, {28.5, 15, 7.5, 0}, {11.5, 37, 7.5, 0}, {28.5, 37, 7.5, 2}};
    case 5:
        return {{10.5, 12, 6.5, 2},
                {29.5, 12, 6.5, 0},
                {20, 26, 6.5, 1},
                {10.5, 40, 6.5, 0},
                {29.5, 40, 6.5, 2}};
    case 6:
        return {{12, 10.5, 6, 0}, {28, 10.5, 6, 0}, {12, 27, 6, 1},
                {28, 27, 6, 1},   {12, 41.5, 6, 1}, {28, 41.5, 6, 1}};
    case 7:
        return {{9.5, 8.5, 5, 0}, {20, 13.5, 5, 0},   {30.5, 18.5, 5, 0}, {13, 32, 5.2, 1},
                {27, 32, 5.2, 1}, {13, 43.5, 5.2, 1}, {27, 43.5, 5.2, 1}};
    case 8:
        return {{12, 8.5, 5.2, 2},  {28, 8.5, 5.2, 2},  {12, 20.2, 5.2, 2}, {28, 20.2, 5.2, 2},
                {12, 31.8, 5.2, 2}, {28, 31.8, 5.2, 2}, {12, 43.5, 5.2, 2}, {28, 43.5, 5.2, 2}};
    default:
        return {{9.5, 11.5, 5.3, 2}, {20, 11.5, 5.3, 2}, {30.5, 11.5, 5.3, 2},
                {9.5, 26, 5.3, 1},   {20, 26, 5.3, 1},   {30.5, 26, 5.3, 1},
                {9.5, 40.5, 5.3, 0}, {20, 40.5, 5.3, 0}, {30.5, 40.5, 5.3, 0}};
    }
}

std::uint32_t pick(const FaceStyle& s, int colour) {
    return colour == 0 ? s.green : colour == 1 ? s.red : s.blue;
}

void drawDot(cairo_t* cr, const FaceStyle& s, const Dot& d, bool big) {
    const std::uint32_t c = pick(s, d.colour);
    circlePath(cr, d.x, d.y, d.r);
    paintPath(cr, s, c);
    switch (s.set) {
    case TileSet::ModernFlat:
        // A flat disc with a pale centre.
        circlePath(cr, d.x, d.y, d.r * 0.38);
        rgb(cr, s.paper);
        cairo_fill(cr);
        break;
    case TileSet::IvoryJade:
        // A jade disc in a gold ring, a gold pearl at its heart.
        cairo_set_line_width(cr, d.r * 0.18);
        circlePath(cr, d.x, d.y, d.r * 0.78);
        rgb(cr, s.gold);
        cairo_stroke(cr);
        circlePath(cr, d.x, d.y, d.r * 0.3);
        paintPath(cr, s, lighter(s.gold, 0.2));
        break;
    default:
        // A coin: pale ring, coloured centre; the big one gets a petal ring.
        cairo_set_line_width(cr, d.r * (s.set == TileSet::LargePrint ? 0.2 : 0.16));
        circlePath(cr, d.x, d.y, d.r * 0.68);
        rgb(cr, s.paper);
        cairo_stroke(cr);
        circlePath(cr, d.x, d.y, d.r * 0.3);
        rgb(cr, s.set == TileSet::LargePrint ? s.paper : lighter(c, 0.55));
        cairo_fill(cr);
        if (big) {
            for (int k = 0; k < 12; ++k) {
                const double a = k * pi / 6;
                circlePath(cr, d.x + std::cos(a) * d.r * 0.5, d.y + std::sin(a) * d.r * 0.5,
                           d.r * 0.07);
            }
            rgb(cr, s.paper);
            cairo_fill(cr);
            circlePath(cr, d.x, d.y, d.r * 0.15);
            rgb(cr, s.green);
            cairo_fill(cr);
        }
        break;
    }
}

void drawDots(cairo_t* cr, const FaceStyle& s, int n) {
    for (const Dot& d : dotLayout(n)) {
        drawDot(cr, s, d, n == 1);
    }
}

// One jointed stick centred on x, from y0 to y1, `w` wide.
void stick(cairo_t* cr, const FaceStyle& s, double x, double y0, double y1, double w,
           std::uint32_t colour) {
    roundRectPath(cr, x - w / 2, y0, w, y1 - y0, w * 0.45);
    paintPath(cr, s, colour);
    const std::uint32_t joint = s.set == TileSet::IvoryJade ? s.gold : darker(colour, 0.35);
    const double mid = (y0 + y1) / 2;
    cairo_set_line_width(cr, std::max(0.8, w * 0.2));
    for (const double y : {y0 + w * 0.35, mid, y1 - w * 0.35}) {
        cairo_move_to(cr, x - w / 2 + 0.2, y);
        cairo_line_to(cr, x + w / 2 - 0.2, y);
    }
    rgb(cr, joint);
    cairo_stroke(cr);
    if (!s.flat) {
        // The bamboo's sheen down its lit side.
        cairo_set_line_width(cr, w * 0.16);
        cairo_move_to(cr, x - w * 0.18, y0 + w * 0.6);
        cairo_line_to(cr, x - w * 0.18, mid - w * 0.3);
        cairo_move_to(cr, x - w * 0.18, mid + w * 0.3);
        cairo_line_to(cr, x - w * 0.18, y1 - w * 0.6);
        rgb(cr, 0xFFFFFF, 0.35);
        cairo_stroke(cr);
    }
}

// One stick of a bamboo face: centred on x, from y0 to y1, `w` wide.
struct Stick {
    double x;
    double y0;
    double y1;
    double w;
    std::uint32_t colour;
};

// The sticks of a face, drawn in the order given.
void sticks(cairo_t* cr, const FaceStyle& s, std::initializer_list<Stick> list) {
    for (const Stick& k : list) {
        stick(cr, s, k.x, k.y0, k.y1, k.w, k.colour);
    }
}

// A leaf from (x, y) pointing at angle `a`, `len` long.
void leaf(cairo_t* cr, double x, double y, double a, double len, double width) {
    const double ex = x + std::cos(a) * len;
    const double ey = y + std::sin(a) * len;
    const double nx = -std::sin(a) * width;
    const double ny = std::cos(a) * width;
    const double mx = (x + ex) / 2;
    const double my = (y + ey) / 2;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, mx + nx, my + ny, mx + nx * 0.6, my + ny * 0.6, ex, ey);
    cairo_curve_to(cr, mx - nx * 0.6, my - ny * 0.6, mx - nx, my - ny, x, y);
    cairo_close_path(cr);
}

void drawBamboo(cairo_t* cr, const FaceStyle& s, int n) {
    const std::uint32_t g = s.green;
    const std::uint32_t r = s.red;
    const std::uint32_t b = s.blue;
    switch (n) {
    case 1: {
        // One tall, thick stalk from top to bottom, with a pair of slim
        // leaves at a joint: a single stick, never a flower on a stem.
        leaf(cr, 22, 19, -pi * 0.18, 13, 2.6);
        leaf(cr, 18, 33, -pi * 0.84, 12, 2.4);
        paintPath(cr, s, darker(g, 0.1));
        stick(cr, s, 20, 3, 49, 11, g);
        break;
    }
    case 2:
        sticks(cr, s, {{20, 4, 24.5, 8, g}, {20, 27.5, 48, 8, b}});
        break;
    case 3:
        sticks(cr, s, {{20, 4, 24.5, 8, b}, {12, 27.5, 48, 8, g}, {28, 27.5, 48, 8, g}});
        break;
    case 4:
        sticks(
            cr, s,
            {{12, 4, 24.5, 8, b}, {28, 4, 24.5, 8, g}, {12, 27.5, 48, 8, g}, {28, 27.5, 48, 8, b}});
        break;
    case 5:
        sticks(cr, s,
               {{9.5, 4, 24.5, 7, g},
                {30.5, 4, 24.5, 7, b},
                {20, 15.8, 36.2, 7, r},
                {9.5, 27.5, 48, 7, b},
                {30.5, 27.5, 48, 7, g}});
        break;
    case 6:
        for (const double x : {9.0, 20.0, 31.0}) {
            stick(cr, s, x, 4, 24.5, 7, g);
            stick(cr, s, x, 27.5, 48, 7, b);
        }
        break;
    case 7:
        stick(cr, s, 20, 3, 17, 6.5, r);
        for (const double x : {9.0, 20.0, 31.0}) {
            stick(cr, s, x, 19, 32.5, 6.5, g);
            stick(cr, s, x, 35, 48.5, 6.5, b);
        }
        break;
    case 8:
        for (const double x : {7.0, 15.7, 24.3, 33.0}) {
            stick(cr, s, x, 4, 24.5, 6, g);
            stick(cr, s, x, 27.5, 48, 6, b);
        }
        break;
    default:
        for (const double x : {9.0, 20.0, 31.0}) {
            stick(cr, s, x, 3, 16.5, 6.5, r);
            stick(cr, s, x, 19, 32.5, 6.5, b);
            stick(cr, s, x, 35, 48.5, 6.5, g);
        }
        break;
    }
}

void fillGlyph(cairo_t* cr, const FaceStyle& s, const GlyphFont& font, char32_t ch, double cx,
               double cy, double em, std::uint32_t colour) {
    font.centred(cr, ch, cx, cy, em);
    if (s.flat) {
        rgb(cr, colour);
        cairo_fill(cr);
        return;
    }
    // Ink with a faint pale relief below right, as if cut into the face.
    cairo_save(cr);
    cairo_translate(cr, 0.45, 0.45);
    cairo_new_path(cr);
    font.centred(cr, ch, cx, cy, em);
    rgb(cr, 0xFFFFFF, 0.7);
    cairo_fill(cr);
    cairo_restore(cr);
    font.centred(cr, ch, cx, cy, em);
    rgb(cr, colour);
    cairo_fill(cr);
}

struct Fonts {
    GlyphFont cjk;
    GlyphFont bold;  // Linux Biolinum Bold: numerals and letters of the large print
    GlyphFont black; // Lato Black: the flat set's numerals and letters
};

constexpr std::array<char32_t, 9> kNumerals{U'一', U'二', U'三', U'四', U'五',
                                            U'六', U'七', U'八', U'九'};

void drawCharacter(cairo_t* cr, const FaceStyle& s, const Fonts& f, int n) {
    if (s.latinWinds) {
        // The flat set: a big numeral over a small seal of the suit.
        fillGlyph(cr, s, f.black, static_cast<char32_t>(U'0' + n), 20, 17, 27, s.ink);
        roundRectPath(cr, 10, 32, 20, 16, 3);
        rgb(cr, s.red);
        cairo_fill(cr);
        fillGlyph(cr, s, f.cjk, U'萬', 20, 40, 15, s.paper);
        return;
    }
    const std::uint32_t top = s.set == TileSet::IvoryJade ? s.ink : s.blue;
    const double em = n == 1 ? 24 : 21;
    fillGlyph(cr, s, f.cjk, kNumerals.at(static_cast<std::size_t>(n - 1)), 20, n == 1 ? 14 : 14.5,
              em, s.set == TileSet::LargePrint ? s.ink : top);
    fillGlyph(cr, s, f.cjk, U'萬', 20, 36.5, 23, s.red);
}

constexpr std::array<char32_t, 4> kWinds{U'東', U'南', U'西', U'北'};
constexpr std::array<char32_t, 4> kWindLetters{U'E', U'S', U'W', U'N'};

void drawWind(cairo_t* cr, const FaceStyle& s, const Fonts& f, int k) {
    const auto i = static_cast<std::size_t>(k);
    if (s.latinWinds) {
        // A compass point over the letter.
        const double a = std::array<double, 4>{0, pi / 2, pi, -pi / 2}.at(i);
        cairo_save(cr);
        cairo_translate(cr, 20, 14);
        cairo_rotate(cr, a);
        cairo_move_to(cr, 9, 0);
        cairo_line_to(cr, -4, -5);
        cairo_line_to(cr, -1.5, 0);
        cairo_line_to(cr, -4, 5);
        cairo_close_path(cr);
        cairo_restore(cr);
        rgb(cr, s.blue);
        cairo_fill(cr);
        fillGlyph(cr, s, f.black, kWindLetters.at(i), 20, 36, 26, s.ink);
        return;
    }
    fillGlyph(cr, s, f.cjk, kWinds.at(i), 20, s.cornerIndex ? 28 : 26, 31, s.ink);
}

void drawDragon(cairo_t* cr, const FaceStyle& s, const Fonts& f, int k) {
    if (k == 2) {
        // The white dragon: a double frame.
        const std::uint32_t c = s.set == TileSet::IvoryJade ? s.gold : s.blue;
        cairo_set_line_width(cr, s.flat ? 3.2 : 2.6);
        roundRectPath(cr, 7, 8, 26, 36, 2.5);
        rgb(cr, c);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1.1);
        roundRectPath(cr, 11.5, 12.5, 17, 27, 1);
        cairo_stroke(cr);
        if (!s.flat) {
            for (const double y : {8.0, 44.0}) {
                for (const double x : {7.0, 33.0}) {
                    circlePath(cr, x, y, 2.1);
                }
            }
            paintPath(cr, s, c);
        }
        return;
    }
    const std::uint32_t c = k == 0 ? s.red : s.green;
    if (s.flat) {
        roundRectPath(cr, 5, 9, 30, 34, 4);
        rgb(cr, c);
        cairo_fill(cr);
        fillGlyph(cr, s, f.cjk, k == 0 ? U'中' : U'發', 20, 26, 26, s.paper);
        return;
    }
    fillGlyph(cr, s, f.cjk, k == 0 ? U'中' : U'發', 20, s.cornerIndex ? 28 : 26, 34, c);
}

// ----- flowers and seasons: small paintings -------------------------------

void blossom(cairo_t* cr, const FaceStyle& s, double x, double y, double r, std::uint32_t petal,
             int petals) {
    for (int k = 0; k < petals; ++k) {
        const double a = -pi / 2 + k * 2 * pi / petals;
        circlePath(cr, x + std::cos(a) * r * 0.55, y + std::sin(a) * r * 0.55, r * 0.5);
    }
    paintPath(cr, s, petal);
    circlePath(cr, x, y, r * 0.28);
    rgb(cr, s.flat ? s.gold : 0xF2C94C);
    cairo_fill(cr);
}

void branch(cairo_t* cr, const std::vector<std::array<double, 2>>& points, double width,
            std::uint32_t colour) {
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, points.front()[0], points.front()[1]);
    for (std::size_t k = 1; k < points.size(); ++k) {
        cairo_line_to(cr, points[k][0], points[k][1]);
    }
    rgb(cr, colour);
    cairo_stroke(cr);
}

constexpr std::uint32_t kBark = 0x5A3A22;

void drawFlower(cairo_t* cr, const FaceStyle& s, int k) {
    switch (k) {
    case 0: // plum blossom on a bent branch
        branch(cr, {{6, 47}, {15, 36}, {13, 26}, {24, 16}, {33, 9}}, 2.2, kBark);
        branch(cr, {{15, 36}, {28, 33}}, 1.4, kBark);
        blossom(cr, s, 24, 17, 8, s.rose, 5);
        blossom(cr, s, 12, 28, 6.5, lighter(s.rose, 0.25), 5);
        blossom(cr, s, 29, 33, 6, s.rose, 5);
        circlePath(cr, 33, 8.5, 2);
        paintPath(cr, s, lighter(s.rose, 0.4));
        break;
    case 1: // orchid: sweeping leaves and two violet flowers
        leaf(cr, 20, 48, -pi * 0.62, 34, 3.2);
        leaf(cr, 20, 48, -pi * 0.42, 30, 3.0);
        leaf(cr, 18, 48, -pi * 0.8, 22, 2.6);
        paintPath(cr, s, s.green);
        for (const auto& [x, y] : std::array<std::array<double, 2>, 2>{{{13, 16}, {28, 22}}}) {
            for (int p = 0; p < 3; ++p) {
                leaf(cr, x, y, -pi / 2 + p * 2 * pi / 3, 7.5, 3.2);
            }
            paintPath(cr, s, 0x8A4FB5);
            circlePath(cr, x, y, 1.6);
            rgb(cr, 0xF2C94C);
            cairo_fill(cr);
        }
        break;
    case 2: // chrysanthemum: a full head of narrow petals on a stem
        branch(cr, {{20, 48}, {20, 30}}, 2, s.green);
        leaf(cr, 20, 42, -pi * 0.15, 10, 3.2);
        leaf(cr, 20, 38, -pi * 0.85, 10, 3.2);
        paintPath(cr, s, s.green);
        for (int p = 0; p < 18; ++p) {
            leaf(cr, 20, 20, p * 2 * pi / 18, 12.5, 1.9);
        }
        paintPath(cr, s, s.flat ? s.gold : 0xE7A21B);
        for (int p = 0; p < 12; ++p) {
            leaf(cr, 20, 20, p * 2 * pi / 12 + 0.2, 7, 1.7);
        }
        paintPath(cr, s, s.flat ? lighter(s.gold, 0.35) : 0xF6CF4E);
        break;
    default: // lotus on its pad
        cairo_save(cr);
        cairo_translate(cr, 20, 42);
        cairo_scale(cr, 1, 0.32);
        circlePath(cr, 0, 0, 16);
        cairo_restore(cr);
        paintPath(cr, s, s.green);
        for (const double a : {-0.95, -0.55, -0.2, 0.2, 0.55, 0.95}) {
            leaf(cr, 20, 36, -pi / 2 + a, 21 - std::abs(a) * 7, 5);
        }
        paintPath(cr, s, lighter(s.rose, 0.3));
        leaf(cr, 20, 36, -pi / 2, 21, 4.2);
        paintPath(cr, s, s.rose);
        break;
    }
}

void drawSeason(cairo_t* cr, const FaceStyle& s, int k) {
    switch (k) {
    case 0: { // spring: a sprout with two leaves and a bud
        cairo_save(cr);
        cairo_translate(cr, 20, 45);
        cairo_scale(cr, 1, 0.3);
        circlePath(cr, 0, 0, 12);
        cairo_restore(cr);
        paintPath(cr, s, kBark);
        branch(cr, {{20, 45}, {20, 18}}, 2.2, s.green);
        leaf(cr, 20, 30, -pi * 0.9, 14, 5);
        leaf(cr, 20, 24, -pi * 0.12, 14, 5);
        paintPath(cr, s, lighter(s.green, 0.2));
        circlePath(cr, 20, 14, 5);
        paintPath(cr, s, s.rose);
        break;
    }
    case 1: { // summer: the sun
        cairo_new_path(cr);
        for (int p = 0; p < 24; ++p) {
            const double a = p * pi / 12;
            const double r = p % 2 == 0 ? 17 : 11;
            cairo_line_to(cr, 20 + std::cos(a) * r, 26 + std::sin(a) * r);
        }
        cairo_close_path(cr);
        paintPath(cr, s, s.gold);
        circlePath(cr, 20, 26, 9);
        paintPath(cr, s, s.flat ? s.red : 0xE8601C);
        break;
    }
    case 2: { // autumn: a maple leaf
        cairo_new_path(cr);
        const std::array<double, 11> radii{17, 7, 13, 6, 11, 5, 11, 6, 13, 7, 17};
        for (std::size_t p = 0; p < radii.size(); ++p) {
            const double a = -pi / 2 + (static_cast<double>(p) - 5.0) * pi / 6.6;
            cairo_line_to(cr, 20 + std::cos(a) * radii.at(p), 25 + std::sin(a) * radii.at(p));
        }
        cairo_line_to(cr, 20, 31);
        cairo_close_path(cr);
        paintPath(cr, s, s.flat ? s.red : 0xC8431C);
        branch(cr, {{20, 31}, {20, 47}}, 1.6, kBark);
        branch(cr, {{20, 31}, {20, 13}}, 0.8, darker(s.red, 0.35));
        break;
    }
    default: { // winter: a snowflake
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int p = 0; p < 6; ++p) {
            const double a = p * pi / 3 - pi / 2;
            const double ca = std::cos(a);
            const double sa = std::sin(a);
            cairo_move_to(cr, 20, 26);
            cairo_line_to(cr, 20 + ca * 16, 26 + sa * 16);
            for (const double t : {7.0, 11.5}) {
                const double bx = 20 + ca * t;
                const double by = 26 + sa * t;
                for (const double turn : {-0.8, 0.8}) {
                    cairo_move_to(cr, bx, by);
                    cairo_line_to(cr, bx + std::cos(a + turn) * 5, by + std::sin(a + turn) * 5);
                }
            }
        }
        cairo_set_line_width(cr, 2.2);
        rgb(cr, s.blue);
        cairo_stroke(cr);
        circlePath(cr, 20, 26, 2.5);
        rgb(cr, s.blue);
        cairo_fill(cr);
        break;
    }
    }
}

// The corner number of a flower or a season, in every set: large and in a
// pale halo, so that it reads at the board's size over the picture.
void bonusNumber(cairo_t* cr, const FaceStyle& s, const Fonts& f, int k, std::uint32_t colour) {
    (s.flat ? f.black : f.bold).centred(cr, static_cast<char32_t>(U'1' + k), 33.5, 9, 15);
    rgb(cr, s.paper);
    cairo_set_line_width(cr, 2.6);
    cairo_stroke_preserve(cr);
    rgb(cr, darker(colour, 0.15));
    cairo_fill(cr);
}

// The large print's index in the top-left corner.
void cornerIndex(cairo_t* cr, const FaceStyle& s, const Fonts& f, const std::u32string& text,
                 std::uint32_t colour) {
    const double em = text.size() > 1 ? 10 : 13;
    double x = text.size() > 1 ? 6.5 : 7.5;
    for (const char32_t ch : text) {
        f.bold.centred(cr, ch, x, 8.5, em);
        x += em * 0.62;
    }
    // A pale halo keeps the index clear of the picture behind it.
    rgb(cr, s.paper);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke_preserve(cr);
    rgb(cr, colour);
    cairo_fill(cr);
}

void drawFace(cairo_t* cr, const FaceStyle& s, const Fonts& f, int suit, int idx) {
    const bool bonus = suit == 5 || suit == 6;
    const bool shrink = s.cornerIndex && !bonus;
    cairo_save(cr);
    if (shrink) {
        // Room for the index: the picture a little smaller, down and right.
        cairo_translate(cr, 5.5, 7.5);
        cairo_scale(cr, 0.84, 0.84);
    } else if (bonus) {
        // Room for the number: the painting a little smaller, down and left.
        cairo_translate(cr, 0.5, 7.0);
        cairo_scale(cr, 0.86, 0.86);
    }
    switch (suit) {
    case 0:
        drawDots(cr, s, idx + 1);
        break;
    case 1:
        drawBamboo(cr, s, idx + 1);
        break;
    case 2:
        drawCharacter(cr, s, f, idx + 1);
        break;
    case 3:
        drawWind(cr, s, f, idx);
        break;
    case 4:
        drawDragon(cr, s, f, idx);
        break;
    case 5:
        drawFlower(cr, s, idx);
        break;
    default:
        drawSeason(cr, s, idx);
        break;
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    if (suit == 5 || suit == 6) {
        bonusNumber(cr, s, f, idx, suit == 5 ? s.rose : s.gold);
    }
    if (s.cornerIndex && suit < 5) {
        static constexpr std::array<const char32_t*, 3> kDragonLetters{U"R", U"G", U"Wh"};
        const std::u32string text =
            suit <= 2   ? std::u32string(1, static_cast<char32_t>(U'1' + idx))
            : suit == 3 ? std::u32string(1, kWindLetters.at(static_cast<std::size_t>(idx)))
                        : std::u32string(kDragonLetters.at(static_cast<std::size_t>(idx)));
        const std::uint32_t colour = suit == 0   ? s.blue
                                     : suit == 1 ? s.green
                                     : suit == 2 ? s.red
                                                 : s.ink;
        cornerIndex(cr, s, f, text, colour);
    }
    if (s.set == TileSet::IvoryJade) {
        // The set's fine gold border, engraved just inside the face.
        roundRectPath(cr, 2.2, 2.2, kW - 4.4, kH - 4.4, 2.5);
        cairo_set_line_width(cr, 0.6);
        rgb(cr, s.gold, 0.75);
        cairo_stroke(cr);
    }
}

constexpr std::array<int, 7> kSuitSizes{9, 9, 9, 4, 3, 4, 4};

// ---------------------------------------------------------------------------
// Bodies, shadows and backgrounds
// ---------------------------------------------------------------------------

// The silhouette of a body: the face swept `depth` pixels down and right.
Shape sweptFace(double x, double y, double w, double h, double radius, double depth) {
    const Shape face = roundRect(x, y, w, h, radius);
    Shape swept;
    swept.left = x;
    swept.top = y;
    swept.right = x + w + depth;
    swept.bottom = y + h + depth;
    swept.distance = [face, depth](double px, double py) {
        double best = face(px, py);
        constexpr int kSteps = 24;
        for (int k = 1; k <= kSteps; ++k) {
            const double t = depth * k / kSteps;
            best = std::min(best, face(px - t, py - t));
        }
        return best;
    };
    return swept;
}

Pixmap bodyPixmap(int faceW, int faceH, int side, double radius, int scale) {
    const int w = (faceW + side) * scale;
    const int h = (faceH + side) * scale;
    const double fw = faceW * scale;
    const double fh = faceH * scale;
    const double r = radius * scale;
    const double depth = side * scale;
    Pixmap body(w, h);
    const Field whole = shapeMask(w, h, sweptFace(0.5, 0.5, fw - 1, fh - 1, r, depth - 1), 2);
    const Field face = shapeMask(w, h, roundRect(0.5, 0.5, fw - 1, fh - 1, r), 2);
    const Field edge = maskMinus(whole, face);
    // The edge: ivory for the first part of the depth, then the jade back,
    // the bottom in deeper shade than the right (the light is high).
    const Pixmap back = jade(w, h, 71U, jadeStone());
    const double ivoryDepth = depth * 0.6;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float cover = edge.at(x, y);
            if (cover <= 0.0F) {
                continue;
            }
            // How far back along the sweep this pixel lies, and which side.
            double t = depth;
            for (int k = 0; k <= 48; ++k) {
                const double s = depth * k / 48.0;
                if (face.at(static_cast<int>(x - s), static_cast<int>(y - s)) >= 0.5F) {
                    t = s;
                    break;
                }
            }
            const int fx = static_cast<int>(x - t);
            const bool bottom =
                face.at(fx, static_cast<int>(y - t + scale)) < 0.5F &&
                face.at(static_cast<int>(x - t + scale), static_cast<int>(y - t)) >= 0.5F;
            Rgba c = t < ivoryDepth ? hex(palette::ivoryShade) : back.at(x, y);
            if (t >= ivoryDepth && t < ivoryDepth + scale * 0.6) {
                c = hex(palette::jadeDark); // the seam between ivory and jade
            }
            c = shade(c, bottom ? -0.22F : -0.06F);
            // Round the corner where the edge leaves the face.
            c = shade(c, static_cast<float>(0.18 * std::max(0.0, 1.0 - t / (scale * 1.5))));
            body(x, y) = over(body.at(x, y), c, cover);
        }
    }
    // The face: ivory marble with a soft rounded rim, lit.
    Field heights = bevel(face, 2.2 * scale, 2.0 * scale);
    Pixmap stone = marble(w, h, 23U, ivoryMarble());
    for (Rgba& p : stone.pixels) {
        // Only a whisper of the veins: the faces must stay calm under the marks.
        p = mix(p, hex(palette::ivory), 0.7F);
    }
    paintLit(body, stone, face, heights, Lighting{0.4F, 0.3F, 26.0F});
    // A fine dark line around the whole tile keeps it clear on any ground.
    const Field rim = maskMinus(
        whole, shapeMask(w, h,
                         sweptFace(0.5 + scale * 0.6, 0.5 + scale * 0.6, fw - 1 - scale * 1.2,
                                   fh - 1 - scale * 1.2, r, depth - 1),
                         2));
    fill(body, rim, hex(palette::mahoganyDark, 0.55F));
    return body;
}

} // namespace

ColorImage drawTileBody() {
    return downsample(bodyPixmap(kW, kH, kSide, 3.5, kScale), kScale).toImage();
}

namespace {

// The shadow strips: a soft dark band that hugs a tile's top and left edges.
// The face's top-left corner sits at (kShadow, kShadow) of the picture.
ColorImage drawShadow() {
    const int s = TileMetrics::kShadow;
    const int w = kW + 2 * s;
    const int h = kH + 2 * s;
    ColorImage out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Distance outside the face box, and a fade at the far ends.
            const double dx = std::max(0.0, s - (x + 0.5));
            const double dy = std::max(0.0, s - (y + 0.5));
            const double d = std::sqrt(dx * dx + dy * dy) / s;
            const double endX = std::clamp((w - (x + 0.5)) / s, 0.0, 1.0);
            const double endY = std::clamp((h - (y + 0.5)) / s, 0.0, 1.0);
            const double a = 0.42 * std::pow(std::max(0.0, 1.0 - d), 1.6) * endX * endY;
            out.set(x, y, static_cast<std::uint32_t>(std::lround(a * 255.0)) << 24);
        }
    }
    return out;
}

// The preview's tile: a tiny ivory block, its quarters 5 x 6 pixels.
ColorImage drawPreviewTile() {
    constexpr int kPw = 12;
    constexpr int kPh = 16;
    const int w = kPw * kScale;
    const int h = kPh * kScale;
    Pixmap tile(w, h);
    const Field body = shapeMask(w, h, roundRect(0.5, 0.5, w - 1, h - 1, 1.2 * kScale));
    const Field face =
        shapeMask(w, h, roundRect(0.5, 0.5, w - 1 - kScale, h - 1 - kScale, 1.0 * kScale));
    fill(tile, body, hex(palette::jadeDark));
    fill(tile, maskMinus(body, shapeMask(w, h, roundRect(2.5 * kScale, 2.5 * kScale, w, h, 0))),
         hex(palette::ivoryShade));
    paintLit(tile, marble(w, h, 5U, ivoryMarble()), face, bevel(face, kScale * 1.2, kScale),
             Lighting{0.4F, 0.2F, 20.0F});
    const Field rim =
        maskMinus(body, shapeMask(w, h,
                                  roundRect(kScale * 0.9, kScale * 0.9, w - kScale * 1.8,
                                            h - kScale * 1.8, 1.0 * kScale)));
    fill(tile, rim, hex(palette::mahoganyDark, 0.6F));
    return downsample(tile, kScale).toImage();
}

// A preview's ground: a lit, framed panel of one of the house's materials.
ColorImage drawPreviewBackground(int k) {
    constexpr int kPw = 240;
    constexpr int kPh = 180;
    Pixmap ground;
    switch (k) {
    case 0:
        ground = felt(kPw, kPh, 301U, hex(0x1E5A40));
        break;
    case 1:
        ground = lacquer(kPw, kPh, 302U, redLacquer());
        break;
    case 2:
        ground = wood(kPw, kPh, 303U, mahoganyWood(), WoodGrain{11.0, 7.0, false});
        break;
    case 3:
        ground = paper(kPw, kPh, 304U, hex(palette::parchment));
        break;
    case 4:
        ground = felt(kPw, kPh, 305U, hex(0x22365E));
        break;
    default:
        ground = jade(kPw, kPh, 306U, jadeStone());
        break;
    }
    const Field all(kPw, kPh, 1.0F);
    const Field inner = shapeMask(kPw, kPh, roundRect(6, 6, kPw - 12, kPh - 12, 3));
    // A raised brass frame around a sunken field.
    Field heights = bevel(all, 6, 3);
    raise(heights, inner, cushion(inner, 2.0, -2.5));
    Pixmap out(kPw, kPh);
    paintLit(out, brushedMetal(kPw, kPh, 307U + static_cast<unsigned>(k), brassMetal()), all,
             heights, Lighting{0.55F, 0.6F, 18.0F});
    fill(out, inner, ground);
    light(out, heights, Lighting{0.3F, 0.15F, 20.0F});
    innerShadow(out, inner, 3.0, 2.0, 0.45F);
    vignette(out, 0.35F, 0.5F);
    return out.toImage();
}

// A recessed well of dark felt in a brass lip, `w` x `h`, the well at
// (x, y, ww, wh).
Pixmap sunkenWell(int w, int h, int x, int y, int ww, int wh, std::uint32_t seed) {
    Pixmap out(w, h);
    const Field lip = shapeMask(w, h, roundRect(x - 3, y - 3, ww + 6, wh + 6, 6));
    const Field well = shapeMask(w, h, roundRect(x, y, ww, wh, 4));
    castShadow(out, lip, Shadow{2.0, 1.5, 0.45F});
    paintLit(out, brushedMetal(w, h, seed, brassMetal()), lip, bevel(lip, 3, 2),
             Lighting{0.55F, 0.6F, 18.0F});
    fill(out, well, felt(w, h, seed + 1, hex(0x173F2E)));
    innerShadow(out, well, 3.0, 2.0, 0.55F);
    return out;
}

// The free cell: one slot, tiled by the side board; the tile stands 12
// pixels in from the slot's top-left corner.
ColorImage drawFreeCellSlot() {
    constexpr int kPad = 12;
    return sunkenWell(kPad + kW + kSide + 4, kPad + kH + kSide + 4, kPad - 4, kPad - 4,
                      kW + kSide + 7, kH + kSide + 7, 401U)
        .toImage();
}

// The rack of `columns` x `rows` twins: slots of one face each from 8 (14
// in Speed) pixels in, a well under them all.
ColorImage drawRack(int columns, int rows) {
    constexpr int kPad = 14;
    const int w = 2 * kPad + columns * kW + kSide;
    const int h = 2 * kPad + rows * kH + kSide;
    Pixmap rack = sunkenWell(w, h, 5, 5, w - 10, h - 10, 410U + static_cast<unsigned>(columns));
    // Faint grooves between the slots.
    Field grooves(w, h);
    for (int c = 1; c < columns; ++c) {
        const int gx = kPad + c * kW - 1;
        for (int y = 9; y < h - 9; ++y) {
            grooves(gx, y) = 1.0F;
        }
    }
    fill(rack, grooves, hex(0x000000, 0.25F));
    return rack.toImage();
}

} // namespace

int faceSheetX(int suit, int idx) {
    return (idx + (suit == 4 || suit == 6 ? 4 : 0)) * kW;
}

int faceSheetY(int suit) {
    static constexpr std::array<int, 7> kRows{0, 1, 2, 4, 4, 3, 3};
    return TileMetrics::kRowPitch * kRows.at(static_cast<std::size_t>(std::clamp(suit, 0, 6)));
}

ColorImage drawFaceSheet(TileSet set, const fs::path& fonts) {
    const Fonts f{GlyphFont(fonts / "truetype/arphic/ukai.ttc", 2),
                  GlyphFont(fonts / "opentype/linux-libertine/LinBiolinum_RB.otf", 0),
                  GlyphFont(fonts / "truetype/lato/Lato-Black.ttf", 0)};
    const FaceStyle style = styleOf(set);
    ColorImage big(TileMetrics::kSheetW * kScale, TileMetrics::kSheetH * kScale);
    {
        const CairoCanvas canvas(big);
        cairo_t* cr = canvas.cr();
        for (int suit = 0; suit < 7; ++suit) {
            for (int idx = 0; idx < kSuitSizes.at(static_cast<std::size_t>(suit)); ++idx) {
                cairo_save(cr);
                cairo_scale(cr, kScale, kScale);
                cairo_translate(cr, faceSheetX(suit, idx), faceSheetY(suit));
                cairo_rectangle(cr, 0, 0, kW, kH);
                cairo_clip(cr);
                drawFace(cr, style, f, suit, idx);
                cairo_restore(cr);
            }
        }
    }
    return downsample(Pixmap::fromImage(big), kScale).toImage();
}

std::vector<ColorImage> drawSmallTiles(const std::vector<std::array<int, 2>>& faces, int faceW,
                                       int faceH, const fs::path& fonts) {
    const Fonts f{GlyphFont(fonts / "truetype/arphic/ukai.ttc", 2),
                  GlyphFont(fonts / "opentype/linux-libertine/LinBiolinum_RB.otf", 0),
                  GlyphFont(fonts / "truetype/lato/Lato-Black.ttf", 0)};
    const FaceStyle style = styleOf(TileSet::Traditional);
    const int side = std::max(2, (kSide * faceW + kW / 2) / kW);
    const Pixmap body = bodyPixmap(faceW, faceH, side, 3.0, kScale);
    std::vector<ColorImage> tiles;
    for (const auto& [suit, idx] : faces) {
        ColorImage big = body.toImage();
        {
            const CairoCanvas canvas(big);
            cairo_t* cr = canvas.cr();
            cairo_scale(cr, static_cast<double>(kScale) * faceW / kW,
                        static_cast<double>(kScale) * faceH / kH);
            drawFace(cr, style, f, std::clamp(suit, 0, 6),
                     std::clamp(idx, 0, kSuitSizes.at(static_cast<std::size_t>(suit)) - 1));
        }
        tiles.push_back(downsample(Pixmap::fromImage(big), kScale).toImage());
    }
    return tiles;
}

ColorImage composeTile(const ColorImage& body, const ColorImage& sheet, int suit, int idx) {
    Pixmap tile = Pixmap::fromImage(body);
    composite(tile,
              crop(Pixmap::fromImage(sheet), faceSheetX(suit, idx), faceSheetY(suit), kW, kH));
    return tile.toImage();
}

namespace {

// A small board as the renderer lays it: bodies and faces in quarters,
// lower layers first, each layer shifted up and left.
ColorImage drawSampleBoard(const ColorImage& body, const ColorImage& shadow,
                           const ColorImage& sheet, int seed) {
    constexpr int kCols = 8;
    constexpr int kRows = 4;
    const int w = kCols * kW + 2 * kSide + 24;
    const int h = kRows * kH + 2 * kSide + 24;
    Pixmap board = felt(w, h, 500U, hex(0x1E5A40));
    vignette(board, 0.3F);
    const Pixmap bodyPix = Pixmap::fromImage(body);
    const Pixmap shadowPix = Pixmap::fromImage(shadow);
    const Pixmap sheetPix = Pixmap::fromImage(sheet);
    struct Placed {
        int col, row, layer, suit, idx;
    };
    std::vector<Placed> tiles;
    auto k = static_cast<std::uint32_t>(seed);
    const auto nextFace = [&k](int& suit, int& idx) {
        k = k * 1103515245U + 12345U;
        suit = static_cast<int>((k >> 8U) % 7U);
        idx = static_cast<int>(
            (k >> 16U) % static_cast<std::uint32_t>(kSuitSizes.at(static_cast<std::size_t>(suit))));
    };
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kCols; ++col) {
            Placed p{col, row, 0, 0, 0};
            nextFace(p.suit, p.idx);
            tiles.push_back(p);
        }
    }
    for (int row = 1; row < kRows - 1; ++row) {
        for (int col = 2; col < kCols - 2; ++col) {
            Placed p{col, row, 1, 0, 0};
            nextFace(p.suit, p.idx);
            tiles.push_back(p);
        }
    }
    for (const Placed& p : tiles) {
        const int x = 12 + kSide + p.col * kW - p.layer * kSide;
        const int y = 12 + kSide + p.row * kH - p.layer * kSide;
        // The shadow strips fall where nothing of the same layer stands.
        const int sh = TileMetrics::kShadow;
        const bool openTop = p.layer == 0 ? p.row == 0 : p.row == 1;
        const bool openLeft = p.layer == 0 ? p.col == 0 : p.col == 2;
        if (openTop) {
            composite(board, crop(shadowPix, 0, 0, shadowPix.width, 2 * sh), x - sh, y - sh);
        }
        if (openLeft) {
            const int from = openTop ? 2 * sh : sh;
            composite(board, crop(shadowPix, 0, from, 2 * sh, shadowPix.height - from), x - sh,
                      y - sh + from);
        }
        composite(board, bodyPix, x, y);
        composite(board, crop(sheetPix, faceSheetX(p.suit, p.idx), faceSheetY(p.suit), kW, kH), x,
                  y);
    }
    return board.toImage();
}

} // namespace

void addTileArt(MediaSet& media, const fs::path& fonts, Gallery& sheet) {
    const ColorImage body = drawTileBody();
    const ColorImage shadow = drawShadow();
    const ColorImage preview = drawPreviewTile();
    media.add("media/images/tiles/tile.png", encodePngColor(body));
    media.add("media/images/tiles/shadow.png", encodePngColor(shadow));
    media.add("media/images/tiles/tile_preview.png", encodePngColor(preview));

    static constexpr std::array<const char*, 4> kSetNames{
        "traditional", "large print with corner numbers and letters", "ivory and jade",
        "modern flat"};
    std::vector<ColorImage> boards;
    for (int set = 0; set < 4; ++set) {
        const ColorImage faces = drawFaceSheet(static_cast<TileSet>(set), fonts);
        media.add("media/images/tiles/symbols" + std::to_string(set + 1) + ".png",
                  encodePngColor(faces));
        // Every face of the set, each on its own tile.
        SheetRow row;
        row.title = std::string("Tile set ") + std::to_string(set + 1) + ", " +
                    kSetNames.at(static_cast<std::size_t>(set)) +
                    ": dots, bamboo, characters, winds, dragons, flowers, seasons";
        for (int suit = 0; suit < 7; ++suit) {
            for (int idx = 0; idx < kSuitSizes.at(static_cast<std::size_t>(suit)); ++idx) {
                row.pictures.push_back(composeTile(body, faces, suit, idx));
            }
        }
        sheet.rows.push_back(std::move(row));
        boards.push_back(drawSampleBoard(body, shadow, faces, 7 + set * 13));
    }
    sheet.rows.push_back({"A corner of a board in each set (two layers)", boards});

    std::vector<ColorImage> grounds;
    for (int k = 0; k < 6; ++k) {
        grounds.push_back(drawPreviewBackground(k));
        media.add("media/images/tiles/preview_background" + std::to_string(k + 1) + ".png",
                  encodePngColor(grounds.back()));
    }
    sheet.rows.push_back({"Layout preview grounds 1-6", grounds});

    const ColorImage slot = drawFreeCellSlot();
    media.add("media/images/tiles/sideboard_freecell_slot.png", encodePngColor(slot));
    SheetRow racks{"Tile body, its shadow, the preview tile, the free cell and the racks 2x1, 3x1, "
                   "4x1, 4x2",
                   {body, shadow, preview, slot}};
    for (const auto& [c, r] : std::array<std::array<int, 2>, 4>{{{2, 1}, {3, 1}, {4, 1}, {4, 2}}}) {
        racks.pictures.push_back(drawRack(c, r));
        media.add("media/images/tiles/sideboard_" + std::to_string(c) + "x" + std::to_string(r) +
                      ".png",
                  encodePngColor(racks.pictures.back()));
    }
    sheet.rows.push_back(std::move(racks));
}

} // namespace orv::media
