#include "game/screen/ColourOps.h"

#include "engine/resources/Image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

// Locks an image for the life of the guard.
class LockGuard {
public:
    explicit LockGuard(Image& image) : image_(image), locked_(image.lock()) {}
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;
    ~LockGuard() {
        if (locked_) {
            image_.unlock();
        }
    }
    [[nodiscard]] bool isLocked() const { return locked_; }

private:
    Image& image_;
    bool locked_;
};

std::uint16_t read16(const std::uint8_t* at) {
    std::uint16_t word = 0;
    std::memcpy(&word, at, sizeof word);
    return word;
}
void write16(std::uint8_t* at, std::uint16_t word) {
    std::memcpy(at, &word, sizeof word);
}
std::uint32_t read32(const std::uint8_t* at) {
    std::uint32_t word = 0;
    std::memcpy(&word, at, sizeof word);
    return word;
}
void write32(std::uint8_t* at, std::uint32_t word) {
    std::memcpy(at, &word, sizeof word);
}

std::uint32_t channel(float value) {
    if (!(value > 0.0F)) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::min(value, 255.0F));
}

} // namespace

ColourTriple rgbToHsv(const ColourTriple& rgb) {
    const float maximum = std::max({rgb.a, rgb.b, rgb.c});
    const float minimum = std::min({rgb.a, rgb.b, rgb.c});
    ColourTriple hsv;
    hsv.c = maximum * 0.00392157F;
    hsv.b = maximum > 0.0F ? (maximum - minimum) / maximum : 0.0F;
    if (hsv.b == 0.0F) {
        return hsv;
    }
    const float d = maximum - minimum;
    const float rc = (maximum - rgb.a) / d;
    const float gc = (maximum - rgb.b) / d;
    const float bc = (maximum - rgb.c) / d;
    float hue = 0.0F;
    if (rgb.a == maximum) {
        hue = bc - gc;
    } else if (rgb.b == maximum) {
        hue = 2.0F + rc - bc;
    } else {
        hue = 4.0F + gc - rc;
    }
    hue /= 6.0F;
    if (hue < 0.0F) {
        hue += 1.0F;
    }
    hsv.a = hue;
    return hsv;
}

ColourTriple hsvToRgb(const ColourTriple& hsv) {
    const float value = hsv.c;
    const float saturation = hsv.b;
    if (saturation == 0.0F) {
        const float grey = value * 255.0F + 0.5F;
        return {grey, grey, grey};
    }
    float hue = std::isfinite(hsv.a) ? hsv.a - std::floor(hsv.a) : 0.0F;
    float h = hue * 6.0F;
    // A hue a hair below a whole turn rounds up to 6 in single precision;
    // that is sector 0 again.
    if (h >= 6.0F) {
        h = 0.0F;
    }
    const int i = static_cast<int>(h);
    const float f = h - std::floor(h);
    const float p = (1.0F - saturation) * value;
    const float q = (1.0F - f * saturation) * value;
    const float t = (1.0F - (1.0F - f) * saturation) * value;
    ColourTriple rgb;
    switch (i) {
    case 0:
        rgb = {value, t, p};
        break;
    case 1:
        rgb = {q, value, p};
        break;
    case 2:
        rgb = {p, value, t};
        break;
    case 3:
        rgb = {p, q, value};
        break;
    case 4:
        rgb = {t, p, value};
        break;
    default:
        rgb = {value, p, q};
        break;
    }
    return {rgb.a * 255.0F + 0.5F, rgb.b * 255.0F + 0.5F, rgb.c * 255.0F + 0.5F};
}

void greyImageRect(Image& image, int x, int y, int width, int height) {
    // Clip to the image in 64-bit arithmetic, so that no huge width wraps.
    const long long left = std::max(x, 0);
    const long long top = std::max(y, 0);
    const long long right =
        std::min<long long>(image.getWidth(), static_cast<long long>(x) + width);
    const long long bottom =
        std::min<long long>(image.getHeight(), static_cast<long long>(y) + height);
    if (right <= left || bottom <= top) {
        return;
    }
    LockGuard lock(image);
    std::uint8_t* pixels = image.getPixels();
    if (!lock.isLocked() || pixels == nullptr) {
        return;
    }
    const bool sixteen = image.getFormat() == kFormatRgb565;
    for (long long row = top; row < bottom; ++row) {
        std::uint8_t* line = pixels + row * image.getPitch();
        for (long long column = left; column < right; ++column) {
            if (sixteen) {
                std::uint8_t* at = line + column * 2;
                const std::uint16_t word = read16(at);
                const unsigned r = (word >> 11U) & 0x1FU;
                const unsigned g = (word >> 6U) & 0x1FU;
                const unsigned b = word & 0x1FU;
                const unsigned grey = (3 * r + 6 * g + b) / 10;
                write16(at, static_cast<std::uint16_t>((grey << 11U) | (grey << 6U) | grey));
            } else {
                std::uint8_t* at = line + column * 4;
                const std::uint32_t word = read32(at);
                const std::uint32_t r = (word >> 16U) & 0xFFU;
                const std::uint32_t g = (word >> 8U) & 0xFFU;
                const std::uint32_t b = word & 0xFFU;
                const std::uint32_t grey = (3 * r + 6 * g + b) / 10;
                write32(at, (word & 0xFF000000U) | (grey << 16U) | (grey << 8U) | grey);
            }
        }
    }
}

void applyHueMask(Image& image, Image& mask, float hueShift) {
    if (mask.getWidth() != image.getWidth() || mask.getHeight() != image.getHeight()) {
        return;
    }
    LockGuard imageLock(image);
    LockGuard maskLock(mask);
    std::uint8_t* pixels = image.getPixels();
    const std::uint8_t* plane = mask.getAlpha();
    if (!imageLock.isLocked() || !maskLock.isLocked() || pixels == nullptr || plane == nullptr) {
        return;
    }
    const bool sixteen = image.getFormat() == kFormatRgb565;
    const int width = image.getWidth();
    for (int row = 0; row < image.getHeight(); ++row) {
        std::uint8_t* line = pixels + static_cast<std::ptrdiff_t>(row) * image.getPitch();
        const std::uint8_t* maskLine = plane + static_cast<std::ptrdiff_t>(row) * width;
        for (int column = 0; column < width; ++column) {
            if (maskLine[column] == 0) {
                continue;
            }
            ColourTriple rgb;
            std::uint8_t* at = line + static_cast<std::ptrdiff_t>(column) * (sixteen ? 2 : 4);
            std::uint32_t word = sixteen ? read16(at) : read32(at);
            if (sixteen) {
                rgb = {static_cast<float>(((word >> 11U) & 0x1FU) * 8),
                       static_cast<float>(((word >> 5U) & 0x3FU) * 4),
                       static_cast<float>((word & 0x1FU) * 8)};
            } else {
                rgb = {static_cast<float>((word >> 16U) & 0xFFU),
                       static_cast<float>((word >> 8U) & 0xFFU), static_cast<float>(word & 0xFFU)};
            }
            ColourTriple hsv = rgbToHsv(rgb);
            hsv.a += hueShift;
            const ColourTriple out = hsvToRgb(hsv);
            const std::uint32_t r = channel(out.a);
            const std::uint32_t g = channel(out.b);
            const std::uint32_t b = channel(out.c);
            if (sixteen) {
                write16(at, static_cast<std::uint16_t>(((r >> 3U) << 11U) | ((g >> 2U) << 5U) |
                                                       (b >> 3U)));
            } else {
                write32(at, (word & 0xFF000000U) | (r << 16U) | (g << 8U) | b);
            }
        }
    }
}

} // namespace orv
