#include "engine/core/Log.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageManager.h"
#include "engine/resources/ImageResource.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/resources/ResourceFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace orv {
namespace {

std::vector<std::uint32_t> argbRow(Image& image) {
    std::vector<std::uint32_t> row(static_cast<std::size_t>(image.getWidth()));
    EXPECT_TRUE(image.lock());
    std::memcpy(row.data(), image.getPixels(), row.size() * 4);
    image.unlock();
    return row;
}

class ImageResourceTest : public testing::Test {
protected:
    void SetUp() override {
        // Two opaque pixels, red and blue.
        folder.write("media/pic.png", test::rgbaRowPng({0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF}));
        folder.write("media/mask.png", test::greyRowPng({0x40, 0xC0}));
        folder.write("media/photo.jpg",
                     test::writeJpeg(2, 2, test::JpegKind::Rgb,
                                     test::uniformSamples(2, 2, {0x10, 0x80, 0xF0})));
        folder.write("media/broken.png", std::string("\x89PNG not a picture"));
    }

    test::CurrentFolderFixture folder;
    test::QuietLog quiet;
};

TEST_F(ImageResourceTest, AMaskBecomesThePicturesAlpha) {
    const RefPtr<ImageResource> resource(new ImageResource("Media/Pic.png", "media/mask.png"));
    resource->load();
    ASSERT_TRUE(resource->isLoaded());
    EXPECT_FALSE(resource->hasError());
    Image* image = resource->getImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(resource->getHeldObject(), image);
    EXPECT_EQ(argbRow(*image), (std::vector<std::uint32_t>{0x40FF0000, 0xC00000FF}));
}

TEST_F(ImageResourceTest, AMaskFillsTheAlphaPlaneOf16BitPictures) {
    struct DisplayOf16Bits {
        DisplayOf16Bits() { ImageManager::create()->setPixelFormatAll(kFormatRgb565); }
        DisplayOf16Bits(const DisplayOf16Bits&) = delete;
        DisplayOf16Bits& operator=(const DisplayOf16Bits&) = delete;
        ~DisplayOf16Bits() { ImageManager::destroyInstance(); }
    } const display;
    const RefPtr<ImageResource> resource(new ImageResource("media/pic.png", "media/mask.png"));
    resource->load();
    Image* image = resource->getImage();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getFormat(), kFormatRgb565);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->getAlpha()[0], 0x40);
    EXPECT_EQ(image->getAlpha()[1], 0xC0);
    image->unlock();
}

TEST_F(ImageResourceTest, AMaskAloneLoadsAsAnAlphaImage) {
    const RefPtr<ImageResource> resource(new ImageResource("", "media/mask.png"));
    resource->load();
    ASSERT_FALSE(resource->hasError());
    Image* image = resource->getImage();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getFormat(), kFormatAlpha);
    EXPECT_FALSE(image->hasCompressedCopies()) << "a font's layer is drawn at once: kept whole";
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->getAlpha()[0], 0x40);
    EXPECT_EQ(image->getAlpha()[1], 0xC0);
    image->unlock();
}

TEST_F(ImageResourceTest, AMissingMaskIsAnErrorAndThePictureKeepsItsAlpha) {
    const RefPtr<ImageResource> resource(new ImageResource("media/pic.png", "media/none.png"));
    resource->load();
    EXPECT_TRUE(resource->isLoaded());
    EXPECT_TRUE(resource->hasError());
    ASSERT_NE(resource->getImage(), nullptr);
    EXPECT_EQ(argbRow(*resource->getImage()), (std::vector<std::uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST_F(ImageResourceTest, FailedLoadsEndLoadedWithTheErrorFlag) {
    for (const auto& [file, mask] :
         {std::pair{"media/none.png", ""}, std::pair{"", ""}, std::pair{"media/broken.png", ""}}) {
        const RefPtr<ImageResource> resource(new ImageResource(file, mask));
        resource->load();
        EXPECT_TRUE(resource->isLoaded()) << file;
        EXPECT_TRUE(resource->hasError()) << file;
        EXPECT_EQ(resource->getHeldObject(), nullptr) << file;
        EXPECT_EQ(resource->getLoadedSize(), 1) << file;
    }
}

TEST_F(ImageResourceTest, JpegPicturesLoadAndUnloadEmptiesTheContainer) {
    const RefPtr<ImageResource> resource(new ImageResource("media/photo.jpg", ""));
    resource->load();
    ASSERT_FALSE(resource->hasError());
    ASSERT_NE(resource->getImage(), nullptr);
    EXPECT_EQ(resource->getImage()->getWidth(), 2);
    EXPECT_EQ(argbRow(*resource->getImage())[0] >> 24, 0xFFU);

    resource->unload();
    EXPECT_FALSE(resource->isLoaded());
    EXPECT_EQ(resource->getLoadedSize(), 0);
    EXPECT_EQ(resource->getImage(), nullptr);
}

} // namespace
} // namespace orv
