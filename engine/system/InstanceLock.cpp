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

// Asks the running instance to show itself at the socket named in its lock
// file. Never waits: when the instance does not answer at once, the request
// is dropped.
void askToRaise(int lockFile) {
    char text[sizeof(sockaddr_un::sun_path)] = {};
    const ssize_t got = ::pread(lockFile, text, sizeof text - 1, 0);
    if (got <= 0) {
        return;
    }
    std::string socketPath(text, static_cast<std::size_t>(got));
    socketPath = socketPath.substr(0, socketPath.find('\n'));
    // Only a socket of ours: an absolute path to a name ending in ".sock".
    if (socketPath.empty() || socketPath.front() != '/' || !socketPath.ends_with(".sock")) {
        return;
    }
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

std::unique_ptr<InstanceLock> InstanceLock::acquire(std::string_view name,
                                                    const std::string& guardedFolder) {
    lastFailed = false;
    const std::string safeName = safeFileName(name);
    const std::string lockPath = guardedFolder + "/" + safeName + ".lock";
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
        if (held) {
            askToRaise(lockFile);
        } else {
            lastFailed = true;
        }
        ::close(lockFile);
        return nullptr;
    }
    // The socket is named after the lock file itself, so copies guarding
    // other folders never meet at it, and one left by a crashed holder of
    // this lock is stale. Its path goes into the lock file for the next
    // start, which may have another runtime folder. Without a socket the lock
    // still keeps a second copy out; it just cannot bring this one to the
    // front.
    const std::string socketPath = getUserRuntimeFolder() + "/" + safeName + "-" +
                                   std::to_string(status.st_dev) + "-" +
                                   std::to_string(status.st_ino) + ".sock";
    const int listener = listenOn(socketPath);
    const std::string note = listener >= 0 ? socketPath + "\n" : std::string();
    if (::ftruncate(lockFile, 0) != 0 ||
        (!note.empty() && ::pwrite(lockFile, note.data(), note.size(), 0) < 0)) {
        reportDiagnostic(lockPath + ": the running copy's address cannot be noted; a second "
                                    "start cannot bring it to the front");
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(lockFile, listener, socketPath));
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
