#include "tools/media/PlayingArt.h"

#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Noise.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv::media {

namespace {

constexpr double pi = 3.14159265358979323846;

constexpr Lighting metalLight{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting lacquerLight{0.55F, 0.55F, 34.0F, {1.0F, 0.96F, 0.86F, 1.0F}};
constexpr Lighting woodLight{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting stoneLight{0.5F, 0.45F, 28.0F, {1.0F, 1.0F, 0.95F, 1.0F}};

// The union of two shapes (their nearer edge); the box holds both.
Shape united(const Shape& a, const Shape& b) {
    Shape shape;
    shape.distance = [a, b](double x, double y) {
        return std::min(a(x, y), b(x, y));
    };
    shape.left = std::min(a.left, b.left);
    shape.top = std::min(a.top, b.top);
    shape.right = std::max(a.right, b.right);
    shape.bottom = std::max(a.bottom, b.bottom);
    return shape;
}

// The HUD's wooden furniture, grown inward by `inset` pixels less: the top
// band, the bottom band and the console. The outer sides run off the screen
// so that only the edges toward the cloth are edges.
Shape furniture(double inset) {
    const Shape top = roundRect(-40, -40, 880, 40 + hud::topBandHeight - inset, 0);
    const Shape bottom = roundRect(-40, hud::bottomBandTop + inset, hud::consoleLeft + 80, 100, 0);
    const Shape console = roundRect(hud::consoleLeft + inset, hud::consoleTop + inset, 160, 420, 8);
    return united(top, united(bottom, console));
}

// The cloth of each game type and the faint pattern woven into it.
struct ClothStyle {
    std::uint32_t base;
    std::uint32_t pattern;
    std::uint32_t seed;
};

constexpr std::array<ClothStyle, 6> kCloths{{
    {0x1E4A3A, 0x6FB08E, 11U}, // Classic: jade green, a lattice of interlocking squares
    {0x213553, 0x7E9CC8, 12U}, // FreeCell: ink blue, a diamond trellis
    {0x40233E, 0xB27BA8, 13U}, // Split: plum, split diagonal bands
    {0x1D4650, 0x7AB8BE, 14U}, // Triple: teal, a net of triangles
    {0x1A3A4A, 0x79B3C9, 15U}, // River: deep water, rolling waves
    {0x4A1F1A, 0xC9805F, 16U}, // Speed: lacquer red, chevrons
}};

// The pattern of game type `type` as a coverage mask over the whole screen.
Field clothPattern(int type, int w, int h) {
    return pathMask(w, h, [type, w, h](cairo_t* cr) {
        cairo_set_line_width(cr, 1.4);
        switch (type) {
        case 0: // interlocking squares, each rotated half a step
            for (int y = -40; y < h + 40; y += 56) {
                for (int x = -40; x < w + 40; x += 56) {
                    cairo_rectangle(cr, x + 8, y + 8, 40, 40);
                    cairo_rectangle(cr, x + 36, y + 36, 40, 40);
                }
            }
            cairo_stroke(cr);
            break;
        case 1: // a diamond trellis with a dot at each crossing
            for (int k = -h; k < w + h; k += 40) {
                cairo_move_to(cr, k, 0);
                cairo_line_to(cr, k + h, h);
                cairo_move_to(cr, k, h);
                cairo_line_to(cr, k + h, 0);
            }
            cairo_stroke(cr);
            for (int y = 0; y < h + 40; y += 40) {
                for (int x = (y / 40) % 2 == 0 ? 0 : 20; x < w + 40; x += 40) {
                    cairo_arc(cr, x, y, 2.2, 0, 2 * pi);
                    cairo_fill(cr);
                }
            }
            break;
        case 2: // bands of two thin lines, split by a gap
            for (int k = -h; k < w + h; k += 48) {
                for (const int d : {0, 6, 18}) {
                    cairo_move_to(cr, k + d, 0);
                    cairo_line_to(cr, k + d + h, h);
                }
            }
            cairo_stroke(cr);
            break;
        case 3: // a net of triangles
            for (int y = 0; y < h + 52; y += 52) {
                cairo_move_to(cr, 0, y);
                cairo_line_to(cr, w, y);
            }
            for (int k = -2 * h; k < w + 2 * h; k += 60) {
                cairo_move_to(cr, k, 0);
                cairo_line_to(cr, k + h * 30.0 / 52.0, h);
                cairo_move_to(cr, k, 0);
                cairo_line_to(cr, k - h * 30.0 / 52.0, h);
            }
            cairo_stroke(cr);
            break;
        case 4: // rolling waves in rows, every second row shifted
            for (int row = 0; row * 30 < h + 30; ++row) {
                const double y0 = row * 30.0;
                const double shift = row % 2 == 0 ? 0.0 : 30.0;
                for (int x = -60; x < w + 60; x += 60) {
                    const double x0 = x + shift;
                    cairo_move_to(cr, x0, y0 + 10);
                    cairo_curve_to(cr, x0 + 12, y0 - 4, x0 + 28, y0 - 4, x0 + 34, y0 + 8);
                    cairo_curve_to(cr, x0 + 30, y0 + 2, x0 + 22, y0 + 4, x0 + 24, y0 + 10);
                }
            }
            cairo_stroke(cr);
            break;
        default: // chevrons pointing right, in columns
            for (int x = -40; x < w + 40; x += 44) {
                for (int y = -40; y < h + 40; y += 28) {
                    cairo_move_to(cr, x, y);
                    cairo_line_to(cr, x + 14, y + 14);
                    cairo_line_to(cr, x, y + 28);
                }
            }
            cairo_stroke(cr);
            break;
        }
    });
}

// A seamless material tile repeated over a w x h picture: the materials
// repeat at their own size, so a small tile covers the screen for a
// fraction of the work.
Pixmap tiled(const Pixmap& tile, int w, int h) {
    Pixmap out(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out(x, y) = tile.at(x % tile.width, y % tile.height);
        }
    }
    return out;
}

// The weave of the cloth, shared by every game type: per pixel how far the
// cloth is lighter (positive) or darker than its colour, a fine nap over a
// faint mottle, repeating every 400 x 300 pixels.
Field clothWeave(int w, int h) {
    constexpr int tw = 400;
    constexpr int th = 300;
    Field tile(tw, th);
    for (int y = 0; y < th; ++y) {
        for (int x = 0; x < tw; ++x) {
            const float nap = fractalNoise(x + 0.5, y + 0.5, 17U, {1.5, 1.5, 2, 0.6F}, tw, th);
            const float mottle = fractalNoise(x + 0.5, y + 0.5, 20U, {36, 36, 3, 0.5F}, tw, th);
            tile(x, y) = (nap - 0.5F) * 0.16F + (mottle - 0.5F) * 0.08F;
        }
    }
    Field weave(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            weave(x, y) = tile.at(x % tw, y % th);
        }
    }
    return weave;
}

// The HUD's furniture on a transparent screen, with the shadow it casts on
// the cloth: mahogany with a rounded edge and a gold bead toward the cloth,
// and the console's two sunk channels where the bars stand.
Pixmap drawFurniture(int w, int h) {
    Pixmap picture(w, h);
    // The edges are straight but for the console's corners: two samples a
    // side are smooth enough.
    const Field body = shapeMask(w, h, furniture(0), 2);
    castShadow(picture, body, Shadow{6.0, 4.0, 0.55F});
    const Field heights = bevel(body, 7.0, 5.0, Profile::Round);
    paintLit(picture, tiled(wood(400, 200, 21U, mahoganyWood(), WoodGrain{10.0, 7.0, false}), w, h),
             body, heights, woodLight);
    const Field bead =
        maskMinus(shapeMask(w, h, furniture(2), 2), shapeMask(w, h, furniture(5), 2));
    paintLit(picture, tiled(brushedMetal(200, 100, 31U, goldMetal()), w, h), bead,
             bevel(bead, 1.5, 1.5, Profile::Bead), metalLight);
    for (const int x : {688, 744}) {
        const Field channel = shapeMask(w, h, roundRect(x, 288, 52, 236, 14));
        fill(picture, channel, hex(palette::mahoganyDark, 0.55F));
        innerShadow(picture, channel, 3.0, 2.0, 0.6F);
    }
    return picture;
}

// How far the cloth's inlay lies from the furniture and the screen's edges.
constexpr double kInlayMargin = 14.0;

// The cloth lying more than `margin` pixels inside the furniture and the
// screen's left and right edges.
Field clothInside(int w, int h, double margin) {
    const Field table = shapeMask(w, h, roundRect(margin, -40, w - 2 * margin, h + 80.0, 0), 2);
    return maskMinus(table, shapeMask(w, h, furniture(-margin), 2));
}

// Darkens the cloth outside `inside` by `amount`.
void darkenMargin(Pixmap& picture, const Field& inside, float amount) {
    Field margin(picture.width, picture.height, 1.0F);
    margin = maskMinus(margin, inside);
    fill(picture, blur(margin, 1.0), Rgba{0.0F, 0.0F, 0.0F, amount});
}

// A gold line inlaid in the cloth between two nested areas, lit as a bead.
void inlayLine(Pixmap& picture, const Field& outer, const Field& inner) {
    const int w = picture.width;
    const int h = picture.height;
    const Field line = maskMinus(outer, inner);
    castShadow(picture, line, Shadow{0.8, 0.6, 0.35F});
    paintLit(picture, tiled(brushedMetal(200, 100, 33U, goldMetal()), w, h), line,
             bevel(line, 0.9, 0.8, Profile::Bead), metalLight);
}

ColorImage drawPlayingBackground(int type, const Field& weave, const Pixmap& furnishing) {
    const int w = weave.width;
    const int h = weave.height;
    const ClothStyle& style = kCloths[static_cast<std::size_t>(type)];
    const Rgba base = hex(style.base);
    Pixmap picture(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            picture(x, y) = shade(base, weave.at(x, y));
        }
    }
    // The pattern is woven in faintly: it must never compete with the tiles.
    fill(picture, clothPattern(type, w, h), hex(style.pattern, 0.075F));
    // A soft lamp over the middle of the board and darker corners.
    lightPool(picture, 336, 300, 400, 290, hex(0xFFE2B0), 0.2F);
    vignette(picture, 0.5F, 0.35F);
    // The cloth is stretched in a table: a darker border of it runs along the
    // furniture and the screen's edges, set off by a double gold inlay.
    darkenMargin(picture, clothInside(w, h, kInlayMargin), 0.16F);
    inlayLine(picture, clothInside(w, h, kInlayMargin), clothInside(w, h, kInlayMargin + 1.8));
    inlayLine(picture, clothInside(w, h, kInlayMargin + 5.0),
              clothInside(w, h, kInlayMargin + 5.9));
    composite(picture, furnishing);
    return picture.toImage();
}

