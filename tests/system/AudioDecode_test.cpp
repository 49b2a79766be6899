#include "engine/system/Platform.h"

#include "tests/support/TempDir.h"
#include "tests/system/AudioTestData.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime calls an installed hook for every allocation.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

namespace orv::platform {
namespace {

using test::channelRms;
using test::encodeOggSine;
using test::makeWav;

std::span<const std::byte> bytesOf(const std::vector<std::byte>& data) {
    return {data.data(), data.size()};
}

std::span<const std::byte> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

std::string textOf(const std::vector<std::byte>& data) {
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

// ---------------------------------------------------------------------------
// WAV

TEST(AudioDecodeWav, StereoAtTheMixRateIsCopiedExactly) {
    const std::vector<int> values{1000, -1000, 32767, -32768, 0, 5};
    const AudioSamplePtr sample = decodeAudioSample(bytesOf(makeWav(16, 2, 44100, values)));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->getFrameCount(), 3U);
    EXPECT_EQ(sample->getData(), (std::vector<std::int16_t>{1000, -1000, 32767, -32768, 0, 5}));
}

// A mono effect stays one value a frame in memory; the mixer plays it on
// both sides.
TEST(AudioDecodeWav, MonoStaysMono) {
    const AudioSamplePtr sample =
        decodeAudioSample(bytesOf(makeWav(16, 1, 44100, {1200, -300, 7})));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->getChannels(), 1);
    ASSERT_EQ(sample->getFrameCount(), 3U);
    EXPECT_EQ(sample->getData().size(), 3U);
    EXPECT_NEAR(sample->getData()[0], 1200, 2);
    EXPECT_NEAR(sample->getData()[1], -300, 2);
}

TEST(AudioDecodeWav, OtherRatesAndWidthsAreConvertedToTheMixFormat) {
    // Half a second of a constant 8-bit level at 22,050 Hz.
    const std::vector<int> values(11025, 128 + 64);
    const AudioSamplePtr sample = decodeAudioSample(bytesOf(makeWav(8, 1, 22050, values)));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->getFrameCount(), 22050U); // the resampler's tail is not lost
    EXPECT_EQ(sample->getDurationMs(), 500U);
    // Away from the resampler's edges the level is a quarter of full scale.
    const std::vector<std::int16_t>& data = sample->getData();
    EXPECT_NEAR(data[data.size() / 2], 16384, 300);
}

TEST(AudioDecode, BrokenInputsDecodeToNothing) {
    const std::vector<std::byte> wav = makeWav(16, 2, 44100, {1, 2, 3, 4});
    std::string badFormat = textOf(wav);
    badFormat[20] = '\x7F'; // format tag no decoder knows
    std::string badChannels = textOf(wav);
    badChannels[22] = '\0'; // zero channels
    badChannels[23] = '\0';
    std::string absurdRate = textOf(wav);
    absurdRate.replace(24, 4, std::string("\x00\xAC\x44\x00", 4)); // 4,500,480 Hz
    std::string tinyRate = textOf(wav);
    tinyRate.replace(24, 4, std::string("\x01\x00\x00\x00", 4)); // 1 Hz
    const std::string cases[] = {
        "",
        "RIFF",
        textOf(wav).substr(0, 30),         // cut inside the format chunk
        textOf(makeWav(16, 2, 44100, {})), // no audio at all
        badFormat,
        badChannels,
        absurdRate,
        tinyRate,
        "OggS",
        "OggS" + std::string(200, '\x01'),
        textOf(encodeOggSine(1, 44100, 4410, 440, 0.5)).substr(0, 40),
        "ID3 not a sound",
        std::string(64, '\0'),
    };
    for (const std::string& input : cases) {
        EXPECT_EQ(decodeAudioSample(bytesOf(input)), nullptr) << "input of " << input.size();
    }
}

