#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

namespace orv::media {

/// A player's name plaque, four 260 x 42 frames stacked top to bottom like a
/// button (normal, over, pressed, disabled): parchment in a gold rim.
[[nodiscard]] ColorImage drawNameSlotStrip();
/// The frame around the current player's plaque, 272 x 54: a jade ring,
/// open in the middle.
[[nodiscard]] ColorImage drawNameBorder();
/// The name field, 300 x 40: a sunken parchment strip in a gold rim.
[[nodiscard]] ColorImage drawNameField();

/// The pictures of the player selection and the name question into
/// `media`, with a row of the contact sheet.
void addPlayerDialogArt(MediaSet& media, Gallery& sheet);

} // namespace orv::media
