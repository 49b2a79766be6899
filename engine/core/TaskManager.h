#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"

#include <vector>

namespace orv {

/// An ordered list of tasks, run one after the other as one pass. The list
/// holds a reference to each task per entry; a task added twice has two
/// entries and runs twice per pass.
///
/// Tasks may add and remove tasks (themselves or others) while a pass runs:
/// removed entries are only marked during a pass and dropped when it ends, so
/// the walk never stands on a freed entry, and a removed entry is skipped
/// when the walk reaches it. Tasks appended during a pass run in that pass,
/// unless they were appended while the last entry of the list had its turn
/// (the walk notes the end before each turn); they then first run in the
/// next pass.
///
///     TaskManager tasks;
///     tasks.addTask(sceneManager);
///     tasks.addTask(window);
///     tasks.runRound(16); // the scene manager, then the window
///
/// Its class record is a root of its own (it names no parent). Destroying a
/// manager stops every task still in it; a manager must not be destroyed by
/// one of its own tasks while it runs a pass.
class TaskManager : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    TaskManager() = default;
    /// Removes every task in list order, so each one gets `stop` once.
    ~TaskManager() override;

    /// Appends `task` at the end of the list, takes a reference for the new
    /// entry and marks the task managed. A null task is ignored.
    void addTask(Task* task);
    /// Clears the task's managed flag, calls its `stop`, then drops every
    /// entry of the list that holds it, releasing their references (at the
    /// end of the pass when a pass is running; the task is neither run nor
    /// started by its removed entries meanwhile). `task` is borrowed from the
    /// caller; the last reference may go with the list entries, so the caller
    /// must hold its own to use the task afterwards. A null task is ignored.
    void removeTask(Task* task);
    /// One pass over the list with `value` (the elapsed milliseconds): each
    /// entry in order removes its task when finished (appending its follow-up
    /// first), or else, when the task is active, starts it if needed and runs
    /// it with `value`.
    void runRound(int value);

private:
    struct Entry {
        RefPtr<Task> task;
        bool removed = false;
    };

    // Drops every entry marked removed, after the list is consistent again.
    void purgeRemoved();

    std::vector<Entry> entries_;
    int passDepth_ = 0;
};

} // namespace orv
