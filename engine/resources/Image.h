#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orv {

/// Pixel formats of an image, named by their bytes per pixel.
/// No buffers yet (before `allocate`).
inline constexpr int kFormatNone = 0;
/// Alpha only: one byte per pixel in the alpha plane, no colour pixels (masks).
inline constexpr int kFormatAlpha = 1;
/// 16-bit RGB565 colour words (red in bits 15-11, green 10-5, blue 4-0) and a
/// separate alpha plane of one byte per pixel.
inline constexpr int kFormatRgb565 = 2;
/// 32-bit 0xAARRGGBB words, alpha in the top byte; no alpha plane.
inline constexpr int kFormatArgb32 = 4;

/// The largest width or height an image may have. Decoders refuse pictures
/// whose header claims more, so a hostile file cannot ask for gigabytes.
inline constexpr int kMaxImageSide = 16384;

/// A block of pixels the engine draws or draws into: 32-bit ARGB, 16-bit
/// RGB565 with an alpha plane, or an 8-bit alpha-only mask (see the format
/// constants). Rows run top to bottom, `getPitch()` bytes apart; the alpha
/// plane's rows are exactly `getWidth()` bytes apart.
///
/// Pixels are read and written only between `lock` and `unlock`; `lock`
/// restores compressed pixels transparently. Every image lists itself with the
/// image manager (when one exists) for its whole life, so that the manager can
/// convert it when the display format changes.
///
///     RefPtr<Image> image = createImage(64, 80, kFormatArgb32);
///     if (image && image->lock()) {
///         auto* row = reinterpret_cast<std::uint32_t*>(image->getPixels());
///         row[0] = 0xFF102030;
///         image->unlock();
///     }
class Image : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// An empty image of format 0 (no buffers), listed with the image manager.
    Image();
    ~Image() override;

    [[nodiscard]] virtual int getWidth() const { return width_; }
    [[nodiscard]] virtual int getHeight() const { return height_; }
    /// Bytes from one row of colour pixels to the next.
    [[nodiscard]] virtual int getPitch() const { return pitch_; }
    /// Set the size fields only; no buffer is touched (call `allocate` after).
    virtual void setWidth(int width) { width_ = width; }
    virtual void setHeight(int height) { height_ = height; }
    virtual void setPitch(int pitch) { pitch_ = pitch; }

    /// Makes the pixels available for reading and writing, uncompressing them
    /// first when they were compressed. False when the image has neither
    /// colour pixels nor an alpha plane (callers then skip drawing).
    [[nodiscard]] virtual bool lock();
    /// Ends the access begun by `lock` and stamps the image as used at the
    /// manager's clock. True when the image could be released.
    virtual bool unlock();

    /// Points the image at colour pixels or an alpha plane it does not own.
    /// Borrowed: the memory must outlive its use by the image, which never
    /// frees it; a block the image allocated itself stays owned until
    /// `releaseBuffers`.
    virtual void setPixels(std::uint8_t* pixels) { pixels_ = pixels; }
    virtual void setAlpha(std::uint8_t* alpha) { alpha_ = alpha; }

    /// Deflates the present buffers into compressed copies and frees the
    /// buffers. When any buffer does not shrink, the compressed copies are
    /// dropped, the buffers kept and the image marked never idle; false then.
    virtual bool compress();
    /// Inflates the compressed copies back into buffers and drops the copies.
    /// False (and the image left without buffers) when a copy is corrupt or
    /// memory runs out.
    virtual bool uncompress();

    /// Manager clock ticks since the last `unlock`; 0 while locked.
    [[nodiscard]] virtual std::int64_t getIdleTime() const;

    /// Stores `format` (1, 2 or 4) and allocates fresh, uncleared buffers for
    /// the current width and height: format 1 an alpha plane, format 2 colour
    /// words and an alpha plane, format 4 colour words. Older buffers are
    /// freed. False, with no buffers, for another format, a width or height
    /// outside 0..kMaxImageSide, or when memory runs out.
    [[nodiscard]] virtual bool allocate(int format);
    /// Converts the pixels between formats 2 and 4 when the image follows the
    /// display format and `format` differs; otherwise changes nothing.
    virtual void setPixelFormat(int format);
    /// Frees the buffers the image owns; both pointers become null.
    virtual void releaseBuffers();
    /// Frees the compressed copies.
    virtual void releaseCompressed();

    [[nodiscard]] int getFormat() const { return format_; }
    /// Colour pixels, null for masks and before allocation. Owned by the
    /// image (or borrowed through `setPixels`); valid while locked.
    [[nodiscard]] std::uint8_t* getPixels() const { return pixels_; }
    /// Alpha plane (formats 1 and 2), null otherwise; same lifetime.
    [[nodiscard]] std::uint8_t* getAlpha() const { return alpha_; }
    [[nodiscard]] bool isLocked() const { return locked_; }
    [[nodiscard]] bool hasCompressedCopies() const {
        return !compressedPixels_.empty() || !compressedAlpha_.empty();
    }
    /// Bytes the compressed copies take (0 without them).
    [[nodiscard]] std::size_t getCompressedSize() const {
        return compressedPixels_.size() + compressedAlpha_.size();
    }

    /// Whether the image is converted when the display format changes (set on
    /// images made for the display and on decoded pictures).
    [[nodiscard]] bool getFollowsDisplayFormat() const { return followsDisplayFormat_; }
    void setFollowsDisplayFormat(bool follows) { followsDisplayFormat_ = follows; }
    /// Whether drawing uses the per-pixel alpha (true by default).
    [[nodiscard]] bool getUseAlphaChannel() const { return useAlphaChannel_; }
    void setUseAlphaChannel(bool use) { useAlphaChannel_ = use; }
    /// Animation frames laid out side by side in the picture (1 by default).
    [[nodiscard]] int getFrameCount() const { return frameCount_; }
    void setFrameCount(int count) { frameCount_ = count; }
    /// Whether `releaseBuffers` frees the buffers (false for surface images).
    [[nodiscard]] bool getOwnsBuffers() const { return ownsBuffers_; }
    /// The manager clock at the last `unlock`.
    [[nodiscard]] std::int64_t getLastUsed() const { return lastUsed_; }

