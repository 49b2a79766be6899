#include "engine/core/Log.h"
#include "engine/core/TaskManager.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageContainer.h"
#include "engine/resources/ImageDD.h"
#include "engine/resources/ImageManager.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace orv {
namespace {

std::uint32_t get32(const Image& image, int x, int y) {
    std::uint32_t p = 0;
    std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 4, 4);
    return p;
}

void put32(Image& image, int x, int y, std::uint32_t p) {
    std::memcpy(image.getPixels() + y * image.getPitch() + x * 4, &p, 4);
}

std::uint16_t get16(const Image& image, int x, int y) {
    std::uint16_t p = 0;
    std::memcpy(&p, image.getPixels() + y * image.getPitch() + x * 2, 2);
    return p;
}

// Every test runs with a fresh image manager, as the game does.
class ImageTest : public testing::Test {
protected:
    ImageTest() { ImageManager::create(); }
    ImageTest(const ImageTest&) = delete;
    ImageTest& operator=(const ImageTest&) = delete;
    ~ImageTest() override { ImageManager::destroyInstance(); }

    static ImageManager& manager() { return *ImageManager::getInstance(); }
};

struct LayoutCase {
    int format;
    int pitch;
    bool pixels;
    bool alpha;
};

class ImageLayout : public ImageTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(ImageLayout, AllocatesTheBuffersOfItsFormat) {
    const LayoutCase& c = GetParam();
    RefPtr<Image> image = createImage(3, 2, c.format);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getFormat(), c.format);
    EXPECT_EQ(image->getPitch(), c.pitch);
    EXPECT_EQ(image->getPixels() != nullptr, c.pixels);
    EXPECT_EQ(image->getAlpha() != nullptr, c.alpha);
    EXPECT_TRUE(image->getOwnsBuffers());
    EXPECT_TRUE(image->getUseAlphaChannel());
    EXPECT_EQ(image->getFrameCount(), 1);
    EXPECT_FALSE(image->getFollowsDisplayFormat());
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageLayout,
                         testing::Values(LayoutCase{kFormatAlpha, 0, false, true},
                                         LayoutCase{kFormatRgb565, 6, true, true},
                                         LayoutCase{kFormatArgb32, 12, true, false}));

TEST_F(ImageTest, RefusesSizesAndFormatsItCannotHold) {
    const test::QuietLog quiet;
    EXPECT_FALSE(createImage(kMaxImageSide + 1, 1, kFormatArgb32));
    EXPECT_FALSE(createImage(1, kMaxImageSide + 1, kFormatArgb32));
    EXPECT_FALSE(createImage(-1, 4, kFormatArgb32));
    EXPECT_FALSE(createImage(4, 4, 3));
    EXPECT_FALSE(createImage(4, 4, kFormatNone));
    RefPtr<Image> empty = createImage(0, 0, kFormatArgb32);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->lock()) << "an image without buffers cannot be locked";
}

TEST_F(ImageTest, ListsItselfWithTheManagerForItsLife) {
    Image* raw = nullptr;
    {
        RefPtr<Image> image = createImage(1, 1, kFormatArgb32);
        raw = image.get();
        EXPECT_TRUE(manager().contains(raw));
    }
    EXPECT_FALSE(manager().contains(raw));
    EXPECT_EQ(manager().getImageCount(), 0U);
}

TEST_F(ImageTest, ImagesMadeOnOtherThreadsAreListedAndUnlisted) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 50; ++i) {
                RefPtr<Image> image = createImage(2, 2, kFormatArgb32);
            }
        });
    }
    RefPtr<Image> kept = createImage(2, 2, kFormatArgb32);
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(manager().getImageCount(), 1U);
}

TEST_F(ImageTest, TheManagerRunsAsAFrameTaskThatChangesNothing) {
    RefPtr<Image> image = createImage(1, 1, kFormatArgb32);
    RefPtr<TaskManager> tasks(new TaskManager());
    tasks->addTask(&manager());
    tasks->runRound(16);
    EXPECT_TRUE(manager().isStarted());
    EXPECT_EQ(manager().getClock(), 0) << "the clock is not advanced";
    EXPECT_TRUE(manager().contains(image.get()));
    EXPECT_TRUE(ImageManager::classRecord.getParents().empty());
    tasks->removeTask(&manager());
}

TEST_F(ImageTest, UnlockStampsTheManagerClockAndIdleTimeCountsFromIt) {
    RefPtr<Image> image = createImage(1, 1, kFormatArgb32);
    EXPECT_EQ(image->getLastUsed(), 0 - 2000 + 5);
    manager().setClock(500);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->getIdleTime(), 0) << "a locked image is never idle";
    image->unlock();
    EXPECT_EQ(image->getLastUsed(), 500);
    manager().setClock(800);
    EXPECT_EQ(image->getIdleTime(), 300);
}

struct ConversionCase {
    std::uint32_t argb;
    std::uint16_t rgb565;
    std::uint8_t alpha;
    std::uint32_t back;
};

class FormatConversion : public ImageTest, public testing::WithParamInterface<ConversionCase> {};

