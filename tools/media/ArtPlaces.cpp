#include "tools/media/ArtPlaces.h"

#include "tools/media/BuildingArt.h"
#include "tools/media/HostArt.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Noise.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/Synth.h"
#include "tools/media/SynthParts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace orv::media {

namespace {

constexpr Lighting placeMetal{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting placeWood{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting placeLacquer{0.55F, 0.55F, 34.0F, {1.0F, 0.96F, 0.86F, 1.0F}};

// The screen and where the scene definitions (media/properties/places.xml)
// put things: the switch column, the glow channel, the panel's size, the
// room buttons' shelf.
constexpr int kSceneW = 800;
constexpr int kSceneH = 600;
constexpr int kColumnX = 20;
constexpr int kColumnY = 88;
constexpr int kColumnW = 240;
constexpr int kColumnH = 364;
constexpr int kPanelW = 460;
constexpr int kPanelH = 380;
constexpr int kSwitchW = 200;
constexpr int kSwitchH = 56;
constexpr int kSmallW = 140;
constexpr int kSmallH = 40;
constexpr int kChannelW = 24;
constexpr int kShelfY = 536;
// The tray under the three difficulty switches (casino and roof).
constexpr int kTrayX = 290;
constexpr int kTrayY = 433;
constexpr int kTrayW = 480;
constexpr int kTrayH = 54;

void addPicture(MediaSet& media, const std::string& path, const ColorImage& image) {
    media.add(path, encodePngColor(image));
}

ColorImage stackFrames(const std::vector<Pixmap>& frames) {
    const int fw = frames.front().width;
    const int fh = frames.front().height;
    Pixmap out(fw, fh * static_cast<int>(frames.size()));
    for (std::size_t k = 0; k < frames.size(); ++k) {
        composite(out, frames[k], 0, static_cast<int>(k) * fh);
    }
    return out.toImage();
}

// A lacquered plate with a brass rim, sunk into the wall: behind the switch
// column and the room buttons.
void paintPlate(Pixmap& scene, int x, int y, int w, int h, std::uint32_t seed) {
    const Field plate = shapeMask(kSceneW, kSceneH, roundRect(x, y, w, h, 10));
    const Field inner = shapeMask(kSceneW, kSceneH, roundRect(x + 6, y + 6, w - 12, h - 12, 6));
    castShadow(scene, plate, Shadow{4.0, 4.0, 0.55F});
    Field heights = bevel(plate, 6.0, 3.0);
    raise(heights, inner, cushion(inner, 3.0, -2.0));
    paintLit(scene, brushedMetal(kSceneW, kSceneH, seed, brassMetal()), plate, heights, placeMetal);
    paintLit(scene, lacquer(kSceneW, kSceneH, seed + 1U, redLacquer()), inner, heights,
             placeLacquer);
    fill(scene, inner, Rgba{0.0F, 0.0F, 0.0F, 0.35F});
}

// The plaque under a place's name, centred at the top.
void paintTitlePlaque(Pixmap& scene, std::uint32_t seed) {
    const Field plaque = shapeMask(kSceneW, kSceneH, roundRect(230, 8, 340, 50, 12));
    const Field face = shapeMask(kSceneW, kSceneH, roundRect(238, 14, 324, 38, 8));
    castShadow(scene, plaque, Shadow{4.0, 3.0, 0.6F});
    Field heights = bevel(plaque, 7.0, 3.0);
    raise(heights, face, cushion(face, 2.0, -1.5));
    paintLit(scene, brushedMetal(kSceneW, kSceneH, seed, goldMetal()), plaque, heights, placeMetal);
    fill(scene, face, hex(0x1A0C08, 0.92F));
    innerShadow(scene, face, 3.0, 2.0, 0.6F);
}

// The casino: mahogany walls under two brass picture lamps, a band of green felt
// with a padded rail, a row of brass studs along the rail (three of them are
// the hidden game's spots, no different from the others).
ColorImage drawCasino() {
    Pixmap scene = wood(kSceneW, kSceneH, 611U, mahoganyVeneer(), WoodGrain{14.0, 8.0, true});
    // Wainscot panels, each with a gold inlay line as in the lobby.
    for (int k = 0; k < 5; ++k) {
        const Field panel = shapeMask(kSceneW, kSceneH, roundRect(12 + k * 158, 20, 144, 420, 4));
        Field heights = bevel(panel, 8.0, 3.0, Profile::Cove);
        light(scene, heights, placeWood);
        const Field inlay =
            maskMinus(shapeMask(kSceneW, kSceneH, roundRect(30 + k * 158, 38, 108, 384, 3)),
                      shapeMask(kSceneW, kSceneH, roundRect(32 + k * 158, 40, 104, 380, 2)));
        paintLit(scene, brushedMetal(kSceneW, kSceneH, 612U, goldMetal()), inlay,
                 bevel(inlay, 1.0, 0.6), placeMetal);
    }
    // The felt below the rail.
    const Field feltArea = shapeMask(kSceneW, kSceneH, roundRect(-20, 470, kSceneW + 40, 200, 0));
    fill(scene, feltArea, felt(kSceneW, kSceneH, 613U, hex(0x1E5A40)));
    const Field rail = shapeMask(kSceneW, kSceneH, roundRect(-20, 458, kSceneW + 40, 22, 10));
    castShadow(scene, rail, Shadow{5.0, 4.0, 0.6F});
    paintLit(scene, lacquer(kSceneW, kSceneH, 617U, redLacquer()), rail, cushion(rail, 5.0, 6.0),
             placeLacquer);
    // Brass studs on the felt in falling threes, one three every 130
    // pixels, and a stud in each gap of the button shelf; the hidden game's
    // spots are studs like any other.
    std::vector<std::array<double, 2>> studs;
    for (int g = -2; g <= 3; ++g) {
        const double x0 = 319 + 130.0 * g;
        studs.push_back({x0, 502});
        studs.push_back({x0 + 44, 538});
        studs.push_back({x0 + 91, 553});
    }
    studs.push_back({220, 553});
    studs.push_back({600, 553});
    for (const auto& [cx, cy] : studs) {
        const Field stud = shapeMask(kSceneW, kSceneH, ellipse(cx, cy, 7, 7));
        castShadow(scene, stud, Shadow{1.5, 1.2, 0.5F});
        paintLit(scene, brushedMetal(kSceneW, kSceneH, 619U, goldMetal()), stud,
                 cushion(stud, 2.0, 4.0), placeMetal);
    }
    // Two brass picture lamps hang wholly on the wall above the chooser and
    // the panel: a round wall plate, a short arm and a trough shade whose
    // open underside glows and throws its pool down the panelling.
    for (const double cx : {120.0, 680.0}) {
        lightPool(scene, cx, 60, 240, 220, hex(0xFFE2A0), 0.45F);
        lightPool(scene, cx, 62, 80, 44, hex(0xFFE8B8), 0.3F);
        const Pixmap brass = brushedMetal(kSceneW, kSceneH, 623U, goldMetal());
        const Field plate = shapeMask(kSceneW, kSceneH, ellipse(cx, 12, 9, 7));
        const Field arm = shapeMask(kSceneW, kSceneH, roundRect(cx - 2.5, 12, 5, 16, 2));
        const Field shade = shapeMask(kSceneW, kSceneH, roundRect(cx - 50, 26, 100, 17, 8));
        const Field lamp = maskUnion(maskUnion(plate, arm), shade);
        castShadow(scene, lamp, Shadow{3.0, 3.5, 0.55F});
        paintLit(scene, brass, plate, cushion(plate, 2.0, 3.0), placeMetal);
        paintLit(scene, brass, arm, cushion(arm, 1.5, 2.0), placeMetal);
        Field heights = bevel(shade, 2.5, 2.0, Profile::Round);
        raise(heights, shade, cushion(shade, 3.0, 4.0));
        paintLit(scene, brass, shade, heights, placeMetal);
        // The lit slit under the shade, and the warm light it spills.
        const Field slit = shapeMask(kSceneW, kSceneH, roundRect(cx - 44, 41, 88, 2.5, 1.2));
        glow(scene, slit, 9.0, hex(0xFFE8B0), 1.0F);
        fill(scene, slit, hex(0xFFEAC4, 0.9F));
    }
    paintPlate(scene, kColumnX, kColumnY, kColumnW, kColumnH, 631U);
    // A nameplate under the host's portrait for his words, as in the games
    // room; the level's panel covers it once a game is chosen.
    paintPlate(scene, 408, 320, 244, 42, 637U);
    // The difficulty switches' tray, set over the rail.
    paintPlate(scene, kTrayX, kTrayY, kTrayW, kTrayH, 635U);
    paintTitlePlaque(scene, 633U);
    vignette(scene, 0.45F);
    return scene.toImage();
}

// The games room: walnut panelling, shelves of boxed games, a green billiard
// lamp over the middle.
ColorImage drawRecRoom() {
    Pixmap scene = wood(kSceneW, kSceneH, 641U, walnutWood(), WoodGrain{10.0, 5.0, true});
    // Shelves with rows of boxed games behind the chooser, in cloth-bound
    // colours with gilt bands.
    const std::array<std::uint32_t, 5> colours{0x7A2A1E, 0x1E4A6E, 0x2E6A3A, 0xB08A3A, 0x5A2E5E};
    std::vector<Pixmap> cloths;
    for (std::size_t c = 0; c < colours.size(); ++c) {
        cloths.push_back(
            paper(kSceneW, kSceneH, 649U + static_cast<std::uint32_t>(c), hex(colours.at(c))));
    }
    for (int shelf = 0; shelf < 4; ++shelf) {
        const int y = 110 + shelf * 110;
        for (int k = 0; k < 24; ++k) {
            const int w = 14 + static_cast<int>(hashUnit(k, shelf, 643U) * 12.0F);
            const int h = 50 + static_cast<int>(hashUnit(shelf, k, 647U) * 34.0F);
            const int x = 280 + k * 21;
            if (x + w > kSceneW - 24) {
                break;
            }
            const Field box = shapeMask(kSceneW, kSceneH, roundRect(x, y - h, w, h, 1.5));
            paintLit(scene, cloths.at(static_cast<std::size_t>((k + shelf) % 5)), box,
                     bevel(box, 3.0, 2.0), placeLacquer);
            // Gilt bands near the spine's ends and a dark title label between them.
            for (const int by : {y - h + 5, y - 9}) {
                const Field band = shapeMask(kSceneW, kSceneH, roundRect(x + 1, by, w - 2, 2, 0));
                fill(scene, band, hex(palette::gold, 0.85F));
            }
            const Field label =
                shapeMask(kSceneW, kSceneH, roundRect(x + 3, y - h + 14, w - 6, 12, 1));
            fill(scene, label, hex(palette::mahoganyDark, 0.55F));
        }
        const Field board = shapeMask(kSceneW, kSceneH, roundRect(270, y, 510, 10, 2));
        castShadow(scene, board, Shadow{4.0, 3.0, 0.6F});
        paintLit(scene, wood(kSceneW, kSceneH, 653U, mahoganyWood(), WoodGrain{9.0, 4.0, false}),
                 board, bevel(board, 3.0, 2.0), placeWood);
    }
    // The billiard lamp's green light falls from above the switches.
    lightPool(scene, 140, 0, 300, 260, hex(0xD8FFD0), 0.3F);
    paintPlate(scene, kColumnX, kColumnY, kColumnW, kColumnH, 661U);
    // A nameplate under the host's portrait for his words, clear of the
    // shelf behind them.
    paintPlate(scene, 408, 320, 244, 42, 663U);
    paintPlate(scene, 30, kShelfY, 740, 60, 667U);
    paintTitlePlaque(scene, 669U);
    vignette(scene, 0.5F);
    return scene.toImage();
}

// The roof at dusk: an evening sky from amber to deep blue, the city's
// towers with lit windows, a parapet and a string of lanterns.
ColorImage drawRoof() {
    Pixmap scene(kSceneW, kSceneH);
    const Rgba high = hex(0x141C44);
    const Rgba middle = hex(0x5A3E7A);
    const Rgba low = hex(0xF0A060);
    for (int y = 0; y < kSceneH; ++y) {
        const float t = static_cast<float>(y) / 420.0F;
        const Rgba sky = t < 0.55F ? mix(high, middle, t / 0.55F)
                                   : mix(middle, low, std::min(1.0F, (t - 0.55F) / 0.45F));
        for (int x = 0; x < kSceneW; ++x) {
            scene(x, y) = sky;
        }
    }
    // Stars high up.
    for (int k = 0; k < 90; ++k) {
        const int x = static_cast<int>(hashUnit(k, 1, 701U) * kSceneW);
        const int y = static_cast<int>(hashUnit(k, 2, 701U) * 180.0F);
        scene(x, y) = over(scene.at(x, y), hex(0xFFFFF0), 0.4F + hashUnit(k, 3, 701U) * 0.5F);
    }
    // Two rows of towers, the far one hazier.
    for (int row = 0; row < 2; ++row) {
        const Rgba body = row == 0 ? hex(0x2A2448) : hex(0x120F22);
        int x = -10;
        int k = 0;
        while (x < kSceneW) {
            const int w = 34 + static_cast<int>(hashUnit(k, row, 709U) * 50.0F);
            const int h = (row == 0 ? 120 : 70) + static_cast<int>(hashUnit(row, k, 711U) * 130.0F);
            const int top = 470 - h - (row == 0 ? 30 : 0);
            const Field tower = shapeMask(kSceneW, kSceneH, roundRect(x, top, w, 600, 0));
            fill(scene, tower, body);
            for (int wy = top + 8; wy < 460; wy += 12) {
                for (int wx = x + 5; wx < x + w - 6; wx += 9) {
                    if (hashUnit(wx, wy, 713U + static_cast<std::uint32_t>(row)) > 0.62F) {
                        const Field pane = shapeMask(kSceneW, kSceneH, roundRect(wx, wy, 4, 6, 0));
                        fill(scene, pane, hex(0xFFD890, row == 0 ? 0.45F : 0.85F));
                    }
                }
            }
            x += w + 4;
            ++k;
        }
    }
    // The parapet: courses of brick, each half a brick along, every brick of
    // its own tone, its top edge catching the light and its lower edge in
    // shade, in darker mortar.
    const Pixmap grit = paper(kSceneW, kSceneH, 719U, hex(0x7A5A5C));
    constexpr int brickW = 48;
    constexpr int brickH = 18;
    for (int y = 470; y < kSceneH; ++y) {
        const int course = (y - 480 + 10 * brickH) / brickH;
        const int inY = (y - 480 + 10 * brickH) % brickH;
        for (int x = 0; x < kSceneW; ++x) {
            const int along = x + (course % 2) * (brickW / 2);
            const int brick = along / brickW;
            const int inX = along % brickW;
            Rgba c = grit.at(x, y);
            if (inY < 2 || inX < 2) {
                c = mix(c, hex(0x2E2430), 0.75F);
            } else {
                c = shade(c, (hashUnit(brick, course, 723U) - 0.5F) * 0.3F);
                if (inY == 2 || inX == 2) {
                    c = shade(c, 0.18F);
                } else if (inY == brickH - 1 || inX == brickW - 1) {
                    c = shade(c, -0.2F);
                }
            }
            scene(x, y) = c;
        }
    }
    // The garden's lamps glow warm on the wall.
    lightPool(scene, 400, 600, 520, 120, hex(0xFFB870), 0.18F);
    const Field coping = shapeMask(kSceneW, kSceneH, roundRect(-10, 462, kSceneW + 20, 16, 4));
    castShadow(scene, coping, Shadow{4.0, 3.0, 0.6F});
    paintLit(scene, marble(kSceneW, kSceneH, 721U, ivoryMarble()), coping, bevel(coping, 4.0, 3.0),
             placeLacquer);
    // Lanterns on a string across the top.
    for (int k = 0; k < 14; ++k) {
        const double cx = 20 + k * 58.0;
        const double cy = 30 + 16 * std::sin(k * 0.9);
        glow(scene, shapeMask(kSceneW, kSceneH, ellipse(cx, cy, 5, 6)), 7.0, hex(0xFFC870), 0.9F);
        fill(scene, shapeMask(kSceneW, kSceneH, ellipse(cx, cy, 5, 6)), hex(0xFFE0A0));
    }
    // Two clipped box trees in lacquered planters on the coping.
    for (const double cx : {70.0, 200.0}) {
        const Field planter = shapeMask(kSceneW, kSceneH, roundRect(cx - 26, 436, 52, 34, 3));
        const Field tree = maskUnion(shapeMask(kSceneW, kSceneH, ellipse(cx, 400, 34, 36)),
                                     shapeMask(kSceneW, kSceneH, ellipse(cx, 360, 22, 22)));
        castShadow(scene, maskUnion(planter, tree), Shadow{5.0, 4.0, 0.55F});
        Pixmap leaves = felt(kSceneW, kSceneH, 731U, hex(0x35603A));
        for (int y = 320; y < 440; ++y) {
            for (int x = static_cast<int>(cx) - 40; x < static_cast<int>(cx) + 40; ++x) {
                // Clumps of leaves: smooth noise at two scales.
                const float clump = valueNoise(x / 5.0, y / 5.0, 733U) * 0.7F +
                                    valueNoise(x / 2.0, y / 2.0, 735U) * 0.3F;
                leaves(x, y) = shade(leaves.at(x, y), (clump - 0.5F) * 0.6F);
            }
        }
        paintLit(scene, leaves, tree, cushion(tree, 6.0, 14.0), placeWood);
        paintLit(scene, lacquer(kSceneW, kSceneH, 737U, redLacquer()), planter,
                 bevel(planter, 4.0, 3.0), placeLacquer);
        const Field rim = shapeMask(kSceneW, kSceneH, roundRect(cx - 29, 432, 58, 7, 2));
        paintLit(scene, brushedMetal(kSceneW, kSceneH, 739U, brassMetal()), rim,
                 bevel(rim, 2.0, 1.5), placeMetal);
    }
    paintPlate(scene, kColumnX, 150, kColumnW, 184, 727U);
    // The nameplate for "choose a game", hidden by the panel once one is chosen.
    paintPlate(scene, 408, 226, 244, 42, 743U);
    paintPlate(scene, kTrayX, kTrayY, kTrayW, kTrayH, 741U);
    paintTitlePlaque(scene, 729U);
    vignette(scene, 0.35F);
    return scene.toImage();
}

// A switch: a brass rim round a lacquer face (off) or a jade face lit from
// within (on), in the four states normal, over, pressed and disabled.
ColorImage drawPlaceSwitch(int w, int h, std::uint32_t seed) {
    const Field outer = shapeMask(w, h, roundRect(2, 1, w - 4, h - 5, 10));
    const Field inner = shapeMask(w, h, roundRect(5, 4, w - 10, h - 11, 7));
    std::vector<Pixmap> frames;
    for (int on = 0; on < 2; ++on) {
        for (int state = 0; state < 4; ++state) {
            const bool pressed = state == 2;
            Pixmap picture(w, h);
            castShadow(picture, outer, Shadow{pressed ? 0.8 : 2.0, 1.3, 0.5F});
            Field heights = bevel(outer, 3.0, 2.0);
            raise(heights, inner, cushion(inner, 4.0, pressed || on == 1 ? -2.0 : 3.0));
            Pixmap body(w, h);
            paintLit(body, brushedMetal(w, h, seed, on == 1 ? goldMetal() : brassMetal()), outer,
                     heights, placeMetal);
            Pixmap face = on == 1 ? jade(w, h, seed + 3U, jadeStone())
                                  : lacquer(w, h, seed + 5U, redLacquer());
            if (state == 1) {
                for (Rgba& c : face.pixels) {
                    c = shade(c, 0.14F);
                }
            }
            paintLit(body, face, inner, heights, placeLacquer);
            if (on == 1) {
                glow(body, inner, 4.0, hex(palette::goldLight), 0.35F);
            }
            if (state == 3) {
                for (Rgba& c : body.pixels) {
                    c = shade(desaturate(c, 0.85F), -0.15F);
                    c.a *= 0.8F;
                }
            }
            composite(picture, body, 0, pressed ? 1 : 0);
            frames.push_back(picture);
        }
    }
    return stackFrames(frames);
}

ColorImage drawSwitchMask(int w, int h) {
    Pixmap mask(w, h);
    fill(mask, shapeMask(w, h, roundRect(2, 1, w - 4, h - 5, 10)), hex(0xFFFFFF));
    return mask.toImage();
}

// The glowing strip: a soft line of `colour`, its caps, the orb where it
// meets the chosen switch, and the halos round the switch and the panel.
ColorImage drawGlowFill(const Rgba& colour) {
    Pixmap fillTile(kChannelW, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < kChannelW; ++x) {
            const double d = std::abs(x - (kChannelW - 1) / 2.0) / (kChannelW / 2.0);
            const float a = static_cast<float>(std::pow(std::max(0.0, 1.0 - d), 1.8));
            fillTile(x, y) = Rgba{colour.r, colour.g, colour.b, a};
        }
    }
    return fillTile.toImage();
}

ColorImage drawGlowCap(const Rgba& colour, bool top) {
    Pixmap cap(kChannelW, 14);
    const Field dot = shapeMask(kChannelW, 14, ellipse(kChannelW / 2.0, top ? 9 : 5, 5, 4));
    glow(cap, dot, 3.0, colour, 1.0F);
    fill(cap, dot, mix(colour, hex(0xFFFFFF), 0.6F));
    return cap.toImage();
}

ColorImage drawGlowOrb(const Rgba& colour) {
    Pixmap orb(kChannelW, 40);
    const Field core = shapeMask(kChannelW, 40, ellipse(kChannelW / 2.0, 20, 7, 12));
    glow(orb, core, 4.0, colour, 1.0F);
    fill(orb, core, mix(colour, hex(0xFFFFFF), 0.55F));
    return orb.toImage();
}

ColorImage drawHalo(int w, int h, int inset, const Rgba& colour) {
    Pixmap halo(w, h);
    const Field ring = maskMinus(
        shapeMask(w, h, roundRect(inset, inset, w - 2 * inset, h - 2 * inset, 12)),
        shapeMask(w, h, roundRect(inset + 3, inset + 3, w - 2 * inset - 6, h - 2 * inset - 6, 10)));
    glow(halo, ring, inset / 2.0, colour, 1.0F);
    fill(halo, ring, Rgba{colour.r, colour.g, colour.b, 0.7F});
    return halo.toImage();
}

// The host's portrait in a brass oval frame.
ColorImage drawHostFrame() {
    constexpr int w = 170;
    constexpr int h = 220;
    Pixmap picture(w, h);
    const Field frame = shapeMask(w, h, ellipse(w / 2.0, h / 2.0, w / 2.0 - 3, h / 2.0 - 4));
    const Field window = shapeMask(w, h, ellipse(w / 2.0, h / 2.0, w / 2.0 - 15, h / 2.0 - 16));
    castShadow(picture, frame, Shadow{4.0, 3.0, 0.6F});
    paintLit(picture, brushedMetal(w, h, 801U, goldMetal()), frame,
             bevel(frame, 10.0, 4.0, Profile::Bead), placeMetal);
    Pixmap inside(w, h);
    fill(inside, window, jade(w, h, 803U, jadeStone()));
    paintHostPortrait(inside, (w - 126) / 2, h - 16 - 172 - 4, 0.0);
    composite(picture, masked(inside, window));
    innerShadow(picture, window, 4.0, 3.0, 0.5F);
    return picture.toImage();
}

// The record panel: parchment in a lacquer frame, a sunken well for the
// level's miniature, ruled lines for the five rows.
ColorImage drawPanel() {
    Pixmap picture(kPanelW, kPanelH);
    const Field outer = shapeMask(kPanelW, kPanelH, roundRect(2, 2, kPanelW - 4, kPanelH - 6, 12));
    const Field inner =
        shapeMask(kPanelW, kPanelH, roundRect(12, 12, kPanelW - 24, kPanelH - 26, 6));
    castShadow(picture, outer, Shadow{3.0, 3.0, 0.6F});
    Field heights = bevel(outer, 10.0, 4.0);
    raise(heights, inner, cushion(inner, 2.0, -2.0));
    paintLit(picture, lacquer(kPanelW, kPanelH, 811U, redLacquer()), outer, heights, placeLacquer);
    const Field rim = maskMinus(
        shapeMask(kPanelW, kPanelH, roundRect(9, 9, kPanelW - 18, kPanelH - 20, 8)), inner);
    paintLit(picture, brushedMetal(kPanelW, kPanelH, 813U, goldMetal()), rim, bevel(rim, 2.0, 1.5),
             placeMetal);
    fill(picture, inner, paper(kPanelW, kPanelH, 817U, hex(palette::parchment)));
    const Field well = shapeMask(kPanelW, kPanelH, roundRect(26, 62, 119, 88, 4));
    fill(picture, well, hex(0x2A1A10, 0.85F));
    innerShadow(picture, well, 3.0, 2.0, 0.6F);
    for (int k = 0; k <= 5; ++k) {
        const Field line = shapeMask(kPanelW, kPanelH, roundRect(30, 182 + k * 20, 400, 1, 0));
        fill(picture, line, hex(palette::goldDeep, 0.45F));
    }
    const Field divider = shapeMask(kPanelW, kPanelH, roundRect(40, 152, 380, 2, 1));
    fill(picture, divider, hex(palette::gold, 0.8F));
    return picture.toImage();
}

// A layout card of the chooser: parchment in a brass frame, four states.
ColorImage drawLayoutButton() {
    constexpr int w = 144;
    constexpr int h = 156;
    const Field outer = shapeMask(w, h, roundRect(2, 1, w - 4, h - 5, 8));
    const Field inner = shapeMask(w, h, roundRect(6, 5, w - 12, h - 13, 5));
    const Field well = shapeMask(w, h, roundRect(20, 10, 104, 80, 3));
    std::vector<Pixmap> frames;
    for (int state = 0; state < 4; ++state) {
        Pixmap picture(w, h);
        castShadow(picture, outer, Shadow{state == 2 ? 0.8 : 2.0, 1.4, 0.5F});
        Pixmap body(w, h);
        paintLit(body, brushedMetal(w, h, 821U, state == 1 ? goldMetal() : brassMetal()), outer,
                 bevel(outer, 4.0, 2.0), placeMetal);
        fill(body, inner, paper(w, h, 823U, hex(palette::parchment)));
        fill(body, well, hex(0x2A1A10, 0.8F));
        if (state == 1) {
            glow(body, inner, 3.0, hex(palette::goldLight), 0.25F);
        }
        if (state == 3) {
            for (Rgba& c : body.pixels) {
                c = shade(desaturate(c, 0.8F), -0.1F);
            }
        }
        composite(picture, body, 0, state == 2 ? 1 : 0);
        frames.push_back(picture);
    }
    return stackFrames(frames);
}

// A brass padlock.
ColorImage drawLock() {
    constexpr int w = 40;
    constexpr int h = 48;
    Pixmap picture(w, h);
    const Field shackle = maskMinus(shapeMask(w, h, ellipse(w / 2.0, 16, 12, 13)),
                                    shapeMask(w, h, ellipse(w / 2.0, 16, 7, 8)));
    const Field body = shapeMask(w, h, roundRect(5, 20, w - 10, 24, 4));
    castShadow(picture, maskUnion(shackle, body), Shadow{2.0, 1.5, 0.6F});
    paintLit(picture, brushedMetal(w, h, 831U, brassMetal()), shackle, cushion(shackle, 1.5, 3.0),
             placeMetal);
    paintLit(picture, brushedMetal(w, h, 833U, goldMetal()), body, bevel(body, 3.0, 2.0),
             placeMetal);
    fill(picture, shapeMask(w, h, ellipse(w / 2.0, 30, 3, 3)), hex(palette::mahoganyDark));
    fill(picture, shapeMask(w, h, roundRect(w / 2.0 - 1.5, 30, 3, 8, 1)),
         hex(palette::mahoganyDark));
    return picture.toImage();
}

// The bar under a new high score and one of its running lights.
ColorImage drawHighScoreBar() {
    constexpr int w = 404;
    constexpr int h = 4;
    Pixmap bar(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double edge = std::min({x / 20.0, (w - 1 - x) / 20.0, 1.0});
            bar(x, y) =
                Rgba{0.96F, 0.78F, 0.32F, static_cast<float>(edge) * (y == 0 ? 0.6F : 1.0F)};
        }
    }
    return bar.toImage();
}

ColorImage drawHighScoreLight() {
    constexpr int s = 16;
    Pixmap dot(s, s);
    for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
            const double d = std::hypot(x - 7.5, y - 7.5) / 8.0;
            const float a = static_cast<float>(std::max(0.0, 1.0 - d));
            dot(x, y) = Rgba{1.0F, 0.92F, 0.6F, a * a};
        }
    }
    return dot.toImage();
}

} // namespace

