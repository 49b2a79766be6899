#include "engine/system/Platform.h"

#include <gtest/gtest.h>

namespace orv::platform {
namespace {

// A stream source whose mix frame i holds (value(i), -value(i)) with
// value(i) = i % 30000 + 1, so the output shows which frames played. Its own
// rate may differ from the mix rate; it then counts positions in its frames.
class RampSource final : public AudioStreamSource {
public:
    RampSource(std::uint64_t length, std::uint32_t rate = kAudioSampleRate, int* reads = nullptr)
        : length_(length), rate_(rate), reads_(reads) {}

    static std::int16_t value(std::uint64_t frame) {
        return static_cast<std::int16_t>(frame % 30000 + 1);
    }

    std::uint32_t getSourceRate() const override { return rate_; }
    std::uint64_t getSourceLength() const override { return length_; }

    std::size_t read(std::span<std::int16_t> out) override {
        if (reads_ != nullptr) {
            ++*reads_;
        }
        const std::uint64_t end = length_ * kAudioSampleRate / rate_;
        std::size_t frames = 0;
        for (; frames < out.size() / 2 && next_ < end; ++frames, ++next_) {
            out[2 * frames] = value(next_);
            out[2 * frames + 1] = static_cast<std::int16_t>(-value(next_));
        }
        return frames;
    }

    bool seek(std::uint64_t sourceFrame) override {
        if (sourceFrame > length_) {
            return false;
        }
        next_ = sourceFrame * kAudioSampleRate / rate_;
        return true;
    }

private:
    std::uint64_t length_;
    std::uint32_t rate_;
    int* reads_;
    std::uint64_t next_ = 0;
};

// A source that holds one constant value on both sides.
class ConstantSource final : public AudioStreamSource {
public:
    explicit ConstantSource(std::int16_t value) : value_(value) {}
    std::uint32_t getSourceRate() const override { return kAudioSampleRate; }
    std::uint64_t getSourceLength() const override { return 1 << 20; }
    std::size_t read(std::span<std::int16_t> out) override {
        std::fill(out.begin(), out.end(), value_);
        return out.size() / 2;
    }
    bool seek(std::uint64_t /*sourceFrame*/) override { return true; }

private:
    std::int16_t value_;
};

std::vector<std::int16_t> mixStreamFrames(AudioMixer& mixer, std::size_t frames) {
    std::vector<std::int16_t> out(2 * frames);
    mixer.mix(out);
    return out;
}

// Checks that `out` holds the ramp's frames first, first + 1, ...
::testing::AssertionResult holdsRamp(const std::vector<std::int16_t>& out, std::uint64_t first) {
    for (std::size_t i = 0; i < out.size() / 2; ++i) {
        const std::int16_t expected = RampSource::value(first + i);
        if (out[2 * i] != expected || out[2 * i + 1] != -expected) {
            return ::testing::AssertionFailure()
                   << "frame " << i << " is " << out[2 * i] << " not " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

AudioStream openRamp(AudioMixer& mixer, std::uint64_t length, bool looped,
                     std::uint32_t rate = kAudioSampleRate) {
    return mixer.openStream(std::make_shared<RampSource>(length, rate), looped);
}

TEST(AudioMixerStreams, PlaysDecodedAudioAndCountsThePosition) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 100000, false);
    ASSERT_NE(stream, kNoAudioStream);
    EXPECT_FALSE(mixer.isStreamPlaying(stream));
    EXPECT_TRUE(mixer.playStream(stream));
    EXPECT_TRUE(mixer.playStream(stream)); // playing already: keeps going
    mixer.feedStreams();
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 1000), 0));
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 500), 1000));
    EXPECT_EQ(mixer.getStreamPosition(stream), 1500U);
}

TEST(AudioMixerStreams, UndecodedAudioIsSilenceAndHoldsThePosition) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 100000, false);
    ASSERT_TRUE(mixer.playStream(stream));
    EXPECT_EQ(mixStreamFrames(mixer, 64), std::vector<std::int16_t>(128, 0));
    EXPECT_EQ(mixer.getStreamPosition(stream), 0U);
    mixer.feedStreams();
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 64), 0));
}

TEST(AudioMixerStreams, BufferIsRefilledAsItDrains) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 200000, false);
    ASSERT_TRUE(mixer.playStream(stream));
    std::uint64_t played = 0;
    for (int pass = 0; pass < 8; ++pass) {
        mixer.feedStreams();
        ASSERT_TRUE(holdsRamp(mixStreamFrames(mixer, 20000), played)) << pass;
        played += 20000;
    }
    EXPECT_EQ(mixer.getStreamPosition(stream), 160000U);
}