TEST_P(FormatConversion, From32To16AndBack) {
    const ConversionCase& c = GetParam();
    RefPtr<Image> image = createImage(3, 2, kFormatArgb32);
    image->setFollowsDisplayFormat(true);
    ASSERT_TRUE(image->lock());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            put32(*image, x, y, c.argb);
        }
    }
    image->unlock();

    manager().setPixelFormatAll(kFormatRgb565);
    ASSERT_EQ(image->getFormat(), kFormatRgb565);
    ASSERT_EQ(image->getPitch(), 6);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(get16(*image, 2, 1), c.rgb565);
    EXPECT_EQ(image->getAlpha()[5], c.alpha);
    image->unlock();

    manager().setPixelFormatAll(kFormatArgb32);
    ASSERT_EQ(image->getFormat(), kFormatArgb32);
    EXPECT_EQ(image->getAlpha(), nullptr);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(get32(*image, 2, 1), c.back);
    image->unlock();
}

INSTANTIATE_TEST_SUITE_P(Pixels, FormatConversion,
                         testing::Values(ConversionCase{0xFFFFFFFF, 0xFFFF, 0xFF, 0xFFF8FCF8},
                                         ConversionCase{0x80FF8000, 0xFC00, 0x80, 0x80F88000},
                                         ConversionCase{0x00123456, 0x11AA, 0x00, 0x00103450},
                                         ConversionCase{0x7F000000, 0x0000, 0x7F, 0x7F000000}));

TEST_F(ImageTest, OnlyImagesThatFollowTheDisplayAreConverted) {
    RefPtr<Image> fixed = createImage(2, 2, kFormatArgb32);
    RefPtr<Image> mask = createImage(2, 2, kFormatAlpha);
    mask->setFollowsDisplayFormat(true);
    RefPtr<Image> display = createDisplayImage(2, 2);
    ASSERT_TRUE(display->getFollowsDisplayFormat());
    manager().setPixelFormatAll(kFormatRgb565);
    EXPECT_EQ(fixed->getFormat(), kFormatArgb32);
    EXPECT_EQ(mask->getFormat(), kFormatAlpha);
    EXPECT_EQ(display->getFormat(), kFormatRgb565);
    EXPECT_EQ(manager().getDisplayBytesPerPixel(), kFormatRgb565);
    EXPECT_EQ(createDisplayImage(1, 1)->getFormat(), kFormatRgb565);
}

// Fills every byte of every buffer of `image` with a pattern.
void fillPattern(Image& image, std::uint8_t seed) {
    ASSERT_TRUE(image.lock());
    const std::size_t count = static_cast<std::size_t>(image.getWidth()) * image.getHeight();
    for (std::size_t i = 0; image.getPixels() != nullptr && i < count * image.getFormat(); ++i) {
        image.getPixels()[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    for (std::size_t i = 0; image.getAlpha() != nullptr && i < count; ++i) {
        image.getAlpha()[i] = static_cast<std::uint8_t>(seed + i * 3);
    }
    image.unlock();
}

class Cloning : public ImageTest, public testing::WithParamInterface<int> {};

TEST_P(Cloning, CopiesExactlyTheBuffersThatExist) {
    RefPtr<Image> original = createImage(5, 3, GetParam());
    original->setUseAlphaChannel(false);
    original->setFrameCount(4);
    original->setFollowsDisplayFormat(true);
    fillPattern(*original, 11);
    RefPtr<Image> copy = cloneImage(*original);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->getRefCount(), 1);
    EXPECT_EQ(copy->getFormat(), original->getFormat());
    EXPECT_EQ(copy->getPitch(), original->getPitch());
    EXPECT_FALSE(copy->getUseAlphaChannel());
    EXPECT_EQ(copy->getFrameCount(), 4);
    EXPECT_TRUE(copy->getFollowsDisplayFormat());
    EXPECT_EQ(copy->getPixels() != nullptr, original->getPixels() != nullptr);
    EXPECT_EQ(copy->getAlpha() != nullptr, original->getAlpha() != nullptr);
    ASSERT_TRUE(copy->lock());
    ASSERT_TRUE(original->lock());
    if (original->getPixels() != nullptr) {
        EXPECT_EQ(std::memcmp(copy->getPixels(), original->getPixels(), 15 * GetParam()), 0);
        EXPECT_NE(copy->getPixels(), original->getPixels());
    }
    if (original->getAlpha() != nullptr) {
        EXPECT_EQ(std::memcmp(copy->getAlpha(), original->getAlpha(), 15), 0);
    }
    copy->unlock();
    original->unlock();
}

INSTANTIATE_TEST_SUITE_P(Formats, Cloning,
                         testing::Values(kFormatAlpha, kFormatRgb565, kFormatArgb32));

TEST_F(ImageTest, CloningAnImageWithoutBuffersGivesAnotherEmptyImage) {
    RefPtr<Image> blank(new Image());
    blank->setWidth(4);
    blank->setHeight(4);
    RefPtr<Image> copy = cloneImage(*blank);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->getFormat(), kFormatNone);
    EXPECT_EQ(copy->getPixels(), nullptr);
    EXPECT_EQ(copy->getAlpha(), nullptr);
}

