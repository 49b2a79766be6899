#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceObject.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/AlphaTransitionScene.h"
#include "engine/scene/FadeBlackTransitionScene.h"
#include "engine/scene/Label.h"
#include "engine/scene/RenderTask.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TransitionScene.h"
#include "tests/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

using test::ProbeScene;

constexpr std::uint32_t kFromColour = 0xFFC03020U;
constexpr std::uint32_t kToColour = 0xFF2040E0U;
constexpr std::uint32_t kFadeColour = 0xFF102030U;

// Frames of every test advance by fixed steps: the elapsed time is injected.
constexpr int kStep = 25;

constexpr const char* kDefinitions = R"(<root>
<Node id="scenes">
    <ProbeScene id="SCENE_FROM" width="800" height="600"/>
    <ProbeScene id="SCENE_TO" width="800" height="600"/>
    <FadeBlackTransition id="FADE" width="800" height="600" color="#FF102030" time="100"
                         wait="false">
        <Vector id="components"><Label name="LOADING_LABEL" text="Loading"/></Vector>
    </FadeBlackTransition>
    <FadeBlackTransition id="FADE_LOADING" width="800" height="600" time="200">
        <Vector id="components"><Label name="LOADING_LABEL" text="Loading"/></Vector>
    </FadeBlackTransition>
    <FadeBlackTransition id="FADE_ZERO" time="0" wait="false"/>
    <FadeBlackTransition id="FADE_DEFAULTS"/>
    <AlphaTransition id="ALPHA" width="800" height="600" time="100" wait="false"/>
    <AlphaTransition id="ALPHA_ZERO" time="0" wait="false"/>
    <AlphaTransition id="ALPHA_DEFAULTS"/>
    <LoaderStartingAlpha id="ALPHA_WAIT" time="100"/>
</Node>
</root>)";

// What the loader and the scenes did, in order, from either thread.
class EventLog {
public:
    void add(std::string event) {
        const std::scoped_lock lock(mutex_);
        events_.push_back(std::move(event));
    }
    [[nodiscard]] std::vector<std::string> get() {
        const std::scoped_lock lock(mutex_);
        return events_;
    }
    void clear() {
        const std::scoped_lock lock(mutex_);
        events_.clear();
    }

private:
    std::mutex mutex_;
    std::vector<std::string> events_;
};

EventLog& eventLog() {
    static EventLog log;
    return log;
}

// A resource that loads at once and says so.
class QuickResource : public ResourceObject {
public:
    QuickResource() : ResourceObject(nullptr) {}
    void load() override {
        eventLog().add("loaded");
        markLoaded();
    }
    [[nodiscard]] BaseObject* getHeldObject() const override { return nullptr; }
};

// An alpha transition that starts the resource loader from inside its own
// opening, so that nothing can load before the transition is waiting.
class LoaderStartingAlpha : public AlphaTransitionScene {
public:
    explicit LoaderStartingAlpha(PropertyNode* definition) : AlphaTransitionScene(definition) {}
    static BaseObject* create(PropertyNode* definition) {
        return new LoaderStartingAlpha(definition);
    }
    using Scene::setBackground;
    void setBackground() override {
        AlphaTransitionScene::setBackground();
        ResourceManager::getInstance()->setStarted(true);
    }
};

// A target that notes its opening in the event log.
class LoggedScene : public ProbeScene {
public:
    explicit LoggedScene(PropertyNode* definition) : ProbeScene(definition) {}
    static BaseObject* create(PropertyNode* definition) { return new LoggedScene(definition); }
    void open() override {
        eventLog().add("open " + getName());
        ProbeScene::open();
    }
};

// What the full-screen hooks were asked, in order.
std::vector<std::string>& fullScreenCalls() {
    static std::vector<std::string> calls;
    return calls;
}

void recordFullScreenInput(bool enabled) {
    fullScreenCalls().push_back(enabled ? "input on" : "input off");
}

void recordFullScreenRefresh(Scene* scene) {
    fullScreenCalls().push_back("refresh " + (scene != nullptr ? scene->getName() : "none"));
}

