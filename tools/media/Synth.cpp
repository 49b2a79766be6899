#include "tools/media/Synth.h"

#include "tools/media/Fail.h"
#include "tools/media/SynthParts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vorbis/vorbisenc.h>

namespace orv::media {

namespace {

std::size_t samplesFor(double seconds) {
    return static_cast<std::size_t>(seconds * sampleRate);
}

void normalise(std::vector<float>& samples, double peak) {
    float loudest = 0;
    for (const float s : samples) {
        loudest = std::max(loudest, std::abs(s));
    }
    if (loudest > 0) {
        const float gain = static_cast<float>(peak) / loudest;
        for (float& s : samples) {
            s *= gain;
        }
    }
}

// Two ivory tiles knocked together: a noise burst rung through the tile's
// resonances, and a short tone at the knock's pitch.
std::vector<float> knock(double pitch, double length, double brightness, std::uint32_t seed) {
    std::vector<float> out(samplesFor(length));
    Noise noise(seed);
    BandPass low(pitch, 9.0);
    BandPass high(pitch * 2.13, 12.0);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double burst = std::exp(-t * 900.0) * noise.next();
        double s = low.process(burst) * 1.0 + high.process(burst) * brightness;
        s += std::sin(2 * pi * pitch * 0.5 * t) * std::exp(-t * 60.0) * 0.25;
        out[i] = static_cast<float>(s * std::min(1.0, t * sampleRate / 20.0));
    }
    normalise(out, 0.8);
    return out;
}

// A struck bell: a few inharmonic partials, the higher ones fading faster.
void addBell(std::vector<float>& out, double start, double frequency, double gain, double decay) {
    static constexpr std::array<std::pair<double, double>, 5> partials{
        {{1.0, 1.0}, {2.01, 0.45}, {2.76, 0.25}, {4.07, 0.12}, {5.43, 0.06}}};
    const std::size_t first = samplesFor(start);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / sampleRate;
        const double attack = std::min(1.0, t * 400.0);
        double s = 0;
        for (const auto& [ratio, level] : partials) {
            s += std::sin(2 * pi * frequency * ratio * t) * level *
                 std::exp(-t * decay * (0.6 + ratio * 0.4));
        }
        out[i] += static_cast<float>(s * gain * attack);
    }
}

double noteFrequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

} // namespace

