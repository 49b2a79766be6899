#include "tools/media/ArtTrophies.h"

#include "tools/media/FontBaker.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Noise.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Raster.h"
#include "tools/media/Shapes.h"
#include "tools/media/Synth.h"
#include "tools/media/SynthParts.h"
#include "tools/media/Typesetting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace orv::media {

namespace fs = std::filesystem;

namespace {

constexpr Lighting trophyMetalLight{0.6F, 0.75F, 16.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting trophyWoodLight{0.45F, 0.2F, 20.0F, {1.0F, 0.95F, 0.85F, 1.0F}};

// The tower's window grid, as the trophy room reads it.
constexpr std::array<int, 5> kWindowColumns{298, 323, 393, 463, 488};
constexpr int kWindowBottomRow = 490;
constexpr int kFloorStep = 24;
constexpr int kWindowSize = 20;
constexpr int kTrophyW = 76;
constexpr int kTrophyH = 84;

// A five-pointed star path centred on (cx, cy).
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner) {
    for (int k = 0; k < 10; ++k) {
        const double r = (k % 2 == 0) ? outer : inner;
        const double a = -pi / 2 + k * pi / 5;
        const double x = cx + std::cos(a) * r;
        const double y = cy + std::sin(a) * r;
        if (k == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    cairo_close_path(cr);
}

Field rectField(int w, int h, double x, double y, double rw, double rh, double radius) {
    return shapeMask(w, h, roundRect(x, y, rw, rh, radius), 4);
}

MetalPalette silverPalette() {
    return {hex(0x6E7479), hex(0xB8BEC4), hex(0xF4F7FA)};
}

MetalPalette bronzePalette() {
    return {hex(0x5A3217), hex(0xA8683A), hex(0xE8B487)};
}

MetalPalette greyPalette() {
    return {hex(0x3A3633), hex(0x6A645E), hex(0x8E8780)};
}

// ---- the trophies --------------------------------------------------------

// One trophy at 4x: a shape of family `kind` in `metal` on a mahogany
// plinth, with an emblem `emblem` (0 star, 1 ring, 2 diamond, 3 twin stars,
// 4 crown) on its body.
ColorImage drawTrophy(int kind, int emblem, const MetalPalette& metal, bool claimed,
                      std::uint32_t seed) {
    constexpr int scale = 4;
    const int W = kTrophyW * scale;
    const int H = kTrophyH * scale;
    Pixmap big(W, H);
    const double cx = W / 2.0 - 6;
    // The plinth.
    const Field plinth = rectField(W, H, cx - 88, H - 74.0, 176, 56, 10);
    castShadow(big, plinth, Shadow{14.0, 10.0, 0.5F});
    const WoodPalette wood = mahoganyWood();
    if (claimed) {
        paintLit(big, veneer(W, H, seed, wood), plinth, bevel(plinth, 10, 8), trophyWoodLight);
    } else {
        paintLit(big, Pixmap(W, H, hex(0x2E2A27)), plinth, bevel(plinth, 10, 8), trophyWoodLight);
    }
    const Field band = rectField(W, H, cx - 80, H - 56.0, 160, 8, 3);
    paintLit(big, brushedMetal(W, H, seed + 1, metal), band, bevel(band, 3, 2), trophyMetalLight);

    // The body.
    Field body = pathMask(W, H, [&](cairo_t* cr) {
        switch (kind) {
        case 0: // a cup with two handles
            cairo_move_to(cr, cx - 92, 28);
            cairo_curve_to(cr, cx - 92, 150, cx - 40, 190, cx - 18, 200);
            cairo_line_to(cr, cx - 18, 238);
            cairo_line_to(cr, cx - 58, 262);
            cairo_line_to(cr, cx + 58, 262);
            cairo_line_to(cr, cx + 18, 238);
            cairo_line_to(cr, cx + 18, 200);
            cairo_curve_to(cr, cx + 40, 190, cx + 92, 150, cx + 92, 28);
            cairo_close_path(cr);
            cairo_fill(cr);
            cairo_set_line_width(cr, 16);
            cairo_arc(cr, cx - 96, 90, 40, pi * 0.5, pi * 1.5);
            cairo_stroke(cr);
            cairo_arc(cr, cx + 96, 90, 40, -pi * 0.5, pi * 0.5);
            cairo_stroke(cr);
            break;
        case 1: // a star on a column
            starPath(cr, cx, 100, 96, 40);
            cairo_fill(cr);
            cairo_rectangle(cr, cx - 16, 150, 32, 100);
            cairo_fill(cr);
            cairo_move_to(cr, cx - 56, 262);
            cairo_line_to(cr, cx - 20, 236);
            cairo_line_to(cr, cx + 20, 236);
            cairo_line_to(cr, cx + 56, 262);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case 2: // a disc on a stand
            cairo_arc(cr, cx, 108, 86, 0, 2 * pi);
            cairo_fill(cr);
            cairo_rectangle(cr, cx - 14, 180, 28, 70);
            cairo_fill(cr);
            cairo_move_to(cr, cx - 60, 262);
            cairo_line_to(cr, cx - 24, 238);
            cairo_line_to(cr, cx + 24, 238);
            cairo_line_to(cr, cx + 60, 262);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        default: // an obelisk
            cairo_move_to(cr, cx, 14);
            cairo_line_to(cr, cx + 30, 52);
            cairo_line_to(cr, cx + 46, 262);
            cairo_line_to(cr, cx - 46, 262);
            cairo_line_to(cr, cx - 30, 52);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        }
    });
    castShadow(big, body, Shadow{12.0, 10.0, 0.45F});
    Field heights = cushion(body, 16.0, 26.0);
    raise(heights, body, bevel(body, 10, 6, Profile::Round));
    // The emblem, raised on the body.
    const double ey = kind == 3 ? 150.0 : (kind == 1 ? 100.0 : 104.0);
    const Field mark = pathMask(W, H, [&](cairo_t* cr) {
        switch (emblem) {
        case 0:
            starPath(cr, cx, ey, 34, 14);
            break;
        case 1:
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            cairo_arc(cr, cx, ey, 32, 0, 2 * pi);
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, ey, 18, 0, 2 * pi);
            break;
        case 2:
            cairo_move_to(cr, cx, ey - 34);
            cairo_line_to(cr, cx + 26, ey);
            cairo_line_to(cr, cx, ey + 34);
            cairo_line_to(cr, cx - 26, ey);
            cairo_close_path(cr);
            break;
        case 3:
            starPath(cr, cx - 20, ey, 22, 9);
            starPath(cr, cx + 20, ey, 22, 9);
            break;
        default:
            cairo_move_to(cr, cx - 34, ey + 20);
            cairo_line_to(cr, cx - 34, ey - 18);
            cairo_line_to(cr, cx - 17, ey);
            cairo_line_to(cr, cx, ey - 30);
            cairo_line_to(cr, cx + 17, ey);
            cairo_line_to(cr, cx + 34, ey - 18);
            cairo_line_to(cr, cx + 34, ey + 20);
            cairo_close_path(cr);
            break;
        }
        cairo_fill(cr);
    });
    raise(heights, maskIntersection(mark, body), bevel(mark, 5, kind == 1 ? -5.0 : 6.0));
    paintLit(big, brushedMetal(W, H, seed + 2, metal), body, heights, trophyMetalLight);
    if (claimed) {
        // A jewel in the emblem of the finest trophies.
        const Field jewel = maskIntersection(mark, body);
        glow(big, jewel, 6.0, hex(palette::goldLight, 0.6F), 0.25F);
    }
    Pixmap small = downsample(big, scale);
    if (!claimed) {
        // Unclaimed: a dim grey cast of the same trophy, half seen.
        for (Rgba& p : small.pixels) {
            const Rgba grey = desaturate(p, 1.0F);
            p = {grey.r * 0.7F, grey.g * 0.7F, grey.b * 0.75F, p.a * 0.55F};
        }
    }
    return small.toImage();
}

// The metal, shape and emblem of each trophy, by index.
struct TrophyLook {
    int kind;
    int emblem;
    int metal; // 0 bronze, 1 silver, 2 gold
};

constexpr std::array<TrophyLook, 20> kTrophyLooks{{
    {2, 1, 1}, // steady hand
    {3, 3, 1}, // clean split
    {0, 2, 0}, // time to spare
    {1, 0, 0}, // quick draw
    {2, 0, 2}, // bonus hunter
    {0, 0, 0}, // first floor
    {0, 1, 1}, // halfway up
    {0, 4, 2}, // top floor
    {3, 2, 2}, // speed freak
    {2, 3, 1}, // all-rounder
    {1, 4, 2}, // house champion
    {2, 2, 0}, // casino regular
    {3, 0, 1}, // combo frenzy
    {3, 4, 2}, // score tower
    {1, 1, 1}, // silver hallway
    {1, 3, 2}, // golden hallway
    {0, 3, 1}, // ten thousand pairs
    {2, 4, 0}, // twin strike
    {3, 1, 0}, // close call
    {1, 2, 0}, // well prepared
}};

// ---- the room -------------------------------------------------------------

// The trophy room: mahogany walls with five shelves on each side and, in
// the middle, the tall window onto the tower by night with its dark room
// windows on the grid the room lights.
ColorImage drawTrophyRoom() {
    constexpr int W = 800;
    constexpr int H = 600;
    Pixmap room(W, H, hex(palette::mahoganyDark));
    const Field all = rectField(W, H, 0, 0, W, H, 0);
    paintLit(room, wood(W, H, 301U, mahoganyVeneer(), WoodGrain{}), all, cushion(all, 1, 0),
             trophyWoodLight);

    // The night behind the window: a deep blue sky, a few stars, the city's glow low.
    constexpr int wx = 262;
    constexpr int wy = 14;
    constexpr int ww = 284;
    constexpr int wh = 520;
    Noise noise(303U);
    for (int y = wy; y < wy + wh; ++y) {
        const float t = static_cast<float>(y - wy) / wh;
        const Rgba sky = mix(hex(0x070B1E), hex(0x2A2C52), t * t);
        for (int x = wx; x < wx + ww; ++x) {
            room(x, y) = sky;
        }
    }
    for (int k = 0; k < 70; ++k) {
        const int x = wx + static_cast<int>(std::abs(noise.next()) * ww) % ww;
        const int y = wy + static_cast<int>(std::abs(noise.next()) * wh * 0.5) % wh;
        const float b = 0.5F + 0.5F * static_cast<float>(std::abs(noise.next()));
        room(x, y) = mix(room.at(x, y), hex(0xFFF6D8), b);
    }
    // A pale moon low beside the tower, with its halo.
    const Field moon = shapeMask(W, H, ellipse(531, 62, 10, 10), 4);
    glow(room, moon, 14.0, hex(0xBFCBEF, 0.8F), 0.35F);
    fill(room, moon, mix(hex(0xF4F1E2), hex(0xD9DDEB), 0.3F));
    // The town far below: a low row of roofs with a few lit windows, and the
    // warm haze of its streets rising behind them.
    lightPool(room, wx + ww / 2.0, wy + wh, ww * 0.9, 150, hex(0xE08A48), 0.45F);
    for (int k = 0, x = wx - 6; x < wx + ww; ++k) {
        const int bw = 16 + static_cast<int>(hashUnit(k, 1, 331U) * 26.0F);
        const int bh = 14 + static_cast<int>(hashUnit(k, 2, 331U) * 30.0F);
        const Field block = rectField(W, H, x, wy + wh - bh, bw, bh, 0);
        fill(room, block, hex(0x0C0B16));
        for (int yy = wy + wh - bh + 4; yy < wy + wh - 3; yy += 7) {
            for (int xx = x + 3; xx < x + bw - 3; xx += 6) {
                if (hashUnit(xx, yy, 337U) > 0.7F) {
                    fill(room, rectField(W, H, xx, yy, 2, 3, 0), hex(0xFFC878, 0.8F));
                }
            }
        }
        x += bw + 1;
    }
    // The tower: a shaft of dark stone, lit from the upper left, with two
    // piers between the window bays, a sill under every floor, a heavier
    // cornice every fifth floor, a parapet with the roof garden's lanterns,
    // and a cupola over the middle.
    constexpr int tx = 288;
    constexpr int tw = 230;
    constexpr int ty = 30;
    const Field tower = rectField(W, H, tx, ty, tw, wy + wh - ty, 0);
    Pixmap stone = paper(W, H, 341U, hex(0x2A2838));
    for (int y = 0; y < H; ++y) {
        for (int x = tx; x < tx + tw; ++x) {
            // Courses of stone blocks, each course's joints half a block along.
            const int course = y / 6;
            const bool joint = y % 6 == 0 || (x - tx + (course % 2) * 9) % 18 == 0;
            const float across = static_cast<float>(x - tx) / tw;
            Rgba c = stone.at(x, y);
            c = shade(c, 0.16F - 0.34F * across); // light from the left
            if (joint) {
                c = shade(c, -0.25F);
            }
            stone(x, y) = c;
        }
    }
    Field towerHeights = cushion(tower, 2.0, 3.0);
    // The piers stand out of the wall between the bays.
    for (const int px : {349, 419}) {
        const Field pier = rectField(W, H, px, ty, 38, wy + wh - ty, 1);
        raise(towerHeights, pier, bevel(pier, 4.0, 3.0));
    }
    paintLit(room, stone, tower, towerHeights, trophyWoodLight);
    for (int f = 1; f <= 20; ++f) {
        const int y = kWindowBottomRow - kFloorStep * (f - 1);
        // A sill under each floor; every fifth a deeper cornice across the shaft.
        const bool cornice = f % 5 == 1 && f > 1;
        const Field sill = cornice ? rectField(W, H, tx - 2, y + kWindowSize + 1, tw + 4, 3, 0)
                                   : rectField(W, H, tx + 4, y + kWindowSize + 1, tw - 8, 2, 0);
        castShadow(room, sill, Shadow{2.0, 1.0, 0.6F});
        paintLit(room, Pixmap(W, H, hex(0x4A4660)), sill, bevel(sill, 1.0, 1.0), trophyWoodLight);
        for (const int x0 : kWindowColumns) {
            // Dark glass holding a little of the sky, in a pale frame with a
            // mullion, sunk into the wall.
            for (int y1 = y; y1 < y + kWindowSize; ++y1) {
                for (int x1 = x0; x1 < x0 + kWindowSize; ++x1) {
                    const bool frame = x1 == x0 || y1 == y || x1 == x0 + kWindowSize - 1 ||
                                       y1 == y + kWindowSize - 1 || x1 == x0 + kWindowSize / 2;
                    const float t = static_cast<float>(y1 - y) / kWindowSize;
                    const Rgba glass = mix(hex(0x1C2A4A), hex(0x0A0E1C), t);
                    room(x1, y1) = frame ? hex(0x4C4860) : glass;
                }
            }
        }
    }
    const Field panes = pathMask(W, H, [](cairo_t* cr) {
        for (int f = 1; f <= 20; ++f) {
            for (const int x0 : kWindowColumns) {
                cairo_rectangle(cr, x0, kWindowBottomRow - kFloorStep * (f - 1), kWindowSize,
                                kWindowSize);
            }
        }
        cairo_fill(cr);
    });
    innerShadow(room, panes, 2.0, 1.0, 0.5F);
    // The parapet, its lanterns and the cupola.
    const Field parapet = rectField(W, H, tx - 4, ty - 4, tw + 8, 8, 1);
    castShadow(room, parapet, Shadow{2.0, 1.5, 0.6F});
    paintLit(room, Pixmap(W, H, hex(0x4A4660)), parapet, bevel(parapet, 2.0, 2.0), trophyWoodLight);
    // A small gilt cupola over the middle bay.
    const Field cupola = shapeMask(W, H, ellipse(403, 24, 14, 8), 4);
    castShadow(room, cupola, Shadow{2.0, 1.5, 0.6F});
    paintLit(room, brushedMetal(W, H, 343U, goldMetal()), cupola, cushion(cupola, 2.0, 4.0),
             trophyMetalLight);
    // The street's lamps light the tower's foot.
    lightPool(room, tx + tw / 2.0, wy + wh + 10, tw * 0.8, 110, hex(0xFFB060), 0.3F);
    for (int k = 0; k < 12; ++k) {
        const double lx = tx + 8 + k * ((tw - 16) / 11.0);
        const Field lamp = shapeMask(W, H, ellipse(lx, ty - 7, 1.8, 2.2), 4);
        glow(room, lamp, 3.0, hex(0xFFC870), 0.8F);
        fill(room, lamp, hex(0xFFE6A8));
    }
    // The window's frame: gold-lined lacquer, with a sill.
    const Field frame = maskMinus(rectField(W, H, wx - 16, wy - 10, ww + 32, wh + 24, 8),
                                  rectField(W, H, wx, wy, ww, wh, 2));
    castShadow(room, frame, Shadow{5.0, 4.0, 0.5F});
    paintLit(room, lacquer(W, H, 305U, redLacquer()), frame, bevel(frame, 6, 6), trophyWoodLight);
    const Field line = maskMinus(rectField(W, H, wx - 3, wy - 3, ww + 6, wh + 6, 3),
                                 rectField(W, H, wx, wy, ww, wh, 2));
    paintLit(room, brushedMetal(W, H, 307U, goldMetal()), line, bevel(line, 1, 1),
             trophyMetalLight);
    innerShadow(room, rectField(W, H, wx, wy, ww, wh, 2), 6, 5, 0.6F);

    // Ten shelves: a brass-edged mahogany board under each row of trophies.
    for (int row = 0; row < 5; ++row) {
        const int y = 110 + 100 * row + kTrophyH / 2 - 10;
        for (const auto& [x, w] : std::array<std::pair<int, int>, 2>{{{22, 222}, {556, 222}}}) {
            const Field board = rectField(W, H, x, y, w, 14, 3);
            castShadow(room, board, Shadow{8.0, 6.0, 0.55F});
            paintLit(room, wood(W, H, 311U + row, mahoganyWood(), WoodGrain{}), board,
                     bevel(board, 4, 4), trophyWoodLight);
            const Field edge = rectField(W, H, x, y, w, 3, 1);
            paintLit(room, brushedMetal(W, H, 313U, brassMetal()), edge, bevel(edge, 1, 1),
                     trophyMetalLight);
        }
    }
    // Warm lamps over the shelves, the window cool beside them.
    for (int row = 0; row < 5; ++row) {
        const double y = 96.0 + 100.0 * row;
        for (const double x : {133.0, 667.0}) {
            lightPool(room, x, y, 120, 52, hex(0xFFC872), 0.22F);
        }
    }
    vignette(room, 0.45F, 0.5F);
    return room.toImage();
}

ColorImage drawWindowLight(bool star) {
    ColorImage image(kWindowSize, kWindowSize);
    for (int y = 0; y < kWindowSize; ++y) {
        for (int x = 0; x < kWindowSize; ++x) {
            const bool frame = x == 0 || y == 0 || x == kWindowSize - 1 || y == kWindowSize - 1 ||
                               x == kWindowSize / 2;
            const float t = static_cast<float>(y) / kWindowSize;
            const Rgba lamp = mix(hex(0xFFE9A8), hex(0xE59A3A), t);
            image.set(x, y, toPixel(frame ? hex(0x5A4630) : lamp));
        }
    }
    if (star) {
        Pixmap big = Pixmap::fromImage(image);
        const Field mark = pathMask(kWindowSize, kWindowSize, [](cairo_t* cr) {
            starPath(cr, kWindowSize / 2.0, kWindowSize / 2.0 + 0.5, 8.5, 3.6);
            cairo_fill(cr);
        });
        fill(big, mark, hex(0xFFFFFF));
        const Field inner = pathMask(kWindowSize, kWindowSize, [](cairo_t* cr) {
            starPath(cr, kWindowSize / 2.0, kWindowSize / 2.0 + 0.5, 6.5, 2.7);
            cairo_fill(cr);
        });
        fill(big, inner, hex(palette::gold));
        return big.toImage();
    }
    return image;
}

// A soft additive spark: a gold-white glow with a cross of rays.
ColorImage drawSpark(int size, std::uint32_t tint) {
    ColorImage image(size, size);
    const double c = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c;
            const double dy = y + 0.5 - c;
            const double r = std::sqrt(dx * dx + dy * dy) / c;
            const double rays = std::exp(-std::abs(dx) * 1.4) * std::exp(-std::abs(dy) / c * 3.0) +
                                std::exp(-std::abs(dy) * 1.4) * std::exp(-std::abs(dx) / c * 3.0);
            const double v = std::clamp(std::exp(-r * r * 7.0) + rays * 0.7, 0.0, 1.0);
            const Rgba colour = mix(hex(tint), hex(0xFFFFFF), static_cast<float>(v * 0.8));
            image.set(x, y, toPixel({colour.r, colour.g, colour.b, static_cast<float>(v)}));
        }
    }
    return image;
}

