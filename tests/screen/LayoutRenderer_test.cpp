#include "game/screen/LayoutRenderer.h"

#include "engine/properties/BasicProperties.h"
#include "game/board/SideBoard.h"
#include "game/screen/LayerSprite.h"
#include "game/screen/RenderTile.h"
#include "game/screen/TileEffect.h"
#include "tests/screen/ScreenFixture.h"
#include "tests/support/LogCapture.h"

#include <random>
#include <vector>

namespace orv::test {
namespace {

class LayoutRendererTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        look = makeSmallLook();
        renderer = RefPtr<LayoutRenderer>(new LayoutRenderer(look.get()));
    }

    // Every layer image as it is now.
    std::vector<std::vector<std::uint32_t>> snapshot() const {
        std::vector<std::vector<std::uint32_t>> out;
        for (const RefPtr<LayerSprite>& layer : renderer->getLayers()) {
            out.push_back(layer->getImage() != nullptr ? pixelsOf(*layer->getImage())
                                                       : std::vector<std::uint32_t>{});
        }
        return out;
    }
    // The layer images drawn again from scratch (the whole screen dirty).
    std::vector<std::vector<std::uint32_t>> rebuilt() {
        renderer->addDirtyRect(LayoutRenderer::kScreenRect);
        renderer->flush();
        return snapshot();
    }

    RefPtr<BoardLook> look;
    RefPtr<LayoutRenderer> renderer;
};

TEST_F(LayoutRendererTest, RepairedLayersEqualAFreshDrawingAfterRandomChanges) {
    // Tiles side by side, half a tile apart, stacked three high, and at the
    // grid's right and bottom edges.
    RefPtr<Layout> layout = makeBoard({{0, 0, 0},
                                       {2, 0, 0},
                                       {4, 0, 0},
                                       {0, 2, 0},
                                       {2, 2, 0},
                                       {1, 5, 0},
                                       {3, 6, 0},
                                       {1, 1, 1},
                                       {1, 1, 2},
                                       {3, 1, 1},
                                       {20, 9, 0},
                                       {22, 10, 0},
                                       {21, 11, 1},
                                       {37, 19, 0},
                                       {39, 19, 0},
                                       {39, 17, 0},
                                       {39, 0, 0},
                                       {38, 18, 1}});
    TileList tiles;
    layout->getTiles(tiles);
    const std::vector<std::uint32_t> body = pixelsOf(*look->getTileImage());
    for (int tinted = 0; tinted < 2; ++tinted) {
        SCOPED_TRACE(tinted != 0 ? "tinted layers" : "plain layers");
        BasicProperties::get()->getInteger("LAYER_COLOR1") = 0x3060C0;
        BasicProperties::get()->getInteger("LAYER_ALPHA1") = tinted != 0 ? 90 : 0;
        renderer = RefPtr<LayoutRenderer>(new LayoutRenderer(look.get()));
        renderer->build(*layout, TileList{});
        renderer->applyLayerColors();
        renderer->flush();

        std::mt19937 random(77 + tinted);
        const auto pick = [&] {
            return tiles[random() % tiles.size()].get();
        };
        for (int step = 0; step < 150; ++step) {
            Tile& tile = *pick();
            RenderTile* rt = renderer->renderTileFor(tile);
            ASSERT_NE(rt, nullptr);
            switch (random() % 14) {
            case 0:
                renderer->startTileHover(tile);
                break;
            case 1:
                renderer->startTileSelect(tile);
                break;
            case 2:
                renderer->startTilePulse(tile);
                break;
            case 3:
                renderer->startTileEffectC(tile);
                break;
            case 4:
                renderer->startTileSwell(tile);
                break;
            case 5:
                renderer->startTileLighten(tile);
                break;
            case 6:
                renderer->startTileTint(tile);
                break;
            case 7:
                renderer->startTilePlain(tile);
                break;
            case 8:
                if (!rt->hidden) {
                    renderer->startTileFade(tile, static_cast<int>(random() % 5));
                }
                break;
            case 9:
                renderer->removeRenderTileAt(rt->x, rt->y, rt->z);
                break;
            case 10:
                if (rt->hidden && !rt->busy) {
                    renderer->addRenderTile(*rt); // an undo
                }
                break;
            case 11:
                renderer->refreshTile(tile);
                break;
            case 12:
                if (random() % 4 == 0) {
                    renderer->hideSymbols();
                } else {
                    renderer->showSymbols();
                }
                break;
            default:
                break;
            }
            renderer->updateSelf(static_cast<int>(random() % 101));
            renderer->flush();
            const auto repaired = snapshot();
            ASSERT_EQ(repaired, rebuilt()) << "after step " << step;
        }
        // The layer tint lies on copies: plain tiles draw the shared body itself.
        EXPECT_EQ(pixelsOf(*look->getTileImage()), body);
    }
}

