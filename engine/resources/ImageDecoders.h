#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"

#include <cstdint>
#include <span>
#include <string>

namespace orv {

/// Decode flags of the PNG entries (set by image resources).
/// Make an alpha-only mask (format 1) from the picture's red (or grey) values.
inline constexpr unsigned kDecodeMaskOnly = 1U << 0;
/// A greyscale picture becomes black with its grey values as alpha.
inline constexpr unsigned kDecodeAlphaFromGrey = 1U << 1;
/// The caller works on the decoded pixels first (a mask merged into them) and
/// then calls `adoptDisplayFormat` itself; without it the decoder does so.
inline constexpr unsigned kDecodeDeferDisplayFormat = 1U << 2;

/// Most pixels a decoded picture may have: sixteen times the game's screen
/// and more than any of its pictures. Larger ones are refused from their
/// header, before any memory is taken for them.
inline constexpr std::uint64_t kMaxDecodedPixels = std::uint64_t{4096} * 4096;

// PNG and JPEG decoding into images. Every entry reads only inside the bytes it
// is given, refuses pictures larger than kMaxImageSide on a side, with more
// than kMaxDecodedPixels pixels or with more pixels than their bytes can hold,
// and returns null (after logging why) for anything it cannot decode: a
// damaged, truncated or hostile file never yields a half-built image. The caller holds the only
// reference to the result. Safe to call from the loader thread.
//
// Every PNG colour type and bit depth (palette with or without transparency,
// grey, grey with alpha, RGB, RGBA, 1 to 16 bits) is expanded to 8-bit RGBA
// before it becomes pixels of the display's format (`getDisplayBytesPerPixel`)
// or, with kDecodeMaskOnly, an alpha-only mask. JPEG pictures of every colour
// space libjpeg decodes (grey, YCbCr, RGB, CMYK, YCCK) become opaque pixels of
// the display's format.

/// True when `data` begins with the PNG signature.
[[nodiscard]] bool isPngSignature(std::span<const std::uint8_t> data);

/// Decodes a PNG held in memory; null when `data` is not a PNG or is broken.
[[nodiscard]] RefPtr<Image> decodePngMemory(std::span<const std::uint8_t> data, unsigned flags);

/// Decodes the PNG file at `path` (read whole, then as `decodePngMemory`);
/// null when it cannot be read or is not a PNG.
[[nodiscard]] RefPtr<Image> loadPngFile(const std::string& path, unsigned flags);

/// Decodes a JPEG held in memory. A file cut short inside its picture data
/// still decodes: libjpeg fills the missing rows after a supplied end marker.
/// Null when the header is unreadable or the data broken. Of `flags` only
/// kDecodeDeferDisplayFormat applies.
[[nodiscard]] RefPtr<Image> decodeJpeg(std::span<const std::uint8_t> data, unsigned flags = 0);

/// Decodes the JPEG file `path`. With `useArchive`, when an archive is set up
/// and the global mode is not loose files, the file is read through
/// `FileArchive::readFile` in the global mode (archive entry or loose
/// fallback); otherwise the loose file is read. Then as `decodeJpeg`.
[[nodiscard]] RefPtr<Image> loadJpeg(const std::string& path, bool useArchive);

} // namespace orv
