#include "engine/resources/SoundNode.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundResource.h"
#include "engine/resources/StreamResource.h"
#include "tests/resources/SoundTestOutput.h"
#include "tests/system/AudioTestData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

using platform::kNoAudioChannel;

// One second of a constant 1000 on both sides: each voice adds 1000 to the
// mixed output, so the output tells how many plays are sounding.
constexpr std::uint32_t kSoundFrames = 44100;
constexpr std::int16_t kLevel = 1000;

class SoundNodeTest : public testing::Test {
protected:
    SoundNodeTest() { sound->setSample(test::constantSample(kSoundFrames, kLevel)); }
    ~SoundNodeTest() override { GameWindow::setInstance(nullptr); }

    // How many plays sound now, from the next mixed frame's left value.
    int voices() {
        const std::vector<std::int16_t> out = output.mixFrames(1);
        return (out[0] + kLevel / 2) / kLevel;
    }

    test::MixerOutput output;
    RefPtr<Sound> sound{new Sound()};
};

// "maxusers" 1: a second play within "minstartinterval" (200 ms) of the first
// starts nothing but counts a user, so it takes two stops to end the sound.
TEST_F(SoundNodeTest, OverlappingPlaysWithinTheIntervalOnlyCountUsers) {
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    const platform::AudioChannel first = node->play(255, 128, false, false);
    ASSERT_NE(first, kNoAudioChannel);
    EXPECT_EQ(node->getRemainingMs(), 1000);
    node->update(150);
    EXPECT_EQ(node->play(255, 128, false, false), first);
    EXPECT_EQ(node->getUsers(), 2);
    EXPECT_EQ(voices(), 1);

    EXPECT_FALSE(node->stop(false));
    EXPECT_TRUE(output.mixer.isPlaying(first));
    EXPECT_TRUE(node->stop(false));
    EXPECT_FALSE(output.mixer.isPlaying(first));
    EXPECT_EQ(node->getChannel(), kNoAudioChannel);
    EXPECT_FALSE(node->stop(false)) << "no user left";
}

TEST_F(SoundNodeTest, PlaysAfterTheIntervalOrWhenRestartedStartAgain) {
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    const platform::AudioChannel first = node->play(255, 128, false, false);
    node->update(200);
    const platform::AudioChannel second = node->play(255, 128, false, false);
    EXPECT_NE(second, first);
    EXPECT_EQ(voices(), 2) << "the first play is left to end by itself";
    const platform::AudioChannel third = node->play(255, 128, false, true);
    EXPECT_NE(third, second) << "a restart ignores the interval";
    EXPECT_EQ(node->getUsers(), 3);
    EXPECT_TRUE(node->stop(true)) << "a forced stop drops every user at once";
    EXPECT_EQ(node->getUsers(), 0);
}

TEST_F(SoundNodeTest, ALoopedNodeIsNotStartedTwiceAndOutlivesItsLength) {
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    const platform::AudioChannel channel = node->play(255, 128, true, false);
    EXPECT_TRUE(node->isLooped());
    node->update(5000);
    EXPECT_EQ(node->play(255, 128, false, false), channel) << "the node's looped flag counts";
    EXPECT_TRUE(output.mixer.isPlaying(channel));
    EXPECT_EQ(node->getUsers(), 2);
    const platform::AudioChannel restarted = node->play(255, 128, false, true);
    EXPECT_NE(restarted, channel);
    EXPECT_FALSE(output.mixer.isPlaying(channel)) << "the old loop is not left running";
    EXPECT_EQ(voices(), 1);
}

TEST_F(SoundNodeTest, APlayThatRanOutIsStoppedByTheUpdate) {
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    ASSERT_NE(node->play(255, 128, false, false), kNoAudioChannel);
    node->update(999);
    EXPECT_EQ(node->getUsers(), 1);
    node->update(1);
    EXPECT_EQ(node->getUsers(), 0);
    EXPECT_EQ(node->getChannel(), kNoAudioChannel);
}

TEST_F(SoundNodeTest, PanningIsClampedToTheNodesRangeAndApplied) {
    struct Case {
        int minValue;
        int maxValue;
        int value;
        int stored;
    };
    const Case cases[] = {
        {0, 255, 300, 255}, {0, 255, -5, 0},      {64, 255, 10, 64},
        {0, 200, 250, 200}, {-50, 400, 300, 255}, {0, 255, 100, 100},
    };
    for (const Case& c : cases) {
        RefPtr<SoundNode> node(new SoundNode(sound.get()));
        node->setPanRange(c.minValue, c.maxValue);
        node->setPanning(c.value);
        EXPECT_EQ(node->getPanning(), c.stored) << c.value;
    }
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    ASSERT_NE(node->play(255, 128, false, false), kNoAudioChannel);
    node->setPanning(0);
    const std::vector<std::int16_t> out = output.mixFrames(1);
    EXPECT_EQ(out[0], kLevel);
    EXPECT_EQ(out[1], 0) << "hard left";
}