// A brass tube with a dark glass groove, 40 x 228; the fill picture stands
// in the groove at (8, 8), 24 x 212.
ColorImage drawTube(std::uint32_t seed) {
    constexpr int w = 40;
    constexpr int h = 228;
    Pixmap picture(w, h);
    const Field outer = shapeMask(w, h, roundRect(2, 1, 35, 224, 15));
    const Field groove = shapeMask(w, h, roundRect(7, 6, 26, 216, 12));
    castShadow(picture, outer, Shadow{3.0, 2.0, 0.5F});
    Field heights = bevel(outer, 5.0, 4.0, Profile::Bead);
    paintLit(picture, brushedMetal(w, h, seed, brassMetal(), false), outer, heights, metalLight);
    // The glass: nearly black, with a faint cold reflection down its left.
    Pixmap glass(w, h, hex(0x0E0705));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5 - 20.0) / 13.0;
            const float sheen =
                static_cast<float>(std::exp(-std::pow((u + 0.45) / 0.18, 2)) * 0.22);
            glass(x, y) = mix(glass.at(x, y), hex(0xBFD6D0), sheen);
        }
    }
    fill(picture, groove, glass);
    innerShadow(picture, groove, 3.0, 1.6, 0.8F);
    // Gold ticks on the rim every tenth of the way.
    const Field ticks = pathMask(w, h, [](cairo_t* cr) {
        for (int k = 1; k < 10; ++k) {
            const double y = 8 + 212.0 * k / 10.0;
            cairo_rectangle(cr, 3.5, y - 0.6, 3, 1.2);
            cairo_rectangle(cr, 33.5, y - 0.6, 3, 1.2);
        }
        cairo_fill(cr);
    });
    fill(picture, ticks, hex(palette::mahoganyDark, 0.7F));
    return picture.toImage();
}

