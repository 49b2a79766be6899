#include "engine/core/GameTree.h"
#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/FontLayer.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/GuiClasses.h"
#include "engine/gui/ToolTip.h"
#include "engine/gui/ToolTipLabel.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/Image.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/SceneManager.h"
#include "tests/graphics/FontFixture.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {
namespace {

constexpr int kFrameMs = 100;

// The box the tooltip shows: 100 x 40, recording the text it was given and
// where it was drawn (the graphics' translation).
class ProbeBox : public Sprite {
public:
    ProbeBox() : Sprite(0, 0, 100, 40) {}
    void setToolTip(std::wstring_view text) override { shownText = text; }
    void render(Graphics& graphics) override {
        draws.emplace_back(graphics.getTranslateX(), graphics.getTranslateY());
    }
    std::wstring shownText;
    std::vector<std::pair<int, int>> draws;
};

// A font of fixed pitch: every printable ASCII character a 3 x 5 glyph
// advancing 4 pixels, the blank 4; one white mask layer. A text of n
// characters that ends in a glyph measures 4n - 1.
RefPtr<BitmapFont> gridFont() {
    std::string xml = "<Font><Node id=\"font\" spacewidth=\"4\"><Vector id=\"chars\">";
    for (int code = 0x21; code <= 0x7E; ++code) {
        xml += "<G c=\"" + std::to_string(code) + "\" sx=\"" + std::to_string((code - 0x21) * 3) +
               "\" sw=\"3\" sh=\"5\" width=\"4\"/>";
    }
    xml += "</Vector></Node></Font>";
    RefPtr<BitmapFont> font = test::fontFromXml(xml);
    RefPtr<Image> mask = createImage(94 * 3, 5, kFormatAlpha);
    std::memset(mask->getAlpha(), 255, 94 * 3 * 5);
    font->addLayer(new FontLayer(0, 0xFFFFFFFF, mask.get()));
    return font;
}

class ToolTipTest : public testing::Test {
protected:
    void SetUp() override {
        registerPropertyClasses();
        registerNodeClasses();
        registerSceneClasses();
        registerGuiClasses();
        BasicProperties::create();
        GameWindow* window = createGameWindow("Tooltip test", 800, 600, false, 4, 0);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(window->getGraphics(), nullptr);
        tip_->setRenderer(box_.get());
        tip_->setRoot(root_.get());
    }
    void TearDown() override {
        SceneManager::destroyInstance();
        destroyDefinitionStore();
        tip_ = nullptr;
        root_ = nullptr;
        GameWindow::setInstance(nullptr);
        BasicProperties::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
    }

    Sprite* addSprite(int x, int y, int width, int height, std::wstring_view text,
                      GameNode* parent = nullptr) {
        auto* sprite = new Sprite(x, y, width, height);
        sprite->setToolTip(text);
        GameTree::appendChild(sprite, parent != nullptr ? parent : root_.get());
        return sprite;
    }
    // Builds the definition `xml` (one element with id "n") through the
    // object factory.
    static RefPtr<BaseObject> build(const std::string& xml) {
        const RefPtr<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadText("<Root>" + xml + "</Root>"));
        return RefPtr<BaseObject>(orv::createFromDefinition(store->getNode("n")));
    }
    void pointAt(int x, int y) { static_cast<void>(tip_->onMouseMove(x, y, 0)); }
    // Runs `frames` frames; the number of times the box was drawn meanwhile.
    int runFrames(int frames) {
        const std::size_t before = box_->draws.size();
        for (int i = 0; i < frames; ++i) {
            tip_->run(kFrameMs);
        }
        return static_cast<int>(box_->draws.size() - before);
    }
    // The sprite the tooltip settles on for the pointer at (x, y).
    Sprite* foundAt(int x, int y) {
        pointAt(x, y);
        tip_->run(kFrameMs);
        return tip_->getCurrent();
    }

    RefPtr<ToolTip> tip_{new ToolTip(nullptr)};
    RefPtr<ProbeBox> box_{new ProbeBox()};
    RefPtr<GameNode> root_{new GameNode()};
};

