#include "game/scenes/SceneElevator.h"

#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/scene/Label.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "game/dialogs/DialogClasses.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/scenes/GameSceneClasses.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

using elevator::ButtonStates;

constexpr int kLocked = OrvantaPlayer::kLocked;
constexpr int kNew = OrvantaPlayer::kNewlyOpened;
constexpr int kOpen = OrvantaPlayer::kOpen;

// Floors 1..`upTo` pressable except `except`.
std::array<bool, elevator::kFloors> floorsUpTo(int upTo, int except = 0) {
    std::array<bool, elevator::kFloors> floors{};
    for (int floor = 1; floor <= elevator::kFloors; ++floor) {
        floors.at(static_cast<std::size_t>(floor - 1)) = floor <= upTo && floor != except;
    }
    return floors;
}

struct ButtonCase {
    const char* what;
    int floorReached;
    std::vector<int> floorsToUnlock;
    std::array<int, 4> modes;
    std::array<bool, 4> exists;
    std::array<bool, elevator::kFloors> floors;
    std::array<bool, 4> places;
};

TEST(ElevatorButtons, FollowTheProfileAndThePendingUnlocks) {
    const std::array<bool, 4> all{true, true, true, true};
    const std::vector<ButtonCase> cases{
        {"new player",
         0,
         {},
         {kOpen, kLocked, kLocked, kLocked},
         all,
         floorsUpTo(0),
         {true, false, false, false}},
        {"first floor waiting to be shown",
         1,
         {1},
         {kOpen, kLocked, kLocked, kLocked},
         all,
         floorsUpTo(0),
         {true, false, false, false}},
        {"five floors reached",
         5,
         {},
         {kOpen, kLocked, kLocked, kLocked},
         all,
         floorsUpTo(5),
         {true, false, false, false}},
        {"the newest floor waits",
         6,
         {6},
         {kOpen, kLocked, kLocked, kLocked},
         all,
         floorsUpTo(6, 6),
         {true, false, false, false}},
        {"a floor past the top opens nothing more",
         21,
         {21},
         {kOpen, kOpen, kOpen, kOpen},
         all,
         floorsUpTo(20),
         {true, true, true, true}},
        {"a newly opened casino waits for its show",
         3,
         {},
         {kOpen, kNew, kLocked, kLocked},
         all,
         floorsUpTo(3),
         {true, false, false, false}},
        {"places without their scene stay shut",
         20,
         {},
         {kOpen, kOpen, kOpen, kOpen},
         {true, false, false, true},
         floorsUpTo(20),
         {true, false, false, true}},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ButtonStates states =
            elevator::buttonStates(c.floorReached, c.floorsToUnlock, c.modes, c.exists);
        EXPECT_EQ(states.floors, c.floors);
        EXPECT_EQ(states.places, c.places);
    }
}

// A fixture with the settings and the texts the host's talk reads.
class ElevatorSettings : public testing::Test {
protected:
    void SetUp() override {
        BasicProperties& settings = BasicProperties::create();
        settings.getInteger("BRASTOW_TIP_MINIMAL_TIME_APPEAR") = 1200;
        RefPtr<GameConstants> constants(new GameConstants());
        constants->apply();
        settings.getTextEntry("TEXT_BRASTOW_UNLOCKED1") = L"unlocked 1";
        settings.getTextEntry("TEXT_BRASTOW_UNLOCKED11") = L"unlocked 11";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_TIP0") = L"tip 0";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_TIP2") = L"tip 2";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_0") = L"remark 0";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_STAT0") = L"%m matches, %m!";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_STAT6") = L"%n %g games";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_STAT9") = L"no %g yet";
        settings.getTextEntry("TEXT_BRASTOW_RANDOM_STAT7") = L"%n %g layouts";
        RefPtr<PropertyVector> headers(new PropertyVector("GAMETYPE_HEADERS"));
        for (const std::string_view name : {"Classic", "FreeCell", "Split", "Triple", "River"}) {
            headers->add(new PropertyValue("", name));
        }
        settings.getVector("GAMETYPE_HEADERS") = headers;
    }
    void TearDown() override { BasicProperties::destroyInstance(); }

    RefPtr<OrvantaPlayer> player_{new OrvantaPlayer("Ann")};
    RandomGenerator random_{7U, 11U};
};

