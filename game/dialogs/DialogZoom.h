#pragma once

#include "game/dialogs/DialogOrvanta.h"

namespace orv {

class Panel;

/// A game dialog that zooms in from nothing when asked to show and zooms out
/// a moment after it is asked to hide; its components live in a container
/// clipped 25 pixels inside the dialog's edges, shown only while the dialog
/// stands at full size (a panel without picture, so that the dialog's
/// `findComponent` still finds them). Registered as "DialogZoom"; which dialogs use it,
/// and who calls `zoomIn` and `zoomOutLater`, lies in the property files.
///
/// Definition keys besides those of `Dialog`: "anchorpoint" (any value)
/// centres the dialog on its position. Times are milliseconds
/// (`DIALOG_ZOOM_APPEAR_TIME`, `DIALOG_ZOOM_DISAPPEAR_TIME`,
/// `DIALOG_ZOOM_HIDE_DELAY`). It does not tell the playing screen that it
/// covers the board. Main thread only.
class DialogZoom : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit DialogZoom(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Components added later go into the container too.
    void addComponent(GameNode* node) override;

    /// Grows the dialog to full size (from nothing when it was hidden, else
    /// from its present scale, over the part of the appear time that is
    /// left), then shows its components.
    virtual void zoomIn();
    /// After the hide delay: hides the components and shrinks the dialog
    /// from its present scale to nothing (over that part of the disappear
    /// time), then hides it.
    virtual void zoomOutLater();
    /// Called when the dialog's content scrolls; nothing here.
    virtual void onScrolled() {}

    /// The panel that holds the components (borrowed from the dialog); the
    /// dialog's `findComponent` finds them there.
    [[nodiscard]] Panel* getContainer() const { return container_; }
    [[nodiscard]] int getAppearTime() const { return appearTime_; }
    [[nodiscard]] int getDisappearTime() const { return disappearTime_; }
    [[nodiscard]] int getHideDelay() const { return hideDelay_; }
    /// Always true: the dialog zooms (no definition key turns it off).
    [[nodiscard]] bool isZooming() const { return zoom_; }

private:
    static int onZoomedIn(void* dialog, void* modifier);
    static int onZoomOut(void* dialog, void* modifier);

    Panel* container_ = nullptr;
    int appearTime_ = 0;
    int disappearTime_ = 0;
    bool zoom_ = true;
    int hideDelay_ = 0;
};

} // namespace orv
