#pragma once

#include "engine/core/BaseObject.h"

#include <functional>
#include <string>
#include <string_view>

namespace orv {

/// The program itself: the fixed sequence that brings every singleton up and
/// hands over to the main loop, and the fixed order in which everything is
/// saved and released at exit. One instance lives from the entry to the end
/// of the main loop; it is the context of the quit question's Yes.
///
///     return runProgram(platform::getProgramFolder());   // the entry
///
/// Main thread only.
class OrvantaMain : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The exit code of a start-up refused: another copy runs, or the game's
    /// data cannot be read.
    static constexpr int kRefusedExitCode = 1;

    /// Start-up, then the main loop. Returns 0 after a normal quit and
    /// `kRefusedExitCode` when start-up was refused (another copy runs, or
    /// media.dat is missing, damaged or does not hold what start-up needs:
    /// the reason was then shown in a message box and on the standard error
    /// stream).
    [[nodiscard]] int run();

    /// The quit question's Yes: records the quit in the usage record and
    /// posts the quit message with exit code 0.
    static int quit(void* context, void* argument);

    /// The process-wide instance, or null outside `runProgram`. Borrowed.
    [[nodiscard]] static OrvantaMain* getInstance();

private:
    // The start-up steps up to the window; false after a refusal, with
    // `exitCode_` set.
    bool startEngine();
    // Starts reading the sections the splash and the loading screen show, on
    // the loader's threads, so that they load while the window is created.
    bool requestStartSections();
    bool openWindow();
    // Waits for those sections and checks them; then asks for the rest.
    bool loadStartSections();
    void createScenes();
    // Reports why the program cannot start and sets the exit code.
    void refuse(const std::string& reason);

    int exitCode_ = 0;
};

/// The entry function's work: enters `folder` (the program's folder), runs
/// `OrvantaMain` and then saves and releases everything in the shut-down
/// order. Returns the exit code.
[[nodiscard]] int runProgram(const std::string& folder);

/// Observes start-up and shut-down (tests): called with the name of each
/// step as it is taken ("window", "scenes", "release:scene manager", ...).
/// Empty for none.
void setStepObserver(std::function<void(std::string_view step)> observer);

/// How long start-up waits for the sections "splash", "music", "common"
/// and "preloading" before it reports the data as broken.
inline constexpr int kStartSectionsLimitMs = 10000;

} // namespace orv
