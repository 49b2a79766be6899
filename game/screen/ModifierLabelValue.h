#pragma once

#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Sound.h"
#include "engine/scene/Label.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

/// Counts the number a label shows towards a target instead of letting it
/// jump: in fixed steps ("value"), in falling powers of ten ("tenfold") or
/// interpolated over the duration ("time"), one step per `interval`
/// milliseconds, formatted plain, in digit groups or as a time.
///
///     auto* count = new ModifierLabelValue(0, 1500, 12500, 10, L"Score ");
///     label->addModifier(count);   // the label becomes the shown label
///
/// With finish-at-target off the modifier never ends and follows each new
/// target (`countFrom`). Main thread only.
class ModifierLabelValue : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    enum Type : int { TypeValue = 0, TypeTenfold = 1, TypeTime = 2 };
    enum Format : int { FormatPlain = 0, FormatDot = 1, FormatTime = 2 };

    /// Counts from `start` to `target` over `durationMs` (type time) with one
    /// step per `intervalMs`; `extra` is shown in front of the number.
    ModifierLabelValue(std::int32_t start, int durationMs, std::int32_t target, int intervalMs,
                       std::wstring_view extra);

    void update(int dtMs) override;
    /// The target becomes the shown label when it is a label and none is set.
    void setTarget(GameNode* target) override;
    /// Type time: jumps to the target (and shows it) when not there yet.
    void finish() override;

    /// Writes extra text and the current value into the label; nothing
    /// without a label.
    void formatValue();
    /// A new count from `start` to `target` from the beginning of the
    /// duration.
    void countFrom(std::int32_t start, std::int32_t target);
    /// Shows `value` at once and stops there.
    void jumpTo(std::int32_t value);

    void setLabel(Label* label) { label_ = label; }
    [[nodiscard]] Label* getLabel() const { return label_.get(); }
    [[nodiscard]] std::int32_t getCurrent() const { return current_; }
    [[nodiscard]] std::int32_t getTargetValue() const { return targetValue_; }
    void setType(int type) { type_ = type; }
    [[nodiscard]] int getType() const { return type_; }
    void setFormat(int format) { format_ = format; }
    [[nodiscard]] int getFormat() const { return format_; }
    void setAdd(int add) { add_ = add; }
    void setMul(float mul) { mul_ = mul; }
    void setInterval(int intervalMs) { interval_ = intervalMs; }
    void setDuration(int durationMs) { duration_ = durationMs; }
    void setStart(std::int32_t start) { start_ = start; }
    void setTargetValue(std::int32_t target) { targetValue_ = target; }
    void setCurrent(std::int32_t current) { current_ = current; }
    void setExtra(std::wstring_view extra) { extra_ = extra; }
    [[nodiscard]] const std::wstring& getExtra() const { return extra_; }
    void setSound(Sound* sound) { sound_ = sound; }
    void setFinishAtTarget(bool finish) { finishAtTarget_ = finish; }

private:
    // One step of the tenfold mode from the current value.
    [[nodiscard]] std::int64_t tenfoldStep() const;

    int duration_;
    int elapsed_ = 0;
    float fraction_ = 0.0F;
    RefPtr<Label> label_;
    std::int32_t start_;
    std::int32_t targetValue_;
    std::int32_t current_;
    int add_ = 1;
    int interval_;
    int accumulated_ = 0;
    bool finishAtTarget_ = true;
    float mul_ = 10.0F;
    RefPtr<Sound> sound_;
    int type_ = TypeTime;
    int format_ = FormatDot;
    std::wstring extra_;
};

} // namespace orv
