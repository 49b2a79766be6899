#include "game/dialogs/DialogHint.h"

#include "engine/gui/Button.h"
#include "engine/scene/Label.h"
#include "game/board/GameFreeCell.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogHintPainter.h"
#include "game/dialogs/HintScreenHook.h"
#include "tests/board/GameFixture.h"
#include "tests/dialogs/DialogFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orv::test {
namespace {

// A parameterised case is named by its own name.
template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// A 200 x 100 bubble without pictures; hints 15 and 22 have two pages.
constexpr const char* kHintDefinitions = R"(<root>
<Text id="P1" value="first"/>
<Text id="P2" value="second"/>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
  <DialogHint id="DIALOG_HINT" width="200" height="100" TUT_MIDDLE_HEIGHT="40"
              TUT_BUTTON_Y_OFFSET="30">
    <DialogHintPainter id="painter"/>
    <Vector id="components">
      <Label name="LABEL_TEXT" x="10" y="20" width="180" wrapstyle="wordwrap"/>
      <Label name="LABEL_TEXT2" x="10" y="20" width="180" wrapstyle="wordwrap"/>
      <Button name="BUTTON_OK" x="50" y="70" width="100" height="20"/>
    </Vector>
    <Vector id="descs">
      <Vector><Page textid="P1"/><Page textid="P2"/></Vector>
      <Vector><Page textid="P1"/></Vector><Vector><Page textid="P1"/></Vector>
      <Vector><Page textid="P1"/></Vector><Vector><Page textid="P1"/></Vector>
      <Vector><Page textid="P1"/></Vector><Vector><Page textid="P1"/></Vector>
      <Vector><Page textid="P1"/><Page textid="P2"/></Vector>
    </Vector>
  </DialogHint>
</Node>
</root>)";

constexpr int kEnterMs = 500;

// The playing screen as the hints see it: bars and waits as a test sets
// them, tiles 20 x 25 pixels a cell, and what it is asked to mark.
class FakeHintScreen : public HintScreenHook {
public:
    std::optional<HintBonusBarFacts> getBonusBar() override { return bonus; }
    std::optional<HintTimeBarFacts> getTimeBar() override { return time; }
    bool isSuperHintRunning() override { return superHint; }
    int getMsSinceLastClick() override { return sinceClick; }
    std::optional<Rect> getTileRect(const Tile& tile) override {
        return Rect{100 + tile.getPos().x * 20, 100 + tile.getPos().y * 25, 40, 50};
    }
    void clearSelection() override {
        ++cleared;
        if (Game* game = Game::getCurrent()) {
            game->clearSelection();
        }
    }
    void markHintTile(Tile* tile) override { marked.push_back(tile); }
    void showHintPair(const TileList& tiles) override { pairs.push_back(tiles); }

    std::optional<HintBonusBarFacts> bonus;
    std::optional<HintTimeBarFacts> time;
    bool superHint = false;
    int sinceClick = 0;
    int cleared = 0;
    std::vector<Tile*> marked;
    std::vector<TileList> pairs;
};

struct Face {
    TilePos pos;
    int suit = 0;
    int idx = 0;
    bool inCell = false; ///< on the side board, at slot (pos.x, pos.y)
};

class DialogHintTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        registerGuiClasses();
        registerDialogClasses();
        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("DIALOG_FADE_TIME") = 100;
        settings.getInteger("HINT_ENTER_FROM_OPEN") = kEnterMs;
        settings.getInteger("HINT_CLICK_TIME_SEASONFLOWERS") = 25;
        settings.getInteger("HINT_CLICK_TIME_RIVER") = 20;
        GameConstants().apply();
        playedSounds().clear();
        setDialogSoundObserver([](std::string_view /*section*/, std::string_view name) {
            playedSounds().emplace_back(name);
        });
        player_.showHints = true;
        setPlayerHook(&player_);
        setPlayingScreenHook(&screen_);
        setHintScreenHook(&hints_);
        for (int hint = DialogHint::kFirstHint; hint <= DialogHint::kLastHint; ++hint) {
            services.pendingHints.insert(hint);
        }
        const std::string path = dir_.file("hints.xml");
        std::ofstream(path) << kHintDefinitions;
        getDefinitionStore().addFile(path);
        getDefinitionStore().load();
        SceneManager* scenes = SceneManager::create();
        scene_ = scenes->addScene("SCENE_TEST");
        scenes->setNextScene(scene_);
        scenes->run(0);
        screen_.scene = scene_;
    }
    void TearDown() override {
        DialogHint::releaseCurrent();
        setHintScreenHook(nullptr);
        setPlayingScreenHook(nullptr);
        setPlayerHook(nullptr);
        setDialogSoundObserver(nullptr);
        SceneManager::destroyInstance();
        destroyDefinitionStore();
        GameTest::TearDown();
        ObjectFactoryContainer::destroyInstance();
    }

    // A current game of `type` on a board of the given faces, as it lies;
    // tiles in cells go to a side board of `cells` slots in one row.
    Game& play(GameType type, const std::vector<Face>& faces, int cells = 0,
               Place place = Place::Hallway) {
        RefPtr<Layout> layout(new Layout());
        RefPtr<SideBoard> rack;
        if (cells > 0) {
            rack = RefPtr<SideBoard>(new SideBoard(nullptr));
            rack->setDimensions(cells, 1);
            layout->setSideBoard(rack.get());
        }
        for (const Face& face : faces) {
            RefPtr<Tile> tile = makeTile(face.pos, face.suit, face.idx);
            if (face.inCell) {
                tile->setSideboard(true);
                EXPECT_TRUE(rack->putTile(tile.get(), face.pos.x, face.pos.y));
            } else {
                EXPECT_TRUE(layout->setTileAt(tile.get(), face.pos));
            }
        }
        layout->setOriginalTileCount(layout->getTileCount());
        Game* game = Game::create(type);
        EXPECT_NE(game, nullptr);
        RefPtr<Level> level = makeLevel(layout.get(), type);
        level->setPlace(place);
        EXPECT_TRUE(game->setDealtLevel(level.get()));
        return *game;
    }
    // The tile at `pos` of the current board, or the one in cell (x, y).
    static Tile* tile(TilePos pos, bool inCell = false) {
        const Layout& board = *Game::getCurrent()->getLayout();
        return inCell ? board.getSideBoard()->getTileAt(pos.x, pos.y) : tileAt(board, pos);
    }
    // The hint the open bubble shows, or -1.
    static int shownHint() {
        const DialogHint* open = DialogHint::getOpenHint();
        return open != nullptr ? open->getHint() : -1;
    }
    static DialogHint* bubble() { return DialogHint::getOpenHint(); }
    void closeBubble() {
        DialogOrvanta::close(bubble());
        SceneManager::getInstance()->run(200);
        SceneManager::getInstance()->run(0);
    }
    static int soundCount(std::string_view name) {
        return static_cast<int>(
            std::count(playedSounds().begin(), playedSounds().end(), std::string(name)));
    }

    TempDir dir_;
    FakeScreen screen_;
    FakePlayer player_;
    FakeHintScreen hints_;
    Scene* scene_ = nullptr;
};

// ---- the board hints ----------------------------------------------------------------------

struct BoardCase {
    const char* name;
    GameType type;
    std::vector<Face> faces;
    std::optional<HintBonusBarFacts> bonus;
    std::optional<HintTimeBarFacts> time;
    int sinceClickMs;
    int expected; ///< the hint shown, or -1
};

const Rect kBar{700, 100, 30, 200};

// Two tiles apart from each other (each free), of the given faces.
std::vector<Face> apart(int suitA, int idxA, int suitB, int idxB) {
    return {{{0, 0, 0}, suitA, idxA}, {{6, 0, 0}, suitB, idxB}, {{12, 0, 0}, 0, 8}};
}

