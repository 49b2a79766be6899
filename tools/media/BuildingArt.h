#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Paint.h"

#include <filesystem>

namespace orv::media {

/// The pictures of the first screens: the maker's mark for the logo splash
/// (its layers and their grey reveal masks), the loading screen (backdrop,
/// emblem, progress bar and its groove, the light band) and the lobby (the
/// hall with the elevator, the doors, the light between them, the host's
/// blinking eyes, the light over the doors). `fonts` is the folder of the
/// font packages (the mark's word is set in Linux Libertine). Adds a row of
/// them to the contact sheet.
void addBuildingArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

/// The sounds of the first screens: the mark's rising shimmer and its chord
/// ("SOUND_VANTREL_SPLASH", "SOUND_VANTREL"), loading done, the typing tick.
void addBuildingSounds(MediaSet& media);

} // namespace orv::media
