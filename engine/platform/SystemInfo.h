#pragma once

#include <cstdint>
#include <string>

namespace orv {

/// The code the game's usage record reports for the graphics system. There is
/// no DirectX to probe here; the fixed code says "everything present" (it is
/// printed as "#0900").
inline constexpr std::uint32_t kGraphicsSystemCode = 0x900;

/// Returns `kGraphicsSystemCode`; never fails.
[[nodiscard]] std::uint32_t probeDirectX();

/// Facts about the machine for the game's usage record, all filled by the
/// constructor, quickly and without measuring anything. Unknown facts are 0
/// or empty.
///
///     const SystemInfo info;
///     record->add(new PropertyValue("os", info.osName));
struct SystemInfo {
    SystemInfo();

    std::string computerName;
    /// The kernel's name and release, "Linux 6.1.0-18-amd64".
    std::string osName;
    /// The release's numbers as major * 65536 + minor * 256 + patch (each cut
    /// to 255), 0 when they cannot be read.
    std::uint32_t osBuildNumber = 0;
    /// The operating-system code of the record: 9, "other system".
    int osCode = 9;
    /// 8664 for x86-64 processors, 586 for 32-bit x86, 0 for others.
    std::uint32_t processorType = 0;
    /// MHz as the system reports it (no timing loop), 0 when unknown.
    std::uint32_t processorSpeed = 0;
    std::uint32_t processorCount = 0;
    std::uint32_t directXVersion = 0;
    /// Bits per pixel of the desktop, and its size in pixels (0 without a
    /// display).
    int colorDepth = 0;
    int screenWidth = 0;
    int screenHeight = 0;
};

} // namespace orv
