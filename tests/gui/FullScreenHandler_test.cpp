// The full-screen buttons: built from a template into a bare or headless
// game window, clicked through the window's messages and the handler's own
// input handler, following the window's full-screen changes into the options
// and its activation into the sound manager, and carried from scene to scene
// by the scenes' and transitions' hooks.

#include "engine/gui/FullScreenHandler.h"

#include "engine/core/GameTree.h"
#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/TimedTaskManager.h"
#include "engine/gui/Button.h"
#include "engine/gui/GuiClasses.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/SettingsManager.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TransitionScene.h"
#include "engine/system/Platform.h"
#include "tests/resources/SoundTestOutput.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orv {
namespace {

using namespace platform;

// Widths of the three buttons; each is a strip of four frames 22 pixels
// high, as the button images are.
constexpr int kQuitWidth = 26;
constexpr int kRestoreWidth = 30;
constexpr int kMinimizeWidth = 20;

constexpr const char* kDefinitions = R"(<root>
<Node id="templates">
    <FullScreenHandler id="FSH" name="BUTTONS">
        <Button id="button_quit" name="QUIT" width="26" height="88"/>
        <Button id="button_restore" name="RESTORE" width="30" height="88"/>
        <Button id="button_minimize" name="MINIMIZE" width="20" height="88"/>
    </FullScreenHandler>
    <FullScreenHandler id="FSH_BROKEN" name="BROKEN">
        <Sprite id="button_quit" width="26" height="88"/>
        <Button id="button_minimize" name="MINIMIZE" width="20" height="88"/>
    </FullScreenHandler>
    <Sprite id="NOT_A_HANDLER"/>
</Node>
<Node id="scenes">
    <QuitProbeScene id="SCENE_A" width="800" height="600"/>
    <QuitProbeScene id="SCENE_B" width="800" height="600"/>
</Node>
<Node id="dialogs">
    <Dialog id="DIALOG_MENU" width="300" height="200"/>
</Node>
</root>)";

// A scene that counts the quit requests it gets.
class QuitProbeScene : public Scene {
public:
    explicit QuitProbeScene(PropertyNode* definition) : Scene(definition) {}
    static BaseObject* create(PropertyNode* definition) { return new QuitProbeScene(definition); }
    void onQuitRequest() override { ++quitRequests; }
    int quitRequests = 0;
};

// A transition whose hand-over steps the test calls itself.
class HandOverProbe : public TransitionScene {
public:
    using TransitionScene::prepareFullScreenForTarget;
    using TransitionScene::restoreFullScreen;
    using TransitionScene::TransitionScene;
};

// Options with full screen on, as the game's defaults have it.
class TestSettings : public IGameSettings {
public:
    TestSettings() { setFullScreen(true); }
};

std::vector<Message> drainQueue() {
    std::vector<Message> out;
    Message message;
    while (peekMessage(message)) {
        out.push_back(message);
    }
    return out;
}

