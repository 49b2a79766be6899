#include "engine/system/Platform.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace orv::platform {
namespace {

// A sample whose every frame holds (left, right).
AudioSamplePtr constantSample(std::int16_t left, std::int16_t right, std::size_t frames) {
    std::vector<std::int16_t> values;
    for (std::size_t i = 0; i < frames; ++i) {
        values.push_back(left);
        values.push_back(right);
    }
    return std::make_shared<const AudioSample>(std::move(values));
}

// A sample whose frame i holds (i + 1, -(i + 1)), so output shows positions.
AudioSamplePtr rampSample(std::size_t frames) {
    std::vector<std::int16_t> values;
    for (std::size_t i = 0; i < frames; ++i) {
        values.push_back(static_cast<std::int16_t>(i + 1));
        values.push_back(static_cast<std::int16_t>(-static_cast<int>(i + 1)));
    }
    return std::make_shared<const AudioSample>(std::move(values));
}

std::vector<std::int16_t> mixFrames(AudioMixer& mixer, std::size_t frames) {
    std::vector<std::int16_t> out(2 * frames, 12345); // garbage the mix must overwrite
    mixer.mix(out);
    return out;
}

// ---------------------------------------------------------------------------
// The mixing core

struct GainCase {
    const char* name;
    std::uint8_t volume;
    std::uint8_t pan;
    std::uint8_t master;
    double left;  // expected fraction of the input on the left
    double right; // and on the right
};

class MixGain : public testing::TestWithParam<GainCase> {};

TEST_P(MixGain, ScalesByVolumeMasterAndPanLaw) {
    const GainCase& c = GetParam();
    const std::vector<std::int16_t> data{20000, 20000, 20000, 20000};
    std::array<AudioVoice, 1> voices{};
    voices[0] = AudioVoice{data.data(), 2, 0, c.volume, c.pan, false, false, true};
    std::vector<std::int16_t> out(4);
    mixAudioVoices(voices, c.master, out);
    EXPECT_NEAR(out[0], 20000 * c.left, 2.0);
    EXPECT_NEAR(out[1], 20000 * c.right, 2.0);
    EXPECT_EQ(out[0], out[2]);
    EXPECT_EQ(out[1], out[3]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MixGain,
    testing::Values(GainCase{"Full", 255, 128, 255, 1.0, 1.0},
                    GainCase{"HalfVolume", 128, 128, 255, 128.0 / 255, 128.0 / 255},
                    GainCase{"Silent", 0, 128, 255, 0.0, 0.0},
                    GainCase{"HalfMaster", 255, 128, 128, 128.0 / 255, 128.0 / 255},
                    GainCase{"MasterOff", 255, 128, 0, 0.0, 0.0},
                    GainCase{"HardLeft", 255, 0, 255, 1.0, 0.0},
                    GainCase{"HardRight", 255, 255, 255, 0.0, 1.0},
                    GainCase{"QuarterLeft", 255, 64, 255, 1.0, 0.5},
                    GainCase{"QuarterRight", 255, 192, 255, 63.0 / 127, 1.0},
                    GainCase{"AllScaled", 128, 64, 128, 0.252, 0.126}),
    [](const testing::TestParamInfo<GainCase>& param) { return std::string(param.param.name); });

TEST(MixCore, SumSaturatesAtTheSixteenBitLimits) {
    const std::vector<std::int16_t> loud{30000, -30000};
    std::array<AudioVoice, 3> voices{};
    for (AudioVoice& voice : voices) {
        voice = AudioVoice{loud.data(), 1, 0, 255, 128, true, false, true};
    }
    std::vector<std::int16_t> out(2);
    mixAudioVoices(voices, 255, out);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
}

TEST(MixCore, LoopsWrapAndOneShotsEndAndFreeTheirVoice) {
    const std::vector<std::int16_t> data{1, 1, 2, 2, 3, 3};
    std::array<AudioVoice, 2> voices{};
    voices[0] = AudioVoice{data.data(), 3, 0, 255, 0, true, false, true};    // left only
    voices[1] = AudioVoice{data.data(), 3, 1, 255, 255, false, false, true}; // right only
    std::vector<std::int16_t> out(2 * 7);
    mixAudioVoices(voices, 255, out);
    const std::vector<std::int16_t> expected{1, 2, 2, 3, 3, 0, 1, 0, 2, 0, 3, 0, 1, 0};
    EXPECT_EQ(out, expected);
    EXPECT_TRUE(voices[0].active);
    EXPECT_EQ(voices[0].position, 1U);
    EXPECT_FALSE(voices[1].active);
}

// A mono voice reads one value a frame and sends it to both sides, panned
// like a stereo one; a mono sample played through the mixer does the same.
TEST(MixCore, MonoVoicesPlayOnBothSides) {
    const std::vector<std::int16_t> data{100, 200, 300};
    std::array<AudioVoice, 1> voices{};
    voices[0] = AudioVoice{.data = data.data(),
                           .frameCount = 3,
                           .pan = 255,
                           .active = true,
                           .channels = 1}; // right only
    std::vector<std::int16_t> out(2 * 4, 99);
    mixAudioVoices(voices, 255, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 100, 0, 200, 0, 300, 0, 0}));
    EXPECT_FALSE(voices[0].active);

