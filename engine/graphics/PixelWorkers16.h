#pragma once

#include "engine/graphics/Graphics.h"
#include "engine/graphics/Rotation.h"
#include "engine/graphics/TransformSetup.h"

#include <cstdint>

namespace orv {

class Image;

// The 16-bit pixel workers: the inner loop of one drawing operation in one
// mode on a 16-bit target (RGB565 words and a separate alpha plane of one byte
// per pixel, rows of exactly the image width). `Graphics16` translates and
// clips first; a worker of the plain kind receives a rectangle that already
// lies wholly inside both images (asserted) and does no clipping of its own.
//
// Arguments: the target image, then the source image where there is one, the
// source rectangle's origin and size, the target origin, then what the mode
// needs: g the global alpha 0..255, a colour word (RGB565, the context's
// native colour), a channel index and a value. Each worker locks the source
// (if any) and then the target, and unlocks them in the same order; when a
// lock fails, or a plane the worker reads or writes is missing (a surface
// image has none), nothing is drawn. Main thread only.
//
// Sources: the colour workers read 16-bit sources (their plane for the
// per-pixel alpha), the mask worker a mask (format 1), the "ToPlane" workers
// a 32-bit source. Per-field rules are those of PixelRows16.h.

/// D = S, the words only (`drawImage` without alpha channel at g 255; the
/// first half of `copyImage`).
void copyOpaque16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY);
/// Target plane byte = source plane byte (the second half of `copyImage`;
/// `copyChannel` on channel 0 from a source that is not 32-bit).
void copyPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                 int dstY);
/// Each field lerp(D, S, g) (`drawImage` without alpha channel, g below 255).
void copyAlpha16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                 int dstY, int g);
/// Each field lerp(D, S, a), a the plane byte, with the group shortcuts of
/// `pixel16::blendNormalRow` (`drawImage`, `BlendNormal`, g 255).
void blendNormal16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY);
/// w = floor(a * g / 256); each field lerp(D, S, w) (`BlendNormal`, g below 255).
void blendNormalAlpha16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                        int dstX, int dstY, int g);
/// w = floor(a * g / 256); each field D + floor(S * w / 256), saturated
/// (`drawImage`, `BlendAdditive`).
void blendAdditive16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                     int dstX, int dstY, int g);
/// The colour word through the mask's bytes times g (`drawImage` of a mask).
void drawMasked16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, std::uint16_t colour, int g);

/// Target plane byte = channel `channel` of the 32-bit source (0 alpha,
/// 1 red, 2 green, 3 blue; above 3 nothing).
void copyChannelToPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                          int dstX, int dstY, int channel);
/// Target plane byte = min / max of itself and the source plane byte.
void minPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                int dstY);
void maxPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                int dstY);
/// Target plane byte = min / max of itself and channel `channel` of the
/// 32-bit source.
void minChannelToPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                         int dstX, int dstY, int channel);
void maxChannelToPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                         int dstX, int dstY, int channel);

/// D = colour over the rectangle (`fillRect`, g 255).
void fillOpaque16(Image& target, int x, int y, int width, int height, std::uint16_t colour);
/// Each field lerp(D, colour, g) (`fillRect`, g below 255).
void fillAlpha16(Image& target, int x, int y, int width, int height, std::uint16_t colour, int g);
/// Target plane byte = the low byte of `value` (`setChannelRect`, channel 0;
/// `setChannelPixel`, channel 0, over one pixel).
void fillPlane16(Image& target, int x, int y, int width, int height, int value);
/// Field `channel` (1-3) of every word receives `value` as
/// `pixel16::withField` says (`setChannelRect`, channels 1-3).
void fillField16(Image& target, int x, int y, int width, int height, int channel, int value);

/// One pixel: D = colour (`plot`, g 255).
void plotOpaque16(Image& target, int x, int y, std::uint32_t colour);
/// One pixel: each field lerp(D, colour, a) for a weight of 0..255 (`plot`
/// below g 255, and the anti-aliased line). `colour` is the RGB565 word; its
/// form matches `WeightedPlot` (SmoothLine.h).
void plotAlpha16(Image& target, int x, int y, std::uint32_t colour, int a);
/// One pixel: field `channel` (1-3) receives `value`.
void setFieldPixel16(Image& target, int x, int y, int channel, int value);
/// A vertical (x1 == x2) or horizontal segment, both ends included, from the
/// first to the second coordinate: D = colour. Nothing when the start lies
/// after the end.
void drawStraightLine16(Image& target, int x1, int y1, int x2, int y2, std::uint16_t colour);

// Rotated and stretched drawing onto a 16-bit target from a 16-bit source.
// They follow their 32-bit twins (TransformWorkers32.h) step for step: the
// same walk, clip and sampling, with three differences. The four samples of a
// smooth position are interpolated field by field (each weighted sum of the
// masked field values truncated and masked back into its field); the source
// alpha is the source plane byte; and writing is: opaque D = sample; constant
// alpha each field lerp(D, sample, g); per-pixel alpha the weight rule of the
// 32-bit blends (w <= 5 leaves the pixel, w > 250 stores the sample word,
// otherwise the per-field lerp; the stretch's unfiltered samples use the lerp
// without thresholds). The blending variants draw nothing from a source
// without a plane.

void rotateOpaque16(Image& target, Image& source, const SourceRect& sourceRect,
                    const RotationSetup& setup, bool smooth);
void rotateAlpha16(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g);
void rotateBlend16(Image& target, Image& source, const SourceRect& sourceRect,
                   const RotationSetup& setup, bool smooth, int g);

void stretchOpaque16(Image& target, Image& source, const SourceRect& sourceRect,
                     const StretchTarget& destination, const Rect& clip, bool smooth);
void stretchAlpha16(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g);
void stretchBlend16(Image& target, Image& source, const SourceRect& sourceRect,
                    const StretchTarget& destination, const Rect& clip, bool smooth, int g);

} // namespace orv
