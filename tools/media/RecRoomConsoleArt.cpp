#include "tools/media/RecRoomConsoleArt.h"

#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <cairo.h>

namespace orv::media {

namespace {

constexpr Lighting plaqueWoodLight{0.5F, 0.22F, 16.0F, {1.0F, 0.93F, 0.8F, 1.0F}};
constexpr Lighting plaqueMetalLight{0.6F, 0.7F, 18.0F, {1.0F, 0.97F, 0.88F, 1.0F}};

// Drawn this many times larger and shrunk, so that the lattice stays crisp.
constexpr int kPlaqueScale = 3;

} // namespace

ColorImage drawRecRoomPlaque() {
    constexpr int s = kPlaqueScale;
    constexpr int w = recroom::plaqueW * s;
    constexpr int h = recroom::plaqueH * s;
    Pixmap picture(w, h);
    const Field body = shapeMask(w, h, roundRect(2 * s, 1 * s, w - 5 * s, h - 5 * s, 7 * s));
    castShadow(picture, body, Shadow{3.0 * s, 2.0 * s, 0.5F});
    paintLit(picture, wood(w, h, 23U, mahoganyWood(), WoodGrain{10.0 * s, 7.0 * s, false}), body,
             bevel(body, 5.0 * s, 3.0 * s, Profile::Round), plaqueWoodLight);
    // The gold bead just inside the edge.
    const Field bead =
        maskMinus(shapeMask(w, h, roundRect(6 * s, 5 * s, w - 13 * s, h - 13 * s, 5 * s)),
                  shapeMask(w, h, roundRect(8 * s, 7 * s, w - 17 * s, h - 17 * s, 4 * s)));
    paintLit(picture, brushedMetal(w, h, 29U, goldMetal()), bead,
             bevel(bead, 1.0 * s, 1.0 * s, Profile::Bead), plaqueMetalLight);
    // The sunk ring the clock face sits in (the face is a sprite of its own).
    const double cx = recroom::plaqueW / 2.0 * s - 1.5 * s;
    const double cy = 46.0 * s;
    const Field well = shapeMask(w, h, ellipse(cx, cy, 31.0 * s, 31.0 * s));
    fill(picture, well, hex(palette::mahoganyDark, 0.6F));
    innerShadow(picture, well, 3.0 * s, 2.0 * s, 0.6F);
    // The cartouche for the time: dark lacquer in a gold rim.
    const Field rim = shapeMask(w, h, roundRect(12 * s, 86 * s, w - 29 * s, 60 * s, 6 * s));
    const Field inside = shapeMask(w, h, roundRect(14 * s, 88 * s, w - 33 * s, 56 * s, 5 * s));
    paintLit(picture, brushedMetal(w, h, 31U, goldMetal()), rim,
             bevel(rim, 1.5 * s, 1.5 * s, Profile::Bead), plaqueMetalLight);
    fill(picture, inside, hex(palette::mahoganyDark, 0.92F));
    innerShadow(picture, inside, 2.0 * s, 1.5 * s, 0.7F);
    // The lattice window: a diamond trellis of gold over dark lacquer.
    const int lx = 14 * s;
    const int ly = 160 * s;
    const int lw = w - 33 * s;
    const int lh = h - 178 * s;
    const Field frame =
        shapeMask(w, h, roundRect(lx - 2 * s, ly - 2 * s, lw + 4 * s, lh + 4 * s, 4 * s));
    const Field pane = shapeMask(w, h, roundRect(lx, ly, lw, lh, 3 * s));
    paintLit(picture, brushedMetal(w, h, 37U, goldMetal()), frame,
             bevel(frame, 1.5 * s, 1.5 * s, Profile::Bead), plaqueMetalLight);
    fill(picture, pane, hex(palette::mahoganyDark, 0.95F));
    const Field trellis = maskIntersection(pane, pathMask(w, h, [&](cairo_t* cr) {
                                               const double step = 20.0 * s;
                                               cairo_set_line_width(cr, 2.2 * s);
                                               for (double t = -lh; t < lw + lh; t += step) {
                                                   cairo_move_to(cr, lx + t, ly);
                                                   cairo_line_to(cr, lx + t + lh, ly + lh);
                                                   cairo_move_to(cr, lx + t + lh, ly);
                                                   cairo_line_to(cr, lx + t, ly + lh);
                                               }
                                               cairo_stroke(cr);
                                           }));
    paintLit(picture, brushedMetal(w, h, 41U, goldMetal()), trellis,
             bevel(trellis, 1.0 * s, 1.0 * s, Profile::Bead), plaqueMetalLight);
    innerShadow(picture, pane, 3.0 * s, 2.0 * s, 0.55F);
    // A medallion over the trellis's middle crossing: a raised gold boss round
    // a jade cabochon, standing off the lattice on its own shadow.
    const double mx = lx + lw / 2.0;
    const double my = ly + lh / 2.0;
    const Field boss = shapeMask(w, h, ellipse(mx, my, 15.0 * s, 15.0 * s));
    const Field stone = shapeMask(w, h, ellipse(mx, my, 9.5 * s, 9.5 * s));
    castShadow(picture, boss, Shadow{2.5 * s, 1.5 * s, 0.6F});
    Field bossHeights = bevel(boss, 4.0 * s, 2.5 * s, Profile::Round);
    raise(bossHeights, stone, cushion(stone, 3.0 * s, 4.0 * s));
    paintLit(picture, brushedMetal(w, h, 43U, goldMetal()), boss, bossHeights, plaqueMetalLight);
    paintLit(picture, jade(w, h, 47U, jadeStone()), stone, bossHeights, plaqueMetalLight);
    return downsample(picture, s).toImage();
}

void addRecRoomConsoleArt(MediaSet& media, Gallery& sheet) {
    const ColorImage plaque = drawRecRoomPlaque();
    media.add("media/images/game/recroom_plaque.png", encodePngColor(plaque));
    sheet.rows.push_back({"Recreation room: the plaque over the console", {plaque}});
}

} // namespace orv::media
