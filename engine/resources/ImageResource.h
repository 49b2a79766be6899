#pragma once

#include "engine/resources/ImageContainer.h"
#include "engine/resources/ResourceObject.h"

#include <string>
#include <string_view>

namespace orv {

class Image;
class PropertyNode;

/// A picture of the resource definitions ("Image"): a PNG or JPEG file,
/// optionally with a separate greyscale mask file that becomes its alpha, or
/// a mask alone (no "file", only "mask") that loads as an alpha-only image.
///
/// Keys beyond "file" and "archive" (all optional): "mask" (text, the mask
/// file's name, kept as written; none), "color" (integer, only tells
/// otherwise equal pictures apart; 0), "usealphachannel" (Boolean; true),
/// "alpha" (Boolean, a grey picture becomes black with its grey as alpha;
/// false), "nrofframes" (integer, animation frames side by side; 1).
///
/// The image is held in the container part and handed out by
/// `getHeldObject` / `getImage` once loaded.
///
///     RefPtr<ImageResource> layer(new ImageResource("fonts/big.png", "fonts/big_mask.png"));
///     layer->load();
///     if (!layer->hasError()) { use(layer->getImage()); }
class ImageResource : public ResourceObject, public ImageContainer {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The object factory's create function for "Image" definitions.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Reads the keys above from `definition` (null reads as empty).
    explicit ImageResource(PropertyNode* definition);
    /// A picture built in code from a file name (may be empty for a mask
    /// alone) and a mask file name (may be empty), every other key at its
    /// default. Fonts build their layers this way. Unlike a defined picture,
    /// whose mask is read in the global mode, such a picture reads its mask
    /// in its own mode, so a font stored in a mode of its own keeps its
    /// layers' masks.
    ImageResource(std::string_view fileName, std::string_view maskFile);

    /// Decodes the file (read as the access mode says; as a loose file when
    /// no archive is set up or the global mode is "file") as PNG, then as
    /// JPEG, into the container, and writes the mask's grey values into its
    /// alpha when a mask is named. A missing or undecodable file or mask sets
    /// the error flag (the picture without its mask is kept). Always ends
    /// loaded.
    void load() override;
    /// The container's image (an `Image`), null while not loaded or after an
    /// error.
    [[nodiscard]] BaseObject* getHeldObject() const override;
    /// Also empties the container.
    void unload() override;
    /// True for another picture of the same file, mask, colour, frame count
    /// and alpha settings: only such pictures load into the same image.
    [[nodiscard]] bool sameFile(const ResourceObject& other) const override;
    /// "Object: <not 0|NULL>; Color: <color>; Only Mask: <true|false>; Mask
    /// File Name: <mask>; " followed by the base dump.
    [[nodiscard]] std::string toString() const override;

    [[nodiscard]] const std::string& getMaskFile() const { return maskFile_; }
    [[nodiscard]] bool usesAlphaChannel() const { return useAlphaChannel_; }
    [[nodiscard]] int getColor() const { return color_; }
    [[nodiscard]] bool getAlphaFromGrey() const { return alphaFromGrey_; }
    [[nodiscard]] int getFrameCount() const { return frameCount_; }

private:
    int color_ = 0;
    bool useAlphaChannel_ = true;
    bool alphaFromGrey_ = false;
    int frameCount_ = 1;
    std::string maskFile_;
    bool maskInOwnMode_ = false;
    // A defined mask alone is kept deflated between uses (see load).
    bool deflateMask_ = false;
};

} // namespace orv
