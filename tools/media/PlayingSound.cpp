#include "tools/media/PlayingSound.h"

#include "tools/media/SynthParts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <future>
#include <map>
#include <tuple>
#include <utility>

namespace orv::media {

namespace {

const SineTable& sine() {
    static const SineTable table;
    return table;
}

std::size_t samplesFor(double seconds) {
    return static_cast<std::size_t>(std::max(0.0, seconds) * sampleRate);
}

double noteFrequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void normalise(std::vector<float>& samples, double peak) {
    float loudest = 0;
    for (const float s : samples) {
        loudest = std::max(loudest, std::abs(s));
    }
    if (loudest > 0) {
        const auto gain = static_cast<float>(peak / loudest);
        for (float& s : samples) {
            s *= gain;
        }
    }
}

// A struck bell: inharmonic partials, the higher ones fading faster.
void addBell(std::vector<float>& out, double start, double frequency, double gain, double decay) {
    static constexpr std::array<std::pair<double, double>, 5> partials{
        {{1.0, 1.0}, {2.01, 0.45}, {2.76, 0.25}, {4.07, 0.12}, {5.43, 0.06}}};
    const std::size_t first = samplesFor(start);
    const std::size_t length = samplesFor(7.0 / decay);
    for (std::size_t i = first; i < out.size() && i < first + length; ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        const double attack = std::min(1.0, t * 400.0);
        double s = 0;
        for (const auto& [ratio, level] : partials) {
            s += sine()(frequency * ratio * t) * level * std::exp(-t * decay * (0.6 + ratio * 0.4));
        }
        out[i] += static_cast<float>(s * gain * attack);
    }
}

// A wooden knock: a noise burst through two resonances.
void addKnock(std::vector<float>& out, double start, double pitch, double gain,
              std::uint32_t seed) {
    Noise noise(seed);
    BandPass low(pitch, 9.0);
    BandPass high(pitch * 2.13, 12.0);
    const std::size_t first = samplesFor(start);
    for (std::size_t i = 0; i < samplesFor(0.12) && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double burst = std::exp(-t * 900.0) * noise.next();
        const double s = low.process(burst) + high.process(burst) * 0.45 +
                         sine()(pitch * 0.5 * t) * std::exp(-t * 60.0) * 0.25;
        out[first + i] += static_cast<float>(s * gain * std::min(1.0, t * sampleRate / 20.0));
    }
}

// Noise swept through a band-pass from `from` to `to` Hz: air moving.
void addSwish(std::vector<float>& out, double start, double length, double from, double to,
              double gain, std::uint32_t seed) {
    Noise noise(seed);
    const std::size_t first = samplesFor(start);
    double low = 0;
    double phase = 0;
    for (std::size_t i = 0; i < samplesFor(length) && first + i < out.size(); ++i) {
        const double u = static_cast<double>(i) / samplesFor(length);
        const double centre = from + (to - from) * u;
        phase += centre / sampleRate;
        const double envelope = std::sin(pi * u) * std::sin(pi * u);
        const double s = noise.next() * (0.6 + 0.4 * sine()(phase));
        low += (s - low) * std::clamp(centre / 9000.0, 0.05, 0.9);
        out[first + i] += static_cast<float>(low * envelope * gain);
    }
}

std::vector<SoundEffect> makeEffects() {
    std::vector<SoundEffect> effects;
    const auto add = [&effects](const char* name, std::vector<float> samples, double peak) {
        normalise(samples, peak);
        effects.push_back({name, std::move(samples)});
    };
    {
        // A level begins: a soft gong under three rising bells.
        std::vector<float> s(samplesFor(2.2));
        addBell(s, 0.0, noteFrequency(43), 0.5, 1.6);
        addBell(s, 0.05, noteFrequency(79), 0.3, 3.5);
        addBell(s, 0.2, noteFrequency(83), 0.3, 3.5);
        addBell(s, 0.35, noteFrequency(86), 0.35, 3.0);
        add("level_start", std::move(s), 0.75);
    }
    {
        // The board builds up: a cascade of soft knocks climbing in pitch.
        std::vector<float> s(samplesFor(1.6));
        Noise timing(301U);
        for (int k = 0; k < 24; ++k) {
            const double at = k * 0.055 + (timing.next() + 1.0) * 0.008;
            addKnock(s, at, 900 + k * 28 + timing.next() * 60, 0.35 + 0.2 * (k / 24.0),
                     310U + static_cast<std::uint32_t>(k));
        }
        add("level_buildup", std::move(s), 0.6);
    }
    {
        // A level won: a climbing pentatonic run of bells into a full chord.
        std::vector<float> s(samplesFor(3.0));
        static constexpr std::array<int, 7> run{72, 74, 76, 79, 81, 84, 88};
        for (std::size_t k = 0; k < run.size(); ++k) {
            addBell(s, 0.08 * static_cast<double>(k), noteFrequency(run[k]), 0.3, 3.5);
        }
        for (const int note : {60, 67, 72, 76, 79}) {
            addBell(s, 0.62, noteFrequency(note), 0.28, 1.5);
        }
        add("level_won", std::move(s), 0.8);
    }
    {
        // A level lost: a falling minor phrase over a low, dull gong.
        std::vector<float> s(samplesFor(2.6));
        static constexpr std::array<int, 4> fall{75, 72, 70, 67};
        for (std::size_t k = 0; k < fall.size(); ++k) {
            addBell(s, 0.22 * static_cast<double>(k), noteFrequency(fall[k]), 0.28, 3.0);
        }
        addBell(s, 0.85, noteFrequency(36), 0.6, 1.3);
        addBell(s, 0.85, noteFrequency(48), 0.2, 2.0);
        add("level_lost", std::move(s), 0.75);
    }
    {
        // A tile flies to the rack, and lands there.
        std::vector<float> moves(samplesFor(0.25));
        addSwish(moves, 0.0, 0.25, 1800, 700, 1.0, 321U);
        add("tile_moves", std::move(moves), 0.35);
        std::vector<float> lands(samplesFor(0.14));
        addKnock(lands, 0.0, 980, 1.0, 322U);
        add("tile_arrives", std::move(lands), 0.7);
    }
    {
        // A shuffle is bought: the tiles riffle, then settle with one knock.
        std::vector<float> s(samplesFor(0.9));
        Noise timing(331U);
        for (int k = 0; k < 14; ++k) {
            addKnock(s, k * 0.04 + (timing.next() + 1.0) * 0.01,
                     1500 - k * 25 + timing.next() * 120, 0.4,
                     340U + static_cast<std::uint32_t>(k));
        }
        addKnock(s, 0.68, 800, 0.9, 360U);
        add("use_shuffle", std::move(s), 0.7);
        // An undo: a short swish backward, then a light knock.
        std::vector<float> undo(samplesFor(0.34));
        addSwish(undo, 0.0, 0.22, 600, 2200, 1.0, 361U);
        addKnock(undo, 0.2, 1400, 0.5, 362U);
        add("use_undo", std::move(undo), 0.5);
    }
    {
        // Time runs short: a clock's tick-tock, one second that loops.
        std::vector<float> s(samplesFor(1.0));
        addKnock(s, 0.0, 2400, 1.0, 371U);
        addKnock(s, 0.5, 1900, 0.8, 372U);
        // A low heartbeat under the ticks.
        for (const double at : {0.0, 0.18}) {
            const std::size_t first = samplesFor(at);
            for (std::size_t i = 0; i < samplesFor(0.16); ++i) {
                const double t = static_cast<double>(i) / sampleRate;
                s[first + i] += static_cast<float>(sine()(58.0 * t) * std::exp(-t * 22.0) *
                                                   std::min(1.0, t * 300.0) * 0.5);
            }
        }
        add("time_warning", std::move(s), 0.55);
    }
    {
        // The bonus bar pays out: a shimmer of high bells.
        std::vector<float> s(samplesFor(1.3));
        static constexpr std::array<int, 6> sparkle{91, 96, 93, 98, 95, 100};
        for (std::size_t k = 0; k < sparkle.size(); ++k) {
            addBell(s, 0.05 * static_cast<double>(k), noteFrequency(sparkle[k]), 0.22, 4.5);
        }
        add("bonus_claimed", std::move(s), 0.6);
        // The bonus leaves its box: a rising swish.
        std::vector<float> leaves(samplesFor(0.45));
        addSwish(leaves, 0.0, 0.45, 500, 3200, 1.0, 381U);
        add("bonus_detached", std::move(leaves), 0.4);
        // Points arrive: coins clinking.
        std::vector<float> coins(samplesFor(0.7));
        for (const auto& [at, note] :
             std::array<std::pair<double, int>, 3>{{{0.0, 96}, {0.07, 100}, {0.13, 98}}}) {
            addBell(coins, at, noteFrequency(note), 0.3, 9.0);
        }
        add("bonus_score_arrives", std::move(coins), 0.6);
        // Time arrives: a clock's double chime.
        std::vector<float> chime(samplesFor(1.2));
        addBell(chime, 0.0, noteFrequency(84), 0.4, 3.2);
        addBell(chime, 0.16, noteFrequency(79), 0.4, 3.2);
        add("bonus_time_arrives", std::move(chime), 0.65);
        // The super hint arrives: a glissando of bells up two octaves.
        std::vector<float> magic(samplesFor(1.6));
        static constexpr std::array<int, 11> glide{67, 69, 72, 74, 76, 79, 81, 84, 86, 88, 91};
        for (std::size_t k = 0; k < glide.size(); ++k) {
            addBell(magic, 0.045 * static_cast<double>(k), noteFrequency(glide[k]), 0.2, 4.0);
        }
        addBell(magic, 0.55, noteFrequency(79), 0.25, 2.0);
        addBell(magic, 0.55, noteFrequency(91), 0.2, 2.0);
        add("super_hint_arrives", std::move(magic), 0.7);
    }
    return effects;
}

// ---- music -------------------------------------------------------------------------

// The instruments a track may use for its melody and its accompaniment.
enum class Voice { Pluck, Mallet, Bell, Harp };

// A track's plan: tempo and metre, chords (four notes each, lowest first,
// one per bar), the melody's scale and how busy it is, its instruments and
// how it sits in the stereo field.
// A chord: four MIDI notes, lowest first.
using Chord = std::array<int, 4>;
// A track's chords, one per bar, played through twice.
using Chords = std::array<Chord, 8>;
// The melody's notes, MIDI, lowest first.
using Scale = std::array<int, 10>;

struct Style {
    const char* name;
    double tempo;    // beats per minute
    int beatsPerBar; // 4, or 3 for a waltz
    Chords chords;
    Scale scale;
    Voice melody;
    Voice accompaniment;
    int stepsPerBeat;  // melody grid: 2 eighths, 3 triplets, 4 sixteenths
    double restChance; // 0..1: how often a melody step is silent
    double padLevel;
    double bassLevel;
    double pan; // melody's side: -1 left .. 1 right
    std::uint32_t seed;
};

// A track being mixed. Every note of an instrument at a pitch sounds the
// same, so each is rendered once and mixed in wherever it plays.
class Track {
public:
    explicit Track(double seconds)
        : left_(samplesFor(seconds + 4.0)), right_(samplesFor(seconds + 4.0)),
          loop_(samplesFor(seconds)) {}

