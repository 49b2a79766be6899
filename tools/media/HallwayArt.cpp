#include "tools/media/HallwayArt.h"

#include "tools/media/Fail.h"
#include "tools/media/FontBaker.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/SynthParts.h"
#include "tools/media/Typesetting.h"

#include <tinyxml.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace orv::media {

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kDoors = 5;

constexpr Lighting lacquerLight{0.55F, 0.55F, 34.0F, {1.0F, 0.96F, 0.86F, 1.0F}};
constexpr Lighting metalLight{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
constexpr Lighting woodLight{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting leafLight{0.45F, 0.25F, 20.0F, {1.0F, 1.0F, 0.9F, 1.0F}};

// The building's bands, top to bottom: cornice, wall, dado rail, skirting,
// carpet, and the band that holds the room buttons.
constexpr int kCorniceBottom = 44;
constexpr int kRailTop = 318;
constexpr int kSkirtingTop = 438;
constexpr int kCarpetTop = 454;
constexpr int kBandTop = 536;

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

struct PlacedImage {
    int x = 0, y = 0;
    std::string image;
};

// One look of the floor file: what the painter needs of it.
struct Look {
    std::string background;
    std::array<Box, kDoors> doors{};
    std::array<PlacedImage, kDoors> knobs{};
    PlacedImage plant;
};

int intAttribute(const TiXmlElement& element, const char* name) {
    int value = 0;
    if (element.QueryIntAttribute(name, &value) != TIXML_SUCCESS) {
        fail(std::string("hallway.xml: an element lacks the number \"") + name + "\"");
    }
    return value;
}

std::string textAttribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::vector<Look> readLooks(const fs::path& file) {
    TiXmlDocument document(file.string().c_str());
    if (!document.LoadFile()) {
        fail("cannot read " + file.string());
    }
    const TiXmlElement* root = document.RootElement();
    const TiXmlElement* definitions = nullptr;
    for (const TiXmlElement* child = root->FirstChildElement("Vector"); child != nullptr;
         child = child->NextSiblingElement("Vector")) {
        if (textAttribute(*child, "id") == "definitions") {
            definitions = child;
        }
    }
    if (definitions == nullptr) {
        fail(file.string() + " has no \"definitions\"");
    }
    std::vector<Look> looks;
    for (const TiXmlElement* definition = definitions->FirstChildElement("Vector");
         definition != nullptr; definition = definition->NextSiblingElement("Vector")) {
        std::vector<const TiXmlElement*> elements;
        for (const TiXmlElement* e = definition->FirstChildElement(); e != nullptr;
             e = e->NextSiblingElement()) {
            elements.push_back(e);
        }
        if (elements.size() != 27) {
            fail(file.string() + ": a look holds " + std::to_string(elements.size()) +
                 " elements, not 27");
        }
        Look look;
        look.background = textAttribute(*elements[0], "value");
        for (std::size_t d = 0; d < kDoors; ++d) {
            const TiXmlElement& door = *elements[1 + d];
            look.doors.at(d) = {intAttribute(door, "x"), intAttribute(door, "y"),
                                intAttribute(door, "width"), intAttribute(door, "height")};
            const TiXmlElement& knob = *elements[21 + d];
            look.knobs.at(d) = {intAttribute(knob, "x"), intAttribute(knob, "y"),
                                textAttribute(knob, "image")};
        }
        look.plant = {intAttribute(*elements[26], "x"), intAttribute(*elements[26], "y"),
                      textAttribute(*elements[26], "image")};
        looks.push_back(look);
    }
    return looks;
}

// `tile` repeated over the whole screen: materials repeat seamlessly at
// their own size, and a small tile is far quicker to make than a screenful.
Pixmap tiled(const Pixmap& tile) {
    Pixmap out(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            out(x, y) = tile.at(x % tile.width, y % tile.height);
        }
    }
    return out;
}

Field rectMask(double x, double y, double w, double h, double radius = 0) {
    return shapeMask(kWidth, kHeight, roundRect(x, y, w, h, radius));
}

// Raises a rounded rectangle (screen pixels) into `heights` by a bevel of
// `width` and `height` pixels, working only on the rectangle's own pixels;
// with `cover` its coverage joins that mask as well.
void raiseRect(Field& heights, double x, double y, double w, double h, double radius, double width,
               double height, Profile profile, Field* cover = nullptr) {
    const int left = std::max(0, static_cast<int>(std::floor(x)) - 1);
    const int top = std::max(0, static_cast<int>(std::floor(y)) - 1);
    const int right = std::min(heights.width, static_cast<int>(std::ceil(x + w)) + 1);
    const int bottom = std::min(heights.height, static_cast<int>(std::ceil(y + h)) + 1);
    if (right <= left || bottom <= top) {
        return;
    }
    const Field mask =
        shapeMask(right - left, bottom - top, roundRect(x - left, y - top, w, h, radius));
    const Field rise = bevel(mask, width, height, profile);
    for (int j = 0; j < mask.height; ++j) {
        for (int i = 0; i < mask.width; ++i) {
            const float m = mask.at(i, j);
            if (m <= 0.0F) {
                continue;
            }
            heights(left + i, top + j) += rise.at(i, j) * m;
            if (cover != nullptr) {
                float& c = (*cover)(left + i, top + j);
                c = std::max(c, m);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// The corridor
// ---------------------------------------------------------------------------

// How the wall between cornice and skirting is dressed in each look.
enum class WallStyle { Panelled, Papered, Striped };

struct WallLook {
    WallStyle style;
    WoodPalette wood;
    Rgba paper;
    Rgba carpet;
    Rgba carpetBorder;
};

WallLook wallLook(std::size_t index) {
    switch (index % 3) {
    case 0:
        return {WallStyle::Panelled, mahoganyWood(), hex(0x4A1E10), hex(0x5E1A2A), hex(0xD9A441)};
    case 1:
        return {WallStyle::Papered, walnutWood(), hex(0x1F4A3A), hex(0x27304F), hex(0xC9A05A)};
    default:
        return {WallStyle::Striped, mahoganyWood(), hex(0x6B5236), hex(0x3F2A1C), hex(0xB88A3E)};
    }
}

// The door leaf's lacquer: a deep red, saturated enough that the game's hue
// turn gives every game type a clear colour of its own, dark enough that the
// turned colours (jade above all, which the eye takes for the brightest) read
// as lacquer in a corridor's light rather than as paint.
LacquerPalette doorLacquer() {
    return {hex(0x4A120A), hex(0x8E2A1A)};
}

// The floor sign's plaque: centred over the middle door, between the cornice
// and the room plates. The scene's "LABEL_FLOOR" writes the floor on it.
constexpr int kSignX = 322;
constexpr int kSignY = 68;
constexpr int kSignW = 156;
constexpr int kSignH = 62;

// The frieze between the cornice and the door heads, where each door's
// panel and the lamps hang.
constexpr int kFriezeTop = 58;
constexpr int kFriezeBottom = 146;

double centreOf(const Box& door) {
    return door.x + door.w / 2.0;
}

std::size_t signDoor(const Look& look);

// The lamps hang on the stiles halfway between neighbouring doors, but for
// the two beside the floor sign, which leave it room.
std::vector<double> lampPlaces(const Look& look) {
    std::vector<double> places;
    const std::size_t sign = signDoor(look);
    for (std::size_t d = 0; d + 1 < kDoors; ++d) {
        if (d == sign || d + 1 == sign) {
            continue;
        }
        const Box& a = look.doors.at(d);
        const Box& b = look.doors.at(d + 1);
        places.push_back((a.x + a.w + b.x) / 2.0);
    }
    return places;
}

// The door nearest the screen's middle carries the floor sign above it.
std::size_t signDoor(const Look& look) {
    std::size_t best = 0;
    for (std::size_t d = 1; d < kDoors; ++d) {
        if (std::abs(centreOf(look.doors.at(d)) - kWidth / 2.0) <
            std::abs(centreOf(look.doors.at(best)) - kWidth / 2.0)) {
            best = d;
        }
    }
    return best;
}

// How wide a door's frieze panel may be: its door's pitch less room for the
// lamps on either side.
double friezeWidth(const Look& look) {
    double pitch = kWidth;
    for (std::size_t d = 0; d + 1 < kDoors; ++d) {
        pitch = std::min(pitch, centreOf(look.doors.at(d + 1)) - centreOf(look.doors.at(d)));
    }
    return std::max(40.0, pitch - 30.0);
}

// The wall between cornice and skirting, dressed after the look's style; its
// panels and patterns are laid out from the doors, so that every door stands
// centred in its own bay. Panel inlay lines go to `inlay` (gilded later).
void paintWall(Pixmap& scene, Field& heights, Field& inlay, const WallLook& style, const Look& look,
               std::size_t index) {
    const auto seed = static_cast<std::uint32_t>(index);
    const Field wall = rectMask(-10, kCorniceBottom, kWidth + 20.0, kSkirtingTop - kCorniceBottom);
    const double panelWidth = friezeWidth(look);
    if (style.style == WallStyle::Panelled) {
        fill(scene, wall,
             tiled(wood(256, 256, 40U + seed, style.wood, WoodGrain{12.0, 6.0, true})));
        // Over each door (but the sign's) a sunk frame holding a raised
        // veneer field ringed with a gold line, as in the lobby.
        const std::size_t sign = signDoor(look);
        for (std::size_t d = 0; d < kDoors; ++d) {
            if (d == sign) {
                continue;
            }
            const double x = centreOf(look.doors.at(d)) - panelWidth / 2;
            raiseRect(heights, x, kFriezeTop, panelWidth, kFriezeBottom - kFriezeTop, 4, 3, -3,
                      Profile::Linear);
            raiseRect(heights, x + 8, kFriezeTop + 8, panelWidth - 16,
                      kFriezeBottom - kFriezeTop - 16.0, 3, 8, 4, Profile::Linear);
            inlay =
                maskUnion(inlay, maskMinus(rectMask(x + 18, kFriezeTop + 18, panelWidth - 36,
                                                    kFriezeBottom - kFriezeTop - 36.0, 5),
                                           rectMask(x + 19.5, kFriezeTop + 19.5, panelWidth - 39,
                                                    kFriezeBottom - kFriezeTop - 39.0, 3.5)));
        }
        // Sunk panels in the wainscot of the two end bays.
        const double left = look.doors.front().x - 12.0;
        const double right = look.doors.back().x + look.doors.back().w + 12.0;
        if (left > 24) {
            raiseRect(heights, 6, 342, left - 12, 84, 3, 5, -2.5, Profile::Linear);
        }
        if (kWidth - right > 24) {
            raiseRect(heights, right + 6, 342, kWidth - right - 12, 84, 3, 5, -2.5,
                      Profile::Linear);
        }
    } else if (style.style == WallStyle::Papered) {
        // Jade paper with a gold lattice above a walnut wainscot; the lattice
        // meets over every door's middle.
        const Field paper = rectMask(-10, kCorniceBottom, kWidth + 20.0, kRailTop - kCorniceBottom);
        fill(scene, paper, tiled(felt(256, 256, 50U + seed, style.paper)));
        const double pitch = std::max(20.0, (panelWidth + 30.0) / 4.0);
        const double origin = centreOf(look.doors.at(signDoor(look)));
        const Field lattice = pathMask(kWidth, kHeight, [pitch, origin](cairo_t* cr) {
            cairo_set_line_width(cr, 1.2);
            const double rise = kRailTop - kCorniceBottom;
            for (int k = -40; k <= 40; ++k) {
                const double x = origin + k * pitch;
                cairo_move_to(cr, x, kCorniceBottom);
                cairo_line_to(cr, x + rise, kRailTop);
                cairo_move_to(cr, x, kCorniceBottom);
                cairo_line_to(cr, x - rise, kRailTop);
            }
            cairo_stroke(cr);
        });
        fill(scene, maskIntersection(lattice, paper), hex(palette::gold, 0.35F));
        const Field wainscot = rectMask(-10, kRailTop, kWidth + 20.0, kSkirtingTop - kRailTop);
        fill(scene, wainscot,
             tiled(wood(256, 256, 60U + seed, style.wood, WoodGrain{10.0, 5.0, true})));
    } else {
        // Warm striped paper above a mahogany wainscot; a stripe runs down
        // the middle of every door.
        const Field paper = rectMask(-10, kCorniceBottom, kWidth + 20.0, kRailTop - kCorniceBottom);
        fill(scene, paper, tiled(felt(256, 256, 70U + seed, style.paper)));
        const double pitch = std::max(20.0, (panelWidth + 30.0) / 4.0);
        const double origin = centreOf(look.doors.at(signDoor(look)));
        const Field stripes = pathMask(kWidth, kHeight, [pitch, origin](cairo_t* cr) {
            for (int k = -40; k <= 40; ++k) {
                cairo_rectangle(cr, origin + k * pitch - 5, kCorniceBottom, 10,
                                kRailTop - kCorniceBottom);
            }
            cairo_fill(cr);
        });
        fill(scene, maskIntersection(stripes, paper), hex(0x7E633F, 0.6F));
        const Field wainscot = rectMask(-10, kRailTop, kWidth + 20.0, kSkirtingTop - kRailTop);
        fill(scene, wainscot,
             tiled(wood(256, 256, 80U + seed, style.wood, WoodGrain{11.0, 6.0, true})));
    }
}

// The runner along the corridor: the look's pile with a fine weave, a
// guard band of a deeper shade inside gold lines at both edges, and down the
// middle a chain of lozenges a shade either side of the pile with a gold
// knot at each meeting. Every mark stays within a few shades of the pile so
// that the runner lies quietly under the doors.
void paintCarpet(Pixmap& scene, const WallLook& style, std::uint32_t seed) {
    constexpr double kTop = kCarpetTop;
    constexpr double kDepth = kBandTop - kCarpetTop;
    constexpr double kMiddle = kTop + kDepth / 2;
    constexpr double kStep = 40.0;
    const Field carpet = rectMask(-10, kTop, kWidth + 20.0, kDepth);
    fill(scene, carpet, tiled(felt(256, 256, 90U + seed, style.carpet)));
    // The weave: faint warp threads across the band.
    const Field warp = pathMask(kWidth, kHeight, [](cairo_t* cr) {
        cairo_set_line_width(cr, 1.0);
        for (int x = 0; x < kWidth; x += 3) {
            cairo_move_to(cr, x + 0.5, kTop);
            cairo_line_to(cr, x + 0.5, kBandTop);
        }
        cairo_stroke(cr);
    });
    fill(scene, warp, hex(0x000000, 0.07F));
    // The guard bands, darker, each held between two gold lines.
    const Rgba gold = mix(style.carpetBorder, style.carpet, 0.35F);
    for (const double y : {kTop + 9.0, kBandTop - 19.0}) {
        fill(scene, rectMask(-10, y, kWidth + 20.0, 10), shade(style.carpet, -0.22F));
        fill(scene, rectMask(-10, y - 1.5, kWidth + 20.0, 1.5), gold);
        fill(scene, rectMask(-10, y + 10, kWidth + 20.0, 1.5), gold);
    }
    // The field's lozenge chain: an outline a shade darker, a core a shade
    // lighter, a gold knot where two lozenges meet.
    const double halfW = kStep / 2;
    const double halfH = 14.0;
    const auto lozenges = [&](double inset, bool outline) {
        return pathMask(kWidth, kHeight, [=](cairo_t* cr) {
            for (double cx = -halfW; cx < kWidth + kStep; cx += kStep) {
                const double w = halfW - inset;
                const double h = halfH - inset * halfH / halfW;
                cairo_move_to(cr, cx - w, kMiddle);
                cairo_line_to(cr, cx, kMiddle - h);
                cairo_line_to(cr, cx + w, kMiddle);
                cairo_line_to(cr, cx, kMiddle + h);
                cairo_close_path(cr);
            }
            if (outline) {
                cairo_set_line_width(cr, 2.0);
                cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
                cairo_stroke(cr);
            } else {
                cairo_fill(cr);
            }
        });
    };
    fill(scene, lozenges(3.0, true), shade(style.carpet, -0.25F));
    fill(scene, lozenges(9.0, false), shade(style.carpet, 0.1F));
    fill(scene, lozenges(14.0, false), mix(style.carpet, style.carpetBorder, 0.22F));
    const Field knots = pathMask(kWidth, kHeight, [&](cairo_t* cr) {
        for (double cx = 0; cx < kWidth + kStep; cx += kStep) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, kMiddle, 2.2, 0, 2 * pi);
        }
        cairo_fill(cr);
    });
    fill(scene, knots, gold);
    // The pile catches the lamps' light toward the near edge.
    fill(scene, rectMask(-10, kBandTop - 30, kWidth + 20.0, 30), hex(0xFFE2B0, 0.03F));
}

// Brass wall lamps with frosted shades lit from within, as in the lobby.
void paintLamps(Pixmap& scene, const std::vector<double>& places, const Pixmap& brass) {
    constexpr double shadeTop = 84;
    constexpr double shadeHeight = 34;
    Field plates(kWidth, kHeight);
    Field shades(kWidth, kHeight);
    Field bands(kWidth, kHeight);
    for (const double cx : places) {
        plates = maskUnion(plates, rectMask(cx - 6, shadeTop + 30, 12, 48, 6));
        shades = maskUnion(shades, rectMask(cx - 10, shadeTop, 20, shadeHeight, 8));
        bands = maskUnion(bands, rectMask(cx - 11, shadeTop - 3, 22, 5, 2));
        bands = maskUnion(bands, rectMask(cx - 11, shadeTop + shadeHeight - 2, 22, 5, 2));
    }
    Field heights = bevel(plates, 3, 3);
    raise(heights, bands, bevel(bands, 2, 2));
    castShadow(scene, maskUnion(plates, shades), Shadow{6.0, 3.5, 0.45F});
    paintLit(scene, brass, maskUnion(plates, bands), heights, metalLight);
    glow(scene, shades, 10.0, Rgba{1.0F, 0.8F, 0.45F, 0.8F}, 2.0F);
    Pixmap glass(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const float low = std::clamp(
            static_cast<float>(y - shadeTop) / static_cast<float>(shadeHeight), 0.0F, 1.0F);
        for (int x = 0; x < kWidth; ++x) {
            float nearest = 1e9F;
            for (const double cx : places) {
                nearest = std::min(nearest, std::abs(static_cast<float>(x + 0.5 - cx)));
            }
            const float across = nearest / 10.0F;
            const float core = std::clamp(1.0F - across * across, 0.0F, 1.0F) * (0.6F + 0.4F * low);
            glass(x, y) = mix(Rgba{0.98F, 0.74F, 0.42F, 1.0F}, Rgba{1.0F, 0.97F, 0.86F, 1.0F},
                              0.35F + 0.65F * core);
        }
    }
    composite(scene, masked(glass, shades));
}

// The floor sign: a lacquered plaque in a raised gold rim on its shadow,
// with a small gold rosette at either end; the floor's name is a label.
void paintFloorSign(Pixmap& scene, std::uint32_t seed) {
    const Field outer = rectMask(kSignX, kSignY, kSignW, kSignH, 8);
    const Field field = rectMask(kSignX + 7, kSignY + 7, kSignW - 14.0, kSignH - 14.0, 4);
    const Field rosettes = pathMask(kWidth, kHeight, [](cairo_t* cr) {
        for (const double cx : {kSignX + 3.5, kSignX + kSignW - 3.5}) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, kSignY + kSignH / 2.0, 5.5, 0, 2 * pi);
        }
        cairo_fill(cr);
    });
    castShadow(scene, maskUnion(outer, rosettes), Shadow{5.0, 3.5, 0.55F});
    Field heights = bevel(outer, 7, 5, Profile::Bead);
    raise(heights, field, cushion(field, 5.0, 2.0));
    raise(heights, rosettes, bevel(rosettes, 4, 4, Profile::Round));
    const Pixmap gold = brushedMetal(kWidth, kHeight, 25U + seed, goldMetal());
    paintLit(scene, gold, maskMinus(outer, field), heights, metalLight);
    paintLit(scene,
             lacquer(kWidth, kHeight, 27U + seed, LacquerPalette{hex(0x2A0A06), hex(0x5E1A10)}),
             field, heights, lacquerLight);
    innerShadow(scene, field, 3.0, 2.0, 0.6F);
    paintLit(scene, gold, rosettes, heights, metalLight);
}

ColorImage drawPlant(int kind);

constexpr std::array<const char*, 3> kPlantNames{"palm", "fern", "lily"};

// The kind of plant (0 palm, 1 fern, 2 lily) that a picture name such as
// "PLANT_FERN" shows; a palm for any other name.
int plantKind(const std::string& image) {
    for (std::size_t k = 0; k < kPlantNames.size(); ++k) {
        std::string upper = kPlantNames.at(k);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (image == "PLANT_" + upper) {
            return static_cast<int>(k);
        }
    }
    return 0;
}

ColorImage drawCorridor(const Look& look, std::size_t index, GreyImage* masks) {
    const WallLook style = wallLook(index);
    const auto seed = static_cast<std::uint32_t>(index * 17U);
    Pixmap scene(kWidth, kHeight, hex(palette::mahoganyDark));
    Field heights(kWidth, kHeight, 0.0F);
    Field inlay(kWidth, kHeight);
    paintWall(scene, heights, inlay, style, look, index);
    raise(heights, inlay, cushion(inlay, 0.6, 0.8));

    paintCarpet(scene, style, seed);
    // The far edge of the carpet lies in the wall's shade.
    castShadow(scene, rectMask(-10, kCarpetTop - 8, kWidth + 20.0, 8), Shadow{4.0, 6.0, 0.5F});

    // Mouldings: the cornice, the rail, the skirting and the buttons' band.
    const Field cornice = rectMask(-10, -10, kWidth + 20.0, kCorniceBottom + 10);
    raise(heights, cornice, bevel(cornice, 12, 6, Profile::Cove));
    const Field corniceBead = rectMask(-10, kCorniceBottom - 8, kWidth + 20.0, 6, 3);
    raise(heights, corniceBead, bevel(corniceBead, 3, 3, Profile::Bead));
    const Field rail = rectMask(-10, kRailTop, kWidth + 20.0, 14, 4);
    raise(heights, rail, bevel(rail, 7, 5, Profile::Bead));
    const Field skirting = rectMask(-10, kSkirtingTop, kWidth + 20.0, kCarpetTop - kSkirtingTop);
    raise(heights, skirting, bevel(skirting, 5, 4, Profile::Round));
    const Field band = rectMask(-10, kBandTop, kWidth + 20.0, kHeight - kBandTop + 10);
    raise(heights, band, bevel(band, 6, 4, Profile::Round));

    // Doors: a wooden architrave, then the lacquered leaf with two sunk panels.
    Field frames(kWidth, kHeight);
    Field leaves(kWidth, kHeight);
    for (std::size_t d = 0; d < kDoors; ++d) {
        const Box& door = look.doors.at(d);
        raiseRect(heights, door.x - 12, door.y - 12, door.w + 24.0, door.h + 12.0, 2, 10, 5,
                  Profile::Round, &frames);
        // The leaf stands flat in its frame, whatever the wall behind does.
        for (int y = door.y; y < door.y + door.h; ++y) {
            for (int x = door.x; x < door.x + door.w; ++x) {
                heights(x, y) = 0.0F;
            }
        }
        raiseRect(heights, door.x, door.y, door.w, door.h, 0, 3, 2, Profile::Round, &leaves);
        raiseRect(heights, door.x + 14, door.y + 16, door.w - 28.0, door.h * 0.42, 2, 5, -2.5,
                  Profile::Linear);
        raiseRect(heights, door.x + 14, door.y + door.h * 0.55, door.w - 28.0, door.h * 0.38, 2, 5,
                  -2.5, Profile::Linear);
        if (masks != nullptr) {
            GreyImage mask(kWidth, kHeight);
            for (int y = door.y; y < door.y + door.h; ++y) {
                for (int x = door.x; x < door.x + door.w; ++x) {
                    mask.set(x, y, 255);
                }
            }
            masks[d] = mask;
        }
    }

    light(scene, heights, woodLight);
    const Pixmap brass = brushedMetal(256, 64, 21U + seed, brassMetal());
    paintLit(scene, brushedMetal(256, 64, 23U + seed, goldMetal()), inlay, heights, metalLight);
    castShadow(scene, cornice, Shadow{4.0, 4.0, 0.5F});
    paintLit(scene, wood(kWidth, 64, 5U + seed, style.wood, WoodGrain{14.0, 5.0, false}), cornice,
             heights, woodLight);
    paintLit(scene, brass, corniceBead, heights, metalLight);
    castShadow(scene, rail, Shadow{3.0, 2.5, 0.5F});
    paintLit(scene, brass, rail, heights, metalLight);
    paintLit(scene, wood(kWidth, 64, 7U + seed, mahoganyWood(), WoodGrain{14.0, 5.0, false}),
             skirting, heights, woodLight);
    paintLit(scene, wood(kWidth, 80, 9U + seed, mahoganyWood(), WoodGrain{16.0, 4.0, false}), band,
             heights, woodLight);
    paintLit(scene, brass, rectMask(-10, kBandTop, kWidth + 20.0, 4, 2), heights, metalLight);
    // The architraves stand off the wall and shade it down and to the right.
    castShadow(scene, frames, Shadow{5.0, 4.0, 0.45F});
    paintLit(scene, wood(128, 256, 11U + seed, style.wood, WoodGrain{8.0, 4.0, true}), frames,
             heights, woodLight);
    paintLit(scene, lacquer(128, 128, 13U + seed, doorLacquer()), leaves, heights, lacquerLight);

    // Wall lamps between the doors throw warm light on the wall; the floor
    // sign hangs over the middle door.
    const Rgba lamp{1.0F, 0.8F, 0.5F, 1.0F};
    const std::vector<double> lamps = lampPlaces(look);
    for (const double cx : lamps) {
        lightPool(scene, cx, 110, 110, 170, lamp, 0.3F);
    }
    lightPool(scene, kWidth / 2.0, 0, 520, 260, lamp, 0.1F);
    paintLamps(scene, lamps, brass);
    paintFloorSign(scene, seed);
    // The plant the scene stands at one end has a twin painted at the other,
    // so that the doors stand framed between the two.
    const ColorImage plant = drawPlant(plantKind(look.plant.image));
    composite(scene, Pixmap::fromImage(plant), kWidth - look.plant.x - plant.width, look.plant.y);
    vignette(scene, 0.35F);
    return scene.toImage();
}

// ---------------------------------------------------------------------------
// Pieces
// ---------------------------------------------------------------------------

// A door knob: four frames stacked (normal, pointer over, pressed, disabled).
ColorImage drawKnob(const MetalPalette& metal, std::uint32_t seed) {
    constexpr int size = 14;
    ColorImage strip(size, size * 4);
    for (int frame = 0; frame < 4; ++frame) {
        Pixmap knob(size, size);
        const Field shape = shapeMask(size, size, ellipse(7, 7, 5.5, 5.5), 8);
        castShadow(knob, shape, Shadow{1.5, 1.0, 0.5F});
        MetalPalette tone = metal;
        if (frame == 1) {
            tone = {shade(metal.deep, 0.2F), shade(metal.mid, 0.2F), shade(metal.light, 0.2F)};
        } else if (frame == 2) {
            tone = {shade(metal.deep, -0.2F), shade(metal.mid, -0.2F), shade(metal.light, -0.2F)};
        } else if (frame == 3) {
            tone = {desaturate(metal.deep, 1.0F), desaturate(metal.mid, 1.0F),
                    desaturate(metal.light, 1.0F)};
        }
        paintLit(knob, brushedMetal(size, size, seed, tone), shape, cushion(shape, 1.8, 3.0),
                 metalLight);
        const ColorImage picture = knob.toImage();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                strip.set(x, frame * size + y, picture.at(x, y));
            }
        }
    }
    return strip;
}

