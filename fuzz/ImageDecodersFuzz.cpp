// Fuzz entry point of the image decoders. Linked into images_tests, which
// drives it over mutated fixtures, and, with clang, into a libFuzzer binary:
//   cmake -DCMAKE_CXX_COMPILER=clang++ ... && ./image_decoders_fuzzer corpus/
#include "engine/resources/ImageDecoders.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (unsigned flags : {0U, orv::kDecodeMaskOnly, orv::kDecodeAlphaFromGrey}) {
        orv::RefPtr<orv::Image> png = orv::decodePngMemory(bytes, flags);
        if (png && png->lock()) {
            png->unlock();
        }
    }
    orv::RefPtr<orv::Image> jpeg = orv::decodeJpeg(bytes);
    if (jpeg && jpeg->lock()) {
        jpeg->unlock();
    }
    return 0;
}
