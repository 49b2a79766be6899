#include "engine/core/Log.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ImageDecoders.h"
#include "engine/resources/ImageManager.h"
#include "tests/resources/ArchiveTestZip.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::JpegKind;
using test::PngSpec;
using test::writeJpeg;
using test::writePng;

std::uint32_t pixel32(Image& image, int x, int y) {
    std::uint32_t p = 0;
    std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 4, 4);
    return p;
}

std::uint16_t pixel16(Image& image, int x, int y) {
    std::uint16_t p = 0;
    std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 2, 2);
    return p;
}

struct PngCase {
    const char* name;
    PngSpec spec;
    unsigned flags;
    int format;
    std::vector<std::uint32_t> expected; // format 4: ARGB; format 1: alpha values
};

class PngColourTypes : public testing::TestWithParam<PngCase> {};

TEST_P(PngColourTypes, ExpandToTheExpectedPixels) {
    const PngCase& c = GetParam();
    const std::vector<std::uint8_t> file = writePng(c.spec);
    RefPtr<Image> image = decodePngMemory(file, c.flags);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->getFormat(), c.format);
    ASSERT_EQ(image->getWidth(), c.spec.width);
    ASSERT_EQ(image->getHeight(), c.spec.height);
    EXPECT_EQ(image->getFollowsDisplayFormat(), c.format != kFormatAlpha);
    ASSERT_TRUE(image->lock());
    for (int i = 0; i < static_cast<int>(c.expected.size()); ++i) {
        const int x = i % c.spec.width;
        const int y = i / c.spec.width;
        const std::uint32_t got =
            c.format == kFormatAlpha ? image->getAlpha()[i] : pixel32(*image, x, y);
        EXPECT_EQ(got, c.expected[static_cast<std::size_t>(i)]) << "pixel " << i;
    }
    image->unlock();
}

PngSpec spec(int width, int height, int type, int depth, std::vector<std::uint8_t> samples,
             std::vector<std::uint8_t> palette = {}, std::vector<std::uint8_t> trns = {},
             bool interlaced = false) {
    return PngSpec{width,           height,    type, depth, std::move(samples), std::move(palette),
                   std::move(trns), interlaced};
}

