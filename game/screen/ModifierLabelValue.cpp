#include "game/screen/ModifierLabelValue.h"

#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orv {

constinit const ClassRecord ModifierLabelValue::classRecord{"ModifierLabelValue",
                                                            parentRecords<GameNode::classRecord>};

ModifierLabelValue::ModifierLabelValue(std::int32_t start, int durationMs, std::int32_t target,
                                       int intervalMs, std::wstring_view extra)
    : duration_(durationMs), start_(start), targetValue_(target), current_(start),
      interval_(intervalMs), extra_(extra) {}

void ModifierLabelValue::setTarget(GameNode* target) {
    Modifier::setTarget(target);
    if (label_ == nullptr && target != nullptr && target->isKindOf(Label::classRecord)) {
        label_ = static_cast<Label*>(target);
    }
}

void ModifierLabelValue::finish() {
    Modifier::finish();
    elapsed_ = std::max(duration_, 0);
    fraction_ = 1.0F;
    if (type_ == TypeTime && current_ != targetValue_) {
        current_ = targetValue_;
        formatValue();
    }
}

void ModifierLabelValue::countFrom(std::int32_t start, std::int32_t target) {
    start_ = start;
    current_ = start;
    targetValue_ = target;
    elapsed_ = 0;
    fraction_ = 0.0F;
    accumulated_ = 0;
    setState(getState() & ~StateDone);
}

void ModifierLabelValue::jumpTo(std::int32_t value) {
    start_ = value;
    targetValue_ = value;
    current_ = value;
    accumulated_ = 0;
    formatValue();
}

std::int64_t ModifierLabelValue::tenfoldStep() const {
    const std::int64_t distance =
        std::llabs(static_cast<std::int64_t>(current_) - static_cast<std::int64_t>(targetValue_));
    std::int64_t step = 1;
    // A base that cannot grow (0, negative or not a number) would never pass
    // the distance: such a ticker steps by its smallest step instead.
    if (mul_ > 0.0F && std::isfinite(mul_)) {
        double limit = mul_;
        while (limit <= static_cast<double>(distance)) {
            limit *= 10.0;
            step *= 10;
        }
    }
    return std::max<std::int64_t>(step, add_);
}

void ModifierLabelValue::update(int dtMs) {
    const int dt = std::max(dtMs, 0);
    elapsed_ = std::min(elapsed_ + dt, std::max(duration_, 0));
    fraction_ = duration_ > 0 ? static_cast<float>(elapsed_) / static_cast<float>(duration_) : 1.0F;
    if (current_ != targetValue_) {
        // An interval below 1 ms (a broken definition) steps every millisecond.
        const int interval = std::max(interval_, 1);
        accumulated_ += dt;
        const int steps = accumulated_ / interval;
        if (steps <= 0) {
            return;
        }
        accumulated_ -= steps * interval;
        const std::int32_t before = current_;
        const bool below = current_ < targetValue_;
        std::int64_t next = current_;
        if (type_ == TypeTime) {
            next = static_cast<std::int64_t>(
                static_cast<double>(start_) +
                static_cast<double>(static_cast<std::int64_t>(targetValue_) - start_) * fraction_);
        } else if (type_ == TypeValue) {
            // A step of 0 would never arrive; it counts as 1.
            const std::int64_t step = std::max<std::int64_t>(std::llabs(add_), 1) * steps;
            next += below ? step : -step;
        } else {
            for (int i = 0; i < steps && next != targetValue_; ++i) {
                current_ = static_cast<std::int32_t>(next);
                const std::int64_t step = tenfoldStep();
                next += (next < targetValue_) ? step : -step;
                if ((next < targetValue_) != below && next != targetValue_) {
                    next = targetValue_;
                }
            }
        }
        if (below ? next > targetValue_ : next < targetValue_) {
            next = targetValue_;
        }
        current_ = static_cast<std::int32_t>(next);
        if (current_ != before) {
            formatValue();
        }
        if (sound_ != nullptr) {
            static_cast<void>(sound_->play(255, 128, false));
        }
    }
    if (current_ == targetValue_) {
        elapsed_ = std::max(duration_, 0);
        fraction_ = 1.0F;
        Modifier::finish();
        if (!finishAtTarget_) {
            setState(getState() & ~StateDone);
        }
    }
}

void ModifierLabelValue::formatValue() {
    if (label_ == nullptr) {
        return;
    }
    std::wstring number;
    if (format_ == FormatDot) {
        const auto magnitude =
            static_cast<std::uint32_t>(std::llabs(static_cast<std::int64_t>(current_)));
        groupDigits(magnitude, number, getText("CTEXT_DIGIT_GROUPING_SYMBOL"));
        if (current_ < 0) {
            number.insert(number.begin(), L'-');
        }
    } else if (format_ == FormatTime) {
        number = formatTime(static_cast<std::uint32_t>(std::max(current_, 0)), true, false);
    } else {
        number = std::to_wstring(current_);
    }
    label_->setText(extra_ + number);
}

} // namespace orv
