#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageSurface.h"

namespace orv {

/// An image whose pixels live in a display surface (the window's back buffer),
/// not in buffers of its own. It has no alpha plane, is never compressed and
/// never idle, and cannot be cloned (`cloneImage` gives null): its pixels
/// belong to the surface.
///
/// `getPixels()` is the surface memory once locked; rows are the surface's
/// pitch apart. A lock fails when there is no surface or when the recorded
/// format is not the surface's depth (after a display change, until the
/// window attaches a matching surface), so nothing is drawn with a wrong
/// pixel size.
class ImageDD : public Image {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Wraps `surface` (a reference is held) as an image of `format` (2 or 4).
    ImageDD(ImageSurface* surface, int format);
    ~ImageDD() override;

    /// Holds `surface` instead of the current one and takes its size and pitch.
    void attachSurface(ImageSurface* surface);
    /// The surface held; borrowed from this image.
    [[nodiscard]] ImageSurface* getSurface() const { return surface_.get(); }

    [[nodiscard]] bool lock() override;
    bool unlock() override;
    bool compress() override { return false; }
    bool uncompress() override { return false; }
    [[nodiscard]] std::int64_t getIdleTime() const override { return 0; }
    /// Records the format only; the window attaches a surface of that depth.
    void setPixelFormat(int format) override;

private:
    void readDescription();

    RefPtr<ImageSurface> surface_;
};

/// An `ImageDD` over `surface` in the display's format (2 when the display
/// has 2 bytes per pixel, else 4), following display changes. Null when there
/// is no surface or its depth is not that format.
[[nodiscard]] RefPtr<ImageDD> createImageFromSurface(ImageSurface* surface);

} // namespace orv