TEST_F(LayoutRendererTest, HitTestFindsTheTopmostTileAndItsEdges) {
    RefPtr<Layout> layout = makeBoard({{4, 4, 0}, {14, 4, 1}, {14, 4, 3}});
    renderer->build(*layout, TileList{});
    renderer->setPosition(100, 50);
    // A two-slot side board lying over the first tile's face.
    RefPtr<SideBoard> side(new SideBoard(nullptr));
    side->setDimensions(2, 1);
    side->setSlotGeometry(0, 0, 4, 4);
    side->setPosition(102, 51);
    RefPtr<Tile> slotTile = makeFaceTile({0, 0, 0}, 1, 1);
    ASSERT_TRUE(side->putTile(slotTile.get(), 0, 0));
    layout->setSideBoard(side.get());

    Tile* t1 = originTile(*layout, {4, 4, 0});
    Tile* low = originTile(*layout, {14, 4, 1});
    Tile* high = originTile(*layout, {14, 4, 3});
    // The face of t1 spans (102..109, 51..60); its edges are 2 pixels.
    struct Case {
        const char* name;
        int x;
        int y;
        Tile* expected;
    };
    const std::vector<Case> cases{
        {"side-board slot with a tile wins over the board", 104, 53, slotTile.get()},
        {"empty slot falls through to the board", 107, 52, t1},
        {"face, bottom-right pixel", 109, 60, t1},
        {"last pixel of the right edge", 111, 58, t1},
        {"beyond the right edge", 112, 58, nullptr},
        {"bottom edge", 103, 61, t1},
        {"beyond the bottom edge", 103, 63, nullptr},
        {"diagonal square beyond both edges", 110, 61, nullptr},
        {"shadow strip left of the first column", 101, 58, nullptr},
        {"layer 3 over layer 1", 141, 50, high},
        {"layer 1 where layer 3 is not", 147, 58, low},
        {"far outside", 400, 400, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(renderer->tileAt(*layout, c.x, c.y), c.expected) << c.name;
    }
    // Screen places agree with the hit test.
    EXPECT_EQ(renderer->tileScreenX(4, 0), 102);
    EXPECT_EQ(renderer->tileScreenY(4, 0), 51);
    EXPECT_EQ(renderer->tileScreenX(14, 3), 136);
    EXPECT_EQ(renderer->tileScreenY(4, 3), 45);
    // A tile the layout dropped no longer answers, even while it fades.
    renderer->startTileFade(*t1, 1);
    layout->removeTile(t1);
    EXPECT_EQ(renderer->tileAt(*layout, 105, 56), nullptr);
    layout->setSideBoard(nullptr);
}

TEST_F(LayoutRendererTest, NeighbourFlagsAndSkippedQuarters) {
    struct Case {
        const char* name;
        std::vector<TilePos> places;
        TilePos subject;
        // TL, TR, BL, BR, then lower-left, left, upper, upper-right, upper-left
        std::vector<bool> flags;
    };
    const std::vector<Case> cases{
        {"alone", {{2, 2, 0}}, {2, 2, 0}, {true, true, true, true, true, true, true, true, true}},
        {"one tile right above",
         {{2, 2, 0}, {2, 2, 1}},
         {2, 2, 0},
         {false, true, true, true, true, true, true, true, true}},
        {"covered above, right and below",
         {{2, 2, 0}, {2, 2, 1}, {4, 2, 0}, {2, 4, 0}},
         {2, 2, 0},
         {false, false, false, false, true, true, true, true, true}},
        {"half a tile above and a right neighbour cover the top right",
         {{2, 2, 0}, {3, 2, 1}, {4, 2, 0}},
         {2, 2, 0},
         {true, false, true, true, true, true, true, true, true}},
        {"neighbours up-left and left",
         {{2, 2, 0}, {0, 0, 0}, {0, 2, 0}},
         {2, 2, 0},
         {true, true, true, true, false, false, true, true, false}},
        {"a neighbour above on the same layer",
         {{2, 2, 0}, {2, 0, 0}},
         {2, 2, 0},
         {true, true, true, true, true, true, false, false, true}},
        {"grid edges count as open",
         {{0, 0, 0}, {2, 0, 0}},
         {0, 0, 0},
         {true, true, true, true, true, true, true, true, true}},
    };
    for (const Case& c : cases) {
        RefPtr<Layout> layout(new Layout());
        for (const TilePos& p : c.places) {
            RefPtr<Tile> t = makeFaceTile(p);
            ASSERT_TRUE(layout->setTileAt(t.get(), p)) << c.name;
        }
        renderer = RefPtr<LayoutRenderer>(new LayoutRenderer(look.get()));
        renderer->build(*layout, TileList{});
        RenderTile* rt = renderer->renderTileFor(*originTile(*layout, c.subject));
        ASSERT_NE(rt, nullptr);
        renderer->computeNeighbourFlags();
        const std::vector<bool> got{
            rt->quarterTopLeft,     rt->quarterTopRight, rt->quarterBottomLeft,
            rt->quarterBottomRight, rt->openLowerLeft,   rt->openLeft,
            rt->openUpper,          rt->openUpperRight,  rt->openUpperLeft};
        EXPECT_EQ(got, c.flags) << c.name;
    }
}

TEST_F(LayoutRendererTest, LayerDrawingSkipsCoveredQuartersAndShowsFadingNeighbours) {
    RefPtr<Layout> layout = makeBoard({{0, 2, 0}, {0, 2, 1}, {0, 0, 0}});
    renderer->build(*layout, TileList{});
    renderer->flush();
    LayerSprite& layer0 = *renderer->getLayers()[0];
    // Face of (0, 2, 0) in layer 0's image: x 2, y 1 + 10 (minY 0).
    const int tx = 2;
    const int ty = 11;
    EXPECT_EQ(pixelAt(*layer0.getImage(), tx + 2, ty + 4) >> 24, 0U)
        << "the top-left quarter under the tile above is not drawn";
    EXPECT_NE(pixelAt(*layer0.getImage(), tx + 6, ty + 8) >> 24, 0U)
        << "the bottom-right quarter shows";

    // While the tile above fades out, the quarter beneath it is drawn.
    renderer->startTileFade(*originTile(*layout, {0, 2, 1}), 1);
    renderer->updateSelf(10);
    renderer->flush();
    EXPECT_NE(pixelAt(*layer0.getImage(), tx + 2, ty + 4) >> 24, 0U);
}

TEST_F(LayoutRendererTest, TilesAtTheGridsRightAndBottomEdgesAreDrawnWhole) {
    RefPtr<Layout> layout = makeBoard({{0, 0, 0}, {39, 19, 0}});
    renderer->build(*layout, TileList{});
    renderer->flush();
    Image& image = *renderer->getLayers()[0]->getImage();
    // The tile at (39, 19): face at (2 + 156, 1 + 95); its far corner of the
    // body edges at + (9, 11) is half transparent in the body picture.
    EXPECT_EQ(pixelAt(image, 2 + 156 + 7, 1 + 95 + 9) >> 24, 0xFFU);
    EXPECT_EQ(pixelAt(image, 2 + 156 + 9, 1 + 95 + 11) >> 24, 0x80U);
}

TEST_F(LayoutRendererTest, BuildSetsOriginLayersSizeAndHidesUndoTiles) {
    RefPtr<Layout> empty(new Layout());
    renderer->build(*empty, TileList{});
    EXPECT_TRUE(renderer->getLayers().empty());
    EXPECT_TRUE(renderer->getDirtyRects().empty());
    EXPECT_EQ(renderer->getOriginZ(), 7);

    RefPtr<Layout> layout = makeBoard({{4, 2, 1}, {6, 2, 1}, {5, 2, 2}});
    RefPtr<Tile> removed = makeFaceTile({8, 2, 1}, 2, 3);
    renderer->build(*layout, TileList{removed});
    EXPECT_EQ(renderer->getOriginX(), 4);
    EXPECT_EQ(renderer->getOriginY(), 2);
    EXPECT_EQ(renderer->getOriginZ(), 1);
    EXPECT_EQ(renderer->getNumLayers(), 2);
    ASSERT_EQ(renderer->getLayers().size(), 2U);
    EXPECT_EQ(renderer->getLayers()[0]->getTiles().size(), 3U);
    // maxX 4, maxY 0, z at x = 0 is 0, at y = 0 is 1.
    EXPECT_EQ(renderer->getWidth(), (6 * 8) / 2 + 2 + 0 + 2);
    EXPECT_EQ(renderer->getHeight(), (2 * 10) / 2 + 2 + 1 * 2 + 1);
    RenderTile* undo = renderer->renderTileFor(*removed);
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->hidden);
    EXPECT_EQ(renderer->getGrid().at(4, 0, 0), nullptr);
    EXPECT_EQ(renderer->getDirtyRects().back(), LayoutRenderer::kScreenRect);
    EXPECT_EQ(renderer->tileScreenX(4, 1), 2);
    EXPECT_EQ(renderer->tileScreenX(5, 2), 4 - 2 + 2);

    // A rebuild after a shuffle keeps the first origin.
    RefPtr<Layout> moved = makeBoard({{6, 4, 2}, {10, 4, 2}});
    renderer->rebuild(*moved);
    EXPECT_EQ(renderer->getOriginX(), 4);
    EXPECT_EQ(renderer->getOriginZ(), 1);
    EXPECT_NE(renderer->renderTileFor(*originTile(*moved, {6, 4, 2})), nullptr);

    renderer->detachTiles();
    for (const RefPtr<RenderTile>& rt : renderer->getRenderTiles()) {
        EXPECT_TRUE(rt->hidden);
    }
}

