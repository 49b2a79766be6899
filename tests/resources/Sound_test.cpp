#include "engine/resources/Sound.h"

#include "engine/core/Log.h"
#include "engine/resources/Descrambler.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundNode.h"
#include "engine/resources/SoundResource.h"
#include "engine/resources/SoundStream.h"
#include "tests/resources/SoundTestOutput.h"
#include "tests/system/AudioTestData.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace orv {
namespace {

using platform::kNoAudioChannel;

// A WAV of `frames` 16-bit stereo frames at the mix rate, every value `level`.
std::vector<std::byte> constantWav(int frames, int level) {
    return test::makeWav(16, 2, 44100,
                         std::vector<int>(2 * static_cast<std::size_t>(frames), level));
}

// The first left and right values of the next mixed frames.
std::pair<int, int> firstFrame(test::MixerOutput& output) {
    const std::vector<std::int16_t> out = output.mixFrames(16);
    return {out[0], out[1]};
}

// No device opened (and no other output installed): sound is disabled, and
// every play of every sound class reports that nothing played, none fails.
TEST(SoundWithoutDevice, EveryPlayReportsThatNothingPlayed) {
    const test::CurrentFolder folder;
    folder.write("click.wav", constantWav(100, 1000));
    folder.write("music.ogg", test::encodeOggSine(2, 44100, 4410, 220, 0.3));
    ASSERT_FALSE(isSoundEnabled());

    RefPtr<Sound> sound(new Sound());
    EXPECT_TRUE(sound->load(ArchiveMode::File, "click.wav")) << "disabled sound loads as success";
    EXPECT_EQ(sound->getSample(), nullptr);
    EXPECT_EQ(sound->getDurationMs(), 0U);
    sound->setSample(test::constantSample(100, 1000));
    EXPECT_EQ(sound->play(255, 128, false), kNoAudioChannel);

    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    EXPECT_EQ(node->play(255, 128, true, true), kNoAudioChannel);
    EXPECT_EQ(node->getUsers(), 0);
    EXPECT_FALSE(node->stop(true));
    node->update(100);

    RefPtr<SoundStream> music(new SoundStream());
    music->setFileName("music.ogg");
    SoundManager manager;
    EXPECT_FALSE(manager.playStream(music.get(), nullptr, true));
    manager.playMusic(100, 1.0F, 100, music.get(), 0, true);
    EXPECT_EQ(manager.getCurrent(), nullptr);
    EXPECT_EQ(manager.getNext(), nullptr);
    EXPECT_FALSE(music->isOpen());
    EXPECT_FALSE(manager.pauseMusic(0));
    manager.setMuted(true);
    EXPECT_FALSE(manager.isMuted());
    manager.run(16);
}

// The sound classes on the real device, under SDL's dummy audio driver in
// the test runner. Whether a device opens there depends on the SDL build;
// either way the answers agree with it. Nothing waits for the audio thread.
TEST(SoundOnTheDevice, AnswersAgreeWithWhetherTheDeviceOpened) {
    const test::CurrentFolder folder;
    folder.write("music.ogg", test::encodeOggSine(2, 44100, 44100, 220, 0.3));
    SoundManager* manager = SoundManager::create(44100, 0, 32);
    const bool enabled = isSoundEnabled();
    EXPECT_EQ(enabled, platform::isAudioEnabled());
    RecordProperty("soundEnabled", enabled ? "yes" : "no");

    RefPtr<Sound> sound(new Sound());
    sound->setSample(test::constantSample(4410, 100));
    RefPtr<SoundNode> node(new SoundNode(sound.get()));
    const platform::AudioChannel channel = node->play(255, 128, true, false);
    EXPECT_EQ(channel != kNoAudioChannel, enabled);
    EXPECT_EQ(platform::isAudioChannelPlaying(channel), enabled);
    node->setPanning(0);
    EXPECT_EQ(node->stop(true), enabled);
    EXPECT_FALSE(platform::isAudioChannelPlaying(channel));

    RefPtr<SoundStream> music(new SoundStream());
    music->setFileName("music.ogg");
    EXPECT_EQ(manager->playStream(music.get(), nullptr, true), enabled);
    EXPECT_EQ(platform::isAudioStreamPlaying(music->getHandle()), enabled);
    manager->setMuted(true);
    manager->run(16);
    const platform::AudioStream handle = music->getHandle();
    SoundManager::destroyInstance();
    EXPECT_FALSE(isSoundEnabled());
    EXPECT_FALSE(music->isOpen());
    EXPECT_FALSE(platform::isAudioStreamPlaying(handle));
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        previousSink = setLogSink([this](LogLevel, std::string_view line) { log += line; });
    }
    void TearDown() override {
        setLogSink(previousSink);
        FileArchive::shutDown();
    }

