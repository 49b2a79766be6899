#include "engine/core/GameTree.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/ImageResource.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Label.h"
#include "game/board/Game.h"
#include "game/dialogs/DialogClasses.h"
#include "game/screen/BonusBar.h"
#include "game/screen/SceneGame.h"
#include "game/screen/ScreenClasses.h"
#include "game/screen/TimeBar.h"
#include "tests/board/GameFixture.h"
#include "tests/graphics/FontFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orv::test {
namespace {

// Faces of 8 x 10 drawn from (100 + 20 x, 50 + 25 y), 4 pixels up-left a
// layer; no hit test (the effects are asked for directly).
class FaceDisplay : public BoardDisplay {
public:
    GameNode& getNode() override { return node_; }
    int getWidth() const override { return 600; }
    int getHeight() const override { return 500; }
    void build(const Layout& /*layout*/, const TileList& /*extra*/) override {}
    void rebuild(const Layout& /*layout*/) override {}
    void detachTiles() override {}
    void flush() override {}
    Tile* tileAt(const Layout& /*layout*/, int /*x*/, int /*y*/) override { return nullptr; }
    void placeTile(const Tile& tile) override { placed.push_back(tile.getPos()); }
    void removeTile(const Tile& /*tile*/) override {}
    void removeTileAt(const TilePos& pos) override { removedAt.push_back(pos); }
    void invalidate() override {}
    void setLayersVisible(bool /*visible*/) override {}
    void applyLayerColors() override {}
    void refreshTile(const Tile& /*tile*/) override {}
    void startTilePulse(const Tile& /*tile*/) override {}
    void startTileSelect(const Tile& /*tile*/) override {}
    void startTileHover(const Tile& /*tile*/) override {}
    void startTilePlain(const Tile& /*tile*/) override {}
    void startTileHint(const Tile& /*tile*/) override {}
    void startTileHintPulse(const Tile& /*tile*/) override {}
    void startTileSwell(const Tile& /*tile*/) override {}
    void startTileLighten(const Tile& /*tile*/) override {}
    void startTileFade(const Tile& /*tile*/, int /*multiplier*/) override {}
    int tileScreenX(int x, int z) const override { return 100 + 20 * x - 4 * z; }
    int tileScreenY(int y, int z) const override { return 50 + 25 * y - 4 * z; }
    RefPtr<Image> makeFaceImage(const Tile& /*tile*/, std::uint32_t /*background*/) const override {
        return createImage(8, 10, kFormatArgb32);
    }

