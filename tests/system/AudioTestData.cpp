#include "tests/system/AudioTestData.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv::test {

namespace {

void putBytes(std::vector<std::byte>& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFF));
    }
}

void putTag(std::vector<std::byte>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::byte>(tag[i]));
    }
}

void appendPage(std::vector<std::byte>& out, const ogg_page& page) {
    const auto* header = reinterpret_cast<const std::byte*>(page.header);
    const auto* body = reinterpret_cast<const std::byte*>(page.body);
    out.insert(out.end(), header, header + page.header_len);
    out.insert(out.end(), body, body + page.body_len);
}

} // namespace

std::vector<std::byte> makeWav(int bits, int channels, int rate, const std::vector<int>& values) {
    const int bytesPerValue = bits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(values.size() * bytesPerValue);
    std::vector<std::byte> out;
    putTag(out, "RIFF");
    putBytes(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putBytes(out, 16, 4);
    putBytes(out, 1, 2); // PCM
    putBytes(out, static_cast<std::uint32_t>(channels), 2);
    putBytes(out, static_cast<std::uint32_t>(rate), 4);
    putBytes(out, static_cast<std::uint32_t>(rate * channels * bytesPerValue), 4);
    putBytes(out, static_cast<std::uint32_t>(channels * bytesPerValue), 2);
    putBytes(out, static_cast<std::uint32_t>(bits), 2);
    putTag(out, "data");
    putBytes(out, dataBytes, 4);
    for (const int value : values) {
        putBytes(out, static_cast<std::uint32_t>(value), bytesPerValue);
    }
    return out;
}

std::vector<std::byte> encodeOggSine(int channels, int rate, int frames, double frequency,
                                     double amplitude) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.5F) != 0) {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::vector<std::byte> out;
    ogg_packet header;
    ogg_packet headerComment;
    ogg_packet headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(out, page);
    }

    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(out, page);
                }
            }
        }
    };

    constexpr int kChunk = 1024;
    for (int start = 0; start < frames; start += kChunk) {
        const int count = std::min(kChunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(start + i) / rate;
            const auto value =
                static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * frequency * t));
            for (int c = 0; c < channels; ++c) {
                buffer[c][i] = value;
            }
        }
        vorbis_analysis_wrote(&dsp, count);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(out, page);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

double channelRms(const std::vector<std::int16_t>& values, int channel, std::size_t firstFrame,
                  int channels) {
    const auto stride = static_cast<std::size_t>(channels);
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = stride * firstFrame + static_cast<std::size_t>(channel); i < values.size();
         i += stride) {
        sum += static_cast<double>(values[i]) * values[i];
        ++count;
    }
    return count == 0 ? 0.0 : std::sqrt(sum / static_cast<double>(count));
}

} // namespace orv::test
