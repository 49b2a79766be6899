#include "engine/graphics/PixelWorkers32.h"

#include "engine/graphics/PixelAccess.h"
#include "engine/graphics/PixelRows32.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <cassert>

namespace orv {

namespace {

std::uint32_t* rowOf32(const Image& image, int x, int y) {
    return pixelAt<std::uint32_t>(image, x, y);
}

const std::uint8_t* planeRowOf(const Image& image, int x, int y) {
    return planeAt(image, x, y);
}

// Runs `rowWork(targetRow, sourceRow)` over the rows of a copy between two
// 32-bit images, with the images locked.
template <class RowWork>
void forEachRow32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, RowWork rowWork) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    const WorkerLock lock(&source, target);
    if (!lock.locked() || target.getPixels() == nullptr || source.getPixels() == nullptr ||
        width <= 0) {
        return;
    }
    for (int row = 0; row < height; ++row) {
        rowWork(rowOf32(target, dstX, dstY + row), rowOf32(source, srcX, srcY + row));
    }
}

// The same from a source's alpha plane (masks and 16-bit images).
template <class RowWork>
void forEachPlaneRow(Image& target, Image& source, int srcX, int srcY, int width, int height,
                     int dstX, int dstY, RowWork rowWork) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    const WorkerLock lock(&source, target);
    if (!lock.locked() || target.getPixels() == nullptr || source.getAlpha() == nullptr ||
        width <= 0) {
        return;
    }
    for (int row = 0; row < height; ++row) {
        rowWork(rowOf32(target, dstX, dstY + row), planeRowOf(source, srcX, srcY + row));
    }
}

template <class RowWork>
void forEachTargetRow(Image& target, int x, int y, int width, int height, RowWork rowWork) {
    assert(insideImage(target, x, y, width, height));
    const WorkerLock lock(nullptr, target);
    if (!lock.locked() || target.getPixels() == nullptr || width <= 0) {
        return;
    }
    for (int row = 0; row < height; ++row) {
        rowWork(rowOf32(target, x, y + row));
    }
}

// Replaces channel `shift` of each target pixel by `value(i)` when `accept`
// says so for the old and the new channel value.
template <class Value, class Accept>
void writeChannel(std::uint32_t* target, int count, int shift, Value value, Accept accept) {
    const std::uint32_t keep = ~(0xFFU << shift);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t newValue = value(i);
        const std::uint32_t oldValue = (target[i] >> shift) & 0xFFU;
        if (accept(oldValue, newValue)) {
            target[i] = (target[i] & keep) | (newValue << shift);
        }
    }
}

using channel_rule::kAlways;
using channel_rule::kIfLarger;
using channel_rule::kIfSmaller;

template <class Accept>
void channelFrom32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY, int channel, Accept accept) {
    if (!isChannel(channel)) {
        return;
    }
    const int shift = channelShift(channel);
    forEachRow32(target, source, srcX, srcY, width, height, dstX, dstY,
                 [&](std::uint32_t* d, const std::uint32_t* s) {
                     writeChannel(
                         d, width, shift, [&](int i) { return (s[i] >> shift) & 0xFFU; }, accept);
                 });
}

template <class Accept>
void channelFromPlane(Image& target, Image& source, int srcX, int srcY, int width, int height,
                      int dstX, int dstY, int channel, Accept accept) {
    if (!isChannel(channel)) {
        return;
    }
    const int shift = channelShift(channel);
    forEachPlaneRow(target, source, srcX, srcY, width, height, dstX, dstY,
                    [&](std::uint32_t* d, const std::uint8_t* plane) {
                        writeChannel(
                            d, width, shift, [&](int i) { return std::uint32_t{plane[i]}; },
                            accept);
                    });
}

} // namespace

void copyPixels32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY) {
    forEachRow32(
        target, source, srcX, srcY, width, height, dstX, dstY,
        [width](std::uint32_t* d, const std::uint32_t* s) { pixel32::copyRow(d, s, width); });
}

void copyOpaque32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY) {
    assert(insideImage(source, srcX, srcY, width, height));
    assert(insideImage(target, dstX, dstY, width, height));
    const WorkerLock lock(&source, target);
    if (!lock.locked() || target.getPixels() == nullptr || source.getPixels() == nullptr ||
        width <= 0 || height <= 0) {
        return;
    }
    pixel32::copyOpaqueRect(rowOf32(target, dstX, dstY), target.getPitch() / 4,
                            rowOf32(source, srcX, srcY), source.getPitch() / 4, width, height);
}

