#include "tools/media/BuildingArt.h"

#include "tools/media/Artwork.h"
#include "tools/media/FontBaker.h"
#include "tools/media/HostArt.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Noise.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace orv::media {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Lighting metalLight{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting lacquerLight{0.55F, 0.55F, 34.0F, {1.0F, 0.96F, 0.86F, 1.0F}};
constexpr Lighting woodLight{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting stoneLight{0.5F, 0.45F, 28.0F, {1.0F, 1.0F, 0.95F, 1.0F}};

// The mark's size: every layer of the emblem is a square of this side with
// the emblem's centre in its middle.
constexpr int kMark = 200;
constexpr double kMarkCentre = kMark / 2.0;

std::uint8_t toByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.0), 0L, 255L));
}

// A grey reveal mask: `order(x, y)` in 0..1 gives when a pixel appears
// (0 first); `covered(x, y)` false makes it 255, never shown.
template <class Order, class Covered>
GreyImage revealMask(int w, int h, const Order& order, const Covered& covered) {
    GreyImage mask(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            mask.set(x, y,
                     covered(x, y) ? std::min<std::uint8_t>(toByte(order(x, y) * 0.97), 250) : 255);
        }
    }
    return mask;
}

// The angle of (x, y) about the mark's centre, 0..1 clockwise from the top.
double turn(double x, double y) {
    const double a = std::atan2(x - kMarkCentre, -(y - kMarkCentre));
    return (a < 0 ? a + 2 * kPi : a) / (2 * kPi);
}

double radius(double x, double y) {
    return std::hypot(x - kMarkCentre, y - kMarkCentre);
}

// The mark's V: two strokes from the upper corners of the disc meeting at
// its foot, drawn with cairo in the mark's square.
Field vMask(double inset) {
    return pathMask(kMark, kMark, [inset](cairo_t* cr) {
        const double top = 52 + inset;
        cairo_move_to(cr, 46 + inset * 1.6, top);
        cairo_line_to(cr, 82 + inset * 0.6, top);
        cairo_line_to(cr, 100, 124 - inset * 1.8);
        cairo_line_to(cr, 118 - inset * 0.6, top);
        cairo_line_to(cr, 154 - inset * 1.6, top);
        cairo_line_to(cr, 104 - inset * 0.3, 152 - inset * 1.4);
        cairo_line_to(cr, 96 + inset * 0.3, 152 - inset * 1.4);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
}

Field ring(double inner, double outer) {
    return maskMinus(shapeMask(kMark, kMark, ellipse(kMarkCentre, kMarkCentre, outer, outer)),
                     shapeMask(kMark, kMark, ellipse(kMarkCentre, kMarkCentre, inner, inner)));
}

// A burst of light: a soft core and `rays` thin rays.
ColorImage burst(int size, int rays, double reach) {
    Pixmap picture(size, size);
    const double c = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c;
            const double dy = y + 0.5 - c;
            const double r = std::hypot(dx, dy) / (c * reach);
            const double a = std::atan2(dy, dx);
            const double ray =
                std::pow(std::abs(std::cos(a * rays / 2.0)), 40.0) * std::max(0.0, 1.0 - r);
            const double core = std::exp(-r * r * 9.0);
            const double v = std::clamp(core + ray * 0.8, 0.0, 1.0);
            picture(x, y) = Rgba{1.0F, 0.97F, 0.85F, static_cast<float>(v)};
        }
    }
    return picture.toImage();
}

struct MarkLayers {
    ColorImage whiteCircle, vInside, vGreen, vGreenOverlay, vCircleBlack, borderBlack, beamer, word,
        sparkle, beamerSmall;
    GreyImage vInsideMask, vGreenMask, borderBlackMask, vCircleBlackMask, borderWhiteMask, wordMask;
};

