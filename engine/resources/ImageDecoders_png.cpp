#include "engine/core/Log.h"
#include "engine/resources/ImageDecodeSink.h"
#include "engine/resources/ImageDecoders.h"

#include <png.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace orv {

namespace {

// libpng reports errors by calling our error function, which must not return:
// it jumps back to the setjmp of the phase that was running. The phases below
// therefore hold no C++ object with a destructor, and everything they fill
// lives in the caller's frame, which the jump does not cross.

struct PngInput {
    std::span<const std::uint8_t> data;
    std::size_t position = 0;
    char message[128] = {};
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->data.size() - input->position) {
        png_error(png, "data ends early");
    }
    std::memcpy(out, input->data.data() + input->position, length);
    input->position += length;
}

void onPngError(png_structp png, png_const_charp message) {
    auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
    std::strncpy(input->message, message, sizeof(input->message) - 1);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

struct PngReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngReadStructs(const PngReadStructs&) = delete;
    PngReadStructs& operator=(const PngReadStructs&) = delete;
    explicit PngReadStructs(PngInput& input) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, onPngError, onPngWarning);
        if (png != nullptr) {
            info = png_create_info_struct(png);
        }
    }
    ~PngReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
};

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int colourType = 0;
    png_size_t rowBytes = 0;
    // Bytes of filtered picture data as stored (before expansion), at least.
    std::uint64_t storedBytes = 0;
};

// The most deflate can expand its input (a run of one repeated byte), with
// room to spare.
constexpr std::uint64_t kMaxInflateRatio = 1100;

// Reads the header and asks libpng to expand every colour type and depth to
// 8-bit R, G, B, A rows.
bool readPngHeader(png_structp png, png_infop info, PngHeader& header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    header.width = png_get_image_width(png, info);
    header.height = png_get_image_height(png, info);
    header.colourType = png_get_color_type(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    header.storedBytes = std::uint64_t{header.height} * (png_get_rowbytes(png, info) + 1);
    png_set_expand(png); // palette to RGB, grey to 8 bits, tRNS to an alpha channel
    png_set_strip_16(png);
    if ((header.colourType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    if ((header.colourType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    header.rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool readPngRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

} // namespace

bool isPngSignature(std::span<const std::uint8_t> data) {
    static constexpr std::uint8_t kSignature[4] = {0x89, 'P', 'N', 'G'};
    return data.size() >= 4 && std::memcmp(data.data(), kSignature, 4) == 0;
}

RefPtr<Image> decodePngMemory(std::span<const std::uint8_t> data, unsigned flags) {
    if (!isPngSignature(data)) {
        return nullptr;
    }
    PngInput input{data};
    PngReadStructs structs(input);
    if (structs.info == nullptr) {
        logError("PNG: cannot create the decoder");
        return nullptr;
    }
    png_set_read_fn(structs.png, &input, readFromMemory);

    PngHeader header;
    if (!readPngHeader(structs.png, structs.info, header)) {
        logWarning(std::string("PNG: unreadable header: ") + input.message);
        return nullptr;
    }
    // A small file that claims a huge picture is refused before the memory
    // for it is taken: its remaining bytes could never inflate to that much.
    const std::uint64_t remaining = data.size() - input.position;
    if (std::uint64_t{header.width} * header.height > kMaxDecodedPixels) {
        logWarning("PNG: " + std::to_string(header.width) + " x " + std::to_string(header.height) +
                   " pixels are more than a picture may have");
        return nullptr;
    }
    if (header.storedBytes > remaining * kMaxInflateRatio) {
        logWarning("PNG: " + std::to_string(header.width) + " x " + std::to_string(header.height) +
                   " pixels cannot come from " + std::to_string(remaining) + " bytes");
        return nullptr;
    }
    const auto width = static_cast<int>(header.width);
    const auto height = static_cast<int>(header.height);
    if (header.rowBytes != static_cast<png_size_t>(width) * 4) {
        logWarning("PNG: unexpected row layout");
        return nullptr;
    }
    const std::size_t bytes = header.rowBytes * header.height;
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[bytes]);
    std::unique_ptr<png_bytep[]> rows(new (std::nothrow) png_bytep[header.height]);
    if (pixels == nullptr || rows == nullptr) {
        logError("PNG: out of memory for " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels");
        return nullptr;
    }
    for (png_uint_32 y = 0; y < header.height; ++y) {
        rows[y] = pixels.get() + y * header.rowBytes;
    }
    if (!readPngRows(structs.png, structs.info, rows.get())) {
        logWarning(std::string("PNG: broken picture data: ") + input.message);
        return nullptr;
    }

    // Only a plain grey picture (no alpha of its own) takes its alpha from grey.
    ImageDecodeSink sink(flags, header.colourType == PNG_COLOR_TYPE_GRAY);
    if (!sink.begin(width, height)) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        sink.writeRow(y, rows[y]);
    }
    return sink.finish();
}

RefPtr<Image> loadPngFile(const std::string& path, unsigned flags) {
    std::vector<std::uint8_t> content;
    if (!readImageFile(path, content)) {
        return nullptr;
    }
    return decodePngMemory(content, flags);
}

} // namespace orv
