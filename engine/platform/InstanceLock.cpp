#include "engine/platform/Platform.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
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

int listenOn(const std::string& socketPath) {
    sockaddr_un address{};
    if (!fillAddress(socketPath, address)) {
        return -1;
    }
    // A socket file left by a copy that crashed is stale: we hold the lock now.
    ::unlink(socketPath.c_str());
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
    const int lockFile = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFile < 0) {
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
        ::unlink(socketPath_.c_str()); // still under the lock: no one else owns it
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
