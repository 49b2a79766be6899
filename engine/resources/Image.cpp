#include "engine/resources/Image.h"

#include "engine/core/Log.h"
#include "engine/resources/Compression.h"
#include "engine/resources/ImageDD.h"
#include "engine/resources/ImageManager.h"

#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>

namespace orv {

constinit const ClassRecord Image::classRecord{"Image", parentRecords<BaseObject::classRecord>};

namespace {

// Width × height in 64 bits: a header's sizes multiplied in 32 bits could wrap
// to a small number and under-allocate.
std::size_t pixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

bool isValidSide(int side) {
    return side >= 0 && side <= kMaxImageSide;
}

std::unique_ptr<std::uint8_t[]> allocateBytes(std::size_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]);
}

std::uint16_t argbTo565(std::uint32_t p) {
    return static_cast<std::uint16_t>(((p >> 8) & 0xF800U) | ((p >> 5) & 0x07E0U) |
                                      ((p >> 3) & 0x001FU));
}

// The low bits of each channel stay zero (not replicated), so a round trip of
// white gives 0xFFF8FCF8.
std::uint32_t rgb565ToArgb(std::uint16_t c, std::uint8_t alpha) {
    return (std::uint32_t{alpha} << 24) | ((c & 0xF800U) << 8) | ((c & 0x07E0U) << 5) |
           ((c & 0x001FU) << 3);
}

} // namespace

Image::Image() {
    if (ImageManager* manager = ImageManager::getInstance()) {
        manager->add(this);
        lastUsed_ = manager->getClock() - manager->getIdleThreshold() + 5;
    }
}

Image::~Image() {
    releaseBuffers();
    releaseCompressed();
    if (ImageManager* manager = ImageManager::getInstance()) {
        manager->remove(this);
    }
}

bool Image::lock() {
    if (hasCompressedCopies()) {
        uncompress();
    }
    if (pixels_ == nullptr && alpha_ == nullptr) {
        return false;
    }
    locked_ = true;
    return true;
}

bool Image::unlock() {
    locked_ = false;
    stampLastUsed();
    return true;
}

void Image::stampLastUsed() {
    if (ImageManager* manager = ImageManager::getInstance()) {
        lastUsed_ = std::max(lastUsed_, manager->getClock());
    }
}

std::int64_t Image::getIdleTime() const {
    if (locked_) {
        return 0;
    }
    const ImageManager* manager = ImageManager::getInstance();
    return (manager != nullptr ? manager->getClock() : 0) - lastUsed_;
}

bool Image::allocate(int format) {
    releaseBuffers();
    if (!isValidSide(width_) || !isValidSide(height_) ||
        (format != kFormatAlpha && format != kFormatRgb565 && format != kFormatArgb32)) {
        logError("Image: cannot allocate " + std::to_string(width_) + " x " +
                 std::to_string(height_) + " pixels of format " + std::to_string(format));
        return false;
    }
    const std::size_t count = pixelCount(width_, height_);
    std::unique_ptr<std::uint8_t[]> pixels;
    std::unique_ptr<std::uint8_t[]> alpha;
    if (count > 0 && format != kFormatAlpha) {
        pixels = allocateBytes(count * static_cast<std::size_t>(format));
    }
    if (count > 0 && format != kFormatArgb32) {
        alpha = allocateBytes(count);
    }
    const bool needPixels = count > 0 && format != kFormatAlpha;
    const bool needAlpha = count > 0 && format != kFormatArgb32;
    if ((needPixels && pixels == nullptr) || (needAlpha && alpha == nullptr)) {
        logError("Image: out of memory for " + std::to_string(width_) + " x " +
                 std::to_string(height_) + " pixels");
        return false;
    }
    format_ = format;
    pitch_ = format == kFormatAlpha ? 0 : width_ * format;
    ownedPixels_ = std::move(pixels);
    ownedAlpha_ = std::move(alpha);
    pixels_ = ownedPixels_.get();
    alpha_ = ownedAlpha_.get();
    ownsBuffers_ = true;
    return true;
}

