#pragma once

#include "tools/media/FontBaker.h"
#include "tools/media/Raster.h"

#include <array>

namespace orv::media {

/// What the contact sheet shows: the fonts, the frame pieces, the buttons and
/// the small pictures, at their final sizes.
struct Gallery {
    const BakedFont* textFont = nullptr;
    const BakedFont* smallFont = nullptr;
    const BakedFont* headingFont = nullptr;
    const BakedFont* buttonFont = nullptr;
    const std::array<ColorImage, 9>* frame = nullptr;
    const ColorImage* button = nullptr;
    const ColorImage* minimize = nullptr;
    const ColorImage* restore = nullptr;
    const ColorImage* quit = nullptr;
    const ColorImage* icon = nullptr;
    const ColorImage* smallIcon = nullptr;
    const ColorImage* medal = nullptr;
    const ColorImage* wall = nullptr;
};

/// The contact sheet: an 800 x 600 screen as the game would compose it (the
/// lobby wall, a dialog painted from the frame pieces with a heading, text
/// and two captioned buttons, the full-screen buttons, the loading label),
/// beside a column with every button frame, the pieces and the font samples.
[[nodiscard]] ColorImage drawContactSheet(const Gallery& gallery);

/// Paints a nine-piece frame into `target` the way the engine's dialog
/// painter does: tiles from the top-left of each area, corners last.
void paintFrame(ColorImage& target, const std::array<ColorImage, 9>& pieces, int x, int y, int w,
                int h);

} // namespace orv::media
