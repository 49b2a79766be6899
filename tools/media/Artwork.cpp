#include "tools/media/Artwork.h"

#include "tools/media/FontBaker.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <algorithm>
#include <cmath>

namespace orv::media {

namespace {

constexpr double pi = 3.14159265358979323846;

// Sets `height` to `level` where `mask` covers (a flat surface at that level).
void level(Field& height, const Field& mask, float value) {
    for (std::size_t i = 0; i < height.values.size(); ++i) {
        height.values[i] += (value - height.values[i]) * mask.values[i];
    }
}

// How polished surfaces answer the light: lacquer and gold gleam, wood less.
constexpr Lighting lacquerLight{0.55F, 0.55F, 34.0F, {1.0F, 0.96F, 0.86F, 1.0F}};
constexpr Lighting goldLight{0.6F, 0.7F, 18.0F, {1.0F, 0.98F, 0.85F, 1.0F}};
constexpr Lighting woodLight{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting stoneLight{0.5F, 0.45F, 28.0F, {1.0F, 1.0F, 0.95F, 1.0F}};

// One frame of a strip of four: normal, over, pressed, disabled.
enum class State { Normal, Over, Pressed, Disabled };

State stateOf(int frame) {
    return static_cast<State>(frame);
}

void greyOut(Pixmap& picture) {
    for (Rgba& c : picture.pixels) {
        const float alpha = c.a;
        c = shade(desaturate(c, 0.85F), 0.18F);
        c.a = alpha;
    }
}

// Four frames stacked into one strip.
ColorImage stack(const std::array<Pixmap, 4>& frames) {
    Pixmap strip(frames[0].width, frames[0].height * 4);
    for (int k = 0; k < 4; ++k) {
        composite(strip, frames[static_cast<std::size_t>(k)], 0, k * frames[0].height);
    }
    return strip.toImage();
}

// ---------------------------------------------------------------------------
// The dialog frame's profile across the rim, by depth from its outer edge:
// colour and height (pixels above the page).

struct RimPoint {
    Rgba color;
    float height;
};

RimPoint rimProfile(double depth) {
    const Rgba outline = hex(palette::mahoganyDark);
    if (depth < 1.3) {
        return {outline, static_cast<float>(depth / 1.3) * 0.8F};
    }
    if (depth < 10.0) {
        // A raised cushion of red lacquer.
        const double t = (depth - 1.3) / 8.7;
        const auto bulge = static_cast<float>(std::sin(t * pi));
        return {mix(hex(palette::lacquerDark), hex(palette::lacquer), 0.35F + 0.3F * bulge),
                0.8F + 2.8F * std::sqrt(bulge)};
    }
    if (depth < 13.2) {
        // A round gold bead.
        const double t = (depth - 10.0) / 3.2;
        return {hex(palette::gold), 0.8F + 1.6F * static_cast<float>(std::sin(t * pi))};
    }
    if (depth < 14.4) {
        return {outline, 0.5F};
    }
    // The page, in the shadow the rim casts onto it.
    const auto shadow = static_cast<float>(std::exp(-(depth - 14.4) / 2.6)) * 0.32F;
    return {shade(hex(palette::parchment), -shadow), 0.0F};
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
    // middle slices of its sides are the edge tiles; the rim's colour and
    // height depend only on the depth from its edge, so every slice repeats
    // without a seam. The rim is 24 pixels deep; its shadow falls within 2
    // pixels at the top and left and 4 at the bottom and right (the light is
    // at the upper left), so the pieces of those sides are 26 and 28 deep.
    constexpr int nearMargin = 2;
    constexpr int farMargin = 4;
    constexpr int nearBand = 24 + nearMargin;
    constexpr int farBand = 24 + farMargin;
    constexpr int middle = 8;
    constexpr int size = nearBand + middle + farBand;
    const Shape rim = roundRect(nearMargin, nearMargin, size - nearMargin - farMargin,
                                size - nearMargin - farMargin, 12);
    const Field outer = shapeMask(size, size, rim);
    Pixmap master(size, size);
    castShadow(master, outer, Shadow{1.6, 1.0, 0.55F});

    // The rim, sampled 4 x 4 per pixel for clean zone borders, then lit.
    constexpr int samples = 4;
    Pixmap body(size, size);
    Field height(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float r = 0, g = 0, b = 0, h = 0;
            int inside = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const double depth = -rim(x + (i + 0.5) / samples, y + (j + 0.5) / samples);
                    if (depth < 0) {
                        continue;
                    }
                    const RimPoint p = rimProfile(depth);
                    r += p.color.r;
                    g += p.color.g;
                    b += p.color.b;
                    h += p.height;
                    ++inside;
                }
            }
            if (inside > 0) {
                const auto n = static_cast<float>(inside);
                body(x, y) = {r / n, g / n, b / n, n / (samples * samples)};
                height(x, y) = h / n;
            }
        }
    }
    light(body, height, lacquerLight);
    composite(master, body);