TEST_F(ToolTipTest, ShowsAfterTheShowDelayAndOnlyForTheRemoveDelay) {
    ASSERT_EQ(tip_->getShowDelay(), 1000);
    ASSERT_EQ(tip_->getRemoveDelay(), 10000);
    addSprite(100, 100, 50, 20, L"Hello");
    pointAt(110, 110);
    EXPECT_EQ(runFrames(1), 0); // found: the delay starts
    EXPECT_EQ(box_->shownText, L"Hello");
    EXPECT_EQ(runFrames(9), 0); // 0.9 s
    EXPECT_EQ(runFrames(1), 1); // 1.0 s
    EXPECT_EQ(box_->draws.back(), std::make_pair(110, 134));
    EXPECT_EQ(runFrames(99), 99); // ten seconds in all
    EXPECT_EQ(runFrames(50), 0);  // then nothing while the pointer stays
}

TEST_F(ToolTipTest, LeavingHidesItAndAnotherSpriteStartsOver) {
    Sprite* first = addSprite(100, 100, 50, 20, L"First");
    Sprite* second = addSprite(150, 100, 50, 20, L"Second");
    pointAt(110, 110);
    EXPECT_EQ(runFrames(11), 1);

    pointAt(400, 400); // off every sprite
    EXPECT_EQ(runFrames(1), 0);
    EXPECT_EQ(tip_->getCurrent(), nullptr);
    pointAt(110, 110); // back: the whole delay again
    EXPECT_EQ(runFrames(10), 0);
    EXPECT_EQ(runFrames(1), 1);
    EXPECT_EQ(tip_->getCurrent(), first);

    pointAt(160, 110); // straight onto the neighbour
    EXPECT_EQ(runFrames(10), 0);
    EXPECT_EQ(tip_->getCurrent(), second);
    EXPECT_EQ(box_->shownText, L"Second");
    EXPECT_EQ(runFrames(1), 1);
    EXPECT_EQ(box_->draws.back(), std::make_pair(160, 134));

    // A sprite that loses its text no longer shows; hidden ones are passed.
    second->setToolTip(L"");
    EXPECT_EQ(runFrames(1), 0);
    EXPECT_EQ(tip_->getCurrent(), nullptr);
    first->setVisible(false);
    EXPECT_EQ(foundAt(110, 110), nullptr);
}

TEST_F(ToolTipTest, TheBoxStaysInsideTheWindow) {
    struct Case {
        int mouseX;
        int mouseY;
        int tipX;
        int tipY;
    };
    // The box is 100 x 40 and keeps 3 pixels: 103 x 43 in an 800 x 600 window.
    const Case cases[] = {
        {200, 200, 200, 224}, // below the pointer
        {750, 100, 697, 124}, // below, pushed back from the right edge
        {200, 560, 216, 557}, // no room below: beside the pointer, lifted
        {200, 540, 216, 540}, // beside, no lift needed
        {780, 580, 675, 557}, // beside and at the right edge: left of the pointer
    };
    addSprite(0, 0, 800, 600, L"Everywhere");
    for (const Case& c : cases) {
        tip_ = new ToolTip(nullptr);
        tip_->setRenderer(box_.get());
        tip_->setRoot(root_.get());
        tip_->setShowDelay(kFrameMs);
        pointAt(c.mouseX, c.mouseY);
        EXPECT_EQ(runFrames(2), 1);
        EXPECT_EQ(box_->draws.back(), std::make_pair(c.tipX, c.tipY))
            << c.mouseX << ", " << c.mouseY;
    }

    // Without a delay the box is placed for the sprite it shows at once.
    tip_->setShowDelay(0);
    addSprite(0, 0, 10, 10, L"Corner");
    ASSERT_NE(foundAt(5, 5), nullptr);
    EXPECT_EQ(box_->shownText, L"Corner");
    EXPECT_EQ(box_->draws.back(), std::make_pair(5, 29));
}

