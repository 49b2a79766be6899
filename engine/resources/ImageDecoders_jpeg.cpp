#include "engine/core/Log.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ImageDecodeSink.h"
#include "engine/resources/ImageDecoders.h"
#include "engine/resources/MemoryBuffer.h"

// libjpeg's header needs the standard types declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs: the warning codes and WARNMS.
#include <jerror.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace orv {

namespace {

// libjpeg forbids an error exit that returns: ours jumps back to the setjmp of
// the phase that was running. The phases hold no C++ object with a destructor;
// what they fill lives in the caller's frame, which the jump does not cross.

struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void onJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void onJpegMessage(j_common_ptr /*info*/) {}

// A source over a block of memory. Past the end it hands libjpeg an end
// marker, so a file cut short ends its picture cleanly; a skip never moves
// beyond the bytes left.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr /*info*/) {}

boolean fillInput(j_decompress_ptr info) {
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = sizeof(kEndOfImage);
    return TRUE;
}

void skipInput(j_decompress_ptr info, long count) {
    if (count <= 0) {
        return;
    }
    jpeg_source_mgr* source = info->src;
    const auto wanted = static_cast<unsigned long>(count);
    if (wanted > source->bytes_in_buffer) {
        source->next_input_byte += source->bytes_in_buffer;
        source->bytes_in_buffer = 0;
        return;
    }
    source->next_input_byte += wanted;
    source->bytes_in_buffer -= wanted;
}

void termSource(j_decompress_ptr /*info*/) {}

// A progressive picture needs a handful of scans; a hostile one can declare
// thousands, each a full pass over the picture. Beyond this many the file is
// refused.
constexpr int kMaxJpegScans = 256;

void watchProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        info->err->msg_code = JERR_NOTIMPL;
        (*info->err->error_exit)(info);
    }
}

struct JpegDecoder {
    jpeg_decompress_struct info{};
    JpegErrors errors;
    jpeg_source_mgr source{};
    jpeg_progress_mgr progress{};
    JpegDecoder() = default;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    // Safe also when creation failed half-way (no memory manager yet).
    ~JpegDecoder() { jpeg_destroy_decompress(&info); }
};

constexpr long kMaxJpegWorkBytes = 256L * 1024 * 1024;

// Huffman-coded picture data spends at least one bit on every 8 x 8 block of
// a component at full resolution (a DC code, and an end-of-block code after
// it in sequential files), so each byte of the file holds at most 512 pixels.
// A file may claim twice that, to spare truncated files; a header that claims
// more has no data for its picture. Arithmetic coding can go below a bit a
// block, so its files are bound only by kMaxDecodedPixels.
constexpr std::uint64_t kMaxJpegPixelsPerByte = 1024;

bool isInkColourSpace(J_COLOR_SPACE space) {
    return space == JCS_CMYK || space == JCS_YCCK;
}

// Creates the decompressor and reads the header; refuses oversized pictures
// before libjpeg allocates anything for them.
bool startJpeg(JpegDecoder& decoder, std::span<const std::uint8_t> data) {
    jpeg_decompress_struct& info = decoder.info;
    info.err = jpeg_std_error(&decoder.errors.manager);
    decoder.errors.manager.error_exit = onJpegError;
    decoder.errors.manager.output_message = onJpegMessage;
    if (setjmp(decoder.errors.jump)) {
        return false;
    }
    jpeg_create_decompress(&info);
    // Bounds what a hostile progressive file can make libjpeg allocate.
    info.mem->max_memory_to_use = kMaxJpegWorkBytes;
    decoder.source.init_source = initSource;
    decoder.source.fill_input_buffer = fillInput;
    decoder.source.skip_input_data = skipInput;
    decoder.source.resync_to_restart = jpeg_resync_to_restart;
    decoder.source.term_source = termSource;
    decoder.source.next_input_byte = data.data();
    decoder.source.bytes_in_buffer = data.size();
    info.src = &decoder.source;
    decoder.progress.progress_monitor = watchProgress;
    info.progress = &decoder.progress;
    jpeg_read_header(&info, TRUE);
    const std::uint64_t pixels = std::uint64_t{info.image_width} * info.image_height;
    if (info.image_width > static_cast<JDIMENSION>(kMaxImageSide) ||
        info.image_height > static_cast<JDIMENSION>(kMaxImageSide) || pixels > kMaxDecodedPixels) {
        std::strncpy(decoder.errors.message, "picture too large", JMSG_LENGTH_MAX - 1);
        return false;
    }
    if (info.arith_code == FALSE && pixels > data.size() * kMaxJpegPixelsPerByte) {
        std::strncpy(decoder.errors.message, "picture larger than its data can hold",
                     JMSG_LENGTH_MAX - 1);
        return false;
    }
    // Grey, YCbCr and RGB pictures come out as R, G, B; CMYK and YCCK ones as
    // C, M, Y, K, which libjpeg cannot turn into RGB itself.
    info.out_color_space = isInkColourSpace(info.jpeg_color_space) ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int expected = info.out_color_space == JCS_CMYK ? 4 : 3;
    if (info.output_components != expected) {
        std::strncpy(decoder.errors.message, "unexpected output layout", JMSG_LENGTH_MAX - 1);
        return false;
    }
    return true;
}

