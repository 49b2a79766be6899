// The modifier kinds that change a sprite: each over a table of update steps
// with the value expected after every step, including the end value reached
// exactly when a long frame jumps past the end, and zero durations.

#include "engine/core/AnimTree.h"
#include "engine/core/GameNode.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierClipRect.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierRotation.h"
#include "engine/scene/ModifierRotationScale.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierStretch.h"
#include "engine/scene/SceneClasses.h"
#include "engine/scene/Sprite.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace orv {
namespace {

constexpr float kPi = 3.14159265F;

// One update step and what must hold after it.
template <class Value>
struct Step {
    int dtMs;
    Value expected;
    bool done;
};

// Runs `modifier` (its target already set) through `steps`, reading the
// target's value with `read` after each.
template <class Value>
void runSteps(Modifier& modifier, const std::vector<Step<Value>>& steps,
              const std::function<Value()>& read) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        modifier.update(steps[i].dtMs);
        SCOPED_TRACE("step " + std::to_string(i));
        if constexpr (std::is_same_v<Value, float>) {
            EXPECT_FLOAT_EQ(read(), steps[i].expected);
        } else {
            EXPECT_EQ(read(), steps[i].expected);
        }
        EXPECT_EQ(modifier.isDone(), steps[i].done);
    }
}

// Names the cases of a table after their `name` field.
template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

RefPtr<Sprite> makeSprite() {
    return RefPtr<Sprite>(new Sprite(0, 0, 100, 40));
}

// ---- alpha, scale, stretch, clip rectangle ---------------------------------

struct AlphaCase {
    const char* name;
    int durationMs;
    int start;
    int end;
    std::vector<Step<int>> steps;
};

class AlphaSteps : public testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaSteps, SetsTheTruncatedAlphaAndLandsOnTheEnd) {
    const AlphaCase& c = GetParam();
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierAlpha> fade(new ModifierAlpha(c.durationMs, c.start, c.end));
    fade->setTarget(sprite.get());
    runSteps<int>(*fade, c.steps, [&] { return sprite->getAlpha(); });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AlphaSteps,
    testing::Values(
        AlphaCase{"ThirdsUp", 300, 0, 255, {{100, 85, false}, {100, 170, false}, {100, 255, true}}},
        AlphaCase{"ThirdsDown", 300, 255, 0, {{100, 170, false}, {100, 85, false}, {100, 0, true}}},
        AlphaCase{"LongFrameJumpsPastTheEnd",
                  250,
                  0,
                  255,
                  {{100, 102, false}, {100, 204, false}, {100, 255, true}}},
        AlphaCase{"ZeroDuration", 0, 10, 200, {{16, 200, true}}},
        AlphaCase{"ZeroDurationZeroFrame", 0, 10, 200, {{0, 200, true}}},
        AlphaCase{"NegativeDuration", -50, 10, 200, {{16, 200, true}}}),
    caseName<AlphaCase>);

TEST(ModifierScale, EndsExactlyOnTheEndFactorAndFollowsTheEasing) {
    RefPtr<Sprite> sprite = makeSprite();
    // 1.1 + (0.1 - 1.1) x 1 is not 0.1 in floats; the end must be exact.
    RefPtr<ModifierScale> jump(new ModifierScale(300, 1.1F, 0.1F));
    jump->setTarget(sprite.get());
    runSteps<float>(*jump, {{150, 0.6F, false}, {1000, 0.1F, true}},
                    [&] { return sprite->getScale(); });
    EXPECT_EQ(sprite->getScale(), 0.1F);

    RefPtr<ModifierScale> eased(new ModifierScale(100, 0.0F, 1.0F));
    eased->setEasing(&ModifierFraction::smoothstep);
    eased->setTarget(sprite.get());
    runSteps<float>(*eased, {{25, 0.15625F, false}, {25, 0.5F, false}, {50, 1.0F, true}},
                    [&] { return sprite->getScale(); });
}

