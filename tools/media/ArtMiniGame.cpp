#include "tools/media/ArtMiniGame.h"

#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Noise.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"
#include "tools/media/SynthParts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace orv::media {

namespace {

constexpr int kFieldWidth = 800;
constexpr int kFieldHeight = 600;
const Lighting stoneGoldLight{0.6F, 0.75F, 22.0F};

// A soft round light: full at the middle, gone at `radius`, in `colour`.
Pixmap stoneGlowDot(int width, int height, double rx, double ry, const Rgba& core,
                    const Rgba& rim) {
    Pixmap dot(width, height);
    const double cx = width / 2.0;
    const double cy = height / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d >= 1.0) {
                continue;
            }
            const auto t = static_cast<float>(d);
            Rgba c = mix(core, rim, std::min(1.0F, t * 1.6F));
            const double fall = (1.0 - d) * (1.0 - d);
            c.a = static_cast<float>(std::min(1.0, fall * 1.6));
            dot(x, y) = c;
        }
    }
    return dot;
}

// One row of the town's roofs along the foot of the field, as a mask: houses
// `lift` pixels above the foot plus up to `spread` more, every third with a
// pagoda roof.
Field roofRow(std::uint32_t seed, int lift, std::uint32_t spread) {
    return pathMask(kFieldWidth, kFieldHeight, [seed, lift, spread](cairo_t* cr) {
        cairo_move_to(cr, 0, kFieldHeight);
        int x = 0;
        std::uint32_t k = 0;
        while (x < kFieldWidth) {
            const int width = 40 + static_cast<int>(hashPoint(static_cast<int>(k), 3, seed) % 70U);
            const int top = kFieldHeight - lift -
                            static_cast<int>(hashPoint(static_cast<int>(k), 7, seed + 2U) % spread);
            cairo_line_to(cr, x, top);
            if (k % 3 == 1) {
                // A pagoda roof: eaves that curl up.
                cairo_line_to(cr, x + width * 0.15, top - 14);
                cairo_line_to(cr, x + width * 0.5, top - 26);
                cairo_line_to(cr, x + width * 0.85, top - 14);
            }
            cairo_line_to(cr, x + width, top);
            x += width;
            ++k;
        }
        cairo_line_to(cr, kFieldWidth, kFieldHeight);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
}

// The skyline at the foot of the field: a far row of roofs in the haze over
// the streets' warm glow, then the near roofs with moonlit edges and a few
// lit windows.
void paintSkyline(Pixmap& field) {
    lightPool(field, kFieldWidth / 2.0, kFieldHeight, kFieldWidth * 0.7, 170, hex(0xE0804A), 0.22F);
    const Field far = roofRow(921U, 110, 70U);
    fill(field, far, hex(0x22183A));
    const Field roofs = roofRow(911U, 40, 90U);
    fill(field, roofs, hex(0x0A0710));
    // The moon, high on the right, catches the roofs' upper edges.
    for (int y = 2; y < kFieldHeight; ++y) {
        for (int x = 0; x < kFieldWidth; ++x) {
            const float edge = roofs.at(x, y) - roofs.at(x, y - 2);
            if (edge > 0.3F) {
                field(x, y) = over(field.at(x, y), hex(0x8A86C0), 0.55F * edge);
            }
        }
    }
    // Lit windows: small warm squares inside the roofs, by hash.
    for (int y = kFieldHeight - 120; y < kFieldHeight - 8; y += 11) {
        for (int x = 4; x < kFieldWidth - 8; x += 9) {
            if (hashPoint(x, y, 977U) % 100U >= 9U || roofs.at(x, y - 6) < 0.99F ||
                roofs.at(x + 4, y + 6) < 0.99F) {
                continue;
            }
            const float warmth = hashUnit(x, y, 979U);
            const Rgba lamp = mix(hex(palette::goldLight), hex(0xE8893A), warmth);
            for (int dy = 0; dy < 5; ++dy) {
                for (int dx = 0; dx < 4; ++dx) {
                    field(x + dx, y + dy) = over(field.at(x + dx, y + dy), lamp, 0.55F);
                }
            }
        }
    }
}

} // namespace

ColorImage drawMiniGameField() {
    Pixmap field(kFieldWidth, kFieldHeight);
    // Night over the town: deep indigo above, a plum haze toward the roofs.
    const Rgba top = hex(0x070A1C);
    const Rgba middle = hex(0x15163A);
    const Rgba low = hex(0x3A1B35);
    for (int y = 0; y < kFieldHeight; ++y) {
        const float t = static_cast<float>(y) / kFieldHeight;
        const Rgba sky =
            t < 0.6F ? mix(top, middle, t / 0.6F) : mix(middle, low, (t - 0.6F) / 0.4F);
        for (int x = 0; x < kFieldWidth; ++x) {
            const float haze = fractalNoise(x, y, 401U, Octaves{180.0, 90.0, 4, 0.5F});
            field(x, y) = shade(sky, (haze - 0.5F) * 0.12F);
        }
    }
    // Stars, thinning out toward the haze; a few of them larger.
    for (int y = 0; y < kFieldHeight - 140; ++y) {
        for (int x = 0; x < kFieldWidth; ++x) {
            const std::uint32_t h = hashPoint(x, y, 433U);
            if (h % 1000U >= 3U) {
                continue;
            }
            const float brightness = 0.35F + 0.65F * hashUnit(x, y, 439U);
            const float fade = 1.0F - static_cast<float>(y) / (kFieldHeight - 140);
            const Rgba star = mix(hex(0xBFD2FF), hex(palette::goldLight), hashUnit(x, y, 443U));
            field(x, y) = over(field.at(x, y), star, brightness * (0.4F + 0.6F * fade));
            if (brightness > 0.9F && x > 0 && y > 0 && x + 1 < kFieldWidth) {
                for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    field(x + dx, y + dy) = over(field.at(x + dx, y + dy), star, 0.35F);
                }
            }
        }
    }
    // The moon, high on the right, with its halo.
    lightPool(field, 660, 96, 150, 150, hex(0x8E9BD8), 0.18F);
    const Field moon = shapeMask(kFieldWidth, kFieldHeight, ellipse(660, 96, 30, 30));
    const Field bite = shapeMask(kFieldWidth, kFieldHeight, ellipse(674, 88, 27, 27));
    const Field crescent = maskMinus(moon, bite);
    glow(field, crescent, 6.0, hex(palette::goldLight), 0.5F);
    fill(field, crescent, hex(0xFFF1C8));
    paintSkyline(field);
    vignette(field, 0.35F);
    ColorImage image = field.toImage();
    for (std::uint32_t& pixel : image.pixels) {
        pixel |= 0xFF000000U;
    }
    return image;
}

