#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace orv::test {

namespace {

std::filesystem::path baseFolder() {
    if (const char* root = std::getenv("ORVANTA_TEST_TMP"); root != nullptr && *root != '\0') {
        return root;
    }
    return std::filesystem::temp_directory_path();
}

} // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    // Appended piece by piece: GCC 12's optimiser misreads a chain of
    // `"t" + std::to_string(...)` as an oversized copy (-Wstringop-overflow).
    std::string name = "t";
    name.append(std::to_string(stamp)).append("-").append(std::to_string(seed()));
    name.append("-").append(std::to_string(counter++));
    path_ = baseFolder() / name;
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const {
    return (path_ / name).generic_string();
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace orv::test
