#include "engine/gui/GuiClasses.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyNode.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Sprite.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogHooks.h"
#include "game/screen/BackgroundChoice.h"
#include "game/screen/TimeBar.h"
#include "tests/screen/SceneGameFixture.h"

#include <optional>
#include <string>
#include <vector>

namespace orv::test {
namespace {

// A current player whose tutorial is on.
class TutorialPlayer : public PlayerHook {
public:
    std::optional<std::wstring> getPlayerName() override { return L"Ada"; }
    std::optional<bool> getShowHints() override { return true; }
    void setShowHints(bool /*show*/) override {}
    BestResult getBest(const Level& /*level*/) override { return {}; }
    bool isBestBetweenSilverAndGold(const Level& /*level*/) override { return false; }
};

class SceneGameTutorialTest : public SceneGameTest {
protected:
    void SetUp() override {
        SceneGameTest::SetUp();
        registerGuiClasses();
        registerDialogClasses();
        getDefinitionStore().getDialogs()->add(new PropertyNode("DIALOG_HINT", "DialogHint"));
        setPlayerHook(&player_);
        services.pendingHints.insert(16);
    }
    void TearDown() override {
        DialogHint::releaseCurrent();
        setPlayerHook(nullptr);
        SceneGameTest::TearDown();
    }
    // A level with plenty of time whose clock is then set to a fifth.
    void enterShortOfTime() {
        enter(R"(playTime="100000")");
        stepUntilPlaying();
        auto* tube = new Sprite(700, 100, 30, 200);
        tube->setName("TIMEBAR_BACKGROUND");
        scene->addComponent(tube);
        scene->getTimeBar()->getTime().reset(20000);
    }

    TutorialPlayer player_;
};

TEST_F(SceneGameTutorialTest, BoardHintsComeWithinTwentyTwoFramesButNotUnderADialog) {
    enterShortOfTime();
    RefPtr<Dialog> cover(new Dialog(new PropertyNode("COVER", "Dialog")));
    scene->dialogOpened(cover.get());
    for (int i = 0; i < 60; ++i) {
        frame(16);
    }
    EXPECT_FALSE(DialogHint::isHintOpen()) << "a dialog covers the board";
    EXPECT_EQ(services.pendingHints.count(16), 1U);

    scene->dialogClosed(cover.get());
    int frames = 0;
    while (!DialogHint::isHintOpen() && frames < 40) {
        frame(16);
        ++frames;
    }
    ASSERT_TRUE(DialogHint::isHintOpen());
    EXPECT_LE(frames, 22);
    EXPECT_EQ(DialogHint::getOpenHint()->getHint(), 16);
    EXPECT_TRUE(scene->isGameHeld()) << "the bubble holds the game";
    EXPECT_EQ(services.pendingHints.count(16), 0U) << "shown once";
}

TEST_F(SceneGameTutorialTest, NoHintWhenThePlayersHintIsDone) {
    enterShortOfTime();
    services.pendingHints.clear();
    for (int i = 0; i < 60; ++i) {
        frame(16);
    }
    EXPECT_FALSE(DialogHint::isHintOpen());
    EXPECT_FALSE(scene->isGameHeld());
}

struct BackgroundCase {
    int gameType;
    int choice;
    const char* name;
    const char* section;
};

TEST(BackgroundChoice, TheChoiceOrTheGameTypeNamesThePicture) {
    const std::vector<BackgroundCase> cases = {
        {0, 0, "BACKGROUND1", "manual"},
        {5, 0, "BACKGROUND6", "manual"},
        {2, 3, "BACKGROUND_CUSTOM3", "manual"},
        {0, 10, "BACKGROUND_CUSTOM10", "manual"},
        {1, 11, "BACKGROUND2", "manual"},
        {1, -4, "BACKGROUND2", "manual"},
        {6, 0, "", ""},
        {-1, 2, "BACKGROUND_CUSTOM2", "manual"},
    };
    for (const BackgroundCase& c : cases) {
        const BackgroundPicture picture = chooseBackground(c.gameType, c.choice);
        EXPECT_EQ(picture.name, c.name) << c.gameType << " " << c.choice;
        EXPECT_EQ(picture.section, c.section) << c.gameType << " " << c.choice;
    }
}

} // namespace
} // namespace orv::test
