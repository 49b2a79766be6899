#include "game/screen/ModifierShine.h"

#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

// Locks an image for the life of the guard.
class ShineImageLock {
public:
    explicit ShineImageLock(Image* image)
        : image_(image), locked_(image != nullptr && image->lock()) {}
    ShineImageLock(const ShineImageLock&) = delete;
    ShineImageLock& operator=(const ShineImageLock&) = delete;
    ~ShineImageLock() {
        if (locked_) {
            image_->unlock();
        }
    }
    [[nodiscard]] bool isLocked() const { return locked_; }

private:
    Image* image_;
    bool locked_;
};

struct ShineArgb {
    std::uint32_t a = 0;
    std::uint32_t r = 0;
    std::uint32_t g = 0;
    std::uint32_t b = 0;
};

std::uint8_t* shinePixelAt(const Image& image, int x, int y, int bytes) {
    return image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch() +
           static_cast<std::ptrdiff_t>(x) * bytes;
}

// The coverage of (x, y): a 16-bit picture without an alpha plane is opaque.
std::uint32_t shineAlphaAt(const Image& image, int x, int y) {
    if (image.getFormat() == kFormatArgb32) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, shinePixelAt(image, x, y, 4), sizeof pixel);
        return pixel >> 24U;
    }
    const std::uint8_t* alpha = image.getAlpha();
    return alpha != nullptr ? alpha[static_cast<std::ptrdiff_t>(y) * image.getWidth() + x] : 255U;
}

ShineArgb shineRead(const Image& image, int x, int y) {
    ShineArgb c;
    c.a = shineAlphaAt(image, x, y);
    if (image.getFormat() == kFormatArgb32) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, shinePixelAt(image, x, y, 4), sizeof pixel);
        c.r = (pixel >> 16U) & 0xFFU;
        c.g = (pixel >> 8U) & 0xFFU;
        c.b = pixel & 0xFFU;
    } else if (image.getFormat() == kFormatRgb565) {
        std::uint16_t pixel = 0;
        std::memcpy(&pixel, shinePixelAt(image, x, y, 2), sizeof pixel);
        c.r = ((pixel >> 11U) & 0x1FU) * 255U / 31U;
        c.g = ((pixel >> 5U) & 0x3FU) * 255U / 63U;
        c.b = (pixel & 0x1FU) * 255U / 31U;
    } else {
        // An alpha picture is white light.
        c.r = c.g = c.b = 255U;
    }
    return c;
}

void shineWrite(Image& image, int x, int y, const ShineArgb& c) {
    if (image.getFormat() == kFormatArgb32) {
        const std::uint32_t pixel = (c.a << 24U) | (c.r << 16U) | (c.g << 8U) | c.b;
        std::memcpy(shinePixelAt(image, x, y, 4), &pixel, sizeof pixel);
        return;
    }
    if (image.getFormat() == kFormatRgb565) {
        const auto pixel =
            static_cast<std::uint16_t>(((c.r >> 3U) << 11U) | ((c.g >> 2U) << 5U) | (c.b >> 3U));
        std::memcpy(shinePixelAt(image, x, y, 2), &pixel, sizeof pixel);
    }
    if (std::uint8_t* alpha = image.getAlpha(); alpha != nullptr) {
        alpha[static_cast<std::ptrdiff_t>(y) * image.getWidth() + x] =
            static_cast<std::uint8_t>(c.a);
    }
}

// Every pixel of `image` transparent black.
void shineClear(Image& image) {
    if (image.getPixels() != nullptr) {
        for (int y = 0; y < image.getHeight(); ++y) {
            std::memset(shinePixelAt(image, 0, y, 0), 0,
                        static_cast<std::size_t>(image.getWidth()) *
                            static_cast<std::size_t>(image.getFormat() == kFormatArgb32 ? 4 : 2));
        }
    }
    if (std::uint8_t* alpha = image.getAlpha(); alpha != nullptr) {
        std::memset(alpha, 0,
                    static_cast<std::size_t>(image.getWidth()) *
                        static_cast<std::size_t>(image.getHeight()));
    }
}

} // namespace

