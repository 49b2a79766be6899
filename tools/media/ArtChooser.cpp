#include "tools/media/ArtChooser.h"

#include "tools/media/HostArt.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/PlayingArt.h"
#include "tools/media/Shapes.h"
#include "tools/media/TileArt.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace orv::media {

namespace {

// ---- the bubble ----------------------------------------------------------------------------

constexpr int kBubbleCorner = 48;
constexpr int kBubbleEdge = 8;
constexpr int kBubbleSize = 2 * kBubbleCorner + kBubbleEdge;
// The body's edge lies this far inside the picture; the arrow reaches the corner.
constexpr double kBubbleInset = 14.0;
constexpr double kBubbleRadius = 12.0;
// Where the arrow leaves the body's edges, from the corner.
constexpr double kArrowBase = 34.0;
constexpr double kArrowTip = 1.5;

// The body's outline; `point` is the corner drawn out to the arrow (0 top
// left, 1 top right, 2 bottom left, 3 bottom right, else none).
void bubblePath(cairo_t* cr, int point) {
    const double l = kBubbleInset;
    const double t = kBubbleInset;
    const double r = kBubbleSize - kBubbleInset;
    const double b = kBubbleSize - kBubbleInset;
    const double k = kBubbleRadius;
    const double far = kBubbleSize - kArrowTip;
    cairo_new_path(cr);
    if (point == 0) {
        cairo_move_to(cr, kArrowTip, kArrowTip);
        cairo_line_to(cr, kArrowBase, t);
    } else {
        cairo_move_to(cr, l + k, t);
    }
    if (point == 1) {
        cairo_line_to(cr, kBubbleSize - kArrowBase, t);
        cairo_line_to(cr, far, kArrowTip);
        cairo_line_to(cr, r, kArrowBase);
    } else {
        cairo_arc(cr, r - k, t + k, k, -M_PI / 2, 0);
    }
    if (point == 3) {
        cairo_line_to(cr, r, kBubbleSize - kArrowBase);
        cairo_line_to(cr, far, far);
        cairo_line_to(cr, kBubbleSize - kArrowBase, b);
    } else {
        cairo_arc(cr, r - k, b - k, k, 0, M_PI / 2);
    }
    if (point == 2) {
        cairo_line_to(cr, kArrowBase, b);
        cairo_line_to(cr, kArrowTip, far);
        cairo_line_to(cr, l, kBubbleSize - kArrowBase);
    } else {
        cairo_arc(cr, l + k, b - k, k, M_PI / 2, M_PI);
    }
    if (point == 0) {
        cairo_line_to(cr, l, kArrowBase);
    } else {
        cairo_arc(cr, l + k, t + k, k, M_PI, 3 * M_PI / 2);
    }
    cairo_close_path(cr);
}

// The whole bubble, 104 x 104, with the arrow at `point` (or none).
Pixmap drawBubbleMaster(int point) {
    const Field body = pathMask(kBubbleSize, kBubbleSize, [point](cairo_t* cr) {
        bubblePath(cr, point);
        cairo_fill(cr);
    });
    const Field rim = pathMask(kBubbleSize, kBubbleSize, [point](cairo_t* cr) {
        bubblePath(cr, point);
        cairo_set_line_width(cr, 3.2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    });
    // The card lifts off the table: a soft shadow, the parchment a shade
    // darker along its edge, and a rim of lit gold bead as on the frames.
    // The rim's metal is brushed along no direction, so that the tiled edge
    // pieces join without a seam.
    constexpr Lighting bead{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
    Pixmap master(kBubbleSize, kBubbleSize);
    castShadow(master, body, Shadow{3.0, 3.0, 0.5F});
    fill(master, body, hex(palette::parchment));
    innerShadow(master, body, 3.0, 0.0, 0.18F);
    paintLit(master, Pixmap(kBubbleSize, kBubbleSize, hex(palette::gold)), rim,
             bevel(rim, 1.6, 1.2, Profile::Bead), bead);
    return master;
}

ColorImage piece(const Pixmap& master, int x, int y, int w, int h) {
    return crop(master, x, y, w, h).toImage();
}

// ---- the backgrounds ---------------------------------------------------------------------

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;

int channelGap(std::uint32_t a, std::uint32_t b) {
    int gap = 0;
    for (unsigned shift : {0U, 8U, 16U}) {
        gap = std::max(gap, std::abs(static_cast<int>((a >> shift) & 0xFFU) -
                                     static_cast<int>((b >> shift) & 0xFFU)));
    }
    return gap;
}

// 1 where the game types' backgrounds agree (the furniture), 0 on the cloth.
Field furnitureMask(const std::array<ColorImage, 6>& backgrounds) {
    Field mask(kScreenW, kScreenH);
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            int gap = 0;
            for (std::size_t k = 1; k < backgrounds.size(); ++k) {
                gap = std::max(gap, channelGap(backgrounds[0].at(x, y), backgrounds[k].at(x, y)));
            }
            mask(x, y) = gap <= 10 ? 1.0F : 0.0F;
        }
    }
    return mask;
}

// A faint lattice over a cloth: lines `step` pixels apart, `diagonal` for a
// diamond pattern.
void lattice(Pixmap& cloth, int step, bool diagonal, float strength) {
    for (int y = 0; y < cloth.height; ++y) {
        for (int x = 0; x < cloth.width; ++x) {
            const int u = diagonal ? (x + y) % step : x % step;
            const int v = diagonal ? (x - y + 10 * step) % step : y % step;
            if (u == 0 || v == 0) {
                cloth(x, y) = shade(cloth.at(x, y), strength);
            }
        }
    }
}

Pixmap choiceSurface(int choice) {
    const auto seed = static_cast<std::uint32_t>(7100 + choice * 37);
    Pixmap surface;
    switch (choice) {
    case 1:
        surface = felt(kScreenW, kScreenH, seed, hex(0x1F2E52));
        break;
    case 2:
        surface = felt(kScreenW, kScreenH, seed, hex(0x5C1C28));
        break;
    case 3:
        surface = wood(kScreenW, kScreenH, seed, walnutWood(), WoodGrain{13.0, 7.0, false});
        break;
    case 4:
        surface = marble(kScreenW, kScreenH, seed, StonePalette{hex(0x3B4046), hex(0x4F565E)});
        break;
    case 5:
        surface = marble(kScreenW, kScreenH, seed, StonePalette{hex(0x1E4A3B), hex(0x336B55)});
        break;
    case 6:
        surface = wood(kScreenW, kScreenH, seed, mahoganyWood(), WoodGrain{11.0, 5.0, false});
        break;
    case 7:
        surface = felt(kScreenW, kScreenH, seed, hex(0x43224D));
        lattice(surface, 24, true, 0.06F);
        break;
    case 8:
        surface = felt(kScreenW, kScreenH, seed, hex(0x0E4A4D));
        lattice(surface, 32, true, -0.08F);
        break;
    case 9:
        surface = felt(kScreenW, kScreenH, seed, hex(0x33302C));
        lattice(surface, 4, false, 0.05F);
        break;
    default:
        surface = marble(kScreenW, kScreenH, seed, StonePalette{hex(0x213C2C), hex(0x3D5A40)});
        break;
    }
    // Woods and stones are toned down so that the ivory tiles stand out.
    if (choice == 3 || choice == 4 || choice == 5 || choice == 6 || choice == 10) {
        for (Rgba& c : surface.pixels) {
            c = shade(desaturate(c, 0.15F), -0.18F);
        }
    }
    lightPool(surface, 340.0, 300.0, 420.0, 300.0, hex(0xFFF1D0), 0.10F);
    vignette(surface, 0.35F);
    return surface;
}

// ---- small pictures ------------------------------------------------------------------------

// Brushed gold over the whole picture with a darker line inside its edge.
Pixmap goldFrame(int w, int h, std::uint32_t seed) {
    Pixmap frame = brushedMetal(w, h, seed, goldMetal());
    const Field edge = shapeMask(w, h, roundRect(0.5, 0.5, w - 1.0, h - 1.0, 3));
    const Field inner = shapeMask(w, h, roundRect(1.5, 1.5, w - 3.0, h - 3.0, 2));
    fill(frame, maskMinus(edge, inner), hex(palette::goldDeep));
    return frame;
}

// `tile` laid at (x, y) on `target` with its shadow.
void layTile(Pixmap& target, const ColorImage& tile, int x, int y) {
    const Pixmap picture = Pixmap::fromImage(tile);
    Field mask(target.width, target.height);
    for (int j = 0; j < picture.height; ++j) {
        for (int i = 0; i < picture.width; ++i) {
            if (x + i >= 0 && y + j >= 0 && x + i < target.width && y + j < target.height) {
                mask(x + i, y + j) = picture.at(i, j).a;
            }
        }
    }
    castShadow(target, mask, Shadow{3.0, 2.0, 0.5F});
    composite(target, picture, x, y);
}

void drawLetterStrokes(cairo_t* cr) {
    // N
    cairo_move_to(cr, 13, 22);
    cairo_line_to(cr, 13, 8);
    cairo_line_to(cr, 23, 22);
    cairo_line_to(cr, 23, 8);
    // E
    cairo_move_to(cr, 38, 8);
    cairo_line_to(cr, 29, 8);
    cairo_line_to(cr, 29, 22);
    cairo_line_to(cr, 38, 22);
    cairo_move_to(cr, 29, 15);
    cairo_line_to(cr, 36, 15);
    // W
    cairo_move_to(cr, 43, 8);
    cairo_line_to(cr, 47, 22);
    cairo_line_to(cr, 51.5, 12);
    cairo_line_to(cr, 56, 22);
    cairo_line_to(cr, 60, 8);
}

} // namespace

