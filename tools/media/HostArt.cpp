#include "tools/media/HostArt.h"

#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace orv::media {

namespace {

constexpr double kHostPi = 3.14159265358979323846;
// Painted this many times larger, then shrunk.
constexpr int kHostSupersample = 4;

constexpr Lighting hostSkinLight{0.45F, 0.18F, 22.0F, {1.0F, 0.95F, 0.86F, 1.0F}};
constexpr Lighting hostClothLight{0.5F, 0.3F, 30.0F, {1.0F, 0.95F, 0.85F, 1.0F}};
constexpr Lighting hostGoldLight{0.6F, 0.75F, 16.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting hostHairLight{0.4F, 0.25F, 26.0F, {1.0F, 0.95F, 0.88F, 1.0F}};

constexpr std::uint32_t kHostSkin = 0xE7B189;
constexpr std::uint32_t kHostSkinShade = 0xB97A58;
constexpr std::uint32_t kHostHair = 0x3A2418;
constexpr std::uint32_t kHostGrey = 0xA89C90;

// Draws in the box's own units: cairo is scaled and moved so that the box
// lands where the picture wants it, at the supersampled size.
class HostSketch {
public:
    HostSketch(int width, int height, double scale, double x, double y)
        : w_(width * kHostSupersample), h_(height * kHostSupersample), k_(scale * kHostSupersample),
          x_(x * kHostSupersample), y_(y * kHostSupersample) {}

    [[nodiscard]] int width() const { return w_; }
    [[nodiscard]] int height() const { return h_; }
    // Box units to supersampled pixels (bevel widths, blurs, heights).
    [[nodiscard]] double px(double units) const { return units * k_; }
    // The box's x of a supersampled pixel column.
    [[nodiscard]] double boxX(int column) const { return (column + 0.5 - x_) / k_; }

    [[nodiscard]] Field mask(const std::function<void(cairo_t*)>& draw) const {
        return pathMask(w_, h_, [&](cairo_t* cr) {
            cairo_translate(cr, x_, y_);
            cairo_scale(cr, k_, k_);
            draw(cr);
        });
    }

private:
    int w_;
    int h_;
    double k_;
    double x_;
    double y_;
};

void hostOval(cairo_t* cr, double cx, double cy, double rx, double ry, double angle = 0.0) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kHostPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// A path and its mirror image about the box's centre line (x = 63).
void hostMirrored(cairo_t* cr, const std::function<void(cairo_t*)>& half) {
    half(cr);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 126, 0);
    cairo_scale(cr, -1, 1);
    half(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

Pixmap hostFlat(const HostSketch& s, std::uint32_t rgb) {
    return Pixmap(s.width(), s.height(), hex(rgb));
}

// The tunic, its lapels, shirt, tie, buttons, epaulettes and the pin.
void paintHostCostume(Pixmap& p, const HostSketch& s) {
    const Field coat = s.mask([](cairo_t* cr) {
        cairo_move_to(cr, 0, 172);
        cairo_curve_to(cr, 1, 152, 3, 140, 12, 131);
        cairo_curve_to(cr, 22, 122, 38, 119, 50, 114);
        cairo_line_to(cr, 76, 114);
        cairo_curve_to(cr, 88, 119, 104, 122, 114, 131);
        cairo_curve_to(cr, 123, 140, 125, 152, 126, 172);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    Field coatHeight = cushion(coat, s.px(7), s.px(9));
    // Folds of cloth: the sleeves' seams and the chest's fullness.
    const Field seams = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 1.4);
        cairo_move_to(cr, 26, 124);
        cairo_curve_to(cr, 22, 140, 24, 158, 28, 172);
        cairo_move_to(cr, 100, 124);
        cairo_curve_to(cr, 104, 140, 102, 158, 98, 172);
        cairo_stroke(cr);
    });
    raise(coatHeight, seams, cushion(seams, s.px(1.2), -s.px(2.5)));
    paintLit(p, lacquer(s.width(), s.height(), 901U, redLacquer()), coat, coatHeight,
             hostClothLight);

    // The shirt front and wing collar in the V of the lapels.
    const Field shirt = s.mask([](cairo_t* cr) {
        cairo_move_to(cr, 50, 113);
        cairo_line_to(cr, 76, 113);
        cairo_line_to(cr, 63, 152);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    paintLit(p, hostFlat(s, palette::ivory), shirt, cushion(shirt, s.px(2.5), s.px(3)),
             hostClothLight);
    const Field collarLine = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 0.8);
        cairo_move_to(cr, 55, 115);
        cairo_line_to(cr, 60, 121);
        cairo_move_to(cr, 71, 115);
        cairo_line_to(cr, 66, 121);
        cairo_stroke(cr);
    });
    fill(p, collarLine, hex(palette::ivoryShade));

    // The lapels: darker lacquer, piped in gold along their edges.
    const auto lapel = [](cairo_t* cr) {
        cairo_move_to(cr, 40, 117);
        cairo_line_to(cr, 51, 113);
        cairo_line_to(cr, 63, 153);
        cairo_line_to(cr, 59, 160);
        cairo_line_to(cr, 47, 139);
        cairo_line_to(cr, 52, 134);
        cairo_close_path(cr);
    };
    const Field lapels = s.mask([&](cairo_t* cr) { hostMirrored(cr, lapel); });
    castShadow(p, lapels, Shadow{s.px(1.0), s.px(1.0), 0.4F});
    Field lapelHeight = bevel(lapels, s.px(2.5), s.px(2.0), Profile::Round);
    paintLit(p,
             lacquer(s.width(), s.height(), 907U,
                     LacquerPalette{hex(0x3E0E08), hex(palette::lacquerDark)}),
             lapels, lapelHeight, hostClothLight);
    const Field piping = s.mask([&](cairo_t* cr) {
        cairo_set_line_width(cr, 1.1);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        lapel(cr);
        cairo_stroke(cr);
        cairo_save(cr);
        cairo_translate(cr, 126, 0);
        cairo_scale(cr, -1, 1);
        lapel(cr);
        cairo_restore(cr);
        cairo_stroke(cr);
    });
    paintLit(p, brushedMetal(s.width(), s.height(), 911U, goldMetal()), piping,
             cushion(piping, s.px(0.4), s.px(0.8)), hostGoldLight);

    // The bow tie.
    const Field tie = s.mask([](cairo_t* cr) {
        hostMirrored(cr, [](cairo_t* c) {
            cairo_move_to(c, 63, 120);
            cairo_curve_to(c, 59, 116, 55, 114, 53, 115);
            cairo_curve_to(c, 52, 118, 52, 123, 53, 126);
            cairo_curve_to(c, 55, 126, 59, 124, 63, 121);
            cairo_close_path(c);
        });
        hostOval(cr, 63, 120.5, 2.6, 2.8);
        cairo_fill(cr);
    });
    castShadow(p, tie, Shadow{s.px(1.0), s.px(0.8), 0.45F});
    paintLit(p, hostFlat(s, 0x2A120C), tie, cushion(tie, s.px(1.2), s.px(2.0)), hostClothLight);

    // Gold buttons, two rows, below the lapels.
    const Field buttons = s.mask([](cairo_t* cr) {
        for (const double y : {150.0, 162.0}) {
            hostOval(cr, 52 + (y - 150) * 0.2, y, 2.3, 2.3);
            hostOval(cr, 74 - (y - 150) * 0.2, y, 2.3, 2.3);
        }
        hostOval(cr, 63, 170, 2.3, 2.3);
        cairo_fill(cr);
    });
    castShadow(p, buttons, Shadow{s.px(0.8), s.px(0.6), 0.5F});
    paintLit(p, brushedMetal(s.width(), s.height(), 913U, goldMetal()), buttons,
             cushion(buttons, s.px(0.8), s.px(1.8)), hostGoldLight);

    // Epaulettes: gold boards on the shoulders with a short fringe.
    const Field boards = s.mask([](cairo_t* cr) {
        hostOval(cr, 22, 127, 15, 4.6, -0.42);
        hostOval(cr, 104, 127, 15, 4.6, 0.42);
        cairo_fill(cr);
    });
    const Field fringe = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 1.3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int k = 0; k < 6; ++k) {
            const double t = k / 5.0;
            const double lx = 10 + t * 8;
            const double ly = 134 - t * 4;
            cairo_move_to(cr, lx, ly);
            cairo_line_to(cr, lx - 1.2, ly + 7);
            cairo_move_to(cr, 126 - lx, ly);
            cairo_line_to(cr, 126 - lx + 1.2, ly + 7);
        }
        cairo_stroke(cr);
    });
    const Field epaulettes = maskUnion(boards, fringe);
    castShadow(p, epaulettes, Shadow{s.px(1.5), s.px(1.0), 0.45F});
    Field goldHeight = bevel(boards, s.px(2.5), s.px(2.5), Profile::Round);
    raise(goldHeight, fringe, cushion(fringe, s.px(0.5), s.px(1.2)));
    paintLit(p, brushedMetal(s.width(), s.height(), 917U, goldMetal()), epaulettes, goldHeight,
             hostGoldLight);

    // The crossed keys on his left lapel: the keeper of every floor's keys.
    const Field keys = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 1.3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (const double dir : {-1.0, 1.0}) {
            const double bx = 80 - dir * 5;
            const double by = 136;
            const double tx = 80 + dir * 5;
            const double ty = 148;
            cairo_move_to(cr, bx, by);
            cairo_line_to(cr, tx, ty);
            cairo_stroke(cr);
            cairo_move_to(cr, tx, ty);
            cairo_line_to(cr, tx - dir * 2.2, ty - 0.2);
            cairo_stroke(cr);
            hostOval(cr, bx, by, 1.9, 1.9);
            cairo_fill(cr);
        }
    });
    castShadow(p, keys, Shadow{s.px(0.8), s.px(0.5), 0.5F});
    paintLit(p, brushedMetal(s.width(), s.height(), 919U, goldMetal()), keys,
             cushion(keys, s.px(0.4), s.px(1.0)), hostGoldLight);
}