    // A note of `voice` at `start` seconds; `length` is the time to the next
    // note, which shortens a mallet's ring.
    void note(Voice voice, double start, int midi, double gain, double pan, double length) {
        const int ms =
            voice == Voice::Mallet ? static_cast<int>(std::min(length + 0.6, 1.4) * 1000) : 0;
        const auto key = std::make_tuple(static_cast<int>(voice), midi, ms);
        auto found = notes_.find(key);
        if (found == notes_.end()) {
            found =
                notes_.emplace(key, render(voice, noteFrequency(midi), ms / 1000.0, midi)).first;
        }
        const std::vector<float>& sound = found->second;
        const std::size_t first = samplesFor(start);
        const auto l = static_cast<float>(gain * (1.0 - 0.5 * pan));
        const auto r = static_cast<float>(gain * (1.0 + 0.5 * pan));
        for (std::size_t i = 0; i < sound.size() && first + i < left_.size(); ++i) {
            left_[first + i] += sound[i] * l;
            right_[first + i] += sound[i] * r;
        }
    }

    // A soft pad chord swelling over `length` seconds, a little wider than
    // the middle: each side slightly detuned.
    void pad(double start, double length, const std::array<int, 4>& chord, double gain) {
        auto found = pads_.find(chord);
        if (found == pads_.end()) {
            found = pads_.emplace(chord, renderPad(length, chord)).first;
        }
        const std::vector<float>& sound = found->second;
        const std::size_t first = samplesFor(start);
        for (std::size_t i = 0; 2 * i + 1 < sound.size() && first + i < left_.size(); ++i) {
            left_[first + i] += static_cast<float>(sound[2 * i] * gain);
            right_[first + i] += static_cast<float>(sound[2 * i + 1] * gain);
        }
    }

