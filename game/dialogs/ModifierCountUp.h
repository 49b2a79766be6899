#pragma once

#include "engine/core/ModifierFraction.h"
#include "engine/core/RefPtr.h"

#include <string>

namespace orv {

class Label;

/// Counts the number a label shows from a start to an end value over a
/// duration: the label shows a fixed prefix and the number, digits grouped
/// by "CTEXT_DIGIT_GROUPING_SYMBOL", or as a time (`formatTime`) for times.
/// While the number changes it ticks ("SOUND_SCORE_TICK" of section "game")
/// at most every `kTickInterval` ms. The update that finishes shows exactly
/// the end value. The target is the label.
///
///     auto* count = new ModifierCountUp(L"Score ", 0, 12500, 1000, false);
///     count->setTarget(scoreLabel);
///     Modifier::attachTo(previousStep, count);
class ModifierCountUp : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kTickInterval = 60;

    /// Values are points, or milliseconds when `asTime` is set.
    ModifierCountUp(std::wstring prefix, int from, int to, int durationMs, bool asTime);

    void update(int dtMs) override;

    /// `prefix` and `value` as the label shows them.
    [[nodiscard]] static std::wstring formatValue(const std::wstring& prefix, int value,
                                                  bool asTime);

private:
    std::wstring prefix_;
    int from_;
    int to_;
    bool asTime_;
    int shown_;
    int sinceTick_ = kTickInterval;
};

} // namespace orv
