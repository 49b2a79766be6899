#pragma once

#include "tools/media/Mastering.h"
#include "tools/media/Raster.h"

#include <string>
#include <vector>

namespace orv::media {

/// The sample rate of every sound and of the music, in Hz.
inline constexpr int sampleRate = 44100;

/// One synthesised sound effect: its file stem and mono samples in -1..1.
struct SoundEffect {
    std::string name;
    std::vector<float> samples;
};

/// Every sound effect of the game, each made from fixed seeds.
[[nodiscard]] std::vector<SoundEffect> synthesiseEffects();

/// The lobby music: stereo, interleaved left/right samples in -1..1, made to
/// loop without a seam (its reverb tail is folded onto its start).
[[nodiscard]] std::vector<float> synthesiseLobbyMusic();

/// A 16-bit PCM mono WAV file of `samples` at `sampleRate`, mastered to
/// `level` first (`masterEffect`), so that every effect of the game goes
/// out at the same loudness.
[[nodiscard]] Bytes encodeWav(const std::vector<float>& samples, EffectLevel level = effectLevel);

/// An Ogg Vorbis file of interleaved stereo `samples`, mastered first
/// (`masterMusic`: compressed and limited to the music's loudness), quality `quality`
/// (libvorbis's -0.1..1 scale), with a fixed stream serial so that the bytes
/// repeat from run to run. Fails the tool when libvorbis refuses.
[[nodiscard]] Bytes encodeVorbis(const std::vector<float>& samples, float quality);

} // namespace orv::media
