#include "engine/core/MoveTask.h"

#include "engine/core/GameTree.h"

namespace orv {

constinit const ClassRecord MoveTask::classRecord{"MoveTask", parentRecords<Task::classRecord>};

void MoveTask::run(int elapsedMs) {
    if (root_) {
        GameTree::updateSubtree(root_.get(), elapsedMs);
    }
    if (animTree_) {
        updateModifierTree(animTree_.get(), elapsedMs);
    }
}

} // namespace orv
