#pragma once

#include "tools/media/Raster.h"

#include <array>

namespace orv::media {

/// The nine pieces of the dialog frame in the painter's order: top-left,
/// top, top-right, left, centre, right, bottom-left, bottom, bottom-right.
/// The rim is 24 pixels deep with a soft shadow around it (2 pixels at the
/// top and left, 4 at the bottom and right), so the top and left pieces are
/// 26 deep and the bottom and right ones 28; edges are 8 pixels long and the
/// centre is a 64 x 64 tile. Edges and centre tile without seams; outside the
/// rounded rim the pieces hold only the shadow's partial alpha.
[[nodiscard]] std::array<ColorImage, 9> drawDialogFrame();

/// A button strip of four frames stacked top to bottom (normal, over,
/// pressed, disabled), each `width` x `height`, without a caption.
[[nodiscard]] ColorImage drawButtonStrip(int width, int height);

/// The full-screen handler's buttons, four frames each like a button strip.
enum class WindowButton { Minimize, Restore, Quit };
[[nodiscard]] ColorImage drawWindowButton(WindowButton kind);

/// The window icon, `size` x `size`: an ivory tile bearing a many-storeyed
/// red tower with gold roofs.
[[nodiscard]] ColorImage drawWindowIcon(int size);

/// The trophy medal, `size` x `size`, transparent outside the disc.
[[nodiscard]] ColorImage drawMedal(int size);

/// The lobby wall, 800 x 600, opaque: lacquered panels with gold inlay.
[[nodiscard]] ColorImage drawLobbyWall();

/// Copies `source` over `target` at (x, y) with alpha blending.
void blit(ColorImage& target, const ColorImage& source, int x, int y);

} // namespace orv::media
