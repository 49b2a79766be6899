#include "game/screen/ModifierHighScoreBar.h"

#include "engine/core/GameTree.h"
#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"
#include "game/screen/EffectMath.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The bar joins the node it runs on, carries 29 lights 12 pixels apart
// above it, and the lights follow the running spot; when the modifier goes
// the bar goes with it.
TEST(HighScoreBar, RunsItsLightsUnderTheNodeItIsGiven) {
    const RefPtr<Image> bar = createImage(360, 4, kFormatArgb32);
    const RefPtr<Image> light = createImage(8, 8, kFormatArgb32);
    RefPtr<GameNode> holder(new GameNode(std::string_view{}));
    auto* modifier =
        new ModifierHighScoreBar(ModifierHighScoreBar::kEndless, nullptr, bar.get(), light.get());
    holder->addModifier(modifier);
    Sprite* sprite = modifier->getBar();
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getParent(), nullptr);

    for (const int dt : {0, 40, 300, 1000}) {
        modifier->update(dt);
        ASSERT_EQ(sprite->getParent(), holder.get());
        int index = 0;
        for (GameNode* child = sprite->getFirstChild(); child != nullptr;
             child = child->getNextSibling(), ++index) {
            auto* lamp = kindCast<Sprite>(child);
            ASSERT_NE(lamp, nullptr);
            EXPECT_EQ(lamp->getX(), 12 * index);
            EXPECT_EQ(lamp->getY(), -12);
            EXPECT_EQ(lamp->getAlpha(),
                      highScoreLightAlpha(index, modifier->getElapsed(), sprite->getAlpha()))
                << "light " << index << " at " << modifier->getElapsed() << " ms";
        }
        EXPECT_EQ(index, ModifierHighScoreBar::kLights);
    }
    EXPECT_FALSE(modifier->isDone()) << "the scenes' bar never ends";

    holder->removeAllModifiers();
    EXPECT_TRUE(sprite->hasRemovalMark());
}

} // namespace
} // namespace orv