    static inline std::vector<TilePos> placed;
    static inline std::vector<TilePos> removedAt;

private:
    GameNode node_;
};

BoardDisplay* makeFaceDisplay() {
    return new FaceDisplay();
}

constexpr int kShowMs = 1000;
constexpr int kSlideMs = 500;

class SceneGameEffectsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        registerScreenClasses();
        registerDialogClasses();
        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("BUILD_LAYOUT_DURATION") = 400;
        settings.getInteger("TILE_FACE_WIDTH") = 8;
        settings.getInteger("TILE_FACE_HEIGHT") = 10;
        settings.getInteger("TROPHY_INFO_SHOW_TIME") = kShowMs;
        settings.getInteger("BONUS_ANIM_EXPLOSION_TIME") = 400;
        settings.getInteger("TILE_FLIGHT_TIME") = 300;
        settings.getTextEntry("TEXT_TIME_PENALTY") = L"% sec";
        settings.getTextEntry("TEXT_SUPER_SCORE_HEADER") = L"Super";
        settings.getTextEntry("TEXT_MEGA_SCORE_HEADER") = L"Mega";
        RefPtr<GameConstants> constants(new GameConstants());
        constants->apply();
        BonusBar::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/bonus.xml");
        getDefinitionStore().getDialogs()->add(new PropertyNode("DIALOG_PAUSE", "Dialog"));
        getDefinitionStore().getDialogs()->add(
            new PropertyNode("DIALOG_TROPHY_INFO", "DialogTrophyInfo"));
        setBoardDisplayFactory(&makeFaceDisplay);
        FaceDisplay::placed.clear();
        FaceDisplay::removedAt.clear();
        installResources();
    }
    void TearDown() override {
        scene = nullptr;
        setBoardDisplayFactory(nullptr);
        ResourceManager::destroyInstance();
        FontResource::setLoadFunction(nullptr);
        destroyDefinitionStore();
        GameTest::TearDown();
        Game::setView(&view);
    }

    // The six floater fonts, each its own object, and the star pictures.
    void installResources() {
        FontResource::setLoadFunction(
            [](const FontResource& /*resource*/, RefPtr<BaseObject>& held) {
                held = gridFont().get();
                return true;
            });
        ResourceManager* resources = ResourceManager::create();
        auto* fonts = new ResourceSection("default");
        for (int k = 1; k <= 7; ++k) {
            auto* font = new FontResource(nullptr);
            font->load();
            fonts->addObject(k <= 6 ? "FONT_SCORE_FLOATER" + std::to_string(k)
                                    : std::string("FONT_GAMESCENE_BIG"),
                             font);
        }
        for (const char* name : {"BONUS_STAR", "FADING_STAR"}) {
            auto* star = new ImageResource("", "");
            star->setImage(createImage(6, 6, kFormatArgb32).get());
            fonts->addObject(name, star);
        }
        resources->addSection(fonts);
        auto* game = new ResourceSection("game");
        // A band of plain white light, 4 pixels wide.
        RefPtr<Image> band = createImage(4, 12, kFormatArgb32);
        if (band != nullptr && band->lock()) {
            for (int y = 0; y < 12; ++y) {
                std::fill_n(
                    reinterpret_cast<std::uint32_t*>(band->getPixels() + y * band->getPitch()), 4,
                    0xFFFFFFFFU);
            }
            band->unlock();
        }
        auto* shine = new ImageResource("", "");
        shine->setImage(band.get());
        game->addObject("FACE_SHINE", shine);
        resources->addSection(game);
    }
    Font* floaterFont(int k) {
        return kindCast<Font>(ResourceManager::getInstance()->getObject(
            "FONT_SCORE_FLOATER" + std::to_string(k), "default"));
    }

    // A Classic level of `pairs` pairs on one layer, played.
    Game& play(int pairs = 6, const std::string& attributes = R"(playTime="100000")",
               const std::function<void(Level&)>& place = {}) {
        std::vector<TilePos> places;
        for (int i = 0; i < 2 * pairs; ++i) {
            places.push_back({4 * (i % 6), 4 * (i / 6), 0});
        }
        return playOn(places, attributes, place);
    }
    // A Classic level on tiles at `places`, entered and built up until
    // played. The screen has the score ticker and the progress labels.
    Game& playOn(const std::vector<TilePos>& places, const std::string& attributes,
                 const std::function<void(Level&)>& place = {}) {
        RefPtr<Layout> layout(new Layout());
        for (const TilePos& p : places) {
            RefPtr<Tile> tile = makeTile(p);
            EXPECT_TRUE(layout->setTileAt(tile.get(), p));
        }
        layout->setOriginalTileCount(layout->getTileCount());
        Game& game = startClassic(layout.get(), attributes);
        if (place) {
            place(*game.getLevel());
        }
        store_ = new PropertyStore();
        EXPECT_TRUE(store_->loadText(R"(<Root><SceneGame id="SCENE_GAME">
            <Vector id="components">
                <LabelTicker name="SCORE_TICKER" x="600" y="10"><Label id="label"/></LabelTicker>
                <Label name="LABEL_PROGRESS"/>
                <Label name="LABEL_PROGRESS_REC"/>
            </Vector></SceneGame></Root>)"));
        scene = new SceneGame(store_->getNode("SCENE_GAME"));
        scene->open();
        for (int i = 0; i < 500 && scene->getState() != nullptr; ++i) {
            frame(16);
        }
        EXPECT_EQ(scene->getState(), nullptr);
        return game;
    }
    static Tile* firstTile(const Game& game) {
        TileList tiles;
        game.getLayout()->getTiles(tiles);
        return tiles.empty() ? nullptr : tiles.front().get();
    }
    void frame(int dt) {
        scene->updateSelf(dt);
        scene->getMoveTask()->run(dt);
        scene->getPurgeTask()->run(dt);
    }
    // The effects layer's children called `name`.
    std::vector<GameNode*> effects(std::string_view name) const {
        std::vector<GameNode*> found;
        for (GameNode* child = scene->getEffectLayer()->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            if (child->getName() == name && !child->hasRemovalMark()) {
                found.push_back(child);
            }
        }
        return found;
    }
    [[nodiscard]] int count(std::string_view sound) const {
        const auto& log = scene->getSoundLog();
        return static_cast<int>(std::count(log.begin(), log.end(), sound));
    }

    RefPtr<SceneGame> scene;
    RefPtr<PropertyStore> store_;
};

