#include "game/screen/SideBoardView.h"

#include "engine/graphics/Graphics.h"
#include "game/board/SideBoard.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RenderTile.h"
#include "game/screen/RendererDisplay.h"
#include "tests/screen/ScreenFixture.h"

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class SideBoardViewTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        display = std::make_unique<RendererDisplay>(new LayoutRenderer(makeSmallLook().get()));
        rack = new SideBoard(nullptr);
        rack->setDimensions(2, 1);
        rack->setPosition(20, 10);
    }
    void TearDown() override {
        rack = nullptr;
        display.reset();
        ScreenTest::TearDown();
    }

    std::unique_ptr<RendererDisplay> display;
    RefPtr<SideBoard> rack;
};

TEST_F(SideBoardViewTest, TheDisplayPaintsTheRackAndItsTilesTakeTheScreensLooks) {
    SideBoardView& view = display->getSideBoardView();
    ASSERT_EQ(SideBoard::getPainter(), &view);
    const RefPtr<Tile> tile = makeFaceTile({0, 0, 0}, 0, 1);
    ASSERT_TRUE(rack->putTile(tile.get(), 1, 0));
    view.update(*rack, 16);

    // The slots get a geometry, so a click finds the tile's slot.
    ASSERT_GT(rack->getSlotWidth(), 0);
    int x = 1;
    int y = 0;
    rack->slotScreenPos(x, y);
    int column = x + 1;
    int row = y + 1;
    ASSERT_TRUE(rack->slotAt(column, row));
    EXPECT_EQ(rack->getTileAt(column, row), tile.get());

    // The tile is drawn in its slot: the target changes there and only there.
    RefPtr<Image> target = createImage(120, 80, kFormatArgb32);
    RefPtr<Graphics> g = createGraphics(*target);
    g->setColor(0xFF000000U);
    g->clear();
    const std::vector<std::uint32_t> before = pixelsOf(*target);
    rack->render(*g);
    EXPECT_NE(pixelAt(*target, x + 2, y + 2), 0xFF000000U);
    EXPECT_EQ(pixelAt(*target, 0, 0), before.front());

    // The screen's looks reach the rack tile: selected, it is drawn tinted.
    const std::vector<std::uint32_t> plain = pixelsOf(*target);
    display->startTileSelect(*tile);
    ASSERT_NE(view.renderTileFor(*tile), nullptr);
    rack->render(*g);
    EXPECT_NE(pixelsOf(*target), plain);

    // A hidden board hides the rack.
    display->setLayersVisible(false);
    g->clear();
    rack->render(*g);
    EXPECT_EQ(pixelsOf(*target), before);

    display.reset();
    EXPECT_EQ(SideBoard::getPainter(), nullptr) << "the painter goes with its display";
}

// A rack placed past the screen's right or bottom edge moves in until it
// stands 10 pixels inside, every slot on the screen.
TEST_F(SideBoardViewTest, ARackPastTheScreensEdgeMovesInAndStandsClearOfIt) {
    SideBoardView& view = display->getSideBoardView();
    rack->setPosition(780, 590);
    view.update(*rack, 16);
    ASSERT_GT(rack->getWidth(), 0);
    EXPECT_EQ(rack->getAbsoluteX() + rack->getWidth(), 790);
    EXPECT_EQ(rack->getAbsoluteY() + rack->getHeight(), 590);

    rack->setPosition(300, 200); // well inside: left where it is
    view.update(*rack, 16);
    EXPECT_EQ(rack->getAbsoluteX(), 300);
    EXPECT_EQ(rack->getAbsoluteY(), 200);
}

} // namespace
} // namespace orv::test
