#pragma once

#include <filesystem>
#include <string>

namespace orv::test {

/// A fresh, empty folder for one test, removed when the object goes. It lies
/// under ORVANTA_TEST_TMP (set by the test runner) or the system's temporary
/// folder.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    /// `name` inside the folder, as a string with "/" separators.
    [[nodiscard]] std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};

/// Writes `content` to `path` (binary), creating missing folders.
void writeFile(const std::filesystem::path& path, const std::string& content);
/// The whole content of `path`, or an empty string when it cannot be read.
[[nodiscard]] std::string readFile(const std::filesystem::path& path);

} // namespace orv::test