TEST_F(SceneGameEffectsTest, FloatersPickTheirFontByMultiplierAndRiseFromTheTile) {
    Game& game = play();
    Tile* tile = firstTile(game);
    const TilePos p = tile->getPos();
    const int x = 100 + 20 * p.x - 4 * p.z + 8 / 2;
    const int y = 50 + 25 * p.y - 4 * p.z - 30;
    struct Case {
        int multiplier;
        int font;
        const wchar_t* text;
    };
    for (const Case& c : {Case{0, 1, L"150"}, Case{1, 1, L"150"}, Case{3, 3, L"150 x 3"},
                          Case{6, 6, L"150 x 6"}, Case{9, 6, L"150 x 9"}}) {
        scene->showScoreFloater(150, c.multiplier, *tile);
        const std::vector<GameNode*> shown = effects("FLOATER");
        ASSERT_FALSE(shown.empty());
        auto* label = kindCast<Label>(shown.back());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->getFont(), floaterFont(c.font)) << c.multiplier;
        EXPECT_EQ(label->getText(), c.text);
        EXPECT_EQ(label->getX(), x);
        EXPECT_EQ(label->getY(), y);
    }
    // Popped in by 350 ms, half-way up and fading at 850 ms, gone at 1350.
    auto* last = kindCast<Label>(effects("FLOATER").back());
    for (int t = 0; t < 850; t += 50) {
        frame(50);
    }
    EXPECT_LT(last->getY(), y - 30);
    EXPECT_LT(last->getAlpha(), 255);
    for (int t = 850; t < 1400; t += 50) {
        frame(50);
    }
    EXPECT_TRUE(effects("FLOATER").empty());
}

TEST_F(SceneGameEffectsTest, TheRecreationRoomShowsOnlyTheTimePenalty) {
    Game& game = play(6, R"(playTime="100000" silver="10" gold="20")",
                      [](Level& level) { level.setPlace(Place::RecRoom); });
    scene->showScoreFloater(100, 2, *firstTile(game));
    scene->showSuperScore(30, 30);
    EXPECT_TRUE(effects("FLOATER").empty());
    EXPECT_TRUE(effects("SUPER_SCORE").empty());
    // Less than a second shows as 0 seconds.
    scene->showTimePenalty(-999 / 1000);
    const std::vector<GameNode*> shown = effects("FLOATER");
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(kindCast<Label>(shown[0])->getText(), L"0 sec");
    EXPECT_EQ(kindCast<Label>(shown[0])->getFont(), floaterFont(1));
}

