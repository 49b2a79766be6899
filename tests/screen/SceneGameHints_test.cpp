#include "engine/core/GameTree.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceObject.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/SceneClasses.h"
#include "game/board/DisplayValue.h"
#include "game/board/Game.h"
#include "game/board/Layout.h"
#include "game/board/Level.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/screen/GameSceneState.h"
#include "game/screen/LabelTicker.h"
#include "game/screen/PlayingScreen.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"
#include "tests/screen/SceneGameFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orv::test {
namespace {

constexpr int kHintPenalty = 5000;
constexpr int kClockPenalty = 15000;
constexpr int kSuperHintMs = 1000;
constexpr int kPathDelay = 150;
// What a shuffle costs in each game type, Classic first: each its own.
constexpr std::array<int, 6> kShufflePenalties{3000, 3100, 3200, 4300, 4400, 2500};
constexpr int kShufflePenalty = kShufflePenalties[0];

// The screen's buttons, the stuck question with its two captioned buttons,
// and the pause dialog the screen opens on focus loss.
constexpr const char* kDialogs = R"(<root>
<Node id="scenes">
    <SceneGame id="SCENE_GAME" width="800" height="600">
        <Vector id="scenecomponents">
            <Button name="BUTTON_PAUSE" x="700" y="260" image="BUTTON" section="game"/>
            <Button name="BUTTON_HINT_NORMAL" x="700" y="300" image="BUTTON" section="game"/>
            <Button name="BUTTON_HINT_UNLIMITED" x="700" y="300" image="BUTTON" section="game"/>
            <Button name="BUTTON_SHUFFLE" x="700" y="340" image="BUTTON" section="game"/>
            <Button name="BUTTON_UNDO" x="700" y="380" image="BUTTON" section="game"/>
            <Label name="LABEL_MATCHES_TEXT" x="480" y="5" width="110" height="20"/>
            <LabelTicker name="SCORE_TICKER" x="300" y="20" type="time" time="800" interval="20">
                <Label id="label" x="-75" y="0" width="150" height="24"/>
            </LabelTicker>
        </Vector>
    </SceneGame>
</Node>
<Node id="dialogs">
    <Dialog id="DIALOG_PAUSE"/>
    <DialogYesNo id="DIALOG_YESNO" width="300" height="100">
        <Vector id="components">
            <Label name="HEADER" x="150" y="10" anchorpoint="top" wrapstyle="autowidth"/>
            <Label name="MESSAGE" x="150" y="30" width="200" anchorpoint="top"/>
            <Button name="BUTTON_YES" x="20" y="30" width="100" height="20">
                <Vector id="children"><Label name="CAPTION_YES" x="0" y="4" width="100"/></Vector>
            </Button>
            <Button name="BUTTON_NO" x="180" y="30" width="100" height="20">
                <Vector id="children"><Label name="CAPTION_NO" x="0" y="4" width="100"/></Vector>
            </Button>
        </Vector>
    </DialogYesNo>
</Node></root>)";

// A resource that holds a picture made by the test.
class HeldImage : public ResourceObject {
public:
    explicit HeldImage(Image* image) : ResourceObject(nullptr), image_(image) { markLoaded(); }
    void load() override { markLoaded(); }
    [[nodiscard]] BaseObject* getHeldObject() const override { return image_.get(); }

private:
    RefPtr<Image> image_;
};

// The current player's tokens.
class TokenPlayer : public ScreenPlayer {
public:
    DisplayValue& getHintTokens() override { return hints; }
    DisplayValue& getShuffleTokens() override { return shuffles; }
    int getFloorReached() const override { return 0; }
    void noteBonus(int /*claimedThisLevel*/) override {}
    void noteCombo(int /*multiplier*/) override {}

    DisplayValue hints{2, 0, 9};
    DisplayValue shuffles{2, 0, 9};
};

