#include "game/scenes/SceneLobby.h"

#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Messages.h"
#include "game/dialogs/DialogClasses.h"
#include "game/dialogs/DialogNameInput.h"
#include "game/scenes/GameSceneClasses.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The greeting names the current player; with no player yet it ends where
// the name would have stood, without a dangling comma.
TEST(LobbyWelcome, NamesThePlayerOrEndsCleanlyWithoutOne) {
    BasicProperties::create().getTextEntry("TEXT_WELCOME_QUENBY") = L"Welcome to the Quenby,";
    EXPECT_EQ(SceneLobby::welcomeText("Ann"), L"Welcome to the Quenby, Ann");
    EXPECT_EQ(SceneLobby::welcomeText(""), L"Welcome to the Quenby");
    BasicProperties::destroyInstance();
}

// A bare lobby with the name question and the yes/no question; no players
// (the null building services).
class LobbyFlow : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        registerDialogClasses();
        registerGameSceneClasses();
        BasicProperties::create();
        test::writeFile(folder_.path() / "lobby.xml", R"(<Defs>
<Scenes id="scenes"><SceneLobby id="SCENE_LOBBY" width="800" height="600"/></Scenes>
<Dialogs id="dialogs">
  <DialogNameInput id="DIALOG_NEWPLAYER" width="300" height="200">
    <Vector id="components">
      <Button name="BUTTON_OK" x="20" y="140" width="100" height="30"/>
      <Button name="BUTTON_CANCEL" x="180" y="140" width="100" height="30"/>
    </Vector>
  </DialogNameInput>
  <DialogYesNo id="DIALOG_YESNO" width="200" height="100"/>
</Dialogs></Defs>)");
        getDefinitionStore().addFile(folder_.file("lobby.xml"));
        getDefinitionStore().load();
        SceneManager* manager = SceneManager::create();
        lobby_ = kindCast<SceneLobby>(manager->addScene("SCENE_LOBBY"));
        ASSERT_NE(lobby_, nullptr);
        manager->setNextScene(lobby_);
        manager->run(0);
    }
    void TearDown() override {
        setPlayerGreeting(nullptr);
        SceneManager::destroyInstance();
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
    }

    test::TempDir folder_;
    SceneLobby* lobby_ = nullptr;
};

// The first start has no player: the lobby asks for a name at once, and the
// question offers no way out.
TEST_F(LobbyFlow, WithoutPlayersAsksForANameThatCannotBeDeclined) {
    ASSERT_TRUE(lobby_->isDialogOpen("DIALOG_NEWPLAYER"));
    auto* input = kindCast<DialogNameInput>(lobby_->findDialog("DIALOG_NEWPLAYER"));
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->getCancelButton(), nullptr);
    DialogNameInput::onCancel(input, nullptr);
    EXPECT_TRUE(lobby_->isDialogOpen("DIALOG_NEWPLAYER"));
}

// Escape in the lobby asks the quit question, as the quit button does; with
// a question open the key goes to the question instead.
TEST_F(LobbyFlow, EscapeAsksTheQuitQuestion) {
    closeDialogOfCurrentScene("DIALOG_NEWPLAYER");
    EXPECT_TRUE(lobby_->onKeyUp(static_cast<int>(platform::VK_ESCAPE)));
    EXPECT_TRUE(lobby_->isDialogOpen(kQuitQuestion));
    EXPECT_FALSE(lobby_->onKeyUp('A'));
}

// The loading screen's section goes when the lobby is first left (the
// floors never need it), and stays gone when it opens again; the pictures
// every screen shares stay.
TEST_F(LobbyFlow, LeavingTheLobbyDropsTheLoadingScreensSection) {
    ResourceManager* resources = ResourceManager::create();
    resources->addSection(new ResourceSection("preloading"));
    resources->addSection(new ResourceSection("common"));
    ASSERT_NE(resources->findSection("preloading"), nullptr);
    lobby_->close();
    EXPECT_EQ(resources->findSection("preloading"), nullptr);
    EXPECT_NE(resources->findSection("common"), nullptr);
    lobby_->open();
    EXPECT_EQ(resources->findSection("preloading"), nullptr);
    EXPECT_NE(resources->findSection("common"), nullptr);
    ResourceManager::destroyInstance();
}

} // namespace
} // namespace orv