ColorImage drawGoldCup() {
    constexpr int w = 72;
    constexpr int h = 88;
    const Field cup = pathMask(w, h, [](cairo_t* cr) {
        // The bowl.
        cairo_move_to(cr, 14, 8);
        cairo_line_to(cr, 58, 8);
        cairo_curve_to(cr, 58, 36, 50, 48, 40, 52);
        cairo_line_to(cr, 32, 52);
        cairo_curve_to(cr, 22, 48, 14, 36, 14, 8);
        cairo_close_path(cr);
        cairo_fill(cr);
        // The stem, the knot and the foot.
        cairo_rectangle(cr, 32, 50, 8, 16);
        cairo_fill(cr);
        cairo_arc(cr, 36, 60, 6, 0, 2 * pi);
        cairo_fill(cr);
        cairo_move_to(cr, 20, 80);
        cairo_curve_to(cr, 22, 70, 30, 66, 36, 66);
        cairo_curve_to(cr, 42, 66, 50, 70, 52, 80);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_rectangle(cr, 16, 79, 40, 6);
        cairo_fill(cr);
        // The handles.
        cairo_set_line_width(cr, 5);
        cairo_move_to(cr, 15, 14);
        cairo_curve_to(cr, 2, 12, 2, 34, 24, 40);
        cairo_stroke(cr);
        cairo_move_to(cr, 57, 14);
        cairo_curve_to(cr, 70, 12, 70, 34, 48, 40);
        cairo_stroke(cr);
    });
    const Field rim = shapeMask(w, h, ellipse(36, 8, 22, 4));
    const Field hollow = shapeMask(w, h, ellipse(36, 8, 19, 2.6));
    Pixmap picture(w, h);
    glow(picture, cup, 4.0, hex(palette::gold), 0.45F);
    Field heights = bevel(cup, 4.0, 4.5);
    raise(heights, cup, cushion(cup, 4.0, 3.0));
    raise(heights, hollow, cushion(hollow, 1.5, -2.5));
    Pixmap body(w, h);
    paintLit(body, brushedMetal(w, h, 331U, goldMetal()), maskUnion(cup, rim), heights,
             stoneGoldLight);
    fill(body, hollow, hex(palette::goldDeep, 0.85F));
    composite(picture, body);
    return picture.toImage();
}

ColorImage drawShotLight() {
    Pixmap shot = stoneGlowDot(18, 34, 9.0, 17.0, hex(0xFFFFFF), hex(palette::gold));
    const Pixmap core = stoneGlowDot(18, 34, 4.0, 13.0, hex(0xFFFFFF), hex(palette::goldLight));
    composite(shot, core);
    return shot.toImage();
}

ColorImage drawShieldBar() {
    constexpr int w = 220;
    constexpr int h = 18;
    const Field bar = shapeMask(w, h, roundRect(3, 4, w - 6, h - 8, 5));
    Pixmap picture(w, h);
    glow(picture, bar, 3.0, hex(0x7FE0B8), 0.8F);
    Field heights = bevel(bar, 2.0, 2.0);
    raise(heights, bar, cushion(bar, 2.5, 2.0));
    Pixmap body(w, h);
    paintLit(body, jade(w, h, 347U, jadeStone()), bar, heights, stoneGoldLight);
    // A bright seam of light along the bar.
    const Field seam = shapeMask(w, h, roundRect(10, 8, w - 20, 2, 1));
    fill(body, seam, hex(0xDFFFF0, 0.85F));
    composite(picture, body);
    return picture.toImage();
}