TEST_F(SceneGameEffectsTest, SuperAndMegaScoreShowAtTheirThresholds) {
    struct Case {
        int from;
        int to;
        const wchar_t* header; // null: no show
        std::size_t stars;
        const char* sound;
        int lasts;
    };
    for (const Case& c : {Case{50, 150, L"Super", 2, "SOUND_SUPERSCORE", 2950},
                          Case{900, 1100, L"Mega", 3, "SOUND_MEGASCORE", 3300},
                          Case{50, 1100, L"Super", 2, "SOUND_SUPERSCORE", 2950},
                          Case{150, 900, nullptr, 0, "", 0}, Case{0, 99, nullptr, 0, "", 0}}) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        scene = nullptr;
        Game::destroyCurrent();
        play(6, R"(playTime="100000" silver="100" gold="1000")");
        scene->showSuperScore(c.to - c.from, c.to);
        const std::vector<GameNode*> shows = effects("SUPER_SCORE");
        if (c.header == nullptr) {
            EXPECT_TRUE(shows.empty());
            continue;
        }
        ASSERT_EQ(shows.size(), 1U);
        EXPECT_EQ(count(c.sound), 1);
        std::size_t stars = 0;
        Label* header = nullptr;
        for (GameNode* child = shows[0]->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            stars += child->getName() == "STAR" ? 1 : 0;
            header = child->getName() == "HEADER" ? kindCast<Label>(child) : header;
        }
        EXPECT_EQ(stars, c.stars);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->getText(), c.header);
        EXPECT_GE(shows[0]->getY() - header->getHeight() / 2, 0)
            << "a score at the top edge has the show below it, whole";
        // The scene's animation tree starts each step in the frame its
        // predecessor ends, so at 50 ms frames the show ends a few frames
        // early; the mega show outlasts the super show all the same.
        for (int t = 50; t <= c.lasts - 400; t += 50) {
            frame(50);
        }
        EXPECT_EQ(effects("SUPER_SCORE").size(), 1U) << "still showing";
        for (int t = 0; t < 500; t += 50) {
            frame(50);
        }
        EXPECT_TRUE(effects("SUPER_SCORE").empty());
    }
}

TEST_F(SceneGameEffectsTest, TheGamesCommittedScoreStartsTheShow) {
    Game& game = play(6, R"(playTime="100000" silver="100" gold="1000")",
                      [](Level& level) { level.setPlace(Place::Hallway); });
    game.addScore(60);
    game.commitScore(60);
    EXPECT_TRUE(effects("SUPER_SCORE").empty());
    game.addScore(60);
    game.commitScore(60);
    EXPECT_EQ(effects("SUPER_SCORE").size(), 1U);
}

TEST_F(SceneGameEffectsTest, RemovedTilesShineFromFourAndThrowStarsFromSeven) {
    Game& game = play();
    Tile& tile = *firstTile(game);
    const auto stars = [this] {
        std::size_t n = 0;
        for (GameNode* child = scene->getEffectLayer()->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            n += kindCast<Sprite>(child) != nullptr && child->getName().empty() ? 1 : 0;
        }
        return n;
    };
    struct Case {
        int multiplier;
        std::size_t shines;
        std::size_t stars;
    };
    for (const Case& c : {Case{3, 0, 0}, Case{4, 1, 0}, Case{6, 1, 0}, Case{7, 1, 4},
                          Case{10, 1, 7}, Case{60, 1, 30}}) {
        scene->spawnTileRemovalEffect(tile, c.multiplier);
        const std::vector<GameNode*> faces = effects("SHINE");
        ASSERT_EQ(faces.size(), c.shines) << c.multiplier;
        if (!faces.empty()) {
            // The face sits on the tile's face, anchored at its middle.
            const TilePos p = tile.getPos();
            const auto* face = kindCast<Sprite>(faces[0]);
            ASSERT_NE(face, nullptr);
            EXPECT_EQ(face->getX(), 100 + 20 * p.x - 4 * p.z + 4);
            EXPECT_EQ(face->getY(), 50 + 25 * p.y - 4 * p.z + 5);
            const Image* own = face->getImage();
            frame(200);
            Image* lit = face->getImage();
            ASSERT_NE(lit, own) << "half-way it shows a copy with the band";
            EXPECT_EQ(face->getWidth(), 8);
            // Half-way the band covers columns 2 to 5 of the whole face
            // (whose picture here is transparent) and nothing else.
            ASSERT_TRUE(lit->lock());
            const auto alphaAt = [lit](int x, int y) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, lit->getPixels() + y * lit->getPitch() + x * 4, 4);
                return pixel >> 24U;
            };
            EXPECT_EQ(alphaAt(3, 5), 255U);
            EXPECT_EQ(alphaAt(2, 0), 255U);
            EXPECT_EQ(alphaAt(1, 5), 0U);
            EXPECT_EQ(alphaAt(6, 9), 0U);
            lit->unlock();
            frame(250);
            EXPECT_TRUE(effects("SHINE").empty()) << "gone once the band has crossed";
        }
        EXPECT_EQ(stars(), c.stars) << c.multiplier;
        for (int t = 0; t < 5000; t += 100) {
            frame(100);
        }
        EXPECT_TRUE(effects("SHINE").empty());
        EXPECT_EQ(stars(), 0U) << "every star leaves by itself";
    }
}

