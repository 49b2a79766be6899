#include "tools/media/PlayerDialogArt.h"

#include "tools/media/Artwork.h"
#include "tools/media/Light.h"
#include "tools/media/Materials.h"
#include "tools/media/Paint.h"
#include "tools/media/Palette.h"
#include "tools/media/Shapes.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace orv::media {

namespace {

const Lighting goldLight{0.6F, 0.7F, 18.0F};
const Lighting paperLight{0.45F, 0.35F, 30.0F};

constexpr int kSlotWidth = 260;

void greyOut(Pixmap& picture) {
    for (Rgba& c : picture.pixels) {
        c = shade(desaturate(c, 0.85F), 0.1F);
    }
}

// Brightens or darkens every pixel of a material.
Pixmap shaded(Pixmap material, float amount) {
    for (Rgba& c : material.pixels) {
        c = shade(c, amount);
    }
    return material;
}
constexpr int kSlotHeight = 42;

} // namespace

ColorImage drawNameSlotStrip() {
    const Field outer = shapeMask(kSlotWidth, kSlotHeight, roundRect(2, 2, kSlotWidth - 5, 36, 9));
    const Field inner = shapeMask(kSlotWidth, kSlotHeight, roundRect(6, 6, kSlotWidth - 13, 28, 6));
    const Pixmap gold = brushedMetal(kSlotWidth, kSlotHeight, 71U, goldMetal());
    const Pixmap page = paper(kSlotWidth, kSlotHeight, 37U, hex(palette::parchment));
    ColorImage strip(kSlotWidth, kSlotHeight * 4);
    for (int state = 0; state < 4; ++state) {
        const bool pressed = state == 2;
        Pixmap picture(kSlotWidth, kSlotHeight);
        castShadow(picture, outer, Shadow{pressed ? 0.8 : 2.0, 1.2, 0.45F});
        Field heights = bevel(outer, 2.5, 2.0);
        raise(heights, inner, cushion(inner, 4.0, pressed ? -1.5 : 1.5));
        Pixmap body(kSlotWidth, kSlotHeight);
        paintLit(body, state == 1 ? shaded(gold, 0.18F) : gold, outer, heights, goldLight);
        paintLit(body, state == 1 ? shaded(page, 0.08F) : page, inner, heights, paperLight);
        if (state == 3) {
            greyOut(body);
        }
        composite(picture, body);
        const ColorImage frame = picture.toImage();
        for (int y = 0; y < kSlotHeight; ++y) {
            for (int x = 0; x < kSlotWidth; ++x) {
                strip.set(x, state * kSlotHeight + y, frame.at(x, y));
            }
        }
    }
    return strip;
}

ColorImage drawNameBorder() {
    constexpr int width = kSlotWidth + 12;
    constexpr int height = kSlotHeight + 12;
    const Field outer = shapeMask(width, height, roundRect(1, 1, width - 3, height - 3, 13));
    const Field hole = shapeMask(width, height, roundRect(6, 6, width - 13, height - 13, 9));
    const Field ring = maskMinus(outer, hole);
    Pixmap picture(width, height);
    const Field heights = bevel(ring, 2.0, 2.0);
    Pixmap body(width, height);
    paintLit(body, jade(width, height, 43U, jadeStone()), ring, heights, goldLight);
    composite(picture, body);
    return picture.toImage();
}

ColorImage drawNameField() {
    constexpr int width = 300;
    constexpr int height = 40;
    const Field outer = shapeMask(width, height, roundRect(1, 1, width - 3, height - 3, 8));
    const Field groove = shapeMask(width, height, roundRect(5, 5, width - 11, height - 11, 5));
    Pixmap picture(width, height);
    Field heights = bevel(outer, 2.5, 1.5);
    raise(heights, groove, cushion(groove, 1.5, -1.5));
    Pixmap body(width, height);
    paintLit(body, brushedMetal(width, height, 73U, goldMetal()), outer, heights, goldLight);
    paintLit(body, paper(width, height, 41U, hex(palette::ivory)), groove, heights, paperLight);
    innerShadow(body, groove, 2.0, 1.0, 0.45F);
    composite(picture, body);
    return picture.toImage();
}

void addPlayerDialogArt(MediaSet& media, Gallery& sheet) {
    SheetRow row;
    row.title = "Player dialogs: name plaque, current player's frame, name field";
    row.pictures.push_back(drawNameSlotStrip());
    row.pictures.push_back(drawNameBorder());
    row.pictures.push_back(drawNameField());
    media.add("media/images/lobby/name_slot.png", encodePngColor(row.pictures[0]));
    media.add("media/images/lobby/name_border.png", encodePngColor(row.pictures[1]));
    media.add("media/images/lobby/name_field.png", encodePngColor(row.pictures[2]));
    // The caret: a thin ink bar.
    ColorImage caret(2, 24);
    for (std::uint32_t& pixel : caret.pixels) {
        pixel = 0xFF000000U | palette::ink;
    }
    media.add("media/images/lobby/name_caret.png", encodePngColor(caret));
    sheet.rows.push_back(std::move(row));
}

} // namespace orv::media
