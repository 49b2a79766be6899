#include "game/dialogs/ModifierGravity.h"

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// One axis of one step, in pixels per 50 ms: the pull comes first, then the
// damping, which stops a movement but never turns it round.
TEST(ModifierGravity, AStepPullsThenBrakesWithoutTurningRound) {
    struct StepCase {
        const char* what;
        float velocity;
        float acceleration;
        float damping;
        float scale;
        float velocityAfter;
        float positionAfter; // from 100
    };
    const StepCase cases[] = {
        {"falls from rest", 0.0F, 3.0F, 0.0F, 1.0F, 3.0F, 103.0F},
        {"half a step", 0.0F, 3.0F, 0.0F, 0.5F, 1.5F, 100.75F},
        {"damping brakes", 4.0F, 0.0F, 1.0F, 1.0F, 3.0F, 103.0F},
        {"more damping than speed stops", 2.0F, 0.0F, 5.0F, 1.0F, 0.0F, 100.0F},
        {"upward speed stops too", -2.0F, 0.0F, 5.0F, 1.0F, 0.0F, 100.0F},
        {"still stays still", 0.0F, 0.0F, 5.0F, 1.0F, 0.0F, 100.0F},
        {"thrown up, pulled down", -10.0F, 3.0F, 0.0F, 1.0F, -7.0F, 93.0F},
    };
    for (const StepCase& c : cases) {
        float position = 100.0F;
        float velocity = c.velocity;
        ModifierGravity::step(position, velocity, c.acceleration, c.damping, c.scale);
        EXPECT_FLOAT_EQ(velocity, c.velocityAfter) << c.what;
        EXPECT_FLOAT_EQ(position, c.positionAfter) << c.what;
    }
}

// The target follows the rounded float position on the axes allowed, and
// the fall ends with its duration.
TEST(ModifierGravity, MovesTheTargetOnTheAllowedAxesForItsDuration) {
    RefPtr<GameNode> node(new GameNode());
    node->setPosition(10, 20);
    auto* fall = new ModifierGravity(200, 10, 20);
    fall->setAcceleration(1.0F, 3.0F);
    fall->setVelocity(0.5F, -2.0F);
    fall->setMoveX(false);
    node->addModifier(fall);
    ASSERT_EQ(fall->getTarget(), node.get());

    fall->update(50); // vy = 1, y = 21; x stays
    EXPECT_EQ(node->getX(), 10);
    EXPECT_EQ(node->getY(), 21);
    fall->update(25); // vy = 2.5, y = 21 + 1.25 = 22.25
    EXPECT_EQ(node->getY(), 22);
    EXPECT_FLOAT_EQ(fall->getCurrentY(), 22.25F);
    EXPECT_FALSE(fall->isDone());
    fall->update(125);
    EXPECT_TRUE(fall->isDone());
    EXPECT_TRUE(fall->isKindOf(ModifierLocation::classRecord));
}

} // namespace
} // namespace orv