BakedFont trophyFont(const fs::path& fonts, int size, std::uint32_t fillColour,
                     std::uint32_t shadowColour, const std::string& text) {
    FontSpec spec;
    spec.id = "trophy_art";
    spec.faceFile = (fonts / "opentype/linux-libertine/LinLibertine_RB.otf").string();
    spec.pixelSize = size;
    spec.charSpacing = 1;
    for (const char32_t c : widen(text)) {
        if (std::find(spec.characters.begin(), spec.characters.end(), c) == spec.characters.end()) {
            spec.characters.push_back(static_cast<std::uint32_t>(c));
        }
    }
    using Kind = LayerStyle::Kind;
    spec.layers = {LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, 0xFF000000U | fillColour, false},
                   LayerStyle{Kind::Shadow, 0, 0.8, 1, 2, 0.8, 0xFF000000U | shadowColour, false}};
    return bakeFont(spec);
}

// The ceremony's header: "New trophy!" in gold on a lacquer ribbon.
ColorImage drawWonHeader(const fs::path& fonts) {
    constexpr int W = 360;
    constexpr int H = 64;
    Pixmap ribbon(W, H);
    const Field band = pathMask(W, H, [](cairo_t* cr) {
        cairo_move_to(cr, 4, 10);
        cairo_line_to(cr, W - 4, 10);
        cairo_line_to(cr, W - 22, 32);
        cairo_line_to(cr, W - 4, 54);
        cairo_line_to(cr, 4, 54);
        cairo_line_to(cr, 22, 32);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(ribbon, band, Shadow{4.0, 3.0, 0.5F});
    paintLit(ribbon, lacquer(W, H, 331U, redLacquer()), band, bevel(band, 4, 4), trophyWoodLight);
    const Field rim = maskMinus(band, rectField(W, H, 30, 14, W - 60.0, 36, 2));
    paintLit(ribbon, brushedMetal(W, H, 333U, goldMetal()), maskIntersection(rim, band),
             bevel(rim, 1, 1), trophyMetalLight);
    ColorImage image = ribbon.toImage();
    const std::string text = "New trophy!";
    const BakedFont font = trophyFont(fonts, 30, palette::goldLight, palette::mahoganyDark, text);
    const Point at = centredOnInk(font, widen(text), 24, 10, W - 48, 44);
    drawText(image, font, widen(text), at.x, at.y);
    return image;
}

// ---- the floor-completed board -------------------------------------------

ColorImage drawFloorEndBoard() {
    constexpr int W = 480;
    constexpr int H = 340;
    Pixmap board(W, H);
    const Field outer = rectField(W, H, 6, 6, W - 16.0, H - 16.0, 18);
    castShadow(board, outer, Shadow{8.0, 6.0, 0.55F});
    paintLit(board, lacquer(W, H, 341U, redLacquer()), outer, bevel(outer, 8, 8), trophyWoodLight);
    const Field inner = rectField(W, H, 24, 24, W - 52.0, H - 52.0, 10);
    const Field line = maskMinus(rectField(W, H, 20, 20, W - 44.0, H - 44.0, 12), inner);
    paintLit(board, brushedMetal(W, H, 343U, goldMetal()), line, bevel(line, 2, 2),
             trophyMetalLight);
    paintLit(board, paper(W, H, 345U, hex(palette::parchment)), inner, cushion(inner, 2, 1),
             trophyWoodLight);
    innerShadow(board, inner, 4, 4, 0.35F);
    // The row the stars land on: a soft gold groove.
    const Field groove = rectField(W, H, 40, 82, W - 80.0, 72, 30);
    paintLit(board, Pixmap(W, H, mix(hex(palette::parchment), hex(palette::gold), 0.25F)), groove,
             cushion(groove, 3, -3), trophyWoodLight);
    return board.toImage();
}

ColorImage drawSummaryStar(int size, const MetalPalette& metal, bool full, std::uint32_t seed) {
    constexpr int scale = 4;
    const int S = size * scale;
    Pixmap big(S, S);
    const Field star = pathMask(S, S, [S](cairo_t* cr) {
        starPath(cr, S / 2.0 - 2, S / 2.0, S * 0.47, S * 0.2);
        cairo_fill(cr);
    });
    castShadow(big, star, Shadow{6.0, 5.0, 0.45F});
    if (full) {
        Field heights = bevel(star, S * 0.12, S * 0.08, Profile::Linear);
        paintLit(big, brushedMetal(S, S, seed, metal), star, heights, trophyMetalLight);
    } else {
        const Field hollow = maskMinus(star, blur(star, 1.0));
        static_cast<void>(hollow);
        paintLit(big, Pixmap(S, S, hex(0xB9A987, 0.75F)), star, cushion(star, 3, -4),
                 trophyWoodLight);
    }
    return downsample(big, scale).toImage();
}

// The thin frame of the room legend: nine 6-pixel pieces (corners, edges,
// middle) of parchment inside a gold line on a dark rim, corners rounded.
std::array<ColorImage, 9> drawInfoFrame() {
    constexpr int n = 6;
    const Rgba rim = hex(palette::mahoganyDark);
    const Rgba line = hex(palette::gold);
    const Rgba inside = hex(palette::parchment, 0.96F);
    std::array<ColorImage, 9> pieces;
    for (int piece = 0; piece < 9; ++piece) {
        const int column = piece % 3;
        const int row = piece / 3;
        ColorImage image(n, n);
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                // Distance in from the outer edges this piece touches.
                int d = n;
                if (column == 0) {
                    d = std::min(d, x);
                }
                if (column == 2) {
                    d = std::min(d, n - 1 - x);
                }
                if (row == 0) {
                    d = std::min(d, y);
                }
                if (row == 2) {
                    d = std::min(d, n - 1 - y);
                }
                const bool corner = column != 1 && row != 1;
                const int cx = column == 0 ? x : n - 1 - x;
                const int cy = row == 0 ? y : n - 1 - y;
                if (corner && cx + cy < 2) {
                    continue; // rounded off
                }
                const int inset = corner ? std::min(d, cx + cy - 1) : d;
                image.set(x, y, toPixel(inset == 0 ? rim : (inset == 1 ? line : inside)));
            }
        }
        pieces.at(static_cast<std::size_t>(piece)) = image;
    }
    return pieces;
}

