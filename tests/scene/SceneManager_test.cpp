#include "engine/core/GameTree.h"
#include "engine/platform/GameWindow.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Messages.h"
#include "tests/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::events;
using test::ProbeScene;
using test::ProbeSprite;
using test::ProbeToolTip;
using test::ProbeTransition;

class SceneManagerTest : public test::SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        loadDefinitions(test::kSceneDefinitions);
        manager_ = SceneManager::create();
        one_ = kindCast<ProbeScene>(manager_->addScene("SCENE_ONE"));
        two_ = kindCast<ProbeScene>(manager_->addScene("SCENE_TWO"));
        ASSERT_NE(one_, nullptr);
        ASSERT_NE(two_, nullptr);
    }
    // Makes `scene` current and lets it run one frame of its own.
    void showFirst(Scene* scene) {
        manager_->setNextScene(scene);
        manager_->run(16);
        events().clear();
    }
    [[nodiscard]] bool hooked(Scene* scene) const {
        return GameWindow::getInstance()->getMessageHandler()->hasHook(scene->getInputHandler());
    }

    SceneManager* manager_ = nullptr;
    ProbeScene* one_ = nullptr;
    ProbeScene* two_ = nullptr;
};

TEST_F(SceneManagerTest, AFrameWithoutScenesDoesNothing) {
    manager_->run(16);
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(manager_->getCurrentScene(), nullptr);
    EXPECT_EQ(one_->getState(), SceneState::New);
}

TEST_F(SceneManagerTest, SwitchesAtTheFrameStartAndHidesTheOldSceneOneFrameLater) {
    bareWindow();
    manager_->setNextScene(one_);
    manager_->run(16); // the first scene opens and runs in the same frame
    EXPECT_EQ(events(), std::vector<std::string>{"update SCENE_ONE"});
    EXPECT_EQ(one_->getState(), SceneState::Current);
    events().clear();

    manager_->setNextScene(two_);
    EXPECT_EQ(manager_->getCurrentScene(), one_); // nothing before the frame
    manager_->run(16);                            // frame A: the switch only
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(manager_->getCurrentScene(), two_);
    EXPECT_EQ(manager_->getPrevious(), one_);
    EXPECT_EQ(two_->getState(), SceneState::Current);
    EXPECT_EQ(one_->getState(), SceneState::Current);
    EXPECT_TRUE(hooked(one_));
    EXPECT_TRUE(hooked(two_));

    manager_->run(16); // frame A+1: the old scene goes, the new one runs
    EXPECT_EQ(one_->getState(), SceneState::Hidden);
    EXPECT_FALSE(hooked(one_));
    EXPECT_FALSE(one_->getListenerContainer().isInputEnabled());
    EXPECT_EQ(events(), std::vector<std::string>{"update SCENE_TWO"});

    manager_->setNextScene(one_); // back again: opened, not built again
    manager_->run(16);
    manager_->run(16);
    EXPECT_EQ(one_->opened, 2);
    EXPECT_EQ(one_->backgroundsSet, 1);
    EXPECT_EQ(two_->getState(), SceneState::Hidden);
}

TEST_F(SceneManagerTest, ASwitchAskedInTheFrameASceneBecameCurrentWaitsAFrame) {
    one_->requestOnUpdate = two_;
    manager_->setNextScene(one_);
    manager_->run(16);
    EXPECT_EQ(manager_->getCurrent(), one_);
    EXPECT_EQ(manager_->getNext(), two_);
    manager_->run(16);
    EXPECT_EQ(manager_->getCurrent(), two_);
}

TEST_F(SceneManagerTest, SwitchingToTheSceneShownIsDropped) {
    bareWindow();
    showFirst(one_);
    manager_->setNextScene(one_);
    manager_->run(16);
    manager_->run(16);
    EXPECT_EQ(manager_->getNext(), nullptr);
    EXPECT_EQ(one_->getState(), SceneState::Current);
    EXPECT_EQ(one_->opened, 1);
    EXPECT_TRUE(hooked(one_));
    EXPECT_TRUE(one_->getListenerContainer().isInputEnabled());
}

