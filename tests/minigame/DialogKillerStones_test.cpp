#include "game/minigame/DialogKillerStones.h"

#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageManager.h"
#include "engine/resources/ImageResource.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/system/Platform.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogHooks.h"
#include "game/minigame/KillerStonesRules.h"
#include "game/minigame/MiniGameClasses.h"
#include "game/players/HighScoreEntry.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"
#include "tests/graphics/FontFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

using Rules = KillerStonesRules;

constexpr int kFrameMs = 20;

// Every sound the game asked for, with its pan.
std::vector<std::pair<std::string, int>>& stoneSounds() {
    static std::vector<std::pair<std::string, int>> sounds;
    return sounds;
}

class StonePlayer : public PlayerHook {
public:
    std::optional<std::wstring> getPlayerName() override { return name; }
    std::optional<bool> getShowHints() override { return false; }
    void setShowHints(bool /*show*/) override {}
    BestResult getBest(const Level& /*level*/) override { return {}; }
    bool isBestBetweenSilverAndGold(const Level& /*level*/) override { return false; }

    std::optional<std::wstring> name = L"Robin";
};

// An image resource that holds a blank picture of the given size.
ImageResource* blankPicture(int width, int height) {
    auto* resource = new ImageResource("", "");
    resource->setImage(createImage(width, height, kFormatArgb32).get());
    static_cast<void>(resource->markLoaded());
    return resource;
}

