#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

namespace orv::media {

/// Where the recreation room's plaque stands on the playing screen, pixels:
/// over the console's two channels, which stay empty there because the room
/// has no bars.
namespace recroom {
inline constexpr int plaqueX = 686;
inline constexpr int plaqueY = 232;
inline constexpr int plaqueW = 108;
inline constexpr int plaqueH = 312;
} // namespace recroom

/// The plaque ("RECROOM_PLAQUE"), `recroom::plaqueW` x `plaqueH` with its
/// shadow inside: raised mahogany with a gold bead, a sunk ring at the top for
/// the clock face, an engraved cartouche under it for the time and a gold
/// lattice window filling the rest.
[[nodiscard]] ColorImage drawRecRoomPlaque();

/// Adds media/images/game/recroom_plaque.png and shows it on the contact sheet.
void addRecRoomConsoleArt(MediaSet& media, Gallery& sheet);

} // namespace orv::media
