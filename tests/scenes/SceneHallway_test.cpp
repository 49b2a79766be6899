#include "game/scenes/SceneHallway.h"

#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/scene/Label.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "game/board/BoardClasses.h"
#include "game/board/Game.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/board/TileManager.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogRoomPreview.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "game/scenes/GameSceneClasses.h"
#include "game/screen/BuildingProgress.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

namespace orv {
namespace {

// The grade of a room's best score against its goals: a score that reaches
// a goal earns it, for the medals on the doors and for the grade the
// hallway remembers when a level starts alike.
TEST(HallwayGrades, AScoreThatReachesAGoalEarnsIt) {
    struct Case {
        int score;
        int grade;
    };
    static constexpr std::array<Case, 7> cases{
        {{0, 0}, {99, 0}, {100, 1}, {150, 1}, {199, 1}, {200, 2}, {5000, 2}}};
    for (const Case& c : cases) {
        EXPECT_EQ(medalGrade(c.score, 100, 200), c.grade) << "score " << c.score;
    }
}

// Only Classic to River have a hue; Speed, a room without a level (-1) and
// anything beyond keep the corridor's own colour.
TEST(HallwayLook, HuesExistOnlyForTheFiveHallwayGameTypes) {
    const std::array<float, SceneHallway::kHues> hues{0.1F, 0.2F, 0.3F, 0.4F, 0.5F};
    EXPECT_FALSE(doorHue(hues, -1).has_value());
    for (int type = 0; type < SceneHallway::kHues; ++type) {
        EXPECT_EQ(doorHue(hues, type), hues.at(static_cast<std::size_t>(type)));
    }
    EXPECT_FALSE(doorHue(hues, 5).has_value());
    EXPECT_FALSE(doorHue(hues, 1000).has_value());
    EXPECT_EQ(roomNumberImage(12, 3), "ROOM_NUMBER123");
    EXPECT_EQ(medalImage(2, 4, 3), "MEDAL_GOLD43");
    EXPECT_EQ(medalImage(0, 0, 5), "MEDAL_BRONZE05");
}

constexpr int kSilver = 100;
constexpr int kGold = 200;

// Two looks: floor 1 uses look 0, floor 2 look 1 (its doors lower and its
// preview corners elsewhere).
constexpr const char* kFloorFile = R"(<Hallway>
  <Vector id="hues"><Float value="0.25"/><Float value="0.5"/><Float value="0"/>
    <Float value="0"/><Float value="0"/></Vector>
  <Vector id="floors"><Integer value="0"/><Integer value="1"/></Vector>
  <Vector id="definitions">
    <Vector>
      <String value="WALL0"/>
      <Door x="0" y="100" width="100" height="200"/><Door x="150" y="100" width="100" height="200"/>
      <Door x="300" y="100" width="100" height="200"/><Door x="450" y="100" width="100" height="200"/>
      <Door x="600" y="100" width="100" height="200"/>
      <Point x="110" y="50"/><Point x="260" y="50"/><Point x="410" y="50"/><Point x="140" y="50"/>
      <Point x="290" y="50"/>
      <Point x="50" y="200"/><Point x="200" y="200"/><Point x="350" y="200"/><Point x="500" y="200"/>
      <Point x="650" y="200"/>
      <Point x="20" y="70"/><Point x="170" y="70"/><Point x="320" y="70"/><Point x="470" y="70"/>
      <Point x="620" y="70"/>
      <Knob x="80" y="200" image="KNOB"/><Knob x="230" y="200" image="KNOB"/>
      <Knob x="380" y="200" image="KNOB"/><Knob x="530" y="200" image="KNOB"/>
      <Knob x="680" y="200" image="KNOB"/>
      <Plant x="740" y="250" image="PLANT"/>
    </Vector>
    <Vector>
      <String value="WALL1"/>
      <Door x="10" y="150" width="90" height="180"/><Door x="160" y="150" width="90" height="180"/>
      <Door x="310" y="150" width="90" height="180"/><Door x="460" y="150" width="90" height="180"/>
      <Door x="610" y="150" width="90" height="180"/>
      <Point x="111" y="51"/><Point x="261" y="51"/><Point x="411" y="51"/><Point x="141" y="51"/>
      <Point x="291" y="51"/>
    </Vector>
  </Vector>
</Hallway>)";

std::string levelFile() {
    std::string rooms;
    for (int room = 1; room <= 5; ++room) {
        rooms += R"(<Level gameType="Classic" gameMode="0" pointsPerMatch="10" tileDistMin="1" )"
                 R"(tileDistMax="4" silver=")" +
                 std::to_string(kSilver) + R"(" gold=")" + std::to_string(kGold) +
                 R"(" layout="small.xml"/>)";
    }
    return "<Levels><Vector id=\"hallway\"><Vector>" + rooms + "</Vector><Vector>" + rooms +
           "</Vector></Vector></Levels>";
}

