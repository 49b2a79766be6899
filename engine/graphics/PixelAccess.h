#pragma once

#include "engine/resources/Image.h"

#include <cstddef>
#include <cstdint>

namespace orv {

// What the pixel workers of every format share: locking the images they
// touch, and the addresses of pixels and alpha-plane bytes. Workers only:
// the images must be locked while the pointers are used.

/// Locks the images a pixel worker touches, source first (none when null),
/// and unlocks them in the same order when it goes. `locked()` is false when
/// a lock failed; the images that were locked are unlocked all the same.
/// Both images are borrowed for the lock's lifetime.
class WorkerLock {
public:
    WorkerLock(Image* source, Image& target) : source_(source), target_(target) {
        sourceLocked_ = source_ == nullptr || source_->lock();
        targetLocked_ = sourceLocked_ && target_.lock();
    }
    WorkerLock(const WorkerLock&) = delete;
    WorkerLock& operator=(const WorkerLock&) = delete;
    ~WorkerLock() {
        if (source_ != nullptr && sourceLocked_) {
            source_->unlock();
        }
        if (targetLocked_) {
            target_.unlock();
        }
    }
    [[nodiscard]] bool locked() const { return sourceLocked_ && targetLocked_; }

private:
    Image* source_;
    Image& target_;
    bool sourceLocked_ = false;
    bool targetLocked_ = false;
};

/// Whether the rectangle lies wholly inside `image` (for the workers'
/// assertions).
[[maybe_unused]] inline bool insideImage(const Image& image, int x, int y, int width, int height) {
    return x >= 0 && y >= 0 && width >= 0 && height >= 0 && x <= image.getWidth() - width &&
           y <= image.getHeight() - height;
}

/// The pixel (x, y) of a locked image whose pixels are `Pixel` wide; rows
/// are `getPitch()` bytes apart.
template <class Pixel>
[[nodiscard]] Pixel* pixelAt(const Image& image, std::int64_t x, std::int64_t y) {
    return reinterpret_cast<Pixel*>(image.getPixels() +
                                    static_cast<std::ptrdiff_t>(y) * image.getPitch()) +
           x;
}

/// The alpha-plane byte of (x, y) of a locked image; planes hold rows of
/// exactly the image width.
[[nodiscard]] inline std::uint8_t* planeAt(const Image& image, std::int64_t x, std::int64_t y) {
    return image.getAlpha() + static_cast<std::ptrdiff_t>(y) * image.getWidth() + x;
}

/// Whether `channel` names one of a pixel's four channels (0 alpha, 1 red,
/// 2 green, 3 blue).
[[nodiscard]] constexpr bool isChannel(int channel) {
    return channel >= 0 && channel <= 3;
}

/// Bit position of a 32-bit pixel's channel byte: alpha 24, red 16, green 8,
/// blue 0.
[[nodiscard]] constexpr int channelShift(int channel) {
    return 24 - 8 * channel;
}

/// The rules of the channel copies: a new value replaces the old one always,
/// only when smaller, or only when larger (byte or pixel values alike).
namespace channel_rule {
inline constexpr auto kAlways = [](auto, auto) {
    return true;
};
inline constexpr auto kIfSmaller = [](auto oldValue, auto newValue) {
    return newValue < oldValue;
};
inline constexpr auto kIfLarger = [](auto oldValue, auto newValue) {
    return newValue > oldValue;
};
} // namespace channel_rule

} // namespace orv