class SceneGameHintsTest : public SceneGameTest {
protected:
    void SetUp() override {
        SceneGameTest::SetUp();
        registerGuiClasses();
        registerSceneClasses();
        registerDialogClasses();
        const std::string file = (folder.path() / "dialogs.xml").string();
        std::ofstream(file) << kDialogs;
        getDefinitionStore().addFile(file);
        getDefinitionStore().load();

        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("HINT_TIME_PENALTY") = kHintPenalty;
        settings.getInteger("HINT_CLOCK_TIME_PENALTY") = kClockPenalty;
        settings.getInteger("SUPER_HINT_DURATION") = kSuperHintMs;
        settings.getInteger("PATH_APPEAR_DELAY") = kPathDelay;
        settings.getInteger("PATH_ANIM_FADE_TIME") = 100;
        settings.getFloat("PATH_ANIM_DELAY_MUL") = 1.0F;
        RefPtr<PropertyVector> penalties(new PropertyVector("SHUFFLE_TIME_PENALTIES"));
        for (int ms : kShufflePenalties) {
            penalties->add(new PropertyValue("", ms));
        }
        settings.getVector("SHUFFLE_TIME_PENALTIES") = penalties;
        RefPtr<GameConstants> constants(new GameConstants());
        constants->apply();
        setScreenPlayer(&player);

        // Every picture the hints draw, 8 x 8, known by its name.
        auto* section = new ResourceSection("game");
        std::vector<std::string> names{"GLOW_BUTTON_SHUFFLE", "IMAGE_BONUSSUPERHINT_OVERLAY"};
        for (const char* piece : {"CAP_0", "CAP_1", "CAP_2", "CAP_3", "CORNER_0", "CORNER_1",
                                  "CORNER_2", "CORNER_3", "PATH_H", "PATH_V"}) {
            names.emplace_back(piece);
            names.push_back(std::string("RED_") + piece);
        }
        for (const std::string& name : names) {
            RefPtr<Image> image = createImage(8, 8, kFormatArgb32);
            pictureNames[image.get()] = name;
            section->addObject(name, new HeldImage(image.get()));
        }
        // The buttons' four frames of 80 x 30.
        section->addObject("BUTTON", new HeldImage(createImage(80, 120, kFormatArgb32).get()));
        ResourceManager::create()->addSection(section);
    }
    void TearDown() override {
        scene = nullptr;
        setScreenPlayer(nullptr);
        ResourceManager::destroyInstance();
        SceneGameTest::TearDown();
    }

    // The names of the pictures drawn in `node`'s children that stay.
    std::vector<std::string> picturesIn(const GameNode* node) {
        std::vector<std::string> names;
        for (GameNode* child = node != nullptr ? node->getFirstChild() : nullptr; child != nullptr;
             child = child->getNextSibling()) {
            auto* sprite = kindCast<Sprite>(child);
            if (sprite != nullptr && !child->hasRemovalMark()) {
                names.push_back(pictureNames[sprite->getImage()]);
            }
        }
        return names;
    }
    std::vector<std::string> pathPictures() { return picturesIn(scene->getPathLayer()); }
    bool heard(const std::string& sound) const {
        const auto& log = scene->getSoundLog();
        return std::find(log.begin(), log.end(), sound) != log.end();
    }
    static std::vector<const Tile*> tilesOf(const TileList& list) {
        std::vector<const Tile*> tiles;
        for (const RefPtr<Tile>& tile : list) {
            tiles.push_back(tile.get());
        }
        return tiles;
    }
    // Gives every tile of the board its own face: no match is left.
    static void makeStuck(Game& game) {
        int face = 0;
        game.getLayout()->forEachTile([&face](Tile& tile) { tile.setFace(0, face++); });
    }
    Game& enterAt(Place where, const std::string& attributes = R"(playTime="1000")") {
        return enter(attributes, [where](Level& level) { level.setPlace(where); });
    }

    TempDir folder;
    TokenPlayer player;
    std::map<const Image*, std::string> pictureNames;
};

