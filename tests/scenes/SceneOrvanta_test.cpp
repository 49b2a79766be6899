#include "game/scenes/SceneOrvanta.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/scene/SceneManager.h"
#include "game/board/Game.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogNotice.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/players/PlayerNotices.h"
#include "game/scenes/BuildingServices.h"
#include "game/scenes/GameSceneClasses.h"
#include "tests/board/GameFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orv::test {
namespace {

// The saved games are the board fixture's files: a place has one when its
// file is there.
class SavedGameServices : public NullBuildingServices {
public:
    explicit SavedGameServices(const TempDir& folder) : folder_(folder) {}
    bool hasSavedGame(int gameMode) override {
        return std::filesystem::exists(folder_.file("saved" + std::to_string(gameMode) + ".xml"));
    }
    void releaseSavedGame() override { ++released; }

    int released = 0;

private:
    const TempDir& folder_;
};

// A lobby, a casino and a stand-in playing screen, all plain building
// scenes, and the yes/no question; the player arrives in the casino.
class SavedGameQuestion : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        registerGuiClasses();
        registerDialogClasses();
        registerGameSceneClasses();
        writeFile(folder_.path() / "defs.xml", R"(<Defs>
<Scenes id="scenes">
  <SceneOrvanta id="SCENE_LOBBY" width="800" height="600"/>
  <SceneOrvanta id="SCENE_CASINO" width="800" height="600"/>
  <SceneOrvanta id="SCENE_GAME" width="800" height="600"/>
</Scenes>
<Dialogs id="dialogs">
  <DialogYesNo id="DIALOG_YESNO" width="200" height="100">
    <Vector id="components">
      <Button name="BUTTON_YES" x="60" y="30" width="50" height="20"/>
      <Button name="BUTTON_NO" x="140" y="30" width="50" height="20"/>
    </Vector>
  </DialogYesNo>
  <DialogNotice id="DIALOG_NOTICE" width="200" height="100">
    <Vector id="components">
      <Label name="MESSAGE" x="10" y="10" width="180"/>
      <Button name="BUTTON_OK" x="60" y="60" width="50" height="20"/>
    </Vector>
  </DialogNotice>
</Dialogs></Defs>)");
        getDefinitionStore().addFile(folder_.file("defs.xml"));
        getDefinitionStore().load();
        manager_ = SceneManager::create();
        for (const char* name : {"SCENE_LOBBY", "SCENE_CASINO", "SCENE_GAME"}) {
            ASSERT_NE(manager_->addScene(name), nullptr) << name;
        }
        casino_ = kindCast<SceneOrvanta>(manager_->getScene("SCENE_CASINO"));
        setBuildingServices(&buildingServices_);
        SceneOrvanta::clearFailedResumes();
        clearPlayerNotices();
    }
    void TearDown() override {
        clearPlayerNotices();
        setBuildingServices(nullptr);
        SceneOrvanta::clearFailedResumes();
        SceneManager::destroyInstance();
        destroyDefinitionStore();
        GameTest::TearDown();
    }

    // Shows `from`, then the casino, which offers its saved game (mode 1).
    void arrive(std::string_view from) {
        manager_->setNextScene(manager_->getScene(from));
        manager_->run(0);
        manager_->setNextScene(casino_);
        manager_->run(0);
        ASSERT_EQ(manager_->getCurrentScene(), casino_);
        SceneOrvanta::offerSavedGame(1, *casino_);
    }
    [[nodiscard]] DialogYesNo* question() const {
        return casino_->isDialogOpen(kSavedGameQuestion)
                   ? kindCast<DialogYesNo>(casino_->findDialog(kSavedGameQuestion))
                   : nullptr;
    }
    // A Classic game of four pairs with one pair played, saved as mode 1.
    void keepSavedGame() {
        Game& game = startClassic(makeLayout({{0, 0, 0},
                                              {4, 0, 0},
                                              {8, 0, 0},
                                              {12, 0, 0},
                                              {0, 4, 0},
                                              {4, 4, 0},
                                              {8, 4, 0},
                                              {12, 4, 0}})
                                      .get());
        TileList pair;
        ASSERT_TRUE(game.pickHint(pair));
        clickOn(game, pair[0].get());
        clickOn(game, pair[1].get());
        services.saveGame(1, game);
        Game::destroyCurrent();
    }

    TempDir folder_;
    SavedGameServices buildingServices_{services.folder};
    SceneManager* manager_ = nullptr;
    SceneOrvanta* casino_ = nullptr;
};