TEST_F(ElevatorSettings, TravelTimeGrowsWithTheStopsCrossed) {
    EXPECT_EQ(elevator::travelTime(0, 3), 3 * 200 + 1200);
    EXPECT_EQ(elevator::travelTime(23, 1), 22 * 200 + 1200);
    EXPECT_EQ(elevator::travelTime(5, 5), 1200);
}

TEST(ElevatorSections, EachDestinationAsksForItsOwn) {
    using Sections = std::vector<std::string_view>;
    const std::vector<std::pair<int, Sections>> cases{
        {0, {"lobby"}},
        {1, {"hallway"}},
        {20, {"hallway"}},
        {21, {"casino", "casrecroof"}},
        {22, {"recroom", "casrecroof"}},
        {23, {"roof", "casrecroof"}},
        {24, {}},
        {-1, {}},
    };
    for (const auto& [destination, sections] : cases) {
        EXPECT_EQ(elevator::sectionsFor(destination), sections) << destination;
    }
}

// The strip's cell of the current stop sits in the display window, 4 pixels
// above its lower edge; the roof's cell is the strip's first.
TEST(ElevatorStrip, ShowsTheCurrentStopInTheWindow) {
    constexpr int cell = 40;
    constexpr int stripHeight = 24 * cell;
    for (const int stop : {0, 7, 23}) {
        const int top = elevator::stripY(100, 48, stripHeight, stop);
        const int cellTop = top + (23 - stop) * cell;
        EXPECT_EQ(cellTop + cell, 100 + 48 - 4) << stop;
    }
}

TEST_F(ElevatorSettings, TalkAnnouncesTheFloorsWithWordsOfTheirOwn) {
    const elevator::TalkSettings settings{1, 1, 1, 40, 30};
    EXPECT_EQ(elevator::chooseTalk(*player_, {1}, random_, settings), L"unlocked 1");
    EXPECT_EQ(elevator::chooseTalk(*player_, {11}, random_, settings), L"unlocked 11");
    // Floor 5 has no words of its own: the host says something else.
    EXPECT_NE(elevator::chooseTalk(*player_, {5}, random_, settings), L"");
}

// Missing counts read 0: no kind with a count of 0 is drawn, nothing divides
// by it, and with nothing to say the host stays silent.
TEST_F(ElevatorSettings, TalkWithZeroCountsNeverDrawsThatKind) {
    struct Case {
        elevator::TalkSettings settings;
        std::wstring only;
    };
    const std::vector<Case> cases{
        {{0, 0, 0, 40, 30}, L""},
        {{0, 1, 0, 40, 30}, L"remark 0"},
        {{1, 0, 0, 100, 0}, L"tip 0"},
        {{1, 0, 0, 0, 0}, L"tip 0"},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(elevator::chooseTalk(*player_, {}, random_, c.settings), c.only);
        }
    }
}

// A statistic whose condition never holds for this player (a new profile)
// and a tip that waits for the second game type end the draws after a
// bounded number of tries instead of looping for good.
TEST_F(ElevatorSettings, TalkEndsWhenNoDrawApplies) {
    // Only statistics, none of which applies to a new player: silence.
    EXPECT_EQ(elevator::chooseTalk(*player_, {}, random_, {0, 0, 12, 0, 100}), L"");
    // Only tip 2 of three, which needs three FreeCell plays; the others are
    // missing texts, but never tip 2.
    for (int i = 0; i < 20; ++i) {
        EXPECT_NE(elevator::chooseTalk(*player_, {}, random_, {3, 0, 0, 100, 0}), L"tip 2");
    }
    // A statistic that applies is found among the ones that do not.
    player_->stats.numMatches = 5;
    EXPECT_EQ(elevator::chooseTalk(*player_, {}, random_, {0, 0, 1, 0, 100}), L"5 matches, 5!");
}

// A tip the player is not ready for draws only the tip's number again: with
// a quarter of the draws for tips, half for remarks and the last quarter for
// statistics (none here, so drawn again) tips keep a third of the talk; a
// new draw of the whole talk would leave them a quarter.
TEST_F(ElevatorSettings, AnUnreadyTipDrawsOnlyItsNumberAgain) {
    BasicProperties::get()->getTextEntry("TEXT_BRASTOW_RANDOM_TIP1") = L"tip 1";
    int tips = 0;
    constexpr int kTalks = 2000;
    for (int i = 0; i < kTalks; ++i) {
        const std::wstring said = elevator::chooseTalk(*player_, {}, random_, {3, 1, 0, 25, 0});
        EXPECT_NE(said, L"tip 2");
        tips += said.rfind(L"tip ", 0) == 0 ? 1 : 0;
    }
    EXPECT_GT(tips, kTalks * 30 / 100);
    EXPECT_LT(tips, kTalks * 37 / 100);
}

