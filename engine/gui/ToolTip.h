#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "engine/scene/AbstractToolTip.h"
#include "engine/scene/Sprite.h"

namespace orv {

class PropertyNode;

/// The process-wide tooltip: each frame it finds the topmost visible sprite
/// with a tooltip text under the pointer in its root tree; once the pointer
/// has rested on that sprite for the show delay it draws the text box (its
/// renderer, normally a `ToolTipLabel`) near the pointer, kept inside the
/// game window, for the remove delay. It shows again only after the pointer
/// left the sprite (or found another) and came back.
///
/// Sprites covered by a dialog or a panel show no tooltip: a dialog later in
/// drawing order, or a panel under the pointer, clears what was found before
/// it.
///
/// Built by start-up from the template "DEFAULT_TOOLTIP" and installed with
/// `SceneManager::setToolTip`, which runs it after the current scene's
/// drawing, gives it the scene's dialog layer as root and puts its listener
/// part into every scene's and dialog's listener container:
///
///     <ToolTip id="DEFAULT_TOOLTIP" showdelay="800" removedelay="10000">
///       <ToolTipLabel id="renderer" font="FONT_SMALL" section="common"/>
///     </ToolTip>
///
/// Times are milliseconds; the pointer position is in window client pixels,
/// as the listener part hears it. Main thread only.
class ToolTip : public AbstractToolTip {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Delays in milliseconds when the definition names none.
    static constexpr int kDefaultShowDelay = 1000;
    static constexpr int kDefaultRemoveDelay = 10000;

    /// "renderer" (a node: built through the object factory by its type
    /// name; one that builds no sprite is logged and ignored), "showdelay"
    /// and "removedelay" (integers). Every key is optional; `definition` may
    /// be null.
    explicit ToolTip(PropertyNode* definition);
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;
    ~ToolTip() override;

    /// The object factory's create function for "ToolTip".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `iInputListener` with the listener part; anything else null.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// One frame of `elapsedMs`: search, count down, place and draw into the
    /// game window's back buffer (nothing is drawn without a window or its
    /// graphics; without a window the box is placed unbounded).
    void run(int elapsedMs) override;

    /// Holds a reference to `root` (null for none) and drops the old one.
    void setRoot(GameNode* root) override;
    /// Borrowed; null when none is set.
    [[nodiscard]] GameNode* getRoot() const { return root_.get(); }
    /// The box drawn for the text (a reference is held; null: nothing shows).
    void setRenderer(Sprite* renderer) { renderer_ = renderer; }
    /// Borrowed; null when none is set.
    [[nodiscard]] Sprite* getRenderer() const { return renderer_.get(); }
    /// The sprite whose tooltip is pending or shown; null when none.
    /// Borrowed (the tooltip holds a reference while it is current).
    [[nodiscard]] Sprite* getCurrent() const { return current_.get(); }

    [[nodiscard]] int getShowDelay() const { return showDelay_; }
    void setShowDelay(int delayMs) { showDelay_ = delayMs; }
    [[nodiscard]] int getRemoveDelay() const { return removeDelay_; }
    void setRemoveDelay(int delayMs) { removeDelay_ = delayMs; }
    /// Where the box's origin was last placed, in window client pixels.
    [[nodiscard]] int getTipX() const { return tipX_; }
    [[nodiscard]] int getTipY() const { return tipY_; }
    [[nodiscard]] int getMouseX() const { return mouseX_; }
    [[nodiscard]] int getMouseY() const { return mouseY_; }

    /// Stores the pointer position; never handled.
    bool onMouseMove(int x, int y, int flags) override;
    /// Nothing to drop.
    void reset() override {}

private:
    // The last sprite in pre-order under the pointer with a tooltip text,
    // after the clearing by dialogs and panels; null when none.
    [[nodiscard]] Sprite* findUnderPointer() const;
    void search(GameNode& node, Sprite*& found) const;
    // Computes where the box goes for the current pointer position.
    void place();
    void draw();

    RefPtr<GameNode> root_;
    RefPtr<Sprite> renderer_;
    // Held so that a sprite freed and another made at the same address can
    // never pass for the one whose text is shown.
    RefPtr<Sprite> current_;
    int mouseX_ = 0;
    int mouseY_ = 0;
    int tipX_ = 0;
    int tipY_ = 0;
    int showCountdown_ = 0;
    int showDelay_ = kDefaultShowDelay;
    int removeCountdown_ = 0;
    int removeDelay_ = kDefaultRemoveDelay;
};

} // namespace orv