std::array<ColorImage, 13> drawHintBubble() {
    const Pixmap plain = drawBubbleMaster(-1);
    constexpr int c = kBubbleCorner;
    constexpr int e = kBubbleEdge;
    constexpr int far = c + e;
    std::array<ColorImage, 13> pieces;
    pieces[0] = piece(plain, 0, 0, c, c);
    pieces[1] = piece(plain, c, 0, e, c);
    pieces[2] = piece(plain, far, 0, c, c);
    pieces[3] = piece(plain, 0, c, c, e);
    pieces[4] = piece(plain, c, c, e, e);
    pieces[5] = piece(plain, far, c, c, e);
    pieces[6] = piece(plain, 0, far, c, c);
    pieces[7] = piece(plain, c, far, e, c);
    pieces[8] = piece(plain, far, far, c, c);
    pieces[9] = piece(drawBubbleMaster(0), 0, 0, c, c);
    pieces[10] = piece(drawBubbleMaster(1), far, 0, c, c);
    pieces[11] = piece(drawBubbleMaster(2), 0, far, c, c);
    pieces[12] = piece(drawBubbleMaster(3), far, far, c, c);
    return pieces;
}

ColorImage drawHostFooter() {
    // A brass plate across the bubble's bottom rim with the host's cameo at
    // its middle, his head and shoulders in an oval gold rim that stands over
    // the rim like a seal; the rest stays clear, so that the bubble shows
    // around it. Painted four times larger and shrunk.
    constexpr int w = 104;
    constexpr int h = 48;
    constexpr int n = 4;
    constexpr int bw = w * n;
    constexpr int bh = h * n;
    constexpr double u = n;
    constexpr double cx = w / 2.0;
    constexpr double cy = 24.0;
    constexpr Lighting brass{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};
    Pixmap big(bw, bh);
    const Field plate = shapeMask(bw, bh, roundRect(5 * u, 21 * u, (w - 10) * u, 14 * u, 7 * u));
    castShadow(big, plate, Shadow{1.5 * u, 1.2 * u, 0.4F});
    paintLit(big, brushedMetal(bw, bh, 311U, brassMetal()), plate,
             bevel(plate, 2.5 * u, 2.0 * u, Profile::Round), brass);
    const Field line = maskMinus(
        shapeMask(bw, bh, roundRect(7.5 * u, 23.5 * u, (w - 15) * u, 9 * u, 4.5 * u)),
        shapeMask(bw, bh, roundRect(8.3 * u, 24.3 * u, (w - 16.6) * u, 7.4 * u, 3.7 * u)));
    fill(big, line, hex(palette::goldDeep, 0.8F));
    // The cameo a third larger than the painter's unit, so that he reads at a glance.
    paintHostCameo(big, cx * u, cy * u, 1.36 * u);
    return downsample(big, n).toImage();
}

