#include "engine/resources/Compression.h"

#include <limits>

#include <zlib.h>

namespace orv {

namespace {

constexpr int kLevel = 9;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 8;

} // namespace

std::vector<std::uint8_t> compressBuffer(std::span<const std::uint8_t> input) {
    if (input.empty() || input.size() > std::numeric_limits<uInt>::max()) {
        return {};
    }
    z_stream stream{};
    if (deflateInit2(&stream, kLevel, Z_DEFLATED, kWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        return {};
    }
    // The output may be no larger than the input: compression that does not
    // pay is reported as failure and the caller keeps the raw data.
    std::vector<std::uint8_t> output(input.size());
    stream.next_in = const_cast<Bytef*>(input.data()); // zlib's API is not const-correct
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = output.data();
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = deflate(&stream, Z_FINISH);
    const auto written = static_cast<std::size_t>(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        return {};
    }
    output.resize(written);
    output.shrink_to_fit();
    return output;
}

std::optional<std::vector<std::uint8_t>> uncompressBuffer(std::span<const std::uint8_t> input,
                                                          std::size_t outputSize) {
    if (input.size() > std::numeric_limits<uInt>::max() ||
        outputSize > std::numeric_limits<uInt>::max()) {
        return std::nullopt;
    }
    z_stream stream{};
    if (inflateInit2(&stream, kWindowBits) != Z_OK) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> output(outputSize);
    stream.next_in = const_cast<Bytef*>(input.data()); // zlib's API is not const-correct
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = output.data();
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = inflate(&stream, Z_FINISH);
    const auto written = static_cast<std::size_t>(stream.total_out);
    inflateEnd(&stream);
    // Only a stream that ended cleanly and filled the block exactly is data.
    if (result != Z_STREAM_END || written != outputSize) {
        return std::nullopt;
    }
    return output;
}

} // namespace orv
