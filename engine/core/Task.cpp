#include "engine/core/Task.h"

namespace orv {

constinit const ClassRecord Task::classRecord{"Task", parentRecords<BaseObject::classRecord>};

} // namespace orv