// The game's sections with pictures of the game's sizes, its fonts, a
// player, a scores table kept in a temporary folder and a test clock; the
// game is opened in a scene of its own.
class KillerStonesTest : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        registerDialogClasses();
        registerMiniGameClasses();
        BasicProperties& settings = BasicProperties::create();
        settings.getInteger("DIALOG_FADE_TIME") = 100;
        settings.getInteger("TILE_FACE_WIDTH") = 40;
        settings.getInteger("TILE_FACE_HEIGHT") = 52;
        GameConstants().apply();
        RandomGenerator::createInstance(2024, 0);
        setPlayerHook(&player_);
        stoneSounds().clear();
        DialogKillerStones::setSoundObserver([](std::string_view name, int pan) {
            stoneSounds().emplace_back(std::string(name), pan);
        });
        platform::setMillisecondClock([this] { return clock_; });
        platform::setSleepFunction([this](std::uint32_t ms) { clock_ += ms; });
        HighScoreManager::create(false, "1").setDataFolder(dir_.path().string());
        FontResource::setLoadFunction(
            [](const FontResource& /*resource*/, RefPtr<BaseObject>& held) {
                held = test::gridFont().get();
                return true;
            });
    }
    void TearDown() override {
        DialogKillerStones::setSoundObserver(nullptr);
        setPlayerHook(nullptr);
        SceneManager::destroyInstance();
        GameWindow::setInstance(nullptr);
        ResourceManager::destroyInstance();
        HighScoreManager::destroyInstance();
        FontResource::setLoadFunction(nullptr);
        platform::setMillisecondClock({});
        platform::setSleepFunction({});
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        FileArchive::shutDown();
    }

    // The sections; `barWidth` is the shield bar's width, with `brokenGame`
    // the "game" section holds a picture that never loads, and with
    // `ownPictures` the shot, bar and bomb star are only the game's own.
    void installResources(int barWidth = 60, bool brokenGame = false, bool ownPictures = false) {
        ResourceManager* resources = ResourceManager::create();
        resources->setStarted(!brokenGame);
        auto font = [] {
            auto* resource = new FontResource(nullptr);
            resource->load();
            return resource;
        };
        auto* common = new ResourceSection("common");
        common->addObject("FONT_HEADER", font());
        resources->addSection(common);
        auto* defaults = new ResourceSection("default");
        defaults->addObject("FONT_GAMESCENE_BIG", font());
        defaults->addObject("FONT_SCORE_FLOATER1", font());
        auto* own = new ResourceSection("minigame");
        ResourceSection* shared = ownPictures ? own : defaults;
        shared->addObject(ownPictures ? "MINIGAME_SHOT" : "HIGHSCORE_ANIM_LIGHT",
                          blankPicture(30, 24));
        shared->addObject(ownPictures ? "MINIGAME_SHIELD_BAR" : "HIGHSCORE_ANIM_BAR",
                          blankPicture(barWidth, 14));
        shared->addObject(ownPictures ? "MINIGAME_BOMB_STAR" : "TROPHY_STAR", blankPicture(40, 40));
        resources->addSection(own);
        defaults->addObject("TILE", blankPicture(46, 58));
        defaults->addObject("BONUS_STAR", blankPicture(12, 12));
        resources->addSection(defaults);
        auto* trophy = new ResourceSection("trophy");
        trophy->addObject("TROPHY_GOLD", blankPicture(64, 80));
        resources->addSection(trophy);
        auto* hallway = new ResourceSection("hallway");
        hallway->addObject("STAR_FLASH", blankPicture(32, 32));
        resources->addSection(hallway);
        auto* manual = new ResourceSection("manual");
        manual->addObject("SYMBOLS1", blankPicture(360, 265));
        resources->addSection(manual);
        auto* game = new ResourceSection("game");
        if (brokenGame) {
            game->addObject("SOUND_STUCK", new ImageResource("media/none.png", ""));
        }
        resources->addSection(game);
    }

    // With `gameFiles` the dialog's definition and texts are the game's own.
    DialogKillerStones& openGame(bool gameFiles = false) {
        const std::string path = dir_.file("dialogs.xml");
        if (gameFiles) {
            for (const char* name : {"dialogs", "commontext", "text"}) {
                getDefinitionStore().addFile(std::string(ORVANTA_SOURCE_DIR) +
                                             "/media/properties/" + name + ".xml");
            }
            std::ofstream(path) << R"(<Root><Scenes id="scenes">
                <Scene id="SCENE_TEST" width="800" height="600"/>
              </Scenes></Root>)";
        } else {
            std::ofstream(path) << R"(<Root><Dialogs id="dialogs">
                <DialogKillerStones id="DIALOG_KILLER_STONES" width="800" height="600"/>
              </Dialogs><Scenes id="scenes">
                <Scene id="SCENE_TEST" width="800" height="600"/>
              </Scenes></Root>)";
        }
        getDefinitionStore().addFile(path);
        getDefinitionStore().load();
        SceneManager* scenes = SceneManager::create();
        scene_ = scenes->addScene("SCENE_TEST");
        scenes->setNextScene(scene_);
        scenes->run(0);
        auto* game = kindCast<DialogKillerStones>(scene_->getDialog(DialogKillerStones::kName));
        EXPECT_NE(game, nullptr);
        scene_->showDialog(game);
        return *game;
    }

    static void frames(int count, int ms = kFrameMs) {
        for (int i = 0; i < count; ++i) {
            SceneManager::getInstance()->run(ms);
        }
    }
    // Runs frames until `done` holds or `limitMs` of game time passed.
    static bool runUntil(const std::function<bool()>& done, int limitMs) {
        for (int t = 0; t < limitMs; t += kFrameMs) {
            if (done()) {
                return true;
            }
            frames(1);
        }
        return done();
    }
    // Moves the gun under `x` and waits until it is there.
    static void aimAt(DialogKillerStones& game, int x) {
        static_cast<void>(game.onMouseMove(x, 300, 0));
        static_cast<void>(runUntil([&] { return std::abs(game.getGunX() - x) < 1.0F; }, 2000));
    }
    static int count(const std::vector<RefPtr<Sprite>>& sprites, int tag) {
        return static_cast<int>(
            std::count_if(sprites.begin(), sprites.end(),
                          [tag](const RefPtr<Sprite>& s) { return s->getTag() == tag; }));
    }
    [[nodiscard]] bool isShown(const Dialog* dialog) const {
        const auto& open = scene_->getOpenDialogs();
        return std::any_of(open.begin(), open.end(),
                           [dialog](const RefPtr<Dialog>& shown) { return shown.get() == dialog; });
    }
    static HighScoreTable* minigameTable() {
        return HighScoreManager::get()->getTable(kMiniGameScoreTable);
    }
    static const HighScoreEntry* rowOf(const HighScoreTable& table, const std::string& name) {
        for (const RefPtr<HighScoreEntry>& entry : table.getEntries()) {
            if (entry->isplayerscore && entry->playername == name) {
                return entry.get();
            }
        }
        return nullptr;
    }

    test::TempDir dir_;
    StonePlayer player_;
    std::uint32_t clock_ = 1000;
    Scene* scene_ = nullptr;
};

