#include "game/dialogs/ModifierCountUp.h"

#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"
#include "engine/scene/Label.h"
#include "game/dialogs/DialogSounds.h"

#include <algorithm>
#include <cmath>

namespace orv {

constinit const ClassRecord ModifierCountUp::classRecord{
    "ModifierCountUp", parentRecords<ModifierFraction::classRecord>};

ModifierCountUp::ModifierCountUp(std::wstring prefix, int from, int to, int durationMs, bool asTime)
    : ModifierFraction(durationMs), prefix_(std::move(prefix)), from_(from), to_(to),
      asTime_(asTime), shown_(from) {}

std::wstring ModifierCountUp::formatValue(const std::wstring& prefix, int value, bool asTime) {
    const auto magnitude = static_cast<std::uint32_t>(std::max(0, value));
    if (asTime) {
        return prefix + formatTime(magnitude, true, false);
    }
    std::wstring digits;
    groupDigits(magnitude, digits, getText("CTEXT_DIGIT_GROUPING_SYMBOL"));
    return prefix + digits;
}

void ModifierCountUp::update(int dtMs) {
    if (isDone()) {
        return;
    }
    ModifierFraction::update(dtMs);
    const int value = isDone() ? to_
                               : from_ + static_cast<int>(std::lround(
                                             static_cast<double>(to_ - from_) * getFraction()));
    sinceTick_ += std::max(0, dtMs);
    if (value != shown_ && sinceTick_ >= kTickInterval) {
        sinceTick_ = 0;
        playDialogSound("game", "SOUND_SCORE_TICK");
    }
    shown_ = value;
    if (auto* label = kindCast<Label>(getTarget())) {
        label->setText(formatValue(prefix_, value, asTime_));
    }
}

} // namespace orv
