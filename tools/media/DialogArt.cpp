#include "tools/media/DialogArt.h"

#include "tools/media/Artwork.h"
#include "tools/media/FontBaker.h"
#include "tools/media/HostArt.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/Synth.h"
#include "tools/media/SynthParts.h"
#include "tools/media/TileArt.h"
#include "tools/media/Typesetting.h"

#include <algorithm>
#include <array>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <string>

namespace orv::media {

namespace {

const Lighting goldLight{0.6F, 0.7F, 18.0F};
const Lighting stoneLight{0.5F, 0.45F, 28.0F};

// Frames of equal size stacked top to bottom into one strip.
ColorImage stack(const std::vector<Pixmap>& frames) {
    const int width = frames.front().width;
    const int height = frames.front().height;
    ColorImage strip(width, height * static_cast<int>(frames.size()));
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const ColorImage frame = frames[k].toImage();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                strip.set(x, static_cast<int>(k) * height + y, frame.at(x, y));
            }
        }
    }
    return strip;
}

void greyOut(Pixmap& picture) {
    for (Rgba& c : picture.pixels) {
        c = shade(desaturate(c, 0.85F), 0.1F);
    }
}

// Brightens or darkens every pixel of a material.
Pixmap shaded(Pixmap material, float amount) {
    for (Rgba& c : material.pixels) {
        c = shade(c, amount);
    }
    return material;
}

} // namespace

ColorImage drawSwitchStrip() {
    constexpr int size = 30;
    const Field outer = shapeMask(size, size, roundRect(2, 1, 25, 25, 6));
    const Field inner = shapeMask(size, size, roundRect(6, 5, 17, 17, 3));
    const Field rimLine = maskMinus(outer, shapeMask(size, size, roundRect(3, 2, 23, 23, 5)));
    const Field tick = pathMask(size, size, [](cairo_t* cr) {
        cairo_set_line_width(cr, 4.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, 8.5, 14.5);
        cairo_line_to(cr, 13.0, 19.5);
        cairo_line_to(cr, 23.5, 6.5);
        cairo_stroke(cr);
    });
    const Pixmap gold = brushedMetal(size, size, 53U, goldMetal());
    const Pixmap page = paper(size, size, 7U, hex(palette::parchment));
    const Pixmap stone = jade(size, size, 23U, jadeStone());
    std::vector<Pixmap> frames;
    for (int checked = 0; checked < 2; ++checked) {
        for (int state = 0; state < 4; ++state) {
            const bool over = state == 1;
            const bool pressed = state == 2;
            Pixmap picture(size, size);
            castShadow(picture, outer, Shadow{pressed ? 0.6 : 1.5, 1.0, 0.45F});
            Field heights = bevel(outer, 3.0, 2.0);
            raise(heights, inner, cushion(inner, 2.0, pressed ? -2.5 : -1.5));
            Pixmap body(size, size);
            paintLit(body, over ? shaded(gold, 0.15F) : gold, outer, heights, goldLight);
            paintLit(body, over ? shaded(page, 0.04F) : page, inner, heights, stoneLight);
            innerShadow(body, inner, 2.0, 1.2, 0.35F);
            if (checked == 1) {
                Field tickHeights(size, size);
                raise(tickHeights, tick, cushion(tick, 1.0, 2.0));
                castShadow(body, tick, Shadow{1.5, 0.8, 0.4F});
                paintLit(body, over ? shaded(stone, 0.12F) : stone, tick, tickHeights, stoneLight);
            }
            fill(body, rimLine, hex(palette::mahoganyDark, 0.85F));
            if (state == 3) {
                greyOut(body);
            }
            composite(picture, body);
            frames.push_back(std::move(picture));
        }
    }
    return stack(frames);
}

ColorImage drawSliderTrack() {
    constexpr int width = 260;
    constexpr int height = 30;
    const Field outer = shapeMask(width, height, roundRect(2, 9, width - 5, 12, 6));
    const Field groove = shapeMask(width, height, roundRect(5, 12, width - 11, 6, 3));
    Pixmap picture(width, height);
    castShadow(picture, outer, Shadow{1.2, 1.0, 0.4F});
    Field heights = bevel(outer, 2.5, 1.5);
    raise(heights, groove, cushion(groove, 1.5, -2.0));
    Pixmap body(width, height);
    paintLit(body, brushedMetal(width, height, 61U, goldMetal()), outer, heights, goldLight);
    paintLit(body, wood(width, height, 19U, mahoganyWood()), groove, heights, stoneLight);
    innerShadow(body, groove, 2.0, 1.0, 0.55F);
    composite(picture, body);
    return picture.toImage();
}

ColorImage drawSliderKnob() {
    constexpr int width = 22;
    constexpr int height = 30;
    const Field outer = shapeMask(width, height, roundRect(2, 1, 17, 25, 6));
    const Field inner = shapeMask(width, height, roundRect(4.5, 3.5, 12, 20, 4));
    const Field line = maskMinus(outer, shapeMask(width, height, roundRect(3, 2, 15, 23, 5)));
    const Pixmap gold = brushedMetal(width, height, 67U, goldMetal());
    const Pixmap stone = jade(width, height, 29U, jadeStone());
    std::vector<Pixmap> frames;
    for (int state = 0; state < 4; ++state) {
        const bool pressed = state == 2;
        Pixmap picture(width, height);
        castShadow(picture, outer, Shadow{pressed ? 0.8 : 2.0, 1.2, 0.5F});
        Field heights = bevel(outer, 2.5, 2.0);
        raise(heights, inner, cushion(inner, 3.0, pressed ? -2.0 : 3.0));
        Pixmap body(width, height);
        paintLit(body, state == 1 ? shaded(gold, 0.15F) : gold, outer, heights, goldLight);
        paintLit(body, state == 1 ? shaded(stone, 0.12F) : stone, inner, heights, stoneLight);
        fill(body, line, hex(palette::mahoganyDark, 0.85F));
        if (state == 3) {
            greyOut(body);
        }
        composite(picture, body);
        frames.push_back(std::move(picture));
    }
    return stack(frames);
}