    AudioMixer mixer;
    const auto mono = std::make_shared<const AudioSample>(std::vector<std::int16_t>{40, 50}, 1);
    EXPECT_EQ(mono->getFrameCount(), 2U);
    ASSERT_NE(mixer.play(mono, 255, 128, false), kNoAudioChannel);
    std::vector<std::int16_t> mixed(2 * 2);
    mixer.mix(mixed);
    EXPECT_EQ(mixed, (std::vector<std::int16_t>{40, 40, 50, 50}));
}

TEST(MixCore, PausedVoiceIsSilentAndKeepsItsPosition) {
    const std::vector<std::int16_t> data{5, 5, 6, 6};
    std::array<AudioVoice, 1> voices{};
    voices[0] = AudioVoice{data.data(), 2, 1, 255, 128, false, true, true};
    std::vector<std::int16_t> out(4, 99);
    mixAudioVoices(voices, 255, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 0, 0}));
    EXPECT_EQ(voices[0].position, 1U);
    EXPECT_TRUE(voices[0].active);
}

TEST(MixCore, LongBuffersAreMixedWhole) {
    // Longer than the mixer's internal chunk, which must not leave a seam.
    const std::vector<std::int16_t> data{7, -7};
    std::array<AudioVoice, 1> voices{};
    voices[0] = AudioVoice{data.data(), 1, 0, 255, 128, true, false, true};
    std::vector<std::int16_t> out(2 * 5000, 0);
    mixAudioVoices(voices, 255, out);
    for (std::size_t i = 0; i < out.size(); i += 2) {
        ASSERT_EQ(out[i], 7) << i;
        ASSERT_EQ(out[i + 1], -7) << i;
    }
}

// ---------------------------------------------------------------------------
// Channels and handles

TEST(AudioMixerChannels, PlayMixesAndStopSilences) {
    AudioMixer mixer;
    const AudioChannel channel = mixer.play(constantSample(1000, 2000, 100), 255, 128, true);
    ASSERT_NE(channel, kNoAudioChannel);
    EXPECT_GE(channel, 0);
    EXPECT_TRUE(mixer.isPlaying(channel));
    auto out = mixFrames(mixer, 3);
    EXPECT_EQ(out, (std::vector<std::int16_t>{1000, 2000, 1000, 2000, 1000, 2000}));
    EXPECT_TRUE(mixer.stop(channel));
    EXPECT_FALSE(mixer.isPlaying(channel));
    EXPECT_FALSE(mixer.stop(channel));
    out = mixFrames(mixer, 2);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 0, 0}));
}

TEST(AudioMixerChannels, VolumePanAndMasterApplyToPlayingChannel) {
    AudioMixer mixer;
    const AudioChannel channel = mixer.play(constantSample(10000, 10000, 10), 255, 128, true);
    EXPECT_TRUE(mixer.setPan(channel, 0));
    EXPECT_EQ(mixFrames(mixer, 1), (std::vector<std::int16_t>{10000, 0}));
    EXPECT_TRUE(mixer.setVolume(channel, 0));
    EXPECT_EQ(mixFrames(mixer, 1), (std::vector<std::int16_t>{0, 0}));
    EXPECT_TRUE(mixer.setVolume(channel, 255));
    mixer.setMasterVolume(0);
    EXPECT_EQ(mixer.getMasterVolume(), 0);
    EXPECT_EQ(mixFrames(mixer, 1), (std::vector<std::int16_t>{0, 0}));
}

TEST(AudioMixerChannels, PauseAndResumeContinueFromTheSameFrame) {
    AudioMixer mixer;
    const AudioChannel channel = mixer.play(rampSample(10), 255, 128, false);
    EXPECT_EQ(mixFrames(mixer, 2), (std::vector<std::int16_t>{1, -1, 2, -2}));
    EXPECT_TRUE(mixer.setPaused(channel, true));
    EXPECT_EQ(mixFrames(mixer, 2), (std::vector<std::int16_t>{0, 0, 0, 0}));
    EXPECT_TRUE(mixer.isPlaying(channel)); // a paused channel stays taken
    EXPECT_TRUE(mixer.setPaused(channel, false));
    EXPECT_EQ(mixFrames(mixer, 2), (std::vector<std::int16_t>{3, -3, 4, -4}));
}