// The place statistics name one of the place's open game types and count its
// plays; a place that is still locked says nothing.
TEST_F(ElevatorSettings, PlaceStatisticsNameAnOpenGameType) {
    EXPECT_EQ(elevator::statisticText(*player_, 6, random_), L"");
    player_->modesUnlocked.at(1) = kOpen;
    player_->unlockedStuff.at(0) = kOpen; // Classic opens in the casino
    EXPECT_EQ(elevator::statisticText(*player_, 6, random_), L"");
    EXPECT_EQ(elevator::statisticText(*player_, 9, random_), L"no Classic yet");
    player_->stats.getCasino(0, 2).playCount = 4;
    player_->stats.getCasino(0, 0).playCount = 1;
    EXPECT_EQ(elevator::statisticText(*player_, 6, random_), L"5 Classic games");
    EXPECT_EQ(elevator::statisticText(*player_, 9, random_), L"");
    EXPECT_EQ(elevator::statisticText(*player_, 11, random_), L"");
}

// The recreation-room statistics count the player's plays without growing
// the record lists that the profile saves.
TEST_F(ElevatorSettings, PlaceStatisticsOnlyReadTheRecords) {
    player_->modesUnlocked.at(2) = kOpen;
    player_->unlockedStuff.at(3) = kOpen; // Classic opens in the recreation room
    player_->stats.getRecRoom(0, 1).playCount = 2;
    EXPECT_EQ(elevator::statisticText(*player_, 7, random_), L"2 Classic layouts");
    EXPECT_EQ(player_->stats.getRecRoomList(0).size(), 2U);
    EXPECT_TRUE(player_->stats.getRecRoomList(1).empty());
}

// The car with its buttons and its strip, a player on a temporary folder.
class ElevatorRide : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        registerDialogClasses();
        registerGameSceneClasses();
        BasicProperties::create();
        std::string buttons;
        for (int floor = 1; floor <= 20; ++floor) {
            buttons += "<Button name=\"BUTTON_FLOOR_" + std::to_string(floor) + "\" x=\"" +
                       std::to_string(floor * 30) + "\" y=\"300\" width=\"20\" height=\"20\"/>";
        }
        test::writeFile(folder_.path() / "elevator.xml",
                        R"(<Defs><Scenes id="scenes">
<SceneElevator id="SCENE_ELEVATOR" width="800" height="600"><Vector id="scenecomponents">
  <Button name="BUTTON_LOBBY" x="10" y="500" width="60" height="20"/>
  <Button name="BUTTON_CASINO" x="90" y="500" width="60" height="20"/>
  <Sprite name="FLOOR_DISPLAY_SPRITE" x="500" y="50" width="160" height="48"/>
  <Sprite name="FLOOR_NUMBERS_SPRITE" x="500" y="0" width="160" height="960"/>
  <Label name="TEXT" x="40" y="400" width="300" height="100" wrapstyle="wordwrap"/>)" +
                            buttons + R"(
  <Sprite name="SNAPFINGERS_SPRITE" x="40" y="40" width="60" height="60"/>
  <Sprite name="LDOOR_SPRITE" x="0" y="0" width="400" height="600"/>
  <Sprite name="RDOOR_SPRITE" x="400" y="0" width="400" height="600"/></Vector></SceneElevator>
