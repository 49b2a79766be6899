#include "engine/graphics/PixelWorkers16.h"

#include "engine/graphics/PixelAccess.h"
#include "engine/graphics/PixelRows16.h"
#include "engine/resources/Image.h"

#include <cassert>
#include <cstddef>
#include <cstring>

namespace orv {

namespace {

std::uint16_t* row16(const Image& image, int x, int y) {
    return pixelAt<std::uint16_t>(image, x, y);
}

const std::uint32_t* row32(const Image& image, int x, int y) {
    return pixelAt<const std::uint32_t>(image, x, y);
}

std::uint8_t* planeRow(const Image& image, int x, int y) {
    return planeAt(image, x, y);
}

// Which buffers of an image a worker reads or writes.
enum Needs : unsigned { kPixels = 1U, kPlane = 2U };

bool has(const Image& image, unsigned needs) {
    return ((needs & kPixels) == 0 || image.getPixels() != nullptr) &&
           ((needs & kPlane) == 0 || image.getAlpha() != nullptr);
}

// Runs `rowWork(row)` for each row of a rectangle of one or two images, with
// the images locked and the buffers named by the needs present. The work gets
// the row index and looks up its own rows.
template <class RowWork>
void forEachRow(Image* source, unsigned sourceNeeds, Image& target, unsigned targetNeeds,
                int height, RowWork rowWork) {
    const WorkerLock lock(source, target);
    if (!lock.locked() || (source != nullptr && !has(*source, sourceNeeds)) ||
        !has(target, targetNeeds)) {
        return;
    }
    for (int row = 0; row < height; ++row) {
        rowWork(row);
    }
}

// A copy-shaped operation between two 16-bit words rows with the source plane.
template <class RowWork>
void sourceRows(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                int dstY, unsigned sourceNeeds, RowWork rowWork) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    if (width <= 0) {
        return;
    }
    forEachRow(&source, sourceNeeds, target, kPixels, height, [&](int row) {
        rowWork(row16(target, dstX, dstY + row),
                (sourceNeeds & kPixels) != 0 ? row16(source, srcX, srcY + row) : nullptr,
                (sourceNeeds & kPlane) != 0 ? planeRow(source, srcX, srcY + row) : nullptr);
    });
}

template <class RowWork>
void targetRows(Image& target, unsigned needs, int x, int y, int width, int height,
                RowWork rowWork) {
    assert(insideImage(target, x, y, width, height));
    if (width <= 0) {
        return;
    }
    forEachRow(nullptr, 0, target, needs, height, [&](int row) { rowWork(x, y + row); });
}

using channel_rule::kAlways;
using channel_rule::kIfLarger;
using channel_rule::kIfSmaller;

// Target plane bytes from the source plane, where `accept` says so.
template <class Accept>
void planeFromPlane(Image& target, Image& source, int srcX, int srcY, int width, int height,
                    int dstX, int dstY, Accept accept) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    if (width <= 0) {
        return;
    }
    forEachRow(&source, kPlane, target, kPlane, height, [&](int row) {
        std::uint8_t* d = planeRow(target, dstX, dstY + row);
        const std::uint8_t* s = planeRow(source, srcX, srcY + row);
        for (int i = 0; i < width; ++i) {
            if (accept(d[i], s[i])) {
                d[i] = s[i];
            }
        }
    });
}

// Target plane bytes from a channel of a 32-bit source, where `accept` says so.
template <class Accept>
void planeFromChannel(Image& target, Image& source, int srcX, int srcY, int width, int height,
                      int dstX, int dstY, int channel, Accept accept) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    if (!isChannel(channel) || width <= 0) {
        return;
    }
    const int shift = channelShift(channel);
    forEachRow(&source, kPixels, target, kPlane, height, [&](int row) {
        std::uint8_t* d = planeRow(target, dstX, dstY + row);
        const std::uint32_t* s = row32(source, srcX, srcY + row);
        for (int i = 0; i < width; ++i) {
            const auto value = static_cast<std::uint8_t>((s[i] >> shift) & 0xFFU);
            if (accept(d[i], value)) {
                d[i] = value;
            }
        }
    });
}

} // namespace

void copyOpaque16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY) {
    sourceRows(target, source, srcX, srcY, width, height, dstX, dstY, kPixels,
               [width](std::uint16_t* d, const std::uint16_t* s, const std::uint8_t*) {
                   pixel16::copyRow(d, s, width);
               });
}

void copyPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                 int dstY) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    if (width <= 0) {
        return;
    }
    forEachRow(&source, kPlane, target, kPlane, height, [&](int row) {
        // memmove: an image may be copied onto itself.
        std::memmove(planeRow(target, dstX, dstY + row), planeRow(source, srcX, srcY + row),
                     static_cast<std::size_t>(width));
    });
}

