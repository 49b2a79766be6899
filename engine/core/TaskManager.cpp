#include "engine/core/TaskManager.h"

#include <cassert>
#include <utility>

namespace orv {

constinit const ClassRecord TaskManager::classRecord{"TaskManager"};

TaskManager::~TaskManager() {
    assert(passDepth_ == 0 && "a task manager destroyed while running a pass");
    while (!entries_.empty()) {
        removeTask(entries_.front().task.get());
    }
}

void TaskManager::addTask(Task* task) {
    if (task == nullptr) {
        return;
    }
    entries_.push_back(Entry{RefPtr<Task>(task)});
    task->managed_ = true;
}

void TaskManager::removeTask(Task* task) {
    if (task == nullptr) {
        return;
    }
    task->managed_ = false;
    task->stop();
    // Only mark here: a pass may be standing on one of these entries or have
    // noted one as its next, and dropping the entry could free the task.
    bool found = false;
    for (Entry& entry : entries_) {
        if (entry.task == task) {
            entry.removed = true;
            found = true;
        }
    }
    if (found && passDepth_ == 0) {
        purgeRemoved();
    }
}

void TaskManager::runRound(int value) {
    ++passDepth_;
    // Walk by index: entries appended meanwhile may move the storage, and no
    // entry is dropped before the pass ends, so an index stays valid.
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        // Note the end before the turn: tasks appended during the last
        // entry's turn wait for the next pass.
        const bool isLast = index + 1 == entries_.size();
        if (!entries_[index].removed) {
            // Keeps the task alive through its turn whatever it does to the
            // list; the entry itself may move while the turn runs.
            const RefPtr<Task> task = entries_[index].task;
            if (task->finished_) {
                if (task->followUp_) {
                    const RefPtr<Task> followUp = std::move(task->followUp_);
                    addTask(followUp.get());
                }
                removeTask(task.get());
            } else if (task->active_) {
                if (!task->started_) {
                    task->start();
                    task->started_ = true;
                }
                task->run(value);
            }
        }
        if (isLast) {
            break;
        }
    }
    if (--passDepth_ == 0) {
        purgeRemoved();
    }
}

void TaskManager::purgeRemoved() {
    std::vector<RefPtr<Task>> dropped;
    std::vector<Entry> kept;
    kept.reserve(entries_.size());
    for (Entry& entry : entries_) {
        if (entry.removed) {
            dropped.push_back(std::move(entry.task));
        } else {
            kept.push_back(std::move(entry));
        }
    }
    entries_ = std::move(kept);
    // `dropped` goes last: a dying task may reach back into this manager.
}

} // namespace orv