// A tube's fill, 24 x 212: a column of coloured liquid lit as a cylinder,
// with a rounded foot that sits in the groove.
ColorImage drawFill(std::uint32_t dark, std::uint32_t mid, std::uint32_t light,
                    std::uint32_t seed) {
    constexpr int w = 24;
    constexpr int h = 212;
    Pixmap picture(w, h);
    const Field shape = shapeMask(w, h, roundRect(0, -20, w, h + 20, 11));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w * 2.0 - 1.0; // -1 left .. 1 right
            const double across = std::sqrt(std::max(0.0, 1.0 - u * u));
            Rgba c = mix(hex(dark), hex(mid), static_cast<float>(across));
            // The light comes from the upper left: a bright streak left of
            // the middle, and a faint rim light at the right.
            const double streak = std::exp(-std::pow((u + 0.38) / 0.16, 2));
            c = mix(c, hex(light), static_cast<float>(streak * 0.75));
            const float drift = fractalNoise(x, y * 0.35, seed, {6, 6, 2, 0.5F}) - 0.5F;
            c = shade(c, drift * 0.12F);
            c.a = shape.at(x, y);
            picture(x, y) = c;
        }
    }
    return picture.toImage();
}

// The height of the liquid's surface at column x of a fill `w` wide: a
// meniscus that climbs the glass at both sides.
double meniscus(double x, int w) {
    const double u = (x + 0.5) / w * 2.0 - 1.0;
    return 4.0 - 3.0 * u * u;
}

