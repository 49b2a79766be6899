#include "game/dialogs/LayoutPreview.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "tests/board/BoardFixture.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr std::uint32_t kTileColour = 0xFFC04020U;
constexpr std::uint32_t kGroundColour = 0xFF204060U;

// A 40 x 20 miniature with 10 x 12 tile faces (cells of 5 x 6 pixels), each
// layer shifted 2 right and 1 down; a solid tile picture.
class LayoutPreviewTest : public testing::Test {
protected:
    void SetUp() override {
        BasicProperties& settings = BasicProperties::create();
        settings.getInteger("PREVIEW_WIDTH") = 40;
        settings.getInteger("PREVIEW_HEIGHT") = 20;
        settings.getInteger("PREVIEW_TILE_FACE_WIDTH") = 10;
        settings.getInteger("PREVIEW_TILE_FACE_HEIGHT") = 12;
        settings.getInteger("PREVIEW_LAYER_OFFSETX") = 2;
        settings.getInteger("PREVIEW_LAYER_OFFSETY") = 1;
        GameConstants().apply();
        tile_ = test::filledImage(10, 12, kTileColour);
        ground_ = test::filledImage(40, 20, kGroundColour);
    }
    void TearDown() override { BasicProperties::destroyInstance(); }

    static int alphaAt(Image& image, int x, int y) {
        return static_cast<int>(test::pixelAt(image, x, y) >> 24);
    }
    static int opaquePixels(Image& image) {
        int count = 0;
        for (int y = 0; y < image.getHeight(); ++y) {
            for (int x = 0; x < image.getWidth(); ++x) {
                count += alphaAt(image, x, y) > 0 ? 1 : 0;
            }
        }
        return count;
    }

    RefPtr<Image> tile_;
    RefPtr<Image> ground_;
};

// Two tiles side by side and one on top of them, straddling both: the lower
// layer covers 20 x 12 pixels centred in the picture, the upper tile lies
// 2 right and 1 down of its cells, so one row of it shows below the lower
// layer; the rest of the picture stays transparent.
TEST_F(LayoutPreviewTest, DrawsEachLayerShiftedAndCentred) {
    const RefPtr<Layout> layout = test::makeLayout({{0, 0, 0}, {2, 0, 0}, {1, 0, 1}});
    LayoutPreview preview(tile_.get(), {});
    Image* picture = preview.draw(*layout, 0);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->getWidth(), 40);
    ASSERT_EQ(picture->getHeight(), 20);
    EXPECT_EQ(opaquePixels(*picture), 20 * 12 + 10 * 1);
    EXPECT_EQ(alphaAt(*picture, 9, 4), 0) << "left of the centred layout";
    EXPECT_EQ(alphaAt(*picture, 10, 4), 255);
    EXPECT_EQ(alphaAt(*picture, 29, 15), 255);
    EXPECT_EQ(alphaAt(*picture, 30, 15), 0);
    EXPECT_EQ(alphaAt(*picture, 16, 16), 0) << "the upper tile starts 2 pixels right";
    EXPECT_EQ(alphaAt(*picture, 17, 16), 255);
    EXPECT_EQ(alphaAt(*picture, 26, 16), 255);
    EXPECT_EQ(alphaAt(*picture, 27, 16), 0);
    EXPECT_EQ(test::pixelAt(*picture, 17, 16) & 0xFFFFFFU, kTileColour & 0xFFFFFFU);
    EXPECT_EQ(preview.getLayout(), layout.get());
}

// A layout without tiles gives the ground alone; each ground index draws
// the whole picture afresh, and one without a picture leaves it clear.
TEST_F(LayoutPreviewTest, AnEmptyLayoutShowsTheGroundAlone) {
    const RefPtr<Layout> empty(new Layout());
    LayoutPreview preview(tile_.get(),
                          {ground_.get(), nullptr, nullptr, nullptr, nullptr, nullptr});
    Image* picture = preview.draw(*empty, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(test::pixelAt(*picture, 0, 0), kGroundColour);
    EXPECT_EQ(test::pixelAt(*picture, 39, 19), kGroundColour);
    picture = preview.draw(*empty, 1);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(opaquePixels(*picture), 0);
    preview.release();
    EXPECT_EQ(preview.getImage(), nullptr);
}

// A layout wider than the picture is cut at its edges, not drawn outside.
TEST_F(LayoutPreviewTest, AWideLayoutIsCutAtTheEdges) {
    const RefPtr<Layout> wide = test::makeLayout(
        {{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {6, 0, 0}, {8, 0, 0}, {10, 0, 0}, {12, 0, 0}});
    LayoutPreview preview(tile_.get(), {});
    Image* picture = preview.draw(*wide, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(alphaAt(*picture, 0, 4), 255);
    EXPECT_EQ(alphaAt(*picture, 39, 4), 255);
    EXPECT_EQ(opaquePixels(*picture), 40 * 12);
}

} // namespace
} // namespace orv
