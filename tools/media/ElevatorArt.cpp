#include "tools/media/ElevatorArt.h"

#include "tools/media/Artwork.h"
#include "tools/media/BuildingArt.h"
#include "tools/media/FontBaker.h"
#include "tools/media/HostArt.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/SynthParts.h"
#include "tools/media/Typesetting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace orv::media {

namespace {

constexpr Lighting metalLight{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting woodLight{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting stoneLight{0.5F, 0.45F, 28.0F, {1.0F, 1.0F, 0.95F, 1.0F}};
constexpr Lighting lacquerLight{0.55F, 0.55F, 34.0F, {1.0F, 0.96F, 0.86F, 1.0F}};

// The screen: 800 x 600. These positions are the scene definition's too
// (media/properties/dialogs.xml, "SCENE_ELEVATOR").
constexpr int kW = 800;
constexpr int kH = 600;
// The host's screen: its brass bezel and the picture inside.
constexpr int kBezelX = 62;
constexpr int kBezelY = 64;
constexpr int kBezelW = 232;
constexpr int kBezelH = 268;
constexpr int kScreenX = 78;
constexpr int kScreenY = 80;
constexpr int kScreenW = 200;
constexpr int kScreenH = 236;
// The host's 126 x 172 box, standing on the screen's lower edge.
constexpr int kHostX = kScreenX + (kScreenW - 126) / 2;
constexpr int kHostY = kScreenY + kScreenH - 172;
constexpr int kEyesX = kHostX + 38;
constexpr int kEyesY = kHostY + 66;
constexpr int kEyesW = 52;
constexpr int kEyesH = 16;
// The brass plaque under the screen.
constexpr int kPlaqueW = 132;
constexpr int kPlaqueX = kScreenX + (kScreenW - kPlaqueW) / 2;
// The control panel and the floor display set in it.
constexpr int kPanelX = 468;
constexpr int kPanelY = 34;
constexpr int kPanelW = 282;
constexpr int kPanelH = 520;
constexpr int kDisplayX = 525;
constexpr int kDisplayY = 56;
constexpr int kDisplayW = 160;
constexpr int kCell = 40;
constexpr int kDisplayH = kCell + 8;
// The round floor buttons and the place buttons (one frame each).
constexpr int kRound = 52;
constexpr int kPlaceW = 126;
constexpr int kPlaceH = 40;
// The finger snap's frames: a box on the screen's right beside the host's
// head, clear of his eyes, reaching down to the glass's lower edge.
constexpr int kSnapX = 196;
constexpr int kSnapY = 176;
constexpr int kSnapW = kScreenX + kScreenW - kSnapX;
constexpr int kSnapH = kScreenY + kScreenH - kSnapY;
constexpr int kSnapFrames = 15;
// The unlock glow's frames.
constexpr int kGlow = 96;
constexpr int kGlowFrames = 8;
// The wall's bays: the screen's, the narrow one beside it that carries the
// speaker, the direction lanterns and the alarm button, and the low one under
// both that the speech bubble covers.
constexpr int kBayTop = 40;
constexpr int kUpperBayH = 330;
constexpr int kColumnX = 344;
constexpr int kColumnW = 104;
constexpr int kColumnCX = kColumnX + kColumnW / 2;
constexpr int kLowerBayY = 380;
constexpr int kLowerBayH = 160;
// The speech bubble: a body of three lines of text below a tail that points
// up at the screen's plaque (its place, and the text's, are the scene
// definition's).
constexpr int kBubbleW = 404;
constexpr int kBubbleH = 133;
constexpr int kTail = 34;

void addColor(MediaSet& media, const std::string& path, const ColorImage& image) {
    media.add(path, encodePngColor(image));
}

// Frames side by side (or stacked when `vertical`).
ColorImage strip(const std::vector<Pixmap>& frames, bool vertical) {
    const int fw = frames.front().width;
    const int fh = frames.front().height;
    const int n = static_cast<int>(frames.size());
    Pixmap out(vertical ? fw : fw * n, vertical ? fh * n : fh);
    for (int k = 0; k < n; ++k) {
        composite(out, frames[static_cast<std::size_t>(k)], vertical ? 0 : k * fw,
                  vertical ? k * fh : 0);
    }
    return out.toImage();
}

void greyOut(Pixmap& picture) {
    for (Rgba& c : picture.pixels) {
        c = shade(desaturate(c, 0.85F), -0.1F);
        c.a *= 0.85F;
    }
}

// The coverage of `text` set in `font`, optically centred in a w x h box.
Field textMask(const BakedFont& font, const std::u32string& text, int w, int h, int dy = 0) {
    ColorImage ink(w, h);
    const Point at = centredOnInk(font, text, 0, 0, w, h);
    drawText(ink, font, text, at.x, at.y + dy);
    Field mask(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            mask(x, y) = static_cast<float>(ink.at(x, y) >> 24) / 255.0F;
        }
    }
    return mask;
}

BakedFont bake(const std::filesystem::path& fonts, const char* face, int size,
               const std::string& characters) {
    FontSpec spec;
    spec.id = "elevator";
    spec.faceFile = (fonts / face).string();
    spec.pixelSize = size;
    spec.charSpacing = 1;
    for (const char c : characters) {
        spec.characters.push_back(static_cast<std::uint32_t>(c));
    }
    spec.layers = {LayerStyle{LayerStyle::Kind::Fill, 0, 0, 0, 0, 1.0, 0xFFFFFFFFU, false}};
    return bakeFont(spec);
}

constexpr const char* kNumberFace = "opentype/linux-libertine/LinBiolinum_RB.otf";

// ---- the host's screen -------------------------------------------------------------

// The front desk's key board behind the host: mahogany pigeonholes with a
// brass key on a red tag in most of them, kept dim so that he stands out.
void paintKeyBoard(Pixmap& screen) {
    constexpr int bx = 12;
    constexpr int by = 14;
    constexpr int bw = kScreenW - 24;
    constexpr int bh = 120;
    constexpr int cols = 6;
    constexpr int rows = 3;
    Pixmap layer(kScreenW, kScreenH);
    const Field board = shapeMask(kScreenW, kScreenH, roundRect(bx, by, bw, bh, 4));
    castShadow(layer, board, Shadow{3.0, 3.0, 0.5F});
    Field heights = bevel(board, 4, 3, Profile::Round);
    const double cw = (bw - 12) / static_cast<double>(cols);
    const double ch = (bh - 12) / static_cast<double>(rows);
    const Field holes = pathMask(kScreenW, kScreenH, [cw, ch](cairo_t* cr) {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                cairo_rectangle(cr, bx + 6 + c * cw + 2, by + 6 + r * ch + 2, cw - 4, ch - 4);
            }
        }
        cairo_fill(cr);
    });
    raise(heights, holes, bevel(holes, 2.0, -3.0, Profile::Linear));
    paintLit(layer, wood(kScreenW, kScreenH, 361U, mahoganyWood(), WoodGrain{7.0, 3.0, false}),
             board, heights, woodLight);
    innerShadow(layer, holes, 3.0, 2.0, 0.7F);
    // A key hangs in every pigeonhole but a few (their guests are out).
    const auto hung = [](int r, int c) {
        return (r * 5 + c * 3) % 7 != 2;
    };
    const Field rings = pathMask(kScreenW, kScreenH, [cw, ch, hung](cairo_t* cr) {
        cairo_set_line_width(cr, 1.4);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                if (hung(r, c)) {
                    const double kx = bx + 6 + (c + 0.5) * cw;
                    const double ky = by + 6 + r * ch + 9;
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, kx, ky, 2.4, 0, 2 * pi);
                    cairo_move_to(cr, kx, ky + 2.4);
                    cairo_line_to(cr, kx, ky + 11);
                    cairo_line_to(cr, kx + 2.5, ky + 11);
                }
            }
        }
        cairo_stroke(cr);
    });
    const Field tags = pathMask(kScreenW, kScreenH, [cw, ch, hung](cairo_t* cr) {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                if (hung(r, c)) {
                    const double kx = bx + 6 + (c + 0.5) * cw;
                    const double ky = by + 6 + r * ch + 9;
                    cairo_rectangle(cr, kx - 3.5, ky + 13, 7, 9);
                }
            }
        }
        cairo_fill(cr);
    });
    castShadow(layer, maskUnion(rings, tags), Shadow{1.5, 1.0, 0.5F});
    paintLit(layer, brushedMetal(kScreenW, kScreenH, 367U, brassMetal()), rings,
             cushion(rings, 0.5, 1.0), metalLight);
    paintLit(layer, lacquer(kScreenW, kScreenH, 371U, redLacquer()), tags, cushion(tags, 1.0, 1.5),
             lacquerLight);
    // Out of focus behind him: darker and a little toward the jade ground.
    for (Rgba& c : layer.pixels) {
        c = mix(shade(c, -0.3F), hex(0x0C2A1F, c.a), 0.2F);
    }
    composite(screen, layer);
}