TEST(AudioDecode, MoreThanTenMinutesIsRefused) {
    // 8-bit mono at 4,000 Hz keeps the file small; decoded, it is 44,100 Hz
    // stereo.
    constexpr int kRate = 4000;
    const std::vector<int> tenMinutes(static_cast<std::size_t>(kRate) * 600, 128);
    const AudioSamplePtr fits = decodeAudioSample(bytesOf(makeWav(8, 1, kRate, tenMinutes)));
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->getDurationMs(), 600000U);
    std::vector<int> longer = tenMinutes;
    longer.resize(longer.size() + kRate, 128);
    EXPECT_EQ(decodeAudioSample(bytesOf(makeWav(8, 1, kRate, longer))), nullptr);
}

// The largest single allocation between `start` and `stop`, in builds with
// the address sanitizer; elsewhere nothing is measured.
class LargestAllocation {
public:
#if defined(__SANITIZE_ADDRESS__)
    static constexpr bool kMeasures = true;
#else
    static constexpr bool kMeasures = false;
#endif

    void start() {
#if defined(__SANITIZE_ADDRESS__)
        static const bool installed =
            __sanitizer_install_malloc_and_free_hooks(note, [](const volatile void*) {}) != 0;
        ASSERT_TRUE(installed);
        largest = 0;
        recording = true;
#endif
    }
    // The largest size seen; 0 when nothing could be measured.
    std::size_t stop() {
        recording = false;
        return largest;
    }

private:
    static void note(const volatile void* /*block*/, std::size_t size) {
        std::size_t seen = largest.load();
        while (recording && seen < size && !largest.compare_exchange_weak(seen, size)) {
        }
    }
    static inline std::atomic<bool> recording{false};
    static inline std::atomic<std::size_t> largest{0};
};

TEST(AudioDecode, LengthIsCheckedBeforeAnythingIsConverted) {
    // Twenty minutes of 8-bit mono at 1,000 Hz: 1.2 MB, which the converter
    // would turn into 200 MB before the ten-minute cap could refuse it.
    constexpr int kRate = 1000;
    const std::vector<std::byte> wav =
        makeWav(8, 1, kRate, std::vector<int>(static_cast<std::size_t>(kRate) * 1200, 128));
    LargestAllocation probe;
    probe.start();
    EXPECT_EQ(decodeAudioSample(bytesOf(wav)), nullptr);
    const std::size_t largest = probe.stop();
    EXPECT_LT(largest, 4 * wav.size());
    if (LargestAllocation::kMeasures) {
        EXPECT_GE(largest, wav.size() / 2) << "the decoder's own copy of the audio is seen";
    }
}

// ---------------------------------------------------------------------------
// Ogg Vorbis

struct OggCase {
    int channels;
    int rate;
    std::uint32_t expectedFrames;
};

std::string oggCaseName(const testing::TestParamInfo<OggCase>& param) {
    return std::to_string(param.param.channels) + "Channels" + std::to_string(param.param.rate) +
           "Hz";
}

class AudioDecodeOgg : public testing::TestWithParam<OggCase> {};

