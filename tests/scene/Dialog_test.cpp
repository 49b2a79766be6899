#include "engine/properties/PropertyNode.h"
#include "engine/scene/AbstractPainter.h"
#include "engine/scene/Dialog.h"
#include "tests/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

using test::ProbeButton;

// A frame of 10-pixel tiles: sizes round up to a multiple of 10; painting
// fills the canvas with one colour.
class TilePainter : public AbstractPainter {
public:
    static BaseObject* create(PropertyNode* /*definition*/) { return new TilePainter(); }
    void paint(Graphics& graphics) override {
        ++painted;
        graphics.setColor(0xFF00FF00U);
        graphics.fillRect(0, 0, 1000, 1000);
        graphics.setChannelRect(0, 255, 0, 0, 1000, 1000); // an opaque frame
        setDirty(false);
    }
    int adjustWidth(int width) override { return (width + 9) / 10 * 10; }
    int adjustHeight(int height) override { return (height + 9) / 10 * 10; }
    static inline int painted = 0;
};

class DialogTest : public test::SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ObjectFactoryContainer::get().registerCreator("TilePainter", &TilePainter::create);
        TilePainter::painted = 0;
    }
    RefPtr<Dialog> dialogFrom(const std::string& dialogXml) {
        loadDefinitions(R"(<root><Node id="templates"><TilePainter id="FRAME"/>
            <Sprite id="NOT_A_PAINTER"/>)" +
                        dialogXml + "</Node></root>");
        return RefPtr<Dialog>(kindCast<Dialog>(
            orv::createFromDefinition(getDefinitionStore().getTemplates()->getNode("DIALOG"))));
    }
};

TEST_F(DialogTest, AutoCentredDialogOpensInTheMiddleOfTheWindow) {
    bareWindow();
    RefPtr<Dialog> dialog =
        dialogFrom(R"(<Dialog id="DIALOG" width="300" height="201" autocenter="true"/>)");
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->getListenerContainer().isInputEnabled());
    dialog->open();
    EXPECT_EQ(dialog->getX(), 250);
    EXPECT_EQ(dialog->getY(), 199);
    EXPECT_TRUE(dialog->getListenerContainer().isInputEnabled());
    dialog->close();
    EXPECT_FALSE(dialog->getListenerContainer().isInputEnabled());
}

TEST_F(DialogTest, DragStartsPastThreePixelsAndMutesTheComponentsUntilRelease) {
    RefPtr<Dialog> dialog = dialogFrom(R"(<Dialog id="DIALOG" x="50" y="50" width="200"
        height="200" movable="true"><Vector id="components">
        <ProbeButton name="OK" x="0" y="0" width="200" height="200"/></Vector></Dialog>)");
    auto* button = kindCast<ProbeButton>(dialog->findComponent("OK"));
    ASSERT_TRUE(dialog->bindComponent("OK", nullptr, nullptr));
    iInputListenerContainer& input = dialog->getListenerContainer();
    dialog->open();

    // The button stands first and takes the press; the dialog's own part
    // only hears what the button leaves.
    EXPECT_TRUE(input.onLeftButtonDown(100, 100, 0, false));
    EXPECT_EQ(button->offered, 1);
    EXPECT_EQ(dialog->getDragState(), DragState::Idle);
    input.removeListener(button);
    EXPECT_TRUE(input.onLeftButtonDown(100, 100, 0, false));
    EXPECT_EQ(dialog->getDragState(), DragState::Pressed);
    ASSERT_TRUE(dialog->bindComponent("OK", nullptr, nullptr));

    input.onMouseMove(103, 100, 0);
    EXPECT_EQ(dialog->getX(), 50);
    input.onMouseMove(104, 100, 0);
    EXPECT_EQ(dialog->getDragState(), DragState::Moving);
    EXPECT_EQ(dialog->getX(), 54);
    const int offered = button->offered;
    input.onMouseMove(110, 95, 0);
    EXPECT_EQ(dialog->getX(), 60);
    EXPECT_EQ(dialog->getY(), 45);
    EXPECT_TRUE(input.onLeftButtonUp(110, 95, 0));
    EXPECT_EQ(button->offered, offered); // the button heard nothing of the drag
    EXPECT_EQ(dialog->getDragState(), DragState::Idle);

    EXPECT_TRUE(input.isInputEnabled());
    input.onLeftButtonDown(100, 100, 0, false);
    EXPECT_EQ(button->offered, offered + 1);
}

// Dragged against an edge of the 800 x 600 window, a dialog stops with its
// whole box inside; one larger than the window keeps covering it.
TEST_F(DialogTest, ADraggedDialogStaysInsideTheWindow) {
    bareWindow();
    struct Case {
        int width;
        int height;
        int toX;
        int toY;
        int x;
        int y;
    };
    for (const Case& c : {Case{200, 100, 2000, 2000, 600, 500}, Case{200, 100, -900, -900, 0, 0},
                          Case{200, 100, 300, 250, 250, 200}, Case{900, 700, 2000, 2000, 0, 0},
                          Case{900, 700, -2000, -2000, -100, -100}}) {
        RefPtr<Dialog> dialog =
            dialogFrom(R"(<Dialog id="DIALOG" x="50" y="50" width=")" + std::to_string(c.width) +
                       R"(" height=")" + std::to_string(c.height) + R"(" movable="true"/>)");
        dialog->open();
        iInputListenerContainer& input = dialog->getListenerContainer();
        ASSERT_TRUE(input.onLeftButtonDown(100, 100, 0, false));
        input.onMouseMove(c.toX, c.toY, 0);
        EXPECT_EQ(dialog->getX(), c.x) << c.width << " to " << c.toX;
        EXPECT_EQ(dialog->getY(), c.y) << c.height << " to " << c.toY;
        EXPECT_TRUE(input.onLeftButtonUp(c.toX, c.toY, 0));
    }
}