TEST_F(ToolTipTest, DialogsAndPanelsHideWhatLiesBeneath) {
    Sprite* under = addSprite(0, 0, 200, 200, L"Beneath");
    EXPECT_EQ(foundAt(50, 50), under);

    // A panel drawn later hides the sprites below it where it lies.
    const RefPtr<BaseObject> panel =
        build(R"(<Panel id="n" x="150" y="150" width="100" height="100"/>)");
    GameTree::appendChild(kindCast<GameNode>(panel.get()), root_.get());
    EXPECT_EQ(foundAt(160, 160), nullptr);
    EXPECT_EQ(foundAt(50, 50), under);

    // An open dialog hides everything drawn before it, wherever it is; its
    // own components still show theirs.
    const RefPtr<BaseObject> made =
        build(R"(<Dialog id="n" x="300" y="300" width="100" height="100"/>)");
    auto* dialog = kindCast<Dialog>(made.get());
    ASSERT_NE(dialog, nullptr);
    GameTree::appendChild(dialog, root_.get());
    Sprite* inside = addSprite(10, 10, 20, 20, L"Inside", dialog->getComponentRoot());
    EXPECT_EQ(foundAt(50, 50), nullptr);
    EXPECT_EQ(foundAt(315, 315), inside);
    EXPECT_EQ(box_->shownText, L"Inside");

    dialog->setRemovalMark(true); // leaving: no longer covers anything
    EXPECT_EQ(foundAt(50, 50), under);
}

TEST_F(ToolTipTest, TakesTheTextFromTheTextTable) {
    BasicProperties::get()->getTextEntry("TEXT_TIP") = L"From the table";
    const RefPtr<BaseObject> known =
        build(R"(<Sprite id="n" width="50" height="50" tooltip="TEXT_TIP"/>)");
    const RefPtr<BaseObject> unknown =
        build(R"(<Sprite id="n" x="60" width="50" height="50" tooltip="TEXT_NONE"/>)");
    GameTree::appendChild(kindCast<GameNode>(known.get()), root_.get());
    GameTree::appendChild(kindCast<GameNode>(unknown.get()), root_.get());
    EXPECT_EQ(foundAt(10, 10), known.get());
    EXPECT_EQ(box_->shownText, L"From the table");
    EXPECT_EQ(foundAt(70, 10), nullptr);
}

TEST_F(ToolTipTest, IsBuiltWithItsRendererFromADefinition) {
    const RefPtr<BaseObject> made = build(R"(<ToolTip id="n" showdelay="800" removedelay="5000">
                   <ToolTipLabel id="renderer" padding="4" maxwidth="260"/></ToolTip>)");
    auto* built = kindCast<ToolTip>(made.get());
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->getShowDelay(), 800);
    EXPECT_EQ(built->getRemoveDelay(), 5000);
    auto* label = kindCast<ToolTipLabel>(built->getRenderer());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getPadding(), 4);
    EXPECT_EQ(built->getInterface(iInputListener::classRecord),
              static_cast<iInputListener*>(built));
    EXPECT_FALSE(built->onMouseMove(3, 4, 0)); // heard, never taken
    EXPECT_EQ(built->getMouseX(), 3);

    test::LogCapture log;
    const RefPtr<BaseObject> wrong =
        build(R"(<ToolTip id="n"><GameNode id="renderer"/></ToolTip>)");
    EXPECT_EQ(kindCast<ToolTip>(wrong.get())->getRenderer(), nullptr);
    EXPECT_TRUE(log.contains("not a sprite"));
}

TEST_F(ToolTipTest, InstalledForTheScenesItHearsThePointerThroughTheirContainers) {
    test::TempDir dir;
    test::writeFile(dir.file("scenes.xml"), R"(<root>
        <Node id="scenes"><Scene id="SCENE_TIP" width="800" height="600"/></Node>
        <Node id="dialogs"><Dialog id="DIALOG_TIP" x="300" y="300" width="100" height="100"/>
        </Node></root>)");
    getDefinitionStore().addFile(dir.file("scenes.xml"));
    getDefinitionStore().load();
    SceneManager* scenes = SceneManager::create();
    Scene* scene = scenes->addScene("SCENE_TIP");
    ASSERT_NE(scene, nullptr);
    scenes->setToolTip(tip_.get());
    scenes->setNextScene(scene);
    scenes->run(kFrameMs); // opened: the tooltip searches its dialog layer
    EXPECT_EQ(tip_->getRoot(), scene->getDialogLayer());
    Sprite* sprite = new Sprite(100, 100, 50, 20);
    sprite->setToolTip(L"On the scene");
    scene->addComponent(sprite);

    static_cast<void>(scene->getListenerContainer().onMouseMove(110, 110, 0));
    EXPECT_EQ(runFrames(11), 1);
    EXPECT_EQ(tip_->getCurrent(), sprite);
    EXPECT_EQ(box_->draws.back(), std::make_pair(110, 134));

    // An open dialog passes the pointer on too, and covers the scene.
    Dialog* dialog = scene->getDialog("DIALOG_TIP");
    ASSERT_NE(dialog, nullptr);
    scene->showDialog(dialog);
    static_cast<void>(dialog->getListenerContainer().onMouseMove(120, 112, 0));
    EXPECT_EQ(tip_->getMouseX(), 120);
    EXPECT_EQ(runFrames(11), 0);
    EXPECT_EQ(tip_->getCurrent(), nullptr);
}