void addPlacesArt(MediaSet& media, Gallery& sheet) {
    const ColorImage casino = drawCasino();
    const ColorImage recroom = drawRecRoom();
    const ColorImage roof = drawRoof();
    media.add("media/images/places/casino.jpg", encodeJpeg(casino, 88));
    media.add("media/images/places/recroom.jpg", encodeJpeg(recroom, 88));
    media.add("media/images/places/roof.jpg", encodeJpeg(roof, 88));
    const ColorImage bigSwitch = drawPlaceSwitch(kSwitchW, kSwitchH, 841U);
    addPicture(media, "media/images/places/switch.png", bigSwitch);
    addPicture(media, "media/images/places/switch_small.png",
               drawPlaceSwitch(kSmallW, kSmallH, 847U));
    addPicture(media, "media/images/places/switch_mask.png", drawSwitchMask(kSwitchW, kSwitchH));
    const Rgba blue = hex(0x9FE0FF);
    const Rgba golden = hex(0xFFD470);
    addPicture(media, "media/images/places/glow_fill.png", drawGlowFill(blue));
    addPicture(media, "media/images/places/casino_glow_fill.png", drawGlowFill(golden));
    addPicture(media, "media/images/places/glow_top.png", drawGlowCap(hex(0xFFE6A0), true));
    addPicture(media, "media/images/places/glow_bottom.png", drawGlowCap(hex(0xFFE6A0), false));
    addPicture(media, "media/images/places/glow_middle.png", drawGlowOrb(hex(0xFFE6A0)));
    addPicture(media, "media/images/places/glow_button.png",
               drawHalo(kSwitchW + 32, kSwitchH + 16, 8, hex(0xFFE6A0)));
    addPicture(media, "media/images/places/glow_dialog.png",
               drawHalo(kPanelW + 12, kPanelH + 12, 6, hex(0xFFE6A0)));
    addPicture(media, "media/images/places/glow_chooser.png",
               drawHalo(476 + 12, 440 + 12, 6, hex(0xFFE6A0)));
    const ColorImage host = drawHostFrame();
    addPicture(media, "media/images/places/host_portrait.png", host);
    const ColorImage panel = drawPanel();
    addPicture(media, "media/images/places/panel.png", panel);
    const ColorImage card = drawLayoutButton();
    addPicture(media, "media/images/places/layout_button.png", card);
    addPicture(media, "media/images/places/layout_lock.png", drawLock());
    addPicture(media, "media/images/places/highscore_bar.png", drawHighScoreBar());
    addPicture(media, "media/images/places/highscore_light.png", drawHighScoreLight());
    sheet.rows.push_back({"The casino, the games room and the roof; a switch, the host, the "
                          "record panel, a layout card",
                          {casino, recroom, roof, bigSwitch, host, panel, card}});
}

void addPlacesSounds(MediaSet& media) {
    // A bright rising arpeggio over a soft chord.
    std::vector<float> out = silence(1.6);
    constexpr std::array<int, 5> notes{72, 76, 79, 84, 88};
    for (std::size_t k = 0; k < notes.size(); ++k) {
        addSoftBell(out, 0.08 * static_cast<double>(k), midi(notes.at(k)), 0.2, BellRing{0.5, 0.2});
    }
    for (const int note : {60, 64, 67}) {
        addTone(out, 0.36, midi(note), 0.08, 0.6, 0.05);
    }
    normalisePeak(out, 0.8F);
    media.add("media/sounds/new_highscore.wav", encodeWav(out));
}

} // namespace orv::media
