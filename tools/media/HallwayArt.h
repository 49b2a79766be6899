#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"

#include <filesystem>

namespace orv::media {

/// The hallway floors: for each look of "properties/hallway.xml" under
/// `source` (the media folder) a corridor with five red lacquer doors where
/// that file puts them (the wall's panels, lamps and patterns laid out from
/// the doors, the floor sign over the middle door, a twin of the look's
/// plant at the far end), and one mask per door leaf of the corridor's size
/// (the game turns each leaf to its room's hue); the door knobs, the
/// plants, the bronze, silver and gold medals, the room preview's frame,
/// rule and medal marks, the star flash, the 100
/// room-number plates (floor 1-20, door 1-5) set in Linux Libertine from
/// `fonts`, and the hallway's four sounds. Adds a row to the contact sheet.
void addHallwayArt(MediaSet& media, const std::filesystem::path& source,
                   const std::filesystem::path& fonts, Gallery& sheet);

} // namespace orv::media
