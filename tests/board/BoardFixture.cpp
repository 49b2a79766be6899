#include "tests/board/BoardFixture.h"

#include "engine/core/NodeClasses.h"
#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/SceneClasses.h"
#include "game/board/BoardClasses.h"
#include "game/board/ShuffleRandom.h"
#include "game/board/TileManager.h"

#include <array>
#include <utility>

namespace orv::test {

namespace {

struct SuitData {
    int size;
    const char* matchType;
};
constexpr std::array<SuitData, 7> kSuits{{{9, "exact"},
                                          {9, "exact"},
                                          {9, "exact"},
                                          {4, "exact"},
                                          {3, "exact"},
                                          {4, "suit"},
                                          {4, "suit"}}};

// The side-board and tile constants the board reads, as the game defines
// them in round numbers.
constexpr std::array<std::pair<const char*, int>, 9> kConstants{{
    {"SIDEBOARD_PADDING_X", 8},
    {"SIDEBOARD_PADDING_Y", 8},
    {"SIDEBOARD_WIDTH_PER_TILE", 42},
    {"SIDEBOARD_HEIGHT_PER_TILE", 54},
    {"SIDEBOARD_FREECELL_PADDING_X", 10},
    {"SIDEBOARD_FREECELL_PADDING_Y", 10},
    {"RENDERER_TILE_FACE_WIDTH", 40},
    {"RENDERER_TILE_FACE_HEIGHT", 52},
    {"RENDERER_TILE_SIDE_WIDTH", 6},
}};

} // namespace

void BoardTest::SetUp() {
    registerPropertyClasses();
    registerNodeClasses();
    registerSceneClasses();
    registerBoardClasses();
    BasicProperties& settings = BasicProperties::create();
    for (const auto& [name, value] : kConstants) {
        settings.getInteger(name) = value;
    }
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();

    RefPtr<PropertyVector> suits(new PropertyVector("suitDefs"));
    for (const SuitData& suit : kSuits) {
        auto* node = static_cast<PropertyNode*>(suits->add(new PropertyNode("", "Suit")));
        node->add(new PropertyValue("size", suit.size, true));
        node->add(new PropertyValue("matchType", std::string_view(suit.matchType), true));
    }
    TileManager::setInstance(new TileManager(suits.get()));
    RandomGenerator::createInstance(20240, 0);
    ShuffleRandom::seed(4711);
}

void BoardTest::TearDown() {
    TileManager::destroyInstance();
    BasicProperties::destroyInstance();
}

std::string fixturePath(std::string_view name) {
    return std::string(ORVANTA_BOARD_FIXTURES) + "/" + std::string(name);
}

RefPtr<Tile> makeTile(TilePos pos, int suit, int idx) {
    RefPtr<Tile> tile(new Tile(nullptr));
    tile->setPos(pos);
    if (suit != kNoSuit) {
        tile->setFace(suit, idx);
    }
    return tile;
}

RefPtr<Layout> makeLayout(std::initializer_list<TilePos> places) {
    RefPtr<Layout> layout(new Layout());
    for (const TilePos& pos : places) {
        RefPtr<Tile> tile = makeTile(pos);
        EXPECT_TRUE(layout->setTileAt(tile.get(), pos));
    }
    layout->setOriginalTileCount(layout->getTileCount());
    return layout;
}

Tile* tileAt(const Layout& layout, TilePos pos) {
    Tile* tile = layout.getGridCell(pos.x, pos.y, pos.z);
    return tile != nullptr && tile->getPos() == pos ? tile : nullptr;
}

RefPtr<PropertyNode> parseNode(std::string_view xml) {
    RefPtr<PropertyStore> store(new PropertyStore());
    EXPECT_TRUE(store->loadText(xml)) << xml;
    for (const auto& child : store->getChildren()) {
        if (child.property->isNode()) {
            return RefPtr<PropertyNode>(static_cast<PropertyNode*>(child.property.get()));
        }
    }
    ADD_FAILURE() << "no node in " << xml;
    return RefPtr<PropertyNode>(new PropertyNode("", ""));
}

} // namespace orv::test