// ---- the buttons -----------------------------------------------------------------------

TEST_F(SceneGameHintsTest, TheScreensButtonsAnswerTheMouse) {
    struct Case {
        const char* button;
        Place place;
        std::function<bool(Game&)> done;
    };
    const std::vector<Case> cases{
        {"BUTTON_HINT_UNLIMITED", Place::Casino,
         [](Game& game) {
             return game.getHintTiles().size() == 2;
         }},
        {"BUTTON_SHUFFLE", Place::Casino,
         [this](Game& /*game*/) {
             return scene->getState() != nullptr &&
                    scene->getState()->isKindOf(StateShuffle::classRecord);
         }},
        {"BUTTON_UNDO", Place::RecRoom,
         [](Game& game) {
             return game.getLayout()->getTileCount() == 8;
         }},
        {"BUTTON_PAUSE", Place::Casino,
         [this](Game& /*game*/) {
             frame(16);
             return scene->isDialogOpen("DIALOG_PAUSE");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        ASSERT_TRUE(playHintedPair(game));
        auto* button = kindCast<Button>(scene->findComponent(c.button));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        const int x = button->getAbsoluteX() + 10;
        const int y = button->getAbsoluteY() + 10;
        static_cast<void>(scene->getListenerContainer().onLeftButtonDown(x, y, 0, false));
        static_cast<void>(scene->getListenerContainer().onLeftButtonUp(x, y, 0));
        EXPECT_TRUE(c.done(game));
        scene = nullptr;
    }
}

// ---- hints ---------------------------------------------------------------------------

TEST_F(SceneGameHintsTest, AHintMarksItsPairAndIsPaidByPlace) {
    struct Case {
        Place place;
        int tokensAfter;
        int clockAdded;
        int timeTaken;
    };
    for (const Case& c : {Case{Place::Hallway, 1, 0, 0}, Case{Place::RecRoom, 1, kClockPenalty, 0},
                          Case{Place::Casino, 1, 0, kHintPenalty}}) {
        SCOPED_TRACE(static_cast<int>(c.place));
        GridDisplay::resetCounts();
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        player.hints.reset(2);
        const int clock = game.getCounters().clockTime;
        const int time = scene->getTimeBar()->getTime().getValue();

        scene->hint();
        const TileList& hints = game.getHintTiles();
        ASSERT_EQ(hints.size(), 2U);
        EXPECT_TRUE(game.tilesMatch(hints[0].get(), hints[1].get()));
        EXPECT_EQ(tilesOf(game.getSelection()), tilesOf(hints));
        EXPECT_EQ(GridDisplay::hintPulsed, tilesOf(hints)) << "both tiles pulse";
        EXPECT_TRUE(heard("SOUND_USE_HINT"));
        EXPECT_EQ(game.getCounters().hintCount, 1);
        EXPECT_EQ(player.hints.getValue(), c.tokensAfter);
        EXPECT_EQ(player.hints.getShown(), c.tokensAfter);
        EXPECT_EQ(game.getCounters().clockTime - clock, c.clockAdded);
        EXPECT_EQ(time - scene->getTimeBar()->getTime().getValue(), c.timeTaken);
        EXPECT_TRUE(pathPictures().empty()) << "only River draws the path";

        // While the hint is shown the button does nothing.
        scene->hint();
        EXPECT_EQ(game.getCounters().hintCount, 1);
        EXPECT_EQ(player.hints.getValue(), c.tokensAfter);
        scene = nullptr;
    }
}

TEST_F(SceneGameHintsTest, AHintIsRefusedWithoutItsPriceOrAFreePair) {
    struct Case {
        const char* name;
        Place place;
        int tokens;
        int timeLeft;
        bool stuck;
        bool shown;
    };
    for (const Case& c : {Case{"no token", Place::Hallway, 0, 8000, false, false},
                          Case{"too little time", Place::Casino, 2, kHintPenalty - 1, false, false},
                          Case{"just enough time", Place::Casino, 2, kHintPenalty, false, true},
                          Case{"no free pair", Place::Casino, 2, 8000, true, false}}) {
        SCOPED_TRACE(c.name);
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        player.hints.reset(c.tokens);
        scene->getTimeBar()->getTime().reset(c.timeLeft);
        if (c.stuck) {
            makeStuck(game);
        }
        scene->hint();
        EXPECT_EQ(!game.getHintTiles().empty(), c.shown);
        EXPECT_EQ(heard("SOUND_USE_HINT"), c.shown);
        EXPECT_EQ(player.hints.getValue(), c.shown ? c.tokens - 1 : c.tokens);
        EXPECT_EQ(scene->getTimeBar()->getTime().getValue(),
                  c.shown ? c.timeLeft - kHintPenalty : c.timeLeft);
        scene = nullptr;
    }
}

TEST_F(SceneGameHintsTest, RiverDrawsTheHintsPathAndARedPreviewForANonMatch) {
    // Two rows of three on one layer: every tile is free and every pair of
    // them can be joined around the others.
    Game& game = enterBoard(GameType::River,
                            {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {0, 4, 0}, {4, 4, 0}, {8, 4, 0}},
                            Place::Casino);
    stepUntilPlaying();
    scene->hint();
    ASSERT_EQ(game.getHintTiles().size(), 2U);
    EXPECT_FALSE(scene->getPathSegments().empty());
    std::vector<std::string> pieces = pathPictures();
    ASSERT_GE(pieces.size(), 2U);
    EXPECT_EQ(pieces.front().rfind("CAP_", 0), 0U) << pieces.front();
    EXPECT_TRUE(std::none_of(pieces.begin(), pieces.end(),
                             [](const std::string& p) { return p.rfind("RED_", 0) == 0; }));
    // The pieces fade in, none visible at first.
    const auto* first = kindCast<Sprite>(scene->getPathLayer()->getFirstChild());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getAlpha(), 0);

    // Select a tile and rest the pointer on one it does not match: the red
    // preview waits for its delay.
    Tile* selected = game.getHintTiles()[0].get();
    EXPECT_TRUE(scene->onRightButtonDown(0, 0, 0, false));
    EXPECT_EQ(game.getHintTiles().size(), 2U) << "a right click keeps the hint";
    click(*selected);
    ASSERT_TRUE(game.getHintTiles().empty()) << "a new selection ends the hint";
    EXPECT_TRUE(pathPictures().empty());
    Tile* other = nullptr;
    Tile* partner = nullptr;
    game.getLayout()->forEachTile([&](Tile& tile) {
        if (&tile != selected) {
            (game.tilesMatch(selected, &tile) ? partner : other) = &tile;
        }
    });
    ASSERT_NE(other, nullptr);
    ASSERT_NE(partner, nullptr);
    const auto [ox, oy] = pointOf(*other);
    scene->onMouseMove(ox, oy, 0);
    frame(kPathDelay - 50);
    EXPECT_TRUE(pathPictures().empty());
    frame(50);
    pieces = pathPictures();
    ASSERT_FALSE(pieces.empty());
    EXPECT_TRUE(std::all_of(pieces.begin(), pieces.end(),
                            [](const std::string& p) { return p.rfind("RED_", 0) == 0; }));

    // Over its partner the path is drawn at once, in gold.
    const auto [px, py] = pointOf(*partner);
    scene->onMouseMove(px, py, 0);
    EXPECT_TRUE(pathPictures().empty()) << "moving to another tile wipes the drawing";
    frame(16);
    pieces = pathPictures();
    ASSERT_FALSE(pieces.empty());
    EXPECT_TRUE(std::none_of(pieces.begin(), pieces.end(),
                             [](const std::string& p) { return p.rfind("RED_", 0) == 0; }));
}

// ---- super hint ------------------------------------------------------------------------

TEST_F(SceneGameHintsTest, ASuperHintMarksEveryCandidateAndEndsOnTime) {
    Game& game = enterAt(Place::Casino);
    stepUntilPlaying();
    RefPtr<Sprite> icon(new Sprite(300, 20, 40, 40));
    GameTree::appendChild(icon.get(), scene->getComponentRoot());
    scene->startSuperHint(icon.get());

    EXPECT_EQ(scene->getSuperHintOverlay(), icon.get());
    EXPECT_TRUE(heard("SOUND_SUPERHINT"));
    TileList candidates;
    game.collectCandidates(candidates);
    EXPECT_EQ(candidates.size(), 8U);
    EXPECT_EQ(tilesOf(game.getHintTiles()), tilesOf(candidates));
    EXPECT_EQ(GridDisplay::superHinted, tilesOf(candidates));
    auto* countdown = kindCast<Sprite>(icon->getFirstChild());
    ASSERT_NE(countdown, nullptr);
    EXPECT_EQ(pictureNames[countdown->getImage()], "IMAGE_BONUSSUPERHINT_OVERLAY");
    ASSERT_TRUE(countdown->getClipRect().has_value());
    EXPECT_EQ(countdown->getClipRect()->width, 0);

    scene->hint(); // the hint button rests while the super hint runs
    EXPECT_FALSE(heard("SOUND_USE_HINT"));

    // A match during it marks the candidates afresh.
    ASSERT_TRUE(playHintedPair(game));
    EXPECT_EQ(game.getHintTiles().size(), 6U);

    frame(kSuperHintMs / 2);
    EXPECT_TRUE(scene->isSuperHintRunning());
    EXPECT_EQ(countdown->getClipRect()->width, 4) << "half of the picture is revealed";
    EXPECT_TRUE(std::any_of(
        icon->getOwnModifiers().begin(), icon->getOwnModifiers().end(),
        [](const RefPtr<Modifier>& m) { return m->isKindOf(ModifierBlink::classRecord); }))
        << "the end draws near: the overlay blinks";
    frame(kSuperHintMs / 2 - 1);
    EXPECT_TRUE(scene->isSuperHintRunning());
    frame(1);
    EXPECT_FALSE(scene->isSuperHintRunning());
    EXPECT_TRUE(game.getHintTiles().empty());
    EXPECT_EQ(scene->getSuperHintOverlay(), nullptr);
    EXPECT_FALSE(icon->hasRemovalMark());
    frame(500); // it slides out to the right and goes
    EXPECT_EQ(icon->getX(), 1100);
    EXPECT_TRUE(icon->hasRemovalMark());
}

TEST_F(SceneGameHintsTest, ASuperHintWithoutADurationEndsAtOnce) {
    BasicProperties::get()->getInteger("SUPER_HINT_DURATION") = 0;
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
    Game& game = enterAt(Place::Casino);
    stepUntilPlaying();
    RefPtr<Sprite> icon(new Sprite(300, 20, 40, 40));
    GameTree::appendChild(icon.get(), scene->getComponentRoot());
    scene->startSuperHint(icon.get());
    EXPECT_FALSE(scene->isSuperHintRunning());
    EXPECT_TRUE(game.getHintTiles().empty());
    EXPECT_EQ(scene->getSuperHintOverlay(), nullptr);
    frame(16);
}

// ---- shuffle -----------------------------------------------------------------------------

TEST_F(SceneGameHintsTest, AShuffleRedealsAClearableBoardAtItsPrice) {
    struct Case {
        Place place;
        int timeTaken;
    };
    for (const Case& c : {Case{Place::Hallway, 0}, Case{Place::Casino, kShufflePenalty}}) {
        SCOPED_TRACE(static_cast<int>(c.place));
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        player.shuffles.reset(2);
        ASSERT_TRUE(playHintedPair(game));
        ASSERT_EQ(game.getUndoList().size(), 1U);
        const int time = scene->getTimeBar()->getTime().getValue();

        scene->shuffle();
        ASSERT_NE(scene->getState(), nullptr);
        EXPECT_TRUE(scene->getState()->isKindOf(StateShuffle::classRecord));
        EXPECT_TRUE(game.getUndoList().empty()) << "no undo reaches past a shuffle";
        EXPECT_EQ(player.shuffles.getValue(), 1);
        EXPECT_EQ(game.getCounters().shuffleCount, 1);
        EXPECT_TRUE(game.getCounters().pressedShuffle);
        EXPECT_EQ(time - scene->getTimeBar()->getTime().getValue(), c.timeTaken);
        scene->undoMove(); // nothing to take back
        EXPECT_EQ(game.getLayout()->getTileCount(), 6);

        stepUntilPlaying();
        EXPECT_EQ(game.getLayout()->getTileCount(), 6);
        while (game.getLayout()->getTileCount() > 0) {
            ASSERT_TRUE(playHintedPair(game));
        }
        EXPECT_TRUE(game.getCounters().hasWon);
        scene = nullptr;
    }
}

TEST_F(SceneGameHintsTest, EachGameTypeShufflesAtItsOwnPriceInTheCasino) {
    for (int type = 0; type < 6; ++type) {
        SCOPED_TRACE(type);
        const auto gameType = static_cast<GameType>(type);
        // The racks' types deal on a board with a side board.
        const bool rack = gameType == GameType::FreeCell || gameType == GameType::Split ||
                          gameType == GameType::Speed;
        RefPtr<Layout> board = Layout::loadFile(
            fixturePath(rack ? "media/levels/sideboard.xml" : "media/levels/small.xml"), gameType,
            rack ? 0 : -1);
        ASSERT_NE(board, nullptr);
        Game* game = Game::create(gameType);
        ASSERT_NE(game, nullptr);
        RefPtr<Level> level = makeLevel(board.get(), gameType, R"(playTime="100000")");
        level->setPlace(Place::Casino);
        ASSERT_TRUE(game->setLevel(level.get()));
        openScene();
        stepUntilPlaying();
        player.shuffles.reset(2);
        const int time = scene->getTimeBar()->getTime().getValue();
        scene->shuffle();
        ASSERT_NE(scene->getState(), nullptr);
        EXPECT_TRUE(scene->getState()->isKindOf(StateShuffle::classRecord));
        EXPECT_EQ(time - scene->getTimeBar()->getTime().getValue(),
                  kShufflePenalties.at(static_cast<std::size_t>(type)));
        scene = nullptr;
        Game::destroyCurrent();
    }
}

TEST_F(SceneGameHintsTest, AShuffleIsRefusedWithoutItsPrice) {
    struct Case {
        const char* name;
        Place place;
        int tokens;
        int timeLeft;
        bool starts;
    };
    for (const Case& c :
         {Case{"no token", Place::Hallway, 0, 8000, false},
          Case{"too little time", Place::Casino, 0, kShufflePenalty - 1, false},
          Case{"just enough time, no token needed", Place::Casino, 0, kShufflePenalty, true}}) {
        SCOPED_TRACE(c.name);
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        player.shuffles.reset(c.tokens);
        scene->getTimeBar()->getTime().reset(c.timeLeft);
        scene->shuffle();
        EXPECT_EQ(scene->getState() != nullptr, c.starts);
        EXPECT_EQ(game.getCounters().shuffleCount, c.starts ? 1 : 0);
        scene = nullptr;
    }
}

// ---- the stuck board -------------------------------------------------------------------

TEST_F(SceneGameHintsTest, AStuckBoardOffersItsWayOutByPlace) {
    struct Case {
        Place place;
        int shuffleTokens;
        const char* dialog; // null: the shuffle button glows
        const char* second;
        bool secondEnabled;
    };
    for (const Case& c :
         {Case{Place::Hallway, 2, "TEXT_STUCK_QUENBY", "STUCK_BUTTON_SHUFFLE", true},
          Case{Place::Hallway, 0, "TEXT_STUCK_QUENBY", "STUCK_BUTTON_SHUFFLE", false},
          Case{Place::RecRoom, 0, "TEXT_STUCK_RECROOM", "STUCK_BUTTON_UNDO", true},
          Case{Place::Casino, 2, nullptr, nullptr, false},
          Case{Place::Roof, 2, nullptr, nullptr, false}}) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.place)) + " " +
                     std::to_string(c.shuffleTokens));
        BasicProperties::get()->getTextEntry("STUCK_BUTTON_RESTART") = L"Restart";
        BasicProperties::get()->getTextEntry("STUCK_BUTTON_SHUFFLE") = L"Shuffle";
        BasicProperties::get()->getTextEntry("STUCK_BUTTON_UNDO") = L"Undo";
        BasicProperties::get()->getTextEntry("TEXT_MATCHES_ZERO") = L"No matches";
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        player.shuffles.reset(c.shuffleTokens);
        makeStuck(game);
        scene->updateMatchesLabel();
        EXPECT_EQ(game.getCounters().numZeroMatches, 1);
        EXPECT_EQ(kindCast<Label>(scene->findComponent("LABEL_MATCHES_TEXT"))->getText(),
                  L"No matches");

        if (c.dialog == nullptr) {
            EXPECT_EQ(scene->findDialog("TEXT_STUCK_QUENBY"), nullptr);
            EXPECT_EQ(scene->findDialog("TEXT_STUCK_RECROOM"), nullptr);
            Sprite* glow = scene->getShuffleGlow();
            ASSERT_NE(glow, nullptr);
            EXPECT_EQ(glow->getParent(), scene->findComponent("BUTTON_SHUFFLE"));
            EXPECT_EQ(pictureNames[glow->getImage()], "GLOW_BUTTON_SHUFFLE");
            frame(16);
            frame(100);
            EXPECT_GT(glow->getAlpha(), 0) << "it fades up";
            scene->shuffle(); // the shuffle puts the glow out
            EXPECT_EQ(scene->getShuffleGlow(), nullptr);
            scene = nullptr;
            continue;
        }
        auto* question = kindCast<DialogYesNo>(scene->findDialog(c.dialog));
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(scene->isDialogOpen(c.dialog));
        const auto captionOf = [](Button* button) {
            auto* caption = kindCast<Label>(button->getFirstChild());
            return caption != nullptr ? caption->getText() : std::wstring();
        };
        EXPECT_EQ(captionOf(question->getYesButton()), L"Restart");
        EXPECT_EQ(captionOf(question->getNoButton()),
                  BasicProperties::get()->getTextEntry(c.second));
        EXPECT_EQ(question->getNoButton()->isEnabled(), c.secondEnabled);
        scene = nullptr;
    }
}