MarkLayers drawMark(const std::filesystem::path& fonts) {
    MarkLayers m;
    // The white ground: a disc of warm white, lit like enamel; its edge lies
    // under the gold border, so no white shows outside the mark.
    {
        Pixmap disc(kMark, kMark);
        const Field shape = shapeMask(kMark, kMark, ellipse(kMarkCentre, kMarkCentre, 93, 93));
        fill(disc, shape, hex(0xFFFDF6));
        light(disc, bevel(shape, 8, 5), stoneLight);
        m.whiteCircle = disc.toImage();
    }
    const Field vOuter = vMask(0);
    const Field vInner = vMask(7);
    // The green V: jade, raised and lit; its inner line a lighter jade.
    {
        Pixmap v(kMark, kMark);
        paintLit(v, jade(kMark, kMark, 71U, jadeStone()), vOuter, bevel(vOuter, 4, 4), stoneLight);
        m.vGreen = v.toImage();
        Pixmap inside(kMark, kMark);
        fill(inside, vInner, hex(palette::jadeLight));
        light(inside, cushion(vInner, 2.0, 3.0), stoneLight);
        m.vInside = inside.toImage();
        // A gloss over the upper half of the strokes.
        Pixmap gloss(kMark, kMark);
        for (int y = 0; y < kMark; ++y) {
            for (int x = 0; x < kMark; ++x) {
                const float a = vOuter.at(x, y) *
                                static_cast<float>(std::clamp((110.0 - y) / 70.0, 0.0, 1.0)) *
                                0.45F;
                gloss(x, y) = Rgba{1.0F, 1.0F, 0.95F, a};
            }
        }
        m.vGreenOverlay = gloss.toImage();
    }
    // The dark lacquer ring and the thin gold-edged black border outside it.
    {
        Pixmap band(kMark, kMark);
        const Field inner = ring(76, 86);
        paintLit(band, lacquer(kMark, kMark, 19U, LacquerPalette{hex(0x1A0805), hex(0x3A140C)}),
                 inner, bevel(inner, 3, 3, Profile::Bead), lacquerLight);
        m.vCircleBlack = band.toImage();
        Pixmap border(kMark, kMark);
        const Field outer = ring(90, 97);
        paintLit(border, brushedMetal(kMark, kMark, 23U, goldMetal()), outer,
                 bevel(outer, 3, 3, Profile::Bead), metalLight);
        m.borderBlack = border.toImage();
    }
    m.beamer = burst(kMark, 8, 0.95);
    m.beamerSmall = burst(60, 4, 0.9);
    // The sparkle beside the word: a small gold four-pointed star.
    {
        Pixmap star(24, 24);
        const Field shape = pathMask(24, 24, [](cairo_t* cr) {
            cairo_move_to(cr, 12, 1);
            cairo_line_to(cr, 14.5, 9.5);
            cairo_line_to(cr, 23, 12);
            cairo_line_to(cr, 14.5, 14.5);
            cairo_line_to(cr, 12, 23);
            cairo_line_to(cr, 9.5, 14.5);
            cairo_line_to(cr, 1, 12);
            cairo_line_to(cr, 9.5, 9.5);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        paintLit(star, brushedMetal(24, 24, 29U, goldMetal()), shape, bevel(shape, 2, 2),
                 metalLight);
        m.sparkle = star.toImage();
    }
    // The word, in Linux Libertine Bold: embossed gold on a dark rim.
    {
        FontSpec spec;
        spec.id = "mark";
        spec.faceFile = (fonts / "opentype/linux-libertine/LinLibertine_RB.otf").string();
        spec.pixelSize = 40;
        spec.charSpacing = 2;
        for (const char c : std::string("VANTREL")) {
            spec.characters.push_back(static_cast<std::uint32_t>(c));
        }
        spec.characters.push_back(' ');
        using Kind = LayerStyle::Kind;
        spec.layers = {
            LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, 0xFF000000U | palette::gold, true},
            LayerStyle{Kind::Outline, 1, 0, 0, 0, 1.0, 0xFF000000U | palette::mahoganyDark, false},
            LayerStyle{Kind::Shadow, 1, 1.5, 1, 2, 0.5, 0xFF000000U, false}};
        const BakedFont font = bakeFont(spec);
        const std::u32string text = U"VANTREL";
        const int w = textWidth(font, text) + 12;
        const int h = font.lineHeight + 12;
        m.word = ColorImage(w, h);
        drawText(m.word, font, text, 6, 4);
        m.wordMask = revealMask(
            w, h, [w](int x, int) { return static_cast<double>(x) / w; },
            [](int, int) { return true; });
    }
    m.vInsideMask = revealMask(
        kMark, kMark, [](int, int y) { return std::clamp((y - 50) / 105.0, 0.0, 1.0); },
        [](int, int) { return true; });
    m.vGreenMask = revealMask(
        kMark, kMark,
        [](int x, int y) {
            // From the tips of the strokes down to the foot.
            return std::clamp((y - 50) / 105.0 * 0.8 + std::abs(x - kMarkCentre) / 500.0, 0.0, 1.0);
        },
        [](int, int) { return true; });
    m.borderBlackMask = revealMask(
        kMark, kMark, [](int x, int y) { return turn(x + 0.5, y + 0.5); },
        [](int, int) { return true; });
    m.borderWhiteMask = revealMask(
        kMark, kMark, [](int x, int y) { return 1.0 - turn(x + 0.5, y + 0.5); },
        [](int x, int y) { return radius(x + 0.5, y + 0.5) > 84; });
    m.vCircleBlackMask = revealMask(
        kMark, kMark,
        [](int x, int y) { return std::clamp(radius(x + 0.5, y + 0.5) / 90.0, 0.0, 1.0); },
        [](int, int) { return true; });
    return m;
}

// The splash's ground: deep lacquer of the evening, nearly black at the
// edges, a warm glow behind the mark at the screen's centre and faint gold
// rays from it. Dark enough that the enamel disc and the gold word stand out
// and that the fade to black at the end reads as the light going down.
ColorImage drawSplashBackdrop() {
    constexpr int w = 800;
    constexpr int h = 600;
    constexpr double cx = w / 2.0;
    constexpr double cy = h / 2.0;
    Pixmap picture = lacquer(w, h, 53U, LacquerPalette{hex(0x0E0403), hex(0x2A0C07)});
    // Twenty-four soft rays, strongest half way out, gone at the corners.
    const Rgba rayColor = hex(palette::goldLight);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = (y + 0.5 - cy) * 1.25;
            const double r = std::hypot(dx, dy);
            const double ray = std::pow(std::abs(std::cos(std::atan2(dy, dx) * 12.0)), 30.0);
            const double reach = std::clamp((r - 60.0) / 120.0, 0.0, 1.0) *
                                 std::clamp((470.0 - r) / 260.0, 0.0, 1.0);
            picture(x, y) =
                over(picture.at(x, y), rayColor, static_cast<float>(ray * reach * 0.035));
        }
    }
    lightPool(picture, cx, cy, 440, 310, hex(palette::lacquer), 0.42F);
    lightPool(picture, cx, cy, 250, 160, hex(0xFFC27A), 0.16F);
    vignette(picture, 0.75F, 0.4F);
    return picture.toImage();
}

