#include "engine/core/PurgeTask.h"

#include "engine/core/GameTree.h"

namespace orv {

constinit const ClassRecord PurgeTask::classRecord{"PurgeTask", parentRecords<Task::classRecord>};

void PurgeTask::run(int /*elapsedMs*/) {
    if (root_) {
        GameTree::purgeSubtree(root_.get());
    }
    if (animTree_) {
        purgeModifierTree(animTree_.get());
    }
}

} // namespace orv