// A lacquered pot with a plant: `kind` 0 a palm, 1 a fern, 2 a lily.
ColorImage drawPlant(int kind) {
    constexpr int w = 72;
    constexpr int h = 168;
    constexpr int scale = 2;
    constexpr int W = w * scale;
    constexpr int H = h * scale;
    Pixmap big(W, H);
    // Leaves first, so that the pot stands in front of their stems.
    const Field leaves = pathMask(W, H, [kind](cairo_t* cr) {
        const double baseX = W / 2.0;
        const double baseY = H * 0.66;
        const int count = kind == 1 ? 11 : 7;
        for (int i = 0; i < count; ++i) {
            const double t = (i + 0.5) / count;
            const double angle = pi * (1.08 + 0.84 * t);
            const double reach = (kind == 2 ? 0.42 : 0.52) * H * (0.7 + 0.3 * std::sin(pi * t));
            const double tipX = baseX + std::cos(angle) * reach * (kind == 1 ? 0.9 : 0.55);
            const double tipY = baseY + std::sin(angle) * reach;
            const double width = kind == 0 ? 18.0 : (kind == 1 ? 10.0 : 22.0);
            const double nx = -std::sin(angle) * width;
            const double ny = std::cos(angle) * width;
            const double midX = (baseX + tipX) / 2.0;
            const double midY = (baseY + tipY) / 2.0;
            cairo_move_to(cr, baseX, baseY);
            cairo_curve_to(cr, midX + nx, midY + ny, tipX + nx * 0.3, tipY + ny * 0.3, tipX, tipY);
            cairo_curve_to(cr, tipX - nx * 0.3, tipY - ny * 0.3, midX - nx, midY - ny, baseX,
                           baseY);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
    });
    castShadow(big, leaves, Shadow{6.0, 5.0, 0.35F});
    const Rgba green = kind == 1 ? hex(0x3F7A34) : (kind == 0 ? hex(0x2F6B3A) : hex(0x356F45));
    Pixmap leafColour(W, H, green);
    paintLit(big, leafColour, leaves, cushion(leaves, 4.0, 8.0), leafLight);
    if (kind == 2) {
        const Field flowers = pathMask(W, H, [](cairo_t* cr) {
            const std::array<std::pair<double, double>, 3> spots{
                {{W * 0.36, H * 0.28}, {W * 0.6, H * 0.22}, {W * 0.5, H * 0.36}}};
            for (const auto& [x, y] : spots) {
                for (int p = 0; p < 5; ++p) {
                    const double a = p * 2 * pi / 5;
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, x + std::cos(a) * 7, y + std::sin(a) * 7, 7, 0, 2 * pi);
                }
            }
            cairo_fill(cr);
        });
        paintLit(big, Pixmap(W, H, hex(palette::ivory)), flowers, cushion(flowers, 2.0, 3.0),
                 leafLight);
    }
    // The pot: red lacquer with a gold band.
    const Field pot = shapeMask(W, H, roundRect(W * 0.2, H * 0.64, W * 0.6, H * 0.34, 14.0), 4);
    castShadow(big, pot, Shadow{6.0, 5.0, 0.45F});
    Field potHeights = cushion(pot, 10.0, 14.0);
    paintLit(big, lacquer(W, H, 31U + static_cast<std::uint32_t>(kind), redLacquer()), pot,
             potHeights, lacquerLight);
    const Field bandMask =
        maskIntersection(pot, shapeMask(W, H, roundRect(0, H * 0.7, W, H * 0.03, 0), 4));
    paintLit(big, brushedMetal(W, H, 33U, goldMetal()), bandMask, potHeights, metalLight);
    return downsample(big, scale).toImage();
}