TEST_F(SceneGameHintsTest, AReDealWithoutAMatchAsksOnceWithoutASecondShuffle) {
    Game& game = enterAt(Place::Hallway);
    stepUntilPlaying();
    player.shuffles.reset(2);
    scene->shuffle();
    ASSERT_NE(game.getShuffledLayout(), nullptr);
    // The re-deal waiting to be swapped in holds no match.
    int face = 0;
    game.getShuffledLayout()->forEachTile([&face](Tile& tile) { tile.setFace(0, face++); });
    stepUntilPlaying();
    EXPECT_EQ(game.getCounters().numZeroMatches, 1) << "the stuck test ran once";
    auto* question = kindCast<DialogYesNo>(scene->findDialog("TEXT_STUCK_QUENBY"));
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(scene->isDialogOpen("TEXT_STUCK_QUENBY"));
    EXPECT_TRUE(question->getYesButton()->isEnabled());
    EXPECT_FALSE(question->getNoButton()->isEnabled()) << "another shuffle could not help";
}

TEST_F(SceneGameHintsTest, TheStuckQuestionsAnswerRunsOnceItHasClosed) {
    struct Case {
        const char* name;
        Place place;
        bool yes;
        const char* action;
    };
    for (const Case& c :
         {Case{"restart", Place::Hallway, true, "0"}, Case{"shuffle", Place::Hallway, false, "1"},
          Case{"undo", Place::RecRoom, false, "2"}}) {
        SCOPED_TRACE(c.name);
        services.usage = true;
        services.records.clear();
        Game& game = enterAt(c.place);
        stepUntilPlaying();
        player.shuffles.reset(2);
        ASSERT_TRUE(playHintedPair(game));
        makeStuck(game);
        scene->updateMatchesLabel();
        const char* key = c.place == Place::Hallway ? "TEXT_STUCK_QUENBY" : "TEXT_STUCK_RECROOM";
        auto* question = kindCast<DialogYesNo>(scene->findDialog(key));
        ASSERT_NE(question, nullptr);
        Button* answer = c.yes ? question->getYesButton() : question->getNoButton();
        answer->call(answer);
        ASSERT_FALSE(services.records.empty());
        EXPECT_EQ(services.records.back()->getValue("stuckAction")->getString(), c.action);
        EXPECT_EQ(game.getLayout()->getTileCount(), 6) << "nothing happens before it has closed";
        for (int i = 0; i < 20 && scene->isDialogOpen(key); ++i) {
            frame(50);
        }
        EXPECT_FALSE(scene->isDialogOpen(key));
        if (c.action[0] == '0') {
            EXPECT_EQ(game.getCounters().stuckRestarts, 1);
            stepUntilPlaying();
            EXPECT_EQ(game.getLayout()->getTileCount(), 8);
        } else if (c.action[0] == '1') {
            ASSERT_NE(scene->getState(), nullptr);
            EXPECT_TRUE(scene->getState()->isKindOf(StateShuffle::classRecord));
        } else {
            EXPECT_EQ(game.getLayout()->getTileCount(), 8) << "the last match is back";
        }
        scene = nullptr;
    }
}

