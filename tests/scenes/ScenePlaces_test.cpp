#include "game/scenes/SceneCasino.h"
#include "game/scenes/SceneRecRoom.h"
#include "game/scenes/SceneRoof.h"

#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/gui/Switch.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/scene/Label.h"
#include "engine/scene/Panel.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/board/TileManager.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogLayoutPreview.h"
#include "game/players/HighScoreEntry.h"
#include "game/players/HighScoreManager.h"
#include "game/players/HighScoreTable.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "game/scenes/BuildingServices.h"
#include "game/scenes/GameSceneClasses.h"
#include "game/scenes/SceneElevator.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>
#include <string>

namespace orv {
namespace {

// Tables are named by place, game type and difficulty; the roof's Mixed
// tables by difficulty alone.
TEST(PlaceTables, AreNamedByPlaceGameTypeAndDifficulty) {
    EXPECT_EQ(casinoTableName(0, 0), "1_0_0");
    EXPECT_EQ(casinoTableName(3, 2), "1_3_2");
    EXPECT_EQ(roofTableName(false, 1), "3_5_1");
    EXPECT_EQ(roofTableName(true, 2), "mixed_2");
}

// The glow's tiles fill whole gaps only; a part sits centred on its switch.
TEST(PlaceGlow, FillsWholeTilesAndCentresOnTheSwitch) {
    struct Case {
        int top;
        int bottom;
        int tiles;
    };
    static constexpr std::array<Case, 4> cases{
        {{100, 100, 0}, {100, 120, 2}, {100, 96, 0}, {0, 7, 0}}};
    for (const Case& c : cases) {
        EXPECT_EQ(glowTileCount(c.top, c.bottom, 8), c.tiles) << c.top << ".." << c.bottom;
    }
    EXPECT_EQ(glowY(100, 56, 40, 1), 109);
    EXPECT_EQ(glowY(100, 56, 72, -1), 91) << "a taller part rises above the switch";
}

std::string placeLevelNode(std::string_view type) {
    return R"(<Level id="level" gameType=")" + std::string(type) +
           R"(" pointsPerMatch="10" tileDistMin="1" tileDistMax="4" layout="small.xml"/>)";
}

std::string placeCasinoLevels() {
    std::string types;
    for (std::size_t t = 0; t < 5; ++t) {
        std::string difficulties;
        for (const std::string_view d : LevelSets::kDifficultyNames) {
            difficulties += "<Node id=\"" + std::string(d) + "\">" +
                            placeLevelNode(kGameTypeNames.at(t)) + "</Node>";
        }
        types +=
            "<Node id=\"" + std::string(kGameTypeNames.at(t)) + "\">" + difficulties + "</Node>";
    }
    return "<Levels><Node id=\"casino\">" + types + "</Node></Levels>";
}

// Classic offers seven layouts, every other game type one.
std::string placeRecRoomLevels() {
    std::string series;
    for (std::size_t t = 0; t < 5; ++t) {
        std::string levels;
        for (int k = 0; k < (t == 0 ? 7 : 1); ++k) {
            levels +=
                R"(<Level gameType=")" + std::string(kGameTypeNames.at(t)) +
                R"(" gameMode="2" pointsPerMatch="10" tileDistMin="1" tileDistMax="4" layout="small.xml"/>)";
        }
        series += "<Vector>" + levels + "</Vector>";
    }
    return "<Levels><Vector id=\"recroom\">" + series + "</Vector></Levels>";
}

std::string placeRoofLevels() {
    std::string difficulties;
    for (const std::string_view d : LevelSets::kDifficultyNames) {
        difficulties +=
            "<Node id=\"" + std::string(d) + "\">" + placeLevelNode("Speed") + "</Node>";
    }
    return R"(<Levels><Node id="roof"><Node id="Speed">)" + difficulties +
           "</Node></Node></Levels>";
}

constexpr const char* kPlacesLayout = R"(<Layouts><Layout id="layout" displayname="Small">
  <Vector id="tiles"><Tile x="0" y="0" z="0"/><Tile x="2" y="0" z="0"/><Tile x="4" y="0" z="0"/>
    <Tile x="6" y="0" z="0"/><Tile x="0" y="2" z="0"/><Tile x="2" y="2" z="0"/>
    <Tile x="4" y="2" z="0"/><Tile x="6" y="2" z="0"/><Tile x="2" y="1" z="1"/>
    <Tile x="4" y="1" z="1"/></Vector>
</Layout></Layouts>)";

std::string placeSwitches(std::initializer_list<const char*> names, int group) {
    std::string out;
    int y = 100;
    for (const char* name : names) {
        out += "<Switch name=\"" + std::string(name) + "\" x=\"30\" y=\"" + std::to_string(y) +
               "\" width=\"200\" height=\"56\" groupid=\"" + std::to_string(group) + "\"/>";
        y += 66;
    }
    return out;
}

