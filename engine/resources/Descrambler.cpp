#include "engine/resources/Descrambler.h"

#include "engine/core/RandomGenerator.h"

#include <utility>

namespace orv {

namespace {

// The key's seed. Changing it makes every scrambled file written so far
// unreadable.
constexpr std::uint32_t kKeySeedLow = 0x2C9F0E53;
constexpr std::uint32_t kKeySeedHigh = 0x00007A41;

} // namespace

Descrambler::Descrambler() {
    std::array<std::uint8_t, 256> key{};
    RandomGenerator keyMaker(kKeySeedLow, kKeySeedHigh);
    keyMaker.nextBytes(key);

    for (std::size_t i = 0; i < table_.size(); ++i) {
        table_[i] = static_cast<std::uint8_t>(i);
    }
    std::size_t j = 0;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        j = (j + table_[i] + key[i]) % table_.size();
        std::swap(table_[i], table_[j]);
    }
}

const Descrambler& Descrambler::get() {
    // A function-local static is built once even when two threads ask first.
    static const Descrambler instance;
    return instance;
}

void Descrambler::apply(std::span<std::uint8_t> data) const {
    for (std::size_t p = 0; p < data.size(); ++p) {
        data[p] = static_cast<std::uint8_t>(data[p] ^ (table_[p % table_.size()] & 0x7FU));
    }
}

void descramble(std::uint8_t* buffer, std::size_t length) {
    if (length == 0) {
        return;
    }
    Descrambler::get().apply(std::span<std::uint8_t>(buffer, length));
}

} // namespace orv