// The host alone on a transparent screen-sized layer; `lids` closes his eyes.
Pixmap drawHostLayer(double lids) {
    Pixmap host(kScreenW, kScreenH, Rgba{0, 0, 0, 0});
    paintHostPortrait(host, kHostX - kScreenX, kHostY - kScreenY, lids);
    return host;
}

// The picture on the host's screen: the host (`host`, from drawHostLayer)
// before his key board on a jade ground, lit from above, under a faint glass
// sheen. `behind` and `front`, screen-sized layers when given, are painted
// behind him and in front of him.
Pixmap drawScreen(const Pixmap& host, const Pixmap* behind = nullptr,
                  const Pixmap* front = nullptr) {
    Pixmap screen(kScreenW, kScreenH);
    Pixmap ground =
        lacquer(kScreenW, kScreenH, 311U, LacquerPalette{hex(0x0C2A1F), hex(palette::jadeDark)});
    composite(screen, ground);
    paintKeyBoard(screen);
    lightPool(screen, kScreenW * 0.45, kScreenH * 0.3, 150, 150, hex(0xFFE0B0), 0.3F);
    if (behind != nullptr) {
        composite(screen, *behind);
    }
    composite(screen, host);
    if (front != nullptr) {
        composite(screen, *front);
    }
    // The glass: a soft diagonal sheen and slightly darker corners.
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            const double d = (x * 0.8 + y) / (kScreenW * 0.8 + kScreenH);
            const double sheen = std::exp(-std::pow((d - 0.28) / 0.09, 2.0)) * 0.10;
            screen(x, y) =
                over(screen.at(x, y), Rgba{1.0F, 1.0F, 0.97F, 1.0F}, static_cast<float>(sheen));
        }
    }
    vignette(screen, 0.35F, 0.5F);
    return screen;
}

// ---- the cabin ---------------------------------------------------------------------

// A beaded brass ring round a round fitting of the column.
struct BrassRing {
    double cx, cy, outer, inner;
    double bead, rise; ///< the bead's width and height
    std::uint32_t seed;
};

// Paints `ring` on its shadow and returns the fitting's disc inside it, for
// the caller to paint.
Field paintBrassRing(Pixmap& cabin, const BrassRing& ring, const Shadow& shadow) {
    const Field outer = shapeMask(kW, kH, ellipse(ring.cx, ring.cy, ring.outer, ring.outer));
    Field inner = shapeMask(kW, kH, ellipse(ring.cx, ring.cy, ring.inner, ring.inner));
    castShadow(cabin, outer, shadow);
    paintLit(cabin, brushedMetal(kW, kH, ring.seed, brassMetal()), maskMinus(outer, inner),
             bevel(outer, ring.bead, ring.rise, Profile::Bead), metalLight);
    return inner;
}