    test::MixerOutput output;
    test::CurrentFolder folder;
    std::string log;
    LogSink previousSink;
};

TEST_F(SoundTest, LoadsWavAndOggAndRefusesWhatItCannotDecode) {
    folder.write("media/click.wav", constantWav(4410, 1000));
    folder.write("media/Bell.ogg", test::encodeOggSine(1, 22050, 11025, 440, 0.5));
    folder.write("media/broken.wav", std::string("RIFF\x10\0\0\0WAVEjunk", 16));

    struct Case {
        ArchiveMode mode;
        const char* name;
        bool loads;
        std::uint32_t durationMs;
    };
    const Case cases[] = {
        {ArchiveMode::File, "media/click.wav", true, 100},
        {ArchiveMode::Global, "media/click.wav", true, 100},
        {ArchiveMode::Global, "media/bell.ogg", true, 500}, // letter case of the file ignored
        {ArchiveMode::File, "media/missing.wav", false, 0},
        {ArchiveMode::File, "media/broken.wav", false, 0},
    };
    for (const Case& c : cases) {
        RefPtr<Sound> sound(new Sound());
        EXPECT_EQ(sound->load(c.mode, c.name), c.loads) << c.name;
        EXPECT_EQ(sound->getSample() != nullptr, c.loads) << c.name;
        EXPECT_EQ(sound->getDurationMs(), c.durationMs) << c.name;
    }
    EXPECT_NE(log.find("media/missing.wav"), std::string::npos) << log;
}

// A mode other than "file" only says "through the archive": the file is read
// in the global mode (here scrambled loose files), whatever the mode given.
TEST_F(SoundTest, AnyModeButFileReadsInTheGlobalMode) {
    FileArchive::setUp(ArchiveMode::EncryptFile, "absent.dat");
    std::vector<std::byte> scrambled = constantWav(4410, 1000);
    descramble(reinterpret_cast<std::uint8_t*>(scrambled.data()), scrambled.size());
    folder.write("media/stored.wav.!", scrambled);
    folder.write("media/loose.wav", constantWav(8820, 1000));
    struct Case {
        ArchiveMode mode;
        const char* name;
        std::uint32_t durationMs;
    };
    const Case cases[] = {
        {ArchiveMode::Zip, "media/stored.wav", 100},
        {ArchiveMode::EncryptZip, "media/stored.wav", 100},
        {ArchiveMode::Global, "media/stored.wav", 100},
        {ArchiveMode::File, "media/loose.wav", 200},
        {ArchiveMode::Zip, "media/loose.wav", 0},
    };
    for (const Case& c : cases) {
        RefPtr<Sound> sound(new Sound());
        EXPECT_EQ(sound->load(c.mode, c.name), c.durationMs != 0) << c.name;
        EXPECT_EQ(sound->getDurationMs(), c.durationMs) << c.name;
    }
}

// The volume played is volume × multiplier, truncated, then clamped; the pan
// is clamped. Heard through the mixer: a constant sample of 25500 gives 100
// per step of volume on a side at full level.
TEST_F(SoundTest, VolumeIsScaledByTheMultiplierAndVolumeAndPanAreClamped) {
    struct Case {
        float multiplier;
        int volume;
        int pan;
        int left;
        int right;
    };
    const Case cases[] = {
        {255.0F, 255, 128, 25500, 25500}, // the resources' default multiplier
        {0.5F, 255, 128, 12700, 12700},   // 127.5 truncated
        {1.0F, 300, 128, 25500, 25500},   {1.0F, -20, 128, 0, 0},
        {1.0F, 255, 300, 0, 25500}, // pan 255: hard right
        {1.0F, 255, -40, 25500, 0}, // pan 0: hard left
        {1e30F, 255, 128, 25500, 25500},  {std::numeric_limits<float>::quiet_NaN(), 255, 128, 0, 0},
    };
    for (const Case& c : cases) {
        RefPtr<Sound> sound(new Sound());
        sound->setSample(test::constantSample(64, 25500));
        sound->setVolumeMultiplier(c.multiplier);
        const platform::AudioChannel channel = sound->play(c.volume, c.pan, false);
        ASSERT_NE(channel, kNoAudioChannel);
        const auto [left, right] = firstFrame(output);
        EXPECT_NEAR(left, c.left, 100) << c.multiplier << " " << c.volume << " " << c.pan;
        EXPECT_NEAR(right, c.right, 100) << c.multiplier << " " << c.volume << " " << c.pan;
        output.mixer.stop(channel);
    }
}

