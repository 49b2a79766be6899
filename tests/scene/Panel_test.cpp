#include "engine/core/GameTree.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/Panel.h"
#include "engine/scene/RenderTask.h"
#include "tests/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using test::pixelAt;
using test::solidImage;

class PanelTest : public test::SceneFixture {
protected:
    // The panel defined as "PANEL" in a "templates" group.
    RefPtr<Panel> panelFrom(const std::string& panelXml) {
        loadDefinitions("<root><Node id=\"templates\">" + panelXml + "</Node></root>");
        return RefPtr<Panel>(kindCast<Panel>(
            orv::createFromDefinition(getDefinitionStore().getTemplates()->getNode("PANEL"))));
    }
    static std::vector<std::string> componentNames(const Panel& panel) {
        std::vector<std::string> names;
        for (GameNode* node = panel.getComponentRoot()->getFirstChild(); node != nullptr;
             node = node->getNextSibling()) {
            names.push_back(node->getName());
        }
        return names;
    }
};

TEST_F(PanelTest, BuildsComponentsInVectorOrderUnderARootDrawnAfterThePanel) {
    RefPtr<Panel> panel = panelFrom(R"(<Panel id="PANEL">
        <Vector id="children"><Sprite name="CHILD"/></Vector>
        <Vector id="components">
            <Sprite name="A"/><Integer value="3"/><Sprite name="B"/><Unknown name="X"/>
        </Vector></Panel>)");
    ASSERT_TRUE(panel);
    EXPECT_EQ(componentNames(*panel), (std::vector<std::string>{"A", "B"}));
    // The root comes after the panel's own children, so components draw last.
    EXPECT_EQ(panel->getFirstChild()->getName(), "CHILD");
    EXPECT_EQ(panel->getFirstChild()->getNextSibling(), panel->getComponentRoot());
    EXPECT_TRUE(logged("is not a node"));
}

TEST_F(PanelTest, FindsComponentsInNestedPanelsButNotInRemovedOnes) {
    RefPtr<Panel> panel = panelFrom(R"(<Panel id="PANEL"><Vector id="components">
        <Panel name="INNER"><Vector id="components"><Sprite name="OK"/></Vector></Panel>
        <Panel name="GONE"><Vector id="components"><Sprite name="HIDDEN"/></Vector></Panel>
        </Vector></Panel>)");
    ASSERT_TRUE(panel);
    GameNode* ok = panel->findComponent("OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->getParent()->getParent()->getName(), "INNER");
    ASSERT_NE(panel->findComponent("HIDDEN"), nullptr);

    panel->removeComponent(panel->findComponent("GONE"));
    EXPECT_EQ(panel->findComponent("HIDDEN"), nullptr);
    // The marked panel itself is still found by its own name until the purge.
    EXPECT_NE(panel->findComponent("GONE"), nullptr);
    GameTree::purgeSubtree(panel.get());
    EXPECT_EQ(panel->findComponent("GONE"), nullptr);
    EXPECT_EQ(panel->findComponent("nothing"), nullptr);
}

TEST_F(PanelTest, AddingAComponentTwiceKeepsOneAsTheLast) {
    RefPtr<Panel> panel = panelFrom(R"(<Panel id="PANEL"><Vector id="components">
        <Sprite name="A"/><Sprite name="B"/></Vector></Panel>)");
    GameNode* a = panel->findComponent("A");
    a->setRemovalMark(true);
    panel->addComponent(a);
    panel->addComponent(a);
    EXPECT_EQ(componentNames(*panel), (std::vector<std::string>{"B", "A"}));
    EXPECT_FALSE(a->hasRemovalMark());
    EXPECT_EQ(a->getRefCount(), 1); // the tree's link only
}

TEST_F(PanelTest, GivesItsClipToEverySpriteAmongTheComponents) {
    RefPtr<Panel> panel = panelFrom(R"(<Panel id="PANEL"><Vector id="components">
        <Sprite name="A"/><Panel name="INNER"><Vector id="components"><Sprite name="DEEP"/>
        </Vector></Panel></Vector></Panel>)");
    auto* deep = kindCast<Sprite>(panel->findComponent("DEEP"));
    panel->applyClipToComponents(); // no clip yet: nothing
    EXPECT_FALSE(deep->getClipRect());

    panel->setClipRect(5, 6, 70, 80);
    panel->applyClipToComponents();
    ASSERT_TRUE(deep->getClipRect());
    EXPECT_EQ(*deep->getClipRect(), (Rect{5, 6, 70, 80}));
    EXPECT_EQ(*kindCast<Sprite>(panel->findComponent("A"))->getClipRect(), (Rect{5, 6, 70, 80}));
}

TEST_F(PanelTest, ComponentsAreDrawnOverThePanelsPicture) {
    RefPtr<Panel> panel = panelFrom(R"(<Panel id="PANEL" x="2" y="2"><Vector id="components">
        <Sprite name="A" x="1" y="1"/></Vector></Panel>)");
    panel->setImage(solidImage(4, 4, 0xFF0000FFU).get());
    kindCast<Sprite>(panel->findComponent("A"))->setImage(solidImage(2, 2, 0xFFFF0000U).get());
    RefPtr<Image> target = solidImage(8, 8, 0xFF000000U);
    RenderTask::renderNode(*createGraphics(*target), panel.get());
    EXPECT_EQ(pixelAt(*target, 2, 2) & 0xFFFFFFU, 0x0000FFU);
    EXPECT_EQ(pixelAt(*target, 3, 3) & 0xFFFFFFU, 0xFF0000U);
    EXPECT_EQ(pixelAt(*target, 5, 5) & 0xFFFFFFU, 0x0000FFU);
}

TEST_F(PanelTest, AdditiveSpriteAddsItsColoursAndLeavesTheBlendModeAsFound) {
    loadDefinitions(
        R"(<root><Node id="templates"><AdditiveSprite id="GLOW" x="1"/></Node></root>)");
    RefPtr<Sprite> glow(kindCast<Sprite>(
        orv::createFromDefinition(getDefinitionStore().getTemplates()->getNode("GLOW"))));
    ASSERT_TRUE(glow);
    ASSERT_TRUE(glow->isKindOf(AdditiveSprite::classRecord));
    glow->setImage(solidImage(2, 1, 0xFF202020U).get());
    RefPtr<Image> target = solidImage(4, 1, 0xFF404040U);
    RefPtr<Graphics> graphics = createGraphics(*target);
    for (const BlendMode mode : {BlendMode::BlendNormal, BlendMode::BlendAdditive}) {
        graphics->setBlendMode(mode);
        glow->render(*graphics);
        EXPECT_EQ(graphics->getBlendMode(), mode);
    }
    EXPECT_EQ(pixelAt(*target, 0, 0) & 0xFFFFFFU, 0x404040U);
    EXPECT_EQ(pixelAt(*target, 1, 0) & 0xFFFFFFU, 0x808080U); // drawn twice, added
}

} // namespace
} // namespace orv