// The loading screen's backdrop: red lacquer in a mahogany frame, darker to
// the corners, warm light in the middle.
ColorImage drawLoadingBackdrop() {
    constexpr int w = 800;
    constexpr int h = 600;
    Pixmap picture = wood(w, h, 5U, mahoganyWood());
    const Field panel = shapeMask(w, h, roundRect(28, 28, w - 56, h - 56, 10));
    light(picture, bevel(shapeMask(w, h, roundRect(0, 0, w, h, 0)), 14, 6, Profile::Linear),
          woodLight);
    castShadow(picture, panel, Shadow{-3.0, 3.0, 0.5F});
    const Field panelHeight = bevel(panel, 4, -3, Profile::Cove);
    paintLit(picture, lacquer(w, h, 41U, redLacquer()), panel, panelHeight, lacquerLight);
    const Field bead = maskMinus(shapeMask(w, h, roundRect(40, 40, w - 80, h - 80, 8)),
                                 shapeMask(w, h, roundRect(44, 44, w - 88, h - 88, 6)));
    paintLit(picture, brushedMetal(w, h, 43U, goldMetal()), bead, bevel(bead, 2, 2, Profile::Bead),
             metalLight);
    lightPool(picture, 400, 250, 380, 260, hex(0xFFD9A0), 0.35F);
    vignette(picture, 0.55F);
    return picture.toImage();
}

