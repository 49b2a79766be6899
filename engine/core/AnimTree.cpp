#include "engine/core/AnimTree.h"

namespace orv {

constinit const ClassRecord AnimTree::classRecord{"AnimTree",
                                                  parentRecords<ModifierContainer::classRecord>};

} // namespace orv
