#include "engine/core/MessageHandler.h"

#include <algorithm>
#include <cassert>

namespace orv {

constinit const ClassRecord MessageHandler::classRecord{"MessageHandler",
                                                        parentRecords<BaseObject::classRecord>};

void MessageHandler::addHook(IMessageHook* hook) {
    assert(hook != nullptr);
    if (hook == nullptr || hasHook(hook)) {
        return;
    }
    // Appending is safe during a dispatch: the walk goes by index and reads
    // the size afresh, so it reaches the new hook with the same message.
    hooks_.push_back(hook);
}

void MessageHandler::removeHook(IMessageHook* hook) {
    if (hook == nullptr) {
        return;
    }
    if (isBusy()) {
        // Blank the entry rather than erase it: the walk's index stays valid
        // and the entry is never called again.
        std::replace(hooks_.begin(), hooks_.end(), hook, static_cast<IMessageHook*>(nullptr));
        return;
    }
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

void MessageHandler::dispatch(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    ++depth_;
    for (std::size_t index = 0; index < hooks_.size(); ++index) {
        if (IMessageHook* hook = hooks_[index]; hook != nullptr) {
            hook->onWindowMessage(message, wParam, lParam);
        }
    }
    if (--depth_ == 0) {
        hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), nullptr), hooks_.end());
    }
}

bool MessageHandler::hasHook(const IMessageHook* hook) const {
    return hook != nullptr && std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end();
}

std::size_t MessageHandler::getHookCount() const {
    return static_cast<std::size_t>(std::count_if(
        hooks_.begin(), hooks_.end(), [](const IMessageHook* hook) { return hook != nullptr; }));
}

} // namespace orv