    // A round bass note.
    void bass(double start, double length, int midi, double gain) {
        const double frequency = noteFrequency(midi);
        const std::size_t first = samplesFor(start);
        for (std::size_t i = 0; i < samplesFor(length) && first + i < left_.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const double s = (sine()(frequency * t) + 0.25 * sine()(2 * frequency * t)) *
                             std::exp(-t * 1.8) * std::min(1.0, t * 200.0) *
                             std::min(1.0, (length - t) * 40.0) * gain;
            left_[first + i] += static_cast<float>(s);
            right_[first + i] += static_cast<float>(s);
        }
    }

    // Reverb, the tail folded onto the start, and interleaved stereo out.
    std::vector<float> finish() {
        reverb(left_, 1553, 2213);
        reverb(right_, 1747, 2459);
        std::vector<float> out(loop_ * 2);
        for (std::size_t i = 0; i < loop_; ++i) {
            float l = left_[i];
            float r = right_[i];
            if (i + loop_ < left_.size()) {
                l += left_[i + loop_];
                r += right_[i + loop_];
            }
            out[2 * i] = l;
            out[2 * i + 1] = r;
        }
        normalise(out, 0.7);
        return out;
    }

private:
    static std::vector<float> render(Voice voice, double frequency, double length, int midi) {
        switch (voice) {
        case Voice::Pluck:
        case Voice::Harp:
            return pluck(frequency, voice == Voice::Harp ? 0.998 : 0.994,
                         5000U + static_cast<std::uint32_t>(midi));
        case Voice::Mallet:
            return partials(frequency, {{{1.0, 1.0}, {3.93, 0.35}, {9.2, 0.08}}}, 7.0, length);
        case Voice::Bell:
            break;
        }
        return partials(frequency, {{{1.0, 1.0}, {2.76, 0.3}, {5.4, 0.1}}}, 2.6, 2.5);
    }

