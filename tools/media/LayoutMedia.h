#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/FontBaker.h"
#include "tools/media/Layouts.h"
#include "tools/media/MediaSet.h"

#include <filesystem>
#include <vector>

namespace orv::media {

/// Reads every layout source `<source>/layouts/*.txt` and the level files
/// `<source>/properties/levels/*.xml`, checks them (Layouts.h) with the suit
/// sizes of the property files already in `media`, and adds the layout files
/// as "media/levels/<id>.xml" and the level files as
/// "media/properties/levels/<name>.xml". Fails the tool on the first file
/// with faults, naming the file and every fault in it. Adds a row to the
/// contact sheet with every layout in miniature, in file-name order (the
/// sheet's small font must be baked).
void addLayouts(MediaSet& media, const std::filesystem::path& source, Gallery& sheet);

/// A layout in miniature for the contact sheet: its layers stacked as the
/// board draws them, its first rack's slots to the right, its name and tile
/// count below in `font`.
[[nodiscard]] ColorImage layoutMiniature(const LayoutDesign& layout, const BakedFont& font);

} // namespace orv::media