const std::vector<BoardCase> kBoardCases = {
    {"Multiplier", GameType::Classic, apart(0, 1, 0, 2), HintBonusBarFacts{3, 0.0F, kBar},
     std::nullopt, 0, 15},
    {"MultiplierBeforeHalfBar", GameType::Classic, apart(0, 1, 0, 2),
     HintBonusBarFacts{4, 0.7F, kBar}, std::nullopt, 0, 15},
    {"LowMultiplierNothing", GameType::Classic, apart(0, 1, 0, 2), HintBonusBarFacts{2, 0.2F, kBar},
     std::nullopt, 0, -1},
    {"HalfBar", GameType::Classic, apart(0, 1, 0, 2), HintBonusBarFacts{1, 0.5F, kBar},
     std::nullopt, 0, 17},
    {"TimeBelowQuarter", GameType::Classic, apart(0, 1, 0, 2), std::nullopt,
     HintTimeBarFacts{24999, 100000, kBar}, 0, 16},
    {"TimeAtQuarterNothing", GameType::Classic, apart(0, 1, 0, 2), std::nullopt,
     HintTimeBarFacts{25000, 100000, kBar}, 0, -1},
    {"FlowersAfterTheWait", GameType::Classic, apart(5, 0, 5, 3), std::nullopt, std::nullopt, 25001,
     18},
    {"FlowersBeforeTheWaitNothing", GameType::Classic, apart(5, 0, 5, 3), std::nullopt,
     std::nullopt, 25000, -1},
    {"OneFlowerNothing", GameType::Classic, apart(5, 0, 0, 3), std::nullopt, std::nullopt, 30000,
     -1},
    {"Seasons", GameType::Classic, apart(6, 1, 6, 2), std::nullopt, std::nullopt, 30000, 19},
    {"TwoFlowersTooFewForTriple", GameType::Triple, apart(5, 0, 5, 1), std::nullopt, std::nullopt,
     30000, -1},
    {"RiverPairAfterTheWait", GameType::River, apart(2, 4, 2, 4), std::nullopt, std::nullopt, 20001,
     27},
    {"RiverPairBeforeTheWaitNothing", GameType::River, apart(2, 4, 2, 4), std::nullopt,
     std::nullopt, 20000, -1},
};

class BoardHints : public DialogHintTest, public testing::WithParamInterface<BoardCase> {};

TEST_P(BoardHints, ShowTheHintTheBoardCallsFor) {
    const BoardCase& c = GetParam();
    play(c.type, c.faces);
    hints_.bonus = c.bonus;
    hints_.time = c.time;
    hints_.sinceClick = c.sinceClickMs;
    EXPECT_EQ(DialogHint::tryBoardHints(), c.expected != -1);
    EXPECT_EQ(shownHint(), c.expected);
    for (int hint = DialogHint::kFirstHint; hint <= DialogHint::kLastHint; ++hint) {
        EXPECT_EQ(services.pendingHints.count(hint) == 0, hint == c.expected) << hint;
    }
}

INSTANTIATE_TEST_SUITE_P(DialogHint, BoardHints, testing::ValuesIn(kBoardCases),
                         caseName<BoardCase>);

TEST_F(DialogHintTest, EachHintShowsOnceAndMarksWhatItExplains) {
    play(GameType::Classic, apart(5, 0, 5, 3));
    hints_.sinceClick = 30000;
    ASSERT_TRUE(DialogHint::tryBoardHints());
    EXPECT_EQ(shownHint(), 18);
    EXPECT_EQ(hints_.cleared, 1) << "the selection goes first";
    ASSERT_EQ(hints_.pairs.size(), 1U);
    EXPECT_EQ(hints_.pairs[0].size(), 2U);
    EXPECT_EQ(bubble()->getTilePictures().size(), 0U) << "no tile pictures without resources";
    closeBubble();
    EXPECT_EQ(DialogHint::getOpenHint(), nullptr);

    EXPECT_FALSE(DialogHint::tryBoardHints()) << "the flower hint was shown once";
    EXPECT_EQ(shownHint(), -1);
}

TEST_F(DialogHintTest, NothingWithTheHintsSwitchOffOrDuringTheSuperHint) {
    play(GameType::Classic, apart(5, 0, 5, 3));
    hints_.bonus = HintBonusBarFacts{5, 1.0F, kBar};
    hints_.sinceClick = 30000;
    hints_.superHint = true;
    EXPECT_FALSE(DialogHint::tryBoardHints());
    hints_.superHint = false;
    player_.showHints = false;
    EXPECT_FALSE(DialogHint::tryBoardHints());
    EXPECT_FALSE(DialogHint::showHint(std::nullopt, 15, false, nullptr));
    EXPECT_EQ(services.pendingHints.size(), 14U) << "no flag changes";
    EXPECT_EQ(shownHint(), -1);

    EXPECT_TRUE(DialogHint::showHint(std::nullopt, 16, true, nullptr)) << "a forced hint shows";
    EXPECT_EQ(services.pendingHints.count(16), 1U) << "and leaves its flag";
}

TEST_F(DialogHintTest, AnOpenBubbleHoldsTheGameUntilItIsHidden) {
    play(GameType::Classic, apart(0, 1, 0, 2));
    EXPECT_FALSE(DialogHint::isGameHeld());
    ASSERT_TRUE(DialogHint::showHint(std::nullopt, 16, false, nullptr));
    EXPECT_TRUE(DialogHint::isGameHeld());
    EXPECT_EQ(screen_.opened.size(), 1U) << "the screen hears of it";
    closeBubble();
    EXPECT_FALSE(DialogHint::isGameHeld());
    EXPECT_FALSE(DialogHint::isHintOpen());
}

