#pragma once

#include "engine/core/Modifier.h"

namespace orv {

class PropertyNode;
class Sprite;

/// Runs through a sprite's frames (`Sprite::nextFrame`, which follows the
/// sprite's wrap style), one frame per frame time, a given number of loops or
/// without end. A loop ends when the sprite shows its last frame running
/// forwards, or frame 0 running backwards; the modifier finishes one frame
/// time after the end of its last loop, still showing that frame. With wrap
/// style "once" the sprite's first loop is its last. A long update steps
/// through every frame time it covers.
///
///     eyes->addModifier(new ModifierFrame(1, 75));     // one blink
///     flame->addModifier(new ModifierFrame(-1, 100));  // flickers for good
///
/// Created by the object factory as "ModifierFrame" from a definition with
/// "loopcount" (integer, -1 = endless) and "frametime" (integer, ms; 100).
/// The target must be a `Sprite`: with another target (or none) the first
/// update finishes it.
class ModifierFrame : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// `loops` < 0 runs without end (unless the wrap style is "once").
    /// A frame time of 0 or less takes no time: the first update runs
    /// straight to the end of the last loop and finishes there, and an
    /// endless animation, having no end to run to, finishes at once on the
    /// frame it shows.
    ModifierFrame(int loops, int frameTimeMs);
    /// Reads "loopcount" and "frametime"; a missing key keeps its default, a
    /// key that is not a value is logged and keeps it too.
    explicit ModifierFrame(PropertyNode* definition);

    /// The object factory's create function for "ModifierFrame".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    void update(int dtMs) override;

    /// Loops still to run after the current one ends; negative: endless.
    [[nodiscard]] int getLoopsLeft() const { return loopsLeft_; }
    [[nodiscard]] int getFrameTime() const { return frameTimeMs_; }

private:
    // One frame time's worth: finishes at the end of the last loop, else
    // shows the next frame and notes a loop's end.
    void step(Sprite& sprite);
    // All of a timeless animation at once.
    void runThrough(Sprite& sprite);

    int loopsLeft_ = -1;
    int frameTimeMs_ = 100;
    int accumulatedMs_ = 0;
    bool atLoopEnd_ = false;
};

} // namespace orv
