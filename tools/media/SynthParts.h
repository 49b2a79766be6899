#pragma once

// The small building blocks the sound generators share: a seeded noise
// source, a resonant band-pass, a sine table, decaying tones and soft bells,
// and the buffer helpers around them. Header-only so that each generator
// keeps them inline in its own loops.
#include "tools/media/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::media {

inline constexpr double pi = 3.14159265358979323846;

// A small xorshift generator: fixed seeds give the same noise on every run
// and every standard library.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed != 0 ? seed : 1U) {}
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ & 0xFFFFFF) / static_cast<double>(0x800000) - 1.0;
    }

private:
    std::uint32_t state_;
};

// A two-pole resonant band-pass (the classic biquad of the audio cookbook).
class BandPass {
public:
    BandPass(double frequency, double q) {
        const double w = 2 * pi * frequency / sampleRate;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        b0_ = alpha / a0;
        b2_ = -alpha / a0;
        a1_ = -2 * std::cos(w) / a0;
        a2_ = (1 - alpha) / a0;
    }
    double process(double x) {
        const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// sin(2 pi x) from a table of one period with linear interpolation: the pad
// needs tens of millions of sines, and a table keeps the tool quick.
class SineTable {
public:
    SineTable() {
        for (std::size_t i = 0; i <= size; ++i) {
            values_[i] = std::sin(2 * pi * static_cast<double>(i) / size);
        }
    }
    [[nodiscard]] double operator()(double cycles) const {
        const double position = (cycles - std::floor(cycles)) * size;
        const auto index = static_cast<std::size_t>(position);
        const double fraction = position - static_cast<double>(index);
        return values_[index] + (values_[index + 1] - values_[index]) * fraction;
    }

private:
    static constexpr std::size_t size = 4096;
    std::array<double, size + 1> values_{};
};

// A decaying partial at `frequency` Hz added to `out` from `start` seconds:
// a linear rise over `attack` seconds, then an exponential fall with time
// constant `decay` seconds. Samples past the end of `out` are dropped.
inline void addTone(std::vector<float>& out, double start, double frequency, double gain,
                    double decay, double attack = 0.004) {
    const auto first = static_cast<std::size_t>(start * sampleRate);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        const double envelope = std::min(1.0, t / attack) * std::exp(-t / decay);
        out[i] += static_cast<float>(gain * envelope * std::sin(2 * pi * frequency * t));
    }
}

// How long a soft bell rings: the decay times, in seconds, of its
// fundamental and of its second partial (the third always fades in 0.12 s).
struct BellRing {
    double fundamental;
    double second;
};

// A soft bell: a fundamental with two inharmonic partials, as `addTone`s.
inline void addSoftBell(std::vector<float>& out, double start, double frequency, double gain,
                        BellRing ring) {
    addTone(out, start, frequency, gain, ring.fundamental);
    addTone(out, start, frequency * 2.01, gain * 0.35, ring.second);
    addTone(out, start, frequency * 3.03, gain * 0.15, 0.12);
}

// `seconds` of silence, to add tones onto.
inline std::vector<float> silence(double seconds) {
    return std::vector<float>(static_cast<std::size_t>(seconds * sampleRate), 0.0F);
}

// Scales `samples` so that the loudest one reaches `peak`; silence stays.
inline void normalisePeak(std::vector<float>& samples, float peak) {
    float largest = 0.0F;
    for (const float s : samples) {
        largest = std::max(largest, std::abs(s));
    }
    if (largest > 0.0F) {
        for (float& s : samples) {
            s *= peak / largest;
        }
    }
}

// The frequency in Hz of MIDI note `note` (69 is A at 440 Hz).
inline double midi(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

} // namespace orv::media
