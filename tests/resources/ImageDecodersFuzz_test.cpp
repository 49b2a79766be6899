#include "engine/core/Log.h"
#include "tests/resources/ImageTestFiles.h"

#include <png.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace orv {
namespace {

// A deterministic stand-in for a fuzzing run: thousands of mutations of valid
// PNG and JPEG files (bit flips, overwritten and inserted bytes, cuts), each
// decoded under the sanitizers. A fault shows as a sanitizer report or crash.
std::vector<std::uint8_t> mutate(const std::vector<std::uint8_t>& file, std::mt19937& random) {
    std::vector<std::uint8_t> out = file;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !out.empty(); ++e) {
        const std::size_t at = random() % out.size();
        switch (random() % 5) {
        case 0:
            out[at] ^= static_cast<std::uint8_t>(1U << (random() % 8));
            break;
        case 1:
            out[at] = static_cast<std::uint8_t>(random());
            break;
        case 2:
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at),
                       static_cast<std::uint8_t>(random()));
            break;
        case 3:
            out.resize(at);
            break;
        default:
            out[at] = 0xFF;
            break;
        }
    }
    return out;
}

TEST(ImageDecodersFuzz, MutatedFilesNeverFaultTheDecoders) {
    const LogSink previous = setLogSink([](LogLevel, std::string_view) {});
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < 12 * 10 * 4; ++i) {
        rgba.push_back(static_cast<std::uint8_t>(i * 37));
    }
    std::vector<std::uint8_t> indices; // 4-bit palette indices 0 and 1
    for (int i = 0; i < 4 * 5; ++i) {
        indices.push_back(static_cast<std::uint8_t>((i % 3 == 0 ? 0x10 : 0x01)));
    }
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 24 * 16 * 3; ++i) {
        rgb.push_back(static_cast<std::uint8_t>(i * 11));
    }
    const std::vector<std::vector<std::uint8_t>> seeds = {
        test::writePng({12, 10, PNG_COLOR_TYPE_RGBA, 8, rgba, {}, {}, false}),
        test::writePng({12, 10, PNG_COLOR_TYPE_RGBA, 8, rgba, {}, {}, true}),
        test::writePng({7, 5, PNG_COLOR_TYPE_PALETTE, 4, indices, {1, 2, 3, 4, 5, 6}, {9}, false}),
        test::writePng({9, 3, PNG_COLOR_TYPE_GRAY, 16, rgba, {}, {}, false}),
        test::writeJpeg(24, 16, test::JpegKind::Rgb, rgb),
        test::writeJpeg(24, 16, test::JpegKind::Rgb, rgb, true),
        test::writeJpeg(24, 16, test::JpegKind::Grey,
                        std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 24 * 16)),
    };
    std::mt19937 random(20261210);
    for (const auto& seed : seeds) {
        ASSERT_EQ(LLVMFuzzerTestOneInput(seed.data(), seed.size()), 0);
        for (int i = 0; i < 400; ++i) {
            const std::vector<std::uint8_t> input = mutate(seed, random);
            ASSERT_EQ(LLVMFuzzerTestOneInput(input.data(), input.size()), 0);
        }
    }
    setLogSink(previous);
}

} // namespace
} // namespace orv
