#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"

#include <filesystem>

namespace orv::media {

/// The trophy room and the hallway's floor-completed dialog: the room with
/// the tower by night in its tall window between two walls of shelves, the
/// twenty trophies (each in its colours and in a grey "_UNCLAIMED" look),
/// the lit and starred room windows, the "New trophy!" header and the spark
/// of the ceremony; the floor-completed board, the 100 room-number stars
/// (floor 1-20, door 1-5) and the full and empty summary stars; and the
/// sounds of both sequences. Type is Linux Libertine from `fonts`. Adds a
/// row to the contact sheet.
void addTrophyArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

} // namespace orv::media