TEST_F(LayoutRendererTest, HiddenSymbolsDrawBlankTilesUntilShownAgain) {
    RefPtr<Layout> layout = makeBoard({{0, 0, 0}});
    renderer->build(*layout, TileList{});
    renderer->flush();
    Image& image = *renderer->getLayers()[0]->getImage();
    const std::uint32_t withFace = pixelAt(image, 4, 3);
    renderer->hideSymbols();
    renderer->flush();
    const std::uint32_t blank = pixelAt(image, 4, 3);
    EXPECT_NE(blank, withFace);
    EXPECT_EQ(blank, pixelAt(*look->getTileImage(), 2, 2));
    renderer->showSymbols();
    renderer->flush();
    EXPECT_EQ(pixelAt(image, 4, 3), withFace);
}

TEST_F(LayoutRendererTest, StartersReplaceLooksAndRespectTheirGuards) {
    RefPtr<Layout> layout = makeBoard({{0, 0, 0}});
    renderer->build(*layout, TileList{});
    Tile& tile = *originTile(*layout, {0, 0, 0});
    RenderTile& rt = *renderer->renderTileFor(tile);
    renderer->startTileEffectC(tile);
    renderer->startTileSelect(tile);
    EXPECT_EQ(rt.getEffectCount(), 1U);
    EXPECT_NE(rt.getTopEffect()->getImage(), look->getTileImage());
    renderer->startTilePlain(tile);
    EXPECT_EQ(rt.getTopEffect()->getImage(), look->getTileImage());

    renderer->startTileFade(tile, 0);
    TileEffect* fade = rt.getTopEffect();
    renderer->startTileTint(tile);
    renderer->refreshTile(tile);
    EXPECT_EQ(rt.getTopEffect(), fade) << "a fading tile keeps its fade";

    RefPtr<Tile> stranger = makeFaceTile({20, 10, 0});
    renderer->startTileSelect(*stranger); // no render tile: nothing happens
    EXPECT_EQ(renderer->renderTileFor(*stranger), nullptr);
}