// The emblem of the loading screen: the building's tower in a gold medallion.
ColorImage drawEmblem(int size, bool faint) {
    constexpr int scale = 2;
    const int n = size * scale;
    Pixmap picture(n, n);
    const double c = n / 2.0;
    const Field disc = shapeMask(n, n, ellipse(c, c, c - 8, c - 8));
    if (!faint) {
        castShadow(picture, disc, Shadow{4.0 * scale, 3.0 * scale, 0.55F});
    }
    Field height = bevel(disc, 10.0 * scale, 6.0 * scale, Profile::Bead);
    const Field field = shapeMask(n, n, ellipse(c, c, c - 30 * scale, c - 30 * scale));
    raise(height, field, cushion(field, 6.0 * scale, -2.0 * scale));
    paintLit(picture, brushedMetal(n, n, 53U, goldMetal()), disc, height, metalLight);
    // The lacquer field inside the rim.
    paintLit(picture, lacquer(n, n, 57U, LacquerPalette{hex(0x3A0F08), hex(palette::lacquerDark)}),
             field, cushion(field, 4.0 * scale, 2.0 * scale), lacquerLight);
    // The tower: five storeys of gold under upturned eaves.
    const double u = (c - 30 * scale) / 40.0;
    const Field tower = pathMask(n, n, [c, u](cairo_t* cr) {
        double base = c + 30 * u;
        for (int k = 0; k < 5; ++k) {
            const double width = 26 * u - k * 4.2 * u;
            cairo_rectangle(cr, c - width / 2, base - 9 * u, width, 9 * u);
            cairo_move_to(cr, c - width / 2 - 6 * u, base - 8 * u);
            cairo_curve_to(cr, c - width / 4, base - 10 * u, c + width / 4, base - 10 * u,
                           c + width / 2 + 6 * u, base - 8 * u);
            cairo_line_to(cr, c + width / 2 + 6 * u, base - 10.5 * u);
            cairo_curve_to(cr, c + width / 4, base - 12 * u, c - width / 4, base - 12 * u,
                           c - width / 2 - 6 * u, base - 10.5 * u);
            cairo_close_path(cr);
            base -= 11 * u;
        }
        cairo_move_to(cr, c - 1.5 * u, base + 1 * u);
        cairo_line_to(cr, c, base - 8 * u);
        cairo_line_to(cr, c + 1.5 * u, base + 1 * u);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    paintLit(picture, brushedMetal(n, n, 59U, goldMetal()), tower,
             bevel(tower, 2.0 * scale, 2.0 * scale), metalLight);
    Pixmap small = downsample(picture, scale);
    if (faint) {
        for (Rgba& p : small.pixels) {
            p.a *= 0.35F;
        }
    }
    return small.toImage();
}

// The bar's fill (polished gold) and its sunken groove, with the groove 6 px
// larger on every side.
ColorImage drawBarFill(int w, int h) {
    Pixmap picture(w, h);
    const Field shape = shapeMask(w, h, roundRect(0, 0, w, h, h / 2.0));
    paintLit(picture, brushedMetal(w, h, 61U, goldMetal()), shape, cushion(shape, 3.0, 3.0),
             metalLight);
    return picture.toImage();
}

ColorImage drawBarGroove(int w, int h) {
    Pixmap picture(w, h);
    const Field outer = shapeMask(w, h, roundRect(0, 0, w, h, h / 2.0));
    const Field inner = shapeMask(w, h, roundRect(5, 5, w - 10, h - 10, (h - 10) / 2.0));
    paintLit(picture, brushedMetal(w, h, 67U, brassMetal()), outer,
             bevel(outer, 3, 3, Profile::Bead), metalLight);
    fill(picture, inner, hex(0x1A0805));
    innerShadow(picture, inner, 3.0, 2.0, 0.8F);
    return picture.toImage();
}

// A soft diagonal band of light for the sweeps, transparent at its sides.
ColorImage drawLightBand(int w, int h, double slant) {
    // 0 at the picture's edge, rising smoothly to 1 a fifth of the way in:
    // the band fades out before every edge, so that no straight line of light
    // shows where the slanted band meets the picture's border.
    const auto edgeFade = [](double position, double size) {
        const double t =
            std::clamp(std::min(position, size - 1.0 - position) / (size * 0.2), 0.0, 1.0);
        return t * t * (3.0 - 2.0 * t);
    };
    Pixmap picture(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double across = (x + (h - y) * slant) / (w + h * slant);
            const double v =
                std::exp(-std::pow((across - 0.5) * 5.0, 2.0)) * edgeFade(x, w) * edgeFade(y, h);
            picture(x, y) = Rgba{1.0F, 0.93F, 0.78F, static_cast<float>(v * 0.8)};
        }
    }
    return picture.toImage();
}

// The lobby's geometry: the doorway, the doors and the host's portrait.
constexpr int kDoorTop = 160;
constexpr int kDoorHeight = 300;
constexpr int kDoorWidth = 120;
constexpr int kDoorLeft = 280;
constexpr int kFloor = 470;
constexpr int kPortraitX = 66;
constexpr int kPortraitY = 150;
constexpr int kPortraitW = 150;
constexpr int kPortraitH = 196;
constexpr int kEyesX = kPortraitX + 50;
constexpr int kEyesY = kPortraitY + 78;

ColorImage drawLobbyHall() {
    constexpr int w = 800;
    constexpr int h = 600;
    Pixmap hall = Pixmap::fromImage(drawLobbyWall());
    // The floor: polished ivory marble in large slabs, a mahogany border.
    {
        const Field floor = shapeMask(w, h, roundRect(0, kFloor, w, h - kFloor, 0));
        fill(hall, floor, marble(w, h - kFloor, 89U, ivoryMarble()), 0, kFloor);
        Field joints(w, h);
        for (int y = kFloor; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool joint = (x % 100 == 0) || ((y - kFloor) % 65 == 0);
                joints(x, y) = joint ? 1.0F : 0.0F;
            }
        }
        Field floorHeight = bevel(floor, 1, 0);
        for (std::size_t i = 0; i < floorHeight.values.size(); ++i) {
            floorHeight.values[i] -= joints.values[i] * 0.8F;
        }
        light(hall, floorHeight, stoneLight);
        // The wall's foot casts a soft shadow on the floor.
        const Field wallFoot = shapeMask(w, h, roundRect(0, 0, w, kFloor, 0));
        castShadow(hall, wallFoot, Shadow{3.0, 4.0, 0.35F});
        lightPool(hall, 400, 560, 420, 120, hex(0xFFE6B8), 0.25F);
    }
    // A crimson runner bound in gold leads from the front to the elevator,
    // narrowing with the floor's depth.
    {
        const auto runnerPath = [](double inset) {
            return [inset](cairo_t* cr) {
                cairo_move_to(cr, kDoorLeft + 22 + inset, kFloor);
                cairo_line_to(cr, kDoorLeft + 2 * kDoorWidth - 22 - inset, kFloor);
                cairo_line_to(cr, 560 - 1.6 * inset, h);
                cairo_line_to(cr, 240 + 1.6 * inset, h);
                cairo_close_path(cr);
                cairo_fill(cr);
            };
        };
        const Field runner = pathMask(w, h, runnerPath(0));
        const Field field = pathMask(w, h, runnerPath(7));
        castShadow(hall, runner, Shadow{2.0, 3.0, 0.4F});
        Pixmap cloth = felt(w, h, 109U, hex(palette::lacquerDark));
        lightPool(cloth, 400, 560, 260, 110, hex(palette::vermilion), 0.35F);
        fill(hall, field, cloth);
        light(hall, bevel(field, 3, 1), woodLight);
        const Field binding = maskMinus(runner, field);
        paintLit(hall, brushedMetal(w, h, 113U, goldMetal(), false), binding,
                 bevel(binding, 3, 2, Profile::Round), metalLight);
        innerShadow(hall, field, 3.0, 2.5, 0.35F);
    }
    // The elevator: a brass frame, the car's warm inside, a dial above.
    {
        const Field frame =
            shapeMask(w, h,
                      roundRect(kDoorLeft - 24, kDoorTop - 24, 2 * kDoorWidth + 48,
                                kDoorHeight + 24 + (kFloor - kDoorTop - kDoorHeight), 6));
        const Field opening =
            shapeMask(w, h, roundRect(kDoorLeft, kDoorTop, 2 * kDoorWidth, kDoorHeight, 0));
        const Field rim = maskMinus(frame, opening);
        castShadow(hall, frame, Shadow{5.0, 4.0, 0.5F});
        Field rimHeight = bevel(rim, 10, 8, Profile::Round);
        raise(
            rimHeight, rim,
            bevel(maskMinus(frame, shapeMask(w, h,
                                             roundRect(kDoorLeft - 10, kDoorTop - 10,
                                                       2 * kDoorWidth + 20, kDoorHeight + 10, 3))),
                  3, 2, Profile::Bead));
        paintLit(hall, brushedMetal(w, h, 97U, brassMetal(), false), rim, rimHeight, metalLight);
        // The car: walnut walls lit from above.
        Pixmap car = wood(2 * kDoorWidth, kDoorHeight, 101U, walnutWood());
        lightPool(car, kDoorWidth, 20, 200, 180, hex(0xFFD58A), 0.6F);
        vignette(car, 0.5F);
        fill(hall, opening, car, kDoorLeft, kDoorTop);
        innerShadow(hall, opening, 8.0, 5.0, 0.7F);
        // The floor dial above the doors.
        const Field dial = shapeMask(w, h, ellipse(400, kDoorTop - 58, 44, 24));
        castShadow(hall, dial, Shadow{3.0, 2.0, 0.45F});
        paintLit(hall, brushedMetal(w, h, 103U, goldMetal()), dial,
                 bevel(dial, 4, 3, Profile::Bead), metalLight);
        const Field face = shapeMask(w, h, ellipse(400, kDoorTop - 56, 36, 17));
        fill(hall, face, hex(palette::parchment));
        innerShadow(hall, face, 2.0, 1.5, 0.5F);
        const Field ticks = pathMask(w, h, [](cairo_t* cr) {
            cairo_set_line_width(cr, 1.4);
            for (int k = 0; k <= 6; ++k) {
                const double a = kPi + k * kPi / 6.0;
                cairo_move_to(cr, 400 + 30 * std::cos(a), kDoorTop - 44 + 14 * std::sin(a));
                cairo_line_to(cr, 400 + 25 * std::cos(a), kDoorTop - 44 + 11.5 * std::sin(a));
            }
            cairo_stroke(cr);
            cairo_move_to(cr, 400, kDoorTop - 44);
            cairo_line_to(cr, 377, kDoorTop - 53);
            cairo_set_line_width(cr, 2.0);
            cairo_stroke(cr);
        });
        fill(hall, ticks, hex(palette::mahoganyDark));
        // The call button plate on the right of the frame.
        const Field plate =
            shapeMask(w, h, roundRect(kDoorLeft + 2 * kDoorWidth + 40, 300, 22, 52, 4));
        castShadow(hall, plate, Shadow{2.0, 1.5, 0.45F});
        paintLit(hall, brushedMetal(w, h, 107U, brassMetal()), plate, bevel(plate, 3, 2),
                 metalLight);
        const Field call = shapeMask(w, h, ellipse(kDoorLeft + 2 * kDoorWidth + 51, 326, 6, 6));
        fill(hall, call, hex(0xFFB347));
        glow(hall, call, 4.0, hex(0xFFC870), 0.7F);
    }
    // The host's portrait in a gilt frame on the left bay.
    {
        const Field outer =
            shapeMask(w, h, roundRect(kPortraitX, kPortraitY, kPortraitW, kPortraitH, 3));
        const Field canvas = shapeMask(
            w, h, roundRect(kPortraitX + 12, kPortraitY + 12, kPortraitW - 24, kPortraitH - 24, 1));
        castShadow(hall, outer, Shadow{5.0, 4.0, 0.55F});
        paintLit(hall, brushedMetal(w, h, 109U, goldMetal()), maskMinus(outer, canvas),
                 bevel(outer, 12, 6, Profile::Bead), metalLight);
        Pixmap back = lacquer(kPortraitW - 24, kPortraitH - 24, 113U,
                              LacquerPalette{hex(0x0F2E22), hex(palette::jadeDark)});
        lightPool(back, 40, 40, 120, 120, hex(0xFFE0B0), 0.25F);
        fill(hall, canvas, back, kPortraitX + 12, kPortraitY + 12);
        paintHostPortrait(hall, kPortraitX + 12, kPortraitY + 12, 0.0);
        innerShadow(hall, canvas, 3.0, 2.0, 0.5F);
        lightPool(hall, kPortraitX + kPortraitW / 2.0, kPortraitY - 10, 120, 80, hex(0xFFE6B8),
                  0.2F);
    }
    vignette(hall, 0.3F, 0.6F);
    return hall.toImage();
}