std::vector<SoundEffect> synthesiseEffects() {
    std::vector<SoundEffect> effects;
    effects.push_back({"tile_select", knock(1650, 0.12, 0.55, 101U)});
    effects.push_back({"tile_deselect", knock(1150, 0.10, 0.35, 102U)});
    {
        std::vector<float> blocked(samplesFor(0.22));
        Noise noise(103U);
        BandPass body(220, 3.0);
        double phase = 0;
        for (std::size_t i = 0; i < blocked.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const double frequency = 150 + 90 * std::exp(-t * 40.0);
            phase += 2 * pi * frequency / sampleRate;
            const double s = std::sin(phase) * std::exp(-t * 18.0) +
                             body.process(noise.next() * std::exp(-t * 120.0)) * 0.8;
            blocked[i] = static_cast<float>(s * std::min(1.0, t * 2000.0));
        }
        normalise(blocked, 0.75);
        effects.push_back({"tile_blocked", std::move(blocked)});
    }
    // A match rings two bells a fifth apart; each step of the bonus
    // multiplier (combo 1 to 10) starts one note higher on the pentatonic
    // scale, so a chain of matches climbs.
    static constexpr std::array<int, 10> comboRoots{76, 79, 81, 83, 86, 88, 91, 93, 95, 98};
    for (std::size_t k = 0; k < comboRoots.size(); ++k) {
        std::vector<float> match(samplesFor(0.9));
        const double brightness = 1.0 + 0.04 * static_cast<double>(k);
        addBell(match, 0.0, noteFrequency(comboRoots[k]), 0.5, 5.0 * brightness);
        addBell(match, 0.07, noteFrequency(comboRoots[k] + 7), 0.4, 5.5 * brightness);
        normalise(match, 0.8);
        char name[16];
        std::snprintf(name, sizeof name, "combo_%02zu", k + 1);
        effects.push_back({name, std::move(match)});
    }
    {
        // The shuffle plays as a loop while the tiles fly: a rattle of knocks
        // whose tail is folded onto its start, so it repeats without a seam.
        const std::size_t loop = samplesFor(0.72);
        std::vector<float> shuffle(loop + samplesFor(0.1));
        Noise timing(104U);
        for (int k = 0; k < 16; ++k) {
            const double start = k * 0.045 + (timing.next() + 1.0) * 0.006;
            const std::vector<float> one =
                knock(1300 + timing.next() * 300, 0.08, 0.4, 200U + static_cast<std::uint32_t>(k));
            const double gain = 0.5 + 0.3 * timing.next();
            const std::size_t first = samplesFor(start);
            for (std::size_t i = 0; i < one.size() && first + i < shuffle.size(); ++i) {
                shuffle[first + i] += static_cast<float>(one[i] * gain);
            }
        }
        for (std::size_t i = loop; i < shuffle.size(); ++i) {
            shuffle[i - loop] += shuffle[i];
        }
        shuffle.resize(loop);
        normalise(shuffle, 0.75);
        effects.push_back({"shuffle_loop", std::move(shuffle)});
    }
    // A dialog sweeps in and out like a sheet of paper: soft noise whose
    // colour rises for the opening and falls for the closing.
    for (const bool opening : {true, false}) {
        std::vector<float> swish(samplesFor(0.28));
        Noise noise(opening ? 106U : 107U);
        double phase = 0;
        for (std::size_t i = 0; i < swish.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const double u = t / 0.28;
            const double centre = opening ? 700 + 2300 * u : 3000 - 2300 * u;
            // The noise is ringed by a sine gliding with the sweep.
            phase += 2 * pi * centre / sampleRate;
            const double envelope = std::sin(pi * u) * std::sin(pi * u);
            swish[i] = static_cast<float>(noise.next() * (0.6 + 0.4 * std::sin(phase)) * envelope);
        }
        // Smooth the hiss with a gentle low-pass so it reads as paper.
        double low = 0;
        for (float& v : swish) {
            low += (v - low) * 0.25;
            v = static_cast<float>(low);
        }
        normalise(swish, 0.35);
        effects.push_back({opening ? "dialog_show" : "dialog_hide", std::move(swish)});
    }
    {
        std::vector<float> click(samplesFor(0.05));
        Noise noise(105U);
        BandPass tone(2600, 6.0);
        for (std::size_t i = 0; i < click.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            click[i] = static_cast<float>(tone.process(noise.next() * std::exp(-t * 500.0)) +
                                          std::sin(2 * pi * 1800 * t) * std::exp(-t * 150.0) * 0.3);
        }
        normalise(click, 0.6);
        effects.push_back({"button", std::move(click)});
    }
    {
        std::vector<float> over(samplesFor(0.06));
        for (std::size_t i = 0; i < over.size(); ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            over[i] = static_cast<float>(std::sin(2 * pi * 3200 * t) * std::exp(-t * 90.0) *
                                         std::min(1.0, t * 3000.0));
        }
        normalise(over, 0.25);
        effects.push_back({"button_over", std::move(over)});
    }
    {
        std::vector<float> trophy(samplesFor(1.8));
        static constexpr std::array<int, 6> notes{84, 86, 88, 91, 93, 96}; // C D E G A C
        for (std::size_t k = 0; k < notes.size(); ++k) {
            addBell(trophy, 0.09 * static_cast<double>(k), noteFrequency(notes[k]), 0.35, 3.0);
        }
        addBell(trophy, 0.6, noteFrequency(84), 0.3, 2.0);
        addBell(trophy, 0.6, noteFrequency(88), 0.25, 2.0);
        addBell(trophy, 0.6, noteFrequency(91), 0.25, 2.0);
        normalise(trophy, 0.8);
        effects.push_back({"trophy_awarded", std::move(trophy)});
    }
    return effects;
}

