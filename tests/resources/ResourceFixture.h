#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

/// A temporary folder that is the current folder while the object lives, so
/// resource files named relative to the program's folder are found in it.
class CurrentFolderFixture {
public:
    CurrentFolderFixture();
    CurrentFolderFixture(const CurrentFolderFixture&) = delete;
    CurrentFolderFixture& operator=(const CurrentFolderFixture&) = delete;
    ~CurrentFolderFixture();

    /// Writes `bytes` to `name` inside the folder, creating folders.
    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    void write(const std::string& name, const std::string& text) const;

private:
    TempDir folder_;
    std::filesystem::path previous_;
};

/// A PNG of `width` × 1 RGBA pixels given as {R, G, B, A} bytes in a row.
[[nodiscard]] std::vector<std::uint8_t> rgbaRowPng(const std::vector<std::uint8_t>& rgba);
/// A PNG of grey pixels in one row.
[[nodiscard]] std::vector<std::uint8_t> greyRowPng(const std::vector<std::uint8_t>& grey);

} // namespace orv::test