// The eyes, open or closed by `lids`: ivory whites, warm brown irises with a
// catch light, lids of skin that come down over them and a lash line.
void paintHostEyes(Pixmap& p, const HostSketch& s, double lids) {
    for (const double ex : {52.0, 74.0}) {
        const double ey = 73.5;
        const Field white = s.mask([ex, ey](cairo_t* cr) {
            cairo_move_to(cr, ex - 5.6, ey + 0.3);
            cairo_curve_to(cr, ex - 3, ey - 4.2, ex + 3, ey - 4.2, ex + 5.6, ey - 0.2);
            cairo_curve_to(cr, ex + 3, ey + 3.2, ex - 3, ey + 3.2, ex - 5.6, ey + 0.3);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        // The socket's soft shade around the eye.
        const Field socket = s.mask([ex, ey](cairo_t* cr) {
            hostOval(cr, ex, ey - 0.5, 7.5, 5.0);
            cairo_fill(cr);
        });
        fill(p, blur(socket, s.px(1.6)), hex(kHostSkinShade, 0.35F));
        fill(p, white, hex(0xF6EEDC));
        const Field iris = maskIntersection(white, s.mask([ex, ey](cairo_t* cr) {
            hostOval(cr, ex + 0.4, ey - 0.3, 2.9, 2.9);
            cairo_fill(cr);
        }));
        fill(p, iris, hex(0x5A3418));
        const Field pupil = s.mask([ex, ey](cairo_t* cr) {
            hostOval(cr, ex + 0.4, ey - 0.3, 1.4, 1.4);
            cairo_fill(cr);
        });
        fill(p, pupil, hex(0x160A05));
        const Field spark = s.mask([ex, ey](cairo_t* cr) {
            hostOval(cr, ex - 0.6, ey - 1.3, 0.8, 0.8);
            cairo_fill(cr);
        });
        fill(p, spark, hex(0xFFFFFF, 0.9F));
        // The upper lid's shadow on the white.
        const Field top = maskIntersection(white, s.mask([ex, ey](cairo_t* cr) {
            cairo_rectangle(cr, ex - 7, ey - 5, 14, 2.6);
            cairo_fill(cr);
        }));
        fill(p, blur(top, s.px(0.6)), hex(0x6A3A24, 0.35F));
        // The lid: skin from the top of the eye down to `lids` of the way.
        const double edge = ey - 3.2 + 6.4 * lids;
        if (lids > 0) {
            const Field lid = maskIntersection(s.mask([ex, ey](cairo_t* cr) {
                hostOval(cr, ex, ey, 6.4, 4.4);
                cairo_fill(cr);
            }),
                                               s.mask([ex, ey, edge](cairo_t* cr) {
                                                   cairo_move_to(cr, ex - 8, ey - 6);
                                                   cairo_line_to(cr, ex + 8, ey - 6);
                                                   cairo_line_to(cr, ex + 8, edge);
                                                   cairo_curve_to(cr, ex + 3, edge + 1.4, ex - 3,
                                                                  edge + 1.4, ex - 8, edge);
                                                   cairo_close_path(cr);
                                                   cairo_fill(cr);
                                               }));
            paintLit(p, hostFlat(s, 0xD9A07A), lid, cushion(lid, s.px(1.0), s.px(1.2)),
                     hostSkinLight);
        }
        // The lash line along the lid's edge (or the upper rim when open).
        const Field lash = s.mask([ex, ey, edge, lids](cairo_t* cr) {
            cairo_set_line_width(cr, 0.95);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            if (lids <= 0) {
                cairo_move_to(cr, ex - 5.8, ey + 0.4);
                cairo_curve_to(cr, ex - 3, ey - 4.3, ex + 3, ey - 4.3, ex + 6.0, ey - 0.6);
            } else {
                const double sag = 1.2 + 0.6 * lids;
                cairo_move_to(cr, ex - 5.8, std::min(edge, ey + 0.4));
                cairo_curve_to(cr, ex - 3, edge + sag, ex + 3, edge + sag, ex + 6.0,
                               std::min(edge, ey - 0.2));
            }
            cairo_stroke(cr);
        });
        fill(p, lash, hex(0x2A160C));
    }
}

// The neck, drawn before the collar and tie that sit over it.
void paintHostNeck(Pixmap& p, const HostSketch& s) {
    const Field neck = s.mask([](cairo_t* cr) {
        cairo_move_to(cr, 52, 92);
        cairo_line_to(cr, 74, 92);
        cairo_curve_to(cr, 74, 104, 75, 110, 77, 116);
        cairo_line_to(cr, 49, 116);
        cairo_curve_to(cr, 51, 110, 52, 104, 52, 92);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    paintLit(p, hostFlat(s, kHostSkinShade), neck, cushion(neck, s.px(3), s.px(4)), hostSkinLight);
}

// The head: ears, face, nose, cheeks, eyes, brows, moustache and smile,
// the hair with grey at the temples and the cap over it.
void paintHostHead(Pixmap& p, const HostSketch& s, double lids) {

    const Field ears = s.mask([](cairo_t* cr) {
        hostOval(cr, 38.5, 77, 4.6, 7.8, 0.12);
        hostOval(cr, 87.5, 77, 4.6, 7.8, -0.12);
        cairo_fill(cr);
    });
    Field earHeight = cushion(ears, s.px(1.5), s.px(3));
    const Field earHollow = s.mask([](cairo_t* cr) {
        hostOval(cr, 38.8, 77, 2.0, 4.6, 0.12);
        hostOval(cr, 87.2, 77, 2.0, 4.6, -0.12);
        cairo_fill(cr);
    });
    raise(earHeight, earHollow, cushion(earHollow, s.px(0.8), -s.px(1.5)));
    paintLit(p, hostFlat(s, 0xDCA27E), ears, earHeight, hostSkinLight);

    // The face: a little square at the jaw, a soft chin.
    const Field face = s.mask([](cairo_t* cr) {
        cairo_move_to(cr, 63, 42);
        cairo_curve_to(cr, 78, 42, 88, 52, 88.5, 68);
        cairo_curve_to(cr, 89, 82, 86, 92, 79, 99);
        cairo_curve_to(cr, 74, 104, 69, 106, 63, 106);
        cairo_curve_to(cr, 57, 106, 52, 104, 47, 99);
        cairo_curve_to(cr, 40, 92, 37, 82, 37.5, 68);
        cairo_curve_to(cr, 38, 52, 48, 42, 63, 42);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(p, face, Shadow{s.px(2.0), s.px(2.0), 0.45F});
    Field faceHeight = cushion(face, s.px(8), s.px(12));
    const Field nose = s.mask([](cairo_t* cr) {
        cairo_move_to(cr, 61.5, 72);
        cairo_curve_to(cr, 60, 78, 58, 83, 58.5, 86);
        cairo_curve_to(cr, 60, 89, 66, 89, 67.5, 86);
        cairo_curve_to(cr, 68, 83, 66, 78, 64.5, 72);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    raise(faceHeight, nose, cushion(nose, s.px(1.6), s.px(4)));
    const Field brows = s.mask([](cairo_t* cr) {
        hostOval(cr, 52, 67, 7, 2.6);
        hostOval(cr, 74, 67, 7, 2.6);
        cairo_fill(cr);
    });
    raise(faceHeight, brows, cushion(brows, s.px(1.5), s.px(1.5)));
    Pixmap skin = hostFlat(s, kHostSkin);
    paintLit(p, skin, face, faceHeight, hostSkinLight);
    // Warm cheeks and the nostrils' shade.
    const Field cheeks = s.mask([](cairo_t* cr) {
        hostOval(cr, 46, 86, 6, 4);
        hostOval(cr, 80, 86, 6, 4);
        cairo_fill(cr);
    });
    fill(p, maskIntersection(face, blur(cheeks, s.px(2.5))), hex(0xE0806A, 0.28F));
    const Field nostrils = s.mask([](cairo_t* cr) {
        hostOval(cr, 60.3, 87.2, 1.3, 0.8, 0.3);
        hostOval(cr, 65.7, 87.2, 1.3, 0.8, -0.3);
        cairo_fill(cr);
    });
    fill(p, blur(nostrils, s.px(0.4)), hex(0x6A3420, 0.7F));

    paintHostEyes(p, s, lids);

    // Brows: dark with a touch of grey, arched, the outer ends lower.
    const Field browHair = s.mask([](cairo_t* cr) {
        hostMirrored(cr, [](cairo_t* c) {
            cairo_move_to(c, 45.5, 67.8);
            cairo_curve_to(c, 48, 63.8, 54, 63.2, 58.8, 65.2);
            cairo_curve_to(c, 54, 64.8, 49, 65.6, 45.5, 67.8);
            cairo_close_path(c);
        });
    });
    fill(p, browHair, hex(0x4A3428));

    // The moustache: full, waxed up at the ends; a smile under it.
    const Field moustache = s.mask([](cairo_t* cr) {
        hostMirrored(cr, [](cairo_t* c) {
            cairo_move_to(c, 63, 89.5);
            cairo_curve_to(c, 58, 87.5, 52, 88, 48, 91.5);
            cairo_curve_to(c, 45.5, 93.5, 43, 92.5, 42.5, 90);
            cairo_curve_to(c, 42, 93.5, 45, 96, 49, 95.5);
            cairo_curve_to(c, 54, 95, 59, 94, 63, 93.2);
            cairo_close_path(c);
        });
    });
    const Field smile = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 1.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 55, 96.2);
        cairo_curve_to(cr, 59, 99.4, 67, 99.4, 71, 96.2);
        cairo_stroke(cr);
    });
    fill(p, smile, hex(0x7A3222));
    const Field lip = s.mask([](cairo_t* cr) {
        hostOval(cr, 63, 100.6, 4.2, 1.2);
        cairo_fill(cr);
    });
    fill(p, blur(lip, s.px(0.6)), hex(0xFFE4CC, 0.35F));
    castShadow(p, moustache, Shadow{s.px(0.8), s.px(0.7), 0.35F});
    paintLit(p, hostFlat(s, 0x4A3326), moustache, cushion(moustache, s.px(1.0), s.px(2.0)),
             hostHairLight);
    const Field greyStreak = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 0.6);
        for (const double dx : {-11.0, -6.0, 6.0, 11.0}) {
            cairo_move_to(cr, 63 + dx * 0.5, 90.5);
            cairo_line_to(cr, 63 + dx, 92.6);
        }
        cairo_stroke(cr);
    });
    fill(p, maskIntersection(moustache, greyStreak), hex(kHostGrey, 0.5F));

    // Hair: combed back under the cap, grey at the temples.
    const Field hair = s.mask([](cairo_t* cr) {
        cairo_move_to(cr, 37.2, 80);
        cairo_curve_to(cr, 34.5, 60, 40, 44, 63, 41);
        cairo_curve_to(cr, 86, 44, 91.5, 60, 88.8, 80);
        cairo_line_to(cr, 86.6, 80);
        cairo_curve_to(cr, 86, 66, 84, 58, 78, 55);
        cairo_curve_to(cr, 68, 53, 58, 53, 48, 55);
        cairo_curve_to(cr, 42, 58, 40, 66, 39.4, 80);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(p, hair, Shadow{s.px(0.8), s.px(1.0), 0.35F});
    Field hairHeight = cushion(hair, s.px(1.5), s.px(3));
    const Field combLines = s.mask([](cairo_t* cr) {
        cairo_set_line_width(cr, 0.7);
        for (int k = 0; k < 7; ++k) {
            const double x = 41 + k * 7.3;
            cairo_move_to(cr, x, 56);
            cairo_curve_to(cr, x + 1, 50, x + 2, 46, x + 3, 42);
        }
        cairo_stroke(cr);
    });
    raise(hairHeight, combLines, cushion(combLines, s.px(0.5), -s.px(0.8)));
    Pixmap hairColour = hostFlat(s, kHostHair);
    for (int y = 0; y < hairColour.height; ++y) {
        for (int x = 0; x < hairColour.width; ++x) {
            // Grey toward the sides (the temples), the top still dark.
            const double side = std::abs(s.boxX(x) - 63.0) / 26.0;
            const double t = std::clamp((side - 0.62) / 0.36, 0.0, 1.0);
            hairColour(x, y) = mix(hex(kHostHair), hex(kHostGrey), static_cast<float>(t * 0.7));
        }
    }
    paintLit(p, hairColour, hair, hairHeight, hostHairLight);

    // The pillbox cap, tipped a little to his right: red lacquer, a gold band
    // and a gold crest, a darker crown.
    const auto capOutline = [](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, 63, 48);
        cairo_rotate(cr, -0.09);
        cairo_move_to(cr, -22, 3);
        cairo_curve_to(cr, -21.5, -8, -20.5, -16, -19, -22);
        cairo_curve_to(cr, -8, -26, 8, -26, 19, -22);
        cairo_curve_to(cr, 20.5, -16, 21.5, -8, 22, 3);
        cairo_curve_to(cr, 8, 7, -8, 7, -22, 3);
        cairo_close_path(cr);
        cairo_restore(cr);
    };
    const Field cap = s.mask([&](cairo_t* cr) {
        capOutline(cr);
        cairo_fill(cr);
    });
    castShadow(p, cap, Shadow{s.px(2.5), s.px(1.8), 0.5F});
    Field capHeight = cushion(cap, s.px(4), s.px(7));
    const Field band = maskIntersection(cap, s.mask([](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, 63, 48);
        cairo_rotate(cr, -0.09);
        cairo_move_to(cr, -24, -4.5);
        cairo_curve_to(cr, -8, -0.5, 8, -0.5, 24, -4.5);
        cairo_line_to(cr, 24, 8);
        cairo_line_to(cr, -24, 8);
        cairo_close_path(cr);
        cairo_restore(cr);
        cairo_fill(cr);
    }));
    paintLit(p, lacquer(s.width(), s.height(), 923U, redLacquer()), cap, capHeight, hostClothLight);
    const Field crown = s.mask([](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, 63, 48);
        cairo_rotate(cr, -0.09);
        hostOval(cr, 0, -22.5, 19, 3.6);
        cairo_restore(cr);
        cairo_fill(cr);
    });
    fill(p, crown, hex(palette::lacquerDark, 0.55F));
    Field bandHeight = capHeight;
    raise(bandHeight, band, bevel(band, s.px(1.2), s.px(1.2), Profile::Bead));
    paintLit(p, brushedMetal(s.width(), s.height(), 929U, goldMetal()), band, bandHeight,
             hostGoldLight);
    const Field crest = s.mask([](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, 63, 48);
        cairo_rotate(cr, -0.09);
        // A small gold star over the band.
        cairo_move_to(cr, 0, -18.5);
        for (int k = 1; k < 10; ++k) {
            const double a = -kHostPi / 2 + k * kHostPi / 5;
            const double r = k % 2 == 1 ? 2.0 : 4.6;
            cairo_line_to(cr, r * std::cos(a), -14 + r * std::sin(a));
        }
        cairo_close_path(cr);
        cairo_restore(cr);
        cairo_fill(cr);
    });
    castShadow(p, crest, Shadow{s.px(0.8), s.px(0.5), 0.5F});
    paintLit(p, brushedMetal(s.width(), s.height(), 931U, goldMetal()), crest,
             cushion(crest, s.px(0.6), s.px(1.4)), hostGoldLight);
}

} // namespace

