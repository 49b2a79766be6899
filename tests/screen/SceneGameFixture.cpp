#include "tests/screen/SceneGameFixture.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "game/board/Game.h"
#include "game/screen/BonusBar.h"
#include "game/screen/LayoutRenderer.h"
#include "game/screen/RendererDisplay.h"
#include "game/screen/ScreenClasses.h"
#include "tests/screen/ScreenFixture.h"

namespace orv::test {

RendererDisplay* lastRendererDisplay = nullptr;

Tile* GridDisplay::tileAt(const Layout& layout, int x, int y) {
    Tile* hit = nullptr;
    layout.forEachTile([&](Tile& tile) {
        const TilePos p = tile.getPos();
        const int left = tileScreenX(p.x, p.z);
        const int top = tileScreenY(p.y, p.z);
        if (x >= left && x < left + 40 && y >= top && y < top + 50 &&
            (hit == nullptr || hit->getPos().z <= p.z)) {
            hit = &tile;
        }
    });
    return hit;
}

void GridDisplay::resetCounts() {
    placed = pulses = selects = hovers = fades = 0;
    layersVisible = true;
    hintPulsed.clear();
    superHinted.clear();
    plain.clear();
}

BoardDisplay* makeGridDisplay() {
    return new GridDisplay();
}

BoardDisplay* makeRendererDisplay() {
    lastRendererDisplay = new RendererDisplay(new LayoutRenderer(makeSmallLook().get()));
    return lastRendererDisplay;
}

std::pair<int, int> pointOf(const Tile& tile) {
    const TilePos p = tile.getPos();
    return {100 + 20 * p.x - 4 * p.z + 20, 50 + 25 * p.y - 4 * p.z + 25};
}

void SceneGameTest::SetUp() {
    GameTest::SetUp();
    registerScreenClasses();
    BasicProperties& settings = *BasicProperties::get();
    settings.getInteger("BUILD_LAYOUT_DURATION") = 400;
    settings.getInteger("TILE_FACE_WIDTH") = 8;
    settings.getInteger("TILE_FACE_HEIGHT") = 10;
    settings.getInteger("TIME_ALMOST_UP_SOUND") = 1000;
    settings.getFloat("MULTIPLIER_PERCENTAGE") = 0.1F;
    settings.getFloat("MULTIPLIER_MINIMUM") = 0.5F;
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
    BonusBar::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/bonus.xml");
    getDefinitionStore().getDialogs()->add(new PropertyNode("DIALOG_PAUSE", "Dialog"));
    GridDisplay::resetCounts();
    setBoardDisplayFactory(&makeGridDisplay);
}

void SceneGameTest::TearDown() {
    scene = nullptr;
    setBoardDisplayFactory(nullptr);
    destroyDefinitionStore();
    GameTest::TearDown();
    Game::setView(&view);
}

Game& SceneGameTest::enter(const std::string& attributes,
                           const std::function<void(Level&)>& place) {
    Game& game = startClassic(makeLayout({{0, 0, 0},
                                          {4, 0, 0},
                                          {8, 0, 0},
                                          {12, 0, 0},
                                          {0, 4, 0},
                                          {4, 4, 0},
                                          {8, 4, 0},
                                          {12, 4, 0}})
                                  .get(),
                              attributes);
    if (place) {
        place(*game.getLevel());
    }
    openScene();
    return game;
}

Game& SceneGameTest::enterBoard(GameType type, std::initializer_list<TilePos> places, Place where,
                                const std::string& attributes) {
    Game* game = Game::create(type);
    EXPECT_NE(game, nullptr);
    RefPtr<Level> level = makeLevel(makeLayout(places).get(), type, attributes);
    level->setPlace(where);
    EXPECT_TRUE(game->setLevel(level.get()));
    openScene();
    return *game;
}

void SceneGameTest::openScene() {
    RefPtr<PropertyNode> definition;
    if (PropertyNode* scenes = getDefinitionStore().getScenes(); scenes != nullptr) {
        if (AbstractProperty* stored = scenes->getChild("SCENE_GAME"); stored != nullptr) {
            definition = asNode(stored);
        }
    }
    if (definition == nullptr) {
        definition = new PropertyNode("SCENE_GAME", "SceneGame");
    }
    scene = new SceneGame(definition.get());
    scene->open();
}

void SceneGameTest::frame(int dt) {
    scene->updateSelf(dt);
    scene->getMoveTask()->run(dt);
}

void SceneGameTest::stepUntilPlaying(int dt, int limit) {
    for (int i = 0; i < limit && scene->getState() != nullptr; ++i) {
        frame(dt);
    }
    ASSERT_EQ(scene->getState(), nullptr);
}

void SceneGameTest::click(const Tile& tile) {
    const auto [x, y] = pointOf(tile);
    scene->onMouseMove(x, y, 0);
    static_cast<void>(scene->onLeftButtonDown(x, y, 0, false));
}

bool SceneGameTest::playHintedPair(Game& game) {
    TileList pair;
    if (!game.pickHint(pair) || pair.size() < 2) {
        return false;
    }
    click(*pair[0]);
    click(*pair[1]);
    return true;
}

} // namespace orv::test