// --- the text box ------------------------------------------------------------

TEST_F(ToolTipTest, TheLabelWrapsAtItsMaximumWidthAndFitsTheWidestLine) {
    const RefPtr<BaseObject> made = build(R"(<ToolTipLabel id="n" maxwidth="40"/>)");
    auto* label = kindCast<ToolTipLabel>(made.get());
    ASSERT_NE(label, nullptr);
    label->setFont(gridFont().get());
    EXPECT_EQ(label->getWrapStyle(), Label::kWordWrap);
    label->setToolTip(L"aaaa bbbb cccc"); // 55 pixels in one line
    label->relayout();
    ASSERT_EQ(label->getLines().size(), 2U);
    EXPECT_EQ(label->getLines()[0].text, L"aaaa bbbb");
    EXPECT_EQ(label->getLines()[1].text, L"cccc");
    EXPECT_EQ(label->getWidth(), 35);
    label->setToolTip(L"ab"); // a short text: a small box
    label->relayout();
    EXPECT_EQ(label->getWidth(), 7);

    // The label's own width is the maximum when none is given; without
    // either the text runs on in one line.
    const RefPtr<BaseObject> sized = build(R"(<ToolTipLabel id="n" width="50"/>)");
    EXPECT_EQ(kindCast<ToolTipLabel>(sized.get())->getMaxWidth(), 50);
    EXPECT_EQ(kindCast<ToolTipLabel>(sized.get())->getWrapStyle(), Label::kWordWrap);
    const RefPtr<BaseObject> plain = build(R"(<ToolTipLabel id="n"/>)");
    EXPECT_EQ(kindCast<ToolTipLabel>(plain.get())->getWrapStyle(), Label::kAutoWidth);
}

TEST_F(ToolTipTest, TheLabelDrawsItsBorderBackgroundAndText) {
    const RefPtr<BaseObject> made = build(
        R"(<ToolTipLabel id="n" padding="2" backgroundcolor="#FFFFE1" bordercolor="#000080"/>)");
    auto* label = kindCast<ToolTipLabel>(made.get());
    ASSERT_NE(label, nullptr);
    label->setFont(gridFont().get());
    label->setToolTip(L"ab"); // 7 x 5

    RefPtr<Image> canvas = createImage(40, 30, kFormatArgb32);
    const RefPtr<Graphics> graphics = createGraphics(*canvas);
    graphics->setColor(0xFF000000U);
    graphics->clear();
    graphics->setColor(0xFF123456U);
    graphics->setAlpha(200);
    graphics->setTranslation(10, 10);
    label->render(*graphics);
    EXPECT_EQ(graphics->getColor(), 0xFF123456U);
    EXPECT_EQ(graphics->getAlpha(), 200);

    ASSERT_TRUE(canvas->lock());
    const auto rgb = [&](int x, int y) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, canvas->getPixels() + y * canvas->getPitch() + x * 4, sizeof pixel);
        return pixel & 0xFFFFFFU;
    };
    // The border runs 2 pixels outside the 7 x 5 text: x 8..18, y 8..16.
    for (const auto& [x, y] : {std::pair{8, 8}, {18, 8}, {8, 16}, {18, 16}, {13, 8}, {8, 12}}) {
        EXPECT_EQ(rgb(x, y), 0x000080U) << x << ", " << y;
    }
    for (const auto& [x, y] : {std::pair{9, 9}, {17, 15}, {13, 9}, {17, 12}}) {
        EXPECT_EQ(rgb(x, y), 0xFFFFE1U) << x << ", " << y;
    }
    EXPECT_EQ(rgb(7, 7), 0U);          // outside the box
    EXPECT_EQ(rgb(10, 10), 0xFFFFFFU); // the text, white, over it
    canvas->unlock();
}

} // namespace
} // namespace orv
