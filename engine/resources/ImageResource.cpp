#include "engine/resources/ImageResource.h"

#include "engine/core/Log.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageDecoders.h"
#include "engine/resources/MemoryBuffer.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace orv {

constinit const ClassRecord ImageResource::classRecord{
    "ImageResource", parentRecords<ResourceObject::classRecord, ImageContainer::classRecord>};

namespace {

// Decodes the file `name` as PNG, then (unless it is a mask alone) as JPEG.
// Without an archive, or with the global mode "file", the loose file is read
// whatever the resource's own mode says.
RefPtr<Image> decodeFile(const std::string& name, ArchiveMode mode, unsigned flags, bool tryJpeg) {
    const bool looseOnly =
        !FileArchive::hasArchive() || FileArchive::getGlobalMode() == ArchiveMode::File;
    MemoryBuffer buffer;
    if (!FileArchive::readFile(name, buffer, looseOnly ? ArchiveMode::File : mode)) {
        return nullptr;
    }
    const std::span<const std::uint8_t> data(buffer.getData(), buffer.getSize());
    RefPtr<Image> image = decodePngMemory(data, flags);
    if (!image && tryJpeg) {
        image = decodeJpeg(data, flags);
    }
    return image;
}

// Writes the alpha values of `mask` (an alpha-only image) into the alpha of
// `image` over the area both cover, starting at (0, 0). False when either
// cannot be locked or the formats do not fit.
bool copyMaskIntoAlpha(Image& image, Image& mask) {
    if (mask.getFormat() != kFormatAlpha ||
        (image.getFormat() != kFormatArgb32 && image.getFormat() != kFormatRgb565)) {
        return false;
    }
    if (!image.lock()) {
        return false;
    }
    if (!mask.lock()) {
        image.unlock();
        return false;
    }
    const int width = std::min(image.getWidth(), mask.getWidth());
    const int height = std::min(image.getHeight(), mask.getHeight());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* maskRow =
            mask.getAlpha() + static_cast<std::ptrdiff_t>(y) * mask.getWidth();
        if (image.getFormat() == kFormatArgb32) {
            auto* row = reinterpret_cast<std::uint32_t*>(
                image.getPixels() + static_cast<std::ptrdiff_t>(y) * image.getPitch());
            for (int x = 0; x < width; ++x) {
                row[x] = (row[x] & 0x00FFFFFFU) | (static_cast<std::uint32_t>(maskRow[x]) << 24);
            }
        } else {
            std::uint8_t* row =
                image.getAlpha() + static_cast<std::ptrdiff_t>(y) * image.getWidth();
            std::copy_n(maskRow, width, row);
        }
    }
    mask.unlock();
    image.unlock();
    return true;
}

const char* imageFlagText(bool flag) {
    return flag ? "true" : "false";
}

} // namespace

BaseObject* ImageResource::createFromDefinition(PropertyNode* definition) {
    return new ImageResource(definition);
}

ImageResource::ImageResource(PropertyNode* definition)
    : ResourceObject(definition), color_(readIntKey(definition, "color", 0)),
      useAlphaChannel_(readBoolKey(definition, "usealphachannel", true)),
      alphaFromGrey_(readBoolKey(definition, "alpha", false)),
      frameCount_(readIntKey(definition, "nrofframes", 1)),
      maskFile_(readTextKey(definition, "mask", "")), deflateMask_(true) {
    if (frameCount_ < 1) {
        // Sprites divide the picture's width by the frame count.
        logWarning("image resource '" + getFileKey() + "': key nrofframes is " +
                   std::to_string(frameCount_) + ", not a frame count; 1 is used");
        frameCount_ = 1;
    }
}

ImageResource::ImageResource(std::string_view fileName, std::string_view maskFile)
    : ResourceObject(nullptr), maskFile_(maskFile), maskInOwnMode_(true) {
    setFileName(fileName);
}

void ImageResource::load() {
    const bool maskOnly = getFileKey().empty();
    const std::string& name = maskOnly ? maskFile_ : getFileKey();
    if (name.empty()) {
        logWarning("image resource without a file or a mask cannot be loaded");
        setError(true);
        markLoaded();
        return;
    }

    // The mask is merged into the pixels before they follow the display.
    unsigned flags = kDecodeDeferDisplayFormat;
    if (maskOnly) {
        flags |= kDecodeMaskOnly;
    }
    if (alphaFromGrey_) {
        flags |= kDecodeAlphaFromGrey;
    }
    RefPtr<Image> image = decodeFile(name, getMode(), flags, !maskOnly);
    setImage(image.get());
    if (!image) {
        logWarning(name + ": image cannot be read or decoded");
        setError(true);
    } else {
        image->setUseAlphaChannel(useAlphaChannel_);
        image->setFrameCount(frameCount_);
    }

    if (image && !maskOnly && !maskFile_.empty()) {
        const RefPtr<ImageResource> mask(new ImageResource("", maskFile_));
        mask->setMode(maskInOwnMode_ ? getMode() : ArchiveMode::Global);
        mask->load();
        Image* maskImage = mask->getImage();
        if (mask->hasError() || maskImage == nullptr || !copyMaskIntoAlpha(*image, *maskImage)) {
            logWarning(maskFile_ + ": mask of " + name + " cannot be applied");
            setError(true);
        }
    }
    if (image && !maskOnly) {
        adoptDisplayFormat(*image);
    }
    if (image && maskOnly && deflateMask_) {
        // A mask alone usually marks a small area of a whole screen (a door of
        // a corridor): deflated it takes a few kilobytes instead of a byte a
        // pixel. `lock` inflates it; its user may deflate it again after.
        static_cast<void>(image->compress());
    }
    markLoaded();
}

BaseObject* ImageResource::getHeldObject() const {
    return getImage();
}

void ImageResource::unload() {
    ResourceObject::unload();
    setImage(nullptr);
}

bool ImageResource::sameFile(const ResourceObject& other) const {
    if (!ResourceObject::sameFile(other)) {
        return false;
    }
    const auto* image = dynamic_cast<const ImageResource*>(&other);
    if (image == nullptr) {
        return false;
    }
    // Frame count and the alpha settings change the loaded image, so they
    // are part of what makes two pictures the same.
    return maskFile_ == image->maskFile_ && color_ == image->color_ &&
           frameCount_ == image->frameCount_ && useAlphaChannel_ == image->useAlphaChannel_ &&
           alphaFromGrey_ == image->alphaFromGrey_;
}

std::string ImageResource::toString() const {
    return std::string("Object: ") + (getImage() != nullptr ? "not 0" : "NULL") +
           "; Color: " + std::to_string(color_) +
           "; Only Mask: " + imageFlagText(getFileKey().empty()) +
           "; Mask File Name: " + maskFile_ + "; " + ResourceObject::toString();
}

} // namespace orv