std::vector<float> synthesiseLobbyMusic() {
    constexpr double tempo = 84.0; // beats per minute
    constexpr double beat = 60.0 / tempo;
    constexpr int bars = 16;
    const double loopLength = bars * 4 * beat;
    const std::size_t loopSamples = samplesFor(loopLength);
    const std::size_t tailSamples = samplesFor(4.0);
    std::vector<float> left(loopSamples + tailSamples);
    std::vector<float> right(loopSamples + tailSamples);

    // Chords, two bars each (MIDI notes): Dmaj7, Bm7, Gmaj7, A6 and again,
    // the second time ending on Gmaj9 and Asus.
    static constexpr std::array<std::array<int, 4>, 8> chords{{{50, 57, 61, 66},
                                                               {47, 54, 57, 62},
                                                               {43, 50, 54, 59},
                                                               {45, 52, 54, 61},
                                                               {50, 57, 61, 66},
                                                               {47, 54, 57, 62},
                                                               {43, 50, 57, 59},
                                                               {45, 52, 55, 62}}};
    // The pad: soft saw-like tones through a slow swell, detuned between the
    // two sides for width.
    const SineTable sine;
    for (std::size_t c = 0; c < chords.size(); ++c) {
        const double start = static_cast<double>(c) * 8 * beat;
        const double length = 8 * beat;
        const std::size_t first = samplesFor(start);
        const std::size_t count = samplesFor(length + 1.5);
        for (std::size_t n = 0; n < 4; ++n) {
            const double frequency = noteFrequency(chords[c][n] + (n == 0 ? 0 : 12));
            for (std::size_t i = 0; i < count && first + i < left.size(); ++i) {
                const double t = static_cast<double>(i) / sampleRate;
                const double envelope =
                    std::min(1.0, t / 1.2) * (t > length ? std::exp(-(t - length) * 3.0) : 1.0);
                double l = 0;
                double r = 0;
                for (int h = 1; h <= 4; ++h) {
                    const double level = 1.0 / (h * h);
                    l += sine(frequency * h * t * 1.0015) * level;
                    r += sine(frequency * h * t * 0.9985) * level;
                }
                const double gain = (n == 0 ? 0.05 : 0.035) * envelope;
                left[first + i] += static_cast<float>(l * gain);
                right[first + i] += static_cast<float>(r * gain);
            }
        }
        // The bass: the chord's root, on the first and third beats of each bar.
        for (int hit = 0; hit < 4; ++hit) {
            const std::size_t at = samplesFor(start + hit * 2 * beat);
            const double frequency = noteFrequency(chords[c][0] - 12);
            for (std::size_t i = 0; i < samplesFor(2 * beat) && at + i < left.size(); ++i) {
                const double t = static_cast<double>(i) / sampleRate;
                const double s = (sine(frequency * t) + 0.3 * sine(2 * frequency * t)) *
                                 std::exp(-t * 1.6) * std::min(1.0, t * 200.0) * 0.16;
                left[at + i] += static_cast<float>(s);
                right[at + i] += static_cast<float>(s);
            }
        }
    }

    // The melody: a plucked zither (Karplus-Strong string) on the D major
    // pentatonic scale, phrases of eighth notes chosen from a fixed seed and
    // leaning on the chord tones.
    static constexpr std::array<int, 10> scale{62, 64, 66, 69, 71, 74, 76, 78, 81, 83};
    Noise choice(2026U);
    int degree = 4;
    for (int bar = 0; bar < bars; ++bar) {
        for (int eighth = 0; eighth < 8; ++eighth) {
            // Rest on the last eighths of every second bar: the phrase breathes.
            if (bar % 2 == 1 && eighth >= 5) {
                continue;
            }
            if (choice.next() < -0.55) {
                continue;
            }
            const double step = choice.next();
            degree += step < -0.4 ? -1 : (step > 0.4 ? 1 : 0);
            if (step > 0.85) {
                degree += 1;
            }
            degree = std::clamp(degree, 1, static_cast<int>(scale.size()) - 1);
            const double start = (bar * 4 + eighth * 0.5) * beat;
            const double frequency = noteFrequency(scale[static_cast<std::size_t>(degree)]);
            const auto period = static_cast<std::size_t>(sampleRate / frequency);
            std::vector<double> line(period);
            Noise excite(static_cast<std::uint32_t>(3000 + bar * 8 + eighth));
            // A soft pluck: the excitation is smoothed, so the string starts
            // warm instead of with a hiss.
            double smooth = 0;
            for (double& v : line) {
                smooth += (excite.next() - smooth) * 0.45;
                v = smooth * 1.8;
            }
            const double velocity = eighth % 2 == 0 ? 0.16 : 0.11;
            const std::size_t first = samplesFor(start);
            std::size_t position = 0;
            double previous = 0;
            for (std::size_t i = 0; i < samplesFor(2.5) && first + i < left.size(); ++i) {
                const double current = line[position];
                const double next = 0.5 * (current + previous) * 0.996;
                previous = current;
                line[position] = next;
                position = (position + 1) % period;
                const double s = current * velocity;
                left[first + i] += static_cast<float>(s * 0.8);
                right[first + i] += static_cast<float>(s * 1.1);
            }
        }
    }

    // A small hall: two damped feedback delays per side.
    const auto reverb = [](std::vector<float>& channel, std::size_t a, std::size_t b) {
        std::vector<float> wet(channel.size());
        for (std::size_t i = 0; i < channel.size(); ++i) {
            float v = channel[i];
            if (i >= a) {
                v += wet[i - a] * 0.38F;
            }
            if (i >= b) {
                v += wet[i - b] * 0.30F;
            }
            wet[i] = v * 0.9F;
        }
        for (std::size_t i = 0; i < channel.size(); ++i) {
            channel[i] = channel[i] * 0.75F + wet[i] * 0.3F;
        }
    };
    reverb(left, 1553, 2213);
    reverb(right, 1747, 2459);

    // Fold the tail onto the start so the loop joins itself.
    std::vector<float> out(loopSamples * 2);
    for (std::size_t i = 0; i < loopSamples; ++i) {
        float l = left[i];
        float r = right[i];
        if (i < tailSamples) {
            l += left[loopSamples + i];
            r += right[loopSamples + i];
        }
        out[2 * i] = l;
        out[2 * i + 1] = r;
    }
    normalise(out, 0.7);
    return out;
}

