#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

#include <cstdint>
#include <memory>

namespace orv {

/// A display surface in main memory: the window's back buffer (and any other
/// surface it keeps), which the window uploads to the screen each frame.
/// Rows are `getPitch()` bytes apart, which may be more than width × bytes
/// per pixel. Shared by counted references between the window and the
/// `ImageDD` images that draw into it.
class ImageSurface : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A new surface of `width` × `height` pixels of `bytesPerPixel` (2 or 4)
    /// bytes, cleared to 0. Null for another depth, a side outside
    /// 1..kMaxImageSide, or when memory runs out.
    [[nodiscard]] static RefPtr<ImageSurface> create(int width, int height, int bytesPerPixel);

    [[nodiscard]] int getWidth() const { return width_; }
    [[nodiscard]] int getHeight() const { return height_; }
    [[nodiscard]] int getPitch() const { return pitch_; }
    [[nodiscard]] int getBytesPerPixel() const { return bytesPerPixel_; }
    /// The first byte of the first row; owned by the surface.
    [[nodiscard]] std::uint8_t* getMemory() const { return memory_.get(); }

private:
    ImageSurface() = default;

    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    int bytesPerPixel_ = 0;
    std::unique_ptr<std::uint8_t[]> memory_;
};

} // namespace orv
