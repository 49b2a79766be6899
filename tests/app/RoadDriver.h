#pragma once

// Plays the real program from a test: a fixed clock, input posted through the
// window's message queue, and a list of steps checked once per frame, each
// with a bounded number of frames to be reached in.

#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orv {

class Dialog;
class GameNode;
class Scene;
class Sprite;
class Tile;

namespace test {

/// The program's clock for one run: it starts at `startMs` and moves only
/// when the main thread sleeps, by the time slept but at least `minStepMs`,
/// so that every frame of the main loop lasts the same and nothing really
/// waits. A step above the frame period plays the game as a slower machine
/// would, in fewer frames of more time each. Other threads (the resource
/// loader) still sleep for real and leave the clock alone. Installed for the
/// object's life.
class FixedClock {
public:
    explicit FixedClock(std::uint32_t startMs, std::uint32_t minStepMs = 0);
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
    ~FixedClock();

    [[nodiscard]] std::uint32_t now() const { return now_.load(); }

private:
    std::atomic<std::uint32_t> now_;
    std::uint32_t minStepMs_;
    std::thread::id mainThread_;
};

/// A list of steps played by the program's own frames: added as the last
/// task of the frame, it checks each frame whether the current step's goal
/// holds and, once it does, runs the step's action and moves on to the next
/// step. A step that is not reached within its frames stops the road: the
/// failure names the step, the scene shown and its open dialogs, and the
/// program is asked to quit. Frames while the resource loader still works on
/// requested sections do not count: the loader works in real time, however
/// fast the frames of the fixed clock go, so a step waits for the loading
/// itself, bounded by kLoadingLimit of real time. The program is also asked
/// to quit after the last step.
///
///     RefPtr<RoadDriver> road(new RoadDriver());
///     road->step("the lobby", [] { return sceneShown("SCENE_LOBBY"); },
///                [] { clickComponent("BUTTON_ELEVATOR"); });
///     ... runProgram(folder) with road->attach() at the step "main loop" ...
///     EXPECT_EQ(road->getFailure(), "");
class RoadDriver : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kDefaultFrames = 600;
    /// The real time a step may wait for requested sections to load.
    static constexpr std::chrono::seconds kLoadingLimit{120};

    using Goal = std::function<bool()>;
    using Action = std::function<void()>;

    /// Appends a step: within `maxFrames` frames `goal` must hold; then
    /// `action` (may be empty) runs in that frame.
    void step(std::string where, Goal goal, Action action = {}, int maxFrames = kDefaultFrames);
    /// Appends a step whose goal is only that `frames` frames have passed.
    void pause(std::string where, int frames, Action action = {});
    /// Puts the steps that `add` appends right after the current one (an
    /// action that finds more to do, such as the next pair of tiles to
    /// match, adds them so).
    void insertNext(const std::function<void(RoadDriver&)>& add);

    /// Adds the driver as the last task of the program's frames.
    void attach();
    /// Stops the road at once with `failure`, asking the program to quit.
    void fail(const std::string& failure);
    /// Ends the road here without a failure, asking the program to quit (the
    /// rest of the road cannot be played yet).
    void stop() { fail({}); }

    void run(int elapsedMs) override;
    /// Called after the program's run: a road neither finished nor stopped
    /// by now was cut short by the program, which is a failure naming the
    /// step it was waiting for.
    void programEnded();

    /// Empty while nothing failed.
    [[nodiscard]] const std::string& getFailure() const { return failure_; }
    /// True once every step was reached.
    [[nodiscard]] bool isDone() const { return done_; }
    /// The steps reached, in order.
    [[nodiscard]] const std::vector<std::string>& getReached() const { return reached_; }
    [[nodiscard]] int getFrameCount() const { return frames_; }

private:
    struct Step {
        std::string where;
        Goal goal;
        Action action;
        int maxFrames = kDefaultFrames;
    };

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int framesOnStep_ = 0;
    // When the current step began to wait for loading, while it waits.
    std::optional<std::chrono::steady_clock::time_point> loadingSince_;
    int frames_ = 0;
    bool done_ = false;
    bool stopped_ = false;
    std::string failure_;
    std::vector<std::string> reached_;
};

// ---- what the player sees ------------------------------------------------------

/// The scene the player sees, or null.
[[nodiscard]] Scene* shownScene();
/// True when the scene named `name` is shown and no transition runs.
[[nodiscard]] bool sceneShown(std::string_view name);
/// The scene shown's open dialog named `name`, or null.
[[nodiscard]] Dialog* openDialog(std::string_view name);
/// The scene shown, its open dialogs and the current transition, for a
/// failure message.
[[nodiscard]] std::string describeScreen();

// ---- input through the window's message queue ----------------------------------

/// Moves the pointer to (x, y) and presses and releases the left button there.
void postClick(int x, int y);
/// Moves the pointer to (x, y).
void postMouseMove(int x, int y);
/// Types `text` as character messages.
void postText(std::wstring_view text);
/// Presses and releases the key `virtualKey`.
void postKey(std::uint32_t virtualKey);

/// The screen point in the middle of `sprite`.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};
[[nodiscard]] ScreenPoint centreOf(const Sprite& sprite);
/// The component named `name` of the open dialog `dialog` (the scene shown
/// when empty), or null.
[[nodiscard]] GameNode* findOnScreen(std::string_view name, std::string_view dialog = {});
/// Clicks the middle of that component; false (nothing posted) when there is
/// none.
bool clickComponent(std::string_view name, std::string_view dialog = {});
/// A goal that holds once none of `dialogs` is open in the scene shown;
/// meanwhile it answers each open one with its OK, Continue or Close button
/// (or a click in its middle when it has none) every few frames.
[[nodiscard]] RoadDriver::Goal dialogsAnswered(std::vector<std::string> dialogs);
/// The same, once the scene named `scene` is shown.
[[nodiscard]] RoadDriver::Goal withDialogsAnswered(std::string scene,
                                                   std::vector<std::string> dialogs);

// ---- the board -----------------------------------------------------------------

/// True when the playing screen takes clicks on its board (no dialog open,
/// no state running, play begun), or the board is empty.
[[nodiscard]] bool boardReady();

/// A screen point of the playing screen where `tile` is hit (the drawn board
/// answers it for that point); false when none is found.
[[nodiscard]] bool findTileOnScreen(const Tile& tile, ScreenPoint& out);

// ---- playing -------------------------------------------------------------------

/// Clears the board shown: clicks the hinted pair at its place on the screen,
/// waits for it to leave (answering a tutorial bubble that takes a click, and
/// clicking again), runs `onPair`, and goes on with the next pair until the
/// board is empty. Fails the road when the board offers no pair.
void clearBoard(RoadDriver& road, const std::function<void()>& onPair);
/// Clicks the loading screen once it asks for a click (the game's data in).
void addLoadingScreenClick(RoadDriver& road);

} // namespace test
} // namespace orv
