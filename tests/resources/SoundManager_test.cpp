#include "engine/resources/SoundManager.h"

#include "engine/core/Log.h"
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

// Two music files of one second each, and a stream object for each. A
// stream's volume is 128 at construction; at the full music volume and fade
// level the output gets 128.
class SoundManagerTest : public testing::Test {
protected:
    void SetUp() override {
        previousSink = setLogSink([](LogLevel, std::string_view) {});
        folder.write("a.ogg", test::encodeOggSine(2, 44100, 44100, 220, 0.3));
        folder.write("b.ogg", test::encodeOggSine(2, 44100, 44100, 330, 0.3));
        a->setFileName("a.ogg");
        b->setFileName("b.ogg");
    }
    void TearDown() override { setLogSink(previousSink); }

    // The volume the output last gave the stream's current handle.
    std::optional<std::uint8_t> heard(const SoundStream& stream) const {
        return output.lastStreamVolume(stream.getHandle());
    }
    bool playing(const SoundStream& stream) const {
        return output.mixer.isStreamPlaying(stream.getHandle());
    }
    // Plays `stream` as the only music, faded in completely.
    void startMusic(SoundStream* stream) {
        manager.playMusic(0, 1.0F, 100, stream, 0, true);
        manager.run(100);
        ASSERT_EQ(manager.getCurrent(), stream);
        ASSERT_FALSE(manager.isCrossFading());
    }

    test::MixerOutput output;
    test::CurrentFolder folder;
    LogSink previousSink;
    RefPtr<SoundStream> a{new SoundStream()};
    RefPtr<SoundStream> b{new SoundStream()};
    SoundManager manager;
};

// Without any current stream the first music still fades in and becomes the
// current one.
TEST_F(SoundManagerTest, TheFirstMusicFadesInAndBecomesCurrent) {
    manager.playMusic(1000, 1.0F, 1000, a.get(), 0, true);
    EXPECT_TRUE(manager.isCrossFading());
    EXPECT_EQ(manager.getNext(), a.get());
    ASSERT_TRUE(playing(*a));
    EXPECT_EQ(heard(*a), 0);
    manager.run(500);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 0.5F);
    EXPECT_EQ(heard(*a), 64);
    manager.run(600);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 1.0F) << "not beyond the target";
    EXPECT_EQ(heard(*a), 128);
    EXPECT_EQ(manager.getCurrent(), a.get());
    EXPECT_EQ(manager.getNext(), nullptr);
    EXPECT_FALSE(manager.isCrossFading());
}

TEST_F(SoundManagerTest, TwoStreamsCrossFadeAndTheOldOneCloses) {
    startMusic(a.get());
    manager.setMusicVolume(128);
    manager.playMusic(1000, 1.0F, 500, b.get(), 0, true);
    EXPECT_EQ(manager.getCurrent(), a.get());
    EXPECT_EQ(manager.getNext(), b.get());
    manager.run(250);
    // a: 128 × 128 / 255 × 0.75 = 48.2; b: the same at 0.5 = 32.1.
    EXPECT_EQ(heard(*a), 48);
    EXPECT_EQ(heard(*b), 32);
    manager.run(250);
    EXPECT_TRUE(manager.isCrossFading()) << "b is in, a is still fading out";
    manager.run(500);
    EXPECT_FALSE(manager.isCrossFading());
    EXPECT_EQ(manager.getCurrent(), b.get());
    EXPECT_FALSE(a->isOpen());
    EXPECT_TRUE(playing(*b));
    EXPECT_EQ(output.closedStreams, 1);
}

// Asking again for the stream that is fading in must not close it: it only
// gets the new level, and the cross-fade goes on.
TEST_F(SoundManagerTest, PlayingTheStreamBeingFadedInKeepsItPlaying) {
    startMusic(a.get());
    manager.playMusic(1000, 1.0F, 1000, b.get(), 0, true);
    manager.run(500);
    const platform::AudioStream handle = b->getHandle();
    manager.playMusic(1000, 0.5F, 250, b.get(), 0, true);
    EXPECT_EQ(b->getHandle(), handle);
    EXPECT_TRUE(playing(*b));
    EXPECT_EQ(manager.getCurrent(), a.get());
    EXPECT_EQ(manager.getNext(), b.get());
    EXPECT_FLOAT_EQ(b->getFadeTarget(), 0.5F);
    manager.run(500);
    manager.run(500);
    EXPECT_EQ(manager.getCurrent(), b.get());
    EXPECT_FALSE(manager.isCrossFading());
    EXPECT_TRUE(playing(*b));
    EXPECT_EQ(heard(*b), 64);
}

TEST_F(SoundManagerTest, PlayingTheCurrentFileOnlyFadesIt) {
    startMusic(a.get());
    RefPtr<SoundStream> same(new SoundStream());
    same->setFileName("a.ogg");
    manager.playMusic(500, 0.25F, 0, same.get(), 0, true);
    EXPECT_FALSE(manager.isCrossFading());
    EXPECT_EQ(manager.getCurrent(), a.get());
    EXPECT_EQ(output.openedStreams, 1);
    manager.run(500);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 0.25F);
    EXPECT_EQ(heard(*a), 32);
}

