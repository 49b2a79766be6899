#pragma once

// The small building blocks the sound generators share: a seeded noise
// source, a resonant band-pass and a sine table. Header-only so that each
// generator keeps them inline in its own loops.
#include "tools/media/Synth.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

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

} // namespace orv::media