// ---- sounds --------------------------------------------------------------

std::vector<std::pair<std::string, std::vector<float>>> trophySounds() {
    std::vector<std::pair<std::string, std::vector<float>>> sounds;
    {
        // The floor is clear: a rising major arpeggio and its chord.
        std::vector<float> clear = silence(2.2);
        const std::array<int, 4> notes{72, 76, 79, 84};
        for (std::size_t k = 0; k < notes.size(); ++k) {
            addSoftBell(clear, 0.14 * static_cast<double>(k), midi(notes.at(k)), 0.5, {0.6, 0.3});
        }
        for (const int note : {60, 64, 67, 72}) {
            addSoftBell(clear, 0.62, midi(note), 0.35, {1.1, 0.5});
        }
        normalisePeak(clear, 0.7F);
        sounds.emplace_back("hallway_clear", std::move(clear));
    }
    {
        std::vector<float> appears = silence(0.5);
        addSoftBell(appears, 0.0, midi(88), 0.6, {0.22, 0.1});
        addTone(appears, 0.02, midi(95), 0.2, 0.08);
        normalisePeak(appears, 0.5F);
        sounds.emplace_back("star_appears", std::move(appears));
    }
    {
        std::vector<float> unlock = silence(1.4);
        for (const int note : {79, 83, 86}) {
            addSoftBell(unlock, 0.0, midi(note), 0.4, {0.9, 0.4});
        }
        addSoftBell(unlock, 0.18, midi(91), 0.3, {0.7, 0.3});
        normalisePeak(unlock, 0.6F);
        sounds.emplace_back("unlock_item_text", std::move(unlock));
    }
    {
        // Fireworks: crackling bursts of noise with a few high pings.
        std::vector<float> fireworks = silence(2.0);
        Noise noise(351U);
        for (int burst = 0; burst < 7; ++burst) {
            const double start = 0.05 + burst * 0.22;
            const auto first = static_cast<std::size_t>(start * sampleRate);
            for (std::size_t i = first; i < fireworks.size(); ++i) {
                const double t = static_cast<double>(i - first) / sampleRate;
                const double crackle = noise.next() * std::exp(-t / 0.09);
                fireworks[i] += static_cast<float>(crackle * (noise.next() > 0.6 ? 0.9 : 0.25));
            }
            addTone(fireworks, start + 0.02, midi(84 + burst * 2), 0.25, 0.18);
        }
        normalisePeak(fireworks, 0.55F);
        sounds.emplace_back("trophy_fireworks", std::move(fireworks));
    }
    {
        std::vector<float> pops = silence(0.9);
        addSoftBell(pops, 0.0, midi(67), 0.5, {0.5, 0.25});
        addSoftBell(pops, 0.08, midi(74), 0.5, {0.5, 0.25});
        addSoftBell(pops, 0.16, midi(79), 0.6, {0.7, 0.3});
        normalisePeak(pops, 0.65F);
        sounds.emplace_back("trophy_pops_up", std::move(pops));
    }
    {
        // A soft swoosh: noise swelling and falling, low-passed.
        std::vector<float> moves = silence(0.7);
        Noise noise(353U);
        double low = 0.0;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const double u = static_cast<double>(i) / static_cast<double>(moves.size());
            low += (noise.next() - low) * (0.05 + 0.2 * u);
            moves[i] = static_cast<float>(low * std::sin(pi * u));
        }
        normalisePeak(moves, 0.45F);
        sounds.emplace_back("trophy_moves", std::move(moves));
    }
    return sounds;
}

} // namespace

