#include "tools/media/ContactSheet.h"

#include "tools/media/Artwork.h"
#include "tools/media/Palette.h"
#include "tools/media/Typesetting.h"

#include <algorithm>
#include <string>

namespace orv::media {

namespace {

// The button's face within a frame of its strip; the rest is its shadow.
constexpr int buttonFaceHeight = 35;

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

void text(ColorImage& target, const BakedFont& font, const std::string& line, int x, int y,
          const std::vector<std::uint32_t>& colours = {}) {
    drawText(target, font, widen(line), x, y, colours);
}

// `line` with its ink centred across `centreX`, the line's top at `top`.
void centredText(ColorImage& target, const BakedFont& font, const std::string& line, int centreX,
                 int top, const std::vector<std::uint32_t>& colours = {}) {
    const std::u32string wide = widen(line);
    const InkBox ink = inkBox(font, wide);
    int pad = 0;
    for (const BakedLayer& layer : font.layers) {
        pad = std::max(pad, layer.padding);
    }
    drawText(target, font, wide, centreX - (ink.left + ink.right) / 2, top - pad, colours);
}

// A button frame with its caption optically centred on the face (the face
// is the strip's frame less its shadow: the upper 35 pixels).
void captionedButton(ColorImage& target, const Gallery& g, int frame, const std::string& caption,
                     int x, int y) {
    const ColorImage face = frameOf(g.button, frame);
    blit(target, face, x, y);
    const int shift = frame == 2 ? 1 : 0;
    const std::vector<std::uint32_t> colours =
        frame == 3 ? std::vector<std::uint32_t>{0xFFEDE6DA, 0xFF6B645A}
                   : std::vector<std::uint32_t>{};
    const BakedFont& font = g.fonts.at(3);
    const Point at = centredOnInk(font, widen(caption), x, y, face.width, buttonFaceHeight);
    drawText(target, font, widen(caption), at.x + shift, at.y + shift, colours);
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
    constexpr int sheetW = screenW + sideW;
    const BakedFont& textFont = g.fonts.at(0);
    const BakedFont& smallFont = g.fonts.at(1);
    const BakedFont& headingFont = g.fonts.at(2);
    const BakedFont& buttonFont = g.fonts.at(3);

    // The rows below decide the height: lay them out first.
    struct Placed {
        const ColorImage* picture;
        int x, y;
    };
    std::vector<Placed> placed;
    std::vector<std::pair<std::string, int>> titles;
    const int bandH = 270;
    int rowsY = screenH + bandH + 12;
    for (const SheetRow& row : g.rows) {
        titles.emplace_back(row.title, rowsY);
        int x = 16;
        int y = rowsY + smallFont.lineHeight + 8;
        int rowHeight = 0;
        for (const ColorImage& picture : row.pictures) {
            if (x > 16 && x + picture.width > sheetW - 16) {
                x = 16;
                y += rowHeight + 10;
                rowHeight = 0;
            }
            placed.push_back({&picture, x, y});
            x += picture.width + 10;
            rowHeight = std::max(rowHeight, picture.height);
        }
        rowsY = y + rowHeight + 16;
    }
    ColorImage sheet(sheetW, g.rows.empty() ? screenH + bandH : rowsY);
    fillRect(sheet, 0, 0, sheet.width, sheet.height, 0xFF000000U | palette::mahoganyDark);

    // --- The screen, as the game would compose it -------------------------
    blit(sheet, g.wall, 0, 0);
    centredText(sheet, headingFont, "Orvanta Mahjong", screenW / 2, 22);
    centredText(sheet, textFont, "Lobby \u2022 Elevator \u2022 Hallway \u2022 Casino \u2022 Roof",
                screenW / 2, 66,
                {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    // Full-screen buttons at the top right: quit, restore, minimise.
    int right = screenW;
    for (const ColorImage* strip : {&g.quit, &g.restore, &g.minimize}) {
        right -= strip->width;
        blit(sheet, frameOf(*strip, strip == &g.quit ? 1 : 0), right, 0);
    }
    // The quit question in a dialog painted from the nine pieces.
    const int dialogW = adjustedSide(g.frame, 440, true);
    const int dialogH = adjustedSide(g.frame, 250, false);
    const int dialogX = (screenW - dialogW) / 2;
    const int dialogY = 150;
    paintFrame(sheet, g.frame, dialogX, dialogY, dialogW, dialogH);
    centredText(sheet, headingFont, "Leave the building?", screenW / 2, dialogY + 34);
    centredText(sheet, textFont, "Do you really want to quit the game?", screenW / 2, dialogY + 94);
    centredText(sheet, textFont, "Your progress is kept for your next visit.", screenW / 2,
                dialogY + 94 + textFont.lineHeight);
    const int buttonW = g.button.width;
    const int buttonY = dialogY + dialogH - 36 - g.button.height / 4;
    captionedButton(sheet, g, 0, "Yes", screenW / 2 - buttonW - 12, buttonY);
    captionedButton(sheet, g, 1, "No", screenW / 2 + 12, buttonY);
    // A trophy note and the medal.
    blit(sheet, g.medal, 60, 446);
    text(sheet, textFont, "Trophy won: Early Bird", 136, 458,
         {0xFF000000U | palette::goldLight, 0xFF000000U | palette::mahoganyDark});
    text(sheet, smallFont, "Clear a level within the first minute.", 136, 484,
         {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    // The loading label of the fade-to-black transition.
    fillRect(sheet, 0, 530, screenW, 70, 0xFF000000U);
    centredText(sheet, headingFont, "Loading...", screenW / 2, 548);

    // --- The side column: every frame of every strip ------------------------
    const int sideX = screenW + 20;
    const std::vector<std::uint32_t> caption{0xFF000000U | palette::goldLight, 0xFF000000U};
    text(sheet, smallFont, "Button strip (normal, over, pressed, disabled)", sideX, 12, caption);
    int y = 36;
    for (int frame = 0; frame < 4; ++frame) {
        captionedButton(sheet, g, frame, "Play", sideX, y);
        blit(sheet, frameOf(g.button, frame), sideX + buttonW + 16, y);
        y += g.button.height / 4 + 8;
    }
    text(sheet, smallFont, "Full-screen buttons (minimise, restore, quit)", sideX, y + 4, caption);
    y += 28;
    int x = sideX;
    for (const ColorImage* strip : {&g.minimize, &g.restore, &g.quit}) {
        for (int frame = 0; frame < 4; ++frame) {
            blit(sheet, frameOf(*strip, frame), x + frame * (strip->width + 4), y);
        }
        x += 4 * (strip->width + 4) + 10;
    }
    y += g.quit.height / 4 + 14;
    text(sheet, smallFont, "Dialog frame pieces", sideX, y, caption);
    y += 24;
    const int gap = 6;
    int rowY = y;
    for (unsigned row = 0; row < 3; ++row) {
        int colX = sideX;
        int rowHeight = 0;
        for (unsigned col = 0; col < 3; ++col) {
            const ColorImage& piece = g.frame.at(row * 3U + col);
            blit(sheet, piece, colX, rowY);
            colX += (col == 1 ? 64 : 28) + gap;
            rowHeight = std::max(rowHeight, piece.height);
        }
        rowY += rowHeight + gap;
    }
    text(sheet, smallFont, "Icon 64 and 32, trophy medal", sideX + 150, y - 24 + 0, caption);
    blit(sheet, g.icon, sideX + 150, y);
    blit(sheet, g.smallIcon, sideX + 222, y + 32);
    blit(sheet, g.medal, sideX + 270, y);

    // --- The font band -------------------------------------------------------
    const int bandY = screenH;
    fillRect(sheet, 0, bandY, sheet.width, bandH, 0xFF000000U | palette::parchment);
    const auto named = [](const BakedFont& font, const std::string& use) {
        return use + ": " + font.faceName + " " + std::to_string(font.pixelSize) + " px";
    };
    int lineY = bandY + 12;
    text(sheet, headingFont, named(headingFont, "Header") + " \u2014 AVATAR Wavy Tea", 16, lineY);
    lineY += headingFont.lineHeight + 8;
    text(sheet, textFont,
         named(textFont, "Text") +
             " \u2014 The quick brown fox jumps over the lazy dog. 0123456789",
         16, lineY);
    lineY += textFont.lineHeight + 2;
    text(sheet, textFont,
         "\u00c0\u00c9\u00ce\u00d5\u00dc \u00e0\u00e9\u00ee\u00f5\u00fc "
         "\u00df\u00e7\u00f1 \u00ab\u00bb \u201cquoted\u201d \u2026 \u20ac 12,50 "
         "Score: 24 680 \u00d7 3",
         16, lineY);
    lineY += textFont.lineHeight + 4;
    text(sheet, smallFont,
         named(smallFont, "Small") +
             " \u2014 tooltips and notes: Shuffle the tiles (costs 30 seconds).",
         16, lineY);
    lineY += smallFont.lineHeight + 10;
    // Light text on the dark wood, as the building's signs use it.
    fillRect(sheet, 0, lineY - 4, sheet.width, bandY + bandH - lineY + 4,
             0xFF000000U | palette::mahogany);
    text(sheet, textFont, "Floor 12 \u2014 Room 1204: Classic, hard. Best time 03:42.", 16,
         lineY + 6, {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    const int sampleY = lineY + 40;
    captionedButton(sheet, g, 0, "Button font", 16, sampleY);
    text(sheet, smallFont, named(buttonFont, "Button"), 16, sampleY + g.button.height / 4 + 4,
         {0xFF000000U | palette::cream, 0xFF000000U | palette::mahoganyDark});
    text(sheet, headingFont, "Casino Roof Lobby", 220, sampleY);

    // --- The rows ------------------------------------------------------------
    for (const auto& [title, top] : titles) {
        text(sheet, smallFont, title, 16, top, caption);
    }
    for (const Placed& p : placed) {
        blit(sheet, *p.picture, p.x, p.y);
    }
    return sheet;
}

} // namespace orv::media