    // A Karplus-Strong string: warm, its excitation smoothed.
    static std::vector<float> pluck(double frequency, double damping, std::uint32_t seed) {
        const auto period =
            std::max<std::size_t>(2, static_cast<std::size_t>(sampleRate / frequency));
        std::vector<double> line(period);
        Noise excite(seed);
        double smooth = 0;
        for (double& v : line) {
            smooth += (excite.next() - smooth) * 0.45;
            v = smooth * 1.8;
        }
        std::vector<float> out(samplesFor(1.8));
        std::size_t position = 0;
        double previous = 0;
        for (float& sample : out) {
            const double current = line[position];
            line[position] = 0.5 * (current + previous) * damping;
            previous = current;
            position = position + 1 == period ? 0 : position + 1;
            sample = static_cast<float>(current);
        }
        return out;
    }

    static std::vector<float> partials(double frequency,
                                       const std::array<std::pair<double, double>, 3>& ratios,
                                       double decay, double length) {
        std::vector<float> out(samplesFor(length));
        for (std::size_t i = 0; i < out.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            double s = 0;
            for (const auto& [ratio, level] : ratios) {
                s += sine()(frequency * ratio * t) * level *
                     std::exp(-t * decay * (0.5 + ratio * 0.5));
            }
            out[i] = static_cast<float>(s * std::min(1.0, t * 500.0));
        }
        return out;
    }

    static std::vector<float> renderPad(double length, const std::array<int, 4>& chord) {
        const std::size_t count = samplesFor(length + 1.2);
        std::vector<float> out(count * 2);
        for (std::size_t n = 0; n < chord.size(); ++n) {
            const double frequency = noteFrequency(chord[n] + (n == 0 ? 12 : 0));
            const double level = n == 0 ? 1.2 : 0.8;
            for (std::size_t i = 0; i < count; ++i) {
                const double t = static_cast<double>(i) / sampleRate;
                const double envelope =
                    std::min(1.0, t / 0.8) * (t > length ? std::exp(-(t - length) * 4.0) : 1.0);
                const double l =
                    sine()(frequency * t * 1.0012) + 0.25 * sine()(frequency * 2.0024 * t);
                const double r =
                    sine()(frequency * t * 0.9988) + 0.25 * sine()(frequency * 1.9976 * t);
                out[2 * i] += static_cast<float>(l * level * envelope);
                out[2 * i + 1] += static_cast<float>(r * level * envelope);
            }
        }
        return out;
    }

    static void reverb(std::vector<float>& channel, std::size_t a, std::size_t b) {
        std::vector<float> wet(channel.size());
        for (std::size_t i = 0; i < channel.size(); ++i) {
            float v = channel[i];
            if (i >= a) {
                v += wet[i - a] * 0.36F;
            }
            if (i >= b) {
                v += wet[i - b] * 0.28F;
            }
            wet[i] = v * 0.9F;
        }
        for (std::size_t i = 0; i < channel.size(); ++i) {
            channel[i] = channel[i] * 0.78F + wet[i] * 0.28F;
        }
    }

