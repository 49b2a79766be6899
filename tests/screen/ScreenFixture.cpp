#include "tests/screen/ScreenFixture.h"

#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "game/board/ShuffleRandom.h"

#include <array>
#include <cstring>
#include <utility>

namespace orv::test {

namespace {

RefPtr<Image> makeImage(int width, int height, std::uint32_t (*colour)(int x, int y)) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    EXPECT_TRUE(image && image->lock());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image->getPixels() + y * image->getPitch());
        for (int x = 0; x < width; ++x) {
            row[x] = colour(x, y);
        }
    }
    image->unlock();
    return image;
}

} // namespace

BoardMetrics smallMetrics() {
    BoardMetrics m;
    m.faceWidth = 8;
    m.faceHeight = 10;
    m.sideWidth = 2;
    m.sideHeight = 2;
    m.layerOffsetX = 2;
    m.layerOffsetY = 2;
    m.shadowOffsetX = 2;
    m.shadowOffsetY = 1;
    m.symbolWidth = 8;
    m.symbolHeight = 10;
    return m;
}

TileTints testTints() {
    TileTints t;
    t.fadeTime = 200;
    t.superHintColor = 0x20E0A0;
    t.superHintAlpha = 150;
    t.selectColor = 0xFFD060;
    t.selectAlpha = 140;
    t.hoverColor = 0xFFF0E0;
    t.hoverAlpha = 70;
    t.blockedColor = 0xC04020;
    t.blockedMinAlpha = 0;
    t.blockedMaxAlpha = 160;
    t.hintColor = 0xF0C040;
    t.hintMinAlpha = 60;
    t.hintMaxAlpha = 200;
    t.flashColor = 0xFFF8D0;
    t.flashMaxAlpha = 220;
    t.darkenColor = 0x000000;
    t.darkenAlpha = 70;
    return t;
}

RefPtr<BoardLook> makeSmallLook() {
    // Body 10 x 12: face 8 x 10 plus the edges; the four outer corners are
    // half transparent, as the rounded corners of the real body are.
    RefPtr<Image> body = makeImage(10, 12, [](int x, int y) -> std::uint32_t {
        const bool corner = (x == 0 || x == 9) && (y == 0 || y == 11);
        const std::uint32_t alpha = corner ? 0x80U : 0xFFU;
        return alpha << 24 | static_cast<std::uint32_t>(x * 25) << 16 |
               static_cast<std::uint32_t>(y * 20) << 8 | 0x40U;
    });
    RefPtr<Image> shadow = makeImage(12, 12, [](int x, int y) -> std::uint32_t {
        return static_cast<std::uint32_t>(0x30 + 8 * ((x + y) % 4)) << 24;
    });
    RefPtr<Image> symbols = makeImage(72, 55, [](int x, int y) -> std::uint32_t {
        const auto v = static_cast<std::uint32_t>(x * 7 + y * 13);
        const std::uint32_t alpha = (x + y) % 3 == 0 ? 0U : 0xFFU;
        return alpha << 24 | (v & 0xFFU) << 16 | ((v * 3) & 0xFFU) << 8 | ((v * 5) & 0xFFU);
    });
    return RefPtr<BoardLook>(
        new BoardLook(smallMetrics(), testTints(), body.get(), shadow.get(), symbols.get()));
}

void ScreenTest::SetUp() {
    // Whatever draws from the game's random sources draws the same each run.
    RandomGenerator::createInstance(20240, 0);
    ShuffleRandom::seed(4711);
    BasicProperties& settings = BasicProperties::create();
    settings.getInteger("TILE_FACE_WIDTH") = 8;
    settings.getInteger("TILE_FACE_HEIGHT") = 10;
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
}

void ScreenTest::TearDown() {
    BasicProperties::destroyInstance();
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
}

RefPtr<Tile> makeFaceTile(TilePos pos, int suit, int idx) {
    RefPtr<Tile> tile(new Tile(nullptr));
    tile->setPos(pos);
    tile->setFace(suit, idx, MatchType::Exact);
    return tile;
}

RefPtr<Layout> makeBoard(std::initializer_list<TilePos> places) {
    RefPtr<Layout> layout(new Layout());
    int n = 0;
    for (const TilePos& pos : places) {
        RefPtr<Tile> tile = makeFaceTile(pos, n % 5, n % 3);
        ++n;
        EXPECT_TRUE(layout->setTileAt(tile.get(), pos));
    }
    layout->setOriginalTileCount(layout->getTileCount());
    return layout;
}

Tile* originTile(const Layout& layout, TilePos pos) {
    Tile* tile = layout.getGridCell(pos.x, pos.y, pos.z);
    return tile != nullptr && tile->getPos() == pos ? tile : nullptr;
}

std::vector<std::uint32_t> pixelsOf(Image& image) {
    std::vector<std::uint32_t> out;
    if (!image.lock()) {
        return out;
    }
    out.resize(static_cast<std::size_t>(image.getWidth()) * image.getHeight());
    for (int y = 0; y < image.getHeight(); ++y) {
        std::memcpy(out.data() + static_cast<std::size_t>(y) * image.getWidth(),
                    image.getPixels() + y * image.getPitch(),
                    static_cast<std::size_t>(image.getWidth()) * 4);
    }
    image.unlock();
    return out;
}

std::uint32_t pixelAt(Image& image, int x, int y) {
    if (!image.lock()) {
        return 0;
    }
    const std::uint32_t value =
        reinterpret_cast<const std::uint32_t*>(image.getPixels() + y * image.getPitch())[x];
    image.unlock();
    return value;
}

} // namespace orv::test