// ---- the click and shuffle hints ------------------------------------------------------------

TEST_F(DialogHintTest, SplitTwinsPickedOnOneSide) {
    // Two board tiles of one face, a third whose twin is on show.
    Game& game = play(GameType::Split,
                      {{{0, 0, 0}, 1, 1},
                       {{6, 0, 0}, 1, 1},
                       {{12, 0, 0}, 2, 2},
                       {{0, 0, 0}, 2, 2, true},
                       {{1, 0, 0}, 3, 3, true},
                       {{2, 0, 0}, 3, 3, true}},
                      3);
    game.selectTile(tile({0, 0, 0}));
    game.setClickedTile(tile({6, 0, 0}));
    game.setPendingAction(PendingAction::NewSelection);
    ASSERT_TRUE(DialogHint::tryPlayHints());
    EXPECT_EQ(shownHint(), 20);
    ASSERT_EQ(hints_.pairs.size(), 1U);
    EXPECT_EQ(hints_.pairs[0].size(), 2U) << "the free tile and its twin";
    EXPECT_TRUE(listContains(hints_.pairs[0], tile({12, 0, 0})));
    closeBubble();

    game.clearSelection();
    game.selectTile(tile({1, 0, 0}, true));
    game.setClickedTile(tile({2, 0, 0}, true));
    ASSERT_TRUE(DialogHint::tryPlayHints());
    EXPECT_EQ(shownHint(), 21);
    EXPECT_TRUE(game.getSelection().empty());
}

struct RiverCase {
    const char* name;
    TilePos second;
    PendingAction action;
    int expected;
};

const std::vector<RiverCase> kRiverCases = {
    {"OtherLayer", {8, 4, 1}, PendingAction::NewSelection, 25},
    {"SameLayerNoPath", {8, 0, 0}, PendingAction::NewSelection, 26},
    {"NearButBlocked", {2, 2, 0}, PendingAction::Blocked, 28},
    {"NearNewSelection", {2, 0, 0}, PendingAction::NewSelection, 28},
    {"FarAndBlockedNothing", {8, 0, 0}, PendingAction::Blocked, -1},
    {"MatchNothing", {8, 0, 0}, PendingAction::Match, -1},
};

class RiverHints : public DialogHintTest, public testing::WithParamInterface<RiverCase> {};

