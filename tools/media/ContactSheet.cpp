#include "tools/media/ContactSheet.h"

#include "tools/media/Artwork.h"
#include "tools/media/Palette.h"

#include <algorithm>
#include <string>

namespace orv::media {

namespace {

void fillRect(ColorImage& target, int x, int y, int w, int h, std::uint32_t color) {
    for (int j = std::max(0, y); j < std::min(target.height, y + h); ++j) {
        for (int i = std::max(0, x); i < std::min(target.width, x + w); ++i) {
            target.set(i, j, color);
        }
    }
}

// One frame of a vertical strip of four.
ColorImage frameOf(const ColorImage& strip, int frame) {
    const int h = strip.height / 4;
    ColorImage out(strip.width, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < strip.width; ++x) {
            out.set(x, y, strip.at(x, frame * h + y));
        }
    }
    return out;
}

std::u32string widen(const std::string& text) {
    // The sheet's captions are ASCII apart from a few named characters.
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            out.push_back(((c & 0x1FU) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3FU));
            ++i;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
            out.push_back(((c & 0x0FU) << 12) |
                          ((static_cast<unsigned char>(text[i + 1]) & 0x3FU) << 6) |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3FU));
            i += 2;
        }
    }
    return out;
}

void text(ColorImage& target, const BakedFont& font, const std::string& line, int x, int y,
          const std::vector<std::uint32_t>& colours = {}) {
    drawText(target, font, widen(line), x, y, colours);
}

void centredText(ColorImage& target, const BakedFont& font, const std::string& line, int centreX,
                 int y, const std::vector<std::uint32_t>& colours = {}) {
    const std::u32string wide = widen(line);
    drawText(target, font, wide, centreX - textWidth(font, wide) / 2, y, colours);
}

// Top of the line to the top of the capitals, and their height: captions are
// centred on the capitals, as a reader sees them.
std::pair<int, int> capitals(const BakedFont& font) {
    for (const BakedGlyph& g : font.glyphs) {
        if (g.code == U'H') {
            return {g.by, g.sh};
        }
    }
    return {0, font.baseline};
}

void captionedButton(ColorImage& target, const Gallery& g, int frame, const std::string& caption,
                     int x, int y) {
    const ColorImage face = frameOf(*g.button, frame);
    blit(target, face, x, y);
    const int shift = frame == 2 ? 1 : 0;
    const std::vector<std::uint32_t> colours =
        frame == 3 ? std::vector<std::uint32_t>{0xFFEDE6DA, 0xFF6B645A}
                   : std::vector<std::uint32_t>{};
    const auto [capTop, capHeight] = capitals(*g.buttonFont);
    centredText(target, *g.buttonFont, caption, x + face.width / 2 + shift,
                y + (face.height - 4 - capHeight) / 2 - capTop + shift, colours);
}

// The painter's size rule: the smallest size not below the request at which
// the edges are whole tiles.
int adjustedSide(const std::array<ColorImage, 9>& p, int request, bool horizontal) {
    const int fixed = horizontal
                          ? std::max(p[0].width, p[6].width) + std::max(p[2].width, p[8].width)
                          : std::max(p[0].height, p[2].height) + std::max(p[6].height, p[8].height);
    const int tile =
        horizontal ? std::max(p[1].width, p[7].width) : std::max(p[3].height, p[5].height);
    if (tile <= 0 || request <= fixed) {
        return std::max(request, fixed);
    }
    return fixed + (request - fixed + tile - 1) / tile * tile;
}

} // namespace

