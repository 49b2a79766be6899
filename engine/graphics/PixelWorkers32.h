#pragma once

#include <cstdint>

namespace orv {

class Image;

// The 32-bit pixel workers: the inner loop of one drawing operation in one
// mode on a 32-bit (0xAARRGGBB) target. `Graphics32` translates and clips
// first; a worker receives a rectangle that already lies wholly inside both
// images (asserted) and does no clipping of its own.
//
// Arguments: the target image, then the source image where there is one, the
// source rectangle's origin and size, the target origin, then what the mode
// needs: g the global alpha 0..255, a colour 0xAARRGGBB (only R, G, B used),
// a channel index (0 alpha, 1 red, 2 green, 3 blue; above 3 writes nothing)
// and a channel value. Each worker locks the source (if any) and then the
// target, and unlocks them in the same order; when a lock fails nothing is
// drawn. Rows of colour pixels are walked by each image's pitch, rows of an
// alpha plane by its image's width. Main thread only.
//
// "D.a kept": the target's alpha byte is left as it was. The per-pixel rules
// are those of PixelRows32.h.

/// D = S, all 32 bits (`copyImage`). Source of format 4.
void copyPixels32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY);
/// D.rgb = S.rgb, D.a kept (`drawImage`, source without alpha channel, g 255).
void copyOpaque32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY);
/// Every byte D + floor(S g / 256) - floor(D g / 256), saturated (`drawImage`,
/// source without alpha channel, g below 255).
void copyAlpha32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                 int dstY, int g);
/// Per-pixel alpha times g, normal blend (`drawImage`, `BlendNormal`).
void blendNormal32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY, int g);
/// Per-pixel alpha times g, additive (`drawImage`, `BlendAdditive`).
void blendAdditive32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                     int dstX, int dstY, int g);
/// The colour through the source's alpha plane (a mask, format 1) times g.
void drawMasked32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, std::uint32_t colour, int g);

/// Channel `channel` of D = that channel of S (source of format 4).
void copyChannel32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY, int channel);
/// Channel `channel` of D = the source's alpha-plane byte (format 1 or 2).
void copyChannelFromPlane32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                            int dstX, int dstY, int channel);
/// Channel of D = min / max of itself and that channel of S (format 4).
void minChannel32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, int channel);
void maxChannel32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, int channel);
/// Channel of D = min / max of itself and the source's alpha-plane byte.
void minChannelFromPlane32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                           int dstX, int dstY, int channel);
void maxChannelFromPlane32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                           int dstX, int dstY, int channel);

/// D.rgb = colour, D.a kept, over the rectangle (`fillRect`, g 255).
void fillOpaque32(Image& target, int x, int y, int width, int height, std::uint32_t colour);
/// R, G, B = lerp(D, colour, g), D.a kept (`fillRect`, g below 255).
void fillAlpha32(Image& target, int x, int y, int width, int height, std::uint32_t colour, int g);
/// Channel of D = value (its low byte) over the rectangle (`setChannelRect`).
void fillChannel32(Image& target, int x, int y, int width, int height, int channel, int value);

/// One pixel: D.rgb = colour, D.a kept.
void plotOpaque32(Image& target, int x, int y, std::uint32_t colour);
/// One pixel: R, G, B = lerp(D, colour, a) for a weight a of 0..255, D.a kept.
void plotAlpha32(Image& target, int x, int y, std::uint32_t colour, int a);
/// One pixel: channel of D = value.
void setChannelPixel32(Image& target, int x, int y, int channel, int value);
/// A vertical (x1 == x2) or horizontal segment, both ends included, from the
/// first to the second coordinate: D.rgb = colour, D.a kept. Nothing when the
/// start lies after the end.
void drawStraightLine32(Image& target, int x1, int y1, int x2, int y2, std::uint32_t colour);

} // namespace orv