TEST_P(RiverHints, ExplainWhyTwinsDoNotGoTogether) {
    const RiverCase& c = GetParam();
    // The second tile's layer below it is filled so that it can lie there.
    std::vector<Face> faces{{{0, 0, 0}, 3, 1}, {c.second, 3, 1}, {{20, 10, 0}, 0, 0}};
    if (c.second.z == 1) {
        faces.push_back({{c.second.x, c.second.y, 0}, 0, 5});
    }
    Game& game = play(GameType::River, faces);
    game.selectTile(tile({0, 0, 0}));
    game.setClickedTile(tile(c.second));
    game.setPendingAction(c.action);
    EXPECT_EQ(DialogHint::tryPlayHints(), c.expected != -1);
    EXPECT_EQ(shownHint(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(DialogHint, RiverHints, testing::ValuesIn(kRiverCases),
                         caseName<RiverCase>);

TEST_F(DialogHintTest, MissedFreeCellChancesCountUpToTheHint) {
    // A board pair taken while the parked tile matched the third board tile.
    Game& game =
        play(GameType::FreeCell,
             {{{0, 0, 0}, 1, 1}, {{6, 0, 0}, 1, 1}, {{12, 0, 0}, 2, 2}, {{0, 0, 0}, 2, 2, true}}, 2,
             Place::Casino);
    auto& freeCell = static_cast<GameFreeCell&>(game);
    const auto boardPair = [&game] {
        game.clearSelection();
        game.selectTile(tile({0, 0, 0}));
        game.setClickedTile(tile({6, 0, 0}));
        game.setPendingAction(PendingAction::Match);
    };
    for (int missed = 1; missed <= 3; ++missed) {
        boardPair();
        EXPECT_FALSE(DialogHint::tryPlayHints()) << missed;
        EXPECT_EQ(freeCell.getHintCounter(), missed);
    }
    boardPair();
    ASSERT_TRUE(DialogHint::tryPlayHints());
    EXPECT_EQ(shownHint(), 23);
    ASSERT_EQ(hints_.pairs.size(), 1U);
    EXPECT_TRUE(listContains(hints_.pairs[0], tile({12, 0, 0})));
    EXPECT_TRUE(listContains(hints_.pairs[0], tile({0, 0, 0}, true)));
}

TEST_F(DialogHintTest, UsingTheCellsEndsTheMissedChanceHintUnseen) {
    Game& game =
        play(GameType::FreeCell, {{{0, 0, 0}, 2, 2}, {{6, 0, 0}, 1, 1}, {{0, 0, 0}, 2, 2, true}}, 2,
             Place::Roof);
    game.selectTile(tile({0, 0, 0}, true));
    game.setClickedTile(tile({0, 0, 0}));
    game.setPendingAction(PendingAction::Match);
    EXPECT_FALSE(DialogHint::tryPlayHints());
    EXPECT_EQ(services.pendingHints.count(23), 0U);
    EXPECT_EQ(shownHint(), -1);
}

TEST_F(DialogHintTest, TheHallwayCountsNoMissedChances) {
    Game& game =
        play(GameType::FreeCell,
             {{{0, 0, 0}, 1, 1}, {{6, 0, 0}, 1, 1}, {{12, 0, 0}, 2, 2}, {{0, 0, 0}, 2, 2, true}}, 2,
             Place::Hallway);
    game.selectTile(tile({0, 0, 0}));
    game.setClickedTile(tile({6, 0, 0}));
    game.setPendingAction(PendingAction::Match);
    EXPECT_FALSE(DialogHint::tryPlayHints());
    EXPECT_EQ(static_cast<GameFreeCell&>(game).getHintCounter(), 0);
}

TEST_F(DialogHintTest, FreeCellPointsAtWhatACellWouldFree) {
    // No pair anywhere; the top tile frees the one under it.
    play(GameType::FreeCell, {{{0, 0, 0}, 1, 1}, {{0, 0, 1}, 2, 2}, {{8, 0, 0}, 3, 3}}, 2);
    ASSERT_TRUE(DialogHint::tryPlayHint());
    EXPECT_EQ(shownHint(), 22);
    ASSERT_EQ(hints_.marked.size(), 1U);
    EXPECT_EQ(hints_.marked[0], tile({0, 0, 1}));
    EXPECT_TRUE(Game::getCurrent()->isHinted(tile({0, 0, 1})));
    closeBubble();

    ASSERT_TRUE(DialogHint::tryTileHint()) << "the shuffle's own hint";
    EXPECT_EQ(shownHint(), 24);
    closeBubble();
    EXPECT_FALSE(DialogHint::tryTileHint()) << "once";
}

TEST_F(DialogHintTest, NoCellHintWhileAMatchIsOpen) {
    play(GameType::FreeCell, {{{0, 0, 0}, 1, 1}, {{0, 0, 1}, 2, 2}, {{8, 0, 0}, 2, 2}}, 2);
    EXPECT_FALSE(DialogHint::tryPlayHint());
    EXPECT_EQ(shownHint(), -1);
}

// ---- the bubble ------------------------------------------------------------------------------

struct PlaceCase {
    const char* name;
    Rect anchor;
    int corner;
    int x;
    int y;
};

// The bubble is 200 x 100; the arrow points 20 pixels inside the anchor.
const std::vector<PlaceCase> kPlaceCases = {
    {"UpperLeft", {100, 100, 40, 50}, 0, 120, 130},
    {"UpperRight", {600, 100, 40, 50}, 2, 420, 130},
    {"LowerLeft", {100, 400, 40, 50}, 6, 120, 320},
    {"LowerRight", {600, 400, 40, 50}, 8, 420, 320},
    {"MiddleCountsAsUpperLeft", {380, 280, 40, 40}, 0, 400, 300},
    {"HeldInsideOnTheRight", {0, 560, 800, 40}, 6, 600, 480},
    {"HeldInsideAtTheBottom", {100, 0, 40, 600}, 0, 120, 500},
    {"HeldInsideAtTheTopLeft", {-60, 500, 40, 90}, 6, 0, 420},
};

class HintPlacement : public DialogHintTest, public testing::WithParamInterface<PlaceCase> {};

TEST_P(HintPlacement, FacesTheMiddleWithTheArrowAtTheAnchor) {
    const PlaceCase& c = GetParam();
    play(GameType::Classic, apart(0, 1, 0, 2));
    ASSERT_TRUE(DialogHint::showHint(c.anchor, 16, false, nullptr));
    DialogHint* hint = bubble();
    EXPECT_EQ(hint->getX(), c.x);
    EXPECT_EQ(hint->getY(), c.y);
    auto* painter = kindCast<DialogHintPainter>(hint->getPainter());
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(painter->getCorner(), c.corner);
}

INSTANTIATE_TEST_SUITE_P(DialogHint, HintPlacement, testing::ValuesIn(kPlaceCases),
                         caseName<PlaceCase>);

TEST_F(DialogHintTest, WithoutAnAnchorTheBubbleIsCentredWithoutArrow) {
    play(GameType::Classic, apart(0, 1, 0, 2));
    ASSERT_TRUE(DialogHint::showHint(Rect{600, 400, 40, 50}, 16, false, nullptr));
    closeBubble();
    ASSERT_TRUE(DialogHint::showHint(std::nullopt, 17, false, nullptr));
    EXPECT_EQ(bubble()->getX(), 300);
    EXPECT_EQ(bubble()->getY(), 250);
    EXPECT_EQ(kindCast<DialogHintPainter>(bubble()->getPainter())->getCorner(),
              DialogHintPainter::kNoCorner);
}

TEST_F(DialogHintTest, APageTurnsOnlyAfterItsMinimumTime) {
    play(GameType::Classic, apart(0, 1, 0, 2));
    ASSERT_TRUE(DialogHint::showHint(std::nullopt, 15, false, nullptr));
    DialogHint* hint = bubble();
    ASSERT_EQ(hint->getPageCount(), 2);
    EXPECT_EQ(hint->getTextLabel()->getText(), L"first");
    SceneManager& scenes = *SceneManager::getInstance();

    scenes.run(kEnterMs - 1);
    DialogHint::onOk(hint, nullptr);
    EXPECT_EQ(hint->getPage(), 0) << "too early: only the sound";
    EXPECT_EQ(soundCount("SOUND_HELPDIALOG_CLOSE"), 1);

    scenes.run(1);
    DialogHint::onOk(hint, nullptr);
    EXPECT_EQ(hint->getPage(), 1);
    EXPECT_EQ(hint->getTextLabel()->getText(), L"second");
    DialogHint::onOk(hint, nullptr);
    EXPECT_EQ(hint->getPage(), 1) << "the second press came at once";
    EXPECT_FALSE(hint->isClosing());

    scenes.run(kEnterMs);
    DialogHint::onOk(hint, nullptr);
    EXPECT_TRUE(hint->isClosing()) << "the last page closes the bubble";
    EXPECT_EQ(soundCount("SOUND_HELPDIALOG_CLOSE"), 4);
}

TEST_F(DialogHintTest, AKeptBubbleStartsEachHintAtItsFirstPageAndChimesOnce) {
    play(GameType::Classic, apart(0, 1, 0, 2));
    ASSERT_TRUE(DialogHint::showHint(std::nullopt, 15, false, nullptr));
    DialogHint* hint = bubble();
    SceneManager::getInstance()->run(kEnterMs);
    DialogHint::onOk(hint, nullptr);
    ASSERT_EQ(hint->getPage(), 1);
    EXPECT_EQ(soundCount("SOUND_HELPDIALOG_OPEN"), 1) << "one chime a showing";

    // The scene still keeps the bubble: the next hint reuses it.
    ASSERT_TRUE(DialogHint::showHint(std::nullopt, 16, false, nullptr));
    EXPECT_EQ(bubble(), hint);
    EXPECT_EQ(hint->getPageCount(), 1);
    EXPECT_EQ(hint->getPage(), 0);
    EXPECT_EQ(hint->getPageMs(), 0);
    EXPECT_EQ(hint->getTextLabel()->getText(), L"first");
}

TEST_F(DialogHintTest, TheOkButtonKeepsItsDistanceFromTheBottom) {
    play(GameType::Classic, apart(0, 1, 0, 2));
    ASSERT_TRUE(DialogHint::showHint(std::nullopt, 16, false, nullptr));
    DialogHint* hint = bubble();
    EXPECT_EQ(hint->getHeight(), 100) << "a short text keeps the natural size";
    EXPECT_EQ(hint->getOkButton()->getY(), 70);
}

} // namespace
} // namespace orv::test
