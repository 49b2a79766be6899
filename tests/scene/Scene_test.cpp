#include "engine/core/GameTree.h"
#include "engine/platform/GameWindow.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceObject.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "tests/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

using test::CountedDialog;
using test::ProbeButton;
using test::ProbeScene;

class SceneTest : public test::SceneFixture {
protected:
    // SCENE_ONE made current by the scene manager on a bare window.
    void SetUp() override {
        SceneFixture::SetUp();
        loadDefinitions(test::kSceneDefinitions);
        window_ = &bareWindow();
        manager_ = SceneManager::create();
        scene_ = kindCast<ProbeScene>(manager_->addScene("SCENE_ONE"));
        ASSERT_NE(scene_, nullptr);
        manager_->setNextScene(scene_);
        manager_->run(16);
    }
    ProbeButton* button(Scene* scene, std::string_view name) const {
        return kindCast<ProbeButton>(scene->findComponent(name));
    }
    ProbeButton* button(Dialog* dialog, std::string_view name) const {
        return kindCast<ProbeButton>(dialog->findComponent(name));
    }
    std::vector<GameNode*> layerChildren() const {
        std::vector<GameNode*> children;
        for (GameNode* node = scene_->getDialogLayer()->getFirstChild(); node != nullptr;
             node = node->getNextSibling()) {
            children.push_back(node);
        }
        return children;
    }

    GameWindow* window_ = nullptr;
    SceneManager* manager_ = nullptr;
    ProbeScene* scene_ = nullptr;
};

TEST_F(SceneTest, FirstOpenBuildsTheSceneComponentsOnce) {
    EXPECT_EQ(scene_->getName(), "SCENE_ONE");
    EXPECT_EQ(scene_->getState(), SceneState::Current);
    ASSERT_NE(scene_->findComponent("LOGO"), nullptr);
    ASSERT_NE(button(scene_, "FLOOR"), nullptr);
    EXPECT_TRUE(logged("is not a node")); // the Integer among them
    EXPECT_EQ(layerChildren(), std::vector<GameNode*>{scene_->getComponentRoot()});
    EXPECT_TRUE(window_->getMessageHandler()->hasHook(scene_->getInputHandler()));

    scene_->hide();
    scene_->open();
    EXPECT_EQ(scene_->opened, 2);
    EXPECT_EQ(scene_->backgroundsSet, 1);
    int components = 0;
    for (GameNode* node = scene_->getComponentRoot()->getFirstChild(); node != nullptr;
         node = node->getNextSibling()) {
        ++components;
    }
    EXPECT_EQ(components, 2);
}

TEST_F(SceneTest, DialogsAreBuiltByNameOnceAndKeptUnderTheirInstanceName) {
    Dialog* first = scene_->getDialog("DIALOG_COUNTED");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(scene_->getDialog("DIALOG_COUNTED"), first);
    EXPECT_EQ(CountedDialog::built, 1);
    Dialog* second = scene_->getDialog("DIALOG_COUNTED", "SECOND");
    EXPECT_NE(second, first);
    EXPECT_EQ(CountedDialog::built, 2);
    EXPECT_EQ(scene_->findDialog("SECOND"), second);
    EXPECT_EQ(scene_->findDialog("DIALOG_MENU"), nullptr); // never built by a lookup
}

TEST_F(SceneTest, DialogNamesThatBuildNoDialogGiveNoneAndALogLine) {
    for (const char* name : {"DIALOG_NOWHERE", "DIALOG_SPRITE"}) {
        log_.clear();
        EXPECT_EQ(scene_->getDialog(name), nullptr) << name;
        EXPECT_EQ(scene_->findDialog(name), nullptr) << name;
        EXPECT_TRUE(logged(name)) << name;
    }
    EXPECT_TRUE(scene_->getDialogMap().empty());
    scene_->showDialog(nullptr);
    scene_->closeDialog(nullptr);
    EXPECT_TRUE(scene_->getOpenDialogs().empty());
}