class FullScreenHandlerTest : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        ObjectFactoryContainer::get().registerCreator("QuitProbeScene", &QuitProbeScene::create);
        BasicProperties::create();
        BasicProperties::get()->getString("GAME_ID") = "game1";
        BasicProperties::get()->getString("GAME_NAME") = "Test Game";
        test::writeFile(dir_.file("definitions.xml"), kDefinitions);
        getDefinitionStore().addFile(dir_.file("definitions.xml"));
        getDefinitionStore().load();
    }
    void TearDown() override {
        FullScreenHandler::destroyInstance();
        SceneManager::destroyInstance();
        SettingsManager::destroyInstance();
        SoundManager::destroyInstance();
        TimedTaskManager::destroyInstance();
        GameWindow::setInstance(nullptr);
        drainQueue();
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
    }

    // An 800 x 600 window object without a desktop window, full screen or
    // not; it may not switch, so the handler builds no restore button.
    static GameWindow& bareWindow(bool fullScreen) {
        RefPtr<GameWindow> window(new GameWindow());
        window->setSize(800, 600);
        window->setFullScreenFlag(fullScreen);
        GameWindow::setInstance(window.get());
        return *window;
    }
    // A headless full-screen window of `width` x `height` on the dummy
    // desktop, which is larger than 800 x 600.
    static GameWindow& headlessWindow(int width = 800, int height = 600) {
        GameWindow* window = createGameWindow("Full-screen test", width, height, true, 0, 0);
        EXPECT_NE(window, nullptr);
        drainQueue();
        return *window;
    }
    // The handler of template "FSH" at the top right corner.
    static FullScreenHandler& makeHandler() {
        FullScreenHandler* handler = FullScreenHandler::create("FSH");
        EXPECT_NE(handler, nullptr);
        handler->setPosition(800, 0);
        return *handler;
    }
    // A scene of the manager made current.
    static QuitProbeScene& currentScene(const char* name = "SCENE_A") {
        SceneManager* scenes = SceneManager::create();
        auto* scene = static_cast<QuitProbeScene*>(scenes->addScene(name));
        scenes->setNextScene(scene);
        scenes->switchToPending();
        EXPECT_EQ(scenes->getCurrent(), scene);
        return *scene;
    }
    // A left click at (x, y) through the window and the handler's own input
    // handler, as one frame replays it.
    static void click(GameWindow& window, const FullScreenHandler& handler, int x, int y) {
        window.windowProc({WM_LBUTTONDOWN, MK_LBUTTON, packPoint(x, y)});
        window.windowProc({WM_LBUTTONUP, 0, packPoint(x, y)});
        handler.getInputHandler()->run(16);
    }

    test::TempDir dir_;
    test::LogCapture log_;
};

TEST_F(FullScreenHandlerTest, ButtonsStandRightAlignedQuitRestoreMinimise) {
    GameWindow& window = headlessWindow();
    ASSERT_TRUE(window.isFullScreenSwitchAllowed());
    FullScreenHandler& handler = makeHandler();

    ASSERT_NE(handler.getQuitButton(), nullptr);
    ASSERT_NE(handler.getRestoreButton(), nullptr);
    ASSERT_NE(handler.getMinimizeButton(), nullptr);
    EXPECT_EQ(handler.getQuitButton()->getX(), -kQuitWidth);
    EXPECT_EQ(handler.getRestoreButton()->getX(), -(kQuitWidth + kRestoreWidth));
    EXPECT_EQ(handler.getMinimizeButton()->getX(), -(kQuitWidth + kRestoreWidth + kMinimizeWidth));
    // Children in the order built, each a listener of the handler's container.
    EXPECT_EQ(handler.getFirstChild(), handler.getQuitButton());
    EXPECT_EQ(handler.getQuitButton()->getNextSibling(), handler.getRestoreButton());
    EXPECT_EQ(handler.getRestoreButton()->getNextSibling(), handler.getMinimizeButton());
    EXPECT_EQ(handler.getListenerContainer().getListenerCount(), 3U);
    EXPECT_EQ(handler.getQuitButton()->getAbsoluteX(), 800 - kQuitWidth);

    // Its own input handler runs as a frame task and sees the window's
    // messages, beside the handler's own hook.
    EXPECT_TRUE(handler.getInputHandler()->isManaged());
    EXPECT_TRUE(window.getMessageHandler()->hasHook(&handler));
    EXPECT_TRUE(window.getMessageHandler()->hasHook(handler.getInputHandler()));
    EXPECT_FALSE(handler.isEnabled());
    EXPECT_FALSE(handler.getListenerContainer().isInputEnabled()) << "hidden buttons take no input";
}