TEST_F(DialogTest, SwallowsEveryEventAndHandlesOnlyPressesOnItself) {
    RefPtr<Dialog> dialog = dialogFrom(R"(<Dialog id="DIALOG" width="10" height="10"/>)");
    dialog->open();
    EXPECT_TRUE(dialog->getListenerContainer().onLeftButtonDown(500, 500, 0, false));
    EXPECT_TRUE(dialog->getListenerContainer().onKeyDown(27));
    EXPECT_TRUE(dialog->onLeftButtonDown(5, 5, 0, false));
    EXPECT_FALSE(dialog->onLeftButtonDown(50, 5, 0, false));
    EXPECT_FALSE(dialog->bindComponent("MISSING", nullptr, nullptr));
    EXPECT_TRUE(logged("MISSING"));
}

TEST_F(DialogTest, PainterSizesTheDialogAndPaintsItsPicture) {
    RefPtr<Dialog> dialog = dialogFrom(R"(<Dialog id="DIALOG" painterid="FRAME"
        minwidth="95" minheight="41"/>)");
    ASSERT_NE(dialog->getPainter(), nullptr);
    EXPECT_EQ(dialog->getWidth(), 100);
    EXPECT_EQ(dialog->getHeight(), 50);
    EXPECT_EQ(dialog->getMinWidth(), 95);

    RefPtr<Image> target = test::solidImage(120, 60, 0xFF000000U);
    RefPtr<Graphics> graphics = createGraphics(*target);
    dialog->render(*graphics);
    ASSERT_NE(dialog->getImage(), nullptr);
    EXPECT_EQ(dialog->getImage()->getWidth(), 100);
    EXPECT_NE(dialog->getImage(), dialog->getBackground()); // a copy is shown
    EXPECT_EQ(test::pixelAt(*target, 99, 49) & 0xFFFFFFU, 0x00FF00U);
    EXPECT_EQ(test::pixelAt(*target, 100, 50) & 0xFFFFFFU, 0U);
    dialog->render(*graphics);
    EXPECT_EQ(TilePainter::painted, 1); // nothing changed: no repaint

    dialog->setWidth(101);
    dialog->render(*graphics);
    EXPECT_EQ(dialog->getWidth(), 110);
    EXPECT_EQ(TilePainter::painted, 2); // a new canvas of the new size
}

TEST_F(DialogTest, PainterWithoutAutoEnlargeKeepsTheDefinedSize) {
    RefPtr<Dialog> dialog = dialogFrom(R"(<Dialog id="DIALOG" painterid="FRAME" width="33"
        height="44" autoenlarge="false"/>)");
    ASSERT_NE(dialog->getPainter(), nullptr);
    EXPECT_EQ(dialog->getWidth(), 33);
    EXPECT_EQ(dialog->getHeight(), 44);
}

TEST_F(DialogTest, PainterDefinitionsThatMakeNoPainterAreRefused) {
    for (const char* painter : {"NOT_A_PAINTER", "NO_SUCH_TEMPLATE"}) {
        log_.clear();
        RefPtr<Dialog> dialog = dialogFrom(
            std::string(R"(<Dialog id="DIALOG" width="20" painterid=")") + painter + R"("/>)");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->getPainter(), nullptr) << painter;
        EXPECT_EQ(dialog->getWidth(), 20);
        EXPECT_TRUE(logged(painter)) << painter;
    }
}

TEST_F(DialogTest, BufferedDialogRebuildsItsPictureWhenAComponentChanges) {
    RefPtr<Dialog> dialog = dialogFrom(R"(<Dialog id="DIALOG" painterid="FRAME" minwidth="10"
        minheight="10" usebuffer="true"><Vector id="components">
        <Sprite name="DOT" x="2" y="3"/></Vector></Dialog>)");
    EXPECT_FALSE(dialog->getComponentRoot()->isVisible());
    auto* dot = kindCast<Sprite>(dialog->findComponent("DOT"));
    dot->setImage(test::solidImage(1, 1, 0xFFFF0000U).get());

    RefPtr<Image> target = test::solidImage(10, 10, 0xFF000000U);
    RefPtr<Graphics> graphics = createGraphics(*target);
    dialog->render(*graphics);
    EXPECT_TRUE(test::nearColour(test::pixelAt(*target, 2, 3), 0xFF0000U));
    EXPECT_FALSE(dialog->needsRefresh());

    dot->setImage(test::solidImage(1, 1, 0xFF0000FFU).get());
    dialog->render(*graphics);
    EXPECT_TRUE(test::nearColour(test::pixelAt(*target, 2, 3), 0x0000FFU));
    EXPECT_EQ(TilePainter::painted, 1); // the frame itself stayed
}

} // namespace
} // namespace orv
