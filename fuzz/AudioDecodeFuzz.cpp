// Feeds arbitrary bytes to the sample decoder, which takes WAV (through SDL)
// and Ogg Vorbis files from the game's data. Any crash, hang or sanitizer
// report is a fault: broken sound files must only ever give a null sample.

#include "engine/system/Platform.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orv::platform::AudioSamplePtr sample =
        orv::platform::decodeAudioSample(std::as_bytes(std::span(data, size)));
    if (sample != nullptr) {
        // Touch the decoded audio so a short or misallocated buffer shows.
        volatile std::int32_t sum = 0;
        for (const std::int16_t value : sample->getData()) {
            sum = sum + value;
        }
    }
    return 0;
}
