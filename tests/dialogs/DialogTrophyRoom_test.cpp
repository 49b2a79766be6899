#include "engine/core/GameNode.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/scene/Label.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "game/dialogs/DialogRoomInfo.h"
#include "game/dialogs/DialogTrophy.h"
#include "game/dialogs/DialogTrophyText.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerClasses.h"
#include "game/players/PlayerManager.h"
#include "game/players/TrophyList.h"
#include "tests/dialogs/DialogFixture.h"

#include <string>
#include <vector>

namespace orv::test {
namespace {

constexpr const char* kRoomDefinitions = R"(<root>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
    <DialogTrophy id="DIALOG_TROPHY" width="800" height="600">
        <Vector id="components">
            <Sprite name="SPRITE_EMITTER" x="380" y="476" width="40" height="24"/>
            <Sprite name="TTROPHY_SPRITE_DIALOG" x="400" y="300"/>
            <Label name="LABEL_HEADER" x="220" y="292" width="360" height="40"/>
            <Label name="LABEL_DESCRIPTION" x="220" y="334" width="360" wrapstyle="wordwrap"/>
            <Sprite name="TROPHY_WON_HEADER" x="400" y="44" width="300" height="60"/>
            <Button name="BUTTON_MENU" x="616" y="550" width="150" height="40"/>
        </Vector>
    </DialogTrophy>
    <DialogTrophyText id="DIALOG_TROPHY_TEXT" width="40" height="40" y="540">
        <Vector id="components">
            <Label name="LABEL_HEADER" x="10" y="5" wrapstyle="autowidth"/>
            <Label name="LABEL_TEXT" x="10" y="25" width="100" wrapstyle="wordwrap"/>
        </Vector>
    </DialogTrophyText>
    <DialogRoomInfo id="DIALOG_ROOM_INFO" x="400" y="568" width="120" height="40">
        <Vector id="components"><Label name="LABEL_TEXT" x="0" y="9" width="120" height="24"/></Vector>
    </DialogRoomInfo>
</Node>
</root>)";

// The room over a scene, with the game's own trophy definitions and a
// current player; short ceremony settings.
class TrophyRoomTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("TROPHY_HEADER_APPEAR") = 100;
        settings.getInteger("TROPHY_HEADER_DISAPPEAR") = 100;
        settings.getInteger("TROPHY_STAR_COUNT") = 3;
        settings.getInteger("TROPHY_DIALOG_TIME") = 300;
        settings.getInteger("INFO_DIALOGS_ANIM_TIME") = 50;
        GameConstants().apply();
        registerPlayerClasses();
        TrophyList::setDefinitionFile(ORVANTA_SOURCE_DIR "/media/properties/trophies.xml");
        PlayerManager::create(false, "7.1").setDataFolder(dir_.path().string());
        ASSERT_NE(PlayerManager::get()->addPlayer(new OrvantaPlayer("Ann")), nullptr);
        player_ = PlayerManager::get()->getCurrentProfile();
        ASSERT_NE(player_, nullptr);
    }
    void TearDown() override {
        PlayerManager::destroyInstance();
        TrophyList::setDefinitionFile({});
        DialogFixture::TearDown();
    }
    [[nodiscard]] TrophyList& trophies() const { return *player_->trophies; }
    static DialogTrophy* room(const Scene& scene) {
        return kindCast<DialogTrophy>(scene.findDialog("DIALOG_TROPHY"));
    }
    static int onClosed(void* count, void* /*room*/) {
        ++*static_cast<int*>(count);
        return 0;
    }

    OrvantaPlayer* player_ = nullptr;
};

TEST(TrophyRoomWindows, TheGridEdgesFindTheirWindowOrNone) {
    struct Case {
        int x;
        int y;
        int room;
        int floor;
    };
    const std::vector<Case> cases{{318, 490, 1, 1},   {320, 490, -1, -1}, {298, 54, 1, 20},
                                  {298, 510, -1, -1}, {323, 466, 2, 2},   {343, 466, 2, 2},
                                  {393, 490, 3, 1},   {413, 490, 3, 1},   {413, 488, -1, -1},
                                  {463, 300, 4, 9},   {508, 34, 5, 20},   {488, 33, -1, -1},
                                  {297, 490, -1, -1}, {509, 490, -1, -1}};
    for (const Case& c : cases) {
        int room = 0;
        int floor = 0;
        const bool found = DialogTrophy::windowAt(c.x, c.y, room, floor);
        EXPECT_EQ(found, c.room > 0) << c.x << "," << c.y;
        EXPECT_EQ(room, c.room) << c.x << "," << c.y;
        EXPECT_EQ(floor, c.floor) << c.x << "," << c.y;
    }
    EXPECT_EQ(DialogTrophy::windowX(4), 463);
    EXPECT_EQ(DialogTrophy::windowX(5), 488);
    EXPECT_EQ(DialogTrophy::windowY(20), 490 - 24 * 19);
}

