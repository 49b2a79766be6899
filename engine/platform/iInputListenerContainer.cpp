#include "engine/platform/iInputListenerContainer.h"

#include "engine/core/BaseObject.h"

#include <algorithm>
#include <vector>

namespace orv {

constinit const ClassRecord iInputListenerContainer::classRecord{"iInputListenerContainer"};

namespace {

iInputListenerContainer* asContainer(iInputListener* listener) {
    return dynamic_cast<iInputListenerContainer*>(listener);
}

} // namespace

template <class Offer>
bool iInputListenerContainer::dispatch(const Offer& offer) {
    bool handled = false;
    if (isInputEnabled()) {
        // A listener may change the list while it handles the event (a
        // button opens a dialog, a dialog closes itself): walk a copy, and
        // skip whoever left the list meanwhile, since it may be gone.
        const std::vector<iInputListener*> order(listeners_.begin(), listeners_.end());
        for (iInputListener* listener : order) {
            if (!hasListener(listener)) {
                continue;
            }
            if ((listener->isInputEnabled() || asContainer(listener) != nullptr) &&
                offer(*listener)) {
                handled = true;
                break;
            }
        }
    } else if (exclusive_ != nullptr && exclusive_->isInputEnabled()) {
        handled = offer(*exclusive_);
    }
    return handled || swallow_;
}

bool iInputListenerContainer::onKeyDown(int key) {
    return dispatch([&](iInputListener& l) { return l.onKeyDown(key); });
}
bool iInputListenerContainer::onKeyUp(int key) {
    return dispatch([&](iInputListener& l) { return l.onKeyUp(key); });
}
bool iInputListenerContainer::onChar(int character) {
    return dispatch([&](iInputListener& l) { return l.onChar(character); });
}
bool iInputListenerContainer::onMouseMove(int x, int y, int flags) {
    return dispatch([&](iInputListener& l) { return l.onMouseMove(x, y, flags); });
}
bool iInputListenerContainer::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    return dispatch(
        [&](iInputListener& l) { return l.onLeftButtonDown(x, y, flags, doubleClick); });
}
bool iInputListenerContainer::onLeftButtonUp(int x, int y, int flags) {
    return dispatch([&](iInputListener& l) { return l.onLeftButtonUp(x, y, flags); });
}
bool iInputListenerContainer::onMiddleButtonDown(int x, int y, int flags, bool doubleClick) {
    return dispatch(
        [&](iInputListener& l) { return l.onMiddleButtonDown(x, y, flags, doubleClick); });
}
bool iInputListenerContainer::onMiddleButtonUp(int x, int y, int flags) {
    return dispatch([&](iInputListener& l) { return l.onMiddleButtonUp(x, y, flags); });
}
bool iInputListenerContainer::onRightButtonDown(int x, int y, int flags, bool doubleClick) {
    return dispatch(
        [&](iInputListener& l) { return l.onRightButtonDown(x, y, flags, doubleClick); });
}
bool iInputListenerContainer::onRightButtonUp(int x, int y, int flags) {
    return dispatch([&](iInputListener& l) { return l.onRightButtonUp(x, y, flags); });
}

void iInputListenerContainer::addListener(BaseObject* node, GuiFunction function, void* context) {
    if (node == nullptr) {
        return;
    }
    if (auto* listener =
            static_cast<iInputListener*>(node->getInterface(iInputListener::classRecord))) {
        insertListener(listener);
    }
    if (auto* method = static_cast<iGuiMethod*>(node->getInterface(iGuiMethod::classRecord))) {
        method->setMethod(function, context);
    }
}

void iInputListenerContainer::insertListener(iInputListener* listener) {
    if (listener == nullptr) {
        return;
    }
    removeListener(listener);
    if (const iInputListenerContainer* container = asContainer(listener);
        container != nullptr && container->isSwallowing()) {
        // A modal container arrives: whatever was pressed or dragged below it
        // will never see its release.
        reset();
    }
    listeners_.push_front(listener);
}

void iInputListenerContainer::removeListener(iInputListener* listener) {
    if (listener == nullptr) {
        return;
    }
    for (auto it = listeners_.begin(); it != listeners_.end();) {
        if (*it == listener) {
            listener->reset();
            it = listeners_.erase(it);
            continue;
        }
        if (iInputListenerContainer* nested = asContainer(*it)) {
            nested->removeListener(listener);
        }
        ++it;
    }
}

void iInputListenerContainer::reset() {
    // Copied: a listener's reset may remove listeners.
    const std::vector<iInputListener*> all(listeners_.begin(), listeners_.end());
    for (iInputListener* listener : all) {
        if (hasListener(listener)) {
            listener->reset();
        }
    }
}

bool iInputListenerContainer::hasListener(const iInputListener* listener) const {
    return std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end();
}

} // namespace orv