constexpr const char* kLayout = R"(<Layouts><Layout id="layout" displayname="Small">
  <Vector id="tiles"><Tile x="0" y="0" z="0"/><Tile x="2" y="0" z="0"/><Tile x="4" y="0" z="0"/>
    <Tile x="6" y="0" z="0"/><Tile x="0" y="2" z="0"/><Tile x="2" y="2" z="0"/>
    <Tile x="4" y="2" z="0"/><Tile x="6" y="2" z="0"/></Vector>
</Layout></Layouts>)";

std::string sceneDefinitions() {
    std::string components;
    for (int door = 1; door <= 5; ++door) {
        const std::string n = std::to_string(door);
        components += "<Sprite name=\"ROOM_NUMBER" + n + "\"/><Button name=\"BUTTON_DOOR" + n +
                      "\"/><Button name=\"DOORKNOB" + n + "\" width=\"10\" height=\"10\"/>";
    }
    std::string medals;
    for (int door = 1; door <= 5; ++door) {
        medals += "<Sprite name=\"MEDAL" + std::to_string(door) +
                  "\" width=\"40\" height=\"40\" anchorpoint=\"center\" visible=\"false\"/>";
    }
    return R"(<Defs><Text id="TEXT_HALLWAY_FLOOR" value="Floor %n"/><Scenes id="scenes">
  <SceneHallway id="SCENE_HALLWAY" width="800" height="600"><Vector id="scenecomponents">
    <Sprite name="PLANT"/><Label name="LABEL_FLOOR" x="322" y="82" width="156" height="52"/>)" +
           components + R"(<Sprite name="MEDALS" width="1" height="1"><Vector id="children">)" +
           medals + R"(</Vector></Sprite>
    <Button name="BUTTON_MENU" x="50" y="548" width="150" height="40"/>
    <Button name="BUTTON_ELEVATOR" x="240" y="548" width="150" height="40"/>
    <Button name="BUTTON_TROPHIES" x="430" y="548" width="150" height="40"/>
    <Button name="BUTTON_CUSTOMIZE" x="620" y="548" width="150" height="40"/>
    <Sprite name="FLOORENDDIALOG" x="400" y="300" width="480" height="340" anchorpoint="center"
            visible="false"/>
    <Label name="FLOOR_COMPLETED" x="170" y="150" width="460" height="44" visible="false"/>
    <Label name="WELL_DONE" x="170" y="192" width="460" height="24" visible="false"/>
    <Label name="UNLOCKED" x="170" y="322" width="460" height="24" visible="false"/>
    <Label name="GOODIE" x="400" y="370" width="400" height="48" anchorpoint="center"
           visible="false"/>
    <Button name="BUTTON_OK" x="325" y="402" width="150" height="40" visible="false"/>
  </Vector></SceneHallway>
  <Scene id="SCENE_GAME" width="800" height="600"/>
  <Scene id="SCENE_ELEVATOR" width="800" height="600"/>