TEST_F(KillerStonesTest, HoldsItsFaceSheetWhenTheSectionIsLetGo) {
    installResources();
    DialogKillerStones& game = openGame();
    ASSERT_TRUE(game.hasLoaded());
    // The section is unloaded, but the tiles still have their faces.
    EXPECT_EQ(ResourceManager::getInstance()->getObject("SYMBOLS1", "manual"), nullptr);
    ASSERT_NE(game.getSymbols(), nullptr);
    EXPECT_EQ(game.getSymbols()->getWidth(), 360);
    ASSERT_TRUE(runUntil([&] { return !game.getFallingTiles().empty(); }, 6000));
    EXPECT_EQ(game.getFallingTiles().front()->getWidth(), 46);
}

TEST_F(KillerStonesTest, TheGamesDialogsAndTextsBindTheGame) {
    installResources();
    DialogKillerStones& game = openGame(true);
    ASSERT_TRUE(game.hasLoaded());
    ASSERT_TRUE(runUntil([&] { return game.isGameOver(); }, 8000));
    frames(1100 / kFrameMs);
    ASSERT_NE(game.getContinueLabel(), nullptr);
    EXPECT_EQ(game.getContinueLabel()->getText(), L"Click to continue");
}

TEST_F(KillerStonesTest, DrawsItsOwnShotsBarsAndStarsWhenTheSharedOnesAreMissing) {
    installResources(90, false, true);
    DialogKillerStones& game = openGame();
    frames(10);
    EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
    EXPECT_TRUE(game.onRightButtonDown(400, 500, 0, false));
    game.grantPickup(Rules::kShield);
    ASSERT_FALSE(game.getShots().empty());
    for (const RefPtr<Sprite>& shot : game.getShots()) {
        const int expected = shot->getTag() == Rules::kShot        ? 30
                             : shot->getTag() == Rules::kBombPiece ? 40
                                                                   : 90;
        EXPECT_EQ(shot->getWidth(), expected) << "tag " << shot->getTag();
    }
    EXPECT_EQ(count(game.getShots(), Rules::kShieldBar), 2);
}

TEST_F(KillerStonesTest, GivesUpWaitingForItsPicturesAndClosesWithAMessage) {
    installResources(60, true);
    const std::uint32_t start = clock_;
    DialogKillerStones& game = openGame();
    EXPECT_FALSE(game.hasLoaded());
    EXPECT_GE(clock_ - start, static_cast<std::uint32_t>(DialogKillerStones::kLoadLimitMs));
    EXPECT_LT(clock_ - start, static_cast<std::uint32_t>(DialogKillerStones::kLoadLimitMs + 100));
    frames(10);
    // No game runs: the message stands until a click closes the dialog.
    EXPECT_TRUE(game.getFallingTiles().empty());
    ASSERT_NE(game.getContinueLabel(), nullptr);
    EXPECT_TRUE(game.onLeftButtonDown(400, 300, 0, false));
    frames(20);
    EXPECT_FALSE(isShown(&game));
}

// The playfield is drawn on the window's back buffer, which has the
// display's depth: a picture of the other depth would leave the game black.
TEST_F(KillerStonesTest, ThePlayfieldTakesTheDisplaysDepth) {
    for (const int depth : {kFormatArgb32, kFormatRgb565}) {
        SCOPED_TRACE(depth);
        ImageManager::create()->setPixelFormatAll(depth);
        installResources();
        DialogKillerStones& game = openGame();
        ASSERT_NE(game.getBackground(), nullptr);
        EXPECT_EQ(game.getBackground()->getFormat(), depth);
        SceneManager::destroyInstance();
        ResourceManager::destroyInstance();
        destroyDefinitionStore();
        ImageManager::destroyInstance();
    }
}

