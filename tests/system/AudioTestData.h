#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::test {

/// A PCM WAV file in memory: `bits` 8 (unsigned) or 16 (signed), `channels`
/// interleaved, `values` already in the file's sample format (one per channel
/// per frame; 8-bit values are taken as 0..255).
[[nodiscard]] std::vector<std::byte> makeWav(int bits, int channels, int rate,
                                             const std::vector<int>& values);

/// An Ogg Vorbis file in memory holding `frames` frames of a sine of
/// `frequency` Hz at `amplitude` (0..1) on every one of `channels` channels;
/// empty when the encoder refuses the format.
[[nodiscard]] std::vector<std::byte> encodeOggSine(int channels, int rate, int frames,
                                                   double frequency, double amplitude);

/// Root mean square of one channel of interleaved values of `channels`
/// channels, from frame `firstFrame` on.
[[nodiscard]] double channelRms(const std::vector<std::int16_t>& values, int channel,
                                std::size_t firstFrame = 0, int channels = 2);

} // namespace orv::test
