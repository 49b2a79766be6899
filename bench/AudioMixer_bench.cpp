// How much of the audio thread's time the mixer takes: the mixing core over
// 1 to 32 effect voices, the whole mixer with 32 looping effects and two
// cross-fading music streams, and decoding a one-second WAV. The device asks
// for 1024 frames (about 23 ms) per callback; a mix must take a small part of
// that.
#include "engine/system/Platform.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numbers>
#include <span>
#include <vector>

namespace orv::platform {
namespace {

constexpr std::size_t kCallbackFrames = 1024;

// One second of a stereo sine at the mix rate.
std::vector<std::int16_t> sineFrames(double frequency) {
    std::vector<std::int16_t> frames(2 * std::size_t{kAudioSampleRate});
    for (std::size_t i = 0; i < frames.size() / 2; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(i) /
                             static_cast<double>(kAudioSampleRate);
        const auto value = static_cast<std::int16_t>(8000.0 * std::sin(phase));
        frames[2 * i] = value;
        frames[2 * i + 1] = value;
    }
    return frames;
}

// A music source that plays a sine from memory, so the benchmark measures
// the mixer rather than the Vorbis decoder.
class SineSource final : public AudioStreamSource {
public:
    explicit SineSource(double frequency) : frames_(sineFrames(frequency)) {}

    [[nodiscard]] std::uint32_t getSourceRate() const override { return kAudioSampleRate; }
    [[nodiscard]] std::uint64_t getSourceLength() const override { return frames_.size() / 2; }
    std::size_t read(std::span<std::int16_t> out) override {
        const std::size_t count = std::min(out.size(), frames_.size() - position_);
        std::memcpy(out.data(), frames_.data() + position_, count * sizeof(std::int16_t));
        position_ += count;
        return count / 2;
    }
    bool seek(std::uint64_t sourceFrame) override {
        if (sourceFrame > getSourceLength()) {
            return false;
        }
        position_ = 2 * static_cast<std::size_t>(sourceFrame);
        return true;
    }

private:
    std::vector<std::int16_t> frames_;
    std::size_t position_ = 0;
};

void mixingCore(benchmark::State& state) {
    const auto voiceCount = static_cast<std::size_t>(state.range(0));
    const std::vector<std::int16_t> data = sineFrames(440.0);
    std::vector<AudioVoice> voices(voiceCount);
    for (std::size_t i = 0; i < voiceCount; ++i) {
        AudioVoice& voice = voices[i];
        voice.data = data.data();
        voice.frameCount = static_cast<std::uint32_t>(data.size() / 2);
        voice.position = static_cast<std::uint32_t>(i * 997 % voice.frameCount);
        voice.volume = static_cast<std::uint8_t>(128 + i * 3);
        voice.pan = static_cast<std::uint8_t>(i * 8);
        voice.looped = true;
        voice.active = true;
    }
    std::vector<std::int16_t> out(2 * kCallbackFrames);
    for (auto _ : state) {
        mixAudioVoices(voices, 200, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCallbackFrames));
}
BENCHMARK(mixingCore)->Arg(1)->Arg(8)->Arg(32);

// The game's worst case: every effect channel busy while two music streams
// cross-fade; each round feeds the streams and mixes one device callback.
void fullMixerWithStreams(benchmark::State& state) {
    AudioMixer mixer;
    const auto sample = std::make_shared<const AudioSample>(sineFrames(660.0));
    for (int i = 0; i < kAudioChannelCount; ++i) {
        (void)mixer.play(sample, static_cast<std::uint8_t>(100 + i),
                         static_cast<std::uint8_t>(i * 8), true);
    }
    for (const double frequency : {220.0, 330.0}) {
        const AudioStream stream = mixer.openStream(std::make_shared<SineSource>(frequency), true);
        mixer.setStreamVolume(stream, 128);
        mixer.playStream(stream);
    }
    std::vector<std::int16_t> out(2 * kCallbackFrames);
    for (auto _ : state) {
        mixer.feedStreams();
        mixer.mix(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCallbackFrames));
}
BENCHMARK(fullMixerWithStreams);

// A one-second 16-bit mono WAV at 22,050 Hz: converted to stereo at the mix
// rate while it is decoded.
std::vector<std::byte> monoWav() {
    constexpr std::uint32_t kRate = 22050;
    std::vector<std::int16_t> samples(kRate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>((i * 37) % 16000);
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::byte> file;
    const auto text = [&](const char* chars) {
        for (int i = 0; i < 4; ++i) {
            file.push_back(static_cast<std::byte>(chars[i]));
        }
    };
    const auto number = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFFU));
        }
    };
    text("RIFF");
    number(36 + dataBytes, 4);
    text("WAVE");
    text("fmt ");
    number(16, 4);
    number(1, 2); // PCM
    number(1, 2); // mono
    number(kRate, 4);
    number(kRate * 2, 4);
    number(2, 2);
    number(16, 2);
    text("data");
    number(dataBytes, 4);
    for (const std::int16_t sample : samples) {
        number(static_cast<std::uint16_t>(sample), 2);
    }
    return file;
}

void decodeWav(benchmark::State& state) {
    const std::vector<std::byte> file = monoWav();
    for (auto _ : state) {
        AudioSamplePtr sample = decodeAudioSample(file);
        benchmark::DoNotOptimize(sample.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(decodeWav);

} // namespace
} // namespace orv::platform

BENCHMARK_MAIN();