void addTrophyArt(MediaSet& media, const fs::path& fonts, Gallery& sheet) {
    SheetRow row;
    row.title =
        "Trophy room: the room, trophies and their unclaimed looks, windows; floor board, stars";
    const ColorImage room = drawTrophyRoom();
    media.add("media/images/trophy/room.jpg", encodeJpeg(room, 90));
    row.pictures.push_back(downsample(Pixmap::fromImage(room), 4).toImage());
    const std::array<MetalPalette, 3> metals{bronzePalette(), silverPalette(), goldMetal()};
    for (std::size_t i = 0; i < kTrophyLooks.size(); ++i) {
        const TrophyLook& look = kTrophyLooks.at(i);
        const auto seed = static_cast<std::uint32_t>(401U + i * 7U);
        const std::string stem = "media/images/trophy/trophy" + std::to_string(i);
        const ColorImage trophy = drawTrophy(
            look.kind, look.emblem, metals.at(static_cast<std::size_t>(look.metal)), true, seed);
        const ColorImage unclaimed = drawTrophy(look.kind, look.emblem, greyPalette(), false, seed);
        media.add(stem + ".png", encodePngColor(trophy));
        media.add(stem + "_unclaimed.png", encodePngColor(unclaimed));
        row.pictures.push_back(trophy);
        if (i == 0) {
            row.pictures.push_back(unclaimed);
        }
    }
    const ColorImage lit = drawWindowLight(false);
    const ColorImage starred = drawWindowLight(true);
    media.add("media/images/trophy/window_light.png", encodePngColor(lit));
    media.add("media/images/trophy/window_star.png", encodePngColor(starred));
    row.pictures.push_back(starred);
    const ColorImage header = drawWonHeader(fonts);
    media.add("media/images/trophy/won_header.png", encodePngColor(header));
    row.pictures.push_back(header);
    const std::array<const char*, 9> pieceNames{"topleft",    "top",    "topright",
                                                "left",       "center", "right",
                                                "bottomleft", "bottom", "bottomright"};
    const std::array<ColorImage, 9> frame = drawInfoFrame();
    for (std::size_t k = 0; k < frame.size(); ++k) {
        media.add(std::string("media/images/trophy/info_") + pieceNames.at(k) + ".png",
                  encodePngColor(frame.at(k)));
    }
    const ColorImage spark = drawSpark(18, palette::gold);
    media.add("media/images/trophy/spark.png", encodePngColor(spark));

    const ColorImage board = drawFloorEndBoard();
    media.add("media/images/hallway/floor_end.png", encodePngColor(board));
    row.pictures.push_back(downsample(Pixmap::fromImage(board), 2).toImage());
    const ColorImage full = drawSummaryStar(26, goldMetal(), true, 361U);
    const ColorImage empty = drawSummaryStar(26, goldMetal(), false, 361U);
    media.add("media/images/hallway/star_full.png", encodePngColor(full));
    media.add("media/images/hallway/star_empty.png", encodePngColor(empty));
    row.pictures.push_back(full);
    row.pictures.push_back(empty);
    const ColorImage bigStar = drawSummaryStar(60, goldMetal(), true, 363U);
    const BakedFont digits =
        trophyFont(fonts, 17, palette::mahoganyDark, palette::goldLight, "0123456789");
    for (int floor = 1; floor <= 20; ++floor) {
        for (int door = 1; door <= 5; ++door) {
            ColorImage star = bigStar;
            const std::u32string text = widen(std::to_string(floor) + std::to_string(door));
            const Point at = centredOnInk(digits, text, 14, 20, 30, 24);
            drawText(star, digits, text, at.x, at.y);
            media.add("media/images/hallway/star_number_" + std::to_string(floor) +
                          std::to_string(door) + ".png",
                      encodePngColor(star));
            if (floor == 1 && door == 1) {
                row.pictures.push_back(star);
            }
        }
    }
    for (auto& [name, samples] : trophySounds()) {
        media.add("media/sounds/" + name + ".wav", encodeWav(samples));
    }
    sheet.rows.push_back(std::move(row));
}

} // namespace orv::media