TEST_F(TrophyRoomTest, WithoutANewTrophyTheRoomDoesNotOpen) {
    Scene& scene = startScene(kRoomDefinitions);
    trophies().setState(3, TrophyState::kSeen);
    trophies().setState(5, TrophyState::kHeldBack);
    int closed = 0;
    EXPECT_FALSE(DialogTrophy::open(&closed, &TrophyRoomTest::onClosed));
    EXPECT_EQ(room(scene), nullptr);
}

// New trophies are collected at the opening (1 -> 2), awarded last index
// first, and seen (3) once they stand on their shelves; the room then takes
// hover input.
TEST_F(TrophyRoomTest, NewTrophiesAreAwardedLastIndexFirstAndEndSeen) {
    Scene& scene = startScene(kRoomDefinitions);
    for (const std::size_t i : {2U, 7U, 11U}) {
        ASSERT_TRUE(trophies().award(i));
    }
    trophies().setState(4, TrophyState::kSeen);
    int closed = 0;
    ASSERT_TRUE(DialogTrophy::open(&closed, &TrophyRoomTest::onClosed));
    DialogTrophy* shown = room(scene);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->hasNewTrophies());
    EXPECT_EQ(shown->getPendingAwards(), (std::vector<int>{2, 7, 11}));
    for (const std::size_t i : {2U, 7U, 11U}) {
        EXPECT_EQ(trophies().getState(i), TrophyState::kPresenting) << i;
    }
    EXPECT_TRUE(shown->isBusy());

    runFrames(400, 50); // three awards of about 4.8 s each
    EXPECT_EQ(shown->getAwardedOrder(), (std::vector<int>{11, 7, 2}));
    EXPECT_EQ(shown->getCurrentTrophy(), DialogTrophy::kNoTrophy);
    for (const std::size_t i : {2U, 4U, 7U, 11U}) {
        EXPECT_EQ(trophies().getState(i), TrophyState::kSeen) << i;
    }
    EXPECT_FALSE(shown->isBusy());
    EXPECT_EQ(closed, 0) << "the room stays until the player leaves it";
    EXPECT_FALSE(trophies().hasNewTrophies());
}

// The Menu button in the middle of the ceremony (before and after the first
// award began) closes the room with everything it runs: the ceremony's steps
// end with it, the text boxes close, and the after-close callback runs once.
TEST_F(TrophyRoomTest, MenuInTheCeremonyClosesTheRoomAndItsSteps) {
    Scene& scene = startScene(kRoomDefinitions);
    for (const int wait : {500, 1500}) {
        ASSERT_TRUE(trophies().award(9));
        int closed = 0;
        ASSERT_TRUE(DialogTrophy::open(&closed, &TrophyRoomTest::onClosed));
        DialogTrophy* shown = room(scene);
        ASSERT_NE(shown, nullptr);
        runFrames(wait / 50, 50);
        ASSERT_EQ(DialogTrophy::onMenuButton(shown, nullptr), 0);
        ASSERT_EQ(DialogTrophy::onMenuButton(shown, nullptr), 0) << "a second press is harmless";
        runFrames(200, 50);
        EXPECT_EQ(room(scene), nullptr) << wait;
        EXPECT_FALSE(scene.isDialogOpen("DIALOG_TROPHY_TEXT")) << wait;
        EXPECT_FALSE(scene.isDialogOpen("DIALOG_ROOM_INFO")) << wait;
        EXPECT_EQ(closed, 1) << wait;
        EXPECT_EQ(trophies().getState(9), TrophyState::kSeen) << wait;
        trophies().setState(9, TrophyState::kNotEarned);
    }
}