<SceneOrvanta id="SCENE_HALLWAY" width="800" height="600"/>
<SceneOrvanta id="SCENE_LOBBY" width="800" height="600"/>
</Scenes></Defs>)");
        getDefinitionStore().addFile(folder_.file("elevator.xml"));
        getDefinitionStore().load();
        PlayerManager& players = PlayerManager::create(false, "test");
        players.setDataFolder(folder_.path().string());
        ASSERT_NE(players.addPlayer(new OrvantaPlayer("Ann")), nullptr);
        profile_ = players.getCurrentProfile();
        ASSERT_NE(profile_, nullptr);
        SceneManager* manager = SceneManager::create();
        static_cast<void>(manager->addScene("SCENE_HALLWAY"));
        static_cast<void>(manager->addScene("SCENE_LOBBY"));
        elevator_ = kindCast<SceneElevator>(manager->addScene("SCENE_ELEVATOR"));
        ASSERT_NE(elevator_, nullptr);
        manager->setNextScene(elevator_);
        manager->run(0);
    }
    void TearDown() override {
        SceneManager::destroyInstance();
        PlayerManager::destroyInstance();
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
    }
    void advance(int ms) {
        for (int t = 0; t < ms; t += 50) {
            SceneManager::getInstance()->run(50);
        }
    }
    [[nodiscard]] Button* floorButton(int floor) const {
        return kindCast<Button>(elevator_->findComponent("BUTTON_FLOOR_" + std::to_string(floor)));
    }

    test::TempDir folder_;
    OrvantaPlayer* profile_ = nullptr;
    SceneElevator* elevator_ = nullptr;
};

// A new player's first visit opens floor 1 with its show (the host's snap,
// a second's pause): the button takes presses only once the show has run.
TEST_F(ElevatorRide, ANewPlayersFirstFloorOpensAfterTheShow) {
    BasicProperties::get()->getTextEntry("CTOOLTIP_ELEVATOR_FLOOR") = L"Ride";
    BasicProperties::get()->getTextEntry("CTOOLTIP_ELEVATOR_FLOOR_LOCKED") = L"Locked";
    EXPECT_EQ(profile_->floorReached, 1);
    ASSERT_NE(floorButton(1), nullptr);
    advance(500);
    EXPECT_EQ(elevator_->getFloorsToUnlock(), std::vector<int>{1});
    EXPECT_FALSE(floorButton(1)->isEnabled());
    advance(1000);
    EXPECT_TRUE(elevator_->getFloorsToUnlock().empty());
    EXPECT_TRUE(floorButton(1)->isEnabled());
    EXPECT_FALSE(floorButton(2)->isEnabled());
    // The locked floor looks locked, also under the pointer.
    EXPECT_NE(floorButton(1)->getCurrentFrame(), Button::kDisabledFrame);
    EXPECT_EQ(floorButton(2)->getCurrentFrame(), Button::kDisabledFrame);
    floorButton(2)->setState(Button::kOver);
    EXPECT_EQ(floorButton(2)->getCurrentFrame(), Button::kDisabledFrame);
    // The locked floor says so; the open one offers the ride.
    ASSERT_NE(floorButton(1)->getToolTip(), nullptr);
    ASSERT_NE(floorButton(2)->getToolTip(), nullptr);
    EXPECT_EQ(*floorButton(1)->getToolTip(), L"Ride");
    EXPECT_EQ(*floorButton(2)->getToolTip(), L"Locked");
}

// Pressing floor 1 from the lobby rides there and shows that floor of the
// hallway; pressing the stop the car is at leaves at once.
TEST_F(ElevatorRide, AFloorButtonRidesToThatFloorOfTheHallway) {
    advance(1500);
    SceneManager* manager = SceneManager::getInstance();
    SceneElevator::onDestination(elevator_, floorButton(1));
    EXPECT_EQ(elevator_->getCurrentStop(), 1);
    EXPECT_EQ(elevator_->getTravelTime(), elevator::travelTime(0, 1));
    advance(500);
    EXPECT_EQ(manager->getCurrentScene(), elevator_);
    advance(800 + elevator_->getTravelTime() + 1000 + 200);
    EXPECT_EQ(profile_->currentFloor, 1);
    EXPECT_EQ(manager->getCurrentScene(), manager->getScene("SCENE_HALLWAY"));
}

// A place whose scene the program lacks stays shut, and a press on it
// cannot strand the player.
TEST_F(ElevatorRide, APlaceWithoutItsSceneStaysShut) {
    profile_->modesUnlocked.at(1) = kOpen;
    advance(1500);
    auto* casino = kindCast<Button>(elevator_->findComponent("BUTTON_CASINO"));
    ASSERT_NE(casino, nullptr);
    EXPECT_FALSE(casino->isEnabled());
    SceneElevator::onDestination(elevator_, casino);
    advance(800 + elevator_->getTravelTime() + 1000 + 200);
    EXPECT_EQ(SceneManager::getInstance()->getCurrentScene(), elevator_);
    EXPECT_TRUE(elevator_->getListenerContainer().isInputEnabled());
}

} // namespace
} // namespace orv