TEST_F(KillerStonesTest, KeepsNewTilesAHundredPixelsApart) {
    installResources();
    DialogKillerStones& game = openGame();
    EXPECT_EQ(game.getLastSpawnX(), 0);
    std::vector<int> places;
    ASSERT_TRUE(runUntil(
        [&] {
            const auto& tiles = game.getFallingTiles();
            if (tiles.empty()) {
                return false;
            }
            if (places.empty() || tiles.back()->getX() != places.back()) {
                places.push_back(tiles.back()->getX());
                EXPECT_EQ(game.getLastSpawnX(), places.back());
            }
            // A laser column takes each tile well before it lands.
            const Sprite& oldest = *tiles.front();
            static_cast<void>(game.onMouseMove(oldest.getX(), 300, 0));
            if (oldest.getY() > 200 && std::abs(game.getGunX() - oldest.getX()) < 1.0F) {
                game.grantPickup(Rules::kLaser);
                static_cast<void>(game.onLeftButtonDown(oldest.getX(), 500, 0, false));
            }
            return places.size() >= 6;
        },
        15000));
    EXPECT_FALSE(game.isGameOver());
    for (std::size_t i = 1; i < places.size(); ++i) {
        EXPECT_GE(std::abs(places[i] - places[i - 1]), Rules::kSpawnSpacing);
    }
}

TEST_F(KillerStonesTest, AShotScoresOnceAndSoundsWhereTheTileIs) {
    installResources();
    DialogKillerStones& game = openGame();
    ASSERT_TRUE(runUntil([&] { return !game.getFallingTiles().empty(); }, 6000));
    const int x = game.getFallingTiles().front()->getX();
    aimAt(game, x);
    stoneSounds().clear();
    EXPECT_TRUE(game.onLeftButtonDown(x, 500, 0, false));
    EXPECT_EQ(count(game.getShots(), Rules::kShot), 1);
    ASSERT_TRUE(runUntil([&] { return game.getHits() == 1; }, 1000));
    EXPECT_EQ(game.getScore(), 20);
    EXPECT_EQ(game.getLastHitTag(), Rules::kShot);
    EXPECT_TRUE(game.getShots().empty());
    EXPECT_TRUE(game.getFallingTiles().empty());
    EXPECT_EQ(game.getScoreLabel()->getText(), L"Score: 20");
    const auto& sounds = stoneSounds();
    EXPECT_EQ(sounds.front(), std::make_pair(std::string("SOUND_BUTTON"), Rules::panFor(x)));
    const auto hit = std::find_if(sounds.begin(), sounds.end(),
                                  [](const auto& s) { return s.first == "SOUND_DIALOG_SHOW"; });
    ASSERT_NE(hit, sounds.end());
    EXPECT_EQ(hit->second, Rules::panFor(x));
    ASSERT_NE(hit + 1, sounds.end());
    EXPECT_EQ((hit + 1)->first.rfind("SOUND_COMBO", 0), 0U);
    EXPECT_EQ((hit + 1)->second, Rules::panFor(x));
}

TEST_F(KillerStonesTest, APressDuringTheCooldownFiresWhenItEnds) {
    installResources();
    DialogKillerStones& game = openGame();
    frames(10);
    EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
    EXPECT_EQ(game.getFireCooldown(), 225);
    EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
    EXPECT_TRUE(game.isTriggerHeld());
    EXPECT_EQ(count(game.getShots(), Rules::kShot), 1);
    frames(225 / kFrameMs + 1);
    EXPECT_FALSE(game.isTriggerHeld());
    EXPECT_EQ(count(game.getShots(), Rules::kShot), 2);
    // Rapid fire shoots through the cooldown.
    game.grantPickup(Rules::kRapidFire);
    EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
    EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
    EXPECT_EQ(count(game.getShots(), Rules::kShot), 4);
}

TEST_F(KillerStonesTest, TenSpecialShotsAreTenLaserColumns) {
    installResources();
    DialogKillerStones& game = openGame();
    frames(10);
    game.grantPickup(Rules::kLaser);
    EXPECT_EQ(game.getWeapon(), DialogKillerStones::kLaser);
    EXPECT_EQ(game.getSpecialShots(), 10);
    for (int shot = 1; shot <= 10; ++shot) {
        EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
        // Every one, the last included, is a column of 24 shots.
        EXPECT_EQ(count(game.getShots(), Rules::kShot), 24) << "shot " << shot;
        EXPECT_EQ(game.getSpecialShots(), 10 - shot);
        frames(500 / kFrameMs);
    }
    EXPECT_EQ(game.getWeapon(), DialogKillerStones::kNormal);
    EXPECT_TRUE(game.onLeftButtonDown(400, 500, 0, false));
    EXPECT_EQ(count(game.getShots(), Rules::kShot), 1);
}

