#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orv {

/// Turns decoded rows of 8-bit R, G, B, A bytes into an image: an alpha-only
/// mask of the red values with kDecodeMaskOnly, else pixels of the display's
/// format (2 or 4) that follow display changes from `finish` on (or, with
/// kDecodeDeferDisplayFormat, from the caller's `adoptDisplayFormat`). Used by
/// the PNG and JPEG decoders, which feed it row by row.
class ImageDecodeSink {
public:
    /// `greySource`: the picture was greyscale, so kDecodeAlphaFromGrey applies.
    ImageDecodeSink(unsigned flags, bool greySource);

    /// Makes the locked target image; false when memory runs out.
    [[nodiscard]] bool begin(int width, int height);
    /// Writes row `y` from `width` × 4 bytes (R, G, B, A). Only between a
    /// successful `begin` and `finish`, with y inside the image.
    void writeRow(int y, const std::uint8_t* rgba);
    /// Unlocks and hands over the image (null when `begin` failed).
    [[nodiscard]] RefPtr<Image> finish();

private:
    unsigned flags_;
    bool greySource_;
    RefPtr<Image> image_;
};

/// The whole content of the file at `path`; false when it cannot be read, is
/// empty or larger than any file the game reads whole
/// (FileArchive::kMaxFileSize).
[[nodiscard]] bool readImageFile(const std::string& path, std::vector<std::uint8_t>& content);

} // namespace orv
