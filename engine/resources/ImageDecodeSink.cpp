#include "engine/resources/ImageDecodeSink.h"

#include "engine/core/Log.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ImageDecoders.h"

#include <cstring>
#include <fstream>

namespace orv {

ImageDecodeSink::ImageDecodeSink(unsigned flags, bool greySource)
    : flags_(flags), greySource_(greySource) {}

bool ImageDecodeSink::begin(int width, int height) {
    if ((flags_ & kDecodeMaskOnly) != 0) {
        image_ = createImage(width, height, kFormatAlpha);
    } else {
        const int format =
            getDisplayBytesPerPixel() == kFormatRgb565 ? kFormatRgb565 : kFormatArgb32;
        // Not marked to follow the display yet: a display change while the
        // loader thread writes the rows must not convert them under it.
        image_ = createImage(width, height, format);
    }
    if (!image_ || !image_->lock()) {
        image_ = nullptr;
        return false;
    }
    return true;
}

void ImageDecodeSink::writeRow(int y, const std::uint8_t* rgba) {
    Image& image = *image_;
    const int width = image.getWidth();
    const std::size_t planeRow = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    const bool alphaFromGrey = greySource_ && (flags_ & kDecodeAlphaFromGrey) != 0;
    switch (image.getFormat()) {
    case kFormatAlpha:
        for (int x = 0; x < width; ++x) {
            image.getAlpha()[planeRow + x] = rgba[x * 4];
        }
        break;
    case kFormatRgb565: {
        std::uint8_t* row = image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch();
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rgba + static_cast<std::ptrdiff_t>(x) * 4;
            std::uint16_t colour = 0;
            std::uint8_t alpha = p[0];
            if (!alphaFromGrey) {
                colour = static_cast<std::uint16_t>(((p[0] & 0xF8U) << 8) | ((p[1] & 0xFCU) << 3) |
                                                    (p[2] >> 3));
                alpha = p[3];
            }
            std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 2, &colour, 2);
            image.getAlpha()[planeRow + x] = alpha;
        }
        break;
    }
    default: {
        std::uint8_t* row = image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch();
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rgba + static_cast<std::ptrdiff_t>(x) * 4;
            // Alpha from grey: black, with the grey value as its alpha.
            const std::uint32_t pixel = alphaFromGrey ? std::uint32_t{p[0]} << 24
                                                      : (std::uint32_t{p[3]} << 24) |
                                                            (std::uint32_t{p[0]} << 16) |
                                                            (std::uint32_t{p[1]} << 8) | p[2];
            std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 4, &pixel, 4);
        }
        break;
    }
    }
}

RefPtr<Image> ImageDecodeSink::finish() {
    if (image_) {
        image_->unlock();
        if ((flags_ & (kDecodeMaskOnly | kDecodeDeferDisplayFormat)) == 0) {
            adoptDisplayFormat(*image_);
        }
    }
    return std::move(image_);
}

bool readImageFile(const std::string& path, std::vector<std::uint8_t>& content) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        logWarning("Image: cannot open " + path);
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size <= 0 || size > static_cast<std::streamoff>(FileArchive::kMaxFileSize)) {
        logWarning("Image: " + path + " is empty or too large");
        return false;
    }
    content.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(content.data()), size)) {
        logWarning("Image: cannot read " + path);
        return false;
    }
    return true;
}

} // namespace orv
