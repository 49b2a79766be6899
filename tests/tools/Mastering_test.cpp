// The loudness step: effects and music reach their levels from quiet and
// loud sources alike, and no sample passes the ceiling.

#include "tools/media/Mastering.h"
#include "tools/media/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace orv::media {
namespace {

constexpr double twoPi = 6.283185307179586;

// A knock: a 1 kHz tone dying away in 60 ms, peaking at `peak`.
std::vector<float> knockAt(float peak) {
    std::vector<float> out(sampleRate / 4);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        out[i] = static_cast<float>(peak * std::exp(-t / 0.06) * std::sin(twoPi * 1000 * t));
    }
    return out;
}

// A steady chord lasting a second at `level`.
std::vector<float> chordAt(float level) {
    std::vector<float> out(sampleRate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        out[i] =
            static_cast<float>(level * (std::sin(twoPi * 440 * t) + std::sin(twoPi * 660 * t)) / 2);
    }
    return out;
}

// Stereo music with quiet verses and a loud chorus: a 300 Hz tone whose level
// swings by `swingDb` every half second, scaled by `gain`.
std::vector<float> songAt(float gain, double swingDb) {
    std::vector<float> out(2 * static_cast<std::size_t>(sampleRate) * 4);
    for (std::size_t f = 0; f < out.size() / 2; ++f) {
        const double t = static_cast<double>(f) / sampleRate;
        const bool loud = static_cast<int>(t * 2) % 2 == 1;
        const double level = gain * std::pow(10.0, loud ? 0.0 : -swingDb / 20);
        out[2 * f] = static_cast<float>(level * std::sin(twoPi * 300 * t));
        out[2 * f + 1] = static_cast<float>(level * std::sin(twoPi * 301 * t));
    }
    return out;
}

TEST(Mastering, EffectsReachTheirLevelUnderTheCeiling) {
    struct Case {
        const char* name;
        std::vector<float> samples;
        EffectLevel level;
        double expectedDb; // where the loudest 200 ms lands
    };
    const Case cases[] = {
        {"a quiet chord is raised", chordAt(0.01F), effectLevel, effectLevel.targetDb},
        {"a loud chord is lowered", chordAt(0.9F), effectLevel, effectLevel.targetDb},
        {"a faint effect sits 10 dB lower", chordAt(0.5F), faintEffectLevel,
         faintEffectLevel.targetDb},
        // A knock's crest is too high to reach the target under the ceiling
        // with 6 dB of limiting: it goes out quieter, at the ceiling.
        {"a quiet knock", knockAt(0.02F), effectLevel, effectLevel.targetDb},
        {"a loud knock", knockAt(1.0F), effectLevel, effectLevel.targetDb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> out = masterEffect(c.samples, c.level);
        ASSERT_EQ(out.size(), c.samples.size());
        EXPECT_LE(peakDb(out), c.level.ceilingDb + 1e-4);
        EXPECT_LE(loudestWindowDb(out, 1, 0.2), c.expectedDb + 0.1);
        EXPECT_GE(loudestWindowDb(out, 1, 0.2), c.expectedDb - 6.5);
    }
    // A sustained sound has room under the ceiling and lands on the target.
    EXPECT_NEAR(loudestWindowDb(masterEffect(chordAt(0.01F), effectLevel), 1, 0.2),
                effectLevel.targetDb, 0.1);
    // Quiet and loud versions of the same knock come out the same.
    EXPECT_NEAR(rmsDb(masterEffect(knockAt(0.02F), effectLevel)),
                rmsDb(masterEffect(knockAt(1.0F), effectLevel)), 0.1);
    EXPECT_TRUE(masterEffect(std::vector<float>(100, 0.0F), effectLevel) ==
                std::vector<float>(100, 0.0F));
}

TEST(Mastering, MusicReachesItsRmsCompressedAndUnderTheCeiling) {
    struct Case {
        const char* name;
        float gain;
        double swingDb;
    };
    const Case cases[] = {
        {"quiet and even", 0.02F, 2.0},
        {"loud and even", 0.95F, 2.0},
        {"quiet verses, loud chorus", 0.5F, 18.0},
    };
    const MusicMaster master;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> song = songAt(c.gain, c.swingDb);
        const std::vector<float> out = masterMusic(song, master);
        ASSERT_EQ(out.size(), song.size());
        EXPECT_NEAR(rmsDb(out), master.targetDb, 0.2);
        EXPECT_LE(peakDb(out), master.ceilingDb + 1e-4);
        // The compressor narrows the gap between verse and chorus.
        const std::size_t half = static_cast<std::size_t>(sampleRate); // one stereo half second
        const std::span<const float> all(out);
        const double gapIn = rmsDb(std::span<const float>(song).subspan(half, half)) -
                             rmsDb(std::span<const float>(song).subspan(0, half));
        const double gapOut = rmsDb(all.subspan(half, half)) - rmsDb(all.subspan(0, half));
        EXPECT_LE(gapOut, gapIn * 0.75 + 0.1);
    }
}

TEST(Mastering, TheLimiterHoldsEveryPeakAndLeavesQuietPartsAlone) {
    // Spikes well over the ceiling among a quiet tone, at the loop's edges
    // too (the buffer is a loop).
    std::vector<float> samples(2 * 4410);
    for (std::size_t f = 0; f < samples.size() / 2; ++f) {
        const auto tone = static_cast<float>(0.1 * std::sin(twoPi * 200 * f / sampleRate));
        samples[2 * f] = tone;
        samples[2 * f + 1] = -tone;
    }
    for (const std::size_t at : {std::size_t{0}, std::size_t{2000}, samples.size() / 2 - 1}) {
        samples[2 * at] = 3.0F;
        samples[2 * at + 1] = -2.0F;
    }
    const std::vector<float> before = samples;
    limitPeaks(samples, 2, 0.5F);
    EXPECT_LE(peakDb(samples), 20 * std::log10(0.5) + 1e-4);
    // Far from the spikes the tone is untouched.
    for (std::size_t f = 1000; f < 1100; ++f) {
        EXPECT_FLOAT_EQ(samples[2 * f], before[2 * f]);
    }
}

} // namespace
} // namespace orv::media