std::string placeCommonParts() {
    return R"(<Sprite name="GLOW_DIALOG" x="290" y="50" width="470" height="390"/>
    <Sprite name="GLOW_BUTTON" x="24" y="0" width="232" height="72"/>
    <Sprite name="GLOW_TOP_NORMAL" x="256" y="96" width="24" height="14"/>
    <Sprite name="GLOW_BOTTOM_NORMAL" x="256" y="470" width="24" height="14"/>
    <Sprite name="GLOW_MIDDLE" x="256" y="0" width="24" height="40"/>
    <Button name="BUTTON_MENU" x="50" y="548" width="150" height="40"/>
    <Button name="BUTTON_ELEVATOR" x="240" y="548" width="150" height="40"/>
    <Button name="BUTTON_TROPHIES" x="430" y="548" width="150" height="40"/>
    <Button name="BUTTON_CUSTOMIZE" x="620" y="548" width="150" height="40"/>)";
}

std::string placePanelParts(const char* plate) {
    return R"(<Panel name="PANEL" x="300" y="56" width="460" height="380" visible="false">
      <Vector id="components"><Sprite name=")" +
           std::string(plate) + R"(" x="0" y="0" width="460" height="380"/>
        <Label name="LABEL_GAMETYPE" x="20" y="12" width="420" height="40"/>
        <Sprite name="SPRITE_PREVIEW" x="30" y="66" width="111" height="80"/>
        <Label name="LABEL_TOPSCORE" x="334" y="66" width="100" height="24"/>
        <Label name="LABEL_TOPLEVEL" x="334" y="94" width="100" height="24"/>
        <Label name="LABEL_FINISHED" x="334" y="122" width="100" height="24"/></Vector></Panel>
    <Switch name="SWITCH_NORMAL" x="300" y="444" width="140" height="40" groupid="2"/>
    <Switch name="SWITCH_HARD" x="460" y="444" width="140" height="40" groupid="2"/>
    <Switch name="SWITCH_EXPERT" x="620" y="444" width="140" height="40" groupid="2"/>
    <Button name="BUTTON_START" x="455" y="386" width="150" height="40"/>)";
}

constexpr const char* kPlaceRow =
    R"(<Panel id="panel_highscore" x="28" y="184" width="404" height="17">
    <Vector id="components"><Label name="NAME" x="4" y="0" width="230" height="18"/>
      <Label name="LEVEL" x="240" y="0" width="50" height="18"/>
      <Label name="SCORE" x="296" y="0" width="104" height="18"/></Vector></Panel>)";

std::string placeDefinitions() {
    const auto types = placeSwitches(
        {"SWITCH_CLASSIC", "SWITCH_FREECELL", "SWITCH_SPLIT", "SWITCH_TRIPLE", "SWITCH_RIVER"}, 1);
    return R"(<Defs><Scenes id="scenes">
  <SceneCasino id="SCENE_CASINO" width="800" height="600">)" +
           std::string(kPlaceRow) + R"(<Vector id="scenecomponents">)" + placeCommonParts() +
           types + R"(<Sprite name="MR_B" x="420" y="80" width="170" height="220"/>)" +
           placePanelParts("SPRITE_DIALOG_CASINO") + R"(</Vector></SceneCasino>
  <SceneRecRoom id="SCENE_RECROOM" width="800" height="600"><Vector id="scenecomponents">)" +
           placeCommonParts() + types +
           R"(<Sprite name="MR_B" x="420" y="80" width="170" height="220"/>
  </Vector></SceneRecRoom>
  <SceneRoof id="SCENE_ROOF" width="800" height="600">)" +
           kPlaceRow + R"(<Vector id="scenecomponents">)" + placeCommonParts() +
           placeSwitches({"SWITCH_SPEED", "SWITCH_MIXED"}, 1) +
           placePanelParts("SPRITE_DIALOG_ROOF") +
           R"(</Vector></SceneRoof>
  <SceneElevator id="SCENE_ELEVATOR" width="800" height="600"><Vector id="scenecomponents">
    <Button name="BUTTON_CASINO" x="90" y="500" width="60" height="20"/></Vector></SceneElevator>
  <Scene id="SCENE_GAME" width="800" height="600"/>
  <SceneHallway id="SCENE_HALLWAY" width="800" height="600"/>
