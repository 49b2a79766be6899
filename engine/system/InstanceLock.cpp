#include "engine/system/Platform.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace orv::platform {

namespace {

bool lastFailed = false;

// Only letters, digits, ".", "-" and "_" reach the file name: the game's
// name may hold blanks or slashes.
std::string safeFileName(std::string_view name) {
    std::string safe;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        safe += plain ? c : '_';
    }
    if (safe.empty() || safe.front() == '.') {
        safe.insert(0, "orvanta");
    }
    return safe;
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    path.copy(address.sun_path, path.size());
    return true;
}

// Asks the running instance to show itself. Never waits: when the instance
// does not answer at once, the request is dropped.
void askToRaise(const std::string& socketPath) {
    sockaddr_un address{};
    if (!fillAddress(socketPath, address)) {
        return;
    }
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (client < 0) {
        return;
    }
    if (::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const char request = 'r';
        (void)::send(client, &request, 1, MSG_NOSIGNAL);
    }
    ::close(client);
}

// Removes the socket at `path`; anything else there (a file, a link) is not
// ours and stays.
void removeSocket(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode)) {
        ::unlink(path.c_str());
    }
}

int listenOn(const std::string& socketPath) {
    sockaddr_un address{};
    if (!fillAddress(socketPath, address)) {
        return -1;
    }
    // A socket left by a copy that crashed is stale: we hold the lock now.
    removeSocket(socketPath);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        return -1;
    }
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 4) != 0) {
        ::close(listener);
        return -1;
    }
    return listener;
}

} // namespace

std::unique_ptr<InstanceLock> InstanceLock::acquire(std::string_view name) {
    lastFailed = false;
    const std::string base = getUserRuntimeFolder() + "/" + safeFileName(name);
    const std::string lockPath = base + ".lock";
    // Never through a link, and never waiting on a FIFO: a link planted at the
    // name must not make us create or lock its target.
    const int lockFile =
        ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat status {};
    if (lockFile < 0 || ::fstat(lockFile, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (lockFile >= 0) {
            ::close(lockFile);
        }
        lastFailed = true;
        return nullptr;
    }
    if (::flock(lockFile, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(lockFile);
        if (held) {
            askToRaise(base + ".sock");
        } else {
            lastFailed = true;
        }
        return nullptr;
    }
    // Without a socket the lock still keeps a second copy out; it just cannot
    // bring this one to the front.
    const int listener = listenOn(base + ".sock");
    return std::unique_ptr<InstanceLock>(new InstanceLock(lockFile, listener, base + ".sock"));
}

bool InstanceLock::lastAcquireFailed() {
    return lastFailed;
}

InstanceLock::InstanceLock(int lockFile, int listener, std::string socketPath)
    : lockFile_(lockFile), listener_(listener), socketPath_(std::move(socketPath)) {}

InstanceLock::~InstanceLock() {
    if (listener_ >= 0) {
        ::close(listener_);
        removeSocket(socketPath_); // still under the lock: no other copy made it
    }
    // The lock file itself stays: unlinking it would let a starting copy lock
    // the old file while another locks a new one.
    ::close(lockFile_);
}

bool InstanceLock::takeRaiseRequest() {
    if (listener_ < 0) {
        return false;
    }
    bool asked = false;
    for (;;) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            break;
        }
        asked = true;
        ::close(client);
    }
    return asked;
}

} // namespace orv::platform