Pixmap drawHostFigure(int width, int height, double scale, double x, double y, double lids) {
    const HostSketch sketch(width, height, scale, x, y);
    Pixmap big(sketch.width(), sketch.height());
    // His shadow on whatever stands behind him.
    const Field figure = sketch.mask([](cairo_t* cr) {
        cairo_move_to(cr, 0, 172);
        cairo_curve_to(cr, 1, 150, 4, 136, 14, 128);
        cairo_curve_to(cr, 28, 118, 44, 116, 52, 104);
        cairo_curve_to(cr, 38, 92, 35, 70, 40, 50);
        cairo_curve_to(cr, 42, 30, 52, 24, 63, 24);
        cairo_curve_to(cr, 74, 24, 84, 30, 86, 50);
        cairo_curve_to(cr, 91, 70, 88, 92, 74, 104);
        cairo_curve_to(cr, 82, 116, 98, 118, 112, 128);
        cairo_curve_to(cr, 122, 136, 125, 150, 126, 172);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(big, figure, Shadow{sketch.px(4), sketch.px(4), 0.4F});
    paintHostNeck(big, sketch);
    paintHostCostume(big, sketch);
    paintHostHead(big, sketch, lids);
    return downsample(big, kHostSupersample);
}

void paintHostPortrait(Pixmap& picture, int ox, int oy, double lids) {
    composite(picture, drawHostFigure(126, 172, 1.0, 0.0, 0.0, lids), ox, oy);
}

void paintHostCameo(Pixmap& picture, double cx, double cy, double unit) {
    const double u = unit;
    const int w = picture.width;
    const int h = picture.height;
    const Field rim = shapeMask(w, h, ellipse(cx, cy, 12.5 * u, 15.5 * u));
    const Field window = shapeMask(w, h, ellipse(cx, cy, 10 * u, 13 * u));
    castShadow(picture, rim, Shadow{2.0 * u, 1.5 * u, 0.5F});
    paintLit(picture, brushedMetal(w, h, 313U, goldMetal()), maskMinus(rim, window),
             bevel(rim, 2.5 * u, 2.0 * u, Profile::Bead), hostGoldLight);
    Pixmap inside(w, h);
    fill(inside, window, jade(w, h, 317U, jadeStone()));
    lightPool(inside, cx - 4 * u, cy - 8 * u, 12 * u, 12 * u, hex(0xFFE0B0), 0.3F);
    composite(inside, drawHostFigure(w, h, 0.25 * u, cx - 15.75 * u, cy - 18.6 * u, 0.0));
    composite(picture, masked(inside, window));
    innerShadow(picture, window, 1.5 * u, 1.0 * u, 0.55F);
}

ColorImage drawHostCameo() {
    constexpr int w = 76;
    constexpr int h = 92;
    constexpr int n = 4;
    Pixmap big(w * n, h * n);
    paintHostCameo(big, 37.0 * n, 45.0 * n, 2.8 * n);
    return downsample(big, n).toImage();
}

} // namespace orv::media