TEST(ModifierStretch, RoundsToNearestWithTiesToEvenAndEndsOnTheEndSize) {
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierStretch> stretch(new ModifierStretch(100, 0, 0, 5, 7));
    stretch->setTarget(sprite.get());
    using Size = std::pair<int, int>;
    const auto size = [&] {
        const std::optional<Rect>& rect = sprite->getStretchRect();
        return rect ? Size{rect->width, rect->height} : Size{-1, -1};
    };
    // 2.5 goes to 2 and 3.5 to 4; a 100 ms frame then jumps past the end.
    runSteps<Size>(*stretch, {{50, {2, 4}, false}, {100, {5, 7}, true}}, size);

    RefPtr<ModifierStretch> heightOnly(new ModifierStretch(0, 100, 40, 30, 90));
    heightOnly->setStretchWidth(false);
    heightOnly->setTarget(sprite.get());
    runSteps<Size>(*heightOnly, {{16, {5, 90}, true}}, size);
}

TEST(ModifierClipRect, MovesEachEdgeAndEndsOnTheEndRectangle) {
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierClipRect> clip(
        new ModifierClipRect(100, Rect{0, 0, 0, 0}, Rect{10, 20, 30, 40}));
    clip->setTarget(sprite.get());
    const auto rect = [&] {
        return sprite->getClipRect().value_or(Rect{-1, -1, -1, -1});
    };
    runSteps<Rect>(*clip, {{25, Rect{2, 5, 8, 10}, false}, {200, Rect{10, 20, 30, 40}, true}},
                   rect);
}

TEST(FractionKinds, KeepTheirTimeWithoutASpriteTarget) {
    RefPtr<GameNode> node(new GameNode("plain"));
    RefPtr<ModifierAlpha> fade(new ModifierAlpha(200, 0, 255));
    fade->setTarget(node.get());
    fade->update(100);
    EXPECT_FALSE(fade->isDone());
    fade->update(100);
    EXPECT_TRUE(fade->isDone());
}

// The class graph names `Modifier` as their one parent, although they keep
// time as fractions.
TEST(FractionKinds, AreRecordedUnderModifier) {
    for (const ClassRecord* record :
         {&ModifierAlpha::classRecord, &ModifierScale::classRecord, &ModifierStretch::classRecord,
          &ModifierClipRect::classRecord}) {
        ASSERT_EQ(record->getParents().size(), 1U) << record->getName();
        EXPECT_EQ(record->getParents()[0], &Modifier::classRecord) << record->getName();
    }
}

// ---- rotation ----------------------------------------------------------------

struct RotationCase {
    const char* name;
    float start;
    float end;
    int durationMs;
    bool smooth;
    std::vector<Step<float>> steps;
};

class RotationSteps : public testing::TestWithParam<RotationCase> {};

TEST_P(RotationSteps, AppliesTheAngleBeforeTheStepAndTheEndOneUpdateLater) {
    const RotationCase& c = GetParam();
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierRotation> turn(new ModifierRotation(c.start, c.end, c.durationMs));
    turn->setSmooth(c.smooth);
    turn->setTarget(sprite.get());
    runSteps<float>(*turn, c.steps, [&] { return sprite->getRotation(); });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RotationSteps,
    testing::Values(
        // The end angle comes with the first update after 500 ms, not the one
        // that crosses 500 ms.
        RotationCase{"Linear",
                     0.0F,
                     1.0F,
                     500,
                     false,
                     {{100, 0.0F, false},
                      {100, 0.2F, false},
                      {100, 0.4F, false},
                      {100, 0.6F, false},
                      {100, 0.8F, false},
                      {100, 1.0F, true}}},
        RotationCase{
            "Smooth",
            0.0F,
            1.0F,
            400,
            true,
            {{100, 0.0F, false}, {100, 0.15625F, false}, {200, 0.5F, false}, {16, 1.0F, true}}},
        RotationCase{"LongFrame", 0.3F, -0.7F, 50, false, {{100, 0.3F, false}, {100, -0.7F, true}}},
        // Used to divide by zero; now the end angle at once.
        RotationCase{"ZeroDuration", 0.0F, 2.0F, 0, false, {{16, 2.0F, true}}}),
    caseName<RotationCase>);

