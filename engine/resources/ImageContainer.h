#pragma once

#include "engine/core/ClassRecord.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

namespace orv {

/// The part of a sprite or an image resource that keeps one image: a counted
/// reference, dropped when the container goes.
///
///     container.setImage(createImage(32, 32, kFormatArgb32).get());
///     Image* image = container.getImage(); // borrowed from the container
class ImageContainer {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] virtual const ClassRecord& getClassRecord() const { return classRecord; }

    ImageContainer() = default;
    ImageContainer(const ImageContainer&) = delete;
    ImageContainer& operator=(const ImageContainer&) = delete;
    virtual ~ImageContainer() = default;

    /// Holds `image` (may be null) instead of the current one.
    virtual void setImage(Image* image) { image_ = image; }
    /// The image held, borrowed from the container; null when empty.
    [[nodiscard]] virtual Image* getImage() const { return image_.get(); }

private:
    RefPtr<Image> image_;
};

} // namespace orv