void Image::releaseBuffers() {
    if (ownsBuffers_) {
        ownedPixels_.reset();
        ownedAlpha_.reset();
    }
    pixels_ = nullptr;
    alpha_ = nullptr;
}

void Image::releaseCompressed() {
    compressedPixels_ = {};
    compressedAlpha_ = {};
}

bool Image::compress() {
    if (!ownsBuffers_ || (pixels_ == nullptr && alpha_ == nullptr)) {
        return false;
    }
    const std::size_t count = pixelCount(width_, height_);
    bool compressed = true;
    if (pixels_ != nullptr) {
        compressedPixels_ = compressBuffer({pixels_, count * static_cast<std::size_t>(format_)});
        compressed = !compressedPixels_.empty();
    }
    if (compressed && alpha_ != nullptr) {
        compressedAlpha_ = compressBuffer({alpha_, count});
        compressed = !compressedAlpha_.empty();
    }
    if (!compressed) {
        // Incompressible pixels: keep them, and never try again.
        lastUsed_ = std::numeric_limits<std::int64_t>::max();
        releaseCompressed();
        return false;
    }
    releaseBuffers();
    return true;
}

namespace {

// The inflated copy as an owned block, or null when the copy is damaged or
// memory runs out.
std::unique_ptr<std::uint8_t[]> inflateCopy(const std::vector<std::uint8_t>& copy,
                                            std::size_t size) {
    std::optional<std::vector<std::uint8_t>> inflated = uncompressBuffer(copy, size);
    if (!inflated) {
        return nullptr;
    }
    auto block = allocateBytes(size);
    if (block != nullptr) {
        std::memcpy(block.get(), inflated->data(), size);
    }
    return block;
}

} // namespace

bool Image::uncompress() {
    if (!hasCompressedCopies()) {
        return false;
    }
    const std::size_t count = pixelCount(width_, height_);
    std::unique_ptr<std::uint8_t[]> pixels;
    std::unique_ptr<std::uint8_t[]> alpha;
    bool restored = true;
    if (!compressedPixels_.empty()) {
        pixels = inflateCopy(compressedPixels_, count * static_cast<std::size_t>(format_));
        restored = pixels != nullptr;
    }
    if (restored && !compressedAlpha_.empty()) {
        alpha = inflateCopy(compressedAlpha_, count);
        restored = alpha != nullptr;
    }
    releaseCompressed();
    if (!restored) {
        logError("Image: compressed pixels are damaged or memory ran out; image left empty");
        return false;
    }
    ownedPixels_ = std::move(pixels);
    ownedAlpha_ = std::move(alpha);
    pixels_ = ownedPixels_.get();
    alpha_ = ownedAlpha_.get();
    ownsBuffers_ = true;
    return true;
}