TEST_F(ImageTest, CompressedPixelsComeBackOnLock) {
    RefPtr<Image> image = createImage(64, 32, kFormatRgb565);
    ASSERT_TRUE(image->lock());
    std::memset(image->getPixels(), 0x5A, 64 * 32 * 2);
    std::memset(image->getAlpha(), 0xC3, 64 * 32);
    image->getPixels()[100] = 1;
    image->unlock();
    ASSERT_TRUE(image->compress());
    EXPECT_EQ(image->getPixels(), nullptr);
    EXPECT_TRUE(image->hasCompressedCopies());
    ASSERT_TRUE(image->lock());
    EXPECT_FALSE(image->hasCompressedCopies());
    EXPECT_EQ(image->getPixels()[100], 1);
    EXPECT_EQ(image->getPixels()[101], 0x5A);
    EXPECT_EQ(image->getAlpha()[64 * 32 - 1], 0xC3);
    image->unlock();
}

TEST_F(ImageTest, PixelsThatDoNotShrinkStayAndTheImageIsNeverIdle) {
    RefPtr<Image> image = createImage(32, 32, kFormatArgb32);
    ASSERT_TRUE(image->lock());
    std::mt19937 random(7);
    for (int i = 0; i < 32 * 32 * 4; ++i) {
        image->getPixels()[i] = static_cast<std::uint8_t>(random());
    }
    const std::uint8_t first = image->getPixels()[0];
    image->unlock();
    EXPECT_FALSE(image->compress());
    EXPECT_FALSE(image->hasCompressedCopies());
    ASSERT_NE(image->getPixels(), nullptr);
    EXPECT_EQ(image->getPixels()[0], first);
    EXPECT_EQ(image->getLastUsed(), std::numeric_limits<std::int64_t>::max());
}

TEST_F(ImageTest, SurfaceImagesDrawIntoTheSurface) {
    RefPtr<ImageSurface> surface = ImageSurface::create(5, 3, kFormatArgb32);
    ASSERT_TRUE(surface);
    RefPtr<ImageDD> image = createImageFromSurface(surface.get());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getFormat(), kFormatArgb32);
    EXPECT_TRUE(image->getFollowsDisplayFormat());
    EXPECT_FALSE(image->getOwnsBuffers());
    EXPECT_EQ(image->getWidth(), 5);
    EXPECT_EQ(image->getPitch(), surface->getPitch());
    EXPECT_GT(image->getPitch(), 5 * 4) << "surface rows are padded";
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->getPixels(), surface->getMemory());
    EXPECT_EQ(image->getAlpha(), nullptr);
    put32(*image, 4, 2, 0x12345678);
    image->unlock();
    std::uint32_t stored = 0;
    std::memcpy(&stored, surface->getMemory() + 2 * surface->getPitch() + 16, 4);
    EXPECT_EQ(stored, 0x12345678U);

    EXPECT_FALSE(image->compress());
    EXPECT_EQ(image->getIdleTime(), 0);
    EXPECT_FALSE(cloneImage(*image)) << "a surface image is never cloned";
}

TEST_F(ImageTest, SurfaceImagesFollowTheDisplayOnlyWithAMatchingSurface) {
    RefPtr<ImageSurface> surface32 = ImageSurface::create(4, 4, kFormatArgb32);
    RefPtr<ImageSurface> surface16 = ImageSurface::create(8, 2, kFormatRgb565);
    RefPtr<ImageDD> image = createImageFromSurface(surface32.get());
    ASSERT_TRUE(image);
    EXPECT_FALSE(createImageFromSurface(surface16.get())) << "depth differs from the display";
    EXPECT_FALSE(createImageFromSurface(nullptr));

    manager().setPixelFormatAll(kFormatRgb565);
    EXPECT_EQ(image->getFormat(), kFormatRgb565);
    EXPECT_FALSE(image->lock()) << "no drawing with a 32-bit surface read as 16-bit";
    image->unlock();
    image->attachSurface(surface16.get());
    EXPECT_EQ(image->getWidth(), 8);
    EXPECT_EQ(image->getHeight(), 2);
    ASSERT_TRUE(image->lock());
    EXPECT_EQ(image->getPixels(), surface16->getMemory());
    image->unlock();
    EXPECT_TRUE(createImageFromSurface(surface16.get()));
}

TEST_F(ImageTest, ContainerHoldsOneReference) {
    RefPtr<Image> image = createImage(1, 1, kFormatArgb32);
    {
        ImageContainer container;
        container.setImage(image.get());
        EXPECT_EQ(container.getImage(), image.get());
        EXPECT_EQ(image->getRefCount(), 2);
        container.setImage(nullptr);
        EXPECT_EQ(image->getRefCount(), 1);
        container.setImage(image.get());
    }
    EXPECT_EQ(image->getRefCount(), 1);
    EXPECT_TRUE(ImageContainer::classRecord.getParents().empty());
}

} // namespace
} // namespace orv