TEST_F(SoundTest, DurationOfLongSamplesIsComputedIn64Bits) {
    RefPtr<Sound> sound(new Sound());
    EXPECT_EQ(sound->getDurationMs(), 0U);
    EXPECT_EQ(sound->play(255, 128, false), kNoAudioChannel) << "no sample, nothing plays";
    sound->setSample(test::constantSample(44099, 0));
    EXPECT_EQ(sound->getDurationMs(), 999U);
    // 100 s: 4,410,000 frames × 1000 does not fit in 32 bits.
    sound->setSample(test::constantSample(4'410'000, 0));
    EXPECT_EQ(sound->getDurationMs(), 100'000U);
}

TEST_F(SoundTest, DestroyingTheSoundStopsItsLoopingChannels) {
    RefPtr<Sound> sound(new Sound());
    sound->setSample(test::constantSample(64, 1000));
    const platform::AudioChannel channel = sound->play(255, 128, true);
    ASSERT_TRUE(output.mixer.isPlaying(channel));
    sound = nullptr;
    EXPECT_FALSE(output.mixer.isPlaying(channel));
}

// The "Sound" resources build their sound through the sound library's load
// function once it is registered.
TEST_F(SoundTest, SoundResourcesLoadTheirSampleWithTheirMultiplier) {
    folder.write("media/click.wav", constantWav(441, 25500));
    folder.write("media/soft.wav", constantWav(441, 25500));
    folder.write("media/properties/resources.xml", std::string(R"(<Resources>
  <Vector id="Sections">
    <Section name="sfx">
      <Sound id="CLICK" file="Media/Click.wav"/>
      <Sound id="SOFT" file="media/soft.wav" volumemultiplier="0.5" archive="file"/>
      <Sound id="MISSING" file="media/none.wav"/>
    </Section>
  </Vector>
</Resources>)"));
    registerResourceClasses();
    registerSoundClasses();
    const RefPtr<ResourceManager> manager(new ResourceManager());
    manager->addDefinitionFile("media/properties/resources.xml");
    ASSERT_TRUE(manager->loadDefinitions());

    auto* click = kindCast<Sound>(manager->getLoadedObject("CLICK", "sfx"));
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->getDurationMs(), 10U);
    EXPECT_FLOAT_EQ(click->getVolumeMultiplier(), 255.0F);
    const platform::AudioChannel channel = click->play(255, 128, false);
    ASSERT_NE(channel, kNoAudioChannel);
    EXPECT_NEAR(firstFrame(output).first, 25500, 100);
    output.mixer.stop(channel);

    auto* soft = kindCast<Sound>(manager->getLoadedObject("SOFT", "sfx"));
    ASSERT_NE(soft, nullptr);
    ASSERT_NE(soft->play(255, 128, false), kNoAudioChannel);
    EXPECT_NEAR(firstFrame(output).first, 12700, 100);

    auto* missing = kindCast<Sound>(manager->getLoadedObject("MISSING", "sfx"));
    ASSERT_NE(missing, nullptr) << "a sound without a sample";
    EXPECT_EQ(missing->getSample(), nullptr);
    {
        const platform::NamedMutexGuard guard(manager->getDataLock());
        EXPECT_TRUE(manager->findResource("MISSING", "sfx")->hasError());
        EXPECT_FALSE(manager->findResource("CLICK", "sfx")->hasError());
    }
    manager->shutDown();
    SoundResource::setLoadFunction(nullptr);
}

} // namespace
} // namespace orv