INSTANTIATE_TEST_SUITE_P(
    Decoding, PngColourTypes,
    testing::Values(
        PngCase{"Rgba8",
                spec(2, 1, PNG_COLOR_TYPE_RGBA, 8, {0xFF, 0x80, 0x00, 0x80, 1, 2, 3, 0}),
                0,
                kFormatArgb32,
                {0x80FF8000, 0x00010203}},
        PngCase{"Rgb8",
                spec(1, 1, PNG_COLOR_TYPE_RGB, 8, {0x12, 0x34, 0x56}),
                0,
                kFormatArgb32,
                {0xFF123456}},
        PngCase{"Rgb16",
                spec(1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0xFF, 0x34, 0x00, 0x56, 0x80}),
                0,
                kFormatArgb32,
                {0xFF123456}},
        PngCase{"Rgba16",
                spec(1, 1, PNG_COLOR_TYPE_RGBA, 16, {0xAB, 0, 0xCD, 0, 0xEF, 0, 0x7F, 0xFF}),
                0,
                kFormatArgb32,
                {0x7FABCDEF}},
        PngCase{"RgbKey",
                spec(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}, {}, {4, 5, 6}),
                0,
                kFormatArgb32,
                {0xFF010203, 0x00040506}},
        PngCase{"Grey8",
                spec(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0x00, 0x9A}),
                0,
                kFormatArgb32,
                {0xFF000000, 0xFF9A9A9A}},
        PngCase{"Grey8AlphaFromGrey",
                spec(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0x00, 0x9A}),
                kDecodeAlphaFromGrey,
                kFormatArgb32,
                {0x00000000, 0x9A000000}},
        PngCase{"Grey1",
                spec(4, 1, PNG_COLOR_TYPE_GRAY, 1, {0xA0}),
                0,
                kFormatArgb32,
                {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}},
        PngCase{"Grey2",
                spec(4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B}),
                0,
                kFormatArgb32,
                {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}},
        PngCase{"Grey16",
                spec(1, 1, PNG_COLOR_TYPE_GRAY, 16, {0xC3, 0x11}),
                0,
                kFormatArgb32,
                {0xFFC3C3C3}},
        PngCase{"GreyKey",
                spec(2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 8}, {}, {8}),
                0,
                kFormatArgb32,
                {0xFF070707, 0x00080808}},
        PngCase{"GreyAlpha8",
                spec(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x40, 0xC0}),
                0,
                kFormatArgb32,
                {0xC0404040}},
        PngCase{"GreyAlpha16",
                spec(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x40, 1, 0xC0, 2}),
                0,
                kFormatArgb32,
                {0xC0404040}},
        PngCase{"Palette8",
                spec(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {9, 8, 7, 0xAA, 0xBB, 0xCC}),
                0,
                kFormatArgb32,
                {0xFFAABBCC, 0xFF090807}},
        PngCase{"Palette4Transparent",
                spec(2, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x01}, {9, 8, 7, 0xAA, 0xBB, 0xCC}, {0x33}),
                0,
                kFormatArgb32,
                {0x33090807, 0xFFAABBCC}},
        PngCase{"Palette1",
                spec(3, 1, PNG_COLOR_TYPE_PALETTE, 1, {0x40}, {1, 1, 1, 2, 2, 2}),
                0,
                kFormatArgb32,
                {0xFF010101, 0xFF020202, 0xFF010101}},
        PngCase{"InterlacedRgba",
                spec(3, 3, PNG_COLOR_TYPE_RGBA, 8,
                     {1, 0,   0, 255, 2, 0,   0, 255, 3, 0,   0, 255, 4, 0,   0, 255, 5, 0,
                      0, 255, 6, 0,   0, 255, 7, 0,   0, 255, 8, 0,   0, 255, 9, 0,   0, 255},
                     {}, {}, true),
                0,
                kFormatArgb32,
                {0xFF010000, 0xFF020000, 0xFF030000, 0xFF040000, 0xFF050000, 0xFF060000, 0xFF070000,
                 0xFF080000, 0xFF090000}},
        PngCase{"MaskFromPalette",
                spec(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {9, 8, 7, 0xAA, 0xBB, 0xCC}),
                kDecodeMaskOnly,
                kFormatAlpha,
                {0xAA, 0x09}},
        PngCase{"MaskFromRgba",
                spec(1, 1, PNG_COLOR_TYPE_RGBA, 8, {0x5A, 1, 2, 3}),
                kDecodeMaskOnly,
                kFormatAlpha,
                {0x5A}},
        PngCase{"MaskFromGrey",
                spec(1, 1, PNG_COLOR_TYPE_GRAY, 8, {0x77}),
                kDecodeMaskOnly,
                kFormatAlpha,
                {0x77}}),
    [](const testing::TestParamInfo<PngCase>& param) { return std::string(param.param.name); });

// Decoding while the display runs at 16 bits per pixel.
class SixteenBitDisplay : public testing::Test {
protected:
    SixteenBitDisplay() { ImageManager::create()->setPixelFormatAll(kFormatRgb565); }
    SixteenBitDisplay(const SixteenBitDisplay&) = delete;
    SixteenBitDisplay& operator=(const SixteenBitDisplay&) = delete;
    ~SixteenBitDisplay() override { ImageManager::destroyInstance(); }
};

TEST_F(SixteenBitDisplay, PngPixelsBecomeRgb565WithAnAlphaPlane) {
    const auto file = writePng(
        spec(2, 1, PNG_COLOR_TYPE_RGBA, 8, {0xFF, 0x80, 0x00, 0x80, 0x12, 0x34, 0x56, 0xFF}));
    RefPtr<Image> image = decodePngMemory(file, 0);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->getFormat(), kFormatRgb565);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(pixel16(*image, 0, 0), 0xFC00);
    EXPECT_EQ(image->getAlpha()[0], 0x80);
    EXPECT_EQ(pixel16(*image, 1, 0), 0x11AA);
    EXPECT_EQ(image->getAlpha()[1], 0xFF);
    image->unlock();
}

TEST_F(SixteenBitDisplay, AlphaFromGreyGivesBlackWithTheGreyAsAlpha) {
    const auto file = writePng(spec(1, 1, PNG_COLOR_TYPE_GRAY, 8, {0x9A}));
    RefPtr<Image> image = decodePngMemory(file, kDecodeAlphaFromGrey);
    ASSERT_TRUE(image);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(pixel16(*image, 0, 0), 0);
    EXPECT_EQ(image->getAlpha()[0], 0x9A);
    image->unlock();
}

TEST_F(SixteenBitDisplay, JpegPixelsBecomeRgb565) {
    const auto file = writeJpeg(8, 8, JpegKind::Grey, test::uniformSamples(8, 8, {0xFF}));
    RefPtr<Image> image = decodeJpeg(file);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->getFormat(), kFormatRgb565);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(pixel16(*image, 3, 3), 0xFFFF);
    EXPECT_EQ(image->getAlpha()[27], 0xFF);
    image->unlock();
}

