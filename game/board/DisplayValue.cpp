#include "game/board/DisplayValue.h"

#include <algorithm>

namespace orv {

DisplayValue::DisplayValue(std::int32_t value, std::int32_t min, std::int32_t max)
    : value_(0), shown_(0), min_(min), max_(max) {
    reset(value);
}

std::int32_t DisplayValue::clamp(std::int64_t v) const {
    // Sums are taken in 64 bits, so a step beyond the int range clamps
    // instead of wrapping round.
    if (v <= min_) {
        return min_;
    }
    return v > max_ ? max_ : static_cast<std::int32_t>(v);
}

void DisplayValue::add(std::int32_t delta) {
    value_ = clamp(static_cast<std::int64_t>(value_) + delta);
    pending_.push_back(delta);
}

void DisplayValue::commit(std::int32_t delta) {
    shown_ = clamp(static_cast<std::int64_t>(shown_) + delta);
    const auto step = std::find(pending_.begin(), pending_.end(), delta);
    if (step != pending_.end()) {
        pending_.erase(step);
    }
}

void DisplayValue::addAndCommit(std::int32_t delta) {
    add(delta);
    commit(delta);
}

void DisplayValue::reset(std::int32_t v) {
    value_ = clamp(v);
    shown_ = value_;
    pending_.clear();
}

} // namespace orv