TEST_F(SceneTest, TheDialogShownLastIsDrawnOnTopAndTakesEveryEvent) {
    Dialog* menu = scene_->getDialog("DIALOG_MENU");
    Dialog* ask = scene_->getDialog("DIALOG_ASK");
    ASSERT_TRUE(menu->bindComponent("MENU_OK", nullptr, nullptr));
    ASSERT_TRUE(ask->bindComponent("ASK_OK", nullptr, nullptr));
    ASSERT_TRUE(scene_->bindComponent("FLOOR", nullptr, nullptr));
    scene_->showDialog(menu);
    scene_->showDialog(ask);
    EXPECT_EQ(menu->getX(), 250); // centred on opening
    EXPECT_EQ(layerChildren(), (std::vector<GameNode*>{scene_->getComponentRoot(), menu, ask}));
    ASSERT_EQ(scene_->getOpenDialogs().size(), 2U);
    EXPECT_EQ(scene_->getOpenDialogs().front(), ask);

    // A click on the menu (and off the small dialog) still ends at the top
    // dialog, which swallows it.
    InputHandler& input = *scene_->getInputHandler();
    input.onLeftButtonDown(300, 250, 0, false);
    EXPECT_EQ(button(ask, "ASK_OK")->offered, 1);
    EXPECT_EQ(button(menu, "MENU_OK")->offered, 0);
    EXPECT_EQ(button(scene_, "FLOOR")->offered, 0);

    scene_->closeDialog(ask);
    EXPECT_FALSE(scene_->isDialogOpen("DIALOG_ASK"));
    EXPECT_EQ(scene_->findDialog("DIALOG_ASK"), ask); // kept for the next show
    input.onLeftButtonDown(300, 250, 0, false);
    EXPECT_EQ(button(menu, "MENU_OK")->offered, 1);
    EXPECT_EQ(button(ask, "ASK_OK")->offered, 1);

    scene_->closeDialog(menu);
    input.onLeftButtonDown(300, 250, 0, false);
    EXPECT_EQ(button(scene_, "FLOOR")->offered, 1);
    scene_->getPurgeTask()->run(0);
    EXPECT_EQ(layerChildren(), std::vector<GameNode*>{scene_->getComponentRoot()});
    EXPECT_EQ(ask->getParent(), nullptr);
}

TEST_F(SceneTest, ShowingAnOpenDialogAgainMovesItToTheTopOnce) {
    Dialog* menu = scene_->getDialog("DIALOG_MENU");
    Dialog* ask = scene_->getDialog("DIALOG_ASK");
    scene_->showDialog(menu);
    scene_->showDialog(ask);
    scene_->showDialog(menu);
    ASSERT_EQ(scene_->getOpenDialogs().size(), 2U);
    EXPECT_EQ(scene_->getOpenDialogs().front(), menu);
    EXPECT_EQ(layerChildren().back(), menu);
    EXPECT_EQ(scene_->getInputHandler()->getListenerContainer().getListeners().front(),
              &menu->getListenerContainer());

    scene_->closeDialog(menu); // one close is enough
    EXPECT_FALSE(scene_->isDialogOpen("DIALOG_MENU"));
    EXPECT_FALSE(scene_->getInputHandler()->getListenerContainer().hasListener(
        &menu->getListenerContainer()));
    EXPECT_TRUE(scene_->isDialogOpen("DIALOG_ASK"));
}

TEST_F(SceneTest, ShowingADialogKeepsTheFullScreenButtonsOnTop) {
    static std::vector<Scene*> refreshed;
    refreshed.clear();
    setFullScreenRefresh([](Scene* scene) { refreshed.push_back(scene); });
    scene_->showDialog(scene_->getDialog("DIALOG_MENU"));
    setFullScreenRefresh(nullptr);
    scene_->showDialog(scene_->getDialog("DIALOG_ASK"));
    EXPECT_EQ(refreshed, std::vector<Scene*>{scene_});
}

TEST_F(SceneTest, GettingAnOpenDialogClosesItFirst) {
    Dialog* menu = scene_->getDialog("DIALOG_MENU");
    scene_->showDialog(menu);
    ASSERT_TRUE(scene_->isDialogOpen("DIALOG_MENU"));
    EXPECT_EQ(scene_->getDialog("DIALOG_MENU"), menu);
    EXPECT_FALSE(scene_->isDialogOpen("DIALOG_MENU"));
    EXPECT_FALSE(menu->getListenerContainer().isInputEnabled());
    EXPECT_FALSE(scene_->getInputHandler()->getListenerContainer().hasListener(
        &menu->getListenerContainer()));
}

TEST_F(SceneTest, ClosingByNameInTheCurrentSceneForgetsTheDialog) {
    RefPtr<Dialog> menu = scene_->getDialog("DIALOG_MENU");
    scene_->showDialog(menu.get());
    closeDialogOfCurrentScene("DIALOG_MENU");
    closeDialogOfCurrentScene("DIALOG_NOWHERE");
    EXPECT_EQ(scene_->findDialog("DIALOG_MENU"), nullptr);
    EXPECT_TRUE(scene_->getOpenDialogs().empty());
    EXPECT_TRUE(menu->hasRemovalMark());
    scene_->getPurgeTask()->run(0);
    EXPECT_EQ(menu->getRefCount(), 1); // only this test still holds it
}