// The fittings of the narrow bay beside the host's screen, down its middle:
// the round brass grille of the car's speaker, the two direction lanterns
// (amber glass arrows in brass frames, the upward one lit) and the alarm
// button (red lacquer with a gold bell in a brass rosette).
void paintColumnFittings(Pixmap& cabin) {
    constexpr double cx = kColumnCX;
    // The speaker: a domed brass face pierced with rings of small holes, in
    // a beaded brass ring.
    {
        constexpr double cy = 112;
        const Field face =
            paintBrassRing(cabin, {cx, cy, 34, 26, 7, 4, 451U}, Shadow{4.0, 3.0, 0.5F});
        paintLit(cabin, brushedMetal(kW, kH, 457U, goldMetal()), face, cushion(face, 8.0, 6.0),
                 metalLight);
        innerShadow(cabin, face, 3.0, 2.0, 0.5F);
        const Field holes = pathMask(kW, kH, [](cairo_t* cr) {
            cairo_arc(cr, cx, cy, 1.7, 0, 2 * pi);
            cairo_fill(cr);
            for (int r = 1; r <= 3; ++r) {
                const int n = 6 * r;
                for (int k = 0; k < n; ++k) {
                    const double a = k * 2 * pi / n + r * 0.3;
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, cx + r * 6.5 * std::cos(a), cy + r * 6.5 * std::sin(a), 1.7, 0,
                              2 * pi);
                }
                cairo_fill(cr);
            }
        });
        fill(cabin, holes, hex(0x1A0A05, 0.9F));
        innerShadow(cabin, holes, 1.2, 0.6, 0.6F);
    }
    // The lanterns.
    for (const bool up : {true, false}) {
        const double cy = up ? 198 : 252;
        const Field frame = shapeMask(kW, kH, roundRect(cx - 26, cy - 22, 52, 44, 10));
        const Field glass = shapeMask(kW, kH, roundRect(cx - 18, cy - 14, 36, 28, 5));
        castShadow(cabin, frame, Shadow{3.0, 2.5, 0.5F});
        paintLit(cabin, brushedMetal(kW, kH, up ? 461U : 463U, brassMetal()),
                 maskMinus(frame, glass), bevel(frame, 5, 3, Profile::Round), metalLight);
        fill(cabin, glass, hex(0x1A0A05));
        const Field arrow = pathMask(kW, kH, [cy, up](cairo_t* cr) {
            const double d = up ? -1.0 : 1.0;
            cairo_move_to(cr, cx, cy + d * 8.5);
            cairo_line_to(cr, cx + 12, cy - d * 6.5);
            cairo_line_to(cr, cx - 12, cy - d * 6.5);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        if (up) {
            lightPool(cabin, cx, cy, 18, 14, hex(0x7A3A12), 0.6F);
            glow(cabin, arrow, 3.5, hex(0xFF8A1E), 0.85F);
            fill(cabin, arrow, hex(0xFFC65A));
            lightPool(cabin, cx, cy - 2, 6, 4, hex(0xFFF0C0), 0.5F);
        } else {
            fill(cabin, arrow, hex(0x4A2410));
            light(cabin, cushion(arrow, 1.0, 1.5), stoneLight);
        }
        innerShadow(cabin, glass, 4.0, 2.0, 0.7F);
    }
    // The alarm button.
    {
        constexpr double cy = 318;
        const Field button =
            paintBrassRing(cabin, {cx, cy, 20, 13, 6, 3, 467U}, Shadow{3.0, 2.5, 0.5F});
        castShadow(cabin, button, Shadow{1.5, 1.2, 0.5F});
        paintLit(cabin, lacquer(kW, kH, 469U, redLacquer()), button, cushion(button, 3.0, 4.0),
                 lacquerLight);
        const Field bell = pathMask(kW, kH, [](cairo_t* cr) {
            cairo_move_to(cr, cx - 6, cy + 4);
            cairo_curve_to(cr, cx - 4.5, cy + 2, cx - 5, cy - 5.5, cx, cy - 5.5);
            cairo_curve_to(cr, cx + 5, cy - 5.5, cx + 4.5, cy + 2, cx + 6, cy + 4);
            cairo_close_path(cr);
            cairo_fill(cr);
            cairo_arc(cr, cx, cy + 5.2, 1.6, 0, 2 * pi);
            cairo_fill(cr);
        });
        paintLit(cabin, brushedMetal(kW, kH, 471U, goldMetal()), bell, cushion(bell, 0.6, 1.2),
                 metalLight);
    }
}

Pixmap drawCabin(const BakedFont& plaqueFont) {
    Pixmap cabin = wood(kW, kH, 301U, walnutWood(), WoodGrain{11.0, 7.0, true});
    // Raised panels of veneer in three bays behind the screen and the panel.
    {
        Field heights(kW, kH);
        const std::array<std::array<int, 4>, 3> bays{
            {{24, kBayTop, 310, kUpperBayH},
             {kColumnX, kBayTop, kColumnW, kUpperBayH},
             {24, kLowerBayY, kColumnX + kColumnW - 24, kLowerBayH}}};
        for (const auto& bay : bays) {
            const Field panel = shapeMask(kW, kH, roundRect(bay[0], bay[1], bay[2], bay[3], 4));
            Pixmap face =
                veneer(bay[2], bay[3], 307U + static_cast<std::uint32_t>(bay[0]), mahoganyVeneer());
            fill(cabin, panel, face, bay[0], bay[1]);
            raise(heights, panel, bevel(panel, 8, 5, Profile::Cove));
            const Field inlay = maskMinus(
                shapeMask(kW, kH, roundRect(bay[0] + 14, bay[1] + 14, bay[2] - 28, bay[3] - 28, 3)),
                shapeMask(kW, kH,
                          roundRect(bay[0] + 16, bay[1] + 16, bay[2] - 32, bay[3] - 32, 2)));
            fill(cabin, inlay, hex(palette::goldDeep, 0.9F));
        }
        light(cabin, heights, woodLight);
    }
    // A brass cornice along the top and a skirting along the floor.
    {
        const Field cornice = shapeMask(kW, kH, roundRect(0, 0, kW, 22, 0));
        paintLit(cabin, brushedMetal(kW, kH, 313U, brassMetal()), cornice,
                 bevel(cornice, 6, 4, Profile::Bead), metalLight);
        castShadow(cabin, cornice, Shadow{3.0, 3.0, 0.45F});
        const Field skirting = shapeMask(kW, kH, roundRect(0, 560, kW, 40, 0));
        paintLit(cabin, wood(kW, kH, 317U, mahoganyWood(), WoodGrain{7.0, 3.0, false}), skirting,
                 bevel(skirting, 4, 3, Profile::Round), woodLight);
        const Field rail = shapeMask(kW, kH, roundRect(0, 556, kW, 8, 3));
        castShadow(cabin, rail, Shadow{3.0, 2.0, 0.4F});
        paintLit(cabin, brushedMetal(kW, kH, 319U, brassMetal()), rail,
                 bevel(rail, 4, 3, Profile::Round), metalLight);
    }
    // The ceiling lamps' warm light falls on the walls.
    lightPool(cabin, 170, 0, 260, 300, hex(0xFFD58A), 0.35F);
    lightPool(cabin, 610, 0, 260, 320, hex(0xFFD58A), 0.3F);
    paintColumnFittings(cabin);

    // The host's screen in its brass bezel.
    {
        const Field bezel = shapeMask(kW, kH, roundRect(kBezelX, kBezelY, kBezelW, kBezelH, 12));
        const Field glass = shapeMask(kW, kH, roundRect(kScreenX, kScreenY, kScreenW, kScreenH, 6));
        castShadow(cabin, bezel, Shadow{6.0, 4.0, 0.55F});
        Field heights = bevel(bezel, 10, 6, Profile::Round);
        raise(heights, bezel, bevel(maskMinus(bezel, glass), 4, 2, Profile::Bead));
        paintLit(cabin, brushedMetal(kW, kH, 323U, goldMetal()), maskMinus(bezel, glass), heights,
                 metalLight);
        fill(cabin, glass, drawScreen(drawHostLayer(0.0)), kScreenX, kScreenY);
        innerShadow(cabin, glass, 6.0, 3.0, 0.65F);
        // A small brass plaque under the screen.
        const Field plaque = shapeMask(kW, kH, roundRect(kPlaqueX, 338, kPlaqueW, 18, 4));
        castShadow(cabin, plaque, Shadow{2.0, 1.5, 0.45F});
        paintLit(cabin, brushedMetal(kW, kH, 331U, brassMetal()), plaque,
                 bevel(plaque, 3, 2, Profile::Round), metalLight);
        const Field word = textMask(plaqueFont, U"AT YOUR SERVICE", kPlaqueW, 18);
        Field placed(kW, kH);
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < kPlaqueW; ++x) {
                placed(kPlaqueX + x, 338 + y) = word.at(x, y);
            }
        }
        fill(cabin, placed, hex(palette::mahoganyDark, 0.85F));
    }

    // The control panel: a brass plate with a lacquer inset, screwed to the wall.
    {
        const Field plate = shapeMask(kW, kH, roundRect(kPanelX, kPanelY, kPanelW, kPanelH, 10));
        castShadow(cabin, plate, Shadow{6.0, 4.0, 0.55F});
        paintLit(cabin, brushedMetal(kW, kH, 337U, brassMetal(), false), plate,
                 bevel(plate, 8, 5, Profile::Round), metalLight);
        const Field inset = shapeMask(
            kW, kH, roundRect(kPanelX + 12, kPanelY + 96, kPanelW - 24, kPanelH - 108, 6));
        paintLit(cabin, lacquer(kW, kH, 341U, redLacquer()), inset, bevel(inset, 3, -2),
                 lacquerLight);
        innerShadow(cabin, inset, 4.0, 2.5, 0.6F);
        // The display's bezel.
        const Field frame = shapeMask(
            kW, kH, roundRect(kDisplayX - 8, kDisplayY - 8, kDisplayW + 16, kDisplayH + 16, 6));
        castShadow(cabin, frame, Shadow{3.0, 2.0, 0.5F});
        paintLit(cabin, brushedMetal(kW, kH, 347U, goldMetal()), frame,
                 bevel(frame, 5, 4, Profile::Bead), metalLight);
        const Field window =
            shapeMask(kW, kH, roundRect(kDisplayX, kDisplayY, kDisplayW, kDisplayH, 3));
        fill(cabin, window, hex(0x120806));
        // Four screw heads in the plate's corners.
        for (const auto& [sx, sy] : std::array<std::pair<int, int>, 4>{
                 {{kPanelX + 12, kPanelY + 12},
                  {kPanelX + kPanelW - 12, kPanelY + 12},
                  {kPanelX + 12, kPanelY + kPanelH - 12},
                  {kPanelX + kPanelW - 12, kPanelY + kPanelH - 12}}}) {
            const Field screw = shapeMask(kW, kH, ellipse(sx, sy, 4, 4));
            paintLit(cabin, brushedMetal(kW, kH, 349U, brassMetal()), screw,
                     cushion(screw, 1.5, 2.0), metalLight);
            const Field slot = shapeMask(kW, kH, roundRect(sx - 3, sy - 0.6, 6, 1.2, 0));
            fill(cabin, slot, hex(palette::mahoganyDark, 0.8F));
        }
    }
    vignette(cabin, 0.3F, 0.6F);
    return cabin;
}

