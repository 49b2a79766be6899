#include "tools/media/PlayArt.h"

#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/Synth.h"
#include "tools/media/SynthParts.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv::media {

namespace {
constexpr int kPointSize = 14;
constexpr int kStraightLength = 8;

// The line's colours: its body and its dark rim.
struct LineColours {
    std::uint32_t body;
    std::uint32_t rim;
    std::uint32_t light;
};

LineColours lineColours(bool red) {
    return red ? LineColours{palette::vermilion, palette::lacquerDark, 0xFFB199}
               : LineColours{palette::gold, palette::mahoganyDark, palette::goldLight};
}

// The unit step from the centre towards `side`.
std::array<double, 2> towards(int side) {
    switch (side) {
    case 0:
        return {0, -1};
    case 1:
        return {1, 0};
    case 2:
        return {0, 1};
    default:
        return {-1, 0};
    }
}

// Strokes the path `trace` draws three times: the rim, the body, a thin
// highlight.
void strokeLine(cairo_t* cr, const LineColours& colours, double width,
                const std::function<void()>& trace) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    trace();
    setSource(cr, colours.rim, 0.9);
    cairo_set_line_width(cr, width + 2.0);
    cairo_stroke(cr);
    trace();
    setSource(cr, colours.body);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    trace();
    setSource(cr, colours.light, 0.6);
    cairo_set_line_width(cr, width * 0.3);
    cairo_stroke(cr);
}

// The playing screen's bells ring a little longer than the dialogs'.
constexpr BellRing kBellRing{0.5, 0.25};

// A soft glow: white fading from `alpha` at the middle to nothing at the
// edge of a `width` x `height` ellipse.
ColorImage drawGlow(int width, int height, std::uint32_t rgb, double alpha) {
    ColorImage image(width, height);
    {
        const CairoCanvas canvas(image);
        cairo_t* cr = canvas.cr();
        cairo_save(cr);
        cairo_translate(cr, width / 2.0, height / 2.0);
        cairo_scale(cr, width / 2.0, height / 2.0);
        cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
        const double r = ((rgb >> 16) & 0xFF) / 255.0;
        const double g = ((rgb >> 8) & 0xFF) / 255.0;
        const double b = (rgb & 0xFF) / 255.0;
        cairo_pattern_add_color_stop_rgba(glow, 0.0, r, g, b, alpha);
        cairo_pattern_add_color_stop_rgba(glow, 0.6, r, g, b, alpha * 0.5);
        cairo_pattern_add_color_stop_rgba(glow, 1.0, r, g, b, 0.0);
        cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
        cairo_set_source(cr, glow);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        cairo_restore(cr);
    }
    return image;
}

// The band of light that sweeps over a removed tile's face: bright in the
// middle, soft at both sides, slanted.
ColorImage drawFaceShine(int width, int height) {
    ColorImage image(width, height);
    {
        const CairoCanvas canvas(image);
        cairo_t* cr = canvas.cr();
        cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, width, 0);
        cairo_pattern_add_color_stop_rgba(band, 0.0, 1, 1, 1, 0.0);
        cairo_pattern_add_color_stop_rgba(band, 0.5, 1, 1, 0.94, 0.95);
        cairo_pattern_add_color_stop_rgba(band, 1.0, 1, 1, 1, 0.0);
        cairo_move_to(cr, width * 0.35, 0);
        cairo_line_to(cr, width, 0);
        cairo_line_to(cr, width * 0.65, height);
        cairo_line_to(cr, 0, height);
        cairo_close_path(cr);
        cairo_set_source(cr, band);
        cairo_fill(cr);
        cairo_pattern_destroy(band);
    }
    return image;
}