// A picture decoded for a caller that works on it first does not follow the
// display until it is adopted; a display change made in between (the window
// being created while the loader decodes) is then applied on adoption.
TEST(DeferredDisplayFormat, AdoptionAppliesAChangeMadeWhileDecoding) {
    ImageManager::create()->setPixelFormatAll(kFormatArgb32);
    const auto file = writePng(spec(1, 1, PNG_COLOR_TYPE_RGBA, 8, {0xFF, 0xFF, 0xFF, 0xFF}));
    RefPtr<Image> image = decodePngMemory(file, kDecodeDeferDisplayFormat);
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->getFollowsDisplayFormat());
    ImageManager::getInstance()->setPixelFormatAll(kFormatRgb565);
    EXPECT_EQ(image->getFormat(), kFormatArgb32);
    adoptDisplayFormat(*image);
    EXPECT_TRUE(image->getFollowsDisplayFormat());
    EXPECT_EQ(image->getFormat(), kFormatRgb565);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(pixel16(*image, 0, 0), 0xFFFF);
    image->unlock();
    ImageManager::destroyInstance();
}

// Colour JPEGs are lossy even at quality 100: allow a small error per channel.
void expectNear(std::uint32_t got, std::uint32_t expected, int tolerance) {
    for (int shift : {24, 16, 8, 0}) {
        const int a = static_cast<int>((got >> shift) & 0xFF);
        const int b = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_NEAR(a, b, tolerance) << std::hex << got << " vs " << expected;
    }
}

struct JpegCase {
    const char* name;
    JpegKind kind;
    std::vector<std::uint8_t> sample;
    std::uint32_t expected;
    bool progressive;
};

class JpegColourSpaces : public testing::TestWithParam<JpegCase> {};

TEST_P(JpegColourSpaces, DecodeToOpaquePixels) {
    const JpegCase& c = GetParam();
    const auto file =
        writeJpeg(17, 9, c.kind, test::uniformSamples(17, 9, c.sample), c.progressive);
    RefPtr<Image> image = decodeJpeg(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getFormat(), kFormatArgb32);
    EXPECT_TRUE(image->getFollowsDisplayFormat());
    ASSERT_EQ(image->getWidth(), 17);
    ASSERT_EQ(image->getHeight(), 9);
    ASSERT_TRUE(image->lock());
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 17; ++x) {
            expectNear(pixel32(*image, x, y), c.expected, 3);
        }
    }
    image->unlock();
}

INSTANTIATE_TEST_SUITE_P(
    Decoding, JpegColourSpaces,
    testing::Values(JpegCase{"Rgb", JpegKind::Rgb, {0xC8, 0x64, 0x32}, 0xFFC86432, false},
                    JpegCase{"Progressive", JpegKind::Rgb, {0x10, 0xE0, 0x80}, 0xFF10E080, true},
                    JpegCase{"Grey", JpegKind::Grey, {0x5B}, 0xFF5B5B5B, false},
                    // Adobe-style inks: no cyan, full magenta and yellow, no black.
                    JpegCase{"Cmyk", JpegKind::Cmyk, {255, 0, 0, 255}, 0xFFFF0000, false}),
    [](const testing::TestParamInfo<JpegCase>& param) { return std::string(param.param.name); });

TEST(JpegDecoding, AFileCutInsideItsPictureDataStillDecodesToFullSize) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 64 * 64; ++i) {
        samples.insert(samples.end(),
                       {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7),
                        static_cast<std::uint8_t>(i * 13)});
    }
    auto file = writeJpeg(64, 64, JpegKind::Rgb, samples);
    file.resize(file.size() / 2);
    const test::QuietLog quiet;
    RefPtr<Image> image = decodeJpeg(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getWidth(), 64);
    EXPECT_EQ(image->getHeight(), 64);
}

TEST(JpegDecoding, FewBytesForALargeSolidPictureAreEnough) {
    // The densest real files: one colour, progressive.
    const auto file =
        writeJpeg(1024, 1024, JpegKind::Grey, test::uniformSamples(1024, 1024, {0x40}), true);
    RefPtr<Image> image = decodeJpeg(file);
    ASSERT_TRUE(image) << file.size() << " bytes";
    EXPECT_EQ(image->getWidth(), 1024);
}