// One scanline of C, M, Y, K (or R, G, B) into R, G, B, A. Adobe's files store
// the inks inverted (255 means no ink).
void toRgba(const std::uint8_t* in, std::uint8_t* out, int width, bool cmyk, bool inverted) {
    for (int x = 0; x < width; ++x) {
        if (cmyk) {
            const std::uint8_t* p = in + static_cast<std::ptrdiff_t>(x) * 4;
            const unsigned k = inverted ? p[3] : 255U - p[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned ink = inverted ? p[c] : 255U - p[c];
                out[x * 4 + c] = static_cast<std::uint8_t>((ink * k + 127U) / 255U);
            }
        } else {
            std::memcpy(out + static_cast<std::ptrdiff_t>(x) * 4,
                        in + static_cast<std::ptrdiff_t>(x) * 3, 3);
        }
        out[x * 4 + 3] = 0xFF;
    }
}

bool readJpegRows(JpegDecoder& decoder, std::uint8_t* scanline, std::uint8_t* rgba,
                  ImageDecodeSink& sink) {
    jpeg_decompress_struct& info = decoder.info;
    if (setjmp(decoder.errors.jump)) {
        return false;
    }
    const bool cmyk = info.out_color_space == JCS_CMYK;
    const bool inverted = info.saw_Adobe_marker != 0;
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<int>(info.output_scanline);
        JSAMPROW row = scanline;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            std::strncpy(decoder.errors.message, "no scanline", JMSG_LENGTH_MAX - 1);
            return false;
        }
        toRgba(scanline, rgba, static_cast<int>(info.output_width), cmyk, inverted);
        sink.writeRow(y, rgba);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

RefPtr<Image> decodeJpeg(std::span<const std::uint8_t> data, unsigned flags) {
    if (data.empty()) {
        return nullptr;
    }
    JpegDecoder decoder;
    if (!startJpeg(decoder, data)) {
        logWarning(std::string("JPEG: unreadable header: ") + decoder.errors.message);
        return nullptr;
    }
    const jpeg_decompress_struct& info = decoder.info;
    const auto width = static_cast<int>(info.output_width);
    const auto height = static_cast<int>(info.output_height);
    const std::size_t scanlineBytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(info.output_components);
    std::unique_ptr<std::uint8_t[]> scanline(new (std::nothrow) std::uint8_t[scanlineBytes]);
    std::unique_ptr<std::uint8_t[]> rgba(new (std::nothrow)
                                             std::uint8_t[static_cast<std::size_t>(width) * 4]);
    ImageDecodeSink sink(flags & kDecodeDeferDisplayFormat, false);
    if (scanline == nullptr || rgba == nullptr || !sink.begin(width, height)) {
        logError("JPEG: out of memory for " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels");
        return nullptr;
    }
    if (!readJpegRows(decoder, scanline.get(), rgba.get(), sink)) {
        logWarning(std::string("JPEG: broken picture data: ") + decoder.errors.message);
        return nullptr;
    }
    return sink.finish();
}

RefPtr<Image> loadJpeg(const std::string& path, bool useArchive) {
    if (useArchive && FileArchive::hasArchive() &&
        FileArchive::getGlobalMode() != ArchiveMode::File) {
        MemoryBuffer buffer;
        if (!FileArchive::readFile(path, buffer, ArchiveMode::Global)) {
            logWarning("JPEG: cannot read " + path);
            return nullptr;
        }
        return decodeJpeg({buffer.getData(), buffer.getSize()});
    }
    std::vector<std::uint8_t> content;
    if (!readImageFile(path, content)) {
        return nullptr;
    }
    return decodeJpeg(content);
}

} // namespace orv