ModifierShine::ModifierShine(int durationMs, Image* shine)
    : ModifierFraction(durationMs), shine_(shine) {}

ModifierShine* ModifierShine::constructWithMask(int durationMs, Image* shine, Image* mask) {
    auto* made = new ModifierShine(durationMs, shine);
    made->mask_ = mask;
    return made;
}

int ModifierShine::shinePosition(int shineWidth, int baseWidth, float fraction) {
    const auto span = static_cast<float>(shineWidth + baseWidth);
    return static_cast<int>(span * fraction) - shineWidth;
}

Sprite* ModifierShine::sprite() const {
    return kindCast<Sprite>(getTarget());
}

void ModifierShine::update(int dtMs) {
    Sprite* target = sprite();
    if (!started_ && target != nullptr && target->getImage() != nullptr) {
        started_ = true;
        base_ = target->getImage();
        baseWidth_ = base_->getWidth();
    }
    ModifierFraction::update(dtMs);
    if (isDone() || !started_ || target == nullptr || shine_ == nullptr) {
        return;
    }
    const int x = shinePosition(shine_->getWidth(), baseWidth_, getFraction());
    if (x != lastX_) {
        lastX_ = x;
        drawAt(*target, x);
    }
}

void ModifierShine::finish() {
    ModifierFraction::finish();
    Sprite* target = sprite();
    if (!started_ || target == nullptr) {
        return;
    }
    // Through the picture holder, so that the sprite keeps its size and
    // frames; without a picture it draws nothing.
    target->ImageContainer::setImage(restore_ ? base_.get() : nullptr);
    target->setDirty(true);
}

void ModifierShine::drawAt(Sprite& target, int x) {
    RefPtr<Image> copy = cloneImage(*base_);
    if (copy == nullptr) {
        return;
    }
    const int width = copy->getWidth();
    const int height = copy->getHeight();
    const int frames = std::max(1, target.getFrameCount());
    const int bandHeight = frames > 1 ? height / frames : height;
    const int bandTop =
        frames > 1 ? std::clamp(target.getCurrentFrame(), 0, frames - 1) * bandHeight : 0;
    const int shineWidth = shine_->getWidth();
    const int shineHeight = shine_->getHeight();
    const int y = bandTop + (bandHeight - shineHeight) / 2;
    const bool alone = !restore_ && mask_ == nullptr;
    {
        const ShineImageLock copyLock(copy.get());
        const ShineImageLock baseLock(base_.get());
        const ShineImageLock shineLock(shine_.get());
        const ShineImageLock maskLock(mask_.get());
        if (!copyLock.isLocked() || !baseLock.isLocked() || !shineLock.isLocked() ||
            (mask_ != nullptr && !maskLock.isLocked())) {
            return;
        }
        if (alone) {
            shineClear(*copy);
        }
        const int top = std::max(y, bandTop);
        const int bottom = std::min(y + shineHeight, bandTop + bandHeight);
        const int left = std::max(x, 0);
        const int right = std::min(x + shineWidth, width);
        for (int py = top; py < bottom; ++py) {
            for (int px = left; px < right; ++px) {
                const ShineArgb light = shineRead(*shine_, px - x, py - y);
                std::uint32_t cover = light.a;
                if (mask_ != nullptr) {
                    const int my = py - bandTop;
                    const bool inside = px < mask_->getWidth() && my < mask_->getHeight();
                    cover = std::min(cover, inside ? shineAlphaAt(*mask_, px, my) : 0U);
                }
                if (alone) {
                    // The band alone, in the picture's shape.
                    ShineArgb out = light;
                    out.a = std::min(cover, shineAlphaAt(*base_, px, py));
                    shineWrite(*copy, px, py, out);
                    continue;
                }
                // Light adds to the picture; its shape stays.
                ShineArgb out = shineRead(*copy, px, py);
                out.r = std::min(255U, out.r + light.r * cover / 255U);
                out.g = std::min(255U, out.g + light.g * cover / 255U);
                out.b = std::min(255U, out.b + light.b * cover / 255U);
                shineWrite(*copy, px, py, out);
            }
        }
    }
    target.ImageContainer::setImage(copy.get());
    target.setDirty(true);
}

} // namespace orv
