#include "engine/system/Platform.h"

#include "tests/support/TempDir.h"
#include "tests/system/AudioTestData.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

AudioSamplePtr loopSample() {
    return std::make_shared<const AudioSample>(std::vector<std::int16_t>(2 * 4410, 100));
}

// Every call on the device while sound is disabled reports that nothing
// played or changed, and none fails.
void expectDisabled(const std::string& musicFile) {
    EXPECT_FALSE(isAudioEnabled());
    EXPECT_EQ(playAudioSample(loopSample(), 255, 128, true), kNoAudioChannel);
    EXPECT_FALSE(stopAudioChannel(0));
    EXPECT_FALSE(setAudioChannelVolume(0, 10));
    EXPECT_FALSE(setAudioChannelPan(0, 10));
    EXPECT_FALSE(setAudioChannelPaused(0, true));
    EXPECT_FALSE(isAudioChannelPlaying(0));
    stopAudioSample(*loopSample());
    setAudioMasterVolume(0);
    EXPECT_EQ(openAudioStream(musicFile, true), kNoAudioStream);
    EXPECT_FALSE(playAudioStream(0));
    EXPECT_FALSE(stopAudioStream(0));
    EXPECT_FALSE(setAudioStreamPosition(0, 0));
    EXPECT_EQ(getAudioStreamPosition(0), std::nullopt);
    EXPECT_FALSE(addAudioStreamSyncPoint(0, 0));
    EXPECT_FALSE(setAudioStreamVolume(0, 0));
    EXPECT_FALSE(isAudioStreamPlaying(0));
    closeAudioStream(0);
    EXPECT_TRUE(pollAudioSyncEvents().empty());
}

class AudioDevice : public testing::Test {
protected:
    void SetUp() override {
        const std::vector<std::byte> ogg = test::encodeOggSine(2, 44100, 44100, 220, 0.3);
        test::writeFile(dir_.path() / "music.ogg",
                        std::string(reinterpret_cast<const char*>(ogg.data()), ogg.size()));
        music_ = dir_.file("music.ogg");
    }
    void TearDown() override { closeAudioDevice(); }

    test::TempDir dir_;
    std::string music_;
};

TEST_F(AudioDevice, NothingPlaysBeforeOpenOrAfterClose) {
    expectDisabled(music_);
    (void)openAudioDevice();
    closeAudioDevice();
    closeAudioDevice(); // twice is harmless
    expectDisabled(music_);
}

// Runs on SDL's dummy driver in the test runner. Whether a device opens there
// depends on the SDL build; either way the answers must agree with it.
TEST_F(AudioDevice, ReportsConsistentlyWithWhetherTheDeviceOpened) {
    const bool enabled = openAudioDevice();
    EXPECT_EQ(isAudioEnabled(), enabled);
    EXPECT_EQ(openAudioDevice(), enabled); // opening again changes nothing
    if (!enabled) {
        expectDisabled(music_);
        return;
    }
    const AudioChannel channel = playAudioSample(loopSample(), 255, 128, true);
    ASSERT_NE(channel, kNoAudioChannel);
    EXPECT_TRUE(isAudioChannelPlaying(channel));
    EXPECT_TRUE(setAudioChannelPan(channel, 0));
    EXPECT_TRUE(setAudioChannelPaused(channel, true));
    EXPECT_TRUE(stopAudioChannel(channel));
    EXPECT_FALSE(stopAudioChannel(channel));
    EXPECT_EQ(playAudioSample(nullptr, 255, 128, false), kNoAudioChannel);

    const AudioStream stream = openAudioStream(music_, true);
    ASSERT_NE(stream, kNoAudioStream);
    EXPECT_TRUE(addAudioStreamSyncPoint(stream, 100));
    EXPECT_TRUE(setAudioStreamVolume(stream, 64));
    EXPECT_TRUE(playAudioStream(stream));
    EXPECT_TRUE(isAudioStreamPlaying(stream));
    EXPECT_TRUE(getAudioStreamPosition(stream).has_value());
    EXPECT_TRUE(stopAudioStream(stream));
    EXPECT_TRUE(setAudioStreamPosition(stream, 20000));
    EXPECT_EQ(getAudioStreamPosition(stream), 20000U);
    closeAudioStream(stream);
    EXPECT_FALSE(playAudioStream(stream));
    EXPECT_EQ(openAudioStream(dir_.file("missing.ogg"), true), kNoAudioStream);

    closeAudioDevice();
    expectDisabled(music_);
}

// An opening started ahead is the one open() takes; one never taken is ended
// by close() (no feeder thread outlives it), and the device opens again after.
TEST_F(AudioDevice, AnOpeningStartedAheadIsTakenByOpenAndEndedByClose) {
    const bool enabled = openAudioDevice();
    closeAudioDevice();

    startOpeningAudioDevice();
    startOpeningAudioDevice(); // a second start while one runs changes nothing
    EXPECT_EQ(openAudioDevice(), enabled);
    EXPECT_EQ(isAudioEnabled(), enabled);
    startOpeningAudioDevice(); // nor does one while the device is open
    EXPECT_EQ(isAudioEnabled(), enabled);
    closeAudioDevice();
    expectDisabled(music_);

    startOpeningAudioDevice();
    closeAudioDevice();
    expectDisabled(music_);
    EXPECT_EQ(openAudioDevice(), enabled);
}

} // namespace
} // namespace orv::platform