TEST_F(KillerStonesTest, BombsRunOutAndBlink) {
    installResources();
    DialogKillerStones& game = openGame();
    frames(10);
    EXPECT_EQ(game.getBombs(), 3);
    EXPECT_TRUE(game.onRightButtonDown(400, 500, 0, false));
    EXPECT_EQ(game.getBombs(), 2);
    EXPECT_EQ(count(game.getShots(), Rules::kBombPiece), 25);
    static_cast<void>(game.onRightButtonDown(400, 500, 0, false));
    static_cast<void>(game.onRightButtonDown(400, 500, 0, false));
    stoneSounds().clear();
    EXPECT_TRUE(game.onRightButtonDown(400, 500, 0, false));
    EXPECT_EQ(game.getBombs(), 0);
    EXPECT_EQ(count(game.getShots(), Rules::kBombPiece), 75);
    ASSERT_EQ(stoneSounds().size(), 1U);
    EXPECT_EQ(stoneSounds().front().first, "SOUND_TILE_BLOCKED");
    // The pieces fly, wait, fade and leave the list.
    frames(1700 / kFrameMs);
    EXPECT_EQ(count(game.getShots(), Rules::kBombPiece), 0);
}

TEST_F(KillerStonesTest, AGameLostBelowZeroEntersNoScore) {
    // Bars as wide as half the screen: every tile falls on one of them.
    installResources(400);
    DialogKillerStones& game = openGame();
    frames(10);
    game.grantPickup(Rules::kShield);
    EXPECT_EQ(count(game.getShots(), Rules::kShieldBar), 2);
    ASSERT_TRUE(runUntil([&] { return game.getScore() < 0; }, 9000));
    EXPECT_EQ(game.getScore() % 250, 0);
    ASSERT_TRUE(runUntil([&] { return game.isGameOver(); }, 20000));
    EXPECT_LT(game.getScore(), 0);
    const HighScoreTable* table = minigameTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(rowOf(*table, "Robin"), nullptr);
}

// The whole game, played by a steady hand that shoots the lowest tile and
// bombs any that comes too close, until a tile gets through.
struct GameResult {
    int score = 0;
    int level = 0;
    int hits = 0;
    int bombsLeft = 0;
};

GameResult playWholeGame(DialogKillerStones& game, Scene& scene) {
    int elapsed = 0;
    while (!game.isGameOver() && elapsed < 30 * 60 * 1000) {
        if (game.isLevelCleared()) {
            if (game.getEndTimer() <= 0) {
                static_cast<void>(game.onLeftButtonDown(400, 300, 0, false));
            }
        } else if (!game.getFallingTiles().empty()) {
            const auto& tiles = game.getFallingTiles();
            const auto lowest = std::max_element(
                tiles.begin(), tiles.end(), [](const RefPtr<Sprite>& a, const RefPtr<Sprite>& b) {
                    return a->getY() < b->getY();
                });
            const int x = (*lowest)->getX();
            static_cast<void>(game.onMouseMove(x, 500, 0));
            if ((*lowest)->getY() > 470 && game.getBombs() > 0) {
                static_cast<void>(game.onRightButtonDown(x, 500, 0, false));
            } else if (std::abs(game.getGunX() - static_cast<float>(x)) < 8.0F) {
                static_cast<void>(game.onLeftButtonDown(x, 500, 0, false));
            }
        }
        SceneManager::getInstance()->run(kFrameMs);
        elapsed += kFrameMs;
    }
    static_cast<void>(scene);
    return {game.getScore(), game.getLevel(), game.getHits(), game.getBombs()};
}