std::array<ColorImage, 10> drawChoiceBackgrounds(const std::array<ColorImage, 6>& typeBackgrounds) {
    const Field furniture = furnitureMask(typeBackgrounds);
    const Field soft = blur(furniture, 4.0);
    std::array<ColorImage, 10> result;
    for (int choice = 1; choice <= 10; ++choice) {
        const Pixmap surface = choiceSurface(choice);
        ColorImage picture(kScreenW, kScreenH);
        for (int y = 0; y < kScreenH; ++y) {
            for (int x = 0; x < kScreenW; ++x) {
                if (furniture.at(x, y) > 0.5F) {
                    picture.set(x, y, typeBackgrounds[0].at(x, y));
                    continue;
                }
                // The furniture's shadow falls down and to the right.
                const float shadow = 0.55F * soft.at(x - 2, y - 4);
                Rgba c = surface.at(x, y);
                c.r *= 1.0F - shadow;
                c.g *= 1.0F - shadow;
                c.b *= 1.0F - shadow;
                c.a = 1.0F;
                picture.set(x, y, toPixel(c));
            }
        }
        result[static_cast<std::size_t>(choice - 1)] = std::move(picture);
    }
    return result;
}

ColorImage drawBackgroundThumb(const ColorImage& background,
                               const std::array<ColorImage, 3>& tiles) {
    constexpr int cropX = 40;
    constexpr int cropY = 80;
    constexpr int innerW = 163;
    constexpr int innerH = 218;
    Pixmap cloth(2 * innerW, 2 * innerH);
    for (int y = 0; y < cloth.height; ++y) {
        for (int x = 0; x < cloth.width; ++x) {
            cloth(x, y) = fromPixel(background.at(cropX + x, cropY + y) | 0xFF000000U);
        }
    }
    Pixmap inner = downsample(cloth, 2);
    // The tiles at their own size: how the faces read on the surface.
    layTile(inner, tiles[0], 35, 44);
    layTile(inner, tiles[1], 82, 44);
    layTile(inner, tiles[2], 58, 108);
    Pixmap thumb = goldFrame(171, 228, 401U);
    composite(thumb, inner, 4, 5);
    return thumb.toImage();
}