// ---- buttons -----------------------------------------------------------------------

enum class State { Normal, Over, Pressed, Disabled };

// A button face of `shape` (its coverage; the face floats 2 pixels over the
// panel): a gold rim round a jade cushion, `mark` engraved in cream.
Pixmap drawButtonFrame(const Field& outer, const Field& inner, const Field& mark, State state) {
    const int w = outer.width;
    const int h = outer.height;
    const bool pressed = state == State::Pressed;
    Pixmap picture(w, h);
    castShadow(picture, outer, Shadow{pressed ? 0.8 : 2.2, 1.3, 0.55F});
    Field heights = bevel(outer, 3.0, 2.0);
    raise(heights, inner, cushion(inner, 4.0, pressed ? -3.0 : 4.0));
    raise(heights, mark, cushion(mark, 0.8, -1.2));
    StonePalette stone = jadeStone();
    if (state == State::Over) {
        stone = {shade(stone.ground, 0.14F), shade(stone.vein, 0.14F)};
    } else if (pressed) {
        stone = {shade(stone.ground, -0.15F), shade(stone.vein, -0.12F)};
    }
    Pixmap rim = brushedMetal(w, h, 353U, goldMetal());
    if (state == State::Over) {
        for (Rgba& c : rim.pixels) {
            c = shade(c, 0.15F);
        }
    }
    Pixmap body(w, h);
    paintLit(body, rim, outer, heights, metalLight);
    paintLit(body, jade(w, h, 359U, stone), inner, heights, stoneLight);
    fill(body, mark, hex(palette::cream, state == State::Over ? 1.0F : 0.92F));
    if (!pressed) {
        const Field gloss =
            maskIntersection(inner, shapeMask(w, h, ellipse(w / 2.0, h * 0.22, w * 0.42, h * 0.3)));
        fill(body, gloss, Rgba{1.0F, 1.0F, 0.96F, state == State::Over ? 0.2F : 0.14F});
    }
    if (state == State::Disabled) {
        greyOut(body);
    }
    composite(picture, body, 0, pressed ? 1 : 0);
    return picture;
}

