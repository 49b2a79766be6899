#include "engine/system/Platform.h"

#include <chrono>
#include <map>
#include <mutex>

namespace orv::platform {

namespace {

// The locks by name. Entries stay for the life of the process: there are only
// a handful of names, and dropping one while another object still names it
// would split it into two locks.
std::mutex registryMutex;
std::map<std::string, std::shared_ptr<std::recursive_timed_mutex>, std::less<>> locksByName;

} // namespace

NamedMutex::NamedMutex(std::string_view name) {
    if (name.empty()) {
        mutex_ = std::make_shared<std::recursive_timed_mutex>();
        return;
    }
    const std::scoped_lock lock(registryMutex);
    auto found = locksByName.find(name);
    if (found == locksByName.end()) {
        found =
            locksByName.emplace(std::string(name), std::make_shared<std::recursive_timed_mutex>())
                .first;
    }
    mutex_ = found->second;
}

bool NamedMutex::tryLockFor(std::uint32_t milliseconds) {
    // A deadline on the system clock makes the library wait with
    // pthread_mutex_timedlock, which ThreadSanitizer understands; the steady
    // clock's pthread_mutex_clocklock is invisible to it and floods its reports
    // with false races. A clock jump can only stretch or shorten this rare
    // ten-second bound, never cause a wrong lock.
    const auto deadline =
        std::chrono::system_clock::now() + std::chrono::milliseconds(milliseconds);
    return mutex_->try_lock_until(deadline);
}

void NamedMutex::unlock() {
    mutex_->unlock();
}

} // namespace orv::platform