void copyAlpha32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                 int dstY, int g) {
    forEachRow32(target, source, srcX, srcY, width, height, dstX, dstY,
                 [width, g](std::uint32_t* d, const std::uint32_t* s) {
                     pixel32::copyAlphaRow(d, s, width, g);
                 });
}

void blendNormal32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY, int g) {
    forEachRow32(target, source, srcX, srcY, width, height, dstX, dstY,
                 [width, g](std::uint32_t* d, const std::uint32_t* s) {
                     pixel32::blendNormalRow(d, s, width, g);
                 });
}

void blendAdditive32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                     int dstX, int dstY, int g) {
    forEachRow32(target, source, srcX, srcY, width, height, dstX, dstY,
                 [width, g](std::uint32_t* d, const std::uint32_t* s) {
                     pixel32::blendAdditiveRow(d, s, width, g);
                 });
}

void drawMasked32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, std::uint32_t colour, int g) {
    forEachPlaneRow(target, source, srcX, srcY, width, height, dstX, dstY,
                    [width, colour, g](std::uint32_t* d, const std::uint8_t* mask) {
                        pixel32::drawMaskedRow(d, mask, width, colour, g);
                    });
}

void copyChannel32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                   int dstX, int dstY, int channel) {
    channelFrom32(target, source, srcX, srcY, width, height, dstX, dstY, channel, kAlways);
}

void copyChannelFromPlane32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                            int dstX, int dstY, int channel) {
    channelFromPlane(target, source, srcX, srcY, width, height, dstX, dstY, channel, kAlways);
}

void minChannel32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, int channel) {
    channelFrom32(target, source, srcX, srcY, width, height, dstX, dstY, channel, kIfSmaller);
}

void maxChannel32(Image& target, Image& source, int srcX, int srcY, int width, int height, int dstX,
                  int dstY, int channel) {
    channelFrom32(target, source, srcX, srcY, width, height, dstX, dstY, channel, kIfLarger);
}

void minChannelFromPlane32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                           int dstX, int dstY, int channel) {
    channelFromPlane(target, source, srcX, srcY, width, height, dstX, dstY, channel, kIfSmaller);
}

void maxChannelFromPlane32(Image& target, Image& source, int srcX, int srcY, int width, int height,
                           int dstX, int dstY, int channel) {
    channelFromPlane(target, source, srcX, srcY, width, height, dstX, dstY, channel, kIfLarger);
}

void fillOpaque32(Image& target, int x, int y, int width, int height, std::uint32_t colour) {
    forEachTargetRow(target, x, y, width, height, [width, colour](std::uint32_t* d) {
        pixel32::fillOpaqueRow(d, width, colour);
    });
}

void fillAlpha32(Image& target, int x, int y, int width, int height, std::uint32_t colour, int g) {
    forEachTargetRow(target, x, y, width, height, [width, colour, g](std::uint32_t* d) {
        pixel32::fillAlphaRow(d, width, colour, g);
    });
}

void fillChannel32(Image& target, int x, int y, int width, int height, int channel, int value) {
    if (!isChannel(channel)) {
        return;
    }
    const int shift = channelShift(channel);
    const auto byte = static_cast<std::uint32_t>(value) & 0xFFU;
    forEachTargetRow(target, x, y, width, height, [&](std::uint32_t* d) {
        writeChannel(
            d, width, shift, [byte](int) { return byte; }, kAlways);
    });
}

void plotOpaque32(Image& target, int x, int y, std::uint32_t colour) {
    fillOpaque32(target, x, y, 1, 1, colour);
}

void plotAlpha32(Image& target, int x, int y, std::uint32_t colour, int a) {
    forEachTargetRow(target, x, y, 1, 1,
                     [colour, a](std::uint32_t* d) { *d = pixel32::lerpPixel(*d, colour, a); });
}

void setChannelPixel32(Image& target, int x, int y, int channel, int value) {
    fillChannel32(target, x, y, 1, 1, channel, value);
}

void drawStraightLine32(Image& target, int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (x1 == x2) {
        if (y1 > y2) {
            return;
        }
        forEachTargetRow(target, x1, y1, 1, y2 - y1 + 1,
                         [colour](std::uint32_t* d) { pixel32::fillOpaqueRow(d, 1, colour); });
    } else {
        if (x1 > x2) {
            return;
        }
        fillOpaque32(target, x1, y1, x2 - x1 + 1, 1, colour);
    }
}

} // namespace orv
