#pragma once

#include "engine/core/Log.h"
#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/platform/iInputListener.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/Image.h"
#include "engine/scene/AbstractToolTip.h"
#include "engine/scene/ITransition.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::test {

/// What the probes below did, in order, for tests of the frame's order.
inline std::vector<std::string>& events() {
    static std::vector<std::string> list;
    return list;
}

/// A sprite that takes left clicks on itself and counts what it was offered.
class ProbeButton : public Sprite, public iInputListener {
public:
    static constexpr ClassRecord classRecord{
        "ProbeButton", parentRecords<Sprite::classRecord, iInputListener::classRecord>};
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit ProbeButton(PropertyNode* definition) : Sprite(definition) {}
    static BaseObject* create(PropertyNode* definition) { return new ProbeButton(definition); }

    void* getInterface(const ClassRecord& record) override {
        if (&record == &iInputListener::classRecord) {
            return static_cast<iInputListener*>(this);
        }
        return Sprite::getInterface(record);
    }
    bool onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) override {
        ++offered;
        events().push_back("button " + getName());
        return hitTest(x, y);
    }
    bool onLeftButtonUp(int x, int y, int /*flags*/) override {
        ++offered;
        return hitTest(x, y);
    }
    bool onMouseMove(int /*x*/, int /*y*/, int /*flags*/) override {
        ++offered;
        return false;
    }
    void reset() override { ++resets; }

    int offered = 0;
    int resets = 0;
};

/// A sprite that records its frame update and its drawing, and can ask
/// for a scene switch or mark itself for removal while it updates.
class ProbeSprite : public Sprite {
public:
    ProbeSprite() : Sprite(0, 0, 1, 1) {}
    void updateSelf(int /*elapsedMs*/) override {
        events().push_back("move");
        if (removeOnUpdate) {
            setRemovalMark(true);
        }
    }
    void render(Graphics& /*graphics*/) override {
        events().push_back(getParent() != nullptr ? "render" : "render unlinked");
    }
    bool removeOnUpdate = false;
};

/// A scene that records its hooks.
class ProbeScene : public Scene {
public:
    static constexpr ClassRecord classRecord{"ProbeScene", parentRecords<Scene::classRecord>};
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit ProbeScene(PropertyNode* definition) : Scene(definition) {}
    static BaseObject* create(PropertyNode* definition) { return new ProbeScene(definition); }

    void open() override {
        ++opened;
        Scene::open();
    }
    using Scene::setBackground;
    void setBackground() override {
        ++backgroundsSet;
        Scene::setBackground();
    }
    void updateSelf(int /*elapsedMs*/) override {
        events().push_back("update " + getName());
        if (requestOnUpdate != nullptr) {
            SceneManager::getInstance()->setNextScene(std::exchange(requestOnUpdate, nullptr));
        }
    }
    void onQuitRequest() override { ++quitRequests; }
    bool onMouseMove(int /*x*/, int /*y*/, int /*flags*/) override {
        events().push_back("input " + getName());
        return false;
    }

    int opened = 0;
    int backgroundsSet = 0;
    int quitRequests = 0;
    Scene* requestOnUpdate = nullptr;
};

/// A dialog class that counts how often the factory built it.
class CountedDialog : public Dialog {
public:
    explicit CountedDialog(PropertyNode* definition) : Dialog(definition) { ++built; }
    static BaseObject* create(PropertyNode* definition) { return new CountedDialog(definition); }
    static inline int built = 0;
};

/// A transition that hands over when told to, opening its target first as
/// the real ones do.
class ProbeTransition : public Scene, public ITransition {
public:
    explicit ProbeTransition(PropertyNode* definition) : Scene(definition) {}
    static BaseObject* create(PropertyNode* definition) { return new ProbeTransition(definition); }

    void start(Scene* from, Scene* to) override {
        from_ = from;
        to_ = to;
        ++started;
    }
    [[nodiscard]] Scene* getTarget() const override { return to_; }
    void handOver() {
        to_->open();
        SceneManager::getInstance()->setNextScene(to_);
    }

    Scene* from_ = nullptr;
    Scene* to_ = nullptr;
    int started = 0;
};

/// A tooltip that records its runs and the root it was given.
class ProbeToolTip : public AbstractToolTip {
public:
    void setRoot(GameNode* root) override { root_ = root; }
    void run(int /*elapsedMs*/) override { events().push_back("tooltip"); }
    void reset() override {}

    RefPtr<GameNode> root_;
};

