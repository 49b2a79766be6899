#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orv {

// One-call zlib compression of memory blocks, for images that keep their
// pixels compressed while they are not drawn.

/// `input` deflated by zlib (level 9, 15-bit window, memory level 8), or an
/// empty vector when the result would not be smaller than or equal to the
/// input, when the input is empty, or on a zlib error. The caller then keeps
/// the uncompressed data.
[[nodiscard]] std::vector<std::uint8_t> compressBuffer(std::span<const std::uint8_t> input);

/// Inflates `input` into exactly `outputSize` bytes. Empty (no value) when the
/// data is corrupt, ends early, or would give another number of bytes: a
/// damaged block is a failure, never a block of garbage.
[[nodiscard]] std::optional<std::vector<std::uint8_t>>
uncompressBuffer(std::span<const std::uint8_t> input, std::size_t outputSize);

} // namespace orv