TEST_F(KillerStonesTest, AWholeGameWithAFixedSeedEndsTheSameWayAndEntersItsScore) {
    installResources();
    DialogKillerStones& game = openGame();
    const GameResult first = playWholeGame(game, *scene_);
    ASSERT_TRUE(game.isGameOver());
    EXPECT_GE(first.level, 1);
    EXPECT_GE(first.hits, 25);
    EXPECT_GT(first.score, 0);
    // The score went into the table with the level reached, and was saved.
    const HighScoreTable* table = minigameTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->getEntries().size(), 5U);
    const auto* row = dynamic_cast<const OrvantaScoreEntry*>(rowOf(*table, "Robin"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->scorevalue, first.score);
    EXPECT_EQ(row->level, first.level);
    EXPECT_TRUE(std::filesystem::exists(HighScoreManager::get()->getFilePath()));
    // The click after the end timer closes the game.
    EXPECT_TRUE(game.onLeftButtonDown(400, 300, 0, false));
    EXPECT_TRUE(isShown(&game));
    frames(1000 / kFrameMs);
    ASSERT_NE(game.getContinueLabel(), nullptr);
    EXPECT_TRUE(game.onLeftButtonDown(400, 300, 0, false));
    frames(300 / kFrameMs);
    EXPECT_FALSE(isShown(&game));

    // The same seed and clock play the same game again.
    SceneManager::destroyInstance();
    RandomGenerator::createInstance(2024, 0);
    ResourceManager::destroyInstance();
    installResources();
    destroyDefinitionStore();
    DialogKillerStones& again = openGame();
    const GameResult second = playWholeGame(again, *scene_);
    EXPECT_EQ(second.score, first.score);
    EXPECT_EQ(second.level, first.level);
    EXPECT_EQ(second.hits, first.hits);
    EXPECT_EQ(second.bombsLeft, first.bombsLeft);
}

TEST_F(KillerStonesTest, ALevelClearedInTheFrameATileLandsIsNoGameOver) {
    installResources();
    DialogKillerStones& game = openGame();
    // Laser columns take 24 tiles, one at a time, well before they land.
    ASSERT_TRUE(runUntil(
        [&] {
            const auto& tiles = game.getFallingTiles();
            if (game.getHits() == 24 || tiles.empty()) {
                return game.getHits() == 24;
            }
            const Sprite& oldest = *tiles.front();
            static_cast<void>(game.onMouseMove(oldest.getX(), 300, 0));
            if (oldest.getY() > 200 && std::abs(game.getGunX() - oldest.getX()) < 1.0F) {
                game.grantPickup(Rules::kLaser);
                static_cast<void>(game.onLeftButtonDown(oldest.getX(), 500, 0, false));
            }
            return false;
        },
        60000));
    // The gun waits in the middle for the next two tiles, then goes under
    // the younger one while the older one comes down.
    ASSERT_TRUE(runUntil(
        [&] {
            const auto& tiles = game.getFallingTiles();
            const int x = tiles.size() >= 2 ? tiles[1]->getX() : 400;
            static_cast<void>(game.onMouseMove(x, 300, 0));
            return tiles.size() >= 2 && std::abs(game.getGunX() - static_cast<float>(x)) < 1.0F;
        },
        10000));
    ASSERT_FALSE(game.isGameOver());
    game.grantPickup(Rules::kLaser);
    static_cast<void>(game.onLeftButtonDown(400, 500, 0, false));
    // One long frame: the 25th hit first, then the older tile lands.
    frames(1, 2200);
    EXPECT_TRUE(game.isLevelCleared());
    EXPECT_FALSE(game.isGameOver());
    const HighScoreTable* table = minigameTable();
    EXPECT_TRUE(table == nullptr || rowOf(*table, "Robin") == nullptr);
    // The next level starts on the click after the end timer.
    frames(1100 / kFrameMs);
    EXPECT_TRUE(game.onLeftButtonDown(400, 300, 0, false));
    EXPECT_EQ(game.getLevel(), 1);
    EXPECT_FALSE(game.isLevelCleared());
    EXPECT_EQ(game.getBombs(), 5);
    EXPECT_EQ(game.getPace().getSpawnInterval(), 1450);
    EXPECT_EQ(game.getSpawnTimer(), 2000);
}

TEST_F(KillerStonesTest, EscapeClosesAtOnceInAnyState) {
    installResources();
    DialogKillerStones& game = openGame();
    frames(10);
    EXPECT_FALSE(game.onKeyDown('A'));
    EXPECT_TRUE(isShown(&game));
    EXPECT_TRUE(game.onKeyDown(27));
    EXPECT_FALSE(isShown(&game));
}

} // namespace
} // namespace orv
