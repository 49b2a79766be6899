// Sprites: frames, anchors, hit tests, stretching, copying, drawing and
// building from a definition.

#include "engine/core/GameTree.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/Sprite.h"
#include "tests/scene/ScenePixels.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace orv {
namespace {

using test::pixelAt;
using test::solidImage;

constexpr std::uint32_t kBlack = 0xFF000000U;
constexpr std::uint32_t kRed = 0xFFFF0000U;

TEST(Sprite, HorizontalStripGivesFramesSideBySide) {
    RefPtr<Sprite> sprite(new Sprite(0, 0, solidImage(200, 50, kRed).get()));
    sprite->setFrameLayout(4, true);
    EXPECT_EQ(sprite->getWidth(), 50);
    EXPECT_EQ(sprite->getHeight(), 50);
    EXPECT_EQ(sprite->getFrameOffsetX(), 50);
    EXPECT_EQ(sprite->getFrameOffsetY(), 0);
    sprite->setCurrentFrame(2);
    EXPECT_EQ(sprite->getSourceRect(), (Rect{100, 0, 50, 50}));

    // Vertical with the stored count.
    sprite->setFrameLayout(-1, false);
    EXPECT_EQ(sprite->getCurrentFrame(), 0);
    EXPECT_EQ(sprite->getFrameRect(), (Rect{0, 0, 200, 12}));
    EXPECT_EQ(sprite->getFrameOffsetY(), 12);

    // A count of 0 would divide by zero: one frame is the whole image.
    sprite->setFrameLayout(0, true);
    EXPECT_EQ(sprite->getWidth(), 200);
}

struct WrapCase {
    const char* name;
    FrameWrapStyle style;
    bool reverse;
    std::vector<int> frames; // after each nextFrame from frame 0, 3 frames
};

TEST(Sprite, NextFrameWrapsAsItsStyleSays) {
    const std::vector<WrapCase> cases{
        {"switch", FrameWrapStyle::Switch, false, {1, 2, 1, 0, 1, 2}},
        {"loop", FrameWrapStyle::Loop, false, {1, 2, 0, 1}},
        {"loop backwards", FrameWrapStyle::Loop, true, {2, 1, 0, 2}},
        {"once", FrameWrapStyle::Once, false, {1, 2, 0}},
        {"once backwards", FrameWrapStyle::Once, true, {0, 0}},
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        RefPtr<Sprite> sprite(new Sprite(0, 0, 30, 30));
        sprite->setFrameLayout(3, false);
        sprite->setFrameWrapStyle(c.style);
        sprite->setReverseFrames(c.reverse);
        std::vector<int> seen;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            sprite->nextFrame();
            seen.push_back(sprite->getCurrentFrame());
        }
        EXPECT_EQ(seen, c.frames);
    }
}

TEST(Sprite, CentreAnchorPlacesTheBoxForDrawingAndHitTests) {
    RefPtr<GameTree> root(new GameTree());
    auto* sprite = new Sprite(300, 200, solidImage(100, 40, kRed).get());
    GameTree::appendChild(sprite, root.get());
    sprite->setAnchorPoint(AnchorKind::Center);
    EXPECT_EQ(sprite->getLeft(), 250);
    EXPECT_EQ(sprite->getTop(), 180);
    EXPECT_TRUE(sprite->hitTest(250, 180));
    EXPECT_TRUE(sprite->hitTest(349, 219));
    EXPECT_FALSE(sprite->hitTest(350, 220));
    EXPECT_FALSE(sprite->hitTest(249, 180));

    // Ancestors' positions count.
    root->setPosition(10, 5);
    EXPECT_TRUE(sprite->hitTest(260, 185));
    EXPECT_FALSE(sprite->hitTest(250, 180));

    RefPtr<Image> target = solidImage(400, 300, kBlack);
    RefPtr<Graphics> graphics = createGraphics(*target);
    sprite->render(*graphics);
    EXPECT_EQ(pixelAt(*target, 250, 180), kRed);
    EXPECT_EQ(pixelAt(*target, 349, 219), kRed);
    EXPECT_EQ(pixelAt(*target, 249, 180), kBlack);
    EXPECT_EQ(pixelAt(*target, 350, 219), kBlack);
    EXPECT_FALSE(sprite->isDirty());
}

TEST(Sprite, DrawsTheCurrentFrameWithItsAlphaInsideItsClip) {
    // Two frames side by side: red, then green.
    RefPtr<Image> strip = solidImage(20, 10, kRed);
    ASSERT_TRUE(strip->lock());
    for (int y = 0; y < 10; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(strip->getPixels() + y * strip->getPitch());
        for (int x = 10; x < 20; ++x) {
            row[x] = 0xFF00FF00U;
        }
    }
    strip->unlock();
    RefPtr<Sprite> sprite(new Sprite(5, 5, strip.get()));
    sprite->setFrameLayout(2, true);
    sprite->setCurrentFrame(1);
    sprite->setClipRect(5, 5, 4, 10);

    RefPtr<Image> target = solidImage(40, 40, kBlack);
    RefPtr<Graphics> graphics = createGraphics(*target);
    graphics->setAlpha(77);
    sprite->render(*graphics);
    EXPECT_EQ(pixelAt(*target, 5, 5), 0xFF00FF00U);
    EXPECT_EQ(pixelAt(*target, 8, 14), 0xFF00FF00U);
    EXPECT_EQ(pixelAt(*target, 9, 5), kBlack) << "outside the clip";
    EXPECT_EQ(graphics->getAlpha(), 77) << "the drawing state is put back";
    EXPECT_EQ(graphics->getClip(), (Rect{0, 0, 40, 40}));

    sprite->setAlpha(0);
    sprite->setClipRect(0, 0, 40, 40);
    sprite->setCurrentFrame(0);
    sprite->render(*graphics);
    EXPECT_EQ(pixelAt(*target, 5, 5), 0xFF00FF00U) << "alpha 0 draws nothing";
}