</Scenes>
<Dialogs id="dialogs">
  <DialogRoomPreview id="DIALOG_ROOM_PREVIEW" width="200" height="160">
    <Vector id="components"><Sprite name="SPRITE_PREVIEW" x="100" y="10" width="180" height="80"/>
    </Vector>
  </DialogRoomPreview>
</Dialogs></Defs>)";
}

// The hallway with the definitions above, two floors of five Classic rooms
// (silver 100, gold 200) on a small layout, the game's own tile suits and a
// player. The files lie in a temporary folder that is the working folder
// while a test runs, as the program's folder is.
class HallwayTest : public testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = std::filesystem::current_path();
        test::writeFile(folder_.path() / "media/properties/hallway.xml", kFloorFile);
        test::writeFile(folder_.path() / "media/properties/levels/hallway.xml", levelFile());
        test::writeFile(folder_.path() / "media/levels/small.xml", kLayout);
        test::writeFile(folder_.path() / "defs.xml", sceneDefinitions());
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
        TileManager::create();
        getLevelSets().load();
        PlayerManager::create(false, "7.1").setDataFolder((folder_.path() / "players").string());
        ASSERT_NE(PlayerManager::get()->addPlayer(new OrvantaPlayer("Ann")), nullptr);
        profile_ = PlayerManager::get()->getCurrentProfile();
        ASSERT_NE(profile_, nullptr);

        SceneManager* manager = SceneManager::create();
        hallway_ = kindCast<SceneHallway>(manager->addScene("SCENE_HALLWAY"));
        ASSERT_NE(hallway_, nullptr);
        // The places a hallway leads to, made at start-up as the program does.
        ASSERT_NE(manager->addScene("SCENE_GAME"), nullptr);
        ASSERT_NE(manager->addScene("SCENE_ELEVATOR"), nullptr);
    }
    void TearDown() override {
        SceneManager::destroyInstance();
        PlayerManager::destroyInstance();
        destroyLevelSets();
        TileManager::destroyInstance();
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        std::filesystem::current_path(previousFolder_);
    }

    // The elevator's part: the hallway's floor chosen, then the hallway
    // shown (from the elevator when the hallway is shown already).
    void ride(int floor) {
        SceneManager* manager = SceneManager::getInstance();
        if (manager->getCurrentScene() == hallway_) {
            manager->setNextScene(manager->getScene("SCENE_ELEVATOR"));
            manager->run(0);
        }
        hallway_->setFloor(floor);
        show();
    }
    // Shows the hallway (back from the playing screen, say).
    void show() {
        SceneManager* manager = SceneManager::getInstance();
        manager->setNextScene(hallway_);
        manager->run(0);
        EXPECT_EQ(manager->getCurrentScene(), hallway_);
    }
    static void runFrames(int frames, int ms) {
        for (int i = 0; i < frames; ++i) {
            SceneManager::getInstance()->run(ms);
        }
    }
    [[nodiscard]] DialogRoomPreview& preview() const { return *hallway_->getRoomPreview(); }
    static void hover(SceneHallway& hallway, int door) {
        const Button* button = hallway.getDoorButton(door);
        static_cast<void>(hallway.onMouseMove(button->getX() + 5, button->getY() + 5, 0));
    }

    std::filesystem::path previousFolder_;
    test::TempDir folder_;
    OrvantaPlayer* profile_ = nullptr;
    SceneHallway* hallway_ = nullptr;
};

