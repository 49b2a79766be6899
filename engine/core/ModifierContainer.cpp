#include "engine/core/ModifierContainer.h"

namespace orv {

constinit const ClassRecord ModifierContainer::classRecord{"ModifierContainer",
                                                           parentRecords<Modifier::classRecord>};

} // namespace orv
