// The helper process behind the message box: it never holds the program
// hostage and never outlives it.

#include "engine/system/EndRequests.h"
#include "engine/system/HelperProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace orv::platform {
namespace {

// True when `pid` has ended: gone, or a zombie waiting for whoever adopted it.
bool helperHasEnded(pid_t pid) {
    if (::kill(pid, 0) != 0) {
        return errno == ESRCH;
    }
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText;
    std::string name;
    char state = '?';
    stat >> pidText >> name >> state;
    return !stat || state == 'Z' || state == 'X';
}

// Waits, bounded, until `pid` has ended.
bool waitUntilHelperEnded(pid_t pid) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!helperHasEnded(pid)) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A body that tells its pid through `pipe` and then waits for ever, as a
// message box nobody clicks.
int reportPidAndWait(int pipe) {
    const pid_t self = ::getpid();
    if (::write(pipe, &self, sizeof self) != sizeof self) {
        return 1;
    }
    for (;;) {
        ::pause();
    }
}

class HelperProcessTest : public testing::Test {
protected:
    void SetUp() override {
        forgetEndRequest();
        ASSERT_EQ(::pipe(pipe_), 0);
    }
    void TearDown() override {
        ::close(pipe_[0]);
        ::close(pipe_[1]);
        forgetEndRequest();
    }
    pid_t readPid() const {
        pid_t pid = 0;
        EXPECT_EQ(::read(pipe_[0], &pid, sizeof pid), static_cast<ssize_t>(sizeof pid));
        return pid;
    }

    int pipe_[2] = {-1, -1};
};

TEST_F(HelperProcessTest, BodyRunsApartAndCannotStartProcesses) {
    const pid_t self = ::getpid();
    const HelperOutcome outcome = runHelperProcess([self] {
        if (::getpid() == self) {
            return 1;
        }
        const pid_t grandchild = ::fork(); // a dialog program a library would start
        if (grandchild == 0) {
            ::_exit(0);
        }
        return grandchild < 0 && errno == EAGAIN ? 42 : 2;
    });
    EXPECT_EQ(outcome.end, HelperOutcome::End::Finished);
    EXPECT_EQ(outcome.exitCode, 42);
}

TEST_F(HelperProcessTest, TerminationSignalEndsTheWaitAndTheHelperAtOnce) {
    const int writeEnd = pipe_[1];
    std::thread signaller([this] {
        const pid_t helper = readPid();
        EXPECT_GT(helper, 0);
        ::kill(::getpid(), SIGTERM);
    });
    const HelperOutcome outcome =
        runHelperProcess([writeEnd] { return reportPidAndWait(writeEnd); });
    signaller.join();
    EXPECT_EQ(outcome.end, HelperOutcome::End::Stopped);
    EXPECT_EQ(getEndRequest(), EndRequest::Signal) << "the signal was noted, not fatal";
}

TEST_F(HelperProcessTest, HelperDiesWithAKilledProgram) {
    const int writeEnd = pipe_[1];
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        static_cast<void>(runHelperProcess([writeEnd] { return reportPidAndWait(writeEnd); }));
        ::_exit(0);
    }
    const pid_t helper = readPid();
    ASSERT_GT(helper, 0);
    EXPECT_FALSE(helperHasEnded(helper));
    ASSERT_EQ(::kill(program, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    EXPECT_TRUE(waitUntilHelperEnded(helper)) << "the helper outlived the killed program";
}

} // namespace
} // namespace orv::platform
