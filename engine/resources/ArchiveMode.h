#pragma once

#include <cstdint>
#include <string_view>

namespace orv {

/// Where a data file lives and whether it is stored scrambled. The values are
/// those written in resource definitions and saved data, so they never change.
enum class ArchiveMode : std::int32_t {
    /// The process-wide mode chosen by `FileArchive::setUp` (loose files when
    /// no archive was set up).
    Global = 0,
    /// A loose file on disk.
    File = 1,
    /// An entry of the archive; the loose file when the entry is missing.
    Zip = 2,
    /// A scrambled loose file, stored under the name plus ".!".
    EncryptFile = 3,
    /// A scrambled archive entry, stored under the name plus ".!"; the
    /// scrambled loose file when the entry is missing.
    EncryptZip = 4,
};

/// The mode a resource definition's "archive" key names: "file", "zip",
/// "encryptfile" or "encryptzip", matched exactly. Anything else, the empty
/// text of a missing key included, is `ArchiveMode::Global`.
[[nodiscard]] constexpr ArchiveMode archiveModeFromName(std::string_view name) {
    if (name == "file") {
        return ArchiveMode::File;
    }
    if (name == "zip") {
        return ArchiveMode::Zip;
    }
    if (name == "encryptfile") {
        return ArchiveMode::EncryptFile;
    }
    if (name == "encryptzip") {
        return ArchiveMode::EncryptZip;
    }
    return ArchiveMode::Global;
}

/// True for the two modes whose files are stored scrambled.
[[nodiscard]] constexpr bool isScrambledMode(ArchiveMode mode) {
    return mode == ArchiveMode::EncryptFile || mode == ArchiveMode::EncryptZip;
}

} // namespace orv