void Image::setPixelFormat(int format) {
    if (!followsDisplayFormat_ || format == format_) {
        return;
    }
    const bool to16 = format_ == kFormatArgb32 && format == kFormatRgb565;
    const bool to32 = format_ == kFormatRgb565 && format == kFormatArgb32;
    if (!to16 && !to32) {
        return;
    }
    if (hasCompressedCopies()) {
        uncompress();
    }
    if (pixels_ == nullptr || (to32 && alpha_ == nullptr)) {
        return;
    }
    const std::size_t count = pixelCount(width_, height_);
    auto pixels = allocateBytes(count * static_cast<std::size_t>(format));
    std::unique_ptr<std::uint8_t[]> alpha;
    if (to16) {
        alpha = allocateBytes(count);
    }
    if (pixels == nullptr || (to16 && alpha == nullptr)) {
        logError("Image: out of memory converting the pixel format; image left as it was");
        return;
    }
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* sourceRow = pixels_ + static_cast<std::ptrdiff_t>(y) * pitch_;
        const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = 0; x < width_; ++x) {
            if (to16) {
                std::uint32_t p = 0;
                std::memcpy(&p, sourceRow + static_cast<std::ptrdiff_t>(x) * 4, 4);
                const std::uint16_t c = argbTo565(p);
                std::memcpy(pixels.get() + (rowStart + x) * 2, &c, 2);
                alpha[rowStart + x] = static_cast<std::uint8_t>(p >> 24);
            } else {
                std::uint16_t c = 0;
                std::memcpy(&c, sourceRow + static_cast<std::ptrdiff_t>(x) * 2, 2);
                const std::uint32_t p = rgb565ToArgb(c, alpha_[rowStart + x]);
                std::memcpy(pixels.get() + (rowStart + x) * 4, &p, 4);
            }
        }
    }
    releaseBuffers();
    format_ = format;
    pitch_ = width_ * format;
    ownedPixels_ = std::move(pixels);
    ownedAlpha_ = std::move(alpha);
    pixels_ = ownedPixels_.get();
    alpha_ = ownedAlpha_.get();
    ownsBuffers_ = true;
}

bool Image::copyFrom(Image& other) {
    width_ = other.getWidth();
    height_ = other.getHeight();
    followsDisplayFormat_ = other.followsDisplayFormat_;
    useAlphaChannel_ = other.useAlphaChannel_;
    frameCount_ = other.frameCount_;
    format_ = other.format_;
    if (format_ == kFormatNone) {
        pitch_ = other.getPitch();
        stampLastUsed();
        return true;
    }
    if (pixelCount(width_, height_) == 0) {
        return allocate(format_);
    }
    if (!other.lock()) {
        return false;
    }
    bool copied = allocate(other.format_);
    if (copied) {
        const std::size_t count = pixelCount(width_, height_);
        // Only the buffers that exist on both sides are copied: a mask has no
        // colour pixels and a 32-bit image no alpha plane.
        if (pixels_ != nullptr && other.pixels_ != nullptr) {
            const std::size_t rowBytes =
                static_cast<std::size_t>(width_) * static_cast<std::size_t>(format_);
            for (int y = 0; y < height_; ++y) {
                std::memcpy(pixels_ + static_cast<std::ptrdiff_t>(y) * pitch_,
                            other.pixels_ + static_cast<std::ptrdiff_t>(y) * other.getPitch(),
                            rowBytes);
            }
        }
        if (alpha_ != nullptr && other.alpha_ != nullptr) {
            std::memcpy(alpha_, other.alpha_, count);
        }
    }
    other.unlock();
    stampLastUsed();
    return copied;
}

RefPtr<Image> createImage(int width, int height, int format) {
    RefPtr<Image> image(new Image());
    image->setWidth(width);
    image->setHeight(height);
    if (!image->allocate(format)) {
        return nullptr;
    }
    return image;
}

RefPtr<Image> createDisplayImage(int width, int height) {
    RefPtr<Image> image = createImage(width, height, getDisplayBytesPerPixel());
    if (image) {
        image->setFollowsDisplayFormat(true);
    }
    return image;
}

RefPtr<Image> cloneImage(Image& image) {
    if (image.isKindOf(ImageDD::classRecord)) {
        return nullptr;
    }
    RefPtr<Image> copy(new Image());
    if (!copy->copyFrom(image)) {
        return nullptr;
    }
    return copy;
}

int getDisplayBytesPerPixel() {
    const ImageManager* manager = ImageManager::getInstance();
    return manager != nullptr ? manager->getDisplayBytesPerPixel() : kFormatArgb32;
}

void adoptDisplayFormat(Image& image) {
    if (ImageManager* manager = ImageManager::getInstance()) {
        manager->adoptDisplayFormat(image);
        return;
    }
    image.setFollowsDisplayFormat(true);
}

} // namespace orv