TEST_F(SceneTest, HidingTakesTheInputAwayAndPurges) {
    GameNode* logo = scene_->findComponent("LOGO");
    logo->setRemovalMark(true);
    scene_->hide();
    EXPECT_FALSE(scene_->getListenerContainer().isInputEnabled());
    EXPECT_FALSE(window_->getMessageHandler()->hasHook(scene_->getInputHandler()));
    EXPECT_EQ(scene_->findComponent("LOGO"), nullptr);

    // Input that arrived while hidden is dropped when the scene opens again.
    scene_->getInputHandler()->onWindowMessage(platform::WM_KEYDOWN, 27, 0);
    scene_->open();
    EXPECT_EQ(scene_->getInputHandler()->getQueuedCount(), 0U);
    EXPECT_TRUE(scene_->getListenerContainer().isInputEnabled());
}

// A resource that holds an image made by the test, loaded from the start.
class HeldImage : public ResourceObject {
public:
    explicit HeldImage(Image* image) : ResourceObject(nullptr), image_(image) { markLoaded(); }
    void load() override { markLoaded(); }
    [[nodiscard]] BaseObject* getHeldObject() const override { return image_.get(); }

private:
    RefPtr<Image> image_;
};

class SceneBackgroundTest : public test::SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        loadDefinitions(test::kSceneDefinitions);
        picture_ = test::solidImage(40, 30, 0xFF336699U);
        auto* section = new ResourceSection("scene");
        section->addObject("BG", new HeldImage(picture_.get()));
        ResourceManager::create()->addSection(section);
        manager_ = SceneManager::create();
    }
    void TearDown() override {
        SceneManager::destroyInstance();
        ResourceManager::destroyInstance();
        SceneFixture::TearDown();
    }

    RefPtr<Image> picture_;
    SceneManager* manager_ = nullptr;
};

TEST_F(SceneBackgroundTest, ScenesAndDialogsTakeTheirPicturesFromTheResources) {
    Scene* scene = manager_->addScene("SCENE_PICTURE");
    EXPECT_EQ(scene->getBackground(), nullptr); // taken when first opened
    manager_->setNextScene(scene);
    manager_->run(16);
    EXPECT_EQ(scene->getBackground(), picture_.get());
    RefPtr<Image> target = test::solidImage(50, 50, 0xFF000000U);
    scene->render(*createGraphics(*target)); // a plain copy at the origin
    EXPECT_EQ(test::pixelAt(*target, 39, 29), 0xFF336699U);
    EXPECT_EQ(test::pixelAt(*target, 40, 30), 0xFF000000U);

    Dialog* dialog = scene->getDialog("DIALOG_PICTURE");
    EXPECT_EQ(dialog->getBackground(), picture_.get());
    EXPECT_EQ(dialog->getWidth(), 40); // sized to its picture
    EXPECT_EQ(dialog->getHeight(), 30);
}

TEST_F(SceneBackgroundTest, MissingPicturesAreLoggedAndLeaveTheSizeAlone) {
    Scene* scene = manager_->addScene("SCENE_NO_PICTURE");
    manager_->setNextScene(scene);
    manager_->run(16);
    EXPECT_EQ(scene->getBackground(), nullptr);
    Dialog* dialog = scene->getDialog("DIALOG_NO_PICTURE");
    EXPECT_EQ(dialog->getBackground(), nullptr);
    EXPECT_EQ(dialog->getWidth(), 5);
    EXPECT_TRUE(logged("NOPE"));
}

// A scene whose background is missing or smaller than the target still
// leaves nothing of the previous frame: the uncovered part is black.
TEST_F(SceneBackgroundTest, NoFrameShowsThePreviousOne) {
    Scene* plain = manager_->addScene("SCENE_NO_PICTURE");
    Scene* small = manager_->addScene("SCENE_PICTURE");
    for (Scene* scene : {plain, small}) {
        manager_->setNextScene(scene);
        manager_->run(16);
        RefPtr<Image> target = test::solidImage(50, 50, 0xFFFFFFFFU); // the previous frame
        const RefPtr<Graphics> graphics = createGraphics(*target);
        graphics->setColor(0x80102030U);
        scene->render(*graphics);
        EXPECT_EQ(test::pixelAt(*target, 45, 45), 0xFF000000U) << scene->getName();
        EXPECT_EQ(test::pixelAt(*target, 0, 0), scene == small ? 0xFF336699U : 0xFF000000U);
        EXPECT_EQ(graphics->getColor(), 0x80102030U) << "the drawing state is kept";
    }
}

} // namespace
} // namespace orv
