#include "app/OrvantaMain.h"

#include "engine/platform/DataFolders.h"
#include "engine/system/Platform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace orv {
namespace {

// Runs the program from `folder`, recording its steps and what it wrote to
// the standard error stream; the working folder is restored after.
struct ProgramRun {
    int exitCode = -1;
    std::vector<std::string> steps;
    std::string errors;
    std::chrono::milliseconds took{};
};

// With `quitAtOnce`, the main loop's first message is the quit; with a
// `signalAtOnce` too, that signal is raised instead, as from outside.
ProgramRun runFrom(const std::string& folder, bool quitAtOnce, int signalAtOnce = 0) {
    ProgramRun run;
    const std::string previous = platform::getCurrentFolder();
    setStepObserver([&run, quitAtOnce, signalAtOnce](std::string_view step) {
        run.steps.emplace_back(step);
        if (quitAtOnce && step == "main loop") {
            if (signalAtOnce != 0) {
                std::raise(signalAtOnce);
            } else {
                platform::postQuitMessage(0);
            }
        }
    });
    testing::internal::CaptureStderr();
    const auto started = std::chrono::steady_clock::now();
    run.exitCode = runProgram(folder);
    run.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    run.errors = testing::internal::GetCapturedStderr();
    setStepObserver({});
    static_cast<void>(platform::setCurrentFolder(previous));
    return run;
}

struct BrokenMediaCase {
    const char* name;
    // What media.dat holds: -1 none, 0 garbage, else the first n bytes of
    // the real archive.
    long content;
    const char* message;
};

std::string caseName(const testing::TestParamInfo<BrokenMediaCase>& test) {
    return test.param.name;
}

class BrokenMedia : public testing::TestWithParam<BrokenMediaCase> {};

// Without usable data the program says why, in the message box and on the
// standard error stream, and exits with code 1 at once instead of waiting.
TEST_P(BrokenMedia, RefusesToStartWithAMessage) {
    const test::TempDir folder;
    const BrokenMediaCase& c = GetParam();
    if (c.content == 0) {
        test::writeFile(folder.path() / "media.dat", std::string(4096, 'x'));
    } else if (c.content > 0) {
        const std::string real = test::readFile(std::string(ORVANTA_MEDIA_APP_DIR) + "/media.dat");
        ASSERT_GT(real.size(), static_cast<std::size_t>(c.content));
        test::writeFile(folder.path() / "media.dat",
                        real.substr(0, static_cast<std::size_t>(c.content)));
    }
    const ProgramRun run = runFrom(folder.path().string(), false);
    EXPECT_EQ(run.exitCode, OrvantaMain::kRefusedExitCode);
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
    EXPECT_NE(std::find(run.steps.begin(), run.steps.end(), "refused"), run.steps.end());
    EXPECT_EQ(std::find(run.steps.begin(), run.steps.end(), "save"), run.steps.end());
    // At once: it does not sit out the time the start allows its data to load.
    EXPECT_LT(run.took.count(), kStartSectionsLimitMs)
        << "the refusal waited for data that could not come";
}

INSTANTIATE_TEST_SUITE_P(Media, BrokenMedia,
                         testing::Values(BrokenMediaCase{"Missing", -1, "media.dat is missing"},
                                         BrokenMediaCase{"Garbage", 0, "damaged"},
                                         BrokenMediaCase{"Truncated", 200000, "damaged"}),
                         &caseName);

// How the program is ended: 0 for the quit message (the quit question's
// Yes), else the termination signal it gets from outside.
class EndedBy : public testing::TestWithParam<int> {};

// The start-up steps in their order up to the main loop (sound opens before
// the window so that the first sections load while the window is made), then
// after a normal quit, or a termination signal (without a question), the
// level in progress, the saves and every release, each once and in its order;
// the players list and the scores are on disk afterwards.
TEST_P(EndedBy, StartsAndShutsDownInOrder) {
    const ProgramRun run = runFrom(ORVANTA_MEDIA_APP_DIR, true, GetParam());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::vector<std::string> expected{"archive",
                                            "definitions",
                                            "sound",
                                            "window",
                                            "start sections",
                                            "players",
                                            "scenes",
                                            "main loop",
                                            "save level",
                                            "save",
                                            "destroy window",
                                            "release:image manager",
                                            "release:full-screen handler",
                                            "release:timed task manager",
                                            "release:hint dialog",
                                            "release:scene manager",
                                            "release:player manager",
                                            "release:definition store",
                                            "release:window",
                                            "release:sound manager",
                                            "release:resource manager",
                                            "release:high-score manager",
                                            "release:settings manager",
                                            "release:object factory",
                                            "release:random generator",
                                            "release:usage record",
                                            "release:settings tables",
                                            "release:archive",
                                            "release:crash marker",
                                            "release:tile manager",
                                            "release:level sets"};
    EXPECT_EQ(run.steps, expected);
    // Each test runs with data folders of its own: whatever is there now was
    // written by this run.
    std::vector<std::string> saved;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(getMakerFolder())) {
        saved.push_back(entry.path().filename().string());
    }
    for (const char* file : {"players.plrs.!", "scores.xml.!"}) {
        EXPECT_NE(std::find(saved.begin(), saved.end(), file), saved.end()) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(OrvantaMain, EndedBy, testing::Values(0, SIGTERM),
                         [](const testing::TestParamInfo<int>& ending) {
                             return std::string(ending.param == 0 ? "Quit" : "Signal");
                         });

} // namespace
} // namespace orv