ColorImage drawHourglass() {
    // Drawn four times larger and shrunk, as the small pictures are.
    constexpr int scale = 4;
    constexpr int size = 112 * scale;
    const auto s = [](double v) {
        return v * scale;
    };
    const Field bars =
        maskUnion(shapeMask(size, size, roundRect(s(22), s(8), s(68), s(12), s(5))),
                  shapeMask(size, size, roundRect(s(22), s(92), s(68), s(12), s(5))));
    const Field posts =
        maskUnion(shapeMask(size, size, roundRect(s(27), s(18), s(7), s(76), s(3))),
                  shapeMask(size, size, roundRect(s(78), s(18), s(7), s(76), s(3))));
    const auto bulb = [&](bool upper) {
        return pathMask(size, size, [&](cairo_t* cr) {
            const double top = upper ? s(20) : s(92);
            const double neck = s(56);
            cairo_move_to(cr, s(38), top);
            cairo_curve_to(cr, s(38), upper ? s(42) : s(70), s(52), upper ? s(48) : s(64), s(53.5),
                           neck);
            cairo_line_to(cr, s(58.5), neck);
            cairo_curve_to(cr, s(60), upper ? s(48) : s(64), s(74), upper ? s(42) : s(70), s(74),
                           top);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
    };
    const Field glass = maskUnion(bulb(true), bulb(false));
    // The sand lies in the lower bulb; a last thread falls through the neck.
    const Field sand = maskIntersection(
        glass, maskUnion(shapeMask(size, size, ellipse(s(56), s(98), s(24), s(20))),
                         shapeMask(size, size, roundRect(s(55), s(56), s(2), s(30), s(1)))));
    const Field frame = maskUnion(bars, posts);
    Pixmap picture(size, size);
    castShadow(picture, maskUnion(frame, glass), Shadow{s(3), s(2.5), 0.45F});
    Pixmap body(size, size);
    fill(body, glass, hex(palette::cream, 0.35F));
    Field sandHeights = cushion(sand, s(2), s(3));
    paintLit(body, shaded(paper(size, size, 31U, hex(palette::gold)), -0.05F), sand, sandHeights,
             stoneLight);
    glow(body, glass, s(1.5), hex(palette::cream), 0.25F);
    Field heights = bevel(frame, s(2.5), s(3));
    paintLit(body, brushedMetal(size, size, 71U, brassMetal()), frame, heights, goldLight);
    composite(picture, body);
    return downsample(picture, scale).toImage();
}

ColorImage drawLevelWonHeader() {
    // Drawn four times larger and shrunk, as the small pictures are.
    constexpr int scale = 4;
    constexpr int width = 232 * scale;
    constexpr int height = 124 * scale;
    const auto s = [](double v) {
        return v * scale;
    };
    constexpr double cx = 116;
    constexpr double cy = 54;
    Pixmap picture(width, height);

    // Rays of warm light fanning out behind the medal, fading with distance.
    Pixmap rays(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5) / scale - cx;
            const double dy = (y + 0.5) / scale - cy;
            const double distance = std::hypot(dx, dy);
            const double angle = std::atan2(dy, dx);
            const double ray = std::pow(std::max(0.0, std::cos(angle * 9.0)), 6.0);
            const double fade = std::clamp((distance - 30.0) / 20.0, 0.0, 1.0) *
                                std::clamp(1.0 - (distance - 40.0) / 70.0, 0.0, 1.0);
            const Rgba gold = hex(palette::gold);
            rays(x, y) = Rgba{gold.r, gold.g, gold.b, static_cast<float>(0.42 * ray * fade)};
        }
    }
    composite(picture, rays);

    // Two ribbon tails of red lacquer hang from behind the medal.
    const Field ribbons = pathMask(width, height, [&](cairo_t* cr) {
        for (const double side : {-1.0, 1.0}) {
            const auto px = [&](double x) {
                return s(cx + side * (x - cx));
            };
            cairo_move_to(cr, px(94), s(68));
            cairo_line_to(cr, px(117), s(80));
            cairo_line_to(cr, px(98), s(123));
            cairo_line_to(cr, px(86.5), s(113));
            cairo_line_to(cr, px(73), s(120));
            cairo_close_path(cr);
        }
        cairo_fill(cr);
    });
    castShadow(picture, ribbons, Shadow{s(2.0), s(1.5), 0.45F});
    Field ribbonHeights = cushion(ribbons, s(2.5), s(2.0));
    paintLit(picture, lacquer(width, height, 37U, redLacquer()), ribbons, ribbonHeights,
             Lighting{0.55F, 0.55F, 34.0F});
    const Field ribbonEdge = maskMinus(ribbons, pathMask(width, height, [&](cairo_t* cr) {
                                           for (const double side : {-1.0, 1.0}) {
                                               const auto px = [&](double x) {
                                                   return s(cx + side * (x - cx));
                                               };
                                               cairo_move_to(cr, px(96), s(71));
                                               cairo_line_to(cr, px(114), s(80.5));
                                               cairo_line_to(cr, px(97.5), s(119));
                                               cairo_line_to(cr, px(86.8), s(110));
                                               cairo_line_to(cr, px(76.5), s(115.5));
                                               cairo_close_path(cr);
                                           }
                                           cairo_fill(cr);
                                       }));
    fill(picture, ribbonEdge, hex(palette::gold, 0.9F));

    // A laurel of gold leaves round the medal, a branch on each side rising
    // from the ribbons' knot, the leaves growing smaller towards the tips.
    constexpr double branchRadius = 53;
    const Field leaves = pathMask(width, height, [&](cairo_t* cr) {
        for (const double side : {-1.0, 1.0}) {
            for (int k = 0; k < 9; ++k) {
                const double t = k / 8.0;
                const double angle = (100.0 + 112.0 * t) * pi / 180.0;
                const double bx = cx + side * branchRadius * std::cos(angle) * -1.0;
                const double by = cy + branchRadius * std::sin(angle);
                const double size = 1.25 - 0.45 * t;
                for (const double out : {-1.0, 1.0}) {
                    // Each leaf leans out of the branch towards its tip.
                    const double tangent = std::atan2(std::cos(angle), side * std::sin(angle));
                    const double lean = tangent + out * side * 0.75;
                    cairo_save(cr);
                    cairo_translate(cr, s(bx + std::cos(lean) * 5.0 * size),
                                    s(by + std::sin(lean) * 5.0 * size));
                    cairo_rotate(cr, lean);
                    cairo_scale(cr, s(7.0 * size), s(2.9 * size));
                    cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
                    cairo_restore(cr);
                    cairo_fill(cr);
                }
            }
            cairo_set_line_width(cr, s(1.8));
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            const double from = 96.0 * pi / 180.0;
            const double to = 214.0 * pi / 180.0;
            for (int k = 0; k <= 24; ++k) {
                const double angle = from + (to - from) * k / 24.0;
                const double x = cx - side * branchRadius * std::cos(angle);
                const double y = cy + branchRadius * std::sin(angle);
                if (k == 0) {
                    cairo_move_to(cr, s(x), s(y));
                } else {
                    cairo_line_to(cr, s(x), s(y));
                }
            }
            cairo_stroke(cr);
        }
    });
    castShadow(picture, leaves, Shadow{s(1.5), s(1.2), 0.4F});
    const MetalPalette leafGold{hex(0x7A4E12), hex(0xD0A040), hex(palette::goldLight)};
    paintLit(picture, brushedMetal(width, height, 43U, leafGold), leaves,
             cushion(leaves, s(1.2), s(1.6)), goldLight);

    // The medal itself, and four glints about it.
    const Pixmap medal = Pixmap::fromImage(drawMedal(88));
    Pixmap shrunk = downsample(picture, scale);
    composite(shrunk, medal, static_cast<int>(cx) - 42, static_cast<int>(cy) - 42);
    const Field glints = pathMask(232, 124, [](cairo_t* cr) {
        const std::array<std::array<double, 3>, 5> spots{
            {{30, 30, 7}, {202, 24, 8}, {20, 80, 5}, {212, 84, 6}, {184, 112, 4}}};
        for (const auto& [x, y, r] : spots) {
            cairo_move_to(cr, x, y - r);
            cairo_curve_to(cr, x + r * 0.12, y - r * 0.12, x + r * 0.12, y - r * 0.12, x + r, y);
            cairo_curve_to(cr, x + r * 0.12, y + r * 0.12, x + r * 0.12, y + r * 0.12, x, y + r);
            cairo_curve_to(cr, x - r * 0.12, y + r * 0.12, x - r * 0.12, y + r * 0.12, x - r, y);
            cairo_curve_to(cr, x - r * 0.12, y - r * 0.12, x - r * 0.12, y - r * 0.12, x, y - r);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
    });
    glow(shrunk, glints, 2.5, hex(palette::gold), 0.7F);
    fill(shrunk, glints, hex(palette::gold));
    return shrunk.toImage();
}

ColorImage drawResultBand(bool best) {
    constexpr int width = 196;
    constexpr int height = 40;
    Pixmap picture(width, height);
    const Field outer = shapeMask(width, height, roundRect(2, 2, 190, 33, 9));
    const Field well = shapeMask(width, height, roundRect(4.5, 4.5, 185, 28, 7));
    if (best) {
        castShadow(picture, outer, Shadow{1.5, 1.2, 0.4F});
        Field heights = bevel(outer, 2.5, 1.6, Profile::Bead);
        paintLit(picture, brushedMetal(width, height, 47U, goldMetal()), outer, heights, goldLight);
    } else {
        // Sunk into the page: a hairline and a light lower edge.
        fill(picture, outer, hex(palette::cream, 0.5F));
        fill(picture, shapeMask(width, height, roundRect(2, 1, 190, 33, 9)),
             hex(palette::mahoganyDark, 0.55F));
    }
    const Pixmap page = paper(width, height, best ? 53U : 59U, hex(palette::parchment));
    fill(picture, well, shaded(page, best ? 0.02F : -0.05F), 0, 0);
    if (best) {
        fill(picture, well, hex(palette::goldLight, 0.18F));
    }
    innerShadow(picture, well, 3.0, 1.8, 0.4F);
    if (best) {
        // The record's mark: a small raised star at the left end.
        const Field star = pathMask(width, height, [](cairo_t* cr) {
            constexpr double sx = 18;
            constexpr double sy = 18.5;
            for (int k = 0; k < 10; ++k) {
                const double angle = -pi / 2 + k * pi / 5;
                const double radius = (k % 2 == 0) ? 8.0 : 3.6;
                cairo_line_to(cr, sx + radius * std::cos(angle), sy + radius * std::sin(angle));
            }
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        castShadow(picture, star, Shadow{1.2, 0.8, 0.4F});
        const MetalPalette bright{hex(0xB07A20), hex(0xF0C050), hex(palette::goldLight)};
        paintLit(picture, brushedMetal(width, height, 61U, bright), star, cushion(star, 1.0, 1.5),
                 goldLight);
    }
    return picture.toImage();
}

namespace {

// The help pages show the game's own tiles (set 1), a little smaller than on
// the board: dots, bamboo sticks or dragons, counted by their value.
enum class Face { Dots, Sticks, Dragon };
constexpr int kHelpFaceW = 32;
constexpr int kHelpFaceH = 42;

// The faces the pages use: dots 1-5, sticks 1-4, the red and green dragons.
std::vector<std::array<int, 2>> helpFaces() {
    return {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {4, 0}, {4, 1}};
}

const ColorImage& helpTile(const std::vector<ColorImage>& tiles, Face face, int value) {
    const std::size_t k = face == Face::Dots ? static_cast<std::size_t>(std::clamp(value, 1, 5) - 1)
                          : face == Face::Sticks
                              ? 5 + static_cast<std::size_t>(std::clamp(value, 1, 4) - 1)
                              : 9 + static_cast<std::size_t>((value + 1) % 2);
    return tiles.at(k);
}

// A tile standing on the page at (x, y) with its soft shadow; `mark` tints
// its face (a selected tile).
void drawTile(Pixmap& page, int x, int y, const ColorImage& picture, Rgba mark) {
    Pixmap tile(picture.width + 6, picture.height + 6);
    const Pixmap body = Pixmap::fromImage(picture);
    Field cover(tile.width, tile.height);
    for (int j = 0; j < body.height; ++j) {
        for (int i = 0; i < body.width; ++i) {
            cover(i, j) = body.at(i, j).a;
        }
    }
    castShadow(tile, cover, Shadow{2.0, 1.5, 0.45F});
    composite(tile, body);
    if (mark.a > 0.0F) {
        fill(tile,
             shapeMask(tile.width, tile.height,
                       roundRect(0.5, 0.5, kHelpFaceW - 1, kHelpFaceH - 1, 3)),
             mark);
    }
    composite(page, tile, x - 1, y - 1);
}

// An arrow from (x0, y0) to (x1, y1) in `color`.
void drawArrow(Pixmap& page, double x0, double y0, double x1, double y1, std::uint32_t color) {
    const Field arrow = pathMask(page.width, page.height, [&](cairo_t* cr) {
        const double angle = std::atan2(y1 - y0, x1 - x0);
        cairo_set_line_width(cr, 3.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1 - 8 * std::cos(angle), y1 - 8 * std::sin(angle));
        cairo_stroke(cr);
        cairo_move_to(cr, x1, y1);
        cairo_line_to(cr, x1 - 12 * std::cos(angle - 0.45), y1 - 12 * std::sin(angle - 0.45));
        cairo_line_to(cr, x1 - 12 * std::cos(angle + 0.45), y1 - 12 * std::sin(angle + 0.45));
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(page, arrow, Shadow{1.0, 1.0, 0.3F});
    fill(page, arrow, hex(color));
}

// A sign drawn over a tile: a ring (free) or a cross (blocked).
void drawSign(Pixmap& page, double cx, double cy, bool free) {
    const Field sign = pathMask(page.width, page.height, [&](cairo_t* cr) {
        cairo_set_line_width(cr, 4.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        if (free) {
            cairo_arc(cr, cx, cy, 9, 0, 2 * pi);
        } else {
            cairo_move_to(cr, cx - 8, cy - 8);
            cairo_line_to(cr, cx + 8, cy + 8);
            cairo_move_to(cr, cx + 8, cy - 8);
            cairo_line_to(cr, cx - 8, cy + 8);
        }
        cairo_stroke(cr);
    });
    castShadow(page, sign, Shadow{1.0, 1.0, 0.35F});
    fill(page, sign, hex(free ? palette::jadeLight : palette::vermilion));
}

// The page's ground: a sheet of parchment with a thin gold line.
Pixmap blankPage(int width, int height, std::uint32_t seed) {
    Pixmap page(width, height);
    const Field sheet = shapeMask(width, height, roundRect(1, 1, width - 3, height - 3, 6));
    castShadow(page, sheet, Shadow{1.5, 1.5, 0.35F});
    fill(page, sheet, shaded(paper(width, height, seed, hex(palette::parchment)), -0.03F), 0, 0);
    fill(page,
         maskMinus(sheet, shapeMask(width, height, roundRect(2, 2, width - 5, height - 5, 5))),
         hex(palette::goldDeep, 0.9F));
    return page;
}

// A horizontal bar of the playing screen: a gold frame with a fill.
void drawBar(Pixmap& page, int x, int y, int width, float share, std::uint32_t color) {
    const Field frame = shapeMask(page.width, page.height, roundRect(x, y, width, 18, 9));
    const Field inside =
        shapeMask(page.width, page.height, roundRect(x + 3, y + 3, width - 6, 12, 6));
    const Field full =
        shapeMask(page.width, page.height, roundRect(x + 3, y + 3, (width - 6) * share, 12, 6));
    castShadow(page, frame, Shadow{1.5, 1.2, 0.4F});
    Field heights = bevel(frame, 2.5, 1.5);
    paintLit(page, brushedMetal(page.width, page.height, 79U, goldMetal()), frame, heights,
             goldLight);
    fill(page, inside, hex(palette::mahoganyDark));
    Field fillHeights = cushion(full, 2.0, 2.0);
    Pixmap colour(page.width, page.height, hex(color));
    paintLit(page, colour, maskIntersection(full, inside), fillHeights, stoneLight);
}

// A round jade tool button with a symbol: 0 hint (a lamp's ring), 1 shuffle
// (two arrows), 2 undo (a turning arrow).
void drawTool(Pixmap& page, double cx, double cy, int kind) {
    const Field disc = shapeMask(page.width, page.height, ellipse(cx, cy, 20, 20));
    const Field rim = maskMinus(disc, shapeMask(page.width, page.height, ellipse(cx, cy, 16, 16)));
    castShadow(page, disc, Shadow{2.0, 1.5, 0.45F});
    Field heights = bevel(disc, 3.0, 2.0);
    raise(heights, disc, cushion(disc, 5.0, 3.0));
    paintLit(page, jade(page.width, page.height, 83U, jadeStone()), disc, heights, stoneLight);
    paintLit(page, brushedMetal(page.width, page.height, 89U, goldMetal()), rim, heights,
             goldLight);
    const Field symbol = pathMask(page.width, page.height, [&](cairo_t* cr) {
        cairo_set_line_width(cr, 3.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        if (kind == 0) {
            cairo_arc(cr, cx, cy - 3, 6.5, 0, 2 * pi);
            cairo_stroke(cr);
            cairo_move_to(cr, cx - 3, cy + 7);
            cairo_line_to(cr, cx + 3, cy + 7);
            cairo_stroke(cr);
        } else if (kind == 1) {
            cairo_move_to(cr, cx - 8, cy - 4);
            cairo_line_to(cr, cx + 8, cy - 4);
            cairo_move_to(cr, cx + 8, cy + 4);
            cairo_line_to(cr, cx - 8, cy + 4);
            cairo_stroke(cr);
            cairo_move_to(cr, cx + 10, cy - 4);
            cairo_line_to(cr, cx + 5, cy - 8);
            cairo_line_to(cr, cx + 5, cy);
            cairo_close_path(cr);
            cairo_move_to(cr, cx - 10, cy + 4);
            cairo_line_to(cr, cx - 5, cy);
            cairo_line_to(cr, cx - 5, cy + 8);
            cairo_close_path(cr);
            cairo_fill(cr);
        } else {
            cairo_arc(cr, cx, cy + 1, 7.5, -pi * 0.9, pi * 0.6);
            cairo_stroke(cr);
            cairo_move_to(cr, cx - 11, cy - 1);
            cairo_line_to(cr, cx - 4, cy - 2);
            cairo_line_to(cr, cx - 8, cy - 8);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
    });
    fill(page, symbol, hex(palette::cream));
}

// The small captions of the help pages: the playing screen's label face, in
// one colour.
BakedFont captionFont(const std::filesystem::path& fonts) {
    FontSpec spec;
    spec.id = "help";
    spec.faceFile = (fonts / "truetype/lato/Lato-Bold.ttf").string();
    spec.pixelSize = 13;
    spec.charSpacing = 0;
    for (char32_t c = 32; c < 127; ++c) {
        spec.characters.push_back(static_cast<std::uint32_t>(c));
    }
    spec.layers = {LayerStyle{LayerStyle::Kind::Fill, 0, 0, 0, 0, 1.0, 0xFFFFFFFFU, false}};
    return bakeFont(spec);
}

// `text` centred across `cx` with its line's top at `y`, in `color`.
void drawCaption(Pixmap& page, const BakedFont& font, const std::string& text, int cx, int y,
                 std::uint32_t color) {
    const std::u32string line = widen(text);
    ColorImage ink(page.width, page.height);
    drawText(ink, font, line, cx - textWidth(font, line) / 2, y);
    Field mask(page.width, page.height);
    for (int j = 0; j < page.height; ++j) {
        for (int i = 0; i < page.width; ++i) {
            mask(i, j) = static_cast<float>(ink.at(i, j) >> 24) / 255.0F;
        }
    }
    fill(page, mask, hex(color));
}

// A sunken mahogany well (a free cell, the rack of twins) at (x, y).
void drawWell(Pixmap& page, double x, double y, double w, double h) {
    const Field well = shapeMask(page.width, page.height, roundRect(x, y, w, h, 5));
    fill(page, well, hex(palette::mahoganyDark, 0.85F));
    innerShadow(page, well, 3.0, 2.0, 0.6F);
    const Field rim = maskMinus(
        shapeMask(page.width, page.height, roundRect(x - 1.5, y - 1.5, w + 3, h + 3, 6)), well);
    fill(page, rim, hex(palette::goldDeep, 0.8F));
}

// A line with bends through `points`, in `color`, with round joints.
void drawPath(Pixmap& page, const std::vector<std::array<double, 2>>& points, std::uint32_t color) {
    const Field path = pathMask(page.width, page.height, [&](cairo_t* cr) {
        cairo_set_line_width(cr, 3.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, points.front()[0], points.front()[1]);
        for (std::size_t k = 1; k < points.size(); ++k) {
            cairo_line_to(cr, points[k][0], points[k][1]);
        }
        cairo_stroke(cr);
    });
    castShadow(page, path, Shadow{1.0, 1.0, 0.3F});
    fill(page, path, hex(color));
}

// A small clock: a cream face in a gold rim, hands at ten past ten.
void drawClock(Pixmap& page, double cx, double cy, double r) {
    const Field rim = shapeMask(page.width, page.height, ellipse(cx, cy, r, r));
    const Field face = shapeMask(page.width, page.height, ellipse(cx, cy, r - 3, r - 3));
    castShadow(page, rim, Shadow{1.5, 1.2, 0.4F});
    paintLit(page, brushedMetal(page.width, page.height, 91U, goldMetal()), rim,
             bevel(rim, 2.0, 1.5), goldLight);
    fill(page, face, hex(palette::cream));
    const Field hands = pathMask(page.width, page.height, [&](cairo_t* cr) {
        cairo_set_line_width(cr, 2.0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx - 0.45 * r, cy - 0.25 * r);
        cairo_line_to(cr, cx, cy);
        cairo_line_to(cr, cx + 0.5 * r, cy - 0.45 * r);
        cairo_stroke(cr);
    });
    fill(page, hands, hex(palette::mahoganyDark));
}

// A little gold star (a bonus) centred on (cx, cy).
void drawStar(Pixmap& page, double cx, double cy, double r) {
    const Field star = pathMask(page.width, page.height, [&](cairo_t* cr) {
        for (int k = 0; k < 10; ++k) {
            const double angle = -pi / 2 + k * pi / 5;
            const double radius = (k % 2 == 0) ? r : r * 0.45;
            cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
        }
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(page, star, Shadow{1.0, 0.8, 0.4F});
    paintLit(page, brushedMetal(page.width, page.height, 93U, goldMetal()), star,
             cushion(star, 1.0, 1.5), goldLight);
}

// A counter badge: a small cream disc in a gold ring with a count.
void drawBadge(Pixmap& page, const BakedFont& font, double cx, double cy,
               const std::string& count) {
    const Field ring = shapeMask(page.width, page.height, ellipse(cx, cy, 8.5, 8.5));
    castShadow(page, ring, Shadow{1.0, 1.0, 0.35F});
    fill(page, ring, hex(palette::goldDeep));
    fill(page, shapeMask(page.width, page.height, ellipse(cx, cy, 7, 7)), hex(palette::cream));
    drawCaption(page, font, count, static_cast<int>(cx), static_cast<int>(cy) - 8,
                palette::mahoganyDark);
}

// A faint gold rule between parts of a page.
void drawRule(Pixmap& page, double x0, double y0, double x1, double y1) {
    const Field rule = pathMask(page.width, page.height, [&](cairo_t* cr) {
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_stroke(cr);
    });
    fill(page, rule, hex(palette::goldDeep, 0.35F));
}

} // namespace

std::vector<ColorImage> drawHelpPages(const std::filesystem::path& fonts) {
    const std::vector<ColorImage> tiles =
        drawSmallTiles(helpFaces(), kHelpFaceW, kHelpFaceH, fonts);
    const auto tile = [&tiles](Face face, int value) -> const ColorImage& {
        return helpTile(tiles, face, value);
    };
    constexpr int width = 300;
    constexpr int height = 250;
    const Rgba none{0, 0, 0, 0};
    const Rgba chosen = hex(palette::gold, 0.28F);
    std::vector<ColorImage> pages;

    // Page 0: the free tiles at the two ends of a row show the same face: they
    // make a pair and leave the board together.
    Pixmap match = blankPage(width, height, 101U);
    constexpr int kRowX = 55;
    constexpr int kStep = 38;
    drawTile(match, kRowX, 34, tile(Face::Dots, 3), chosen);
    drawTile(match, kRowX + kStep, 34, tile(Face::Sticks, 2), none);
    drawTile(match, kRowX + 2 * kStep, 34, tile(Face::Dragon, 1), none);
    drawTile(match, kRowX + 3 * kStep, 34, tile(Face::Sticks, 4), none);
    drawTile(match, kRowX + 4 * kStep, 34, tile(Face::Dots, 3), chosen);
    drawTile(match, kRowX + 2 * kStep - 4, 26, tile(Face::Dots, 5), none);
    drawSign(match, kRowX + 19, 106, true);
    drawSign(match, kRowX + 4 * kStep + 19, 106, true);
    drawArrow(match, kRowX + 19, 122, 128, 158, palette::goldDeep);
    drawArrow(match, kRowX + 4 * kStep + 19, 122, 172, 158, palette::goldDeep);
    drawTile(match, 112, 168, tile(Face::Dots, 3), chosen);
    drawTile(match, 150, 168, tile(Face::Dots, 3), chosen);
    pages.push_back(match.toImage());

    const BakedFont captions = captionFont(fonts);
    constexpr std::uint32_t ink = palette::mahoganyDark;

    // Page 1: free tiles. Above, a row held together: the two ends are free
    // (a ring, an arrow at the open side), the three between are held in (a
    // cross). Below, a tile on top of two holds both; once it goes, both are
    // free.
    Pixmap free = blankPage(width, height, 103U);
    constexpr int kRowLeft = 70;
    constexpr int kRowY = 58;
    constexpr int kTouch = kHelpFaceW;
    const std::array<Face, 5> rowFaces{Face::Sticks, Face::Dots, Face::Dragon, Face::Dots,
                                       Face::Sticks};
    for (int k = 0; k < 5; ++k) {
        drawTile(free, kRowLeft + k * kTouch, kRowY,
                 tile(rowFaces[static_cast<std::size_t>(k)], 1 + k % 4), none);
        drawSign(free, kRowLeft + k * kTouch + kHelpFaceW / 2.0, kRowY - 20, k == 0 || k == 4);
    }
    const double rowMiddle = kRowY + kHelpFaceH / 2.0;
    drawArrow(free, kRowLeft - 6, rowMiddle, kRowLeft - 30, rowMiddle, palette::goldDeep);
    drawArrow(free, kRowLeft + 5 * kTouch + 10, rowMiddle, kRowLeft + 5 * kTouch + 34, rowMiddle,
              palette::goldDeep);
    drawRule(free, 30, 124, 270, 124);
    constexpr int kStackY = 170;
    drawTile(free, 44, kStackY, tile(Face::Dots, 4), none);
    drawTile(free, 44 + kTouch, kStackY, tile(Face::Sticks, 3), none);
    // The tile lying on the two: across their joint, a little to the left.
    constexpr int kLyingX = 44 + kTouch / 2 - 4;
    drawTile(free, kLyingX, kStackY - 10, tile(Face::Dragon, 2), none);
    drawSign(free, kLyingX + kHelpFaceW / 2.0, kStackY - 28, true);
    drawArrow(free, 128, kStackY + 22, 166, kStackY + 22, palette::goldDeep);
    drawTile(free, 186, kStackY, tile(Face::Dots, 4), none);
    drawTile(free, 186 + kTouch, kStackY, tile(Face::Sticks, 3), none);
    drawSign(free, 186 + kHelpFaceW / 2.0, kStackY - 18, true);
    drawSign(free, 186 + kTouch + kHelpFaceW / 2.0, kStackY - 18, true);
    pages.push_back(free.toImage());

    // Page 2: the six game types, each a small scene over its name.
    Pixmap types = blankPage(width, height, 107U);
    constexpr int kCellW = 100;
    constexpr int kCellH = 122;
    drawRule(types, 24, 125, 276, 125);
    const std::array<const char*, 6> names{"Classic", "FreeCell", "Split",
                                           "Triple",  "River",    "Speed"};
    for (int k = 0; k < 6; ++k) {
        const int x = (k % 3) * kCellW;
        const int y = 2 + (k / 3) * kCellH;
        switch (k) {
        case 0: // a pair
            drawTile(types, x + 16, y + 32, tile(Face::Dots, 3), chosen);
            drawTile(types, x + 52, y + 32, tile(Face::Dots, 3), chosen);
            break;
        case 1: // a tile parked in a free cell
            drawTile(types, x + 10, y + 40, tile(Face::Sticks, 2), none);
            drawWell(types, x + 52, y + 34, 42, 54);
            drawTile(types, x + 57, y + 40, tile(Face::Dragon, 1), none);
            drawArrow(types, x + 28, y + 30, x + 72, y + 24, palette::goldDeep);
            break;
        case 2: // a board tile and its twin in the rack
            drawTile(types, x + 34, y + 4, tile(Face::Sticks, 4), chosen);
            drawWell(types, x + 12, y + 51, 76, 47);
            drawTile(types, x + 16, y + 53, tile(Face::Dots, 2), none);
            drawTile(types, x + 52, y + 53, tile(Face::Sticks, 4), chosen);
            break;
        case 3: // three alike
            drawTile(types, x + 3, y + 32, tile(Face::Dots, 2), chosen);
            drawTile(types, x + 34, y + 32, tile(Face::Dots, 2), chosen);
            drawTile(types, x + 65, y + 32, tile(Face::Dots, 2), chosen);
            break;
        case 4: // a path with two bends around a tile
            drawTile(types, x + 3, y + 52, tile(Face::Dragon, 2), chosen);
            drawTile(types, x + 34, y + 52, tile(Face::Sticks, 1), none);
            drawTile(types, x + 65, y + 52, tile(Face::Dragon, 2), chosen);
            drawPath(types,
                     {{x + 19.0, y + 50.0},
                      {x + 19.0, y + 24.0},
                      {x + 81.0, y + 24.0},
                      {x + 81.0, y + 50.0}},
                     palette::goldDeep);
            break;
        default: // a pair against the clock
            drawClock(types, x + 50, y + 26, 17);
            drawTile(types, x + 16, y + 52, tile(Face::Sticks, 2), chosen);
            drawTile(types, x + 52, y + 52, tile(Face::Sticks, 2), chosen);
            break;
        }
        drawCaption(types, captions, names[static_cast<std::size_t>(k)], x + kCellW / 2, y + 103,
                    ink);
    }
    pages.push_back(types.toImage());

    // Page 3: the time bar with its clock, the bonus bar with the bonus it
    // pays, and the three tools, the counted ones with their count.
    Pixmap bars = blankPage(width, height, 109U);
    // Each bar under its name, with its sign at the left: the clock, and the
    // box that holds the bonus.
    const auto name = [&](const char* text, int y) {
        drawCaption(bars, captions, text, 26 + textWidth(captions, widen(text)) / 2, y, ink);
    };
    name("Time", 16);
    drawClock(bars, 40, 50, 14);
    drawBar(bars, 64, 41, 210, 0.62F, 0x4CA37E);
    name("Bonus", 76);
    const Field box = shapeMask(width, height, roundRect(25, 95, 30, 30, 5));
    castShadow(bars, box, Shadow{1.5, 1.2, 0.4F});
    paintLit(bars, brushedMetal(width, height, 95U, goldMetal()), box, bevel(box, 2.5, 1.5),
             goldLight);
    fill(bars, shapeMask(width, height, roundRect(29, 99, 22, 22, 3)), hex(palette::mahoganyDark));
    drawStar(bars, 40, 110, 8);
    drawBar(bars, 64, 101, 210, 0.8F, palette::gold);
    drawRule(bars, 30, 146, 270, 146);
    const std::array<const char*, 3> tools{"Hint", "Shuffle", "Undo"};
    for (int k = 0; k < 3; ++k) {
        const int cx = 60 + 90 * k;
        drawTool(bars, cx, 186, k);
        drawCaption(bars, captions, tools[static_cast<std::size_t>(k)], cx, 212, ink);
    }
    drawBadge(bars, captions, 60 + 17, 186 - 17, "3");
    drawBadge(bars, captions, 150 + 17, 186 - 17, "2");
    pages.push_back(bars.toImage());
    return pages;
}

namespace {

// The dialogs' bells ring a little shorter than the playing screen's.
constexpr BellRing kBellRing{0.45, 0.22};

} // namespace

void addDialogMedia(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet) {
    SheetRow row;
    row.title = "Dialogs: switch, slider, level-end headers and value bands, help pages";
    row.pictures.push_back(drawSwitchStrip());
    row.pictures.push_back(drawSliderTrack());
    row.pictures.push_back(drawSliderKnob());
    row.pictures.push_back(drawHourglass());
    row.pictures.push_back(drawLevelWonHeader());
    media.add("media/images/dialogs/switch.png", encodePngColor(row.pictures[0]));
    media.add("media/images/dialogs/slider_track.png", encodePngColor(row.pictures[1]));
    media.add("media/images/dialogs/slider_knob.png", encodePngColor(row.pictures[2]));
    media.add("media/images/dialogs/gameover.png", encodePngColor(row.pictures[3]));
    media.add("media/images/dialogs/level_won.png", encodePngColor(row.pictures[4]));
    const ColorImage cameo = drawHostCameo();
    media.add("media/images/dialogs/host_cameo.png", encodePngColor(cameo));
    for (const bool best : {false, true}) {
        row.pictures.push_back(drawResultBand(best));
        media.add(best ? "media/images/dialogs/result_band_best.png"
                       : "media/images/dialogs/result_band.png",
                  encodePngColor(row.pictures.back()));
    }
    row.pictures.push_back(cameo);
    const std::vector<ColorImage> pages = drawHelpPages(fonts);
    for (std::size_t k = 0; k < pages.size(); ++k) {
        media.add("media/images/manual/page" + std::to_string(k) + ".png",
                  encodePngColor(pages[k]));
        row.pictures.push_back(pages[k]);
    }
    sheet.rows.push_back(std::move(row));

    // The host's chime: two soft bells, a fifth apart.
    std::vector<float> chime = silence(1.2);
    addSoftBell(chime, 0.0, midi(76), 0.6, kBellRing);
    addSoftBell(chime, 0.16, midi(83), 0.5, kBellRing);
    normalisePeak(chime, 0.6F);
    media.add("media/sounds/host_chime.wav", encodeWav(chime));
    // Pause falls, unpause rises.
    for (const bool rising : {false, true}) {
        std::vector<float> tones = silence(0.6);
        addSoftBell(tones, 0.0, midi(rising ? 67 : 74), 0.5, kBellRing);
        addSoftBell(tones, 0.09, midi(rising ? 74 : 67), 0.5, kBellRing);
        normalisePeak(tones, 0.5F);
        media.add(rising ? "media/sounds/unpause.wav" : "media/sounds/pause.wav", encodeWav(tones));
    }
    // The count-up's tick: a very short bright click.
    std::vector<float> tick = silence(0.03);
    addTone(tick, 0.0, 2400.0, 0.5, 0.006, 0.0005);
    addTone(tick, 0.0, 3700.0, 0.25, 0.004, 0.0005);
    normalisePeak(tick, 0.35F);
    media.add("media/sounds/score_tick.wav", encodeWav(tick));
    // A record: a rising major arpeggio ending on a held bell.
    std::vector<float> record = silence(1.6);
    const std::array<int, 4> notes{72, 76, 79, 84};
    for (std::size_t k = 0; k < notes.size(); ++k) {
        addSoftBell(record, 0.09 * static_cast<double>(k), midi(notes[k]),
                    k + 1 == notes.size() ? 0.7 : 0.45, kBellRing);
    }
    normalisePeak(record, 0.65F);
    media.add("media/sounds/record_broken.wav", encodeWav(record));
    // The effects slider's ticks, one step of a major scale higher each.
    const std::array<int, 5> steps{72, 74, 76, 77, 79};
    for (std::size_t k = 0; k < steps.size(); ++k) {
        std::vector<float> blip = silence(0.12);
        addTone(blip, 0.0, midi(steps[k]), 0.5, 0.04, 0.002);
        addTone(blip, 0.0, midi(steps[k]) * 2, 0.15, 0.02, 0.002);
        normalisePeak(blip, 0.45F);
        media.add("media/sounds/slider_" + std::to_string(k + 1) + ".wav", encodeWav(blip));
    }
}

} // namespace orv::media