</Scenes>
<Dialogs id="dialogs">
  <DialogYesNo id="DIALOG_YESNO" width="200" height="100">
    <Vector id="components">
      <Button name="BUTTON_YES" x="60" y="30" width="50" height="20"/>
      <Button name="BUTTON_NO" x="140" y="30" width="50" height="20"/>
    </Vector>
  </DialogYesNo>
  <DialogBrastowHint id="DIALOG_BRASTOW_HINT" width="300" height="100"/>
  <DialogOrvanta id="DIALOG_TROPHY" width="800" height="600"/>
  <DialogOrvanta id="DIALOG_KILLER_STONES" width="400" height="300"/>
  <DialogLayoutPreview id="DIALOG_LAYOUTPREVIEW" x="288" y="58" width="476" height="440">
    <Panel id="page_panel" x="14" y="64" width="448" height="320" stepx="150" stepy="162"/>
    <Panel id="button_panel" x="0" y="0" width="144" height="156">
      <Vector id="components">
        <Button name="BUTTON" x="0" y="0" width="144" height="156"/>
        <Sprite name="SPRITE" x="24" y="14"/>
        <Sprite name="LOCK" x="52" y="30" width="40" height="48" visible="false"/>
        <Label name="COMPLETED" x="80" y="112" width="50" height="18"/>
        <Label name="PLAYED" x="80" y="130" width="50" height="18"/>
        <Label name="TIME" x="80" y="148" width="50" height="18"/>
      </Vector>
    </Panel>
    <Vector id="components">
      <Label name="LABEL_HEADER" x="0" y="14" width="476" height="44"/>
      <Button name="BUTTON_PREVIOUS" x="24" y="386" width="150" height="40"/>
      <Button name="BUTTON_NEXT" x="302" y="386" width="150" height="40"/>
    </Vector>
  </DialogLayoutPreview>
</Dialogs></Defs>)";
}

// Saved games exist for the modes listed.
class PlaceServices : public NullBuildingServices {
public:
    bool hasSavedGame(int gameMode) override { return saved.contains(gameMode); }
    std::set<int> saved;
};

// The three places with one small two-layer layout behind every level, the
// elevator, a stand-in playing screen, a player and the high-score tables.
// The files lie in a temporary folder that is the working folder while a
// test runs, as the program's folder is.
class PlacesTest : public testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = std::filesystem::current_path();
        test::writeFile(folder_.path() / "media/properties/levels/casino.xml", placeCasinoLevels());
        test::writeFile(folder_.path() / "media/properties/levels/recroom.xml",
                        placeRecRoomLevels());
        test::writeFile(folder_.path() / "media/properties/levels/roof.xml", placeRoofLevels());
        test::writeFile(folder_.path() / "media/levels/small.xml", kPlacesLayout);
        test::writeFile(folder_.path() / "defs.xml", placeDefinitions());
        std::filesystem::current_path(folder_.path());

        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        registerDialogClasses();
        registerGameSceneClasses();
        registerBoardClasses();
        registerPlayerClasses();
        BasicProperties::create();
        DefinitionStore& store = getDefinitionStore();
        store.addFile(ORVANTA_SOURCE_DIR "/media/properties/mahjong.xml");
        store.addFile(folder_.file("defs.xml"));
        store.load();
        GameConstants().apply();
        BasicProperties::get()->getTextEntry("CTEXT_DIGIT_GROUPING_SYMBOL") = L",";
        TileManager::create();
        getLevelSets().load();
        HighScoreManager::create(false, "1.0").setDataFolder(folder_.path().string());
        PlayerManager::create(false, "7.1").setDataFolder((folder_.path() / "players").string());
        ASSERT_NE(PlayerManager::get()->addPlayer(new OrvantaPlayer("Ann")), nullptr);
        profile_ = PlayerManager::get()->getCurrentProfile();
        ASSERT_NE(profile_, nullptr);
        profile_->showHints = false;
        profile_->modesUnlocked = {2, 2, 2, 2};
        setBuildingServices(&services_);
        SceneOrvanta::clearFailedResumes();

        SceneManager* manager = SceneManager::create();
        casino_ = kindCast<SceneCasino>(manager->addScene("SCENE_CASINO"));
        recRoom_ = kindCast<SceneRecRoom>(manager->addScene("SCENE_RECROOM"));
        roof_ = kindCast<SceneRoof>(manager->addScene("SCENE_ROOF"));
        elevator_ = kindCast<SceneElevator>(manager->addScene("SCENE_ELEVATOR"));
        ASSERT_NE(manager->addScene("SCENE_GAME"), nullptr);
        ASSERT_NE(casino_, nullptr);
        ASSERT_NE(recRoom_, nullptr);
        ASSERT_NE(roof_, nullptr);
        ASSERT_NE(elevator_, nullptr);
    }
    void TearDown() override {
        setBuildingServices(nullptr);
        SceneManager::destroyInstance();
        PlayerManager::destroyInstance();
        HighScoreManager::destroyInstance();
        destroyLevelSets();
        TileManager::destroyInstance();
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        std::filesystem::current_path(previousFolder_);
    }

    // Shows `scene` coming from the elevator.
    void enterFromElevator(Scene* scene) {
        show(elevator_);
        show(scene);
    }
    static void show(Scene* scene) {
        SceneManager* manager = SceneManager::getInstance();
        manager->setNextScene(scene);
        manager->run(0);
        manager->run(0); // the scene left is hidden a frame later
        ASSERT_EQ(manager->getCurrentScene(), scene);
    }
    static void choose(GuiFunction callback, ScenePlace& place, std::string_view name) {
        auto* item = kindCast<Switch>(place.findComponent(name));
        ASSERT_NE(item, nullptr) << name;
        static_cast<void>(callback(&place, item));
    }
    static void click(SceneCasino& casino, int spot) {
        const HiddenSpot& at = SceneCasino::kHiddenSpots.at(static_cast<std::size_t>(spot));
        EXPECT_FALSE(casino.onLeftButtonDown(at.x + 1, at.y + 1, 0, false));
    }
    static std::wstring text(const Label* label) {
        return label != nullptr ? label->getText() : L"?";
    }

    std::filesystem::path previousFolder_;
    test::TempDir folder_;
    PlaceServices services_;
    OrvantaPlayer* profile_ = nullptr;
    SceneCasino* casino_ = nullptr;
    SceneRecRoom* recRoom_ = nullptr;
    SceneRoof* roof_ = nullptr;
    SceneElevator* elevator_ = nullptr;
};