TEST_P(AudioDecodeOgg, DecodesToTheMixFormatAtTheRightLengthAndLevel) {
    const OggCase& c = GetParam();
    const std::vector<std::byte> ogg = encodeOggSine(c.channels, c.rate, c.rate / 2, 440, 0.5);
    ASSERT_FALSE(ogg.empty());
    const AudioSamplePtr sample = decodeAudioSample(bytesOf(ogg));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->getFrameCount(), c.expectedFrames);
    EXPECT_EQ(sample->getChannels(), c.channels);
    // A sine at half scale has an RMS of 0.5 / sqrt(2) of full scale.
    const double expectedRms = 0.5 / std::sqrt(2.0) * 32768;
    for (int channel = 0; channel < c.channels; ++channel) {
        EXPECT_NEAR(channelRms(sample->getData(), channel, 2048, c.channels), expectedRms,
                    expectedRms * 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, AudioDecodeOgg,
                         testing::Values(OggCase{1, 44100, 22050}, OggCase{2, 44100, 22050},
                                         OggCase{2, 22050, 22050}, OggCase{1, 48000, 22050}),
                         oggCaseName);

// ---------------------------------------------------------------------------
// Ogg Vorbis streams

class AudioOggStream : public testing::Test {
protected:
    std::string writeOgg(const std::string& name, int channels, int rate, int frames) {
        const std::vector<std::byte> ogg = encodeOggSine(channels, rate, frames, 330, 0.5);
        test::writeFile(dir_.path() / name, textOf(ogg));
        return dir_.file(name);
    }

    static std::vector<std::int16_t> readAll(AudioStreamSource& source) {
        std::vector<std::int16_t> all;
        std::vector<std::int16_t> chunk(2 * 1000);
        for (std::size_t got = source.read(chunk); got > 0; got = source.read(chunk)) {
            all.insert(all.end(), chunk.begin(), chunk.begin() + 2 * got);
        }
        return all;
    }

    test::TempDir dir_;
};

TEST_F(AudioOggStream, ReadsTheWholeFileAndSeeksToTheSameAudio) {
    const std::unique_ptr<AudioStreamSource> source =
        openOggStreamSource(writeOgg("music.ogg", 2, 44100, 30000));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->getSourceRate(), 44100U);
    EXPECT_EQ(source->getSourceLength(), 30000U);
    const std::vector<std::int16_t> all = readAll(*source);
    EXPECT_EQ(all.size(), 2U * 30000);
    EXPECT_EQ(source->read(std::span<std::int16_t>()), 0U);

    ASSERT_TRUE(source->seek(12000));
    std::vector<std::int16_t> after(2 * 500);
    ASSERT_EQ(source->read(after), 500U);
    for (std::size_t i = 0; i < after.size(); ++i) {
        ASSERT_NEAR(after[i], all[2 * 12000 + i], 2) << i;
    }
    EXPECT_FALSE(source->seek(30001));
    ASSERT_TRUE(source->seek(0)); // rewinding after the end works
    EXPECT_EQ(readAll(*source).size(), all.size());
}

TEST_F(AudioOggStream, OtherRatesCountPositionsInTheirOwnFrames) {
    const std::unique_ptr<AudioStreamSource> source =
        openOggStreamSource(writeOgg("slow.ogg", 1, 22050, 11025));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->getSourceRate(), 22050U);
    EXPECT_EQ(source->getSourceLength(), 11025U);
    EXPECT_EQ(readAll(*source).size(), 2U * 22050);
    ASSERT_TRUE(source->seek(5000));
    EXPECT_EQ(readAll(*source).size(), 2U * (22050 - 10000));
}

TEST_F(AudioOggStream, PlaysThroughTheMixerWithLoopAndPosition) {
    AudioMixer mixer;
    const AudioStream stream =
        mixer.openStream(openOggStreamSource(writeOgg("loop.ogg", 2, 44100, 5000)), true);
    ASSERT_NE(stream, kNoAudioStream);
    ASSERT_TRUE(mixer.playStream(stream));
    mixer.feedStreams();
    std::vector<std::int16_t> out(2 * 12000);
    mixer.mix(out);
    EXPECT_EQ(mixer.getStreamPosition(stream), 2000U);
    EXPECT_GT(channelRms(out, 0), 5000.0);
}

TEST_F(AudioOggStream, MissingOrForeignFilesDoNotOpen) {
    EXPECT_EQ(openOggStreamSource(dir_.file("missing.ogg")), nullptr);
    test::writeFile(dir_.path() / "text.ogg", "just some words, no audio at all");
    EXPECT_EQ(openOggStreamSource(dir_.file("text.ogg")), nullptr);
    test::writeFile(dir_.path() / "click.wav", textOf(makeWav(16, 2, 44100, {1, 2})));
    EXPECT_EQ(openOggStreamSource(dir_.file("click.wav")), nullptr);
    EXPECT_EQ(openOggStreamSource(dir_.path().string()), nullptr) << "a folder";

    // A FIFO opened for reading would wait for a writer forever; the alarm
    // ends the test run instead of hanging it should that come back.
    ASSERT_EQ(::mkfifo(dir_.file("music.ogg").c_str(), 0600), 0);
    ::alarm(60);
    EXPECT_EQ(openOggStreamSource(dir_.file("music.ogg")), nullptr);
    ::alarm(0);
}

} // namespace
} // namespace orv::platform
