#pragma once

#include "engine/core/ModifierFraction.h"

namespace orv {

/// The base of the modifiers that move their target: a start point, the
/// current position (in floats) and which axes are applied. Any `GameNode`
/// will do as target; the kinds move it through `setX` / `setY`, in the
/// coordinates of its parent. Alone it only keeps the time of its duration.
///
///     auto* move = new ModifierLocationLine(0, 600, 0, 200, 500, true);
///     move->setMoveX(false);                      // only y changes
///     node->addModifier(move);
class ModifierLocation : public ModifierFraction {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Lasts `durationMs`; the current position starts at (startX, startY).
    ModifierLocation(int durationMs, int startX, int startY);

    [[nodiscard]] int getStartX() const { return startX_; }
    [[nodiscard]] int getStartY() const { return startY_; }
    /// The last position worked out, before conversion to whole pixels.
    [[nodiscard]] float getCurrentX() const { return currentX_; }
    [[nodiscard]] float getCurrentY() const { return currentY_; }
    /// Whether the kinds apply x and y (both by default).
    void setMoveX(bool move) { moveX_ = move; }
    void setMoveY(bool move) { moveY_ = move; }
    [[nodiscard]] bool getMoveX() const { return moveX_; }
    [[nodiscard]] bool getMoveY() const { return moveY_; }
    /// Set when the kinds that finish one update after their end (the wave
    /// and the path) have reached it.
    [[nodiscard]] bool hasReachedEnd() const { return reachedEnd_; }

protected:
    void setStart(int x, int y) {
        startX_ = x;
        startY_ = y;
    }
    void setCurrent(float x, float y) {
        currentX_ = x;
        currentY_ = y;
    }
    void setReachedEnd(bool reached) { reachedEnd_ = reached; }
    /// Moves the target (when there is one) to (x, y) on the axes allowed.
    void applyPosition(int x, int y);

private:
    int startX_;
    int startY_;
    float currentX_;
    float currentY_;
    bool moveX_ = true;
    bool moveY_ = true;
    bool reachedEnd_ = false;
};

} // namespace orv