TEST_F(SceneGameEffectsTest, TheProgressLabelShowsTheShareClearedEvenWithoutTiles) {
    Game& game =
        play(6, R"(playTime="100000")", [](Level& level) { level.setPlace(Place::Hallway); });
    auto* progress = kindCast<Label>(scene->findComponent("LABEL_PROGRESS_REC"));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->getText(), L"0%");
    TileList pair;
    ASSERT_TRUE(game.pickHint(pair));
    game.getLayout()->removeTile(pair[0].get());
    game.getLayout()->removeTile(pair[1].get());
    scene->updateProgressLabel();
    EXPECT_EQ(progress->getText(), L"16%") << "2 of 12 tiles";
    // A layout that claims no tiles at all (broken data) shows no share.
    game.getLayout()->setOriginalTileCount(0);
    scene->updateProgressLabel();
    EXPECT_EQ(progress->getText(), L"0%");
}

TEST_F(SceneGameEffectsTest, TheBuildUpPlacesEveryTileOfStacksFromTheBottomUp) {
    // Two stacks of three: at most two of the six tiles are free at once,
    // so most random draws miss.
    playOn({{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {6, 0, 0}, {6, 0, 1}, {6, 0, 2}},
           R"(playTime="100000")");
    ASSERT_EQ(FaceDisplay::placed.size(), 6U);
    for (int x : {0, 6}) {
        std::vector<int> layers;
        for (const TilePos& p : FaceDisplay::placed) {
            if (p.x == x) {
                layers.push_back(p.z);
            }
        }
        EXPECT_EQ(layers, (std::vector<int>{0, 1, 2})) << x;
    }
}

TEST_F(SceneGameEffectsTest, TheLargeStarBurstThrowsTwentyStarsFromItsPointThatLeave) {
    play();
    scene->showStarBurst(300, 200);
    std::vector<Sprite*> stars;
    for (GameNode* child = scene->getEffectLayer()->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (auto* star = kindCast<Sprite>(child); star != nullptr) {
            stars.push_back(star);
        }
    }
    ASSERT_EQ(stars.size(), 20U);
    for (Sprite* star : stars) {
        EXPECT_EQ(star->getX(), 300);
        EXPECT_EQ(star->getY(), 200);
        EXPECT_FALSE(star->isVisible()) << "each waits for its own start";
    }
    for (int t = 0; t < 5000; t += 100) {
        frame(100);
    }
    EXPECT_EQ(scene->getEffectLayer()->getFirstChild(), nullptr) << "stars and point are gone";
}

TEST_F(SceneGameEffectsTest, AFreeCellMoveFliesTheFaceFromItsPlaceToTheSlot) {
    Game& game = play();
    Tile& tile = *firstTile(game);
    const TilePos from{8, 4, 1};
    scene->startTileFlight(tile, from, false);
    EXPECT_EQ(FaceDisplay::removedAt, std::vector<TilePos>{from}) << "the board forgets it";
    EXPECT_EQ(count("SOUND_TILE_MOVES"), 1);
    EXPECT_EQ(count("SOUND_TILE_ARRIVES"), 0);
    const std::vector<GameNode*> flights = effects("FLIGHT");
    ASSERT_EQ(flights.size(), 1U);
    EXPECT_EQ(flights[0]->getX(), 100 + 20 * 8 - 4);
    EXPECT_EQ(flights[0]->getY(), 50 + 25 * 4 - 4);
    const TilePos to = tile.getPos();
    const int endX = 100 + 20 * to.x - 4 * to.z;
    for (int t = 0; t < 150; t += 50) {
        frame(50);
    }
    EXPECT_EQ(flights[0]->getX(), (endX + 100 + 20 * 8 - 4) / 2) << "half-way at half time";
    for (int t = 150; t < 300; t += 50) {
        frame(50);
    }
    EXPECT_EQ(count("SOUND_TILE_ARRIVES"), 1) << "on landing";
    EXPECT_TRUE(effects("FLIGHT").empty());
}

// The trophies the box presented, in order, while `frames` frames of 50 ms
// run.
class TrophyWatch {
public:
    void look(const SceneGame& scene) {
        const std::optional<int> now = scene.getTrophyQueue().getShowing();
        if (now && now != last_) {
            shown.push_back(*now);
        }
        last_ = now;
    }
    std::vector<int> shown;

private:
    std::optional<int> last_;
};

TEST_F(SceneGameEffectsTest, TrophiesEarnedInQuickSuccessionEachSlideInOnceInOrder) {
    play();
    TrophyWatch watch;
    for (int number : {3, 5, 3, 7}) {
        scene->onTrophyEarned(number);
        watch.look(*scene);
    }
    EXPECT_TRUE(scene->isDialogOpen("DIALOG_TROPHY_INFO"));
    for (int t = 0; t < 3 * (kShowMs + 3 * kSlideMs); t += 50) {
        frame(50);
        watch.look(*scene);
        EXPECT_EQ(scene->getPauseState(), 0) << "the box never holds the board";
    }
    EXPECT_EQ(watch.shown, (std::vector<int>{3, 5, 7}));
    EXPECT_FALSE(scene->isDialogOpen("DIALOG_TROPHY_INFO"));
    EXPECT_FALSE(scene->getTrophyQueue().isBoxUp());
    EXPECT_TRUE(scene->getTrophyQueue().getWaiting().empty());
}

TEST_F(SceneGameEffectsTest, TrophiesEarnedDuringAPauseWaitForTheBoard) {
    play();
    TrophyWatch watch;
    RefPtr<Dialog> dialog(new Dialog(nullptr));
    scene->dialogOpened(dialog.get());
    scene->onTrophyEarned(4);
    scene->onTrophyEarned(6);
    frame(50);
    watch.look(*scene);
    EXPECT_FALSE(scene->isDialogOpen("DIALOG_TROPHY_INFO"));
    EXPECT_EQ(scene->getTrophyQueue().getWaiting().size(), 2U) << "none is dropped";

    scene->dialogClosed(dialog.get());
    for (int t = 0; t < 2 * (kShowMs + 3 * kSlideMs); t += 50) {
        watch.look(*scene);
        frame(50);
    }
    EXPECT_EQ(watch.shown, (std::vector<int>{4, 6}));
}

TEST_F(SceneGameEffectsTest, NoTrophyBoxNearTheEndOfALevel) {
    play(4); // eight tiles
    scene->onTrophyEarned(2);
    EXPECT_FALSE(scene->isDialogOpen("DIALOG_TROPHY_INFO"));
    EXPECT_EQ(scene->getEarnedTrophies(), std::vector<int>{2}) << "still earned";
}

} // namespace
} // namespace orv::test