void copyAlpha16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                 int dstY, int g) {
    sourceRows(target, source, srcX, srcY, width, height, dstX, dstY, kPixels,
               [width, g](std::uint16_t* d, const std::uint16_t* s, const std::uint8_t*) {
                   pixel16::copyAlphaRow(d, s, width, g);
               });
}

void blendNormal16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY) {
    sourceRows(target, source, srcX, srcY, width, height, dstX, dstY, kPixels | kPlane,
               [width](std::uint16_t* d, const std::uint16_t* s, const std::uint8_t* a) {
                   pixel16::blendNormalRow(d, s, a, width);
               });
}

void blendNormalAlpha16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                        int dstX, int dstY, int g) {
    sourceRows(target, source, srcX, srcY, width, height, dstX, dstY, kPixels | kPlane,
               [width, g](std::uint16_t* d, const std::uint16_t* s, const std::uint8_t* a) {
                   pixel16::blendNormalAlphaRow(d, s, a, width, g);
               });
}

void blendAdditive16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                     int dstX, int dstY, int g) {
    sourceRows(target, source, srcX, srcY, width, height, dstX, dstY, kPixels | kPlane,
               [width, g](std::uint16_t* d, const std::uint16_t* s, const std::uint8_t* a) {
                   pixel16::blendAdditiveRow(d, s, a, width, g);
               });
}

void drawMasked16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, std::uint16_t colour, int g) {
    sourceRows(target, source, srcX, srcY, width, height, dstX, dstY, kPlane,
               [width, colour, g](std::uint16_t* d, const std::uint16_t*, const std::uint8_t* m) {
                   pixel16::drawMaskedRow(d, m, width, colour, g);
               });
}

void copyChannelToPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                          int dstX, int dstY, int channel) {
    planeFromChannel(target, source, srcX, srcY, width, height, dstX, dstY, channel, kAlways);
}

void minPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                int dstY) {
    planeFromPlane(target, source, srcX, srcY, width, height, dstX, dstY, kIfSmaller);
}

void maxPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                int dstY) {
    planeFromPlane(target, source, srcX, srcY, width, height, dstX, dstY, kIfLarger);
}

void minChannelToPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                         int dstX, int dstY, int channel) {
    planeFromChannel(target, source, srcX, srcY, width, height, dstX, dstY, channel, kIfSmaller);
}

void maxChannelToPlane16(Image& target, Image& source, int srcX, int srcY, int width, int height,
                         int dstX, int dstY, int channel) {
    planeFromChannel(target, source, srcX, srcY, width, height, dstX, dstY, channel, kIfLarger);
}

void fillOpaque16(Image& target, int x, int y, int width, int height, std::uint16_t colour) {
    targetRows(target, kPixels, x, y, width, height, [&](int px, int py) {
        pixel16::fillOpaqueRow(row16(target, px, py), width, colour);
    });
}

void fillAlpha16(Image& target, int x, int y, int width, int height, std::uint16_t colour, int g) {
    targetRows(target, kPixels, x, y, width, height, [&](int px, int py) {
        pixel16::fillAlphaRow(row16(target, px, py), width, colour, g);
    });
}

void fillPlane16(Image& target, int x, int y, int width, int height, int value) {
    const auto byte = static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFU);
    targetRows(target, kPlane, x, y, width, height, [&](int px, int py) {
        std::memset(planeRow(target, px, py), byte, static_cast<std::size_t>(width));
    });
}

void fillField16(Image& target, int x, int y, int width, int height, int channel, int value) {
    if (channel < 1 || channel > 3) {
        return;
    }
    targetRows(target, kPixels, x, y, width, height, [&](int px, int py) {
        std::uint16_t* d = row16(target, px, py);
        for (int i = 0; i < width; ++i) {
            d[i] = pixel16::withField(d[i], channel, value);
        }
    });
}

void plotOpaque16(Image& target, int x, int y, std::uint32_t colour) {
    fillOpaque16(target, x, y, 1, 1, static_cast<std::uint16_t>(colour));
}

void plotAlpha16(Image& target, int x, int y, std::uint32_t colour, int a) {
    targetRows(target, kPixels, x, y, 1, 1, [&](int px, int py) {
        std::uint16_t* d = row16(target, px, py);
        *d = pixel16::lerpWord(*d, static_cast<std::uint16_t>(colour), a);
    });
}

void setFieldPixel16(Image& target, int x, int y, int channel, int value) {
    fillField16(target, x, y, 1, 1, channel, value);
}

void drawStraightLine16(Image& target, int x1, int y1, int x2, int y2, std::uint16_t colour) {
    if (x1 == x2) {
        if (y1 > y2) {
            return;
        }
        fillOpaque16(target, x1, y1, 1, y2 - y1 + 1, colour);
    } else {
        if (x1 > x2) {
            return;
        }
        fillOpaque16(target, x1, y1, x2 - x1 + 1, 1, colour);
    }
}

} // namespace orv
