#pragma once

#include "engine/core/ClassRecord.h"
#include "engine/core/Task.h"
#include "engine/platform/iInputListener.h"

namespace orv {

class GameNode;

/// What the scenes and the scene manager ask of the process-wide tooltip: a
/// task that the manager runs each frame between the current scene's drawing
/// and its purge, a listener part that stands in every scene's and dialog's
/// listener container (it follows the pointer), and the node tree it searches
/// and draws into (the current scene's dialog layer).
///
///     SceneManager::getInstance()->setToolTip(tooltip);   // holds a reference
///
/// Main thread only.
class AbstractToolTip : public Task, public iInputListener {
public:
    static constexpr ClassRecord classRecord{
        "AbstractToolTip", parentRecords<Task::classRecord, iInputListener::classRecord>};
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The tree searched for sprites with a tooltip and drawn into; the
    /// tooltip holds a reference to `root` (null for none) and releases the
    /// previous one.
    virtual void setRoot(GameNode* root) = 0;
};

} // namespace orv