// ---- undo ----------------------------------------------------------------------------------

TEST_F(SceneGameHintsTest, TheUndoButtonRestoresTheBoardAndTheScoreOnScreen) {
    Game& game = enter();
    stepUntilPlaying();
    ASSERT_TRUE(playHintedPair(game));
    ASSERT_TRUE(playHintedPair(game));
    const int scored = game.getScore().getShown();
    ASSERT_GT(scored, 0);
    auto* ticker = kindCast<LabelTicker>(scene->findComponent("SCORE_TICKER"));
    ASSERT_NE(ticker, nullptr);
    EXPECT_EQ(ticker->getCounter().getTargetValue(), scored);

    // Through the button, as the player presses it.
    auto* undo = kindCast<Button>(scene->findComponent("BUTTON_UNDO"));
    ASSERT_NE(undo, nullptr);
    undo->call(undo);
    EXPECT_EQ(game.getLayout()->getTileCount(), 6);
    const int afterOne = game.getScore().getShown();
    EXPECT_LT(afterOne, scored);
    EXPECT_EQ(ticker->getCounter().getTargetValue(), afterOne);
    undo->call(undo);
    EXPECT_EQ(game.getLayout()->getTileCount(), 8);
    EXPECT_EQ(game.getScore().getShown(), 0);
    EXPECT_EQ(ticker->getCounter().getTargetValue(), 0);

    // Not while a dialog holds the board.
    ASSERT_TRUE(playHintedPair(game));
    RefPtr<Dialog> dialog(new Dialog(nullptr));
    scene->dialogOpened(dialog.get());
    scene->undoMove();
    EXPECT_EQ(game.getLayout()->getTileCount(), 6);
    scene->dialogClosed(dialog.get());
    scene->undoMove();
    EXPECT_EQ(game.getLayout()->getTileCount(), 8);
}

} // namespace
} // namespace orv::test
