#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

#include <filesystem>
#include <vector>

namespace orv::media {

/// The switch of the dialogs: eight 30 x 30 frames stacked top to bottom
/// (off normal, over, pressed, disabled, then the same four checked): a gold
/// rimmed parchment box, checked with a raised jade tick.
[[nodiscard]] ColorImage drawSwitchStrip();
/// The slider's track, 260 x 30: a dark groove in a gold rim along the
/// middle, the ends rounded.
[[nodiscard]] ColorImage drawSliderTrack();
/// The slider's knob, four 22 x 30 frames like a button strip.
[[nodiscard]] ColorImage drawSliderKnob();
/// The level-end header after a lost level, 112 x 112: a brass hourglass
/// with its sand run out.
[[nodiscard]] ColorImage drawHourglass();

/// The won level's emblem, 232 x 124: the gold medal with its star in a
/// laurel of gold leaves, red lacquer ribbon tails below, gold rays and
/// glints behind it on a transparent ground.
[[nodiscard]] ColorImage drawLevelWonHeader();

/// A band under one of a result's values, 196 x 40: a sunk parchment well
/// with a mahogany hairline, or (`best`) a gold-rimmed one with a small gold
/// star at its left end, which marks the record.
[[nodiscard]] ColorImage drawResultBand(bool best);
/// The four help pages' pictures, 300 x 250 each, without text: matching
/// free tiles, what free means, the six game types, the bars and the tools,
/// with the game's own tiles (`fonts`: the folder of the font packages).
[[nodiscard]] std::vector<ColorImage> drawHelpPages(const std::filesystem::path& fonts);

/// Every picture and sound of the game dialogs into `media`, with a row of
/// the contact sheet.
void addDialogMedia(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

} // namespace orv::media
