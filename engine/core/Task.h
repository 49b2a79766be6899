#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

namespace orv {

class TaskManager;

/// A unit of work that a task manager runs once per pass (once per frame for
/// the timed task manager) with the milliseconds since the previous frame.
///
/// A new task is active, unfinished, unmanaged and not started. Its manager
/// calls `start` once before the first `run`, skips it (keeping its place and
/// its started state) while it is inactive, and removes it at its next turn
/// after the task set `finished`; then a follow-up task, when one is set,
/// takes its place at the end of the list. Tasks run on the main thread only.
///
///     class Blink : public Task {
///         void run(int elapsedMs) override { if ((age_ += elapsedMs) > 500) setFinished(true); }
///         int age_ = 0;
///     };
///     manager.addTask(new Blink());      // the list holds the reference
///
/// A class whose class record does not name `Task` (the image and sound
/// managers) may still derive from it so that a task manager can run it.
class Task : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    Task() = default;

    /// Called once, before the first `run` (which happens while active).
    virtual void start() {}
    /// The per-frame work; `elapsedMs` is the time since the previous pass in
    /// milliseconds (at most 100 under the timed task manager).
    virtual void run(int elapsedMs) { static_cast<void>(elapsedMs); }
    /// Called when the task leaves a manager's list.
    virtual void stop() {}
    /// An inactive task stays in its manager's list but is neither started
    /// nor run. Subclasses may extend this (to drop queued work, say).
    virtual void setActive(bool active) { active_ = active; }

    [[nodiscard]] bool isActive() const { return active_; }
    /// A finished task asks its manager to remove it; the manager does so at
    /// the task's next turn, not at once.
    void setFinished(bool finished) { finished_ = finished; }
    [[nodiscard]] bool isFinished() const { return finished_; }
    /// True while the task is in a task manager's list.
    [[nodiscard]] bool isManaged() const { return managed_; }
    /// True once a manager has called `start`.
    [[nodiscard]] bool isStarted() const { return started_; }

    /// The task that the manager appends in this one's place when it removes
    /// it as finished. Kept with a reference until then (or until this task
    /// dies); null for none.
    void setFollowUp(Task* followUp) { followUp_ = followUp; }
    /// Borrowed from this task; null when none is set.
    [[nodiscard]] Task* getFollowUp() const { return followUp_.get(); }

private:
    friend class TaskManager;

    bool active_ = true;
    bool finished_ = false;
    bool managed_ = false;
    RefPtr<Task> followUp_;
    bool started_ = false;
};

} // namespace orv
