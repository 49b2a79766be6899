#include "engine/platform/iInputListener.h"

#include "engine/core/BaseObject.h"

namespace orv {

constinit const ClassRecord iInputListener::classRecord{"iInputListener",
                                                        parentRecords<Interface::classRecord>};

// Every event is left to the next listener unless a listener overrides it.
bool iInputListener::onKeyDown(int /*key*/) {
    return false;
}
bool iInputListener::onKeyUp(int /*key*/) {
    return false;
}
bool iInputListener::onChar(int /*character*/) {
    return false;
}
bool iInputListener::onMouseMove(int /*x*/, int /*y*/, int /*flags*/) {
    return false;
}
bool iInputListener::onLeftButtonDown(int /*x*/, int /*y*/, int /*flags*/, bool /*doubleClick*/) {
    return false;
}
bool iInputListener::onLeftButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    return false;
}
bool iInputListener::onMiddleButtonDown(int /*x*/, int /*y*/, int /*flags*/, bool /*doubleClick*/) {
    return false;
}
bool iInputListener::onMiddleButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    return false;
}
bool iInputListener::onRightButtonDown(int /*x*/, int /*y*/, int /*flags*/, bool /*doubleClick*/) {
    return false;
}
bool iInputListener::onRightButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    return false;
}

bool iInputListener::setInputEnabled(bool enabled) {
    inputEnabled_ = enabled;
    return enabled;
}

} // namespace orv