protected:
    /// Copies the pixels of `other` into this freshly constructed image: its
    /// size, format and flags, then exactly the buffers that exist. False when
    /// memory runs out or `other` cannot be locked although it has buffers.
    [[nodiscard]] bool copyFrom(Image& other);

    void setFormatField(int format) { format_ = format; }
    void setLockedField(bool locked) { locked_ = locked; }
    void setOwnsBuffersField(bool owns) { ownsBuffers_ = owns; }
    void stampLastUsed();

private:
    friend RefPtr<Image> cloneImage(Image& image);

    int format_ = kFormatNone;
    std::uint8_t* pixels_ = nullptr;
    std::uint8_t* alpha_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    bool locked_ = false;
    bool followsDisplayFormat_ = false;
    // zlib copies of the buffers while the image is compressed (empty otherwise).
    std::vector<std::uint8_t> compressedPixels_;
    std::vector<std::uint8_t> compressedAlpha_;
    bool ownsBuffers_ = true;
    bool useAlphaChannel_ = true;
    int frameCount_ = 1;
    std::int64_t lastUsed_ = 0;

    // The blocks this image allocated; `pixels_` and `alpha_` point into them
    // unless `setPixels` / `setAlpha` lent other memory.
    std::unique_ptr<std::uint8_t[]> ownedPixels_;
    std::unique_ptr<std::uint8_t[]> ownedAlpha_;
};

/// A new image of `width` × `height` pixels in `format` (1, 2 or 4), its
/// buffers uncleared. Null when the size lies outside 0..kMaxImageSide, the
/// format is unknown or memory runs out. The caller holds the only reference.
[[nodiscard]] RefPtr<Image> createImage(int width, int height, int format);

/// `createImage` in the display's format (the image manager's display bytes
/// per pixel, 4 without a manager), marked to follow display changes.
[[nodiscard]] RefPtr<Image> createDisplayImage(int width, int height);

/// A new image with a copy of `image`'s size, format, flags and pixels (only
/// the buffers that exist are copied, so every format clones). Null for a
/// surface image (`ImageDD`), whose pixels belong to the surface, and when
/// memory runs out. The caller holds the only reference.
[[nodiscard]] RefPtr<Image> cloneImage(Image& image);

/// The display's bytes per pixel as last given to
/// `ImageManager::setPixelFormatAll`; 4 when there is no manager.
[[nodiscard]] int getDisplayBytesPerPixel();

/// Marks a finished picture (made on any thread) to follow the display format
/// and converts it to the display's present format, in step with
/// `ImageManager::setPixelFormatAll`, so that a display change made while the
/// picture was decoded is not missed.
void adoptDisplayFormat(Image& image);

} // namespace orv