// A medal of `metal` `size` pixels square: a disc with a raised rim and a
// star, on its shadow; drawn four times larger and shrunk.
ColorImage drawDoorMedal(const MetalPalette& metal, std::uint32_t seed, int size = 48) {
    constexpr int scale = 4;
    const int S = size * scale;
    const double k = S / 192.0;
    Pixmap big(S, S);
    const double c = S / 2.0 - 4 * k;
    const Field disc = shapeMask(S, S, ellipse(c, c, S * 0.42, S * 0.42), 2);
    castShadow(big, disc, Shadow{10.0 * k, 8.0 * k, 0.5F});
    Field heights = bevel(disc, S * 0.07, 10.0 * k, Profile::Round);
    const Field inner = shapeMask(S, S, ellipse(c, c, S * 0.32, S * 0.32), 2);
    raise(heights, inner, bevel(inner, 6 * k, -5 * k, Profile::Linear));
    const Field star = pathMask(S, S, [c, k](cairo_t* cr) {
        for (int p = 0; p < 10; ++p) {
            const double r = ((p % 2 == 0) ? 50.0 : 21.0) * k;
            const double a = -pi / 2 + p * pi / 5;
            const double x = c + std::cos(a) * r;
            const double y = c + std::sin(a) * r;
            if (p == 0) {
                cairo_move_to(cr, x, y);
            } else {
                cairo_line_to(cr, x, y);
            }
        }
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    raise(heights, star, bevel(star, 8 * k, 8 * k, Profile::Linear));
    paintLit(big, brushedMetal(S, S, seed, metal), disc, heights, metalLight);
    return downsample(big, scale).toImage();
}

// The room preview's pieces around the layout picture: the picture is
// kPreviewWidth x kPreviewHeight on screen (PREVIEW_WIDTH and PREVIEW_HEIGHT
// at PREVIEW_SCALE), and the frame rings it with a gold bead kPreviewRim
// wide, on its shadow, open in the middle.
constexpr int kPreviewWidth = 134;
constexpr int kPreviewHeight = 100;
constexpr int kPreviewRim = 5;

ColorImage drawPreviewFrame() {
    const int w = kPreviewWidth + 2 * kPreviewRim + 4;
    const int h = kPreviewHeight + 2 * kPreviewRim + 4;
    Pixmap frame(w, h);
    const Field outer = shapeMask(w, h, roundRect(1, 1, w - 5.0, h - 5.0, 4), 4);
    const Field hole = shapeMask(
        w, h, roundRect(1 + kPreviewRim, 1 + kPreviewRim, kPreviewWidth, kPreviewHeight, 1), 4);
    const Field rim = maskMinus(outer, hole);
    castShadow(frame, outer, Shadow{2.5, 2.0, 0.5F});
    paintLit(frame, brushedMetal(w, h, 63U, goldMetal()), rim, bevel(rim, 3, 3, Profile::Bead),
             metalLight);
    // The middle stays clear: the layout picture covers it.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (hole.at(x, y) > 0.99F) {
                frame(x, y) = Rgba{0, 0, 0, 0};
            }
        }
    }
    return frame.toImage();
}