// SCENE_FROM shown on a bare 800 x 600 window, SCENE_TO kept, both with a
// picture of one colour.
class TransitionTest : public test::SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ObjectFactoryContainer::get().registerCreator("LoaderStartingAlpha",
                                                      &LoaderStartingAlpha::create);
        ObjectFactoryContainer::get().registerCreator("ProbeScene", &LoggedScene::create);
        loadDefinitions(kDefinitions);
        bareWindow();
        manager_ = SceneManager::create();
        from_ = kindCast<ProbeScene>(manager_->addScene("SCENE_FROM"));
        to_ = kindCast<ProbeScene>(manager_->addScene("SCENE_TO"));
        ASSERT_NE(from_, nullptr);
        ASSERT_NE(to_, nullptr);
        fromPicture_ = test::solidImage(800, 600, kFromColour);
        toPicture_ = test::solidImage(800, 600, kToColour);
        from_->setBackground(fromPicture_.get());
        to_->setBackground(toPicture_.get());
        manager_->setNextScene(from_);
        manager_->run(kStep);
        ASSERT_EQ(manager_->getCurrent(), from_);
        fullScreenCalls().clear();
        eventLog().clear();
    }
    void TearDown() override {
        setFullScreenInputControl(nullptr);
        setFullScreenRefresh(nullptr);
        SceneManager::destroyInstance();
        ResourceManager::destroyInstance();
        SceneFixture::TearDown();
    }

    // Sets the transition `name` towards SCENE_TO and runs the frame that
    // switches to it.
    template <typename Kind>
    Kind* startTransition(std::string_view name) {
        EXPECT_TRUE(manager_->setTransition(name));
        auto* transition = kindCast<Kind>(manager_->getTransition());
        manager_->setNextScene(to_);
        manager_->run(kStep);
        EXPECT_EQ(manager_->getCurrent(), transition);
        return transition;
    }

    // Lets a finished hand-over settle (the transition hidden), then shows
    // `scene` directly.
    void showDirectly(Scene* scene) {
        manager_->run(kStep);
        manager_->run(kStep);
        manager_->setNextScene(scene);
        manager_->run(kStep);
        manager_->run(kStep);
        ASSERT_EQ(manager_->getCurrent(), scene);
    }

    // A resource manager with the section "next" requested and the loader
    // not started: loading goes on until the test starts it.
    void requestPendingSection() {
        ResourceManager* resources = ResourceManager::create();
        auto* section = new ResourceSection("next");
        section->addObject("ONE", new QuickResource());
        section->addObject("TWO", new QuickResource());
        resources->addSection(section);
        resources->requestSection("next");
    }
    // Lets the loader finish the requested section and waits for it.
    static void finishLoading() {
        ResourceManager* resources = ResourceManager::getInstance();
        resources->setStarted(true);
        ASSERT_TRUE(resources->waitForRequests(std::chrono::seconds(10)));
    }

    // The frame as the scene manager draws it: the scene's picture, then its
    // node tree.
    static RefPtr<Image> drawFrame(Scene& scene) {
        RefPtr<Image> frame = test::solidImage(800, 600, 0xFF000000U);
        const RefPtr<Graphics> graphics = createGraphics(*frame);
        scene.render(*graphics);
        RenderTask::renderNode(*graphics, scene.getDialogLayer());
        return frame;
    }
    // `from` blended towards `to` by alpha / 255, per channel.
    static std::uint32_t mix(std::uint32_t from, std::uint32_t to, int alpha) {
        std::uint32_t result = 0xFF000000U;
        for (const unsigned shift : {0U, 8U, 16U}) {
            const int a = static_cast<int>((from >> shift) & 0xFFU);
            const int b = static_cast<int>((to >> shift) & 0xFFU);
            result |= static_cast<std::uint32_t>(a + (b - a) * alpha / 255) << shift;
        }
        return result;
    }

    SceneManager* manager_ = nullptr;
    ProbeScene* from_ = nullptr;
    ProbeScene* to_ = nullptr;
    RefPtr<Image> fromPicture_;
    RefPtr<Image> toPicture_;
};