TEST(AudioMixerChannels, StaleHandleNeverTouchesTheNextSoundOnItsSlot) {
    AudioMixer mixer;
    const AudioChannel first = mixer.play(constantSample(100, 100, 2), 255, 128, false);
    (void)mixFrames(mixer, 4); // the first sound ends, its slot is free
    EXPECT_FALSE(mixer.isPlaying(first));
    const AudioChannel second = mixer.play(constantSample(300, 300, 100), 255, 128, true);
    ASSERT_NE(second, kNoAudioChannel);
    EXPECT_NE(second, first);
    EXPECT_FALSE(mixer.stop(first));
    EXPECT_FALSE(mixer.setVolume(first, 0));
    EXPECT_FALSE(mixer.setPan(first, 0));
    EXPECT_FALSE(mixer.setPaused(first, true));
    EXPECT_TRUE(mixer.isPlaying(second));
    EXPECT_EQ(mixFrames(mixer, 1), (std::vector<std::int16_t>{300, 300}));
}

TEST(AudioMixerChannels, InvalidHandlesAreRefused) {
    AudioMixer mixer;
    for (const AudioChannel handle : {kNoAudioChannel, 0, 12345678, 0x7FFFFFFF}) {
        EXPECT_FALSE(mixer.stop(handle)) << handle;
        EXPECT_FALSE(mixer.isPlaying(handle)) << handle;
    }
    EXPECT_EQ(mixer.play(nullptr, 255, 128, false), kNoAudioChannel);
}

TEST(AudioMixerChannels, AllChannelsBusyReportsNothingPlayed) {
    AudioMixer mixer;
    const AudioSamplePtr sample = constantSample(1, 1, 10);
    std::vector<AudioChannel> channels;
    for (int i = 0; i < kAudioChannelCount; ++i) {
        channels.push_back(mixer.play(sample, 255, 128, true));
        ASSERT_NE(channels.back(), kNoAudioChannel);
    }
    EXPECT_EQ(mixer.play(sample, 255, 128, false), kNoAudioChannel);
    EXPECT_TRUE(mixer.setPaused(channels[5], true));
    EXPECT_EQ(mixer.play(sample, 255, 128, false), kNoAudioChannel); // paused stays taken
    EXPECT_TRUE(mixer.stop(channels[7]));
    EXPECT_NE(mixer.play(sample, 255, 128, false), kNoAudioChannel);
}

TEST(AudioMixerChannels, StopSampleStopsOnlyItsChannels) {
    AudioMixer mixer;
    const AudioSamplePtr a = constantSample(1, 1, 10);
    const AudioSamplePtr b = constantSample(2, 2, 10);
    const AudioChannel a1 = mixer.play(a, 255, 128, true);
    const AudioChannel a2 = mixer.play(a, 255, 128, true);
    const AudioChannel b1 = mixer.play(b, 255, 128, true);
    mixer.stopSample(*a);
    EXPECT_FALSE(mixer.isPlaying(a1));
    EXPECT_FALSE(mixer.isPlaying(a2));
    EXPECT_TRUE(mixer.isPlaying(b1));
}

TEST(AudioMixerChannels, SampleOutlivesItsOwnerWhilePlaying) {
    AudioMixer mixer;
    AudioSamplePtr sample = constantSample(42, 42, 4);
    const std::weak_ptr<const AudioSample> watch = sample;
    const AudioChannel channel = mixer.play(std::move(sample), 255, 128, true);
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(mixFrames(mixer, 1), (std::vector<std::int16_t>{42, 42}));
    EXPECT_TRUE(mixer.stop(channel));
    EXPECT_TRUE(watch.expired()); // a stopped channel keeps no sample alive
}

TEST(AudioMixerChannels, SampleThatEndedIsLetGoAtTheNextPlay) {
    AudioMixer mixer;
    std::weak_ptr<const AudioSample> watch;
    {
        AudioSamplePtr sample = constantSample(1, 1, 2);
        watch = sample;
        (void)mixer.play(std::move(sample), 255, 128, false);
    }
    (void)mixFrames(mixer, 4); // ends on the audio thread, which frees nothing
    EXPECT_FALSE(watch.expired());
    (void)mixer.play(constantSample(2, 2, 2), 255, 128, false);
    EXPECT_TRUE(watch.expired());
}

TEST(AudioDuration, MillisecondsAreComputedInSixtyFourBits) {
    EXPECT_EQ(audioFramesToMilliseconds(0), 0U);
    EXPECT_EQ(audioFramesToMilliseconds(44100), 1000U);
    EXPECT_EQ(audioFramesToMilliseconds(44099), 999U);
    // 100 s: frames × 1000 is beyond 32 bits.
    EXPECT_EQ(audioFramesToMilliseconds(std::uint64_t{44100} * 100), 100000U);
    EXPECT_EQ(audioFramesToMilliseconds(std::uint64_t{44100} * 3600), 3600000U);
    EXPECT_EQ(constantSample(0, 0, 441)->getDurationMs(), 10U);
}

} // namespace
} // namespace orv::platform