// One elevator door: brushed brass with two raised panels and a lacquer
// inlay; the left door's right edge and the right door's left edge meet.
ColorImage drawDoor(bool left) {
    Pixmap door(kDoorWidth, kDoorHeight);
    const Field leaf =
        shapeMask(kDoorWidth, kDoorHeight, roundRect(0, 0, kDoorWidth, kDoorHeight, 0));
    Field height = bevel(leaf, 3, 2, Profile::Round);
    for (const int top : {20, 160}) {
        const Field panel =
            shapeMask(kDoorWidth, kDoorHeight, roundRect(16, top, kDoorWidth - 32, 120, 3));
        raise(height, panel, bevel(panel, 5, 3, Profile::Linear));
    }
    paintLit(door, brushedMetal(kDoorWidth, kDoorHeight, left ? 127U : 131U, brassMetal(), false),
             leaf, height, metalLight);
    const Field inlay = pathMask(kDoorWidth, kDoorHeight, [](cairo_t* cr) {
        for (const int top : {20, 160}) {
            const double cx = kDoorWidth / 2.0;
            const double cy = top + 60.0;
            cairo_move_to(cr, cx, cy - 30);
            cairo_line_to(cr, cx + 18, cy);
            cairo_line_to(cr, cx, cy + 30);
            cairo_line_to(cr, cx - 18, cy);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
    });
    paintLit(door, lacquer(kDoorWidth, kDoorHeight, 137U, redLacquer()), inlay,
             cushion(inlay, 2.0, 2.0), lacquerLight);
    // The meeting edge is darker: the doors' seam.
    for (int y = 0; y < kDoorHeight; ++y) {
        const int x = left ? kDoorWidth - 1 : 0;
        door(x, y) = shade(door.at(x, y), -0.5F);
    }
    return door.toImage();
}

// The warm light that spills from the car while the doors part.
ColorImage drawDoorGlow() {
    constexpr int w = 24;
    Pixmap glowStrip(w, kDoorHeight);
    for (int y = 0; y < kDoorHeight; ++y) {
        for (int x = 0; x < w; ++x) {
            const double across = std::exp(-std::pow((x + 0.5 - w / 2.0) / 5.0, 2.0));
            glowStrip(x, y) = Rgba{1.0F, 0.86F, 0.55F, static_cast<float>(across * 0.85)};
        }
    }
    return glowStrip.toImage();
}

// Three frames side by side: the host's eyes half shut, shut, half shut,
// cut from the portrait so the lids sit exactly over the painted eyes.
ColorImage drawEyes(const ColorImage& hall) {
    constexpr int fw = 52;
    constexpr int fh = 16;
    ColorImage strip(fw * 3, fh);
    for (int f = 0; f < 3; ++f) {
        Pixmap picture = Pixmap::fromImage(hall);
        paintHostPortrait(picture, kPortraitX + 12, kPortraitY + 12, f == 1 ? 1.0 : 0.55);
        for (int y = 0; y < fh; ++y) {
            for (int x = 0; x < fw; ++x) {
                strip.set(f * fw + x, y, toPixel(picture.at(kEyesX + x, kEyesY + y)));
            }
        }
    }
    return strip;
}

void addColor(MediaSet& media, const std::string& path, const ColorImage& image) {
    media.add(path, encodePngColor(image));
}

} // namespace

void addBuildingArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet) {
    const MarkLayers mark = drawMark(fonts);
    const std::string s = "media/images/splash/";
    addColor(media, s + "white_circle.png", mark.whiteCircle);
    addColor(media, s + "v_inside.png", mark.vInside);
    addColor(media, s + "v_green.png", mark.vGreen);
    addColor(media, s + "v_green_overlay.png", mark.vGreenOverlay);
    addColor(media, s + "v_circle_black.png", mark.vCircleBlack);
    addColor(media, s + "border_black.png", mark.borderBlack);
    addColor(media, s + "beamer.png", mark.beamer);
    addColor(media, s + "beamer_small.png", mark.beamerSmall);
    addColor(media, s + "vantrel.png", mark.word);
    addColor(media, s + "r.png", mark.sparkle);
    media.add(s + "v_inside_mask.png", encodePngGrey(mark.vInsideMask));
    media.add(s + "v_green_mask.png", encodePngGrey(mark.vGreenMask));
    media.add(s + "border_black_mask.png", encodePngGrey(mark.borderBlackMask));
    media.add(s + "v_circle_black_mask.png", encodePngGrey(mark.vCircleBlackMask));
    media.add(s + "border_white_mask.png", encodePngGrey(mark.borderWhiteMask));
    media.add(s + "vantrel_mask.png", encodePngGrey(mark.wordMask));

    const ColorImage splashGround = drawSplashBackdrop();
    media.add(s + "background.jpg", encodeJpeg(splashGround, 90));

    const std::string l = "media/images/loading/";
    const ColorImage backdrop = drawLoadingBackdrop();
    const ColorImage emblem = drawEmblem(200, false);
    media.add(l + "background.jpg", encodeJpeg(backdrop, 90));
    addColor(media, l + "logo.png", emblem);
    addColor(media, l + "logo_glow.png", drawEmblem(260, true));
    addColor(media, l + "bar.png", drawBarFill(388, 14));
    addColor(media, l + "bar_groove.png", drawBarGroove(400, 26));
    addColor(media, "media/images/shine.png", drawLightBand(90, 200, 0.4));

    const std::string b = "media/images/lobby/";
    const ColorImage hall = drawLobbyHall();
    media.add(b + "hall.jpg", encodeJpeg(hall, 90));
    const ColorImage doorLeft = drawDoor(true);
    addColor(media, b + "door_left.png", doorLeft);
    addColor(media, b + "door_right.png", drawDoor(false));
    addColor(media, b + "door_glow.png", drawDoorGlow());
    const ColorImage eyes = drawEyes(hall);
    addColor(media, b + "eyes.png", eyes);
    addColor(media, b + "elevator_shine.png", drawLightBand(120, 300, 0.5));

    sheet.rows.push_back(
        {"Splash, loading screen and lobby",
         {mark.whiteCircle, mark.vGreen, mark.borderBlack, mark.word, emblem, doorLeft}});
    // The host as the lobby hangs him, and his blink frames.
    const ColorImage portrait = crop(Pixmap::fromImage(hall), kPortraitX - 6, kPortraitY - 6,
                                     kPortraitW + 12, kPortraitH + 12)
                                    .toImage();
    sheet.rows.push_back({"The host: the lobby's portrait and his eyes closing", {portrait, eyes}});
}