ColorImage drawTileSetThumb(const std::array<ColorImage, 3>& tiles) {
    constexpr int w = 94;
    constexpr int h = 228;
    Pixmap thumb = goldFrame(w, h, 409U);
    const Pixmap wood = veneer(w - 8, h - 8, 419U, mahoganyVeneer());
    composite(thumb, wood, 4, 4);
    Pixmap cloth = felt(60, 196, 421U, hex(0x1D3A2C));
    vignette(cloth, 0.3F);
    composite(thumb, cloth, 17, 16);
    const Field line = maskMinus(shapeMask(w, h, roundRect(15, 14, 64, 200, 2)),
                                 shapeMask(w, h, roundRect(17, 16, 60, 196, 0)));
    fill(thumb, line, hex(palette::gold));
    for (int k = 0; k < 3; ++k) {
        layTile(thumb, tiles[static_cast<std::size_t>(k)], 24, 21 + k * 64);
    }
    return thumb.toImage();
}

ColorImage drawLock() {
    constexpr int w = 56;
    constexpr int h = 68;
    const Field shackle = pathMask(w, h, [](cairo_t* cr) {
        cairo_set_line_width(cr, 6.0);
        cairo_move_to(cr, 16, 34);
        cairo_line_to(cr, 16, 22);
        cairo_arc(cr, 28, 22, 12, M_PI, 2 * M_PI);
        cairo_line_to(cr, 40, 34);
        cairo_stroke(cr);
    });
    const Field body = shapeMask(w, h, roundRect(7, 30, 42, 32, 6));
    const Field keyhole = pathMask(w, h, [](cairo_t* cr) {
        cairo_arc(cr, 28, 42, 4, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_move_to(cr, 25.5, 44);
        cairo_line_to(cr, 30.5, 44);
        cairo_line_to(cr, 31.5, 54);
        cairo_line_to(cr, 24.5, 54);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
    Pixmap picture(w, h);
    castShadow(picture, maskUnion(shackle, body), Shadow{3.0, 2.0, 0.55F});
    fill(picture, shackle,
         brushedMetal(w, h, 431U, MetalPalette{hex(0x6F7378), hex(0xB9BEC4), hex(0xEEF1F4)}));
    const Field lit = bevel(body, 3.0, 2.0);
    paintLit(picture, brushedMetal(w, h, 433U, goldMetal()), body, lit);
    fill(picture, maskMinus(body, shapeMask(w, h, roundRect(8.2, 31.2, 39.6, 29.6, 5))),
         hex(palette::goldDeep));
    fill(picture, keyhole, hex(palette::mahoganyDark));
    return picture.toImage();
}

ColorImage drawNewBadge() {
    constexpr int w = 70;
    constexpr int h = 30;
    const Field ribbon = shapeMask(w, h, roundRect(2, 2, w - 5.0, h - 5.0, 7));
    Pixmap picture(w, h);
    castShadow(picture, ribbon, Shadow{2.0, 1.5, 0.5F});
    fill(picture, ribbon, hex(palette::vermilion));
    fill(picture, maskMinus(ribbon, shapeMask(w, h, roundRect(3.6, 3.6, w - 8.2, h - 8.2, 6))),
         hex(palette::gold));
    const Field letters = pathMask(w, h, [](cairo_t* cr) {
        cairo_set_line_width(cr, 2.8);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_translate(cr, -1.0, -1.5);
        drawLetterStrokes(cr);
        cairo_stroke(cr);
    });
    fill(picture, letters, hex(palette::cream));
    return picture.toImage();
}

ColorImage drawArrowButton(bool right) {
    constexpr int size = 36;
    const Field disc = shapeMask(size, size, ellipse(17.5, 17.5, 15.5, 15.5));
    const Field rim = maskMinus(disc, shapeMask(size, size, ellipse(17.5, 17.5, 13.2, 13.2)));
    ColorImage strip(size, size * 4);
    for (int state = 0; state < 4; ++state) {
        const int push = state == 2 ? 1 : 0;
        const Field arrow = pathMask(size, size, [right, push](cairo_t* cr) {
            const double cx = 17.5 + push + (right ? 1.5 : -1.5);
            const double cy = 17.5 + push;
            const double d = right ? 1.0 : -1.0;
            cairo_move_to(cr, cx + 7 * d, cy);
            cairo_line_to(cr, cx - 5 * d, cy - 8);
            cairo_line_to(cr, cx - 5 * d, cy + 8);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        Pixmap frame(size, size);
        if (state != 2) {
            castShadow(frame, disc, Shadow{2.0, 1.5, 0.5F});
        }
        Pixmap stone = jade(size, size, 441U, jadeStone());
        if (state == 1) {
            for (Rgba& c : stone.pixels) {
                c = shade(c, 0.18F);
            }
        } else if (state == 2) {
            for (Rgba& c : stone.pixels) {
                c = shade(c, -0.12F);
            }
        }
        paintLit(frame, stone, disc, cushion(disc, 4.0, 3.0));
        fill(frame, rim, brushedMetal(size, size, 443U, goldMetal()));
        fill(frame, arrow, hex(palette::cream));
        if (state == 3) {
            for (Rgba& c : frame.pixels) {
                c = shade(desaturate(c, 0.9F), -0.05F);
                c.a *= 0.7F;
            }
        }
        const ColorImage image = frame.toImage();
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                strip.set(x, state * size + y, image.at(x, y));
            }
        }
    }
    return strip;
}

void addChooserArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet) {
    SheetRow row;
    row.title = "Tutorial bubble and looks chooser: bubble, bell, previews, lock, NEW, arrows";

    static constexpr std::array<const char*, 13> bubbleNames{
        "tl", "t",  "tr",       "l",        "c",        "r",       "bl",
        "b",  "br", "arrow_tl", "arrow_tr", "arrow_bl", "arrow_br"};
    const std::array<ColorImage, 13> bubble = drawHintBubble();
    for (std::size_t k = 0; k < bubble.size(); ++k) {
        media.add(std::string("media/images/hint/bubble_") + bubbleNames[k] + ".png",
                  encodePngColor(bubble[k]));
    }
    const ColorImage footer = drawHostFooter();
    media.add("media/images/hint/footer.png", encodePngColor(footer));

    // The three tiles each preview shows, and the tile sets' previews.
    const ColorImage body = drawTileBody();
    static constexpr std::array<std::array<int, 2>, 3> previewFaces{{{0, 4}, {2, 6}, {4, 2}}};
    std::array<ColorImage, 3> firstSetTiles;
    for (int set = 0; set < 4; ++set) {
        const ColorImage faces = drawFaceSheet(static_cast<TileSet>(set), fonts);
        std::array<ColorImage, 3> tiles;
        for (std::size_t k = 0; k < tiles.size(); ++k) {
            tiles[k] = composeTile(body, faces, previewFaces[k][0], previewFaces[k][1]);
        }
        if (set == 0) {
            firstSetTiles = tiles;
        }
        const ColorImage thumb = drawTileSetThumb(tiles);
        media.add("media/images/choose/tileset" + std::to_string(set) + ".png",
                  encodePngColor(thumb));
        row.pictures.push_back(thumb);
    }

    const std::array<ColorImage, 6> typeBackgrounds = drawPlayingBackgrounds();
    const std::array<ColorImage, 10> backgrounds = drawChoiceBackgrounds(typeBackgrounds);
    const ColorImage firstThumb = drawBackgroundThumb(typeBackgrounds[0], firstSetTiles);
    media.add("media/images/choose/background0.png", encodePngColor(firstThumb));
    row.pictures.push_back(firstThumb);
    for (std::size_t k = 0; k < backgrounds.size(); ++k) {
        const std::string number = std::to_string(k + 1);
        media.add("media/images/game/background_custom" + number + ".jpg",
                  encodeJpeg(backgrounds[k], 86));
        const ColorImage thumb = drawBackgroundThumb(backgrounds[k], firstSetTiles);
        media.add("media/images/choose/background" + number + ".png", encodePngColor(thumb));
        row.pictures.push_back(thumb);
    }

    const ColorImage lock = drawLock();
    const ColorImage badge = drawNewBadge();
    const ColorImage next = drawArrowButton(true);
    const ColorImage previous = drawArrowButton(false);
    media.add("media/images/choose/lock.png", encodePngColor(lock));
    media.add("media/images/choose/new.png", encodePngColor(badge));
    media.add("media/images/choose/arrow_next.png", encodePngColor(next));
    media.add("media/images/choose/arrow_prev.png", encodePngColor(previous));
    for (const ColorImage* picture : {&bubble[9], &bubble[12], &footer, &lock, &badge, &next}) {
        row.pictures.push_back(*picture);
    }
    sheet.rows.push_back(std::move(row));
}

} // namespace orv::media
