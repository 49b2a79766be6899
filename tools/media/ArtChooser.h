#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

#include <array>
#include <filesystem>

namespace orv::media {

/// The tutorial bubble's pieces: the nine of its frame (48-pixel corners
/// around 8-pixel edges, the parchment body 14 pixels inside the edges),
/// then the four corners again with the body drawn out to a point at the
/// picture's outer corner (top left, top right, bottom left, bottom right).
[[nodiscard]] std::array<ColorImage, 13> drawHintBubble();
/// The host's bell on a small brass plaque, 64 x 34 (the plaque in the top
/// 21 rows, the rest clear), for the bubble's foot.
[[nodiscard]] ColorImage drawHostFooter();

/// The ten backgrounds a player may choose for the playing screen, 800 x
/// 600: cloths, woods and stones under the screen's own furniture, which is
/// taken from the game types' backgrounds `typeBackgrounds`.
[[nodiscard]] std::array<ColorImage, 10>
drawChoiceBackgrounds(const std::array<ColorImage, 6>& typeBackgrounds);
/// A background's preview, 171 x 228: a gold frame around the picture at
/// (4, 5), 163 x 218, with a few tiles lying on the surface.
[[nodiscard]] ColorImage drawBackgroundThumb(const ColorImage& background,
                                             const std::array<ColorImage, 3>& tiles);
/// A tile set's preview, 94 x 228: three of its tiles stacked inside
/// (17, 16, 60 x 196) on dark cloth, in a gold frame.
[[nodiscard]] ColorImage drawTileSetThumb(const std::array<ColorImage, 3>& tiles);
/// The padlock over a locked choice, 56 x 68.
[[nodiscard]] ColorImage drawLock();
/// The red "NEW" ribbon over a newly unlocked choice, 70 x 30.
[[nodiscard]] ColorImage drawNewBadge();
/// The chooser's round arrow button, four 36 x 36 frames stacked (normal,
/// over, pressed, disabled), pointing right (`right`) or left.
[[nodiscard]] ColorImage drawArrowButton(bool right);

/// Everything above into `media`, with a row of the contact sheet.
void addChooserArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

} // namespace orv::media
