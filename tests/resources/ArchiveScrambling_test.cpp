#include "engine/resources/Compression.h"
#include "engine/resources/Descrambler.h"

#include <gtest/gtest.h>

#include <random>

namespace orv {
namespace {

TEST(ArchiveScrambling, KeyIsPinned) {
    // Scrambled files written by earlier versions depend on these bytes: if
    // this fails, the key or its schedule changed and saved data is lost.
    std::vector<std::uint8_t> zeros(16, 0);
    descramble(zeros.data(), zeros.size());
    const std::vector<std::uint8_t> expected = {0x29, 0x65, 0x78, 0x1F, 0x2D, 0x37, 0x46, 0x7E,
                                                0x17, 0x1E, 0x16, 0x43, 0x3E, 0x53, 0x73, 0x21};
    EXPECT_EQ(zeros, expected);
}

TEST(ArchiveScrambling, IsItsOwnInverseAndKeepsTheTopBit) {
    // Every byte value at every table position, and beyond one table length.
    std::vector<std::uint8_t> data(256 * 3);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    const std::vector<std::uint8_t> original = data;
    descramble(data.data(), data.size());
    EXPECT_NE(data, original);
    for (std::size_t i = 0; i < data.size(); ++i) {
        ASSERT_EQ(data[i] & 0x80, original[i] & 0x80) << "position " << i;
    }
    // The table does not advance: position p and p + 256 scramble alike.
    for (std::size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(data[i] ^ original[i], data[i + 256] ^ original[i + 256]);
    }
    descramble(data.data(), data.size());
    EXPECT_EQ(data, original);
}

TEST(ArchiveScrambling, TableIsAPermutation) {
    std::array<bool, 256> seen{};
    for (const std::uint8_t value : Descrambler::get().getTable()) {
        EXPECT_FALSE(seen[value]);
        seen[value] = true;
    }
}

TEST(ArchiveCompression, RoundTripsCompressibleData) {
    std::vector<std::uint8_t> pixels(10000);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i % 7);
    }
    const std::vector<std::uint8_t> packed = compressBuffer(pixels);
    ASSERT_FALSE(packed.empty());
    EXPECT_LT(packed.size(), pixels.size());
    EXPECT_EQ(uncompressBuffer(packed, pixels.size()), pixels);
}

TEST(ArchiveCompression, FailuresAreReportedNotFilled) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> noise(4096);
    for (std::uint8_t& byte : noise) {
        byte = static_cast<std::uint8_t>(random());
    }
    EXPECT_TRUE(compressBuffer(noise).empty()) << "data that does not shrink";
    EXPECT_TRUE(compressBuffer({}).empty());

    const std::vector<std::uint8_t> text(2000, 'a');
    std::vector<std::uint8_t> packed = compressBuffer(text);
    ASSERT_FALSE(packed.empty());
    EXPECT_FALSE(uncompressBuffer(packed, text.size() + 1)) << "stream shorter than promised";
    EXPECT_FALSE(uncompressBuffer(packed, text.size() - 1)) << "stream longer than promised";
    EXPECT_FALSE(uncompressBuffer(std::span(packed).first(packed.size() / 2), text.size()));
    packed[packed.size() / 2] ^= 0xFF;
    packed[packed.size() / 2 + 1] ^= 0x55;
    EXPECT_FALSE(uncompressBuffer(packed, text.size())) << "corrupt stream";
    EXPECT_FALSE(uncompressBuffer(noise, 100));
}

} // namespace
} // namespace orv
