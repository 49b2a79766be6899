#include "engine/scene/IRenderable.h"

#include "engine/core/BaseObject.h"

namespace orv {

constinit const ClassRecord IRenderable::classRecord{"IRenderable",
                                                     parentRecords<Interface::classRecord>};

} // namespace orv
