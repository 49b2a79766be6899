// The modifier kinds that need only a node: delay, visibility, the callbacks
// and the sound modifier (against a recording stand-in for the sound library).

#include "engine/core/AnimTree.h"
#include "engine/core/GameNode.h"
#include "engine/resources/Sound.h"
#include "engine/resources/SoundNode.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFractionFunc.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierVisible.h"
#include "tests/resources/SoundTestOutput.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace orv {
namespace {

// ---- delay -------------------------------------------------------------------

TEST(ModifierDelay, FinishesInTheUpdateThatUsesUpItsTime) {
    struct Case {
        int ms;
        int dtMs;
        int updatesToFinish;
    };
    for (const Case c : {Case{100, 16, 7}, Case{100, 100, 1}, Case{100, 99, 2}, Case{0, 0, 1},
                         Case{-20, 16, 1}, Case{std::numeric_limits<int>::min(), 100, 1}}) {
        SCOPED_TRACE(std::to_string(c.ms) + " ms in steps of " + std::to_string(c.dtMs));
        RefPtr<ModifierDelay> delay(new ModifierDelay(c.ms));
        EXPECT_EQ(delay->getFinishFlags() & Modifier::FinishHoldBack, Modifier::FinishHoldBack);
        int updates = 0;
        while (!delay->isDone() && updates < c.updatesToFinish + 1) {
            delay->update(c.dtMs);
            ++updates;
        }
        EXPECT_EQ(updates, c.updatesToFinish);
    }
}

TEST(ModifierDelay, HoldsBackTheModifiersBehindItInANodesOwnList) {
    RefPtr<GameNode> node(new GameNode("node"));
    node->addModifier(new ModifierDelay(50));
    node->addModifier(new ModifierVisible(ModifierVisible::Hide));
    node->update(40);
    EXPECT_TRUE(node->isVisible());
    node->update(40);
    EXPECT_FALSE(node->isVisible());
    EXPECT_TRUE(node->getOwnModifiers().empty());
}

TEST(ModifierDelay, WaitsUntilTheWatchedNodeHasNoOwnModifierLeft) {
    RefPtr<GameNode> medal(new GameNode("medal"));
    medal->addModifier(new ModifierDelay(100));
    RefPtr<ModifierDelay> wait(new ModifierDelay(medal.get()));
    EXPECT_EQ(wait->getRemaining(), -100);
    EXPECT_EQ(medal->getRefCount(), 2); // held by the delay
    wait->update(16);
    EXPECT_FALSE(wait->isDone());
    medal->update(100);
    ASSERT_TRUE(medal->getOwnModifiers().empty());
    wait->update(16);
    EXPECT_TRUE(wait->isDone());

    RefPtr<ModifierDelay> none(new ModifierDelay(static_cast<GameNode*>(nullptr)));
    none->update(0);
    EXPECT_TRUE(none->isDone());
}

// ---- visibility --------------------------------------------------------------

TEST(ModifierVisible, HidesShowsOrTogglesOnceAndFinishes) {
    struct Case {
        int mode;
        bool before;
        bool after;
    };
    for (const Case c :
         {Case{ModifierVisible::Hide, true, false}, Case{ModifierVisible::Hide, false, false},
          Case{ModifierVisible::Show, false, true}, Case{ModifierVisible::Toggle, true, false},
          Case{ModifierVisible::Toggle, false, true}, Case{7, false, true}}) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        RefPtr<GameNode> node(new GameNode("node"));
        node->setVisible(c.before);
        RefPtr<ModifierVisible> visible(new ModifierVisible(c.mode));
        visible->setTarget(node.get());
        visible->update(16);
        EXPECT_TRUE(visible->isDone());
        EXPECT_EQ(node->isVisible(), c.after);
        visible->update(16); // a second update changes nothing
        EXPECT_EQ(node->isVisible(), c.after);
    }
}

// ---- callbacks ---------------------------------------------------------------

struct Calls {
    std::vector<float> fractions;
    std::vector<bool> doneAtCall;
    std::vector<GameNode*> targets;
};

int record(void* context, void* argument) {
    auto* calls = static_cast<Calls*>(context);
    auto* modifier = static_cast<Modifier*>(argument);
    calls->doneAtCall.push_back(modifier->isDone());
    calls->targets.push_back(modifier->getTarget());
    if (auto* fraction = kindCast<ModifierFraction>(modifier)) {
        calls->fractions.push_back(fraction->getFraction());
    }
    return 0;
}

TEST(ModifierFunction, FinishesThenCallsOnceWithItself) {
    Calls calls;
    RefPtr<GameNode> node(new GameNode("node"));
    RefPtr<ModifierFunction> function(new ModifierFunction(&record, &calls));
    function->setTarget(node.get());
    function->update(16);
    function->update(16);
    ASSERT_EQ(calls.doneAtCall.size(), 1U);
    EXPECT_TRUE(calls.doneAtCall[0]);
    EXPECT_EQ(calls.targets[0], node.get());
    EXPECT_EQ(function->getInterface(iGuiMethod::classRecord),
              static_cast<iGuiMethod*>(function.get()));

    RefPtr<ModifierFunction> empty(new ModifierFunction(nullptr, nullptr));
    empty->update(16);
    EXPECT_TRUE(empty->isDone());
}