// The next stream plays silently through its start delay, then starts over
// from the beginning and fades in.
TEST_F(SoundManagerTest, TheNextStreamWaitsOutItsStartDelay) {
    manager.playMusic(0, 1.0F, 100, a.get(), 300, true);
    (void)output.mixFrames(4410);
    ASSERT_GT(output.mixer.getStreamPosition(a->getHandle()).value_or(0), 0U);
    manager.run(200);
    EXPECT_EQ(manager.getStartDelayMs(), 100);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 0.0F);
    manager.run(200);
    EXPECT_EQ(manager.getStartDelayMs(), 0);
    EXPECT_EQ(output.mixer.getStreamPosition(a->getHandle()), 0U);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 0.0F) << "the fade starts with the next frame";
    manager.run(100);
    EXPECT_EQ(manager.getCurrent(), a.get());
}

// Muting before any music has played has no stream to touch; it still mutes
// the effects.
TEST_F(SoundManagerTest, MutingWorksBeforeAndDuringMusic) {
    manager.setSfxVolume(200);
    EXPECT_EQ(output.mixer.getMasterVolume(), 200);
    manager.setMuted(true);
    EXPECT_EQ(output.mixer.getMasterVolume(), 0);
    manager.setMuted(false);
    EXPECT_EQ(output.mixer.getMasterVolume(), 200);

    startMusic(a.get());
    manager.setMuted(true);
    EXPECT_EQ(heard(*a), 0);
    manager.setSfxVolume(100);
    EXPECT_EQ(output.mixer.getMasterVolume(), 0) << "stays muted";
    manager.run(16);
    EXPECT_EQ(heard(*a), 0) << "the update does not unmute";
    manager.setMuted(false);
    EXPECT_EQ(heard(*a), 128);
    EXPECT_EQ(output.mixer.getMasterVolume(), 100);
}

TEST_F(SoundManagerTest, APauseRemembersThePositionAndPlayingResumesThere) {
    startMusic(a.get());
    (void)output.mixFrames(22050);
    const std::uint32_t position = output.mixer.getStreamPosition(a->getHandle()).value_or(0);
    ASSERT_GT(position, 0U);
    EXPECT_TRUE(manager.pauseMusic(0));
    EXPECT_TRUE(manager.isPaused());
    EXPECT_FALSE(playing(*a));
    EXPECT_EQ(a->getStartPosition(), static_cast<std::int32_t>(position));
    EXPECT_FALSE(manager.pauseMusic(0)) << "paused already";

    manager.playMusic(0, 1.0F, 0, a.get(), 0, true);
    EXPECT_FALSE(manager.isPaused());
    EXPECT_TRUE(playing(*a));
    EXPECT_EQ(output.mixer.getStreamPosition(a->getHandle()), position);
    EXPECT_EQ(a->getStartPosition(), 0);
}

TEST_F(SoundManagerTest, APauseWithAFadeStopsWhenTheFadeEnds) {
    startMusic(a.get());
    EXPECT_FALSE(manager.pauseMusic(1000));
    EXPECT_TRUE(manager.isPausing());
    manager.run(500);
    EXPECT_TRUE(playing(*a));
    EXPECT_EQ(heard(*a), 64);
    manager.run(500);
    EXPECT_FALSE(manager.isPausing());
    EXPECT_TRUE(manager.isPaused());
    EXPECT_FALSE(playing(*a));
    EXPECT_TRUE(a->isOpen()) << "kept open to resume";
}

TEST_F(SoundManagerTest, AStreamWithoutFileOrWithABrokenFileDoesNotPlay) {
    RefPtr<SoundStream> none(new SoundStream());
    EXPECT_FALSE(manager.playStream(none.get(), nullptr, true));
    folder.write("broken.ogg", std::string("OggS but nothing else"));
    none->setFileName("broken.ogg");
    EXPECT_FALSE(manager.playStream(none.get(), nullptr, true));
    EXPECT_FALSE(none->isOpen());
    EXPECT_TRUE(manager.playStream(a.get(), a.get(), true)) << "already the old one";
}

TEST_F(SoundManagerTest, StopMusicClosesBothStreams) {
    startMusic(a.get());
    manager.playMusic(100, 1.0F, 100, b.get(), 0, true);
    manager.stopMusic();
    EXPECT_FALSE(a->isOpen());
    EXPECT_FALSE(b->isOpen());
    EXPECT_EQ(output.closedStreams, 2);
}

TEST_F(SoundManagerTest, FadingOutSilencesTheMusicInTheGivenTime) {
    manager.fadeOutMusic(800); // no music yet: nothing to do
    EXPECT_EQ(manager.getCurrent(), nullptr);

    startMusic(a.get());
    manager.fadeOutMusic(800);
    manager.run(400);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 0.5F);
    EXPECT_EQ(heard(*a), 64);
    manager.run(400);
    EXPECT_FLOAT_EQ(a->getFadeLevel(), 0.0F);
    EXPECT_EQ(heard(*a), 0);
}