// The alpha of the fill's top edge, 24 x 10: clear above the meniscus.
ColorImage drawTopMask(int w) {
    ColorImage image(w, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < w; ++x) {
            const double a = std::clamp(y + 1.0 - meniscus(x, w), 0.0, 1.0);
            image.set(x, y, (static_cast<std::uint32_t>(std::lround(a * 255)) << 24) | 0xFFFFFFU);
        }
    }
    return image;
}

// The bright line along the surface, 24 x 6.
ColorImage drawTopLine(int w, std::uint32_t colour) {
    Pixmap picture(w, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < w; ++x) {
            const double d = y + 0.5 - (meniscus(x, w) + 0.4);
            Rgba c = hex(colour);
            c.a = static_cast<float>(std::exp(-d * d / 0.9) * 0.9);
            picture(x, y) = c;
        }
    }
    return picture.toImage();
}

constexpr int kClock = 56;

// The clock face over the time bar, 56 x 56: a brass rim, an ivory dial with
// twelve marks and an hour hand; the sweeping hand is a sprite of its own.
ColorImage drawClock() {
    constexpr int s = 4;
    constexpr int n = kClock * s;
    constexpr double c = n / 2.0;
    Pixmap picture(n, n);
    const Field rim = shapeMask(n, n, ellipse(c, c, 25.0 * s, 25.0 * s));
    const Field dial = shapeMask(n, n, ellipse(c, c, 19.5 * s, 19.5 * s));
    castShadow(picture, rim, Shadow{3.0 * s, 2.0 * s, 0.5F});
    paintLit(picture, brushedMetal(n, n, 61U, goldMetal()), rim,
             bevel(rim, 6.0 * s, 4.0 * s, Profile::Bead), metalLight);
    Field dialHeight = cushion(dial, 6.0 * s, 2.0 * s);
    paintLit(picture, marble(n, n, 63U, ivoryMarble()), dial, dialHeight, stoneLight);
    innerShadow(picture, dial, 2.0 * s, 1.5 * s, 0.45F);
    const Field marks = pathMask(n, n, [](cairo_t* cr) {
        for (int k = 0; k < 12; ++k) {
            const double a = k * pi / 6;
            const double r0 = (k % 3 == 0 ? 13.0 : 15.0) * s;
            const double r1 = 17.5 * s;
            cairo_set_line_width(cr, (k % 3 == 0 ? 2.2 : 1.3) * s);
            cairo_move_to(cr, c + std::sin(a) * r0, c - std::cos(a) * r0);
            cairo_line_to(cr, c + std::sin(a) * r1, c - std::cos(a) * r1);
            cairo_stroke(cr);
        }
        // The hour hand, resting at ten.
        const double a = -2 * pi / 12 * 2;
        cairo_set_line_width(cr, 2.4 * s);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + std::sin(a) * 9.0 * s, c - std::cos(a) * 9.0 * s);
        cairo_stroke(cr);
    });
    fill(picture, marks, hex(palette::ink));
    return downsample(picture, s).toImage();
}

