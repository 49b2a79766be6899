#include "engine/system/HelperProcess.h"

#include "engine/system/EndRequests.h"

#include <cerrno>
#include <csignal>
#include <cstddef>

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orv::platform {

namespace {

constexpr std::uint32_t kHelperPollMilliseconds = 10;

#if defined(__x86_64__)
constexpr std::uint32_t kAuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr std::uint32_t kAuditArch = AUDIT_ARCH_AARCH64;
#else
constexpr std::uint32_t kAuditArch = 0;
#endif

constexpr sock_filter bpfLoad(std::uint32_t offset) {
    return BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offset);
}
constexpr sock_filter bpfAnswer(std::uint32_t action) {
    return BPF_STMT(BPF_RET | BPF_K, action);
}
// Skips the next statement unless the loaded word equals `value`.
constexpr sock_filter bpfSkipOneUnlessEqual(std::uint32_t value) {
    return BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, value, 0, 1);
}

// Makes every later attempt of this process to start another process fail:
// clone without CLONE_THREAD (fork, vfork, posix_spawn) gives EAGAIN, clone3
// ENOSYS (so the C library falls back to clone). Threads may still be made.
// False when the kernel refuses the filter.
bool forbidNewProcesses() {
    if (kAuditArch == 0) {
        return false;
    }
    const sock_filter program[] = {
        bpfLoad(offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kAuditArch, 1, 0),
        bpfAnswer(SECCOMP_RET_ALLOW),
        bpfLoad(offsetof(seccomp_data, nr)),
        bpfSkipOneUnlessEqual(__NR_clone3),
        bpfAnswer(SECCOMP_RET_ERRNO | ENOSYS),
#ifdef __NR_fork
        bpfSkipOneUnlessEqual(__NR_fork),
        bpfAnswer(SECCOMP_RET_ERRNO | EAGAIN),
        bpfSkipOneUnlessEqual(__NR_vfork),
        bpfAnswer(SECCOMP_RET_ERRNO | EAGAIN),
#endif
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_clone, 1, 0),
        bpfAnswer(SECCOMP_RET_ALLOW),
        // The flags' low word (the machine is little-endian).
        bpfLoad(offsetof(seccomp_data, args)),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, CLONE_THREAD, 0, 1),
        bpfAnswer(SECCOMP_RET_ALLOW),
        bpfAnswer(SECCOMP_RET_ERRNO | EAGAIN),
    };
    sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]),
                      const_cast<sock_filter*>(program)};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

// The child's side: tied to its parent's life, with the default signal
// actions, and unable to start processes.
[[noreturn]] void runHelperChild(pid_t parent, const std::function<int()>& body) {
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent || !forbidNewProcesses()) {
        ::_exit(127);
    }
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signalNumber, SIG_DFL);
    }
    ::_exit(body() & 0xFF);
}

} // namespace

HelperOutcome runHelperProcess(const std::function<int()>& body) {
    claimTerminationSignals();
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        return {};
    }
    if (child == 0) {
        runHelperChild(parent, body);
    }
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
                return {};
            }
            return {HelperOutcome::End::Finished, WIFEXITED(status) ? WEXITSTATUS(status) : 255};
        }
        if (done < 0 && errno != EINTR) {
            return {HelperOutcome::End::Finished, 255};
        }
        if (getEndRequest() != EndRequest::None) {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return {HelperOutcome::End::Stopped, 0};
        }
        sleepMilliseconds(kHelperPollMilliseconds);
    }
}

} // namespace orv::platform
