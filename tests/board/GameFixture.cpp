#include "tests/board/GameFixture.h"

#include "engine/properties/PropertyStore.h"
#include "game/board/GameClassic.h"

namespace orv::test {

Tile* RecordingView::tileAt(const Layout& layout, int x, int y) {
    if (!useGrid) {
        return target;
    }
    for (int z = Layout::kMaxZ; z >= 0; --z) {
        if (Tile* tile = layout.getGridCell(x, y, z)) {
            return tile;
        }
    }
    return nullptr;
}

bool RecordingServices::awardTrophy(int number) {
    int& state = trophies[number];
    if (state != 0) {
        return false;
    }
    state = 1;
    return true;
}

bool RecordingServices::loadSavedGame(int savedGameId, PropertyStore& store) {
    return store.load(folder.file("saved" + std::to_string(savedGameId) + ".xml"));
}

void RecordingServices::saveGame(int savedGameId, const Game& game) {
    RefPtr<PropertyStore> store(new PropertyStore());
    game.save(*static_cast<PropertyNode*>(store->add(new PropertyNode("game", "Game"))));
    store->setFileName(folder.file("saved" + std::to_string(savedGameId) + ".xml"));
    EXPECT_TRUE(store->save());
}

void RecordingServices::saveText(int savedGameId, const std::string& xml) {
    writeFile(folder.path() / ("saved" + std::to_string(savedGameId) + ".xml"), xml);
}

void GameTest::SetUp() {
    BoardTest::SetUp();
    Game::setView(&view);
    Game::setServices(&services);
}

void GameTest::TearDown() {
    Game::destroyCurrent();
    Game::setView(nullptr);
    Game::setServices(nullptr);
    BoardTest::TearDown();
}

RefPtr<Level> GameTest::makeLevel(Layout* layout, GameType type, const std::string& attributes) {
    // The defaults, each left out when the attributes give it.
    std::string xml = std::string(R"(<r><Level gameType=")") + std::string(gameTypeName(type)) +
                      R"(" isSaveGame="x" )" + attributes;
    for (const char* setting : {R"(pointsPerMatch="10")", R"(timeBonus="2000")",
                                R"(tileDistMin="1")", R"(tileDistMax="4")", R"(sideBoardIndex="0")",
                                R"(firstHand="1")", R"(secondHand="1")", R"(thirdHand="1")"}) {
        const std::string setting_(setting);
        const std::string key = setting_.substr(0, setting_.find('=') + 1);
        if (attributes.find(key) == std::string::npos) {
            xml += " " + setting_;
        }
    }
    xml += "/></r>";
    RefPtr<Level> level(new Level(parseNode(xml).get()));
    level->setLayout(layout);
    return level;
}

Game& GameTest::startClassic(Layout* layout, const std::string& attributes) {
    Game* game = Game::create(GameType::Classic);
    EXPECT_NE(game, nullptr);
    RefPtr<Level> level = makeLevel(layout, GameType::Classic, attributes);
    EXPECT_TRUE(game->setLevel(level.get()));
    return *game;
}

void GameTest::clickOn(Game& game, Tile* tile) {
    view.target = tile;
    game.click(0, 0);
    game.runPendingAction();
}

bool GameTest::removeHintedPair(Game& game) {
    TileList hint;
    if (!game.pickHint(hint)) {
        return false;
    }
    for (const RefPtr<Tile>& tile : hint) {
        game.selectTile(tile.get());
    }
    game.removeMatch();
    return true;
}

} // namespace orv::test