// The sweeping hand, 36 frames of 56 x 56 stacked downward, 10 degrees apart
// clockwise from twelve, with its gold cap.
ColorImage drawClockHand() {
    constexpr int s = 2;
    constexpr int n = kClock * s;
    constexpr double c = n / 2.0;
    constexpr int frames = 36;
    ColorImage strip(kClock, kClock * frames);
    const Pixmap gold = brushedMetal(n, n, 67U, goldMetal());
    const Field cap = shapeMask(n, n, ellipse(c, c, 2.8 * s, 2.8 * s));
    const Field capHeight = cushion(cap, 1.0 * s, 1.5 * s);
    for (int f = 0; f < frames; ++f) {
        const double a = f * 2 * pi / frames;
        Pixmap frame(n, n);
        const Field hand = pathMask(n, n, [a](cairo_t* cr) {
            const double dx = std::sin(a);
            const double dy = -std::cos(a);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_width(cr, 1.6 * s);
            cairo_move_to(cr, c - dx * 4.0 * s, c - dy * 4.0 * s);
            cairo_line_to(cr, c + dx * 16.5 * s, c + dy * 16.5 * s);
            cairo_stroke(cr);
        });
        castShadow(frame, hand, Shadow{1.5 * s, 0.8 * s, 0.35F});
        fill(frame, hand, hex(palette::vermilion));
        paintLit(frame, gold, cap, capHeight, metalLight);
        const ColorImage small = downsample(frame, s).toImage();
        for (int y = 0; y < kClock; ++y) {
            for (int x = 0; x < kClock; ++x) {
                strip.set(x, f * kClock + y, small.at(x, y));
            }
        }
    }
    return strip;
}

// The warning halo round the clock, 96 x 96: a red ring of light.
ColorImage drawClockGlow() {
    constexpr int n = 96;
    Pixmap picture(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double r = std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0);
            const double ring = std::exp(-std::pow((r - 27.0) / 8.0, 2));
            Rgba c = mix(hex(palette::vermilion), hex(palette::goldLight),
                         static_cast<float>(std::exp(-std::pow((r - 26.0) / 3.0, 2)) * 0.5));
            c.a = static_cast<float>(std::min(1.0, ring * 0.95));
            picture(x, y) = c;
        }
    }
    return picture.toImage();
}

constexpr int kBox = 64;