    constexpr int far = nearBand + middle;
    const auto piece = [&master](int x, int y, int w, int h) {
        return crop(master, x, y, w, h).toImage();
    };
    std::array<ColorImage, 9> pieces;
    pieces[0] = piece(0, 0, nearBand, nearBand);
    pieces[1] = piece(nearBand, 0, middle, nearBand);
    pieces[2] = piece(far, 0, farBand, nearBand);
    pieces[3] = piece(0, nearBand, nearBand, middle);
    pieces[5] = piece(far, nearBand, farBand, middle);
    pieces[6] = piece(0, far, nearBand, farBand);
    pieces[7] = piece(nearBand, far, middle, farBand);
    pieces[8] = piece(far, far, farBand, farBand);
    // The page: parchment that repeats every 64 pixels.
    pieces[4] = paper(64, 64, 7U, hex(palette::parchment)).toImage();
    return pieces;
}

ColorImage drawButtonStrip(int width, int height) {
    std::array<Pixmap, 4> frames;
    // The face sits 1 pixel from the top and 5 above the bottom, where its
    // shadow falls; the gold rim is 3 pixels wide around a jade cushion.
    const double faceW = width - 4.0;
    const double faceH = height - 5.0;
    const double radius = std::min(13.0, faceH / 2 - 2);
    const Field outer = shapeMask(width, height, roundRect(2, 1, faceW, faceH, radius));
    const Field inner = shapeMask(width, height, roundRect(5, 4, faceW - 6, faceH - 6, radius - 3));
    const Field outline = maskMinus(
        outer, shapeMask(width, height, roundRect(3, 2, faceW - 2, faceH - 2, radius - 1)));
    const Field gloss = maskIntersection(
        inner, shapeMask(width, height,
                         ellipse(width / 2.0, 1 + faceH * 0.16, faceW * 0.46, faceH * 0.42)));
    const Pixmap gold = brushedMetal(width, height, 41U, goldMetal());
    for (int frame = 0; frame < 4; ++frame) {
        const State state = stateOf(frame);
        const bool pressed = state == State::Pressed;
        Pixmap picture(width, height);
        castShadow(picture, outer, Shadow{pressed ? 0.8 : 2.0, 1.3, 0.5F});

        // Heights: a round gold rim, then the jade cushion, dished when pressed.
        Field heights = bevel(outer, 3.0, 2.0);
        raise(heights, inner, cushion(inner, 4.0, pressed ? -3.0 : 4.0));
        StonePalette stone = jadeStone();
        if (state == State::Over) {
            stone = {shade(stone.ground, 0.12F), shade(stone.vein, 0.14F)};
        } else if (pressed) {
            stone = {shade(stone.ground, -0.15F), shade(stone.vein, -0.12F)};
        }
        Pixmap face = jade(width, height, 17U, stone);
        // Lit from above: a lighter top, a deeper bottom.
        for (int y = 0; y < height; ++y) {
            const float v = static_cast<float>(y - 1) / static_cast<float>(faceH);
            for (int x = 0; x < width; ++x) {
                face(x, y) = shade(face.at(x, y), pressed ? (v - 0.5F) * 0.25F : (0.5F - v) * 0.3F);
            }
        }
        Pixmap rim = gold;
        if (state == State::Over) {
            for (Rgba& c : rim.pixels) {
                c = shade(c, 0.15F);
            }
        }
        Pixmap body(width, height);
        paintLit(body, rim, outer, heights, goldLight);
        paintLit(body, face, inner, heights, stoneLight);
        if (!pressed) {
            fill(body, gloss, Rgba{1.0F, 1.0F, 0.96F, state == State::Over ? 0.2F : 0.15F});
        }
        fill(body, outline, hex(palette::mahoganyDark, 0.85F));
        if (state == State::Disabled) {
            greyOut(body);
        }
        composite(picture, body);
        frames[static_cast<std::size_t>(frame)] = std::move(picture);
    }
    return stack(frames);
}