// During a cross-fade the stream fading in turns round; its step is taken
// from the level of the stream fading out.
TEST_F(SoundManagerTest, FadingOutDuringACrossFadeTurnsTheIncomingStreamRound) {
    startMusic(a.get());
    manager.playMusic(1000, 1.0F, 2000, b.get(), 0, true);
    manager.run(500);
    ASSERT_FLOAT_EQ(a->getFadeLevel(), 0.5F);
    ASSERT_FLOAT_EQ(b->getFadeLevel(), 0.25F);
    manager.fadeOutMusic(800);
    EXPECT_FLOAT_EQ(b->getFadeTarget(), 0.0F);
    EXPECT_FLOAT_EQ(b->getFadeSpeed(), 0.5F / 800.0F);
    manager.run(400);
    EXPECT_FLOAT_EQ(b->getFadeLevel(), 0.0F);
    manager.run(100);
    EXPECT_FALSE(manager.isCrossFading());
    EXPECT_EQ(manager.getCurrent(), b.get());
    EXPECT_EQ(heard(*b), 0);
}

TEST(SoundManagerInstance, CreateOpensTheOutputAndTheEndClosesIt) {
    test::MixerOutput output(false);
    SoundManager* manager = SoundManager::create(44100, 0, 32);
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(isSoundEnabled());
    EXPECT_EQ(SoundManager::create(44100, 0, 32), manager);
    EXPECT_EQ(SoundManager::getInstance(), manager);
    SoundManager::destroyInstance();
    EXPECT_EQ(SoundManager::getInstance(), nullptr);
    EXPECT_FALSE(isSoundEnabled());
}

// "Stream" resources: the loose file (letter case ignored), the multiplier,
// the panning and the sync points, read when the stream first opens.
TEST(StreamResources, LoadLooseFilesWithTheirSyncPoints) {
    test::MixerOutput output;
    const test::CurrentFolder folder;
    const LogSink previous = setLogSink([](LogLevel, std::string_view) {});
    folder.write("Music/Lobby.ogg", test::encodeOggSine(2, 44100, 44100, 220, 0.3));
    folder.write("Music/lobby.XML", std::string(R"(<Root><Vector id="SyncPoints">
  <Point value="100"/><Point/><Point value="2000"/></Vector></Root>)"));
    folder.write("media/properties/resources.xml", std::string(R"(<Resources>
  <Vector id="Sections">
    <Section name="music">
      <Stream id="LOBBY" file="music/lobby.ogg" syncpointsfile="music/lobby.xml"
              volumemultiplier="0.5" panning="64"/>
      <Stream id="GONE" file="music/gone.ogg"/>
    </Section>
  </Vector>
</Resources>)"));
    registerResourceClasses();
    registerSoundClasses();
    const RefPtr<ResourceManager> resources(new ResourceManager());
    resources->addDefinitionFile("media/properties/resources.xml");
    ASSERT_TRUE(resources->loadDefinitions());

    auto* lobby = kindCast<SoundStream>(resources->getLoadedObject("LOBBY", "music"));
    ASSERT_NE(lobby, nullptr);
    EXPECT_EQ(lobby->getFileName(), "Music/Lobby.ogg");
    EXPECT_FLOAT_EQ(lobby->getVolumeMultiplier(), 0.5F);
    EXPECT_EQ(lobby->getPanning(), 64);
    EXPECT_TRUE(lobby->getSyncPoints().empty()) << "read at the first play";

    SoundManager manager;
    ASSERT_TRUE(manager.playStream(lobby, nullptr, true));
    EXPECT_EQ(lobby->getSyncPoints(), (std::vector<std::int32_t>{100, 2000}));
    EXPECT_EQ(output.lastStreamVolume(lobby->getHandle()), 64) << "128 × 0.5";
    (void)output.mixFrames(4410);
    std::vector<platform::AudioSyncEvent> events;
    output.mixer.takeSyncEvents(events);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[0].position, 100U);

    auto* gone = kindCast<SoundStream>(resources->getLoadedObject("GONE", "music"));
    ASSERT_NE(gone, nullptr) << "a stream without a file name";
    EXPECT_TRUE(gone->getFileName().empty());
    EXPECT_FALSE(manager.playStream(gone, nullptr, true));
    {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        EXPECT_TRUE(resources->findResource("GONE", "music")->hasError());
        EXPECT_FALSE(resources->findResource("LOBBY", "music")->hasError());
    }
    manager.stopMusic();
    resources->shutDown();
    SoundResource::setLoadFunction(nullptr);
    StreamResource::setLoadFunction(nullptr);
    setLogSink(previous);
    FileArchive::shutDown();
}

} // namespace
} // namespace orv