TEST_F(TransitionTest, DefinitionsBuildBothKindsWithTheirDefaults) {
    ASSERT_TRUE(manager_->setTransition("FADE_DEFAULTS"));
    const auto* fade = kindCast<FadeBlackTransitionScene>(manager_->getTransition());
    ASSERT_NE(fade, nullptr);
    EXPECT_TRUE(fade->getClassRecord().isKindOf(TransitionScene::classRecord));
    EXPECT_EQ(fade->getTime(), 1000);
    EXPECT_TRUE(fade->getWait());
    EXPECT_EQ(fade->getShowDelay(), 3000);
    EXPECT_EQ(fade->getShowTime(), 1500);
    EXPECT_TRUE(fade->getReenableInput());
    EXPECT_EQ(fade->getPhase(), FadePhase::FadingOut);

    ASSERT_TRUE(manager_->setTransition("ALPHA_DEFAULTS"));
    const auto* alpha = kindCast<AlphaTransitionScene>(manager_->getTransition());
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->getTime(), 1000);
    EXPECT_TRUE(alpha->getWait());

    // Both snapshots are window-sized, the new one drawn over the old one.
    ASSERT_NE(alpha->getOldSnapshot()->getImage(), nullptr);
    EXPECT_EQ(alpha->getOldSnapshot()->getWidth(), 800);
    EXPECT_EQ(alpha->getOldSnapshot()->getHeight(), 600);
    EXPECT_EQ(alpha->getOldSnapshot()->getNextSibling(), alpha->getNewSnapshot());
    EXPECT_EQ(alpha->getNewSnapshot()->getParent(), alpha->getDialogLayer());
}

// Fade out in 100 ms, no wait, fade in in 100 ms; frames of 25 ms.
TEST_F(TransitionTest, FadeToBlackRunsFrameByFrameAndHandsOver) {
    auto* fade = startTransition<FadeBlackTransitionScene>("FADE");
    ASSERT_NE(fade, nullptr);
    Sprite* oldShot = fade->getOldSnapshot();
    Sprite* newShot = fade->getNewSnapshot();
    Label* label = fade->getLoadingLabel();
    ASSERT_NE(label, nullptr);

    // Opened: the old screen at full alpha, the new one hidden, the label
    // transparent between them, the scene left deaf, the target untouched.
    EXPECT_EQ(fade->getFrom(), from_);
    EXPECT_EQ(fade->getTarget(), to_);
    EXPECT_EQ(oldShot->getAlpha(), 255);
    EXPECT_FALSE(newShot->isVisible());
    EXPECT_EQ(label->getAlpha(), 0);
    EXPECT_EQ(oldShot->getNextSibling(), label);
    EXPECT_EQ(label->getNextSibling(), newShot);
    EXPECT_FALSE(from_->getListenerContainer().isInputEnabled());
    EXPECT_EQ(to_->opened, 0);
    EXPECT_EQ(manager_->getCurrentScene(), to_);

    struct Frame {
        int oldAlpha;
        int newAlpha;
        FadePhase phase;
        int targetOpened;
        bool handedOver; // the target is the manager's next scene
    };
    constexpr std::array<Frame, 8> frames{{
        {191, 255, FadePhase::FadingOut, 0, false},
        {127, 255, FadePhase::FadingOut, 0, false},
        {63, 255, FadePhase::FadingOut, 0, false},
        {0, 255, FadePhase::Waiting, 0, false},
        // Nothing to wait for, no label shown: the first waiting frame ends it.
        {0, 63, FadePhase::FadingIn, 1, false},
        {0, 127, FadePhase::FadingIn, 1, false},
        {0, 191, FadePhase::FadingIn, 1, false},
        {0, 255, FadePhase::FadingIn, 1, true},
    }};
    for (std::size_t index = 0; index < frames.size(); ++index) {
        SCOPED_TRACE("frame " + std::to_string(index + 1));
        const Frame& expected = frames[index];
        manager_->run(kStep);
        EXPECT_EQ(manager_->getCurrent(), fade);
        EXPECT_EQ(oldShot->getAlpha(), expected.oldAlpha);
        EXPECT_EQ(fade->getPhase(), expected.phase);
        EXPECT_EQ(to_->opened, expected.targetOpened);
        EXPECT_EQ(manager_->getNext() == to_, expected.handedOver);
        if (expected.phase == FadePhase::FadingIn) {
            EXPECT_FALSE(oldShot->isVisible());
            EXPECT_TRUE(newShot->isVisible());
            EXPECT_EQ(newShot->getAlpha(), expected.newAlpha);
            // Live but deaf until the hand-over.
            EXPECT_EQ(to_->getListenerContainer().isInputEnabled(), expected.handedOver);
        }
    }
    EXPECT_EQ(label->getAlpha(), 0);
    EXPECT_EQ(label->getText(), L"Loading");
    EXPECT_EQ(from_->getState(), SceneState::Hidden);

    // The next frame makes the target current without opening it again; the
    // one after hides the transition.
    manager_->run(kStep);
    EXPECT_EQ(manager_->getCurrent(), to_);
    EXPECT_EQ(manager_->getPrevious(), fade);
    EXPECT_EQ(manager_->getTransition(), nullptr);
    EXPECT_EQ(to_->opened, 1);
    EXPECT_EQ(to_->getState(), SceneState::Current);
    manager_->run(kStep);
    EXPECT_EQ(fade->getState(), SceneState::Hidden);
    EXPECT_TRUE(to_->getListenerContainer().isInputEnabled());
    // Hidden, it is kept as the previous scene without its window-sized
    // pictures.
    EXPECT_EQ(oldShot->getImage(), nullptr);
    EXPECT_EQ(newShot->getImage(), nullptr);
    EXPECT_EQ(fade->getBackground(), nullptr);
}

