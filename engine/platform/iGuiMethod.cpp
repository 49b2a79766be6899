#include "engine/platform/iGuiMethod.h"

#include "engine/core/BaseObject.h"

namespace orv {

constinit const ClassRecord iGuiMethod::classRecord{"iGuiMethod",
                                                    parentRecords<Interface::classRecord>};

int iGuiMethod::call(void* argument) {
    return function_ != nullptr ? function_(context_, argument) : 0;
}

} // namespace orv