TEST(ModifierRotation, EndlessTurnsOncePerDurationAndNeverFinishes) {
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierRotation> spin(new ModifierRotation(0.5F, 0.0F, 1000));
    spin->setEndless(true);
    spin->setTarget(sprite.get());
    spin->update(250);
    EXPECT_FLOAT_EQ(sprite->getRotation(), 0.5F);
    spin->update(250);
    EXPECT_FLOAT_EQ(sprite->getRotation(), 0.5F + kPi / 2.0F);
    for (int i = 0; i < 1000; ++i) {
        spin->update(100);
        ASSERT_FALSE(spin->isDone());
        ASSERT_GE(sprite->getRotation(), 0.5F);
        ASSERT_LT(sprite->getRotation(), 0.5F + 2.0F * kPi);
    }

    RefPtr<ModifierRotation> instant(new ModifierRotation(0.5F, 1.5F, 0));
    instant->setEndless(true);
    instant->setTarget(sprite.get());
    instant->update(16);
    EXPECT_TRUE(instant->isDone());
    EXPECT_FLOAT_EQ(sprite->getRotation(), 1.5F);
}

TEST(ModifierRotationScale, TurnsAndScalesTogetherAndEndsOneUpdateAfterTheDuration) {
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierRotationScale> both(new ModifierRotationScale(0.0F, 1.0F, 1.0F, 3.0F, 200));
    both->setTarget(sprite.get());
    using Pair = std::pair<float, float>;
    const auto read = [&] {
        return Pair{sprite->getRotation(), sprite->getScale()};
    };
    runSteps<Pair>(
        *both, {{100, {0.0F, 1.0F}, false}, {100, {0.5F, 2.0F}, false}, {100, {1.0F, 3.0F}, true}},
        read);

    RefPtr<ModifierRotationScale> instant(new ModifierRotationScale(0.0F, 2.0F, 1.0F, 4.0F, 0));
    instant->setTarget(sprite.get());
    runSteps<Pair>(*instant, {{16, {2.0F, 4.0F}, true}}, read);
}

TEST(ModifierRotationScale, WithoutApplyScaleLeavesTheScaleAloneEvenAtTheEnd) {
    RefPtr<Sprite> sprite = makeSprite();
    sprite->setScale(5.0F);
    RefPtr<ModifierRotationScale> turn(new ModifierRotationScale(0.0F, 1.0F, 1.0F, 3.0F, 100));
    turn->setApplyScale(false);
    turn->setTarget(sprite.get());
    turn->update(100);
    turn->update(100);
    ASSERT_TRUE(turn->isDone());
    EXPECT_FLOAT_EQ(sprite->getRotation(), 1.0F);
    EXPECT_FLOAT_EQ(sprite->getScale(), 5.0F);
}

// ---- frames ------------------------------------------------------------------

struct FrameCase {
    const char* name;
    FrameWrapStyle style;
    int loops;
    int frameTimeMs;
    std::vector<Step<int>> steps;
};

class FrameSteps : public testing::TestWithParam<FrameCase> {};

// Three frames side by side on a 30 x 10 sprite.
RefPtr<Sprite> makeStrip(FrameWrapStyle style) {
    RefPtr<Sprite> sprite(new Sprite(0, 0, 30, 10));
    sprite->setFrameLayout(3, true);
    sprite->setFrameWrapStyle(style);
    return sprite;
}

