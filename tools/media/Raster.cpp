#include "tools/media/Raster.h"

#include "tools/media/Fail.h"

#include <cstdlib>
#include <string>

#include <cstdio>
#include <jpeglib.h>
#include <png.h>

namespace orv::media {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp /*png*/) {}

[[noreturn]] void pngError(png_structp /*png*/, png_const_charp message) {
    fail(std::string("libpng: ") + message);
}

void pngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Writes rows with libpng into memory. No time chunk and no text chunks are
// written, so the bytes depend on the pixels alone.
Bytes writePng(int width, int height, int colorType, int channels,
               const std::vector<std::uint8_t>& rows) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (png == nullptr) {
        fail("libpng: cannot create the writer");
    }
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rows.data() + stride * static_cast<std::size_t>(y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace

Bytes encodePngGrey(const GreyImage& image) {
    return writePng(image.width, image.height, PNG_COLOR_TYPE_GRAY, 1, image.pixels);
}

Bytes encodePngColor(const ColorImage& image) {
    const bool opaque = image.isOpaque();
    const int channels = opaque ? 3 : 4;
    std::vector<std::uint8_t> rows;
    rows.reserve(image.pixels.size() * channels);
    for (const std::uint32_t p : image.pixels) {
        rows.push_back(static_cast<std::uint8_t>(p >> 16));
        rows.push_back(static_cast<std::uint8_t>(p >> 8));
        rows.push_back(static_cast<std::uint8_t>(p));
        if (!opaque) {
            rows.push_back(static_cast<std::uint8_t>(p >> 24));
        }
    }
    return writePng(image.width, image.height, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA,
                    channels, rows);
}

Bytes encodeJpeg(const ColorImage& image, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jerr.error_exit = [](j_common_ptr common) {
        char message[JMSG_LENGTH_MAX];
        (*common->err->format_message)(common, message);
        fail(std::string("libjpeg: ") + message);
    };
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.at(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(p >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(p >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(p);
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&cinfo, &rowPointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer); // NOLINT(cppcoreguidelines-no-malloc): libjpeg's own block
    return out;
}

} // namespace orv::media
