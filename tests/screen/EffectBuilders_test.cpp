#include "game/screen/EffectBuilders.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/Modifier.h"
#include "engine/core/RandomGenerator.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageResource.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceSection.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/Sprite.h"

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

namespace orv {
namespace {

// Star pictures of 6 x 6 in "default" and a row of nodes to burst from.
class EffectBuildersTest : public testing::Test {
protected:
    void SetUp() override {
        BasicProperties::create().getInteger("BONUS_ANIM_EXPLOSION_TIME") = 400;
        RefPtr<GameConstants> constants(new GameConstants());
        constants->apply();
        RandomGenerator::createInstance(5U, 0U);
        ResourceManager* resources = ResourceManager::create();
        auto* section = new ResourceSection("default");
        for (const char* name : {"BONUS_STAR", "FADING_STAR"}) {
            auto* star = new ImageResource("", "");
            star->setImage(createImage(6, 6, kFormatArgb32).get());
            section->addObject(name, star);
        }
        resources->addSection(section);
        root->setPosition(0, 0);
    }
    void TearDown() override {
        ResourceManager::destroyInstance();
        BasicProperties::destroyInstance();
    }
    // Runs the tree and every node's own modifiers for `ms` in 10 ms steps.
    void run(int ms) {
        for (int t = 0; t < ms; t += 10) {
            GameTree::updateSubtree(root.get(), 10);
            updateModifierTree(tree.get(), 10);
            purgeModifierTree(tree.get());
        }
    }
    std::vector<Sprite*> stars() const {
        std::vector<Sprite*> found;
        for (GameNode* child = root->getFirstChild(); child != nullptr;
             child = child->getNextSibling()) {
            if (child->getName().empty()) {
                found.push_back(kindCast<Sprite>(child));
            }
        }
        return found;
    }

    RefPtr<GameNode> root{new GameNode()};
    RefPtr<AnimTree> tree{new AnimTree()};
};

// The tag sizes the burst: 4 x (2t + 1) stars, drawn above the node.
TEST_F(EffectBuildersTest, ABurstByTagGrowsWithTheTargetsTag) {
    for (const int tag : {0, 1, 2}) {
        RefPtr<GameNode> fresh(new GameNode());
        root = fresh;
        auto* lamp = new Sprite(50, 40, nullptr);
        lamp->setName("LAMP");
        lamp->setTag(tag);
        GameTree::appendChild(lamp, root.get());
        auto* call = new ModifierFunction(&starBurstByTag, nullptr);
        call->setTarget(lamp);
        starBurstByTag(nullptr, call);
        RefPtr<Modifier> keep(call);
        EXPECT_EQ(stars().size(), static_cast<std::size_t>(4 * (2 * tag + 1))) << tag;
        EXPECT_EQ(root->getFirstChild(), lamp) << "the stars follow the node, above it";
    }
}

// A single star flies straight down; every star leaves by itself.
TEST_F(EffectBuildersTest, ASingleStarFallsStraightDown) {
    auto* point = new GameNode();
    point->setPosition(100, 100);
    GameTree::appendChild(point, root.get());
    buildStarAnimation(*point, 1, "BONUS_STAR", 40, 255, 0, false, 400);
    const std::vector<Sprite*> thrown = stars();
    ASSERT_EQ(thrown.size(), 2U) << "the star and the point";
    Sprite* star = thrown[0];
    ASSERT_NE(star, nullptr);
    run(500);
    EXPECT_EQ(star->getX(), 100);
    EXPECT_EQ(star->getY(), 140);
    run(6000);
    EXPECT_TRUE(star->hasRemovalMark()) << "the star leaves by itself";
}

// Pop-in: shown and grown from nothing, then five turns to A and back,
// the sound with the first.
TEST_F(EffectBuildersTest, AWiggleGrowsTheSpriteThenTurnsItBackAndForth) {
    auto* medal = new Sprite(0, 0, nullptr);
    medal->setVisible(false);
    GameTree::appendChild(medal, root.get());
    const float a = std::numbers::pi_v<float> / 8.0F;
    addWiggleAnimation(*medal, 100, 50, a, tree.get(), nullptr);
    EXPECT_FLOAT_EQ(medal->getScale(), 0.0F);
    run(100);
    EXPECT_TRUE(medal->isVisible());
    EXPECT_FLOAT_EQ(medal->getScale(), 1.0F);
    std::vector<float> angles;
    for (int step = 0; step < 5; ++step) {
        run(50);
        angles.push_back(medal->getRotation());
    }
    EXPECT_NEAR(angles[0], a, 1e-4F);
    EXPECT_NEAR(angles[1], -a, 1e-4F);
    EXPECT_NEAR(angles[2], a, 1e-4F);
    EXPECT_NEAR(angles[3], -a, 1e-4F);
    EXPECT_NEAR(angles[4], 0.0F, 1e-4F);

    // Without a parent nothing is started.
    auto* other = new Sprite(0, 0, nullptr);
    GameTree::appendChild(other, root.get());
    addWiggleAnimation(*other, 100, 50, a, nullptr, nullptr);
    EXPECT_FLOAT_EQ(other->getScale(), 1.0F);
}

} // namespace
} // namespace orv
