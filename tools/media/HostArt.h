#pragma once

#include "tools/media/Paint.h"

namespace orv::media {

/// The host, the building's bell captain, as every picture of him shows him:
/// head and shoulders in a red lacquer tunic with gold epaulettes, lapels piped
/// in gold, a crossed-keys pin, a bow tie and a pillbox cap with a gold band.
/// He is drawn in a 126 x 172 box standing on its lower edge; his eyes lie
/// in the box's rectangle (38, 66, 52 x 16), so blink frames cut from there
/// cover them. `lids` 0..1 closes his eyes.
///
/// Returns a transparent `width` x `height` picture holding the box scaled by
/// `scale` with its top-left corner at (`x`, `y`), painted four times larger
/// and shrunk; his shadow falls inside the picture, down and to the right.
[[nodiscard]] Pixmap drawHostFigure(int width, int height, double scale, double x, double y,
                                    double lids);

/// The host at his full size painted over `picture` with the box's top-left
/// corner at (`ox`, `oy`).
void paintHostPortrait(Pixmap& picture, int ox, int oy, double lids);

/// The host's cameo painted over `picture`: his head and shoulders on jade
/// in an oval gilt rim centred on (`cx`, `cy`), 25 x 31 `unit`s (the window
/// inside 20 x 26), with its shadow. Paint it large and shrink the picture
/// for a smooth rim.
void paintHostCameo(Pixmap& picture, double cx, double cy, double unit);

/// The cameo alone on a clear ground, 76 x 92, for the boxes in which the
/// host speaks.
[[nodiscard]] ColorImage drawHostCameo();

} // namespace orv::media
