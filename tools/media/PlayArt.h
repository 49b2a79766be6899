#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/FontBaker.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

#include <filesystem>
#include <string>
#include <vector>

namespace orv::media {

/// Sides are numbered 0 top, 1 right, 2 bottom, 3 left.
/// A connecting path's cap (the line leaves through `side`) or corner (the
/// line joins `side` and `otherSide`), `size` pixels square; `red` for a
/// pair that does not match.
[[nodiscard]] ColorImage drawPathPoint(int size, int side, int otherSide, bool red);
/// The straight piece of a path: `horizontal` ones are `length` x `size`,
/// vertical ones `size` x `length`.
[[nodiscard]] ColorImage drawPathStraight(int size, int length, bool horizontal, bool red);
/// A five-pointed gold star, `size` pixels square.
[[nodiscard]] ColorImage drawGoldStar(int size);

/// The score floaters' fonts (six, growing with the multiplier) and the
/// playing screen's big heading font, baked from `fonts`.
[[nodiscard]] std::vector<FontSpec> playFontSpecs(const std::filesystem::path& fonts);

/// Every picture, font and sound of the playing screen's hints, paths,
/// shuffles, floaters, score shows and tile effects into `media`, with a row
/// of the contact sheet.
void addPlayMedia(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

} // namespace orv::media
