#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orv {

/// The table that scrambles data files stored in the scrambled access modes.
///
/// Byte p of a file is XORed with the low seven bits of table[p mod 256]; the
/// table never advances, so scrambling is its own inverse and the top bit of
/// every byte is kept. The table comes from an RC4-style key schedule over a
/// 256-byte key drawn from a `RandomGenerator` with a fixed seed. Saved
/// players, scores and scrambled data files depend on it: the seed and the
/// schedule must never change.
class Descrambler {
public:
    /// The process-wide table, built on first use (thread-safe).
    [[nodiscard]] static const Descrambler& get();

    /// Scrambles or descrambles `data` in place, starting at file position 0.
    void apply(std::span<std::uint8_t> data) const;

    [[nodiscard]] const std::array<std::uint8_t, 256>& getTable() const { return table_; }

private:
    Descrambler();

    std::array<std::uint8_t, 256> table_{};
};

/// `Descrambler::get().apply` over `length` bytes at `buffer` (null only with
/// a length of 0).
void descramble(std::uint8_t* buffer, std::size_t length);

} // namespace orv
