#include "game/screen/TrophyQueue.h"

#include <algorithm>

namespace orv {

std::optional<int> TrophyQueue::earn(int number) {
    if (showing_ == number ||
        std::find(waiting_.begin(), waiting_.end(), number) != waiting_.end()) {
        return std::nullopt;
    }
    waiting_.push_back(number);
    return next();
}

std::optional<int> TrophyQueue::boxClosed() {
    showing_.reset();
    return next();
}

std::optional<int> TrophyQueue::setHeld(bool held) {
    held_ = held;
    return next();
}

void TrophyQueue::clear() {
    showing_.reset();
    waiting_.clear();
    held_ = false;
}

std::optional<int> TrophyQueue::next() {
    if (held_ || showing_ || waiting_.empty()) {
        return std::nullopt;
    }
    showing_ = waiting_.front();
    waiting_.pop_front();
    return showing_;
}

} // namespace orv