// A gold rule between the goals and the player's record, with a small
// diamond in its middle.
ColorImage drawPreviewRule() {
    constexpr int w = 150;
    constexpr int h = 10;
    Pixmap rule(w, h);
    const Field shape = pathMask(w, h, [](cairo_t* cr) {
        cairo_rectangle(cr, 4, 4, w - 8, 1.5);
        cairo_move_to(cr, w / 2.0, 0.5);
        cairo_line_to(cr, w / 2.0 + 5, 4.75);
        cairo_line_to(cr, w / 2.0, 9);
        cairo_line_to(cr, w / 2.0 - 5, 4.75);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    castShadow(rule, shape, Shadow{1.0, 0.8, 0.35F});
    paintLit(rule, brushedMetal(w, h, 65U, goldMetal()), shape, bevel(shape, 1.5, 1.5), metalLight);
    return rule.toImage();
}

// A soft white-gold glow with a four-pointed sparkle, drawn additively.
ColorImage drawStarFlash() {
    constexpr int size = 40;
    ColorImage image(size, size);
    const double c = size / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c;
            const double dy = y + 0.5 - c;
            const double r = std::sqrt(dx * dx + dy * dy) / c;
            const double glow = std::exp(-r * r * 6.0);
            const double rays = std::exp(-std::abs(dx) * 1.2) * std::exp(-std::abs(dy) / c * 3.0) +
                                std::exp(-std::abs(dy) * 1.2) * std::exp(-std::abs(dx) / c * 3.0);
            const double v = std::clamp(glow * 0.9 + rays * 0.8, 0.0, 1.0);
            const Rgba colour = mix(hex(palette::gold), hex(0xFFFFFF), static_cast<float>(v));
            image.set(x, y, toPixel({colour.r, colour.g, colour.b, static_cast<float>(v)}));
        }
    }
    return image;
}

