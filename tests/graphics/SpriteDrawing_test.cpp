// How a sprite chooses between plain, stretched and rotated drawing: each
// case must leave the same pixels as the matching call of the drawing
// interface made by hand.
#include "engine/graphics/Graphics.h"
#include "engine/scene/Sprite.h"
#include "tests/graphics/TestPixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::filledImage;
using test::patternImage;
using test::snapshot;

constexpr std::uint32_t kSpriteBackground = 0xFF102030;

struct SpriteCase {
    std::string name;
    std::function<void(Sprite&)> setUp;
    std::function<void(Graphics&, Image&)> expected;
};

TEST(SpriteDrawing, RotationScaleAndStretchChooseTheDrawing) {
    // A horizontal strip of two 5 x 3 frames; frame 1 is shown.
    const RefPtr<Image> strip = patternImage(10, 3, 5);
    strip->setUseAlphaChannel(false);
    const std::vector<SpriteCase> cases{
        {"plain", [](Sprite&) {},
         [](Graphics& g, Image& image) {
             g.drawImage(image, 8, 6, Rect{5, 0, 5, 3});
         }},
        {"stretched", [](Sprite& s) { s.setStretchRect(3, 2, 12, 7); },
         [](Graphics& g, Image& image) {
             g.drawImageStretched(image, 5, 0, 5, 3, 3, 2, 12, 7);
         }},
        {"rotated about the centre anchor",
         [](Sprite& s) {
             s.setAnchorPoint(AnchorKind::Center); // offset (2.5, 1.5) rounds to (2, 2)
             s.setRotation(0.7F);
         },
         [](Graphics& g, Image& image) {
             g.drawImageRotoZoom(image, 0.7F, 1.0, 6, 4, 5, 0, 5, 3, 2, 2);
         }},
        {"scaled, stretch rectangle ignored",
         [](Sprite& s) {
             s.setStretchRect(3, 2, 12, 7);
             s.setPivotOffset(1.0F, 2.5F);
             s.setScale(2.0F);
         },
         [](Graphics& g, Image& image) {
             g.drawImageRotoZoom(image, 0.0, 2.0, 8, 6, 5, 0, 5, 3, 1, 2);
         }},
    };
    for (const SpriteCase& c : cases) {
        for (const bool smooth : {false, true}) {
            RefPtr<Sprite> sprite(new Sprite(8, 6, strip.get()));
            sprite->setFrameLayout(2, true);
            sprite->setCurrentFrame(1);
            sprite->setAlpha(180);
            sprite->setSmooth(smooth);
            c.setUp(*sprite);

            const RefPtr<Image> actual = filledImage(24, 20, kSpriteBackground);
            const RefPtr<Graphics> g = createGraphics(*actual);
            sprite->render(*g);
            EXPECT_EQ(g->getAlpha(), 255) << c.name;
            EXPECT_FALSE(g->isSmooth()) << c.name;
            EXPECT_FALSE(sprite->isDirty()) << c.name;

            const RefPtr<Image> expected = filledImage(24, 20, kSpriteBackground);
            const RefPtr<Graphics> byHand = createGraphics(*expected);
            byHand->setAlpha(180);
            byHand->setSmooth(smooth);
            c.expected(*byHand, *strip);
            EXPECT_EQ(snapshot(*actual), snapshot(*expected))
                << c.name << (smooth ? ", smooth" : "");
            EXPECT_NE(snapshot(*actual), snapshot(*filledImage(24, 20, kSpriteBackground)))
                << c.name;
        }
    }
}

} // namespace
} // namespace orv