TEST_F(LayoutRendererTest, ASideBoardTileNeverTouchesTheBoardTileAtItsSlotNumbers) {
    // A matched twin from the side board's first slot is (0, 0, 0) like the
    // board's corner tile; fading it must leave the corner drawn.
    RefPtr<Layout> layout = makeBoard({{0, 0, 0}, {2, 0, 0}});
    renderer->build(*layout, TileList{});
    RenderTile& corner = *renderer->renderTileFor(*originTile(*layout, {0, 0, 0}));
    const std::size_t looks = corner.getEffectCount();
    const TileEffect* resting = corner.getTopEffect();
    RefPtr<Tile> twin = makeFaceTile({0, 0, 0});
    twin->setSideboard(true);
    EXPECT_EQ(renderer->renderTileFor(*twin), nullptr);
    renderer->startTileFade(*twin, 1);
    renderer->startTileSelect(*twin);
    renderer->refreshTile(*twin);
    EXPECT_EQ(corner.getEffectCount(), looks);
    EXPECT_EQ(corner.getTopEffect(), resting);
    EXPECT_FALSE(corner.hidden);
}

TEST_F(LayoutRendererTest, MetricsMismatchIsReportedWhenTheLookIsMade) {
    LogCapture log;
    BoardMetrics wide = smallMetrics();
    wide.sideWidth = 3;
    RefPtr<BoardLook> bad(new BoardLook(wide, testTints(), nullptr, nullptr, nullptr));
    EXPECT_TRUE(log.contains("stale pixels"));
    EXPECT_TRUE(smallMetrics().checkConsistency().empty());
    BoardMetrics odd = smallMetrics();
    odd.faceWidth = 0;
    EXPECT_FALSE(odd.checkConsistency().empty());
}

} // namespace
} // namespace orv::test