TEST_F(SceneManagerTest, RunsInputUpdateMoveDrawingToolTipAndPurgeInThatOrder) {
    GameWindow* window = createGameWindow("Scene test", 800, 600, false, 4, 0);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->getGraphics(), nullptr);
    RefPtr<ProbeToolTip> toolTip(new ProbeToolTip());
    manager_->setToolTip(toolTip.get());
    showFirst(one_);
    auto* sprite = new ProbeSprite();
    sprite->removeOnUpdate = true;
    one_->addComponent(sprite);
    const RefPtr<ProbeSprite> keep(sprite);

    one_->getInputHandler()->onWindowMessage(platform::WM_MOUSEMOVE, 0, platform::packPoint(5, 5));
    manager_->run(16);
    // The sprite marked itself while moving: not drawn, gone after the purge.
    EXPECT_EQ(events(),
              (std::vector<std::string>{"input SCENE_ONE", "update SCENE_ONE", "move", "tooltip"}));
    EXPECT_EQ(sprite->getParent(), nullptr);

    sprite->removeOnUpdate = false;
    one_->addComponent(sprite);
    events().clear();
    manager_->run(16);
    // (The pointer resting outside the window may add an input event first.)
    std::erase(events(), "input SCENE_ONE");
    EXPECT_EQ(events(),
              (std::vector<std::string>{"update SCENE_ONE", "move", "render", "tooltip"}));
}

TEST_F(SceneManagerTest, DrawsTheScenesBackgroundAndSpritesIntoTheWindow) {
    GameWindow* window = createGameWindow("Scene test", 800, 600, false, 4, 0);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->getBackImage(), nullptr);
    one_->setBackground(test::solidImage(800, 600, 0xFF0000FFU).get());
    showFirst(one_);
    kindCast<Sprite>(one_->findComponent("LOGO"))
        ->setImage(test::solidImage(4, 4, 0xFFFF0000U).get());
    manager_->run(16);
    Image& buffer = *window->getBackImage();
    EXPECT_EQ(test::pixelAt(buffer, 0, 0) & 0xFFFFFFU, 0x0000FFU);
    EXPECT_EQ(test::pixelAt(buffer, 11, 21) & 0xFFFFFFU, 0xFF0000U);
}

TEST_F(SceneManagerTest, MarkedScenesLeaveOnceTheyAreNotShown) {
    showFirst(one_);
    one_->setRemovalMark(true);
    two_->setRemovalMark(true);
    manager_->run(16);
    EXPECT_EQ(manager_->getScene("SCENE_TWO"), nullptr);
    EXPECT_EQ(manager_->getScene("SCENE_ONE"), one_);

    Scene* other = manager_->addScene("SCENE_TWO");
    manager_->setNextScene(other);
    manager_->run(16);
    EXPECT_EQ(manager_->getScene("SCENE_ONE"), one_); // still shown as previous
    manager_->run(16);                                // hidden now
    manager_->run(16);
    EXPECT_EQ(manager_->getScene("SCENE_ONE"), nullptr);
    EXPECT_EQ(manager_->getSceneCount(), 1U);
}

TEST_F(SceneManagerTest, ATransitionRunsBetweenTheScenesAndHandsOver) {
    showFirst(one_);
    ASSERT_TRUE(manager_->setTransition("SCENE_FADE"));
    auto* fade = dynamic_cast<ProbeTransition*>(manager_->getTransition());
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(manager_->getScene("SCENE_FADE"), nullptr); // not kept in the map
    manager_->setNextScene(two_);

    manager_->run(16); // the switch to the transition
    EXPECT_EQ(manager_->getCurrent(), fade);
    EXPECT_EQ(fade->started, 1);
    EXPECT_EQ(fade->from_, one_);
    EXPECT_EQ(fade->to_, two_);
    EXPECT_EQ(manager_->getCurrentScene(), two_);
    EXPECT_EQ(two_->opened, 0);
    manager_->run(16);
    EXPECT_EQ(one_->getState(), SceneState::Hidden);

    fade->handOver();
    manager_->run(16); // the hand-over: the target is not opened twice
    EXPECT_EQ(manager_->getCurrent(), two_);
    EXPECT_EQ(two_->opened, 1);
    EXPECT_EQ(two_->getState(), SceneState::Current);
    EXPECT_EQ(manager_->getTransition(), nullptr);
    EXPECT_EQ(fade->getState(), SceneState::Current);
    manager_->run(16);
    EXPECT_EQ(fade->getState(), SceneState::Hidden);
}

