#pragma once

#include "engine/core/BaseObject.h"

namespace orv {

class AbstractProperty;
class PropertyNode;

/// One tuning number of a level that changes each time the level is played
/// again: a start, the current value, a step (delta) and a limit (cap). A
/// growing progression stops at its cap from below, a shrinking one from
/// above; without a step it never moves. Registered as "Progression".
///
/// In a level file a progression is a plain value (it never changes) or a
/// node with "start", "delta" and "cap":
///
///     <Integer id="playTime" value="300000"/>
///     <Node id="pointsPerMatch" start="20" delta="2" cap="40"/>
class Progression : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// All four numbers 0.
    Progression() = default;
    /// start = value = `start`, with the given step and limit.
    Progression(float start, float delta, float cap)
        : start_(start), value_(start), delta_(delta), cap_(cap) {}
    /// All four numbers 0, then `read` (property).
    explicit Progression(const AbstractProperty* property);
    Progression(const Progression&) = delete;
    Progression& operator=(const Progression&) = delete;
    /// The object factory's create function for "Progression".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// A value: start, value and cap become its number, delta 0. Anything
    /// else is read as a node (not a node: the empty node): value and start
    /// from "start", delta from "delta", cap from "cap"; a missing child or
    /// text that is no number reads 0.
    void read(const AbstractProperty* property);
    /// start = value = `start`, with the given step and limit.
    void set(float start, float delta, float cap) {
        start_ = start;
        value_ = start;
        delta_ = delta;
        cap_ = cap;
    }
    /// value += delta, stopped at the cap in the step's direction; returns
    /// the new value.
    float step();

    [[nodiscard]] float getStart() const { return start_; }
    [[nodiscard]] float getValue() const { return value_; }
    [[nodiscard]] float getDelta() const { return delta_; }
    [[nodiscard]] float getCap() const { return cap_; }
    /// The current value truncated toward zero (how the rules use it).
    [[nodiscard]] int getInt() const { return static_cast<int>(value_); }

private:
    float start_ = 0.0F;
    float value_ = 0.0F;
    float delta_ = 0.0F;
    float cap_ = 0.0F;
};

} // namespace orv
