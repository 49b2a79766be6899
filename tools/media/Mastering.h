#pragma once

// The loudness step every sound passes on its way out of the tool: effects
// are brought to one level against each other, music is compressed and
// limited so that it carries at the game's low music volume.
#include <span>
#include <vector>

namespace orv::media {

/// The level of a whole buffer, in dB below full scale (a full-scale square
/// wave is 0 dBFS); silence is -200.
[[nodiscard]] double rmsDb(std::span<const float> samples);

/// The largest magnitude of `samples`, in dBFS; silence is -200.
[[nodiscard]] double peakDb(std::span<const float> samples);

/// The loudest RMS level, in dBFS, over any window of `windowSeconds` of
/// interleaved `channels`-channel audio at the tool's sample rate. A sound
/// shorter than the window is measured over the window, so short clicks
/// read quieter, as the ear hears them.
[[nodiscard]] double loudestWindowDb(std::span<const float> samples, int channels,
                                     double windowSeconds);

/// How loud an effect goes out: its loudest 200 ms at `targetDb`, no
/// sample above `ceilingDb`.
struct EffectLevel {
    double targetDb;
    double ceilingDb;
};

/// The level of every effect (buttons, tiles, chimes, fanfares).
inline constexpr EffectLevel effectLevel{-23.0, -6.0};
/// The level of the effects meant to be barely there (a button under the
/// mouse), 10 dB under the rest.
inline constexpr EffectLevel faintEffectLevel{-33.0, -16.0};

/// A mono effect brought to `level`: scaled to the target, and its peaks
/// held under the ceiling by a look-ahead limiter. Transients that would
/// need more than 6 dB of limiting lower the whole effect instead, so that
/// knocks keep their attack. Silence stays silence.
[[nodiscard]] std::vector<float> masterEffect(std::vector<float> samples, EffectLevel level);

/// How a music loop is mastered.
struct MusicMaster {
    double targetDb = -12.0;    ///< RMS of the whole loop
    double ceilingDb = -2.5;    ///< no sample above this (the encoder overshoots by ~1.5 dB)
    double thresholdDb = -28.0; ///< where the compressor starts, after levelling to -20 dBFS
    double ratio = 3.0;
    double kneeDb = 12.0;
};

/// An interleaved stereo loop mastered: levelled, compressed with a soft
/// knee (stereo-linked, its detector run round the loop so that the seam
/// stays seamless), raised to the target RMS and limited under the ceiling.
/// Silence stays silence.
[[nodiscard]] std::vector<float> masterMusic(std::vector<float> stereo,
                                             const MusicMaster& master = {});

/// The look-ahead limiter both use: every frame of interleaved `channels`
/// audio scaled so that no sample exceeds `ceiling` (linear), the gain
/// falling ahead of each peak and recovering after it. The buffer is
/// treated as a loop.
void limitPeaks(std::vector<float>& samples, int channels, float ceiling);

} // namespace orv::media