TEST_P(FrameSteps, ShowsTheFrameOfEachStep) {
    const FrameCase& c = GetParam();
    RefPtr<Sprite> sprite = makeStrip(c.style);
    RefPtr<ModifierFrame> frames(new ModifierFrame(c.loops, c.frameTimeMs));
    frames->setTarget(sprite.get());
    runSteps<int>(*frames, c.steps, [&] { return sprite->getCurrentFrame(); });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FrameSteps,
    testing::Values(
        // The time of an update counts from the next one; the modifier ends
        // one frame time after the last loop's end, still on that frame.
        FrameCase{"OneLoop",
                  FrameWrapStyle::Loop,
                  1,
                  100,
                  {{100, 0, false}, {100, 1, false}, {100, 2, false}, {100, 2, true}}},
        FrameCase{"TwoLoops",
                  FrameWrapStyle::Loop,
                  2,
                  100,
                  {{100, 0, false},
                   {100, 1, false},
                   {100, 2, false},
                   {100, 0, false},
                   {100, 1, false},
                   {100, 2, false},
                   {100, 2, true}}},
        FrameCase{"SwitchRunsBackForTheSecondLoop",
                  FrameWrapStyle::Switch,
                  2,
                  10,
                  {{10, 0, false},
                   {10, 1, false},
                   {10, 2, false},
                   {10, 1, false},
                   {10, 0, false},
                   {10, 0, true}}},
        FrameCase{"OnceEndsAfterTheLastFrameEvenWhenEndless",
                  FrameWrapStyle::Once,
                  -1,
                  100,
                  {{100, 0, false}, {100, 1, false}, {100, 2, false}, {100, 2, true}}},
        // One 100 ms frame covers three frame times: the end state at once.
        FrameCase{"LongFrameRunsToTheEnd",
                  FrameWrapStyle::Loop,
                  1,
                  30,
                  {{100, 0, false}, {100, 2, true}}},
        // Frame time 0 used to loop for ever: the whole animation at once.
        FrameCase{"ZeroFrameTimeLoop", FrameWrapStyle::Loop, 3, 0, {{16, 2, true}}},
        FrameCase{"ZeroFrameTimeSwitchEven", FrameWrapStyle::Switch, 2, 0, {{16, 0, true}}},
        FrameCase{"ZeroFrameTimeSwitchOdd", FrameWrapStyle::Switch, 3, 0, {{16, 2, true}}},
        FrameCase{
            "ZeroFrameTimeSwitchManyEven", FrameWrapStyle::Switch, 2000000000, 0, {{16, 0, true}}},
        FrameCase{
            "ZeroFrameTimeSwitchManyOdd", FrameWrapStyle::Switch, 2000000001, 0, {{16, 2, true}}},
        FrameCase{"ZeroFrameTimeEndlessStops", FrameWrapStyle::Loop, -1, 0, {{16, 0, true}}},
        FrameCase{"NegativeFrameTimeOnce", FrameWrapStyle::Once, -1, -5, {{16, 2, true}}}),
    caseName<FrameCase>);

TEST(ModifierFrame, EndlessLoopNeverFinishes) {
    RefPtr<Sprite> sprite = makeStrip(FrameWrapStyle::Loop);
    RefPtr<ModifierFrame> frames(new ModifierFrame(-1, 100));
    frames->setTarget(sprite.get());
    std::vector<int> shown;
    for (int i = 0; i < 200; ++i) {
        frames->update(100);
        shown.push_back(sprite->getCurrentFrame());
    }
    EXPECT_FALSE(frames->isDone());
    EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 5),
              (std::vector<int>{0, 1, 2, 0, 1}));
}

TEST(ModifierFrame, FinishesAtOnceWithoutASprite) {
    RefPtr<GameNode> node(new GameNode("plain"));
    RefPtr<ModifierFrame> frames(new ModifierFrame(-1, 100));
    frames->setTarget(node.get());
    frames->update(16);
    EXPECT_TRUE(frames->isDone());
}

TEST(ModifierFrame, IsMadeByTheFactoryFromADefinition) {
    registerSceneClasses();
    RefPtr<PropertyNode> definition(new PropertyNode("eyes", "ModifierFrame"));
    definition->add(new PropertyValue("loopcount", 2));
    definition->add(new PropertyValue("frametime", 50));
    RefPtr<BaseObject> made(createFromDefinition(definition.get()));
    auto* frames = kindCast<ModifierFrame>(made.get());
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(frames->getLoopsLeft(), 2);
    EXPECT_EQ(frames->getFrameTime(), 50);

    RefPtr<PropertyNode> empty(new PropertyNode("plain", "ModifierFrame"));
    empty->add(new PropertyNode("frametime", "Node")); // not a value: default kept
    RefPtr<ModifierFrame> defaults(new ModifierFrame(empty.get()));
    EXPECT_EQ(defaults->getLoopsLeft(), -1);
    EXPECT_EQ(defaults->getFrameTime(), 100);
}

// ---- blink -------------------------------------------------------------------

struct BlinkCase {
    const char* name;
    int alphaA;
    int alphaB;
    int fadeIn;
    int fadeOut;
    int holdB;
    int holdA;
    int count;
    std::vector<Step<int>> steps;
};

class BlinkSteps : public testing::TestWithParam<BlinkCase> {};

