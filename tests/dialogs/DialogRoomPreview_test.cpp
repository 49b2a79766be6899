#include "game/dialogs/DialogRoomPreview.h"

#include "engine/scene/Label.h"
#include "game/players/PlayerStats.h"
#include "tests/dialogs/DialogFixture.h"

#include <algorithm>

namespace orv {
namespace {

using State = DialogRoomPreview::State;
using test::playedSounds;

constexpr int kStepMs = 200;

// A scene with the preview shown in it, as the hallway keeps it: waiting at
// scale 0 until a door is hovered. Each step of its animation takes 200 ms.
class RoomPreviewTest : public test::DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        BasicProperties::get()->getInteger("INFO_DIALOGS_ANIM_TIME") = kStepMs;
        BasicProperties::get()->getTextEntry("CTEXT_DIGIT_GROUPING_SYMBOL") = L",";
        GameConstants().apply();
        Scene& scene = startScene(R"(<Defs>
<Scenes id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Scenes>
<Dialogs id="dialogs">
  <DialogRoomPreview id="DIALOG_ROOM_PREVIEW" width="294" height="358">
    <Vector id="components">
      <Label name="LABEL_GAMETYPE" x="0" y="24" width="294" height="40"/>
      <Sprite name="SPRITE_PREVIEW" x="147" y="68" width="236" height="116"/>
      <Label name="LABEL_GOLD" x="160" y="194" width="100" height="22"/>
      <Label name="LABEL_SILVER" x="160" y="216" width="100" height="22"/>
      <Label name="LABEL_BESTSCORE" x="160" y="238" width="100" height="22"/>
      <Label name="LABEL_BESTTIME" x="160" y="260" width="100" height="22"/>
      <Label name="LABEL_TIMESCOMPLETED" x="160" y="282" width="100" height="22"/>
      <Label name="LABEL_TIMESPLAYED" x="160" y="304" width="100" height="22"/>
    </Vector>
  </DialogRoomPreview>
</Dialogs></Defs>)",
                                  "SCENE_TEST", false);
        preview_ = kindCast<DialogRoomPreview>(scene.getDialog("DIALOG_ROOM_PREVIEW"));
        ASSERT_NE(preview_, nullptr);
        scene.showDialog(preview_);
        playedSounds().clear();
    }

    [[nodiscard]] int opens() const {
        return static_cast<int>(
            std::count(playedSounds().begin(), playedSounds().end(), "SOUND_ROOM_PREVIEW_OPENS"));
    }
    [[nodiscard]] std::wstring text(const char* name) const {
        const auto* label = kindCast<Label>(preview_->findComponent(name));
        return label != nullptr ? label->getText() : L"(missing)";
    }

    DialogRoomPreview* preview_ = nullptr;
};

// Shown by the scene, the preview waits unseen at scale 0 and lets the
// pointer through to the doors beneath it.
TEST_F(RoomPreviewTest, WaitsHiddenAndLetsThePointerThrough) {
    EXPECT_EQ(preview_->getState(), State::Hidden);
    EXPECT_FALSE(preview_->isVisible());
    EXPECT_EQ(preview_->getScale(), 0.0F);
    EXPECT_FALSE(preview_->getListenerContainer().isSwallowing());
    EXPECT_FALSE(preview_->onLeftButtonDown(400, 300, 0, false));
    for (std::size_t i = 0; i < DialogRoomPreview::kPartNames.size(); ++i) {
        ASSERT_NE(preview_->getPart(i), nullptr) << DialogRoomPreview::kPartNames.at(i);
        EXPECT_EQ(preview_->getPart(i)->getAlpha(), 0);
    }
}

// The whole road: it grows, fades its parts in, stays; then fades them out
// and shrinks back to nothing.
TEST_F(RoomPreviewTest, GrowsFadesInThenFadesOutAndShrinks) {
    preview_->openPreview();
    EXPECT_EQ(preview_->getState(), State::Growing);
    EXPECT_EQ(opens(), 1);
    runFrames(1, kStepMs);
    EXPECT_FLOAT_EQ(preview_->getScale(), 1.0F);
    runFrames(2, kStepMs);
    EXPECT_EQ(preview_->getState(), State::Shown);
    EXPECT_EQ(preview_->getPart(0)->getAlpha(), 255);

    preview_->openPreview(); // hovering on: nothing more happens
    EXPECT_EQ(opens(), 1);

    preview_->closePreview();
    EXPECT_EQ(preview_->getState(), State::FadingOut);
    runFrames(1, kStepMs / 2);
    EXPECT_EQ(preview_->getState(), State::FadingOut);
    EXPECT_LT(preview_->getPart(0)->getAlpha(), 255);
    runFrames(3, kStepMs);
    EXPECT_EQ(preview_->getState(), State::Hidden);
    EXPECT_FLOAT_EQ(preview_->getScale(), 0.0F);
}

// Leaving and coming back mid-way reverses the animation where it stands:
// during the fade-out the parts turn back without the opening sound; during
// the growth a close shrinks at once.
TEST_F(RoomPreviewTest, ReversesMidWay) {
    preview_->openPreview();
    runFrames(3, kStepMs);
    ASSERT_EQ(preview_->getState(), State::Shown);

    preview_->closePreview();
    runFrames(1, kStepMs / 2);
    ASSERT_EQ(preview_->getState(), State::FadingOut);
    const int halfWay = preview_->getPart(1)->getAlpha();
    EXPECT_GT(halfWay, 0);
    EXPECT_LT(halfWay, 255);
    preview_->openPreview();
    EXPECT_EQ(preview_->getState(), State::Growing);
    EXPECT_EQ(opens(), 1) << "turning back is no new opening";
    runFrames(2, kStepMs);
    EXPECT_EQ(preview_->getState(), State::Shown);
    EXPECT_EQ(preview_->getPart(1)->getAlpha(), 255);

    preview_->closePreview();
    runFrames(3, kStepMs);
    preview_->openPreview();
    runFrames(1, kStepMs / 2);
    ASSERT_EQ(preview_->getState(), State::Growing);
    const float grown = preview_->getScale();
    preview_->closePreview();
    EXPECT_EQ(preview_->getState(), State::Shrinking);
    runFrames(1, kStepMs / 2);
    EXPECT_LT(preview_->getScale(), grown);
    runFrames(2, kStepMs);
    EXPECT_EQ(preview_->getState(), State::Hidden);
}

// The record of a room never played shows dashes and zeros; larger numbers
// carry the text table's grouping mark.
TEST_F(RoomPreviewTest, WritesTheRoomsRecord) {
    preview_->setRecord(RoomRecord{});
    EXPECT_EQ(text("LABEL_BESTSCORE"), L"-");
    EXPECT_EQ(text("LABEL_BESTTIME"), L"-");
    EXPECT_EQ(text("LABEL_TIMESCOMPLETED"), L"0");
    EXPECT_EQ(text("LABEL_TIMESPLAYED"), L"0");

    RoomRecord record;
    record.bestScore = 12345;
    record.bestTime = 65000;
    record.levelWinCount = 2;
    record.playCount = 5;
    preview_->setRecord(record);
    EXPECT_EQ(text("LABEL_BESTSCORE"), L"12,345");
    EXPECT_EQ(text("LABEL_BESTTIME"), L"1:05");
    EXPECT_EQ(text("LABEL_TIMESCOMPLETED"), L"2");
    EXPECT_EQ(text("LABEL_TIMESPLAYED"), L"5");
}

} // namespace
} // namespace orv
