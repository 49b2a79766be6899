#pragma once

// Internal to the system layer: a child process for work that must not hold
// the program hostage, such as a message box that waits for a click.

#include <functional>

namespace orv::platform {

/// How a helper process ended.
struct HelperOutcome {
    enum class End {
        Finished,   ///< the body returned; exitCode holds its result
        Stopped,    ///< an end request came first (see getEndRequest): it was killed
        NotStarted, ///< no process could be made; the body did not run
    };
    End end = End::NotStarted;
    int exitCode = 0;
};

/// Runs `body` in a child process and waits for it, polling every few
/// milliseconds, until it returns or the program is asked to end (a
/// termination signal, which this call makes sure is noted rather than
/// fatal, or a lost display): the child is then killed at once. The child
/// cannot outlive the program, not even a SIGKILL of it: it dies with its
/// parent, and it can start no process of its own (libraries that would
/// start a helper of theirs, a dialog program, fall back to working in it).
/// `body`'s result (0-255) is the child's exit code. Main thread.
[[nodiscard]] HelperOutcome runHelperProcess(const std::function<int()>& body);

} // namespace orv::platform