// The game's own template: its keys name the three buttons.
TEST_F(FullScreenHandlerTest, TheGamesTemplateBuildsTheThreeButtons) {
    headlessWindow();
    destroyDefinitionStore();
    getDefinitionStore().addFile(std::string(ORVANTA_MEDIA_SOURCE) + "/properties/dialogs.xml");
    getDefinitionStore().load();

    FullScreenHandler* handler = FullScreenHandler::create("DEFAULT_FSH");
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->getName(), "FULLSCREEN_BUTTONS");
    ASSERT_NE(handler->getQuitButton(), nullptr);
    ASSERT_NE(handler->getRestoreButton(), nullptr);
    ASSERT_NE(handler->getMinimizeButton(), nullptr);
    EXPECT_EQ(handler->getQuitButton()->getName(), "FULLSCREEN_QUIT");
    EXPECT_EQ(handler->getRestoreButton()->getName(), "FULLSCREEN_RESTORE");
    EXPECT_EQ(handler->getMinimizeButton()->getName(), "FULLSCREEN_MINIMIZE");
}

// A desktop no larger than the window keeps the game full screen: there is
// no restore button and the minimise button closes up to the quit button.
TEST_F(FullScreenHandlerTest, WithoutWindowedModeThereIsNoRestoreButton) {
    const auto desktop = getDesktopMode();
    ASSERT_TRUE(desktop);
    GameWindow& window = headlessWindow(desktop->width, desktop->height);
    ASSERT_FALSE(window.isFullScreenSwitchAllowed());
    FullScreenHandler& handler = makeHandler();

    EXPECT_EQ(handler.getRestoreButton(), nullptr);
    ASSERT_NE(handler.getQuitButton(), nullptr);
    ASSERT_NE(handler.getMinimizeButton(), nullptr);
    EXPECT_EQ(handler.getQuitButton()->getX(), -kQuitWidth);
    EXPECT_EQ(handler.getMinimizeButton()->getX(), -(kQuitWidth + kMinimizeWidth));
    EXPECT_EQ(handler.getListenerContainer().getListenerCount(), 2U);
}

TEST_F(FullScreenHandlerTest, MissingTemplatesAndButtonsAreLoggedAndLeftOut) {
    bareWindow(true);
    EXPECT_EQ(FullScreenHandler::create("NO_SUCH_TEMPLATE"), nullptr);
    EXPECT_TRUE(log_.contains("NO_SUCH_TEMPLATE"));
    EXPECT_EQ(FullScreenHandler::create("NOT_A_HANDLER"), nullptr);
    EXPECT_TRUE(log_.contains("NOT_A_HANDLER"));
    EXPECT_EQ(FullScreenHandler::getInstance(), nullptr);

    // A quit key that builds a plain sprite: the minimise button stands at
    // the right edge alone.
    FullScreenHandler* handler = FullScreenHandler::create("FSH_BROKEN");
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(FullScreenHandler::getInstance(), handler);
    EXPECT_EQ(handler->getQuitButton(), nullptr);
    EXPECT_TRUE(log_.contains("button_quit"));
    ASSERT_NE(handler->getMinimizeButton(), nullptr);
    EXPECT_EQ(handler->getMinimizeButton()->getX(), -kMinimizeWidth);
    EXPECT_EQ(handler->getListenerContainer().getListenerCount(), 1U);
}

// Shown, and taking input after a mode change, exactly when enabled and
// full screen.
TEST_F(FullScreenHandlerTest, ShownAndClickableOnlyWhenEnabledInFullScreen) {
    struct Case {
        bool enabled;
        bool fullScreen;
    };
    for (const Case c :
         {Case{true, true}, Case{true, false}, Case{false, true}, Case{false, false}}) {
        SCOPED_TRACE(testing::Message()
                     << "enabled " << c.enabled << ", full screen " << c.fullScreen);
        GameWindow& window = bareWindow(!c.fullScreen);
        const QuitProbeScene& scene = currentScene();
        FullScreenHandler& handler = makeHandler();
        handler.setEnabled(c.enabled);

        window.setFullScreen(c.fullScreen); // sends EVENT_FULLSCREEN_CHANGED
        const bool shown = c.enabled && c.fullScreen;
        EXPECT_EQ(handler.isVisible(), shown);
        EXPECT_EQ(handler.getListenerContainer().isInputEnabled(), shown);
        EXPECT_EQ(handler.getParent(), scene.getDialogLayer()) << "joined the scene shown";

        // A click on the quit button reaches the scene only when shown.
        const int quitCentre = 800 - kQuitWidth / 2;
        click(window, handler, quitCentre, 11);
        EXPECT_EQ(scene.quitRequests, shown ? 1 : 0);

        FullScreenHandler::destroyInstance();
        SceneManager::destroyInstance();
    }
}