    std::vector<float> left_;
    std::vector<float> right_;
    std::size_t loop_;
    std::map<std::tuple<int, int, int>, std::vector<float>> notes_;
    std::map<std::array<int, 4>, std::vector<float>> pads_;
};

// Each track's chords, one a bar.

// Classic: an unhurried plucked zither over a warm pad in G, 4/4.
constexpr Chords kClassicChords{Chord{43, 59, 62, 66}, Chord{40, 55, 59, 62}, Chord{36, 55, 60, 64},
                                Chord{38, 54, 57, 62}, Chord{43, 59, 62, 66}, Chord{40, 55, 59, 64},
                                Chord{36, 55, 60, 64}, Chord{38, 54, 57, 60}};

// FreeCell: brisk wooden mallets in A minor, sixteenth-note runs.
constexpr Chords kFreecellChords{
    Chord{45, 60, 64, 67}, Chord{41, 60, 65, 69}, Chord{43, 59, 62, 67}, Chord{40, 59, 64, 67},
    Chord{45, 60, 64, 69}, Chord{38, 57, 62, 65}, Chord{40, 59, 62, 64}, Chord{40, 56, 59, 64}};

// Split: a zither and a bell answering each other across the room, E minor.
constexpr Chords kSplitChords{Chord{40, 59, 64, 67}, Chord{36, 55, 60, 64}, Chord{38, 57, 62, 66},
                              Chord{35, 54, 59, 62}, Chord{40, 59, 64, 67}, Chord{36, 57, 60, 64},
                              Chord{43, 59, 62, 67}, Chord{35, 54, 57, 63}};

// Triple: a waltz in F, mallets on the melody and a plucked oom-pah.
constexpr Chords kTripleChords{Chord{41, 57, 60, 65}, Chord{46, 58, 62, 65}, Chord{36, 55, 58, 64},
                               Chord{41, 57, 60, 65}, Chord{38, 57, 62, 65}, Chord{46, 58, 62, 67},
                               Chord{36, 55, 60, 64}, Chord{36, 55, 58, 64}};

// River: a harp rolling like water under a slow bell melody in D.
constexpr Chords kRiverChords{Chord{38, 57, 62, 66}, Chord{43, 59, 62, 67}, Chord{35, 54, 59, 62},
                              Chord{45, 57, 61, 64}, Chord{38, 57, 62, 66}, Chord{43, 62, 66, 71},
                              Chord{40, 59, 62, 67}, Chord{45, 57, 61, 67}};

// The game's music: one track for each game type, in the chords above.
constexpr std::array<Style, 5> kStyles{{
    {"game_classic", 72.0, 4, kClassicChords, Scale{62, 64, 67, 69, 71, 74, 76, 79, 81, 83},
     Voice::Pluck, Voice::Bell, 2, 0.3, 0.03, 0.17, 0.3, 4101U},
    {"game_freecell", 104.0, 4, kFreecellChords, Scale{69, 72, 74, 76, 79, 81, 84, 86, 88, 91},
     Voice::Mallet, Voice::Pluck, 4, 0.45, 0.022, 0.15, -0.35, 4102U},
    {"game_split", 92.0, 4, kSplitChords, Scale{64, 66, 67, 71, 74, 76, 78, 79, 83, 86},
     Voice::Bell, Voice::Pluck, 2, 0.4, 0.025, 0.16, 0.8, 4103U},
    {"game_triple", 120.0, 3, kTripleChords, Scale{65, 67, 69, 72, 74, 77, 79, 81, 84, 86},
     Voice::Mallet, Voice::Pluck, 2, 0.25, 0.025, 0.17, 0.25, 4104U},
    {"game_river", 68.0, 4, kRiverChords, Scale{62, 64, 66, 69, 71, 74, 76, 78, 81, 83},
     Voice::Bell, Voice::Harp, 1, 0.25, 0.035, 0.15, 0.2, 4105U},
}};

std::vector<float> renderStyle(const Style& style) {
    const double beat = 60.0 / style.tempo;
    const double bar = beat * style.beatsPerBar;
    // Whole rounds of the eight chords, at least 26 seconds in all.
    const int bars = 8 * static_cast<int>(std::ceil(26.0 / (8 * bar)));
    Track track(bars * bar);
    Noise choice(style.seed);
    int degree = 4;
    for (int b = 0; b < bars; ++b) {
        const std::array<int, 4>& chord = style.chords[static_cast<std::size_t>(b % 8)];
        const double start = b * bar;
        track.pad(start, bar, chord, style.padLevel);
        // The bass: the root on the first beat, the fifth later in the bar.
        track.bass(start, beat * 1.9, chord[0] - 12, style.bassLevel);
        if (style.beatsPerBar == 4) {
            track.bass(start + 2 * beat, beat * 1.9, chord[0] - 5, style.bassLevel * 0.8);
        }
        // The accompaniment: the chord broken upward, one note per beat
        // (or per half beat for the flowing styles), on the other side.
        const int perBeat = style.accompaniment == Voice::Harp ? 2 : 1;
        for (int k = 0; k < style.beatsPerBar * perBeat; ++k) {
            const int index =
                style.accompaniment == Voice::Harp ? (k % 6 < 4 ? k % 6 : 6 - k % 6) : 1 + k % 3;
            const double at = start + k * beat / perBeat;
            track.note(style.accompaniment, at, chord[static_cast<std::size_t>(index)] + 12,
                       k == 0 ? 0.09 : 0.065, -style.pan * 0.6, beat / perBeat);
        }
        // The melody: a walk on the scale, leaning on the chord, breathing at
        // the end of every second bar.
        const int steps = style.beatsPerBar * style.stepsPerBeat;
        for (int k = 0; k < steps; ++k) {
            if (b % 2 == 1 && k >= steps - style.stepsPerBeat * 2 + 1) {
                continue;
            }
            if ((choice.next() + 1.0) * 0.5 < style.restChance) {
                continue;
            }
            const double step = choice.next();
            degree += step < -0.45 ? -1 : (step > 0.45 ? 1 : 0);
            if (step > 0.88) {
                degree += 1;
            }
            degree = std::clamp(degree, 1, static_cast<int>(style.scale.size()) - 1);
            const bool strong = k % style.stepsPerBeat == 0;
            const double at = start + k * beat / style.stepsPerBeat;
            track.note(style.melody, at, style.scale[static_cast<std::size_t>(degree)],
                       strong ? 0.17 : 0.12, style.pan, beat / style.stepsPerBeat);
        }
    }
    return track.finish();
}

} // namespace

std::vector<SoundEffect> synthesisePlayingEffects() {
    return makeEffects();
}

void addPlayingSounds(MediaSet& media) {
    for (const SoundEffect& effect : synthesisePlayingEffects()) {
        media.add("media/sounds/" + effect.name + ".wav", encodeWav(effect.samples));
    }
    const std::vector<MusicTrack> tracks = synthesiseGameMusic();
    std::vector<std::future<Bytes>> encoded;
    encoded.reserve(tracks.size());
    for (const MusicTrack& track : tracks) {
        encoded.push_back(std::async(std::launch::async,
                                     [&track] { return encodeVorbis(track.samples, 0.05F); }));
    }
    for (std::size_t k = 0; k < tracks.size(); ++k) {
        media.add("media/music/" + tracks[k].name + ".ogg", encoded[k].get());
    }
}

std::vector<MusicTrack> synthesiseGameMusic() {
    // The tracks are independent: render them side by side.
    std::vector<std::future<std::vector<float>>> pending;
    pending.reserve(kStyles.size());
    for (const Style& style : kStyles) {
        pending.push_back(std::async(std::launch::async, [&style] { return renderStyle(style); }));
    }
    std::vector<MusicTrack> tracks;
    for (std::size_t k = 0; k < kStyles.size(); ++k) {
        tracks.push_back({kStyles[k].name, pending[k].get()});
    }
    return tracks;
}

std::vector<float> synthesiseElevatorMusic() {
    // A lounge tune in F for the ride: a soft bell melody over a rolling harp
    // and a walking pad, unhurried, at 84 bpm.
    const Style elevator{"elevator",
                         84.0,
                         4,
                         {{{41, 57, 60, 64},
                           {38, 57, 60, 65},
                           {43, 58, 62, 65},
                           {36, 58, 60, 64},
                           {41, 57, 60, 64},
                           {46, 57, 62, 65},
                           {43, 58, 62, 65},
                           {36, 55, 58, 64}}},
                         {65, 67, 69, 72, 74, 77, 79, 81, 84, 86},
                         Voice::Bell,
                         Voice::Harp,
                         2,
                         0.5,
                         0.03,
                         0.16,
                         0.4,
                         4201U};
    return renderStyle(elevator);
}

} // namespace orv::media
