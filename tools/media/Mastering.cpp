#include "tools/media/Mastering.h"

#include "tools/media/Synth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <deque>

namespace orv::media {

namespace {

constexpr double silentDb = -200.0;

double toDb(double linear) {
    return linear > 0.0 ? 20.0 * std::log10(linear) : silentDb;
}

double fromDb(double db) {
    return std::pow(10.0, db / 20.0);
}

void scaleBy(std::vector<float>& samples, double gain) {
    for (float& s : samples) {
        s = static_cast<float>(s * gain);
    }
}

// The limiter's look-ahead: the gain reaches its lowest this long before a
// peak and returns over the same time after it.
constexpr double limiterLookAheadSeconds = 0.0015;

// The compressor's detector: how fast it follows a rise and a fall.
constexpr double compressorAttackSeconds = 0.005;
constexpr double compressorReleaseSeconds = 0.15;

double smoothing(double seconds) {
    return std::exp(-1.0 / (seconds * sampleRate));
}

// Gain change in dB the soft-knee compressor asks at input level `levelDb`.
double compressorGainDb(double levelDb, const MusicMaster& master) {
    const double over = levelDb - master.thresholdDb;
    const double slope = 1.0 / master.ratio - 1.0;
    if (2.0 * over < -master.kneeDb) {
        return 0.0;
    }
    if (2.0 * std::abs(over) <= master.kneeDb) {
        const double into = over + master.kneeDb / 2.0;
        return slope * into * into / (2.0 * master.kneeDb);
    }
    return slope * over;
}

// Stereo-linked soft-knee compression of interleaved stereo. The detector
// runs once round the loop before it acts, so the gain at the start equals
// the gain the end leaves behind.
void compressLoop(std::vector<float>& stereo, const MusicMaster& master) {
    const std::size_t frames = stereo.size() / 2;
    const double attack = smoothing(compressorAttackSeconds);
    const double release = smoothing(compressorReleaseSeconds);
    double power = 0.0;
    const auto follow = [&](std::size_t frame) {
        const double l = stereo[2 * frame];
        const double r = stereo[2 * frame + 1];
        const double now = std::max(l * l, r * r);
        const double a = now > power ? attack : release;
        power = a * power + (1.0 - a) * now;
    };
    for (std::size_t f = 0; f < frames; ++f) {
        follow(f);
    }
    for (std::size_t f = 0; f < frames; ++f) {
        follow(f);
        const double levelDb = power > 0.0 ? 10.0 * std::log10(power) : silentDb;
        const auto gain = static_cast<float>(fromDb(compressorGainDb(levelDb, master)));
        stereo[2 * f] *= gain;
        stereo[2 * f + 1] *= gain;
    }
}

} // namespace

double rmsDb(std::span<const float> samples) {
    if (samples.empty()) {
        return silentDb;
    }
    double sum = 0.0;
    for (const float s : samples) {
        sum += static_cast<double>(s) * s;
    }
    return toDb(std::sqrt(sum / static_cast<double>(samples.size())));
}

double peakDb(std::span<const float> samples) {
    float largest = 0.0F;
    for (const float s : samples) {
        largest = std::max(largest, std::abs(s));
    }
    return toDb(largest);
}

double loudestWindowDb(std::span<const float> samples, int channels, double windowSeconds) {
    const auto width = static_cast<std::size_t>(channels);
    const std::size_t frames = samples.size() / width;
    const auto window =
        std::max<std::size_t>(1, static_cast<std::size_t>(windowSeconds * sampleRate));
    std::vector<double> framePower(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        double p = 0.0;
        for (std::size_t c = 0; c < width; ++c) {
            p += static_cast<double>(samples[f * width + c]) * samples[f * width + c];
        }
        framePower[f] = p / static_cast<double>(width);
    }
    // A running sum over the window; a short sound counts its missing
    // frames as silence.
    double sum = 0.0;
    double loudest = 0.0;
    for (std::size_t f = 0; f < frames; ++f) {
        sum += framePower[f];
        if (f >= window) {
            sum -= framePower[f - window];
        }
        loudest = std::max(loudest, sum);
    }
    return toDb(std::sqrt(std::max(loudest, 0.0) / static_cast<double>(window)));
}

void limitPeaks(std::vector<float>& samples, int channels, float ceiling) {
    const auto width = static_cast<std::size_t>(channels);
    const std::size_t frames = samples.size() / width;
    if (frames == 0) {
        return;
    }
    const std::size_t span = std::min(
        frames,
        std::max<std::size_t>(1, static_cast<std::size_t>(limiterLookAheadSeconds * sampleRate)));
    // The gain each frame needs on its own.
    std::vector<float> need(frames, 1.0F);
    for (std::size_t f = 0; f < frames; ++f) {
        float largest = 0.0F;
        for (std::size_t c = 0; c < width; ++c) {
            largest = std::max(largest, std::abs(samples[f * width + c]));
        }
        if (largest > ceiling) {
            need[f] = ceiling / largest;
        }
    }
    const auto needAt = [&](std::size_t k) {
        return need[k % frames];
    };
    // The least need over the `span` frames from each frame on (round the
    // loop), by a monotonic queue ...
    std::vector<float> ahead(frames);
    std::deque<std::size_t> queue;
    for (std::size_t k = 0; k < frames + span - 1; ++k) {
        while (!queue.empty() && needAt(queue.back()) >= needAt(k)) {
            queue.pop_back();
        }
        queue.push_back(k);
        if (k + 1 >= span) {
            const std::size_t from = k + 1 - span;
            while (queue.front() < from) {
                queue.pop_front();
            }
            ahead[from] = needAt(queue.front());
        }
    }
    // ... then averaged over the `span` frames up to each frame: every
    // frame's gain is an average of minima that each include the frame, so it
    // never exceeds what the frame needs, and it moves smoothly.
    double sum = 0.0;
    for (std::size_t k = frames - span + 1; k < frames; ++k) {
        sum += ahead[k];
    }
    for (std::size_t f = 0; f < frames; ++f) {
        sum += ahead[f];
        const double gain = sum / static_cast<double>(span);
        sum -= ahead[(f + frames - span + 1) % frames];
        for (std::size_t c = 0; c < width; ++c) {
            float& s = samples[f * width + c];
            // Rounding in the running sum must never let a peak through.
            s = std::clamp(static_cast<float>(s * gain), -ceiling, ceiling);
        }
    }
}

std::vector<float> masterEffect(std::vector<float> samples, EffectLevel level) {
    const double loudness = loudestWindowDb(samples, 1, 0.2);
    if (loudness <= silentDb) {
        return samples;
    }
    double gainDb = level.targetDb - loudness;
    // More than 6 dB of limiting would flatten a knock's attack: such a sound
    // goes out quieter instead.
    const double limitingDb = peakDb(samples) + gainDb - level.ceilingDb;
    if (limitingDb > 6.0) {
        gainDb -= limitingDb - 6.0;
    }
    scaleBy(samples, fromDb(gainDb));
    limitPeaks(samples, 1, static_cast<float>(fromDb(level.ceilingDb)));
    return samples;
}

std::vector<float> masterMusic(std::vector<float> stereo, const MusicMaster& master) {
    const double level = rmsDb(stereo);
    if (level <= silentDb || stereo.size() < 2) {
        return stereo;
    }
    scaleBy(stereo, fromDb(-20.0 - level));
    compressLoop(stereo, master);
    // Raising into the limiter costs a little level: a few rounds of
    // measuring and raising again bring the loop to its target.
    const auto ceiling = static_cast<float>(fromDb(master.ceilingDb));
    double gainDb = master.targetDb - rmsDb(stereo);
    std::vector<float> out;
    for (int round = 0; round < 4; ++round) {
        out = stereo;
        scaleBy(out, fromDb(gainDb));
        limitPeaks(out, 2, ceiling);
        const double shortfall = master.targetDb - rmsDb(out);
        if (std::abs(shortfall) < 0.05) {
            break;
        }
        gainDb += shortfall;
    }
    return out;
}

} // namespace orv::media
