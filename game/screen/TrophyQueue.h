#pragma once

#include <deque>
#include <optional>

namespace orv {

/// The trophies earned during a level, presented one box at a time in the
/// order they were earned. The trophy box itself never holds the queue
/// back: while it is up, newly earned trophies wait behind it. While the
/// board is held (a pause or a game dialog), every trophy waits; none is
/// dropped, and each is presented once.
///
///     if (std::optional<int> now = queue.earn(7)) { show the box for *now }
///     ...the box has slid out...
///     if (std::optional<int> next = queue.boxClosed()) { show the box for *next }
class TrophyQueue {
public:
    /// Trophy `number` was earned: the number to present at once, or
    /// nothing when it waits (a box is up, the board is held, or it is
    /// already up or waiting).
    [[nodiscard]] std::optional<int> earn(int number);
    /// The box closed: the next trophy to present, if any may be shown now.
    [[nodiscard]] std::optional<int> boxClosed();
    /// The board is held (true) or playable again (false). Releasing gives
    /// the trophy to present then, if any.
    [[nodiscard]] std::optional<int> setHeld(bool held);
    /// Forgets the box and every waiting trophy (the level ends); they stay
    /// earned in the player's record for later screens.
    void clear();

    [[nodiscard]] bool isBoxUp() const { return showing_.has_value(); }
    [[nodiscard]] std::optional<int> getShowing() const { return showing_; }
    [[nodiscard]] const std::deque<int>& getWaiting() const { return waiting_; }

private:
    std::optional<int> next();

    std::optional<int> showing_;
    std::deque<int> waiting_;
    bool held_ = false;
};

} // namespace orv