// Overwrites the 16-bit big-endian value at `offset`.
void putBigEndian16(std::vector<std::uint8_t>& file, std::size_t offset, unsigned value) {
    file[offset] = static_cast<std::uint8_t>(value >> 8);
    file[offset + 1] = static_cast<std::uint8_t>(value);
}

std::size_t findMarker(const std::vector<std::uint8_t>& file, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == marker) {
            return i;
        }
    }
    return file.size();
}

// Rewrites the PNG header's size and its checksum, so that only the size is
// wrong.
std::vector<std::uint8_t> pngWithSize(std::vector<std::uint8_t> file, std::uint32_t width,
                                      std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        file[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        file[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, file.data() + 12, 17));
    for (int i = 0; i < 4; ++i) {
        file[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    return file;
}

std::vector<std::uint8_t> samplePng() {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 16 * 16 * 4; ++i) {
        samples.push_back(static_cast<std::uint8_t>(i * 31 + 7));
    }
    return writePng(spec(16, 16, PNG_COLOR_TYPE_RGBA, 8, samples));
}

std::vector<std::uint8_t> sampleJpeg() {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 16 * 16 * 3; ++i) {
        samples.push_back(static_cast<std::uint8_t>(i * 29 + 3));
    }
    return writeJpeg(16, 16, JpegKind::Rgb, samples);
}

// The sample JPEG with another size in its frame header.
std::vector<std::uint8_t> jpegWithSize(unsigned width, unsigned height) {
    auto file = sampleJpeg();
    const std::size_t sof = findMarker(file, 0xC0);
    putBigEndian16(file, sof + 5, height);
    putBigEndian16(file, sof + 7, width);
    return file;
}

struct BrokenCase {
    const char* name;
    std::vector<std::uint8_t> (*make)();
};

class BrokenPng : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenPng, FailsCleanly) {
    const std::vector<std::uint8_t> file = GetParam().make();
    const test::QuietLog quiet;
    EXPECT_FALSE(decodePngMemory(file, 0));
    EXPECT_FALSE(decodePngMemory(file, kDecodeMaskOnly));
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, BrokenPng,
    testing::Values(BrokenCase{"Empty",
                               [] {
                                   return std::vector<std::uint8_t>{};
                               }},
                    BrokenCase{"SignatureOnly",
                               [] {
                                   return std::vector<std::uint8_t>{0x89, 'P', 'N', 'G',
                                                                    13,   10,  26,  10};
                               }},
                    BrokenCase{"NotAPng",
                               [] {
                                   return sampleJpeg();
                               }},
                    BrokenCase{"CutInHeader",
                               [] {
                                   auto f = samplePng();
                                   f.resize(20);
                                   return f;
                               }},
                    BrokenCase{"CutInPictureData",
                               [] {
                                   auto f = samplePng();
                                   f.resize(f.size() - 40);
                                   return f;
                               }},
                    BrokenCase{"WithoutEnd",
                               [] {
                                   auto f = samplePng();
                                   f.resize(f.size() - 12);
                                   return f;
                               }},
                    BrokenCase{"HeaderChecksumWrong",
                               [] {
                                   auto f = samplePng();
                                   f[17] ^= 0x01;
                                   return f;
                               }},
                    BrokenCase{"PictureDataCorrupt",
                               [] {
                                   auto f = samplePng();
                                   for (std::size_t i = 45; i < 60; ++i) {
                                       f[i] = 0xEE;
                                   }
                                   return f;
                               }},
                    BrokenCase{"HugeDimensions",
                               [] {
                                   return pngWithSize(samplePng(), 100000, 100000);
                               }},
                    BrokenCase{"OneSideTooLarge",
                               [] {
                                   return pngWithSize(samplePng(), 16, 16385);
                               }},
                    BrokenCase{"ZeroWidth",
                               [] {
                                   return pngWithSize(samplePng(), 0, 16);
                               }},
                    BrokenCase{"SizeLargerThanData",
                               [] {
                                   return pngWithSize(samplePng(), 16, 64);
                               }},
                    BrokenCase{"LargestSizeFromTooLittleData",
                               [] {
                                   return pngWithSize(samplePng(), 16384, 16384);
                               }},
                    // Its bits inflate from its few kilobytes, but each becomes
                    // four bytes: more pixels than a picture may have.
                    BrokenCase{"OneBitPictureOfTooManyPixels",
                               [] {
                                   constexpr int kSide = 8192;
                                   return writePng(
                                       spec(kSide, kSide, PNG_COLOR_TYPE_GRAY, 1,
                                            std::vector<std::uint8_t>(kSide / 8 * kSide, 0)));
                               }}),
    [](const testing::TestParamInfo<BrokenCase>& param) { return std::string(param.param.name); });

