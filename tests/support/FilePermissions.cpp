#include "tests/support/FilePermissions.h"

#include "tests/support/TempDir.h"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <fcntl.h>
#include <unistd.h>

namespace orv::test {

namespace {

constexpr unsigned kOverrides = (1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH);

// Adds or removes the overrides in the calling thread's effective set; false
// when the kernel refuses.
bool setOverrides(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    if (on) {
        data[0].effective |= kOverrides & data[0].permitted;
    } else {
        data[0].effective &= ~kOverrides;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

// Whether a file without any permission bits can be opened.
bool canOpenLockedFile() {
    const TempDir folder;
    const std::string path = folder.file("locked");
    writeFile(path, "x");
    ::chmod(path.c_str(), 0);
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        ::close(file);
    }
    return file >= 0;
}

} // namespace

PermissionsHold::PermissionsHold() {
    dropped_ = ::geteuid() == 0 && setOverrides(false);
    holding_ = !canOpenLockedFile();
}

PermissionsHold::~PermissionsHold() {
    if (dropped_) {
        static_cast<void>(setOverrides(true));
    }
}

} // namespace orv::test
