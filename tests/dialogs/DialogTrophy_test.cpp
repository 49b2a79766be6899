#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/DialogTrophyText.h"

#include "engine/scene/Label.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/graphics/FontFixture.h"

#include <string>

namespace orv::test {
namespace {

// The grid font measures n characters as 4n - 1 pixels.
constexpr const char* kTrophyDialogDefinitions = R"(<root>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
    <DialogTrophyInfo id="DIALOG_TROPHY_INFO" width="40" height="80" y="100">
        <Vector id="components">
            <Sprite name="SPRITE_TROPHY" x="10" y="10"/>
            <Label name="LABEL_HEADER" x="30" y="10" wrapstyle="autowidth"/>
            <Label name="LABEL_TEXT" x="30" y="30" width="100" wrapstyle="wordwrap"/>
        </Vector>
    </DialogTrophyInfo>
    <DialogTrophyText id="DIALOG_TROPHY_TEXT" width="40" height="40" y="300">
        <Vector id="components">
            <Label name="LABEL_HEADER" x="10" y="5" wrapstyle="autowidth"/>
            <Label name="LABEL_TEXT" x="10" y="25" width="100" wrapstyle="wordwrap"/>
        </Vector>
    </DialogTrophyText>
</Node>
</root>)";

constexpr int kShowMs = 1000;
constexpr int kAnimMs = 100;

class DialogTrophyTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        BasicProperties::get()->getInteger("TROPHY_INFO_SHOW_TIME") = kShowMs;
        BasicProperties::get()->getInteger("INFO_DIALOGS_ANIM_TIME") = kAnimMs;
        GameConstants().apply();
    }
    template <typename T>
    T* fresh(Scene& scene, std::string_view name) {
        auto* dialog = kindCast<T>(scene.getDialog(name));
        for (const char* label : {"LABEL_HEADER", "LABEL_TEXT"}) {
            kindCast<Label>(dialog->findComponent(label))->setFont(font_.get());
        }
        return dialog;
    }
    static int onClosed(void* count, void* /*dialog*/) {
        ++*static_cast<int*>(count);
        return 0;
    }
    RefPtr<BitmapFont> font_ = gridFont();
};

TEST_F(DialogTrophyTest, AwardedBoxSlidesInStaysAndLeavesWithoutHoldingTheBoard) {
    Scene& scene = startScene(kTrophyDialogDefinitions);
    auto* box = fresh<DialogTrophyInfo>(scene, "DIALOG_TROPHY_INFO");
    box->setContent(L"ABCDE", L"AB", nullptr);
    int closed = 0;
    box->setAfterClose(&DialogTrophyTest::onClosed, &closed);
    scene.showDialog(box);

    EXPECT_TRUE(screen_.opened.empty()); // the board stays playable
    EXPECT_EQ(box->getWidth(), 40 + 50); // the text tried at 50 pixels first
    EXPECT_EQ(box->getX(), -box->getWidth());
    runFrames(60, 10); // 500 ms in, 100 ms into the stay
    const int middle = (800 - box->getWidth()) / 2;
    EXPECT_EQ(box->getX(), middle);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"SOUND_TROPHY_AWARDED"});
    runFrames(80, 10);
    EXPECT_EQ(box->getX(), middle); // still staying, 100 ms before the stay ends
    EXPECT_EQ(closed, 0);
    runFrames(60 + 2, 10);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(scene.isDialogOpen("DIALOG_TROPHY_INFO"));
}

TEST_F(DialogTrophyTest, AClickOnTheBoxSendsItAwayFromWhereItIsAndOnlyThere) {
    Scene& scene = startScene(kTrophyDialogDefinitions);
    auto* box = fresh<DialogTrophyInfo>(scene, "DIALOG_TROPHY_INFO");
    box->setContent(L"ABCDE", L"AB", nullptr);
    int closed = 0;
    box->setAfterClose(&DialogTrophyTest::onClosed, &closed);
    scene.showDialog(box);
    runFrames(20, 10); // sliding in

    EXPECT_FALSE(box->onLeftButtonDown(790, 590, 0, false));
    EXPECT_FALSE(box->isLeaving());
    const int x = box->getX();
    EXPECT_FALSE(box->onLeftButtonDown(box->getX() + 2, box->getY() + 2, 0, false));
    EXPECT_TRUE(box->isLeaving());
    runFrames(5, 10);
    EXPECT_GT(box->getX(), x);
    runFrames(55, 10);
    EXPECT_EQ(closed, 1);
}

TEST_F(DialogTrophyTest, ALongTextStaysAtTheWidestTry) {
    Scene& scene = startScene(kTrophyDialogDefinitions);
    auto* box = fresh<DialogTrophyInfo>(scene, "DIALOG_TROPHY_INFO");
    std::wstring words;
    for (int i = 0; i < 200; ++i) {
        words += L"ABCD ";
    }
    box->setContent(L"A", words, nullptr);
    scene.showDialog(box);
    EXPECT_EQ(box->getTextLabel()->getWidth(), 750);
    EXPECT_EQ(box->getWidth(), 40 + 750);
}

TEST_F(DialogTrophyTest, TextBoxComesBackFromFadingAndShrinksAtOnceWhileGrowing) {
    Scene& scene = startScene(kTrophyDialogDefinitions);
    auto* box = fresh<DialogTrophyText>(scene, "DIALOG_TROPHY_TEXT");
    scene.showDialog(box);
    box->setTexts(L"AB", L"ABC");
    box->show();
    EXPECT_EQ(box->getState(), DialogTrophyText::Appearing);
    runFrames(25, 10);
    EXPECT_EQ(box->getState(), DialogTrophyText::Shown);
    EXPECT_FLOAT_EQ(box->getScale(), 1.0F);

    box->hide();
    EXPECT_EQ(box->getState(), DialogTrophyText::FadingOut);
    runFrames(5, 10);
    box->show(); // the texts come back; the box does not shrink and regrow
    runFrames(1, 10);
    EXPECT_FLOAT_EQ(box->getScale(), 1.0F);
    runFrames(15, 10);
    EXPECT_EQ(box->getState(), DialogTrophyText::Shown);

    box->hideNow();
    box->setState(DialogTrophyText::Hidden);
    box->show();
    runFrames(5, 10); // half grown
    const float grown = box->getScale();
    EXPECT_GT(grown, 0.0F);
    EXPECT_LT(grown, 1.0F);
    box->hide();
    EXPECT_EQ(box->getState(), DialogTrophyText::Shrinking);
    runFrames(15, 10);
    EXPECT_EQ(box->getState(), DialogTrophyText::Hidden);
    EXPECT_FALSE(box->isVisible());
}

} // namespace
} // namespace orv::test