class BrokenJpeg : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenJpeg, FailsCleanly) {
    const std::vector<std::uint8_t> file = GetParam().make();
    const test::QuietLog quiet;
    EXPECT_FALSE(decodeJpeg(file));
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, BrokenJpeg,
    testing::Values(BrokenCase{"Empty",
                               [] {
                                   return std::vector<std::uint8_t>{};
                               }},
                    BrokenCase{"StartMarkerOnly",
                               [] {
                                   return std::vector<std::uint8_t>{0xFF, 0xD8};
                               }},
                    BrokenCase{"NotAJpeg",
                               [] {
                                   return samplePng();
                               }},
                    BrokenCase{"CutInHeader",
                               [] {
                                   auto f = sampleJpeg();
                                   f.resize(findMarker(f, 0xC0) + 4);
                                   return f;
                               }},
                    BrokenCase{"HugeDimensions",
                               [] {
                                   return jpegWithSize(20000, 20000);
                               }},
                    BrokenCase{"ZeroHeight",
                               [] {
                                   auto f = sampleJpeg();
                                   putBigEndian16(f, findMarker(f, 0xC0) + 5, 0);
                                   return f;
                               }},
                    // A header whose picture its few bytes cannot hold: a
                    // truncated file would decode to a picture of nothing.
                    BrokenCase{"SizeLargerThanItsDataCanHold",
                               [] {
                                   return jpegWithSize(2048, 2048);
                               }},
                    BrokenCase{"MorePixelsThanAPictureMayHave",
                               [] {
                                   auto f = jpegWithSize(16384, 16384);
                                   f.resize(469);
                                   return f;
                               }},
                    BrokenCase{"HuffmanTableCorrupt",
                               [] {
                                   auto f = sampleJpeg();
                                   const std::size_t dht = findMarker(f, 0xC4);
                                   for (std::size_t i = dht + 5; i < dht + 21; ++i) {
                                       f[i] = 0xFF;
                                   }
                                   return f;
                               }},
                    BrokenCase{"HundredsOfScans",
                               [] {
                                   return test::writeJpegWithManyScans(16, 16);
                               }},
                    BrokenCase{"SegmentLengthBeyondTheData",
                               [] {
                                   auto f = sampleJpeg();
                                   putBigEndian16(f, 4, 0xFFF0);
                                   return f;
                               }}),
    [](const testing::TestParamInfo<BrokenCase>& param) { return std::string(param.param.name); });

TEST(ImageFiles, LoadFromDisk) {
    const test::TempDir dir;
    const auto png = samplePng();
    const auto jpeg = sampleJpeg();
    test::writeFile(dir.path() / "a.png", std::string(png.begin(), png.end()));
    test::writeFile(dir.path() / "b.jpg", std::string(jpeg.begin(), jpeg.end()));
    RefPtr<Image> fromPng = loadPngFile(dir.file("a.png"), 0);
    RefPtr<Image> fromJpeg = loadJpeg(dir.file("b.jpg"), true);
    ASSERT_TRUE(fromPng);
    ASSERT_TRUE(fromJpeg);
    EXPECT_EQ(fromPng->getWidth(), 16);
    EXPECT_EQ(fromJpeg->getHeight(), 16);
    const test::QuietLog quiet;
    EXPECT_FALSE(loadPngFile(dir.file("b.jpg"), 0));
    EXPECT_FALSE(loadPngFile(dir.file("missing.png"), 0));
    EXPECT_FALSE(loadJpeg(dir.file("missing.jpg"), false));
}

TEST(ImageFiles, JpegFromTheArchive) {
    const test::TempDir dir;
    const auto jpeg = sampleJpeg();
    ASSERT_TRUE(test::writeZip(dir.file("media.dat"),
                               {{"pics/b.jpg", std::string(jpeg.begin(), jpeg.end())}}));
    FileArchive::setUp(ArchiveMode::Zip, dir.file("media.dat"));
    RefPtr<Image> fromArchive = loadJpeg("pics/b.jpg", true);
    const test::QuietLog quiet;
    RefPtr<Image> looseOnly = loadJpeg("pics/b.jpg", false);
    FileArchive::shutDown();
    ASSERT_TRUE(fromArchive);
    EXPECT_EQ(fromArchive->getWidth(), 16);
    EXPECT_FALSE(looseOnly) << "without the archive only loose files are read";
}

} // namespace
} // namespace orv
