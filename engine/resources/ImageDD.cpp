#include "engine/resources/ImageDD.h"

namespace orv {

constinit const ClassRecord ImageDD::classRecord{"ImageDD", parentRecords<Image::classRecord>};

ImageDD::ImageDD(ImageSurface* surface, int format) : surface_(surface) {
    setOwnsBuffersField(false);
    setFormatField(format);
    readDescription();
}

ImageDD::~ImageDD() {
    // The memory is the surface's; only the pointers are cleared.
    releaseBuffers();
}

void ImageDD::attachSurface(ImageSurface* surface) {
    surface_ = surface;
    readDescription();
}

void ImageDD::readDescription() {
    setWidth(surface_ ? surface_->getWidth() : 0);
    setHeight(surface_ ? surface_->getHeight() : 0);
    setPitch(surface_ ? surface_->getPitch() : 0);
    setPixels(surface_ ? surface_->getMemory() : nullptr);
}

bool ImageDD::lock() {
    setLockedField(true);
    if (!surface_ || surface_->getBytesPerPixel() != getFormat()) {
        return false;
    }
    setPixels(surface_->getMemory());
    return true;
}

bool ImageDD::unlock() {
    setLockedField(false);
    stampLastUsed();
    return surface_ != nullptr;
}

void ImageDD::setPixelFormat(int format) {
    setFormatField(format);
}

RefPtr<ImageDD> createImageFromSurface(ImageSurface* surface) {
    const int format = getDisplayBytesPerPixel() == kFormatRgb565 ? kFormatRgb565 : kFormatArgb32;
    if (surface == nullptr || surface->getBytesPerPixel() != format) {
        return nullptr;
    }
    RefPtr<ImageDD> image(new ImageDD(surface, format));
    image->setFollowsDisplayFormat(true);
    return image;
}

} // namespace orv
