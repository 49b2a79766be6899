#include "engine/gui/Button.h"
#include "engine/resources/Image.h"
#include "engine/scene/Scene.h"
#include "tests/dialogs/DialogFixture.h"

#include <algorithm>
#include <cstdint>

namespace orv::test {
namespace {

constexpr const char* kBaseDialogDefinitions = R"(<root>
<Templates id="templates">
    <DialogPainter id="PAINTER_SHEER" initalpha="true" centercolor="#40FFFFFF"/>
</Templates>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
    <DialogOrvanta id="DIALOG_PLAIN" x="100" y="100" width="200" height="120">
        <Vector id="components">
            <Button name="BUTTON_OK" x="20" y="20" width="100" height="40"/>
        </Vector>
    </DialogOrvanta>
    <DialogOrvanta id="DIALOG_DARK" x="300" y="200" width="200" height="120"
                   dodarkenbackground="true"/>
    <DialogOrvanta id="DIALOG_SHEER" x="300" y="200" width="200" height="120"
                   painterid="PAINTER_SHEER" dodarkenbackground="true"/>
</Node>
</root>)";

int baseAfterCloseCalls = 0;
void* afterCloseArgument = nullptr;

int countBaseAfterClose(void* /*context*/, void* argument) {
    ++baseAfterCloseCalls;
    afterCloseArgument = argument;
    return 0;
}

class DialogOrvantaTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        baseAfterCloseCalls = 0;
        afterCloseArgument = nullptr;
    }
    static bool isOpen(const Scene& scene, const Dialog* dialog) {
        const auto& open = scene.getOpenDialogs();
        return std::any_of(open.begin(), open.end(),
                           [dialog](const RefPtr<Dialog>& d) { return d.get() == dialog; });
    }
};

TEST_F(DialogOrvantaTest, OpensWithInputOffUntilItsFadeInHasEnded) {
    Scene& scene = startScene(kBaseDialogDefinitions);
    auto* dialog = kindCast<DialogOrvanta>(scene.getDialog("DIALOG_PLAIN"));
    ASSERT_NE(dialog, nullptr);
    scene.showDialog(dialog);

    EXPECT_EQ(screen_.opened, std::vector<Dialog*>{dialog});
    EXPECT_FALSE(dialog->getListenerContainer().isInputEnabled());
    EXPECT_FALSE(dialog->isInputEnabled());
    EXPECT_TRUE(dialog->isUsingBuffer());
    EXPECT_EQ(dialog->getAlpha(), 0);

    runFrames(1, kFadeMs / 2);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"SOUND_DIALOG_SHOW"});
    EXPECT_FALSE(dialog->getListenerContainer().isInputEnabled());
    EXPECT_GT(dialog->getAlpha(), 0);
    EXPECT_LT(dialog->getAlpha(), 255);

    runFrames(1, kFadeMs / 2);
    EXPECT_EQ(dialog->getAlpha(), 255);
    EXPECT_TRUE(dialog->getListenerContainer().isInputEnabled());
    EXPECT_TRUE(dialog->isInputEnabled());
    EXPECT_FALSE(dialog->isUsingBuffer());
}

TEST_F(DialogOrvantaTest, ClosesAfterItsFadeOutRunsItsCallbackOnceAndIsBuiltAnew) {
    Scene& scene = startScene(kBaseDialogDefinitions);
    auto* dialog = kindCast<DialogOrvanta>(scene.getDialog("DIALOG_PLAIN"));
    scene.showDialog(dialog);
    runFrames(2, kFadeMs);
    playedSounds().clear();

    dialog->setAfterClose(&countBaseAfterClose, nullptr);
    const RefPtr<DialogOrvanta> keep(dialog);
    DialogOrvanta::justClose(dialog, nullptr);
    DialogOrvanta::justClose(dialog, nullptr); // a second close (a timer and OK) does nothing
    EXPECT_FALSE(dialog->getListenerContainer().isInputEnabled());
    EXPECT_EQ(dialog->getContext(), dialog);

    runFrames(1, kFadeMs / 2);
    EXPECT_TRUE(isOpen(scene, dialog));
    EXPECT_EQ(baseAfterCloseCalls, 0);

    runFrames(1, kFadeMs / 2);
    EXPECT_FALSE(isOpen(scene, dialog));
    EXPECT_EQ(scene.findDialog("DIALOG_PLAIN"), nullptr);
    EXPECT_EQ(baseAfterCloseCalls, 1);
    EXPECT_EQ(afterCloseArgument, dialog);
    EXPECT_EQ(screen_.closed, std::vector<Dialog*>{dialog});
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"SOUND_DIALOG_HIDE"});

    runFrames(3, kFadeMs);
    EXPECT_EQ(baseAfterCloseCalls, 1);
    Dialog* again = scene.getDialog("DIALOG_PLAIN");
    EXPECT_NE(again, dialog);
}