void paintFrame(ColorImage& target, const std::array<ColorImage, 9>& p, int x, int y, int w,
                int h) {
    // The painter's own order: centre, edges, corners; each piece tiled from
    // the top-left of its area and copied with its alpha.
    ColorImage dialog(w, h);
    const auto tile = [&dialog](const ColorImage& piece, int ax, int ay, int aw, int ah) {
        for (int top = ay; top < ay + ah; top += piece.height) {
            for (int left = ax; left < ax + aw; left += piece.width) {
                for (int j = 0; j < piece.height; ++j) {
                    for (int i = 0; i < piece.width; ++i) {
                        if (left + i < dialog.width && top + j < dialog.height) {
                            dialog.set(left + i, top + j, piece.at(i, j));
                        }
                    }
                }
            }
        }
    };
    tile(p[4], p[3].width, p[1].height, w - p[3].width - p[5].width, h - p[1].height - p[7].height);
    tile(p[1], p[0].width, 0, w - p[0].width - p[2].width, p[1].height);
    tile(p[7], p[6].width, h - p[7].height, w - p[6].width - p[8].width, p[7].height);
    tile(p[3], 0, p[0].height, p[3].width, h - p[0].height - p[6].height);
    tile(p[5], w - p[5].width, p[2].height, p[5].width, h - p[2].height - p[8].height);
    tile(p[0], 0, 0, p[0].width, p[0].height);
    tile(p[2], w - p[2].width, 0, p[2].width, p[2].height);
    tile(p[6], 0, h - p[6].height, p[6].width, p[6].height);
    tile(p[8], w - p[8].width, h - p[8].height, p[8].width, p[8].height);
    blit(target, dialog, x, y);
}

