#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orv::test {

/// One entry of a zip built for a test: its stored name, its bytes, and
/// whether it is deflated (true) or stored as is.
struct ZipEntry {
    std::string name;
    std::string content;
    bool deflate = true;
};

/// Writes a zip file with `entries` to `path`; false when minizip fails.
[[nodiscard]] bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries);

/// The bytes of `text` scrambled as the scrambled access modes store them.
[[nodiscard]] std::string scrambled(std::string text);

} // namespace orv::test
