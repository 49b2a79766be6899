#pragma once

namespace orv {

class Image;

/// Three colour channels: red, green and blue as 0..255, or hue,
/// saturation and value as 0..1 (a hue of 1 is one full turn).
struct ColourTriple {
    float a = 0.0F;
    float b = 0.0F;
    float c = 0.0F;
};

/// Red, green, blue (0..255) to hue, saturation, value (0..1).
[[nodiscard]] ColourTriple rgbToHsv(const ColourTriple& rgb);
/// Hue, saturation, value to red, green, blue, each x 255 + 0.5 so that
/// truncating rounds. Any hue is taken modulo one turn; a hue that is not a
/// number reads as 0.
[[nodiscard]] ColourTriple hsvToRgb(const ColourTriple& hsv);

/// Turns the pixels of the rectangle (x, y, width, height) of `image` grey:
/// (3 R + 6 G + B) / 10 on the 5-bit fields of a 16-bit image (green's
/// lowest bit cleared) or the 8-bit channels of a 32-bit one (alpha kept).
/// The part of the rectangle outside the image is left out; an image that
/// cannot be locked or has no colour pixels is left alone.
void greyImageRect(Image& image, int x, int y, int width, int height);

/// Turns the hue of every pixel of `image` whose byte in `mask`'s alpha
/// plane is above 0 by `hueShift` turns. The mask must have an alpha plane
/// of the image's width and height; any other mask (or an image without
/// colour pixels) leaves the image unchanged.
void applyHueMask(Image& image, Image& mask, float hueShift);

} // namespace orv