TEST(Sprite, CopyKeepsAHorizontalStripHorizontal) {
    RefPtr<Sprite> original(new Sprite(7, 8, solidImage(200, 50, kRed).get()));
    original->setFrameLayout(4, true);
    original->setCurrentFrame(2);
    original->setAnchorPoint(AnchorKind::BottomRight);
    original->setToolTip(L"Tip");
    original->setAlpha(99);

    RefPtr<Sprite> copy(new Sprite(*original));
    EXPECT_EQ(copy->getX(), 7);
    EXPECT_EQ(copy->getY(), 8);
    EXPECT_EQ(copy->getImage(), original->getImage());
    EXPECT_EQ(copy->getWidth(), 50);
    EXPECT_EQ(copy->getHeight(), 50);
    EXPECT_EQ(copy->getFrameOffsetX(), 50);
    EXPECT_EQ(copy->getFrameOffsetY(), 0);
    EXPECT_EQ(copy->getCurrentFrame(), 2);
    EXPECT_EQ(copy->getSourceRect(), (Rect{100, 0, 50, 50}));
    copy->setCurrentFrame(3);
    EXPECT_EQ(copy->getSourceRect(), (Rect{150, 0, 50, 50}));
    EXPECT_EQ(copy->getAnchorOffsetX(), 50.0F);
    ASSERT_NE(copy->getToolTip(), nullptr);
    EXPECT_EQ(*copy->getToolTip(), L"Tip");
    EXPECT_EQ(copy->getAlpha(), 99);

    copy->setToolTip(L"");
    EXPECT_EQ(copy->getToolTip(), nullptr);
}

TEST(Sprite, StretchRectangleKeepsThePivotInPlace) {
    RefPtr<Sprite> sprite(new Sprite(100, 50, 40, 20));
    sprite->setAnchorPoint(AnchorKind::Center); // pivot follows: (20, 10)
    sprite->setStretchWidth(80);
    EXPECT_EQ(sprite->getStretchRect(), (Rect{60, 50, 80, 20}));
    sprite->setStretchHeight(10);
    EXPECT_EQ(sprite->getStretchRect(), (Rect{60, 45, 80, 10}));
    sprite->setX(110);
    EXPECT_EQ(sprite->getStretchRect(), (Rect{70, 45, 80, 10}));
}

TEST(Sprite, BuiltFromADefinitionThroughTheFactory) {
    registerSceneClasses();
    RefPtr<PropertyNode> definition(new PropertyNode("logo", "Sprite"));
    definition->add(new PropertyValue("name", std::string_view("logo")));
    definition->add(new PropertyValue("x", 12));
    definition->add(new PropertyValue("width", 200));
    definition->add(new PropertyValue("height", 50));
    definition->add(new PropertyValue("framecount", 4));
    definition->add(new PropertyValue("horizontalframelayout", std::string_view("true")));
    definition->add(new PropertyValue("framewrapstyle", std::string_view("switch")));
    definition->add(new PropertyValue("anchorpoint", std::string_view("bottom")));
    definition->add(new PropertyValue("alpha", std::string_view("#80")));
    definition->add(new PropertyValue("smooth", std::string_view("true")));

    RefPtr<BaseObject> made(ObjectFactoryContainer::get().createObject("Sprite", definition.get()));
    auto* sprite = kindCast<Sprite>(made.get());
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->isKindOf(IRenderable::classRecord));
    EXPECT_EQ(sprite->getInterface(IRenderable::classRecord), static_cast<IRenderable*>(sprite));
    EXPECT_EQ(sprite->getName(), "logo");
    EXPECT_EQ(sprite->getX(), 12);
    EXPECT_EQ(sprite->getWidth(), 50);
    EXPECT_EQ(sprite->getFrameOffsetX(), 50);
    EXPECT_EQ(sprite->getFrameWrapStyle(), FrameWrapStyle::Switch);
    EXPECT_EQ(sprite->getAnchorKind(), AnchorKind::Bottom);
    EXPECT_EQ(sprite->getAnchorOffsetX(), 25.0F);
    EXPECT_EQ(sprite->getAnchorOffsetY(), 50.0F);
    EXPECT_EQ(sprite->getAlpha(), 0x80);
    EXPECT_TRUE(sprite->isSmooth());
    EXPECT_EQ(sprite->getImage(), nullptr);
    EXPECT_EQ(sprite->getToolTip(), nullptr);
}

TEST(Sprite, FrameTimeAnimatesTheFramesForGood) {
    RefPtr<PropertyNode> definition(new PropertyNode("flame", "Sprite"));
    definition->add(new PropertyValue("width", 90));
    definition->add(new PropertyValue("height", 30));
    definition->add(new PropertyValue("framecount", 3));
    definition->add(new PropertyValue("horizontalframelayout", std::string_view("true")));
    definition->add(new PropertyValue("frametime", 100));
    RefPtr<Sprite> sprite(new Sprite(definition.get()));
    ASSERT_EQ(sprite->getOwnModifiers().size(), 1U);
    const auto* animation = kindCast<ModifierFrame>(sprite->getOwnModifiers()[0].get());
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->getFrameTime(), 100);
    EXPECT_LT(animation->getLoopsLeft(), 0);
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        sprite->update(100);
        frames.push_back(sprite->getCurrentFrame());
    }
    EXPECT_EQ(std::set<int>(frames.begin(), frames.end()), (std::set<int>{0, 1, 2}));
    EXPECT_EQ(sprite->getOwnModifiers().size(), 1U) << "it never ends";
}

} // namespace
} // namespace orv