// The box that holds the next bonus, 64 x 64, in 6 frames stacked downward:
// at rest, then a flash that swells to white-hot gold and fades.
ColorImage drawBox() {
    constexpr std::array<float, 6> flash{0.0F, 0.35F, 0.7F, 1.0F, 0.7F, 0.35F};
    constexpr int s = 2;
    constexpr int n = kBox * s;
    const Field rim = shapeMask(n, n, roundRect(4 * s, 4 * s, 55 * s, 55 * s, 11 * s));
    const Field well = shapeMask(n, n, roundRect(10 * s, 10 * s, 43 * s, 43 * s, 7 * s));
    Field heights = bevel(rim, 6.0 * s, 4.0 * s, Profile::Round);
    raise(heights, well, cushion(well, 3.0 * s, -3.0 * s));
    const Pixmap gold = brushedMetal(n, n, 71U, goldMetal());
    const Pixmap field =
        lacquer(n, n, 73U, LacquerPalette{hex(0x240805), hex(palette::lacquerDark)});
    ColorImage strip(kBox, kBox * static_cast<int>(flash.size()));
    for (std::size_t f = 0; f < flash.size(); ++f) {
        Pixmap frame(n, n);
        if (flash[f] > 0) {
            glow(frame, rim, 4.0 * s, hex(palette::goldLight), flash[f]);
        } else {
            castShadow(frame, rim, Shadow{3.0 * s, 2.0 * s, 0.5F});
        }
        paintLit(frame, gold, rim, heights, metalLight);
        paintLit(frame, field, well, heights, lacquerLight);
        innerShadow(frame, well, 3.0 * s, 2.0 * s, 0.6F);
        if (flash[f] > 0) {
            fill(frame, rim, hex(palette::goldLight, flash[f] * 0.55F));
            fill(frame, well, hex(palette::gold, flash[f] * 0.35F));
        }
        const ColorImage small = downsample(frame, s).toImage();
        for (int y = 0; y < kBox; ++y) {
            for (int x = 0; x < kBox; ++x) {
                strip.set(x, static_cast<int>(f) * kBox + y, small.at(x, y));
            }
        }
    }
    return strip;
}

constexpr int kSun = 128;

// Rays of light behind the box when a bonus is paid, 128 x 128, 8 frames
// stacked downward that turn the sixteen rays by one ray's width in all.
ColorImage drawSunshine() {
    constexpr int frames = 8;
    constexpr int rays = 16;
    ColorImage strip(kSun, kSun * frames);
    for (int f = 0; f < frames; ++f) {
        const double turn = 2 * pi / rays * f / frames;
        for (int y = 0; y < kSun; ++y) {
            for (int x = 0; x < kSun; ++x) {
                const double dx = x + 0.5 - kSun / 2.0;
                const double dy = y + 0.5 - kSun / 2.0;
                const double r = std::hypot(dx, dy);
                const double a = std::atan2(dy, dx) - turn;
                const double ray = std::pow(0.5 + 0.5 * std::cos(a * rays), 6);
                const double fade = std::clamp(1.0 - (r - 18.0) / 46.0, 0.0, 1.0);
                const double core = std::exp(-r * r / (2 * 22.0 * 22.0));
                const double alpha = std::min(1.0, ray * fade * 0.85 + core * 0.6);
                Rgba c = mix(hex(palette::gold), hex(palette::goldLight),
                             static_cast<float>(core * 0.8 + 0.2));
                c.a = static_cast<float>(alpha * std::clamp((64.0 - r) / 6.0, 0.0, 1.0));
                strip.set(x, f * kSun + y, c.a > 0 ? toPixel(c) : 0U);
            }
        }
    }
    return strip;
}

constexpr int kRing = 64;

// The multiplier's countdown ring, 64 x 64: a gold ring lit as a bead.
ColorImage drawRing() {
    constexpr int s = 4;
    constexpr int n = kRing * s;
    constexpr double c = n / 2.0;
    Pixmap picture(n, n);
    const Field ring = maskMinus(shapeMask(n, n, ellipse(c, c, 30.0 * s, 30.0 * s)),
                                 shapeMask(n, n, ellipse(c, c, 23.0 * s, 23.0 * s)));
    paintLit(picture, brushedMetal(n, n, 79U, goldMetal()), ring,
             bevel(ring, 3.5 * s, 3.0 * s, Profile::Bead), metalLight);
    return downsample(picture, s).toImage();
}