namespace {

// A struck bell: partials at `ratios` of `frequency`, each decaying.
void bell(std::vector<float>& out, double start, double frequency, double gain, double decay) {
    static constexpr std::array<double, 5> ratios{1.0, 2.0, 2.76, 5.4, 8.93};
    static constexpr std::array<double, 5> levels{1.0, 0.5, 0.3, 0.12, 0.05};
    const auto first = static_cast<std::size_t>(start * sampleRate);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        double v = 0;
        for (std::size_t k = 0; k < ratios.size(); ++k) {
            v += levels.at(k) * std::sin(2 * kPi * frequency * ratios.at(k) * t) *
                 std::exp(-t * decay * (1.0 + static_cast<double>(k) * 0.7));
        }
        const double attack = std::min(1.0, t / 0.004);
        out[i] += static_cast<float>(v * gain * attack);
    }
}

// White noise in -1..1 for sample `i`, from a fixed seed.
double unitNoise(std::size_t i, std::uint32_t seed) {
    return hashPoint(static_cast<int>(i), 0, seed) / 2147483648.0 - 1.0;
}

std::vector<float> silence(double seconds) {
    return std::vector<float>(static_cast<std::size_t>(seconds * sampleRate), 0.0F);
}

// A rising shimmer: noise swept up through a resonant band, with a bright
// bell at its top.
std::vector<float> shimmer() {
    std::vector<float> out = silence(1.6);
    double low = 0;
    double band = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double sweep = std::min(t / 0.9, 1.0);
        const double centre = 400.0 + 5200.0 * sweep * sweep;
        const double f = 2.0 * std::sin(kPi * centre / sampleRate);
        const double noise = unitNoise(i, 211U);
        low += f * band;
        const double high = noise - low - 0.35 * band;
        band += f * high;
        const double envelope =
            std::sin(std::min(t / 1.0, 1.0) * kPi) * std::exp(-std::max(0.0, t - 0.9) * 6);
        out[i] = static_cast<float>(band * envelope * 0.35);
    }
    bell(out, 0.85, 1318.5, 0.25, 4.0);
    return out;
}