TEST(AudioMixerStreams, StopRewindsAndResumeAtRememberedPositionContinues) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 100000, false);
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    (void)mixStreamFrames(mixer, 2500);
    const std::optional<std::uint32_t> remembered = mixer.getStreamPosition(stream);
    ASSERT_EQ(remembered, 2500U);
    EXPECT_TRUE(mixer.stopStream(stream));
    EXPECT_FALSE(mixer.isStreamPlaying(stream));
    EXPECT_EQ(mixer.getStreamPosition(stream), 0U);
    EXPECT_EQ(mixStreamFrames(mixer, 10), std::vector<std::int16_t>(20, 0));

    EXPECT_TRUE(mixer.setStreamPosition(stream, *remembered));
    EXPECT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 100), 2500));
    EXPECT_EQ(mixer.getStreamPosition(stream), 2600U);
}

TEST(AudioMixerStreams, PositionBeyondTheEndIsRefused) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 1000, false);
    EXPECT_TRUE(mixer.setStreamPosition(stream, 1000));
    EXPECT_FALSE(mixer.setStreamPosition(stream, 1001));
    EXPECT_EQ(mixer.getStreamPosition(stream), 1000U);
}

TEST(AudioMixerStreams, AudioDecodedBeforeAMoveIsDropped) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 100000, false);
    ASSERT_TRUE(mixer.playStream(stream));
    AudioMixer::FeedJob job;
    ASSERT_TRUE(mixer.beginFeed(0, job));
    AudioMixer::runFeed(job); // decodes from 0 while the stream is moved
    ASSERT_TRUE(mixer.setStreamPosition(stream, 7000));
    mixer.endFeed(job);
    EXPECT_EQ(mixStreamFrames(mixer, 10), std::vector<std::int16_t>(20, 0));
    mixer.feedStreams();
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 10), 7000));
}

TEST(AudioMixerStreams, LoopedStreamStartsAgainAndItsPositionWraps) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 3000, true);
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    const std::vector<std::int16_t> out = mixStreamFrames(mixer, 7000);
    const std::vector<std::int16_t> firstPass(out.begin(), out.begin() + 6000);
    const std::vector<std::int16_t> secondPass(out.begin() + 6000, out.begin() + 12000);
    const std::vector<std::int16_t> thirdPass(out.begin() + 12000, out.end());
    EXPECT_TRUE(holdsRamp(firstPass, 0));
    EXPECT_TRUE(holdsRamp(secondPass, 0));
    EXPECT_TRUE(holdsRamp(thirdPass, 0));
    EXPECT_EQ(mixer.getStreamPosition(stream), 1000U);
    EXPECT_TRUE(mixer.isStreamPlaying(stream));
}

TEST(AudioMixerStreams, ShortLoopKeepsPlayingOverManyFeeds) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 50, true);
    ASSERT_TRUE(mixer.playStream(stream));
    for (int pass = 0; pass < 20; ++pass) {
        mixer.feedStreams();
        ASSERT_TRUE(holdsRamp(mixStreamFrames(mixer, 50), 0)) << pass;
    }
}

TEST(AudioMixerStreams, StreamThatDoesNotLoopStopsAtItsEndAndRewinds) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 3000, false);
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    const std::vector<std::int16_t> out = mixStreamFrames(mixer, 4000);
    EXPECT_TRUE(holdsRamp({out.begin(), out.begin() + 6000}, 0));
    EXPECT_EQ(std::vector<std::int16_t>(out.begin() + 6000, out.end()),
              std::vector<std::int16_t>(2000, 0));
    EXPECT_FALSE(mixer.isStreamPlaying(stream));
    EXPECT_EQ(mixer.getStreamPosition(stream), 0U);
    // Played again, it starts from the beginning.
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 10), 0));
}

TEST(AudioMixerStreams, EmptyLoopedSourceEndsInsteadOfSpinning) {
    AudioMixer mixer;
    int reads = 0;
    const AudioStream stream =
        mixer.openStream(std::make_shared<RampSource>(0, kAudioSampleRate, &reads), true);
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    EXPECT_LE(reads, 3);
    (void)mixStreamFrames(mixer, 10);
    EXPECT_FALSE(mixer.isStreamPlaying(stream));
}