// A small twinkle: a four-pointed star of light in `frames` frames side by
// side, the later frames smaller and fainter, so that a frame animation
// makes it fade as it flies.
ColorImage drawTwinkle(int size, int frames, std::uint32_t rgb) {
    ColorImage strip(size * frames, size);
    {
        const CairoCanvas canvas(strip);
        cairo_t* cr = canvas.cr();
        for (int f = 0; f < frames; ++f) {
            const double cx = size * f + size / 2.0;
            const double cy = size / 2.0;
            const double fade = 1.0 - 0.2 * f;
            const double r = size / 2.0 * (1.0 - 0.12 * f);
            cairo_pattern_t* core = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r * 0.5);
            cairo_pattern_add_color_stop_rgba(core, 0, 1, 1, 1, fade);
            cairo_pattern_add_color_stop_rgba(core, 1, ((rgb >> 16) & 0xFF) / 255.0,
                                              ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                                              0.0);
            cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * pi);
            cairo_set_source(cr, core);
            cairo_fill(cr);
            cairo_pattern_destroy(core);
            cairo_move_to(cr, cx, cy - r);
            cairo_line_to(cr, cx + r * 0.16, cy - r * 0.16);
            cairo_line_to(cr, cx + r, cy);
            cairo_line_to(cr, cx + r * 0.16, cy + r * 0.16);
            cairo_line_to(cr, cx, cy + r);
            cairo_line_to(cr, cx - r * 0.16, cy + r * 0.16);
            cairo_line_to(cr, cx - r, cy);
            cairo_line_to(cr, cx - r * 0.16, cy - r * 0.16);
            cairo_close_path(cr);
            setSource(cr, rgb, 0.9 * fade);
            cairo_fill(cr);
        }
    }
    return strip;
}

// The super hint's countdown cover: a dark veil over the bonus icon with a
// thin gold ring, revealed from the left as the super hint runs out.
ColorImage drawSuperHintOverlay(int size) {
    ColorImage image(size, size);
    {
        const CairoCanvas canvas(image);
        cairo_t* cr = canvas.cr();
        const double c = size / 2.0;
        cairo_arc(cr, c, c, c - 1.5, 0, 2 * pi);
        setSource(cr, palette::mahoganyDark, 0.55);
        cairo_fill_preserve(cr);
        setSource(cr, palette::goldLight, 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    return image;
}

std::uint32_t opaque(std::uint32_t rgb) {
    return 0xFF000000U | rgb;
}

std::vector<std::uint32_t> floaterCharacters() {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t c = 0x20; c <= 0x7E; ++c) {
        codes.push_back(c);
    }
    for (std::uint32_t c = 0xA1; c <= 0xFF; ++c) {
        if (c != 0xAD) {
            codes.push_back(c);
        }
    }
    // The typographic marks every font of the game carries.
    for (const std::uint32_t c : {0x2013U, 0x2014U, 0x2018U, 0x2019U, 0x201CU, 0x201DU, 0x2022U,
                                  0x2026U, 0x20ACU, 0x2122U}) {
        codes.push_back(c);
    }
    return codes;
}

} // namespace

ColorImage drawPathPoint(int size, int side, int otherSide, bool red) {
    ColorImage image(size, size);
    const LineColours colours = lineColours(red);
    const double c = size / 2.0;
    const double width = size * 0.36;
    {
        const CairoCanvas canvas(image);
        cairo_t* cr = canvas.cr();
        const std::array<double, 2> a = towards(side);
        const double ax = a[0];
        const double ay = a[1];
        if (otherSide < 0) {
            // A cap: a round end at the centre and the line out through one side.
            strokeLine(cr, colours, width, [&] {
                cairo_move_to(cr, c, c);
                cairo_line_to(cr, c + ax * c, c + ay * c);
            });
            cairo_arc(cr, c, c, width * 0.85, 0, 2 * pi);
            setSource(cr, colours.rim, 0.9);
            cairo_fill(cr);
            cairo_arc(cr, c, c, width * 0.85 - 1.0, 0, 2 * pi);
            setSource(cr, colours.body);
            cairo_fill(cr);
            cairo_arc(cr, c - width * 0.2, c - width * 0.2, width * 0.25, 0, 2 * pi);
            setSource(cr, colours.light, 0.7);
            cairo_fill(cr);
        } else {
            // A corner: a quarter turn joining the two sides.
            const std::array<double, 2> b = towards(otherSide);
            const double bx = b[0];
            const double by = b[1];
            strokeLine(cr, colours, width, [&] {
                cairo_move_to(cr, c + ax * c, c + ay * c);
                cairo_curve_to(cr, c + ax * c * 0.2, c + ay * c * 0.2, c + bx * c * 0.2,
                               c + by * c * 0.2, c + bx * c, c + by * c);
            });
        }
    }
    return image;
}

ColorImage drawPathStraight(int size, int length, bool horizontal, bool red) {
    ColorImage image(horizontal ? length : size, horizontal ? size : length);
    const LineColours colours = lineColours(red);
    const double c = size / 2.0;
    {
        const CairoCanvas canvas(image);
        cairo_t* cr = canvas.cr();
        strokeLine(cr, colours, size * 0.36, [&] {
            if (horizontal) {
                cairo_move_to(cr, 0, c);
                cairo_line_to(cr, length, c);
            } else {
                cairo_move_to(cr, c, 0);
                cairo_line_to(cr, c, length);
            }
        });
    }
    return image;
}