ColorImage drawContactSheet(const Gallery& g) {
    constexpr int screenW = 800;
    constexpr int screenH = 600;
    constexpr int sideW = 400;
    constexpr int bandH = 250;
    ColorImage sheet(screenW + sideW, screenH + bandH);
    fillRect(sheet, 0, 0, sheet.width, sheet.height, 0xFF000000U | palette::mahoganyDark);

    // --- The screen, as the game would compose it -------------------------
    blit(sheet, *g.wall, 0, 0);
    centredText(sheet, *g.headingFont, "Orvanta Mahjong", screenW / 2, 18);
    centredText(sheet, *g.textFont,
                "Lobby \u2022 Elevator \u2022 Hallway \u2022 Casino \u2022 Roof", screenW / 2, 62,
                {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    // Full-screen buttons at the top right: quit, restore, minimise.
    int right = screenW;
    for (const ColorImage* strip : {g.quit, g.restore, g.minimize}) {
        right -= strip->width;
        blit(sheet, frameOf(*strip, strip == g.quit ? 1 : 0), right, 0);
    }
    // The quit question in a dialog painted from the nine pieces.
    const int dialogW = adjustedSide(*g.frame, 440, true);
    const int dialogH = adjustedSide(*g.frame, 250, false);
    const int dialogX = (screenW - dialogW) / 2;
    const int dialogY = 150;
    paintFrame(sheet, *g.frame, dialogX, dialogY, dialogW, dialogH);
    centredText(sheet, *g.headingFont, "Leave the building?", screenW / 2, dialogY + 30);
    centredText(sheet, *g.textFont, "Do you really want to quit the game?", screenW / 2,
                dialogY + 92);
    centredText(sheet, *g.textFont, "Your progress is kept for your next visit.", screenW / 2,
                dialogY + 114);
    const int buttonW = g.button->width;
    const int buttonY = dialogY + dialogH - 36 - g.button->height / 4;
    captionedButton(sheet, g, 0, "Yes", screenW / 2 - buttonW - 12, buttonY);
    captionedButton(sheet, g, 1, "No", screenW / 2 + 12, buttonY);
    // A tooltip-sized note and the trophy medal.
    blit(sheet, *g.medal, 60, 450);
    text(sheet, *g.textFont, "Trophy won: Early Bird", 136, 470,
         {0xFF000000U | palette::goldLight, 0xFF000000U | palette::mahoganyDark});
    text(sheet, *g.smallFont, "Clear a level within the first minute.", 136, 494,
         {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    // The loading label of the fade-to-black transition.
    fillRect(sheet, 0, 530, screenW, 70, 0xFF000000U);
    centredText(sheet, *g.headingFont, "Loading...", screenW / 2, 545);

    // --- The side column: every frame of every strip ------------------------
    const int sideX = screenW + 20;
    const std::uint32_t caption = 0xFF000000U | palette::goldLight;
    const std::uint32_t captionShadow = 0xFF000000U;
    text(sheet, *g.smallFont, "Button strip (normal, over, pressed, disabled)", sideX, 12,
         {caption, captionShadow});
    int y = 34;
    for (int frame = 0; frame < 4; ++frame) {
        captionedButton(sheet, g, frame, "Play", sideX, y);
        blit(sheet, frameOf(*g.button, frame), sideX + buttonW + 16, y);
        y += g.button->height / 4 + 8;
    }
    text(sheet, *g.smallFont, "Full-screen buttons (minimise, restore, quit)", sideX, y + 4,
         {caption, captionShadow});
    y += 26;
    int x = sideX;
    for (const ColorImage* strip : {g.minimize, g.restore, g.quit}) {
        for (int frame = 0; frame < 4; ++frame) {
            blit(sheet, frameOf(*strip, frame), x + frame * (strip->width + 4), y);
        }
        x += 4 * (strip->width + 4) + 10;
    }
    y += g.quit->height / 4 + 14;
    text(sheet, *g.smallFont, "Dialog frame pieces", sideX, y, {caption, captionShadow});
    y += 22;
    const auto& p = *g.frame;
    const int gap = 6;
    int rowY = y;
    for (int row = 0; row < 3; ++row) {
        int colX = sideX;
        int rowHeight = 0;
        for (int col = 0; col < 3; ++col) {
            const int index = row * 3 + col;
            const ColorImage& piece = p[static_cast<std::size_t>(index)];
            blit(sheet, piece, colX, rowY);
            colX += (col == 1 ? 64 : 28) + gap;
            rowHeight = std::max(rowHeight, piece.height);
        }
        rowY += rowHeight + gap;
    }
    text(sheet, *g.smallFont, "Icon 64 and 32, trophy medal", sideX + 150, y,
         {caption, captionShadow});
    blit(sheet, *g.icon, sideX + 150, y + 24);
    blit(sheet, *g.smallIcon, sideX + 222, y + 56);
    blit(sheet, *g.medal, sideX + 270, y + 24);

    // --- The font band -------------------------------------------------------
    const int bandY = screenH;
    fillRect(sheet, 0, bandY, sheet.width, bandH, 0xFF000000U | palette::parchment);
    int lineY = bandY + 12;
    text(sheet, *g.headingFont, "Header: DejaVu Serif Bold 28 \u2014 AVATAR Wavy Tea", 16, lineY);
    lineY += g.headingFont->lineHeight + 6;
    text(sheet, *g.textFont,
         "Text: DejaVu Sans 15 \u2014 The quick brown fox jumps over the lazy dog. 0123456789", 16,
         lineY);
    lineY += g.textFont->lineHeight + 2;
    text(sheet, *g.textFont,
         "\u00c0\u00c9\u00ce\u00d5\u00dc \u00e0\u00e9\u00ee\u00f5\u00fc "
         "\u00df\u00e7\u00f1 \u00ab\u00bb \u201cquoted\u201d \u2026 \u20ac 12,50 "
         "Score: 24 680 \u00d7 3",
         16, lineY);
    lineY += g.textFont->lineHeight + 4;
    text(sheet, *g.smallFont,
         "Small: DejaVu Sans 12 \u2014 tooltips and notes: Shuffle the tiles (costs 30 seconds).",
         16, lineY);
    lineY += g.smallFont->lineHeight + 8;
    // Light text on the dark wood, as the building's signs use it.
    fillRect(sheet, 0, lineY - 4, sheet.width, bandY + bandH - lineY + 4,
             0xFF000000U | palette::mahogany);
    text(sheet, *g.textFont, "Floor 12 \u2014 Room 1204: Classic, hard. Best time 03:42.", 16,
         lineY + 6, {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    const ColorImage buttonFace = frameOf(*g.button, 0);
    blit(sheet, buttonFace, 16, lineY + 36);
    centredText(sheet, *g.buttonFont, "Button font 17", 16 + buttonFace.width / 2,
                lineY + 36 + (buttonFace.height - g.buttonFont->lineHeight) / 2 - 1);
    text(sheet, *g.headingFont, "Casino Roof Lobby", 220, lineY + 36);
    return sheet;
}

} // namespace orv::media