Bytes encodeWav(const std::vector<float>& raw, EffectLevel level) {
    const std::vector<float> samples = masterEffect(raw, level);
    Bytes out;
    const auto put32 = [&out](std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
        }
    };
    const auto put16 = [&out](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(36 + dataSize);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(sampleRate);
    put32(sampleRate * 2);
    put16(2);
    put16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(dataSize);
    for (const float s : samples) {
        const auto value =
            static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0F, 1.0F) * 32767.0F));
        put16(static_cast<std::uint16_t>(value));
    }
    return out;
}

Bytes encodeVorbis(const std::vector<float>& raw, float quality) {
    const std::vector<float> samples = masterMusic(raw);
    Bytes out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, sampleRate, quality) != 0) {
        vorbis_info_clear(&info);
        fail("libvorbis refuses the encoder settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Lobby");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x4F52564D); // fixed serial: the bytes repeat

    const auto writePage = [&out](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header;
    ogg_packet headerComment;
    ogg_packet headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(page);
    }

    constexpr std::size_t chunk = 4096;
    const std::size_t frames = samples.size() / 2;
    std::size_t done = 0;
    bool ended = false;
    while (!ended) {
        const std::size_t count = std::min(chunk, frames - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (std::size_t i = 0; i < count; ++i) {
                buffer[0][i] = samples[2 * (done + i)];
                buffer[1][i] = samples[2 * (done + i) + 1];
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    writePage(page);
                    if (ogg_page_eos(&page) != 0) {
                        ended = true;
                    }
                }
            }
        }
        if (count == 0) {
            ended = true;
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

} // namespace orv::media