ColorImage drawGoldStar(int size) {
    ColorImage image(size, size);
    {
        const CairoCanvas canvas(image);
        cairo_t* cr = canvas.cr();
        const double c = size / 2.0;
        const double outer = c - 2.0;
        const double inner = outer * 0.45;
        for (int k = 0; k < 10; ++k) {
            const double angle = -pi / 2 + k * pi / 5;
            const double r = k % 2 == 0 ? outer : inner;
            if (k == 0) {
                cairo_move_to(cr, c + r * std::cos(angle), c + r * std::sin(angle));
            } else {
                cairo_line_to(cr, c + r * std::cos(angle), c + r * std::sin(angle));
            }
        }
        cairo_close_path(cr);
        cairo_pattern_t* shade = cairo_pattern_create_radial(c - outer * 0.3, c - outer * 0.35,
                                                             outer * 0.1, c, c, outer);
        cairo_pattern_add_color_stop_rgb(shade, 0, 1.0, 0.96, 0.78);
        cairo_pattern_add_color_stop_rgb(shade, 0.5, ((palette::gold >> 16) & 0xFF) / 255.0,
                                         ((palette::gold >> 8) & 0xFF) / 255.0,
                                         (palette::gold & 0xFF) / 255.0);
        cairo_pattern_add_color_stop_rgb(shade, 1, ((palette::goldDeep >> 16) & 0xFF) / 255.0,
                                         ((palette::goldDeep >> 8) & 0xFF) / 255.0,
                                         (palette::goldDeep & 0xFF) / 255.0);
        cairo_set_source(cr, shade);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(shade);
        setSource(cr, palette::mahoganyDark, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    return image;
}

std::vector<FontSpec> playFontSpecs(const std::filesystem::path& fonts) {
    using Kind = LayerStyle::Kind;
    const std::string face = (fonts / "opentype/linux-libertine/LinBiolinum_RB.otf").string();
    const std::string bigFace = (fonts / "opentype/linux-libertine/LinLibertine_RB.otf").string();
    const std::vector<std::uint32_t> characters = floaterCharacters();
    std::vector<FontSpec> specs;
    // The floaters grow and warm from pale gold to vermilion with the multiplier.
    // A heavy dark rim and a firm drop shadow keep them clear on the pale
    // tiles as well as on the dark cloth.
    static constexpr std::array<int, 6> sizes{26, 29, 32, 35, 38, 42};
    static constexpr std::array<std::uint32_t, 6> fills{0xFFF6D8, 0xFFE58A, 0xFFC940,
                                                        0xFF9F30, 0xFF7240, 0xFF4F3A};
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        specs.push_back({"score_floater" + std::to_string(k + 1),
                         face,
                         sizes[k],
                         0,
                         0,
                         characters,
                         {LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, opaque(fills[k]), false},
                          LayerStyle{Kind::Outline, 2, 0, 0, 0, 1.0, opaque(0x24100A), false},
                          LayerStyle{Kind::Shadow, 3, 2.0, 1, 3, 0.85, 0xFF000000U, false}}});
    }
    specs.push_back(
        {"gamescene_big",
         bigFace,
         38,
         0,
         0,
         characters,
         {LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, opaque(palette::gold), true},
          LayerStyle{Kind::Outline, 2, 0, 0, 0, 1.0, opaque(palette::mahoganyDark), false},
          LayerStyle{Kind::Shadow, 2, 1.5, 2, 3, 0.6, 0xFF000000U, false}}});
    return specs;
}

