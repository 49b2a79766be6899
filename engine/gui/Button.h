#pragma once

#include "engine/core/RefPtr.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/platform/iInputListener.h"
#include "engine/scene/Sprite.h"

#include <string>
#include <vector>

namespace orv {

class Image;
class PropertyNode;

/// The clickable sprite: its image is a strip of four frames stacked top to
/// bottom (normal, over, pressed, disabled), it listens to the mouse and the
/// keyboard, and it fires through its callback slot when the left button is
/// released inside it after a press inside it, or when one of its fire keys
/// is released.
///
/// Frame shown: the visual state (`kNormal`, `kOver`, `kPressed`), or
/// `kDisabledFrame` whatever the state while the button is disabled.
///
/// Firing calls the slot's function as function(context, button), the
/// button passed as a `Button*` converted to `void*`. A callback may remove
/// the button from its container or drop the node tree's reference to it:
/// a button that is held by a reference is kept alive until the event is
/// done.
///
/// While the pointer is over an enabled button the button is "hovered" and
/// counts one in the process-wide `hoverCount` (the input handler shows the
/// hand cursor while that is above 0). The count is given back whenever the
/// flag clears: the pointer leaving, `setEnabled(false)`, `reset` and the
/// destructor.
///
/// Definition keys, after the `Sprite` keys (all optional): "enabled"
/// (Boolean), "hitmask" (an image of the sprite's "section" whose alpha
/// above 128 is clickable), "hitmaskthreshold" (integer; the button's own
/// image's alpha must be above it; negative: no alpha test),
/// "clicksound", "disabledsound", "oversound" (sound ids) and
/// "soundsection" (their resource section), "firekey" (virtual-key codes
/// separated by commas, decimal or "#" / "0x" hexadecimal).
///
///     RefPtr<Button> ok(kindCast<Button>(createFromDefinition(okDefinition)));
///     dialogContainer.addListener(ok.get(), &Menu::onOk, menu);  // fills the slot
///     GameTree::appendChild(ok.get(), dialog);                    // drawn with it
///
/// Coordinates are window client pixels, compared with the button's box in
/// the root's coordinates. Main thread only.
class Button : public Sprite, public iInputListener, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Visual states.
    static constexpr int kNormal = 0;
    static constexpr int kOver = 1;
    static constexpr int kPressed = 2;
    /// The frame a disabled button shows.
    static constexpr int kDisabledFrame = 3;
    /// The alpha a hit mask's pixel must exceed to be clickable.
    static constexpr int kHitMaskThreshold = 128;

    /// Built from a definition node (keys above); null reads as an empty
    /// definition. The image, if any, is laid out as four stacked frames.
    /// A hit mask the section does not hold is logged and left out.
    explicit Button(PropertyNode* definition);
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;
    /// Gives back its share of `hoverCount` when hovered.
    ~Button() override;

    /// The object factory's create function for "Button".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `iInputListener`, `iGuiMethod` and `IRenderable` with those
    /// parts; null for anything else.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// A disabled button shows `kDisabledFrame`, never fires and stops
    /// counting as hovered; it keeps its state, shown again once enabled.
    virtual void setEnabled(bool enabled);
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    /// `kNormal`, `kOver` or `kPressed`; shows the matching frame.
    virtual void setState(int state);
    [[nodiscard]] int getState() const { return state_; }
    [[nodiscard]] bool isHovered() const { return hovered_.isSet(); }

    /// Shows `frame`, or `kDisabledFrame` while disabled.
    void setCurrentFrame(int frame) override;
    /// Holds `image` (may be null) as a strip of four stacked frames and
    /// shows the current state's frame.
    void setImage(Image* image) override;
    /// Whether (x, y), in the root's coordinates, is on the button: inside
    /// its width x height box (placed by its anchor, truncated toward zero)
    /// and, with a hit mask, on a mask pixel whose alpha is above 128, or,
    /// with a threshold of 0 or more, on a pixel of the first frame of its
    /// own image whose alpha is above the threshold. A point outside the
    /// tested image, or an image without alpha, misses.
    [[nodiscard]] bool hitTest(int x, int y) const override;

    /// The image whose alpha decides the clickable pixels; null for none.
    /// Borrowed from the button, which holds a reference.
    [[nodiscard]] Image* getHitMask() const { return hitMask_.get(); }
    void setHitMask(Image* mask) { hitMask_ = mask; }
    [[nodiscard]] int getHitMaskThreshold() const { return hitMaskThreshold_; }
    void setHitMaskThreshold(int threshold) { hitMaskThreshold_ = threshold; }
    /// Virtual-key codes whose release fires the button.
    [[nodiscard]] const std::vector<int>& getFireKeys() const { return fireKeys_; }
    [[nodiscard]] const std::string& getClickSound() const { return clickSound_; }
    [[nodiscard]] const std::string& getDisabledSound() const { return disabledSound_; }
    [[nodiscard]] const std::string& getOverSound() const { return overSound_; }
    [[nodiscard]] const std::string& getSoundSection() const { return soundSection_; }

    /// A fire key pressed shows the pressed frame (handled).
    bool onKeyDown(int key) override;
    /// A fire key released fires the button, even without a key down
    /// before (handled).
    bool onKeyUp(int key) override;
    /// Follows the pointer: hovering, the over sound on entering, and the
    /// pressed / over frames while the left button is held. Never handled,
    /// so every listener sees the pointer move.
    bool onMouseMove(int x, int y, int flags) override;
    /// A press inside plays the click sound and shows the pressed frame
    /// (handled); on a disabled button it plays the disabled sound and is
    /// not handled, so a listener behind it gets the press.
    bool onLeftButtonDown(int x, int y, int flags, bool doubleClick) override;
    /// A release inside a pressed, enabled button fires it when a function
    /// is registered (handled either way).
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// Back to `kNormal`, no longer hovered.
    void reset() override;

protected:
    /// Fires: `call(this)`. Callers that touch the button afterwards hold
    /// `keepAliveWhileFiring()` around it.
    void fire();
    /// A reference that keeps the button alive while a callback runs; null
    /// for a button that no reference holds.
    [[nodiscard]] RefPtr<Button> keepAliveWhileFiring();

private:
    void readDefinition(PropertyNode* definition);
    void setHovered(bool hovered);
    // Forces the source rectangle onto the frame the state asks for, also
    // when the sprite thinks it already shows that frame.
    void showStateFrame();
    // Plays sound `id` of the sound section once at full volume, centred.
    void playSound(const std::string& id) const;

    int state_ = kNormal;
    bool enabled_ = true;
    std::string clickSound_;
    std::string disabledSound_;
    std::string overSound_;
    std::string soundSection_;
    RefPtr<Image> hitMask_;
    int hitMaskThreshold_ = -1;
    std::vector<int> fireKeys_;
    widget::HoverMark hovered_;
};

} // namespace orv