// The elevator lets the player in with nothing chosen: the host, no start
// button, no panel, whatever was chosen on the last visit.
TEST_F(PlacesTest, ArrivingFromTheElevatorShowsNoChoice) {
    enterFromElevator(casino_);
    choose(&SceneCasino::onGameTypeSwitch, *casino_, "SWITCH_SPLIT");
    EXPECT_EQ(casino_->getGameType(), 2);
    EXPECT_FALSE(casino_->getHostPortrait()->isVisible());

    show(elevator_);
    elevator_->setCurrentStop(0);
    auto* button = kindCast<Button>(elevator_->findComponent("BUTTON_CASINO"));
    ASSERT_NE(button, nullptr);
    SceneElevator::onDestination(elevator_, button);
    for (int t = 0; t < 10000 && SceneManager::getInstance()->getCurrentScene() == elevator_;
         t += 50) {
        SceneManager::getInstance()->run(50);
    }
    ASSERT_EQ(SceneManager::getInstance()->getCurrentScene(), casino_);
    EXPECT_EQ(casino_->getGameType(), ScenePlace::kNothingChosen);
    EXPECT_TRUE(casino_->getHostPortrait()->isVisible());
    const GameNode* start = casino_->findComponent("BUTTON_START");
    EXPECT_FALSE(start->isVisible());
    EXPECT_FALSE(kindCast<Button>(casino_->findComponent("BUTTON_START"))->isEnabled());
    EXPECT_FALSE(casino_->findComponent("PANEL")->isVisible());
}

// Each game-type switch opens with its hallway floor's unlock item; Expert
// opens with item 17 in the casino and on the roof.
TEST_F(PlacesTest, SwitchesOpenWithTheirFloors) {
    struct Case {
        ScenePlace* place;
        const char* name;
        int item;
    };
    const std::array<Case, 13> cases{{{casino_, "SWITCH_CLASSIC", 0},
                                      {casino_, "SWITCH_TRIPLE", 1},
                                      {casino_, "SWITCH_FREECELL", 4},
                                      {casino_, "SWITCH_SPLIT", 7},
                                      {casino_, "SWITCH_RIVER", 10},
                                      {casino_, "SWITCH_EXPERT", 17},
                                      {recRoom_, "SWITCH_CLASSIC", 3},
                                      {recRoom_, "SWITCH_TRIPLE", 5},
                                      {recRoom_, "SWITCH_RIVER", 8},
                                      {recRoom_, "SWITCH_SPLIT", 11},
                                      {recRoom_, "SWITCH_FREECELL", 12},
                                      {roof_, "SWITCH_EXPERT", 17},
                                      {roof_, "SWITCH_SPEED", 99}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.place->getLook().section) + " " + c.name);
        profile_->unlockedStuff.fill(0);
        if (c.item < 20) {
            profile_->unlockedStuff.at(static_cast<std::size_t>(c.item)) = 2;
        }
        enterFromElevator(c.place);
        for (const char* name : {"SWITCH_CLASSIC", "SWITCH_FREECELL", "SWITCH_SPLIT",
                                 "SWITCH_TRIPLE", "SWITCH_RIVER", "SWITCH_EXPERT"}) {
            const auto* item = kindCast<Switch>(c.place->findComponent(name));
            if (item != nullptr) {
                EXPECT_EQ(item->isEnabled(), std::string_view(name) == c.name) << name;
            }
        }
    }
    EXPECT_TRUE(kindCast<Switch>(roof_->findComponent("SWITCH_SPEED"))->isEnabled())
        << "the roof's own games are always open";
}