ColorImage drawStarSpark(int size) {
    Pixmap spark = stoneGlowDot(size, size, size / 2.0, size / 2.0, hex(palette::goldLight),
                                hex(palette::gold));
    for (Rgba& c : spark.pixels) {
        c.a *= 0.55F;
    }
    const double c = size / 2.0;
    const Field rays = pathMask(size, size, [c, size](cairo_t* cr) {
        const double long_ = size * 0.48;
        const double thin = size * 0.07;
        cairo_move_to(cr, c, c - long_);
        cairo_line_to(cr, c + thin, c - thin);
        cairo_line_to(cr, c + long_, c);
        cairo_line_to(cr, c + thin, c + thin);
        cairo_line_to(cr, c, c + long_);
        cairo_line_to(cr, c - thin, c + thin);
        cairo_line_to(cr, c - long_, c);
        cairo_line_to(cr, c - thin, c - thin);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    fill(spark, rays, hex(0xFFFBEA));
    return spark.toImage();
}

std::vector<SoundEffect> synthesiseMiniGameSounds() {
    std::vector<SoundEffect> sounds;
    {
        // The laser: a bright falling zap over a short buzz.
        std::vector<float> zap = silence(0.32);
        double phase = 0.0;
        for (std::size_t i = 0; i < zap.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const double frequency = 2200.0 * std::exp(-t * 9.0) + 180.0;
            phase += frequency / sampleRate;
            const double square = std::sin(2 * pi * phase) > 0.0 ? 1.0 : -1.0;
            const double envelope = std::min(1.0, t * 600.0) * std::exp(-t * 11.0);
            zap[i] =
                static_cast<float>((0.55 * std::sin(2 * pi * phase) + 0.25 * square) * envelope);
        }
        normalisePeak(zap, 0.7F);
        sounds.push_back({"minigame_laser", std::move(zap)});
    }
    {
        // A pick-up: a quick rising arpeggio of soft bells.
        std::vector<float> chime = silence(0.9);
        constexpr std::array<int, 4> kNotes{72, 76, 79, 84};
        for (std::size_t k = 0; k < kNotes.size(); ++k) {
            addSoftBell(chime, 0.06 * static_cast<double>(k), midi(kNotes.at(k)), 0.5,
                        BellRing{0.35, 0.18});
        }
        normalisePeak(chime, 0.75F);
        sounds.push_back({"minigame_pickup", std::move(chime)});
    }
    {
        // A cleared level: a bright fanfare of bells, ending high.
        std::vector<float> fanfare = silence(2.2);
        constexpr std::array<std::pair<double, int>, 7> kPhrase{
            {{0.0, 67}, {0.12, 72}, {0.24, 76}, {0.36, 79}, {0.6, 76}, {0.72, 79}, {0.9, 84}}};
        for (const auto& [start, note] : kPhrase) {
            addSoftBell(fanfare, start, midi(note), note == 84 ? 0.7 : 0.45,
                        BellRing{note == 84 ? 0.9 : 0.4, 0.25});
        }
        addSoftBell(fanfare, 0.9, midi(60), 0.3, BellRing{1.1, 0.4});
        addSoftBell(fanfare, 0.9, midi(64), 0.25, BellRing{1.0, 0.4});
        normalisePeak(fanfare, 0.75F);
        sounds.push_back({"minigame_fanfare", std::move(fanfare)});
    }
    return sounds;
}

void addMiniGameMedia(MediaSet& media, Gallery& sheet) {
    SheetRow row;
    row.title = "Falling-tiles game: gun, shot, shield bar, bomb star, spark";
    row.pictures.push_back(drawGoldCup());
    row.pictures.push_back(drawShotLight());
    row.pictures.push_back(drawShieldBar());
    row.pictures.push_back(drawStarSpark(28));
    row.pictures.push_back(drawStarSpark(10));
    media.add("media/images/minigame/field.jpg", encodeJpeg(drawMiniGameField(), 90));
    media.add("media/images/minigame/gold_cup.png", encodePngColor(row.pictures[0]));
    media.add("media/images/minigame/shot.png", encodePngColor(row.pictures[1]));
    media.add("media/images/minigame/shield_bar.png", encodePngColor(row.pictures[2]));
    media.add("media/images/minigame/bomb_star.png", encodePngColor(row.pictures[3]));
    media.add("media/images/minigame/spark.png", encodePngColor(row.pictures[4]));
    sheet.rows.push_back(std::move(row));
    for (const SoundEffect& sound : synthesiseMiniGameSounds()) {
        media.add("media/sounds/" + sound.name + ".wav", encodeWav(sound.samples));
    }
}

} // namespace orv::media
