#include "engine/resources/ImageSurface.h"

#include "engine/resources/Image.h"

#include <cstring>
#include <new>

namespace orv {

constinit const ClassRecord ImageSurface::classRecord{"ImageSurface",
                                                      parentRecords<BaseObject::classRecord>};

namespace {

// Rows start on 64-byte boundaries, as display surfaces usually do, so the
// pitch of a surface is generally not width × bytes per pixel.
constexpr int kRowAlignment = 64;

} // namespace

RefPtr<ImageSurface> ImageSurface::create(int width, int height, int bytesPerPixel) {
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide ||
        (bytesPerPixel != kFormatRgb565 && bytesPerPixel != kFormatArgb32)) {
        return nullptr;
    }
    const int pitch = (width * bytesPerPixel + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    const std::size_t size = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
    std::unique_ptr<std::uint8_t[]> memory(new (std::nothrow) std::uint8_t[size]);
    if (memory == nullptr) {
        return nullptr;
    }
    std::memset(memory.get(), 0, size);
    RefPtr<ImageSurface> surface(new ImageSurface());
    surface->width_ = width;
    surface->height_ = height;
    surface->pitch_ = pitch;
    surface->bytesPerPixel_ = bytesPerPixel;
    surface->memory_ = std::move(memory);
    return surface;
}

} // namespace orv