// The order in which the ring empties: grey by the angle clockwise from
// twelve o'clock, highest just after twelve, so that the ring is eaten
// clockwise from the top as the countdown runs.
GreyImage drawRingThreshold() {
    GreyImage map(kRing, kRing);
    for (int y = 0; y < kRing; ++y) {
        for (int x = 0; x < kRing; ++x) {
            const double dx = x + 0.5 - kRing / 2.0;
            const double dy = y + 0.5 - kRing / 2.0;
            double turn = std::atan2(dx, -dy) / (2 * pi); // 0 at twelve, clockwise
            if (turn < 0) {
                turn += 1.0;
            }
            map.set(x, y, static_cast<std::uint8_t>(std::lround((1.0 - turn) * 254.0)));
        }
    }
    return map;
}

// The plate under the ring, 72 x 72: a lacquer disc sunk into the console
// with a dark groove for the ring.
ColorImage drawRingPlate() {
    constexpr int s = 2;
    constexpr int n = 72 * s;
    constexpr double c = n / 2.0;
    Pixmap picture(n, n);
    const Field disc = shapeMask(n, n, ellipse(c, c, 35.0 * s, 35.0 * s));
    const Field groove = maskMinus(shapeMask(n, n, ellipse(c, c, 31.5 * s, 31.5 * s)),
                                   shapeMask(n, n, ellipse(c, c, 21.5 * s, 21.5 * s)));
    castShadow(picture, disc, Shadow{2.0 * s, 2.0 * s, 0.45F});
    Field heights = bevel(disc, 4.0 * s, 3.0 * s, Profile::Round);
    raise(heights, groove, cushion(groove, 2.0 * s, -2.5 * s));
    paintLit(picture, lacquer(n, n, 83U, redLacquer()), disc, heights, lacquerLight);
    fill(picture, groove, hex(palette::mahoganyDark, 0.7F));
    innerShadow(picture, groove, 2.0 * s, 1.5 * s, 0.6F);
    return downsample(picture, s).toImage();
}

// The trail spark, 16 x 16 in 4 frames stacked downward: a four-pointed
// star that flares and shrinks.
ColorImage drawStar() {
    constexpr int size = 16;
    constexpr std::array<double, 4> reach{5.0, 7.5, 6.0, 3.5};
    ColorImage strip(size, size * static_cast<int>(reach.size()));
    for (std::size_t f = 0; f < reach.size(); ++f) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double dx = std::abs(x + 0.5 - size / 2.0);
                const double dy = std::abs(y + 0.5 - size / 2.0);
                const double arms =
                    std::max(std::exp(-dy * dy / 0.8) * std::max(0.0, 1 - dx / reach[f]),
                             std::exp(-dx * dx / 0.8) * std::max(0.0, 1 - dy / reach[f]));
                const double core = std::exp(-(dx * dx + dy * dy) / (reach[f] * 0.5));
                Rgba c = mix(hex(palette::gold), hex(0xFFFFFF), static_cast<float>(core));
                c.a = static_cast<float>(std::min(1.0, arms + core));
                strip.set(x, static_cast<int>(f) * size + y, c.a > 0.004F ? toPixel(c) : 0U);
            }
        }
    }
    return strip;
}

// The first frame of a strip of frames stacked downward.
ColorImage firstFrame(const ColorImage& strip, int height) {
    ColorImage image(strip.width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < strip.width; ++x) {
            image.set(x, y, strip.at(x, y));
        }
    }
    return image;
}

ColorImage fromGrey(const GreyImage& grey) {
    ColorImage image(grey.width, grey.height);
    for (int y = 0; y < grey.height; ++y) {
        for (int x = 0; x < grey.width; ++x) {
            const std::uint32_t v = grey.at(x, y);
            image.set(x, y, 0xFF000000U | (v << 16) | (v << 8) | v);
        }
    }
    return image;
}

} // namespace

