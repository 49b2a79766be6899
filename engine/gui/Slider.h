#pragma once

#include "engine/core/RefPtr.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListenerContainer.h"
#include "engine/scene/Sprite.h"

namespace orv {

class Button;
class GameNode;
class PropertyNode;

/// A value slider: a track sprite with a draggable knob whose place along a
/// straight segment maps to a float value between a minimum and a maximum,
/// with optional increment and decrement buttons that step the value by a
/// tenth of the range.
///
/// The knob is a `Button` (from the definition's "button" node) inside a
/// plain holder node, a child of the slider, whose position is the knob's
/// place on the segment. The segment runs from (0, 0) to the slider's size
/// less the knob's size, along the slider's orientation, in the slider's
/// coordinates. The step buttons ("incbutton", "decbutton", also `Button`s)
/// are the slider's children and the listeners of its own container part;
/// they stand at the track's ends (horizontal: decrement left, increment
/// right; vertical: decrement above, increment below).
///
/// A press on the knob drags it from where it was grabbed; a press on the
/// track moves the knob's origin to the point's projection on the segment and
/// drags from there. The drag follows every move until the release. The
/// callback (function(context, slider)) runs after every drag step, after a
/// press on the track or knob, and after every step of the buttons. The
/// owner reads `getValue` in it; to set a value it calls `setValue` then
/// `updateValue` (the value is not clamped).
///
/// Definition keys, after the `Sprite` keys (all optional but "button"):
/// "enabled", "minvalue", "maxvalue" (floats, 0 and 1 by default),
/// "vertical", "image" with "section", "button", "incbutton", "decbutton"
/// (nodes built by the object factory under their type names; each must be
/// a `Button`).
///
///     RefPtr<Slider> volume(kindCast<Slider>(createFromDefinition(volumeDefinition)));
///     volume->setValue(options.soundVolume);
///     volume->updateValue();
///     dialogContainer.addListener(volume.get(), &Options::onVolume, options);
///
/// Coordinates of events are window client pixels. Main thread only.
class Slider : public Sprite, public iInputListenerContainer, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Built from a definition node (keys above) around `knob`, built
    /// beforehand from the definition's "button" (not null; the slider takes
    /// a reference). A step button that cannot be built, or is not a
    /// `Button`, is logged and left out.
    Slider(PropertyNode* definition, Button* knob);
    Slider(const Slider&) = delete;
    Slider& operator=(const Slider&) = delete;
    ~Slider() override;

    /// The object factory's create function for "Slider": null (logged) for
    /// a definition without a "button" that builds a `Button`.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `iInputListener` with the container part, `iGuiMethod` and
    /// `IRenderable` with those parts; null for anything else.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    [[nodiscard]] float getValue() const { return value_; }
    /// Stores `value` as it is; `updateValue` then places the knob.
    void setValue(float value) { value_ = value; }
    [[nodiscard]] float getMinValue() const { return minValue_; }
    [[nodiscard]] float getMaxValue() const { return maxValue_; }
    [[nodiscard]] bool isVertical() const { return vertical_; }

    /// Places the knob holder for the value: at the fraction
    /// |(value - minimum) / (maximum - minimum)| of the segment (beyond its
    /// end for values outside the range; at its start when the minimum and
    /// maximum are equal), truncated toward zero.
    void updateValue();
    /// A disabled slider ignores the mouse on its track and knob; its knob
    /// and step buttons are disabled with it.
    void setEnabled(bool enabled);
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    /// Moves the knob to the projection on the segment of (x, y) less the
    /// drag offset, rounded to the nearest pixel, and sets the value from
    /// the knob's distance along the segment. Window client pixels.
    void dragTo(int x, int y);

    /// Whether (x, y) lies in the slider's width x height box at its
    /// absolute position (no anchor, no alpha).
    [[nodiscard]] bool hitTest(int x, int y) const override;

    /// The knob, its holder and the step buttons; borrowed from the slider.
    /// The step buttons may be null.
    [[nodiscard]] Button* getKnob() const { return knob_.get(); }
    [[nodiscard]] GameNode* getKnobHolder() const { return knobHolder_.get(); }
    [[nodiscard]] Button* getIncrementButton() const { return incButton_.get(); }
    [[nodiscard]] Button* getDecrementButton() const { return decButton_.get(); }
    /// Ends of the knob's segment, in the slider's coordinates.
    [[nodiscard]] PointF getMinPoint() const { return {minX_, minY_}; }
    [[nodiscard]] PointF getMaxPoint() const { return {maxX_, maxY_}; }

    /// The step buttons first; then a press on the track or knob of an
    /// enabled slider starts a drag and calls back. Handled when the point
    /// is on the track or knob, also when the slider is disabled.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// The step buttons first; then the drag (calling back), or the knob's
    /// over frame. Not handled.
    bool onMouseMove(int x, int y, int flags) override;
    /// The step buttons first; then the drag ends. Handled on the knob or
    /// the track.
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// Resets the step buttons and ends a drag under way.
    void reset() override;

private:
    void readDefinition(PropertyNode* definition);
    // Builds the step button of `key` (null when absent or unusable).
    [[nodiscard]] RefPtr<Button> buildStepButton(PropertyNode* definition, const char* key,
                                                 GuiFunction onStep);
    void placeButtons();
    void fire();
    void step(bool up);
    static int incrementStep(void* slider, void* button);
    static int decrementStep(void* slider, void* button);

    bool enabled_ = true;
    float value_ = 0.0F;
    float minValue_ = 0.0F;
    float maxValue_ = 1.0F;
    bool vertical_ = false;
    float minX_ = 0.0F;
    float minY_ = 0.0F;
    float maxX_ = 0.0F;
    float maxY_ = 0.0F;
    int dragOffsetX_ = 0;
    int dragOffsetY_ = 0;
    RefPtr<GameNode> knobHolder_;
    RefPtr<Button> knob_;
    RefPtr<Button> incButton_;
    RefPtr<Button> decButton_;
};

} // namespace orv