ColorImage drawWindowButton(WindowButton kind) {
    constexpr int width = 26;
    constexpr int height = 22;
    // Drawn four times larger and shrunk, so the small symbols stay crisp.
    constexpr int scale = 4;
    constexpr int w = width * scale;
    constexpr int h = height * scale;
    const Field outer = shapeMask(w, h, roundRect(4, 4, w - 8.0, h - 8.0, 20));
    const Field inner = shapeMask(w, h, roundRect(10, 10, w - 20.0, h - 20.0, 14));
    const Field outline =
        maskMinus(outer, shapeMask(w, h, roundRect(8, 8, w - 16.0, h - 16.0, 16)));
    const Field symbol = pathMask(w, h, [kind](cairo_t* cr) {
        cairo_scale(cr, scale, scale);
        cairo_translate(cr, -0.5, -0.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 2.2);
        switch (kind) {
        case WindowButton::Minimize:
            cairo_move_to(cr, 8.5, 15);
            cairo_line_to(cr, 17.5, 15);
            break;
        case WindowButton::Restore:
            cairo_set_line_width(cr, 1.6);
            cairo_rectangle(cr, 10.5, 5.5, 8, 7);
            cairo_stroke(cr);
            cairo_rectangle(cr, 7.5, 9.5, 8, 7);
            break;
        case WindowButton::Quit:
            cairo_move_to(cr, 8.5, 6.5);
            cairo_line_to(cr, 17.5, 15.5);
            cairo_move_to(cr, 17.5, 6.5);
            cairo_line_to(cr, 8.5, 15.5);
            break;
        }
        cairo_stroke(cr);
    });
    const Pixmap gold = brushedMetal(w, h, 43U, goldMetal());
    std::array<Pixmap, 4> frames;
    for (int frame = 0; frame < 4; ++frame) {
        const State state = stateOf(frame);
        const bool over = state == State::Over;
        const bool pressed = state == State::Pressed;
        Field heights = bevel(outer, 6.0, 5.0);
        raise(heights, inner, cushion(inner, 10.0, pressed ? -8.0 : 10.0));
        LacquerPalette coat = redLacquer();
        if (kind == WindowButton::Quit && over) {
            coat = {shade(hex(palette::vermilion), -0.2F), hex(palette::vermilion)};
        } else if (over) {
            coat = {shade(coat.deep, 0.12F), shade(coat.bright, 0.14F)};
        }
        Pixmap body(w, h);
        paintLit(body, gold, outer, heights, goldLight);
        paintLit(body, lacquer(w, h, 5U, coat), inner, heights, lacquerLight);
        fill(body, outline, hex(palette::mahoganyDark, 0.9F));
        // The gold symbol stands on the lacquer and casts a small shadow.
        const double shift = pressed ? scale : 0.0;
        Field mark(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                mark(x, y) = symbol.at(x - static_cast<int>(shift), y - static_cast<int>(shift));
            }
        }
        castShadow(body, mark, Shadow{3.0, 2.5, 0.7F, hex(palette::mahoganyDark)});
        Pixmap ink = brushedMetal(w, h, 47U, goldMetal());
        if (over) {
            for (Rgba& c : ink.pixels) {
                c = shade(c, 0.25F);
            }
        }
        paintLit(body, ink, mark, cushion(mark, 2.5, 5.0), goldLight);
        if (state == State::Disabled) {
            greyOut(body);
        }
        frames[static_cast<std::size_t>(frame)] = downsample(body, scale);
    }
    return stack(frames);
}