// Every arrival reads the floor's look: the doors move to the boxes of the
// floor's definition and the preview and medal corners follow it.
TEST_F(HallwayTest, EachFloorTakesTheLookItsDefinitionGives) {
    ride(2);
    EXPECT_EQ(hallway_->getDefinitionIndex(), 1);
    const Button* door = hallway_->getDoorButton(3);
    EXPECT_EQ(door->getX(), 310);
    EXPECT_EQ(door->getY(), 150);
    EXPECT_EQ(door->getWidth(), 90);
    EXPECT_EQ(door->getHeight(), 180);
    EXPECT_EQ(hallway_->getPreviewPoint(4).x, 141);
    EXPECT_FLOAT_EQ(hallway_->getHue(1), 0.5F);

    ride(1);
    EXPECT_EQ(hallway_->getDefinitionIndex(), 0);
    EXPECT_EQ(hallway_->getDoorButton(3)->getX(), 300);
    EXPECT_EQ(hallway_->getMedalPoint(5).x, 650);
    EXPECT_EQ(hallway_->getRoomNumber(2)->getX(), 170);
    EXPECT_TRUE(hallway_->areDoorsEnabled()) << "no medal to land: the doors take input";
}

// The sign over the middle door names the floor the elevator brought the
// player to, and a ride to another floor renames it.
TEST_F(HallwayTest, TheFloorSignNamesTheFloorOfEachArrival) {
    ride(2);
    ASSERT_NE(hallway_->getFloorSign(), nullptr);
    EXPECT_EQ(hallway_->getFloorSign()->getText(), L"Floor 2");
    ride(1);
    EXPECT_EQ(hallway_->getFloorSign()->getText(), L"Floor 1");
    EXPECT_EQ(floorSignText(12), L"Floor 12");
}

// The preview follows the pointer from door to door without closing in
// between, and closes 500 ms of frame time after the pointer left them all;
// with the doors' input off nothing opens and the timer waits.
TEST_F(HallwayTest, PreviewFollowsThePointerAndClosesHalfASecondAfterIt) {
    ride(1);
    hover(*hallway_, 2);
    EXPECT_EQ(hallway_->getHoveredDoor(), 2);
    EXPECT_EQ(preview().getState(), DialogRoomPreview::State::Growing);
    ASSERT_NE(preview().getLevel(), nullptr);
    EXPECT_EQ(preview().getLevel()->getRoom(), 2);
    // The box is drawn from the preview point, and from its own position:
    // its parts are placed from that position, so a box drawn elsewhere
    // (grown about a centre anchor) would show them off its paper.
    EXPECT_EQ(preview().getLeft(), hallway_->getPreviewPoint(2).x);
    EXPECT_EQ(preview().getTop(), hallway_->getPreviewPoint(2).y);
    EXPECT_EQ(preview().getLeft(), preview().getX());
    EXPECT_EQ(preview().getTop(), preview().getY());

    hover(*hallway_, 3);
    hallway_->updateSelf(16);
    EXPECT_EQ(preview().getLevel()->getRoom(), 3);
    EXPECT_NE(preview().getState(), DialogRoomPreview::State::Shrinking);

    static_cast<void>(hallway_->onMouseMove(760, 500, 0)); // the wall
    EXPECT_EQ(hallway_->getHoveredDoor(), 0);
    hallway_->updateSelf(499);
    EXPECT_EQ(preview().getState(), DialogRoomPreview::State::Growing);
    hallway_->updateSelf(2);
    EXPECT_EQ(preview().getState(), DialogRoomPreview::State::Shrinking);

    runFrames(3, 500);
    EXPECT_EQ(preview().getState(), DialogRoomPreview::State::Hidden);
    hallway_->disableDoors();
    hover(*hallway_, 1);
    EXPECT_EQ(hallway_->getHoveredDoor(), 0);
    EXPECT_EQ(preview().getState(), DialogRoomPreview::State::Hidden);
}

