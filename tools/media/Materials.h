#pragma once

#include "tools/media/Paint.h"

#include <cstdint>

/// Procedural materials from seeded noise. Each is a function of size, seed
/// and palette and returns an opaque `width` x `height` Pixmap with the
/// surface's colour and texture, unlit: give it depth afterwards with a height
/// field and light() (Light.h). Unless a function says otherwise, the result
/// repeats without a seam every `width` x `height` pixels, so it also serves
/// as a tile.
namespace orv::media {

/// Wood colours: the late-wood lines, the body, the early-wood highlights.
struct WoodPalette {
    Rgba dark, mid, light;
};
/// The figure of the wood.
struct WoodGrain {
    double spacing = 9.0;  ///< pixels from one grain line to the next
    double waviness = 6.0; ///< how far the lines wander sideways, pixels
    bool vertical = true;  ///< the grain runs up and down (boards standing)
};
/// Sawn wood: wandering grain lines over a body that varies from board to
/// board, with fine pores along the grain.
[[nodiscard]] Pixmap wood(int width, int height, std::uint32_t seed, const WoodPalette& palette,
                          const WoodGrain& grain = {});
/// Polished veneer, book-matched: two mirrored leaves meeting in a chevron at
/// the vertical centre line, with a soft cross-figure sheen. Does not tile
/// (it is a panel's face).
[[nodiscard]] Pixmap veneer(int width, int height, std::uint32_t seed, const WoodPalette& palette);

/// Stone colours: the ground and the veins or clouds through it.
struct StonePalette {
    Rgba ground, vein;
};
/// Marble: a ground crossed by thin, creased veins.
[[nodiscard]] Pixmap marble(int width, int height, std::uint32_t seed, const StonePalette& palette);
/// Jade: cloudy translucent green with pale drifts and a few dark flecks.
[[nodiscard]] Pixmap jade(int width, int height, std::uint32_t seed, const StonePalette& palette);

/// Felt: a fine fibrous nap over a faint mottle.
[[nodiscard]] Pixmap felt(int width, int height, std::uint32_t seed, const Rgba& base);
/// Paper: broad soft mottling, fine fibres and a few specks.
[[nodiscard]] Pixmap paper(int width, int height, std::uint32_t seed, const Rgba& base);

/// Metal colours: shadowed, body, lit.
struct MetalPalette {
    Rgba deep, mid, light;
};
/// Brushed metal: fine streaks along x (or y when `horizontal` is false).
[[nodiscard]] Pixmap brushedMetal(int width, int height, std::uint32_t seed,
                                  const MetalPalette& palette, bool horizontal = true);

/// Lacquer colours: in the depth of the coat and where it is thin.
struct LacquerPalette {
    Rgba deep, bright;
};
/// Lacquer: a deep, nearly even colour with slow clouds under the coat.
[[nodiscard]] Pixmap lacquer(int width, int height, std::uint32_t seed,
                             const LacquerPalette& palette);

/// The game's own materials, from the palette (Palette.h).
[[nodiscard]] WoodPalette mahoganyWood();
[[nodiscard]] WoodPalette mahoganyVeneer();
[[nodiscard]] WoodPalette walnutWood();
[[nodiscard]] MetalPalette goldMetal();
[[nodiscard]] MetalPalette brassMetal();
[[nodiscard]] StonePalette jadeStone();
[[nodiscard]] StonePalette ivoryMarble();
[[nodiscard]] LacquerPalette redLacquer();

} // namespace orv::media
