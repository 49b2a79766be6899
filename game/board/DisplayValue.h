#pragma once

#include <cstdint>
#include <deque>

namespace orv {

/// An integer with a shown value that catches up: the score, the time bar's
/// time, a player's tokens. `add` changes the value at once and queues the
/// step; `commit` moves the shown value when the screen shows the step
/// (a floating score arriving, a counter finishing). Both stay within the
/// range.
///
///     DisplayValue score(0, 0, 2147483647);
///     score.add(300);        // value 300, shown 0
///     score.commit(300);     // shown 300
class DisplayValue {
public:
    /// `value` clamped to [min, max] becomes both the value and the shown
    /// value; no pending steps.
    DisplayValue(std::int32_t value, std::int32_t min, std::int32_t max);

    /// value += delta, clamped; the full delta is queued.
    void add(std::int32_t delta);
    /// shown += delta, clamped; the first queued step equal to delta leaves
    /// the queue (none when no step is equal).
    void commit(std::int32_t delta);
    /// `add` then `commit` with the same delta.
    void addAndCommit(std::int32_t delta);
    /// `v` clamped becomes value and shown value; the queue is emptied.
    void reset(std::int32_t v);

    [[nodiscard]] std::int32_t getValue() const { return value_; }
    [[nodiscard]] std::int32_t getShown() const { return shown_; }
    [[nodiscard]] std::int32_t getMin() const { return min_; }
    [[nodiscard]] std::int32_t getMax() const { return max_; }
    /// Steps added and not yet committed, oldest first.
    [[nodiscard]] const std::deque<std::int32_t>& getPendingDeltas() const { return pending_; }

private:
    [[nodiscard]] std::int32_t clamp(std::int64_t v) const;

    std::int32_t value_;
    std::int32_t shown_;
    std::int32_t min_;
    std::int32_t max_;
    std::deque<std::int32_t> pending_;
};

} // namespace orv