std::array<ColorImage, 6> drawPlayingBackgrounds() {
    constexpr int w = 800;
    constexpr int h = 600;
    const Field weave = clothWeave(w, h);
    const Pixmap furnishing = drawFurniture(w, h);
    std::array<ColorImage, 6> backgrounds;
    for (int type = 0; type < 6; ++type) {
        backgrounds[static_cast<std::size_t>(type)] =
            drawPlayingBackground(type, weave, furnishing);
    }
    return backgrounds;
}

BarPieces drawBarPieces() {
    BarPieces p;
    p.timeTube = drawTube(91U);
    p.timeFill = drawFill(0x0F3A2A, palette::jadeDark, 0xA8E0C4, 93U);
    p.timeTopMask = drawTopMask(24);
    p.timeTop = drawTopLine(24, 0xD8F5E6);
    p.clock = drawClock();
    p.clockHand = drawClockHand();
    p.clockGlow = drawClockGlow();
    p.bonusTube = drawTube(95U);
    p.bonusFill = drawFill(palette::goldDeep, palette::gold, palette::goldLight, 97U);
    p.box = drawBox();
    p.sunshine = drawSunshine();
    p.ring = drawRing();
    p.ringThreshold = drawRingThreshold();
    p.ringPlate = drawRingPlate();
    p.star = drawStar();
    return p;
}

void addPlayingArt(MediaSet& media, Gallery& sheet) {
    const std::array<ColorImage, 6> backgrounds = drawPlayingBackgrounds();
    for (std::size_t k = 0; k < backgrounds.size(); ++k) {
        media.add("media/images/game/background" + std::to_string(k + 1) + ".jpg",
                  encodeJpeg(backgrounds[k], 86));
    }
    const BarPieces p = drawBarPieces();
    const std::string g = "media/images/game/";
    const std::vector<std::pair<std::string, const ColorImage*>> pictures{
        {"timebar_tube.png", &p.timeTube},        {"timebar_fill.png", &p.timeFill},
        {"timebar_top_mask.png", &p.timeTopMask}, {"timebar_top.png", &p.timeTop},
        {"timebar_clock.png", &p.clock},          {"timebar_hand.png", &p.clockHand},
        {"timebar_glow.png", &p.clockGlow},       {"bonusbar_tube.png", &p.bonusTube},
        {"bonusbar_fill.png", &p.bonusFill},      {"bonusbar_box.png", &p.box},
        {"bonusbar_sunshine.png", &p.sunshine},   {"countdown_ring.png", &p.ring},
        {"countdown_plate.png", &p.ringPlate},    {"bonus_star.png", &p.star}};
    for (const auto& [name, picture] : pictures) {
        media.add(g + name, encodePngColor(*picture));
    }
    media.add(g + "countdown_threshold.png", encodePngGrey(p.ringThreshold));

    SheetRow row{"Playing screen: cloths of the six game types, the time and bonus bars' pieces",
                 {}};
    for (const ColorImage& background : backgrounds) {
        ColorImage thumb(100, 75);
        for (int y = 0; y < 75; ++y) {
            for (int x = 0; x < 100; ++x) {
                thumb.set(x, y, background.at(x * 8, y * 8));
            }
        }
        row.pictures.push_back(std::move(thumb));
    }
    for (const ColorImage* picture : {&p.timeTube, &p.timeFill, &p.bonusTube, &p.bonusFill}) {
        row.pictures.push_back(*picture);
    }
    row.pictures.push_back(p.clock);
    row.pictures.push_back(firstFrame(p.clockHand, kClock));
    row.pictures.push_back(p.clockGlow);
    row.pictures.push_back(firstFrame(p.box, kBox));
    row.pictures.push_back(firstFrame(p.sunshine, kSun));
    row.pictures.push_back(p.ringPlate);
    row.pictures.push_back(p.ring);
    row.pictures.push_back(fromGrey(p.ringThreshold));
    sheet.rows.push_back(std::move(row));
}

} // namespace orv::media
