#include "game/dialogs/DialogYesNo.h"

#include "engine/gui/Button.h"
#include "engine/scene/Label.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/graphics/FontFixture.h"

namespace orv::test {
namespace {

// Labels anchored at their middle top; each button carries its caption.
constexpr const char* kYesNoDefinitions = R"(<root>
<Text id="Q_LONG_HEADER" value="ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"/>
<Text id="Q_SHORT" value="Sure?"/>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
    <DialogYesNo id="DIALOG_YESNO" width="200" height="100">
        <Vector id="components">
            <Label name="HEADER" x="100" y="10" anchorpoint="top" wrapstyle="autowidth"/>
            <Label name="MESSAGE" x="100" y="30" width="100" anchorpoint="top"
                   wrapstyle="wordwrap" alignh="center"/>
            <Button name="BUTTON_YES" x="60" y="30" width="50" height="20" anchorpoint="top">
                <Vector id="children"><Label name="CAPTION_YES" x="0" y="4" anchorpoint="top"/></Vector>
            </Button>
            <Button name="BUTTON_NO" x="140" y="30" width="50" height="20" anchorpoint="top"/>
        </Vector>
    </DialogYesNo>
</Node>
</root>)";

class DialogYesNoTest : public DialogFixture {
protected:
    // A question dialog whose labels measure in the grid font: n characters
    // are 4n - 1 pixels wide.
    DialogYesNo* fresh(Scene& scene, std::string_view key) {
        auto* dialog = kindCast<DialogYesNo>(scene.getDialog("DIALOG_YESNO", key));
        for (const char* name : {"HEADER", "MESSAGE"}) {
            kindCast<Label>(dialog->findComponent(name))->setFont(font_.get());
        }
        return dialog;
    }
    RefPtr<BitmapFont> font_ = gridFont();
};

TEST_F(DialogYesNoTest, AWideHeaderWidensTheDialogAndCentresOnlyItsDirectParts) {
    Scene& scene = startScene(kYesNoDefinitions);
    DialogYesNo* question = fresh(scene, "Q1");
    question->setQuestion(L"Sure?", L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", nullptr, nullptr, nullptr,
                          nullptr);

    const int widen = (4 * 30 - 1) - 100;
    EXPECT_EQ(question->getWidth(), 200 + widen);
    EXPECT_EQ(question->getMessageLabel()->getWidth(), 100 + widen);
    for (const char* part : {"HEADER", "MESSAGE", "BUTTON_YES", "BUTTON_NO"}) {
        EXPECT_EQ(question->findComponent(part)->getX(), (200 + widen) / 2) << part;
    }
    const GameNode* caption = question->getYesButton()->getFirstChild();
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->getX(), 0);

    // One line: the texts move down, the buttons up, the buttons' y counted
    // from the bottom of the grown dialog.
    const int messageHeight = question->getMessageLabel()->getHeight();
    EXPECT_EQ(question->getHeight(), 100 + messageHeight);
    EXPECT_EQ(question->getHeaderLabel()->getY(), 15);
    EXPECT_EQ(question->getMessageLabel()->getY(), 40);
    EXPECT_EQ(question->getYesButton()->getY(), question->getHeight() - 30 - 5);
    EXPECT_EQ(question->getNoButton()->getY(), question->getHeight() - 30 - 5);
}

TEST_F(DialogYesNoTest, ATwoLineMessageUnderAShortHeaderMovesNothingButTheButtons) {
    Scene& scene = startScene(kYesNoDefinitions);
    DialogYesNo* question = fresh(scene, "Q2");
    question->setQuestion(L"AAAAAAAAAA AAAAAAAAAA AAAAAAAAAA", L"Hi", nullptr, nullptr, nullptr,
                          nullptr);

    EXPECT_EQ(question->getWidth(), 200);
    EXPECT_EQ(question->findComponent("BUTTON_YES")->getX(), 60);
    EXPECT_GE(question->getMessageLabel()->getLines().size(), 2U);
    EXPECT_EQ(question->getHeaderLabel()->getY(), 10);
    EXPECT_EQ(question->getMessageLabel()->getY(), 30);
    EXPECT_EQ(question->getHeight(), 100 + question->getMessageLabel()->getHeight());
    EXPECT_EQ(question->getYesButton()->getY(), question->getHeight() - 30);
}

int yesAnswers = 0;
int countYes(void* /*context*/, void* /*button*/) {
    ++yesAnswers;
    return 0;
}

TEST_F(DialogYesNoTest, AskingAgainLeavesOneQuestionAndNullAnswersJustClose) {
    Scene& scene = startScene(kYesNoDefinitions);
    DialogYesNo* first =
        DialogYesNo::ask("Q_SHORT", "Q_LONG_HEADER", nullptr, &countYes, nullptr, nullptr, &scene);
    ASSERT_NE(first, nullptr);
    scene.showDialog(first);
    DialogYesNo* second =
        DialogYesNo::ask("Q_SHORT", "Q_LONG_HEADER", nullptr, &countYes, nullptr, nullptr, &scene);
    ASSERT_NE(second, first);
    scene.showDialog(second);
    EXPECT_EQ(scene.getOpenDialogs().size(), 1U);
    EXPECT_EQ(second->getHeaderLabel()->getText(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");

    yesAnswers = 0;
    static_cast<void>(second->getYesButton()->call(second->getYesButton()));
    EXPECT_EQ(yesAnswers, 1);
    EXPECT_EQ(second->getYesButton()->getContext(), second);

    // No was asked with null: it closes the question at once, no fade.
    static_cast<void>(second->getNoButton()->call(second->getNoButton()));
    EXPECT_TRUE(scene.getOpenDialogs().empty());
    EXPECT_EQ(scene.findDialog("Q_SHORT"), nullptr);
}

} // namespace
} // namespace orv::test