TEST_F(TransitionTest, FadeToBlackDrawsTheOldScreenOverItsColourThenTheNewScreen) {
    auto* fade = startTransition<FadeBlackTransitionScene>("FADE");
    ASSERT_NE(fade, nullptr);
    manager_->run(kStep);
    manager_->run(kStep);
    ASSERT_EQ(fade->getOldSnapshot()->getAlpha(), 127);
    RefPtr<Image> frame = drawFrame(*fade);
    EXPECT_TRUE(
        test::nearColour(test::pixelAt(*frame, 400, 300), mix(kFadeColour, kFromColour, 127)))
        << std::hex << test::pixelAt(*frame, 400, 300);

    // Two more frames: the colour alone.
    manager_->run(kStep);
    manager_->run(kStep);
    frame = drawFrame(*fade);
    EXPECT_TRUE(test::nearColour(test::pixelAt(*frame, 0, 0), kFadeColour));

    // First fade-in frame: a quarter of the new screen over the colour.
    manager_->run(kStep);
    ASSERT_EQ(fade->getNewSnapshot()->getAlpha(), 63);
    frame = drawFrame(*fade);
    EXPECT_TRUE(test::nearColour(test::pixelAt(*frame, 799, 599), mix(kFadeColour, kToColour, 63)))
        << std::hex << test::pixelAt(*frame, 799, 599);
}

// Loading that takes 3.5 s, the label's defaults (shown after 3 s, for at
// least 1.5 s); frames of 100 ms.
TEST_F(TransitionTest, LoadingLabelShowsAfterTheDelayWithCyclingDotsAndStaysItsTime) {
    requestPendingSection();
    auto* fade = startTransition<FadeBlackTransitionScene>("FADE_LOADING");
    ASSERT_NE(fade, nullptr);
    Label* label = fade->getLoadingLabel();
    ASSERT_NE(label, nullptr);
    manager_->run(100);
    manager_->run(100); // the old screen is gone (200 ms)
    ASSERT_EQ(fade->getPhase(), FadePhase::Waiting);

    int waited = 0;
    auto frame = [&] {
        manager_->run(100);
        waited += 100;
    };
    while (waited < 3000) {
        frame();
        ASSERT_EQ(label->getAlpha(), 0) << waited;
        ASSERT_EQ(fade->getPhase(), FadePhase::Waiting) << waited;
    }
    frame(); // 3.1 s: the label starts its 300 ms fade in
    EXPECT_EQ(label->getAlpha(), 85);
    EXPECT_EQ(label->getText(), L"Loading");

    // The dots: n = (time shown modulo 1200) / 300.
    const std::vector<std::wstring> texts{L"Loading",    L"Loading",    L"Loading.",   L"Loading.",
                                          L"Loading.",   L"Loading..",  L"Loading..",  L"Loading..",
                                          L"Loading...", L"Loading...", L"Loading...", L"Loading",
                                          L"Loading",    L"Loading",    L"Loading."};
    for (std::size_t index = 0; index < texts.size(); ++index) {
        if (waited == 3500) {
            finishLoading(); // loaded, but the label has not stayed its time
        }
        frame();
        ASSERT_EQ(label->getText(), texts[index]) << waited;
        // Shown for 15 frames of 100 ms: 1.5 s.
        const bool last = index + 1 == texts.size();
        EXPECT_EQ(fade->getPhase(), last ? FadePhase::FadingIn : FadePhase::Waiting) << waited;
        EXPECT_EQ(to_->opened, last ? 1 : 0) << waited;
        if (index > 0 && !last) {
            EXPECT_EQ(label->getAlpha(), 255) << waited;
        }
    }

    // The label fades out with the fade in of the new screen (200 ms).
    EXPECT_EQ(label->getAlpha(), 127);
    EXPECT_EQ(manager_->getNext(), nullptr);
    manager_->run(100);
    EXPECT_EQ(label->getAlpha(), 0);
    EXPECT_EQ(manager_->getNext(), to_);
}