// Hovering a window shows its legend; hovering an unearned trophy its texts
// instead; both go when the pointer has left for the hover time.
TEST_F(TrophyRoomTest, WindowsAndTrophiesShowTheirTexts) {
    BasicProperties& settings = *BasicProperties::get();
    settings.getTextEntry("TEXT_ROOM") = L"Room";
    settings.getTextEntry("TEXT_LEGEND_NOTPLAYED") = L"not won yet";
    settings.getTextEntry("TEXT_LEGEND_PLAYED") = L"won";
    Scene& scene = startScene(kRoomDefinitions);
    player_->stats.getRoom(12, 3).levelWinCount = 1;
    auto* shown = kindCast<DialogTrophy>(scene.getDialog("DIALOG_TROPHY"));
    scene.showDialog(shown);
    runFrames(20, 50);
    ASSERT_FALSE(shown->isBusy());
    EXPECT_EQ(shown->getWindowLayer()->getFirstChild() != nullptr, true) << "room 123 is lit";
    EXPECT_EQ(DialogTrophy::roomLegend(12, 3), L"Room 123: won");
    EXPECT_EQ(DialogTrophy::roomLegend(1, 1), L"Room 11: not won yet");

    static_cast<void>(shown->onMouseMove(393 + 5, DialogTrophy::windowY(12) + 5, 0));
    runFrames(10, 50);
    DialogRoomInfo* info = shown->getRoomInfoDialog();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getState(), DialogRoomInfo::Shown);
    EXPECT_EQ(info->getWidth(), info->getLabel()->getTextWidth() + DialogRoomInfo::kMargin);

    // The test has no pictures: the unearned trophy 0 gets a size to hover.
    const TrophyInfoEntry& shelf = trophies().get(0).entry(0);
    for (GameNode* node = shown->getTrophyLayer()->getFirstChild(); node != nullptr;
         node = node->getNextSibling()) {
        if (auto* sprite = kindCast<Sprite>(node); sprite != nullptr && sprite->getTag() == 0) {
            sprite->setSize(60, 60);
        }
    }
    static_cast<void>(shown->onMouseMove(shelf.x, shelf.y, 0));
    runFrames(10, 50);
    EXPECT_NE(shown->getHoveredTrophy(), nullptr);
    EXPECT_EQ(info->getState(), DialogRoomInfo::Hidden);
    EXPECT_EQ(shown->getTextDialog()->getState(), DialogTrophyText::Shown);

    static_cast<void>(shown->onMouseMove(5, 590, 0));
    runFrames(20, 50);
    EXPECT_EQ(shown->getTextDialog()->getState(), DialogTrophyText::Hidden);
}

// A trophy's number replaces "%3": plain in the award box, grouped in the
// hover text of trophies 13 and 16.
TEST_F(TrophyRoomTest, TheNumberOfATrophyIsGroupedOnlyInItsHoverText) {
    BasicProperties& settings = *BasicProperties::get();
    settings.getTextEntry("CTEXT_DIGIT_GROUPING_SYMBOL") = L",";
    const std::string headerId = trophies().get(13).entry(1).headerId;
    settings.getTextEntry(headerId) = L"Your record: %3.";
    settings.getTextEntry(trophies().get(4).entry(1).headerId) = L"Best bar: %3.";
    player_->stats.quenbyRecord = 12345;
    player_->stats.maxBonus = 12345;
    std::wstring title;
    std::wstring description;
    DialogTrophy::trophyTexts(13, false, title, description);
    EXPECT_EQ(description, L"Your record: 12345.");
    DialogTrophy::trophyTexts(13, true, title, description);
    EXPECT_EQ(description, L"Your record: 12,345.");
    DialogTrophy::trophyTexts(4, true, title, description);
    EXPECT_EQ(description, L"Best bar: 12345.") << "only 13 and 16 are grouped";
}

// The legend box: show and hide may come every frame; a show while the text
// fades out brings it back without shrinking, a hide while it grows shrinks
// at once.
TEST_F(TrophyRoomTest, TheLegendBoxAnswersShowAndHideFromEveryState) {
    Scene& scene = startScene(kRoomDefinitions);
    auto* box = kindCast<DialogRoomInfo>(scene.getDialog("DIALOG_ROOM_INFO"));
    ASSERT_NE(box, nullptr);
    scene.showDialog(box);
    box->setText(L"Room 11: won");
    EXPECT_EQ(box->getState(), DialogRoomInfo::Hidden);
    for (int frame = 0; frame < 10; ++frame) {
        box->hide();
        runFrames(1, 20);
    }
    EXPECT_EQ(box->getState(), DialogRoomInfo::Hidden);
    for (int frame = 0; frame < 10; ++frame) {
        box->show();
        runFrames(1, 20);
    }
    EXPECT_EQ(box->getState(), DialogRoomInfo::Shown);
    EXPECT_FLOAT_EQ(box->getScale(), 1.0F);
    EXPECT_EQ(box->getLabel()->getAlpha(), 255);

    box->hide();
    runFrames(1, 20);
    EXPECT_EQ(box->getState(), DialogRoomInfo::FadingOut);
    box->show();
    EXPECT_EQ(box->getState(), DialogRoomInfo::Appearing);
    EXPECT_FLOAT_EQ(box->getScale(), 1.0F) << "the text comes back, the box stays";
    runFrames(5, 20);
    EXPECT_EQ(box->getState(), DialogRoomInfo::Shown);

    box->putAway();
    box->show();
    runFrames(1, 20);
    box->hide();
    EXPECT_EQ(box->getState(), DialogRoomInfo::Shrinking);
    runFrames(5, 20);
    EXPECT_EQ(box->getState(), DialogRoomInfo::Hidden);
    EXPECT_FLOAT_EQ(box->getScale(), 0.0F);
}

} // namespace
} // namespace orv::test
