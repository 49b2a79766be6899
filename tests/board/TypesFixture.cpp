#include "tests/board/TypesFixture.h"

#include "engine/core/RandomGenerator.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/SideBoard.h"

namespace orv::test {

Game* GameTypeTest::start(GameType type, Layout* layout, const std::string& attributes) {
    Game* game = Game::create(type);
    EXPECT_NE(game, nullptr);
    if (game == nullptr) {
        return nullptr;
    }
    RefPtr<Level> level = makeLevel(layout, type, attributes);
    const bool dealt = game->setLevel(level.get());
    EXPECT_TRUE(dealt);
    return dealt ? game : nullptr;
}

void GameTypeTest::seed(int seed) {
    RandomGenerator::createInstance(static_cast<std::uint32_t>(seed), 0);
    ShuffleRandom::seed(static_cast<std::uint32_t>(seed) * 7919U + 1U);
}

RefPtr<Layout> GameTypeTest::load(const char* file, GameType type, int sideBoard) {
    return Layout::loadFile(fixturePath(file), type, sideBoard);
}

void GameTypeTest::addSideBoard(Layout& layout, int columns, int rows) {
    RefPtr<SideBoard> rack(new SideBoard(nullptr));
    rack->setDimensions(columns, rows);
    layout.setSideBoard(rack.get());
}

std::vector<std::string> GameTypeTest::snapshot(Game& game) {
    std::vector<std::string> lines;
    const Layout& board = *game.getLayout();
    board.forEachTile([&lines](const Tile& t) {
        lines.push_back(std::to_string(t.getPos().x) + "," + std::to_string(t.getPos().y) + "," +
                        std::to_string(t.getPos().z) + ":" + std::to_string(t.matchKey()));
    });
    if (const SideBoard* rack = board.getSideBoard()) {
        TileList slots;
        rack->getTiles(slots);
        for (const RefPtr<Tile>& t : slots) {
            lines.push_back("slot " + std::to_string(t->getPos().x) + "," +
                            std::to_string(t->getPos().y) + ":" + std::to_string(t->matchKey()) +
                            (t->isSideboard() ? "" : " loose"));
        }
    }
    lines.push_back("score " + std::to_string(game.getScore().getValue()));
    return lines;
}

} // namespace orv::test