// The mark's chord: D major, three bells a moment apart.
std::vector<float> markChord() {
    std::vector<float> out = silence(2.2);
    bell(out, 0.00, 587.33, 0.22, 2.2);
    bell(out, 0.06, 739.99, 0.18, 2.2);
    bell(out, 0.12, 880.00, 0.18, 2.0);
    bell(out, 0.18, 1174.66, 0.12, 2.4);
    return out;
}

std::vector<float> loadingDone() {
    std::vector<float> out = silence(1.2);
    bell(out, 0.0, 880.0, 0.28, 3.5);
    bell(out, 0.11, 1318.5, 0.24, 3.5);
    return out;
}

std::vector<float> tick() {
    std::vector<float> out = silence(0.03);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double noise = unitNoise(i, 223U);
        out[i] = static_cast<float>((noise * 0.5 + std::sin(2 * kPi * 3200 * t)) *
                                    std::exp(-t * 260) * 0.3);
    }
    return out;
}

} // namespace

void addBuildingSounds(MediaSet& media) {
    media.add("media/sounds/mark_shimmer.wav", encodeWav(shimmer()));
    media.add("media/sounds/mark_chord.wav", encodeWav(markChord()));
    media.add("media/sounds/loading_complete.wav", encodeWav(loadingDone()));
    media.add("media/sounds/tick.wav", encodeWav(tick()));
}

} // namespace orv::media