TEST_F(TransitionTest, LoadingThatEndsBeforeTheDelayNeverShowsTheLabel) {
    requestPendingSection();
    auto* fade = startTransition<FadeBlackTransitionScene>("FADE_LOADING");
    ASSERT_NE(fade, nullptr);
    manager_->run(100);
    manager_->run(100);
    for (int waited = 0; waited < 2000; waited += 100) {
        manager_->run(100);
        ASSERT_EQ(fade->getPhase(), FadePhase::Waiting) << waited;
    }
    EXPECT_EQ(to_->opened, 0);
    finishLoading();
    manager_->run(100);
    EXPECT_EQ(fade->getPhase(), FadePhase::FadingIn);
    EXPECT_EQ(to_->opened, 1);
    EXPECT_EQ(fade->getLoadingLabel()->getAlpha(), 0);
    EXPECT_EQ(fade->getLoadingLabel()->getText(), L"Loading");
}

TEST_F(TransitionTest, AlphaTransitionCrossFadesBothScreens) {
    auto* alpha = startTransition<AlphaTransitionScene>("ALPHA");
    ASSERT_NE(alpha, nullptr);
    // The target opens with the transition, deaf; the old screen stays whole
    // under the new one.
    EXPECT_EQ(to_->opened, 1);
    EXPECT_FALSE(to_->getListenerContainer().isInputEnabled());
    EXPECT_FALSE(from_->getListenerContainer().isInputEnabled());

    const std::array<int, 4> alphas{63, 127, 191, 255};
    for (std::size_t index = 0; index < alphas.size(); ++index) {
        SCOPED_TRACE("frame " + std::to_string(index + 1));
        manager_->run(kStep);
        EXPECT_EQ(alpha->getNewSnapshot()->getAlpha(), alphas[index]);
        EXPECT_EQ(alpha->getOldSnapshot()->getAlpha(), 255);
        EXPECT_EQ(manager_->getNext() == to_, index + 1 == alphas.size());
        const RefPtr<Image> frame = drawFrame(*alpha);
        EXPECT_TRUE(test::nearColour(test::pixelAt(*frame, 123, 456),
                                     mix(kFromColour, kToColour, alphas[index])))
            << std::hex << test::pixelAt(*frame, 123, 456);
    }
    EXPECT_TRUE(to_->getListenerContainer().isInputEnabled());
    manager_->run(kStep);
    EXPECT_EQ(manager_->getCurrent(), to_);
    EXPECT_EQ(to_->opened, 1);
}

TEST_F(TransitionTest, AlphaTransitionHoldsTheFrameUntilTheRequestedSectionsAreLoaded) {
    requestPendingSection();
    ASSERT_TRUE(manager_->setTransition("ALPHA_WAIT"));
    manager_->setNextScene(to_);
    manager_->run(kStep); // starts the loader from inside the opening

    // The loads happened before the target opened, all within the frame.
    EXPECT_EQ(eventLog().get(), (std::vector<std::string>{"loaded", "loaded", "open SCENE_TO"}));
    EXPECT_EQ(ResourceManager::getInstance()->getProgress(), 1.0);
}