TEST_P(BlinkSteps, GoesThroughThePhasesAndEndsAtAlphaA) {
    const BlinkCase& c = GetParam();
    RefPtr<Sprite> sprite = makeSprite();
    RefPtr<ModifierBlink> blink(
        new ModifierBlink(c.alphaA, c.alphaB, c.fadeIn, c.fadeOut, c.holdB, c.holdA, c.count));
    blink->setTarget(sprite.get());
    runSteps<int>(*blink, c.steps, [&] { return sprite->getAlpha(); });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BlinkSteps,
    testing::Values(
        // Fade to B, hold B, fade to A, hold A; the second return to A ends it.
        BlinkCase{"TwoCycles",
                  0,
                  255,
                  100,
                  100,
                  100,
                  100,
                  2,
                  {{100, 0, false},
                   {100, 255, false},
                   {100, 255, false},
                   {100, 0, false},
                   {100, 0, false},
                   {100, 255, false},
                   {100, 255, false},
                   {100, 0, true}}},
        BlinkCase{"MidFade",
                  0,
                  255,
                  100,
                  300,
                  100,
                  100,
                  0,
                  {{50, 0, false},
                   {50, 127, false},
                   {50, 255, false},
                   {150, 255, false},
                   {100, 170, false},
                   {100, 85, false}}},
        // One long frame passes both remaining cycles: the end state at once.
        BlinkCase{"LongFrame", 0, 255, 100, 100, 100, 100, 2, {{1000, 0, false}, {100, 0, true}}},
        // Both phases of a cursor blink at 0 used to loop for ever.
        BlinkCase{"AllPhasesZeroEndless", 40, 255, 0, 0, 0, 0, 0, {{16, 40, true}}},
        BlinkCase{"AllPhasesZeroCounted", 40, 255, 0, 0, 0, 0, 3, {{16, 40, true}}},
        // No fades: shown for hold B, hidden for hold A.
        BlinkCase{"CursorWithoutFades",
                  0,
                  255,
                  0,
                  0,
                  50,
                  50,
                  -1,
                  {{50, 255, false}, {50, 0, false}, {50, 255, false}}}),
    caseName<BlinkCase>);

TEST(ModifierBlink, BlinksTheExtraTargetsInsteadOfTheTarget) {
    RefPtr<Sprite> target = makeSprite();
    RefPtr<Sprite> first = makeSprite();
    RefPtr<Sprite> second = makeSprite();
    RefPtr<ModifierBlink> blink(new ModifierBlink(128, 255, 0, 0, 100, 100, -1));
    blink->setTarget(target.get());
    blink->addExtraTarget(first.get());
    blink->addExtraTarget(second.get());
    target->setAlpha(7);
    blink->update(100);
    EXPECT_EQ(first->getAlpha(), 255);
    EXPECT_EQ(second->getAlpha(), 255);
    blink->update(100);
    EXPECT_EQ(first->getAlpha(), 128);
    EXPECT_EQ(target->getAlpha(), 7);
}

// ---- in an animation tree ----------------------------------------------------

TEST(SpriteKinds, AChainRunsInTurnAndEachLandsOnItsEndValue) {
    RefPtr<AnimTree> tree(new AnimTree("AnimationTree"));
    RefPtr<Sprite> sprite = makeSprite();
    auto* fade = new ModifierAlpha(150, 0, 255);
    fade->setTarget(sprite.get());
    Modifier::attachTo(tree.get(), fade);
    auto* grow = new ModifierScale(50, 1.0F, 2.0F);
    grow->setTarget(sprite.get());
    Modifier::attachTo(fade, grow);

    const auto frame = [&](int dtMs) {
        updateModifierTree(tree.get(), dtMs);
        purgeModifierTree(tree.get());
    };
    frame(100);
    EXPECT_EQ(sprite->getAlpha(), 170);
    EXPECT_FLOAT_EQ(sprite->getScale(), 1.0F);
    // The fade ends here, and the scale starts in the same frame.
    frame(100);
    EXPECT_EQ(sprite->getAlpha(), 255);
    EXPECT_FLOAT_EQ(sprite->getScale(), 2.0F);
    EXPECT_EQ(tree->getFirstChild(), nullptr);
}

} // namespace
} // namespace orv