TEST_F(DialogOrvantaTest, ALateCloseNeverHitsANewerDialogOfTheSameName) {
    Scene& scene = startScene(kBaseDialogDefinitions);
    auto* old = kindCast<DialogOrvanta>(scene.getDialog("DIALOG_PLAIN"));
    const RefPtr<DialogOrvanta> keepOld(old);
    scene.showDialog(old);
    DialogOrvanta::close(old);
    // The entry is replaced while the old dialog still fades out.
    closeDialogOfCurrentScene("DIALOG_PLAIN");
    auto* newer = kindCast<DialogOrvanta>(scene.getDialog("DIALOG_PLAIN"));
    ASSERT_NE(newer, old);
    scene.showDialog(newer);

    runFrames(3, kFadeMs);
    EXPECT_TRUE(isOpen(scene, newer));
    EXPECT_EQ(scene.findDialog("DIALOG_PLAIN"), newer);
}

TEST_F(DialogOrvantaTest, NotifiesOnlyThePlayingScreenOfAnOpening) {
    Scene& scene = startScene(kBaseDialogDefinitions, "SCENE_TEST", false);
    Dialog* dialog = scene.getDialog("DIALOG_PLAIN");
    scene.showDialog(dialog);
    EXPECT_TRUE(screen_.opened.empty());
}

TEST_F(DialogOrvantaTest, ADarkenedDialogVeilsTheWholeWindowAndKeepsItsPartsInPlace) {
    Scene& scene = startScene(kBaseDialogDefinitions);
    auto* dialog = kindCast<DialogOrvanta>(scene.getDialog("DIALOG_DARK"));
    ASSERT_TRUE(dialog->getDarkenBackground());
    scene.showDialog(dialog);

    EXPECT_EQ(dialog->getX(), 0);
    EXPECT_EQ(dialog->getY(), 0);
    EXPECT_EQ(dialog->getWidth(), 800);
    EXPECT_EQ(dialog->getHeight(), 600);
    EXPECT_EQ(dialog->getComponentRoot()->getAbsoluteX(), 300);
    EXPECT_EQ(dialog->getComponentRoot()->getAbsoluteY(), 200);
    EXPECT_FALSE(dialog->isMovable());
}

// A frame that is partly see-through (a dialog's rounded corners and soft
// shadow) darkens as much as the veil beside it, never less.
TEST_F(DialogOrvantaTest, TheVeilStaysDarkUnderTheSeeThroughPartsOfTheFrame) {
    Scene& scene = startScene(kBaseDialogDefinitions);
    auto* dialog = kindCast<DialogOrvanta>(scene.getDialog("DIALOG_SHEER"));
    scene.showDialog(dialog);
    Image* veil = dialog->getBackground();
    ASSERT_NE(veil, nullptr);
    ASSERT_EQ(veil->getFormat(), kFormatArgb32);
    ASSERT_TRUE(veil->lock());
    const auto pixel = [veil](int x, int y) {
        return reinterpret_cast<const std::uint32_t*>(veil->getPixels() + y * veil->getPitch())[x];
    };
    const std::uint32_t beside = pixel(100, 100);
    const std::uint32_t under = pixel(400, 260);
    veil->unlock();
    EXPECT_EQ(beside >> 24U, 140U);
    EXPECT_EQ(under >> 24U, 140U) << "the frame's pixel cut a hole in the veil";
    // The frame's white shows through its cover of a quarter over the black.
    EXPECT_NEAR(static_cast<int>(under & 0xFFU), 0x40, 2);
}

} // namespace
} // namespace orv::test
