#include "engine/platform/SystemInfo.h"

#include "engine/system/Platform.h"

#include <cstdlib>

namespace orv {

namespace {

// "6.1.0-18-amd64" gives 6, 1 and 0 packed into one number.
std::uint32_t releaseCode(const std::string& release) {
    std::uint32_t parts[3] = {0, 0, 0};
    const char* at = release.c_str();
    for (std::uint32_t& part : parts) {
        char* end = nullptr;
        const unsigned long number = std::strtoul(at, &end, 10);
        if (end == at) {
            break;
        }
        part = static_cast<std::uint32_t>(number > 255 ? 255 : number);
        if (*end != '.') {
            break;
        }
        at = end + 1;
    }
    return (parts[0] << 16) | (parts[1] << 8) | parts[2];
}

} // namespace

std::uint32_t probeDirectX() {
    return kGraphicsSystemCode;
}

SystemInfo::SystemInfo() {
    const platform::SystemFacts facts = platform::getSystemFacts();
#if defined(__x86_64__)
    processorType = 8664;
#elif defined(__i386__)
    processorType = 586;
#endif
    processorCount = facts.processorCount;
    processorSpeed = facts.processorMHz;
    osName = facts.osName + (facts.osRelease.empty() ? "" : " " + facts.osRelease);
    osBuildNumber = releaseCode(facts.osRelease);
    computerName = facts.hostName;
    directXVersion = probeDirectX();
    if (const std::optional<platform::DesktopMode> desktop = platform::getDesktopMode()) {
        colorDepth = desktop->bytesPerPixel * 8;
        screenWidth = desktop->width;
        screenHeight = desktop->height;
    }
}

} // namespace orv
