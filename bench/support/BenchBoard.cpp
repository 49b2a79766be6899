#include "bench/support/BenchBoard.h"

#include "engine/core/NodeClasses.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/ImageManager.h"
#include "engine/scene/SceneClasses.h"
#include "game/board/Tile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace orv::bench {

void setUpConstants(const char* program) {
    static const bool done = [program] {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        if (ImageManager::getInstance() == nullptr) {
            ImageManager::create();
        }
        static_cast<void>(BasicProperties::create());
        DefinitionStore& store = getDefinitionStore();
        store.setConstantsHook(new GameConstants());
        store.addFile(std::string(ORVANTA_MEDIA_SOURCE) + "/properties/mahjong.xml");
        store.load();
        if (BoardMetrics::fromConstants().faceWidth <= 0) {
            std::fprintf(stderr, "%s: the board's metrics cannot be read\n", program);
            std::exit(1);
        }
        return true;
    }();
    static_cast<void>(done);
}

RefPtr<Image> picture(int width, int height, bool alpha, unsigned seed) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
            const std::uint32_t a =
                alpha ? static_cast<std::uint32_t>(std::min(255, 60 + edge * 40)) : 255U;
            const std::uint32_t pixel = (a << 24) | (random() & 0x00FFFFFFU);
            std::memcpy(image->getPixels() + y * image->getPitch() + x * 4, &pixel, 4);
        }
    }
    image->setUseAlphaChannel(alpha);
    // A change of the display format converts it, as it does loaded pictures.
    image->setFollowsDisplayFormat(true);
    return image;
}

RefPtr<BoardLook> gameLook() {
    const BoardMetrics m = BoardMetrics::fromConstants();
    return RefPtr<BoardLook>(new BoardLook(
        m, TileTints::fromConstants(),
        picture(m.faceWidth + m.sideWidth, m.faceHeight + m.sideHeight, true, 1).get(),
        picture(m.faceWidth + 2 * m.shadowOffsetX, m.faceHeight + 2 * m.shadowOffsetY, true, 2)
            .get(),
        picture(m.symbolWidth * 9, (m.symbolHeight + 1) * 5, true, 3).get()));
}

void placeBlock(Layout& board, int x, int y, int z, int columns, int rows) {
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            RefPtr<Tile> tile(new Tile(nullptr));
            const int n = board.getTileCount();
            tile->setFace(n % 5, n % 9, MatchType::Exact);
            static_cast<void>(board.setTileAt(tile.get(), {x + 2 * i, y + 2 * j, z}));
        }
    }
}

RefPtr<Layout> fullBoard() {
    RefPtr<Layout> board(new Layout());
    placeBlock(*board, 0, 0, 0, 12, 6);
    placeBlock(*board, 2, 1, 1, 10, 4);
    placeBlock(*board, 6, 2, 2, 6, 4);
    placeBlock(*board, 9, 3, 3, 3, 2);
    placeBlock(*board, 10, 4, 4, 2, 1);
    return board;
}

} // namespace orv::bench