// The pan follows the node's absolute x over the screen width: clamped
// before it becomes 8 bits, so a node right of the screen pans right.
TEST_F(SoundNodeTest, ScreenPanningFollowsTheAbsolutePlaceAndClampsFirst) {
    struct Case {
        int width;
        int parentX;
        int x;
        int pan;
        int applied;
    };
    const Case cases[] = {
        {800, 0, 0, 0, 0},       {800, 0, 400, 128, 128}, // 127.5 to the even 128
        {800, 0, 700, 223, 223}, {1024, 0, 700, 174, 174}, {800, 100, 300, 128, 128},
        {800, 0, 800, 255, 255}, {800, 0, 1000, 319, 255}, {800, 0, -100, -32, 0},
        {0, 0, 400, 128, 128}, // no width: the centre
        {-10, 0, 400, 128, 128},
    };
    const RefPtr<GameWindow> window(new GameWindow());
    GameWindow::setInstance(window.get());
    for (const Case& c : cases) {
        window->setWidth(c.width);
        RefPtr<GameTree> root(new GameTree());
        auto* parent = new GameNode("parent");
        GameTree::appendChild(parent, root.get());
        parent->setX(c.parentX);
        auto* node = new SoundNode(sound.get());
        GameTree::appendChild(node, parent);
        node->setX(c.x);
        EXPECT_EQ(node->screenPan(), c.pan) << c.width << " " << c.x;
        node->setScreenPosPanning(true);
        GameTree::updateSubtree(root.get(), 16);
        EXPECT_EQ(node->getPanning(), c.applied) << c.width << " " << c.x;
    }
    GameWindow::setInstance(nullptr);
    RefPtr<SoundNode> alone(new SoundNode(sound.get()));
    alone->setX(700);
    EXPECT_EQ(alone->screenPan(), 128) << "no window: the centre";
}

// A playing node at x = 700 of an 800-pixel window is heard on the right.
TEST_F(SoundNodeTest, APlayingNodeRightOfCentreIsHeardOnTheRight) {
    const RefPtr<GameWindow> window(new GameWindow());
    window->setWidth(800);
    GameWindow::setInstance(window.get());
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    node->setX(700);
    node->setScreenPosPanning(true);
    ASSERT_NE(node->play(255, 128, true, false), kNoAudioChannel);
    node->update(16);
    const std::vector<std::int16_t> out = output.mixFrames(1);
    EXPECT_GT(out[1], out[0] * 3) << "right " << out[1] << ", left " << out[0];
}

// A node built from its definition looks its sound up in the resources; it
// never plays a missing sound and keeps its sound alive through an unload.
class SoundNodeDefinitionTest : public SoundNodeTest {
protected:
    void SetUp() override {
        previousSink = setLogSink([](LogLevel, std::string_view) {});
        folder.write("media/click.wav", test::makeWav(16, 2, 44100, std::vector<int>(8820, 1000)));
        folder.write("media/properties/resources.xml", std::string(R"(<Resources>
  <Vector id="Sections">
    <Section name="sfx"><Sound id="CLICK" file="media/click.wav" volumemultiplier="1"/></Section>
  </Vector>
</Resources>)"));
        registerResourceClasses();
        registerSoundClasses();
        ResourceManager* resources = ResourceManager::create();
        resources->addDefinitionFile("media/properties/resources.xml");
        ASSERT_TRUE(resources->loadDefinitions());
        ASSERT_TRUE(definitions->loadText(R"(<Root>
  <SoundNode id="click" sound="CLICK" section="sfx" maxusers="2" minstartinterval="50"
             volume="300" panning="64" looped="false" forcedstop="true" x="5"/>
  <SoundNode id="plain"/>
</Root>)"));
    }
    void TearDown() override {
        ResourceManager::destroyInstance();
        SoundResource::setLoadFunction(nullptr);
        StreamResource::setLoadFunction(nullptr);
        setLogSink(previousSink);
        FileArchive::shutDown();
    }

    RefPtr<SoundNode> build(const char* name) {
        return RefPtr<SoundNode>(
            kindCast<SoundNode>(createFromDefinition(definitions->getNode(name))));
    }

    test::CurrentFolder folder;
    LogSink previousSink;
    RefPtr<PropertyStore> definitions{new PropertyStore()};
};

TEST_F(SoundNodeDefinitionTest, KeysAreReadWithTheirDefaults) {
    const RefPtr<SoundNode> click = build("click");
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->getVolume(), 255) << "clamped";
    EXPECT_EQ(click->getPanning(), 64);
    EXPECT_EQ(click->getX(), 5) << "the node's own keys";
    const RefPtr<SoundNode> plain = build("plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->getVolume(), 255);
    EXPECT_EQ(plain->getPanning(), 128);
    EXPECT_EQ(plain->getSound(), nullptr);
    EXPECT_EQ(plain->play(255, 128, false, false), kNoAudioChannel) << "no sound, nothing plays";
}

TEST_F(SoundNodeDefinitionTest, TheSoundIsFoundAtPlayTimeAndSurvivesAnUnload) {
    const RefPtr<SoundNode> click = build("click");
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->getSound(), nullptr) << "the section is not loaded yet";
    EXPECT_EQ(click->play(255, 128, false, false), kNoAudioChannel);
    EXPECT_EQ(click->getUsers(), 1) << "the play still counts";

    ResourceManager* resources = ResourceManager::getInstance();
    ASSERT_NE(resources->getLoadedObject("CLICK", "sfx"), nullptr);
    const platform::AudioChannel channel = click->play(255, 128, false, false);
    ASSERT_NE(channel, kNoAudioChannel) << "looked up again at play time";
    ASSERT_NE(click->getSound(), nullptr);
    EXPECT_EQ(click->getDurationMs(), 100U);
    EXPECT_TRUE(click->stop(false)) << "forcedstop";

    resources->unloadSection("sfx");
    EXPECT_EQ(resources->getObject("CLICK", "sfx"), nullptr);
    EXPECT_NE(click->play(255, 128, false, true), kNoAudioChannel) << "its own reference";
    EXPECT_EQ(voices(), 1);
}

} // namespace
} // namespace orv