// A newly opened switch shines once: its item moves from 1 to 2.
TEST_F(PlacesTest, ANewlyOpenedSwitchIsShownOnce) {
    profile_->unlockedStuff.at(4) = 1;
    profile_->unlockedStuff.at(0) = 2;
    enterFromElevator(casino_);
    EXPECT_EQ(profile_->unlockedStuff.at(4), 2);
    EXPECT_FALSE(casino_->getTypeSwitch(1)->getOwnModifiers().empty()) << "FreeCell shines";
    EXPECT_TRUE(casino_->getTypeSwitch(0)->getOwnModifiers().empty()) << "Classic was shown before";
}

// Nine clicks on the three spots in turn open the hidden game; a click
// elsewhere or a game-type choice starts the count again.
TEST_F(PlacesTest, TheHiddenClickSequenceOpensTheMiniGame) {
    profile_->unlockedStuff.fill(2);
    enterFromElevator(casino_);
    for (int k = 0; k < 8; ++k) {
        click(*casino_, k % 3);
    }
    EXPECT_EQ(casino_->getHiddenClickCount(), 8);
    EXPECT_FALSE(casino_->onLeftButtonDown(10, 10, 0, false));
    EXPECT_EQ(casino_->getHiddenClickCount(), 0);

    click(*casino_, 0);
    click(*casino_, 2);
    EXPECT_EQ(casino_->getHiddenClickCount(), 0) << "the third spot out of turn";

    click(*casino_, 0);
    click(*casino_, 1);
    choose(&SceneCasino::onGameTypeSwitch, *casino_, "SWITCH_CLASSIC");
    EXPECT_EQ(casino_->getHiddenClickCount(), 0);

    for (int k = 0; k < 9; ++k) {
        EXPECT_FALSE(casino_->isDialogOpen("DIALOG_KILLER_STONES"));
        click(*casino_, k % 3);
    }
    EXPECT_TRUE(casino_->isDialogOpen("DIALOG_KILLER_STONES"));
    EXPECT_EQ(casino_->getHiddenClickCount(), 0);
}

// The panel shows the pair's five best; the player's new entry blinks, its
// bar lies under its row and the table forgets it was new.
TEST_F(PlacesTest, TheHighScorePanelShowsANewEntryOnce) {
    profile_->unlockedStuff.fill(2);
    profile_->stats.getCasino(0, 0).bestScore = 12345;
    profile_->stats.getCasino(0, 0).bestLevel = 1;
    profile_->stats.getCasino(0, 0).playCount = 3;
    enterFromElevator(casino_);
    choose(&SceneCasino::onGameTypeSwitch, *casino_, "SWITCH_CLASSIC");
    const auto& rows = casino_->getHighScoreRows();
    EXPECT_EQ(text(rows.at(0).score), L"5,000");
    EXPECT_EQ(text(rows.at(0).level), L"5");
    EXPECT_EQ(text(rows.at(4).score), L"1,000");
    EXPECT_EQ(text(kindCast<Label>(casino_->findComponent("LABEL_TOPSCORE"))), L"12,345");
    EXPECT_EQ(text(kindCast<Label>(casino_->findComponent("LABEL_TOPLEVEL"))), L"2");
    EXPECT_EQ(text(kindCast<Label>(casino_->findComponent("LABEL_FINISHED"))), L"3");
    EXPECT_FALSE(casino_->getHighScoreBar()->isVisible());

    HighScoreTable* table = getHighScoreTable("1_0_0", true);
    ASSERT_EQ(table->addScore(new OrvantaScoreEntry("Ann", 3500, true, 2)), 2);
    profile_->newHighScorePending = true;
    choose(&SceneCasino::onDifficultySwitch, *casino_, "SWITCH_NORMAL");
    EXPECT_EQ(text(rows.at(2).name), L"Ann");
    EXPECT_EQ(text(rows.at(2).score), L"3,500");
    EXPECT_NE(casino_->getHighScoreBlink(), nullptr);
    EXPECT_TRUE(casino_->getHighScoreBar()->isVisible());
    EXPECT_EQ(casino_->getHighScoreBar()->getY(), 201 + 2 * 20);
    EXPECT_EQ(casino_->findComponent("SPRITE_DIALOG_CASINO")->getNextSibling(),
              casino_->getHighScoreBar());
    EXPECT_EQ(table->getLastScore(), -1);
    EXPECT_FALSE(profile_->newHighScorePending);

    choose(&SceneCasino::onDifficultySwitch, *casino_, "SWITCH_NORMAL");
    EXPECT_EQ(casino_->getHighScoreBlink(), nullptr);
    EXPECT_FALSE(casino_->getHighScoreBar()->isVisible());
    EXPECT_EQ(text(rows.at(2).name), L"Ann") << "the entry itself stays";
}