void addPlayMedia(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet) {
    SheetRow row;
    row.title = "Playing screen: path pieces, stars, shine, glows, twinkles";
    // The connecting path: caps, corners and straight pieces, plain and red.
    static constexpr std::array<std::array<int, 2>, 4> corners{{{1, 2}, {3, 2}, {0, 1}, {0, 3}}};
    for (const bool red : {false, true}) {
        const std::string prefix = red ? "red_" : "";
        for (int k = 0; k < 4; ++k) {
            const ColorImage cap = drawPathPoint(kPointSize, k, -1, red);
            const auto [a, b] = corners[static_cast<std::size_t>(k)];
            const ColorImage corner = drawPathPoint(kPointSize, a, b, red);
            media.add("media/images/game/path/" + prefix + "cap_" + std::to_string(k) + ".png",
                      encodePngColor(cap));
            media.add("media/images/game/path/" + prefix + "corner_" + std::to_string(k) + ".png",
                      encodePngColor(corner));
            row.pictures.push_back(cap);
            row.pictures.push_back(corner);
        }
        const ColorImage across = drawPathStraight(kPointSize, kStraightLength, true, red);
        const ColorImage down = drawPathStraight(kPointSize, kStraightLength, false, red);
        media.add("media/images/game/path/" + prefix + "path_h.png", encodePngColor(across));
        media.add("media/images/game/path/" + prefix + "path_v.png", encodePngColor(down));
        row.pictures.push_back(across);
        row.pictures.push_back(down);
    }
    const ColorImage star = drawGoldStar(48);
    const ColorImage shine = drawFaceShine(28, 64);
    const ColorImage overlay = drawSuperHintOverlay(48);
    // Laid over the shuffle button (150 x 40) from 2 pixels in and 7 above.
    const ColorImage glow = drawGlow(146, 54, palette::goldLight, 0.9);
    const ColorImage fadingStar = drawTwinkle(16, 4, 0xFFFFFF);
    media.add("media/images/game/superscore_star.png", encodePngColor(star));
    media.add("media/images/game/face_shine.png", encodePngColor(shine));
    media.add("media/images/game/superhint_overlay.png", encodePngColor(overlay));
    media.add("media/images/game/shuffle_glow.png", encodePngColor(glow));
    media.add("media/images/fading_star.png", encodePngColor(fadingStar));
    for (const ColorImage* picture : {&star, &shine, &overlay, &glow, &fadingStar}) {
        row.pictures.push_back(*picture);
    }
    sheet.rows.push_back(std::move(row));

    for (const FontSpec& spec : playFontSpecs(fonts)) {
        const BakedFont font = bakeFont(spec);
        const std::string definition = font.definitionXml();
        media.add("media/fonts/" + font.id + ".xml", Bytes(definition.begin(), definition.end()));
        for (std::size_t k = 0; k < font.layers.size(); ++k) {
            media.add("media/fonts/" + font.maskFileName(k), encodePngGrey(font.layers[k].mask));
            if (font.layers[k].picture.width > 0) {
                media.add("media/fonts/" + font.pictureFileName(k),
                          encodePngColor(font.layers[k].picture));
            }
        }
    }

    // A hint: a soft two-note lantern chime.
    std::vector<float> hint = silence(0.9);
    addSoftBell(hint, 0.0, midi(79), 0.5, kBellRing);
    addSoftBell(hint, 0.08, midi(86), 0.4, kBellRing);
    normalisePeak(hint, 0.6F);
    media.add("media/sounds/use_hint.wav", encodeWav(hint));
    // The super hint: a quick rising shimmer of five bells.
    std::vector<float> super = silence(1.4);
    static constexpr std::array<int, 5> shimmer{79, 83, 86, 91, 95};
    for (std::size_t k = 0; k < shimmer.size(); ++k) {
        addSoftBell(super, 0.05 * static_cast<double>(k), midi(shimmer[k]), 0.4, kBellRing);
    }
    normalisePeak(super, 0.65F);
    media.add("media/sounds/superhint.wav", encodeWav(super));
    // Its end: three falling ticks, like a clock winding down.
    std::vector<float> ends = silence(0.9);
    for (int k = 0; k < 3; ++k) {
        addTone(ends, 0.2 * k, midi(88 - 3 * k), 0.5, 0.05);
        addTone(ends, 0.2 * k, midi(88 - 3 * k) * 2.0, 0.15, 0.03);
    }
    normalisePeak(ends, 0.5F);
    media.add("media/sounds/superhint_ends.wav", encodeWav(ends));
    // The super score: a major fanfare; the mega score climbs an octave
    // higher and holds a full chord.
    for (const bool mega : {false, true}) {
        std::vector<float> fanfare = silence(mega ? 2.2 : 1.8);
        const std::array<int, 4> notes{72, 76, 79, 84};
        for (std::size_t k = 0; k < notes.size(); ++k) {
            addSoftBell(fanfare, 0.11 * static_cast<double>(k), midi(notes[k] + (mega ? 5 : 0)),
                        0.45, kBellRing);
        }
        if (mega) {
            for (const int note : {89, 93, 96}) {
                addSoftBell(fanfare, 0.6, midi(note), 0.35, kBellRing);
            }
        }
        normalisePeak(fanfare, 0.75F);
        media.add(mega ? "media/sounds/megascore.wav" : "media/sounds/superscore.wav",
                  encodeWav(fanfare));
    }
}

} // namespace orv::media
