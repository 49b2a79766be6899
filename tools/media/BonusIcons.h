#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

#include <array>

namespace orv::media {

/// The bonus bar's seven icons, `size` pixels square with transparent
/// surroundings, in the order of the bonus kinds: time (a clock), a shuffle
/// token (crossing arrows), 2,500, 5,000 and 10,000 points (one, two and three
/// gold coins), a hint token (a lit lantern) and the super hint (a star).
[[nodiscard]] std::array<ColorImage, 7> drawBonusIcons(int size);

/// Draws the icons at their size on the playing screen (48 pixels), adds
/// them as "media/images/game/bonus_<kind>.png" (time, shuffle, 2500, 5000,
/// 10000, hint, super_hint), the files of the resources IMAGE_BONUS_... that
/// bonus.xml names, and shows them in a row of the contact sheet.
void addBonusIcons(MediaSet& media, Gallery& sheet);

} // namespace orv::media