TEST(ModifierFunction, RunsWhenTheModifierBeforeItIsDone) {
    Calls calls;
    RefPtr<AnimTree> tree(new AnimTree("AnimationTree"));
    Modifier* delay = Modifier::attachTo(tree.get(), new ModifierDelay(100));
    Modifier::attachTo(delay, new ModifierFunction(&record, &calls));
    updateModifierTree(tree.get(), 60);
    purgeModifierTree(tree.get());
    EXPECT_TRUE(calls.doneAtCall.empty());
    updateModifierTree(tree.get(), 60);
    purgeModifierTree(tree.get());
    EXPECT_EQ(calls.doneAtCall.size(), 1U);
    EXPECT_EQ(tree->getFirstChild(), nullptr);
}

TEST(ModifierFractionFunc, CallsOncePerWholeIntervalPassed) {
    struct Case {
        const char* name;
        int durationMs;
        int intervalMs;
        std::vector<int> steps;
        std::vector<float> fractions; // read by the calls, in order
        bool done;
    };
    const std::vector<Case> cases{
        // Two calls in the first update (at 50 and 100), both reading 120 ms.
        {"TwoIntervalsInOneUpdate", 1000, 50, {120}, {0.12F, 0.12F}, false},
        // Calls strictly before the elapsed time: none at 100 itself.
        {"StrictlyBefore", 1000, 50, {100, 1}, {0.1F, 0.101F}, false},
        {"EveryUpdateBelowOneMs", 200, 0, {50, 50, 500}, {0.25F, 0.5F, 1.0F}, true},
        {"ZeroDurationNoInterval", 0, 0, {16}, {1.0F}, true},
        {"ZeroDurationWithInterval", 0, 10, {16}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Calls calls;
        RefPtr<ModifierFractionFunc> tick(
            new ModifierFractionFunc(c.durationMs, &record, &calls, c.intervalMs));
        for (const int dt : c.steps) {
            tick->update(dt);
        }
        ASSERT_EQ(calls.fractions.size(), c.fractions.size());
        for (std::size_t i = 0; i < c.fractions.size(); ++i) {
            EXPECT_FLOAT_EQ(calls.fractions[i], c.fractions[i]);
        }
        EXPECT_EQ(tick->isDone(), c.done);
        EXPECT_NE(tick->getInterface(iGuiMethod::classRecord), nullptr);
    }
}

// ---- sound -------------------------------------------------------------------

// Sound plays into a bare mixer; a quarter-second sample.
class ModifierSoundTest : public testing::Test {
protected:
    ModifierSoundTest() {
        sound->setSample(test::constantSample(platform::kAudioSampleRate / 4, 1000));
    }

    // Updates in steps of 100 ms until done; the number of updates.
    static int updatesUntilDone(Modifier& modifier) {
        int updates = 0;
        while (!modifier.isDone() && updates < 100) {
            modifier.update(100);
            ++updates;
        }
        return updates;
    }

    test::MixerOutput output;
    RefPtr<Sound> sound{new Sound()};
};

TEST_F(ModifierSoundTest, NoWaitPlaysAndFinishesInItsFirstUpdate) {
    RefPtr<ModifierSound> modifier(new ModifierSound(sound.get(), true));
    EXPECT_EQ(updatesUntilDone(*modifier), 1);
    const std::vector<std::int16_t> mixed = output.mixFrames(8);
    EXPECT_NE(mixed.front(), 0);
}

TEST_F(ModifierSoundTest, WaitingLastsAsLongAsTheSample) {
    RefPtr<ModifierSound> modifier(new ModifierSound(sound.get(), false));
    EXPECT_EQ(updatesUntilDone(*modifier), 3); // 250 ms
}

TEST_F(ModifierSoundTest, WithoutASoundPlaysASoundNodeTargetOrFinishesAtOnce) {
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    RefPtr<ModifierSound> fromNode(new ModifierSound(static_cast<Sound*>(nullptr), false));
    fromNode->setTarget(node.get());
    EXPECT_EQ(updatesUntilDone(*fromNode), 3);
    EXPECT_EQ(node->getUsers(), 1);

    RefPtr<GameNode> plain(new GameNode("plain"));
    RefPtr<ModifierSound> nothing(new ModifierSound(static_cast<Sound*>(nullptr), false));
    nothing->setTarget(plain.get());
    EXPECT_EQ(updatesUntilDone(*nothing), 1);
}

TEST_F(ModifierSoundTest, WithSoundDisabledNothingIsWaitedFor) {
    output.close();
    RefPtr<ModifierSound> modifier(new ModifierSound(sound.get(), false));
    EXPECT_EQ(updatesUntilDone(*modifier), 1);
}

TEST_F(ModifierSoundTest, WithoutAResourceManagerTheLookupFindsNothing) {
    RefPtr<ModifierSound> modifier(new ModifierSound("default", "SOUND_DIALOG_SHOW", false));
    EXPECT_EQ(modifier->getSound(), nullptr);
    EXPECT_EQ(updatesUntilDone(*modifier), 1);
}

} // namespace
} // namespace orv