TEST(AudioMixerStreams, SyncPointsArriveOncePerPassWhenPolled) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 3000, true);
    EXPECT_TRUE(mixer.addStreamSyncPoint(stream, 0));
    EXPECT_TRUE(mixer.addStreamSyncPoint(stream, 1500));
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();

    std::vector<AudioSyncEvent> events;
    (void)mixStreamFrames(mixer, 1500); // plays 0..1499
    mixer.takeSyncEvents(events);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0].stream, stream);
    EXPECT_EQ(events[0].position, 0U);

    events.clear();
    mixer.takeSyncEvents(events);
    EXPECT_TRUE(events.empty()); // taken events are forgotten

    (void)mixStreamFrames(mixer, 1); // frame 1500
    mixer.takeSyncEvents(events);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0].position, 1500U);

    events.clear();
    (void)mixStreamFrames(mixer, 3000); // 1501..2999, then 0..1500 of the next pass
    mixer.takeSyncEvents(events);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[0].position, 0U);
    EXPECT_EQ(events[1].position, 1500U);
}

TEST(AudioMixerStreams, PositionsCountInTheSourcesOwnFrames) {
    AudioMixer mixer;
    const AudioStream stream = openRamp(mixer, 22050, false, 22050);
    EXPECT_TRUE(mixer.addStreamSyncPoint(stream, 1000)); // mix frame 2000
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    (void)mixStreamFrames(mixer, 2000);
    EXPECT_EQ(mixer.getStreamPosition(stream), 1000U);
    std::vector<AudioSyncEvent> events;
    mixer.takeSyncEvents(events);
    EXPECT_TRUE(events.empty());
    (void)mixStreamFrames(mixer, 1);
    mixer.takeSyncEvents(events);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0].position, 1000U);

    ASSERT_TRUE(mixer.setStreamPosition(stream, 5000));
    mixer.feedStreams();
    EXPECT_TRUE(holdsRamp(mixStreamFrames(mixer, 4), 10000));
}

TEST(AudioMixerStreams, TwoStreamsCrossFadeOnTheirOwnVolumesNotTheMaster) {
    AudioMixer mixer;
    const AudioStream outgoing = mixer.openStream(std::make_shared<ConstantSource>(10000), true);
    const AudioStream incoming = mixer.openStream(std::make_shared<ConstantSource>(-20000), true);
    ASSERT_NE(outgoing, kNoAudioStream);
    ASSERT_NE(incoming, kNoAudioStream);
    ASSERT_TRUE(mixer.playStream(outgoing));
    ASSERT_TRUE(mixer.playStream(incoming));
    mixer.setMasterVolume(0); // effects only
    mixer.feedStreams();

    struct Step {
        std::uint8_t out;
        std::uint8_t in;
    };
    for (const Step step : {Step{255, 0}, Step{192, 64}, Step{128, 128}, Step{0, 255}}) {
        EXPECT_TRUE(mixer.setStreamVolume(outgoing, step.out));
        EXPECT_TRUE(mixer.setStreamVolume(incoming, step.in));
        const std::vector<std::int16_t> frame = mixStreamFrames(mixer, 1);
        const double expected = 10000.0 * step.out / 255 - 20000.0 * step.in / 255;
        EXPECT_NEAR(frame[0], expected, 2.0) << int{step.out};
        EXPECT_EQ(frame[0], frame[1]);
    }
}

TEST(AudioMixerStreams, ClosedHandleIsStaleAndSlotsRunOut) {
    AudioMixer mixer;
    const AudioStream first = openRamp(mixer, 1000, false);
    const std::shared_ptr<AudioStreamSource> source = mixer.closeStream(first);
    EXPECT_NE(source, nullptr); // handed back for release outside the lock
    EXPECT_EQ(mixer.closeStream(first), nullptr);
    EXPECT_FALSE(mixer.playStream(first));
    EXPECT_FALSE(mixer.stopStream(first));
    EXPECT_FALSE(mixer.setStreamPosition(first, 0));
    EXPECT_FALSE(mixer.setStreamVolume(first, 0));
    EXPECT_FALSE(mixer.addStreamSyncPoint(first, 0));
    EXPECT_EQ(mixer.getStreamPosition(first), std::nullopt);

    std::vector<AudioStream> streams;
    for (int i = 0; i < kAudioStreamCount; ++i) {
        streams.push_back(openRamp(mixer, 1000, false));
        ASSERT_NE(streams.back(), kNoAudioStream);
        EXPECT_NE(streams.back(), first);
    }
    EXPECT_EQ(openRamp(mixer, 1000, false), kNoAudioStream);
    EXPECT_EQ(mixer.openStream(nullptr, false), kNoAudioStream);
    EXPECT_FALSE(mixer.stopStream(first)); // still stale with its slot reused
    EXPECT_TRUE(mixer.playStream(streams[0]));
}

} // namespace
} // namespace orv::platform