// A door starts its room's level and remembers the grade the room had; the
// first door clicked on a floor is kept once. Back from a won level with a
// better score the new medal lands, the doors wait for it, and then the
// hallway forgets the level.
TEST_F(HallwayTest, ADoorStartsTheLevelAndABetterMedalLandsOnTheWayBack) {
    RoomRecord& room = profile_->stats.getRoom(1, 2);
    room.levelWinCount = 1;
    room.bestScore = kGold - 1;
    ride(1);
    EXPECT_TRUE(hallway_->getMedal(2)->isVisible());
    EXPECT_FALSE(hallway_->getMedal(1)->isVisible());

    room.bestScore = kSilver;
    ASSERT_EQ(SceneHallway::onDoor(hallway_, hallway_->getDoorButton(2)), 0);
    EXPECT_EQ(hallway_->getLastDoor(), 2);
    EXPECT_EQ(hallway_->getPreviousGrade(), 1) << "a best score exactly at silver is silver";
    EXPECT_EQ(profile_->stats.firstDoorClicked.at(0), 2);
    ASSERT_NE(Game::getCurrent(), nullptr);
    EXPECT_EQ(Game::getCurrent()->getLevel()->getRoom(), 2);
    EXPECT_EQ(Game::getCurrent()->getLevel()->getPlace(), Place::Hallway);
    SceneManager* manager = SceneManager::getInstance();
    ASSERT_NE(manager->getNext(), nullptr);
    EXPECT_EQ(manager->getNext()->getDefinition()->getName(), "SCENE_GAME");
    manager->run(0);

    // The level is won at exactly the gold goal: gold, a better medal. The
    // hallway shows the level's floor, whatever the elevator last chose.
    room.bestScore = kGold;
    room.levelWinCount = 2;
    profile_->currentFloor = 2;
    show();
    EXPECT_EQ(hallway_->getFloor(), 1);
    Sprite* medal = hallway_->getMedal(2);
    EXPECT_FLOAT_EQ(medal->getScale(), 10.0F) << "the new medal lands from above";
    EXPECT_FALSE(hallway_->areDoorsEnabled());
    runFrames(20, 200);
    EXPECT_FLOAT_EQ(medal->getScale(), 1.0F);
    EXPECT_TRUE(hallway_->areDoorsEnabled());
    EXPECT_EQ(hallway_->getLastDoor(), -1);
    EXPECT_EQ(hallway_->getPreviousGrade(), -1);

    // Another door of the same floor leaves the first-door mark alone.
    ASSERT_EQ(SceneHallway::onDoor(hallway_, hallway_->getDoorButton(4)), 0);
    EXPECT_EQ(profile_->stats.firstDoorClicked.at(0), 2);
}