TEST_F(SceneManagerTest, NamesThatBuildNoSceneLeaveTheManagerAsItWas) {
    for (const char* name : {"SCENE_NOWHERE", "SCENE_SPRITE"}) {
        log_.clear();
        EXPECT_EQ(manager_->addScene(name), nullptr) << name;
        EXPECT_FALSE(manager_->setTransition(name)) << name;
        EXPECT_TRUE(logged(name)) << name;
    }
    log_.clear();
    EXPECT_FALSE(manager_->setTransition("SCENE_TWO")); // a scene, but no transition
    EXPECT_TRUE(logged("SCENE_TWO"));
    EXPECT_EQ(manager_->getTransition(), nullptr);
    EXPECT_EQ(manager_->getSceneCount(), 2U);
    EXPECT_EQ(manager_->getScene("SCENE_ONE"), one_);
}

TEST_F(SceneManagerTest, TheToolTipStandsFirstInEveryContainerAndFollowsTheScene) {
    Dialog* before = one_->getDialog("DIALOG_MENU");
    showFirst(one_);
    RefPtr<ProbeToolTip> first(new ProbeToolTip());
    RefPtr<ProbeToolTip> second(new ProbeToolTip());
    manager_->setToolTip(first.get());
    EXPECT_EQ(first->root_, one_->getDialogLayer());
    manager_->setToolTip(second.get());
    for (Dialog* dialog : {static_cast<Dialog*>(one_), static_cast<Dialog*>(two_), before,
                           one_->getDialog("DIALOG_ASK")}) {
        const auto& listeners = dialog->getListenerContainer().getListeners();
        EXPECT_EQ(listeners.front(), second.get()) << dialog->getName();
        EXPECT_FALSE(dialog->getListenerContainer().hasListener(first.get()));
        EXPECT_EQ(listeners.back(), static_cast<iInputListener*>(dialog)); // own part last
    }
    manager_->setNextScene(two_);
    manager_->run(16);
    EXPECT_EQ(second->root_, two_->getDialogLayer());
}

TEST_F(SceneManagerTest, TheWindowsCloseRequestGoesToTheCurrentScene) {
    GameWindow& window = bareWindow();
    connectCloseRequest(window);
    EXPECT_FALSE(requestQuitFromCurrentScene()); // nothing shown yet
    showFirst(one_);
    window.windowProc({platform::WM_CLOSE, 0, 0});
    EXPECT_EQ(one_->quitRequests, 1);
    EXPECT_FALSE(window.hasFailed());
    EXPECT_TRUE(requestQuitFromCurrentScene());
    EXPECT_EQ(one_->quitRequests, 2);
}

// During a transition the close button asks the scene being entered (which
// asks its quit question) instead of the transition, whose own quit would
// close the window at once; the full-screen quit button asks the transition.
TEST_F(SceneManagerTest, TheCloseRequestDuringATransitionGoesToItsTarget) {
    GameWindow& window = bareWindow();
    connectCloseRequest(window);
    showFirst(one_);
    ASSERT_TRUE(manager_->setTransition("SCENE_FADE"));
    Scene* fade = manager_->getTransition();
    manager_->setNextScene(two_);
    manager_->run(16);
    ASSERT_EQ(manager_->getCurrent(), fade);
    window.windowProc({platform::WM_CLOSE, 0, 0});
    EXPECT_EQ(two_->quitRequests, 1);
    EXPECT_EQ(one_->quitRequests, 0);
    EXPECT_FALSE(window.hasFailed());
    EXPECT_EQ(GameWindow::getInstance(), &window);
}

TEST_F(SceneManagerTest, ASceneWithoutItsOwnQuitClosesTheWindowButKeepsItsObject) {
    GameWindow* created = createGameWindow("Scene test", 800, 600, false, 4, 0);
    ASSERT_NE(created, nullptr);
    GameWindow& window = *created;
    connectCloseRequest(window);
    Scene* plain = manager_->addScene("SCENE_NO_PICTURE");
    ASSERT_NE(plain, nullptr);
    showFirst(plain);
    window.windowProc({platform::WM_CLOSE, 0, 0}); // handled inside the window's own call
    EXPECT_EQ(GameWindow::getInstance(), &window);
    platform::Message message{};
    bool quitPosted = false;
    while (platform::peekMessage(message)) {
        quitPosted = quitPosted || message.message == platform::WM_QUIT;
    }
    EXPECT_TRUE(quitPosted);
}

} // namespace
} // namespace orv