TEST_F(FullScreenHandlerTest, ClicksMinimiseRestoreAndQuit) {
    GameWindow& window = headlessWindow();
    const QuitProbeScene& scene = currentScene();
    SettingsManager::create(std::make_unique<TestSettings>());
    FullScreenHandler& handler = makeHandler();
    // What the lobby does when it opens.
    handler.setEnabled(true);
    FullScreenHandler::refresh(nullptr);
    handler.getListenerContainer().setInputEnabled(window.isFullScreen());
    ASSERT_TRUE(handler.isVisible());
    drainQueue();

    const int y = 11;
    click(window, handler, 800 - kQuitWidth - kRestoreWidth - kMinimizeWidth / 2, y);
    const std::vector<Message> posted = drainQueue();
    EXPECT_NE(std::find(posted.begin(), posted.end(), Message{WM_SYSCOMMAND, SC_MINIMIZE, 0}),
              posted.end())
        << "minimise asks the window to minimise";
    EXPECT_TRUE(window.isFullScreen());

    click(window, handler, 800 - kQuitWidth / 2, y);
    EXPECT_EQ(scene.quitRequests, 1);

    click(window, handler, 800 - kQuitWidth - kRestoreWidth / 2, y);
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_FALSE(SettingsManager::get()->getSettings().getFullScreen());
    EXPECT_FALSE(handler.isVisible());
    EXPECT_FALSE(handler.getListenerContainer().isInputEnabled());

    // Hidden now: the quit button's place is just part of the scene.
    click(window, handler, 800 - kQuitWidth / 2, y);
    EXPECT_EQ(scene.quitRequests, 1);
}

// Alt+Enter and the settings dialog both switch through `setFullScreen`: the
// option follows and is saved every time.
TEST_F(FullScreenHandlerTest, TheSavedOptionFollowsTheMode) {
    GameWindow& window = bareWindow(true);
    SettingsManager::create(std::make_unique<TestSettings>());
    makeHandler();
    const auto stored = [] {
        const std::optional<SettingsValue> value =
            readSettingsValue(SettingsManager::get()->getRegistryPath(), "fullscreen");
        return value ? std::optional<std::uint32_t>(value->number) : std::nullopt;
    };

    window.setFullScreen(false);
    EXPECT_FALSE(SettingsManager::get()->getSettings().getFullScreen());
    EXPECT_EQ(stored(), 0U);
    window.setFullScreen(true);
    EXPECT_TRUE(SettingsManager::get()->getSettings().getFullScreen());
    EXPECT_EQ(stored(), 1U);

    // Without a settings manager the buttons still follow the mode.
    SettingsManager::destroyInstance();
    window.setFullScreen(false);
    EXPECT_FALSE(FullScreenHandler::getInstance()->isVisible());
}

