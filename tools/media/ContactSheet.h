#pragma once

#include "tools/media/FontBaker.h"
#include "tools/media/Raster.h"

#include <array>
#include <string>
#include <vector>

namespace orv::media {

/// A row of the contact sheet below the fixed panels: a title and pictures at
/// their final sizes, laid left to right and wrapped at the sheet's width.
struct SheetRow {
    std::string title;
    std::vector<ColorImage> pictures;
};

/// What the contact sheet shows. The generators fill it as they make the
/// media; a new family of pictures adds a row.
struct Gallery {
    /// The baked fonts in the order text, small, header, button.
    std::vector<BakedFont> fonts;
    std::array<ColorImage, 9> frame;
    ColorImage button;
    ColorImage minimize;
    ColorImage restore;
    ColorImage quit;
    ColorImage icon;
    ColorImage smallIcon;
    ColorImage medal;
    ColorImage wall;
    std::vector<SheetRow> rows;
};

/// The contact sheet: an 800 x 600 screen as the game would compose it (the
/// lobby wall, a dialog painted from the frame pieces with a heading, text
/// and two captioned buttons, the full-screen buttons, the loading label),
/// beside a column with every button frame, the pieces and the small
/// pictures; below them a band of font samples, then the rows.
[[nodiscard]] ColorImage drawContactSheet(const Gallery& gallery);

/// Paints a nine-piece frame into `target` the way the engine's dialog
/// painter does: tiles from the top-left of each area, corners last.
void paintFrame(ColorImage& target, const std::array<ColorImage, 9>& pieces, int x, int y, int w,
                int h);

} // namespace orv::media