// Back from winning the last room of the highest floor reached, the medal
// lands and then the floor-completed sequence plays: the player's floor
// moves on, the room numbers fly into their row one after another, the
// summary stars and the reward follow, and OK releases the floor's trophies
// and goes to the elevator.
TEST_F(HallwayTest, TheWinThatCompletesTheFloorPlaysTheFloorSequence) {
    BasicProperties::get()->getTextEntry("TEXT_UNLOCK1") = L"The casino is open.";
    for (int door = 1; door <= 4; ++door) {
        profile_->stats.getRoom(1, door) = {};
        profile_->stats.getRoom(1, door).levelWinCount = 1;
        profile_->stats.getRoom(1, door).bestScore = kGold;
    }
    profile_->floorReached = 1;
    profile_->currentFloor = 1;
    ride(1);
    ASSERT_EQ(SceneHallway::onDoor(hallway_, hallway_->getDoorButton(5)), 0);
    SceneManager::getInstance()->run(0);
    // The level-won state's records: the room won, the floor complete.
    profile_->stats.getRoom(1, 5).levelWinCount = 1;
    profile_->stats.getRoom(1, 5).bestScore = kSilver;
    profile_->floorReached = 2;
    ASSERT_TRUE(profile_->trophies->holdBack(5));
    show();
    EXPECT_EQ(hallway_->getFloorSequence(), nullptr) << "the medal lands first";
    runFrames(13, 100); // landing 500 ms, two stars, half a second after the last
    ASSERT_NE(hallway_->getFloorSequence(), nullptr);
    EXPECT_EQ(profile_->currentFloor, 2);
    EXPECT_FALSE(hallway_->areDoorsEnabled());
    EXPECT_TRUE(hallway_->getOkButton()->isEnabled());

    const int firstX = hallway_->getRoomNumber(1)->getX();
    const int secondX = hallway_->getRoomNumber(2)->getX();
    runFrames(3, 100);
    EXPECT_NE(hallway_->getRoomNumber(1)->getX(), firstX) << "room 1 flies first";
    EXPECT_EQ(hallway_->getRoomNumber(2)->getX(), secondX) << "room 2 waits for it";
    runFrames(5, 100);
    EXPECT_NE(hallway_->getRoomNumber(2)->getX(), secondX);
    EXPECT_EQ(hallway_->getRoomNumber(1)->getX(), STARS_LEFT_PADDING);
    EXPECT_EQ(hallway_->getRoomNumber(1)->getY(), STAR_Y);

    runFrames(120, 100);
    EXPECT_TRUE(hallway_->getFloorEndDialog()->isVisible());
    EXPECT_TRUE(hallway_->getOkButton()->isVisible());
    int summaryStars = 0;
    for (GameNode* star = hallway_->getStarLayer()->getFirstChild(); star != nullptr;
         star = star->getNextSibling()) {
        summaryStars += star->isVisible() && star->getY() == SMALL_STAR_Y ? 1 : 0;
    }
    EXPECT_EQ(summaryStars, 15);
    const auto* goodie = kindCast<Label>(hallway_->findComponent("GOODIE"));
    ASSERT_NE(goodie, nullptr);
    EXPECT_EQ(goodie->getText(), L"The casino is open.");
    EXPECT_TRUE(goodie->isVisible());

    ASSERT_EQ(SceneHallway::onFloorEndOk(hallway_, nullptr), 0);
    EXPECT_EQ(profile_->trophies->getState(5), TrophyState::kEarned);
    EXPECT_EQ(hallway_->getFloorSequence(), nullptr);
    EXPECT_FALSE(hallway_->getFloorEndDialog()->isVisible());
    SceneManager* manager = SceneManager::getInstance();
    ASSERT_NE(manager->getNext(), nullptr) << "no trophy room here: straight to the elevator";
    EXPECT_EQ(manager->getNext()->getDefinition()->getName(), "SCENE_ELEVATOR");
}

// A win on a floor below the player's own plays no floor sequence; the
// ordinary ending releases the hallway's held-back trophies, takes the tip
// the won level left (through the building's progress link) and turns the
// return tip off.
TEST_F(HallwayTest, AWinOnAnOlderFloorEndsOrdinarily) {
    for (int door = 1; door <= 5; ++door) {
        profile_->stats.getRoom(1, door).levelWinCount = 1;
        profile_->stats.getRoom(1, door).bestScore = kSilver;
    }
    profile_->floorReached = 3;
    profile_->currentFloor = 3;
    ride(1);
    ASSERT_EQ(SceneHallway::onDoor(hallway_, hallway_->getDoorButton(2)), 0);
    SceneManager::getInstance()->run(0);
    profile_->stats.getRoom(1, 2).bestScore = kGold;
    ASSERT_TRUE(profile_->trophies->holdBack(14));
    ASSERT_NE(getBuildingProgress(), nullptr);
    getBuildingProgress()->leaveHallwayTip(4);
    EXPECT_EQ(hallway_->getPendingTip(), 4);
    profile_->showHints = true;
    profile_->hintFlags.at(1) = true;
    show();
    runFrames(20, 100);
    EXPECT_EQ(hallway_->getFloorSequence(), nullptr);
    EXPECT_EQ(profile_->currentFloor, 3);
    EXPECT_TRUE(hallway_->areDoorsEnabled());
    EXPECT_EQ(profile_->trophies->getState(14), TrophyState::kEarned);
    EXPECT_EQ(hallway_->getPendingTip(), 0);
    EXPECT_FALSE(profile_->hintFlags.at(1));
}

} // namespace
} // namespace orv