TEST_F(FullScreenHandlerTest, MinimisingMutesUntilTheWindowIsBack) {
    const test::MixerOutput output;
    GameWindow& window = bareWindow(true);
    makeHandler();
    // Before the sound manager exists the activation changes nothing.
    window.windowProc({WM_SIZE, SIZE_MINIMIZED, 0});
    window.windowProc({WM_SIZE, SIZE_RESTORED, 0});

    SoundManager* sound = SoundManager::create(44100, 0, 32);
    ASSERT_TRUE(isSoundEnabled());
    sound->setSfxVolume(200);
    window.windowProc({WM_SIZE, SIZE_MINIMIZED, 0});
    EXPECT_TRUE(sound->isMuted());
    EXPECT_EQ(output.mixer.getMasterVolume(), 0);
    window.windowProc({WM_SIZE, SIZE_RESTORED, 0});
    EXPECT_FALSE(sound->isMuted());
    EXPECT_EQ(output.mixer.getMasterVolume(), 200);
    SoundManager::destroyInstance(); // while its output is still installed
}

// A dialog shown over a scene stays below the buttons; transitions hand the
// buttons to their target and switch their input.
TEST_F(FullScreenHandlerTest, ScenesAndTransitionsCarryTheButtons) {
    bareWindow(true);
    QuitProbeScene& scene = currentScene();
    FullScreenHandler& handler = makeHandler();
    handler.setEnabled(true);
    FullScreenHandler::refresh(nullptr);
    ASSERT_EQ(handler.getParent(), scene.getDialogLayer());

    Dialog* menu = scene.getDialog("DIALOG_MENU");
    ASSERT_NE(menu, nullptr);
    scene.showDialog(menu);
    EXPECT_EQ(menu->getNextSibling(), &handler) << "drawn after the dialog";
    EXPECT_EQ(handler.getNextSibling(), nullptr);

    Scene* target = SceneManager::getInstance()->addScene("SCENE_B");
    const RefPtr<PropertyNode> definition(new PropertyNode("FADE", "HandOverProbe"));
    const RefPtr<HandOverProbe> transition(new HandOverProbe(definition.get()));
    transition->start(&scene, target);
    handler.getListenerContainer().setInputEnabled(true);
    transition->prepareFullScreenForTarget();
    EXPECT_EQ(handler.getParent(), target->getDialogLayer());
    EXPECT_FALSE(handler.getListenerContainer().isInputEnabled());
    transition->restoreFullScreen();
    EXPECT_TRUE(handler.getListenerContainer().isInputEnabled());
}

// The scenes' and transitions' hooks exist with the process-wide handler,
// and a handler that is gone is out of the window's hooks and the frame.
TEST_F(FullScreenHandlerTest, HooksComeAndGoWithTheHandler) {
    GameWindow& window = bareWindow(true);
    QuitProbeScene& scene = currentScene();
    RefPtr<FullScreenHandler> handler(&makeHandler());
    handler->setEnabled(true);
    const RefPtr<InputHandler> input(handler->getInputHandler());

    refreshFullScreen(&scene);
    EXPECT_EQ(handler->getParent(), scene.getDialogLayer());
    GameTree::detach(handler.get());
    handler->release(); // detach handed the tree's reference over

    FullScreenHandler::destroyInstance();
    refreshFullScreen(&scene);
    EXPECT_EQ(handler->getParent(), nullptr) << "the refresh hook went with the instance";
    const RefPtr<PropertyNode> definition(new PropertyNode("FADE", "HandOverProbe"));
    const RefPtr<HandOverProbe> transition(new HandOverProbe(definition.get()));
    handler->getListenerContainer().setInputEnabled(true);
    transition->prepareFullScreenForTarget();
    EXPECT_TRUE(handler->getListenerContainer().isInputEnabled())
        << "the input hook went with the instance";

    handler = nullptr;
    EXPECT_FALSE(window.getMessageHandler()->hasHook(input.get()));
    EXPECT_EQ(input->getListenerContainer().getListenerCount(), 0U);
    EXPECT_TRUE(input->isFinished());
    // Messages and frames after its end reach nothing of it.
    window.setFullScreen(false);
    window.windowProc({WM_LBUTTONDOWN, MK_LBUTTON, packPoint(790, 10)});
    TimedTaskManager::getInstance().runRound(16);
    EXPECT_FALSE(input->isManaged());
}

} // namespace
} // namespace orv
