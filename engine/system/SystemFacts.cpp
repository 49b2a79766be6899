#include "engine/system/Platform.h"

#include <cstdlib>
#include <fstream>
#include <thread>

#include <malloc.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace orv::platform {

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, last - first + 1);
}

// The first "model name" and "cpu MHz" lines of /proc/cpuinfo. Reading the
// figure the kernel reports replaces timing the processor with a busy loop.
void readCpuInfo(SystemFacts& facts) {
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string key = trimmed(line.substr(0, colon));
        const std::string value = trimmed(line.substr(colon + 1));
        if (facts.processorName.empty() && key == "model name") {
            facts.processorName = value;
        } else if (facts.processorMHz == 0 && key == "cpu MHz") {
            facts.processorMHz = static_cast<std::uint32_t>(std::strtod(value.c_str(), nullptr));
        }
    }
}

} // namespace

SystemFacts getSystemFacts() {
    SystemFacts facts;
    utsname names{};
    if (uname(&names) == 0) {
        facts.hostName = names.nodename;
        facts.osName = names.sysname;
        facts.osRelease = names.release;
    }
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    facts.processorCount = processors > 0 ? static_cast<std::uint32_t>(processors)
                                          : std::max(1U, std::thread::hardware_concurrency());
    readCpuInfo(facts);
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) {
        facts.memoryBytes =
            static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    }
    return facts;
}

void keepLargeBlocksApart() {
    // A fixed threshold also stops glibc from raising it whenever a large
    // block is freed, which is what would bring pictures back into the heap.
    constexpr int kLargeBlockBytes = 256 * 1024;
    static_cast<void>(mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes));
}

} // namespace orv::platform