// A last place beyond the five rows shown puts no bar below the panel.
TEST_F(PlacesTest, ANewEntryBeyondTheRowsGetsNoBar) {
    profile_->unlockedStuff.fill(2);
    enterFromElevator(casino_);
    HighScoreTable* table = getHighScoreTable("1_1_0", true);
    table->setLastScore(5);
    profile_->newHighScorePending = true;
    choose(&SceneCasino::onGameTypeSwitch, *casino_, "SWITCH_FREECELL");
    EXPECT_FALSE(casino_->getHighScoreBar()->isVisible());
    EXPECT_EQ(casino_->getHighScoreBlink(), nullptr);
    EXPECT_FALSE(profile_->newHighScorePending);
}

// Back from a game the last choice shows, and the switch that shows it is
// the one checked.
TEST_F(PlacesTest, WhatIsShownIsWhatIsChosen) {
    profile_->unlockedStuff.fill(2);
    enterFromElevator(casino_);
    choose(&SceneCasino::onGameTypeSwitch, *casino_, "SWITCH_TRIPLE");
    casino_->getTypeSwitch(3)->setChecked(true);
    show(SceneManager::getInstance()->getScene("SCENE_GAME"));
    EXPECT_FALSE(casino_->getTypeSwitch(3)->isChecked()) << "switches are unchecked on leaving";
    show(casino_);
    EXPECT_EQ(casino_->getGameType(), 3);
    EXPECT_TRUE(casino_->getTypeSwitch(3)->isChecked());
    EXPECT_TRUE(casino_->getGlowMiddle()->isVisible());
    EXPECT_TRUE(casino_->findComponent("PANEL")->isVisible());
}

// The start button plays the chosen pair's level in the casino.
TEST_F(PlacesTest, StartPlaysTheChosenLevel) {
    profile_->unlockedStuff.fill(2);
    enterFromElevator(casino_);
    choose(&SceneCasino::onGameTypeSwitch, *casino_, "SWITCH_CLASSIC");
    choose(&SceneCasino::onDifficultySwitch, *casino_, "SWITCH_HARD");
    ASSERT_EQ(SceneCasino::onStart(casino_, nullptr), 0);
    ASSERT_NE(Game::getCurrent(), nullptr);
    EXPECT_EQ(Game::getCurrent()->getLevel()->getPlace(), Place::Casino);
    EXPECT_EQ(Game::getCurrent()->getLevel()->getDifficulty(), 1);
    ASSERT_NE(SceneManager::getInstance()->getNext(), nullptr);
    EXPECT_EQ(SceneManager::getInstance()->getNext()->getDefinition()->getName(), "SCENE_GAME");
}

// Trophies 10 and 11, held back by the casino's records, are handed to the
// trophy room on arrival; others are left alone. The room takes no input
// while the trophy room shows, and the host's tip waits for it.
TEST_F(PlacesTest, TheCasinoReleasesItsHeldTrophies) {
    profile_->trophies->setState(10, 4);
    profile_->trophies->setState(11, 1);
    profile_->trophies->setState(12, 4);
    profile_->showHints = true;
    profile_->hintFlags.fill(true);
    enterFromElevator(casino_);
    EXPECT_EQ(profile_->trophies->getState(10), 1);
    EXPECT_EQ(profile_->trophies->getState(11), 1);
    EXPECT_EQ(profile_->trophies->getState(12), 4);
    ASSERT_TRUE(casino_->isDialogOpen("DIALOG_TROPHY"));
    EXPECT_FALSE(casino_->getListenerContainer().isInputEnabled());
    EXPECT_FALSE(casino_->isDialogOpen("DIALOG_BRASTOW_HINT")) << "one dialog at a time";

    DialogOrvanta::closeAtOnce(kindCast<DialogOrvanta>(casino_->findDialog("DIALOG_TROPHY")));
    EXPECT_TRUE(casino_->getListenerContainer().isInputEnabled());
    EXPECT_TRUE(casino_->isDialogOpen("DIALOG_BRASTOW_HINT"));
    EXPECT_FALSE(profile_->hintFlags.at(5));
}

