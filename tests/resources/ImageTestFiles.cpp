#include "tests/resources/ImageTestFiles.h"

#include <png.h>

#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>

namespace orv::test {

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp /*png*/) {}

// A fixture libpng refuses to write is a mistake in the test itself.
[[noreturn]] void onWriteError(png_structp /*png*/, png_const_charp message) {
    std::fprintf(stderr, "libpng could not write a test fixture: %s\n", message);
    std::abort();
}

int samplesPerPixel(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

} // namespace

std::vector<std::uint8_t> writePng(const PngSpec& spec) {
    std::vector<std::uint8_t> out;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onWriteError, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToVector, flushNothing);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < spec.palette.size(); i += 3) {
        palette.push_back(png_color{spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    }
    if (!palette.empty()) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    png_color_16 key{};
    if (!spec.transparency.empty()) {
        if (spec.colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, spec.transparency.data(),
                         static_cast<int>(spec.transparency.size()), nullptr);
        } else {
            key.gray = spec.transparency[0];
            key.red = spec.transparency[0];
            key.green = spec.transparency.size() > 1 ? spec.transparency[1] : 0;
            key.blue = spec.transparency.size() > 2 ? spec.transparency[2] : 0;
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
    }
    png_write_info(png, info);
    const std::size_t rowBits =
        static_cast<std::size_t>(spec.width) * samplesPerPixel(spec.colourType) * spec.bitDepth;
    const std::size_t rowBytes = (rowBits + 7) / 8;
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> samples = spec.samples;
    samples.resize(rowBytes * spec.height);
    for (int y = 0; y < spec.height; ++y) {
        rows.push_back(samples.data() + y * rowBytes);
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::uint8_t> writeJpeg(int width, int height, JpegKind kind,
                                    const std::vector<std::uint8_t>& samples, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    switch (kind) {
    case JpegKind::Rgb:
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        break;
    case JpegKind::Grey:
        info.input_components = 1;
        info.in_color_space = JCS_GRAYSCALE;
        break;
    case JpegKind::Cmyk:
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        break;
    }
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * info.input_components;
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<std::uint8_t> writeJpegWithManyScans(int width, int height) {
    std::vector<jpeg_scan_info> scans;
    scans.push_back(jpeg_scan_info{1, {0, 0, 0, 0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k) {
        scans.push_back(jpeg_scan_info{1, {0, 0, 0, 0}, k, k, 0, 4});
        for (int bit = 4; bit > 0; --bit) {
            scans.push_back(jpeg_scan_info{1, {0, 0, 0, 0}, k, k, bit, bit - 1});
        }
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    info.scan_info = scans.data();
    info.num_scans = static_cast<int>(scans.size());
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width));
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x)] =
                static_cast<std::uint8_t>(x * 9 + info.next_scanline * 5);
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<std::uint8_t> uniformSamples(int width, int height,
                                         const std::vector<std::uint8_t>& pixel) {
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(width) * height * pixel.size());
    for (int i = 0; i < width * height; ++i) {
        out.insert(out.end(), pixel.begin(), pixel.end());
    }
    return out;
}

} // namespace orv::test
