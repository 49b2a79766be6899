#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"
#include "tools/media/Synth.h"

#include <vector>

namespace orv::media {

/// The falling-tiles game's playfield, 800 x 600: a starry night over the
/// town's roofs, with the moon high on the right. Opaque.
[[nodiscard]] ColorImage drawMiniGameField();
/// A gold cup with two handles, 72 x 88, its bowl open at the top: the
/// game's gun, and a trophy.
[[nodiscard]] ColorImage drawGoldCup();
/// A shot of light, 18 x 34: a white core in a gold glow.
[[nodiscard]] ColorImage drawShotLight();
/// A shield bar, 220 x 18: a jade rod with a seam of light.
[[nodiscard]] ColorImage drawShieldBar();
/// A four-pointed star of light on a soft glow, `size` x `size`.
[[nodiscard]] ColorImage drawStarSpark(int size);
/// The game's laser and pick-up sounds and its cleared-level fanfare.
[[nodiscard]] std::vector<SoundEffect> synthesiseMiniGameSounds();

/// The game's pictures and sounds into `media`, with a row of the contact
/// sheet.
void addMiniGameMedia(MediaSet& media, Gallery& sheet);

} // namespace orv::media