// Mixed plays one game type for the whole run and its own tables; Speed
// the roof's levels and the 3_5 tables.
TEST_F(PlacesTest, TheRoofDrawsMixedOncePerRun) {
    enterFromElevator(roof_);
    const int drawn = roof_->getMixedType();
    ASSERT_GE(drawn, 0);
    ASSERT_LT(drawn, 5);
    for (int k = 0; k < 2; ++k) {
        choose(&SceneRoof::onGameTypeSwitch, *roof_, "SWITCH_MIXED");
        EXPECT_EQ(roof_->getGameType(), drawn);
        enterFromElevator(roof_);
    }
    choose(&SceneRoof::onGameTypeSwitch, *roof_, "SWITCH_MIXED");
    ASSERT_NE(roof_->getCurrentLevel(), nullptr);
    EXPECT_TRUE(roof_->getCurrentLevel()->isMixed());
    EXPECT_EQ(roof_->getCurrentLevel()->getPlace(), Place::Roof);
    EXPECT_NE(HighScoreManager::get()->getTable("mixed_0"), nullptr);

    choose(&SceneRoof::onGameTypeSwitch, *roof_, "SWITCH_SPEED");
    EXPECT_EQ(roof_->getGameType(), SceneRoof::kSpeed);
    ASSERT_NE(roof_->getCurrentLevel(), nullptr);
    EXPECT_FALSE(roof_->getCurrentLevel()->isMixed());
    EXPECT_NE(HighScoreManager::get()->getTable("3_5_0"), nullptr);
}

// Each place offers its own saved game when the player comes in from the
// elevator, not when he comes back from a game.
TEST_F(PlacesTest, EachPlaceOffersItsSavedGame) {
    services_.saved = {1, 2, 3};
    for (ScenePlace* place : std::array<ScenePlace*, 3>{casino_, recRoom_, roof_}) {
        SCOPED_TRACE(place->getLook().section);
        enterFromElevator(place);
        EXPECT_TRUE(place->isDialogOpen(kSavedGameQuestion));
        EXPECT_EQ(place->getTag(), place->getLook().gameMode);
        show(SceneManager::getInstance()->getScene("SCENE_GAME"));
        show(place);
        EXPECT_FALSE(place->isDialogOpen(kSavedGameQuestion));
    }
}

// Hallway levels are never saved, so the hallway offers none, whatever the
// player's files hold.
TEST_F(PlacesTest, TheHallwayOffersNoSavedGame) {
    services_.saved = {0, 1};
    Scene* hallway = SceneManager::getInstance()->addScene("SCENE_HALLWAY");
    ASSERT_NE(hallway, nullptr);
    enterFromElevator(hallway);
    EXPECT_FALSE(hallway->isDialogOpen(kSavedGameQuestion));
}

// The layout chooser: six to a page, the page buttons only where there is
// a page to go to, and a page that slid away takes no clicks.
TEST_F(PlacesTest, TheChooserPagesThroughTheLayouts) {
    profile_->unlockedStuff.fill(2);
    enterFromElevator(recRoom_);
    choose(&SceneRecRoom::onGameTypeSwitch, *recRoom_, "SWITCH_CLASSIC");
    DialogLayoutPreview* chooser = recRoom_->getLayoutChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(recRoom_->isDialogOpen("DIALOG_LAYOUTPREVIEW"));
    EXPECT_FALSE(chooser->getListenerContainer().isSwallowing())
        << "the room's switches and buttons stay in reach";
    EXPECT_EQ(chooser->getLayoutCount(), 7U);
    auto* previous = kindCast<Button>(chooser->findComponent("BUTTON_PREVIOUS"));
    auto* next = kindCast<Button>(chooser->findComponent("BUTTON_NEXT"));
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    const std::array<Button*, 6> firstPage = chooser->getLayoutButtons();
    for (Button* button : firstPage) {
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(chooser->getListenerContainer().hasListener(button));
    }

    DialogLayoutPreview::onNext(chooser, next);
    EXPECT_EQ(chooser->getFirstIndex(), 6);
    EXPECT_TRUE(previous->isEnabled());
    EXPECT_FALSE(next->isEnabled());
    EXPECT_NE(chooser->getLayoutButtons().at(0), nullptr);
    EXPECT_EQ(chooser->getLayoutButtons().at(1), nullptr) << "the second page holds one";
    EXPECT_EQ(chooser->getLayoutButtons().at(0)->getTag(), 6);
    for (Button* button : firstPage) {
        EXPECT_FALSE(chooser->getListenerContainer().hasListener(button));
    }

    choose(&SceneRecRoom::onGameTypeSwitch, *recRoom_, "SWITCH_RIVER");
    EXPECT_EQ(recRoom_->getLayoutChooser(), chooser) << "the same chooser, refilled";
    EXPECT_EQ(chooser->getFirstIndex(), 0);
    EXPECT_EQ(chooser->getLayoutCount(), 1U);
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_FALSE(next->isEnabled());

    show(SceneManager::getInstance()->getScene("SCENE_GAME"));
    EXPECT_EQ(recRoom_->getLayoutChooser(), nullptr);
}