TEST_F(SavedGameQuestion, IsAskedOnlyOnArrivalFromTheLobbyOrElevatorWithASavedGame) {
    struct Case {
        const char* from;
        bool saved;
        bool asked;
    };
    const Case cases[] = {
        {"SCENE_LOBBY", true, true},
        {"SCENE_LOBBY", false, false},
        {"SCENE_GAME", true, false}, // back from a level that was left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + (c.saved ? " saved" : ""));
        std::filesystem::remove(services.folder.file("saved1.xml"));
        if (c.saved) {
            keepSavedGame();
        }
        arrive(c.from);
        EXPECT_EQ(question() != nullptr, c.asked);
        if (question() != nullptr) {
            EXPECT_EQ(casino_->getTag(), 1);
            casino_->closeDialog(question());
        }
    }
}

TEST_F(SavedGameQuestion, YesResumesTheSavedGameAndMovesToThePlayingScreen) {
    keepSavedGame();
    arrive("SCENE_LOBBY");
    ASSERT_NE(question(), nullptr);
    question()->getYesButton()->call(question()->getYesButton());

    EXPECT_EQ(question(), nullptr);
    EXPECT_EQ(buildingServices_.released, 1) << "the profile's old saved game is dropped";
    ASSERT_NE(Game::getCurrent(), nullptr);
    EXPECT_EQ(Game::getCurrent()->getLayout()->getTileCount(), 6);
    manager_->run(0);
    EXPECT_EQ(manager_->getCurrentScene(), manager_->getScene("SCENE_GAME"));
}

TEST_F(SavedGameQuestion, ASaveThatCannotBeResumedStaysInThePlaceAndIsNotOfferedAgain) {
    services.saveText(1, "<r><GameClassic id=\"game\"/></r>"); // no level, no board
    arrive("SCENE_LOBBY");
    ASSERT_NE(question(), nullptr);
    question()->getYesButton()->call(question()->getYesButton());

    EXPECT_EQ(question(), nullptr);
    EXPECT_EQ(Game::getCurrent(), nullptr);
    EXPECT_TRUE(casino_->isDialogOpen(DialogNotice::kName)) << "the player is told why";
    manager_->run(0);
    EXPECT_EQ(manager_->getCurrentScene(), casino_);
    arrive("SCENE_LOBBY");
    EXPECT_EQ(question(), nullptr);
}

TEST_F(SavedGameQuestion, APlaceShownTellsThePlayerWhatWaits) {
    postPlayerNotice({PlayerNoticeKind::ProgressNotSaved, {}, "~/players", {}});
    manager_->setNextScene(manager_->getScene("SCENE_LOBBY"));
    manager_->run(0);
    EXPECT_TRUE(manager_->getScene("SCENE_LOBBY")->isDialogOpen(DialogNotice::kName));
    EXPECT_FALSE(hasPlayerNotice());
}

TEST_F(SavedGameQuestion, NoAndLeavingThePlaceCloseTheQuestionAndKeepTheSave) {
    keepSavedGame();
    arrive("SCENE_LOBBY");
    ASSERT_NE(question(), nullptr);
    question()->getNoButton()->call(question()->getNoButton());
    for (int i = 0; i < 20; ++i) { // the question fades out
        manager_->run(50);
    }
    EXPECT_EQ(question(), nullptr);
    EXPECT_EQ(Game::getCurrent(), nullptr);

    arrive("SCENE_LOBBY");
    ASSERT_NE(question(), nullptr) << "the save is still there";
    manager_->setNextScene(manager_->getScene("SCENE_LOBBY"));
    manager_->run(0);
    manager_->run(0);
    EXPECT_EQ(question(), nullptr) << "a place left takes its question away";
    EXPECT_TRUE(buildingServices_.hasSavedGame(1));
}

} // namespace
} // namespace orv::test