ColorImage drawWindowIcon(int size) {
    // Drawn at four times the size and shrunk: at 32 pixels the tower's
    // storeys are only a few pixels tall.
    constexpr int scale = 4;
    const int n = size * scale;
    const double s = n / 64.0;
    const Field back = shapeMask(n, n, roundRect(10 * s, 6 * s, 48 * s, 56 * s, 8 * s));
    const Field face = shapeMask(n, n, roundRect(6 * s, 2 * s, 48 * s, 56 * s, 8 * s));
    Pixmap icon(n, n);
    // The tile's jade back, showing below and right of its ivory face.
    paintLit(icon, jade(n, n, 3U, jadeStone()), back, bevel(back, 3 * s, 3 * s), stoneLight);
    castShadow(icon, face, Shadow{1.5 * s, 1.5 * s, 0.45F});
    Field faceHeight = bevel(face, 4 * s, 3 * s);
    // The tower: five storeys of red lacquer under upturned gold eaves.
    // Each storey is 4 units narrower than the one below and 6.6 units high,
    // in a 64-unit drawing: `storey(k, width, base)` for the five of them.
    const auto storeys = [](const auto& storey) {
        double base = 52;
        for (int k = 0; k < 5; ++k) {
            storey(k, 26 - k * 4.0, base);
            base -= 6.6;
        }
    };
    const Field walls = pathMask(n, n, [s, &storeys](cairo_t* cr) {
        cairo_scale(cr, s, s);
        storeys([cr](int, double w, double base) {
            cairo_rectangle(cr, 30 - w / 2, base - 6.4, w, 6.4);
        });
        cairo_fill(cr);
    });
    const Field windows = pathMask(n, n, [s, &storeys](cairo_t* cr) {
        cairo_scale(cr, s, s);
        storeys([cr](int k, double w, double base) {
            const int count = 3 - k / 2;
            for (int i = 0; i < count; ++i) {
                const double wx = 30 - w / 2 + (i + 1) * w / (count + 1);
                cairo_rectangle(cr, wx - 1, base - 4.4, 2, 2.6);
            }
        });
        cairo_fill(cr);
    });
    const Field eaves = pathMask(n, n, [s, &storeys](cairo_t* cr) {
        cairo_scale(cr, s, s);
        storeys([cr](int, double w, double base) {
            const double ew = w + 8;
            const double ey = base - 6.4;
            cairo_move_to(cr, 30 - ew / 2, ey - 2.6);
            cairo_curve_to(cr, 30 - ew / 4, ey - 0.6, 30 + ew / 4, ey - 0.6, 30 + ew / 2, ey - 2.6);
            cairo_line_to(cr, 30 + ew / 2 - 3, ey + 0.5);
            cairo_line_to(cr, 30 - ew / 2 + 3, ey + 0.5);
            cairo_close_path(cr);
        });
        // The finial above the top storey.
        const double top = 52 - 5 * 6.6;
        cairo_move_to(cr, 30, top - 7);
        cairo_line_to(cr, 31.5, top + 0.5);
        cairo_line_to(cr, 28.5, top + 0.5);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    const Field tower = maskUnion(walls, eaves);
    raise(faceHeight, tower, cushion(tower, 0.8 * s, 1.2 * s));
    Pixmap tile(n, n);
    paintLit(tile, marble(n, n, 11U, ivoryMarble()), face, faceHeight, stoneLight);
    castShadow(tile, tower, Shadow{0.8 * s, 0.7 * s, 0.4F, hex(palette::mahoganyDark)});
    paintLit(tile, lacquer(n, n, 13U, redLacquer()), walls, faceHeight, lacquerLight);
    fill(tile, windows, hex(palette::goldLight));
    paintLit(tile, brushedMetal(n, n, 19U, goldMetal()), eaves, faceHeight, goldLight);
    composite(icon, tile);
    return downsample(icon, scale).toImage();
}

ColorImage drawMedal(int size) {
    constexpr int scale = 4;
    const int n = size * scale;
    const double c = n / 2.0 - 2 * scale;
    const double r = n / 2.0 - 4 * scale;
    const Field disc = shapeMask(n, n, ellipse(c, c, r, r));
    const Field field = shapeMask(n, n, ellipse(c, c, r * 0.8, r * 0.8));
    const Field star = pathMask(n, n, [c, r](cairo_t* cr) {
        const double outerR = r * 0.5;
        const double innerR = outerR * 0.45;
        for (int k = 0; k < 10; ++k) {
            const double angle = -pi / 2 + k * pi / 5;
            const double radius = (k % 2 == 0) ? outerR : innerR;
            cairo_line_to(cr, c + radius * std::cos(angle), c + radius * std::sin(angle));
        }
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    // A bead round the rim, a sunburst of fine rays in the recessed field and
    // a raised star.
    Field heights = bevel(disc, r * 0.2, r * 0.1, Profile::Bead);
    Field rays(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const double angle = std::atan2(y + 0.5 - c, x + 0.5 - c);
            rays(x, y) = static_cast<float>(-r * 0.02 + std::sin(angle * 40.0) * r * 0.006);
        }
    }
    level(heights, field, 0.0F);
    raise(heights, field, rays);
    raise(heights, star, cushion(star, r * 0.05, r * 0.12));
    Pixmap medal(n, n);
    castShadow(medal, disc, Shadow{2.0 * scale, 1.5 * scale, 0.5F});
    paintLit(medal, brushedMetal(n, n, 29U, goldMetal()), disc, heights, goldLight);
    // The star in brighter, polished gold, so it stands out of the field.
    const MetalPalette bright{hex(0xB07A20), hex(0xF0C050), hex(palette::goldLight)};
    paintLit(medal, brushedMetal(n, n, 31U, bright), star, heights, goldLight);
    return downsample(medal, scale).toImage();
}

ColorImage drawLobbyWall() {
    constexpr int width = 800;
    constexpr int height = 600;
    // From the top: a cornice (0-34), tall veneered panels framed in wood
    // (50-372), a brass dado rail (384-398), lacquered lower panels (414-560)
    // and a skirting board (572-600). Five bays, a lamp on each stile.
    constexpr int bays = 5;
    constexpr double stile = 22;
    const double bay = (width - stile) / bays;
    Pixmap wall = wood(width, height, 3U, mahoganyWood(), WoodGrain{11.0, 7.0, true});
    Field heights(width, height, 0.0F);

    // Cornice: a deep moulding of wood under a gold bead.
    const Field cornice = shapeMask(width, height, roundRect(-10, -10, width + 20.0, 44, 0));
    const Field corniceBead = shapeMask(width, height, roundRect(-10, 30, width + 20.0, 6, 3));
    raise(heights, cornice, bevel(cornice, 12, 6, Profile::Cove));
    // Skirting board.
    const Field skirting = shapeMask(width, height, roundRect(-10, 572, width + 20.0, 40, 0));
    raise(heights, skirting, bevel(skirting, 5, 4, Profile::Round));

    // Upper panels: a sunk frame with a chamfer, then a raised veneer field.
    Field upperFields(width, height);
    Field lowerFields(width, height);
    Field inlay(width, height);
    for (int k = 0; k < bays; ++k) {
        const double x = stile + k * bay;
        const double w = bay - stile;
        const Field recess = shapeMask(width, height, roundRect(x, 52, w, 318, 4));
        raise(heights, recess, bevel(recess, 3, -3, Profile::Linear));
        const Field raised = shapeMask(width, height, roundRect(x + 12, 64, w - 24, 294, 3));
        raise(heights, raised, bevel(raised, 10, 5, Profile::Linear));
        upperFields = maskUnion(upperFields, raised);
        const Field line =
            maskMinus(shapeMask(width, height, roundRect(x + 26, 78, w - 52, 266, 6)),
                      shapeMask(width, height, roundRect(x + 27.5, 79.5, w - 55, 263, 4.5)));
        inlay = maskUnion(inlay, line);
        // Lower panels: a lacquered field, cushioned, sunk in the wood and
        // ringed with a gold line.
        const Field low = shapeMask(width, height, roundRect(x + 6, 416, w - 12, 142, 4));
        raise(heights, low, bevel(low, 3, -2.5, Profile::Linear));
        const Field cushionField = shapeMask(width, height, roundRect(x + 14, 424, w - 28, 126, 3));
        raise(heights, cushionField, bevel(cushionField, 9, 4.5, Profile::Round));
        lowerFields = maskUnion(lowerFields, low);
        inlay = maskUnion(
            inlay,
            maskMinus(shapeMask(width, height, roundRect(x + 26, 436, w - 52, 102, 4)),
                      shapeMask(width, height, roundRect(x + 27.5, 437.5, w - 55, 99, 2.5))));
    }
    // An art-deco fan of gold rays at the head of each panel's inlay.
    const Field fans = pathMask(width, height, [bay](cairo_t* cr) {
        cairo_set_line_width(cr, 1.4);
        for (int k = 0; k < bays; ++k) {
            const double cx = stile + k * bay + (bay - stile) / 2;
            const double cy = 136;
            for (int ray = 1; ray < 8; ++ray) {
                const double angle = pi + ray * pi / 8;
                cairo_move_to(cr, cx + 8 * std::cos(angle), cy + 8 * std::sin(angle));
                cairo_line_to(cr, cx + 40 * std::cos(angle), cy + 40 * std::sin(angle));
            }
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, 44, pi, 2 * pi);
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, 5, pi, 2 * pi);
            cairo_close_path(cr);
        }
        cairo_stroke(cr);
    });
    inlay = maskUnion(inlay, fans);
    raise(heights, inlay, cushion(inlay, 0.6, 0.8));

    // Dado rail: a brass bead with a fillet above and below.
    const Field rail = shapeMask(width, height, roundRect(-10, 384, width + 20.0, 14, 4));
    raise(heights, rail, bevel(rail, 7, 5, Profile::Bead));
    raise(heights, corniceBead, bevel(corniceBead, 3, 3, Profile::Bead));

    // Materials: veneer on the raised fields, lacquer below, brass and gold.
    for (int k = 0; k < bays; ++k) {
        const int x = static_cast<int>(stile + k * bay) + 12;
        const int w = static_cast<int>(bay - stile) - 22;
        fill(wall, upperFields,
             veneer(w, 294, 100U + static_cast<std::uint32_t>(k), mahoganyVeneer()), x, 64);
    }
    fill(wall, lowerFields, lacquer(width, height, 9U, redLacquer()));
    Pixmap& scene = wall;
    light(scene, heights, woodLight);
    paintLit(scene, brushedMetal(256, 64, 23U, goldMetal()), inlay, heights, goldLight);
    // The rail and the cornice stand out from the wall and shade it.
    castShadow(scene, rail, Shadow{3.0, 2.5, 0.55F});
    castShadow(scene, cornice, Shadow{4.0, 4.0, 0.5F});
    const Pixmap brass = brushedMetal(256, 64, 21U, brassMetal());
    paintLit(scene, brass, rail, heights, goldLight);
    paintLit(scene, wood(width, 64, 5U, mahoganyWood(), WoodGrain{14.0, 5.0, false}), cornice,
             heights, woodLight);
    paintLit(scene, brass, corniceBead, heights, goldLight);

    // Wall lamps on the inner stiles: a brass plate holding a frosted glass
    // shade lit from within, each throwing a pool of warm light around it.
    const Rgba lamp{1.0F, 0.78F, 0.45F, 1.0F};
    for (int k = 1; k < bays; ++k) {
        const double cx = stile / 2 + k * bay;
        lightPool(scene, cx, 150, 120, 190, lamp, 0.35F);
    }
    lightPool(scene, width / 2.0, 0, 520, 300, lamp, 0.12F);
    Field plates(width, height);
    Field shades(width, height);
    Field bands(width, height);
    for (int k = 1; k < bays; ++k) {
        const double cx = stile / 2 + k * bay;
        plates = maskUnion(plates, shapeMask(width, height, roundRect(cx - 6, 138, 12, 62, 6)));
        shades = maskUnion(shades, shapeMask(width, height, roundRect(cx - 11, 106, 22, 36, 9)));
        bands = maskUnion(bands, shapeMask(width, height, roundRect(cx - 12, 103, 24, 5, 2)));
        bands = maskUnion(bands, shapeMask(width, height, roundRect(cx - 12, 140, 24, 5, 2)));
    }
    Field lampHeights = bevel(plates, 3, 3);
    raise(lampHeights, bands, bevel(bands, 2, 2));
    castShadow(scene, maskUnion(plates, shades), Shadow{6.0, 3.5, 0.45F});
    paintLit(scene, brass, plates, lampHeights, goldLight);
    glow(scene, shades, 11.0, Rgba{1.0F, 0.8F, 0.45F, 0.8F}, 2.2F);
    // The glass glows brightest low down, where the bulb sits.
    Pixmap glass(width, height);
    for (int y = 0; y < height; ++y) {
        const float t = std::clamp(static_cast<float>(y - 106) / 36.0F, 0.0F, 1.0F);
        for (int x = 0; x < width; ++x) {
            // Frosted glass: brightest across its middle, warmer at the rims.
            const float across = std::abs(std::fmod(static_cast<float>(x) - stile / 2 + bay / 2,
                                                    static_cast<float>(bay)) -
                                          bay / 2) /
                                 11.0F;
            const float core = std::clamp(1.0F - across * across, 0.0F, 1.0F) * (0.6F + 0.4F * t);
            glass(x, y) = mix(Rgba{0.98F, 0.74F, 0.42F, 1.0F}, Rgba{1.0F, 0.97F, 0.86F, 1.0F},
                              0.35F + 0.65F * core);
        }
    }
    composite(scene, masked(glass, shades));
    paintLit(scene, brass, bands, lampHeights, goldLight);
    vignette(scene, 0.55F, 0.35F);
    return scene.toImage();
}

} // namespace orv::media