// Pages 0 and 1 are open to all; page 2 opens with any of the three
// recreation-room items, page 3 with the second or third, later pages with
// the third.
TEST_F(PlacesTest, ChooserPagesOpenWithTheirItems) {
    struct Case {
        std::array<int, 3> items;
        std::array<bool, 6> open;
    };
    static constexpr std::array<Case, 4> cases{{
        {{0, 0, 0}, {true, true, false, false, false, false}},
        {{1, 0, 0}, {true, true, true, false, false, false}},
        {{0, 2, 0}, {true, true, true, true, false, false}},
        {{0, 0, 1}, {true, true, true, true, true, true}},
    }};
    for (const Case& c : cases) {
        for (std::size_t k = 0; k < 3; ++k) {
            profile_->unlockedStuff.at(static_cast<std::size_t>(
                DialogLayoutPreview::kPageUnlockItems.at(k))) = c.items.at(k);
        }
        for (int page = 0; page < 6; ++page) {
            EXPECT_EQ(DialogLayoutPreview::isPageOpen(page, profile_),
                      c.open.at(static_cast<std::size_t>(page)))
                << "page " << page << " items " << c.items[0] << c.items[1] << c.items[2];
        }
    }
}

// Choosing a layout plays it in the recreation room.
TEST_F(PlacesTest, AChosenLayoutIsPlayedInTheRecreationRoom) {
    profile_->unlockedStuff.fill(2);
    enterFromElevator(recRoom_);
    choose(&SceneRecRoom::onGameTypeSwitch, *recRoom_, "SWITCH_CLASSIC");
    DialogLayoutPreview* chooser = recRoom_->getLayoutChooser();
    ASSERT_NE(chooser, nullptr);
    DialogLayoutPreview::onLayoutChosen(chooser, chooser->getLayoutButtons().at(3));
    ASSERT_NE(Game::getCurrent(), nullptr);
    EXPECT_EQ(Game::getCurrent()->getLevel()->getPlace(), Place::RecRoom);
    EXPECT_EQ(Game::getCurrent()->getLevel()->getIndex(), 3);
    EXPECT_TRUE(profile_->stats.firstRecrLayoutClicked);
    ASSERT_NE(SceneManager::getInstance()->getNext(), nullptr);
    EXPECT_EQ(SceneManager::getInstance()->getNext()->getDefinition()->getName(), "SCENE_GAME");
}

// The trophy of every game type needs a won layout in each; checking never
// grows the player's saved record lists. Awarded, the trophy room comes
// first and the host's tip after it.
TEST_F(PlacesTest, TheRecreationRoomTrophyNeedsEveryTypeAndComesBeforeTheTip) {
    for (int type = 0; type < 4; ++type) {
        profile_->stats.getRecRoom(type, 0).levelWinCount = 1;
    }
    EXPECT_FALSE(allTypesHaveWonLayout(*profile_));
    EXPECT_TRUE(profile_->stats.getRecRoomList(4).empty()) << "checking must not write";
    EXPECT_EQ(profile_->stats.getRecRoomList(0).size(), 1U);

    profile_->stats.getRecRoom(4, 0).levelWinCount = 1;
    EXPECT_TRUE(allTypesHaveWonLayout(*profile_));
    profile_->showHints = true;
    profile_->hintFlags.fill(true);
    enterFromElevator(recRoom_);
    EXPECT_EQ(profile_->trophies->getState(SceneRecRoom::kAllTypesTrophy), 1);
    EXPECT_TRUE(recRoom_->isDialogOpen("DIALOG_TROPHY"));
    EXPECT_FALSE(recRoom_->isDialogOpen("DIALOG_BRASTOW_HINT")) << "one dialog at a time";

    DialogOrvanta::closeAtOnce(kindCast<DialogOrvanta>(recRoom_->findDialog("DIALOG_TROPHY")));
    EXPECT_TRUE(recRoom_->isDialogOpen("DIALOG_BRASTOW_HINT"));
    EXPECT_FALSE(profile_->hintFlags.at(6));

    // Awarded once: the next arrival leaves it.
    profile_->trophies->setState(SceneRecRoom::kAllTypesTrophy, 3);
    enterFromElevator(recRoom_);
    EXPECT_EQ(profile_->trophies->getState(SceneRecRoom::kAllTypesTrophy), 3);
}

} // namespace
} // namespace orv