struct ButtonArt {
    ColorImage frames; // four frames stacked
    ColorImage shineMask;
};

ButtonArt drawButton(const Field& outer, const Field& inner, const Field& mark) {
    std::vector<Pixmap> frames;
    for (const State state : {State::Normal, State::Over, State::Pressed, State::Disabled}) {
        frames.push_back(drawButtonFrame(outer, inner, mark, state));
    }
    ButtonArt art;
    art.frames = strip(frames, true);
    Pixmap mask(outer.width, outer.height);
    fill(mask, outer, hex(0xFFFFFF));
    art.shineMask = mask.toImage();
    return art;
}

ButtonArt drawFloorButton(const BakedFont& font, int floor) {
    const double c = kRound / 2.0;
    const Field outer = shapeMask(kRound, kRound, ellipse(c, c - 1, 22, 22));
    const Field inner = shapeMask(kRound, kRound, ellipse(c, c - 1, 18.5, 18.5));
    const Field mark = textMask(font, widen(std::to_string(floor)), kRound, kRound, -1);
    return drawButton(outer, inner, mark);
}

ButtonArt drawPlaceButton() {
    const Field outer = shapeMask(kPlaceW, kPlaceH, roundRect(2, 1, kPlaceW - 4, kPlaceH - 5, 13));
    const Field inner =
        shapeMask(kPlaceW, kPlaceH, roundRect(5, 4, kPlaceW - 10, kPlaceH - 11, 10));
    return drawButton(outer, inner, Field(kPlaceW, kPlaceH));
}

// ---- the floor display -------------------------------------------------------------

// The display's dark glass, under the strip.
ColorImage drawDisplay() {
    Pixmap glass(kDisplayW, kDisplayH);
    const Field shape = shapeMask(kDisplayW, kDisplayH, roundRect(0, 0, kDisplayW, kDisplayH, 3));
    fill(glass, shape, hex(0x160A06));
    lightPool(glass, kDisplayW / 2.0, kDisplayH / 2.0, kDisplayW * 0.6, kDisplayH, hex(0x5A2A10),
              0.5F);
    innerShadow(glass, shape, 5.0, 2.5, 0.8F);
    return glass.toImage();
}

// The stop names, one cell each, the roof's on top and the lobby's at the
// bottom, glowing amber on a transparent ground.
ColorImage drawFloorStrip(const BakedFont& font) {
    Pixmap names(kDisplayW, kCell * 24);
    for (int stop = 0; stop < 24; ++stop) {
        std::string name;
        if (stop == 0) {
            name = "LOBBY";
        } else if (stop <= 20) {
            name = std::to_string(stop);
        } else {
            name = stop == 21 ? "CASINO" : (stop == 22 ? "GAMES" : "ROOF");
        }
        const Field word = textMask(font, widen(name), kDisplayW, kCell);
        Pixmap cell(kDisplayW, kCell);
        glow(cell, word, 3.0, hex(0xFF8A1E), 0.9F);
        fill(cell, word, hex(0xFFC65A));
        composite(names, cell, 0, (23 - stop) * kCell);
    }
    return names.toImage();
}

// ---- doors -------------------------------------------------------------------------

// One of the car's doors, 400 x 600: brushed brass with a tall raised panel,
// a lacquer fan at its middle, and a darker seam where the doors meet.
ColorImage drawCarDoor(bool left) {
    constexpr int dw = kW / 2;
    Pixmap door(dw, kH);
    const Field leaf = shapeMask(dw, kH, roundRect(0, 0, dw, kH, 0));
    Field heights = bevel(leaf, 4, 2, Profile::Round);
    const int px = left ? 40 : 30;
    for (const int top : {40, 330}) {
        const Field panel = shapeMask(dw, kH, roundRect(px, top, dw - 70, 230, 4));
        raise(heights, panel, bevel(panel, 8, 4, Profile::Linear));
    }
    paintLit(door, brushedMetal(dw, kH, left ? 401U : 409U, brassMetal(), false), leaf, heights,
             metalLight);
    // A half sun of lacquer rays spreading from the meeting edge at mid
    // height; with the other door's half it makes a whole sun.
    const double fx = left ? dw : 0;
    const Field fan = pathMask(dw, kH, [fx, left](cairo_t* cr) {
        const double facing = left ? pi : 0.0;
        for (int k = 0; k < 7; ++k) {
            const double centre = facing + (k - 3) * 0.42;
            const double a0 = centre - 0.1;
            const double a1 = centre + 0.1;
            cairo_move_to(cr, fx + 34 * std::cos(centre), 300 + 34 * std::sin(centre));
            cairo_line_to(cr, fx + 150 * std::cos(a0), 300 + 150 * std::sin(a0));
            cairo_line_to(cr, fx + 150 * std::cos(a1), 300 + 150 * std::sin(a1));
            cairo_close_path(cr);
        }
        cairo_fill(cr);
    });
    paintLit(door, lacquer(dw, kH, 419U, redLacquer()), fan, cushion(fan, 2.0, 2.0), lacquerLight);
    const Field ring = maskMinus(shapeMask(dw, kH, ellipse(fx, 300, 162, 162)),
                                 shapeMask(dw, kH, ellipse(fx, 300, 156, 156)));
    paintLit(door, brushedMetal(dw, kH, 423U, goldMetal()), ring, bevel(ring, 2, 2, Profile::Bead),
             metalLight);
    const Field hub = shapeMask(dw, kH, ellipse(fx, 300, 30, 30));
    paintLit(door, brushedMetal(dw, kH, 421U, goldMetal()), hub, bevel(hub, 5, 4, Profile::Bead),
             metalLight);
    for (int y = 0; y < kH; ++y) {
        const int x = left ? dw - 1 : 0;
        door(x, y) = shade(door.at(x, y), -0.55F);
        const int x2 = left ? dw - 2 : 1;
        door(x2, y) = shade(door.at(x2, y), -0.25F);
    }
    return door.toImage();
}