constexpr int kPlateWidth = 64;
constexpr int kPlateHeight = 26;

// A blank brass plate on its shadow.
ColorImage drawBlankPlate(std::uint32_t seed) {
    Pixmap plate(kPlateWidth, kPlateHeight);
    const Field shape = shapeMask(kPlateWidth, kPlateHeight,
                                  roundRect(1, 1, kPlateWidth - 4.0, kPlateHeight - 4.0, 4), 8);
    castShadow(plate, shape, Shadow{2.0, 1.5, 0.5F});
    paintLit(plate, brushedMetal(kPlateWidth, kPlateHeight, seed, brassMetal()), shape,
             bevel(shape, 3, 2.5), metalLight);
    return plate.toImage();
}

// The plate with the room's number cut into it.
ColorImage drawRoomPlate(const ColorImage& blank, const BakedFont& font, int floor, int door) {
    ColorImage image = blank;
    const std::u32string text = widen(std::to_string(floor) + std::to_string(door));
    const Point at = centredOnInk(font, text, 1, 1, kPlateWidth - 4, kPlateHeight - 4);
    drawText(image, font, text, at.x, at.y);
    return image;
}

BakedFont plateFont(const fs::path& fonts) {
    FontSpec spec;
    spec.id = "room_plate";
    spec.faceFile = (fonts / "opentype/linux-libertine/LinLibertine_RB.otf").string();
    spec.pixelSize = 18;
    spec.charSpacing = 1;
    for (char c = '0'; c <= '9'; ++c) {
        spec.characters.push_back(static_cast<std::uint32_t>(c));
    }
    using Kind = LayerStyle::Kind;
    spec.layers = {
        LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, 0xFF000000U | palette::mahoganyDark, false},
        LayerStyle{Kind::Shadow, 0, 0.6, 1, 1, 0.7, 0xFF000000U | palette::goldLight, false}};
    return bakeFont(spec);
}

