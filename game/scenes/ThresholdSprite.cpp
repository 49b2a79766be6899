#include "game/scenes/ThresholdSprite.h"

#include <cstdint>
#include <cstring>

namespace orv {

constinit const ClassRecord ThresholdSprite::classRecord{"ThresholdSprite",
                                                         parentRecords<Sprite::classRecord>};

namespace {

// Holds an image locked for the life of the guard.
class LockedImage {
public:
    explicit LockedImage(Image* image)
        : image_(image), locked_(image != nullptr && image->lock()) {}
    LockedImage(const LockedImage&) = delete;
    LockedImage& operator=(const LockedImage&) = delete;
    ~LockedImage() {
        if (locked_) {
            image_->unlock();
        }
    }
    [[nodiscard]] bool isLocked() const { return locked_; }

private:
    Image* image_;
    bool locked_;
};

int bytesPerPixel(int format) {
    switch (format) {
    case kFormatArgb32:
        return 4;
    case kFormatRgb565:
        return 2;
    default:
        return 0;
    }
}

// The mask value at (x, y): its alpha; 255 (never shown) outside the mask.
int maskValue(const Image* mask, int x, int y) {
    if (mask == nullptr) {
        return 0;
    }
    if (x >= mask->getWidth() || y >= mask->getHeight()) {
        return 255;
    }
    if (mask->getFormat() == kFormatArgb32) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, mask->getPixels() + y * mask->getPitch() + x * 4, sizeof pixel);
        return static_cast<int>(pixel >> 24U);
    }
    if (const std::uint8_t* alpha = mask->getAlpha()) {
        return alpha[y * mask->getWidth() + x];
    }
    return 255;
}

} // namespace

ThresholdSprite::ThresholdSprite(int x, int y) : Sprite(x, y, nullptr) {}

void ThresholdSprite::setSourceImage(Image* image) {
    source_ = image;
    shown_ = image != nullptr
                 ? createImage(image->getWidth(), image->getHeight(), image->getFormat())
                 : nullptr;
    setImage(shown_.get());
    applied_ = -1;
    thresholdDirty_ = true;
    applyThreshold();
}

void ThresholdSprite::setMaskImage(Image* mask) {
    mask_ = mask;
}

void ThresholdSprite::setThreshold(float threshold) {
    threshold_ = threshold;
    thresholdDirty_ = true;
}

void ThresholdSprite::applyThreshold() {
    if (!thresholdDirty_) {
        return;
    }
    thresholdDirty_ = false;
    const int threshold = static_cast<int>(threshold_ * 255.0F);
    if (threshold != applied_) {
        rebuild(threshold);
        applied_ = threshold;
    }
}

void ThresholdSprite::render(Graphics& graphics) {
    applyThreshold();
    Sprite::render(graphics);
}

void ThresholdSprite::rebuild(int threshold) {
    if (!source_ || !shown_) {
        return;
    }
    const LockedImage source(source_.get());
    const LockedImage shown(shown_.get());
    const LockedImage mask(mask_.get());
    if (!source.isLocked() || !shown.isLocked() || (mask_ && !mask.isLocked())) {
        return;
    }
    const Image* maskImage = mask_.get();
    const int width = source_->getWidth();
    const int height = source_->getHeight();
    const int bytes = bytesPerPixel(source_->getFormat());
    const std::uint8_t* sourcePixels = source_->getPixels();
    std::uint8_t* shownPixels = shown_->getPixels();
    const std::uint8_t* sourceAlpha = source_->getAlpha();
    std::uint8_t* shownAlpha = shown_->getAlpha();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int m = maskValue(maskImage, x, y);
            const bool visible = m != 255 && threshold > m;
            if (bytes > 0 && sourcePixels != nullptr && shownPixels != nullptr) {
                std::uint8_t* to = shownPixels + y * shown_->getPitch() + x * bytes;
                if (visible) {
                    std::memcpy(to, sourcePixels + y * source_->getPitch() + x * bytes,
                                static_cast<std::size_t>(bytes));
                } else {
                    std::memset(to, 0, static_cast<std::size_t>(bytes));
                }
            }
            if (sourceAlpha != nullptr && shownAlpha != nullptr) {
                const int at = y * width + x;
                shownAlpha[at] = visible ? sourceAlpha[at] : 0;
            }
        }
    }
}

} // namespace orv