// ---- the host's hand and the glow --------------------------------------------------

// The cabin as it looks with `screen` (from drawScreen) behind the glass:
// the same recess shade and corner darkening as the painted cabin, so that
// pictures cut from it sit exactly on it.
Pixmap cabinWithScreen(const Pixmap& cabin, const Pixmap& screen) {
    Pixmap picture = cabin;
    const Field glass = shapeMask(kW, kH, roundRect(kScreenX, kScreenY, kScreenW, kScreenH, 6));
    fill(picture, glass, screen, kScreenX, kScreenY);
    innerShadow(picture, glass, 6.0, 3.0, 0.65F);
    vignette(picture, 0.3F, 0.6F);
    return picture;
}

// The host's white glove with its braided red cuff on the sleeve of his
// tunic, raised beside his head, in frame `f` of the snap; the arm comes up
// from behind his shoulder. Drawn four times larger on the screen's right
// part (`kHandX`, `kHandY` on the screen) and shrunk; `sparks` gets the
// burst of the snap, which shows in front of him.
constexpr int kHandX = 112;
constexpr int kHandY = 80;
constexpr int kHandW = kScreenW - kHandX;
constexpr int kHandH = kScreenH - kHandY;

void drawHand(int f, Pixmap& arm, Pixmap& sparks) {
    constexpr int s = 4;
    constexpr int bw = kHandW * s;
    constexpr int bh = kHandH * s;
    // Hidden (0, 14), rising from behind the shoulder (1-3), pressing (4-6),
    // snapped (7-11, sparks 7-10) and sinking (12, 13): it moves along the
    // forearm, which leans in to pass behind his shoulder.
    if (f == 0 || f == kSnapFrames - 1) {
        return;
    }
    const double rise = f <= 3 ? (4 - f) / 4.0 : (f >= 12 ? (f - 11) / 3.0 : 0.0);
    const double ox = 32 - rise * 56;
    const double oy = 110 + rise * 256;
    const bool snapped = f >= 7;
    const double press = f >= 4 && f <= 6 ? (f - 3) / 3.0 : (snapped ? 1.0 : 0.0);
    Pixmap big(bw, bh);
    const Field glove = pathMask(bw, bh, [ox, oy, snapped, press](cairo_t* cr) {
        cairo_translate(cr, ox, oy);
        // Palm and wrist.
        cairo_save(cr);
        cairo_translate(cr, 128, 170);
        cairo_scale(cr, 1.0, 1.15);
        cairo_arc(cr, 0, 0, 46, 0, 2 * pi);
        cairo_restore(cr);
        cairo_fill(cr);
        cairo_rectangle(cr, 98, 190, 62, 60);
        cairo_fill(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        // The thumb, leaning over to the middle finger.
        cairo_set_line_width(cr, 28);
        cairo_move_to(cr, 92, 170);
        cairo_line_to(cr, 86 + press * 14, 112 - press * 4);
        cairo_stroke(cr);
        // The middle finger: up against the thumb, or snapped into the palm.
        cairo_set_line_width(cr, 26);
        cairo_move_to(cr, 122, 140);
        if (snapped) {
            cairo_line_to(cr, 148, 150);
        } else {
            cairo_line_to(cr, 110 - press * 4, 80 + press * 20);
        }
        cairo_stroke(cr);
        // The index finger stays raised; ring and little fingers curled.
        cairo_move_to(cr, 140, 136);
        cairo_line_to(cr, 146, 74);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 24);
        cairo_move_to(cr, 160, 150);
        cairo_line_to(cr, 170, 172);
        cairo_stroke(cr);
    });
    // The sleeve from the cuff down and in, behind his shoulder.
    const Field sleeve = pathMask(bw, bh, [ox, oy](cairo_t* cr) {
        cairo_set_line_width(cr, 80);
        cairo_move_to(cr, ox + 130, oy + 236);
        cairo_line_to(cr, ox + 18, oy + 748);
        cairo_stroke(cr);
    });
    const Field cuff = maskIntersection(maskUnion(glove, sleeve),
                                        shapeMask(bw, bh, roundRect(ox + 86, oy + 226, 88, 42, 8)));
    const Field braid = shapeMask(bw, bh, roundRect(ox + 84, oy + 232, 92, 10, 4));
    const Field whole = maskUnion(maskUnion(glove, sleeve), braid);
    castShadow(big, whole, Shadow{10.0, 8.0, 0.45F});
    paintLit(big, lacquer(bw, bh, 437U, redLacquer()), sleeve, cushion(sleeve, 10.0, 14.0),
             lacquerLight);
    paintLit(big, Pixmap(bw, bh, hex(0xFBF5E6)), maskMinus(glove, cuff), cushion(glove, 10.0, 14.0),
             stoneLight);
    paintLit(big, lacquer(bw, bh, 431U, redLacquer()), cuff, cushion(cuff, 4.0, 5.0), lacquerLight);
    paintLit(big, brushedMetal(bw, bh, 433U, goldMetal()), braid,
             bevel(braid, 3.0, 3.0, Profile::Bead), metalLight);
    composite(arm, downsample(big, s), kHandX, kHandY);
    if (f < 7 || f > 10) {
        return;
    }
    // The burst where thumb and finger met, fanned up and out so that it
    // stays off his face.
    const double t = (f - 7) / 3.0;
    Pixmap burst(bw, bh);
    const Field rays = pathMask(bw, bh, [t, ox, oy](cairo_t* cr) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 9 * (1.0 - t) + 4);
        const double px = ox + 104;
        const double py = oy + 96;
        for (int k = 0; k < 6; ++k) {
            const double a = -pi * 0.82 + k * pi * 0.15;
            const double r0 = 34 + t * 36;
            const double r1 = 62 + t * 44;
            cairo_move_to(cr, px + r0 * std::cos(a), py + r0 * std::sin(a));
            cairo_line_to(cr, px + r1 * std::cos(a), py + r1 * std::sin(a));
        }
        cairo_stroke(cr);
    });
    glow(burst, rays, 10.0, hex(0xFFD36A), 0.8F * static_cast<float>(1.0 - t * 0.6));
    fill(burst, rays, hex(0xFFF4C0, static_cast<float>(1.0 - t * 0.7)));
    composite(sparks, downsample(burst, s), kHandX, kHandY);
}

