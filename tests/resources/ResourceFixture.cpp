#include "tests/resources/ResourceFixture.h"

#include "tests/resources/ImageTestFiles.h"

#include <png.h>

namespace orv::test {

CurrentFolderFixture::CurrentFolderFixture() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder_.path());
}

CurrentFolderFixture::~CurrentFolderFixture() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

void CurrentFolderFixture::write(const std::string& name,
                                 const std::vector<std::uint8_t>& bytes) const {
    writeFile(folder_.path() / name, std::string(bytes.begin(), bytes.end()));
}

void CurrentFolderFixture::write(const std::string& name, const std::string& text) const {
    writeFile(folder_.path() / name, text);
}

std::vector<std::uint8_t> rgbaRowPng(const std::vector<std::uint8_t>& rgba) {
    PngSpec spec;
    spec.width = static_cast<int>(rgba.size() / 4);
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_RGBA;
    spec.samples = rgba;
    return writePng(spec);
}

std::vector<std::uint8_t> greyRowPng(const std::vector<std::uint8_t>& grey) {
    PngSpec spec;
    spec.width = static_cast<int>(grey.size());
    spec.height = 1;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.samples = grey;
    return writePng(spec);
}

} // namespace orv::test