/// Scenes, dialogs and a transition defined in one property file.
inline constexpr const char* kSceneDefinitions = R"(<root>
<Node id="scenes">
    <ProbeScene id="SCENE_ONE" width="800" height="600">
        <Vector id="scenecomponents">
            <Sprite name="LOGO" x="10" y="20"/>
            <Integer value="1"/>
            <ProbeButton name="FLOOR" width="800" height="600"/>
        </Vector>
    </ProbeScene>
    <ProbeScene id="SCENE_TWO" width="800" height="600"/>
    <Sprite id="SCENE_SPRITE"/>
    <ProbeTransition id="SCENE_FADE" width="800" height="600"/>
    <Scene id="SCENE_PICTURE" scenebackground="BG" section="scene"/>
    <Scene id="SCENE_NO_PICTURE" scenebackground="NOPE" section="scene"/>
</Node>
<Node id="dialogs">
    <Dialog id="DIALOG_MENU" width="300" height="200" autocenter="true">
        <Vector id="components"><ProbeButton name="MENU_OK" width="300" height="200"/></Vector>
    </Dialog>
    <Dialog id="DIALOG_ASK" width="100" height="100">
        <Vector id="components"><ProbeButton name="ASK_OK" width="100" height="100"/></Vector>
    </Dialog>
    <CountedDialog id="DIALOG_COUNTED"/>
    <Dialog id="DIALOG_PICTURE" width="5" height="5" background="BG" section="scene"/>
    <Dialog id="DIALOG_NO_PICTURE" width="5" height="5" background="NOPE" section="scene"/>
    <Sprite id="DIALOG_SPRITE"/>
</Node>
</root>)";

/// Registered classes, named settings, a log capture and a definition store
/// loaded from a property file written into a temporary folder. Releases
/// every process-wide object it or the test made.
class SceneFixture : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        ObjectFactoryContainer& factory = ObjectFactoryContainer::get();
        factory.registerCreator("ProbeButton", &ProbeButton::create);
        factory.registerCreator("ProbeScene", &ProbeScene::create);
        factory.registerCreator("CountedDialog", &CountedDialog::create);
        factory.registerCreator("ProbeTransition", &ProbeTransition::create);
        BasicProperties::create();
        previousSink_ = setLogSink(
            [this](LogLevel /*level*/, std::string_view line) { log_.emplace_back(line); });
        events().clear();
        CountedDialog::built = 0;
    }
    void TearDown() override {
        SceneManager::destroyInstance();
        GameWindow::setInstance(nullptr);
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        FileArchive::shutDown();
        setLogSink(previousSink_);
    }

    /// Writes `xml` as a property file and loads it into the definition store.
    void loadDefinitions(const std::string& xml) {
        writeFile(dir_.file("scenes.xml"), xml);
        getDefinitionStore().addFile(dir_.file("scenes.xml"));
        getDefinitionStore().load();
    }
    /// A bare 800 x 600 window object (no desktop window) for the code that
    /// asks the window's size and hook list.
    GameWindow& bareWindow() {
        RefPtr<GameWindow> window(new GameWindow());
        window->setSize(800, 600);
        GameWindow::setInstance(window.get());
        return *GameWindow::getInstance();
    }
    [[nodiscard]] bool logged(std::string_view part) const {
        for (const std::string& line : log_) {
            if (line.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    TempDir dir_;
    std::vector<std::string> log_;
    LogSink previousSink_;
};

/// A 32-bit image of one colour (alpha included).
inline RefPtr<Image> solidImage(int width, int height, std::uint32_t argb) {
    RefPtr<Image> image = createImage(width, height, kFormatArgb32);
    if (image && image->lock()) {
        for (int y = 0; y < height; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(image->getPixels() + y * image->getPitch());
            for (int x = 0; x < width; ++x) {
                row[x] = argb;
            }
        }
        image->unlock();
    }
    return image;
}

/// The pixel at (x, y) of a 32-bit image.
inline std::uint32_t pixelAt(Image& image, int x, int y) {
    if (!image.lock()) {
        return 0;
    }
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(image.getPixels() + y * image.getPitch());
    const std::uint32_t pixel = row[x];
    image.unlock();
    return pixel;
}

/// The colour channels of `pixel` each within 3 of `rgb`'s (blending rounds).
inline bool nearColour(std::uint32_t pixel, std::uint32_t rgb) {
    for (const unsigned shift : {0U, 8U, 16U}) {
        const int a = static_cast<int>((pixel >> shift) & 0xFFU);
        const int b = static_cast<int>((rgb >> shift) & 0xFFU);
        if (a - b > 3 || b - a > 3) {
            return false;
        }
    }
    return true;
}

} // namespace orv::test