// Zero durations jump to the end values at once; each stage still takes its
// frame, so the hand-over comes a fixed number of frames after the switch.
TEST_F(TransitionTest, ZeroDurationsHandOverInAFixedNumberOfFrames) {
    struct Case {
        const char* name;
        int framesToNext;
    };
    for (const Case& entry : {Case{"FADE_ZERO", 2}, Case{"ALPHA_ZERO", 1}}) {
        SCOPED_TRACE(entry.name);
        ASSERT_EQ(manager_->getCurrent(), from_);
        ASSERT_TRUE(manager_->setTransition(entry.name));
        Scene* transition = manager_->getTransition();
        manager_->setNextScene(to_);
        manager_->run(kStep);
        ASSERT_EQ(manager_->getCurrent(), transition);
        for (int frame = 1; frame < entry.framesToNext; ++frame) {
            manager_->run(kStep);
            EXPECT_EQ(manager_->getNext(), nullptr) << frame;
        }
        manager_->run(kStep);
        EXPECT_EQ(manager_->getNext(), to_);
        manager_->run(kStep);
        EXPECT_EQ(manager_->getCurrent(), to_);
        showDirectly(from_);
    }
}

// Both kinds take the buttons' input away while the target is snapshot and
// give it back at hand-over exactly in full screen; the buttons go with the
// target each time.
TEST_F(TransitionTest, FullScreenButtonsFollowTheTarget) {
    setFullScreenInputControl(&recordFullScreenInput);
    setFullScreenRefresh(&recordFullScreenRefresh);
    struct Case {
        const char* name;
        bool fullScreen;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases{
        {"FADE_ZERO", true, {"input off", "refresh SCENE_TO", "input on", "refresh SCENE_TO"}},
        {"FADE_ZERO", false, {"input off", "refresh SCENE_TO", "input off", "refresh SCENE_TO"}},
        {"ALPHA_ZERO", true, {"input off", "refresh SCENE_TO", "input on", "refresh SCENE_TO"}},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(std::string(entry.name) + (entry.fullScreen ? " full screen" : " windowed"));
        GameWindow::getInstance()->setFullScreenFlag(entry.fullScreen);
        fullScreenCalls().clear();
        startTransition<TransitionScene>(entry.name);
        while (manager_->getNext() != to_) {
            manager_->run(kStep);
        }
        EXPECT_EQ(fullScreenCalls(), entry.calls);
        showDirectly(from_);
    }
}

TEST_F(TransitionTest, ATransitionShownFirstHasNothingToLeave) {
    SceneManager::destroyInstance();
    manager_ = SceneManager::create();
    to_ = kindCast<ProbeScene>(manager_->addScene("SCENE_TO"));
    ASSERT_TRUE(manager_->setTransition("ALPHA_ZERO"));
    auto* alpha = kindCast<AlphaTransitionScene>(manager_->getTransition());
    manager_->setNextScene(to_);
    manager_->run(kStep); // no scene before: the transition also runs this frame
    EXPECT_EQ(alpha->getFrom(), nullptr);
    EXPECT_EQ(manager_->getNext(), to_);
    const RefPtr<Image> frame = drawFrame(*alpha);
    EXPECT_EQ(test::pixelAt(*frame, 0, 0) & 0xFFFFFFU, 0U);
}

// The game's own transitions, as its definitions name them.
class MediaTransitionsTest : public test::SceneFixture {};

TEST_F(MediaTransitionsTest, TheGameDefinitionsBuildTheirTransitions) {
    getDefinitionStore().addFile(std::string(ORVANTA_MEDIA_SOURCE) + "/properties/dialogs.xml");
    getDefinitionStore().load();
    bareWindow();
    SceneManager* manager = SceneManager::create();
    for (const char* name : {"TRANSITION_DEFAULT", "TRANSITION_ELEVATOR"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(manager->setTransition(name));
        auto* fade = kindCast<FadeBlackTransitionScene>(manager->getTransition());
        ASSERT_NE(fade, nullptr);
        EXPECT_NE(kindCast<Label>(fade->findComponent("LOADING_LABEL")), nullptr);
        EXPECT_TRUE(fade->getWait());
    }
    ASSERT_TRUE(manager->setTransition("TRANSITION_SPLASH"));
    EXPECT_NE(kindCast<AlphaTransitionScene>(manager->getTransition()), nullptr);
}

} // namespace
} // namespace orv