// ---------------------------------------------------------------------------
// Sounds
// ---------------------------------------------------------------------------

const SineTable& sine() {
    static const SineTable table;
    return table;
}

std::size_t samplesFor(double seconds) {
    return static_cast<std::size_t>(std::max(0.0, seconds) * sampleRate);
}

void normalise(std::vector<float>& samples, double peak) {
    float loudest = 0;
    for (const float s : samples) {
        loudest = std::max(loudest, std::abs(s));
    }
    if (loudest > 0) {
        for (float& s : samples) {
            s *= static_cast<float>(peak / loudest);
        }
    }
}

// A small bell: a few inharmonic partials fading.
void addPing(std::vector<float>& out, double start, double frequency, double gain, double decay) {
    static constexpr std::array<std::pair<double, double>, 3> partials{
        {{1.0, 1.0}, {2.76, 0.3}, {5.4, 0.1}}};
    const std::size_t first = samplesFor(start);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        double s = 0;
        for (const auto& [ratio, level] : partials) {
            s += sine()(frequency * ratio * t) * level * std::exp(-t * decay * ratio);
        }
        out[i] += static_cast<float>(s * gain * std::min(1.0, t * 500.0));
    }
}

// Paper sliding: noise through a band sweeping from `from` to `to` Hz.
void addSlide(std::vector<float>& out, double length, double from, double to, double gain,
              std::uint32_t seed) {
    Noise noise(seed);
    for (std::size_t i = 0; i < samplesFor(length) && i < out.size(); ++i) {
        const double u = static_cast<double>(i) / static_cast<double>(samplesFor(length));
        const double envelope = std::sin(pi * u);
        out[i] += static_cast<float>(noise.next() * envelope * envelope * gain *
                                     (0.5 + 0.5 * sine()((from + (to - from) * u) / 40.0 * u)));
    }
    // A gentle low-pass keeps the hiss soft.
    double low = 0;
    for (std::size_t i = 0; i < samplesFor(length) && i < out.size(); ++i) {
        low += (out[i] - low) * 0.18;
        out[i] = static_cast<float>(low);
    }
}