// The host's finger snap, 15 frames of kSnapW x kSnapH side by side, to lie
// at (kSnapX, kSnapY) over `cabin`: frame 0 and the last frame show nothing.
// Each frame is cut from the cabin painted with the hand on the screen, and
// keeps only what the hand changes, so that the arm passes behind the host
// and everything stays inside the glass.
ColorImage drawSnap(const Pixmap& cabin) {
    const Pixmap host = drawHostLayer(0.0);
    const Pixmap base = cabinWithScreen(cabin, drawScreen(host));
    Pixmap out(kSnapW * kSnapFrames, kSnapH);
    for (int f = 1; f < kSnapFrames; ++f) {
        Pixmap arm(kScreenW, kScreenH);
        Pixmap sparks(kScreenW, kScreenH);
        drawHand(f, arm, sparks);
        const Pixmap with = cabinWithScreen(cabin, drawScreen(host, &arm, &sparks));
        for (int y = 0; y < kSnapH; ++y) {
            for (int x = 0; x < kSnapW; ++x) {
                const int sx = kSnapX + x - kScreenX;
                const int sy = kSnapY + y - kScreenY;
                const float shown = arm.at(sx, sy).a * (1.0F - host.at(sx, sy).a);
                const float a = 1.0F - (1.0F - shown) * (1.0F - sparks.at(sx, sy).a);
                if (a < 1.0F / 255.0F) {
                    continue;
                }
                // The colour that, laid over the cabin with alpha a, gives
                // the painted picture.
                const Rgba& w = with.at(kSnapX + x, kSnapY + y);
                const Rgba& b = base.at(kSnapX + x, kSnapY + y);
                const auto part = [a](float wc, float bc) {
                    return std::clamp((wc - bc * (1.0F - a)) / a, 0.0F, 1.0F);
                };
                out(f * kSnapW + x, y) = Rgba{part(w.r, b.r), part(w.g, b.g), part(w.b, b.b), a};
            }
        }
    }
    return out.toImage();
}

// The glow behind a newly opened button: a golden ring with rays that turn,
// eight frames to loop.
ColorImage drawUnlockGlow() {
    std::vector<Pixmap> frames;
    const double c = kGlow / 2.0;
    for (int f = 0; f < kGlowFrames; ++f) {
        Pixmap frame(kGlow, kGlow);
        const double turn = f * (2 * pi / 12) / kGlowFrames;
        const double pulse = 0.85 + 0.15 * std::cos(f * 2 * pi / kGlowFrames);
        for (int y = 0; y < kGlow; ++y) {
            for (int x = 0; x < kGlow; ++x) {
                const double dx = x + 0.5 - c;
                const double dy = y + 0.5 - c;
                const double r = std::hypot(dx, dy);
                const double a = std::atan2(dy, dx) + turn;
                const double ring = std::exp(-std::pow((r - 28) / 5.0, 2.0));
                const double rays = std::pow(std::abs(std::cos(a * 6)), 8.0) *
                                    std::clamp((46 - r) / 18.0, 0.0, 1.0) *
                                    std::clamp((r - 22) / 6.0, 0.0, 1.0);
                const double v = std::clamp((ring + rays * 0.7) * pulse, 0.0, 1.0);
                frame(x, y) = Rgba{1.0F, 0.86F, 0.45F, static_cast<float>(v)};
            }
        }
        frames.push_back(std::move(frame));
    }
    return strip(frames, false);
}

// The speech bubble: parchment with a gold line, its tail pointing up at
// the plaque under the host's screen.
ColorImage drawBubble() {
    constexpr int w = kBubbleW;
    constexpr int h = kBubbleH;
    Pixmap bubble(w, h);
    const Field shape = pathMask(w, h, [](cairo_t* cr) {
        const double top = kTail;
        const double r = 18;
        cairo_new_path(cr);
        cairo_arc(cr, 4 + r, top + r, r, pi, 1.5 * pi);
        cairo_line_to(cr, 116, top);
        cairo_line_to(cr, 142, 2);
        cairo_line_to(cr, 152, top);
        cairo_arc(cr, w - 8 - r, top + r, r, 1.5 * pi, 2 * pi);
        cairo_arc(cr, w - 8 - r, h - 8 - r, r, 0, 0.5 * pi);
        cairo_arc(cr, 4 + r, h - 8 - r, r, 0.5 * pi, pi);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(bubble, shape, Shadow{4.0, 3.0, 0.45F});
    paintLit(bubble, paper(w, h, 441U, hex(palette::parchment)), shape, bevel(shape, 4, 2),
             stoneLight);
    const Field line = maskMinus(shape, [&] {
        Field inner(w, h);
        // The shape shrunk by 2 pixels: where the blur of its outside stays low.
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float least = 1.0F;
                for (int dy = -2; dy <= 2; ++dy) {
                    for (int dx = -2; dx <= 2; ++dx) {
                        least = std::min(least, shape.at(x + dx, y + dy));
                    }
                }
                inner(x, y) = least;
            }
        }
        return inner;
    }());
    fill(bubble, line, hex(palette::goldDeep, 0.9F));
    return bubble.toImage();
}

} // namespace

void addElevatorArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet) {
    const std::string e = "media/images/elevator/";
    const BakedFont numberFont = bake(fonts, kNumberFace, 22, "0123456789");
    const BakedFont displayFont = bake(fonts, kNumberFace, 28, "0123456789LOBYCASINGMERF");
    const BakedFont plaqueFont = bake(fonts, kNumberFace, 10, "ATYOURSERVICE ");

    Pixmap cabin = drawCabin(plaqueFont);
    const ColorImage cabinImage = cabin.toImage();
    media.add(e + "cabin.jpg", encodeJpeg(cabinImage, 90));
    // The eyes: three frames (half shut, shut, half shut) cut from the screen
    // painted with the lids down, so that they sit exactly over his eyes.
    {
        ColorImage eyes(kEyesW * 3, kEyesH);
        for (int f = 0; f < 3; ++f) {
            const Pixmap picture =
                cabinWithScreen(cabin, drawScreen(drawHostLayer(f == 1 ? 1.0 : 0.55)));
            for (int y = 0; y < kEyesH; ++y) {
                for (int x = 0; x < kEyesW; ++x) {
                    eyes.set(f * kEyesW + x, y, toPixel(picture.at(kEyesX + x, kEyesY + y)));
                }
            }
        }
        addColor(media, e + "screen_eyes.png", eyes);
    }
    std::vector<ColorImage> shown{cabinImage};
    for (int floor = 1; floor <= 20; ++floor) {
        const ButtonArt button = drawFloorButton(numberFont, floor);
        addColor(media, e + "floor_" + std::to_string(floor) + ".png", button.frames);
        if (floor == 1) {
            addColor(media, e + "shine_mask_floor.png", button.shineMask);
            shown.push_back(button.frames);
        }
    }
    const ButtonArt place = drawPlaceButton();
    addColor(media, e + "place_button.png", place.frames);
    addColor(media, e + "shine_mask_place.png", place.shineMask);
    addColor(media, e + "display.png", drawDisplay());
    const ColorImage names = drawFloorStrip(displayFont);
    addColor(media, e + "floor_strip.png", names);
    const ColorImage doorLeft = drawCarDoor(true);
    addColor(media, e + "door_left.png", doorLeft);
    addColor(media, e + "door_right.png", drawCarDoor(false));
    const ColorImage snap = drawSnap(cabin);
    addColor(media, e + "snap_fingers.png", snap);
    addColor(media, e + "unlock_glow.png", drawUnlockGlow());
    const ColorImage bubble = drawBubble();
    addColor(media, e + "speech_bubble.png", bubble);
    shown.push_back(place.frames);
    shown.push_back(snap);
    shown.push_back(bubble);
    sheet.rows.push_back({"Elevator", shown});
    // The lobby's call button for the car: the standard button, wider, so
    // that its caption has room on both sides.
    addColor(media, "media/images/lobby/button_elevator.png", drawButtonStrip(190, 40));
}

// ---- sounds ------------------------------------------------------------------------

namespace {

std::vector<float> silence(double seconds) {
    return std::vector<float>(static_cast<std::size_t>(seconds * sampleRate), 0.0F);
}

void addBell(std::vector<float>& out, double start, double frequency, double gain, double decay) {
    static constexpr std::array<double, 5> ratios{1.0, 2.0, 2.76, 5.4, 8.93};
    static constexpr std::array<double, 5> levels{1.0, 0.45, 0.25, 0.1, 0.04};
    const auto first = static_cast<std::size_t>(start * sampleRate);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        double v = 0;
        for (std::size_t k = 0; k < ratios.size(); ++k) {
            v += levels.at(k) * std::sin(2 * pi * frequency * ratios.at(k) * t) *
                 std::exp(-t * decay * (1.0 + static_cast<double>(k) * 0.7));
        }
        out[i] += static_cast<float>(v * gain * std::min(1.0, t / 0.003));
    }
}

// The doors part: a low rumble of rollers and a soft rush of air.
std::vector<float> doorsOpen() {
    std::vector<float> out = silence(0.9);
    Noise noise(503U);
    BandPass air(900.0, 0.8);
    BandPass rumble(110.0, 2.0);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double envelope =
            std::sin(std::min(t / 0.75, 1.0) * pi) * std::exp(-std::max(0.0, t - 0.7) * 12.0);
        const double n = noise.next();
        const double v =
            air.process(n) * 0.35 + rumble.process(n) * 1.6 + 0.08 * std::sin(2 * pi * 62 * t);
        out[i] = static_cast<float>(v * envelope * 0.8);
    }
    addBell(out, 0.0, 1046.5, 0.12, 6.0);
    return out;
}

// The car's hum while it moves: a motor's low tone and the rush of the
// shaft, two seconds that repeat without a seam (every part runs whole
// periods and the noise is cross-faded over its own start).
std::vector<float> moving() {
    constexpr double seconds = 2.0;
    std::vector<float> out = silence(seconds);
    const std::size_t n = out.size();
    const std::size_t fade = n / 4;
    std::vector<double> rush(n + fade, 0.0);
    Noise noise(509U);
    BandPass shaft(320.0, 0.9);
    for (double& v : rush) {
        v = shaft.process(noise.next());
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double r = rush[i];
        if (i < fade) {
            const double k = static_cast<double>(i) / static_cast<double>(fade);
            r = rush[i] * k + rush[n + i] * (1.0 - k);
        }
        const double motor = 0.22 * std::sin(2 * pi * 55 * t) + 0.1 * std::sin(2 * pi * 110 * t) +
                             0.04 * std::sin(2 * pi * 165 * t);
        const double wobble = 1.0 + 0.15 * std::sin(2 * pi * 1.5 * t);
        out[i] = static_cast<float>((motor * wobble + r * 0.5) * 0.6);
    }
    return out;
}

// The arrival bell: two bright strokes a third apart.
std::vector<float> arrived() {
    std::vector<float> out = silence(1.8);
    addBell(out, 0.0, 1318.5, 0.26, 2.6);
    addBell(out, 0.32, 1046.5, 0.26, 2.2);
    return out;
}

// A newly opened button: a rising sparkle of bells over a soft shimmer.
std::vector<float> unlocked() {
    std::vector<float> out = silence(1.6);
    Noise noise(521U);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double envelope = std::min(t / 0.2, 1.0) * std::exp(-t * 3.0);
        out[i] = static_cast<float>(noise.next() * envelope * 0.025);
    }
    constexpr std::array<double, 5> notes{1046.5, 1318.5, 1568.0, 2093.0, 2637.0};
    for (std::size_t k = 0; k < notes.size(); ++k) {
        addBell(out, 0.07 * static_cast<double>(k), notes.at(k), 0.16, 3.0);
    }
    return out;
}

} // namespace

void addElevatorSounds(MediaSet& media) {
    media.add("media/sounds/elevator_doors.wav", encodeWav(doorsOpen()));
    media.add("media/sounds/elevator_moving.wav", encodeWav(moving()));
    media.add("media/sounds/elevator_arrived.wav", encodeWav(arrived()));
    media.add("media/sounds/elevator_unlocked.wav", encodeWav(unlocked()));
}

} // namespace orv::media
