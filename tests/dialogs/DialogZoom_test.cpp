#include "game/dialogs/DialogZoom.h"

#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/Image.h"
#include "engine/scene/Label.h"
#include "engine/scene/Panel.h"
#include "game/dialogs/HeaderDialogPainter.h"
#include "tests/dialogs/DialogFixture.h"

#include <string>
#include <vector>

namespace orv::test {
namespace {

constexpr const char* kZoomDefinitions = R"(<root>
<Node id="scenes"><Scene id="SCENE_TEST" width="800" height="600"/></Node>
<Node id="dialogs">
  <DialogZoom id="DIALOG_ZOOM" x="300" y="200" width="200" height="100" anchorpoint="center">
    <Vector id="components">
      <Label name="FIRST" x="30" y="30" width="100" height="20"/>
      <Label name="SECOND" x="30" y="60" width="100" height="20"/>
    </Vector>
  </DialogZoom>
</Node>
</root>)";

constexpr int kAppearMs = 400;
constexpr int kDisappearMs = 200;
constexpr int kHideDelayMs = 100;

class DialogZoomTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        BasicProperties& settings = *BasicProperties::get();
        settings.getInteger("DIALOG_ZOOM_APPEAR_TIME") = kAppearMs;
        settings.getInteger("DIALOG_ZOOM_DISAPPEAR_TIME") = kDisappearMs;
        settings.getInteger("DIALOG_ZOOM_HIDE_DELAY") = kHideDelayMs;
        GameConstants().apply();
        Scene& scene = startScene(kZoomDefinitions);
        zoom_ = kindCast<DialogZoom>(scene.getDialog("DIALOG_ZOOM"));
        ASSERT_NE(zoom_, nullptr);
    }
    // Frames of `ms` each on the dialog alone.
    void run(int frames, int ms) {
        for (int i = 0; i < frames; ++i) {
            zoom_->update(ms);
        }
    }

    DialogZoom* zoom_ = nullptr;
};

TEST_F(DialogZoomTest, ComponentsLiveInAClippedContainerHiddenAtFirst) {
    Panel* container = zoom_->getContainer();
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->getParent(), zoom_->getComponentRoot());
    for (const char* name : {"FIRST", "SECOND"}) {
        GameNode* component = zoom_->findComponent(name);
        ASSERT_NE(component, nullptr) << name;
        EXPECT_EQ(component->getParent(), container->getComponentRoot()) << name;
    }
    EXPECT_EQ(container->getNextSibling(), nullptr) << "the container is the root's only child";
    // Centred on its position: the clip counts from the anchor.
    ASSERT_TRUE(container->getClipRect().has_value());
    EXPECT_EQ(*container->getClipRect(), (Rect{25 - 100, 25 - 50, 150, 50}));
    EXPECT_FALSE(zoom_->isVisible());
    EXPECT_FALSE(container->isVisible());
    EXPECT_FALSE(zoom_->getNotifyGameScene());
    EXPECT_TRUE(zoom_->isZooming());

    RefPtr<Label> later(new Label(nullptr));
    later->setRemovalMark(true);
    zoom_->addComponent(later.get());
    EXPECT_EQ(later->getParent(), container->getComponentRoot());
    EXPECT_FALSE(later->hasRemovalMark());
}

TEST_F(DialogZoomTest, ZoomsInOverTheAppearTimeThenShowsItsComponents) {
    zoom_->zoomIn();
    EXPECT_TRUE(zoom_->isVisible());
    run(1, kAppearMs / 2);
    EXPECT_NEAR(zoom_->getScale(), 0.5F, 0.01F);
    EXPECT_FALSE(zoom_->getContainer()->isVisible());
    run(2, kAppearMs / 2);
    EXPECT_FLOAT_EQ(zoom_->getScale(), 1.0F);
    EXPECT_TRUE(zoom_->getContainer()->isVisible());
}

TEST_F(DialogZoomTest, AZoomInFromHalfSizeTakesHalfTheTime) {
    zoom_->setVisible(true);
    zoom_->setScale(0.5F);
    zoom_->zoomIn();
    run(1, kAppearMs / 2);
    EXPECT_FLOAT_EQ(zoom_->getScale(), 1.0F);
    run(1, 0);
    EXPECT_TRUE(zoom_->getContainer()->isVisible());
}

TEST_F(DialogZoomTest, ZoomsOutAfterTheDelayInProportionToItsSize) {
    zoom_->zoomIn();
    run(3, kAppearMs / 2);
    zoom_->zoomOutLater();
    run(1, kHideDelayMs - 1);
    EXPECT_TRUE(zoom_->getContainer()->isVisible()) << "still waiting";
    run(2, 1);
    EXPECT_FALSE(zoom_->getContainer()->isVisible());
    run(1, kDisappearMs / 2);
    EXPECT_NEAR(zoom_->getScale(), 0.5F, 0.02F);
    run(3, kDisappearMs / 2);
    EXPECT_FLOAT_EQ(zoom_->getScale(), 0.0F);
    EXPECT_FALSE(zoom_->isVisible());
}

TEST(HeaderDialogPainter, TheEnabledTextSwitchesOnlyTheHeadersItReaches) {
    using Flags = std::array<bool, 4>;
    const std::vector<std::pair<std::wstring, Flags>> cases = {
        {L"1010", {true, false, true, false}}, {L"0000", {false, false, false, false}},
        {L"x0y0", {true, false, true, false}}, {L"0", {false, true, true, true}},
        {L"", {true, true, true, true}},       {L"00001", {false, false, false, false}},
    };
    for (const auto& [text, flags] : cases) {
        EXPECT_EQ(HeaderDialogPainter::readEnabled(text), flags)
            << std::string(text.begin(), text.end());
    }
}

TEST(HeaderDialogPainter, ReadsItsDefinitionAndSkipsMissingPieces) {
    registerPropertyClasses();
    const RefPtr<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadText(R"(<Root><HeaderDialogPainter id="a" enabled="01"/>
                                   <HeaderDialogPainter id="b"/></Root>)"));
    RefPtr<HeaderDialogPainter> some(new HeaderDialogPainter(store->getNode("a")));
    RefPtr<HeaderDialogPainter> all(new HeaderDialogPainter(store->getNode("b")));
    EXPECT_EQ(some->getEnabled(), (std::array<bool, 4>{false, true, true, true}));
    EXPECT_EQ(all->getEnabled(), (std::array<bool, 4>{true, true, true, true}));

    // No pieces at all: the frame and the headers are skipped, nothing breaks.
    RefPtr<Image> canvas = createImage(40, 30, kFormatArgb32);
    RefPtr<Graphics> graphics = createGraphics(*canvas);
    all->paint(*graphics);
    EXPECT_FALSE(all->isDirty());
    ObjectFactoryContainer::destroyInstance();
}

} // namespace
} // namespace orv::test