std::vector<std::pair<std::string, std::vector<float>>> hallwaySounds() {
    std::vector<std::pair<std::string, std::vector<float>>> sounds;
    {
        std::vector<float> opens(samplesFor(0.45));
        addSlide(opens, 0.25, 600, 2400, 0.5, 71U);
        addPing(opens, 0.12, 1318.5, 0.25, 9.0);
        normalise(opens, 0.5);
        sounds.emplace_back("room_preview_opens", std::move(opens));
    }
    {
        std::vector<float> closes(samplesFor(0.35));
        addSlide(closes, 0.25, 2400, 600, 0.5, 73U);
        normalise(closes, 0.4);
        sounds.emplace_back("room_preview_closes", std::move(closes));
    }
    {
        std::vector<float> lands(samplesFor(0.9));
        addPing(lands, 0.0, 392.0, 0.6, 5.0);
        addPing(lands, 0.0, 587.3, 0.4, 6.0);
        addPing(lands, 0.0, 784.0, 0.3, 7.0);
        normalise(lands, 0.7);
        sounds.emplace_back("star_landsondoor", std::move(lands));
    }
    {
        std::vector<float> added(samplesFor(0.6));
        addPing(added, 0.0, 1568.0, 0.6, 8.0);
        addPing(added, 0.03, 2093.0, 0.3, 10.0);
        normalise(added, 0.55);
        sounds.emplace_back("star_addedtodoor", std::move(added));
    }
    return sounds;
}

