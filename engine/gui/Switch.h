#pragma once

#include "engine/core/RefPtr.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListener.h"
#include "engine/scene/Sprite.h"

#include <span>
#include <string>

namespace orv {

class Image;
class PropertyNode;

/// The on/off widget: a check box, or, when several switches share a group
/// number, one button of a radio group. Its image is a strip of eight frames
/// stacked top to bottom: off normal, over, pressed, disabled, then the same
/// four on. Frame shown: (`kDisabledFrame` while disabled, else the visual
/// state) + 4 while checked.
///
/// A completed click (press and release inside) toggles a switch without
/// group; a switch of a group is only ever checked by a click, and checking
/// it unchecks every other live switch with the same group number, in any
/// dialog (groups are process-wide). Each toggle by a click calls the
/// callback slot as function(context, switch) after the checked flag
/// changed, then plays the on or off sound. `setChecked` from code calls no
/// callback and plays nothing. A callback may drop the last reference to the
/// switch: a switch held by a reference stays alive until the event is done.
///
/// While the pointer is over an enabled switch it counts one in
/// `hoverCount`, given back when the pointer leaves, on `setEnabled(false)`,
/// `reset` and destruction.
///
/// Definition keys, after the `Sprite` keys (all optional): "image" with
/// "section", "hitmask" and "hitmaskthreshold" (as for `Button`), "groupid"
/// (negative: no group), "onsound", "offsound", "disabledsound" with
/// "soundsection", "enabled", "checked" (a checked member of a group
/// unchecks the members built before it).
///
///     RefPtr<Switch> hints(kindCast<Switch>(createFromDefinition(hintsDefinition)));
///     hints->setLinkedSprite(captionLabel);   // a click on the caption counts
///     dialogContainer.addListener(hints.get(), &Options::onHints, options);
///
/// Coordinates are window client pixels. Main thread only.
class Switch : public Sprite, public iInputListener, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Visual states.
    static constexpr int kNormal = 0;
    static constexpr int kOver = 1;
    static constexpr int kPressed = 2;
    /// The frame (before the checked offset) a disabled switch shows.
    static constexpr int kDisabledFrame = 3;
    /// Frames added while checked.
    static constexpr int kCheckedOffset = 4;

    /// Built from a definition node (keys above); null reads as no keys at
    /// all. Joins the process-wide list of live switches as its last step.
    explicit Switch(PropertyNode* definition);
    Switch(const Switch&) = delete;
    Switch& operator=(const Switch&) = delete;
    /// Leaves the list of live switches (the list itself is freed with the
    /// last switch) and gives back its share of `hoverCount`.
    ~Switch() override;

    /// The object factory's create function for "Switch".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The live switches in the order they were built; empty when none
    /// lives. Borrowed: valid until a switch is built or destroyed.
    [[nodiscard]] static std::span<Switch* const> getLiveSwitches();

    /// Answers `iInputListener`, `iGuiMethod` and `IRenderable` with those
    /// parts; null for anything else.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// A disabled switch shows its disabled frame, never toggles and stops
    /// counting as hovered.
    virtual void setEnabled(bool enabled);
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    /// Checking a switch of a group unchecks the other members (without
    /// their callbacks or sounds); unchecking leaves the group with none.
    virtual void setChecked(bool checked);
    [[nodiscard]] bool isChecked() const { return checked_; }
    [[nodiscard]] int getState() const { return state_; }
    [[nodiscard]] bool isHovered() const { return hovered_.isSet(); }
    /// Negative: no group.
    [[nodiscard]] int getGroup() const { return group_; }
    void setGroup(int group) { group_ = group; }

    /// Another node (usually the caption label) whose own hit test also
    /// counts as a hit on the switch; null for none. The switch holds a
    /// reference.
    void setLinkedSprite(Sprite* sprite) { linkedSprite_ = sprite; }
    [[nodiscard]] Sprite* getLinkedSprite() const { return linkedSprite_.get(); }
    [[nodiscard]] Image* getHitMask() const { return hitMask_.get(); }
    [[nodiscard]] int getHitMaskThreshold() const { return hitMaskThreshold_; }
    [[nodiscard]] const std::string& getOnSound() const { return onSound_; }
    [[nodiscard]] const std::string& getOffSound() const { return offSound_; }
    [[nodiscard]] const std::string& getDisabledSound() const { return disabledSound_; }
    [[nodiscard]] const std::string& getSoundSection() const { return soundSection_; }

    /// Shows the frame for visual state `state` (see the class comment).
    void setCurrentFrame(int state) override;
    /// Holds `image` (may be null) as a strip of eight stacked frames.
    void setImage(Image* image) override;
    /// True on the linked sprite, else the button hit test (box, then hit
    /// mask or own image with the threshold; see `widget::hitBox`).
    [[nodiscard]] bool hitTest(int x, int y) const override;

    /// Follows the pointer (hovering, over and pressed frames). Never
    /// handled.
    bool onMouseMove(int x, int y, int flags) override;
    /// A press inside shows the pressed frame and is handled, also on a
    /// disabled switch.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// A release inside a pressed, enabled switch toggles it (see the class
    /// comment) and is handled; on a disabled switch it plays the disabled
    /// sound and is not handled.
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// Back to `kNormal`, no longer hovered.
    void reset() override;

private:
    void readDefinition(PropertyNode* definition);
    void setState(int state);
    // The frame for `state` given the enabled and checked flags.
    [[nodiscard]] int frameFor(int state) const;
    void playSound(const std::string& id) const;
    // The callback with the switch, when a function is registered.
    void fire();

    int state_ = kNormal;
    bool enabled_ = true;
    bool checked_ = false;
    std::string onSound_;
    std::string offSound_;
    std::string disabledSound_;
    std::string soundSection_;
    RefPtr<Sprite> linkedSprite_;
    RefPtr<Image> hitMask_;
    int hitMaskThreshold_ = -1;
    int group_ = -1;
    widget::HoverMark hovered_;
};

} // namespace orv