MetalPalette silverMetal() {
    return {hex(0x6E7479), hex(0xB8BEC4), hex(0xF4F7FA)};
}

MetalPalette bronzeMetal() {
    return {hex(0x5A3217), hex(0xA8683A), hex(0xE8B487)};
}

} // namespace

void addHallwayArt(MediaSet& media, const fs::path& source, const fs::path& fonts, Gallery& sheet) {
    const std::vector<Look> looks = readLooks(source / "properties" / "hallway.xml");
    SheetRow row;
    row.title = "Hallway: corridors, knobs, plants, medals, room preview pieces, star flash, "
                "room plates";
    for (std::size_t k = 0; k < looks.size(); ++k) {
        std::array<GreyImage, kDoors> masks;
        const ColorImage corridor = drawCorridor(looks[k], k, masks.data());
        media.add("media/images/hallway/floor" + std::to_string(k) + ".jpg",
                  encodeJpeg(corridor, 86));
        for (std::size_t d = 0; d < kDoors; ++d) {
            media.add("media/images/hallway/huemask" + std::to_string(k) + std::to_string(d + 1) +
                          ".png",
                      encodePngGrey(masks.at(d)));
        }
        // The sheet shows each corridor at a quarter of its size.
        row.pictures.push_back(downsample(Pixmap::fromImage(corridor), 4).toImage());
    }
    const ColorImage brass = drawKnob(brassMetal(), 41U);
    const ColorImage gold = drawKnob(goldMetal(), 43U);
    media.add("media/images/hallway/knob_brass.png", encodePngColor(brass));
    media.add("media/images/hallway/knob_gold.png", encodePngColor(gold));
    row.pictures.push_back(brass);
    row.pictures.push_back(gold);
    for (int kind = 0; kind < 3; ++kind) {
        const ColorImage plant = drawPlant(kind);
        media.add(std::string("media/images/hallway/plant_") +
                      kPlantNames.at(static_cast<std::size_t>(kind)) + ".png",
                  encodePngColor(plant));
        row.pictures.push_back(plant);
    }
    const std::array<std::pair<const char*, MetalPalette>, 3> medals{
        {{"bronze", bronzeMetal()}, {"silver", silverMetal()}, {"gold", goldMetal()}}};
    std::uint32_t seed = 51U;
    for (const auto& [name, metal] : medals) {
        const ColorImage medal = drawDoorMedal(metal, seed++);
        media.add(std::string("media/images/hallway/medal_") + name + ".png",
                  encodePngColor(medal));
        row.pictures.push_back(medal);
    }
    // The room preview's medal marks by its goals, the frame round its
    // layout picture and the rule under the goals.
    const std::array<std::pair<const char*, MetalPalette>, 2> marks{
        {{"silver", silverMetal()}, {"gold", goldMetal()}}};
    for (const auto& [name, metal] : marks) {
        const ColorImage mark = drawDoorMedal(metal, seed++, 20);
        media.add(std::string("media/images/hallway/preview_medal_") + name + ".png",
                  encodePngColor(mark));
        row.pictures.push_back(mark);
    }
    const ColorImage frame = drawPreviewFrame();
    media.add("media/images/hallway/preview_frame.png", encodePngColor(frame));
    row.pictures.push_back(frame);
    const ColorImage rule = drawPreviewRule();
    media.add("media/images/hallway/preview_rule.png", encodePngColor(rule));
    row.pictures.push_back(rule);
    const ColorImage flash = drawStarFlash();
    media.add("media/images/hallway/star_flash.png", encodePngColor(flash));
    row.pictures.push_back(flash);
    const BakedFont font = plateFont(fonts);
    const ColorImage blank = drawBlankPlate(61U);
    for (int floor = 1; floor <= 20; ++floor) {
        for (int door = 1; door <= kDoors; ++door) {
            const ColorImage plate = drawRoomPlate(blank, font, floor, door);
            media.add("media/images/hallway/room_" + std::to_string(floor) + std::to_string(door) +
                          ".png",
                      encodePngColor(plate));
            if (floor == 12) {
                row.pictures.push_back(plate);
            }
        }
    }
    for (auto& [name, samples] : hallwaySounds()) {
        media.add("media/sounds/" + name + ".wav", encodeWav(samples));
    }
    sheet.rows.push_back(std::move(row));
}

} // namespace orv::media
